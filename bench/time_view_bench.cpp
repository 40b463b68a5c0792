// Redrawing the time-history view: a year of hourly steps at a node of a 51-node section,
// with the one-year average curve and its bands, offscreen in a window of its own size.
// One redraw computes the curve and its moving statistics, hands the four polylines to the
// chart and paints it. The executable's main (in chart_bench.cpp) starts the application.
#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <QImage>
#include <cmath>
#include <numbers>

#include "core/model/node_distribution.h"
#include "core/model/project.h"
#include "ui/results/profile_step_bar.h"
#include "ui/results/temp_section_dlg.h"
#include "ui/results/temp_time_dlg.h"
#include "ui/widgets/rchart.h"

namespace {

using kolma::ui::TTempSectionDlg;
using kolma::ui::TTempTimeDlg;

// Annual and daily cycles reaching into the section with a lag and a damping.
void FillYearOfHourlySteps(kolma::Project& project) {
  constexpr double pi = std::numbers::pi;
  constexpr int kSteps = 8760;
  kolma::TSectionProperties& s = project.SectionProperties;
  s.NbDivisions = 50;
  kolma::ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio);
  kolma::TDirectResults& direct = project.DirectResults;
  direct.TimeStep = 1.0;
  direct.Temperatures = kolma::TMatrix(s.NbDivisions + 1, kSteps);
  for (int k = 1; k <= kSteps; ++k)
    for (int i = 1; i <= s.NbDivisions + 1; ++i) {
      const double depth = std::min(i - 1, s.NbDivisions + 1 - i) / 10.0;
      direct.Temperatures.SetElement(
          i, k, 10.0 + 12.0 * std::exp(-depth) * std::sin(2 * pi * k / 8760.0 - depth) +
                    5.0 * std::exp(-4 * depth) * std::sin(2 * pi * k / 24.0 - 4 * depth));
    }
  project.ProjectFlags |= kolma::pfDirectResults;
}

// Curve 0: the temperature field; 3: the stresses, which also decompose every step.
void BM_RedrawYearWithOneYearAverage(benchmark::State& state) {
  kolma::Project project;
  project.InitDefaults();
  FillYearOfHourlySteps(project);
  TTempSectionDlg dialog(project, 0);
  dialog.show();
  dialog.findChild<QComboBox*>(QStringLiteral("ComboPosition"))->setCurrentIndex(5);
  dialog.findChild<QComboBox*>(QStringLiteral("ComboCurve"))->setCurrentIndex(int(state.range(0)));
  dialog.findChild<QComboBox*>(QStringLiteral("ComboAverage"))->setCurrentIndex(4);  // "1-year cycle"
  for (auto _ : state) {
    dialog.Redraw();
    QImage picture = dialog.Chart()->RenderPicture(false);
    benchmark::DoNotOptimize(picture.constBits());
  }
  state.SetLabel(state.range(0) == 0 ? "temperature" : "stresses");
}
BENCHMARK(BM_RedrawYearWithOneYearAverage)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

// The profile view while its track bar is dragged: one step further, with the mean and the
// equivalent straight line on, drawn and painted.
void BM_ProfileStepWhileDragging(benchmark::State& state) {
  kolma::Project project;
  project.InitDefaults();
  FillYearOfHourlySteps(project);
  TTempTimeDlg dialog(project);
  dialog.show();
  dialog.findChild<QCheckBox*>()->setChecked(true);  // "Resolve Temperature field"
  QSlider* bar = dialog.StepBar()->TrackBar();
  int step = 1;
  for (auto _ : state) {
    step = step % 8760 + 1;
    bar->setValue(step);
    QImage picture = dialog.Chart()->RenderPicture(false);
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_ProfileStepWhileDragging)->Unit(benchmark::kMillisecond);

}  // namespace
