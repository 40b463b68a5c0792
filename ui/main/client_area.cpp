#include "ui/main/client_area.h"

#include <QLinearGradient>
#include <QPainter>

namespace kolma::ui {

TClientArea::TClientArea(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ClientArea"));
  setAutoFillBackground(false);
}

void TClientArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient gradient(0, 0, 0, height());
  gradient.setColorAt(0.0, QColor(238, 243, 250));
  gradient.setColorAt(1.0, QColor(196, 212, 232));
  p.fillRect(rect(), gradient);
}

}  // namespace kolma::ui
