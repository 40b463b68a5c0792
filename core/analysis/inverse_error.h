#pragma once
// What a worked-back face is worth: the rms error to expect over the periods it recovers,
// and the shortest of those periods. Both methods describe each bin of the records'
// spectrum the same way; only how they got there differs.
#include <string>
#include <vector>

namespace kolma {

// One bin of a face's spectrum (bin k: k cycles per padded record).
struct FaceBin {
  double power = 0.0;     // the face harmonic's own |a - i b|^2, estimated (never negative)
  double variance = 0.0;  // expected |estimate - truth|^2 from the records' error (may be infinite)
  bool kept = false;      // the face history holds this harmonic
  double keptError = 0.0; // expected |held - truth|^2 when kept
};

struct FaceErrorReport {
  double expectedError = 0.0;   // °C rms
  double shortestPeriod = 0.0;  // hours
};

// `bins[k]` for k = 1..bins.size() - 1 (bins[0] is unused: the mean has its own error).
// The face recovers the bins from the fundamental up to the first one where, over its
// neighbourhood (a quarter of its number either side, at least eight bins), the records'
// error outweighs the face's harmonics; `firstLost` (a bin number) ends the band sooner
// when the method gives up on a bin and every shorter period. Returns the highest bin
// recovered, 0 for none.
int LastRecoveredBin(const std::vector<FaceBin>& bins, int firstLost);

// Over bins 1..lastBin the expected squared error is the error of every kept harmonic plus
// the power of every harmonic left out, halved (the mean square of a sinusoid), plus the
// square of the mean's error, plus what the ends of the record cost: a face at depth d
// behind its nearest thermometer reaches it over some d^2 / diffusivity hours (`edgeTime`),
// so over that time at each end of the record the face is worked back partly from the
// padding, not from what it did before and after. There the face's own variation at
// periods below a few times that time is taken as lost.
FaceErrorReport ExpectedFaceError(const std::vector<FaceBin>& bins, int lastBin, double fundamentalPeriod,
                                  double meanError, double edgeTime, double recordDuration);

// "upstream: expected error E °C rms; periods shorter than P h not recovered"
std::string FaceErrorLine(const std::string& face, const FaceErrorReport& report);

// The warning of a face worked back from beyond both thermometers of the pair, when its
// expected error exceeds kPhysicsLimitError: "The downstream face lies 7.5 m beyond both
// thermometers of the pair: expected error 8.2 °C rms; periods below 40 days are not
// recovered there".
inline constexpr double kPhysicsLimitError = 1.0;  // °C rms
std::string PhysicsLimitWarning(const std::string& face, double depth, const FaceErrorReport& report);

}  // namespace kolma
