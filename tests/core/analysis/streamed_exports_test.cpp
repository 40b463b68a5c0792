// The exports made row by row from the numbers give the very bytes of the table of text cells
// that the windows show (kept here as the reference): for every Data view and precision, as CSV
// and as a workbook; and the number formatting they share gives to_chars's digits.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>

#include "core/analysis/direct_analysis.h"
#include "core/analysis/result_table.h"
#include "core/analysis/spreadsheet_table.h"
#include "core/analysis/thermal_decomposition.h"
#include "core/formats/result_table_workbook.h"
#include "core/model/node_distribution.h"
#include "core/model/project.h"

namespace kolma {
namespace {

// Forty days of 3-hourly faces, 12 divisions, two thermometers: values of both signs around
// every rounding of the three precisions.
const Project& AnalysedProject() {
  static const Project project = [] {
    Project p;
    TSectionProperties& s = p.SectionProperties;
    s.Xu = -2.0;
    s.Xd = 6.0;
    s.NbDivisions = 12;
    s.Ec = 25000;
    s.Poisson = 0.2;
    ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio);
    const int n = 320;
    p.UpstreamHistory = {TVector(n), 3.0};
    p.DownstreamHistory = {TVector(n), 3.0};
    for (int j = 1; j <= n; ++j) {
      const double t = 3.0 * (j - 1);
      p.UpstreamHistory.Values.SetElement(j, 1.5 * std::cos(2 * M_PI * t / 300) + 0.25 * std::sin(t));
      p.DownstreamHistory.Values.SetElement(j, -4.0 + 9.0 * std::cos(2 * M_PI * (t - 5) / 24));
    }
    for (int slot : {2, 5}) {
      p.Thermometer(slot).Position = slot - 1.0;
      p.Thermometer(slot).Values = TVector(4);
      p.Thermometer(slot).TimeStep = 3.0;
    }
    p.ProjectFlags = pfSection | pfUpstream | pfDownstream;
    if (!RunDirectAnalysis(p, {3.0, false}).completed) ADD_FAILURE() << "analysis refused";
    return p;
  }();
  return project;
}

// The table of text cells the windows held before their rows were made as they are read:
// every number formatted into its cell, from the project's own per-node functions.
TResultTable TextCellTable(const Project& project, TSpreadsheetData data, TSpreadsheetPrecision precision) {
  const TSectionProperties& section = project.SectionProperties;
  const int nodes = section.NbDivisions + 1;
  const int steps = project.DirectResults.Temperatures.NrOfRows();
  TResultTable table(steps + 2, nodes + 1, 2, 1);
  table.setFloatFormat(SpreadsheetFloatFormat(precision));
  table.setCell(0, 0, "Time");
  table.setCell(1, 0, "(hour)");
  for (int c = 1; c <= nodes; ++c) {
    table.setCell(0, c, FormatFloat("X = %8.5f", section.Nodes.Element(c)));
    table.setCell(1, c, "(m)");
  }
  const double factor = StressFactor(section).value;
  for (int k = 1; k <= steps; ++k) {
    table.setCell(k + 1, 0, FormatFloat("%4.0f", (k - 1) * project.DirectResults.TimeStep));
    const TTmTd step = ComputeTmTd(project, k);
    for (int c = 1; c <= nodes; ++c) {
      const double values[] = {project.DirectResults.Temperatures.Element(c, k), step.Tm, Tl(project, c, step),
                               Tn(project, c, k, step), Stress(project, c, k, step, factor)};
      table.setNumber(k + 1, c, values[static_cast<int>(data)]);
    }
  }
  return table;
}

std::string StreamedCsv(const TTableRows& rows, std::size_t chunk) {
  std::string text;
  WriteCsv(rows, [&text](std::string_view piece) { text += piece; return true; }, chunk);
  return text;
}

class StreamedExports
    : public ::testing::TestWithParam<std::tuple<TSpreadsheetData, TSpreadsheetPrecision, char>> {};

TEST_P(StreamedExports, GiveTheBytesOfTheTableOfTextCells) {
  const auto [data, precision, separator] = GetParam();
  SetDecimalSeparator(separator);
  const Project& project = AnalysedProject();
  const TResultTable reference = TextCellTable(project, data, precision);
  const TSpreadsheetRows rows(project, data, precision);
  // The window's table, whose cells are made as they are read, holds the same texts.
  EXPECT_EQ(BuildSpreadsheet(project, data, precision).csvText(), reference.csvText());
  // Small pieces too: a row may end anywhere in one.
  EXPECT_EQ(StreamedCsv(rows, 1 << 20), reference.csvText());
  EXPECT_EQ(StreamedCsv(rows, 100), reference.csvText());
  const TWorkbookOptions options{"Stresses [MPa]"};
  const TWorkbookBytes streamed = BuildTableWorkbook(rows, options);
  const TWorkbookBytes cells = BuildWorkbook(ResultTableCells(reference), options);
  ASSERT_TRUE(streamed.ok && cells.ok);
  EXPECT_TRUE(streamed.bytes == cells.bytes);
  SetDecimalSeparator('.');
}

INSTANTIATE_TEST_SUITE_P(
    EveryViewAndPrecision, StreamedExports,
    ::testing::Combine(::testing::Values(TSpreadsheetData::Temperature, TSpreadsheetData::Mean,
                                         TSpreadsheetData::Linear, TSpreadsheetData::Nonlinear,
                                         TSpreadsheetData::Stress),
                       ::testing::Values(TSpreadsheetPrecision::ThreeDigits, TSpreadsheetPrecision::FiveDigits,
                                         TSpreadsheetPrecision::Exponential),
                       ::testing::Values('.', ',')));

TEST(StreamedExports, WriteTheWholeFileOrNone) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kolma-streamed-exports";
  std::filesystem::create_directories(folder);
  const TSpreadsheetRows rows(AnalysedProject(), TSpreadsheetData::Temperature, TSpreadsheetPrecision::ThreeDigits);
  const std::filesystem::path path = folder / "field.csv";
  ASSERT_TRUE(SaveCsv(rows, path).ok);
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str(), BuildSpreadsheet(AnalysedProject(), TSpreadsheetData::Temperature).csvText());

  const std::filesystem::path missing = folder / "no such folder" / "field.csv";
  const TSaveResult failed = SaveCsv(rows, missing);
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.reason.rfind("Cannot Create file " + missing.string() + ": ", 0), 0u) << failed.reason;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);  // no temporary file left
  std::filesystem::remove_all(folder);
}

