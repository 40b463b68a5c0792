#include "ui/dialogs/section_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "core/model/node_distribution.h"
#include "core/numeric/vector.h"

namespace kolma::ui {
namespace {

constexpr int kBandTop = 34;
constexpr int kBandHeight = 22;
constexpr int kDimensionY = 24;
constexpr int kFaceMargin = 80;  // room for the water and the air beside the faces

// A horizontal dimension line with arrow heads at both ends and its text above.
void DrawDimension(QPainter& painter, double left, double right, const QString& text, bool textFromLeft) {
  const QPointF a(left, kDimensionY), b(right, kDimensionY);
  painter.drawLine(QPointF(left, kDimensionY - 4), QPointF(left, kBandTop));
  painter.drawLine(QPointF(right, kDimensionY - 4), QPointF(right, kBandTop));
  painter.drawLine(a, b);
  const double head = std::min(4.0, (right - left) / 2);
  painter.drawLine(a, a + QPointF(head, -2.5));
  painter.drawLine(a, a + QPointF(head, 2.5));
  painter.drawLine(b, b + QPointF(-head, -2.5));
  painter.drawLine(b, b + QPointF(-head, 2.5));
  const QFontMetrics metrics = painter.fontMetrics();
  const int width = metrics.horizontalAdvance(text);
  const double x = textFromLeft ? left : (left + right - width) / 2;
  painter.drawText(QPointF(x, kDimensionY - 6), text);
}

}  // namespace

TSectionPicture::TSectionPicture(QWidget* parent) : QWidget(parent) {
  setDistribution(10, 3.0);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

QSize TSectionPicture::sizeHint() const { return QSize(600, 76); }

void TSectionPicture::setDistribution(int divisions, double ratio) {
  TVector nodes;
  fractions_.clear();
  if (ComputeNodes(divisions, nodes, 0.0, 1.0, ratio)) {
    for (int i = 1; i <= nodes.NrOfElem(); ++i) fractions_.push_back(nodes.Element(i));
  } else {
    const int n = std::max(divisions, 1);
    for (int i = 0; i <= n; ++i) fractions_.push_back(static_cast<double>(i) / n);
  }
  update();
}

void TSectionPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QFont small = font();
  small.setPointSizeF(small.pointSizeF() * 0.9);
  painter.setFont(small);

  const double left = kFaceMargin;
  const double right = width() - kFaceMargin;
  const double bottom = kBandTop + kBandHeight;

  // Reservoir water against the upstream face.
  QLinearGradient water(0, kBandTop, 0, bottom);
  water.setColorAt(0, QColor(120, 170, 225));
  water.setColorAt(1, QColor(40, 90, 170));
  painter.fillRect(QRectF(8, kBandTop + 4, left - 8, kBandHeight - 4), water);
  painter.setPen(QPen(QColor(30, 70, 140), 1));
  QPainterPath wave;
  wave.moveTo(8, kBandTop + 4);
  for (double x = 8; x + 8 <= left; x += 8) {
    wave.quadTo(x + 2, kBandTop + 2, x + 4, kBandTop + 4);
    wave.quadTo(x + 6, kBandTop + 6, x + 8, kBandTop + 4);
  }
  painter.drawPath(wave);

  // The concrete between the faces.
  QLinearGradient concrete(0, kBandTop, 0, bottom);
  concrete.setColorAt(0, QColor(215, 213, 205));
  concrete.setColorAt(1, QColor(170, 167, 158));
  const QRectF band(left, kBandTop, right - left, kBandHeight);
  painter.fillRect(band, concrete);

  // Division points.
  const double span = right - left;
  painter.setPen(QPen(QColor(90, 90, 90), 1));
  for (double f : fractions_) {
    const double x = left + f * span;
    painter.drawLine(QPointF(x, kBandTop + 3), QPointF(x, bottom - 3));
  }
  painter.setPen(QPen(QColor(40, 40, 40), 2));
  painter.drawLine(QPointF(left, kBandTop - 2), QPointF(left, bottom + 2));
  painter.drawLine(QPointF(right, kBandTop - 2), QPointF(right, bottom + 2));
  painter.setPen(QPen(QColor(60, 60, 60), 1));
  painter.drawRect(band);

  // First spacing from the upstream face, middle spacing right of the centre line.
  painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
  if (fractions_.size() >= 3) {
    DrawDimension(painter, left, left + fractions_[1] * span, tr("first spacing"), true);
    const size_t middle = (fractions_.size() - 1) / 2;
    DrawDimension(painter, left + fractions_[middle] * span, left + fractions_[middle + 1] * span,
                  tr("middle spacing"), false);
  }

  // Face names under the faces, the sides beyond them.
  const QFontMetrics metrics = painter.fontMetrics();
  const double labelY = bottom + 4 + metrics.ascent();
  auto centred = [&](double x, const QString& text) {
    painter.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2.0, labelY), text);
  };
  centred(left, QStringLiteral("Xu"));
  centred(right, QStringLiteral("Xd"));
  // The sides, above the water and the air.
  painter.setPen(QPen(palette().color(QPalette::PlaceholderText), 1));
  const double sideY = kBandTop - 8;
  painter.drawText(QPointF(8, sideY), tr("upstream"));
  const QString downstream = tr("downstream");
  painter.drawText(QPointF(width() - 8 - metrics.horizontalAdvance(downstream), sideY), downstream);
}

}  // namespace kolma::ui
