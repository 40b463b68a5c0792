#include "ui/widgets/prompts.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QSettings>
#include <QPushButton>
#include <QMessageBox>
#include <QStringList>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/formats/save_file.h"
#include "ui/widgets/file_path.h"

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
    QMessageBox box(ToQt(icon), caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    // Plain words, whatever the style would make of the standard buttons.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Yes"));
    box.button(QMessageBox::No)->setText(QStringLiteral("No"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancel"));
    // Escape and the close button are Cancel, never "No".
    box.setEscapeButton(QMessageBox::Cancel);
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

  QString ChooseItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items) override {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
  }

  QColor ChooseColor(QWidget* parent, const QColor& initial, const QString& title) override {
    QColorDialog dialog(initial, parent);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedColor() : QColor();
  }
};

TDialogPrompts realPrompts;
TPrompts* installed = nullptr;

std::map<QString, QString>& FilesInUse() {
  static std::map<QString, QString> files;  // role -> path
  return files;
}

}  // namespace

TPrompts& Prompts() { return installed ? *installed : realPrompts; }

void SetFileInUse(const QString& role, const QString& path) {
  if (path.isEmpty())
    FilesInUse().erase(role);
  else
    FilesInUse()[role] = path;
}

QString SaveFileNameChecked(QWidget* parent, const QString& title, const QString& filter,
                            const QString& defaultSuffix, bool askBeforeOverwrite, const QString& proposedName,
                            bool filesInUseAllowed) {
  const QString path = Prompts().SaveFileName(parent, title, filter, defaultSuffix, askBeforeOverwrite, proposedName);
  if (path.isEmpty()) return path;
  std::vector<std::filesystem::path> inputs;
  QStringList roles;
  if (!filesInUseAllowed) {
    for (const auto& [role, file] : FilesInUse()) {
      inputs.push_back(FileSystemPath(file));
      roles << role;
    }
  }
  std::string reason = kolma::UnsafeOutputReason(FileSystemPath(path), inputs);
  if (reason.empty()) return path;
  // Name the file by what it is to the user rather than by its path a second time.
  for (qsizetype i = 0; i < roles.size(); ++i) {
    const std::string input = "it is the same file as the input " + inputs[static_cast<size_t>(i)].string();
    if (reason == input) reason = "it is " + roles[i].toStdString();
  }
  Prompts().Message(parent, PromptIcon::Warning, QStringLiteral("Warning"),
                    QStringLiteral("%1\ncannot be written: %2. Choose another file.")
                        .arg(QDir::toNativeSeparators(path), QString::fromStdString(reason)));
  return QString();
}


void SetPrompts(TPrompts* prompts) { installed = prompts; }

QString QtFileFilter(const QString& filter) {
  if (filter.isEmpty()) return QString();
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) filters << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
  return filters.join(QStringLiteral(";;"));
}

}  // namespace kolma::ui
