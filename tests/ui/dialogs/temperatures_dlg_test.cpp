// The face temperature editor driven as a user would: loading, generating, filtering and
// restoring a history, the unit of the time axis, and what "Cancel" keeps.
#include "ui/dialogs/temperatures_dlg.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/analysis/result_table.h"
#include "core/analysis/time_history_file.h"
#include "core/model/project.h"
#include "tests/ui/scripted_prompts.h"
#include "ui/dialogs/band_filter_dlg.h"
#include "ui/dialogs/low_pass_dlg.h"
#include "ui/dialogs/period_edit.h"
#include "ui/widgets/numeric_edit.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {
namespace {

using testing::TScriptedPrompts;

class TemperaturesDlgTest : public ::testing::Test {
 protected:
  TemperaturesDlgTest() { project.InitDefaults(); }

  TTemperaturesDlg& Editor(int mode = TTemperaturesDlg::UpstreamFace) {
    if (!editor_) {
      editor_ = std::make_unique<TTemperaturesDlg>(project);
      editor_->EditMode = mode;
      editor_->resize(900, 700);
      editor_->show();
    }
    return *editor_;
  }
  void Click(const char* name) { Editor().findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

  QString WriteFile(const char* name, const char* text) {
    const QString path = folder.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
  }
  void Load(const QString& path) {
    prompts.fileAnswers.push_back(path);
    Click("ButtonLoad");
  }
  // Generates the default history (annual + daily cycle, 8760 hours).
  void GenerateDefault() {
    Editor().RunDialog = [](QDialog&) { return int(QDialog::Accepted); };
    Click("ButtonGenerator");
  }
  // Answers the next filter dialog with the period(s) typed into its edits, or with its
  // starting values when none are given.
  void Filter(const char* button, std::initializer_list<double> periods = {}) {
    Editor().RunDialog = [periods](QDialog& dialog) {
      auto edits = dialog.findChildren<TPeriodEdit*>();
      std::sort(edits.begin(), edits.end(), [](auto* a, auto* b) { return a->objectName() < b->objectName(); });
      int i = 0;  // "EditLowerPeriod" < "EditUpperPeriod"; a single "EditPeriod"
      for (double p : periods) edits[i++]->setValue(p);
      return int(QDialog::Accepted);
    };
    Click(button);
  }

  Project project;
  TScriptedPrompts prompts;
  QTemporaryDir folder;
  std::unique_ptr<TTemperaturesDlg> editor_;
};

double Largest(const TVector& v) {
  double lo = 0, hi = 0;
  v.MinMax(1, v.NrOfElem(), lo, hi);
  return hi;
}

TEST_F(TemperaturesDlgTest, LoadingResamplesWarnsOfZeroFilledSamplesAndRefusesBadHeaders) {
  struct Case {
    const char* text;
    int samples;        // after resampling; 0: nothing loaded
    double timeStep;
    const char* warning;  // start of the warning shown, if any
  };
  const Case cases[] = {
      {"6\r\n24\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n", 8, 18.0, nullptr},
      {"4\r\n24\r\n1\r\n\r\n2\r\n3\r\n", 4, 24.0, "1 of the 4 samples in"},
      {"4\r\n2.5\r\n1\r\nabc\r\n3\r\n4\r\n", 4, 2.5, "1 of the 4 samples in"},
      {"8760.0\r\n1\r\n1\r\n", 0, 0.0, "Invalid file format"},
      {"0\r\n1\r\n", 0, 0.0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    editor_.reset();
    prompts.shown.clear();
    Editor().EditedTimeStep = 7.0;
    Load(WriteFile("history.txt", c.text));
    const int messages = prompts.Count("message");
    EXPECT_EQ(messages, c.warning ? 1 : 0);
    if (c.warning && messages) {
      EXPECT_TRUE(prompts.shown.back().text.startsWith(QString::fromLatin1(c.warning)));
    }
    if (c.samples == 0) {
      EXPECT_FALSE(Editor().EditedValues.has_value());
      EXPECT_EQ(Editor().EditedTimeStep, 7.0);
      continue;
    }
    ASSERT_TRUE(Editor().EditedValues.has_value());
    EXPECT_EQ(Editor().EditedValues->NrOfElem(), c.samples);
    EXPECT_DOUBLE_EQ(Editor().EditedTimeStep, c.timeStep);
    EXPECT_DOUBLE_EQ(Editor().TimeChart()->RangeHiX(), (c.samples - 1) * c.timeStep);
  }
  EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Load time history from file"));
}

// "Import measurements..." replaces the history only when its dialog is accepted.
TEST_F(TemperaturesDlgTest, ImportedMeasurementsReplaceTheHistoryOnOkOnly) {
  const QString readings = WriteFile("readings.csv", "hours,temperature\n0,1\n1,2\n2,3\n3,4\n4,5\n5,6\n6,7\n7,8\n");
  const QString words = WriteFile("words.txt", "no readings\nhere\n");
  for (auto [path, answer] : {std::pair{readings, QDialog::Rejected}, std::pair{words, QDialog::Accepted},
                              std::pair{readings, QDialog::Accepted}}) {
    editor_.reset();
    prompts.shown.clear();
    Editor().RunDialog = [answer](QDialog&) { return int(answer); };
    prompts.fileAnswers.push_back(path);
    Click("ButtonImport");
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Measurements|*.csv *.txt *.tsv|All files|*"));
    EXPECT_EQ(prompts.Count("message"), path == words);  // a file without readings is said so
    const bool replaced = path == readings && answer == QDialog::Accepted;
    ASSERT_EQ(Editor().EditedValues.has_value(), replaced);
    if (!replaced) continue;
    ASSERT_EQ(Editor().EditedValues->NrOfElem(), 8);
    EXPECT_DOUBLE_EQ(Editor().EditedValues->Element(8), 8.0);
    EXPECT_DOUBLE_EQ(Editor().TimeChart()->RangeHiX(), 7.0);
  }
}

TEST_F(TemperaturesDlgTest, SavedHistoryLoadsBackAndTheUnitOnlyRescalesTheAxes) {
  GenerateDefault();
  ASSERT_EQ(Editor().EditedValues->NrOfElem(), 16384);
  EXPECT_DOUBLE_EQ(Editor().EditedTimeStep, 0.53466796875);
  const double spectrumHi = Editor().SpectrumChart()->RangeHiX();
  EXPECT_NEAR(spectrumHi, 8760.0, 1e-9);
  EXPECT_NEAR(Editor().SpectrumChart()->RangeLoX(), 2 * 0.53466796875, 1e-12);

  Editor().findChild<QComboBox*>("ComboTimeUnit")->setCurrentIndex(1);  // day
  EXPECT_EQ(Editor().TimeChart()->IdAbscissa(), QStringLiteral("Time (day)"));
  EXPECT_EQ(Editor().SpectrumChart()->IdAbscissa(), QStringLiteral("Period (day)"));
  EXPECT_NEAR(Editor().SpectrumChart()->RangeHiX(), 365.0, 1e-9);
  EXPECT_EQ(Editor().TimeChart()->GridDx(), 365.0);
  EXPECT_DOUBLE_EQ(Editor().EditedTimeStep, 0.53466796875);

  const QString path = folder.filePath(QStringLiteral("saved.txt"));
  prompts.fileAnswers.push_back(path);
  Editor().findChild<QToolButton*>("ButtonSave")->click();
  ASSERT_EQ(prompts.Count("save"), 1);
  EXPECT_EQ(prompts.shown.back().caption, QStringLiteral("Save time history to file"));
  EXPECT_EQ(prompts.shown.back().text, QStringLiteral("Text files|*.txt"));
  const TimeHistoryReadResult read = ReadTimeHistoryFile(path.toStdString());
  ASSERT_TRUE(read.ok());
  ASSERT_EQ(read.values.NrOfElem(), 16384);
  for (int i = 1; i <= 16384; i += 1111)
    EXPECT_NEAR(read.values.Element(i), Editor().EditedValues->Element(i), 1e-6 * 30);
}

TEST_F(TemperaturesDlgTest, FiltersWorkOnTheCurrentHistoryAndRestoreUndoesThemAll) {
  GenerateDefault();
  const TVector original = *Editor().EditedValues;
  const double mean = [&] {
    double sum = 0;
    for (int i = 1; i <= original.NrOfElem(); ++i) sum += original.Element(i);
    return sum / original.NrOfElem();
  }();

  // A high pass at 24 h removes the daily cycle (12 °C): the annual sinusoid stays, with
  // the small leakage of a history that is not quite one period long.
  Filter("ButtonHighPass", {24.0});
  EXPECT_NEAR(Largest(*Editor().EditedValues), 5 + 15, 0.3);
  // A low pass at the shortest period shown removes every harmonic: the mean is left.
  Filter("ButtonLowPass", {Editor().SpectrumChart()->RangeLoX()});
  EXPECT_NEAR(Largest(*Editor().EditedValues), mean, 1e-9);

  Click("ButtonRestore");
  for (int i = 1; i <= original.NrOfElem(); i += 97)
    ASSERT_NEAR(Editor().EditedValues->Element(i), original.Element(i), 1e-9) << i;
  Click("ButtonRestore");  // a second restore works as well
  EXPECT_NEAR(Editor().EditedValues->Element(5000), original.Element(5000), 1e-9);

  // The band filter confirmed as it opens removes every harmonic the spectrum chart shows.
  Filter("ButtonBand");
  EXPECT_NEAR(Largest(*Editor().EditedValues), mean, 1e-9);
  EXPECT_EQ(Editor().EditedValues->NrOfElem(), 16384);
}

// The annual and daily peaks stand at the pixels of 8760 h and 24 h on the log period axis.
TEST_F(TemperaturesDlgTest, SpectrumPeaksOfTheDefaultHistoryStandAtTheirPeriods) {
  GenerateDefault();
  TRChart& chart = *Editor().SpectrumChart();
  const QImage picture = chart.RenderPicture(true);
  const QRect window = chart.DataWindow();
  // Topmost dark pixel of the drawn line in each column (the frame and grid are skipped).
  auto topOf = [&](int x) {
    for (int y = window.top() + 1; y < window.bottom(); ++y)
      if (qGray(picture.pixel(x, y)) < 60) return y;
    return window.bottom();
  };
  auto highestColumn = [&](int from, int to) {
    int best = from;
    for (int x = from; x <= to; ++x)
      if (topOf(x) < topOf(best)) best = x;
    return best;
  };
  const int annual = chart.WorldToPixel(8760.0, 0).x();
  const int daily = chart.WorldToPixel(24.0, 0).x();
  EXPECT_NEAR(highestColumn(window.left() + 1, window.right() - 1), annual, 2);
  EXPECT_NEAR(highestColumn(window.left() + 1, (daily + annual) / 2), daily, 2);
  // The daily peak (12 °C) stands at 12/15 of the annual one (15 °C) above the axis.
  const double ratio = double(window.bottom() - topOf(daily)) / (window.bottom() - topOf(annual));
  EXPECT_NEAR(ratio, 12.0 / 15.0, 0.05);
}

// The status read-outs of both charts keep their formats and take the desktop's decimal separator.
TEST_F(TemperaturesDlgTest, ReadOutsFollowTheDesktopsDecimalSeparator) {
  TTemperaturesDlg& editor = Editor();
  auto panel = [&editor](int i) {
    return editor.findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i))->text();
  };
  SetDecimalSeparator(',');
  emit editor.TimeChart()->OnMouseMoveInChart(true, Qt::NoModifier, 1234.5, -3.25);
  const QString time = panel(0), temperature = panel(1);
  emit editor.SpectrumChart()->OnMouseMoveInChart(true, Qt::NoModifier, 8760, 12.5);
  SetDecimalSeparator('.');
  EXPECT_EQ(time, QStringLiteral("Time =  1234,50"));
  EXPECT_EQ(temperature, QStringLiteral("Temperature =   -3,250 °C"));
  EXPECT_EQ(panel(0), QStringLiteral("Period = 8760,0000"));
  EXPECT_EQ(panel(1), QStringLiteral("Amplitude =   12,500 °C"));
}

TEST_F(TemperaturesDlgTest, CaptionAndPositionFollowTheEditModeAndANewHistoryShowsNothing) {
  project.SectionProperties.Xu = 2;
  project.SectionProperties.Xd = 12;
  struct Case {
    int mode;
    const char* caption;
    double shown;
    bool enabled;
  };
  for (const Case& c : {Case{0, "Time history of temperatures at the upstream face", 2, false},
                        Case{1, "Time history of temperatures at the downstream face", 12, false},
                        Case{2, "T1", 4.5, true}}) {
    editor_ = std::make_unique<TTemperaturesDlg>(project);
    editor_->EditMode = c.mode;
    if (c.mode == 2) {
      editor_->setWindowTitle(QStringLiteral("T1"));
      editor_->PositionEdit()->setRange(2, 12);
      editor_->EditedPosition = 4.5;
    }
    editor_->show();
    EXPECT_EQ(editor_->windowTitle(), QString::fromLatin1(c.caption));
    EXPECT_EQ(editor_->PositionEdit()->value(), c.shown);
    EXPECT_EQ(editor_->PositionEdit()->isEnabled(), c.enabled);
  }

  // A new face shows empty charts; filters and restore do nothing without a history.
  editor_ = std::make_unique<TTemperaturesDlg>(project);
  editor_->show();
  EXPECT_TRUE(editor_->TimeChart()->Items().empty());
  Click("ButtonRestore");
  Click("ButtonLowPass");
  EXPECT_FALSE(editor_->EditedValues.has_value());
  EXPECT_EQ(prompts.shown.size(), 0u);
}

}  // namespace
}  // namespace kolma::ui
