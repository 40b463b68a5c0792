#pragma once
// The temperatures of the section nodes step by step, wherever they come from: the stored
// results of a direct analysis, or sums made as an export reads them.
#include <span>

namespace kolma {

struct Project;

class TFieldRows {
 public:
  virtual ~TFieldRows() = default;
  virtual int Steps() const = 0;
  virtual double TimeStep() const = 0;  // hours between two steps
  // The temperatures of the section nodes at step k, 1 <= k <= Steps(); valid until the
  // next call.
  virtual std::span<const double> Row(int k) const = 0;
};

// The project's direct results, read in place: the project must outlive it.
class TStoredFieldRows final : public TFieldRows {
 public:
  explicit TStoredFieldRows(const Project& project) : project_(project) {}
  int Steps() const override;
  double TimeStep() const override;
  std::span<const double> Row(int k) const override;

 private:
  const Project& project_;
};

}  // namespace kolma
