#include "core/analysis/moving_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using namespace kolma;

namespace {

// The definition evaluated window by window: w + 1 samples from j - w div 2, indices
// cyclic; the variance in two passes, which is the same quantity without cancellation.
TMovingStatistics BruteForce(const std::vector<double>& s, int w) {
  const int n = static_cast<int>(s.size());
  const int m = w + 1;
  TMovingStatistics r;
  auto at = [&](int i) { return s[static_cast<size_t>(((i - 1) % n + n) % n)]; };
  for (int j = 1; j <= n; ++j) {
    double sum = 0, squares = 0;
    for (int i = j - w / 2; i <= j - w / 2 + w; ++i) sum += at(i);
    const double mean = sum / m;
    for (int i = j - w / 2; i <= j - w / 2 + w; ++i) squares += (at(i) - mean) * (at(i) - mean);
    const double variance = m >= 3 ? squares / (m - 1) : 1.0;
    r.Mean.push_back(mean);
    r.Deviation.push_back(variance > 0 ? std::sqrt(variance) : 0.0);
  }
  return r;
}

}  // namespace

TEST(MovingStatistics, WindowLengths) {
  EXPECT_EQ(MovingWindowLength(AverageCyclePeriod(TAverageCycle::OneWeek), 1.0), 168);
  EXPECT_EQ(MovingWindowLength(AverageCyclePeriod(TAverageCycle::OneWeek), 24.0), 7);
  EXPECT_EQ(MovingWindowLength(AverageCyclePeriod(TAverageCycle::OneMonth), 24.0), 30);
  EXPECT_EQ(MovingWindowLength(AverageCyclePeriod(TAverageCycle::OneYear), 24.0), 365);
  EXPECT_EQ(MovingWindowLength(168.0, 48.0), 4);    // 3.5, halves to even
  EXPECT_EQ(MovingWindowLength(168.0, 67.2), 2);    // 2.5
  EXPECT_EQ(MovingWindowLength(168.0, 112.0), 2);   // 1.5
  EXPECT_FALSE(MovingWindowLength(168.0, 0.0));
  EXPECT_FALSE(MovingWindowLength(168.0, -1.0));
  EXPECT_FALSE(MovingWindowLength(168.0, 1e-300));
  EXPECT_STREQ(AverageCycleLabel(TAverageCycle::TwoWeeks), "2-week cycle");
  EXPECT_STREQ(AverageCycleLabel(TAverageCycle::None), "no curve");
}

TEST(MovingStatistics, WeeklyWindowOfDailyStepsWrapsAtBothEnds) {
  // w = 7, h = 3: the window of step j holds steps j - 3 .. j + 4, so a single 1 at step 1
  // is seen by steps 1..4 and, across the end, by steps n - 3 .. n.
  std::vector<double> s(20, 0.0);
  s[0] = 1.0;
  const TMovingStatistics r = MovingStatistics(s, 7);
  for (int j = 1; j <= 20; ++j) {
    const bool sees = j <= 4 || j >= 17;
    EXPECT_DOUBLE_EQ(r.Mean[static_cast<size_t>(j - 1)], sees ? 1.0 / 8.0 : 0.0) << "step " << j;
  }
}

TEST(MovingStatistics, AgreesWithTheDefinition) {
  std::mt19937 random(3);
  std::normal_distribution<double> noise(12.0, 5.0);
  for (int n : {1, 2, 5, 50, 301}) {
    std::vector<double> s;
    for (int i = 0; i < n; ++i) s.push_back(noise(random) + 0.05 * i);
    for (int w : {0, 1, 2, 3, 7, 8, 49, 168, 700}) {
      const TMovingStatistics fast = MovingStatistics(s, w);
      const TMovingStatistics slow = BruteForce(s, w);
      ASSERT_EQ(fast.Mean.size(), static_cast<size_t>(n));
      for (int j = 0; j < n; ++j) {
        EXPECT_NEAR(fast.Mean[j], slow.Mean[j], 1e-10) << "n " << n << " w " << w << " j " << j;
        EXPECT_NEAR(fast.Deviation[j], slow.Deviation[j], 1e-8) << "n " << n << " w " << w << " j " << j;
      }
    }
  }
}

TEST(MovingStatistics, ClosedForms) {
  // A constant: its own mean and no deviation, exactly; windows of 1 or 2 samples have
  // deviation 1 by definition.
  const std::vector<double> constant(40, 0.1);
  const TMovingStatistics c = MovingStatistics(constant, 10);
  for (size_t j = 0; j < constant.size(); ++j) {
    EXPECT_DOUBLE_EQ(c.Mean[j], 0.1);
    EXPECT_EQ(c.Deviation[j], 0.0);
  }
  EXPECT_EQ(MovingStatistics(constant, 1).Deviation[5], 1.0);
  EXPECT_EQ(MovingStatistics(constant, 0).Deviation[5], 1.0);

  // A sine over one whole period per window: mean 0, sample variance A^2 p / (2 (p - 1)).
  const int p = 24;
  const double a = 3.0;
  std::vector<double> sine;
  for (int j = 0; j < 10 * p; ++j) sine.push_back(a * std::sin(2 * std::numbers::pi * j / p + 0.3));
  const TMovingStatistics r = MovingStatistics(sine, p - 1);
  for (size_t j = 0; j < sine.size(); ++j) {
    EXPECT_NEAR(r.Mean[j], 0.0, 1e-12);
    EXPECT_NEAR(r.Deviation[j], a * std::sqrt(p / (2.0 * (p - 1))), 1e-12);
  }
  // A window spanning the series several times over still averages whole periods.
  const TMovingStatistics wide = MovingStatistics(sine, 3 * static_cast<int>(sine.size()) - 1);
  EXPECT_NEAR(wide.Mean[17], 0.0, 1e-12);
}

TEST(MovingStatistics, EmptyInputs) {
  EXPECT_TRUE(MovingStatistics(std::vector<double>{}, 7).Mean.empty());
  EXPECT_TRUE(MovingStatistics(std::vector<double>{1, 2, 3}, -1).Deviation.empty());
}
