// Every result table names its quantity and unit where a workbook or a save dialog shows it.
#include "core/analysis/quantity_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kolma {
namespace {

// Characters counted as a sheet name counts them (UTF-8 continuation bytes are not characters).
std::size_t Characters(const std::string& text) {
  std::size_t n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

TEST(QuantityNames, SheetAndFileNamesAreValidAndSayTheUnit) {
  struct Case {
    TResultQuantity quantity;
    const char* unit;  // must appear in the sheet name; nullptr: no single unit
  } cases[] = {
      {QuantityOf(TSpreadsheetData::Temperature), "°C"}, {QuantityOf(TSpreadsheetData::Mean), "°C"},
      {QuantityOf(TSpreadsheetData::Linear), "°C"},      {QuantityOf(TSpreadsheetData::Nonlinear), "°C"},
      {QuantityOf(TSpreadsheetData::Stress), "MPa"},     {TResultQuantity::SectionValues, "MPa"},
      {TResultQuantity::InverseFaces, "°C"},             {TResultQuantity::DirectHarmonics, nullptr},
      {TResultQuantity::InverseHarmonics, nullptr},      {TResultQuantity::CurveValues, nullptr},
  };
  std::set<std::string> files, sheets;
  for (const Case& c : cases) {
    const TQuantityNames& names = QuantityNames(c.quantity);
    SCOPED_TRACE(names.sheetName);
    EXPECT_GE(Characters(names.sheetName), 1u);
    EXPECT_LE(Characters(names.sheetName), 31u);
    EXPECT_EQ(names.sheetName.find_first_of("[]:*?/\\'"), std::string::npos);
    if (c.unit) {
      EXPECT_NE(names.sheetName.find(c.unit), std::string::npos);
      EXPECT_NE(names.caption.find(c.unit), std::string::npos);
    }
    EXPECT_FALSE(names.toolTip.empty());
    EXPECT_EQ(names.fileName.find_first_not_of("abcdefghijklmnopqrstuvwxyz-"), std::string::npos);
    files.insert(names.fileName);
    sheets.insert(names.sheetName);
  }
  // Two quantities never share a sheet or file name, so exports of both cannot be taken for each other.
  EXPECT_EQ(files.size(), std::size(cases));
  EXPECT_EQ(sheets.size(), std::size(cases));
  EXPECT_NE(QuantityNames(TResultQuantity::Stress).sheetName.find("Stress"), std::string::npos);
  EXPECT_NE(QuantityNames(TResultQuantity::Temperature).sheetName.find("Temperature"), std::string::npos);
}

}  // namespace
}  // namespace kolma
