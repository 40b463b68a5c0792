#include "ui/main/main_form.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <span>

#include "core/model/node_distribution.h"
#include "core/model/project_codec.h"
#include "core/model/project_file.h"
#include "ui/dialogs/analysis_dlg.h"
#include "ui/dialogs/options_dlg.h"
#include "ui/dialogs/section_dlg.h"
#include "ui/dialogs/temperatures_dlg.h"
#include "ui/dialogs/thermometers_dlg.h"
#include "ui/main/about_box.h"
#include "ui/results/harmonic_dlg.h"
#include "ui/results/plot3d_dlg.h"
#include "ui/results/spreadsheet_dlg.h"
#include "ui/results/temp_section_dlg.h"
#include "ui/results/temp_time_dlg.h"
#include "ui/main/client_area.h"
#include "ui/widgets/icons.h"
#include "ui/main/item_list.h"
#include "ui/main/kolma_application.h"
#include "ui/main/main_chart_drawing.h"
#include "ui/main/value_list.h"
#include "ui/widgets/file_path.h"
#include "ui/widgets/prompts.h"
#include "ui/widgets/rchart.h"

// The example projects are linked into a static library: register them before use.
static void InitExampleResources() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(examples);
    return true;
  }();
  (void)registered;
}

namespace kolma::ui {
namespace {

const QString kKolmaFilter = QStringLiteral("Kolma file|*.kol");
const QString kKolmaSuffix = QStringLiteral("kol");
const QString kOpenProjectRole = QStringLiteral("the open project");

const QString kSaveBeforeLoading = QStringLiteral("Do you want to save your changes before loading another problem?");
const QString kStartAnalysisMissing =
    QStringLiteral("Define the section and both face histories, or the section and two checked thermometers");

// The first local .kol file among the dragged URLs; empty when there is none.
QString DroppedProject(const QMimeData* data) {
  if (!data || !data->hasUrls()) return QString();
  for (const QUrl& url : data->urls()) {
    const QString path = url.toLocalFile();
    if (!path.isEmpty() && QFileInfo(path).suffix().compare(kKolmaSuffix, Qt::CaseInsensitive) == 0) return path;
  }
  return QString();
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(QPixmap::fromImage(KolmaLogo(size)));
  return icon;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QString::fromLatin1("Kolma"));
  setWindowIcon(ProgramIcon());
  project_.InitDefaults();
  setAcceptDrops(true);

  CreateClientArea();
  CreateActions();
  CreateMenus();
  CreateToolBars();
  CreateStatusLine();
  EnableMenuEntries();
  RebuildRecentMenu();

  setMinimumSize(640, 450);
  resize(640, 450);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

TMainForm::~TMainForm() { SetFileInUse(kOpenProjectRole, QString()); }

void TMainForm::CreateClientArea() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("ListPanel"));
  auto* label = new QLabel(QStringLiteral("Select from list below:"), panel);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  itemList_ = new TItemList(panel);
  auto* panelLayout = new QVBoxLayout(panel);
  panelLayout->setContentsMargins(6, 6, 2, 6);
  panelLayout->setSpacing(4);
  panelLayout->addWidget(label);
  panelLayout->addWidget(itemList_, 1);
  connect(itemList_, &TItemList::SubItemClicked, this, [this](int section, int index, const QString& text) {
    RunGuarded(this, [&] { SectionListBox1Click(section, index, text); });
  });

  clientArea_ = new TClientArea;
  chart_ = new TRChart(clientArea_);
  ConfigureMainChart(*chart_);
  connect(chart_, &TRChart::OnMouseMoveInChart, this, &TMainForm::ChartMouseMoveInChart);
  valueList_ = new TValueList(clientArea_);
  valueList_->setVisible(false);
  clientArea_->AddPicture(chart_);
  clientArea_->AddPicture(valueList_);
  connect(clientArea_, &TClientArea::StartLinkActivated, this,
          [this](const QString& link) { RunGuarded(this, [&] { StartLinkActivated(link); }); });

  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->setObjectName(QStringLiteral("MainSplitter"));
  splitter->addWidget(panel);
  splitter->addWidget(clientArea_);
  splitter->setChildrenCollapsible(false);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({144, 496});
  panel->setMinimumWidth(120);
  setCentralWidget(splitter);
}

void TMainForm::CreateStatusLine() {
  QStatusBar* line = statusBar();
  line->setObjectName(QStringLiteral("StatusLine"));
  const int widths[] = {150, 150, 50};
  for (int i = 0; i < 3; ++i) {
    auto* panel = new QLabel(line);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFixedWidth(widths[i]);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    line->addPermanentWidget(panel);
    panels_[static_cast<size_t>(i)] = panel;
  }
}

