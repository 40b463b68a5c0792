#include "ui/results/harmonic_dlg.h"

#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/model/project.h"
#include "tests/ui/results/table_exports_check.h"

namespace kolma::ui {
namespace {

// Three harmonics in the order the analysis stores them: periods in hours, -1 for the mean.
void SetHarmonics(kolma::THarmonicSet& set, const std::vector<double>& periods) {
  set.HarmonicCount = static_cast<int>(periods.size());
  set.Periods.Resize(set.HarmonicCount);
  set.Amplitudes.Resize(2, set.HarmonicCount);
  set.Phases.Resize(2, set.HarmonicCount);
  for (int e = 1; e <= set.HarmonicCount; ++e) {
    set.Periods.SetElement(e, periods[e - 1]);
    set.Amplitudes.SetElement(1, e, 0.5 * e);
    set.Amplitudes.SetElement(2, e, 0.25 * e);
    set.Phases.SetElement(1, e, 0.1 * e);
    set.Phases.SetElement(2, e, -0.1 * e);
  }
}

struct THarmonicCase {
  bool inverse;
  std::vector<double> periods;
  const char* caption;
  std::vector<std::string> titles;  // over the first and the second pair of columns
  std::vector<std::vector<std::string>> periodCells;  // columns 1, 2, 4 of rows 1 to 3
};

TEST(HarmonicDlgTest, ListsTheLastEntryFirstAndExportsTheTable) {
  const std::vector<THarmonicCase> cases = {
      // The direct set keeps the mean last: it opens the table, then the periods shorten.
      {false, {12.0, 8760.0, -1.0}, "Selected harmonics for Direct Analysis", {"Upstream", "Downstream"},
       {{"Infinite", "Infinite", ""}, {"8760.0000", "365.00000", " 0.20000"}, {" 12.0000", " 0.50000", " 0.10000"}}},
      // The inverse set keeps the mean first: it closes the table; the thermometer nearer the
      // upstream face heads the first pair, whichever of the pair it is.
      {true, {-1.0, 8760.0, 12.0}, "Selected harmonics for Inverse Analysis", {"Near", "Far"},
       {{" 12.0000", " 0.50000", " 0.30000"}, {"8760.0000", "365.00000", " 0.20000"}, {"Infinite", "Infinite", ""}}},
  };
  for (const THarmonicCase& c : cases) {
    SCOPED_TRACE(c.caption);
    kolma::Project project;
    project.InitDefaults();
    SetHarmonics(c.inverse ? project.InverseHarmonics : project.DirectHarmonics, c.periods);
    project.Thermometer(2).Position = 6.0;
    project.Thermometer(2).Title.SetText("Far");
    project.Thermometer(5).Position = 1.0;
    project.Thermometer(5).Title.SetText("Near");
    project.InversePair = {2, 5};
    testing::TScriptedPrompts prompts;
    THarmonicDlg dialog(project, c.inverse);
    dialog.show();

    EXPECT_EQ(dialog.windowTitle().toStdString(), c.caption);
    const kolma::TResultTable& table = dialog.Grid()->Table();
    ASSERT_EQ(table.rows(), 6);
    EXPECT_EQ(table.cell(0, 3), c.titles[0]);
    EXPECT_EQ(table.cell(0, 5), c.titles[1]);
    for (int r = 1; r <= 3; ++r) {
      EXPECT_EQ(table.cell(r + 2, 0), std::to_string(r));
      EXPECT_EQ((std::vector<std::string>{table.cell(r + 2, 1), table.cell(r + 2, 2), table.cell(r + 2, 4)}),
                c.periodCells[r - 1]);
    }
    // The fixed column is 40 pixels wide, the others at least 75 and wide enough for every
    // number at this desktop's font; the three header rows 21 each.
    QTableView* view = dialog.Grid()->View();
    EXPECT_EQ(view->verticalHeader()->width(), 40);
    EXPECT_EQ(view->horizontalHeader()->height(), 63);
    for (int column = 1; column < 7; ++column) {
      EXPECT_GE(view->horizontalHeader()->sectionSize(column - 1), 75);
      for (int row = 3; row < 6; ++row)
        EXPECT_LE(view->fontMetrics().horizontalAdvance(QString::fromStdString(table.cell(row, column))) + 6,
                  view->horizontalHeader()->sectionSize(column - 1)) << row << ", " << column;
    }

    QTemporaryDir folder;
    const TTableWindowMenus& menus = dialog.Menus();
    testing::ExpectTableExportsMatch(*dialog.Grid(), prompts, folder.path(),
                                     testing::MenuCommands(menus));
    menus.close->trigger();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
}

}  // namespace
}  // namespace kolma::ui
