#include "core/analysis/frequency_filters.h"

#include <cmath>
#include <initializer_list>

namespace kolma {

namespace {

// Adjacent bins of a 2^23-point buffer differ by more than 1e-7 in period, so this
// tolerance only absorbs the rounding of unit conversions and axis read-outs.
constexpr double kLimitTolerance = 1e-9;

bool AtOrAbove(double value, double limit) {
  return value >= limit - kLimitTolerance * std::fabs(limit);
}

bool AtOrBelow(double value, double limit) {
  return value <= limit + kLimitTolerance * std::fabs(limit);
}

// Copies the real parts of the buffer into history, resized to the buffer's size.
void CopyRealParts(const TFastFourier& buffer, TVector& history) {
  const int n = buffer.SpectrumSize();
  history.SetNrOfElem(n);
  double* out = history.Data();
  const auto* points = buffer.Points();
  for (int j = 0; j < n; ++j) out[j] = points[j].real();
}

}  // namespace

double HoursPerTimeUnit(int unitIndex) {
  switch (unitIndex) {
    case 1: return 24.0;
    case 2: return 730.0;
    default: return 1.0;
  }
}

PeriodFilter LowPassFilter(double period, double hoursPerUnit) {
  return {PeriodFilterKind::LowPass, period, 0.0, hoursPerUnit};
}

PeriodFilter HighPassFilter(double period, double hoursPerUnit) {
  return {PeriodFilterKind::HighPass, period, 0.0, hoursPerUnit};
}

PeriodFilter BandFilter(double lowerPeriod, double upperPeriod, double hoursPerUnit) {
  return {PeriodFilterKind::Band, lowerPeriod, upperPeriod, hoursPerUnit};
}

bool RemovesPeriod(const PeriodFilter& filter, double periodHours) {
  const double limit = filter.hoursPerUnit * filter.period;
  switch (filter.kind) {
    case PeriodFilterKind::LowPass:
      return AtOrAbove(periodHours, limit);
    case PeriodFilterKind::HighPass:
      return AtOrBelow(periodHours, limit);
    case PeriodFilterKind::Band:
      return AtOrAbove(periodHours, limit) &&
             AtOrBelow(periodHours, filter.hoursPerUnit * filter.upperPeriod);
  }
  return false;
}

int ZeroFilteredBins(TFastFourier& spectrum, const PeriodFilter& filter, double dt) {
  const int n = spectrum.SpectrumSize();
  const double duration = static_cast<double>(n) * dt;  // period of harmonic 1
  int removed = 0;
  for (int i = 1; i <= n / 2; ++i) {
    if (!RemovesPeriod(filter, duration / i)) continue;
    for (int point : {i + 1, n - i + 1}) {
      spectrum.SetRealPart(point, 0.0);
      spectrum.SetImagPart(point, 0.0);
    }
    ++removed;
  }
  return removed;
}

int ApplyPeriodFilter(TFastFourier& spectrum, const PeriodFilter& filter, double dt, TVector& history) {
  const int removed = ZeroFilteredBins(spectrum, filter, dt);
  spectrum.InverseTransform();
  CopyRealParts(spectrum, history);
  return removed;
}

int FilterHistory(TVector& history, double dt, const PeriodFilter& filter) {
  TFastFourier spectrum;
  spectrum.SetSpectrumSize(history.NrOfElem());  // throws before anything changes
  const double* in = history.Data();
  for (int j = 1; j <= history.NrOfElem(); ++j) spectrum.SetRealPart(j, in[j - 1]);
  spectrum.Transform();
  return ApplyPeriodFilter(spectrum, filter, dt, history);
}

void RestoreOriginalHistory(TFastFourier& original, TVector& history) {
  original.InverseTransform();
  CopyRealParts(original, history);
  original.Transform();
}

}  // namespace kolma
