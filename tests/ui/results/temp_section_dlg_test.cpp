// The time-history view driven as a user would, offscreen: its four views, the average
// curves with wrap-around at both ends (drawn apart there), the legend, thermometer names,
// the desktop's decimal separator, the ranges and captions of the derived curves, the
// stress view of a section without a finite stress factor, and what "Show values" shows.
#include "ui/results/temp_section_dlg.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <numbers>

#include "core/analysis/thermal_decomposition.h"
#include "core/model/node_distribution.h"
#include "core/model/project.h"
#include "tests/ui/scripted_prompts.h"
#include "ui/results/stat_values_dlg.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {
namespace {

using testing::TScriptedPrompts;

const QColor kRed(255, 0, 0), kGreen(0, 128, 0), kBlue(0, 0, 255);
const QColor kPaleRed(255, 127, 127), kPaleGreen(127, 191, 127), kPaleBlue(127, 127, 255);

// Restores the decimal point however a test ends.
struct TCommaSeparator {
  TCommaSeparator() { SetDecimalSeparator(','); }
  ~TCommaSeparator() { SetDecimalSeparator('.'); }
};

class TempSectionDlgTest : public ::testing::Test {
 protected:
  TempSectionDlgTest() {
    project.InitDefaults();
    TSectionProperties& s = project.SectionProperties;
    s.NbDivisions = 4;
    s.Xu = 0.0;
    s.Xd = 10.0;
    ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, 1.0);
  }

  void SetField(int steps, double timeStep, const std::function<double(int, int)>& t) {
    TDirectResults& direct = project.DirectResults;
    direct.TimeStep = timeStep;
    direct.Temperatures = TMatrix(project.SectionProperties.NbDivisions + 1, steps);
    for (int k = 1; k <= steps; ++k)
      for (int i = 1; i <= project.SectionProperties.NbDivisions + 1; ++i) direct.Temperatures.SetElement(i, k, t(i, k));
    project.ProjectFlags |= pfDirectResults;
  }
  // Warm in the middle and warmer downstream, swinging over the steps: every derived curve
  // is far from zero and from the temperatures.
  void SetCurvedField(int steps = 60, double timeStep = 24.0) {
    SetField(steps, timeStep, [steps](int i, int k) {
      const double x = (i - 1) * 2.5;
      return 15.0 + std::sin(2 * std::numbers::pi * k / steps) * (10.0 * x * (10.0 - x) / 25.0 + x);
    });
  }

