// The section values through their real window: the table of the step shown, its stepping,
// a section without a finite stress, and the exports and copies of the table.
#include "ui/results/section_values_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/analysis/result_table.h"
#include "core/analysis/thermal_decomposition.h"
#include "tests/ui/results/direct_results_fixture.h"
#include "tests/ui/results/table_exports_check.h"
#include "tests/ui/scripted_prompts.h"
#include "ui/results/profile_step_bar.h"
#include "ui/widgets/result_grid.h"

namespace kolma::ui {
namespace {

using testing::SetDirectResults;

class SectionValuesDlg : public ::testing::Test {
 protected:
  SectionValuesDlg() {
    project.InitDefaults();
    // A curved field that changes with the step, so that every row has its own values.
    SetDirectResults(project, 0, 10, 10, 20, 1, [](double x, int k) { return 3 + x + 0.1 * x * x * k; });
  }
  TSectionValuesDlg& Open(int startStep) {
    dialog = std::make_unique<TSectionValuesDlg>(project, startStep);
    dialog->show();
    QApplication::processEvents();
    return *dialog;
  }
  const TResultTable& table() { return dialog->Grid()->Table(); }
  std::string Number(double v) { return FormatFloat("%.3f", v); }

  Project project;
  testing::TScriptedPrompts prompts;
  std::unique_ptr<TSectionValuesDlg> dialog;
};

TEST_F(SectionValuesDlg, TableOfTheStepShownFollowsTheTrackBar) {
  Open(5);
  ASSERT_EQ(table().rows(), 6);
  ASSERT_EQ(table().columns(), 12);
  EXPECT_EQ(table().cell(0, 0), "Position X");
  EXPECT_EQ(table().cell(5, 0), "Stress (MPa)");
  const double s = StressFactor(project.SectionProperties).value;
  for (int step : {5, 6}) {
    SCOPED_TRACE(step);
    const TTmTd split = ComputeTmTd(project, step);
    EXPECT_EQ(dialog->findChild<QLabel*>("LabelTm")->text(), QString::asprintf("Tm = %9.3f °C", split.Tm));
    EXPECT_EQ(dialog->findChild<QLabel*>("LabelTd")->text(), QString::asprintf("Td = %9.3f °C", split.Td));
    for (int i = 1; i <= 11; ++i) {
      const double x = project.SectionProperties.Nodes.Element(i);
      EXPECT_EQ(table().cell(0, i), FormatFloat("%8.3f m", x));
      EXPECT_EQ(table().cell(1, i), Number(3 + x + 0.1 * x * x * step));
      EXPECT_EQ(table().cell(2, i), Number(split.Tm)) << "the same mean in every column";
      EXPECT_EQ(table().cell(3, i), Number((x - 5) * split.Td / 10)) << "the node's linear part, not Td";
      const double tn = 3 + x + 0.1 * x * x * step - split.Tm - (x - 5) * split.Td / 10;
      EXPECT_EQ(table().cell(4, i), Number(tn));
      EXPECT_EQ(table().cell(5, i), Number(s * (tn - project.SectionProperties.T0)));
    }
    dialog->findChild<QPushButton*>("ButtonPlus1")->click();
  }
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SectionValuesDlg, StartStepIsKeptWithinTheSteps) {
  const std::pair<int, int> cases[] = {{0, 1}, {1, 1}, {20, 20}, {99, 20}};
  for (const auto& [start, shown] : cases) {
    Open(start);
    EXPECT_EQ(dialog->StepBar()->Position(), shown) << start;
    EXPECT_EQ(table().cell(1, 1), Number(3)) << start;  // x1 = 0 at every step
  }
}

TEST_F(SectionValuesDlg, SectionWithoutFiniteStressSaysSoOnceAndLeavesTheRowEmpty) {
  project.SectionProperties.PlaneStrain = 1;
  project.SectionProperties.Poisson = 0.5;
  Open(3);
  ASSERT_EQ(prompts.Count("message"), 1);
  EXPECT_EQ(prompts.shown[0].text, "Plane strain with Poisson's ratio 0.5 has no finite thermal stress");
  dialog->findChild<QPushButton*>("ButtonPlus1")->click();
  EXPECT_EQ(prompts.Count("message"), 1);
  for (int i = 1; i <= 11; ++i) {
    EXPECT_EQ(table().cell(5, i), "") << i;
    EXPECT_FALSE(table().cell(4, i).empty()) << i;
  }
}

TEST_F(SectionValuesDlg, ExportsAndCopiesHoldTheWholeTable) {
  Open(4);
  const TTableWindowMenus& menus = dialog->Menus();
  EXPECT_EQ(menus.copyAll->text(), "&Copy");
  QTemporaryDir folder;
  testing::ExpectTableExportsMatch(*dialog->Grid(), prompts, folder.path(),
                                   testing::MenuCommands(menus));
}

}  // namespace
}  // namespace kolma::ui
