#pragma once
// The application object with the program's last-resort error handler: an error that
// escapes a command is shown in a message box and the program carries on.
#include <QApplication>
#include <exception>
#include <functional>

class QWidget;

namespace kolma::ui {

// Shows the text of the error in a message box titled with the application title.
void ShowErrorMessage(QWidget* parent, const std::exception& error);
void ShowErrorMessage(QWidget* parent, const QString& text);

// Runs a command; an error it raises is shown by ShowErrorMessage instead of ending
// the program. Returns false when the command ended with an error.
bool RunGuarded(QWidget* parent, const std::function<void()>& command);

class TKolmaApplication : public QApplication {
  Q_OBJECT
 public:
  TKolmaApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace kolma::ui
