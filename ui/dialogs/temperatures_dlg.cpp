#include "ui/dialogs/temperatures_dlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <complex>
#include <utility>

#include "core/analysis/frequency_filters.h"
#include "core/analysis/function_generator.h"
#include "core/analysis/harmonic_decomposition.h"
#include "core/analysis/measurement_import.h"
#include "core/analysis/result_table.h"
#include "core/analysis/time_history_file.h"
#include "core/model/project.h"
#include "core/numeric/errors.h"
#include "ui/dialogs/band_filter_dlg.h"
#include "ui/dialogs/generator_dlg.h"
#include "ui/dialogs/import_measurements_dlg.h"
#include "ui/dialogs/low_pass_dlg.h"
#include "ui/widgets/chart_mouse_modes.h"
#include "ui/widgets/chart_style.h"
#include "ui/widgets/file_path.h"
#include "ui/widgets/icons.h"
#include "ui/widgets/numeric_edit.h"
#include "ui/widgets/prompts.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {
namespace {

// What the caption says after an import, before the first reading's date and time.
const QString kHourZero = QStringLiteral(" - hour 0 = ");

const QString kWarning = QStringLiteral("Warning");
const QString kLoadedHistoryRole = QStringLiteral("the history file loaded in the editor");
const QString kTooFewSamples =
    QStringLiteral("A temperature history needs at least 2 samples: load, import or generate a longer one.");

// One year of grid spacing in each unit of the "Time axis divisions" list.
constexpr double kYearInUnits[] = {8760.0, 365.0, 12.0};

template <class Button>
Button* NewButton(const char* name, const QString& text, QWidget* parent) {
  auto* button = new Button(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(text);
  button->setAutoDefault(false);
  return button;
}

void ConfigureChart(TRChart& chart, const char* name, const QString& caption, const QString& ordinate) {
  chart.setObjectName(QString::fromLatin1(name));
  chart.setAccessibleName(caption);
  chart.SetCaption(caption);
  chart.SetIdOrdinate(ordinate);
  ApplyHistoryChartStyle(chart);
  chart.SetMouseAction(maNone);
}

enum FilterKind { kLowPass, kHighPass, kBand };

}  // namespace

TTemperaturesDlg::TTemperaturesDlg(const Project& project, QWidget* parent)
    : QDialog(parent),
      xu_(project.SectionProperties.Xu),
      xd_(project.SectionProperties.Xd),
      original_(std::make_unique<TFastFourier>()),
      filtered_(std::make_unique<TFastFourier>()) {
  setObjectName(QStringLiteral("TemperaturesDlg"));
  setWindowTitle(QStringLiteral("Time history of temperatures"));
  original_->SetWeightingWindow(fwRectangle);
  filtered_->SetWeightingWindow(fwRectangle);
  BuildControls();
  resize(780, 580);
}

TTemperaturesDlg::~TTemperaturesDlg() { SetFileInUse(kLoadedHistoryRole, QString()); }

QWidget* TTemperaturesDlg::BuildTopPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("TopPanel"));

  ButtonLoad = NewButton<QPushButton>("ButtonLoad", QStringLiteral("Load from a file"), panel);
  ButtonGenerator = NewButton<QPushButton>("ButtonGenerator", QStringLiteral("Function generator"), panel);
  ButtonImport = NewButton<QPushButton>("ButtonImport", QStringLiteral("Import measurements..."), panel);
  auto* sources = new QVBoxLayout;
  sources->addWidget(ButtonLoad);
  sources->addWidget(ButtonImport);
  sources->addWidget(ButtonGenerator);
  sources->addStretch();

  auto* filters = new QGroupBox(QStringLiteral("Frequency domain filters :"), panel);
  filters->setObjectName(QStringLiteral("GroupFilters"));
  ButtonLowPass = NewButton<QPushButton>("ButtonLowPass", QStringLiteral("Low pass filter"), filters);
  ButtonHighPass = NewButton<QPushButton>("ButtonHighPass", QStringLiteral("High pass filter"), filters);
  ButtonBand = NewButton<QPushButton>("ButtonBand", QStringLiteral("Band filter"), filters);
  ButtonRestore = NewButton<QPushButton>("ButtonRestore", QStringLiteral("Restore original time history"), filters);
  auto* filterGrid = new QGridLayout(filters);
  filterGrid->addWidget(ButtonLowPass, 0, 0);
  filterGrid->addWidget(ButtonHighPass, 0, 1);
  filterGrid->addWidget(ButtonBand, 0, 2);
  filterGrid->addWidget(ButtonRestore, 1, 0, 1, 3);

  auto* positionLabel = new QLabel(QStringLiteral("Position (x) for this record ="), panel);
  EditPosition = new TNumericEdit(QStringLiteral(",0.##### m"), panel);
  EditPosition->setObjectName(QStringLiteral("EditPosition"));
  positionLabel->setBuddy(EditPosition);
  EditPosition->setEnterPressesDefault(true);
  auto* unitLabel = new QLabel(QStringLiteral("Time axis divisions ="), panel);
  ComboTimeUnit = new QComboBox(panel);
  ComboTimeUnit->setObjectName(QStringLiteral("ComboTimeUnit"));
  ComboTimeUnit->addItems({QStringLiteral("hour"), QStringLiteral("day"), QStringLiteral("month")});
  unitLabel->setBuddy(ComboTimeUnit);

  auto* settings = new QGridLayout;
  settings->addWidget(positionLabel, 0, 0);
  settings->addWidget(EditPosition, 0, 1);
  settings->addWidget(unitLabel, 1, 0);
  settings->addWidget(ComboTimeUnit, 1, 1);

  // The chart mouse modes: a radio group in which none is pressed at first.
  auto* tools = new QHBoxLayout;
  tools->setSpacing(2);
  mouseModes_ = AddMouseModeButtons(panel, tools, false, [this](MouseActMode mode) {
    ChartTime->SetMouseAction(mode);
    ChartSpectrum->SetMouseAction(mode);
  });
  ButtonSave = NewSaveButton();
  tools->addSpacing(8);
  tools->addWidget(ButtonSave);
  tools->addStretch();

  ButtonRefresh = NewButton<QPushButton>("ButtonRefresh", QStringLiteral("Refresh"), panel);
  OKBtn = NewButton<QPushButton>("OKBtn", QStringLiteral("Ok"), panel);
  OKBtn->setDefault(true);
  CancelBtn = NewButton<QPushButton>("CancelBtn", QStringLiteral("Cancel"), panel);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ButtonRefresh);
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addStretch();

  auto* middle = new QVBoxLayout;
  middle->addLayout(settings);
  middle->addLayout(tools);

  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(6, 6, 6, 2);
  row->addLayout(sources);
  row->addWidget(filters);
  row->addLayout(middle, 1);
  row->addLayout(buttons);
  return panel;
}

