#include "core/formats/workbook_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/analysis/result_table.h"
#include "core/formats/result_table_workbook.h"
#include "tests/core/formats/reader_tools.h"

using namespace kolma;
using namespace kolma::test;
namespace fs = std::filesystem;

namespace {

// One cell as the test expects the reader to find it.
struct TCellCase {
  int row;
  int column;
  std::string text;
  bool number;
};

std::string Escape(const std::string& text) {
  std::string result;
  for (char c : text) {
    switch (c) {
      case '\\': result += "\\\\"; break;
      case '\t': result += "\\t"; break;
      case '\n': result += "\\n"; break;
      case '\r': result += "\\r"; break;
      default: result += c;
    }
  }
  return result;
}

// The grid holding the cases, empty elsewhere.
class TCaseGrid {
 public:
  TCaseGrid(int rows, int columns, std::vector<TCellCase> cases)
      : rows_(rows), columns_(columns), cases_(std::move(cases)), texts_(static_cast<std::size_t>(rows) * columns) {
    for (const TCellCase& c : cases_) texts_[static_cast<std::size_t>(c.row) * columns_ + c.column] = c.text;
  }
  TCellGrid View(std::vector<TCellBlock> blocks = {}) const {
    return {rows_, columns_,
            [this](int row, int column) -> const std::string& {
              return texts_[static_cast<std::size_t>(row) * columns_ + column];
            },
            std::move(blocks)};
  }
  const std::vector<TCellCase>& Cases() const { return cases_; }

 private:
  int rows_, columns_;
  std::vector<TCellCase> cases_;
  std::vector<std::string> texts_;
};

void WriteExpected(const fs::path& path, const std::string& sheet, int usedRows, int usedColumns,
                   const std::vector<TCellCase>& cases, const std::vector<TCellBlock>& merges = {}) {
  std::ofstream out(path, std::ios::binary);
  out << "sheet\t" << Escape(sheet) << "\nsize\t" << usedRows << '\t' << usedColumns << '\n';
  for (const TCellBlock& m : merges)
    out << "merge\t" << m.row << '\t' << m.column << '\t' << m.rowSpan << '\t' << m.columnSpan << '\n';
  for (const TCellCase& c : cases)
    out << "cell\t" << c.row << '\t' << c.column << '\t' << (c.number ? "number" : "text") << '\t' << Escape(c.text)
        << '\n';
}

// Runs the independent reader on book against expected; the reader's findings on failure.
::testing::AssertionResult ReadsAsExpected(const fs::path& book, const fs::path& expected) {
  const std::string& python = PythonWithXlrd();
  if (python.empty()) return ::testing::AssertionFailure() << kInstallHint;
  const TCommandOutput run = RunCommand(python + " " + ShellQuote(ScriptPath("read_xls.py").string()) + " check " +
                                        ShellQuote(book.string()) + " " + ShellQuote(expected.string()));
  if (run.status == 0 && run.output == "ok\n") return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "reader status " << run.status << ":\n" << run.output;
}

std::uint32_t HeaderField(const std::vector<std::uint8_t>& file, std::size_t at) {
  return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (static_cast<std::uint32_t>(file[at + 3]) << 24);
}

}  // namespace

