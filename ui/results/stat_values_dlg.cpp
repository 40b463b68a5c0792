#include "ui/results/stat_values_dlg.h"

#include <QAction>
#include <QFont>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/results/time_view_tables.h"

namespace kolma::ui {
namespace {

constexpr int kMinColumnWidth = 100;
constexpr int kRowHeight = 25;

QAction* NewAction(QMenu* menu, const char* name, const QString& text) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace

TStatValuesDlg::TStatValuesDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("StatValuesDlg"));
  setWindowTitle(QStringLiteral("Temperatures"));

  auto* menus = new QMenuBar(this);
  menus->setObjectName(QStringLiteral("MainMenu"));
  QMenu* file = menus->addMenu(QStringLiteral("&File"));
  QMenu* exportMenu = file->addMenu(QStringLiteral("Export"));
  ActionExcel = NewAction(exportMenu, "MsExcel1", QStringLiteral("Ms Excel"));
  ActionCsv = NewAction(exportMenu, "CSVfile1", QStringLiteral("CSV file"));
  file->addSeparator();
  ActionClose = NewAction(file, "Close1", QStringLiteral("&Close"));
  QMenu* edit = menus->addMenu(QStringLiteral("&Edit"));
  ActionCopy = NewAction(edit, "Copy1", QStringLiteral("&Copy"));
  ActionCopy->setShortcut(QKeySequence::Copy);
  ActionCopy->setShortcutContext(Qt::WindowShortcut);
  addAction(ActionCopy);

  Grid_ = new TResultGrid(this);
  Grid_->setObjectName(QStringLiteral("Grid"));
  Grid_->setFont(QFont(QStringLiteral("Tahoma"), 8));
  Grid_->SetDefaultSizes(kMinColumnWidth, kRowHeight);
  Grid_->SetMovableColumns(true);
  Grid_->SetAccessibleName(windowTitle());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setMenuBar(menus);
  layout->addWidget(Grid_);

  connect(ActionExcel, &QAction::triggered, this, [this] { Grid_->ExportExcel(ExportWording()); });
  connect(ActionCsv, &QAction::triggered, this, [this] { Grid_->ExportCsv(ExportWording()); });
  connect(ActionClose, &QAction::triggered, this, &QDialog::accept);
  connect(ActionCopy, &QAction::triggered, this, [this] { Grid_->CopyAll(); });
  resize(630, 383);
}

TStatValuesDlg::~TStatValuesDlg() = default;

TExportWording TStatValuesDlg::ExportWording() {
  TExportWording wording;
  wording.excelTitle = QStringLiteral("Export to MS Excel file");
  wording.excelFilter = QStringLiteral("MS Excel file|*.xls");
  wording.excelSuffix = QStringLiteral("XLS");
  wording.csvTitle = QStringLiteral("Export to CSV file");
  wording.csvFilter = QStringLiteral("Comma Seperated values|*.csv");
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
  const int width = std::max((Grid_->contentsRect().width() - 4) / columns, kMinColumnWidth);
  Grid_->SetDefaultSizes(width, kRowHeight);
}

}  // namespace kolma::ui
