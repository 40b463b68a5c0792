#include "core/analysis/harmonic_decomposition.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <limits>
#include <new>

#include "core/model/project.h"
#include "core/numeric/errors.h"

namespace kolma {

namespace {

// Bins that may be retained: 0..N div 2 - 1 (the Nyquist bin never is). A one-point
// transform still has its mean, bin 0.
int CandidateCount(const TFastFourier& fourier) { return std::max(fourier.SpectrumSize() / 2, 1); }

// Candidate bins ranked by decreasing amplitude. Ties keep the order the comb sort of the
// matrix rows leaves them in, starting from increasing bin number; the harmonics table of
// a saved analysis must not change with the sorting method, so the matrix sort is used as is.
TMatrix RankByAmplitude(const TFastFourier& fourier, int candidates) {
  TMatrix ranking(2, candidates);
  double* cells = ranking.Data();
  for (int r = 0; r < candidates; ++r) {
    cells[2 * r] = r;
    cells[2 * r + 1] = fourier.Amplitude(r);
  }
  ranking.SortRows(2, false, 1, 1, 2, candidates);
  return ranking;
}

// Bin of rank i; reading past the last rank gives bin 0.
int BinOfRank(const TMatrix& ranking, int i) { return static_cast<int>(RoundHalfEven(ranking.Element(1, i))); }

}  // namespace

std::int32_t NextPowerOfTwo(std::int32_t n) {
  for (int i = 2; i <= 22; ++i) {
    const std::int32_t low = std::int32_t{1} << i;
    if (low < n && n <= 2 * low) return 2 * low;
  }
  return 0;
}

bool ResampleToPowerOfTwo(TVector& v) {
  const int n = v.NrOfElem();
  const int a = NextPowerOfTwo(n);
  if (a == 0) return false;
  const std::vector<double> c(v.Data(), v.Data() + n);
  if (!v.Resize(a)) return false;
  double* out = v.Data();
  out[0] = c[0];
  out[a - 1] = c[static_cast<size_t>(n - 1)];
  // Position e (n - 1) / (a - 1) in whole and fractional parts, in exact integer arithmetic
  // so that whole positions pick their sample without rounding.
  const std::int64_t span = a - 1;
  for (std::int64_t e = 2; e <= a - 1; ++e) {
    const std::int64_t scaled = e * (n - 1);
    const std::int64_t j = scaled / span;  // 1-based sample below the position
    const double frac = static_cast<double>(scaled % span) / static_cast<double>(span);
    const double below = c[static_cast<size_t>(j - 1)];
    const double above = j < n ? c[static_cast<size_t>(j)] : below;
    out[e - 1] = below + frac * (above - below);
  }
  return true;
}

bool PadHistory(const TVector& source, TVector& target, std::int32_t p) {
  try {
    const int n = source.NrOfElem();
    if (p < 0) p = 0;
    if (static_cast<std::int64_t>(n) + p > std::numeric_limits<int>::max()) return false;
    const double first = source.Element(1);
    const double last = source.Element(n);
    std::vector<double> padded(static_cast<size_t>(n) + static_cast<size_t>(p), first);
    std::copy(source.Data(), source.Data() + n, padded.begin());
    const std::int64_t ramp = RoundHalfEven(p * 0.1);
    const double slope = (first - last) / (0.1 * p);
    for (std::int64_t i = 1; i <= ramp; ++i) padded[static_cast<size_t>(n + i - 1)] = last + slope * static_cast<double>(i);
    TVector result(static_cast<int>(padded.size()));
    std::copy(padded.begin(), padded.end(), result.Data());
    target = std::move(result);
    return true;
  } catch (...) {
    return false;
  }
}

std::int32_t PaddingSamples(double sectionLength, double diffusivity, std::uint8_t paddingMode,
                            double paddingYears, double dt) {
  const double samples = paddingMode == 0
                             ? sectionLength * sectionLength * 150 * 0.004 / diffusivity * 1.1 / dt
                             : 8766 * paddingYears * 1.1 / dt;
  if (std::isnan(samples)) return 0;
  const std::int64_t rounded = RoundHalfEven(samples);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(rounded, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

std::int32_t PaddingSamples(const Project& project, double dt) {
  const TSectionProperties& s = project.SectionProperties;
  return PaddingSamples(s.Xd - s.Xu, s.Diffusivity, project.AnalysisOptions.PaddingMode,
                        project.AnalysisOptions.PaddingYears, dt);
}

std::string PaddingTooLong(const Project& project, std::int64_t samples, double dt, const char* records) {
  const std::int64_t padding = std::max(PaddingSamples(project, dt), std::int32_t{0});
  if (padding == 0 || samples > TFastFourier::kMaxSize || samples + padding <= TFastFourier::kMaxSize) return {};
  char text[512];
  const TSectionProperties& s = project.SectionProperties;
  const char* change =
      project.AnalysisOptions.PaddingMode == 0
          ? "The automatic padding grows with the square of the section length over the diffusivity (%g m, "
            "%g m\xC2\xB2/h here): check those values, or choose a padding in years in the analysis options"
          : "Choose fewer padding years in the analysis options";
  char how[256];
  std::snprintf(how, sizeof how, change, s.Xd - s.Xu, s.Diffusivity);
  std::snprintf(text, sizeof text,
                "The padding is too long: %lld samples of %g h added to the %lld of %s make more than the "
                "%d samples the Fourier transform can take. %s. Analysis aborted.",
                static_cast<long long>(padding), dt, static_cast<long long>(samples), records, TFastFourier::kMaxSize,
                how);
  return text;
}

std::int64_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLimit = 9.2e18;
  if (value >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (value <= -kLimit) return std::numeric_limits<std::int64_t>::min();
  const double below = std::floor(value);
  const double rest = value - below;
  double rounded = below;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(below, 2.0) != 0.0)) rounded = below + 1.0;
  return static_cast<std::int64_t>(rounded);
}

void TransformHistory(TFastFourier& fourier, const TVector& v) {
  const int n = v.NrOfElem();
  fourier.SetSpectrumSize(n);  // raises for a count that is not a power of two
  std::complex<double>* points = fourier.Points();
  const double* values = v.Data();
  for (int i = 0; i < n; ++i) points[i] = {values[i], 0.0};
  fourier.Transform();
}

std::vector<std::int32_t> SelectHarmonicBins(const TFastFourier& first, const TFastFourier& second,
                                             std::int32_t count) {
  const int candidates = CandidateCount(first);
  const TMatrix rankFirst = RankByAmplitude(first, candidates);
  const TMatrix rankSecond = RankByAmplitude(second, candidates);
  // A count below 1 would retain nothing, and no table can be empty.
  if (count < 1) count = 1;
  std::vector<char> retained(static_cast<size_t>(candidates), 0);
  const int ranks = std::min(count, candidates + 1);  // further ranks all read bin 0
  for (int i = 1; i <= ranks; ++i) {
    retained[static_cast<size_t>(BinOfRank(rankFirst, i))] = 1;
    retained[static_cast<size_t>(BinOfRank(rankSecond, i))] = 1;
  }
  std::vector<std::int32_t> bins;
  for (int k = 0; k < candidates; ++k)
    if (retained[static_cast<size_t>(k)]) bins.push_back(k);
  return bins;
}

TMatrix ChoisirHarmoniques(const TFastFourier& x1, const TFastFourier& x2, std::int32_t count, double dt) {
  const std::vector<std::int32_t> bins = SelectHarmonicBins(x1, x2, count);
  TMatrix table(9, static_cast<int>(bins.size()));
  int row = 1;
  for (const std::int32_t k : bins) {  // increasing frequency
    const double cells[9] = {x1.Frequency(k, dt), x1.Amplitude(k),     x1.Phase(k),
                             x2.Amplitude(k),     x2.Phase(k),         x1.RealSpectrum(k),
                             x1.ImagSpectrum(k),  x2.RealSpectrum(k),  x2.ImagSpectrum(k)};
    std::copy(cells, cells + 9, table.Data() + static_cast<size_t>(row - 1) * 9);
    ++row;
  }
  return table;
}

TMatrix ChoisirHarmoniquesDirect(const TFastFourier& upstream, const TFastFourier& downstream,
                                 std::int32_t count, double dt, THarmonicSet& set) {
  const std::vector<std::int32_t> bins = SelectHarmonicBins(upstream, downstream, count);
  const int candidates = CandidateCount(upstream);
  const int retained = static_cast<int>(bins.size());
  set.Periods.Resize(candidates);
  set.Amplitudes.Resize(2, candidates);
  set.Phases.Resize(2, candidates);
  set.HarmonicCount = retained;
  TMatrix table(5, retained);
  for (int row = 1; row <= retained; ++row) {
    const int k = bins[static_cast<size_t>(retained - row)];  // decreasing frequency
    const double f = upstream.Frequency(k, dt);
    const double aU = upstream.RealSpectrum(k), bU = upstream.ImagSpectrum(k);
    const double aD = downstream.RealSpectrum(k), bD = downstream.ImagSpectrum(k);
    const double cells[5] = {f, aU, bU, aD, bD};
    std::copy(cells, cells + 5, table.Data() + static_cast<size_t>(row - 1) * 5);
    set.Periods.SetElement(row, f == 0.0 ? -1.0 : 1.0 / f);
    set.Amplitudes.SetElement(1, row, std::hypot(aU, bU));
    set.Amplitudes.SetElement(2, row, std::hypot(aD, bD));
    // + 0.0 turns a negative zero into a positive one, keeping the phase within (-pi, pi].
    set.Phases.SetElement(1, row, std::atan2(bU + 0.0, aU));
    set.Phases.SetElement(2, row, std::atan2(bD + 0.0, aD));
  }
  return table;
}

void FillInverseHarmonicSet(const TMatrix& table, THarmonicSet& set) {
  const int rows = table.NrOfRows();
  set.HarmonicCount = rows;
  set.Periods.Resize(rows);
  set.Amplitudes.Resize(2, rows);
  set.Phases.Resize(2, rows);
  for (int r = 1; r <= rows; ++r) {
    const double f = table.Element(1, r);
    set.Periods.SetElement(r, f == 0.0 ? -1.0 : 1.0 / f);
    set.Amplitudes.SetElement(1, r, table.Element(2, r));
    set.Phases.SetElement(1, r, table.Element(3, r));
    set.Amplitudes.SetElement(2, r, table.Element(4, r));
    set.Phases.SetElement(2, r, table.Element(5, r));
  }
}

}  // namespace kolma
