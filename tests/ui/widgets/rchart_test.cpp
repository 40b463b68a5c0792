// The chart widget, run offscreen: its drawing list, range rules, mouse actions and pictures.
#include "ui/widgets/rchart.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMouseEvent>
#include <cmath>

namespace kolma::ui {
namespace {

const QColor kRed(255, 0, 0), kGreen(0, 128, 0), kBlue(0, 0, 255);

// A chart set up like the program's main chart, 700 x 420 pixels.
struct ChartFixture : ::testing::Test {
  TRChart chart;
  void SetUp() override {
    chart.resize(700, 420);
    chart.SetDecPlaceX(-2);
    chart.SetDecPlaceY(-2);
    chart.SetMinTickX(5);
    chart.SetMinRangeX(1e-10);
    chart.SetMinRangeY(1e-10);
    chart.SetRangeLoX(0);
    chart.SetRangeHiX(10);
    chart.SetRangeLoY(0);
    chart.SetRangeHiY(10);
  }
  QImage Picture() { return chart.grab().toImage().convertToFormat(QImage::Format_RGB32); }
  void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(p), QPointF(chart.mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &event);
  }
  void Drag(QPoint from, QPoint to) {
    Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }
  void ExpectRanges(double loX, double hiX, double loY, double hiY, double tol = 1e-9) {
    EXPECT_NEAR(chart.RangeLoX(), loX, tol);
    EXPECT_NEAR(chart.RangeHiX(), hiX, tol);
    EXPECT_NEAR(chart.RangeLoY(), loY, tol);
    EXPECT_NEAR(chart.RangeHiY(), hiY, tol);
  }
};

bool SameColour(QRgb pixel, const QColor& c, int tolerance = 8) {
  return std::abs(qRed(pixel) - c.red()) <= tolerance && std::abs(qGreen(pixel) - c.green()) <= tolerance &&
         std::abs(qBlue(pixel) - c.blue()) <= tolerance;
}

int CountColour(const QImage& image, const QRect& area, const QColor& c) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += SameColour(image.pixel(x, y), c);
  return n;
}

using ChartDrawing = ChartFixture;

TEST_F(ChartDrawing, ItemsKeepTheColourTheyWereAddedWith) {
  chart.SetDataColor(kBlue);
  chart.AddLine(1, 2, 9, 2);
  chart.SetDataColor(kRed);
  chart.AddLine(1, 5, 9, 5);
  chart.SetDataColor(kGreen);  // a later colour change touches neither
  chart.ShowDrawing();
  // New ranges redraw the same items at the new scale.
  chart.SetRangeLoX(-5);
  chart.SetRangeHiX(20);
  chart.SetRangeLoY(-1);
  chart.SetRangeHiY(6);
  ASSERT_EQ(chart.Items().size(), 2u);
  EXPECT_EQ(chart.Items()[0].color, kBlue);
  EXPECT_EQ(chart.Items()[1].color, kRed);
  const QImage image = Picture();
  const QPoint blue = chart.WorldToPixel(4, 2), red = chart.WorldToPixel(4, 5);
  EXPECT_TRUE(SameColour(image.pixel(blue), kBlue)) << std::hex << image.pixel(blue);
  EXPECT_TRUE(SameColour(image.pixel(red), kRed)) << std::hex << image.pixel(red);
  // Beyond the line's end (x = 9) there is nothing red.
  EXPECT_FALSE(SameColour(image.pixel(chart.WorldToPixel(12, 5)), kRed));
}

