// Long histories drawn a pixel column at a time give the very pixels of drawing every line.
#include "ui/widgets/chart_polylines.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <numbers>
#include <random>

#include "ui/widgets/chart_painter.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {
namespace {

// Hourly samples of an annual and a daily cycle with noise; `spikes` of them jump far out.
std::vector<QPointF> NoisyHistory(int samples, int spikes, unsigned seed) {
  constexpr double pi = std::numbers::pi;
  std::mt19937 rng(seed);
  std::normal_distribution<double> noise(0.0, 1.5);
  std::vector<QPointF> points;
  for (int k = 0; k < samples; ++k)
    points.emplace_back(k, 10 + 12 * std::sin(2 * pi * k / 8760) + 5 * std::sin(2 * pi * k / 24) + noise(rng));
  std::uniform_int_distribution<int> at(0, samples - 1);
  for (int s = 0; s < spikes; ++s) points[at(rng)].ry() += (s % 2 ? -1 : 1) * 80.0;
  return points;
}

// The items of one move and a line to every further point, as the program draws a history.
std::vector<TChartItem> Polyline(const std::vector<QPointF>& points, const QColor& colour) {
  std::vector<TChartItem> items;
  for (size_t k = 1; k < points.size(); ++k) {
    TChartItem line;
    line.x1 = points[k - 1].x();
    line.y1 = points[k - 1].y();
    line.x2 = points[k].x();
    line.y2 = points[k].y();
    line.fromPen = true;
    line.color = colour;
    items.push_back(line);
  }
  return items;
}

QImage Paint(TChartState& state, const TChartLayout& layout, bool reduce) {
  state.reduceDenseLines = reduce;
  QImage image(640, 400, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintChart(painter, state, layout, false);
  return image;
}

// The same picture twice, drawn by columns and line by line.
std::pair<QImage, QImage> PaintBothWays(TChartState& state) {
  TChartLayout layout;
  LayoutChart(state, 640, 400, layout);
  return {Paint(state, layout, true), Paint(state, layout, false)};
}

// Some pixel of blue blended with the background, as antialiasing leaves them.
bool HasBlendedBlue(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.blue() >= 240 && c.red() >= 20 && c.red() <= 220 && std::abs(c.red() - c.green()) <= 3) return true;
    }
  return false;
}

struct TView {
  const char* name;
  int samples, spikes;
  bool rightToLeft;  // the history added from its last sample back to its first
  double loX, hiX, loY, hiY;
  bool byColumns;  // more lines in view than twice the pixel columns
};

TEST(ChartPolylines, ColumnExtremesDrawTheSamePixelsAsEveryLine) {
  const TView views[] = {
      {"ten years, whole", 87600, 0, false, 0, 87600, -15, 35, true},
      {"zoomed, peaks cut at top and bottom", 87600, 0, false, 40000, 45475, 8, 22, true},
      {"panned past the start", 87600, 0, false, -20000, 30000, -15, 35, true},
      {"panned past the end", 87600, 0, false, 70000, 120000, -15, 35, true},
      {"spikes far out of view", 87600, 300, false, 0, 87600, -15, 35, true},
      {"right to left, axis reversed", 20000, 40, true, 20000, -500, -15, 35, true},
      {"few samples, every line", 300, 3, false, 0, 300, -15, 35, false},
  };
  for (const TView& v : views) {
    SCOPED_TRACE(v.name);
    std::vector<QPointF> points = NoisyHistory(v.samples, v.spikes, 7);
    if (v.rightToLeft) std::reverse(points.begin(), points.end());
    TChartState state;
    state.items = Polyline(points, Qt::blue);
    state.geometry.SetRangeLoX(v.loX);
    state.geometry.SetRangeHiX(v.hiX);
    state.geometry.SetRangeLoY(v.loY);
    state.geometry.SetRangeHiY(v.hiY);
    const auto [reduced, everyLine] = PaintBothWays(state);
    ASSERT_EQ(reduced, everyLine);

    // Only lines that miss the data window are left out of the visible part.
    const TChartGeometry& g = state.geometry;
    const TPolylineRun& run = state.polylines.Runs(state.items).front();
    ASSERT_TRUE(run.Ordered());
    const TScreenRect strip{g.DataLeft() - 3.0, -1e9, g.DataRight() + 4.0, 1e9};
    const auto [begin, end] = VisibleVertices(run, g, strip.left, strip.right);
    for (size_t k = 0; k + 1 < run.x.size(); ++k) {
      if (k >= begin && k + 1 < end) continue;
      double x1 = g.ToScreenX(run.x[k]), y1 = 0, x2 = g.ToScreenX(run.x[k + 1]), y2 = 0;
      ASSERT_FALSE(ClipSegment(x1, y1, x2, y2, strip)) << "line " << k << " left out";
    }
    const size_t columns = ColumnExtremes(run, g, begin, end).size();
    EXPECT_EQ(v.byColumns, 2 * columns < end - begin) << columns << " columns, " << end - begin << " vertices";
    if (!v.byColumns) {
      EXPECT_TRUE(HasBlendedBlue(reduced)) << "few lines are drawn antialiased";
    }
  }
}

