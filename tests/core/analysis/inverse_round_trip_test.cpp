// Direct analysis, then inverse analysis from the temperatures it computed at two inner
// points: the worked-back faces must be the faces the direct analysis was driven by.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "core/analysis/direct_analysis.h"
#include "core/analysis/inverse_analysis.h"
#include "core/model/node_distribution.h"
#include "core/model/project.h"
#include "core/numeric/fast_fourier.h"

namespace kolma {
namespace {

constexpr int kSamples = 4096;
constexpr double kStep = 3.0;  // hours: 12288 h, about 1.4 years
constexpr double kYear = 8760.0, kDay = 24.0;

double Cycle(double period, double t) { return std::cos(2 * std::numbers::pi * t / period); }

// Faces with an annual and a daily cycle; thermometers at the two positions.
Project DrivenSection(double thickness, double xa, double xb) {
  Project p;
  TSectionProperties& s = p.SectionProperties;
  s.Xu = 0.0;
  s.Xd = thickness;
  EXPECT_TRUE(ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio));
  p.AnalysisOptions.PaddingMode = 1;  // periodic: no padding
  p.AnalysisOptions.PaddingYears = 0.0;
  p.SetMinHarmonics(20);
  TVector up(kSamples), down(kSamples);
  for (int j = 1; j <= kSamples; ++j) {
    const double t = (j - 1) * kStep;
    up.SetElement(j, 10.0 + 8.0 * Cycle(kYear, t) + 3.0 * Cycle(kDay, t));
    down.SetElement(j, 12.0 + 4.0 * Cycle(kYear, t - 1000.0) + 1.5 * Cycle(kDay, t - 6.0));
  }
  p.UpstreamHistory = {up, kStep};
  p.DownstreamHistory = {down, kStep};
  for (int slot : {1, 2}) {
    TTemperatureInside& th = p.Thermometer(slot);
    th.Position = slot == 1 ? xa : xb;
    th.Values = TVector(2);  // occupied: the direct analysis computes its temperatures
    th.TimeStep = kStep;
  }
  p.ProjectFlags = pfSection | pfUpstream | pfDownstream;
  return p;
}

// Thermometer records taken from the direct analysis, then the inverse analysis.
AnalysisOutcome WorkBack(Project& p) {
  EXPECT_TRUE(RunDirectAnalysis(p, {kStep, false}).completed);
  const TMatrix& computed = p.DirectResults.ThermometerTemperatures;
  EXPECT_EQ(computed.NrOfRows(), kSamples);
  for (int slot : {1, 2}) {
    TVector record(kSamples);
    computed.CopyColumnTo(record, slot, 1, kSamples);
    p.Thermometer(slot).Values = record;
  }
  p.InversePair = {1, 2};
  p.ProjectFlags |= pfInversePair;
  // Room for every harmonic the direct analysis put into the records.
  p.InverseHarmonics.MinHarmonics = p.DirectHarmonics.HarmonicCount;
  return RunInverseAnalysis(p, kStep);
}

// Cosine and sine coefficients of bins 0..lastBin of a power-of-two record.
std::vector<std::pair<double, double>> Coefficients(const std::vector<double>& v, int lastBin) {
  TFastFourier fourier;
  fourier.SetSpectrumSize(static_cast<int>(v.size()));
  for (size_t j = 0; j < v.size(); ++j) fourier.SetRealPart(static_cast<int>(j) + 1, v[j]);
  fourier.Transform();
  std::vector<std::pair<double, double>> c;
  for (int k = 0; k <= lastBin; ++k) c.emplace_back(fourier.RealSpectrum(k), fourier.ImagSpectrum(k));
  return c;
}

std::vector<double> Column(const TMatrix& m, int column) {
  std::vector<double> v(static_cast<size_t>(m.NrOfRows()));
  for (int t = 1; t <= m.NrOfRows(); ++t) v[static_cast<size_t>(t - 1)] = m.Element(column, t);
  return v;
}

std::vector<double> Values(const TVector& v) { return std::vector<double>(v.Data(), v.Data() + v.NrOfElem()); }

double MaxDifference(const std::vector<double>& a, const std::vector<double>& b) {
  double worst = 0.0;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) worst = std::max(worst, std::fabs(a[i] - b[i]));
  return worst;
}

double MaxCoefficientDifference(const std::vector<double>& a, const std::vector<double>& b, int lastBin) {
  const auto ca = Coefficients(a, lastBin), cb = Coefficients(b, lastBin);
  double worst = 0.0;
  for (size_t k = 0; k < ca.size(); ++k)
    worst = std::max({worst, std::fabs(ca[k].first - cb[k].first), std::fabs(ca[k].second - cb[k].second)});
  return worst;
}

TEST(InverseAnalysisRoundTrip, ThinSectionGivesBackBothFacesWithTheirDailyCycle) {
  // 3 m section, thermometers at 1 m and 2 m: even the daily cycle is solvable from both sides.
  Project p = DrivenSection(3.0, 1.0, 2.0);
  const AnalysisOutcome o = WorkBack(p);
  ASSERT_TRUE(o.completed);
  EXPECT_TRUE(o.warnings.empty());
  const int last = p.SectionProperties.NbDivisions + 1;
  const double up = MaxDifference(Values(p.InverseResults.UpstreamTemperatures),
                                  Column(p.DirectResults.Temperatures, 1));
  const double down = MaxDifference(Values(p.InverseResults.DownstreamTemperatures),
                                    Column(p.DirectResults.Temperatures, last));
  std::printf("[ measured ] thin section: max |inverse - direct face| upstream %.3g, downstream %.3g degC\n", up,
              down);
  EXPECT_LT(up, 1e-6);
  EXPECT_LT(down, 1e-6);
}

TEST(InverseAnalysisRoundTrip, ThickSectionGivesBackThePeriodsAboveTheDiscardPeriod) {
  // 10 m section, thermometers at 2 m and 6 m: the daily cycle is out of reach and is
  // discarded; everything slower comes back.
  Project p = DrivenSection(10.0, 2.0, 6.0);
  const AnalysisOutcome o = WorkBack(p);
  ASSERT_TRUE(o.completed);
  ASSERT_EQ(o.warnings.size(), 1u);
  double discardPeriod = 0.0;
  ASSERT_EQ(std::sscanf(o.warnings[0].c_str(), "Numerical problem: Periods lower than %lf hours", &discardPeriod), 1)
      << o.warnings[0];
  EXPECT_GE(discardPeriod, kDay);
  // Bins whose period is above the discard period, on the 12288 h record.
  const int lastBin = static_cast<int>(std::ceil(kSamples * kStep / discardPeriod)) - 1;
  const int last = p.SectionProperties.NbDivisions + 1;
  const double up = MaxCoefficientDifference(Values(p.InverseResults.UpstreamTemperatures),
                                             Column(p.DirectResults.Temperatures, 1), lastBin);
  const double down = MaxCoefficientDifference(Values(p.InverseResults.DownstreamTemperatures),
                                               Column(p.DirectResults.Temperatures, last), lastBin);
  std::printf("[ measured ] 10 m section: discard below %.1f h (bins 0..%d); max coefficient difference upstream "
              "%.3g, downstream %.3g degC\n",
              discardPeriod, lastBin, up, down);
  EXPECT_LT(up, 1e-6);
  EXPECT_LT(down, 1e-4);
}

}  // namespace
}  // namespace kolma
