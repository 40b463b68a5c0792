#pragma once
// The drawing surface of the core painted with a QPainter: the same painting code that
// writes a metafile draws on the screen or into an image.
#include <QPainter>

#include "core/formats/canvas.h"

namespace kolma::ui {

// Colours between the drawing interface and Qt.
QColor ToQt(TColor c);
TColor ToCore(const QColor& c);

class TPainterCanvas final : public TCanvas {
 public:
  // The painter must outlive the canvas; its state is restored when the canvas goes.
  explicit TPainterCanvas(QPainter& painter);
  ~TPainterCanvas() override;

  void SetPen(const TPen& pen) override;
  void SetBrush(const TBrush& brush) override;
  void SetFont(const TFont& font) override;
  void MoveTo(TPoint point) override;
  void LineTo(TPoint point) override;
  void Polyline(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Text(TPoint point, std::string_view text, TTextAlign align = {}) override;

 private:
  QPainter& painter_;
  QPoint position_;
  QColor textColor_;
};

}  // namespace kolma::ui
