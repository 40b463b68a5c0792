#include "core/analysis/inverse_least_squares.h"

#include <algorithm>
#include <cmath>
#include <limits>
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
  // Modified Gram-Schmidt on the two columns, the second one orthogonalised twice.
  double r11 = 0.0;
  for (const Complex& e : u) r11 += Norm2(e);
  r11 = std::sqrt(r11);
  if (!(r11 > 0.0) || !std::isfinite(r11)) return result;
  for (Complex& e : u) e /= r11;
  Complex r12 = 0.0;
  for (int pass = 0; pass < 2; ++pass) {
    Complex projection = 0.0;
    for (size_t j = 0; j < n; ++j) projection += std::conj(u[j]) * d[j];
    for (size_t j = 0; j < n; ++j) d[j] -= projection * u[j];
    r12 += projection;
  }
  double r22 = 0.0;
  for (const Complex& e : d) r22 += Norm2(e);
  r22 = std::sqrt(r22);
  if (!(r22 > 0.0) || !std::isfinite(r22)) return result;
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
  result.solved = std::isfinite(result.upstreamVariance) && std::isfinite(result.downstreamVariance) &&
                  std::isfinite(Norm2(result.upstream)) && std::isfinite(Norm2(result.downstream));
  if (!result.solved) result.upstreamVariance = result.downstreamVariance = kInfinite;
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