TEST(WorkbookWriter, SmallTableReadBackWithTextsNumbersAndEmptyCells) {
  const std::vector<TCellCase> cases = {
      {0, 0, "Time", false},
      {0, 1, "X =  0.00000", false},
      {0, 2, "Upstream face", false},
      {1, 0, "(hour)", false},
      {1, 1, "(\xC2\xB0" "C)", false},                          // (°C)
      {1, 2, "Temp\xC3\xA9rature \xE6\xB8\xA9\xE5\xBA\xA6", false},  // Température 温度
      {2, 0, "   0", true},
      {2, 1, "12.345", true},
      {2, 2, "-0.500", true},
      {3, 0, "  24", true},
      {3, 1, "1.234560e+01", true},
      {3, 2, "-2.500000E-03", true},
      {4, 1, "+1.5", true},
      {4, 2, "-0.000", true},
      {5, 0, ".5", true},
      {5, 1, "7.", true},
      {5, 2, "007.50", true},
      {6, 0, "12.5e3", true},  // a number, though no format gives these digits back
      {6, 1, "1.5e-5", true},
      {6, 2, "42", true},
      // Texts that look like numbers but are not plain decimal numbers.
      {7, 0, "1.5 m", false},
      {7, 1, "1,5", false},
      {7, 2, "inf", false},
      {8, 0, "nan", false},
      {8, 1, "0x10", false},
      {8, 2, "1e", false},
      {9, 0, "--1", false},
      {9, 1, ".", false},
      {9, 2, "1.2.3", false},
      {10, 0, "1e999", false},  // beyond a double
      {10, 1, "   ", false},
      {10, 2, "tab\there \"quoted\" back\\slash", false},
      {11, 0, "bad \xFF byte", false},
      {12, 3, "last", false},
  };
  // The reader must see the bad byte as U+FFFD.
  std::vector<TCellCase> expected = cases;
  expected[expected.size() - 2].text = "bad \xEF\xBF\xBD byte";

  const TCaseGrid grid(14, 5, cases);  // row 13 and column 4 stay empty
  const std::vector<TCellBlock> merges = {{0, 3, 2, 2}};
  const fs::path folder = FreshFolder("small");
  const TFileWriteResult written = WriteWorkbook(folder / "small.xls", grid.View(merges), {"Results [1/2]"});
  ASSERT_TRUE(written.ok) << written.reason;
  WriteExpected(folder / "expected.tsv", "Results _1_2_", 13, 5, expected, merges);
  EXPECT_TRUE(ReadsAsExpected(folder / "small.xls", folder / "expected.tsv"));
  // No temporary file stays beside the workbook.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

TEST(WorkbookWriter, EmptyTableGivesAnEmptyReadableSheet) {
  const fs::path folder = FreshFolder("empty");
  for (int rows : {0, 3}) {
    const TCaseGrid grid(rows, rows, {});
    ASSERT_TRUE(WriteWorkbook(folder / "empty.xls", grid.View()).ok);
    WriteExpected(folder / "expected.tsv", "Sheet1", 0, 0, {});
    EXPECT_TRUE(ReadsAsExpected(folder / "empty.xls", folder / "expected.tsv")) << rows;
  }
}

// Strings longer than one record continue over further records; the option byte is
// repeated there, and a surrogate pair must not be cut (a reader decodes each piece).
TEST(WorkbookWriter, LongAndManyStringsContinueOverRecords) {
  std::vector<TCellCase> cases;
  cases.push_back({0, 0, "abc", false});  // puts the record end inside the next string's pair
  std::string emoji;
  for (int i = 0; i < 5000; ++i) emoji += "\xF0\x9F\x8C\xA1";  // U+1F321, thermometer
  cases.push_back({1, 0, emoji, false});
  cases.push_back({2, 0, std::string(30000, 'a') + "\xC3\xA9", false});  // one byte per character
  std::string wide;
  for (int i = 0; i < 20000; ++i) wide += (i % 7 == 0) ? "\xE6\xB8\xA9" : "b";
  cases.push_back({3, 0, wide, false});
  std::string longest(kWorkbookMaxCellText, 'z');
  cases.push_back({4, 0, longest, false});
  for (int i = 0; i < 3000; ++i) {  // many short ones, every header position on a record end
    std::string text = "s";
    text.append(std::to_string(i)).append(static_cast<std::size_t>(i % 13), 'x');
    if (i % 3 == 0) text += "\xC2\xB0";
    if (i % 5 == 0) text += "\xCE\xA9";  // Ω: two bytes per character
    cases.push_back({5 + i / 10, 1 + i % 10, text, false});
  }
  cases.push_back({400, 0, "abc", false});  // a repeated string is shared
  const TCaseGrid grid(401, 11, cases);
  const fs::path folder = FreshFolder("strings");
  ASSERT_TRUE(WriteWorkbook(folder / "strings.xls", grid.View()).ok);
  WriteExpected(folder / "expected.tsv", "Sheet1", 401, 11, cases);
  EXPECT_TRUE(ReadsAsExpected(folder / "strings.xls", folder / "expected.tsv"));
}

// The spreadsheet of a year of hourly steps over 51 nodes: about 8 MB of records,
// more than 109 allocation-table sectors can map, so the sector list continues in
// sectors of its own.
TEST(WorkbookWriter, YearOfHourlyStepsFromResultTable) {
  constexpr int kNodes = 51, kSteps = 8760;
  TResultTable table(kSteps + 2, kNodes + 1, 2, 1);
  std::vector<TCellCase> cases;
  auto put = [&](int row, int column, std::string text, bool number) {
    table.setCell(row, column, text);
    cases.push_back({row, column, std::move(text), number});
  };
  put(0, 0, "Time", false);
  put(1, 0, "(hour)", false);
  char buffer[64];
  for (int c = 1; c <= kNodes; ++c) {
    std::snprintf(buffer, sizeof buffer, "X = %8.5f", 0.2 * (c - 1));
    put(0, c, buffer, false);
    put(1, c, c == 26 ? "(\xC2\xB0" "C)" : "(m)", false);
  }
  for (int k = 1; k <= kSteps; ++k) {
    std::snprintf(buffer, sizeof buffer, "%4.0f", static_cast<double>(k - 1));
    put(k + 1, 0, buffer, true);
    for (int c = 1; c <= kNodes; ++c) {
      const double value = 10.0 + 8.0 * std::sin(k * 0.000717 + c * 0.1) - 0.37 * c;
      std::snprintf(buffer, sizeof buffer, (k + c) % 97 == 0 ? "%.6e" : "%.3f", value);
      if ((k * 31 + c) % 1009 == 0) std::snprintf(buffer, sizeof buffer, "n/a");
      put(k + 1, c, buffer, buffer[0] != 'n');
    }
  }
  const fs::path folder = FreshFolder("year");
  const auto start = std::chrono::steady_clock::now();
  const TFileWriteResult written = WriteResultTableWorkbook(folder / "year.xls", table);
  const double writeSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_TRUE(written.ok) << written.reason;

  const std::vector<std::uint8_t> file = ReadBytes(folder / "year.xls");
  EXPECT_GT(file.size(), 7'000'000u);
  EXPECT_GT(HeaderField(file, 0x44), 109u) << "allocation-table sectors";
  EXPECT_GE(HeaderField(file, 0x48), 1u) << "sectors continuing their list";

  WriteExpected(folder / "expected.tsv", "Sheet1", kSteps + 2, kNodes + 1, cases);
  const auto readStart = std::chrono::steady_clock::now();
  EXPECT_TRUE(ReadsAsExpected(folder / "year.xls", folder / "expected.tsv"));
  const double readSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - readStart).count();
  RecordProperty("write_seconds", std::to_string(writeSeconds));
  RecordProperty("independent_read_seconds", std::to_string(readSeconds));
  std::printf("[ timing   ] %zu bytes written in %.3f s, checked by the reader in %.3f s\n", file.size(),
              writeSeconds, readSeconds);
  fs::remove_all(folder);
}

