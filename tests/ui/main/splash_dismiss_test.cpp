// The splash screen gives way at once to a click or a key, and otherwise keeps its timer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/main/splash_screen.h"

namespace kolma::ui::testing {
namespace {

TEST(SplashScreenTest, AClickOrAKeyClosesItAtOnce) {
  for (const bool click : {true, false}) {
    QElapsedTimer clock;
    clock.start();
    TSplashScreen splash(60000);
    splash.show();
    QWidget elsewhere;  // a key reaches the splash whichever window has the focus
    if (click) {
      QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 100), QPointF(100, 100), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&splash, &press);
    } else {
      QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
      QApplication::sendEvent(&elsewhere, &key);
    }
    splash.CloseWhenReady();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_LT(clock.elapsed(), 5000) << (click ? "click" : "key");
  }
}

}  // namespace
}  // namespace kolma::ui::testing
