#include "core/analysis/result_table.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <system_error>

using namespace kolma;
namespace fs = std::filesystem;

namespace {

std::string Printf(const char* format, double value) {
  char buffer[1024];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

fs::path FreshFolder(const char* name) {
  const fs::path folder = fs::path(testing::TempDir()) / (std::string("kolma_result_table_") + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

TResultTable SmallTable() {
  TResultTable t(3, 3, 1, 1);
  t.setCell(0, 0, "Time");
  t.setCell(0, 1, "a,b");
  t.setCell(0, 2, "say \"hi\"");
  t.setCell(1, 0, "   0");
  t.setNumber(1, 1, 1.5);
  t.setCell(2, 0, "  24");
  t.setNumber(2, 2, -2.25);
  return t;
}

}  // namespace

TEST(FloatFormat, MatchesPrintfInTheCLocale) {
  const char* formats[] = {"%.3f", "%.5f", "%.6e", "%8.4f", "%10.8f", "%10.9f", "%4.0f", "X = %8.5f",
                           "%-9.2f|", "%+.1f", "% .2f", "%08.2f", "%-08.2f", "%+012.3e", "%E", "%.0e",
                           "%g", "%.3g", "%12G", "%#.0f", "%#.0e", "%f", "%.f", "%lf", "T = %7.3f \xC2\xB0" "C",
                           "%.100f", "%200.3f"};
  std::mt19937 random(5);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-12, 12);
  std::vector<double> values = {0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.125, 1e-5, 1e300, -1e-300, 8760.0, 365.0,
                                -0.0001, 12345.678};
  for (int i = 0; i < 200; ++i) values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
  for (const char* format : formats) {
    const std::optional<TFloatFormat> parsed = TFloatFormat::Parse(format);
    ASSERT_TRUE(parsed) << format;
    for (double v : values) EXPECT_EQ(parsed->Format(v), Printf(format, v)) << format << " " << v;
  }
}

TEST(FloatFormat, NonFiniteValuesAndPercentSigns) {
  EXPECT_EQ(FormatFloat("%8.3f", HUGE_VAL), "     inf");
  EXPECT_EQ(FormatFloat("%08.3f", -HUGE_VAL), "    -inf");  // no zero padding of words
  EXPECT_EQ(FormatFloat("%E", HUGE_VAL), "INF");
  EXPECT_EQ(FormatFloat("%.1f", std::numeric_limits<double>::quiet_NaN()), "nan");
  EXPECT_EQ(FormatFloat("%.1f%% done", 5.0), "5.0% done");
  EXPECT_EQ(FormatFloat("100%% = %.0f", 7.0), "100% = 7");
  EXPECT_EQ(FormatFloat("%4.0f", 48.0), "  48");
  EXPECT_EQ(FormatFloat("%4.0f", 0.5), "   0");  // halves to even, as printf
}

TEST(FloatFormat, RefusesWhatIsNotOneFloatConversion) {
  for (const char* bad : {"", "abc", "%", "%d", "%s", "%x", "%p", "%n", "%.3f %.3f", "%*.3f", "%.*f", "%.3",
                          "%5", "%Lf", "%hf", "%#g", "%201f", "%.101f", "%a", "%%"}) {
    EXPECT_FALSE(TFloatFormat::Parse(bad)) << bad;
  }
  EXPECT_THROW(FormatFloat("%s", 1.0), std::invalid_argument);
}

TEST(FloatFormat, IgnoresTheProcessLocale) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  bool commaLocale = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German_Germany.1252"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) {
      commaLocale = true;
      break;
    }
  }
  if (!commaLocale) GTEST_SKIP() << "no locale with a decimal comma installed";
  TResultTable t(1, 2);
  t.setNumber(0, 0, 1.5);
  t.setCell(0, 1, FormatFloat("%.6e", 12.25));
  const std::string csv = t.csvText();
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(csv, "1.500,1.225000e+01\r\n");
}

TEST(FloatFormat, ThePlatformSeparatorQuotesEveryNumberOfACsv) {
  struct Restore {
    ~Restore() { kolma::SetDecimalSeparator('.'); }
  } restore;
  kolma::SetDecimalSeparator(',');
  TResultTable t(1, 3);
  t.setNumber(0, 0, 1.5);
  t.setCell(0, 1, FormatFloat("X = %8.5f", -2.25));
  t.setCell(0, 2, FormatFloat("%.2e", 12.25));
  EXPECT_EQ(t.csvText(), "\"1,500\",\"X = -2,25000\",\"1,22e+01\"\r\n");
  kolma::SetDecimalSeparator('.');
  t.setNumber(0, 0, 1.5);
  EXPECT_EQ(t.cell(0, 0), "1.500");
}

