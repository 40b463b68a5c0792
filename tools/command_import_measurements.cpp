// kolma-batch import-measurements: a logger's file of time-stamped readings to a history file.
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "core/analysis/measurement_import.h"
#include "core/analysis/time_history_file.h"
#include "tools/batch_support.h"

namespace kolma::batch {

namespace {

constexpr const char* kName = "import-measurements";

// Hours as a person reads them: 3, 0.5, 1.16667.
std::string FormatHours(double hours) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", hours);
  return text;
}

std::optional<double> Number(const std::string& text) {
  std::size_t used = 0;
  double value = 0.0;
  try {
    value = std::stod(text, &used);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (used != text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> PositiveNumber(const std::string& text) {
  const std::optional<double> value = Number(text);
  if (!value || *value <= 0.0) return std::nullopt;
  return value;
}

struct Options {
  std::string in, out;
  ImportChoices choices;
  int timeColumn = -1;  // 0-based; -1: found in the file
  bool acceptWarnings = false;
};

// The command line, or nothing after a message on stderr.
std::optional<Options> ParseOptions(const CommandArguments& arguments) {
  Options o;
  o.choices.maxGapHours = 6.0;
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "--day-first" || a == "--month-first") {
      o.choices.order = a == "--day-first" ? DayMonthOrder::DayFirst : DayMonthOrder::MonthFirst;
      continue;
    }
    if (a == "--accept-warnings") {
      o.acceptWarnings = true;
      continue;
    }
    if (a == "--utc-offset") {
      if (i + 1 >= arguments.size()) return ReportUsage(kName), std::nullopt;
      const std::string& v = arguments[++i];
      const std::optional<double> hours = Number(v);
      if (!hours || std::abs(*hours) > 14.0) {
        ReportFailure(kName, "--utc-offset wants hours from -14 to 14, not '" + v + "'");
        return std::nullopt;
      }
      o.choices.utcOffsetHours = *hours;
      continue;
    }
    if (a == "--step" || a == "--max-gap" || a == "--column" || a == "--time-column") {
      if (i + 1 >= arguments.size()) return ReportUsage(kName), std::nullopt;
      const std::string& v = arguments[++i];
      const bool column = a == "--column" || a == "--time-column";
      const std::optional<double> number = PositiveNumber(v);
      if (!number || (column && (*number != std::floor(*number) || *number > 10000))) {
        ReportFailure(kName, a + " wants a positive " + (column ? "column number" : "number of hours") + ", not '" +
                                 v + "'");
        return std::nullopt;
      }
      if (a == "--step") o.choices.stepHours = *number;
      if (a == "--max-gap") o.choices.maxGapHours = *number;
      if (a == "--column") o.choices.column = static_cast<int>(*number) - 1;
      if (a == "--time-column") o.timeColumn = static_cast<int>(*number) - 1;
      continue;
    }
    if (a.starts_with("--")) return ReportUsage(kName), std::nullopt;
    paths.push_back(a);
  }
  if (paths.size() != 2) return ReportUsage(kName), std::nullopt;
  o.in = paths[0];
  o.out = paths[1];
  return o;
}

// What the batch user must add or change, in the command's own options.
std::string BatchReason(const ImportResult& result, const MeasurementTable& table, const Options& o) {
  switch (result.refusal) {
    case ImportRefusal::OrderNeeded:
      return "the dates do not tell whether the day or the month comes first: add --day-first or --month-first";
    case ImportRefusal::ColumnNeeded: {
      std::string list;
      for (std::size_t c = 0; c < table.columns.size(); ++c)
        if (table.columns[c].numeric) list += (list.empty() ? "" : ", ") + std::to_string(c + 1) + " " + table.columns[c].title;
      return "several columns hold numbers (" + list + "): add --column N";
    }
    case ImportRefusal::ColumnNotNumeric:
      return "column " + std::to_string(o.choices.column + 1) + " does not hold readings";
    case ImportRefusal::LongGap:
      return result.error + " (--max-gap); nothing written";
    default:
      return result.error + "; nothing written";
  }
}

}  // namespace

int RunImportMeasurements(const CommandArguments& arguments) {
  const std::optional<Options> o = ParseOptions(arguments);
  if (!o) return kExitFailure;
  if (!OutputsAreSafe({o->in}, {o->out})) return kExitFailure;
  const MeasurementTable table = ReadMeasurementFile(o->in, o->timeColumn);
  if (!table.ok()) {
    ReportFailure(o->in, table.error);
    return kExitFailure;
  }
  const ImportResult result = ImportMeasurements(table, o->choices);
  // Refused readings are never dropped silently, whether the import goes on or not.
  for (const RefusedReading& r : result.refused)
    ReportFailure(o->in, "line " + std::to_string(r.line) + ": " + ReadingRefusalText(r.reason) + ", left out");
  // How the file was read, and every hole bridged by interpolation.
  for (const std::string& note : result.notes) ReportFailure(o->in, note);
  if (!result.ok()) {
    ReportFailure(o->in, BatchReason(result, table, *o));
    const bool usage = result.refusal == ImportRefusal::OrderNeeded || result.refusal == ImportRefusal::ColumnNeeded ||
                       result.refusal == ImportRefusal::ColumnNotNumeric || result.refusal == ImportRefusal::BadStep;
    return usage ? kExitFailure : kExitWarning;
  }
  // A file read with the wrong column or form refuses many readings: no history from it
  // unless the user says so.
  if (result.ManyRefused() && !o->acceptWarnings) {
    ReportFailure(o->in, result.ManyRefusedText() + " (more than a tenth): add --accept-warnings to import the rest; "
                         "nothing written");
    return kExitWarning;
  }

  const TimeHistoryWriteResult written = WriteTimeHistoryFile(o->out, result.values, result.timeStep);
  if (!written.ok) {
    ReportFailure(o->out, written.error);
    return kExitFailure;
  }
  std::fprintf(stderr, "%d readings from %s to %s; %d samples every %g h written (hour 0 is %s; %s h bridged)\n",
               result.readings, result.firstTime.c_str(), result.lastTime.c_str(), result.values.NrOfElem(),
               result.timeStep, result.firstTime.c_str(), FormatHours(result.bridgedHours).c_str());
  return kExitOk;
}

}  // namespace kolma::batch
