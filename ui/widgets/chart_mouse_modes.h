#pragma once
// The four mouse modes every chart window offers, with the names, captions and icons of
// their buttons.
#include <array>

#include "ui/widgets/chart_items.h"
#include "ui/widgets/icons.h"

namespace kolma::ui {

struct TMouseModeTool {
  const char* name;  // objectName of the button
  const char* text;  // caption, tool tip and accessible name
  MouseActMode mode;
  TIconKind icon;
};

inline constexpr std::array<TMouseModeTool, 4> kMouseModeTools = {{
    {"ToolNone", "None", maNone, TIconKind::MouseNone},
    {"ToolPan", "Pan", maPan, TIconKind::Pan},
    {"ToolZoom", "Zoom", maZoomWindPos, TIconKind::Zoom},
    {"ToolDrag", "Drag", maZoomDrag, TIconKind::Drag},
}};

}  // namespace kolma::ui
