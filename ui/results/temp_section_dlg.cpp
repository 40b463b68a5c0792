#include "ui/results/temp_section_dlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/analysis/result_table.h"
#include "core/model/project.h"
#include "ui/results/stat_values_dlg.h"
#include "ui/results/time_view_tables.h"
#include "ui/widgets/chart_mouse_modes.h"
#include "ui/widgets/chart_picture.h"
#include "ui/widgets/icons.h"
#include "ui/widgets/prompts.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {
namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);

QColor ChartColour(TCurveColour colour) {
  switch (colour) {
    case TCurveColour::Red: return kRed;
    case TCurveColour::Green: return kGreen;
    case TCurveColour::Blue: return kBlue;
    case TCurveColour::Grey: return QColor(150, 150, 150);
    default: return Qt::black;
  }
}

// Halfway to white.
QColor Pale(const QColor& colour) {
  return QColor((colour.red() + 255) / 2, (colour.green() + 255) / 2, (colour.blue() + 255) / 2);
}

QPushButton* NewButton(const char* name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

QComboBox* NewList(const char* name, QLabel* label, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  label->setBuddy(list);
  list->setAccessibleName(label->text());
  return list;
}

QLabel* NewLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

}  // namespace

TTempSectionDlg::TTempSectionDlg(kolma::Project& project, int mode, QWidget* parent)
    : QDialog(parent), project_(project), mode_(static_cast<TTimeViewMode>(std::clamp(mode, 0, 3))) {
  setObjectName(QStringLiteral("TempSectionDlg"));
  setWindowTitle(QStringLiteral("TempSectionDlg"));
  BuildControls();
  // The designed size, or wider where this desktop's fonts need room for the top row.
  resize(sizeHint().expandedTo(QSize(599, 480)));
}

TTempSectionDlg::~TTempSectionDlg() = default;

QWidget* TTempSectionDlg::BuildTopPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("TopPanel"));
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(6, 4, 6, 4);
  row->setSpacing(2);

  // The chart mouse modes: "None" is pressed at first.
  mouseModes_ = AddMouseModeButtons(panel, row, true, [this](MouseActMode mode) { Chart_->SetMouseAction(mode); });

  row->addSpacing(8);
  LabelAverage = NewLabel("LabelAverage", QStringLiteral("Average curve:"), panel);
  ComboAverage = NewList("ComboAverage", LabelAverage, panel);
  for (TAverageCycle cycle : {TAverageCycle::None, TAverageCycle::OneWeek, TAverageCycle::TwoWeeks,
                              TAverageCycle::OneMonth, TAverageCycle::OneYear})
    ComboAverage->addItem(QString::fromLatin1(AverageCycleLabel(cycle)), static_cast<int>(cycle));
  row->addWidget(LabelAverage);
  row->addWidget(ComboAverage);

  row->addSpacing(8);
  ButtonViewAll = NewButton("ButtonViewAll", QStringLiteral("View all"), panel);
  ButtonViewAll->setToolTip(QStringLiteral("Refresh plot"));
  ButtonShowValues = NewButton("ButtonShowValues", QStringLiteral("Show values"), panel);
  auto* savePicture = NewButton("ButtonSavePicture", QStringLiteral("Save picture..."), panel);
  connect(savePicture, &QPushButton::clicked, this, [this] { SaveChartPicture(*Chart_, this); });
  row->addWidget(ButtonViewAll);
  row->addWidget(ButtonShowValues);
  row->addWidget(savePicture);
  row->addStretch();

  LabelX = NewLabel("LabelX", QStringLiteral("X ="), panel);
  LabelT = NewLabel("LabelT", QStringLiteral("T ="), panel);
  auto* readOut = new QVBoxLayout;
  readOut->addWidget(LabelX);
  readOut->addWidget(LabelT);
  row->addLayout(readOut);
  return panel;
}

