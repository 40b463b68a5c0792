#pragma once
// Times as data loggers write them: one field of a delimited line read as a date and time,
// a date alone or a time of day alone, and the calendar arithmetic to turn them into
// seconds and back.
#include <string>
#include <string_view>

namespace kolma {

enum class LoggerTimeKind {
  None,       // not a time
  DateTime,   // a date and a time of day
  DateOnly,   // a date without a time (its time may stand in the next column)
  TimeOnly,   // a time of day without a date
};

enum class LoggerDateFamily {
  Iso,      // 2026-03-01 (month and day fixed)
  Slashed,  // 01/03/2026 (day/month order may be ambiguous)
  Dotted,   // 01.03.2026 (always day first)
};

struct LoggerTime {
  LoggerTimeKind kind = LoggerTimeKind::None;
  LoggerDateFamily family = LoggerDateFamily::Iso;
  bool isoT = false;  // an ISO date and time joined by "T"
  // The date's fields as written: month/day for ISO, day/month or month/day for the
  // slashed form, day/month for the dotted form.
  int first = 0, second = 0, year = 0;
  double secondsOfDay = 0.0;
  bool hasOffset = false;  // "Z" or "+01:00" followed the time
  int offsetMinutes = 0;   // local time minus UTC
};

// Reads a whole field (blanks around it allowed). Dates: yyyy-mm-dd, d/m/yyyy, d.m.yyyy;
// times: H:MM, H:MM:SS, H:MM:SS.fff, with "Z", "+01:00", "+0100" or "+01" after a time.
LoggerTime ParseLoggerTime(std::string_view field);

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long long DaysFromCivil(long long year, unsigned month, unsigned day);
void CivilFromDays(long long days, int& year, int& month, int& day);
int DaysInMonth(int year, int month);

// Seconds since 1970 as "2026-03-01 14:00" (":SS" only when not 0).
std::string FormatCalendarTime(double seconds);
// A UTC offset as "UTC", "+01:00" or "-05:30".
std::string FormatUtcOffset(int offsetMinutes);

}  // namespace kolma