TEST_F(ChartDrawing, OnlyMoveToAndLineToMoveThePen) {
  chart.AddMoveTo(1, 2);
  chart.AddMark(5, 5, 25);
  chart.AddLine(3, 3, 4, 4);
  chart.AddText(6, 6, 10, "T");
  chart.AddEllipse(7, 7, 1, 1);
  EXPECT_EQ(chart.PenPosition(), QPointF(1, 2));
  chart.AddLineTo(3, 4);
  EXPECT_EQ(chart.PenPosition(), QPointF(3, 4));
  chart.AddMark(3, 4, 25);  // the profile view puts a mark after every line
  chart.AddLineTo(5, 1);
  const auto& items = chart.Items();
  ASSERT_EQ(items.size(), 7u);
  EXPECT_EQ(items[4].kind, ChartItemKind::Line);
  EXPECT_EQ(QPointF(items[4].x1, items[4].y1), QPointF(1, 2));
  EXPECT_EQ(QPointF(items[6].x1, items[6].y1), QPointF(3, 4));
  EXPECT_EQ(QPointF(items[6].x2, items[6].y2), QPointF(5, 1));
  // AddLine neither starts at the pen nor moves it.
  EXPECT_EQ(QPointF(items[1].x1, items[1].y1), QPointF(3, 3));
}

TEST_F(ChartDrawing, TextKeepsItsFirstFifteenCharacters) {
  chart.AddText(5, 5, 14, "ABCDEFGHIJKLMNOPQRST");
  chart.AddText(5, 6, 14, "Xu");
  ASSERT_EQ(chart.Items().size(), 2u);
  EXPECT_EQ(chart.Items()[0].text, "ABCDEFGHIJKLMNO");
  EXPECT_EQ(chart.Items()[0].fontSize, 14);
  EXPECT_EQ(chart.Items()[1].text, "Xu");
}

TEST_F(ChartDrawing, ClearDrawingKeepsRangesCaptionsAndAttributes) {
  chart.SetCaption("Geometry");
  chart.SetIdAbscissa("Time (hour)");
  chart.SetIdOrdinate("Temperature (°C)");
  chart.SetDataColor(kRed);
  chart.SetHollowEllipses(true);
  chart.AddLine(0, 0, 10, 10);
  chart.AddMark(5, 5, 25);
  chart.ShowDrawing();
  chart.ClearDrawing();
  chart.ShowDrawing();
  EXPECT_TRUE(chart.Items().empty());
  ExpectRanges(0, 10, 0, 10, 0);
  EXPECT_EQ(chart.Caption(), "Geometry");
  EXPECT_EQ(chart.IdAbscissa(), "Time (hour)");
  EXPECT_EQ(chart.IdOrdinate(), "Temperature (°C)");
  EXPECT_EQ(chart.DataColor(), kRed);
  EXPECT_TRUE(chart.HollowEllipses());
  const QImage image = Picture();
  EXPECT_EQ(CountColour(image, chart.DataWindow(), kRed), 0);
  // Empty axes and captions are still drawn: dark pixels in the left and bottom margins.
  int dark = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < chart.DataWindow().left() - 1; ++x) dark += qGray(image.pixel(x, y)) < 128;
  EXPECT_GT(dark, 50);
}

TEST_F(ChartDrawing, EllipsesFilledHollowAndTiny) {
  chart.SetFillColor(kBlue);
  chart.SetDataColor(kGreen);
  chart.AddEllipse(3, 5, 1, 1);
  chart.SetHollowEllipses(true);
  chart.AddEllipse(7, 5, 1, 1);
  chart.SetDataColor(kRed);
  chart.AddEllipse(5, 2, 1e-4, 1e-4);  // far below a pixel: one pixel
  const QImage image = Picture();
  EXPECT_TRUE(SameColour(image.pixel(chart.WorldToPixel(3, 5)), kBlue));
  EXPECT_FALSE(SameColour(image.pixel(chart.WorldToPixel(7, 5)), kBlue));
  EXPECT_FALSE(SameColour(image.pixel(chart.WorldToPixel(7, 5)), kGreen));
  const QPoint rim = chart.WorldToPixel(8, 5);  // on the hollow circle
  bool greenNear = false;
  for (int dx = -1; dx <= 1; ++dx) greenNear |= SameColour(image.pixel(rim + QPoint(dx, 0)), kGreen, 60);
  EXPECT_TRUE(greenNear);
  const QPoint dot = chart.WorldToPixel(5, 2);
  EXPECT_TRUE(SameColour(image.pixel(dot), kRed));
  EXPECT_EQ(CountColour(image, QRect(dot - QPoint(3, 3), dot + QPoint(3, 3)), kRed), 1);
}