TEST(ResultTable, CellsSizesAndFormats) {
  TResultTable t(2, 2, 5, 1);
  EXPECT_EQ(t.fixedRows(), 2);  // clamped to the table
  EXPECT_EQ(t.fixedColumns(), 1);
  EXPECT_EQ(t.floatFormat(), "%.3f");
  t.setNumber(1, 1, 2.0 / 3.0);
  EXPECT_EQ(t.cell(1, 1), "0.667");
  EXPECT_FALSE(t.setFloatFormat("%d"));
  EXPECT_EQ(t.floatFormat(), "%.3f");
  EXPECT_TRUE(t.setFloatFormat("%.5f"));
  t.setNumber(0, 1, 2.0 / 3.0);
  EXPECT_EQ(t.cell(0, 1), "0.66667");
  EXPECT_EQ(t.cell(1, 1), "0.667");  // written before the change: keeps its text
  t.setCell(7, 0, "lost");
  t.setNumber(-1, 0, 1.0);
  EXPECT_EQ(t.cell(7, 0), "");
  EXPECT_EQ(t.cell(-1, 0), "");
  t.resize(3, 1);
  EXPECT_EQ(t.rows(), 3);
  EXPECT_EQ(t.columns(), 1);
  EXPECT_EQ(t.cell(1, 0), "");
  EXPECT_EQ(t.cell(0, 1), "");
  t.setCell(2, 0, "x");
  t.resize(3, 2);
  EXPECT_EQ(t.cell(2, 0), "x");
}

TEST(ResultTable, CsvQuotingAndLineEnds) {
  EXPECT_EQ(CsvField(""), "\"\"");
  EXPECT_EQ(CsvField("plain"), "plain");
  EXPECT_EQ(CsvField("  24"), "  24");
  EXPECT_EQ(CsvField("(\xC2\xB0" "C)"), "(\xC2\xB0" "C)");
  EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField("\""), "\"\"\"\"");
  EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(CsvField("two\r\nlines"), "\"two\r\nlines\"");
  EXPECT_EQ(SmallTable().csvText(),
            "Time,\"a,b\",\"say \"\"hi\"\"\"\r\n"
            "   0,1.500,\"\"\r\n"
            "  24,\"\",-2.250\r\n");
  EXPECT_EQ(TResultTable().csvText(), "");
}

TEST(ResultTable, ClipboardText) {
  const TResultTable t = SmallTable();
  EXPECT_EQ(t.clipboardText(),
            "Time\ta,b\tsay \"hi\"\r\n"
            "   0\t1.500\t\r\n"
            "  24\t\t-2.250");
  EXPECT_EQ(t.clipboardText({1, 1, 2, 2}), "1.500\t\r\n\t-2.250");
  EXPECT_EQ(t.clipboardText({2, 2, 1, 1}), "1.500\t\r\n\t-2.250");  // corners in any order
  EXPECT_EQ(t.clipboardText({-5, 2, 0, 9}), "say \"hi\"");           // clamped to the table
  EXPECT_EQ(t.clipboardText({4, 0, 6, 1}), "");
  EXPECT_EQ(TResultTable().clipboardText(), "");
}

TEST(ResultTable, SaveCsvWritesWholeFilesOnly) {
  const fs::path folder = FreshFolder("save");
  const TResultTable t = SmallTable();

  const fs::path target = folder / "table.csv";
  {
    std::ofstream old(target, std::ios::binary);
    old << "an older, longer file that must be replaced entirely\n";
  }
  const TSaveResult saved = t.saveCsv(target);
  EXPECT_TRUE(saved.ok) << saved.reason;
  EXPECT_EQ(ReadFile(target), t.csvText());

  const fs::path missing = folder / "no such folder" / "table.csv";
  const TSaveResult refused = t.saveCsv(missing);
  EXPECT_FALSE(refused.ok);
  // The reason follows the file name, as the other writers give it.
  EXPECT_EQ(refused.reason, "Cannot Create file " + missing.string() + ": cannot create a file beside it: " +
                                std::make_error_code(std::errc::no_such_file_or_directory).message());
  EXPECT_FALSE(fs::exists(missing));

  // A folder in the way: the rename fails and nothing is left behind.
  const fs::path blocked = folder / "blocked.csv";
  fs::create_directories(blocked / "inside");
  const TSaveResult blockedResult = t.saveCsv(blocked);
  EXPECT_FALSE(blockedResult.ok);
  EXPECT_EQ(blockedResult.reason, "Cannot Create file " + blocked.string() + ": cannot replace: " +
                                      std::make_error_code(std::errc::is_a_directory).message());
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));

  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) files += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1);  // table.csv only, no temporary file
  fs::remove_all(folder);
}
