#include "core/formats/save_file.h"

#include "core/model/whole_file.h"

namespace kolma {

TFileWriteResult SaveFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  const std::u8string name = path.u8string();
  const std::string shown(name.begin(), name.end());
  if (!path.has_filename()) return {false, "no file name given: \"" + shown + "\""};
  std::string reason;
  if (!ReplaceFileContents(path, bytes, &reason)) return {false, shown + ": " + reason};
  return {true, {}};
}

}  // namespace kolma
