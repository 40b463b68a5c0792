#pragma once
// The time-mean temperature profile across the section, fitted to the means of the
// measured inside histories: Tmean(x) = sum over j of c[j] * (x - Xu)^j.
#include <cstdint>
#include <vector>

namespace kolma {

// How the means are fitted (the analysis option of the same name). Any other stored value
// is treated as kPairLine, the choice the options dialog shows for it.
enum MeanProfileFit : std::uint8_t {
  kPairLine = 0,        // straight line through the two thermometers of the pair
  kRegressionLine = 1,  // least-squares line through every thermometer
  kPolynomial = 2,      // least-squares polynomial through every thermometer, degree <= 5
};

inline constexpr int kMaxMeanProfileDegree = 5;

// A thermometer's mean temperature at its distance from the upstream face.
struct MeanPoint {
  double distance = 0.0;  // m from Xu
  double mean = 0.0;      // °C
};

// points[0] and points[1] are the inverse pair (nearer the upstream face first), the
// other thermometers follow. The two of the pair must lie at different distances.
// A polynomial whose normal equations are singular (several thermometers at one
// position) or too ill-conditioned to solve falls back to the highest degree that can
// be fitted, down to the straight line.
std::vector<double> FitMeanProfile(std::uint8_t fit, const std::vector<MeanPoint>& points);

// Value of the profile at a distance from the upstream face (0^0 = 1).
double MeanProfileAt(const std::vector<double>& coefficients, double distance);

}  // namespace kolma
