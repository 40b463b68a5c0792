// The 3-D plot widget, run offscreen: mouse actions on the view, and the copied and exported
// metafile as an independent player (libwmf's wmf2svg) draws it.
#include "ui/widgets/plot3d.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <set>
#include <sstream>

#include "core/formats/metafile_canvas.h"
#include "tests/core/formats/reader_tools.h"

// The readers' helpers are built into the core tests only; this executable compiles its own copy.
#include "tests/core/formats/reader_tools.cpp"  // NOLINT(bugprone-suspicious-include)

namespace kolma::ui {
namespace {

// What OnMouseAction said, each time.
struct TReport {
  int centX, centY;
  double tilt, turn, magnification;
  Qt::KeyboardModifiers shift;
};

struct PlotFixture : ::testing::Test {
  TPlot3D plot;
  std::vector<TReport> reports;
  void SetUp() override {
    QObject::connect(&plot, &TPlot3D::OnMouseAction, [this](int x, int y, double tilt, double turn, double m,
                                                            Qt::KeyboardModifiers shift) {
      reports.push_back({x, y, tilt, turn, m, shift});
    });
    plot.resize(400, 400);
    plot.SurfaceGrid().Resize(6, 4);
    for (int c = 1; c <= 6; ++c)
      for (int r = 1; r <= 4; ++r) plot.SurfaceGrid().SetElement(c, r, 10 * c + r);
    plot.SetRangeXLow(0);
    plot.SetRangeXHigh(100);
    plot.SetRangeYLow(0);
    plot.SetRangeYHigh(10);
    plot.SetRangeZLow(0);
    plot.SetRangeZHigh(100);
    plot.SetColorScaleLow(0);
    plot.SetColorScaleHigh(70);
  }
  void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(p), QPointF(plot.mapToGlobal(p)), button, buttons, Qt::ShiftModifier);
    QCoreApplication::sendEvent(&plot, &event);
  }
  void Drag(QPoint from, QPoint to, Qt::MouseButton button) {
    Mouse(QEvent::MouseButtonPress, from, button, button);
    Mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button);
    Mouse(QEvent::MouseMove, to, Qt::NoButton, button);
    Mouse(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
  }
};

TEST_F(PlotFixture, MouseDragsChangeTheViewAndReportIt) {
  struct Case {
    T3DMouseAction action;
    Qt::MouseButton button;
    QPoint drag;  // from the middle of the 400 x 400 control
    double tilt, turn, magnification;
    int centX, centY;
  } cases[] = {
      {T3DMouseAction::maRotate, Qt::LeftButton, {100, 50}, 54 + 45, 225 + 90, 1, 200, 200},
      {T3DMouseAction::maRotate, Qt::LeftButton, {200, 200}, 180, 45, 1, 200, 200},  // tilt stops, turn wraps
      {T3DMouseAction::maRotXOnly, Qt::LeftButton, {100, 200}, 54 + 180, 225, 1, 200, 200},
      {T3DMouseAction::maRotZOnly, Qt::LeftButton, {100, 100}, 54, 225 - 90, 1, 200, 200},
      {T3DMouseAction::maZoom, Qt::LeftButton, {30, -100}, 54, 225, 1.5, 200, 200},
      {T3DMouseAction::maZoom, Qt::LeftButton, {0, 200}, 54, 225, 0.5, 200, 200},
      {T3DMouseAction::maRotAndZoom, Qt::RightButton, {100, -200}, 54, 225, 2, 200, 200},
      {T3DMouseAction::maRotAndZoom, Qt::LeftButton, {100, 0}, 54, 225 + 90, 1, 200, 200},
      {T3DMouseAction::maPan, Qt::LeftButton, {-30, 40}, 54, 225, 1, 170, 240},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "action " << static_cast<int>(c.action) << " drag " << c.drag.x() << ","
                                    << c.drag.y());
    plot.SetViewAngleX(54);
    plot.SetViewAngleZ(225);
    plot.SetMagnification(1);
    plot.SetCentX(200);
    plot.SetCentY(200);
    plot.SetMouseAction(c.action);
    reports.clear();
    Drag({200, 200}, QPoint(200, 200) + c.drag, c.button);
    EXPECT_NEAR(plot.ViewAngleX(), c.tilt, 1e-9);
    EXPECT_NEAR(plot.ViewAngleZ(), c.turn, 1e-9);
    EXPECT_NEAR(plot.Magnification(), c.magnification, 1e-9);
    EXPECT_EQ(plot.CentX(), c.centX);
    EXPECT_EQ(plot.CentY(), c.centY);
    ASSERT_EQ(reports.size(), 2u);  // one per move
    const TReport& last = reports.back();
    EXPECT_EQ(last.centX, c.centX);
    EXPECT_EQ(last.centY, c.centY);
    EXPECT_NEAR(last.tilt, c.tilt, 1e-9);
    EXPECT_NEAR(last.turn, c.turn, 1e-9);
    EXPECT_NEAR(last.magnification, c.magnification, 1e-9);
    EXPECT_EQ(last.shift, Qt::ShiftModifier);
  }

  // No action, or the right button outside Rotate and Zoom: nothing moves, nothing is reported.
  for (auto [action, button] : {std::pair{T3DMouseAction::maNone, Qt::LeftButton},
                                std::pair{T3DMouseAction::maRotate, Qt::RightButton}}) {
    plot.SetMouseAction(action);
    reports.clear();
    Drag({200, 200}, {300, 300}, button);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(plot.ViewAngleZ(), 225);
  }

  plot.ResetView();
  EXPECT_EQ(plot.ViewAngleX(), 66);
  EXPECT_EQ(plot.ViewAngleZ(), 135);
}

