#pragma once
// Every message box and file dialog of the program goes through this one interface, so
// that tests can answer them without a person at the screen.
#include <QColor>
#include <QString>

class QWidget;

namespace kolma::ui {

enum class PromptIcon { Information, Warning, Critical };

// Dismissed: the box was closed with Escape or its close button, which means "do not go on".
enum class PromptAnswer { Yes, No, Dismissed };

class TPrompts {
 public:
  virtual ~TPrompts() = default;

  // A box with a single OK button.
  virtual void Message(QWidget* parent, PromptIcon icon, const QString& caption, const QString& text) = 0;
  // A box with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(QWidget* parent, PromptIcon icon, const QString& caption, const QString& text) = 0;
  // The same box, for questions where going on must be a choice: Escape and closing the box
  // do not count as "No".
  virtual PromptAnswer AskYesNoOrDismiss(QWidget* parent, PromptIcon icon, const QString& caption,
                                         const QString& text) = 0;
  // The chosen path, or an empty string when the user cancelled. `filter` is in the
  // program's own form, "Kolma file|*.kol" (pairs of description and pattern).
  // The dialogs start in the folder used last, in this session or the one before, unless
  // the caller names a folder to start in or a file name to propose (with or without its
  // folder).
  virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& defaultSuffix, const QString& startFolder = QString()) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& defaultSuffix, bool askBeforeOverwrite,
                               const QString& proposedName = QString()) = 0;
  // The colour dialog opened on `initial`; an invalid colour when the user cancelled.
  virtual QColor ChooseColor(QWidget* parent, const QColor& initial, const QString& title) = 0;
};

// The prompts the program uses: real dialogs unless a test installed its own.
TPrompts& Prompts();
// Installs `prompts` (not owned) in place of the real dialogs; nullptr restores them.
void SetPrompts(TPrompts* prompts);

// "Kolma file|*.kol|All|*" -> "Kolma file (*.kol);;All (*)"
QString QtFileFilter(const QString& filter);

}  // namespace kolma::ui
