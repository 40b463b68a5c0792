#include "ui/results/spreadsheet_dlg.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "core/model/project.h"
#include "tests/ui/results/table_exports_check.h"

namespace kolma::ui {
namespace {

using kolma::TSpreadsheetData;
using kolma::TSpreadsheetPrecision;

// Three nodes at 0, 1 and 4 m, three daily steps; the second step is not a straight line,
// so every derived view differs from the field.
kolma::Project SmallProject() {
  kolma::Project p;
  p.InitDefaults();
  p.SectionProperties.Xu = 0.0;
  p.SectionProperties.Xd = 4.0;
  p.SectionProperties.NbDivisions = 2;
  p.SectionProperties.Nodes.Resize(3);
  const double x[] = {0.0, 1.0, 4.0};
  const double t[3][3] = {{1, 1, 1}, {0, 3, 6}, {6, 6, 6}};
  p.DirectResults.Temperatures.Resize(3, 3);
  for (int i = 1; i <= 3; ++i) {
    p.SectionProperties.Nodes.SetElement(i, x[i - 1]);
    for (int k = 1; k <= 3; ++k) p.DirectResults.Temperatures.SetElement(i, k, t[k - 1][i - 1]);
  }
  p.DirectResults.TimeStep = 24.0;
  p.InverseResults.TimeStep = 6.0;
  p.InverseResults.UpstreamTemperatures.Resize(3);
  p.InverseResults.DownstreamTemperatures.Resize(2);
  for (int i = 1; i <= 3; ++i) {
    p.InverseResults.UpstreamTemperatures.SetElement(i, 10.0 + i);
    p.InverseResults.DownstreamTemperatures.SetElement(i, 20.0 - i);
  }
  return p;
}

std::vector<std::string> Cells(const kolma::TResultTable& t) {
  std::vector<std::string> cells;
  for (int r = 0; r < t.rows(); ++r)
    for (int c = 0; c < t.columns(); ++c) cells.push_back(t.cell(r, c));
  return cells;
}

class SpreadsheetDlgTest : public ::testing::Test {
 protected:
  kolma::Project project = SmallProject();
  testing::TScriptedPrompts prompts;
  QTemporaryDir folder;
};

TEST_F(SpreadsheetDlgTest, DataAndPrecisionCommandsRefillEveryCellOfTheView) {
  TSpreadsheetDlg dialog(project, false);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("SpreadSheet - Temperature Field (°C)"));
  EXPECT_TRUE(dialog.DataMenu()->menuAction()->isVisible());
  const kolma::TResultTable& table = dialog.Grid()->Table();
  // Daily steps read 0, 24, 48 in four characters; the node headers keep their blanks.
  EXPECT_EQ(table.cell(3, 0), "  24");
  EXPECT_EQ(table.cell(0, 1), "X =  0.00000");
  EXPECT_EQ(Cells(table), Cells(kolma::BuildSpreadsheet(project, TSpreadsheetData::Temperature)));
  // A column the user widened keeps its width through every refill.
  QHeaderView* columns = dialog.Grid()->View()->horizontalHeader();
  EXPECT_TRUE(columns->sectionsMovable());
  columns->resizeSection(1, 123);

  struct TStep {
    std::optional<TSpreadsheetData> data;
    std::optional<TSpreadsheetPrecision> precision;
    const char* caption;
    TSpreadsheetData shown;
    TSpreadsheetPrecision digits;
  };
  const std::vector<TStep> steps = {
      {TSpreadsheetData::Stress, {}, "SpreadSheet - Stresses (MPa)", TSpreadsheetData::Stress,
       TSpreadsheetPrecision::ThreeDigits},
      // The precision refills the stresses, not the field.
      {{}, TSpreadsheetPrecision::FiveDigits, "SpreadSheet - Stresses (MPa)", TSpreadsheetData::Stress,
       TSpreadsheetPrecision::FiveDigits},
      {TSpreadsheetData::Mean, {}, "SpreadSheet - Mean Temperatures Tm (°C)", TSpreadsheetData::Mean,
       TSpreadsheetPrecision::FiveDigits},
      {{}, TSpreadsheetPrecision::Exponential, "SpreadSheet - Mean Temperatures Tm (°C)", TSpreadsheetData::Mean,
       TSpreadsheetPrecision::Exponential},
      {TSpreadsheetData::Nonlinear, {}, "SpreadSheet - Nonlinear Temperatures Tn (°C)", TSpreadsheetData::Nonlinear,
       TSpreadsheetPrecision::Exponential},
      {TSpreadsheetData::Linear, TSpreadsheetPrecision::ThreeDigits, "SpreadSheet - Linear Temperatures (°C)",
       TSpreadsheetData::Linear, TSpreadsheetPrecision::ThreeDigits},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.caption);
    if (step.data) dialog.DataAction(*step.data)->trigger();
    if (step.precision) dialog.PrecisionAction(*step.precision)->trigger();
    EXPECT_EQ(dialog.windowTitle().toStdString(), step.caption);
    EXPECT_TRUE(dialog.DataAction(step.shown)->isChecked());
    EXPECT_TRUE(dialog.PrecisionAction(step.digits)->isChecked());
    EXPECT_EQ(Cells(table), Cells(kolma::BuildSpreadsheet(project, step.shown, step.digits)));
    EXPECT_EQ(columns->sectionSize(1), 123);
  }
  EXPECT_TRUE(prompts.shown.empty());
  const TTableWindowMenus& menus = dialog.Menus();
  testing::ExpectTableExportsMatch(*dialog.Grid(), prompts, folder.path(),
                                   testing::MenuCommands(menus));
}

TEST_F(SpreadsheetDlgTest, StressesWithoutAFiniteFactorAreRefusedOnceWithTheirReason) {
  project.SectionProperties.PlaneStrain = 1;
  project.SectionProperties.Poisson = 0.5;
  TSpreadsheetDlg dialog(project, false);
  const std::vector<std::string> field = Cells(dialog.Grid()->Table());
  dialog.DataAction(TSpreadsheetData::Stress)->trigger();
  ASSERT_EQ(prompts.Count(QStringLiteral("message")), 1);
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Warning);
  EXPECT_NE(prompts.shown[0].text.indexOf(QStringLiteral("Poisson")), -1) << prompts.shown[0].text.toStdString();
  // The field stays, and stays what the menu says is shown.
  EXPECT_EQ(Cells(dialog.Grid()->Table()), field);
  EXPECT_TRUE(dialog.DataAction(TSpreadsheetData::Temperature)->isChecked());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("SpreadSheet - Temperature Field (°C)"));
  dialog.PrecisionAction(TSpreadsheetPrecision::FiveDigits)->trigger();
  EXPECT_EQ(prompts.Count(QStringLiteral("message")), 1);
}

TEST_F(SpreadsheetDlgTest, InverseFacesShowTheWorkedBackHistoriesWithoutTheDataMenu) {
  TSpreadsheetDlg dialog(project, true);
  dialog.show();
  EXPECT_FALSE(dialog.DataMenu()->menuAction()->isVisible());
  EXPECT_EQ(Cells(dialog.Grid()->Table()), Cells(kolma::InverseFacesTable(project)));
  dialog.PrecisionAction(TSpreadsheetPrecision::Exponential)->trigger();
  EXPECT_EQ(Cells(dialog.Grid()->Table()),
            Cells(kolma::InverseFacesTable(project, TSpreadsheetPrecision::Exponential)));
  testing::ExpectTableExportsMatch(*dialog.Grid(), prompts, folder.path());
}

}  // namespace
}  // namespace kolma::ui
