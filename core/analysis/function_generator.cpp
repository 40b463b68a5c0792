#include "core/analysis/function_generator.h"

#include <cfenv>
#include <cmath>
#include <numbers>

namespace kolma {

namespace {

constexpr double kPi = std::numbers::pi;

// Open water: the annual wave crosses A0 upwards at hour d - 1, the daily one is coldest
// at hours 0, 24, 48, ...
double WithoutIce(const GeneratorParameters& p, int i) {
  const double t = i - 1;
  return p.mean + p.annualAmplitude * std::sin(2.0 * kPi * t / p.period - 2.0 * kPi * (p.phase - 1.0) / p.period) +
         p.dailyAmplitude * std::sin(kPi * t / 12.0 - kPi / 2.0);
}

// Ice cover: constant A0 except for one half sine of length T2 that starts near hour d - 1.
// The window is tested on the sample number while the sine runs on the hour, so the
// sample just before the season dips a little below A0; kept as users know it.
double WithIce(const GeneratorParameters& p, int i) {
  const double d = p.phase;
  if (i < d - 1.0 || i > d + p.warmPeriod - 1.0) return p.mean;
  return p.mean + p.annualAmplitude * std::sin(kPi * (i - 1.0) / p.warmPeriod - kPi * (d - 1.0) / p.warmPeriod);
}

}  // namespace

int GeneratedSampleCount(double period) {
  if (!std::isfinite(period) || period < 0.5 || period > kMaxGeneratedSamples + 0.5) return 0;
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double rounded = std::nearbyint(period);  // halves to even
  std::fesetround(saved);
  if (rounded < 1.0 || rounded > kMaxGeneratedSamples) return 0;
  return static_cast<int>(rounded);
}

double GeneratedValue(const GeneratorParameters& p, int i) {
  return p.iceCover ? WithIce(p, i) : WithoutIce(p, i);
}

GeneratedHistory GenerateHistory(const GeneratorParameters& p) {
  GeneratedHistory result;
  const int n = GeneratedSampleCount(p.period);
  if (n == 0) {
    // Beyond this the history could not be transformed, and a period of 1e10 hours
    // would ask for 80 GB before failing anyway.
    result.error = "The period (T) must be from 1 to 8388608 hours";
    return result;
  }
  if (p.iceCover && !(std::isfinite(p.warmPeriod) && p.warmPeriod > 0.0)) {
    result.error = "The period (T2) must be positive";
    return result;
  }
  result.values = TVector(n);
  double* out = result.values.Data();
  for (int i = 1; i <= n; ++i) out[i - 1] = GeneratedValue(p, i);
  result.ok = true;
  return result;
}

}  // namespace kolma
