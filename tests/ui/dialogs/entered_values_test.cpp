// What the user entered stays as entered: the history editor hands back the caller's own
// samples unless the user made new ones, a face needs two samples, faces on two grids of
// the same duration are analysed together, Enter finishes a dialog and a refused value
// says why in the dialog.
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>

#include "core/analysis/direct_analysis.h"
#include "core/analysis/harmonic_decomposition.h"
#include "core/model/node_distribution.h"
#include "core/model/project.h"
#include "tests/ui/scripted_prompts.h"
#include "ui/dialogs/analysis_dlg.h"
#include "ui/dialogs/generator_dlg.h"
#include "ui/dialogs/low_pass_dlg.h"
#include "ui/dialogs/options_dlg.h"
#include "ui/dialogs/section_dlg.h"
#include "ui/dialogs/temperatures_dlg.h"
#include "ui/widgets/numeric_edit.h"

namespace kolma::ui {
namespace {

using testing::TScriptedPrompts;

TVector Daily(int n, double dt) {
  TVector v(n);
  for (int i = 1; i <= n; ++i) v.SetElement(i, 10.0 + 8.0 * std::sin(2 * std::numbers::pi * (i - 1) * dt / 8760.0));
  return v;
}

void Click(QWidget& dialog, const char* name) { dialog.findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

void Type(TNumericEdit* edit, const QString& text, bool enter) {
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QCoreApplication::sendEvent(edit, &in);
  edit->selectAll();
  edit->insert(text);
  if (!enter) return;
  QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QCoreApplication::sendEvent(edit, &key);
}

class EnteredValuesTest : public ::testing::Test {
 protected:
  EnteredValuesTest() {
    project.InitDefaults();
    project.ProjectFlags = pfSection | pfUpstream | pfDownstream;
    ComputeNodes(10, project.SectionProperties.Nodes, 0, 10, 3);
  }
  Project project;
  TScriptedPrompts prompts;
  QTemporaryDir folder;
};

TEST_F(EnteredValuesTest, TheEditorHandsBackTheCallersHistoryUnlessTheUserMadeANewOne) {
  struct Case {
    const char* what;
    std::function<void(TTemperaturesDlg&)> act;
    bool changed;
    int count;  // samples handed back
  };
  const auto acceptAll = [](TTemperaturesDlg& e) { e.RunDialog = [](QDialog&) { return int(QDialog::Accepted); }; };
  const Case cases[] = {
      {"only looked", [](TTemperaturesDlg&) {}, false, 365},
      {"refreshed", [](TTemperaturesDlg& e) { Click(e, "ButtonRefresh"); }, false, 365},
      {"filtered", [&](TTemperaturesDlg& e) { acceptAll(e), Click(e, "ButtonLowPass"); }, true, 512},
      {"filtered, then restored",
       [&](TTemperaturesDlg& e) { acceptAll(e), Click(e, "ButtonBand"), Click(e, "ButtonRestore"); }, false, 365},
      {"generated", [&](TTemperaturesDlg& e) { acceptAll(e), Click(e, "ButtonGenerator"); }, true, 16384},
  };
  const TVector daily = Daily(365, 24.0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TTemperaturesDlg editor(project);
    editor.EditMode = TTemperaturesDlg::DownstreamFace;
    editor.EditIsNew = false;
    editor.EditedValues = daily;
    editor.EditedTimeStep = 24.0;
    editor.show();
    EXPECT_EQ(editor.EditedValues->NrOfElem(), 512);  // the charts' power-of-two copy
    c.act(editor);
    Click(editor, "OKBtn");
    ASSERT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(editor.HistoryChanged(), c.changed);
    ASSERT_TRUE(editor.EditedValues.has_value());
    ASSERT_EQ(editor.EditedValues->NrOfElem(), c.count);
    if (c.changed) continue;
    EXPECT_EQ(editor.EditedTimeStep, 24.0);
    EXPECT_TRUE(std::equal(daily.Data(), daily.Data() + 365, editor.EditedValues->Data()));
  }
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(EnteredValuesTest, AHistoryOfOneSampleIsRefusedOnOkAndTheEditorStaysOpen) {
  const QString path = folder.filePath(QStringLiteral("one.txt"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("1\r\n24\r\n12.5\r\n");
  file.close();
  for (int mode : {TTemperaturesDlg::UpstreamFace, TTemperaturesDlg::DownstreamFace, TTemperaturesDlg::InsideRecord}) {
    SCOPED_TRACE(mode);
    prompts.shown.clear();
    TTemperaturesDlg editor(project);
    editor.EditMode = mode;
    editor.show();
    prompts.fileAnswers.push_back(path);
    Click(editor, "ButtonLoad");
    ASSERT_EQ(editor.EditedValues->NrOfElem(), 1);
    Click(editor, "OKBtn");
    EXPECT_TRUE(editor.isVisible());
    EXPECT_NE(editor.result(), QDialog::Accepted);
    ASSERT_EQ(prompts.Count("message"), 1);
    EXPECT_EQ(prompts.shown.back().text,
              QStringLiteral("A temperature history needs at least 2 samples: load, import or generate a longer one."));
  }
}

// A face filtered in the editor (re-sampled to a power of two) next to one that was not.
TEST_F(EnteredValuesTest, FacesOfTheSameDurationOnTwoGridsAreAnalysedTogether) {
  struct Case {
    int upCount;
    double upStep;
    bool filteredDown;  // downstream: the editor's power-of-two copy of the upstream grid
    const char* said;   // the status line after a run, or the start of the refusal
  };
  const Case cases[] = {
      {8760, 1.0, true, "Upstream face re-sampled from 8760 samples every 1 h to 16384 samples every 0.534668 h"},
      {365, 24.0, true, "Upstream face re-sampled from 365 samples every 24 h to 512 samples every 17.1094 h"},
      {365, 24.0, false, "Upstream face re-sampled from 365 samples every 24 h to 8760 samples every 1 h"},
      {300, 24.0, true,
       "Upstream and downstream temperatures do not have the same time step and/or the same number of data: "
       "upstream 300 samples every 24 h (7200 h), downstream 512 samples every 17.1094 h (8760 h)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    prompts.shown.clear();
    project.ProjectFlags = pfSection | pfUpstream | pfDownstream;
    const int original = c.upCount == 300 ? 365 : c.upCount;
    TVector filtered = Daily(c.filteredDown ? original : 8760, c.filteredDown ? 8760.0 / original : 1.0);
    if (c.filteredDown) ResampleToPowerOfTwo(filtered);
    project.UpstreamHistory = {Daily(c.upCount, c.upStep), c.upStep};
    project.DownstreamHistory = {filtered, 8760.0 / filtered.NrOfElem()};

    TAnalysisDlg dialog(project);
    dialog.show();
    Type(dialog.findChild<TNumericEdit*>("EditTimeStep"), QStringLiteral("24"), true);
    Click(dialog, "ButtonStartDirect");
    const bool refused = c.upCount == 300;
    EXPECT_EQ(project.HasFlag(pfDirectResults), !refused);
    if (refused) {
      ASSERT_EQ(prompts.Count("message"), 1);
      EXPECT_TRUE(prompts.shown[0].text.startsWith(QString::fromLatin1(c.said))) << prompts.shown[0].text.toStdString();
      continue;
    }
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(dialog.findChild<QLabel*>("LabelTime")->text().startsWith(QString::fromLatin1(c.said)));
    if (!c.filteredDown) continue;
    // The same as faces that were both re-sampled in the editor.
    Project both = project;
    ResampleToPowerOfTwo(both.UpstreamHistory.Values);
    both.UpstreamHistory.TimeStep = project.DownstreamHistory.TimeStep;
    ASSERT_TRUE(RunDirectAnalysis(both, {24.0, false}).completed);
    const TMatrix& mine = project.DirectResults.Temperatures;
    const TMatrix& theirs = both.DirectResults.Temperatures;
    ASSERT_EQ(mine.NrOfRows(), theirs.NrOfRows());
    EXPECT_TRUE(std::equal(mine.Data(), mine.Data() + mine.NrOfRows() * mine.NrOfColumns(), theirs.Data()));
  }
}

// Enter commits the typed number and presses OK where OK is the default button; in the
// analysis dialog, whose default is "Close", it only commits. A refused entry keeps the
// dialog open and says why in it.
TEST_F(EnteredValuesTest, EnterFinishesTheDialogOrSaysWhyTheValueIsRefused) {
  struct Case {
    const char* dialog;
    const char* edit;
    const char* typed;
    bool closes;
    const char* line;  // the refusal line, empty when the value is taken
  };
  const Case cases[] = {
      {"section", "EditX2", "12", true, ""},
      {"section", "EditPoisson", "0.7", false, "Poisson's ratio must be from 0 to 0.5"},
      {"options", "EditPadding", "2", true, ""},
      {"generator", "EditA0", "3", true, ""},
      {"low pass", "EditPeriod", "100", true, ""},
      {"editor", "EditPosition", "5", true, ""},
      {"analysis", "EditTimeStep", "6", false, ""},
      {"analysis", "EditTimeStep", "0.1", false, "Analysis time step must be from 1 to 24 hour(s)"},
  };
  project.AnalysisOptions.PaddingMode = 1;  // the padding edit is enabled
  project.AnalysisOptions.PaddingYears = 1.5;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.dialog) + " " + c.typed);
    const QString dialogName = QString::fromLatin1(c.dialog);
    std::unique_ptr<QDialog> dialog;
    if (dialogName == "section") dialog = std::make_unique<TSectionDlg>(project);
    if (dialogName == "options") dialog = std::make_unique<TOptionsDlg>(project);
    if (dialogName == "generator") dialog = std::make_unique<TGeneratorDlg>();
    if (dialogName == "low pass") dialog = std::make_unique<TLowPassDlg>(false, 0, 2.0, 8760.0);
    if (dialogName == "analysis") dialog = std::make_unique<TAnalysisDlg>(project);
    if (dialogName == "editor") {
      auto editor = std::make_unique<TTemperaturesDlg>(project);
      editor->EditMode = TTemperaturesDlg::InsideRecord;
      editor->PositionEdit()->setRange(0, 10);
      dialog = std::move(editor);
    }
    dialog->show();
    auto* edit = dialog->findChild<TNumericEdit*>(QString::fromLatin1(c.edit));
    ASSERT_NE(edit, nullptr);
    Type(edit, QString::fromLatin1(c.typed), true);
    EXPECT_EQ(dialog->result() == QDialog::Accepted, c.closes);
    EXPECT_EQ(dialog->isVisible(), !c.closes);
    EXPECT_EQ(edit->value() == QString::fromLatin1(c.typed).toDouble(), !*c.line);  // refused: not taken
    auto* line = dialog->findChild<TRefusalLine*>();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), QString::fromLatin1(c.line));
    if (*c.line) {
      Type(edit, QStringLiteral("0.2"), false);  // the next change lifts it
      EXPECT_TRUE(line->text().isEmpty());
    }
  }
  EXPECT_TRUE(prompts.shown.empty());
}

}  // namespace
}  // namespace kolma::ui
