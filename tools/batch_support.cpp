#include "tools/batch_support.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <string_view>

#include "core/formats/save_file.h"
#include "core/model/node_distribution.h"
#include "core/model/project_file.h"

namespace kolma::batch {

std::string FormatDouble(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

void ReportFailure(const std::string& subject, const std::string& reason) {
  std::fprintf(stderr, "kolma-batch: %s: %s\n", subject.c_str(), reason.c_str());
}

int ReportUsage(const char* name) {
  for (const Command& command : Commands())
    if (std::string_view(command.name) == name)
      std::fprintf(stderr, "usage: kolma-batch %s %s\n", command.name, command.arguments);
  return kExitFailure;
}

bool LoadProjectOrReport(const std::string& path, Project& project) {
  project.InitDefaults();
  std::string reason;
  if (!LectureFichier(project, path, &reason)) {
    ReportFailure(path, reason);
    return false;
  }
  // As after opening a file in the window: the node positions follow from the section.
  TSectionProperties& s = project.SectionProperties;
  ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio);
  return true;
}

bool OutputsAreSafe(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs) {
  std::vector<std::filesystem::path> taken(inputs.begin(), inputs.end());
  for (const std::string& output : outputs) {
    if (output.empty()) continue;
    const std::string reason = UnsafeOutputReason(output, taken);
    if (!reason.empty()) {
      ReportFailure(output, "refused as an output: " + reason + "; nothing was run or written");
      return false;
    }
    // Two outputs naming one new file would leave only the last one written.
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(output, ec);
    for (const std::string& other : outputs)
      if (&other != &output && !other.empty() && std::filesystem::weakly_canonical(other, ec) == canonical) {
        ReportFailure(output, "refused as an output: named twice; nothing was run or written");
        return false;
      }
    taken.push_back(output);
  }
  return true;
}

}  // namespace kolma::batch
