// Inputs no analysis may compute on: each is refused before the run with a warning that
// names it, and the run writes nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "core/analysis/direct_analysis.h"
#include "core/analysis/inverse_analysis.h"
#include "core/model/node_distribution.h"
#include "core/model/project.h"

namespace kolma {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Both faces, three thermometers (T1 and T2 the inverse pair): both analyses run.
Project Usable() {
  Project p;
  TSectionProperties& s = p.SectionProperties;
  EXPECT_TRUE(ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio));
  TVector up(256), down(256), inside(256);
  for (int j = 1; j <= 256; ++j) {
    up.SetElement(j, 10 + 5 * std::cos(j / 40.0));
    down.SetElement(j, 15 + 8 * std::sin(j / 40.0));
    inside.SetElement(j, 12 + std::cos(j / 40.0));
  }
  p.UpstreamHistory = {up, 24.0};
  p.DownstreamHistory = {down, 24.0};
  const char* titles[] = {"T1", "T2", "T3"};
  for (int slot = 1; slot <= 3; ++slot) {
    TTemperatureInside& t = p.Thermometer(slot);
    t.Position = 2.0 * slot;
    t.Values = inside;
    t.TimeStep = 24.0;
    t.Title.SetText(titles[slot - 1]);
  }
  p.InversePair = {1, 2};
  p.ProjectFlags = pfSection | pfUpstream | pfDownstream | pfInversePair;
  return p;
}

TEST(AnalysisRefusals, UnusableInputsAreNamedAndNothingIsWritten) {
  struct Case {
    bool inverse;
    double timeStep;
    std::function<void(Project&)> change;
    std::string warning;  // the whole warning, or its beginning when it ends with "..."
  };
  const Case cases[] = {
      {false, 24, [](Project& p) { p.UpstreamHistory.Values.SetElement(100, kNaN); },
       "Upstream face, sample 100, is not a number"},
      {false, 24, [](Project& p) { p.DownstreamHistory.Values.SetElement(3, -kInf); },
       "Downstream face, sample 3, is out of range (-inf)"},
      {true, 24, [](Project& p) { p.Thermometer(2).Values.SetElement(7, 1e300); },
       "Thermometer 2 \"T2\", sample 7, is out of range (1e+300)"},
      {true, 24,  // a slot outside the pair counts when the mean profile uses every slot
       [](Project& p) {
         p.AnalysisOptions.AveragingCorrection = 1;
         p.Thermometer(3).Values.SetElement(1, kNaN);
       },
       "Thermometer 3 \"T3\", sample 1, is not a number"},
      {true, 24, [](Project& p) { p.Thermometer(1).Position = kNaN; }, "Thermometer 1 \"T1\" position is not a number"},
      {false, kNaN, [](Project&) {}, "Analysis time step is not a number"},
      {false, 24, [](Project& p) { p.UpstreamHistory.TimeStep = kNaN; }, "Upstream face time step is not a number"},
      {true, 24, [](Project& p) { p.Thermometer(1).TimeStep = kNaN; },
       "Thermometer 1 \"T1\" time step is not a number"},
      {false, 24, [](Project& p) { p.SectionProperties.Xu = -kInf; },
       "Upstream face position (Xu) is out of range (-inf)"},
      {true, 24, [](Project& p) { p.SectionProperties.Diffusivity = kNaN; }, "Diffusivity is not a number"},
      {false, 24, [](Project& p) { p.SectionProperties.Ec = kNaN; }, "Young's modulus is not a number"},
      // Results beyond the memory an analysis may take.
      {false, 1e-9, [](Project&) {}, "The results would hold 14 x 6144000000000 values..."},
      {true, 1e-9, [](Project&) {}, "The results would hold 2 x 6144000000000 values..."},
      // Thermometers outside the section.
      {false, 24, [](Project& p) { p.Thermometer(3).Position = 12.0; },
       "Thermometer 3 \"T3\" is outside the section (12 m; faces at 0 and 10 m)"},
      {true, 24, [](Project& p) { p.Thermometer(2).Position = -1.0; },
       "Thermometer 2 \"T2\" is outside the section (-1 m; faces at 0 and 10 m)"},
      // As the window: no section, no pair.
      {false, 24, [](Project& p) { p.ProjectFlags &= static_cast<std::uint8_t>(~pfSection); },
       "The section must be defined before a direct analysis. Analysis aborted."},
      {true, 24, [](Project& p) { p.ProjectFlags &= static_cast<std::uint8_t>(~pfInversePair); },
       kInversePairNotSelected},
      // The division count and ratio say what is wrong with the nodes.
      {false, 24, [](Project& p) { p.SectionProperties.NbDivisions = 2; },
       "Number of divisions is out of range (2; 3 to 1000)"},
      {false, 24, [](Project& p) { p.SectionProperties.Ratio = -1; }, "Ratio of the divisions is out of range (-1)"},
      // An automatic padding past the transform's length: the padding is named, not the transform.
      {true, 24, [](Project& p) { p.SectionProperties.Diffusivity = 1e-7; },
       "The padding is too long: 27500000 samples of 24 h added to the 256 of the thermometers' records..."},
  };
  Project usable = Usable();
  ASSERT_TRUE(RunDirectAnalysis(usable, {24.0, false}).completed);
  usable = Usable();
  ASSERT_TRUE(RunInverseAnalysis(usable, 24.0).completed);
  for (const Case& c : cases) {
    Project p = Usable();
    c.change(p);
    const AnalysisOutcome o = c.inverse ? RunInverseAnalysis(p, c.timeStep) : RunDirectAnalysis(p, {c.timeStep, false});
    EXPECT_FALSE(o.completed) << c.warning;
    EXPECT_FALSE(p.HasFlag(pfDirectResults) || p.HasFlag(pfInverseResults)) << c.warning;
    ASSERT_EQ(o.warnings.size(), 1u) << c.warning;
    if (c.warning.ends_with("..."))
      EXPECT_TRUE(o.warnings[0].starts_with(c.warning.substr(0, c.warning.size() - 3))) << o.warnings[0];
    else
      EXPECT_EQ(o.warnings[0], c.warning);
  }
}

}  // namespace
}  // namespace kolma
