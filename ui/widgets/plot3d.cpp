#include "ui/widgets/plot3d.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/formats/metafile_canvas.h"
#include "ui/widgets/file_path.h"
#include "ui/widgets/painter_canvas.h"
#include "ui/widgets/plot3d_scene.h"

namespace kolma::ui {
namespace {

// A drag over the full height multiplies (up) or divides (down) the magnification by 1 + this.
constexpr double kZoomPerHeight = 2.0;


double WrapDegrees(double degrees) {
  if (!std::isfinite(degrees)) return 0;
  const double wrapped = std::fmod(degrees, 360.0);
  return wrapped < 0 ? wrapped + 360.0 : wrapped;
}

template <class T>
T Same(T value) {
  return value;
}

double Finite(double value, double fallback) { return std::isfinite(value) ? value : fallback; }

}  // namespace

struct TPlot3D::TPrivate {
  TPlot3DSettings settings;
  TMatrix grid;  // 1 x 1: no surface until the caller gives one
  bool suspended = false;
  T3DMouseAction mouseAction = T3DMouseAction::maRotate;

  // The drag in progress: which button, from where, and the view it started from.
  Qt::MouseButton button = Qt::NoButton;
  QPoint pressPoint;
  TPlot3DSettings atPress;
};

TPlot3D::TPlot3D(QWidget* parent) : QWidget(parent), d_(new TPrivate) {
  TPlot3DSettings& s = d_->settings;
  s.axes[0].color = {0, 0, 0};
  s.axes[1].color = {0, 128, 0};
  s.axes[2].color = {255, 0, 0};
  d_->grid.OnChange = [this](const void*) { Changed(); };
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(false);
}

TPlot3D::~TPlot3D() { delete d_; }

void TPlot3D::Changed() {
  if (!d_->suspended) update();
}

TMatrix& TPlot3D::SurfaceGrid() { return d_->grid; }
const TMatrix& TPlot3D::SurfaceGrid() const { return d_->grid; }

QString TPlot3D::EmptyText() const { return QString::fromStdString(d_->settings.emptyText); }
void TPlot3D::SetEmptyText(const QString& text) {
  d_->settings.emptyText = text.toStdString();
  Changed();
}

// Simple properties: the stored value, and a repaint after each change.
#define KOLMA_PLOT3D_PROPERTY(Type, Name, field, store)     \
  Type TPlot3D::Name() const { return d_->settings.field; } \
  void TPlot3D::Set##Name(Type value) {                      \
    d_->settings.field = store(value);                       \
    Changed();                                               \
  }
#define KOLMA_PLOT3D_COLOR(Name, field)                           \
  QColor TPlot3D::Name() const { return ToQt(d_->settings.field); } \
  void TPlot3D::Set##Name(const QColor& value) {                   \
    d_->settings.field = ToCore(value);                            \
    Changed();                                                     \
  }

double TPlot3D::RangeXLow() const { return d_->settings.axes[0].low; }
double TPlot3D::RangeXHigh() const { return d_->settings.axes[0].high; }
double TPlot3D::RangeYLow() const { return d_->settings.axes[1].low; }
double TPlot3D::RangeYHigh() const { return d_->settings.axes[1].high; }
double TPlot3D::RangeZLow() const { return d_->settings.axes[2].low; }
double TPlot3D::RangeZHigh() const { return d_->settings.axes[2].high; }
QString TPlot3D::AxisTitle(int axis) const {
  if (axis < 0 || axis > 2) return {};
  return QString::fromStdString(d_->settings.axisTitles[static_cast<std::size_t>(axis)]);
}

void TPlot3D::SetAxisTitle(int axis, const QString& title) {
  if (axis < 0 || axis > 2) return;
  d_->settings.axisTitles[static_cast<std::size_t>(axis)] = title.toStdString();
  Changed();
}

void TPlot3D::SetRangeXLow(double v) { d_->settings.axes[0].low = Finite(v, 0); Changed(); }
void TPlot3D::SetRangeXHigh(double v) { d_->settings.axes[0].high = Finite(v, 1); Changed(); }
void TPlot3D::SetRangeYLow(double v) { d_->settings.axes[1].low = Finite(v, 0); Changed(); }
void TPlot3D::SetRangeYHigh(double v) { d_->settings.axes[1].high = Finite(v, 1); Changed(); }
void TPlot3D::SetRangeZLow(double v) { d_->settings.axes[2].low = Finite(v, 0); Changed(); }
void TPlot3D::SetRangeZHigh(double v) { d_->settings.axes[2].high = Finite(v, 1); Changed(); }

