#include "core/numeric/matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using kolma::TMatrix;
using kolma::TVector;

namespace {
// Rows given top to bottom in mathematical notation.
TMatrix FromRows(std::initializer_list<std::initializer_list<double>> rows) {
  const int nr = static_cast<int>(rows.size());
  const int nc = static_cast<int>(rows.begin()->size());
  TMatrix m(nc, nr);
  int r = 1;
  for (auto& row : rows) {
    int c = 1;
    for (double v : row) m.SetElement(c++, r, v);
    ++r;
  }
  return m;
}
}  // namespace

TEST(Matrix, AddressingAndResize) {
  TMatrix m(3, 2);
  for (int c = 1; c <= 3; ++c)
    for (int r = 1; r <= 2; ++r) m.SetElement(c, r, 10 * c + r);
  EXPECT_EQ(m.Data()[1], 21.0);  // row after row
  EXPECT_EQ(m.Element(0, 1), 0.0);
  EXPECT_EQ(m.Element(4, 1), 0.0);
  m.SetElement(1, 3, 5);  // ignored
  EXPECT_TRUE(m.Resize(2, 4));
  EXPECT_EQ(m.Element(1, 1), 11.0);
  EXPECT_EQ(m.Element(2, 2), 22.0);
  EXPECT_EQ(m.Element(1, 3), 0.0);
  EXPECT_EQ(m.Element(2, 4), 0.0);
  EXPECT_EQ(m.Element(3, 1), 0.0);
  EXPECT_FALSE(m.Resize(0, 3));
  m.SetNrOfRows(0);
  EXPECT_EQ(m.NrOfRows(), 1);
  EXPECT_EQ(m.NrOfColumns(), 2);
  EXPECT_EQ(m.Element(2, 1), 21.0);
}

TEST(Matrix, StatisticsVisitTheClampedRectangle) {
  TMatrix m = FromRows({{1, 2, 3}, {4, 5, 6}});
  double lo, hi;
  m.MinMax(3, 9, 2, 0, lo, hi);  // columns 2..3, rows 1..2
  EXPECT_EQ(lo, 2.0);
  EXPECT_EQ(hi, 6.0);
  double mean, variance;
  m.MeanAndVariance(1, 1, 3, 2, mean, variance);
  EXPECT_DOUBLE_EQ(mean, 3.5);
  EXPECT_DOUBLE_EQ(variance, 3.5);
  m.MeanAndVariance(1, 1, 1, 2, mean, variance);
  EXPECT_EQ(variance, 1.0);
}

TEST(Matrix, SortRowsMovesTheColumnRangeAndTheKey) {
  TMatrix m = FromRows({{3, 30, 300}, {1, 10, 100}, {2, 20, 200}});
  int events = 0;
  m.OnSortExchange = [&](const void*, std::uint8_t what, int, int, int first, int last) {
    EXPECT_EQ(what, kolma::kExchangedRows);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 3);
    ++events;
  };
  m.SortRows(1, true, 2, 1, 3, 3);  // key outside the moved columns still travels with them
  EXPECT_GT(events, 0);
  for (int r = 1; r <= 3; ++r) {
    EXPECT_EQ(m.Element(1, r), r);
    EXPECT_EQ(m.Element(2, r), 10 * r);
    EXPECT_EQ(m.Element(3, r), 100 * r);
  }
  m.OnSortExchange = nullptr;
  m.SortRows(2, false, 1, 1, 3, 3);
  EXPECT_EQ(m.Element(1, 1), 3.0);
  EXPECT_EQ(m.Element(3, 3), 100.0);
}

TEST(Matrix, CopyColumnToFillsWithoutResizing) {
  TMatrix m = FromRows({{1, 2}, {3, 4}, {5, 6}});
  TVector v(2);
  m.CopyColumnTo(v, 2, 1, 3);  // the vector only holds two
  EXPECT_EQ(v.NrOfElem(), 2);
  EXPECT_EQ(v.Element(1), 2.0);
  EXPECT_EQ(v.Element(2), 4.0);
  TVector w(4);
  w.Fill(9);
  m.CopyColumnTo(w, 7, 3, 2);  // column clamped to 2, rows ordered
  EXPECT_EQ(w.Element(1), 4.0);
  EXPECT_EQ(w.Element(2), 6.0);
  EXPECT_EQ(w.Element(3), 0.0);
}

