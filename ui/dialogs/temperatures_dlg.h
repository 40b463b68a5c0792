#pragma once
// The editor of one temperature history (a face, or a thermometer record): the history over
// time and its amplitude spectrum over the period, with loading, saving, the function
// generator, the frequency-domain filters and their undo. It works on a copy handed over by
// its caller; "Ok" hands the edited copy back, "Cancel" drops it.
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "core/numeric/fast_fourier.h"
#include "core/numeric/vector.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace kolma {
struct Project;
}

namespace kolma::ui {

class TNumericEdit;
class TRChart;

class TTemperaturesDlg : public QDialog {
  Q_OBJECT
 public:
  enum Mode { UpstreamFace = 0, DownstreamFace = 1, InsideRecord = 2 };

  // Takes the section's face coordinates from the project; keeps no reference to it.
  explicit TTemperaturesDlg(const kolma::Project& project, QWidget* parent = nullptr);
  ~TTemperaturesDlg() override;

  // ---- Set by the caller before showing, read back after "Ok" -------------------------------
  int EditMode = UpstreamFace;
  double EditedPosition = 0.0;                   // m, inside records only
  std::optional<kolma::TVector> EditedValues;    // none when there is no history yet
  double EditedTimeStep = 0.0;                   // hours between samples
  bool EditIsNew = true;                         // the caller has no history to show

  // The position of an inside record ("EditPosition"); the caller limits it to the section
  // and reads its value after "Ok".
  TNumericEdit* PositionEdit() const { return EditPosition; }
  TRChart* TimeChart() const { return ChartTime; }
  TRChart* SpectrumChart() const { return ChartSpectrum; }
  // Hours per unit of the "Time axis divisions" list: 1, 24 or 730.
  double TimeScale() const;
  QString StatusPanelText(int panel) const;  // panels 0, 1, 2
  // True once the user loaded, imported, generated or filtered a history (a restore after
  // filters alone undoes it). Without that, "Ok" hands back the caller's own samples and
  // time step, not the power-of-two copy the charts and filters work on.
  bool HistoryChanged() const { return newSource_ || filteredSinceSource_; }

  // Shows the import, generator and filter dialogs; tests put their own answers in its place.
  std::function<int(QDialog&)> RunDialog = [](QDialog& dialog) { return dialog.exec(); };

 public slots:
  void LoadClick();
  void ImportClick();
  void GeneratorClick();
  void LowPassClick();
  void HighPassClick();
  void BandFilterClick();
  void RestoreClick();
  void SaveClick();
  void RefreshClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildTopPanel();
  QToolButton* NewSaveButton();
  void FormShow();
  void DrawTimeChart();
  void DrawSpectrumChart();
  void ComputeOriginalSpectrum();
  void NewHistoryShown();
  void NewSourceShown();  // after a load, an import or the generator
  void FilterClicked(int kind);
  void ShowFailure(const QString& text);
  void OKBtnClick();
  void TimeChartMouseMove(double x, double y);
  void SpectrumChartMouseMove(double x, double y);

  double xu_ = 0.0;
  double xd_ = 0.0;
  bool shown_ = false;
  // The spectra hold the transform of the history they were last computed from only
  // after a computation that succeeded.
  bool originalValid_ = false;
  // What the caller handed over, given back by an "Ok" without a change.
  std::optional<kolma::TVector> callerValues_;
  double callerTimeStep_ = 0.0;
  bool newSource_ = false;            // loaded, imported or generated here
  bool filteredSinceSource_ = false;  // filtered since the history was opened or made
  bool filteredValid_ = false;
  std::unique_ptr<kolma::TFastFourier> original_;
  std::unique_ptr<kolma::TFastFourier> filtered_;

  QPushButton* ButtonLoad = nullptr;
  QPushButton* ButtonImport = nullptr;
  QPushButton* ButtonGenerator = nullptr;
  QPushButton* ButtonLowPass = nullptr;
  QPushButton* ButtonHighPass = nullptr;
  QPushButton* ButtonBand = nullptr;
  QPushButton* ButtonRestore = nullptr;
  TNumericEdit* EditPosition = nullptr;
  QComboBox* ComboTimeUnit = nullptr;
  QButtonGroup* mouseModes_ = nullptr;
  QToolButton* ButtonSave = nullptr;
  QPushButton* ButtonRefresh = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  TRChart* ChartTime = nullptr;
  TRChart* ChartSpectrum = nullptr;
  QLabel* panels_[3] = {};
};

}  // namespace kolma::ui
