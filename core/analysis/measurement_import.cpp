// From a parsed logger table and the user's choices to an evenly spaced history: which
// readings are kept, the proposed step, the long gaps, and the linear resampling.
#include "core/analysis/measurement_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/analysis/time_history_file.h"

namespace kolma {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
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

// A row's time in the table's own unit (seconds since 1970 for dates, hours for elapsed
// hours); NaN when the row's time cannot be read in the chosen order.
double RowTime(const MeasurementTable& table, const MeasurementRow& row, DayMonthOrder order) {
  if (!row.timeRead) return std::nan("");
  if (table.timeKind == MeasurementTimeKind::ElapsedHours) return row.hours;
  int month = row.first, day = row.second;  // ISO: year-month-day
  if (table.dateForm == DateTimeForm::Slashed) {
    month = order == DayMonthOrder::DayFirst ? row.second : row.first;
    day = order == DayMonthOrder::DayFirst ? row.first : row.second;
  }
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(row.year, month)) return std::nan("");
  return static_cast<double>(DaysFromCivil(row.year, static_cast<unsigned>(month), static_cast<unsigned>(day))) *
             86400.0 + row.secondsOfDay;
}

// Six significant digits, as a person reads an hour count: 0.166667, 8760, 1.5.
std::string FormatHours(double hours) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, hours, std::chars_format::general, 6).ptr;
  return std::string(text, end);
}

// A time in the table's own unit as the user knows it from the file.
std::string FormatTime(const MeasurementTable& table, double time) {
  if (table.timeKind == MeasurementTimeKind::ElapsedHours) return FormatHours(time) + " h";
  const double rounded = std::round(time);
  const long long seconds = static_cast<long long>(rounded);
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

ImportResult Refuse(ImportResult result, ImportRefusal refusal, std::string error) {
  result.refusal = refusal;
  result.error = std::move(error);
  result.values = TVector();
  result.timeStep = 0.0;
  return result;
}

struct Reading {
  double time;
  double value;
  int line;
};

// Indices (into readings), in file order, of a longest strictly increasing run of times:
// the fewest readings are refused as out of order. Built from the end of the file so that
// where two runs are equally long, the reading that went back in time is the one left out
// (and of equal times, the first is kept).
std::vector<std::size_t> LongestIncreasing(const std::vector<Reading>& readings) {
  // tails[k]: the latest-starting run of length k + 1 found so far, by its first reading.
  std::vector<std::size_t> tails;
  std::vector<std::size_t> next(readings.size(), SIZE_MAX);
  for (std::size_t i = readings.size(); i-- > 0;) {
    const double t = readings[i].time;
    const auto at = std::lower_bound(tails.begin(), tails.end(), t,
                                     [&](std::size_t j, double value) { return readings[j].time > value; });
    if (at != tails.begin()) next[i] = *(at - 1);
    if (at == tails.end()) tails.push_back(i);
    else *at = i;
  }
  std::vector<std::size_t> kept;
  for (std::size_t i = tails.empty() ? SIZE_MAX : tails.back(); i != SIZE_MAX; i = next[i]) kept.push_back(i);
  return kept;
}

double Median(std::vector<double> values) {
  const std::size_t mid = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid), values.end());
  const double upper = values[mid];
  if (values.size() % 2 == 1) return upper;
  return (*std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid)) + upper) / 2.0;
}

}  // namespace

const char* ReadingRefusalText(ReadingRefusal reason) {
  switch (reason) {
    case ReadingRefusal::Unparsable: return "unparsable";
    case ReadingRefusal::OutOfOrder: return "out of time order";
    case ReadingRefusal::Duplicate: return "duplicate time";
  }
  return "";
}

