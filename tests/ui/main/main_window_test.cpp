// The main window's life cycle: start-up state, menu states from the flags, the caption,
// and opening, saving and closing with their questions.
#include <QActionGroup>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "core/model/project_file.h"
#include "tests/ui/main/main_form_fixture.h"
#include "ui/dialogs/section_dlg.h"
#include "ui/main/item_list.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui::testing {
namespace {

const char* const kDirectEntries[] = {"DirectHarmonicsItem", "DirectDecompositionItem", "DirectTempXItem",
                                      "DirectXTimeItem",     "Direct3DItem",            "DirectSpreadsheetItem"};
const char* const kInverseEntries[] = {"InverseHarmonicsItem", "InverseTempTimeItem", "InverseSpreadsheetItem"};

QStringList MenuTexts(QMenu* menu) {
  QStringList texts;
  for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return texts;
}

TEST_F(MainFormTest, StartsEmptyWithOnlyInputCommandsAvailable) {
  EXPECT_EQ(project().ProjectFlags, 0);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Kolma [ Noname ]"));
  EXPECT_FALSE(Command("StartAnalysisItem")->isEnabled());
  for (const char* name : kDirectEntries) EXPECT_FALSE(Command(name)->isEnabled()) << name;
  for (const char* name : kInverseEntries) EXPECT_FALSE(Command(name)->isEnabled()) << name;
  EXPECT_FALSE(Command("CompareItem")->isEnabled());
  for (const char* name : {"FileOpenItem", "FileSaveItem", "FileSaveAsItem", "FileExitItem", "DataSectionItem",
                           "UpstreamFaceItem", "DownstreamFaceItem", "InsideSectionItem", "OptionsItem",
                           "HelpContentsItem", "HelpSearchItem", "HelpHowToItem", "HelpAboutItem"})
    EXPECT_TRUE(Command(name)->isEnabled()) << name;

  EXPECT_TRUE(form->SectionListBox1()->SubItems(TItemList::SectionPart).isEmpty());
  EXPECT_TRUE(form->SectionListBox1()->SubItems(TItemList::TemperaturesPart).isEmpty());
  EXPECT_TRUE(form->SectionListBox1()->SectionItem()->isExpanded());
  EXPECT_TRUE(form->SectionListBox1()->TemperaturesItem()->isExpanded());
  EXPECT_FALSE(form->Chart()->isVisible());
  EXPECT_FALSE(form->findChild<QWidget*>(QStringLiteral("ValueListEditor"))->isVisible());
  EXPECT_TRUE(Command("ToolNone")->isChecked());
  EXPECT_EQ(form->Chart()->MouseAction(), maNone);
  EXPECT_GE(form->width(), 640);
  EXPECT_GE(form->height(), 450);
  EXPECT_EQ(form->minimumSize(), QSize(640, 450));
}

TEST_F(MainFormTest, MenusToolbarsAndStatusLineAreLaidOutAsDocumented) {
  QStringList bar;
  for (QAction* a : form->menuBar()->actions()) bar << a->text();
  EXPECT_EQ(bar, QStringList({"&File", "&Data", "&Analysis", "&Results", "&Help"}));
  auto menu = [&](const char* name) { return form->findChild<QMenu*>(QString::fromLatin1(name)); };
  EXPECT_EQ(MenuTexts(menu("FileMenu")), QStringList({"&Open...", "Open an &example...", "&Recent projects", "&Save",
                                                      "Save &As...", "-", "E&xit"}));
  EXPECT_EQ(MenuTexts(menu("TemperaturesMenu")),
            QStringList({"Upstream face", "Downstream face", "Inside section"}));
  EXPECT_EQ(MenuTexts(menu("AnalysisMenu")), QStringList({"Options", "Start Analysis"}));
  EXPECT_EQ(MenuTexts(menu("InverseAnalysisMenu")),
            QStringList({"Selected &harmonics", "Temperature vs. time", "-", "&Spreadsheet"}));
  EXPECT_EQ(MenuTexts(menu("DirectAnalysisMenu")),
            QStringList({"Selected &harmonics", "2D graphic", "3D graphic", "-", "&Spreadsheet"}));
  EXPECT_EQ(MenuTexts(menu("Graphic2DMenu")),
            QStringList({"Section thermal decomposition", "Temperature vs. X position", "X position vs. time"}));
  EXPECT_EQ(MenuTexts(menu("ResultsMenu")),
            QStringList({"Inverse Analysis", "Direct Analysis", "Compare Input and Output"}));
  EXPECT_EQ(MenuTexts(menu("HelpMenu")),
            QStringList({"&Contents", "&Search for Help On...", "&How to Use Help", "-", "&About..."}));
  EXPECT_EQ(Command("FileSaveAsItem")->statusTip(), QStringLiteral("Save current file under a new name"));
  EXPECT_EQ(Command("ToolOpen")->toolTip(), QStringLiteral("Open a file"));
  EXPECT_EQ(Command("ToolInside")->toolTip(), QStringLiteral("Measured temperature variations inside section"));

  const struct {
    const char* name;
    const char* title;
    QStringList buttons;
  } toolbars[] = {{"FileTools", "File tools", {"ToolOpen", "ToolSave"}},
                  {"ViewTools", "View tools", {"ToolNone", "ToolPan", "ToolZoom", "ToolDrag"}},
                  {"InputData", "Input Data", {"ToolSection", "ToolUpstream", "ToolDownstream", "ToolInside"}}};
  for (const auto& t : toolbars) {
    auto* toolbar = form->findChild<QToolBar*>(QString::fromLatin1(t.name));
    ASSERT_NE(toolbar, nullptr) << t.name;
    EXPECT_EQ(toolbar->windowTitle(), QString::fromLatin1(t.title));
    EXPECT_EQ(form->toolBarArea(toolbar), Qt::TopToolBarArea);
    EXPECT_EQ(toolbar->allowedAreas(), Qt::TopToolBarArea | Qt::LeftToolBarArea | Qt::RightToolBarArea);
    EXPECT_TRUE(toolbar->isMovable());
    QStringList names;
    for (QAction* a : toolbar->actions()) {
      names << a->objectName();
      EXPECT_FALSE(a->icon().isNull()) << a->objectName().toStdString();
    }
    EXPECT_EQ(names, t.buttons);
  }

  EXPECT_EQ(form->statusBar()->objectName(), QStringLiteral("StatusLine"));
  const int widths[] = {150, 150, 50};
  for (int i = 0; i < 3; ++i) {
    auto* panel = form->statusBar()->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->width(), widths[i]);
  }
}

