// Reading a logger's delimited text once: separator, decimal mark, title lines, header,
// columns and the time column, then every line's time fields and numbers.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/analysis/logger_time.h"
#include "core/analysis/measurement_import.h"
#include "core/model/whole_file.h"

namespace kolma {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Lines looked at to decide the separator, the decimal mark, the header and the columns.
constexpr std::size_t kSampleLines = 200;
// Larger files are not logger exports: refuse them before they fill the memory.
// (256 MiB holds ten years of readings every minute, several times over.)
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{1} << 28;
// Spreadsheet day numbers of 1954 to 9999: a column of them with fractions is a time.
constexpr double kSerialLow = 20000.0, kSerialHigh = 2958466.0;

struct Line {
  int number = 0;
  std::string_view text;
};

// The non-blank lines one after the other, with their 1-based numbers; LF, CR LF or a
// lone CR end a line. Lines are not collected: a file of many short lines would take many
// times its size.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {
    if (text_.starts_with("\xEF\xBB\xBF")) text_.remove_prefix(3);  // the byte-order mark some programs write
  }
  bool Next(Line& line) {
    while (pos_ < text_.size()) {
      std::size_t end = text_.find_first_of("\r\n", pos_);
      if (end == std::string_view::npos) end = text_.size();
      ++number_;
      const std::string_view text = text_.substr(pos_, end - pos_);
      pos_ = end + (text_.substr(end, 2) == "\r\n" ? 2 : 1);
      if (text.find_first_not_of(" \t") != std::string_view::npos) {
        line = {number_, text};
        return true;
      }
    }
    return false;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int number_ = 0;
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Splits a line at the separator outside double quotes. Quoted fields come back without
// their quotes (a doubled quote inside stays doubled: only titles care, see Unquote).
void SplitFields(std::string_view line, char separator, std::vector<std::string_view>& fields) {
  fields.clear();
  std::size_t pos = 0;
  while (true) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos < line.size() && line[pos] == '"') {
      std::size_t close = pos + 1;
      while (close < line.size() && !(line[close] == '"' && (close + 1 >= line.size() || line[close + 1] != '"')))
        close += line[close] == '"' ? 2 : 1;
      fields.push_back(line.substr(pos + 1, std::min(close, line.size()) - pos - 1));
      const std::size_t next = line.find(separator, std::min(close, line.size()));
      if (next == std::string_view::npos) return;
      pos = next + 1;
    } else {
      const std::size_t next = line.find(separator, pos);
      fields.push_back(Trim(line.substr(pos, next == std::string_view::npos ? std::string_view::npos : next - pos)));
      if (next == std::string_view::npos) return;
      pos = next + 1;
    }
  }
}

std::string Unquote(std::string_view field) {
  std::string s;
  for (std::size_t i = 0; i < field.size(); ++i) {
    s.push_back(field[i]);
    if (field[i] == '"' && i + 1 < field.size() && field[i + 1] == '"') ++i;
  }
  return std::string(Trim(s));
}

// A number written with the given decimal mark, of a magnitude a reading can have; NaN
// otherwise. A logger's "NaN" or "inf" for a missing reading is not a number here.
double ParseNumber(std::string_view s, bool decimalComma) {
  s = Trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty() || s.size() > 64) return kNaN;
  const char c0 = s[0] == '-' && s.size() > 1 ? s[1] : s[0];
  if (!(c0 >= '0' && c0 <= '9') && c0 != '.' && c0 != ',') return kNaN;
  char buffer[64];
  if (decimalComma) {
    if (s.find('.') != std::string_view::npos) return kNaN;
    std::memcpy(buffer, s.data(), s.size());
    std::replace(buffer, buffer + s.size(), ',', '.');
    s = std::string_view(buffer, s.size());
  }
  double value = kNaN;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size() || !(std::abs(value) <= kMaxReadingMagnitude)) return kNaN;
  return value;
}

bool IsNumber(std::string_view s) { return !std::isnan(ParseNumber(s, false)) || !std::isnan(ParseNumber(s, true)); }

enum class FieldKind { Empty, Text, Number, DateTime, DateOnly, TimeOnly };

bool IsTimeKind(FieldKind k) { return k == FieldKind::DateTime || k == FieldKind::DateOnly || k == FieldKind::TimeOnly; }

