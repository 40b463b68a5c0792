#pragma once
// Removing harmonics from a temperature history by period, in the frequency domain, and
// bringing the unfiltered history back from its kept spectrum.
//
// A dialog passes the values of its controls: the entered period(s) in the unit chosen on
// the editor's time axis, and that unit's length in hours.
#include "core/numeric/fast_fourier.h"
#include "core/numeric/vector.h"

namespace kolma {

// Hours per unit of the time axis list: 0 "hour" 1, 1 "day" 24, 2 "month" 730; 1 otherwise.
double HoursPerTimeUnit(int unitIndex);

enum class PeriodFilterKind {
  LowPass,   // removes every period at or above the limit (keeps the short periods)
  HighPass,  // removes every period at or below the limit
  Band,      // removes every period from the lower to the upper limit
};

struct PeriodFilter {
  PeriodFilterKind kind = PeriodFilterKind::LowPass;
  double period = 0.0;        // the limit of a low or high pass; the lower limit of a band
  double upperPeriod = 0.0;   // the upper limit of a band
  double hoursPerUnit = 1.0;  // the limits are in this unit
};

PeriodFilter LowPassFilter(double period, double hoursPerUnit = 1.0);
PeriodFilter HighPassFilter(double period, double hoursPerUnit = 1.0);
PeriodFilter BandFilter(double lowerPeriod, double upperPeriod, double hoursPerUnit = 1.0);

// True when a harmonic of this period (hours) is removed. A period at a limit is removed;
// "at" allows a relative 1e-9 so that a limit read back from a chart axis in days or
// months still names the bin it was taken from (neighbouring bins differ far more).
bool RemovesPeriod(const PeriodFilter& filter, double periodHours);

// Zeroes, in a transformed buffer of N points whose samples were dt hours apart, both
// points of every harmonic i = 1..N div 2 that the filter removes (bins i and N-i).
// The mean is never touched. Returns the number of harmonics removed.
int ZeroFilteredBins(TFastFourier& spectrum, const PeriodFilter& filter, double dt);

// ZeroFilteredBins, then the inverse transform; history becomes the N real parts.
int ApplyPeriodFilter(TFastFourier& spectrum, const PeriodFilter& filter, double dt, TVector& history);

// The whole filter on a history alone: transform, zero, transform back. The history's
// length must be a power of two (else EFourierError, history unchanged).
int FilterHistory(TVector& history, double dt, const PeriodFilter& filter);

// history := the inverse transform of the kept original spectrum (N samples); the buffer
// is then transformed forward again so that it holds the spectrum for the next restore.
void RestoreOriginalHistory(TFastFourier& original, TVector& history);

}  // namespace kolma
