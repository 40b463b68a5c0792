#pragma once
// The ready-made projects of the examples folder, and the text histories they are
// made from. Everything is computed here, so the committed files can be checked
// against a fresh build of them.
#include <cstdint>
#include <string>
#include <vector>

namespace kolma::batch {

struct ExampleFile {
  std::string name;  // file name inside the examples folder
  std::vector<std::uint8_t> bytes;
};

std::vector<ExampleFile> BuildExampleFiles();

}  // namespace kolma::batch
