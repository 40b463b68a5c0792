#include "core/model/short_title.h"

#include <algorithm>

namespace kolma {

std::string TShortTitle::Text() const {
  return std::string(reinterpret_cast<const char*>(bytes_.data()), length_);
}

void TShortTitle::SetText(std::string_view text) {
  const size_t n = std::min<size_t>(text.size(), kCapacity);
  std::copy_n(reinterpret_cast<const std::uint8_t*>(text.data()), n, bytes_.begin());
  length_ = static_cast<std::uint8_t>(n);
}

bool TShortTitle::SetRaw(std::uint8_t length, const Bytes& bytes) {
  if (length > kCapacity) return false;
  length_ = length;
  bytes_ = bytes;
  return true;
}

}  // namespace kolma
