#pragma once
// The start-up picture: shown while the main window is built, and kept on the screen
// until its timer has fired once so that it can be read, or until the user clicks it or
// presses a key, which closes it at once.
#include <QTimer>
#include <QWidget>

namespace kolma::ui {

class TSplashScreen : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 536;
  static constexpr int kHeight = 398;
  static constexpr int kDefaultShowTimeMs = 5000;

  explicit TSplashScreen(int showTimeMs = kDefaultShowTimeMs, QWidget* parent = nullptr);

  bool TimerFired() const { return timerFired_; }
  QString VersionLine() const;

  // Asks the splash screen to close and processes window messages until it agrees,
  // which it does once its timer has fired or the user has dismissed it.
  void CloseWhenReady();
  // The wait is over: what a click on the splash or a key does.
  void Dismiss();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // A key goes to whichever window has the focus while the splash is up (often none of
  // the program's): the splash listens to the whole application for it.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void TimerTimer();

  QTimer timer_;
  bool timerFired_ = false;
};

}  // namespace kolma::ui
