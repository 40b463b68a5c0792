#include "core/analysis/record_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/analysis/input_checks.h"

namespace kolma {

namespace {

// A fault must stand this many robust standard deviations out of the record's own
// variability (one in 10^15 for normal noise, so a year of hours never trips it), and in
// any case more than kSmallestFault: no thermometer is read to better than that.
constexpr double kDeviations = 8.0;
constexpr double kSmallestFault = 0.1;  // °C
// The median absolute deviation of a normal variable is 0.6745 standard deviations.
constexpr double kMadToDeviation = 1.4826;

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

}  // namespace

std::vector<RecordFault> FindRecordFaults(const TVector& values) {
  std::vector<RecordFault> faults;
  const int n = values.NrOfElem();
  if (n < 6) return faults;
  const double* x = values.Data();  // x[0] is sample 1
  // Each step, less the mean of the steps either side: a smooth record (any cycle of many
  // samples) leaves little of it, a jump leaves its whole size on one step, and a spike
  // one and a half times its size on two steps of opposite sign.
  std::vector<double> step(static_cast<size_t>(n - 1));
  for (int j = 0; j + 1 < n; ++j) step[static_cast<size_t>(j)] = x[j + 1] - x[j];
  std::vector<double> excess(step.size(), 0.0);
  for (size_t j = 1; j + 1 < step.size(); ++j) excess[j] = step[j] - 0.5 * (step[j - 1] + step[j + 1]);
  std::vector<double> magnitude;
  magnitude.reserve(excess.size());
  for (size_t j = 1; j + 1 < excess.size(); ++j) magnitude.push_back(std::fabs(excess[j]));
  const double threshold = std::max(kSmallestFault, kDeviations * kMadToDeviation * Median(magnitude));
  for (size_t j = 1; j + 1 < step.size() && static_cast<int>(faults.size()) < kMostFaultsPerRecord; ++j) {
    // A spike: two steps far out, of opposite sign and the same size (a jump leaves half
    // its size, of opposite sign, on the step after it).
    const double here = std::fabs(excess[j]);
    if (!(here > threshold)) continue;
    if (std::fabs(excess[j + 1]) > threshold && std::fabs(excess[j] + excess[j + 1]) < 0.3 * here) {
      faults.push_back({RecordFaultKind::kSpike, static_cast<int>(j) + 2, (excess[j] - excess[j + 1]) / 3.0});
      j += 2;  // the spike's own second step and its echo
      continue;
    }
    // A jump also leaves half its size on the steps either side: only the peak counts.
    if (here < std::fabs(excess[j - 1]) || here < std::fabs(excess[j + 1])) continue;
    // Step j goes from sample j + 1 to sample j + 2 (1-based).
    // Its size against the step the neighbours give by cubic interpolation, which follows a
    // daily cycle more closely than their mean.
    double size = excess[j];
    if (j >= 2 && j + 2 < step.size())
      size = step[j] - (4.0 * (step[j - 1] + step[j + 1]) - step[j - 2] - step[j + 2]) / 6.0;
    faults.push_back({RecordFaultKind::kJump, static_cast<int>(j) + 2, size});
    j += 1;  // the echo of the jump on the next step
  }
  return faults;
}

std::vector<std::string> InverseRecordFaults(const Project& project, TInverseMethod method) {
  std::vector<std::string> texts;
  std::vector<int> slots{project.InversePair.First, project.InversePair.Second};
  if (method == kInverseLeastSquaresMethod || project.AnalysisOptions.AveragingCorrection != 0)
    for (int slot = 1; slot <= kThermometerSlots; ++slot)
      if (slot != slots[0] && slot != slots[1]) slots.push_back(slot);
  std::sort(slots.begin(), slots.end());
  for (int slot : slots) {
    if (slot < 1 || slot > kThermometerSlots) continue;
    const TTemperatureInside& t = project.Thermometer(slot);
    if (!IsThermometerOccupied(t) || CheckSamples("", t.Values)) continue;
    for (const RecordFault& fault : FindRecordFaults(t.Values)) {
      char text[160];
      const double hour = (fault.sample - 1) * t.TimeStep;
      if (fault.kind == RecordFaultKind::kJump)
        std::snprintf(text, sizeof text, " jumps by %.1f \u00b0C at hour %.0f", fault.size, hour);
      else
        std::snprintf(text, sizeof text, " has a spike of %.1f \u00b0C at hour %.0f", fault.size, hour);
      texts.push_back(ThermometerName(project, slot) + text);
    }
  }
  return texts;
}

}  // namespace kolma
