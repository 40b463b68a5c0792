#include "core/model/project.h"

#include <stdexcept>
#include <string>

namespace kolma {

TTemperatureInside& Project::Thermometer(int slot) {
  if (slot < 1 || slot > kThermometerSlots)
    throw std::out_of_range("thermometer slot " + std::to_string(slot) + " is outside 1..10");
  return Thermometers[static_cast<size_t>(slot - 1)];
}

const TTemperatureInside& Project::Thermometer(int slot) const {
  return const_cast<Project*>(this)->Thermometer(slot);
}

void Project::SetMinHarmonics(std::int32_t count) {
  DirectHarmonics.MinHarmonics = count;
  InverseHarmonics.MinHarmonics = count;
}

void Project::InitDefaults() { *this = Project(); }

void Project::ViderMemoire() {
  ProjectFlags = 0;
  // The containers never hold fewer than one element: "released" means back to that.
  SectionProperties.Nodes = TVector();
  UpstreamHistory.Values = TVector();
  DownstreamHistory.Values = TVector();
  for (TTemperatureInside& slot : Thermometers) slot.Values = TVector();
  for (THarmonicSet* set : {&DirectHarmonics, &InverseHarmonics}) {
    set->Periods = TVector();
    set->Amplitudes = TMatrix();
    set->Phases = TMatrix();
  }
  DirectResults.Temperatures = TMatrix();
  DirectResults.ThermometerTemperatures = TMatrix();
  InverseResults.UpstreamTemperatures = TVector();
  InverseResults.DownstreamTemperatures = TVector();
  std::vector<double>().swap(InverseResults.MeanProfile);
}

bool IsThermometerOccupied(const TTemperatureInside& slot) { return slot.Values.NrOfElem() > 1; }

int CountOccupiedThermometers(const Project& project) {
  int count = 0;
  for (const TTemperatureInside& slot : project.Thermometers)
    if (IsThermometerOccupied(slot)) ++count;
  return count;
}

}  // namespace kolma
