#pragma once
// A title of at most 80 single-byte characters held as the project file stores it:
// a length byte and 80 character bytes. The bytes past the length carry no meaning
// but are kept, so that a project file is written back exactly as it was read.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kolma {

class TShortTitle {
 public:
  static constexpr int kCapacity = 80;
  using Bytes = std::array<std::uint8_t, kCapacity>;

  std::string Text() const;
  // The title as UTF-8, the bytes read as Latin-1: how a title enters a table, an export
  // or a message, whose text is UTF-8.
  std::string Utf8Text() const;
  // Longer texts are cut at 80 bytes. The bytes past the new length are left as they were.
  void SetText(std::string_view text);

  std::uint8_t Length() const { return length_; }
  const Bytes& RawBytes() const { return bytes_; }
  // Takes a stored title as it is; refuses (and changes nothing) when length is above 80.
  bool SetRaw(std::uint8_t length, const Bytes& bytes);

  friend bool operator==(const TShortTitle&, const TShortTitle&) = default;

 private:
  std::uint8_t length_ = 0;
  Bytes bytes_{};
};

}  // namespace kolma
