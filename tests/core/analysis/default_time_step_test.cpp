#include "core/analysis/default_time_step.h"

#include <gtest/gtest.h>

#include "core/model/project.h"

namespace kolma {
namespace {

Project WithSteps(double faceStep, double pairStep) {
  Project p;
  p.UpstreamHistory.TimeStep = p.DownstreamHistory.TimeStep = faceStep;
  p.Thermometer(1).TimeStep = pairStep;
  p.Thermometer(2).TimeStep = 2.0;  // the second of the pair is never consulted
  p.InversePair = {1, 2};
  p.ProjectFlags = pfUpstream | pfDownstream | pfInversePair;
  return p;
}

TEST(DefaultTimeStep, ShorterOfFacesAndPairWithinOneToTwentyFourHours) {
  EXPECT_EQ(DefaultAnalysisTimeStep(Project()), 24.0);
  EXPECT_EQ(DefaultAnalysisTimeStep(WithSteps(6.0, 12.0)), 6.0);
  EXPECT_EQ(DefaultAnalysisTimeStep(WithSteps(12.0, 3.0)), 3.0);
  EXPECT_EQ(DefaultAnalysisTimeStep(WithSteps(0.5, 12.0)), 1.0);
  EXPECT_EQ(DefaultAnalysisTimeStep(WithSteps(48.0, 36.0)), 24.0);
}

TEST(DefaultTimeStep, OnlyDefinedFacesAndAChosenPairCount) {
  Project oneFace = WithSteps(6.0, 12.0);
  oneFace.ProjectFlags &= static_cast<std::uint8_t>(~pfDownstream);
  EXPECT_EQ(DefaultAnalysisTimeStep(oneFace), 12.0);
  Project noPair = WithSteps(30.0, 12.0);
  noPair.ProjectFlags &= static_cast<std::uint8_t>(~pfInversePair);
  EXPECT_EQ(DefaultAnalysisTimeStep(noPair), 24.0);
  // A pair from a damaged file that names no slot offers nothing (and does not throw).
  for (int slot : {0, 11}) {
    Project p = WithSteps(30.0, 12.0);
    p.InversePair.First = slot;
    EXPECT_EQ(DefaultAnalysisTimeStep(p), 24.0);
  }
}

}  // namespace
}  // namespace kolma
