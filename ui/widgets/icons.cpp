#include "ui/widgets/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QRectF>
#include <algorithm>
#include <cmath>

namespace kolma::ui {
namespace {

const QColor kInk(52, 64, 78);
const QColor kBlue(47, 111, 196);
const QColor kLightBlue(170, 205, 240);
const QColor kWater(92, 160, 225);
const QColor kConcrete(184, 188, 194);
const QColor kGreen(40, 150, 70);
const QColor kRed(214, 52, 52);
const QColor kFolderBack(226, 172, 52);
const QColor kFolderFront(248, 206, 96);
const QColor kFolderInk(160, 108, 20);

QPen Pen(const QColor& color, double width = 1.6) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void ArrowHead(QPainter& p, QPointF tip, QPointF from, double size) {
  const QPointF d = tip - from;
  const double len = std::hypot(d.x(), d.y());
  if (len <= 0) return;
  const QPointF u = d / len;
  const QPointF n(-u.y(), u.x());
  QPolygonF head;
  head << tip << tip - u * size + n * size * 0.6 << tip - u * size - n * size * 0.6;
  p.drawPolygon(head);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, double width = 2.2) {
  p.setPen(Pen(color, width));
  const QPointF d = to - from;
  const double len = std::hypot(d.x(), d.y());
  p.drawLine(from, to - d / len * 3.0);
  p.setBrush(color);
  p.setPen(Pen(color, 1.0));
  ArrowHead(p, to, from, 6.0);
}

// The dam body: vertical upstream face at x0, sloping downstream face.
QPolygonF DamProfile(double x0, double top, double crest, double bottom, double base) {
  QPolygonF dam;
  dam << QPointF(x0, top) << QPointF(x0 + crest, top) << QPointF(x0 + base, bottom) << QPointF(x0, bottom);
  return dam;
}

void PaintThermometer(QPainter& p, QPointF bulb, double height, const QColor& liquid) {
  const double w = height * 0.22;
  p.setPen(Pen(kInk, 1.2));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(bulb.x() - w / 2, bulb.y() - height, w, height), w / 2, w / 2);
  p.setBrush(liquid);
  p.drawEllipse(bulb, w * 0.95, w * 0.95);
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(bulb.x() - w * 0.2, bulb.y() - height * 0.65, w * 0.4, height * 0.65));
}

void PaintAxes(QPainter& p) {
  p.setPen(Pen(kInk, 1.6));
  p.drawLine(QPointF(5, 4), QPointF(5, 27));
  p.drawLine(QPointF(5, 27), QPointF(29, 27));
}

void PaintFloppy(QPainter& p, const QRectF& r) {
  const double s = r.width() / 24.0;
  auto at = [&](double x, double y) { return QPointF(r.left() + x * s, r.top() + y * s); };
  QPainterPath body;
  body.moveTo(at(2, 0));
  body.lineTo(at(20, 0));
  body.lineTo(at(24, 4));
  body.lineTo(at(24, 22));
  body.quadTo(at(24, 24), at(22, 24));
  body.lineTo(at(2, 24));
  body.quadTo(at(0, 24), at(0, 22));
  body.lineTo(at(0, 2));
  body.quadTo(at(0, 0), at(2, 0));
  p.setPen(Pen(kInk.darker(110), 1.3));
  p.setBrush(kBlue);
  p.drawPath(body);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(226, 231, 236));
  p.drawRect(QRectF(at(5, 0), at(18, 8)));
  p.setBrush(kInk);
  p.drawRect(QRectF(at(13.5, 1.5), at(16, 6.5)));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(at(4, 12), at(20, 24)), 1.2 * s, 1.2 * s);
  p.setPen(Pen(kLightBlue, 1.2 * s));
  p.drawLine(at(7, 16), at(17, 16));
  p.drawLine(at(7, 19.5), at(17, 19.5));
}