TEST_F(MainFormTest, MenuStatesFollowTheFlags) {
  struct TCase {
    std::uint8_t flags;
    bool start, direct, inverse, compare;
  };
  const TCase cases[] = {
      {pfSection | pfUpstream | pfDownstream, true, false, false, false},
      {pfSection | pfInversePair, true, false, false, false},
      {pfUpstream | pfDownstream | pfInversePair, false, false, false, false},
      {pfSection | pfUpstream, false, false, false, false},
      {pfSection | pfDownstream | pfModified, false, false, false, false},
      {pfDirectResults, false, true, false, false},
      {pfInverseResults, false, false, true, false},
      {pfDirectResults | pfInverseResults, false, true, true, true},
      {0, false, false, false, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(int(c.flags));
    project().ProjectFlags = c.flags;
    form->UpdateMenuItems();
    EXPECT_EQ(Command("StartAnalysisItem")->isEnabled(), c.start);
    for (const char* name : kDirectEntries) EXPECT_EQ(Command(name)->isEnabled(), c.direct) << name;
    for (const char* name : kInverseEntries) EXPECT_EQ(Command(name)->isEnabled(), c.inverse) << name;
    EXPECT_EQ(Command("CompareItem")->isEnabled(), c.compare);
    EXPECT_TRUE(Command("DataSectionItem")->isEnabled());
    EXPECT_TRUE(Command("HelpContentsItem")->isEnabled());
  }

  // A change of the active window refreshes the menus and the caption as well.
  project().ProjectFlags = pfDirectResults;
  project().ProjectFileName = "/data/dam.kol";
  QEvent activation(QEvent::ActivationChange);
  QApplication::sendEvent(form.get(), &activation);
  EXPECT_TRUE(Command("Direct3DItem")->isEnabled());
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Kolma [ /data/dam.kol ]"));
}

TEST_F(MainFormTest, SaveOfAnUnnamedProjectAsksForANameThenSavesSilently) {
  project().ProjectFlags = pfModified;
  const QString path = Scratch("first.kol");
  prompts.fileAnswers.push_back(path);
  Command("FileSaveItem")->trigger();
  ASSERT_EQ(prompts.Count("save"), 1);
  EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Save As"));
  EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Kolma file|*.kol"));
  EXPECT_EQ(QFileInfo(path).size(), 126);  // nothing defined yet
  EXPECT_EQ(project().ProjectFlags, 0);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Kolma [ %1 ]").arg(path));
  EXPECT_EQ(form->StatusGeneralText(), QStringLiteral("File saved as ") + path);

  // Named now: Save writes without a dialog; Save As always asks.
  QFile::remove(path);
  project().ProjectFlags = pfModified;
  Command("ToolSave")->trigger();
  EXPECT_EQ(prompts.Count("save"), 1);
  EXPECT_TRUE(QFileInfo::exists(path));
  EXPECT_EQ(project().ProjectFlags, 0);

  const QString other = Scratch("second.kol");
  prompts.fileAnswers.push_back(other);
  Command("FileSaveAsItem")->trigger();
  EXPECT_EQ(prompts.Count("save"), 2);
  EXPECT_EQ(project().ProjectFileName, other.toStdString());

  // Save As cancelled changes nothing.
  project().ProjectFlags = pfModified;
  prompts.fileAnswers.push_back(QString());
  Command("FileSaveAsItem")->trigger();
  EXPECT_EQ(project().ProjectFileName, other.toStdString());
  EXPECT_EQ(project().ProjectFlags, pfModified);
  EXPECT_EQ(prompts.Count("message"), 0);
}

TEST_F(MainFormTest, OpenLoadsTheFileRecomputesNodesAndRefreshesEverything) {
  project().ProjectFlags = pfDirectResults | pfInverseResults;
  OpenFile(ExamplePath("annual-daily-10m.kol"));
  ASSERT_EQ(prompts.Count("open"), 1);
  EXPECT_EQ(prompts.Count("question"), 0);  // nothing unsaved
  EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Open"));
  EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Kolma file|*.kol"));
  EXPECT_EQ(project().ProjectFlags, pfSection | pfUpstream | pfDownstream);
  EXPECT_EQ(project().ProjectFileName, ExamplePath("annual-daily-10m.kol").toStdString());
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Kolma [ %1 ]").arg(ExamplePath("annual-daily-10m.kol")));
  EXPECT_EQ(project().SectionProperties.Nodes.NrOfElem(), project().SectionProperties.NbDivisions + 1);
  EXPECT_TRUE(Command("StartAnalysisItem")->isEnabled());
  EXPECT_FALSE(Command("DirectHarmonicsItem")->isEnabled());
  EXPECT_EQ(form->SectionListBox1()->SubItems(TItemList::SectionPart),
            QStringList({"Geometry", "Thermal properties"}));
  EXPECT_EQ(form->SectionListBox1()->SubItems(TItemList::TemperaturesPart),
            QStringList({"Upstream Face", "Downstream Face"}));
  EXPECT_TRUE(form->Chart()->isVisible());
  EXPECT_EQ(form->Chart()->Caption(), QStringLiteral("Geometry"));

  // Thermometer titles follow the faces in slot order.
  OpenFile(ExamplePath("four-thermometers.kol"));
  QStringList expected;
  for (int slot = 1; slot <= 4; ++slot) expected << TitleText(project().Thermometer(slot).Title);
  EXPECT_EQ(form->SectionListBox1()->SubItems(TItemList::TemperaturesPart), expected);
  EXPECT_TRUE(Command("StartAnalysisItem")->isEnabled());  // section and inverse pair
}

TEST_F(MainFormTest, OpenWithUnsavedChangesAsksFirst) {
  const QString example = ExamplePath("annual-daily-10m.kol");

  // No: nothing is saved, the file is opened.
  project().ProjectFlags = pfModified;
  prompts.yesNoAnswers.push_back(false);
  OpenFile(example);
  ASSERT_EQ(prompts.Count("question"), 1);
  EXPECT_EQ(prompts.shown[0].text,
            QStringLiteral("Do you want to save your changes before loading another problem?"));
  EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Information);
  EXPECT_EQ(prompts.Count("save"), 0);
  EXPECT_EQ(project().ProjectFileName, example.toStdString());

  // Yes on a named project: saved in place, then the other file is opened.
  const QString mine = Scratch("mine.kol");
  project().ProjectFileName = mine.toStdString();
  project().SectionProperties.Xd = 25;
  project().ProjectFlags |= pfModified;
  prompts.yesNoAnswers.push_back(true);
  OpenFile(ExamplePath("four-thermometers.kol"));
  EXPECT_EQ(prompts.Count("save"), 0);
  Project saved;
  ASSERT_TRUE(kolma::LectureFichier(saved, mine.toStdString()));
  EXPECT_EQ(saved.SectionProperties.Xd, 25);
  EXPECT_EQ(project().ProjectFileName, ExamplePath("four-thermometers.kol").toStdString());

  // Yes on an unnamed project goes through Save As.
  project().ProjectFileName = kNoProjectFileName;
  project().ProjectFlags |= pfModified;
  prompts.yesNoAnswers.push_back(true);
  prompts.fileAnswers.push_back(Scratch("named.kol"));
  OpenFile(example);
  EXPECT_EQ(prompts.Count("save"), 1);
  EXPECT_TRUE(QFileInfo::exists(Scratch("named.kol")));
  EXPECT_EQ(project().ProjectFileName, example.toStdString());
}

