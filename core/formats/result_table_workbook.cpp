#include "core/formats/result_table_workbook.h"

#include "core/analysis/result_table.h"

namespace kolma {

TCellGrid ResultTableCells(const TResultTable& table) {
  TCellGrid grid;
  grid.rows = table.rows();
  grid.columns = table.columns();
  grid.cell = [&table](int row, int column) -> const std::string& { return table.cell(row, column); };
  for (const TMergedCells& merge : table.merges())
    grid.blocks.push_back({merge.row, merge.column, merge.rowSpan, merge.columnSpan});
  return grid;
}

TFileWriteResult WriteResultTableWorkbook(const std::filesystem::path& path, const TResultTable& table,
                                          const TWorkbookOptions& options) {
  return WriteWorkbook(path, ResultTableCells(table), options);
}

}  // namespace kolma
