#pragma once
// The two face histories of a direct analysis must share one time grid. A face that was
// filtered in the editor has been re-sampled to a power of two while the other kept its
// own grid; when both still cover the same time, the coarser one is brought onto the
// finer one's grid, the way the editor re-samples.
#include <optional>
#include <string>

#include "core/numeric/vector.h"

namespace kolma {

struct FaceGrid {
  int count = 0;
  double timeStep = 0.0;  // hours
};

struct AlignedFace {
  bool upstream = false;  // which face was re-sampled
  TVector values;         // its samples on the other face's grid
  double timeStep = 0.0;
  std::string note;       // says what was done, for the user
};

// The coarser face re-sampled onto the finer one's grid, when it has the larger step and
// fewer samples and both faces cover the same duration within one step of the coarser face. nullopt otherwise (faces that agree already, or that cannot be
// brought together).
std::optional<AlignedFace> AlignFaces(const TVector& upstream, double upstreamStep, const TVector& downstream,
                                      double downstreamStep);

// The refusal for faces that cannot be analysed together: both counts, steps and
// durations, and what would make them agree.
std::string FacesMismatchText(FaceGrid upstream, FaceGrid downstream);

// `v` re-sampled to `count` samples by linear interpolation, its first and last samples
// kept at the ends (as ResampleToPowerOfTwo does for a power-of-two count).
TVector ResampleToCount(const TVector& v, int count);

}  // namespace kolma
