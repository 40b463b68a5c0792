// From a parsed logger table and the user's choices to an evenly spaced history: which
// readings are kept, the proposed step, the long gaps, and the linear resampling.
#include "core/analysis/measurement_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/analysis/logger_time.h"
#include "core/analysis/time_history_file.h"

namespace kolma {

namespace {

constexpr double kSerialEpochDays = 25569.0;  // 1970-01-01 as a spreadsheet day number

// A row's time in the table's own unit (seconds since 1970, UTC when the zone is known, for
// dates and day numbers; hours for elapsed hours); NaN when the row's time cannot be read
// in the chosen order. `written` receives the time as the file writes it.
double RowTime(const MeasurementTable& table, const MeasurementRow& row, DayMonthOrder order, double zoneSeconds,
               double& written) {
  if (!row.timeRead) return std::nan("");
  if (table.timeKind == MeasurementTimeKind::ElapsedHours) return written = row.clock;
  if (table.timeKind == MeasurementTimeKind::SerialDays) return written = (row.clock - kSerialEpochDays) * 86400.0;
  int month = row.first, day = row.second;  // ISO: year-month-day
  if (table.dateForm == DateTimeForm::Dotted) std::swap(month, day);
  if (table.dateForm == DateTimeForm::Slashed) {
    month = order == DayMonthOrder::DayFirst ? row.second : row.first;
    day = order == DayMonthOrder::DayFirst ? row.first : row.second;
  }
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(row.year, month)) return std::nan("");
  written = static_cast<double>(DaysFromCivil(row.year, static_cast<unsigned>(month), static_cast<unsigned>(day))) *
                86400.0 + row.clock;
  return written - (row.hasOffset ? row.offsetMinutes * 60.0 : zoneSeconds);
}

// Six significant digits, as a person reads an hour count: 0.166667, 8760, 1.5.
std::string FormatHours(double hours) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, hours, std::chars_format::general, 6).ptr;
  return std::string(text, end);
}

// Kept small: ten years of readings every ten minutes are half a million of them.
struct Reading {
  double time;  // on one time line: hours, or seconds since 1970 in UTC when the zone is known
  double value;
  std::uint32_t row;  // index into the table's rows
};

// How the rows' times are read: the table and the user's order and zone.
struct TimeReading {
  const MeasurementTable& table;
  DayMonthOrder order;
  bool zoneStated;
  double zoneSeconds;

  const MeasurementRow& Row(const Reading& r) const { return table.rows[r.row]; }
  // Its offset from UTC is known (written in the file or stated by the user).
  bool Zoned(const Reading& r) const {
    return table.timeKind != MeasurementTimeKind::ElapsedHours && (Row(r).hasOffset || zoneStated);
  }
  // A reading's time as the user knows it from the file.
  std::string Format(const Reading& r) const {
    double written = 0.0;
    RowTime(table, Row(r), order, zoneSeconds, written);
    if (table.timeKind == MeasurementTimeKind::ElapsedHours) return FormatHours(written) + " h";
    if (!Zoned(r)) return FormatCalendarTime(written);
    const int offset = Row(r).hasOffset ? Row(r).offsetMinutes : static_cast<int>(zoneSeconds / 60.0);
    return FormatCalendarTime(written) + " " + FormatUtcOffset(offset);
  }
};

std::string Plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// A logger on local time without offsets writes the autumn's repeated hour after the first:
// the readings go back by an hour less one step. Later readings are moved an hour on, and
// back again where the clock then jumps forward by an hour more than a step.
void FollowClockChanges(const TimeReading& view, std::vector<Reading>& readings, ImportResult& result) {
  std::vector<double> steps;
  steps.reserve(readings.size());
  for (std::size_t i = 1; i < readings.size(); ++i)
    if (readings[i].time > readings[i - 1].time) steps.push_back(readings[i].time - readings[i - 1].time);
  if (steps.empty()) return;
  std::nth_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2), steps.end());
  const double step = steps[steps.size() / 2];
  if (!(step < 3600.0)) return;  // with hourly readings the repeated hour is not told from duplicates
  const double tolerance = std::max(1.0, 0.1 * step);
  double shift = 0.0, previous = readings[0].time;
  for (std::size_t i = 1; i < readings.size(); ++i) {
    const double jump = readings[i].time - previous;
    previous = readings[i].time;
    const bool local = !view.Zoned(readings[i]) && !view.Zoned(readings[i - 1]);
    if (local && std::abs(jump - (step - 3600.0)) <= tolerance) {
      shift += 3600.0;
      result.clockBack.push_back(view.Format(readings[i]));
    } else if (local && shift > 0.0 && std::abs(jump - (step + 3600.0)) <= tolerance) {
      shift -= 3600.0;
      result.clockForward.push_back(view.Format(readings[i]));
    }
    readings[i].time += shift;
  }
}