QToolButton* TTemperaturesDlg::NewSaveButton() {
  auto* save = new QToolButton(this);
  save->setObjectName(QStringLiteral("ButtonSave"));
  save->setIcon(KolmaIcon(TIconKind::Save));
  save->setToolTip(QStringLiteral("Save time history"));
  save->setAccessibleName(QStringLiteral("Save time history"));
  save->setAutoRaise(true);
  return save;
}

void TTemperaturesDlg::BuildControls() {
  QWidget* panel = BuildTopPanel();

  ChartTime = new TRChart(this);
  ConfigureChart(*ChartTime, "ChartTime", QStringLiteral("Temperature variation"),
                 QStringLiteral("Temperature (°C)"));
  ChartSpectrum = new TRChart(this);
  ConfigureChart(*ChartSpectrum, "ChartSpectrum", QStringLiteral("Fast Fourier Transform"),
                 QStringLiteral("Amplitude"));
  ChartSpectrum->SetLogScaleX(true);
  ChartTime->SetIdAbscissa(QStringLiteral("Time (hour)"));
  ChartSpectrum->SetIdAbscissa(QStringLiteral("Period (hour)"));

  auto* status = new QStatusBar(this);
  status->setObjectName(QStringLiteral("StatusBar"));
  status->setSizeGripEnabled(false);
  // Wide enough for the longest read-out at this desktop's font.
  const int widths[] = {std::max(150, fontMetrics().horizontalAdvance(QStringLiteral("Period = -99999.9999")) + 12),
                        std::max(150, fontMetrics().horizontalAdvance(QStringLiteral("Temperature = -9999.999 °C")) + 12),
                        50};
  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(status);
    label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    label->setFixedWidth(widths[i]);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    status->addWidget(label);
    panels_[i] = label;
  }
  status->addWidget(new TRefusalLine(status), 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(panel);
  // The two charts share the height below the panel equally, whatever the window's size.
  layout->addWidget(ChartTime, 1);
  layout->addWidget(ChartSpectrum, 1);
  layout->addWidget(status);

  connect(ButtonLoad, &QPushButton::clicked, this, &TTemperaturesDlg::LoadClick);
  connect(ButtonImport, &QPushButton::clicked, this, &TTemperaturesDlg::ImportClick);
  connect(ButtonGenerator, &QPushButton::clicked, this, &TTemperaturesDlg::GeneratorClick);
  connect(ButtonLowPass, &QPushButton::clicked, this, &TTemperaturesDlg::LowPassClick);
  connect(ButtonHighPass, &QPushButton::clicked, this, &TTemperaturesDlg::HighPassClick);
  connect(ButtonBand, &QPushButton::clicked, this, &TTemperaturesDlg::BandFilterClick);
  connect(ButtonRestore, &QPushButton::clicked, this, &TTemperaturesDlg::RestoreClick);
  connect(ButtonSave, &QToolButton::clicked, this, &TTemperaturesDlg::SaveClick);
  connect(ButtonRefresh, &QPushButton::clicked, this, &TTemperaturesDlg::RefreshClick);
  connect(ComboTimeUnit, &QComboBox::currentIndexChanged, this, &TTemperaturesDlg::RefreshClick);
  connect(OKBtn, &QPushButton::clicked, this, &TTemperaturesDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(ChartTime, &TRChart::OnMouseMoveInChart, this,
          [this](bool, Qt::KeyboardModifiers, double x, double y) { TimeChartMouseMove(x, y); });
  connect(ChartSpectrum, &TRChart::OnMouseMoveInChart, this,
          [this](bool, Qt::KeyboardModifiers, double x, double y) { SpectrumChartMouseMove(x, y); });
}

double TTemperaturesDlg::TimeScale() const { return HoursPerTimeUnit(ComboTimeUnit->currentIndex()); }

QString TTemperaturesDlg::StatusPanelText(int panel) const {
  return panel >= 0 && panel < 3 ? panels_[panel]->text() : QString();
}

void TTemperaturesDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FormShow();
}

