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
      {"a span beyond any number", "-1e308,1\n1e308,2\n", 0, ImportRefusal::TooManySamples},
  };
  for (const Case& c : cases) {
    ImportChoices choices;
    choices.stepHours = c.step;
    choices.maxGapHours = 1e9;
    const ImportResult r = Import(c.text, choices);
    EXPECT_EQ(r.refusal, c.refusal) << c.name << ": " << r.error;
    EXPECT_FALSE(r.error.empty()) << c.name;
  }
  const MeasurementTable directory = ReadMeasurementFile(std::filesystem::temp_directory_path());
  EXPECT_EQ(directory.status, MeasurementTableStatus::ReadFailed);
  EXPECT_FALSE(directory.error.empty());
}

}  // namespace
}  // namespace kolma
