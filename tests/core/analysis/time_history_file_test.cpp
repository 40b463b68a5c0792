#include "core/analysis/time_history_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#if defined(__unix__)
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kolma {
namespace {

namespace fs = std::filesystem;
using Status = TimeHistoryReadStatus;

std::vector<double> Values(const TimeHistoryReadResult& r) {
  return std::vector<double>(r.values.Data(), r.values.Data() + r.values.NrOfElem());
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Spit(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A fresh folder per test, removed afterwards.
class TimeHistoryFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() / ("kolma_thf_" + std::to_string(::getpid()) + "_" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::vector<fs::path> Entries() const {
    std::vector<fs::path> entries;
    for (const auto& e : fs::directory_iterator(dir_)) entries.push_back(e.path().filename());
    return entries;
  }
  fs::path dir_;
};

TEST(TimeHistoryFormat, SevenSignificantDigits) {
  const std::pair<double, const char*> cases[] = {
      {24.0, "2.4E+1"},          {8760.0, "8.76E+3"},      {0.001, "1E-3"},
      {-3.5, "-3.5E+0"},         {1.0 / 3.0, "3.333333E-1"}, {0.0, "0E+0"},
      {-0.0, "0E+0"},            {12.75, "1.275E+1"},      {1.0, "1E+0"},
      {123456789.0, "1.234568E+8"}, {9.9999996, "1E+1"},   {-0.000123456749, "-1.234567E-4"},
      {1e-300, "1E-300"},        {1.5e300, "1.5E+300"},    {8760.0 / 16384, "5.34668E-1"},
      {std::numeric_limits<double>::denorm_min(), "4.940656E-324"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatSevenDigits(value), text) << value;
}

TEST(TimeHistoryFormat, HeaderAndSamples) {
  struct Case {
    const char* text;
    std::vector<double> values;
    double timeStep;
    int unread;  // samples missing or unreadable, set to 0
  };
  const Case cases[] = {
      {"3\n24\n1\n2\n3\n", {1, 2, 3}, 24, 0},
      {"5\r\n24\r\n1\r\n2\r\n3\r\n", {1, 2, 3, 0, 0}, 24, 2},      // short file: the rest is 0
      {"3\n24\n1\n\n\n2\n   \t\n3\n", {1, 2, 3}, 24, 0},          // blank lines are passed over
      {"3\n24\n1\nabc\n3\n", {1, 0, 3}, 24, 1},                     // letters read as 0, places kept
      {"3\n24\n1\n2x\n3\n", {1, 0, 3}, 24, 1},
      {"3 samples\n2.4E+1 hours\n1 one\n2\t two\n3\n9\n9\n", {1, 2, 3}, 24, 0},  // trailing text skipped
      {"3\r24\r1\r2\r3", {1, 2, 3}, 24, 0},                          // lone CR line ends, no final one
      {"4\n1E-3\n2.4E+1\n1E-3\n-3.5\n12.75\n", {24, 0.001, -3.5, 12.75}, 0.001, 0},
      {"3\n+.5\n1.\n+2\n-.25e1\n", {1, 2, -2.5}, 0.5, 0},
      {"2\n1\n1e-400\n1e400\n", {0, 0}, 1, 1},                       // underflow reads 0, overflow unreadable
      {"2\n1\n1\n", {1, 0}, 1, 1},                                   // the end of the file reads 0
      {"  \n\t 2 \n\n 1 \n5\n6\n", {5, 6}, 1, 0},
  };
  for (const Case& c : cases) {
    const TimeHistoryReadResult r = ParseTimeHistory(c.text);
    ASSERT_TRUE(r.ok()) << c.text;
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(Values(r), c.values) << c.text;
    EXPECT_EQ(r.timeStep, c.timeStep) << c.text;
    EXPECT_EQ(r.unreadSamples, c.unread) << c.text;
  }
}

TEST(TimeHistoryFormat, LongRunsAreCutAndTheirRestSkipped) {
  // A sample keeps its first 64 characters, the count its first 32.
  const std::string sample = "-" + std::string(62, '0') + "1" + ".5 9";
  const std::string count = std::string(31, '0') + "2" + "5";
  const TimeHistoryReadResult r = ParseTimeHistory(count + "\n1\n" + sample + "\n4\n5\n");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(Values(r), (std::vector<double>{-1, 4}));
}

TEST(TimeHistoryFormat, UnusableHeaders) {
  const char* invalid[] = {
      "8760.0\n1\n1\n",       // the count must be an integer
      "3.\n1\n",  "abc\n1\n", "-\n1\n", "0x10\n1\n",
      "3\nabc\n1\n",          // unreadable time step
      "3\n1e400\n",           // time step beyond a double
      "3\n",                  // no time step: it would read 0
      "3\n0\n1\n2\n3\n",      // zero and negative steps have no time axis
      "3\n-24\n1\n2\n3\n",    "3\n1e-400\n1\n",
      "8388609\n1\n",         // beyond the longest history: refused before allocating
      "2147483647\n1\n",      "99999999999999999999\n1\n", "-99999999999999999999\n1\n",
  };
  for (const char* text : invalid) {
    const TimeHistoryReadResult r = ParseTimeHistory(text);
    EXPECT_EQ(r.status, Status::InvalidFormat) << text;
    EXPECT_EQ(r.error, "Invalid file format") << text;
  }
  // A count of 0 or less loads nothing and is no error; neither is an empty file.
  for (const char* text : {"", "\n\n  \n", "0\n24\n1\n", "-5\n24\n", "0\n", "-3\n-1\n"}) {
    const TimeHistoryReadResult r = ParseTimeHistory(text);
    EXPECT_EQ(r.status, Status::NothingLoaded) << text;
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.error, "");
  }
}

TEST(TimeHistoryFormat, LargestCountIsAccepted) {
  const TimeHistoryReadResult r = ParseTimeHistory("8388608\n0.5\n7\n");
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r.values.NrOfElem(), 8388608);
  EXPECT_EQ(r.values.Element(1), 7.0);
  EXPECT_EQ(r.values.Element(8388608), 0.0);
}

TEST(TimeHistoryFormat, StreamReadingMatchesReadingFromMemory) {
  // Chunk boundaries fall inside numbers and between CR and LF somewhere in here.
  std::mt19937 rng(7);
  std::string text = "20000\r\n2.5E-1\r\n";
  for (int i = 0; i < 20000; ++i) {
    text += std::to_string(static_cast<int>(rng() % 2000000) - 1000000) + "." + std::to_string(rng() % 1000);
    text += (i % 3 == 0) ? "\r\n" : (i % 3 == 1 ? "\n\n" : " tail\r\r\n");
  }
  const TimeHistoryReadResult fromMemory = ParseTimeHistory(text);
  std::istringstream in(text);
  const TimeHistoryReadResult fromStream = ReadTimeHistory(in);
  ASSERT_TRUE(fromMemory.ok());
  ASSERT_TRUE(fromStream.ok());
  EXPECT_EQ(Values(fromStream), Values(fromMemory));
  EXPECT_EQ(fromStream.timeStep, 0.25);
}

TEST(TimeHistoryFormat, RandomBytesNeverBreakTheReader) {
  std::mt19937 rng(12345);
  const std::string alphabet = "0123456789+-.eE \t\r\n\nx";
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int length = static_cast<int>(rng() % 200);
    if (round % 3 == 0) {
      for (int i = 0; i < length; ++i) text.push_back(static_cast<char>(rng() & 0xFF));
    } else {
      if (round % 3 == 2) text = std::to_string(rng()) + "\n";  // often a huge count
      for (int i = 0; i < length; ++i) text.push_back(alphabet[rng() % alphabet.size()]);
    }
    const TimeHistoryReadResult r = ParseTimeHistory(text);
    ASSERT_LE(r.values.NrOfElem(), kMaxHistorySamples);
    if (r.ok()) {
      ASSERT_TRUE(std::isfinite(r.timeStep) && r.timeStep > 0.0);
      for (double v : Values(r)) ASSERT_TRUE(std::isfinite(v));
    } else {
      ASSERT_NE(r.status, Status::ReadFailed);
    }
  }
}

TEST_F(TimeHistoryFileTest, SaveThenLoadKeepsSevenDigits) {
  std::mt19937_64 rng(99);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-30, 30);
  TVector values(2000);
  for (int i = 1; i <= 2000; ++i) values.SetElement(i, mantissa(rng) * std::pow(10.0, exponent(rng)));
  values.SetElement(7, 0.0);
  values.SetElement(8, -1e-310);

  const fs::path file = dir_ / "history.txt";
  ASSERT_TRUE(WriteTimeHistoryFile(file, values, 1.234567).ok);
  const TimeHistoryReadResult r = ReadTimeHistoryFile(file);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.timeStep, 1.234567);  // seven digits come back exactly
  ASSERT_EQ(r.values.NrOfElem(), 2000);
  for (int i = 1; i <= 2000; ++i) {
    // Rounded independently: the C library's own seven-digit conversion.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6e", values.Element(i));
    ASSERT_EQ(r.values.Element(i), std::strtod(buffer, nullptr)) << i << " " << values.Element(i);
  }
  EXPECT_EQ(Entries(), std::vector<fs::path>{"history.txt"});  // no temporary file left
}

