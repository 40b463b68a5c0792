#include "ui/widgets/result_grid.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <set>
#include <span>
#include <utility>

#include "core/formats/chunked_file.h"
#include "core/formats/result_table_workbook.h"
#include "core/formats/save_file.h"
#include "core/formats/workbook_writer.h"
#include "ui/widgets/file_path.h"
#include "ui/widgets/prompts.h"
#include "ui/widgets/result_grid_headers.h"
#include "ui/widgets/result_grid_model.h"

namespace kolma::ui {

namespace {

// The width a cell's text may need: a number further down its column may carry a sign
// where the rows measured have none, or the other sign (a stress turning negative, an
// exponent crossing zero), so every sign counts as the wider one and one more is allowed
// in front.
int NeededWidth(const QFontMetrics& font, const std::string& text) {
  QString shown = QString::fromStdString(text);
  if (!IsNumberCell(text)) return font.horizontalAdvance(shown);
  const QChar sign = font.horizontalAdvance(QLatin1Char('+')) >= font.horizontalAdvance(QLatin1Char('-'))
                         ? QLatin1Char('+')
                         : QLatin1Char('-');
  shown.replace(QLatin1Char('-'), sign).replace(QLatin1Char('+'), sign);
  qsizetype first = 0;
  while (first < shown.size() && shown[first] == QLatin1Char(' ')) ++first;
  if (first < shown.size() && shown[first] != sign) shown.insert(first, sign);
  return font.horizontalAdvance(shown);
}

// The table view with the cells fixed both ways kept in its top-left corner.
class TGridView final : public QTableView {
 public:
  using QTableView::QTableView;
  QWidget* corner = nullptr;
  // After the fixed cells changed size: the headers take their new width and height.
  void Relayout() { updateGeometries(); }

