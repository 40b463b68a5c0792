#include "ui/dialogs/options_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "core/model/project.h"
#include "tests/ui/dialogs/dialog_fixture.h"
#include "ui/widgets/numeric_edit.h"

namespace kolma::ui {
namespace {

void SetHistory(TVector& values, int count) {
  values.Resize(count);
  for (int i = 1; i <= count; ++i) values.SetElement(i, 10.0 + i % 7);
}

class OptionsDlgTest : public testing::TDialogFixture<TOptionsDlg> {
 protected:

  QRadioButton* Radio(const char* name) { return Find<QRadioButton>(name); }
  TNumericEdit* Padding() { return Find<TNumericEdit>("EditPadding"); }
  QSpinBox* Minimum() { return Find<QSpinBox>("EditMinimum"); }

  // A 10 m section of diffusivity 0.004 m²/h: the suggestion is 15000 / 8760 years.
  void DefineTenMetreSection() {
    project.SectionProperties.Xu = 0;
    project.SectionProperties.Xd = 10;
    project.SectionProperties.Diffusivity = 0.004;
    project.ProjectFlags |= pfSection;
  }
  void ChooseUserPadding(double years) {
    Radio("LMDRadioPaddingUser")->click();
    Padding()->setValue(years);
  }

};

TEST_F(OptionsDlgTest, LaysOutTheOptionsOfTheProject) {
  project.SetMinHarmonics(70);
  project.AnalysisOptions.AveragingCorrection = 2;
  project.AnalysisOptions.PaddingMode = 1;
  project.AnalysisOptions.PaddingYears = 2.5;
  TOptionsDlg& d = dialog();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Analysis options"));
  // The designed size, or more where this desktop's fonts need it; never resizable.
  EXPECT_GE(d.width(), 355);
  EXPECT_GE(d.height(), 392);
  EXPECT_EQ(d.minimumSize(), d.maximumSize());
  EXPECT_EQ(Minimum()->value(), 70);
  EXPECT_EQ(Minimum()->singleStep(), 10);
  EXPECT_EQ(Minimum()->minimum(), 10);
  EXPECT_EQ(Minimum()->maximum(), 4379);
  EXPECT_TRUE(Radio("LMDRadioButtonNonlinear")->isChecked());
  EXPECT_TRUE(Radio("LMDRadioPaddingUser")->isChecked());
  EXPECT_TRUE(Padding()->isEnabled());
  EXPECT_TRUE(Find<QLabel>("RxLabel2")->isEnabled());
  EXPECT_EQ(Padding()->text(), QStringLiteral("2.5 year(s)"));
  EXPECT_EQ(Padding()->maximum(), 20.0);
}

TEST_F(OptionsDlgTest, PaddingRadiosEnableThePaddingEdit) {
  EXPECT_TRUE(Radio("LMDRadioPAddingAutomatic")->isChecked());
  EXPECT_TRUE(Radio("LMDRadioButtonTwo")->isChecked());
  EXPECT_FALSE(Padding()->isEnabled());
  Radio("LMDRadioPaddingUser")->click();
  EXPECT_TRUE(Padding()->isEnabled());
  EXPECT_TRUE(Find<QLabel>("RxLabel2")->isEnabled());
  Radio("LMDRadioPAddingAutomatic")->click();
  EXPECT_FALSE(Padding()->isEnabled());
  EXPECT_FALSE(Find<QLabel>("RxLabel2")->isEnabled());
}

TEST_F(OptionsDlgTest, MinimumHarmonicsLimitedByTheShortestHistory) {
  project.ProjectFlags = pfUpstream | pfDownstream;
  SetHistory(project.UpstreamHistory.Values, 8760);
  SetHistory(project.DownstreamHistory.Values, 8760);
  EXPECT_EQ(Minimum()->maximum(), 4379);
  Minimum()->setValue(5000);
  EXPECT_EQ(Minimum()->value(), 4379);

  dialog_.reset();
  SetHistory(project.DownstreamHistory.Values, 365);
  EXPECT_EQ(Minimum()->maximum(), 181);

  // The first thermometer of the pair counts too, a history whose flag is clear does not.
  dialog_.reset();
  project.ProjectFlags = pfUpstream | pfInversePair;
  project.InversePair = {2, 3};
  SetHistory(project.Thermometer(2).Values, 100);
  SetHistory(project.Thermometer(3).Values, 50);
  EXPECT_EQ(Minimum()->maximum(), 49);
  EXPECT_EQ(Minimum()->value(), 40);
}

TEST_F(OptionsDlgTest, SuggestedPaddingOfATenMetreSection) {
  DefineTenMetreSection();
  EXPECT_NEAR(TOptionsDlg::SuggestedPadding(project, 3.0), 15000.0 / 8760.0, 1e-12);
  project.ProjectFlags = 0;
  EXPECT_EQ(TOptionsDlg::SuggestedPadding(project, 3.0), 3.0);
}

TEST_F(OptionsDlgTest, PaddingNearTheSuggestionIsStoredAtOnce) {
  DefineTenMetreSection();
  ChooseUserPadding(1.0);  // between 0.856 and 3.42
  Find<QPushButton>("OKBtn")->click();
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(dialog().result(), QDialog::Accepted);
  EXPECT_EQ(project.AnalysisOptions.PaddingMode, 1);
  EXPECT_EQ(project.AnalysisOptions.PaddingYears, 1.0);
}

TEST_F(OptionsDlgTest, PaddingFarFromTheSuggestionAsksFirst) {
  DefineTenMetreSection();
  project.ProjectFlags |= pfDirectResults;
  ChooseUserPadding(0.0);

  prompts.yesNoAnswers = {true};  // Yes: change the value
  Find<QPushButton>("OKBtn")->click();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].kind, QStringLiteral("question"));
  EXPECT_EQ(prompts.shown[0].text,
            QStringLiteral("Suggested value for padding = 1.7123 year(s).\nDo you want to change your value?"));
  EXPECT_NE(dialog().result(), QDialog::Accepted);
  EXPECT_EQ(project.AnalysisOptions.PaddingMode, 0);
  EXPECT_EQ(project.ProjectFlags, pfSection | pfDirectResults);

