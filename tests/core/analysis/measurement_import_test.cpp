#include "core/analysis/measurement_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kolma {
namespace {

std::vector<double> Values(const ImportResult& r) {
  return std::vector<double>(r.values.Data(), r.values.Data() + r.values.NrOfElem());
}

ImportResult Import(const std::string& text, ImportChoices choices = {}) {
  return ImportMeasurements(ParseMeasurements(text), choices);
}

// Every accepted form of time, separator, decimal mark, line end and quoting: each file
// holds readings 10, 12, 11 an hour apart, so the import gives them back at a 1 h step.
TEST(MeasurementImport, ReadsEveryAcceptedForm) {
  struct Case {
    const char* name;
    std::string text;
    char separator;
    bool decimalComma;
    int headerLine;
    MeasurementTimeKind kind;
    DateTimeForm form;
    DayMonthOrder order;
    const char* first;
    const char* last;
  };
  const auto DT = MeasurementTimeKind::DateTime;
  const auto U = DayMonthOrder::Unknown;
  const std::vector<Case> cases = {
      {"ISO with T, comma, header, LF", "time,temp\n2026-03-01T14:00,10\n2026-03-01T15:00:00.0Z,12.0\n2026-03-01T16:00,11\n",
       ',', false, 1, DT, DateTimeForm::IsoT, U, "2026-03-01 14:00", "2026-03-01 16:00"},
      {"ISO with a space, semicolon, decimal comma, CR LF, no header",
       "2026-03-01 14:00;10,0\r\n2026-03-01 15:00;12,0\r\n2026-03-01 16:00;11,0\r\n", ';', true, 0, DT,
       DateTimeForm::IsoSpace, U, "2026-03-01 14:00", "2026-03-01 16:00"},
      {"ISO with seconds, tab, across a leap day",
       "Date\tT\n2028-02-28 23:00:00\t10\n2028-02-29 00:00:00\t12\n2028-02-29 01:00:00\t11\n", '\t', false, 1, DT,
       DateTimeForm::IsoSpace, U, "2028-02-28 23:00", "2028-02-29 01:00"},
      {"slashed, a day above 12 tells day first", "13/03/2026 14:00,10\n13/03/2026 15:00,12\n13/03/2026 16:00,11\n",
       ',', false, 0, DT, DateTimeForm::Slashed, DayMonthOrder::DayFirst, "2026-03-13 14:00", "2026-03-13 16:00"},
      {"slashed, a month above 12 tells month first, seconds",
       "When;Value\n03/13/2026 14:00:00;10\n03/13/2026 15:00:00;12\n03/13/2026 16:00:00;11\n", ';', false, 1, DT,
       DateTimeForm::Slashed, DayMonthOrder::MonthFirst, "2026-03-13 14:00", "2026-03-13 16:00"},
      {"elapsed hours, quoted fields holding the separator",
       "\"Hours\",\"Temp, C\"\n\"0\",\"10,0\"\n\"1\",\"12,0\"\n\"2\",\"11,0\"\n", ',', true, 1,
       MeasurementTimeKind::ElapsedHours, DateTimeForm::IsoT, U, "0 h", "2 h"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MeasurementTable table = ParseMeasurements(c.text);
    ASSERT_TRUE(table.ok()) << table.error;
    EXPECT_EQ(table.separator, c.separator);
    EXPECT_EQ(table.decimalComma, c.decimalComma);
    EXPECT_EQ(table.headerLine, c.headerLine);
    EXPECT_EQ(table.timeColumn, 0);
    EXPECT_EQ(table.timeKind, c.kind);
    if (c.kind == DT) {
      EXPECT_EQ(table.dateForm, c.form);
    }
    EXPECT_EQ(table.detectedOrder, c.order);
    EXPECT_FALSE(table.dayMonthAmbiguous);
    EXPECT_EQ(table.proposedColumn, 1);
    const ImportResult r = ImportMeasurements(table, {});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.firstTime, c.first);
    EXPECT_EQ(r.lastTime, c.last);
    EXPECT_EQ(r.readings, 3);
    EXPECT_TRUE(r.refused.empty());
    EXPECT_DOUBLE_EQ(r.timeStep, 1.0);
    EXPECT_EQ(Values(r), (std::vector<double>{10, 12, 11}));
  }
}

TEST(MeasurementImport, AsksTheDayMonthOrderOnlyWhenTheDatesDoNotTell) {
  const MeasurementTable table = ParseMeasurements("01/03/2026 00:00,1\n01/03/2026 06:00,2\n02/03/2026 00:00,3\n");
  ASSERT_TRUE(table.ok());
  EXPECT_TRUE(table.dayMonthAmbiguous);
  EXPECT_EQ(ImportMeasurements(table, {}).refusal, ImportRefusal::OrderNeeded);
  ImportChoices choices;
  choices.order = DayMonthOrder::DayFirst;
  choices.maxGapHours = 100;
  ImportResult r = ImportMeasurements(table, choices);
  EXPECT_EQ(r.firstTime, "2026-03-01 00:00");
  EXPECT_EQ(r.lastTime, "2026-03-02 00:00");
  choices.order = DayMonthOrder::MonthFirst;
  choices.maxGapHours = 24 * 40;
  r = ImportMeasurements(table, choices);
  EXPECT_EQ(r.lastTime, "2026-02-03 00:00");
  EXPECT_DOUBLE_EQ(r.spanHours, 31 * 24);
}

// Times out of order, duplicates, unreadable lines and a column with text: every refused
// reading is listed with its line and reason, and the rest is imported.
TEST(MeasurementImport, RefusesReadingsVisiblyAndGoesOn) {
  const std::string text =
      "time;temp;state;humidity\n"      // 1
      "2026-03-01 00:00;10;ok;50\n"     // 2
      "2026-03-01 01:00;11;ok;51\n"     // 3
      "2026-03-01 01:00;15;ok;52\n"     // 4 duplicate time
      "2026-03-01 00:30;99;ok;53\n"     // 5 went back in time
      "2026-03-01 02:00;NaN;err;54\n"   // 6 no reading
      "2026-13-01 02:30;12;ok;55\n"     // 7 no such month
      "\n"                              // 8 blank: ignored
      "2026-03-01 09:00;99;ok;56\n"     // 9 a clock that jumped ahead
      "2026-03-01 03:00;13;ok;57\n"     // 10
      "2026-03-01 04:00;14;ok;58\n";    // 11
  const MeasurementTable table = ParseMeasurements(text);
  ASSERT_TRUE(table.ok());
  EXPECT_FALSE(table.columns[2].numeric);
  EXPECT_EQ(table.columns[3].title, "humidity");
  EXPECT_EQ(table.proposedColumn, -1) << "two numeric columns: the user chooses";
  EXPECT_EQ(ImportMeasurements(table, {}).refusal, ImportRefusal::ColumnNeeded);
  for (const int notReadings : {0, 2, 4}) {
    ImportChoices choices;
    choices.column = notReadings;
    EXPECT_EQ(ImportMeasurements(table, choices).refusal, ImportRefusal::ColumnNotNumeric) << notReadings;
  }

  ImportChoices choices;
  choices.column = 1;
  const ImportResult r = ImportMeasurements(table, choices);
  ASSERT_TRUE(r.ok()) << r.error;
  const std::vector<std::pair<int, ReadingRefusal>> refused = {{4, ReadingRefusal::Duplicate},
                                                               {5, ReadingRefusal::OutOfOrder},
                                                               {6, ReadingRefusal::Unparsable},
                                                               {7, ReadingRefusal::Unparsable},
                                                               {9, ReadingRefusal::OutOfOrder}};
  ASSERT_EQ(r.refused.size(), refused.size());
  for (std::size_t i = 0; i < refused.size(); ++i) {
    EXPECT_EQ(r.refused[i].line, refused[i].first);
    EXPECT_EQ(r.refused[i].reason, refused[i].second);
  }
  EXPECT_EQ(r.readings, 4);
  EXPECT_DOUBLE_EQ(r.timeStep, 1.0) << "median of 1, 2 and 1 h";
  EXPECT_EQ(Values(r), (std::vector<double>{10, 11, 12, 13, 14}));

  // A first line with a bad value is a reading refused, not a header.
  const MeasurementTable noHeader = ParseMeasurements("2026-03-01 00:00,ERR\n2026-03-01 01:00,1\n2026-03-01 02:00,2\n");
  EXPECT_EQ(noHeader.headerLine, 0);
  const ImportResult first = ImportMeasurements(noHeader, {});
  ASSERT_EQ(first.refused.size(), 1u);
  EXPECT_EQ(first.refused[0].line, 1);

  // Newest first, as some databases export: read backwards, nothing refused.
  const ImportResult backwards = Import("t,T\n3,13\n2,12\n1,11\n0,10\n");
  ASSERT_TRUE(backwards.ok());
  EXPECT_TRUE(backwards.newestFirst);
  EXPECT_TRUE(backwards.refused.empty());
  EXPECT_EQ(Values(backwards), (std::vector<double>{10, 11, 12, 13}));
}

// Uneven readings with a long gap: proposed step, the gap listed and refused unless
// bridged, and samples checked against interpolation worked out by hand.
TEST(MeasurementImport, ResamplesLinearlyAndBridgesLongGapsOnlyWhenAccepted) {
  const MeasurementTable table = ParseMeasurements("h\tT\n0\t10\n0.5\t11\n1.25\t14\n9.25\t6\n10\t7\n");
  ImportChoices choices;
  choices.maxGapHours = 6;
  ImportResult r = ImportMeasurements(table, choices);
  EXPECT_EQ(r.refusal, ImportRefusal::LongGap);
  EXPECT_EQ(r.error, "A gap of 8 h from 1.25 h to 9.25 h is longer than the limit of 6 h");
  ASSERT_EQ(r.longGaps.size(), 1u);
  EXPECT_EQ(r.longGaps[0].start, "1.25 h");
  EXPECT_DOUBLE_EQ(r.longGaps[0].Hours(), 8);
  EXPECT_DOUBLE_EQ(r.proposedStepHours, 0.75) << "intervals 0.5, 0.75, 8, 0.75";
  EXPECT_EQ(r.values.NrOfElem(), 1) << "nothing to take";

  choices.bridgeLongGaps = true;
  choices.stepHours = 0.5;
  r = ImportMeasurements(table, choices);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_DOUBLE_EQ(r.bridgedHours, 8);
  ASSERT_EQ(r.values.NrOfElem(), 21);
  // t = 1: between (0.5, 11) and (1.25, 14); t = 5.25: halfway across the gap; t = 9.5:
  // a third of the way from (9.25, 6) to (10, 7).
  const std::vector<std::pair<int, double>> samples = {{1, 10}, {2, 11}, {3, 13}, {11, 10.25}, {20, 6 + 1.0 / 3}, {21, 7}};
  for (const auto& [i, expected] : samples) EXPECT_NEAR(r.values.Element(i), expected, 1e-12) << i;

  choices.stepHours = 0.3;  // the record's end falls between samples: the last one is at 9.9 h
  r = ImportMeasurements(table, choices);
  ASSERT_EQ(r.values.NrOfElem(), 34);
  EXPECT_NEAR(r.values.Element(34), 6 + 0.65 / 0.75, 1e-12);
}

TEST(MeasurementImport, RefusesWhatCannotBecomeAHistory) {
  struct Case {
    const char* name;
    std::string text;
    double step;
    ImportRefusal refusal;
  };
  const std::vector<Case> cases = {
      {"one column", "2026-03-01 00:00\n2026-03-01 01:00\n", 0, ImportRefusal::NoTable},
      {"text only", "a,b\nc,d\n", 0, ImportRefusal::NoTable},
      {"header only", "time,temp\n", 0, ImportRefusal::NoTable},
      {"one reading", "time,temp\n2026-03-01 00:00,1\n", 0, ImportRefusal::TooFewReadings},
      {"step longer than the record", "0,1\n1,2\n", 2, ImportRefusal::BadStep},
      {"too many samples", "0,1\n100000,2\n", 0.001, ImportRefusal::TooManySamples},
      {"times beyond any reading's magnitude", "-1e308,1\n1e308,2\n", 0, ImportRefusal::NoTable},
      {"readings beyond any magnitude", "t,T\n2026-03-01 00:00,-1e308\n2026-03-01 01:00,1e308\n", 0,
       ImportRefusal::NoTable},
      {"a date without its time on most lines", "Date,T\n2026-03-01,1\n2026-03-01,2\n2026-03-01,3\n2026-03-02,4\n",
       0, ImportRefusal::BadStep},
  };
  for (const Case& c : cases) {
    ImportChoices choices;
    choices.stepHours = c.step;
    choices.maxGapHours = 1e9;
    const ImportResult r = Import(c.text, choices);
    EXPECT_EQ(r.refusal, c.refusal) << c.name << ": " << r.error;
    EXPECT_FALSE(r.error.empty()) << c.name;
  }
  EXPECT_NE(Import("Date,T\n2026-03-01,1\n2026-03-01,2\n2026-03-01,3\n2026-03-02,4\n").error.find(
                "readings at the same time"),
            std::string::npos);
  const MeasurementTable directory = ReadMeasurementFile(std::filesystem::temp_directory_path());
  EXPECT_EQ(directory.status, MeasurementTableStatus::ReadFailed);
  EXPECT_FALSE(directory.error.empty());
}

// The time column runs one way; a counter of lines is taken for hours only when nothing
// else can be the time, and the user's choice of the column overrides what was found.
TEST(MeasurementImport, TimeColumnIsOneThatRunsOneWayOrTheOneTheUserNames) {
  struct Case {
    const char* name;
    std::string text;
    int forced;
    int timeColumn, timeOfDay, proposed;
    MeasurementTimeKind kind;
    bool runningNumber;
    double step;
  };
  const auto H = MeasurementTimeKind::ElapsedHours;
  const auto DT = MeasurementTimeKind::DateTime;
  const std::string counted = "Nr;T;Stunden\n1;12,5;0\n2;11,5;0,5\n3;13,5;1,5\n4;12,0;2\n5;12,5;2,5\n";
  const std::string twoColumns = "Datum;Uhrzeit;T\n1.6.2024;23:00;1\n1.6.2024;23:30;2\n2.6.2024;0:00;3\n";
  const std::vector<Case> cases = {
      {"a counter beside hours", counted, -1, 2, -1, 1, H, false, 0.5},
      {"a counter named by the user", counted, 0, 0, -1, -1, H, false, 1},
      {"a counter alone", "No,T\n1,12.5\n2,11.5\n3,13.5\n", -1, 0, -1, 1, H, true, 1},
      {"temperatures before the hours", "T,h\n12.5,0\n11.5,2\n13.5,4\n", -1, 1, -1, 0, H, false, 2},
      {"date and time columns found", twoColumns, -1, 0, 1, 2, DT, false, 0.5},
      {"the time of day named", twoColumns, 1, 0, 1, 2, DT, false, 0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MeasurementTable table = ParseMeasurements(c.text, c.forced);
    ASSERT_TRUE(table.ok()) << table.error;
    EXPECT_EQ(table.timeColumn, c.timeColumn);
    EXPECT_EQ(table.timeOfDayColumn, c.timeOfDay);
    EXPECT_EQ(table.proposedColumn, c.proposed);
    EXPECT_EQ(table.timeKind, c.kind);
    EXPECT_EQ(table.runningNumber, c.runningNumber);
    ImportChoices choices;
    choices.column = c.proposed < 0 ? 1 : -1;  // "T" when two columns of numbers are left
    const ImportResult r = ImportMeasurements(table, choices);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_DOUBLE_EQ(r.timeStep, c.step);
  }
  EXPECT_FALSE(ParseMeasurements("Date,Place,T\n2026-03-01 00:00,A,1\n2026-03-01 01:00,B,2\n", 1).ok());
  EXPECT_FALSE(ParseMeasurements("Date,T\n2026-03-01 00:00,1\n2026-03-01 01:00,2\n", 5).ok());
}

// A logger on local time writes the autumn's repeated hour after the first: read on one
// time line when the step tells it, as duplicates when the user states a fixed zone.
TEST(MeasurementImport, RepeatedAutumnHourIsTheClockGoingBackUnlessTheZoneIsStated) {
  std::string text = "Zeit;T\n";
  const char* clock[] = {"01:40", "01:50", "02:00", "02:20", "02:40", "02:00", "02:20", "02:40", "03:00", "03:20"};
  for (int i = 0; i < 10; ++i) text += std::string("2025-10-26 ") + clock[i] + ";" + std::to_string(i) + "\n";
  // A month later the clock goes forward again (a step plus an hour), and is followed back.
  text += "2025-11-30 01:00;10\n2025-11-30 01:20;11\n2025-11-30 02:40;12\n2025-11-30 03:00;13\n";
  const MeasurementTable table = ParseMeasurements(text);
  ImportChoices choices;
  choices.maxGapHours = 1000;
  choices.stepHours = 1.0 / 3;
  ImportResult r = ImportMeasurements(table, choices);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_TRUE(r.refused.empty());
  EXPECT_EQ(r.clockBack, std::vector<std::string>{"2025-10-26 02:00"});
  EXPECT_EQ(r.clockForward, std::vector<std::string>{"2025-11-30 02:40"});
  EXPECT_EQ(r.lastTime, "2025-11-30 03:00");
  EXPECT_DOUBLE_EQ(r.values.Element(5), 5.0) << "02:00 the second time, one step after 02:40";
  EXPECT_NEAR(r.spanHours, 35 * 24 + 1 + 1.0 / 3, 1e-9);

  choices.utcOffsetHours = 1;
  r = ImportMeasurements(table, choices);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_TRUE(r.clockBack.empty());
  ASSERT_EQ(r.refused.size(), 3u);
  EXPECT_EQ(r.refused[0].reason, ReadingRefusal::Duplicate);
  EXPECT_EQ(r.firstTime, "2025-10-26 01:40 +01:00");
}

// More than a tenth of the readings refused (and more than one) must be confirmed; the
// magnitude limit refuses readings no analysis would take.
TEST(MeasurementImport, ManyRefusedReadingsAreFlagged) {
  struct Case {
    const char* name;
    std::string rows;
    bool many;
  };
  const std::vector<Case> cases = {
      {"one of five", "0,1\n1,x\n2,3\n3,4\n4,5\n", false},
      {"two of twenty", "0,1\n1,x\n2,3\n3,4\n4,5\n5,1\n6,x\n7,3\n8,4\n9,5\n"
                        "10,1\n11,2\n12,3\n13,4\n14,5\n15,1\n16,2\n17,3\n18,4\n19,5\n", false},
      {"two of ten, one beyond the magnitude", "0,1\n1,x\n2,3\n3,4\n4,5\n5,1\n6,2e15\n7,3\n8,4\n9,-1e15\n", true},
  };
  for (const Case& c : cases) {
    const ImportResult r = Import("h,T\n" + c.rows);
    ASSERT_TRUE(r.ok()) << c.name << ": " << r.error;
    EXPECT_EQ(r.ManyRefused(), c.many) << c.name;
  }
  EXPECT_EQ(Import("h,T\n" + cases[2].rows).ManyRefusedText(), "2 of the 10 readings were refused");
}

// A few wide lines must not make every line as wide: the cells follow the file's fields.
TEST(MeasurementImport, MemoryFollowsTheFileNotItsWidestLine) {
  std::string text;
  for (int i = 0; i < 101; ++i) text += std::to_string(i) + "," + std::to_string(i % 7) + std::string(998, ',') + "\n";
  for (int i = 101; i < 20000; ++i) text += i % 2 ? std::to_string(i) + "\n" : std::to_string(i) + ",1\n";
  const MeasurementTable table = ParseMeasurements(text);
  ASSERT_TRUE(table.ok()) << table.error;
  EXPECT_EQ(table.columns.size(), 1000u);
  EXPECT_LT(table.cells.size(), 101u * 1000 + 2 * 20000);
  EXPECT_EQ(table.shortLines.size(), 9950u);
  const ImportResult r = ImportMeasurements(table, {});
  EXPECT_EQ(r.refused.size(), 9950u);
}

}  // namespace
}  // namespace kolma
