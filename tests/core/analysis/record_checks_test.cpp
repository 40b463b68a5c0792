// Jumps and spikes of a thermometer record, found at their hour with their size, against
// thresholds that follow the record's own variability.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "core/analysis/record_checks.h"

namespace kolma {
namespace {

constexpr int kHours = 8760;

// A daily cycle of 10 °C amplitude on an annual one, with 0.05 °C of noise or none.
TVector DailyCycle(double noiseSize = 0.05) {
  std::mt19937 engine(7);
  TVector v(kHours);
  for (int j = 1; j <= kHours; ++j) {
    const double t = j - 1.0;
    const double noise = 2.0 * noiseSize * (static_cast<double>(engine()) / 4294967296.0 - 0.5) * std::sqrt(12.0) / 2.0;
    v.SetElement(j, 12.0 + 8.0 * std::sin(2 * std::numbers::pi * t / 8760.0) +
                        10.0 * std::sin(2 * std::numbers::pi * t / 24.0) + noise);
  }
  return v;
}

TEST(RecordChecks, JumpAndSpikeFoundAtTheirHourAndADailyCycleIsNot) {
  EXPECT_TRUE(FindRecordFaults(DailyCycle()).empty());

  struct Case {
    const char* what;
    RecordFaultKind kind;
    int sample;
    double size;
  } cases[] = {{"jump", RecordFaultKind::kJump, 4381, 2.0},
               {"drop", RecordFaultKind::kJump, 100, -1.5},
               {"spike", RecordFaultKind::kSpike, 2000, 3.0}};
  for (const Case& c : cases) {
    TVector v = DailyCycle();
    if (c.kind == RecordFaultKind::kJump)
      for (int j = c.sample; j <= kHours; ++j) v.SetElement(j, v.Element(j) + c.size);
    else
      v.SetElement(c.sample, v.Element(c.sample) + c.size);
    const std::vector<RecordFault> faults = FindRecordFaults(v);
    ASSERT_EQ(faults.size(), 1u) << c.what;
    EXPECT_EQ(faults[0].kind, c.kind) << c.what;
    EXPECT_EQ(faults[0].sample, c.sample) << c.what;
    EXPECT_NEAR(faults[0].size, c.size, 0.3) << c.what;
  }
}

TEST(RecordChecks, FaultsOfTheThermometersReadAreNamed) {
  Project p;
  for (int slot : {1, 2, 3}) {
    p.Thermometer(slot).Values = DailyCycle(0.0);
    p.Thermometer(slot).TimeStep = 1.0;
    p.Thermometer(slot).Title.SetText("T" + std::to_string(slot));
  }
  TVector& jumped = p.Thermometer(2).Values;
  for (int j = 4381; j <= kHours; ++j) jumped.SetElement(j, jumped.Element(j) + 2.0);
  TVector& spiked = p.Thermometer(3).Values;
  spiked.SetElement(121, spiked.Element(121) - 3.0);
  p.InversePair = {1, 2};
  EXPECT_EQ(InverseRecordFaults(p, kInversePairMethod),
            (std::vector<std::string>{"Thermometer 2 \"T2\" jumps by 2.0 \u00b0C at hour 4380"}));
  // The least-squares method reads the third one as well.
  EXPECT_EQ(InverseRecordFaults(p, kInverseLeastSquaresMethod).back(),
            "Thermometer 3 \"T3\" has a spike of -3.0 \u00b0C at hour 120");
}

}  // namespace
}  // namespace kolma
