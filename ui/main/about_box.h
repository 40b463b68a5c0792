#pragma once
// "About Kolma": program icon, name, description, version, credits and contact.
#include <QDialog>

class QLabel;

namespace kolma::ui {

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  // Reads "kolma.ico" from iconFolder (the folder of the executable unless a caller
  // says otherwise); throws std::runtime_error when the icon cannot be loaded.
  explicit TAboutBox(QWidget* parent = nullptr, const QString& iconFolder = QString());

  static QString IconFileName(const QString& iconFolder = QString());
  QString VersionLine() const;
};

}  // namespace kolma::ui
