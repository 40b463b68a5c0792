#pragma once
// The fixed cells of a result grid, drawn where they stay in view: the fixed rows as the
// horizontal header (scrolling sideways with the columns), the fixed columns as the
// vertical header (scrolling up and down with the rows) and the cells fixed both ways in
// the corner. A merged fixed cell is drawn once over its whole span: each header section
// paints its own slice of it.
#include <QHeaderView>
#include <QWidget>
#include <vector>

#include "core/analysis/result_table.h"

namespace kolma::ui {

// Sizes of the fixed cells: each fixed column its own width, every fixed row one height.
struct TFixedCellSizes {
  std::vector<int> columnWidths;
  int rowHeight = 21;

  int ColumnX(int column) const;  // left edge of a fixed column; the total width past the last
  int Width() const { return ColumnX(static_cast<int>(columnWidths.size())); }
};

class TFixedCellsHeader final : public QHeaderView {
 public:
  TFixedCellsHeader(Qt::Orientation orientation, const kolma::TResultTable& table, const TFixedCellSizes& sizes,
                    QWidget* parent);
  QSize sizeHint() const override;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

 private:
  // The fixed band `band` (a fixed row of a horizontal header, a fixed column of a vertical
  // one) across the header, as a span [start, end) in header coordinates.
  std::pair<int, int> Band(int first, int count) const;
  // The span [start, end) along the header of the sections [first, first + count) of the table.
  std::pair<int, int> Sections(int first, int count) const;
  QRect Rect(std::pair<int, int> along, std::pair<int, int> across) const;

  const kolma::TResultTable& table_;
  const TFixedCellSizes& sizes_;
};

class TFixedCorner final : public QWidget {
 public:
  TFixedCorner(const kolma::TResultTable& table, const TFixedCellSizes& sizes, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const kolma::TResultTable& table_;
  const TFixedCellSizes& sizes_;
};

// The merge that covers a cell, or nullptr.
const kolma::TMergedCells* MergeAt(const kolma::TResultTable& table, int row, int column);

}  // namespace kolma::ui
