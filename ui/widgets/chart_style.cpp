#include "ui/widgets/chart_style.h"

#include "ui/widgets/rchart.h"

namespace kolma::ui {

void ApplyHistoryChartStyle(TRChart& chart) {
  chart.SetDecPlaceX(-2);
  chart.SetDecPlaceY(-2);
  chart.SetGridStyle(gsDotLines);
  chart.SetGridColor(QColor(192, 192, 192));
  chart.SetShortTicksX(true);
  chart.SetShortTicksY(true);
  chart.SetMinTickX(5);
  chart.SetMinRangeX(1e-10);
  chart.SetMinRangeY(1e-10);
  chart.SetXLabelType(ftNum);
  chart.SetYLabelType(ftNum);
}

}  // namespace kolma::ui
