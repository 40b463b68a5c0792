#include <gtest/gtest.h>

#include <stdexcept>

#include "core/model/project.h"
#include "tests/core/model/model_test_support.h"

namespace kolma {
namespace {

using testing::Fingerprint;

TEST(ProjectStartup, HoldsTheStartUpValues) {
  Project p;
  p.InitDefaults();
  EXPECT_EQ(p.ProjectFlags, 0);
  EXPECT_EQ(p.ProjectFileName, "Noname");
  const TSectionProperties& s = p.SectionProperties;
  EXPECT_EQ(s.Xd, 10.0);
  EXPECT_EQ(s.NbDivisions, 10);
  EXPECT_EQ(s.Ratio, 3.0);
  EXPECT_EQ(s.Diffusivity, 0.004);
  EXPECT_EQ(s.Ec, 20000.0);
  EXPECT_EQ(s.Poisson, 0.19);
  EXPECT_EQ(s.Alpha, 0.00001);
  EXPECT_EQ(p.UpstreamHistory.Values.NrOfElem(), 1);
  EXPECT_EQ(p.DownstreamHistory.TimeStep, 24.0);
  EXPECT_EQ(CountOccupiedThermometers(p), 0);
  EXPECT_EQ(p.Thermometer(10).Title.Text(), "");
  EXPECT_EQ(p.DirectHarmonics.MinHarmonics, 40);
  EXPECT_EQ(p.InverseHarmonics.MinHarmonics, 40);
  EXPECT_EQ(p.InverseHarmonics.Phases.NrOfRows(), 1);
  EXPECT_TRUE(p.InverseResults.MeanProfile.empty());
}

TEST(ProjectStartup, InitDefaultsUndoesEveryChange) {
  Project p = testing::RichProject();
  testing::FillResults(p);
  p.InitDefaults();
  EXPECT_TRUE(Fingerprint(p) == Fingerprint(Project()));
}

TEST(ProjectStartup, ViderMemoireClearsTheFlagsAndReleasesTheContainers) {
  Project p = testing::RichProject();
  testing::FillResults(p);
  p.ViderMemoire();
  EXPECT_EQ(p.ProjectFlags, 0);
  EXPECT_EQ(p.SectionProperties.Nodes.NrOfElem() + p.UpstreamHistory.Values.NrOfElem() +
                p.DownstreamHistory.Values.NrOfElem() + p.DirectHarmonics.Periods.NrOfElem() +
                p.InverseHarmonics.Amplitudes.NrOfRows() + p.DirectResults.Temperatures.NrOfColumns() +
                p.InverseResults.UpstreamTemperatures.NrOfElem(),
            7);
  EXPECT_EQ(CountOccupiedThermometers(p), 0);
  EXPECT_TRUE(p.InverseResults.MeanProfile.empty());
}

TEST(ProjectThermometers, SlotsAreNumberedOneToTenAndOccupiedFromTwoSamples) {
  Project p;
  p.Thermometer(1).Values = TVector(2);
  p.Thermometer(10).Values = TVector(500);
  p.Thermometer(5).Values = TVector(1);
  EXPECT_EQ(p.Thermometers[9].Values.NrOfElem(), 500);
  EXPECT_EQ(CountOccupiedThermometers(p), 2);
  EXPECT_THROW(p.Thermometer(0), std::out_of_range);
  EXPECT_THROW(static_cast<const Project&>(p).Thermometer(11), std::out_of_range);
  p.SetMinHarmonics(12);
  EXPECT_EQ(p.InverseHarmonics.MinHarmonics, 12);
}

TEST(ProjectTitle, TextIsTheFirstLengthBytesAndTheRestIsKept) {
  TShortTitle title = testing::TitleWithJunk(std::string(10, 'x'), 0x30);
  const TShortTitle::Bytes before = title.RawBytes();
  const std::string anyBytes("a\0b\xE9", 4);
  title.SetText(anyBytes);
  EXPECT_EQ(title.Text(), anyBytes);
  EXPECT_TRUE(std::equal(before.begin() + 4, before.end(), title.RawBytes().begin() + 4));
  title.SetText(std::string(100, 'q'));
  EXPECT_EQ(title.Text(), std::string(80, 'q'));
  const TShortTitle full = title;  // a stored length above 80 is refused and changes nothing
  EXPECT_FALSE(title.SetRaw(81, {}));
  EXPECT_TRUE(title == full);
}

}  // namespace
}  // namespace kolma
