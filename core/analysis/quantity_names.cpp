#include "core/analysis/quantity_names.h"

#include <array>

namespace kolma {

namespace {

constexpr const char* kStressTip =
    "Thermal stress S·(Tn − T0) in MPa: S is E·α in plane stress and E·α/(1 − ν/(1 − ν)) in plane "
    "strain; T0 is the reference temperature. Positive where Tn is above T0, so a uniform field "
    "reads −S·T0 at every node.";

const std::array<TQuantityNames, 11> kNames = {{
    {"SpreadSheet - Temperature Field (°C)", "Temperatures (°C)", "temperatures",
     "Temperature T of each node at each analysis step, °C"},
    {"SpreadSheet - Mean Temperatures Tm (°C)", "Mean temperature Tm (°C)", "mean-temperatures",
     "Mean temperature Tm over the thickness at each step, °C (the same in every column)"},
    {"SpreadSheet - Linear Temperatures (°C)", "Linear temperatures (°C)", "linear-temperatures",
     "Linear component of each node, (x − middle of the section)·Td/L, °C: the straight line that has the section's "
     "first moment, less Tm"},
    {"SpreadSheet - Nonlinear Temperatures Tn (°C)", "Nonlinear temperatures Tn (°C)", "nonlinear-temperatures",
     "Nonlinear temperature Tn = T − Tm − linear component, °C: the part that causes self-balanced stresses"},
    {"SpreadSheet - Stresses (MPa)", "Stresses (MPa)", "stresses", kStressTip},
    {"Section values - temperatures (°C), stresses (MPa)", "Section values (°C, MPa)", "section-values",
     "One analysis step, node by node: T, Tm, linear component and Tn in °C, stress in MPa"},
    {"SpreadSheet - Face temperatures from the inverse analysis (°C)", "Face temperatures (°C)",
     "face-temperatures", "Temperatures of the two faces worked back by the inverse analysis, °C"},
    {"Selected harmonics for Direct Analysis", "Harmonics of the faces", "direct-harmonics",
     "Harmonics kept from the two face histories: period in hours and days, amplitude in °C, phase in "
     "radians"},
    {"Selected harmonics for Inverse Analysis", "Harmonics of thermometers", "inverse-harmonics",
     "Harmonics kept from the two thermometers of the pair: period in hours and days, amplitude in °C, "
     "phase in radians"},
    {"Temperatures", "Curve values", "curve-values", "The values of the charted curve over time"},
    {"Stresses", "Curve stresses (MPa)", "curve-stresses", "The stresses of the charted curve over time, MPa"},
}};

}  // namespace

TResultQuantity QuantityOf(TSpreadsheetData data) {
  switch (data) {
    case TSpreadsheetData::Temperature: return TResultQuantity::Temperature;
    case TSpreadsheetData::Mean: return TResultQuantity::Mean;
    case TSpreadsheetData::Linear: return TResultQuantity::Linear;
    case TSpreadsheetData::Nonlinear: return TResultQuantity::Nonlinear;
    case TSpreadsheetData::Stress: return TResultQuantity::Stress;
  }
  return TResultQuantity::Temperature;
}

const TQuantityNames& QuantityNames(TResultQuantity quantity) {
  return kNames[static_cast<std::size_t>(quantity)];
}

const char* LinearComponentRowToolTip() {
  return "Linear component of each node, (x − middle of the section)·Td/L, in °C: not Td itself. Td (below the table) is "
         "the difference between the faces of the straight line that has the section's first moment.";
}

const char* StressToolTip() { return kStressTip; }

}  // namespace kolma
