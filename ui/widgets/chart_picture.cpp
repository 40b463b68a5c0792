#include "ui/widgets/chart_picture.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "ui/widgets/prompts.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {

namespace {

const QString kTitle = QStringLiteral("Save picture");

// Vector pages use the screen's resolution, so that fonts and line widths keep their size
// against the chart's pixels.
bool PaintSvg(const TRChart& chart, QIODevice& device) {
  QSvgGenerator svg;
  svg.setOutputDevice(&device);
  svg.setResolution(chart.logicalDpiX());
  svg.setSize(chart.size());
  svg.setViewBox(chart.rect());
  svg.setTitle(chart.Caption());
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  chart.PaintPicture(painter, false);
  return painter.end();
}

bool PaintPdf(const TRChart& chart, QIODevice& device) {
  QPdfWriter pdf(&device);
  const int dpi = chart.logicalDpiX();
  pdf.setResolution(dpi);
  pdf.setPageSize(QPageSize(QSizeF(chart.width() * 72.0 / dpi, chart.height() * 72.0 / dpi), QPageSize::Point,
                            QString(), QPageSize::ExactMatch));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  pdf.setTitle(chart.Caption());
  pdf.setCreator(QStringLiteral("KOLMA"));
  QPainter painter;
  if (!painter.begin(&pdf)) return false;
  chart.PaintPicture(painter, false);
  return painter.end();
}

}  // namespace

QString WriteChartPicture(const TRChart& chart, const QString& fileName) {
  if (chart.width() <= 0 || chart.height() <= 0) return QStringLiteral("The chart has no size.");
  QString path = fileName;
  QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix.isEmpty()) {
    path += QStringLiteral(".png");
    suffix = QStringLiteral("png");
  }
  if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") && suffix != QLatin1String("pdf"))
    return QStringLiteral("Unknown picture format \".%1\": use .png, .svg or .pdf.").arg(suffix);

  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  bool painted = false;
  if (suffix == QLatin1String("png"))
    painted = chart.RenderPicture(false).save(&file, "PNG");
  else if (suffix == QLatin1String("svg"))
    painted = PaintSvg(chart, file);
  else
    painted = PaintPdf(chart, file);
  if (!painted || file.error() != QFileDevice::NoError) {
    const QString reason = file.error() != QFileDevice::NoError ? file.errorString()
                                                                 : QStringLiteral("The picture could not be drawn.");
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return file.errorString();
  return {};
}

bool SaveChartPicture(const TRChart& chart, QWidget* parent) {
  const QString fileName =
      Prompts().SaveFileName(parent, kTitle, QStringLiteral("PNG picture|*.png|SVG picture|*.svg|PDF document|*.pdf"),
                             QStringLiteral("png"), true);
  if (fileName.isEmpty()) return false;
  const QString reason = WriteChartPicture(chart, fileName);
  if (reason.isEmpty()) return true;
  Prompts().Message(parent, PromptIcon::Warning, kTitle,
                    QStringLiteral("The picture could not be saved to %1:\n%2").arg(fileName, reason));
  return false;
}

}  // namespace kolma::ui
