#include "core/analysis/slab_response.h"

#include <cmath>
#include <numbers>

namespace kolma {

namespace {

using Complex = std::complex<double>;

// exp(-(1 + i) d)
Complex DecayingWave(double d) { return std::exp(-d) * Complex(std::cos(d), -std::sin(d)); }

// 1 - exp(-2 (1 + i) d), without the cancellation of the naive form near d = 0:
// 1 - e^{-a} cos a = -expm1(-a) + e^{-a} 2 sin^2(a / 2), with a = 2 d.
Complex OneMinusDoubleWave(double d) {
  const double a = 2.0 * d;
  const double decay = std::exp(-a);
  const double halfSine = std::sin(0.5 * a);
  return {-std::expm1(-a) + decay * 2.0 * halfSine * halfSine, decay * std::sin(a)};
}

}  // namespace

double SlabWaveNumber(double period, double diffusivity) {
  return std::sqrt(std::numbers::pi / (period * diffusivity));
}

// With s = 1 + i and lambda = du + dd, the solution driven by the upstream face alone is
// sinh(s dd) / sinh(s lambda) = e^{-s du} (1 - e^{-2 s dd}) / (1 - e^{-2 s lambda}),
// and the one driven by the downstream face the same with du and dd exchanged.
SlabTransfer SlabHarmonicTransfer(double depthFromUpstream, double depthFromDownstream) {
  const Complex denominator = OneMinusDoubleWave(depthFromUpstream + depthFromDownstream);
  return {DecayingWave(depthFromUpstream) * OneMinusDoubleWave(depthFromDownstream) / denominator,
          DecayingWave(depthFromDownstream) * OneMinusDoubleWave(depthFromUpstream) / denominator};
}

void SlabHarmonicResponse(TVector& P, TVector& Q, const TVector& X, double period, double diffusivity,
                          double C, double D, double xu, double xd) {
  const double k = SlabWaveNumber(period, diffusivity);
  for (int i = 1; i <= X.NrOfElem(); ++i) {
    const double x = X.Element(i);
    const SlabTransfer t = SlabHarmonicTransfer(k * (x - xu), k * (xd - x));
    // Faces D cos(w t) and C cos(w t) are the coefficients D and C; the point then follows
    // Re(W e^{i w t}) = Re W cos(w t) - Im W sin(w t).
    const Complex w = D * t.fromUpstream + C * t.fromDownstream;
    P.SetElement(i, w.real());
    Q.SetElement(i, -w.imag());
  }
}

}  // namespace kolma
