// kolma-batch resave IN.kol OUT.kol: reads a project file and writes it back, in
// the current release of the format.
#include <string>

#include "core/model/project_file.h"
#include "tools/batch_support.h"

namespace kolma::batch {

int RunResave(const CommandArguments& arguments) {
  if (arguments.size() != 2) return ReportUsage("resave");
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
