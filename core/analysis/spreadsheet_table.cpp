#include "core/analysis/spreadsheet_table.h"

#include <algorithm>
#include <span>
#include <string>
#include <utility>

#include "core/analysis/field_rows.h"
#include "core/analysis/thermal_decomposition.h"
#include "core/model/project.h"

namespace kolma {

namespace {

const TFloatFormat& TimeFormat() {
  static const TFloatFormat format = *TFloatFormat::Parse("%4.0f");
  return format;
}

const TFloatFormat& NodeHeaderFormat() {
  static const TFloatFormat format = *TFloatFormat::Parse("X = %8.5f");
  return format;
}

int NodeCount(const Project& project) { return std::max(project.SectionProperties.NbDivisions + 1, 0); }

}  // namespace

const char* SpreadsheetDataLabel(TSpreadsheetData data) {
  switch (data) {
    case TSpreadsheetData::Temperature: return "Temperature field";
    case TSpreadsheetData::Mean: return "Mean temperature";
    case TSpreadsheetData::Linear: return "Linear temperature";
    case TSpreadsheetData::Nonlinear: return "Nonlinear Temperatures";
    case TSpreadsheetData::Stress: return "Stresses";
  }
  return "";
}

const char* SpreadsheetPrecisionLabel(TSpreadsheetPrecision precision) {
  switch (precision) {
    case TSpreadsheetPrecision::ThreeDigits: return "3 digits";
    case TSpreadsheetPrecision::FiveDigits: return "5 digits";
    case TSpreadsheetPrecision::Exponential: return "Exponential";
  }
  return "";
}

const char* SpreadsheetCaption(TSpreadsheetData data) {
  switch (data) {
    case TSpreadsheetData::Temperature: return "SpreadSheet - Temperature Field";
    case TSpreadsheetData::Mean: return "SpreadSheet - Mean Temperatures";
    case TSpreadsheetData::Linear: return "SpreadSheet - Linear Temperatures";
    case TSpreadsheetData::Nonlinear: return "SpreadSheet - Nonlinear Temperatures";
    case TSpreadsheetData::Stress: return "SpreadSheet - Stresses";
  }
  return "";
}

const char* SpreadsheetFloatFormat(TSpreadsheetPrecision precision) {
  switch (precision) {
    case TSpreadsheetPrecision::ThreeDigits: return "%.3f";
    case TSpreadsheetPrecision::FiveDigits: return "%.5f";
    case TSpreadsheetPrecision::Exponential: return "%.6e";
  }
  return "%.3f";
}

std::optional<TSpreadsheetData> ParseSpreadsheetData(std::string_view word) {
  if (word == "temperature") return TSpreadsheetData::Temperature;
  if (word == "mean") return TSpreadsheetData::Mean;
  if (word == "linear") return TSpreadsheetData::Linear;
  if (word == "nonlinear") return TSpreadsheetData::Nonlinear;
  if (word == "stress") return TSpreadsheetData::Stress;
  return std::nullopt;
}

std::optional<TSpreadsheetPrecision> ParseSpreadsheetPrecision(std::string_view word) {
  if (word == "3") return TSpreadsheetPrecision::ThreeDigits;
  if (word == "5") return TSpreadsheetPrecision::FiveDigits;
  if (word == "e") return TSpreadsheetPrecision::Exponential;
  return std::nullopt;
}

namespace {

// The chosen quantity of nodes 1..values.size() at one step, from the temperatures of the
// section nodes at that step.
void StepValues(const TSectionProperties& section, TSpreadsheetData data, std::span<const double> row,
                double stressFactor, std::vector<double>& values) {
  const TTmTd step = data == TSpreadsheetData::Temperature ? TTmTd{} : ComputeTmTd(section, row);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double t = i < row.size() ? row[i] : 0.0;
    const double x = section.Nodes.Element(static_cast<int>(i) + 1);
    double value = 0.0;
    switch (data) {
      case TSpreadsheetData::Temperature: value = t; break;
      case TSpreadsheetData::Mean: value = step.Tm; break;
      case TSpreadsheetData::Linear: value = Tl(x, section.Xu, section.Xd, step); break;
      case TSpreadsheetData::Nonlinear: value = Tn(t, x, section.Xu, section.Xd, step); break;
      case TSpreadsheetData::Stress:
        value = Stress(Tn(t, x, section.Xu, section.Xd, step), section.T0, stressFactor);
        break;
    }
    values[i] = value;
  }
}

}  // namespace

