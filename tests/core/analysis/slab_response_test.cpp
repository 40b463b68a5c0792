#include "core/analysis/slab_response.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kolma {
namespace {

constexpr double kPi = std::numbers::pi;

// The textbook closed form in growing hyperbolic functions: exact, but only usable while
// cosh^2 of the slab's k L stays far from overflow.
void HyperbolicResponse(double x, double period, double diffusivity, double C, double D, double xu, double xd,
                        double& P, double& Q) {
  const double k = std::sqrt(kPi / (period * diffusivity));
  const double lambda = k * (xd - xu), y = k * (x - xu);
  const double den = std::cosh(lambda) * std::cosh(lambda) - std::cos(lambda) * std::cos(lambda);
  const double G = std::sinh(lambda) * (C * std::cos(lambda) - D * std::cosh(lambda)) / den;
  const double H = std::sin(lambda) * (C * std::cosh(lambda) - D * std::cos(lambda)) / den;
  P = D * std::cosh(y) * std::cos(y) + G * std::sinh(y) * std::cos(y) + H * std::cosh(y) * std::sin(y);
  Q = -D * std::sinh(y) * std::sin(y) - G * std::cosh(y) * std::sin(y) + H * std::sinh(y) * std::cos(y);
}

TVector Points(double xu, double xd, int count) {
  TVector x(count);
  for (int i = 1; i <= count; ++i) x.SetElement(i, xu + (xd - xu) * (i - 1) / (count - 1));
  return x;
}

TEST(SlabResponse, AgreesWithTheHyperbolicFormWhereThatIsUsable) {
  const double alpha = 0.004, xu = 1.5;
  struct Case { double thickness, period, C, D; };
  // k L from about 0.01 to 4.9.
  const Case cases[] = {{0.02, 24.0, 3.0, -2.0}, {0.5, 8760.0, 0.0, 7.0}, {0.8, 24.0, -4.0, 0.0},
                        {5.0, 1000.0, 2.5, 1.5}, {0.4, 6.0, 1.0, 1.0}, {1.0, 41.0, -3.0, 5.0}};
  for (const Case& c : cases) {
    const double lambda = SlabWaveNumber(c.period, alpha) * c.thickness;
    ASSERT_LT(lambda, 5.0);
    const TVector x = Points(xu, xu + c.thickness, 23);
    TVector P(23), Q(23);
    SlabHarmonicResponse(P, Q, x, c.period, alpha, c.C, c.D, xu, xu + c.thickness);
    const double scale = std::max(std::abs(c.C), std::abs(c.D));
    for (int i = 1; i <= 23; ++i) {
      double p = 0, q = 0;
      HyperbolicResponse(x.Element(i), c.period, alpha, c.C, c.D, xu, xu + c.thickness, p, q);
      EXPECT_NEAR(P.Element(i), p, 1e-12 * scale) << "lambda " << lambda << " point " << i;
      EXPECT_NEAR(Q.Element(i), q, 1e-12 * scale) << "lambda " << lambda << " point " << i;
    }
  }
}

TEST(SlabResponse, ExactAtTheFacesAndFiniteForThickSections) {
  // 50 m under a 1-hour harmonic: k L is about 1400, where the hyperbolic form overflows.
  const double alpha = 0.004, xu = -20.0, xd = 30.0, period = 1.0;
  double p = 0, q = 0;
  HyperbolicResponse(5.0, period, alpha, 2.0, 3.0, xu, xd, p, q);
  EXPECT_FALSE(std::isfinite(p) && std::isfinite(q));

  const TVector x = Points(xu, xd, 501);
  TVector P(501), Q(501);
  SlabHarmonicResponse(P, Q, x, period, alpha, 2.0, 3.0, xu, xd);
  EXPECT_EQ(P.Element(1), 3.0);
  EXPECT_EQ(Q.Element(1), 0.0);
  EXPECT_EQ(P.Element(501), 2.0);
  EXPECT_EQ(Q.Element(501), 0.0);
  for (int i = 1; i <= 501; ++i) {
    ASSERT_TRUE(std::isfinite(P.Element(i)) && std::isfinite(Q.Element(i))) << i;
    EXPECT_LE(std::hypot(P.Element(i), Q.Element(i)), 3.0 + 1e-12);
  }
  // Every period and thickness in between keeps the face values exactly.
  for (double period2 : {0.5, 24.0, 8760.0, 1e6})
    for (double thickness : {1e-3, 0.7, 12.0, 80.0}) {
      TVector faces(2), P2(2), Q2(2);
      faces.SetElement(1, 4.0);
      faces.SetElement(2, 4.0 + thickness);
      SlabHarmonicResponse(P2, Q2, faces, period2, alpha, -1.25, 0.75, 4.0, 4.0 + thickness);
      EXPECT_EQ(P2.Element(1), 0.75);
      EXPECT_EQ(Q2.Element(1), 0.0);
      EXPECT_EQ(P2.Element(2), -1.25);
      EXPECT_EQ(Q2.Element(2), 0.0);
    }
}

// T = P cos(w t) + Q sin(w t) solves dT/dt = alpha d2T/dx2 when alpha P'' = w Q and
// alpha Q'' = -w P; checked by second differences inside the slab.
TEST(SlabResponse, SatisfiesTheHeatEquation) {
  const double alpha = 0.004, xu = 0.0, xd = 3.0;
  for (double period : {24.0, 400.0, 8760.0}) {
    const double w = 2 * kPi / period, k = SlabWaveNumber(period, alpha);
    const double h = 1e-3 / k;
    for (double x0 : {0.1, 0.8, 1.9, 2.95}) {
      TVector x(3), P(3), Q(3);
      for (int i = 1; i <= 3; ++i) x.SetElement(i, x0 + (i - 2) * h);
      SlabHarmonicResponse(P, Q, x, period, alpha, 1.5, -4.0, xu, xd);
      const double p2 = (P.Element(1) - 2 * P.Element(2) + P.Element(3)) / (h * h);
      const double q2 = (Q.Element(1) - 2 * Q.Element(2) + Q.Element(3)) / (h * h);
      const double scale = w * 4.0;
      EXPECT_NEAR(alpha * p2, w * Q.Element(2), 1e-5 * scale) << period << " " << x0;
      EXPECT_NEAR(alpha * q2, -w * P.Element(2), 1e-5 * scale) << period << " " << x0;
    }
  }
}

TEST(SlabResponse, DecaysAsExpMinusKdBelowAFaceOfAThickSlab) {
  const double alpha = 0.004, period = 24.0, k = SlabWaveNumber(period, alpha);
  EXPECT_NEAR(k, std::sqrt(kPi / (24 * 0.004)), 1e-15);
  TVector x(6), P(6), Q(6);
  const double depths[6] = {0.0, 0.05, 0.1, 0.2, 0.4, 0.8};
  for (int i = 1; i <= 6; ++i) x.SetElement(i, depths[i - 1]);
  SlabHarmonicResponse(P, Q, x, period, alpha, 0.0, 5.0, 0.0, 10.0);
  for (int i = 1; i <= 6; ++i) {
    const double d = depths[i - 1];
    EXPECT_NEAR(std::hypot(P.Element(i), Q.Element(i)), 5 * std::exp(-k * d), 1e-12);
    // The wave lags by k d radians: 5 e^{-kd} cos(w t - k d).
    EXPECT_NEAR(P.Element(i), 5 * std::exp(-k * d) * std::cos(k * d), 1e-12);
    EXPECT_NEAR(Q.Element(i), 5 * std::exp(-k * d) * std::sin(k * d), 1e-12);
  }
}

TEST(SlabResponse, WritesOnlyTheElementsTheOutputsHave) {
  const TVector x = Points(0.0, 1.0, 5);
  TVector P(3), Q(7);
  Q.Fill(99.0);
  SlabHarmonicResponse(P, Q, x, 24.0, 0.004, 1.0, 2.0, 0.0, 1.0);
  EXPECT_EQ(P.NrOfElem(), 3);
  EXPECT_EQ(P.Element(1), 2.0);
  EXPECT_EQ(Q.Element(6), 99.0);
  EXPECT_EQ(Q.Element(5), 0.0);
}

}  // namespace
}  // namespace kolma
