#include "ui/widgets/result_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <gtest/gtest.h>
#include <string>

namespace kolma::ui {
namespace {

// 200 data rows under two fixed rows, 30 data columns right of one fixed column; the first
// fixed row holds a title merged over the first two data columns.
kolma::TResultTable SampleTable() {
  kolma::TResultTable table(202, 31, 2, 1);
  table.setCell(0, 0, "Time");
  table.setCell(0, 1, "Upstream");
  table.addMerge({0, 1, 1, 2});
  for (int r = 2; r < table.rows(); ++r) {
    table.setCell(r, 0, std::to_string(r));
    for (int c = 1; c < table.columns(); ++c) table.setNumber(r, c, r + c / 100.0);
  }
  return table;
}

int DarkPixels(const QImage& image, const QRect& area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += qGray(image.pixel(x, y)) < 100;
  return n;
}

void Click(QTableView* view, const QModelIndex& index, Qt::KeyboardModifiers modifiers) {
  const QPoint at = view->visualRect(index).center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, modifiers);
    QApplication::sendEvent(view->viewport(), &event);
  }
}

TEST(ResultGridTest, FixedCellsStayInViewMergesSpanAndSelectionIsARectangle) {
  TResultGrid grid;
  grid.SetDefaultSizes(60, 20);
  grid.SetTable(SampleTable());
  grid.resize(400, 300);
  grid.show();
  QTableView* view = grid.View();
  QApplication::processEvents();

  // Scrolled to the far corner, the fixed rows and column are still drawn along the edges.
  view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
  view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
  QApplication::processEvents();
  EXPECT_GT(view->rowAt(view->viewport()->height() / 2), 150);
  EXPECT_TRUE(view->horizontalHeader()->isVisible());
  EXPECT_TRUE(view->verticalHeader()->isVisible());
  EXPECT_EQ(view->horizontalHeader()->height(), 40);
  EXPECT_EQ(view->verticalHeader()->width(), 60);
  EXPECT_EQ(view->horizontalHeader()->geometry().bottom() + 1, view->viewport()->geometry().top());
  // The row labels at the left are those of the rows in view.
  EXPECT_EQ(view->model()->headerData(view->rowAt(0), Qt::Vertical).toString(),
            QString::number(view->rowAt(0) + 2));

  // Back at the start, the merged title is drawn across the line between its two columns.
  view->scrollToTop();
  view->horizontalScrollBar()->setValue(0);
  QApplication::processEvents();
  QHeaderView* top = view->horizontalHeader();
  const QImage header = top->grab().toImage();
  const int border = top->sectionViewportPosition(1);
  EXPECT_GT(DarkPixels(header, QRect(border - 12, 2, 10, 16)), 0);
  EXPECT_GT(DarkPixels(header, QRect(border + 2, 2, 10, 16)), 0);
  // The second fixed row is empty: nothing of the title spills into it.
  EXPECT_EQ(DarkPixels(header, QRect(border - 12, 24, 24, 12)), 0);

  // Click then shift-click: the rectangle between, in table numbering, and only it copied.
  Click(view, view->model()->index(1, 2), Qt::NoModifier);
  Click(view, view->model()->index(3, 0), Qt::ShiftModifier);
  const kolma::TCellRange range = grid.Selection();
  EXPECT_EQ(std::make_tuple(range.top, range.left, range.bottom, range.right), std::make_tuple(3, 1, 5, 3));
  grid.CopySelection();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), grid.Table().clipboardText({3, 1, 5, 3}));
  // Numbers are right-aligned, texts left.
  EXPECT_TRUE(view->model()->index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
}

// Columns are widened from the first rows, yet a number further down may take a sign, or
// the other sign, that those rows do not show: it is not cut either.
TEST(ResultGridTest, ANumberWithAnotherSignBelowTheMeasuredRowsFits) {
  TResultGrid grid;
  grid.SetDefaultSizes(20, 20);
  kolma::TResultTable table(301, 1, 1, 0);
  for (int r = 1; r < table.rows(); ++r) table.setCell(r, 0, r <= 250 ? "1.000000e-01" : "-9.999999e+00");
  grid.SetTable(table);
  grid.WidenColumnsToFit(200);
  const QFontMetrics font(grid.View()->font());
  EXPECT_GE(grid.View()->horizontalHeader()->sectionSize(0), font.horizontalAdvance(QStringLiteral("-9.999999e+00")) + 8);
}

}  // namespace
}  // namespace kolma::ui
