#pragma once
// File names typed or chosen in the windows, as the standard library opens them.
#include <QFile>
#include <QString>
#include <filesystem>

namespace kolma::ui {

inline std::filesystem::path FileSystemPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace kolma::ui
