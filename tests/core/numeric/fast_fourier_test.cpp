#include "core/numeric/fast_fourier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "core/numeric/errors.h"

using kolma::TFastFourier;

namespace {

using Cplx = std::complex<double>;
using CplxL = std::complex<long double>;
constexpr double kPi = std::numbers::pi;

// exp(sign 2 pi i t / n), t < n, in long double, each from its own sine and cosine.
std::vector<CplxL> UnitRoots(std::size_t n, int sign) {
  std::vector<CplxL> roots(n);
  for (std::size_t t = 0; t < n; ++t) {
    const long double angle = 2.0L * std::numbers::pi_v<long double> * t / n;
    roots[t] = CplxL(std::cos(angle), sign * std::sin(angle));
  }
  return roots;
}

// Bin k of the defining sum, accumulated in long double.
Cplx DftBin(const std::vector<Cplx>& x, const std::vector<CplxL>& roots, std::size_t k) {
  CplxL sum = 0;
  for (std::size_t j = 0; j < x.size(); ++j) sum += CplxL(x[j]) * roots[(j * k) % x.size()];
  return Cplx(sum);
}

std::vector<Cplx> Random(std::size_t n, std::mt19937_64& rng, bool real) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<Cplx> x(n);
  for (Cplx& p : x) p = Cplx(u(rng), real ? 0.0 : u(rng));
  return x;
}

void Load(TFastFourier& fft, const std::vector<Cplx>& x) {
  fft.SetSpectrumSize(static_cast<int>(x.size()));
  for (std::size_t i = 0; i < x.size(); ++i) {
    fft.SetRealPart(static_cast<int>(i + 1), x[i].real());
    fft.SetImagPart(static_cast<int>(i + 1), x[i].imag());
  }
}

TFastFourier Transformed(const std::vector<double>& x) {
  TFastFourier fft;
  Load(fft, std::vector<Cplx>(x.begin(), x.end()));
  fft.Transform();
  return fft;
}

// A radix-2 transform's normwise relative error grows like eps * log2 N. A few eps per
// level leaves room for rounding (observed errors are about ten times smaller) and still
// catches a wrong twiddle or a misplaced point, which shows at the 1e-1 level.
double Tolerance(std::size_t n) { return 4e-16 * std::max(1.0, std::log2(double(n))); }

}  // namespace

TEST(FastFourierBuffer, AccessAndClearing) {
  TFastFourier fft;
  EXPECT_EQ(fft.SpectrumSize(), 256);
  EXPECT_EQ(fft.WeightingWindow(), kolma::fwRectangle);
  for (int i = 1; i <= 256; ++i) EXPECT_EQ(fft.Points()[i - 1], Cplx(0, 0));

  fft.SetSpectrumSize(4);
  fft.SetRealPart(1, 1.5);
  fft.SetImagPart(4, -2.5);
  for (int i : {0, 5, -1}) {  // ignored
    fft.SetRealPart(i, 9);
    fft.SetImagPart(i, 9);
  }
  EXPECT_EQ(fft.Points()[0], Cplx(1.5, 0));
  EXPECT_EQ(fft.Points()[3], Cplx(0, -2.5));
  EXPECT_EQ(fft.Points()[1], Cplx(0, 0));
  EXPECT_EQ(fft.RealPart(0), 0.0);
  EXPECT_EQ(fft.ImagPart(5), 0.0);
  fft.ClearImag();
  EXPECT_EQ(fft.RealPart(1), 1.5);
  EXPECT_EQ(fft.ImagPart(4), 0.0);
  fft.Clear();
  EXPECT_EQ(fft.RealPart(1), 0.0);

  fft.SetRealPart(3, 7);
  fft.SetSpectrumSize(4);  // the same size still clears
  EXPECT_EQ(fft.RealPart(3), 0.0);
}