TEST(WorkbookWriter, MergedHeaderCellsOfResultTable) {
  TResultTable table(3, 4, 2, 0);
  table.setCell(0, 0, "Upstream");
  table.setCell(0, 2, "Downstream");
  table.setCell(1, 0, "(\xC2\xB0" "C)");
  table.setNumber(2, 3, 1.25);
  table.addMerge({0, 0, 1, 2});
  table.addMerge({0, 2, 1, 5});   // clipped to the table
  table.addMerge({0, 1, 2, 1});   // overlaps the first: left out
  table.addMerge({1, 1, 1, 1});   // a single cell: nothing to merge
  table.addMerge({-3, 9, 2, 2});  // outside
  const fs::path folder = FreshFolder("merged");
  ASSERT_TRUE(WriteResultTableWorkbook(folder / "merged.xls", table).ok);
  WriteExpected(folder / "expected.tsv", "Sheet1", 3, 4,
                {{0, 0, "Upstream", false}, {0, 2, "Downstream", false}, {1, 0, "(\xC2\xB0" "C)", false},
                 {2, 3, "1.250", true}},
                {{0, 0, 1, 2}, {0, 2, 1, 2}});
  EXPECT_TRUE(ReadsAsExpected(folder / "merged.xls", folder / "expected.tsv"));
}

