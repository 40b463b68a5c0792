#pragma once
// Writing a whole file so that a failure never leaves a partial file behind nor spoils
// the one already there: the bytes go to a fresh file beside the target, which is then
// renamed over it.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace kolma {

struct TFileWriteResult {
  bool ok = false;
  std::string reason;  // why not, in words a user can act on; empty when ok
};

TFileWriteResult ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace kolma
