#include "core/analysis/field_rows.h"

#include <algorithm>
#include <cstddef>

#include "core/model/project.h"

namespace kolma {

int TStoredFieldRows::Steps() const { return std::max(project_.DirectResults.Temperatures.NrOfRows(), 0); }

double TStoredFieldRows::TimeStep() const { return project_.DirectResults.TimeStep; }

std::span<const double> TStoredFieldRows::Row(int k) const {
  const TMatrix& field = project_.DirectResults.Temperatures;
  if (k < 1 || k > field.NrOfRows()) return {};
  const auto columns = static_cast<std::size_t>(field.NrOfColumns());
  return {field.Data() + static_cast<std::size_t>(k - 1) * columns, columns};
}

}  // namespace kolma
