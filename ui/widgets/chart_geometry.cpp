#include "ui/widgets/chart_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/analysis/result_table.h"

namespace kolma::ui {

namespace {

bool Finite(double v) { return std::isfinite(v); }

// `v + push`, made sure to differ from v even where push is below the resolution of v.
double PushedAway(double v, double push) {
  double moved = v + push;
  if (moved == v) moved = v + (push >= 0 ? 1 : -1) * std::max(std::abs(v) * 1e-15, 1e-300);
  return moved;
}

}  // namespace

// ---- Ranges --------------------------------------------------------------------------------------

void TChartGeometry::SetRangeLoX(double v) {
  if (!Finite(v) || (logX_ && v < kLogFloor)) return;
  ranges_.loX = v;
  if (std::abs(ranges_.hiX - v) < minRangeX_) ranges_.hiX = PushedAway(v, minRangeX_);
  AfterXorLoYChange();
}

void TChartGeometry::SetRangeHiX(double v) {
  if (!Finite(v) || (logX_ && v < kLogFloor)) return;
  ranges_.hiX = v;
  if (std::abs(v - ranges_.loX) < minRangeX_) ranges_.loX = PushedAway(v, -minRangeX_);
  AfterXorLoYChange();
}

void TChartGeometry::SetRangeLoY(double v) {
  if (!Finite(v) || (logY_ && v < kLogFloor)) return;
  ranges_.loY = v;
  if (std::abs(ranges_.hiY - v) < minRangeY_) ranges_.hiY = PushedAway(v, minRangeY_);
  AfterXorLoYChange();
}

void TChartGeometry::SetRangeHiY(double v) {
  if (!Finite(v) || (logY_ && v < kLogFloor)) return;
  ranges_.hiY = v;
  if (std::abs(v - ranges_.loY) < minRangeY_) ranges_.loY = PushedAway(v, -minRangeY_);
}

void TChartGeometry::AfterXorLoYChange() {
  if (isometric_) ranges_.hiY = ranges_.loY + IsometricSpanY();
}

void TChartGeometry::SetRangesFromMouse(const TChartRanges& r) {
  auto accept = [](double& lo, double& hi, double newLo, double newHi, double minSpan, bool log) {
    if (!Finite(newLo) || !Finite(newHi)) return;
    if (std::abs(newHi - newLo) < minSpan) {
      const double centre = 0.5 * (newLo + newHi);
      const double dir = newHi >= newLo ? 1.0 : -1.0;
      newLo = centre - dir * 0.5 * minSpan;
      newHi = PushedAway(newLo, dir * minSpan);
    }
    if (log && (newLo < kLogFloor || newHi < kLogFloor)) return;
    lo = newLo;
    hi = newHi;
  };
  accept(ranges_.loX, ranges_.hiX, r.loX, r.hiX, minRangeX_, logX_);
  accept(ranges_.loY, ranges_.hiY, r.loY, r.hiY, minRangeY_, logY_);
  AfterXorLoYChange();
}

void TChartGeometry::SetMinRangeX(double v) {
  if (Finite(v) && v > 0) minRangeX_ = v;
}

void TChartGeometry::SetMinRangeY(double v) {
  if (Finite(v) && v > 0) minRangeY_ = v;
}

namespace {
void MakePositive(double& lo, double& hi) {
  if (lo >= TChartGeometry::kLogFloor && hi >= TChartGeometry::kLogFloor) return;
  const double top = std::max(lo, hi);
  double newHi = top >= TChartGeometry::kLogFloor ? top : 10.0;
  double newLo = newHi / 1000.0;
  if (newLo < TChartGeometry::kLogFloor) newLo = TChartGeometry::kLogFloor;
  if (lo > hi) std::swap(newLo, newHi);
  lo = newLo;
  hi = newHi;
}
}  // namespace

void TChartGeometry::SetLogScaleX(bool on) {
  logX_ = on;
  if (on) MakePositive(ranges_.loX, ranges_.hiX);
}

void TChartGeometry::SetLogScaleY(bool on) {
  logY_ = on;
  if (on) MakePositive(ranges_.loY, ranges_.hiY);
}

void TChartGeometry::SetIsometric(bool on) {
  isometric_ = on;
  AfterXorLoYChange();
}

void TChartGeometry::SetPixelAspect(double v) {
  if (Finite(v) && v > 0) pixelAspect_ = v;
}

double TChartGeometry::IsometricSpanY() const {
  return (ranges_.hiX - ranges_.loX) * (DataHeight() + 1.0) / (DataWidth() + 1.0) * pixelAspect_;
}

void TChartGeometry::RecentreIsometricY() {
  const double centre = 0.5 * (ranges_.loY + ranges_.hiY);
  const double span = IsometricSpanY();
  ranges_.loY = centre - 0.5 * span;
  ranges_.hiY = ranges_.loY + span;
}

// ---- Data window ---------------------------------------------------------------------------------

bool TChartGeometry::SetLayout(int widgetWidth, int widgetHeight, int left, int right, int top,
                               int bottom) {
  const int oldW = DataWidth(), oldH = DataHeight();
  widgetW_ = std::max(0, widgetWidth);
  widgetH_ = std::max(0, widgetHeight);
  left_ = std::max(0, left);
  right_ = std::max(0, right);
  top_ = std::max(0, top);
  bottom_ = std::max(0, bottom);
  return oldW != DataWidth() || oldH != DataHeight();
}

int TChartGeometry::DataWidth() const { return std::max(0, widgetW_ - left_ - right_ - 1); }
int TChartGeometry::DataHeight() const { return std::max(0, widgetH_ - top_ - bottom_ - 1); }

bool TChartGeometry::PixelInDataWindow(int px, int py) const {
  return px >= DataLeft() && px <= DataRight() && py >= DataTop() && py <= DataBottom();
}

// ---- Mapping -------------------------------------------------------------------------------------

double TChartGeometry::AxisValue(double v, bool log) const {
  return log ? std::log10(std::max(v, kLogFloor)) : v;
}

double TChartGeometry::AxisInverse(double t, bool log) const { return log ? std::pow(10.0, t) : t; }

double TChartGeometry::SpanT(double lo, double hi, bool log) const {
  const double tlo = AxisValue(lo, log);
  const double span = AxisValue(hi, log) - tlo;
  if (span != 0 && Finite(span)) return span;
  return std::max(std::abs(tlo) * 1e-15, 1e-300);
}

double TChartGeometry::ToScreenX(double x) const {
  const double t0 = AxisValue(ranges_.loX, logX_);
  return left_ + (AxisValue(x, logX_) - t0) / SpanT(ranges_.loX, ranges_.hiX, logX_) * (DataWidth() + 1.0);
}

double TChartGeometry::ToScreenY(double y) const {
  const double t1 = AxisValue(ranges_.hiY, logY_);
  return top_ + (t1 - AxisValue(y, logY_)) / SpanT(ranges_.loY, ranges_.hiY, logY_) * (DataHeight() + 1.0);
}

double TChartGeometry::ToWorldX(double sx) const {
  const double t0 = AxisValue(ranges_.loX, logX_);
  return AxisInverse(t0 + (sx - left_) / (DataWidth() + 1.0) * SpanT(ranges_.loX, ranges_.hiX, logX_), logX_);
}

double TChartGeometry::ToWorldY(double sy) const {
  const double t1 = AxisValue(ranges_.hiY, logY_);
  return AxisInverse(t1 - (sy - top_) / (DataHeight() + 1.0) * SpanT(ranges_.loY, ranges_.hiY, logY_), logY_);
}

namespace {
int FloorClamped(double s) {
  if (!(s > -1e9)) return -1000000000;  // also NaN
  if (s > 1e9) return 1000000000;
  return static_cast<int>(std::floor(s));
}
}  // namespace

// The far edge of a range (RangeHiX on the right, RangeLoY at the bottom) lies on the outer
// boundary of the last pixel; it belongs to that pixel so that the whole range is visible.
namespace {
int PixelOfScreen(double s, int lastPixel) {
  const int pixel = FloorClamped(s);
  return pixel == lastPixel + 1 && s - pixel < 1e-6 ? lastPixel : pixel;
}
}  // namespace

int TChartGeometry::ScreenToPixelX(double sx) const { return PixelOfScreen(sx, DataRight()); }
int TChartGeometry::ScreenToPixelY(double sy) const { return PixelOfScreen(sy, DataBottom()); }
int TChartGeometry::PixelX(double x) const { return ScreenToPixelX(ToScreenX(x)); }
int TChartGeometry::PixelY(double y) const { return ScreenToPixelY(ToScreenY(y)); }

// ---- Mouse actions -------------------------------------------------------------------------------

TChartRanges TChartGeometry::Panned(const TChartRanges& s, double dx, double dy, bool alongX,
                                    bool alongY) const {
  TChartRanges r = s;
  if (alongX) {
    const double shift = dx / (DataWidth() + 1.0) * SpanT(s.loX, s.hiX, logX_);
    r.loX = AxisInverse(AxisValue(s.loX, logX_) - shift, logX_);
    r.hiX = AxisInverse(AxisValue(s.hiX, logX_) - shift, logX_);
  }
  if (alongY) {
    const double shift = dy / (DataHeight() + 1.0) * SpanT(s.loY, s.hiY, logY_);
    r.loY = AxisInverse(AxisValue(s.loY, logY_) + shift, logY_);
    r.hiY = AxisInverse(AxisValue(s.hiY, logY_) + shift, logY_);
  }
  return r;
}

TChartRanges TChartGeometry::ZoomedAboutCentre(const TChartRanges& s, double fx, double fy) const {
  auto scale = [this](double lo, double hi, double f, bool log, double& outLo, double& outHi) {
    if (!(f >= 1e-3)) f = 1e-3;  // a drag past the far edge must not turn the axis over
    const double tlo = AxisValue(lo, log), thi = AxisValue(hi, log);
    const double centre = 0.5 * (tlo + thi), half = 0.5 * (thi - tlo) * f;
    outLo = AxisInverse(centre - half, log);
    outHi = AxisInverse(centre + half, log);
  };
  TChartRanges r;
  scale(s.loX, s.hiX, fx, logX_, r.loX, r.hiX);
  scale(s.loY, s.hiY, fy, logY_, r.loY, r.hiY);
  return r;
}

TChartRanges TChartGeometry::PixelRectToRanges(int x0, int y0, int x1, int y1) const {
  TChartRanges r;
  r.loX = PixelCentreToWorldX(std::min(x0, x1));
  r.hiX = PixelCentreToWorldX(std::max(x0, x1));
  r.loY = PixelCentreToWorldY(std::max(y0, y1));
  r.hiY = PixelCentreToWorldY(std::min(y0, y1));
  return r;
}

TChartRanges TChartGeometry::ZoomedAbout(const TChartRanges& s, double sx, double sy, double f) const {
  auto scale = [this, f](double lo, double hi, double fixed, bool log, double& outLo, double& outHi) {
    const double tlo = AxisValue(lo, log), thi = AxisValue(hi, log), c = AxisValue(fixed, log);
    outLo = AxisInverse(c + (tlo - c) * f, log);
    outHi = AxisInverse(c + (thi - c) * f, log);
  };
  TChartRanges r;
  scale(s.loX, s.hiX, ToWorldX(sx), logX_, r.loX, r.hiX);
  scale(s.loY, s.hiY, ToWorldY(sy), logY_, r.loY, r.hiY);
  return r;
}

TChartRanges TChartGeometry::Fitting(double minX, double maxX, double minY, double maxY) const {
  constexpr double kRoom = 0.05;  // of the span, on each side
  // Axis values of the box with room around it; returns the half span and the centre.
  auto fit = [this](double lo, double hi, bool log, double& centre, double& half) {
    const double tlo = AxisValue(lo, log), thi = AxisValue(hi, log);
    centre = 0.5 * (tlo + thi);
    half = 0.5 * (thi - tlo) * (1 + 2 * kRoom);
    if (!(half > 0)) half = centre != 0 ? std::abs(centre) * kRoom : 1.0;
  };
  double cx, hx, cy, hy;
  fit(minX, maxX, logX_, cx, hx);
  fit(minY, maxY, logY_, cy, hy);
  if (isometric_) {
    const double yPerX = (DataHeight() + 1.0) / (DataWidth() + 1.0) * pixelAspect_;
    hx = std::max(hx, hy / yPerX);
    hy = hx * yPerX;
  }
  auto ends = [this](double c, double h, bool log, bool reversed, double& lo, double& hi) {
    lo = AxisInverse(c - h, log);
    hi = AxisInverse(c + h, log);
    if (reversed) std::swap(lo, hi);
  };
  TChartRanges r;
  ends(cx, hx, logX_, ranges_.loX > ranges_.hiX, r.loX, r.hiX);
  ends(cy, hy, logY_, ranges_.loY > ranges_.hiY, r.loY, r.hiY);
  return r;
}

// ---- Clipping ------------------------------------------------------------------------------------

bool ClipSegment(double& x1, double& y1, double& x2, double& y2, const TScreenRect& r) {
  double t0 = 0, t1 = 1;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - r.left, r.right - x1, y1 - r.top, r.bottom - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
  }
  if (!(t0 <= t1)) return false;  // also NaN input
  const double ox = x1, oy = y1;
  if (t1 < 1) {
    x2 = ox + t1 * dx;
    y2 = oy + t1 * dy;
  }
  if (t0 > 0) {
    x1 = ox + t0 * dx;
    y1 = oy + t0 * dy;
  }
  return true;
}

