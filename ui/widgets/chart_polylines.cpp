#include "ui/widgets/chart_polylines.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kolma::ui {

bool ContinuesPolyline(const TChartItem& a, const TChartItem& b) {
  return b.kind == ChartItemKind::Line && b.fromPen && b.x1 == a.x2 && b.y1 == a.y2 && b.color == a.color &&
         b.penStyle == a.penStyle && b.lineWidth == a.lineWidth;
}

namespace {

// ContinuesPolyline, with the pen compared to the run's first line (the same, as every line of
// the run has its pen) and the colours compared as bytes first: equal bytes are equal colours,
// and a call per line is what a million lines cannot afford.
bool Continues(const TChartItem& previous, const TChartItem& next, const TChartItem& style) {
  if (next.kind != ChartItemKind::Line || !next.fromPen || next.x1 != previous.x2 || next.y1 != previous.y2 ||
      next.penStyle != style.penStyle || next.lineWidth != style.lineWidth)
    return false;
  return std::memcmp(&next.color, &style.color, sizeof(QColor)) == 0 || next.color == style.color;
}

}  // namespace

void TPolylineCache::Clear() {
  runs_.clear();
  open_ = published_ = false;
  x_.clear();
  y_.clear();
  blockLow_.clear();
  blockHigh_.clear();
  itemCount_ = 0;
  valid_ = true;
}

void TPolylineCache::Appended(const std::vector<TChartItem>& items) {
  if (!valid_ || itemCount_ + 1 != items.size()) {
    valid_ = false;
    return;
  }
  Extend(items, itemCount_);
  ++itemCount_;
}

const std::vector<TPolylineRun>& TPolylineCache::Runs(const std::vector<TChartItem>& items) {
  if (!valid_ || itemCount_ != items.size()) {
    Clear();
    // Room for every vertex: the pages not written are never touched, and the vertices are not
    // copied again and again as they grow.
    x_.reserve(items.size() + 1);
    y_.reserve(items.size() + 1);
    for (; itemCount_ < items.size(); ++itemCount_) Extend(items, itemCount_);
  }
  Publish();
  return runs_;
}

void TPolylineCache::Extend(const std::vector<TChartItem>& items, size_t index) {
  const TChartItem& item = items[index];
  if (open_ && item.kind == ChartItemKind::Line && Continues(items[index - 1], item, items[runs_.back().first])) {
    Unpublish();
    Add(item.x2, item.y2);
    runs_.back().end = index + 1;
    return;
  }
  Close();
  if (item.kind != ChartItemKind::Line) return;
  TPolylineRun run;
  run.first = index;
  run.end = index + 1;
  runs_.push_back(std::move(run));
  open_ = true;
  finite_ = true;
  rises_ = falls_ = false;
  Add(item.x1, item.y1);
  Add(item.x2, item.y2);
}

void TPolylineCache::Add(double x, double y) {
  if (!x_.empty()) {
    rises_ = rises_ || x > x_.back();
    falls_ = falls_ || x < x_.back();
  }
  finite_ = finite_ && std::isfinite(x) && std::isfinite(y);
  if (x_.size() % TPolylineRun::kBlock == 0) {
    blockLow_.push_back(y);
    blockHigh_.push_back(y);
  } else {
    blockLow_.back() = std::min(blockLow_.back(), y);
    blockHigh_.back() = std::max(blockHigh_.back(), y);
  }
  x_.push_back(x);
  y_.push_back(y);
}

// Hands the open run's vertices over in the run when it is long, ordered and finite.
void TPolylineCache::Publish() {
  if (!open_ || published_) return;
  TPolylineRun& run = runs_.back();
  if (run.end - run.first < TPolylineRun::kLongRun || !finite_ || (rises_ && falls_) || x_.size() > UINT32_MAX)
    return;
  run.xOrder = falls_ ? -1 : 1;
  run.x = std::move(x_);
  run.y = std::move(y_);
  run.blockLow = std::move(blockLow_);
  run.blockHigh = std::move(blockHigh_);
  published_ = true;
}

// Takes the vertices back from the open run, which goes on.
void TPolylineCache::Unpublish() {
  if (!published_) return;
  TPolylineRun& run = runs_.back();
  run.xOrder = 0;
  x_ = std::move(run.x);
  y_ = std::move(run.y);
  blockLow_ = std::move(run.blockLow);
  blockHigh_ = std::move(run.blockHigh);
  run.x = {};
  run.y = {};
  run.blockLow = {};
  run.blockHigh = {};
  published_ = false;
}