KOLMA_PLOT3D_PROPERTY(TColorCodingMode, ColorCodingMode, colorCodingMode, Same)
KOLMA_PLOT3D_COLOR(ColorLow, colorLow)
KOLMA_PLOT3D_COLOR(ColorMid, colorMid)
KOLMA_PLOT3D_COLOR(ColorHigh, colorHigh)
double TPlot3D::ColorScaleLow() const { return d_->settings.colorScaleLow; }
double TPlot3D::ColorScaleHigh() const { return d_->settings.colorScaleHigh; }
void TPlot3D::SetColorScaleLow(double v) { d_->settings.colorScaleLow = Finite(v, 0); Changed(); }
void TPlot3D::SetColorScaleHigh(double v) { d_->settings.colorScaleHigh = Finite(v, 1); Changed(); }
KOLMA_PLOT3D_PROPERTY(bool, ColorCodeAvg, colorCodeAvg, Same)

KOLMA_PLOT3D_PROPERTY(TBoundBoxStyle, BoundBoxStyle, boundBoxStyle, Same)
KOLMA_PLOT3D_COLOR(ColorCubeFrame, colorCubeFrame)
KOLMA_PLOT3D_COLOR(ColorCubeHidLin, colorCubeHidLin)
KOLMA_PLOT3D_COLOR(ColorCubeFaceLow, colorCubeFaceLow)
KOLMA_PLOT3D_COLOR(ColorCubeFaceHigh, colorCubeFaceHigh)

KOLMA_PLOT3D_PROPERTY(bool, VisibleXCoords, axes[0].visible, Same)
KOLMA_PLOT3D_PROPERTY(bool, VisibleYCoords, axes[1].visible, Same)
KOLMA_PLOT3D_PROPERTY(bool, VisibleZCoords, axes[2].visible, Same)
KOLMA_PLOT3D_COLOR(ColorXCoords, axes[0].color)
KOLMA_PLOT3D_COLOR(ColorYCoords, axes[1].color)
KOLMA_PLOT3D_COLOR(ColorZCoords, axes[2].color)

namespace {
int Decimals(int d) { return std::clamp(d, 0, 10); }
int TickCount(int n) { return std::clamp(n, 1, 20); }
double ScaleFactor(double v) { return std::clamp(Finite(v, 1), 0.01, 100.0); }
double Magnified(double v) { return std::clamp(Finite(v, 1), TPlot3D::MinMagnification, TPlot3D::MaxMagnification); }
}  // namespace

KOLMA_PLOT3D_PROPERTY(int, DecPlaceX, axes[0].decPlace, Decimals)
KOLMA_PLOT3D_PROPERTY(int, DecPlaceY, axes[1].decPlace, Decimals)
KOLMA_PLOT3D_PROPERTY(int, DecPlaceZ, axes[2].decPlace, Decimals)
KOLMA_PLOT3D_PROPERTY(int, MinTickX, axes[0].minTick, TickCount)
KOLMA_PLOT3D_PROPERTY(int, MinTickY, axes[1].minTick, TickCount)
KOLMA_PLOT3D_PROPERTY(int, MinTickZ, axes[2].minTick, TickCount)

KOLMA_PLOT3D_PROPERTY(double, ViewAngleX, viewAngleX, WrapDegrees)
KOLMA_PLOT3D_PROPERTY(double, ViewAngleZ, viewAngleZ, WrapDegrees)
KOLMA_PLOT3D_PROPERTY(double, Magnification, magnification, Magnified)
KOLMA_PLOT3D_PROPERTY(double, ScaleFactX, axes[0].scaleFact, ScaleFactor)
KOLMA_PLOT3D_PROPERTY(double, ScaleFactY, axes[1].scaleFact, ScaleFactor)
KOLMA_PLOT3D_PROPERTY(double, ScaleFactZ, axes[2].scaleFact, ScaleFactor)
KOLMA_PLOT3D_PROPERTY(int, CentX, centX, Same)
KOLMA_PLOT3D_PROPERTY(int, CentY, centY, Same)

KOLMA_PLOT3D_COLOR(ColorBakGnd, colorBakGnd)
KOLMA_PLOT3D_COLOR(ColorMesh, colorMesh)
KOLMA_PLOT3D_PROPERTY(bool, MeshVisible, meshVisible, Same)

#undef KOLMA_PLOT3D_COLOR
#undef KOLMA_PLOT3D_PROPERTY

T3DMouseAction TPlot3D::MouseAction() const { return d_->mouseAction; }
void TPlot3D::SetMouseAction(T3DMouseAction action) { d_->mouseAction = action; }

