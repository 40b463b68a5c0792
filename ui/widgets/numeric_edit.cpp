#include "ui/widgets/numeric_edit.h"

#include "ui/widgets/prompts.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace kolma::ui {
namespace {

constexpr QChar kDecimalPoint = u'.';

bool IsPatternChar(QChar c) { return c == u',' || c == u'0' || c == u'#' || c == u'.'; }

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Fixed-point writing of `value` with exactly `decimals` decimals, independent of the locale.
std::string FixedText(double value, int decimals) {
  // The largest double has 309 integer digits; sign, point and decimals add the rest.
  std::array<char, 400> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
  return std::string(buffer.data(), result.ptr);
}

QString GroupThousands(const QString& digits, const QString& separator) {
  QString grouped;
  const int n = static_cast<int>(digits.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

// The digits at `at` onwards; `at` moves past them.
QString TakeDigits(const QString& text, int& at) {
  const int start = at;
  while (at < text.size() && IsAsciiDigit(text[at])) ++at;
  return text.mid(start, at - start);
}

}  // namespace

double RoundToDecimals(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  const std::string text = FixedText(value, decimals);
  double rounded = value;
  std::from_chars(text.data(), text.data() + text.size(), rounded);
  return rounded == 0.0 ? 0.0 : rounded;  // no "-0"
}

QString PlainNumber(double value, int decimals) {
  QString text = QString::fromStdString(FixedText(RoundToDecimals(value, decimals), decimals));
  if (text.contains(kDecimalPoint)) {
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(kDecimalPoint)) text.chop(1);
  }
  return text;
}

TNumberFormat::TNumberFormat(const QString& pattern, const QLocale& locale)
    : pattern_(pattern), decimal_(locale.decimalPoint()), group_(locale.groupSeparator()) {
  int i = 0;
  const int n = static_cast<int>(pattern.size());
  while (i < n && !IsPatternChar(pattern[i])) prefix_ += pattern[i++];
  const int start = i;
  while (i < n && IsPatternChar(pattern[i])) ++i;
  const QString number = pattern.mid(start, i - start);
  suffix_ = pattern.mid(i);

  grouping_ = number.contains(u',');
  const int point = static_cast<int>(number.indexOf(kDecimalPoint));
  const QString integerPart = point < 0 ? number : number.left(point);
  const QString decimalPart = point < 0 ? QString() : number.mid(point + 1);
  minIntegerDigits_ = static_cast<int>(integerPart.count(u'0'));
  minDecimals_ = static_cast<int>(decimalPart.count(u'0'));
  maxDecimals_ = minDecimals_ + static_cast<int>(decimalPart.count(u'#'));
}

QString TNumberFormat::Format(double value) const {
  if (!std::isfinite(value)) return prefix_ + QString::number(value) + suffix_;
  const QString fixed = QString::fromStdString(FixedText(value, maxDecimals_));
  const bool negative = fixed.startsWith(u'-');
  const QString magnitude = negative ? fixed.mid(1) : fixed;
  const int point = static_cast<int>(magnitude.indexOf(kDecimalPoint));
  QString integerDigits = point < 0 ? magnitude : magnitude.left(point);
  QString decimals = point < 0 ? QString() : magnitude.mid(point + 1);

  while (decimals.size() > minDecimals_ && decimals.endsWith(u'0')) decimals.chop(1);
  while (integerDigits.size() < minIntegerDigits_) integerDigits.prepend(u'0');
  // "#.##" shows 0.5 as ".5", like the classic picture formats; but never an empty number.
  if (minIntegerDigits_ == 0 && integerDigits == QStringLiteral("0") && !decimals.isEmpty()) integerDigits.clear();

  const bool allZero = std::all_of(fixed.begin(), fixed.end(), [](QChar c) { return c == u'0' || !c.isDigit(); });
  QString text = prefix_;
  if (negative && !allZero) text += u'-';
  text += grouping_ ? GroupThousands(integerDigits, group_) : integerDigits;
  if (!decimals.isEmpty()) text += decimal_ + decimals;
  return text + suffix_;
}

QString TNumberFormat::Plain(double value, int decimals) const {
  return PlainNumber(value, decimals).replace(kDecimalPoint, decimal_);
}

QString TNumberFormat::Example() const {
  return QStringLiteral("1") + group_ + QStringLiteral("234") + decimal_ + QStringLiteral("5");
}

bool TNumberFormat::IsGroupSeparatorAt(const QString& text, int at, int* length) const {
  if (!group_.isEmpty() && QStringView(text).mid(at).startsWith(group_)) {
    *length = static_cast<int>(group_.size());
    return true;
  }
  // Where the desktop groups with a (no-break) space, a plain space is what people type.
  const bool spaceGrouping = group_.size() == 1 && group_[0].isSpace();
  if (spaceGrouping && at < text.size() && text[at].isSpace()) {
    *length = 1;
    return true;
  }
  return false;
}

std::optional<double> TNumberFormat::Parse(const QString& text) const {
  QString t = text.trimmed();
  const QString prefix = prefix_.trimmed();
  const QString suffix = suffix_.trimmed();
  if (!prefix.isEmpty() && t.startsWith(prefix, Qt::CaseInsensitive)) t = t.mid(prefix.size()).trimmed();
  if (!suffix.isEmpty() && t.endsWith(suffix, Qt::CaseInsensitive)) t = t.chopped(suffix.size()).trimmed();

  int at = 0;
  std::string number;
  if (at < t.size() && (t[at] == u'-' || t[at] == QChar(0x2212))) {
    number += '-';
    ++at;
  } else if (at < t.size() && t[at] == u'+') {
    ++at;
  }

  // Integer digits, in groups of three after the first when grouped.
  QString integerDigits = TakeDigits(t, at);
  bool firstGroup = true;
  int separatorLength = 0;
  while (IsGroupSeparatorAt(t, at, &separatorLength)) {
    const QString& leading = integerDigits;
    if (firstGroup && (leading.isEmpty() || leading.size() > 3 || leading[0] == u'0')) return std::nullopt;
    firstGroup = false;
    at += separatorLength;
    const QString group = TakeDigits(t, at);
    if (group.size() != 3) return std::nullopt;
    integerDigits += group;
  }

  QString decimals;
  if (!decimal_.isEmpty() && QStringView(t).mid(at).startsWith(decimal_)) {
    at += static_cast<int>(decimal_.size());
    decimals = TakeDigits(t, at);
  }
  if (integerDigits.isEmpty() && decimals.isEmpty()) return std::nullopt;
  number += (integerDigits.isEmpty() ? QStringLiteral("0") : integerDigits).toStdString();
  if (!decimals.isEmpty()) number += '.' + decimals.toStdString();

  if (at < t.size() && (t[at] == u'e' || t[at] == u'E')) {
    number += 'e';
    ++at;
    if (at < t.size() && (t[at] == u'-' || t[at] == u'+')) number += static_cast<char>(t[at++].unicode());
    const QString exponent = TakeDigits(t, at);
    if (exponent.isEmpty()) return std::nullopt;
    number += exponent.toStdString();
  }
  if (at != t.size()) return std::nullopt;

  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec != std::errc() || result.ptr != number.data() + number.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

TNumericEdit::TNumericEdit(QWidget* parent) : TNumericEdit(QStringLiteral(",0.########"), parent) {}

TNumericEdit::TNumericEdit(const QString& displayFormat, QWidget* parent)
    : QLineEdit(parent), format_(displayFormat, locale()) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  ShowValue();
  connect(this, &QLineEdit::textEdited, this, &TNumericEdit::ClearRefusal);
}

void TNumericEdit::setDisplayFormat(const QString& pattern) {
  format_ = TNumberFormat(pattern, locale());
  ShowValue();
}

void TNumericEdit::setRange(double minimum, double maximum) {
  hasRange_ = true;
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  setValue(value_);
}

void TNumericEdit::clearRange() { hasRange_ = false; }

double TNumericEdit::Clamp(double value) const {
  return hasRange_ ? std::clamp(value, minimum_, maximum_) : value;
}

bool TNumericEdit::Editing() const { return showingPlain_ && isModified(); }

QString TNumericEdit::Bound(double value) const {
  return format_.Plain(value, kInternalDecimals) + format_.Suffix();
}

std::optional<double> TNumericEdit::Accepted(const QString& text, QString* reason, QString* line) const {
  const QString typed = text.trimmed();
  const auto parsed = format_.Parse(typed);
  if (!parsed) {
    if (reason) *reason = QStringLiteral("\"%1\" is not a number; write numbers like %2").arg(typed, format_.Example());
    if (line) *line = FieldCaption() + QStringLiteral(": \"%1\" is not a number").arg(typed);
    return std::nullopt;
  }
  const double value = RoundToDecimals(*parsed, kInternalDecimals);
  if (hasRange_ && (value < minimum_ || value > maximum_)) {
    if (reason)
      *reason = QStringLiteral("%1 is out of range: enter a value from %2 to %3")
                    .arg(typed, Bound(minimum_), Bound(maximum_));
    if (line)
      *line = FieldCaption() + QStringLiteral(" must be from %1 to %2%3")
                                   .arg(format_.Plain(minimum_, kInternalDecimals),
                                        format_.Plain(maximum_, kInternalDecimals), format_.Suffix());
    return std::nullopt;
  }
  return value;
}

// The field as its label names it ("Analysis time step ="  -> "Analysis time step").
QString TNumericEdit::FieldCaption() const {
  for (const QLabel* label : window()->findChildren<QLabel*>()) {
    if (label->buddy() != this) continue;
    QString caption = label->text().simplified().remove(u'&');
    if (caption.endsWith(u'=')) caption.chop(1);
    return caption.trimmed();
  }
  return accessibleName().isEmpty() ? QStringLiteral("The value") : accessibleName();
}

double TNumericEdit::value() const {
  if (Editing()) {
    if (const auto typed = Accepted(text(), nullptr)) return *typed;
  }
  return value_;
}

void TNumericEdit::setValue(double value) {
  ClearRefusal();
  if (!std::isfinite(value)) {
    ShowValue();
    return;
  }
  const double stored = Clamp(RoundToDecimals(value, kInternalDecimals));
  const bool changed = stored != value_;
  value_ = stored;
  ShowValue();
  if (changed) emit valueChanged(value_);
}

bool TNumericEdit::commitText() {
  if (isModified() || text() != Shown()) {
    QString reason, line;
    if (const auto typed = Accepted(text(), &reason, &line))
      setValue(*typed);
    else
      Refuse(reason, line);
  }
  return refusal_.isEmpty();
}

namespace {

// The refusal line of the edit's own window, not of a dialog opened from it.
TRefusalLine* RefusalLineOf(const QWidget* edit) {
  for (TRefusalLine* line : edit->window()->findChildren<TRefusalLine*>())
    if (line->window() == edit->window()) return line;
  return nullptr;
}

}  // namespace

TRefusalLine::TRefusalLine(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("RefusalLine"));
  setWordWrap(true);
  setStyleSheet(QStringLiteral("QLabel { color: #b00000; }"));
  // One line kept free, so that a refusal does not shift the dialog's controls.
  setMinimumHeight(fontMetrics().height());
}