TEST_F(TimeHistoryFileTest, WrittenLayout) {
  const fs::path file = dir_ / "one.txt";
  TVector one(1);
  one.SetElement(1, -3.5);
  ASSERT_TRUE(WriteTimeHistoryFile(file, one, 24.0).ok);
  EXPECT_EQ(Slurp(file), "1\r\n2.4E+1\r\n-3.5E+0\r\n");

  TVector three(3);
  three.SetElement(1, 8760.0);
  three.SetElement(2, 0.001);
  three.SetElement(3, 1.0 / 3.0);
  std::ostringstream out;
  WriteTimeHistory(out, three, 8760.0 / 16384);
  EXPECT_EQ(out.str(), "3\r\n5.34668E-1\r\n8.76E+3\r\n1E-3\r\n3.333333E-1\r\n");
}

TEST_F(TimeHistoryFileTest, UnopenableFilesGiveAReason) {
  const TimeHistoryReadResult missing = ReadTimeHistoryFile(dir_ / "absent.txt");
  EXPECT_EQ(missing.status, Status::ReadFailed);
  EXPECT_NE(missing.error.find("absent.txt"), std::string::npos) << missing.error;
  EXPECT_NE(missing.error.find("No such file or directory"), std::string::npos) << missing.error;

  const TimeHistoryReadResult folder = ReadTimeHistoryFile(dir_);
  EXPECT_EQ(folder.status, Status::ReadFailed);
  EXPECT_NE(folder.error.find("Is a directory"), std::string::npos) << folder.error;
#if defined(__unix__)
  // A FIFO without a writer would block the open: it is refused at once.
  ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
  const TimeHistoryReadResult pipe = ReadTimeHistoryFile(dir_ / "pipe");
  EXPECT_EQ(pipe.status, Status::ReadFailed);
  EXPECT_NE(pipe.error.find("not a regular file"), std::string::npos) << pipe.error;
#endif
}

