#include "ui/results/time_view_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "core/analysis/result_table.h"
#include "core/model/project.h"

namespace kolma::ui {
namespace {

struct TExtremes {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -std::numeric_limits<double>::infinity();
  void Add(double v) {
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  void Add(const std::vector<double>& values) {
    for (double v : values) Add(v);
  }
  bool Empty() const { return lo > hi; }
};

std::vector<double> Samples(const TVector& vector) {
  return std::vector<double>(vector.Data(), vector.Data() + vector.NrOfElem());
}

std::vector<double> Column(const TMatrix& matrix, int column) {
  std::vector<double> values(static_cast<std::size_t>(matrix.NrOfRows()));
  for (int k = 1; k <= matrix.NrOfRows(); ++k) values[static_cast<std::size_t>(k - 1)] = matrix.Element(column, k);
  return values;
}

TTimePolyline Line(TCurveColour colour, double timeStep, std::vector<double> values, std::string title) {
  TTimePolyline line;
  line.colour = colour;
  line.timeStep = timeStep;
  line.values = std::move(values);
  line.title = std::move(title);
  return line;
}

// A face history holds real samples only when it has more than the one placeholder.
bool HasSamples(const TVector& values) { return values.NrOfElem() >= 2; }

// The computed temperatures of a thermometer are in the column of its rank among the
// occupied slots, not in the column of its slot number.
int ThermometerColumn(const Project& project, int slot) {
  int column = 0;
  for (int s = 1; s <= slot; ++s) column += IsThermometerOccupied(project.Thermometer(s));
  return column;
}

void SetupPositionView(const Project& project, TTimeViewSetup& setup) {
  const TSectionProperties& section = project.SectionProperties;
  const TMatrix& field = project.DirectResults.Temperatures;
  for (int i = 1; i <= section.NbDivisions + 1; ++i)
    setup.positions.push_back({FormatFloat("Position %8.3f m", section.Nodes.Element(i)), i});
  field.MinMax(1, 1, field.NrOfColumns(), field.NrOfRows(), setup.ymin, setup.ymax);
  setup.xHiShown = setup.xHiViewAll = (field.NrOfRows() - 1) * project.DirectResults.TimeStep;
}

void SetupInverseView(const Project& project, TTimeViewSetup& setup) {
  const TInverseResults& inverse = project.InverseResults;
  setup.positions = {{"Upstream temperature", 1}, {"Downstream temperature", 2}};
  TExtremes extremes;
  extremes.Add(Samples(inverse.UpstreamTemperatures));
  extremes.Add(Samples(inverse.DownstreamTemperatures));
  setup.ymin = extremes.lo;
  setup.ymax = extremes.hi;
  setup.xHiShown = setup.xHiViewAll = (inverse.UpstreamTemperatures.NrOfElem() - 1) * inverse.TimeStep;
}

void SetupCompareView(const Project& project, TTimeViewSetup& setup) {
  TExtremes extremes;
  extremes.Add(0.0);  // the range starts at 0 and grows with every history offered
  if (HasSamples(project.UpstreamHistory.Values)) {
    setup.positions.push_back({"Upstream Face", kUpstreamFaceCode});
    extremes = {};
    extremes.Add(Samples(project.UpstreamHistory.Values));
  }
  for (int slot = 1; slot <= kThermometerSlots; ++slot) {
    const TTemperatureInside& thermometer = project.Thermometer(slot);
    if (!IsThermometerOccupied(thermometer)) continue;
    setup.positions.push_back({ThermometerName(thermometer.Title, slot, thermometer.Position), slot});
    extremes.Add(Samples(thermometer.Values));
  }
  if (HasSamples(project.DownstreamHistory.Values)) {
    setup.positions.push_back({"Downstream Face", kDownstreamFaceCode});
    extremes.Add(Samples(project.DownstreamHistory.Values));
  }
  setup.ymin = extremes.lo;
  setup.ymax = extremes.hi;
}

void SetupDecompositionView(const Project& project, TTimeViewSetup& setup) {
  setup.decomposition = ComputeTmTdSeries(project);
  TExtremes extremes;
  for (const TTmTd& step : setup.decomposition) {
    extremes.Add(step.Tm);
    extremes.Add(step.Td);
  }
  if (!extremes.Empty()) {
    setup.ymin = extremes.lo;
    setup.ymax = extremes.hi;
  }
}

// The curve of the position view at node p.
std::vector<double> NodeCurve(const Project& project, int p, TTimeCurveKind kind, double stressFactor) {
  if (kind == TTimeCurveKind::Temperature) return Column(project.DirectResults.Temperatures, p);
  const std::vector<TTmTd> steps = ComputeTmTdSeries(project);
  std::vector<double> values(steps.size());
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const int step = static_cast<int>(k) + 1;
    switch (kind) {
      case TTimeCurveKind::Linear: values[k] = Tl(project, p, steps[k]); break;
      case TTimeCurveKind::Nonlinear: values[k] = Tn(project, p, step, steps[k]); break;
      default: values[k] = Stress(project, p, step, steps[k], stressFactor); break;
    }
  }
  return values;
}

// What the charted curve of the position and worked-back views is, for the legend.
std::string CurveTitle(const TTimeViewSetup& setup, int code, TTimeCurveKind kind, double position) {
  if (setup.mode == TTimeViewMode::InverseFaces)
    return code == 1 ? "Upstream face, worked back" : "Downstream face, worked back";
  const char* quantity = "Temperature";
  switch (kind) {
    case TTimeCurveKind::Linear: quantity = "Linear temperature"; break;
    case TTimeCurveKind::Nonlinear: quantity = "Nonlinear temperature"; break;
    case TTimeCurveKind::Stress: quantity = "Stress"; break;
    default: break;
  }
  return std::string(quantity) + FormatFloat(" at X = %.3f m", position);
}

const char* Ordinate(TTimeCurveKind kind) {
  switch (kind) {
    case TTimeCurveKind::Linear: return "Linear temperatures (°C)";
    case TTimeCurveKind::Nonlinear: return "Nonlinear temperatures (°C)";
    case TTimeCurveKind::Stress: return "Stresses (MPa)";
    default: return "Temperature (°C)";
  }
}

// The single curve of the position and worked-back views, with its time step and the x of
// its position; false with plot.failure set when it cannot be drawn.
bool SingleCurve(const Project& project, const TTimeViewSetup& setup, int code, TTimeCurveKind kind,
                 TTimeViewPlot& plot) {
  const TSectionProperties& section = project.SectionProperties;
  if (setup.mode == TTimeViewMode::InverseFaces) {
    const TInverseResults& inverse = project.InverseResults;
    plot.curveValues = Samples(code == 1 ? inverse.UpstreamTemperatures : inverse.DownstreamTemperatures);
    // The worked-back histories have their own time step, which need not be that of a
    // direct analysis (nor need one have run).
    plot.timeStep = inverse.TimeStep;
    plot.position = section.Nodes.Element(code == 1 ? 1 : section.NbDivisions + 1);
    return true;
  }
  plot.timeStep = project.DirectResults.TimeStep;
  plot.position = section.Nodes.Element(code);
  const TStressFactor factor = StressFactor(section);
  if (kind == TTimeCurveKind::Stress && !factor.valid) {
    plot.failure = factor.reason;
    return false;
  }
  plot.curveValues = NodeCurve(project, code, kind, factor.value);
  return true;
}

void CompareLines(const Project& project, const TTimePosition& position, TTimeViewPlot& plot) {
  const TSectionProperties& section = project.SectionProperties;
  const TDirectResults& direct = project.DirectResults;
  const TVector* input = nullptr;
  double inputStep = 0.0;
  std::vector<double> output;
  if (position.code == kUpstreamFaceCode || position.code == kDownstreamFaceCode) {
    const bool up = position.code == kUpstreamFaceCode;
    const TFaceTemperatureHistory& history = up ? project.UpstreamHistory : project.DownstreamHistory;
    input = &history.Values;
    inputStep = history.TimeStep;
    output = Column(direct.Temperatures, up ? 1 : section.NbDivisions + 1);
    plot.ordinate = up ? "Temperatures at the upstream face (°C)" : "Temperatures at the downstream face (°C)";
  } else {
    const TTemperatureInside& thermometer = project.Thermometer(position.code);
    input = &thermometer.Values;
    inputStep = thermometer.TimeStep;
    output = Column(direct.ThermometerTemperatures, ThermometerColumn(project, position.code));
    plot.ordinate = "Temperatures at " + position.text + " (°C)";
  }
  const bool face = position.code == kUpstreamFaceCode || position.code == kDownstreamFaceCode;
  const std::string at = !face ? position.text : position.code == kUpstreamFaceCode ? "the upstream face" : "the downstream face";
  plot.lines.push_back(Line(TCurveColour::Black, direct.TimeStep, std::move(output), "Computed at " + at));
  plot.lines.push_back(Line(TCurveColour::Red, inputStep, Samples(*input), (face ? "Imposed at " : "Measured at ") + at));
}

// The worked-back face plus and minus the rms error the analysis expects of it, as two
// light dashed curves.
void AddErrorBand(const Project& project, int code, TTimeViewPlot& plot) {
  const TInverseResults& r = project.InverseResults;
  const double error = code == 1 ? r.UpstreamExpectedError : r.DownstreamExpectedError;
  if (!(error > 0.0) || !std::isfinite(error)) return;
  const char* face = code == 1 ? "Upstream" : "Downstream";
  TTimePolyline upper = Line(TCurveColour::Grey, plot.timeStep, plot.curveValues, std::string(face) + " face + expected error");
  TTimePolyline lower = Line(TCurveColour::Grey, plot.timeStep, plot.curveValues, std::string(face) + " face - expected error");
  upper.dashed = lower.dashed = true;
  for (double& v : upper.values) v += error;
  for (double& v : lower.values) v -= error;
  plot.lines.push_back(std::move(upper));
  plot.lines.push_back(std::move(lower));
}

const char* AverageWindowName(TAverageCycle average) {
  switch (average) {
    case TAverageCycle::OneWeek: return "1-week";
    case TAverageCycle::TwoWeeks: return "2-week";
    case TAverageCycle::OneMonth: return "1-month";
    case TAverageCycle::OneYear: return "1-year";
    default: return "";
  }
}

// The moving averages, each drawn apart where its window wraps around an end of the record.
void AddAverageLines(TAverageCycle average, TTimeViewPlot& plot) {
  if (average == TAverageCycle::None) return;
  const std::optional<int> window = MovingWindowLength(AverageCyclePeriod(average), plot.timeStep);
  if (!window) return;
  plot.statistics = MovingStatistics(plot.curveValues, *window);
  plot.averaged = true;
  const std::size_t n = plot.curveValues.size();
  std::vector<double> upper(n), lower(n);
  for (std::size_t j = 0; j < n; ++j) {
    upper[j] = plot.statistics.Mean[j] + plot.statistics.Deviation[j];
    lower[j] = plot.statistics.Mean[j] - plot.statistics.Deviation[j];
  }
  const std::string named = std::string(" (") + AverageWindowName(average) + " window)";
  const TTimePolyline curves[] = {
      Line(TCurveColour::Red, plot.timeStep, std::move(upper), "Moving mean + std. deviation" + named),
      Line(TCurveColour::Blue, plot.timeStep, std::move(lower), "Moving mean - std. deviation" + named),
      Line(TCurveColour::Green, plot.timeStep, plot.statistics.Mean, "Moving mean" + named)};

  // The window of sample j (0-based) holds j - h .. j - h + w: it stays inside the record
  // for j from h to n - 1 - (w - h) and wraps around an end before and after.
  const std::int64_t w = *window, h = w / 2, count = static_cast<std::int64_t>(n);
  const std::int64_t cleanFirst = h, cleanLast = count - 1 - (w - h);
  auto stretch = [](const TTimePolyline& curve, std::int64_t from, std::int64_t to) {
    TTimePolyline part = curve;
    part.first = static_cast<int>(from);
    part.values.assign(curve.values.begin() + from, curve.values.begin() + to + 1);
    return part;
  };
  std::vector<TTimePolyline> wrapped;
  for (const TTimePolyline& curve : curves) {
    if (cleanFirst > cleanLast) {  // a record shorter than the window: every window wraps
      TTimePolyline whole = curve;
      whole.wraps = true;
      whole.title += ", every window wraps around the record's ends";
      plot.lines.push_back(std::move(whole));
      continue;
    }
    plot.lines.push_back(stretch(curve, cleanFirst, cleanLast));
    // Each wrapped stretch joins the clean one at its end sample, so the curve stays whole.
    if (cleanFirst > 0) wrapped.push_back(stretch(curve, 0, cleanFirst));
    if (cleanLast < count - 1) wrapped.push_back(stretch(curve, cleanLast, count - 1));
  }
  for (TTimePolyline& part : wrapped) {
    part.wraps = true;
    part.title = kWrappedAverageTitle;
    plot.lines.push_back(std::move(part));
  }
}

// Temperatures keep one degree of room around their extremes (wider only when a band of
// the average curve reaches beyond them); the derived curves, whose values may be far from
// any temperature (stresses are in MPa), get a range fitted to what is drawn.
void FitRange(const TTimeViewSetup& setup, TTimeCurveKind kind, TTimeViewPlot& plot) {
  TExtremes drawn;
  for (const TTimePolyline& line : plot.lines) drawn.Add(line.values);
  const bool temperature = kind == TTimeCurveKind::Temperature || setup.mode != TTimeViewMode::XPosition;
  if (temperature || drawn.Empty()) {
    plot.loY = setup.ymin - 1.0;
    plot.hiY = setup.ymax + 1.0;
    // Average bands and the error band widen the range to show them whole.
    const bool banded = std::any_of(plot.lines.begin(), plot.lines.end(), [](const TTimePolyline& l) { return l.dashed; });
    if ((plot.averaged || banded) && !drawn.Empty()) {
      plot.loY = std::min(plot.loY, drawn.lo - 1.0);
      plot.hiY = std::max(plot.hiY, drawn.hi + 1.0);
    }
    plot.viewAllLoY = std::nearbyint(plot.loY);
    plot.viewAllHiY = std::nearbyint(plot.hiY);
    return;
  }
  const double span = drawn.hi - drawn.lo;
  const double pad = span > 0.0 ? span / 20.0 : std::max(1.0, std::fabs(drawn.hi) / 20.0);
  plot.loY = plot.viewAllLoY = drawn.lo - pad;
  plot.hiY = plot.viewAllHiY = drawn.hi + pad;
}

}  // namespace

std::string ThermometerName(const TShortTitle& title, int slot, double position) {
  std::string name = title.Utf8Text();
  const auto blank = name.find_first_not_of(' ');
  name = blank == std::string::npos ? "Thermometer " + std::to_string(slot) : name.substr(blank);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  // Centimetres as a rule; more digits only where the position has them.
  int digits = 2;
  while (digits < 5 && std::fabs(position * std::pow(10.0, digits) - std::nearbyint(position * std::pow(10.0, digits))) > 1e-6)
    ++digits;
  return name + " (" + FormatFloat("%." + std::to_string(digits) + "f m)", position);
}

TTimeViewSetup SetupTimeView(const Project& project, TTimeViewMode mode) {
  TTimeViewSetup setup;
  setup.mode = mode;
  switch (mode) {
    case TTimeViewMode::XPosition: SetupPositionView(project, setup); break;
    case TTimeViewMode::InverseFaces: SetupInverseView(project, setup); break;
    case TTimeViewMode::Compare: SetupCompareView(project, setup); break;
    case TTimeViewMode::Decomposition: SetupDecompositionView(project, setup); break;
  }
  if (mode == TTimeViewMode::Compare || mode == TTimeViewMode::Decomposition) {
    const int steps = project.DirectResults.Temperatures.NrOfRows();
    setup.xHiShown = steps * project.DirectResults.TimeStep;
    setup.xHiViewAll = (steps - 1) * project.DirectResults.TimeStep;
  }
  return setup;
}

TTimeViewPlot PlotTimeView(const Project& project, const TTimeViewSetup& setup, int positionIndex,
                           TTimeCurveKind curve, TAverageCycle average) {
  TTimeViewPlot plot;
  const bool hasPosition = positionIndex >= 0 && positionIndex < static_cast<int>(setup.positions.size());
  switch (setup.mode) {
    case TTimeViewMode::XPosition:
    case TTimeViewMode::InverseFaces: {
      if (setup.mode == TTimeViewMode::InverseFaces) curve = TTimeCurveKind::Temperature;
      plot.ordinate = Ordinate(curve);
      if (!hasPosition) break;
      if (!SingleCurve(project, setup, setup.positions[static_cast<std::size_t>(positionIndex)].code, curve, plot))
        break;
      const int code = setup.positions[static_cast<std::size_t>(positionIndex)].code;
      plot.lines.push_back(Line(TCurveColour::Black, plot.timeStep, plot.curveValues,
                                CurveTitle(setup, code, curve, plot.position)));
      if (curve == TTimeCurveKind::Stress) plot.unit = "(MPa)";
      AddAverageLines(average, plot);
      if (setup.mode == TTimeViewMode::InverseFaces)
        AddErrorBand(project, setup.positions[static_cast<std::size_t>(positionIndex)].code, plot);
      break;
    }
    case TTimeViewMode::Compare:
      plot.ordinate = "Temperature (°C)";
      if (hasPosition) CompareLines(project, setup.positions[static_cast<std::size_t>(positionIndex)], plot);
      break;
    case TTimeViewMode::Decomposition: {
      plot.ordinate = "Temperatures (°C)";
      plot.timeStep = project.DirectResults.TimeStep;
      TTimePolyline tm = Line(TCurveColour::Black, plot.timeStep, {}, "Mean temperature Tm");
      TTimePolyline td = Line(TCurveColour::Blue, plot.timeStep, {}, "Linear temperature Td");
      for (const TTmTd& step : setup.decomposition) {
        tm.values.push_back(step.Tm);
        td.values.push_back(step.Td);
      }
      plot.lines.push_back(std::move(tm));
      plot.lines.push_back(std::move(td));
      break;
    }
  }
  FitRange(setup, curve, plot);
  return plot;
}

}  // namespace kolma::ui
