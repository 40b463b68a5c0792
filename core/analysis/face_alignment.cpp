#include "core/analysis/face_alignment.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/analysis/harmonic_decomposition.h"
#include "core/model/message_number.h"

namespace kolma {
namespace {

std::string Describe(const char* face, FaceGrid g) {
  return std::string(face) + " " + std::to_string(g.count) + " samples every " + MessageNumber(g.timeStep) + " h (" +
         MessageNumber(g.count * g.timeStep) + " h)";
}

bool Usable(FaceGrid g) { return g.count >= 2 && std::isfinite(g.timeStep) && g.timeStep > 0.0; }

}  // namespace

TVector ResampleToCount(const TVector& v, int count) {
  const int n = v.NrOfElem();
  if (n >= 5 && count == NextPowerOfTwo(n)) {  // exactly the editor's copy
    TVector copy = v;
    if (ResampleToPowerOfTwo(copy)) return copy;
  }
  TVector out(count);
  if (n < 1 || count < 1) return out;
  const std::vector<double> c(v.Data(), v.Data() + n);
  double* o = out.Data();
  o[0] = c[0];
  if (count == 1) return out;
  o[count - 1] = c[static_cast<size_t>(n - 1)];
  // Position e (n - 1) / (count - 1) in whole and fractional parts, in integers, so that
  // whole positions pick their sample exactly.
  const std::int64_t span = count - 1;
  for (std::int64_t e = 2; e <= count - 1; ++e) {
    const std::int64_t scaled = (e - 1) * (n - 1) + span;  // (e - 1)(n - 1) / span + 1, times span
    const std::int64_t j = scaled / span;
    const double frac = static_cast<double>(scaled % span) / static_cast<double>(span);
    const double below = c[static_cast<size_t>(j - 1)];
    const double above = j < n ? c[static_cast<size_t>(j)] : below;
    o[e - 1] = below + frac * (above - below);
  }
  return out;
}

std::optional<AlignedFace> AlignFaces(const TVector& upstream, double upstreamStep, const TVector& downstream,
                                      double downstreamStep) {
  const FaceGrid up{upstream.NrOfElem(), upstreamStep};
  const FaceGrid down{downstream.NrOfElem(), downstreamStep};
  if (!Usable(up) || !Usable(down) || up.timeStep == down.timeStep) return std::nullopt;
  const double coarserStep = std::max(up.timeStep, down.timeStep);
  if (std::fabs(up.count * up.timeStep - down.count * down.timeStep) > coarserStep) return std::nullopt;

  const bool upstreamCoarser = up.timeStep > down.timeStep;
  const FaceGrid coarse = upstreamCoarser ? up : down;
  const FaceGrid fine = upstreamCoarser ? down : up;
  // Equal counts on steps that differ cover different times: that stays a refusal.
  if (coarse.count >= fine.count) return std::nullopt;
  AlignedFace aligned;
  aligned.upstream = upstreamCoarser;
  aligned.values = ResampleToCount(upstreamCoarser ? upstream : downstream, fine.count);
  aligned.timeStep = fine.timeStep;
  aligned.note = std::string(upstreamCoarser ? "Upstream" : "Downstream") + " face re-sampled from " +
                 std::to_string(coarse.count) + " samples every " + MessageNumber(coarse.timeStep) + " h to " +
                 std::to_string(fine.count) + " samples every " + MessageNumber(fine.timeStep) + " h, the grid of the " +
                 (upstreamCoarser ? "downstream" : "upstream") + " face.";
  return aligned;
}

std::string FacesMismatchText(FaceGrid upstream, FaceGrid downstream) {
  return "Upstream and downstream temperatures do not have the same time step and/or the same number of data: " +
         Describe("upstream", upstream) + ", " + Describe("downstream", downstream) +
         ". Give both faces the same duration (number of samples times time step, within one time step) or the "
         "same number of samples at the same time step. Analysis aborted.";
}

}  // namespace kolma
