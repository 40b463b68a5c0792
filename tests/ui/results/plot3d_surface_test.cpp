// The surface of the 3-D view built from a known field: how the analysis steps are thinned
// into columns, which step each column shows, the spline across the section and the ranges.
#include "ui/results/plot3d_surface.h"

#include <gtest/gtest.h>

#include "tests/ui/results/direct_results_fixture.h"

namespace kolma::ui {
namespace {

TEST(Plot3DSurfaceTest, StepsAreThinnedToAboutTwelveHoursAndAboutFiveHundredColumns) {
  struct Case {
    int steps;
    double dt;
    int step, columns;
  } cases[] = {
      {8760, 1.0, 17, 515},  // every 12th step would give 730 columns
      {400, 6.0, 2, 200},
      {365, 24.0, 1, 365},   // Round(0.5) is 0: every step is a column
      {100, 8.0, 2, 50},     // Round(1.5) = 2
      {100, 4.8, 2, 50},     // Round(2.5) = 2, halves to even
      {11, 1.0, 12, 0},      // fewer steps than one column needs
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.steps << " steps of " << c.dt << " h");
    const TSurfaceSampling s = SurfaceSampling(c.steps, c.dt);
    EXPECT_EQ(s.step, c.step);
    EXPECT_EQ(s.columns, c.columns);
  }
}

// T = k + f(x): column c must show step c * e, and each row the spline of f at its position.
// A straight f is followed exactly by the natural spline wherever the nodes lie; a curved
// f is met exactly where the rows fall on evenly spaced nodes.
TEST(Plot3DSurfaceTest, ColumnsShowEveryEthStepAndRowsTheSplineAcrossTheSection) {
  struct Case {
    const char* name;
    double ratio;  // 1: evenly spaced nodes
    double (*f)(double x);
  } cases[] = {
      {"graded nodes, straight profile", 3.0, [](double x) { return 2.0 * x - 5.0; }},
      {"even nodes, curved profile", 1.0, [](double x) { return 0.3 * x * x * x - x * x; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Project project;
    project.SectionProperties.Ratio = c.ratio;
    testing::SetDirectResults(project, 2.0, 7.0, 10, 60, 6.0,
                              [&](double x, int k) { return 100.0 * k + c.f(x); });
    const TTemperatureSurface s = BuildTemperatureSurface(project.SectionProperties, project.DirectResults);

    ASSERT_TRUE(s.HasSurface());
    ASSERT_EQ(s.grid.NrOfColumns(), 30);
    ASSERT_EQ(s.grid.NrOfRows(), kSurfaceRows);
    for (int col : {1, 17, 30})
      for (int r = 1; r <= kSurfaceRows; ++r) {
        const double x = 2.0 + (r - 1) * 0.5;
        EXPECT_NEAR(s.grid.Element(col, r), 100.0 * (2 * col) + c.f(x), 1e-9) << "column " << col << " row " << r;
      }
    EXPECT_DOUBLE_EQ(s.timeLow, 0.0);
    EXPECT_DOUBLE_EQ(s.timeHigh, 59 * 6.0);
    EXPECT_DOUBLE_EQ(s.positionLow, 2.0);
    EXPECT_DOUBLE_EQ(s.positionHigh, 7.0);
    // Both profiles are lowest at the upstream face and highest at the downstream one.
    EXPECT_DOUBLE_EQ(s.tMin, 100.0 + c.f(2.0));
    EXPECT_DOUBLE_EQ(s.tMax, 6000.0 + c.f(7.0));
  }
}

// Fields that give nothing to draw: a column alone has no cell, and one temperature
// everywhere would give the box no height.
TEST(Plot3DSurfaceTest, ShortAndFlatFieldsAreRecognised) {
  struct Case {
    int steps;
    double temperature;
    bool surface;
    double tMin, tMax;
  } cases[] = {
      {11, 20.0, false, 19.5, 20.5},  // no column
      {12, 20.0, false, 19.5, 20.5},  // one column
      {24, 20.0, true, 19.5, 20.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.steps);
    Project project;
    testing::SetDirectResults(project, 0.0, 10.0, 10, c.steps, 1.0, [&](double, int) { return c.temperature; });
    const TTemperatureSurface s = BuildTemperatureSurface(project.SectionProperties, project.DirectResults);
    EXPECT_EQ(s.HasSurface(), c.surface);
    EXPECT_DOUBLE_EQ(s.tMin, c.tMin);
    EXPECT_DOUBLE_EQ(s.tMax, c.tMax);
  }
}

}  // namespace
}  // namespace kolma::ui
