#include "core/formats/workbook_writer.h"

#include <algorithm>
#include <map>
#include <optional>

#include "core/formats/biff_record.h"
#include "core/model/byte_stream.h"
#include "core/formats/compound_file.h"
#include "core/formats/number_text.h"
#include "core/formats/shared_strings.h"
#include "core/formats/unicode_text.h"

namespace kolma {

namespace {

constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kWindow1 = 0x003D;
constexpr std::uint16_t kFont = 0x0031;
constexpr std::uint16_t kFormat = 0x041E;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kStyle = 0x0293;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kColumnInfo = 0x007D;
constexpr std::uint16_t kDimensions = 0x0200;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kWindow2 = 0x023E;
constexpr std::uint16_t kMergeCells = 0x00E5;

constexpr std::uint16_t kBofWorkbookGlobals = 0x0005;
constexpr std::uint16_t kBofWorksheet = 0x0010;

// Excel expects 15 style formats (the "Normal" style and those of outline levels)
// before the first cell format; cell formats start at 15, the plain one.
constexpr int kStyleXfCount = 15;
constexpr std::uint16_t kGeneralCellXf = 15;
constexpr std::uint16_t kFirstCustomFormat = 164;
// Excel 97 keeps a couple of hundred custom number formats per workbook; beyond that
// numbers fall back to the General format.
constexpr std::size_t kMaxCustomFormats = 200;
constexpr std::size_t kMergesPerRecord = 1026;
constexpr int kDefaultColumnChars = 8;

void WriteBof(TBiffRecordWriter& record, std::uint16_t kind) {
  TByteWriter& out = record.Out();
  record.Begin(kBof);
  out.U16(0x0600);  // BIFF8
  out.U16(kind);
  out.U16(0x0DBB);  // build and year of the application that wrote the file
  out.U16(0x07CC);
  out.U32(0);       // file history
  out.U32(0x0006);  // lowest BIFF version that can read it
  record.End();
}

void WriteEof(TBiffRecordWriter& record) {
  record.Begin(kEof);
  record.End();
}

void WriteXf(TBiffRecordWriter& record, bool style, std::uint16_t format, std::uint8_t usedAttributes) {
  TByteWriter& out = record.Out();
  record.Begin(kXf);
  out.U16(0);  // font
  out.U16(format);
  out.U16(style ? 0xFFF5 : 0x0001);  // locked; a style has no parent, a cell format has Normal
  out.U8(0x20);                      // general horizontal, bottom vertical alignment
  out.U8(0);
  out.U8(0);
  out.U8(usedAttributes);
  out.U32(0);       // no borders
  out.U32(0);       // no fill pattern
  out.U16(0x20C0);  // the system's window text and background colours
  record.End();
}

std::u16string SheetName(std::string_view requested) {
  std::u16string name = Utf8ToUtf16(requested);
  for (char16_t& unit : name) {
    if (unit == u'[' || unit == u']' || unit == u':' || unit == u'*' || unit == u'?' || unit == u'/' ||
        unit == u'\\' || unit < 0x20)
      unit = u'_';
  }
  if (name.size() > 31) name.resize((name[30] >= 0xD800 && name[30] <= 0xDBFF) ? 30 : 31);
  if (!name.empty() && name.front() == u'\'') name.front() = u'_';
  if (!name.empty() && name.back() == u'\'') name.back() = u'_';
  return name.empty() ? u"Sheet1" : name;
}

// Number formats met in the cells, each with its cell format (XF) index.
class TNumberFormats {
 public:
  std::uint16_t CellXf(const std::string& code) {
    if (code == "General") return kGeneralCellXf;
    const auto found = xf_.find(code);
    if (found != xf_.end()) return found->second;
    // Codes Excel has built in are referred to by number rather than defined again.
    std::uint16_t format = 0;
    if (code == "0") {
      format = 1;
    } else if (code == "0.00") {
      format = 2;
    } else {
      if (custom_.size() == kMaxCustomFormats) return kGeneralCellXf;
      format = static_cast<std::uint16_t>(kFirstCustomFormat + custom_.size());
      custom_.push_back(code);
    }
    const auto xf = static_cast<std::uint16_t>(kGeneralCellXf + 1 + formats_.size());
    formats_.push_back(format);
    xf_.emplace(code, xf);
    return xf;
  }

