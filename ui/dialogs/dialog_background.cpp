#include "ui/dialogs/dialog_background.h"

#include <QHBoxLayout>
#include <QLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

namespace kolma::ui {

TGradientDialog::TGradientDialog(QWidget* parent) : QDialog(parent) {}

void TGradientDialog::FixSizeAtLeast(const QSize& designed) {
  if (layout()) layout()->activate();
  setFixedSize(minimumSizeHint().expandedTo(designed));
}

void TGradientDialog::paintEvent(QPaintEvent*) {
  // From a shade of the window colour at the top to the light button colour at the
  // bottom, so it follows the palette (and stays readable with a dark one).
  const QPalette& p = palette();
  QLinearGradient gradient(0, 0, 0, height());
  gradient.setColorAt(0.0, p.color(QPalette::Window).darker(112));
  gradient.setColorAt(1.0, p.color(QPalette::Light));
  QPainter painter(this);
  painter.fillRect(rect(), gradient);
}

void TGradientDialog::MakeOkCancelButtons(QPushButton*& ok, QPushButton*& cancel) {
  ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelBtn"));
  cancel->setAutoDefault(false);
}

QHBoxLayout* TGradientDialog::MakeOkCancelRow(QPushButton*& ok, QPushButton*& cancel) {
  MakeOkCancelButtons(ok, cancel);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok);
  row->addWidget(cancel);
  return row;
}

}  // namespace kolma::ui
