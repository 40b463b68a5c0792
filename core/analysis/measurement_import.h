#pragma once
// Measured records as data loggers and monitoring databases export them: a delimited
// text file of time-stamped readings, turned into an evenly spaced history.
//
// Two steps, so that a dialog can show what was found before anything is decided:
//   1. ParseMeasurements reads the text once into a MeasurementTable (separator, title lines,
//      header, columns, time column and its form, whether the day/month order is ambiguous);
//      the user's choice of the time column reads the text again;
//   2. ImportMeasurements takes the user's choices (temperature column, day/month order,
//      zone, step, gap limit) and gives the summary and the resampled values, or a refusal.
// Step 2 is cheap enough to repeat every time a choice changes.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/numeric/vector.h"

namespace kolma {

enum class DayMonthOrder {
  Unknown,     // not known from the file: ask the user
  DayFirst,    // 01/03/2026 is the 1st of March
  MonthFirst,  // 01/03/2026 is the 3rd of January
};

enum class MeasurementTimeKind {
  None,          // no time column was found: nothing can be imported
  DateTime,      // calendar dates and times (dateForm tells which form)
  ElapsedHours,  // a number of hours since some start
  SerialDays,    // spreadsheet day numbers: days since 1899-12-30, the fraction the time of day
};

enum class DateTimeForm {
  IsoT,        // 2026-03-01T14:00 (seconds allowed)
  IsoSpace,    // 2026-03-01 14:00 (seconds allowed)
  Slashed,     // 01/03/2026 14:00 (seconds allowed; day/month order may be ambiguous)
  Dotted,      // 01.03.2026 14:00 (seconds allowed; day first)
};

struct MeasurementColumn {
  std::string title;     // the header's title, or "Column N" (N from 1) without a header
  bool numeric = false;  // most of its fields are numbers: it can be a temperature column
};

// One data line as read: its line number in the file and its fields, still undecided
// where the choices matter (day/month order, zone). Kept small: a file of half a million
// readings holds half a million rows.
struct MeasurementRow {
  int line = 0;                  // 1-based line number in the file
  std::uint32_t cellOffset = 0;  // index of the row's first cell in MeasurementTable::cells
  std::uint32_t cellCount = 0;   // cells of this row (a short line has fewer than the columns)
  bool timeRead = false;         // the time field(s) matched the time column's form
  bool hasOffset = false;        // the time carried "Z" or a UTC offset
  std::int16_t offsetMinutes = 0;  // local time minus UTC, when hasOffset
  // Date-time: first and second field as written (day/month or month/day for the slashed
  // form, month/day for ISO, day/month for the dotted form) and the year.
  std::uint8_t first = 0, second = 0;
  std::int16_t year = 0;
  // Date-time: the time of day in seconds; elapsed hours: hours; serial days: days.
  double clock = 0.0;
};

enum class MeasurementTableStatus {
  Parsed,      // the table holds the file's rows
  ReadFailed,  // the file could not be opened or read (error tells why)
  NoData,      // no line with a time and a number was found (error tells why)
};

struct MeasurementTable {
  MeasurementTableStatus status = MeasurementTableStatus::NoData;
  std::string error;

  char separator = ',';       // ',', ';' or '\t'
  bool decimalComma = false;  // numbers are written "12,5"
  int headerLine = 0;         // 1-based line of the header, 0 when there is none
  int skippedAbove = 0;       // title lines above the header (or above the first reading), skipped
  int unitLine = 0;           // 1-based line of units under the header, skipped; 0 when none
  std::vector<MeasurementColumn> columns;

  int timeColumn = -1;  // 0-based index into columns, -1 when none
  // The column of the times of day when dates and times stand in two adjacent columns
  // (the date in timeColumn); -1 otherwise.
  int timeOfDayColumn = -1;
  // The time column counts 1, 2, 3... and is read as hours only because no other column
  // can be the time.
  bool runningNumber = false;
  bool utcOffsets = false;  // some times carry "Z" or a UTC offset
  MeasurementTimeKind timeKind = MeasurementTimeKind::None;
  DateTimeForm dateForm = DateTimeForm::IsoT;  // meaningful for DateTime only
  // The order the file itself tells (a first field above 12 means day first, a second
  // field above 12 month first); Unknown when no field tells it.
  DayMonthOrder detectedOrder = DayMonthOrder::Unknown;
  bool dayMonthAmbiguous = false;  // slashed dates with no field above 12: ask the user

  // 0-based index of the only numeric column besides the time column, -1 when there are
  // several (the user chooses) or none.
  int proposedColumn = -1;

  // Every non-empty line after the header (and the unit line) with at least two fields.
  std::vector<MeasurementRow> rows;
  // Lines there with a single field: no time and reading on them (refused as unparsable).
  std::vector<int> shortLines;
  // Every row's numbers, at most columns.size() per row; NaN where a field is not a number.
  std::vector<double> cells;
  // The text read, so that another choice of the time column can read it again.
  std::string source;

