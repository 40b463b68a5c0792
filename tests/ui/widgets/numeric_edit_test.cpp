#include "ui/widgets/numeric_edit.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace kolma::ui {
namespace {

// Tests name their desktop: a point-decimal one, and two that write decimal commas.
const QLocale kPoint = QLocale::c();
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kFrench(QLocale::French, QLocale::France);

struct FormatCase {
  const char* pattern;
  double value;
  const char* shown;
};

TEST(NumberFormat, ShowsValuesTheWayEachDialogFormatAsks) {
  const FormatCase cases[] = {
      {",0.000 m", 0.0, "0.000 m"},
      {",0.000 m", 10.0, "10.000 m"},
      {",0.000 m", 1234.5, "1,234.500 m"},
      {",0.000 m", -12.3456, "-12.346 m"},
      {",0.000 m", -0.0004, "0.000 m"},  // no "-0.000"
      {",0.000 m", 1234567.891, "1,234,567.891 m"},
      {",0.###", 3.0, "3"},
      {",0.###", 2.5, "2.5"},
      {",0.###", 1000.0, "1,000"},
      {",0.###", 0.00049, "0"},
      {",0.###", 999.9996, "1,000"},  // rounding carries into a new group
      {",0.### °C", -7.25, "-7.25 °C"},
      {",0.##### m² / h", 0.004, "0.004 m² / h"},
      {",0.##### m² / h", 0.0123456, "0.01235 m² / h"},
      {",0.# MPa", 20000.0, "20,000 MPa"},
      {",0.# MPa", 31234.56, "31,234.6 MPa"},
      {",0.#####", 0.19, "0.19"},
      {",0.###### / °C", 0.00001, "0.00001 / °C"},
      {",0.## hour(s)", 6.0, "6 hour(s)"},
      {",0.## hour(s)", 1.25, "1.25 hour(s)"},
      {",0.## hour(s)", 12.3456, "12.35 hour(s)"},
      {",0.### year(s)", 1.7123288, "1.712 year(s)"},
      {",0.### year(s)", 0.0, "0 year(s)"},
      {"0.00", 1234.5, "1234.50"},  // no grouping without ','
      {"#.##", 0.5, ".5"},
  };
  for (const FormatCase& c : cases)
    EXPECT_EQ(TNumberFormat(QString::fromUtf8(c.pattern), kPoint).Format(c.value), QString::fromUtf8(c.shown))
        << c.pattern << " " << c.value;
  // The pattern's ',' and '.' stand for the desktop's separators.
  EXPECT_EQ(TNumberFormat(QStringLiteral(",0.000 m"), kGerman).Format(-1234567.5), QStringLiteral("-1.234.567,500 m"));
  EXPECT_EQ(TNumberFormat(QStringLiteral(",0.##"), kGerman).Plain(-1234.5, 8), QStringLiteral("-1234,5"));
}

TEST(NumberFormat, ReadsBackWhatItShowsForEveryDialogFormat) {
  const char* patterns[] = {",0.000 m",      ",0.###",        ",0.### °C",      ",0.##### m² / h", ",0.# MPa",
                            ",0.#####",      ",0.###### / °C", ",0.## hour(s)", ",0.### year(s)"};
  const double values[] = {0.0, 1.0, -1.0, 0.5, 0.004, 0.00001, 12.3456789, -987.65432, 20000.0, 1234567.125, 1e-9};
  for (const QLocale& desktop : {kPoint, kGerman, kFrench}) {
    for (const char* pattern : patterns) {
      const TNumberFormat format(QString::fromUtf8(pattern), desktop);
      for (double v : values) {
        const QString shown = format.Format(v);
        const auto back = format.Parse(shown);
        ASSERT_TRUE(back.has_value()) << pattern << " " << shown.toStdString();
        // What comes back is the value rounded to the shown decimals...
        const double tolerance = 0.5 * std::pow(10.0, -format.MaxDecimals()) * (1 + 1e-9);
        EXPECT_NEAR(*back, v, tolerance) << pattern << " " << shown.toStdString();
        // ...and showing it again changes nothing.
        EXPECT_EQ(format.Format(*back), shown) << pattern;
        // The bare number shown while typing reads back exactly.
        EXPECT_EQ(format.Parse(format.Plain(v, 8)), RoundToDecimals(v, 8)) << pattern << " " << v;
      }
    }
  }
}

TEST(NumberFormat, ReadsNumbersTypedWithOrWithoutGroupingAndUnit) {
  const TNumberFormat metres(QStringLiteral(",0.000 m"), kPoint);
  EXPECT_EQ(metres.Parse(QStringLiteral("1,234.5 m")), 1234.5);
  EXPECT_EQ(metres.Parse(QStringLiteral("1234.5")), 1234.5);
  EXPECT_EQ(metres.Parse(QStringLiteral("  1234.5m ")), 1234.5);
  EXPECT_EQ(metres.Parse(QStringLiteral("-2.5e1 M")), -25.0);
  EXPECT_EQ(metres.Parse(QStringLiteral("+7")), 7.0);
  EXPECT_EQ(metres.Parse(QStringLiteral(".5")), 0.5);
  const TNumberFormat diffusivity(QString::fromUtf8(",0.##### m² / h"), kPoint);
  EXPECT_EQ(diffusivity.Parse(QString::fromUtf8("0.004 m² / h")), 0.004);
  EXPECT_EQ(diffusivity.Parse(QString::fromUtf8("0.004m² / h")), 0.004);

  for (const char* bad : {"", " m", "abc", "1.2.3", "1 2x", "inf", "nan", "--1", "0x10", "1e999", "2 km", "1 2"})
    EXPECT_FALSE(metres.Parse(QString::fromUtf8(bad)).has_value()) << bad;
}

struct TypedCase {
  const QLocale* desktop;
  const char* typed;
  std::optional<double> read;  // nullopt: refused
};

// A separator is a decimal separator only where the desktop says so, and grouping only
// where it groups the integer digits by three: nothing is read as another number.
TEST(NumberFormat, ReadsTheDesktopSeparatorsAndNothingElse) {
  const TypedCase cases[] = {
      {&kPoint, "0.004", 0.004},       {&kPoint, "0,004", std::nullopt},   {&kPoint, "0,2", std::nullopt},
      {&kPoint, "1,234.5", 1234.5},    {&kPoint, "-1,234,567", -1234567}, {&kPoint, "1,2345", std::nullopt},
      {&kPoint, "12,34", std::nullopt}, {&kPoint, "1234,567", std::nullopt}, {&kPoint, ",500", std::nullopt},
      {&kPoint, "1,234.5,6", std::nullopt},
      {&kGerman, "0,004", 0.004},      {&kGerman, "0,2", 0.2},             {&kGerman, "1.234,5", 1234.5},
      {&kGerman, "1.234", 1234},       {&kGerman, "0.004", std::nullopt},  {&kGerman, "2.5", std::nullopt},
      {&kGerman, "-2,5e1", -25},
      {&kFrench, "1 234,5", 1234.5},   {&kFrench, "1\u202f234,5", 1234.5} /* no-break */, {&kFrench, "0,5", 0.5},
      {&kFrench, "1 23", std::nullopt}, {&kFrench, "1.5", std::nullopt},
  };
  for (const TypedCase& c : cases) {
    EXPECT_EQ(TNumberFormat(QStringLiteral(",0.000 m"), *c.desktop).Parse(QString::fromUtf8(c.typed)), c.read)
        << c.desktop->name().toStdString() << " \"" << c.typed << "\"";
  }
}

TEST(NumberFormat, PlainWritingAndDecimalRounding) {
  EXPECT_EQ(PlainNumber(1234.5, 8), QStringLiteral("1234.5"));
  EXPECT_EQ(PlainNumber(-0.25, 8), QStringLiteral("-0.25"));
  EXPECT_EQ(PlainNumber(3.0, 8), QStringLiteral("3"));
  EXPECT_EQ(PlainNumber(1e-9, 8), QStringLiteral("0"));
  EXPECT_EQ(RoundToDecimals(1.123456789, 8), 1.12345679);
  EXPECT_EQ(RoundToDecimals(-1e-10, 8), 0.0);
  EXPECT_FALSE(std::signbit(RoundToDecimals(-1e-10, 8)));
  EXPECT_EQ(RoundToDecimals(1e300, 8), 1e300);
}

// The edit in a window of its own, named by its buddy label, on a point-decimal desktop.
class NumericEditTest : public ::testing::Test {
 protected:
  NumericEditTest() {
    window.setLocale(kPoint);
    label->setBuddy(&edit);
  }
  void Focus(QEvent::Type type) {
    QFocusEvent event(type, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&edit, &event);
  }
  void Key(int key, const QString& text = QString()) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&edit, &event);
  }
  // What a user does: focus the box, replace its text, leave it.
  void Type(const QString& text) {
    Focus(QEvent::FocusIn);
    edit.selectAll();
    edit.insert(text);
  }

  QWidget window;
  QLabel* label = new QLabel(QStringLiteral("Poisson's ratio ="), &window);
  TNumericEdit& edit = *new TNumericEdit(QStringLiteral(",0.## hour(s)"), &window);
  std::vector<double> changes;
};