void TTemperaturesDlg::FormShow() {
  switch (EditMode) {
    case UpstreamFace:
      setWindowTitle(windowTitle() + QStringLiteral(" at the upstream face"));
      EditPosition->setValue(xu_);
      EditPosition->setEnabled(false);
      break;
    case DownstreamFace:
      setWindowTitle(windowTitle() + QStringLiteral(" at the downstream face"));
      EditPosition->setValue(xd_);
      EditPosition->setEnabled(false);
      break;
    default:
      EditPosition->setValue(EditedPosition);
      EditPosition->setEnabled(true);
      break;
  }
  {
    const QSignalBlocker quiet(ComboTimeUnit);
    ComboTimeUnit->setCurrentIndex(0);
  }
  callerValues_ = EditedValues;
  callerTimeStep_ = EditedTimeStep;
  DrawTimeChart();  // captions and grid even without a history
  if (!EditIsNew && EditedValues) NewHistoryShown();
}

// ---- Spectra and charts ------------------------------------------------------------------

void TTemperaturesDlg::ComputeOriginalSpectrum() {
  originalValid_ = false;
  TVector& values = *EditedValues;
  const int oldCount = values.NrOfElem();
  ResampleToPowerOfTwo(values);  // lengths it cannot bring to a power of two stay as they are
  const int n = values.NrOfElem();
  original_->SetSpectrumSize(n);  // raises EFourierError for a length that is no power of two
  original_->Clear();
  std::complex<double>* points = original_->Points();
  for (int i = 1; i <= n; ++i) points[i - 1] = values.Element(i);
  original_->Transform();
  // The history covers the same duration with its new number of samples.
  EditedTimeStep = oldCount * EditedTimeStep / n;
  originalValid_ = true;
}

