#pragma once
// TFastFourier: one buffer of N complex points (N a power of two) transformed in place,
// and read back as a one-sided spectrum of harmonics.
//
// Conventions: forward X_k = sum_j x_j exp(+2 pi i j k / N) without scaling; the inverse
// uses the opposite sign and divides by N, so a round trip returns the input. Points are
// numbered 1..N in the element accessors, spectrum bins 0..N div 2 in the read-outs;
// anything outside those ranges reads 0 and is ignored on write.
#include <complex>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kolma {

// Weighting applied by Transform before the forward transform.
enum TFastFourierWgtWin : std::uint8_t {
  fwRectangle = 0,
  fwTriangle = 1,
  fwCos2 = 2,
  fwGauss = 3,
  fwHamming = 4,
  fwBlackman = 5,
};

class TFastFourier {
 public:
  static constexpr int kMaxSize = 1 << 23;

  TFastFourier();  // 256 zero points, fwRectangle

  int SpectrumSize() const { return size_; }
  // n must be a power of two in 1..kMaxSize, else EFourierError and nothing changes.
  // The buffer becomes n zero points, also when n is the current size.
  void SetSpectrumSize(int n);

  TFastFourierWgtWin WeightingWindow() const { return window_; }
  void SetWeightingWindow(TFastFourierWgtWin window) { window_ = window; }

  double RealPart(int i) const { return InRange(i) ? points_[Index(i)].real() : 0.0; }
  double ImagPart(int i) const { return InRange(i) ? points_[Index(i)].imag() : 0.0; }
  void SetRealPart(int i, double value) { if (InRange(i)) points_[Index(i)].real(value); }
  void SetImagPart(int i, double value) { if (InRange(i)) points_[Index(i)].imag(value); }

  void Clear();
  void ClearImag();

  // Weighting window, then the forward transform in place.
  void Transform();
  // Inverse transform in place, every part divided by N.
  void InverseTransform();

  // One-sided read-outs of bin k (0..N div 2) of the transformed buffer; 0 elsewhere.
  double Frequency(int k, double dt) const;  // k / (dt N), bin 0 included as 0
  double Amplitude(int k) const;
  double RealSpectrum(int k) const;          // cosine coefficient (mean at k = 0)
  double ImagSpectrum(int k) const;          // sine coefficient
  double Phase(int k) const;                 // arctan(Im X_k / Re X_k), +-pi/2 when Re is 0

  // Factor of the window for point b (1-based) of an n-point buffer.
  static double WindowFactor(TFastFourierWgtWin window, int b, int n);

  // Raw 0-based access to the N points for hot loops: Points()[i - 1] is point i.
  // Valid until the next SetSpectrumSize.
  std::complex<double>* Points() { return points_.data(); }
  const std::complex<double>* Points() const { return points_.data(); }

 private:
  bool InRange(int i) const { return i >= 1 && i <= size_; }
  static std::size_t Index(int i) { return static_cast<std::size_t>(i - 1); }
  bool InSpectrum(int k) const { return k >= 0 && k <= size_ / 2; }
  void ApplyWindow();
  void PrepareTwiddles();

  int size_ = 0;
  TFastFourierWgtWin window_ = fwRectangle;
  std::vector<std::complex<double>> points_;
  // Twiddle factors of the current size (at most N/2 values), built on its first transform.
  std::vector<std::complex<double>> twiddles_;
  std::size_t twiddleSize_ = 0;  // the size they were built for, 0 for none
};

}  // namespace kolma
