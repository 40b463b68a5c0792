#include "core/analysis/thermal_decomposition.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/model/project.h"

using namespace kolma;

namespace {

// Simpson's rule is exact for the cubic integrands of a region between two lines.
TRegionMoments ByIntegration(double x1, double lo1, double hi1, double x2, double lo2, double hi2) {
  auto lo = [&](double x) { return lo1 + (lo2 - lo1) * (x - x1) / (x2 - x1); };
  auto hi = [&](double x) { return hi1 + (hi2 - hi1) * (x - x1) / (x2 - x1); };
  auto simpson = [&](auto f) {
    const double xm = (x1 + x2) / 2.0;
    return (x2 - x1) / 6.0 * (f(x1) + 4.0 * f(xm) + f(x2));
  };
  const double area = simpson([&](double x) { return hi(x) - lo(x); });
  const double mx = simpson([&](double x) { return x * (hi(x) - lo(x)); });
  const double my = simpson([&](double x) { return (hi(x) * hi(x) - lo(x) * lo(x)) / 2.0; });
  return {area, mx / area, my / area};
}

// A project with the given section nodes and one row of temperatures per step.
Project MakeProject(double xu, double xd, const std::vector<double>& nodes,
                    const std::vector<std::vector<double>>& steps) {
  Project p;
  p.SectionProperties.Xu = xu;
  p.SectionProperties.Xd = xd;
  p.SectionProperties.NbDivisions = static_cast<int>(nodes.size()) - 1;
  p.SectionProperties.Nodes.Resize(static_cast<int>(nodes.size()));
  for (size_t i = 0; i < nodes.size(); ++i) p.SectionProperties.Nodes.SetElement(static_cast<int>(i + 1), nodes[i]);
  p.DirectResults.Temperatures.Resize(static_cast<int>(nodes.size()), static_cast<int>(steps.size()));
  for (size_t k = 0; k < steps.size(); ++k) {
    for (size_t i = 0; i < nodes.size(); ++i) {
      p.DirectResults.Temperatures.SetElement(static_cast<int>(i + 1), static_cast<int>(k + 1), steps[k][i]);
    }
  }
  p.DirectResults.TimeStep = 24.0;
  return p;
}

std::vector<double> Graded(double xu, double xd) {  // unequal spacing, denser at the faces
  const double l = xd - xu;
  return {xu, xu + 0.05 * l, xu + 0.2 * l, xu + 0.5 * l, xu + 0.7 * l, xu + 0.93 * l, xd};
}

}  // namespace

TEST(RegionMoments, DegenerateSlices) {
  const TRegionMoments zeroWidth = RegionMoments(2.5, 1.0, 7.0, 2.5, 3.0, 9.0);
  EXPECT_EQ(zeroWidth.Area, 0.0);
  EXPECT_EQ(zeroWidth.Xc, 2.5);
  EXPECT_EQ(zeroWidth.Yc, 4.0);
  const TRegionMoments opposite = RegionMoments(1.0, 0.0, 6.0, 3.0, 0.0, -6.0);
  EXPECT_EQ(opposite.Area, 0.0);
  EXPECT_EQ(opposite.Xc, 0.0);
  EXPECT_EQ(opposite.Yc, 0.0);
}

TEST(RegionMoments, MatchesIntegrationOfTheRegion) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> u(-20.0, 20.0);
  for (int n = 0; n < 200; ++n) {
    const double x1 = u(random), x2 = x1 + 0.1 + std::fabs(u(random));
    const double lo1 = u(random), lo2 = u(random), hi1 = u(random), hi2 = u(random);
    const TRegionMoments got = RegionMoments(x1, lo1, hi1, x2, lo2, hi2);
    const TRegionMoments want = ByIntegration(x1, lo1, hi1, x2, lo2, hi2);
    if (std::fabs(want.Area) < 1e-3) continue;  // centroid of an almost empty region is ill-defined
    const double scale = 1e-9 * (1.0 + 1.0 / std::fabs(want.Area));
    EXPECT_NEAR(got.Area, want.Area, 1e-9);
    EXPECT_NEAR(got.Xc, want.Xc, scale * 100.0);
    EXPECT_NEAR(got.Yc, want.Yc, scale * 100.0);
  }
  // The decomposition's case: a trapezoid on the axis, centroid towards the hotter side.
  const TRegionMoments t = RegionMoments(0.0, 0.0, 10.0, 3.0, 0.0, 20.0);
  EXPECT_DOUBLE_EQ(t.Area, 45.0);
  EXPECT_DOUBLE_EQ(t.Xc, (30.0 * 1.5 + 15.0 * 2.0) / 45.0);  // rectangle + triangle
}

