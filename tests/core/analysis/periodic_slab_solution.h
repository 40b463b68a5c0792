#pragma once
// Exact periodic temperature in a slab whose two faces follow one harmonic each, written
// with complex exponentials: an independent check of the real four-constant form the
// inverse analysis solves for.
#include <cmath>
#include <complex>
#include <numbers>

namespace kolma::testing {

struct HarmonicCoefficients {
  double a = 0.0;  // cosine coefficient
  double b = 0.0;  // sine coefficient
};

// T(x, t) = a cos(2 pi f t) + b sin(2 pi f t) at distance x from the upstream face of a
// slab of thickness L, for faces (upstream, downstream) at that frequency.
inline HarmonicCoefficients PeriodicSlabHarmonic(HarmonicCoefficients upstream, HarmonicCoefficients downstream,
                                                 double frequency, double diffusivity, double thickness,
                                                 double x) {
  using C = std::complex<double>;
  // T = Re(Z e^{i w t}) with Z = a - i b; Z'' = (i w / alpha) Z.
  const C z0(upstream.a, -upstream.b);
  const C zL(downstream.a, -downstream.b);
  const double k = std::sqrt(std::numbers::pi * frequency / diffusivity);
  const C gamma(k, k);
  // sinh(g (L - x)) / sinh(g L) and sinh(g x) / sinh(g L) in decaying exponentials, so
  // that thick sections and short periods do not overflow.
  const C denominator = 1.0 - std::exp(-2.0 * gamma * thickness);
  const C fromUpstream = std::exp(-gamma * x) * (1.0 - std::exp(-2.0 * gamma * (thickness - x))) / denominator;
  const C fromDownstream = std::exp(-gamma * (thickness - x)) * (1.0 - std::exp(-2.0 * gamma * x)) / denominator;
  const C z = z0 * fromUpstream + zL * fromDownstream;
  return {z.real(), -z.imag()};
}

}  // namespace kolma::testing
