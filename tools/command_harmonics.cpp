// kolma-batch harmonics: runs one analysis and writes the table of the harmonics it kept.
#include "core/analysis/harmonics_table.h"
#include "tools/analysis_run.h"
#include "tools/batch_support.h"

namespace kolma::batch {

int RunHarmonics(const CommandArguments& arguments) {
  const auto line = ParseAnalysisOptions("harmonics", arguments, "direct inverse time-step csv xls accept-warnings");
  if (!line) return kExitFailure;
  if (!OutputsAreSafe({line->projectPath}, {line->csvPath, line->xlsPath})) return kExitFailure;
  if (line->harmonics.empty()) return ReportUsage("harmonics");
  Project project;
  if (!LoadProjectOrReport(line->projectPath, project)) return kExitFailure;
  const double timeStep = TimeStepOrDefault(*line, project);
  const bool inverse = line->harmonics == "inverse";
  const int status = inverse ? RunInverseOrReport(project, timeStep, line->acceptWarnings)
                             : RunDirectOrReport(project, timeStep, false, line->acceptWarnings);
  if (status != kExitOk) return status;
  return WriteTableOrReport(inverse ? InverseHarmonicsTable(project) : DirectHarmonicsTable(project), *line);
}

}  // namespace kolma::batch
