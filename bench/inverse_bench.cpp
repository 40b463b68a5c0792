// The inverse analysis of a year of hourly records at four thermometers (1, 2.5, 6 and
// 8.5 m in a 10 m section) at the largest harmonic count: the pair method, the least-squares
// method over all four, and the record checks that run before either.
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

#include "core/analysis/inverse_analysis.h"
#include "core/analysis/inverse_least_squares.h"
#include "core/analysis/record_checks.h"
#include "core/model/node_distribution.h"
#include "core/model/project.h"

namespace {

using kolma::Complex;
using kolma::Project;

// Records of the periodic field of faces with annual, weekly and daily cycles and a few
// days of weather, plus 0.05 °C of noise.
Project FourThermometers() {
  constexpr double pi = std::numbers::pi, thickness = 10.0, diffusivity = 0.004;
  constexpr int n = 8760;
  Project p;
  kolma::TSectionProperties& s = p.SectionProperties;
  s.Xu = 0.0;
  s.Xd = thickness;
  s.Diffusivity = diffusivity;
  kolma::ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio);
  p.SetMinHarmonics(4379);
  struct Wave {
    double period;
    Complex up, down;
  } waves[] = {{8760.0, {6.0, 2.0}, {11.0, -3.0}}, {24.0, {0.4, 0.1}, {5.0, 2.0}}, {168.0, {0.8, 0.3}, {2.5, -1.0}},
               {97.0, {0.5, -0.4}, {2.0, 1.5}},   {61.0, {0.3, 0.2}, {1.5, -0.5}}};
  std::mt19937 rng(17);
  std::normal_distribution<double> noise(0.0, 0.05);
  const double positions[] = {1.0, 2.5, 6.0, 8.5};
  for (int slot = 1; slot <= 4; ++slot) {
    kolma::TTemperatureInside& t = p.Thermometer(slot);
    t.Position = positions[slot - 1];
    t.TimeStep = 1.0;
    t.Values = kolma::TVector(n);
    Complex at[std::size(waves)];
    for (size_t w = 0; w < std::size(waves); ++w) {
      Complex fromUp, fromDown;
      kolma::FaceTransfer(std::sqrt(pi / waves[w].period / diffusivity), thickness, t.Position, fromUp, fromDown);
      at[w] = waves[w].up * fromUp + waves[w].down * fromDown;
    }
    for (int j = 1; j <= n; ++j) {
      double v = 10.0 + 0.2 * t.Position + noise(rng);
      for (size_t w = 0; w < std::size(waves); ++w) v += (at[w] * std::polar(1.0, 2 * pi * (j - 1) / waves[w].period)).real();
      t.Values.SetElement(j, v);
    }
  }
  p.InversePair = {1, 4};
  p.ProjectFlags = kolma::pfSection | kolma::pfInversePair;
  return p;
}

void BM_InverseMethod(benchmark::State& state) {
  Project project = FourThermometers();
  const auto method = static_cast<kolma::TInverseMethod>(state.range(0));
  for (auto _ : state) {
    const kolma::AnalysisOutcome outcome = kolma::RunInverseAnalysis(project, 1.0, method);
    if (!outcome.completed) state.SkipWithError("analysis refused");
    benchmark::DoNotOptimize(project.InverseResults.UpstreamTemperatures.Data());
  }
  state.counters["harmonics"] = project.InverseHarmonics.HarmonicCount;
}

void BM_InverseRecordChecks(benchmark::State& state) {
  const Project project = FourThermometers();
  for (auto _ : state) benchmark::DoNotOptimize(kolma::InverseRecordFaults(project, kolma::kInverseLeastSquaresMethod));
}

}  // namespace

BENCHMARK(BM_InverseMethod)
    ->Arg(kolma::kInversePairMethod)
    ->Arg(kolma::kInverseLeastSquaresMethod)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_InverseRecordChecks)->Unit(benchmark::kMillisecond);
