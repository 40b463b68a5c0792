#pragma once
// The Qt model of a result grid: the data cells of a TResultTable (the cells below the
// fixed rows and right of the fixed columns), handed to the view one cell at a time,
// so that only the cells on screen are ever turned into text for Qt.
#include <QAbstractTableModel>
#include <QString>
#include <map>
#include <string_view>

#include "core/analysis/result_table.h"

namespace kolma::ui {

// Whether a cell reads as a number (blanks, an optional sign, then a digit or the decimal
// separator): such cells are right-aligned.
bool IsNumberCell(std::string_view text);

class TResultGridModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TResultGridModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  const kolma::TResultTable& Table() const { return table_; }
  kolma::TResultTable& Table() { return table_; }
  // After the cells or the size of Table() changed. Cells of an unchanged size are only
  // repainted, so that the columns keep the widths and the order the user gave them.
  void Refresh();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  // The fixed cells over a column (or left of a row), one per line: what a screen reader
  // says for the header. As tool tip: the same texts whole (a cut header reads in full),
  // then what the section holds, or else what the whole table holds.
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // What the table holds (quantity and unit), for every header's tool tip.
  void SetTableToolTip(const QString& text) { tableTip_ = text; }
  const QString& TableToolTip() const { return tableTip_; }
  // What one column (Horizontal) or row (Vertical) holds, in table numbering; replaces the
  // table's tool tip on that header section.
  void SetSectionToolTip(Qt::Orientation orientation, int index, const QString& text);

 private:
  QString HeaderText(int section, Qt::Orientation orientation, QChar separator) const;

  kolma::TResultTable table_;
  QString tableTip_;
  std::map<std::pair<int, int>, QString> sectionTips_;  // (orientation, table index)
  int shownRows_ = 0;
  int shownColumns_ = 0;
};

}  // namespace kolma::ui
