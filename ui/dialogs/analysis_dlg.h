#pragma once
// The analysis dialog: the analysis time step, the two start buttons with their progress
// bars and remaining-time read-outs, and the choice of the faces the direct analysis uses.
#include <QElapsedTimer>

#include "ui/dialogs/dialog_background.h"

class QKeyEvent;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kolma {
struct AnalysisOutcome;
struct Project;
}  // namespace kolma

namespace kolma::ui {

class TNumericEdit;

// The analyses run inside the start buttons' handlers on this thread and let pending events
// through after every step, so the dialog repaints and the remaining time updates. While one
// runs, nothing can start another, change its inputs or close the dialog; "Stop" (or Escape)
// ends it early, and a stopped run changes no result. Exceptions of the numeric components
// leave the handlers (the controls are restored first) for the application's error handler
// to show.
class TAnalysisDlg : public TGradientDialog {
  Q_OBJECT
 public:
  explicit TAnalysisDlg(kolma::Project& project, QWidget* parent = nullptr);
  ~TAnalysisDlg() override;

  bool Running() const { return running_; }

  // Seconds left when `position` of kProgressMax took `elapsedMs`; rounded half to even.
  static int TimeLeftSeconds(qint64 elapsedMs, int position);
  static QString TimeLeftText(int seconds);  // "Time left = %3d sec"
  static QString StoppedText();              // the line left by a stopped run

 public slots:
  void ButtonStartDirectClick();
  void ButtonStartInverseClick();
  void ButtonStopClick();
  void TimerTimer();
  void LabelToutClick();
  void LabelTinClick();
  void done(int result) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class TRunGuard;

  void BuildControls();
  void FormShow();
  // The progress callback of a run: moves the bar, lets pending events through, and says
  // whether to go on.
  bool ReportProgress(QProgressBar* bar, int position);
  void ShowOutcome(const kolma::AnalysisOutcome& outcome, QLabel* timeLabel);
  void UpdateTimeLeft(QProgressBar* bar, const QElapsedTimer& clock, QLabel* label);

  kolma::Project& project_;
  bool running_ = false;
  bool stopRequested_ = false;
  QElapsedTimer directClock_;
  QElapsedTimer inverseClock_;

  QLabel* Label1 = nullptr;
  TNumericEdit* EditTimeStep = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label5 = nullptr;
  QPushButton* ButtonStartInverse = nullptr;
  QProgressBar* ProgressBarInverse = nullptr;
  QLabel* LabelTimeInverse = nullptr;
  QLabel* LabelInverseErrors = nullptr;  // one line per face after a completed run
  QLabel* Label3 = nullptr;
  QLabel* Label6 = nullptr;
  QRadioButton* LMDRadioButtonTout = nullptr;
  QLabel* LabelTout = nullptr;
  QRadioButton* LMDRadioButtonTin = nullptr;
  QLabel* LabelTin = nullptr;
  QPushButton* ButtonStartDirect = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QLabel* LabelTime = nullptr;
  QPushButton* ButtonStop = nullptr;
  QPushButton* OKBtn = nullptr;
  QTimer* Timer = nullptr;
};

}  // namespace kolma::ui
