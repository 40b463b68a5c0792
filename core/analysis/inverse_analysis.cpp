#include "core/analysis/inverse_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/analysis/face_coefficient_solver.h"
#include "core/analysis/harmonic_decomposition.h"
#include "core/analysis/harmonic_synthesis.h"
#include "core/analysis/input_checks.h"
#include "core/analysis/inverse_error.h"
#include "core/analysis/inverse_least_squares.h"
#include "core/analysis/mean_profile.h"
#include "core/analysis/record_noise_floor.h"
#include "core/model/project.h"
#include "core/numeric/errors.h"
#include "core/numeric/fast_fourier.h"

namespace kolma {

namespace {

// The transform's own message for a length it cannot take.
constexpr const char* kFftLengthNotPowerOfTwo = "FFT data length must be power of 2";

// Columns of the harmonic table: frequency, then the cosine and sine coefficients of the
// thermometer nearer the upstream face (a) and of the other one (b).
constexpr int kFrequencyColumn = 1;
constexpr int kCosineA = 6, kSineA = 7, kCosineB = 8, kSineB = 9;

// Frequencies at or above this take no part in the face histories. It starts far above
// any frequency a record of hours can carry and drops to the first discarded one.
constexpr double kNoDiscardFrequency = 1000.0;  // cycles per hour

// Progress: the upstream pass solves its systems up to a quarter of full scale and its
// face is built by half scale; the downstream pass does the same over the second half.
constexpr int kUpstreamSolved = kProgressMax / 4;
constexpr int kUpstreamDone = kProgressMax / 2;
constexpr int kDownstreamSolved = 3 * kProgressMax / 4;

struct ThermometerPair {
  const TTemperatureInside* a = nullptr;  // nearer the upstream face
  const TTemperatureInside* b = nullptr;
  int slotA = 0, slotB = 0;
};

bool NamesOccupiedSlot(const Project& project, int slot) {
  return slot >= 1 && slot <= kThermometerSlots && IsThermometerOccupied(project.Thermometer(slot));
}

// Thermometers beside the pair that the least-squares method can read: occupied, with the
// pair's time step and count (their harmonics must fall on the same bins).
bool MatchesPair(const Project& project, int slot) {
  const TTemperatureInside& t = project.Thermometer(slot);
  const TTemperatureInside& first = project.Thermometer(project.InversePair.First);
  return t.TimeStep == first.TimeStep && t.Values.NrOfElem() == first.Values.NrOfElem();
}

bool InPair(const Project& project, int slot) {
  return slot == project.InversePair.First || slot == project.InversePair.Second;
}

// The slots whose values the run reads: the pair, and with a regression or polynomial
// mean profile or the least-squares method every other occupied slot as well (for the
// least-squares method only those that match the pair).
std::vector<int> SlotsRead(const Project& project, TInverseMethod method) {
  std::vector<int> slots{project.InversePair.First, project.InversePair.Second};
  const bool leastSquares = method == kInverseLeastSquaresMethod;
  if (leastSquares || project.AnalysisOptions.AveragingCorrection != 0)
    for (int slot = 1; slot <= kThermometerSlots; ++slot)
      if (!InPair(project, slot) && IsThermometerOccupied(project.Thermometer(slot)) &&
          (!leastSquares || MatchesPair(project, slot)))
        slots.push_back(slot);
  return slots;
}

// Refusals come first so that nothing is computed on inputs that cannot give a result.
// Values are checked for being numbers before they are compared, so that the warning
// names what is wrong.
std::optional<std::string> Refusal(const Project& project, double timeStep, TInverseMethod method) {
  // As in the window, the run needs a chosen pair.
  if (!project.HasFlag(pfInversePair)) return kInversePairNotSelected;
  if (auto r = CheckValue("Analysis time step", timeStep)) return r;
  if (!(timeStep > 0.0)) return kInverseAnalysisStepNotPositive;
  const TInversePair& pair = project.InversePair;
  if (pair.First == pair.Second || !NamesOccupiedSlot(project, pair.First) ||
      !NamesOccupiedSlot(project, pair.Second))
    return kInversePairNotSelected;
  const TTemperatureInside& first = project.Thermometer(pair.First);
  const TTemperatureInside& second = project.Thermometer(pair.Second);
  for (int slot : {pair.First, pair.Second})
    if (auto r = CheckValue(ThermometerName(project, slot) + " time step", project.Thermometer(slot).TimeStep))
      return r;
  if (first.TimeStep != second.TimeStep) return kInverseTimeStepMismatch;
  if (first.Values.NrOfElem() != second.Values.NrOfElem()) return kInverseCountMismatch;
  if (!(first.TimeStep > 0.0)) return kInverseRecordStepNotPositive;
  if (auto r = CheckSection(project, false)) return r;
  const TSectionProperties& section = project.SectionProperties;
  if (!(section.Diffusivity > 0.0)) return kInverseDiffusivityNotPositive;
  if (!(section.Xu < section.Xd)) return kInverseFacesNotOrdered;
  const std::vector<int> slots = SlotsRead(project, method);
  for (int slot : slots)
    if (auto r = CheckThermometerPosition(project, slot)) return r;
  for (int slot : slots)
    if (auto r = CheckSamples(ThermometerName(project, slot), project.Thermometer(slot).Values)) return r;
  if (first.Position == second.Position) return kInversePairAtOnePosition;
  const std::int64_t steps = RoundHalfEven(first.Values.NrOfElem() * first.TimeStep / timeStep);
  if (steps < 1) return kInverseRecordTooShort;
  if (auto r = CheckResultSize(2, steps)) return r;  // the two face histories
  // Said here, before the transform would refuse the length with its own terse message.
  if (std::string r = PaddingTooLong(project, first.Values.NrOfElem(), first.TimeStep, "the thermometers' records"); !r.empty()) return r;
  return std::nullopt;
}

ThermometerPair OrderPair(const Project& project) {
  const double xu = project.SectionProperties.Xu;
  const int first = project.InversePair.First, second = project.InversePair.Second;
  const bool firstNearer = project.Thermometer(first).Position - xu < project.Thermometer(second).Position - xu;
  ThermometerPair pair;
  pair.slotA = firstNearer ? first : second;
  pair.slotB = firstNearer ? second : first;
  pair.a = &project.Thermometer(pair.slotA);
  pair.b = &project.Thermometer(pair.slotB);
  return pair;
}

double MeanOf(const TVector& values) {
  double mean = 0.0, variance = 0.0;
  values.MeanAndVariance(1, values.NrOfElem(), mean, variance);
  return mean;
}

// The pair first, then every other occupied slot in slot order.
std::vector<MeanPoint> MeanPoints(const Project& project, const ThermometerPair& pair) {
  const double xu = project.SectionProperties.Xu;
  std::vector<MeanPoint> points{{pair.a->Position - xu, MeanOf(pair.a->Values)},
                                {pair.b->Position - xu, MeanOf(pair.b->Values)}};
  for (int slot = 1; slot <= kThermometerSlots; ++slot) {
    const TTemperatureInside& t = project.Thermometer(slot);
    if (slot == pair.slotA || slot == pair.slotB || !IsThermometerOccupied(t)) continue;
    points.push_back({t.Position - xu, MeanOf(t.Values)});
  }
  return points;
}

// A record padded as the options ask and re-sampled to a power of two.
TVector PreparedRecord(const TVector& values, std::int32_t padding) {
  TVector record;
  if (padding <= 0)
    record = values;
  else if (!PadHistory(values, record, padding))
    throw EVectorError(kNotEnoughMemory);  // a half-built record would give wrong faces
  ResampleToPowerOfTwo(record);  // counts it cannot handle fail at the transform instead
  return record;
}

std::string DiscardWarning(double frequency) {
  char period[64];
  std::snprintf(period, sizeof period, "%8.3f hours", 1.0 / frequency);
  return std::string(kInverseDiscardPrefix) + period + kInverseDiscardSuffix;
}

// Besides the conditioning test, a harmonic is kept only when the face amplitude it works
// back stands clear of the error that the error of the records causes in it: at least this
// many times the standard deviation of that error (the records' error floor times the
// amplification of the harmonic's system). A margin this wide because a harmonic holding
// nothing but record error works back an amplitude near that standard deviation, and at
// the largest harmonic counts there are thousands of them, amplified up to 1e19: a single
// one kept by chance would spoil the faces. With four standard deviations the chance is
// e^-16 (about 1e-7) per harmonic. A real harmonic lost this way had less than four times
// the error it would have brought; so more harmonics only ever add ones that carry
// information, and the faces do not get worse.
constexpr double kSignalToError = 4.0;

// Where a system amplifies the records a thousandfold or more, what a thermometer holds of
// that period is a thousandth of the face's amplitude or less: at that level the padding
// (whose corners no face history caused) and the leakage of the strong harmonics fill the
// spectrum with a continuum, which counts as record error as well. Below it the continuum
// is mostly the leakage of the records' own harmonics, which the faces share.
constexpr double kContinuumGain = 1000.0;

// What the two passes share: the single warning of the run and the discard frequency.
struct RunState {
  bool warned = false;
  bool matrixProblem = false;  // a system failed the conditioning test or the inversion
  double discardFrequency = kNoDiscardFrequency;
  std::vector<std::string> warnings;
};

// The face harmonic of one retained row, or nothing when its system was refused.
struct FaceHarmonic {
  double frequency = 0.0;
  double a = 0.0, b = 0.0;  // cosine and sine coefficients at the face
};

// Where the two thermometers sit as seen from the face being worked back.
struct PassGeometry {
  double nearDistance = 0.0, farDistance = 0.0;
  int nearCosine = 0, nearSine = 0, farCosine = 0, farSine = 0;  // table columns
  double nearFloor = 0.0, farFloor = 0.0;  // error of one measured coefficient
  const TFastFourier* nearSpectrum = nullptr;
  const TFastFourier* farSpectrum = nullptr;
  double fundamentalPeriod = 0.0;  // hours: bin k is at frequency k / fundamentalPeriod
};

// True when the record error would dominate the face amplitudes this solution works back.
bool DominatedByRecordError(const FaceSolution& s, const PassGeometry& g, double frequency) {
  double nearFloor = g.nearFloor, farFloor = g.farFloor;
  if (std::max(s.nearGain, s.farGain) >= kContinuumGain) {
    const auto bin = static_cast<int>(RoundHalfEven(frequency * g.fundamentalPeriod));
    nearFloor = std::max(nearFloor, LocalSpectrumFloor(*g.nearSpectrum, bin));
    farFloor = std::max(farFloor, LocalSpectrumFloor(*g.farSpectrum, bin));
  }
  const double error2 = std::pow(s.nearGain * nearFloor, 2) + std::pow(s.farGain * farFloor, 2);
  const double amplitude2 = s.x[0] * s.x[0] + s.x[3] * s.x[3];
  return !(amplitude2 > kSignalToError * kSignalToError * error2);
}

// Solves the system of every non-constant harmonic, in increasing frequency. Returns
// false when the caller asked to stop.
bool SolvePass(const TMatrix& table, int count, double diffusivity, const PassGeometry& g, RunState& state,
               const ProgressCallback& progress, int progressFrom, int progressTo,
               std::vector<FaceHarmonic>& solved) {
  for (int r = 1; r <= count; ++r) {
    const double f = table.Element(kFrequencyColumn, r);
    // The constant term has no system of its own: the mean profile takes its place.
    if (f != 0.0) {
      const double k = std::sqrt(std::numbers::pi * f / diffusivity);
      const FaceSolution s = SolveFaceCoefficients(
          k * g.nearDistance, table.Element(g.nearCosine, r), table.Element(g.nearSine, r), k * g.farDistance,
          table.Element(g.farCosine, r), table.Element(g.farSine, r));
      if (s.status == FaceSolveStatus::kSolved && !DominatedByRecordError(s, g, f)) {
        solved.push_back({f, s.x[0], s.x[3]});
      } else if (s.status == FaceSolveStatus::kSolved) {
        // Left out on its own: shorter periods whose records carry them are still kept.
        if (!state.warned) state.warnings.push_back(DiscardWarning(f));
        state.warned = true;
      } else if (!state.matrixProblem) {
        state.matrixProblem = true;
        const bool illConditioned = s.status == FaceSolveStatus::kIllConditioned;
        if (illConditioned) state.discardFrequency = f;
        if (!state.warned) state.warnings.push_back(illConditioned ? DiscardWarning(f) : kInverseMatrixFailed);
        state.warned = true;
      }
    }
    if (progress) {
      const auto position = progressFrom + RoundHalfEven(static_cast<double>(progressTo - progressFrom) * r / count);
      if (!progress(static_cast<int>(position))) return false;
    }
  }
  return true;
}

// The face history at K analysis steps from its solved harmonics below the discard
// frequency, as whole multiples of the records' fundamental.
std::vector<double> SynthesiseFace(const std::vector<FaceHarmonic>& solved, double discardFrequency,
                                   double fundamentalPeriod, double timeStep, std::int32_t steps) {
  std::vector<HarmonicTerm> terms;
  for (const FaceHarmonic& h : solved)
    if (h.frequency < discardFrequency) terms.push_back({RoundHalfEven(h.frequency * fundamentalPeriod), h.a, h.b});
  std::vector<double> history(static_cast<size_t>(steps), 0.0);
  AddHarmonicSum(terms, timeStep, fundamentalPeriod, history);
  return history;
}

// Shifts the history so that its time mean is exactly `mean`.
TVector WithMean(const std::vector<double>& history, double mean) {
  double sum = 0.0;
  for (double v : history) sum += v;
  const double shift = mean - sum / static_cast<double>(history.size());
  TVector out(static_cast<int>(history.size()));
  double* data = out.Data();
  for (size_t t = 0; t < history.size(); ++t) data[t] = history[t] + shift;
  return out;
}

AnalysisOutcome Stopped(RunState& state) {
  AnalysisOutcome outcome;
  outcome.stopped = true;
  outcome.warnings = std::move(state.warnings);
  return outcome;
}


// A thermometer as the least-squares fit and the error estimate read it.
struct SpectrumView {
  double distance = 0.0;  // m from the upstream face
  const TFastFourier* spectrum = nullptr;
  double floor = 0.0;  // error of one coefficient
  std::vector<double> continuum;  // the spectrum's continuum, bin by bin
};

SpectrumView MakeView(double distance, const TFastFourier& spectrum, double floor) {
  return {distance, &spectrum, floor, SpectrumContinuum(spectrum)};
}

// Both faces at every bin of the records' spectrum but the mean, fitted to the given
// thermometers; element k is bin k (element 0 unused). As with the pair, where a face's
// system amplifies the records kContinuumGain-fold or more, the continuum of the records
// around the bin counts as their error too.
std::vector<FaceCoefficients> SolveEveryBin(const std::vector<SpectrumView>& views, int binCount,
                                            double fundamentalPeriod, double diffusivity, double thickness) {
  std::vector<FaceCoefficients> bins(static_cast<size_t>(std::max(binCount, 1)));
  std::vector<ThermometerCoefficient> measured(views.size());
  double smallestFloor = std::numeric_limits<double>::infinity();
  for (const SpectrumView& v : views) smallestFloor = std::min(smallestFloor, v.floor);
  const double limit = 2.0 * std::pow(kContinuumGain * smallestFloor, 2);  // a variance
  for (int k = 1; k < binCount; ++k) {
    const double wave = std::sqrt(std::numbers::pi * (k / fundamentalPeriod) / diffusivity);
    for (size_t j = 0; j < views.size(); ++j)
      measured[j] = {views[j].distance, Complex(views[j].spectrum->RealSpectrum(k), -views[j].spectrum->ImagSpectrum(k)),
                     views[j].floor};
    FaceCoefficients solved = SolveFacesLeastSquares(measured, wave, thickness);
    const bool upstreamAmplified = !(solved.upstreamVariance < limit);
    const bool downstreamAmplified = !(solved.downstreamVariance < limit);
    if (upstreamAmplified || downstreamAmplified) {
      for (size_t j = 0; j < views.size(); ++j)
        measured[j].error = std::max(views[j].floor, views[j].continuum[static_cast<size_t>(k)]);
      const FaceCoefficients wide = SolveFacesLeastSquares(measured, wave, thickness);
      if (upstreamAmplified) {
        solved.upstream = wide.upstream;
        solved.upstreamVariance = wide.upstreamVariance;
      }
      if (downstreamAmplified) {
        solved.downstream = wide.downstream;
        solved.downstreamVariance = wide.downstreamVariance;
      }
      solved.solved = std::isfinite(solved.upstreamVariance) || std::isfinite(solved.downstreamVariance);
      solved.upstreamAmplified = upstreamAmplified;
      solved.downstreamAmplified = downstreamAmplified;
    }
    bins[static_cast<size_t>(k)] = solved;
  }
  return bins;
}

// One face's bins as the error report sees them, before anything is kept.
std::vector<FaceBin> FaceBins(const std::vector<FaceCoefficients>& solved, bool upstream) {
  std::vector<FaceBin> bins(solved.size());
  for (size_t k = 1; k < solved.size(); ++k) {
    const FaceCoefficients& s = solved[k];
    const double variance = upstream ? s.upstreamVariance : s.downstreamVariance;
    const double power = std::norm(upstream ? s.upstream : s.downstream) - variance;
    bins[k].variance = variance;
    bins[k].power = std::isfinite(power) ? std::max(power, 0.0) : 0.0;
  }
  return bins;
}

int BinOf(double frequency, double fundamentalPeriod) {
  return static_cast<int>(RoundHalfEven(frequency * fundamentalPeriod));
}

// Marks the harmonics a face history holds: each brings the error of its estimate.
void MarkKept(const std::vector<FaceHarmonic>& held, double discardFrequency, double fundamentalPeriod,
              std::vector<FaceBin>& bins) {
  for (const FaceHarmonic& h : held) {
    const auto k = static_cast<size_t>(BinOf(h.frequency, fundamentalPeriod));
    if (h.frequency >= discardFrequency || k == 0 || k >= bins.size()) continue;
    bins[k].kept = true;
    bins[k].keptError = bins[k].variance;
  }
}

// The least-squares face harmonics of the retained rows. Below the face's last recovered
// bin a harmonic is kept shrunk to its least expected error (the continuum there stands
// above the records' error); beyond it only one that stands out of its own error by
// kSignalToError, as with the pair, and whose system amplifies the records less than
// kContinuumGain-fold: a harmonic of record error, amplified perhaps a billionfold on its
// way to a deep face, must never be kept by chance.
std::vector<FaceHarmonic> KeepLeastSquares(const TMatrix& table, int count, const std::vector<FaceCoefficients>& solved,
                                           bool upstream, int lastRecovered, double fundamentalPeriod,
                                           std::vector<FaceBin>& bins) {
  std::vector<FaceHarmonic> kept;
  for (int r = 1; r <= count; ++r) {
    const double f = table.Element(kFrequencyColumn, r);
    const int k = BinOf(f, fundamentalPeriod);
    if (f == 0.0 || k <= 0 || k >= static_cast<int>(solved.size())) continue;
    const FaceCoefficients& s = solved[static_cast<size_t>(k)];
    const Complex estimate = upstream ? s.upstream : s.downstream;
    const double variance = upstream ? s.upstreamVariance : s.downstreamVariance;
    if (!std::isfinite(variance)) continue;
    const bool amplified = upstream ? s.upstreamAmplified : s.downstreamAmplified;
    if (k > lastRecovered && (amplified || !(std::norm(estimate) > kSignalToError * kSignalToError * variance)))
      continue;
    double error = 0.0;
    const Complex held = ShrinkToExpectedError(estimate, variance, error);
    if (held == Complex(0.0)) continue;
    kept.push_back({f, held.real(), -held.imag()});
    bins[static_cast<size_t>(k)].kept = true;
    bins[static_cast<size_t>(k)].keptError = error;
  }
  return kept;
}

// How much a face history changes from the first sample of the records to the last.
double ChangeOverRecord(const std::vector<FaceHarmonic>& held, double discardFrequency, double duration) {
  double change = 0.0;
  for (const FaceHarmonic& h : held) {
    if (h.frequency >= discardFrequency) continue;
    const double phase = 2.0 * std::numbers::pi * h.frequency * duration;
    change += h.a * (std::cos(phase) - 1.0) + h.b * std::sin(phase);
  }
  return change;
}

// The thermometers besides the pair that tell about the section as well: those the
// least-squares method reads, when their values and positions can be used.
std::vector<int> UsableSlots(const Project& project) {
  std::vector<int> slots;
  for (int slot : SlotsRead(project, kInverseLeastSquaresMethod))
    if (!CheckThermometerPosition(project, slot) && !CheckSamples("", project.Thermometer(slot).Values))
      slots.push_back(slot);
  return slots;
}

std::vector<ChangePoint> ChangePoints(const Project& project, const std::vector<int>& slots) {
  std::vector<ChangePoint> points;
  for (int slot : slots) {
    const TTemperatureInside& t = project.Thermometer(slot);
    points.push_back({t.Position - project.SectionProperties.Xu, MeanOf(t.Values),
                      t.Values.Element(t.Values.NrOfElem()) - t.Values.Element(1)});
  }
  return points;
}

std::string LeftOutWarning(const Project& project, int slot) {
  return ThermometerName(project, slot) +
         " has another time step or number of data than the pair and is left out of the least-squares fit";
}

}  // namespace

AnalysisOutcome RunInverseAnalysis(Project& project, double timeStep, const ProgressCallback& progress) {
  return RunInverseAnalysis(project, timeStep, static_cast<TInverseMethod>(project.AnalysisOptions.InverseMethod),
                            progress);
}

AnalysisOutcome RunInverseAnalysis(Project& project, double timeStep, TInverseMethod method,
                                   const ProgressCallback& progress) {
  const bool leastSquares = method == kInverseLeastSquaresMethod;
  if (!leastSquares) method = kInversePairMethod;
  if (const std::optional<std::string> reason = Refusal(project, timeStep, method)) {
    AnalysisOutcome refused;
    refused.warnings.push_back(*reason);
    return refused;
  }

  // Everything is computed into locals and written to the project at the very end, so a
  // stop or an exception leaves the previous results and flags in place.
  const TSectionProperties& section = project.SectionProperties;
  const double thickness = section.Xd - section.Xu;
  const ThermometerPair pair = OrderPair(project);
  const TTemperatureInside& first = project.Thermometer(project.InversePair.First);
  const std::int32_t n = first.Values.NrOfElem();
  const double dt = first.TimeStep;
  const auto steps = static_cast<std::int32_t>(RoundHalfEven(n * dt / timeStep));

  // Records and spectra.
  // A negative count pads nothing, and must not shorten the fundamental period either.
  const std::int32_t padding = std::max(PaddingSamples(project, dt), std::int32_t{0});
  // Beyond 2^23 samples there is no transform: fail before allocating the padded records.
  // (A padding at fault was refused above with a message saying so.)
  if (static_cast<std::int64_t>(n) + padding > TFastFourier::kMaxSize)
    throw EFourierError(kFftLengthNotPowerOfTwo);
  const TVector recordA = PreparedRecord(pair.a->Values, padding);
  const TVector recordB = PreparedRecord(pair.b->Values, padding);
  TFastFourier fourierA, fourierB;
  TransformHistory(fourierA, recordA);
  TransformHistory(fourierB, recordB);
  const double floorA = RecordNoiseFloor(pair.a->Values, fourierA, padding);
  const double floorB = RecordNoiseFloor(pair.b->Values, fourierB, padding);
  const double resampledStepB = (n + padding) * dt / recordB.NrOfElem();
  const TMatrix table =
      ChoisirHarmoniques(fourierA, fourierB, project.InverseHarmonics.MinHarmonics, resampledStepB);
  THarmonicSet harmonics = project.InverseHarmonics;
  FillInverseHarmonicSet(table, harmonics);
  const int count = harmonics.HarmonicCount;
  // Every retained frequency is a whole multiple of 1 / (padded record length).
  const double fundamentalPeriod = recordB.NrOfElem() * resampledStepB;
  const int binCount = recordB.NrOfElem() / 2;  // the Nyquist bin is never a harmonic

  RunState state;
  const double xaFromUp = pair.a->Position - section.Xu, xbFromUp = pair.b->Position - section.Xu;
  const double xaFromDown = section.Xd - pair.a->Position, xbFromDown = section.Xd - pair.b->Position;

  // The other thermometers that match the pair: read by the least-squares fit, and by
  // either method for the physics of the mean profile.
  const std::vector<int> usable = UsableSlots(project);
  std::vector<SpectrumView> views{MakeView(xaFromUp, fourierA, floorA), MakeView(xbFromUp, fourierB, floorB)};
  std::vector<TFastFourier> others;
  if (leastSquares) {
    for (int slot = 1; slot <= kThermometerSlots; ++slot)
      if (!InPair(project, slot) && IsThermometerOccupied(project.Thermometer(slot)) && !MatchesPair(project, slot))
        state.warnings.push_back(LeftOutWarning(project, slot));
    others.reserve(usable.size());
    for (int slot : usable) {
      if (InPair(project, slot)) continue;
      const TTemperatureInside& t = project.Thermometer(slot);
      others.emplace_back();
      TransformHistory(others.back(), PreparedRecord(t.Values, padding));
      views.push_back(
          MakeView(t.Position - section.Xu, others.back(), RecordNoiseFloor(t.Values, others.back(), padding)));
    }
  }
  // Every bin solved from the thermometers the method reads: the least-squares faces, and
  // for either method what each face is worth.
  const std::vector<FaceCoefficients> everyBin = SolveEveryBin(
      leastSquares ? views : std::vector<SpectrumView>(views.begin(), views.begin() + 2), binCount, fundamentalPeriod,
      section.Diffusivity, thickness);
  std::vector<FaceBin> upstreamBins = FaceBins(everyBin, true), downstreamBins = FaceBins(everyBin, false);

  std::vector<FaceHarmonic> upstreamHarmonics, downstreamHarmonics;
  std::vector<double> upstream, downstream;
  double upstreamDiscard = kNoDiscardFrequency, downstreamDiscard = kNoDiscardFrequency;
  int upstreamLast = 0, downstreamLast = 0;
  if (leastSquares) {
    upstreamLast = LastRecoveredBin(upstreamBins, binCount);
    downstreamLast = LastRecoveredBin(downstreamBins, binCount);
    upstreamHarmonics =
        KeepLeastSquares(table, count, everyBin, true, upstreamLast, fundamentalPeriod, upstreamBins);
    if (progress && !progress(kUpstreamSolved)) return Stopped(state);
    upstream = SynthesiseFace(upstreamHarmonics, kNoDiscardFrequency, fundamentalPeriod, timeStep, steps);
    if (progress && !progress(kUpstreamDone)) return Stopped(state);
    downstreamHarmonics =
        KeepLeastSquares(table, count, everyBin, false, downstreamLast, fundamentalPeriod, downstreamBins);
    if (progress && !progress(kDownstreamSolved)) return Stopped(state);
    downstream = SynthesiseFace(downstreamHarmonics, kNoDiscardFrequency, fundamentalPeriod, timeStep, steps);
  } else {
    const PassGeometry fromUpstream{xaFromUp, xbFromUp, kCosineA, kSineA, kCosineB, kSineB,
                                    floorA,   floorB,   &fourierA, &fourierB, fundamentalPeriod};
    if (!SolvePass(table, count, section.Diffusivity, fromUpstream, state, progress, 0, kUpstreamSolved,
                   upstreamHarmonics))
      return Stopped(state);
    // The upstream face is built before the downstream systems are looked at: a problem
    // found only from the downstream side does not take periods away from this face.
    upstreamDiscard = state.discardFrequency;
    upstream = SynthesiseFace(upstreamHarmonics, upstreamDiscard, fundamentalPeriod, timeStep, steps);
    if (progress && !progress(kUpstreamDone)) return Stopped(state);

    const PassGeometry fromDownstream{xbFromDown, xaFromDown, kCosineB, kSineB, kCosineA, kSineA,
                                      floorB,     floorA,     &fourierB, &fourierA, fundamentalPeriod};
    if (!SolvePass(table, count, section.Diffusivity, fromDownstream, state, progress, kUpstreamDone,
                   kDownstreamSolved, downstreamHarmonics))
      return Stopped(state);
    downstreamDiscard = state.discardFrequency;
    downstream = SynthesiseFace(downstreamHarmonics, downstreamDiscard, fundamentalPeriod, timeStep, steps);
    MarkKept(upstreamHarmonics, upstreamDiscard, fundamentalPeriod, upstreamBins);
    MarkKept(downstreamHarmonics, downstreamDiscard, fundamentalPeriod, downstreamBins);
    auto firstLost = [&](double discard) {
      return discard < kNoDiscardFrequency ? BinOf(discard, fundamentalPeriod) : binCount;
    };
    upstreamLast = LastRecoveredBin(upstreamBins, firstLost(upstreamDiscard));
    downstreamLast = LastRecoveredBin(downstreamBins, firstLost(downstreamDiscard));
  }
  if (progress && !progress(kProgressMax)) return Stopped(state);

  // Time means across the section: the physics of a record that does not repeat itself,
  // and for the pair its straight line or fit as the options ask.
  const double duration = (n - 1) * dt;
  const TCurvedMeanProfile physics(ChangePoints(project, usable), thickness,
                                   ChangeOverRecord(upstreamHarmonics, upstreamDiscard, duration),
                                   ChangeOverRecord(downstreamHarmonics, downstreamDiscard, duration),
                                   section.Diffusivity, duration);
  std::vector<double> meanProfile;
  double upstreamMean = 0.0, downstreamMean = 0.0, upstreamMeanError = 0.0, downstreamMeanError = 0.0;
  if (leastSquares) {
    meanProfile = physics.Polynomial(thickness);
    upstreamMean = physics.At(0.0);
    downstreamMean = physics.At(thickness);
    upstreamMeanError = physics.ErrorAt(0.0);
    downstreamMeanError = physics.ErrorAt(thickness);
  } else {
    meanProfile = FitMeanProfile(project.AnalysisOptions.AveragingCorrection, MeanPoints(project, pair));
    upstreamMean = MeanProfileAt(meanProfile, 0.0);
    downstreamMean = MeanProfileAt(meanProfile, thickness);
    upstreamMeanError = std::hypot(upstreamMean - physics.At(0.0), physics.ErrorAt(0.0));
    downstreamMeanError = std::hypot(downstreamMean - physics.At(thickness), physics.ErrorAt(thickness));
  }
  // The nearest thermometer the method reads, from each face.
  double upstreamDepth = std::min(xaFromUp, xbFromUp), downstreamDepth = std::min(xaFromDown, xbFromDown);
  if (leastSquares)
    for (const SpectrumView& v : views) {
      upstreamDepth = std::min(upstreamDepth, v.distance);
      downstreamDepth = std::min(downstreamDepth, thickness - v.distance);
    }
  // Without padding the analysis takes the records as periodic: they have no ends.
  const double recorded = padding > 0 ? n * dt : 0.0;
  const FaceErrorReport upstreamReport =
      ExpectedFaceError(upstreamBins, upstreamLast, fundamentalPeriod, upstreamMeanError,
                        upstreamDepth * upstreamDepth / section.Diffusivity, recorded);
  const FaceErrorReport downstreamReport =
      ExpectedFaceError(downstreamBins, downstreamLast, fundamentalPeriod, downstreamMeanError,
                        downstreamDepth * downstreamDepth / section.Diffusivity, recorded);
  if (!leastSquares) {
    // A face far behind both thermometers of the pair: say so, whatever else was said.
    if (upstreamReport.expectedError > kPhysicsLimitError)
      state.warnings.push_back(PhysicsLimitWarning("upstream", std::min(xaFromUp, xbFromUp), upstreamReport));
    if (downstreamReport.expectedError > kPhysicsLimitError)
      state.warnings.push_back(PhysicsLimitWarning("downstream", std::min(xaFromDown, xbFromDown), downstreamReport));
  }

  TVector upstreamFace = WithMean(upstream, upstreamMean);
  TVector downstreamFace = WithMean(downstream, downstreamMean);
  // The records were checked, but a harmonic can still overflow: such faces are never written.
  if (!AllFinite(upstreamFace.Data(), upstream.size()) || !AllFinite(downstreamFace.Data(), downstream.size())) {
    AnalysisOutcome failed;
    failed.warnings = std::move(state.warnings);
    failed.warnings.push_back(kResultNotFinite);
    return failed;
  }
  // From here on only moves and plain stores: the results change all together or not at all.
  TInverseResults& results = project.InverseResults;
  results.UpstreamTemperatures = std::move(upstreamFace);
  results.DownstreamTemperatures = std::move(downstreamFace);
  results.TimeStep = timeStep;
  results.MeanProfile = std::move(meanProfile);
  results.UpstreamExpectedError = upstreamReport.expectedError;
  results.DownstreamExpectedError = downstreamReport.expectedError;
  results.UpstreamShortestPeriod = upstreamReport.shortestPeriod;
  results.DownstreamShortestPeriod = downstreamReport.shortestPeriod;
  project.DirectResults.TimeStep = timeStep;
  project.InverseHarmonics = std::move(harmonics);
  project.ProjectFlags |= pfInverseResults;

  AnalysisOutcome outcome;
  outcome.completed = true;
  outcome.warnings = std::move(state.warnings);
  return outcome;
}

}  // namespace kolma
