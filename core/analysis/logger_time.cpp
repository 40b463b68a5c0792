// Reading the date and time fields of logger files, and the calendar arithmetic behind them.
#include "core/analysis/logger_time.h"

#include <cmath>
#include <cstdio>

namespace kolma {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
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

// "Z", "+01:00", "+0100" or "+01" to the end of s.
bool ParseOffset(std::string_view s, std::size_t pos, LoggerTime& t) {
  if (pos == s.size()) return true;
  if (s[pos] == 'Z' && pos + 1 == s.size()) {
    t.hasOffset = true;
    t.offsetMinutes = 0;
    return true;
  }
  if (s[pos] != '+' && s[pos] != '-') return false;
  const int sign = s[pos] == '-' ? -1 : 1;
  ++pos;
  int h = 0, m = 0;
  if (!ReadDigits(s, pos, 2, 2, h)) return false;
  if (pos < s.size() && s[pos] == ':') ++pos;
  if (pos < s.size() && !ReadDigits(s, pos, 2, 2, m)) return false;
  if (pos != s.size() || h > 14 || m > 59) return false;
  t.hasOffset = true;
  t.offsetMinutes = sign * (h * 60 + m);
  return true;
}

// "HH:MM" or "HH:MM:SS[.fff]", then an optional offset, to the end of s; 24:00 is the
// midnight that ends a day.
bool ParseTimeOfDay(std::string_view s, std::size_t pos, LoggerTime& t) {
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
  if (m > 59 || sec > 59 || h > 24 || (h == 24 && (m != 0 || sec != 0 || fraction != 0))) return false;
  if (!ParseOffset(s, pos, t)) return false;
  t.secondsOfDay = h * 3600.0 + m * 60.0 + sec + fraction;
  return true;
}

}  // namespace

LoggerTime ParseLoggerTime(std::string_view field) {
  const std::string_view s = Trim(field);
  LoggerTime t;
  std::size_t pos = 0;
  int a = 0, b = 0, c = 0;
  if (s.size() >= 10 && s[4] == '-') {
    if (!ReadDigits(s, pos, 4, 4, a) || !Expect(s, pos, '-') || !ReadDigits(s, pos, 2, 2, b) || !Expect(s, pos, '-') ||
        !ReadDigits(s, pos, 2, 2, c) || b < 1 || b > 12 || c < 1 || c > 31)
      return {};
    t.family = LoggerDateFamily::Iso;
    t.year = a, t.first = b, t.second = c;
    if (pos == s.size()) {
      t.kind = LoggerTimeKind::DateOnly;
      return t;
    }
    t.isoT = s[pos] == 'T';
    if (s[pos] != 'T' && s[pos] != ' ') return {};
    while (++pos < s.size() && s[pos] == ' ' && !t.isoT) {}
  } else if (s.size() >= 8 && (s[1] == '/' || s[2] == '/' || s[1] == '.' || s[2] == '.')) {
    if (!ReadDigits(s, pos, 1, 2, a) || pos >= s.size()) return {};
    const char mark = s[pos];
    if ((mark != '/' && mark != '.') || !Expect(s, pos, mark) || !ReadDigits(s, pos, 1, 2, b) ||
        !Expect(s, pos, mark) || !ReadDigits(s, pos, 4, 4, c) || a < 1 || b < 1 || a > 31 || b > 31)
      return {};
    if (mark == '/') {
      if (a > 12 && b > 12) return {};  // either order must be a possible date; which one holds is decided later
      t.family = LoggerDateFamily::Slashed;
    } else {
      if (b > 12) return {};
      t.family = LoggerDateFamily::Dotted;
    }
    t.first = a, t.second = b, t.year = c;
    if (pos == s.size()) {
      t.kind = LoggerTimeKind::DateOnly;
      return t;
    }
    if (s[pos] != ' ') return {};
    while (pos < s.size() && s[pos] == ' ') ++pos;
  } else {
    if (!ParseTimeOfDay(s, 0, t)) return {};
    t.kind = LoggerTimeKind::TimeOnly;
    return t;
  }
  if (!ParseTimeOfDay(s, pos, t)) return {};
  t.kind = LoggerTimeKind::DateTime;
  return t;
}

long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

int DaysInMonth(int year, int month) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

std::string FormatCalendarTime(double time) {
  const long long seconds = static_cast<long long>(std::round(time));
  long long days = seconds / 86400;
  long long ofDay = seconds % 86400;
  if (ofDay < 0) ofDay += 86400, --days;
  int y = 0, m = 0, d = 0;
  CivilFromDays(days, y, m, d);
  char text[48];
  const int hh = static_cast<int>(ofDay / 3600), mm = static_cast<int>(ofDay / 60 % 60), ss = static_cast<int>(ofDay % 60);
  if (ss != 0)
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, hh, mm, ss);
  else
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", y, m, d, hh, mm);
  return text;
}

std::string FormatUtcOffset(int offsetMinutes) {
  if (offsetMinutes == 0) return "UTC";
  const int a = std::abs(offsetMinutes);
  char text[16];
  std::snprintf(text, sizeof text, "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', a / 60, a % 60);
  return text;
}

}  // namespace kolma
