#include "ui/widgets/result_grid_model.h"

#include <QStringList>
#include <algorithm>
#include <cctype>

#include "ui/widgets/result_grid_headers.h"

namespace kolma::ui {

bool IsNumberCell(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  if (i >= text.size()) return false;
  const char c = text[i];
  if (std::isdigit(static_cast<unsigned char>(c))) return true;
  return c == kolma::DecimalSeparator() && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]));
}

void TResultGridModel::Refresh() {
  const int rows = std::max(table_.rows() - table_.fixedRows(), 0);
  const int columns = std::max(table_.columns() - table_.fixedColumns(), 0);
  if (rows != shownRows_ || columns != shownColumns_) {
    beginResetModel();
    shownRows_ = rows;
    shownColumns_ = columns;
    endResetModel();
    return;
  }
  if (rows > 0 && columns > 0) emit dataChanged(index(0, 0), index(rows - 1, columns - 1));
  if (columns > 0) emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
  if (rows > 0) emit headerDataChanged(Qt::Vertical, 0, rows - 1);
}

// The counts the view was last told of: a table grown or shrunk in place is shown only
// once Refresh() has announced it.
int TResultGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shownRows_; }

int TResultGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shownColumns_; }

QVariant TResultGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const std::string& text = table_.cell(index.row() + table_.fixedRows(), index.column() + table_.fixedColumns());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return QString::fromStdString(text);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter | (IsNumberCell(text) ? Qt::AlignRight : Qt::AlignLeft));
    default:
      return {};
  }
}

QString TResultGridModel::HeaderText(int section, Qt::Orientation orientation, QChar separator) const {
  // A cell covered by a merged header reads as the merge's text.
  auto text = [this](int row, int column) {
    if (const kolma::TMergedCells* m = MergeAt(table_, row, column)) return table_.cell(m->row, m->column);
    return table_.cell(row, column);
  };
  QStringList parts;
  if (orientation == Qt::Horizontal) {
    for (int r = 0; r < table_.fixedRows(); ++r)
      parts << QString::fromStdString(text(r, section + table_.fixedColumns())).trimmed();
  } else {
    for (int c = 0; c < table_.fixedColumns(); ++c)
      parts << QString::fromStdString(text(section + table_.fixedRows(), c)).trimmed();
  }
  parts.removeAll(QString());
  return parts.join(separator);
}

void TResultGridModel::SetSectionToolTip(Qt::Orientation orientation, int index, const QString& text) {
  sectionTips_[{static_cast<int>(orientation), index}] = text;
}

QVariant TResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::ToolTipRole) {
    const int index = section + (orientation == Qt::Horizontal ? table_.fixedColumns() : table_.fixedRows());
    const auto own = sectionTips_.find({static_cast<int>(orientation), index});
    const QString about = own != sectionTips_.end() ? own->second : tableTip_;
    const QString text = HeaderText(section, orientation, QLatin1Char(' '));
    if (text.isEmpty()) return about.isEmpty() ? QVariant() : QVariant(about);
    return about.isEmpty() ? text : text + QLatin1Char('\n') + about;
  }
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
  return HeaderText(section, orientation, QLatin1Char('\n'));
}

}  // namespace kolma::ui