std::vector<TScreenPoint> ClipPolygon(const std::vector<TScreenPoint>& polygon, const TScreenRect& r) {
  // One pass per rectangle side: keep the inside part of every edge.
  using Inside = std::function<bool(const TScreenPoint&)>;
  using Cross = std::function<TScreenPoint(const TScreenPoint&, const TScreenPoint&)>;
  auto atX = [](double x) {
    return [x](const TScreenPoint& a, const TScreenPoint& b) {
      const double t = (x - a.x) / (b.x - a.x);
      return TScreenPoint{x, a.y + t * (b.y - a.y)};
    };
  };
  auto atY = [](double y) {
    return [y](const TScreenPoint& a, const TScreenPoint& b) {
      const double t = (y - a.y) / (b.y - a.y);
      return TScreenPoint{a.x + t * (b.x - a.x), y};
    };
  };
  const std::pair<Inside, Cross> sides[4] = {
      {[&](const TScreenPoint& p) { return p.x >= r.left; }, atX(r.left)},
      {[&](const TScreenPoint& p) { return p.x <= r.right; }, atX(r.right)},
      {[&](const TScreenPoint& p) { return p.y >= r.top; }, atY(r.top)},
      {[&](const TScreenPoint& p) { return p.y <= r.bottom; }, atY(r.bottom)},
  };
  std::vector<TScreenPoint> current = polygon;
  for (const auto& [inside, cross] : sides) {
    if (current.empty()) break;
    std::vector<TScreenPoint> next;
    next.reserve(current.size() + 4);
    for (size_t i = 0; i < current.size(); ++i) {
      const TScreenPoint& a = current[i];
      const TScreenPoint& b = current[(i + 1) % current.size()];
      const bool ina = inside(a), inb = inside(b);
      if (ina) next.push_back(a);
      if (ina != inb) next.push_back(cross(a, b));
    }
    current = std::move(next);
  }
  return current;
}