TEST_F(ChartDrawing, RedCrossesSitAtTheirPredictedPixels) {
  chart.SetRangeLoX(-1);
  chart.SetRangeHiX(11);
  chart.SetIsometric(true);
  chart.SetYLabelType(ftNoScales);
  const double s = chart.RangeHiY() - chart.RangeLoY();
  chart.SetRangeLoY(-s / 2);
  chart.SetDataColor(Qt::black);
  chart.AddMoveTo(0, 0);
  for (int k = 0; k <= 10; ++k) {
    chart.SetDataColor(Qt::black);
    if (k > 0) chart.AddLineTo(k, 0);
    chart.SetDataColor(kRed);
    chart.AddMark(k, 0, 25);
  }
  chart.ShowDrawing();
  const QImage image = Picture();
  for (int k = 0; k <= 10; ++k) {
    const QPoint c = chart.WorldToPixel(k, 0);
    // The arms of a bold diagonal cross, 7 pixels across, and nothing red straight above.
    for (int d : {-3, -2, 2, 3}) {
      EXPECT_TRUE(SameColour(image.pixel(c + QPoint(d, d)), kRed)) << k << " " << d;
      EXPECT_TRUE(SameColour(image.pixel(c + QPoint(d, -d)), kRed)) << k << " " << d;
    }
    EXPECT_FALSE(SameColour(image.pixel(c + QPoint(0, -3)), kRed)) << k;
    EXPECT_FALSE(SameColour(image.pixel(c + QPoint(-5, -5)), kRed)) << k;
  }
  // y = 0 is in the middle of the data window.
  const QRect window = chart.DataWindow();
  EXPECT_NEAR(chart.WorldToPixel(0, 0).y(), window.center().y(), 1);
}

TEST_F(ChartDrawing, GridEveryDxFarFromZeroIsStillPainted) {
  // Grid lines every 0.001 around 1e13: their numbers lie beyond what a double counts by ones.
  chart.SetGridStyle(gsDotLines);
  chart.SetGridDx(1e-3);
  chart.SetRangeLoX(1e13);
  chart.SetRangeHiX(1e13 + 0.01);
  const QImage picture = chart.RenderPicture(false);
  EXPECT_FALSE(picture.isNull());
}

TEST_F(ChartDrawing, PictureForTheClipboard) {
  chart.SetDataColor(kRed);
  chart.AddLine(1, 5.3, 9, 5.3);
  const QPoint inside = chart.WorldToPixel(7.3, 2.6);  // clear of grid lines
  chart.CopyPictureToClipboard(true);
  const QImage copied = QGuiApplication::clipboard()->image();
  ASSERT_EQ(copied.size(), chart.size());
  EXPECT_TRUE(SameColour(copied.pixel(inside), Qt::white, 0)) << std::hex << copied.pixel(inside);
  EXPECT_TRUE(SameColour(copied.pixel(chart.WorldToPixel(4.3, 5.3)), kRed));
  // Black on white was for that copy only.
  EXPECT_TRUE(SameColour(Picture().pixel(inside), chart.WindColor(), 0));
  chart.CopyPictureToClipboard(false);
  EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), Picture());
}

TEST_F(ChartDrawing, LogarithmicAxisPlacesDecadesEvenly) {
  chart.SetLogScaleX(true);
  chart.SetRangeLoX(1);
  chart.SetRangeHiX(10000);
  const QRect window = chart.DataWindow();
  EXPECT_EQ(chart.WorldToPixel(1, 0).x(), window.left());
  EXPECT_EQ(chart.WorldToPixel(10000, 0).x(), window.right());
  EXPECT_NEAR(chart.WorldToPixel(100, 0).x(), window.left() + window.width() / 2.0, 1);
  EXPECT_NEAR(chart.PixelToWorld(chart.WorldToPixel(100, 0).x(), 0).x(), 100, 100 * 0.01);
}

