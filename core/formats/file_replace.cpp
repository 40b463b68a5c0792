#include "core/formats/file_replace.h"

#include <fstream>
#include <system_error>

namespace kolma {

namespace {

std::string Utf8Name(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

}  // namespace

TFileWriteResult ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  namespace fs = std::filesystem;
  if (path.empty() || !path.has_filename()) return {false, "no file name given"};
  const std::string name = Utf8Name(path);

  std::error_code error;
  if (fs::is_directory(path, error)) return {false, name + " is a folder"};

  // A fresh name in the same folder, so that the rename stays on one file system.
  fs::path temporary;
  for (int attempt = 0;; ++attempt) {
    if (attempt == 1000) return {false, "cannot find a free temporary name beside " + name};
    temporary = path;
    temporary += ".tmp" + std::to_string(attempt);
    if (!fs::exists(temporary, error) && !error) break;
  }

  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return {false, "cannot create a file in the folder of " + name};
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out.fail()) {
      fs::remove(temporary, error);
      return {false, "cannot write " + name + " (is the disk full?)"};
    }
  }
  fs::rename(temporary, path, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return {false, "cannot replace " + name + ": " + error.message()};
  }
  return {true, {}};
}

}  // namespace kolma
