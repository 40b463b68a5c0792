#include "ui/results/temp_time_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/analysis/harmonic_decomposition.h"
#include "core/analysis/result_table.h"
#include "core/analysis/thermal_decomposition.h"
#include "core/model/project.h"
#include "ui/results/profile_step_bar.h"
#include "ui/results/section_values_dlg.h"
#include "ui/widgets/chart_mouse_modes.h"
#include "ui/widgets/chart_picture.h"
#include "ui/widgets/icons.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {
namespace {

const QColor kProfileColor(0, 0, 255);
const QColor kMeanColor(255, 0, 0);
const QColor kLineColor(0, 128, 0);
// The legend's names of the three curves.
const QString kProfileTitle = QStringLiteral("Temperature T at the nodes");
const QString kMeanTitle = QStringLiteral("Mean temperature Tm");
const QString kLineTitle = QStringLiteral("Equivalent straight line (Tm, Td)");

// Numbers of the read-outs with the desktop's decimal separator, as in the grids.
QString Formatted(const char* format, double value) { return QString::fromStdString(FormatFloat(format, value)); }

QPushButton* NewButton(const char* name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAccessibleName(text);
  button->setAutoDefault(false);
  return button;
}

int NodeCount(const Project& project) { return project.SectionProperties.NbDivisions + 1; }
int StepCount(const Project& project) { return project.DirectResults.Temperatures.NrOfRows(); }

}  // namespace

TTempTimeDlg::TTempTimeDlg(Project& project, QWidget* parent) : QDialog(parent), project_(project) {
  setObjectName(QStringLiteral("TempTimeDlg"));
  setWindowTitle(QStringLiteral("Temperature vs Section Position"));

  Chart_ = new TRChart(this);
  Chart_->setObjectName(QStringLiteral("Chart"));
  Chart_->setAccessibleName(windowTitle());
  Chart_->SetIdAbscissa(QStringLiteral("Section position X (m)"));
  Chart_->SetIdOrdinate(QStringLiteral("Temperature (°C)"));
  Chart_->SetBRim(40);
  Chart_->SetGridStyle(gsNone);
  Chart_->SetMouseAction(maNone);
  Chart_->SetMinRangeX(1e-10);
  Chart_->SetMinRangeY(1e-10);

  stepBar_ = new TStepBar(this);
  stepBar_->setObjectName(QStringLiteral("BottomPanel"));
  stepBar_->AddTmTdAndClose(LabelTm, LabelTd, CloseBtn);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(BuildTopPanel());
  layout->addWidget(Chart_, 1);
  layout->addWidget(stepBar_);

  connect(stepBar_, &TStepBar::StepChanged, this, &TTempTimeDlg::TrackBarChange);
  // The overlay follows the check box at once rather than waiting for the next step.
  connect(CheckBoxResolve, &QCheckBox::toggled, this, [this] {
    if (shown_) TrackBarChange(stepBar_->Position());
  });
  connect(ButtonViewAll, &QPushButton::clicked, this, &TTempTimeDlg::ViewAllClick);
  connect(ButtonShowValues, &QPushButton::clicked, this, &TTempTimeDlg::ShowValuesClick);
  connect(ButtonCopy, &QPushButton::clicked, this, &TTempTimeDlg::CopyClick);
  connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(Chart_, &TRChart::OnMouseMoveInChart, this,
          [this](bool, Qt::KeyboardModifiers, double x, double y) { MouseMoveInChart(x, y); });

  // Never so small that the buttons or read-outs would be cut.
  setMinimumSize(minimumSizeHint().expandedTo(QSize(540, 400)));
  // The designed size, or wider where this desktop's fonts need room for the top row.
  resize(sizeHint().expandedTo(QSize(565, 425)));
}

TTempTimeDlg::~TTempTimeDlg() = default;

QWidget* TTempTimeDlg::BuildTopPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("TopPanel"));
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(6, 6, 6, 2);
  row->setSpacing(2);

  mouseModes_ = AddMouseModeButtons(panel, row, true, [this](MouseActMode mode) { Chart_->SetMouseAction(mode); });

  ButtonViewAll = NewButton("ButtonViewAll", QStringLiteral("View all"), panel);
  ButtonViewAll->setToolTip(QStringLiteral("Refresh plot"));
  ButtonShowValues = NewButton("ButtonShowValues", QStringLiteral("Show values"), panel);
  ButtonCopy = NewButton("ButtonCopy", QStringLiteral("Copy to clipboard"), panel);
  auto* savePicture = NewButton("ButtonSavePicture", QStringLiteral("Save picture..."), panel);
  connect(savePicture, &QPushButton::clicked, this, [this] { SaveChartPicture(*Chart_, this); });
  CheckBoxResolve = new QCheckBox(QStringLiteral("Resolve Temperature field"), panel);
  CheckBoxResolve->setObjectName(QStringLiteral("CheckBoxResolve"));
  row->addSpacing(8);
  row->addWidget(ButtonViewAll);
  row->addWidget(ButtonShowValues);
  row->addWidget(ButtonCopy);
  row->addWidget(savePicture);
  row->addSpacing(8);
  row->addWidget(CheckBoxResolve);
  row->addStretch();

  LabelX = new QLabel(QStringLiteral("X ="), panel);
  LabelX->setObjectName(QStringLiteral("LabelX"));
  LabelT = new QLabel(QStringLiteral("T ="), panel);
  LabelT->setObjectName(QStringLiteral("LabelT"));
  for (QLabel* label : {LabelX, LabelT})
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("T = -99999.999 °C")) + 4);
  auto* readOuts = new QVBoxLayout;
  readOuts->addWidget(LabelX);
  readOuts->addWidget(LabelT);
  row->addLayout(readOuts);
  return panel;
}

void TTempTimeDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  FormShow();
  shown_ = true;
}

void TTempTimeDlg::FormShow() {
  // The extremes of the whole field, once: they frame every step. Values that are not
  // numbers are left out so that one bad cell cannot spoil the scale.
  const TMatrix& field = project_.DirectResults.Temperatures;
  const int nodes = NodeCount(project_);
  const int steps = StepCount(project_);
  double lo = std::numeric_limits<double>::infinity();
  double hi = -lo;
  for (int k = 1; k <= steps; ++k) {
    for (int i = 1; i <= nodes; ++i) {
      const double t = field.Element(i, k);
      if (!std::isfinite(t)) continue;
      lo = std::min(lo, t);
      hi = std::max(hi, t);
    }
  }
  tmin_ = lo <= hi ? lo : 0.0;
  tmax_ = lo <= hi ? hi : 0.0;

  Chart_->ClearDrawing();
  ViewAllClick();
  stepBar_->SetSteps(steps, project_.DirectResults.TimeStep, 1);
  TrackBarChange(1);
}

void TTempTimeDlg::TrackBarChange(int step) {
  Chart_->ClearDrawing();
  DrawStep(step);
  const bool resolve = CheckBoxResolve->isChecked();
  if (resolve) {
    const TSectionProperties& s = project_.SectionProperties;
    const TTmTd split = ComputeTmTd(project_, step);
    LabelTm->setText(Formatted("Tm = %6.2f °C", split.Tm));
    LabelTd->setText(Formatted("Td = %6.2f °C", split.Td));
    Chart_->SetCurveTitle(kMeanTitle);
    Chart_->SetDataColor(kMeanColor);
    Chart_->AddMoveTo(s.Xu, split.Tm);
    Chart_->AddLineTo(s.Xd, split.Tm);
    Chart_->SetCurveTitle(kLineTitle);
    Chart_->SetDataColor(kLineColor);
    Chart_->AddMoveTo(s.Xu, split.Tm - split.Td / 2.0);
    Chart_->AddLineTo(s.Xd, split.Tm + split.Td / 2.0);
    Chart_->SetCurveTitle(QString());
  }
  // The caption names the step, so that a saved or copied picture says when it was taken.
  const double hours = (step - 1) * project_.DirectResults.TimeStep;
  Chart_->SetCaption(QStringLiteral("Temperature across the section at t = %1 h")
                         .arg(QString::fromStdString(FormatFloat("%.0f", hours))));
  Chart_->ShowDrawing();  // the ranges stay, so a zoom chosen by the user is kept
  LabelTm->setVisible(resolve);
  LabelTd->setVisible(resolve);
}

// The profile of one step: a polyline through the nodes with a marker on each. Only this
// step's items are on the chart, so dragging the track bar redraws a few dozen items.
void TTempTimeDlg::DrawStep(int step) {
  const TVector& x = project_.SectionProperties.Nodes;
  const TMatrix& field = project_.DirectResults.Temperatures;
  Chart_->SetCurveTitle(kProfileTitle);
  Chart_->SetDataColor(kProfileColor);
  Chart_->AddMoveTo(x.Element(1), field.Element(1, step));
  Chart_->AddMark(x.Element(1), field.Element(1, step), mtBoldDiagCross);
  for (int i = 2; i <= NodeCount(project_); ++i) {
    Chart_->AddLineTo(x.Element(i), field.Element(i, step));
    Chart_->AddMark(x.Element(i), field.Element(i, step), mtBoldDiagCross);
  }
  Chart_->SetCurveTitle(QString());
}

void TTempTimeDlg::ViewAllClick() {
  const double xu = project_.SectionProperties.Xu;
  const double xd = project_.SectionProperties.Xd;
  const double margin = 0.05 * (xd - xu);
  Chart_->SetRangeLoX(xu - margin);
  Chart_->SetRangeHiX(xd + margin);
  Chart_->SetRangeLoY(static_cast<double>(RoundHalfEven(tmin_) - 1));
  Chart_->SetRangeHiY(static_cast<double>(RoundHalfEven(tmax_) + 1));
}

void TTempTimeDlg::ShowValuesClick() {
  TSectionValuesDlg values(project_, stepBar_->Position(), this);
  RunDialog(values);
}

void TTempTimeDlg::CopyClick() { Chart_->CopyPictureToClipboard(false); }

void TTempTimeDlg::MouseMoveInChart(double x, double y) {
  LabelX->setText(Formatted("X = %7.3f m", x));
  LabelT->setText(Formatted("T = %7.3f °C", y));
}

}  // namespace kolma::ui
