#pragma once
// The File and Edit menus that the table windows share: "Export" with "Ms Excel" and
// "CSV file", a separator and "&Close"; "&Copy all" (Ctrl+C) and "Copy selection".
#include <QString>
#include <functional>

#include "core/analysis/quantity_names.h"
#include "ui/widgets/result_grid.h"

class QAction;
class QDialog;
class QMenuBar;

namespace kolma::ui {

struct TTableWindowMenus {
  QMenuBar* bar = nullptr;
  QAction* exportExcel = nullptr;
  QAction* exportCsv = nullptr;
  QAction* close = nullptr;
  QAction* copyAll = nullptr;
  QAction* copySelection = nullptr;
};

// A menu bar for `window` (put at the top of its layout by the caller) whose commands work
// on `grid`; "&Close" accepts the window.
TTableWindowMenus AddTableWindowMenus(QDialog* window, TResultGrid* grid, const TExportWording& wording = {});
// The same for a window whose table changes what it holds: the wording is asked for at
// each export.
TTableWindowMenus AddTableWindowMenus(QDialog* window, TResultGrid* grid, std::function<TExportWording()> wording);

// The save dialogs' wording `base` with the sheet name and proposed file name of `quantity`.
TExportWording QuantityWording(kolma::TResultQuantity quantity, TExportWording base = {});
// Says on the grid's headers (tool tip) what the table holds.
void DescribeTable(TResultGrid* grid, kolma::TResultQuantity quantity);

}  // namespace kolma::ui
