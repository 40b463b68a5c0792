#include "core/analysis/harmonic_decomposition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <random>
#include <set>
#include <vector>

#include "core/model/project.h"
#include "core/numeric/errors.h"

namespace kolma {
namespace {

constexpr double kPi = std::numbers::pi;

TVector Vec(std::initializer_list<double> values) {
  TVector v(static_cast<int>(values.size()));
  int i = 1;
  for (double x : values) v.SetElement(i++, x);
  return v;
}

std::vector<double> Values(const TVector& v) { return {v.Data(), v.Data() + v.NrOfElem()}; }

// A record of n samples: mean + sum of a cos + b sin at the given bins.
struct Wave { int bin; double a, b; };
TVector Record(int n, double mean, std::initializer_list<Wave> waves) {
  TVector v(n);
  for (int j = 0; j < n; ++j) {
    double x = mean;
    for (const Wave& w : waves) x += w.a * std::cos(2 * kPi * w.bin * j / n) + w.b * std::sin(2 * kPi * w.bin * j / n);
    v.SetElement(j + 1, x);
  }
  return v;
}

TFastFourier Transformed(const TVector& v) {
  TFastFourier f;
  TransformHistory(f, v);
  return f;
}

TEST(HarmonicDecomposition, NextPowerOfTwo) {
  EXPECT_EQ(NextPowerOfTwo(4), 0);
  EXPECT_EQ(NextPowerOfTwo(5), 8);
  EXPECT_EQ(NextPowerOfTwo(8), 8);
  EXPECT_EQ(NextPowerOfTwo(9), 16);
  EXPECT_EQ(NextPowerOfTwo(8388608), 8388608);
  EXPECT_EQ(NextPowerOfTwo(8388609), 0);
  EXPECT_EQ(NextPowerOfTwo(0), 0);
  EXPECT_EQ(NextPowerOfTwo(-7), 0);
  EXPECT_EQ(NextPowerOfTwo(8761), 16384);
}

TEST(HarmonicDecomposition, ResampleTakesInteriorSamplesSlightlyEarly) {
  TVector v = Vec({1, 2, 3, 4, 5});
  EXPECT_TRUE(ResampleToPowerOfTwo(v));
  const std::vector<double> expected = {1, 8.0 / 7, 12.0 / 7, 16.0 / 7, 20.0 / 7, 24.0 / 7, 4, 5};
  ASSERT_EQ(v.NrOfElem(), 8);
  for (int e = 1; e <= 8; ++e) EXPECT_NEAR(v.Element(e), expected[static_cast<size_t>(e - 1)], 1e-15) << e;

  // The last two re-sampled values are exactly the last two samples, on a curved record too.
  TVector squares(15);
  for (int j = 1; j <= 15; ++j) squares.SetElement(j, j * j);
  EXPECT_TRUE(ResampleToPowerOfTwo(squares));
  ASSERT_EQ(squares.NrOfElem(), 16);
  EXPECT_EQ(squares.Element(15), 196.0);
  EXPECT_EQ(squares.Element(16), 225.0);
  EXPECT_NEAR(squares.Element(8), 49.0 + (8.0 * 14 / 15 - 7) * 15, 1e-12);  // between 7^2 and 8^2

  TVector four = Vec({4, 3, 2, 1});
  EXPECT_FALSE(ResampleToPowerOfTwo(four));
  EXPECT_EQ(Values(four), (std::vector<double>{4, 3, 2, 1}));

  TVector sixteen(16);
  for (int j = 1; j <= 16; ++j) sixteen.SetElement(j, std::sin(j));
  const std::vector<double> before = Values(sixteen);
  EXPECT_TRUE(ResampleToPowerOfTwo(sixteen));
  EXPECT_EQ(Values(sixteen), before);
}

TEST(HarmonicDecomposition, PadHistoryRampsBackToTheFirstSample) {
  const TVector source = Vec({10, 20, 30});
  TVector target;
  ASSERT_TRUE(PadHistory(source, target, 20));
  std::vector<double> expected = {10, 20, 30, 20, 10};
  expected.resize(23, 10.0);
  EXPECT_EQ(Values(target), expected);

  // Round(0.5) = 0: no ramp at all.
  ASSERT_TRUE(PadHistory(source, target, 5));
  EXPECT_EQ(Values(target), (std::vector<double>{10, 20, 30, 10, 10, 10, 10, 10}));

  // Round(1.5) = 2 ramp samples on a slope that reaches the first value at 1.5: the second overshoots.
  ASSERT_TRUE(PadHistory(source, target, 15));
  ASSERT_EQ(target.NrOfElem(), 18);
  EXPECT_NEAR(target.Element(4), 30 - 40.0 / 3, 1e-12);
  EXPECT_NEAR(target.Element(5), 30 - 80.0 / 3, 1e-12);
  for (int i = 6; i <= 18; ++i) EXPECT_EQ(target.Element(i), 10.0);

  // No padding copies the source.
  ASSERT_TRUE(PadHistory(source, target, 0));
  EXPECT_EQ(Values(target), Values(source));
  ASSERT_TRUE(PadHistory(source, target, -4));
  EXPECT_EQ(Values(target), Values(source));
}

TEST(HarmonicDecomposition, PaddingSamplesAndRounding) {
  EXPECT_EQ(PaddingSamples(10.0, 0.004, 0, 0.0, 10.0), 1650);
  EXPECT_EQ(PaddingSamples(10.0, 0.004, 1, 1.0, 24.0), 402);  // Round(401.775)
  EXPECT_EQ(PaddingSamples(10.0, 0.004, 1, 0.0, 24.0), 0);
  EXPECT_LT(PaddingSamples(10.0, 0.004, 1, -2.0, 24.0), 0);
  EXPECT_EQ(PaddingSamples(1e6, 1e-9, 0, 0.0, 1.0), 2147483647);

  Project project;
  project.SectionProperties.Xu = 2.0;
  project.SectionProperties.Xd = 12.0;
  EXPECT_EQ(PaddingSamples(project, 10.0), 1650);
  project.AnalysisOptions.PaddingMode = 1;
  project.AnalysisOptions.PaddingYears = 1.0;
  EXPECT_EQ(PaddingSamples(project, 24.0), 402);

  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999999), 2);
  EXPECT_EQ(RoundHalfEven(-2.5000001), -3);
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

TEST(HarmonicDecomposition, TransformOfACountThatIsNoPowerOfTwoRaises) {
  TFastFourier f;
  try {
    TransformHistory(f, Vec({1, 2, 3}));
    FAIL() << "no exception";
  } catch (const EFourierError& e) {
    EXPECT_STREQ(e.what(), "FFT data length must be power of 2");
  }
  TransformHistory(f, Record(16, 2.0, {{3, 1.5, -0.5}}));
  EXPECT_NEAR(f.RealSpectrum(0), 2.0, 1e-14);
  EXPECT_NEAR(f.RealSpectrum(3), 1.5, 1e-14);
  EXPECT_NEAR(f.ImagSpectrum(3), -0.5, 1e-14);
}

TEST(HarmonicDecomposition, SelectionCountsFollowTheTwoRankings) {
  // The same three strongest bins in both spectra (the mean among them).
  const TFastFourier a = Transformed(Record(64, 5.0, {{3, 4, 0}, {11, 0, 3}, {20, 0.01, 0}, {21, 0, 0.02}}));
  const TFastFourier b = Transformed(Record(64, -6.0, {{3, 0, 2}, {11, 1, 1}, {7, 0.03, 0}, {8, 0.01, 0.01}}));
  EXPECT_EQ(SelectHarmonicBins(a, b, 3), (std::vector<std::int32_t>{0, 3, 11}));
  // Different strongest bins: twice the count.
  const TFastFourier c = Transformed(Record(64, 0.0, {{1, 5, 0}, {2, 4, 0}, {3, 3, 0}}));
  const TFastFourier d = Transformed(Record(64, 0.0, {{5, 5, 0}, {6, 0, 4}, {7, 3, 0}}));
  EXPECT_EQ(SelectHarmonicBins(c, d, 3), (std::vector<std::int32_t>{1, 2, 3, 5, 6, 7}));
  // A count past the candidates keeps every bin below Nyquist once, the mean included.
  std::vector<std::int32_t> all(32);
  for (int k = 0; k < 32; ++k) all[static_cast<size_t>(k)] = k;
  EXPECT_EQ(SelectHarmonicBins(c, d, 32), all);
  EXPECT_EQ(SelectHarmonicBins(c, d, 1000), all);
  // A count below 1 keeps the strongest bin of each.
  EXPECT_EQ(SelectHarmonicBins(c, d, 0), (std::vector<std::int32_t>{1, 5}));
  // Ranks beyond the candidates read bin 0: with 20 of 32 per spectrum the union is capped at 32.
  std::mt19937 rng(5);
  std::normal_distribution<double> normal;
  TVector r1(64), r2(64);
  for (int j = 1; j <= 64; ++j) {
    r1.SetElement(j, normal(rng));
    r2.SetElement(j, normal(rng));
  }
  const std::vector<std::int32_t> many = SelectHarmonicBins(Transformed(r1), Transformed(r2), 20);
  EXPECT_GE(many.size(), 20u);
  EXPECT_LE(many.size(), 32u);
}

// Equal amplitudes keep the order the comb sort of the matrix rows leaves them in.
TEST(HarmonicDecomposition, TiesAreRankedAsTheRowSortLeavesThem) {
  TVector impulse(32);
  impulse.SetElement(1, 1.0);  // every bin above 0 has exactly the same amplitude
  const TFastFourier f = Transformed(impulse);
  const TFastFourier quiet = Transformed(TVector(32));  // all zero: ranks by the same rule
  TMatrix ranking(2, 16);
  for (int r = 1; r <= 16; ++r) {
    ranking.SetElement(1, r, r - 1);
    ranking.SetElement(2, r, f.Amplitude(r - 1));
  }
  ranking.SortRows(2, false, 1, 1, 2, 16);
  TMatrix quietRanking(2, 16);
  for (int r = 1; r <= 16; ++r) quietRanking.SetElement(1, r, r - 1);
  quietRanking.SortRows(2, false, 1, 1, 2, 16);
  for (int count = 1; count <= 16; ++count) {
    std::set<std::int32_t> expected;
    for (int i = 1; i <= count; ++i) {
      expected.insert(static_cast<std::int32_t>(ranking.Element(1, i)));
      expected.insert(static_cast<std::int32_t>(quietRanking.Element(1, i)));
    }
    const std::vector<std::int32_t> bins = SelectHarmonicBins(f, quiet, count);
    EXPECT_EQ(std::set<std::int32_t>(bins.begin(), bins.end()), expected) << count;
  }
}

TEST(HarmonicDecomposition, InverseTableHoldsBothSpectraInIncreasingFrequency) {
  const int n = 64;
  const double dt = 2.0;
  const TFastFourier x1 = Transformed(Record(n, 3.0, {{5, 2, 0}, {9, 1, 1}}));
  const TFastFourier x2 = Transformed(Record(n, -1.0, {{5, 0, 4}, {3, 0.5, 0}}));
  const TMatrix table = ChoisirHarmoniques(x1, x2, 3, dt);
  ASSERT_EQ(table.NrOfColumns(), 9);
  ASSERT_EQ(table.NrOfRows(), 4);  // bins 0, 3, 5, 9
  const int bins[4] = {0, 3, 5, 9};
  for (int r = 1; r <= 4; ++r) EXPECT_NEAR(table.Element(1, r), bins[r - 1] / (n * dt), 1e-15);
  // Bin 0: the means.
  EXPECT_NEAR(table.Element(2, 1), 3.0, 1e-13);
  EXPECT_NEAR(table.Element(4, 1), 1.0, 1e-13);
  EXPECT_NEAR(table.Element(6, 1), 3.0, 1e-13);
  EXPECT_NEAR(table.Element(8, 1), -1.0, 1e-13);
  // Bin 5: cosine 2 in x1, sine 4 in x2.
  EXPECT_NEAR(table.Element(2, 3), 2.0, 1e-13);
  EXPECT_NEAR(table.Element(3, 3), 0.0, 1e-13);
  EXPECT_NEAR(table.Element(4, 3), 4.0, 1e-13);
  EXPECT_NEAR(table.Element(6, 3), 2.0, 1e-13);
  EXPECT_NEAR(table.Element(9, 3), 4.0, 1e-13);
  // Bin 9: 1 cos + 1 sin in x1, amplitude sqrt 2, phase arctan(b / a).
  EXPECT_NEAR(table.Element(2, 4), std::sqrt(2.0), 1e-13);
  EXPECT_NEAR(table.Element(3, 4), kPi / 4, 1e-13);
  EXPECT_NEAR(table.Element(7, 4), 1.0, 1e-13);
  EXPECT_NEAR(table.Element(4, 4), 0.0, 1e-13);

  THarmonicSet set;
  set.Periods = TVector(40);
  set.Amplitudes = TMatrix(2, 40);
  FillInverseHarmonicSet(table, set);
  EXPECT_EQ(set.HarmonicCount, 4);
  EXPECT_EQ(set.Periods.NrOfElem(), 4);
  EXPECT_EQ(set.Amplitudes.NrOfRows(), 4);
  EXPECT_EQ(set.Phases.NrOfRows(), 4);
  EXPECT_EQ(set.Periods.Element(1), -1.0);  // zero frequency first
  EXPECT_NEAR(set.Periods.Element(4), n * dt / 9, 1e-12);
  EXPECT_NEAR(set.Amplitudes.Element(2, 3), 4.0, 1e-13);
  EXPECT_NEAR(set.Phases.Element(1, 4), kPi / 4, 1e-13);
}

TEST(HarmonicDecomposition, DirectTableAndSetRunFromHighToLowFrequency) {
  const int n = 32;
  const double dt = 3.0;
  // Upstream: a negative cosine at bin 6 (phase pi); downstream: a negative sine at bin 4.
  const TFastFourier up = Transformed(Record(n, 2.0, {{6, -1.5, 0}, {4, 3, 0}}));
  const TFastFourier down = Transformed(Record(n, 0.5, {{4, 0, -1}, {2, 0.7, 0.7}}));
  THarmonicSet set;
  set.Periods = TVector(40);  // sized to the candidates, whatever it held before
  const TMatrix table = ChoisirHarmoniquesDirect(up, down, 3, dt, set);
  EXPECT_EQ(set.Periods.NrOfElem(), 16);
  EXPECT_EQ(set.Amplitudes.NrOfColumns(), 2);
  EXPECT_EQ(set.Amplitudes.NrOfRows(), 16);
  EXPECT_EQ(set.Phases.NrOfRows(), 16);
  ASSERT_EQ(set.HarmonicCount, 4);  // bins 6, 4, 2, 0
  ASSERT_EQ(table.NrOfColumns(), 5);
  ASSERT_EQ(table.NrOfRows(), 4);
  const int bins[4] = {6, 4, 2, 0};
  for (int r = 1; r <= 4; ++r) EXPECT_NEAR(table.Element(1, r), bins[r - 1] / (n * dt), 1e-15);
  EXPECT_NEAR(table.Element(2, 1), -1.5, 1e-13);
  EXPECT_NEAR(table.Element(2, 2), 3.0, 1e-13);
  EXPECT_NEAR(table.Element(5, 2), -1.0, 1e-13);
  EXPECT_NEAR(table.Element(4, 4), 0.5, 1e-13);

  EXPECT_NEAR(set.Periods.Element(1), n * dt / 6, 1e-12);
  EXPECT_EQ(set.Periods.Element(4), -1.0);  // zero frequency last
  EXPECT_NEAR(set.Amplitudes.Element(1, 1), 1.5, 1e-13);
  EXPECT_NEAR(std::abs(set.Phases.Element(1, 1)), kPi, 1e-13);  // pi, or -pi by a rounding-level sine
  EXPECT_NEAR(set.Phases.Element(2, 2), -kPi / 2, 1e-13);
  EXPECT_NEAR(set.Phases.Element(2, 3), kPi / 4, 1e-13);
  EXPECT_NEAR(set.Amplitudes.Element(2, 3), 0.7 * std::sqrt(2.0), 1e-13);
  EXPECT_NEAR(set.Amplitudes.Element(1, 4), 2.0, 1e-13);
  for (int r = 1; r <= 4; ++r)
    for (int c = 1; c <= 2; ++c) {
      EXPECT_GT(set.Phases.Element(c, r), -kPi);
      EXPECT_LE(set.Phases.Element(c, r), kPi);
    }
}

}  // namespace
}  // namespace kolma
