#include "ui/results/plot3d_dlg.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ui/results/plot3d_color_picker.h"
#include "ui/results/plot3d_surface.h"
#include "ui/widgets/plot3d.h"
#include "ui/widgets/prompts.h"

namespace kolma::ui {
namespace {

constexpr int kPanelWidth = 295;

// Read-outs of the view: the angles with 2 decimals, the magnification with 3.
QString AngleText(double degrees) { return QString::asprintf("%.2f", degrees); }
QString MagnificationText(double magnification) { return QString::asprintf("%.3f", magnification); }

QScrollBar* NewScrollBar(const QString& name, const QString& accessibleName, int low, int high, int position) {
  auto* bar = new QScrollBar(Qt::Horizontal);
  bar->setObjectName(name);
  bar->setAccessibleName(accessibleName);
  bar->setRange(low, high);
  bar->setPageStep(10);
  bar->setValue(position);
  bar->setFocusPolicy(Qt::StrongFocus);  // the arrow keys turn the view as the mouse does
  return bar;
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text);
  label->setBuddy(buddy);
  buddy->setAccessibleName(text);
  return label;
}

QCheckBox* NewCheckBox(const QString& name, const QString& caption, bool checked) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(name);
  box->setChecked(checked);
  return box;
}

}  // namespace

TPlot3DDlg::TPlot3DDlg(kolma::Project& project, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Plot3DDlg"));
  setWindowTitle(QStringLiteral("3D plot"));

  Plot3D1_ = new TPlot3D(this);
  Plot3D1_->setObjectName(QStringLiteral("Plot3D1"));
  Plot3D1_->setAccessibleName(windowTitle());
  Plot3D1_->setFocusPolicy(Qt::StrongFocus);  // so that the menu key reaches the pop-up menu
  Plot3D1_->installEventFilter(this);

  Plot3D1_->SuspendPainting(true);
  SetPlotDefaults();
  BuildSurface(project);
  Plot3D1_->SuspendPainting(false);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 4, 4);
  layout->addWidget(Plot3D1_, 1);
  layout->addWidget(BuildPanel());
  BuildPopupMenu();

  setMinimumSize(640, 450);
  resize(sizeHint().expandedTo(QSize(700, 450)));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = geometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

TPlot3DDlg::~TPlot3DDlg() = default;

QString TPlot3DDlg::TooFewStepsText() {
  return QStringLiteral("The analysis has too few steps for a surface.");
}

void TPlot3DDlg::SetPlotDefaults() {
  TPlot3D& p = *Plot3D1_;
  p.SetBoundBoxStyle(TBoundBoxStyle::bbFaces);
  p.SetCentX(200);
  p.SetCentY(200);
  p.SetColorBakGnd(palette().color(QPalette::Window));
  p.SetColorCodeAvg(true);
  p.SetColorCubeFrame(QColor(64, 64, 64));
  p.SetColorCubeHidLin(Qt::black);
  p.SetColorCubeFaceLow(QColor(192, 192, 192));
  p.SetColorCubeFaceHigh(QColor(238, 238, 254));
  p.SetColorXCoords(Qt::black);
  p.SetColorYCoords(QColor(0, 128, 0));
  p.SetColorZCoords(Qt::red);
  p.SetColorMesh(QColor(128, 0, 0));
  p.SetMeshVisible(false);
  p.SetColorHigh(Qt::red);
  p.SetColorMid(Qt::yellow);
  p.SetColorLow(Qt::blue);
  p.SetColorCodingMode(TColorCodingMode::ccmThreeColors);
  p.SetDecPlaceX(0);
  p.SetDecPlaceY(0);
  p.SetDecPlaceZ(0);
  p.SetMinTickX(3);
  p.SetMinTickY(3);
  p.SetMinTickZ(3);
  p.SetScaleFactX(1);
  p.SetScaleFactY(1);
  p.SetScaleFactZ(1);
  p.SetMagnification(1);
  p.SetViewAngleX(54);
  p.SetViewAngleZ(225);
  p.SetVisibleXCoords(true);
  p.SetVisibleYCoords(true);
  p.SetVisibleZCoords(true);
  p.SetMouseAction(T3DMouseAction::maRotate);
  p.SetAxisTitle(0, QStringLiteral("Time (h)"));
  p.SetAxisTitle(1, QStringLiteral("X (m)"));
  p.SetAxisTitle(2, QStringLiteral("T (°C)"));
}