FieldKind Classify(std::string_view f) {
  if (Trim(f).empty()) return FieldKind::Empty;
  switch (ParseLoggerTime(f).kind) {
    case LoggerTimeKind::DateTime: return FieldKind::DateTime;
    case LoggerTimeKind::DateOnly: return FieldKind::DateOnly;
    case LoggerTimeKind::TimeOnly: return FieldKind::TimeOnly;
    case LoggerTimeKind::None: break;
  }
  return IsNumber(f) ? FieldKind::Number : FieldKind::Text;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return out;
}

// A title that names hours or a time: such a column is taken for the time before others.
bool NamesHours(const std::string& title) {
  const std::string t = Lower(title);
  return t == "h" || t == "t [h]" || t.find("hour") != std::string::npos || t.find("stunde") != std::string::npos ||
         t.find("heure") != std::string::npos || t.find("(h)") != std::string::npos ||
         t.find("[h]") != std::string::npos || t.find("elapsed") != std::string::npos;
}
bool NamesTime(const std::string& title) {
  const std::string t = Lower(title);
  for (const char* word : {"time", "zeit", "date", "datum", "serial", "stamp"})
    if (t.find(word) != std::string::npos) return true;
  return NamesHours(title);
}

// A field of a unit line under the header: "°C", "[%]", "(h)", "yyyy-mm-dd hh:mm".
bool IsUnit(std::string_view field) {
  std::string t = Lower(Trim(field));
  std::erase_if(t, [](char c) { return c == '[' || c == ']' || c == '(' || c == ')' || c == ' '; });
  if (t.empty() || t.starts_with("\xC2\xB0") || t.starts_with("\xC2\xBA") || t.starts_with("deg") ||
      t.find("yyyy") != std::string::npos || t.find("hh:mm") != std::string::npos)
    return true;
  for (const char* unit : {"c", "k", "f", "%", "%rh", "rh", "h", "s", "min", "m", "mm", "cm", "bar", "mbar", "pa", "kpa",
                           "mpa", "hpa", "v", "mv", "ma", "-", "m/s", "w/m2", "w/m\xC2\xB2", "days", "d"})
    if (t == unit) return true;
  return false;
}

// A line of units: every field a unit or empty, and not all empty.
bool IsUnitLine(const std::vector<std::string_view>& fields) {
  return std::all_of(fields.begin(), fields.end(), IsUnit) &&
         std::any_of(fields.begin(), fields.end(), [](std::string_view f) { return !Trim(f).empty(); });
}

constexpr std::array<char, 3> kSeparators = {'\t', ';', ','};

// The separator that splits most sample lines into the same number (two or more) of
// fields. Tab and semicolon come first: with a decimal comma, a comma splits numbers.
char DetectSeparator(const std::vector<Line>& lines, std::size_t& columns) {
  std::vector<std::string_view> fields;
  const std::size_t sample = lines.size();
  for (const char separator : kSeparators) {
    std::vector<std::size_t> counts;
    for (const Line& line : lines) {
      SplitFields(line.text, separator, fields);
      counts.push_back(fields.size());
    }
    std::sort(counts.begin(), counts.end());
    std::size_t mode = 0, modeRun = 0;
    for (std::size_t i = 0; i < counts.size();) {
      std::size_t j = i;
      while (j < counts.size() && counts[j] == counts[i]) ++j;
      if (j - i > modeRun) mode = counts[i], modeRun = j - i;
      i = j;
    }
    if (mode >= 2 && modeRun * 2 > sample) {
      columns = mode;
      return separator;
    }
  }
  columns = 0;
  return ',';
}

MeasurementTable NoData(std::string error) {
  MeasurementTable table;
  table.status = MeasurementTableStatus::NoData;
  table.error = std::move(error);
  return table;
}

// What the sample tells of the file's shape: the kind of data each column holds (from
// the lower half of the sample, below any title lines), which lines are readings, which
// is the header.
struct Shape {
  std::vector<FieldKind> columnKind;  // Text where no data kind holds half of the lines
  std::vector<std::vector<FieldKind>> kinds;  // per sample line and field
};