TEST_F(MainFormTest, OpenStopsWhenTheWantedSaveDidNotHappen) {
  project().ProjectFlags = pfModified | pfSection;
  project().SectionProperties.Xd = 33;
  prompts.yesNoAnswers.push_back(true);
  prompts.fileAnswers.push_back(QString());  // Save As cancelled
  Command("ToolOpen")->trigger();
  EXPECT_EQ(prompts.Count("open"), 0);
  EXPECT_EQ(project().SectionProperties.Xd, 33);
  EXPECT_EQ(project().ProjectFlags, pfModified | pfSection);
}

TEST_F(MainFormTest, AFailedOpenWarnsAndLeavesTheProjectAsItWas) {
  OpenFile(ExamplePath("annual-daily-10m.kol"));
  project().ProjectFlags |= pfDirectResults;
  form->UpdateMenuItems();
  const Project before = project();
  const QStringList items = form->SectionListBox1()->SubItems(TItemList::TemperaturesPart);

  // A file cut short inside the upstream history.
  QFile source(ExamplePath("annual-daily-10m.kol"));
  ASSERT_TRUE(source.open(QIODevice::ReadOnly));
  const QString cut = Scratch("cut.kol");
  QFile target(cut);
  ASSERT_TRUE(target.open(QIODevice::WriteOnly));
  target.write(source.read(500));
  target.close();

  for (const QString& path : {cut, Scratch("missing.kol")}) {
    SCOPED_TRACE(path.toStdString());
    prompts.shown.clear();
    OpenFile(path);
    ASSERT_EQ(prompts.Count("message"), 1);
    EXPECT_EQ(prompts.shown.back().icon, PromptIcon::Warning);
    EXPECT_TRUE(prompts.shown.back().text.contains(path));
    EXPECT_EQ(project().ProjectFlags, before.ProjectFlags);
    EXPECT_EQ(project().ProjectFileName, before.ProjectFileName);
    EXPECT_EQ(project().UpstreamHistory.Values.NrOfElem(), before.UpstreamHistory.Values.NrOfElem());
    EXPECT_EQ(project().SectionProperties.Nodes.NrOfElem(), before.SectionProperties.Nodes.NrOfElem());
    EXPECT_EQ(form->SectionListBox1()->SubItems(TItemList::TemperaturesPart), items);
    EXPECT_TRUE(Command("Direct3DItem")->isEnabled());
  }
}

