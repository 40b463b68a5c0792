#include "ui/widgets/numeric_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace kolma::ui {
namespace {

constexpr QChar kGroupSeparator = u',';
constexpr QChar kDecimalPoint = u'.';

bool IsPatternChar(QChar c) { return c == u',' || c == u'0' || c == u'#' || c == u'.'; }

// Fixed-point writing of `value` with exactly `decimals` decimals, independent of the locale.
std::string FixedText(double value, int decimals) {
  // The largest double has 309 integer digits; sign, point and decimals add the rest.
  std::array<char, 400> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
  return std::string(buffer.data(), result.ptr);
}

QString GroupThousands(const QString& digits) {
  QString grouped;
  const int n = static_cast<int>(digits.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) grouped += kGroupSeparator;
    grouped += digits[i];
  }
  return grouped;
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

TNumberFormat::TNumberFormat(const QString& pattern) : pattern_(pattern) {
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
  text += grouping_ ? GroupThousands(integerDigits) : integerDigits;
  if (!decimals.isEmpty()) text += kDecimalPoint + decimals;
  return text + suffix_;
}

std::optional<double> TNumberFormat::Parse(const QString& text) const {
  QString t = text.trimmed();
  const QString prefix = prefix_.trimmed();
  const QString suffix = suffix_.trimmed();
  if (!prefix.isEmpty() && t.startsWith(prefix, Qt::CaseInsensitive)) t = t.mid(prefix.size());
  if (!suffix.isEmpty() && t.endsWith(suffix, Qt::CaseInsensitive)) t.chop(suffix.size());

  std::string digits;
  for (QChar c : t) {
    if (c == kGroupSeparator || c.isSpace()) continue;
    const char16_t u = c.unicode();
    const bool allowed = (u >= u'0' && u <= u'9') || u == u'.' || u == u'-' || u == u'+' || u == u'e' || u == u'E';
    if (!allowed) return std::nullopt;
    digits += static_cast<char>(u);
  }
  // from_chars takes no leading '+'.
  if (!digits.empty() && digits.front() == '+') digits.erase(0, 1);
  if (digits.empty()) return std::nullopt;
  double value = 0.0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (result.ec != std::errc() || result.ptr != digits.data() + digits.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

TNumericEdit::TNumericEdit(QWidget* parent) : TNumericEdit(QStringLiteral(",0.########"), parent) {}

TNumericEdit::TNumericEdit(const QString& displayFormat, QWidget* parent) : QLineEdit(parent), format_(displayFormat) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  ShowValue();
}

void TNumericEdit::setDisplayFormat(const QString& pattern) {
  format_ = TNumberFormat(pattern);
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

double TNumericEdit::value() const {
  if (Editing()) {
    if (const auto typed = format_.Parse(text())) return Clamp(RoundToDecimals(*typed, kInternalDecimals));
  }
  return value_;
}

void TNumericEdit::setValue(double value) {
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

void TNumericEdit::commitText() {
  if (const auto typed = format_.Parse(text())) {
    setValue(*typed);
  } else {
    ShowValue();  // refused: the previous value comes back
  }
}

void TNumericEdit::ShowValue() {
  setText(showingPlain_ ? PlainNumber(value_, kInternalDecimals) : format_.Format(value_));
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
    case Qt::Key_Enter:
      if (isModified()) commitText();
      break;
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

}  // namespace kolma::ui
