// The 3-D view driven as a user would, offscreen: the surface it builds from the field (or
// the line it shows when there is none), every control reaching its property of the plot,
// the metafile export, and the colours where the field is hottest and coldest.
#include "ui/results/plot3d_dlg.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <gtest/gtest.h>

#include "tests/ui/results/direct_results_fixture.h"
#include "tests/ui/scripted_prompts.h"
#include "ui/results/plot3d_color_picker.h"
#include "ui/widgets/plot3d.h"
#include "ui/widgets/plot3d_scene.h"

namespace kolma::ui {
namespace {

// Colder upstream and early, warmer downstream and late: the surface is a slope.
double Slope(double x, int k) { return 5.0 + x + 0.01 * k; }

class Plot3DDlgTest : public ::testing::Test {
 protected:
  void Open(int steps, double dt) {
    testing::SetDirectResults(project, 0.0, 10.0, 10, steps, dt, Slope);
    dialog = std::make_unique<TPlot3DDlg>(project);
    dialog->show();
  }
  template <class T>
  T* Find(const char* name) {
    T* w = dialog->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString Readout(const char* name) { return Find<QLabel>(name)->text(); }
  void Pick(const char* picker, const QString& item) {
    TColorPicker* p = Find<TColorPicker>(picker);
    const int index = p->findText(item);
    p->setCurrentIndex(index);
    emit p->activated(index);
  }
  QAction* MenuAction(const QString& text) {
    for (QAction* a : dialog->PopupMenu()->actions())
      if (a->text() == text) return a;
    ADD_FAILURE() << text.toStdString();
    return nullptr;
  }

  Project project;
  testing::TScriptedPrompts prompts;
  std::unique_ptr<TPlot3DDlg> dialog;
};

TEST_F(Plot3DDlgTest, SurfaceComesFromTheFieldOrTheViewSaysWhyNot) {
  struct Case {
    int steps;
    double dt;
    int columns;
    bool empty;
  } cases[] = {{8760, 1.0, 515, false}, {11, 1.0, 1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.steps);
    Open(c.steps, c.dt);
    const TPlot3D& plot = *dialog->Plot();
    EXPECT_EQ(plot.SurfaceGrid().NrOfColumns(), c.columns);
    EXPECT_EQ(plot.SurfaceGrid().NrOfRows(), 11);
    EXPECT_EQ(plot.EmptyText(), c.empty ? TPlot3DDlg::TooFewStepsText() : QString());
    EXPECT_DOUBLE_EQ(plot.RangeXHigh(), (c.steps - 1) * c.dt);
    EXPECT_DOUBLE_EQ(plot.RangeYHigh(), 10.0);
    EXPECT_DOUBLE_EQ(plot.ColorScaleLow(), Slope(0.0, 1));
    EXPECT_DOUBLE_EQ(plot.RangeZHigh(), Slope(10.0, c.steps));
  }
}

TEST_F(Plot3DDlgTest, ControlsSetThePlotsProperties) {
  Open(100, 24.0);
  TPlot3D& plot = *dialog->Plot();
  auto scroll = [this](const char* name, int v) { return [=, this] { Find<QScrollBar>(name)->setValue(v); }; };
  auto click = [this](const char* name) { return [=, this] { Find<QAbstractButton>(name)->click(); }; };
  const QColor other(1, 2, 3);
  struct Case {
    const char* what;
    std::function<void()> act;
    std::function<bool()> holds;
  } cases[] = {
      {"tilt", scroll("ScrollBarAngleT", 100),
       [&] { return plot.ViewAngleX() == 100 && Readout("ReadoutAngleT") == "100.00"; }},
      {"turn", scroll("ScrollBarAngleX", 300),
       [&] { return plot.ViewAngleZ() == 300 && Readout("ReadoutAngleX") == "300.00"; }},
      {"magnification", scroll("ScrollBarMagnif", 150),
       [&] { return plot.Magnification() == 1.5 && Readout("ReadoutMagnif") == "1.500"; }},
      {"magnification below the plot's limit shows the limit", scroll("ScrollBarMagnif", 0),
       [&] { return Readout("ReadoutMagnif") == "0.050"; }},
      {"scales", [&] { scroll("ScrollBarScaleX", 50)(); scroll("ScrollBarScaleY", 20)(); scroll("ScrollBarScaleZ", 200)(); },
       [&] { return plot.ScaleFactX() == 0.5 && plot.ScaleFactY() == 0.2 && plot.ScaleFactZ() == 2.0; }},
      {"named colour", [&] { Pick("PickerHigh", "Lime"); }, [&] { return plot.ColorHigh() == QColor(0, 255, 0); }},
      {"other colour", [&] { prompts.colorAnswers = {other}; Pick("PickerCoordsY", "Other..."); },
       [&] { return plot.ColorYCoords() == other && Find<TColorPicker>("PickerCoordsY")->currentText() == "#010203"; }},
      {"other colour cancelled", [&] { prompts.colorAnswers = {QColor()}; Pick("PickerLow", "Other..."); },
       [&] { return plot.ColorLow() == Qt::blue && Find<TColorPicker>("PickerLow")->currentText() == "Blue"; }},
      {"two colours", click("CheckBox3Color"),
       [&] { return plot.ColorCodingMode() == TColorCodingMode::ccmTwoColors && !Find<QWidget>("PickerMid")->isEnabled(); }},
      {"three colours", click("CheckBox3Color"),
       [&] { return plot.ColorCodingMode() == TColorCodingMode::ccmThreeColors && Find<QWidget>("PickerMid")->isEnabled(); }},
      {"no frame", click("RadioNoFrame"), [&] { return plot.BoundBoxStyle() == TBoundBoxStyle::bbNone; }},
      {"wire frame", click("RadioWireFrame"),
       [&] { return plot.BoundBoxStyle() == TBoundBoxStyle::bbFrame && plot.ColorCubeFrame() == QColor(224, 224, 224) &&
                    plot.ColorCubeHidLin() == QColor(80, 80, 80); }},
      {"cube faces", click("RadioCubeFaces"),
       [&] { return plot.BoundBoxStyle() == TBoundBoxStyle::bbFaces && plot.ColorCubeHidLin() == QColor(176, 176, 176); }},
      {"axis hidden", click("CheckBoxCoordsZ"), [&] { return !plot.VisibleZCoords() && plot.VisibleXCoords(); }},
      {"mouse action", [&] { MenuAction("Rot Z Only")->trigger(); },
       [&] { return plot.MouseAction() == T3DMouseAction::maRotZOnly; }},
      {"reset keeps the scroll bars", click("ButtonReset"),
       [&] { return plot.ViewAngleX() == 66 && Readout("ReadoutAngleT") == "66.00" && plot.ScaleFactX() == 1 &&
                    Find<QScrollBar>("ScrollBarAngleT")->value() == 100; }},
  };
  for (const Case& c : cases) {
    c.act();
    EXPECT_TRUE(c.holds()) << c.what;
  }
  EXPECT_TRUE(prompts.colorAnswers.empty());
}

// A right click opens the pop-up menu; a right drag zooms in "Rotate and Zoom" and does not,
// and the read-outs follow the drag.
TEST_F(Plot3DDlgTest, RightClickOpensTheMenuRightDragZooms) {
  Open(100, 24.0);
  TPlot3D* plot = dialog->Plot();
  MenuAction("Rotate and Zoom")->trigger();
  auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(plot->mapToGlobal(at)), Qt::RightButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &e);
  };
  struct Case {
    int dragUp;
    bool menu;
  } cases[] = {{60, false}, {0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dragUp);
    const QPoint from(200, 300), to(200, 300 - c.dragUp);
    const double before = plot->Magnification();
    mouse(QEvent::MouseButtonPress, from, Qt::RightButton);
    mouse(QEvent::MouseMove, to, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    EXPECT_EQ(dialog->PopupMenu()->isVisible(), c.menu);
    EXPECT_EQ(Readout("ReadoutMagnif"), QString::asprintf("%.3f", plot->Magnification()));
    EXPECT_EQ(plot->Magnification() > before, c.dragUp > 0);
    dialog->PopupMenu()->hide();
  }
}

TEST_F(Plot3DDlgTest, ExportWritesTheMetafileOrSaysWhyNot) {
  Open(100, 24.0);
  QTemporaryDir folder;
  prompts.fileAnswers = {folder.filePath("view.emf"), folder.filePath("missing/view.wmf")};
  MenuAction("Export to Metafile")->trigger();
  EXPECT_TRUE(QFileInfo(folder.filePath("view.wmf")).size() > 0);
  EXPECT_EQ(prompts.Count("message"), 0);
  MenuAction("Export to Metafile")->trigger();
  ASSERT_EQ(prompts.Count("message"), 1);
  EXPECT_EQ(prompts.shown.back().icon, PromptIcon::Warning);
  EXPECT_EQ(prompts.shown.front().text, "Metafile|*.wmf");
}

// Where the field is hottest the surface is red, where coldest blue, at the default view.
TEST_F(Plot3DDlgTest, HottestRegionIsRedAndColdestBlue) {
  Open(200, 24.0);
  const TPlot3D& plot = *dialog->Plot();
  const QImage picture = dialog->Plot()->grab().toImage();
  TPlot3DSettings view;
  view.axes = {TPlot3DAxis{plot.RangeXLow(), plot.RangeXHigh()}, TPlot3DAxis{plot.RangeYLow(), plot.RangeYHigh()},
               TPlot3DAxis{plot.RangeZLow(), plot.RangeZHigh()}};
  view.viewAngleX = plot.ViewAngleX();
  view.viewAngleZ = plot.ViewAngleZ();
  view.centX = plot.CentX();
  view.centY = plot.CentY();
  const TPlot3DScene scene(view, plot.SurfaceGrid(), plot.width(), plot.height());
  // Halfway through the analysis, near each face: away from the box's edges and the axes.
  struct Case {
    const char* where;
    double across;  // share of the way from the upstream face
    bool red;
  } cases[] = {{"coldest", 0.03, false}, {"hottest", 0.97, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    const int step = 100;
    const double t = (step - 1) * 24.0, x = c.across * 10.0;
    const TProjected p = scene.Project(t, x, Slope(x, step));
    const QColor seen = picture.pixelColor(int(p.x), int(p.y));
    const int strong = c.red ? seen.red() : seen.blue();
    const int weak = std::max(seen.green(), c.red ? seen.blue() : seen.red());
    EXPECT_GT(strong, 180) << seen.name().toStdString();
    EXPECT_LT(weak, 90) << seen.name().toStdString();
  }
}

}  // namespace
}  // namespace kolma::ui
