// The save question with a visible Cancel, "Copy selection" as the grid shows the cells, and
// the save dialogs' refusal of files that writing would destroy.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <string>

#include "tests/ui/scripted_prompts.h"
#include "ui/widgets/prompts.h"
#include "ui/widgets/result_grid.h"

namespace kolma::ui {
namespace {

TEST(UserAnswersTest, TheSaveQuestionHasAVisibleCancelThatEscapeAndClosingAlsoMean) {
  struct Case {
    const char* what;
    std::function<void(QMessageBox&)> answer;
    PromptAnswer expected;
  };
  const auto press = [](QMessageBox::StandardButton which) {
    return [which](QMessageBox& box) { box.button(which)->click(); };
  };
  const Case cases[] = {
      {"Yes", press(QMessageBox::Yes), PromptAnswer::Yes},
      {"No", press(QMessageBox::No), PromptAnswer::No},
      {"Cancel", press(QMessageBox::Cancel), PromptAnswer::Dismissed},
      {"Escape",
       [](QMessageBox& box) {
         QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
         QApplication::sendEvent(&box, &escape);
       },
       PromptAnswer::Dismissed},
      {"closed", [](QMessageBox& box) { box.close(); }, PromptAnswer::Dismissed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QStringList shown;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      for (QAbstractButton* button : box->buttons())
        if (button->isVisible()) shown << button->text();
      c.answer(*box);
    });
    const PromptAnswer answer = Prompts().AskYesNoOrDismiss(nullptr, PromptIcon::Information, QStringLiteral("Kolma"),
                                                            QStringLiteral("Save your changes?"));
    EXPECT_EQ(answer, c.expected);
    shown.sort();
    EXPECT_EQ(shown, QStringList({"Cancel", "No", "Yes"}));
  }
}

kolma::TResultTable SmallTable() {
  kolma::TResultTable table(4, 4, 1, 1);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) table.setCell(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
  return table;
}

TEST(UserAnswersTest, CopySelectionCopiesTheSelectedCellsInTheOrderShown) {
  TResultGrid grid;
  grid.SetTable(SmallTable());
  grid.SetMovableColumns(true);
  grid.show();
  QTableView* view = grid.View();
  view->horizontalHeader()->moveSection(0, 2);  // shown: table columns 2, 3, 1
  QItemSelectionModel* selection = view->selectionModel();
  const QAbstractItemModel* model = view->model();
  selection->select(QItemSelection(model->index(0, 0), model->index(1, 1)), QItemSelectionModel::ClearAndSelect);
  grid.CopySelection();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("r1c2\tr1c1\r\nr2c2\tr2c1"));
}

// The open project, a folder or a pipe chosen in a save dialog: refused with the reason,
// and nothing is written (nor does the window block on the pipe).
TEST(UserAnswersTest, SaveDialogsRefuseTheOpenProjectAndFilesThatAreNotRegular) {
  QTemporaryDir folder;
  const QString project = folder.filePath(QStringLiteral("dam.kol"));
  {
    QFile file(project);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("project bytes");
  }
  const QString pipe = folder.filePath(QStringLiteral("pipe.csv"));
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  SetFileInUse(QStringLiteral("the open project"), project);

  testing::TScriptedPrompts prompts;
  TResultGrid grid;
  grid.SetTable(SmallTable());
  struct Case {
    QString path;
    const char* reason;
  };
  const Case cases[] = {
      {project, "it is the open project"},
      {folder.path(), "it is a folder, not a file"},
      {pipe, "it exists and is not a regular file (a pipe or a device)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    prompts.shown.clear();
    prompts.fileAnswers = {c.path, c.path};
    grid.ExportCsv();
    grid.ExportExcel();
    ASSERT_EQ(prompts.Count("message"), 2);
    EXPECT_TRUE(prompts.shown[1].text.endsWith(QStringLiteral(": %1. Choose another file.").arg(c.reason)))
        << prompts.shown[1].text.toStdString();
  }
  SetFileInUse(QStringLiteral("the open project"), QString());
  QFile file(project);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("project bytes"));
}

}  // namespace
}  // namespace kolma::ui