void PaintMagnifier(QPainter& p, QPointF centre, double radius) {
  const QPointF handleStart = centre + QPointF(radius * 0.72, radius * 0.72);
  p.setPen(QPen(kInk, 4.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(handleStart, centre + QPointF(radius * 1.75, radius * 1.75));
  p.setPen(Pen(kInk, 2.2));
  p.setBrush(QColor(225, 238, 252));
  p.drawEllipse(centre, radius, radius);
}

void PaintGear(QPainter& p, QPointF c, double outer, double inner, int teeth) {
  QPainterPath gear;
  for (int i = 0; i < teeth * 2; ++i) {
    const double r = (i % 2 == 0) ? outer : inner;
    const double a0 = (i - 0.5) * M_PI / teeth;
    const double a1 = (i + 0.5) * M_PI / teeth;
    const QPointF p0 = c + QPointF(r * std::cos(a0), r * std::sin(a0));
    const QPointF p1 = c + QPointF(r * std::cos(a1), r * std::sin(a1));
    if (i == 0) gear.moveTo(p0); else gear.lineTo(p0);
    gear.lineTo(p1);
  }
  gear.closeSubpath();
  gear.addEllipse(c, inner * 0.42, inner * 0.42);
  gear.setFillRule(Qt::OddEvenFill);
  p.setPen(Pen(kInk, 1.3));
  p.setBrush(QColor(150, 160, 172));
  p.drawPath(gear);
}

void PaintRoundBadge(QPainter& p, const QColor& color, const QString& glyph) {
  QRadialGradient g(QPointF(13, 11), 16);
  g.setColorAt(0, color.lighter(135));
  g.setColorAt(1, color);
  p.setPen(Pen(color.darker(130), 1.2));
  p.setBrush(g);
  p.drawEllipse(QPointF(16, 16), 13, 13);
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(19);
  f.setFamily(QStringLiteral("DejaVu Serif"));
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, glyph);
}

void PaintWave(QPainter& p, double x0, double x1, double y, double amplitude, double period) {
  QPainterPath wave;
  wave.moveTo(x0, y);
  for (double x = x0; x <= x1; x += 0.5) wave.lineTo(x, y - amplitude * std::sin((x - x0) * 2 * M_PI / period));
  p.drawPath(wave);
}

}  // namespace

