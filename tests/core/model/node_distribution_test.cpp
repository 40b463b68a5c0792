#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "core/model/node_distribution.h"

namespace kolma {
namespace {

std::vector<double> Nodes(int n, double xu, double xd, double r) {
  TVector v;
  EXPECT_TRUE(ComputeNodes(n, v, xu, xd, r)) << n << " " << xu << " " << xd << " " << r;
  return std::vector<double>(v.Data(), v.Data() + v.NrOfElem());
}

void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected, double tolerance) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "node " << i + 1;
}

TEST(NodeDistribution, KnownSections) {
  ExpectNear(Nodes(10, 0, 10, 3), {0, 0.5, 1.25, 2.25, 3.5, 5, 6.5, 7.75, 8.75, 9.5, 10}, 1e-12);
  const double h = 10.0 / 9.0;  // odd count: h, 2h, 3h, 2h, h
  ExpectNear(Nodes(5, 0, 10, 3), {0, h, 3 * h, 6 * h, 8 * h, 10}, 1e-12);
  ExpectNear(Nodes(6, 0, 10, 2), {0, 1.1111, 2.7778, 5, 7.2222, 8.8889, 10}, 5e-5);
  ExpectNear(Nodes(3, 0, 4, 2), {0, 1, 3, 4}, 1e-12);
  ExpectNear(Nodes(4, 0, 6, 2), {0, 1, 3, 5, 6}, 1e-12);
  const std::vector<double> equal = Nodes(11, 0, 10, 1);
  for (size_t i = 1; i < equal.size(); ++i) EXPECT_NEAR(equal[i] - equal[i - 1], 0.9091, 5e-5);
}

// Exact faces, spacings symmetric about the middle, h at the faces and r h in the middle.
TEST(NodeDistribution, EveryAcceptedSectionIsGradedSymmetricallyBetweenExactFaces) {
  for (int n = 3; n <= 50; ++n) {
    for (double r : {0.25, 1.0, 3.0, 1000.0}) {
      for (double xu : {-7.5, 1234.5}) {
        const std::vector<double> x = Nodes(n, xu, xu + 13, r);
        ASSERT_EQ(x.size(), static_cast<size_t>(n) + 1);
        EXPECT_EQ(x.front(), xu);
        EXPECT_EQ(x.back(), xu + 13);
        const double tolerance = 1e-9 * (1 + std::abs(xu));
        for (int i = 1; i <= n; ++i) {
          EXPECT_GT(x[i], x[i - 1]);
          EXPECT_NEAR(x[i] - x[i - 1], x[n + 1 - i] - x[n - i], tolerance) << n << " " << r << " " << i;
        }
        EXPECT_NEAR(x[n / 2 + 1] - x[n / 2], r * (x[1] - x[0]), tolerance * r) << n << " " << r;
      }
    }
  }
}

TEST(NodeDistribution, RefusesSectionsWithoutAMeaningfulDistributionAndKeepsTheTarget) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    int n;
    double xu, xd, r;
  };
  const Case refused[] = {
      {10, 5, 5, 3},     {10, 6, 5, 3},     {2, 0, 10, 3},     {1, 0, 10, 3},      {0, 0, 10, 3},
      {-4, 0, 10, 3},    {INT_MIN, 0, 10, 3}, {10, 0, 10, 0},  {10, 0, 10, -1},    {11, 0, 10, -1},
      {10, nan, 10, 3},  {10, 0, nan, 3},   {10, 0, 10, nan},  {10, -inf, 10, 3},  {10, 0, 10, inf},
      {10, -1e308, 1e308, 3},  // the length overflows
      {kMaxNodeDivisions + 1, 0, 10, 3}, {INT_MAX, 0, 10, 3},
      {50, 1e9, 1e9 + 1e-6, 1000},  // nodes too close to tell apart
  };
  for (const Case& c : refused) {
    TVector target(3);
    target.SetElement(2, 7.0);
    EXPECT_FALSE(ComputeNodes(c.n, target, c.xu, c.xd, c.r)) << c.n << " " << c.xu << " " << c.xd << " " << c.r;
    EXPECT_EQ(target.NrOfElem(), 3);
    EXPECT_EQ(target.Element(2), 7.0);
  }
  TVector big(40);
  EXPECT_TRUE(ComputeNodes(kMaxNodeDivisions, big, 0, 1000, 5));
  EXPECT_EQ(big.NrOfElem(), kMaxNodeDivisions + 1);
}

}  // namespace
}  // namespace kolma
