#include "tools/analysis_run.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <sstream>
#include <tuple>
#include <vector>

#include "core/analysis/default_time_step.h"
#include "core/analysis/direct_analysis.h"
#include "core/analysis/inverse_analysis.h"
#include "core/analysis/inverse_error.h"
#include "core/analysis/record_checks.h"
#include "core/formats/result_table_workbook.h"
#include "tools/batch_support.h"

namespace kolma::batch {
namespace {

bool Allowed(const std::string& allowed, const std::string& option) {
  std::istringstream words(allowed);
  std::string word;
  while (words >> word)
    if (word == option) return true;
  return false;
}

// Runs one analysis; its notes and warnings go to stderr, and on success `describe` gives the
// size of the work, printed there with the seconds it took.
template <typename Run, typename Describe, typename Completed = void (*)()>
int TimedRun(const char* what, bool acceptWarnings, Run run, Describe describe, Completed completed = [] {}) {
  const auto start = std::chrono::steady_clock::now();
  AnalysisOutcome outcome;
  try {
    outcome = run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kolma-batch: %s analysis: %s\n", what, error.what());
    return kExitWarning;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (const std::string& note : outcome.notes) std::fprintf(stderr, "kolma-batch: note: %s\n", note.c_str());
  for (const std::string& warning : outcome.warnings) std::fprintf(stderr, "Warning: %s\n", warning.c_str());
  if (!outcome.completed) return kExitWarning;
  completed();
  if (!outcome.warnings.empty() && !acceptWarnings) {
    std::fprintf(stderr, "kolma-batch: nothing written; --accept-warnings writes the table of this run anyway\n");
    return kExitWarning;
  }
  std::fprintf(stderr, "%s analysis: %s; %.3f s\n", what, describe().c_str(), seconds);
  return kExitOk;
}

}  // namespace

std::optional<AnalysisOptionsLine> ParseAnalysisOptions(const char* name, const CommandArguments& arguments,
                                                        const std::string& allowed) {
  AnalysisOptionsLine line;
  auto usage = [name]() -> std::optional<AnalysisOptionsLine> {
    ReportUsage(name);
    return std::nullopt;
  };
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (word.rfind("--", 0) != 0) {
      if (!line.projectPath.empty()) return usage();
      line.projectPath = word;
      continue;
    }
    const std::string option = word.substr(2);
    if (!Allowed(allowed, option)) {
      std::fprintf(stderr, "kolma-batch %s: unknown option %s\n", name, word.c_str());
      return usage();
    }
    if (option == "accept-warnings") {
      line.acceptWarnings = true;
      continue;
    }
    if (option == "report") {
      line.report = true;
      continue;
    }
    if (option == "direct" || option == "inverse") {
      if (!line.harmonics.empty()) return usage();
      line.harmonics = option;
      continue;
    }
    if (i + 1 >= arguments.size()) {
      std::fprintf(stderr, "kolma-batch %s: %s needs a value\n", name, word.c_str());
      return std::nullopt;
    }
    const std::string& value = arguments[++i];
    if (option == "time-step") {
      char* end = nullptr;
      const double step = std::strtod(value.c_str(), &end);
      if (end == value.c_str() || *end != '\0' || !std::isfinite(step) || step <= 0) {
        std::fprintf(stderr, "kolma-batch %s: the time step must be a positive number of hours, not '%s'\n", name,
                     value.c_str());
        return std::nullopt;
      }
      line.timeStep = step;
    } else if (option == "faces") {
      if (value != "user" && value != "inverse") {
        std::fprintf(stderr, "kolma-batch %s: --faces takes user or inverse\n", name);
        return std::nullopt;
      }
      line.faces = value;
    } else if (option == "thermometers") {
      if (value != "pair" && value != "all") {
        std::fprintf(stderr, "kolma-batch %s: --thermometers takes pair or all\n", name);
        return std::nullopt;
      }
      line.thermometers = value;
    } else if (option == "data") {
      line.data = value;
    } else if (option == "precision") {
      line.precision = value;
    } else if (option == "csv") {
      line.csvPath = value;
    } else if (option == "xls") {
      line.xlsPath = value;
    }
  }
  if (line.projectPath.empty() || (line.csvPath.empty() && line.xlsPath.empty() && !line.report)) return usage();
  return line;
}

int RunDirectOrReport(Project& project, double timeStep, bool useInverseFaces, bool acceptWarnings,
                      std::unique_ptr<TSummedField>* field) {
  const DirectAnalysisRequest request{timeStep, useInverseFaces};
  return TimedRun(
      "direct", acceptWarnings,
      [&] {
        return field ? RunDirectAnalysisForExport(project, request, *field) : RunDirectAnalysis(project, request);
      },
      [&] {
        if (field && *field) {
          const TSummedField& summed = **field;
          return std::to_string(summed.Steps()) + " steps of " + FormatDouble(summed.TimeStep()) + " h, " +
                 std::to_string(project.SectionProperties.NbDivisions + 1) + " points, " +
                 std::to_string(summed.HarmonicCount()) + " harmonics, summed as the table is written";
        }
        const auto& results = project.DirectResults;
        return std::to_string(results.Temperatures.NrOfRows()) + " steps of " + FormatDouble(results.TimeStep) +
               " h, " + std::to_string(project.SectionProperties.Nodes.NrOfElem()) + " points, " +
               std::to_string(project.DirectHarmonics.HarmonicCount) + " harmonics";
      });
}

int RunInverseOrReport(Project& project, double timeStep, bool acceptWarnings, std::optional<TInverseMethod> method,
                       bool report) {
  const TInverseMethod chosen =
      method ? *method : static_cast<TInverseMethod>(project.AnalysisOptions.InverseMethod);
  const std::vector<std::string> faults = InverseRecordFaults(project, chosen);
  for (const std::string& fault : faults) std::fprintf(stderr, "Warning: %s\n", fault.c_str());
  if (!faults.empty()) {
    std::fprintf(stderr, "Warning: %s\n", kRecordFaultsQuestion);
    if (!acceptWarnings) {
      std::fprintf(stderr, "kolma-batch: nothing run; --accept-warnings runs the inverse analysis anyway\n");
      return kExitWarning;
    }
  }
  return TimedRun(
      "inverse", acceptWarnings, [&] { return RunInverseAnalysis(project, timeStep, chosen); },
      [&] {
        const auto& results = project.InverseResults;
        return std::to_string(results.UpstreamTemperatures.NrOfElem()) + " steps of " +
               FormatDouble(results.TimeStep) + " h, " + std::to_string(project.InverseHarmonics.HarmonicCount) +
               " harmonics";
      },
      [&] {
        if (!report) return;
        const auto& r = project.InverseResults;
        for (const auto& [face, error, period] :
             {std::tuple{"upstream", r.UpstreamExpectedError, r.UpstreamShortestPeriod},
              std::tuple{"downstream", r.DownstreamExpectedError, r.DownstreamShortestPeriod}})
          std::printf("%s\n", FaceErrorLine(face, FaceErrorReport{error, period}).c_str());
        std::fflush(stdout);
      });
}

TInverseMethod InverseMethodOf(const AnalysisOptionsLine& line, const Project& project) {
  if (line.thermometers == "all") return kInverseLeastSquaresMethod;
  if (line.thermometers == "pair") return kInversePairMethod;
  return static_cast<TInverseMethod>(project.AnalysisOptions.InverseMethod);
}

int WriteTableOrReport(const TResultTable& table, const AnalysisOptionsLine& line) {
  return WriteTableOrReport(TResultTableRows(table), line);
}

int WriteTableOrReport(const TTableRows& table, const AnalysisOptionsLine& line,
                       const TWorkbookOptions& workbook) {
  if (!line.csvPath.empty()) {
    const TSaveResult saved = SaveCsv(table, line.csvPath);
    if (!saved.ok) {
      ReportFailure(line.csvPath, saved.reason);
      return kExitFailure;
    }
  }
  if (!line.xlsPath.empty()) {
    const TFileWriteResult saved = WriteTableWorkbook(line.xlsPath, table, workbook);
    if (!saved.ok) {
      std::fprintf(stderr, "kolma-batch: %s\n", saved.reason.c_str());  // the reason names the file
      return kExitFailure;
    }
  }
  return kExitOk;
}

double TimeStepOrDefault(const AnalysisOptionsLine& line, const Project& project) {
  return line.timeStep ? *line.timeStep : DefaultAnalysisTimeStep(project);
}

}  // namespace kolma::batch
