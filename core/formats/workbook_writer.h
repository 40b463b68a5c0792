#pragma once
// Excel 97-2003 workbook (.xls: BIFF8 records in a compound document) holding one
// worksheet with a grid of text cells, each at its own place from A1 on.
//
// Cells whose whole text is a plain decimal number (see ParseNumberText) are stored
// as numbers, with a number format that shows them as the text did; every other
// non-empty cell is stored as text. Empty cells are not written.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/formats/save_file.h"

namespace kolma {

// What the user is told when the workbook cannot be written; the reason follows on a
// second line.
inline constexpr std::string_view kExcelExportFailure = "Excel OLE server not found";
std::string ExcelExportFailureMessage(std::string_view reason);

// A worksheet holds at most this many rows and columns.
inline constexpr int kWorkbookMaxRows = 65536;
inline constexpr int kWorkbookMaxColumns = 256;
// And a cell at most this many UTF-16 characters.
inline constexpr std::size_t kWorkbookMaxCellText = 32767;

// Cells spread over a block (the first cell holds the text, the others stay empty).
struct TCellBlock {
  int row = 0;
  int column = 0;
  int rowSpan = 1;
  int columnSpan = 1;
};

// A read-only view of a grid of UTF-8 text cells, addressed (row, column) from 0.
// cell is called only inside 0 <= row < rows, 0 <= column < columns.
struct TCellGrid {
  int rows = 0;
  int columns = 0;
  std::function<const std::string&(int row, int column)> cell;
  // Blocks are clipped to the grid; one-cell blocks and blocks overlapping an earlier
  // one are left out.
  std::vector<TCellBlock> blocks;
};

struct TWorkbookOptions {
  // Characters a sheet name cannot hold ([ ] : * ? / \) become '_'; at most 31 kept.
  std::string sheetName = "Sheet1";
};

struct TWorkbookBytes {
  bool ok = false;
  std::string reason;  // why not, when not ok
  std::vector<std::uint8_t> bytes;
};

// Refuses (ok false, with the reason) grids beyond kWorkbookMaxRows x
// kWorkbookMaxColumns, negative sizes, a missing cell accessor and cells longer than
// kWorkbookMaxCellText.
TWorkbookBytes BuildWorkbook(const TCellGrid& grid, const TWorkbookOptions& options = {});

// BuildWorkbook, then the file replaced as a whole: on failure nothing is written and an
// existing file stays as it was.
TFileWriteResult WriteWorkbook(const std::filesystem::path& path, const TCellGrid& grid,
                               const TWorkbookOptions& options = {});

// "A1", "IV65536": the name of a cell, for messages.
std::string CellName(int row, int column);

}  // namespace kolma
