#include "core/model/project_file.h"

#include <exception>
#include <vector>

#include "core/model/project_codec.h"
#include "core/model/whole_file.h"

namespace kolma {

bool EcritureFichier(const Project& project, const std::filesystem::path& path, std::string* reason) {
  std::vector<std::uint8_t> bytes;
  try {
    bytes = EncodeProject(project);
  } catch (const std::exception&) {
    if (reason) *reason = "not enough memory to prepare the file";
    return false;
  }
  return ReplaceFileContents(path, bytes, reason);
}

bool LectureFichier(Project& project, const std::filesystem::path& path, std::string* reason) {
  std::vector<std::uint8_t> bytes;
  try {
    if (!ReadWholeFile(path, bytes, reason, kMaxProjectFileBytes)) return false;
  } catch (const std::exception&) {
    if (reason) *reason = "not enough memory to read the file";
    return false;
  }
  return DecodeProject(bytes, project, reason);
}

}  // namespace kolma
