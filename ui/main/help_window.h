#pragma once
// The user guide in a window of its own: HTML pages carried inside the program, read in a
// text browser, with a Contents tree of their sections and a Search that lists the
// sections holding a word. It stays open beside the main window while the user works.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <vector>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

namespace kolma::ui {

// One section of the guide: a second-level heading of a page and the text under it.
struct THelpSection {
  QString page;     // resource path of the page
  QString pageTitle;
  QString anchor;   // the heading's anchor name; empty for the page's opening text
  QString title;
  QString text;     // plain text of the section, its title included
};

// Every section of every page, in reading order.
const std::vector<THelpSection>& HelpSections();
// The sections whose text holds `word` (case does not matter); empty for a blank word.
std::vector<const THelpSection*> FindHelpSections(const QString& word);

class THelpWindow final : public QDialog {
  Q_OBJECT
 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // Help > Contents: the contents tree and the first page.
  void ShowContents();
  // Help > Search for Help On...: the search tab with the focus in its word box.
  void ShowSearch();
  // Help > How to Use Help: the page that says how to move in the guide.
  void ShowHowToUse();
  // Finds `word` and lists the sections that hold it; returns how many.
  int Search(const QString& word);
  // Opens a page (resource path, with "#anchor" or not).
  void Open(const QString& target);

  QTextBrowser* Browser() const { return browser_; }
  QTreeWidget* ContentsTree() const { return contents_; }
  QListWidget* SearchResults() const { return results_; }
  QLineEdit* SearchEdit() const { return searchEdit_; }

 private:
  void BuildContents();
  void OpenResult(int row);

  QTabWidget* tabs_ = nullptr;
  QTreeWidget* contents_ = nullptr;
  QLineEdit* searchEdit_ = nullptr;
  QListWidget* results_ = nullptr;
  QTextBrowser* browser_ = nullptr;
  QString lastWord_;
};

}  // namespace kolma::ui
