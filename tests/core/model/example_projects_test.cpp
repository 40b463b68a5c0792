#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "core/model/project_codec.h"
#include "core/model/project_file.h"
#include "tests/core/model/model_test_support.h"

namespace kolma {
namespace {

// The committed examples (their bytes are checked against a fresh build by a tool test).
const std::filesystem::path kExamples = std::filesystem::path(KOLMA_SOURCE_DIR) / "examples";

Project LoadExample(const std::string& name) {
  Project p;
  std::string reason;
  EXPECT_TRUE(LectureFichier(p, kExamples / name, &reason)) << name << ": " << reason;
  EXPECT_EQ(EncodeProject(p), testing::ReadBytes(kExamples / name)) << "resaved differently";
  return p;
}

// The text history the project was made from holds exactly the project's samples.
void ExpectHistoryText(const std::string& name, const TVector& values, double timeStep) {
  const testing::Bytes bytes = testing::ReadBytes(kExamples / name);
  std::istringstream lines(std::string(bytes.begin(), bytes.end()));
  std::vector<std::string> fields;
  for (std::string line; std::getline(lines, line);) {
    ASSERT_TRUE(!line.empty() && line.back() == '\r') << name << ": lines end in CR LF";
    fields.push_back(line.substr(0, line.size() - 1));
  }
  ASSERT_EQ(fields.size(), static_cast<size_t>(values.NrOfElem()) + 2) << name;
  EXPECT_EQ(fields[0], std::to_string(values.NrOfElem()));
  EXPECT_EQ(std::strtod(fields[1].c_str(), nullptr), timeStep);
  for (int i = 1; i <= values.NrOfElem(); ++i)
    ASSERT_EQ(std::strtod(fields[static_cast<size_t>(i) + 1].c_str(), nullptr), values.Element(i)) << name << " " << i;
}

TEST(ProjectFileExamples, AnnualAndDailyCyclesOnBothFaces) {
  const Project p = LoadExample("annual-daily-10m.kol");
  EXPECT_EQ(p.ProjectFlags, pfSection | pfUpstream | pfDownstream);
  EXPECT_EQ(p.UpstreamHistory.Values.NrOfElem(), 8760);
  EXPECT_EQ(p.DownstreamHistory.Values.NrOfElem(), 8760);
  double waterMin, waterMax, airMin, airMax;
  p.UpstreamHistory.Values.MinMax(1, 8760, waterMin, waterMax);
  p.DownstreamHistory.Values.MinMax(1, 8760, airMin, airMax);
  EXPECT_LT(waterMax - waterMin, airMax - airMin);  // water swings less than air
  ExpectHistoryText("annual-daily-10m-upstream.txt", p.UpstreamHistory.Values, 1.0);
  ExpectHistoryText("annual-daily-10m-downstream.txt", p.DownstreamHistory.Values, 1.0);
}

TEST(ProjectFileExamples, FourThermometersWithAnInversePair) {
  const Project p = LoadExample("four-thermometers.kol");
  EXPECT_EQ(p.ProjectFlags, pfSection | pfInversePair);
  ASSERT_EQ(CountOccupiedThermometers(p), 4);
  EXPECT_EQ(p.InversePair.First, 1);
  EXPECT_EQ(p.InversePair.Second, 4);
  for (int slot = 1; slot <= 4; ++slot) {
    const TTemperatureInside& t = p.Thermometer(slot);
    const std::string name = std::string("T") + char('0' + slot);
    EXPECT_EQ(t.Title.Text(), name);
    EXPECT_TRUE(t.Position > p.SectionProperties.Xu && t.Position < p.SectionProperties.Xd);
    ExpectHistoryText("four-thermometers-" + name + ".txt", t.Values, t.TimeStep);
  }
}

}  // namespace
}  // namespace kolma