TEST_F(MainFormTest, AFailedSaveWarnsAndKeepsTheChangesMarked) {
  project().ProjectFlags = pfModified;
  const QString path = Scratch("no-such-folder/x.kol");
  prompts.fileAnswers.push_back(path);
  Command("FileSaveAsItem")->trigger();
  ASSERT_EQ(prompts.Count("message"), 1);
  EXPECT_EQ(prompts.shown.back().icon, PromptIcon::Warning);
  EXPECT_TRUE(prompts.shown.back().text.contains(path));
  EXPECT_EQ(project().ProjectFlags, pfModified);
  EXPECT_EQ(project().ProjectFileName, kNoProjectFileName);
  EXPECT_FALSE(form->StatusGeneralText().startsWith(QStringLiteral("File saved")));
}

TEST_F(MainFormTest, ASectionWithoutAValidDivisionLeavesNoNodesOfThePreviousProject) {
  Project odd;
  odd.ProjectFlags = pfSection;
  odd.SectionProperties.Xu = 2;
  odd.SectionProperties.Xd = 7;
  odd.SectionProperties.NbDivisions = 1;  // never written by the program
  ASSERT_TRUE(kolma::EcritureFichier(odd, Scratch("odd.kol").toStdString()));
  OpenFile(ExamplePath("annual-daily-10m.kol"));
  OpenFile(Scratch("odd.kol"));
  const TVector& nodes = project().SectionProperties.Nodes;
  ASSERT_EQ(nodes.NrOfElem(), 2);
  EXPECT_EQ(nodes.Element(1), 2);
  EXPECT_EQ(nodes.Element(2), 7);
}

