#include "ui/widgets/chart_painter.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace kolma::ui {

namespace {

constexpr int kTickLength = 5;
constexpr int kMinorTickLength = 3;
constexpr int kPad = 4;
// Items are clipped a little outside the data window so that line caps at the edge look whole;
// the painter's clip then trims them exactly.
constexpr double kClipSlack = 3;
// Ellipses wider than this many pixels are drawn as clipped polygons.
constexpr double kHugeEllipse = 20000;

struct TPalette {
  QColor background, window, frame, ticks, numbers, captions;
  bool blackText = false;
};

TPalette PaletteFor(const TChartState& s, bool blackOnWhite) {
  if (blackOnWhite) return {Qt::white, Qt::white, Qt::black, Qt::black, Qt::black, Qt::black, true};
  return {QColor(255, 255, 255), s.windColor, QColor(138, 147, 157), QColor(120, 128, 138),
          QColor(60, 65, 72), QColor(32, 36, 42), false};
}

bool ShowsNumbers(FigType t) { return t != ftNoScales && t != ftNoFigs; }
bool ShowsTicks(FigType t) { return t != ftNoScales; }

QFont LabelFont(const QFont& base) {
  QFont f = base;
  const double size = base.pointSizeF() > 0 ? base.pointSizeF() : 9.0;
  f.setPointSizeF(std::max(7.0, size - 0.5));
  return f;
}

QFont TitleFont(const QFont& base) {
  QFont f = base;
  const double size = base.pointSizeF() > 0 ? base.pointSizeF() : 9.0;
  f.setPointSizeF(size + 1.5);
  f.setWeight(QFont::DemiBold);
  return f;
}

TTickRequest AxisRequest(const TChartState& s, const QFontMetricsF& fm, bool xAxis) {
  const TChartGeometry& g = s.geometry;
  TTickRequest rq;
  rq.lo = xAxis ? g.RangeLoX() : g.RangeLoY();
  rq.hi = xAxis ? g.RangeHiX() : g.RangeHiY();
  rq.log = xAxis ? g.LogScaleX() : g.LogScaleY();
  rq.pixelLength = (xAxis ? g.DataWidth() : g.DataHeight()) + 1.0;
  rq.horizontal = xAxis;
  rq.labelHeight = fm.height();
  rq.labelWidth = [&fm](const std::string& text) { return fm.horizontalAdvance(QString::fromStdString(text)); };
  rq.decimals = xAxis ? s.decPlaceX : s.decPlaceY;
  rq.minTicks = xAxis ? s.minTickX : s.minTickY;
  rq.minorTicks = xAxis ? s.shortTicksX : s.shortTicksY;
  return rq;
}

TTickSet YTicks(const TChartState& s, const QFontMetricsF& fm, const TTickSet& xTicks) {
  TTickRequest rq = AxisRequest(s, fm, false);
  // Equal scales on both axes read best on a square grid.
  if (s.geometry.Isometric() && !s.geometry.LogScaleX() && !s.geometry.LogScaleY()) rq.forcedStep = xTicks.step;
  return ChooseTicks(rq);
}

double WidestLabel(const TTickSet& ticks, const QFontMetricsF& fm) {
  double widest = 0;
  for (const TTick& t : ticks.ticks)
    if (t.major) widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(t.label)));
  return widest;
}

}  // namespace

