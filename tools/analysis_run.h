#pragma once
// What the analysis commands of kolma-batch share: their options, running the analyses
// with timings on stderr, and writing the resulting table.
#include <memory>
#include <optional>
#include <string>

#include "core/analysis/result_table.h"
#include "core/analysis/summed_field.h"
#include "core/formats/workbook_writer.h"
#include "core/model/project.h"
#include "tools/commands.h"

namespace kolma::batch {

struct AnalysisOptionsLine {
  std::string projectPath;
  std::optional<double> timeStep;  // the analysis dialog's default when absent
  std::string faces = "user";      // direct: user | inverse
  std::string data = "temperature";
  std::string precision = "3";
  std::string harmonics;           // harmonics: direct | inverse
  std::string csvPath;
  std::string xlsPath;
  // Write the table even when a completed analysis warned (short periods discarded...).
  bool acceptWarnings = false;
  std::string thermometers;  // inverse: pair | all; the project's choice when empty
  bool report = false;       // inverse: print each face's expected error on stdout
};

// Parses "P.kol [--option value]..." for the command `name`; the allowed options are
// listed in `allowed` (e.g. "time-step faces data precision csv xls"). Reports and
// returns nothing on a mistake.
std::optional<AnalysisOptionsLine> ParseAnalysisOptions(const char* name, const CommandArguments& arguments,
                                                        const std::string& allowed);

// The --time-step value, or the step the analysis dialog would offer for this project.
double TimeStepOrDefault(const AnalysisOptionsLine& line, const Project& project);

// Result of running an analysis from the command line: kExitOk, or the status to exit with.
// Given `field`, the direct analysis is run for one export (RunDirectAnalysisForExport).
int RunDirectOrReport(Project& project, double timeStep, bool useInverseFaces, bool acceptWarnings,
                      std::unique_ptr<TSummedField>* field = nullptr);
// The records' faults are reported on stderr first; the analysis runs past them only with
// acceptWarnings. With `report`, each face's expected error is printed on stdout.
int RunInverseOrReport(Project& project, double timeStep, bool acceptWarnings,
                       std::optional<TInverseMethod> method = std::nullopt, bool report = false);

// The method --thermometers names, or the project's when absent.
TInverseMethod InverseMethodOf(const AnalysisOptionsLine& line, const Project& project);

// Writes the table to every output the line names; at least one must be named. The rows are
// made while they are written; `workbook` names the sheet of an .xls output.
int WriteTableOrReport(const TTableRows& table, const AnalysisOptionsLine& line,
                       const TWorkbookOptions& workbook = {});
int WriteTableOrReport(const TResultTable& table, const AnalysisOptionsLine& line);

}  // namespace kolma::batch
