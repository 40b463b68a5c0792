#pragma once
// Every message box and file dialog of the program goes through this one interface, so
// that tests can answer them without a person at the screen.
#include <QColor>
#include <QString>
#include <QStringList>

class QWidget;

namespace kolma::ui {

enum class PromptIcon { Information, Warning, Critical };

// Dismissed: Cancel, Escape or the box's close button, which means "do not go on".
enum class PromptAnswer { Yes, No, Dismissed };

class TPrompts {
 public:
  virtual ~TPrompts() = default;

  // A box with a single OK button.
  virtual void Message(QWidget* parent, PromptIcon icon, const QString& caption, const QString& text) = 0;
  // A box with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(QWidget* parent, PromptIcon icon, const QString& caption, const QString& text) = 0;
  // A box with Yes, No and Cancel, for questions where going on must be a choice: Cancel,
  // Escape and closing the box do not count as "No".
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
  // A list to pick one entry from; the chosen entry, or an empty string when cancelled.
  virtual QString ChooseItem(QWidget* parent, const QString& title, const QString& label,
                             const QStringList& items) = 0;
  // The colour dialog opened on `initial`; an invalid colour when the user cancelled.
  virtual QColor ChooseColor(QWidget* parent, const QColor& initial, const QString& title) = 0;
};

// The prompts the program uses: real dialogs unless a test installed its own.
TPrompts& Prompts();
// Installs `prompts` (not owned) in place of the real dialogs; nullptr restores them.
void SetPrompts(TPrompts* prompts);

// A file the program works from, by what it is to the user ("the open project"); the save
// dialogs below refuse to write over it. An empty path forgets the role.
void SetFileInUse(const QString& role, const QString& path);

// The save dialog, its answer checked: a file in use (unless allowed), a folder, a pipe or
// a device is refused with a warning that says why, and the answer is then empty as for
// Cancel.
QString SaveFileNameChecked(QWidget* parent, const QString& title, const QString& filter,
                            const QString& defaultSuffix, bool askBeforeOverwrite,
                            const QString& proposedName = QString(), bool filesInUseAllowed = false);

// "Kolma file|*.kol|All|*" -> "Kolma file (*.kol);;All (*)"
QString QtFileFilter(const QString& filter);

}  // namespace kolma::ui
