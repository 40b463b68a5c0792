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

namespace kolma {

// The time mean of a record that does not repeat itself is not straight across the
// section. Integrating the heat equation dT/dt = alpha d2T/dx2 over the record of duration
// D gives, for the time mean M(x),
//   alpha M''(x) = (T_end(x) - T_start(x)) / D,
// and the change over the record, T_end - T_start, is what the thermometers (and the
// worked-back faces) measure. Taken as piecewise linear between the faces and the
// thermometers, it fixes M up to a straight line, which is fitted to the thermometers'
// means by least squares.
struct ChangePoint {
  double distance = 0.0;  // m from the upstream face
  double mean = 0.0;      // °C over the record
  double change = 0.0;    // °C, last sample minus first
};

class TCurvedMeanProfile {
 public:
  // `points` are the thermometers (two or more, at two distances or more).
  TCurvedMeanProfile(const std::vector<ChangePoint>& points, double thickness, double upstreamChange,
                     double downstreamChange, double diffusivity, double duration);

  double At(double distance) const;
  // The standard error of the fitted line at `distance`, from the scatter of the means
  // about the profile (zero with two thermometers, which the line passes through).
  double ErrorAt(double distance) const;
  // A polynomial of degree five over the section that follows the profile, in the form of
  // the analysis results' MeanProfile.
  std::vector<double> Polynomial(double thickness) const;

 private:
  double Curvature(double distance) const;  // the part fixed by the changes

  std::vector<double> knots_, changes_;  // piecewise-linear change over the record
  double scale_ = 0.0;                   // 1 / (alpha D)
  double intercept_ = 0.0, slope_ = 0.0;
  double centre_ = 0.0, spread_ = 0.0;   // mean distance and sum of squared deviations
  double residual_ = 0.0;                // standard deviation of the means about the profile
  int count_ = 0;
};

}  // namespace kolma
