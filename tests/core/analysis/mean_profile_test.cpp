#include "core/analysis/mean_profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace kolma {
namespace {

std::vector<MeanPoint> Sampled(const std::vector<double>& poly, const std::vector<double>& distances) {
  std::vector<MeanPoint> points;
  for (double d : distances) points.push_back({d, MeanProfileAt(poly, d)});
  return points;
}

TEST(MeanProfile, PairLineThroughTheTwoMeans) {
  const std::vector<MeanPoint> points{{2.0, 10.0}, {6.0, 14.0}, {9.0, 100.0}};
  const std::vector<double> c = FitMeanProfile(kPairLine, points);  // the third point is ignored
  ASSERT_EQ(c.size(), 2u);
  EXPECT_DOUBLE_EQ(c[0], 8.0);
  EXPECT_DOUBLE_EQ(c[1], 1.0);
  EXPECT_DOUBLE_EQ(MeanProfileAt(c, 10.0), 18.0);
  EXPECT_DOUBLE_EQ(MeanProfileAt(c, 0.0), 8.0);
}

TEST(MeanProfile, UnknownChoiceFallsBackToThePairLine) {
  const std::vector<MeanPoint> points{{2.0, 10.0}, {6.0, 14.0}, {9.0, 100.0}};
  EXPECT_EQ(FitMeanProfile(7, points), FitMeanProfile(kPairLine, points));
}

TEST(MeanProfile, RegressionLineUsesEveryPoint) {
  // Points symmetric about the line y = 1 + 2x: residuals +1, -1, -1, +1 cancel.
  const std::vector<MeanPoint> points{{0.0, 2.0}, {1.0, 2.0}, {2.0, 4.0}, {3.0, 8.0}};
  const std::vector<double> c = FitMeanProfile(kRegressionLine, points);
  ASSERT_EQ(c.size(), 2u);
  EXPECT_NEAR(c[1], 2.0, 1e-12);
  EXPECT_NEAR(c[0], 1.0, 1e-12);
}

TEST(MeanProfile, PolynomialDegreeFollowsTheNumberOfPoints) {
  const std::vector<double> quartic{5.0, -1.0, 0.5, 0.02, -0.003};
  const std::vector<double> c5 = FitMeanProfile(kPolynomial, Sampled(quartic, {1, 2, 4, 6, 9}));
  ASSERT_EQ(c5.size(), 5u);
  for (size_t j = 0; j < 5; ++j) EXPECT_NEAR(c5[j], quartic[j], 1e-7) << j;

  const std::vector<double> quintic{5.0, -1.0, 0.5, 0.02, -0.003, 0.0001};
  const std::vector<double> c8 = FitMeanProfile(kPolynomial, Sampled(quintic, {0.5, 1, 2, 3, 4, 6, 8, 9.5}));
  ASSERT_EQ(c8.size(), 6u);
  for (size_t j = 0; j < 6; ++j) EXPECT_NEAR(c8[j], quintic[j], 1e-6) << j;

  const std::vector<double> pairOnly = FitMeanProfile(kPolynomial, {{2.0, 10.0}, {6.0, 14.0}});
  ASSERT_EQ(pairOnly.size(), 2u);
  EXPECT_NEAR(pairOnly[0], 8.0, 1e-12);
  EXPECT_NEAR(pairOnly[1], 1.0, 1e-12);
}

TEST(MeanProfile, PolynomialWithCoincidentPositionsDropsToAFittableDegree) {
  // Three points at two positions: no parabola is determined. The fit must not return
  // the all-zero coefficients of a failed inversion (face means of 0 °C).
  const std::vector<MeanPoint> points{{2.0, 10.0}, {6.0, 14.0}, {6.0, 16.0}};
  const std::vector<double> c = FitMeanProfile(kPolynomial, points);
  ASSERT_EQ(c.size(), 2u);
  // Least-squares line: through (2, 10) and the mean (6, 15) of the coincident pair.
  EXPECT_NEAR(c[1], 1.25, 1e-12);
  EXPECT_NEAR(c[0], 7.5, 1e-12);
}

TEST(MeanProfile, EmptyProfileIsZeroEverywhere) {
  EXPECT_EQ(MeanProfileAt({}, 3.0), 0.0);
  EXPECT_TRUE(FitMeanProfile(kPairLine, {{1.0, 2.0}}).empty());
}

}  // namespace
}  // namespace kolma