// ---- Tick numbers --------------------------------------------------------------------------------

namespace {

int DecadeOf(double v) { return static_cast<int>(std::floor(std::log10(std::abs(v)) + 1e-9)); }

int StepDecimals(double step) { return std::max(0, -DecadeOf(step)); }

std::string Printf(const char* format, int precision, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, precision, value);
  return buffer;
}

void DropTrailingZeros(std::string& text) {
  const auto point = text.find('.');
  if (point == std::string::npos) return;
  size_t end = text.size();
  while (end > point + 1 && text[end - 1] == '0') --end;
  if (end == point + 1) --end;
  text.erase(end);
}

// "-0", "-0.00" -> without the sign.
void DropNegativeZero(std::string& text) {
  if (!text.empty() && text[0] == '-' &&
      text.find_first_not_of("0.", 1) == std::string::npos)
    text.erase(0, 1);
}

std::string ExponentText(double value, double step, int minDecimals) {
  if (value == 0) return "0";
  const int digits = std::max(minDecimals, DecadeOf(value) - DecadeOf(step));
  std::string text = Printf("%.*e", std::clamp(digits, 0, 17), value);
  const auto e = text.find('e');
  std::string mantissa = text.substr(0, e);
  std::string exponent = text.substr(e + 1);
  DropTrailingZeros(mantissa);
  // "e+07" -> "e7", "e-05" -> "e-5"
  std::string sign = exponent[0] == '-' ? "-" : "";
  exponent.erase(0, exponent.find_first_not_of("+-"));
  exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
  return mantissa + "e" + sign + exponent;
}

}  // namespace

