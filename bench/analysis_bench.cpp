// Direct and inverse analysis speed on a year of hourly temperatures, and the summation
// step alone.
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include "core/analysis/direct_analysis.h"
#include "core/analysis/harmonic_synthesis.h"
#include "core/analysis/inverse_analysis.h"
#include "core/model/node_distribution.h"
#include "core/model/project.h"

namespace {

using kolma::Project;

// 10 m section, 50 divisions, diffusivity 0.004 m²/h, automatic padding, the largest
// harmonic count the options allow; faces of annual and daily cycles with noise; ten
// thermometers between the faces.
Project YearOfHourlyFaces() {
  constexpr double pi = std::numbers::pi;
  Project p;
  kolma::TSectionProperties& s = p.SectionProperties;
  s.Xu = 0.0;
  s.Xd = 10.0;
  s.NbDivisions = 50;
  s.Diffusivity = 0.004;
  kolma::ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio);
  p.SetMinHarmonics(4379);
  p.AnalysisOptions.PaddingMode = 0;
  std::mt19937 rng(2024);
  std::normal_distribution<double> noise(0.0, 0.8);
  const int n = 8760;
  p.UpstreamHistory = {kolma::TVector(n), 1.0};
  p.DownstreamHistory = {kolma::TVector(n), 1.0};
  for (int j = 1; j <= n; ++j) {
    const double t = j - 1.0;
    const double year = std::cos(2 * pi * (t - 4500) / 8760), day = std::cos(2 * pi * (t - 15) / 24);
    p.UpstreamHistory.Values.SetElement(j, 9 + 5 * year + 0.5 * day + 0.3 * noise(rng));
    p.DownstreamHistory.Values.SetElement(j, 11 + 12 * year + 6 * day + noise(rng));
  }
  for (int slot = 1; slot <= kolma::kThermometerSlots; ++slot) {
    kolma::TTemperatureInside& t = p.Thermometer(slot);
    t.Position = 0.9 * slot - 0.15;
    t.Values = kolma::TVector(n);
    t.TimeStep = 1.0;
  }
  p.ProjectFlags = kolma::pfSection | kolma::pfUpstream | kolma::pfDownstream;
  return p;
}

void BM_DirectAnalysisHourlyYear(benchmark::State& state) {
  Project project = YearOfHourlyFaces();
  for (auto _ : state) {
    const kolma::AnalysisOutcome outcome = kolma::RunDirectAnalysis(project, {1.0, false});
    if (!outcome.completed) state.SkipWithError("analysis refused");
    benchmark::DoNotOptimize(project.DirectResults.Temperatures.Data());
  }
  state.counters["harmonics"] = project.DirectHarmonics.HarmonicCount;
  state.counters["steps"] = project.DirectResults.Temperatures.NrOfRows();
}

// The same year seen by the ten thermometers (the direct analysis's values at their
// positions), worked back from the third and the eighth.
void BM_InverseAnalysisHourlyYear(benchmark::State& state) {
  Project project = YearOfHourlyFaces();
  if (!kolma::RunDirectAnalysis(project, {1.0, false}).completed) state.SkipWithError("direct analysis refused");
  for (int slot = 1; slot <= kolma::kThermometerSlots; ++slot)
    project.DirectResults.ThermometerTemperatures.CopyColumnTo(project.Thermometer(slot).Values, slot, 1, 8760);
  project.InversePair = {3, 8};
  project.ProjectFlags |= kolma::pfInversePair;
  for (auto _ : state) {
    const kolma::AnalysisOutcome outcome = kolma::RunInverseAnalysis(project, 1.0);
    if (!outcome.completed) state.SkipWithError("analysis refused");
    benchmark::DoNotOptimize(project.InverseResults.UpstreamTemperatures.Data());
  }
  state.counters["harmonics"] = project.InverseHarmonics.HarmonicCount;
}

// One point's sum over the bins of a 2^15-sample padded year at 8760 hourly steps.
void BM_HarmonicSumPerPoint(benchmark::State& state) {
  const std::int64_t bins = state.range(0), steps = 8760;
  kolma::THarmonicSumPlan plan(bins, steps, 1.0, 25260.0);
  std::mt19937 rng(7);
  std::normal_distribution<double> normal;
  std::vector<std::complex<double>> c(static_cast<size_t>(bins));
  for (auto& x : c) x = {normal(rng), normal(rng)};
  std::vector<double> out(static_cast<size_t>(steps));
  for (auto _ : state) {
    plan.Add(c.data(), out.data());
    benchmark::DoNotOptimize(out.data());
  }
}

}  // namespace

BENCHMARK(BM_DirectAnalysisHourlyYear)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InverseAnalysisHourlyYear)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HarmonicSumPerPoint)->Arg(1024)->Arg(16384)->Unit(benchmark::kMicrosecond);