Shape SampleShape(const std::vector<std::vector<std::string_view>>& fields, std::size_t columns) {
  Shape shape;
  shape.kinds.resize(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i)
    for (const std::string_view f : fields[i]) shape.kinds[i].push_back(Classify(f));
  const std::size_t from = fields.size() / 2, voters = fields.size() - from;
  shape.columnKind.assign(columns, FieldKind::Text);
  for (std::size_t c = 0; c < columns; ++c) {
    std::array<std::size_t, 6> votes{};
    for (std::size_t i = from; i < fields.size(); ++i)
      if (c < shape.kinds[i].size()) ++votes[static_cast<std::size_t>(shape.kinds[i][c])];
    std::size_t best = 0;
    for (const FieldKind k : {FieldKind::Number, FieldKind::DateTime, FieldKind::DateOnly, FieldKind::TimeOnly}) {
      const std::size_t v = votes[static_cast<std::size_t>(k)];
      if (v > best && 2 * v >= voters) best = v, shape.columnKind[c] = k;
    }
  }
  return shape;
}

// A reading: a date or time where the columns hold them, or, in files without such
// columns, fields that are mostly not text where the columns hold numbers.
bool IsReading(const Shape& shape, std::size_t i) {
  const std::vector<FieldKind>& kinds = shape.kinds[i];
  if (kinds.size() < 2) return false;
  bool timeColumns = false;
  int holding = 0, text = 0;
  for (std::size_t c = 0; c < shape.columnKind.size(); ++c) {
    const FieldKind column = shape.columnKind[c];
    if (IsTimeKind(column)) {
      timeColumns = true;
      if (c < kinds.size() && IsTimeKind(kinds[c])) return true;
    } else if (column == FieldKind::Number && c < kinds.size()) {
      ++holding;
      text += kinds[c] == FieldKind::Text ? 1 : 0;
    }
  }
  return !timeColumns && holding > 0 && 2 * text <= holding;
}

// A header: two or more names, no date or time, and text in most of the columns that hold data.
bool IsHeader(const Shape& shape, std::size_t i) {
  const std::vector<FieldKind>& kinds = shape.kinds[i];
  int names = 0, holding = 0, text = 0;
  for (std::size_t c = 0; c < kinds.size(); ++c) {
    if (IsTimeKind(kinds[c])) return false;
    names += kinds[c] == FieldKind::Text ? 1 : 0;
    if (c < shape.columnKind.size() && shape.columnKind[c] != FieldKind::Text) {
      ++holding;
      text += kinds[c] == FieldKind::Text ? 1 : 0;
    }
  }
  return names >= 2 && 2 * text > holding;
}

// A title line: fewer fields than the readings, or none of the data a reading has there.
bool IsTitle(const Shape& shape, std::size_t i) {
  const std::vector<FieldKind>& kinds = shape.kinds[i];
  if (kinds.size() < shape.columnKind.size()) return true;
  for (std::size_t c = 0; c < shape.columnKind.size(); ++c) {
    const FieldKind column = shape.columnKind[c];
    if (column == FieldKind::Text) continue;
    if (kinds[c] == column || (IsTimeKind(column) && IsTimeKind(kinds[c]))) return false;
  }
  return true;
}

// Over one numeric column of every row: is it a time line, and of what kind?
struct NumericProfile {
  bool monotonic = false;   // at least nine in ten steps go one way
  bool running = false;     // 1, 2, 3...: a counter rather than hours
  bool lineCounter = false;  // a counter from 1: the lines' numbers (when written without decimals)
  bool serialDays = false;  // spreadsheet day numbers
};

NumericProfile Profile(const MeasurementTable& table, int column) {
  std::size_t pairs = 0, up = 0, down = 0, unit = 0, integers = 0, n = 0, inSerial = 0, fractions = 0;
  double previous = kNaN, first = kNaN;
  for (const MeasurementRow& row : table.rows) {
    const double v = table.Cell(row, column);
    if (std::isnan(v)) continue;
    ++n;
    if (std::isnan(first)) first = v;
    integers += v == std::floor(v) ? 1 : 0;
    fractions += v != std::floor(v) ? 1 : 0;
    inSerial += v > kSerialLow && v < kSerialHigh ? 1 : 0;
    if (!std::isnan(previous)) {
      ++pairs;
      up += v > previous ? 1 : 0;
      down += v < previous ? 1 : 0;
      unit += std::abs(v - previous) == 1.0 ? 1 : 0;
    }
    previous = v;
  }
  NumericProfile p;
  p.monotonic = pairs > 0 && (10 * up >= 9 * pairs || 10 * down >= 9 * pairs);
  // Hours from a start count from 0; a counter of lines from 1.
  p.running = p.monotonic && integers == n && 10 * unit >= 9 * pairs && first != 0.0;
  p.lineCounter = p.running && first == 1.0;
  p.serialDays = 2 * inSerial > n && fractions > 0 && !NamesHours(table.columns[static_cast<std::size_t>(column)].title);
  return p;
}