TEST_F(ChartDrawing, MarginsGrowForLongNumbersAndCaptions) {
  const QRect plain = chart.DataWindow();
  EXPECT_EQ(plain.left(), 50);
  EXPECT_EQ(chart.width() - 1 - plain.right(), 10);
  chart.SetRangeLoY(123456.25);
  chart.SetRangeHiY(123456.75);
  chart.SetIdOrdinate("Temperature (°C)");
  chart.SetCaption("Upstream Face Temperature");
  chart.SetIdAbscissa("Time (hour)");
  const QRect grown = chart.DataWindow();
  EXPECT_GT(grown.left(), 50);
  EXPECT_GE(grown.top(), 16);
  EXPECT_GT(chart.height() - 1 - grown.bottom(), 32);
  EXPECT_EQ(chart.LRim(), 50);  // the rims themselves stay as set
}

using ChartIsometric = ChartFixture;

TEST_F(ChartIsometric, YSpanFromTheDataWindowEvenBeforeShowing) {
  EXPECT_FALSE(chart.isVisible());
  chart.SetYLabelType(ftNoScales);
  chart.SetIsometric(true);
  chart.SetRangeLoX(-1);
  chart.SetRangeHiX(11);
  const QRect w = chart.DataWindow();  // width() = right - left + 1
  const double s = chart.RangeHiY() - chart.RangeLoY();
  EXPECT_NEAR(s, 12.0 * w.height() / w.width(), 1e-12);
  chart.SetRangeLoY(-s / 2);
  EXPECT_NEAR(chart.RangeHiY(), s / 2, 1e-12);

  // A new size keeps y = 0 in the middle and the scales equal.
  chart.resize(900, 300);
  const QRect w2 = chart.DataWindow();
  const double s2 = chart.RangeHiY() - chart.RangeLoY();
  EXPECT_NEAR(s2, 12.0 * w2.height() / w2.width(), 1e-12);
  EXPECT_NEAR(chart.RangeLoY() + chart.RangeHiY(), 0, 1e-12);
  const QPoint a = chart.WorldToPixel(0, 0), b = chart.WorldToPixel(10, -10);
  EXPECT_NEAR(b.x() - a.x(), b.y() - a.y(), 1);
}

using ChartMouse = ChartFixture;

TEST_F(ChartMouse, NoneLeavesTheRangesAlone) {
  chart.SetMouseAction(maNone);
  const QRect w = chart.DataWindow();
  Drag(w.center(), w.center() + QPoint(60, 40));
  ExpectRanges(0, 10, 0, 10, 0);
}

TEST_F(ChartMouse, PanMovesThePictureWithTheCursor) {
  chart.SetMouseAction(maPan);
  const QRect w = chart.DataWindow();
  const QPoint from = w.center(), to = from + QPoint(64, -37);
  const QPointF grabbed = chart.PixelToWorld(from.x(), from.y());
  Drag(from, to);
  const QPointF now = chart.PixelToWorld(to.x(), to.y());
  EXPECT_NEAR(now.x(), grabbed.x(), 1e-9);
  EXPECT_NEAR(now.y(), grabbed.y(), 1e-9);
  EXPECT_NEAR(chart.RangeHiX() - chart.RangeLoX(), 10, 1e-9);
  EXPECT_NEAR(chart.RangeHiY() - chart.RangeLoY(), 10, 1e-9);
  EXPECT_LT(chart.RangeLoX(), 0);  // dragged right: smaller x come into view
  EXPECT_LT(chart.RangeLoY(), 0);  // dragged up: smaller y come into view
}

