// Pictures of a chart saved in files, read back by readers that owe nothing to Qt's writers.
#include "ui/widgets/chart_picture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "tests/ui/scripted_prompts.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {
namespace {

struct ChartPicture : ::testing::Test {
  TRChart chart;
  QTemporaryDir dir;
  testing::TScriptedPrompts prompts;
  void SetUp() override {
    chart.resize(640, 400);
    chart.SetCaption(QStringLiteral("Upstream face"));
    chart.SetDataColor(QColor(255, 0, 0));
    chart.AddLine(0.1, 0.1, 0.9, 0.8);
  }
  bool Save(const QString& name) {
    prompts.fileAnswers.push_back(dir.filePath(name));
    return SaveChartPicture(chart, nullptr);
  }
};

TEST_F(ChartPicture, PngHoldsTheChartsOwnPixels) {
  ASSERT_TRUE(Save(QStringLiteral("chart")));  // no extension: a PNG picture
  EXPECT_EQ(prompts.shown.at(0).text, QStringLiteral("PNG picture|*.png|SVG picture|*.svg|PDF document|*.pdf"));
  const QImage saved(dir.filePath(QStringLiteral("chart.png")));
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), chart.RenderPicture(false).convertToFormat(QImage::Format_RGB32));
}

// Each vector picture opens in an independent reader, and its text holds the chart's caption.
TEST_F(ChartPicture, VectorPicturesOpenElsewhereAndHoldTheCaption) {
  struct Case {
    const char* file;
    const char* check;  // a reader that fails on a broken file
    const char* text;   // prints the text the file holds
  };
  for (const Case& c : {Case{"chart.svg", "rsvg-convert -o %1.png %1", "cat %1"},
                        Case{"chart.pdf", "pdfinfo %1", "pdftotext %1 -"}}) {
    SCOPED_TRACE(c.file);
    if (QStandardPaths::findExecutable(QString::fromLatin1(c.check).section(' ', 0, 0)).isEmpty())
      GTEST_SKIP() << c.check << ": reader not installed (scripts/setup installs it)";
    ASSERT_TRUE(Save(QString::fromLatin1(c.file)));
    const QString path = dir.filePath(QString::fromLatin1(c.file));
    QString output;
    for (const char* command : {c.check, c.text}) {
      QProcess process;
      process.startCommand(QString::fromLatin1(command).arg(path));
      ASSERT_TRUE(process.waitForFinished(30000));
      EXPECT_EQ(process.exitCode(), 0) << command << ": " << process.readAllStandardError().toStdString();
      output = QString::fromUtf8(process.readAllStandardOutput());
    }
    EXPECT_TRUE(output.contains(QStringLiteral("Upstream face")));
  }
}

// A save that cannot be made says why and leaves what was there.
TEST_F(ChartPicture, FailureIsShownAndLeavesThePreviousFile) {
  QFile old(dir.filePath(QStringLiteral("old.jpg")));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("earlier");
  old.close();
  for (const char* name : {"old.jpg", "missing-folder/chart.png"}) {
    EXPECT_FALSE(Save(QString::fromLatin1(name)));
    EXPECT_EQ(prompts.shown.back().icon, PromptIcon::Warning) << name;
    EXPECT_TRUE(prompts.shown.back().text.contains(QString::fromLatin1(name)));
  }
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), QByteArray("earlier"));
}

}  // namespace
}  // namespace kolma::ui
