#pragma once
// The container of an Excel 97-2003 workbook: a compound document (structured storage)
// holding named streams, written with 512-byte sectors (major version 3), the form
// every reader understands.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kolma {

// Streams shorter than this would have to live in the mini stream, which this writer
// does not produce; callers pad theirs.
inline constexpr std::size_t kCompoundMinimumStreamSize = 4096;

// A compound document whose root storage holds one stream of the given name (at most
// 31 UTF-16 units) and content (at least kCompoundMinimumStreamSize bytes, less than
// 2 GiB). Any length is laid out: beyond 109 allocation-table sectors (about 7 MB of
// content) the table of those sectors continues in extra sectors of its own.
// Throws std::invalid_argument for a bad name and std::length_error for a bad size.
std::vector<std::uint8_t> BuildCompoundFile(std::u16string_view streamName,
                                            std::span<const std::uint8_t> stream);

}  // namespace kolma
