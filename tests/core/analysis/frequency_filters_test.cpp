#include "core/analysis/frequency_filters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "core/numeric/errors.h"

namespace kolma {
namespace {

constexpr double kPi = std::numbers::pi;

// One harmonic of a test signal: bin k of an N-point history, a cos + b sin.
struct Wave {
  int k;
  double a;
  double b;
};

double WaveValue(const Wave& w, int j, int n) {
  const double angle = 2.0 * kPi * w.k * j / n;
  return w.a * std::cos(angle) + w.b * std::sin(angle);
}

TVector Signal(int n, double mean, const std::vector<Wave>& waves) {
  TVector v(n);
  for (int j = 0; j < n; ++j) {
    double value = mean;
    for (const Wave& w : waves) value += WaveValue(w, j, n);
    v.SetElement(j + 1, value);
  }
  return v;
}

void ExpectNear(const TVector& actual, const TVector& expected, double tolerance) {
  ASSERT_EQ(actual.NrOfElem(), expected.NrOfElem());
  double worst = 0.0;
  for (int i = 1; i <= actual.NrOfElem(); ++i)
    worst = std::max(worst, std::fabs(actual.Element(i) - expected.Element(i)));
  EXPECT_LE(worst, tolerance);
}

// 64 samples 2 h apart: bin k has period 128/k hours. Nyquist (k = 32) is a pure cosine.
const std::vector<Wave> kWaves = {{1, 1.0, 2.0}, {2, -0.5, 0.7}, {4, 0.3, -1.1},
                                  {8, 2.0, 0.0}, {16, 0.0, 0.9}, {32, 0.6, 0.0}};
constexpr int kN = 64;
constexpr double kDt = 2.0;
constexpr double kMean = 3.0;

std::vector<Wave> Keep(std::initializer_list<int> bins) {
  std::vector<Wave> kept;
  for (const Wave& w : kWaves)
    for (int k : bins)
      if (w.k == k) kept.push_back(w);
  return kept;
}

TEST(FrequencyFilters, EachFilterKeepsExactlyItsPeriods) {
  struct Case {
    PeriodFilter filter;
    int removed;
    std::vector<Wave> kept;
  };
  const Case cases[] = {
      // bins 1..4 (128 to 32 h) are at or above 32 h; 32 sits on the limit and goes too
      {LowPassFilter(32.0), 4, Keep({8, 16, 32})},
      // bins 8..32 (16 h down to 4 h, the Nyquist bin) are at or below 16 h
      {HighPassFilter(16.0), 25, Keep({1, 2, 4})},
      // bins 2..8: both ends of the band are removed
      {BandFilter(16.0, 64.0), 7, Keep({1, 16, 32})},
      // an empty band (limits reversed) removes nothing
      {BandFilter(64.0, 16.0), 0, kWaves},
      // a low pass at zero period removes everything but the mean
      {LowPassFilter(0.0), kN / 2, {}},
  };
  for (const Case& c : cases) {
    TVector history = Signal(kN, kMean, kWaves);
    EXPECT_EQ(FilterHistory(history, kDt, c.filter), c.removed);
    ExpectNear(history, Signal(kN, kMean, c.kept), 1e-12);
  }
}

TEST(FrequencyFilters, LimitsAreInTheChosenUnit) {
  // One year of hourly data resampled to 16384 points: bin 1 is the year, bin 365 the day.
  const int n = 16384;
  const double dt = 8760.0 / n;
  const Wave annual{1, 0.0, 5.0}, daily{365, -3.0, 0.0}, weekly{52, 1.0, 1.0};
  const TVector original = Signal(n, 10.0, {annual, daily, weekly});

  TVector lowDays = original;  // 365 days = 8760 h removes the year only
  EXPECT_EQ(FilterHistory(lowDays, dt, LowPassFilter(365.0, HoursPerTimeUnit(1))), 1);
  ExpectNear(lowDays, Signal(n, 10.0, {daily, weekly}), 1e-10);

  TVector lowMonths = original;  // 12 months of 730 h
  EXPECT_EQ(FilterHistory(lowMonths, dt, LowPassFilter(12.0, HoursPerTimeUnit(2))), 1);
  ExpectNear(lowMonths, lowDays, 1e-10);

  TVector highHours = original;  // everything of 24 h and shorter: the daily cycle goes
  EXPECT_EQ(FilterHistory(highHours, dt, HighPassFilter(24.0, HoursPerTimeUnit(0))), n / 2 - 364);
  ExpectNear(highHours, Signal(n, 10.0, {annual, weekly}), 1e-10);

  EXPECT_EQ(HoursPerTimeUnit(7), 1.0);
}

TEST(FrequencyFilters, ChartRangeLimitsNameTheirBins) {
  // The dialogs start from the spectrum chart's ends, converted to days and back.
  const int n = 1024;
  const double dt = 8760.0 / 16384;  // not a round number of days
  const double s = HoursPerTimeUnit(1);
  TFastFourier probe;
  probe.SetSpectrumSize(n);
  const double shortest = 1.0 / probe.Frequency(n / 2, dt) / s;
  const double longest = 1.0 / probe.Frequency(1, dt) / s;

  const TVector original = Signal(n, -2.5, {{1, 1.0, 0.5}, {7, 0.2, 0.0}, {512, 0.8, 0.0}});

  TVector whole = original;  // the untouched band dialog removes every displayed harmonic
  EXPECT_EQ(FilterHistory(whole, dt, BandFilter(shortest, longest, s)), n / 2);
  ExpectNear(whole, Signal(n, -2.5, {}), 1e-12);

  TVector nyquist = original;  // a high pass at the shortest period removes only that bin
  EXPECT_EQ(FilterHistory(nyquist, dt, HighPassFilter(shortest, s)), 1);
  ExpectNear(nyquist, Signal(n, -2.5, {{1, 1.0, 0.5}, {7, 0.2, 0.0}}), 1e-12);

  TVector longestOnly = original;  // a low pass at the longest period removes only bin 1
  EXPECT_EQ(FilterHistory(longestOnly, dt, LowPassFilter(longest, s)), 1);
  ExpectNear(longestOnly, Signal(n, -2.5, {{7, 0.2, 0.0}, {512, 0.8, 0.0}}), 1e-12);
}

TEST(FrequencyFilters, FiltersAccumulateAndRestoreUndoesThemAll) {
  const TVector original = Signal(kN, kMean, kWaves);
  TFastFourier kept;  // the editor's original spectrum
  kept.SetSpectrumSize(kN);
  for (int j = 1; j <= kN; ++j) kept.SetRealPart(j, original.Element(j));
  kept.Transform();

  TVector history = original;
  FilterHistory(history, kDt, LowPassFilter(32.0));
  FilterHistory(history, kDt, HighPassFilter(8.0));
  ExpectNear(history, Signal(kN, kMean, Keep({8})), 1e-12);

  for (int restore = 0; restore < 2; ++restore) {  // a second restore must work as well
    RestoreOriginalHistory(kept, history);
    ExpectNear(history, original, 1e-12);
    FilterHistory(history, kDt, LowPassFilter(0.0));
  }
}

TEST(FrequencyFilters, DegenerateHistories) {
  TVector three(3);  // cannot be transformed: refused before anything changes
  three.SetElement(1, 7.0);
  EXPECT_THROW(FilterHistory(three, 1.0, LowPassFilter(1.0)), EFourierError);
  EXPECT_EQ(three.NrOfElem(), 3);
  EXPECT_EQ(three.Element(1), 7.0);

  TVector one(1);  // a single sample has no harmonic to remove
  one.SetElement(1, 4.0);
  EXPECT_EQ(FilterHistory(one, 1.0, LowPassFilter(0.0)), 0);
  EXPECT_EQ(one.Element(1), 4.0);

  TVector two(2);  // bins 1 and N-1 are the same point
  two.SetElement(1, 1.0);
  two.SetElement(2, 3.0);
  EXPECT_EQ(FilterHistory(two, 1.0, HighPassFilter(2.0)), 1);
  EXPECT_NEAR(two.Element(1), 2.0, 1e-15);
  EXPECT_NEAR(two.Element(2), 2.0, 1e-15);
}

}  // namespace
}  // namespace kolma
