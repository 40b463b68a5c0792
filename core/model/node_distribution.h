#pragma once
// Node positions across the section: finest at both faces, the spacing growing
// linearly to Ratio times the first spacing in the middle.
#include <string>

#include "core/numeric/vector.h"

namespace kolma {

// Largest number of divisions accepted, also from a project file: twenty times what the
// section dialog offers, and low enough that an analysis of ten years of hourly steps
// (1001 nodes x 87,600 steps x 8 bytes, 0.7 GB) stays under the 1 GB it may take.
inline constexpr int kMaxNodeDivisions = 1000;

// Fills target with N + 1 increasing positions from Xu to Xd and returns true.
// Returns false, target untouched, unless 3 <= N <= kMaxNodeDivisions, Xu < Xd,
// r > 0 and every value is finite (and the positions come out strictly increasing).
bool ComputeNodes(int N, TVector& target, double Xu, double Xd, double r);

// Why ComputeNodes refuses these values, as a sentence for the user (what is wrong and what
// to change); empty when it computes them.
std::string NodeDistributionProblem(int N, double Xu, double Xd, double r);

}  // namespace kolma
