#pragma once
// The byte image of a project file: the inputs of a Project (never its results)
// as a little-endian stream, release 2 of the format.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/model/project.h"

namespace kolma {

std::vector<std::uint8_t> EncodeProject(const Project& project);

// Reads a whole file image into project, the way a file load does: the flags are
// cleared and then the stored input flags set; results stay as they are (the flags
// mark them invalid). On failure project is left exactly as it was and reason, when
// given, says why. Counts are checked against the bytes that remain before anything
// is allocated from them.
bool DecodeProject(std::span<const std::uint8_t> bytes, Project& project, std::string* reason = nullptr);

}  // namespace kolma
