// The menu bar and the three toolbars of the main window.
#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "ui/widgets/chart_mouse_modes.h"
#include "ui/widgets/icons.h"
#include "ui/main/help_window.h"
#include "ui/main/kolma_application.h"
#include "ui/main/main_form.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {

namespace {

// The one help window of the main window, made at its first use and kept open beside it.
THelpWindow& ShownHelpWindow(QWidget* form) {
  auto* help = form->findChild<THelpWindow*>(QStringLiteral("HelpWindow"), Qt::FindDirectChildrenOnly);
  if (!help) help = new THelpWindow(form);
  help->show();
  help->raise();
  help->activateWindow();
  return *help;
}

}  // namespace

QAction* TMainForm::NewCommand(const QString& objectName, const QString& text, std::function<void()> command) {
  auto* action = new QAction(text, this);
  action->setObjectName(objectName);
  // A command that fails shows its error and leaves the window usable.
  connect(action, &QAction::triggered, this, [this, command = std::move(command)] { RunGuarded(this, command); });
  commands_[objectName] = action;
  return action;
}

void TMainForm::CreateActions() {
  struct TEntry {
    const char* name;
    const char* text;
    const char* hint;
    std::function<void()> command;
    TIconKind icon;
    bool hasIcon = true;
  };
  const std::vector<TEntry> entries = {
      {"FileOpenItem", "&Open...", "Open an existing file", [this] { FileOpenClick(); }, TIconKind::Open},
      {"FileOpenExampleItem", "Open an &example...", "Open one of the example projects", [this] { OpenExampleClick(); },
       TIconKind::Open, false},
      {"FileSaveItem", "&Save", "Save current file", [this] { FileSaveClick(); }, TIconKind::Save},
      {"FileSaveAsItem", "Save &As...", "Save current file under a new name", [this] { FileSaveAsClick(); },
       TIconKind::SaveAs},
      {"FileExitItem", "E&xit", "Exit this application", [this] { FileExitClick(); }, TIconKind::Exit},
      {"DataSectionItem", "&Section", "", [this] { SectionClick(); }, TIconKind::Section},
      {"UpstreamFaceItem", "Upstream face", "", [this] { UpstreamClick(); }, TIconKind::Upstream},
      {"DownstreamFaceItem", "Downstream face", "", [this] { DownstreamClick(); }, TIconKind::Downstream},
      {"InsideSectionItem", "Inside section", "", [this] { InsideClick(); }, TIconKind::Inside},
      {"OptionsItem", "Options", "", [this] { OptionsClick(); }, TIconKind::Options},
      {"StartAnalysisItem", "Start Analysis", "", [this] { StartAnalysisClick(); }, TIconKind::StartAnalysis},
      {"InverseHarmonicsItem", "Selected &harmonics", "", [this] { InverseHarmonicsClick(); }, TIconKind::Harmonics},
      {"InverseTempTimeItem", "Temperature vs. time", "", [this] { InverseTempTimeClick(); }, TIconKind::TimeChart},
      {"InverseSpreadsheetItem", "&Spreadsheet", "", [this] { InverseSpreadsheetClick(); },
       TIconKind::Spreadsheet},
      {"DirectHarmonicsItem", "Selected &harmonics", "", [this] { DirectHarmonicsClick(); }, TIconKind::Harmonics},
      {"DirectDecompositionItem", "Section thermal decomposition", "", [this] { DirectDecompositionClick(); },
       TIconKind::Decomposition},
      {"DirectTempXItem", "Temperature vs. X position", "", [this] { DirectTempXClick(); },
       TIconKind::ProfileChart},
      {"DirectXTimeItem", "X position vs. time", "", [this] { DirectXTimeClick(); }, TIconKind::TimeChart},
      {"Direct3DItem", "3D graphic", "", [this] { Direct3DClick(); }, TIconKind::Surface3D},
      {"DirectSpreadsheetItem", "&Spreadsheet", "", [this] { DirectSpreadsheetClick(); }, TIconKind::Spreadsheet},
      {"CompareItem", "Compare Input and Output", "", [this] { CompareClick(); }, TIconKind::Compare},
      {"HelpContentsItem", "&Contents", "Display the help contents screen",
       [this] { ShownHelpWindow(this).ShowContents(); }, TIconKind::Help},
      {"HelpSearchItem", "&Search for Help On...", "Search help file for a topic",
       [this] { ShownHelpWindow(this).ShowSearch(); }, TIconKind::Help, false},
      {"HelpHowToItem", "&How to Use Help", "Help on using the help system",
       [this] { ShownHelpWindow(this).ShowHowToUse(); }, TIconKind::Help, false},
      {"HelpAboutItem", "&About...", "Show program information", [this] { AboutClick(); }, TIconKind::About},

      {"ToolOpen", "Open", "Open a file", [this] { FileOpenClick(); }, TIconKind::Open},
      {"ToolSave", "Save", "Save", [this] { FileSaveClick(); }, TIconKind::Save},
      {"ToolSection", "Section", "Section divisions and thermal properties", [this] { SectionClick(); },
       TIconKind::Section},
      {"ToolUpstream", "Upstream", "Upstream face temperature variation", [this] { UpstreamClick(); },
       TIconKind::Upstream},
      {"ToolDownstream", "Downstream", "Downstream face temperature variation", [this] { DownstreamClick(); },
       TIconKind::Downstream},
      {"ToolInside", "Inside", "Measured temperature variations inside section", [this] { InsideClick(); },
       TIconKind::Inside},
  };
  for (const TEntry& e : entries) {
    QAction* action = NewCommand(QString::fromLatin1(e.name), QString::fromUtf8(e.text), e.command);
    if (e.hasIcon) action->setIcon(KolmaIcon(e.icon));
    const QString hint = QString::fromUtf8(e.hint);
    action->setStatusTip(hint);
    if (!hint.isEmpty()) action->setToolTip(hint);
  }
  commands_["FileOpenItem"]->setShortcut(QKeySequence::Open);
  commands_["FileSaveItem"]->setShortcut(QKeySequence::Save);
  commands_["FileSaveAsItem"]->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  commands_["DataSectionItem"]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  commands_["StartAnalysisItem"]->setShortcuts({QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_R)});
  commands_["HelpContentsItem"]->setShortcut(QKeySequence::HelpContents);

  // The mouse modes of the chart: a radio group, "None" at start.
  mouseModes_ = new QActionGroup(this);
  mouseModes_->setExclusive(true);
  // Ctrl+1..4 follow the buttons of the "View tools" toolbar, which keeps its own order.
  const QStringList toolbarOrder = {QStringLiteral("ToolNone"), QStringLiteral("ToolPan"), QStringLiteral("ToolZoom"),
                                    QStringLiteral("ToolDrag")};
  for (const TMouseModeTool& m : kMouseModeTools) {
    const int modeKey = Qt::Key_1 + static_cast<int>(toolbarOrder.indexOf(QString::fromLatin1(m.name)));
    const MouseActMode mode = m.mode;
    QAction* action =
        NewCommand(QString::fromLatin1(m.name), QString::fromLatin1(m.text), [this, mode] { chart_->SetMouseAction(mode); });
    action->setIcon(KolmaIcon(m.icon));
    action->setCheckable(true);
    action->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(modeKey)));
    action->setToolTip(action->text());
    action->setStatusTip(action->text());
    mouseModes_->addAction(action);
  }
  commands_["ToolNone"]->setChecked(true);
}