bool AutoUsesExponent(double maxAbsValue, double step) {
  if (!(maxAbsValue > 0) || !(step > 0)) return false;
  const int valueDecade = DecadeOf(maxAbsValue), stepDecade = DecadeOf(step);
  const int decimals = std::max(0, -stepDecade);
  const int fixedLength = std::max(1, valueDecade + 1) + (decimals > 0 ? decimals + 1 : 0);
  const int mantissaDigits = std::max(0, valueDecade - stepDecade);
  const int exponentLength = valueDecade < 0 ? 1 + static_cast<int>(std::to_string(-valueDecade).size())
                                             : static_cast<int>(std::to_string(valueDecade).size());
  const int expLength = 1 + (mantissaDigits > 0 ? mantissaDigits + 1 : 0) + 1 + exponentLength;
  return fixedLength > 8 && expLength < fixedLength;
}

std::string FormatTickValue(double value, double step, int decimals, bool exponent) {
  const bool automatic = decimals < 0;
  std::string text;
  if (exponent) {
    text = ExponentText(value, step, 0);
  } else {
    const int places = std::min(20, std::max(automatic ? 0 : decimals, StepDecimals(step)));
    text = Printf("%.*f", places, value);
    if (automatic) DropTrailingZeros(text);
    DropNegativeZero(text);
  }
  // Axis numbers read like the grids' cells: with the desktop's decimal separator.
  std::replace(text.begin(), text.end(), '.', kolma::DecimalSeparator());
  return text;
}

