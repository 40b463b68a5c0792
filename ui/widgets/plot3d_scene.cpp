#include "ui/widgets/plot3d_scene.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ui/widgets/chart_geometry.h"

namespace kolma::ui {
namespace {

// The viewpoint's distance from the box centre, in half-diagonals of the box: far enough for
// a mild perspective, near enough that depth still reads.
constexpr double kViewDistance = 4.0;
// Share of the smaller side of the control that one unit of the box spans at magnification 1.
constexpr double kUnitShare = 0.5;
constexpr int kFontHeight = 11;
constexpr int kTickLength = 4;
constexpr int kLabelGap = 7;
// Bands of the shaded back walls, from the floor colour up to the top colour.
constexpr int kWallBands = 8;

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

TColor Blend(TColor a, TColor b, double t) {
  auto channel = [t](std::uint8_t x, std::uint8_t y) {
    return static_cast<std::uint8_t>(std::lround(x + (static_cast<double>(y) - x) * t));
  };
  return {channel(a.red, b.red), channel(a.green, b.green), channel(a.blue, b.blue)};
}

TPoint Pixel(double x, double y) {
  // Far-away points stay representable; the canvas clips them.
  auto round = [](double v) { return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6))); };
  return {round(x), round(y)};
}

TPoint Pixel(const TProjected& p) { return Pixel(p.x, p.y); }

double TextWidth(const std::string& text) { return 0.6 * kFontHeight * static_cast<double>(text.size()); }

}  // namespace

TPlot3DScene::TPlot3DScene(const TPlot3DSettings& settings, const TMatrix& grid, int width, int height)
    : s_(settings), grid_(grid), width_(std::max(width, 1)), height_(std::max(height, 1)) {
  cosTurn_ = std::cos(Radians(s_.viewAngleZ));
  sinTurn_ = std::sin(Radians(s_.viewAngleZ));
  cosTilt_ = std::cos(Radians(s_.viewAngleX));
  sinTilt_ = std::sin(Radians(s_.viewAngleX));
  pixelsPerUnit_ = kUnitShare * std::min(width_, height_) * s_.magnification;
  double diagonal = 0;
  for (const TPlot3DAxis& a : s_.axes) diagonal += a.scaleFact * a.scaleFact;
  eyeDistance_ = kViewDistance * 0.5 * std::sqrt(diagonal);
  eye_ = {eyeDistance_ * sinTilt_ * cosTurn_, eyeDistance_ * sinTilt_ * sinTurn_, eyeDistance_ * cosTilt_};
}

double TPlot3DScene::Normalised(int axis, double value) const {
  const TPlot3DAxis& a = s_.axes[static_cast<std::size_t>(axis)];
  const double span = a.high - a.low;
  const double t = span != 0 ? (value - a.low) / span : value - a.low + 0.5;
  return (t - 0.5) * a.scaleFact;
}

TProjected TPlot3DScene::ProjectNormalised(double u, double v, double w) const {
  const double toward = u * cosTurn_ + v * sinTurn_;  // horizontal distance toward the viewer
  const double right = -u * sinTurn_ + v * cosTurn_;
  const double depth = toward * sinTilt_ + w * cosTilt_;
  const double up = -toward * cosTilt_ + w * sinTilt_;
  const double f = pixelsPerUnit_ * eyeDistance_ / std::max(eyeDistance_ - depth, 1e-6 * eyeDistance_);
  return {s_.centX + f * right, s_.centY - f * up, depth};
}

TProjected TPlot3DScene::Project(double x, double y, double z) const {
  return ProjectNormalised(Normalised(0, x), Normalised(1, y), Normalised(2, z));
}

TProjected TPlot3DScene::Corner(int i) const {
  const auto end = [this, i](int axis) {
    const TPlot3DAxis& a = s_.axes[static_cast<std::size_t>(axis)];
    return (i >> axis) & 1 ? a.high : a.low;
  };
  return Project(end(0), end(1), end(2));
}

double TPlot3DScene::EyeDistanceSquared(double u, double v, double w) const {
  return (eye_[0] - u) * (eye_[0] - u) + (eye_[1] - v) * (eye_[1] - v) + (eye_[2] - w) * (eye_[2] - w);
}

bool TPlot3DScene::FacesViewer(int axis, bool highSide) const {
  const double half = 0.5 * s_.axes[static_cast<std::size_t>(axis)].scaleFact;
  const double eye = eye_[static_cast<std::size_t>(axis)];
  return highSide ? eye > half : eye < -half;
}

