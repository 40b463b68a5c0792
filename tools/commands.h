#pragma once
// The commands of kolma-batch. Each lives in its own command_*.cpp file; adding
// one means writing that file and one line in command_table.cpp.
#include <span>
#include <string>
#include <vector>

namespace kolma::batch {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitWarning = 1;  // an analysis refused, warned or failed: no output written
inline constexpr int kExitFailure = 2;  // bad usage, unreadable input, failed output

using CommandArguments = std::vector<std::string>;  // the words after the command name

struct Command {
  const char* name;
  const char* arguments;  // as shown in the usage text
  const char* summary;
  int (*run)(const CommandArguments& arguments);
  bool hidden;  // maintenance commands stay out of the usage text
};

std::span<const Command> Commands();

int RunShow(const CommandArguments& arguments);
int RunResave(const CommandArguments& arguments);
int RunMakeExamples(const CommandArguments& arguments);
int RunDirect(const CommandArguments& arguments);
int RunInverse(const CommandArguments& arguments);
int RunHarmonics(const CommandArguments& arguments);
int RunImportMeasurements(const CommandArguments& arguments);

}  // namespace kolma::batch
