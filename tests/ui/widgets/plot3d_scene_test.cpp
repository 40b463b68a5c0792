// The 3-D plot's scene without a window: where the box lands, which cells are painted first,
// the colours of heights and the axis ticks.
#include "ui/widgets/plot3d_scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kolma::ui {
namespace {

constexpr TColor kBlue{0, 0, 255}, kYellow{255, 255, 0}, kRed{255, 0, 0};

// A 400 x 400 control centred at (200, 200) over the unit ranges, with a flat 3 x 3 grid.
struct SceneFixture : ::testing::Test {
  TPlot3DSettings settings;
  TMatrix grid{3, 3};
  void SetUp() override {
    settings.centX = settings.centY = 200;
    grid.Fill(0.5);
  }
  TPlot3DScene Scene() const { return TPlot3DScene(settings, grid, 400, 400); }
};

// The corners' offsets from the centre, rounded to a tenth of a pixel.
double Dx(const TProjected& p) { return std::round((p.x - 200) * 10) / 10; }
double Dy(const TProjected& p) { return std::round((p.y - 200) * 10) / 10; }

TEST_F(SceneFixture, BoxSeenFromTheSideAndFromAbove) {
  // From the side, the viewer on the low-Y side: X to the right, Z up, the near face larger.
  settings.viewAngleX = 90;
  settings.viewAngleZ = 270;
  TPlot3DScene side = Scene();
  const TProjected nearLow = side.Corner(0), nearHigh = side.Corner(1 | 4), farLow = side.Corner(2);
  EXPECT_LT(Dx(nearLow), 0);
  EXPECT_GT(Dy(nearLow), 0);
  EXPECT_EQ(Dx(nearHigh), -Dx(nearLow));
  EXPECT_EQ(Dy(nearHigh), -Dy(nearLow));
  EXPECT_EQ(Dx(nearLow), -Dy(nearLow));
  EXPECT_GT(std::abs(Dx(nearLow)), std::abs(Dx(farLow)) + 10);  // perspective, but mild:
  EXPECT_LT(std::abs(Dx(nearLow)), 1.6 * std::abs(Dx(farLow)));
  EXPECT_GT(nearLow.depth, farLow.depth);

  // From above: a map with X to the right and Y up, the top face larger than the floor.
  settings.viewAngleX = 0;
  TPlot3DScene above = Scene();
  const TProjected topLow = above.Corner(4), topHigh = above.Corner(7), floorLow = above.Corner(0);
  EXPECT_LT(Dx(topLow), 0);
  EXPECT_GT(Dy(topLow), 0);
  EXPECT_EQ(Dx(topHigh), -Dx(topLow));
  EXPECT_EQ(Dy(topHigh), -Dy(topLow));
  EXPECT_GT(std::abs(Dx(topLow)), std::abs(Dx(floorLow)));

  // Magnification and panning scale and move the whole picture.
  settings.magnification = 2;
  settings.centX = 250;
  EXPECT_NEAR(Scene().Corner(4).x - 250, 2 * (topLow.x - 200), 1e-9);
}

TEST_F(SceneFixture, DefaultAndResetViewsLookDownOnTheBox) {
  struct Case {
    double tilt, turn;
    int nearestFloorCorner;  // bit 0: high X, bit 1: high Y
  } cases[] = {{54, 225, 0}, {66, 135, 2}, {54, 45, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "tilt " << c.tilt << " turn " << c.turn);
    settings.viewAngleX = c.tilt;
    settings.viewAngleZ = c.turn;
    TPlot3DScene scene = Scene();
    int nearest = 0;
    for (int corner = 0; corner < 4; ++corner) {
      EXPECT_LT(scene.Corner(corner | 4).y, scene.Corner(corner).y - 50);  // verticals stand up
      if (scene.Corner(corner).depth > scene.Corner(nearest).depth) nearest = corner;
    }
    EXPECT_EQ(nearest, c.nearestFloorCorner);
    EXPECT_GT(scene.Corner(nearest).y, scene.Corner(3 - nearest).y);  // the near corner lowest
  }
}

TEST_F(SceneFixture, CellsArePaintedFarToNear) {
  // Viewed from the low corner the cell there is painted last; from the high corner, first.
  for (double turn : {225.0, 45.0}) {
    settings.viewAngleZ = turn;
    const std::vector<TCellIndex> order = Scene().CellsFarToNear();
    ASSERT_EQ(order.size(), 4u);
    const TCellIndex nearCell = turn == 225 ? TCellIndex{1, 1} : TCellIndex{2, 2};
    const TCellIndex farCell = turn == 225 ? TCellIndex{2, 2} : TCellIndex{1, 1};
    EXPECT_EQ(order.back(), nearCell) << turn;
    EXPECT_EQ(order.front(), farCell) << turn;
  }
  grid.Resize(1, 3);
  EXPECT_TRUE(Scene().CellsFarToNear().empty());
}

TEST_F(SceneFixture, HeightsColouredInTwoAndThreeColours) {
  settings.colorScaleLow = 10;
  settings.colorScaleHigh = 20;
  struct Case {
    TColorCodingMode mode;
    double height;
    TColor colour;
  } cases[] = {
      {TColorCodingMode::ccmThreeColors, 10, kBlue},         {TColorCodingMode::ccmThreeColors, 15, kYellow},
      {TColorCodingMode::ccmThreeColors, 20, kRed},          {TColorCodingMode::ccmThreeColors, 17.5, {255, 128, 0}},
      {TColorCodingMode::ccmThreeColors, -99, kBlue},        {TColorCodingMode::ccmThreeColors, 99, kRed},
      {TColorCodingMode::ccmTwoColors, 10, kBlue},           {TColorCodingMode::ccmTwoColors, 15, {128, 0, 128}},
      {TColorCodingMode::ccmTwoColors, 20, kRed},            {TColorCodingMode::ccmTwoColors, std::nan(""), kBlue},
  };
  for (const Case& c : cases) {
    settings.colorCodingMode = c.mode;
    EXPECT_EQ(Scene().HeightColor(c.height), c.colour) << static_cast<int>(c.mode) << " at " << c.height;
  }

  // A cell with corners 10, 10, 10 and 30: the mean 15 is mid, its first corner low.
  settings.colorCodingMode = TColorCodingMode::ccmThreeColors;
  grid.Fill(10);
  grid.SetElement(2, 2, 30);
  EXPECT_EQ(Scene().CellColor({1, 1}), kYellow);
  settings.colorCodeAvg = false;
  EXPECT_EQ(Scene().CellColor({1, 1}), kBlue);
  EXPECT_EQ(Scene().CellColor({2, 2}), kRed);
}

TEST_F(SceneFixture, AxisTicksAtRoundValuesWithTheirDecimals) {
  settings.axes[0] = {0, 8759, 1, true, {}, 0, 3};
  settings.axes[1] = {-2.5, 12, 1, true, {}, 2, 3};
  settings.axes[2] = {3.7, 4.1, 1, true, {}, 1, 4};
  TPlot3DScene scene = Scene();
  for (int axis = 0; axis < 3; ++axis) {
    SCOPED_TRACE(axis);
    const TPlot3DAxis& a = settings.axes[static_cast<std::size_t>(axis)];
    const auto ticks = scene.AxisTicks(axis);
    ASSERT_GE(static_cast<int>(ticks.size()), a.minTick);
    const double step = ticks[1].value - ticks[0].value;
    const double decade = std::pow(10.0, std::floor(std::log10(step)));
    const double mantissa = std::round(step / decade);
    EXPECT_TRUE(mantissa == 1 || mantissa == 2 || mantissa == 5) << step;
    for (const auto& tick : ticks) {
      EXPECT_GE(tick.value, a.low - 1e-9 * step);
      EXPECT_LE(tick.value, a.high + 1e-9 * step);
      EXPECT_NEAR(std::remainder(tick.value, step), 0, 1e-9 * step) << tick.value;
      const auto point = tick.label.find('.');
      EXPECT_EQ(point == std::string::npos ? 0 : static_cast<int>(tick.label.size() - point - 1), a.decPlace)
          << tick.label;
    }
  }
  settings.axes[1].visible = false;
  EXPECT_TRUE(Scene().AxisTicks(1).empty());
}

}  // namespace
}  // namespace kolma::ui