TEST_F(NumericEditTest, ProgramValuesAreClampedToTheRangeAndKeepEightDecimals) {
  QObject::connect(&edit, &TNumericEdit::valueChanged, [this](double v) { changes.push_back(v); });
  edit.setRange(1, 24);
  EXPECT_EQ(edit.value(), 1.0);  // 0 was below the new range
  edit.setValue(30);
  EXPECT_EQ(edit.value(), 24.0);
  EXPECT_EQ(edit.text(), QStringLiteral("24 hour(s)"));
  edit.setValue(0.5);
  EXPECT_EQ(edit.value(), 1.0);
  edit.setValue(1.0);  // unchanged: no signal
  edit.setValue(6.123456789);
  EXPECT_EQ(edit.value(), 6.12345679);
  EXPECT_EQ(edit.text(), QStringLiteral("6.12 hour(s)"));
  edit.setValue(std::nan(""));  // refused
  EXPECT_EQ(edit.value(), 6.12345679);
  EXPECT_EQ(changes, (std::vector<double>{1.0, 24.0, 1.0, 6.12345679}));

  edit.clearRange();
  edit.setValue(-1e6);
  EXPECT_EQ(edit.text(), QStringLiteral("-1,000,000 hour(s)"));
}

TEST_F(NumericEditTest, TypedEntriesShowBareWhileEditingAndOutOfRangeOnesAreRefused) {
  edit.setRange(1, 24);
  edit.setValue(12.5);
  Focus(QEvent::FocusIn);
  EXPECT_EQ(edit.text(), QStringLiteral("12.5"));  // no unit while typing

  Type(QStringLiteral("30"));
  EXPECT_TRUE(edit.isModified());
  EXPECT_EQ(edit.value(), 12.5);  // read while typing: only an acceptable entry counts
  Focus(QEvent::FocusOut);
  EXPECT_EQ(edit.value(), 12.5);
  EXPECT_EQ(edit.text(), QStringLiteral("12.5 hour(s)"));
  EXPECT_EQ(edit.refusal(), QStringLiteral("30 is out of range: enter a value from 1 hour(s) to 24 hour(s)"));

  Type(QStringLiteral("1,000.5 hour(s)"));
  Key(Qt::Key_Return);
  EXPECT_EQ(edit.value(), 12.5);
  EXPECT_EQ(edit.text(), QStringLiteral("12.5"));  // still editing after Enter
  Focus(QEvent::FocusOut);

  Type(QStringLiteral("3.25"));
  Focus(QEvent::FocusOut);
  EXPECT_EQ(edit.value(), 3.25);
  EXPECT_EQ(edit.text(), QStringLiteral("3.25 hour(s)"));
  EXPECT_TRUE(edit.refusal().isEmpty());
}

