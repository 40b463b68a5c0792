#include "ui/dialogs/analysis_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/analysis/analysis_outcome.h"
#include "core/analysis/default_time_step.h"
#include "core/analysis/direct_analysis.h"
#include "core/analysis/inverse_analysis.h"
#include "core/analysis/inverse_error.h"
#include "core/analysis/record_checks.h"
#include "core/analysis/progress.h"
#include "core/model/project.h"
#include "ui/widgets/numeric_edit.h"
#include "ui/widgets/prompts.h"

namespace kolma::ui {
namespace {

const QColor kTitleBlue(16, 52, 150);

QLabel* NewLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

// Bold blue section headings.
QLabel* NewHeading(const char* name, const QString& text, QWidget* parent) {
  QLabel* label = NewLabel(name, text, parent);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(16);
  font.setBold(true);
  label->setFont(font);
  SetTextColour(label, kTitleBlue);
  return label;
}

QProgressBar* NewBar(const char* name, QWidget* parent) {
  auto* bar = new QProgressBar(parent);
  bar->setObjectName(QString::fromLatin1(name));
  bar->setRange(0, kProgressMax);
  bar->setValue(0);
  return bar;
}

// The remaining-time read-outs appear only during a run, without shifting the rest.
QLabel* NewTimeLabel(const char* name, QWidget* parent) {
  QLabel* label = NewLabel(name, QStringLiteral("Time left = "), parent);
  QSizePolicy policy = label->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  label->setSizePolicy(policy);
  label->setVisible(false);
  return label;
}

QPushButton* NewButton(const char* name, const QString& text, QStyle::StandardPixmap icon, QWidget* parent) {
  auto* button = new QPushButton(parent->style()->standardIcon(icon), text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  button->setMinimumWidth(190);
  return button;
}

QFrame* NewRule(QWidget* parent) {
  auto* rule = new QFrame(parent);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  return rule;
}

}  // namespace

// Holds everything still while an analysis runs: the inputs, the start buttons and the Close
// button are disabled, "Stop" is enabled and has the focus, and the dialog refuses to close;
// on the way out (also when the analysis throws) every control gets its former state and the
// focus goes back where it was.
class TAnalysisDlg::TRunGuard {
 public:
  TRunGuard(TAnalysisDlg& dialog, QProgressBar* bar, QLabel* timeLabel, QElapsedTimer& clock)
      : dialog_(dialog), timeLabel_(timeLabel), focus_(dialog.focusWidget()) {
    dialog.stopRequested_ = false;
    dialog.ButtonStop->setEnabled(true);
    dialog.ButtonStop->setFocus();
    for (QWidget* w : std::initializer_list<QWidget*>{
             dialog.EditTimeStep, dialog.LMDRadioButtonTout, dialog.LabelTout, dialog.LMDRadioButtonTin,
             dialog.LabelTin, dialog.ButtonStartDirect, dialog.ButtonStartInverse, dialog.OKBtn}) {
      held_.emplace_back(w, w->isEnabled());
      w->setEnabled(false);
    }
    dialog.running_ = true;
    bar->setValue(0);
    clock.start();
    timeLabel->setText(QStringLiteral("Time left = "));
    timeLabel->setVisible(true);
    dialog.Timer->start();
  }
  ~TRunGuard() {
    dialog_.Timer->stop();
    timeLabel_->setVisible(false);
    for (const auto& [widget, enabled] : held_) widget->setEnabled(enabled);
    if (focus_ && focus_->isEnabled()) focus_->setFocus();
    dialog_.ButtonStop->setEnabled(false);
    dialog_.running_ = false;
  }
  TRunGuard(const TRunGuard&) = delete;
  TRunGuard& operator=(const TRunGuard&) = delete;

