#include "core/analysis/function_generator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace kolma {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(FunctionGenerator, SampleCountIsThePeriodRoundedHalfToEven) {
  EXPECT_EQ(GeneratedSampleCount(8760.0), 8760);
  EXPECT_EQ(GeneratedSampleCount(24.5), 24);
  EXPECT_EQ(GeneratedSampleCount(25.5), 26);
  EXPECT_EQ(GeneratedSampleCount(24.4999), 24);
  EXPECT_EQ(GeneratedSampleCount(1.0), 1);
  EXPECT_EQ(GeneratedSampleCount(8388608.0), 8388608);
  // Beyond what the spectrum can take, or meaningless: no history at all.
  for (double t : {8388609.0, 1e10, 0.5, 0.0, -5.0, std::numeric_limits<double>::quiet_NaN(),
                   std::numeric_limits<double>::infinity()})
    EXPECT_EQ(GeneratedSampleCount(t), 0) << t;

  GeneratorParameters huge;
  huge.period = 1e10;  // the edit allows it; generating would need 80 GB
  const GeneratedHistory refused = GenerateHistory(huge);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.error, "The period (T) must be from 1 to 8388608 hours");
}

TEST(FunctionGenerator, WithoutIceCoverDefaults) {
  const GeneratorParameters p;
  const GeneratedHistory h = GenerateHistory(p);
  ASSERT_TRUE(h.ok);
  EXPECT_EQ(h.timeStep, 1.0);
  ASSERT_EQ(h.values.NrOfElem(), 8760);
  EXPECT_NEAR(h.values.Element(1), 5.0 + 15.0 * std::sin(-2.0 * kPi * 1999.0 / 8760.0) - 12.0, 1e-12);
  EXPECT_NEAR(h.values.Element(1), -21.86, 0.005);

  // The same function written differently: a sine delayed by d - 1 hours, and a cosine
  // turned upside down so that the daily minimum falls on hours 0, 24, 48...
  double sum = 0.0, lowest = 1e9, highest = -1e9;
  for (int i = 1; i <= 8760; ++i) {
    const double t = i - 1;
    const double expected = 5.0 + 15.0 * std::sin(2.0 * kPi * (t - 1999.0) / 8760.0) - 12.0 * std::cos(2.0 * kPi * t / 24.0);
    ASSERT_NEAR(h.values.Element(i), expected, 1e-9) << i;
    sum += h.values.Element(i);
    lowest = std::min(lowest, h.values.Element(i));
    highest = std::max(highest, h.values.Element(i));
  }
  // Whole years and whole days: both waves average out to A0.
  EXPECT_NEAR(sum / 8760.0, 5.0, 1e-9);
  EXPECT_GE(lowest, 5.0 - 27.0);
  EXPECT_LE(highest, 5.0 + 27.0);
  EXPECT_GT(highest - lowest, 2.0 * 27.0 - 0.5);
}

TEST(FunctionGenerator, AnnualWaveCrossesTheMeanUpwardsAtThePhase) {
  GeneratorParameters p;
  p.dailyAmplitude = 0.0;
  p.phase = 100.0;  // crossing at hour 99, sample 100
  p.period = 1000.0;
  const GeneratedHistory h = GenerateHistory(p);
  ASSERT_TRUE(h.ok);
  EXPECT_NEAR(h.values.Element(100), 5.0, 1e-12);
  EXPECT_LT(h.values.Element(99), 5.0);
  EXPECT_GT(h.values.Element(101), 5.0);
  EXPECT_NEAR(h.values.Element(350), 20.0, 1e-12);  // a quarter period later: the crest

  // The formula runs on T itself, not on the rounded sample count.
  p.period = 24.5;
  const GeneratedHistory odd = GenerateHistory(p);
  ASSERT_EQ(odd.values.NrOfElem(), 24);
  EXPECT_NEAR(odd.values.Element(3), 5.0 + 15.0 * std::sin(2.0 * kPi * (2.0 - 99.0) / 24.5), 1e-12);
}

TEST(FunctionGenerator, WithIceCoverDefaults) {
  GeneratorParameters p;
  p.iceCover = true;
  p.dailyAmplitude = 99.0;  // not used with ice cover
  const GeneratedHistory h = GenerateHistory(p);
  ASSERT_TRUE(h.ok);
  ASSERT_EQ(h.values.NrOfElem(), 8760);
  for (int i = 1; i <= 1998; ++i) ASSERT_EQ(h.values.Element(i), 5.0) << i;
  for (int i = 6000; i <= 8760; ++i) ASSERT_EQ(h.values.Element(i), 5.0) << i;
  EXPECT_EQ(h.values.Element(2000), 5.0);
  EXPECT_NEAR(h.values.Element(4000), 20.0, 1e-12);
  EXPECT_NEAR(h.values.Element(1999), 5.0 + 15.0 * std::sin(-kPi / 4000.0), 1e-12);
  EXPECT_LT(h.values.Element(1999), 5.0);
  EXPECT_NEAR(h.values.Element(5999), 5.0 + 15.0 * std::sin(kPi / 4000.0), 1e-12);

  // The ice-cover floor: nothing below A0 but the one sample before the warm season.
  const double floor = 5.0 + 15.0 * std::sin(-kPi / 4000.0);
  double highest = -1e9;
  for (int i = 1; i <= 8760; ++i) {
    ASSERT_GE(h.values.Element(i), i == 1999 ? floor - 1e-12 : 5.0) << i;
    highest = std::max(highest, h.values.Element(i));
  }
  EXPECT_NEAR(highest, 20.0, 1e-12);
}

TEST(FunctionGenerator, WarmSeasonMayStartBeforeTheFirstSample) {
  GeneratorParameters p;
  p.iceCover = true;
  p.period = 1000.0;
  p.phase = -100.0;
  p.warmPeriod = 500.0;  // season from hour -101 to sample 399
  const GeneratedHistory h = GenerateHistory(p);
  ASSERT_TRUE(h.ok);
  EXPECT_NEAR(h.values.Element(1), 5.0 + 15.0 * std::sin(kPi * 101.0 / 500.0), 1e-12);
  EXPECT_GT(h.values.Element(1), 5.0);
  EXPECT_GT(h.values.Element(399), 5.0);
  EXPECT_EQ(h.values.Element(400), 5.0);
  EXPECT_EQ(h.values.Element(1000), 5.0);

  p.warmPeriod = 0.0;  // would divide by zero: refused
  const GeneratedHistory refused = GenerateHistory(p);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.error, "The period (T2) must be positive");
  p.iceCover = false;  // T2 is not used without ice cover
  EXPECT_TRUE(GenerateHistory(p).ok);
}

}  // namespace
}  // namespace kolma
