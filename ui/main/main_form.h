#pragma once
// The main window: owns the project for the whole run, offers every command through
// the menu bar and three toolbars, lists the defined parts of the project on the left
// and shows the main chart or the value list in the rest of the window.
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <optional>

#include "core/model/project.h"
#include "ui/main/recent_projects.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;

namespace kolma::ui {

class TItemList;
class TRChart;
class TValueList;
class TClientArea;

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  kolma::Project& project() { return project_; }
  const kolma::Project& project() const { return project_; }

  // Enables the analysis and result entries from the flags and puts the project file
  // name into the caption.
  void UpdateMenuItems();
  // Rebuilds the sub-items of the item list.
  void UpdateListBox();

  void DrawSection();
  void DrawTimeHistory(const kolma::TFaceTemperatureHistory& history, const QString& caption);
  void DrawTimeHistoryInside(kolma::TTemperatureInside slot);  // works on its own copy

  // Project file operations; a failure is reported in a warning box that names the file
  // and the reason, and leaves the project as it was.
  bool LectureFichier(const QString& path);
  bool EcritureFichier(const QString& path);
  void ViderMemoire();

  // Opens a project named outside the Open dialog (command line, a file dropped on the
  // window, the recent projects), asking first whether to save unsaved changes.
  // False when nothing was opened.
  bool OpenProjectFile(const QString& path);
  // A recent project that no longer exists is taken off the list with a message.
  void OpenRecentProject(const QString& path);
  // The project named on the command line: opened once the window has shown.
  void OpenWhenShown(const QString& path) { pathToOpenWhenShown_ = path; }
  QStringList RecentProjects() const { return recentProjects_.Paths(); }
  // The example projects carried inside the program, by file name.
  static QStringList ExampleNames();
  // Opens an example as a new, unnamed project (its name in the caption; Save asks where
  // to save), asking first whether to save unsaved changes. False when nothing was opened.
  bool OpenExample(const QString& name);

  // Every command by its object name ("FileOpenItem", "ToolPan", ...), for callers
  // that drive the window as a user would.
  QAction* Command(const QString& objectName) const;

  TRChart* Chart() const { return chart_; }
  TValueList* ValueListEditor() const { return valueList_; }
  TItemList* SectionListBox1() const { return itemList_; }
  QWidget* ClientArea() const;
  QString StatusPanelText(int panel) const;  // panels 0, 1, 2
  QString StatusGeneralText() const;

 public slots:
  void FileOpenClick();
  void OpenExampleClick();
  bool FileSaveClick();    // true when the project was written
  bool FileSaveAsClick();  // true when the project was written
  void FileExitClick();
  void SectionClick();
  void UpstreamClick();
  void DownstreamClick();
  void InsideClick();
  void OptionsClick();
  void StartAnalysisClick();
  void InverseHarmonicsClick();
  void InverseTempTimeClick();
  void InverseSpreadsheetClick();
  void DirectHarmonicsClick();
  void DirectDecompositionClick();
  void DirectTempXClick();
  void DirectXTimeClick();
  void Direct3DClick();
  void DirectSpreadsheetClick();
  void CompareClick();
  void AboutClick();
  void SectionListBox1Click(int section, int index, const QString& text);
  void ChartMouseMoveInChart(bool inChart, Qt::KeyboardModifiers shift, double x, double y);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Built in main_menus.cpp.
  void CreateActions();
  void CreateMenus();
  void CreateToolBars();

  void CreateClientArea();
  void CreateStatusLine();
  QAction* NewCommand(const QString& objectName, const QString& text, std::function<void()> command);
  void EnableMenuEntries();
  void RebuildRecentMenu();
  void RememberRecent(const QString& path);
  void StartLinkActivated(const QString& link);
  bool LoadProject(const QString& path);
  void ShowLoadedProject();
  void ShowChart();
  void ShowValueList();
  void ShowThermalProperties();
  // Result windows read the project and change nothing the menus depend on; the menus
  // are refreshed all the same, as after every window.
  template <class Window, class... Inputs>
  void ShowResults(Inputs... inputs) {
    Window window(project_, inputs..., this);
    window.exec();
    UpdateMenuItems();
  }
  void SetGeneralStatusText(const QString& text);
  bool SaveBeforeLeaving(const QString& question);
  void EditFace(int mode);
  void InputAccepted(std::uint8_t definedFlag);
  void RedrawShownItem();
  void ForgetShownPicture();

  // The item list entry whose picture the client area shows.
  struct TShownItem {
    int section = 0;
    QString text;
  };
  std::optional<TShownItem> shownItem_;

  kolma::Project project_;
  std::map<QString, QAction*> commands_;
  TRecentProjects recentProjects_;
  QMenu* recentMenu_ = nullptr;
  QActionGroup* mouseModes_ = nullptr;
  TItemList* itemList_ = nullptr;
  TClientArea* clientArea_ = nullptr;
  TRChart* chart_ = nullptr;
  TValueList* valueList_ = nullptr;
  std::array<QLabel*, 3> panels_{};
  bool shownOnce_ = false;
  QString pathToOpenWhenShown_;
  QString exampleName_;  // the example an unnamed project was opened from
};

}  // namespace kolma::ui