void TTemperaturesDlg::NewHistoryShown() {
  try {
    ComputeOriginalSpectrum();
  } catch (const EFourierError& error) {
    DrawTimeChart();
    filteredValid_ = false;
    ChartSpectrum->ClearDrawing();
    ChartSpectrum->ShowDrawing();
    ShowFailure(QString::fromStdString(error.what()));
    return;
  }
  DrawTimeChart();
  DrawSpectrumChart();
}

void TTemperaturesDlg::DrawTimeChart() {
  const int unit = ComboTimeUnit->currentIndex();
  const double s = TimeScale();
  ChartTime->SetIdAbscissa(QStringLiteral("Time (") + ComboTimeUnit->currentText() + QLatin1Char(')'));
  ChartTime->SetGridDx(kYearInUnits[std::clamp(unit, 0, 2)]);
  if (!EditedValues) {
    ChartTime->ShowDrawing();
    return;
  }
  const TVector& values = *EditedValues;
  const int n = values.NrOfElem();
  double lo = 0.0, hi = 0.0;
  values.MinMax(1, n, lo, hi);
  const double dt = EditedTimeStep;
  ChartTime->ClearDrawing();
  ChartTime->SetDataColor(Qt::black);
  ChartTime->SetRangeLoX(0.0);
  ChartTime->SetRangeHiX((n - 1) * dt / s);
  ChartTime->SetRangeLoY(lo - 0.05 * (hi - lo));
  ChartTime->SetRangeHiY(hi + 0.05 * (hi - lo));
  ChartTime->AddMoveTo(0.0, values.Element(1));
  for (int i = 2; i <= n; ++i) ChartTime->AddLineTo((i - 1) * dt / s, values.Element(i));
  ChartTime->ShowDrawing();
}

void TTemperaturesDlg::DrawSpectrumChart() {
  ChartSpectrum->SetIdAbscissa(QStringLiteral("Period (") + ComboTimeUnit->currentText() + QLatin1Char(')'));
  if (!EditedValues) return;
  const TVector& values = *EditedValues;
  const int n = values.NrOfElem();
  filteredValid_ = false;
  try {
    filtered_->SetSpectrumSize(n);
  } catch (const EFourierError& error) {
    ShowFailure(QString::fromStdString(error.what()));
    return;
  }
  filtered_->Clear();
  std::complex<double>* points = filtered_->Points();
  for (int i = 1; i <= n; ++i) points[i - 1] = values.Element(i);
  filtered_->Transform();
  filteredValid_ = true;

  ChartSpectrum->ClearDrawing();
  const int half = n / 2;
  if (half < 1) {  // a single sample has no harmonic to show
    ChartSpectrum->ShowDrawing();
    return;
  }
  const double s = TimeScale();
  const double dt = EditedTimeStep;
  ChartSpectrum->SetDataColor(Qt::black);
  ChartSpectrum->SetRangeLoX(1.0 / filtered_->Frequency(half, dt) / s);
  ChartSpectrum->SetRangeHiX(1.0 / filtered_->Frequency(1, dt) / s);
  ChartSpectrum->SetRangeLoY(0.0);
  // From the shortest period to the longest, so that the line runs left to right.
  double highest = 0.0;
  for (int k = half; k >= 1; --k) {
    const double period = n * dt / (k * s);
    const double amplitude = filtered_->Amplitude(k);
    highest = std::max(highest, amplitude);
    if (k == half)
      ChartSpectrum->AddMoveTo(period, amplitude);
    else
      ChartSpectrum->AddLineTo(period, amplitude);
  }
  ChartSpectrum->SetRangeHiY(1.05 * highest);
  ChartSpectrum->ShowDrawing();
}

