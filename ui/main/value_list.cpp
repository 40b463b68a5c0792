#include "ui/main/value_list.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QHeaderView>
#include <stdexcept>

#include "ui/main/kolma_application.h"
#include "ui/widgets/prompts.h"

namespace kolma::ui {

std::vector<TValueRow> ThermalPropertyRows(const kolma::TSectionProperties& s) {
  return {
      {QStringLiteral("Upstream Coordinate"), QString::asprintf("%8.3f m", s.Xu)},
      {QStringLiteral("Downstream Coordinate"), QString::asprintf("%8.3f m", s.Xd)},
      {QStringLiteral("Section length"), QString::asprintf("%8.3f m", s.Xd - s.Xu)},
      {QStringLiteral("Reference temperature"), QString::asprintf("%8.3f °C", s.T0)},
      {QStringLiteral("Diffusivity constant"), QString::asprintf("%8.5f m²/h", s.Diffusivity)},
      {QStringLiteral("Young's modulus"), QString::asprintf("%8.1f MPa", s.Ec)},
      {QStringLiteral("Poisson's ratio"), QString::asprintf("%8.5f", s.Poisson)},
      {QStringLiteral("Thermal expansion coefficient"), QString::asprintf("%9.7f /°C", s.Alpha)},
      {QStringLiteral("Stress computation"),
       s.PlaneStrain == 1 ? QStringLiteral("Plane strain") : QStringLiteral("Plane stress")},
  };
}

QByteArray ValueRowsText(const std::vector<TValueRow>& rows) {
  QByteArray text;
  for (const auto& [key, value] : rows) text += (key + '=' + value).toUtf8() + "\r\n";
  return text;
}

TValueList::TValueList(QWidget* parent) : QTableWidget(0, 2, parent) {
  setObjectName(QStringLiteral("ValueListEditor"));
  setHorizontalHeaderLabels({QStringLiteral("Key"), QStringLiteral("Value")});
  horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  horizontalHeader()->setStretchLastSection(true);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  verticalHeader()->hide();
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setAlternatingRowColors(true);
  setWordWrap(false);

  saveToFile_ = new QAction(QStringLiteral("Save to file"), this);
  saveToFile_->setObjectName(QStringLiteral("SaveToFileItem"));
  connect(saveToFile_, &QAction::triggered, this, [this] { RunGuarded(this, [this] { SaveToFileClick(); }); });
  addAction(saveToFile_);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TValueList::SetRows(const std::vector<TValueRow>& rows) {
  setRowCount(0);
  setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    setItem(r, 0, new QTableWidgetItem(rows[static_cast<size_t>(r)].first));
    auto* value = new QTableWidgetItem(rows[static_cast<size_t>(r)].second);
    // The values carry leading blanks from their formats; a fixed-pitch font keeps the
    // decimal points under each other.
    value->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setItem(r, 1, value);
  }
  resizeColumnToContents(0);
}

std::vector<TValueRow> TValueList::Rows() const {
  std::vector<TValueRow> rows;
  for (int r = 0; r < rowCount(); ++r) {
    const QTableWidgetItem* key = item(r, 0);
    const QTableWidgetItem* value = item(r, 1);
    rows.emplace_back(key ? key->text() : QString(), value ? value->text() : QString());
  }
  return rows;
}

void TValueList::SaveToFile(const QString& path) const {
  QFile file(path);
  const QByteArray text = ValueRowsText(Rows());
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() || !file.flush())
    throw std::runtime_error(
        QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()).toStdString());
}

void TValueList::SaveToFileClick() {
  const QString path = Prompts().SaveFileName(this, QStringLiteral("Save to file"), QString(), QString(), true);
  if (!path.isEmpty()) SaveToFile(path);
}

}  // namespace kolma::ui