 protected:
  void updateGeometries() override {
    QTableView::updateGeometries();
    if (!corner) return;
    const QRect vertical = verticalHeader()->geometry();
    const QRect horizontal = horizontalHeader()->geometry();
    corner->setGeometry(vertical.left(), horizontal.top(), vertical.width(), horizontal.height());
    corner->setVisible(!verticalHeader()->isHidden() && !horizontalHeader()->isHidden());
    corner->raise();
  }
};

QString ErrorCaption() {
  const QString name = QGuiApplication::applicationDisplayName();
  return name.isEmpty() ? QStringLiteral("Error") : name;
}

}  // namespace

struct TResultGrid::TPrivate {
  TResultGridModel model;
  TFixedCellSizes fixedSizes;
  int columnWidth = 64;
  int rowHeight = 21;
  TGridView* view = nullptr;
  TFixedCellsHeader* top = nullptr;
  TFixedCellsHeader* left = nullptr;
  TFixedCorner* corner = nullptr;
};

TResultGrid::TResultGrid(QWidget* parent) : QWidget(parent), d_(std::make_unique<TPrivate>()) {
  d_->view = new TGridView(this);
  d_->view->setObjectName(QStringLiteral("Grid"));
  d_->top = new TFixedCellsHeader(Qt::Horizontal, d_->model.Table(), d_->fixedSizes, d_->view);
  d_->left = new TFixedCellsHeader(Qt::Vertical, d_->model.Table(), d_->fixedSizes, d_->view);
  d_->view->setHorizontalHeader(d_->top);
  d_->view->setVerticalHeader(d_->left);
  d_->corner = new TFixedCorner(d_->model.Table(), d_->fixedSizes, d_->view);
  d_->view->corner = d_->corner;
  d_->view->setCornerButtonEnabled(false);
  d_->view->setModel(&d_->model);
  d_->view->setSelectionMode(QAbstractItemView::ContiguousSelection);
  d_->view->setSelectionBehavior(QAbstractItemView::SelectItems);
  d_->view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  d_->view->setWordWrap(false);
  d_->view->setStyleSheet(QStringLiteral("QTableView { gridline-color: silver; }"));
  for (QHeaderView* header : {static_cast<QHeaderView*>(d_->top), static_cast<QHeaderView*>(d_->left)}) {
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(4);
    header->setHighlightSections(false);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(d_->view);
  setFocusProxy(d_->view);
  SetDefaultSizes(d_->columnWidth, d_->rowHeight);
}

TResultGrid::~TResultGrid() = default;

const kolma::TResultTable& TResultGrid::Table() const { return d_->model.Table(); }
kolma::TResultTable& TResultGrid::Table() { return d_->model.Table(); }

void TResultGrid::SetTable(kolma::TResultTable table) {
  d_->model.Table() = std::move(table);
  TableChanged();
}

void TResultGrid::TableChanged() {
  const kolma::TResultTable& table = Table();
  d_->model.Refresh();
  d_->fixedSizes.columnWidths.resize(static_cast<std::size_t>(table.fixedColumns()), d_->columnWidth);
  d_->top->setVisible(table.fixedRows() > 0);
  d_->left->setVisible(table.fixedColumns() > 0);
  // Merged cells among the data cells; the fixed ones are drawn by the headers.
  d_->view->clearSpans();
  for (const kolma::TMergedCells& m : table.merges()) {
    const int row = m.row - table.fixedRows();
    const int column = m.column - table.fixedColumns();
    if (row >= 0 && column >= 0 && (m.rowSpan > 1 || m.columnSpan > 1))
      d_->view->setSpan(row, column, m.rowSpan, m.columnSpan);
  }
  d_->view->Relayout();
  d_->view->viewport()->update();
  d_->top->viewport()->update();
  d_->left->viewport()->update();
  d_->corner->update();
  if (!d_->view->selectionModel()->hasSelection()) SetSelection({table.fixedRows(), table.fixedColumns(),
                                                                  table.fixedRows(), table.fixedColumns()});
}

void TResultGrid::SetDefaultSizes(int columnWidth, int rowHeight) {
  d_->columnWidth = columnWidth;
  d_->rowHeight = rowHeight;
  d_->fixedSizes.rowHeight = rowHeight;
  std::fill(d_->fixedSizes.columnWidths.begin(), d_->fixedSizes.columnWidths.end(), columnWidth);
  d_->top->setDefaultSectionSize(columnWidth);
  d_->left->setDefaultSectionSize(rowHeight);
  TableChanged();
}

void TResultGrid::SetColumnWidth(int column, int width) {
  const int fixed = Table().fixedColumns();
  if (column < 0) return;
  if (column < fixed) {
    d_->fixedSizes.columnWidths[static_cast<std::size_t>(column)] = width;
    d_->view->Relayout();
    d_->left->viewport()->update();
    d_->corner->update();
  } else {
    d_->top->resizeSection(column - fixed, width);
  }
}

void TResultGrid::WidenColumnsToFit(int sampleRows) {
  const kolma::TResultTable& table = Table();
  // Each cell measured in the font it is painted in: the headers may have their own.
  const QFontMetrics metrics(d_->view->font());
  const QFontMetrics topMetrics(d_->top->font());
  const QFontMetrics leftMetrics(d_->left->font());
  const int lastRow = std::min(table.rows(), table.fixedRows() + std::max(sampleRows, 0));
  for (int c = 0; c < table.columns(); ++c) {
    int needed = 0;
    for (int r = 0; r < lastRow; ++r) {
      const kolma::TMergedCells* m = MergeAt(table, r, c);
      if (m && m->columnSpan > 1) continue;  // spread over its columns
      const QFontMetrics& font = c < table.fixedColumns() ? leftMetrics : r < table.fixedRows() ? topMetrics : metrics;
      needed = std::max(needed, NeededWidth(font, table.cell(r, c)));
    }
    needed += 8;  // the margins of a cell
    if (c < table.fixedColumns()) {
      int& width = d_->fixedSizes.columnWidths[static_cast<std::size_t>(c)];
      width = std::max(width, needed);
    } else if (d_->top->sectionSize(c - table.fixedColumns()) < needed) {
      d_->top->resizeSection(c - table.fixedColumns(), needed);
    }
  }
  // Merged header cells over data columns: the shortfall shared among the columns they span.
  for (const kolma::TMergedCells& m : table.merges()) {
    const int first = m.column - table.fixedColumns();
    if (m.columnSpan < 2 || first < 0 || m.row >= table.fixedRows()) continue;
    const int needed = topMetrics.horizontalAdvance(QString::fromStdString(table.cell(m.row, m.column))) + 8;
    int have = 0;
    for (int k = 0; k < m.columnSpan; ++k) have += d_->top->sectionSize(first + k);
    const int missing = needed - have;
    for (int k = 0; missing > 0 && k < m.columnSpan; ++k)
      d_->top->resizeSection(first + k, d_->top->sectionSize(first + k) + (missing + m.columnSpan - 1) / m.columnSpan);
  }
  d_->view->Relayout();
  d_->corner->update();
}

void TResultGrid::SetMovableColumns(bool movable) { d_->top->setSectionsMovable(movable); }

kolma::TCellRange TResultGrid::Selection() const {
  const int fr = Table().fixedRows();
  const int fc = Table().fixedColumns();
  const QItemSelection selection = d_->view->selectionModel()->selection();
  if (selection.isEmpty()) {
    const QModelIndex current = d_->view->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    const int column = current.isValid() ? current.column() : 0;
    return {row + fr, column + fc, row + fr, column + fc};
  }
  kolma::TCellRange range{selection.first().top(), selection.first().left(), selection.first().bottom(),
                          selection.first().right()};
  for (const QItemSelectionRange& r : selection) {
    range.top = std::min(range.top, r.top());
    range.left = std::min(range.left, r.left());
    range.bottom = std::max(range.bottom, r.bottom());
    range.right = std::max(range.right, r.right());
  }
  return {range.top + fr, range.left + fc, range.bottom + fr, range.right + fc};
}

void TResultGrid::SetSelection(const kolma::TCellRange& range) {
  const int rows = d_->model.rowCount();
  const int columns = d_->model.columnCount();
  if (rows == 0 || columns == 0) return;
  const int fr = Table().fixedRows();
  const int fc = Table().fixedColumns();
  auto row = [&](int r) { return std::clamp(r - fr, 0, rows - 1); };
  auto column = [&](int c) { return std::clamp(c - fc, 0, columns - 1); };
  const QModelIndex first = d_->model.index(row(std::min(range.top, range.bottom)), column(std::min(range.left, range.right)));
  const QModelIndex last = d_->model.index(row(std::max(range.top, range.bottom)), column(std::max(range.left, range.right)));
  QItemSelectionModel* model = d_->view->selectionModel();
  model->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
  model->select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect);
}

void TResultGrid::SetAccessibleName(const QString& name) {
  setAccessibleName(name);
  d_->view->setAccessibleName(name);
}

void TResultGrid::SetHeaderToolTip(const QString& text) {
  d_->model.SetTableToolTip(text);
  d_->corner->setToolTip(text);
}

void TResultGrid::SetSectionToolTip(Qt::Orientation orientation, int index, const QString& text) {
  d_->model.SetSectionToolTip(orientation, index, text);
}

int TResultGrid::FixedColumnWidth(int column) const {
  const auto& widths = d_->fixedSizes.columnWidths;
  return column >= 0 && column < static_cast<int>(widths.size()) ? widths[static_cast<std::size_t>(column)] : 0;
}

QTableView* TResultGrid::View() const { return d_->view; }

void TResultGrid::ExportExcel(const TExportWording& wording) {
  const QString name =
      SaveFileNameChecked(this, wording.excelTitle, wording.excelFilter, wording.excelSuffix, true, wording.proposedName);
  if (name.isEmpty()) return;
  kolma::TWorkbookOptions options;
  if (!wording.sheetName.isEmpty()) options.sheetName = wording.sheetName.toStdString();
  const kolma::TFileWriteResult written = kolma::WriteResultTableWorkbook(FileSystemPath(name), Table(), options);
  if (!written.ok)
    Prompts().Message(this, PromptIcon::Warning, ErrorCaption(),
                      QString::fromStdString(kolma::ExcelExportFailureMessage(written.reason)));
}

void TResultGrid::ExportCsv(const TExportWording& wording) {
  const QString name =
      SaveFileNameChecked(this, wording.csvTitle, wording.csvFilter, wording.csvSuffix, true, wording.proposedName);
  if (name.isEmpty()) return;
  // Streamed to a file beside the target that replaces it once complete, so that a failure
  // leaves no partial file; the reason goes on a second line.
  kolma::TChunkedFile file(FileSystemPath(name));
  const bool written = file.Ok() &&
                       kolma::WriteCsv(kolma::TResultTableRows(Table()),
                                       [&file](std::string_view piece) { return file.Write(piece); }) &&
                       file.Commit();
  if (!written)
    Prompts().Message(this, PromptIcon::Warning, ErrorCaption(),
                      QStringLiteral("Cannot Create file %1\n%2").arg(name, QString::fromStdString(file.Reason())));
}

void TResultGrid::CopyAll() const {
  QGuiApplication::clipboard()->setText(QString::fromStdString(Table().clipboardText()));
}

void TResultGrid::CopySelection() const {
  // The selected cells as they are shown: columns in the order the user moved them to, and
  // only the selected ones, whatever their order in the table.
  const QModelIndexList selected = d_->view->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(Table().clipboardText(Selection())));
    return;
  }
  std::set<int> rows;
  std::map<int, int> columns;  // shown position -> column of the table
  std::set<std::pair<int, int>> cells;
  for (const QModelIndex& index : selected) {
    rows.insert(index.row());
    columns[d_->top->visualIndex(index.column())] = index.column();
    cells.insert({index.row(), index.column()});
  }
  const int fr = Table().fixedRows();
  const int fc = Table().fixedColumns();
  std::string text;
  for (const int row : rows) {
    if (row != *rows.begin()) text += "\r\n";
    bool first = true;
    for (const auto& [shown, column] : columns) {
      if (!first) text += '\t';
      first = false;
      if (cells.count({row, column})) text += Table().cell(row + fr, column + fc);
    }
  }
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace kolma::ui