  bool ok() const { return status == MeasurementTableStatus::Parsed; }
  double Cell(const MeasurementRow& row, int column) const {
    const auto c = static_cast<std::uint32_t>(column);
    return column >= 0 && c < row.cellCount ? cells[row.cellOffset + c] : std::numeric_limits<double>::quiet_NaN();
  }
};

// Readings of a larger magnitude are refused as unreadable, as the analyses refuse them.
inline constexpr double kMaxReadingMagnitude = 1e15;

// Reads the text of a file once: separator, decimal comma, title lines, header, columns,
// time column. `timeColumn` (0-based) names the time column instead of finding it; a
// column of dates followed by one of times of day is read as one, whichever of the two
// is named.
MeasurementTable ParseMeasurements(std::string_view text, int timeColumn = -1);
// Only a regular file is read: a FIFO or a device is refused at once instead of blocking.
MeasurementTable ReadMeasurementFile(const std::filesystem::path& path, int timeColumn = -1);

struct ImportChoices {
  int column = -1;                            // 0-based temperature column; -1: the proposed one
  DayMonthOrder order = DayMonthOrder::Unknown;  // needed when the table's order is ambiguous
  // The logger's fixed offset from UTC in hours, for times written without one; NaN when
  // not stated: the times are then local and may follow the clock changes.
  double utcOffsetHours = std::numeric_limits<double>::quiet_NaN();
  double stepHours = 0.0;                     // 0 or less: the proposed step (median interval)
  double maxGapHours = 6.0;                   // gaps longer than this are listed
  bool bridgeLongGaps = false;                // the user accepts interpolating across them
};

enum class ReadingRefusal {
  Unparsable,  // the time or the chosen column's value could not be read
  OutOfOrder,  // earlier than the reading before it
  Duplicate,   // the same time as the reading before it
};

struct RefusedReading {
  int line = 0;  // 1-based line number in the file
  ReadingRefusal reason = ReadingRefusal::Unparsable;
};

// "unparsable", "out of time order", "duplicate time"
const char* ReadingRefusalText(ReadingRefusal reason);

struct MeasurementGap {
  double startHours = 0.0;  // hours after the first reading
  double endHours = 0.0;
  std::string start;        // the readings' times as the user knows them
  std::string end;
  double Hours() const { return endHours - startHours; }
};

enum class ImportRefusal {
  None,              // accepted: values and timeStep hold the history
  NoTable,           // the table was not parsed
  OrderNeeded,       // day/month order ambiguous and not chosen
  ColumnNeeded,      // several numeric columns and none chosen
  ColumnNotNumeric,  // the chosen column is the time column, text, or out of range
  TooFewReadings,    // fewer than two usable readings
  BadStep,           // the step or the gap limit is not a positive number, or the step outlasts the record
  LongGap,           // a gap longer than the limit and bridging not accepted
  TooManySamples,    // the resampled history would be longer than a history may be (or the span endless)
};

struct ImportResult {
  ImportRefusal refusal = ImportRefusal::NoTable;
  std::string error;  // why it was refused, in a sentence the user can act on

  // The summary, filled as far as the import got, so a dialog shows it even when refused.
  std::string firstTime;  // the first and last accepted readings' times
  std::string lastTime;
  double spanHours = 0.0;          // from the first to the last accepted reading
  int readings = 0;                // accepted readings
  double proposedStepHours = 0.0;  // median interval between accepted readings
  double stepHours = 0.0;          // the step used
  std::vector<MeasurementGap> longGaps;  // gaps longer than the limit, in time order
  std::vector<RefusedReading> refused;   // in line order
  // Every hole bridged by interpolation (an interval of more than one and a half times the
  // proposed step), in time order; the long gaps are among them.
  std::vector<MeasurementGap> holes;
  double bridgedHours = 0.0;             // total of the holes bridged
  // The file lists its newest reading first (as some databases export): read backwards.
  bool newestFirst = false;
  // The readings where a clock without offsets went back an hour (autumn) or forward
  // again, as written in the file.
  std::vector<std::string> clockBack, clockForward;
  // What the user should know about how the file was read, one sentence each: skipped
  // lines, the running number, the clock changes, the order, the zone.
  std::vector<std::string> notes;

  TVector values;          // resampled, first sample at the first reading
  double timeStep = 0.0;   // hours, equal to stepHours when accepted

  bool ok() const { return refusal == ImportRefusal::None; }
  // More than a tenth of the readings (and more than one) refused: the file is probably
  // not read as meant, and taking the history must be a deliberate choice.
  bool ManyRefused() const {
    const std::size_t all = refused.size() + static_cast<std::size_t>(std::max(readings, 0));
    return refused.size() > 1 && refused.size() * 10 > all;
  }
  std::string ManyRefusedText() const;  // "45 of the 4,300 readings were refused"
};

ImportResult ImportMeasurements(const MeasurementTable& table, const ImportChoices& choices);

}  // namespace kolma