QWidget* TTempSectionDlg::BuildBottomPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("BottomPanel"));
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(6, 4, 6, 4);

  auto* lists = new QGridLayout;
  LabelPosition = NewLabel("LabelPosition", QStringLiteral("Select position:"), panel);
  ComboPosition = NewList("ComboPosition", LabelPosition, panel);
  LabelCurve = NewLabel("LabelCurve", QStringLiteral("Select curve:"), panel);
  ComboCurve = NewList("ComboCurve", LabelCurve, panel);
  ComboCurve->addItems({QStringLiteral("Temperature field"), QStringLiteral("Linear temperature"),
                        QStringLiteral("Nonlinear temperature"), QStringLiteral("Stresses")});
  lists->addWidget(LabelPosition, 0, 0);
  lists->addWidget(ComboPosition, 0, 1);
  lists->addWidget(LabelCurve, 1, 0);
  lists->addWidget(ComboCurve, 1, 1);
  row->addLayout(lists);
  row->addSpacing(16);

  Legend = new QWidget(panel);
  Legend->setObjectName(QStringLiteral("Legend"));
  auto* legend = new QGridLayout(Legend);
  legend->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < 2; ++i) {
    LegendSquare[i] = NewLabel(i == 0 ? "LegendSquare1" : "LegendSquare2", QString(), Legend);
    LegendSquare[i]->setFixedSize(10, 10);
    LegendLabel[i] = NewLabel(i == 0 ? "LegendLabel1" : "LegendLabel2", QString(), Legend);
    legend->addWidget(LegendSquare[i], i, 0);
    legend->addWidget(LegendLabel[i], i, 1);
  }
  ShowLegend(Qt::black, QStringLiteral("Mean temperature"), kBlue, QStringLiteral("Linear temperature"));
  row->addWidget(Legend);
  row->addStretch();

  ButtonClose = NewButton("ButtonClose", QStringLiteral("Close"), panel);
  ButtonClose->setDefault(true);
  row->addWidget(ButtonClose);
  return panel;
}

void TTempSectionDlg::ShowLegend(const QColor& first, const QString& firstText, const QColor& second,
                                 const QString& secondText) {
  const QColor colours[2] = {first, second};
  const QString texts[2] = {firstText, secondText};
  for (int i = 0; i < 2; ++i) {
    LegendSquare[i]->setStyleSheet(QStringLiteral("background-color: %1;").arg(colours[i].name()));
    LegendLabel[i]->setText(texts[i]);
    LegendLabel[i]->setStyleSheet(QStringLiteral("color: %1;").arg(colours[i].name()));
  }
}

void TTempSectionDlg::BuildControls() {
  QWidget* top = BuildTopPanel();
  Chart_ = new TRChart(this);
  Chart_->setObjectName(QStringLiteral("Chart"));
  Chart_->setAccessibleName(QStringLiteral("Time history"));
  Chart_->SetIdAbscissa(QStringLiteral("Time (hours)"));
  Chart_->SetIdOrdinate(QStringLiteral("Temperature (°C)"));
  Chart_->SetBRim(40);
  Chart_->SetGridStyle(gsNone);
  Chart_->SetDecPlaceX(-2);
  Chart_->SetDecPlaceY(-2);
  Chart_->SetMinRangeX(1e-10);
  Chart_->SetMinRangeY(1e-10);
  Chart_->SetMouseAction(maNone);
  QWidget* bottom = BuildBottomPanel();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(top);
  layout->addWidget(Chart_, 1);
  layout->addWidget(bottom);

  connect(ComboPosition, &QComboBox::currentIndexChanged, this, &TTempSectionDlg::Redraw);
  connect(ComboAverage, &QComboBox::currentIndexChanged, this, &TTempSectionDlg::Redraw);
  connect(ComboCurve, &QComboBox::currentIndexChanged, this, [this] {
    announceFailure_ = true;
    Redraw();
  });
  connect(ButtonViewAll, &QPushButton::clicked, this, &TTempSectionDlg::ViewAllClick);
  connect(ButtonShowValues, &QPushButton::clicked, this, &TTempSectionDlg::ShowValuesClick);
  connect(ButtonClose, &QPushButton::clicked, this, &QDialog::accept);
  connect(Chart_, &TRChart::OnMouseMoveInChart, this,
          [this](bool, Qt::KeyboardModifiers, double x, double y) { ChartMouseMove(x, y); });
}

void TTempSectionDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FormShow();
}

