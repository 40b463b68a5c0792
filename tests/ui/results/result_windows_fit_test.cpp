// Every result window at the offscreen desktop's font: no header, row header or read-out is
// wider than the room it has; the read-outs follow the desktop's decimal separator; the
// profile view's saved picture carries its caption and legend.
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "core/analysis/moving_statistics.h"
#include "core/analysis/result_table.h"
#include "core/model/project.h"
#include "tests/ui/results/direct_results_fixture.h"
#include "tests/ui/scripted_prompts.h"
#include "ui/results/harmonic_dlg.h"
#include "ui/results/profile_step_bar.h"
#include "ui/results/section_values_dlg.h"
#include "ui/results/spreadsheet_dlg.h"
#include "ui/results/stat_values_dlg.h"
#include "ui/results/temp_time_dlg.h"
#include "ui/widgets/chart_picture.h"
#include "ui/widgets/rchart.h"
#include "ui/widgets/result_grid.h"
#include "ui/widgets/result_grid_headers.h"

namespace kolma::ui {
namespace {

using testing::SetDirectResults;

// A section whose values need every digit: large temperatures, a long thermometer title.
Project WideProject() {
  Project project;
  project.InitDefaults();
  SetDirectResults(project, 0, 10, 10, 30, 24, [](double x, int k) { return -1234.5 + 20 * x + k; });
  project.SectionProperties.Ec = 20000;
  project.SectionProperties.T0 = 10;
  THarmonicSet& set = project.InverseHarmonics;
  set.HarmonicCount = 2;
  set.Periods.Resize(2);
  set.Amplitudes.Resize(2, 2);
  set.Phases.Resize(2, 2);
  set.Periods.SetElement(1, -1);
  set.Periods.SetElement(2, 8760);
  project.DirectHarmonics = set;
  project.Thermometer(1).Position = 0.6;
  project.Thermometer(1).Title.SetText("T1 near upstream (0.6 m)");
  project.Thermometer(2).Position = 9.4;
  project.Thermometer(2).Title.SetText("T2 near downstream (9.4 m)");
  project.InversePair = {1, 2};
  return project;
}

// Texts that do not fit, one line each: "where: text".
std::string CutTexts(QWidget& window) {
  std::string cut;
  for (TResultGrid* grid : window.findChildren<TResultGrid*>()) {
    const TResultTable& table = grid->Table();
    QHeaderView* top = grid->View()->horizontalHeader();
    const QFontMetrics topFont(top->font()), leftFont(grid->View()->verticalHeader()->font());
    for (int r = 0; r < table.fixedRows(); ++r) {
      for (int c = table.fixedColumns(); c < table.columns(); ++c) {
        const TMergedCells* m = MergeAt(table, r, c);
        if (m && (m->row != r || m->column != c)) continue;
        int room = 0;
        for (int k = 0; k < (m ? m->columnSpan : 1); ++k) room += top->sectionSize(c - table.fixedColumns() + k);
        const QString text = QString::fromStdString(table.cell(r, c));
        if (topFont.horizontalAdvance(text) + 6 > room) cut += "header: " + text.toStdString() + "\n";
      }
    }
    for (int c = 0; c < table.fixedColumns(); ++c) {
      for (int r = 0; r < table.rows(); ++r) {
        const QString text = QString::fromStdString(table.cell(r, c));
        const QFontMetrics& font = r < table.fixedRows() ? topFont : leftFont;
        if (font.horizontalAdvance(text) + 6 > grid->FixedColumnWidth(c)) cut += "row header: " + text.toStdString() + "\n";
      }
    }
  }
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (!label->isVisible() || label->text().isEmpty()) continue;
    const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, 10000, 10000), Qt::AlignLeft, label->text());
    if (needed.width() > label->contentsRect().width())
      cut += "read-out " + label->objectName().toStdString() + ": " + label->text().toStdString() + "\n";
  }
  return cut;
}