void TPlot3DDlg::BuildSurface(const kolma::Project& project) {
  const TTemperatureSurface surface = BuildTemperatureSurface(project.SectionProperties, project.DirectResults);
  TPlot3D& p = *Plot3D1_;
  p.SurfaceGrid() = surface.grid;
  p.SetEmptyText(surface.HasSurface() ? QString() : TooFewStepsText());
  p.SetRangeXLow(surface.timeLow);
  p.SetRangeXHigh(surface.timeHigh);
  p.SetRangeYLow(surface.positionLow);
  p.SetRangeYHigh(surface.positionHigh);
  p.SetRangeZLow(surface.tMin);
  p.SetRangeZHigh(surface.tMax);
  p.SetColorScaleLow(surface.tMin);
  p.SetColorScaleHigh(surface.tMax);
}

QWidget* TPlot3DDlg::BuildPanel() {
  auto* panel = new QWidget(this);
  panel->setFixedWidth(kPanelWidth);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(4, 4, 0, 0);
  column->setSpacing(6);
  column->addWidget(BuildViewControls());
  auto* middle = new QHBoxLayout;
  middle->addWidget(BuildSurfaceColors());
  middle->addWidget(BuildFrameMode());
  column->addLayout(middle);
  column->addWidget(BuildCoordinateColors());
  column->addStretch(1);

  auto* reset = new QPushButton(QStringLiteral("Reset"));
  reset->setObjectName(QStringLiteral("ButtonReset"));
  auto* exit = new QPushButton(QStringLiteral("Exit"));
  exit->setObjectName(QStringLiteral("ButtonExit"));
  // Enter on a scroll bar must not close the window; the buttons answer to a click or Space.
  for (QPushButton* b : {reset, exit}) b->setAutoDefault(false);
  connect(reset, &QPushButton::clicked, this, &TPlot3DDlg::ResetClick);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(reset);
  buttons->addStretch(1);
  buttons->addWidget(exit);
  column->addLayout(buttons);
  return panel;
}