 private:
  TAnalysisDlg& dialog_;
  QLabel* timeLabel_;
  QPointer<QWidget> focus_;
  std::vector<std::pair<QWidget*, bool>> held_;
};

TAnalysisDlg::TAnalysisDlg(Project& project, QWidget* parent) : TGradientDialog(parent), project_(project) {
  setWindowTitle(QStringLiteral("Analysis"));
  BuildControls();
  FormShow();
}

TAnalysisDlg::~TAnalysisDlg() = default;

int TAnalysisDlg::TimeLeftSeconds(qint64 elapsedMs, int position) {
  if (position <= 0) return 0;
  const double seconds = static_cast<double>(elapsedMs) * (kProgressMax - position) / position / 1000.0;
  return static_cast<int>(std::nearbyint(seconds));
}

QString TAnalysisDlg::TimeLeftText(int seconds) { return QString::asprintf("Time left = %3d sec", seconds); }

QString TAnalysisDlg::StoppedText() { return QStringLiteral("Analysis stopped: no result was changed."); }

void TAnalysisDlg::BuildControls() {
  Label1 = NewLabel("Label1", QStringLiteral("Analysis time step ="), this);
  Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  EditTimeStep = new TNumericEdit(QStringLiteral(",0.## hour(s)"), this);
  EditTimeStep->setObjectName(QStringLiteral("EditTimeStep"));
  EditTimeStep->setRange(1, 24);
  EditTimeStep->setValue(1);
  EditTimeStep->setFixedWidth(120);
  Label1->setBuddy(EditTimeStep);
  auto* stepRow = new QHBoxLayout;
  stepRow->addStretch(1);
  stepRow->addWidget(Label1);
  stepRow->addWidget(EditTimeStep);
  stepRow->addStretch(1);

  Label2 = NewHeading("Label2", QStringLiteral("Inverse Analysis:"), this);
  Label5 = NewLabel("Label5", QStringLiteral("Analysis from user's defined inside section temperatures"), this);
  SetTextColour(Label5, kTitleBlue);
  ButtonStartInverse =
      NewButton("ButtonStartInverse", QStringLiteral("Start Inverse Analysis"), QStyle::SP_MediaPlay, this);
  ProgressBarInverse = NewBar("ProgressBarInverse", this);
  LabelTimeInverse = NewTimeLabel("LabelTimeInverse", this);
  // What each worked-back face is worth, after a completed run.
  LabelInverseErrors = NewLabel("LabelInverseErrors", QString(), this);
  LabelInverseErrors->setWordWrap(true);
  LabelInverseErrors->setVisible(false);

  Label3 = NewHeading("Label3", QStringLiteral("Direct Analysis:"), this);
  Label6 = NewLabel("Label6",
                    QStringLiteral("Analysis from user's defined upstream and downstream temperatures\n"
                                   "or from temperatures at faces computed from inverse analysis"),
                    this);
  SetTextColour(Label6, kTitleBlue);
  LMDRadioButtonTout = new QRadioButton(this);
  LMDRadioButtonTout->setObjectName(QStringLiteral("LMDRadioButtonTout"));
  LMDRadioButtonTout->setChecked(true);
  LabelTout = NewLabel("LabelTout", QStringLiteral("Use temperatures at faces defined by user"), this);
  LMDRadioButtonTin = new QRadioButton(this);
  LMDRadioButtonTin->setObjectName(QStringLiteral("LMDRadioButtonTin"));
  LabelTin = NewLabel("LabelTin", QStringLiteral("Use temperatures at faces computed from inverse analysis"), this);
  for (QLabel* label : {LabelTout, LabelTin}) {
    label->installEventFilter(this);
    label->setCursor(Qt::PointingHandCursor);
  }
  auto* faces = new QGridLayout;
  faces->setColumnStretch(1, 1);
  faces->setContentsMargins(8, 0, 0, 0);
  faces->addWidget(LMDRadioButtonTout, 0, 0);
  faces->addWidget(LabelTout, 0, 1);
  faces->addWidget(LMDRadioButtonTin, 1, 0);
  faces->addWidget(LabelTin, 1, 1);

  ButtonStartDirect =
      NewButton("ButtonStartDirect", QStringLiteral("Start Direct Analysis"), QStyle::SP_MediaPlay, this);
  ProgressBar = NewBar("ProgressBar", this);
  LabelTime = NewTimeLabel("LabelTime", this);

  ButtonStop = new QPushButton(style()->standardIcon(QStyle::SP_MediaStop), QStringLiteral("Stop"), this);
  ButtonStop->setObjectName(QStringLiteral("ButtonStop"));
  ButtonStop->setAutoDefault(false);
  ButtonStop->setEnabled(false);  // only while a run is in progress

  OKBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Close"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);

  Timer = new QTimer(this);
  Timer->setObjectName(QStringLiteral("Timer"));
  Timer->setInterval(1000);

  auto centred = [](QWidget* w) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(w);
    row->addStretch(1);
    return row;
  };
  auto* main = new QVBoxLayout(this);
  main->setContentsMargins(16, 14, 16, 12);
  main->setSpacing(6);
  main->addLayout(stepRow);
  main->addSpacing(4);
  main->addWidget(NewRule(this));
  main->addWidget(Label2);
  main->addWidget(Label5);
  main->addSpacing(4);
  main->addLayout(centred(ButtonStartInverse));
  main->addWidget(ProgressBarInverse);
  main->addWidget(LabelTimeInverse);
  main->addWidget(LabelInverseErrors);
  main->addWidget(NewRule(this));
  main->addWidget(Label3);
  main->addWidget(Label6);
  main->addLayout(faces);
  main->addSpacing(4);
  main->addLayout(centred(ButtonStartDirect));
  main->addWidget(ProgressBar);
  main->addWidget(LabelTime);
  main->addStretch(1);
  auto* closeRow = new QHBoxLayout;
  closeRow->addWidget(ButtonStop);
  closeRow->addStretch(1);
  closeRow->addWidget(OKBtn);
  main->addWidget(new TRefusalLine(this));
  main->addLayout(closeRow);

