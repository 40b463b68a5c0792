#pragma once
// The function generator: the parameters of a synthetic hourly face temperature history,
// an annual plus a daily sinusoid (open water) or one warm season under an ice cover.
#include "core/analysis/function_generator.h"
#include "ui/dialogs/dialog_background.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace kolma::ui {

class TNumericEdit;

// Opens with its defaults every time. OK refuses a period that gives no history.
class TGeneratorDlg : public TGradientDialog {
  Q_OBJECT
 public:
  explicit TGeneratorDlg(QWidget* parent = nullptr);

  kolma::GeneratorParameters Parameters() const;

 public slots:
  void OKBtnClick();

 private:
  void BuildControls();
  void UpdateEnabled();

  QRadioButton* RadioWithoutIce = nullptr;
  QRadioButton* RadioWithIce = nullptr;
  TNumericEdit* EditPeriod = nullptr;
  TNumericEdit* EditPeriod2 = nullptr;
  TNumericEdit* EditPhase = nullptr;
  TNumericEdit* EditA0 = nullptr;
  TNumericEdit* EditA1 = nullptr;
  TNumericEdit* EditA2 = nullptr;
  QLabel* LabelPeriod2 = nullptr;
  QLabel* LabelA2 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

}  // namespace kolma::ui
