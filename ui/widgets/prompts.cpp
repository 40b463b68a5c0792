#include "ui/widgets/prompts.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QPushButton>
#include <QMessageBox>
#include <QStringList>

namespace kolma::ui {
namespace {

QMessageBox::Icon ToQt(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Critical: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

const QString kLastFolderKey = QStringLiteral("LastFolder");

// The folder of the file chosen last; read from the settings once, then kept for the session.
QString& LastFolder() {
  static QString folder = QSettings().value(kLastFolderKey).toString();
  return folder;
}

QString ChosenFile(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  const QString path = dialog.selectedFiles().first();
  LastFolder() = QFileInfo(path).absolutePath();
  QSettings().setValue(kLastFolderKey, LastFolder());
  return path;
}

QString StartFolder(const QString& requested) {
  if (!requested.isEmpty() && QFileInfo(requested).isDir()) return requested;
  return QFileInfo(LastFolder()).isDir() ? LastFolder() : QDir::homePath();
}

class TDialogPrompts final : public TPrompts {
 public:
  void Message(QWidget* parent, PromptIcon icon, const QString& caption, const QString& text) override {
    QMessageBox box(ToQt(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
  }

  bool AskYesNo(QWidget* parent, PromptIcon icon, const QString& caption, const QString& text) override {
    QMessageBox box(ToQt(icon), caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
  }

  PromptAnswer AskYesNoOrDismiss(QWidget* parent, PromptIcon icon, const QString& caption,
                                 const QString& text) override {
    QMessageBox box(ToQt(icon), caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    // Without an escape button of its own the box would take "No" for Escape.
    QAbstractButton* dismiss = box.addButton(QMessageBox::Cancel);
    dismiss->hide();
    box.setEscapeButton(dismiss);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Yes)) return PromptAnswer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No)) return PromptAnswer::No;
    return PromptAnswer::Dismissed;
  }

  QString OpenFileName(QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix,
                       const QString& startFolder) override {
    QFileDialog dialog(parent, title, StartFolder(startFolder), QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    return ChosenFile(dialog);
  }

  QString SaveFileName(QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix,
                       bool askBeforeOverwrite, const QString& proposedName) override {
    const QFileInfo proposed(proposedName);
    const bool hasFolder = !proposedName.isEmpty() && proposedName != proposed.fileName();
    QFileDialog dialog(parent, title, hasFolder ? proposed.absolutePath() : StartFolder(QString()),
                       QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!askBeforeOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!proposedName.isEmpty()) dialog.selectFile(proposed.fileName());
    return ChosenFile(dialog);
  }

  QColor ChooseColor(QWidget* parent, const QColor& initial, const QString& title) override {
    QColorDialog dialog(initial, parent);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedColor() : QColor();
  }
};

TDialogPrompts realPrompts;
TPrompts* installed = nullptr;

}  // namespace

TPrompts& Prompts() { return installed ? *installed : realPrompts; }

void SetPrompts(TPrompts* prompts) { installed = prompts; }

QString QtFileFilter(const QString& filter) {
  if (filter.isEmpty()) return QString();
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) filters << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
  return filters.join(QStringLiteral(";;"));
}

}  // namespace kolma::ui