std::vector<TCellIndex> TPlot3DScene::CellsFarToNear() const {
  const int columns = grid_.NrOfColumns();
  const int rows = grid_.NrOfRows();
  std::vector<TCellIndex> cells;
  if (columns < 2 || rows < 2) return cells;
  struct TKeyed {
    double distance;
    TCellIndex cell;
  };
  std::vector<TKeyed> keyed;
  keyed.reserve(static_cast<std::size_t>(columns - 1) * static_cast<std::size_t>(rows - 1));
  const TPlot3DAxis& ax = s_.axes[0];
  const TPlot3DAxis& ay = s_.axes[1];
  for (int r = 1; r < rows; ++r) {
    const double v = Normalised(1, ay.low + (r - 0.5) / (rows - 1) * (ay.high - ay.low));
    for (int c = 1; c < columns; ++c) {
      const double u = Normalised(0, ax.low + (c - 0.5) / (columns - 1) * (ax.high - ax.low));
      const double mean = 0.25 * (grid_.Element(c, r) + grid_.Element(c + 1, r) + grid_.Element(c, r + 1) +
                                  grid_.Element(c + 1, r + 1));
      keyed.push_back({EyeDistanceSquared(u, v, Normalised(2, mean)), {c, r}});
    }
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const TKeyed& a, const TKeyed& b) { return a.distance > b.distance; });
  cells.reserve(keyed.size());
  for (const TKeyed& k : keyed) cells.push_back(k.cell);
  return cells;
}

TColor TPlot3DScene::HeightColor(double z) const {
  const double span = s_.colorScaleHigh - s_.colorScaleLow;
  double t = span != 0 ? (z - s_.colorScaleLow) / span : 0.5;
  if (!(t >= 0)) t = 0;  // also a height that is not a number
  t = std::min(t, 1.0);
  if (s_.colorCodingMode == TColorCodingMode::ccmTwoColors) return Blend(s_.colorLow, s_.colorHigh, t);
  return t < 0.5 ? Blend(s_.colorLow, s_.colorMid, 2 * t) : Blend(s_.colorMid, s_.colorHigh, 2 * t - 1);
}

TColor TPlot3DScene::CellColor(TCellIndex cell) const {
  const int c = cell.column, r = cell.row;
  if (!s_.colorCodeAvg) return HeightColor(grid_.Element(c, r));
  return HeightColor(0.25 * (grid_.Element(c, r) + grid_.Element(c + 1, r) + grid_.Element(c, r + 1) +
                             grid_.Element(c + 1, r + 1)));
}

int TPlot3DScene::AxisEdgeStart(int axis) const {
  // X and Y are read along the floor edge on the viewer's side; Z along the vertical edge at
  // the left of the outline.
  if (axis < 2) {
    const int other = 1 - axis;
    return FacesViewer(other, true) ? 1 << other : 0;
  }
  int best = -1;
  double bestX = 0;
  for (int corner = 0; corner < 4; ++corner) {
    const bool highX = corner & 1, highY = corner & 2;
    const bool outline = FacesViewer(0, highX) != FacesViewer(1, highY);
    const double x = Corner(corner).x;
    if (outline && (best < 0 || x < bestX)) {
      best = corner;
      bestX = x;
    }
  }
  return best < 0 ? 0 : best;
}

std::vector<TPlot3DScene::TAxisTick> TPlot3DScene::AxisTicks(int axis) const {
  std::vector<TAxisTick> result;
  const TPlot3DAxis& a = s_.axes[static_cast<std::size_t>(axis)];
  if (!a.visible || a.high == a.low) return result;
  const int start = AxisEdgeStart(axis);
  const TProjected p0 = Corner(start), p1 = Corner(start | 1 << axis);
  TTickRequest request;
  request.lo = a.low;
  request.hi = a.high;
  request.pixelLength = std::hypot(p1.x - p0.x, p1.y - p0.y);
  request.horizontal = std::abs(p1.x - p0.x) >= std::abs(p1.y - p0.y);
  request.labelHeight = kFontHeight;
  request.labelWidth = TextWidth;
  request.decimals = std::max(a.decPlace, 0);
  request.minTicks = a.minTick;
  for (const TTick& tick : ChooseTicks(request).ticks)
    if (tick.major) result.push_back({tick.value, tick.label});
  return result;
}

