#include "core/numeric/fast_fourier.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>

#include "core/numeric/errors.h"

namespace kolma {

namespace {

using Cplx = std::complex<double>;

constexpr const char* kNotPowerOfTwo = "FFT data length must be power of 2";

// Written out so that the compiler does not add the NaN recovery path of operator*.
inline Cplx Mul(Cplx a, Cplx b) {
  return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

// a * (+i) for the forward transform, a * (-i) for the inverse.
template <bool Inverse>
inline Cplx QuarterTurn(Cplx a) {
  return Inverse ? Cplx(a.imag(), -a.real()) : Cplx(-a.imag(), a.real());
}

int Log2(std::size_t n) {
  int bits = 0;
  while ((std::size_t{1} << bits) < n) ++bits;
  return bits;
}

std::uint32_t Reverse32(std::uint32_t v) {
  v = ((v >> 1) & 0x55555555u) | ((v & 0x55555555u) << 1);
  v = ((v >> 2) & 0x33333333u) | ((v & 0x33333333u) << 2);
  v = ((v >> 4) & 0x0F0F0F0Fu) | ((v & 0x0F0F0F0Fu) << 4);
  v = ((v >> 8) & 0x00FF00FFu) | ((v & 0x00FF00FFu) << 8);
  return (v >> 16) | (v << 16);
}

// The lowest `bits` bits of v in reverse order.
std::size_t ReverseBits(std::size_t v, int bits) {
  return bits == 0 ? 0 : Reverse32(static_cast<std::uint32_t>(v)) >> (32 - bits);
}

// Blocks of up to kCacheBlock points are transformed entirely in cache.
constexpr std::size_t kCacheBlock = std::size_t{1} << 13;

// exp(+2 pi i k / n) for k < count (count <= n/4 + 1 is the first quadrant). Each value
// comes from its own sine and cosine (no recurrence, so no error build-up); the octant
// symmetry makes the table exactly symmetric and halves the trigonometric calls.
void FillQuadrant(Cplx* w, std::size_t n, std::size_t count) {
  if (n < 8) {
    for (std::size_t k = 0; k < count; ++k) w[k] = k == 0 ? Cplx(1.0, 0.0) : Cplx(0.0, 1.0);
    return;
  }
  const std::size_t quarter = n / 4, eighth = n / 8;
  for (std::size_t k = 0; k <= eighth && k < count; ++k) {
    const double angle = std::numbers::pi * (2.0 * static_cast<double>(k) / static_cast<double>(n));
    w[k] = Cplx(std::cos(angle), std::sin(angle));
  }
  for (std::size_t k = eighth + 1; k < count; ++k)
    w[k] = Cplx(w[quarter - k].imag(), w[quarter - k].real());
}

// The twiddle factors of an n-point transform, in one array:
// - the small table, exp(+2 pi i k / s) for k < s/2 with s = min(n, kCacheBlock), shared
//   (with a stride) by every level that runs inside a cache block;
// - for each level m = n, n/4, n/16, ... above kCacheBlock, exp(+2 pi i j / m) for
//   j < m/4, stored contiguously because these levels stream through memory.
// In all about n/3 + kCacheBlock/2 values, never more than n/2.
std::size_t TwiddleCount(std::size_t n) {
  std::size_t count = std::min(n, kCacheBlock) / 2;
  for (std::size_t m = n; m > kCacheBlock; m /= 4) count += m / 4;
  return count;
}

void FillTwiddles(std::vector<Cplx>& w, std::size_t n) {
  w.resize(TwiddleCount(n));
  const std::size_t s = std::min(n, kCacheBlock);
  Cplx* small = w.data();
  if (s >= 2) {
    FillQuadrant(small, s, s / 4 + 1);
    for (std::size_t k = s / 4 + 1; k < s / 2; ++k)  // second quadrant: exp(i a) = i exp(i (a - pi/2))
      small[k] = Cplx(-small[k - s / 4].imag(), small[k - s / 4].real());
  }
  Cplx* level = small + s / 2;
  if (n > kCacheBlock) {
    FillQuadrant(level, n, n / 4);
    for (std::size_t m = n / 4; m > kCacheBlock; m /= 4) {
      Cplx* next = level + m;  // the table of level 4m has m entries
      for (std::size_t j = 0; j < m / 4; ++j) next[j] = level[4 * j];
      level = next;
    }
  }
}

// In-place radix-2 decimation in frequency, two levels at a time (radix 2^2), leaving
// the result in bit-reversed order. Blocks larger than kCacheBlock are split level by
// level and their quarters finished depth-first, so that all the small levels run on
// data already in cache.
template <bool Inverse>
class DifTransform {
 public:
  DifTransform(Cplx* x, std::size_t n, const Cplx* twiddles)
      : x_(x), n_(n), small_(twiddles), smallSize_(std::min(n, kCacheBlock)) {}

  void Run() { Recurse(x_, n_, small_ + smallSize_ / 2); }

 private:
  static Cplx Conj(Cplx w) { return Inverse ? Cplx(w.real(), -w.imag()) : w; }

  // level: the twiddle table of block size m, followed by those of the smaller levels.
  void Recurse(Cplx* block, std::size_t m, const Cplx* level) const {
    if (m <= kCacheBlock) {
      Iterate(block, m);
      return;
    }
    StreamingRadix4(block, m, level);
    const std::size_t q = m / 4;
    for (int part = 0; part < 4; ++part) Recurse(block + part * q, q, level + q);
  }

  void Iterate(Cplx* block, std::size_t m) const {
    std::size_t mm = m;
    for (; mm > 4; mm /= 4)
      for (Cplx* b = block; b < block + m; b += mm) Radix4(b, mm);
    if (mm == 4)
      LastRadix4(block, m);
    else if (mm == 2)
      LastRadix2(block, m);
  }

  // The two levels of block size m and m/2 on one block of m points, m <= kCacheBlock.
  void Radix4(Cplx* b, std::size_t m) const {
    const std::size_t q = m / 4, stride = smallSize_ / m, half = smallSize_ / 2;
    // Past this j the index 3 j stride leaves the half-period table: w^(s/2 + t) = -w^t.
    const std::size_t split = std::min(q, (half + 3 * stride - 1) / (3 * stride));
    for (std::size_t j = 0; j < split; ++j)
      Butterfly(b, q, j, Conj(small_[j * stride]), Conj(small_[2 * j * stride]),
                Conj(small_[3 * j * stride]));
    for (std::size_t j = split; j < q; ++j)
      Butterfly(b, q, j, Conj(small_[j * stride]), Conj(small_[2 * j * stride]),
                -Conj(small_[3 * j * stride - half]));
  }

  // The same for a block too large for the cache: memory traffic dominates, so the
  // table holds only w^j, contiguously, and w^2j, w^3j are formed from it.
  static void StreamingRadix4(Cplx* b, std::size_t m, const Cplx* level) {
    const std::size_t q = m / 4;
    for (std::size_t j = 0; j < q; ++j) {
      const Cplx w1 = Conj(level[j]);
      const Cplx w2 = Mul(w1, w1);
      Butterfly(b, q, j, w1, w2, Mul(w1, w2));
    }
  }

  static void Butterfly(Cplx* b, std::size_t q, std::size_t j, Cplx w1, Cplx w2, Cplx w3) {
    Cplx* p0 = b + j;
    Cplx* p1 = p0 + q;
    Cplx* p2 = p1 + q;
    Cplx* p3 = p2 + q;
    const Cplx a0 = *p0, a1 = *p1, a2 = *p2, a3 = *p3;
    const Cplx t0 = a0 + a2, t1 = a0 - a2, t2 = a1 + a3;
    const Cplx t3 = QuarterTurn<Inverse>(a1 - a3);
    *p0 = t0 + t2;
    *p1 = Mul(t0 - t2, w2);
    *p2 = Mul(t1 + t3, w1);
    *p3 = Mul(t1 - t3, w3);
  }

  // Blocks of 4 points: every twiddle is 1.
  static void LastRadix4(Cplx* b, std::size_t m) {
    for (Cplx* p = b; p < b + m; p += 4) {
      const Cplx t0 = p[0] + p[2], t1 = p[0] - p[2], t2 = p[1] + p[3];
      const Cplx t3 = QuarterTurn<Inverse>(p[1] - p[3]);
      p[0] = t0 + t2;
      p[1] = t0 - t2;
      p[2] = t1 + t3;
      p[3] = t1 - t3;
    }
  }

  static void LastRadix2(Cplx* b, std::size_t m) {
    for (Cplx* p = b; p < b + m; p += 2) {
      const Cplx a = p[0], c = p[1];
      p[0] = a + c;
      p[1] = a - c;
    }
  }

  Cplx* x_;
  std::size_t n_;
  const Cplx* small_;
  std::size_t smallSize_;
};

// Puts x into bit-reversed order and multiplies every point by scale.
// Large buffers go tile by tile: index (h, mid, l), with h and l of kTileBits bits each,
// moves to (rev l, rev mid, rev h), so the tile of one mid value maps onto the tile of
// rev mid as a transpose. Both tiles are staged in small buffers, which keeps every
// memory access a short contiguous run instead of a scattered one.
void BitReverse(Cplx* x, std::size_t n, double scale) {
  constexpr int kTileBits = 4;
  constexpr std::size_t kTile = std::size_t{1} << kTileBits;
  const int bits = Log2(n);
  if (bits < 2 * kTileBits + 2) {
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t j = ReverseBits(i, bits);
      if (i < j) std::swap(x[i], x[j]);
    }
    if (scale != 1.0)
      for (std::size_t i = 0; i < n; ++i) x[i] *= scale;
    return;
  }
  std::size_t revTile[kTile];
  for (std::size_t i = 0; i < kTile; ++i) revTile[i] = ReverseBits(i, kTileBits);
  const int midBits = bits - 2 * kTileBits;
  const int rowShift = bits - kTileBits;
  Cplx bufA[kTile * kTile], bufB[kTile * kTile];
  const auto load = [&](std::size_t mid, Cplx* buf) {
    for (std::size_t h = 0; h < kTile; ++h) {
      const Cplx* row = x + ((h << rowShift) | (mid << kTileBits));
      for (std::size_t l = 0; l < kTile; ++l) buf[revTile[l] * kTile + revTile[h]] = row[l];
    }
  };
  const auto store = [&](std::size_t mid, const Cplx* buf) {
    for (std::size_t r = 0; r < kTile; ++r) {
      Cplx* row = x + ((r << rowShift) | (mid << kTileBits));
      for (std::size_t c = 0; c < kTile; ++c) row[c] = buf[r * kTile + c] * scale;
    }
  };
  const std::size_t mids = std::size_t{1} << midBits;
  for (std::size_t mid = 0; mid < mids; ++mid) {
    const std::size_t revMid = ReverseBits(mid, midBits);
    if (revMid < mid) continue;  // already exchanged with its partner
    load(mid, bufA);
    if (revMid != mid) {
      load(revMid, bufB);
      store(mid, bufB);
    }
    store(revMid, bufA);
  }
}

}  // namespace

TFastFourier::TFastFourier() { SetSpectrumSize(256); }

void TFastFourier::SetSpectrumSize(int n) {
  if (n < 1 || n > kMaxSize || (n & (n - 1)) != 0) throw EFourierError(kNotPowerOfTwo);
  if (n == size_) {
    Clear();
    return;
  }
  try {
    std::vector<Cplx> fresh(static_cast<std::size_t>(n));
    points_.swap(fresh);
  } catch (const std::bad_alloc&) {
    throw EFourierError(kNotEnoughMemory);
  }
  size_ = n;
  twiddleSize_ = 0;
  twiddles_.clear();
  twiddles_.shrink_to_fit();
}

void TFastFourier::Clear() { std::fill(points_.begin(), points_.end(), Cplx(0.0, 0.0)); }

void TFastFourier::ClearImag() {
  for (Cplx& p : points_) p.imag(0.0);
}

void TFastFourier::PrepareTwiddles() {
  const std::size_t n = points_.size();
  if (twiddleSize_ == n) return;
  try {
    twiddleSize_ = 0;
    FillTwiddles(twiddles_, n);
    twiddleSize_ = n;
  } catch (const std::bad_alloc&) {
    twiddles_.clear();
    throw EFourierError(kNotEnoughMemory);
  }
}

void TFastFourier::Transform() {
  PrepareTwiddles();  // before touching the buffer, so that a failure leaves it as it was
  ApplyWindow();
  DifTransform<false>(points_.data(), points_.size(), twiddles_.data()).Run();
  BitReverse(points_.data(), points_.size(), 1.0);
}

void TFastFourier::InverseTransform() {
  PrepareTwiddles();
  DifTransform<true>(points_.data(), points_.size(), twiddles_.data()).Run();
  BitReverse(points_.data(), points_.size(), 1.0 / static_cast<double>(points_.size()));
}

double TFastFourier::WindowFactor(TFastFourierWgtWin window, int b, int n) {
  const double offset = (b - n / 2.0) / n;
  constexpr double pi = std::numbers::pi;
  switch (window) {
    case fwRectangle:
      return 1.0;
    case fwTriangle: {
      // Rising on the first half, mirrored on the second; the middle point of an odd
      // length (only n = 1) is left alone.
      const int half = n / 2;
      if (b <= half) return 2.0 * b / n;
      if (b > n - half) return 2.0 * (n + 1 - b) / n;
      return 1.0;
    }
    case fwCos2: {
      const double c = std::cos(pi * offset);
      return c * c;
    }
    case fwGauss: {
      const double g = 6.0 * offset;
      return std::exp(-0.5 * g * g);
    }
    case fwHamming:
      return 0.543478261 + 0.456521739 * std::cos(2.0 * pi * offset);
    case fwBlackman:
      return 0.42659 + 0.49656 * std::cos(2.0 * pi * offset) +
             0.076848 * std::cos(4.0 * pi * offset);
  }
  return 1.0;
}

void TFastFourier::ApplyWindow() {
  if (window_ == fwRectangle) return;
  for (int b = 1; b <= size_; ++b) points_[Index(b)] *= WindowFactor(window_, b, size_);
}

double TFastFourier::Frequency(int k, double dt) const {
  if (k < 1 || k > size_ / 2) return 0.0;
  return k / (dt * size_);
}

double TFastFourier::RealSpectrum(int k) const {
  if (!InSpectrum(k)) return 0.0;
  const auto uk = static_cast<std::size_t>(k);
  if (k == 0) return points_[0].real() / size_;
  return (points_[uk].real() + points_[points_.size() - uk].real()) / size_;
}

double TFastFourier::ImagSpectrum(int k) const {
  if (!InSpectrum(k) || k == 0) return 0.0;
  const auto uk = static_cast<std::size_t>(k);
  return (points_[uk].imag() - points_[points_.size() - uk].imag()) / size_;
}

double TFastFourier::Amplitude(int k) const {
  if (!InSpectrum(k)) return 0.0;
  if (k == 0) return std::hypot(points_[0].real(), points_[0].imag()) / size_;
  return std::hypot(RealSpectrum(k), ImagSpectrum(k));
}

double TFastFourier::Phase(int k) const {
  if (!InSpectrum(k) || k == 0) return 0.0;
  const Cplx x = points_[static_cast<std::size_t>(k)];
  if (x.real() != 0.0) return std::atan(x.imag() / x.real());
  return x.imag() > 0.0 ? std::numbers::pi / 2 : -std::numbers::pi / 2;
}

}  // namespace kolma
