#pragma once
// The direct analysis: temperatures at every node and thermometer position at every
// analysis step, from the temperature histories of the two faces.
#include <memory>

#include "core/analysis/analysis_outcome.h"
#include "core/analysis/progress.h"

namespace kolma {

struct Project;
class TSummedField;

struct DirectAnalysisRequest {
  double timeStep = 1.0;          // analysis time step (hours)
  bool useInverseFaces = false;   // faces worked back by the last inverse analysis
};

// Writes DirectResults, DirectHarmonics, the thermometer part of Nodes and sets
// pfDirectResults (pfModified is left alone). A refused or stopped run changes nothing in
// the project: a refusal returns one warning; a stop returns stopped. Progress goes from 0
// to kProgressMax, which is always the last position reported by a finished run.
// Raises EFourierError ("FFT data length must be power of 2") for face records that cannot
// be re-sampled to a power of two (3 samples, or more than 2^23 after padding), and the
// numeric components' memory errors; the project is unchanged then too.
AnalysisOutcome RunDirectAnalysis(Project& project, const DirectAnalysisRequest& request,
                                  const ProgressCallback& progress = {});

// The same for an export that reads the temperatures of the section nodes once, step by
// step. Where the record allows it (the synthesis's direct road, no mean correction, sums
// that cannot leave the finite numbers), `field` receives them, summed a window of steps at
// a time as they are read, and the project is left as it was: the whole field is never in
// memory. Otherwise the analysis runs as above, `field` stays empty and the results are in
// the project. Refusals and exceptions as above; the values are those RunDirectAnalysis
// stores, to the last bit.
AnalysisOutcome RunDirectAnalysisForExport(Project& project, const DirectAnalysisRequest& request,
                                           std::unique_ptr<TSummedField>& field);

}  // namespace kolma
