#include "core/analysis/harmonic_synthesis.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>

namespace kolma {

namespace {

using Complex = std::complex<double>;

constexpr std::int64_t kMaxBins = std::int64_t{1} << 22;
// Convolutions at least this long are never split into chunks.
constexpr std::int64_t kMinChunkedSize = 8192;

// Costs measured on a 2-core x86-64 machine, in nanoseconds: one term at one step for one
// point on the direct road; one point of one transform pass (per level of the transform) and
// one point of the per-chunk products on the other.
constexpr double kDirectTermCost = 0.35;
constexpr double kTransformPointCost = 1.1;
constexpr double kChunkPointCost = 4.0;

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

struct ChunkLayout {
  std::int64_t size = 0;        // transform length
  std::int64_t chunkSteps = 0;  // steps per convolution
  std::int64_t chunks = 0;
};

double LayoutCost(const ChunkLayout& layout) {
  const double size = static_cast<double>(layout.size);
  return static_cast<double>(layout.chunks) * size * (2.0 * std::log2(size) * kTransformPointCost + kChunkPointCost);
}

ChunkLayout Layout(std::int64_t bins, std::int64_t steps, std::int64_t size) {
  const std::int64_t single = PowerOfTwoAtLeast(bins + steps - 1);
  ChunkLayout layout{size, size >= single ? steps : size - bins + 1, 0};
  layout.chunks = (steps + layout.chunkSteps - 1) / layout.chunkSteps;
  return layout;
}

// The transform length with the least work: a chunk of a few times the bins carries most
// steps per transformed point, so the cost stays proportional to the record length. The
// length taken before this choice existed is one of the candidates.
ChunkLayout CheapestLayout(std::int64_t bins, std::int64_t steps) {
  const std::int64_t single = PowerOfTwoAtLeast(bins + steps - 1);
  const std::int64_t cap = std::max(PowerOfTwoAtLeast(2 * bins), kMinChunkedSize);
  ChunkLayout best = Layout(bins, steps, std::max<std::int64_t>(std::min(single, cap), 2));
  for (std::int64_t size = std::max<std::int64_t>(PowerOfTwoAtLeast(bins), 2); size <= single; size *= 2) {
    const ChunkLayout candidate = Layout(bins, steps, size);
    if (LayoutCost(candidate) < LayoutCost(best)) best = candidate;
  }
  return best;
}

}  // namespace

double DirectSumCost(std::int64_t terms, std::int64_t steps, std::int64_t points) {
  return kDirectTermCost * static_cast<double>(terms) * static_cast<double>(steps) * static_cast<double>(points);
}

double TransformSumCost(std::int64_t binCount, std::int64_t steps, std::int64_t points) {
  if (binCount <= 0 || steps <= 0) return 0.0;
  const ChunkLayout layout = CheapestLayout(std::min(binCount, kMaxBins), steps);
  // The plan (chirps, kernel) once, then the chunks of every point.
  return LayoutCost(layout) * (static_cast<double>(points) + 0.5) +
         20.0 * static_cast<double>(layout.chunks * binCount + layout.chunkSteps);
}

TSynthesisRoad CheaperSynthesisRoad(std::int64_t terms, std::int64_t binCount, std::int64_t steps,
                                    std::int64_t points) {
  if (binCount > kMaxBins) return TSynthesisRoad::Direct;
  return DirectSumCost(terms, steps, points) <= TransformSumCost(binCount, steps, points) ? TSynthesisRoad::Direct
                                                                                         : TSynthesisRoad::Transform;
}

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

