#include "core/analysis/input_checks.h"

#include <cmath>
#include <cstdio>

#include "core/model/message_number.h"
#include "core/model/node_distribution.h"
#include "core/model/project.h"

namespace kolma {

std::optional<std::string> CheckValue(const std::string& item, double value) {
  if (std::isnan(value)) return item + " is not a number";
  if (!(std::fabs(value) <= kLargestInputMagnitude)) return item + " is out of range (" + MessageNumber(value) + ")";
  return std::nullopt;
}

std::optional<std::string> CheckSamples(const std::string& name, const TVector& values) {
  const double* data = values.Data();
  for (int i = 0; i < values.NrOfElem(); ++i)
    if (!(std::fabs(data[i]) <= kLargestInputMagnitude))
      return CheckValue(name + ", sample " + std::to_string(i + 1) + ",", data[i]);
  return std::nullopt;
}

std::string ThermometerName(const Project& project, int slot) {
  const std::string title = project.Thermometer(slot).Title.Utf8Text();
  return "Thermometer " + std::to_string(slot) + (title.empty() ? "" : " \"" + title + "\"");
}

std::optional<std::string> CheckSection(const Project& project, bool whole) {
  const TSectionProperties& s = project.SectionProperties;
  std::optional<std::string> refusal = CheckValue("Upstream face position (Xu)", s.Xu);
  if (!refusal) refusal = CheckValue("Downstream face position (Xd)", s.Xd);
  if (!refusal) refusal = CheckValue("Diffusivity", s.Diffusivity);
  if (refusal || !whole) return refusal;
  if (s.NbDivisions < 3 || s.NbDivisions > kMaxNodeDivisions)
    return "Number of divisions is out of range (" + std::to_string(s.NbDivisions) + "; 3 to " +
           std::to_string(kMaxNodeDivisions) + ")";
  if (!(s.Ratio > 0.0 && s.Ratio <= kLargestInputMagnitude))
    return std::isnan(s.Ratio) ? "Ratio of the divisions is not a number"
                               : "Ratio of the divisions is out of range (" + MessageNumber(s.Ratio) + ")";
  if (!refusal) refusal = CheckValue("Reference temperature", s.T0);
  if (!refusal) refusal = CheckValue("Young's modulus", s.Ec);
  if (!refusal) refusal = CheckValue("Poisson's ratio", s.Poisson);
  if (!refusal) refusal = CheckValue("Thermal expansion coefficient", s.Alpha);
  return refusal;
}

std::optional<std::string> CheckThermometerPosition(const Project& project, int slot) {
  const TSectionProperties& s = project.SectionProperties;
  const double x = project.Thermometer(slot).Position;
  const std::string name = ThermometerName(project, slot);
  if (std::optional<std::string> refusal = CheckValue(name + " position", x)) return refusal;
  if (x < s.Xu || x > s.Xd)
    return name + " is outside the section (" + MessageNumber(x) + " m; faces at " + MessageNumber(s.Xu) + " and " +
           MessageNumber(s.Xd) + " m)";
  return std::nullopt;
}

std::optional<std::string> CheckResultSize(std::int64_t columns, std::int64_t rows) {
  const double bytes = static_cast<double>(columns) * static_cast<double>(rows) * sizeof(double);
  if (bytes <= kMaxResultBytes) return std::nullopt;
  char text[160];
  std::snprintf(text, sizeof text,
                "The results would hold %lld x %lld values (%.1f GB), more than the 1 GB an analysis may take",
                static_cast<long long>(columns), static_cast<long long>(rows), bytes / kMaxResultBytes);
  return std::string(text);
}

bool AllFinite(const double* values, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (!std::isfinite(values[i])) return false;
  return true;
}

}  // namespace kolma
