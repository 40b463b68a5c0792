#include "core/analysis/face_coefficient_solver.h"

#include <algorithm>
#include <cmath>

namespace kolma {

namespace {

constexpr double kMaxDecades = 9.0;

// Rows (a then b) of the system at reduced distance y, starting at matrix row `row`.
void SetRows(TMatrix& m, int row, double y) {
  const double c = std::cos(y), s = std::sin(y), ch = std::cosh(y), sh = std::sinh(y);
  m.SetElement(1, row, c * ch);
  m.SetElement(2, row, c * sh);
  m.SetElement(3, row, s * ch);
  m.SetElement(4, row, s * sh);
  m.SetElement(1, row + 1, -s * sh);
  m.SetElement(2, row + 1, -s * ch);
  m.SetElement(3, row + 1, c * sh);
  m.SetElement(4, row + 1, c * ch);
}

}  // namespace

TMatrix FaceSystemMatrix(double yNear, double yFar) {
  TMatrix m(4, 4);
  SetRows(m, 1, yNear);
  SetRows(m, 3, yFar);
  return m;
}

bool IsFaceSystemWellConditioned(const TMatrix& system) {
  // Both bounds start at one (10^0), so a matrix of small entries only is judged
  // against 1 as well as against its largest entry.
  double hi = 0.0, lo = 0.0;
  for (int column = 1; column <= system.NrOfColumns(); ++column)
    for (int row = 1; row <= system.NrOfRows(); ++row) {
      const double e = system.Element(column, row);
      if (!std::isfinite(e)) return false;
      if (e == 0.0) continue;
      const double decades = std::log10(std::fabs(e));
      hi = std::max(hi, decades);
      lo = std::min(lo, decades);
    }
  return std::fabs(hi - lo) < kMaxDecades;
}

FaceSolution SolveFaceCoefficients(double yNear, double aNear, double bNear, double yFar, double aFar,
                                   double bFar) {
  FaceSolution solution;
  TMatrix system = FaceSystemMatrix(yNear, yFar);
  if (!IsFaceSystemWellConditioned(system)) {
    solution.status = FaceSolveStatus::kIllConditioned;
    return solution;
  }
  if (!system.Invert()) {
    solution.status = FaceSolveStatus::kSingular;
    return solution;
  }
  for (int row : {1, 4}) {
    solution.nearGain += std::pow(system.Element(1, row), 2) + std::pow(system.Element(2, row), 2);
    solution.farGain += std::pow(system.Element(3, row), 2) + std::pow(system.Element(4, row), 2);
  }
  solution.nearGain = std::sqrt(solution.nearGain);
  solution.farGain = std::sqrt(solution.farGain);
  TMatrix measured(1, 4);
  measured.SetElement(1, 1, aNear);
  measured.SetElement(1, 2, bNear);
  measured.SetElement(1, 3, aFar);
  measured.SetElement(1, 4, bFar);
  TMatrix x(1, 4);
  system.Multiply(measured, x);
  for (int i = 0; i < 4; ++i) solution.x[static_cast<size_t>(i)] = x.Element(1, i + 1);
  solution.status = FaceSolveStatus::kSolved;
  return solution;
}

}  // namespace kolma

