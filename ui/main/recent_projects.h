#pragma once
// The projects opened or saved last, newest first, kept in the program's settings so
// that they are offered again in the next session.
#include <QString>
#include <QStringList>

namespace kolma::ui {

class TRecentProjects {
 public:
  static constexpr int kMaxCount = 8;

  QStringList Paths() const;
  // Puts `path` in front; the oldest entry goes when there are more than kMaxCount.
  void Add(const QString& path);
  void Remove(const QString& path);
};

}  // namespace kolma::ui