TEST_F(TimeHistoryFileTest, FailedSavesKeepThePreviousFile) {
  TVector values(4);
  values.Fill(2.0);

  const TimeHistoryWriteResult noFolder = WriteTimeHistoryFile(dir_ / "absent" / "h.txt", values, 1.0);
  EXPECT_FALSE(noFolder.ok);
  EXPECT_NE(noFolder.error.find("No such file or directory"), std::string::npos) << noFolder.error;

  // A folder in the way: the temporary file is written, the rename fails and is cleaned up.
  fs::create_directory(dir_ / "taken");
  Spit(dir_ / "taken" / "inside.txt", "keep");
  const TimeHistoryWriteResult folder = WriteTimeHistoryFile(dir_ / "taken", values, 1.0);
  EXPECT_FALSE(folder.ok);
  EXPECT_NE(folder.error.find("taken"), std::string::npos) << folder.error;
  EXPECT_EQ(Slurp(dir_ / "taken" / "inside.txt"), "keep");
  EXPECT_EQ(Entries(), std::vector<fs::path>{"taken"});

  // Overwriting works and keeps the permissions of the file it replaces.
  const fs::path file = dir_ / "h.txt";
  Spit(file, "old");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(WriteTimeHistoryFile(file, values, 1.0).ok);
  EXPECT_EQ(ParseTimeHistory(Slurp(file)).values.NrOfElem(), 4);
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

#if defined(__unix__)
TEST_F(TimeHistoryFileTest, DiskFullInTheMiddleOfASave) {
  // A child process whose files may not grow beyond 4 kB writes a long history over an
  // existing file: the save must fail with a reason and leave the old file intact.
  const fs::path file = dir_ / "h.txt";
  Spit(file, "2\r\n1E+0\r\n5E+0\r\n6E+0\r\n");
  std::fflush(nullptr);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    TVector values(100000);
    values.Fill(1.0 / 3.0);
    const TimeHistoryWriteResult r = WriteTimeHistoryFile(file, values, 1.0);
    const bool reasoned = r.error.find("Cannot save") != std::string::npos &&
                          r.error.find("File too large") != std::string::npos;
    _exit(!r.ok && reasoned ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Slurp(file), "2\r\n1E+0\r\n5E+0\r\n6E+0\r\n");
  EXPECT_EQ(Entries(), std::vector<fs::path>{"h.txt"});
}
#endif

}  // namespace
}  // namespace kolma