  FixSizeAtLeast(QSize(384, 446));

  connect(ButtonStartInverse, &QPushButton::clicked, this, &TAnalysisDlg::ButtonStartInverseClick);
  connect(ButtonStartDirect, &QPushButton::clicked, this, &TAnalysisDlg::ButtonStartDirectClick);
  connect(ButtonStop, &QPushButton::clicked, this, &TAnalysisDlg::ButtonStopClick);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(Timer, &QTimer::timeout, this, &TAnalysisDlg::TimerTimer);
  Timer->start();
}

void TAnalysisDlg::FormShow() {
  const Project& p = project_;
  EditTimeStep->setValue(DefaultAnalysisTimeStep(p));

  const bool userFaces = p.HasFlag(pfSection) && p.HasFlag(pfUpstream) && p.HasFlag(pfDownstream);
  const bool inverseFaces = p.HasFlag(pfInverseResults);
  LabelTout->setEnabled(userFaces);
  LMDRadioButtonTout->setEnabled(userFaces);
  LabelTin->setEnabled(inverseFaces);
  LMDRadioButtonTin->setEnabled(inverseFaces);
  ButtonStartDirect->setEnabled(userFaces || inverseFaces);
  ButtonStartInverse->setEnabled(p.HasFlag(pfInversePair));
  if (userFaces && !inverseFaces) LMDRadioButtonTout->setChecked(true);
  if (inverseFaces && !userFaces) LMDRadioButtonTin->setChecked(true);
}

void TAnalysisDlg::LabelToutClick() {
  if (LMDRadioButtonTout->isEnabled()) LMDRadioButtonTout->setChecked(true);
}

void TAnalysisDlg::LabelTinClick() {
  if (LMDRadioButtonTin->isEnabled()) LMDRadioButtonTin->setChecked(true);
}

bool TAnalysisDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == LabelTout) LabelToutClick();
    if (watched == LabelTin) LabelTinClick();
  }
  return TGradientDialog::eventFilter(watched, event);
}

void TAnalysisDlg::UpdateTimeLeft(QProgressBar* bar, const QElapsedTimer& clock, QLabel* label) {
  const int position = bar->value() - bar->minimum();
  if (position == 0 || !clock.isValid()) return;
  label->setText(TimeLeftText(TimeLeftSeconds(clock.elapsed(), position)));
}

void TAnalysisDlg::TimerTimer() {
  UpdateTimeLeft(ProgressBar, directClock_, LabelTime);
  UpdateTimeLeft(ProgressBarInverse, inverseClock_, LabelTimeInverse);
}

bool TAnalysisDlg::ReportProgress(QProgressBar* bar, int position) {
  bar->setValue(position);
  QCoreApplication::processEvents();
  return !stopRequested_;
}

void TAnalysisDlg::ShowOutcome(const AnalysisOutcome& outcome, QLabel* timeLabel) {
  if (outcome.stopped) {
    // Said in the dialog where the time left was, until the next run of that analysis.
    timeLabel->setText(StoppedText());
    timeLabel->setVisible(true);
  }
  if (!outcome.notes.empty() && !outcome.stopped) {
    QStringList notes;
    for (const std::string& note : outcome.notes) notes << QString::fromStdString(note);
    timeLabel->setText(notes.join(u'\n'));
    timeLabel->setWordWrap(true);
    timeLabel->setVisible(true);
  }
  for (const std::string& text : outcome.warnings)
    Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"), QString::fromStdString(text));
}

