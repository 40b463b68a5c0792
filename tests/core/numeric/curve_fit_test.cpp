#include "core/numeric/curve_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/numeric/errors.h"

namespace kolma {
namespace {

void Add(TCurveFit& fit, const std::vector<double>& xs, const std::vector<double>& ys) {
  for (size_t i = 0; i < xs.size(); ++i) fit.AddPoint(xs[i], ys[i]);
}

void ExpectNotDistinct(TCurveFit& fit, double x) {
  try {
    fit.SplineValue(x);
    FAIL() << "no error at x = " << x;
  } catch (const ECurveFitError& e) {
    EXPECT_STREQ(e.what(), "CubicSpline: the tabulated values are not distinct");
  }
}

// Natural cubic spline computed independently: the second derivatives M solve
// h[i-1] M[i-1] + 2 (h[i-1] + h[i]) M[i] + h[i] M[i+1] = 6 (slope[i] - slope[i-1]),
// M at both ends 0, by dense Gaussian elimination; x must be sorted.
double ReferenceNaturalSpline(const std::vector<double>& x, const std::vector<double>& y, double at) {
  const size_t n = x.size();
  std::vector<std::vector<double>> a(n, std::vector<double>(n + 1, 0.0));
  a[0][0] = a[n - 1][n - 1] = 1.0;
  for (size_t i = 1; i + 1 < n; ++i) {
    const double hl = x[i] - x[i - 1], hr = x[i + 1] - x[i];
    a[i][i - 1] = hl;
    a[i][i] = 2 * (hl + hr);
    a[i][i + 1] = hr;
    a[i][n] = 6 * ((y[i + 1] - y[i]) / hr - (y[i] - y[i - 1]) / hl);
  }
  for (size_t k = 0; k < n; ++k)
    for (size_t r = k + 1; r < n; ++r) {
      const double f = a[r][k] / a[k][k];
      for (size_t c = k; c <= n; ++c) a[r][c] -= f * a[k][c];
    }
  std::vector<double> m(n);
  for (size_t k = n; k-- > 0;) {
    double s = a[k][n];
    for (size_t c = k + 1; c < n; ++c) s -= a[k][c] * m[c];
    m[k] = s / a[k][k];
  }
  size_t i = 0;
  while (i + 2 < n && at > x[i + 1]) ++i;
  const double h = x[i + 1] - x[i], l = x[i + 1] - at, r = at - x[i];
  return m[i] * l * l * l / (6 * h) + m[i + 1] * r * r * r / (6 * h) + (y[i] / h - m[i] * h / 6) * l +
         (y[i + 1] / h - m[i + 1] * h / 6) * r;
}

TEST(CurveFitLinear, ExactAndDegenerateLines) {
  double slope = -1, intercept = -1, r2 = -1;
  TCurveFit fit;
  fit.LinearFit(slope, intercept, r2);  // no points
  EXPECT_EQ(slope, 0); EXPECT_EQ(intercept, 0); EXPECT_EQ(r2, 0);
  fit.AddPoint(4, 7);
  fit.LinearFit(slope, intercept, r2);  // one point
  EXPECT_EQ(slope, 0); EXPECT_EQ(intercept, 0); EXPECT_EQ(r2, 0);

  fit.InitFit();
  Add(fit, {0, 1, 2}, {1, 3, 5});
  fit.LinearFit(slope, intercept, r2);
  EXPECT_DOUBLE_EQ(slope, 2); EXPECT_DOUBLE_EQ(intercept, 1); EXPECT_DOUBLE_EQ(r2, 1);

  fit.InitFit();
  Add(fit, {1, 2, 3}, {2, 2, 2});
  fit.LinearFit(slope, intercept, r2);
  EXPECT_DOUBLE_EQ(slope, 0); EXPECT_DOUBLE_EQ(intercept, 2); EXPECT_EQ(r2, 1);

  // Constant y that binary fractions cannot hold exactly: still a perfect fit.
  fit.InitFit();
  Add(fit, {1, 2, 3}, {0.7, 0.7, 0.7});
  fit.LinearFit(slope, intercept, r2);
  EXPECT_NEAR(slope, 0, 1e-15); EXPECT_NEAR(intercept, 0.7, 1e-15); EXPECT_EQ(r2, 1);

  // All x equal (0.7 is inexact, so the denominator is rounding noise, not 0).
  fit.InitFit();
  Add(fit, std::vector<double>(7, 0.7), {1, 2, 3, 4, 5, 6, 7});
  fit.LinearFit(slope, intercept, r2);
  EXPECT_EQ(slope, 0); EXPECT_DOUBLE_EQ(intercept, 4); EXPECT_EQ(r2, 0);
  fit.InitFit();
  Add(fit, {5, 5}, {3, 3});
  fit.LinearFit(slope, intercept, r2);
  EXPECT_EQ(slope, 0); EXPECT_DOUBLE_EQ(intercept, 3); EXPECT_EQ(r2, 1);
}

TEST(CurveFitLinear, ScatteredPointsMatchCentredFormulasAndDegreeOne) {
  const std::vector<double> xs{-3, -1, 0.5, 2, 4, 7}, ys{2, 1.5, 0, -1, -0.5, -4};
  TCurveFit fit;
  Add(fit, xs, ys);
  double mx = 0, my = 0;
  for (size_t i = 0; i < xs.size(); ++i) { mx += xs[i] / 6; my += ys[i] / 6; }
  double sxx = 0, sxy = 0, syy = 0;
  for (size_t i = 0; i < xs.size(); ++i) {
    sxx += (xs[i] - mx) * (xs[i] - mx); sxy += (xs[i] - mx) * (ys[i] - my); syy += (ys[i] - my) * (ys[i] - my);
  }
  double slope, intercept, r2;
  fit.LinearFit(slope, intercept, r2);
  EXPECT_NEAR(slope, sxy / sxx, 1e-12);
  EXPECT_NEAR(intercept, my - sxy / sxx * mx, 1e-12);
  EXPECT_NEAR(r2, sxy * sxy / (sxx * syy), 1e-12);
  // The degree-1 polynomial is the same line, reached through the normal matrix.
  double c[2], polyR2;
  ASSERT_TRUE(fit.PolynomialFit(1, c, polyR2));
  EXPECT_NEAR(c[0], intercept, 1e-12); EXPECT_NEAR(c[1], slope, 1e-12); EXPECT_NEAR(polyR2, r2, 1e-12);
}

TEST(CurveFitPolynomial, SmallCasesAndRefusals) {
  TCurveFit fit;
  Add(fit, {0, 1, 2}, {1, 2, 5});
  std::vector<double> c;
  double r2 = -1;
  ASSERT_TRUE(fit.PolynomialFit(2, c, r2));
  ASSERT_EQ(c.size(), 3u);
  EXPECT_NEAR(c[0], 1, 1e-12); EXPECT_NEAR(c[1], 0, 1e-12); EXPECT_NEAR(c[2], 1, 1e-12);
  EXPECT_NEAR(r2, 1, 1e-12);

  double raw[10] = {7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
  r2 = 7;
  EXPECT_FALSE(fit.PolynomialFit(3, raw, r2));  // degree not below the point count
  EXPECT_EQ(raw[0], 7); EXPECT_EQ(raw[3], 7); EXPECT_EQ(r2, 7);

  for (int i = 0; i < 20; ++i) fit.AddPoint(i * 0.1, i);
  EXPECT_FALSE(fit.PolynomialFit(9, raw, r2));  // beyond the power sums
  EXPECT_FALSE(fit.PolynomialFit(255, c, r2));
  EXPECT_EQ(raw[9], 7); EXPECT_EQ(r2, 7); EXPECT_EQ(c.size(), 3u);

  // All x equal: the normal matrix is singular, the coefficients come back 0.
  fit.InitFit();
  Add(fit, {1, 1, 1}, {1, 2, 3});
  EXPECT_FALSE(fit.PolynomialFit(1, raw, r2));
  EXPECT_EQ(raw[0], 0); EXPECT_EQ(raw[1], 0);
}

TEST(CurveFitPolynomial, RecoversExactPolynomials) {
  const std::vector<std::vector<double>> truths{
      {2.5, -1, 0.75},               // parabola
      {-1, 0.5, 2, -0.25},           // cubic
      {1, -2, 0.5, 3, -1, 0.25, 2, -0.5, 1.5}};  // degree 8, the highest supported
  for (const auto& truth : truths) {
    TCurveFit fit;
    for (int i = 0; i <= 100; ++i) {
      const double x = -1 + 0.02 * i;  // [-1, 1] keeps the normal matrix well scaled
      double y = 0;
      for (size_t k = truth.size(); k-- > 0;) y = y * x + truth[k];
      fit.AddPoint(x, y);
    }
    std::vector<double> c;
    double r2;
    ASSERT_TRUE(fit.PolynomialFit(static_cast<std::uint8_t>(truth.size() - 1), c, r2));
    for (size_t k = 0; k < truth.size(); ++k) EXPECT_NEAR(c[k], truth[k], 1e-7) << "degree " << k;
    EXPECT_NEAR(r2, 1, 1e-9);
  }
}

TEST(CurveFitSpline, NaturalSplineEdgeCases) {
  TCurveFit fit;
  ExpectNotDistinct(fit, 0);  // no point
  fit.AddPoint(1, 2);
  ExpectNotDistinct(fit, 1);  // a single point

  for (const std::vector<double>& order : {std::vector<double>{0, 1, 2}, std::vector<double>{2, 0, 1}}) {
    TCurveFit f;
    for (double x : order) f.AddPoint(x, x == 1 ? 1 : 0);
    EXPECT_DOUBLE_EQ(f.SplineValue(0.5), 0.6875);
    EXPECT_DOUBLE_EQ(f.SplineValue(1.5), 0.6875);
    EXPECT_DOUBLE_EQ(f.SplineValue(0), 0);
    EXPECT_DOUBLE_EQ(f.SplineValue(1), 1);
    EXPECT_DOUBLE_EQ(f.SplineValue(2), 0);
  }
}

TEST(CurveFitSpline, MatchesIndependentNaturalSpline) {
  const std::vector<double> xs{-2, -1.2, 0, 0.3, 1.5, 4, 4.5, 7}, ys{1, -0.5, 2, 2.2, 0, 3, 2.5, -1};
  // Added in a scrambled order: the pairs must stay together through the sort.
  std::vector<size_t> order{5, 2, 7, 0, 3, 6, 1, 4};
  TCurveFit fit;
  for (size_t i : order) fit.AddPoint(xs[i], ys[i]);
  for (size_t i = 0; i < xs.size(); ++i) EXPECT_NEAR(fit.SplineValue(xs[i]), ys[i], 1e-12);
  for (double x = -2; x <= 7; x += 0.1) EXPECT_NEAR(fit.SplineValue(x), ReferenceNaturalSpline(xs, ys, x), 1e-11) << x;

  std::mt19937 random(42);
  for (int trial = 0; trial < 3; ++trial) {
    std::shuffle(order.begin(), order.end(), random);
    TCurveFit other;
    for (size_t i : order) other.AddPoint(xs[i], ys[i]);
    for (double x = -3; x <= 8; x += 0.37) EXPECT_EQ(other.SplineValue(x), fit.SplineValue(x));
  }
}

TEST(CurveFitSpline, ReproducesLinesAndClampedCubics) {
  const std::vector<double> xs{0, 0.5, 1.7, 2, 3.1, 4};
  auto line = [](double x) { return 3 - 2 * x; };
  auto cubic = [](double x) { return 1 + x - 0.5 * x * x + 0.25 * x * x * x; };
  auto cubicSlope = [](double x) { return 1 - x + 0.75 * x * x; };

  TCurveFit natural;
  for (double x : xs) natural.AddPoint(x, line(x));
  for (double x = -1; x <= 5; x += 0.25) EXPECT_NEAR(natural.SplineValue(x), line(x), 1e-12);

  // A clamped spline with the exact end slopes is unique, and the cubic itself
  // qualifies: it must come back everywhere, extrapolation included.
  TCurveFit clamped;
  for (double x : xs) clamped.AddPoint(x, cubic(x));
  clamped.SetNaturalLowerEnd(false);
  clamped.SetNaturalUpperEnd(false);
  clamped.SetLowerEndSlope(cubicSlope(0));
  clamped.SetUpperEndSlope(cubicSlope(4));
  for (double x = -1; x <= 5; x += 0.25) EXPECT_NEAR(clamped.SplineValue(x), cubic(x), 1e-11) << x;
  // Back to natural ends: the end condition change must rebuild the spline.
  clamped.SetNaturalLowerEnd(true);
  clamped.SetNaturalUpperEnd(true);
  EXPECT_GT(std::fabs(clamped.SplineValue(0.25) - cubic(0.25)), 1e-3);

  // Mixed ends: (x - 1)^3 has zero curvature at x = 1, so a natural lower end and a
  // clamped upper end reproduce it too.
  TCurveFit mixed;
  for (double x : {1.0, 1.4, 2.0, 2.9, 3.5}) mixed.AddPoint(x, std::pow(x - 1, 3));
  mixed.SetNaturalUpperEnd(false);
  mixed.SetUpperEndSlope(3 * 2.5 * 2.5);
  for (double x = 1; x <= 3.5; x += 0.125) EXPECT_NEAR(mixed.SplineValue(x), std::pow(x - 1, 3), 1e-11) << x;
}

TEST(CurveFitSpline, RepeatedXNeverYieldsInfOrNan) {
  for (bool natural : {true, false}) {
    TCurveFit fit;
    fit.SetNaturalLowerEnd(natural);
    fit.SetNaturalUpperEnd(natural);
    Add(fit, {0, 1, 1, 1, 2, 3}, {0, 1, 2, 3, 0, 1});
    for (double x : {-1.0, 0.5, 1.0, 1.5, 2.5, 4.0}) EXPECT_TRUE(std::isfinite(fit.SplineValue(x))) << x;
  }
  TCurveFit upper;  // coincident pair at the top: the last interval is empty
  Add(upper, {0, 1, 2, 2}, {0, 1, 2, 5});
  EXPECT_TRUE(std::isfinite(upper.SplineValue(0.5)));
  ExpectNotDistinct(upper, 2);
  ExpectNotDistinct(upper, 9);
  TCurveFit lower;  // and at the bottom, clamped so that the end term divides too
  lower.SetNaturalLowerEnd(false);
  Add(lower, {0, 0, 1, 2}, {0, 1, 2, 5});
  ExpectNotDistinct(lower, -1);
  EXPECT_TRUE(std::isfinite(lower.SplineValue(0.5)));
  EXPECT_TRUE(std::isfinite(lower.SplineValue(1.5)));
}

TEST(CurveFitState, AddAfterQueryInitFitAndGrowth) {
  TCurveFit fit;
  Add(fit, {0, 1, 2}, {0, 1, 2});
  EXPECT_DOUBLE_EQ(fit.SplineValue(0.5), 0.5);
  fit.AddPoint(3, 0);  // must invalidate the spline built above
  EXPECT_NEAR(fit.SplineValue(2.5), ReferenceNaturalSpline({0, 1, 2, 3}, {0, 1, 2, 0}, 2.5), 1e-12);

  EXPECT_DOUBLE_EQ(fit.PowerSums().Element(1), 4);
  EXPECT_DOUBLE_EQ(fit.PowerSums().Element(18), 1 + std::pow(2, 17) + std::pow(3, 17));
  EXPECT_DOUBLE_EQ(fit.Moments().Element(9), 1 + 2 * std::pow(2, 8));
  EXPECT_DOUBLE_EQ(fit.SumXY(), 5);

  fit.InitFit();
  EXPECT_EQ(fit.NumberOfPoints(), 0);
  EXPECT_EQ(fit.SumX() + fit.SumY() + fit.SumX2() + fit.SumY2() + fit.SumXY(), 0);
  for (int k = 1; k <= 18; ++k) EXPECT_EQ(fit.PowerSums().Element(k), 0);
  for (int k = 1; k <= 9; ++k) EXPECT_EQ(fit.Moments().Element(k), 0);
  EXPECT_EQ(fit.Points().Element(1, 2), 0);
  ExpectNotDistinct(fit, 0.5);  // the old spline is gone with its points

  // 2500 points overflow the initial 1000 rows twice; nothing may be lost.
  for (int i = 0; i < 2500; ++i) fit.AddPoint(2500 - i, 0.5 * (2500 - i) + 1);
  EXPECT_EQ(fit.NumberOfPoints(), 2500);
  EXPECT_EQ(fit.Points().NrOfRows(), 3000);
  EXPECT_EQ(fit.Points().Element(1, 2500), 1);
  EXPECT_EQ(fit.Points().Element(2, 2500), 1.5);
  double slope, intercept, r2;
  fit.LinearFit(slope, intercept, r2);
  EXPECT_NEAR(slope, 0.5, 1e-12); EXPECT_NEAR(intercept, 1, 1e-6); EXPECT_NEAR(r2, 1, 1e-12);
  EXPECT_NEAR(fit.SplineValue(1.25), 1.625, 1e-12);
  EXPECT_NEAR(fit.SplineValue(1999.5), 1000.75, 1e-9);
  fit.InitFit();
  EXPECT_EQ(fit.Points().NrOfRows(), 1000);
}

}  // namespace
}  // namespace kolma
