#include "tests/core/analysis/heat_equation_reference.h"

#include <algorithm>
#include <cmath>

namespace kolma::testing {

CrankNicolsonSlab::CrankNicolsonSlab(double xu, double xd, int intervals, double diffusivity, double timeStep)
    : xu_(xu),
      dx_((xd - xu) / intervals),
      intervals_(intervals),
      halfR_(diffusivity * timeStep / (2.0 * dx_ * dx_)),
      values_(static_cast<size_t>(intervals) + 1, 0.0),
      forward_(static_cast<size_t>(intervals) + 1, 0.0),
      pivots_(static_cast<size_t>(intervals) + 1, 0.0),
      rhs_(static_cast<size_t>(intervals) + 1, 0.0) {
  // Interior system (1 + 2 h) u_j - h (u_{j-1} + u_{j+1}) = rhs_j, factored once.
  const double diagonal = 1.0 + 2.0 * halfR_, off = -halfR_;
  for (int j = 1; j < intervals_; ++j) {
    const double pivot = j == 1 ? diagonal : diagonal - off * forward_[static_cast<size_t>(j - 1)];
    pivots_[static_cast<size_t>(j)] = pivot;
    forward_[static_cast<size_t>(j)] = off / pivot;
  }
}

void CrankNicolsonSlab::SetProfile(const std::function<double(double)>& profile) {
  for (int j = 0; j <= intervals_; ++j) values_[static_cast<size_t>(j)] = profile(X(j));
}

void CrankNicolsonSlab::Advance(double upstreamFace, double downstreamFace) {
  std::vector<double>& u = values_;
  const double h = halfR_;
  for (int j = 1; j < intervals_; ++j) {
    const auto sj = static_cast<size_t>(j);
    rhs_[sj] = u[sj] + h * (u[sj - 1] - 2.0 * u[sj] + u[sj + 1]);
  }
  rhs_[1] += h * upstreamFace;
  rhs_[static_cast<size_t>(intervals_ - 1)] += h * downstreamFace;
  // Thomas algorithm with the factors of the constructor.
  const double off = -h;
  for (int j = 1; j < intervals_; ++j) {
    const auto sj = static_cast<size_t>(j);
    const double carried = j == 1 ? 0.0 : off * rhs_[sj - 1];
    rhs_[sj] = (rhs_[sj] - carried) / pivots_[sj];
  }
  for (int j = intervals_ - 2; j >= 1; --j) {
    const auto sj = static_cast<size_t>(j);
    rhs_[sj] -= forward_[sj] * rhs_[sj + 1];
  }
  for (int j = 1; j < intervals_; ++j) u[static_cast<size_t>(j)] = rhs_[static_cast<size_t>(j)];
  u[0] = upstreamFace;
  u[static_cast<size_t>(intervals_)] = downstreamFace;
}

double CrankNicolsonSlab::ValueAt(double x) const {
  const double position = std::clamp((x - xu_) / dx_, 0.0, static_cast<double>(intervals_));
  const int j = std::min(static_cast<int>(std::floor(position)), intervals_ - 1);
  const double frac = position - j;
  if (frac < 1e-9) return values_[static_cast<size_t>(j)];
  if (frac > 1.0 - 1e-9) return values_[static_cast<size_t>(j) + 1];
  return values_[static_cast<size_t>(j)] + frac * (values_[static_cast<size_t>(j) + 1] - values_[static_cast<size_t>(j)]);
}

void RunSlab(CrankNicolsonSlab& slab, double start, double timeStep, long steps,
             const std::function<double(double)>& upstream, const std::function<double(double)>& downstream,
             const std::function<void(double)>& observe) {
  for (long s = 1; s <= steps; ++s) {
    const double t = start + static_cast<double>(s) * timeStep;
    slab.Advance(upstream(t), downstream(t));
    if (observe) observe(t);
  }
}

}  // namespace kolma::testing
