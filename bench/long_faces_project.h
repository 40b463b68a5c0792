#pragma once
// The long records the speed checks run on: a 10 m section (diffusivity 0.004 m²/h,
// automatic padding), hourly faces of annual and daily cycles with noise, and ten
// thermometers between the faces, each holding `thermometerSamples` hourly zeros.
#include <cmath>
#include <numbers>
#include <random>

#include "core/model/node_distribution.h"
#include "core/model/project.h"

namespace kolma::bench {

inline Project LongFacesProject(double years, int divisions, int minHarmonics, int thermometerSamples) {
  constexpr double pi = std::numbers::pi;
  Project p;
  TSectionProperties& s = p.SectionProperties;
  s.Xu = 0.0;
  s.Xd = 10.0;
  s.NbDivisions = divisions;
  s.Diffusivity = 0.004;
  s.Ec = 25000;
  s.Poisson = 0.2;
  s.PlaneStrain = 1;
  ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio);
  p.SetMinHarmonics(minHarmonics);
  p.AnalysisOptions.PaddingMode = 0;
  std::mt19937 rng(2024);
  std::normal_distribution<double> noise(0.0, 0.8);
  const int n = static_cast<int>(std::lround(8760 * years));
  p.UpstreamHistory = {TVector(n), 1.0};
  p.DownstreamHistory = {TVector(n), 1.0};
  for (int j = 1; j <= n; ++j) {
    const double t = j - 1.0;
    const double year = std::cos(2 * pi * (t - 4500) / 8760), day = std::cos(2 * pi * (t - 15) / 24);
    p.UpstreamHistory.Values.SetElement(j, 9 + 5 * year + 0.5 * day + 0.3 * noise(rng));
    p.DownstreamHistory.Values.SetElement(j, 11 + 12 * year + 6 * day + noise(rng));
  }
  for (int slot = 1; slot <= kThermometerSlots; ++slot) {
    TTemperatureInside& t = p.Thermometer(slot);
    t.Position = 0.9 * slot - 0.15;
    t.Values = TVector(thermometerSamples);
    t.TimeStep = 1.0;
  }
  p.ProjectFlags = pfSection | pfUpstream | pfDownstream;
  return p;
}

}  // namespace kolma::bench
