#include "core/analysis/spreadsheet_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/project.h"

using namespace kolma;

namespace {

// Three nodes at xu + {0, 1, 4}, three daily steps. Step 2 (0, 3, 6) is piecewise linear
// with a kink at the middle node: Tm = 3.75, Td = 5.25, so Tl = (-2.625, -1.3125, 2.625)
// and Tn = (-1.125, 0.5625, -0.375).
Project SmallProject(double xu = 0.0) {
  Project p;
  p.SectionProperties.Xu = xu;
  p.SectionProperties.Xd = xu + 4.0;
  p.SectionProperties.NbDivisions = 2;
  p.SectionProperties.T0 = 1.0;
  p.SectionProperties.Nodes.Resize(3);
  const double x[] = {0.0, 1.0, 4.0};
  for (int i = 1; i <= 3; ++i) p.SectionProperties.Nodes.SetElement(i, xu + x[i - 1]);
  const double t[3][3] = {{1, 1, 1}, {0, 3, 6}, {6, 6, 6}};
  p.DirectResults.Temperatures.Resize(3, 3);
  for (int k = 1; k <= 3; ++k) {
    for (int i = 1; i <= 3; ++i) p.DirectResults.Temperatures.SetElement(i, k, t[k - 1][i - 1]);
  }
  p.DirectResults.TimeStep = 24.0;
  return p;
}

std::vector<std::string> Row(const TResultTable& t, int row) {
  std::vector<std::string> cells;
  for (int c = 0; c < t.columns(); ++c) cells.push_back(t.cell(row, c));
  return cells;
}

using Cells = std::vector<std::string>;

}  // namespace

TEST(Spreadsheet, LayoutHeadersAndTimeColumn) {
  const Project p = SmallProject();
  const TResultTable t = BuildSpreadsheet(p, TSpreadsheetData::Temperature);
  EXPECT_EQ(t.rows(), 5);
  EXPECT_EQ(t.columns(), 4);
  EXPECT_EQ(t.fixedRows(), 2);
  EXPECT_EQ(t.fixedColumns(), 1);
  EXPECT_EQ(Row(t, 0), (Cells{"Time", "X =  0.00000", "X =  1.00000", "X =  4.00000"}));
  EXPECT_EQ(Row(t, 1), (Cells{"(hour)", "(m)", "(m)", "(m)"}));
  EXPECT_EQ(Row(t, 2), (Cells{"   0", "1.000", "1.000", "1.000"}));
  EXPECT_EQ(Row(t, 3), (Cells{"  24", "0.000", "3.000", "6.000"}));
  EXPECT_EQ(Row(t, 4), (Cells{"  48", "6.000", "6.000", "6.000"}));
  // The CSV export: K + 2 lines, the node header cells as they read.
  EXPECT_EQ(t.csvText(),
            "Time,X =  0.00000,X =  1.00000,X =  4.00000\r\n"
            "(hour),(m),(m),(m)\r\n"
            "   0,1.000,1.000,1.000\r\n"
            "  24,0.000,3.000,6.000\r\n"
            "  48,6.000,6.000,6.000\r\n");
}

TEST(Spreadsheet, DerivedViews) {
  const Project p = SmallProject();
  EXPECT_EQ(Row(BuildSpreadsheet(p, TSpreadsheetData::Mean), 3), (Cells{"  24", "3.750", "3.750", "3.750"}));
  EXPECT_EQ(Row(BuildSpreadsheet(p, TSpreadsheetData::Linear, TSpreadsheetPrecision::FiveDigits), 3),
            (Cells{"  24", "-2.62500", "-1.31250", "2.62500"}));
  EXPECT_EQ(Row(BuildSpreadsheet(p, TSpreadsheetData::Nonlinear, TSpreadsheetPrecision::FiveDigits), 3),
            (Cells{"  24", "-1.12500", "0.56250", "-0.37500"}));
  // Plane stress, S = 20000 x 1e-5 = 0.2; stress = S (Tn - T0) with T0 = 1.
  EXPECT_EQ(Row(BuildSpreadsheet(p, TSpreadsheetData::Stress, TSpreadsheetPrecision::FiveDigits), 3),
            (Cells{"  24", "-0.42500", "-0.08750", "-0.27500"}));
  // A uniform step has no linear or nonlinear part.
  EXPECT_EQ(Row(BuildSpreadsheet(p, TSpreadsheetData::Nonlinear), 4), (Cells{"  48", "0.000", "0.000", "0.000"}));
  EXPECT_EQ(Row(BuildSpreadsheet(p, TSpreadsheetData::Stress), 4), (Cells{"  48", "-0.200", "-0.200", "-0.200"}));

  // Moving the whole section along x changes the node headers only.
  const Project shifted = SmallProject(25.0);
  for (TSpreadsheetData data : {TSpreadsheetData::Mean, TSpreadsheetData::Linear, TSpreadsheetData::Nonlinear,
                                TSpreadsheetData::Stress}) {
    // Five digits: the exact halves at three digits would round either way after the shift.
    const TSpreadsheetPrecision five = TSpreadsheetPrecision::FiveDigits;
    const TResultTable a = BuildSpreadsheet(p, data, five), b = BuildSpreadsheet(shifted, data, five);
    for (int row = 1; row < a.rows(); ++row) EXPECT_EQ(Row(a, row), Row(b, row)) << SpreadsheetDataLabel(data);
  }
  EXPECT_EQ(BuildSpreadsheet(shifted, TSpreadsheetData::Mean).cell(0, 3), "X = 29.00000");
}

