#include "core/model/project_codec.h"

#include <algorithm>
#include <array>
#include <exception>
#include <iterator>
#include <string>
#include <utility>

#include "core/model/byte_stream.h"
#include "core/model/node_distribution.h"

namespace kolma {

namespace {

constexpr std::uint8_t kStoredFlags[] = {pfSection, pfUpstream, pfDownstream, pfInversePair};
constexpr size_t kTitleBytes = 1 + TShortTitle::kCapacity;

// The options that came after the padding block live in a trailer that no older file can
// hold by chance: a tag, a version and the inverse method. It is written only when the
// method is not the pair, so files that keep today's options keep today's bytes, and a
// reader that ignores what follows the last field (every earlier one) reads them as before.
constexpr std::uint8_t kOptionsTag[] = {'K', 'O', 'L', 'M', 'A', '-', 'O', 'P', 'T'};
constexpr std::uint8_t kOptionsTrailerVersion = 1;

void WriteFace(TByteWriter& out, const TFaceTemperatureHistory& face) {
  out.I32(face.Values.NrOfElem());
  out.F64(face.TimeStep);
  out.F64s(face.Values.Data(), static_cast<size_t>(face.Values.NrOfElem()));
}

void WriteThermometer(TByteWriter& out, const TTemperatureInside& slot) {
  out.I32(slot.Values.NrOfElem());
  out.F64(slot.TimeStep);  // the file has the time step before the position
  out.F64(slot.Position);
  out.U8(slot.Title.Length());
  out.Bytes(slot.Title.RawBytes());
  out.F64s(slot.Values.Data(), static_cast<size_t>(slot.Values.NrOfElem()));
}

// Reads the project fields in file order into p. Any failure leaves p half written;
// the caller reads into a staging copy for that reason.
class Decoder {
 public:
  Decoder(std::span<const std::uint8_t> bytes, Project& p) : in_(bytes), p_(p) {}

  bool Run();
  const std::string& Error() const { return error_; }

 private:
  bool Ends(const std::string& part) { return Fail("file ends before the end of " + part); }
  bool Fail(std::string why) {
    error_ = std::move(why);
    return false;
  }
  bool CheckCount(std::int32_t count, std::int32_t minimum, size_t bytesBefore, const std::string& what);
  bool ReadSamples(TVector& values, std::int32_t count, const std::string& what);
  bool ReadSection();
  bool ReadFace(TFaceTemperatureHistory& face, bool defined, const std::string& what);
  bool ReadThermometer(int slot);
  bool ReadTail(std::int32_t release);
  void ReadOptionsTrailer(TAnalysisOptions& options);

