#pragma once
// The section dialog: face coordinates, the division of the section into nodes, the
// reference temperature and the material constants, plane stress or plane strain.
#include <vector>

#include "ui/dialogs/dialog_background.h"

class QButtonGroup;
class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kolma {
struct Project;
}

namespace kolma::ui {

class TNumericEdit;
class TSectionPicture;

// Reads the project's section when created. On OK it writes the section, recomputes the
// nodes, sets pfSection and clears both result flags (the caller sets pfModified and
// redraws); Cancel leaves the project untouched.
class TSectionDlg : public TGradientDialog {
  Q_OBJECT
 public:
  explicit TSectionDlg(kolma::Project& project, QWidget* parent = nullptr);

  static QString WarningText();  // "Incorrect values. Please apply the correction"

  // After OK: false when the section was already defined and nothing was changed here, so
  // that nothing was written and the caller must not mark the project changed.
  bool Changed() const { return changed_; }

 public slots:
  void Button1Click();  // "See division locations"
  void OKBtnClick();

 private:
  void BuildControls();
  void FormShow();
  // The warning, with a second line naming the field and why; the field gets the focus.
  void RefusedValues(QWidget* culprit, const QString& why);
  QString FieldCaption(const QWidget* field) const;  // its label without the " ="
  bool PlaneStrainChosen() const;
  void UpdatePicture();
  // Every entry as it stands, in one list, to tell whether OK has anything to store.
  std::vector<double> Entries() const;

  kolma::Project& project_;
  std::vector<double> shownEntries_;
  bool changed_ = false;

  TSectionPicture* picture_ = nullptr;
  TNumericEdit* EditX1 = nullptr;
  TNumericEdit* EditX2 = nullptr;
  QSpinBox* EditNombreDiv = nullptr;
  TNumericEdit* EditRatio = nullptr;
  TNumericEdit* EditT0 = nullptr;
  TNumericEdit* EditDiffusivity = nullptr;
  TNumericEdit* EditEc = nullptr;
  TNumericEdit* EditPoisson = nullptr;
  TNumericEdit* EditAlpha = nullptr;
  QGroupBox* RadioGroupStresses = nullptr;
  QButtonGroup* stressButtons_ = nullptr;
  QPushButton* Button1 = nullptr;
  QListWidget* ListBox = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

}  // namespace kolma::ui
