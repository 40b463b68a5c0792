// Headers that say what the table holds and are never cut: a merged header widens the
// columns it spans, and every header's tool tip gives its whole text and the quantity.
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <gtest/gtest.h>

#include "ui/widgets/result_grid.h"

namespace kolma::ui {
namespace {

TEST(ResultGridHeaders, MergedTitlesFitAndToolTipsSayWhatTheTableHolds) {
  kolma::TResultTable table(5, 5, 2, 1);
  table.setCell(0, 1, "T1 near upstream (0.6 m)");
  table.addMerge({0, 1, 1, 2});
  table.setCell(1, 1, "(°C)");
  table.setCell(1, 2, "(rad)");
  table.setCell(3, 0, "Td (°C)");
  TResultGrid grid;
  grid.SetDefaultSizes(20, 21);
  grid.SetTable(table);
  grid.SetHeaderToolTip(QStringLiteral("Harmonics of thermometers"));
  grid.SetSectionToolTip(Qt::Vertical, 3, QStringLiteral("Linear component, not Td"));
  grid.WidenColumnsToFit();

  QHeaderView* top = grid.View()->horizontalHeader();
  const int needed = QFontMetrics(grid.View()->font()).horizontalAdvance(QStringLiteral("T1 near upstream (0.6 m)"));
  EXPECT_GE(top->sectionSize(0) + top->sectionSize(1), needed);

  QAbstractItemModel* model = grid.View()->model();
  // The second column under the merged title names it too.
  EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(),
            QStringLiteral("T1 near upstream (0.6 m) (rad)\nHarmonics of thermometers"));
  // A row's own tip replaces the table's.
  EXPECT_EQ(model->headerData(1, Qt::Vertical, Qt::ToolTipRole).toString(),
            QStringLiteral("Td (°C)\nLinear component, not Td"));
  EXPECT_EQ(model->headerData(0, Qt::Vertical, Qt::ToolTipRole).toString(), QStringLiteral("Harmonics of thermometers"));
}

}  // namespace
}  // namespace kolma::ui