TEST(ResultWindowsFit, NoHeaderRowHeaderOrReadOutIsCut) {
  struct Case {
    const char* window;
    std::function<std::unique_ptr<QWidget>(Project&)> open;
  };
  const Case cases[] = {
      {"section values", [](Project& p) { return std::make_unique<TSectionValuesDlg>(p, 3); }},
      {"spreadsheet of stresses",
       [](Project& p) {
         auto d = std::make_unique<TSpreadsheetDlg>(p, false);
         d->ShowData(TSpreadsheetData::Stress);
         return d;
       }},
      {"direct harmonics", [](Project& p) { return std::make_unique<THarmonicDlg>(p, false); }},
      {"inverse harmonics", [](Project& p) { return std::make_unique<THarmonicDlg>(p, true); }},
      {"statistics",
       [](Project&) {
         auto d = std::make_unique<TStatValuesDlg>();
         static const std::vector<double> values(40, -1234.56789);
         static TMovingStatistics averages{values, values};
         d->SetCurve(values, 24, 2.5, &averages);
         return d;
       }},
      {"profile view",
       [](Project& p) {
         auto d = std::make_unique<TTempTimeDlg>(p);
         d->findChild<QWidget*>(QStringLiteral("CheckBoxResolve"))->setProperty("checked", true);
         return d;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    Project project = WideProject();
    testing::TScriptedPrompts prompts;
    std::unique_ptr<QWidget> window = c.open(project);
    window->show();
    QApplication::processEvents();
    window->resize(1, 1);  // as small as the user can make it
    QApplication::processEvents();
    if (auto* profile = dynamic_cast<TTempTimeDlg*>(window.get())) {
      emit profile->Chart()->OnMouseMoveInChart(true, Qt::NoModifier, -1234.567, -1234.567);
      profile->StepBar()->SetPosition(30);
      QApplication::processEvents();
    }
    EXPECT_EQ(CutTexts(*window), "");
  }
}

TEST(ResultWindowsFit, TablesSayWhatTheyHoldInCaptionToolTipsAndExports) {
  Project project = WideProject();
  testing::TScriptedPrompts prompts;
  QTemporaryDir folder;
  TSpreadsheetDlg sheet(project, false);
  sheet.show();
  sheet.ShowData(TSpreadsheetData::Stress);
  EXPECT_TRUE(sheet.windowTitle().contains(QStringLiteral("Stresses (MPa)")));
  const QString tip = sheet.Grid()->View()->model()->headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString();
  EXPECT_TRUE(tip.contains(QStringLiteral("S·(Tn − T0)"))) << tip.toStdString();
  const QString xls = folder.filePath(QStringLiteral("s.xls"));
  prompts.fileAnswers = {xls};
  sheet.Menus().exportExcel->trigger();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].proposed, QStringLiteral("stresses"));
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"), QStringLiteral("import sys, xlrd; print(xlrd.open_workbook(sys.argv[1]).sheet_names()[0])"), xls});
  ASSERT_TRUE(python.waitForFinished(60000));
  EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()).trimmed(), QStringLiteral("Stresses (MPa)"));

  // The row headed "Td (°C)" says that it holds each node's linear component.
  TSectionValuesDlg values(project, 2);
  values.show();
  const QString td = values.Grid()->View()->model()->headerData(2, Qt::Vertical, Qt::ToolTipRole).toString();
  EXPECT_TRUE(td.startsWith(QStringLiteral("Td (°C)\nLinear component"))) << td.toStdString();
  EXPECT_TRUE(td.contains(QStringLiteral("not Td itself")));

  // The values behind a chart of stresses are exported as stresses, not as temperatures.
  TStatValuesDlg curve;
  curve.SetQuantity(TResultQuantity::CurveStresses);
  EXPECT_EQ(curve.windowTitle(), QStringLiteral("Stresses"));
  prompts.fileAnswers = {QString()};  // the save dialog cancelled
  curve.Menus().exportCsv->trigger();
  EXPECT_EQ(prompts.shown.back().proposed, QStringLiteral("curve-stresses"));
}

TEST(ResultWindowsFit, ReadOutsFollowTheDesktopsDecimalSeparator) {
  Project project = WideProject();
  SetDecimalSeparator(',');
  TSectionValuesDlg values(project, 2);
  values.show();
  TTempTimeDlg profile(project);
  profile.show();
  profile.findChild<QWidget*>(QStringLiteral("CheckBoxResolve"))->setProperty("checked", true);
  emit profile.Chart()->OnMouseMoveInChart(true, Qt::NoModifier, 2.5, 12.25);
  SetDecimalSeparator('.');
  auto find = [](QWidget& window, const char* name) { return window.findChild<QLabel*>(QString::fromLatin1(name)); };
  for (const QLabel* label : {find(values, "LabelTm"), find(values, "LabelTd"), find(profile, "LabelTm"),
                              find(profile, "LabelX"), find(profile, "LabelT")}) {
    EXPECT_TRUE(label->text().contains(QLatin1Char(','))) << label->text().toStdString();
    EXPECT_FALSE(label->text().contains(QLatin1Char('.'))) << label->text().toStdString();
  }
}

TEST(ResultWindowsFit, SavedProfilePictureHoldsItsCaptionAndLegend) {
  Project project = WideProject();
  TTempTimeDlg profile(project);
  profile.show();
  profile.findChild<QWidget*>(QStringLiteral("CheckBoxResolve"))->setProperty("checked", true);
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("profile.svg"));
  ASSERT_EQ(WriteChartPicture(*profile.Chart(), path), QString());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString svg = QString::fromUtf8(file.readAll());
  ASSERT_EQ(profile.Chart()->Legend().size(), 3u);
  for (const TLegendEntry& entry : profile.Chart()->Legend())
    EXPECT_TRUE(svg.contains(entry.title.toHtmlEscaped())) << entry.title.toStdString();
  EXPECT_TRUE(svg.contains(QStringLiteral("Temperature across the section at t = 0 h")));
  EXPECT_TRUE(svg.contains(QStringLiteral("Section position X (m)")));
}

}  // namespace
}  // namespace kolma::ui