// The first of the preferred kind: titled as a time, then anything but a counter, then a counter.
int ChooseNumericTime(MeasurementTable& table) {
  int named = -1, plain = -1, counter = -1;
  bool counterRunning = false;
  for (int c = 0; c < static_cast<int>(table.columns.size()); ++c) {
    if (!table.columns[static_cast<std::size_t>(c)].numeric) continue;
    const NumericProfile p = Profile(table, c);
    if (!p.monotonic) continue;
    if (named < 0 && table.headerLine > 0 && NamesTime(table.columns[static_cast<std::size_t>(c)].title)) named = c;
    if (plain < 0 && !p.running) plain = c;
    if (counter < 0 && p.running) counter = c, counterRunning = true;
  }
  if (named >= 0) return named;
  if (plain >= 0) return plain;
  table.runningNumber = counter >= 0 && counterRunning;
  return counter;
}

// Reads the row's time fields into the row; false when they are not of the expected kinds.
bool ReadRowTime(const MeasurementTable& table, bool datesOnly, const std::vector<std::string_view>& fields,
                 MeasurementRow& row, LoggerDateFamily& family) {
  const auto dateColumn = static_cast<std::size_t>(table.timeColumn);
  if (dateColumn >= fields.size()) return false;
  const LoggerTime date = ParseLoggerTime(fields[dateColumn]);
  LoggerTime clock = date;
  if (table.timeOfDayColumn >= 0) {
    const auto timeColumn = static_cast<std::size_t>(table.timeOfDayColumn);
    if (date.kind != LoggerTimeKind::DateOnly || timeColumn >= fields.size()) return false;
    clock = ParseLoggerTime(fields[timeColumn]);
    if (clock.kind != LoggerTimeKind::TimeOnly) return false;
  } else if (date.kind != (datesOnly ? LoggerTimeKind::DateOnly : LoggerTimeKind::DateTime)) {
    return false;
  }
  row.first = static_cast<std::uint8_t>(date.first);
  row.second = static_cast<std::uint8_t>(date.second);
  row.year = static_cast<std::int16_t>(date.year);
  row.clock = datesOnly ? 0.0 : clock.secondsOfDay;
  row.hasOffset = clock.hasOffset;
  row.offsetMinutes = static_cast<std::int16_t>(clock.offsetMinutes);
  family = date.family;
  return true;
}

struct TimeChoice {
  MeasurementTimeKind kind = MeasurementTimeKind::None;
  int column = -1, timeOfDay = -1;
  bool dateOnly = false;  // dates without times (a daily logger)
};

