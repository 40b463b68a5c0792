#pragma once
// Prompts for GUI tests: every box and file dialog is recorded, and answered from queues
// that the test fills beforehand. A question nobody prepared an answer for fails the test.
#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <gtest/gtest.h>

#include "ui/widgets/prompts.h"

namespace kolma::ui::testing {

struct TPromptRecord {
  QString kind;     // "message", "question", "open", "save", "color", "choice"
  QString caption;  // caption or dialog title
  QString text;     // message text, the filter of a file dialog, or the choices one a line
  PromptIcon icon = PromptIcon::Information;
  QString proposed;  // file dialogs: the folder to start in or the file name proposed
};

class TScriptedPrompts final : public TPrompts {
 public:
  TScriptedPrompts() { SetPrompts(this); }
  ~TScriptedPrompts() override { SetPrompts(nullptr); }

  std::deque<std::optional<bool>> yesNoAnswers;  // true = Yes, nullopt = Escape
  std::deque<QString> fileAnswers; // empty string = Cancel
  std::deque<QColor> colorAnswers;  // invalid colour = Cancel
  std::deque<QString> itemAnswers;  // empty string = Cancel
  std::vector<TPromptRecord> shown;

  void Message(QWidget*, PromptIcon icon, const QString& caption, const QString& text) override {
    shown.push_back({"message", caption, text, icon, QString()});
  }
  bool AskYesNo(QWidget*, PromptIcon icon, const QString& caption, const QString& text) override {
    return NextAnswer(icon, caption, text).value_or(false);  // Escape answers "No" in a plain Yes/No box
  }
  PromptAnswer AskYesNoOrDismiss(QWidget*, PromptIcon icon, const QString& caption, const QString& text) override {
    const std::optional<bool> answer = NextAnswer(icon, caption, text);
    if (!answer) return PromptAnswer::Dismissed;
    return *answer ? PromptAnswer::Yes : PromptAnswer::No;
  }
  QString OpenFileName(QWidget*, const QString& title, const QString& filter, const QString&,
                       const QString& startFolder) override {
    return NextFile("open", title, filter, startFolder);
  }
  QString SaveFileName(QWidget*, const QString& title, const QString& filter, const QString&, bool,
                       const QString& proposedName) override {
    return NextFile("save", title, filter, proposedName);
  }

  QString ChooseItem(QWidget*, const QString& title, const QString&, const QStringList& items) override {
    shown.push_back({"choice", title, items.join(u'\n'), PromptIcon::Information, QString()});
    if (itemAnswers.empty()) {
      ADD_FAILURE() << "unexpected choice: " << title.toStdString();
      return QString();
    }
    const QString answer = itemAnswers.front();
    itemAnswers.pop_front();
    return answer;
  }

  QColor ChooseColor(QWidget*, const QColor&, const QString& title) override {
    shown.push_back({"color", title, QString(), PromptIcon::Information, QString()});
    if (colorAnswers.empty()) {
      ADD_FAILURE() << "unexpected colour dialog: " << title.toStdString();
      return QColor();
    }
    const QColor answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
  }

  int Count(const QString& kind) const {
    int n = 0;
    for (const auto& r : shown) n += r.kind == kind;
    return n;
  }

 private:
  std::optional<bool> NextAnswer(PromptIcon icon, const QString& caption, const QString& text) {
    shown.push_back({"question", caption, text, icon, QString()});
    if (yesNoAnswers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text.toStdString();
      return false;
    }
    const std::optional<bool> answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
  }
  QString NextFile(const QString& kind, const QString& title, const QString& filter, const QString& proposed) {
    shown.push_back({kind, title, filter, PromptIcon::Information, proposed});
    if (fileAnswers.empty()) {
      ADD_FAILURE() << "unexpected file dialog: " << title.toStdString();
      return QString();
    }
    QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
};

}  // namespace kolma::ui::testing
