#pragma once
// The check every table window shares: its CSV export read back equals the table, its
// .xls export read by an independent reader (xlrd) equals the CSV, "Copy all" and "Copy
// selection" put the table and the selected rectangle on the clipboard, and both exports
// to a folder that does not exist say so in a warning with the reason on a second line
// and write nothing.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "tests/ui/scripted_prompts.h"
#include "ui/results/result_window_menus.h"
#include "ui/widgets/result_grid.h"

namespace kolma::ui::testing {

// How the window under test runs each table command (its menu items); the grid's own
// functions where one is left empty.
struct TTableCommands {
  std::function<void()> exportExcel;
  std::function<void()> exportCsv;
  std::function<void()> copyAll;
  std::function<void()> copySelection;
  TExportWording wording;  // what the save dialogs must say
};

inline std::function<void()> Trigger(QAction* action) {
  return [action] { action->trigger(); };
}

// The commands as the window's own File and Edit menus run them.
inline TTableCommands MenuCommands(const TTableWindowMenus& menus, const TExportWording& wording = {}) {
  return {Trigger(menus.exportExcel), Trigger(menus.exportCsv), Trigger(menus.copyAll), Trigger(menus.copySelection),
          wording};
}

namespace detail {

inline std::string ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

// Every cell of the CSV file equals the same cell of the first sheet of the workbook:
// the same text, or the same number where the workbook stored one.
inline constexpr const char* kCompareScript = R"(
import csv, sys, xlrd
sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
rows = list(csv.reader(open(sys.argv[2], encoding="utf-8", newline="")))
assert sheet.nrows == len(rows), ("rows", sheet.nrows, len(rows))
for r, row in enumerate(rows):
    assert sheet.ncols <= len(row), ("columns", sheet.ncols, len(row))
    for c, text in enumerate(row):
        value = sheet.cell_value(r, c) if c < sheet.ncols else ""
        if isinstance(value, float):
            assert abs(value - float(text)) <= 1e-9 * max(1.0, abs(value)), (r, c, value, text)
        else:
            assert value == text, (r, c, value, text)
print("ok")
)";

}  // namespace detail

inline void ExpectTableExportsMatch(TResultGrid& grid, TScriptedPrompts& prompts, const QString& folder,
                                    TTableCommands commands = {}) {
  if (!commands.exportExcel) commands.exportExcel = [&] { grid.ExportExcel(commands.wording); };
  if (!commands.exportCsv) commands.exportCsv = [&] { grid.ExportCsv(commands.wording); };
  if (!commands.copyAll) commands.copyAll = [&] { grid.CopyAll(); };
  if (!commands.copySelection) commands.copySelection = [&] { grid.CopySelection(); };
  const kolma::TResultTable& table = grid.Table();
  const QString csv = QDir(folder).filePath(QStringLiteral("table.csv"));
  const QString xls = QDir(folder).filePath(QStringLiteral("table.xls"));
  const std::size_t before = prompts.shown.size();

  prompts.fileAnswers = {csv, xls};
  commands.exportCsv();
  commands.exportExcel();
  ASSERT_EQ(prompts.shown.size(), before + 2) << "a save dialog each, and no message";
  EXPECT_EQ(prompts.shown[before].caption, commands.wording.csvTitle);
  EXPECT_EQ(prompts.shown[before].text, commands.wording.csvFilter);
  EXPECT_EQ(prompts.shown[before + 1].caption, commands.wording.excelTitle);
  EXPECT_EQ(prompts.shown[before + 1].text, commands.wording.excelFilter);
  EXPECT_EQ(detail::ReadAll(csv), table.csvText());

  QProcess python;
  python.setProcessChannelMode(QProcess::MergedChannels);
  python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(detail::kCompareScript),
                                                    xls, csv});
  ASSERT_TRUE(python.waitForFinished(60000));
  EXPECT_EQ(python.readAll().trimmed().toStdString(), "ok")
      << "the workbook differs from the CSV (or python3-xlrd is missing: install the Debian package python3-xlrd)";

  commands.copyAll();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), table.clipboardText());
  // The first two by two data cells (fewer where the table has fewer), as the user selects them.
  const int top = table.fixedRows();
  const int left = table.fixedColumns();
  const int bottom = std::min(top + 1, table.rows() - 1);
  const int right = std::min(left + 1, table.columns() - 1);
  grid.SetSelection({top, left, bottom, right});
  commands.copySelection();
  std::string expected;
  for (int r = top; r <= bottom; ++r) {
    for (int c = left; c <= right; ++c) expected += table.cell(r, c) + (c < right ? "\t" : "");
    if (r < bottom) expected += "\r\n";
  }
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), expected);

  // Folders that do not exist: a warning each, its first line the program's message.
  const QString missing = QDir(folder).filePath(QStringLiteral("missing/table"));
  prompts.fileAnswers = {missing + QStringLiteral(".csv"), missing + QStringLiteral(".xls")};
  const std::size_t failures = prompts.shown.size();
  commands.exportCsv();
  commands.exportExcel();
  ASSERT_EQ(prompts.shown.size(), failures + 4);
  const QStringList csvLines = prompts.shown[failures + 1].text.split(QLatin1Char('\n'));
  const QStringList xlsLines = prompts.shown[failures + 3].text.split(QLatin1Char('\n'));
  EXPECT_EQ(prompts.shown[failures + 1].icon, PromptIcon::Warning);
  EXPECT_EQ(csvLines.value(0), QStringLiteral("Cannot Create file ") + missing + QStringLiteral(".csv"));
  EXPECT_EQ(xlsLines.value(0), QStringLiteral("Excel OLE server not found"));
  EXPECT_EQ(csvLines.size(), 2);
  EXPECT_EQ(xlsLines.size(), 2);
  EXPECT_FALSE(QDir(folder).exists(QStringLiteral("missing")));
}

}  // namespace kolma::ui::testing