void TPlot3DScene::PaintBackFaces(TCanvas& canvas) const {
  // The floor (or, seen from below, the ceiling) in one colour, the back walls shaded from
  // the floor colour at the bottom to the top colour.
  const bool floorBack = !FacesViewer(2, false);
  const int zSide = floorBack ? 0 : 4;
  const TColor flat = floorBack ? s_.colorCubeFaceLow : s_.colorCubeFaceHigh;
  canvas.SetPen(TPen{flat});
  canvas.SetBrush(TBrush{flat});
  const TPoint base[] = {Pixel(Corner(zSide)), Pixel(Corner(zSide | 1)), Pixel(Corner(zSide | 3)),
                         Pixel(Corner(zSide | 2))};
  canvas.Polygon(base);
  const TPlot3DAxis& az = s_.axes[2];
  for (int axis = 0; axis < 2; ++axis) {
    for (bool high : {false, true}) {
      if (FacesViewer(axis, high)) continue;
      const TPlot3DAxis& across = s_.axes[static_cast<std::size_t>(axis)];
      const TPlot3DAxis& along = s_.axes[static_cast<std::size_t>(1 - axis)];
      const double wall = high ? across.high : across.low;
      for (int band = 0; band < kWallBands; ++band) {
        const double z0 = az.low + (az.high - az.low) * band / kWallBands;
        const double z1 = az.low + (az.high - az.low) * (band + 1) / kWallBands;
        const TColor color = Blend(s_.colorCubeFaceLow, s_.colorCubeFaceHigh, (band + 0.5) / kWallBands);
        auto at = [&](double t, double z) {
          const double a = along.low + t * (along.high - along.low);
          return Pixel(axis == 0 ? Project(wall, a, z) : Project(a, wall, z));
        };
        canvas.SetPen(TPen{color});
        canvas.SetBrush(TBrush{color});
        const TPoint quad[] = {at(0, z0), at(1, z0), at(1, z1), at(0, z1)};
        canvas.Polygon(quad);
      }
    }
  }
}

void TPlot3DScene::PaintEdges(TCanvas& canvas, bool front) const {
  // An edge lies between the faces of the two other axes on its corners' sides. Both faces
  // turned away: hidden behind the surface. Both turned to the viewer: in front of it. One
  // of each: on the outline.
  for (int corner = 0; corner < 8; ++corner) {
    for (int axis = 0; axis < 3; ++axis) {
      if (corner >> axis & 1) continue;
      const int a1 = (axis + 1) % 3, a2 = (axis + 2) % 3;
      const int facing = FacesViewer(a1, corner >> a1 & 1) + FacesViewer(a2, corner >> a2 & 1);
      if (front != (facing == 2)) continue;
      canvas.SetPen(TPen{facing == 0 ? s_.colorCubeHidLin : s_.colorCubeFrame});
      canvas.MoveTo(Pixel(Corner(corner)));
      canvas.LineTo(Pixel(Corner(corner | 1 << axis)));
    }
  }
}

