#include "ui/widgets/chart_mouse_modes.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QToolButton>

namespace kolma::ui {

QButtonGroup* AddMouseModeButtons(QWidget* owner, QBoxLayout* row, bool noneFirst,
                                  std::function<void(MouseActMode)> chosen) {
  auto* group = new QButtonGroup(owner);
  for (const TMouseModeTool& m : kMouseModeTools) {
    auto* tool = new QToolButton(owner);
    tool->setObjectName(QString::fromLatin1(m.name));
    tool->setIcon(KolmaIcon(m.icon));
    tool->setToolTip(QString::fromLatin1(m.text));
    tool->setAccessibleName(QString::fromLatin1(m.text));
    tool->setCheckable(true);
    tool->setChecked(noneFirst && m.mode == maNone);
    tool->setAutoRaise(true);
    group->addButton(tool, m.mode);
    row->addWidget(tool);
  }
  QObject::connect(group, &QButtonGroup::idClicked, owner,
                   [chosen = std::move(chosen)](int mode) { chosen(static_cast<MouseActMode>(mode)); });
  return group;
}

}  // namespace kolma::ui