// What wmf2svg drew from the metafile, listed by wmf_listing.py: one line per shape or text.
std::vector<std::string> ListMetafile(const std::filesystem::path& file) {
  const kolma::test::TCommandOutput run = kolma::test::RunCommand(
      "python3 " + kolma::test::ShellQuote(kolma::test::ScriptPath("wmf_listing.py").string()) + " " +
      kolma::test::ShellQuote(file.string()));
  EXPECT_EQ(run.status, 0) << run.output;
  std::vector<std::string> lines;
  std::istringstream in(run.output);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(PlotFixture, ExportedMetafileHoldsEveryCellAndTheAxisNumbers) {
  ASSERT_TRUE(kolma::test::HaveWmf2Svg()) << kolma::test::kInstallHint;
  plot.SetBoundBoxStyle(TBoundBoxStyle::bbNone);
  plot.SetColorBakGnd(Qt::white);
  plot.SetDecPlaceX(1);
  plot.SetDecPlaceY(2);
  plot.SetDecPlaceZ(0);
  const std::filesystem::path folder = kolma::test::FreshFolder("plot3d");
  const TMetafileExport written = plot.ExportMetafile(QString::fromStdString((folder / "surface.v2.emf").string()));
  ASSERT_TRUE(written.ok) << written.reason;
  EXPECT_EQ(written.path, folder / "surface.wmf");

  int cells = 0;
  std::set<std::string> texts;
  for (const std::string& line : ListMetafile(written.path)) {
    EXPECT_NE(line.rfind("problem", 0), 0u) << line;
    if (line.rfind("polygon\t", 0) == 0 && line.rfind("polygon\twhite", 0) != 0) ++cells;
    if (line.rfind("text\t", 0) == 0) texts.insert(line.substr(line.rfind('\t') + 1));
  }
  EXPECT_EQ(cells, 5 * 3);
  // Round ends of each range are ticks; each axis writes its own decimals.
  for (const char* label : {"0.0", "100.0", "0.00", "10.00", "0", "100"}) EXPECT_TRUE(texts.count(label)) << label;

  // The copy holds the same metafile, and a bitmap of the same picture beside it.
  plot.CopyMetafileToClipboard();
  const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(copied, nullptr);
  const std::vector<std::uint8_t> bytes = kolma::test::ReadBytes(written.path);
  EXPECT_EQ(copied->data("image/x-wmf"), QByteArray(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), plot.RenderImage());
}

}  // namespace
}  // namespace kolma::ui
