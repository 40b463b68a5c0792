// Kolma: start-up shows the splash screen while the main window is built, keeps it up
// until its timer has fired, then runs the main window. A project named on the command
// line (`kolma dam.kol`, as the desktop passes a file to open) is opened once the window shows.
#include <QLocale>
#include <QStringList>
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

  // The names under which the settings (recent projects, last folder) are kept.
  QCoreApplication::setOrganizationName(QStringLiteral("Kolma"));
  QCoreApplication::setApplicationName(QString::fromLatin1(kolma::ui::kApplicationTitle));

  kolma::ui::TMainForm mainForm;
  QApplication::setWindowIcon(mainForm.windowIcon());

  splash->CloseWhenReady();
  delete splash;

  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 1) mainForm.OpenWhenShown(arguments.at(1));
  mainForm.show();
  return app.exec();
}