// The quick road to the digits of fixed formats against to_chars, on random values of every
// size and on values that lie exactly half way between two roundings.
TEST(FloatFormat, FixedDigitsAreThoseOfToChars) {
  std::mt19937_64 rng(17);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-12, 14);
  std::vector<double> values = {0.0, -0.0, 0.5, 1.5, 2.5, 0.125, -0.0625, 1e-300, 2.0005, 0.00049999999999999999,
                                1099511627775.5, 1e15, 123456.78905};
  for (int i = 0; i < 200000; ++i) values.push_back(mantissa(rng) * std::pow(10.0, exponent(rng)));
  for (int i = 0; i < 2000; ++i) values.push_back((static_cast<double>(rng() % 2000000) + 0.5) / 1024.0);
  for (int precision : {0, 3, 5, 8}) {
    const TFloatFormat format = *TFloatFormat::Parse("%." + std::to_string(precision) + "f");
    for (double v : values) {
      char digits[512];
      const auto end = std::to_chars(digits, digits + sizeof digits, std::fabs(v), std::chars_format::fixed, precision).ptr;
      std::string expected = std::signbit(v) ? "-" : "";
      expected.append(digits, end);
      ASSERT_EQ(format.Format(v), expected) << v << " with " << precision << " decimals";
    }
  }
}

}  // namespace
}  // namespace kolma
