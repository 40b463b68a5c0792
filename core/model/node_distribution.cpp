#include "core/model/node_distribution.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/model/message_number.h"

namespace kolma {

std::string NodeDistributionProblem(int N, double Xu, double Xd, double r) {
  if (N < 3 || N > kMaxNodeDivisions)
    return "The number of divisions (" + std::to_string(N) + ") must lie between 3 and " +
           std::to_string(kMaxNodeDivisions) + ".";
  if (!std::isfinite(Xu) || !std::isfinite(Xd) || !(Xu < Xd) || !std::isfinite(Xd - Xu))
    return "The downstream face must lie beyond the upstream face, both at finite positions.";
  if (!std::isfinite(r) || r <= 0.0) return "The spacing ratio (" + MessageNumber(r) + ") must be a positive number.";
  TVector nodes;
  if (ComputeNodes(N, nodes, Xu, Xd, r)) return {};
  return "With " + std::to_string(N) + " divisions and a spacing ratio of " + MessageNumber(r) +
         ", the nodes next to the faces fall closer together than the positions of the section (" + MessageNumber(Xu) +
         " m to " + MessageNumber(Xd) + " m) can tell apart. Choose a smaller spacing ratio or fewer divisions.";
}

bool ComputeNodes(int N, TVector& target, double Xu, double Xd, double r) {
  // Fewer than 3 divisions leave no spacing to grade (the growth divides by zero);
  // r <= 0 would make the middle spacings zero or negative.
  if (N < 3 || N > kMaxNodeDivisions) return false;
  if (!std::isfinite(Xu) || !std::isfinite(Xd) || !std::isfinite(r) || r <= 0.0) return false;
  if (!(Xu < Xd)) return false;
  const double L = Xd - Xu;
  if (!std::isfinite(L)) return false;

  const double n = N;
  double a, g;
  if (N % 2 == 1) {
    a = (n - 3) * (r + 1) / 2 + (r + 2);
    g = (r - 1) / ((n - 3) / 2 + 1);
  } else {
    a = (r + 1) * 2 + (n - 4) * (r + 1) / 2;
    g = (r - 1) / (n / 2 - 1);
  }
  const double h = L / a;  // first spacing; g is the growth per division in units of h

  std::vector<double> x(static_cast<size_t>(N) + 2);  // x[1..N+1], x[0] unused
  x[1] = Xu;
  x[static_cast<size_t>(N) + 1] = Xd;
  for (int i = 2; i <= N / 2 + 1; ++i) x[i] = x[i - 1] + (1 + (i - 2) * g) * h;
  for (int i = N; i >= N / 2 + 2; --i) x[i] = x[i + 1] - (1 + (N - i) * g) * h;

  // Extreme values can still overflow or collapse neighbouring nodes onto each other.
  for (int i = 2; i <= N + 1; ++i)
    if (!std::isfinite(x[i]) || !(x[i - 1] < x[i])) return false;

  if (!target.Resize(N + 1)) return false;
  std::copy(x.begin() + 1, x.end(), target.Data());
  return true;
}

}  // namespace kolma
