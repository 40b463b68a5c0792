#include "core/formats/save_file.h"

#include "core/model/whole_file.h"

#include <system_error>

namespace kolma {

TFileWriteResult SaveFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  const std::u8string name = path.u8string();
  const std::string shown(name.begin(), name.end());
  if (!path.has_filename()) return {false, "no file name given: \"" + shown + "\""};
  std::string reason;
  if (!ReplaceFileContents(path, bytes, &reason)) return {false, shown + ": " + reason};
  return {true, {}};
}

std::string UnsafeOutputReason(const std::filesystem::path& output, std::span<const std::filesystem::path> inputs) {
  namespace fs = std::filesystem;
  if (output.empty()) return "the output file name is empty";
  std::error_code ec;
  const fs::file_status status = fs::status(output, ec);
  if (ec || !fs::exists(status)) return {};  // a new file: nothing to lose
  if (fs::is_directory(status)) return "it is a folder, not a file";
  if (!fs::is_regular_file(status)) return "it exists and is not a regular file (a pipe or a device)";
  for (const fs::path& input : inputs) {
    if (input.empty()) continue;
    if (fs::equivalent(output, input, ec) && !ec) return "it is the same file as the input " + input.string();
  }
  return {};
}

}  // namespace kolma
