#include "ui/dialogs/thermometers_dlg.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <gtest/gtest.h>

#include "tests/ui/dialogs/dialog_fixture.h"
#include "ui/widgets/numeric_edit.h"
#include "ui/widgets/title_text.h"

namespace kolma::ui {
namespace {

void PressKey(QWidget* target, int key) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &event);
}

TVector Samples(int count, double first) {
  TVector v(count);
  for (int i = 1; i <= count; ++i) v.SetElement(i, first + i);
  return v;
}

class ThermometersDlgTest : public testing::TDialogFixture<TThermometersDlg> {
 protected:
  // A 2..12 m section; slot k at x = 2 + k with k + 1 samples every 24 h.
  void Reopen(const QStringList& titles, TInversePair pair = {}) {
    project.InitDefaults();
    project.SectionProperties.Xu = 2;
    project.SectionProperties.Xd = 12;
    project.InversePair = pair;
    for (int k = 1; k <= titles.size(); ++k) {
      TTemperatureInside& slot = project.Thermometer(k);
      slot.Title = *TitleFromText(titles[k - 1]);
      slot.Position = 2 + k;
      slot.TimeStep = 24;
      slot.Values = Samples(k + 1, 10 * k);
    }
    dialog_.reset();
    prompts.shown.clear();
  }
  QListWidget* List() { return Find<QListWidget>("CheckListBox"); }
  QStringList Lines() {
    QStringList lines;
    for (int i = 0; i < List()->count(); ++i) lines << List()->item(i)->text();
    return lines;
  }
  std::vector<int> CheckedLines() {
    std::vector<int> checked;
    for (int i = 0; i < List()->count(); ++i)
      if (List()->item(i)->checkState() == Qt::Checked) checked.push_back(i);
    return checked;
  }
  void Click(const char* name) { Find<QPushButton>(name)->click(); }
  void Add(const QString& title) {
    Find<QLineEdit>("EditTitle")->setText(title);
    Click("ButtonAdd");
  }
  // The editor closes with `result` and a history of `count` samples (none for 0).
  void EditorAnswers(int result, int count, double timeStep = 1, double position = 5) {
    dialog().RunEditor = [=, this](TTemperaturesDlg& editor) {
      ++editorRuns;
      editor.EditedValues.reset();
      if (count > 0) editor.EditedValues = Samples(count, 100);
      editor.EditedTimeStep = timeStep;
      editor.PositionEdit()->setValue(position);
      return result;
    };
  }

  int editorRuns = 0;
};

TEST_F(ThermometersDlgTest, AddRefusesEmptyTitleThenTheFullListThenADuplicate) {
  const QStringList ten = {"T1", "T2", "T3", "T4", "T5", "T6", "T7", "T8", "T9", "T10"};
  const struct {
    int occupied;
    QString title, message;
  } cases[] = {
      {10, "", "You must provide a title."},
      {10, "T3", "You have reached the maximum of 10 measured temperatures."},
      {3, "T2", "Duplicate title, use a different one"},
      {3, QString::fromUtf8("Caf\u00e9 \u20ac"),
       QString::fromUtf8("The title cannot hold the character \"\u20ac\": titles take Western European (Latin-1) "
                         "characters only.")},
  };
  for (const auto& c : cases) {
    Reopen(ten.mid(0, c.occupied));
    EditorAnswers(QDialog::Accepted, 4);
    Add(c.title);
    ASSERT_EQ(prompts.shown.size(), 1u) << c.title.toStdString();
    EXPECT_EQ(prompts.shown[0].text, c.message);
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Warning);
    EXPECT_EQ(editorRuns, 0);
    EXPECT_EQ(dialog().OccupiedCount(), c.occupied);
  }
  // Enter in the title adds (here: refuses) and leaves the dialog open; Escape cancels.
  Find<QLineEdit>("EditTitle")->clear();
  PressKey(Find<QLineEdit>("EditTitle"), Qt::Key_Return);
  EXPECT_EQ(prompts.shown.back().text, QStringLiteral("You must provide a title."));
  EXPECT_NE(dialog().result(), QDialog::Accepted);
  PressKey(&dialog(), Qt::Key_Escape);
  EXPECT_EQ(dialog().result(), QDialog::Rejected);
}

TEST_F(ThermometersDlgTest, AddTakesTheEditorsHistoryIntoTheNextSlot) {
  Reopen({"Alpha", "Beta"});
  const QString title = QString::fromUtf8("alph\u00e9");  // differs from "Alpha" in case: accepted
  dialog().RunEditor = [&](TTemperaturesDlg& editor) {
    EXPECT_EQ(editor.windowTitle(), title);
    EXPECT_EQ(editor.EditMode, TTemperaturesDlg::InsideRecord);
    EXPECT_TRUE(editor.EditIsNew);
    EXPECT_FALSE(editor.EditedValues.has_value());
    EXPECT_EQ(editor.EditedPosition, 0.0);
    EXPECT_EQ(editor.PositionEdit()->minimum(), 2.0);
    EXPECT_EQ(editor.PositionEdit()->maximum(), 12.0);
    editor.EditedValues = Samples(6, 0);
    editor.EditedTimeStep = 18;
    editor.PositionEdit()->setValue(4.5);
    return int(QDialog::Accepted);
  };
  Add(title);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(Lines(), QStringList({"Alpha", "Beta", title}));
  EXPECT_TRUE(CheckedLines().empty());
  EXPECT_EQ(Find<QLineEdit>("EditTitle")->text(), title);
  const TThermometerSlot& s = dialog().Slot(3);
  EXPECT_EQ(s.Values->NrOfElem(), 6);
  EXPECT_EQ(s.TimeStep, 18.0);
  EXPECT_EQ(s.Position, 4.5);
  EXPECT_EQ(s.Title.Text(), std::string("alph\xe9"));
}

