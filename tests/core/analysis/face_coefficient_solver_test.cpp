#include "core/analysis/face_coefficient_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/core/analysis/periodic_slab_solution.h"

namespace kolma {
namespace {

using testing::HarmonicCoefficients;
using testing::PeriodicSlabHarmonic;

TEST(FaceCoefficientSolver, RecoversTheFaceHarmonicOfTheExactField) {
  // Slab of 10 m, thermometers at 2 m and 6 m, a few periods from a year to two weeks.
  const double alpha = 0.004, L = 10.0;
  const HarmonicCoefficients up{3.0, -1.5}, down{0.7, 2.2};
  for (double period : {8760.0, 2000.0, 700.0, 336.0}) {
    const double f = 1.0 / period;
    const double k = std::sqrt(std::numbers::pi * f / alpha);
    const HarmonicCoefficients ta = PeriodicSlabHarmonic(up, down, f, alpha, L, 2.0);
    const HarmonicCoefficients tb = PeriodicSlabHarmonic(up, down, f, alpha, L, 6.0);

    const FaceSolution fromUp = SolveFaceCoefficients(k * 2.0, ta.a, ta.b, k * 6.0, tb.a, tb.b);
    ASSERT_EQ(fromUp.status, FaceSolveStatus::kSolved) << period;
    EXPECT_NEAR(fromUp.x[0], up.a, 1e-8) << period;
    EXPECT_NEAR(fromUp.x[3], up.b, 1e-8) << period;

    // Measured from the other face the same two points give the downstream harmonic.
    const FaceSolution fromDown = SolveFaceCoefficients(k * 4.0, tb.a, tb.b, k * 8.0, ta.a, ta.b);
    ASSERT_EQ(fromDown.status, FaceSolveStatus::kSolved) << period;
    EXPECT_NEAR(fromDown.x[0], down.a, 1e-7) << period;
    EXPECT_NEAR(fromDown.x[3], down.b, 1e-7) << period;
  }
}

TEST(FaceCoefficientSolver, ThermometerOnTheFaceIsUsable) {
  // y = 0 puts exact zeros in the matrix; they say nothing about its conditioning.
  const TMatrix m = FaceSystemMatrix(0.0, 1.3);
  EXPECT_EQ(m.Element(2, 1), 0.0);
  EXPECT_TRUE(IsFaceSystemWellConditioned(m));
  const FaceSolution s = SolveFaceCoefficients(0.0, 4.0, -2.0, 1.3, 0.5, 0.25);
  ASSERT_EQ(s.status, FaceSolveStatus::kSolved);
  EXPECT_NEAR(s.x[0], 4.0, 1e-12);
  EXPECT_NEAR(s.x[3], -2.0, 1e-12);
}

TEST(FaceCoefficientSolver, NineDecadesOfSpreadAreRefused) {
  // cosh(25) ~ 3.6e10: the far rows dwarf the near ones.
  EXPECT_FALSE(IsFaceSystemWellConditioned(FaceSystemMatrix(0.5, 25.0)));
  EXPECT_EQ(SolveFaceCoefficients(0.5, 1, 1, 25.0, 1, 1).status, FaceSolveStatus::kIllConditioned);
  // Small entries alone also count against 10^0: sin y sinh y ~ 1e-10.
  EXPECT_FALSE(IsFaceSystemWellConditioned(FaceSystemMatrix(1e-5, 0.5)));
  // A moderate spread passes.
  EXPECT_TRUE(IsFaceSystemWellConditioned(FaceSystemMatrix(0.5, 8.0)));
}

TEST(FaceCoefficientSolver, OverflowingHyperbolicsAreRefusedNotInverted) {
  // cosh(800) is infinite, and inf * 0-ish products give NaN.
  const TMatrix m = FaceSystemMatrix(1.0, 800.0);
  EXPECT_FALSE(std::isfinite(m.Element(1, 3)));
  EXPECT_FALSE(IsFaceSystemWellConditioned(m));
  const FaceSolution s = SolveFaceCoefficients(1.0, 1, 1, 800.0, 1, 1);
  EXPECT_EQ(s.status, FaceSolveStatus::kIllConditioned);
  for (double x : s.x) EXPECT_EQ(x, 0.0);

  TMatrix nan(4, 4);
  nan.Fill(1.0);
  nan.SetElement(2, 3, std::nan(""));
  EXPECT_FALSE(IsFaceSystemWellConditioned(nan));
}

TEST(FaceCoefficientSolver, TwoPointsAtOnePositionAreSingular) {
  const FaceSolution s = SolveFaceCoefficients(1.0, 1, 2, 1.0, 1, 2);
  EXPECT_EQ(s.status, FaceSolveStatus::kSingular);
  for (double x : s.x) EXPECT_EQ(x, 0.0);
}

}  // namespace
}  // namespace kolma