void TPlot3D::SuspendPainting(bool suspend) {
  const bool resume = d_->suspended && !suspend;
  d_->suspended = suspend;
  if (resume) update();
}

bool TPlot3D::PaintingSuspended() const { return d_->suspended; }

void TPlot3D::ResetView() {
  TPlot3DSettings& s = d_->settings;
  s.centX = width() / 2;
  s.centY = height() / 2;
  s.viewAngleX = 66;
  s.viewAngleZ = 135;
  for (TPlot3DAxis& a : s.axes) a.scaleFact = 1;
  s.magnification = 1;
  Changed();
}

void TPlot3D::Paint(TCanvas& canvas) const { TPlot3DScene(d_->settings, d_->grid, width(), height()).Paint(canvas); }

TMetafileCanvas TPlot3D::RenderMetafile() const {
  TMetafileCanvas metafile(std::max(width(), 1), std::max(height(), 1));
  TPlot3DScene(d_->settings, d_->grid, width(), height()).Paint(metafile, true);
  return metafile;
}

QImage TPlot3D::RenderImage() const {
  QImage image(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
  QPainter painter(&image);
  TPainterCanvas canvas(painter);
  Paint(canvas);
  return image;
}

void TPlot3D::CopyMetafileToClipboard() {
  const std::vector<std::uint8_t> bytes = RenderMetafile().PlaceableBytes();
  auto* data = new QMimeData;
  data->setData("image/x-wmf",
                QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
  data->setImageData(RenderImage());
  QApplication::clipboard()->setMimeData(data);
}

TMetafileExport TPlot3D::ExportMetafile(const QString& fileName) {
  return kolma::ExportMetafile(FileSystemPath(fileName), RenderMetafile());
}

QSize TPlot3D::sizeHint() const { return {405, 450}; }
QSize TPlot3D::minimumSizeHint() const { return {200, 200}; }

void TPlot3D::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TPainterCanvas canvas(painter);
  Paint(canvas);
}

void TPlot3D::mousePressEvent(QMouseEvent* event) {
  const bool left = event->button() == Qt::LeftButton;
  const bool rightZoom = event->button() == Qt::RightButton && d_->mouseAction == T3DMouseAction::maRotAndZoom;
  if (d_->button != Qt::NoButton || d_->mouseAction == T3DMouseAction::maNone || !(left || rightZoom)) {
    QWidget::mousePressEvent(event);
    return;
  }
  d_->button = event->button();
  d_->pressPoint = event->position().toPoint();
  d_->atPress = d_->settings;
  event->accept();
}

void TPlot3D::mouseMoveEvent(QMouseEvent* event) {
  if (d_->button == Qt::NoButton) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  const QPoint delta = event->position().toPoint() - d_->pressPoint;
  const double dx = delta.x(), dy = delta.y();
  const double w = std::max(width(), 1), h = std::max(height(), 1);
  const TPlot3DSettings& start = d_->atPress;
  TPlot3DSettings& s = d_->settings;
  T3DMouseAction action = d_->mouseAction;
  if (action == T3DMouseAction::maRotAndZoom)
    action = d_->button == Qt::RightButton ? T3DMouseAction::maZoom : T3DMouseAction::maRotate;
  switch (action) {
    case T3DMouseAction::maRotate:
      s.viewAngleZ = WrapDegrees(start.viewAngleZ + 360.0 * dx / w);
      {
        // The tilt stays within the half turn it started in: above the box, or below it.
        const double from = start.viewAngleX <= 180 ? 0.0 : 180.0;
        s.viewAngleX = std::clamp(start.viewAngleX + 360.0 * dy / h, from, from + 180.0);
      }
      break;
    case T3DMouseAction::maRotXOnly:
      s.viewAngleX = WrapDegrees(start.viewAngleX + 360.0 * dy / h);
      break;
    case T3DMouseAction::maRotZOnly:
      s.viewAngleZ = WrapDegrees(start.viewAngleZ - 360.0 * dx / w);
      break;
    case T3DMouseAction::maZoom: {
      const double factor = 1 + kZoomPerHeight * std::abs(dy) / h;
      s.magnification = Magnified(dy < 0 ? start.magnification * factor : start.magnification / factor);
      break;
    }
    case T3DMouseAction::maPan:
      s.centX = start.centX + delta.x();
      s.centY = start.centY + delta.y();
      break;
    default:
      return;
  }
  Changed();
  emit OnMouseAction(s.centX, s.centY, s.viewAngleX, s.viewAngleZ, s.magnification, event->modifiers());
}

void TPlot3D::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == d_->button) d_->button = Qt::NoButton;
  QWidget::mouseReleaseEvent(event);
}

}  // namespace kolma::ui
