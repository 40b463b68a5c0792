#pragma once
// Writing a recorded picture as a .wmf file.
#include <filesystem>
#include <string>

#include "core/formats/metafile_canvas.h"

namespace kolma {

// The name with everything from the first point of its file name on replaced by
// ".wmf": "plot.v2.emf" -> "plot.wmf", "plot" -> "plot.wmf". Points in folder names
// do not count ("a.b/plot" -> "a.b/plot.wmf"), and neither does a point that starts
// the file name (".plot.emf" -> ".plot.wmf"), which names a hidden file rather than
// an extension. Empty when the name has no file name part.
std::filesystem::path MetafileFileName(const std::filesystem::path& name);

struct TMetafileExport {
  bool ok = false;
  std::string reason;          // why not, when not ok
  std::filesystem::path path;  // the file written (or that would have been)
};

// The picture as a placeable metafile under MetafileFileName(name), replacing any file
// there as a whole.
TMetafileExport ExportMetafile(const std::filesystem::path& name, const TMetafileCanvas& picture);

}  // namespace kolma
