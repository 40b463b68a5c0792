#pragma once
// Measured records as data loggers and monitoring databases export them: a delimited
// text file of time-stamped readings, turned into an evenly spaced history.
//
// Two steps, so that a dialog can show what was found before anything is decided:
//   1. ParseMeasurements reads the text once into a MeasurementTable (separator, header,
//      columns, time column and its form, whether the day/month order is ambiguous);
//   2. ImportMeasurements takes the user's choices (temperature column, day/month order,
//      step, gap limit) and gives the summary and the resampled values, or a refusal.
// Step 2 is cheap enough to repeat every time a choice changes.
#include <cstdint>
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
};

enum class DateTimeForm {
  IsoT,        // 2026-03-01T14:00 (seconds allowed)
  IsoSpace,    // 2026-03-01 14:00 (seconds allowed)
  Slashed,     // 01/03/2026 14:00 (seconds allowed; day/month order may be ambiguous)
};

struct MeasurementColumn {
  std::string title;     // the header's title, or "Column N" (N from 1) without a header
  bool numeric = false;  // most of its fields are numbers: it can be a temperature column
};

// One data line as read: its line number in the file and its fields, still undecided
// where the choices matter (day/month order).
struct MeasurementRow {
  int line = 0;            // 1-based line number in the file
  bool timeRead = false;   // the time field matched the time column's form
  // Date-time: first and second field as written (day/month or month/day for the slashed
  // form, month/day for ISO), year and the time of day in seconds. Elapsed hours: hours.
  int first = 0, second = 0, year = 0;
  double secondsOfDay = 0.0;
  double hours = 0.0;
  std::uint32_t cellOffset = 0;  // index of the row's first cell in MeasurementTable::cells
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
  std::vector<MeasurementColumn> columns;

  int timeColumn = -1;  // 0-based index into columns, -1 when none
  MeasurementTimeKind timeKind = MeasurementTimeKind::None;
  DateTimeForm dateForm = DateTimeForm::IsoT;  // meaningful for DateTime only
  // The order the file itself tells (a first field above 12 means day first, a second
  // field above 12 month first); Unknown when no field tells it.
  DayMonthOrder detectedOrder = DayMonthOrder::Unknown;
  bool dayMonthAmbiguous = false;  // slashed dates with no field above 12: ask the user

  // 0-based index of the only numeric column besides the time column, -1 when there are
  // several (the user chooses) or none.
  int proposedColumn = -1;

  std::vector<MeasurementRow> rows;  // every non-empty line after the header
  // Every row's numbers, columns.size() per row; NaN where a field is not a number.
  std::vector<double> cells;

  bool ok() const { return status == MeasurementTableStatus::Parsed; }
  double Cell(const MeasurementRow& row, int column) const {
    return cells[row.cellOffset + static_cast<std::uint32_t>(column)];
  }
};

// Reads the text of a file once: separator, decimal comma, header, columns, time column.
MeasurementTable ParseMeasurements(std::string_view text);
// Only a regular file is read: a FIFO or a device is refused at once instead of blocking.
MeasurementTable ReadMeasurementFile(const std::filesystem::path& path);

struct ImportChoices {
  int column = -1;                            // 0-based temperature column; -1: the proposed one
  DayMonthOrder order = DayMonthOrder::Unknown;  // needed when the table's order is ambiguous
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
  double bridgedHours = 0.0;             // total of the long gaps bridged
  // The file lists its newest reading first (as some databases export): read backwards.
  bool newestFirst = false;

  TVector values;          // resampled, first sample at the first reading
  double timeStep = 0.0;   // hours, equal to stepHours when accepted

  bool ok() const { return refusal == ImportRefusal::None; }
};

ImportResult ImportMeasurements(const MeasurementTable& table, const ImportChoices& choices);

}  // namespace kolma
