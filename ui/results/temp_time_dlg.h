#pragma once
// The profile view: the temperature across the section, upstream to downstream face, at one
// analysis step of the direct analysis, stepped through time with a track bar. On request it
// overlays the mean temperature (red) and the equivalent straight line (green).
#include <QDialog>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;

namespace kolma {
struct Project;
}

namespace kolma::ui {

class TRChart;
class TStepBar;

class TTempTimeDlg : public QDialog {
  Q_OBJECT
 public:
  // Reads the project's section and direct results while it is open.
  explicit TTempTimeDlg(kolma::Project& project, QWidget* parent = nullptr);
  ~TTempTimeDlg() override;

  TRChart* Chart() const { return Chart_; }
  TStepBar* StepBar() const { return stepBar_; }

  // Shows the section values window; tests put their own answer in its place.
  std::function<int(QDialog&)> RunDialog = [](QDialog& dialog) { return dialog.exec(); };

 public slots:
  void ViewAllClick();
  void ShowValuesClick();
  void CopyClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildTopPanel();
  void FormShow();
  void TrackBarChange(int step);
  void DrawStep(int step);
  void MouseMoveInChart(double x, double y);

  kolma::Project& project_;
  bool shown_ = false;
  double tmin_ = 0.0;
  double tmax_ = 0.0;

  QButtonGroup* mouseModes_ = nullptr;
  QPushButton* ButtonViewAll = nullptr;
  QPushButton* ButtonShowValues = nullptr;
  QPushButton* ButtonCopy = nullptr;
  QCheckBox* CheckBoxResolve = nullptr;
  QLabel* LabelX = nullptr;
  QLabel* LabelT = nullptr;
  TRChart* Chart_ = nullptr;
  TStepBar* stepBar_ = nullptr;
  QLabel* LabelTm = nullptr;
  QLabel* LabelTd = nullptr;
  QPushButton* CloseBtn = nullptr;
};

}  // namespace kolma::ui