void TTempSectionDlg::FormShow() {
  setup_ = SetupTimeView(project_, mode_);
  {
    const QSignalBlocker blocker(ComboPosition);
    ComboPosition->clear();
    for (const TTimePosition& position : setup_.positions)
      ComboPosition->addItem(QString::fromStdString(position.text), position.code);
    ComboPosition->setCurrentIndex(setup_.positions.empty() ? -1 : 0);
  }
  const bool single = mode_ == TTimeViewMode::XPosition || mode_ == TTimeViewMode::InverseFaces;
  const bool curves = mode_ == TTimeViewMode::XPosition;
  LabelCurve->setVisible(curves);
  ComboCurve->setVisible(curves);
  LabelAverage->setVisible(single);
  ComboAverage->setVisible(single);
  LabelPosition->setVisible(mode_ != TTimeViewMode::Decomposition);
  ComboPosition->setVisible(mode_ != TTimeViewMode::Decomposition);
  if (mode_ == TTimeViewMode::Compare) {
    ComboPosition->setFixedWidth(200);
    ShowLegend(kRed, QStringLiteral("User input"), Qt::black, QStringLiteral("Kolma output"));
  }
  Legend->setVisible(!single);

  Chart_->SetRangeLoX(0.0);
  Chart_->SetRangeHiX(setup_.xHiShown);
  Redraw();
}

void TTempSectionDlg::Redraw() {
  if (!shown_) return;
  const auto curve = static_cast<TTimeCurveKind>(std::max(0, ComboCurve->currentIndex()));
  const auto average = static_cast<TAverageCycle>(std::max(0, ComboAverage->currentIndex()));
  plot_ = PlotTimeView(project_, setup_, ComboPosition->currentIndex(), curve, average);

  Chart_->ClearDrawing();
  Chart_->SetIdOrdinate(QString::fromStdString(plot_.ordinate));
  Chart_->SetRangeLoY(plot_.loY);
  Chart_->SetRangeHiY(plot_.hiY);
  for (const TTimePolyline& line : plot_.lines) {
    if (line.values.empty()) continue;
    // Where an average's window wraps round the record, a paler dotted line: not data.
    Chart_->SetDataColor(line.wraps ? Pale(ChartColour(line.colour)) : ChartColour(line.colour));
    Chart_->SetPenStyle(line.wraps ? Qt::DotLine : line.dashed ? Qt::DashLine : Qt::SolidLine);
    Chart_->SetCurveTitle(QString::fromStdString(line.title));
    Chart_->AddMoveTo(line.first * line.timeStep, line.values.front());
    for (std::size_t j = 1; j < line.values.size(); ++j)
      Chart_->AddLineTo(static_cast<double>(line.first + static_cast<int>(j)) * line.timeStep, line.values[j]);
  }
  Chart_->SetCurveTitle(QString());
  Chart_->SetPenStyle(Qt::SolidLine);
  Chart_->SetDataColor(Qt::black);
  Chart_->ShowDrawing();

  // A curve that cannot be drawn says why once, when it is chosen, not at every redraw.
  if (announceFailure_ && !plot_.failure.empty())
    Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"), QString::fromStdString(plot_.failure));
  announceFailure_ = false;
}

void TTempSectionDlg::ViewAllClick() {
  Chart_->SetRangeLoX(0.0);
  Chart_->SetRangeHiX(setup_.xHiViewAll);
  Chart_->SetRangeLoY(plot_.viewAllLoY);
  Chart_->SetRangeHiY(plot_.viewAllHiY);
}

void TTempSectionDlg::ShowValuesClick() {
  if (!plot_.failure.empty()) {
    Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"), QString::fromStdString(plot_.failure));
    return;
  }
  TStatValuesDlg values(this);
  switch (mode_) {
    case TTimeViewMode::XPosition:
    case TTimeViewMode::InverseFaces:
      values.SetPrepared(CurveValuesTable(plot_.curveValues, plot_.timeStep, plot_.position,
                                          plot_.averaged ? &plot_.statistics : nullptr, plot_.unit));
      if (plot_.unit == "(MPa)") values.SetQuantity(TResultQuantity::CurveStresses);
      break;
    case TTimeViewMode::Compare:
      values.SetPrepared(CompareTable(plot_, setup_, ComboPosition->currentIndex()));
      break;
    case TTimeViewMode::Decomposition:
      values.SetPrepared(DecompositionTable(setup_, project_.DirectResults.TimeStep));
      break;
  }
  RunDialog(values);
}

void TTempSectionDlg::ChartMouseMove(double x, double y) {
  LabelX->setText(QString::fromStdString(FormatFloat("X = %7.0f h", x)));
  LabelT->setText(QString::fromStdString(FormatFloat("T = %7.3f °C", y)));
}

}  // namespace kolma::ui
