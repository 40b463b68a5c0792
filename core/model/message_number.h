#pragma once
// A number as the messages to the user write it: six significant digits, no trailing zeros.
#include <cstdio>
#include <string>

namespace kolma {

inline std::string MessageNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace kolma
