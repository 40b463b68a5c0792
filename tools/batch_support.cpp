#include "tools/batch_support.h"

#include <charconv>
#include <cstdio>
#include <string_view>

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

}  // namespace kolma::batch
