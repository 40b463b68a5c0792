#pragma once
// A shown main window with scripted prompts, and a scratch folder for project files.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "tests/ui/scripted_prompts.h"
#include "ui/main/main_form.h"

namespace kolma::ui::testing {

inline QString ExamplePath(const char* name) {
  return QStringLiteral(KOLMA_SOURCE_DIR "/examples/") + QString::fromLatin1(name);
}

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Closing a window in one test must not end the event loops of the next one.
    QApplication::setQuitOnLastWindowClosed(false);
    ASSERT_TRUE(folder.isValid());
    QSettings().clear();  // no recent projects from an earlier test (the settings are a scratch copy)
    form = std::make_unique<TMainForm>();
    form->show();
    QApplication::processEvents();
  }
  void TearDown() override {
    // Whatever a test left unsaved must not ask anything while the window goes away.
    form->project().ProjectFlags = 0;
    form.reset();
  }

  Project& project() { return form->project(); }
  QAction* Command(const char* name) {
    QAction* action = form->Command(QString::fromLatin1(name));
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  QString Scratch(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

  // Opens a project file through File > Open with no unsaved changes.
  void OpenFile(const QString& path) {
    prompts.fileAnswers.push_back(path);
    Command("FileOpenItem")->trigger();
  }

  QTemporaryDir folder;
  TScriptedPrompts prompts;
  std::unique_ptr<TMainForm> form;
};

}  // namespace kolma::ui::testing
