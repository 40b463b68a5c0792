#pragma once
// What each result table holds, in words: the quantity and its unit, for the window
// caption, the tool tip of the headers, the sheet name of an exported workbook and the
// file name a save dialog proposes. The rows and columns of the tables stay as they are;
// these names travel beside them.
#include <string>

#include "core/analysis/spreadsheet_table.h"

namespace kolma {

// The tables of the result windows and of kolma-batch.
enum class TResultQuantity {
  Temperature,      // spreadsheet: temperature field
  Mean,             // spreadsheet: mean temperature Tm
  Linear,           // spreadsheet: linear component of each node
  Nonlinear,        // spreadsheet: nonlinear temperature Tn
  Stress,           // spreadsheet: thermal stress
  SectionValues,    // one step of every quantity, node by node
  InverseFaces,     // face temperatures worked back by the inverse analysis
  DirectHarmonics,  // harmonics of the two face histories
  InverseHarmonics, // harmonics of the two thermometers of the pair
  CurveValues,      // the values behind a time-history chart
  CurveStresses     // the same when the chart shows stresses
};

struct TQuantityNames {
  std::string caption;    // window caption: the quantity and its unit
  std::string sheetName;  // workbook sheet: at most 31 characters, none of [ ] : * ? / \ '
  std::string fileName;   // proposed file name without extension
  std::string toolTip;    // what the numbers are, for the headers' tool tip
};

TResultQuantity QuantityOf(TSpreadsheetData data);
const TQuantityNames& QuantityNames(TResultQuantity quantity);

// The tool tip of the section values row whose header reads "Td (°C)": it holds each
// node's linear component, not Td itself.
const char* LinearComponentRowToolTip();
// The tool tip of a stress header: the formula and its sign.
const char* StressToolTip();

}  // namespace kolma