TEST_F(MainFormTest, ClosingAsksToSaveAndStaysOpenWhenTheSaveDidNotHappen) {
  // A save that fails: the window stays, the project with it.
  project().ProjectFlags = pfModified | pfSection;
  project().ProjectFileName = Scratch("gone/x.kol").toStdString();
  prompts.yesNoAnswers.push_back(true);
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(prompts.shown.front().text, QStringLiteral("Do you want to save your changes before closing KOLMA?"));
  EXPECT_EQ(prompts.Count("message"), 1);  // the failed save is reported
  EXPECT_EQ(project().ProjectFlags, pfModified | pfSection);

  // Save As cancelled: stays open as well.
  project().ProjectFileName = kNoProjectFileName;
  prompts.yesNoAnswers.push_back(true);
  prompts.fileAnswers.push_back(QString());
  Command("FileExitItem")->trigger();
  EXPECT_TRUE(form->isVisible());

  // Yes with a good name: saved, then closed and released.
  project().ProjectFileName = Scratch("kept.kol").toStdString();
  prompts.yesNoAnswers.push_back(true);
  EXPECT_TRUE(form->close());
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(QFileInfo::exists(Scratch("kept.kol")));
  EXPECT_EQ(project().ProjectFlags, 0);
}

TEST_F(MainFormTest, ClosingWithoutSavingWhenTheUserSaysNo) {
  project().ProjectFlags = pfModified;
  prompts.yesNoAnswers.push_back(false);
  EXPECT_TRUE(form->close());
  EXPECT_EQ(prompts.Count("save"), 0);

  // Nothing unsaved: no question at all.
  auto second = std::make_unique<TMainForm>();
  second->show();
  EXPECT_TRUE(second->close());
  EXPECT_EQ(prompts.Count("question"), 1);
}