QWidget* TPlot3DDlg::BuildViewControls() {
  auto* box = new QWidget;
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(2);
  TPlot3D* plot = Plot3D1_;

  // Caption, read-out and scroll bar on one line. The read-outs start at the view given to
  // the plot, the scroll bars at their own positions.
  auto addViewRow = [&](int row, const QString& caption, const QString& name, QLabel*& readout, const QString& shown,
                        int low, int high, int position) {
    QScrollBar* bar = NewScrollBar(QStringLiteral("ScrollBar") + name, caption, low, high, position);
    readout = new QLabel(shown);
    readout->setObjectName(QStringLiteral("Readout") + name);
    readout->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000.000")));
    readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* label = new QLabel(caption);
    label->setBuddy(bar);
    grid->addWidget(label, row, 0);
    grid->addWidget(readout, row, 1);
    grid->addWidget(bar, row, 2);
    return bar;
  };
  QScrollBar* angleT = addViewRow(0, QStringLiteral("Angle T:"), QStringLiteral("AngleT"), readoutAngleT_,
                                  AngleText(plot->ViewAngleX()), 0, 360, 66);
  QScrollBar* angleX = addViewRow(1, QStringLiteral("Angle X:"), QStringLiteral("AngleX"), readoutAngleX_,
                                  AngleText(plot->ViewAngleZ()), 0, 360, 135);
  QScrollBar* magnif = addViewRow(2, QStringLiteral("Magnif."), QStringLiteral("Magnif"), readoutMagnif_,
                                  MagnificationText(plot->Magnification()), 0, 200, 100);
  connect(angleT, &QScrollBar::valueChanged, this, [this](int v) {
    Plot3D1_->SetViewAngleX(v);
    readoutAngleT_->setText(AngleText(v));
  });
  connect(angleX, &QScrollBar::valueChanged, this, [this](int v) {
    Plot3D1_->SetViewAngleZ(v);
    readoutAngleX_->setText(AngleText(v));
  });
  // The plot keeps the magnification within its limits: the read-out shows what it took.
  connect(magnif, &QScrollBar::valueChanged, this, [this](int v) {
    Plot3D1_->SetMagnification(v / 100.0);
    readoutMagnif_->setText(MagnificationText(Plot3D1_->Magnification()));
  });

  struct TScale {
    const char* caption;
    const char* name;
    void (TPlot3D::*set)(double);
  } scales[] = {{"time", "ScrollBarScaleX", &TPlot3D::SetScaleFactX},
                {"X", "ScrollBarScaleY", &TPlot3D::SetScaleFactY},
                {"T°", "ScrollBarScaleZ", &TPlot3D::SetScaleFactZ}};
  int row = 3;
  for (const TScale& s : scales) {
    const QString caption = QString::fromUtf8(s.caption);
    QScrollBar* bar = NewScrollBar(QString::fromLatin1(s.name), caption, 20, 200, 100);
    auto* label = new QLabel(caption);
    label->setBuddy(bar);
    grid->addWidget(label, row, 0);
    grid->addWidget(bar, row, 1, 1, 2);
    connect(bar, &QScrollBar::valueChanged, this, [this, set = s.set](int v) { (Plot3D1_->*set)(v / 100.0); });
    ++row;
  }
  grid->setColumnStretch(2, 1);
  return box;
}

QWidget* TPlot3DDlg::BuildSurfaceColors() {
  auto* box = new QGroupBox(QStringLiteral("Surface Colors"));
  auto* grid = new QGridLayout(box);
  grid->setVerticalSpacing(2);
  struct TPick {
    const char* caption;
    const char* name;
    QColor color;
    void (TPlot3D::*set)(const QColor&);
  } picks[] = {{"high", "PickerHigh", Qt::red, &TPlot3D::SetColorHigh},
               {"mid", "PickerMid", Qt::yellow, &TPlot3D::SetColorMid},
               {"low", "PickerLow", Qt::blue, &TPlot3D::SetColorLow}};
  int row = 0;
  for (const TPick& p : picks) {
    const QString caption = QString::fromLatin1(p.caption);
    auto* picker = new TColorPicker(caption, box);
    picker->setObjectName(QString::fromLatin1(p.name));
    picker->SetColor(p.color);
    connect(picker, &TColorPicker::ColorChanged, this, [this, set = p.set](const QColor& c) { (Plot3D1_->*set)(c); });
    QLabel* label = BuddyLabel(caption, picker);
    grid->addWidget(label, row, 0);
    grid->addWidget(picker, row, 1);
    if (row == 1) {
      labelMid_ = label;
      pickerMid_ = picker;
    }
    ++row;
  }
  QCheckBox* three = NewCheckBox(QStringLiteral("CheckBox3Color"), QStringLiteral("3 Color Model"), true);
  connect(three, &QCheckBox::toggled, this, &TPlot3DDlg::ThreeColorClick);
  grid->addWidget(three, row, 0, 1, 2);
  ThreeColorClick(true);
  return box;
}

