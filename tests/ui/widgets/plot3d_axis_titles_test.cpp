// The 3-D plot names what its axes measure: each title is written once, in bold, away from
// the box, whatever side of it the viewer stands on.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ui/widgets/plot3d_scene.h"

namespace kolma::ui {
namespace {

// Keeps the texts, where they were written and whether in bold.
struct TTextCanvas final : TCanvas {
  struct TText { std::string text; TPoint at; bool bold; };
  std::vector<TText> texts;
  bool bold = false;
  void SetPen(const TPen&) override {}
  void SetBrush(const TBrush&) override {}
  void SetFont(const TFont& font) override { bold = font.bold; }
  void MoveTo(TPoint) override {}
  void LineTo(TPoint) override {}
  void Polyline(std::span<const TPoint>) override {}
  void Polygon(std::span<const TPoint>) override {}
  void Rectangle(int, int, int, int) override {}
  void Text(TPoint p, std::string_view text, TTextAlign) override { texts.push_back({std::string(text), p, bold}); }
};

TEST(Plot3DAxisTitles, EachTitleOnceBeyondItsNumbers) {
  for (double turn : {45.0, 135.0, 225.0, 315.0}) {
    SCOPED_TRACE(turn);
    TPlot3DSettings settings;
    settings.centX = settings.centY = 200;
    settings.viewAngleZ = turn;
    settings.axes[0].high = 8760;
    settings.axes[1].high = 10;
    settings.axes[2].high = 30;
    settings.axisTitles = {"Time (h)", "X (m)", "T (°C)"};
    TMatrix grid(3, 3);
    grid.Fill(15);
    TTextCanvas canvas;
    TPlot3DScene(settings, grid, 400, 400).Paint(canvas, false);
    for (int axis = 0; axis < 3; ++axis) {
      const std::string& title = settings.axisTitles[static_cast<std::size_t>(axis)];
      int found = 0;
      double titleDistance = 0;  // the title sits outside the box, away from the centre
      for (const auto& t : canvas.texts) {
        if (t.text != title) continue;
        ++found;
        EXPECT_TRUE(t.bold);
        titleDistance = std::hypot(t.at.x - 200.0, t.at.y - 200.0);
      }
      EXPECT_EQ(found, 1) << title;
      EXPECT_GT(titleDistance, 60) << title;
    }
  }
}

}  // namespace
}  // namespace kolma::ui
