#pragma once
// Checks of the values an analysis reads, before it runs: each refusal names the value at
// fault ("Upstream face, sample 1234, is not a number"), so that no analysis computes on
// values that would fill its results with NaN or infinity.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/numeric/vector.h"

namespace kolma {

struct Project;

// No temperature, position, time step or material value of a dam comes near this; beyond
// it, sums of squares over millions of samples and products of material values overflow.
inline constexpr double kLargestInputMagnitude = 1e15;

// Memory the result table of one analysis may take.
inline constexpr double kMaxResultBytes = 1024.0 * 1024.0 * 1024.0;

// The last safeguard: a run whose results would hold a value that is not a finite number.
inline constexpr const char* kResultNotFinite =
    "The analysis gave temperatures that are not finite numbers; no result was written";

// "ITEM is not a number" or "ITEM is out of range (VALUE)"; nothing for a usable value.
std::optional<std::string> CheckValue(const std::string& item, double value);

// The first unusable sample: "NAME, sample I, is not a number" (or "is out of range (V)").
std::optional<std::string> CheckSamples(const std::string& name, const TVector& values);

// How a warning names a thermometer slot: `Thermometer 3 "T1"` (the title as UTF-8).
std::string ThermometerName(const Project& project, int slot);

// The section values every analysis reads (faces, diffusivity) and, with `whole`, the
// division count and ratio of the nodes and the material values as well.
std::optional<std::string> CheckSection(const Project& project, bool whole);

// A thermometer whose position is unusable or outside the section (the periodic solution
// grows exponentially outside it): `Thermometer 3 "T1" is outside the section (...)`.
std::optional<std::string> CheckThermometerPosition(const Project& project, int slot);

// Results of columns x rows doubles beyond kMaxResultBytes, with the sizes.
std::optional<std::string> CheckResultSize(std::int64_t columns, std::int64_t rows);

bool AllFinite(const double* values, std::size_t count);

}  // namespace kolma
