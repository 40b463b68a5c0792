// Speed of the 3-D surface plot with the surface of a year of hourly steps (515 time columns x
// 11 positions): one paint at 700 x 450 pixels, as each step of a mouse rotation needs, and
// the writing of the picture as a .wmf file.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <cmath>
#include <numbers>

#include "ui/widgets/plot3d.h"

namespace {

using kolma::ui::TPlot3D;

// An annual wave entering the section from both faces, damped and delayed toward the middle,
// with the daily ripple near the faces.
void FillYearSurface(TPlot3D& plot) {
  constexpr int columns = 515, rows = 11;
  constexpr double pi = std::numbers::pi;
  kolma::TMatrix& grid = plot.SurfaceGrid();
  grid.Resize(columns, rows);
  double* values = grid.Data();
  for (int r = 1; r <= rows; ++r) {
    const double depth = std::min(r - 1, rows - r) / 5.0;  // 0 at the faces, 1 in the middle
    for (int c = 1; c <= columns; ++c) {
      const double hours = (c - 1) * 17.0;
      values[(r - 1) * columns + (c - 1)] = 10 + 12 * std::exp(-depth) * std::sin(2 * pi * hours / 8760 - depth) +
                                             3 * std::exp(-6 * depth) * std::sin(2 * pi * hours / 24);
    }
  }
  plot.SetRangeXLow(0);
  plot.SetRangeXHigh(8759);
  plot.SetRangeYLow(0);
  plot.SetRangeYHigh(12);
  plot.SetRangeZLow(-5);
  plot.SetRangeZHigh(25);
  plot.SetColorScaleLow(-5);
  plot.SetColorScaleHigh(25);
}

// Every paint turns the view by a degree, as a drag does.
void BM_Plot3DPaint(benchmark::State& state) {
  TPlot3D plot;
  plot.resize(700, 450);
  FillYearSurface(plot);
  plot.SetCentX(350);
  plot.SetCentY(225);
  int step = 0;
  for (auto _ : state) {
    plot.SetViewAngleZ(225 + step++ % 10);
    QImage picture = plot.RenderImage();
    benchmark::DoNotOptimize(picture.constBits());
  }
  state.SetLabel("515 x 11 surface at 700 x 450");
}
BENCHMARK(BM_Plot3DPaint)->Unit(benchmark::kMillisecond);

void BM_Plot3DExportMetafile(benchmark::State& state) {
  TPlot3D plot;
  plot.resize(700, 450);
  FillYearSurface(plot);
  const QString file = QDir::temp().filePath("kolma_plot3d_bench.wmf");
  for (auto _ : state) {
    const kolma::TMetafileExport written = plot.ExportMetafile(file);
    if (!written.ok) state.SkipWithError(written.reason.c_str());
  }
  QFile::remove(file);
  state.SetLabel("515 x 11 surface at 700 x 450");
}
BENCHMARK(BM_Plot3DExportMetafile)->Unit(benchmark::kMillisecond);

}  // namespace
