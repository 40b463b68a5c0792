// Reading a logger's delimited text once: separator, decimal mark, header, columns and the
// time column, then every line's time fields and numbers.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

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

struct Line {
  int number = 0;
  std::string_view text;
};

// Non-blank lines with their 1-based numbers; LF, CR LF or a lone CR end a line.
std::vector<Line> SplitLines(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // the byte-order mark some programs write
  std::vector<Line> lines;
  lines.reserve(text.size() / 24 + 1);
  int number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    ++number;
    const std::string_view line = text.substr(pos, end - pos);
    if (line.find_first_not_of(" \t") != std::string_view::npos) lines.push_back({number, line});
    pos = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
  }
  return lines;
}

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

// A finite number written with the given decimal mark; NaN otherwise. A logger's "NaN"
// or "inf" for a missing reading is not a number here.
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
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) return kNaN;
  return value;
}

// Reads minDigits to maxDigits digits at pos.
bool ReadDigits(std::string_view s, std::size_t& pos, int minDigits, int maxDigits, int& value) {
  value = 0;
  int n = 0;
  while (pos < s.size() && n < maxDigits && s[pos] >= '0' && s[pos] <= '9') {
    value = value * 10 + (s[pos] - '0');
    ++pos;
    ++n;
  }
  return n >= minDigits;
}

bool Expect(std::string_view s, std::size_t& pos, char c) {
  if (pos >= s.size() || s[pos] != c) return false;
  ++pos;
  return true;
}

// "HH:MM" or "HH:MM:SS[.fff]" to the end of s; 24:00 is the midnight that ends a day.
bool ParseTimeOfDay(std::string_view s, std::size_t pos, double& seconds) {
  int h = 0, m = 0, sec = 0;
  if (!ReadDigits(s, pos, 1, 2, h) || !Expect(s, pos, ':') || !ReadDigits(s, pos, 2, 2, m)) return false;
  double fraction = 0.0;
  if (pos < s.size() && s[pos] == ':') {
    ++pos;
    if (!ReadDigits(s, pos, 2, 2, sec)) return false;
    if (pos < s.size() && (s[pos] == '.' || s[pos] == ',')) {
      double scale = 0.1;
      const std::size_t start = ++pos;
      for (; pos < s.size() && s[pos] >= '0' && s[pos] <= '9'; ++pos, scale /= 10) fraction += (s[pos] - '0') * scale;
      if (pos == start) return false;
    }
  }
  if (pos < s.size() && s[pos] == 'Z') ++pos;
  if (pos != s.size() || m > 59 || sec > 59 || h > 24 || (h == 24 && (m != 0 || sec != 0 || fraction != 0))) return false;
  seconds = h * 3600.0 + m * 60.0 + sec + fraction;
  return true;
}

enum class TimeFamily { None, Iso, Slashed };

struct TimeFields {
  TimeFamily family = TimeFamily::None;
  DateTimeForm form = DateTimeForm::IsoT;
  int first = 0, second = 0, year = 0;
  double seconds = 0.0;
};

// One of the accepted date-time forms, with the time of day required.
TimeFields ParseDateTime(std::string_view s) {
  s = Trim(s);
  TimeFields t;
  std::size_t pos = 0;
  int a = 0, b = 0, c = 0;
  if (s.size() >= 10 && s[4] == '-') {
    if (!ReadDigits(s, pos, 4, 4, a) || !Expect(s, pos, '-') || !ReadDigits(s, pos, 2, 2, b) ||
        !Expect(s, pos, '-') || !ReadDigits(s, pos, 2, 2, c) || pos >= s.size())
      return {};
    const DateTimeForm form = s[pos] == 'T' ? DateTimeForm::IsoT : DateTimeForm::IsoSpace;
    if (s[pos] != 'T' && s[pos] != ' ') return {};
    while (++pos < s.size() && s[pos] == ' ' && form == DateTimeForm::IsoSpace) {}
    if (b < 1 || b > 12 || c < 1 || c > 31 || !ParseTimeOfDay(s, pos, t.seconds)) return {};
    t.family = TimeFamily::Iso;
    t.form = form;
    t.year = a, t.first = b, t.second = c;
    return t;
  }
  if (!ReadDigits(s, pos, 1, 2, a) || !Expect(s, pos, '/') || !ReadDigits(s, pos, 1, 2, b) || !Expect(s, pos, '/') ||
      !ReadDigits(s, pos, 4, 4, c) || !Expect(s, pos, ' '))
    return {};
  while (pos < s.size() && s[pos] == ' ') ++pos;
  // Either order must be a possible date; which one holds is decided later.
  if (a < 1 || b < 1 || a > 31 || b > 31 || (a > 12 && b > 12) || !ParseTimeOfDay(s, pos, t.seconds)) return {};
  t.family = TimeFamily::Slashed;
  t.form = DateTimeForm::Slashed;
  t.first = a, t.second = b, t.year = c;
  return t;
}

