#include "core/numeric/curve_fit.h"

#include <cfloat>
#include <cmath>

#include "core/numeric/errors.h"

namespace kolma {

namespace {

// Stand-in for a spline term whose evaluation would divide by zero or overflow
// (coincident x values): keeps the construction finite instead of spreading inf/NaN.
constexpr double kFailedTerm = 1.7e38;

double OrFailed(double value) { return std::isfinite(value) ? value : kFailedTerm; }

// A difference of sums is only rounding noise when it is this small against the
// sum it was taken from.
bool Negligible(double difference, double scale) { return difference <= 16.0 * DBL_EPSILON * scale; }

// True when the y values do not vary (their variance is zero up to rounding).
bool NoVariance(double sumY, double sumY2, int n) {
  const double v = sumY2 - sumY * sumY / n;
  return v == 0.0 || Negligible(std::fabs(v), sumY2);
}

// Coefficient of determination from the explained part R of the sum of y^2.
// Constant y (nothing to explain) counts as a perfect fit.
double RSquared(double explained, double sumY, double sumY2, int n) {
  if (NoVariance(sumY, sumY2, n)) return 1.0;
  const double mean2 = sumY * sumY / n;
  return (explained - mean2) / (sumY2 - mean2);
}

}  // namespace

void TCurveFit::InitFit() {
  count_ = 0;
  sumX_ = sumY_ = sumX2_ = sumY2_ = sumXY_ = 0.0;
  powerSums_.Clear();
  moments_.Clear();
  points_.Resize(2, kStoreGrowth);
  points_.Fill(0.0);
  splineCurrent_ = false;
}

void TCurveFit::AddPoint(double x, double y) {
  // Grow the store first: if that fails, nothing has been counted yet.
  if (points_.NrOfRows() < count_ + 1 && !points_.Resize(2, points_.NrOfRows() + kStoreGrowth))
    throw ECurveFitError(kNotEnoughMemory);

  sumX_ += x;
  sumY_ += y;
  sumX2_ += x * x;
  sumY2_ += y * y;
  sumXY_ += x * y;
  double* s = powerSums_.Data();
  double* m = moments_.Data();
  double power = 1.0;
  for (int k = 0; k < kPowerSums; ++k) {
    s[k] += power;
    if (k < kMoments) m[k] += y * power;
    power *= x;
  }
  ++count_;
  points_.SetElement(1, count_, x);
  points_.SetElement(2, count_, y);
  splineCurrent_ = false;
}

void TCurveFit::LinearFit(double& slope, double& intercept, double& r2) const {
  slope = intercept = r2 = 0.0;
  const int n = count_;
  if (n < 2) return;
  const double d = n * sumX2_ - sumX_ * sumX_;
  if (Negligible(d, n * sumX2_)) {
    // All x equal: a vertical line has no slope; the mean of y explains nothing.
    intercept = sumY_ / n;
    r2 = NoVariance(sumY_, sumY2_, n) ? 1.0 : 0.0;
    return;
  }
  slope = (n * sumXY_ - sumX_ * sumY_) / d;
  intercept = (sumX2_ * sumY_ - sumX_ * sumXY_) / d;
  r2 = RSquared(intercept * sumY_ + slope * sumXY_, sumY_, sumY2_, n);
}

bool TCurveFit::PolynomialFit(std::uint8_t degree, double* c, double& r2) const {
  const int d = degree;
  if (c == nullptr || d >= count_ || d > kMaxDegree) return false;
  const int size = d + 1;

  // Normal equations: A(b, a) = sum x^(a+b-2), right-hand side sum y*x^(a-1).
  TMatrix normal(size, size);
  for (int a = 1; a <= size; ++a)
    for (int b = 1; b <= size; ++b) normal.SetElement(b, a, powerSums_.Element(a + b - 1));
  bool ok = normal.Invert();

  TMatrix rhs(1, size);
  for (int a = 1; a <= size; ++a) rhs.SetElement(1, a, moments_.Element(a));
  TMatrix solution(1, size);  // stays 0 when the inversion failed
  if (ok) ok = normal.Multiply(rhs, solution);

  double explained = 0.0;
  for (int a = 1; a <= size; ++a) {
    c[a - 1] = solution.Element(1, a);
    explained += c[a - 1] * moments_.Element(a);
  }
  r2 = RSquared(explained, sumY_, sumY2_, count_);
  return ok;
}

bool TCurveFit::PolynomialFit(std::uint8_t degree, std::vector<double>& c, double& r2) const {
  if (degree >= count_ || degree > kMaxDegree) return false;
  c.assign(static_cast<size_t>(degree) + 1, 0.0);
  return PolynomialFit(degree, c.data(), r2);
}

void TCurveFit::BuildSpline() {
  const int n = count_;
  splineX_.Resize(n);
  splineY_.Resize(n);
  splineY2_.Resize(n);
  points_.CopyColumnTo(splineX_, 1, 1, n);
  points_.CopyColumnTo(splineY_, 2, 1, n);

  // Sorting x drags each y along through the exchange notification.
  splineX_.OnSortExchange = [this](const void*, std::uint8_t, int i, int j, int, int) {
    const double yi = splineY_.Element(i);
    splineY_.SetElement(i, splineY_.Element(j));
    splineY_.SetElement(j, yi);
  };
  splineX_.Sort(true, 1, n);
  splineX_.OnSortExchange = nullptr;  // the handler points at this object: never let it outlive a copy

  const double* xs = splineX_.Data();
  const double* ys = splineY_.Data();
  double* y2s = splineY2_.Data();
  auto x = [xs](int i) { return xs[i - 1]; };
  auto y = [ys](int i) { return ys[i - 1]; };
  auto y2 = [y2s](int i) -> double& { return y2s[i - 1]; };
  std::vector<double> u(static_cast<size_t>(n) + 1, 0.0);  // 1-based

  // Forward sweep of the tridiagonal system for the second derivatives.
  if (naturalLower_) {
    y2(1) = 0.0;
    u[1] = 0.0;
  } else {
    const double h = x(2) - x(1);
    y2(1) = -0.5;
    u[1] = h > 0.0 ? OrFailed((3.0 / h) * ((y(2) - y(1)) / h - lowerSlope_)) : kFailedTerm;
  }
  for (int i = 2; i <= n - 1; ++i) {
    const double left = x(i) - x(i - 1);
    const double right = x(i + 1) - x(i);
    const double width = x(i + 1) - x(i - 1);
    // sig stays within [0, 1] so that p >= 1.5 even around coincident x values.
    const double sig = width > 0.0 ? left / width : 0.5;
    const double p = sig * y2(i - 1) + 2.0;
    y2(i) = (sig - 1.0) / p;
    u[i] = (left > 0.0 && right > 0.0)
               ? OrFailed((((y(i + 1) - y(i)) / right - (y(i) - y(i - 1)) / left) * 6.0 / width - sig * u[i - 1]) / p)
               : kFailedTerm;
  }
  double qn = 0.0, un = 0.0;
  if (!naturalUpper_) {
    const double h = x(n) - x(n - 1);
    qn = 0.5;
    un = h > 0.0 ? OrFailed((3.0 / h) * (upperSlope_ - (y(n) - y(n - 1)) / h)) : kFailedTerm;
  }
  y2(n) = (un - qn * u[n - 1]) / (qn * y2(n - 1) + 1.0);

  for (int k = n - 1; k >= 1; --k) y2(k) = y2(k) * y2(k + 1) + u[k];
  splineCurrent_ = true;
}

double TCurveFit::SplineValue(double x) {
  if (count_ < 2) throw ECurveFitError(kSplineNotDistinct);
  if (!splineCurrent_) BuildSpline();

  const double* xs = splineX_.Data();  // 0-based below
  int lo = 0, hi = count_ - 1;
  while (hi - lo > 1) {
    const int m = (lo + hi) / 2;
    if (x < xs[m]) hi = m; else lo = m;  // a value equal to xs[m] goes up
  }
  const double h = xs[hi] - xs[lo];
  if (h < 1e-100) throw ECurveFitError(kSplineNotDistinct);

  const double* ys = splineY_.Data();
  const double* y2s = splineY2_.Data();
  const double a = (xs[hi] - x) / h;
  const double b = (x - xs[lo]) / h;
  return a * ys[lo] + b * ys[hi] + ((a * a * a - a) * y2s[lo] + (b * b * b - b) * y2s[hi]) * h * h / 6.0;
}

}  // namespace kolma
