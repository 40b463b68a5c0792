// The measurement import dialog on logger files written by the tests: what it shows, and
// how every choice changes the summary and the history OK would give.
#include "ui/dialogs/import_measurements_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

#include "core/model/project.h"
#include "tests/ui/scripted_prompts.h"
#include "ui/dialogs/temperatures_dlg.h"
#include "ui/widgets/numeric_edit.h"

namespace kolma::ui {
namespace {

class ImportMeasurementsDlgTest : public ::testing::Test {
 protected:
  void Open(const char* text) {
    const QString path = folder.filePath(QStringLiteral("readings.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    dialog = std::make_unique<TImportMeasurementsDlg>(ReadMeasurementFile(path.toStdString()), QString());
    dialog->show();
  }
  template <class T>
  T* Find(const char* name) { return dialog->findChild<T*>(QString::fromLatin1(name)); }
  QString Shown(const char* label) { return Find<QLabel>(label)->text(); }
  QStringList Items(const char* name) {
    QStringList items;
    for (int i = 0; i < Find<QListWidget>(name)->count(); ++i) items << Find<QListWidget>(name)->item(i)->text();
    return items;
  }
  static void Key(QWidget* w, int key, const QString& text = QString()) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &event);
  }
  bool OkEnabled() { return Find<QPushButton>("OKBtn")->isEnabled(); }
  const ImportResult& Result() { return dialog->Result(); }