QWidget* TPlot3DDlg::BuildFrameMode() {
  auto* box = new QGroupBox(QStringLiteral(" Frame Mode "));
  box->setObjectName(QStringLiteral("RadioGroupFrameMode"));
  auto* column = new QVBoxLayout(box);
  auto* group = new QButtonGroup(box);
  struct TMode {
    const char* caption;
    const char* name;
    TBoundBoxStyle style;
  } modes[] = {{"No Frame", "RadioNoFrame", TBoundBoxStyle::bbNone},
               {"Wire Frame", "RadioWireFrame", TBoundBoxStyle::bbFrame},
               {"Cube Faces", "RadioCubeFaces", TBoundBoxStyle::bbFaces}};
  for (const TMode& m : modes) {
    auto* radio = new QRadioButton(QString::fromLatin1(m.caption));
    radio->setObjectName(QString::fromLatin1(m.name));
    radio->setChecked(m.style == TBoundBoxStyle::bbFaces);
    group->addButton(radio);
    column->addWidget(radio);
    connect(radio, &QRadioButton::clicked, this, [this, style = m.style] { FrameModeClick(style); });
  }
  column->addStretch(1);
  return box;
}

QWidget* TPlot3DDlg::BuildCoordinateColors() {
  auto* box = new QGroupBox(QStringLiteral("Colors of Coordinates"));
  auto* grid = new QGridLayout(box);
  grid->setVerticalSpacing(2);
  struct TAxis {
    const char* caption;
    const char* axis;  // X, Y or Z of the plot
    QColor color;
    void (TPlot3D::*setColor)(const QColor&);
    void (TPlot3D::*setVisible)(bool);
  } axes[] = {{"time", "X", Qt::black, &TPlot3D::SetColorXCoords, &TPlot3D::SetVisibleXCoords},
              {"X", "Y", QColor(0, 128, 0), &TPlot3D::SetColorYCoords, &TPlot3D::SetVisibleYCoords},
              {"T°", "Z", Qt::red, &TPlot3D::SetColorZCoords, &TPlot3D::SetVisibleZCoords}};
  int row = 0;
  for (const TAxis& a : axes) {
    const QString caption = QString::fromUtf8(a.caption);
    const QString axis = QString::fromLatin1(a.axis);
    auto* picker = new TColorPicker(caption, box);
    picker->setObjectName(QStringLiteral("PickerCoords") + axis);
    picker->SetColor(a.color);
    connect(picker, &TColorPicker::ColorChanged, this,
            [this, set = a.setColor](const QColor& c) { (Plot3D1_->*set)(c); });
    QCheckBox* visible = NewCheckBox(QStringLiteral("CheckBoxCoords") + axis, caption + QStringLiteral("-coords Visible"),
                                     true);
    connect(visible, &QCheckBox::toggled, this, [this, set = a.setVisible](bool on) { (Plot3D1_->*set)(on); });
    grid->addWidget(BuddyLabel(caption, picker), row, 0);
    grid->addWidget(picker, row, 1);
    grid->addWidget(visible, row, 2);
    ++row;
  }
  return box;
}

void TPlot3DDlg::BuildPopupMenu() {
  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("PopupMenu"));
  auto* actions = new QActionGroup(popup_);
  struct TMode {
    const char* caption;
    T3DMouseAction action;
  } modes[] = {{"Rotate", T3DMouseAction::maRotate},         {"Pan", T3DMouseAction::maPan},
               {"Zoom", T3DMouseAction::maZoom},             {"Rotate and Zoom", T3DMouseAction::maRotAndZoom},
               {"Rot X Only", T3DMouseAction::maRotXOnly},   {"Rot Z Only", T3DMouseAction::maRotZOnly}};
  for (const TMode& m : modes) {
    QAction* a = popup_->addAction(QString::fromLatin1(m.caption));
    a->setCheckable(true);
    a->setChecked(m.action == Plot3D1_->MouseAction());
    actions->addAction(a);
    connect(a, &QAction::triggered, this, [this, action = m.action] { Plot3D1_->SetMouseAction(action); });
  }
  popup_->addSeparator();
  connect(popup_->addAction(QStringLiteral("Copy")), &QAction::triggered, Plot3D1_, &TPlot3D::CopyMetafileToClipboard);
  connect(popup_->addAction(QStringLiteral("Export to Metafile")), &QAction::triggered, this,
          &TPlot3DDlg::ExportMetafileClick);

  connect(Plot3D1_, &TPlot3D::OnMouseAction, this,
          [this](int, int, double tilt, double turn, double magnification, Qt::KeyboardModifiers) {
            ShowViewReadouts(tilt, turn, magnification);
          });
}

