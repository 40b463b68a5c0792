#pragma once
// One harmonic of the periodic temperature field in a slab, worked back from its cosine
// and sine coefficients at two points.
//
// At the reduced distance y = k * (distance from a face), k = sqrt(pi f / diffusivity),
// every periodic solution of frequency f has the coefficients
//   a(y) =  X1 cos y cosh y + X2 cos y sinh y + X3 sin y cosh y + X4 sin y sinh y
//   b(y) = -X1 sin y sinh y - X2 sin y cosh y + X3 cos y sinh y + X4 cos y cosh y
// of T = a cos(2 pi f t) + b sin(2 pi f t); at the face itself a = X1 and b = X4.
#include <array>

#include "core/numeric/matrix.h"

namespace kolma {

// The 4 x 4 system, columns X1..X4: rows 1-2 give a, b at yNear, rows 3-4 at yFar.
TMatrix FaceSystemMatrix(double yNear, double yFar);

// Entries spanning nine decades or more make the solution meaningless in doubles. Exact
// zeros (a thermometer on the face itself) carry no scale and are left out; an infinite
// or NaN entry (cosh beyond y ~ 710) always fails the test.
bool IsFaceSystemWellConditioned(const TMatrix& system);

enum class FaceSolveStatus {
  kSolved,
  kIllConditioned,  // failed the conditioning test: the caller discards this period and shorter
  kSingular,        // the inversion failed
};

struct FaceSolution {
  FaceSolveStatus status = FaceSolveStatus::kSingular;
  std::array<double, 4> x{};  // X1..X4, all 0 unless solved
  // How much an error of the coefficients measured at each point grows on its way to the
  // face: the root sum of squares of the inverse's entries that take (a, b) of that point
  // to (X1, X4). An error of standard deviation s in each measured coefficient gives the
  // face coefficients an error of sqrt(nearGain^2 sNear^2 + farGain^2 sFar^2).
  double nearGain = 0.0, farGain = 0.0;
};

// Solves for X1..X4 from the coefficients (a, b) measured at the two reduced distances.
FaceSolution SolveFaceCoefficients(double yNear, double aNear, double bNear, double yFar, double aFar,
                                   double bFar);

}  // namespace kolma