QAction* TMainForm::Command(const QString& objectName) const {
  const auto found = commands_.find(objectName);
  return found == commands_.end() ? nullptr : found->second;
}

QWidget* TMainForm::ClientArea() const { return clientArea_; }

QString TMainForm::StatusPanelText(int panel) const {
  return panel >= 0 && panel < 3 ? panels_[static_cast<size_t>(panel)]->text() : QString();
}

QString TMainForm::StatusGeneralText() const { return statusBar()->currentMessage(); }

void TMainForm::SetGeneralStatusText(const QString& text) { statusBar()->showMessage(text); }

// ---- Menu states and item list -----------------------------------------------------------

void TMainForm::EnableMenuEntries() {
  const bool section = project_.HasFlag(pfSection);
  const bool direct = project_.HasFlag(pfDirectResults);
  const bool inverse = project_.HasFlag(pfInverseResults);
  const bool canDirect = section && project_.HasFlag(pfUpstream) && project_.HasFlag(pfDownstream);
  const bool canInverse = section && project_.HasFlag(pfInversePair);
  QAction* start = commands_.at("StartAnalysisItem");
  start->setEnabled(canDirect || canInverse);
  // A disabled command says what it waits for.
  const QString startHint = start->isEnabled() ? QString() : kStartAnalysisMissing;
  start->setToolTip(startHint);
  start->setStatusTip(startHint);
  for (const char* name : {"DirectHarmonicsItem", "DirectDecompositionItem", "DirectTempXItem", "DirectXTimeItem",
                           "Direct3DItem", "DirectSpreadsheetItem"})
    commands_.at(QString::fromLatin1(name))->setEnabled(direct);
  for (const char* name : {"InverseHarmonicsItem", "InverseTempTimeItem", "InverseSpreadsheetItem"})
    commands_.at(QString::fromLatin1(name))->setEnabled(inverse);
  commands_.at("CompareItem")->setEnabled(direct && inverse);
}

void TMainForm::UpdateMenuItems() {
  EnableMenuEntries();
  // A trailing star marks changes not yet saved, as desktop programs do.
  const QString modified = project_.HasFlag(pfModified) ? QStringLiteral("*") : QString();
  const QString name = project_.ProjectFileName == kNoProjectFileName && !exampleName_.isEmpty()
                           ? exampleName_ + QStringLiteral(" (example)")
                           : QString::fromStdString(project_.ProjectFileName);
  setWindowTitle(QStringLiteral("Kolma [ %1 ]").arg(name) + modified);
}

void TMainForm::UpdateListBox() { itemList_->Rebuild(project_); }

void TMainForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) UpdateMenuItems();
  QMainWindow::changeEvent(event);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shownOnce_) {
    shownOnce_ = true;
    UpdateMenuItems();
    if (!pathToOpenWhenShown_.isEmpty()) {
      // After the window has painted, so that a question or a warning has it behind.
      QTimer::singleShot(0, this, [this, path = pathToOpenWhenShown_] {
        RunGuarded(this, [&] { OpenProjectFile(path); });
      });
      pathToOpenWhenShown_.clear();
    }
  }
}

// ---- Chart and value list ----------------------------------------------------------------

void TMainForm::ShowChart() {
  valueList_->setVisible(false);
  chart_->setVisible(true);
  // The isometric section scale is worked out from the chart's size: lay it out first.
  clientArea_->layout()->activate();
}

void TMainForm::ShowValueList() {
  chart_->setVisible(false);
  valueList_->setVisible(true);
  clientArea_->layout()->activate();  // the list fills the area at once, not after the guide hid
}

void TMainForm::DrawSection() {
  shownItem_ = TShownItem{TItemList::SectionPart, QStringLiteral("Geometry")};
  ShowChart();
  DrawSectionOn(*chart_, project_);
}

void TMainForm::DrawTimeHistory(const TFaceTemperatureHistory& history, const QString& caption) {
  valueList_->setVisible(false);
  // Fewer than two samples draw nothing: the chart keeps what it showed, visible or not.
  if (history.Values.NrOfElem() >= 2) ShowChart();
  DrawHistoryOn(*chart_, history.Values, history.TimeStep, caption);
}

void TMainForm::DrawTimeHistoryInside(TTemperatureInside slot) {
  valueList_->setVisible(false);
  if (slot.Values.NrOfElem() >= 2) ShowChart();
  DrawHistoryOn(*chart_, slot.Values, slot.TimeStep, TitleText(slot.Title));
}

