#include "ui/dialogs/options_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/model/project.h"
#include "core/model/project_codec.h"
#include "ui/widgets/numeric_edit.h"
#include "ui/widgets/prompts.h"

namespace kolma::ui {
namespace {

constexpr double kHoursPerYear = 8760.0;
constexpr int kMostHarmonics = 4379;  // half of a year of hourly samples, less one
constexpr int kFewestHarmonics = 10;

// A bold caption without making the whole content bold.
QGroupBox* NewGroup(const char* name, const QString& caption, QWidget* parent) {
  auto* group = new QGroupBox(caption, parent);
  group->setObjectName(QString::fromLatin1(name));
  QFont bold = group->font();
  bold.setBold(true);
  group->setFont(bold);
  return group;
}

QRadioButton* NewRadio(const char* name, const QString& text, QGroupBox* group, const QFont& font) {
  auto* radio = new QRadioButton(text, group);
  radio->setObjectName(QString::fromLatin1(name));
  radio->setFont(font);
  return radio;
}

int HarmonicsOf(const TVector& values) { return values.NrOfElem() / 2 - 1; }

}  // namespace

TOptionsDlg::TOptionsDlg(Project& project, QWidget* parent) : TGradientDialog(parent), project_(project) {
  setWindowTitle(QStringLiteral("Analysis options"));
  BuildControls();
  FormShow();
}

double TOptionsDlg::SuggestedPadding(const Project& project, double enteredYears) {
  if (!project.HasFlag(pfSection)) return enteredYears;
  const TSectionProperties& s = project.SectionProperties;
  const double length = s.Xd - s.Xu;
  const double years = length * length * 150.0 * 0.004 / s.Diffusivity / kHoursPerYear;
  return std::isfinite(years) ? years : enteredYears;
}

QString TOptionsDlg::PaddingQuestion(double suggestedYears) {
  // The box text has always broken its line with a lone carriage return; a Qt message box
  // needs a line feed for that.
  QString text = QStringLiteral("Suggested value for padding = ") +
                 QString::asprintf("%6.4f year(s).\rDo you want to change your value?", suggestedYears);
  return text.replace(u'\r', u'\n');
}

int TOptionsDlg::MinHarmonicsLimit(const Project& project) {
  int limit = kMostHarmonics;
  if (project.HasFlag(pfUpstream)) limit = std::min(limit, HarmonicsOf(project.UpstreamHistory.Values));
  if (project.HasFlag(pfDownstream)) limit = std::min(limit, HarmonicsOf(project.DownstreamHistory.Values));
  const int first = project.InversePair.First;
  if (project.HasFlag(pfInversePair) && first >= 1 && first <= kThermometerSlots)
    limit = std::min(limit, HarmonicsOf(project.Thermometer(first).Values));
  return limit;
}

void TOptionsDlg::BuildControls() {
  // Children of a bold group box would inherit the bold face unless told otherwise.
  QFont normal = font();
  normal.setBold(false);

  RxLabel1 = new QLabel(QStringLiteral("Minimum number of harmonics\nto be considered for analysis"), this);
  RxLabel1->setObjectName(QStringLiteral("RxLabel1"));
  RxLabel1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Label1 = new QLabel(QStringLiteral(" ="), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  EditMinimum = new QSpinBox(this);
  EditMinimum->setObjectName(QStringLiteral("EditMinimum"));
  EditMinimum->setAlignment(Qt::AlignCenter);
  EditMinimum->setSingleStep(10);
  EditMinimum->setFixedWidth(90);
  RxLabel1->setBuddy(EditMinimum);
  auto* minimumRow = new QHBoxLayout;
  minimumRow->addStretch(1);
  minimumRow->addWidget(RxLabel1);
  minimumRow->addWidget(Label1);
  minimumRow->addWidget(EditMinimum);
  minimumRow->addStretch(1);

  QGroupBox* averaging =
      NewGroup("LMDGroupBox1", QStringLiteral("Correction for nonlinear averages in inverse analysis:"), this);
  LMDRadioButtonTwo =
      NewRadio("LMDRadioButtonTwo", QStringLiteral("Use only the two selected temperatures (linear fit)"), averaging, normal);
  LMDRadioButtonLinear =
      NewRadio("LMDRadioButtonLinear", QStringLiteral("Use all temperatures (linear regression)"), averaging, normal);
  LMDRadioButtonNonlinear =
      NewRadio("LMDRadioButtonNonlinear", QStringLiteral("Use all temperatures (polynomial fit)"), averaging, normal);
  LMDRadioButtonTwo->setChecked(true);
  // The least-squares inverse method fits every thermometer and curves the mean profile by
  // the physics of the record itself: the averaging choices then do not apply.
  CheckBoxLeastSquares = new QCheckBox(QStringLiteral("Use all thermometers (least squares)"), this);
  CheckBoxLeastSquares->setObjectName(QStringLiteral("CheckBoxLeastSquares"));
  connect(CheckBoxLeastSquares, &QCheckBox::toggled, averaging, [averaging](bool on) { averaging->setEnabled(!on); });
  auto* averagingLayout = new QVBoxLayout(averaging);
  averagingLayout->addWidget(LMDRadioButtonTwo);
  averagingLayout->addWidget(LMDRadioButtonLinear);
  averagingLayout->addWidget(LMDRadioButtonNonlinear);

  QGroupBox* padding = NewGroup("LMDGroupBox2", QStringLiteral("Temperature padding for transient analysis:"), this);
  LMDRadioPAddingAutomatic =
      NewRadio("LMDRadioPAddingAutomatic", QStringLiteral("Automatic padding by KOLMA"), padding, normal);
  LMDRadioPaddingUser = NewRadio("LMDRadioPaddingUser", QStringLiteral("User defined padding"), padding, normal);
  LMDRadioPAddingAutomatic->setChecked(true);
  RxLabel2 = new QLabel(QStringLiteral("Padding ="), padding);
  RxLabel2->setObjectName(QStringLiteral("RxLabel2"));
  RxLabel2->setFont(normal);
  EditPadding = new TNumericEdit(QStringLiteral(",0.### year(s)"), padding);
  EditPadding->setObjectName(QStringLiteral("EditPadding"));
  EditPadding->setFont(normal);
  EditPadding->setRange(0, 20);
  EditPadding->setFixedWidth(130);
  EditPadding->setEnterPressesDefault(true);
  RxLabel2->setBuddy(EditPadding);
  RxLabel3 = new QLabel(QStringLiteral("(Use padding = 0 for a periodic analysis)"), padding);
  RxLabel3->setObjectName(QStringLiteral("RxLabel3"));
  RxLabel3->setFont(normal);
  RxLabel3->setAlignment(Qt::AlignCenter);
  auto* paddingRow = new QHBoxLayout;
  paddingRow->addSpacing(24);
  paddingRow->addWidget(RxLabel2);
  paddingRow->addWidget(EditPadding);
  paddingRow->addStretch(1);
  auto* paddingLayout = new QVBoxLayout(padding);
  paddingLayout->addWidget(LMDRadioPAddingAutomatic);
  paddingLayout->addWidget(LMDRadioPaddingUser);
  paddingLayout->addLayout(paddingRow);
  paddingLayout->addWidget(RxLabel3);

  QHBoxLayout* buttons = MakeOkCancelRow(OKBtn, CancelBtn);

  auto* main = new QVBoxLayout(this);
  main->setContentsMargins(14, 14, 14, 12);
  main->setSpacing(12);
  main->addLayout(minimumRow);
  main->addWidget(CheckBoxLeastSquares);
  main->addWidget(averaging);
  main->addWidget(padding);
  main->addStretch(1);
  main->addWidget(new TRefusalLine(this));
  main->addLayout(buttons);

  FixSizeAtLeast(QSize(355, 392));

  connect(LMDRadioPAddingAutomatic, &QRadioButton::clicked, this, &TOptionsDlg::LMDRadioPAddingAutomaticClick);
  connect(LMDRadioPaddingUser, &QRadioButton::clicked, this, &TOptionsDlg::LMDRadioPAddingAutomaticClick);
  connect(OKBtn, &QPushButton::clicked, this, &TOptionsDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TOptionsDlg::FormShow() {
  const Project& p = project_;
  EditMinimum->setRange(kFewestHarmonics, MinHarmonicsLimit(p));
  EditMinimum->setValue(p.DirectHarmonics.MinHarmonics);

  switch (p.AnalysisOptions.AveragingCorrection) {
    case 0: LMDRadioButtonTwo->setChecked(true); break;
    case 1: LMDRadioButtonLinear->setChecked(true); break;
    case 2: LMDRadioButtonNonlinear->setChecked(true); break;
    default: break;
  }
  CheckBoxLeastSquares->setChecked(p.AnalysisOptions.InverseMethod == kInverseLeastSquaresMethod);
  if (p.AnalysisOptions.PaddingMode == 1) LMDRadioPaddingUser->setChecked(true);
  UpdatePaddingEnabled();
  EditPadding->setValue(p.AnalysisOptions.PaddingYears);
  EditMinimum->setFocus();
}

void TOptionsDlg::UpdatePaddingEnabled() {
  const bool user = LMDRadioPaddingUser->isChecked();
  RxLabel2->setEnabled(user);
  EditPadding->setEnabled(user);
}

void TOptionsDlg::LMDRadioPAddingAutomaticClick() {
  UpdatePaddingEnabled();
  if (LMDRadioPaddingUser->isChecked()) EditPadding->setFocus();
}

void TOptionsDlg::OKBtnClick() {
  if (!CommitEdits(this, {EditPadding})) return;
  // What would be saved, to tell an OK that changes nothing from one that does.
  const std::vector<std::uint8_t> before = EncodeProject(project_);
  const std::uint8_t flagsBefore = project_.ProjectFlags;
  const double entered = EditPadding->value();
  const double suggestion = SuggestedPadding(project_, entered);
  if (LMDRadioPaddingUser->isChecked() && !(0.5 * suggestion < entered && entered < 2.0 * suggestion)) {
    if (Prompts().AskYesNo(this, PromptIcon::Information, QStringLiteral("Confirm"), PaddingQuestion(suggestion))) {
      EditPadding->setFocus();
      return;
    }
  }

  Project& p = project_;
  p.SetMinHarmonics(EditMinimum->value());
  TAnalysisOptions& options = p.AnalysisOptions;
  options.AveragingCorrection = LMDRadioButtonTwo->isChecked() ? 0 : LMDRadioButtonLinear->isChecked() ? 1 : 2;
  options.InverseMethod = CheckBoxLeastSquares->isChecked() ? kInverseLeastSquaresMethod : kInversePairMethod;
  options.PaddingMode = LMDRadioPAddingAutomatic->isChecked() ? 0 : 1;
  options.PaddingYears = entered;
  p.ProjectFlags |= pfModified;
  p.ProjectFlags &= static_cast<std::uint8_t>(~(pfDirectResults | pfInverseResults));
  // A look at the options is no edit: the results stay valid and nothing is to be saved.
  if (EncodeProject(p) == before) p.ProjectFlags = flagsBefore;
  accept();
}

}  // namespace kolma::ui
