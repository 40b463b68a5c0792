#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

#include "tests/ui/scripted_prompts.h"
#include "ui/dialogs/band_filter_dlg.h"
#include "ui/dialogs/low_pass_dlg.h"
#include "ui/dialogs/period_edit.h"

namespace kolma::ui {
namespace {

QString LabelOf(QDialog& dialog, QWidget* edit) {
  for (QLabel* label : dialog.findChildren<QLabel*>())
    if (label->buddy() == edit) return label->text();
  return QString();
}

// The shortest period of a year of hourly samples resampled to 16384 points: 2 dt.
constexpr double kShortest = 2 * 8760.0 / 16384;

TEST(FilterDlgTest, CaptionsLabelsUnitsAndRangesOfEveryFilter) {
  enum Kind { Low, High, Band };
  struct Case {
    Kind kind;
    int unit;
    double lo, hi;
    const char* caption;
    const char* lowerLabel;  // the single label of a low or high pass
    const char* shownLower;  // the lower (or single) edit's text
    const char* shownUpper;
  };
  const Case cases[] = {
      {Low, 0, kShortest, 8760, "Low Pass Filter", "Remove all periods over =", "8,760 hour", ""},
      {High, 1, kShortest / 24, 365, "High Pass Filter", "Remove all periods below =", "365 day", ""},
      {Band, 2, kShortest / 730, 12, "Band Filter", "Remove all periods over =", "0.0015 month", "12 month"},
      {Band, 0, kShortest, 8760, "Band Filter", "Remove all periods over =", "1.0693 hour", "8,760 hour"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    std::unique_ptr<QDialog> dialog;
    if (c.kind == Band) {
      dialog = std::make_unique<TBandFilterDlg>(c.unit, c.lo, c.hi);
    } else {
      dialog = std::make_unique<TLowPassDlg>(c.kind == High, c.unit, c.lo, c.hi);
    }
    EXPECT_EQ(dialog->windowTitle(), QString::fromLatin1(c.caption));
    auto* lower = dialog->findChild<TPeriodEdit*>(c.kind == Band ? "EditLowerPeriod" : "EditPeriod");
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ(LabelOf(*dialog, lower), QString::fromLatin1(c.lowerLabel));
    EXPECT_EQ(lower->text(), QString::fromLatin1(c.shownLower));
    EXPECT_EQ(lower->minimum(), c.lo);
    EXPECT_EQ(lower->maximum(), c.hi);

    if (c.kind == Band) {
      auto* band = static_cast<TBandFilterDlg*>(dialog.get());
      auto* upper = dialog->findChild<TPeriodEdit*>("EditUpperPeriod");
      EXPECT_EQ(LabelOf(*dialog, upper), QStringLiteral("and below ="));
      EXPECT_EQ(upper->text(), QString::fromLatin1(c.shownUpper));
      // Untouched, the limits are the range ends exactly, so that OK removes every
      // harmonic shown, the shortest period too.
      dialog->findChild<QPushButton*>("OKBtn")->click();
      EXPECT_EQ(dialog->result(), QDialog::Accepted);
      EXPECT_EQ(band->LowerPeriod(), c.lo);
      EXPECT_EQ(band->UpperPeriod(), c.hi);
    } else {
      auto* pass = static_cast<TLowPassDlg*>(dialog.get());
      EXPECT_EQ(pass->Period(), c.hi);
      lower->setValue(c.hi * 2);
      EXPECT_EQ(pass->Period(), c.hi);
      lower->setValue(c.lo / 2);
      EXPECT_EQ(pass->Period(), c.lo);
      lower->setValue(24);
      EXPECT_EQ(pass->Period(), 24.0);
    }
  }
}

TEST(FilterDlgTest, BandRefusesALowerLimitAboveTheUpperOne) {
  testing::TScriptedPrompts prompts;
  TBandFilterDlg dialog(0, kShortest, 8760);
  dialog.findChild<TPeriodEdit*>("EditLowerPeriod")->setValue(48);
  dialog.findChild<TPeriodEdit*>("EditUpperPeriod")->setValue(24);
  dialog.findChild<QPushButton*>("OKBtn")->click();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Warning);
  EXPECT_NE(dialog.result(), QDialog::Accepted);

  dialog.findChild<TPeriodEdit*>("EditUpperPeriod")->setValue(48);
  dialog.findChild<QPushButton*>("OKBtn")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.LowerPeriod(), 48.0);
  EXPECT_EQ(dialog.UpperPeriod(), 48.0);
  EXPECT_EQ(prompts.shown.size(), 1u);
}

}  // namespace
}  // namespace kolma::ui
