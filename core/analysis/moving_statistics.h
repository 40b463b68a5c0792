#pragma once
// Moving mean and moving standard deviation of a series treated as periodic: the
// average curves of the time-history view and the columns of its values table.
#include <optional>
#include <span>
#include <vector>

namespace kolma {

// The averaging windows the time-history view offers, in the order of its list.
enum class TAverageCycle { None, OneWeek, TwoWeeks, OneMonth, OneYear };

// "no curve", "1-week cycle", "2-week cycle", "1-month cycle", "1-year cycle".
const char* AverageCycleLabel(TAverageCycle cycle);
// 168, 336, 730 or 8760 hours; 0 for None.
double AverageCyclePeriod(TAverageCycle cycle);

// Window length w = P / timeStep rounded to the nearest integer, halves to even; a
// window then holds w + 1 samples. Nothing for a time step that is not positive, or a
// period that is negative or so long that the count overflows.
std::optional<int> MovingWindowLength(double periodHours, double timeStep);

struct TMovingStatistics {
  std::vector<double> Mean;
  std::vector<double> Deviation;
};

// For every sample j (1-based) the window holds the w + 1 samples j - w div 2 .. j - w div 2 + w,
// indices taken cyclically over the series (a window longer than the series wraps round
// more than once). Over the m = w + 1 samples: mean = sum / m; variance =
// (sum of squares - sum^2 / m) / (m - 1) when m >= 3, otherwise 1; deviation = its
// square root (0 when the variance is 0, or below 0 through rounding).
// A negative window length gives empty results.
TMovingStatistics MovingStatistics(std::span<const double> series, int windowLength);

}  // namespace kolma
