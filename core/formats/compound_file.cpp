#include "core/formats/compound_file.h"

#include <algorithm>
#include <stdexcept>

#include "core/model/byte_stream.h"

namespace kolma {

namespace {

constexpr std::size_t kSectorSize = 512;
constexpr std::size_t kIdsPerSector = kSectorSize / 4;
constexpr std::size_t kDirectoryEntrySize = 128;
constexpr std::size_t kHeaderFatSlots = 109;  // allocation-table sectors listed in the header itself

constexpr std::uint32_t kFreeSector = 0xFFFFFFFFu;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr std::uint32_t kFatSectorMark = 0xFFFFFFFDu;
constexpr std::uint32_t kDifatSectorMark = 0xFFFFFFFCu;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFFu;

std::size_t CeilDiv(std::size_t a, std::size_t b) { return (a + b - 1) / b; }

struct TLayout {
  std::size_t dataSectors = 0;
  std::size_t directorySectors = 1;
  std::size_t fatSectors = 0;
  std::size_t difatSectors = 0;

  std::size_t Total() const { return dataSectors + directorySectors + fatSectors + difatSectors; }
  std::uint32_t FirstDirectory() const { return static_cast<std::uint32_t>(dataSectors); }
  std::uint32_t FirstFat() const { return static_cast<std::uint32_t>(dataSectors + directorySectors); }
  std::uint32_t FirstDifat() const { return static_cast<std::uint32_t>(dataSectors + directorySectors + fatSectors); }
};

// The allocation table must also cover its own sectors and those of its index, so
// grow both until they cover everything.
TLayout PlanLayout(std::size_t streamSize) {
  TLayout layout;
  layout.dataSectors = CeilDiv(streamSize, kSectorSize);
  for (;;) {
    const std::size_t fat = CeilDiv(layout.Total(), kIdsPerSector);
    const std::size_t difat = fat > kHeaderFatSlots ? CeilDiv(fat - kHeaderFatSlots, kIdsPerSector - 1) : 0;
    if (fat == layout.fatSectors && difat == layout.difatSectors) return layout;
    layout.fatSectors = std::max(fat, layout.fatSectors);
    layout.difatSectors = std::max(difat, layout.difatSectors);
  }
}

void DirectoryEntry(TByteWriter& out, std::u16string_view name, std::uint8_t type, std::uint32_t child,
                    std::uint32_t start, std::uint32_t size) {
  for (char16_t unit : name) out.U16(unit);
  out.Zeros(64 - 2 * name.size());
  out.U16(static_cast<std::uint16_t>(name.empty() ? 0 : 2 * (name.size() + 1)));
  out.U8(type);
  out.U8(type == 0 ? 0 : 1);  // black: a lone node is a valid red-black tree
  out.U32(kNoEntry);          // left sibling
  out.U32(kNoEntry);          // right sibling
  out.U32(child);
  out.Zeros(16);  // class id
  out.U32(0);     // state bits
  out.Zeros(16);  // creation and modification times: not recorded
  out.U32(start);
  out.U32(size);
  out.U32(0);  // high half of the size: always zero with 512-byte sectors
}

}  // namespace

std::vector<std::uint8_t> BuildCompoundFile(std::u16string_view streamName, std::span<const std::uint8_t> stream) {
  if (streamName.empty() || streamName.size() > 31) throw std::invalid_argument("compound file: bad stream name");
  for (char16_t unit : streamName) {
    if (unit == u'/' || unit == u'\\' || unit == u':' || unit == u'!' || unit == 0)
      throw std::invalid_argument("compound file: bad stream name");
  }
  if (stream.size() < kCompoundMinimumStreamSize) throw std::length_error("compound file: stream too short");
  if (stream.size() >= 0x80000000u) throw std::length_error("compound file: stream too long");

  const TLayout layout = PlanLayout(stream.size());

  TByteWriter out;
  out.Reserve(kSectorSize * (1 + layout.Total()));

  // Header.
  static constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  out.Bytes(kSignature);
  out.Zeros(16);      // class id
  out.U16(0x003E);    // minor version
  out.U16(0x0003);    // major version: 512-byte sectors
  out.U16(0xFFFE);    // byte order mark: little-endian
  out.U16(9);         // sector size 2^9
  out.U16(6);         // mini sector size 2^6
  out.Zeros(6);
  out.U32(0);         // directory sector count: must be zero in version 3
  out.U32(static_cast<std::uint32_t>(layout.fatSectors));
  out.U32(layout.FirstDirectory());
  out.U32(0);         // transaction signature
  out.U32(static_cast<std::uint32_t>(kCompoundMinimumStreamSize));
  out.U32(kEndOfChain);  // no mini allocation table
  out.U32(0);
  out.U32(layout.difatSectors > 0 ? layout.FirstDifat() : kEndOfChain);
  out.U32(static_cast<std::uint32_t>(layout.difatSectors));
  for (std::size_t i = 0; i < kHeaderFatSlots; ++i)
    out.U32(i < layout.fatSectors ? layout.FirstFat() + static_cast<std::uint32_t>(i) : kFreeSector);

  // Stream content, its last sector padded.
  out.Bytes(stream);
  out.Zeros(layout.dataSectors * kSectorSize - stream.size());

  // Directory: the root storage and the one stream below it; the rest free.
  const std::size_t directoryStart = out.Size();
  DirectoryEntry(out, u"Root Entry", 5, 1, kEndOfChain, 0);
  DirectoryEntry(out, streamName, 2, kNoEntry, 0, static_cast<std::uint32_t>(stream.size()));
  while (out.Size() < directoryStart + layout.directorySectors * kSectorSize)
    DirectoryEntry(out, {}, 0, kNoEntry, 0, 0);

  // Allocation table.
  std::vector<std::uint32_t> fat(layout.fatSectors * kIdsPerSector, kFreeSector);
  for (std::size_t i = 0; i < layout.dataSectors; ++i)
    fat[i] = i + 1 < layout.dataSectors ? static_cast<std::uint32_t>(i + 1) : kEndOfChain;
  for (std::size_t i = 0; i < layout.directorySectors; ++i) {
    const std::size_t sector = layout.FirstDirectory() + i;
    fat[sector] = i + 1 < layout.directorySectors ? static_cast<std::uint32_t>(sector + 1) : kEndOfChain;
  }
  for (std::size_t i = 0; i < layout.fatSectors; ++i) fat[layout.FirstFat() + i] = kFatSectorMark;
  for (std::size_t i = 0; i < layout.difatSectors; ++i) fat[layout.FirstDifat() + i] = kDifatSectorMark;
  for (std::uint32_t id : fat) out.U32(id);

  // Continuation of the list of allocation-table sectors: 127 per sector and a link.
  std::size_t listed = kHeaderFatSlots;
  for (std::size_t i = 0; i < layout.difatSectors; ++i) {
    for (std::size_t k = 0; k + 1 < kIdsPerSector; ++k, ++listed)
      out.U32(listed < layout.fatSectors ? layout.FirstFat() + static_cast<std::uint32_t>(listed) : kFreeSector);
    out.U32(i + 1 < layout.difatSectors ? layout.FirstDifat() + static_cast<std::uint32_t>(i + 1) : kEndOfChain);
  }
  return out.Take();
}

}  // namespace kolma
