#pragma once
// Toolbar and menu icons, painted in code so that they stay sharp at every size and
// need no image files.
#include <QIcon>
#include <QImage>

class QPainter;
class QRectF;

namespace kolma::ui {

enum class TIconKind {
  Open,
  Save,
  SaveAs,
  Exit,
  MouseNone,
  Pan,
  Zoom,
  Drag,
  Section,
  Upstream,
  Downstream,
  Inside,
  Options,
  StartAnalysis,
  Harmonics,
  ProfileChart,
  TimeChart,
  Decomposition,
  Surface3D,
  Spreadsheet,
  Compare,
  About,
  Help,
};

// Paints one icon into box (any size; drawn on a 32 x 32 design grid).
void PaintIcon(QPainter& painter, TIconKind kind, const QRectF& box);

// The icon at the usual toolbar and menu sizes.
QIcon KolmaIcon(TIconKind kind);

// The program's own icon: a dam profile with a thermometer, size x size pixels.
QImage KolmaLogo(int size);

}  // namespace kolma::ui
