// kolma-batch direct: runs the direct analysis (after the inverse one with --faces inverse)
// and writes the spreadsheet of the chosen quantity.
#include <cstdio>
#include <memory>

#include "core/analysis/quantity_names.h"
#include "core/analysis/field_rows.h"
#include "core/analysis/spreadsheet_table.h"
#include "core/analysis/thermal_decomposition.h"
#include "core/formats/result_table_workbook.h"
#include "tools/analysis_run.h"
#include "tools/batch_support.h"

namespace kolma::batch {

int RunDirect(const CommandArguments& arguments) {
  const auto line = ParseAnalysisOptions("direct", arguments, "time-step faces data precision csv xls accept-warnings");
  if (!line) return kExitFailure;
  if (!OutputsAreSafe({line->projectPath}, {line->csvPath, line->xlsPath})) return kExitFailure;
  const auto data = ParseSpreadsheetData(line->data);
  const auto precision = ParseSpreadsheetPrecision(line->precision);
  if (!data || !precision) {
    std::fprintf(stderr, "kolma-batch direct: --data takes temperature|mean|linear|nonlinear|stress and "
                         "--precision takes 3|5|e\n");
    return kExitFailure;
  }
  Project project;
  if (!LoadProjectOrReport(line->projectPath, project)) return kExitFailure;
  // A section without a finite stress factor has no stress table to write: say why once,
  // before the analysis, rather than writing that sentence into every cell.
  if (*data == TSpreadsheetData::Stress) {
    if (const TStressFactor factor = StressFactor(project.SectionProperties); !factor.valid) {
      std::fprintf(stderr, "Warning: %s\n", factor.reason.c_str());
      return kExitWarning;
    }
  }
  const double timeStep = TimeStepOrDefault(*line, project);
  const bool inverseFaces = line->faces == "inverse";
  if (inverseFaces) {
    if (const int status = RunInverseOrReport(project, timeStep, line->acceptWarnings); status != kExitOk) return status;
  }
  // The table is written once, step by step: a long record's field is summed as it is
  // written rather than held whole.
  std::unique_ptr<TSummedField> summed;
  if (const int status = RunDirectOrReport(project, timeStep, inverseFaces, line->acceptWarnings, &summed);
      status != kExitOk)
    return status;
  const std::shared_ptr<const TFieldRows> field =
      summed ? std::shared_ptr<const TFieldRows>(std::move(summed)) : std::make_shared<TStoredFieldRows>(project);
  // The workbook's sheet says what the table holds ("Stresses (MPa)"), since the header rows
  // of every quantity look alike.
  return WriteTableOrReport(TSpreadsheetRows(project, field, *data, *precision), *line,
                            {QuantityNames(QuantityOf(*data)).sheetName});
}

}  // namespace kolma::batch
