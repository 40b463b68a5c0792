#pragma once
// A line edit for one real number with a display format such as ",0.000 m" or
// ",0.## hour(s)": it shows the formatted value while the user is not typing, the bare
// number while they are, keeps 8 decimals internally and holds the value within its range.
// Numbers are shown and read with the desktop's decimal and group separators.
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QString>
#include <initializer_list>
#include <optional>

namespace kolma::ui {

// A display format: an optional literal prefix, a number pattern made of ',' (group
// thousands), '0' (a digit always shown) and '#' (a digit shown when not zero) around an
// optional '.', then a literal suffix (usually a unit). In the pattern ',' and '.' only stand
// for the group and decimal separators of the locale: with a point-decimal locale ",0.###"
// shows 1234.5 as "1,234.5" and ",0.000 m" as "1,234.500 m"; a German one shows "1.234,5".
class TNumberFormat {
 public:
  TNumberFormat() = default;
  explicit TNumberFormat(const QString& pattern, const QLocale& locale = QLocale());

  QString Pattern() const { return pattern_; }
  int MinDecimals() const { return minDecimals_; }
  int MaxDecimals() const { return maxDecimals_; }
  QString Suffix() const { return suffix_; }
  QString DecimalSeparator() const { return decimal_; }

  // The value as the format shows it, rounded to MaxDecimals().
  QString Format(double value) const;
  // The bare number with at most `decimals` decimals, with the locale's decimal separator.
  QString Plain(double value, int decimals) const;
  // How a number is written here, for messages: "1,234.5".
  QString Example() const;
  // The number in `text`, with or without the prefix and the suffix. The decimal separator
  // is the locale's; group separators are taken only where they group the integer digits
  // by three ("1,234.5", not "0,004" nor "1,5"). nullopt for anything else.
  std::optional<double> Parse(const QString& text) const;

 private:
  bool IsGroupSeparatorAt(const QString& text, int at, int* length) const;

  QString pattern_;
  QString prefix_;
  QString suffix_;
  QString decimal_ = QStringLiteral(".");
  QString group_ = QStringLiteral(",");
  bool grouping_ = false;
  int minIntegerDigits_ = 1;
  int minDecimals_ = 0;
  int maxDecimals_ = 0;
};

// `value` rounded to `decimals` decimal places in decimal (not binary) terms.
double RoundToDecimals(double value, int decimals);
// The shortest plain writing of `value` with at most `decimals` decimals, with a point:
// "1234.5", "-0.25".
QString PlainNumber(double value, int decimals);

// Values set by the program are clamped into the range. What the user types is never
// changed behind their back: text that is no number here, or a number outside the range,
// is refused. The previous value comes back and the edit is marked (red frame, tool tip
// with the reason) until the next change.
class TNumericEdit : public QLineEdit {
  Q_OBJECT
 public:
  static constexpr int kInternalDecimals = 8;

  explicit TNumericEdit(QWidget* parent = nullptr);
  TNumericEdit(const QString& displayFormat, QWidget* parent = nullptr);

  void setDisplayFormat(const QString& pattern);
  QString displayFormat() const { return format_.Pattern(); }
  const TNumberFormat& numberFormat() const { return format_; }

  // Program values are clamped into [minimum, maximum] from now on and typed values outside
  // it are refused; clearRange() lifts it.
  void setRange(double minimum, double maximum);
  void clearRange();
  bool hasRange() const { return hasRange_; }
  double minimum() const { return minimum_; }
  double maximum() const { return maximum_; }

  // While the user is typing, the value their text stands for when it is acceptable;
  // otherwise the stored value. So a dialog that reads it on OK never misses the last
  // keystrokes.
  double value() const;
  void setValue(double value);

  // Takes the typed text as the value, or refuses it, and shows the value again. Returns
  // false while the edit is marked with a refused entry, so that a dialog can hold its OK.
  bool commitText();
  // Why the last typed entry was refused; empty when the edit is not marked.
  QString refusal() const { return refusal_; }
  // The same, as the dialog's refusal line shows it, naming the field by its label:
  // "Analysis time step must be from 1 to 24 hour(s)".
  QString refusalLine() const { return refusalLine_; }

  // Enter takes the typed value. Switched on by dialogs whose default button is their OK,
  // Enter then goes on to press it, unless the entry was refused; off (the start), Enter
  // only takes the value, for dialogs whose default button is a Close or a recompute.
  void setEnterPressesDefault(bool presses) { enterPressesDefault_ = presses; }

 signals:
  void valueChanged(double value);

 protected:
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  double Clamp(double value) const;
  // The value `text` stands for, or nullopt with the reason of the refusal.
  std::optional<double> Accepted(const QString& text, QString* reason, QString* line = nullptr) const;
  QString Bound(double value) const;
  QString Shown() const;
  void ShowValue();
  bool Editing() const;
  void Refuse(const QString& reason, const QString& line);
  QString FieldCaption() const;
  void ClearRefusal();

  TNumberFormat format_;
  double value_ = 0.0;
  bool hasRange_ = false;
  double minimum_ = 0.0;
  double maximum_ = 0.0;
  bool showingPlain_ = false;
  QString refusal_;
  QString refusalLine_;
  bool enterPressesDefault_ = false;
  QString ownToolTip_;
};

// A line of a dialog, empty until one of the dialog's numeric edits refuses an entry: it
// then says why, where the user looks, until that edit takes a value again.
class TRefusalLine : public QLabel {
  Q_OBJECT
 public:
  explicit TRefusalLine(QWidget* parent = nullptr);
};

// What a dialog's OK does first: takes what was typed in each edit. At the first edit that
// holds a refused entry it warns with the reason, gives that edit the focus and returns
// false, so the dialog stays open instead of going on with the previous value.
bool CommitEdits(QWidget* dialog, std::initializer_list<TNumericEdit*> edits);

}  // namespace kolma::ui