  TTempSectionDlg& Open(int mode) {
    dialog = std::make_unique<TTempSectionDlg>(project, mode);
    dialog->show();
    return *dialog;
  }
  template <class T>
  T* Find(const char* name) {
    T* w = dialog->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Choose(const char* list, int index) { Find<QComboBox>(list)->setCurrentIndex(index); }

  // The table "Show values" opens; empty when it opened none.
  TResultTable ShownValues() {
    TResultTable shown;
    dialog->RunDialog = [&shown](QDialog& d) {
      shown = static_cast<TStatValuesDlg&>(d).Grid()->Table();
      return int(QDialog::Accepted);
    };
    Find<QPushButton>("ButtonShowValues")->click();
    return shown;
  }
  // The points of the polyline drawn in one colour.
  std::vector<QPointF> Drawn(const QColor& colour) const {
    std::vector<QPointF> points;
    for (const TChartItem& item : dialog->Chart()->Items()) {
      if (item.kind != ChartItemKind::Line || item.color != colour) continue;
      if (points.empty()) points.emplace_back(item.x1, item.y1);
      points.emplace_back(item.x2, item.y2);
    }
    return points;
  }
  // x -> y of every line drawn in one colour, whatever polylines they belong to.
  std::map<double, double> Curve(const QColor& colour) const {
    std::map<double, double> points;
    for (const TChartItem& item : dialog->Chart()->Items()) {
      if (item.kind != ChartItemKind::Line || item.color != colour) continue;
      points[item.x1] = item.y1;
      points[item.x2] = item.y2;
    }
    return points;
  }
  std::vector<std::string> LegendTitles() const {
    std::vector<std::string> titles;
    for (const TLegendEntry& entry : dialog->Chart()->Legend()) titles.push_back(entry.title.toStdString());
    return titles;
  }
  void ExpectDrawnInsideRange() const {
    const TRChart& chart = *dialog->Chart();
    for (const TChartItem& item : chart.Items())
      for (double y : {item.y1, item.y2}) {
        EXPECT_GE(y, chart.RangeLoY());
        EXPECT_LE(y, chart.RangeHiY());
      }
  }

  Project project;
  TScriptedPrompts prompts;
  std::unique_ptr<TTempSectionDlg> dialog;
};

TEST_F(TempSectionDlgTest, MovingAverageWrapsAroundBothEndsAndIsDrawnApartThere) {
  // The node's temperature is the step number, so a window's mean tells which steps it holds:
  // with 24 h steps a week is 7 steps and step 1 averages steps 18..20 and 1..5; with 1 h
  // steps it is 168 steps and step 1 averages 317..400 and 1..85. The windows of steps
  // 4..16 (85..316) stay inside the record; before and after they wrap, and there the
  // averages are drawn pale and dotted under a legend entry of their own.
  struct Case {
    double timeStep;
    int steps;
    double firstMean, lastMean;
    const char* secondTime;
    int cleanFirst, cleanLast;  // 0-based steps
  } cases[] = {
      {24.0, 20, 72.0 / 8, 84.0 / 8, "24.00000", 3, 15},
      {1.0, 400, 33769.0 / 169, 34000.0 / 169, "1.00000", 84, 315},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.timeStep);
    SetField(c.steps, c.timeStep, [](int, int k) { return double(k); });
    Open(0);
    Choose("ComboAverage", 1);  // "1-week cycle"
    std::map<double, double> mean = Curve(kGreen);
    const std::map<double, double> wrapped = Curve(kPaleGreen);
    const double cleanFrom = c.cleanFirst * c.timeStep, cleanTo = c.cleanLast * c.timeStep;
    EXPECT_EQ(mean.begin()->first, cleanFrom);
    EXPECT_EQ(mean.rbegin()->first, cleanTo);
    for (const auto& [x, y] : wrapped) EXPECT_TRUE(x <= cleanFrom || x >= cleanTo) << x;
    mean.insert(wrapped.begin(), wrapped.end());
    ASSERT_EQ(mean.size(), size_t(c.steps));
    EXPECT_NEAR(mean.begin()->second, c.firstMean, 1e-9);
    EXPECT_NEAR(mean.rbegin()->second, c.lastMean, 1e-9);
    EXPECT_DOUBLE_EQ(mean.rbegin()->first, (c.steps - 1) * c.timeStep);
    for (const auto& [solid, pale] : {std::pair{kRed, kPaleRed}, std::pair{kBlue, kPaleBlue}}) {
      EXPECT_EQ(Curve(solid).size(), size_t(c.cleanLast - c.cleanFirst + 1));
      EXPECT_EQ(Curve(pale).size(), size_t(c.steps - (c.cleanLast - c.cleanFirst) + 1));
    }
    for (const TChartItem& item : dialog->Chart()->Items())
      if (item.color == kPaleRed || item.color == kPaleGreen || item.color == kPaleBlue) {
        EXPECT_EQ(item.penStyle, Qt::DotLine);
        EXPECT_EQ(item.title.toStdString(), kWrappedAverageTitle);
      }
    ExpectDrawnInsideRange();

    TResultTable table = ShownValues();
    ASSERT_EQ(table.columns(), 4);
    EXPECT_EQ(table.rows(), c.steps + 2);
    EXPECT_EQ(table.cell(0, 2), "Mean");
    EXPECT_EQ(table.cell(1, 3), "(°C)");
    EXPECT_EQ(table.cell(0, 3), "Std. Deviation");
    EXPECT_EQ(table.cell(2, 2), FormatFloat("%.5f", c.firstMean));
    EXPECT_EQ(table.cell(c.steps + 1, 2), FormatFloat("%.5f", c.lastMean));
    EXPECT_EQ(table.cell(3, 0), c.secondTime);

    Choose("ComboAverage", 0);  // "no curve": the values alone
    table = ShownValues();
    EXPECT_EQ(table.columns(), 2);
    EXPECT_TRUE(Drawn(kGreen).empty());
  }
}

