#pragma once
// Reading a whole file, and replacing a file so that a failure leaves the old one.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kolma {

// False, with the reason, when the file cannot be opened or read to its end, or holds more
// than maxBytes (a wrong file must not fill the memory before it is refused). Only regular
// files are read: a FIFO or a device is refused at once.
bool ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::string* reason = nullptr,
                   std::uintmax_t maxBytes = UINTMAX_MAX);

// Writes the bytes to a new file beside the target and renames it over the target
// only once every byte is written and the file closed. On failure the target is
// untouched (or still absent), no temporary file is left, and reason says why.
// A symbolic link as target is followed: the file it points to is replaced.
bool ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::string* reason = nullptr);

}  // namespace kolma
