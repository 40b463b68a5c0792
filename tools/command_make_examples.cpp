// kolma-batch make-examples DIR: writes the example projects and their text
// histories; the examples folder of the repository is made with it.
#include <filesystem>
#include <string>

#include "core/model/whole_file.h"
#include "tools/batch_support.h"
#include "tools/example_projects.h"

namespace kolma::batch {

int RunMakeExamples(const CommandArguments& arguments) {
  if (arguments.size() != 1) return ReportUsage("make-examples");
  const std::filesystem::path folder = arguments[0];
  std::vector<std::string> outputs;
  for (const ExampleFile& file : BuildExampleFiles()) outputs.push_back((folder / file.name).string());
  if (!OutputsAreSafe({}, outputs)) return kExitFailure;
  for (const ExampleFile& file : BuildExampleFiles()) {
    const std::filesystem::path path = folder / file.name;
    std::string reason;
    if (!ReplaceFileContents(path, file.bytes, &reason)) {
      ReportFailure(path.string(), reason);
      return kExitFailure;
    }
  }
  return kExitOk;
}

}  // namespace kolma::batch
