#include "core/analysis/mean_profile.h"

#include <algorithm>

#include "core/numeric/curve_fit.h"

namespace kolma {

namespace {

std::vector<double> PairLine(const MeanPoint& a, const MeanPoint& b) {
  const double slope = (b.mean - a.mean) / (b.distance - a.distance);
  return {a.mean - slope * a.distance, slope};
}

}  // namespace

std::vector<double> FitMeanProfile(std::uint8_t fit, const std::vector<MeanPoint>& points) {
  if (points.size() < 2) return {};
  if (fit != kRegressionLine && fit != kPolynomial) return PairLine(points[0], points[1]);

  TCurveFit curve;
  curve.InitFit();
  for (const MeanPoint& point : points) curve.AddPoint(point.distance, point.mean);

  if (fit == kRegressionLine) {
    double slope = 0.0, intercept = 0.0, r2 = 0.0;
    curve.LinearFit(slope, intercept, r2);
    return {intercept, slope};
  }

  const int highest = std::min(curve.NumberOfPoints() - 1, kMaxMeanProfileDegree);
  for (int degree = highest; degree >= 2; --degree) {
    std::vector<double> c(static_cast<size_t>(degree) + 1, 0.0);
    double r2 = 0.0;
    if (curve.PolynomialFit(static_cast<std::uint8_t>(degree), c, r2)) return c;
  }
  // The line cannot fail: the pair sits at two different distances. Fitting it by
  // regression rather than through the pair keeps every point in the profile.
  double slope = 0.0, intercept = 0.0, r2 = 0.0;
  curve.LinearFit(slope, intercept, r2);
  return {intercept, slope};
}

double MeanProfileAt(const std::vector<double>& coefficients, double distance) {
  // Horner's scheme; an empty profile is 0 everywhere.
  double value = 0.0;
  for (auto c = coefficients.rbegin(); c != coefficients.rend(); ++c) value = value * distance + *c;
  return value;
}

}  // namespace kolma
