#pragma once
// The spreadsheet: the temperature field of the direct analysis node by node and step by
// step, or one of its derived quantities (Data menu), at three precisions; or, for the
// inverse analysis, the two face histories it worked back, one row per sample.
#include <QDialog>

#include "core/analysis/spreadsheet_table.h"
#include "ui/results/result_window_menus.h"
#include "ui/widgets/result_grid.h"

class QAction;
class QActionGroup;
class QMenu;

namespace kolma {
struct Project;
}

namespace kolma::ui {

class TSpreadsheetDlg final : public QDialog {
  Q_OBJECT
 public:
  // inverseFaces: the worked-back face temperatures, without the Data menu.
  TSpreadsheetDlg(kolma::Project& project, bool inverseFaces, QWidget* parent = nullptr);

  TResultGrid* Grid() const { return grid_; }
  const TTableWindowMenus& Menus() const { return menus_; }
  QMenu* DataMenu() const { return dataMenu_; }
  QAction* DataAction(kolma::TSpreadsheetData data) const;
  QAction* PrecisionAction(kolma::TSpreadsheetPrecision precision) const;

  kolma::TSpreadsheetData Data() const { return data_; }
  kolma::TSpreadsheetPrecision Precision() const { return precision_; }
  // The commands of the two menus.
  void ShowData(kolma::TSpreadsheetData data);
  void SetPrecision(kolma::TSpreadsheetPrecision precision);

 private:
  void CheckMenus();
  // What the grid holds now; the caption, the headers' tool tip and the exports say it.
  kolma::TResultQuantity Quantity() const;
  void Describe();

  kolma::Project& project_;
  bool inverseFaces_;
  kolma::TSpreadsheetData data_ = kolma::TSpreadsheetData::Temperature;
  kolma::TSpreadsheetPrecision precision_ = kolma::TSpreadsheetPrecision::ThreeDigits;
  TResultGrid* grid_ = nullptr;
  TTableWindowMenus menus_;
  QMenu* dataMenu_ = nullptr;
  QActionGroup* dataGroup_ = nullptr;
  QActionGroup* precisionGroup_ = nullptr;
};

}  // namespace kolma::ui
