#pragma once
// A line edit for one real number with a display format such as ",0.000 m" or
// ",0.## hour(s)": it shows the formatted value while the user is not typing, the bare
// number while they are, keeps 8 decimals internally and holds the value within its range.
#include <QLineEdit>
#include <QString>
#include <optional>

namespace kolma::ui {

// A display format: an optional literal prefix, a number pattern made of ',' (group
// thousands), '0' (a digit always shown) and '#' (a digit shown when not zero) around an
// optional '.', then a literal suffix (usually a unit). ",0.###" shows 1234.5 as
// "1,234.5"; ",0.000 m" shows it as "1,234.500 m". The separators are always ',' and '.'.
class TNumberFormat {
 public:
  TNumberFormat() = default;
  explicit TNumberFormat(const QString& pattern);

  QString Pattern() const { return pattern_; }
  int MinDecimals() const { return minDecimals_; }
  int MaxDecimals() const { return maxDecimals_; }
  QString Suffix() const { return suffix_; }

  // The value as the format shows it, rounded to MaxDecimals().
  QString Format(double value) const;
  // The number in `text`, written with or without the grouping commas, the prefix and the
  // suffix; nullopt when it is not a finite number.
  std::optional<double> Parse(const QString& text) const;

 private:
  QString pattern_;
  QString prefix_;
  QString suffix_;
  bool grouping_ = false;
  int minIntegerDigits_ = 1;
  int minDecimals_ = 0;
  int maxDecimals_ = 0;
};

// `value` rounded to `decimals` decimal places in decimal (not binary) terms.
double RoundToDecimals(double value, int decimals);
// The shortest plain writing of `value` with at most `decimals` decimals: "1234.5", "-0.25".
QString PlainNumber(double value, int decimals);

// Entries outside the range are clamped to the nearest bound (both when typed and when set
// by the program); text that is no number at all is refused and the previous value shown
// again.
class TNumericEdit : public QLineEdit {
  Q_OBJECT
 public:
  static constexpr int kInternalDecimals = 8;

  explicit TNumericEdit(QWidget* parent = nullptr);
  TNumericEdit(const QString& displayFormat, QWidget* parent = nullptr);

  void setDisplayFormat(const QString& pattern);
  QString displayFormat() const { return format_.Pattern(); }
  const TNumberFormat& numberFormat() const { return format_; }

  // The value is clamped into [minimum, maximum] from now on; clearRange() lifts it.
  void setRange(double minimum, double maximum);
  void clearRange();
  bool hasRange() const { return hasRange_; }
  double minimum() const { return minimum_; }
  double maximum() const { return maximum_; }

  // While the user is typing, the value their text stands for (clamped); otherwise the
  // stored value. So a dialog that reads it on OK never misses the last keystrokes.
  double value() const;
  void setValue(double value);

  // Takes the typed text as the value (or refuses it) and shows it formatted again.
  void commitText();

 signals:
  void valueChanged(double value);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  double Clamp(double value) const;
  void ShowValue();
  bool Editing() const;

  TNumberFormat format_;
  double value_ = 0.0;
  bool hasRange_ = false;
  double minimum_ = 0.0;
  double maximum_ = 0.0;
  bool showingPlain_ = false;
};

}  // namespace kolma::ui
