// The chart's desktop habits: the wheel zooms about the cursor, Home or a double click shows
// every item, Escape ends a rubber band, and a right click offers the picture commands.
#include "ui/widgets/rchart.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include "tests/ui/scripted_prompts.h"
#include "ui/widgets/chart_geometry.h"

namespace kolma::ui {
namespace {

struct ChartView : ::testing::Test {
  TRChart chart;
  void SetUp() override {
    chart.resize(700, 420);
    chart.SetRangeLoX(0);
    chart.SetRangeHiX(10);
    chart.SetRangeLoY(0);
    chart.SetRangeHiY(10);
  }
  void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(p), QPointF(chart.mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &event);
  }
  void Wheel(QPoint p, int delta) {
    QWheelEvent event(QPointF(p), QPointF(chart.mapToGlobal(p)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&chart, &event);
  }
  // True when the chart took the key for itself.
  bool Key(int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &event);
    return event.isAccepted();
  }
  TChartRanges Ranges() const { return {chart.RangeLoX(), chart.RangeHiX(), chart.RangeLoY(), chart.RangeHiY()}; }
};

TEST_F(ChartView, WheelKeepsThePointUnderTheCursor) {
  struct Case {
    const char* name;
    bool logX, logY, isometric;
  };
  for (const Case& c : {Case{"linear", false, false, false}, Case{"logarithmic", true, true, false},
                        Case{"isometric", false, false, true}}) {
    SCOPED_TRACE(c.name);
    chart.SetIsometric(c.isometric);
    chart.SetLogScaleX(c.logX);
    chart.SetLogScaleY(c.logY);
    chart.SetRangeLoX(c.logX ? 1 : 0);
    chart.SetRangeHiX(c.logX ? 1e4 : 10);
    chart.SetRangeLoY(c.logY ? 0.1 : 0);
    if (!c.isometric) chart.SetRangeHiY(c.logY ? 100 : 10);
    const QRect w = chart.DataWindow();
    const QPoint at(w.left() + w.width() / 5, w.top() + w.height() / 3);
    // The world point at the cursor's own position (a pixel's corner, not its centre).
    auto underCursor = [&] { return chart.PixelToWorld(at.x() - 0.5, at.y() - 0.5); };
    const QPointF before = underCursor();
    for (int delta : {120, -240}) {  // one notch closer, then two further away
      const double spanX = chart.RangeHiX() - chart.RangeLoX();
      Wheel(at, delta);
      EXPECT_EQ(chart.RangeHiX() - chart.RangeLoX() < spanX, delta > 0);
      const QPointF now = underCursor();
      EXPECT_NEAR(now.x() / before.x(), 1, 1e-9);
      EXPECT_NEAR(now.y() / before.y(), 1, 1e-9);
    }
    if (c.isometric) {
      const QPoint a = chart.WorldToPixel(2, 2), b = chart.WorldToPixel(5, 5);
      EXPECT_NEAR(b.x() - a.x(), a.y() - b.y(), 1);
    }
  }
}

// Home and a double click show every item, whatever the zoom; an axis set to run the other way
// keeps its direction.
TEST_F(ChartView, ViewAllShowsEveryItem) {
  chart.AddLine(2, 3, 40, 5);
  chart.AddEllipse(-6, 1, 2, 1);  // reaches x = -8, y = 0
  chart.AddMark(10, 25, 25);
  for (int how = 0; how < 2; ++how) {
    SCOPED_TRACE(how == 0 ? "Home" : "double click");
    chart.SetRangeLoX(30);
    chart.SetRangeHiX(31);
    chart.SetRangeLoY(-100);  // Y runs downwards
    chart.SetRangeHiY(-200);
    if (how == 0) {
      EXPECT_TRUE(Key(Qt::Key_Home));
    } else {
      const QPoint p = chart.DataWindow().center();
      Mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
      Mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
      Mouse(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
      Mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    // Extent x -8..40, y 0..25, with a twentieth of the span to spare on each side.
    EXPECT_NEAR(chart.RangeLoX(), -8 - 2.4, 1e-9);
    EXPECT_NEAR(chart.RangeHiX(), 40 + 2.4, 1e-9);
    EXPECT_NEAR(chart.RangeLoY(), 25 + 1.25, 1e-9);
    EXPECT_NEAR(chart.RangeHiY(), 0 - 1.25, 1e-9);
  }
  // Isometric: the box fits although it is taller than the window's shape allows.
  chart.ClearDrawing();
  chart.AddLine(0, 0, 1, 50);
  chart.SetIsometric(true);
  EXPECT_TRUE(Key(Qt::Key_Home));
  EXPECT_LE(chart.RangeLoY(), 0);
  EXPECT_GE(chart.RangeHiY(), 50);
  EXPECT_NEAR(chart.RangeLoY() + chart.RangeHiY(), 50, 1e-9);
  EXPECT_NEAR(chart.RangeLoX() + chart.RangeHiX(), 1, 1e-9);
}

// Escape ends a rubber band without zooming; with no band it is left to the window (which
// closes on it).
TEST_F(ChartView, EscapeEndsARubberBand) {
  chart.SetMouseAction(maZoomWindPos);
  const QRect w = chart.DataWindow();
  const QPoint from = w.center(), to = from + QPoint(80, 60);
  Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  EXPECT_TRUE(Key(Qt::Key_Escape));
  Mouse(QEvent::MouseMove, to + QPoint(10, 10), Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, to + QPoint(10, 10), Qt::LeftButton, Qt::NoButton);
  const TChartRanges r = Ranges();
  EXPECT_EQ(r.loX, 0);
  EXPECT_EQ(r.hiX, 10);
  EXPECT_EQ(r.loY, 0);
  EXPECT_EQ(r.hiY, 10);
  EXPECT_FALSE(Key(Qt::Key_Escape));
}

// The right button opens the picture commands, except when its press cancelled a drag.
TEST_F(ChartView, ContextMenuOffersThePictures) {
  QTemporaryDir dir;
  testing::TScriptedPrompts prompts;
  const QString path = dir.filePath(QStringLiteral("chart.png"));
  prompts.fileAnswers.push_back(path);
  QStringList seen;
  auto openMenu = [&](QContextMenuEvent::Reason reason, bool save) {
    seen.clear();
    QTimer::singleShot(0, [&, save] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      for (QAction* a : menu->actions())
        if (!a->isSeparator()) seen << a->text();
      for (QAction* a : menu->actions())
        if (save && a->text() == QStringLiteral("Save picture...")) a->trigger();
      menu->close();
    });
    const QPoint p = chart.DataWindow().center();
    QContextMenuEvent event(reason, p, chart.mapToGlobal(p));
    QCoreApplication::sendEvent(&chart, &event);
    QCoreApplication::processEvents();
  };
  const QStringList expected = {QStringLiteral("Copy picture"), QStringLiteral("Save picture..."),
                                QStringLiteral("View all")};
  chart.show();
  openMenu(QContextMenuEvent::Keyboard, true);
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(QFile::exists(path));

  chart.SetMouseAction(maPan);
  const QPoint p = chart.DataWindow().center();
  Mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, p + QPoint(30, 0), Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonPress, p + QPoint(30, 0), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
  openMenu(QContextMenuEvent::Mouse, false);
  EXPECT_TRUE(seen.isEmpty());
  EXPECT_EQ(chart.RangeLoX(), 0);  // the pan was undone
  Mouse(QEvent::MouseButtonPress, p, Qt::RightButton, Qt::RightButton);  // an ordinary right click
  openMenu(QContextMenuEvent::Mouse, false);
  EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace kolma::ui
