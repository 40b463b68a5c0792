// kolma-batch inverse: works the face temperatures back from the inverse pair and writes
// them as a table (Time, Upstream face, Downstream face); --thermometers all fits every
// thermometer instead of the pair, --report prints what each face is worth.
#include "core/analysis/spreadsheet_table.h"
#include "tools/analysis_run.h"
#include "tools/batch_support.h"

namespace kolma::batch {

int RunInverse(const CommandArguments& arguments) {
  const auto line = ParseAnalysisOptions("inverse", arguments, "time-step thermometers report csv xls accept-warnings");
  if (!line) return kExitFailure;
  if (!OutputsAreSafe({line->projectPath}, {line->csvPath, line->xlsPath})) return kExitFailure;
  Project project;
  if (!LoadProjectOrReport(line->projectPath, project)) return kExitFailure;
  if (const int status = RunInverseOrReport(project, TimeStepOrDefault(*line, project), line->acceptWarnings,
                                            InverseMethodOf(*line, project), line->report);
      status != kExitOk)
    return status;
  if (line->csvPath.empty() && line->xlsPath.empty()) return kExitOk;  // --report alone
  return WriteTableOrReport(InverseFacesTable(project), *line);
}

}  // namespace kolma::batch