TEST(FastFourierBuffer, SizeLimits) {
  TFastFourier fft;
  fft.SetSpectrumSize(8);
  for (int i = 1; i <= 8; ++i) fft.SetRealPart(i, i);
  for (int bad : {1000, 0, -8, 3, TFastFourier::kMaxSize * 2, -2147483647 - 1}) {
    try {
      fft.SetSpectrumSize(bad);
      ADD_FAILURE() << "size " << bad << " accepted";
    } catch (const kolma::EFourierError& e) {
      EXPECT_STREQ(e.what(), "FFT data length must be power of 2");
    }
  }
  EXPECT_EQ(fft.SpectrumSize(), 8);
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(fft.RealPart(i), i);

  fft.SetSpectrumSize(TFastFourier::kMaxSize);
  EXPECT_EQ(fft.RealPart(1 << 23), 0.0);

  fft.SetSpectrumSize(1);  // one point transforms to itself, both ways
  fft.SetRealPart(1, 2.5);
  fft.SetImagPart(1, -1.25);
  fft.Transform();
  EXPECT_EQ(fft.Points()[0], Cplx(2.5, -1.25));
  EXPECT_EQ(fft.Amplitude(0), std::hypot(2.5, 1.25));
  fft.InverseTransform();
  EXPECT_EQ(fft.Points()[0], Cplx(2.5, -1.25));
}

// Every size from 1 to 1024 against the defining sums, both directions, complex input.
TEST(FastFourierAccuracy, MatchesTheDirectSumsUpTo1024) {
  std::mt19937_64 rng(20240611);
  TFastFourier fft;
  for (std::size_t n = 1; n <= 1024; n *= 2) {
    const std::vector<Cplx> x = Random(n, rng, false);
    for (int sign : {+1, -1}) {
      const std::vector<CplxL> roots = UnitRoots(n, sign);
      Load(fft, x);
      sign > 0 ? fft.Transform() : fft.InverseTransform();
      double err = 0, norm = 0;
      for (std::size_t k = 0; k < n; ++k) {
        const Cplx want = DftBin(x, roots, k) / (sign > 0 ? 1.0 : double(n));
        err += std::norm(fft.Points()[k] - want);
        norm += std::norm(want);
      }
      EXPECT_LT(std::sqrt(err / norm), Tolerance(n)) << "N = " << n << " sign " << sign;
    }
  }
}

// Sizes past the cache blocking of the transform, an even and an odd power of two.
TEST(FastFourierAccuracy, LargeSizesMatchTheDirectSumOnSampledBins) {
  std::mt19937_64 rng(77);
  TFastFourier fft;
  for (std::size_t n : {std::size_t{1} << 14, std::size_t{1} << 17}) {
    const std::vector<Cplx> x = Random(n, rng, false);
    const std::vector<CplxL> roots = UnitRoots(n, +1);
    Load(fft, x);
    fft.Transform();
    std::uniform_int_distribution<std::size_t> bin(0, n - 1);
    for (std::size_t k : {std::size_t{0}, std::size_t{1}, n / 2, n - 1, bin(rng), bin(rng), bin(rng)}) {
      // A bin of random input has magnitude about sqrt(N).
      EXPECT_LT(std::abs(fft.Points()[k] - DftBin(x, roots, k)), 4 * Tolerance(n) * std::sqrt(double(n)))
          << "N = " << n << " bin " << k;
    }
  }
}

TEST(FastFourierAccuracy, RoundTripsReturnTheRealInput) {
  std::mt19937_64 rng(5);
  TFastFourier fft;
  for (int bits : {1, 6, 12, 15, 20}) {
    const std::vector<Cplx> x = Random(std::size_t{1} << bits, rng, true);
    Load(fft, x);
    fft.Transform();
    fft.InverseTransform();
    double worst = 0;
    for (std::size_t i = 0; i < x.size(); ++i) worst = std::max(worst, std::abs(fft.Points()[i] - x[i]));
    EXPECT_LT(worst, 4 * Tolerance(x.size())) << "N = 2^" << bits;
  }
}

