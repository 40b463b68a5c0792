#include "core/numeric/vector.h"

#include <new>

#include "core/numeric/comb_sort.h"
#include "core/numeric/errors.h"

namespace kolma {

TVector::TVector() : TVector(1) {}

TVector::TVector(int n) {
  try {
    data_.assign(static_cast<size_t>(n < 1 ? 1 : n), 0.0);
  } catch (const std::bad_alloc&) {
    throw EVectorError(kNotEnoughMemory);
  } catch (const std::length_error&) {
    throw EVectorError(kNotEnoughMemory);
  }
}

TVector::TVector(const TVector& other) : data_(other.data_) {}

TVector& TVector::operator=(const TVector& other) {
  if (this != &other) data_ = other.data_;
  return *this;
}

void TVector::SetNrOfElem(int n) {
  if (n > 0 && n != NrOfElem()) Resize(n);
}

bool TVector::Resize(int n) {
  if (n <= 0) return false;
  if (n == NrOfElem()) return true;
  try {
    data_.resize(static_cast<size_t>(n), 0.0);
  } catch (const std::bad_alloc&) {
    return false;  // std::vector leaves the old contents intact
  } catch (const std::length_error&) {
    return false;
  }
  Changed();
  return true;
}

void TVector::SetElement(int i, double value) {
  if (i < 1 || i > NrOfElem()) return;
  data_[static_cast<size_t>(i - 1)] = value;
  Changed();
}

void TVector::MinMax(int first, int last, double& min, double& max) const {
  min = 1.7e308;
  max = -1.7e308;
  ClampRange(NrOfElem(), first, last);
  for (int i = first; i <= last; ++i) {
    const double v = data_[static_cast<size_t>(i - 1)];
    if (v < min) min = v;
    if (v > max) max = v;
  }
}

void TVector::MeanAndVariance(int first, int last, double& mean, double& variance) const {
  ClampRange(NrOfElem(), first, last);
  const int n = last - first + 1;
  double s = 0.0, q = 0.0;
  for (int i = first; i <= last; ++i) {
    const double v = data_[static_cast<size_t>(i - 1)];
    s += v;
    q += v * v;
  }
  mean = s / n;
  variance = n < 3 ? 1.0 : (q - s * s / n) / (n - 1);
}

void TVector::Sort(bool ascending, int first, int last) {
  ClampRange(NrOfElem(), first, last);
  if (last - first <= 0) return;
  auto at = [this](int i) -> double& { return data_[static_cast<size_t>(i - 1)]; };
  CombSort(
      first, last, [&](int i, int j) { return ascending ? at(i) > at(j) : at(i) < at(j); },
      [&](int i, int j) {
        std::swap(at(i), at(j));
        if (OnSortExchange) OnSortExchange(this, kExchangedElements, i, j, 0, 0);
      });
  Changed();
}

void TVector::CopyFrom(const TVector* source) {
  if (source == nullptr || source == this) return;
  if (!Resize(source->NrOfElem())) return;
  data_ = source->data_;
  Changed();
}

void TVector::CopyRange(const TVector& source, int first, int last, int dest) {
  ClampRange(source.NrOfElem(), first, last);
  // Copy through a snapshot so that an overlapping copy within one vector is exact.
  const std::vector<double> values(source.data_.begin() + (first - 1), source.data_.begin() + last);
  for (int i = first; i <= last; ++i) {
    const long long target = static_cast<long long>(i) - first + dest;
    if (target >= 1 && target <= NrOfElem()) data_[static_cast<size_t>(target - 1)] = values[static_cast<size_t>(i - first)];
  }
  Changed();
}

void TVector::Fill(double value) {
  std::fill(data_.begin(), data_.end(), value);
  Changed();
}

void TVector::Clear() { Fill(0.0); }

}  // namespace kolma
