#include "core/formats/result_table_workbook.h"

#include <memory>
#include <string>
#include <vector>

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

TWorkbookBytes BuildTableWorkbook(const TTableRows& table, const TWorkbookOptions& options) {
  // The workbook reads the cells row by row: the row read last is kept, and made again only
  // when another is asked for.
  struct TRowCache {
    int row = -1;
    std::vector<std::string> cells;
  };
  auto cache = std::make_shared<TRowCache>();
  TCellGrid grid;
  grid.rows = table.rows();
  grid.columns = table.columns();
  grid.cell = [&table, cache](int row, int column) -> const std::string& {
    if (row != cache->row) {
      table.row(row, cache->cells);
      cache->row = row;
    }
    return cache->cells[static_cast<std::size_t>(column)];
  };
  for (const TMergedCells& merge : table.merges())
    grid.blocks.push_back({merge.row, merge.column, merge.rowSpan, merge.columnSpan});
  return BuildWorkbook(grid, options);
}

TFileWriteResult WriteTableWorkbook(const std::filesystem::path& path, const TTableRows& table,
                                    const TWorkbookOptions& options) {
  const TWorkbookBytes workbook = BuildTableWorkbook(table, options);
  if (!workbook.ok) return {false, workbook.reason};
  return SaveFile(path, workbook.bytes);
}

}  // namespace kolma
