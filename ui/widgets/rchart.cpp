#include "ui/widgets/rchart.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "ui/widgets/chart_painter.h"
#include "ui/widgets/chart_picture.h"

namespace kolma::ui {

namespace {
constexpr int kMaxTextLength = 15;
}

struct TRChart::TPrivate {
  TChartState state;
  TChartLayout layout;
  bool layoutDirty = true;

  // Attributes copied into every new item.
  QColor dataColor = Qt::black;
  Qt::PenStyle penStyle = Qt::SolidLine;
  int lineWidth = 1;
  QColor fillColor = Qt::white;
  bool hollowEllipses = false;
  QString curveTitle;
  TextAlign textAlignment = taCenter;
  TextBackground textBkStyle = tbClear;
  double penX = 0, penY = 0;

  MouseActMode mouseAction = maNone;
  enum class Drag { None, Pan, Band, Zoom } drag = Drag::None;
  QPoint pressPixel, bandEnd;
  TChartRanges rangesAtPress;
  // The right press that cancelled a drag must not also open the context menu.
  bool rightPressCancelledDrag = false;

  void AddItem(TChartItem&& item) {
    if (!item.title.isEmpty()) ++state.titledItems;
    state.items.push_back(std::move(item));
    // The runs of lines grow with the items, so a first paint need not read them all again.
    state.polylines.Appended(state.items);
  }

