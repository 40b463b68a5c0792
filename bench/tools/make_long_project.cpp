// Writes the project that bench/time_batch.sh times: YEARS years of hourly face temperatures
// (annual and daily cycles with noise), a 10 m section of DIVISIONS divisions and ten
// thermometers between the faces. Built by the script against the core library.
// Usage: make_long_project OUT.kol [YEARS] [DIVISIONS] [MIN_HARMONICS]  (YEARS may be fractional)
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>

#include "core/model/node_distribution.h"
#include "core/model/project.h"
#include "core/model/project_file.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_long_project OUT.kol [YEARS] [DIVISIONS] [MIN_HARMONICS]\n");
    return 2;
  }
  const double years = argc > 2 ? std::atof(argv[2]) : 10.0;
  const int divisions = argc > 3 ? std::atoi(argv[3]) : 50;
  const int minHarmonics = argc > 4 ? std::atoi(argv[4]) : 40;
  constexpr double pi = std::numbers::pi;
  kolma::Project p;
  kolma::TSectionProperties& s = p.SectionProperties;
  s.Xu = 0.0;
  s.Xd = 10.0;
  s.NbDivisions = divisions;
  s.Diffusivity = 0.004;
  s.Ec = 25000;
  s.Poisson = 0.2;
  s.PlaneStrain = 1;
  kolma::ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio);
  p.SetMinHarmonics(minHarmonics);
  p.AnalysisOptions.PaddingMode = 0;
  std::mt19937 rng(2024);
  std::normal_distribution<double> noise(0.0, 0.8);
  const int n = static_cast<int>(std::lround(8760 * years));
  p.UpstreamHistory = {kolma::TVector(n), 1.0};
  p.DownstreamHistory = {kolma::TVector(n), 1.0};
  for (int j = 1; j <= n; ++j) {
    const double t = j - 1.0;
    const double year = std::cos(2 * pi * (t - 4500) / 8760), day = std::cos(2 * pi * (t - 15) / 24);
    p.UpstreamHistory.Values.SetElement(j, 9 + 5 * year + 0.5 * day + 0.3 * noise(rng));
    p.DownstreamHistory.Values.SetElement(j, 11 + 12 * year + 6 * day + noise(rng));
  }
  for (int slot = 1; slot <= kolma::kThermometerSlots; ++slot) {
    kolma::TTemperatureInside& t = p.Thermometer(slot);
    t.Position = 0.9 * slot - 0.15;
    t.Values = kolma::TVector(24);
    t.TimeStep = 1.0;
  }
  p.ProjectFlags = kolma::pfSection | kolma::pfUpstream | kolma::pfDownstream;
  std::string reason;
  if (!kolma::EcritureFichier(p, argv[1], &reason)) {
    std::fprintf(stderr, "make_long_project: %s\n", reason.c_str());
    return 1;
  }
  return 0;
}
