#pragma once
// Time-history text: the count, the time step, then one sample per line, CR LF
// line ends, numbers in scientific notation with at most seven significant digits.
#include <string>

#include "core/numeric/vector.h"

namespace kolma::batch {

// 24 -> "2.4E+1", 0.001 -> "1E-3", -3.5 -> "-3.5E+0", 0 -> "0E+0".
std::string FormatHistoryNumber(double value);

std::string FormatHistoryText(const TVector& values, double timeStep);

}  // namespace kolma::batch
