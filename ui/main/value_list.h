#pragma once
// The two-column list of section values in the main window, with its pop-up entry
// "Save to file".
#include <QString>
#include <QTableWidget>
#include <utility>
#include <vector>

#include "core/model/project.h"

class QAction;

namespace kolma::ui {

using TValueRow = std::pair<QString, QString>;  // key, value

// The rows of "Thermal properties": coordinates, reference temperature and material.
std::vector<TValueRow> ThermalPropertyRows(const kolma::TSectionProperties& section);

// The rows as the text file holds them: "key=value", each line ended by CR LF.
QByteArray ValueRowsText(const std::vector<TValueRow>& rows);

class TValueList : public QTableWidget {
  Q_OBJECT
 public:
  explicit TValueList(QWidget* parent = nullptr);

  // Replaces every row below the title row.
  void SetRows(const std::vector<TValueRow>& rows);
  std::vector<TValueRow> Rows() const;

  QAction* SaveToFileAction() const { return saveToFile_; }
  // Writes the rows to path; throws std::runtime_error naming the file when it cannot.
  void SaveToFile(const QString& path) const;

 public slots:
  // Asks for a file name ("Save to file") and writes the rows there.
  void SaveToFileClick();

 private:
  QAction* saveToFile_ = nullptr;
};

}  // namespace kolma::ui
