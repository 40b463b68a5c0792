// Painting speed of a time chart holding a long history, offscreen at 1600 x 1000 pixels: ten
// years of hourly samples and 2^20 samples, the whole history in view and a zoomed view.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cmath>
#include <numbers>
#include <random>

#include "ui/widgets/chart_polylines.h"
#include "ui/widgets/rchart.h"

namespace {

using kolma::ui::TRChart;

// Annual and daily cycles with noise, one sample an hour, drawn as the program draws a history:
// one move followed by a line to every further sample.
void AddNoisyHistory(TRChart& chart, int samples) {
  constexpr double pi = std::numbers::pi;
  std::mt19937 rng(8760);
  std::normal_distribution<double> noise(0.0, 1.5);
  auto value = [&](int k) {
    return 10.0 + 12.0 * std::sin(2 * pi * k / 8760.0) + 5.0 * std::sin(2 * pi * k / 24.0) + noise(rng);
  };
  chart.AddMoveTo(0, value(0));
  for (int k = 1; k < samples; ++k) chart.AddLineTo(k, value(k));
}

enum View { kWhole, kZoomed };

// Whole: every sample in view. Zoomed: a sixteenth of the history around its middle, and the
// upper part of the temperatures. Every paint pans the view by a pixel or so, as a drag does.
void BM_PaintLongHistory(benchmark::State& state) {
  const int samples = int(state.range(0));
  const View view = View(state.range(1));
  TRChart chart;
  chart.resize(1600, 1000);
  chart.SetDecPlaceX(-2);
  chart.SetDecPlaceY(-2);
  chart.SetMinTickX(5);
  chart.SetIdAbscissa("Time (hour)");
  chart.SetIdOrdinate("Temperature (°C)");
  chart.SetDataColor(QColor(0, 0, 255));
  AddNoisyHistory(chart, samples);
  chart.ShowDrawing();
  const double loX = view == kWhole ? 0 : samples * (0.5 - 1.0 / 32), spanX = view == kWhole ? samples : samples / 16.0;
  const double loY = view == kWhole ? -15 : 5, hiY = view == kWhole ? 35 : 30;
  chart.SetRangeLoY(loY);
  chart.SetRangeHiY(hiY);
  int step = 0;
  for (auto _ : state) {
    const double shift = (step++ % 8) * spanX / 1600;
    chart.SetRangeLoX(loX + shift);
    chart.SetRangeHiX(loX + shift + spanX);
    QImage picture = chart.RenderPicture(false);
    benchmark::DoNotOptimize(picture.constBits());
  }
  state.SetLabel(view == kWhole ? "whole history" : "zoomed 1/16");
}
BENCHMARK(BM_PaintLongHistory)
    ->ArgsProduct({{87600, 1 << 20}, {kWhole, kZoomed}})
    ->Unit(benchmark::kMillisecond);

// The first paint after a history is handed over, which also sorts out its runs of lines.
void BM_FirstPaintOfNewHistory(benchmark::State& state) {
  const int samples = int(state.range(0));
  TRChart chart;
  chart.resize(1600, 1000);
  chart.SetRangeLoX(0);
  chart.SetRangeHiX(samples);
  chart.SetRangeLoY(-15);
  chart.SetRangeHiY(35);
  for (auto _ : state) {
    state.PauseTiming();
    chart.ClearDrawing();
    AddNoisyHistory(chart, samples);
    state.ResumeTiming();
    QImage picture = chart.RenderPicture(false);
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_FirstPaintOfNewHistory)->Arg(87600)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// Handing the history over, item by item, as a window does before its first paint (the runs of
// lines are kept up as the items come).
void BM_AddLongHistory(benchmark::State& state) {
  TRChart chart;
  for (auto _ : state) {
    chart.ClearDrawing();
    AddNoisyHistory(chart, int(state.range(0)));
    benchmark::DoNotOptimize(chart.Items().data());
  }
}
BENCHMARK(BM_AddLongHistory)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// The runs of lines and their vertices read from the items, as after a change other than an
// added item.
void BM_PolylineRunsOfNewHistory(benchmark::State& state) {
  TRChart chart;
  AddNoisyHistory(chart, int(state.range(0)));
  for (auto _ : state) {
    kolma::ui::TPolylineCache cache;
    benchmark::DoNotOptimize(cache.Runs(chart.Items()).data());
  }
}
BENCHMARK(BM_PolylineRunsOfNewHistory)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
