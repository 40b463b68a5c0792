#include "core/formats/biff_record.h"

#include <stdexcept>

namespace kolma {

void TBiffRecordWriter::Begin(std::uint16_t id) {
  start_ = out_.Size();
  out_.U16(id);
  out_.U16(0);
}

void TBiffRecordWriter::End() {
  const std::size_t size = Used();
  if (size > kBiffMaxRecordData) throw std::logic_error("workbook record too long");
  out_.PatchU16(start_ + 2, static_cast<std::uint16_t>(size));
}

bool FitsCompressed(std::u16string_view text) {
  for (char16_t unit : text)
    if (unit > 0xFF) return false;
  return true;
}

void WriteBiffCharacters(TByteWriter& out, std::u16string_view text, bool compressed) {
  for (char16_t unit : text) {
    if (compressed)
      out.U8(static_cast<std::uint8_t>(unit));
    else
      out.U16(unit);
  }
}

void WriteShortBiffString(TByteWriter& out, std::u16string_view text) {
  const bool compressed = FitsCompressed(text);
  out.U8(static_cast<std::uint8_t>(text.size()));
  out.U8(compressed ? 0 : 1);
  WriteBiffCharacters(out, text, compressed);
}

void WriteBiffString(TByteWriter& out, std::u16string_view text) {
  const bool compressed = FitsCompressed(text);
  out.U16(static_cast<std::uint16_t>(text.size()));
  out.U8(compressed ? 0 : 1);
  WriteBiffCharacters(out, text, compressed);
}

}  // namespace kolma
