#pragma once
// TMatrix: a resizable matrix of doubles addressed (column, row), both from 1.
// Reads outside the bounds give 0 and writes there are ignored.
#include <string>
#include <vector>

#include "core/numeric/container_events.h"
#include "core/numeric/vector.h"

namespace kolma {

class TMatrix {
 public:
  TMatrix();                          // 1 x 1, holding 0
  TMatrix(int columns, int rows);     // all 0; dimensions below 1 become 1
  TMatrix(const TMatrix& other);      // copies the values, not the event handlers
  TMatrix& operator=(const TMatrix& other);
  TMatrix(TMatrix&&) noexcept = default;
  TMatrix& operator=(TMatrix&&) noexcept = default;

  int NrOfColumns() const { return columns_; }
  int NrOfRows() const { return rows_; }
  void SetNrOfColumns(int n);
  void SetNrOfRows(int n);
  bool Resize(int columns, int rows);

  double Element(int column, int row) const {
    if (column < 1 || column > columns_ || row < 1 || row > rows_) return 0.0;
    return data_[Index(column, row)];
  }
  void SetElement(int column, int row, double value);

  void SortRows(int keyColumn, bool ascending, int firstColumn, int firstRow, int lastColumn, int lastRow);
  void MinMax(int firstColumn, int firstRow, int lastColumn, int lastRow, double& min, double& max) const;
  void MeanAndVariance(int firstColumn, int firstRow, int lastColumn, int lastRow, double& mean,
                       double& variance) const;
  void Fill(double value);
  void CopyColumnTo(TVector& vector, int column, int firstRow, int lastRow) const;
  bool Multiply(const TMatrix& b, TMatrix& c) const;
  bool Invert();

  // Row-major 0-based storage for the numerical hot loops; never fires events.
  double* Data() { return data_.data(); }
  const double* Data() const { return data_.data(); }

  std::string DataID;
  TNotifyEvent OnChange;
  TSortExchgEvent OnSortExchange;

 private:
  size_t Index(int column, int row) const {
    return static_cast<size_t>(row - 1) * static_cast<size_t>(columns_) + static_cast<size_t>(column - 1);
  }
  void Changed() { if (OnChange) OnChange(this); }
  int columns_ = 1;
  int rows_ = 1;
  std::vector<double> data_;
};

}  // namespace kolma