  TChartItem NewItem(ChartItemKind kind) const {
    TChartItem item;
    item.kind = kind;
    item.color = dataColor;
    item.penStyle = penStyle;
    item.lineWidth = lineWidth;
    item.fillColor = fillColor;
    item.hollow = hollowEllipses;
    item.alignment = textAlignment;
    item.background = textBkStyle;
    item.title = curveTitle;
    return item;
  }
};

TRChart::TRChart(QWidget* parent) : QWidget(parent), d_(new TPrivate) {
  d_->state.font = font();
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  // Keys (Home, Escape, the menu key) reach the chart once it has been clicked.
  setFocusPolicy(Qt::ClickFocus);
}

TRChart::~TRChart() { delete d_; }

// ---- Layout --------------------------------------------------------------------------------------

// Margins follow the numbers and captions, so the data window is only known after a layout pass
// for the current size; an isometric chart then gives its Y range the new span about the old
// middle.
void TRChart::EnsureLayout() const {
  TChartGeometry& g = d_->state.geometry;
  const bool resized = g.WidgetWidth() != width() || g.WidgetHeight() != height();
  if (!d_->layoutDirty && !resized) return;
  d_->state.font = font();
  const bool windowChanged = LayoutChart(d_->state, width(), height(), d_->layout);
  if (windowChanged && g.Isometric()) {
    g.RecentreIsometricY();
    LayoutChart(d_->state, width(), height(), d_->layout);
  }
  d_->layoutDirty = false;
}

void TRChart::Changed() {
  d_->layoutDirty = true;
  update();
}

// ---- Drawing list --------------------------------------------------------------------------------

void TRChart::ClearDrawing() {
  d_->state.items.clear();
  d_->state.titledItems = 0;
  d_->state.polylines.Clear();
  update();
}

void TRChart::AddMoveTo(double x, double y) {
  d_->penX = x;
  d_->penY = y;
}

void TRChart::AddLineTo(double x, double y) {
  TChartItem item = d_->NewItem(ChartItemKind::Line);
  item.x1 = d_->penX;
  item.y1 = d_->penY;
  item.x2 = x;
  item.y2 = y;
  item.fromPen = true;
  d_->AddItem(std::move(item));
  d_->penX = x;
  d_->penY = y;
}

void TRChart::AddLine(double x1, double y1, double x2, double y2) {
  TChartItem item = d_->NewItem(ChartItemKind::Line);
  item.x1 = x1;
  item.y1 = y1;
  item.x2 = x2;
  item.y2 = y2;
  d_->AddItem(std::move(item));
}

void TRChart::AddMark(double x, double y, int markType) {
  TChartItem item = d_->NewItem(ChartItemKind::Mark);
  item.x1 = x;
  item.y1 = y;
  item.markType = markType;
  d_->AddItem(std::move(item));
}

void TRChart::AddEllipse(double xc, double yc, double rx, double ry) {
  TChartItem item = d_->NewItem(ChartItemKind::Ellipse);
  item.x1 = xc;
  item.y1 = yc;
  item.x2 = std::abs(rx);
  item.y2 = std::abs(ry);
  d_->AddItem(std::move(item));
}

void TRChart::AddText(double x, double y, int fontSize, const QString& text) {
  TChartItem item = d_->NewItem(ChartItemKind::Text);
  item.x1 = x;
  item.y1 = y;
  item.fontSize = fontSize;
  item.text = text.left(kMaxTextLength);
  d_->AddItem(std::move(item));
}

void TRChart::ShowDrawing() { update(); }

void TRChart::CopyPictureToClipboard(bool blackOnWhite) {
  QGuiApplication::clipboard()->setImage(RenderPicture(blackOnWhite));
}

QImage TRChart::RenderPicture(bool blackOnWhite) const {
  if (width() <= 0 || height() <= 0) return {};
  EnsureLayout();
  QImage image(width(), height(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintPicture(painter, blackOnWhite);
  return image;
}

void TRChart::PaintPicture(QPainter& painter, bool blackOnWhite) const {
  EnsureLayout();
  PaintChart(painter, d_->state, d_->layout, blackOnWhite);
}

// ---- Ranges --------------------------------------------------------------------------------------

double TRChart::RangeLoX() const { return d_->state.geometry.RangeLoX(); }
double TRChart::RangeHiX() const { return d_->state.geometry.RangeHiX(); }
double TRChart::RangeLoY() const { return d_->state.geometry.RangeLoY(); }
double TRChart::RangeHiY() const { return d_->state.geometry.RangeHiY(); }

// The isometric Y span depends on the data window: bring it up to date before a range moves.
void TRChart::SetRangeLoX(double v) {
  EnsureLayout();
  d_->state.geometry.SetRangeLoX(v);
  Changed();
}
void TRChart::SetRangeHiX(double v) {
  EnsureLayout();
  d_->state.geometry.SetRangeHiX(v);
  Changed();
}
void TRChart::SetRangeLoY(double v) {
  EnsureLayout();
  d_->state.geometry.SetRangeLoY(v);
  Changed();
}
void TRChart::SetRangeHiY(double v) {
  EnsureLayout();
  d_->state.geometry.SetRangeHiY(v);
  Changed();
}

double TRChart::MinRangeX() const { return d_->state.geometry.MinRangeX(); }
double TRChart::MinRangeY() const { return d_->state.geometry.MinRangeY(); }
void TRChart::SetMinRangeX(double v) { d_->state.geometry.SetMinRangeX(v); }
void TRChart::SetMinRangeY(double v) { d_->state.geometry.SetMinRangeY(v); }
bool TRChart::LogScaleX() const { return d_->state.geometry.LogScaleX(); }
bool TRChart::LogScaleY() const { return d_->state.geometry.LogScaleY(); }
void TRChart::SetLogScaleX(bool on) {
  d_->state.geometry.SetLogScaleX(on);
  Changed();
}
void TRChart::SetLogScaleY(bool on) {
  d_->state.geometry.SetLogScaleY(on);
  Changed();
}
bool TRChart::Isometric() const { return d_->state.geometry.Isometric(); }
void TRChart::SetIsometric(bool on) {
  EnsureLayout();
  d_->state.geometry.SetIsometric(on);
  Changed();
}
double TRChart::PixelAspect() const { return d_->state.geometry.PixelAspect(); }
void TRChart::SetPixelAspect(double v) {
  EnsureLayout();
  d_->state.geometry.SetPixelAspect(v);
  if (Isometric()) d_->state.geometry.RecentreIsometricY();
  Changed();
}

// ---- Layout and looks ----------------------------------------------------------------------------

int TRChart::LRim() const { return d_->state.lRim; }
int TRChart::RRim() const { return d_->state.rRim; }
int TRChart::TRim() const { return d_->state.tRim; }
int TRChart::BRim() const { return d_->state.bRim; }
void TRChart::SetLRim(int px) {
  d_->state.lRim = std::max(0, px);
  Changed();
}
void TRChart::SetRRim(int px) {
  d_->state.rRim = std::max(0, px);
  Changed();
}
void TRChart::SetTRim(int px) {
  d_->state.tRim = std::max(0, px);
  Changed();
}
void TRChart::SetBRim(int px) {
  d_->state.bRim = std::max(0, px);
  Changed();
}
QString TRChart::Caption() const { return d_->state.caption; }
QString TRChart::IdAbscissa() const { return d_->state.idAbscissa; }
QString TRChart::IdOrdinate() const { return d_->state.idOrdinate; }
void TRChart::SetCaption(const QString& text) {
  d_->state.caption = text;
  Changed();
}
void TRChart::SetIdAbscissa(const QString& text) {
  d_->state.idAbscissa = text;
  Changed();
}
void TRChart::SetIdOrdinate(const QString& text) {
  d_->state.idOrdinate = text;
  Changed();
}
FigType TRChart::XLabelType() const { return d_->state.xLabelType; }
FigType TRChart::YLabelType() const { return d_->state.yLabelType; }
void TRChart::SetXLabelType(FigType t) {
  d_->state.xLabelType = t;
  Changed();
}
void TRChart::SetYLabelType(FigType t) {
  d_->state.yLabelType = t;
  Changed();
}
int TRChart::DecPlaceX() const { return d_->state.decPlaceX; }
int TRChart::DecPlaceY() const { return d_->state.decPlaceY; }
namespace {
int ValidDecimals(int d) { return d < 0 ? -2 : std::min(d, 12); }
}  // namespace
void TRChart::SetDecPlaceX(int d) {
  d_->state.decPlaceX = ValidDecimals(d);
  Changed();
}
void TRChart::SetDecPlaceY(int d) {
  d_->state.decPlaceY = ValidDecimals(d);
  Changed();
}
GridStyleType TRChart::GridStyle() const { return d_->state.gridStyle; }
void TRChart::SetGridStyle(GridStyleType s) {
  d_->state.gridStyle = s;
  update();
}
QColor TRChart::GridColor() const { return d_->state.gridColor; }
void TRChart::SetGridColor(const QColor& c) {
  d_->state.gridColor = c;
  update();
}
double TRChart::GridDx() const { return d_->state.gridDx; }
void TRChart::SetGridDx(double dx) {
  d_->state.gridDx = std::isfinite(dx) && dx > 0 ? dx : 0;
  update();
}
QColor TRChart::WindColor() const { return d_->state.windColor; }
void TRChart::SetWindColor(const QColor& c) {
  d_->state.windColor = c;
  update();
}
bool TRChart::ShortTicksX() const { return d_->state.shortTicksX; }
bool TRChart::ShortTicksY() const { return d_->state.shortTicksY; }
void TRChart::SetShortTicksX(bool on) {
  d_->state.shortTicksX = on;
  Changed();
}
void TRChart::SetShortTicksY(bool on) {
  d_->state.shortTicksY = on;
  Changed();
}
int TRChart::MinTickX() const { return d_->state.minTickX; }
int TRChart::MinTickY() const { return d_->state.minTickY; }
void TRChart::SetMinTickX(int n) {
  d_->state.minTickX = std::max(0, n);
  Changed();
}
void TRChart::SetMinTickY(int n) {
  d_->state.minTickY = std::max(0, n);
  Changed();
}
TextAlign TRChart::TextAlignment() const { return d_->textAlignment; }
void TRChart::SetTextAlignment(TextAlign a) { d_->textAlignment = a; }
TextBackground TRChart::TextBkStyle() const { return d_->textBkStyle; }
void TRChart::SetTextBkStyle(TextBackground s) { d_->textBkStyle = s; }

// ---- Drawing attributes --------------------------------------------------------------------------

QColor TRChart::DataColor() const { return d_->dataColor; }
void TRChart::SetDataColor(const QColor& c) { d_->dataColor = c; }
Qt::PenStyle TRChart::PenStyle() const { return d_->penStyle; }
void TRChart::SetPenStyle(Qt::PenStyle s) { d_->penStyle = s; }
int TRChart::LineWidth() const { return d_->lineWidth; }
void TRChart::SetLineWidth(int w) { d_->lineWidth = std::max(1, w); }
QColor TRChart::FillColor() const { return d_->fillColor; }
void TRChart::SetFillColor(const QColor& c) { d_->fillColor = c; }
bool TRChart::HollowEllipses() const { return d_->hollowEllipses; }
void TRChart::SetHollowEllipses(bool on) { d_->hollowEllipses = on; }
QString TRChart::CurveTitle() const { return d_->curveTitle; }
void TRChart::SetCurveTitle(const QString& title) { d_->curveTitle = title; }

bool TRChart::LegendVisible() const { return d_->state.legendVisible; }
void TRChart::SetLegendVisible(bool on) {
  d_->state.legendVisible = on;
  update();
}
std::vector<TLegendEntry> TRChart::Legend() const { return LegendEntries(d_->state.items); }

// ---- Read-only views -----------------------------------------------------------------------------

const std::vector<TChartItem>& TRChart::Items() const { return d_->state.items; }
QPointF TRChart::PenPosition() const { return {d_->penX, d_->penY}; }

QRect TRChart::DataWindow() const {
  EnsureLayout();
  const TChartGeometry& g = d_->state.geometry;
  return QRect(QPoint(g.DataLeft(), g.DataTop()), QPoint(g.DataRight(), g.DataBottom()));
}

QPoint TRChart::WorldToPixel(double x, double y) const {
  EnsureLayout();
  return {d_->state.geometry.PixelX(x), d_->state.geometry.PixelY(y)};
}

QPointF TRChart::PixelToWorld(double px, double py) const {
  EnsureLayout();
  return {d_->state.geometry.PixelCentreToWorldX(px), d_->state.geometry.PixelCentreToWorldY(py)};
}

QSize TRChart::sizeHint() const { return {480, 360}; }
QSize TRChart::minimumSizeHint() const { return {160, 120}; }

// ---- Mouse ---------------------------------------------------------------------------------------

MouseActMode TRChart::MouseAction() const { return d_->mouseAction; }

void TRChart::SetMouseAction(MouseActMode m) {
  CancelDrag();
  d_->mouseAction = m;
  switch (m) {
    case maPan:
    case maPanHoriz:
    case maPanVert:
      setCursor(Qt::OpenHandCursor);
      break;
    case maZoomWind:
    case maZoomWindPos:
      setCursor(Qt::CrossCursor);
      break;
    case maZoomDrag:
      setCursor(Qt::SizeAllCursor);
      break;
    default:
      unsetCursor();
      break;
  }
}

void TRChart::CancelDrag() {
  if (d_->drag == TPrivate::Drag::Pan || d_->drag == TPrivate::Drag::Zoom) {
    d_->state.geometry.SetRangesFromMouse(d_->rangesAtPress);
    Changed();
  }
  if (d_->drag == TPrivate::Drag::Band) update();
  d_->drag = TPrivate::Drag::None;
  if (d_->mouseAction == maPan || d_->mouseAction == maPanHoriz || d_->mouseAction == maPanVert)
    setCursor(Qt::OpenHandCursor);
}

namespace {
QPoint PixelOf(const QMouseEvent* event) {
  const QPointF p = event->position();
  return {int(std::floor(p.x())), int(std::floor(p.y()))};
}
}  // namespace

void TRChart::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    d_->rightPressCancelledDrag = d_->drag != TPrivate::Drag::None;
    if (d_->rightPressCancelledDrag) CancelDrag();
    return;
  }
  if (event->button() != Qt::LeftButton || d_->drag != TPrivate::Drag::None) return;
  EnsureLayout();
  const QPoint pixel = PixelOf(event);
  if (!d_->state.geometry.PixelInDataWindow(pixel.x(), pixel.y())) return;
  d_->pressPixel = pixel;
  d_->rangesAtPress = d_->state.geometry.Ranges();
  switch (d_->mouseAction) {
    case maPan:
    case maPanHoriz:
    case maPanVert:
      d_->drag = TPrivate::Drag::Pan;
      setCursor(Qt::ClosedHandCursor);
      break;
    case maZoomWind:
    case maZoomWindPos:
      d_->drag = TPrivate::Drag::Band;
      d_->bandEnd = pixel;
      break;
    case maZoomDrag:
      d_->drag = TPrivate::Drag::Zoom;
      break;
    default:
      break;
  }
}

// The rubber band stays inside the data window; an isometric chart zooms to squares.
QPoint TRChart::BandCorner(QPoint pixel) const {
  const TChartGeometry& g = d_->state.geometry;
  pixel.setX(std::clamp(pixel.x(), g.DataLeft(), g.DataRight()));
  pixel.setY(std::clamp(pixel.y(), g.DataTop(), g.DataBottom()));
  if (!g.Isometric()) return pixel;
  const QPoint start = d_->pressPixel;
  const int dx = pixel.x() - start.x(), dy = pixel.y() - start.y();
  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const int roomX = sx > 0 ? g.DataRight() - start.x() : start.x() - g.DataLeft();
  const int roomY = sy > 0 ? g.DataBottom() - start.y() : start.y() - g.DataTop();
  const int side = std::min({std::max(std::abs(dx), std::abs(dy)), roomX, roomY});
  return {start.x() + sx * side, start.y() + sy * side};
}

void TRChart::mouseMoveEvent(QMouseEvent* event) {
  EnsureLayout();
  TChartGeometry& g = d_->state.geometry;
  const QPoint pixel = PixelOf(event);
  const double dx = pixel.x() - d_->pressPixel.x(), dy = pixel.y() - d_->pressPixel.y();
  switch (d_->drag) {
    case TPrivate::Drag::Pan:
      g.SetRangesFromMouse(g.Panned(d_->rangesAtPress, dx, dy, d_->mouseAction != maPanVert,
                                    d_->mouseAction != maPanHoriz));
      Changed();
      EnsureLayout();
      break;
    case TPrivate::Drag::Band:
      d_->bandEnd = BandCorner(pixel);
      update();
      break;
    case TPrivate::Drag::Zoom: {
      const double fx = 1 - dx / std::max(1, width());
      const double fy = g.Isometric() ? fx : 1 + dy / std::max(1, height());
      g.SetRangesFromMouse(g.ZoomedAboutCentre(d_->rangesAtPress, fx, fy));
      Changed();
      EnsureLayout();
      break;
    }
    case TPrivate::Drag::None:
      break;
  }
  emit OnMouseMoveInChart(g.PixelInDataWindow(pixel.x(), pixel.y()), event->modifiers(),
                          g.PixelCentreToWorldX(pixel.x()), g.PixelCentreToWorldY(pixel.y()));
}

void TRChart::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && d_->drag == TPrivate::Drag::None)
    ViewAll();
  else
    mousePressEvent(event);
}