struct EntryCase {
  const QLocale* desktop;
  const char* typed;
  double value;         // after Enter
  const char* refusal;  // empty: accepted
};

// "0,2" for Poisson's ratio is 0.2 where the comma is the decimal separator and no number
// elsewhere; it is never read as 2 and clamped to 0.5.
TEST_F(NumericEditTest, EntriesAreReadTheDesktopWayOrRefusedVisiblyUntilTheNextChange) {
  edit.setDisplayFormat(QStringLiteral(",0.#####"));
  edit.setRange(0, 0.5);
  const EntryCase cases[] = {
      {&kPoint, "0,2", 0.19, "\"0,2\" is not a number; write numbers like 1,234.5"},
      {&kPoint, "-0.1", 0.19, "-0.1 is out of range: enter a value from 0 to 0.5"},
      {&kGerman, "0,2", 0.2, ""},
      {&kGerman, "0,7", 0.19, "0,7 is out of range: enter a value from 0 to 0,5"},
  };
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(c.desktop->name().toStdString() + " " + c.typed);
    edit.setValue(0.19);
    window.setLocale(*c.desktop);
    EXPECT_EQ(edit.text(), QStringLiteral("0") + c.desktop->decimalPoint() + QStringLiteral("19"));
    Type(QString::fromUtf8(c.typed));
    Key(Qt::Key_Return);
    const bool refused = *c.refusal != 0;
    EXPECT_EQ(edit.value(), c.value);
    EXPECT_EQ(edit.refusal(), QString::fromUtf8(c.refusal));
    EXPECT_EQ(edit.commitText(), !refused);
    EXPECT_EQ(edit.toolTip(), edit.refusal());
    const QColor frame = edit.grab().toImage().pixelColor(0, edit.height() / 2);  // the red frame
    EXPECT_EQ(frame.red() > 2 * frame.green(), refused) << frame.name().toStdString();
    // The mark changes nothing of how the edit is named: still by its label.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&edit)->text(QAccessible::Name), label->text());
    edit.insert(QStringLiteral("1"));  // the next change lifts the mark
    EXPECT_TRUE(edit.refusal().isEmpty());
    EXPECT_TRUE(edit.toolTip().isEmpty());
    Focus(QEvent::FocusOut);
  }
}

