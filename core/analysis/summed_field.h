#pragma once
// The temperatures of the section nodes of a direct analysis, summed a window of steps at a
// time as they are read: a long record is exported without its whole field in memory.
#include <cstdint>
#include <span>
#include <vector>

#include "core/analysis/field_rows.h"
#include "core/analysis/harmonic_synthesis.h"

namespace kolma {

class TSummedField final : public TFieldRows {
 public:
  // synthesis: on the direct road, with the coefficients of the nodes kept; steady: each
  // node's steady temperature, to which its harmonics add.
  TSummedField(THarmonicSynthesis synthesis, std::vector<double> steady, int steps, double timeStep,
               int harmonicCount);

  int Steps() const override { return steps_; }
  double TimeStep() const override { return timeStep_; }
  std::span<const double> Row(int k) const override;
  int HarmonicCount() const { return harmonicCount_; }  // as THarmonicSet counts them

 private:
  mutable THarmonicSynthesis synthesis_;
  std::vector<double> steady_;
  int steps_;
  double timeStep_;
  int harmonicCount_;
  mutable std::int64_t window_ = -1;  // the window of steps held in rows_
  mutable std::vector<double> rows_;
};

}  // namespace kolma
