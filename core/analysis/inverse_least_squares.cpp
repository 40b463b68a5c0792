#include "core/analysis/inverse_least_squares.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace kolma {

namespace {

constexpr double kInfinite = std::numeric_limits<double>::infinity();

double Norm2(Complex c) { return std::norm(c); }

}  // namespace

void FaceTransfer(double k, double thickness, double distance, Complex& fromUpstream, Complex& fromDownstream) {
  // sinh(q (L - x)) / sinh(q L) = e^{-q x} (1 - e^{-2 q (L - x)}) / (1 - e^{-2 q L}): every
  // exponent has a negative real part, so nothing overflows however deep or fast.
  const Complex q(k, k);
  const double x = std::clamp(distance, 0.0, thickness);
  const Complex denominator = 1.0 - std::exp(-2.0 * q * thickness);
  fromUpstream = std::exp(-q * x) * (1.0 - std::exp(-2.0 * q * (thickness - x))) / denominator;
  fromDownstream = std::exp(-q * (thickness - x)) * (1.0 - std::exp(-2.0 * q * x)) / denominator;
}

FaceCoefficients SolveFacesLeastSquares(std::span<const ThermometerCoefficient> thermometers, double k,
                                        double thickness) {
  FaceCoefficients result;
  result.upstreamVariance = result.downstreamVariance = kInfinite;
  const size_t n = thermometers.size();
  if (n < 2) return result;
  // Rows scaled by 1 / error: every row then has unit error in its real and imaginary parts.
  std::vector<Complex> u(n), d(n), c(n);
  for (size_t j = 0; j < n; ++j) {
    const double weight = 1.0 / std::max(thermometers[j].error, std::numeric_limits<double>::min());
    FaceTransfer(k, thickness, thermometers[j].distance, u[j], d[j]);
    u[j] *= weight;
    d[j] *= weight;
    c[j] = thermometers[j].value * weight;
  }
  auto norm = [](const std::vector<Complex>& column) {
    double sum = 0.0;
    for (const Complex& e : column) sum += Norm2(e);
    return std::sqrt(sum);
  };
  // A face whose harmonic no thermometer feels (deep behind them at a short period) cannot
  // be solved for; the other one still can, on its own.
  auto alone = [&](const std::vector<Complex>& column, double length, Complex& value, double& variance) {
    Complex z = 0.0;
    for (size_t j = 0; j < n; ++j) z += std::conj(column[j]) * c[j];
    value = z / (length * length);
    variance = 2.0 / (length * length);
  };
  const double upLength = norm(u), downLength = norm(d);
  const bool upFelt = upLength > 0.0 && std::isfinite(upLength);
  const bool downFelt = downLength > 0.0 && std::isfinite(downLength);
  if (upFelt && !downFelt) alone(u, upLength, result.upstream, result.upstreamVariance);
  if (downFelt && !upFelt) alone(d, downLength, result.downstream, result.downstreamVariance);
  if (upFelt && downFelt) {
    // Modified Gram-Schmidt on the two columns, the second one orthogonalised twice.
    const double r11 = upLength;
    for (Complex& e : u) e /= r11;
    Complex r12 = 0.0;
    for (int pass = 0; pass < 2; ++pass) {
      Complex projection = 0.0;
      for (size_t j = 0; j < n; ++j) projection += std::conj(u[j]) * d[j];
      for (size_t j = 0; j < n; ++j) d[j] -= projection * u[j];
      r12 += projection;
    }
    const double r22 = norm(d);
    if (r22 > 0.0 && std::isfinite(r22)) {
      for (Complex& e : d) e /= r22;
      Complex z1 = 0.0, z2 = 0.0;
      for (size_t j = 0; j < n; ++j) {
        z1 += std::conj(u[j]) * c[j];
        z2 += std::conj(d[j]) * c[j];
      }
      result.downstream = z2 / r22;
      result.upstream = (z1 - r12 * result.downstream) / r11;
      // Covariance 2 (R^H R)^-1: a unit error in each of the real and imaginary parts is a
      // complex error of expected squared size 2.
      result.downstreamVariance = 2.0 / (r22 * r22);
      result.upstreamVariance = 2.0 * (1.0 + Norm2(r12) / (r22 * r22)) / (r11 * r11);
    }
  }
  // Each face on its own: a value or variance that is not finite leaves it unsolved.
  for (auto [value, variance] : {std::pair{&result.upstream, &result.upstreamVariance},
                                 std::pair{&result.downstream, &result.downstreamVariance}})
    if (!std::isfinite(*variance) || !std::isfinite(Norm2(*value))) {
      *value = 0.0;
      *variance = kInfinite;
    }
  result.solved = std::isfinite(result.upstreamVariance) || std::isfinite(result.downstreamVariance);
  return result;
}

Complex ShrinkToExpectedError(Complex estimate, double variance, double& expectedError) {
  const double power = Norm2(estimate) - variance;
  if (!(power > 0.0) || !std::isfinite(variance)) {
    expectedError = std::max(power, 0.0);
    return 0.0;
  }
  const double weight = power / (power + variance);
  expectedError = power * variance / (power + variance);
  return weight * estimate;
}

}  // namespace kolma