TSpreadsheetRows::TSpreadsheetRows(const Project& project, TSpreadsheetData data, TSpreadsheetPrecision precision)
    : TSpreadsheetRows(project, std::make_shared<TStoredFieldRows>(project), data, precision) {}

TSpreadsheetRows::TSpreadsheetRows(const Project& project, std::shared_ptr<const TFieldRows> field,
                                   TSpreadsheetData data, TSpreadsheetPrecision precision)
    : project_(project),
      field_(std::move(field)),
      data_(data),
      format_(*TFloatFormat::Parse(SpreadsheetFloatFormat(precision))),
      nodes_(NodeCount(project)),
      steps_(field_->Steps()),
      values_(static_cast<std::size_t>(NodeCount(project))) {
  const TStressFactor stress = StressFactor(project.SectionProperties);
  stressValid_ = stress.valid;
  stressFactor_ = stress.value;
  stressReason_ = stress.reason;
}

void TSpreadsheetRows::row(int row, std::vector<std::string>& cells) const {
  cells.resize(static_cast<std::size_t>(nodes_ + 1));
  if (row == 0 || row == 1) {
    cells[0] = row == 0 ? "Time" : "(hour)";
    for (int c = 1; c <= nodes_; ++c) {
      std::string& cell = cells[static_cast<std::size_t>(c)];
      cell.clear();
      if (row == 0) NodeHeaderFormat().AppendTo(cell, project_.SectionProperties.Nodes.Element(c));
      else cell = "(m)";
    }
    return;
  }
  const int k = row - 1;
  cells[0].clear();
  TimeFormat().AppendTo(cells[0], (k - 1) * field_->TimeStep());
  if (data_ == TSpreadsheetData::Stress && !stressValid_) {
    for (int c = 1; c <= nodes_; ++c) cells[static_cast<std::size_t>(c)] = stressReason_;
    return;
  }
  StepValues(project_.SectionProperties, data_, field_->Row(k), stressFactor_, values_);
  for (int c = 1; c <= nodes_; ++c) {
    std::string& cell = cells[static_cast<std::size_t>(c)];
    cell.clear();
    format_.AppendTo(cell, values_[static_cast<std::size_t>(c - 1)]);
  }
}

TResultTable BuildSpreadsheet(const Project& project, TSpreadsheetData data, TSpreadsheetPrecision precision) {
  TResultTable table(std::make_shared<TSpreadsheetRows>(project, data, precision), 2, 1);
  table.setFloatFormat(SpreadsheetFloatFormat(precision));
  return table;
}

TResultTable InverseFacesTable(const Project& project, TSpreadsheetPrecision precision) {
  const TInverseResults& results = project.InverseResults;
  const int upstream = results.UpstreamTemperatures.NrOfElem();
  const int downstream = results.DownstreamTemperatures.NrOfElem();
  const int samples = std::max(upstream, downstream);
  TResultTable table(samples + 2, 3, 2, 1);
  table.setFloatFormat(SpreadsheetFloatFormat(precision));
  table.setCell(0, 0, "Time");
  table.setCell(1, 0, "(hour)");
  table.setCell(0, 1, "Upstream face");
  table.setCell(1, 1, "(°C)");
  table.setCell(0, 2, "Downstream face");
  table.setCell(1, 2, "(°C)");
  for (int t = 1; t <= samples; ++t) {
    table.setCell(t + 1, 0, TimeFormat().Format((t - 1) * results.TimeStep));
    if (t <= upstream) table.setNumber(t + 1, 1, results.UpstreamTemperatures.Element(t));
    if (t <= downstream) table.setNumber(t + 1, 2, results.DownstreamTemperatures.Element(t));
  }
  return table;
}

}  // namespace kolma
