// Speed of the spreadsheet window on a year of hourly steps with 51 nodes (8760 x 52
// cells): opening it, switching the Data view, switching the Precision, and scrolling a
// page, each with the repaint that follows, offscreen.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QPixmap>
#include <QScrollBar>
#include <QTableView>
#include <cmath>
#include <numbers>

#include "core/model/project.h"
#include "ui/results/spreadsheet_dlg.h"

namespace {

using kolma::TSpreadsheetData;
using kolma::TSpreadsheetPrecision;
using kolma::ui::TSpreadsheetDlg;

// A 10 m section in 50 divisions, annual and daily waves damped into the section.
const kolma::Project& YearOfHourlySteps() {
  static const kolma::Project project = [] {
    constexpr double pi = std::numbers::pi;
    constexpr int nodes = 51;
    constexpr int steps = 8760;
    kolma::Project p;
    p.InitDefaults();
    p.SectionProperties.Xu = 0.0;
    p.SectionProperties.Xd = 10.0;
    p.SectionProperties.NbDivisions = nodes - 1;
    p.SectionProperties.Nodes.Resize(nodes);
    p.DirectResults.TimeStep = 1.0;
    p.DirectResults.Temperatures.Resize(nodes, steps);
    for (int c = 1; c <= nodes; ++c) {
      const double x = 10.0 * (c - 1) / (nodes - 1);
      p.SectionProperties.Nodes.SetElement(c, x);
      for (int k = 1; k <= steps; ++k) {
        const double t = k - 1.0;
        p.DirectResults.Temperatures.SetElement(
            c, k, 10.0 + 12.0 * std::exp(-x / 4) * std::sin(2 * pi * t / 8760) + 5.0 * std::exp(-x) * std::sin(2 * pi * t / 24));
      }
    }
    return p;
  }();
  return project;
}

// The whole window drawn, as the screen would show it.
void Paint(TSpreadsheetDlg& dialog) {
  const QPixmap picture = dialog.grab();
  benchmark::DoNotOptimize(picture.cacheKey());
}

void Show(TSpreadsheetDlg& dialog) {
  dialog.show();
  Paint(dialog);
}

void BM_OpenSpreadsheet(benchmark::State& state) {
  kolma::Project project = YearOfHourlySteps();
  for (auto _ : state) {
    TSpreadsheetDlg dialog(project, false);
    Show(dialog);
  }
}
BENCHMARK(BM_OpenSpreadsheet)->Unit(benchmark::kMillisecond);

// Every switch makes the table anew; only the cells shown are turned into text.
void BM_SwitchDataView(benchmark::State& state) {
  kolma::Project project = YearOfHourlySteps();
  TSpreadsheetDlg dialog(project, false);
  Show(dialog);
  bool stress = false;
  for (auto _ : state) {
    stress = !stress;
    dialog.DataAction(stress ? TSpreadsheetData::Stress : TSpreadsheetData::Nonlinear)->trigger();
    Paint(dialog);
  }
}
BENCHMARK(BM_SwitchDataView)->Unit(benchmark::kMillisecond);

void BM_SwitchPrecisionOfStresses(benchmark::State& state) {
  kolma::Project project = YearOfHourlySteps();
  TSpreadsheetDlg dialog(project, false);
  Show(dialog);
  dialog.DataAction(TSpreadsheetData::Stress)->trigger();
  bool five = false;
  for (auto _ : state) {
    five = !five;
    dialog.PrecisionAction(five ? TSpreadsheetPrecision::FiveDigits : TSpreadsheetPrecision::Exponential)->trigger();
    Paint(dialog);
  }
}
BENCHMARK(BM_SwitchPrecisionOfStresses)->Unit(benchmark::kMillisecond);

// A page down and its repaint: the view asks only for the cells it shows.
void BM_ScrollPage(benchmark::State& state) {
  kolma::Project project = YearOfHourlySteps();
  TSpreadsheetDlg dialog(project, false);
  Show(dialog);
  QScrollBar* bar = dialog.Grid()->View()->verticalScrollBar();
  for (auto _ : state) {
    const int next = bar->value() + bar->pageStep();
    bar->setValue(next > bar->maximum() ? 0 : next);
    Paint(dialog);
  }
}
BENCHMARK(BM_ScrollPage)->Unit(benchmark::kMicrosecond);

}  // namespace
