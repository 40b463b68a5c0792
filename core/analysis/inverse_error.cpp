#include "core/analysis/inverse_error.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kolma {

namespace {

constexpr int kFewestNeighbours = 8;
constexpr double kEdgePeriods = 8.0;

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Hours below two days, days above.
std::string Period(double hours) {
  if (hours < 48.0) return Format("%.0f hours", hours);
  return Format("%.0f days", hours / 24.0);
}

}  // namespace

int LastRecoveredBin(const std::vector<FaceBin>& bins, int firstLost) {
  const int count = static_cast<int>(bins.size());
  const int limit = std::min(count, std::max(firstLost, 1));
  // Prefix sums of the power and the error, so that every neighbourhood costs two reads.
  std::vector<double> power(static_cast<size_t>(count) + 1, 0.0), error(static_cast<size_t>(count) + 1, 0.0);
  for (int k = 1; k < count; ++k) {
    const FaceBin& b = bins[static_cast<size_t>(k)];
    power[static_cast<size_t>(k) + 1] = power[static_cast<size_t>(k)] + b.power;
    error[static_cast<size_t>(k) + 1] = error[static_cast<size_t>(k)] + b.variance;
  }
  int last = 0;  // the highest bin recovered
  for (int k = 1; k < limit; ++k) {
    const int half = std::max(kFewestNeighbours, k / 4);
    const int from = std::max(1, k - half), to = std::min(count - 1, k + half);
    const double signal = power[static_cast<size_t>(to) + 1] - power[static_cast<size_t>(from)];
    const double noise = error[static_cast<size_t>(to) + 1] - error[static_cast<size_t>(from)];
    if (!(signal >= noise)) break;  // also when the error is infinite
    last = k;
  }
  return last;
}

FaceErrorReport ExpectedFaceError(const std::vector<FaceBin>& bins, int last, double fundamentalPeriod,
                                  double meanError, double edgeTime, double recordDuration) {
  last = std::min(last, static_cast<int>(bins.size()) - 1);
  double square = meanError * meanError, edgePower = 0.0;
  // Periods up to kEdgePeriods edge times are those the padding stands in for.
  const double firstEdgeBin = fundamentalPeriod / (kEdgePeriods * std::max(edgeTime, 1e-9));
  for (int k = 1; k <= last; ++k) {
    const FaceBin& b = bins[static_cast<size_t>(k)];
    square += 0.5 * (b.kept ? b.keptError : b.power);
    if (k >= firstEdgeBin) edgePower += 0.5 * b.power;
  }
  if (recordDuration > 0.0) square += std::min(1.0, 2.0 * edgeTime / recordDuration) * edgePower;
  FaceErrorReport report;
  report.expectedError = std::sqrt(square);
  report.shortestPeriod = fundamentalPeriod / std::max(last, 1);
  return report;
}

std::string FaceErrorLine(const std::string& face, const FaceErrorReport& report) {
  return face + ": expected error " + Format("%.2f", report.expectedError) + " \u00b0C rms; periods shorter than " +
         Format("%.0f", report.shortestPeriod) + " h not recovered";
}

std::string PhysicsLimitWarning(const std::string& face, double depth, const FaceErrorReport& report) {
  return "The " + face + " face lies " + Format("%.1f", depth) + " m beyond both thermometers of the pair: expected error " +
         Format("%.1f", report.expectedError) + " \u00b0C rms; periods below " + Period(report.shortestPeriod) +
         " are not recovered there";
}

}  // namespace kolma
