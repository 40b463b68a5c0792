#pragma once
// The shared string table of a workbook: every distinct cell text once, cells refer to
// it by index. Written as the SST record (continued over CONTINUE records when longer
// than one record) and the EXTSST index that Excel uses to find strings quickly.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/model/byte_stream.h"

namespace kolma {

class TSharedStrings {
 public:
  // Index of the text, adding it when new; each call counts one cell referring to it.
  std::uint32_t Add(std::string_view utf8, std::u16string utf16);
  std::uint32_t Add(std::string_view utf8);

  std::size_t UniqueCount() const { return strings_.size(); }
  std::uint32_t ReferenceCount() const { return references_; }

  // SST, its CONTINUE records and EXTSST, at the end of out. Offsets in EXTSST are
  // counted from the start of out, which must therefore be the start of the stream.
  void Write(TByteWriter& out) const;

 private:
  std::unordered_map<std::string, std::uint32_t> index_;
  std::vector<std::u16string> strings_;
  std::uint32_t references_ = 0;
};

}  // namespace kolma
