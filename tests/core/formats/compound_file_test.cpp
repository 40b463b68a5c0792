#include "core/formats/compound_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <stdexcept>

#include "tests/core/formats/reader_tools.h"

using namespace kolma;
using namespace kolma::test;
namespace fs = std::filesystem;

namespace {

std::uint32_t Field(const std::vector<std::uint8_t>& file, std::size_t at) {
  return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (static_cast<std::uint32_t>(file[at + 3]) << 24);
}

}  // namespace

// Each size is taken back out by xlrd's compound document reader, after a structural
// walk of the sector tables; sizes around the points where the allocation table needs
// more sectors than the header can list.
TEST(CompoundFile, StreamsOfManySizesReadBackByIndependentReader) {
  const std::string& python = PythonWithXlrd();
  ASSERT_FALSE(python.empty()) << kInstallHint;
  const fs::path folder = FreshFolder("compound");
  std::mt19937 random(7);
  struct TCase {
    std::size_t size;
    std::uint32_t fatSectors;
    std::uint32_t difatSectors;
  };
  // Sectors: data + 1 directory + FAT + DIFAT, each FAT sector mapping 128 of them.
  const TCase cases[] = {
      {4096, 1, 0},                      // 8 + 1 + 1 sectors
      {4097, 1, 0},
      {65536, 2, 0},                     // 128 + 1 + 2 = 131 > 128
      {(128 * 109 - 110) * 512, 109, 0},  // exactly fills 109 FAT sectors
      {(128 * 109 - 110) * 512 + 1, 110, 1},
      {20'000'000, 308, 2},              // 39063 + 1 + 308 + 2 = 39374 <= 308 * 128; 199 listed beyond 109
  };
  for (const TCase& c : cases) {
    std::vector<std::uint8_t> stream(c.size);
    for (auto& b : stream) b = static_cast<std::uint8_t>(random());
    const std::vector<std::uint8_t> file = BuildCompoundFile(u"Workbook", stream);
    EXPECT_EQ(Field(file, 0x2C), c.fatSectors) << c.size;
    EXPECT_EQ(Field(file, 0x48), c.difatSectors) << c.size;
    {
      std::ofstream out(folder / "file.cfb", std::ios::binary);
      out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }
    const TCommandOutput run =
        RunCommand(python + " " + ShellQuote(ScriptPath("read_xls.py").string()) + " stream " +
                   ShellQuote((folder / "file.cfb").string()) + " Workbook " + ShellQuote((folder / "out").string()));
    EXPECT_EQ(run.status, 0) << c.size << ": " << run.output;
    EXPECT_TRUE(ReadBytes(folder / "out") == stream) << c.size;
  }
  fs::remove_all(folder);
}

TEST(CompoundFile, RefusesWhatItCannotLayOut) {
  const std::vector<std::uint8_t> small(4095), enough(4096);
  EXPECT_THROW(BuildCompoundFile(u"Workbook", small), std::length_error);
  EXPECT_THROW(BuildCompoundFile(u"", enough), std::invalid_argument);
  EXPECT_THROW(BuildCompoundFile(std::u16string(32, u'a'), enough), std::invalid_argument);
  EXPECT_THROW(BuildCompoundFile(u"a/b", enough), std::invalid_argument);
  EXPECT_NO_THROW(BuildCompoundFile(std::u16string(31, u'a'), enough));
}
