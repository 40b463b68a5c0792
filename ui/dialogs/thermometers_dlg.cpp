#include "ui/dialogs/thermometers_dlg.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "ui/widgets/numeric_edit.h"
#include "ui/widgets/prompts.h"
#include "ui/widgets/title_text.h"

namespace kolma::ui {
namespace {

constexpr int kMostLines = kThermometerSlots;

QPushButton* NewButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

QListWidgetItem* NewLine(const QString& title) {
  auto* item = new QListWidgetItem(title);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(Qt::Unchecked);
  return item;
}

}  // namespace

TThermometersDlg::TThermometersDlg(const Project& project, QWidget* parent)
    : TGradientDialog(parent),
      pair_(project.InversePair),
      xu_(project.SectionProperties.Xu),
      xd_(project.SectionProperties.Xd) {
  for (int k = 1; k <= kThermometerSlots; ++k) {
    const TTemperatureInside& from = project.Thermometer(k);
    TThermometerSlot& to = slots_[static_cast<size_t>(k - 1)];
    to.Position = from.Position;
    to.TimeStep = from.TimeStep;
    to.Title = from.Title;
    if (IsThermometerOccupied(from)) to.Values = from.Values;
  }
  setWindowTitle(QStringLiteral("Measured temperature(s) inside section"));
  BuildControls();
  FormShow();
}

void TThermometersDlg::BuildControls() {
  auto* titleLabel = new QLabel(QStringLiteral("Title (maximum 80 characters) :"), this);
  EditTitle = new QLineEdit(this);
  EditTitle->setObjectName(QStringLiteral("EditTitle"));
  EditTitle->setMaxLength(TShortTitle::kCapacity);
  EditTitle->installEventFilter(this);
  titleLabel->setBuddy(EditTitle);
  ButtonAdd = NewButton("ButtonAdd", QStringLiteral("Add a measured temperature"), this);

  auto* listLabel = new QLabel(
      QStringLiteral("List of measured temperatures (Check two measured temperatures for inverse problem):"), this);
  listLabel->setWordWrap(true);
  CheckListBox = new QListWidget(this);
  CheckListBox->setObjectName(QStringLiteral("CheckListBox"));
  CheckListBox->setSelectionMode(QAbstractItemView::SingleSelection);
  listLabel->setBuddy(CheckListBox);
  Button1 = NewButton("Button1", QStringLiteral("Remove measured temperature"), this);
  Button2 = NewButton("Button2", QStringLiteral("Edit measured temperature"), this);
  MakeOkCancelButtons(OKBtn, CancelBtn);

  auto* listButtons = new QHBoxLayout;
  listButtons->addWidget(Button1);
  listButtons->addWidget(Button2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);

  auto* main = new QVBoxLayout(this);
  main->setContentsMargins(14, 12, 14, 12);
  main->addWidget(titleLabel);
  main->addWidget(EditTitle);
  main->addWidget(ButtonAdd, 0, Qt::AlignLeft);
  main->addSpacing(8);
  main->addWidget(listLabel);
  main->addWidget(CheckListBox, 1);
  main->addLayout(listButtons);
  main->addSpacing(8);
  main->addLayout(buttons);

  FixSizeAtLeast(QSize(483, 435));

  connect(ButtonAdd, &QPushButton::clicked, this, &TThermometersDlg::ButtonAddClick);
  connect(Button1, &QPushButton::clicked, this, &TThermometersDlg::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TThermometersDlg::Button2Click);
  connect(CheckListBox, &QListWidget::itemDoubleClicked, this, &TThermometersDlg::Button2Click);
  connect(OKBtn, &QPushButton::clicked, this, &TThermometersDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TThermometersDlg::FormShow() {
  for (const TThermometerSlot& slot : slots_)
    if (slot.Values) CheckListBox->addItem(NewLine(TitleText(slot.Title)));
  for (const int entry : {pair_.First, pair_.Second})
    if (entry >= 1 && entry <= CheckListBox->count()) CheckListBox->item(entry - 1)->setCheckState(Qt::Checked);
  shownChecks_ = CheckMarks();
  // Connected only now: the checks of the stored pair are no clicks.
  connect(CheckListBox, &QListWidget::itemChanged, this, &TThermometersDlg::CheckListBoxClickCheck);
}

const TThermometerSlot& TThermometersDlg::Slot(int k) const { return slots_.at(static_cast<size_t>(k - 1)); }

int TThermometersDlg::OccupiedCount() const {
  int count = 0;
  for (const TThermometerSlot& slot : slots_) count += slot.Values.has_value();
  return count;
}

std::vector<bool> TThermometersDlg::CheckMarks() const {
  std::vector<bool> marks;
  for (int i = 0; i < CheckListBox->count(); ++i) marks.push_back(CheckListBox->item(i)->checkState() == Qt::Checked);
  return marks;
}

int TThermometersDlg::SelectedSlot() const {
  const QList<QListWidgetItem*> selected = CheckListBox->selectedItems();
  return selected.isEmpty() ? 0 : CheckListBox->row(selected.front()) + 1;
}

void TThermometersDlg::Warn(const QString& text) {
  Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"), text);
}

std::unique_ptr<TTemperaturesDlg> TThermometersDlg::NewEditor(const QString& caption) {
  Project section;  // the editor takes only the faces from it
  section.SectionProperties.Xu = xu_;
  section.SectionProperties.Xd = xd_;
  auto editor = std::make_unique<TTemperaturesDlg>(section, this);
  editor->setWindowTitle(caption);
  editor->EditMode = TTemperaturesDlg::InsideRecord;
  editor->PositionEdit()->setRange(xu_, xd_);
  return editor;
}

bool TThermometersDlg::EditHistory(TTemperaturesDlg& editor) {
  if (RunEditor(editor) != QDialog::Accepted || !editor.EditedValues) return false;
  // One sample is what the project takes for "no thermometer": stored, it would leave a
  // gap before the later slots, and saving would then drop them.
  if (editor.EditedValues->NrOfElem() < 2) {
    Warn(QStringLiteral("A measured temperature needs at least 2 samples. Nothing was changed."));
    return false;
  }
  return true;
}

void TThermometersDlg::ButtonAddClick() {
  const QString t = EditTitle->text();
  if (t.isEmpty()) return Warn(QStringLiteral("You must provide a title."));
  if (CheckListBox->count() >= kMostLines)
    return Warn(QStringLiteral("You have reached the maximum of %1 measured temperatures.").arg(kMostLines));
  for (const TThermometerSlot& slot : slots_)
    if (TitleText(slot.Title) == t) return Warn(QStringLiteral("Duplicate title, use a different one"));
  const std::optional<TShortTitle> title = TitleFromText(t);
  if (!title) {
    return Warn(QStringLiteral("The title cannot hold the character \"%1\": titles take Western European "
                               "(Latin-1) characters only.")
                    .arg(FirstCharacterNotInTitles(t)));
  }

  const std::unique_ptr<TTemperaturesDlg> editor = NewEditor(t);
  editor->EditIsNew = true;
  editor->EditedValues.reset();
  editor->EditedPosition = 0.0;
  if (!EditHistory(*editor)) return;

  TThermometerSlot& slot = slots_[static_cast<size_t>(CheckListBox->count())];
  slot.Position = editor->PositionEdit()->value();
  slot.TimeStep = editor->EditedTimeStep;
  slot.Title = *title;
  slot.Values = std::move(editor->EditedValues);
  CheckListBox->addItem(NewLine(t));
  changed_ = true;
}

void TThermometersDlg::Button2Click() {
  const int k = SelectedSlot();
  if (k == 0) return;
  TThermometerSlot& slot = slots_[static_cast<size_t>(k - 1)];

  const std::unique_ptr<TTemperaturesDlg> editor = NewEditor(TitleText(slot.Title));
  editor->EditIsNew = false;
  editor->EditedPosition = slot.Position;
  editor->EditedValues = slot.Values;
  editor->EditedTimeStep = slot.TimeStep;
  editor->PositionEdit()->setValue(slot.Position);
  const double shownPosition = editor->PositionEdit()->value();
  if (!EditHistory(*editor)) return;

  // The editor hands back the record's own samples when the user changed none of them.
  const TVector& before = *slot.Values;
  const TVector& after = *editor->EditedValues;
  const bool sameSamples = before.NrOfElem() == after.NrOfElem() &&
                           std::equal(before.Data(), before.Data() + before.NrOfElem(), after.Data());
  if (sameSamples && editor->EditedTimeStep == slot.TimeStep && editor->PositionEdit()->value() == shownPosition)
    return;
  slot.Position = editor->PositionEdit()->value();
  slot.TimeStep = editor->EditedTimeStep;
  slot.Values = std::move(editor->EditedValues);
  changed_ = true;
}

void TThermometersDlg::Button1Click() {
  const int k = SelectedSlot();
  if (k == 0) return;
  const int m = OccupiedCount();
  for (int j = k; j < m; ++j) slots_[static_cast<size_t>(j - 1)] = slots_[static_cast<size_t>(j)];
  TThermometerSlot& last = slots_[static_cast<size_t>(m - 1)];
  last.Values.reset();
  last.Title = TShortTitle();
  last.Position = xu_;
  last.TimeStep = 0.0;
  delete CheckListBox->takeItem(k - 1);
  changed_ = true;
}

void TThermometersDlg::CheckListBoxClickCheck(QListWidgetItem* item) {
  int checked = 0;
  for (int i = 0; i < CheckListBox->count(); ++i) checked += CheckListBox->item(i)->checkState() == Qt::Checked;
  if (checked <= 2) return;
  item->setCheckState(Qt::Unchecked);
  Warn(QStringLiteral("You already checked 2 measured temperatures."));
}

void TThermometersDlg::OKBtnClick() {
  pair_ = TInversePair();
  for (int i = 0; i < CheckListBox->count(); ++i) {
    if (CheckListBox->item(i)->checkState() != Qt::Checked) continue;
    if (pair_.First == 0) {
      pair_.First = i + 1;
    } else if (pair_.Second == 0) {
      pair_.Second = i + 1;
    }
  }
  changed_ = changed_ || CheckMarks() != shownChecks_;
  accept();
}

void TThermometersDlg::CopyBackTo(Project& project) const {
  project.InversePair = pair_;
  if (pair_.First > 0 && pair_.Second > 0) {
    project.ProjectFlags |= pfInversePair;
  } else {
    project.ProjectFlags &= static_cast<std::uint8_t>(~pfInversePair);
  }
  for (int k = 1; k <= kThermometerSlots; ++k) {
    const TThermometerSlot& from = Slot(k);
    TTemperatureInside& to = project.Thermometer(k);
    if (from.Values) {
      to.Position = from.Position;
      to.TimeStep = from.TimeStep;
      to.Title = from.Title;
      to.Values = *from.Values;
    } else {
      to.Position = xu_;
      to.TimeStep = 0.0;
      to.Title = TShortTitle();
      to.Values.Resize(1);
    }
  }
}

bool TThermometersDlg::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the title adds it, as the button next to it would; it does not close the dialog.
  if (watched == EditTitle && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ButtonAddClick();
      return true;
    }
  }
  return TGradientDialog::eventFilter(watched, event);
}

}  // namespace kolma::ui
