#include "core/analysis/mean_profile.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

namespace kolma {

TCurvedMeanProfile::TCurvedMeanProfile(const std::vector<ChangePoint>& points, double thickness,
                                       double upstreamChange, double downstreamChange, double diffusivity,
                                       double duration)
    : scale_(diffusivity > 0.0 && duration > 0.0 ? 1.0 / (diffusivity * duration) : 0.0),
      count_(static_cast<int>(points.size())) {
  std::vector<std::pair<double, double>> knots{{0.0, upstreamChange}, {thickness, downstreamChange}};
  for (const ChangePoint& p : points) knots.emplace_back(std::clamp(p.distance, 0.0, thickness), p.change);
  std::stable_sort(knots.begin(), knots.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
  for (const auto& [x, change] : knots) {
    knots_.push_back(x);
    changes_.push_back(change);
  }
  // The line through what remains of the means once the curvature is taken away.
  double sx = 0.0, sy = 0.0;
  for (const ChangePoint& p : points) {
    sx += p.distance;
    sy += p.mean - Curvature(p.distance);
  }
  if (count_ == 0) return;
  centre_ = sx / count_;
  const double my = sy / count_;
  double sxy = 0.0;
  for (const ChangePoint& p : points) {
    const double dx = p.distance - centre_;
    spread_ += dx * dx;
    sxy += dx * (p.mean - Curvature(p.distance) - my);
  }
  slope_ = spread_ > 0.0 ? sxy / spread_ : 0.0;
  intercept_ = my - slope_ * centre_;
  if (count_ > 2) {
    double squares = 0.0;
    for (const ChangePoint& p : points) squares += std::pow(p.mean - At(p.distance), 2);
    residual_ = std::sqrt(squares / (count_ - 2));
  }
}

double TCurvedMeanProfile::Curvature(double distance) const {
  // scale * integral from 0 to x of (x - s) change(s) ds; the integrand is quadratic on
  // every linear piece, so Simpson's rule is exact there.
  double sum = 0.0;
  for (size_t i = 0; i + 1 < knots_.size(); ++i) {
    const double s0 = knots_[i], s1 = std::min(knots_[i + 1], distance);
    if (s1 <= s0) break;
    const double width = knots_[i + 1] - knots_[i];
    auto change = [&](double s) {
      return width > 0.0 ? changes_[i] + (changes_[i + 1] - changes_[i]) * (s - s0) / width : changes_[i];
    };
    auto f = [&](double s) { return (distance - s) * change(s); };
    const double m = 0.5 * (s0 + s1);
    sum += (s1 - s0) / 6.0 * (f(s0) + 4.0 * f(m) + f(s1));
  }
  return scale_ * sum;
}

double TCurvedMeanProfile::At(double distance) const { return intercept_ + slope_ * distance + Curvature(distance); }

double TCurvedMeanProfile::ErrorAt(double distance) const {
  if (count_ <= 2 || !(spread_ > 0.0)) return 0.0;
  const double dx = distance - centre_;
  return residual_ * std::sqrt(1.0 / count_ + dx * dx / spread_);
}

std::vector<double> TCurvedMeanProfile::Polynomial(double thickness) const {
  constexpr int kSamples = 21;
  std::vector<MeanPoint> samples;
  for (int i = 0; i < kSamples; ++i) {
    const double x = thickness * i / (kSamples - 1);
    samples.push_back({x, At(x)});
  }
  return FitMeanProfile(kPolynomial, samples);
}

}  // namespace kolma