// The runs kept up item by item, with paints in between or not, are those read from the items.
TEST(ChartPolylines, RunsKeptAsItemsComeAreThoseReadFromTheItems) {
  std::vector<TChartItem> items;
  double penX = 0, penY = 0;
  auto line = [&](double x, double y, const QColor& colour = Qt::blue, bool fromPen = true) {
    TChartItem item;
    item.x1 = penX;
    item.y1 = penY;
    item.x2 = penX = x;
    item.y2 = penY = y;
    item.fromPen = fromPen;
    item.color = colour;
    items.push_back(item);
  };
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> y(-20, 20);
  for (int k = 1; k <= 150; ++k) line(k, y(rng));             // long, left to right
  TChartItem mark;
  mark.kind = ChartItemKind::Mark;
  items.push_back(mark);  // a mark ends it
  for (int k = 1; k <= 10; ++k) line(150 + k, y(rng));        // short
  for (int k = 1; k <= 100; ++k) line(160 + k, y(rng), k <= 70 ? Qt::blue : QColor(Qt::red));  // two colours
  line(0, 0, Qt::blue, false);  // not from the pen, then lines back and forth from it
  for (int k = 1; k <= 90; ++k) line(k % 2 ? -k : k, y(rng));
  penX = 1000;                                                // a move: a new run
  for (int k = 1; k <= 80; ++k) line(1000 - k, k == 40 ? std::nan("") : y(rng));  // not finite
  penX = 2000;
  for (int k = 1; k <= 200; ++k) line(2000 - k, y(rng));       // long, right to left

  TPolylineCache read;
  const std::vector<TPolylineRun>& expected = read.Runs(items);
  ASSERT_EQ(expected.size(), 7u);
  for (size_t paintEvery : {size_t{0}, size_t{1}, size_t{37}, size_t{100}}) {
    TPolylineCache kept;
    std::vector<TChartItem> added;
    for (const TChartItem& item : items) {
      added.push_back(item);
      kept.Appended(added);
      if (paintEvery != 0 && added.size() % paintEvery == 0) kept.Runs(added);
    }
    const std::vector<TPolylineRun>& runs = kept.Runs(added);
    ASSERT_EQ(runs.size(), expected.size()) << paintEvery;
    for (size_t r = 0; r < runs.size(); ++r) {
      const TPolylineRun &a = runs[r], &b = expected[r];
      EXPECT_TRUE(a.first == b.first && a.end == b.end && a.xOrder == b.xOrder && a.blockLow == b.blockLow &&
                  a.blockHigh == b.blockHigh && a.x.size() == b.x.size() &&
                  std::equal(a.x.begin(), a.x.end(), b.x.begin()) && std::equal(a.y.begin(), a.y.end(), b.y.begin()))
          << "run " << r << ", a paint every " << paintEvery << " items";
    }
  }
}

// A chart that drew one history and then another of the same length shows the second one.
TEST(ChartPolylines, NewItemsReplaceTheRememberedRuns) {
  auto show = [](TRChart& chart, const std::vector<QPointF>& points) {
    chart.ClearDrawing();
    chart.AddMoveTo(points[0].x(), points[0].y());
    for (size_t k = 1; k < points.size(); ++k) chart.AddLineTo(points[k].x(), points[k].y());
    chart.ShowDrawing();
    return chart.RenderPicture(false);
  };
  auto setUp = [](TRChart& chart) {
    chart.resize(640, 400);
    chart.SetRangeLoX(0);
    chart.SetRangeHiX(20000);
    chart.SetRangeLoY(-15);
    chart.SetRangeHiY(35);
  };
  TRChart reused, fresh;
  setUp(reused);
  setUp(fresh);
  const std::vector<QPointF> first = NoisyHistory(20000, 0, 1), second = NoisyHistory(20000, 30, 2);
  show(reused, first);
  EXPECT_EQ(show(reused, second), show(fresh, second));
}

}  // namespace
}  // namespace kolma::ui