// ---- Tick choice ---------------------------------------------------------------------------------

namespace {

struct TCandidate {
  std::vector<double> values;  // numbered ticks, ascending
  std::vector<double> minors;
  double step = 0;
  bool exponent = false;
  // How each numbered value is written: value's own decade as the step on log axes.
  bool perValueStep = false;
};

class TTickChooser {
 public:
  explicit TTickChooser(const TTickRequest& rq) : rq_(rq) {
    lo_ = std::min(rq.lo, rq.hi);
    hi_ = std::max(rq.lo, rq.hi);
    tlo_ = T(rq.lo);
    tspan_ = T(rq.hi) - tlo_;
  }

  bool Usable() const {
    return Finite(rq_.lo) && Finite(rq_.hi) && hi_ > lo_ && tspan_ != 0 && Finite(tspan_) &&
           rq_.pixelLength >= 1 && (!rq_.log || lo_ > 0);
  }

  double Pos(double v) const { return (T(v) - tlo_) / tspan_ * rq_.pixelLength; }

  // Candidate tick sets from the densest to the sparsest.
  std::vector<TCandidate> Candidates() const {
    std::vector<TCandidate> list;
    if (rq_.log && std::abs(tspan_) >= 1) {
      LogCandidates(list);
    } else {
      LinearCandidates(list);
    }
    return list;
  }

  std::vector<std::string> Labels(const TCandidate& c) const {
    std::vector<std::string> labels;
    labels.reserve(c.values.size());
    for (double v : c.values) {
      if (c.perValueStep) {
        const int decade = v > 0 ? DecadeOf(v) : 0;
        const bool exponent = rq_.decimals < 0 && (decade >= 6 || decade <= -5);
        labels.push_back(FormatTickValue(v, std::pow(10.0, decade), rq_.decimals, exponent));
      } else {
        labels.push_back(FormatTickValue(v, c.step, rq_.decimals, c.exponent));
      }
    }
    return labels;
  }

  // Pixel spacing of neighbouring numbered ticks: the smallest one.
  double MinSpacing(const TCandidate& c) const {
    double spacing = rq_.pixelLength;
    for (size_t i = 1; i < c.values.size(); ++i)
      spacing = std::min(spacing, std::abs(Pos(c.values[i]) - Pos(c.values[i - 1])));
    return spacing;
  }

