#pragma once
// Shared by the model tests: a project with every kind of stored content, an exact
// fingerprint of a whole project, and a scratch folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/model/project.h"

namespace kolma::testing {

using Bytes = std::vector<std::uint8_t>;

inline TVector Samples(int count, double start, double step) {
  TVector v(count);
  for (int i = 1; i <= count; ++i) v.SetElement(i, start + step * (i - 1));
  return v;
}

inline TShortTitle TitleWithJunk(const std::string& text, std::uint8_t junk) {
  TShortTitle::Bytes bytes{};
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(junk + 7 * i);
  std::copy(text.begin(), text.end(), bytes.begin());
  TShortTitle title;
  title.SetRaw(static_cast<std::uint8_t>(text.size()), bytes);
  return title;
}

// Every stored field away from its start-up value: both faces, all ten slots, junk
// after the titles and in the padding block, NaN, -0, infinity among the samples.
inline Project RichProject(int samples = 40) {
  Project p;
  p.SectionProperties = {-1.25, 17.5, 23, 7.75, 4.5, 0.0031, TVector(), 31000.5, 0.21, 9.5e-6, 1};
  p.UpstreamHistory = {Samples(samples, 3.0, 0.125), 6.0};
  p.UpstreamHistory.Values.SetElement(2, std::numeric_limits<double>::quiet_NaN());
  p.UpstreamHistory.Values.SetElement(3, -0.0);
  p.DownstreamHistory = {Samples(samples + 3, -8.0, 0.5), 6.0};
  p.DownstreamHistory.Values.SetElement(1, std::numeric_limits<double>::infinity());
  for (int slot = 1; slot <= kThermometerSlots; ++slot) {
    const std::string text(static_cast<size_t>(slot * 8), static_cast<char>('A' + slot));
    p.Thermometer(slot) = {0.5 * slot, Samples(2 + slot, slot, -0.25), 12.0 + slot,
                           TitleWithJunk(text, static_cast<std::uint8_t>(200 + slot))};
  }
  p.Thermometer(9).Title = TitleWithJunk("", 99);
  p.InversePair = {2, 7};
  p.ProjectFlags = pfSection | pfUpstream | pfDownstream | pfInversePair;
  p.SetMinHarmonics(37);
  p.DirectHarmonics.HarmonicCount = 12;
  p.AnalysisOptions = {2, 1, {0xDE, 0xAD, 0xBE, 0xEF, 0x01, 0x80, 0xFF}, 1.5};
  return p;
}

// Results and bookkeeping that a file load must not touch.
inline void FillResults(Project& p) {
  p.ProjectFlags |= pfModified | pfDirectResults | pfInverseResults;
  p.SectionProperties.Nodes = Samples(5, 0.0, 2.5);
  p.DirectHarmonics.Periods = Samples(3, 100, 10);
  p.InverseHarmonics.Amplitudes = TMatrix(2, 3);
  p.InverseHarmonics.MinHarmonics = 11;
  p.DirectResults = {24, TMatrix(4, 6), TMatrix(2, 6)};
  p.DirectResults.Temperatures.SetElement(3, 5, -2.5);
  p.InverseResults.UpstreamTemperatures = Samples(7, 1, 1);
  p.InverseResults.MeanProfile = {8.0, 1.0};
  p.ProjectFileName = "/somewhere/previous.kol";
}

// Every field of a project, results and file name included, doubles by their bits:
// two projects are the same exactly when their fingerprints are.
inline std::string Fingerprint(const Project& p) {
  std::string out;
  auto raw = [&out](const auto& value) { out.append(reinterpret_cast<const char*>(&value), sizeof value); };
  auto doubles = [&out, &raw](int count, const double* data) {
    raw(count);
    out.append(reinterpret_cast<const char*>(data), sizeof(double) * static_cast<size_t>(count));
  };
  auto vector = [&](const TVector& v) { doubles(v.NrOfElem(), v.Data()); };
  auto matrix = [&](const TMatrix& m) { raw(m.NrOfColumns()), doubles(m.NrOfColumns() * m.NrOfRows(), m.Data()); };
  const TSectionProperties& s = p.SectionProperties;
  for (double d : {s.Xu, s.Xd, s.Ratio, s.T0, s.Diffusivity, s.Ec, s.Poisson, s.Alpha}) raw(d);
  raw(s.NbDivisions), raw(s.PlaneStrain), vector(s.Nodes);
  for (const TFaceTemperatureHistory* face : {&p.UpstreamHistory, &p.DownstreamHistory})
    vector(face->Values), raw(face->TimeStep);
  for (const TTemperatureInside& t : p.Thermometers)
    raw(t.Position), vector(t.Values), raw(t.TimeStep), raw(t.Title.Length()), raw(t.Title.RawBytes());
  raw(p.InversePair.First), raw(p.InversePair.Second), raw(p.ProjectFlags);
  const TAnalysisOptions& o = p.AnalysisOptions;
  raw(o.AveragingCorrection), raw(o.PaddingMode), raw(o.PaddingReserved), raw(o.PaddingYears);
  for (const THarmonicSet* h : {&p.DirectHarmonics, &p.InverseHarmonics})
    raw(h->MinHarmonics), raw(h->HarmonicCount), vector(h->Periods), matrix(h->Amplitudes), matrix(h->Phases);
  raw(p.DirectResults.TimeStep), matrix(p.DirectResults.Temperatures), matrix(p.DirectResults.ThermometerTemperatures);
  vector(p.InverseResults.UpstreamTemperatures), vector(p.InverseResults.DownstreamTemperatures);
  raw(p.InverseResults.TimeStep);
  doubles(static_cast<int>(p.InverseResults.MeanProfile.size()), p.InverseResults.MeanProfile.data());
  return out + p.ProjectFileName;
}

inline Bytes ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

// A fresh folder per test, removed afterwards.
class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device seed;
    folder_ = std::filesystem::temp_directory_path() / ("kolma-model-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path Path(const std::string& name) const { return folder_ / name; }
  std::vector<std::string> Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::filesystem::path folder_;
};

}  // namespace kolma::testing