  // FORMAT records of the custom codes.
  void WriteFormats(TBiffRecordWriter& record) const {
    for (std::size_t i = 0; i < custom_.size(); ++i) {
      record.Begin(kFormat);
      record.Out().U16(static_cast<std::uint16_t>(kFirstCustomFormat + i));
      WriteBiffString(record.Out(), Utf8ToUtf16(custom_[i]));
      record.End();
    }
  }
  // The cell XF records after the General one, in index order.
  void WriteCellXfs(TBiffRecordWriter& record) const {
    for (std::uint16_t format : formats_) WriteXf(record, false, format, 0x04);  // own number format
  }

 private:
  std::map<std::string, std::uint16_t> xf_;
  std::vector<std::uint16_t> formats_;  // format index of XF kGeneralCellXf + 1 + i
  std::vector<std::string> custom_;     // code of format kFirstCustomFormat + i
};

std::vector<TCellBlock> UsableBlocks(const TCellGrid& grid) {
  std::vector<TCellBlock> result;
  for (TCellBlock block : grid.blocks) {
    const int top = std::max(block.row, 0);
    const int left = std::max(block.column, 0);
    const int bottom = std::min(block.row + std::max(block.rowSpan, 0) - 1, grid.rows - 1);
    const int right = std::min(block.column + std::max(block.columnSpan, 0) - 1, grid.columns - 1);
    if (bottom < top || right < left || (bottom == top && right == left)) continue;
    const bool overlaps = std::any_of(result.begin(), result.end(), [&](const TCellBlock& other) {
      return top < other.row + other.rowSpan && other.row <= bottom && left < other.column + other.columnSpan &&
             other.column <= right;
    });
    if (!overlaps) result.push_back({top, left, bottom - top + 1, right - left + 1});
  }
  return result;
}

struct TUsedArea {
  int firstRow = -1, lastRow = -1, firstColumn = -1, lastColumn = -1;

  void Add(int row, int column) {
    if (firstRow < 0) firstRow = row;
    lastRow = row;
    firstColumn = firstColumn < 0 ? column : std::min(firstColumn, column);
    lastColumn = std::max(lastColumn, column);
  }
};

// What one pass over the cells gathers: their records, the strings they share, the
// number formats they need, the area they cover and the width each column wants.
struct TSheetContent {
  explicit TSheetContent(int columns) : columnChars(static_cast<std::size_t>(columns), 0) {}

