#pragma once
// The exact periodic solution of the heat equation in a slab whose two faces follow one
// harmonic. Written with decaying exponentials only, so that it stays finite and accurate
// for sections many penetration depths thick (a 50 m section under hourly harmonics).
#include <complex>

#include "core/numeric/vector.h"

namespace kolma {

// k = sqrt(pi / (period x diffusivity)) (1/m): the amplitude of a harmonic of that period
// (hours) decays as exp(-k d) at depth d (m) below a face of a thick slab.
double SlabWaveNumber(double period, double diffusivity);

// How one harmonic imposed on the faces reaches a point. With the face temperatures
// Re(cu e^{i w t}) upstream and Re(cd e^{i w t}) downstream, the periodic temperature at
// the point is Re((cu fromUpstream + cd fromDownstream) e^{i w t}). A face coefficient
// c = a - i b stands for a cos(w t) + b sin(w t).
struct SlabTransfer {
  std::complex<double> fromUpstream;
  std::complex<double> fromDownstream;
};

// The transfer to a point at k (x - xu) from the upstream face and k (xd - x) from the
// downstream one (both in units of 1/k; their sum is the slab's k (xd - xu) > 0).
// Exactly (1, 0) on the upstream face and (0, 1) on the downstream face.
SlabTransfer SlabHarmonicTransfer(double depthFromUpstream, double depthFromDownstream);

// For every element x_i of X: P[i], Q[i] such that P cos(w t) + Q sin(w t), w = 2 pi / period,
// is the periodic temperature at x_i when the upstream face (xu) follows D cos(w t) and the
// downstream face (xd) C cos(w t). Writes to P and Q through SetElement (positions beyond
// their size are dropped). Needs period > 0, diffusivity > 0 and xu < xd.
void SlabHarmonicResponse(TVector& P, TVector& Q, const TVector& X, double period, double diffusivity,
                          double C, double D, double xu, double xd);

}  // namespace kolma