TEST(ComputeTmTd, UniformFieldHasNoLinearOrNonlinearPart) {
  for (double xu : {0.0, 3.0, -4.0}) {
    const std::vector<double> nodes = Graded(xu, xu + 12.0);
    Project p = MakeProject(xu, xu + 12.0, nodes, {std::vector<double>(nodes.size(), 17.5)});
    p.SectionProperties.T0 = 2.0;
    const TTmTd step = ComputeTmTd(p, 1);
    EXPECT_NEAR(step.Tm, 17.5, 1e-12) << "Xu = " << xu;
    EXPECT_NEAR(step.Td, 0.0, 1e-12) << "Xu = " << xu;
    const double s = StressFactor(p.SectionProperties).value;
    for (int i = 1; i <= static_cast<int>(nodes.size()); ++i) {
      EXPECT_NEAR(Tn(p, i, 1, step), 0.0, 1e-12);
      EXPECT_NEAR(Stress(p, i, 1, step, s), -s * 2.0, 1e-12);
    }
  }
}

TEST(ComputeTmTd, LinearFieldIsAllMeanAndLinear) {
  const double ta = 4.0, tb = 19.0;
  for (double xu : {0.0, 2.5, -7.0}) {
    const double xd = xu + 8.0;
    for (const std::vector<double>& nodes : {std::vector<double>{xu, xu + 2, xu + 4, xu + 6, xd}, Graded(xu, xd)}) {
      std::vector<double> t;
      for (double x : nodes) t.push_back(ta + (tb - ta) * (x - xu) / (xd - xu));
      const Project p = MakeProject(xu, xd, nodes, {t});
      const TTmTd step = ComputeTmTd(p, 1);
      EXPECT_NEAR(step.Tm, (ta + tb) / 2.0, 1e-12);
      EXPECT_NEAR(step.Td, tb - ta, 1e-12);
      for (int i = 1; i <= static_cast<int>(nodes.size()); ++i) EXPECT_NEAR(Tn(p, i, 1, step), 0.0, 1e-12);
      // The straight line runs from Tm - Td/2 at the upstream face to Tm + Td/2 downstream.
      EXPECT_NEAR(step.Tm + Tl(p, 1, step), ta, 1e-12);
      EXPECT_NEAR(step.Tm + Tl(p, static_cast<int>(nodes.size()), step), tb, 1e-12);
    }
  }
}

TEST(ComputeTmTd, ZeroWidthAndOppositeSlices) {
  // A repeated node adds a slice of no width: nothing changes.
  const std::vector<double> t = {3, 8, 8, -2, 6};
  const TTmTd doubled = ComputeTmTd(0.0, 10.0, std::vector<double>{0, 2, 2, 7, 10}, t);
  const TTmTd single = ComputeTmTd(0.0, 10.0, std::vector<double>{0, 2, 7, 10}, std::vector<double>{3, 8, -2, 6});
  EXPECT_DOUBLE_EQ(doubled.Tm, single.Tm);
  EXPECT_DOUBLE_EQ(doubled.Td, single.Td);
  // T = 5 - x crosses zero inside the slice 4..6 with opposite end values: that slice
  // adds no area, but its first moment still belongs to Td (a linear field).
  const std::vector<double> nodes = {0, 4, 6, 10};
  const TTmTd linear = ComputeTmTd(0.0, 10.0, nodes, std::vector<double>{5, 1, -1, -5});
  EXPECT_NEAR(linear.Tm, 0.0, 1e-12);
  EXPECT_NEAR(linear.Td, -10.0, 1e-12);
  const TTmTd twoNodes = ComputeTmTd(0.0, 10.0, std::vector<double>{0, 10}, std::vector<double>{5, -5});
  EXPECT_NEAR(twoNodes.Td, -10.0, 1e-12);
  EXPECT_NEAR(Tn(5.0, 0.0, 0.0, 10.0, twoNodes), 0.0, 1e-12);
}

