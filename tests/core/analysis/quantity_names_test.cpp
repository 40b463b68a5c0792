// Every result table names its quantity and unit where a workbook or a save dialog shows it.
#include "core/analysis/quantity_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kolma {
namespace {

TEST(QuantityNames, SheetAndFileNamesAreValidDistinctAndSayTheUnit) {
  std::set<std::string> files, sheets;
  for (int q = 0; q <= static_cast<int>(TResultQuantity::CurveValues); ++q) {
    const TQuantityNames& names = QuantityNames(static_cast<TResultQuantity>(q));
    SCOPED_TRACE(names.sheetName);
    std::size_t characters = 0;  // as a sheet name counts them: UTF-8 continuation bytes are not
    for (unsigned char c : names.sheetName) characters += (c & 0xC0) != 0x80;
    EXPECT_TRUE(characters >= 1 && characters <= 31);
    EXPECT_EQ(names.sheetName.find_first_of("[]:*?/\\'"), std::string::npos);
    EXPECT_EQ(names.fileName.find_first_not_of("abcdefghijklmnopqrstuvwxyz-"), std::string::npos);
    files.insert(names.fileName);
    sheets.insert(names.sheetName);
  }
  EXPECT_EQ(files.size(), 10u);  // no two exports can be taken for each other
  EXPECT_EQ(sheets.size(), 10u);
  for (TSpreadsheetData data : {TSpreadsheetData::Temperature, TSpreadsheetData::Mean, TSpreadsheetData::Linear,
                                TSpreadsheetData::Nonlinear, TSpreadsheetData::Stress}) {
    const char* unit = data == TSpreadsheetData::Stress ? "MPa" : "°C";
    EXPECT_NE(QuantityNames(QuantityOf(data)).sheetName.find(unit), std::string::npos);
    EXPECT_NE(QuantityNames(QuantityOf(data)).caption.find(unit), std::string::npos);
  }
}

}  // namespace
}  // namespace kolma
