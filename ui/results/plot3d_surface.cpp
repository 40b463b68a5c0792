#include "ui/results/plot3d_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/analysis/harmonic_decomposition.h"
#include "core/numeric/curve_fit.h"

namespace kolma::ui {

TSurfaceSampling SurfaceSampling(int steps, double timeStep) {
  TSurfaceSampling s;
  // A time step of 0 (or not a number) would give no sensible thinning: every step is a column.
  const std::int64_t e = timeStep > 0 ? RoundHalfEven(12.0 / timeStep) : 1;
  s.step = int(std::clamp<std::int64_t>(e, 1, INT32_MAX));
  if (steps / s.step > kMaxSurfaceColumns) s.step = steps / kMaxSurfaceColumns;
  s.columns = std::max(steps, 0) / s.step;
  return s;
}

TTemperatureSurface BuildTemperatureSurface(const TSectionProperties& section, const TDirectResults& results) {
  const TMatrix& field = results.Temperatures;
  const int steps = field.NrOfRows();
  const int nodes = section.NbDivisions + 1;

  TTemperatureSurface surface;
  surface.sampling = SurfaceSampling(steps, results.TimeStep);
  surface.timeHigh = (steps - 1) * results.TimeStep;
  surface.positionLow = section.Xu;
  surface.positionHigh = section.Xd;
  field.MinMax(1, 1, field.NrOfColumns(), steps, surface.tMin, surface.tMax);
  if (surface.tMin == surface.tMax) {
    surface.tMin -= 0.5;
    surface.tMax += 0.5;
  }

  const int columns = surface.sampling.columns;
  surface.grid = TMatrix(std::max(columns, 1), kSurfaceRows);
  if (!surface.HasSurface()) return surface;

  double rowPosition[kSurfaceRows];
  for (int r = 1; r <= kSurfaceRows; ++r)
    rowPosition[r - 1] = section.Xu + (r - 1) / double(kSurfaceRows - 1) * (section.Xd - section.Xu);

  // One fit reused for every column: the point store is allocated once.
  TCurveFit fit;
  double* out = surface.grid.Data();  // row-major: (c, r) at (r - 1) * columns + c - 1
  for (int c = 1; c <= columns; ++c) {
    const int step = c * surface.sampling.step;
    fit.InitFit();
    for (int j = 1; j <= nodes; ++j) fit.AddPoint(section.Nodes.Element(j), field.Element(j, step));
    for (int r = 1; r <= kSurfaceRows; ++r) out[(r - 1) * columns + (c - 1)] = fit.SplineValue(rowPosition[r - 1]);
  }
  return surface;
}

}  // namespace kolma::ui
