#pragma once
// How long computations report how far they are, and how a caller asks them to stop.
#include <functional>

namespace kolma {

// Full scale of the progress bars the analyses drive.
inline constexpr int kProgressMax = 512;

// Called with a position in 0..kProgressMax; returning false asks the computation to stop
// as soon as it can, leaving every result as it was before the run. The dialogs process
// pending window events inside it.
using ProgressCallback = std::function<bool(int position)>;

}  // namespace kolma
