#include "tools/example_projects.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <sstream>

#include "core/model/project.h"
#include "core/model/project_codec.h"
#include "core/analysis/time_history_file.h"

namespace kolma::batch {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kHoursPerDay = 24.0;
constexpr double kHoursPerYear = 8760.0;

// A history as its text file holds it: the project takes the samples back from
// the text, so that loading the text file gives exactly the project's values.
struct History {
  TVector values;
  double timeStep;
  std::string text;
};

History MakeHistory(int count, double timeStep, const std::function<double(double)>& temperatureAt) {
  TVector raw(count);
  for (int k = 1; k <= count; ++k) raw.SetElement(k, temperatureAt((k - 1) * timeStep));
  std::ostringstream text;
  WriteTimeHistory(text, raw, timeStep);
  History h{TVector(count), timeStep, std::move(text).str()};
  for (int k = 1; k <= count; ++k) {
    const double stored = std::strtod(FormatSevenDigits(raw.Element(k)).c_str(), nullptr);
    h.values.SetElement(k, stored);
  }
  return h;
}

// Cosine with its maximum at peakHour (hours from the start of the year or day).
double Wave(double amplitude, double period, double peakHour, double t) {
  return amplitude * std::cos(2 * kPi * (t - peakHour) / period);
}

// Passing weather systems over the downstream face: a few incommensurate periods.
double Weather(double t) {
  return 2.5 * std::sin(2 * kPi * t / (5.3 * kHoursPerDay) + 0.7) +
         1.5 * std::sin(2 * kPi * t / (9.7 * kHoursPerDay) + 2.1) +
         1.0 * std::sin(2 * kPi * t / (17.1 * kHoursPerDay) + 4.0);
}

// Reservoir water at depth: mild annual cycle peaking in late August, faint daily cycle.
double WaterTemperature(double t) {
  return 8.0 + Wave(4.0, kHoursPerYear, 240 * kHoursPerDay, t) + Wave(0.3, kHoursPerDay, 17.0, t);
}

// Air: cold winters, warm summers peaking mid-July, warmest mid-afternoon.
double AirTemperature(double t) {
  return 5.0 + Wave(14.0, kHoursPerYear, 200 * kHoursPerDay, t) + Wave(4.0, kHoursPerDay, 15.0, t) + Weather(t);
}

void AppendText(std::vector<ExampleFile>& files, std::string name, const std::string& text) {
  files.push_back({std::move(name), std::vector<std::uint8_t>(text.begin(), text.end())});
}

void AnnualDailyExample(std::vector<ExampleFile>& files) {
  const History upstream = MakeHistory(8760, 1.0, WaterTemperature);
  const History downstream = MakeHistory(8760, 1.0, AirTemperature);

  Project p;
  p.SectionProperties.Xu = 0.0;
  p.SectionProperties.Xd = 10.0;
  p.SectionProperties.NbDivisions = 10;
  p.SectionProperties.Ratio = 3.0;
  p.SectionProperties.T0 = 5.0;
  p.SectionProperties.Diffusivity = 0.004;
  p.SectionProperties.Ec = 25000.0;
  p.SectionProperties.Poisson = 0.2;
  p.SectionProperties.Alpha = 0.00001;
  p.SectionProperties.PlaneStrain = 1;
  p.UpstreamHistory.Values = upstream.values;
  p.UpstreamHistory.TimeStep = upstream.timeStep;
  p.DownstreamHistory.Values = downstream.values;
  p.DownstreamHistory.TimeStep = downstream.timeStep;
  p.ProjectFlags = pfSection | pfUpstream | pfDownstream;

  files.push_back({"annual-daily-10m.kol", EncodeProject(p)});
  AppendText(files, "annual-daily-10m-upstream.txt", upstream.text);
  AppendText(files, "annual-daily-10m-downstream.txt", downstream.text);
}

// Daily means inside a 12 m section: each face's annual and weather cycles damp
// and lag with depth as in a semi-infinite wall, k = sqrt(pi / (alpha period)),
// over a straight mean profile from the water's 8 °C to the air's 5 °C.
double InsideTemperature(double x, double xu, double xd, double alpha, double t) {
  auto damped = [alpha, t](double amplitude, double period, double peakHour, double depth) {
    const double k = std::sqrt(kPi / (alpha * period));
    const double lag = k * depth * period / (2 * kPi);
    return std::exp(-k * depth) * Wave(amplitude, period, peakHour + lag, t);
  };
  const double fromUpstream = x - xu;
  const double fromDownstream = xd - x;
  const double mean = 8.0 + (5.0 - 8.0) * fromUpstream / (xd - xu);
  return mean + damped(4.0, kHoursPerYear, 240 * kHoursPerDay, fromUpstream) +
         damped(14.0, kHoursPerYear, 200 * kHoursPerDay, fromDownstream) +
         damped(2.5, 5.3 * kHoursPerDay, 0.0, fromDownstream) + damped(1.5, 9.7 * kHoursPerDay, 0.0, fromDownstream);
}

void FourThermometersExample(std::vector<ExampleFile>& files) {
  Project p;
  TSectionProperties& s = p.SectionProperties;
  s.Xu = 0.0;
  s.Xd = 12.0;
  s.NbDivisions = 12;
  s.Ratio = 4.0;
  s.T0 = 6.0;
  s.Diffusivity = 0.0035;
  s.Ec = 22000.0;
  s.Poisson = 0.2;
  s.Alpha = 0.00001;
  s.PlaneStrain = 0;

  const double positions[] = {0.6, 3.0, 7.5, 11.2};
  for (int slot = 1; slot <= 4; ++slot) {
    const double x = positions[slot - 1];
    const std::string name = std::string("T") + char('0' + slot);
    // Daily means: one sample per day, taken at noon.
    const History h = MakeHistory(365, kHoursPerDay, [&](double t) {
      return InsideTemperature(x, s.Xu, s.Xd, s.Diffusivity, t + 12.0);
    });
    TTemperatureInside& thermometer = p.Thermometer(slot);
    thermometer.Position = x;
    thermometer.Values = h.values;
    thermometer.TimeStep = h.timeStep;
    thermometer.Title.SetText(name);
    AppendText(files, "four-thermometers-" + name + ".txt", h.text);
  }
  // The empty slots look as the thermometers dialog leaves them.
  for (int slot = 5; slot <= kThermometerSlots; ++slot) p.Thermometer(slot).Position = s.Xu;

  p.InversePair = {1, 4};
  p.AnalysisOptions.AveragingCorrection = 1;
  p.ProjectFlags = pfSection | pfInversePair;
  files.push_back({"four-thermometers.kol", EncodeProject(p)});
}

}  // namespace

std::vector<ExampleFile> BuildExampleFiles() {
  std::vector<ExampleFile> files;
  AnnualDailyExample(files);
  FourThermometersExample(files);
  return files;
}

}  // namespace kolma::batch
