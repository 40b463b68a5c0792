// Thermometers named where the user looks for them: their titles on the geometry chart, and
// the whole title with the position in the item list's tool tip however narrow the list is.
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "tests/ui/main/main_form_fixture.h"
#include "ui/main/item_list.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui::testing {
namespace {

TEST_F(MainFormTest, GeometryChartAndItemListNameEachThermometer) {
  OpenFile(ExamplePath("four-thermometers.kol"));
  QStringList texts;
  for (const TChartItem& item : form->Chart()->Items())
    if (item.kind == ChartItemKind::Text) texts << item.text;
  for (const char* title : {"T1", "T2", "T3", "T4"}) EXPECT_TRUE(texts.contains(QString::fromLatin1(title))) << title;

  QTreeWidgetItem* temperatures = form->SectionListBox1()->TemperaturesItem();
  ASSERT_EQ(temperatures->childCount(), 4);
  EXPECT_EQ(temperatures->child(0)->toolTip(0), QStringLiteral("T1: thermometer at X = 0.600 m"));
  EXPECT_GE(form->SectionListBox1()->width(),
            form->SectionListBox1()->fontMetrics().horizontalAdvance(QStringLiteral("Thermal properties")));
}

}  // namespace
}  // namespace kolma::ui::testing
