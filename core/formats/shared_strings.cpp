#include "core/formats/shared_strings.h"

#include <algorithm>

#include "core/formats/biff_record.h"
#include "core/formats/unicode_text.h"

namespace kolma {

namespace {

constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kExtSst = 0x00FF;
constexpr std::size_t kMaxExtSstBuckets = 128;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

struct TBucket {
  std::uint32_t streamPosition;
  std::uint16_t recordOffset;
};

}  // namespace

std::uint32_t TSharedStrings::Add(std::string_view utf8, std::u16string utf16) {
  ++references_;
  auto [it, added] = index_.try_emplace(std::string(utf8), static_cast<std::uint32_t>(strings_.size()));
  if (added) strings_.push_back(std::move(utf16));
  return it->second;
}

std::uint32_t TSharedStrings::Add(std::string_view utf8) { return Add(utf8, Utf8ToUtf16(utf8)); }

void TSharedStrings::Write(TByteWriter& out) const {
  const std::size_t perBucket =
      std::max<std::size_t>(8, (strings_.size() + kMaxExtSstBuckets - 1) / kMaxExtSstBuckets);
  std::vector<TBucket> buckets;

  TBiffRecordWriter record(out);
  record.Begin(kSst);
  out.U32(references_);
  out.U32(static_cast<std::uint32_t>(strings_.size()));
  for (std::size_t i = 0; i < strings_.size(); ++i) {
    const std::u16string& text = strings_[i];
    const bool compressed = FitsCompressed(text);
    const std::size_t unitSize = compressed ? 1 : 2;
    // The length and option byte stay with the first character in one record.
    if (kBiffMaxRecordData - record.Used() < 3 + (text.empty() ? 0 : unitSize)) {
      record.End();
      record.Begin(kContinue);
    }
    if (i % perBucket == 0)
      buckets.push_back({static_cast<std::uint32_t>(out.Size()),
                         static_cast<std::uint16_t>(out.Size() - record.RecordStart())});
    out.U16(static_cast<std::uint16_t>(text.size()));
    out.U8(compressed ? 0 : 1);
    std::size_t done = 0;
    while (done < text.size()) {
      std::size_t take = std::min((kBiffMaxRecordData - record.Used()) / unitSize, text.size() - done);
      // Keep the two halves of a surrogate pair in one record.
      if (take > 0 && done + take < text.size() && IsHighSurrogate(text[done + take - 1])) --take;
      if (take == 0) {
        // A string split over records repeats its option byte at the start of the next.
        record.End();
        record.Begin(kContinue);
        out.U8(compressed ? 0 : 1);
        continue;
      }
      WriteBiffCharacters(out, std::u16string_view(text).substr(done, take), compressed);
      done += take;
    }
  }
  record.End();

  record.Begin(kExtSst);
  out.U16(static_cast<std::uint16_t>(perBucket));
  for (const TBucket& bucket : buckets) {
    out.U32(bucket.streamPosition);
    out.U16(bucket.recordOffset);
    out.U16(0);
  }
  record.End();
}

}  // namespace kolma
