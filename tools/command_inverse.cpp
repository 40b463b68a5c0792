// kolma-batch inverse: works the face temperatures back from the inverse pair and writes
// them as a table (Time, Upstream face, Downstream face).
#include "core/analysis/spreadsheet_table.h"
#include "tools/analysis_run.h"
#include "tools/batch_support.h"

namespace kolma::batch {

int RunInverse(const CommandArguments& arguments) {
  const auto line = ParseAnalysisOptions("inverse", arguments, "time-step csv xls accept-warnings");
  if (!line) return kExitFailure;
  if (!OutputsAreSafe({line->projectPath}, {line->csvPath, line->xlsPath})) return kExitFailure;
  Project project;
  if (!LoadProjectOrReport(line->projectPath, project)) return kExitFailure;
  if (const int status = RunInverseOrReport(project, TimeStepOrDefault(*line, project), line->acceptWarnings); status != kExitOk)
    return status;
  return WriteTableOrReport(InverseFacesTable(project), *line);
}

}  // namespace kolma::batch
