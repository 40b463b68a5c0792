#pragma once
// Turning temperature histories into harmonics: padding, re-sampling to a power of two,
// the spectrum of one history and the selection of the strongest harmonics of two spectra.
#include <cstdint>
#include <string>
#include <vector>

#include "core/numeric/fast_fourier.h"
#include "core/numeric/matrix.h"
#include "core/numeric/vector.h"

namespace kolma {

struct Project;
struct THarmonicSet;

// Smallest power of two >= n for 4 < n <= 2^23; 0 otherwise.
std::int32_t NextPowerOfTwo(std::int32_t n);

// Replaces v by its linear re-sampling to NextPowerOfTwo(count) samples; false (v unchanged)
// when that is 0. Sample e (2..a-1) of the a new ones is read at position e (n-1) / (a-1)
// of the old ones, so the interior samples sit slightly early and the last two are the
// last two old samples.
bool ResampleToPowerOfTwo(TVector& v);

// target := source followed by p padding samples (a ramp over the first tenth of the
// padding from the last sample towards the first one, then the first sample repeated).
// p <= 0 copies source. False when anything failed on the way (out of memory); never throws.
bool PadHistory(const TVector& source, TVector& target, std::int32_t p);

// Number of padding samples for a history of time step dt (hours). Automatic mode
// (paddingMode 0) pads 1.1 x 0.6 L^2 / diffusivity hours, user mode 1.1 x years x 8766
// hours. Rounded halves to even; <= 0 means no padding. Results beyond the 32-bit range
// are clamped to it, a result that is not a number gives 0.
std::int32_t PaddingSamples(double sectionLength, double diffusivity, std::uint8_t paddingMode,
                            double paddingYears, double dt);
// The same with the section and the options of the project.
std::int32_t PaddingSamples(const Project& project, double dt);

// When `samples` of step dt padded as the project's options ask would exceed the
// TFastFourier::kMaxSize samples the transform takes: a sentence saying that the padding is
// too long, how long it is, and what to change. Empty otherwise, and when the samples alone
// are too many (the padding is not at fault then). `records` names what is padded.
std::string PaddingTooLong(const Project& project, std::int64_t samples, double dt,
                           const char* records = "the faces");

// Round to nearest, halves to even: the rounding of step counts, bins and positions.
// Clamped to the 64-bit range; not-a-number gives 0.
std::int64_t RoundHalfEven(double value);

// Sets the transform's size to the count of v, writes v as real parts and transforms.
// A count that is not a power of two raises EFourierError.
void TransformHistory(TFastFourier& fourier, const TVector& v);

// The bins kept from two transformed histories of the same size, in increasing order:
// the `count` strongest candidates (bins 0..N div 2 - 1) of each spectrum, ranked by
// amplitude with the comb sort of the matrix rows (which fixes the order of ties).
// A count below 1 is taken as 1; beyond the candidates, bin 0 is taken.
std::vector<std::int32_t> SelectHarmonicBins(const TFastFourier& first, const TFastFourier& second,
                                             std::int32_t count);

// Harmonic selection of the inverse analysis from two transformed histories of the same
// size: the 9-column table (frequency, amplitude and phase of each, cosine and sine
// coefficients of each), one row per retained bin, in increasing frequency.
TMatrix ChoisirHarmoniques(const TFastFourier& x1, const TFastFourier& x2, std::int32_t count, double dt);

// Harmonic selection of the direct analysis: the 5-column table (frequency, upstream a, b,
// downstream a, b) in decreasing frequency, zero frequency last; fills `set`: HarmonicCount,
// and Periods (-1 for zero frequency), Amplitudes, Phases (atan2, in (-pi, pi]) after
// resizing them to N div 2 rows. Rows beyond HarmonicCount carry no meaning.
TMatrix ChoisirHarmoniquesDirect(const TFastFourier& upstream, const TFastFourier& downstream,
                                 std::int32_t count, double dt, THarmonicSet& set);

// Fills the inverse harmonic set from the 9-column table, resized to exactly its rows.
void FillInverseHarmonicSet(const TMatrix& table, THarmonicSet& set);

}  // namespace kolma
