#include "ui/results/result_window_menus.h"

#include <QAction>
#include <QDialog>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace kolma::ui {

namespace {

QAction* AddCommand(QMenu* menu, const char* name, const QString& text) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace

TTableWindowMenus AddTableWindowMenus(QDialog* window, TResultGrid* grid, const TExportWording& wording) {
  return AddTableWindowMenus(window, grid, [wording] { return wording; });
}

TExportWording QuantityWording(kolma::TResultQuantity quantity, TExportWording base) {
  const kolma::TQuantityNames& names = kolma::QuantityNames(quantity);
  base.sheetName = QString::fromStdString(names.sheetName);
  base.proposedName = QString::fromStdString(names.fileName);
  return base;
}

void DescribeTable(TResultGrid* grid, kolma::TResultQuantity quantity) {
  grid->SetHeaderToolTip(QString::fromStdString(kolma::QuantityNames(quantity).toolTip));
}

TTableWindowMenus AddTableWindowMenus(QDialog* window, TResultGrid* grid, std::function<TExportWording()> wording) {
  TTableWindowMenus menus;
  menus.bar = new QMenuBar(window);
  QMenu* file = menus.bar->addMenu(QStringLiteral("&File"));
  QMenu* exports = file->addMenu(QStringLiteral("Export"));
  menus.exportExcel = AddCommand(exports, "ExportExcel", QStringLiteral("Ms Excel"));
  menus.exportCsv = AddCommand(exports, "ExportCsv", QStringLiteral("CSV file"));
  file->addSeparator();
  menus.close = AddCommand(file, "Close", QStringLiteral("&Close"));
  QMenu* edit = menus.bar->addMenu(QStringLiteral("&Edit"));
  menus.copyAll = AddCommand(edit, "CopyAll", QStringLiteral("&Copy all"));
  menus.copyAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  menus.copySelection = AddCommand(edit, "CopySelection", QStringLiteral("Copy selection"));

  QObject::connect(menus.exportExcel, &QAction::triggered, grid, [grid, wording] { grid->ExportExcel(wording()); });
  QObject::connect(menus.exportCsv, &QAction::triggered, grid, [grid, wording] { grid->ExportCsv(wording()); });
  QObject::connect(menus.close, &QAction::triggered, window, &QDialog::accept);
  QObject::connect(menus.copyAll, &QAction::triggered, grid, [grid] { grid->CopyAll(); });
  QObject::connect(menus.copySelection, &QAction::triggered, grid, [grid] { grid->CopySelection(); });
  return menus;
}

}  // namespace kolma::ui