// The menu opens when the right button is released where it went down: a right drag zooms
// in "Rotate and Zoom" and must not open it. The menu key opens it too.
bool TPlot3DDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Plot3D1_) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::ContextMenu: {
      auto* e = static_cast<QContextMenuEvent*>(event);
      if (e->reason() == QContextMenuEvent::Keyboard) ShowPopupMenu(Plot3D1_->mapToGlobal(Plot3D1_->rect().center()));
      return true;
    }
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (e->button() == Qt::RightButton) rightPress_ = e->position().toPoint();
      break;
    }
    case QEvent::MouseButtonRelease: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (e->button() == Qt::RightButton &&
          (e->position().toPoint() - rightPress_).manhattanLength() < QApplication::startDragDistance())
        ShowPopupMenu(e->globalPosition().toPoint());
      break;
    }
    default:
      break;
  }
  return false;
}

void TPlot3DDlg::ShowPopupMenu(const QPoint& globalPos) { popup_->popup(globalPos); }

// Two colours leave the middle colour unused: its picker is put out of reach.
void TPlot3DDlg::ThreeColorClick(bool checked) {
  Plot3D1_->SetColorCodingMode(checked ? TColorCodingMode::ccmThreeColors : TColorCodingMode::ccmTwoColors);
  labelMid_->setEnabled(checked);
  pickerMid_->setEnabled(checked);
  QPalette colors = pickerMid_->palette();
  const QColor background = checked ? QColor(Qt::white) : palette().color(QPalette::Window);
  colors.setColor(QPalette::Base, background);
  colors.setColor(QPalette::Button, background);
  pickerMid_->setPalette(colors);
}

void TPlot3DDlg::FrameModeClick(TBoundBoxStyle style) {
  TPlot3D& p = *Plot3D1_;
  p.SuspendPainting(true);
  if (style == TBoundBoxStyle::bbFrame) {
    p.SetColorCubeFrame(QColor(224, 224, 224));
    p.SetColorCubeHidLin(QColor(80, 80, 80));
  } else if (style == TBoundBoxStyle::bbFaces) {
    p.SetColorCubeFrame(QColor(64, 64, 64));
    p.SetColorCubeHidLin(QColor(176, 176, 176));
  }
  p.SetBoundBoxStyle(style);
  p.SuspendPainting(false);
}

// The scroll bars keep their positions; the read-outs show the view the plot went back to.
void TPlot3DDlg::ResetClick() {
  Plot3D1_->ResetView();
  ShowViewReadouts(Plot3D1_->ViewAngleX(), Plot3D1_->ViewAngleZ(), Plot3D1_->Magnification());
}

void TPlot3DDlg::ShowViewReadouts(double tilt, double turn, double magnification) {
  readoutAngleT_->setText(AngleText(tilt));
  readoutAngleX_->setText(AngleText(turn));
  readoutMagnif_->setText(MagnificationText(magnification));
}

void TPlot3DDlg::ExportMetafileClick() {
  const QString name = Prompts().SaveFileName(this, QStringLiteral("Export to Metafile"),
                                              QStringLiteral("Metafile|*.wmf"), QStringLiteral("wmf"), true);
  if (name.isEmpty()) return;
  const TMetafileExport written = Plot3D1_->ExportMetafile(name);
  if (!written.ok)
    Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"),
                      QStringLiteral("The picture was not exported.\n%1").arg(QString::fromStdString(written.reason)));
}

}  // namespace kolma::ui
