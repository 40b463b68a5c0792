// The pictures of the user guide, made from the shipped examples by the program's own
// windows. The build target `guide_pictures` runs this test with KOLMA_GUIDE_PICTURES set to
// the guide's picture folder; without it the pictures go to a scratch folder, which checks
// that they can still be made and that the guide refers to exactly these pictures.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/analysis/direct_analysis.h"
#include "core/model/node_distribution.h"
#include "core/model/project_file.h"
#include "tests/ui/main/main_form_fixture.h"
#include "ui/main/help_window.h"
#include "ui/results/profile_step_bar.h"
#include "ui/results/section_values_dlg.h"
#include "ui/results/spreadsheet_dlg.h"
#include "ui/results/temp_time_dlg.h"
#include "ui/widgets/file_path.h"

namespace kolma::ui::testing {
namespace {

// At the window's own size where none is given: the guide shows what the user sees.
bool SavePicture(QWidget& window, QSize size, const QString& path) {
  if (size.isValid()) window.resize(size);
  window.show();
  QApplication::processEvents();
  // Pictures fit the help window's text pane: wider windows are scaled down smoothly.
  QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (image.width() > 640) image = image.scaledToWidth(640, Qt::SmoothTransformation);
  return image.save(path, "PNG", 9);
}

// The pictures the guide's pages show, and their links to other pages.
QSet<QString> GuideReferences(const QString& pattern) {
  QSet<QString> found;
  const QRegularExpression reference(pattern);
  for (const THelpSection& s : HelpSections()) {
    QFile page(QStringLiteral(":/guide/") + s.page);
    if (!page.open(QIODevice::ReadOnly)) continue;
    const QString html = QString::fromUtf8(page.readAll());
    for (auto m = reference.globalMatch(html); m.hasNext();) found << m.next().captured(1);
  }
  return found;
}

TEST_F(MainFormTest, GuidePicturesAreMadeFromTheExamples) {
  QTemporaryDir scratch;
  const QByteArray wanted = qgetenv("KOLMA_GUIDE_PICTURES");
  const QDir out(wanted.isEmpty() ? scratch.path() : QString::fromLocal8Bit(wanted));
  ASSERT_TRUE(out.exists());

  // The main window with a section and its thermometers.
  OpenFile(ExamplePath("four-thermometers.kol"));
  ASSERT_TRUE(SavePicture(*form, {640, 400}, out.filePath(QStringLiteral("main-window.png"))));

  // The result windows after a direct analysis of the annual example at daily steps.
  Project project;
  ASSERT_TRUE(LectureFichier(project, FileSystemPath(ExamplePath("annual-daily-10m.kol"))));
  TSectionProperties& s = project.SectionProperties;
  ComputeNodes(s.NbDivisions, s.Nodes, s.Xu, s.Xd, s.Ratio);
  ASSERT_TRUE(RunDirectAnalysis(project, {24.0, false}).warnings.empty());
  const int summer = 200;

  TTempTimeDlg profile(project);
  profile.findChild<QCheckBox*>(QStringLiteral("CheckBoxResolve"))->setChecked(true);
  profile.show();
  profile.StepBar()->SetPosition(summer);
  ASSERT_TRUE(SavePicture(profile, {}, out.filePath(QStringLiteral("profile-view.png"))));

  TSectionValuesDlg values(project, summer);
  ASSERT_TRUE(SavePicture(values, {620, 260}, out.filePath(QStringLiteral("section-values.png"))));

  TSpreadsheetDlg sheet(project, false);
  sheet.ShowData(TSpreadsheetData::Stress);
  ASSERT_TRUE(SavePicture(sheet, {620, 280}, out.filePath(QStringLiteral("spreadsheet.png"))));

  const QSet<QString> made = {QStringLiteral("main-window.png"), QStringLiteral("profile-view.png"),
                              QStringLiteral("section-values.png"), QStringLiteral("spreadsheet.png")};
  for (const QString& name : made) EXPECT_GT(QImage(out.filePath(name)).width(), 300) << name.toStdString();
  EXPECT_EQ(GuideReferences(QStringLiteral("src=\"pictures/([^\"]+)\"")), made);
  // Every picture the guide shows is carried with it, and every page it links to exists.
  for (const QString& name : made) EXPECT_TRUE(QFile::exists(QStringLiteral(":/guide/pictures/") + name)) << name.toStdString();
  for (const QString& page : GuideReferences(QStringLiteral("href=\"([a-z-]+\\.html)")))
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/guide/") + page)) << page.toStdString();
}

}  // namespace
}  // namespace kolma::ui::testing
