#pragma once
// The two period limits of the band filter of the history editor.
#include "ui/dialogs/dialog_background.h"

class QPushButton;

namespace kolma::ui {

class TPeriodEdit;

// Removes every period from the lower to the upper limit. Both start at the ends of the
// range shown (so OK at once removes every harmonic shown); OK refuses a lower limit
// above the upper one.
class TBandFilterDlg : public TGradientDialog {
  Q_OBJECT
 public:
  // unitIndex: 0 hour, 1 day, 2 month; the range is the spectrum chart's view in that unit.
  TBandFilterDlg(int unitIndex, double rangeLo, double rangeHi, QWidget* parent = nullptr);

  double LowerPeriod() const;
  double UpperPeriod() const;

 public slots:
  void OKBtnClick();

 private:
  TPeriodEdit* EditLowerPeriod = nullptr;
  TPeriodEdit* EditUpperPeriod = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

}  // namespace kolma::ui