  bool Fits(const TCandidate& c, const std::vector<std::string>& labels) const {
    for (size_t i = 1; i < c.values.size(); ++i) {
      if (labels[i] == labels[i - 1]) return false;
      const double gap = std::abs(Pos(c.values[i]) - Pos(c.values[i - 1]));
      const double needed = rq_.horizontal
                                ? 0.5 * (Width(labels[i]) + Width(labels[i - 1])) + HorizontalGap()
                                : 1.25 * rq_.labelHeight;
      if (gap < needed) return false;
    }
    return true;
  }

  double AiryWidth(const std::vector<std::string>& labels) const {
    if (!rq_.horizontal) return std::max(2.5 * rq_.labelHeight, 30.0);
    double widest = 0;
    for (const auto& l : labels) widest = std::max(widest, Width(l));
    return widest + std::max(2.5 * HorizontalGap(), 24.0);
  }

  // Cheap upper bound on the number of readable numbers.
  size_t MaxCount() const {
    const double pitch = rq_.horizontal ? 8.0 : std::max(1.0, rq_.labelHeight);
    return static_cast<size_t>(rq_.pixelLength / pitch) + 2;
  }

  TCandidate LinearCandidate(double step, double mantissa) const {
    TCandidate c;
    c.step = step;
    const double kFirst = std::ceil(lo_ / step - 1e-9), kLast = std::floor(hi_ / step + 1e-9);
    if (!(kLast - kFirst < 1e6) || std::abs(kFirst) > 4e15 || std::abs(kLast) > 4e15) {
      c.values.assign(MaxCount() + 1, 0.0);  // unusable: too many or beyond double resolution
      return c;
    }
    for (double k = kFirst; k <= kLast; ++k) c.values.push_back(k * step);
    double maxAbs = 0;
    for (double v : c.values) maxAbs = std::max(maxAbs, std::abs(v));
    c.exponent = rq_.decimals < 0 && AutoUsesExponent(maxAbs, step);
    if (rq_.minorTicks) {
      const double minor = step / (mantissa == 2 ? 4 : 5);
      const double m0 = std::ceil(lo_ / minor - 1e-9), m1 = std::floor(hi_ / minor + 1e-9);
      // Beyond 4e15 a double no longer counts in steps of one: ++k would stand still.
      if (m1 - m0 < rq_.pixelLength / 3 && std::abs(m0) <= 4e15 && std::abs(m1) <= 4e15) {
        for (double k = m0; k <= m1; ++k) {
          const double v = k * minor, ratio = v / step;
          if (std::abs(ratio - std::round(ratio)) > 1e-6) c.minors.push_back(v);
        }
      }
    }
    return c;
  }

  void LinearCandidates(std::vector<TCandidate>& list) const {
    const double span = hi_ - lo_;
    const double stepMin = span / std::max(1.0, rq_.pixelLength / 2);
    int decade = DecadeOf(stepMin) - 1;
    const double mantissas[3] = {1, 2, 5};
    for (int guard = 0; guard < 80; ++guard, ++decade) {
      for (double m : mantissas) {
        const double step = m * std::pow(10.0, decade);
        if (step < stepMin) continue;
        if (step > span * 10) return;
        list.push_back(LinearCandidate(step, m));
      }
    }
  }

  void LogCandidates(std::vector<TCandidate>& list) const {
    const int d0 = static_cast<int>(std::floor(T(lo_) - 1e-9)), d1 = static_cast<int>(std::ceil(T(hi_) + 1e-9));
    auto inRange = [&](double v) { return v >= lo_ * (1 - 1e-12) && v <= hi_ * (1 + 1e-12); };
    // 1, 2 and 5 in every decade, the rest as short ticks.
    {
      TCandidate c;
      c.perValueStep = true;
      c.step = 1;
      for (int d = d0; d <= d1; ++d) {
        for (int m = 1; m <= 9; ++m) {
          const double v = m * std::pow(10.0, d);
          if (!inRange(v)) continue;
          (m == 1 || m == 2 || m == 5 ? c.values : c.minors).push_back(v);
        }
      }
      if (!rq_.minorTicks) c.minors.clear();
      list.push_back(c);
    }
    // Every k-th decade, k = 1, 2, 5, 10, ...
    const int decades = d1 - d0;
    for (int k : {1, 2, 5, 10, 20, 50, 100, 200, 500}) {
      if (k > 2 * decades + 2) break;
      TCandidate c;
      c.perValueStep = true;
      c.step = k;
      for (int d = d0; d <= d1; ++d) {
        const double decadeValue = std::pow(10.0, d);
        const bool numbered = (d % k) == 0;
        if (inRange(decadeValue)) (numbered ? c.values : c.minors).push_back(decadeValue);
        if (k == 1) {
          for (int m = 2; m <= 9; ++m)
            if (inRange(m * decadeValue)) c.minors.push_back(m * decadeValue);
        }
      }
      if (!rq_.minorTicks) c.minors.clear();
      std::sort(c.minors.begin(), c.minors.end());
      list.push_back(c);
    }
  }

