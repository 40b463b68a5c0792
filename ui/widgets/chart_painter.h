#pragma once
// Layout and painting of a TRChart, shared by the widget's own painting and its clipboard
// pictures. Private to the chart.
#include <QColor>
#include <QFont>
#include <QString>
#include <vector>

#include "ui/widgets/chart_geometry.h"
#include "ui/widgets/chart_items.h"
#include "ui/widgets/chart_polylines.h"

class QPainter;

namespace kolma::ui {

// Everything that decides what a chart looks like.
struct TChartState {
  TChartGeometry geometry;
  int lRim = 50, rRim = 10, tRim = 16, bRim = 32;
  QString caption, idAbscissa, idOrdinate;
  FigType xLabelType = ftNum, yLabelType = ftNum;
  int decPlaceX = 1, decPlaceY = 1;
  GridStyleType gridStyle = gsDotLines;
  QColor gridColor = QColor(192, 192, 192);
  double gridDx = 0;
  QColor windColor = QColor(251, 252, 254);
  bool shortTicksX = true, shortTicksY = true;
  int minTickX = 0, minTickY = 0;
  std::vector<TChartItem> items;
  // How many items carry a legend title: with none, a paint need not read the items for one.
  int titledItems = 0;
  QFont font;
  // The runs of connected lines among the items; invalidate on every change of the items.
  mutable TPolylineCache polylines;
  // Off: lines denser than the pixel columns are drawn one by one all the same (to check that
  // drawing them by columns gives the same picture).
  bool reduceDenseLines = true;
  // The legend box in a corner of the data window, when any item has a title.
  bool legendVisible = true;
};

// The legend of the items: one entry per distinct title, in the order of first appearance.
std::vector<TLegendEntry> LegendEntries(const std::vector<TChartItem>& items);

// Fonts and ticks worked out for one widget size.
struct TChartLayout {
  QFont labelFont, captionFont, titleFont;
  TTickSet xTicks, yTicks;
};

// Sizes the margins for the numbers and captions (never below the rims), hands the result to
// the geometry and chooses the ticks. Returns true when the data window changed size.
bool LayoutChart(TChartState& state, int width, int height, TChartLayout& layout);

// Paints the whole chart: backgrounds, grid, items (clipped to the data window), frame, ticks,
// numbers and captions. blackOnWhite: white backgrounds, black scales and texts.
void PaintChart(QPainter& painter, const TChartState& state, const TChartLayout& layout,
                bool blackOnWhite);

}  // namespace kolma::ui
