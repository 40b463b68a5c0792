// The user guide through the Help menu: its contents list the sections an engineer looks
// for, Search finds the sections that hold a word, "How to Use Help" opens its page.
#include "ui/main/help_window.h"

#include <QApplication>
#include <QListWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

#include "tests/ui/main/main_form_fixture.h"

namespace kolma::ui::testing {
namespace {

QStringList TreeTexts(const QTreeWidget* tree) {
  QStringList texts;
  for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it) texts << (*it)->text(0);
  return texts;
}

THelpWindow* HelpWindowOf(QWidget* form) { return form->findChild<THelpWindow*>(QStringLiteral("HelpWindow")); }

TEST_F(MainFormTest, HelpMenuOpensTheGuideItsContentsAndItsSearch) {
  Command("HelpContentsItem")->trigger();
  QApplication::processEvents();
  THelpWindow* help = HelpWindowOf(form.get());
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->Browser()->source().toString().endsWith(QStringLiteral("index.html")));
  const QStringList contents = TreeTexts(help->ContentsTree());
  for (const char* section : {"Nonlinear temperature Tn", "Stresses and their sign", "Plane stress and plane strain factors",
                              "The padding choices", "What it can recover", "What it cannot recover", "Reading its warnings"})
    EXPECT_TRUE(contents.contains(QString::fromUtf8(section))) << section;
  // A section chosen in the contents opens at its heading.
  QTreeWidgetItem* tn = help->ContentsTree()->findItems(QStringLiteral("Nonlinear temperature Tn"),
                                                        Qt::MatchExactly | Qt::MatchRecursive).value(0);
  ASSERT_NE(tn, nullptr);
  emit help->ContentsTree()->itemClicked(tn, 0);
  EXPECT_EQ(help->Browser()->source().fragment(), QStringLiteral("tn"));

  // Search: the same window, the word box focused; the sections holding the word, and the
  // first one opened with the word selected.
  Command("HelpSearchItem")->trigger();
  EXPECT_EQ(form->findChildren<THelpWindow*>().size(), 1);
  EXPECT_GE(help->Search(QStringLiteral("padding")), 3);
  QStringList found;
  for (int i = 0; i < help->SearchResults()->count(); ++i) found << help->SearchResults()->item(i)->text();
  EXPECT_TRUE(found.contains(QStringLiteral("The padding choices (Padding)"))) << found.join('|').toStdString();
  help->SearchResults()->setCurrentRow(found.indexOf(QStringLiteral("The padding choices (Padding)")));
  EXPECT_TRUE(help->Browser()->source().toString().endsWith(QStringLiteral("padding.html#choices")));
  EXPECT_EQ(help->Browser()->textCursor().selectedText().toLower(), QStringLiteral("padding"));
  EXPECT_EQ(help->Search(QStringLiteral("zyxwv")), 0);
  EXPECT_EQ(help->SearchResults()->count(), 1);  // says that nothing holds it

  Command("HelpHowToItem")->trigger();
  EXPECT_TRUE(help->Browser()->source().toString().endsWith(QStringLiteral("how-to-use-help.html")));
  EXPECT_TRUE(help->Browser()->toPlainText().contains(QStringLiteral("Search")));
}

}  // namespace
}  // namespace kolma::ui::testing
