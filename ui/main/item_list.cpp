#include "ui/main/item_list.h"

#include <QApplication>
#include <QHeaderView>
#include <algorithm>

#include "core/analysis/result_table.h"

namespace kolma::ui {

TItemList::TItemList(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("SectionListBox1"));
  setColumnCount(1);
  header()->hide();
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setItemsExpandable(false);
  setRootIsDecorated(false);
  setIndentation(14);
  setUniformRowHeights(true);
  for (const QString& name : {QStringLiteral("Section"), QStringLiteral("Temperatures")}) {
    auto* part = new QTreeWidgetItem(this, {name});
    QFont bold = part->font(0);
    bold.setBold(true);
    part->setFont(0, bold);
    part->setFlags(Qt::ItemIsEnabled);
  }
  expandAll();
  setStyleSheet(QStringLiteral("QTreeView::item { padding: 1px 2px; }"));
  connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { ItemChosen(item); });
  // The arrow keys move the current item and the picture follows; a mouse press moves it
  // too, but the click that ends it is what chooses, so one click draws once.
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (QApplication::mouseButtons() == Qt::NoButton) ItemChosen(item);
  });
  connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { ItemChosen(item); });
}

void TItemList::Rebuild(const kolma::Project& project) {
  for (QTreeWidgetItem* part : {SectionItem(), TemperaturesItem()}) qDeleteAll(part->takeChildren());
  auto add = [](QTreeWidgetItem* part, const QString& text, const QString& tip = QString()) {
    auto* item = new QTreeWidgetItem(part, {text});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setToolTip(0, tip.isEmpty() ? text : tip);  // the whole text where the list is narrower
  };
  if (project.HasFlag(kolma::pfSection)) {
    add(SectionItem(), QStringLiteral("Geometry"));
    add(SectionItem(), QStringLiteral("Thermal properties"));
  }
  if (project.HasFlag(kolma::pfUpstream)) add(TemperaturesItem(), QStringLiteral("Upstream Face"));
  if (project.HasFlag(kolma::pfDownstream)) add(TemperaturesItem(), QStringLiteral("Downstream Face"));
  for (const kolma::TTemperatureInside& slot : project.Thermometers)
    if (kolma::IsThermometerOccupied(slot))
      add(TemperaturesItem(), TitleText(slot.Title),
          QStringLiteral("%1: thermometer at X = %2 m")
              .arg(TitleText(slot.Title), QString::fromStdString(kolma::FormatFloat("%.3f", slot.Position))));
  expandAll();
  // Wide enough for the longest title, within reason: beyond that the tool tip tells it.
  resizeColumnToContents(0);
  const int wanted = sizeHintForColumn(0) + indentation() + 2 * frameWidth() + 8;
  setMinimumWidth(std::min(std::max(wanted, 100), 320));
}

QStringList TItemList::SubItems(Section section) const {
  QStringList texts;
  const QTreeWidgetItem* part = topLevelItem(section);
  for (int i = 0; i < part->childCount(); ++i) texts << part->child(i)->text(0);
  return texts;
}

void TItemList::ClickSubItem(Section section, int index) {
  QTreeWidgetItem* part = topLevelItem(section);
  if (index < 0 || index >= part->childCount()) return;
  QTreeWidgetItem* item = part->child(index);
  if (currentItem() == item)
    ItemChosen(item);
  else
    setCurrentItem(item);  // chooses it through the current-item signal
}

void TItemList::ItemChosen(QTreeWidgetItem* item) {
  if (!item || !item->parent()) return;  // the section headings themselves do nothing
  const int section = indexOfTopLevelItem(item->parent());
  emit SubItemClicked(section, item->parent()->indexOfChild(item), item->text(0));
}

}  // namespace kolma::ui
