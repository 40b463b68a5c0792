#include "ui/dialogs/generator_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "tests/ui/scripted_prompts.h"
#include "ui/widgets/numeric_edit.h"

namespace kolma::ui {
namespace {

class GeneratorDlgTest : public ::testing::Test {
 protected:
  template <class T>
  T* Find(const char* name) {
    T* w = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QLabel* LabelOf(QWidget* edit) {
    for (QLabel* label : dialog.findChildren<QLabel*>())
      if (label->buddy() == edit) return label;
    return nullptr;
  }

  testing::TScriptedPrompts prompts;
  TGeneratorDlg dialog;
};

TEST_F(GeneratorDlgTest, OpensWithTheDefaultsAndEnablesTheFieldsOfTheChosenFunction) {
  const GeneratorParameters p = dialog.Parameters();
  EXPECT_EQ(p.period, 8760.0);
  EXPECT_EQ(p.warmPeriod, 4000.0);
  EXPECT_EQ(p.phase, 2000.0);
  EXPECT_EQ(p.mean, 5.0);
  EXPECT_EQ(p.annualAmplitude, 15.0);
  EXPECT_EQ(p.dailyAmplitude, 12.0);
  EXPECT_FALSE(p.iceCover);

  auto* t2 = Find<TNumericEdit>("EditPeriod2");
  auto* a2 = Find<TNumericEdit>("EditA2");
  ASSERT_NE(LabelOf(t2), nullptr);
  ASSERT_NE(LabelOf(a2), nullptr);
  for (const bool ice : {true, false, true}) {
    Find<QRadioButton>(ice ? "RadioWithIce" : "RadioWithoutIce")->click();
    EXPECT_EQ(dialog.Parameters().iceCover, ice);
    EXPECT_EQ(t2->isEnabled(), ice);
    EXPECT_EQ(LabelOf(t2)->isEnabled(), ice);
    EXPECT_EQ(a2->isEnabled(), !ice);
    EXPECT_EQ(LabelOf(a2)->isEnabled(), !ice);
  }
  // The two sketches paint.
  EXPECT_FALSE(dialog.grab().isNull());
}

TEST_F(GeneratorDlgTest, OkTakesPeriodsThatGiveAHistoryAndRefusesOthers) {
  struct Case {
    double period;
    int samples;  // 0: refused
  };
  const Case cases[] = {{24.5, 24}, {25.5, 26}, {1e10, 0}, {8388608, 8388608}};
  for (const Case& c : cases) {
    prompts.shown.clear();
    dialog.setResult(QDialog::Rejected);
    Find<TNumericEdit>("EditPeriod")->setValue(c.period);
    Find<QPushButton>("OKBtn")->click();
    EXPECT_EQ(GeneratedSampleCount(dialog.Parameters().period), c.samples) << c.period;
    if (c.samples > 0) {
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
      EXPECT_TRUE(prompts.shown.empty());
    } else {
      EXPECT_NE(dialog.result(), QDialog::Accepted);
      ASSERT_EQ(prompts.shown.size(), 1u);
      EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Warning);
      EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("(T)"))) << prompts.shown[0].text.toStdString();
    }
  }
}

}  // namespace
}  // namespace kolma::ui