TEST_F(NumericEditTest, TextThatIsNoNumberIsRefusedAndEscapeUndoesTyping) {
  edit.setValue(7);
  Type(QStringLiteral("seven"));
  EXPECT_EQ(edit.value(), 7.0);
  Focus(QEvent::FocusOut);
  EXPECT_EQ(edit.value(), 7.0);
  EXPECT_EQ(edit.text(), QStringLiteral("7 hour(s)"));

  Type(QStringLiteral("9"));
  Key(Qt::Key_Escape);
  EXPECT_FALSE(edit.isModified());
  Focus(QEvent::FocusOut);
  EXPECT_EQ(edit.value(), 7.0);
}

TEST_F(NumericEditTest, FocusComingWithTheWindowKeepsTheFormatUntilTheFirstKeystroke) {
  edit.setValue(12);
  QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QCoreApplication::sendEvent(&edit, &in);
  EXPECT_EQ(edit.text(), QStringLiteral("12 hour(s)"));
  Key(Qt::Key_Right);  // moving the cursor is no typing
  EXPECT_EQ(edit.text(), QStringLiteral("12 hour(s)"));
  Key(Qt::Key_7, QStringLiteral("7"));
  EXPECT_EQ(edit.text(), QStringLiteral("7"));
  Focus(QEvent::FocusOut);
  EXPECT_EQ(edit.value(), 7.0);
}

TEST_F(NumericEditTest, ChangingTheFormatRedrawsTheValue) {
  edit.setValue(1.7123288);
  edit.setDisplayFormat(QStringLiteral(",0.### year(s)"));
  EXPECT_EQ(edit.text(), QStringLiteral("1.712 year(s)"));
  EXPECT_EQ(edit.value(), 1.7123288);  // the display rounds, the value does not
}

}  // namespace
}  // namespace kolma::ui
