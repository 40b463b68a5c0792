#include "ui/results/harmonic_dlg.h"

#include <QMenuBar>
#include <QVBoxLayout>

#include "core/analysis/harmonics_table.h"
#include "core/model/project.h"

namespace kolma::ui {

THarmonicDlg::THarmonicDlg(kolma::Project& project, bool showInverse, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("HarmonicDlg"));
  setWindowTitle(QString::fromStdString(kolma::HarmonicsCaption(showInverse)));
  grid_ = new TResultGrid(this);
  grid_->SetDefaultSizes(75, 21);
  grid_->SetTable(showInverse ? kolma::InverseHarmonicsTable(project) : kolma::DirectHarmonicsTable(project));
  grid_->SetColumnWidth(0, 40);
  grid_->SetAccessibleName(windowTitle());
  menus_ = AddTableWindowMenus(this, grid_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setMenuBar(menus_.bar);
  layout->addWidget(grid_);
  resize(40 + 6 * 75 + 24, 320);
}

}  // namespace kolma::ui
