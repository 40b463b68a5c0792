#include "ui/results/time_view_tables.h"

#include <algorithm>

namespace kolma::ui {
namespace {

void Headers(kolma::TResultTable& table, int column, const std::string& name, const std::string& unit) {
  table.setCell(0, column, name);
  table.setCell(1, column, unit);
}

void Series(kolma::TResultTable& table, int column, double timeStep, const std::vector<double>& values) {
  for (std::size_t j = 0; j < values.size(); ++j) {
    const int row = static_cast<int>(j) + 2;
    table.setNumber(row, column, static_cast<double>(j) * timeStep);
    table.setNumber(row, column + 1, values[j]);
  }
}

}  // namespace

kolma::TResultTable CurveValuesTable(std::span<const double> values, double timeStep, double position,
                                     const TMovingStatistics* averages, const std::string& unit) {
  const bool withAverages = averages && averages->Mean.size() == values.size() &&
                            averages->Deviation.size() == values.size();
  const int n = static_cast<int>(values.size());
  kolma::TResultTable table(n + 2, withAverages ? 4 : 2, 2, 1);
  table.setFloatFormat(kTimeTableFormat);
  Headers(table, 0, "Time", "(hours)");
  Headers(table, 1, FormatFloat("X = %8.3f m", position), unit);
  if (withAverages) {
    Headers(table, 2, "Mean", unit);
    Headers(table, 3, "Std. Deviation", unit);
  }
  for (int j = 0; j < n; ++j) {
    const int row = j + 2;
    table.setNumber(row, 0, j * timeStep);
    table.setNumber(row, 1, values[static_cast<std::size_t>(j)]);
    if (!withAverages) continue;
    table.setNumber(row, 2, averages->Mean[static_cast<std::size_t>(j)]);
    table.setNumber(row, 3, averages->Deviation[static_cast<std::size_t>(j)]);
  }
  return table;
}

kolma::TResultTable CompareTable(const TTimeViewPlot& plot, const TTimeViewSetup& setup, int positionIndex) {
  if (plot.lines.size() < 2 || positionIndex < 0 || positionIndex >= static_cast<int>(setup.positions.size()))
    return {};
  const TTimePolyline& output = plot.lines[0];
  const TTimePolyline& input = plot.lines[1];
  const TTimePosition& position = setup.positions[static_cast<std::size_t>(positionIndex)];
  std::string at = " " + position.text;
  if (position.code == kUpstreamFaceCode) at = " the upstream face";
  if (position.code == kDownstreamFaceCode) at = " the downstream face";
  const int rows = 2 + static_cast<int>(std::max(input.values.size(), output.values.size()));
  kolma::TResultTable table(rows, 4, 2, 0);
  table.setFloatFormat(kTimeTableFormat);
  Headers(table, 0, "Time", "(hour)");
  Headers(table, 1, "Input at" + at, "(°C)");
  Headers(table, 2, "Time", "(hour)");
  Headers(table, 3, "Output at" + at, "(°C)");
  Series(table, 0, input.timeStep, input.values);
  Series(table, 2, output.timeStep, output.values);
  return table;
}

kolma::TResultTable DecompositionTable(const TTimeViewSetup& setup, double timeStep) {
  const int steps = static_cast<int>(setup.decomposition.size());
  kolma::TResultTable table(steps + 2, 3, 2, 1);
  table.setFloatFormat(kTimeTableFormat);
  Headers(table, 0, "Time", "(hour)");
  Headers(table, 1, "Mean", "(Tm, °C)");
  Headers(table, 2, "Linear", "(Td, °C)");
  for (int k = 0; k < steps; ++k) {
    table.setNumber(k + 2, 0, k * timeStep);
    table.setNumber(k + 2, 1, setup.decomposition[static_cast<std::size_t>(k)].Tm);
    table.setNumber(k + 2, 2, setup.decomposition[static_cast<std::size_t>(k)].Td);
  }
  return table;
}

}  // namespace kolma::ui