// A mean, a few harmonics and a Nyquist term on 2^20 points read back as exactly those
// coefficients, with nothing leaking into other bins.
TEST(FastFourierAccuracy, KnownHarmonicsOnAMillionPoints) {
  const int n = 1 << 20;
  struct Harmonic { int k; double a, b; };
  const Harmonic harmonics[] = {{1, 0.5, -2}, {3, 1.5, 0.25}, {4096, -1, 1}, {n / 2 - 1, 0, 3}};
  const double mean = 12.5, nyquist = 0.75;
  TFastFourier fft;
  fft.SetSpectrumSize(n);
  for (int j = 0; j < n; ++j) {
    double v = mean + (j % 2 ? -nyquist : nyquist);
    for (const Harmonic& h : harmonics) {
      const double angle = 2 * kPi * double((std::int64_t{h.k} * j) % n) / n;
      v += h.a * std::cos(angle) + h.b * std::sin(angle);
    }
    fft.SetRealPart(j + 1, v);
  }
  fft.Transform();
  const double tol = 1e-11;
  EXPECT_NEAR(fft.RealSpectrum(0), mean, tol);
  for (const Harmonic& h : harmonics) {
    EXPECT_NEAR(fft.RealSpectrum(h.k), h.a, tol) << h.k;
    EXPECT_NEAR(fft.ImagSpectrum(h.k), h.b, tol) << h.k;
    EXPECT_NEAR(fft.Amplitude(h.k), std::hypot(h.a, h.b), tol) << h.k;
  }
  EXPECT_NEAR(fft.RealSpectrum(n / 2), 2 * nyquist, tol);
  for (int k : {2, 5, 4095, 4097, 300000, n / 2 - 2}) EXPECT_NEAR(fft.Amplitude(k), 0, tol) << k;
}

TEST(FastFourierReadOut, ConstantGivesOnlyTheMean) {
  const TFastFourier fft = Transformed(std::vector<double>(8, -2.5));
  EXPECT_DOUBLE_EQ(fft.RealSpectrum(0), -2.5);
  EXPECT_DOUBLE_EQ(fft.Amplitude(0), 2.5);
  EXPECT_EQ(fft.ImagSpectrum(0), 0.0);
  EXPECT_EQ(fft.Phase(0), 0.0);
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(fft.RealSpectrum(k), 0.0);
    EXPECT_EQ(fft.ImagSpectrum(k), 0.0);
    EXPECT_EQ(fft.Amplitude(k), 0.0);
    EXPECT_EQ(fft.Phase(k), -kPi / 2);  // Re = Im = 0 exactly
  }
}

TEST(FastFourierReadOut, CosineSineAndNyquist) {
  std::vector<double> x(8);
  for (int j = 0; j < 8; ++j) x[j] = 3 * std::cos(2 * kPi * j / 8) + 4 * std::sin(2 * kPi * j / 8);
  TFastFourier fft = Transformed(x);
  EXPECT_NEAR(fft.RealSpectrum(1), 3, 1e-14);
  EXPECT_NEAR(fft.ImagSpectrum(1), 4, 1e-14);
  EXPECT_NEAR(fft.Amplitude(1), 5, 1e-14);
  EXPECT_NEAR(fft.Phase(1), std::atan(4.0 / 3.0), 1e-14);
  for (int k : {0, 2, 3, 4}) EXPECT_NEAR(fft.Amplitude(k), 0, 1e-14) << k;

  fft = Transformed({1, -1, 1, -1, 1, -1, 1, -1});  // the Nyquist bin is counted twice
  EXPECT_DOUBLE_EQ(fft.Amplitude(4), 2);
  EXPECT_DOUBLE_EQ(fft.RealSpectrum(4), 2);
  EXPECT_EQ(fft.ImagSpectrum(4), 0.0);
  for (int k = 0; k <= 3; ++k) EXPECT_NEAR(fft.Amplitude(k), 0, 1e-15) << k;
}

// The phase is an arctangent of the ratio, not a full-circle angle; a zero real part
// gives +pi/2 or -pi/2 by the sign of the imaginary part.
TEST(FastFourierReadOut, PhaseStaysWithinAHalfTurn) {
  std::vector<double> x(16);
  for (int j = 0; j < 16; ++j)
    x[j] = -3 * std::cos(2 * kPi * 2 * j / 16) + 4 * std::sin(2 * kPi * 2 * j / 16) +
           2 * std::sin(2 * kPi * 5 * j / 16);
  const TFastFourier fft = Transformed(x);
  EXPECT_NEAR(fft.Phase(2), std::atan(4.0 / -3.0), 1e-14);
  EXPECT_NEAR(std::abs(fft.Phase(5)), kPi / 2, 1e-14);  // Re X_5 is zero but for rounding
  EXPECT_EQ(Transformed({0, 1, 0, -1}).Phase(1), kPi / 2);   // X_1 = 2i exactly
  EXPECT_EQ(Transformed({0, -1, 0, 1}).Phase(1), -kPi / 2);  // X_1 = -2i exactly
}

