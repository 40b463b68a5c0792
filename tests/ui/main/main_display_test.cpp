// What the main window shows: the item list, the value list and its text file, the main
// chart pictures (checked on the grabbed window), the mouse read-out and the view tools.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <cmath>
#include <numbers>

#include "core/model/node_distribution.h"
#include "tests/ui/main/main_form_fixture.h"
#include "ui/main/item_list.h"
#include "ui/main/main_chart_drawing.h"
#include "ui/main/value_list.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui::testing {
namespace {

bool IsRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; }
bool IsGreen(QRgb c) { return qGreen(c) > 90 && qRed(c) < 90 && qBlue(c) < 90; }

// True when a pixel of the wanted kind lies within `reach` pixels of p.
template <typename Test>
bool FoundNear(const QImage& image, QPoint p, int reach, Test test) {
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx)
      if (image.valid(p + QPoint(dx, dy)) && test(image.pixel(p + QPoint(dx, dy)))) return true;
  return false;
}

int CountItems(const TRChart& chart, ChartItemKind kind, const QColor& color) {
  int n = 0;
  for (const TChartItem& item : chart.Items()) n += item.kind == kind && item.color == color;
  return n;
}

TEST_F(MainFormTest, ThermalPropertiesListTheSectionWithTheirFormats) {
  TSectionProperties& s = project().SectionProperties;
  s.Xu = -2.5;
  s.Xd = 12.25;
  s.T0 = 8.125;
  s.Diffusivity = 0.0035;
  s.Ec = 31500;
  s.Poisson = 0.2;
  s.Alpha = 0.0000095;
  s.PlaneStrain = 0;
  project().ProjectFlags = pfSection;
  form->UpdateListBox();
  form->SectionListBox1()->ClickSubItem(TItemList::SectionPart, 1);

  const std::vector<TValueRow> expected = {
      {"Upstream Coordinate", "  -2.500 m"},
      {"Downstream Coordinate", "  12.250 m"},
      {"Section length", "  14.750 m"},
      {"Reference temperature", "   8.125 °C"},
      {"Diffusivity constant", " 0.00350 m²/h"},
      {"Young's modulus", " 31500.0 MPa"},
      {"Poisson's ratio", " 0.20000"},
      {"Thermal expansion coefficient", "0.0000095 /°C"},
      {"Stress computation", "Plane stress"},
  };
  EXPECT_EQ(form->ValueListEditor()->Rows(), expected);
  EXPECT_TRUE(form->ValueListEditor()->isVisible());
  EXPECT_FALSE(form->Chart()->isVisible());
  EXPECT_EQ(form->ValueListEditor()->geometry(), form->ClientArea()->rect());

  // Shown again, the rows are replaced, not appended.
  s.PlaneStrain = 1;
  form->SectionListBox1()->ClickSubItem(TItemList::SectionPart, 1);
  EXPECT_EQ(form->ValueListEditor()->rowCount(), 9);
  EXPECT_EQ(form->ValueListEditor()->Rows().back().second, QStringLiteral("Plane strain"));

  // Geometry brings the chart back in place of the list.
  form->SectionListBox1()->ClickSubItem(TItemList::SectionPart, 0);
  EXPECT_FALSE(form->ValueListEditor()->isVisible());
  EXPECT_TRUE(form->Chart()->isVisible());
  EXPECT_EQ(form->Chart()->geometry(), form->ClientArea()->rect());
}

TEST_F(MainFormTest, ValueListIsSavedAsKeyEqualsValueLines) {
  project().ProjectFlags = pfSection;
  form->UpdateListBox();
  form->SectionListBox1()->ClickSubItem(TItemList::SectionPart, 1);
  const QString path = Scratch("values.txt");
  prompts.fileAnswers.push_back(path);
  form->ValueListEditor()->SaveToFileAction()->trigger();
  ASSERT_EQ(prompts.Count("save"), 1);
  EXPECT_EQ(prompts.shown.back().caption, QStringLiteral("Save to file"));
  EXPECT_TRUE(prompts.shown.back().text.isEmpty());  // no filter

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  const QList<QByteArray> lines = text.split('\n');
  ASSERT_EQ(lines.size(), 10);  // nine lines and the empty rest after the last line end
  EXPECT_EQ(lines[0], QByteArray("Upstream Coordinate=   0.000 m\r"));
  EXPECT_EQ(lines[8], QByteArray("Stress computation=Plane stress\r"));
  EXPECT_TRUE(text.endsWith("\r\n"));
  EXPECT_EQ(text.count("\r\n"), 9);

  // A file that cannot be made is reported, and the window carries on.
  const QString bad = Scratch("no-folder/values.txt");
  prompts.fileAnswers.push_back(bad);
  form->ValueListEditor()->SaveToFileAction()->trigger();
  ASSERT_EQ(prompts.Count("message"), 1);
  EXPECT_EQ(prompts.shown.back().icon, PromptIcon::Critical);
  EXPECT_TRUE(prompts.shown.back().text.contains(QDir::toNativeSeparators(bad)));

  // Cancelled: nothing written, nothing said.
  prompts.fileAnswers.push_back(QString());
  form->ValueListEditor()->SaveToFileAction()->trigger();
  EXPECT_EQ(prompts.Count("message"), 1);
}