void TMainForm::ShowThermalProperties() {
  valueList_->SetRows(ThermalPropertyRows(project_.SectionProperties));
  ShowValueList();
}

void TMainForm::SectionListBox1Click(int section, int index, const QString& text) {
  shownItem_ = TShownItem{section, text};
  if (section == TItemList::SectionPart) {
    if (index == 0) DrawSection();
    if (index == 1) ShowThermalProperties();
    return;
  }
  // Every match draws, so a thermometer titled like a face is drawn after that face.
  if (text == QLatin1String("Upstream Face"))
    DrawTimeHistory(project_.UpstreamHistory, QStringLiteral("Upstream Face Temperature"));
  if (text == QLatin1String("Downstream Face"))
    DrawTimeHistory(project_.DownstreamHistory, QStringLiteral("Downstream Face Temperature"));
  for (int slot = 1; slot <= kThermometerSlots; ++slot)
    if (text == TitleText(project_.Thermometer(slot).Title)) DrawTimeHistoryInside(project_.Thermometer(slot));
}

// After an input dialog the item shown may have changed or gone: show it again from the
// project, or an empty chart when it is no longer listed.
void TMainForm::RedrawShownItem() {
  if (!shownItem_) return;
  const auto section = static_cast<TItemList::Section>(shownItem_->section);
  const int index = itemList_->SubItems(section).indexOf(shownItem_->text);
  if (index >= 0) {
    itemList_->ClickSubItem(section, index);
    return;
  }
  ForgetShownPicture();
}

void TMainForm::ChartMouseMoveInChart(bool, Qt::KeyboardModifiers, double x, double y) {
  if (chart_->YLabelType() != ftNum) return;  // the section drawing has no temperature scale
  panels_[0]->setText(QString::asprintf("Time = %8.3f h", x));
  panels_[1]->setText(QString::asprintf("T° = %8.5f °C", y));
}

// ---- Project files -----------------------------------------------------------------------

bool TMainForm::LectureFichier(const QString& path) {
  std::string reason;
  if (kolma::LectureFichier(project_, FileSystemPath(path), &reason)) return true;
  Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"),
                    QStringLiteral("The project could not be read from\n%1\n\n%2")
                        .arg(QDir::toNativeSeparators(path), QString::fromStdString(reason)));
  return false;
}

bool TMainForm::EcritureFichier(const QString& path) {
  std::string reason;
  if (kolma::EcritureFichier(project_, FileSystemPath(path), &reason)) return true;
  Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"),
                    QStringLiteral("The project could not be saved to\n%1\n\n%2")
                        .arg(QDir::toNativeSeparators(path), QString::fromStdString(reason)));
  return false;
}

void TMainForm::ViderMemoire() { project_.ViderMemoire(); }

// Asks whether to save; false when the user does not want to go on: they dismissed the
// question, or wanted the changes saved and they were not (the save failed or its file
// dialog was cancelled).
bool TMainForm::SaveBeforeLeaving(const QString& question) {
  if (!project_.HasFlag(pfModified)) return true;
  switch (Prompts().AskYesNoOrDismiss(this, PromptIcon::Information, QString::fromLatin1("Kolma"), question)) {
    case PromptAnswer::Yes: return FileSaveClick();
    case PromptAnswer::No: return true;
    case PromptAnswer::Dismissed: return false;
  }
  return false;
}

void TMainForm::FileOpenClick() {
  if (!SaveBeforeLeaving(kSaveBeforeLoading)) return;
  const QString path = Prompts().OpenFileName(this, QStringLiteral("Open"), kKolmaFilter, kKolmaSuffix);
  if (!path.isEmpty()) LoadProject(path);
}

void TMainForm::OpenExampleClick() {
  if (!SaveBeforeLeaving(kSaveBeforeLoading)) return;
  const QString name = Prompts().ChooseItem(this, QStringLiteral("Open an example"),
                                            QStringLiteral("Example projects:"), ExampleNames());
  if (!name.isEmpty()) OpenExample(name);
}

bool TMainForm::OpenExample(const QString& name) {
  InitExampleResources();
  QFile file(QStringLiteral(":/examples/") + name);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  std::string reason;
  if (!kolma::DecodeProject(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                      static_cast<size_t>(bytes.size())),
                            project_, &reason)) {
    Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"),
                      QStringLiteral("The example %1 could not be read\n\n%2").arg(name, QString::fromStdString(reason)));
    return false;
  }
  // Never the shipped file itself: the first Save asks where the copy goes.
  project_.ProjectFileName = kNoProjectFileName;
  SetFileInUse(kOpenProjectRole, QString());
  exampleName_ = name;
  ShowLoadedProject();
  return true;
}

