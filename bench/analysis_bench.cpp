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
#include "bench/long_faces_project.h"
#include "core/model/project.h"

namespace {

using kolma::Project;

// A year of hourly faces, 50 divisions, the largest harmonic count the options allow.
Project YearOfHourlyFaces() { return kolma::bench::LongFacesProject(1.0, 50, 4379, 8760); }

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
