#pragma once
// Notifications shared by the vector and the matrix.
#include <cstdint>
#include <functional>

namespace kolma {

// What a sort exchanged: two vector elements, or two matrix rows.
enum : std::uint8_t { kExchangedElements = 0, kExchangedRows = 2 };

// sender, what, index1, index2, first column, last column (0, 0 for a vector)
using TSortExchgEvent =
    std::function<void(const void* sender, std::uint8_t exchgWhat, int index1, int index2, int first, int last)>;
using TNotifyEvent = std::function<void(const void* sender)>;

// Clamps both ends of a range to 1..size and puts them in order, so that a
// range always holds at least one element.
inline void ClampRange(int size, int& first, int& last) {
  auto clamp = [size](int i) { return i < 1 ? 1 : (i > size ? size : i); };
  first = clamp(first);
  last = clamp(last);
  if (first > last) std::swap(first, last);
}

}  // namespace kolma
