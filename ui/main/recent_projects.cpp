#include "ui/main/recent_projects.h"

#include <QDir>
#include <QSettings>

namespace kolma::ui {
namespace {

const QString kKey = QStringLiteral("RecentProjects");

void Store(const QStringList& paths) { QSettings().setValue(kKey, paths); }

// The same file reached by two spellings of its path is one entry.
QString Canonical(const QString& path) { return QDir::cleanPath(QDir(path).absolutePath()); }

}  // namespace

QStringList TRecentProjects::Paths() const {
  QStringList paths = QSettings().value(kKey).toStringList();
  paths.removeAll(QString());
  return paths.mid(0, kMaxCount);
}

void TRecentProjects::Add(const QString& path) {
  const QString entry = Canonical(path);
  QStringList paths = Paths();
  paths.removeAll(entry);
  paths.prepend(entry);
  Store(paths.mid(0, kMaxCount));
}

void TRecentProjects::Remove(const QString& path) {
  QStringList paths = Paths();
  paths.removeAll(path);
  paths.removeAll(Canonical(path));
  Store(paths);
}

}  // namespace kolma::ui
