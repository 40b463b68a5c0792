#pragma once
// An independent check of the harmonic solutions: the heat equation dT/dt = alpha d2T/dx2
// on a slab, stepped in time by Crank-Nicolson on a uniform grid with the two face
// temperatures imposed.
#include <functional>
#include <vector>

namespace kolma::testing {

class CrankNicolsonSlab {
 public:
  CrankNicolsonSlab(double xu, double xd, int intervals, double diffusivity, double timeStep);

  // Grid point j = 0..intervals.
  double X(int j) const { return xu_ + j * dx_; }
  int Intervals() const { return intervals_; }
  const std::vector<double>& Values() const { return values_; }

  // Every grid value, faces included, from a profile.
  void SetProfile(const std::function<double(double x)>& profile);

  // One time step; the face temperatures are those at the end of the step.
  void Advance(double upstreamFace, double downstreamFace);

  // Linear interpolation between the grid points (exact at grid points).
  double ValueAt(double x) const;

 private:
  double xu_, dx_;
  int intervals_;
  double halfR_;                      // alpha dt / (2 dx^2)
  std::vector<double> values_;
  std::vector<double> forward_;       // eliminated super-diagonal of the constant system
  std::vector<double> pivots_;
  std::vector<double> rhs_;
};

// Drives the slab with face temperatures given as functions of time, from time `start`
// for `steps` steps, calling `observe(time)` after each step.
void RunSlab(CrankNicolsonSlab& slab, double start, double timeStep, long steps,
             const std::function<double(double t)>& upstream, const std::function<double(double t)>& downstream,
             const std::function<void(double t)>& observe);

}  // namespace kolma::testing
