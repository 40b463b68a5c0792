#include "ui/dialogs/band_filter_dlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "ui/dialogs/period_edit.h"
#include "ui/widgets/prompts.h"

namespace kolma::ui {

TBandFilterDlg::TBandFilterDlg(int unitIndex, double rangeLo, double rangeHi, QWidget* parent)
    : TGradientDialog(parent) {
  setWindowTitle(QStringLiteral("Band Filter"));
  EditLowerPeriod = new TPeriodEdit(unitIndex, rangeLo, rangeHi, rangeLo, this);
  EditLowerPeriod->setObjectName(QStringLiteral("EditLowerPeriod"));
  EditUpperPeriod = new TPeriodEdit(unitIndex, rangeLo, rangeHi, rangeHi, this);
  EditUpperPeriod->setObjectName(QStringLiteral("EditUpperPeriod"));
  auto* fields = new QGridLayout;
  int row = 0;
  for (const auto& [text, edit] : {std::pair{QStringLiteral("Remove all periods over ="), EditLowerPeriod},
                                   std::pair{QStringLiteral("and below ="), EditUpperPeriod}}) {
    auto* label = new QLabel(text, this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(edit);
    edit->setFixedWidth(140);
    fields->addWidget(label, row, 0);
    fields->addWidget(edit, row, 1);
    ++row;
  }
  QHBoxLayout* buttons = MakeOkCancelRow(OKBtn, CancelBtn);
  auto* main = new QVBoxLayout(this);
  main->setContentsMargins(14, 14, 14, 12);
  main->setSpacing(14);
  main->addLayout(fields);
  main->addWidget(new TRefusalLine(this));
  main->addLayout(buttons);
  FixSizeAtLeast(QSize(300, 0));

  connect(OKBtn, &QPushButton::clicked, this, &TBandFilterDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

double TBandFilterDlg::LowerPeriod() const { return EditLowerPeriod->Period(); }
double TBandFilterDlg::UpperPeriod() const { return EditUpperPeriod->Period(); }

void TBandFilterDlg::OKBtnClick() {
  if (!CommitEdits(this, {EditLowerPeriod, EditUpperPeriod})) return;
  if (LowerPeriod() > UpperPeriod()) {
    Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"),
                      QStringLiteral("The period of \"Remove all periods over =\" must not be above the period of "
                                     "\"and below =\"."));
    EditLowerPeriod->setFocus();
    return;
  }
  accept();
}

}  // namespace kolma::ui
