#include "core/analysis/harmonics_table.h"

#include <algorithm>

#include "core/model/project.h"

namespace kolma {

namespace {

std::string SlotTitle(const Project& project, int slot) {
  if (slot < 1 || slot > kThermometerSlots) return {};
  return project.Thermometer(slot).Title.Utf8Text();
}

double SlotDistance(const Project& project, int slot) {
  if (slot < 1 || slot > kThermometerSlots) return 0.0;
  return project.Thermometer(slot).Position - project.SectionProperties.Xu;
}

}  // namespace

TResultTable HarmonicsTable(const THarmonicSet& set, std::string_view firstTitle, std::string_view secondTitle) {
  const int count = std::max(set.HarmonicCount, 0);
  TResultTable table(count + 3, 7, 3, 1);

  table.setCell(0, 1, "Period");
  table.setCell(0, 3, std::string(firstTitle));
  table.setCell(0, 5, std::string(secondTitle));
  for (int column : {1, 3, 5}) table.addMerge({0, column, 1, 2});
  table.setCell(1, 3, "Amplitude");
  table.setCell(1, 4, "Phase");
  table.setCell(1, 5, "Amplitude");
  table.setCell(1, 6, "Phase");
  table.setCell(2, 1, "(hrs)");
  table.setCell(2, 2, "(days)");
  table.setCell(2, 3, "(°C)");
  table.setCell(2, 4, "(rad)");
  table.setCell(2, 5, "(°C)");
  table.setCell(2, 6, "(rad)");

  for (int r = 1; r <= count; ++r) {
    const int row = r + 2;
    const int e = count + 1 - r;  // the set's last entry first
    const double period = set.Periods.Element(e);
    table.setCell(row, 0, std::to_string(r));
    if (period >= 0.0) {
      table.setCell(row, 1, FormatFloat("%8.4f", period));
      table.setCell(row, 2, FormatFloat("%8.5f", period / 24.0));
    } else {
      table.setCell(row, 1, "Infinite");
      table.setCell(row, 2, "Infinite");
    }
    table.setCell(row, 3, FormatFloat("%10.8f", set.Amplitudes.Element(1, e)));
    table.setCell(row, 5, FormatFloat("%10.9f", set.Amplitudes.Element(2, e)));
    if (period > 0.0) {
      table.setCell(row, 4, FormatFloat("%8.5f", set.Phases.Element(1, e)));
      table.setCell(row, 6, FormatFloat("%8.5f", set.Phases.Element(2, e)));
    }
  }
  return table;
}

TResultTable DirectHarmonicsTable(const Project& project) {
  return HarmonicsTable(project.DirectHarmonics, "Upstream", "Downstream");
}

TResultTable InverseHarmonicsTable(const Project& project) {
  const auto [first, second] = InverseHarmonicsTitles(project);
  return HarmonicsTable(project.InverseHarmonics, first, second);
}

std::pair<std::string, std::string> InverseHarmonicsTitles(const Project& project) {
  const int one = project.InversePair.First;
  const int two = project.InversePair.Second;
  const bool firstIsNearer = SlotDistance(project, one) < SlotDistance(project, two);
  const int nearer = firstIsNearer ? one : two;
  const int other = firstIsNearer ? two : one;
  return {SlotTitle(project, nearer), SlotTitle(project, other)};
}

std::string HarmonicsCaption(bool inverse) {
  return std::string("Selected harmonics") + (inverse ? " for Inverse Analysis" : " for Direct Analysis");
}

}  // namespace kolma
