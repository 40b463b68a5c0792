#include "tests/core/analysis/inverse_weather_case.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>

#include "core/model/node_distribution.h"
#include "tests/core/analysis/heat_equation_reference.h"

namespace kolma::testing {
namespace {

constexpr int kHours = 8760;
constexpr double kThickness = 10.0, kDiffusivity = 0.004;
constexpr double kPositions[] = {1.0, 2.5, 6.0, 8.5};
constexpr int kSubSteps = 4;      // slab steps per hour
constexpr int kIntervals = 200;   // 5 cm: every thermometer on a grid point
constexpr double kSpinUp = 2 * 8760.0;
constexpr double kNoise = 0.05;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Normal deviates from the engine's raw output, the same on every standard library.
class Normal {
 public:
  explicit Normal(unsigned seed) : engine_(seed) {}
  double Uniform() { return (static_cast<double>(engine_()) + 0.5) / 4294967296.0; }
  double operator()() { return std::sqrt(-2.0 * std::log(Uniform())) * std::cos(kTwoPi * Uniform()); }

 private:
  std::mt19937 engine_;
};

// A face: mean, annual cycle, a daily cycle whose size follows the season, weather of a
// few days (sinusoids of scattered periods, so that the year does not repeat itself) and
// a random hourly wander (first-order with a time constant of half a day).
struct Face {
  double mean, annual, annualPhase, daily, dailyPhase;
  std::vector<double> periods, amplitudes, phases;
  std::vector<double> wander;  // hourly, from -kSpinUp
  double Value(double t) const {
    double v = mean + annual * std::sin(kTwoPi * t / 8760.0 + annualPhase) +
               daily * (1.0 + 0.5 * std::sin(kTwoPi * t / 8760.0)) * std::sin(kTwoPi * t / 24.0 + dailyPhase);
    for (size_t i = 0; i < periods.size(); ++i) v += amplitudes[i] * std::sin(kTwoPi * t / periods[i] + phases[i]);
    // The wander between its hourly values, linearly.
    const double h = t + kSpinUp;
    const auto j = static_cast<size_t>(std::clamp(std::floor(h), 0.0, static_cast<double>(wander.size() - 2)));
    return v + wander[j] + (h - static_cast<double>(j)) * (wander[j + 1] - wander[j]);
  }
};

Face MakeFace(unsigned seed, double mean, double annual, double daily, double weather, double wanderSize) {
  Normal normal(seed);
  Face f{mean, annual, normal.Uniform() * kTwoPi, daily, normal.Uniform() * kTwoPi, {}, {}, {}, {}};
  for (int i = 0; i < 24; ++i) {
    const double days = 2.0 * std::pow(10.0, normal.Uniform());  // 2 to 20 days
    f.periods.push_back(days * 24.0);
    f.amplitudes.push_back(weather * std::sqrt(days / 10.0) * (0.5 + normal.Uniform()) / std::sqrt(24.0));
    f.phases.push_back(normal.Uniform() * kTwoPi);
  }
  const double keep = std::exp(-1.0 / 12.0);
  double w = 0.0;
  for (double t = -kSpinUp; t <= kHours + 1; t += 1.0) {
    w = keep * w + std::sqrt(1.0 - keep * keep) * wanderSize * normal();
    f.wander.push_back(w);
  }
  return f;
}

double SevenDigits(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6e", v);
  return std::strtod(text, nullptr);
}

WeatherCase Make() {
  const Face up = MakeFace(11, 11.0, 6.0, 0.4, 1.0, 0.3);    // water: slow, little daily swing
  const Face down = MakeFace(23, 9.0, 11.0, 5.0, 4.0, 1.0);  // air: sun and weather
  WeatherCase c;
  Project& p = c.project;
  TSectionProperties& s = p.SectionProperties;
  s.Xu = 0.0;
  s.Xd = kThickness;
  s.Diffusivity = kDiffusivity;
  ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio);
  p.SetMinHarmonics(4379);  // the largest the options dialog offers for a year of hours

  CrankNicolsonSlab slab(0.0, kThickness, kIntervals, kDiffusivity, 1.0 / kSubSteps);
  const double startMean = 0.5 * (up.Value(-kSpinUp) + down.Value(-kSpinUp));
  slab.SetProfile([&](double) { return startMean; });
  RunSlab(slab, -kSpinUp, 1.0 / kSubSteps, static_cast<long>(kSpinUp) * kSubSteps,
          [&](double t) { return up.Value(t); }, [&](double t) { return down.Value(t); }, {});
  std::vector<TVector> records(4, TVector(kHours));
  Normal noise(5);
  auto sample = [&](int j) {
    for (int i = 0; i < 4; ++i)
      records[static_cast<size_t>(i)].SetElement(j, SevenDigits(slab.ValueAt(kPositions[i]) + kNoise * noise()));
    c.upstream.push_back(up.Value(j - 1.0));
    c.downstream.push_back(down.Value(j - 1.0));
  };
  sample(1);
  for (int j = 2; j <= kHours; ++j) {
    RunSlab(slab, j - 2.0, 1.0 / kSubSteps, kSubSteps, [&](double t) { return up.Value(t); },
            [&](double t) { return down.Value(t); }, {});
    sample(j);
  }
  for (int i = 0; i < 4; ++i) {
    TTemperatureInside& t = p.Thermometer(i + 1);
    t.Position = kPositions[i];
    t.TimeStep = 1.0;
    t.Values = records[static_cast<size_t>(i)];
  }
  p.InversePair = {1, 4};
  p.ProjectFlags = pfSection | pfInversePair;
  return c;
}

}  // namespace

const WeatherCase& YearOfWeather() {
  static const WeatherCase c = Make();
  return c;
}

double LowPassRmsError(const TVector& worked, const std::vector<double>& truth, double shortestPeriod) {
  const size_t n = truth.size();
  std::vector<double> d(n);
  for (size_t t = 0; t < n; ++t) d[t] = worked.Element(static_cast<int>(t) + 1) - truth[t];
  // Parseval over the bins kept: rms^2 = (|C0|^2 + 2 sum |Ck|^2) / n^2.
  const auto last = static_cast<size_t>(std::floor(static_cast<double>(n) / shortestPeriod));
  double square = 0.0;
  for (size_t k = 0; k <= last && 2 * k < n; ++k) {
    const std::complex<double> turn = std::polar(1.0, -kTwoPi * static_cast<double>(k) / static_cast<double>(n));
    std::complex<double> phasor = 1.0, sum = 0.0;
    for (size_t t = 0; t < n; ++t, phasor *= turn) sum += d[t] * phasor;
    square += (k == 0 ? 1.0 : 2.0) * std::norm(sum);
  }
  return std::sqrt(square) / static_cast<double>(n);
}

}  // namespace kolma::testing