void TAnalysisDlg::ButtonStopClick() {
  if (running_) stopRequested_ = true;
}

void TAnalysisDlg::keyPressEvent(QKeyEvent* event) {
  // Escape during a run stops it; the dialog stays, as it must while the run unwinds.
  if (running_ && event->key() == Qt::Key_Escape) {
    ButtonStopClick();
    event->accept();
    return;
  }
  TGradientDialog::keyPressEvent(event);
}

void TAnalysisDlg::ButtonStartDirectClick() {
  if (running_ || !ButtonStartDirect->isEnabled()) return;
  const DirectAnalysisRequest request{EditTimeStep->value(), LMDRadioButtonTin->isChecked()};
  AnalysisOutcome outcome;
  {
    TRunGuard guard(*this, ProgressBar, LabelTime, directClock_);
    outcome = RunDirectAnalysis(project_, request,
                                [this](int position) { return ReportProgress(ProgressBar, position); });
  }
  ShowOutcome(outcome, LabelTime);
}

void TAnalysisDlg::ButtonStartInverseClick() {
  if (running_ || !ButtonStartInverse->isEnabled()) return;
  // Faulty records are named before the run: the user may go on or stop.
  const std::vector<std::string> faults =
      InverseRecordFaults(project_, static_cast<TInverseMethod>(project_.AnalysisOptions.InverseMethod));
  if (!faults.empty()) {
    QStringList lines;
    for (const std::string& fault : faults) lines << QString::fromStdString(fault);
    const QString text = lines.join(QLatin1Char('\n')) + QStringLiteral("\n\n") + QString::fromUtf8(kRecordFaultsQuestion);
    if (Prompts().AskYesNoOrDismiss(this, PromptIcon::Warning, QStringLiteral("Warning"), text) != PromptAnswer::Yes)
      return;
  }
  const double timeStep = EditTimeStep->value();
  AnalysisOutcome outcome;
  {
    TRunGuard guard(*this, ProgressBarInverse, LabelTimeInverse, inverseClock_);
    outcome = RunInverseAnalysis(project_, timeStep,
                                 [this](int position) { return ReportProgress(ProgressBarInverse, position); });
  }
  if (outcome.completed) {
    // The worked-back faces can now drive the direct analysis; they become the choice
    // when the user's own faces are not available.
    ButtonStartDirect->setEnabled(true);
    LabelTin->setEnabled(true);
    LMDRadioButtonTin->setEnabled(true);
    if (LMDRadioButtonTout->isEnabled())
      LMDRadioButtonTout->setChecked(true);
    else
      LMDRadioButtonTin->setChecked(true);
    // Short enough for the dialog's width; the tooltip has the batch report's wording.
    const TInverseResults& r = project_.InverseResults;
    auto line = [](const char* face, double error, double period) {
      return QString::asprintf("%s face: expected error %.2f \u00b0C rms; periods from %.0f h up", face, error, period);
    };
    LabelInverseErrors->setText(line("Upstream", r.UpstreamExpectedError, r.UpstreamShortestPeriod) +
                                QLatin1Char('\n') +
                                line("Downstream", r.DownstreamExpectedError, r.DownstreamShortestPeriod));
    LabelInverseErrors->setToolTip(
        QString::fromStdString(FaceErrorLine("upstream", {r.UpstreamExpectedError, r.UpstreamShortestPeriod}) + "\n" +
                               FaceErrorLine("downstream", {r.DownstreamExpectedError, r.DownstreamShortestPeriod})));
  }
  LabelInverseErrors->setVisible(outcome.completed);
  // Every warning of the run in one box, not a cascade of them.
  AnalysisOutcome joined = outcome;
  if (joined.warnings.size() > 1) {
    std::string text;
    for (const std::string& w : outcome.warnings) text += (text.empty() ? "" : "\n\n") + w;
    joined.warnings = {text};
  }
  ShowOutcome(joined, LabelTimeInverse);
}

void TAnalysisDlg::done(int result) {
  if (running_) return;  // the analysis runs inside this dialog: it cannot go away now
  TGradientDialog::done(result);
}

void TAnalysisDlg::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    return;
  }
  TGradientDialog::closeEvent(event);
}

}  // namespace kolma::ui
