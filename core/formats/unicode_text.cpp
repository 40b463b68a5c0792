#include "core/formats/unicode_text.h"

#include <array>
#include <cstdint>

namespace kolma {

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string result;
  result.reserve(text.size());
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    if (lead < 0x80) {
      result.push_back(lead);
      ++i;
      continue;
    }
    // Length of the sequence and the range its second byte must lie in, which rules
    // out overlong forms, surrogates and values above U+10FFFF from the start.
    int length = 0;
    std::uint8_t low = 0x80, high = 0xBF;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      value = lead & 0x0Fu;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      value = lead & 0x07u;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      result.push_back(kReplacementCharacter);
      ++i;
      continue;
    }
    std::size_t next = i + 1;
    bool complete = true;
    for (int k = 1; k < length; ++k, ++next) {
      if (next >= size) {
        complete = false;
        break;
      }
      const auto byte = static_cast<std::uint8_t>(text[next]);
      const bool inRange = k == 1 ? (byte >= low && byte <= high) : (byte >= 0x80 && byte <= 0xBF);
      if (!inRange) {
        complete = false;
        break;
      }
      value = (value << 6) | (byte & 0x3Fu);
    }
    result.push_back(complete ? value : kReplacementCharacter);
    i = next;
  }
  return result;
}

std::u16string EncodeUtf16(std::u32string_view text) {
  std::u16string result;
  result.reserve(text.size());
  for (char32_t c : text) {
    if (c >= 0x10000 && c <= 0x10FFFF) {
      const char32_t v = c - 0x10000;
      result.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      result.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      result.push_back(static_cast<char16_t>(kReplacementCharacter));
    } else {
      result.push_back(static_cast<char16_t>(c));
    }
  }
  return result;
}

std::u16string Utf8ToUtf16(std::string_view text) { return EncodeUtf16(DecodeUtf8(text)); }

std::string Utf8ToWindows1252(std::string_view text) {
  // Unicode of the bytes 0x80..0x9F; zero where the code page has no character.
  static constexpr std::array<char16_t, 32> kHighControls = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  std::string result;
  for (char32_t c : DecodeUtf8(text)) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      result.push_back(static_cast<char>(c));
      continue;
    }
    char byte = '?';
    for (std::size_t k = 0; k < kHighControls.size(); ++k) {
      if (kHighControls[k] != 0 && kHighControls[k] == c) {
        byte = static_cast<char>(0x80 + k);
        break;
      }
    }
    result.push_back(byte);
  }
  return result;
}

}  // namespace kolma
