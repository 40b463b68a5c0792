#include "ui/dialogs/generator_diagrams.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <functional>
#include <numbers>

namespace kolma::ui {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kHead = 4.0;  // arrow head length, pixels

// A dimension line with a head at both ends.
void Dimension(QPainter& p, QPointF a, QPointF b) {
  p.drawLine(a, b);
  const QLineF line(a, b);
  for (const auto& [tip, angle] : {std::pair{a, line.angle() + 180.0}, std::pair{b, line.angle()}}) {
    QLineF wing = QLineF::fromPolar(kHead, angle + 150.0);
    QLineF other = QLineF::fromPolar(kHead, angle - 150.0);
    p.drawLine(tip, tip + wing.p2());
    p.drawLine(tip, tip + other.p2());
  }
}

// Text centred on a point, or with its left or right edge there.
void Label(QPainter& p, QPointF at, const QString& text, Qt::Alignment horizontal = Qt::AlignHCenter) {
  const QRectF box(at.x() - 100, at.y() - 10, 200, 20);
  QRectF placed = box;
  if (horizontal == Qt::AlignLeft) placed.moveLeft(at.x());
  if (horizontal == Qt::AlignRight) placed.moveRight(at.x());
  p.drawText(placed, static_cast<int>(horizontal | Qt::AlignVCenter), text);
}

// The curve of f over the fractions 0..end of the width of `area`, f giving a fraction of
// its height from the bottom.
QPolygonF Curve(const QRectF& area, const std::function<double(double)>& f, double end = 1.0) {
  QPolygonF points;
  const int steps = std::max(2, static_cast<int>(end * area.width()));
  for (int i = 0; i <= steps; ++i) {
    const double u = end * i / steps;
    points << QPointF(area.left() + u * area.width(), area.bottom() - f(u) * area.height());
  }
  return points;
}

}  // namespace

TGeneratorDiagram::TGeneratorDiagram(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
  setMinimumSize(sizeHint());
  setAccessibleName(kind == WithoutIceCover ? QStringLiteral("Sketch of the function without ice cover")
                                            : QStringLiteral("Sketch of the function with ice cover"));
}

void TGeneratorDiagram::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QFont small = font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  p.setFont(small);
  const QColor ink = palette().color(QPalette::WindowText);
  const QPen axisPen(ink, 1.0);
  const QPen curvePen(palette().color(QPalette::Highlight), 1.6);
  QPen meanPen(ink, 1.0, Qt::DashLine);

  // The time axis at the bottom is 0 °C; the mean sits at 40 % of the height.
  const QRectF area = QRectF(rect()).adjusted(28, 14, -10, -22);
  const double mean = 0.4;
  const auto y = [&](double fraction) { return area.bottom() - fraction * area.height(); };
  const auto x = [&](double fraction) { return area.left() + fraction * area.width(); };

  p.setPen(axisPen);
  Dimension(p, QPointF(area.left(), area.bottom()), QPointF(area.left(), area.top() - 8));
  p.drawLine(QPointF(area.left(), area.bottom()), QPointF(area.right(), area.bottom()));
  p.setPen(meanPen);
  // Without ice cover the magnified daily wave takes the right end.
  const double meanEnd = kind_ == WithoutIceCover ? x(0.74) : area.right();
  p.drawLine(QPointF(area.left(), y(mean)), QPointF(meanEnd, y(mean)));
  p.setPen(axisPen);
  Dimension(p, QPointF(x(0.03), area.bottom()), QPointF(x(0.03), y(mean)));
  Label(p, QPointF(x(0.03) + 4, y(mean / 2)), QStringLiteral("A0"), Qt::AlignLeft);

  if (kind_ == WithoutIceCover) {
    // One annual period over half the width, starting at the phase, a daily ripple on it,
    // and the daily wave magnified on the right.
    const double phase = 0.14, period = 0.5, a1 = 0.3;
    p.setPen(curvePen);
    p.drawPolyline(Curve(
        area,
        [&](double u) {
          return mean + a1 * std::sin(2 * kPi * (u - phase) / period) + 0.03 * std::sin(2 * kPi * u * 36 - kPi / 2);
        },
        0.72));
    p.setPen(axisPen);
    const double crest = phase + period / 4;
    Dimension(p, QPointF(x(crest), y(mean)), QPointF(x(crest), y(mean + a1)));
    Label(p, QPointF(x(crest) + 4, y(mean + a1 / 2)), QStringLiteral("A1"), Qt::AlignLeft);
    Dimension(p, QPointF(x(0), y(mean) - 8), QPointF(x(phase), y(mean) - 8));
    Label(p, QPointF(x(phase / 2), y(mean) - 17), QStringLiteral("d"));
    Dimension(p, QPointF(x(phase), area.bottom() + 10), QPointF(x(phase + period), area.bottom() + 10));
    Label(p, QPointF(x(phase + period / 2), area.bottom() + 18), QStringLiteral("T (annual)"));

    const QRectF day(x(0.77), area.top() + 12, area.width() * 0.2, area.height() * 0.4);
    p.setPen(curvePen);
    p.drawPolyline(Curve(day, [](double u) { return 0.5 + 0.5 * std::sin(2 * kPi * u - kPi / 2); }));
    p.setPen(axisPen);
    Dimension(p, QPointF(day.center().x(), day.center().y()), QPointF(day.center().x(), day.top()));
    Label(p, QPointF(day.center().x() - 3, day.top() + 10), QStringLiteral("A2"), Qt::AlignRight);
    Dimension(p, QPointF(day.left(), day.bottom() + 6), QPointF(day.right(), day.bottom() + 6));
    Label(p, QPointF(day.center().x(), day.bottom() + 14), QStringLiteral("T (daily)"));
    Label(p, QPointF(day.center().x(), day.top() - 6), QStringLiteral("12h"));
    Label(p, QPointF(day.right(), day.bottom() - 6), QStringLiteral("24h"), Qt::AlignLeft);
  } else {
    // Constant at A0 but for one half sine, the warm season, from d to d + T2.
    const double phase = 0.25, warm = 0.45, a1 = 0.45;
    p.setPen(curvePen);
    p.drawPolyline(Curve(area, [&](double u) {
      const bool season = u >= phase && u <= phase + warm;
      return season ? mean + a1 * std::sin(kPi * (u - phase) / warm) : mean;
    }));
    p.setPen(axisPen);
    const double crest = phase + warm / 2;
    Dimension(p, QPointF(x(crest), y(mean)), QPointF(x(crest), y(mean + a1)));
    Label(p, QPointF(x(crest) + 4, y(mean + a1 / 2)), QStringLiteral("A1"), Qt::AlignLeft);
    Dimension(p, QPointF(x(0), y(mean) - 8), QPointF(x(phase), y(mean) - 8));
    Label(p, QPointF(x(phase / 2), y(mean) - 17), QStringLiteral("d"));
    Dimension(p, QPointF(x(phase), y(mean) + 8), QPointF(x(phase + warm), y(mean) + 8));
    Label(p, QPointF(x(crest), y(mean) + 17), QStringLiteral("T2"));
    Dimension(p, QPointF(x(0), area.bottom() + 10), QPointF(x(1), area.bottom() + 10));
    Label(p, QPointF(x(0.5), area.bottom() + 18), QStringLiteral("T"));
  }
}

}  // namespace kolma::ui
