#pragma once
// A year of hourly weather-like faces on a 10 m section with four thermometers at 1, 2.5,
// 6 and 8.5 m, their records made by the Crank-Nicolson slab (independent of the
// harmonic solutions), kept to seven significant digits as a history file keeps them,
// with 0.05 °C of noise. Everything random comes from fixed seeds.
#include <vector>

#include "core/model/project.h"

namespace kolma::testing {

struct WeatherCase {
  Project project;  // section, four thermometers, pair 1/4, every harmonic
  std::vector<double> upstream, downstream;  // the true faces at the record's hours
};

// Made once per test program: the slab takes a while under the sanitizers.
const WeatherCase& YearOfWeather();

// Rms of (worked - truth) over the record with every period shorter than `shortestPeriod`
// hours taken out of the difference (the record's own Fourier series, up to that period).
double LowPassRmsError(const TVector& worked, const std::vector<double>& truth, double shortestPeriod);

}  // namespace kolma::testing
