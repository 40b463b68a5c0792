#include "core/formats/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace kolma {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t CountDigits(std::string_view text, std::size_t& at) {
  const std::size_t start = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at - start;
}

}  // namespace

std::optional<TNumberText> ParseNumberText(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);

  std::size_t at = 0;
  const bool plus = text[at] == '+';
  if (text[at] == '+' || text[at] == '-') ++at;
  const std::size_t integerStart = at;
  const std::size_t integerDigits = CountDigits(text, at);
  const bool point = at < text.size() && text[at] == '.';
  std::size_t fractionDigits = 0;
  if (point) {
    ++at;
    fractionDigits = CountDigits(text, at);
  }
  if (integerDigits + fractionDigits == 0) return std::nullopt;
  bool exponent = false;
  char exponentLetter = 'E';
  bool exponentSign = false;
  std::size_t exponentDigits = 0;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    exponent = true;
    exponentLetter = text[at++];
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
      exponentSign = true;
      ++at;
    }
    exponentDigits = CountDigits(text, at);
    if (exponentDigits == 0) return std::nullopt;
  }
  if (at != text.size()) return std::nullopt;

  // from_chars knows no leading '+', and unlike strtod it ignores the locale.
  const std::string_view digits = plus ? text.substr(1) : text;
  double value = 0.0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) return std::nullopt;
  if (value == 0.0) value = 0.0;  // no negative zero in a spreadsheet

  TNumberText result{value, "General"};
  std::string body;
  const std::string_view integerPart = text.substr(integerStart, integerDigits);
  if (exponent) {
    // Only a normalised mantissa (one digit before the point) has a format that
    // gives back the same digits.
    if (integerDigits != 1) return result;
    body = "0";
  } else if (integerDigits == 0) {
    body = "#";
  } else if (integerDigits > 1 && integerPart.front() == '0') {
    body.assign(integerDigits, '0');  // leading zeros were written on purpose: keep the width
  } else {
    body = "0";
  }
  if (point) body.append(1, '.').append(fractionDigits, '0');
  if (exponent) {
    body += exponentLetter;
    body += exponentSign ? '+' : '-';  // "E-" shows a sign only when negative
    body.append(exponentDigits, '0');
  }
  if (plus) {
    // An explicit plus sign needs a section of its own for negative numbers.
    std::string signedBody(1, '+');
    signedBody.append(body).append(";-").append(body);
    body = std::move(signedBody);
  }
  result.format = std::move(body);
  return result;
}

}  // namespace kolma
