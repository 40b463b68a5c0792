#include "ui/main/kolma_application.h"

#include <QWidget>

#include "ui/main/program_info.h"
#include "ui/widgets/prompts.h"

namespace kolma::ui {

void ShowErrorMessage(QWidget* parent, const QString& text) {
  Prompts().Message(parent, PromptIcon::Critical, QString::fromLatin1(kApplicationTitle), text);
}

void ShowErrorMessage(QWidget* parent, const std::exception& error) {
  ShowErrorMessage(parent, QString::fromUtf8(error.what()));
}

bool RunGuarded(QWidget* parent, const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const std::exception& error) {
    ShowErrorMessage(parent, error);
  } catch (...) {
    ShowErrorMessage(parent, QStringLiteral("An unexpected error occurred."));
  }
  return false;
}

TKolmaApplication::TKolmaApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TKolmaApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  RunGuarded(activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace kolma::ui
