// The corpus of logger exports in tests/core/analysis/logger_exports: each file, read with
// the options its manifest line gives, must give the history beside it and say the note
// the manifest names. tests/tools/import_measurements.sh runs the same corpus through
// kolma-batch.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/analysis/measurement_import.h"
#include "core/analysis/time_history_file.h"

namespace kolma {
namespace {

const std::filesystem::path kCorpus = std::filesystem::path(KOLMA_SOURCE_DIR) / "tests/core/analysis/logger_exports";

struct Export {
  std::string file;
  int timeColumn = -1;
  ImportChoices choices;
  std::string note;
};

// "FILE|--column 3 --time-column 1 --utc-offset 1 --max-gap 24|note" lines; '#' starts a comment.
std::vector<Export> Manifest() {
  std::vector<Export> exports;
  std::ifstream in(kCorpus / "manifest.txt");
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t bar1 = line.find('|'), bar2 = line.find('|', bar1 + 1);
    Export e;
    e.file = line.substr(0, bar1);
    e.note = line.substr(bar2 + 1);
    std::istringstream options(line.substr(bar1 + 1, bar2 - bar1 - 1));
    for (std::string option, value; options >> option >> value;) {
      if (option == "--column") e.choices.column = std::stoi(value) - 1;
      else if (option == "--time-column") e.timeColumn = std::stoi(value) - 1;
      else if (option == "--utc-offset") e.choices.utcOffsetHours = std::stod(value);
      else if (option == "--max-gap") e.choices.maxGapHours = std::stod(value);
      else ADD_FAILURE() << e.file << ": option " << option;
    }
    exports.push_back(e);
  }
  return exports;
}

TEST(LoggerExports, EachExportGivesItsExpectedHistoryAndSaysHowItWasRead) {
  const std::vector<Export> exports = Manifest();
  ASSERT_GE(exports.size(), 8u);
  for (const Export& e : exports) {
    SCOPED_TRACE(e.file);
    const MeasurementTable table = ReadMeasurementFile(kCorpus / e.file, e.timeColumn);
    ASSERT_TRUE(table.ok()) << table.error;
    const ImportResult r = ImportMeasurements(table, e.choices);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(r.refused.empty()) << "line " << r.refused.front().line;
    std::string notes;
    for (const std::string& note : r.notes) notes += note + "\n";
    EXPECT_NE(notes.find(e.note), std::string::npos) << notes;

    const std::filesystem::path stem = e.file.substr(0, e.file.rfind('.'));
    const TimeHistoryReadResult expected = ReadTimeHistoryFile(kCorpus / (stem.string() + ".expected.txt"));
    ASSERT_TRUE(expected.ok());
    ASSERT_EQ(r.values.NrOfElem(), expected.values.NrOfElem());
    EXPECT_NEAR(r.timeStep, expected.timeStep, 1e-6 * expected.timeStep);
    for (int i = 1; i <= r.values.NrOfElem(); ++i)
      EXPECT_NEAR(r.values.Element(i), expected.values.Element(i), 1e-5) << "sample " << i;
  }
}

}  // namespace
}  // namespace kolma
