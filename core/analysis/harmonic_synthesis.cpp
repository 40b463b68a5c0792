#include "core/analysis/harmonic_synthesis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kolma {

namespace {

using Complex = std::complex<double>;

constexpr std::int64_t kMaxBins = std::int64_t{1} << 22;
// Convolutions at least this long are never split into chunks.
constexpr std::int64_t kMinChunkedSize = 8192;

std::int64_t Magnitude(std::int64_t v) { return v < 0 ? -v : v; }

std::int64_t PowerOfTwoAtLeast(std::int64_t n) {
  std::int64_t p = 1;
  while (p < n) p *= 2;
  return p;
}

// exp(i 2 pi cycles), reduced to a fraction of a turn first: the whole turns, which may
// number in the millions, would otherwise cost the double angle its last digits.
Complex Turn(long double cycles) {
  const long double fraction = cycles - std::floor(cycles);
  const double angle = 2.0 * std::numbers::pi * static_cast<double>(fraction);
  return {std::cos(angle), std::sin(angle)};
}

}  // namespace

// Bluestein: k m = (k^2 + m^2 - (m - k)^2) / 2, so with chirp_j = w^{j^2 / 2},
// X_m = chirp_m sum_k (c_k chirp_k) conj(chirp_{m-k}): a convolution done by transforms.
// Long runs of steps are cut into chunks starting at m0, whose coefficients are turned by
// w^{k m0} first, so that the transform size follows the bins and not the record length.
THarmonicSumPlan::THarmonicSumPlan(std::int64_t binCount, std::int64_t steps, double step,
                                   double fundamentalPeriod)
    : bins_(std::max<std::int64_t>(binCount, 0)), steps_(std::max<std::int64_t>(steps, 0)) {
  if (bins_ == 0 || steps_ == 0) return;
  if (bins_ > kMaxBins) bins_ = kMaxBins;
  const long double theta = static_cast<long double>(step) / static_cast<long double>(fundamentalPeriod);

  const std::int64_t single = PowerOfTwoAtLeast(bins_ + steps_ - 1);
  const std::int64_t cap = std::max(PowerOfTwoAtLeast(2 * bins_), kMinChunkedSize);
  const std::int64_t size = std::max<std::int64_t>(std::min(single, cap), 2);
  chunkSteps_ = single <= cap ? steps_ : size - bins_ + 1;
  const std::int64_t chunks = (steps_ + chunkSteps_ - 1) / chunkSteps_;

  const std::int64_t chirpLength = std::max(bins_, chunkSteps_);
  chirp_.resize(static_cast<size_t>(chirpLength));
  for (std::int64_t j = 0; j < chirpLength; ++j)
    chirp_[static_cast<size_t>(j)] = Turn(theta * static_cast<long double>(j * j) * 0.5L);

  preChirps_.resize(static_cast<size_t>(chunks * bins_));
  for (std::int64_t c = 0; c < chunks; ++c) {
    const std::int64_t m0 = c * chunkSteps_;
    for (std::int64_t k = 0; k < bins_; ++k)
      preChirps_[static_cast<size_t>(c * bins_ + k)] =
          Turn(theta * static_cast<long double>(k * (2 * m0 + k)) * 0.5L);
  }

  work_.SetSpectrumSize(static_cast<int>(size));
  Complex* points = work_.Points();
  for (std::int64_t j = -(bins_ - 1); j < chunkSteps_; ++j)
    points[static_cast<size_t>((j + size) % size)] = std::conj(chirp_[static_cast<size_t>(Magnitude(j))]);
  work_.Transform();
  kernel_.assign(points, points + size);
}

void THarmonicSumPlan::Add(const Complex* coefficients, double* out, std::ptrdiff_t outStride) {
  if (bins_ == 0 || steps_ == 0) return;
  const size_t size = kernel_.size();
  Complex* points = work_.Points();
  for (std::int64_t m0 = 0, chunk = 0; m0 < steps_; m0 += chunkSteps_, ++chunk) {
    const Complex* pre = preChirps_.data() + chunk * bins_;
    for (std::int64_t k = 0; k < bins_; ++k) points[k] = coefficients[k] * pre[k];
    std::fill(points + bins_, points + size, Complex(0.0, 0.0));
    work_.Transform();
    for (size_t i = 0; i < size; ++i) points[i] *= kernel_[i];
    work_.InverseTransform();
    const std::int64_t count = std::min(chunkSteps_, steps_ - m0);
    double* target = out + m0 * outStride;
    for (std::int64_t m = 0; m < count; ++m) {
      const Complex c = chirp_[static_cast<size_t>(m)], z = points[m];
      target[m * outStride] += c.real() * z.real() - c.imag() * z.imag();
    }
  }
}

void AddHarmonicSum(const std::vector<HarmonicTerm>& terms, double step, double fundamentalPeriod,
                    std::vector<double>& out) {
  if (terms.empty() || out.empty()) return;
  std::int64_t binCount = 0;
  for (const HarmonicTerm& term : terms) binCount = std::max(binCount, Magnitude(term.bin) + 1);
  if (binCount > kMaxBins) {
    AddHarmonicSumLiteral(terms, step, fundamentalPeriod, out);
    return;
  }
  // sin(-x) = -sin(x): a negative bin is the positive one with the sine coefficient negated.
  std::vector<Complex> coefficients(static_cast<size_t>(binCount));
  for (const HarmonicTerm& term : terms)
    coefficients[static_cast<size_t>(Magnitude(term.bin))] += Complex(term.a, term.bin < 0 ? term.b : -term.b);
  THarmonicSumPlan plan(binCount, static_cast<std::int64_t>(out.size()), step, fundamentalPeriod);
  plan.Add(coefficients.data(), out.data());
}

void AddHarmonicSumLiteral(const std::vector<HarmonicTerm>& terms, double step, double fundamentalPeriod,
                           std::vector<double>& out) {
  for (size_t m = 0; m < out.size(); ++m) {
    double sum = 0.0;
    for (const HarmonicTerm& term : terms) {
      const double angle = 2.0 * std::numbers::pi * static_cast<double>(term.bin) * static_cast<double>(m) *
                           step / fundamentalPeriod;
      sum += term.a * std::cos(angle) + term.b * std::sin(angle);
    }
    out[m] += sum;
  }
}

}  // namespace kolma
