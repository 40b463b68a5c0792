// Building the surface of the 3-D view from a year of hourly steps: 515 columns of 11
// positions, one natural spline per column through the node temperatures. Timed for the
// default 11-node section and for a fine 51-node one.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/model/node_distribution.h"
#include "core/model/project.h"
#include "ui/results/plot3d_surface.h"

namespace {

// Annual and daily cycles reaching into the section with a lag and a damping.
void FillYearOfHourlySteps(kolma::Project& project, int divisions) {
  constexpr double pi = std::numbers::pi;
  constexpr int kSteps = 8760;
  kolma::TSectionProperties& s = project.SectionProperties;
  s.NbDivisions = divisions;
  kolma::ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio);
  kolma::TDirectResults& direct = project.DirectResults;
  direct.TimeStep = 1.0;
  direct.Temperatures = kolma::TMatrix(divisions + 1, kSteps);
  for (int k = 1; k <= kSteps; ++k)
    for (int i = 1; i <= divisions + 1; ++i) {
      const double depth = std::min(i - 1, divisions + 1 - i) * 5.0 / divisions;
      direct.Temperatures.SetElement(
          i, k, 10.0 + 12.0 * std::exp(-depth / 5) * std::sin(2 * pi * k / 8760.0 - depth / 5) +
                    5.0 * std::exp(-depth) * std::sin(2 * pi * k / 24.0 - depth));
    }
}

void BM_BuildYearSurface(benchmark::State& state) {
  kolma::Project project;
  FillYearOfHourlySteps(project, int(state.range(0)));
  for (auto _ : state) {
    kolma::ui::TTemperatureSurface surface =
        kolma::ui::BuildTemperatureSurface(project.SectionProperties, project.DirectResults);
    benchmark::DoNotOptimize(surface.grid.Data());
  }
}
BENCHMARK(BM_BuildYearSurface)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
