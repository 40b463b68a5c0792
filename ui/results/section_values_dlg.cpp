#include "ui/results/section_values_dlg.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/analysis/quantity_names.h"
#include "core/analysis/result_table.h"
#include "core/analysis/thermal_decomposition.h"
#include "core/model/project.h"
#include "ui/results/profile_step_bar.h"
#include "ui/results/result_window_menus.h"
#include "ui/widgets/prompts.h"
#include "ui/widgets/result_grid.h"

namespace kolma::ui {
namespace {

// The rows of the table, after the header row of node positions.
enum Row { kPosition = 0, kT, kTm, kTd, kTn, kStress, kRowCount };

const char* const kRowCaptions[kRowCount] = {"Position X", "T (°C)", "Tm (°C)", "Td (°C)", "Tn (°C)",
                                             "Stress (MPa)"};

int NodeCount(const Project& project) { return project.SectionProperties.NbDivisions + 1; }

}  // namespace

TSectionValuesDlg::TSectionValuesDlg(Project& project, int startStep, QWidget* parent)
    : QDialog(parent), project_(project), startStep_(startStep) {
  setObjectName(QStringLiteral("SectionValuesDlg"));
  setWindowTitle(QStringLiteral("Section values"));

  Grid_ = new TResultGrid(this);
  Grid_->setObjectName(QStringLiteral("Grid"));
  Grid_->SetAccessibleName(windowTitle());
  Grid_->setFont(QFont(QStringLiteral("Tahoma"), 8));
  Grid_->SetDefaultSizes(70, 25);

  stepBar_ = new TStepBar(this);
  stepBar_->setObjectName(QStringLiteral("BottomPanel"));
  stepBar_->AddTmTdAndClose(LabelTm, LabelTd, CloseBtn);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Grid_, 1);
  layout->addWidget(stepBar_);
  BuildMenus();

  connect(stepBar_, &TStepBar::StepChanged, this, &TSectionValuesDlg::TrackBarChange);
  connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
  resize(623, 323);
}

TSectionValuesDlg::~TSectionValuesDlg() = default;

void TSectionValuesDlg::BuildMenus() {
  menus_ = AddTableWindowMenus(this, Grid_, QuantityWording(TResultQuantity::SectionValues));
  // This window's Edit menu names its whole-table copy "&Copy".
  menus_.copyAll->setText(QStringLiteral("&Copy"));
  addAction(menus_.copyAll);  // Ctrl+C wherever the focus is in the window
  layout()->setMenuBar(menus_.bar);
}

void TSectionValuesDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FormShow();
}

void TSectionValuesDlg::FormShow() {
  const int nodes = NodeCount(project_);
  TResultTable table(kRowCount, nodes + 1, 1, 1);
  for (int r = 0; r < kRowCount; ++r) table.setCell(r, 0, kRowCaptions[r]);
  for (int i = 1; i <= nodes; ++i)
    table.setCell(kPosition, i, FormatFloat("%8.3f m", project_.SectionProperties.Nodes.Element(i)));
  Grid_->SetTable(std::move(table));
  DescribeTable(Grid_, TResultQuantity::SectionValues);
  Grid_->SetSectionToolTip(Qt::Vertical, kTd, QString::fromUtf8(LinearComponentRowToolTip()));
  Grid_->SetSectionToolTip(Qt::Vertical, kStress, QString::fromUtf8(StressToolTip()));

  stepBar_->SetSteps(project_.DirectResults.Temperatures.NrOfRows(), project_.DirectResults.TimeStep, startStep_);
  TrackBarChange(stepBar_->Position());

  // Without a finite stress factor the stress row stays empty; the reason is told once.
  if (const TStressFactor factor = StressFactor(project_.SectionProperties); !factor.valid)
    Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"), QString::fromStdString(factor.reason));
}

void TSectionValuesDlg::TrackBarChange(int step) {
  const TTmTd split = ComputeTmTd(project_, step);
  LabelTm->setText(QString::fromStdString(FormatFloat("Tm = %9.3f °C", split.Tm)));
  LabelTd->setText(QString::fromStdString(FormatFloat("Td = %9.3f °C", split.Td)));
  FillGrid(step, split);
}

void TSectionValuesDlg::FillGrid(int step, const TTmTd& split) {
  const TStressFactor factor = StressFactor(project_.SectionProperties);
  TResultTable& table = Grid_->Table();
  for (int i = 1; i <= NodeCount(project_); ++i) {
    table.setNumber(kT, i, project_.DirectResults.Temperatures.Element(i, step));
    table.setNumber(kTm, i, split.Tm);
    table.setNumber(kTd, i, Tl(project_, i, split));
    table.setNumber(kTn, i, Tn(project_, i, step, split));
    if (factor.valid)
      table.setNumber(kStress, i, Stress(project_, i, step, split, factor.value));
    else
      table.setCell(kStress, i, std::string());
  }
  Grid_->TableChanged();
  Grid_->WidenColumnsToFit();  // "Stress (MPa)" and wide numbers at this desktop's font
}

}  // namespace kolma::ui
