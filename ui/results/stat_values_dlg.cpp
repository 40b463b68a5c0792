#include "ui/results/stat_values_dlg.h"

#include <QAction>
#include <QFont>
#include <QMenuBar>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/results/time_view_tables.h"

namespace kolma::ui {
namespace {

constexpr int kMinColumnWidth = 100;
constexpr int kRowHeight = 25;

}  // namespace

TStatValuesDlg::TStatValuesDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("StatValuesDlg"));
  setWindowTitle(QStringLiteral("Temperatures"));

  Grid_ = new TResultGrid(this);
  Grid_->setObjectName(QStringLiteral("Grid"));
  Grid_->setFont(QFont(QStringLiteral("Tahoma"), 8));
  Grid_->SetDefaultSizes(kMinColumnWidth, kRowHeight);
  Grid_->SetMovableColumns(true);
  Grid_->SetAccessibleName(windowTitle());

  // The shared table menus, with the one copy command this table has.
  DescribeTable(Grid_, TResultQuantity::CurveValues);
  menus_ = AddTableWindowMenus(this, Grid_, [this] { return QuantityWording(quantity_, ExportWording()); });
  menus_.copyAll->setText(QStringLiteral("&Copy"));
  menus_.copySelection->setVisible(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setMenuBar(menus_.bar);
  layout->addWidget(Grid_);

  resize(630, 383);
}

TStatValuesDlg::~TStatValuesDlg() = default;

void TStatValuesDlg::SetQuantity(TResultQuantity quantity) {
  quantity_ = quantity;
  setWindowTitle(QString::fromStdString(QuantityNames(quantity).caption));
  Grid_->SetAccessibleName(windowTitle());
  DescribeTable(Grid_, quantity);
}

TExportWording TStatValuesDlg::ExportWording() {
  TExportWording wording;
  wording.excelTitle = QStringLiteral("Export to MS Excel file");
  wording.excelFilter = QStringLiteral("MS Excel file|*.xls");
  wording.excelSuffix = QStringLiteral("XLS");
  wording.csvTitle = QStringLiteral("Export to CSV file");
  wording.csvFilter = QStringLiteral("Comma separated values|*.csv");
  wording.csvSuffix = QStringLiteral("CSV");
  return wording;
}

void TStatValuesDlg::SetCurve(std::span<const double> values, double timeStep, double position,
                              const TMovingStatistics* averages) {
  Grid_->SetTable(CurveValuesTable(values, timeStep, position, averages));
}

void TStatValuesDlg::SetPrepared(kolma::TResultTable table) { Grid_->SetTable(std::move(table)); }

void TStatValuesDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FitColumnWidth();
}

// Few columns share the width of the window; many keep a readable minimum and scroll.
void TStatValuesDlg::FitColumnWidth() {
  const int columns = std::max(1, Grid_->Table().columns());
  // The frame and the vertical scroll bar take their share first, or the last column is cut.
  const QTableView* view = Grid_->View();
  const int room = Grid_->contentsRect().width() - 2 * view->frameWidth() - view->verticalScrollBar()->sizeHint().width();
  const int width = std::max(room / columns, kMinColumnWidth);
  Grid_->SetDefaultSizes(width, kRowHeight);
  Grid_->WidenColumnsToFit();  // a long header ("Std. Deviation", a position) is never cut
}

}  // namespace kolma::ui
