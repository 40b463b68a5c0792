#include "tests/core/formats/reader_tools.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace kolma::test {

TCommandOutput RunCommand(const std::string& command) {
  TCommandOutput result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, count);
  const int status = pclose(pipe);
  result.status = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

const std::string& PythonWithXlrd() {
  // Debian's xlrd belongs to the system interpreter, which another python3 earlier
  // in PATH may hide.
  static const std::string python = [] {
    for (const char* candidate : {"/usr/bin/python3", "python3"}) {
      if (RunCommand(std::string(candidate) + " -c 'import xlrd'").status == 0) return std::string(candidate);
    }
    return std::string();
  }();
  return python;
}

bool HaveWmf2Svg() {
  static const bool found = RunCommand("command -v wmf2svg").status == 0;
  return found;
}

std::filesystem::path ScriptPath(const char* name) {
  return std::filesystem::path(KOLMA_SOURCE_DIR) / "tests" / "core" / "formats" / name;
}

std::filesystem::path FreshFolder(const std::string& name) {
  const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) /
                                       ("kolma_formats_" + name + "_" + std::to_string(getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace kolma::test
