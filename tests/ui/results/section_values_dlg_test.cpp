// The section values through their real window: the table of the step shown, its stepping,
// a section without a finite stress, and the exports and copies of the table.
#include "ui/results/section_values_dlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/analysis/result_table.h"
#include "core/analysis/thermal_decomposition.h"
#include "tests/ui/results/direct_results_fixture.h"
#include "tests/ui/scripted_prompts.h"
#include "ui/results/profile_step_bar.h"
#include "ui/widgets/result_grid.h"

namespace kolma::ui {
namespace {

using testing::SetDirectResults;

class SectionValuesDlg : public ::testing::Test {
 protected:
  SectionValuesDlg() {
    project.InitDefaults();
    // A curved field that changes with the step, so that every row has its own values.
    SetDirectResults(project, 0, 10, 10, 20, 1, [](double x, int k) { return 3 + x + 0.1 * x * x * k; });
  }
  TSectionValuesDlg& Open(int startStep) {
    dialog = std::make_unique<TSectionValuesDlg>(project, startStep);
    dialog->show();
    QApplication::processEvents();
    return *dialog;
  }
  const TResultTable& table() { return dialog->Grid()->Table(); }
  void Trigger(const char* action) {
    QAction* a = dialog->findChild<QAction*>(QString::fromLatin1(action));
    ASSERT_NE(a, nullptr) << action;
    a->trigger();
  }
  std::string Number(double v) { return FormatFloat("%.3f", v); }

  Project project;
  testing::TScriptedPrompts prompts;
  std::unique_ptr<TSectionValuesDlg> dialog;
};

TEST_F(SectionValuesDlg, TableOfTheStepShownFollowsTheTrackBar) {
  Open(5);
  ASSERT_EQ(table().rows(), 6);
  ASSERT_EQ(table().columns(), 12);
  EXPECT_EQ(table().cell(0, 0), "Position X");
  EXPECT_EQ(table().cell(5, 0), "Stress (MPa)");
  const double s = StressFactor(project.SectionProperties).value;
  for (int step : {5, 6}) {
    SCOPED_TRACE(step);
    const TTmTd split = ComputeTmTd(project, step);
    EXPECT_EQ(dialog->findChild<QLabel*>("LabelTm")->text(), QString::asprintf("Tm = %9.3f °C", split.Tm));
    EXPECT_EQ(dialog->findChild<QLabel*>("LabelTd")->text(), QString::asprintf("Td = %9.3f °C", split.Td));
    for (int i = 1; i <= 11; ++i) {
      const double x = project.SectionProperties.Nodes.Element(i);
      EXPECT_EQ(table().cell(0, i), FormatFloat("%8.3f m", x));
      EXPECT_EQ(table().cell(1, i), Number(3 + x + 0.1 * x * x * step));
      EXPECT_EQ(table().cell(2, i), Number(split.Tm)) << "the same mean in every column";
      EXPECT_EQ(table().cell(3, i), Number((x - 5) * split.Td / 10)) << "the node's linear part, not Td";
      const double tn = 3 + x + 0.1 * x * x * step - split.Tm - (x - 5) * split.Td / 10;
      EXPECT_EQ(table().cell(4, i), Number(tn));
      EXPECT_EQ(table().cell(5, i), Number(s * (tn - project.SectionProperties.T0)));
    }
    dialog->findChild<QPushButton*>("ButtonPlus1")->click();
  }
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SectionValuesDlg, StartStepIsKeptWithinTheSteps) {
  const std::pair<int, int> cases[] = {{0, 1}, {1, 1}, {20, 20}, {99, 20}};
  for (const auto& [start, shown] : cases) {
    Open(start);
    EXPECT_EQ(dialog->StepBar()->Position(), shown) << start;
    EXPECT_EQ(table().cell(1, 1), Number(3)) << start;  // x1 = 0 at every step
  }
}

TEST_F(SectionValuesDlg, SectionWithoutFiniteStressSaysSoOnceAndLeavesTheRowEmpty) {
  project.SectionProperties.PlaneStrain = 1;
  project.SectionProperties.Poisson = 0.5;
  Open(3);
  ASSERT_EQ(prompts.Count("message"), 1);
  EXPECT_EQ(prompts.shown[0].text, "Plane strain with Poisson's ratio 0.5 has no finite thermal stress");
  dialog->findChild<QPushButton*>("ButtonPlus1")->click();
  EXPECT_EQ(prompts.Count("message"), 1);
  for (int i = 1; i <= 11; ++i) {
    EXPECT_EQ(table().cell(5, i), "") << i;
    EXPECT_FALSE(table().cell(4, i).empty()) << i;
  }
}

QString ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST_F(SectionValuesDlg, ExportsAndCopiesHoldTheWholeTable) {
  QTemporaryDir dir;
  const QString csv = dir.filePath("values.csv");
  const QString xls = dir.filePath("values.xls");
  Open(4);
  prompts.fileAnswers = {csv, xls, QString()};
  Trigger("ExportCsv");
  Trigger("ExportExcel");
  Trigger("ExportCsv");  // cancelled: nothing asked beyond the dialog
  ASSERT_EQ(prompts.Count("save"), 3);
  EXPECT_EQ(prompts.shown[0].caption, "Save as CSV file");
  EXPECT_EQ(prompts.shown[1].caption, "Save as Microsoft Excel file");

  // The CSV file read back: six lines, every cell of the table.
  const QStringList lines = ReadAll(csv).split("\r\n");
  ASSERT_EQ(lines.size(), 7);  // and nothing after the last CR LF
  EXPECT_EQ(lines[6], "");
  for (int r = 0; r < 6; ++r) {
    const QStringList cells = lines[r].split(',');
    ASSERT_EQ(cells.size(), 12) << r;
    for (int c = 0; c < 12; ++c) EXPECT_EQ(cells[c].toStdString(), table().cell(r, c)) << r << "," << c;
  }
  // The workbook, read by an independent reader, holds the same cells.
  QProcess python;
  python.start("/usr/bin/python3", {"-c", R"(
import csv, sys, xlrd
sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
rows = list(csv.reader(open(sys.argv[2], encoding="utf-8", newline="")))
assert (sheet.nrows, sheet.ncols) == (len(rows), len(rows[0])), (sheet.nrows, sheet.ncols)
for r, row in enumerate(rows):
    for c, text in enumerate(row):
        value = sheet.cell_value(r, c)
        ok = abs(value - float(text)) < 1e-9 if isinstance(value, float) else value == text
        assert ok, (r, c, value, text)
)", xls, csv});
  ASSERT_TRUE(python.waitForFinished(30000));
  EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();

  Trigger("EditCopy");
  const QString all = QApplication::clipboard()->text();
  EXPECT_EQ(all.count("\r\n"), 5);
  EXPECT_TRUE(all.startsWith(QString("Position X\t") + QString::fromStdString(table().cell(0, 1)) + "\t"));
  dialog->Grid()->SetSelection({1, 2, 2, 3});
  Trigger("EditCopySelection");
  const QString selected = QString::fromStdString(table().cell(1, 2) + "\t" + table().cell(1, 3) + "\r\n" +
                                                  table().cell(2, 2) + "\t" + table().cell(2, 3));
  EXPECT_EQ(QApplication::clipboard()->text(), selected);
}

}  // namespace
}  // namespace kolma::ui
