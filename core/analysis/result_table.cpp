#include "core/analysis/result_table.h"

#include <span>

#include "core/model/whole_file.h"

#include <algorithm>
#include <charconv>
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

std::string ToUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
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

std::string TFloatFormat::Format(double value) const {
  const bool upper = conversion_ == 'F' || conversion_ == 'E' || conversion_ == 'G';
  std::string body;
  if (std::isnan(value)) {
    body = "nan";
  } else if (std::isinf(value)) {
    body = "inf";
  } else {
    std::chars_format style = std::chars_format::fixed;
    if (conversion_ == 'e' || conversion_ == 'E') style = std::chars_format::scientific;
    if (conversion_ == 'g' || conversion_ == 'G') style = std::chars_format::general;
    // Large enough for the widest fixed text: 309 integer digits and 100 decimals.
    char digits[512];
    const auto written = std::to_chars(digits, digits + sizeof digits, std::fabs(value), style, precision_);
    if (written.ec != std::errc()) throw std::logic_error("float format buffer too small");
    body.assign(digits, written.ptr);
    if (alternate_ && precision_ == 0 && style != std::chars_format::general) {
      const std::size_t exponent = body.find('e');
      body.insert(exponent == std::string::npos ? body.size() : exponent, ".");
    }
  }
  if (upper) body = ToUpper(body);
  if (decimalSeparator != '.') std::replace(body.begin(), body.end(), '.', decimalSeparator);

  std::string sign;
  if (std::signbit(value)) sign = "-";
  else if (plusSign_) sign = "+";
  else if (spaceSign_) sign = " ";

  const std::size_t width = static_cast<std::size_t>(width_);
  const std::size_t used = sign.size() + body.size();
  std::string field;
  if (used >= width) {
    field = sign + body;
  } else if (leftAlign_) {
    field = sign + body + std::string(width - used, ' ');
  } else if (zeroPad_ && std::isfinite(value)) {
    field = sign + std::string(width - used, '0') + body;
  } else {
    field = std::string(width - used, ' ') + sign + body;
  }
  return prefix_ + field + suffix_;
}

std::string FormatFloat(std::string_view format, double value) {
  const std::optional<TFloatFormat> parsed = TFloatFormat::Parse(format);
  if (!parsed) throw std::invalid_argument("not a float format: " + std::string(format));
  return parsed->Format(value);
}

std::string CsvField(std::string_view text) {
  if (text.empty()) return "\"\"";
  std::string field;
  bool enclose = false;
  for (char c : text) {
    if (c == '"') field += '"';
    if (c == '"' || c == ',' || c == '\r' || c == '\n') enclose = true;
    field += c;
  }
  return enclose ? "\"" + field + "\"" : field;
}

TResultTable::TResultTable(int rows, int columns, int fixedRows, int fixedColumns) {
  resize(rows, columns);
  setFixed(fixedRows, fixedColumns);
}

void TResultTable::resize(int rows, int columns) {
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
  return inside(row, column) ? cells_[index(row, column)] : kEmpty;
}

void TResultTable::setCell(int row, int column, std::string text) {
  if (inside(row, column)) cells_[index(row, column)] = std::move(text);
}

bool TResultTable::setFloatFormat(std::string_view format) {
  std::optional<TFloatFormat> parsed = TFloatFormat::Parse(format);
  if (!parsed) return false;
  floatFormat_ = std::move(*parsed);
  return true;
}

void TResultTable::setNumber(int row, int column, double value) {
  if (inside(row, column)) cells_[index(row, column)] = floatFormat_.Format(value);
}

void TResultTable::writeCsv(std::ostream& out) const {
  for (int r = 0; r < rows_; ++r) {
    for (int c = 0; c < columns_; ++c) {
      if (c > 0) out << ',';
      out << CsvField(cells_[index(r, c)]);
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
      text += cells_[index(r, c)];
    }
  }
  return text;
}

}  // namespace kolma