// What the table tells, shown whatever the choices still lack.
void AddTableNotes(const MeasurementTable& table, const ImportChoices& choices, ImportResult& r) {
  if (table.skippedAbove > 0)
    r.notes.push_back("Skipped " + Plural(static_cast<std::size_t>(table.skippedAbove), "line", "lines") +
                      (table.headerLine > 0 ? " above the header" : " above the readings"));
  if (table.unitLine > 0) r.notes.push_back("Skipped the units on line " + std::to_string(table.unitLine));
  if (table.runningNumber)
    r.notes.push_back("\"" + table.columns[static_cast<std::size_t>(table.timeColumn)].title +
                      "\" counts 1, 2, 3...: no other column holds times, so it is read as hours");
  if (table.timeKind == MeasurementTimeKind::DateTime || table.timeKind == MeasurementTimeKind::SerialDays) {
    if (!std::isnan(choices.utcOffsetHours))
      r.notes.push_back("Times without an offset are read at " +
                        FormatUtcOffset(static_cast<int>(std::lround(choices.utcOffsetHours * 60))) +
                        ", without clock changes");
    else if (table.utcOffsets)
      r.notes.push_back("Times are brought to one time line by their UTC offsets");
  }
}

// What reading the rows found.
void AddReadingNotes(ImportResult& r) {
  if (r.newestFirst) r.notes.push_back("The newest reading comes first: the file is read from its end");
  for (const std::string& at : r.clockBack)
    r.notes.push_back("The clock goes back an hour at " + at + ": the repeated hour is read after the first");
  for (const std::string& at : r.clockForward) r.notes.push_back("The clock goes forward an hour at " + at);
}

