#include "ui/main/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

// The guide's pages are compiled into a static library: their resource must be named once
// so that the linker keeps it.
static void InitGuideResource() { Q_INIT_RESOURCE(help); }

namespace kolma::ui {

namespace {

const QString kRoot = QStringLiteral("qrc:/guide/");
// Reading order of the pages.
const char* const kPages[] = {"index.html",   "first-project.html", "quantities.html", "padding.html",
                              "inverse.html", "measurements.html",  "results.html",    "batch.html",
                              "how-to-use-help.html"};
const QString kHowToUse = QStringLiteral("how-to-use-help.html");

QString ReadPage(const QString& name) {
  InitGuideResource();
  QFile file(QStringLiteral(":/guide/") + name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

std::vector<THelpSection> ParseGuide() {
  std::vector<THelpSection> sections;
  for (const char* page : kPages) {
    const QString name = QString::fromLatin1(page);
    QTextDocument document;
    document.setHtml(ReadPage(name));
    const QString pageTitle = document.metaInformation(QTextDocument::DocumentTitle);
    THelpSection current{name, pageTitle, QString(), pageTitle, QString()};
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
      if (block.blockFormat().headingLevel() == 2) {
        if (!current.text.trimmed().isEmpty()) sections.push_back(current);
        QString anchor;
        for (auto it = block.begin(); !it.atEnd() && anchor.isEmpty(); ++it) {
          const QStringList names = it.fragment().charFormat().anchorNames();
          if (!names.isEmpty()) anchor = names.first();
        }
        current = {name, pageTitle, anchor, block.text().trimmed(), QString()};
      }
      current.text += block.text() + QLatin1Char('\n');
    }
    if (!current.text.trimmed().isEmpty()) sections.push_back(current);
  }
  return sections;
}

}  // namespace

const std::vector<THelpSection>& HelpSections() {
  static const std::vector<THelpSection> sections = ParseGuide();
  return sections;
}

std::vector<const THelpSection*> FindHelpSections(const QString& word) {
  std::vector<const THelpSection*> found;
  const QString wanted = word.trimmed();
  if (wanted.isEmpty()) return found;
  for (const THelpSection& s : HelpSections())
    if (s.text.contains(wanted, Qt::CaseInsensitive)) found.push_back(&s);
  return found;
}

THelpWindow::THelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Kolma Help"));
  setModal(false);

  auto* back = new QToolButton(this);
  back->setObjectName(QStringLiteral("ButtonBack"));
  back->setText(QStringLiteral("Back"));
  back->setAccessibleName(back->text());
  back->setToolTip(QStringLiteral("Back (Alt+Left)"));
  auto* forward = new QToolButton(this);
  forward->setObjectName(QStringLiteral("ButtonForward"));
  forward->setText(QStringLiteral("Forward"));
  forward->setAccessibleName(forward->text());
  forward->setToolTip(QStringLiteral("Forward (Alt+Right)"));
  auto* home = new QToolButton(this);
  home->setObjectName(QStringLiteral("ButtonHome"));
  home->setText(QStringLiteral("Contents"));
  home->setAccessibleName(home->text());
  auto* howTo = new QToolButton(this);
  howTo->setObjectName(QStringLiteral("ButtonHowTo"));
  howTo->setText(QStringLiteral("How to Use Help"));
  howTo->setAccessibleName(howTo->text());
  auto* buttons = new QHBoxLayout;
  for (QToolButton* b : {back, forward, home, howTo}) buttons->addWidget(b);
  buttons->addStretch();

  contents_ = new QTreeWidget(this);
  contents_->setObjectName(QStringLiteral("ContentsTree"));
  contents_->setAccessibleName(QStringLiteral("Contents"));
  contents_->setHeaderHidden(true);

