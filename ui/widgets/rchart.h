#pragma once
// TRChart: the program's 2-D chart. A list of drawing items in world coordinates (lines, marks,
// ellipses, texts) drawn over a framed data window with scaled axes; the user pans and zooms with
// the mouse and the chart reports the mouse position in world coordinates.
//
// The picture is always retained: the widget repaints itself from its item list, so range changes
// (by code or mouse) redraw the same items at the new scale. Axes are always at the bottom and the
// left.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QSize>
#include <QWidget>
#include <vector>

#include "ui/widgets/chart_items.h"

class QPainter;

namespace kolma::ui {

class TRChart : public QWidget {
  Q_OBJECT

 public:
  explicit TRChart(QWidget* parent = nullptr);
  ~TRChart() override;

  // ---- Drawing list -------------------------------------------------------------------------
  // Removes every item; ranges, captions and attributes stay.
  void ClearDrawing();
  // Sets the pen position; draws nothing.
  void AddMoveTo(double x, double y);
  // Line from the pen position to (x, y); the pen moves there.
  void AddLineTo(double x, double y);
  // Line between two points; the pen position is neither used nor changed.
  void AddLine(double x1, double y1, double x2, double y2);
  // A marker of fixed pixel size centred on (x, y); see MarkType in chart_items.h.
  void AddMark(double x, double y, int markType);
  // Ellipse with centre (xc, yc) and half-widths rx, ry in world units; filled with FillColor
  // unless HollowEllipses is set. Smaller than a pixel: drawn as one pixel.
  void AddEllipse(double xc, double yc, double rx, double ry);
  // Text with its vertical middle at y, placed by TextAlignment; only the first 15 characters
  // are kept. fontSize in points.
  void AddText(double x, double y, int fontSize, const QString& text);
  // Redraws the chart (frame, axes, all items in order, clipped to the data window).
  void ShowDrawing();
  // Puts a bitmap of the whole chart on the clipboard. blackOnWhite: white backgrounds and black
  // scales and texts for this copy only.
  void CopyPictureToClipboard(bool blackOnWhite);

  // ---- Ranges (world units) -----------------------------------------------------------------
  // A new value closer than MinRange to the other end pushes that end away to exactly MinRange;
  // on a logarithmic axis values below 1e-100 are ignored; non-finite values are ignored.
  // Lo above Hi is kept as set (the axis then runs the other way), so ranges can be moved in
  // any order. Isometric: setting RangeLoX, RangeHiX or RangeLoY recomputes RangeHiY.
  double RangeLoX() const;
  double RangeHiX() const;
  double RangeLoY() const;
  double RangeHiY() const;
  void SetRangeLoX(double v);
  void SetRangeHiX(double v);
  void SetRangeLoY(double v);
  void SetRangeHiY(double v);
  double MinRangeX() const;
  double MinRangeY() const;
  void SetMinRangeX(double v);
  void SetMinRangeY(double v);
  bool LogScaleX() const;
  bool LogScaleY() const;
  void SetLogScaleX(bool on);
  void SetLogScaleY(bool on);
  // One world unit has the same screen length on both axes; RangeHiY follows from the X span
  // and the data window size (also when the widget is resized: then the Y centre is kept).
  bool Isometric() const;
  void SetIsometric(bool on);
  // Height over width of one screen pixel; 1 unless set.
  double PixelAspect() const;
  void SetPixelAspect(double v);

