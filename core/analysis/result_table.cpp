#include "core/analysis/result_table.h"

#include <span>

#include "core/formats/chunked_file.h"
#include "core/model/whole_file.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace kolma {

namespace {

constexpr int kMaxWidth = 200;
constexpr int kMaxPrecision = 100;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a run of digits at text[pos], capped at limit; false when the run exceeds it.
bool ReadNumber(std::string_view text, std::size_t& pos, int limit, int& value) {
  value = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    value = value * 10 + (text[pos] - '0');
    if (value > limit) return false;
    ++pos;
  }
  return true;
}

}  // namespace

std::optional<TFloatFormat> TFloatFormat::Parse(std::string_view text) {
  TFloatFormat format;
  format.text_ = std::string(text);
  bool haveConversion = false;
  std::string* literal = &format.prefix_;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c != '%') {
      *literal += c;
      continue;
    }
    if (pos < text.size() && text[pos] == '%') {
      *literal += '%';
      ++pos;
      continue;
    }
    if (haveConversion) return std::nullopt;
    haveConversion = true;
    for (; pos < text.size(); ++pos) {
      const char flag = text[pos];
      if (flag == '-') format.leftAlign_ = true;
      else if (flag == '+') format.plusSign_ = true;
      else if (flag == ' ') format.spaceSign_ = true;
      else if (flag == '#') format.alternate_ = true;
      else if (flag == '0') format.zeroPad_ = true;
      else break;
    }
    if (!ReadNumber(text, pos, kMaxWidth, format.width_)) return std::nullopt;
    if (pos < text.size() && text[pos] == '.') {
      ++pos;  // a lone "." means precision 0, as in printf
      if (!ReadNumber(text, pos, kMaxPrecision, format.precision_)) return std::nullopt;
    }
    if (pos < text.size() && text[pos] == 'l') ++pos;
    if (pos >= text.size()) return std::nullopt;
    format.conversion_ = text[pos++];
    switch (format.conversion_) {
      case 'f': case 'F': case 'e': case 'E': break;
      case 'g': case 'G':
        if (format.alternate_) return std::nullopt;  // trailing zeros of %#g are not supported
        break;
      default: return std::nullopt;
    }
    literal = &format.suffix_;
  }
  if (!haveConversion) return std::nullopt;
  return format;
}

namespace {
char decimalSeparator = '.';
}  // namespace

void SetDecimalSeparator(char separator) { decimalSeparator = separator; }
char DecimalSeparator() { return decimalSeparator; }

namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::uint64_t kIntegerPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000,
                                                 100000000, 1000000000};

// The digits of a finite magnitude with `precision` decimals, as to_chars writes them, for
// the usual spreadsheet values: the magnitude scaled by a power of ten is rounded to a whole
// number, which gives the digits at once. A scaled value too close to half a unit for the
// rounding of the product to be trusted is left to to_chars (false), as are large values.
bool FixedDigits(double magnitude, int precision, char* digits, char*& end) {
  if (precision > 9) return false;
  const double scaled = magnitude * kPowersOfTen[precision];
  if (!(scaled < 1099511627776.0)) return false;  // 2^40: the product keeps 12 bits of fraction
  const double whole = std::floor(scaled);
  const double fraction = scaled - whole;  // exact below 2^52
  if (std::fabs(fraction - 0.5) <= scaled * 1e-15 + 1e-300) return false;
  const auto rounded = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
  const std::uint64_t unit = kIntegerPowersOfTen[precision];
  end = std::to_chars(digits, digits + 24, rounded / unit).ptr;
  if (precision > 0) {
    *end++ = '.';
    std::uint64_t decimals = rounded % unit;
    for (int i = precision - 1; i >= 0; --i) {
      end[i] = static_cast<char>('0' + decimals % 10);
      decimals /= 10;
    }
    end += precision;
  }
  return true;
}

}  // namespace

std::string TFloatFormat::Format(double value) const {
  std::string text;
  AppendTo(text, value);
  return text;
}