  TSharedStrings strings;
  TNumberFormats formats;
  TUsedArea area;
  std::vector<std::size_t> columnChars;
  TByteWriter cells;
};

// The refusal, or empty when every cell fits.
std::string ReadCells(const TCellGrid& grid, TSheetContent& content) {
  TBiffRecordWriter record(content.cells);
  TByteWriter& out = content.cells;
  for (int row = 0; row < grid.rows; ++row) {
    for (int column = 0; column < grid.columns; ++column) {
      const std::string& text = grid.cell(row, column);
      if (text.empty()) continue;
      content.area.Add(row, column);
      std::size_t& width = content.columnChars[static_cast<std::size_t>(column)];
      if (const std::optional<TNumberText> number = ParseNumberText(text)) {
        record.Begin(kNumber);
        out.U16(static_cast<std::uint16_t>(row));
        out.U16(static_cast<std::uint16_t>(column));
        out.U16(content.formats.CellXf(number->format));
        out.F64(number->value);
        record.End();
        width = std::max(width, text.size());
        continue;
      }
      std::u16string units = Utf8ToUtf16(text);
      if (units.size() > kWorkbookMaxCellText)
        return "cell " + CellName(row, column) + " holds " + std::to_string(units.size()) +
               " characters; an Excel 97-2003 cell holds at most " + std::to_string(kWorkbookMaxCellText);
      width = std::max(width, units.size());
      record.Begin(kLabelSst);
      out.U16(static_cast<std::uint16_t>(row));
      out.U16(static_cast<std::uint16_t>(column));
      out.U16(kGeneralCellXf);
      out.U32(content.strings.Add(text, std::move(units)));
      record.End();
    }
  }
  return {};
}

// The workbook globals; returns where the worksheet's stream offset is to be patched.
std::size_t WriteGlobals(TByteWriter& stream, const TSheetContent& content, std::u16string_view sheetName) {
  TBiffRecordWriter record(stream);
  WriteBof(record, kBofWorkbookGlobals);
  record.Begin(kCodePage);
  stream.U16(1200);  // strings are UTF-16
  record.End();
  record.Begin(kWindow1);
  stream.U16(0);
  stream.U16(0);
  stream.U16(0x4000);  // window size in twips
  stream.U16(0x2000);
  stream.U16(0x0038);  // scroll bars and sheet tabs shown
  stream.U16(0);       // active sheet
  stream.U16(0);       // first visible tab
  stream.U16(1);       // selected sheets
  stream.U16(600);     // tab bar width ratio, per mille
  record.End();
  // Excel's font numbering skips index 4; five identical fonts keep the indices as
  // Excel expects.
  for (int i = 0; i < 5; ++i) {
    record.Begin(kFont);
    stream.U16(200);     // 10 pt, in twentieths of a point
    stream.U16(0);       // no italic, strike-out
    stream.U16(0x7FFF);  // the system's text colour
    stream.U16(400);     // normal weight
    stream.U16(0);       // no super- or subscript
    stream.U8(0);        // no underline
    stream.U8(0);        // family
    stream.U8(0);        // character set
    stream.U8(0);
    WriteShortBiffString(stream, u"Arial");
    record.End();
  }
  content.formats.WriteFormats(record);
  for (int i = 0; i < kStyleXfCount; ++i) WriteXf(record, true, 0, i == 0 ? 0x00 : 0xF4);
  WriteXf(record, false, 0, 0x00);
  content.formats.WriteCellXfs(record);
  record.Begin(kStyle);
  stream.U16(0x8000);  // built-in style on XF 0
  stream.U8(0);        // "Normal"
  stream.U8(0xFF);
  record.End();
  record.Begin(kBoundSheet);
  const std::size_t sheetOffsetAt = stream.Size();
  stream.U32(0);
  stream.U8(0);  // visible
  stream.U8(0);  // worksheet
  WriteShortBiffString(stream, sheetName);
  record.End();
  content.strings.Write(stream);
  WriteEof(record);
  return sheetOffsetAt;
}

void WriteSheet(TByteWriter& stream, const TSheetContent& content, const std::vector<TCellBlock>& blocks) {
  TBiffRecordWriter record(stream);
  WriteBof(record, kBofWorksheet);
  for (std::size_t column = 0; column < content.columnChars.size(); ++column) {
    const std::size_t chars = content.columnChars[column];
    if (chars <= kDefaultColumnChars) continue;
    record.Begin(kColumnInfo);
    stream.U16(static_cast<std::uint16_t>(column));
    stream.U16(static_cast<std::uint16_t>(column));
    stream.U16(static_cast<std::uint16_t>(std::min<std::size_t>(chars + 2, 255) * 256));  // 1/256 of a character
    stream.U16(kGeneralCellXf);
    stream.U16(0);
    stream.U16(0);
    record.End();
  }
  const TUsedArea& area = content.area;
  const bool any = area.firstRow >= 0;
  record.Begin(kDimensions);
  stream.U32(any ? static_cast<std::uint32_t>(area.firstRow) : 0);
  stream.U32(any ? static_cast<std::uint32_t>(area.lastRow + 1) : 0);
  stream.U16(any ? static_cast<std::uint16_t>(area.firstColumn) : 0);
  stream.U16(any ? static_cast<std::uint16_t>(area.lastColumn + 1) : 0);
  stream.U16(0);
  record.End();
  stream.Bytes(content.cells.Data());
  record.Begin(kWindow2);
  stream.U16(0x06B6);  // grid lines, headers, zeros shown; sheet selected and active
  stream.U16(0);       // top row
  stream.U16(0);       // left column
  stream.U16(0x40);    // grid line colour: the system's
  stream.U16(0);
  stream.U16(0);       // zoom factors: default
  stream.U16(0);
  stream.U32(0);
  record.End();
  for (std::size_t first = 0; first < blocks.size(); first += kMergesPerRecord) {
    const std::size_t count = std::min(kMergesPerRecord, blocks.size() - first);
    record.Begin(kMergeCells);
    stream.U16(static_cast<std::uint16_t>(count));
    for (std::size_t i = first; i < first + count; ++i) {
      stream.U16(static_cast<std::uint16_t>(blocks[i].row));
      stream.U16(static_cast<std::uint16_t>(blocks[i].row + blocks[i].rowSpan - 1));
      stream.U16(static_cast<std::uint16_t>(blocks[i].column));
      stream.U16(static_cast<std::uint16_t>(blocks[i].column + blocks[i].columnSpan - 1));
    }
    record.End();
  }
  WriteEof(record);
}

}  // namespace

std::string ExcelExportFailureMessage(std::string_view reason) {
  std::string message(kExcelExportFailure);
  if (!reason.empty()) {
    message += '\n';
    message += reason;
  }
  return message;
}

std::string CellName(int row, int column) {
  std::string letters;
  for (int c = column + 1; c > 0; c = (c - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  return letters + std::to_string(row + 1);
}

TWorkbookBytes BuildWorkbook(const TCellGrid& grid, const TWorkbookOptions& options) {
  if (grid.rows < 0 || grid.columns < 0) return {false, "the table has a negative size", {}};
  if (grid.rows > kWorkbookMaxRows)
    return {false,
            "the table has " + std::to_string(grid.rows) + " rows; an Excel 97-2003 worksheet holds at most " +
                std::to_string(kWorkbookMaxRows),
            {}};
  if (grid.columns > kWorkbookMaxColumns)
    return {false,
            "the table has " + std::to_string(grid.columns) +
                " columns; an Excel 97-2003 worksheet holds at most " + std::to_string(kWorkbookMaxColumns),
            {}};
  if (grid.rows > 0 && grid.columns > 0 && !grid.cell) return {false, "the table has no cells to read", {}};

  TSheetContent content(grid.columns);
  if (std::string refusal = ReadCells(grid, content); !refusal.empty()) return {false, refusal, {}};

  // Workbook globals first: the offsets they hold are counted from the stream start.
  TByteWriter stream;
  stream.Reserve(content.cells.Size() + 4096);
  const std::size_t sheetOffsetAt = WriteGlobals(stream, content, SheetName(options.sheetName));
  stream.PatchU32(sheetOffsetAt, static_cast<std::uint32_t>(stream.Size()));
  WriteSheet(stream, content, UsableBlocks(grid));
  content.cells = TByteWriter();  // copied into the stream: the room goes back before the file is built

  // Short streams would belong in the compound document's mini stream; zeros after
  // the last record let them stand in ordinary sectors, which every reader accepts.
  if (stream.Size() < kCompoundMinimumStreamSize) stream.Zeros(kCompoundMinimumStreamSize - stream.Size());
  if (stream.Size() >= 0x80000000u) return {false, "the table is too large for one workbook file", {}};
  return {true, {}, BuildCompoundFile(u"Workbook", stream.Data())};
}

TFileWriteResult WriteWorkbook(const std::filesystem::path& path, const TCellGrid& grid,
                               const TWorkbookOptions& options) {
  const TWorkbookBytes workbook = BuildWorkbook(grid, options);
  if (!workbook.ok) return {false, workbook.reason};
  return SaveFile(path, workbook.bytes);
}

}  // namespace kolma
