#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "core/model/project_codec.h"
#include "core/model/project_file.h"
#include "core/model/whole_file.h"
#include "tests/core/model/model_test_support.h"

namespace kolma {
namespace {

using testing::Bytes;
using testing::Fingerprint;
using testing::RichProject;

std::int32_t Int32At(const Bytes& b, size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(b.at(at + i)) << (8 * i);
  return static_cast<std::int32_t>(v);
}

double DoubleAt(const Bytes& b, size_t at) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(b.at(at + i)) << (8 * i);
  return std::bit_cast<double>(v);
}

void PutInt32(Bytes& b, size_t at, std::int32_t value) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

Bytes ReleaseOne(Bytes b) {  // release word 1, no padding block
  PutInt32(b, 8, 1);
  b.resize(b.size() - 16);
  return b;
}

Project Decoded(const Bytes& bytes, Project start = Project()) {
  std::string reason;
  EXPECT_TRUE(DecodeProject(bytes, start, &reason)) << reason;
  return start;
}

Project WithResults(Project p) {
  testing::FillResults(p);
  return p;
}

TEST(ProjectFileLayout, StartUpProjectIs126BytesOfDefaults) {
  const Bytes b = EncodeProject(Project());
  ASSERT_EQ(b.size(), 126u);
  EXPECT_EQ(Int32At(b, 0) * 1000 + Int32At(b, 4) * 100 + Int32At(b, 8) * 10 + Int32At(b, 12), 1021);
  EXPECT_EQ(Int32At(b, 16), 0);  // four false booleans
  EXPECT_EQ(DoubleAt(b, 28), 10.0);
  EXPECT_EQ(Int32At(b, 36), 10);
  EXPECT_EQ(DoubleAt(b, 56), 0.004);
  EXPECT_EQ(DoubleAt(b, 80), 0.00001);
  EXPECT_EQ(Int32At(b, 89) + Int32At(b, 93) + Int32At(b, 97), 0);  // no thermometer, pair 0, 0
  EXPECT_EQ(Int32At(b, 101), 40);
  EXPECT_EQ(Int32At(b, 105), 0);
  EXPECT_TRUE(std::all_of(b.begin() + 109, b.end(), [](std::uint8_t v) { return v == 0; }));
}

TEST(ProjectFileLayout, FaceBlockAt89AndThermometerRecordWithTimeStepBeforePosition) {
  Project p;
  p.ProjectFlags = pfUpstream;
  p.UpstreamHistory = {testing::Samples(365, 1.0, 0.5), 24};
  p.Thermometer(1) = {3.5, testing::Samples(2, 5, 1), 12, testing::TitleWithJunk("North", 0xA0)};
  const Bytes b = EncodeProject(p);
  ASSERT_EQ(b.size(), 126u + 12 + 2920 + 101 + 16);
  EXPECT_EQ(Int32At(b, 89), 365);
  EXPECT_EQ(DoubleAt(b, 93), 24.0);
  EXPECT_EQ(DoubleAt(b, 101 + 8 * 364), 183.0);
  const size_t record = 89 + 12 + 2920 + 4;
  EXPECT_EQ(Int32At(b, record - 4), 1);
  EXPECT_EQ(DoubleAt(b, record + 4), 12.0);
  EXPECT_EQ(DoubleAt(b, record + 12), 3.5);
  EXPECT_EQ(b[record + 20], 5);
  EXPECT_EQ(std::memcmp(&b[record + 21], "North", 5), 0);
  EXPECT_EQ(b[record + 100], p.Thermometer(1).Title.RawBytes()[79]);  // junk written as held
  EXPECT_EQ(DoubleAt(b, record + 109), 6.0);
}

TEST(ProjectFileRoundTrip, EveryKindOfContentComesBackBitForBit) {
  const Bytes first = EncodeProject(RichProject());
  const Project loaded = Decoded(first);
  EXPECT_TRUE(Fingerprint(loaded) == Fingerprint(RichProject()));
  EXPECT_EQ(EncodeProject(loaded), first);
  EXPECT_EQ(EncodeProject(Decoded(first, WithResults(RichProject(7)))), first);

  Bytes varied = first;  // junk after the end, unchecked header words, booleans other than 1
  varied.insert(varied.end(), {1, 2, 3, 4, 5});
  PutInt32(varied, 0, -77);
  PutInt32(varied, 12, 123456);
  varied[16] = 0x80;
  EXPECT_EQ(EncodeProject(Decoded(varied)), first);
}

TEST(ProjectFileRoundTrip, ReleaseOneLoadsWithAutomaticPaddingAndIsSavedAsReleaseTwo) {
  ASSERT_EQ(ReleaseOne(EncodeProject(Project())).size(), 110u);
  const Bytes old = ReleaseOne(EncodeProject(RichProject()));
  Project previous;
  previous.AnalysisOptions = {1, 1, {9, 8, 7, 6, 5, 4, 3}, 3.0};
  const Project p = Decoded(old, previous);
  EXPECT_EQ(p.AnalysisOptions.PaddingMode, 0);
  EXPECT_EQ(p.AnalysisOptions.PaddingYears, 0.0);
  EXPECT_EQ(p.AnalysisOptions.AveragingCorrection, 2);
  EXPECT_EQ(p.AnalysisOptions.PaddingReserved, previous.AnalysisOptions.PaddingReserved);  // not in the file
  const Bytes resaved = EncodeProject(p);
  ASSERT_EQ(resaved.size(), old.size() + 16);
  EXPECT_EQ(Int32At(resaved, 8), 2);
  EXPECT_TRUE(std::equal(old.begin() + 12, old.end(), resaved.begin() + 12));
}

TEST(ProjectFileLoadRules, ALoadReplacesOnlyWhatTheFileHolds) {
  Project current = WithResults(RichProject());  // ten slots, both faces
  current.ProjectFlags = 0xFF;
  current.UpstreamHistory.TimeStep = 3.25;
  Project stored;
  stored.ProjectFlags = pfDownstream;
  stored.DownstreamHistory = {testing::Samples(3, 1, 1), 2};
  stored.Thermometer(1).Values = testing::Samples(4, 20, 1);
  stored.Thermometer(2) = {1, testing::Samples(4, 40, 1), 6, testing::TitleWithJunk("new", 3)};
  stored.SetMinHarmonics(5);
  const Project p = Decoded(EncodeProject(stored), current);

  EXPECT_EQ(p.ProjectFlags, pfDownstream);  // modified and results flags cleared
  EXPECT_EQ(p.UpstreamHistory.Values.NrOfElem(), 1);  // undefined face: placeholder ...
  EXPECT_EQ(p.UpstreamHistory.TimeStep, 3.25);  // ... keeping its time step
  EXPECT_EQ(CountOccupiedThermometers(p), 2);
  EXPECT_EQ(p.Thermometer(2).Title.Text(), "new");
  for (int slot = 3; slot <= kThermometerSlots; ++slot) {  // emptied, details kept
    EXPECT_EQ(p.Thermometer(slot).Values.NrOfElem(), 1);
    EXPECT_EQ(p.Thermometer(slot).Position, current.Thermometer(slot).Position);
    EXPECT_EQ(p.Thermometer(slot).TimeStep, current.Thermometer(slot).TimeStep);
    EXPECT_TRUE(p.Thermometer(slot).Title == current.Thermometer(slot).Title);
  }
  EXPECT_EQ(p.InverseHarmonics.MinHarmonics, 5);
  // Nodes, results and the file name are the caller's business.
  Project expectUntouched = p;
  expectUntouched.SectionProperties.Nodes = current.SectionProperties.Nodes;
  expectUntouched.DirectHarmonics.Periods = current.DirectHarmonics.Periods;
  expectUntouched.InverseHarmonics.Amplitudes = current.InverseHarmonics.Amplitudes;
  expectUntouched.DirectResults = current.DirectResults;
  expectUntouched.InverseResults = current.InverseResults;
  expectUntouched.ProjectFileName = current.ProjectFileName;
  EXPECT_TRUE(Fingerprint(p) == Fingerprint(expectUntouched));
}

TEST(ProjectFileLoadRules, AStrayEmptySlotDoesNotPushAMeasuredHistoryOutOfTheFile) {
  Project p;
  p.Thermometer(1).Values = testing::Samples(3, 1, 1);
  p.Thermometer(3).Values = testing::Samples(5, 7, 1);  // slot 2 empty: a gap
  const Project loaded = Decoded(EncodeProject(p));
  EXPECT_EQ(CountOccupiedThermometers(loaded), 2);
  EXPECT_EQ(loaded.Thermometer(2).Values.Element(5), 11.0);
}

TEST(ProjectFileDamage, BadCountsAndLengthsAreRefusedWithAReason) {
  Project small;
  small.ProjectFlags = pfUpstream;
  small.UpstreamHistory.Values = testing::Samples(3, 1, 1);
  small.Thermometer(1).Values = testing::Samples(2, 1, 1);
  const Bytes good = EncodeProject(small);
  const size_t face = 89, count = face + 36, record = count + 4, title = record + 20, pair = record + 117;
  const struct {
    size_t at;
    std::int32_t value;  // an int32, or one byte at the title length
    const char* reason;
  } cases[] = {
      {36, 1001, "section division count 1001 is above 1000"},  // an analysis would take gigabytes
      {face, -5, "upstream history sample count -5 is negative"},
      {face, 0, "upstream history sample count 0 is below 1"},
      {face, 1000, "upstream history sample count 1000 is more than the rest of the file can hold"},
      {face, INT32_MAX, "upstream history sample count 2147483647 is more than the rest of the file can hold"},
      {count, 11, "thermometer count 11 is above 10"},
      {count, -1, "thermometer count -1 is negative"},
      {count, 2, "thermometer 2 sample count 0 is below 2"},  // reads the pair as a record
      {record, 1, "thermometer 1 sample count 1 is below 2"},
      {record, 1 << 28, "thermometer 1 sample count 268435456 is more than the rest of the file can hold"},
      {title, 81, "thermometer 1 title length 81 is above 80"},
      {pair, 11, "inverse pair slot 11 is outside 0 to 10"},
      {pair + 4, -1, "inverse pair slot -1 is outside 0 to 10"},
  };
  for (const auto& c : cases) {
    Bytes bad = good;
    if (c.at == title)
      bad.at(c.at) = static_cast<std::uint8_t>(c.value);
    else
      PutInt32(bad, c.at, c.value);
    Project p = WithResults(RichProject(5));
    const std::string before = Fingerprint(p);
    std::string reason;
    EXPECT_FALSE(DecodeProject(bad, p, &reason)) << c.reason;
    EXPECT_EQ(reason, c.reason);
    EXPECT_TRUE(Fingerprint(p) == before) << c.reason;
  }
  Project p;
  EXPECT_TRUE(DecodeProject(good, p));
}

TEST(ProjectFileDamage, AFileCutAnywhereFailsAndChangesNothing) {
  const Bytes whole = EncodeProject(RichProject(4));
  Project p = WithResults(RichProject(9));
  const std::string before = Fingerprint(p);
  for (size_t length = 0; length < whole.size(); ++length) {
    std::string reason;
    ASSERT_FALSE(DecodeProject(std::span(whole.data(), length), p, &reason)) << length;
    ASSERT_FALSE(reason.empty());
    ASSERT_TRUE(Fingerprint(p) == before) << length;
  }
}

TEST(ProjectFileDamage, RandomlyDamagedFilesNeverCrashAndNeverHoldMoreThanTheFile) {
  const Bytes good = EncodeProject(RichProject(6));
  const Project pristine = WithResults(RichProject(2));
  const std::string before = Fingerprint(pristine);
  std::mt19937 random(20031121);
  int loaded = 0;
  for (int round = 0; round < 3000; ++round) {
    Bytes bad = good;
    if (round % 3 == 0) {  // flipped bits
      for (int k = 1 + static_cast<int>(random() % 4); k > 0; --k) bad[random() % bad.size()] ^= 1u << (random() % 8);
    } else if (round % 3 == 1) {  // a count-like word anywhere
      const std::int32_t words[] = {0, 1, -1, 2, 10, 11, INT32_MIN, INT32_MAX, 1 << 20, static_cast<std::int32_t>(random())};
      PutInt32(bad, random() % (bad.size() - 4), words[random() % std::size(words)]);
    } else {  // cut, then junk
      bad.resize(random() % bad.size());
      for (int k = static_cast<int>(random() % 300); k > 0; --k) bad.push_back(static_cast<std::uint8_t>(random()));
    }
    Project p = pristine;
    std::string reason;
    if (DecodeProject(bad, p, &reason)) {
      ++loaded;
      size_t samples = static_cast<size_t>(p.UpstreamHistory.Values.NrOfElem() + p.DownstreamHistory.Values.NrOfElem());
      for (const TTemperatureInside& t : p.Thermometers) samples += static_cast<size_t>(t.Values.NrOfElem());
      ASSERT_LE(8 * samples, bad.size() + 8 * 12) << round;  // each placeholder holds one sample
    } else {
      ASSERT_FALSE(reason.empty());
      ASSERT_TRUE(Fingerprint(p) == before) << "round " << round << ": " << reason;
    }
  }
  EXPECT_GT(loaded, 100);  // both outcomes were reached
}

using ProjectFileDisk = testing::ScratchFolder;

TEST_F(ProjectFileDisk, SaveReplacesTheWholeFileAndLoadsBackIdentically) {
  const auto path = Path("project.kol");
  testing::WriteBytes(path, Bytes(5000, 0xAB));
  Project original = RichProject();
  original.ProjectFlags |= pfModified | pfDirectResults;
  std::string reason;
  ASSERT_TRUE(EcritureFichier(original, path, &reason)) << reason;
  EXPECT_EQ(testing::ReadBytes(path), EncodeProject(original));
  Project loaded;
  ASSERT_TRUE(LectureFichier(loaded, path, &reason)) << reason;
  EXPECT_EQ(loaded.ProjectFlags, pfSection | pfUpstream | pfDownstream | pfInversePair);
  EXPECT_EQ(EncodeProject(loaded), testing::ReadBytes(path));
  EXPECT_EQ(Listing(), std::vector<std::string>{"project.kol"});  // no temporary left

  std::filesystem::create_symlink(path, Path("link.kol"));  // a link is followed, not replaced
  ASSERT_TRUE(EcritureFichier(Project(), Path("link.kol")));
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link.kol")));
  EXPECT_EQ(testing::ReadBytes(path).size(), 126u);
}

TEST_F(ProjectFileDisk, AFailedSaveLeavesWhatWasThere) {
  const Bytes previous(300, 0x5A);
  std::string reason;
  std::filesystem::create_directory(Path("taken.kol"));  // a folder in the way of the target
  testing::WriteBytes(Path("taken.kol") / "inside", previous);
  EXPECT_FALSE(EcritureFichier(RichProject(), Path("taken.kol"), &reason));
  EXPECT_EQ(reason, "cannot replace: Is a directory");
  EXPECT_EQ(testing::ReadBytes(Path("taken.kol") / "inside"), previous);

  testing::WriteBytes(Path("plain"), previous);  // the parent is a regular file
  EXPECT_FALSE(EcritureFichier(RichProject(), Path("plain") / "x.kol", &reason));
  EXPECT_EQ(reason, "cannot create a file beside it: Not a directory");
  EXPECT_EQ(testing::ReadBytes(Path("plain")), previous);

  EXPECT_FALSE(EcritureFichier(RichProject(), Path("missing") / "x.kol", &reason));
  EXPECT_EQ(reason, "cannot create a file beside it: No such file or directory");
  EXPECT_EQ(Listing(), (std::vector<std::string>{"plain", "taken.kol"}));
}

TEST_F(ProjectFileDisk, AFailedLoadSaysWhyAndChangesNothing) {
  Project p = WithResults(RichProject(8));
  const std::string before = Fingerprint(p);
  std::string reason;
  EXPECT_FALSE(LectureFichier(p, Path("absent.kol"), &reason));
  EXPECT_EQ(reason, "cannot open: No such file or directory");
  EXPECT_FALSE(LectureFichier(p, folder_, &reason));
  EXPECT_EQ(reason, "cannot open: Is a directory");
  const Bytes whole = EncodeProject(RichProject(3));
  testing::WriteBytes(Path("cut.kol"), Bytes(whole.begin(), whole.begin() + 88));
  EXPECT_FALSE(LectureFichier(p, Path("cut.kol"), &reason));
  EXPECT_EQ(reason, "file ends before the end of the section");

  // Too large to be a project: refused from its size, before anything is read (the
  // file is sparse: it takes no room on the disk).
  const std::filesystem::path huge = Path("huge.kol");
  testing::WriteBytes(huge, whole);
  std::filesystem::resize_file(huge, kMaxProjectFileBytes + 1);
  EXPECT_FALSE(LectureFichier(p, huge, &reason));
  EXPECT_EQ(reason, "the file is larger than 1073741824 bytes");
  EXPECT_TRUE(Fingerprint(p) == before);

  // A device (or a FIFO) could block or never end: refused before any read.
  std::vector<std::uint8_t> bytes;
  EXPECT_FALSE(ReadWholeFile("/dev/zero", bytes, &reason, 1 << 20));
  EXPECT_EQ(reason, "cannot open: not a regular file");
}

}  // namespace
}  // namespace kolma