void TFloatFormat::AppendTo(std::string& out, double value) const {
  const bool upper = conversion_ == 'F' || conversion_ == 'E' || conversion_ == 'G';
  // Large enough for the widest fixed text: 309 integer digits and 100 decimals.
  char digits[512];
  char* bodyEnd = digits;
  if (std::isnan(value)) {
    bodyEnd = std::copy_n("nan", 3, digits);
  } else if (std::isinf(value)) {
    bodyEnd = std::copy_n("inf", 3, digits);
  } else if (!((conversion_ == 'f' || conversion_ == 'F') && !(alternate_ && precision_ == 0) &&
               FixedDigits(std::fabs(value), precision_, digits, bodyEnd))) {
    std::chars_format style = std::chars_format::fixed;
    if (conversion_ == 'e' || conversion_ == 'E') style = std::chars_format::scientific;
    if (conversion_ == 'g' || conversion_ == 'G') style = std::chars_format::general;
    const auto written = std::to_chars(digits, digits + sizeof digits - 1, std::fabs(value), style, precision_);
    if (written.ec != std::errc()) throw std::logic_error("float format buffer too small");
    bodyEnd = written.ptr;
    if (alternate_ && precision_ == 0 && style != std::chars_format::general) {
      char* exponent = std::find(digits, bodyEnd, 'e');
      std::move_backward(exponent, bodyEnd, bodyEnd + 1);
      *exponent = '.';
      ++bodyEnd;
    }
  }
  if (upper) {
    for (char* c = digits; c != bodyEnd; ++c)
      if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
  }
  if (decimalSeparator != '.') std::replace(digits, bodyEnd, '.', decimalSeparator);
  const std::string_view body(digits, static_cast<std::size_t>(bodyEnd - digits));

  std::string_view sign;
  if (std::signbit(value)) sign = "-";
  else if (plusSign_) sign = "+";
  else if (spaceSign_) sign = " ";

  const std::size_t width = static_cast<std::size_t>(width_);
  const std::size_t used = sign.size() + body.size();
  const std::size_t pad = used >= width ? 0 : width - used;
  out += prefix_;
  if (pad == 0) {
    out.append(sign).append(body);
  } else if (leftAlign_) {
    out.append(sign).append(body).append(pad, ' ');
  } else if (zeroPad_ && std::isfinite(value)) {
    out.append(sign).append(pad, '0').append(body);
  } else {
    out.append(pad, ' ').append(sign).append(body);
  }
  out += suffix_;
}

std::string FormatFloat(std::string_view format, double value) {
  const std::optional<TFloatFormat> parsed = TFloatFormat::Parse(format);
  if (!parsed) throw std::invalid_argument("not a float format: " + std::string(format));
  return parsed->Format(value);
}

std::string CsvField(std::string_view text) {
  std::string field;
  AppendCsvField(field, text);
  return field;
}

void AppendCsvField(std::string& out, std::string_view text) {
  if (text.empty()) {
    out += "\"\"";
    return;
  }
  bool plain = true;
  for (char c : text) plain = plain && c != '"' && c != ',' && c != '\r' && c != '\n';
  if (plain) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

bool WriteCsv(const TTableRows& table, const std::function<bool(std::string_view)>& sink, std::size_t chunkBytes) {
  std::string piece;
  piece.reserve(chunkBytes + 4096);
  std::vector<std::string> cells(static_cast<std::size_t>(std::max(table.columns(), 0)));
  for (int r = 0; r < table.rows(); ++r) {
    table.row(r, cells);
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (c > 0) piece += ',';
      AppendCsvField(piece, cells[c]);
    }
    piece += "\r\n";
    if (piece.size() >= chunkBytes) {
      if (!sink(piece)) return false;
      piece.clear();
    }
  }
  return piece.empty() || sink(piece);
}

TSaveResult SaveCsv(const TTableRows& table, const std::filesystem::path& path) {
  TChunkedFile file(path);
  if (file.Ok() && WriteCsv(table, [&file](std::string_view piece) { return file.Write(piece); }) && file.Commit())
    return {true, {}};
  const std::u8string name = path.u8string();
  return {false, "Cannot Create file " + std::string(name.begin(), name.end()) + ": " + file.Reason()};
}

void TResultTableRows::row(int row, std::vector<std::string>& cells) const {
  if (const TTableRows* source = table_.rowSource()) return source->row(row, cells);
  cells.resize(static_cast<std::size_t>(table_.columns()));
  for (int c = 0; c < table_.columns(); ++c) cells[static_cast<std::size_t>(c)] = table_.cell(row, c);
}

TResultTable::TResultTable(int rows, int columns, int fixedRows, int fixedColumns) {
  resize(rows, columns);
  setFixed(fixedRows, fixedColumns);
}

