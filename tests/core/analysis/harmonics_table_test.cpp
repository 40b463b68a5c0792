#include "core/analysis/harmonics_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/project.h"

using namespace kolma;

namespace {

using Cells = std::vector<std::string>;

Cells Row(const TResultTable& t, int row) {
  Cells cells;
  for (int c = 0; c < t.columns(); ++c) cells.push_back(t.cell(row, c));
  return cells;
}

// Rows as a direct analysis stores them: shortest period first, the zero-frequency term last.
THarmonicSet DirectSet() {
  THarmonicSet set;
  set.HarmonicCount = 3;
  set.Periods.Resize(4);  // a row beyond the count carries no meaning
  set.Amplitudes.Resize(2, 4);
  set.Phases.Resize(2, 4);
  const double periods[] = {24.0, 8760.0, -1.0, 5.0};
  const double amplitudes[][2] = {{1.5, 0.5}, {2.25, 0.75}, {10.0, 12.0}, {7, 7}};
  const double phases[][2] = {{0.1, 0.3}, {-0.2, 0.4}, {0.0, 3.14159}, {1, 1}};
  for (int r = 1; r <= 4; ++r) {
    set.Periods.SetElement(r, periods[r - 1]);
    for (int c = 1; c <= 2; ++c) {
      set.Amplitudes.SetElement(c, r, amplitudes[r - 1][c - 1]);
      set.Phases.SetElement(c, r, phases[r - 1][c - 1]);
    }
  }
  return set;
}

}  // namespace

TEST(HarmonicsTable, HeadersAndLastEntryFirst) {
  Project p;
  p.DirectHarmonics = DirectSet();
  const TResultTable t = DirectHarmonicsTable(p);
  EXPECT_EQ(t.rows(), 6);
  EXPECT_EQ(t.columns(), 7);
  EXPECT_EQ(t.fixedRows(), 3);
  EXPECT_EQ(t.fixedColumns(), 1);
  EXPECT_EQ(Row(t, 0), (Cells{"", "Period", "", "Upstream", "", "Downstream", ""}));
  EXPECT_EQ(Row(t, 1), (Cells{"", "", "", "Amplitude", "Phase", "Amplitude", "Phase"}));
  EXPECT_EQ(Row(t, 2), (Cells{"", "(hrs)", "(days)", "(\xC2\xB0" "C)", "(rad)", "(\xC2\xB0" "C)", "(rad)"}));
  ASSERT_EQ(t.merges().size(), 3u);
  EXPECT_EQ(t.merges()[1].column, 3);
  EXPECT_EQ(t.merges()[1].columnSpan, 2);

  // The zero-frequency term (the set's last entry) on row 1: no period, no phases.
  EXPECT_EQ(Row(t, 3), (Cells{"1", "Infinite", "Infinite", "10.00000000", "", "12.000000000", ""}));
  EXPECT_EQ(Row(t, 4), (Cells{"2", "8760.0000", "365.00000", "2.25000000", "-0.20000", "0.750000000", " 0.40000"}));
  EXPECT_EQ(Row(t, 5), (Cells{"3", " 24.0000", " 1.00000", "1.50000000", " 0.10000", "0.500000000", " 0.30000"}));
}

TEST(HarmonicsTable, InverseTitlesFollowTheOrderAcrossTheSection) {
  Project p;
  p.SectionProperties.Xu = 100.0;
  p.SectionProperties.Xd = 110.0;
  p.Thermometer(2).Position = 106.0;
  p.Thermometer(2).Title.SetText("T-six");
  p.Thermometer(5).Position = 102.0;
  p.Thermometer(5).Title.SetText("Caf\xE9");  // stored as Latin-1
  p.InversePair = {2, 5};
  // Stored as an inverse analysis does: the zero-frequency term first.
  p.InverseHarmonics.HarmonicCount = 2;
  p.InverseHarmonics.Periods.Resize(2);
  p.InverseHarmonics.Periods.SetElement(1, -1.0);
  p.InverseHarmonics.Periods.SetElement(2, 12.0);
  p.InverseHarmonics.Amplitudes.Resize(2, 2);
  p.InverseHarmonics.Phases.Resize(2, 2);

  const TResultTable t = InverseHarmonicsTable(p);
  EXPECT_EQ(t.cell(0, 3), "Caf\xC3\xA9");  // slot 5 lies nearer the upstream face; UTF-8 in the table
  EXPECT_EQ(t.cell(0, 5), "T-six");
  EXPECT_EQ(t.cell(3, 1), " 12.0000");  // shortest period on row 1
  EXPECT_EQ(t.cell(4, 1), "Infinite");  // the zero-frequency term last

  p.Thermometer(5).Position = 106.0;  // equal distances: the second of the pair first
  EXPECT_EQ(InverseHarmonicsTitles(p), (std::pair<std::string, std::string>{"Caf\xC3\xA9", "T-six"}));
  p.InversePair = {0, 0};  // no pair: no titles, and no slot 0 is ever read
  EXPECT_EQ(InverseHarmonicsTitles(p), (std::pair<std::string, std::string>{"", ""}));
}

TEST(HarmonicsTable, EmptySetAndCaptions) {
  THarmonicSet empty;
  const TResultTable t = HarmonicsTable(empty, "a", "b");
  EXPECT_EQ(t.rows(), 3);
  empty.HarmonicCount = -4;
  EXPECT_EQ(HarmonicsTable(empty, "a", "b").rows(), 3);
  EXPECT_EQ(HarmonicsCaption(false), "Selected harmonics for Direct Analysis");
  EXPECT_EQ(HarmonicsCaption(true), "Selected harmonics for Inverse Analysis");
}
