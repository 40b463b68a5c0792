// One scene painted through the drawing surface lands on the screen image and in the
// metafile alike.
#include "ui/widgets/painter_canvas.h"

#include <QImage>
#include <gtest/gtest.h>

#include "core/formats/metafile_canvas.h"

namespace {

void PaintScene(kolma::TCanvas& canvas) {
  canvas.SetPen(kolma::TPen{{0, 0, 0}, 1});
  canvas.SetBrush(kolma::TBrush{{255, 0, 0}});
  const kolma::TPoint triangle[] = {{10, 10}, {90, 10}, {50, 80}};
  canvas.Polygon(triangle);
  canvas.SetBrush(kolma::TBrush{{0, 0, 255}});
  canvas.Rectangle(120, 20, 180, 70);
  canvas.SetPen(kolma::TPen{{0, 128, 0}, 3});
  canvas.MoveTo({10, 100});
  canvas.LineTo({190, 100});
  canvas.SetFont(kolma::TFont{"Arial", 14, true, {0, 0, 0}});
  canvas.Text({100, 130}, "T (°C)", {kolma::THorizontalAlign::Center, kolma::TVerticalAlign::Top});
}

TEST(PainterCanvas, PaintsTheSameSceneAsTheMetafile) {
  QImage image(200, 160, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    kolma::ui::TPainterCanvas canvas(painter);
    PaintScene(canvas);
  }
  EXPECT_EQ(image.pixelColor(50, 30), QColor(255, 0, 0));   // inside the triangle
  EXPECT_EQ(image.pixelColor(150, 45), QColor(0, 0, 255));  // inside the rectangle
  EXPECT_EQ(image.pixelColor(100, 100), QColor(0, 128, 0)); // on the thick line
  EXPECT_EQ(image.pixelColor(10, 150), QColor(Qt::white));
  int dark = 0;  // the text below the line
  for (int y = 128; y < 150; ++y)
    for (int x = 70; x < 130; ++x) dark += qGray(image.pixel(x, y)) < 100;
  EXPECT_GT(dark, 20);

  kolma::TMetafileCanvas metafile(200, 160);
  PaintScene(metafile);
  EXPECT_GT(metafile.PlaceableBytes().size(), 22u + 18u);
}

}  // namespace
