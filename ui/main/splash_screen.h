#pragma once
// The start-up picture: shown while the main window is built, and kept on the screen
// until its timer has fired once so that it can be read.
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
  // which it does once its timer has fired.
  void CloseWhenReady();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void TimerTimer();

  QTimer timer_;
  bool timerFired_ = false;
};

}  // namespace kolma::ui
