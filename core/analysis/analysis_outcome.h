#pragma once
// What an analysis tells its caller besides the results it wrote into the project.
#include <string>
#include <vector>

namespace kolma {

struct AnalysisOutcome {
  // True when the results and the result flag were written.
  bool completed = false;
  // True when the progress callback asked to stop; nothing was written.
  bool stopped = false;
  // Texts of the warning boxes, in the order the user would see them ("Warning" caption).
  // A refused run has completed == false and one warning saying why.
  std::vector<std::string> warnings;
  // What the run did that the user should know but need not act on (shown in the dialog,
  // not in a warning box).
  std::vector<std::string> notes;
};

}  // namespace kolma
