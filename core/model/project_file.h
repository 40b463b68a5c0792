#pragma once
// Saving and loading a project file (".kol").
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/model/project.h"

namespace kolma {

// Twelve histories of the longest record an analysis can take (2^23 samples) fit well
// below this; anything larger is not a project file and is refused before it is read.
inline constexpr std::uintmax_t kMaxProjectFileBytes = std::uintmax_t{1} << 30;

// Writes the inputs of the project. A failed save leaves any previous file as it
// was. Returns false, with a human-readable reason when asked, on any failure.
bool EcritureFichier(const Project& project, const std::filesystem::path& path, std::string* reason = nullptr);

// Reads a project file into the project: every flag is cleared, then the stored
// input flags set. Node positions are not recomputed here. A failed load leaves the
// project exactly as it was; reason, when asked, says why it failed.
bool LectureFichier(Project& project, const std::filesystem::path& path, std::string* reason = nullptr);

}  // namespace kolma
