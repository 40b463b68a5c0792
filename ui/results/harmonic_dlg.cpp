#include "ui/results/harmonic_dlg.h"

#include <QHeaderView>
#include <QMenuBar>
#include <QScrollBar>
#include <QTableView>
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
  grid_->WidenColumnsToFit();
  grid_->SetAccessibleName(windowTitle());
  const auto quantity = showInverse ? kolma::TResultQuantity::InverseHarmonics : kolma::TResultQuantity::DirectHarmonics;
  DescribeTable(grid_, quantity);
  menus_ = AddTableWindowMenus(this, grid_, QuantityWording(quantity));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setMenuBar(menus_.bar);
  layout->addWidget(grid_);
  // Every column in view, whatever this desktop's font made of their widths.
  QTableView* view = grid_->View();
  resize(view->verticalHeader()->sizeHint().width() + view->horizontalHeader()->length() + 2 * view->frameWidth() +
             view->verticalScrollBar()->sizeHint().width(),
         320);
}

}  // namespace kolma::ui
