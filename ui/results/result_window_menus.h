#pragma once
// The File and Edit menus that the table windows share: "Export" with "Ms Excel" and
// "CSV file", a separator and "&Close"; "&Copy all" (Ctrl+C) and "Copy selection".
#include <QString>

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

}  // namespace kolma::ui