void TPlot3DScene::PaintSurface(TCanvas& canvas, bool sealCells) const {
  const int columns = grid_.NrOfColumns();
  const int rows = grid_.NrOfRows();
  if (columns < 2 || rows < 2) return;
  std::vector<TPoint> points(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
  std::vector<bool> finite(points.size());
  const TPlot3DAxis& ax = s_.axes[0];
  const TPlot3DAxis& ay = s_.axes[1];
  for (int r = 1; r <= rows; ++r) {
    const double v = Normalised(1, ay.low + (r - 1.0) / (rows - 1) * (ay.high - ay.low));
    for (int c = 1; c <= columns; ++c) {
      const double u = Normalised(0, ax.low + (c - 1.0) / (columns - 1) * (ax.high - ax.low));
      const double z = grid_.Element(c, r);
      const std::size_t i = static_cast<std::size_t>(r - 1) * columns + (c - 1);
      finite[i] = std::isfinite(z);
      points[i] = Pixel(ProjectNormalised(u, v, finite[i] ? Normalised(2, z) : 0));
    }
  }
  for (const TCellIndex& cell : CellsFarToNear()) {
    const std::size_t i = static_cast<std::size_t>(cell.row - 1) * columns + (cell.column - 1);
    const std::size_t corners[] = {i, i + 1, i + 1 + columns, i + columns};
    if (!(finite[corners[0]] && finite[corners[1]] && finite[corners[2]] && finite[corners[3]])) continue;
    const TColor color = CellColor(cell);
    const TPenStyle outline = sealCells ? TPenStyle::Solid : TPenStyle::None;
    canvas.SetPen(s_.meshVisible ? TPen{s_.colorMesh} : TPen{color, 1, outline});
    canvas.SetBrush(TBrush{color});
    const TPoint quad[] = {points[corners[0]], points[corners[1]], points[corners[2]], points[corners[3]]};
    canvas.Polygon(quad);
  }
}

void TPlot3DScene::PaintAxis(TCanvas& canvas, int axis) const {
  const std::vector<TAxisTick> ticks = AxisTicks(axis);
  if (ticks.empty()) return;
  const TPlot3DAxis& a = s_.axes[static_cast<std::size_t>(axis)];
  const int start = AxisEdgeStart(axis);
  const TProjected p0 = Corner(start), p1 = Corner(start | 1 << axis);
  // Ticks and numbers point away from the box, square to the edge on the screen.
  double nx = -(p1.y - p0.y), ny = p1.x - p0.x;
  const double length = std::hypot(nx, ny);
  if (length < 1) return;
  nx /= length;
  ny /= length;
  const TProjected centre = ProjectNormalised(0, 0, 0);
  if (nx * (0.5 * (p0.x + p1.x) - centre.x) + ny * (0.5 * (p0.y + p1.y) - centre.y) < 0) {
    nx = -nx;
    ny = -ny;
  }
  TTextAlign align;
  align.horizontal = nx > 0.4    ? THorizontalAlign::Left
                     : nx < -0.4 ? THorizontalAlign::Right
                                 : THorizontalAlign::Center;
  align.vertical = ny > 0.4 ? TVerticalAlign::Top : ny < -0.4 ? TVerticalAlign::Bottom : TVerticalAlign::Baseline;
  const double baselineShift = align.vertical == TVerticalAlign::Baseline ? 0.4 * kFontHeight : 0;
  canvas.SetPen(TPen{a.color});
  canvas.SetFont(TFont{"Arial", kFontHeight, false, a.color});
  for (const TAxisTick& tick : ticks) {
    const double t = (tick.value - a.low) / (a.high - a.low);
    const double x = p0.x + t * (p1.x - p0.x), y = p0.y + t * (p1.y - p0.y);
    canvas.MoveTo(Pixel(x, y));
    canvas.LineTo(Pixel(x + kTickLength * nx, y + kTickLength * ny));
    canvas.Text(Pixel(x + kLabelGap * nx, y + kLabelGap * ny + baselineShift), tick.label, align);
  }
  const std::string& title = s_.axisTitles[static_cast<std::size_t>(axis)];
  if (title.empty()) return;
  canvas.SetFont(TFont{"Arial", kFontHeight, true, a.color});
  if (axis == 2) {
    // The vertical axis: its title over its upper end, where the numbers leave room.
    const TProjected top = p0.y < p1.y ? p0 : p1;
    const double half = 0.5 * TextWidth(title);
    const double x = std::clamp(top.x, half + 2, std::max(half + 2, width_ - half - 2));
    canvas.Text(Pixel(x, top.y - kLabelGap), title, {THorizontalAlign::Center, TVerticalAlign::Bottom});
    return;
  }
  // The title at the middle of the edge, beyond the widest number in the same direction.
  double widest = 0;
  for (const TAxisTick& tick : ticks) widest = std::max(widest, TextWidth(tick.label));
  const double gap = kLabelGap + std::abs(nx) * widest + std::abs(ny) * kFontHeight + kFontHeight;
  canvas.Text(Pixel(0.5 * (p0.x + p1.x) + gap * nx, 0.5 * (p0.y + p1.y) + gap * ny + baselineShift), title, align);
}

void TPlot3DScene::Paint(TCanvas& canvas, bool sealCells) const {
  canvas.SetPen(TPen{s_.colorBakGnd});
  canvas.SetBrush(TBrush{s_.colorBakGnd});
  canvas.Rectangle(0, 0, width_ - 1, height_ - 1);
  const bool box = s_.boundBoxStyle != TBoundBoxStyle::bbNone;
  if (s_.boundBoxStyle == TBoundBoxStyle::bbFaces) PaintBackFaces(canvas);
  if (box) PaintEdges(canvas, false);
  PaintSurface(canvas, sealCells);
  if (box) PaintEdges(canvas, true);
  for (int axis = 0; axis < 3; ++axis) PaintAxis(canvas, axis);
  if (!s_.emptyText.empty()) {
    canvas.SetFont(TFont{"Arial", 13, true, TColor{}});
    canvas.Text({width_ / 2, height_ / 2}, s_.emptyText, {THorizontalAlign::Center, TVerticalAlign::Baseline});
  }
}

}  // namespace kolma::ui
