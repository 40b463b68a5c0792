// A new user's first steps: an example opened from inside the program, every input dialog
// looked into and closed with OK, then saved: nothing changed, nothing was lost, and the
// shipped example is never written over.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "tests/ui/main/main_form_fixture.h"

namespace kolma::ui::testing {
namespace {

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ExamplesAndLooksTest : public MainFormTest {
 protected:
  void OpenExample(const QString& name) {
    prompts.itemAnswers.push_back(name);
    Command("FileOpenExampleItem")->trigger();
  }
  // Opens the dialog of `command` and presses its OK without touching anything; in the
  // thermometers dialog, the first thermometer's history is looked at with Ok first.
  void LookWithOk(const char* command) {
    int seen = 0;
    QTimer::singleShot(0, [&seen] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (!dialog) return;
      ++seen;
      if (auto* list = dialog->findChild<QListWidget*>(QStringLiteral("CheckListBox")); list && list->count() > 0) {
        list->setCurrentRow(0);
        QTimer::singleShot(0, [&seen] {
          ++seen;
          QApplication::activeModalWidget()->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        });
        dialog->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
      }
      dialog->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
    });
    Command(command)->trigger();
    EXPECT_GE(seen, 1) << command;
    editorsSeen += seen - 1;
  }
  int editorsSeen = 0;
};

TEST_F(ExamplesAndLooksTest, LookingIntoEveryInputDialogWithOkChangesNothing) {
  for (const char* example : {"annual-daily-10m.kol", "four-thermometers.kol"}) {
    SCOPED_TRACE(example);
    OpenExample(QString::fromLatin1(example));
    // As if an analysis had run: its results must survive a look at the inputs.
    project().ProjectFlags |= pfDirectResults;
    const std::uint8_t flags = project().ProjectFlags;
    for (const char* command :
         {"DataSectionItem", "UpstreamFaceItem", "DownstreamFaceItem", "InsideSectionItem", "OptionsItem"}) {
      LookWithOk(command);
      EXPECT_EQ(project().ProjectFlags, flags) << command;
    }
    const QString copy = Scratch(example);
    prompts.fileAnswers.push_back(copy);
    Command("FileSaveItem")->trigger();
    EXPECT_EQ(Bytes(copy), Bytes(ExamplePath(example)));
  }
  EXPECT_EQ(editorsSeen, 1);  // four-thermometers has thermometers to look at
  EXPECT_EQ(prompts.Count("message"), 0);
}

TEST_F(ExamplesAndLooksTest, ExamplesComeFromInsideTheProgramAsNewUnnamedProjects) {
  const QStringList shipped = QDir(QStringLiteral(KOLMA_SOURCE_DIR "/examples")).entryList({"*.kol"}, QDir::Files, QDir::Name);
  EXPECT_EQ(TMainForm::ExampleNames(), shipped);

  // Unsaved changes are asked about first; Cancel keeps them and offers no example.
  project().ProjectFlags = pfModified | pfSection;
  prompts.yesNoAnswers.push_back(std::nullopt);
  Command("FileOpenExampleItem")->trigger();
  EXPECT_EQ(prompts.Count("choice"), 0);
  project().ProjectFlags = 0;

  OpenExample(QStringLiteral("four-thermometers.kol"));
  ASSERT_EQ(prompts.Count("choice"), 1);
  EXPECT_EQ(prompts.shown.back().text, shipped.join(u'\n'));
  EXPECT_EQ(project().ProjectFileName, kNoProjectFileName);
  EXPECT_TRUE(project().HasFlag(pfSection));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Kolma [ four-thermometers.kol (example) ]"));
  EXPECT_TRUE(form->RecentProjects().isEmpty());

  // Save asks where, proposing the example's name; cancelled, nothing is written.
  prompts.fileAnswers.push_back(QString());
  Command("FileSaveItem")->trigger();
  ASSERT_EQ(prompts.Count("save"), 1);
  EXPECT_EQ(prompts.shown.back().proposed, QStringLiteral("four-thermometers.kol"));
  EXPECT_EQ(project().ProjectFileName, kNoProjectFileName);
}

}  // namespace
}  // namespace kolma::ui::testing