// One notch (120) zooms in by a fifth; a finer wheel or a touch pad zooms in proportion.
void TRChart::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0 || d_->drag != TPrivate::Drag::None) {
    event->ignore();
    return;
  }
  EnsureLayout();
  TChartGeometry& g = d_->state.geometry;
  const QPointF at = event->position();
  const double wx = g.ToWorldX(at.x()), wy = g.ToWorldY(at.y());
  g.SetRangesFromMouse(g.ZoomedAbout(g.Ranges(), at.x(), at.y(), std::pow(0.8, delta / 120.0)));
  Changed();
  EnsureLayout();
  // The margins follow the numbers, so the data window may have moved: bring the point back
  // under the cursor.
  for (int i = 0; i < 3; ++i) {
    const double dx = at.x() - g.ToScreenX(wx), dy = at.y() - g.ToScreenY(wy);
    if (std::abs(dx) < 1e-6 && std::abs(dy) < 1e-6) break;
    g.SetRangesFromMouse(g.Panned(g.Ranges(), dx, dy, true, true));
    Changed();
    EnsureLayout();
  }
  event->accept();
}

void TRChart::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && d_->drag != TPrivate::Drag::None) {
    CancelDrag();
  } else if (event->key() == Qt::Key_Home && event->modifiers() == Qt::NoModifier) {
    ViewAll();
  } else {
    QWidget::keyPressEvent(event);  // Escape, Enter and the rest go on to the window
  }
}