  // ---- Layout and looks ---------------------------------------------------------------------
  // Margins between the control's edges and the data window, in pixels (defaults 50, 10, 16,
  // 32). They are minimums: a margin grows when the axis numbers or captions need more room.
  int LRim() const;
  int RRim() const;
  int TRim() const;
  int BRim() const;
  void SetLRim(int px);
  void SetRRim(int px);
  void SetTRim(int px);
  void SetBRim(int px);
  QString Caption() const;       // title above the data window
  QString IdAbscissa() const;    // X axis caption
  QString IdOrdinate() const;    // Y axis caption
  void SetCaption(const QString& text);
  void SetIdAbscissa(const QString& text);
  void SetIdOrdinate(const QString& text);
  FigType XLabelType() const;
  FigType YLabelType() const;
  void SetXLabelType(FigType t);
  void SetYLabelType(FigType t);
  // Decimals of the axis numbers, 0..12, default 1; more are used when needed to tell
  // neighbouring numbers apart. -2: chosen automatically, trailing zeros dropped, exponent
  // notation for very large or small values.
  int DecPlaceX() const;
  int DecPlaceY() const;
  void SetDecPlaceX(int d);
  void SetDecPlaceY(int d);
  GridStyleType GridStyle() const;
  void SetGridStyle(GridStyleType s);
  QColor GridColor() const;
  void SetGridColor(const QColor& c);
  // Spacing of the vertical grid lines in world units; 0 (default): at the X ticks.
  double GridDx() const;
  void SetGridDx(double dx);
  QColor WindColor() const;  // background of the data window
  void SetWindColor(const QColor& c);
  bool ShortTicksX() const;  // minor ticks between the numbered ones
  bool ShortTicksY() const;
  void SetShortTicksX(bool on);
  void SetShortTicksY(bool on);
  int MinTickX() const;  // wanted minimum number of numbered X ticks (never at the cost of overlap)
  int MinTickY() const;
  void SetMinTickX(int n);
  void SetMinTickY(int n);
  TextAlign TextAlignment() const;
  void SetTextAlignment(TextAlign a);
  TextBackground TextBkStyle() const;
  void SetTextBkStyle(TextBackground s);

  // ---- Current drawing attributes (copied into each item when it is added) -------------------
  QColor DataColor() const;
  void SetDataColor(const QColor& c);
  Qt::PenStyle PenStyle() const;
  void SetPenStyle(Qt::PenStyle s);
  int LineWidth() const;
  void SetLineWidth(int w);
  QColor FillColor() const;
  void SetFillColor(const QColor& c);
  bool HollowEllipses() const;
  void SetHollowEllipses(bool on);
  // The curve that the items added from now on belong to: the legend shows one entry per
  // title, in the order the titles first appear, with a sample of the curve's colour, pen
  // and marks. An empty title (the default) keeps items out of the legend.
  QString CurveTitle() const;
  void SetCurveTitle(const QString& title);

  // ---- Legend -------------------------------------------------------------------------------
  // Shown (by default) whenever an item has a title, in the corner of the data window where it
  // hides the least of the drawing; the user hides it from the context menu.
  // Pictures copied or saved include it as shown.
  bool LegendVisible() const;
  void SetLegendVisible(bool on);
  std::vector<TLegendEntry> Legend() const;

  // ---- Mouse --------------------------------------------------------------------------------
  MouseActMode MouseAction() const;
  void SetMouseAction(MouseActMode m);

  // ---- Read-only views, for callers and tests -----------------------------------------------
  const std::vector<TChartItem>& Items() const;
  QPointF PenPosition() const;
  // The data window in widget pixels (inclusive bounds: left()..right(), top()..bottom()).
  QRect DataWindow() const;
  // The pixel whose centre is nearest to the world point: marks are centred on it, line ends
  // are drawn through its centre. Points outside the data window give pixels outside it.
  QPoint WorldToPixel(double x, double y) const;
  // World coordinates of a widget pixel (its centre for integer arguments); valid in the
  // margins too. WorldToPixel(PixelToWorld(p)) == p.
  QPointF PixelToWorld(double px, double py) const;
  // The whole chart as the clipboard copy would hold it.
  QImage RenderPicture(bool blackOnWhite) const;
  // Paints the whole chart, at its own size, on any painter (images, vector picture files).
  void PaintPicture(QPainter& painter, bool blackOnWhite) const;

  // ---- View ---------------------------------------------------------------------------------
  // "View all" (double click, Home): ranges that show every item with a little room around it.
  // The items decide rather than the ranges the program set, because a window may first show
  // only part of its drawing. Nothing changes while there are no items.
  void ViewAll();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // Every mouse move over the control: inChart when the cursor lies inside the data window;
  // x, y: world coordinates of the cursor under the current ranges (also in the margins).
  void OnMouseMoveInChart(bool inChart, Qt::KeyboardModifiers shift, double x, double y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

  void changeEvent(QEvent* event) override;

 private:
  void EnsureLayout() const;
  void Changed();
  void CancelDrag();
  QPoint BandCorner(QPoint pixel) const;

  struct TPrivate;
  TPrivate* d_;
};

}  // namespace kolma::ui
