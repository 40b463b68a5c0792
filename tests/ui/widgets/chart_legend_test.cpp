// The legend of a chart: made from the titles its curves were drawn under, shown in the
// chart and in its pictures, hidden on request.
#include <gtest/gtest.h>

#include <QImage>

#include "ui/widgets/rchart.h"

namespace kolma::ui {
namespace {

TEST(ChartLegend, OneEntryPerTitleInDrawingOrderWithTheCurvesLook) {
  TRChart chart;
  chart.SetCurveTitle(QStringLiteral("Profile"));
  chart.SetDataColor(Qt::blue);
  chart.AddMoveTo(0, 0);
  chart.AddMark(0, 0, mtBoldDiagCross);
  chart.AddLineTo(1, 1);
  chart.SetCurveTitle(QString());
  chart.AddLine(0, 1, 1, 0);  // untitled: no entry
  chart.SetCurveTitle(QStringLiteral("Mean"));
  chart.SetDataColor(Qt::red);
  chart.SetPenStyle(Qt::DashLine);
  chart.AddLine(0, 0.5, 1, 0.5);
  chart.SetCurveTitle(QStringLiteral("Profile"));  // more of the first curve: still one entry
  chart.SetDataColor(Qt::green);
  chart.AddLine(1, 1, 2, 2);

  const std::vector<TLegendEntry> legend = chart.Legend();
  ASSERT_EQ(legend.size(), 2u);
  EXPECT_EQ(legend[0].title, QStringLiteral("Profile"));
  EXPECT_EQ(legend[0].color, QColor(Qt::blue));  // the first item of a curve gives its look
  EXPECT_TRUE(legend[0].line);
  EXPECT_EQ(legend[0].markType, mtBoldDiagCross);
  EXPECT_EQ(legend[1].title, QStringLiteral("Mean"));
  EXPECT_EQ(legend[1].penStyle, Qt::DashLine);
  EXPECT_EQ(legend[1].markType, -1);

  chart.ClearDrawing();
  EXPECT_TRUE(chart.Legend().empty());
}

TEST(ChartLegend, PicturesShowItUntilTheUserHidesIt) {
  auto draw = [](TRChart& chart, bool titled) {
    chart.resize(400, 300);
    chart.SetRangeLoX(0);
    chart.SetRangeHiX(1);
    chart.SetCurveTitle(titled ? QStringLiteral("A curve with a title") : QString());
    chart.AddMoveTo(0, 0);
    chart.AddLineTo(0.2, 0.1);
  };
  TRChart titled, untitled;
  draw(titled, true);
  draw(untitled, false);
  EXPECT_TRUE(titled.LegendVisible());
  EXPECT_NE(titled.RenderPicture(false), untitled.RenderPicture(false));
  titled.SetLegendVisible(false);
  EXPECT_EQ(titled.RenderPicture(false), untitled.RenderPicture(false));
}

}  // namespace
}  // namespace kolma::ui
