#include "ui/main/about_box.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdlib>
#include <stdexcept>

#include "ui/main/program_info.h"

namespace kolma::ui {
namespace {

QLabel* TextLabel(const QString& text, const QString& name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QPixmap LoadIcon(const QString& path, int size) {
  QImageReader reader(path);
  QImage best = reader.read();
  if (best.isNull())
    throw std::runtime_error(QStringLiteral("Cannot load the program icon %1: %2")
                                 .arg(QDir::toNativeSeparators(path), reader.errorString())
                                 .toStdString());
  // An .ico holds several sizes; take the one closest to what is shown.
  while (reader.jumpToNextImage()) {
    const QImage image = reader.read();
    if (image.isNull()) break;
    if (std::abs(image.width() - size) < std::abs(best.width() - size)) best = image;
  }
  return QPixmap::fromImage(best.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

}  // namespace

QString TAboutBox::IconFileName(const QString& iconFolder) {
  const QString folder = iconFolder.isEmpty() ? QCoreApplication::applicationDirPath() : iconFolder;
  return QDir(folder).filePath(QStringLiteral("kolma.ico"));
}

QString TAboutBox::VersionLine() const {
  return QStringLiteral("Standard Edition %1 - %2").arg(FullVersionText(), QString::fromLatin1(kReleaseDate));
}

TAboutBox::TAboutBox(QWidget* parent, const QString& iconFolder) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("About Kolma"));
  const QPixmap icon = LoadIcon(IconFileName(iconFolder), 64);

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("ProgramIcon"));
  picture->setPixmap(icon);
  picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  QLabel* name = TextLabel(QString::fromLatin1(kProgramName), QStringLiteral("ProductName"), this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.8);
  big.setBold(true);
  name->setFont(big);

  QLabel* description = TextLabel(
      QStringLiteral("One-dimensional transient thermal analysis of concrete dam sections"),
      QStringLiteral("Description"), this);
  description->setWordWrap(true);
  QLabel* version = TextLabel(VersionLine(), QStringLiteral("Version"), this);
  QLabel* credits = TextLabel(QStringLiteral("Harmonic solution of the heat equation with direct and inverse analysis"),
                              QStringLiteral("Credits"), this);
  credits->setWordWrap(true);
  QLabel* contact = TextLabel(QStringLiteral("Questions and reports: your dam engineering support office"),
                              QStringLiteral("Contact"), this);
  contact->setWordWrap(true);
  for (QLabel* quiet : {credits, contact}) quiet->setStyleSheet(QStringLiteral("color: #56606c;"));

  auto* texts = new QVBoxLayout;
  texts->setSpacing(6);
  texts->addWidget(name);
  texts->addWidget(description);
  texts->addSpacing(6);
  texts->addWidget(version);
  texts->addSpacing(6);
  texts->addWidget(credits);
  texts->addWidget(contact);
  texts->addStretch(1);

  auto* top = new QHBoxLayout;
  top->setSpacing(18);
  top->addWidget(picture);
  top->addLayout(texts, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 20, 20, 14);
  layout->setSpacing(14);
  layout->addLayout(top);
  layout->addWidget(buttons);
  setWindowIcon(QIcon(icon));
  setFixedWidth(440);
}

}  // namespace kolma::ui
