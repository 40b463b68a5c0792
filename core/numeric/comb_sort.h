#pragma once
// The comb sort of the containers. Its exchange order is part of the program's results:
// the harmonic selection ranks equal amplitudes in whatever order this sort leaves.

namespace kolma {

// Sorts positions first..last: outOfOrder(i, j) tells whether positions i < j must be
// exchanged, exchange(i, j) exchanges them. The gap shrinks by 1.3 each pass; passes go
// on until one with gap 1 exchanges nothing. Equal values are never exchanged.
template <typename OutOfOrder, typename Exchange>
void CombSort(int first, int last, OutOfOrder outOfOrder, Exchange exchange) {
  if (last - first <= 0) return;
  int gap = last - first;
  bool exchanged = true;
  while (gap > 1 || exchanged) {
    gap = static_cast<int>(gap / 1.3);
    if (gap < 1) gap = 1;
    exchanged = false;
    for (int i = first; i + gap <= last; ++i) {
      if (outOfOrder(i, i + gap)) {
        exchange(i, i + gap);
        exchanged = true;
      }
    }
  }
}

}  // namespace kolma
