#include "core/analysis/thermal_decomposition.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>

#include "core/analysis/field_rows.h"
#include "core/model/project.h"

namespace kolma {

TRegionMoments RegionMoments(double x1, double lo1, double hi1, double x2, double lo2, double hi2) {
  if (x1 == x2) return {0.0, x1, (lo1 + hi1) / 2.0};
  const double h = x2 - x1;
  const double area = ((hi1 - lo1) + (hi2 - lo2)) / 2.0 * h;
  if (area == 0.0) return {0.0, 0.0, 0.0};
  // Three pieces with signed areas: the triangle under the lower edge (vertical side
  // at x1), the rectangle between the two levels at x2, the triangle over the upper edge.
  const double lowerTriangle = (lo2 - lo1) * h / 2.0;
  const double rectangle = (hi2 - lo2) * h;
  const double upperTriangle = (hi1 - hi2) * h / 2.0;
  const double xc = (lowerTriangle * (x1 + h / 3.0) + rectangle * (x1 + h / 2.0) +
                     upperTriangle * (x1 + h / 3.0)) / area;
  const double yc = (lowerTriangle * (lo1 + 2.0 * (lo2 - lo1) / 3.0) + rectangle * (hi2 + lo2) / 2.0 +
                     upperTriangle * (hi2 + (hi1 - hi2) / 3.0)) / area;
  return {area, xc, yc};
}

double SectionMiddle(double xu, double xd) { return (xu + xd) / 2.0; }

TTmTd ComputeTmTd(double xu, double xd, std::span<const double> nodes,
                  std::span<const double> temperatures) {
  const double length = xd - xu;
  if (!(length > 0.0)) return {};
  const double middle = SectionMiddle(xu, xd);
  const std::size_t points = std::min(nodes.size(), temperatures.size());
  double area = 0.0;
  double moment = 0.0;
  for (std::size_t i = 0; i + 1 < points; ++i) {
    const TRegionMoments slice =
        RegionMoments(nodes[i], 0.0, temperatures[i], nodes[i + 1], 0.0, temperatures[i + 1]);
    area += slice.Area;
    if (slice.Area != 0.0) {
      moment += (slice.Xc - middle) * slice.Area;
    } else {
      // Opposite temperatures at the two nodes: no area, hence no centroid, but the
      // straight line through them still has a first moment, which Td must not lose.
      const double h = nodes[i + 1] - nodes[i];
      moment += h * h * (temperatures[i] / 6.0 + temperatures[i + 1] / 3.0) +
                h * (nodes[i] - middle) * (temperatures[i] + temperatures[i + 1]) / 2.0;
    }
  }
  return {area / length, 12.0 * moment / (length * length)};
}

TTmTd ComputeTmTd(const TSectionProperties& section, std::span<const double> temperatures) {
  // The section nodes only: a direct analysis appends the thermometer positions to Nodes.
  const int count = std::clamp(section.NbDivisions + 1, 0, section.Nodes.NrOfElem());
  return ComputeTmTd(section.Xu, section.Xd, {section.Nodes.Data(), static_cast<std::size_t>(count)}, temperatures);
}

TTmTd ComputeTmTd(const Project& project, int k) {
  return ComputeTmTd(project.SectionProperties, TStoredFieldRows(project).Row(k));
}

std::vector<TTmTd> ComputeTmTdSeries(const Project& project) {
  const int steps = project.DirectResults.Temperatures.NrOfRows();
  std::vector<TTmTd> series(static_cast<std::size_t>(steps));
  for (int k = 1; k <= steps; ++k) series[static_cast<std::size_t>(k - 1)] = ComputeTmTd(project, k);
  return series;
}

double Tl(double x, double xu, double xd, const TTmTd& step) {
  const double length = xd - xu;
  if (!(length > 0.0)) return 0.0;
  return (x - SectionMiddle(xu, xd)) * step.Td / length;
}

double Tn(double t, double x, double xu, double xd, const TTmTd& step) {
  return t - step.Tm - Tl(x, xu, xd, step);
}

double Tl(const Project& project, int i, const TTmTd& step) {
  const TSectionProperties& section = project.SectionProperties;
  return Tl(section.Nodes.Element(i), section.Xu, section.Xd, step);
}

double Tn(const Project& project, int i, int k, const TTmTd& step) {
  const TSectionProperties& section = project.SectionProperties;
  return Tn(project.DirectResults.Temperatures.Element(i, k), section.Nodes.Element(i), section.Xu,
            section.Xd, step);
}

TStressFactor StressFactor(double ec, double alpha, double poisson, bool planeStrain) {
  double value = ec * alpha;
  if (planeStrain) {
    // 1 - nu/(1 - nu) = (1 - 2 nu)/(1 - nu): an incompressible material (nu = 0.5)
    // cannot expand freely in plane strain, so the stress has no finite value.
    const double denominator = poisson == 1.0 ? 0.0 : 1.0 - poisson / (1.0 - poisson);
    value = denominator == 0.0 ? HUGE_VAL : value / denominator;
  }
  if (std::isfinite(value)) return {true, value, {}};
  if (!planeStrain) return {false, 0.0, "The thermal stress factor is not finite"};
  // Shortest round-trip text, independent of the locale: 0.5 reads "0.5".
  char ratio[32];
  const auto written = std::to_chars(ratio, ratio + sizeof ratio, poisson);
  return {false, 0.0,
          "Plane strain with Poisson's ratio " + std::string(ratio, written.ptr) +
              " has no finite thermal stress"};
}

TStressFactor StressFactor(const TSectionProperties& section) {
  return StressFactor(section.Ec, section.Alpha, section.Poisson, section.PlaneStrain != 0);
}

double Stress(double tn, double t0, double s) { return s * (tn - t0); }

double Stress(const Project& project, int i, int k, const TTmTd& step, double s) {
  return Stress(Tn(project, i, k, step), project.SectionProperties.T0, s);
}

}  // namespace kolma
