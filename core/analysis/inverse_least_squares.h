#pragma once
// The least-squares method of the inverse analysis: one harmonic of both faces fitted to
// the coefficients of that harmonic at every usable thermometer, each weighted by the
// error of its record, then shrunk by the error it would bring.
//
// In complex form a harmonic T = a cos(wt) + b sin(wt) is Re(C e^{iwt}) with C = a - i b.
// The heat equation gives C'' = q^2 C with q = (1 + i) k, k = sqrt(pi f / diffusivity),
// so across a slab of thickness L with face values U (x = 0) and D (x = L)
//   C(x) = U sinh(q (L - x)) / sinh(q L) + D sinh(q x) / sinh(q L),
// the same field as the four real constants of the pair method, written so that it never
// overflows: each thermometer's coefficient is a combination of the two faces' ones.
#include <complex>
#include <span>

namespace kolma {

using Complex = std::complex<double>;

// One thermometer's view of a harmonic.
struct ThermometerCoefficient {
  double distance = 0.0;  // m from the upstream face
  Complex value;          // a - i b of the record
  double error = 0.0;     // standard deviation of the error of a and of b (the record's floor)
};

// The two faces' coefficients and the expected squared error |estimate - truth|^2 of each,
// from the records' errors. A face the thermometers cannot tell apart at this frequency
// (all at one place, or too deep for doubles) has the coefficient 0 and an infinite
// variance; `solved` says at least one face was solved.
struct FaceCoefficients {
  Complex upstream, downstream;
  double upstreamVariance = 0.0, downstreamVariance = 0.0;
  bool solved = false;
  // Set by callers that judge the records' error: the face's system amplifies it so much
  // that the records hold hardly anything of this face harmonic.
  bool upstreamAmplified = false, downstreamAmplified = false;
};

// How a harmonic at distance x from the upstream face follows the two faces.
void FaceTransfer(double k, double thickness, double distance, Complex& fromUpstream, Complex& fromDownstream);

// Weighted least squares over the thermometers (two or more), by a QR factorisation so
// that a face deep behind the thermometers costs no more precision than it must.
FaceCoefficients SolveFacesLeastSquares(std::span<const ThermometerCoefficient> thermometers, double k,
                                        double thickness);

// The minimum-expected-error rule: an estimate with expected squared error `variance` is
// kept scaled by w = s / (s + variance), where s = |estimate|^2 - variance estimates the
// harmonic's own power (w = 0 when that is not positive). `expectedError` receives the
// expected squared error of the kept value, s variance / (s + variance).
Complex ShrinkToExpectedError(Complex estimate, double variance, double& expectedError);

}  // namespace kolma