void TNumericEdit::Refuse(const QString& reason, const QString& line) {
  if (refusal_.isEmpty()) ownToolTip_ = toolTip();
  refusal_ = reason;
  refusalLine_ = line;
  if (TRefusalLine* shown = RefusalLineOf(this)) shown->setText(line);
  ShowValue();
  setStyleSheet(QStringLiteral("QLineEdit { border: 2px solid #d01010; border-radius: 2px; padding: 0 2px; }"));
  setToolTip(reason);
  // Say it at once where the user is looking; the tool tip keeps it until the next change.
  if (isVisible()) QToolTip::showText(mapToGlobal(QPoint(0, height())), reason, this);
}

void TNumericEdit::ClearRefusal() {
  if (refusal_.isEmpty()) return;
  if (TRefusalLine* shown = RefusalLineOf(this); shown && shown->text() == refusalLine_) shown->clear();
  refusal_.clear();
  refusalLine_.clear();
  setStyleSheet(QString());
  setToolTip(ownToolTip_);
  QToolTip::hideText();
}

QString TNumericEdit::Shown() const {
  return showingPlain_ ? format_.Plain(value_, kInternalDecimals) : format_.Format(value_);
}

void TNumericEdit::ShowValue() { setText(Shown()); }

void TNumericEdit::changeEvent(QEvent* event) {
  // The desktop (or the dialog) switched its number conventions: show the value in the new ones.
  if (event->type() == QEvent::LocaleChange) {
    format_ = TNumberFormat(format_.Pattern(), locale());
    ShowValue();
  }
  QLineEdit::changeEvent(event);
}

