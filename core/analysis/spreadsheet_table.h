#pragma once
// The spreadsheet of the direct results: the whole temperature field, or one of the
// quantities derived from it, node by node (columns) and step by step (rows); and the
// table of the two face histories worked back by the inverse analysis.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/result_table.h"

namespace kolma {

struct Project;
class TFieldRows;

// The Data views, in the order of the window's menu.
enum class TSpreadsheetData { Temperature, Mean, Linear, Nonlinear, Stress };
// The Precision choices, in the order of the window's menu.
enum class TSpreadsheetPrecision { ThreeDigits, FiveDigits, Exponential };

// Menu texts: "Temperature field", "Mean temperature", "Linear temperature",
// "Nonlinear Temperatures", "Stresses"; "3 digits", "5 digits", "Exponential".
const char* SpreadsheetDataLabel(TSpreadsheetData data);
const char* SpreadsheetPrecisionLabel(TSpreadsheetPrecision precision);
// Window caption once a Data view has been chosen ("SpreadSheet - Stresses", ...).
const char* SpreadsheetCaption(TSpreadsheetData data);
// "%.3f", "%.5f" or "%.6e".
const char* SpreadsheetFloatFormat(TSpreadsheetPrecision precision);

// Command-line words: "temperature", "mean", "linear", "nonlinear", "stress"; "3", "5", "e".
std::optional<TSpreadsheetData> ParseSpreadsheetData(std::string_view word);
std::optional<TSpreadsheetPrecision> ParseSpreadsheetPrecision(std::string_view word);

// The table of the direct results, made row by row as it is read: every cell is turned into
// text only when it is shown, copied or written. The project must outlive it (and the
// tables copied from it). N = NbDivisions, K = rows of DirectResults.Temperatures. N + 2
// columns and K + 2 rows, one fixed column and two fixed rows:
//   row 0: "Time", then "X = " and each node position x1..x(N+1) as "%8.5f";
//   row 1: "(hour)", then "(m)";
//   row k + 1: the time (k - 1) x TimeStep as "%4.0f", then the chosen quantity of each
//   node at step k through the precision's float format.
// The stress view shows the reason text in every data cell when the section has no
// finite stress factor. The second form takes the temperatures from `field` instead of the
// project's direct results.
class TSpreadsheetRows final : public TTableRows {
 public:
  TSpreadsheetRows(const Project& project, TSpreadsheetData data, TSpreadsheetPrecision precision);
  TSpreadsheetRows(const Project& project, std::shared_ptr<const TFieldRows> field, TSpreadsheetData data,
                   TSpreadsheetPrecision precision);
  int rows() const override { return steps_ + 2; }
  int columns() const override { return nodes_ + 1; }
  void row(int row, std::vector<std::string>& cells) const override;

 private:
  const Project& project_;
  std::shared_ptr<const TFieldRows> field_;
  TSpreadsheetData data_;
  TFloatFormat format_;
  int nodes_, steps_;
  bool stressValid_;
  double stressFactor_;
  std::string stressReason_;
  mutable std::vector<double> values_;
};

// The same rows as a table for the result grid (a Data or Precision command makes a new one).
TResultTable BuildSpreadsheet(const Project& project, TSpreadsheetData data,
                              TSpreadsheetPrecision precision = TSpreadsheetPrecision::ThreeDigits);
TResultTable BuildSpreadsheet(const Project&& project, TSpreadsheetData data,
                              TSpreadsheetPrecision precision = TSpreadsheetPrecision::ThreeDigits) = delete;

// The worked-back face temperatures: columns "Time" / "(hour)", "Upstream face" / "(°C)",
// "Downstream face" / "(°C)" under two fixed rows, one fixed column; sample t of
// InverseResults in row t + 1, its time (t - 1) x InverseResults.TimeStep as "%4.0f".
// A face history shorter than the other leaves its remaining cells empty.
TResultTable InverseFacesTable(const Project& project,
                               TSpreadsheetPrecision precision = TSpreadsheetPrecision::ThreeDigits);

}  // namespace kolma
