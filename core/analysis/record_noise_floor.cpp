#include "core/analysis/record_noise_floor.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace kolma {

namespace {

constexpr double kSignificantDigits = 7.0;
// The median amplitude of a coefficient pair with independent errors of standard
// deviation s is s sqrt(2 ln 2).
const double kRayleighMedian = std::sqrt(2.0 * std::numbers::ln2);
constexpr int kFewestNoiseBins = 8;  // below this a median says little
constexpr int kLocalHalfWidth = 8;

double BinAmplitude(const TFastFourier& t, int k) { return std::hypot(t.RealSpectrum(k), t.ImagSpectrum(k)); }

double MedianOf(std::vector<double>& values) {
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

}  // namespace

double RecordNoiseFloor(const TVector& record, const TFastFourier& transformed, std::int32_t padding) {
  const int n = record.NrOfElem();
  const double span = static_cast<double>(n) + std::max(padding, std::int32_t{0});  // samples of the period

  // A sample error spread evenly over +-q/2 has the standard deviation q / sqrt(12); a
  // coefficient is (2 / span) times a sum over the n recorded samples.
  double largest = 0.0;
  for (int j = 1; j <= n; ++j) largest = std::max(largest, std::fabs(record.Element(j)));
  double floor = 0.0;
  if (largest > 0.0 && std::isfinite(largest)) {
    const double unit = std::pow(10.0, std::floor(std::log10(largest)) - (kSignificantDigits - 1.0));
    floor = unit / std::sqrt(12.0) * std::sqrt(2.0 * n) / span;
  }

  // Bin k is k cycles per padded record, so periods of 2 to 4 samples are bins span/4 to
  // span/2. Re-sampling by linear interpolation damps them by sinc^2 of their frequency in
  // cycles per sample; the amplitudes are taken back to what the record held.
  const bool resampled = transformed.SpectrumSize() != static_cast<int>(span);
  const int first = std::max(1, static_cast<int>(std::ceil(span / 4.0)));
  const int last = std::min(static_cast<int>(std::ceil(span / 2.0)) - 1, transformed.SpectrumSize() / 2 - 1);
  if (last - first + 1 >= kFewestNoiseBins) {
    std::vector<double> amplitudes;
    amplitudes.reserve(static_cast<size_t>(last - first + 1));
    for (int k = first; k <= last; ++k) {
      const double x = std::numbers::pi * k / span;
      const double damping = resampled ? std::pow(std::sin(x) / x, 2) : 1.0;
      amplitudes.push_back(BinAmplitude(transformed, k) / damping);
    }
    floor = std::max(floor, MedianOf(amplitudes) / kRayleighMedian);
  }
  return floor;
}

double LocalSpectrumFloor(const TFastFourier& transformed, int bin) {
  const int halfWidth = std::max(kLocalHalfWidth, bin / 4);
  const int first = std::max(1, bin - halfWidth);
  const int last = std::min(transformed.SpectrumSize() / 2 - 1, bin + halfWidth);
  std::vector<double> amplitudes;
  for (int k = first; k <= last; ++k) amplitudes.push_back(BinAmplitude(transformed, k));
  return amplitudes.empty() ? 0.0 : MedianOf(amplitudes) / kRayleighMedian;
}

}  // namespace kolma

namespace kolma {

std::vector<double> SpectrumContinuum(const TFastFourier& transformed) {
  const int bins = transformed.SpectrumSize() / 2;
  std::vector<double> continuum(static_cast<size_t>(std::max(bins, 1)), 0.0);
  std::vector<double> amplitudes;
  for (int first = 1; first < bins;) {
    const int last = std::min(bins - 1, first + std::max(2 * kLocalHalfWidth, first / 4) - 1);
    amplitudes.clear();
    for (int k = first; k <= last; ++k) amplitudes.push_back(BinAmplitude(transformed, k));
    const double floor = MedianOf(amplitudes) / kRayleighMedian;
    for (int k = first; k <= last; ++k) continuum[static_cast<size_t>(k)] = floor;
    first = last + 1;
  }
  return continuum;
}

}  // namespace kolma
