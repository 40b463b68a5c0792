#pragma once
// The arithmetic of a 2-D chart, kept free of the windowing toolkit so that it can be checked on
// its own: axis ranges and their rules, the mapping between world and widget pixels, the
// isometric Y range, mouse pan and zoom, segment and polygon clipping, and the choice and
// formatting of axis ticks.
//
// Pixel convention: the data window covers the pixel columns DataLeft()..DataRight() and rows
// DataTop()..DataBottom() (inclusive). Screen coordinates are continuous: pixel column i covers
// [i, i + 1), so its centre is i + 0.5. The X range is spread over the DataWidth() + 1 columns,
// from the left edge of DataLeft() to the right edge of DataRight(); Y likewise, bottom to top.
#include <functional>
#include <string>
#include <vector>

namespace kolma::ui {

struct TChartRanges {
  double loX = 0, hiX = 1, loY = 0, hiY = 1;
};

class TChartGeometry {
 public:
  // Values below this are ignored on a logarithmic axis.
  static constexpr double kLogFloor = 1e-100;

  // ---- Ranges and their rules ---------------------------------------------------------------
  const TChartRanges& Ranges() const { return ranges_; }
  double RangeLoX() const { return ranges_.loX; }
  double RangeHiX() const { return ranges_.hiX; }
  double RangeLoY() const { return ranges_.loY; }
  double RangeHiY() const { return ranges_.hiY; }
  // A value closer than MinRange to the other end pushes that end to exactly MinRange away.
  // Non-finite values, and values below kLogFloor on a logarithmic axis, are ignored. In
  // isometric mode the first three recompute RangeHiY from the X span (IsometricSpanY).
  void SetRangeLoX(double v);
  void SetRangeHiX(double v);
  void SetRangeLoY(double v);
  void SetRangeHiY(double v);
  // Ranges from a mouse action: taken as given, each span kept at least MinRange wide.
  void SetRangesFromMouse(const TChartRanges& r);

  double MinRangeX() const { return minRangeX_; }
  double MinRangeY() const { return minRangeY_; }
  void SetMinRangeX(double v);
  void SetMinRangeY(double v);
  bool LogScaleX() const { return logX_; }
  bool LogScaleY() const { return logY_; }
  // Switching a logarithmic axis on with a range that reaches below kLogFloor moves the range
  // to positive values.
  void SetLogScaleX(bool on);
  void SetLogScaleY(bool on);

  bool Isometric() const { return isometric_; }
  void SetIsometric(bool on);  // switching on recomputes RangeHiY
  double PixelAspect() const { return pixelAspect_; }
  void SetPixelAspect(double v);
  // (RangeHiX - RangeLoX) * (DataHeight() + 1) / (DataWidth() + 1) * PixelAspect().
  double IsometricSpanY() const;
  // Keeps the middle of the Y range and gives it the isometric span: used when the data
  // window changes size.
  void RecentreIsometricY();

  // ---- Data window --------------------------------------------------------------------------
  // Widget size and the margins actually used, in pixels. Returns true when the data window's
  // size changed.
  bool SetLayout(int widgetWidth, int widgetHeight, int left, int right, int top, int bottom);
  int WidgetWidth() const { return widgetW_; }
  int WidgetHeight() const { return widgetH_; }
  int DataLeft() const { return left_; }
  int DataTop() const { return top_; }
  int DataRight() const { return left_ + DataWidth(); }
  int DataBottom() const { return top_ + DataHeight(); }
  int DataWidth() const;   // DataRight() - DataLeft(), never negative
  int DataHeight() const;  // DataBottom() - DataTop(), never negative
  bool PixelInDataWindow(int px, int py) const;

  // ---- Mapping ------------------------------------------------------------------------------
  // World -> continuous screen coordinates and back. Non-positive values on a logarithmic axis
  // map as kLogFloor.
  double ToScreenX(double x) const;
  double ToScreenY(double y) const;
  double ToWorldX(double sx) const;
  double ToWorldY(double sy) const;
  // The pixel whose area contains the point (the floor of the screen coordinate, kept within
  // +-1e9 so that far-away points stay representable); a point on the far edge of the data
  // window belongs to its last pixel.
  int PixelX(double x) const;
  int PixelY(double y) const;
  int ScreenToPixelX(double sx) const;  // the same from a screen coordinate
  int ScreenToPixelY(double sy) const;
  // World coordinate of the centre of pixel column px / row py.
  double PixelCentreToWorldX(double px) const { return ToWorldX(px + 0.5); }
  double PixelCentreToWorldY(double py) const { return ToWorldY(py + 0.5); }