bool TMainForm::OpenProjectFile(const QString& path) {
  if (!SaveBeforeLeaving(kSaveBeforeLoading)) return false;
  return LoadProject(path);
}

void TMainForm::OpenRecentProject(const QString& path) {
  if (!QFileInfo::exists(path)) {
    recentProjects_.Remove(path);
    RebuildRecentMenu();
    Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"),
                      QStringLiteral("The project\n%1\nno longer exists; it is taken off the recent projects.")
                          .arg(QDir::toNativeSeparators(path)));
    return;
  }
  OpenProjectFile(path);
}

QStringList TMainForm::ExampleNames() {
  InitExampleResources();
  return QDir(QStringLiteral(":/examples")).entryList({QStringLiteral("*.kol")}, QDir::Files, QDir::Name);
}

void TMainForm::StartLinkActivated(const QString& link) {
  if (link == QLatin1String(TClientArea::kOpenExampleLink)) OpenExampleClick();
  if (link == QLatin1String(TClientArea::kOpenProjectLink)) FileOpenClick();
  if (link == QLatin1String(TClientArea::kDefineSectionLink)) SectionClick();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedProject(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  const QString path = DroppedProject(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // The question and the reading wait until the drag-and-drop has ended.
  QTimer::singleShot(0, this, [this, path] { RunGuarded(this, [&] { OpenProjectFile(path); }); });
}

// Reads the project and shows it; a file that cannot be read leaves everything as it was.
bool TMainForm::LoadProject(const QString& path) {
  if (!LectureFichier(path)) return false;
  project_.ProjectFileName = path.toStdString();
  exampleName_.clear();
  SetFileInUse(kOpenProjectRole, path);
  ShowLoadedProject();
  RememberRecent(path);
  return true;
}

void TMainForm::ShowLoadedProject() {
  TSectionProperties& s = project_.SectionProperties;
  // A section the node distribution refuses still gets its faces, so that nothing from
  // the previous project is drawn.
  if (!ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio)) {
    s.Nodes = TVector(2);
    s.Nodes.SetElement(1, s.Xu);
    s.Nodes.SetElement(2, s.Xd);
  }
  ForgetShownPicture();
  UpdateMenuItems();
  UpdateListBox();
  if (project_.HasFlag(pfSection)) DrawSection();
}

void TMainForm::RememberRecent(const QString& path) {
  recentProjects_.Add(path);
  RebuildRecentMenu();
}

// Nothing of the previous project may stay on screen after another one is opened.
void TMainForm::ForgetShownPicture() {
  chart_->ClearDrawing();
  chart_->SetCaption(QString());
  chart_->ShowDrawing();
  ShowChart();
  for (QLabel* panel : panels_) panel->clear();
  statusBar()->clearMessage();
  shownItem_.reset();
}

bool TMainForm::FileSaveClick() {
  if (project_.ProjectFileName == kNoProjectFileName) return FileSaveAsClick();
  const QString path = QString::fromStdString(project_.ProjectFileName);
  if (!EcritureFichier(path)) return false;
  SetGeneralStatusText(QStringLiteral("File saved as ") + path);
  project_.ProjectFlags &= static_cast<std::uint8_t>(~pfModified);
  UpdateMenuItems();
  RememberRecent(path);
  return true;
}

bool TMainForm::FileSaveAsClick() {
  // The dialog proposes the project's own name; a project never saved proposes none, or
  // the name of the example it came from.
  const QString current = project_.ProjectFileName == kNoProjectFileName
                              ? exampleName_
                              : QString::fromStdString(project_.ProjectFileName);
  // Over its own file is a save; over a folder, a pipe or a device it is refused.
  const QString path = SaveFileNameChecked(this, QStringLiteral("Save As"), kKolmaFilter, kKolmaSuffix, true, current,
                                           true);
  if (path.isEmpty()) return false;
  if (!EcritureFichier(path)) return false;
  SetGeneralStatusText(QStringLiteral("File saved as ") + path);
  project_.ProjectFileName = path.toStdString();
  exampleName_.clear();
  SetFileInUse(kOpenProjectRole, path);
  project_.ProjectFlags &= static_cast<std::uint8_t>(~pfModified);
  UpdateMenuItems();
  RememberRecent(path);
  return true;
}

void TMainForm::FileExitClick() { close(); }

void TMainForm::closeEvent(QCloseEvent* event) {
  bool saved = false;
  const bool ok = RunGuarded(this, [&] {
    saved = SaveBeforeLeaving(QStringLiteral("Do you want to save your changes before closing KOLMA?"));
  });
  if (!ok || !saved) {
    // The user asked for the changes to be kept and they could not be: stay open.
    event->ignore();
    return;
  }
  ViderMemoire();
  event->accept();
}

// ---- Input dialogs -----------------------------------------------------------------------

void TMainForm::SectionClick() {
  TSectionDlg dialog(project_, this);
  if (dialog.exec() == QDialog::Accepted && dialog.Changed()) {
    shownItem_ = TShownItem{TItemList::SectionPart, QStringLiteral("Geometry")};
    InputAccepted(pfSection);
  }
  UpdateMenuItems();
}

void TMainForm::OptionsClick() {
  TOptionsDlg dialog(project_, this);
  dialog.exec();
  UpdateMenuItems();
}

void TMainForm::StartAnalysisClick() {
  TAnalysisDlg dialog(project_, this);
  dialog.exec();
  UpdateMenuItems();
}

void TMainForm::UpstreamClick() { EditFace(TTemperaturesDlg::UpstreamFace); }
void TMainForm::DownstreamClick() { EditFace(TTemperaturesDlg::DownstreamFace); }

void TMainForm::EditFace(int mode) {
  const bool upstream = mode == TTemperaturesDlg::UpstreamFace;
  TFaceTemperatureHistory& face = upstream ? project_.UpstreamHistory : project_.DownstreamHistory;
  TTemperaturesDlg editor(project_, this);
  editor.EditMode = mode;
  editor.EditIsNew = face.Values.NrOfElem() < 2;
  if (!editor.EditIsNew) {
    editor.EditedValues = face.Values;
    editor.EditedTimeStep = face.TimeStep;
  }
  // Looking at a face and pressing Ok stores nothing: only a history the user made counts.
  if (editor.exec() == QDialog::Accepted && editor.EditedValues && editor.HistoryChanged()) {
    face.Values = std::move(*editor.EditedValues);
    face.TimeStep = editor.EditedTimeStep;
    InputAccepted(upstream ? pfUpstream : pfDownstream);
  }
  UpdateMenuItems();
}

void TMainForm::InsideClick() {
  TThermometersDlg dialog(project_, this);
  if (dialog.exec() == QDialog::Accepted && dialog.Changed()) {
    dialog.CopyBackTo(project_);
    InputAccepted(0);
  }
  UpdateMenuItems();
}

// What every accepted input dialog does: the project is modified, results no longer match
// it, and the item list and the picture shown follow the new data.
void TMainForm::InputAccepted(std::uint8_t definedFlag) {
  project_.ProjectFlags |= pfModified | definedFlag;
  project_.ProjectFlags &= static_cast<std::uint8_t>(~(pfDirectResults | pfInverseResults));
  UpdateListBox();
  RedrawShownItem();
}
void TMainForm::InverseHarmonicsClick() { ShowResults<THarmonicDlg>(true); }
void TMainForm::DirectHarmonicsClick() { ShowResults<THarmonicDlg>(false); }
void TMainForm::InverseSpreadsheetClick() { ShowResults<TSpreadsheetDlg>(true); }
void TMainForm::DirectSpreadsheetClick() { ShowResults<TSpreadsheetDlg>(false); }
void TMainForm::DirectTempXClick() { ShowResults<TTempTimeDlg>(); }
void TMainForm::DirectXTimeClick() { ShowResults<TTempSectionDlg>(0); }
void TMainForm::InverseTempTimeClick() { ShowResults<TTempSectionDlg>(1); }
void TMainForm::CompareClick() { ShowResults<TTempSectionDlg>(2); }
void TMainForm::DirectDecompositionClick() { ShowResults<TTempSectionDlg>(3); }
void TMainForm::Direct3DClick() {
  // The hourglass stands over the main window while the surface is built and until the
  // 3-D window is gone, also when building it fails.
  struct TWaitCursor {
    QWidget* window;
    ~TWaitCursor() { window->unsetCursor(); }
  } wait{this};
  setCursor(Qt::WaitCursor);
  QCoreApplication::processEvents();  // so that the cursor shows before the work starts
  {
    TPlot3DDlg dialog(project_, this);
    dialog.exec();
  }
  UpdateMenuItems();
}

void TMainForm::AboutClick() {
  TAboutBox about(this);
  about.exec();
}

}  // namespace kolma::ui
