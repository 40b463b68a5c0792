// kolma-batch show FILE.kol: the stored project as key=value lines, numbers in
// their shortest exact form so that scripts can compare them.
#include <cstdio>
#include <string>

#include "core/model/node_distribution.h"
#include "tools/batch_support.h"

namespace kolma::batch {

namespace {

void Line(const std::string& key, const std::string& value) {
  std::printf("%s=%s\n", key.c_str(), value.c_str());
}
void Line(const std::string& key, double value) { Line(key, FormatDouble(value)); }
void Line(const std::string& key, long long value) { Line(key, std::to_string(value)); }

// Titles may hold any byte: printed as UTF-8 (the stored bytes are Latin-1), with control
// characters escaped so that each stays on one line.
std::string EscapeTitle(const std::string& title) {
  std::string text;
  for (unsigned char c : title) {
    if (c == '\\') {
      text += "\\\\";
    } else if (c >= 0x20 && c != 0x7F) {
      text += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      text += hex;
    }
  }
  return text;
}

void ShowHistory(const std::string& key, const TFaceTemperatureHistory& face) {
  Line(key + ".count", static_cast<long long>(face.Values.NrOfElem()));
  Line(key + ".timeStep", face.TimeStep);
}

void ShowProject(const Project& p) {
  const TSectionProperties& s = p.SectionProperties;
  Line("section.Xu", s.Xu);
  Line("section.Xd", s.Xd);
  Line("section.NbDivisions", static_cast<long long>(s.NbDivisions));
  Line("section.Ratio", s.Ratio);
  Line("section.T0", s.T0);
  Line("section.Diffusivity", s.Diffusivity);
  Line("section.Ec", s.Ec);
  Line("section.Poisson", s.Poisson);
  Line("section.Alpha", s.Alpha);
  Line("section.PlaneStrain", static_cast<long long>(s.PlaneStrain));

  Line("flags.section", static_cast<long long>(p.HasFlag(pfSection)));
  Line("flags.upstream", static_cast<long long>(p.HasFlag(pfUpstream)));
  Line("flags.downstream", static_cast<long long>(p.HasFlag(pfDownstream)));
  Line("flags.inversePair", static_cast<long long>(p.HasFlag(pfInversePair)));

  if (p.HasFlag(pfUpstream)) ShowHistory("upstream", p.UpstreamHistory);
  if (p.HasFlag(pfDownstream)) ShowHistory("downstream", p.DownstreamHistory);

  const int m = CountOccupiedThermometers(p);
  Line("thermometers.count", static_cast<long long>(m));
  for (int slot = 1; slot <= kThermometerSlots; ++slot) {
    const TTemperatureInside& t = p.Thermometer(slot);
    if (!IsThermometerOccupied(t)) continue;
    const std::string key = "thermometer." + std::to_string(slot);
    Line(key + ".title", EscapeTitle(t.Title.Utf8Text()));
    Line(key + ".position", t.Position);
    Line(key + ".count", static_cast<long long>(t.Values.NrOfElem()));
    Line(key + ".timeStep", t.TimeStep);
  }

  Line("inversePair.first", static_cast<long long>(p.InversePair.First));
  Line("inversePair.second", static_cast<long long>(p.InversePair.Second));
  Line("options.MinHarmonics", static_cast<long long>(p.DirectHarmonics.MinHarmonics));
  Line("options.AveragingCorrection", static_cast<long long>(p.AnalysisOptions.AveragingCorrection));
  Line("options.PaddingMode", static_cast<long long>(p.AnalysisOptions.PaddingMode));
  Line("options.PaddingYears", p.AnalysisOptions.PaddingYears);
  Line("options.InverseMethod", static_cast<long long>(p.AnalysisOptions.InverseMethod));  // 0 pair, 1 all thermometers
  Line("harmonics.HarmonicCount", static_cast<long long>(p.DirectHarmonics.HarmonicCount));

  // The nodes are not stored: they follow from the section, as after a file load.
  TVector nodes;
  std::string list;
  int count = 0;
  if (ComputeNodes(s.NbDivisions, nodes, s.Xu, s.Xd, s.Ratio)) {
    count = nodes.NrOfElem();
    for (int i = 1; i <= count; ++i) {
      if (i > 1) list += ' ';
      list += FormatDouble(nodes.Element(i));
    }
  }
  Line("nodes.count", static_cast<long long>(count));
  Line("nodes", list);
}

}  // namespace

int RunShow(const CommandArguments& arguments) {
  if (arguments.size() != 1) return ReportUsage("show");
  Project project;
  if (!LoadProjectOrReport(arguments[0], project)) return kExitFailure;
  ShowProject(project);
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? kExitOk : kExitFailure;
}

}  // namespace kolma::batch