TEST(FastFourierReadOut, OutsideTheOneSidedSpectrumIsZero) {
  std::vector<double> x(16);
  for (int j = 0; j < 16; ++j) x[j] = 1 + j * j;
  const TFastFourier fft = Transformed(x);
  for (int k : {-1, 9, 16}) {
    EXPECT_EQ(fft.RealSpectrum(k) + fft.ImagSpectrum(k) + fft.Amplitude(k) + fft.Phase(k), 0.0);
    EXPECT_EQ(fft.Frequency(k, 2.0), 0.0);
  }
  EXPECT_NE(fft.Amplitude(8), 0.0);
  EXPECT_EQ(fft.Frequency(0, 2.0), 0.0);
  EXPECT_DOUBLE_EQ(fft.Frequency(8, 2.0), 1 / (2 * 2.0));
  EXPECT_DOUBLE_EQ(1 / fft.Frequency(3, 0.5), 16 * 0.5 / 3);  // the period of the bin
}

TEST(FastFourierWindow, FactorsOnEightPoints) {
  const double triangle[] = {0.25, 0.5, 0.75, 1, 1, 0.75, 0.5, 0.25};
  for (int b = 1; b <= 8; ++b) {
    EXPECT_EQ(TFastFourier::WindowFactor(kolma::fwRectangle, b, 8), 1.0);
    EXPECT_DOUBLE_EQ(TFastFourier::WindowFactor(kolma::fwTriangle, b, 8), triangle[b - 1]);
  }
  EXPECT_EQ(TFastFourier::WindowFactor(kolma::fwTriangle, 1, 1), 1.0);
  // The bell shaped windows are symmetric about b = N/2; values at N/2, N/2 + N/4 and N.
  for (auto w : {kolma::fwCos2, kolma::fwGauss, kolma::fwHamming, kolma::fwBlackman})
    for (int d = 1; d < 4; ++d)
      EXPECT_DOUBLE_EQ(TFastFourier::WindowFactor(w, 4 - d, 8), TFastFourier::WindowFactor(w, 4 + d, 8));
  EXPECT_DOUBLE_EQ(TFastFourier::WindowFactor(kolma::fwCos2, 4, 8), 1);
  EXPECT_DOUBLE_EQ(TFastFourier::WindowFactor(kolma::fwCos2, 6, 8), 0.5);
  EXPECT_NEAR(TFastFourier::WindowFactor(kolma::fwCos2, 8, 8), 0, 1e-30);
  EXPECT_DOUBLE_EQ(TFastFourier::WindowFactor(kolma::fwGauss, 8, 8), std::exp(-4.5));
  EXPECT_DOUBLE_EQ(TFastFourier::WindowFactor(kolma::fwHamming, 4, 8), 1.0);
  EXPECT_DOUBLE_EQ(TFastFourier::WindowFactor(kolma::fwHamming, 8, 8), 0.543478261 - 0.456521739);
  EXPECT_DOUBLE_EQ(TFastFourier::WindowFactor(kolma::fwBlackman, 4, 8), 0.42659 + 0.49656 + 0.076848);
  EXPECT_DOUBLE_EQ(TFastFourier::WindowFactor(kolma::fwBlackman, 6, 8), 0.42659 - 0.076848);
}

// Transform weights real and imaginary parts alike; the inverse does not weight.
TEST(FastFourierWindow, TransformWeightsBothPartsAndInverseDoesNot) {
  TFastFourier fft;
  Load(fft, std::vector<Cplx>(8, Cplx(1, 2)));
  fft.SetWeightingWindow(kolma::fwTriangle);
  fft.Transform();
  const double triangle[] = {0.25, 0.5, 0.75, 1, 1, 0.75, 0.5, 0.25};
  std::vector<Cplx> weighted(8);
  for (int j = 0; j < 8; ++j) weighted[j] = triangle[j] * Cplx(1, 2);
  const std::vector<CplxL> roots = UnitRoots(8, +1);
  EXPECT_EQ(fft.Points()[0], Cplx(5, 10));  // the sum of the factors
  for (int k = 1; k < 8; ++k) EXPECT_LT(std::abs(fft.Points()[k] - DftBin(weighted, roots, k)), 1e-14) << k;

  Load(fft, std::vector<Cplx>(8, Cplx(3, 0)));
  fft.InverseTransform();
  EXPECT_EQ(fft.RealPart(1), 3.0);
  for (int i = 2; i <= 8; ++i) EXPECT_EQ(fft.RealPart(i), 0.0);
}
