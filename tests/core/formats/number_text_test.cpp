#include "core/formats/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kolma;

TEST(NumberText, PlainDecimalNumbersAndTheFormatThatShowsThemAgain) {
  struct TCase {
    const char* text;
    double value;
    const char* format;
  };
  const TCase cases[] = {
      {"0", 0.0, "0"},
      {"   0", 0.0, "0"},
      {"  24 ", 24.0, "0"},
      {"12.345", 12.345, "0.000"},
      {"-0.50000", -0.5, "0.00000"},
      {"+1.5", 1.5, "+0.0;-0.0"},
      {"1.234560e+01", 12.3456, "0.000000e+00"},
      {"-2.5E-003", -0.0025, "0.0E+000"},
      {"1e5", 100000.0, "0e-0"},
      {".5", 0.5, "#.0"},
      {"7.", 7.0, "0."},
      {"007.50", 7.5, "000.00"},
      {"12.5e3", 12500.0, "General"},
      {"-0.000", 0.0, "0.000"},
      {"0.1", 0.1, "0.0"},
      {"1.7976931348623157e308", 1.7976931348623157e308, "0.0000000000000000e-000"},
  };
  for (const TCase& c : cases) {
    const auto parsed = ParseNumberText(c.text);
    ASSERT_TRUE(parsed) << c.text;
    EXPECT_EQ(parsed->value, c.value) << c.text;
    if (c.value == 0.0) {
      EXPECT_FALSE(std::signbit(parsed->value)) << c.text << ": no negative zero";
    }
    EXPECT_EQ(parsed->format, c.format) << c.text;
  }
}

TEST(NumberText, EverythingElseStaysText) {
  for (const char* text : {"", "   ", "1.5 m", "X = 0.5", "1,5", "1 000", "inf", "-inf", "nan", "NaN", "0x10",
                           "1e", "1e+", "e5", "--1", "+-1", ".", "-.", "1.2.3", "1e999", "-1e999", "1e5.5", "\t1",
                           "1\n", "\xC2\xA0" "1", "(1)", "1%", "$1"}) {
    EXPECT_FALSE(ParseNumberText(text)) << '"' << text << '"';
  }
}
