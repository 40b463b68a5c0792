#pragma once
// The surface of the 3-D view, built from the direct results: time along the columns, the
// position across the section along the rows, temperature as the height. Plain C++ so that
// it is checked and timed without a window.
#include "core/model/project.h"
#include "core/numeric/matrix.h"

namespace kolma::ui {

// Rows of the surface: positions spread evenly from the upstream to the downstream face.
inline constexpr int kSurfaceRows = 11;
// A long analysis is thinned so that the surface stays light to draw.
inline constexpr int kMaxSurfaceColumns = 500;

// Sampling of K analysis steps of dt hours: a surface column every `step` steps (about
// every 12 hours, at most about kMaxSurfaceColumns of them), `columns` = K div step.
struct TSurfaceSampling {
  int step = 1;
  int columns = 0;
};
TSurfaceSampling SurfaceSampling(int steps, double timeStep);

struct TTemperatureSurface {
  TSurfaceSampling sampling;
  // columns x kSurfaceRows heights; meaningless when !HasSurface().
  TMatrix grid;
  double timeLow = 0, timeHigh = 0;          // hours, the first to the last analysis step
  double positionLow = 0, positionHigh = 0;  // Xu, Xd
  double tMin = 0, tMax = 0;                 // extremes of the whole field

  // A surface needs two columns to have a single cell to draw.
  bool HasSurface() const { return sampling.columns >= 2; }
};

// Column c holds the natural cubic spline through the node temperatures of step c * step,
// read at the kSurfaceRows positions. A field of one value everywhere gets a height range
// of one degree around it, so that the box keeps a height and its temperature axis says
// what the value is.
TTemperatureSurface BuildTemperatureSurface(const TSectionProperties& section, const TDirectResults& results);

}  // namespace kolma::ui
