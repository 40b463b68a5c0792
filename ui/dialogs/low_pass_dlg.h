#pragma once
// The period limit of a low pass or a high pass filter of the history editor.
#include "ui/dialogs/dialog_background.h"

class QPushButton;

namespace kolma::ui {

class TPeriodEdit;

// Low pass: removes every period at or above the limit; high pass: at or below it. The
// limit starts at the longest period shown and stays within the range shown.
class TLowPassDlg : public TGradientDialog {
  Q_OBJECT
 public:
  // unitIndex: 0 hour, 1 day, 2 month; the range is the spectrum chart's view in that unit.
  TLowPassDlg(bool highPass, int unitIndex, double rangeLo, double rangeHi, QWidget* parent = nullptr);

  double Period() const;

 private:
  TPeriodEdit* EditPeriod = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

}  // namespace kolma::ui
