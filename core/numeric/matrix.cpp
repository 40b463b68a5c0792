#include "core/numeric/matrix.h"

#include <cmath>
#include <new>

#include "core/numeric/comb_sort.h"
#include "core/numeric/errors.h"

namespace kolma {

TMatrix::TMatrix() : TMatrix(1, 1) {}

TMatrix::TMatrix(int columns, int rows) : columns_(columns < 1 ? 1 : columns), rows_(rows < 1 ? 1 : rows) {
  try {
    data_.assign(static_cast<size_t>(columns_) * static_cast<size_t>(rows_), 0.0);
  } catch (const std::bad_alloc&) {
    throw EMatrixError(kNotEnoughMemory);
  } catch (const std::length_error&) {
    throw EMatrixError(kNotEnoughMemory);
  }
}

TMatrix::TMatrix(const TMatrix& other) : columns_(other.columns_), rows_(other.rows_), data_(other.data_) {}

TMatrix& TMatrix::operator=(const TMatrix& other) {
  if (this != &other) {
    columns_ = other.columns_;
    rows_ = other.rows_;
    data_ = other.data_;
  }
  return *this;
}

void TMatrix::SetNrOfColumns(int n) { Resize(n < 1 ? 1 : n, rows_); }
void TMatrix::SetNrOfRows(int n) { Resize(columns_, n < 1 ? 1 : n); }

bool TMatrix::Resize(int columns, int rows) {
  if (columns <= 0 || rows <= 0) return false;
  if (columns == columns_ && rows == rows_) return true;
  std::vector<double> fresh;
  try {
    fresh.assign(static_cast<size_t>(columns) * static_cast<size_t>(rows), 0.0);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  const int keepColumns = std::min(columns, columns_);
  const int keepRows = std::min(rows, rows_);
  for (int r = 0; r < keepRows; ++r)
    for (int c = 0; c < keepColumns; ++c)
      fresh[static_cast<size_t>(r) * columns + c] = data_[static_cast<size_t>(r) * columns_ + c];
  data_.swap(fresh);
  columns_ = columns;
  rows_ = rows;
  Changed();
  return true;
}

void TMatrix::SetElement(int column, int row, double value) {
  if (column < 1 || column > columns_ || row < 1 || row > rows_) return;
  data_[Index(column, row)] = value;
  Changed();
}

void TMatrix::SortRows(int keyColumn, bool ascending, int firstColumn, int firstRow, int lastColumn, int lastRow) {
  if (keyColumn < 1 || keyColumn > columns_) return;  // no key to compare: nothing can be sorted
  ClampRange(rows_, firstRow, lastRow);
  if (firstColumn > lastColumn) std::swap(firstColumn, lastColumn);
  // The caller keeps the column range inside the matrix; clamp anyway so that a slip cannot write out of bounds.
  firstColumn = std::max(firstColumn, 1);
  lastColumn = std::min(lastColumn, columns_);
  const bool keyOutside = keyColumn < firstColumn || keyColumn > lastColumn;
  if (lastRow - firstRow <= 0) return;

  auto swapRows = [&](int a, int b) {
    for (int c = firstColumn; c <= lastColumn; ++c) std::swap(data_[Index(c, a)], data_[Index(c, b)]);
    if (keyOutside) std::swap(data_[Index(keyColumn, a)], data_[Index(keyColumn, b)]);
  };

  CombSort(
      firstRow, lastRow,
      [&](int i, int j) {
        const double a = data_[Index(keyColumn, i)];
        const double b = data_[Index(keyColumn, j)];
        return ascending ? a > b : a < b;
      },
      [&](int i, int j) {
        swapRows(i, j);
        if (OnSortExchange) OnSortExchange(this, kExchangedRows, i, j, firstColumn, lastColumn);
      });
  Changed();
}

void TMatrix::MinMax(int firstColumn, int firstRow, int lastColumn, int lastRow, double& min, double& max) const {
  min = 1.7e38;
  max = -1.7e38;
  ClampRange(columns_, firstColumn, lastColumn);
  ClampRange(rows_, firstRow, lastRow);
  for (int c = firstColumn; c <= lastColumn; ++c)
    for (int r = firstRow; r <= lastRow; ++r) {
      const double v = data_[Index(c, r)];
      if (v < min) min = v;
      if (v > max) max = v;
    }
}

void TMatrix::MeanAndVariance(int firstColumn, int firstRow, int lastColumn, int lastRow, double& mean,
                              double& variance) const {
  ClampRange(columns_, firstColumn, lastColumn);
  ClampRange(rows_, firstRow, lastRow);
  const long long n = static_cast<long long>(lastColumn - firstColumn + 1) * (lastRow - firstRow + 1);
  double s = 0.0, q = 0.0;
  for (int c = firstColumn; c <= lastColumn; ++c)
    for (int r = firstRow; r <= lastRow; ++r) {
      const double v = data_[Index(c, r)];
      s += v;
      q += v * v;
    }
  mean = s / static_cast<double>(n);
  variance = n < 3 ? 1.0 : (q - s * s / static_cast<double>(n)) / static_cast<double>(n - 1);
}

void TMatrix::Fill(double value) {
  std::fill(data_.begin(), data_.end(), value);
  Changed();
}

void TMatrix::CopyColumnTo(TVector& vector, int column, int firstRow, int lastRow) const {
  column = column < 1 ? 1 : (column > columns_ ? columns_ : column);
  ClampRange(rows_, firstRow, lastRow);
  if (lastRow - firstRow + 1 > vector.NrOfElem()) lastRow = firstRow + vector.NrOfElem() - 1;
  vector.Fill(0.0);
  for (int r = firstRow; r <= lastRow; ++r) vector.SetElement(r - firstRow + 1, data_[Index(column, r)]);
}

bool TMatrix::Multiply(const TMatrix& b, TMatrix& c) const {
  if (columns_ != b.rows_ || c.columns_ != b.columns_ || c.rows_ != rows_) return false;
  // Accumulate into a scratch table first: c may be this matrix or b itself.
  std::vector<double> product(static_cast<size_t>(c.columns_) * c.rows_, 0.0);
  for (int i = 1; i <= rows_; ++i)
    for (int j = 1; j <= b.columns_; ++j) {
      double sum = 0.0;
      for (int k = 1; k <= columns_; ++k) sum += data_[Index(k, i)] * b.data_[b.Index(j, k)];
      product[c.Index(j, i)] = sum;
    }
  c.data_.swap(product);
  c.Changed();
  return true;
}

bool TMatrix::Invert() {
  if (rows_ != columns_) return false;
  const int n = rows_;
  // a(i, j) in mathematical notation: row i, column j.
  auto a = [this](int i, int j) -> double& { return data_[Index(j, i)]; };

  std::vector<double> scale(static_cast<size_t>(n) + 1);
  for (int i = 1; i <= n; ++i) {
    double big = 0.0;
    for (int j = 1; j <= n; ++j) big = std::max(big, std::fabs(a(i, j)));
    if (big == 0.0) {
      Changed();
      return false;  // a row of zeros: singular, left as it was
    }
    scale[i] = 1.0 / big;
  }

  bool ok = true;
  std::vector<int> pivotRow(static_cast<size_t>(n) + 1);
  for (int j = 1; j <= n; ++j) {
    for (int i = 1; i < j; ++i) {
      double sum = a(i, j);
      for (int k = 1; k < i; ++k) sum -= a(i, k) * a(k, j);
      a(i, j) = sum;
    }
    double best = 0.0;
    int pivot = j;
    for (int i = j; i <= n; ++i) {
      double sum = a(i, j);
      for (int k = 1; k < j; ++k) sum -= a(i, k) * a(k, j);
      a(i, j) = sum;
      const double merit = scale[i] * std::fabs(sum);
      if (merit >= best) {  // a later row wins a tie
        best = merit;
        pivot = i;
      }
    }
    if (pivot != j) {
      for (int k = 1; k <= n; ++k) std::swap(a(pivot, k), a(j, k));
      scale[pivot] = scale[j];
    }
    pivotRow[j] = pivot;
    if (std::fabs(a(j, j)) < 1e-10) {
      a(j, j) = 1e-10;
      ok = false;
    }
    // A true division: a reciprocal times the entry may differ in the last bit, which
    // an ill-conditioned system multiplies.
    if (j < n)
      for (int i = j + 1; i <= n; ++i) a(i, j) /= a(j, j);
  }

  if (ok) {
    std::vector<double> inverse(static_cast<size_t>(n) * n);
    std::vector<double> b(static_cast<size_t>(n) + 1);
    for (int col = 1; col <= n; ++col) {
      std::fill(b.begin(), b.end(), 0.0);
      b[col] = 1.0;
      int firstNonZero = 0;
      for (int i = 1; i <= n; ++i) {
        const int p = pivotRow[i];
        double sum = b[p];
        b[p] = b[i];
        if (firstNonZero) {
          for (int k = firstNonZero; k < i; ++k) sum -= a(i, k) * b[k];
        } else if (sum != 0.0) {
          firstNonZero = i;
        }
        b[i] = sum;
      }
      for (int i = n; i >= 1; --i) {
        double sum = b[i];
        for (int k = i + 1; k <= n; ++k) sum -= a(i, k) * b[k];
        b[i] = sum / a(i, i);
      }
      for (int i = 1; i <= n; ++i) inverse[static_cast<size_t>(i - 1) * n + (col - 1)] = b[i];
    }
    data_.swap(inverse);
  }
  Changed();
  return ok;
}

}  // namespace kolma
