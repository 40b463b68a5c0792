#pragma once
// The four mouse modes every chart window offers, with the names, captions and icons of
// their buttons, in the order the windows show them: None, Zoom, Pan, Drag.
#include <array>
#include <functional>

#include "ui/widgets/chart_items.h"
#include "ui/widgets/icons.h"

class QBoxLayout;
class QButtonGroup;
class QWidget;

namespace kolma::ui {

struct TMouseModeTool {
  const char* name;  // objectName of the button
  const char* text;  // caption, tool tip and accessible name
  MouseActMode mode;
  TIconKind icon;
};

inline constexpr std::array<TMouseModeTool, 4> kMouseModeTools = {{
    {"ToolNone", "None", maNone, TIconKind::MouseNone},
    {"ToolZoom", "Zoom", maZoomWindPos, TIconKind::Zoom},
    {"ToolPan", "Pan", maPan, TIconKind::Pan},
    {"ToolDrag", "Drag", maZoomDrag, TIconKind::Drag},
}};

// Adds the four mode buttons (checkable tool buttons with icon, tool tip and accessible
// name) to `row` as one radio group owned by `owner`; a click hands the mode to `chosen`.
// With noneFirst, "None" is pressed at start; otherwise no button is.
QButtonGroup* AddMouseModeButtons(QWidget* owner, QBoxLayout* row, bool noneFirst,
                                  std::function<void(MouseActMode)> chosen);

}  // namespace kolma::ui