TEST(Spreadsheet, EachPrecisionFormatsTheViewShown) {
  const Project p = SmallProject();
  EXPECT_EQ(BuildSpreadsheet(p, TSpreadsheetData::Stress).cell(3, 1), "-0.425");
  EXPECT_EQ(Row(BuildSpreadsheet(p, TSpreadsheetData::Stress, TSpreadsheetPrecision::FiveDigits), 3),
            (Cells{"  24", "-0.42500", "-0.08750", "-0.27500"}));
  const TResultTable exponential = BuildSpreadsheet(p, TSpreadsheetData::Stress, TSpreadsheetPrecision::Exponential);
  EXPECT_EQ(Row(exponential, 3), (Cells{"  24", "-4.250000e-01", "-8.750000e-02", "-2.750000e-01"}));
  EXPECT_EQ(exponential.cell(0, 1), "X =  0.00000");
  EXPECT_EQ(BuildSpreadsheet(p, TSpreadsheetData::Temperature, TSpreadsheetPrecision::Exponential).cell(3, 2),
            "3.000000e+00");
}

TEST(Spreadsheet, IncompressiblePlaneStrainShowsTheReason) {
  Project p = SmallProject();
  p.SectionProperties.PlaneStrain = 1;
  p.SectionProperties.Poisson = 0.5;
  const TResultTable stress = BuildSpreadsheet(p, TSpreadsheetData::Stress);
  const std::string reason = "Plane strain with Poisson's ratio 0.5 has no finite thermal stress";
  for (int row = 2; row < stress.rows(); ++row) {
    for (int c = 1; c < stress.columns(); ++c) EXPECT_EQ(stress.cell(row, c), reason);
  }
  EXPECT_EQ(stress.cell(3, 0), "  24");
  EXPECT_EQ(BuildSpreadsheet(p, TSpreadsheetData::Nonlinear).cell(3, 2), "0.562");  // other views unaffected
}

TEST(Spreadsheet, LabelsAndWords) {
  EXPECT_STREQ(SpreadsheetCaption(TSpreadsheetData::Temperature), "SpreadSheet - Temperature Field");
  EXPECT_STREQ(SpreadsheetCaption(TSpreadsheetData::Nonlinear), "SpreadSheet - Nonlinear Temperatures");
  EXPECT_STREQ(SpreadsheetDataLabel(TSpreadsheetData::Nonlinear), "Nonlinear Temperatures");
  EXPECT_STREQ(SpreadsheetFloatFormat(TSpreadsheetPrecision::Exponential), "%.6e");
  EXPECT_EQ(ParseSpreadsheetData("stress"), TSpreadsheetData::Stress);
  EXPECT_EQ(ParseSpreadsheetData("mean"), TSpreadsheetData::Mean);
  EXPECT_FALSE(ParseSpreadsheetData("Stress"));
  EXPECT_EQ(ParseSpreadsheetPrecision("e"), TSpreadsheetPrecision::Exponential);
  EXPECT_EQ(ParseSpreadsheetPrecision("5"), TSpreadsheetPrecision::FiveDigits);
  EXPECT_FALSE(ParseSpreadsheetPrecision("4"));
}

TEST(InverseFacesTable, OneRowPerSample) {
  Project p;
  p.InverseResults.TimeStep = 12.0;
  p.InverseResults.UpstreamTemperatures.Resize(3);
  p.InverseResults.DownstreamTemperatures.Resize(2);
  for (int t = 1; t <= 3; ++t) p.InverseResults.UpstreamTemperatures.SetElement(t, 10.0 + t);
  for (int t = 1; t <= 2; ++t) p.InverseResults.DownstreamTemperatures.SetElement(t, -0.5 * t);
  p.DirectResults.TimeStep = 99.0;  // a later direct analysis may have another step

  const TResultTable t = InverseFacesTable(p);
  EXPECT_EQ(t.rows(), 5);
  EXPECT_EQ(t.columns(), 3);
  EXPECT_EQ(t.fixedRows(), 2);
  EXPECT_EQ(t.fixedColumns(), 1);
  EXPECT_EQ(Row(t, 0), (Cells{"Time", "Upstream face", "Downstream face"}));
  EXPECT_EQ(Row(t, 1), (Cells{"(hour)", "(\xC2\xB0" "C)", "(\xC2\xB0" "C)"}));
  EXPECT_EQ(Row(t, 2), (Cells{"   0", "11.000", "-0.500"}));
  EXPECT_EQ(Row(t, 3), (Cells{"  12", "12.000", "-1.000"}));
  EXPECT_EQ(Row(t, 4), (Cells{"  24", "13.000", ""}));
  EXPECT_EQ(InverseFacesTable(p, TSpreadsheetPrecision::FiveDigits).cell(2, 2), "-0.50000");
}
