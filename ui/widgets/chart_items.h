#pragma once
// The vocabulary of the 2-D chart: its enumerations, and what it remembers of each drawing
// operation (the kind, the world coordinates and the attributes current when it was added).
#include <QColor>
#include <QString>
#include <Qt>

namespace kolma::ui {

// Horizontal placement of a text item relative to its x coordinate.
enum TextAlign { taLeftJustify, taRightJustify, taCenter };

// Whether a text item is painted on a filled box (the data window colour) or directly.
enum TextBackground { tbClear, tbOpaque };

// Marker symbols of AddMark; all are a fixed number of pixels across whatever the zoom.
enum MarkType {
  mtPixel = 0,          // a single pixel
  mtPlus = 1,           // thin "+", 7 px
  mtCross = 2,          // thin "x", 7 px
  mtSquare = 3,         // outlined square, 7 px
  mtCircle = 4,         // outlined circle, 7 px
  mtBoldDiagCross = 25  // bold "x", 7 px: the node marker of the program
};

// Kinds of axis numbers. The program uses ftNum and ftNoScales; the others draw like ftNum
// (ftNoFigs: ticks without numbers).
enum FigType { ftNoFigs, ftNum, ftTime, ftNoScales, ftDateTime, ftUserText };

// Left-button mouse behaviour in the data window.
enum MouseActMode {
  maNone,         // 0: nothing
  maPan,          // 1: the picture follows the mouse
  maZoomWind,     // 2: behaves as maZoomWindPos
  maZoomWindPos,  // 3: rubber-band rectangle becomes the new ranges
  maZoomDrag,     // 4: drag right/up to zoom in, left/down to zoom out, about the centre
  maPanHoriz,     // 5: pan along X only
  maPanVert,      // 6: pan along Y only
  maDragCrossH,   // 7: not used by the program; does nothing
  maDragLabel     // 8: not used by the program; does nothing
};

enum GridStyleType { gsNone, gsDotLines, gsLines };

enum class ChartItemKind { Line, Mark, Ellipse, Text };

struct TChartItem {
  ChartItemKind kind = ChartItemKind::Line;
  // Line: (x1, y1) -> (x2, y2). Mark and Text: (x1, y1). Ellipse: centre (x1, y1), half-widths (x2, y2).
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  // Line only: true when the line was added by AddLineTo, so that it continues a polyline.
  bool fromPen = false;
  QColor color = Qt::black;
  Qt::PenStyle penStyle = Qt::SolidLine;
  int lineWidth = 1;
  QColor fillColor = Qt::white;
  bool hollow = false;   // Ellipse: outline only
  int markType = 0;      // Mark
  int fontSize = 10;     // Text, in points
  QString text;          // Text, at most 15 characters
  TextAlign alignment = taCenter;    // Text
  TextBackground background = tbClear;  // Text
  // The curve this item belongs to, as the legend names it; empty: not in the legend.
  QString title;
};

// One line of a chart's legend: the title and how its curve looks (the first item that
// carried the title gives the colour and pen; a mark among its items is drawn on the sample).
struct TLegendEntry {
  QString title;
  QColor color = Qt::black;
  Qt::PenStyle penStyle = Qt::SolidLine;
  int lineWidth = 1;
  bool line = false;       // the curve has lines
  int markType = -1;       // the curve has marks of this type; -1: none
  bool ellipse = false;    // the curve has ellipses (drawn as a filled disc)
  QColor fillColor = Qt::white;
};

}  // namespace kolma::ui
