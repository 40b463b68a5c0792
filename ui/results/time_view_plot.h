#pragma once
// What the time-history view draws: the positions it offers in each of its four views,
// and, for one choice of position, curve and average window, the polylines with their
// colours, the Y range and ordinate caption, and the numbers "Show values" tabulates.
// Plain computations over the project; the window only hands them to its chart.
#include <string>
#include <vector>

#include "core/analysis/moving_statistics.h"
#include "core/analysis/thermal_decomposition.h"
#include "core/model/short_title.h"

namespace kolma {
struct Project;
}

namespace kolma::ui {

enum class TTimeViewMode { XPosition = 0, InverseFaces = 1, Compare = 2, Decomposition = 3 };
enum class TTimeCurveKind { Temperature = 0, Linear = 1, Nonlinear = 2, Stress = 3 };
enum class TCurveColour { Black, Red, Green, Blue, Grey };

// Codes of the comparison view's faces; its thermometers are coded by their slot.
inline constexpr int kUpstreamFaceCode = -100;
inline constexpr int kDownstreamFaceCode = 100;

struct TTimePosition {
  std::string text;
  int code = 0;  // node (position view), 1 or 2 (worked-back faces), face code or slot (comparison)
};

// Fixed from the showing of the window to its closing.
struct TTimeViewSetup {
  TTimeViewMode mode = TTimeViewMode::XPosition;
  std::vector<TTimePosition> positions;
  double ymin = 0.0;  // extremes of the temperatures the view can show
  double ymax = 0.0;
  double xHiShown = 0.0;    // X range on show
  double xHiViewAll = 0.0;  // X range of "View all"
  std::vector<TTmTd> decomposition;  // the decomposition view's Tm and Td of every step
};

TTimeViewSetup SetupTimeView(const Project& project, TTimeViewMode mode);

struct TTimePolyline {
  TCurveColour colour = TCurveColour::Black;
  double timeStep = 0.0;  // sample j (1-based) is drawn at (first + j - 1) * timeStep
  std::vector<double> values;
  bool dashed = false;
  std::string title;  // what the curve is, as the legend names it
  int first = 0;      // a stretch of a longer curve starts at that sample
  // A stretch of a moving average whose windows wrap around the record's ends: an
  // artefact of treating the record as periodic, drawn apart from the averages proper.
  bool wraps = false;
};

// The legend entry of the stretches of the moving averages whose windows wrap.
inline constexpr const char* kWrappedAverageTitle = "Dotted ends: the window wraps around the record's ends";

// The name of a thermometer wherever the user sees it: its title and position, "T1 (0.60 m)".
std::string ThermometerName(const TShortTitle& title, int slot, double position);

struct TTimeViewPlot {
  std::vector<TTimePolyline> lines;  // in drawing order
  std::string ordinate;
  double loY = 0.0, hiY = 0.0;                // range drawn with
  double viewAllLoY = 0.0, viewAllHiY = 0.0;  // range "View all" returns to
  // The charted curve of the position and worked-back views, its time step and the x of its
  // position, with the moving statistics when an average curve is on.
  std::vector<double> curveValues;
  double timeStep = 0.0;
  double position = 0.0;
  bool averaged = false;
  TMovingStatistics statistics;
  std::string unit = "(°C)";  // of the charted values, as the values table heads them
  std::string failure;  // why nothing is drawn, e.g. stresses without a finite factor
};

TTimeViewPlot PlotTimeView(const Project& project, const TTimeViewSetup& setup, int positionIndex,
                           TTimeCurveKind curve, TAverageCycle average);

}  // namespace kolma::ui