TEST(ComputeTmTd, NonlinearPartHasNoMeanAndNoFirstMoment) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> u(-15.0, 30.0);
  for (double xu : {0.0, 6.0}) {
    const double xd = xu + 9.0;
    const std::vector<double> nodes = Graded(xu, xd);
    std::vector<double> t;
    for (size_t i = 0; i < nodes.size(); ++i) t.push_back(u(random));
    const TTmTd step = ComputeTmTd(xu, xd, nodes, t);
    std::vector<double> tn;
    for (size_t i = 0; i < nodes.size(); ++i) tn.push_back(Tn(t[i], nodes[i], xu, xd, step));
    const TTmTd rest = ComputeTmTd(xu, xd, nodes, tn);
    EXPECT_NEAR(rest.Tm, 0.0, 1e-12) << "Xu = " << xu;
    EXPECT_NEAR(rest.Td, 0.0, 1e-12) << "Xu = " << xu;
    // Second method: the integrals of the piecewise linear field, by Simpson per slice.
    double area = 0, moment = 0;
    for (size_t i = 0; i + 1 < nodes.size(); ++i) {
      auto f = [&](double x) { return t[i] + (t[i + 1] - t[i]) * (x - nodes[i]) / (nodes[i + 1] - nodes[i]); };
      const double h = nodes[i + 1] - nodes[i], xm = (nodes[i] + nodes[i + 1]) / 2, mid = (xu + xd) / 2;
      area += h / 6 * (f(nodes[i]) + 4 * f(xm) + f(nodes[i + 1]));
      moment += h / 6 * (f(nodes[i]) * (nodes[i] - mid) + 4 * f(xm) * (xm - mid) + f(nodes[i + 1]) * (nodes[i + 1] - mid));
    }
    EXPECT_NEAR(step.Tm, area / 9.0, 1e-12);
    EXPECT_NEAR(step.Td, 12.0 * moment / 81.0, 1e-12);
  }
}

TEST(ComputeTmTd, ProjectStepsAndSeries) {
  const Project p = MakeProject(0.0, 4.0, {0, 1, 4}, {{1, 1, 1}, {0, 2, 8}, {6, 6, 6}});
  const std::vector<TTmTd> series = ComputeTmTdSeries(p);
  ASSERT_EQ(series.size(), 3u);
  EXPECT_NEAR(series[0].Tm, 1.0, 1e-12);
  EXPECT_NEAR(series[2].Tm, 6.0, 1e-12);
  // Step 2: slices (0..1: 0->2) and (1..4: 2->8): area 1 + 15 = 16, Tm = 4.
  EXPECT_NEAR(series[1].Tm, 4.0, 1e-12);
  EXPECT_DOUBLE_EQ(ComputeTmTd(p, 2).Td, series[1].Td);
  // Steps outside the results read as an empty field.
  EXPECT_EQ(ComputeTmTd(p, 4).Tm, 0.0);
  EXPECT_EQ(ComputeTmTd(p, 0).Td, 0.0);
  // Thermometer positions appended to Nodes after a direct analysis take no part.
  Project extended = p;
  extended.SectionProperties.Nodes.Resize(5);
  extended.SectionProperties.Nodes.SetElement(4, 2.0);
  extended.SectionProperties.Nodes.SetElement(5, 3.0);
  EXPECT_DOUBLE_EQ(ComputeTmTd(extended, 2).Td, series[1].Td);
}

TEST(StressFactor, PlaneStressAndPlaneStrain) {
  const TStressFactor stress = StressFactor(20000.0, 1e-5, 0.19, false);
  ASSERT_TRUE(stress.valid);
  EXPECT_NEAR(stress.value, 0.2, 1e-15);
  const TStressFactor strain = StressFactor(20000.0, 1e-5, 0.19, true);
  ASSERT_TRUE(strain.valid);
  EXPECT_NEAR(strain.value, 0.2612903, 1e-7);
  EXPECT_NEAR(strain.value / 0.2, 1.306452, 1e-6);
  EXPECT_NEAR(StressFactor(20000.0, 1e-5, 0.0, true).value, 0.2, 1e-15);
  EXPECT_DOUBLE_EQ(Stress(3.0, 1.0, 0.2), 0.4);
  EXPECT_DOUBLE_EQ(Stress(-1.0, 1.0, 0.2), -0.4);
}

TEST(StressFactor, IncompressiblePlaneStrainIsReportedNotInfinite) {
  const TStressFactor strain = StressFactor(20000.0, 1e-5, 0.5, true);
  EXPECT_FALSE(strain.valid);
  EXPECT_TRUE(std::isfinite(strain.value));
  EXPECT_EQ(strain.reason, "Plane strain with Poisson's ratio 0.5 has no finite thermal stress");
  EXPECT_FALSE(StressFactor(20000.0, 1e-5, 1.0, true).valid);
  // Plane stress does not depend on Poisson's ratio.
  const TStressFactor stress = StressFactor(20000.0, 1e-5, 0.5, false);
  EXPECT_TRUE(stress.valid);
  EXPECT_NEAR(stress.value, 0.2, 1e-15);
}
