#include "ui/dialogs/low_pass_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialogs/period_edit.h"

namespace kolma::ui {

TLowPassDlg::TLowPassDlg(bool highPass, int unitIndex, double rangeLo, double rangeHi, QWidget* parent)
    : TGradientDialog(parent) {
  setWindowTitle(highPass ? QStringLiteral("High Pass Filter") : QStringLiteral("Low Pass Filter"));
  auto* label = new QLabel(
      highPass ? QStringLiteral("Remove all periods below =") : QStringLiteral("Remove all periods over ="), this);
  label->setObjectName(QStringLiteral("LabelPeriod"));
  EditPeriod = new TPeriodEdit(unitIndex, rangeLo, rangeHi, rangeHi, this);
  EditPeriod->setObjectName(QStringLiteral("EditPeriod"));
  EditPeriod->setFixedWidth(140);
  label->setBuddy(EditPeriod);

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(EditPeriod);
  QHBoxLayout* buttons = MakeOkCancelRow(OKBtn, CancelBtn);
  auto* main = new QVBoxLayout(this);
  main->setContentsMargins(14, 14, 14, 12);
  main->setSpacing(14);
  main->addLayout(row);
  main->addWidget(new TRefusalLine(this));
  main->addLayout(buttons);
  FixSizeAtLeast(QSize(300, 0));

  connect(OKBtn, &QPushButton::clicked, this, [this] {
    if (CommitEdits(this, {EditPeriod})) accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

double TLowPassDlg::Period() const { return EditPeriod->Period(); }

}  // namespace kolma::ui
