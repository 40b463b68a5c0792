#pragma once
// The one in-memory problem state of the program: section and material, face
// histories, measured inside histories, the inverse pair, the analysis options,
// the result stores and the flags that tell which of them are present or valid.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/short_title.h"
#include "core/numeric/matrix.h"
#include "core/numeric/vector.h"

namespace kolma {

// Program version, written as the header of every project file. The release word
// doubles as the file format version.
inline constexpr std::int32_t kVersionMajor = 1;
inline constexpr std::int32_t kVersionMinor = 0;
inline constexpr std::int32_t kVersionRelease = 2;
inline constexpr std::int32_t kVersionBuild = 1;

inline constexpr int kThermometerSlots = 10;
inline constexpr const char* kNoProjectFileName = "Noname";

// Bits of Project::ProjectFlags. Bit 7 is never used.
enum : std::uint8_t {
  pfModified = 1,
  pfSection = 2,
  pfUpstream = 4,
  pfDownstream = 8,
  pfDirectResults = 16,
  pfInversePair = 32,
  pfInverseResults = 64,
};

struct TSectionProperties {
  double Xu = 0.0;  // upstream face (m)
  double Xd = 10.0;  // downstream face (m)
  std::int32_t NbDivisions = 10;
  double Ratio = 3.0;  // middle spacing / first spacing
  double T0 = 0.0;  // reference temperature (°C)
  double Diffusivity = 0.004;  // m²/h
  TVector Nodes;  // section nodes, then the thermometer positions after a direct analysis
  double Ec = 20000.0;  // Young's modulus (MPa)
  double Poisson = 0.19;
  double Alpha = 0.00001;  // thermal expansion (1/°C)
  std::uint8_t PlaneStrain = 0;  // 0 plane stress, 1 plane strain
};

struct TFaceTemperatureHistory {
  TVector Values;  // one sample is the empty placeholder
  double TimeStep = 24.0;  // hours
};

// One thermometer slot; occupied when Values holds at least 2 samples.
struct TTemperatureInside {
  double Position = 0.0;  // m
  TVector Values;
  double TimeStep = 0.0;  // hours
  TShortTitle Title;
};

// Slots (1-based) of the two thermometers of the inverse analysis; 0 is "none".
struct TInversePair {
  std::int32_t First = 0;
  std::int32_t Second = 0;
};

// How the inverse analysis works the faces back, harmonic by harmonic.
enum TInverseMethod : std::uint8_t {
  kInversePairMethod = 0,          // the exact solution through the two thermometers of the pair
  kInverseLeastSquaresMethod = 1,  // a least-squares fit to every usable thermometer
};

// MinHarmonics is not here: it lives in both harmonic sets.
struct TAnalysisOptions {
  std::uint8_t AveragingCorrection = 0;  // 0 linear fit of the pair, 1 linear regression, 2 polynomial
  std::uint8_t PaddingMode = 0;  // 0 automatic, 1 user-defined
  std::array<std::uint8_t, 7> PaddingReserved{};  // unused bytes of the file's padding block, kept as read
  double PaddingYears = 0.0;
  // Stored only in a tagged trailer after the padding block, and only when not the pair.
  std::uint8_t InverseMethod = kInversePairMethod;
};

// Harmonics retained by an analysis; row r of Periods, Amplitudes and Phases
// describes one harmonic, column 1 and 2 of the matrices the two histories.
struct THarmonicSet {
  std::int32_t MinHarmonics = 40;
  std::int32_t HarmonicCount = 0;
  TVector Periods;  // hours; -1 for the zero-frequency term
  TMatrix Amplitudes;  // °C
  TMatrix Phases;  // rad
};

struct TDirectResults {
  double TimeStep = 0.0;  // hours between two rows
  TMatrix Temperatures;  // column = node, row = analysis step
  TMatrix ThermometerTemperatures;  // column = occupied thermometer slot, row = analysis step
};

struct TInverseResults {
  TVector UpstreamTemperatures;
  TVector DownstreamTemperatures;
  double TimeStep = 0.0;  // hours between two elements
  std::vector<double> MeanProfile;  // c0..cd of sum cj (x - Xu)^j; empty until an inverse analysis ran
  // What each face is worth: the rms error (°C) to expect over the periods it recovers,
  // and the shortest of those periods (hours).
  double UpstreamExpectedError = 0.0, DownstreamExpectedError = 0.0;
  double UpstreamShortestPeriod = 0.0, DownstreamShortestPeriod = 0.0;
};

struct Project {
  TSectionProperties SectionProperties;
  TFaceTemperatureHistory UpstreamHistory;
  TFaceTemperatureHistory DownstreamHistory;
  std::array<TTemperatureInside, kThermometerSlots> Thermometers;  // use Thermometer(slot) for 1-based access
  TInversePair InversePair;
  std::uint8_t ProjectFlags = 0;
  TAnalysisOptions AnalysisOptions;
  THarmonicSet DirectHarmonics;
  THarmonicSet InverseHarmonics;
  TDirectResults DirectResults;
  TInverseResults InverseResults;
  std::string ProjectFileName = kNoProjectFileName;

  // Slots 1..10; any other number throws std::out_of_range.
  TTemperatureInside& Thermometer(int slot);
  const TTemperatureInside& Thermometer(int slot) const;

  // Both harmonic sets hold the option; keep them equal by writing through here.
  void SetMinHarmonics(std::int32_t count);

  bool HasFlag(std::uint8_t flag) const { return (ProjectFlags & flag) != 0; }

  void InitDefaults();  // every field back to its start-up value
  void ViderMemoire();  // clears the flags and releases every vector and matrix
};

bool IsThermometerOccupied(const TTemperatureInside& slot);
int CountOccupiedThermometers(const Project& project);

}  // namespace kolma
