#include "core/analysis/direct_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/analysis/face_alignment.h"
#include "core/analysis/harmonic_decomposition.h"
#include "core/analysis/harmonic_synthesis.h"
#include "core/analysis/input_checks.h"
#include "core/analysis/slab_response.h"
#include "core/analysis/summed_field.h"
#include "core/model/node_distribution.h"
#include "core/model/project.h"
#include "core/numeric/errors.h"

namespace kolma {

namespace {

using Complex = std::complex<double>;

constexpr const char* kBadAnalysisStep = "The analysis time step must be a positive number of hours. Analysis aborted.";
constexpr const char* kBadFaceStep = "The time step of the face temperatures must be positive. Analysis aborted.";
constexpr const char* kBadSection = "The downstream face must lie beyond the upstream face (Xd > Xu). Analysis aborted.";
constexpr const char* kBadDiffusivity = "The thermal diffusivity must be positive. Analysis aborted.";
constexpr const char* kNoNodes = "The section nodes have not been computed. Analysis aborted.";
constexpr const char* kNoSection = "The section must be defined before a direct analysis. Analysis aborted.";
constexpr const char* kNoUserFaces =
    "The temperatures of both faces must be defined before a direct analysis. Analysis aborted.";
constexpr const char* kNoInverseFaces =
    "There are no face temperatures from an inverse analysis. Analysis aborted.";
constexpr const char* kTooShort =
    "The face temperature histories are shorter than half an analysis time step. Analysis aborted.";
// The message of the transform for a length it cannot take.
constexpr const char* kNotPowerOfTwo = "FFT data length must be power of 2";

bool Positive(double v) { return std::isfinite(v) && v > 0.0; }

struct Faces {
  const TVector* upstream;
  const TVector* downstream;
  double upstreamStep;
  double downstreamStep;
};

Faces ChooseFaces(const Project& project, bool useInverseFaces) {
  if (useInverseFaces) {
    const TInverseResults& r = project.InverseResults;
    return {&r.UpstreamTemperatures, &r.DownstreamTemperatures, r.TimeStep, r.TimeStep};
  }
  return {&project.UpstreamHistory.Values, &project.DownstreamHistory.Values, project.UpstreamHistory.TimeStep,
          project.DownstreamHistory.TimeStep};
}

// The number of analysis steps, or 0 for a refused run (the reason in `warning`). Values
// are checked for being numbers before they are compared, so that the warning names what
// is wrong.
std::int64_t CheckInputs(const Project& project, const DirectAnalysisRequest& request, const Faces& faces,
                         std::string& warning) {
  const TSectionProperties& s = project.SectionProperties;
  const int n = faces.upstream->NrOfElem();
  const std::optional<std::string> refusal = [&]() -> std::optional<std::string> {
    const bool facesDefined = request.useInverseFaces ? project.HasFlag(pfInverseResults)
                                                      : project.HasFlag(pfUpstream) && project.HasFlag(pfDownstream);
    if (!facesDefined) return request.useInverseFaces ? kNoInverseFaces : kNoUserFaces;
    // As in the window, the user's faces take a defined section.
    if (!request.useInverseFaces && !project.HasFlag(pfSection)) return kNoSection;
    if (auto r = CheckValue("Analysis time step", request.timeStep)) return r;
    if (!Positive(request.timeStep)) return kBadAnalysisStep;
    if (auto r = CheckValue("Upstream face time step", faces.upstreamStep)) return r;
    if (auto r = CheckValue("Downstream face time step", faces.downstreamStep)) return r;
    if (n != faces.downstream->NrOfElem() || faces.upstreamStep != faces.downstreamStep)
      return FacesMismatchText({n, faces.upstreamStep}, {faces.downstream->NrOfElem(), faces.downstreamStep});
    if (!Positive(faces.upstreamStep)) return kBadFaceStep;
    if (auto r = CheckSection(project, true)) return r;
    if (!(s.Xu < s.Xd)) return kBadSection;
    if (!Positive(s.Diffusivity)) return kBadDiffusivity;
    if (s.Nodes.NrOfElem() < s.NbDivisions + 1) {
      const std::string why = NodeDistributionProblem(s.NbDivisions, s.Xu, s.Xd, s.Ratio);
      return why.empty() ? std::string(kNoNodes) : why + " Analysis aborted.";
    }
    if (auto r = CheckSamples("Upstream face", *faces.upstream)) return r;
    if (auto r = CheckSamples("Downstream face", *faces.downstream)) return r;
    for (int slot = 1; slot <= kThermometerSlots; ++slot)
      if (IsThermometerOccupied(project.Thermometer(slot)))
        if (auto r = CheckThermometerPosition(project, slot)) return r;
    return std::nullopt;
  }();
  if (refusal) {
    warning = *refusal;
    return 0;
  }
  const std::int64_t steps = RoundHalfEven(n * faces.upstreamStep / request.timeStep);
  if (steps <= 0) {
    warning = kTooShort;
    return 0;
  }
  if (auto r = CheckResultSize(s.NbDivisions + 1 + CountOccupiedThermometers(project), steps)) {
    warning = *r;
    return 0;
  }
  return steps;
}

// The padded, re-sampled face records, transformed, with what the synthesis needs of them.
struct FaceSpectra {
  TFastFourier upstream;    // the "water" face
  TFastFourier downstream;  // the "air" face
  double meanUpstream = 0.0, meanDownstream = 0.0;
  double resampledStep = 0.0;     // hours between two re-sampled samples
  double fundamentalPeriod = 0.0; // padded duration: every frequency is a multiple of its inverse
};

TVector PaddedRecord(const TVector& history, std::int32_t padding) {
  if (padding <= 0) return history;
  TVector record;
  if (!PadHistory(history, record, padding)) throw EVectorError(kNotEnoughMemory);
  return record;
}

void DecomposeFaces(const Project& project, const Faces& faces, FaceSpectra& spectra) {
  const int n = faces.downstream->NrOfElem();
  const double dt = faces.downstreamStep;
  const std::int32_t padding = std::max(PaddingSamples(project, dt), std::int32_t{0});
  // Beyond 2^23 samples no re-sampling exists; fail before allocating the padded records.
  if (static_cast<std::int64_t>(n) + padding > TFastFourier::kMaxSize) throw EFourierError(kNotPowerOfTwo);
  TVector down = PaddedRecord(*faces.downstream, padding);
  TVector up = PaddedRecord(*faces.upstream, padding);
  ResampleToPowerOfTwo(down);
  ResampleToPowerOfTwo(up);
  const int count = down.NrOfElem();
  double variance = 0.0;
  down.MeanAndVariance(1, count, spectra.meanDownstream, variance);
  up.MeanAndVariance(1, count, spectra.meanUpstream, variance);
  spectra.fundamentalPeriod = (static_cast<double>(n) + padding) * dt;
  spectra.resampledStep = spectra.fundamentalPeriod / count;
  TransformHistory(spectra.downstream, down);
  TransformHistory(spectra.upstream, up);
}

// One retained harmonic of non-zero frequency, as the synthesis uses it.
struct FaceHarmonic {
  std::int64_t bin;
  double waveNumber;     // k of the slab response (1/m)
  Complex upstream;      // a - i b of the upstream face
  Complex downstream;    // a - i b of the downstream face
};

// The positions the analysis computes: the section nodes, then the occupied thermometers.
TVector AnalysisPoints(const Project& project, int& thermometers) {
  const TSectionProperties& s = project.SectionProperties;
  TVector points = s.Nodes;
  std::vector<double> positions;
  for (const TTemperatureInside& slot : project.Thermometers)
    if (IsThermometerOccupied(slot)) positions.push_back(slot.Position);
  thermometers = static_cast<int>(positions.size());
  if (thermometers > 0) {
    points.Resize(s.NbDivisions + 1 + thermometers);
    for (int j = 1; j <= thermometers; ++j)
      points.SetElement(s.NbDivisions + 1 + j, positions[static_cast<size_t>(j - 1)]);
  }
  return points;
}

double MeanProfileAt(const std::vector<double>& coefficients, double distance) {
  double p = 0.0;
  for (auto c = coefficients.rbegin(); c != coefficients.rend(); ++c) p = p * distance + *c;
  return p;
}

// Shifts a column so that its time mean becomes `mean`.
void SetColumnMean(double* column, std::ptrdiff_t stride, std::int64_t rows, double mean) {
  double sum = 0.0;
  for (std::int64_t t = 0; t < rows; ++t) sum += column[t * stride];
  const double shift = mean - sum / static_cast<double>(rows);
  for (std::int64_t t = 0; t < rows; ++t) column[t * stride] += shift;
}

// What the sums need, once the inputs are checked and the harmonics chosen.
struct PreparedSynthesis {
  THarmonicSet harmonics;
  std::vector<FaceHarmonic> retained;
  std::vector<std::int64_t> bins;  // of the retained harmonics, in their order
  TVector points;                  // the section nodes, then the occupied thermometers
  int nodes = 0, thermometers = 0;
  std::int64_t steps = 0;
  double timeStep = 0.0, fundamentalPeriod = 0.0;
  std::vector<double> steady;      // of every point: the faces' means as a straight line
  bool meanCorrection = false;     // the means come from the inverse analysis's profile

