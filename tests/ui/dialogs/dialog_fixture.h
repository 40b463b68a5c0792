#pragma once
// A dialog of the project under test, created on first use, with its controls found by name
// and its message boxes answered by the test.
#include <QString>
#include <gtest/gtest.h>
#include <memory>

#include "core/model/project.h"
#include "tests/ui/scripted_prompts.h"

namespace kolma::ui::testing {

template <class Dialog>
class TDialogFixture : public ::testing::Test {
 protected:
  TDialogFixture() { project.InitDefaults(); }

  Dialog& dialog() {
    if (!dialog_) dialog_ = std::make_unique<Dialog>(project);
    return *dialog_;
  }
  template <class T>
  T* Find(const char* name) {
    T* w = dialog().template findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  Project project;
  TScriptedPrompts prompts;
  std::unique_ptr<Dialog> dialog_;
};

}  // namespace kolma::ui::testing