TEST_F(ChartMouse, RubberBandZoomsToItsExtent) {
  chart.SetMouseAction(maZoomWindPos);
  const QRect w = chart.DataWindow();
  const QPoint a = w.topLeft() + QPoint(100, 200), b = w.topLeft() + QPoint(40, 60);
  const QPointF wa = chart.PixelToWorld(a.x(), a.y()), wb = chart.PixelToWorld(b.x(), b.y());
  Drag(a, b);
  ExpectRanges(wb.x(), wa.x(), wa.y(), wb.y());

  // Zero width changes nothing; neither does a band cancelled with the right button.
  const double loX = chart.RangeLoX(), hiX = chart.RangeHiX(), loY = chart.RangeLoY(), hiY = chart.RangeHiY();
  Drag(a, QPoint(a.x(), a.y() + 50));
  ExpectRanges(loX, hiX, loY, hiY, 0);
  Mouse(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, a + QPoint(80, 80), Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonPress, a + QPoint(80, 80), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
  Mouse(QEvent::MouseButtonRelease, a + QPoint(80, 80), Qt::LeftButton, Qt::RightButton);
  ExpectRanges(loX, hiX, loY, hiY, 0);
}

TEST_F(ChartMouse, RubberBandStaysInsideAndIsSquareWhenIsometric) {
  chart.SetMouseAction(maZoomWindPos);
  const QRect w = chart.DataWindow();
  // Dragged out past the bottom right corner: the band ends at the window's edge.
  const QPoint a = w.center();
  const QPointF corner = chart.PixelToWorld(w.right(), w.bottom());
  Drag(a, w.bottomRight() + QPoint(40, 40));
  EXPECT_NEAR(chart.RangeHiX(), corner.x(), 1e-9);
  EXPECT_NEAR(chart.RangeLoY(), corner.y(), 1e-9);

  chart.SetIsometric(true);
  const double spanX = chart.RangeHiX() - chart.RangeLoX();
  const QPoint c = chart.DataWindow().center();
  Drag(c, c + QPoint(-90, 30));
  // A square of 90 pixels: both spans shrink by the same factor and stay isometric.
  const double factor = (chart.RangeHiX() - chart.RangeLoX()) / spanX;
  EXPECT_NEAR(factor, 90.0 / chart.DataWindow().width(), 1e-9);
  const QRect w2 = chart.DataWindow();
  EXPECT_NEAR(chart.RangeHiY() - chart.RangeLoY(),
              (chart.RangeHiX() - chart.RangeLoX()) * w2.height() / w2.width(), 1e-9);
}

TEST_F(ChartMouse, DragZoomsAboutTheCentreOfThePressRanges) {
  chart.SetMouseAction(maZoomDrag);
  const QPoint from = chart.DataWindow().center();
  Drag(from, from + QPoint(70, 42));
  const double fx = 1 - 70.0 / chart.width(), fy = 1 + 42.0 / chart.height();
  ExpectRanges(5 - 5 * fx, 5 + 5 * fx, 5 - 5 * fy, 5 + 5 * fy);
  // A right-button press during the drag puts the ranges back.
  Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, from + QPoint(-50, 0), Qt::NoButton, Qt::LeftButton);
  EXPECT_GT(chart.RangeHiX() - chart.RangeLoX(), 10 * fx);
  Mouse(QEvent::MouseButtonPress, from + QPoint(-50, 0), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
  ExpectRanges(5 - 5 * fx, 5 + 5 * fx, 5 - 5 * fy, 5 + 5 * fy);
}

TEST_F(ChartMouse, EveryMoveReportsWorldCoordinates) {
  struct Report {
    bool inChart;
    double x, y;
  };
  std::vector<Report> reports;
  QObject::connect(&chart, &TRChart::OnMouseMoveInChart,
                   [&](bool inChart, Qt::KeyboardModifiers, double x, double y) { reports.push_back({inChart, x, y}); });
  const QRect w = chart.DataWindow();
  const QPoint inside = w.topLeft() + QPoint(123, 45), margin(10, w.bottom() + 12);
  Mouse(QEvent::MouseMove, inside, Qt::NoButton, Qt::NoButton);
  Mouse(QEvent::MouseMove, margin, Qt::NoButton, Qt::NoButton);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_TRUE(reports[0].inChart);
  EXPECT_DOUBLE_EQ(reports[0].x, chart.PixelToWorld(inside.x(), inside.y()).x());
  EXPECT_DOUBLE_EQ(reports[0].y, chart.PixelToWorld(inside.x(), inside.y()).y());
  EXPECT_EQ(chart.WorldToPixel(reports[0].x, reports[0].y), inside);
  EXPECT_FALSE(reports[1].inChart);
  EXPECT_LT(reports[1].x, 0);  // left of the data window
  EXPECT_LT(reports[1].y, 0);  // below it
}

}  // namespace
}  // namespace kolma::ui
