#pragma once
// Splitting the temperature across the section at one analysis step into its mean
// (Tm), the face-to-face difference of the equivalent straight line (Td) and the
// nonlinear remainder (Tn), and the thermal stress that the remainder causes.
// Nothing here is stored: every result view recomputes it for the steps it shows.
#include <span>
#include <string>
#include <vector>

namespace kolma {

struct Project;
struct TSectionProperties;

// Signed area and centroid of the plane region between the vertical lines x = x1 and
// x = x2, under the straight edge (x1, hi1)-(x2, hi2) and over (x1, lo1)-(x2, lo2).
struct TRegionMoments {
  double Area = 0.0;
  double Xc = 0.0;
  double Yc = 0.0;
};

TRegionMoments RegionMoments(double x1, double lo1, double hi1, double x2, double lo2, double hi2);

// Mean temperature and linear temperature difference of one step (°C). Td is positive
// when the equivalent straight line is warmer at the downstream face.
struct TTmTd {
  double Tm = 0.0;
  double Td = 0.0;
};

// Lever arms are measured from the middle of the section, (xu + xd) / 2, so that a
// uniform field has no linear part wherever the section lies on the x axis.
double SectionMiddle(double xu, double xd);

// One step of a field known at the nodes (positions and temperatures paired by index,
// the temperature taken as linear between nodes): Tm = (1/L) integral of T dx and
// Td = (12/L^2) integral of T (x - middle) dx over the section, L = xd - xu, whatever
// the spacing. Uses min(nodes, temperatures) points. A section without thickness
// (xd <= xu) gives Tm = Td = 0.
TTmTd ComputeTmTd(double xu, double xd, std::span<const double> nodes,
                  std::span<const double> temperatures);

// One step over the NbDivisions + 1 nodes of the section.
TTmTd ComputeTmTd(const TSectionProperties& section, std::span<const double> temperatures);

// Step k (1-based row of DirectResults.Temperatures) over the NbDivisions + 1 section
// nodes of the project.
TTmTd ComputeTmTd(const Project& project, int k);

// Tm and Td of every step of the direct results, step k at index k - 1.
std::vector<TTmTd> ComputeTmTdSeries(const Project& project);

// Linear component at position x: the straight line Tm + Tl has the field's first moment.
double Tl(double x, double xu, double xd, const TTmTd& step);
// Nonlinear remainder of the temperature t at position x.
double Tn(double t, double x, double xu, double xd, const TTmTd& step);

// The same for node i (1-based) and step k of the project's direct results.
double Tl(const Project& project, int i, const TTmTd& step);
double Tn(const Project& project, int i, int k, const TTmTd& step);

// Stress per degree of nonlinear temperature (MPa/°C). Plane strain with Poisson's
// ratio 0.5 has no finite value: valid is false and reason says why, for the tables
// and charts to show instead of numbers.
struct TStressFactor {
  bool valid = true;
  double value = 0.0;
  std::string reason;
};

TStressFactor StressFactor(double ec, double alpha, double poisson, bool planeStrain);
TStressFactor StressFactor(const TSectionProperties& section);

// Thermal stress (MPa) of a nonlinear temperature tn against the reference t0, given a
// valid stress factor s; positive when tn is above t0.
double Stress(double tn, double t0, double s);
double Stress(const Project& project, int i, int k, const TTmTd& step, double s);

}  // namespace kolma
