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

// Sorts out the runs and remembers the vertices of the long ones in one pass over the items:
// a history of a million lines is read once, and the items are far larger than their vertices.
class TRunReader {
 public:
  explicit TRunReader(const std::vector<TChartItem>& items) : items_(items) {}

  // The run that starts at line item `first`.
  TPolylineRun Read(size_t first) {
    TPolylineRun run;
    run.first = first;
    run.end = first + 1;
    x_.clear();
    y_.clear();
    // Room for every vertex the run may have: the pages not written are never touched, and the
    // vertices are not copied again and again as they grow.
    if (x_.capacity() < items_.size() - first + 1) {
      x_.reserve(items_.size() - first + 1);
      y_.reserve(items_.size() - first + 1);
    }
    const TChartItem& start = items_[first];
    Add(start.x1, start.y1);
    Add(start.x2, start.y2);
    while (run.end < items_.size() && Continues(items_[run.end - 1], items_[run.end], start)) {
      Add(items_[run.end].x2, items_[run.end].y2);
      ++run.end;
    }
    const bool ordered = finite_ && !(rises_ && falls_);
    if (run.end - run.first >= TPolylineRun::kLongRun && ordered && x_.size() <= UINT32_MAX) Keep(run);
    return run;
  }

 private:
  void Add(double x, double y) {
    if (x_.empty()) {
      finite_ = true;
      rises_ = falls_ = false;
    } else {
      rises_ = rises_ || x > x_.back();
      falls_ = falls_ || x < x_.back();
    }
    finite_ = finite_ && std::isfinite(x) && std::isfinite(y);
    x_.push_back(x);
    y_.push_back(y);
  }

  // ContinuesPolyline, with the pen compared to the run's first line (the same, as every line
  // of the run has its pen) and the colours compared as bytes first: equal bytes are equal
  // colours, and a call per line is what a million lines cannot afford.
  static bool Continues(const TChartItem& previous, const TChartItem& next, const TChartItem& style) {
    if (next.kind != ChartItemKind::Line || !next.fromPen || next.x1 != previous.x2 || next.y1 != previous.y2 ||
        next.penStyle != style.penStyle || next.lineWidth != style.lineWidth)
      return false;
    return std::memcmp(&next.color, &style.color, sizeof(QColor)) == 0 || next.color == style.color;
  }

  void Keep(TPolylineRun& run) {
    run.xOrder = falls_ ? -1 : 1;
    run.x = std::move(x_);
    run.y = std::move(y_);
    x_ = {};
    y_ = {};
    const size_t n = run.y.size();
    const size_t blocks = (n + TPolylineRun::kBlock - 1) / TPolylineRun::kBlock;
    run.blockLow.resize(blocks);
    run.blockHigh.resize(blocks);
    for (size_t b = 0; b < blocks; ++b) {
      const auto [low, high] = std::minmax_element(run.y.begin() + b * TPolylineRun::kBlock,
                                                   run.y.begin() + std::min(n, (b + 1) * TPolylineRun::kBlock));
      run.blockLow[b] = *low;
      run.blockHigh[b] = *high;
    }
  }

  const std::vector<TChartItem>& items_;
  std::vector<double> x_, y_;
  bool finite_ = true, rises_ = false, falls_ = false;
};

}  // namespace

const std::vector<TPolylineRun>& TPolylineCache::Runs(const std::vector<TChartItem>& items) {
  if (valid_ && itemCount_ == items.size()) return runs_;
  runs_.clear();
  TRunReader reader(items);
  for (size_t i = 0; i < items.size();) {
    if (items[i].kind != ChartItemKind::Line) {
      ++i;
      continue;
    }
    runs_.push_back(reader.Read(i));
    i = runs_.back().end;
  }
  valid_ = true;
  itemCount_ = items.size();
  return runs_;
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