bool LayoutChart(TChartState& s, int width, int height, TChartLayout& layout) {
  TChartGeometry& g = s.geometry;
  const int oldW = g.DataWidth(), oldH = g.DataHeight();
  const bool oldSizeKnown = g.WidgetWidth() > 0 || g.WidgetHeight() > 0;

  layout.labelFont = LabelFont(s.font);
  layout.captionFont = s.font;
  layout.titleFont = TitleFont(s.font);
  const QFontMetricsF labels(layout.labelFont), captions(layout.captionFont), title(layout.titleFont);
  const bool xNumbers = ShowsNumbers(s.xLabelType), yNumbers = ShowsNumbers(s.yLabelType);

  const int top = std::max(s.tRim, s.caption.isEmpty() ? int(std::ceil(labels.height() / 2)) + 2
                                                      : int(std::ceil(title.height())) + 2 * kPad);
  int bottom = kTickLength + kPad;
  if (xNumbers) bottom += int(std::ceil(labels.height())) + 2;
  if (!s.idAbscissa.isEmpty()) bottom += int(std::ceil(captions.height())) + 2;
  bottom = std::max(s.bRim, bottom);

  // The Y numbers set the left margin, the last X number the right one; the height is known first.
  g.SetLayout(width, height, s.lRim, s.rRim, top, bottom);
  TTickSet xTicks = ChooseTicks(AxisRequest(s, labels, true));
  layout.yTicks = YTicks(s, labels, xTicks);
  int left = kPad + kTickLength + 3;
  if (yNumbers) left += int(std::ceil(WidestLabel(layout.yTicks, labels)));
  if (!s.idOrdinate.isEmpty()) left += int(std::ceil(captions.height())) + kPad;
  left = std::max(s.lRim, left);

  // X numbers centred near the ends of the axis may reach past the data window on either side.
  g.SetLayout(width, height, left, s.rRim, top, bottom);
  xTicks = ChooseTicks(AxisRequest(s, labels, true));
  int right = s.rRim;
  if (xNumbers) {
    const double length = g.DataWidth() + 1.0;
    double beforeLeft = 0;
    for (const TTick& t : xTicks.ticks) {
      if (!t.major) continue;
      const double half = labels.horizontalAdvance(QString::fromStdString(t.label)) / 2;
      right = std::max(right, int(std::ceil(t.pos + half - length)) + 2);
      beforeLeft = std::max(beforeLeft, half - t.pos);
    }
    left = std::max(left, int(std::ceil(beforeLeft)) + 2);  // rarely more than the Y numbers need
  }
  g.SetLayout(width, height, left, right, top, bottom);
  layout.xTicks = ChooseTicks(AxisRequest(s, labels, true));
  layout.yTicks = YTicks(s, labels, layout.xTicks);
  return !oldSizeKnown || oldW != g.DataWidth() || oldH != g.DataHeight();
}

namespace {

class TItemPainter {
 public:
  TItemPainter(QPainter& p, const TChartState& s, bool blackText)
      : p_(p), s_(s), g_(s.geometry), blackText_(blackText) {
    clip_ = {g_.DataLeft() - kClipSlack, g_.DataTop() - kClipSlack, g_.DataRight() + 1 + kClipSlack,
             g_.DataBottom() + 1 + kClipSlack};
  }

  void PaintAll() {
    const auto& items = s_.items;
    const auto& runs = s_.polylines.Runs(items);
    auto run = runs.begin();
    for (size_t i = 0; i < items.size();) {
      if (items[i].kind == ChartItemKind::Line) {
        while (run->first < i) ++run;  // every line item starts or continues a run
        PaintRun(*run);
        i = run->end;
        continue;
      }
      if (items[i].kind == ChartItemKind::Mark) PaintMark(items[i]);
      if (items[i].kind == ChartItemKind::Ellipse) PaintEllipse(items[i]);
      if (items[i].kind == ChartItemKind::Text) PaintText(items[i]);
      ++i;
    }
  }

 private:
  // Line ends, marks and ellipse centres sit on pixel centres, the pixel WorldToPixel names.
  double SnapX(double sx) const { return g_.ScreenToPixelX(sx) + 0.5; }
  double SnapY(double sy) const { return g_.ScreenToPixelY(sy) + 0.5; }

  QPen ItemPen(const TChartItem& item) const {
    QPen pen(item.color, std::max(1, item.lineWidth), item.penStyle, Qt::RoundCap, Qt::RoundJoin);
    return pen;
  }

