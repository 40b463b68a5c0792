#pragma once
// The result table behind every result window: a grid of text cells with fixed
// header rows and columns, numbers written through a printf-style float format,
// and the CSV file and clipboard text forms of the whole grid or of a rectangle.
//
// Cells are addressed (row, column), both from 0, fixed cells included; the same
// arrangement is what an export writes, starting at its first cell.
#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kolma {

// A printf-style format of one floating-point value: literal text, one conversion
// %[flags][width][.precision][l](f|F|e|E|g|G) and literal text, "%%" for a percent sign.
// Flags "-+ 0" are honoured, and "#" with f, F, e, E. Width is at most 200 and the
// precision at most 100. The text never depends on the process locale: the decimal
// separator is DecimalSeparator(), whatever LC_NUMERIC a user interface toolkit has set.
class TFloatFormat {
 public:
  // Nothing when the text is not exactly such a format (no conversion, two of them, an
  // integer or string conversion, "*" width): formats come from callers, and a bad one
  // must not reach a formatting routine.
  static std::optional<TFloatFormat> Parse(std::string_view text);

  std::string Format(double value) const;
  // The same text, added at the end of out.
  void AppendTo(std::string& out, double value) const;
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  std::string prefix_;
  std::string suffix_;
  bool leftAlign_ = false;
  bool plusSign_ = false;
  bool spaceSign_ = false;
  bool alternate_ = false;
  bool zeroPad_ = false;
  int width_ = 0;
  int precision_ = 6;
  char conversion_ = 'f';
};

// The character between the whole and the fractional digits of every formatted number:
// the platform's, which the program sets once at start-up; "." until then (and always in
// the batch command, whose files are read by other programs).
void SetDecimalSeparator(char separator);
char DecimalSeparator();

// Formats value with a fixed format of the program; throws std::invalid_argument when
// format is not a valid float format (a programming error).
std::string FormatFloat(std::string_view format, double value);

// One cell as a CSV field: every double quote doubled; the field enclosed in double
// quotes when it holds a comma, a double quote or a line break; an empty cell is "".
std::string CsvField(std::string_view text);
void AppendCsvField(std::string& out, std::string_view text);

struct TCellRange {  // inclusive, 0-based
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
};

// A header cell that a grid or a workbook shows spread over several cells; the cell at
// (row, column) holds the text, the others covered stay empty.
struct TMergedCells {
  int row = 0;
  int column = 0;
  int rowSpan = 1;
  int columnSpan = 1;
};

struct TSaveResult {
  bool ok = false;
  std::string reason;  // "Cannot Create file " + the path + ": " + why, when not ok
};

// A table whose cells are made when they are read, one row at a time: what the exports
// write from the numbers, so that no table of text cells of a long record is ever held.
class TTableRows {
 public:
  virtual ~TTableRows() = default;
  virtual int rows() const = 0;
  virtual int columns() const = 0;
  virtual std::vector<TMergedCells> merges() const { return {}; }
  // The texts of one row (0 <= row < rows()), into cells[0..columns()), which the caller
  // keeps from row to row so that their room is reused.
  virtual void row(int row, std::vector<std::string>& cells) const = 0;
};

// The CSV text of the rows, handed to sink a piece of about chunkBytes at a time; stops
// (false) as soon as sink returns false.
bool WriteCsv(const TTableRows& table, const std::function<bool(std::string_view)>& sink,
              std::size_t chunkBytes = 1 << 20);
// Streamed to a temporary file beside path, which then replaces path: a failure leaves no
// partial file and an existing file as it was. Holds one piece of 1 MiB at most.
TSaveResult SaveCsv(const TTableRows& table, const std::filesystem::path& path);

class TResultTable {
 public:
  TResultTable() = default;
  TResultTable(int rows, int columns, int fixedRows = 0, int fixedColumns = 0);
  // A table whose cells `source` makes as they are read instead of holding them as texts: a
  // long table of numbers is turned into text only where it is shown, copied or written. Its
  // size and merges are the source's, and it is read only (resize, setCell and setNumber
  // change nothing). The text cell() gives stays valid until eight other blocks of rows have
  // been read.
  TResultTable(std::shared_ptr<const TTableRows> source, int fixedRows, int fixedColumns);
  // The source of a table made by one, else null.
  const TTableRows* rowSource() const { return source_.get(); }

  int rows() const { return rows_; }
  int columns() const { return columns_; }
  int fixedRows() const { return fixedRows_; }
  int fixedColumns() const { return fixedColumns_; }

  // Keeps the overlapping cells; new cells are empty. Negative sizes count as 0.
  void resize(int rows, int columns);
  // Clamped to the size of the table.
  void setFixed(int fixedRows, int fixedColumns);

  // Outside the table: an empty text, and writes are ignored.
  const std::string& cell(int row, int column) const;
  void setCell(int row, int column, std::string text);

  // "%.3f" at start. An invalid format is refused (false) and the current one kept.
  // Cells written earlier keep their text.
  bool setFloatFormat(std::string_view format);
  const std::string& floatFormat() const { return floatFormat_.Text(); }
  void setNumber(int row, int column, double value);

  void addMerge(const TMergedCells& merge) { merges_.push_back(merge); }
  const std::vector<TMergedCells>& merges() const { return merges_; }

  // Every row, fixed ones included, as one line ended by CR LF; cells separated by commas.
  void writeCsv(std::ostream& out) const;
  std::string csvText() const;
  // Writes to a temporary file beside path and renames it, so that a failure never
  // leaves a partial file (nor spoils an existing one).
  TSaveResult saveCsv(const std::filesystem::path& path) const;

  // Cells of a row separated by TAB, rows separated by CR LF (none after the last row).
  std::string clipboardText() const;
  // The same for a rectangle, clamped to the table; empty when nothing of it is inside.
  std::string clipboardText(const TCellRange& range) const;

 private:
  std::size_t index(int row, int column) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column);
  }
  bool inside(int row, int column) const { return row >= 0 && row < rows_ && column >= 0 && column < columns_; }
  const std::string& sourcedCell(int row, int column) const;

  int rows_ = 0;
  int columns_ = 0;
  int fixedRows_ = 0;
  int fixedColumns_ = 0;
  std::vector<std::string> cells_;
  TFloatFormat floatFormat_ = *TFloatFormat::Parse("%.3f");
  std::vector<TMergedCells> merges_;
  // A table made by a source keeps the rows last read, a block at a time.
  struct TRowBlock {
    int first = -1;
    std::vector<std::vector<std::string>> rows;
  };
  std::shared_ptr<const TTableRows> source_;
  mutable std::array<TRowBlock, 8> blocks_;
  mutable std::size_t nextBlock_ = 0;
};

// The cells of a result table as rows.
class TResultTableRows final : public TTableRows {
 public:
  explicit TResultTableRows(const TResultTable& table) : table_(table) {}
  int rows() const override { return table_.rows(); }
  int columns() const override { return table_.columns(); }
  std::vector<TMergedCells> merges() const override { return table_.merges(); }
  void row(int row, std::vector<std::string>& cells) const override;

 private:
  const TResultTable& table_;
};

}  // namespace kolma
