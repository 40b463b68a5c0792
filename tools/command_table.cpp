#include "tools/commands.h"

namespace kolma::batch {

std::span<const Command> Commands() {
  static const Command table[] = {
      {"show", "FILE.kol", "print the stored project, one key=value line per field", RunShow, false},
      {"resave", "IN.kol OUT.kol", "read a project file and write it back", RunResave, false},
      {"make-examples", "DIR", "write the example projects and their histories into DIR", RunMakeExamples, true},
  };
  return table;
}

}  // namespace kolma::batch