TEST_F(ThermometersDlgTest, AnEditorWithoutAUsableHistoryChangesNothing) {
  // Cancel; OK without a history; OK with one sample, which the project takes for "empty".
  const struct {
    int result, count, warnings;
  } cases[] = {{QDialog::Rejected, 5, 0}, {QDialog::Accepted, 0, 0}, {QDialog::Accepted, 1, 2}};
  for (const auto& c : cases) {
    Reopen({"A", "B"});
    editorRuns = 0;
    EditorAnswers(c.result, c.count, 7, 9);
    Add("C");
    List()->setCurrentRow(1);
    Click("Button2");
    EXPECT_EQ(editorRuns, 2);
    EXPECT_EQ(prompts.Count("message"), c.warnings) << c.result << " " << c.count;
    EXPECT_EQ(Lines(), QStringList({"A", "B"}));
    EXPECT_EQ(dialog().OccupiedCount(), 2);
    EXPECT_EQ(dialog().Slot(2).Values->NrOfElem(), 3);
    EXPECT_EQ(dialog().Slot(2).TimeStep, 24.0);
    EXPECT_EQ(dialog().Slot(2).Position, 4.0);
  }
}

TEST_F(ThermometersDlgTest, EditStoresTheNewHistoryWithItsTimeStepAndPosition) {
  Reopen({"A", "B", "C"});
  List()->setCurrentRow(1);
  dialog().RunEditor = [](TTemperaturesDlg& editor) {
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("B"));
    EXPECT_FALSE(editor.EditIsNew);
    EXPECT_EQ(editor.EditedPosition, 4.0);
    EXPECT_EQ(editor.PositionEdit()->value(), 4.0);
    EXPECT_EQ(editor.EditedTimeStep, 24.0);
    EXPECT_EQ(editor.EditedValues->NrOfElem(), 3);
    editor.EditedValues = Samples(8, 0);  // as if loaded from a file sampled hourly
    editor.EditedTimeStep = 1;
    editor.PositionEdit()->setValue(99);  // beyond the downstream face
    return int(QDialog::Accepted);
  };
  Click("Button2");
  const TThermometerSlot& s = dialog().Slot(2);
  EXPECT_EQ(s.Values->NrOfElem(), 8);
  EXPECT_EQ(s.TimeStep, 1.0);
  EXPECT_EQ(s.Position, 12.0);
  EXPECT_EQ(Lines(), QStringList({"A", "B", "C"}));
}

TEST_F(ThermometersDlgTest, RemovingTheMiddleOfThreeKeepsTheChecksOnTheirTitles) {
  Reopen({"A", "B", "C"}, {1, 3});
  project.Thermometer(4).Title = *TitleFromText("stale");
  List()->setCurrentRow(1);
  Click("Button1");
  EXPECT_EQ(Lines(), QStringList({"A", "C"}));
  EXPECT_EQ(CheckedLines(), std::vector<int>({0, 1}));
  EXPECT_FALSE(dialog().Slot(3).Values.has_value());
  Click("OKBtn");
  EXPECT_EQ(dialog().result(), QDialog::Accepted);

  project.ProjectFlags = pfSection;
  dialog().CopyBackTo(project);
  EXPECT_EQ(project.InversePair.First, 1);
  EXPECT_EQ(project.InversePair.Second, 2);
  EXPECT_EQ(project.ProjectFlags, pfSection | pfInversePair);
  EXPECT_EQ(CountOccupiedThermometers(project), 2);
  EXPECT_EQ(TitleText(project.Thermometer(2).Title), QStringLiteral("C"));
  EXPECT_EQ(project.Thermometer(2).Position, 5.0);
  EXPECT_EQ(project.Thermometer(2).Values.Element(4), 34.0);
  for (int k : {3, 4, 10}) {
    const TTemperatureInside& empty = project.Thermometer(k);
    EXPECT_EQ(empty.Values.NrOfElem(), 1) << k;
    EXPECT_EQ(empty.Position, 2.0);
    EXPECT_EQ(empty.TimeStep, 0.0);
    EXPECT_EQ(empty.Title.Length(), 0);
  }
}

TEST_F(ThermometersDlgTest, AThirdCheckIsUndoneWithAMessage) {
  Reopen({"A", "B", "C"});
  for (int line : {2, 0, 1}) List()->item(line)->setCheckState(Qt::Checked);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, QStringLiteral("You already checked 2 measured temperatures."));
  EXPECT_EQ(CheckedLines(), std::vector<int>({0, 2}));
}

TEST_F(ThermometersDlgTest, StoredPairChecksOnlyLinesThatExist) {
  const struct {
    TInversePair stored;
    std::vector<int> checked;
    TInversePair onOk;
  } cases[] = {{{1, 5}, {0}, {1, 0}}, {{0, 2}, {1}, {2, 0}}, {{-1, 4}, {}, {0, 0}}, {{3, 2}, {1, 2}, {2, 3}}};
  for (const auto& c : cases) {
    Reopen({"A", "B", "C"}, c.stored);
    project.ProjectFlags = pfInversePair;
    EXPECT_EQ(CheckedLines(), c.checked) << c.stored.First << " " << c.stored.Second;
    Click("OKBtn");
    dialog().CopyBackTo(project);
    EXPECT_EQ(project.InversePair.First, c.onOk.First);
    EXPECT_EQ(project.InversePair.Second, c.onOk.Second);
    EXPECT_EQ(project.HasFlag(pfInversePair), c.onOk.Second > 0);
  }
}

}  // namespace
}  // namespace kolma::ui
