#!/usr/bin/env python3
"""Times numpy.fft.fft on the sizes of the Fourier benchmark, as a yardstick.

Prints the best of several runs per size in milliseconds, wall clock and CPU time (the
second is the fairer figure on a busy machine). Run it with a Python that has numpy (on
Debian: /usr/bin/python3 with python3-numpy).
"""
import sys
import time
import timeit

import numpy as np


def best_ms(n: int, timer) -> float:
    rng = np.random.default_rng(1)
    x = rng.uniform(-1.0, 1.0, n) + 1j * rng.uniform(-1.0, 1.0, n)
    repeats = 3 if n >= 1 << 22 else 10
    number = max(1, (1 << 20) // n)  # several calls per timing for the small sizes
    times = timeit.Timer(lambda: np.fft.fft(x), timer=timer).repeat(repeat=repeats, number=number)
    return min(times) / number * 1e3


def main() -> None:
    print(f"numpy {np.__version__}, python {sys.version.split()[0]}")
    for bits in (14, 20, 23):
        wall = best_ms(1 << bits, time.perf_counter)
        cpu = best_ms(1 << bits, time.process_time)
        print(f"numpy.fft.fft 2^{bits:<2d} {wall:10.3f} ms wall {cpu:10.3f} ms cpu")


if __name__ == "__main__":
    main()
