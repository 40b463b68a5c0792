#include "ui/dialogs/section_dlg.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "core/model/node_distribution.h"
#include "core/model/project.h"
#include "ui/dialogs/section_picture.h"
#include "ui/widgets/numeric_edit.h"
#include "ui/widgets/prompts.h"

namespace kolma::ui {
namespace {

constexpr int kEditWidth = 120;

TNumericEdit* NewEdit(const char* name, const QString& format, QWidget* parent) {
  auto* edit = new TNumericEdit(format, parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setFixedWidth(kEditWidth);
  edit->setEnterPressesDefault(true);
  return edit;
}

QLabel* RowLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

// One line per node, the way the list has always shown them.
QString NodeLine(int k, double x) { return QString::asprintf("Point #%2d %12.4f m", k, x); }

}  // namespace

QString TSectionDlg::WarningText() { return QStringLiteral("Incorrect values. Please apply the correction"); }

TSectionDlg::TSectionDlg(Project& project, QWidget* parent) : TGradientDialog(parent), project_(project) {
  setWindowTitle(QStringLiteral("Definition of section's divisions and thermal properties"));
  BuildControls();
  FormShow();
}

void TSectionDlg::BuildControls() {
  picture_ = new TSectionPicture(this);
  picture_->setFixedHeight(picture_->sizeHint().height());

  EditX1 = NewEdit("EditX1", QStringLiteral(",0.000 m"), this);
  EditX2 = NewEdit("EditX2", QStringLiteral(",0.000 m"), this);
  EditNombreDiv = new QSpinBox(this);
  EditNombreDiv->setObjectName(QStringLiteral("EditNombreDiv"));
  EditNombreDiv->setRange(5, 50);
  EditNombreDiv->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  EditNombreDiv->setFixedWidth(kEditWidth);
  EditRatio = NewEdit("EditRatio", QStringLiteral(",0.###"), this);
  EditRatio->setRange(1, 1000);
  EditT0 = NewEdit("EditT0", QStringLiteral(",0.### °C"), this);
  EditDiffusivity = NewEdit("EditDiffusivity", QStringLiteral(",0.##### m² / h"), this);
  EditEc = NewEdit("EditEc", QStringLiteral(",0.# MPa"), this);
  EditPoisson = NewEdit("EditPoisson", QStringLiteral(",0.#####"), this);
  EditPoisson->setRange(0, 0.5);
  EditAlpha = NewEdit("EditAlpha", QStringLiteral(",0.###### / °C"), this);

  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(8);
  fields->setVerticalSpacing(5);
  const std::pair<QString, QWidget*> rows[] = {
      {QStringLiteral("X coordinate of upstream face (Xu) ="), EditX1},
      {QStringLiteral("X coordinate of downstream face (Xd) ="), EditX2},
      {QStringLiteral("Number of divisions between Xu and  Xd ="), EditNombreDiv},
      {QStringLiteral("Ratio of middle spacing to first\nspacing for unequal distribution ="), EditRatio},
      {QStringLiteral("Reference temperature ="), EditT0},
      {QStringLiteral("Diffusivity constant ="), EditDiffusivity},
      {QStringLiteral("Young's modulus ="), EditEc},
      {QStringLiteral("Poisson's ratio ="), EditPoisson},
      {QStringLiteral("Thermal expansion coefficient ="), EditAlpha},
  };
  int row = 0;
  for (const auto& [text, edit] : rows) {
    QLabel* label = RowLabel(text, this);
    label->setBuddy(edit);
    fields->addWidget(label, row, 0);
    fields->addWidget(edit, row, 1);
    ++row;
  }

  RadioGroupStresses = new QGroupBox(QStringLiteral("Stress computations:"), this);
  RadioGroupStresses->setObjectName(QStringLiteral("RadioGroupStresses"));
  auto* planeStress = new QRadioButton(QStringLiteral("Plane stress"), RadioGroupStresses);
  planeStress->setObjectName(QStringLiteral("RadioPlaneStress"));
  auto* planeStrain = new QRadioButton(QStringLiteral("Plane strain"), RadioGroupStresses);
  planeStrain->setObjectName(QStringLiteral("RadioPlaneStrain"));
  stressButtons_ = new QButtonGroup(this);
  stressButtons_->addButton(planeStress, 0);
  stressButtons_->addButton(planeStrain, 1);
  auto* stressLayout = new QHBoxLayout(RadioGroupStresses);
  stressLayout->addWidget(planeStress, 1);
  stressLayout->addWidget(planeStrain, 1);
  stressLayout->setContentsMargins(12, 4, 12, 6);

  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addSpacing(4);
  left->addWidget(RadioGroupStresses);
  left->addStretch(1);

  Button1 = new QPushButton(QStringLiteral("See division locations"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setAutoDefault(false);
  ListBox = new QListWidget(this);
  ListBox->setObjectName(QStringLiteral("ListBox"));
  ListBox->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  ListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // Wide enough for the longest line next to the scroll bar.
  const int lineWidth = QFontMetrics(ListBox->font()).horizontalAdvance(NodeLine(51, -99999.9999));
  ListBox->setMinimumWidth(lineWidth + ListBox->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                           2 * ListBox->frameWidth() + 6);
  ListBox->setSelectionMode(QAbstractItemView::SingleSelection);
  MakeOkCancelButtons(OKBtn, CancelBtn);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* right = new QVBoxLayout;
  right->addWidget(Button1);
  right->addWidget(ListBox, 1);
  right->addLayout(buttons);

  auto* body = new QHBoxLayout;
  body->addLayout(left, 0);
  body->addSpacing(10);
  body->addLayout(right, 1);

  auto* main = new QVBoxLayout(this);
  main->setContentsMargins(10, 6, 10, 10);
  main->addWidget(picture_);
  main->addLayout(body, 1);
  main->addWidget(new TRefusalLine(this));

  FixSizeAtLeast(QSize(622, 416));

  connect(Button1, &QPushButton::clicked, this, &TSectionDlg::Button1Click);
  connect(OKBtn, &QPushButton::clicked, this, &TSectionDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(EditNombreDiv, &QSpinBox::valueChanged, this, &TSectionDlg::UpdatePicture);
  connect(EditRatio, &TNumericEdit::valueChanged, this, &TSectionDlg::UpdatePicture);
}

void TSectionDlg::FormShow() {
  const TSectionProperties& s = project_.SectionProperties;
  EditX1->setValue(s.Xu);
  EditX2->setValue(s.Xd);
  EditNombreDiv->setValue(s.NbDivisions);
  EditRatio->setValue(s.Ratio);
  EditT0->setValue(s.T0);
  EditDiffusivity->setValue(s.Diffusivity);
  EditEc->setValue(s.Ec);
  EditPoisson->setValue(s.Poisson);
  EditAlpha->setValue(s.Alpha);
  // A stored value other than 0 or 1 selects neither item, and OK then keeps it.
  if (QAbstractButton* item = stressButtons_->button(s.PlaneStrain)) item->setChecked(true);
  ListBox->clear();
  UpdatePicture();
  shownEntries_ = Entries();
}

std::vector<double> TSectionDlg::Entries() const {
  return {EditX1->value(),  EditX2->value(),          static_cast<double>(EditNombreDiv->value()),
          EditRatio->value(), EditT0->value(),        EditDiffusivity->value(),
          EditEc->value(),  EditPoisson->value(),     EditAlpha->value(),
          static_cast<double>(stressButtons_->checkedId())};
}

void TSectionDlg::UpdatePicture() { picture_->setDistribution(EditNombreDiv->value(), EditRatio->value()); }

void TSectionDlg::Button1Click() {
  TVector nodes;
  ListBox->clear();
  if (ComputeNodes(EditNombreDiv->value(), nodes, EditX1->value(), EditX2->value(), EditRatio->value())) {
    for (int k = 1; k <= nodes.NrOfElem(); ++k) ListBox->addItem(NodeLine(k, nodes.Element(k)));
    return;
  }
  // The entered values give no distribution: show the one the project holds. Only the
  // section nodes; the thermometer positions an analysis appends are not division points.
  const TSectionProperties& s = project_.SectionProperties;
  const int count = std::min(s.Nodes.NrOfElem(), std::max(s.NbDivisions + 1, 1));
  for (int k = 1; k <= count; ++k) ListBox->addItem(NodeLine(k, s.Nodes.Element(k)));
}

QString TSectionDlg::FieldCaption(const QWidget* field) const {
  for (const QLabel* label : findChildren<QLabel*>()) {
    if (label->buddy() != field) continue;
    QString caption = label->text().simplified();  // the ratio's caption takes two lines
    if (caption.endsWith(u'=')) caption.chop(1);
    return caption.trimmed();
  }
  return field->objectName();
}

bool TSectionDlg::PlaneStrainChosen() const {
  // With neither item selected, OK keeps the stored choice, and any value but 0 computes
  // plane strain.
  const int item = stressButtons_->checkedId();
  return item >= 0 ? item == 1 : project_.SectionProperties.PlaneStrain != 0;
}

void TSectionDlg::RefusedValues(QWidget* culprit, const QString& why) {
  Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"),
                    WarningText() + u'\n' + FieldCaption(culprit) + QStringLiteral(": ") + why + u'.');
  culprit->setFocus();
}

void TSectionDlg::OKBtnClick() {
  // An entry the edit refused stays refused: OK does not go on with the value behind it.
  for (TNumericEdit* edit : {EditX1, EditX2, EditRatio, EditT0, EditDiffusivity, EditEc, EditPoisson, EditAlpha})
    if (!edit->commitText()) return RefusedValues(edit, edit->refusal());
  // A look at a defined section is no edit: results and the saved state stay as they are.
  if (project_.HasFlag(pfSection) && Entries() == shownEntries_) {
    changed_ = false;
    accept();
    return;
  }

  const double xu = EditX1->value();
  const double xd = EditX2->value();
  const int divisions = EditNombreDiv->value();
  const double ratio = EditRatio->value();
  const double diffusivity = EditDiffusivity->value();
  const double ec = EditEc->value();
  const double poisson = EditPoisson->value();

  TVector nodes;
  if (!ComputeNodes(divisions, nodes, xu, xd, ratio))
    return RefusedValues(EditX2, QStringLiteral("must be greater than Xu"));
  // Every analysis divides by the diffusivity and takes its square root.
  if (!(diffusivity > 0)) return RefusedValues(EditDiffusivity, QStringLiteral("must be greater than 0"));
  // The stresses scale with the modulus: zero or less gives no meaningful stress.
  if (!(ec > 0)) return RefusedValues(EditEc, QStringLiteral("must be greater than 0"));
  // In plane strain the stress is divided by (1 - 2 x Poisson's ratio): at 0.5 it has no value.
  if (PlaneStrainChosen() && !(poisson < 0.5))
    return RefusedValues(EditPoisson, QStringLiteral("must be less than 0.5 for plane strain"));

  Project& p = project_;
  TSectionProperties& s = p.SectionProperties;
  s.Nodes = nodes;
  p.ProjectFlags &= static_cast<std::uint8_t>(~(pfDirectResults | pfInverseResults));
  s.Xu = xu;
  s.Xd = xd;
  s.Ratio = ratio;
  s.NbDivisions = divisions;
  s.T0 = EditT0->value();
  s.Diffusivity = diffusivity;
  p.ProjectFlags |= pfSection;
  s.Ec = ec;
  s.Poisson = poisson;
  s.Alpha = EditAlpha->value();
  if (const int item = stressButtons_->checkedId(); item >= 0) s.PlaneStrain = static_cast<std::uint8_t>(item);
  changed_ = true;
  accept();
}

}  // namespace kolma::ui
