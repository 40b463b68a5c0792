#include "ui/dialogs/import_measurements_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <span>
#include <utility>
#include <vector>

#include "ui/widgets/numeric_edit.h"
#include "ui/widgets/prompts.h"

namespace kolma::ui {
namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }

// Hours as the desktop writes numbers: "1,234.5".
QString Hours(double hours) { return TNumberFormat(QStringLiteral(",0.## hour(s)")).Format(hours); }

QString SeparatorName(char separator) {
  switch (separator) {
    case ';': return QStringLiteral("semicolon");
    case '\t': return QStringLiteral("tab");
    default: return QStringLiteral("comma");
  }
}

QString TimeForm(const MeasurementTable& table) {
  if (table.timeKind == MeasurementTimeKind::ElapsedHours) return QStringLiteral("elapsed hours");
  if (table.timeKind == MeasurementTimeKind::SerialDays) return QStringLiteral("spreadsheet day numbers such as 45444.5");
  switch (table.dateForm) {
    case DateTimeForm::IsoT: return QStringLiteral("dates and times such as 2026-03-01T14:00");
    case DateTimeForm::IsoSpace: return QStringLiteral("dates and times such as 2026-03-01 14:00");
    case DateTimeForm::Slashed: return QStringLiteral("dates and times such as 01/03/2026 14:00");
    case DateTimeForm::Dotted: return QStringLiteral("dates and times such as 01.03.2026 14:00");
  }
  return QString();
}

QString Detected(const MeasurementTable& table) {
  const QString header = table.headerLine > 0 ? QStringLiteral("header on line %1").arg(table.headerLine)
                                              : QStringLiteral("no header line");
  QString text = QStringLiteral("%1 separated, %2, decimal %3")
                     .arg(SeparatorName(table.separator), header,
                          table.decimalComma ? QStringLiteral("comma") : QStringLiteral("point"));
  text[0] = text[0].toUpper();
  if (!table.ok()) return text + QStringLiteral("\n") + Text(table.error);
  if (table.timeOfDayColumn >= 0)
    text += QStringLiteral("\nTime in \"%1\" and \"%2\": %3")
                .arg(Text(table.columns[table.timeColumn].title), Text(table.columns[table.timeOfDayColumn].title),
                     TimeForm(table));
  else if (table.timeColumn >= 0)
    text += QStringLiteral("\nTime in \"%1\": %2").arg(Text(table.columns[table.timeColumn].title), TimeForm(table));
  return text;
}

// A label whose buddy is `control`, so the control is announced by the label's caption.
QLabel* Caption(const QString& text, QWidget* control, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(control);
  static const QRegularExpression marks(QStringLiteral("[&:=]"));
  control->setAccessibleName(QString(text).remove(marks).trimmed());
  return label;
}

QLabel* ValueLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

// A file read with the wrong column can refuse every one of half a million lines: the lists
// show the first ones and say how many more there are, so that each choice stays quick.
constexpr std::size_t kListedAtMost = 1000;

template <class T>
std::span<const T> Listed(const std::vector<T>& all) {
  return std::span<const T>(all).first(std::min(all.size(), kListedAtMost));
}

template <class T>
void Unlisted(const std::vector<T>& all, QListWidget& list) {
  if (all.size() > kListedAtMost) list.addItem(QStringLiteral("... and %1 more").arg(all.size() - kListedAtMost));
}

}  // namespace

TImportMeasurementsDlg::TImportMeasurementsDlg(MeasurementTable table, const QString& fileName, QWidget* parent)
    : TGradientDialog(parent), table_(std::move(table)), source_(std::move(table_.source)) {
  setObjectName(QStringLiteral("ImportMeasurementsDlg"));
  setWindowTitle(QStringLiteral("Import measurements - ") + fileName);
  BuildControls();
  FillChoices();
  Recompute();
  resize(660, 760);
}

