#include "core/model/short_title.h"

#include <algorithm>
#include <span>

namespace kolma {

std::string TShortTitle::Text() const {
  return std::string(reinterpret_cast<const char*>(bytes_.data()), length_);
}

std::string TShortTitle::Utf8Text() const {
  std::string text;
  for (std::uint8_t byte : std::span(bytes_.data(), length_)) {
    if (byte < 0x80) {
      text += static_cast<char>(byte);
    } else {  // U+0080..U+00FF: two bytes
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
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
