#include "ui/dialogs/analysis_dlg.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>

#include "core/model/node_distribution.h"
#include "core/model/project.h"
#include "core/model/project_file.h"
#include "core/numeric/errors.h"
#include "tests/ui/dialogs/dialog_fixture.h"
#include "ui/widgets/numeric_edit.h"

namespace kolma::ui {
namespace {

void SetHistory(TVector& values, int count, double amplitude = 5.0) {
  values.Resize(count);
  for (int i = 1; i <= count; ++i) values.SetElement(i, 10.0 + amplitude * ((i * 37) % 11) / 11.0);
}

class AnalysisDlgTest : public testing::TDialogFixture<TAnalysisDlg> {
 protected:

  void Load(const char* name) {
    std::string reason;
    ASSERT_TRUE(LectureFichier(project, std::string(KOLMA_SOURCE_DIR) + "/examples/" + name, &reason)) << reason;
    const TSectionProperties& s = project.SectionProperties;
    ASSERT_TRUE(ComputeNodes(s.NbDivisions, project.SectionProperties.Nodes, s.Xu, s.Xd, s.Ratio));
  }

  void DefineSectionAndFaces(int upstreamCount, int downstreamCount) {
    project.ProjectFlags = pfSection | pfUpstream | pfDownstream;
    ComputeNodes(10, project.SectionProperties.Nodes, 0, 10, 3);
    SetHistory(project.UpstreamHistory.Values, upstreamCount);
    SetHistory(project.DownstreamHistory.Values, downstreamCount);
  }
  bool Enabled(const char* name) { return Find<QWidget>(name)->isEnabled(); }
  bool Checked(const char* name) { return Find<QRadioButton>(name)->isChecked(); }
  TNumericEdit* TimeStep() { return Find<TNumericEdit>("EditTimeStep"); }
  int Bar(const char* name) { return Find<QProgressBar>(name)->value(); }

};

TEST_F(AnalysisDlgTest, StartsWithItsControlsInPlace) {
  TAnalysisDlg& d = dialog();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Analysis"));
  // The designed size, or more where this desktop's fonts need it; never resizable.
  EXPECT_GE(d.width(), 384);
  EXPECT_GE(d.height(), 446);
  EXPECT_EQ(d.minimumSize(), d.maximumSize());
  for (const char* bar : {"ProgressBar", "ProgressBarInverse"}) {
    EXPECT_EQ(Find<QProgressBar>(bar)->maximum(), 512);
    EXPECT_EQ(Bar(bar), 0);
  }
  EXPECT_EQ(Find<QTimer>("Timer")->interval(), 1000);
  EXPECT_EQ(TimeStep()->minimum(), 1.0);
  EXPECT_EQ(TimeStep()->maximum(), 24.0);
  EXPECT_EQ(TimeStep()->text(), QStringLiteral("24 hour(s)"));
  // Nothing to analyse in a fresh project.
  EXPECT_FALSE(Enabled("ButtonStartDirect"));
  EXPECT_FALSE(Enabled("ButtonStartInverse"));
  EXPECT_FALSE(Enabled("LMDRadioButtonTout"));
  EXPECT_FALSE(Enabled("LMDRadioButtonTin"));
  EXPECT_TRUE(Checked("LMDRadioButtonTout"));
  d.show();
  EXPECT_FALSE(Find<QLabel>("LabelTime")->isVisible());
  EXPECT_FALSE(Find<QLabel>("LabelTimeInverse")->isVisible());
}

TEST_F(AnalysisDlgTest, TimeStepFollowsTheShortestHistoryWithinOneToTwentyFourHours) {
  project.ProjectFlags = pfUpstream | pfDownstream | pfInversePair;
  project.UpstreamHistory.TimeStep = 12;
  project.InversePair = {1, 2};
  project.Thermometer(1).TimeStep = 6;
  EXPECT_EQ(TimeStep()->value(), 6.0);
  EXPECT_EQ(TimeStep()->text(), QStringLiteral("6 hour(s)"));

  dialog_.reset();
  project.ProjectFlags = pfUpstream | pfDownstream;
  project.UpstreamHistory.TimeStep = 0.5;
  EXPECT_EQ(TimeStep()->value(), 1.0);
}

TEST_F(AnalysisDlgTest, FaceChoicesFollowWhatIsAvailable) {
  project.ProjectFlags = pfSection | pfUpstream | pfDownstream;
  EXPECT_TRUE(Enabled("LMDRadioButtonTout"));
  EXPECT_TRUE(Enabled("LabelTout"));
  EXPECT_FALSE(Enabled("LMDRadioButtonTin"));
  EXPECT_FALSE(Enabled("LabelTin"));
  EXPECT_TRUE(Checked("LMDRadioButtonTout"));
  EXPECT_TRUE(Enabled("ButtonStartDirect"));

  dialog_.reset();
  project.ProjectFlags = pfSection | pfUpstream | pfInverseResults | pfInversePair;
  EXPECT_FALSE(Enabled("LMDRadioButtonTout"));
  EXPECT_TRUE(Enabled("LMDRadioButtonTin"));
  EXPECT_TRUE(Checked("LMDRadioButtonTin"));
  EXPECT_TRUE(Enabled("ButtonStartDirect"));
  EXPECT_TRUE(Enabled("ButtonStartInverse"));

  dialog_.reset();
  project.ProjectFlags = pfSection | pfUpstream | pfDownstream | pfInverseResults;
  EXPECT_TRUE(Checked("LMDRadioButtonTout"));  // both available: the user's faces first
  // A click on a caption checks its radio button.
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(Find<QLabel>("LabelTin"), &release);
  EXPECT_TRUE(Checked("LMDRadioButtonTin"));
  dialog().LabelToutClick();
  EXPECT_TRUE(Checked("LMDRadioButtonTout"));

  dialog_.reset();
  project.ProjectFlags = pfUpstream | pfDownstream;  // no section
  EXPECT_FALSE(Enabled("ButtonStartDirect"));
  dialog().LabelTinClick();  // a disabled choice cannot be taken
  EXPECT_TRUE(Checked("LMDRadioButtonTout"));
}

TEST_F(AnalysisDlgTest, TimeLeftEstimate) {
  EXPECT_EQ(TAnalysisDlg::TimeLeftSeconds(12000, 154), 28);  // 30 % after 12 s
  EXPECT_EQ(TAnalysisDlg::TimeLeftText(28), QStringLiteral("Time left =  28 sec"));
  EXPECT_EQ(TAnalysisDlg::TimeLeftSeconds(2500, 256), 2);  // 2.5: halves to even
  EXPECT_EQ(TAnalysisDlg::TimeLeftSeconds(3500, 256), 4);
  EXPECT_EQ(TAnalysisDlg::TimeLeftSeconds(99999, 512), 0);
  EXPECT_EQ(TAnalysisDlg::TimeLeftText(1234), QStringLiteral("Time left = 1234 sec"));
}

TEST_F(AnalysisDlgTest, DirectRunOnTheAnnualExample) {
  Load("annual-daily-10m.kol");
  project.ProjectFlags |= pfModified;
  TimeStep()->setValue(24);
  dialog().show();
  Find<QPushButton>("ButtonStartDirect")->click();

  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(Bar("ProgressBar"), 512);
  EXPECT_TRUE(project.HasFlag(pfDirectResults));
  EXPECT_TRUE(project.HasFlag(pfModified));  // left as it was
  EXPECT_EQ(project.DirectResults.TimeStep, 24.0);
  EXPECT_EQ(project.DirectResults.Temperatures.NrOfRows(), 365);
  EXPECT_FALSE(dialog().Running());
  EXPECT_TRUE(Enabled("ButtonStartDirect"));
  EXPECT_TRUE(Enabled("OKBtn"));
  EXPECT_TRUE(Enabled("EditTimeStep"));
  EXPECT_FALSE(Find<QLabel>("LabelTime")->isVisible());
  EXPECT_FALSE(Find<QTimer>("Timer")->isActive());
}

TEST_F(AnalysisDlgTest, InverseRunOffersItsFacesToTheDirectAnalysis) {
  Load("four-thermometers.kol");
  TimeStep()->setValue(24);
  EXPECT_FALSE(Enabled("ButtonStartDirect"));
  EXPECT_TRUE(Enabled("ButtonStartInverse"));
  Find<QPushButton>("ButtonStartInverse")->click();

  EXPECT_EQ(Bar("ProgressBarInverse"), 512);
  EXPECT_TRUE(project.HasFlag(pfInverseResults));
  EXPECT_FALSE(project.HasFlag(pfModified));
  EXPECT_TRUE(Enabled("ButtonStartDirect"));
  EXPECT_TRUE(Enabled("LabelTin"));
  EXPECT_TRUE(Enabled("LMDRadioButtonTin"));
  EXPECT_TRUE(Checked("LMDRadioButtonTin"));  // the user's faces are not defined
  for (const auto& shown : prompts.shown) {
    EXPECT_EQ(shown.caption, QStringLiteral("Warning"));
    EXPECT_EQ(shown.icon, PromptIcon::Warning);
  }

  Find<QPushButton>("ButtonStartDirect")->click();
  EXPECT_EQ(Bar("ProgressBar"), 512);
  EXPECT_TRUE(project.HasFlag(pfDirectResults));
}

TEST_F(AnalysisDlgTest, NothingElseStartsOrClosesWhileAnAnalysisRuns) {
  Load("four-thermometers.kol");
  TimeStep()->setValue(24);
  TAnalysisDlg& d = dialog();
  d.show();
  Find<QPushButton>("ButtonStartInverse")->click();  // makes the direct analysis available
  ASSERT_TRUE(Enabled("ButtonStartDirect"));
  project.ProjectFlags &= static_cast<std::uint8_t>(~pfInverseResults);

  bool fired = false;
  QTimer::singleShot(0, &d, [&] {
    fired = true;
    EXPECT_TRUE(d.Running());
    EXPECT_FALSE(Enabled("ButtonStartDirect"));
    EXPECT_FALSE(Enabled("ButtonStartInverse"));
    EXPECT_FALSE(Enabled("EditTimeStep"));
    EXPECT_FALSE(Enabled("LMDRadioButtonTin"));
    EXPECT_FALSE(Enabled("OKBtn"));
    EXPECT_TRUE(Find<QLabel>("LabelTimeInverse")->isVisible());
    // Every way in is shut: the buttons, the handlers themselves, the radio captions.
    Find<QPushButton>("ButtonStartDirect")->click();
    d.ButtonStartDirectClick();
    d.ButtonStartInverseClick();
    d.LabelToutClick();
    EXPECT_EQ(Bar("ProgressBar"), 0);
    EXPECT_FALSE(project.HasFlag(pfDirectResults));
    // ...and the dialog stays.
    EXPECT_FALSE(d.close());
    d.reject();
    Find<QPushButton>("OKBtn")->click();
    EXPECT_TRUE(d.isVisible());
    d.TimerTimer();
    EXPECT_TRUE(Find<QLabel>("LabelTimeInverse")->text().startsWith(QStringLiteral("Time left = ")));
  });
  Find<QPushButton>("ButtonStartInverse")->click();

  EXPECT_TRUE(fired);
  EXPECT_EQ(Bar("ProgressBarInverse"), 512);
  EXPECT_EQ(Bar("ProgressBar"), 0);
  EXPECT_TRUE(project.HasFlag(pfInverseResults));
  EXPECT_FALSE(project.HasFlag(pfDirectResults));
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(Enabled("OKBtn"));
  Find<QPushButton>("OKBtn")->click();  // closes once the run is over
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(AnalysisDlgTest, EnterInTheTimeStepTakesTheStepAndKeepsTheDialogOpen) {
  TAnalysisDlg& d = dialog();
  d.setLocale(QLocale::c());
  d.show();
  TNumericEdit* step = TimeStep();
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QCoreApplication::sendEvent(step, &in);
  step->selectAll();
  step->insert(QStringLiteral("6.5"));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QCoreApplication::sendEvent(step, &enter);  // unaccepted, it would reach the default "Close"

  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.result(), 0);
  EXPECT_EQ(step->value(), 6.5);
  EXPECT_FALSE(step->isModified());  // taken, not merely pending
}

// Stops a second, longer run from inside its progress, once the bar has moved.
enum class StopBy { Button, Escape };

TEST_F(AnalysisDlgTest, AStoppedRunChangesNoResultAndSaysSo) {
  Load("annual-daily-10m.kol");
  TAnalysisDlg& d = dialog();
  d.show();
  EXPECT_FALSE(Enabled("ButtonStop"));
  TimeStep()->setValue(24);
  Find<QPushButton>("ButtonStartDirect")->click();
  ASSERT_TRUE(project.HasFlag(pfDirectResults));
  const TMatrix before = project.DirectResults.Temperatures;
  const std::uint8_t flags = project.ProjectFlags;

  for (StopBy way : {StopBy::Button, StopBy::Escape}) {
    SCOPED_TRACE(way == StopBy::Button ? "Stop button" : "Escape");
    TimeStep()->setValue(1);  // a year hour by hour
    bool asked = false;
    auto watch = QObject::connect(Find<QProgressBar>("ProgressBar"), &QProgressBar::valueChanged, &d, [&](int p) {
      if (p == 0 || asked) return;
      asked = true;
      EXPECT_TRUE(Enabled("ButtonStop"));
      // Delivered as the user's would be: among the events the run lets through.
      if (way == StopBy::Button)
        QMetaObject::invokeMethod(Find<QPushButton>("ButtonStop"), &QPushButton::click, Qt::QueuedConnection);
      else
        QCoreApplication::postEvent(&d, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    Find<QPushButton>("ButtonStartDirect")->click();
    QObject::disconnect(watch);

    ASSERT_TRUE(asked);
    EXPECT_GT(Bar("ProgressBar"), 0);
    EXPECT_LT(Bar("ProgressBar"), 512);
    EXPECT_EQ(project.ProjectFlags, flags);
    EXPECT_EQ(project.DirectResults.TimeStep, 24.0);
    ASSERT_EQ(project.DirectResults.Temperatures.NrOfRows(), before.NrOfRows());
    ASSERT_EQ(project.DirectResults.Temperatures.NrOfColumns(), before.NrOfColumns());
    for (int r = 1; r <= before.NrOfRows(); ++r)
      for (int c = 1; c <= before.NrOfColumns(); ++c)
        ASSERT_EQ(project.DirectResults.Temperatures.Element(c, r), before.Element(c, r));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.Running());
    EXPECT_FALSE(Enabled("ButtonStop"));
    EXPECT_TRUE(Enabled("ButtonStartDirect"));
    EXPECT_TRUE(Find<QLabel>("LabelTime")->isVisible());
    EXPECT_EQ(Find<QLabel>("LabelTime")->text(), TAnalysisDlg::StoppedText());
  }
}

TEST_F(AnalysisDlgTest, ARefusedRunShowsItsWarning) {
  DefineSectionAndFaces(64, 32);
  Find<QPushButton>("ButtonStartDirect")->click();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Warning"));
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Warning);
  EXPECT_TRUE(prompts.shown[0].text.startsWith(
      QStringLiteral("Upstream and downstream temperatures do not have the same time step and/or the same "
                     "number of data: upstream 64 samples")));
  EXPECT_FALSE(project.HasFlag(pfDirectResults));
  EXPECT_TRUE(Enabled("ButtonStartDirect"));
}

TEST_F(AnalysisDlgTest, AnExceptionLeavesTheDialogUsable) {
  // Faces of three samples without padding: no power of two to re-sample them to.
  DefineSectionAndFaces(3, 3);
  project.AnalysisOptions.PaddingMode = 1;
  project.AnalysisOptions.PaddingYears = 0;
  TAnalysisDlg& d = dialog();
  d.show();
  EXPECT_THROW(d.ButtonStartDirectClick(), EFourierError);
  EXPECT_FALSE(d.Running());
  EXPECT_TRUE(Enabled("ButtonStartDirect"));
  EXPECT_TRUE(Enabled("EditTimeStep"));
  EXPECT_TRUE(Enabled("LMDRadioButtonTout"));
  EXPECT_TRUE(Enabled("OKBtn"));
  EXPECT_FALSE(Enabled("ButtonStartInverse"));  // it was disabled before and stays so
  EXPECT_FALSE(project.HasFlag(pfDirectResults));
  EXPECT_TRUE(d.close());
}

}  // namespace
}  // namespace kolma::ui