ImportResult Refuse(ImportResult result, ImportRefusal refusal, std::string error) {
  result.refusal = refusal;
  result.error = std::move(error);
  result.values = TVector();
  result.timeStep = 0.0;
  return result;
}

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
  const bool zoneStated = !std::isnan(choices.utcOffsetHours);
  if (zoneStated && !(std::abs(choices.utcOffsetHours) <= 14.0))
    return Refuse(std::move(result), ImportRefusal::BadStep, "The UTC offset must lie between -14 and +14 hours");
  AddTableNotes(table, choices, result);

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
  const double zoneSeconds = zoneStated ? std::round(choices.utcOffsetHours * 60.0) * 60.0 : 0.0;
  const TimeReading view{table, order, zoneStated, zoneSeconds};
  std::vector<Reading> readings;
  readings.reserve(table.rows.size());
  for (std::uint32_t r = 0; r < table.rows.size(); ++r) {
    const MeasurementRow& row = table.rows[r];
    double written = 0.0;
    const double time = RowTime(table, row, order, zoneSeconds, written);
    const double value = table.Cell(row, column);
    if (std::isnan(time) || std::isnan(value))
      result.refused.push_back({row.line, ReadingRefusal::Unparsable});
    else
      readings.push_back({time, value, r});
  }
  for (const int line : table.shortLines) result.refused.push_back({line, ReadingRefusal::Unparsable});
  // Newest first, as some databases export: read backwards rather than refuse nearly all.
  std::size_t falling = 0, same = 0;
  for (std::size_t i = 1; i < readings.size(); ++i) {
    falling += readings[i].time < readings[i - 1].time ? 1 : 0;
    same += readings[i].time == readings[i - 1].time ? 1 : 0;
  }
  result.newestFirst = readings.size() > 1 && 2 * falling > readings.size() - 1;
  if (result.newestFirst) std::reverse(readings.begin(), readings.end());
  if (table.timeKind == MeasurementTimeKind::DateTime && !zoneStated && readings.size() > 2)
    FollowClockChanges(view, readings, result);

  // The readings left out of the longest run are moved aside, the run stays in place.
  std::vector<Reading> dropped;
  const bool inOrder = std::adjacent_find(readings.begin(), readings.end(), [](const Reading& a, const Reading& b) {
                         return !(a.time < b.time);
                       }) == readings.end();
  if (!inOrder) {  // the usual file needs no search for the longest run
    const std::vector<std::size_t> keptIndex = LongestIncreasing(readings);
    std::size_t k = 0, to = 0;
    for (std::size_t i = 0; i < readings.size(); ++i) {
      if (k < keptIndex.size() && keptIndex[k] == i) {
        readings[to++] = readings[i];
        ++k;
      } else {
        dropped.push_back(readings[i]);
      }
    }
    readings.resize(to);
  }
  const std::vector<Reading>& kept = readings;
  // A dropped reading at the time of a kept one is a duplicate rather than out of order.
  for (const Reading& d : dropped) {
    const auto at = std::lower_bound(kept.begin(), kept.end(), d.time,
                                     [](const Reading& r, double t) { return r.time < t; });
    const bool duplicate = at != kept.end() && at->time == d.time;
    result.refused.push_back({view.Row(d).line, duplicate ? ReadingRefusal::Duplicate : ReadingRefusal::OutOfOrder});
  }
  std::sort(result.refused.begin(), result.refused.end(),
            [](const RefusedReading& a, const RefusedReading& b) { return a.line < b.line; });
  AddReadingNotes(result);

  result.readings = static_cast<int>(kept.size());
  if (kept.size() < 2)
    return Refuse(std::move(result), ImportRefusal::TooFewReadings,
                  "Fewer than two readings could be used: nothing to resample");

  const double toHours = table.timeKind == MeasurementTimeKind::ElapsedHours ? 1.0 : 1.0 / 3600.0;
  const double t0 = kept.front().time;
  std::vector<double> hours(kept.size());
  for (std::size_t i = 0; i < kept.size(); ++i) hours[i] = (kept[i].time - t0) * toHours;
  result.firstTime = view.Format(kept.front());
  result.lastTime = view.Format(kept.back());
  result.spanHours = hours.back();
  if (!std::isfinite(result.spanHours))
    return Refuse(std::move(result), ImportRefusal::TooManySamples, "The readings span more time than a history can hold");
  // Most readings at the time of the one before: the median interval of the file is 0.
  if (2 * same > kept.size() + dropped.size() - 1)
    return Refuse(std::move(result), ImportRefusal::BadStep,
                  "Most readings are at the same time as the one before (readings at the same time): the median "
                  "interval is 0. Choose the time column, or a column of times of day beside the dates");

  std::vector<double> intervals(kept.size() - 1);
  for (std::size_t i = 1; i < kept.size(); ++i) intervals[i - 1] = hours[i] - hours[i - 1];
  result.proposedStepHours = Median(intervals);
  result.stepHours = choices.stepHours > 0.0 ? choices.stepHours : result.proposedStepHours;

  if (!(choices.maxGapHours > 0.0))
    return Refuse(std::move(result), ImportRefusal::BadStep, "The gap limit must be a positive number of hours");
  // Every hole interpolation bridges: at least one reading missing, or longer than the limit.
  for (std::size_t i = 1; i < kept.size(); ++i) {
    const bool longGap = intervals[i - 1] > choices.maxGapHours * (1.0 + 1e-9);
    if (!longGap && !(intervals[i - 1] > 1.5 * result.proposedStepHours)) continue;
    const MeasurementGap gap{hours[i - 1], hours[i], view.Format(kept[i - 1]), view.Format(kept[i])};
    result.holes.push_back(gap);
    result.bridgedHours += gap.Hours();
    if (longGap) result.longGaps.push_back(gap);
  }
  if (!result.longGaps.empty() && !choices.bridgeLongGaps) {
    const MeasurementGap& gap = result.longGaps.front();
    std::string error = "A gap of " + FormatHours(gap.Hours()) + " h from " + gap.start + " to " + gap.end +
                        " is longer than the limit of " + FormatHours(choices.maxGapHours) + " h";
    if (result.longGaps.size() > 1) error += " (" + std::to_string(result.longGaps.size()) + " such gaps)";
    return Refuse(std::move(result), ImportRefusal::LongGap, error);
  }

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

  // Linear interpolation between the readings on either side of each sample time; the
  // readings are bounded by kMaxReadingMagnitude, so their difference cannot overflow.
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
  for (const MeasurementGap& hole : result.holes)
    result.notes.push_back("Bridged by interpolation: " + FormatHours(hole.Hours()) + " h from " + hole.start + " to " +
                           hole.end);
  return result;
}

std::string ImportResult::ManyRefusedText() const {
  return std::to_string(refused.size()) + " of the " +
         std::to_string(refused.size() + static_cast<std::size_t>(std::max(readings, 0))) + " readings were refused";
}

}  // namespace kolma
