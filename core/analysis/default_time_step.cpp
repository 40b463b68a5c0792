#include "core/analysis/default_time_step.h"

#include <algorithm>

#include "core/model/project.h"

namespace kolma {

namespace {

constexpr double kLongestStep = 24.0;  // hours: one sample a day
constexpr double kShortestStep = 1.0;

}  // namespace

double DefaultAnalysisTimeStep(const Project& project) {
  double step = kLongestStep;
  if (project.HasFlag(pfUpstream) && project.HasFlag(pfDownstream))
    step = std::min(step, project.UpstreamHistory.TimeStep);
  if (project.HasFlag(pfInversePair)) {
    // A pair read from a damaged file may name no slot at all: then it offers nothing.
    const int slot = project.InversePair.First;
    if (slot >= 1 && slot <= kThermometerSlots) step = std::min(step, project.Thermometer(slot).TimeStep);
  }
  // std::min keeps 24 when a step is NaN, so only the range is left to enforce.
  return std::clamp(step, kShortestStep, kLongestStep);
}

}  // namespace kolma
