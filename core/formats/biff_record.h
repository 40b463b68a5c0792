#pragma once
// Framing of the records of an Excel 97-2003 workbook stream: a 16-bit record id, a
// 16-bit length and at most kBiffMaxRecordData bytes of data.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/model/byte_stream.h"

namespace kolma {

inline constexpr std::size_t kBiffMaxRecordData = 8224;

class TBiffRecordWriter {
 public:
  explicit TBiffRecordWriter(TByteWriter& out) : out_(out) {}

  // One record at a time: Begin, append its data through Out(), End.
  void Begin(std::uint16_t id);
  void End();  // throws std::logic_error when the data outgrew a record

  TByteWriter& Out() { return out_; }
  // Data bytes of the open record so far, and the stream offset of its header.
  std::size_t Used() const { return out_.Size() - start_ - 4; }
  std::size_t RecordStart() const { return start_; }

 private:
  TByteWriter& out_;
  std::size_t start_ = 0;
};

// Whether every UTF-16 unit fits one byte: the string is then stored "compressed",
// one byte per character, otherwise as UTF-16LE.
bool FitsCompressed(std::u16string_view text);
// Characters only, in the form the option byte announces.
void WriteBiffCharacters(TByteWriter& out, std::u16string_view text, bool compressed);
// Length in one byte, option byte, characters (font and sheet names; at most 255).
void WriteShortBiffString(TByteWriter& out, std::u16string_view text);
// Length in two bytes, option byte, characters.
void WriteBiffString(TByteWriter& out, std::u16string_view text);

}  // namespace kolma
