#pragma once
// TVector: a resizable 1-based vector of doubles. Reads outside the bounds give 0 and
// writes there are ignored, so callers never check bounds themselves.
#include <vector>

#include "core/numeric/container_events.h"

namespace kolma {

class TVector {
 public:
  TVector();                       // one element, 0
  explicit TVector(int n);         // n elements (at least 1), all 0
  TVector(const TVector& other);   // copies the values, not the event handlers
  TVector& operator=(const TVector& other);
  TVector(TVector&&) noexcept = default;
  TVector& operator=(TVector&&) noexcept = default;

  int NrOfElem() const { return static_cast<int>(data_.size()); }
  void SetNrOfElem(int n);          // n <= 0 is ignored
  bool Resize(int n);               // keeps the first min(old, n) values

  double Element(int i) const {
    return (i >= 1 && i <= NrOfElem()) ? data_[static_cast<size_t>(i - 1)] : 0.0;
  }
  void SetElement(int i, double value);

  void MinMax(int first, int last, double& min, double& max) const;
  void MeanAndVariance(int first, int last, double& mean, double& variance) const;
  void Sort(bool ascending, int first, int last);

  void CopyFrom(const TVector* source);
  void CopyRange(const TVector& source, int first, int last, int dest);
  void Fill(double value);
  void Clear();

  // Direct 0-based access for the numerical hot loops; never fires events.
  double* Data() { return data_.data(); }
  const double* Data() const { return data_.data(); }

  TNotifyEvent OnChange;
  TSortExchgEvent OnSortExchange;

 private:
  void Changed() { if (OnChange) OnChange(this); }
  std::vector<double> data_;
};

}  // namespace kolma
