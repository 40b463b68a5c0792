// Forward transform speed for a small, a large and the largest buffer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <complex>
#include <random>
#include <vector>

#include "core/numeric/fast_fourier.h"

namespace {

void BM_FastFourierTransform(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  kolma::TFastFourier fft;
  fft.SetSpectrumSize(n);
  std::mt19937_64 rng(1);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<std::complex<double>> samples(static_cast<std::size_t>(n));
  for (auto& s : samples) s = {u(rng), u(rng)};
  fft.Transform();  // builds the twiddle table outside the timing
  for (auto _ : state) {
    // Each transform scales the data by about sqrt(N): start every run from the samples.
    state.PauseTiming();
    std::copy(samples.begin(), samples.end(), fft.Points());
    state.ResumeTiming();
    fft.Transform();
    benchmark::DoNotOptimize(fft.Points());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_FastFourierTransform)
    ->Arg(1 << 14)
    ->Arg(1 << 20)
    ->Arg(1 << 23)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