TEST_F(MainFormTest, SectionPictureShowsRedNodeCrossesWhereTheChartPutsThem) {
  form->resize(900, 600);
  OpenFile(ExamplePath("annual-daily-10m.kol"));
  QApplication::processEvents();
  TRChart& chart = *form->Chart();
  const TSectionProperties& s = project().SectionProperties;
  ASSERT_EQ(s.Xu, 0);
  ASSERT_EQ(s.Xd, 10);

  EXPECT_DOUBLE_EQ(chart.RangeLoX(), -1);
  EXPECT_DOUBLE_EQ(chart.RangeHiX(), 11);
  EXPECT_NEAR(chart.RangeLoY(), -chart.RangeHiY(), 1e-9);
  EXPECT_TRUE(chart.Isometric());
  EXPECT_EQ(chart.YLabelType(), ftNoScales);
  // Isometric: one metre has the same length in pixels on both axes.
  const QPoint origin = chart.WorldToPixel(0, 0);
  const QPoint right = chart.WorldToPixel(5, 0);
  const QPoint up = chart.WorldToPixel(0, 5);
  EXPECT_NEAR(right.x() - origin.x(), origin.y() - up.y(), 1.5);

  // Labels above the faces at a tenth of the upper bound.
  int labels = 0;
  for (const TChartItem& item : chart.Items())
    if (item.kind == ChartItemKind::Text) {
      ++labels;
      EXPECT_NEAR(item.y1, chart.RangeHiY() / 10, 1e-9);
      EXPECT_EQ(item.x1, item.text == QLatin1String("Xu") ? s.Xu : s.Xd);
    }
  EXPECT_EQ(labels, 4);  // black, then green again for both faces with a history
  EXPECT_EQ(CountItems(chart, ChartItemKind::Mark, kNodeColor), 11);

  const QImage picture = form->grab().toImage();
  picture.save(QDir::temp().filePath(QStringLiteral("kolma_main_section.png")));
  for (int k = 1; k <= s.Nodes.NrOfElem(); ++k) {
    SCOPED_TRACE(k);
    const QPoint p = chart.mapTo(form.get(), chart.WorldToPixel(s.Nodes.Element(k), 0));
    EXPECT_TRUE(FoundNear(picture, p, 1, IsRed)) << p.x() << "," << p.y();
    // The cross is small: nothing red a few pixels above or below it.
    EXPECT_FALSE(FoundNear(picture, p + QPoint(0, -12), 2, IsRed));
    EXPECT_FALSE(FoundNear(picture, p + QPoint(0, 12), 2, IsRed));
  }
}

TEST_F(MainFormTest, ThermometersAreGreenCirclesWithThreeDiameters) {
  form->resize(900, 600);
  OpenFile(ExamplePath("four-thermometers.kol"));
  QApplication::processEvents();
  TRChart& chart = *form->Chart();
  const double h = chart.RangeHiY();
  const double r = h / 20;
  int ellipses = 0;
  for (const TChartItem& item : chart.Items()) {
    if (item.kind != ChartItemKind::Ellipse) continue;
    ++ellipses;
    EXPECT_EQ(item.color, kThermometerColor);
    EXPECT_TRUE(item.hollow);
    EXPECT_EQ(item.y1, 0);
    EXPECT_NEAR(item.x2, r, 1e-12);
    EXPECT_NEAR(item.y2, r, 1e-12);
    EXPECT_EQ(item.x1, project().Thermometer(ellipses).Position);
  }
  EXPECT_EQ(ellipses, 4);
  EXPECT_EQ(CountItems(chart, ChartItemKind::Line, kThermometerColor), 12);

  const QImage picture = form->grab().toImage();
  picture.save(QDir::temp().filePath(QStringLiteral("kolma_main_thermometers.png")));
  for (int slot = 1; slot <= 4; ++slot) {
    const double x = project().Thermometer(slot).Position;
    // Half way up the vertical diameter, and on the circle half way between the vertical
    // and a diagonal (away from the black section line).
    const double a = 3 * std::numbers::pi / 8;
    const QPoint onDiameter = chart.mapTo(form.get(), chart.WorldToPixel(x, r / 2));
    const QPoint onCircle = chart.mapTo(form.get(), chart.WorldToPixel(x + r * std::cos(a), r * std::sin(a)));
    EXPECT_TRUE(FoundNear(picture, onDiameter, 1, IsGreen)) << slot;
    EXPECT_TRUE(FoundNear(picture, onCircle, 1, IsGreen)) << slot;
  }
}