ImportResult ImportMeasurements(const MeasurementTable& table, const ImportChoices& choices) {
  ImportResult result;
  if (!table.ok()) return Refuse(std::move(result), ImportRefusal::NoTable, table.error);

  const int column = choices.column >= 0 ? choices.column : table.proposedColumn;
  if (column < 0)
    return Refuse(std::move(result), ImportRefusal::ColumnNeeded,
                  "Several columns hold numbers: choose the temperature column");
  if (column >= static_cast<int>(table.columns.size()) || !table.columns[static_cast<std::size_t>(column)].numeric)
    return Refuse(std::move(result), ImportRefusal::ColumnNotNumeric,
                  "The chosen column does not hold readings: choose a column of numbers");
  DayMonthOrder order = choices.order != DayMonthOrder::Unknown ? choices.order : table.detectedOrder;
  if (table.timeKind == MeasurementTimeKind::DateTime && table.dateForm == DateTimeForm::Slashed &&
      order == DayMonthOrder::Unknown)
    return Refuse(std::move(result), ImportRefusal::OrderNeeded,
                  "The dates do not tell whether the day or the month comes first: choose the order");

  // Readable readings in file order; the others are refused as unparsable.
  std::vector<Reading> readings;
  readings.reserve(table.rows.size());
  for (const MeasurementRow& row : table.rows) {
    const double time = RowTime(table, row, order);
    const double value = table.Cell(row, column);
    if (std::isnan(time) || std::isnan(value))
      result.refused.push_back({row.line, ReadingRefusal::Unparsable});
    else
      readings.push_back({time, value, row.line});
  }
  // Newest first, as some databases export: read backwards rather than refuse nearly all.
  std::size_t falling = 0;
  for (std::size_t i = 1; i < readings.size(); ++i) falling += readings[i].time < readings[i - 1].time ? 1 : 0;
  result.newestFirst = readings.size() > 1 && 2 * falling > readings.size() - 1;
  if (result.newestFirst) std::reverse(readings.begin(), readings.end());

  const std::vector<std::size_t> keptIndex = LongestIncreasing(readings);
  std::vector<Reading> kept;
  kept.reserve(keptIndex.size());
  std::vector<std::size_t> dropped;
  for (std::size_t i = 0, k = 0; i < readings.size(); ++i) {
    if (k < keptIndex.size() && keptIndex[k] == i) {
      kept.push_back(readings[i]);
      ++k;
    } else {
      dropped.push_back(i);
    }
  }
  // A dropped reading at the time of a kept one is a duplicate rather than out of order.
  for (const std::size_t i : dropped) {
    const auto at = std::lower_bound(kept.begin(), kept.end(), readings[i].time,
                                     [](const Reading& r, double t) { return r.time < t; });
    const bool duplicate = at != kept.end() && at->time == readings[i].time;
    result.refused.push_back({readings[i].line, duplicate ? ReadingRefusal::Duplicate : ReadingRefusal::OutOfOrder});
  }
  std::sort(result.refused.begin(), result.refused.end(),
            [](const RefusedReading& a, const RefusedReading& b) { return a.line < b.line; });

  result.readings = static_cast<int>(kept.size());
  if (kept.size() < 2)
    return Refuse(std::move(result), ImportRefusal::TooFewReadings,
                  "Fewer than two readings could be used: nothing to resample");

  const double toHours = table.timeKind == MeasurementTimeKind::DateTime ? 1.0 / 3600.0 : 1.0;
  const double t0 = kept.front().time;
  std::vector<double> hours(kept.size());
  for (std::size_t i = 0; i < kept.size(); ++i) hours[i] = (kept[i].time - t0) * toHours;
  result.firstTime = FormatTime(table, kept.front().time);
  result.lastTime = FormatTime(table, kept.back().time);
  result.spanHours = hours.back();
  if (!std::isfinite(result.spanHours))
    return Refuse(std::move(result), ImportRefusal::TooManySamples, "The readings span more time than a history can hold");

  std::vector<double> intervals(kept.size() - 1);
  for (std::size_t i = 1; i < kept.size(); ++i) intervals[i - 1] = hours[i] - hours[i - 1];
  result.proposedStepHours = Median(intervals);
  result.stepHours = choices.stepHours > 0.0 ? choices.stepHours : result.proposedStepHours;

  if (!(choices.maxGapHours > 0.0))
    return Refuse(std::move(result), ImportRefusal::BadStep, "The gap limit must be a positive number of hours");
  for (std::size_t i = 1; i < kept.size(); ++i)
    if (intervals[i - 1] > choices.maxGapHours * (1.0 + 1e-9))
      result.longGaps.push_back({hours[i - 1], hours[i], FormatTime(table, kept[i - 1].time), FormatTime(table, kept[i].time)});
  if (!result.longGaps.empty() && !choices.bridgeLongGaps) {
    const MeasurementGap& gap = result.longGaps.front();
    std::string error = "A gap of " + FormatHours(gap.Hours()) + " h from " + gap.start + " to " + gap.end +
                        " is longer than the limit of " + FormatHours(choices.maxGapHours) + " h";
    if (result.longGaps.size() > 1) error += " (" + std::to_string(result.longGaps.size()) + " such gaps)";
    return Refuse(std::move(result), ImportRefusal::LongGap, error);
  }
  for (const MeasurementGap& gap : result.longGaps) result.bridgedHours += gap.Hours();

  const double step = result.stepHours;
  if (!std::isfinite(step) || step <= 0.0)
    return Refuse(std::move(result), ImportRefusal::BadStep, "The time step must be a positive number of hours");
  const double count = std::floor(result.spanHours / step * (1.0 + 1e-12)) + 1.0;
  if (count < 2.0)
    return Refuse(std::move(result), ImportRefusal::BadStep, "The time step is longer than the whole record");
  if (count > kMaxHistorySamples)
    return Refuse(std::move(result), ImportRefusal::TooManySamples,
                  "At this step the history would have more than " + std::to_string(kMaxHistorySamples) +
                      " samples: choose a longer step");

  // Linear interpolation between the readings on either side of each sample time.
  const int n = static_cast<int>(count);
  TVector values(n);
  double* out = values.Data();
  std::size_t a = 0;  // hours[a] <= t <= hours[a + 1]
  for (int s = 0; s < n; ++s) {
    const double t = std::min(s * step, result.spanHours);
    while (a + 2 < hours.size() && hours[a + 1] < t) ++a;
    const double w = (t - hours[a]) / (hours[a + 1] - hours[a]);
    out[s] = kept[a].value + w * (kept[a + 1].value - kept[a].value);
  }
  result.values = std::move(values);
  result.timeStep = step;
  result.refusal = ImportRefusal::None;
  return result;
}

}  // namespace kolma