void TImportMeasurementsDlg::BuildControls() {
  LabelDetected = ValueLabel("LabelDetected", this);
  LabelDetected->setWordWrap(true);
  ComboTimeColumn = new QComboBox(this);
  ComboTimeColumn->setObjectName(QStringLiteral("ComboTimeColumn"));
  for (int c = 0; c < static_cast<int>(table_.columns.size()); ++c)
    ComboTimeColumn->addItem(table_.headerLine > 0
                                 ? QStringLiteral("%1 (column %2)").arg(Text(table_.columns[c].title)).arg(c + 1)
                                 : Text(table_.columns[c].title),
                             c);
  ComboTimeColumn->setCurrentIndex(ComboTimeColumn->findData(table_.timeColumn));
  ComboZone = new QComboBox(this);
  ComboZone->setObjectName(QStringLiteral("ComboZone"));
  // Whole hours from UTC-12 to UTC+14; data NaN: local time that may follow the clock changes.
  ComboZone->addItem(QStringLiteral("as written, following the clock changes"), std::nan(""));
  for (int h = -12; h <= 14; ++h)
    ComboZone->addItem(h == 0 ? QStringLiteral("UTC, no clock changes")
                              : QStringLiteral("UTC%1%2:00, no clock changes").arg(h < 0 ? '-' : '+').arg(std::abs(h), 2, 10, QChar('0')),
                       static_cast<double>(h));
  ComboColumn = new QComboBox(this);
  ComboColumn->setObjectName(QStringLiteral("ComboColumn"));
  ComboColumn->setPlaceholderText(QStringLiteral("(choose)"));
  ComboDayMonth = new QComboBox(this);
  ComboDayMonth->setObjectName(QStringLiteral("ComboDayMonth"));
  ComboDayMonth->setPlaceholderText(QStringLiteral("(choose)"));
  ComboDayMonth->addItems({QStringLiteral("day first (31/12/2026)"), QStringLiteral("month first (12/31/2026)")});
  EditStep = new TNumericEdit(QStringLiteral(",0.#### hour(s)"), this);
  EditStep->setObjectName(QStringLiteral("EditStep"));
  EditStep->setRange(0.0001, 87600.0);
  LabelProposedStep = ValueLabel("LabelProposedStep", this);
  EditMaxGap = new TNumericEdit(QStringLiteral(",0.## hour(s)"), this);
  EditMaxGap->setObjectName(QStringLiteral("EditMaxGap"));
  EditMaxGap->setRange(0.0, 87600.0);
  EditMaxGap->setValue(ImportChoices().maxGapHours);
  ListGaps = new QListWidget(this);
  ListGaps->setObjectName(QStringLiteral("ListGaps"));
  CheckBridge = new QCheckBox(QStringLiteral("Bridge these gaps by interpolation"), this);
  CheckBridge->setObjectName(QStringLiteral("CheckBridge"));
  LabelFirstTime = ValueLabel("LabelFirstTime", this);
  LabelLastTime = ValueLabel("LabelLastTime", this);
  LabelReadings = ValueLabel("LabelReadings", this);
  LabelBridged = ValueLabel("LabelBridged", this);
  ListNotes = new QListWidget(this);
  ListNotes->setObjectName(QStringLiteral("ListNotes"));
  ListNotes->setWordWrap(true);
  ListRefused = new QListWidget(this);
  ListRefused->setObjectName(QStringLiteral("ListRefused"));
  LabelStatus = ValueLabel("LabelStatus", this);
  LabelStatus->setWordWrap(true);

  auto* grid = new QGridLayout;
  int row = 0;
  auto add = [&](const QString& caption, QWidget* control, QWidget* beside = nullptr) {
    QLabel* label = Caption(caption, control, this);
    grid->addWidget(label, row, 0, Qt::AlignTop);
    if (qobject_cast<TNumericEdit*>(control)) {  // a number is short: its note, if any, after it
      control->setFixedWidth(150);
      auto* line = new QHBoxLayout;
      line->addWidget(control);
      if (beside) line->addWidget(beside);
      line->addStretch(1);
      grid->addLayout(line, row, 1);
    } else {
      grid->addWidget(control, row, 1);
    }
    ++row;
    return label;
  };
  grid->addWidget(new QLabel(QStringLiteral("Found:"), this), row, 0, Qt::AlignTop);
  grid->addWidget(LabelDetected, row++, 1);
  add(QStringLiteral("Ti&me column:"), ComboTimeColumn);
  add(QStringLiteral("&Temperature column:"), ComboColumn);
  LabelDayMonth = add(QStringLiteral("&Day and month:"), ComboDayMonth);
  add(QStringLiteral("&Zone of the times:"), ComboZone);
  add(QStringLiteral("Time &step ="), EditStep, LabelProposedStep);
  add(QStringLiteral("&Gap limit ="), EditMaxGap);
  add(QStringLiteral("Gaps longer than the limit:"), ListGaps);
  grid->addWidget(CheckBridge, row++, 1);
  for (auto [caption, value] : {std::pair{"First reading (hour 0):", LabelFirstTime}, std::pair{"Last reading:", LabelLastTime},
                                std::pair{"Readings:", LabelReadings}, std::pair{"Hours bridged:", LabelBridged}}) {
    grid->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 0);
    grid->addWidget(value, row++, 1);
  }
  add(QStringLiteral("&Notes:"), ListNotes);
  add(QStringLiteral("&Readings refused:"), ListRefused);
  grid->setColumnStretch(1, 1);

  QHBoxLayout* buttons = MakeOkCancelRow(OKBtn, CancelBtn);
  auto* main = new QVBoxLayout(this);
  main->setContentsMargins(14, 14, 14, 12);
  main->addLayout(grid, 1);
  main->addWidget(LabelStatus);
  main->addLayout(buttons);

  connect(ComboTimeColumn, &QComboBox::currentIndexChanged, this, &TImportMeasurementsDlg::TimeColumnChosen);
  connect(ComboZone, &QComboBox::currentIndexChanged, this, &TImportMeasurementsDlg::Recompute);
  connect(ComboColumn, &QComboBox::currentIndexChanged, this, &TImportMeasurementsDlg::Recompute);
  connect(ComboDayMonth, &QComboBox::currentIndexChanged, this, &TImportMeasurementsDlg::Recompute);
  connect(EditStep, &TNumericEdit::valueChanged, this, &TImportMeasurementsDlg::StepEdited);
  connect(EditMaxGap, &TNumericEdit::valueChanged, this, &TImportMeasurementsDlg::Recompute);
  connect(CheckBridge, &QCheckBox::toggled, this, &TImportMeasurementsDlg::Recompute);
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    if (!CommitEdits(this, {EditStep, EditMaxGap}) || !result_.ok()) return;
    // A wrong column or form refuses many readings: taking the rest must be meant.
    if (result_.ManyRefused() &&
        !Prompts().AskYesNo(this, PromptIcon::Warning, QStringLiteral("Import measurements"),
                            QStringLiteral("%1, more than a tenth of them.\n\nImport the history from the other %2?")
                                .arg(Text(result_.ManyRefusedText()))
                                .arg(result_.readings)))
      return;
    accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

