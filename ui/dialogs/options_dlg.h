#pragma once
// The analysis options: how many harmonics an analysis keeps at least, the correction
// for nonlinear means in the inverse analysis and the padding of the histories.
#include "ui/dialogs/dialog_background.h"

class QLabel;
class QRadioButton;
class QSpinBox;
class QPushButton;

namespace kolma {
struct Project;
}

namespace kolma::ui {

class TNumericEdit;

// On OK writes AnalysisOptions and MinHarmonics of both harmonic sets, sets pfModified
// and clears both result flags, even when nothing was changed; Cancel changes nothing.
class TOptionsDlg : public TGradientDialog {
  Q_OBJECT
 public:
  explicit TOptionsDlg(kolma::Project& project, QWidget* parent = nullptr);

  // Padding (years) long enough for a start-up transient to die out across the section:
  // L² × 150 × 0.004 / α / 8760. Without a defined section (or with a diffusivity that
  // gives no finite value) it is the padding the user entered.
  static double SuggestedPadding(const kolma::Project& project, double enteredYears);
  // The question asked when the entered padding is far from the suggestion, as displayed
  // (the line break is a '\n').
  static QString PaddingQuestion(double suggestedYears);
  // Largest minimum number of harmonics the histories allow (half their samples less one,
  // at most 4379).
  static int MinHarmonicsLimit(const kolma::Project& project);

 public slots:
  void OKBtnClick();
  void LMDRadioPAddingAutomaticClick();  // either padding radio button

 private:
  void BuildControls();
  void FormShow();
  void UpdatePaddingEnabled();

  kolma::Project& project_;

  QLabel* RxLabel1 = nullptr;
  QLabel* Label1 = nullptr;
  QSpinBox* EditMinimum = nullptr;
  QRadioButton* LMDRadioButtonTwo = nullptr;
  QRadioButton* LMDRadioButtonLinear = nullptr;
  QRadioButton* LMDRadioButtonNonlinear = nullptr;
  QRadioButton* LMDRadioPAddingAutomatic = nullptr;
  QRadioButton* LMDRadioPaddingUser = nullptr;
  QLabel* RxLabel2 = nullptr;
  TNumericEdit* EditPadding = nullptr;
  QLabel* RxLabel3 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

}  // namespace kolma::ui