void TMainForm::CreateMenus() {
  QMenuBar* bar = menuBar();
  auto add = [this](QMenu* menu, const char* name) { menu->addAction(commands_.at(QString::fromLatin1(name))); };
  auto named = [](QMenu* m, const char* name) {
    m->setObjectName(QString::fromLatin1(name));
    return m;
  };
  auto subMenu = [&](QMenu* parentMenu, const char* name, const char* text) {
    return named(parentMenu->addMenu(QString::fromUtf8(text)), name);
  };
  auto topMenu = [&](const char* name, const char* text) { return named(bar->addMenu(QString::fromUtf8(text)), name); };

  QMenu* file = topMenu("FileMenu", "&File");
  add(file, "FileOpenItem");
  add(file, "FileOpenExampleItem");
  recentMenu_ = subMenu(file, "RecentProjectsMenu", "&Recent projects");
  add(file, "FileSaveItem");
  add(file, "FileSaveAsItem");
  file->addSeparator();
  add(file, "FileExitItem");

  QMenu* data = topMenu("DataMenu", "&Data");
  add(data, "DataSectionItem");
  QMenu* temperatures = subMenu(data, "TemperaturesMenu", "&Temperatures");
  temperatures->setIcon(KolmaIcon(TIconKind::TimeChart));
  add(temperatures, "UpstreamFaceItem");
  add(temperatures, "DownstreamFaceItem");
  add(temperatures, "InsideSectionItem");

  QMenu* analysis = topMenu("AnalysisMenu", "&Analysis");
  add(analysis, "OptionsItem");
  add(analysis, "StartAnalysisItem");

  QMenu* results = topMenu("ResultsMenu", "&Results");
  QMenu* inverse = subMenu(results, "InverseAnalysisMenu", "Inverse Analysis");
  add(inverse, "InverseHarmonicsItem");
  add(inverse, "InverseTempTimeItem");
  inverse->addSeparator();
  add(inverse, "InverseSpreadsheetItem");
  QMenu* direct = subMenu(results, "DirectAnalysisMenu", "Direct Analysis");
  add(direct, "DirectHarmonicsItem");
  QMenu* graphic2d = subMenu(direct, "Graphic2DMenu", "2D graphic");
  graphic2d->setIcon(KolmaIcon(TIconKind::ProfileChart));
  add(graphic2d, "DirectDecompositionItem");
  add(graphic2d, "DirectTempXItem");
  add(graphic2d, "DirectXTimeItem");
  add(direct, "Direct3DItem");
  direct->addSeparator();
  add(direct, "DirectSpreadsheetItem");
  add(results, "CompareItem");

  QMenu* help = topMenu("HelpMenu", "&Help");
  add(help, "HelpContentsItem");
  add(help, "HelpSearchItem");
  add(help, "HelpHowToItem");
  help->addSeparator();
  add(help, "HelpAboutItem");
}