  // A long run ordered along X costs nothing outside the visible strip. Where more of its lines
  // are visible than twice the pixel columns, a thin solid pen draws them as separate lines
  // without antialiasing (blending hundreds of lines per column shows nothing finer), and then
  // two lines per column give exactly the pixels of all of them.
  void PaintRun(const TPolylineRun& run) {
    const TChartItem& style = s_.items[run.first];
    p_.setPen(ItemPen(style));
    p_.setBrush(Qt::NoBrush);
    if (!run.Ordered()) {
      const auto& items = s_.items;
      PaintPolyline(run.end - run.first + 1, [&items, &run](size_t k) {
        const TChartItem& it = items[run.first + (k == 0 ? 0 : k - 1)];
        return k == 0 ? QPointF(it.x1, it.y1) : QPointF(it.x2, it.y2);
      });
      return;
    }
    const auto [begin, end] = VisibleVertices(run, g_, clip_.left, clip_.right);
    const bool thinSolid = style.lineWidth <= 1 && style.penStyle == Qt::SolidLine;
    if (thinSolid && end - begin > 2 * size_t(g_.DataWidth() + 1)) {
      PaintDense(run, begin, end);
      return;
    }
    PaintPolyline(end - begin, [&run, begin](size_t k) { return QPointF(run.x[begin + k], run.y[begin + k]); });
  }

  void PaintDense(const TPolylineRun& run, size_t begin, size_t end) {
    std::vector<QLineF> lines;
    auto line = [&](double wx1, double wy1, double wx2, double wy2) {
      double x1 = g_.ToScreenX(wx1), y1 = g_.ToScreenY(wy1), x2 = g_.ToScreenX(wx2), y2 = g_.ToScreenY(wy2);
      if (!ClipSegment(x1, y1, x2, y2, clip_)) return;
      const QPointF from(SnapX(x1), SnapY(y1)), to(SnapX(x2), SnapY(y2));
      // A line of no length would set a pixel beside its point, and that point is drawn by a
      // neighbouring line anyway.
      if (from != to) lines.emplace_back(from, to);
    };
    const std::vector<double>& x = run.x;
    const std::vector<double>& y = run.y;
    if (s_.reduceDenseLines) {
      const std::vector<TColumnVertices> columns = ColumnExtremes(run, g_, begin, end);
      for (size_t c = 0; c < columns.size(); ++c) {
        const TColumnVertices& col = columns[c];
        if (c > 0) line(x[columns[c - 1].last], y[columns[c - 1].last], x[col.first], y[col.first]);
        line(x[col.first], col.low, x[col.first], col.high);
      }
    } else {
      for (size_t k = begin + 1; k < end; ++k) line(x[k - 1], y[k - 1], x[k], y[k]);
    }
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.drawLines(lines.data(), int(lines.size()));
    p_.setRenderHint(QPainter::Antialiasing, true);
  }

  // Lines between consecutive world vertices, clipped, with their ends moved to pixel centres,
  // joined into polylines wherever one continues the last.
  template <class Vertex>
  void PaintPolyline(size_t count, const Vertex& vertex) {
    if (count < 2) return;
    QPolygonF run;
    auto flush = [&] {
      if (run.size() == 1) run << run.front();
      if (run.size() >= 2) p_.drawPolyline(run);
      run.clear();
    };
    const QPointF start = vertex(0);
    double fromX = g_.ToScreenX(start.x()), fromY = g_.ToScreenY(start.y());
    for (size_t k = 1; k < count; ++k) {
      const QPointF to = vertex(k);
      double x1 = fromX, y1 = fromY;
      double x2 = g_.ToScreenX(to.x()), y2 = g_.ToScreenY(to.y());
      fromX = x2;
      fromY = y2;
      const double ox1 = x1, oy1 = y1;
      if (!ClipSegment(x1, y1, x2, y2, clip_)) {
        flush();
        continue;
      }
      const QPointF a(SnapX(x1), SnapY(y1)), b(SnapX(x2), SnapY(y2));
      const bool startClipped = x1 != ox1 || y1 != oy1;
      if (run.isEmpty() || startClipped || run.back() != a) {
        flush();
        run << a;
      }
      if (run.back() != b || run.size() == 1) run << b;
    }
    flush();
  }

