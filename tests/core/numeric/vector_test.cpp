#include "core/numeric/vector.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

using kolma::TVector;

namespace {
TVector Make(std::initializer_list<double> values) {
  TVector v(static_cast<int>(values.size()));
  int i = 1;
  for (double x : values) v.SetElement(i++, x);
  return v;
}
}  // namespace

TEST(Vector, BoundsAreSilentAndFireNoEvent) {
  TVector v = Make({1, 2, 3});
  int changes = 0;
  v.OnChange = [&](const void*) { ++changes; };
  EXPECT_EQ(v.Element(0), 0.0);
  EXPECT_EQ(v.Element(4), 0.0);
  v.SetElement(0, 9);
  v.SetElement(4, 9);
  EXPECT_EQ(changes, 0);
  v.SetElement(2, 7);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(v.Element(2), 7.0);
  EXPECT_EQ(TVector().NrOfElem(), 1);
  EXPECT_EQ(TVector().Element(1), 0.0);
}

TEST(Vector, ResizeKeepsOverlapAndRefusesNonPositive) {
  TVector v = Make({1, 2, 3});
  v.SetNrOfElem(0);
  v.SetNrOfElem(-4);
  EXPECT_EQ(v.NrOfElem(), 3);
  EXPECT_FALSE(v.Resize(0));
  int changes = 0;
  v.OnChange = [&](const void*) { ++changes; };
  EXPECT_TRUE(v.Resize(3));
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(v.Resize(5));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(v.Element(3), 3.0);
  EXPECT_EQ(v.Element(5), 0.0);
  v.SetNrOfElem(2);
  EXPECT_EQ(v.NrOfElem(), 2);
  EXPECT_EQ(v.Element(2), 2.0);
}

TEST(Vector, StatisticsOverClampedRanges) {
  TVector v = Make({4, -1, 6});
  double lo, hi;
  v.MinMax(5, 2, lo, hi);  // clamped to 3..2, then ordered: elements 2..3
  EXPECT_EQ(lo, -1.0);
  EXPECT_EQ(hi, 6.0);
  v.MinMax(1, 1, lo, hi);
  EXPECT_EQ(lo, 4.0);
  EXPECT_EQ(hi, 4.0);

  double mean, variance;
  v.MeanAndVariance(1, 2, mean, variance);
  EXPECT_DOUBLE_EQ(mean, 1.5);
  EXPECT_EQ(variance, 1.0);  // fewer than three values: fixed at one
  v.MeanAndVariance(-3, 99, mean, variance);
  EXPECT_DOUBLE_EQ(mean, 3.0);
  EXPECT_DOUBLE_EQ(variance, ((4 - 3) * (4 - 3) + 16 + 9) / 2.0);
}

TEST(Vector, CombSortOrdersAndReportsEveryExchange) {
  TVector v = Make({3, 1, 2});
  v.Sort(true, 1, 3);
  EXPECT_EQ(v.Element(1), 1.0);
  EXPECT_EQ(v.Element(2), 2.0);
  EXPECT_EQ(v.Element(3), 3.0);
  v.Sort(false, 1, 3);
  EXPECT_EQ(v.Element(1), 3.0);
  EXPECT_EQ(v.Element(3), 1.0);

  TVector same = Make({5, 5, 5, 5});
  int exchanges = 0;
  same.OnSortExchange = [&](const void*, std::uint8_t, int, int, int, int) { ++exchanges; };
  same.Sort(true, 1, 4);
  EXPECT_EQ(exchanges, 0);

  // Replaying the reported exchanges on a companion array keeps pairs together.
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(-100, 100);
  const int n = 257;
  TVector x(n);
  std::vector<int> tag(n + 1);
  for (int i = 1; i <= n; ++i) {
    x.SetElement(i, u(rng));
    tag[i] = i;
  }
  const TVector original = x;
  x.OnSortExchange = [&](const void* sender, std::uint8_t what, int a, int b, int first, int last) {
    EXPECT_EQ(sender, &x);
    EXPECT_EQ(what, kolma::kExchangedElements);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 0);
    std::swap(tag[a], tag[b]);
  };
  x.Sort(true, 1, n);
  for (int i = 1; i <= n; ++i) {
    if (i > 1) {
      EXPECT_LE(x.Element(i - 1), x.Element(i));
    }
    EXPECT_EQ(original.Element(tag[i]), x.Element(i));
  }
}

TEST(Vector, SortLeavesOutsideTheRangeAlone) {
  TVector v = Make({9, 3, 2, 1, 0});
  v.Sort(true, 2, 4);
  EXPECT_EQ(v.Element(1), 9.0);
  EXPECT_EQ(v.Element(2), 1.0);
  EXPECT_EQ(v.Element(4), 3.0);
  EXPECT_EQ(v.Element(5), 0.0);
}

TEST(Vector, CopiesNeverShareStorage) {
  TVector a = Make({1, 2, 3});
  TVector b;
  b.CopyFrom(&a);
  b.SetElement(1, 42);
  EXPECT_EQ(a.Element(1), 1.0);
  EXPECT_EQ(b.NrOfElem(), 3);
  b.CopyFrom(nullptr);
  EXPECT_EQ(b.Element(1), 42.0);

  TVector c = a;
  c.SetElement(2, -1);
  EXPECT_EQ(a.Element(2), 2.0);
}

TEST(Vector, CopyRangeClampsAndDropsOutsideWrites) {
  TVector src = Make({1, 2, 3, 4});
  TVector dst(3);
  dst.CopyRange(src, 4, 2, 2);  // source 2..4 to destination 2..4; element 4 is dropped
  EXPECT_EQ(dst.Element(1), 0.0);
  EXPECT_EQ(dst.Element(2), 2.0);
  EXPECT_EQ(dst.Element(3), 3.0);
  TVector self = Make({1, 2, 3, 4});
  self.CopyRange(self, 1, 3, 2);  // overlapping shift right
  EXPECT_EQ(self.Element(2), 1.0);
  EXPECT_EQ(self.Element(3), 2.0);
  EXPECT_EQ(self.Element(4), 3.0);
  self.Fill(2.5);
  EXPECT_EQ(self.Element(4), 2.5);
  self.Clear();
  EXPECT_EQ(self.Element(4), 0.0);
}
