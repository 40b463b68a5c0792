#pragma once
// Summing harmonics at evenly spaced times, by one of two roads. Every frequency of an
// analysis is a whole multiple of one fundamental, so the sum over B bins at K steps is a
// chirp-z transform: O((K + B) log B) whatever number of bins hold a term. Summed term by
// term, it costs K x terms: cheaper when few bins hold a term (53 retained harmonics among
// 4,350 bins of a ten-year record). Both give the same sums to rounding.
#include <complex>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/numeric/fast_fourier.h"

namespace kolma {

// One harmonic: value(t) = a cos(2 pi bin t / period) + b sin(2 pi bin t / period).
struct HarmonicTerm {
  std::int64_t bin = 0;  // whole multiple of the fundamental frequency
  double a = 0.0;        // cosine coefficient
  double b = 0.0;        // sine coefficient
};

// Sums over bins 0..binCount-1 at the times m x step, m = 0..steps-1, prepared once (chirps
// and kernel spectrum) and then evaluated for any number of coefficient sets at the cost of
// two transforms each. The phases are reduced to whole turns in extended precision before
// any sine or cosine, so long records lose no accuracy. Bin counts up to 2^22.
class THarmonicSumPlan {
 public:
  THarmonicSumPlan(std::int64_t binCount, std::int64_t steps, double step, double fundamentalPeriod);

  std::int64_t BinCount() const { return bins_; }
  std::int64_t Steps() const { return steps_; }

  // out[m x outStride] += Re(sum_k coefficients[k] exp(i 2 pi k m step / period)) for every
  // step m; coefficients holds BinCount() values, c_k = a_k - i b_k.
  void Add(const std::complex<double>* coefficients, double* out, std::ptrdiff_t outStride = 1);

 private:
  std::int64_t bins_, steps_;
  std::int64_t chunkSteps_ = 0;  // steps per convolution
  std::vector<std::complex<double>> chirp_;       // exp(i pi theta j^2)
  std::vector<std::complex<double>> preChirps_;   // per chunk: exp(i 2 pi theta k (m0 + k / 2))
  std::vector<std::complex<double>> kernel_;      // spectrum of exp(-i pi theta j^2)
  TFastFourier work_;
};

enum class TSynthesisRoad { Direct, Transform };

// Estimated work (in units of about a nanosecond) of summing `terms` harmonics whose highest
// bin is binCount - 1, at `steps` steps, for `points` coefficient sets, by each road.
double DirectSumCost(std::int64_t terms, std::int64_t steps, std::int64_t points);
double TransformSumCost(std::int64_t binCount, std::int64_t steps, std::int64_t points);
TSynthesisRoad CheaperSynthesisRoad(std::int64_t terms, std::int64_t binCount, std::int64_t steps,
                                    std::int64_t points);

// Where the sum of one point goes: values[m x stride] for the steps m.
struct TSynthesisTarget {
  double* values = nullptr;
  std::ptrdiff_t stride = 1;
};

// The harmonics of one analysis summed at the steps m x step, m = 0..steps-1, for many points
// that share the bins and differ in their coefficients; the road is the cheaper one unless
// one is asked for.
class THarmonicSynthesis {
 public:
  // The direct road takes its phases afresh at every multiple of this many steps: a window
  // of the record that starts there sums to exactly what one Add over the whole record gives.
  static constexpr std::int64_t kWindowSteps = 1024;

  // bins: the whole multiples of the fundamental that hold a term, each >= 0, in the order of
  // the coefficients given to Add.
  THarmonicSynthesis(std::vector<std::int64_t> bins, std::int64_t steps, double step, double fundamentalPeriod,
                     std::int64_t points, std::optional<TSynthesisRoad> road = std::nullopt);

  TSynthesisRoad Road() const { return road_; }
  // The road the constructor takes when none is asked for.
  static TSynthesisRoad CheaperRoad(const std::vector<std::int64_t>& bins, std::int64_t steps, std::int64_t points);

  // targets[p].values[m x stride] += Re(sum_h coefficients[p x terms + h] exp(i 2 pi bin_h m step / period))
  // for every point p (coefficients holds targets.size() x bins.size() values, c = a - i b).
  // `progress` is told the fraction done now and then; when it returns false the sum stops
  // and Add returns false, with the targets partly summed.
  bool Add(const std::vector<std::complex<double>>& coefficients, const std::vector<TSynthesisTarget>& targets,
           const std::function<bool(double)>& progress = {});
  // The same with the coefficients of point p written by coefficients(p, c) into c[0..terms),
  // asked for when the road needs them (the transforms one point at a time).
  using TCoefficients = std::function<void(std::size_t point, std::complex<double>* c)>;
  bool Add(const TCoefficients& coefficients, const std::vector<TSynthesisTarget>& targets,
           const std::function<bool(double)>& progress = {});

  // A long record a window at a time, on the direct road only: Keep takes the coefficients
  // of every point once, then AddWindow sums the steps first..first+count-1 (first a multiple
  // of kWindowSteps) into targets[p].values[(m - first) x stride] for each kept point p.
  void Keep(const TCoefficients& coefficients, std::size_t points);
  void AddWindow(const std::vector<TSynthesisTarget>& targets, std::int64_t first, std::int64_t count);

 private:
  bool SumDirect(const std::vector<TSynthesisTarget>& targets, std::int64_t first, std::int64_t count,
                 const std::function<bool(double)>& progress);

  std::vector<std::int64_t> bins_;
  std::int64_t steps_;
  double step_, period_;
  TSynthesisRoad road_;
  std::optional<THarmonicSumPlan> plan_;
  // Direct road: the phasor of term h advances by within_[h][b] from a block start to step b
  // of the block, and by across_[h] from one block start to the next; the kept coefficients.
  std::vector<std::complex<double>> within_, across_;
  std::vector<double> re_, im_;
};

// out[m] += sum over terms of a cos(2 pi bin m step / fundamentalPeriod)
//                          + b sin(2 pi bin m step / fundamentalPeriod), m = 0..out.size()-1.
// Negative bins are folded onto positive ones; repeated bins add up.
void AddHarmonicSum(const std::vector<HarmonicTerm>& terms, double step, double fundamentalPeriod,
                    std::vector<double>& out);

// The same sum evaluated term by term: the reference the fast form is tested against.
void AddHarmonicSumLiteral(const std::vector<HarmonicTerm>& terms, double step, double fundamentalPeriod,
                           std::vector<double>& out);

}  // namespace kolma