  void PaintMark(const TChartItem& item) {
    const double sx = g_.ToScreenX(item.x1), sy = g_.ToScreenY(item.y1);
    if (!(sx > clip_.left - 8 && sx < clip_.right + 8 && sy > clip_.top - 8 && sy < clip_.bottom + 8)) return;
    const QPointF c(SnapX(sx), SnapY(sy));
    const double r = 3.5;
    p_.setBrush(Qt::NoBrush);
    switch (item.markType) {
      case mtPixel:
        p_.fillRect(QRectF(c.x() - 0.5, c.y() - 0.5, 1, 1), item.color);
        break;
      case mtCross:
        p_.setPen(QPen(item.color, 1, Qt::SolidLine, Qt::FlatCap));
        p_.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        p_.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
        break;
      case mtSquare:
        p_.setPen(QPen(item.color, 1));
        p_.drawRect(QRectF(c.x() - 3, c.y() - 3, 6, 6));
        break;
      case mtCircle:
        p_.setPen(QPen(item.color, 1));
        p_.drawEllipse(c, 3.0, 3.0);
        break;
      case mtBoldDiagCross: {
        // Set pixel by pixel: a crisp, symmetric cross whatever the antialiasing.
        const int cx = int(std::floor(c.x())), cy = int(std::floor(c.y()));
        for (int i = -3; i <= 3; ++i)
          for (int j = -3; j <= 3; ++j)
            if (std::abs(i - j) <= 1 || std::abs(i + j) <= 1) p_.fillRect(QRect(cx + i, cy + j, 1, 1), item.color);
        break;
      }
      default:  // mtPlus and anything unknown
        p_.setPen(QPen(item.color, 1, Qt::SolidLine, Qt::FlatCap));
        p_.drawLine(c + QPointF(-r, 0), c + QPointF(r, 0));
        p_.drawLine(c + QPointF(0, -r), c + QPointF(0, r));
        break;
    }
  }

  void PaintEllipse(const TChartItem& item) {
    const double sx = g_.ToScreenX(item.x1), sy = g_.ToScreenY(item.y1);
    const double rx = std::abs(g_.ToScreenX(item.x1 + item.x2) - g_.ToScreenX(item.x1 - item.x2)) / 2;
    const double ry = std::abs(g_.ToScreenY(item.y1 + item.y2) - g_.ToScreenY(item.y1 - item.y2)) / 2;
    if (!std::isfinite(sx) || !std::isfinite(sy) || !std::isfinite(rx) || !std::isfinite(ry)) return;
    if (sx + rx < clip_.left || sx - rx > clip_.right || sy + ry < clip_.top || sy - ry > clip_.bottom) return;
    const QPointF c(SnapX(sx), SnapY(sy));
    if (2 * rx < 1 && 2 * ry < 1) {
      p_.fillRect(QRectF(c.x() - 0.5, c.y() - 0.5, 1, 1), item.color);
      return;
    }
    p_.setPen(ItemPen(item));
    p_.setBrush(item.hollow ? QBrush(Qt::NoBrush) : QBrush(item.fillColor));
    if (rx < kHugeEllipse && ry < kHugeEllipse) {
      p_.drawEllipse(c, rx, ry);
      return;
    }
    // Zoomed far into an ellipse: only the part near the window matters.
    std::vector<TScreenPoint> outline;
    const int n = 2048;
    for (int k = 0; k < n; ++k) {
      const double a = 2 * M_PI * k / n;
      outline.push_back({c.x() + rx * std::cos(a), c.y() + ry * std::sin(a)});
    }
    const auto clipped = ClipPolygon(outline, clip_);
    if (clipped.size() < 3) return;
    QPolygonF polygon;
    for (const auto& pt : clipped) polygon << QPointF(pt.x, pt.y);
    p_.drawPolygon(polygon);
  }

  void PaintText(const TChartItem& item) {
    const double sx = g_.ToScreenX(item.x1), sy = g_.ToScreenY(item.y1);
    if (!(std::abs(sx) < 1e7 && std::abs(sy) < 1e7)) return;
    QFont font = s_.font;
    font.setPointSize(std::max(1, item.fontSize));
    const QFontMetricsF fm(font);
    const double width = fm.horizontalAdvance(item.text);
    double left = SnapX(sx);
    if (item.alignment == taCenter) left -= width / 2;
    if (item.alignment == taRightJustify) left -= width;
    const double baseline = SnapY(sy) + (fm.ascent() - fm.descent()) / 2;
    if (item.background == tbOpaque)
      p_.fillRect(QRectF(left - 1, baseline - fm.ascent(), width + 2, fm.height()), s_.windColor);
    p_.setFont(font);
    p_.setPen(blackText_ ? QColor(Qt::black) : item.color);
    p_.drawText(QPointF(left, baseline), item.text);
  }