TEST_F(TempSectionDlgTest, EveryCurveIsDrawnInsideARangeFittedToIt) {
  SetCurvedField();
  struct Case {
    int curve, average;
    const char* ordinate;
    bool fitted;  // false: the temperature extremes with a degree of room
  } cases[] = {
      {0, 0, "Temperature (°C)", false},          {1, 0, "Linear temperatures (°C)", true},
      {2, 0, "Nonlinear temperatures (°C)", true}, {3, 0, "Stresses (MPa)", true},
      {3, 2, "Stresses (MPa)", true},             {0, 4, "Temperature (°C)", false},
  };
  Open(0);
  Choose("ComboPosition", 1);
  const TTimeViewSetup& setup = dialog->Setup();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ordinate);
    Choose("ComboCurve", c.curve);
    Choose("ComboAverage", c.average);
    TRChart& chart = *dialog->Chart();
    EXPECT_EQ(chart.IdOrdinate(), QString::fromUtf8(c.ordinate));
    ExpectDrawnInsideRange();
    double lo = 1e300, hi = -1e300;
    for (const TChartItem& item : chart.Items()) {
      lo = std::min({lo, item.y1, item.y2});
      hi = std::max({hi, item.y1, item.y2});
    }
    if (c.fitted) {
      EXPECT_GT(hi - lo, 0.8 * (chart.RangeHiY() - chart.RangeLoY()));
    } else {
      EXPECT_LE(chart.RangeLoY(), setup.ymin - 1.0);
      EXPECT_GE(chart.RangeHiY(), setup.ymax + 1.0);
    }
    // A zoom elsewhere and "View all" bring the whole curve back.
    chart.SetRangeLoY(1e4);
    chart.SetRangeHiY(2e4);
    chart.SetRangeHiX(5.0);
    Find<QPushButton>("ButtonViewAll")->click();
    EXPECT_EQ(chart.RangeHiX(), 59 * 24.0);
    ExpectDrawnInsideRange();
  }
}

