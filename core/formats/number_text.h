#pragma once
// Which cell texts a workbook stores as numbers, and with which number format, so that
// the spreadsheet shows the number as the table showed it ("1.500" stays "1.500",
// "2.500000e+01" stays in exponent form) while the value stays usable in formulas.
#include <optional>
#include <string>
#include <string_view>

namespace kolma {

struct TNumberText {
  double value = 0.0;
  // Spreadsheet number format code: "0.000", "0.000000e+00", "+0.0;-0.0", "00.50"-like
  // widths for leading zeros, or "General" where no code reproduces the text.
  std::string format;
};

// A text that is, apart from blanks around it, one plain decimal number: an optional
// sign, digits with at most one decimal point (at least one digit), and an optional
// exponent "e"/"E" with optional sign and digits. Nothing else: no thousands
// separators, no decimal comma, no units, no "inf" or "nan", no hexadecimal.
// Numbers beyond the range of a double stay text. A negative zero ("-0.000") gives
// the value 0, which the spreadsheet shows without its sign.
std::optional<TNumberText> ParseNumberText(std::string_view text);

}  // namespace kolma
