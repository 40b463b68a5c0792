#include "core/analysis/moving_statistics.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace kolma {

const char* AverageCycleLabel(TAverageCycle cycle) {
  switch (cycle) {
    case TAverageCycle::None: return "no curve";
    case TAverageCycle::OneWeek: return "1-week cycle";
    case TAverageCycle::TwoWeeks: return "2-week cycle";
    case TAverageCycle::OneMonth: return "1-month cycle";
    case TAverageCycle::OneYear: return "1-year cycle";
  }
  return "";
}

double AverageCyclePeriod(TAverageCycle cycle) {
  switch (cycle) {
    case TAverageCycle::None: return 0.0;
    case TAverageCycle::OneWeek: return 168.0;
    case TAverageCycle::TwoWeeks: return 336.0;
    case TAverageCycle::OneMonth: return 730.0;
    case TAverageCycle::OneYear: return 8760.0;
  }
  return 0.0;
}

std::optional<int> MovingWindowLength(double periodHours, double timeStep) {
  if (!(timeStep > 0.0) || !(periodHours >= 0.0)) return std::nullopt;
  // The default rounding mode rounds halves to even, as every count of the program does.
  const double w = std::nearbyint(periodHours / timeStep);
  if (!(w < static_cast<double>(std::numeric_limits<int>::max()))) return std::nullopt;
  return static_cast<int>(w);
}

TMovingStatistics MovingStatistics(std::span<const double> series, int windowLength) {
  TMovingStatistics result;
  const std::size_t n = series.size();
  if (n == 0 || windowLength < 0) return result;

  // Prefix sums of the deviations from the first sample: a constant series then gives
  // exact zeros, and the sum of squares loses little to cancellation.
  const double origin = series[0];
  std::vector<double> sum(n + 1, 0.0);
  std::vector<double> squares(n + 1, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    const double d = series[i] - origin;
    sum[i + 1] = sum[i] + d;
    squares[i + 1] = squares[i] + d * d;
  }
  // Sum over r consecutive samples from index a (0-based), wrapping once at the end.
  auto cyclic = [n](const std::vector<double>& prefix, std::size_t a, std::size_t r) {
    if (a + r <= n) return prefix[a + r] - prefix[a];
    return (prefix[n] - prefix[a]) + prefix[a + r - n];
  };

  const std::int64_t m = static_cast<std::int64_t>(windowLength) + 1;
  const std::int64_t half = windowLength / 2;
  const std::int64_t cycles = m / static_cast<std::int64_t>(n);
  const std::size_t rest = static_cast<std::size_t>(m % static_cast<std::int64_t>(n));
  const double count = static_cast<double>(m);
  const std::int64_t length = static_cast<std::int64_t>(n);

  result.Mean.resize(n);
  result.Deviation.resize(n);
  for (std::size_t j = 0; j < n; ++j) {
    const std::int64_t first = ((static_cast<std::int64_t>(j) - half) % length + length) % length;
    const std::size_t a = static_cast<std::size_t>(first);
    const double s = static_cast<double>(cycles) * sum[n] + cyclic(sum, a, rest);
    const double s2 = static_cast<double>(cycles) * squares[n] + cyclic(squares, a, rest);
    result.Mean[j] = origin + s / count;
    double variance = 1.0;
    if (m >= 3) variance = (s2 - s * s / count) / (count - 1.0);
    result.Deviation[j] = variance > 0.0 ? std::sqrt(variance) : 0.0;
  }
  return result;
}

}  // namespace kolma
