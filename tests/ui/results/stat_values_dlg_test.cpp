// The values table of the time-history view, offscreen: the curve form with and without
// the moving statistics, its column widths, and its exports and copy with its own wording.
#include "ui/results/stat_values_dlg.h"

#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

#include "tests/ui/results/table_exports_check.h"

namespace kolma::ui {
namespace {

TEST(StatValuesDlgTest, CurveFormExportsAndCopiesWithItsOwnWording) {
  const std::vector<double> values = {1.5, -2.25, 3.0, 4.125};
  TMovingStatistics averages{{1.0, 2.0, 3.0, 4.0}, {0.5, 0.25, 0.125, 0.0}};
  testing::TScriptedPrompts prompts;
  TStatValuesDlg dialog;
  dialog.SetCurve(values, 24.0, 2.5, &averages);
  dialog.show();

  const TResultTable& table = dialog.Grid()->Table();
  ASSERT_EQ(table.rows(), 6);
  ASSERT_EQ(table.columns(), 4);
  EXPECT_EQ(std::vector<std::string>({table.cell(0, 0), table.cell(0, 1), table.cell(0, 2), table.cell(0, 3)}),
            std::vector<std::string>({"Time", "X =    2.500 m", "Mean", "Std. Deviation"}));
  EXPECT_EQ(std::vector<std::string>({table.cell(2, 0), table.cell(3, 0), table.cell(4, 0)}),
            std::vector<std::string>({"0.00000", "24.00000", "48.00000"}));
  EXPECT_EQ(table.cell(3, 1), "-2.25000");
  EXPECT_EQ(table.cell(5, 3), "0.00000");

  const TTableWindowMenus& menus = dialog.Menus();
  EXPECT_EQ(menus.copyAll->text(), "&Copy");
  EXPECT_EQ(menus.copyAll->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
  EXPECT_FALSE(menus.copySelection->isVisible());
  testing::TTableCommands commands = testing::MenuCommands(menus);
  commands.copySelection = nullptr;  // hidden here: the grid's own selection copy
  commands.wording.excelTitle = "Export to MS Excel file";
  commands.wording.excelFilter = "MS Excel file|*.xls";
  commands.wording.csvTitle = "Export to CSV file";
  commands.wording.csvFilter = "Comma separated values|*.csv";
  QTemporaryDir folder;
  testing::ExpectTableExportsMatch(*dialog.Grid(), prompts, folder.path(), commands);

  // Without an average curve: the values alone.
  dialog.SetCurve(values, 24.0, 2.5, nullptr);
  EXPECT_EQ(dialog.Grid()->Table().columns(), 2);
}

TEST(StatValuesDlgTest, FewColumnsShareTheWidthManyKeepTheMinimum) {
  struct Case {
    int columns;
    int lo, hi;  // expected width of a data column
  } cases[] = {{2, 280, 315}, {12, 100, 100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.columns);
    TStatValuesDlg dialog;
    dialog.SetPrepared(TResultTable(5, c.columns, 2, 1));
    dialog.show();
    const int width = dialog.Grid()->View()->horizontalHeader()->sectionSize(0);
    EXPECT_GE(width, c.lo);
    EXPECT_LE(width, c.hi);
    EXPECT_EQ(dialog.Grid()->View()->verticalHeader()->width(), width);  // the fixed column alike
  }
}

}  // namespace
}  // namespace kolma::ui