// The read-outs use the desktop's decimal separator, as the grids do.
void TTemperaturesDlg::TimeChartMouseMove(double x, double y) {
  panels_[0]->setText(QString::fromStdString(FormatFloat("Time = %8.2f", x)));
  panels_[1]->setText(QString::fromStdString(FormatFloat("Temperature = %8.3f °C", y)));
}

void TTemperaturesDlg::SpectrumChartMouseMove(double x, double y) {
  panels_[0]->setText(QString::fromStdString(FormatFloat("Period = %8.4f", x)));
  panels_[1]->setText(QString::fromStdString(FormatFloat("Amplitude = %8.3f °C", y)));
}

void TTemperaturesDlg::ShowFailure(const QString& text) { Prompts().Message(this, PromptIcon::Warning, kWarning, text); }

// ---- Commands ----------------------------------------------------------------------------

void TTemperaturesDlg::LoadClick() {
  const QString path = Prompts().OpenFileName(this, QStringLiteral("Load time history from file"), QString(), QString());
  if (path.isEmpty()) return;
  TimeHistoryReadResult read = ReadTimeHistoryFile(FileSystemPath(path));
  switch (read.status) {
    case TimeHistoryReadStatus::NothingLoaded:
      return;
    case TimeHistoryReadStatus::InvalidFormat:
      ShowFailure(QString::fromLatin1(kInvalidFileFormat));
      return;
    case TimeHistoryReadStatus::ReadFailed:
      ShowFailure(QStringLiteral("The time history could not be read from\n%1\n\n%2")
                      .arg(QDir::toNativeSeparators(path), QString::fromStdString(read.error)));
      return;
    case TimeHistoryReadStatus::Loaded:
      break;
  }
  const int count = read.values.NrOfElem();
  SetFileInUse(kLoadedHistoryRole, path);  // not to be written over while it is edited here
  EditedValues = std::move(read.values);
  EditedTimeStep = read.timeStep;
  NewSourceShown();
  // Old files may rely on missing samples loading as 0, but the user must know.
  if (read.unreadSamples > 0)
    ShowFailure(QStringLiteral("%1 of the %2 samples in\n%3\nwere missing or unreadable and have been set to 0.")
                    .arg(read.unreadSamples)
                    .arg(count)
                    .arg(QDir::toNativeSeparators(path)));
}

void TTemperaturesDlg::ImportClick() {
  const QString path = Prompts().OpenFileName(this, QStringLiteral("Import measurements"),
                                              QStringLiteral("Measurements|*.csv *.txt *.tsv|All files|*"), QString());
  if (path.isEmpty()) return;
  MeasurementTable table = ReadMeasurementFile(FileSystemPath(path));
  if (!table.ok()) {
    ShowFailure(QStringLiteral("The measurements could not be read from\n%1\n\n%2")
                    .arg(QDir::toNativeSeparators(path), QString::fromStdString(table.error)));
    return;
  }
  TImportMeasurementsDlg dialog(std::move(table), QFileInfo(path).fileName(), this);
  if (RunDialog(dialog) != QDialog::Accepted || !dialog.Result().ok()) return;
  EditedValues = dialog.Result().values;
  EditedTimeStep = dialog.Result().timeStep;
  NewSourceShown();
  // Hour 0 of the history is the first reading: its date stays in sight in the caption.
  setWindowTitle(windowTitle() + kHourZero + QString::fromStdString(dialog.Result().firstTime));
}

