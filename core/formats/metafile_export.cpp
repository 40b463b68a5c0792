#include "core/formats/metafile_export.h"

#include "core/formats/save_file.h"

namespace kolma {

std::filesystem::path MetafileFileName(const std::filesystem::path& name) {
  if (!name.has_filename()) return {};
  const std::u8string file = name.filename().u8string();
  if (file == u8"." || file == u8"..") return {};  // a folder, not a file name
  const std::size_t point = file.find(u8'.', 1);
  std::filesystem::path result = name;
  result.replace_filename(std::filesystem::path(file.substr(0, point) + u8".wmf"));
  return result;
}

TMetafileExport ExportMetafile(const std::filesystem::path& name, const TMetafileCanvas& picture) {
  TMetafileExport result;
  result.path = MetafileFileName(name);
  if (result.path.empty()) {
    result.reason = "no file name given";
    return result;
  }
  const TFileWriteResult written = SaveFile(result.path, picture.PlaceableBytes());
  result.ok = written.ok;
  result.reason = written.reason;
  return result;
}

}  // namespace kolma
