// Refusals that say why and what to change, where a terse message of a component would
// otherwise reach the user.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "core/analysis/direct_analysis.h"
#include "core/model/node_distribution.h"
#include "core/model/project.h"

namespace kolma {
namespace {

Project HourlyYear() {
  Project p;
  TSectionProperties& s = p.SectionProperties;
  EXPECT_TRUE(ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio));
  TVector up(8760), down(8760);
  for (int j = 1; j <= 8760; ++j) {
    up.SetElement(j, 10 + 5 * std::cos(j / 1400.0));
    down.SetElement(j, 15 + 8 * std::sin(j / 1400.0));
  }
  p.UpstreamHistory = {up, 1.0};
  p.DownstreamHistory = {down, 1.0};
  p.ProjectFlags = pfSection | pfUpstream | pfDownstream;
  return p;
}

TEST(AnalysisMessages, SayWhyAndWhatToChange) {
  struct Case {
    std::function<void(Project&)> change;
    std::string warning;
  };
  const Case cases[] = {
      // Automatic padding of a 1e6 m section of diffusivity 1e-12: far beyond 2^23 samples.
      {[](Project& p) {
         p.SectionProperties.Xd = 1e6;
         p.SectionProperties.Diffusivity = 1e-12;
         ComputeNodes(p.SectionProperties.NbDivisions, p.SectionProperties.Nodes, 0.0, 1e6, 3.0);
       },
       "The padding is too long: 2147483647 samples of 1 h added to the 8760 of the faces make more than the "
       "8388608 samples the Fourier transform can take. The automatic padding grows with the square of the "
       "section length over the diffusivity (1e+06 m, 1e-12 m\u00b2/h here): check those values, or choose a "
       "padding in years in the analysis options. Analysis aborted."},
      {[](Project& p) {
         p.AnalysisOptions.PaddingMode = 1;
         p.AnalysisOptions.PaddingYears = 1000;
       },
       "The padding is too long: 9642600 samples of 1 h added to the 8760 of the faces make more than the "
       "8388608 samples the Fourier transform can take. Choose fewer padding years in the analysis options. "
       "Analysis aborted."},
      // Nodes that cannot be told apart next to the faces.
      {[](Project& p) {
         p.SectionProperties.NbDivisions = 1000;
         p.SectionProperties.Ratio = 1e15;
       },
       "With 1000 divisions and a spacing ratio of 1e+15, the nodes next to the faces fall closer together than "
       "the positions of the section (0 m to 10 m) can tell apart. Choose a smaller spacing ratio or fewer "
       "divisions. Analysis aborted."},
  };
  for (const Case& c : cases) {
    Project p = HourlyYear();
    c.change(p);
    const AnalysisOutcome outcome = RunDirectAnalysis(p, {1.0, false});
    EXPECT_FALSE(outcome.completed);
    ASSERT_EQ(outcome.warnings.size(), 1u);
    EXPECT_EQ(outcome.warnings[0], c.warning);
    EXPECT_FALSE(p.HasFlag(pfDirectResults));
  }
}

}  // namespace
}  // namespace kolma
