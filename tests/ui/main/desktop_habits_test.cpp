// What a desktop program is expected to do around its own commands: recent projects,
// a project named on the command line or dropped on the window, the unsaved mark, the
// guide of the empty window and the hint of a disabled Start Analysis.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "tests/ui/main/main_form_fixture.h"
#include "ui/main/client_area.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui::testing {
namespace {

QStringList RecentMenuTexts(TMainForm& form) {
  QStringList texts;
  for (QAction* a : form.findChild<QMenu*>(QStringLiteral("RecentProjectsMenu"))->actions()) texts << a->text();
  return texts;
}

// Delivers the drag and the drop of `path` as the window system would; true when the
// window accepted the drag.
bool DropFile(QWidget& window, const QString& path) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  const QPoint centre = window.rect().center();
  QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
  QApplication::processEvents();  // the project opens once the drop has ended
  return true;
}

TEST_F(MainFormTest, RecentProjectsKeepTheLastEightNewestFirstAcrossSessions) {
  QStringList saved;
  for (int i = 1; i <= 9; ++i) {
    saved.prepend(Scratch(QStringLiteral("p%1.kol").arg(i).toLatin1()));
    prompts.fileAnswers.push_back(saved.front());
    Command("FileSaveAsItem")->trigger();
  }
  // Opening one already listed moves it to the front instead of listing it twice; the
  // next session offers the same list.
  OpenFile(saved[3]);
  QStringList expected = saved.mid(0, 8);
  expected.move(3, 0);
  EXPECT_EQ(TMainForm().RecentProjects(), expected);
  ASSERT_EQ(RecentMenuTexts(*form).size(), 8);
  EXPECT_EQ(RecentMenuTexts(*form).front(), QStringLiteral("&1 ") + QDir::toNativeSeparators(expected.front()));
}

TEST_F(MainFormTest, ARecentProjectOpensAfterTheQuestionAndAMissingOneLeavesTheList) {
  const QString example = ExamplePath("annual-daily-10m.kol");
  const QString gone = Scratch("gone.kol");
  prompts.fileAnswers.push_back(gone);
  Command("FileSaveAsItem")->trigger();
  OpenFile(example);
  QFile::remove(gone);
  ASSERT_EQ(form->RecentProjects(), QStringList({example, gone}));

  // Unsaved changes: Escape on the question keeps the project; "No" opens the recent one.
  project().ProjectFlags |= pfModified;
  prompts.yesNoAnswers = {std::nullopt, false};
  form->findChild<QAction*>(QStringLiteral("RecentProject2"))->trigger();  // gone: no question
  EXPECT_EQ(prompts.Count("question"), 0);
  ASSERT_EQ(prompts.Count("message"), 1);
  EXPECT_TRUE(prompts.shown.back().text.contains(QDir::toNativeSeparators(gone)));
  EXPECT_EQ(RecentMenuTexts(*form).size(), 1);

  form->OpenRecentProject(example);
  EXPECT_TRUE(project().HasFlag(pfModified));
  form->OpenRecentProject(example);
  EXPECT_EQ(prompts.Count("question"), 2);
  EXPECT_EQ(project().ProjectFlags, pfSection | pfUpstream | pfDownstream);
}

TEST_F(MainFormTest, AProjectNamedOnTheCommandLineOpensOnceTheWindowShows) {
  // A file that is no project gets the usual warning and opens nothing.
  for (const char* name : {"four-thermometers.kol", "README.md"}) {
    const bool project = QString::fromLatin1(name).endsWith(QStringLiteral(".kol"));
    prompts.shown.clear();
    TMainForm started;
    started.OpenWhenShown(ExamplePath(name));
    EXPECT_EQ(started.project().ProjectFlags, 0);
    started.show();
    QApplication::processEvents();
    EXPECT_EQ(started.project().HasFlag(pfSection), project) << name;
    EXPECT_EQ(prompts.Count("message"), project ? 0 : 1) << name;
  }
}

TEST_F(MainFormTest, AKolFileDroppedOnTheWindowOpensAfterTheQuestion) {
  EXPECT_FALSE(DropFile(*form, ExamplePath("annual-daily-10m-upstream.txt")));  // not a project

  project().ProjectFlags |= pfModified;
  prompts.yesNoAnswers = {std::nullopt};
  ASSERT_TRUE(DropFile(*form, ExamplePath("annual-daily-10m.kol")));
  EXPECT_EQ(prompts.Count("question"), 1);
  EXPECT_EQ(project().ProjectFlags, pfModified);

  prompts.yesNoAnswers = {false};
  DropFile(*form, ExamplePath("annual-daily-10m.kol"));
  EXPECT_EQ(project().ProjectFileName, ExamplePath("annual-daily-10m.kol").toStdString());
  EXPECT_TRUE(form->Chart()->isVisible());
}

TEST_F(MainFormTest, TheCaptionMarksUnsavedChangesAndSaveAsProposesTheCurrentName) {
  project().ProjectFlags = pfModified;
  form->UpdateMenuItems();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Kolma [ Noname ]*"));

  const QString path = Scratch("dam.kol");
  prompts.fileAnswers = {path, QString()};
  Command("FileSaveItem")->trigger();
  EXPECT_EQ(prompts.shown.back().proposed, QString());  // never saved: no name to propose
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Kolma [ %1 ]").arg(path));
  Command("FileSaveAsItem")->trigger();
  EXPECT_EQ(prompts.shown.back().proposed, path);
}

TEST_F(MainFormTest, StartAnalysisSaysWhatIsMissingWhileItIsDisabled) {
  const QString missing =
      QStringLiteral("Define the section and both face histories, or the section and two checked thermometers");
  QAction* start = Command("StartAnalysisItem");
  for (std::uint8_t flags : {std::uint8_t(pfSection | pfUpstream), std::uint8_t(pfSection | pfInversePair)}) {
    project().ProjectFlags = flags;
    form->UpdateMenuItems();
    EXPECT_EQ(start->statusTip(), start->isEnabled() ? QString() : missing) << int(flags);
    EXPECT_EQ(start->toolTip() == missing, !start->isEnabled()) << int(flags);
  }
}

TEST_F(MainFormTest, TheEmptyWindowGuidesToTheFirstStepsUntilSomethingIsDrawn) {
  auto* guide = form->findChild<QLabel*>(QStringLiteral("StartGuide"));
  ASSERT_NE(guide, nullptr);
  EXPECT_TRUE(guide->isVisible());

  // "Open an example..." offers the examples the program carries.
  prompts.itemAnswers = {QString()};
  prompts.fileAnswers = {QString()};
  emit guide->linkActivated(QString::fromLatin1(TClientArea::kOpenExampleLink));
  ASSERT_EQ(prompts.Count("choice"), 1);
  EXPECT_TRUE(prompts.shown.back().text.contains(QStringLiteral("annual-daily-10m.kol")));
  emit guide->linkActivated(QString::fromLatin1(TClientArea::kOpenProjectLink));
  EXPECT_EQ(prompts.Count("open"), 1);
  EXPECT_TRUE(guide->isVisible());

  OpenFile(ExamplePath("annual-daily-10m.kol"));
  EXPECT_FALSE(guide->isVisible());
  EXPECT_EQ(form->Chart()->geometry(), form->ClientArea()->rect());
}

}  // namespace
}  // namespace kolma::ui::testing