  auto* searchPage = new QWidget(this);
  auto* searchLabel = new QLabel(QStringLiteral("&Word to find:"), searchPage);
  searchEdit_ = new QLineEdit(searchPage);
  searchEdit_->setObjectName(QStringLiteral("SearchEdit"));
  searchLabel->setBuddy(searchEdit_);
  auto* find = new QPushButton(QStringLiteral("&Find"), searchPage);
  find->setObjectName(QStringLiteral("ButtonFind"));
  find->setAutoDefault(false);
  results_ = new QListWidget(searchPage);
  results_->setObjectName(QStringLiteral("SearchResults"));
  results_->setAccessibleName(QStringLiteral("Sections found"));
  auto* searchLayout = new QVBoxLayout(searchPage);
  searchLayout->setContentsMargins(4, 4, 4, 4);
  searchLayout->addWidget(searchLabel);
  auto* findRow = new QHBoxLayout;
  findRow->addWidget(searchEdit_, 1);
  findRow->addWidget(find);
  searchLayout->addLayout(findRow);
  searchLayout->addWidget(results_, 1);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("HelpTabs"));
  tabs_->addTab(contents_, QStringLiteral("&Contents"));
  tabs_->addTab(searchPage, QStringLiteral("&Search"));

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setAccessibleName(QStringLiteral("Help text"));
  browser_->setOpenExternalLinks(false);
  browser_->setOpenLinks(true);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(tabs_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({280, 660});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(buttons);
  layout->addWidget(splitter, 1);

  connect(back, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(home, &QToolButton::clicked, this, &THelpWindow::ShowContents);
  connect(howTo, &QToolButton::clicked, this, &THelpWindow::ShowHowToUse);
  connect(contents_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { Open(item->data(0, Qt::UserRole).toString()); });
  connect(contents_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { Open(item->data(0, Qt::UserRole).toString()); });
  // Enter in the word box finds, rather than closing the window through a default button.
  connect(searchEdit_, &QLineEdit::returnPressed, this, [this] { Search(searchEdit_->text()); });
  connect(find, &QPushButton::clicked, this, [this] { Search(searchEdit_->text()); });
  connect(results_, &QListWidget::currentRowChanged, this, &THelpWindow::OpenResult);

  BuildContents();
  resize(960, 640);
}

void THelpWindow::BuildContents() {
  contents_->clear();
  QTreeWidgetItem* pageItem = nullptr;
  QString page;
  for (const THelpSection& s : HelpSections()) {
    if (s.page != page) {
      page = s.page;
      pageItem = new QTreeWidgetItem(contents_, {s.pageTitle});
      pageItem->setData(0, Qt::UserRole, s.page);
    }
    if (s.anchor.isEmpty()) continue;
    auto* item = new QTreeWidgetItem(pageItem, {s.title});
    item->setData(0, Qt::UserRole, s.page + QLatin1Char('#') + s.anchor);
    item->setToolTip(0, s.title);
  }
  contents_->expandAll();
}

void THelpWindow::Open(const QString& target) {
  if (target.isEmpty()) return;
  browser_->setSource(QUrl(kRoot + target));
}

void THelpWindow::ShowContents() {
  tabs_->setCurrentIndex(0);
  Open(QString::fromLatin1(kPages[0]));
  contents_->setFocus();
}

void THelpWindow::ShowSearch() {
  tabs_->setCurrentIndex(1);
  if (browser_->source().isEmpty()) Open(QString::fromLatin1(kPages[0]));
  searchEdit_->setFocus();
  searchEdit_->selectAll();
}

void THelpWindow::ShowHowToUse() { Open(kHowToUse); }

int THelpWindow::Search(const QString& word) {
  tabs_->setCurrentIndex(1);
  if (searchEdit_->text() != word) searchEdit_->setText(word);
  lastWord_ = word.trimmed();
  const QSignalBlocker quiet(results_);
  results_->clear();
  const std::vector<const THelpSection*> found = FindHelpSections(lastWord_);
  for (const THelpSection* s : found) {
    const QString text =
        s->anchor.isEmpty() ? s->pageTitle : s->title + QStringLiteral(" (") + s->pageTitle + QLatin1Char(')');
    auto* item = new QListWidgetItem(text, results_);
    item->setToolTip(text);
    item->setData(Qt::UserRole, s->anchor.isEmpty() ? s->page : s->page + QLatin1Char('#') + s->anchor);
  }
  if (found.empty() && !lastWord_.isEmpty())
    new QListWidgetItem(QStringLiteral("No section holds \"%1\".").arg(lastWord_), results_);
  return static_cast<int>(found.size());
}

void THelpWindow::OpenResult(int row) {
  const QListWidgetItem* item = results_->item(row);
  if (!item) return;
  const QString target = item->data(Qt::UserRole).toString();
  if (target.isEmpty()) return;
  Open(target);
  // The word itself, highlighted where it first appears after the heading.
  if (!lastWord_.isEmpty()) browser_->find(lastWord_);
}

}  // namespace kolma::ui
