// The input commands of the main window as a user drives them: the face editor and the
// thermometers dialog hand copies over and back, the item list and the chart follow, and
// the questions before leaving a project can be dismissed without losing anything.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "core/model/project_file.h"
#include "tests/ui/main/main_form_fixture.h"
#include "ui/dialogs/temperatures_dlg.h"
#include "ui/dialogs/thermometers_dlg.h"
#include "ui/main/item_list.h"
#include "ui/main/value_list.h"
#include "ui/widgets/numeric_edit.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui::testing {
namespace {

// Runs `answer` on the modal dialog of type D that the next command opens; the answer
// must close it.
template <class D>
void WhenShown(std::function<void(D&)> answer, bool* seen) {
  *seen = false;
  QTimer::singleShot(0, [answer, seen] {
    if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
      *seen = true;
      answer(*dialog);
    }
  });
}

void ClickChild(QWidget& dialog, const char* name) { dialog.findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

class InputCommandsTest : public MainFormTest {
 protected:
  QString HistoryFile() {
    const QString path = Scratch("six.txt");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("6\r\n24\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    return path;
  }
  QStringList Temperatures() const { return form->SectionListBox1()->SubItems(TItemList::TemperaturesPart); }
};

TEST_F(InputCommandsTest, FaceEditorTakesItsCopyBackOnlyOnOkWithAHistory) {
  struct Case {
    const char* command;
    bool loads;
    const char* button;
    bool stored;
  };
  const Case cases[] = {{"UpstreamFaceItem", true, "CancelBtn", false},
                        {"ToolDownstream", false, "OKBtn", false},
                        {"DownstreamFaceItem", true, "OKBtn", true},
                        {"ToolUpstream", true, "OKBtn", true}};
  const QString file = HistoryFile();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    const bool upstream = QString::fromLatin1(c.command).contains(QStringLiteral("Up"));
    const TFaceTemperatureHistory& face = upstream ? project().UpstreamHistory : project().DownstreamHistory;
    const int before = face.Values.NrOfElem();
    project().ProjectFlags = pfSection | pfDirectResults;
    bool seen = false;
    WhenShown<TTemperaturesDlg>(
        [&](TTemperaturesDlg& editor) {
          EXPECT_EQ(editor.EditMode, upstream ? 0 : 1);
          EXPECT_EQ(editor.EditIsNew, before < 2);
          if (c.loads) {
            prompts.fileAnswers.push_back(file);
            ClickChild(editor, "ButtonLoad");
          }
          ClickChild(editor, c.button);
        },
        &seen);
    Command(c.command)->trigger();
    ASSERT_TRUE(seen);
    if (c.stored) {
      EXPECT_EQ(face.Values.NrOfElem(), 8);
      EXPECT_EQ(face.TimeStep, 18.0);
      EXPECT_EQ(project().ProjectFlags, pfSection | pfModified | (upstream ? pfUpstream : pfDownstream));
      EXPECT_TRUE(Temperatures().contains(upstream ? QStringLiteral("Upstream Face") : QStringLiteral("Downstream Face")));
    } else {
      EXPECT_EQ(face.Values.NrOfElem(), before);
      EXPECT_EQ(project().ProjectFlags, pfSection | pfDirectResults);
    }
  }
}

TEST_F(InputCommandsTest, ThermometersComeBackOnOkAndTheShownHistoryFollowsTheEdit) {
  project().ProjectFlags = pfSection;
  bool seen = false;
  WhenShown<TThermometersDlg>(
      [&](TThermometersDlg& dialog) {
        dialog.RunEditor = [](TTemperaturesDlg& editor) {
          TVector samples(3);
          for (int i = 1; i <= 3; ++i) samples.SetElement(i, 10.0 * i);
          editor.EditedValues = samples;
          editor.EditedTimeStep = 2.0;
          editor.PositionEdit()->setValue(4.0);
          return int(QDialog::Accepted);
        };
        for (const char* title : {"T1", "T2"}) {
          dialog.findChild<QLineEdit*>("EditTitle")->setText(QString::fromLatin1(title));
          ClickChild(dialog, "ButtonAdd");
        }
        auto* list = dialog.findChild<QListWidget*>("CheckListBox");
        for (int i = 0; i < 2; ++i) list->item(i)->setCheckState(Qt::Checked);
        ClickChild(dialog, "OKBtn");
      },
      &seen);
  Command("InsideSectionItem")->trigger();
  ASSERT_TRUE(seen);
  EXPECT_EQ(Temperatures(), QStringList({"T1", "T2"}));
  EXPECT_EQ(project().ProjectFlags, pfSection | pfModified | pfInversePair);
  EXPECT_EQ(project().Thermometer(2).Position, 4.0);
  EXPECT_EQ(project().InversePair.First, 1);
  EXPECT_EQ(project().InversePair.Second, 2);

  // T2 is on the chart; removing it in the dialog leaves no picture of it behind.
  form->SectionListBox1()->ClickSubItem(TItemList::TemperaturesPart, 1);
  EXPECT_EQ(form->Chart()->Caption(), QStringLiteral("T2"));
  WhenShown<TThermometersDlg>(
      [&](TThermometersDlg& dialog) {
        dialog.findChild<QListWidget*>("CheckListBox")->setCurrentRow(1);
        ClickChild(dialog, "Button1");
        ClickChild(dialog, "OKBtn");
      },
      &seen);
  Command("ToolInside")->trigger();
  ASSERT_TRUE(seen);
  EXPECT_EQ(Temperatures(), QStringList({"T1"}));
  EXPECT_TRUE(form->Chart()->Items().empty());
  EXPECT_FALSE(project().HasFlag(pfInversePair));
}

TEST_F(InputCommandsTest, DismissedSaveQuestionsKeepTheProjectAndTheWindow) {
  for (const char* command : {"FileOpenItem", "FileExitItem"}) {
    SCOPED_TRACE(command);
    project().ProjectFlags = pfModified | pfSection;
    project().SectionProperties.Xd = 42;
    prompts.yesNoAnswers.push_back(std::nullopt);  // Escape, or the box closed
    Command(command)->trigger();
    EXPECT_EQ(prompts.Count("open") + prompts.Count("save"), 0);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(project().ProjectFlags, pfModified | pfSection);
    EXPECT_EQ(project().SectionProperties.Xd, 42);
  }
}

TEST_F(InputCommandsTest, TheChartFollowsTheKeyboardAndForgetsTheLastProjectOnOpen) {
  OpenFile(ExamplePath("annual-daily-10m.kol"));
  EXPECT_EQ(form->Chart()->IdAbscissa(), QStringLiteral("X position (m)"));
  EXPECT_EQ(form->Chart()->IdOrdinate(), QString());

  TItemList& list = *form->SectionListBox1();
  list.setFocus();
  list.ClickSubItem(TItemList::TemperaturesPart, 0);
  EXPECT_EQ(form->Chart()->Caption(), QStringLiteral("Upstream Face Temperature"));
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(&list, &down);
  EXPECT_EQ(form->Chart()->Caption(), QStringLiteral("Downstream Face Temperature"));
  form->ChartMouseMoveInChart(true, Qt::NoModifier, 100, 5);
  EXPECT_FALSE(form->StatusPanelText(0).isEmpty());

  // A project without a section: nothing of the previous one stays on screen.
  Project bare;
  bare.InitDefaults();
  ASSERT_TRUE(kolma::EcritureFichier(bare, Scratch("bare.kol").toStdString()));
  OpenFile(Scratch("bare.kol"));
  EXPECT_TRUE(form->Chart()->Items().empty());
  EXPECT_TRUE(form->Chart()->Caption().isEmpty());
  EXPECT_TRUE(form->StatusPanelText(0).isEmpty());
  EXPECT_TRUE(form->StatusGeneralText().isEmpty());
}

}  // namespace
}  // namespace kolma::ui::testing
