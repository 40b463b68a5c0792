#pragma once
// Saving a written format as a whole file, with the outcome in words for the user.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace kolma {

struct TFileWriteResult {
  bool ok = false;
  std::string reason;  // why not, naming the file; empty when ok
};

// The bytes become the whole content of the file at path, replaced in one go: on
// failure nothing is written and an existing file stays as it was.
TFileWriteResult SaveFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Why `output` must not be written, or empty when it may: its name is empty, it exists and
// is not a regular file (a folder, a FIFO, a device: replacing it would lose it, writing
// through it would block or go elsewhere), or it is the same file as one of `inputs`
// (same device and inode, through links), which writing would destroy before or instead
// of reading.
std::string UnsafeOutputReason(const std::filesystem::path& output, std::span<const std::filesystem::path> inputs);

}  // namespace kolma
