#pragma once
// The values table behind "Show values" of the time-history view: either the charted curve
// as a column over time (with its moving mean and deviation when an average curve is on),
// or a table the opener has laid out. Read-only, with its own export wording.
#include <QDialog>
#include <span>

#include "core/analysis/moving_statistics.h"
#include "core/analysis/result_table.h"
#include "ui/results/result_window_menus.h"
#include "ui/widgets/result_grid.h"

namespace kolma::ui {

class TStatValuesDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TStatValuesDlg(QWidget* parent = nullptr);
  ~TStatValuesDlg() override;

  // The curve form: one value per step, step j at (j - 1) * timeStep; the values column is
  // headed with the x of the curve's position. averages: none, or the moving statistics of
  // the same length.
  void SetCurve(std::span<const double> values, double timeStep, double position,
                const TMovingStatistics* averages);
  // The prepared form: the table as the opener laid it out.
  void SetPrepared(kolma::TResultTable table);
  // What the table holds: the caption, the headers' tool tip and the export's sheet and file
  // names follow it (curve values in °C unless told otherwise).
  void SetQuantity(kolma::TResultQuantity quantity);

  TResultGrid* Grid() const { return Grid_; }
  const TTableWindowMenus& Menus() const { return menus_; }
  static TExportWording ExportWording();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FitColumnWidth();

  TResultGrid* Grid_ = nullptr;
  TTableWindowMenus menus_;
  kolma::TResultQuantity quantity_ = kolma::TResultQuantity::CurveValues;
};

}  // namespace kolma::ui