  const ChunkLayout layout = CheapestLayout(bins_, steps_);
  const std::int64_t size = layout.size;
  chunkSteps_ = layout.chunkSteps;
  const std::int64_t chunks = layout.chunks;

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

namespace {

// Steps summed together on the direct road: their phasors of every term stay in the first
// level cache, and their sums in registers.
constexpr int kDirectBlock = 16;
// Phasors of a block start are carried from block to block by one product, and computed
// afresh every THarmonicSynthesis::kWindowSteps steps so that rounding cannot build up.
// Room for the phasors of a group of blocks, summed for every point in turn.
constexpr std::int64_t kGroupTableBytes = 24 * 1024;
static_assert(THarmonicSynthesis::kWindowSteps % kDirectBlock == 0);

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define KOLMA_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define KOLMA_VECTOR_CLONES
#endif

// sums[b] = sum_h re[h] cosines[h][b] + im[h] sines[h][b]: Re(c p) with the sines stored negated;
// sums is 32-byte aligned.
// The sums of a block stay in registers, four steps to a vector.
#if defined(__GNUC__)
typedef double Four __attribute__((vector_size(32)));
typedef double LooseFour __attribute__((vector_size(32), aligned(8), may_alias));  // any double's address

KOLMA_VECTOR_CLONES
void SumBlock(const double* re, const double* im, const double* cosines, const double* sines, std::size_t terms,
              double* sums) {
  static_assert(kDirectBlock == 16);
  Four acc0 = {}, acc1 = {}, acc2 = {}, acc3 = {};
  for (std::size_t h = 0; h < terms; ++h) {
    const double a = re[h], d = im[h];
    const auto* c = reinterpret_cast<const LooseFour*>(cosines + h * kDirectBlock);
    const auto* s = reinterpret_cast<const LooseFour*>(sines + h * kDirectBlock);
    acc0 += c[0] * a + s[0] * d;
    acc1 += c[1] * a + s[1] * d;
    acc2 += c[2] * a + s[2] * d;
    acc3 += c[3] * a + s[3] * d;
  }
  auto* out = reinterpret_cast<LooseFour*>(sums);
  out[0] = acc0;
  out[1] = acc1;
  out[2] = acc2;
  out[3] = acc3;
}
#else
void SumBlock(const double* re, const double* im, const double* cosines, const double* sines, std::size_t terms,
              double* sums) {
  double acc[kDirectBlock] = {};
  for (std::size_t h = 0; h < terms; ++h) {
    const double* c = cosines + h * kDirectBlock;
    const double* s = sines + h * kDirectBlock;
    for (int b = 0; b < kDirectBlock; ++b) acc[b] += c[b] * re[h] + s[b] * im[h];
  }
  for (int b = 0; b < kDirectBlock; ++b) sums[b] = acc[b];
}
#endif

}  // namespace

namespace {

std::int64_t BinCount(const std::vector<std::int64_t>& bins) {
  std::int64_t count = 0;
  for (std::int64_t bin : bins) count = std::max(count, bin + 1);
  return count;
}

}  // namespace

TSynthesisRoad THarmonicSynthesis::CheaperRoad(const std::vector<std::int64_t>& bins, std::int64_t steps,
                                               std::int64_t points) {
  return CheaperSynthesisRoad(static_cast<std::int64_t>(bins.size()), BinCount(bins), std::max<std::int64_t>(steps, 0),
                              points);
}

THarmonicSynthesis::THarmonicSynthesis(std::vector<std::int64_t> bins, std::int64_t steps, double step,
                                       double fundamentalPeriod, std::int64_t points,
                                       std::optional<TSynthesisRoad> road)
    : bins_(std::move(bins)), steps_(std::max<std::int64_t>(steps, 0)), step_(step), period_(fundamentalPeriod) {
  road_ = road ? *road : CheaperRoad(bins_, steps_, points);
  if (BinCount(bins_) > kMaxBins) road_ = TSynthesisRoad::Direct;
  if (road_ == TSynthesisRoad::Transform) {
    plan_.emplace(BinCount(bins_), steps_, step_, period_);
    return;
  }
  const long double theta = static_cast<long double>(step_) / static_cast<long double>(period_);
  const size_t terms = bins_.size();
  within_.resize(terms * kDirectBlock);
  across_.resize(terms);
  for (size_t h = 0; h < terms; ++h) {
    const long double bin = static_cast<long double>(bins_[h]);
    for (int b = 0; b < kDirectBlock; ++b) within_[h * kDirectBlock + b] = Turn(theta * bin * b);
    across_[h] = Turn(theta * bin * kDirectBlock);
  }
}

bool THarmonicSynthesis::Add(const std::vector<Complex>& coefficients, const std::vector<TSynthesisTarget>& targets,
                             const std::function<bool(double)>& progress) {
  const size_t terms = bins_.size();
  return Add([&](size_t point, Complex* c) { std::copy_n(coefficients.data() + point * terms, terms, c); }, targets,
             progress);
}

bool THarmonicSynthesis::Add(const TCoefficients& coefficients, const std::vector<TSynthesisTarget>& targets,
                             const std::function<bool(double)>& progress) {
  if (road_ == TSynthesisRoad::Direct) {
    Keep(coefficients, targets.size());
    return SumDirect(targets, 0, steps_, progress);
  }
  std::vector<Complex> spectrum(static_cast<size_t>(plan_->BinCount()));
  const size_t terms = bins_.size();
  std::vector<Complex> point(terms);
  // Every point writes the same bins: unless a bin comes twice, they are simply overwritten.
  std::vector<std::int64_t> sorted = bins_;
  std::sort(sorted.begin(), sorted.end());
  const bool repeated = std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
  for (size_t p = 0; p < targets.size(); ++p) {
    coefficients(p, point.data());
    if (repeated) {
      std::fill(spectrum.begin(), spectrum.end(), Complex(0.0, 0.0));
      for (size_t h = 0; h < terms; ++h) spectrum[static_cast<size_t>(bins_[h])] += point[h];
    } else {
      for (size_t h = 0; h < terms; ++h) spectrum[static_cast<size_t>(bins_[h])] = point[h];
    }
    plan_->Add(spectrum.data(), targets[p].values, targets[p].stride);
    if (progress && !progress(static_cast<double>(p + 1) / static_cast<double>(targets.size()))) return false;
  }
  return true;
}

void THarmonicSynthesis::Keep(const TCoefficients& coefficients, std::size_t points) {
  const size_t terms = bins_.size();
  re_.assign(points * terms, 0.0);
  im_.assign(points * terms, 0.0);
  std::vector<Complex> point(terms);
  for (size_t p = 0; p < points; ++p) {
    coefficients(p, point.data());
    for (size_t h = 0; h < terms; ++h) {
      re_[p * terms + h] = point[h].real();
      im_[p * terms + h] = point[h].imag();
    }
  }
}

void THarmonicSynthesis::AddWindow(const std::vector<TSynthesisTarget>& targets, std::int64_t first,
                                   std::int64_t count) {
  SumDirect(targets, first, count, {});
}

bool THarmonicSynthesis::SumDirect(const std::vector<TSynthesisTarget>& targets, std::int64_t first,
                                   std::int64_t count, const std::function<bool(double)>& progress) {
  const size_t terms = bins_.size();
  const std::int64_t end = std::min(steps_, first + count);
  // Only points whose coefficients are kept can be summed.
  const size_t points = terms == 0 ? 0 : std::min(targets.size(), re_.size() / terms);
  if (points == 0 || first >= end) return !progress || progress(1.0);
  const long double theta = static_cast<long double>(step_) / static_cast<long double>(period_);
  std::vector<Complex> start(terms);
  // A group of blocks whose phasors fit the first level cache is summed point after point.
  const std::int64_t groupBlocks =
      std::max<std::int64_t>(1, kGroupTableBytes / static_cast<std::int64_t>(terms * kDirectBlock * 2 * sizeof(double)));
  const std::int64_t firstBlock = first / kDirectBlock;
  const std::int64_t blocks = (end + kDirectBlock - 1) / kDirectBlock - firstBlock;
  const std::int64_t groups = (blocks + groupBlocks - 1) / groupBlocks;
  const size_t blockTable = terms * kDirectBlock;
  // The tables start on a 32-byte boundary, as whole vectors are read from them.
  const size_t tableSize = static_cast<size_t>(groupBlocks) * blockTable;
  std::vector<double> cosineRoom(tableSize + 4), sineRoom(tableSize + 4);
  const auto aligned = [](double* p) {
    return p + (32 - reinterpret_cast<std::uintptr_t>(p) % 32) % 32 / sizeof(double);
  };
  double* const cosines = aligned(cosineRoom.data());
  double* const sines = aligned(sineRoom.data());
  alignas(32) double sums[kDirectBlock];  // written as whole vectors
  for (std::int64_t group = 0; group < groups; ++group) {
    const std::int64_t groupStart = firstBlock + group * groupBlocks;
    const std::int64_t groupEnd = std::min(firstBlock + blocks, groupStart + groupBlocks);
    for (std::int64_t block = groupStart; block < groupEnd; ++block) {
      const std::int64_t m0 = block * kDirectBlock;
      double* c = cosines + static_cast<size_t>(block - groupStart) * blockTable;
      double* s = sines + static_cast<size_t>(block - groupStart) * blockTable;
      for (size_t h = 0; h < terms; ++h) {
        if (m0 % kWindowSteps == 0 || block == firstBlock)
          start[h] = Turn(theta * static_cast<long double>(bins_[h]) * static_cast<long double>(m0));
        else
          start[h] *= across_[h];
        for (int b = 0; b < kDirectBlock; ++b) {
          const Complex phasor = start[h] * within_[h * kDirectBlock + b];
          c[h * kDirectBlock + b] = phasor.real();
          s[h * kDirectBlock + b] = -phasor.imag();
        }
      }
    }
    for (size_t p = 0; p < points; ++p) {
      for (std::int64_t block = groupStart; block < groupEnd; ++block) {
        const std::int64_t m0 = block * kDirectBlock;
        const size_t at = static_cast<size_t>(block - groupStart) * blockTable;
        SumBlock(re_.data() + p * terms, im_.data() + p * terms, cosines + at, sines + at, terms, sums);
        const std::int64_t from = std::max(m0, first);
        const std::int64_t to = std::min(m0 + kDirectBlock, end);
        double* out = targets[p].values + (from - first) * targets[p].stride;
        for (std::int64_t m = from; m < to; ++m, out += targets[p].stride) *out += sums[m - m0];
      }
      const double done = static_cast<double>(group * static_cast<std::int64_t>(points) +
                                              static_cast<std::int64_t>(p) + 1) /
                          static_cast<double>(groups * static_cast<std::int64_t>(points));
      if (progress && !progress(done)) return false;
    }
  }
  return true;
}

void AddHarmonicSum(const std::vector<HarmonicTerm>& terms, double step, double fundamentalPeriod,
                    std::vector<double>& out) {
  if (terms.empty() || out.empty()) return;
  // sin(-x) = -sin(x): a negative bin is the positive one with the sine coefficient negated;
  // repeated bins are gathered into one term.
  std::vector<std::int64_t> bins;
  std::vector<Complex> coefficients;
  std::vector<std::pair<std::int64_t, Complex>> folded;
  for (const HarmonicTerm& term : terms)
    folded.push_back({Magnitude(term.bin), Complex(term.a, term.bin < 0 ? term.b : -term.b)});
  std::stable_sort(folded.begin(), folded.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [bin, c] : folded) {
    if (!bins.empty() && bins.back() == bin) {
      coefficients.back() += c;
    } else {
      bins.push_back(bin);
      coefficients.push_back(c);
    }
  }
  THarmonicSynthesis synthesis(std::move(bins), static_cast<std::int64_t>(out.size()), step, fundamentalPeriod, 1);
  synthesis.Add(coefficients, {{out.data(), 1}});
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