// The columns that can hold temperatures, and the day/month order when the file tells it.
void TImportMeasurementsDlg::FillChoices() {
  LabelDetected->setText(Detected(table_));
  const QSignalBlocker quietColumn(ComboColumn);
  const QSignalBlocker quietOrder(ComboDayMonth);
  ComboColumn->clear();
  for (int c = 0; c < static_cast<int>(table_.columns.size()); ++c) {
    if (c == table_.timeColumn || !table_.columns[c].numeric) continue;
    // Without a header the title already is "Column N".
    const QString title = Text(table_.columns[c].title);
    ComboColumn->addItem(table_.headerLine > 0 ? QStringLiteral("%1 (column %2)").arg(title).arg(c + 1) : title, c);
  }
  // A column the user chose stays chosen while it still holds readings.
  const int kept = columnChoice_ >= 0 ? ComboColumn->findData(columnChoice_) : -1;
  ComboColumn->setCurrentIndex(kept >= 0 ? kept : ComboColumn->findData(table_.proposedColumn));
  ComboColumn->setEnabled(ComboColumn->count() > 1);
  // Day and month only matter for slashed dates.
  const bool slashed = table_.timeKind == MeasurementTimeKind::DateTime && table_.dateForm == DateTimeForm::Slashed;
  ComboDayMonth->setVisible(slashed);
  LabelDayMonth->setVisible(slashed);
  ComboDayMonth->setCurrentIndex(table_.detectedOrder == DayMonthOrder::DayFirst     ? 0
                                 : table_.detectedOrder == DayMonthOrder::MonthFirst ? 1
                                                                                     : -1);
  ComboDayMonth->setEnabled(table_.dayMonthAmbiguous);
}

