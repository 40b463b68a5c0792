#pragma once
// Synthetic hourly temperature histories of a dam face: an annual plus a daily sinusoid
// (open water), or a constant temperature with one half-sine warm season (ice cover).
#include <string>

#include "core/numeric/vector.h"

namespace kolma {

struct GeneratorParameters {
  double period = 8760.0;          // T, hours; the history has T rounded samples
  double warmPeriod = 4000.0;      // T2, hours: length of the warm season (ice cover only)
  double phase = 2000.0;           // d, hours
  double mean = 5.0;               // A0, degrees C
  double annualAmplitude = 15.0;   // A1, degrees C
  double dailyAmplitude = 12.0;    // A2, degrees C (without ice cover only)
  bool iceCover = false;
};

// Longest history the generator makes: the largest the spectrum can take.
inline constexpr int kMaxGeneratedSamples = 1 << 23;

struct GeneratedHistory {
  bool ok = false;
  std::string error;    // why nothing was generated
  TVector values;       // one sample per hour, the first at hour 0 (when ok)
  double timeStep = 1.0;
};

// T rounded to the nearest integer, halves to even; 0 when T is not finite or the count
// would fall outside 1..kMaxGeneratedSamples.
int GeneratedSampleCount(double period);

// Value of sample i (1-based, hour i - 1).
double GeneratedValue(const GeneratorParameters& p, int i);

// The whole history, or ok == false with a reason when T or T2 cannot give one.
GeneratedHistory GenerateHistory(const GeneratorParameters& p);

}  // namespace kolma
