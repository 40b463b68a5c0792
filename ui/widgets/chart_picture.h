#pragma once
// Pictures of a 2-D chart in files: PNG (the chart's own pixels, as the clipboard copy holds
// them), SVG and PDF (vector pictures painted by the same code that paints the chart).
#include <QString>

class QWidget;

namespace kolma::ui {

class TRChart;

// Writes the chart to `fileName` in the format of its extension (.png, .svg, .pdf; a name
// without one gets ".png"). The file is replaced only once the picture is complete, so a
// failure leaves any earlier file as it was. Returns an empty string on success, otherwise
// the reason.
QString WriteChartPicture(const TRChart& chart, const QString& fileName);

// "Save picture...": asks for a file name and writes the picture, showing why when that fails.
// Returns true when a picture was written.
bool SaveChartPicture(const TRChart& chart, QWidget* parent);

}  // namespace kolma::ui