TEST(WorkbookWriter, LimitsOfTheFormat) {
  const std::string one = "1";
  const std::string tooLong(kWorkbookMaxCellText + 1, 'q');
  auto grid = [&](int rows, int columns, const std::string& text) {
    return TCellGrid{rows, columns, [&text](int, int) -> const std::string& { return text; }, {}};
  };
  const TWorkbookBytes tallest = BuildWorkbook(grid(kWorkbookMaxRows, 1, one));
  EXPECT_TRUE(tallest.ok) << tallest.reason;
  const TWorkbookBytes tooTall = BuildWorkbook(grid(kWorkbookMaxRows + 1, 1, one));
  EXPECT_FALSE(tooTall.ok);
  EXPECT_NE(tooTall.reason.find("65537 rows"), std::string::npos) << tooTall.reason;
  EXPECT_NE(tooTall.reason.find("65536"), std::string::npos) << tooTall.reason;
  EXPECT_TRUE(tooTall.bytes.empty());
  const TWorkbookBytes tooWide = BuildWorkbook(grid(1, kWorkbookMaxColumns + 1, one));
  EXPECT_FALSE(tooWide.ok);
  EXPECT_NE(tooWide.reason.find("257 columns"), std::string::npos) << tooWide.reason;
  EXPECT_TRUE(BuildWorkbook(grid(1, kWorkbookMaxColumns, one)).ok);
  const TWorkbookBytes longCell = BuildWorkbook(grid(2, 2, tooLong));
  EXPECT_FALSE(longCell.ok);
  EXPECT_NE(longCell.reason.find("cell A1"), std::string::npos) << longCell.reason;
  EXPECT_FALSE(BuildWorkbook(TCellGrid{2, 2, nullptr, {}}).ok);
  EXPECT_FALSE(BuildWorkbook(TCellGrid{-1, 2, nullptr, {}}).ok);

  // A refused table leaves an existing file alone.
  const fs::path folder = FreshFolder("limits");
  { std::ofstream(folder / "kept.xls") << "previous"; }
  const TFileWriteResult refused = WriteWorkbook(folder / "kept.xls", grid(kWorkbookMaxRows + 1, 1, one));
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(ReadBytes(folder / "kept.xls").size(), 8u);
}

TEST(WorkbookWriter, FailuresAreReportedAndLeaveNoFile) {
  const fs::path folder = FreshFolder("failures");
  const TCaseGrid grid(1, 1, {{0, 0, "x", false}});
  const TFileWriteResult noFolder = WriteWorkbook(folder / "missing" / "book.xls", grid.View());
  EXPECT_FALSE(noFolder.ok);
  EXPECT_FALSE(noFolder.reason.empty());
  EXPECT_FALSE(fs::exists(folder / "missing"));
  const TFileWriteResult onFolder = WriteWorkbook(folder, grid.View());
  EXPECT_FALSE(onFolder.ok);
  EXPECT_FALSE(WriteWorkbook("", grid.View()).ok);

  // Replacing a larger workbook leaves nothing of it behind.
  const TCaseGrid big(200, 50, [] {
    std::vector<TCellCase> cases;
    for (int i = 0; i < 10000; ++i) cases.push_back({i / 50, i % 50, std::to_string(i), true});
    return cases;
  }());
  ASSERT_TRUE(WriteWorkbook(folder / "book.xls", big.View()).ok);
  const auto bigSize = fs::file_size(folder / "book.xls");
  ASSERT_TRUE(WriteWorkbook(folder / "book.xls", grid.View()).ok);
  EXPECT_LT(fs::file_size(folder / "book.xls"), bigSize);
  WriteExpected(folder / "expected.tsv", "Sheet1", 1, 1, grid.Cases());
  EXPECT_TRUE(ReadsAsExpected(folder / "book.xls", folder / "expected.tsv"));

  EXPECT_EQ(ExcelExportFailureMessage("the table has 70000 rows"),
            "Excel OLE server not found\nthe table has 70000 rows");
  EXPECT_EQ(ExcelExportFailureMessage(""), "Excel OLE server not found");
}

TEST(WorkbookWriter, CellNames) {
  EXPECT_EQ(CellName(0, 0), "A1");
  EXPECT_EQ(CellName(9, 25), "Z10");
  EXPECT_EQ(CellName(0, 26), "AA1");
  EXPECT_EQ(CellName(65535, 255), "IV65536");
}
