#pragma once
// A project whose direct results are written by the test, so that a result window can be
// checked against a field whose decomposition is known.
#include <functional>

#include "core/model/node_distribution.h"
#include "core/model/project.h"

namespace kolma::ui::testing {

// Section from xu to xd in n divisions (graded as the section dialog grades them), and K
// steps of dt hours with T(x, k) at every node.
inline void SetDirectResults(Project& project, double xu, double xd, int n, int steps, double dt,
                             const std::function<double(double x, int k)>& temperature) {
  TSectionProperties& s = project.SectionProperties;
  s.Xu = xu;
  s.Xd = xd;
  s.NbDivisions = n;
  ComputeNodes(n, s.Nodes, xu, xd, s.Ratio);
  project.DirectResults.TimeStep = dt;
  project.DirectResults.Temperatures = TMatrix(n + 1, steps);
  for (int k = 1; k <= steps; ++k)
    for (int i = 1; i <= n + 1; ++i)
      project.DirectResults.Temperatures.SetElement(i, k, temperature(s.Nodes.Element(i), k));
}

}  // namespace kolma::ui::testing
