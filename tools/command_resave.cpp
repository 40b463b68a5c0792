// kolma-batch resave IN.kol OUT.kol: reads a project file and writes it back, in
// the current release of the format.
#include <string>

#include "core/model/project_file.h"
#include "tools/batch_support.h"

namespace kolma::batch {

int RunResave(const CommandArguments& arguments) {
  if (arguments.size() != 2) return ReportUsage("resave");
  // Writing a project back over itself is safe (it is read whole first), but not an empty
  // name, nor a folder, a pipe or a device in place of the file.
  if (arguments[1].empty()) {
    ReportFailure("resave", "the output file name is empty; nothing was written");
    return kExitFailure;
  }
  if (!OutputsAreSafe({}, {arguments[1]})) return kExitFailure;
  Project project;
  if (!LoadProjectOrReport(arguments[0], project)) return kExitFailure;
  std::string reason;
  if (!EcritureFichier(project, arguments[1], &reason)) {
    ReportFailure(arguments[1], reason);
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace kolma::batch