TResultTable::TResultTable(std::shared_ptr<const TTableRows> source, int fixedRows, int fixedColumns)
    : rows_(std::max(source->rows(), 0)),
      columns_(std::max(source->columns(), 0)),
      merges_(source->merges()),
      source_(std::move(source)) {
  setFixed(fixedRows, fixedColumns);
}

void TResultTable::resize(int rows, int columns) {
  if (source_) return;
  rows = std::max(rows, 0);
  columns = std::max(columns, 0);
  std::vector<std::string> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
  const int keepRows = std::min(rows, rows_);
  const int keepColumns = std::min(columns, columns_);
  for (int r = 0; r < keepRows; ++r) {
    for (int c = 0; c < keepColumns; ++c) {
      cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(c)] =
          std::move(cells_[index(r, c)]);
    }
  }
  cells_ = std::move(cells);
  rows_ = rows;
  columns_ = columns;
  setFixed(fixedRows_, fixedColumns_);
}

void TResultTable::setFixed(int fixedRows, int fixedColumns) {
  fixedRows_ = std::clamp(fixedRows, 0, rows_);
  fixedColumns_ = std::clamp(fixedColumns, 0, columns_);
}

const std::string& TResultTable::cell(int row, int column) const {
  static const std::string kEmpty;
  if (!inside(row, column)) return kEmpty;
  return source_ ? sourcedCell(row, column) : cells_[index(row, column)];
}

const std::string& TResultTable::sourcedCell(int row, int column) const {
  constexpr int kBlockRows = 32;
  const int first = row - row % kBlockRows;
  auto block = std::find_if(blocks_.begin(), blocks_.end(), [first](const TRowBlock& b) { return b.first == first; });
  if (block == blocks_.end()) {
    block = blocks_.begin() + static_cast<std::ptrdiff_t>(nextBlock_);
    nextBlock_ = (nextBlock_ + 1) % blocks_.size();
    block->first = first;
    block->rows.resize(static_cast<std::size_t>(std::min(kBlockRows, rows_ - first)));
    for (std::size_t r = 0; r < block->rows.size(); ++r) source_->row(first + static_cast<int>(r), block->rows[r]);
  }
  static const std::string kEmpty;
  const std::vector<std::string>& cells = block->rows[static_cast<std::size_t>(row - first)];
  return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)] : kEmpty;
}

void TResultTable::setCell(int row, int column, std::string text) {
  if (inside(row, column) && !source_) cells_[index(row, column)] = std::move(text);
}

bool TResultTable::setFloatFormat(std::string_view format) {
  std::optional<TFloatFormat> parsed = TFloatFormat::Parse(format);
  if (!parsed) return false;
  floatFormat_ = std::move(*parsed);
  return true;
}

void TResultTable::setNumber(int row, int column, double value) {
  if (inside(row, column) && !source_) cells_[index(row, column)] = floatFormat_.Format(value);
}

void TResultTable::writeCsv(std::ostream& out) const {
  for (int r = 0; r < rows_; ++r) {
    for (int c = 0; c < columns_; ++c) {
      if (c > 0) out << ',';
      out << CsvField(cell(r, c));
    }
    out << "\r\n";
  }
}

std::string TResultTable::csvText() const {
  std::ostringstream out;
  writeCsv(out);
  return std::move(out).str();
}

TSaveResult TResultTable::saveCsv(const std::filesystem::path& path) const {
  const std::string text = csvText();
  std::string reason;
  if (ReplaceFileContents(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), &reason))
    return {true, {}};
  const std::u8string name = path.u8string();
  return {false, "Cannot Create file " + std::string(name.begin(), name.end()) + ": " + reason};
}

std::string TResultTable::clipboardText() const {
  if (rows_ == 0 || columns_ == 0) return {};
  return clipboardText({0, 0, rows_ - 1, columns_ - 1});
}

std::string TResultTable::clipboardText(const TCellRange& range) const {
  const int top = std::max(std::min(range.top, range.bottom), 0);
  const int bottom = std::min(std::max(range.top, range.bottom), rows_ - 1);
  const int left = std::max(std::min(range.left, range.right), 0);
  const int right = std::min(std::max(range.left, range.right), columns_ - 1);
  if (top > bottom || left > right) return {};
  std::string text;
  for (int r = top; r <= bottom; ++r) {
    if (r > top) text += "\r\n";
    for (int c = left; c <= right; ++c) {
      if (c > left) text += '\t';
      text += cell(r, c);
    }
  }
  return text;
}

}  // namespace kolma
