#pragma once
// The inverse analysis: the temperature histories of the two faces worked back from the
// two thermometers of the inverse pair.
#include "core/analysis/analysis_outcome.h"
#include "core/analysis/progress.h"
#include "core/model/project.h"

namespace kolma {

// Warnings that cancel the run; nothing in the project changes.
inline constexpr const char* kInverseTimeStepMismatch =
    "Inside Temperatures do not have the same time step. Analysis is cancelled";
inline constexpr const char* kInverseCountMismatch =
    "Inside Temperatures do not have the same number of data. Analysis is cancelled";
inline constexpr const char* kInverseAnalysisStepNotPositive =
    "The analysis time step must be positive. Analysis is cancelled";
inline constexpr const char* kInversePairNotSelected =
    "Two Inside Temperatures must be selected for the inverse analysis. Analysis is cancelled";
inline constexpr const char* kInverseRecordStepNotPositive =
    "The time step of the Inside Temperatures must be positive. Analysis is cancelled";
inline constexpr const char* kInverseDiffusivityNotPositive =
    "The diffusivity of the section must be positive. Analysis is cancelled";
inline constexpr const char* kInverseFacesNotOrdered =
    "The downstream face must lie beyond the upstream face (Xd > Xu). Analysis is cancelled";
inline constexpr const char* kInversePairAtOnePosition =
    "The two selected Inside Temperatures are at the same position. Analysis is cancelled";
inline constexpr const char* kInverseRecordTooShort =
    "Inside Temperatures are shorter than half an analysis time step. Analysis is cancelled";

// Warnings of a run that goes on; at most one of them per run.
inline constexpr const char* kInverseMatrixFailed = "Inverse of matrix failed";
// "Numerical problem: Periods lower than " + period with "%8.3f hours" + " are discarded".
inline constexpr const char* kInverseDiscardPrefix = "Numerical problem: Periods lower than ";
inline constexpr const char* kInverseDiscardSuffix = " are discarded";

// Writes InverseResults, InverseHarmonics and the time step of DirectResults (all with
// `timeStep` in hours) and sets pfInverseResults; pfModified is left alone. A refused or
// stopped run changes nothing in the project; so does a run that throws: a record whose
// re-sampled length is not a power of two (3 samples, more than 2^23 once padded) raises
// EFourierError, a padding that cannot be allocated EVectorError; both are passed on.
// The constant term of the records is never solved for: the face means come from the
// mean profile of the thermometers, the other retained harmonics each from their system.
// A harmonic whose system fails the conditioning test is discarded with every shorter
// period; one whose worked-back face amplitude the error of the records would dominate is
// discarded on its own; both are reported by the one discard warning of the run. A run
// whose faces would hold a value that is not a finite number writes nothing and warns
// kResultNotFinite.
//
// Both methods solve the same retained harmonics of the pair's records and share every
// step but the per-harmonic solve and the time mean (see inverse_least_squares.h and
// mean_profile.h). The least-squares method reads every other thermometer with the pair's
// time step and count as well and names those it leaves out in a warning. Both write, for
// each face, the rms error to expect and the shortest period recovered; the pair method
// warns of a face whose expected error exceeds kPhysicsLimitError.
// This one runs the method the project's options hold.
AnalysisOutcome RunInverseAnalysis(Project& project, double timeStep, const ProgressCallback& progress = {});
AnalysisOutcome RunInverseAnalysis(Project& project, double timeStep, TInverseMethod method,
                                   const ProgressCallback& progress = {});

}  // namespace kolma
