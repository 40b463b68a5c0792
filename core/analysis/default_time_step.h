#pragma once
// The analysis time step offered when the analysis dialog opens.

namespace kolma {

struct Project;

// 24 h, lowered to the face histories' step when both faces are defined and to the step of
// the first thermometer of the inverse pair when a pair is chosen; kept within 1..24 h.
double DefaultAnalysisTimeStep(const Project& project);

}  // namespace kolma
