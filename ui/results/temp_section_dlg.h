#pragma once
// The time-history view: quantities charted against time in four views chosen by the
// opener (a node's temperature or derived curve, the worked-back face temperatures, input
// against output at a face or thermometer, the section's decomposition), with moving-average
// curves and their bands, the chart mouse modes and "Show values".
#include <QDialog>
#include <functional>

#include "ui/results/time_view_plot.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;

namespace kolma {
struct Project;
}

namespace kolma::ui {

class TRChart;

class TTempSectionDlg : public QDialog {
  Q_OBJECT
 public:
  // mode: 0 a node over time, 1 the worked-back faces, 2 input against output,
  // 3 the section's thermal decomposition. The project is read while the window is open.
  TTempSectionDlg(kolma::Project& project, int mode, QWidget* parent = nullptr);
  ~TTempSectionDlg() override;

  TRChart* Chart() const { return Chart_; }
  const TTimeViewSetup& Setup() const { return setup_; }
  const TTimeViewPlot& Plot() const { return plot_; }

  // Shows the values table; tests put their own runner in its place.
  std::function<int(QDialog&)> RunDialog = [](QDialog& dialog) { return dialog.exec(); };

 public slots:
  void Redraw();
  void ViewAllClick();
  void ShowValuesClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildTopPanel();
  QWidget* BuildBottomPanel();
  void FormShow();
  void ShowLegend(const QColor& first, const QString& firstText, const QColor& second, const QString& secondText);
  void ChartMouseMove(double x, double y);

  kolma::Project& project_;
  const TTimeViewMode mode_;
  TTimeViewSetup setup_;
  TTimeViewPlot plot_;
  bool shown_ = false;
  bool announceFailure_ = false;

  TRChart* Chart_ = nullptr;
  QButtonGroup* mouseModes_ = nullptr;
  QLabel* LabelAverage = nullptr;
  QComboBox* ComboAverage = nullptr;
  QPushButton* ButtonViewAll = nullptr;
  QPushButton* ButtonShowValues = nullptr;
  QLabel* LabelX = nullptr;
  QLabel* LabelT = nullptr;
  QLabel* LabelPosition = nullptr;
  QComboBox* ComboPosition = nullptr;
  QLabel* LabelCurve = nullptr;
  QComboBox* ComboCurve = nullptr;
  QWidget* Legend = nullptr;
  QLabel* LegendSquare[2] = {nullptr, nullptr};
  QLabel* LegendLabel[2] = {nullptr, nullptr};
  QPushButton* ButtonClose = nullptr;
};

}  // namespace kolma::ui
