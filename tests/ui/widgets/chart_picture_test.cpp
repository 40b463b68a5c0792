// Pictures of a chart saved in files, read back by readers that owe nothing to Qt's writers.
#include "ui/widgets/chart_picture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "tests/ui/scripted_prompts.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {
namespace {

const QString kCaption = QStringLiteral("Upstream face");

struct ChartPicture : ::testing::Test {
  TRChart chart;
  QTemporaryDir dir;
  testing::TScriptedPrompts prompts;
  void SetUp() override {
    chart.resize(640, 400);
    chart.SetCaption(kCaption);
    chart.SetIdAbscissa(QStringLiteral("Time (hours)"));
    chart.SetRangeLoX(0);
    chart.SetRangeHiX(10);
    chart.SetRangeLoY(0);
    chart.SetRangeHiY(10);
    chart.SetDataColor(QColor(255, 0, 0));
    chart.AddMoveTo(1, 1);
    chart.AddLineTo(9, 8);
    chart.AddText(5, 3, 10, QStringLiteral("Tm"));
  }
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  // Saves through the dialog as the user would; true when the picture was written.
  bool Save(const QString& path) {
    prompts.fileAnswers.push_back(path);
    return SaveChartPicture(chart, nullptr);
  }
  // Runs a reader; its standard output, or a failure when it does not finish cleanly.
  static QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
  }
};

#define REQUIRE_TOOL(name)                                                       \
  if (QStandardPaths::findExecutable(QStringLiteral(name)).isEmpty())           \
    GTEST_SKIP() << name " is not installed (scripts/setup installs it)";

TEST_F(ChartPicture, PngHoldsTheChartsOwnPixels) {
  const QString path = Path("chart");  // no extension: a PNG picture
  ASSERT_TRUE(Save(path));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Save picture"));
  EXPECT_EQ(prompts.shown[0].text, QStringLiteral("PNG picture|*.png|SVG picture|*.svg|PDF document|*.pdf"));
  const QImage saved(path + QStringLiteral(".png"));
  ASSERT_EQ(saved.size(), chart.size());
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), chart.RenderPicture(false).convertToFormat(QImage::Format_RGB32));
}

TEST_F(ChartPicture, SvgOpensInAnotherReaderAndHoldsTheCaption) {
  REQUIRE_TOOL("rsvg-convert");
  const QString svg = Path("chart.svg"), png = Path("from-svg.png");
  ASSERT_TRUE(Save(svg));
  Run(QStringLiteral("rsvg-convert"), {QStringLiteral("-o"), png, svg});
  const QImage rendered(png);
  EXPECT_EQ(rendered.size(), chart.size());
  // The red line is drawn as a vector: the reader puts red where the chart does.
  const QPoint middle = chart.WorldToPixel(5, 4.5);
  const QColor red = rendered.pixelColor(middle);
  EXPECT_GT(red.red(), 200);
  EXPECT_LT(red.green(), 120);
  QFile file(svg);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(text.contains(kCaption));
  EXPECT_TRUE(text.contains(QStringLiteral("Time (hours)")));
}

TEST_F(ChartPicture, PdfOpensInAnotherReaderAndHoldsTheCaption) {
  REQUIRE_TOOL("pdftotext");
  REQUIRE_TOOL("pdfinfo");
  const QString pdf = Path("chart.pdf");
  ASSERT_TRUE(Save(pdf));
  const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b"))));
  // One page of the chart's size (at the screen's resolution, in points).
  const double dpi = chart.logicalDpiX();
  const QRegularExpressionMatch size =
      QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
  ASSERT_TRUE(size.hasMatch()) << info.toStdString();
  EXPECT_NEAR(size.captured(1).toDouble(), chart.width() * 72.0 / dpi, 1.0);
  EXPECT_NEAR(size.captured(2).toDouble(), chart.height() * 72.0 / dpi, 1.0);
  const QString text = Run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  EXPECT_TRUE(text.contains(kCaption)) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Tm")));
}

// A save that cannot be made says why and leaves what was there.
TEST_F(ChartPicture, FailureIsShownAndLeavesThePreviousFile) {
  const QString old = Path("old.jpg");
  {
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("earlier picture");
  }
  for (const QString& path : {old, Path("missing-folder/chart.png")}) {
    SCOPED_TRACE(path.toStdString());
    prompts.shown.clear();
    EXPECT_FALSE(Save(path));
    ASSERT_EQ(prompts.Count(QStringLiteral("message")), 1);
    EXPECT_EQ(prompts.shown.back().icon, PromptIcon::Warning);
    EXPECT_TRUE(prompts.shown.back().text.contains(path));
  }
  QFile file(old);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("earlier picture"));
  EXPECT_FALSE(QFile::exists(Path("missing-folder")));
  // Cancelling the dialog writes nothing and says nothing.
  prompts.shown.clear();
  EXPECT_FALSE(Save(QString()));
  EXPECT_EQ(prompts.Count(QStringLiteral("message")), 0);
}

}  // namespace
}  // namespace kolma::ui