TEST(Matrix, MultiplyChecksShapes) {
  TMatrix a = FromRows({{1, 2, 3}, {4, 5, 6}});
  TMatrix b = FromRows({{7}, {8}, {9}});
  TMatrix wrong(2, 2);
  wrong.Fill(5);
  EXPECT_FALSE(a.Multiply(b, wrong));
  EXPECT_EQ(wrong.Element(2, 2), 5.0);
  TMatrix c(1, 2);
  ASSERT_TRUE(a.Multiply(b, c));
  EXPECT_EQ(c.Element(1, 1), 50.0);
  EXPECT_EQ(c.Element(1, 2), 122.0);
}

TEST(Matrix, InvertWorkedExampleAndSingularCases) {
  TMatrix m = FromRows({{4, 7}, {2, 6}});
  ASSERT_TRUE(m.Invert());
  EXPECT_NEAR(m.Element(1, 1), 0.6, 1e-15);
  EXPECT_NEAR(m.Element(2, 1), -0.7, 1e-15);
  EXPECT_NEAR(m.Element(1, 2), -0.2, 1e-15);
  EXPECT_NEAR(m.Element(2, 2), 0.4, 1e-15);

  // 3 / 5 is 0.6 exactly rounded, 3 * (1 / 5) one bit above: only the division gives the
  // exact inverse [[3/8, -7/24], [-1/8, 5/24]].
  TMatrix lastBit = FromRows({{5, 7}, {3, 9}});
  ASSERT_TRUE(lastBit.Invert());
  EXPECT_EQ(lastBit.Element(1, 1), 0.375);
  EXPECT_EQ(lastBit.Element(1, 2), -0.125);
  EXPECT_EQ(lastBit.Element(2, 2), 5.0 / 24.0);

  TMatrix rect(2, 3);
  rect.Fill(1);
  EXPECT_FALSE(rect.Invert());
  EXPECT_EQ(rect.NrOfColumns(), 2);
  EXPECT_EQ(rect.Element(2, 3), 1.0);

  TMatrix zeroRow = FromRows({{0, 0}, {1, 2}});
  int changes = 0;
  zeroRow.OnChange = [&](const void*) { ++changes; };
  EXPECT_FALSE(zeroRow.Invert());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(zeroRow.Element(1, 2), 1.0);
  EXPECT_EQ(zeroRow.Element(2, 2), 2.0);

  TMatrix dependent = FromRows({{1, 2}, {2, 4}});
  EXPECT_FALSE(dependent.Invert());  // tiny pivot: reported, content lost
}

TEST(Matrix, InverseTimesMatrixIsIdentity) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> u(-1, 1);
  for (int n : {1, 2, 3, 5, 8, 13, 30}) {
    for (int trial = 0; trial < 5; ++trial) {
      TMatrix a(n, n);
      for (int r = 1; r <= n; ++r)
        for (int c = 1; c <= n; ++c) a.SetElement(c, r, u(rng) + (r == c ? n : 0.0));  // diagonally dominant
      // Scramble rows so that pivoting has work to do.
      a.SortRows(1, true, 1, 1, n, n);
      TMatrix inv = a;
      ASSERT_TRUE(inv.Invert()) << n;
      TMatrix product(n, n);
      ASSERT_TRUE(a.Multiply(inv, product));
      for (int r = 1; r <= n; ++r)
        for (int c = 1; c <= n; ++c) EXPECT_NEAR(product.Element(c, r), r == c ? 1.0 : 0.0, 1e-12) << n;
    }
  }
}

TEST(Matrix, InvertHandlesBadlyScaledRows) {
  // Implicit scaling lets partial pivoting cope with rows of wildly different magnitudes.
  TMatrix a = FromRows({{1e-8, 1e-8, 2e-8}, {3e6, 1e6, 1e6}, {1, 5, 2}});
  TMatrix inv = a;
  ASSERT_TRUE(inv.Invert());
  TMatrix product(3, 3);
  ASSERT_TRUE(inv.Multiply(a, product));
  for (int r = 1; r <= 3; ++r)
    for (int c = 1; c <= 3; ++c) EXPECT_NEAR(product.Element(c, r), r == c ? 1.0 : 0.0, 1e-9);
}