  ByteReader in_;
  Project& p_;
  std::string error_;
};

bool Decoder::Run() {
  std::int32_t version[4];
  for (std::int32_t& word : version)
    if (!in_.Int32(word)) return Ends("the version header");
  const std::int32_t release = version[2];  // the format version; nothing else in the header matters

  p_.ProjectFlags = 0;
  for (std::uint8_t flag : kStoredFlags) {
    std::uint8_t stored = 0;
    if (!in_.Byte(stored)) return Ends("the stored flags");
    if (stored != 0) p_.ProjectFlags |= flag;
  }
  if (!ReadSection()) return false;
  if (!ReadFace(p_.UpstreamHistory, p_.HasFlag(pfUpstream), "upstream history")) return false;
  if (!ReadFace(p_.DownstreamHistory, p_.HasFlag(pfDownstream), "downstream history")) return false;

  std::int32_t m = 0;
  if (!in_.Int32(m)) return Ends("the thermometer count");
  if (m < 0) return Fail("thermometer count " + std::to_string(m) + " is negative");
  if (m > kThermometerSlots) return Fail("thermometer count " + std::to_string(m) + " is above 10");
  for (int slot = 1; slot <= m; ++slot)
    if (!ReadThermometer(slot)) return false;
  // Slots past m become empty; their position, time step and title stay as they were.
  for (int slot = m + 1; slot <= kThermometerSlots; ++slot) p_.Thermometer(slot).Values = TVector();

  return ReadTail(release);
}

bool Decoder::ReadSection() {
  TSectionProperties& s = p_.SectionProperties;
  const bool ok = in_.Double(s.Xu) && in_.Double(s.Xd) && in_.Int32(s.NbDivisions) && in_.Double(s.Ratio) &&
                  in_.Double(s.T0) && in_.Double(s.Diffusivity) && in_.Double(s.Ec) && in_.Double(s.Poisson) &&
                  in_.Double(s.Alpha) && in_.Byte(s.PlaneStrain);
  if (!ok) return Ends("the section");
  // The dialog offers 5 to 50; a damaged file must not make an analysis allocate without bound.
  if (s.NbDivisions > kMaxNodeDivisions)
    return Fail("section division count " + std::to_string(s.NbDivisions) + " is above " +
                std::to_string(kMaxNodeDivisions));
  return true;
}

// A count is accepted only when the samples it announces fit in what is left of the
// file after the bytesBefore bytes that precede them.
bool Decoder::CheckCount(std::int32_t count, std::int32_t minimum, size_t bytesBefore, const std::string& what) {
  const std::string prefix = what + " sample count " + std::to_string(count);
  if (count < 0) return Fail(prefix + " is negative");
  if (count < minimum) return Fail(prefix + " is below " + std::to_string(minimum));
  const size_t remaining = in_.Remaining();
  if (remaining < bytesBefore || (remaining - bytesBefore) / 8 < static_cast<size_t>(count))
    return Fail(prefix + " is more than the rest of the file can hold");
  return true;
}

bool Decoder::ReadSamples(TVector& values, std::int32_t count, const std::string& what) {
  TVector samples(count);
  if (!in_.Doubles(samples.Data(), static_cast<size_t>(count))) return Ends("the " + what);
  values = samples;
  return true;
}

bool Decoder::ReadFace(TFaceTemperatureHistory& face, bool defined, const std::string& what) {
  if (!defined) {
    face.Values = TVector();  // the empty placeholder; the time step stays as it was
    return true;
  }
  std::int32_t n = 0;
  if (!in_.Int32(n)) return Ends("the " + what);
  if (!CheckCount(n, 1, 8, what)) return false;
  if (!in_.Double(face.TimeStep)) return Ends("the " + what);
  return ReadSamples(face.Values, n, what);
}

bool Decoder::ReadThermometer(int slot) {
  TTemperatureInside& t = p_.Thermometer(slot);
  const std::string what = "thermometer " + std::to_string(slot);
  std::int32_t n = 0;
  if (!in_.Int32(n)) return Ends(what);
  // Only occupied slots (two samples or more) are stored; anything shorter would
  // leave a gap among the occupied slots.
  if (!CheckCount(n, 2, 8 + 8 + kTitleBytes, what)) return false;
  std::uint8_t length = 0;
  TShortTitle::Bytes title{};
  if (!in_.Double(t.TimeStep) || !in_.Double(t.Position) || !in_.Byte(length) || !in_.Bytes(title))
    return Ends(what);
  if (!t.Title.SetRaw(length, title))
    return Fail(what + " title length " + std::to_string(length) + " is above 80");
  return ReadSamples(t.Values, n, what);
}

bool Decoder::ReadTail(std::int32_t release) {
  TInversePair& pair = p_.InversePair;
  if (!in_.Int32(pair.First) || !in_.Int32(pair.Second)) return Ends("the inverse pair");
  for (std::int32_t slot : {pair.First, pair.Second})
    if (slot < 0 || slot > kThermometerSlots)
      return Fail("inverse pair slot " + std::to_string(slot) + " is outside 0 to 10");

  std::int32_t minHarmonics = 0;
  if (!in_.Int32(minHarmonics) || !in_.Int32(p_.DirectHarmonics.HarmonicCount)) return Ends("the harmonic counts");
  p_.SetMinHarmonics(minHarmonics);

  TAnalysisOptions& options = p_.AnalysisOptions;
  if (!in_.Byte(options.AveragingCorrection)) return Ends("the averaging correction");
  if (release >= 2) {
    if (!in_.Byte(options.PaddingMode) || !in_.Bytes(options.PaddingReserved) || !in_.Double(options.PaddingYears))
      return Ends("the padding block");
    ReadOptionsTrailer(options);
  } else {
    // Files older than the padding options analyse with automatic padding.
    options.PaddingMode = 0;
    options.PaddingYears = 0.0;
    options.InverseMethod = kInversePairMethod;
  }
  return true;  // anything after the last field is ignored
}

// Anything but an exactly tagged trailer of a known version means the pair method.
void Decoder::ReadOptionsTrailer(TAnalysisOptions& options) {
  options.InverseMethod = kInversePairMethod;
  std::array<std::uint8_t, sizeof kOptionsTag> tag{};
  std::uint8_t version = 0, method = 0;
  if (!in_.Bytes(tag) || !std::equal(tag.begin(), tag.end(), std::begin(kOptionsTag))) return;
  if (!in_.Byte(version) || version != kOptionsTrailerVersion || !in_.Byte(method)) return;
  if (method == kInverseLeastSquaresMethod) options.InverseMethod = kInverseLeastSquaresMethod;
}

// Copies what a file load may change, except the sample vectors, which the load
// always replaces. The fields a load leaves alone (the time step of an undefined
// face, the position, time step and title of a slot past the stored count, the
// unused padding bytes of an older file) thereby keep their contents.
void StageStoredFields(const Project& from, Project& to) {
  to.ProjectFlags = from.ProjectFlags;
  to.SectionProperties = from.SectionProperties;
  to.UpstreamHistory.TimeStep = from.UpstreamHistory.TimeStep;
  to.DownstreamHistory.TimeStep = from.DownstreamHistory.TimeStep;
  for (int slot = 1; slot <= kThermometerSlots; ++slot) {
    to.Thermometer(slot).Position = from.Thermometer(slot).Position;
    to.Thermometer(slot).TimeStep = from.Thermometer(slot).TimeStep;
    to.Thermometer(slot).Title = from.Thermometer(slot).Title;
  }
  to.InversePair = from.InversePair;
  to.AnalysisOptions = from.AnalysisOptions;
  to.DirectHarmonics.MinHarmonics = from.DirectHarmonics.MinHarmonics;
  to.DirectHarmonics.HarmonicCount = from.DirectHarmonics.HarmonicCount;
  to.InverseHarmonics.MinHarmonics = from.InverseHarmonics.MinHarmonics;
}

// Moves the staged fields in without any step that could throw, so that a load
// either replaces all of them or none.
void CommitStoredFields(Project& from, Project& to) noexcept {
  to.ProjectFlags = from.ProjectFlags;
  TVector nodes = std::move(to.SectionProperties.Nodes);  // not stored: the caller recomputes them
  to.SectionProperties = std::move(from.SectionProperties);
  to.SectionProperties.Nodes = std::move(nodes);
  to.UpstreamHistory = std::move(from.UpstreamHistory);
  to.DownstreamHistory = std::move(from.DownstreamHistory);
  to.Thermometers = std::move(from.Thermometers);
  to.InversePair = from.InversePair;
  to.AnalysisOptions = from.AnalysisOptions;
  to.DirectHarmonics.MinHarmonics = from.DirectHarmonics.MinHarmonics;
  to.DirectHarmonics.HarmonicCount = from.DirectHarmonics.HarmonicCount;
  to.InverseHarmonics.MinHarmonics = from.InverseHarmonics.MinHarmonics;
}

}  // namespace

std::vector<std::uint8_t> EncodeProject(const Project& project) {
  TByteWriter out;
  for (std::int32_t word : {kVersionMajor, kVersionMinor, kVersionRelease, kVersionBuild}) out.I32(word);
  for (std::uint8_t flag : kStoredFlags) out.U8(project.HasFlag(flag) ? 1 : 0);

  const TSectionProperties& s = project.SectionProperties;
  out.F64(s.Xu);
  out.F64(s.Xd);
  out.I32(s.NbDivisions);
  out.F64(s.Ratio);
  out.F64(s.T0);
  out.F64(s.Diffusivity);
  out.F64(s.Ec);
  out.F64(s.Poisson);
  out.F64(s.Alpha);
  out.U8(s.PlaneStrain);

  if (project.HasFlag(pfUpstream)) WriteFace(out, project.UpstreamHistory);
  if (project.HasFlag(pfDownstream)) WriteFace(out, project.DownstreamHistory);

  // The occupied slots normally are 1..m; writing them in slot order whatever the
  // gaps means a stray empty slot can never push a measured history out of the file.
  out.I32(CountOccupiedThermometers(project));
  for (const TTemperatureInside& slot : project.Thermometers)
    if (IsThermometerOccupied(slot)) WriteThermometer(out, slot);

  out.I32(project.InversePair.First);
  out.I32(project.InversePair.Second);
  out.I32(project.DirectHarmonics.MinHarmonics);
  out.I32(project.DirectHarmonics.HarmonicCount);
  const TAnalysisOptions& options = project.AnalysisOptions;
  out.U8(options.AveragingCorrection);
  out.U8(options.PaddingMode);
  out.Bytes(options.PaddingReserved);
  out.F64(options.PaddingYears);
  if (options.InverseMethod == kInverseLeastSquaresMethod) {
    out.Bytes(kOptionsTag);
    out.U8(kOptionsTrailerVersion);
    out.U8(options.InverseMethod);
  }
  return out.Take();
}

bool DecodeProject(std::span<const std::uint8_t> bytes, Project& project, std::string* reason) {
  try {
    Project staged;
    StageStoredFields(project, staged);
    Decoder decoder(bytes, staged);
    if (!decoder.Run()) {
      if (reason) *reason = decoder.Error();
      return false;
    }
    CommitStoredFields(staged, project);
    return true;
  } catch (const std::exception& e) {  // out of memory for samples the file does hold
    if (reason) *reason = e.what();
    return false;
  }
}

}  // namespace kolma
