// The worked-back face is drawn with the band of its expected error, when it has one.
#include <gtest/gtest.h>

#include "core/model/project.h"
#include "ui/results/time_view_plot.h"

namespace kolma::ui {
namespace {

TEST(InverseErrorBand, FaceIsDrawnBetweenTwoDashedCurvesOfItsExpectedError) {
  Project p;
  p.SectionProperties.Nodes = TVector(11);
  p.InverseResults.UpstreamTemperatures = TVector(4);
  p.InverseResults.DownstreamTemperatures = TVector(4);
  for (int t = 1; t <= 4; ++t) {
    p.InverseResults.UpstreamTemperatures.SetElement(t, 10.0 + t);
    p.InverseResults.DownstreamTemperatures.SetElement(t, 20.0 - t);
  }
  p.InverseResults.TimeStep = 1.0;
  p.InverseResults.DownstreamExpectedError = 0.75;  // none for the upstream face
  const TTimeViewSetup setup = SetupTimeView(p, TTimeViewMode::InverseFaces);

  const TTimeViewPlot up = PlotTimeView(p, setup, 0, TTimeCurveKind::Temperature, TAverageCycle::None);
  EXPECT_EQ(up.lines.size(), 1u);

  const TTimeViewPlot down = PlotTimeView(p, setup, 1, TTimeCurveKind::Temperature, TAverageCycle::None);
  ASSERT_EQ(down.lines.size(), 3u);
  EXPECT_FALSE(down.lines[0].dashed);
  for (int i : {1, 2}) {
    const TTimePolyline& band = down.lines[static_cast<size_t>(i)];
    EXPECT_TRUE(band.dashed);
    EXPECT_EQ(band.colour, TCurveColour::Grey);
    const double sign = i == 1 ? 1.0 : -1.0;
    for (size_t j = 0; j < 4; ++j) EXPECT_DOUBLE_EQ(band.values[j], down.lines[0].values[j] + sign * 0.75);
  }
  EXPECT_EQ(down.lines[1].title, "Downstream face + expected error");
  EXPECT_EQ(down.lines[2].title, "Downstream face - expected error");
  // The range shows the band whole.
  EXPECT_LE(down.loY, 16.0 - 0.75);
  EXPECT_GE(down.hiY, 19.0 + 0.75);
}

}  // namespace
}  // namespace kolma::ui
