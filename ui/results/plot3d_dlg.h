#pragma once
// The 3-D view of the direct analysis: the temperature field of every step as a surface over
// time and position, with the controls of the view, the colours, the frame and the axes beside
// it, and a pop-up menu on the plot for the mouse action, the copy and the metafile export.
// The surface is built when the window is created (show the hourglass around the creation).
#include <QDialog>

#include "core/model/project.h"
#include "ui/widgets/plot3d_types.h"

class QActionGroup;
class QCheckBox;
class QLabel;
class QMenu;
class QScrollBar;

namespace kolma::ui {

class TColorPicker;
class TPlot3D;

class TPlot3DDlg : public QDialog {
  Q_OBJECT
 public:
  // Reads the direct results of the project; keeps no reference to it.
  explicit TPlot3DDlg(kolma::Project& project, QWidget* parent = nullptr);
  ~TPlot3DDlg() override;

  TPlot3D* Plot() const { return Plot3D1_; }
  QMenu* PopupMenu() const { return popup_; }

  // The line the plot shows when the analysis gives no surface.
  static QString TooFewStepsText();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildSurface(const kolma::Project& project);
  void SetPlotDefaults();
  QWidget* BuildPanel();
  QWidget* BuildViewControls();
  QWidget* BuildSurfaceColors();
  QWidget* BuildFrameMode();
  QWidget* BuildCoordinateColors();
  void BuildPopupMenu();

  void ThreeColorClick(bool checked);
  void FrameModeClick(TBoundBoxStyle style);
  void ResetClick();
  void ExportMetafileClick();
  void ShowViewReadouts(double tilt, double turn, double magnification);
  void ShowPopupMenu(const QPoint& globalPos);

  TPlot3D* Plot3D1_ = nullptr;
  QLabel* readoutAngleT_ = nullptr;
  QLabel* readoutAngleX_ = nullptr;
  QLabel* readoutMagnif_ = nullptr;
  QLabel* labelMid_ = nullptr;
  TColorPicker* pickerMid_ = nullptr;
  QMenu* popup_ = nullptr;
  QPoint rightPress_;  // where the right button went down over the plot
};

}  // namespace kolma::ui
