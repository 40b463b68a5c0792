// Importing ten years of a logger's readings every 10 minutes (525,600 lines): reading the
// file, parsing it and resampling it onto the proposed step, in the ISO and the European
// shape. `kolma-batch import-measurements` on the same file adds only the writing.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/analysis/measurement_import.h"

namespace {

constexpr int kReadings = 10 * 365 * 24 * 6;

// "2026-03-01 14:00;12,34" lines (or "01.03.2026 14:00;12,34" when `dotted`) ended by
// CR LF: semicolons and decimal commas, as a European logger writes them, with an annual
// and a daily cycle, under a title line and a header.
std::string TenYearsOfReadings(bool dotted) {
  using namespace std::chrono;
  std::string text = dotted ? "Logger;Dam-West-01\r\nZeitstempel;Temperatur\r\n" : "Zeitstempel;Temperatur\r\n";
  text.reserve(static_cast<std::size_t>(kReadings) * 26);
  const sys_days start = year(2016) / March / 1;
  char line[64];
  for (int i = 0; i < kReadings; ++i) {
    const int minutes = i * 10;
    const year_month_day date(start + days(minutes / 1440));
    const double hours = minutes / 60.0;
    const double t = 10 + 8 * std::sin(2 * 3.141592653589793 * hours / 8766) + 2 * std::sin(2 * 3.141592653589793 * hours / 24);
    const int n =
        dotted ? std::snprintf(line, sizeof line, "%02u.%02u.%04d %02d:%02d;%.2f\r\n", static_cast<unsigned>(date.day()),
                               static_cast<unsigned>(date.month()), static_cast<int>(date.year()), minutes % 1440 / 60,
                               minutes % 60, t)
               : std::snprintf(line, sizeof line, "%04d-%02u-%02u %02d:%02d;%.2f\r\n", static_cast<int>(date.year()),
                               static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                               minutes % 1440 / 60, minutes % 60, t);
    text.append(line, static_cast<std::size_t>(n));
  }
  // Decimal commas: only the readings' points, after the last semicolon of each line.
  for (std::size_t i = 0, semicolon = 0; i < text.size(); ++i) {
    if (text[i] == ';') semicolon = i;
    if (text[i] == '.' && semicolon != 0 && i > semicolon) text[i] = ',';
    if (text[i] == '\n') semicolon = 0;
  }
  return text;
}

void BM_ImportTenYearsEveryTenMinutes(benchmark::State& state) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "kolma_measurement_import_bench.csv";
  std::ofstream(path, std::ios::binary) << TenYearsOfReadings(state.range(0) != 0);
  int samples = 0;
  for (auto _ : state) {
    const kolma::MeasurementTable table = kolma::ReadMeasurementFile(path);
    const kolma::ImportResult result = kolma::ImportMeasurements(table, {});
    if (!result.ok() || result.readings != kReadings) state.SkipWithError("import refused or incomplete");
    samples = result.values.NrOfElem();
    benchmark::DoNotOptimize(result.values.Data());
  }
  std::filesystem::remove(path);
  state.counters["lines"] = kReadings;
  state.counters["samples"] = samples;
}
// Argument 0: ISO dates; 1: "01.03.2026 14:00" under a title line.
BENCHMARK(BM_ImportTenYearsEveryTenMinutes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