  QTemporaryDir folder;
  std::unique_ptr<TImportMeasurementsDlg> dialog;
};

// Two temperature columns, a decimal comma, and one reading refused for each reason.
TEST_F(ImportMeasurementsDlgTest, ColumnIsChosenByTheUserAndRefusedReadingsAreListedWithTheirLines) {
  Open("Time;Inside;Outside\n2026-03-01 00:00;10,0;1,0\n2026-03-01 01:00;11,0;2,0\n2026-03-01 01:00;11,5;2,5\n"
       "2026-03-01 02:00;12,0;3,0\n2026-03-01 00:30;99;99\nnoon;x;y\n2026-03-01 03:00;13,0;4,0\n"
       "2026-03-01 04:00;14,0;5,0\n");
  EXPECT_TRUE(Shown("LabelDetected").startsWith(QStringLiteral("Semicolon separated, header on line 1, decimal comma")));
  QComboBox* column = Find<QComboBox>("ComboColumn");
  ASSERT_EQ(column->count(), 2);
  EXPECT_EQ(column->currentIndex(), -1);  // nothing is guessed between two temperatures
  EXPECT_FALSE(OkEnabled());
  EXPECT_FALSE(Shown("LabelStatus").isEmpty());

  column->setCurrentIndex(1);
  ASSERT_TRUE(OkEnabled()) << Shown("LabelStatus").toStdString();
  ASSERT_EQ(Result().values.NrOfElem(), 5);
  EXPECT_DOUBLE_EQ(Result().values.Element(5), 5.0);
  EXPECT_TRUE(Shown("LabelFirstTime").contains(QStringLiteral("00:00")));
  EXPECT_TRUE(Shown("LabelLastTime").contains(QStringLiteral("04:00")));
  EXPECT_EQ(Shown("LabelReadings"), QStringLiteral("5 accepted over 4 hour(s), 3 refused"));
  EXPECT_EQ(Items("ListRefused"), (QStringList{QStringLiteral("Line 4: duplicate time"),
                                               QStringLiteral("Line 6: out of time order"),
                                               QStringLiteral("Line 7: unparsable")}));
  column->setCurrentIndex(0);
  EXPECT_DOUBLE_EQ(Result().values.Element(5), 14.0);
}

// A 10-hour gap in elapsed hours: refused until bridged or the limit is raised.
TEST_F(ImportMeasurementsDlgTest, LongGapHoldsOkUntilAcceptedAndEveryChoiceRecomputes) {
  Open("0,10\n1,11\n2,12\n12,22\n13,23\n");
  EXPECT_EQ(Items("ListGaps").size(), 1);
  EXPECT_FALSE(OkEnabled());
  Find<QCheckBox>("CheckBridge")->setChecked(true);
  ASSERT_TRUE(OkEnabled());
  EXPECT_EQ(Shown("LabelBridged"), QStringLiteral("10 hour(s)"));
  ASSERT_EQ(Result().values.NrOfElem(), 14);
  EXPECT_DOUBLE_EQ(Result().values.Element(8), 17.0);  // hour 7, on the line from 12 to 22

  // A typed step taken with Enter recomputes without closing; a limit above the gap lists nothing.
  Find<QCheckBox>("CheckBridge")->setChecked(false);
  auto* step = Find<TNumericEdit>("EditStep");
  for (QChar c : QStringLiteral("0.5")) Key(step, c.unicode(), QString(c));
  Key(step, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_TRUE(dialog->isVisible());
  Find<TNumericEdit>("EditMaxGap")->setValue(12.0);
  EXPECT_TRUE(Items("ListGaps").isEmpty());
  ASSERT_TRUE(OkEnabled());
  EXPECT_EQ(Result().values.NrOfElem(), 27);
  EXPECT_DOUBLE_EQ(Result().timeStep, 0.5);
  Key(dialog.get(), Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
}

// 01/03 and 02/03 are a day or a month apart, as the user says; the proposed step follows.
TEST_F(ImportMeasurementsDlgTest, AmbiguousDayAndMonthAreAsked) {
  Open("01/03/2026 00:00,5\n02/03/2026 00:00,6\n");
  QComboBox* order = Find<QComboBox>("ComboDayMonth");
  EXPECT_TRUE(order->isEnabled());
  EXPECT_FALSE(OkEnabled());
  Find<TNumericEdit>("EditMaxGap")->setValue(1000.0);  // daily readings are no gap here
  order->setCurrentIndex(0);
  ASSERT_TRUE(OkEnabled()) << Shown("LabelStatus").toStdString();
  EXPECT_DOUBLE_EQ(Result().timeStep, 24.0);
  order->setCurrentIndex(1);  // 3 January and 3 February
  EXPECT_DOUBLE_EQ(Find<TNumericEdit>("EditStep")->value(), 31 * 24.0);
  EXPECT_DOUBLE_EQ(Result().timeStep, 31 * 24.0);
}

// The time column found is the one that names hours; the user names the counter instead,
// then a column of text, which holds OK until a column of times is chosen again.
TEST_F(ImportMeasurementsDlgTest, TimeColumnIsChosenByTheUser) {
  Open("Logger;Dam-West-01;;\nNr;T;Stunden;Ort\n1;12,5;0;A\n2;11,5;0,5;A\n3;13,5;1;B\n4;12,0;1,5;B\n");
  QComboBox* time = Find<QComboBox>("ComboTimeColumn");
  ASSERT_EQ(time->count(), 4);
  EXPECT_EQ(time->currentText(), QStringLiteral("Stunden (column 3)"));
  EXPECT_EQ(Find<QComboBox>("ComboColumn")->currentText(), QStringLiteral("T (column 2)")) << "not the lines' numbers";
  ASSERT_TRUE(OkEnabled()) << Shown("LabelStatus").toStdString();
  EXPECT_DOUBLE_EQ(Result().timeStep, 0.5);
  EXPECT_TRUE(Items("ListNotes").contains(QStringLiteral("Skipped 1 line above the header")));

  time->setCurrentIndex(0);  // "Nr": one reading an hour
  ASSERT_TRUE(OkEnabled()) << Shown("LabelStatus").toStdString();
  EXPECT_EQ(Find<QComboBox>("ComboColumn")->currentText(), QStringLiteral("T (column 2)"));
  EXPECT_DOUBLE_EQ(Result().timeStep, 1.0);
  EXPECT_DOUBLE_EQ(Result().values.Element(2), 11.5);
  EXPECT_TRUE(Shown("LabelDetected").contains(QStringLiteral("Time in \"Nr\": elapsed hours")));

  time->setCurrentIndex(3);  // "Ort" holds places, not times
  EXPECT_FALSE(OkEnabled());
  EXPECT_TRUE(Shown("LabelStatus").contains(QStringLiteral("holds no times"))) << Shown("LabelStatus").toStdString();
  time->setCurrentIndex(2);
  EXPECT_TRUE(OkEnabled());
}

// More than a tenth of the readings refused: OK asks, and No keeps the dialog open.
TEST_F(ImportMeasurementsDlgTest, OkConfirmsWhenManyReadingsWereRefused) {
  testing::TScriptedPrompts prompts;
  Open("h,T\n0,1\n1,x\n2,3\n3,y\n4,5\n");
  ASSERT_TRUE(OkEnabled());
  prompts.yesNoAnswers = {false, true};
  Find<QPushButton>("OKBtn")->click();
  ASSERT_EQ(prompts.Count(QStringLiteral("question")), 1);
  EXPECT_TRUE(prompts.shown[0].text.startsWith(QStringLiteral("2 of the 5 readings were refused")))
      << prompts.shown[0].text.toStdString();
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Warning);
  EXPECT_TRUE(dialog->isVisible());
  Find<QPushButton>("OKBtn")->click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog->isVisible());
}

// After an import the editor's caption names the day and hour of hour 0, once however
// often the user imports.
TEST_F(ImportMeasurementsDlgTest, EditorCaptionNamesTheFirstReading) {
  testing::TScriptedPrompts prompts;
  Project project;
  project.InitDefaults();
  TTemperaturesDlg editor(project);
  editor.EditMode = TTemperaturesDlg::UpstreamFace;
  editor.show();
  editor.RunDialog = [](QDialog&) { return int(QDialog::Accepted); };
  for (const char* text : {"Zeit;T\n01.06.2024 00:00;1\n01.06.2024 01:00;2\n", "Zeit;T\n02.06.2024 06:00;1\n02.06.2024 07:00;2\n"}) {
    Open(text);
    prompts.fileAnswers.push_back(folder.filePath(QStringLiteral("readings.csv")));
    editor.findChild<QPushButton*>(QStringLiteral("ButtonImport"))->click();
  }
  EXPECT_EQ(editor.windowTitle(), QStringLiteral("Time history of temperatures at the upstream face - hour 0 = 2024-06-02 06:00"));
}

}  // namespace
}  // namespace kolma::ui