  // Minor ticks are dropped where they would crowd into a smear.
  std::vector<double> ReadableMinors(const TCandidate& c) const {
    std::vector<double> all = c.values;
    all.insert(all.end(), c.minors.begin(), c.minors.end());
    std::sort(all.begin(), all.end());
    double spacing = rq_.pixelLength;
    for (size_t i = 1; i < all.size(); ++i) spacing = std::min(spacing, std::abs(Pos(all[i]) - Pos(all[i - 1])));
    return spacing >= 3 ? c.minors : std::vector<double>{};
  }

 private:
  double T(double v) const { return rq_.log ? std::log10(std::max(v, TChartGeometry::kLogFloor)) : v; }
  double Width(const std::string& s) const {
    return rq_.labelWidth ? rq_.labelWidth(s) : 0.6 * rq_.labelHeight * static_cast<double>(s.size());
  }
  double HorizontalGap() const { return std::max(6.0, 0.75 * rq_.labelHeight); }

  const TTickRequest& rq_;
  double lo_, hi_, tlo_, tspan_;
};

}  // namespace

TTickSet ChooseTicks(const TTickRequest& rq) {
  TTickSet result;
  TTickChooser chooser(rq);
  if (!chooser.Usable()) return result;

  struct TScored {
    TCandidate candidate;
    std::vector<std::string> labels;
  };
  std::vector<TScored> fitting;  // densest first
  int chosen = -1;

  // A step that squares the grid with the other axis wins if its numbers fit.
  if (rq.forcedStep > 0 && !rq.log) {
    const double decade = std::pow(10.0, DecadeOf(rq.forcedStep));
    TCandidate c = chooser.LinearCandidate(rq.forcedStep, std::round(rq.forcedStep / decade));
    if (c.values.size() <= chooser.MaxCount()) {
      auto labels = chooser.Labels(c);
      if (chooser.Fits(c, labels)) {
        fitting.push_back({std::move(c), std::move(labels)});
        chosen = 0;
      }
    }
  }

  if (chosen < 0) {
    for (auto& c : chooser.Candidates()) {
      if (c.values.size() > chooser.MaxCount()) continue;
      auto labels = chooser.Labels(c);
      if (!chooser.Fits(c, labels)) continue;
      const bool airy = chooser.MinSpacing(c) >= chooser.AiryWidth(labels);
      fitting.push_back({std::move(c), std::move(labels)});
      if (airy) {
        chosen = static_cast<int>(fitting.size()) - 1;
        break;
      }
    }
    if (fitting.empty()) return result;
    if (chosen < 0) chosen = static_cast<int>(fitting.size()) - 1;
    // Too few numbers: go denser as long as they still fit.
    if (static_cast<int>(fitting[chosen].candidate.values.size()) < rq.minTicks) {
      int best = chosen;
      for (int i = chosen - 1; i >= 0; --i) {
        if (fitting[i].candidate.values.size() > fitting[best].candidate.values.size()) best = i;
        if (static_cast<int>(fitting[i].candidate.values.size()) >= rq.minTicks) break;
      }
      chosen = best;
    }
  }

  const TScored& pick = fitting[chosen];
  result.step = pick.candidate.step;
  for (size_t i = 0; i < pick.candidate.values.size(); ++i)
    result.ticks.push_back({pick.candidate.values[i], chooser.Pos(pick.candidate.values[i]), true, pick.labels[i]});
  for (double v : chooser.ReadableMinors(pick.candidate)) result.ticks.push_back({v, chooser.Pos(v), false, {}});
  std::sort(result.ticks.begin(), result.ticks.end(),
            [](const TTick& a, const TTick& b) { return a.value < b.value; });
  return result;
}

}  // namespace kolma::ui