constexpr std::array<char, 3> kSeparators = {'\t', ';', ','};

// The separator that splits most sample lines into the same number (two or more) of
// fields. Tab and semicolon come first: with a decimal comma, a comma splits numbers.
char DetectSeparator(const std::vector<Line>& lines, std::size_t sample, std::size_t& columns) {
  std::vector<std::string_view> fields;
  for (const char separator : kSeparators) {
    std::vector<std::size_t> counts;
    for (std::size_t i = 0; i < sample; ++i) {
      SplitFields(lines[i].text, separator, fields);
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

// Per column over the sample lines below the first: how many fields hold date-times, numbers.
struct Votes {
  int dateTimes = 0, numbers = 0;
};

// The first line is a header when it holds no date-time and, in most of the columns whose
// lines below hold date-times or numbers, text. A first reading with one bad value is data
// (then refused and listed), not a header.
bool IsHeader(const std::vector<std::string_view>& firstLine, const std::vector<Votes>& votes, std::size_t voters,
              bool decimalComma) {
  int holding = 0, textFields = 0;
  for (std::size_t c = 0; c < std::min(votes.size(), firstLine.size()); ++c) {
    const std::string_view f = firstLine[c];
    const bool dateTime = ParseDateTime(f).family != TimeFamily::None;
    if (dateTime) return false;
    if (voters == 0 || 2 * static_cast<std::size_t>(votes[c].dateTimes + votes[c].numbers) <= voters) continue;
    ++holding;
    textFields += std::isnan(ParseNumber(f, decimalComma)) ? 1 : 0;
  }
  return 2 * textFields > holding;
}

MeasurementTable NoData(std::string error) {
  MeasurementTable table;
  table.status = MeasurementTableStatus::NoData;
  table.error = std::move(error);
  return table;
}

}  // namespace

MeasurementTable ParseMeasurements(std::string_view text) {
  const std::vector<Line> lines = SplitLines(text);
  if (lines.empty()) return NoData("The file holds no readings");
  const std::size_t sample = std::min(lines.size(), kSampleLines);
  MeasurementTable table;
  std::size_t columns = 0;
  table.separator = DetectSeparator(lines, sample, columns);
  if (columns < 2) return NoData("No separator (comma, semicolon or tab) splits the lines into a time and a reading");

  // Per column over the sample: date-times and numbers. Over every sample field: numbers
  // that need a decimal point or a decimal comma ("12" reads either way and does not vote).
  std::vector<Votes> votes(columns);
  std::vector<std::string_view> fields;
  std::vector<std::vector<std::string_view>> sampleFields(sample);
  int pointFields = 0, commaFields = 0;
  for (std::size_t i = 0; i < sample; ++i) {
    SplitFields(lines[i].text, table.separator, sampleFields[i]);
    for (std::size_t c = 0; c < std::min(columns, sampleFields[i].size()); ++c) {
      const std::string_view f = sampleFields[i][c];
      const bool dateTime = ParseDateTime(f).family != TimeFamily::None;
      const bool point = !dateTime && !std::isnan(ParseNumber(f, false));
      const bool comma = !dateTime && !std::isnan(ParseNumber(f, true));
      pointFields += point && f.find('.') != std::string_view::npos ? 1 : 0;
      commaFields += comma && f.find(',') != std::string_view::npos ? 1 : 0;
      if (i == 0) continue;  // the first line may be the header: it does not vote on columns
      votes[c].dateTimes += dateTime ? 1 : 0;
      votes[c].numbers += point || comma ? 1 : 0;
    }
  }
  table.decimalComma = commaFields > pointFields;
  const bool dc = table.decimalComma;

  const std::size_t voters = sample - 1;
  const bool header = IsHeader(sampleFields[0], votes, voters, dc);
  // Count the first line's fields too when it is data.
  if (!header)
    for (std::size_t c = 0; c < std::min(columns, sampleFields[0].size()); ++c)
      if (ParseDateTime(sampleFields[0][c]).family != TimeFamily::None) ++votes[c].dateTimes;

  table.headerLine = header ? lines[0].number : 0;
  table.columns.resize(columns);
  for (std::size_t c = 0; c < columns; ++c)
    table.columns[c].title = header && c < sampleFields[0].size() && !Unquote(sampleFields[0][c]).empty()
                                 ? Unquote(sampleFields[0][c])
                                 : "Column " + std::to_string(c + 1);

  // The time column: the first that holds date-times, else the first that holds numbers
  // (elapsed hours) when another one holds the readings.
  const std::size_t dataSample = header ? voters : sample;
  for (std::size_t c = 0; c < columns && table.timeColumn < 0; ++c)
    if (dataSample > 0 && 2 * static_cast<std::size_t>(votes[c].dateTimes) > dataSample) {
      table.timeColumn = static_cast<int>(c);
      table.timeKind = MeasurementTimeKind::DateTime;
    }

  // Every data line: its time fields and its numbers.
  const std::size_t first = header ? 1 : 0;
  table.rows.reserve(lines.size() - first);
  table.cells.reserve((lines.size() - first) * columns);
  std::vector<int> numbers(columns, 0);
  bool sawDayAbove12 = false, sawMonthAbove12 = false;
  std::array<int, 3> formCounts{};
  std::vector<bool> rowSlashed;  // which family each row's time was written in
  rowSlashed.reserve(lines.size() - first);
  for (std::size_t i = first; i < lines.size(); ++i) {
    SplitFields(lines[i].text, table.separator, fields);
    MeasurementRow row;
    row.line = lines[i].number;
    row.cellOffset = static_cast<std::uint32_t>(table.cells.size());
    bool slashedRow = false;
    for (std::size_t c = 0; c < columns; ++c) {
      if (static_cast<int>(c) == table.timeColumn || c >= fields.size()) {
        table.cells.push_back(kNaN);
        continue;
      }
      const double value = ParseNumber(fields[c], dc);
      table.cells.push_back(value);
      if (!std::isnan(value)) ++numbers[c];
    }
    if (table.timeKind == MeasurementTimeKind::DateTime && static_cast<std::size_t>(table.timeColumn) < fields.size()) {
      const TimeFields t = ParseDateTime(fields[static_cast<std::size_t>(table.timeColumn)]);
      if (t.family != TimeFamily::None) {
        row.timeRead = true;
        row.first = t.first, row.second = t.second, row.year = t.year;
        row.secondsOfDay = t.seconds;
        ++formCounts[static_cast<std::size_t>(t.form)];
        if (t.family == TimeFamily::Slashed) {
          slashedRow = true;
          sawDayAbove12 = sawDayAbove12 || t.first > 12;
          sawMonthAbove12 = sawMonthAbove12 || t.second > 12;
        }
      }
    }
    rowSlashed.push_back(slashedRow);
    table.rows.push_back(row);
  }
  if (table.rows.empty()) return NoData("The file holds a header but no readings");

  const std::size_t rowCount = table.rows.size();
  for (std::size_t c = 0; c < columns; ++c)
    table.columns[c].numeric = static_cast<int>(c) != table.timeColumn && 2 * static_cast<std::size_t>(numbers[c]) > rowCount;

  if (table.timeKind == MeasurementTimeKind::None) {
    for (std::size_t c = 0; c < columns && table.timeColumn < 0; ++c)
      if (table.columns[c].numeric) table.timeColumn = static_cast<int>(c);
    const bool another = std::count_if(table.columns.begin(), table.columns.end(),
                                       [](const MeasurementColumn& col) { return col.numeric; }) >= 2;
    if (table.timeColumn < 0 || !another)
      return NoData("No column of dates and times, or of elapsed hours beside a column of readings, was found");
    table.timeKind = MeasurementTimeKind::ElapsedHours;
    table.columns[static_cast<std::size_t>(table.timeColumn)].numeric = false;
    for (MeasurementRow& row : table.rows) {
      row.hours = table.Cell(row, table.timeColumn);
      row.timeRead = !std::isnan(row.hours);
    }
  } else {
    // Mixed ISO forms read alike; the form shown is the one most lines use, and the
    // slashed form wins only when most lines use it (the others are then unreadable).
    const bool slashed = formCounts[2] > formCounts[0] + formCounts[1];
    table.dateForm = slashed ? DateTimeForm::Slashed : formCounts[1] > formCounts[0] ? DateTimeForm::IsoSpace : DateTimeForm::IsoT;
    for (std::size_t r = 0; r < rowCount; ++r)
      if (table.rows[r].timeRead && rowSlashed[r] != slashed) table.rows[r].timeRead = false;
    if (slashed) {
      table.detectedOrder = sawDayAbove12 == sawMonthAbove12 ? DayMonthOrder::Unknown
                            : sawDayAbove12                  ? DayMonthOrder::DayFirst
                                                             : DayMonthOrder::MonthFirst;
      table.dayMonthAmbiguous = table.detectedOrder == DayMonthOrder::Unknown;
    }
  }

  int numeric = 0;
  for (std::size_t c = 0; c < columns; ++c)
    if (table.columns[c].numeric) {
      ++numeric;
      table.proposedColumn = static_cast<int>(c);
    }
  if (numeric != 1) table.proposedColumn = -1;
  table.status = MeasurementTableStatus::Parsed;
  return table;
}

MeasurementTable ReadMeasurementFile(const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!ReadWholeFile(path, bytes, &reason, kMaxFileBytes)) {
    MeasurementTable table;
    table.status = MeasurementTableStatus::ReadFailed;
    table.error = reason;
    return table;
  }
  return ParseMeasurements(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace kolma
