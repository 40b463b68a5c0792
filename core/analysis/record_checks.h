#pragma once
// Faults of a measured record that would spoil an inverse analysis: a jump (an offset that
// stays, as when a sensor is replaced or recalibrated) and a spike (one reading far from
// both its neighbours). Thresholds follow the record's own variability, so that a strong
// daily cycle is not taken for either.
#include <string>
#include <vector>

#include "core/model/project.h"
#include "core/numeric/vector.h"

namespace kolma {

enum class RecordFaultKind { kJump, kSpike };

struct RecordFault {
  RecordFaultKind kind = RecordFaultKind::kJump;
  int sample = 0;     // 1-based: the first sample at the new level, or the spike itself
  double size = 0.0;  // °C, signed
};

// The faults of one record, in time order, at most kMostFaultsPerRecord.
inline constexpr int kMostFaultsPerRecord = 5;
std::vector<RecordFault> FindRecordFaults(const TVector& values);

// Every fault of the thermometers the inverse analysis would read with `method`, as
// sentences: "Thermometer 2 "T2" jumps by 2.0 °C at hour 4380",
// "Thermometer 2 "T2" has a spike of -3.1 °C at hour 120".
std::vector<std::string> InverseRecordFaults(const Project& project, TInverseMethod method);

// What the user is asked after the list of faults.
inline constexpr const char* kRecordFaultsQuestion =
    "The worked-back faces may be far off. Do you want to run the inverse analysis anyway?";

}  // namespace kolma
