// The chart's desktop habits: the wheel zooms about the cursor, Home or a double click shows
// every item, Escape ends a rubber band, and a right click offers the picture commands.
#include "ui/widgets/rchart.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

namespace kolma::ui {
namespace {

struct ChartView : ::testing::Test {
  TRChart chart;
  void SetUp() override { chart.resize(700, 420); }
  void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(p), QPointF(chart.mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &event);
  }
  bool Key(int key) {  // true when the chart kept the key for itself
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &event);
    return event.isAccepted();
  }
  void SetRanges(double loX, double hiX, double loY, double hiY) {
    chart.SetRangeLoX(loX);
    chart.SetRangeHiX(hiX);
    chart.SetRangeLoY(loY);
    if (!chart.Isometric()) chart.SetRangeHiY(hiY);
  }
};

TEST_F(ChartView, WheelKeepsThePointUnderTheCursor) {
  for (int kind = 0; kind < 3; ++kind) {  // linear, logarithmic, isometric
    SCOPED_TRACE(kind);
    chart.SetLogScaleX(kind == 1);
    chart.SetLogScaleY(kind == 1);
    chart.SetIsometric(kind == 2);
    SetRanges(1, kind == 1 ? 1e4 : 10, 0.1, 100);
    const QRect w = chart.DataWindow();
    const QPoint at(w.left() + w.width() / 5, w.top() + w.height() / 3);
    auto underCursor = [&] { return chart.PixelToWorld(at.x() - 0.5, at.y() - 0.5); };  // the pixel's corner
    const QPointF before = underCursor();
    for (int delta : {120, -240}) {  // one notch closer, then two further away
      const double spanX = chart.RangeHiX() - chart.RangeLoX();
      QWheelEvent wheel(QPointF(at), QPointF(chart.mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QCoreApplication::sendEvent(&chart, &wheel);
      EXPECT_EQ(chart.RangeHiX() - chart.RangeLoX() < spanX, delta > 0);
      EXPECT_NEAR(underCursor().x() / before.x(), 1, 1e-9);
      EXPECT_NEAR(underCursor().y() / before.y(), 1, 1e-9);
    }
  }
}

// Home and a double click show every item with a twentieth of the extent to spare on each side;
// an axis set to run the other way keeps its direction.
TEST_F(ChartView, ViewAllShowsEveryItem) {
  chart.AddLine(2, 3, 40, 5);
  chart.AddEllipse(-6, 1, 2, 1);  // reaches x = -8, y = 0
  chart.AddMark(10, 25, 25);
  for (bool home : {true, false}) {
    SetRanges(30, 31, -100, -200);
    const QPoint p = chart.DataWindow().center();
    if (home) EXPECT_TRUE(Key(Qt::Key_Home));
    else Mouse(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    EXPECT_NEAR(chart.RangeLoX(), -8 - 2.4, 1e-9) << home;
    EXPECT_NEAR(chart.RangeHiX(), 40 + 2.4, 1e-9);
    EXPECT_NEAR(chart.RangeLoY(), 25 + 1.25, 1e-9);
    EXPECT_NEAR(chart.RangeHiY(), 0 - 1.25, 1e-9);
  }
}

// Escape ends a rubber band without zooming; with no band it is left to the window.
TEST_F(ChartView, EscapeEndsARubberBand) {
  SetRanges(0, 10, 0, 10);
  chart.SetMouseAction(maZoomWindPos);
  const QPoint from = chart.DataWindow().center(), to = from + QPoint(80, 60);
  Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  EXPECT_TRUE(Key(Qt::Key_Escape));
  Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(chart.RangeHiX() - chart.RangeLoX(), 10);
  EXPECT_FALSE(Key(Qt::Key_Escape));
}

// A right click offers the picture commands, except when its press cancelled a drag.
TEST_F(ChartView, RightClickOffersThePictures) {
  chart.show();
  chart.SetMouseAction(maPan);
  const QPoint p = chart.DataWindow().center();
  for (bool dragging : {true, false}) {
    if (dragging) Mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonPress, p, Qt::RightButton, Qt::RightButton);
    QStringList seen;
    QTimer::singleShot(0, [&] {
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        for (QAction* a : menu->actions()) seen << a->text();
        menu->close();
      }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, p, chart.mapToGlobal(p));
    QCoreApplication::sendEvent(&chart, &event);
    QCoreApplication::processEvents();
    EXPECT_EQ(seen.join('|'), dragging ? QString() : QStringLiteral("Copy picture|Save picture...||View all"));
  }
}

}  // namespace
}  // namespace kolma::ui