  // ---- Mouse actions (all start from the ranges current at the press) ------------------------
  // The picture follows the cursor moved by (dx, dy) pixels (y downwards).
  TChartRanges Panned(const TChartRanges& start, double dx, double dy, bool alongX,
                      bool alongY) const;
  // Spans multiplied by fx, fy about the middle of the start ranges (factors kept >= 1e-3).
  TChartRanges ZoomedAboutCentre(const TChartRanges& start, double fx, double fy) const;
  // World extent of the pixel rectangle between the centres of two corner pixels, each axis
  // keeping its direction.
  TChartRanges PixelRectToRanges(int x0, int y0, int x1, int y1) const;
  // Spans multiplied by f about the screen point (sx, sy): the world point there stays there
  // (along a logarithmic axis the scaling is in decades).
  TChartRanges ZoomedAbout(const TChartRanges& start, double sx, double sy, double f) const;
  // Ranges that show the world box [minX, maxX] x [minY, maxY] with a little room around it,
  // each axis keeping its direction; a box of no width or height gets some. Isometric: the X
  // span grows until the box fits in Y too.
  TChartRanges Fitting(double minX, double maxX, double minY, double maxY) const;

 private:
  double AxisValue(double v, bool log) const;      // log10 on a logarithmic axis
  double AxisInverse(double t, bool log) const;
  double SpanT(double lo, double hi, bool log) const;  // never zero
  void AfterXorLoYChange();

  TChartRanges ranges_;
  double minRangeX_ = 1e-10, minRangeY_ = 1e-10;
  bool logX_ = false, logY_ = false;
  bool isometric_ = false;
  double pixelAspect_ = 1.0;
  int widgetW_ = 0, widgetH_ = 0;
  int left_ = 50, right_ = 10, top_ = 16, bottom_ = 32;
};

// ---- Clipping (continuous screen coordinates) --------------------------------------------------
struct TScreenRect {
  double left, top, right, bottom;
};
// Liang-Barsky: false when the segment misses the rectangle; otherwise the ends are moved onto it.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, const TScreenRect& r);
struct TScreenPoint {
  double x, y;
};
// Sutherland-Hodgman clipping of a polygon by the rectangle.
std::vector<TScreenPoint> ClipPolygon(const std::vector<TScreenPoint>& polygon, const TScreenRect& r);

// ---- Ticks ---------------------------------------------------------------------------------------
struct TTick {
  double value = 0;    // world value
  double pos = 0;      // pixels along the axis from its RangeLo end
  bool major = true;   // numbered tick; minor ticks are the short ones in between
  std::string label;   // empty for minor ticks
};

struct TTickRequest {
  double lo = 0, hi = 1;        // the axis range as set (either order)
  bool log = false;
  double pixelLength = 100;     // screen length of the range
  bool horizontal = true;       // true: numbers side by side (X); false: stacked (Y)
  double labelHeight = 12;      // pixel height of a number
  std::function<double(const std::string&)> labelWidth;  // pixel width of a number's text
  int decimals = -2;            // -2: automatic
  int minTicks = 0;             // wanted minimum number of numbered ticks
  bool minorTicks = false;
  double forcedStep = 0;        // > 0: try this linear step first (square grids)
};

struct TTickSet {
  std::vector<TTick> ticks;  // majors and minors, ordered by value
  double step = 0;           // linear step of the numbered ticks (decades on a log axis)
};

// Numbered ticks at round values (1, 2 or 5 times a power of ten; decades on a logarithmic
// axis), as dense as reads comfortably, never so dense that neighbouring numbers touch or read
// the same.
TTickSet ChooseTicks(const TTickRequest& request);

// Text of an axis number `value` on an axis whose numbered ticks are `step` apart.
// decimals >= 0: at least that many, more when the step needs them; -2: automatic with
// trailing zeros dropped, or exponent notation when that is shorter for long numbers.
// `exponent` chooses exponent notation outright.
std::string FormatTickValue(double value, double step, int decimals, bool exponent);
// Whether automatic decimals write the numbers of this axis in exponent notation.
bool AutoUsesExponent(double maxAbsValue, double step);

}  // namespace kolma::ui