TEST_F(MainFormTest, AcceptedSectionDialogDrawsTheSectionAndMarksTheProject) {
  project().ProjectFlags = pfDirectResults | pfInverseResults | pfUpstream;
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<TSectionDlg*>(QApplication::activeModalWidget());
    seen = dialog != nullptr;
    if (dialog) dialog->OKBtnClick();
  });
  Command("ToolSection")->trigger();
  ASSERT_TRUE(seen);
  EXPECT_EQ(project().ProjectFlags, pfModified | pfSection | pfUpstream);
  EXPECT_EQ(form->SectionListBox1()->SubItems(TItemList::SectionPart),
            QStringList({"Geometry", "Thermal properties"}));
  EXPECT_EQ(form->Chart()->Caption(), QStringLiteral("Geometry"));
  EXPECT_TRUE(form->Chart()->isVisible());
  EXPECT_FALSE(Command("DirectHarmonicsItem")->isEnabled());

  // Cancel changes nothing.
  const std::uint8_t flags = project().ProjectFlags & ~pfModified;
  project().ProjectFlags = flags;
  QTimer::singleShot(0, [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
  });
  Command("DataSectionItem")->trigger();
  EXPECT_EQ(project().ProjectFlags, flags);
}

TEST_F(MainFormTest, ResultCommandsOpenTheirWindows) {
  OpenFile(ExamplePath("four-thermometers.kol"));
  project().ProjectFlags |= pfDirectResults | pfInverseResults;
  project().DirectResults.TimeStep = 24;
  project().DirectResults.Temperatures = TMatrix(project().SectionProperties.Nodes.NrOfElem(), 3);
  project().InverseResults.TimeStep = 24;
  project().InverseResults.UpstreamTemperatures = TVector(3);
  project().InverseResults.DownstreamTemperatures = TVector(3);
  form->UpdateMenuItems();
  const std::pair<const char*, const char*> windows[] = {
      {"InverseHarmonicsItem", "kolma::ui::THarmonicDlg"},      {"DirectHarmonicsItem", "kolma::ui::THarmonicDlg"},
      {"InverseSpreadsheetItem", "kolma::ui::TSpreadsheetDlg"}, {"DirectSpreadsheetItem", "kolma::ui::TSpreadsheetDlg"},
      {"DirectTempXItem", "kolma::ui::TTempTimeDlg"},           {"DirectXTimeItem", "kolma::ui::TTempSectionDlg"},
      {"InverseTempTimeItem", "kolma::ui::TTempSectionDlg"},    {"CompareItem", "kolma::ui::TTempSectionDlg"},
      {"DirectDecompositionItem", "kolma::ui::TTempSectionDlg"}, {"Direct3DItem", "kolma::ui::TPlot3DDlg"}};
  for (const auto& [name, window] : windows) {
    QString opened;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    // Polls until the window is up: the 3-D command lets events through before it opens.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        poll.stop();
        opened = QString::fromLatin1(dialog->metaObject()->className());
        cursor = form->cursor().shape();
        dialog->reject();
      }
    });
    poll.start(0);
    Command(name)->trigger();
    poll.stop();
    EXPECT_EQ(opened, QString::fromLatin1(window)) << name;
    // The 3-D view alone keeps the hourglass over the main window while it is open.
    EXPECT_EQ(cursor, opened.endsWith(QLatin1String("TPlot3DDlg")) ? Qt::WaitCursor : Qt::ArrowCursor) << name;
  }
  EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(prompts.Count("message"), 0);
}

}  // namespace
}  // namespace kolma::ui::testing