  QPainter& p_;
  const TChartState& s_;
  const TChartGeometry& g_;
  bool blackText_;
  TScreenRect clip_;
};

void PaintGrid(QPainter& p, const TChartState& s, const TChartLayout& layout) {
  if (s.gridStyle == gsNone) return;
  const TChartGeometry& g = s.geometry;
  QPen pen(s.gridColor, 1, s.gridStyle == gsDotLines ? Qt::DotLine : Qt::SolidLine, Qt::FlatCap);
  p.setPen(pen);
  p.setRenderHint(QPainter::Antialiasing, false);
  const double left = g.DataLeft(), right = g.DataRight() + 1, top = g.DataTop(), bottom = g.DataBottom() + 1;

  // Vertical lines every GridDx when asked for and not so dense that they grey the window out;
  // otherwise at the numbered X ticks.
  std::vector<double> xs;
  const double dx = s.gridDx;
  bool byGridDx = false;
  if (dx > 0 && !g.LogScaleX()) {
    const double lo = std::min(g.RangeLoX(), g.RangeHiX()), hi = std::max(g.RangeLoX(), g.RangeHiX());
    const double k0 = std::ceil(lo / dx - 1e-9), k1 = std::floor(hi / dx + 1e-9);
    // Far from zero a double no longer counts in steps of one: ++k would stand still.
    byGridDx = k1 - k0 <= (g.DataWidth() + 1) / 4.0 && std::abs(k0) <= 4e15 && std::abs(k1) <= 4e15;
    if (byGridDx)
      for (double k = k0; k <= k1; ++k) xs.push_back(k * dx);
  }
  if (!byGridDx)
    for (const TTick& t : layout.xTicks.ticks)
      if (t.major) xs.push_back(t.value);
  for (double x : xs) {
    const int px = g.PixelX(x);
    if (px > g.DataLeft() && px < g.DataRight()) p.drawLine(QPointF(px, top), QPointF(px, bottom - 1));
  }
  for (const TTick& t : layout.yTicks.ticks) {
    if (!t.major) continue;
    const int py = g.PixelY(t.value);
    if (py > g.DataTop() && py < g.DataBottom()) p.drawLine(QPointF(left, py), QPointF(right - 1, py));
  }
}

void PaintScales(QPainter& p, const TChartState& s, const TChartLayout& layout, const TPalette& colours) {
  const TChartGeometry& g = s.geometry;
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setBrush(Qt::NoBrush);
  // Frame just outside the data window.
  p.setPen(QPen(colours.frame, 1));
  p.drawRect(QRect(g.DataLeft() - 1, g.DataTop() - 1, g.DataWidth() + 2, g.DataHeight() + 2));

  const QFontMetricsF fm(layout.labelFont);
  p.setFont(layout.labelFont);
  const int frameBottom = g.DataBottom() + 1, frameLeft = g.DataLeft() - 1;
  if (ShowsTicks(s.xLabelType)) {
    for (const TTick& t : layout.xTicks.ticks) {
      const int px = g.PixelX(t.value);
      if (px < g.DataLeft() || px > g.DataRight()) continue;
      p.setPen(colours.ticks);
      p.drawLine(px, frameBottom + 1, px, frameBottom + (t.major ? kTickLength : kMinorTickLength));
      if (!t.major || !ShowsNumbers(s.xLabelType)) continue;
      const QString text = QString::fromStdString(t.label);
      const double w = fm.horizontalAdvance(text);
      p.setPen(colours.numbers);
      p.drawText(QPointF(px + 0.5 - w / 2, frameBottom + kTickLength + 2 + fm.ascent()), text);
    }
  }
  if (ShowsTicks(s.yLabelType)) {
    for (const TTick& t : layout.yTicks.ticks) {
      const int py = g.PixelY(t.value);
      if (py < g.DataTop() || py > g.DataBottom()) continue;
      p.setPen(colours.ticks);
      p.drawLine(frameLeft - 1, py, frameLeft - (t.major ? kTickLength : kMinorTickLength), py);
      if (!t.major || !ShowsNumbers(s.yLabelType)) continue;
      const QString text = QString::fromStdString(t.label);
      const double w = fm.horizontalAdvance(text);
      p.setPen(colours.numbers);
      p.drawText(QPointF(frameLeft - kTickLength - 3 - w, py + 0.5 + (fm.ascent() - fm.descent()) / 2), text);
    }
  }
}

void PaintCaptions(QPainter& p, const TChartState& s, const TChartLayout& layout, const TPalette& colours) {
  const TChartGeometry& g = s.geometry;
  const double centreX = (g.DataLeft() + g.DataRight() + 1) / 2.0;
  if (!s.caption.isEmpty()) {
    const QFontMetricsF fm(layout.titleFont);
    const QString text = fm.elidedText(s.caption, Qt::ElideRight, g.WidgetWidth() - 2 * kPad);
    p.setFont(layout.titleFont);
    p.setPen(colours.captions);
    const double w = fm.horizontalAdvance(text);
    const double x = std::clamp(centreX - w / 2, double(kPad), std::max(double(kPad), g.WidgetWidth() - kPad - w));
    p.drawText(QPointF(x, (g.DataTop() - 1 - fm.height()) / 2 + fm.ascent()), text);
  }
  const QFontMetricsF fm(layout.captionFont);
  p.setFont(layout.captionFont);
  p.setPen(colours.captions);
  if (!s.idAbscissa.isEmpty()) {
    const double w = fm.horizontalAdvance(s.idAbscissa);
    p.drawText(QPointF(centreX - w / 2, g.WidgetHeight() - kPad - fm.descent()), s.idAbscissa);
  }
  if (!s.idOrdinate.isEmpty()) {
    const double w = fm.horizontalAdvance(s.idOrdinate);
    const double centreY = (g.DataTop() + g.DataBottom() + 1) / 2.0;
    p.save();
    p.translate(kPad + fm.ascent(), centreY + w / 2);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), s.idOrdinate);
    p.restore();
  }
}

}  // namespace

