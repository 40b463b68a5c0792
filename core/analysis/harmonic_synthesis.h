#pragma once
// Summing harmonics at evenly spaced times. Every frequency of an analysis is a whole
// multiple of one fundamental, so the sum over harmonics at K steps is a chirp-z
// transform: O((K + B) log(K + B)) instead of K x harmonics cosines.
#include <complex>
#include <cstddef>
#include <cstdint>
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

// out[m] += sum over terms of a cos(2 pi bin m step / fundamentalPeriod)
//                          + b sin(2 pi bin m step / fundamentalPeriod), m = 0..out.size()-1.
// Negative bins are folded onto positive ones; repeated bins add up.
void AddHarmonicSum(const std::vector<HarmonicTerm>& terms, double step, double fundamentalPeriod,
                    std::vector<double>& out);

// The same sum evaluated term by term: the reference the fast form is tested against.
void AddHarmonicSumLiteral(const std::vector<HarmonicTerm>& terms, double step, double fundamentalPeriod,
                           std::vector<double>& out);

}  // namespace kolma