void PaintIcon(QPainter& p, TIconKind kind, const QRectF& box) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(box.topLeft());
  p.scale(box.width() / 32.0, box.height() / 32.0);

  switch (kind) {
    case TIconKind::Open: {
      QPainterPath back;
      back.moveTo(3, 7);
      back.lineTo(11, 7);
      back.lineTo(14, 10);
      back.lineTo(26, 10);
      back.lineTo(26, 26);
      back.lineTo(3, 26);
      back.closeSubpath();
      p.setPen(Pen(kFolderInk, 1.3));
      p.setBrush(kFolderBack);
      p.drawPath(back);
      QPolygonF front;
      front << QPointF(8, 14) << QPointF(30, 14) << QPointF(26, 26) << QPointF(3, 26);
      p.setBrush(kFolderFront);
      p.drawPolygon(front);
      break;
    }
    case TIconKind::Save:
      PaintFloppy(p, QRectF(4, 4, 24, 24));
      break;
    case TIconKind::SaveAs: {
      PaintFloppy(p, QRectF(2, 2, 22, 22));
      p.translate(22, 22);
      p.rotate(45);
      p.setPen(Pen(kInk, 1.2));
      p.setBrush(QColor(250, 200, 70));
      p.drawRect(QRectF(-2.5, -11, 5, 14));
      p.setBrush(QColor(240, 150, 150));
      p.drawRect(QRectF(-2.5, -13, 5, 2));
      QPolygonF tip;
      tip << QPointF(-2.5, 3) << QPointF(2.5, 3) << QPointF(0, 8);
      p.setBrush(QColor(240, 220, 190));
      p.drawPolygon(tip);
      break;
    }
    case TIconKind::Exit: {
      p.setPen(Pen(kInk, 1.5));
      p.setBrush(QColor(230, 233, 238));
      p.drawRect(QRectF(5, 3, 15, 26));
      QPolygonF door;
      door << QPointF(5, 3) << QPointF(14, 6) << QPointF(14, 31) << QPointF(5, 29);
      p.setBrush(QColor(160, 118, 80));
      p.drawPolygon(door);
      p.setBrush(kInk);
      p.drawEllipse(QPointF(11.8, 17), 0.9, 0.9);
      Arrow(p, QPointF(17, 16), QPointF(30, 16), kRed, 2.6);
      break;
    }
    case TIconKind::MouseNone: {
      QPolygonF cursor;
      cursor << QPointF(9, 3) << QPointF(9, 25) << QPointF(14, 20.5) << QPointF(18, 29) << QPointF(21.5, 27.5)
             << QPointF(17.5, 19) << QPointF(24, 19);
      p.setPen(Pen(kInk, 1.6));
      p.setBrush(Qt::white);
      p.drawPolygon(cursor);
      break;
    }
    case TIconKind::Pan: {
      const QPointF c(16, 16);
      Arrow(p, c, QPointF(16, 2), kBlue);
      Arrow(p, c, QPointF(16, 30), kBlue);
      Arrow(p, c, QPointF(2, 16), kBlue);
      Arrow(p, c, QPointF(30, 16), kBlue);
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawEllipse(c, 2.4, 2.4);
      break;
    }
    case TIconKind::Zoom: {
      PaintMagnifier(p, QPointF(13, 13), 9);
      p.setPen(Pen(kBlue, 2.4));
      p.drawLine(QPointF(8.5, 13), QPointF(17.5, 13));
      p.drawLine(QPointF(13, 8.5), QPointF(13, 17.5));
      break;
    }
    case TIconKind::Drag: {
      PaintMagnifier(p, QPointF(13, 13), 9);
      p.setBrush(kBlue);
      p.setPen(Pen(kBlue, 1.8));
      p.drawLine(QPointF(13, 8.5), QPointF(13, 17.5));
      p.setPen(Pen(kBlue, 1.0));
      ArrowHead(p, QPointF(13, 6.2), QPointF(13, 13), 4.0);
      ArrowHead(p, QPointF(13, 19.8), QPointF(13, 13), 4.0);
      break;
    }
    case TIconKind::Section: {
      p.setPen(Qt::NoPen);
      p.setBrush(kWater);
      p.drawRect(QRectF(1, 9, 6, 20));
      p.setPen(Pen(kInk, 1.3));
      p.setBrush(kConcrete);
      p.drawPolygon(DamProfile(7, 3, 6, 29, 22));
      p.setPen(Pen(kInk, 1.2));
      p.drawLine(QPointF(7, 20), QPointF(23, 20));
      p.setPen(Pen(kRed, 1.6));
      for (double x : {7.0, 11.0, 15.0, 19.0, 23.0}) {
        p.drawLine(QPointF(x - 1.8, 18.2), QPointF(x + 1.8, 21.8));
        p.drawLine(QPointF(x - 1.8, 21.8), QPointF(x + 1.8, 18.2));
      }
      break;
    }
    case TIconKind::Upstream: {
      p.setPen(Qt::NoPen);
      p.setBrush(kWater);
      p.drawRect(QRectF(1, 10, 16, 19));
      p.setPen(Pen(kConcrete.darker(150), 1.3));
      p.setBrush(kConcrete);
      p.drawPolygon(DamProfile(17, 3, 5, 29, 14));
      p.setPen(Pen(Qt::white, 1.4));
      PaintWave(p, 2, 15, 14, 1.2, 6.5);
      PaintWave(p, 2, 15, 20, 1.2, 6.5);
      PaintThermometer(p, QPointF(9, 25), 15, kRed);
      break;
    }
    case TIconKind::Downstream: {
      p.setPen(Pen(kConcrete.darker(150), 1.3));
      p.setBrush(kConcrete);
      p.drawPolygon(DamProfile(2, 3, 4, 29, 14));
      p.setPen(Pen(QColor(235, 150, 20), 1.4));
      for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        p.drawLine(QPointF(24 + 5.5 * std::cos(a), 8 + 5.5 * std::sin(a)),
                   QPointF(24 + 7.5 * std::cos(a), 8 + 7.5 * std::sin(a)));
      }
      p.setBrush(QColor(252, 200, 40));
      p.drawEllipse(QPointF(24, 8), 4, 4);
      PaintThermometer(p, QPointF(22, 27), 13, kRed);
      break;
    }
    case TIconKind::Inside: {
      p.setPen(Pen(kInk, 1.3));
      p.setBrush(kConcrete);
      p.drawPolygon(DamProfile(4, 3, 6, 29, 24));
      p.setPen(Pen(kGreen, 1.6));
      p.setBrush(Qt::NoBrush);
      const QPointF c(11, 20);
      const double r = 5;
      p.drawEllipse(c, r, r);
      p.drawLine(c + QPointF(0, -r), c + QPointF(0, r));
      const double d = r * std::cos(M_PI / 4);
      p.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
      p.drawLine(c + QPointF(d, -d), c + QPointF(-d, d));
      break;
    }
    case TIconKind::Options:
      PaintGear(p, QPointF(16, 16), 13, 9.5, 8);
      break;
    case TIconKind::StartAnalysis: {
      QRadialGradient g(QPointF(13, 11), 16);
      g.setColorAt(0, kGreen.lighter(140));
      g.setColorAt(1, kGreen);
      p.setPen(Pen(kGreen.darker(130), 1.2));
      p.setBrush(g);
      p.drawEllipse(QPointF(16, 16), 13, 13);
      QPolygonF play;
      play << QPointF(12.5, 9) << QPointF(23, 16) << QPointF(12.5, 23);
      p.setPen(Pen(Qt::white, 1.0));
      p.setBrush(Qt::white);
      p.drawPolygon(play);
      break;
    }
    case TIconKind::Harmonics: {
      PaintAxes(p);
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      const double heights[] = {20, 8, 14, 5, 9, 3};
      for (int i = 0; i < 6; ++i) p.drawRect(QRectF(8 + i * 3.6, 27 - heights[i], 2.4, heights[i]));
      break;
    }
    case TIconKind::ProfileChart: {
      PaintAxes(p);
      p.setPen(Pen(kRed, 2.0));
      QPainterPath curve;
      curve.moveTo(7, 8);
      curve.cubicTo(13, 24, 21, 24, 28, 10);
      p.drawPath(curve);
      p.setPen(Pen(kBlue, 1.4));
      p.drawLine(QPointF(7, 18), QPointF(28, 16));
      break;
    }
    case TIconKind::TimeChart: {
      PaintAxes(p);
      p.setPen(Pen(kBlue, 2.0));
      PaintWave(p, 6, 29, 16, 7, 13);
      break;
    }
    case TIconKind::Decomposition: {
      PaintAxes(p);
      p.setPen(Pen(kBlue, 1.8));
      p.drawLine(QPointF(7, 12), QPointF(29, 12));
      p.setPen(Pen(kGreen, 1.8));
      p.drawLine(QPointF(7, 24), QPointF(29, 6));
      p.setPen(Pen(kRed, 1.8));
      PaintWave(p, 6, 29, 19, 3, 11);
      break;
    }
    case TIconKind::Surface3D: {
      // A small height field seen from above at an angle, drawn back to front.
      constexpr int n = 5;
      auto height = [](int i, int j) { return 4.5 * std::sin(i * 0.9) * std::cos(j * 0.8) + 1.5; };
      auto at = [&](int i, int j) {
        return QPointF(3 + i * 4.2 + j * 1.6, 25 - j * 3.0 + i * 0.6 - height(i, j));
      };
      p.setPen(Pen(kInk, 0.8));
      for (int j = n - 1; j >= 0; --j)
        for (int i = 0; i < n; ++i) {
          QPolygonF quad;
          quad << at(i, j) << at(i + 1, j) << at(i + 1, j + 1) << at(i, j + 1);
          const double h = (height(i, j) + height(i + 1, j + 1)) / 2;
          p.setBrush(QColor::fromHsvF(std::clamp(0.62 - h * 0.07, 0.0, 0.66), 0.65, 0.95));
          p.drawPolygon(quad);
        }
      break;
    }
    case TIconKind::Spreadsheet: {
      p.setPen(Pen(kInk, 1.3));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(3, 4, 26, 24));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(110, 175, 110));
      p.drawRect(QRectF(3.6, 4.6, 24.8, 5.4));
      p.setPen(Pen(kInk.lighter(180), 1.0));
      for (double y : {16.0, 22.0}) p.drawLine(QPointF(3, y), QPointF(29, y));
      for (double x : {11.0, 20.0}) p.drawLine(QPointF(x, 10), QPointF(x, 28));
      p.setPen(Pen(kInk, 1.3));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(3, 4, 26, 24));
      p.drawLine(QPointF(3, 10), QPointF(29, 10));
      break;
    }
    case TIconKind::Compare: {
      PaintAxes(p);
      p.setPen(Pen(kBlue, 2.0));
      PaintWave(p, 6, 29, 15, 6, 14);
      QPen dashed = Pen(kRed, 1.8);
      dashed.setDashPattern({2.0, 1.5});
      p.setPen(dashed);
      PaintWave(p, 6, 29, 17, 5, 13);
      break;
    }
    case TIconKind::About:
      PaintRoundBadge(p, kBlue, QStringLiteral("i"));
      break;
    case TIconKind::Help:
      PaintRoundBadge(p, QColor(120, 130, 145), QStringLiteral("?"));
      break;
  }
  p.restore();
}