void TTemperaturesDlg::GeneratorClick() {
  TGeneratorDlg generator(this);
  if (RunDialog(generator) != QDialog::Accepted) return;
  GeneratedHistory made = GenerateHistory(generator.Parameters());
  if (!made.ok) {
    ShowFailure(QString::fromStdString(made.error));
    return;
  }
  EditedValues = std::move(made.values);
  EditedTimeStep = 1.0;
  NewSourceShown();
}

void TTemperaturesDlg::LowPassClick() { FilterClicked(kLowPass); }
void TTemperaturesDlg::HighPassClick() { FilterClicked(kHighPass); }
void TTemperaturesDlg::BandFilterClick() { FilterClicked(kBand); }

void TTemperaturesDlg::FilterClicked(int kind) {
  if (!EditedValues || !filteredValid_ || filtered_->SpectrumSize() != EditedValues->NrOfElem()) return;
  const int unit = ComboTimeUnit->currentIndex();
  const double a = HoursPerTimeUnit(unit);
  // The dialogs start from the periods the spectrum chart shows now, zoomed or not.
  const double lo = std::min(ChartSpectrum->RangeLoX(), ChartSpectrum->RangeHiX());
  const double hi = std::max(ChartSpectrum->RangeLoX(), ChartSpectrum->RangeHiX());
  PeriodFilter filter;
  if (kind == kBand) {
    TBandFilterDlg dialog(unit, lo, hi, this);
    if (RunDialog(dialog) != QDialog::Accepted) return;
    filter = BandFilter(dialog.LowerPeriod(), dialog.UpperPeriod(), a);
  } else {
    TLowPassDlg dialog(kind == kHighPass, unit, lo, hi, this);
    if (RunDialog(dialog) != QDialog::Accepted) return;
    filter = kind == kHighPass ? HighPassFilter(dialog.Period(), a) : LowPassFilter(dialog.Period(), a);
  }
  ApplyPeriodFilter(*filtered_, filter, EditedTimeStep, *EditedValues);
  filteredSinceSource_ = true;
  DrawTimeChart();
  DrawSpectrumChart();
}

void TTemperaturesDlg::RestoreClick() {
  if (!EditedValues || !originalValid_) return;
  RestoreOriginalHistory(*original_, *EditedValues);
  filteredSinceSource_ = false;
  DrawTimeChart();
  DrawSpectrumChart();
}

void TTemperaturesDlg::SaveClick() {
  if (!EditedValues) return;
  const QString path = SaveFileNameChecked(this, QStringLiteral("Save time history to file"),
                                           QStringLiteral("Text files|*.txt"), QStringLiteral("txt"), true);
  if (path.isEmpty()) return;
  const TimeHistoryWriteResult written = WriteTimeHistoryFile(FileSystemPath(path), *EditedValues, EditedTimeStep);
  if (!written.ok)
    ShowFailure(QStringLiteral("The time history could not be saved to\n%1\n\n%2")
                    .arg(QDir::toNativeSeparators(path), QString::fromStdString(written.error)));
}

void TTemperaturesDlg::NewSourceShown() {
  // A new source has its own hour 0: an imported file's date no longer applies.
  QString caption = windowTitle();
  if (const int at = caption.indexOf(kHourZero); at >= 0) setWindowTitle(caption.left(at));
  newSource_ = true;
  filteredSinceSource_ = false;
  NewHistoryShown();
}

void TTemperaturesDlg::OKBtnClick() {
  if (!CommitEdits(this, {EditPosition})) return;
  if (!HistoryChanged()) {
    EditedValues = callerValues_;
    EditedTimeStep = callerTimeStep_;
    accept();
    return;
  }
  // One sample is the project's "no history": stored, the face would read as undefined.
  if (EditedValues && EditedValues->NrOfElem() < 2) {
    ShowFailure(kTooFewSamples);
    return;
  }
  accept();
}

void TTemperaturesDlg::RefreshClick() {
  DrawTimeChart();
  DrawSpectrumChart();
}

}  // namespace kolma::ui
