#pragma once
// What a logger file holds, shown before anything replaces the edited history: the format
// found, the user's choices (time column, temperature column, day/month order, zone, step,
// gap limit), the long gaps, the readings refused and the summary of the history it would
// give. Every change of a choice imports again; OK is open only while the import gives a
// history, and asks first when many readings were refused.
#include <QString>
#include <string>

#include "core/analysis/measurement_import.h"
#include "ui/dialogs/dialog_background.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kolma::ui {

class TNumericEdit;

class TImportMeasurementsDlg : public TGradientDialog {
  Q_OBJECT
 public:
  // `table` is a file already parsed (ok()); `fileName` is shown in the caption.
  TImportMeasurementsDlg(kolma::MeasurementTable table, const QString& fileName, QWidget* parent = nullptr);

  // The import with the current choices; its values and time step are the history on OK.
  const kolma::ImportResult& Result() const { return result_; }

 private:
  void BuildControls();
  void FillChoices();
  void TimeColumnChosen();
  void StepEdited();
  void Recompute();
  void ShowResult();
  kolma::ImportChoices Choices() const;

  kolma::MeasurementTable table_;
  std::string source_;  // the file's text, read again when the user names the time column
  kolma::ImportResult result_;
  int columnChoice_ = -1;     // the temperature column chosen before the time column changed
  bool stepChosen_ = false;  // the user typed a step: it no longer follows the proposal
  bool showing_ = false;     // the program is setting the step edit

  QLabel* LabelDetected = nullptr;
  QComboBox* ComboTimeColumn = nullptr;
  QComboBox* ComboColumn = nullptr;
  QComboBox* ComboDayMonth = nullptr;
  QLabel* LabelDayMonth = nullptr;
  QComboBox* ComboZone = nullptr;
  TNumericEdit* EditStep = nullptr;
  QLabel* LabelProposedStep = nullptr;
  TNumericEdit* EditMaxGap = nullptr;
  QListWidget* ListGaps = nullptr;
  QCheckBox* CheckBridge = nullptr;
  QLabel* LabelFirstTime = nullptr;
  QLabel* LabelLastTime = nullptr;
  QLabel* LabelReadings = nullptr;
  QLabel* LabelBridged = nullptr;
  QListWidget* ListRefused = nullptr;
  QListWidget* ListNotes = nullptr;
  QLabel* LabelStatus = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

}  // namespace kolma::ui