TEST_F(MainFormTest, FaceAndThermometerHistoriesAreDrawnAgainstTime) {
  OpenFile(ExamplePath("annual-daily-10m.kol"));
  TRChart& chart = *form->Chart();
  const TFaceTemperatureHistory& up = project().UpstreamHistory;
  const int n = up.Values.NrOfElem();
  double lo = 0, hi = 0;
  up.Values.MinMax(1, n, lo, hi);

  form->SectionListBox1()->ClickSubItem(TItemList::TemperaturesPart, 0);
  EXPECT_EQ(chart.Caption(), QStringLiteral("Upstream Face Temperature"));
  EXPECT_FALSE(chart.Isometric());
  EXPECT_EQ(chart.YLabelType(), ftNum);
  EXPECT_EQ(chart.IdAbscissa(), QStringLiteral("Time (hour)"));
  EXPECT_EQ(chart.IdOrdinate(), QStringLiteral("Temperature (°C)"));
  EXPECT_DOUBLE_EQ(chart.RangeLoX(), up.TimeStep);
  EXPECT_DOUBLE_EQ(chart.RangeHiX(), n * up.TimeStep);
  EXPECT_NEAR(chart.RangeLoY(), lo - 0.05 * (hi - lo), 1e-9);
  EXPECT_NEAR(chart.RangeHiY(), hi + 0.05 * (hi - lo), 1e-9);
  ASSERT_EQ(chart.Items().size(), static_cast<size_t>(n - 1));
  const TChartItem& last = chart.Items().back();
  EXPECT_DOUBLE_EQ(last.x2, n * up.TimeStep);
  EXPECT_DOUBLE_EQ(last.y2, up.Values.Element(n));

  form->SectionListBox1()->ClickSubItem(TItemList::TemperaturesPart, 1);
  EXPECT_EQ(chart.Caption(), QStringLiteral("Downstream Face Temperature"));

  // A thermometer titled like a face: both are drawn, the thermometer last.
  TTemperatureInside& slot = project().Thermometer(1);
  slot.Title.SetText("Upstream Face");
  slot.TimeStep = 12;
  slot.Values = TVector(3);
  slot.Values.SetElement(1, 4);
  slot.Values.SetElement(2, 6);
  slot.Values.SetElement(3, 5);
  form->UpdateListBox();
  ASSERT_EQ(form->SectionListBox1()->SubItems(TItemList::TemperaturesPart).size(), 3);
  form->SectionListBox1()->ClickSubItem(TItemList::TemperaturesPart, 0);
  EXPECT_EQ(chart.Items().size(), 2u);
  EXPECT_DOUBLE_EQ(chart.RangeLoX(), 12);
  EXPECT_DOUBLE_EQ(chart.RangeHiX(), 36);
  EXPECT_NEAR(chart.RangeLoY(), 3.9, 1e-12);
  EXPECT_NEAR(chart.RangeHiY(), 6.1, 1e-12);

  // Equal samples: the Y range collapses and the chart widens it to its minimum span.
  slot.Values.Fill(7);
  form->DrawTimeHistoryInside(slot);
  EXPECT_NEAR(chart.RangeLoY(), 7, 1e-9);
  EXPECT_GT(chart.RangeHiY() - chart.RangeLoY(), 0);

  // A single sample leaves the previous picture.
  TTemperatureInside one;
  form->DrawTimeHistoryInside(one);
  EXPECT_EQ(chart.Items().size(), 2u);
}

TEST_F(MainFormTest, MouseReadOutOnlyForTimeHistories) {
  OpenFile(ExamplePath("annual-daily-10m.kol"));
  TRChart& chart = *form->Chart();
  emit chart.OnMouseMoveInChart(true, Qt::NoModifier, 3.0, 0.5);  // section shown: no read-out
  EXPECT_TRUE(form->StatusPanelText(0).isEmpty());

  form->SectionListBox1()->ClickSubItem(TItemList::TemperaturesPart, 0);
  emit chart.OnMouseMoveInChart(false, Qt::ShiftModifier, 123.4567, -8.5);
  EXPECT_EQ(form->StatusPanelText(0), QStringLiteral("Time =  123.457 h"));
  EXPECT_EQ(form->StatusPanelText(1), QStringLiteral("T° = -8.50000 °C"));
  EXPECT_TRUE(form->StatusPanelText(2).isEmpty());

  form->DrawSection();
  emit chart.OnMouseMoveInChart(true, Qt::NoModifier, 1.0, 2.0);
  EXPECT_EQ(form->StatusPanelText(0), QStringLiteral("Time =  123.457 h"));
}

TEST_F(MainFormTest, ViewToolsSetTheMouseModeWhichSurvivesRedrawing) {
  const struct {
    const char* tool;
    MouseActMode mode;
  } modes[] = {{"ToolPan", maPan}, {"ToolZoom", maZoomWindPos}, {"ToolDrag", maZoomDrag}, {"ToolNone", maNone}};
  for (const auto& m : modes) {
    Command(m.tool)->trigger();
    EXPECT_EQ(form->Chart()->MouseAction(), m.mode) << m.tool;
    for (const auto& other : modes) EXPECT_EQ(Command(other.tool)->isChecked(), other.mode == m.mode);
  }
  Command("ToolZoom")->trigger();
  OpenFile(ExamplePath("annual-daily-10m.kol"));
  EXPECT_EQ(form->Chart()->MouseAction(), maZoomWindPos);
}

}  // namespace
}  // namespace kolma::ui::testing
