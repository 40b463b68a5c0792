#include "ui/main/main_chart_drawing.h"

#include <cmath>
#include <numbers>

#include "ui/widgets/chart_style.h"
#include "ui/widgets/title_text.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {

void ConfigureMainChart(TRChart& chart) {
  chart.setObjectName(QStringLiteral("Chart"));
  chart.setVisible(false);
  ApplyHistoryChartStyle(chart);
  chart.SetTextAlignment(taCenter);
  chart.SetTextBkStyle(tbClear);
  chart.SetRangeLoX(0);
  chart.SetRangeHiX(5);
  chart.SetRangeLoY(0);
  chart.SetRangeHiY(10);
  chart.SetMouseAction(maNone);
}

void DrawSectionOn(TRChart& chart, const kolma::Project& project) {
  const kolma::TSectionProperties& s = project.SectionProperties;
  chart.ClearDrawing();
  chart.SetCaption(QStringLiteral("Geometry"));
  // The section is drawn against its positions in metres; the last history's captions
  // would make that axis read in hours.
  chart.SetIdAbscissa(QStringLiteral("X position (m)"));
  chart.SetIdOrdinate(QString());
  chart.SetIsometric(true);
  chart.SetYLabelType(ftNoScales);

  // The X range frames the section; the isometric rule gives the Y span, which is then
  // centred on the section line.
  const double length = s.Xd - s.Xu;
  chart.SetRangeLoX(s.Xu - 0.1 * length);
  chart.SetRangeHiX(s.Xd + 0.1 * length);
  const double span = chart.RangeHiY() - chart.RangeLoY();
  chart.SetRangeLoY(-span / 2);
  const double h = chart.RangeHiY();

  const kolma::TVector& nodes = s.Nodes;
  chart.SetDataColor(Qt::black);
  chart.AddMoveTo(nodes.Element(1), 0);
  chart.SetDataColor(kNodeColor);
  chart.AddMark(nodes.Element(1), 0, mtBoldDiagCross);
  chart.SetDataColor(Qt::black);
  chart.AddText(s.Xu, h / 10, 14, QStringLiteral("Xu"));
  chart.AddText(s.Xd, h / 10, 14, QStringLiteral("Xd"));
  for (int k = 2; k <= nodes.NrOfElem(); ++k) {
    chart.SetDataColor(Qt::black);
    chart.AddLineTo(nodes.Element(k), 0);
    chart.SetDataColor(kNodeColor);
    chart.AddMark(nodes.Element(k), 0, mtBoldDiagCross);
  }

  chart.SetDataColor(kThermometerColor);
  chart.SetHollowEllipses(true);
  const double r = h / 20;
  const double c = std::cos(std::numbers::pi / 4) * h / 20;
  int shown = 0;
  for (const kolma::TTemperatureInside& slot : project.Thermometers) {
    if (!kolma::IsThermometerOccupied(slot)) continue;
    const double x = slot.Position;
    chart.AddEllipse(x, 0, r, r);
    chart.AddLine(x, r, x, -r);
    chart.AddLine(x - c, c, x + c, -c);
    chart.AddLine(x + c, c, x - c, -c);
    // Each thermometer's title below its symbol, every other one lower, so that neighbours
    // a little apart do not write over each other.
    chart.AddText(x, -(shown % 2 == 0 ? 2.0 : 3.4) * r, 9, TitleText(slot.Title));
    ++shown;
  }
  // A face label turns green once that face has a temperature history.
  if (project.HasFlag(kolma::pfUpstream)) chart.AddText(s.Xu, h / 10, 14, QStringLiteral("Xu"));
  if (project.HasFlag(kolma::pfDownstream)) chart.AddText(s.Xd, h / 10, 14, QStringLiteral("Xd"));
  chart.ShowDrawing();
}

bool DrawHistoryOn(TRChart& chart, const kolma::TVector& values, double timeStep, const QString& caption) {
  chart.SetIsometric(false);
  chart.SetIdAbscissa(QStringLiteral("Time (hour)"));
  chart.SetIdOrdinate(QStringLiteral("Temperature (°C)"));
  const int n = values.NrOfElem();
  if (n < 2) return false;

  double lo = 0, hi = 0;
  values.MinMax(1, n, lo, hi);
  chart.ClearDrawing();
  chart.SetCaption(caption);
  chart.SetYLabelType(ftNum);
  chart.SetDataColor(Qt::black);
  chart.SetRangeLoX(1 * timeStep);
  chart.SetRangeHiX(n * timeStep);
  chart.SetRangeLoY(lo - 0.05 * (hi - lo));
  chart.SetRangeHiY(hi + 0.05 * (hi - lo));
  chart.AddMoveTo(timeStep, values.Element(1));
  for (int k = 2; k <= n; ++k) chart.AddLineTo(k * timeStep, values.Element(k));
  chart.ShowDrawing();
  return true;
}

}  // namespace kolma::ui
