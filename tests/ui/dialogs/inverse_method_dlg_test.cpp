// The inverse method in the options dialog, and what the analysis dialog says around an
// inverse run: the faulty records before it, each face's expected error and one warning
// box after it.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include <string>

#include "core/model/node_distribution.h"
#include "core/model/project_file.h"
#include "tests/ui/dialogs/dialog_fixture.h"
#include "ui/dialogs/analysis_dlg.h"
#include "ui/dialogs/options_dlg.h"

namespace kolma::ui {
namespace {

class InverseMethodOptionsTest : public testing::TDialogFixture<TOptionsDlg> {};

TEST_F(InverseMethodOptionsTest, LeastSquaresIsStoredAndSetsTheAveragingChoicesAside) {
  auto* leastSquares = Find<QCheckBox>("CheckBoxLeastSquares");
  EXPECT_EQ(leastSquares->text(), QStringLiteral("Use all thermometers (least squares)"));
  EXPECT_FALSE(leastSquares->isChecked());
  leastSquares->click();
  EXPECT_FALSE(Find<QGroupBox>("LMDGroupBox1")->isEnabled());
  Find<QPushButton>("OKBtn")->click();
  EXPECT_EQ(project.AnalysisOptions.InverseMethod, kInverseLeastSquaresMethod);

  TOptionsDlg again(project);
  EXPECT_TRUE(again.findChild<QCheckBox*>(QStringLiteral("CheckBoxLeastSquares"))->isChecked());
  again.findChild<QCheckBox*>(QStringLiteral("CheckBoxLeastSquares"))->click();
  again.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
  EXPECT_EQ(project.AnalysisOptions.InverseMethod, kInversePairMethod);
}

class InverseRunDlgTest : public testing::TDialogFixture<TAnalysisDlg> {
 protected:
  void SetUp() override {
    std::string reason;
    ASSERT_TRUE(LectureFichier(project, std::string(KOLMA_SOURCE_DIR) + "/examples/four-thermometers.kol", &reason))
        << reason;
    const TSectionProperties& s = project.SectionProperties;
    ASSERT_TRUE(ComputeNodes(s.NbDivisions, project.SectionProperties.Nodes, s.Xu, s.Xd, s.Ratio));
  }
};

TEST_F(InverseRunDlgTest, AFaultyRecordIsNamedBeforeTheRunAndNoStopsIt) {
  TVector& values = project.Thermometer(1).Values;
  for (int j = 200; j <= values.NrOfElem(); ++j) values.SetElement(j, values.Element(j) + 5.0);
  prompts.yesNoAnswers = {false};
  Find<QPushButton>("ButtonStartInverse")->click();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(prompts.shown[0].text.startsWith(QStringLiteral("Thermometer 1 \"T1\" jumps by ")))
      << prompts.shown[0].text.toStdString();
  EXPECT_FALSE(project.HasFlag(pfInverseResults));
}

TEST_F(InverseRunDlgTest, CompletedRunShowsEachFaceAndOneWarningBox) {
  dialog().show();
  Find<QPushButton>("ButtonStartInverse")->click();
  ASSERT_TRUE(project.HasFlag(pfInverseResults));
  // The example discards short periods: one box, the run's warnings in it.
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(prompts.shown[0].text.startsWith(QStringLiteral("Numerical problem: Periods lower than")));
  auto* errors = Find<QLabel>("LabelInverseErrors");
  EXPECT_TRUE(errors->isVisible());
  const QStringList lines = errors->text().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Upstream face: expected error ")));
  EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Downstream face: expected error ")));
  EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" h up")));
}

TEST_F(InverseRunDlgTest, AFaceBeyondReachIsWarnedInTheBoxOfTheOtherWarnings) {
  project.InversePair = {1, 2};  // 0.6 and 3 m of a 12 m section
  Find<QPushButton>("ButtonStartInverse")->click();
  ASSERT_TRUE(project.HasFlag(pfInverseResults));
  ASSERT_EQ(prompts.shown.size(), 1u);
  const QStringList parts = prompts.shown[0].text.split(QStringLiteral("\n\n"));
  ASSERT_EQ(parts.size(), 2);
  EXPECT_TRUE(parts[0].startsWith(QStringLiteral("Numerical problem: Periods lower than")));
  EXPECT_TRUE(parts[1].startsWith(QStringLiteral("The downstream face lies 9.0 m beyond both thermometers of the pair")));
}

}  // namespace
}  // namespace kolma::ui
