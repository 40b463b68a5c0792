#pragma once
// The bottom bar of the windows that show one analysis step at a time: the track bar over
// the steps, the current time, and the six buttons that move it by 1, 12 or 24 hours.
#include <QWidget>
#include <array>

class QLabel;
class QPushButton;
class QSlider;

namespace kolma::ui {

// Positions a step button of `hours` moves the track bar: Round(hours / timeStep), halves to
// even. A button is offered only when the time step is at most its hours.
int StepJump(double hours, double timeStep);
bool StepButtonOffered(double hours, double timeStep);
// "Current time = %4d hours" for step k (1-based) at time (k - 1) x timeStep.
QString CurrentTimeText(int step, double timeStep);

class TStepBar : public QWidget {
  Q_OBJECT
 public:
  explicit TStepBar(QWidget* parent = nullptr);

  // Steps 1..steps; the track bar moves to `position` (kept in range) without signalling.
  void SetSteps(int steps, double timeStep, int position);
  int Position() const;
  void SetPosition(int position);

  QSlider* TrackBar() const { return TrackBar_; }
  QLabel* TimeLabel() const { return LabelTime; }
  // The buttons "-24h", "-12h", "-1h", "+1h", "+12h", "+24h" in that order.
  const std::array<QPushButton*, 6>& Buttons() const { return buttons_; }
  // Room beside the buttons for the window's own read-outs and buttons.
  QWidget* Tail() const { return tail_; }
  // Fills that room as both step windows do: the read-outs "Tm =" and "Td =" above each
  // other, then the default "Close" button at the right.
  void AddTmTdAndClose(QLabel*& tm, QLabel*& td, QPushButton*& close);

 signals:
  // The track bar moved (dragged, keyed, or by a button); the time label is already set.
  void StepChanged(int step);

 private:
  void Changed(int step);

  double timeStep_ = 1.0;
  QSlider* TrackBar_ = nullptr;
  QLabel* LabelTime = nullptr;
  std::array<QPushButton*, 6> buttons_{};
  QWidget* tail_ = nullptr;
};

}  // namespace kolma::ui
