// The inverse analysis on records as a user has them: a year of hourly samples written
// with seven significant digits, with and without thermometer noise. Taking more
// harmonics must never make the worked-back faces worse.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>
#include <vector>

#include "core/analysis/direct_analysis.h"
#include "core/analysis/inverse_analysis.h"
#include "core/model/node_distribution.h"
#include "core/model/project.h"

namespace kolma {
namespace {

constexpr int kSamples = 8760;
constexpr int kFewest = 10, kMost = kSamples / 2 - 1;  // the range the options dialog offers
constexpr double kPositions[] = {1.0, 2.5, 6.0, 8.5};

double Cycle(double period, double t, double lag = 0.0) {
  return std::cos(2 * std::numbers::pi * (t - lag) / period);
}
double UpstreamFace(double t) {
  return 10.0 + 7.0 * Cycle(8760, t) + 2.5 * Cycle(24, t, 14) + 1.5 * Cycle(120, t, 30);
}
double DownstreamFace(double t) {
  return 12.0 + 11.0 * Cycle(8760, t, 600) + 5.0 * Cycle(24, t, 15) + 2.0 * Cycle(170, t);
}

// Seven significant digits, as the history text files keep them.
double AsWritten(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6e", v);
  return std::strtod(text, nullptr);
}

// Faces known, thermometers recorded by a direct analysis of them.
Project RecordedSection() {
  Project p;
  TSectionProperties& s = p.SectionProperties;
  EXPECT_TRUE(ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio));
  TVector up(kSamples), down(kSamples);
  for (int j = 1; j <= kSamples; ++j) {
    up.SetElement(j, UpstreamFace(j - 1));
    down.SetElement(j, DownstreamFace(j - 1));
  }
  p.UpstreamHistory = {up, 1.0};
  p.DownstreamHistory = {down, 1.0};
  for (int slot = 1; slot <= 4; ++slot) {
    p.Thermometer(slot).Position = kPositions[slot - 1];
    p.Thermometer(slot).Values = TVector(2);
    p.Thermometer(slot).TimeStep = 1.0;
  }
  p.ProjectFlags = pfSection | pfUpstream | pfDownstream;
  p.SetMinHarmonics(kMost);
  EXPECT_TRUE(RunDirectAnalysis(p, {1.0, false}).completed);
  return p;
}

double RmsError(const TVector& worked, double (*face)(double)) {
  double sum = 0.0;
  for (int j = 1; j <= worked.NrOfElem(); ++j) sum += std::pow(worked.Element(j) - face(j - 1), 2);
  return std::sqrt(sum / worked.NrOfElem());
}

struct FaceErrors {
  double up, down;
};

FaceErrors WorkBack(Project p, int first, int second, int harmonics) {
  p.InversePair = {first, second};
  p.ProjectFlags |= pfInversePair;
  p.SetMinHarmonics(harmonics);
  EXPECT_TRUE(RunInverseAnalysis(p, 1.0).completed);
  return {RmsError(p.InverseResults.UpstreamTemperatures, UpstreamFace),
          RmsError(p.InverseResults.DownstreamTemperatures, DownstreamFace)};
}

TEST(InverseAnalysisNoise, MoreHarmonicsNeverWorkBackWorseFaces) {
  const Project section = RecordedSection();
  std::mt19937 random(9);
  std::normal_distribution<double> noise(0.0, 0.02);
  for (const double sigma : {0.0, 0.02}) {
    Project p = section;
    for (int slot = 1; slot <= 4; ++slot) {
      TVector record(kSamples);
      for (int j = 1; j <= kSamples; ++j)
        record.SetElement(j, AsWritten(section.DirectResults.ThermometerTemperatures.Element(slot, j) +
                                       (sigma > 0 ? noise(random) : 0.0)));
      p.Thermometer(slot).Values = record;
    }
    for (int first = 1; first <= 4; ++first)
      for (int second = first + 1; second <= 4; ++second) {
        const FaceErrors few = WorkBack(p, first, second, kFewest);
        const FaceErrors most = WorkBack(p, first, second, kMost);
        std::printf("[ measured ] noise %.2f pair %d/%d: rms face error upstream %.3g -> %.3g, "
                    "downstream %.3g -> %.3g degC (%d -> %d harmonics)\n",
                    sigma, first, second, few.up, most.up, few.down, most.down, kFewest, kMost);
        EXPECT_LE(most.up, 1.1 * few.up + 0.05) << "pair " << first << "/" << second;
        EXPECT_LE(most.down, 1.1 * few.down + 0.05) << "pair " << first << "/" << second;
      }
  }
}

}  // namespace
}  // namespace kolma
