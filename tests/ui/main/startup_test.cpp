// Start-up and the pieces around the main window: the splash screen's timed closing, the
// About box with its icon file, and the error handler that keeps the program running.
#include <QApplication>
#include <QElapsedTimer>
#include <QImageReader>
#include <QLabel>
#include <stdexcept>

#include "core/numeric/errors.h"
#include "tests/ui/main/main_form_fixture.h"
#include "tests/ui/scripted_prompts.h"
#include "ui/main/about_box.h"
#include "ui/main/kolma_application.h"
#include "ui/main/splash_screen.h"

namespace kolma::ui::testing {
namespace {

const QString kResources = QStringLiteral(KOLMA_SOURCE_DIR "/app/resources");

TEST(SplashScreenTest, RefusesToCloseUntilItsTimerHasFired) {
  QElapsedTimer clock;
  clock.start();
  TSplashScreen splash(40);
  splash.show();
  EXPECT_EQ(splash.size(), QSize(536, 398));
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(splash.VersionLine(), QStringLiteral("VERSION 1.0.2 - November 21, 2003"));

  EXPECT_FALSE(splash.close());
  EXPECT_TRUE(splash.isVisible());

  splash.CloseWhenReady();
  EXPECT_GE(clock.elapsed(), 36);  // a coarse timer may fire up to 5 % early
  EXPECT_TRUE(splash.TimerFired());
  EXPECT_FALSE(splash.isVisible());
}

TEST(SplashScreenTest, ShowsTheFullStartUpTimeByDefault) {
  TSplashScreen splash;
  EXPECT_FALSE(splash.close());  // long before 5 s
  EXPECT_FALSE(splash.TimerFired());
}

TEST(AboutBoxTest, ShowsTheIconFileVersionAndTitle) {
  TAboutBox about(nullptr, kResources);
  EXPECT_EQ(about.windowTitle(), QStringLiteral("About Kolma"));
  EXPECT_EQ(about.VersionLine(), QStringLiteral("Standard Edition 1,0,2,1 - November 21, 2003"));
  auto* version = about.findChild<QLabel*>(QStringLiteral("Version"));
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text(), about.VersionLine());
  auto* icon = about.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->pixmap().size(), QSize(64, 64));
  EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("ProductName"))->text(), QStringLiteral("Kolma"));
}

TEST(AboutBoxTest, TheIconFileHoldsTheUsualSizes) {
  QImageReader reader(TAboutBox::IconFileName(kResources));
  QList<int> sizes;
  do {
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(image.width(), image.height());
    EXPECT_TRUE(image.hasAlphaChannel());
    sizes << image.width();
  } while (reader.jumpToNextImage());
  EXPECT_EQ(sizes, QList<int>({16, 24, 32, 48, 64, 256}));
}

TEST(AboutBoxTest, AMissingIconIsAnErrorInsteadOfAnEmptyBox) {
  EXPECT_THROW(TAboutBox(nullptr, QStringLiteral("/nonexistent-folder")), std::runtime_error);
}

TEST_F(MainFormTest, AboutWithoutItsIconReportsTheErrorAndCarriesOn) {
  // The test program's folder holds no kolma.ico.
  ASSERT_FALSE(QFile::exists(TAboutBox::IconFileName()));
  Command("HelpAboutItem")->trigger();
  ASSERT_EQ(prompts.Count("message"), 1);
  EXPECT_EQ(prompts.shown.back().icon, PromptIcon::Critical);
  EXPECT_EQ(prompts.shown.back().caption, QStringLiteral("KOLMA"));
  EXPECT_TRUE(prompts.shown.back().text.contains(QStringLiteral("kolma.ico")));
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(Command("FileOpenItem")->isEnabled());
}

TEST(ErrorHandlerTest, ShowsTheMessageOfAnErrorAndReportsFailure) {
  TScriptedPrompts prompts;
  EXPECT_TRUE(RunGuarded(nullptr, [] {}));
  EXPECT_TRUE(prompts.shown.empty());

  EXPECT_FALSE(RunGuarded(nullptr, [] { throw kolma::EFourierError("FFT data length must be power of 2"); }));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, QStringLiteral("FFT data length must be power of 2"));
  EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("KOLMA"));

  EXPECT_FALSE(RunGuarded(nullptr, [] { throw 42; }));
  EXPECT_EQ(prompts.shown.size(), 2u);
}

}  // namespace
}  // namespace kolma::ui::testing
