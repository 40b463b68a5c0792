#pragma once
// TResultGrid: the grid of every result window. It shows a TResultTable through a Qt
// model/view: the fixed rows and columns as headers that stay in view (merged header
// cells spread over their span), numbers right-aligned, rows and columns resizable,
// columns movable where a window allows it, a rectangular selection. The view asks the
// model only for the cells it shows, so a year of hourly steps scrolls fluidly.
//
// It also carries the table operations every result window offers: the Excel and CSV
// exports with their save dialogs and failure messages, and the clipboard copies.
#include <QString>
#include <QWidget>
#include <memory>

#include "core/analysis/result_table.h"

class QTableView;

namespace kolma::ui {

// The save dialogs of the two exports; the defaults are those of most result windows.
struct TExportWording {
  QString excelTitle = QStringLiteral("Save as Microsoft Excel file");
  QString excelFilter = QStringLiteral("MS Excel file|*.xls");
  QString excelSuffix = QStringLiteral("xls");
  QString csvTitle = QStringLiteral("Save as CSV file");
  QString csvFilter = QStringLiteral("Comma separated values|*.csv");
  QString csvSuffix = QStringLiteral("csv");
  // What the table holds: the workbook's sheet name and the file name the dialogs propose.
  QString sheetName;
  QString proposedName;
};

class TResultGrid : public QWidget {
  Q_OBJECT
 public:
  explicit TResultGrid(QWidget* parent = nullptr);
  ~TResultGrid() override;

  // The table shown. After changing cells through Table(), call TableChanged() once.
  const kolma::TResultTable& Table() const;
  kolma::TResultTable& Table();
  void SetTable(kolma::TResultTable table);
  void TableChanged();

  // Every column and row; then one column (in table numbering, a fixed one included) its own width.
  void SetDefaultSizes(int columnWidth, int rowHeight);
  void SetColumnWidth(int column, int width);
  // Widens the columns whose texts do not fit (the fixed rows and the first sampleRows
  // data rows are measured; a merged header spreads what it needs over its columns);
  // never narrows one, so a width the user gave stays.
  void WidenColumnsToFit(int sampleRows = 200);
  void SetMovableColumns(bool movable);
  // The selected rectangle in table coordinates (fixed cells included in the numbering).
  kolma::TCellRange Selection() const;
  void SetSelection(const kolma::TCellRange& range);
  // What a screen reader calls the grid (the window's caption, for instance).
  void SetAccessibleName(const QString& name);
  // What the table holds, shown with every header's tool tip; a row's or column's own tip
  // (table numbering) replaces it on that header.
  void SetHeaderToolTip(const QString& text);
  void SetSectionToolTip(Qt::Orientation orientation, int index, const QString& text);
  // The width of a fixed column (table numbering), for windows that size themselves to it.
  int FixedColumnWidth(int column) const;
  // The view of the data cells, for windows that add to its keys and tests that scroll it.
  QTableView* View() const;

  // The table operations, through the prompts interface. Nothing is written when the
  // user cancels; a failure is shown in a message box with the reason on a second line.
  void ExportExcel(const TExportWording& wording = {});
  void ExportCsv(const TExportWording& wording = {});
  void CopyAll() const;
  void CopySelection() const;

 private:
  struct TPrivate;
  std::unique_ptr<TPrivate> d_;
};

}  // namespace kolma::ui
