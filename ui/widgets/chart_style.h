#pragma once
// The looks shared by the charts that show temperature histories and their spectra.
namespace kolma::ui {

class TRChart;

// Automatic axis decimals, a dotted silver grid, short ticks, at least five X ticks,
// numbered axes and tiny minimum ranges, so that any history can be shown at any zoom.
void ApplyHistoryChartStyle(TRChart& chart);

}  // namespace kolma::ui
