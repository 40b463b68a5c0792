#pragma once
// Long polylines of a chart, kept so that a history of a million samples pans and zooms without
// lag. The program draws a history as one move followed by a line to every further sample, so the
// item list holds long runs of connected lines of one pen. Such a run is remembered once, with
// its vertices side by side and whether their X never decreases (or never increases): then the
// visible part is found by bisection, and a part denser than the pixels can show is drawn from
// the first, lowest, highest and last vertex of every pixel column.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "ui/widgets/chart_geometry.h"
#include "ui/widgets/chart_items.h"

namespace kolma::ui {

// Consecutive lines that continue one another with the same pen: items [first, end).
struct TPolylineRun {
  size_t first = 0, end = 0;
  // Only for runs of at least kLongRun lines whose X never decreases (xOrder +1) or never
  // increases (-1), all coordinates finite: the end - first + 1 vertices. Otherwise empty and 0.
  std::vector<double> x, y;
  int xOrder = 0;
  // Per block of kBlock vertices: the lowest and the highest Y.
  std::vector<double> blockLow, blockHigh;

  static constexpr size_t kLongRun = 64;
  static constexpr size_t kBlock = 64;
  bool Ordered() const { return xOrder != 0; }
};

// True when line b continues line a: it starts where a ends, was added from the pen, and has
// a's colour, style and width.
bool ContinuesPolyline(const TChartItem& a, const TChartItem& b);

// The runs of an item list, every line item in exactly one run, in item order. A chart tells the
// cache of every item it adds (Appended), so the runs and their vertices are kept up as the
// items come and the first paint of a long history need not read its items again. Any other
// change of the item list must call Clear() (list emptied) or Invalidate(); the runs are then
// read from the items on next use.
class TPolylineCache {
 public:
  void Invalidate() { valid_ = false; }
  void Clear();
  // Call after each item added at the end of `items`.
  void Appended(const std::vector<TChartItem>& items);
  const std::vector<TPolylineRun>& Runs(const std::vector<TChartItem>& items);

 private:
  void Extend(const std::vector<TChartItem>& items, size_t index);
  void Add(double x, double y);
  void Close();
  void Publish();
  void Unpublish();

  bool valid_ = true;
  size_t itemCount_ = 0;
  std::vector<TPolylineRun> runs_;
  // The last run while further lines may still continue it: its vertices and their block
  // extremes, kept here until Runs() hands them over in the run (published_).
  bool open_ = false, published_ = false;
  std::vector<double> x_, y_, blockLow_, blockHigh_;
  bool finite_ = true, rises_ = false, falls_ = false;
};

// The vertices [begin, end) of an ordered run that can reach the screen strip left..right: every
// line outside it lies wholly to one side of the strip.
std::pair<size_t, size_t> VisibleVertices(const TPolylineRun& run, const TChartGeometry& geometry,
                                          double left, double right);

// The vertices of a run that fall in one pixel column: the first and last in run order
// (indices into the run's vertices), and the lowest and highest Y among them.
struct TColumnVertices {
  uint32_t first, last;
  double low, high;
};

// The vertices [begin, end) of an ordered run, column by column in run order. Drawn as separate
// lines with their ends moved to pixel centres, the lines within a column are vertical and
// together cover exactly the rows from the lowest to the highest vertex: so a vertical line from
// `low` to `high` in every column and the lines from `last` of a column to `first` of the next
// give the very pixels of all the lines.
std::vector<TColumnVertices> ColumnExtremes(const TPolylineRun& run, const TChartGeometry& geometry,
                                            size_t begin, size_t end);

}  // namespace kolma::ui
