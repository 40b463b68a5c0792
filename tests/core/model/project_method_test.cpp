// The inverse method kept with the project: only an exactly tagged trailer after the
// padding block chooses least squares; anything else a file may hold means the pair.
#include <gtest/gtest.h>

#include <string>

#include "core/model/project_codec.h"
#include "tests/core/model/model_test_support.h"

namespace kolma {
namespace {

using testing::Bytes;

const Bytes kTag = {'K', 'O', 'L', 'M', 'A', '-', 'O', 'P', 'T'};

TInverseMethod MethodRead(const Bytes& bytes) {
  Project p;
  p.AnalysisOptions.InverseMethod = kInverseLeastSquaresMethod;  // a load must replace it
  std::string reason;
  EXPECT_TRUE(DecodeProject(bytes, p, &reason)) << reason;
  return static_cast<TInverseMethod>(p.AnalysisOptions.InverseMethod);
}

Bytes Appended(Bytes b, const Bytes& tail) {
  b.insert(b.end(), tail.begin(), tail.end());
  return b;
}

TEST(ProjectInverseMethod, PairProjectsKeepTheirBytesAndLeastSquaresRoundTrips) {
  Project p = testing::RichProject();
  const Bytes pair = EncodeProject(p);
  p.AnalysisOptions.InverseMethod = kInverseLeastSquaresMethod;
  const Bytes all = EncodeProject(p);
  EXPECT_EQ(all, Appended(pair, Appended(kTag, {1, 1})));
  EXPECT_EQ(MethodRead(all), kInverseLeastSquaresMethod);
  EXPECT_EQ(MethodRead(pair), kInversePairMethod);
}

TEST(ProjectInverseMethod, AnythingButTheExactTrailerMeansThePair) {
  Bytes older = EncodeProject(testing::RichProject());
  // The seven spare bytes of the padding block (after the mode byte) hold anything.
  for (size_t i = 0; i < 7; ++i) older[older.size() - 15 + i] = static_cast<std::uint8_t>(0xA5 + i);
  EXPECT_EQ(MethodRead(older), kInversePairMethod);
  struct Case {
    const char* what;
    Bytes tail;
  } cases[] = {
      {"garbage", {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {"tag cut short", {'K', 'O', 'L', 'M', 'A'}},
      {"tag without method", Appended(kTag, {1})},
      {"unknown version", Appended(kTag, {2, 1})},
      {"unknown method", Appended(kTag, {1, 7})},
      {"lower-case tag", Appended({'k', 'O', 'L', 'M', 'A', '-', 'O', 'P', 'T'}, {1, 1})},
  };
  for (const Case& c : cases) EXPECT_EQ(MethodRead(Appended(older, c.tail)), kInversePairMethod) << c.what;
}

}  // namespace
}  // namespace kolma
