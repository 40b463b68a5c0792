#include "ui/widgets/painter_canvas.h"

#include <QFontMetrics>
#include <QPolygon>

namespace kolma::ui {
namespace {

QPoint ToQt(TPoint p) { return QPoint(p.x, p.y); }

QPolygon ToQt(std::span<const TPoint> points) {
  QPolygon polygon;
  polygon.reserve(static_cast<int>(points.size()));
  for (const TPoint& p : points) polygon << ToQt(p);
  return polygon;
}

Qt::PenStyle ToQt(TPenStyle style) {
  switch (style) {
    case TPenStyle::Solid: return Qt::SolidLine;
    case TPenStyle::Dash: return Qt::DashLine;
    case TPenStyle::Dot: return Qt::DotLine;
    case TPenStyle::DashDot: return Qt::DashDotLine;
    case TPenStyle::DashDotDot: return Qt::DashDotDotLine;
    case TPenStyle::None: return Qt::NoPen;
  }
  return Qt::SolidLine;
}

}  // namespace

TPainterCanvas::TPainterCanvas(QPainter& painter) : painter_(painter) {
  painter_.save();
  SetPen(TPen{});
  SetBrush(TBrush{});
  SetFont(TFont{});
}

TPainterCanvas::~TPainterCanvas() { painter_.restore(); }

void TPainterCanvas::SetPen(const TPen& pen) {
  QPen qpen(ToQt(pen.color), pen.width <= 1 ? 0 : pen.width, ToQt(pen.style));
  painter_.setPen(qpen);
}

void TPainterCanvas::SetBrush(const TBrush& brush) {
  painter_.setBrush(brush.style == TBrushStyle::None ? QBrush(Qt::NoBrush) : QBrush(ToQt(brush.color)));
}

void TPainterCanvas::SetFont(const TFont& font) {
  QFont qfont(QString::fromStdString(font.family));
  qfont.setPixelSize(std::max(font.height, 1));
  qfont.setBold(font.bold);
  painter_.setFont(qfont);
  textColor_ = ToQt(font.color);
}

void TPainterCanvas::MoveTo(TPoint point) { position_ = ToQt(point); }

void TPainterCanvas::LineTo(TPoint point) {
  painter_.drawLine(position_, ToQt(point));
  position_ = ToQt(point);
}

void TPainterCanvas::Polyline(std::span<const TPoint> points) { painter_.drawPolyline(ToQt(points)); }

void TPainterCanvas::Polygon(std::span<const TPoint> points) { painter_.drawPolygon(ToQt(points)); }

void TPainterCanvas::Rectangle(int left, int top, int right, int bottom) {
  const TPoint corners[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  Polygon(corners);
}

void TPainterCanvas::Text(TPoint point, std::string_view text, TTextAlign align) {
  const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QFontMetrics metrics(painter_.font());
  int x = point.x;
  if (align.horizontal == THorizontalAlign::Center) x -= metrics.horizontalAdvance(string) / 2;
  if (align.horizontal == THorizontalAlign::Right) x -= metrics.horizontalAdvance(string);
  int y = point.y;  // the baseline
  if (align.vertical == TVerticalAlign::Top) y += metrics.ascent();
  if (align.vertical == TVerticalAlign::Bottom) y -= metrics.descent();
  const QPen pen = painter_.pen();
  painter_.setPen(textColor_);
  painter_.drawText(QPoint(x, y), string);
  painter_.setPen(pen);
}

QColor ToQt(TColor c) { return QColor(c.red, c.green, c.blue); }

TColor ToCore(const QColor& c) {
  const auto channel = [](int v) { return static_cast<std::uint8_t>(v); };
  return {channel(c.red()), channel(c.green()), channel(c.blue())};
}

}  // namespace kolma::ui