  prompts.yesNoAnswers = {false};  // No: keep 0, a periodic analysis
  Find<QPushButton>("OKBtn")->click();
  EXPECT_EQ(prompts.Count(QStringLiteral("question")), 2);
  EXPECT_EQ(dialog().result(), QDialog::Accepted);
  EXPECT_EQ(project.AnalysisOptions.PaddingMode, 1);
  EXPECT_EQ(project.AnalysisOptions.PaddingYears, 0.0);
  EXPECT_EQ(project.ProjectFlags, pfSection | pfModified);
}

TEST_F(OptionsDlgTest, WithoutASectionPaddingZeroAsksWithAZeroSuggestion) {
  ChooseUserPadding(0.0);
  prompts.yesNoAnswers = {false};
  Find<QPushButton>("OKBtn")->click();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(prompts.shown[0].text.startsWith(QStringLiteral("Suggested value for padding = 0.0000 year(s).\n")));
  EXPECT_EQ(project.AnalysisOptions.PaddingMode, 1);
  EXPECT_EQ(project.AnalysisOptions.PaddingYears, 0.0);

  // Without a section any other padding matches its own suggestion.
  dialog_.reset();
  prompts.shown.clear();
  ChooseUserPadding(4.0);
  Find<QPushButton>("OKBtn")->click();
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(project.AnalysisOptions.PaddingYears, 4.0);
}

TEST_F(OptionsDlgTest, AutomaticPaddingNeverAsksAndStillStoresThePaddingValue) {
  DefineTenMetreSection();
  project.AnalysisOptions.PaddingYears = 9;
  Find<QPushButton>("OKBtn")->click();
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(project.AnalysisOptions.PaddingMode, 0);
  EXPECT_EQ(project.AnalysisOptions.PaddingYears, 9.0);
}

// A look at the options is no edit: the results stay valid and nothing is to be saved.
TEST_F(OptionsDlgTest, OkWithUnchangedValuesChangesNothing) {
  project.ProjectFlags = pfDirectResults | pfInverseResults | pfSection;
  project.AnalysisOptions.PaddingYears = 3;
  Find<QPushButton>("OKBtn")->click();
  EXPECT_EQ(dialog().result(), QDialog::Accepted);
  EXPECT_EQ(project.ProjectFlags, pfDirectResults | pfInverseResults | pfSection);
  EXPECT_EQ(project.DirectHarmonics.MinHarmonics, 40);
  EXPECT_EQ(project.AnalysisOptions.PaddingYears, 3.0);
}

TEST_F(OptionsDlgTest, OkStoresEveryChoiceAndCancelNone) {
  project.ProjectFlags = pfDirectResults;
  Minimum()->setValue(120);
  Radio("LMDRadioButtonLinear")->click();
  ChooseUserPadding(3.0);
  Find<QPushButton>("CancelBtn")->click();
  EXPECT_EQ(dialog().result(), QDialog::Rejected);
  EXPECT_EQ(project.ProjectFlags, pfDirectResults);
  EXPECT_EQ(project.DirectHarmonics.MinHarmonics, 40);
  EXPECT_EQ(project.AnalysisOptions.AveragingCorrection, 0);
  EXPECT_EQ(project.AnalysisOptions.PaddingMode, 0);

  dialog_.reset();
  Minimum()->setValue(120);
  Radio("LMDRadioButtonLinear")->click();
  ChooseUserPadding(3.0);
  Find<QPushButton>("OKBtn")->click();
  EXPECT_EQ(project.DirectHarmonics.MinHarmonics, 120);
  EXPECT_EQ(project.InverseHarmonics.MinHarmonics, 120);
  EXPECT_EQ(project.AnalysisOptions.AveragingCorrection, 1);
  EXPECT_EQ(project.AnalysisOptions.PaddingMode, 1);
  EXPECT_EQ(project.AnalysisOptions.PaddingYears, 3.0);
  EXPECT_EQ(project.ProjectFlags, pfModified);
}

}  // namespace
}  // namespace kolma::ui