// "&1 /path/dam.kol", newest first; the menu is greyed while the list is empty.
void TMainForm::RebuildRecentMenu() {
  if (!recentMenu_) return;
  recentMenu_->clear();
  const QStringList paths = recentProjects_.Paths();
  for (int i = 0; i < paths.size(); ++i) {
    const QString path = paths[i];
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));  // an ampersand of the path is no access key
    QAction* entry = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    entry->setObjectName(QStringLiteral("RecentProject%1").arg(i + 1));
    entry->setStatusTip(QDir::toNativeSeparators(path));
    connect(entry, &QAction::triggered, this, [this, path] { RunGuarded(this, [&] { OpenRecentProject(path); }); });
  }
  recentMenu_->setEnabled(!paths.isEmpty());
}

void TMainForm::CreateToolBars() {
  auto toolbar = [this](const char* name, const char* title, Qt::ToolButtonStyle style) {
    QToolBar* t = addToolBar(QString::fromLatin1(title));
    t->setObjectName(QString::fromLatin1(name));
    t->setMovable(true);
    t->setAllowedAreas(Qt::TopToolBarArea | Qt::LeftToolBarArea | Qt::RightToolBarArea);
    t->setToolButtonStyle(style);
    t->setIconSize(QSize(20, 20));
    return t;
  };
  QToolBar* fileTools = toolbar("FileTools", "File tools", Qt::ToolButtonTextBesideIcon);
  fileTools->addAction(commands_.at("ToolOpen"));
  fileTools->addAction(commands_.at("ToolSave"));
  QToolBar* viewTools = toolbar("ViewTools", "View tools", Qt::ToolButtonTextBesideIcon);
  for (const char* name : {"ToolNone", "ToolPan", "ToolZoom", "ToolDrag"})
    viewTools->addAction(commands_.at(QString::fromLatin1(name)));
  QToolBar* inputData = toolbar("InputData", "Input Data", Qt::ToolButtonIconOnly);
  for (const char* name : {"ToolSection", "ToolUpstream", "ToolDownstream", "ToolInside"})
    inputData->addAction(commands_.at(QString::fromLatin1(name)));
}

}  // namespace kolma::ui
