// Kolma: start-up shows the splash screen while the main window is built, keeps it up
// until its timer has fired, then runs the main window.
#include <QLocale>
#include <QStyleFactory>

#include "core/analysis/result_table.h"

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

  // Tables show numbers with the desktop's decimal separator.
  const QString point = QLocale::system().decimalPoint();
  if (point.size() == 1 && point[0].unicode() < 128) kolma::SetDecimalSeparator(point[0].toLatin1());

  QCoreApplication::setApplicationName(QString::fromLatin1(kolma::ui::kApplicationTitle));

  kolma::ui::TMainForm mainForm;
  QApplication::setWindowIcon(mainForm.windowIcon());

  splash->CloseWhenReady();
  delete splash;

  mainForm.show();
  return app.exec();
}
