// The chart's arithmetic on its own: range rules, mapping, mouse pan/zoom, clipping, ticks.
#include "ui/widgets/chart_geometry.h"

#include "core/analysis/result_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

namespace kolma::ui {
namespace {

// A widget of 700 x 420 with the default margins: data window 640 x 372 pixels.
TChartGeometry Sized(int w = 700, int h = 420) {
  TChartGeometry g;
  g.SetLayout(w, h, 50, 10, 16, 32);
  return g;
}

TEST(ChartGeometryRanges, EqualEndsLeaveExactlyTheMinimumSpan) {
  TChartGeometry g = Sized();
  g.SetMinRangeX(0.25);
  g.SetRangeLoX(3);
  g.SetRangeHiX(3);  // Hi closer than MinRange to Lo: Lo moves to Hi - MinRange
  EXPECT_EQ(g.RangeLoX(), 2.75);
  EXPECT_EQ(g.RangeHiX(), 3);
  g.SetRangeLoX(3);  // Lo closer than MinRange to Hi: Hi moves to Lo + MinRange
  EXPECT_EQ(g.RangeHiX() - g.RangeLoX(), 0.25);

  g.SetMinRangeY(1e-10);
  g.SetRangeHiY(0);
  g.SetRangeLoY(0);
  EXPECT_EQ(g.RangeHiY() - g.RangeLoY(), 1e-10);
  g.SetRangeLoY(7);
  g.SetRangeHiY(7);
  EXPECT_EQ(g.RangeLoY(), 7 - 1e-10);
  EXPECT_EQ(g.RangeHiY(), 7);
}

TEST(ChartGeometryRanges, EndsFarApartAreKeptInAnyOrder) {
  TChartGeometry g = Sized();
  g.SetRangeLoX(0);
  g.SetRangeHiX(5);
  // A history moves its range from 0..5 to 24..8760: the low end passes the old high end first.
  g.SetRangeLoX(24);
  EXPECT_EQ(g.RangeHiX(), 5);  // reversed for a moment, not swapped
  g.SetRangeHiX(8760);
  EXPECT_EQ(g.RangeLoX(), 24);
  EXPECT_EQ(g.RangeHiX(), 8760);
  // A constant history asks for an empty Y range and gets the minimum span.
  g.SetMinRangeY(1e-10);
  g.SetRangeLoY(12.5);
  g.SetRangeHiY(12.5);
  EXPECT_NEAR(g.RangeHiY() - g.RangeLoY(), 1e-10, 4e-15);  // to the resolution of 12.5
  EXPECT_LT(g.RangeLoY(), g.RangeHiY());
}

TEST(ChartGeometryRanges, UnusableValuesAreIgnored) {
  TChartGeometry g = Sized();
  g.SetRangeLoX(1);
  g.SetRangeHiX(100);
  g.SetLogScaleX(true);
  g.SetRangeLoX(1e-101);
  g.SetRangeLoX(-5);
  g.SetRangeLoX(0);
  EXPECT_EQ(g.RangeLoX(), 1);
  g.SetRangeLoX(1e-99);
  EXPECT_EQ(g.RangeLoX(), 1e-99);
  g.SetRangeHiX(NAN);
  g.SetRangeHiX(INFINITY);
  EXPECT_EQ(g.RangeHiX(), 100);
  // The Y axis is linear: negative values are fine there.
  g.SetRangeLoY(-5);
  EXPECT_EQ(g.RangeLoY(), -5);
}

TEST(ChartGeometryRanges, SwitchingLogOnMovesARangeThatReachesZero) {
  TChartGeometry g = Sized();
  g.SetRangeLoX(0);
  g.SetRangeHiX(8760);
  g.SetLogScaleX(true);
  EXPECT_GE(g.RangeLoX(), TChartGeometry::kLogFloor);
  EXPECT_EQ(g.RangeHiX(), 8760);
  EXPECT_TRUE(std::isfinite(g.ToScreenX(1000)));
}

TEST(ChartGeometryIsometric, YSpanFollowsTheDataWindow) {
  TChartGeometry g = Sized();  // w = 639, h = 371 (right - left, bottom - top)
  ASSERT_EQ(g.DataWidth(), 639);
  ASSERT_EQ(g.DataHeight(), 371);
  g.SetIsometric(true);
  // The section drawing: X from Xu - L/10 to Xd + L/10, then Y centred on zero.
  g.SetRangeLoX(-1);
  g.SetRangeHiX(11);
  const double s = g.RangeHiY() - g.RangeLoY();
  EXPECT_DOUBLE_EQ(s, 12.0 * 372 / 640);
  g.SetRangeLoY(-s / 2);
  EXPECT_DOUBLE_EQ(g.RangeHiY(), s / 2);
  // One world unit is as long on both axes.
  EXPECT_NEAR(g.ToScreenX(1) - g.ToScreenX(0), g.ToScreenY(0) - g.ToScreenY(1), 1e-9);

  // Setting RangeHiY itself is not overridden.
  g.SetRangeHiY(40);
  EXPECT_EQ(g.RangeHiY(), 40);
  g.SetPixelAspect(2);
  g.SetRangeLoY(0);
  EXPECT_DOUBLE_EQ(g.RangeHiY(), 2 * 12.0 * 372 / 640);
}

TEST(ChartGeometryIsometric, SwitchingOnAndResizingKeepEqualScales) {
  TChartGeometry g = Sized();
  g.SetRangeLoX(0);
  g.SetRangeHiX(10);
  g.SetRangeLoY(-1);
  g.SetRangeHiY(1);
  g.SetIsometric(true);
  EXPECT_DOUBLE_EQ(g.RangeHiY(), -1 + 10.0 * 372 / 640);
  // A resize keeps the middle of the Y range.
  g.SetRangeLoY(-2);
  const double middle = g.RangeLoY() + (g.RangeHiY() - g.RangeLoY()) / 2;
  EXPECT_TRUE(g.SetLayout(500, 600, 50, 10, 16, 32));
  g.RecentreIsometricY();
  EXPECT_NEAR((g.RangeLoY() + g.RangeHiY()) / 2, middle, 1e-12);
  EXPECT_DOUBLE_EQ(g.RangeHiY() - g.RangeLoY(), 10.0 * (600 - 48) / (500 - 60));
}

TEST(ChartGeometryMapping, PixelsAndWorldRoundTrip) {
  TChartGeometry g = Sized();
  g.SetRangeLoX(-3);
  g.SetRangeHiX(7);
  g.SetRangeLoY(100);
  g.SetRangeHiY(50);  // a downward Y axis
  for (int px = g.DataLeft() - 40; px <= g.DataRight() + 40; px += 7) {
    EXPECT_EQ(g.PixelX(g.PixelCentreToWorldX(px)), px);
  }
  for (int py = g.DataTop() - 10; py <= g.DataBottom() + 10; py += 5) {
    EXPECT_EQ(g.PixelY(g.PixelCentreToWorldY(py)), py);
  }
  // Range ends fall on the first and last pixels of the data window.
  EXPECT_EQ(g.PixelX(-3), g.DataLeft());
  EXPECT_EQ(g.PixelX(7), g.DataRight());
  EXPECT_EQ(g.PixelY(50), g.DataTop());
  EXPECT_EQ(g.PixelY(100), g.DataBottom());
  EXPECT_TRUE(g.PixelInDataWindow(g.DataLeft(), g.DataBottom()));
  EXPECT_FALSE(g.PixelInDataWindow(g.DataLeft() - 1, g.DataBottom()));
  // Far away points stay representable.
  EXPECT_EQ(g.PixelX(1e300), 1000000000);
}

TEST(ChartGeometryMapping, LogarithmicAxisSpacesDecadesEqually) {
  TChartGeometry g = Sized();
  g.SetRangeLoX(1);
  g.SetRangeHiX(10000);
  g.SetLogScaleX(true);
  const double decade = g.ToScreenX(10) - g.ToScreenX(1);
  EXPECT_NEAR(decade, 640.0 / 4, 1e-9);
  EXPECT_NEAR(g.ToScreenX(1000) - g.ToScreenX(100), decade, 1e-9);
  EXPECT_NEAR(g.ToWorldX(g.ToScreenX(316.2)), 316.2, 1e-9);
}

TEST(ChartGeometryMouse, PanKeepsTheGrabbedPointUnderTheCursor) {
  TChartGeometry g = Sized();
  g.SetRangeLoX(0);
  g.SetRangeHiX(10);
  g.SetRangeLoY(-5);
  g.SetRangeHiY(5);
  const int px = 200, py = 150;
  const double wx = g.PixelCentreToWorldX(px), wy = g.PixelCentreToWorldY(py);
  g.SetRangesFromMouse(g.Panned(g.Ranges(), 37, -21, true, true));
  EXPECT_NEAR(g.PixelCentreToWorldX(px + 37), wx, 1e-12);
  EXPECT_NEAR(g.PixelCentreToWorldY(py - 21), wy, 1e-12);
  EXPECT_NEAR(g.RangeHiX() - g.RangeLoX(), 10, 1e-12);

  // Along X only on a logarithmic axis: the Y range does not move.
  g.SetRangeLoX(1);
  g.SetRangeHiX(1000);
  g.SetLogScaleX(true);
  const double atPixel = g.PixelCentreToWorldX(300);
  const double loY = g.RangeLoY();
  g.SetRangesFromMouse(g.Panned(g.Ranges(), -64, 30, true, false));
  EXPECT_NEAR(g.PixelCentreToWorldX(300 - 64) / atPixel, 1, 1e-12);
  EXPECT_EQ(g.RangeLoY(), loY);
}

TEST(ChartGeometryMouse, ZoomAboutTheCentreAndRubberBand) {
  TChartGeometry g = Sized();
  g.SetRangeLoX(0);
  g.SetRangeHiX(10);
  g.SetRangeLoY(20);
  g.SetRangeHiY(40);
  const TChartRanges z = g.ZoomedAboutCentre(g.Ranges(), 0.5, 3);
  EXPECT_DOUBLE_EQ(z.loX, 2.5);
  EXPECT_DOUBLE_EQ(z.hiX, 7.5);
  EXPECT_DOUBLE_EQ(z.loY, 0);
  EXPECT_DOUBLE_EQ(z.hiY, 60);
  // A drag beyond the control would turn the axis over: the factor stays positive.
  const TChartRanges over = g.ZoomedAboutCentre(g.Ranges(), -2, 1);
  EXPECT_LT(over.loX, over.hiX);

  const TChartRanges band = g.PixelRectToRanges(300, 100, 100, 200);  // corners in any order
  EXPECT_DOUBLE_EQ(band.loX, g.PixelCentreToWorldX(100));
  EXPECT_DOUBLE_EQ(band.hiX, g.PixelCentreToWorldX(300));
  EXPECT_DOUBLE_EQ(band.loY, g.PixelCentreToWorldY(200));
  EXPECT_DOUBLE_EQ(band.hiY, g.PixelCentreToWorldY(100));
  // A reversed axis stays reversed.
  g.SetRangeLoX(10);
  g.SetRangeHiX(0);
  const TChartRanges reversed = g.PixelRectToRanges(100, 100, 300, 200);
  EXPECT_GT(reversed.loX, reversed.hiX);
  // A mouse zoom never goes below the minimum span.
  g.SetMinRangeX(1);
  g.SetRangesFromMouse({5, 5.2, 0, 1});
  EXPECT_DOUBLE_EQ(g.RangeHiX() - g.RangeLoX(), 1);
  EXPECT_DOUBLE_EQ(g.RangeLoX() + g.RangeHiX(), 10.2);
}

TEST(ChartGeometryClipping, SegmentsAreCutAtTheRectangle) {
  const TScreenRect r{0, 0, 10, 10};
  double x1 = -5, y1 = 5, x2 = 15, y2 = 5;
  ASSERT_TRUE(ClipSegment(x1, y1, x2, y2, r));
  EXPECT_DOUBLE_EQ(x1, 0);
  EXPECT_DOUBLE_EQ(x2, 10);
  x1 = -5, y1 = -5, x2 = 5, y2 = 5;  // diagonal entering at the corner
  ASSERT_TRUE(ClipSegment(x1, y1, x2, y2, r));
  EXPECT_DOUBLE_EQ(x1, 0);
  EXPECT_DOUBLE_EQ(y1, 0);
  EXPECT_DOUBLE_EQ(x2, 5);
  x1 = -5, y1 = 12, x2 = 15, y2 = 12;  // parallel, outside
  EXPECT_FALSE(ClipSegment(x1, y1, x2, y2, r));
  x1 = -5, y1 = 8, x2 = 8, y2 = 21;  // passes the corner outside
  EXPECT_FALSE(ClipSegment(x1, y1, x2, y2, r));
  x1 = 1e12, y1 = 5, x2 = -1e12, y2 = 5;  // huge coordinates from a deep zoom
  ASSERT_TRUE(ClipSegment(x1, y1, x2, y2, r));
  EXPECT_NEAR(x1, 10, 1e-3);
  EXPECT_NEAR(x2, 0, 1e-3);
}

double Area(const std::vector<TScreenPoint>& p) {
  double a = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const auto& u = p[i];
    const auto& v = p[(i + 1) % p.size()];
    a += u.x * v.y - v.x * u.y;
  }
  return std::abs(a) / 2;
}

TEST(ChartGeometryClipping, PolygonKeepsTheOverlap) {
  const TScreenRect r{0, 0, 10, 10};
  // A square from (5,5) to (25,25): the overlap is 5 x 5.
  EXPECT_NEAR(Area(ClipPolygon({{5, 5}, {25, 5}, {25, 25}, {5, 25}}, r)), 25, 1e-9);
  // A diamond around the rectangle's centre that pokes out on all four sides.
  const double cut = Area(ClipPolygon({{5, -3}, {13, 5}, {5, 13}, {-3, 5}}, r));
  EXPECT_NEAR(cut, 128 - 4 * 9, 1e-9);  // diamond area minus four corner triangles of 3 x 6 / 2
  EXPECT_TRUE(ClipPolygon({{20, 20}, {30, 20}, {30, 30}}, r).empty());
}

TEST(ChartTickFormat, AutomaticDecimalsDropTrailingZeros) {
  EXPECT_EQ(FormatTickValue(2.5, 0.5, -2, false), "2.5");
  EXPECT_EQ(FormatTickValue(3, 0.5, -2, false), "3");
  EXPECT_EQ(FormatTickValue(8000, 1000, -2, false), "8000");
  EXPECT_EQ(FormatTickValue(0.3, 0.1, -2, false), "0.3");
  EXPECT_EQ(FormatTickValue(-0.04, 0.02, -2, false), "-0.04");
  EXPECT_EQ(FormatTickValue(-1e-18, 0.1, -2, false), "0");  // never "-0"
  // Fixed decimals are a minimum: a fine step gets the decimals it needs.
  EXPECT_EQ(FormatTickValue(2, 0.5, 1, false), "2.0");
  EXPECT_EQ(FormatTickValue(2, 0.01, 1, false), "2.00");
  EXPECT_EQ(FormatTickValue(2, 10, 0, false), "2");
  // A desktop that writes decimal commas gets them on the axes too.
  const char separator = kolma::DecimalSeparator();
  kolma::SetDecimalSeparator(',');
  EXPECT_EQ(FormatTickValue(-0.04, 0.02, -2, false), "-0,04");
  EXPECT_EQ(FormatTickValue(2.5e-7, 1e-8, -2, true), "2,5e-7");
  kolma::SetDecimalSeparator(separator);
}

TEST(ChartTickFormat, ExponentNotationForVeryLargeAndVerySmallNumbers) {
  EXPECT_FALSE(AutoUsesExponent(8760, 1000));
  EXPECT_FALSE(AutoUsesExponent(1e6, 2e5));
  EXPECT_TRUE(AutoUsesExponent(3e9, 5e8));
  EXPECT_TRUE(AutoUsesExponent(1e-9, 2e-10));
  EXPECT_FALSE(AutoUsesExponent(0.05, 0.01));
  EXPECT_EQ(FormatTickValue(3e9, 5e8, -2, true), "3e9");
  EXPECT_EQ(FormatTickValue(3.5e9, 5e8, -2, true), "3.5e9");
  EXPECT_EQ(FormatTickValue(2e-10, 2e-10, -2, true), "2e-10");
  EXPECT_EQ(FormatTickValue(1.2e-9, 2e-10, -2, true), "1.2e-9");
  EXPECT_EQ(FormatTickValue(0, 2e-10, -2, true), "0");
}

// Pixel width of a label as the tests measure it: 7 px per character.
double SevenPerChar(const std::string& s) { return 7.0 * static_cast<double>(s.size()); }

bool IsRoundStep(double step) {
  const double decade = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  const double m = step / decade;
  return std::abs(m - 1) < 1e-9 || std::abs(m - 2) < 1e-9 || std::abs(m - 5) < 1e-9;
}

// Checks one tick set: round values, labels that read back as their values, distinct labels,
// and no two labels closer than their half widths plus a gap.
void CheckTicks(const TTickRequest& rq, const TTickSet& set, const std::string& what) {
  std::vector<const TTick*> majors;
  for (const TTick& t : set.ticks)
    if (t.major) majors.push_back(&t);
  const double lo = std::min(rq.lo, rq.hi), hi = std::max(rq.lo, rq.hi);
  if (!rq.log) {
    ASSERT_TRUE(IsRoundStep(set.step)) << what << " step " << set.step;
  }
  std::set<std::string> seen;
  for (size_t i = 0; i < majors.size(); ++i) {
    const TTick& t = *majors[i];
    const double slack = 1e-9 * (hi - lo) + 4e-16 * std::max(std::abs(lo), std::abs(hi));
    EXPECT_GE(t.value, lo - slack) << what;
    EXPECT_LE(t.value, hi + slack) << what;
    if (!rq.log) {
      const double k = t.value / set.step;
      EXPECT_NEAR(k, std::round(k), 1e-6 * std::max(1.0, std::abs(k))) << what;
    }
    EXPECT_NEAR(std::strtod(t.label.c_str(), nullptr), t.value,
                rq.log ? 1e-9 * t.value : 1e-6 * set.step + 1e-12 * std::abs(t.value))
        << what << " label " << t.label;
    EXPECT_TRUE(seen.insert(t.label).second) << what << " duplicate " << t.label;
    if (i > 0) {
      const TTick& p = *majors[i - 1];
      const double gap = std::abs(t.pos - p.pos);
      const double need = rq.horizontal
                              ? (SevenPerChar(t.label) + SevenPerChar(p.label)) / 2 + 6
                              : rq.labelHeight;
      EXPECT_GE(gap, need) << what << " labels " << p.label << " and " << t.label;
    }
  }
}

TEST(ChartTicks, RoundReadableNumbersAcrossASweepOfRanges) {
  int checked = 0;
  for (double span = 1e-9; span <= 1e9; span *= 7.3) {
    for (double offsetInSpans : {0.0, -0.5, -3.7, 12.25, -1000.0}) {
      for (double pixels : {90.0, 333.0, 1250.0}) {
        for (bool horizontal : {true, false}) {
          TTickRequest rq;
          rq.lo = offsetInSpans * span;
          rq.hi = rq.lo + span;
          if (checked % 3 == 0) std::swap(rq.lo, rq.hi);  // reversed axes too
          rq.pixelLength = pixels;
          rq.horizontal = horizontal;
          rq.labelHeight = 12;
          rq.labelWidth = SevenPerChar;
          rq.decimals = checked % 5 == 0 ? 1 : -2;
          rq.minTicks = 5;
          rq.minorTicks = true;
          const TTickSet set = ChooseTicks(rq);
          const std::string what = "span " + std::to_string(span) + " lo " + std::to_string(rq.lo) +
                                   " px " + std::to_string(pixels) + (horizontal ? " X" : " Y");
          CheckTicks(rq, set, what);
          size_t majors = 0;
          for (const TTick& t : set.ticks) majors += t.major;
          if (pixels >= 333) {
            EXPECT_GE(majors, 2u) << what;
          }
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 500);
}

TEST(ChartTicks, SpansNearTheMinimumStillGetNumbers) {
  for (double base : {0.0, 1.0, -250.0, 1000.0}) {
    TTickRequest rq;
    rq.lo = base;
    rq.hi = base + 1e-10;
    rq.pixelLength = 640;
    rq.labelWidth = SevenPerChar;
    const TTickSet set = ChooseTicks(rq);
    CheckTicks(rq, set, "near " + std::to_string(base));
    size_t majors = 0;
    for (const TTick& t : set.ticks) majors += t.major;
    EXPECT_GE(majors, 2u) << base;
  }
}

// A flat history far from zero, or a zoom down to the minimum span there: the short ticks
// would be counted beyond the integers a double can still step through.
TEST(ChartTicks, NarrowRangesFarFromZeroEndWithTheirShortTicks) {
  for (double base : {1e5, 2e5, -3e5, 1e6, 1e12, 1e15}) {
    for (bool horizontal : {true, false}) {
      TTickRequest rq;
      rq.lo = base - 1e-10 * std::max(1.0, std::abs(base) * 1e-6);
      rq.hi = base;
      rq.pixelLength = 372;
      rq.horizontal = horizontal;
      rq.labelWidth = SevenPerChar;
      rq.minTicks = 5;
      rq.minorTicks = true;
      const TTickSet set = ChooseTicks(rq);
      CheckTicks(rq, set, "far " + std::to_string(base));
    }
  }
}

TEST(ChartTicks, TypicalAxesOfTheProgram) {
  TTickRequest rq;
  rq.labelWidth = SevenPerChar;
  rq.minTicks = 5;
  // The section of a 10 m dam, 640 pixels wide: every metre.
  rq.lo = -1;
  rq.hi = 11;
  rq.pixelLength = 640;
  TTickSet set = ChooseTicks(rq);
  EXPECT_DOUBLE_EQ(set.step, 1);
  // A year of daily samples: thousands of hours.
  rq.lo = 24;
  rq.hi = 8760;
  set = ChooseTicks(rq);
  EXPECT_DOUBLE_EQ(set.step, 1000);
  const auto firstNumber = std::find_if(set.ticks.begin(), set.ticks.end(), [](const TTick& t) { return t.major; });
  ASSERT_NE(firstNumber, set.ticks.end());
  EXPECT_EQ(firstNumber->label, "1000");
  // A narrow axis still asked for five ticks gets as many as fit.
  rq.lo = 0;
  rq.hi = 5;
  rq.pixelLength = 120;
  set = ChooseTicks(rq);
  size_t majors = 0;
  for (const TTick& t : set.ticks) majors += t.major;
  EXPECT_GE(majors, 5u);
  CheckTicks(rq, set, "narrow");
}

TEST(ChartTicks, LogarithmicAxisUsesDecades) {
  TTickRequest rq;
  rq.labelWidth = SevenPerChar;
  rq.log = true;
  rq.lo = 2;
  rq.hi = 8760;
  rq.pixelLength = 600;
  rq.minorTicks = true;
  const TTickSet set = ChooseTicks(rq);
  CheckTicks(rq, set, "log");
  std::vector<double> majors;
  for (const TTick& t : set.ticks)
    if (t.major) majors.push_back(t.value);
  ASSERT_GE(majors.size(), 3u);
  for (double v : majors) {
    const double m = v / std::pow(10.0, std::floor(std::log10(v) + 1e-9));
    EXPECT_TRUE(std::abs(m - 1) < 1e-9 || std::abs(m - 2) < 1e-9 || std::abs(m - 5) < 1e-9) << v;
  }
  // Twenty decades in 200 pixels: every few decades only, still without overlap.
  rq.lo = 1e-10;
  rq.hi = 1e10;
  rq.pixelLength = 200;
  CheckTicks(rq, ChooseTicks(rq), "wide log");
}

}  // namespace
}  // namespace kolma::ui
