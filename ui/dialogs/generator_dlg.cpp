#include "ui/dialogs/generator_dlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <optional>
#include <utility>

#include "ui/dialogs/generator_diagrams.h"
#include "ui/widgets/numeric_edit.h"
#include "ui/widgets/prompts.h"

namespace kolma::ui {
namespace {

struct EditRow {
  const char* name;
  const char* caption;
  const char* format;
  std::optional<std::pair<double, double>> range;
  double initial;
};

}  // namespace

TGeneratorDlg::TGeneratorDlg(QWidget* parent) : TGradientDialog(parent) {
  setWindowTitle(QStringLiteral("Function Generator"));
  BuildControls();
  UpdateEnabled();
}

void TGeneratorDlg::BuildControls() {
  const GeneratorParameters defaults;
  const EditRow rows[] = {
      {"EditPeriod", "Period (T):", ",0 hours", std::pair(1.0, 1e10), defaults.period},
      {"EditPeriod2", "Period (T2):", ",0.## hours", std::pair(1.0, 1e100), defaults.warmPeriod},
      {"EditPhase", "Temperature phase (d):", ",0.## hours", std::pair(-8760.0, 8760.0), defaults.phase},
      {"EditA0", "Average temperature (A0):", ",0.## \u00b0C", std::nullopt, defaults.mean},
      {"EditA1", "Annual variation (A1):", ",0.## \u00b0C", std::pair(1e-9, 1e100), defaults.annualAmplitude},
      {"EditA2", "Daily variation (A2):", ",0.## \u00b0C", std::nullopt, defaults.dailyAmplitude},
  };
  TNumericEdit** edits[] = {&EditPeriod, &EditPeriod2, &EditPhase, &EditA0, &EditA1, &EditA2};
  QLabel* labels[std::size(rows)] = {};
  auto* fields = new QGridLayout;
  fields->setVerticalSpacing(6);
  for (size_t i = 0; i < std::size(rows); ++i) {
    const EditRow& row = rows[i];
    auto* edit = new TNumericEdit(QString::fromUtf8(row.format), this);
    edit->setObjectName(QString::fromLatin1(row.name));
    edit->setFixedWidth(120);
    edit->setEnterPressesDefault(true);
    if (row.range) edit->setRange(row.range->first, row.range->second);
    edit->setValue(row.initial);
    labels[i] = new QLabel(QString::fromLatin1(row.caption), this);
    labels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labels[i]->setBuddy(edit);
    fields->addWidget(labels[i], static_cast<int>(i), 0);
    fields->addWidget(edit, static_cast<int>(i), 1);
    *edits[i] = edit;
  }
  LabelPeriod2 = labels[1];
  LabelA2 = labels[5];

  auto* choice = new QGroupBox(this);
  RadioWithoutIce = new QRadioButton(QStringLiteral("Function without ice cover"), choice);
  RadioWithoutIce->setObjectName(QStringLiteral("RadioWithoutIce"));
  RadioWithIce = new QRadioButton(QStringLiteral("Function with ice cover"), choice);
  RadioWithIce->setObjectName(QStringLiteral("RadioWithIce"));
  RadioWithoutIce->setChecked(true);
  auto* choiceLayout = new QGridLayout(choice);
  choiceLayout->addWidget(RadioWithoutIce, 0, 0);
  choiceLayout->addWidget(new TGeneratorDiagram(TGeneratorDiagram::WithoutIceCover, choice), 0, 1);
  choiceLayout->addWidget(RadioWithIce, 1, 0);
  choiceLayout->addWidget(new TGeneratorDiagram(TGeneratorDiagram::WithIceCover, choice), 1, 1);

  MakeOkCancelButtons(OKBtn, CancelBtn);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);

  auto* right = new QVBoxLayout;
  right->addLayout(fields);
  right->addStretch(1);
  right->addWidget(new TRefusalLine(this));
  right->addLayout(buttons);
  auto* main = new QHBoxLayout(this);
  main->setContentsMargins(12, 12, 12, 12);
  main->setSpacing(12);
  main->addWidget(choice);
  main->addLayout(right);

  FixSizeAtLeast(QSize(0, 0));

  connect(RadioWithoutIce, &QRadioButton::toggled, this, &TGeneratorDlg::UpdateEnabled);
  connect(OKBtn, &QPushButton::clicked, this, &TGeneratorDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TGeneratorDlg::UpdateEnabled() {
  const bool ice = RadioWithIce->isChecked();
  LabelPeriod2->setEnabled(ice);
  EditPeriod2->setEnabled(ice);
  LabelA2->setEnabled(!ice);
  EditA2->setEnabled(!ice);
}

GeneratorParameters TGeneratorDlg::Parameters() const {
  GeneratorParameters p;
  p.period = EditPeriod->value();
  p.warmPeriod = EditPeriod2->value();
  p.phase = EditPhase->value();
  p.mean = EditA0->value();
  p.annualAmplitude = EditA1->value();
  p.dailyAmplitude = EditA2->value();
  p.iceCover = RadioWithIce->isChecked();
  return p;
}

void TGeneratorDlg::OKBtnClick() {
  if (!CommitEdits(this, {EditPeriod, EditPeriod2, EditPhase, EditA0, EditA1, EditA2})) return;
  const GeneratorParameters p = Parameters();
  if (GeneratedSampleCount(p.period) == 0) {
    // Refused before anything is allocated: the reason is the generator's own.
    Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"),
                      QString::fromStdString(GenerateHistory(p).error));
    EditPeriod->setFocus();
    return;
  }
  accept();
}

}  // namespace kolma::ui