  int Points() const { return nodes + thermometers; }
};

// Everything before the sums. A refusal or a stop is said in outcome, and nothing returned.
std::optional<PreparedSynthesis> Prepare(const Project& project, const DirectAnalysisRequest& request,
                                         const std::function<bool(int)>& report, AnalysisOutcome& outcome) {
  Faces faces = ChooseFaces(project, request.useInverseFaces);
  // Faces on two grids that cover the same time: the coarser one joins the finer grid.
  std::optional<AlignedFace> aligned;
  if (!request.useInverseFaces)
    aligned = AlignFaces(*faces.upstream, faces.upstreamStep, *faces.downstream, faces.downstreamStep);
  if (aligned) {
    (aligned->upstream ? faces.upstream : faces.downstream) = &aligned->values;
    (aligned->upstream ? faces.upstreamStep : faces.downstreamStep) = aligned->timeStep;
  }
  std::string warning;
  const std::int64_t steps = CheckInputs(project, request, faces, warning);
  if (steps == 0) {
    outcome.warnings.push_back(warning);
    return std::nullopt;
  }
  // Said before the transform would refuse the length with its own terse message.
  if (std::string padding = PaddingTooLong(project, faces.downstream->NrOfElem(), faces.downstreamStep);
      !padding.empty()) {
    outcome.warnings.push_back(std::move(padding));
    return std::nullopt;
  }
  if (aligned) outcome.notes.push_back(aligned->note);
  if (!report(0)) {
    outcome.stopped = true;
    return std::nullopt;
  }

  const TSectionProperties& s = project.SectionProperties;
  FaceSpectra spectra;
  DecomposeFaces(project, faces, spectra);
  PreparedSynthesis prepared;
  prepared.harmonics = project.DirectHarmonics;
  const TMatrix table = ChoisirHarmoniquesDirect(spectra.upstream, spectra.downstream,
                                                 prepared.harmonics.MinHarmonics, spectra.resampledStep,
                                                 prepared.harmonics);

  // The mean of the faces enters as the steady linear profile; the zero-frequency row has
  // no periodic response, and with the polynomial correction the means come from the
  // inverse analysis's profile instead.
  prepared.meanCorrection =
      project.AnalysisOptions.AveragingCorrection == 2 && project.HasFlag(pfInverseResults);
  double meanUp = spectra.meanUpstream, meanDown = spectra.meanDownstream;
  const double count = spectra.upstream.SpectrumSize();
  for (int r = 1; r <= prepared.harmonics.HarmonicCount; ++r) {
    const double f = table.Element(1, r);
    if (f == 0.0) {
      if (prepared.meanCorrection) meanUp = meanDown = 0.0;
      continue;
    }
    const std::int64_t bin = RoundHalfEven(f * count * spectra.resampledStep);
    prepared.retained.push_back({bin, SlabWaveNumber(1.0 / f, s.Diffusivity),
                                 Complex(table.Element(2, r), -table.Element(3, r)),
                                 Complex(table.Element(4, r), -table.Element(5, r))});
    prepared.bins.push_back(bin);
  }
  prepared.points = AnalysisPoints(project, prepared.thermometers);
  prepared.nodes = s.NbDivisions + 1;
  prepared.steps = steps;
  prepared.timeStep = request.timeStep;
  prepared.fundamentalPeriod = spectra.fundamentalPeriod;
  for (int i = 1; i <= prepared.Points(); ++i) {
    const double x = prepared.points.Element(i);
    prepared.steady.push_back(meanUp + (x - s.Xu) * (meanDown - meanUp) / (s.Xd - s.Xu));
  }
  return prepared;
}

// The synthesis's coefficients of point p (0-based): the response of the slab at its
// position to every retained harmonic of the faces.
THarmonicSynthesis::TCoefficients PointCoefficients(const PreparedSynthesis& prepared,
                                                    const TSectionProperties& s) {
  return [&prepared, &s](size_t point, Complex* c) {
    const double x = prepared.points.Element(static_cast<int>(point) + 1);
    for (size_t h = 0; h < prepared.retained.size(); ++h) {
      const FaceHarmonic& harmonic = prepared.retained[h];
      const SlabTransfer transfer =
          SlabHarmonicTransfer(harmonic.waveNumber * (x - s.Xu), harmonic.waveNumber * (s.Xd - x));
      c[h] = harmonic.upstream * transfer.fromUpstream + harmonic.downstream * transfer.fromDownstream;
    }
  };
}

THarmonicSynthesis Synthesis(const PreparedSynthesis& prepared) {
  return THarmonicSynthesis(prepared.bins, prepared.steps, prepared.timeStep, prepared.fundamentalPeriod,
                            prepared.Points());
}

// Every point's steady profile first, then the harmonics of all points in one sum, by the
// cheaper of the two roads for this record; the results go into the project.
AnalysisOutcome SumAndStore(Project& project, PreparedSynthesis& prepared, const std::function<bool(int)>& report,
                            AnalysisOutcome outcome) {
  const TSectionProperties& s = project.SectionProperties;
  const int nodes = prepared.nodes, thermometers = prepared.thermometers, total = prepared.Points();
  const int rows = static_cast<int>(prepared.steps);
  TMatrix temperatures(nodes, rows);
  TMatrix thermometerTemperatures(std::max(thermometers, 1), rows);
  std::vector<TSynthesisTarget> targets;
  for (int i = 1; i <= total; ++i) {
    const bool isNode = i <= nodes;
    TMatrix& target = isNode ? temperatures : thermometerTemperatures;
    targets.push_back({target.Data() + (isNode ? i - 1 : i - nodes - 1), target.NrOfColumns()});
  }
  // Row after row, as the matrices are laid out.
  for (int t = 0; t < rows; ++t)
    for (size_t i = 0; i < targets.size(); ++i) targets[i].values[t * targets[i].stride] = prepared.steady[i];
  THarmonicSynthesis synthesis = Synthesis(prepared);
  int shown = 0;
  const bool summed = synthesis.Add(PointCoefficients(prepared, s), targets, [&](double fraction) {
    // The sum reports often; the caller hears of each new position once.
    const int position = static_cast<int>(RoundHalfEven(static_cast<double>(kProgressMax) * fraction));
    if (position == shown && position < kProgressMax) return true;
    shown = position;
    return report(position);
  });
  if (!summed) {
    outcome.stopped = true;
    return outcome;
  }
  if (prepared.meanCorrection) {
    for (int i = 1; i <= total; ++i)
      SetColumnMean(targets[static_cast<size_t>(i - 1)].values, targets[static_cast<size_t>(i - 1)].stride, rows,
                    MeanProfileAt(project.InverseResults.MeanProfile, prepared.points.Element(i) - s.Xu));
  }

  // Values beyond what the inputs were checked for can still overflow the hyperbolic
  // functions of a thick section: such results are never written.
  if (!AllFinite(temperatures.Data(), static_cast<size_t>(nodes) * rows) ||
      (thermometers > 0 && !AllFinite(thermometerTemperatures.Data(), static_cast<size_t>(thermometers) * rows))) {
    outcome.warnings.push_back(kResultNotFinite);
    return outcome;
  }

  // Everything is computed: hand it over in one go, so that a stop or an error on the
  // way leaves the previous results whole.
  TDirectResults& results = project.DirectResults;
  results.TimeStep = prepared.timeStep;
  results.Temperatures = std::move(temperatures);
  if (thermometers > 0) {
    results.ThermometerTemperatures = std::move(thermometerTemperatures);
    project.SectionProperties.Nodes = std::move(prepared.points);
  }
  project.DirectHarmonics = std::move(prepared.harmonics);
  project.ProjectFlags |= pfDirectResults;
  outcome.completed = true;
  return outcome;
}

// True when no sum of a node can leave the finite numbers: each term is at most
// (|re| + |im|) in size, whatever its phase.
bool SumsStayFinite(const std::vector<Complex>& coefficients, const std::vector<double>& steady, size_t terms) {
  constexpr double kSafe = 1e300;
  for (size_t p = 0; p < steady.size(); ++p) {
    double bound = std::abs(steady[p]);
    for (size_t h = 0; h < terms; ++h)
      bound += std::abs(coefficients[p * terms + h].real()) + std::abs(coefficients[p * terms + h].imag());
    if (!(bound < kSafe)) return false;
  }
  return true;
}

}  // namespace

AnalysisOutcome RunDirectAnalysis(Project& project, const DirectAnalysisRequest& request,
                                  const ProgressCallback& progress) {
  AnalysisOutcome outcome;
  const std::function<bool(int)> report = [&](int position) { return !progress || progress(position); };
  std::optional<PreparedSynthesis> prepared = Prepare(project, request, report, outcome);
  if (!prepared) return outcome;
  return SumAndStore(project, *prepared, report, std::move(outcome));
}

AnalysisOutcome RunDirectAnalysisForExport(Project& project, const DirectAnalysisRequest& request,
                                           std::unique_ptr<TSummedField>& field) {
  field.reset();
  AnalysisOutcome outcome;
  const std::function<bool(int)> report = [](int) { return true; };
  std::optional<PreparedSynthesis> prepared = Prepare(project, request, report, outcome);
  if (!prepared) return outcome;
  // The window at a time needs the direct road, each step's values alone, and sums known to
  // stay finite before any is written.
  if (prepared->meanCorrection ||
      THarmonicSynthesis::CheaperRoad(prepared->bins, prepared->steps, prepared->Points()) != TSynthesisRoad::Direct)
    return SumAndStore(project, *prepared, report, std::move(outcome));
  const size_t nodes = static_cast<size_t>(prepared->nodes);
  const size_t terms = prepared->bins.size();
  std::vector<Complex> coefficients(nodes * terms);
  const auto coefficientsOf = PointCoefficients(*prepared, project.SectionProperties);
  for (size_t p = 0; p < nodes; ++p) coefficientsOf(p, coefficients.data() + p * terms);
  std::vector<double> steady(prepared->steady.begin(), prepared->steady.begin() + prepared->nodes);
  if (!SumsStayFinite(coefficients, steady, terms)) return SumAndStore(project, *prepared, report, std::move(outcome));
  THarmonicSynthesis synthesis = Synthesis(*prepared);
  synthesis.Keep([&](size_t p, Complex* c) { std::copy_n(coefficients.data() + p * terms, terms, c); }, nodes);
  field = std::make_unique<TSummedField>(std::move(synthesis), std::move(steady), static_cast<int>(prepared->steps),
                                         prepared->timeStep, prepared->harmonics.HarmonicCount);
  outcome.completed = true;
  return outcome;
}

}  // namespace kolma