// The time column from the sample's readings: dates and times in one column, a date
// column beside a time column, dates alone. `forced` is the user's choice (-1: none).
TimeChoice ChooseDateTime(const Shape& shape, std::size_t firstReading, std::size_t columns, int forced) {
  std::vector<std::array<std::size_t, 6>> votes(columns);
  const std::size_t voters = shape.kinds.size() - firstReading;
  for (std::size_t i = firstReading; i < shape.kinds.size(); ++i)
    for (std::size_t c = 0; c < std::min(columns, shape.kinds[i].size()); ++c)
      ++votes[c][static_cast<std::size_t>(shape.kinds[i][c])];
  auto count = [&](std::size_t c, FieldKind k) { return c < columns ? votes[c][static_cast<std::size_t>(k)] : 0; };
  auto most = [&](std::size_t c, FieldKind k) { return voters > 0 && 2 * count(c, k) > voters; };
  TimeChoice choice;
  if (forced >= 0) {
    const auto c = static_cast<std::size_t>(forced);
    const std::size_t full = count(c, FieldKind::DateTime), date = count(c, FieldKind::DateOnly),
                      clock = count(c, FieldKind::TimeOnly);
    if (full > 0 && full >= date && full >= clock) choice = {MeasurementTimeKind::DateTime, forced, -1, false};
    else if (date > 0 && date >= clock)
      choice = most(c + 1, FieldKind::TimeOnly) ? TimeChoice{MeasurementTimeKind::DateTime, forced, forced + 1, false}
                                                : TimeChoice{MeasurementTimeKind::DateTime, forced, -1, true};
    else if (clock > 0 && c > 0 && most(c - 1, FieldKind::DateOnly))
      choice = {MeasurementTimeKind::DateTime, forced - 1, forced, false};
    return choice;
  }
  for (std::size_t c = 0; c < columns; ++c)
    if (most(c, FieldKind::DateTime)) return {MeasurementTimeKind::DateTime, static_cast<int>(c), -1, false};
  for (std::size_t c = 0; c + 1 < columns; ++c)
    if (most(c, FieldKind::DateOnly) && most(c + 1, FieldKind::TimeOnly))
      return {MeasurementTimeKind::DateTime, static_cast<int>(c), static_cast<int>(c) + 1, false};
  for (std::size_t c = 0; c < columns; ++c)
    if (most(c, FieldKind::DateOnly)) return {MeasurementTimeKind::DateTime, static_cast<int>(c), -1, true};
  return choice;
}

