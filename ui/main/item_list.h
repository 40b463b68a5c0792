#pragma once
// The item list on the left of the main window: the defined parts of the project under
// two fixed sections, "Section" and "Temperatures".
#include <QTreeWidget>

#include "core/model/project.h"
#include "ui/widgets/title_text.h"

namespace kolma::ui {

class TItemList : public QTreeWidget {
  Q_OBJECT
 public:
  enum Section { SectionPart = 0, TemperaturesPart = 1 };

  explicit TItemList(QWidget* parent = nullptr);

  QTreeWidgetItem* SectionItem() const { return topLevelItem(SectionPart); }
  QTreeWidgetItem* TemperaturesItem() const { return topLevelItem(TemperaturesPart); }

  // Rebuilds the sub-items from the flags and the occupied thermometer slots.
  void Rebuild(const kolma::Project& project);
  // Texts of the sub-items of one section, in order.
  QStringList SubItems(Section section) const;

  // Acts as a click on a sub-item (what the mouse and the keyboard both end in).
  void ClickSubItem(Section section, int index);

 signals:
  void SubItemClicked(int section, int index, const QString& text);

 private:
  void ItemChosen(QTreeWidgetItem* item);
};

}  // namespace kolma::ui
