// kolma-batch: the project file and the analyses without the windows.
#include <cstdio>
#include <exception>
#include <new>
#include <string_view>

#include "tools/commands.h"

namespace {

void PrintUsage(std::FILE* to) {
  std::fprintf(to, "usage: kolma-batch COMMAND [ARGUMENTS]\n       kolma-batch --help\n\ncommands:\n");
  for (const kolma::batch::Command& command : kolma::batch::Commands())
    if (!command.hidden) std::fprintf(to, "  %s %s\n      %s\n", command.name, command.arguments, command.summary);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kolma::batch;
  if (argc >= 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    PrintUsage(stdout);
    return kExitOk;
  }
  if (argc >= 2) {
    for (const Command& command : Commands()) {
      if (std::string_view(argv[1]) != command.name) continue;
      // A table or a file too large for the memory must end in a message, not an abort.
      try {
        return command.run(CommandArguments(argv + 2, argv + argc));
      } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "kolma-batch: %s: not enough memory\n", command.name);
      } catch (const std::exception& error) {
        std::fprintf(stderr, "kolma-batch: %s: %s\n", command.name, error.what());
      }
      return kExitFailure;
    }
    std::fprintf(stderr, "kolma-batch: unknown command '%s'\n", argv[1]);
  }
  PrintUsage(stderr);
  return kExitFailure;
}
