#include "core/analysis/summed_field.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace kolma {

TSummedField::TSummedField(THarmonicSynthesis synthesis, std::vector<double> steady, int steps, double timeStep,
                           int harmonicCount)
    : synthesis_(std::move(synthesis)),
      steady_(std::move(steady)),
      steps_(std::max(steps, 0)),
      timeStep_(timeStep),
      harmonicCount_(harmonicCount) {}

std::span<const double> TSummedField::Row(int k) const {
  if (k < 1 || k > steps_) return {};
  constexpr std::int64_t kWindow = THarmonicSynthesis::kWindowSteps;
  const std::size_t nodes = steady_.size();
  const std::int64_t step = k - 1;
  const std::int64_t window = step / kWindow;
  if (window != window_) {
    const std::int64_t first = window * kWindow;
    const std::int64_t count = std::min<std::int64_t>(kWindow, steps_ - first);
    rows_.resize(static_cast<std::size_t>(kWindow) * nodes);
    for (std::int64_t m = 0; m < count; ++m) std::copy(steady_.begin(), steady_.end(), rows_.data() + static_cast<std::size_t>(m) * nodes);
    std::vector<TSynthesisTarget> targets;
    for (std::size_t p = 0; p < nodes; ++p)
      targets.push_back({rows_.data() + p, static_cast<std::ptrdiff_t>(nodes)});
    synthesis_.AddWindow(targets, first, count);
    window_ = window;
  }
  return {rows_.data() + static_cast<std::size_t>(step - window * kWindow) * nodes, nodes};
}

}  // namespace kolma