// The open run ends: it keeps its vertices only when they will be used.
void TPolylineCache::Close() {
  if (!open_) return;
  Publish();
  open_ = published_ = false;
  x_.clear();
  y_.clear();
  blockLow_.clear();
  blockHigh_.clear();
}

namespace {

// Screen X of a run's vertex, turned so that it grows along the run.
struct TAlongRun {
  const TPolylineRun& run;
  const TChartGeometry& g;
  double sign;
  TAlongRun(const TPolylineRun& r, const TChartGeometry& geometry)
      : run(r), g(geometry), sign(r.xOrder * ((geometry.RangeHiX() >= geometry.RangeLoX()) ? 1.0 : -1.0)) {}
  double Screen(size_t i) const { return sign * g.ToScreenX(run.x[i]); }
  // Pixel column, negated on runs that go right to left: never decreases along the run.
  long Column(size_t i) const { return long(sign) * g.ScreenToPixelX(g.ToScreenX(run.x[i])); }
};

// The first index in [from, to) whose value differs from that at `from`, for values that never
// decrease: galloping, so a short stretch costs little and a long one a bisection.
template <class Value>
size_t EndOfEqual(size_t from, size_t to, const Value& value) {
  const auto v = value(from);
  size_t lo = from, step = 1;  // value(lo) == v
  size_t hi = to;
  while (lo + step < to) {
    if (value(lo + step) != v) {
      hi = lo + step;
      break;
    }
    lo += step;
    step *= 2;
  }
  // value(lo) == v, value(hi) != v or hi == to.
  while (hi - lo > 1) {
    const size_t mid = lo + (hi - lo) / 2;
    (value(mid) == v ? lo : hi) = mid;
  }
  return hi;
}

// The lowest and highest Y of the vertices [from, to).
std::pair<double, double> LowestAndHighest(const TPolylineRun& run, size_t from, size_t to) {
  const std::vector<double>& y = run.y;
  double low = y[from], high = y[from];
  constexpr size_t B = TPolylineRun::kBlock;
  size_t i = from;
  for (; i < to && i % B != 0; ++i) {
    low = std::min(low, y[i]);
    high = std::max(high, y[i]);
  }
  for (; i + B <= to; i += B) {
    low = std::min(low, run.blockLow[i / B]);
    high = std::max(high, run.blockHigh[i / B]);
  }
  for (; i < to; ++i) {
    low = std::min(low, y[i]);
    high = std::max(high, y[i]);
  }
  return {low, high};
}

}  // namespace

std::pair<size_t, size_t> VisibleVertices(const TPolylineRun& run, const TChartGeometry& g, double left,
                                          double right) {
  const size_t n = run.x.size();
  const TAlongRun along(run, g);
  // In the run's own direction the strip is [from, to].
  const double from = along.sign > 0 ? left : -right, to = along.sign > 0 ? right : -left;
  auto firstWhere = [&](size_t a, auto past) {  // first vertex from a on for which past() holds
    size_t b = n;
    while (a < b) {
      const size_t mid = a + (b - a) / 2;
      (past(along.Screen(mid)) ? b = mid : a = mid + 1);
    }
    return a;
  };
  // The lines into the first vertex at or past the strip's start and into the first vertex past
  // its end may cross the strip; those before and after lie wholly outside.
  const size_t atStart = firstWhere(0, [from](double s) { return s >= from; });
  const size_t lo = atStart > 0 ? atStart - 1 : 0;
  const size_t hi = std::min(n, firstWhere(lo, [to](double s) { return s > to; }) + 1);
  return {lo, std::max(lo, hi)};
}

std::vector<TColumnVertices> ColumnExtremes(const TPolylineRun& run, const TChartGeometry& g, size_t begin,
                                            size_t end) {
  std::vector<TColumnVertices> columns;
  const TAlongRun along(run, g);
  auto column = [&along](size_t i) { return along.Column(i); };
  for (size_t i = begin; i < end;) {
    const size_t next = EndOfEqual(i, end, column);
    const auto [low, high] = LowestAndHighest(run, i, next);
    columns.push_back({uint32_t(i), uint32_t(next - 1), low, high});
    i = next;
  }
  return columns;
}

}  // namespace kolma::ui
