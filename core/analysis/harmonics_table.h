#pragma once
// The table of the harmonics retained by the last direct or inverse analysis: period,
// and amplitude and phase in each of the two histories that were decomposed.
#include <string>
#include <string_view>
#include <utility>

#include "core/analysis/result_table.h"

namespace kolma {

struct Project;
struct THarmonicSet;

// 7 columns (column 0 fixed) and 3 fixed header rows, then one row per harmonic:
//   row 0: "Period" over columns 1-2, firstTitle over 3-4, secondTitle over 5-6 (merged);
//   row 1: "", "", "Amplitude", "Phase", "Amplitude", "Phase";
//   row 2: "(hrs)", "(days)", "(°C)", "(rad)", "(°C)", "(rad)".
// Data row r (grid row r + 2) shows the set's entry HarmonicCount + 1 - r: r, the period
// in hours "%8.4f" and days "%8.5f" ("Infinite" twice for a negative period, the
// zero-frequency term), amplitude 1 "%10.8f", amplitude 2 "%10.9f", and the phases
// "%8.5f" only for a positive period.
TResultTable HarmonicsTable(const THarmonicSet& set, std::string_view firstTitle, std::string_view secondTitle);

// DirectHarmonics under "Upstream" and "Downstream".
TResultTable DirectHarmonicsTable(const Project& project);
// InverseHarmonics under the titles of InverseHarmonicsTitles.
TResultTable InverseHarmonicsTable(const Project& project);

// Titles of the inverse set's two columns: first the thermometer of the inverse pair
// nearer the upstream face (the second of the pair on equal distances), then the other.
// An empty title stands for a pair slot that is not a thermometer slot.
std::pair<std::string, std::string> InverseHarmonicsTitles(const Project& project);

// "Selected harmonics for Direct Analysis" or "Selected harmonics for Inverse Analysis".
std::string HarmonicsCaption(bool inverse);

}  // namespace kolma