QIcon KolmaIcon(TIconKind kind) {
  QIcon icon;
  for (int size : {16, 20, 24, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    PaintIcon(painter, kind, QRectF(0, 0, size, size));
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QImage KolmaLogo(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);

  QLinearGradient sky(0, 0, 0, 64);
  sky.setColorAt(0, QColor(84, 150, 222));
  sky.setColorAt(1, QColor(28, 72, 140));
  p.setPen(Qt::NoPen);
  p.setBrush(sky);
  p.drawRoundedRect(QRectF(1, 1, 62, 62), 12, 12);

  QPainterPath clip;
  clip.addRoundedRect(QRectF(1, 1, 62, 62), 12, 12);
  p.setClipPath(clip);
  p.setBrush(QColor(120, 190, 245));
  p.drawRect(QRectF(0, 24, 20, 40));
  p.setPen(QPen(QColor(230, 244, 255), 2.0, Qt::SolidLine, Qt::RoundCap));
  PaintWave(p, 2, 18, 29, 1.6, 8);

  QLinearGradient concrete(18, 0, 60, 0);
  concrete.setColorAt(0, QColor(236, 238, 240));
  concrete.setColorAt(1, QColor(170, 176, 184));
  p.setPen(QPen(QColor(60, 70, 84), 1.5));
  p.setBrush(concrete);
  p.drawPolygon(DamProfile(18, 8, 9, 64, 46));

  // The section through the dam with its nodes, as the program draws it.
  p.setPen(QPen(QColor(40, 40, 40), 1.6));
  p.drawLine(QPointF(18, 44), QPointF(51, 44));
  p.setPen(QPen(kRed, 1.8, Qt::SolidLine, Qt::RoundCap));
  for (double x : {18.0, 26.5, 35.0, 43.0, 51.0}) {
    p.drawLine(QPointF(x - 1.7, 42.3), QPointF(x + 1.7, 45.7));
    p.drawLine(QPointF(x - 1.7, 45.7), QPointF(x + 1.7, 42.3));
  }
  p.setClipping(false);
  p.setPen(QPen(QColor(20, 50, 100), 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(1, 1, 62, 62), 12, 12);
  p.end();
  return image;
}

}  // namespace kolma::ui
