#include "core/analysis/inverse_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "core/analysis/mean_profile.h"
#include "core/model/project.h"
#include "core/numeric/errors.h"
#include "tests/core/analysis/periodic_slab_solution.h"

namespace kolma {
namespace {

using testing::HarmonicCoefficients;
using testing::PeriodicSlabHarmonic;

// Face temperatures as a mean plus harmonics on the record's own frequency grid.
struct FaceBin {
  int bin = 0;  // cycles per record length
  HarmonicCoefficients up, down;
};

struct Faces {
  double upMean = 8.0, downMean = 18.0;
  std::vector<FaceBin> bins;
};

constexpr int kSamples = 256;
constexpr double kStep = 24.0;  // hours; the record spans 6144 h
constexpr double kRecordLength = kSamples * kStep;

Faces TypicalFaces() {
  Faces f;
  f.bins = {{1, {3.0, -1.5}, {0.7, 2.2}},
            {2, {-1.0, 0.8}, {1.1, 0.3}},
            {5, {0.6, 0.9}, {-0.4, 0.5}},
            {12, {0.5, -0.3}, {0.2, -0.6}}};
  return f;
}

// Exact temperature at x (distance from the upstream face) and time t.
double FieldAt(const Faces& faces, double L, double alpha, double x, double t) {
  double value = faces.upMean + (faces.downMean - faces.upMean) * x / L;
  for (const FaceBin& b : faces.bins) {
    const double f = b.bin / kRecordLength;
    const HarmonicCoefficients c = PeriodicSlabHarmonic(b.up, b.down, f, alpha, L, x);
    value += c.a * std::cos(2 * std::numbers::pi * f * t) + c.b * std::sin(2 * std::numbers::pi * f * t);
  }
  return value;
}

double FaceAt(const Faces& faces, bool upstream, double t) {
  double value = upstream ? faces.upMean : faces.downMean;
  for (const FaceBin& b : faces.bins) {
    const double f = b.bin / kRecordLength;
    const HarmonicCoefficients& c = upstream ? b.up : b.down;
    value += c.a * std::cos(2 * std::numbers::pi * f * t) + c.b * std::sin(2 * std::numbers::pi * f * t);
  }
  return value;
}

void SetThermometer(Project& p, int slot, double position, const TVector& values, double step = kStep) {
  TTemperatureInside& t = p.Thermometer(slot);
  t.Position = position;
  t.Values = values;
  t.TimeStep = step;
}

TVector Record(const Faces& faces, const Project& p, double position) {
  const TSectionProperties& s = p.SectionProperties;
  TVector v(kSamples);
  for (int j = 1; j <= kSamples; ++j)
    v.SetElement(j, FieldAt(faces, s.Xd - s.Xu, s.Diffusivity, position - s.Xu, (j - 1) * kStep));
  return v;
}

TVector Constant(double value, int count = kSamples) {
  TVector v(count);
  v.Fill(value);
  return v;
}

// A 10 m section, diffusivity 0.004 m²/h, no padding, thermometers at 2 m and 6 m.
Project SyntheticProject(const Faces& faces, int minHarmonics, double xu = 0.0) {
  Project p;
  p.SectionProperties.Xu = xu;
  p.SectionProperties.Xd = xu + 10.0;
  p.AnalysisOptions.PaddingMode = 1;
  p.AnalysisOptions.PaddingYears = 0.0;
  p.SetMinHarmonics(minHarmonics);
  SetThermometer(p, 1, xu + 2.0, Record(faces, p, xu + 2.0));
  SetThermometer(p, 2, xu + 6.0, Record(faces, p, xu + 6.0));
  p.InversePair = {1, 2};
  p.ProjectFlags = pfSection | pfInversePair;
  return p;
}

double MaxFaceError(const Project& p, const Faces& expected, bool upstream) {
  const TInverseResults& r = p.InverseResults;
  const TVector& v = upstream ? r.UpstreamTemperatures : r.DownstreamTemperatures;
  double worst = 0.0;
  for (int t = 1; t <= v.NrOfElem(); ++t)
    worst = std::max(worst, std::fabs(v.Element(t) - FaceAt(expected, upstream, (t - 1) * r.TimeStep)));
  return worst;
}

double TimeMean(const TVector& v) {
  double sum = 0.0;
  for (int t = 1; t <= v.NrOfElem(); ++t) sum += v.Element(t);
  return sum / v.NrOfElem();
}

// Results of an earlier run, to show that a refused or stopped run leaves them alone.
void PlantSentinels(Project& p) {
  p.InverseResults.UpstreamTemperatures = Constant(42.0, 3);
  p.InverseResults.DownstreamTemperatures = Constant(43.0, 3);
  p.InverseResults.TimeStep = 7.0;
  p.InverseResults.MeanProfile = {1.0, 2.0, 3.0};
  p.DirectResults.TimeStep = 5.0;
  p.InverseHarmonics.HarmonicCount = 77;
  p.ProjectFlags |= pfModified;
  p.ProjectFlags &= static_cast<std::uint8_t>(~pfInverseResults);
}

void ExpectSentinels(const Project& p) {
  EXPECT_EQ(p.InverseResults.UpstreamTemperatures.NrOfElem(), 3);
  EXPECT_EQ(p.InverseResults.UpstreamTemperatures.Element(1), 42.0);
  EXPECT_EQ(p.InverseResults.DownstreamTemperatures.Element(3), 43.0);
  EXPECT_EQ(p.InverseResults.TimeStep, 7.0);
  EXPECT_EQ(p.InverseResults.MeanProfile, (std::vector<double>{1.0, 2.0, 3.0}));
  EXPECT_EQ(p.DirectResults.TimeStep, 5.0);
  EXPECT_EQ(p.InverseHarmonics.HarmonicCount, 77);
  EXPECT_FALSE(p.HasFlag(pfInverseResults));
  EXPECT_TRUE(p.HasFlag(pfModified));
}

void ExpectRefused(Project& p, double timeStep, const std::string& warning) {
  PlantSentinels(p);
  const AnalysisOutcome o = RunInverseAnalysis(p, timeStep);
  EXPECT_FALSE(o.completed);
  EXPECT_FALSE(o.stopped);
  ASSERT_EQ(o.warnings.size(), 1u);
  EXPECT_EQ(o.warnings[0], warning);
  ExpectSentinels(p);
}

TEST(InverseAnalysis, WorksBackTheFacesOfAnExactInteriorField) {
  const Faces faces = TypicalFaces();
  Project p = SyntheticProject(faces, 5);
  p.ProjectFlags |= pfModified;
  const AnalysisOutcome o = RunInverseAnalysis(p, kStep);
  ASSERT_TRUE(o.completed);
  EXPECT_TRUE(o.warnings.empty());

  EXPECT_EQ(p.InverseHarmonics.HarmonicCount, 5);
  EXPECT_EQ(p.InverseHarmonics.Periods.Element(1), -1.0);
  EXPECT_NEAR(p.InverseHarmonics.Periods.Element(2), kRecordLength, 1e-6);
  ASSERT_EQ(p.InverseResults.UpstreamTemperatures.NrOfElem(), kSamples);
  EXPECT_LT(MaxFaceError(p, faces, true), 1e-9);
  EXPECT_LT(MaxFaceError(p, faces, false), 1e-8);

  EXPECT_TRUE(p.HasFlag(pfInverseResults));
  EXPECT_TRUE(p.HasFlag(pfModified));
  EXPECT_EQ(p.InverseResults.TimeStep, kStep);
  EXPECT_EQ(p.DirectResults.TimeStep, kStep);
}

TEST(InverseAnalysis, FinerAnalysisStepEvaluatesTheSameHarmonicsBetweenSamples) {
  const Faces faces = TypicalFaces();
  Project p = SyntheticProject(faces, 5);
  p.ProjectFlags &= static_cast<std::uint8_t>(~pfModified);
  ASSERT_TRUE(RunInverseAnalysis(p, 6.0).completed);
  EXPECT_EQ(p.InverseResults.UpstreamTemperatures.NrOfElem(), 1024);
  EXPECT_LT(MaxFaceError(p, faces, true), 1e-9);
  EXPECT_LT(MaxFaceError(p, faces, false), 1e-8);
  EXPECT_EQ(p.DirectResults.TimeStep, 6.0);
  EXPECT_FALSE(p.HasFlag(pfModified));
}

TEST(InverseAnalysis, StepsNotSpanningWholePeriodsStillHaveTheProfileMeans) {
  // 1229 steps of 5 h overrun the 6144 h record by one hour: the sampled harmonics no
  // longer average to zero, and the whole history is shifted to keep the face mean.
  const Faces faces = TypicalFaces();
  Project p = SyntheticProject(faces, 5);
  ASSERT_TRUE(RunInverseAnalysis(p, 5.0).completed);
  const TVector& up = p.InverseResults.UpstreamTemperatures;
  ASSERT_EQ(up.NrOfElem(), 1229);  // Round(6144 / 5)
  EXPECT_NEAR(TimeMean(up), 8.0, 1e-12);
  EXPECT_NEAR(TimeMean(p.InverseResults.DownstreamTemperatures), 18.0, 1e-12);
  double lo = 1e300, hi = -1e300;
  for (int t = 1; t <= up.NrOfElem(); ++t) {
    const double d = up.Element(t) - FaceAt(faces, true, (t - 1) * 5.0);
    lo = std::min(lo, d);
    hi = std::max(hi, d);
  }
  EXPECT_LT(hi - lo, 1e-9);  // a constant shift, nothing else
}

TEST(InverseAnalysis, NegativeUserPaddingIsNoPadding) {
  // A padding of -1 year (a damaged project file) pads nothing; the records keep their
  // own length as the fundamental period, exactly as with a padding of 0.
  const Faces faces = TypicalFaces();
  Project p = SyntheticProject(faces, 5);
  p.AnalysisOptions.PaddingYears = -1.0;
  ASSERT_TRUE(RunInverseAnalysis(p, kStep).completed);
  EXPECT_NEAR(p.InverseHarmonics.Periods.Element(2), kRecordLength, 1e-6);
  EXPECT_LT(MaxFaceError(p, faces, true), 1e-9);
  EXPECT_LT(MaxFaceError(p, faces, false), 1e-8);
}

TEST(InverseAnalysis, PairOfMeansGivesTheStraightMeanProfile) {
  // Means 10 °C at 2 m and 14 °C at 6 m: the profile 8 + x, 18 °C at the far face.
  Faces faces = TypicalFaces();
  Project p = SyntheticProject(faces, 5);
  ASSERT_TRUE(RunInverseAnalysis(p, kStep).completed);
  ASSERT_EQ(p.InverseResults.MeanProfile.size(), 2u);
  EXPECT_NEAR(p.InverseResults.MeanProfile[0], 8.0, 1e-12);
  EXPECT_NEAR(p.InverseResults.MeanProfile[1], 1.0, 1e-12);
  EXPECT_NEAR(TimeMean(p.InverseResults.UpstreamTemperatures), 8.0, 1e-12);
  EXPECT_NEAR(TimeMean(p.InverseResults.DownstreamTemperatures), 18.0, 1e-12);
}

TEST(InverseAnalysis, SingleRetainedHarmonicGivesConstantFaces) {
  Project p = SyntheticProject(TypicalFaces(), 1);
  ASSERT_TRUE(RunInverseAnalysis(p, kStep).completed);
  EXPECT_EQ(p.InverseHarmonics.HarmonicCount, 1);
  for (int t = 1; t <= kSamples; ++t) {
    EXPECT_NEAR(p.InverseResults.UpstreamTemperatures.Element(t), 8.0, 1e-12);
    EXPECT_NEAR(p.InverseResults.DownstreamTemperatures.Element(t), 18.0, 1e-12);
  }
}

TEST(InverseAnalysis, LowestHarmonicKeptWhenTheMeanIsNotRetained) {
  // Zero-mean records: the two retained bins are 1 and 5, no constant term. The lowest
  // frequency is a harmonic like any other and must reach the faces.
  Faces faces;
  faces.upMean = faces.downMean = 0.0;
  faces.bins = {{1, {3.0, -1.5}, {0.7, 2.2}}, {5, {0.6, 0.9}, {-0.4, 0.5}}};
  Project p = SyntheticProject(faces, 2);
  ASSERT_TRUE(RunInverseAnalysis(p, kStep).completed);
  ASSERT_EQ(p.InverseHarmonics.HarmonicCount, 2);
  EXPECT_GT(p.InverseHarmonics.Periods.Element(1), 0.0);  // no zero-frequency row
  EXPECT_LT(MaxFaceError(p, faces, true), 1e-9);
  EXPECT_LT(MaxFaceError(p, faces, false), 1e-8);
}

TEST(InverseAnalysis, IllConditionedPeriodIsDiscardedWithOneWarning) {
  // Bin 100 (61.44 h) seen through 6 m and 8 m of concrete: cosh(k y) passes 1e9.
  Faces faces = TypicalFaces();
  faces.bins.push_back({100, {2.0, 1.0}, {1.0, -2.0}});
  Project p = SyntheticProject(faces, 6);
  const AnalysisOutcome o = RunInverseAnalysis(p, kStep);
  ASSERT_TRUE(o.completed);
  ASSERT_EQ(p.InverseHarmonics.HarmonicCount, 6);
  ASSERT_EQ(o.warnings.size(), 1u);
  EXPECT_EQ(o.warnings[0], "Numerical problem: Periods lower than   61.440 hours are discarded");

  // Seen from the upstream face the short period was still solvable (cosh ~ 1e9 at 6 m
  // stays just under nine decades) and is part of that face; from the downstream face
  // (8 m) it is not, and the downstream face is built without it.
  Faces withoutShortPeriod = faces;
  withoutShortPeriod.bins.pop_back();
  EXPECT_LT(MaxFaceError(p, faces, true), 1e-5);
  EXPECT_LT(MaxFaceError(p, withoutShortPeriod, false), 1e-8);
}

TEST(InverseAnalysis, PeriodDiscardedFromTheUpstreamSideIsLeftOutOfBothFaces) {
  // Thermometers at 4 m and 8 m: bin 100 is out of reach through 8 m of concrete, so the
  // upstream pass discards it; the downstream systems (2 m and 6 m) would be solvable,
  // but the period is left out of the downstream face as well.
  Faces faces = TypicalFaces();
  faces.bins.push_back({100, {2.0, 1.0}, {1.0, -2.0}});
  Project p = SyntheticProject(faces, 6);
  SetThermometer(p, 1, 4.0, Record(faces, p, 4.0));
  SetThermometer(p, 2, 8.0, Record(faces, p, 8.0));
  const AnalysisOutcome o = RunInverseAnalysis(p, kStep);
  ASSERT_TRUE(o.completed);
  ASSERT_EQ(o.warnings.size(), 1u);
  EXPECT_EQ(o.warnings[0], "Numerical problem: Periods lower than   61.440 hours are discarded");
  Faces withoutShortPeriod = faces;
  withoutShortPeriod.bins.pop_back();
  EXPECT_LT(MaxFaceError(p, withoutShortPeriod, true), 1e-7);
  EXPECT_LT(MaxFaceError(p, withoutShortPeriod, false), 1e-7);
}

TEST(InverseAnalysis, FailedInversionIsReportedOnceAndTakesPrecedence) {
  // Two thermometers 1e-13 m apart: every system is nearly singular. The first failure is
  // the only warning, also over the later, ill-conditioned short period.
  Faces faces = TypicalFaces();
  faces.bins.push_back({100, {2.0, 1.0}, {1.0, -2.0}});
  Project p = SyntheticProject(faces, 6);
  SetThermometer(p, 2, 2.0 + 1e-13, Record(faces, p, 2.0 + 1e-13));
  const AnalysisOutcome o = RunInverseAnalysis(p, kStep);
  ASSERT_TRUE(o.completed);
  ASSERT_EQ(o.warnings.size(), 1u);
  EXPECT_EQ(o.warnings[0], "Inverse of matrix failed");
}

TEST(InverseAnalysis, ThermometerOnTheFaceIsUsed) {
  // A thermometer exactly at Xu gives exact zeros in every system; they must not
  // count as a spread of infinitely many decades.
  const Faces faces = TypicalFaces();
  Project p = SyntheticProject(faces, 5);
  SetThermometer(p, 1, 0.0, Record(faces, p, 0.0));
  const AnalysisOutcome o = RunInverseAnalysis(p, kStep);
  ASSERT_TRUE(o.completed);
  EXPECT_TRUE(o.warnings.empty());
  EXPECT_LT(MaxFaceError(p, faces, true), 1e-9);
  EXPECT_LT(MaxFaceError(p, faces, false), 1e-8);
}

TEST(InverseAnalysis, OverflowingSystemsInAThickSectionStayFinite) {
  // 300 m of concrete: from the downstream face cosh overflows to infinity for the
  // short period; every such system is discarded, nothing is inverted, nothing is NaN.
  Faces faces = TypicalFaces();
  faces.bins.push_back({100, {2.0, 1.0}, {0.0, 0.0}});
  Project p = SyntheticProject(faces, 6);
  p.SectionProperties.Xd = 300.0;
  // Records of the thick section: the downstream face is out of reach of both points.
  faces.downMean = faces.upMean + (faces.downMean - faces.upMean) * 30.0;
  for (int slot : {1, 2}) p.Thermometer(slot).Values = Record(faces, p, p.Thermometer(slot).Position);
  const AnalysisOutcome o = RunInverseAnalysis(p, kStep);
  ASSERT_TRUE(o.completed);
  // The discard, and the face that no thermometer of the pair can reach.
  ASSERT_EQ(o.warnings.size(), 2u);
  EXPECT_TRUE(o.warnings[1].starts_with("The downstream face lies 294.0 m beyond both thermometers of the pair"));
  for (const TVector* v : {&p.InverseResults.UpstreamTemperatures, &p.InverseResults.DownstreamTemperatures})
    for (int t = 1; t <= v->NrOfElem(); ++t) ASSERT_TRUE(std::isfinite(v->Element(t))) << t;
}

TEST(InverseAnalysis, SlotOrderDoesNotMatter) {
  const Faces faces = TypicalFaces();
  Project ordered = SyntheticProject(faces, 5);
  Project reversed = ordered;
  std::swap(reversed.Thermometer(1), reversed.Thermometer(2));  // the nearer one in slot 2
  ASSERT_TRUE(RunInverseAnalysis(ordered, kStep).completed);
  ASSERT_TRUE(RunInverseAnalysis(reversed, kStep).completed);
  const TInverseResults& a = ordered.InverseResults;
  const TInverseResults& b = reversed.InverseResults;
  for (int t = 1; t <= kSamples; ++t) {
    EXPECT_EQ(a.UpstreamTemperatures.Element(t), b.UpstreamTemperatures.Element(t));
    EXPECT_EQ(a.DownstreamTemperatures.Element(t), b.DownstreamTemperatures.Element(t));
  }
  EXPECT_EQ(a.MeanProfile, b.MeanProfile);
  EXPECT_EQ(ordered.InverseHarmonics.Amplitudes.Element(1, 2), reversed.InverseHarmonics.Amplitudes.Element(1, 2));
}

void AddSlotsWithMeans(Project& p, const std::vector<std::pair<double, double>>& positionAndMean) {
  int slot = 3;
  for (const auto& [x, mean] : positionAndMean) SetThermometer(p, slot++, p.SectionProperties.Xu + x, Constant(mean, 10));
}

TEST(InverseAnalysis, PolynomialCorrectionUsesEveryThermometer) {
  Project five = SyntheticProject(TypicalFaces(), 5);
  five.AnalysisOptions.AveragingCorrection = 2;
  AddSlotsWithMeans(five, {{1.0, 9.5}, {4.0, 13.0}, {8.0, 15.0}});
  ASSERT_TRUE(RunInverseAnalysis(five, kStep).completed);
  const std::vector<double>& c = five.InverseResults.MeanProfile;
  ASSERT_EQ(c.size(), 5u);  // five points, degree 4: through every mean
  EXPECT_NEAR(MeanProfileAt(c, 1.0), 9.5, 1e-9);
  EXPECT_NEAR(MeanProfileAt(c, 2.0), 10.0, 1e-9);
  EXPECT_NEAR(MeanProfileAt(c, 8.0), 15.0, 1e-9);
  EXPECT_NEAR(TimeMean(five.InverseResults.UpstreamTemperatures), c[0], 1e-9);
  EXPECT_NEAR(TimeMean(five.InverseResults.DownstreamTemperatures), MeanProfileAt(c, 10.0), 1e-9);

  Project eight = SyntheticProject(TypicalFaces(), 5);
  eight.AnalysisOptions.AveragingCorrection = 2;
  AddSlotsWithMeans(eight, {{1.0, 9.5}, {3.0, 11.0}, {4.0, 13.0}, {5.0, 13.5}, {7.0, 14.5}, {8.0, 15.0}});
  ASSERT_TRUE(RunInverseAnalysis(eight, kStep).completed);
  EXPECT_EQ(eight.InverseResults.MeanProfile.size(), 6u);  // degree 5 at most
}

TEST(InverseAnalysis, RegressionCorrectionDependsOnDistancesFromTheUpstreamFace) {
  const Faces faces = TypicalFaces();
  Project atZero = SyntheticProject(faces, 5, 0.0);
  Project shifted = SyntheticProject(faces, 5, 250.0);
  for (Project* p : {&atZero, &shifted}) {
    p->AnalysisOptions.AveragingCorrection = 1;
    AddSlotsWithMeans(*p, {{1.0, 9.0}, {9.0, 17.5}});
    ASSERT_TRUE(RunInverseAnalysis(*p, kStep).completed);
  }
  ASSERT_EQ(atZero.InverseResults.MeanProfile.size(), 2u);
  ASSERT_EQ(shifted.InverseResults.MeanProfile.size(), 2u);
  for (size_t j = 0; j < 2; ++j)
    EXPECT_NEAR(atZero.InverseResults.MeanProfile[j], shifted.InverseResults.MeanProfile[j], 1e-9);
  // Least-squares line through (1, 9), (2, 10), (6, 14), (9, 17.5): Sxy / Sxx = 43.25 / 41.
  EXPECT_NEAR(atZero.InverseResults.MeanProfile[1], 43.25 / 41.0, 1e-9);
  EXPECT_NEAR(TimeMean(shifted.InverseResults.UpstreamTemperatures), atZero.InverseResults.MeanProfile[0], 1e-9);
}

TEST(InverseAnalysis, PairWithDifferentStepsOrCountsIsRefused) {
  Project steps = SyntheticProject(TypicalFaces(), 5);
  steps.Thermometer(2).TimeStep = 12.0;
  ExpectRefused(steps, kStep, kInverseTimeStepMismatch);
  EXPECT_EQ(std::string(kInverseTimeStepMismatch),
            "Inside Temperatures do not have the same time step. Analysis is cancelled");

  Project counts = SyntheticProject(TypicalFaces(), 5);
  counts.Thermometer(2).Values.Resize(kSamples - 1);
  ExpectRefused(counts, kStep, kInverseCountMismatch);
  EXPECT_EQ(std::string(kInverseCountMismatch),
            "Inside Temperatures do not have the same number of data. Analysis is cancelled");
}

TEST(InverseAnalysis, UnusableInputsAreRefusedWithoutTouchingResults) {
  const Project good = SyntheticProject(TypicalFaces(), 5);
  for (double step : {0.0, -3.0}) {
    Project p = good;
    ExpectRefused(p, step, kInverseAnalysisStepNotPositive);
  }
  for (TInversePair pair : {TInversePair{0, 0}, TInversePair{1, 1}, TInversePair{1, 3}, TInversePair{1, 11}}) {
    Project p = good;
    p.InversePair = pair;
    ExpectRefused(p, kStep, kInversePairNotSelected);
  }
  {
    Project p = good;
    p.Thermometer(1).TimeStep = p.Thermometer(2).TimeStep = 0.0;
    ExpectRefused(p, kStep, kInverseRecordStepNotPositive);
  }
  for (double alpha : {0.0, -0.004}) {
    Project p = good;
    p.SectionProperties.Diffusivity = alpha;
    ExpectRefused(p, kStep, kInverseDiffusivityNotPositive);
  }
  for (double xd : {0.0, -5.0}) {
    Project p = good;
    p.SectionProperties.Xd = xd;
    ExpectRefused(p, kStep, kInverseFacesNotOrdered);
  }
  {
    Project p = good;
    p.Thermometer(2).Position = p.Thermometer(1).Position;
    ExpectRefused(p, kStep, kInversePairAtOnePosition);
  }
  {
    // 8 hourly samples analysed at 24 h: Round(1/3) = 0 steps.
    Project p = good;
    for (int slot : {1, 2}) SetThermometer(p, slot, p.Thermometer(slot).Position, Constant(10.0 * slot, 8), 1.0);
    ExpectRefused(p, 24.0, kInverseRecordTooShort);
  }
}

TEST(InverseAnalysis, StoppedRunLeavesEverythingAsItWas) {
  // Stop at the first report, in mid-run, and at the very last report.
  const std::vector<std::function<bool(int, int)>> stops{
      [](int, int) { return false; },
      [](int call, int) { return call < 3; },
      [](int, int position) { return position < kProgressMax; }};
  for (const auto& keepGoing : stops) {
    Project p = SyntheticProject(TypicalFaces(), 5);
    PlantSentinels(p);
    int calls = 0;
    const AnalysisOutcome o = RunInverseAnalysis(p, kStep, [&](int position) { return keepGoing(calls++, position); });
    EXPECT_TRUE(o.stopped);
    EXPECT_FALSE(o.completed);
    ExpectSentinels(p);
  }
}

TEST(InverseAnalysis, ProgressRisesToFullScale) {
  Project p = SyntheticProject(TypicalFaces(), 5);
  std::vector<int> positions;
  ASSERT_TRUE(RunInverseAnalysis(p, kStep, [&](int position) {
                positions.push_back(position);
                return true;
              }).completed);
  ASSERT_FALSE(positions.empty());
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  EXPECT_GE(positions.front(), 0);
  EXPECT_EQ(positions.back(), kProgressMax);
}

TEST(InverseAnalysis, TransformErrorLeavesEverythingAsItWas) {
  // Three samples cannot be re-sampled to a power of two: the transform refuses them.
  Project p = SyntheticProject(TypicalFaces(), 5);
  for (int slot : {1, 2}) SetThermometer(p, slot, p.Thermometer(slot).Position, Constant(10.0 * slot, 3));
  PlantSentinels(p);
  EXPECT_THROW(RunInverseAnalysis(p, kStep), EFourierError);
  ExpectSentinels(p);

  // Twenty years of padding on data every 36 s passes 2^23 samples: refused before padding,
  // saying that the padding is at fault and what to change.
  Project padded = SyntheticProject(TypicalFaces(), 5);
  for (int slot : {1, 2}) padded.Thermometer(slot).TimeStep = 0.01;
  padded.AnalysisOptions.PaddingYears = 20.0;
  PlantSentinels(padded);
  const AnalysisOutcome refused = RunInverseAnalysis(padded, 0.01);
  EXPECT_FALSE(refused.completed);
  ASSERT_EQ(refused.warnings.size(), 1u);
  EXPECT_TRUE(refused.warnings[0].starts_with("The padding is too long")) << refused.warnings[0];
  EXPECT_TRUE(refused.warnings[0].find("fewer padding years") != std::string::npos) << refused.warnings[0];
  ExpectSentinels(padded);
}

}  // namespace
}  // namespace kolma
