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

// The slots whose values the run reads: the pair, and with a regression or polynomial
// mean profile every other occupied slot as well.
std::vector<int> SlotsRead(const Project& project) {
  std::vector<int> slots{project.InversePair.First, project.InversePair.Second};
  if (project.AnalysisOptions.AveragingCorrection != 0)
    for (int slot = 1; slot <= kThermometerSlots; ++slot)
      if (slot != slots[0] && slot != slots[1] && IsThermometerOccupied(project.Thermometer(slot)))
        slots.push_back(slot);
  return slots;
}

// Refusals come first so that nothing is computed on inputs that cannot give a result.
// Values are checked for being numbers before they are compared, so that the warning
// names what is wrong.
std::optional<std::string> Refusal(const Project& project, double timeStep) {
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
  const std::vector<int> slots = SlotsRead(project);
  for (int slot : slots)
    if (auto r = CheckThermometerPosition(project, slot)) return r;
  for (int slot : slots)
    if (auto r = CheckSamples(ThermometerName(project, slot), project.Thermometer(slot).Values)) return r;
  if (first.Position == second.Position) return kInversePairAtOnePosition;
  const std::int64_t steps = RoundHalfEven(first.Values.NrOfElem() * first.TimeStep / timeStep);
  if (steps < 1) return kInverseRecordTooShort;
  if (auto r = CheckResultSize(2, steps)) return r;  // the two face histories
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

}  // namespace

AnalysisOutcome RunInverseAnalysis(Project& project, double timeStep, const ProgressCallback& progress) {
  if (const std::optional<std::string> reason = Refusal(project, timeStep)) {
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

  // Time means across the section.
  std::vector<double> meanProfile =
      FitMeanProfile(project.AnalysisOptions.AveragingCorrection, MeanPoints(project, pair));
  const double upstreamMean = MeanProfileAt(meanProfile, 0.0);
  const double downstreamMean = MeanProfileAt(meanProfile, thickness);

  RunState state;
  const double xaFromUp = pair.a->Position - section.Xu, xbFromUp = pair.b->Position - section.Xu;
  const double xaFromDown = section.Xd - pair.a->Position, xbFromDown = section.Xd - pair.b->Position;

  std::vector<FaceHarmonic> upstreamHarmonics;
  const PassGeometry fromUpstream{xaFromUp, xbFromUp, kCosineA, kSineA, kCosineB, kSineB,
                                  floorA,   floorB,   &fourierA, &fourierB, fundamentalPeriod};
  if (!SolvePass(table, count, section.Diffusivity, fromUpstream, state, progress, 0, kUpstreamSolved,
                 upstreamHarmonics))
    return Stopped(state);
  // The upstream face is built before the downstream systems are looked at: a problem
  // found only from the downstream side does not take periods away from this face.
  const std::vector<double> upstream =
      SynthesiseFace(upstreamHarmonics, state.discardFrequency, fundamentalPeriod, timeStep, steps);
  if (progress && !progress(kUpstreamDone)) return Stopped(state);

  std::vector<FaceHarmonic> downstreamHarmonics;
  const PassGeometry fromDownstream{xbFromDown, xaFromDown, kCosineB, kSineB, kCosineA, kSineA,
                                    floorB,     floorA,     &fourierB, &fourierA, fundamentalPeriod};
  if (!SolvePass(table, count, section.Diffusivity, fromDownstream, state, progress, kUpstreamDone,
                 kDownstreamSolved, downstreamHarmonics))
    return Stopped(state);
  const std::vector<double> downstream =
      SynthesiseFace(downstreamHarmonics, state.discardFrequency, fundamentalPeriod, timeStep, steps);
  if (progress && !progress(kProgressMax)) return Stopped(state);

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
  project.DirectResults.TimeStep = timeStep;
  project.InverseHarmonics = std::move(harmonics);
  project.ProjectFlags |= pfInverseResults;

  AnalysisOutcome outcome;
  outcome.completed = true;
  outcome.warnings = std::move(state.warnings);
  return outcome;
}

}  // namespace kolma