std::vector<TLegendEntry> LegendEntries(const std::vector<TChartItem>& items) {
  std::vector<TLegendEntry> entries;
  for (const TChartItem& item : items) {
    if (item.title.isEmpty() || item.kind == ChartItemKind::Text) continue;
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&item](const TLegendEntry& e) { return e.title == item.title; });
    if (found == entries.end()) {
      TLegendEntry entry;
      entry.title = item.title;
      entry.color = item.color;
      entry.penStyle = item.penStyle;
      entry.lineWidth = item.lineWidth;
      entry.fillColor = item.fillColor;
      entries.push_back(entry);
      found = entries.end() - 1;
    }
    if (item.kind == ChartItemKind::Line) found->line = true;
    if (item.kind == ChartItemKind::Mark && found->markType < 0) found->markType = item.markType;
    if (item.kind == ChartItemKind::Ellipse) found->ellipse = true;
  }
  return entries;
}

namespace {

// The corner of the data window where the legend hides the least of the drawing: points
// along every line and every mark are counted in each candidate box (a long run is sampled).
QRectF LegendPlace(const TChartState& s, double w, double h, double inset) {
  const TChartGeometry& g = s.geometry;
  const double left = g.DataLeft() + inset, right = g.DataRight() + 1 - inset - w;
  const double top = g.DataTop() + inset, bottom = g.DataBottom() + 1 - inset - h;
  const QRectF candidates[] = {{right, top, w, h}, {left, top, w, h}, {right, bottom, w, h}, {left, bottom, w, h}};
  int hidden[4] = {0, 0, 0, 0};
  const std::size_t stride = std::max<std::size_t>(1, s.items.size() / 4000);
  auto count = [&](double wx, double wy) {
    const QPointF p(g.ToScreenX(wx), g.ToScreenY(wy));
    for (int c = 0; c < 4; ++c) hidden[c] += candidates[c].contains(p);
  };
  for (std::size_t i = 0; i < s.items.size(); i += stride) {
    const TChartItem& item = s.items[i];
    if (item.kind == ChartItemKind::Line) {
      for (int k = 0; k <= 8; ++k) count(item.x1 + (item.x2 - item.x1) * k / 8, item.y1 + (item.y2 - item.y1) * k / 8);
    } else {
      count(item.x1, item.y1);
    }
  }
  return candidates[std::min_element(std::begin(hidden), std::end(hidden)) - std::begin(hidden)];
}

// The legend box: a sample of each curve beside its title, in the corner that hides the least
// of the drawing, over a nearly opaque background so that the curves beneath stay guessable.
void PaintLegend(QPainter& p, const TChartState& s, const TChartLayout& layout, const TPalette& colours) {
  if (!s.legendVisible || s.titledItems == 0) return;
  const std::vector<TLegendEntry> entries = LegendEntries(s.items);
  if (entries.empty()) return;
  const TChartGeometry& g = s.geometry;
  const QFontMetricsF fm(layout.labelFont);
  constexpr double kSample = 28, kGap = 6, kInset = 6;
  const double maxText = std::max(20.0, g.DataWidth() - kSample - 3 * kGap - 2 * kInset);
  double textWidth = 0;
  for (const TLegendEntry& e : entries) textWidth = std::max(textWidth, fm.horizontalAdvance(e.title));
  textWidth = std::min(textWidth, maxText);
  const double lineHeight = fm.height() + 2;
  const double w = kGap + kSample + kGap + textWidth + kGap;
  const double h = lineHeight * entries.size() + kGap;
  const QRectF box = LegendPlace(s, w, h, kInset);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  QColor back = colours.window;
  back.setAlpha(235);
  p.setPen(QPen(colours.frame, 1));
  p.setBrush(back);
  p.drawRect(box);
  p.setFont(layout.labelFont);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TLegendEntry& e = entries[i];
    const double y = box.top() + kGap / 2 + lineHeight * i + lineHeight / 2;
    const double x0 = box.left() + kGap, x1 = x0 + kSample;
    if (e.line || (!e.ellipse && e.markType < 0)) {
      p.setPen(QPen(e.color, std::max(1, e.lineWidth), e.penStyle, Qt::FlatCap));
      p.drawLine(QPointF(x0, y), QPointF(x1, y));
    }
    const QPointF c((x0 + x1) / 2, y);
    if (e.ellipse) {
      p.setPen(QPen(e.color, 1));
      p.setBrush(e.fillColor);
      p.drawEllipse(c, 4.0, 4.0);
    }
    if (e.markType >= 0) {
      p.setPen(QPen(e.color, e.markType == mtBoldDiagCross ? 2 : 1));
      p.setBrush(Qt::NoBrush);
      p.drawLine(c + QPointF(-3, -3), c + QPointF(3, 3));
      p.drawLine(c + QPointF(-3, 3), c + QPointF(3, -3));
    }
    p.setPen(colours.captions);
    const QString text = fm.elidedText(e.title, Qt::ElideRight, textWidth);
    p.drawText(QPointF(x1 + kGap, y + (fm.ascent() - fm.descent()) / 2), text);
  }
  p.restore();
}

}  // namespace

void PaintChart(QPainter& p, const TChartState& s, const TChartLayout& layout, bool blackOnWhite) {
  const TChartGeometry& g = s.geometry;
  const TPalette colours = PaletteFor(s, blackOnWhite);
  const QRect window(g.DataLeft(), g.DataTop(), g.DataWidth() + 1, g.DataHeight() + 1);
  p.save();
  p.fillRect(QRect(0, 0, g.WidgetWidth(), g.WidgetHeight()), colours.background);
  p.fillRect(window, colours.window);

  p.setClipRect(window);
  PaintGrid(p, s, layout);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  TItemPainter(p, s, colours.blackText).PaintAll();
  p.setClipping(false);

  PaintScales(p, s, layout, colours);
  PaintLegend(p, s, layout, colours);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  PaintCaptions(p, s, layout, colours);
  p.restore();
}

}  // namespace kolma::ui