MeasurementTable ParseOwned(std::string source, int forcedTimeColumn) {
  MeasurementTable table;
  table.source = std::move(source);
  LineReader reader(table.source);
  std::vector<Line> sample;
  for (Line line; sample.size() < kSampleLines && reader.Next(line);) sample.push_back(line);
  if (sample.empty()) return NoData("The file holds no readings");
  std::size_t columns = 0;
  table.separator = DetectSeparator(sample, columns);
  if (columns < 2) return NoData("No separator (comma, semicolon or tab) splits the lines into a time and a reading");

  // The decimal mark: over every sample field, numbers that need a decimal point or a
  // decimal comma ("12" reads either way and does not vote).
  std::vector<std::vector<std::string_view>> sampleFields(sample.size());
  int pointFields = 0, commaFields = 0;
  for (std::size_t i = 0; i < sample.size(); ++i) {
    SplitFields(sample[i].text, table.separator, sampleFields[i]);
    for (const std::string_view f : sampleFields[i]) {
      if (ParseLoggerTime(f).kind != LoggerTimeKind::None) continue;
      pointFields += f.find('.') != std::string_view::npos && !std::isnan(ParseNumber(f, false)) ? 1 : 0;
      commaFields += f.find(',') != std::string_view::npos && !std::isnan(ParseNumber(f, true)) ? 1 : 0;
    }
  }
  table.decimalComma = commaFields > pointFields;
  const bool dc = table.decimalComma;

  // Title lines, the header (the last line of names before the first reading) and a
  // line of units under it.
  const Shape shape = SampleShape(sampleFields, columns);
  std::size_t firstReading = 0;
  while (firstReading < sample.size() && !IsReading(shape, firstReading)) ++firstReading;
  if (firstReading == sample.size()) firstReading = 0;  // no readings: as before, the first line may be a header
  std::size_t header = SIZE_MAX;
  for (std::size_t i = firstReading; i-- > 0;)
    if (IsHeader(shape, i) && !IsUnitLine(sampleFields[i])) {
      header = i;
      break;
    }
  if (firstReading == 0 && sample.size() > 1 && IsHeader(shape, 0)) header = 0;
  std::size_t firstRow = 0;
  if (header != SIZE_MAX) {
    table.headerLine = sample[header].number;
    table.skippedAbove = static_cast<int>(header);
    firstRow = header + 1;
    if (firstRow < firstReading && IsUnitLine(sampleFields[firstRow])) {
      table.unitLine = sample[firstRow].number;
      ++firstRow;
    }
  } else {
    while (firstRow < firstReading && IsTitle(shape, firstRow)) ++firstRow;
    table.skippedAbove = static_cast<int>(firstRow);
  }
  if (header == 0 && firstReading == 0) firstReading = 1;

  table.columns.resize(columns);
  for (std::size_t c = 0; c < columns; ++c)
    table.columns[c].title = header != SIZE_MAX && c < sampleFields[header].size() && !Unquote(sampleFields[header][c]).empty()
                                 ? Unquote(sampleFields[header][c])
                                 : "Column " + std::to_string(c + 1);

  if (forcedTimeColumn >= static_cast<int>(columns))
    return NoData("There is no column " + std::to_string(forcedTimeColumn + 1) + ": the file has " +
                  std::to_string(columns));
  const TimeChoice time = ChooseDateTime(shape, std::min(firstReading, shape.kinds.size()), columns, forcedTimeColumn);
  table.timeColumn = time.column;
  table.timeOfDayColumn = time.timeOfDay;
  table.timeKind = time.kind;

  // Every line from the first row on: its time fields and its numbers.
  std::vector<int> numbers(columns, 0);
  std::vector<int> fractions(columns, 0);  // numbers written with a decimal mark
  bool sawDayAbove12 = false, sawMonthAbove12 = false;
  std::array<int, 3> familyCounts{};  // Iso, Slashed, Dotted
  int isoT = 0, isoSpace = 0;
  std::vector<std::uint8_t> rowFamily;  // which family each row's time was written in (3: none)
  std::vector<std::string_view> fields;
  const bool dateTimes = table.timeKind == MeasurementTimeKind::DateTime;
  auto readLine = [&](const Line& line) {
    SplitFields(line.text, table.separator, fields);
    if (fields.size() < 2) {
      table.shortLines.push_back(line.number);
      return;
    }
    MeasurementRow row;
    row.line = line.number;
    row.cellOffset = static_cast<std::uint32_t>(table.cells.size());
    row.cellCount = static_cast<std::uint32_t>(std::min(fields.size(), columns));
    for (std::size_t c = 0; c < row.cellCount; ++c) {
      if (dateTimes && (static_cast<int>(c) == table.timeColumn || static_cast<int>(c) == table.timeOfDayColumn)) {
        table.cells.push_back(kNaN);
        continue;
      }
      const double value = ParseNumber(fields[c], dc);
      table.cells.push_back(value);
      if (!std::isnan(value)) {
        ++numbers[c];
        if (fields[c].find(dc ? ',' : '.') != std::string_view::npos) ++fractions[c];
      }
    }
    std::uint8_t family = 3;
    if (dateTimes) {
      LoggerDateFamily f = LoggerDateFamily::Iso;
      if (ReadRowTime(table, time.dateOnly, fields, row, f)) {
        row.timeRead = true;
        family = static_cast<std::uint8_t>(f);
        ++familyCounts[family];
        table.utcOffsets = table.utcOffsets || row.hasOffset;
        if (f == LoggerDateFamily::Iso && table.timeOfDayColumn < 0 && !time.dateOnly) {
          const std::string_view t = Trim(fields[static_cast<std::size_t>(table.timeColumn)]);
          (t.size() > 10 && t[10] == 'T' ? isoT : isoSpace)++;
        }
        if (f == LoggerDateFamily::Slashed) {
          sawDayAbove12 = sawDayAbove12 || row.first > 12;
          sawMonthAbove12 = sawMonthAbove12 || row.second > 12;
        }
      }
    }
    rowFamily.push_back(family);
    table.rows.push_back(row);
  };
  // Room for the rows the file's size promises at the sample's line length, so that the
  // vectors are not copied as they grow (and stay near the file's own size).
  if (firstRow < sample.size()) {
    const std::size_t sampleBytes = static_cast<std::size_t>(sample.back().text.end() - sample[firstRow].text.begin());
    const std::size_t perLine = std::max<std::size_t>(1, sampleBytes / (sample.size() - firstRow));
    const std::size_t expected = table.source.size() / perLine + 16;
    table.rows.reserve(expected);
    rowFamily.reserve(expected);
    table.cells.reserve(expected * std::min<std::size_t>(columns, 1 + perLine / 2));
  }
  for (std::size_t i = firstRow; i < sample.size(); ++i) readLine(sample[i]);
  for (Line line; reader.Next(line);) readLine(line);
  if (table.rows.empty()) return NoData("The file holds a header but no readings");

  const std::size_t rowCount = table.rows.size();
  for (std::size_t c = 0; c < columns; ++c)
    table.columns[c].numeric = 2 * static_cast<std::size_t>(numbers[c]) > rowCount;

  if (table.timeKind == MeasurementTimeKind::None) {
    // A column of numbers: hours or spreadsheet day numbers, when it runs one way.
    if (forcedTimeColumn >= 0) {
      if (numbers[static_cast<std::size_t>(forcedTimeColumn)] == 0)
        return NoData("Column " + std::to_string(forcedTimeColumn + 1) + " holds no times: choose another time column");
      table.timeColumn = forcedTimeColumn;
    } else {
      table.timeColumn = ChooseNumericTime(table);
    }
    bool another = false;
    for (std::size_t c = 0; c < columns; ++c) another = another || (table.columns[c].numeric && static_cast<int>(c) != table.timeColumn);
    if (table.timeColumn < 0 || !another)
      return NoData("No column of dates and times, or of hours that increase beside a column of readings, was found");
    table.timeKind = Profile(table, table.timeColumn).serialDays ? MeasurementTimeKind::SerialDays
                                                                 : MeasurementTimeKind::ElapsedHours;
    table.columns[static_cast<std::size_t>(table.timeColumn)].numeric = false;
    for (MeasurementRow& row : table.rows) {
      row.clock = table.Cell(row, table.timeColumn);
      row.timeRead = !std::isnan(row.clock);
    }
  } else {
    table.columns[static_cast<std::size_t>(table.timeColumn)].numeric = false;
    if (table.timeOfDayColumn >= 0) table.columns[static_cast<std::size_t>(table.timeOfDayColumn)].numeric = false;
    // Mixed ISO forms read alike; the form of dates most lines use is the one read, and the
    // others are unreadable.
    const std::size_t family = static_cast<std::size_t>(
        std::max_element(familyCounts.begin(), familyCounts.end()) - familyCounts.begin());
    table.dateForm = family == 1   ? DateTimeForm::Slashed
                     : family == 2 ? DateTimeForm::Dotted
                     : isoSpace > isoT || table.timeOfDayColumn >= 0 || time.dateOnly ? DateTimeForm::IsoSpace
                                                                                       : DateTimeForm::IsoT;
    for (std::size_t r = 0; r < rowCount; ++r)
      if (table.rows[r].timeRead && rowFamily[r] != family) table.rows[r].timeRead = false;
    if (table.dateForm == DateTimeForm::Slashed) {
      table.detectedOrder = sawDayAbove12 == sawMonthAbove12 ? DayMonthOrder::Unknown
                            : sawDayAbove12                  ? DayMonthOrder::DayFirst
                                                             : DayMonthOrder::MonthFirst;
      table.dayMonthAmbiguous = table.detectedOrder == DayMonthOrder::Unknown;
    } else if (table.dateForm == DateTimeForm::Dotted) {
      table.detectedOrder = DayMonthOrder::DayFirst;
    }
  }

  // The reading column proposed: the only numeric one, not counting the lines' numbers.
  int numeric = 0, counters = 0, counter = -1;
  for (std::size_t c = 0; c < columns; ++c)
    if (table.columns[c].numeric) {
      if (fractions[c] == 0 && Profile(table, static_cast<int>(c)).lineCounter) {
        ++counters;
        counter = static_cast<int>(c);
        continue;
      }
      ++numeric;
      table.proposedColumn = static_cast<int>(c);
    }
  if (numeric == 0 && counters == 1) table.proposedColumn = counter;
  else if (numeric != 1) table.proposedColumn = -1;
  numeric += counters;
  if (numeric == 0) return NoData("No column of readings (numbers of a magnitude up to 1e15) stands beside the time");
  table.status = MeasurementTableStatus::Parsed;
  return table;
}

}  // namespace

MeasurementTable ParseMeasurements(std::string_view text, int timeColumn) {
  return ParseOwned(std::string(text), timeColumn);
}

MeasurementTable ReadMeasurementFile(const std::filesystem::path& path, int timeColumn) {
  std::string text;
  {
    std::vector<std::uint8_t> bytes;
    std::string reason;
    if (!ReadWholeFile(path, bytes, &reason, kMaxFileBytes)) {
      MeasurementTable table;
      table.status = MeasurementTableStatus::ReadFailed;
      table.error = reason;
      return table;
    }
    text.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  return ParseOwned(std::move(text), timeColumn);
}

}  // namespace kolma
