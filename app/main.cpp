// Kolma: start-up shows the splash screen while the main window is built, keeps it up
// until its timer has fired, then runs the main window.
#include <QStyleFactory>

#include "ui/main/kolma_application.h"
#include "ui/main/main_form.h"
#include "ui/main/program_info.h"
#include "ui/main/splash_screen.h"

int main(int argc, char** argv) {
  kolma::ui::TKolmaApplication app(argc, argv);
  if (QStyleFactory::keys().contains(QStringLiteral("Fusion"))) app.setStyle(QStringLiteral("Fusion"));

  auto* splash = new kolma::ui::TSplashScreen;
  splash->show();
  splash->repaint();
  QCoreApplication::processEvents();

  QCoreApplication::setApplicationName(QString::fromLatin1(kolma::ui::kApplicationTitle));

  kolma::ui::TMainForm mainForm;
  QApplication::setWindowIcon(mainForm.windowIcon());

  splash->CloseWhenReady();
  delete splash;

  mainForm.show();
  return app.exec();
}
