// The profile view through its real window: stepping, ranges, the decomposition overlay
// in the picture, and the hand-over to the section values.
#include "ui/results/temp_time_dlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>

#include "tests/ui/dialogs/dialog_fixture.h"
#include "tests/ui/results/direct_results_fixture.h"
#include "ui/results/profile_step_bar.h"
#include "ui/results/section_values_dlg.h"
#include "ui/widgets/chart_mouse_modes.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {
namespace {

using testing::SetDirectResults;

class TempTimeDlg : public testing::TDialogFixture<TTempTimeDlg> {
 protected:
  void Show() {
    dialog().show();
    QApplication::processEvents();
  }
  TRChart& chart() { return *dialog().Chart(); }
  QString Text(const char* label) { return Find<QLabel>(label)->text(); }
  void Click(const char* button) { Find<QAbstractButton>(button)->click(); }
  int Step() { return dialog().StepBar()->Position(); }
};

TEST_F(TempTimeDlg, StepButtonsFollowTheTimeStepAndStopAtBothEnds) {
  const char* const names[6] = {"ButtonMinus24", "ButtonMinus12", "ButtonMinus1",
                                "ButtonPlus1",   "ButtonPlus12",  "ButtonPlus24"};
  struct Case {
    double dt;
    int from;
    const char* button;
    int to;
    const char* time;     // time label after the move
    const char* enabled;  // one letter per button above: x enabled, . disabled
  };
  const Case cases[] = {
      {24, 5, "ButtonPlus24", 6, "Current time =  120 hours", "x....x"},
      {12, 5, "ButtonMinus12", 4, "Current time =   36 hours", "xx..xx"},
      {1, 5, "ButtonPlus12", 17, "Current time =   16 hours", "xxxxxx"},
      {1, 30, "ButtonPlus24", 40, "Current time =   39 hours", "xxxxxx"},
      {1, 20, "ButtonMinus24", 1, "Current time =    0 hours", "xxxxxx"},
      // Half-hour steps: +1h moves two steps; the displayed hours round halves to even.
      {0.5, 2, "ButtonPlus1", 4, "Current time =    2 hours", "xxxxxx"},
      {0.5, 4, "ButtonPlus1", 6, "Current time =    2 hours", "xxxxxx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.dt << " h from " << c.from << " " << c.button);
    dialog_.reset();
    SetDirectResults(project, 0, 10, 10, 40, c.dt, [](double x, int k) { return x + k; });
    Show();
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(Text("LabelTime"), "Current time =    0 hours");
    for (int b = 0; b < 6; ++b) EXPECT_EQ(Find<QPushButton>(names[b])->isEnabled(), c.enabled[b] == 'x') << names[b];
    dialog().StepBar()->SetPosition(c.from);
    Click(c.button);
    EXPECT_EQ(Step(), c.to);
    EXPECT_EQ(Text("LabelTime"), c.time);
  }
  // The track bar itself keeps to 1..K at both ends.
  QSlider* track = Find<QSlider>("TrackBar");
  EXPECT_EQ(track->minimum(), 1);
  EXPECT_EQ(track->maximum(), 40);
  track->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(Text("LabelTime"), "Current time =   20 hours");
  track->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(Step(), 40);
  track->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(Text("LabelTime"), "Current time =    0 hours");
}

TEST_F(TempTimeDlg, RangesFrameTheFieldAndAZoomSurvivesStepping) {
  // Every temperature between 4.6 and 17.2 °C, the extremes at different steps.
  SetDirectResults(project, 0, 10, 10, 30, 24, [](double x, int k) { return 4.6 + 12.6 * (x / 10) * (k - 1) / 29; });
  Show();
  EXPECT_DOUBLE_EQ(chart().RangeLoX(), -0.5);
  EXPECT_DOUBLE_EQ(chart().RangeHiX(), 10.5);
  EXPECT_DOUBLE_EQ(chart().RangeLoY(), 4);
  EXPECT_DOUBLE_EQ(chart().RangeHiY(), 18);

  for (const TMouseModeTool& m : kMouseModeTools) {
    Click(m.name);
    EXPECT_EQ(chart().MouseAction(), m.mode) << m.name;
  }
  chart().SetRangeLoX(2);
  chart().SetRangeHiX(6);
  chart().SetRangeLoY(8);
  chart().SetRangeHiY(12);
  Click("ButtonPlus24");
  Click("ButtonPlus24");
  EXPECT_EQ(Step(), 3);
  EXPECT_EQ(chart().RangeLoX(), 2);
  EXPECT_EQ(chart().RangeHiY(), 12);
  // Each step replaces the last one's drawing: 11 marks and 10 lines, no more.
  EXPECT_EQ(chart().Items().size(), 21u);
  Click("ButtonViewAll");
  EXPECT_DOUBLE_EQ(chart().RangeLoX(), -0.5);
  EXPECT_DOUBLE_EQ(chart().RangeHiX(), 10.5);
  EXPECT_DOUBLE_EQ(chart().RangeLoY(), 4);
  EXPECT_DOUBLE_EQ(chart().RangeHiY(), 18);
}

bool Greenish(QRgb c) { return qGreen(c) >= 90 && qRed(c) < 90 && qBlue(c) < 90; }
// Green over red: the background is grey-white, the blue profile under the green line has
// neither, so this picks out the green line even where it is antialiased over the blue.
int Greenness(QRgb c) { return qGreen(c) - qRed(c); }
bool Reddish(QRgb c) { return qRed(c) >= 180 && qGreen(c) < 90 && qBlue(c) < 90; }

TEST_F(TempTimeDlg, ResolvedLinearProfileShowsTheStraightLineThroughEveryMarker) {
  // A section away from x = 0 with graded nodes; step 2 is linear from 8 to 17 °C.
  SetDirectResults(project, 2, 12, 10, 5, 24, [](double x, int k) { return k == 2 ? 8 + 0.9 * (x - 2) : 10.0; });
  Show();
  EXPECT_FALSE(Find<QLabel>("LabelTm")->isVisible());
  Find<QCheckBox>("CheckBoxResolve")->setChecked(true);
  dialog().StepBar()->SetPosition(2);
  EXPECT_TRUE(Find<QLabel>("LabelTm")->isVisible());
  EXPECT_EQ(Text("LabelTm"), "Tm =  12.50 °C");
  EXPECT_EQ(Text("LabelTd"), "Td =   9.00 °C");

  const QImage picture = chart().RenderPicture(false);
  const TVector& x = project.SectionProperties.Nodes;
  for (int i = 1; i <= 11; ++i) {
    // The markers are painted over the line, so the line is looked for just beside each
    // one: in those columns its greenest pixel lies on the profile through the marker.
    const QPoint marker = chart().WorldToPixel(x.Element(i), 8 + 0.9 * (x.Element(i) - 2));
    for (int side : {-6, 6}) {
      if ((i == 1 && side < 0) || (i == 11 && side > 0)) continue;
      const double xw = chart().PixelToWorld(marker.x() + side, 0).x();
      const QPoint expected = chart().WorldToPixel(xw, 8 + 0.9 * (xw - 2));
      QPoint best = expected;
      for (int dy = -4; dy <= 4; ++dy)
        if (Greenness(picture.pixel(expected + QPoint(0, dy))) > Greenness(picture.pixel(best)))
          best = expected + QPoint(0, dy);
      EXPECT_LE(std::abs(best.y() - expected.y()), 1) << "node " << i << " side " << side;
      EXPECT_GT(Greenness(picture.pixel(best)), 30) << "node " << i << " side " << side;
    }
  }
  // Along the red line, the green one crosses at mid-thickness and nowhere else.
  const QPoint middle = chart().WorldToPixel(7, 12.5);
  const QRect window = chart().DataWindow();
  int reds = 0;
  for (int px = window.left() + 1; px < window.right(); ++px) {
    const QRgb c = picture.pixel(px, middle.y());
    if (Greenish(c)) {
      EXPECT_LE(std::abs(px - middle.x()), 2) << px;
    }
    reds += Reddish(c);
  }
  EXPECT_GT(reds, chart().WorldToPixel(12, 0).x() - chart().WorldToPixel(2, 0).x() - 12);
}

TEST_F(TempTimeDlg, ShowValuesOpensTheSectionValuesAtTheCurrentStep) {
  SetDirectResults(project, 0, 10, 10, 30, 1, [](double x, int k) { return x * k; });
  Show();
  dialog().StepBar()->SetPosition(17);
  int shownStep = 0;
  dialog().RunDialog = [&](QDialog& values) {
    values.show();
    shownStep = static_cast<TSectionValuesDlg&>(values).StepBar()->Position();
    return 0;
  };
  Click("ButtonShowValues");
  EXPECT_EQ(shownStep, 17);
}

}  // namespace
}  // namespace kolma::ui
