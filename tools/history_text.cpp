#include "tools/history_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kolma::batch {

std::string FormatHistoryNumber(double value) {
  if (value == 0.0 || !std::isfinite(value)) return "0E+0";
  char text[32];
  std::snprintf(text, sizeof text, "%.6E", value);  // rounds to seven significant digits
  const std::string s = text;
  const size_t e = s.find('E');
  std::string mantissa = s.substr(0, e);
  if (mantissa.find('.') != std::string::npos) {
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  const int exponent = std::atoi(s.c_str() + e + 1);
  return mantissa + (exponent < 0 ? "E-" : "E+") + std::to_string(std::abs(exponent));
}

std::string FormatHistoryText(const TVector& values, double timeStep) {
  std::string text = std::to_string(values.NrOfElem()) + "\r\n" + FormatHistoryNumber(timeStep) + "\r\n";
  for (int i = 1; i <= values.NrOfElem(); ++i) text += FormatHistoryNumber(values.Element(i)) + "\r\n";
  return text;
}

}  // namespace kolma::batch
