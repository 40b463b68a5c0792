#pragma once
// How precisely a measured record fixes the cosine and sine coefficients of its harmonics.
#include <cstdint>
#include <vector>

#include "core/numeric/fast_fourier.h"
#include "core/numeric/vector.h"

namespace kolma {

// Standard deviation of the error of one cosine or sine coefficient of `transformed`, the
// spectrum of `record` once padded by `padding` samples and re-sampled. The larger of:
// - the resolution of the record: a history file keeps seven significant digits, so each
//   sample may be off by up to half a unit of its seventh digit;
// - the noise seen in the highest-frequency bins (periods of two to four samples), where
//   a temperature inside concrete has no signal left. Their median amplitude is robust to
//   the odd harmonic that does reach them.
double RecordNoiseFloor(const TVector& record, const TFastFourier& transformed, std::int32_t padding);

// The continuum of the spectrum around `bin` (bins within a quarter of its number, at least
// eight, either side), as the standard deviation of one coefficient: what a harmonic there
// must stand out of to be told from its neighbours.
double LocalSpectrumFloor(const TFastFourier& transformed, int bin);

}  // namespace kolma

namespace kolma {

// LocalSpectrumFloor for every bin at once, cheaply: the median is taken over blocks of
// bins a quarter of their number wide (at least sixteen), element k for bin k.
std::vector<double> SpectrumContinuum(const TFastFourier& transformed);

}  // namespace kolma