void TRChart::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Mouse && std::exchange(d_->rightPressCancelledDrag, false)) return;
  if (d_->drag != TPrivate::Drag::None) return;
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("ChartMenu"));
  menu.addAction(QStringLiteral("Copy picture"), this, [this] { CopyPictureToClipboard(false); });
  menu.addAction(QStringLiteral("Save picture..."), this, [this] { SaveChartPicture(*this, this); });
  menu.addSeparator();
  menu.addAction(QStringLiteral("View all"), this, &TRChart::ViewAll);
  if (!Legend().empty()) {
    QAction* legend = menu.addAction(QStringLiteral("Show legend"), this, [this](bool on) { SetLegendVisible(on); });
    legend->setObjectName(QStringLiteral("ShowLegend"));
    legend->setCheckable(true);
    legend->setChecked(LegendVisible());
  }
  const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : mapToGlobal(rect().center());
  menu.exec(at);
}

void TRChart::ViewAll() {
  const TChartGeometry& g = d_->state.geometry;
  constexpr double inf = std::numeric_limits<double>::infinity();
  double minX = inf, maxX = -inf, minY = inf, maxY = -inf;
  // Values a logarithmic axis cannot show are left out of its extent.
  auto add = [&](double x, double y) {
    if (std::isfinite(x) && (!g.LogScaleX() || x >= TChartGeometry::kLogFloor)) {
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
    }
    if (std::isfinite(y) && (!g.LogScaleY() || y >= TChartGeometry::kLogFloor)) {
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
    }
  };
  for (const TChartItem& item : d_->state.items) {
    if (item.kind == ChartItemKind::Ellipse) {
      add(item.x1 - item.x2, item.y1 - item.y2);
      add(item.x1 + item.x2, item.y1 + item.y2);
    } else {
      add(item.x1, item.y1);
      if (item.kind == ChartItemKind::Line) add(item.x2, item.y2);
    }
  }
  if (minX > maxX || minY > maxY) return;
  EnsureLayout();
  d_->state.geometry.SetRangesFromMouse(g.Fitting(minX, maxX, minY, maxY));
  Changed();
}

void TRChart::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const auto drag = d_->drag;
  d_->drag = TPrivate::Drag::None;
  if (drag == TPrivate::Drag::Pan) setCursor(Qt::OpenHandCursor);
  if (drag != TPrivate::Drag::Band) return;
  const QPoint a = d_->pressPixel, b = BandCorner(PixelOf(event));
  update();
  if (a.x() == b.x() || a.y() == b.y()) return;  // nothing to zoom to
  TChartGeometry& g = d_->state.geometry;
  g.SetRangesFromMouse(g.PixelRectToRanges(a.x(), a.y(), b.x(), b.y()));
  Changed();
}

// ---- Painting ------------------------------------------------------------------------------------

void TRChart::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) Changed();
}

void TRChart::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  EnsureLayout();
  update();
}

void TRChart::paintEvent(QPaintEvent*) {
  EnsureLayout();
  QPainter painter(this);
  PaintChart(painter, d_->state, d_->layout, false);
  if (d_->drag == TPrivate::Drag::Band) {
    const QRect band = QRect(d_->pressPixel, d_->bandEnd).normalized();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(band, QColor(40, 110, 220, 40));
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(band);
  }
}

}  // namespace kolma::ui
