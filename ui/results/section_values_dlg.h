#pragma once
// The section values of one analysis step: every node with its position, temperature, the
// mean, linear and nonlinear parts of the temperature and the thermal stress, stepped
// through time like the profile view that opens it. Read-only; exported and copied as every
// result table.
#include <QDialog>

#include "ui/results/result_window_menus.h"

class QLabel;
class QPushButton;

namespace kolma {
struct Project;
struct TTmTd;
}

namespace kolma::ui {

class TStepBar;

class TSectionValuesDlg : public QDialog {
  Q_OBJECT
 public:
  // startStep: the analysis step shown first (1-based; kept within the steps there are).
  TSectionValuesDlg(kolma::Project& project, int startStep, QWidget* parent = nullptr);
  ~TSectionValuesDlg() override;

  TResultGrid* Grid() const { return Grid_; }
  TStepBar* StepBar() const { return stepBar_; }
  const TTableWindowMenus& Menus() const { return menus_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus();
  void FormShow();
  void TrackBarChange(int step);
  void FillGrid(int step, const kolma::TTmTd& split);

  kolma::Project& project_;
  int startStep_ = 1;
  bool shown_ = false;

  TTableWindowMenus menus_;
  TResultGrid* Grid_ = nullptr;
  TStepBar* stepBar_ = nullptr;
  QLabel* LabelTm = nullptr;
  QLabel* LabelTd = nullptr;
  QPushButton* CloseBtn = nullptr;
};

}  // namespace kolma::ui