TEST_F(TempSectionDlgTest, StressValuesShowTheStressOfEveryStep) {
  SetCurvedField(30, 24.0);
  Open(0);
  Choose("ComboPosition", 1);
  Choose("ComboCurve", 3);
  const TResultTable table = ShownValues();
  ASSERT_EQ(table.rows(), 32);
  ASSERT_EQ(table.columns(), 2);
  EXPECT_EQ(table.cell(0, 1), "X =    2.500 m");
  EXPECT_EQ(table.cell(1, 1), "(MPa)");
  const double s = StressFactor(project.SectionProperties).value;
  for (int k : {1, 8, 30})
    EXPECT_EQ(table.cell(k + 1, 1), FormatFloat("%.5f", Stress(project, 2, k, ComputeTmTd(project, k), s))) << k;
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(TempSectionDlgTest, StressesWithoutAFiniteFactorSayWhyOnceAndDrawNothing) {
  SetCurvedField();
  project.SectionProperties.PlaneStrain = 1;
  project.SectionProperties.Poisson = 0.5;
  Open(0);
  Choose("ComboCurve", 3);
  ASSERT_EQ(prompts.Count("message"), 1);
  EXPECT_EQ(prompts.shown[0].text.toStdString(), StressFactor(project.SectionProperties).reason);
  EXPECT_TRUE(dialog->Chart()->Items().empty());
  Choose("ComboPosition", 3);
  Choose("ComboAverage", 1);
  EXPECT_EQ(prompts.Count("message"), 1);
  EXPECT_TRUE(dialog->Chart()->Items().empty());
  EXPECT_EQ(ShownValues().rows(), 0);  // says why again, opens nothing
  EXPECT_EQ(prompts.Count("message"), 2);
  Choose("ComboCurve", 2);
  EXPECT_FALSE(dialog->Chart()->Items().empty());
  EXPECT_EQ(prompts.Count("message"), 2);
}

TEST_F(TempSectionDlgTest, ComparisonOffersTheFacesAndEveryThermometerWithSamples) {
  SetField(10, 24.0, [](int i, int k) { return 10.0 * i + k; });
  project.UpstreamHistory.Values = TVector(3);
  project.UpstreamHistory.Values.Fill(4.0);
  project.DownstreamHistory.Values = TVector(4);
  project.DownstreamHistory.Values.Fill(6.0);
  project.Thermometer(2).Values = TVector(1);  // one sample: nothing to compare
  project.Thermometer(2).Position = 1.0;
  for (int slot : {3, 5}) {
    TTemperatureInside& t = project.Thermometer(slot);
    t.Position = slot * 1.5;
    t.TimeStep = 12.0;
    t.Values = TVector(5);
    t.Values.Fill(slot);
  }
  // Named by title and position wherever shown; one without a title by its slot.
  project.Thermometer(3).Title.SetText("T3 near upstream");
  project.Thermometer(5).Position = 7.125;
  // The computed thermometer temperatures are in the columns of the occupied slots, in order.
  project.DirectResults.ThermometerTemperatures = TMatrix(2, 10);
  for (int k = 1; k <= 10; ++k) {
    project.DirectResults.ThermometerTemperatures.SetElement(1, k, 100.0 + k);
    project.DirectResults.ThermometerTemperatures.SetElement(2, k, 200.0 + k);
  }
  Open(2);
  QComboBox* positions = Find<QComboBox>("ComboPosition");
  ASSERT_EQ(positions->count(), 4);
  EXPECT_EQ(positions->itemText(0), "Upstream Face");
  EXPECT_EQ(positions->itemText(1), "T3 near upstream (4.50 m)");
  EXPECT_EQ(positions->itemText(2), "Thermometer 5 (7.125 m)");
  EXPECT_EQ(positions->itemText(3), "Downstream Face");

  struct Case {
    int index;
    double firstOutput, input;
    int inputSamples;
    double inputStep;
    const char* at;
    const char* inputKind;  // what the input history is
  } cases[] = {
      {0, 11.0, 4.0, 3, 24.0, "the upstream face", "Imposed"},
      {1, 101.0, 3.0, 5, 12.0, "T3 near upstream (4.50 m)", "Measured"},
      {2, 201.0, 5.0, 5, 12.0, "Thermometer 5 (7.125 m)", "Measured"},
      {3, 51.0, 6.0, 4, 24.0, "the downstream face", "Imposed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at);
    Choose("ComboPosition", c.index);
    const std::vector<QPointF> output = Drawn(Qt::black), input = Drawn(kRed);
    ASSERT_EQ(output.size(), 10u);
    EXPECT_EQ(output.front().y(), c.firstOutput);
    ASSERT_EQ(input.size(), size_t(c.inputSamples));
    EXPECT_EQ(input.back(), QPointF((c.inputSamples - 1) * c.inputStep, c.input));
    EXPECT_EQ(dialog->Chart()->IdOrdinate(), QString("Temperatures at %1 (°C)").arg(c.at));
    EXPECT_EQ(LegendTitles(), (std::vector<std::string>{std::string("Computed at ") + c.at,
                                                         std::string(c.inputKind) + " at " + c.at}));

    const TResultTable table = ShownValues();
    EXPECT_EQ(table.columns(), 4);
    EXPECT_EQ(table.rows(), 12);
    EXPECT_EQ(table.fixedRows(), 2);
    EXPECT_EQ(table.fixedColumns(), 0);
    EXPECT_EQ(table.cell(0, 1), std::string("Input at ") + c.at);
    EXPECT_EQ(table.cell(0, 3), std::string("Output at ") + c.at);
    EXPECT_EQ(table.cell(2, 3), FormatFloat("%.5f", c.firstOutput));
    EXPECT_EQ(table.cell(1 + c.inputSamples, 0), FormatFloat("%.5f", (c.inputSamples - 1) * c.inputStep));
    EXPECT_EQ(table.cell(2 + c.inputSamples, 1), "");  // the shorter series ends there
  }
}

TEST_F(TempSectionDlgTest, EachViewShowsItsOwnListsLegendAndTimeSpan) {
  SetCurvedField(20, 6.0);
  // The worked-back faces keep their own time step, also before any direct analysis.
  project.InverseResults.TimeStep = 12.0;
  project.InverseResults.UpstreamTemperatures = TVector(9);
  project.InverseResults.DownstreamTemperatures = TVector(9);
  project.InverseResults.DownstreamTemperatures.Fill(3.0);
  struct Case {
    int mode;
    bool positions, curves, averages, legend;
    const char* legendFirst;
    double viewAllHiX;
    int lines;
  } cases[] = {
      {0, true, true, true, false, "", 19 * 6.0, 1},
      {1, true, false, true, false, "", 8 * 12.0, 1},
      {2, true, false, false, true, "User input", 19 * 6.0, 2},
      {3, false, false, false, true, "Mean temperature", 19 * 6.0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    project.DirectResults.TimeStep = c.mode == 1 ? 0.0 : 6.0;
    if (c.mode == 2) project.UpstreamHistory.Values = TVector(5);
    Open(c.mode);
    EXPECT_EQ(dialog->windowTitle(), "TempSectionDlg");
    EXPECT_EQ(Find<QComboBox>("ComboPosition")->isVisible(), c.positions);
    EXPECT_EQ(Find<QComboBox>("ComboCurve")->isVisible(), c.curves);
    EXPECT_EQ(Find<QComboBox>("ComboAverage")->isVisible(), c.averages);
    EXPECT_EQ(Find<QWidget>("Legend")->isVisible(), c.legend);
    if (c.legend) {
      EXPECT_EQ(Find<QLabel>("LegendLabel1")->text(), c.legendFirst);
    }
    EXPECT_EQ(dialog->Plot().lines.size(), size_t(c.lines));
    Find<QPushButton>("ButtonViewAll")->click();
    EXPECT_EQ(dialog->Chart()->RangeHiX(), c.viewAllHiX);
    if (c.mode == 1) {
      Choose("ComboPosition", 1);
      EXPECT_EQ(Drawn(Qt::black).back(), QPointF(8 * 12.0, 3.0));
    }
    if (c.mode == 3) {
      const TResultTable table = ShownValues();
      EXPECT_EQ(table.cell(1, 1), "(Tm, °C)");
      EXPECT_EQ(table.cell(6, 2), FormatFloat("%.5f", ComputeTmTd(project, 5).Td));
    }
  }
}

TEST_F(TempSectionDlgTest, TheLegendNamesEveryCurveOfEachView) {
  SetCurvedField();
  project.InverseResults.TimeStep = 24.0;
  project.InverseResults.UpstreamTemperatures = TVector(60);
  project.InverseResults.DownstreamTemperatures = TVector(60);
  project.InverseResults.UpstreamExpectedError = 0.5;
  const std::string wraps = kWrappedAverageTitle;
  struct Case {
    int mode, position, curve, average;
    std::vector<std::string> titles;
  } cases[] = {
      {0, 1, 3, 1,
       {"Stress at X = 2.500 m", "Moving mean + std. deviation (1-week window)",
        "Moving mean - std. deviation (1-week window)", "Moving mean (1-week window)", wraps}},
      {1, 0, 0, 2,
       {"Upstream face, worked back", "Moving mean + std. deviation (2-week window)",
        "Moving mean - std. deviation (2-week window)", "Moving mean (2-week window)", wraps,
        "Upstream face + expected error", "Upstream face - expected error"}},
      // A record shorter than the window: every window wraps, and each curve says so.
      {0, 0, 0, 4,
       {"Temperature at X = 0.000 m",
        "Moving mean + std. deviation (1-year window), every window wraps around the record's ends",
        "Moving mean - std. deviation (1-year window), every window wraps around the record's ends",
        "Moving mean (1-year window), every window wraps around the record's ends"}},
      {3, 0, 0, 0, {"Mean temperature Tm", "Linear temperature Td"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Open(c.mode);
    Choose("ComboPosition", c.position);
    Choose("ComboCurve", c.curve);
    Choose("ComboAverage", c.average);
    EXPECT_EQ(LegendTitles(), c.titles);
    EXPECT_TRUE(dialog->Chart()->LegendVisible());
  }
}

TEST_F(TempSectionDlgTest, LabelsAndReadOutsFollowTheDesktopsDecimalSeparator) {
  const TCommaSeparator comma;
  SetCurvedField();
  TTemperatureInside& t = project.Thermometer(1);
  t.Title.SetText("T1");
  t.Position = 0.6;
  t.TimeStep = 24.0;
  t.Values = TVector(3);
  project.DirectResults.ThermometerTemperatures = TMatrix(1, 60);

  Open(0);
  Choose("ComboPosition", 1);
  EXPECT_EQ(Find<QComboBox>("ComboPosition")->currentText(), "Position    2,500 m");
  EXPECT_EQ(LegendTitles().front(), "Temperature at X = 2,500 m");
  emit dialog->Chart()->OnMouseMoveInChart(true, Qt::NoModifier, 240.0, 20.25);
  EXPECT_EQ(Find<QLabel>("LabelT")->text(), "T =  20,250 °C");
  EXPECT_EQ(ShownValues().cell(0, 1), "X =    2,500 m");

  Open(2);
  EXPECT_EQ(Find<QComboBox>("ComboPosition")->currentText(), "T1 (0,60 m)");
  EXPECT_EQ(LegendTitles().back(), "Measured at T1 (0,60 m)");
}

TEST_F(TempSectionDlgTest, MouseModesAndReadOut) {
  SetCurvedField();
  Open(0);
  dialog->resize(599, 480);
  Find<QToolButton>("ToolZoom")->click();
  EXPECT_EQ(dialog->Chart()->MouseAction(), maZoomWindPos);
  Find<QToolButton>("ToolNone")->click();
  EXPECT_EQ(dialog->Chart()->MouseAction(), maNone);

  TRChart& chart = *dialog->Chart();
  const QPoint at = chart.WorldToPixel(240.0, 20.0);
  QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(chart.mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(&chart, &move);
  const QPointF world = chart.PixelToWorld(at.x(), at.y());
  EXPECT_EQ(Find<QLabel>("LabelX")->text().toStdString(), FormatFloat("X = %7.0f h", world.x()));
  EXPECT_EQ(Find<QLabel>("LabelT")->text().toStdString(), FormatFloat("T = %7.3f °C", world.y()));
}

}  // namespace
}  // namespace kolma::ui
