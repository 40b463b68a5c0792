#pragma once
// The tables "Show values" of the time-history view opens: the charted curve as a column
// over time (with its moving mean and deviation), the comparison of input and output at a
// position, and the section's decomposition over time.
#include <span>
#include <string>

#include "core/analysis/moving_statistics.h"
#include "core/analysis/result_table.h"
#include "ui/results/time_view_plot.h"

namespace kolma::ui {

// Every number of these tables, the times included.
inline constexpr const char* kTimeTableFormat = "%.5f";

// "Time" | "X = ... m" [| "Mean" | "Std. Deviation"] over two fixed rows and one fixed column;
// unit heads the values and their averages: "(°C)", or "(MPa)" for stresses.
kolma::TResultTable CurveValuesTable(std::span<const double> values, double timeStep, double position,
                                     const TMovingStatistics* averages, const std::string& unit = "(°C)");

// Input samples and computed steps side by side, each with its own time column.
kolma::TResultTable CompareTable(const TTimeViewPlot& plot, const TTimeViewSetup& setup, int positionIndex);

// Tm and Td of every step.
kolma::TResultTable DecompositionTable(const TTimeViewSetup& setup, double timeStep);

}  // namespace kolma::ui
