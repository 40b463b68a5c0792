#pragma once
// Node positions across the section: finest at both faces, the spacing growing
// linearly to Ratio times the first spacing in the middle.
#include "core/numeric/vector.h"

namespace kolma {

// Largest number of divisions accepted; far above anything an analysis can use,
// low enough that a damaged project file cannot ask for an absurd allocation.
inline constexpr int kMaxNodeDivisions = 100000;

// Fills target with N + 1 increasing positions from Xu to Xd and returns true.
// Returns false, target untouched, unless 3 <= N <= kMaxNodeDivisions, Xu < Xd,
// r > 0 and every value is finite (and the positions come out strictly increasing).
bool ComputeNodes(int N, TVector& target, double Xu, double Xd, double r);

}  // namespace kolma
