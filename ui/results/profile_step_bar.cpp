#include "ui/results/profile_step_bar.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/analysis/harmonic_decomposition.h"

namespace kolma::ui {
namespace {

struct TStepButton {
  const char* name;
  const char* text;
  double hours;  // signed: negative moves back
};

constexpr std::array<TStepButton, 6> kStepButtons = {{
    {"ButtonMinus24", "-24h", -24.0},
    {"ButtonMinus12", "-12h", -12.0},
    {"ButtonMinus1", "-1h", -1.0},
    {"ButtonPlus1", "+1h", 1.0},
    {"ButtonPlus12", "+12h", 12.0},
    {"ButtonPlus24", "+24h", 24.0},
}};

}  // namespace

int StepJump(double hours, double timeStep) {
  if (!(timeStep > 0.0)) return 0;
  return static_cast<int>(RoundHalfEven(hours / timeStep));
}

bool StepButtonOffered(double hours, double timeStep) { return timeStep > 0.0 && timeStep <= std::abs(hours); }

QString CurrentTimeText(int step, double timeStep) {
  const auto hours = RoundHalfEven(static_cast<double>(step - 1) * timeStep);
  return QString::asprintf("Current time = %4lld hours", static_cast<long long>(hours));
}

TStepBar::TStepBar(QWidget* parent) : QWidget(parent) {
  TrackBar_ = new QSlider(Qt::Horizontal, this);
  TrackBar_->setObjectName(QStringLiteral("TrackBar"));
  TrackBar_->setAccessibleName(QStringLiteral("Analysis step"));
  TrackBar_->setTickPosition(QSlider::TicksBelow);
  TrackBar_->setRange(1, 1);
  connect(TrackBar_, &QSlider::valueChanged, this, &TStepBar::Changed);

  LabelTime = new QLabel(QStringLiteral("Current time =    1 hour"), this);
  LabelTime->setObjectName(QStringLiteral("LabelTime"));
  QFont mono(QStringLiteral("Courier New"));
  mono.setStyleHint(QFont::Monospace);
  LabelTime->setFont(mono);

  auto* row = new QHBoxLayout;
  row->addWidget(LabelTime);
  row->addSpacing(8);
  for (size_t i = 0; i < kStepButtons.size(); ++i) {
    const TStepButton& b = kStepButtons[i];
    auto* button = new QPushButton(QString::fromLatin1(b.text), this);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setAccessibleName(button->text());
    button->setAutoDefault(false);
    button->setMaximumWidth(48);
    connect(button, &QPushButton::clicked, this,
            [this, hours = b.hours] { SetPosition(Position() + StepJump(hours, timeStep_)); });
    buttons_[i] = button;
    row->addWidget(button);
  }
  tail_ = new QWidget(this);
  row->addWidget(tail_, 1);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(6, 2, 6, 6);
  column->addWidget(TrackBar_);
  column->addLayout(row);
}

void TStepBar::SetSteps(int steps, double timeStep, int position) {
  timeStep_ = timeStep;
  {
    const QSignalBlocker quiet(TrackBar_);
    TrackBar_->setRange(1, std::max(1, steps));
    TrackBar_->setTickInterval(std::max(1, static_cast<int>(RoundHalfEven(steps / 12.0))));
    TrackBar_->setPageStep(std::max(1, StepJump(24.0, timeStep)));
    TrackBar_->setValue(position);
  }
  for (size_t i = 0; i < kStepButtons.size(); ++i)
    buttons_[i]->setEnabled(StepButtonOffered(kStepButtons[i].hours, timeStep));
  LabelTime->setText(CurrentTimeText(TrackBar_->value(), timeStep_));
}

int TStepBar::Position() const { return TrackBar_->value(); }

// The track bar keeps the position within its range.
void TStepBar::SetPosition(int position) {
  TrackBar_->setValue(std::clamp(position, TrackBar_->minimum(), TrackBar_->maximum()));
}

void TStepBar::Changed(int step) {
  LabelTime->setText(CurrentTimeText(step, timeStep_));
  emit StepChanged(step);
}

void TStepBar::AddTmTdAndClose(QLabel*& tm, QLabel*& td, QPushButton*& close) {
  tm = new QLabel(QStringLiteral("Tm ="), tail_);
  tm->setObjectName(QStringLiteral("LabelTm"));
  td = new QLabel(QStringLiteral("Td ="), tail_);
  td->setObjectName(QStringLiteral("LabelTd"));
  close = new QPushButton(QStringLiteral("Close"), tail_);
  close->setObjectName(QStringLiteral("CloseBtn"));
  close->setDefault(true);
  // Room for the widest read-out from the start, so that stepping never cuts or shifts them.
  for (QLabel* label : {tm, td})
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Tm = -99999.999 °C")) + 4);
  auto* readOuts = new QVBoxLayout;
  readOuts->addWidget(tm);
  readOuts->addWidget(td);
  auto* tail = new QHBoxLayout(tail_);
  tail->setContentsMargins(8, 0, 0, 0);
  tail->addLayout(readOuts);
  tail->addStretch();
  tail->addWidget(close);
}

}  // namespace kolma::ui
