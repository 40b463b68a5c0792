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

}  // namespace kolma
