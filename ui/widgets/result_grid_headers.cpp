#include "ui/widgets/result_grid_headers.h"

#include <QPainter>
#include <algorithm>
#include <numeric>

#include "ui/widgets/result_grid_model.h"

namespace kolma::ui {

namespace {

// One fixed cell, drawn in `cell` but only inside `clip` (a merged cell is painted slice by slice).
void PaintFixedCell(QPainter* painter, const QRect& clip, const QRect& cell, const std::string& text, bool merged,
                    const QPalette& palette) {
  painter->save();
  painter->setClipRect(clip, Qt::IntersectClip);
  painter->fillRect(cell, palette.button());
  painter->setPen(QColor(Qt::gray));
  painter->drawLine(cell.topRight(), cell.bottomRight());
  painter->drawLine(cell.bottomLeft(), cell.bottomRight());
  painter->setPen(palette.color(QPalette::ButtonText));
  const Qt::Alignment horizontal = merged ? Qt::AlignHCenter : IsNumberCell(text) ? Qt::AlignRight : Qt::AlignLeft;
  painter->drawText(cell.adjusted(3, 0, -3, 0), Qt::AlignVCenter | horizontal | Qt::TextSingleLine,
                    QString::fromStdString(text));
  painter->restore();
}

}  // namespace

int TFixedCellSizes::ColumnX(int column) const {
  const int n = std::clamp(column, 0, static_cast<int>(columnWidths.size()));
  return std::accumulate(columnWidths.begin(), columnWidths.begin() + n, 0);
}

const kolma::TMergedCells* MergeAt(const kolma::TResultTable& table, int row, int column) {
  for (const kolma::TMergedCells& m : table.merges()) {
    if (row >= m.row && row < m.row + m.rowSpan && column >= m.column && column < m.column + m.columnSpan) return &m;
  }
  return nullptr;
}

TFixedCellsHeader::TFixedCellsHeader(Qt::Orientation orientation, const kolma::TResultTable& table,
                                     const TFixedCellSizes& sizes, QWidget* parent)
    : QHeaderView(orientation, parent), table_(table), sizes_(sizes) {}

QSize TFixedCellsHeader::sizeHint() const {
  QSize size = QHeaderView::sizeHint();
  if (orientation() == Qt::Horizontal)
    size.setHeight(table_.fixedRows() * sizes_.rowHeight);
  else
    size.setWidth(sizes_.Width());
  return size;
}

std::pair<int, int> TFixedCellsHeader::Band(int first, int count) const {
  if (orientation() == Qt::Horizontal) return {first * sizes_.rowHeight, (first + count) * sizes_.rowHeight};
  return {sizes_.ColumnX(first), sizes_.ColumnX(first + count)};
}

std::pair<int, int> TFixedCellsHeader::Sections(int first, int count) const {
  const int offset = orientation() == Qt::Horizontal ? table_.fixedColumns() : table_.fixedRows();
  const int from = std::max(first - offset, 0);
  const int to = std::min(first + count - offset, this->count()) - 1;
  int start = sectionViewportPosition(from);
  int end = start + sectionSize(from);
  for (int s = from + 1; s <= to; ++s) {  // moved columns may spread a span: take its hull
    const int p = sectionViewportPosition(s);
    start = std::min(start, p);
    end = std::max(end, p + sectionSize(s));
  }
  return {start, end};
}

QRect TFixedCellsHeader::Rect(std::pair<int, int> along, std::pair<int, int> across) const {
  if (orientation() == Qt::Horizontal)
    return QRect(QPoint(along.first, across.first), QPoint(along.second - 1, across.second - 1));
  return QRect(QPoint(across.first, along.first), QPoint(across.second - 1, along.second - 1));
}

void TFixedCellsHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  const bool horizontal = orientation() == Qt::Horizontal;
  const int bands = horizontal ? table_.fixedRows() : table_.fixedColumns();
  const int section = logicalIndex + (horizontal ? table_.fixedColumns() : table_.fixedRows());
  const std::pair<int, int> own = horizontal ? std::pair{rect.left(), rect.right() + 1}
                                             : std::pair{rect.top(), rect.bottom() + 1};
  for (int b = 0; b < bands;) {
    const int row = horizontal ? b : section;
    const int column = horizontal ? section : b;
    const kolma::TMergedCells* m = MergeAt(table_, row, column);
    if (!m) {
      const QRect cell = Rect(own, Band(b, 1));
      PaintFixedCell(painter, cell, cell, table_.cell(row, column), false, palette());
      ++b;
      continue;
    }
    const int bandFirst = horizontal ? m->row : m->column;
    const int bandCount = horizontal ? m->rowSpan : m->columnSpan;
    const std::pair<int, int> across = Band(bandFirst, std::min(bandCount, bands - bandFirst));
    const std::pair<int, int> along =
        horizontal ? Sections(m->column, m->columnSpan) : Sections(m->row, m->rowSpan);
    PaintFixedCell(painter, Rect(own, across), Rect(along, across), table_.cell(m->row, m->column), true, palette());
    b = bandFirst + bandCount;
  }
}

TFixedCorner::TFixedCorner(const kolma::TResultTable& table, const TFixedCellSizes& sizes, QWidget* parent)
    : QWidget(parent), table_(table), sizes_(sizes) {}

void TFixedCorner::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect all = rect();
  for (int r = 0; r < table_.fixedRows(); ++r) {
    for (int c = 0; c < table_.fixedColumns(); ++c) {
      const kolma::TMergedCells* m = MergeAt(table_, r, c);
      if (m && (m->row != r || m->column != c)) continue;  // drawn with the merge's first cell
      const int rows = m ? m->rowSpan : 1;
      const int columns = m ? m->columnSpan : 1;
      const QRect cell(QPoint(sizes_.ColumnX(c), r * sizes_.rowHeight),
                       QPoint(sizes_.ColumnX(c + columns) - 1, (r + rows) * sizes_.rowHeight - 1));
      PaintFixedCell(&painter, all, cell, table_.cell(r, c), m != nullptr, palette());
    }
  }
}

}  // namespace kolma::ui
