#pragma once
// Running the independent readers the format tests check their files with: xlrd for
// workbooks, wmf2svg (libwmf) for metafiles, through small Python scripts beside the
// tests. A missing reader fails the test with a message saying what to install.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kolma::test {

struct TCommandOutput {
  int status = -1;     // exit status; -1 when the command could not be run
  std::string output;  // standard output and error together
};

TCommandOutput RunCommand(const std::string& command);
std::string ShellQuote(const std::string& text);

// A Python interpreter that has xlrd; empty when there is none.
const std::string& PythonWithXlrd();
// Whether wmf2svg can be run.
bool HaveWmf2Svg();
inline constexpr const char* kInstallHint =
    "the independent readers are missing: install the Debian packages python3-xlrd and libwmf-bin "
    "(./test does so through scripts/setup)";

std::filesystem::path ScriptPath(const char* name);
// A fresh empty folder of this process for one test.
std::filesystem::path FreshFolder(const std::string& name);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);

}  // namespace kolma::test