void TNumericEdit::focusInEvent(QFocusEvent* event) {
  // The user came here to type: show the bare number. Focus that merely arrives with the
  // window keeps the formatted value until the first keystroke.
  const Qt::FocusReason reason = event->reason();
  const bool byUser = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                      reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
  if (byUser && !showingPlain_) {
    showingPlain_ = true;
    ShowValue();
  }
  QLineEdit::focusInEvent(event);
}

void TNumericEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A context menu takes the focus for a moment only: keep editing.
  if (event->reason() == Qt::PopupFocusReason) return;
  if (isModified()) commitText();
  showingPlain_ = false;
  ShowValue();
}

void TNumericEdit::keyPressEvent(QKeyEvent* event) {
  const bool typing = (!event->text().isEmpty() && event->text().front().isPrint()) ||
                      event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
  if (typing && !showingPlain_ && !isReadOnly()) {
    // First keystroke on the formatted value: it replaces the whole number.
    showingPlain_ = true;
    ShowValue();
    selectAll();
  }
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      // Enter takes the number; a refused one keeps the dialog open on this edit.
      const bool taken = commitText();
      QLineEdit::keyPressEvent(event);
      if (taken && enterPressesDefault_)
        event->ignore();  // the dialog presses its default button
      else
        event->accept();
      return;
    }
    case Qt::Key_Escape:
      if (isModified()) {  // first Escape undoes the typing; the next one reaches the dialog
        ShowValue();
        event->accept();
        return;
      }
      break;
    default:
      break;
  }
  QLineEdit::keyPressEvent(event);
}

bool CommitEdits(QWidget* dialog, std::initializer_list<TNumericEdit*> edits) {
  for (TNumericEdit* edit : edits) {
    if (edit->commitText()) continue;
    Prompts().Message(dialog, PromptIcon::Warning, QStringLiteral("Warning"), edit->refusal());
    edit->setFocus();
    return false;
  }
  return true;
}

}  // namespace kolma::ui