// The file read again with the user's time column; a column without times says so and
// holds OK until another one is chosen.
void TImportMeasurementsDlg::TimeColumnChosen() {
  if (ComboColumn->currentIndex() >= 0) columnChoice_ = ComboColumn->currentData().toInt();
  table_ = ParseMeasurements(source_, ComboTimeColumn->currentData().toInt());
  table_.source = std::string();
  FillChoices();
  Recompute();
}

ImportChoices TImportMeasurementsDlg::Choices() const {
  ImportChoices choices;
  if (ComboColumn->currentIndex() >= 0) choices.column = ComboColumn->currentData().toInt();
  const int order = ComboDayMonth->currentIndex();
  choices.order = order == 0 ? DayMonthOrder::DayFirst : order == 1 ? DayMonthOrder::MonthFirst : DayMonthOrder::Unknown;
  // Until the user types a step, the import takes its own proposal at full precision.
  choices.stepHours = stepChosen_ ? EditStep->value() : 0.0;
  choices.maxGapHours = EditMaxGap->value();
  choices.bridgeLongGaps = CheckBridge->isChecked();
  choices.utcOffsetHours = ComboZone->currentData().toDouble();
  return choices;
}

void TImportMeasurementsDlg::StepEdited() {
  if (showing_) return;
  stepChosen_ = true;
  Recompute();
}

void TImportMeasurementsDlg::Recompute() {
  result_ = ImportMeasurements(table_, Choices());
  ShowResult();
}

void TImportMeasurementsDlg::ShowResult() {
  const ImportResult& r = result_;
  if (!stepChosen_) {
    // No step to show before the readings are known (a column or the day/month order missing).
    const bool known = r.proposedStepHours > 0.0;
    EditStep->setEnabled(known);
    showing_ = true;
    if (known)
      EditStep->setValue(r.proposedStepHours);
    else
      EditStep->clear();
    showing_ = false;
  }
  LabelProposedStep->setText(r.proposedStepHours > 0.0
                                 ? QStringLiteral("proposed: %1 (median interval)").arg(Hours(r.proposedStepHours))
                                 : QString());

  ListGaps->clear();
  for (const MeasurementGap& gap : Listed(r.longGaps))
    ListGaps->addItem(QStringLiteral("%1 to %2 (%3)").arg(Text(gap.start), Text(gap.end), Hours(gap.Hours())));
  Unlisted(r.longGaps, *ListGaps);
  CheckBridge->setEnabled(!r.longGaps.empty() || CheckBridge->isChecked());

  LabelFirstTime->setText(Text(r.firstTime));
  LabelLastTime->setText(Text(r.lastTime));
  LabelReadings->setText(r.readings > 0 ? QStringLiteral("%1 accepted over %2, %3 refused")
                                              .arg(r.readings)
                                              .arg(Hours(r.spanHours))
                                              .arg(r.refused.size())
                                        : QString());
  LabelBridged->setText(Hours(r.bridgedHours));
  ListRefused->clear();
  for (const RefusedReading& refused : Listed(r.refused))
    ListRefused->addItem(
        QStringLiteral("Line %1: %2").arg(refused.line).arg(QString::fromLatin1(ReadingRefusalText(refused.reason))));
  Unlisted(r.refused, *ListRefused);
  ListNotes->clear();
  for (const std::string& note : Listed(r.notes)) ListNotes->addItem(Text(note));
  Unlisted(r.notes, *ListNotes);

  LabelStatus->setText(r.ok() ? QStringLiteral("The history will have %1 samples, one every %2.")
                                    .arg(r.values.NrOfElem())
                                    .arg(Hours(r.timeStep))
                              : Text(r.error));
  OKBtn->setEnabled(r.ok());
}

}  // namespace kolma::ui
