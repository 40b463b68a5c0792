#pragma once
// TPlot3D: the program's 3-D surface plot. Shows z = f(x, y), given as a matrix of heights over
// a regular grid, in perspective inside a bounding box with three scaled axes, colour-codes the
// surface by height, and lets the user turn, tilt, zoom and pan it with the mouse.
//
// The picture is computed by TPlot3DScene and painted through the core's TCanvas, so the
// screen, the bitmap copy and the metafile show the same drawing.
#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include "core/formats/metafile_export.h"
#include "core/numeric/matrix.h"
#include "ui/widgets/plot3d_types.h"

namespace kolma {
class TCanvas;
}  // namespace kolma

namespace kolma::ui {

class TPlot3D : public QWidget {
  Q_OBJECT

 public:
  explicit TPlot3D(QWidget* parent = nullptr);
  ~TPlot3D() override;

  // ---- Data ---------------------------------------------------------------------------------
  // The heights, owned by the plot: the caller resizes and fills it. Column c (1..C) lies along
  // X, row r (1..R) along Y; columns spread evenly over RangeXLow..RangeXHigh, rows over
  // RangeYLow..RangeYHigh. Changes through its methods (Resize, SetElement, Fill) repaint the
  // plot; after writing through Data(), call update(). A grid of fewer than 2 columns or 2 rows
  // draws no surface (the box, the axes and EmptyText still show).
  TMatrix& SurfaceGrid();
  const TMatrix& SurfaceGrid() const;
  // A line of text centred in the plot, drawn over the box; empty (the default) draws nothing.
  // For a view that has no surface to show, saying why.
  QString EmptyText() const;
  void SetEmptyText(const QString& text);

  // ---- Ranges (world units). A range of zero width is widened to show something. ------------
  double RangeXLow() const;
  double RangeXHigh() const;
  double RangeYLow() const;
  double RangeYHigh() const;
  double RangeZLow() const;
  double RangeZHigh() const;
  void SetRangeXLow(double v);
  void SetRangeXHigh(double v);
  void SetRangeYLow(double v);
  void SetRangeYHigh(double v);
  void SetRangeZLow(double v);
  void SetRangeZHigh(double v);

  // ---- Colour coding --------------------------------------------------------------------------
  // Heights from ColorScaleLow to ColorScaleHigh map continuously from ColorLow to ColorHigh
  // (through ColorMid at the middle in three-colour mode); heights outside take the end colour.
  TColorCodingMode ColorCodingMode() const;
  void SetColorCodingMode(TColorCodingMode mode);
  QColor ColorLow() const;
  QColor ColorMid() const;
  QColor ColorHigh() const;
  void SetColorLow(const QColor& c);
  void SetColorMid(const QColor& c);
  void SetColorHigh(const QColor& c);
  double ColorScaleLow() const;
  double ColorScaleHigh() const;
  void SetColorScaleLow(double v);
  void SetColorScaleHigh(double v);
  // true: each cell is coloured by the mean of its four corners; false: by its first corner
  // (column c, row r).
  bool ColorCodeAvg() const;
  void SetColorCodeAvg(bool on);

  // ---- Bounding box -------------------------------------------------------------------------
  TBoundBoxStyle BoundBoxStyle() const;
  void SetBoundBoxStyle(TBoundBoxStyle style);
  QColor ColorCubeFrame() const;   // the visible edges
  QColor ColorCubeHidLin() const;  // the three edges at the far corner, behind the surface
  QColor ColorCubeFaceLow() const;   // floor of the box (bbFaces)
  QColor ColorCubeFaceHigh() const;  // the two back walls (bbFaces)
  void SetColorCubeFrame(const QColor& c);
  void SetColorCubeHidLin(const QColor& c);
  void SetColorCubeFaceLow(const QColor& c);
  void SetColorCubeFaceHigh(const QColor& c);

  // ---- Axes ---------------------------------------------------------------------------------
  bool VisibleXCoords() const;
  bool VisibleYCoords() const;
  bool VisibleZCoords() const;
  void SetVisibleXCoords(bool on);
  void SetVisibleYCoords(bool on);
  void SetVisibleZCoords(bool on);
  QColor ColorXCoords() const;
  QColor ColorYCoords() const;
  QColor ColorZCoords() const;
  void SetColorXCoords(const QColor& c);
  void SetColorYCoords(const QColor& c);
  void SetColorZCoords(const QColor& c);
  // Decimals of the tick labels, 0..10.
  int DecPlaceX() const;
  int DecPlaceY() const;
  int DecPlaceZ() const;
  void SetDecPlaceX(int d);
  void SetDecPlaceY(int d);
  void SetDecPlaceZ(int d);
  // The least number of labelled ticks wanted on the axis (1..20); the ticks sit on round values.
  int MinTickX() const;
  int MinTickY() const;
  int MinTickZ() const;
  void SetMinTickX(int n);
  void SetMinTickY(int n);
  void SetMinTickZ(int n);
  // What each axis measures, with its unit ("Time (h)"): written beyond the axis numbers,
  // in the axis colour, in the picture and in its copies. Empty: no title.
  QString AxisTitle(int axis) const;  // 0 X, 1 Y, 2 Z
  void SetAxisTitle(int axis, const QString& title);

  // ---- View ---------------------------------------------------------------------------------
  // Tilt in degrees: 0 looks straight down, 90 from the side. Any value is taken modulo 360.
  double ViewAngleX() const;
  void SetViewAngleX(double degrees);
  // Turn about the vertical axis in degrees (where the viewer stands, counter-clockwise from the
  // X axis), taken modulo 360.
  double ViewAngleZ() const;
  void SetViewAngleZ(double degrees);
  // Kept within MinMagnification..MaxMagnification.
  double Magnification() const;
  void SetMagnification(double v);
  static constexpr double MinMagnification = 0.05;
  static constexpr double MaxMagnification = 20.0;
  // Stretch of each axis of the box, kept within 0.01..100.
  double ScaleFactX() const;
  double ScaleFactY() const;
  double ScaleFactZ() const;
  void SetScaleFactX(double v);
  void SetScaleFactY(double v);
  void SetScaleFactZ(double v);
  // Pixel position of the plot centre in the control.
  int CentX() const;
  int CentY() const;
  void SetCentX(int px);
  void SetCentY(int px);

  // ---- Appearance and mouse -------------------------------------------------------------------
  QColor ColorBakGnd() const;
  void SetColorBakGnd(const QColor& c);
  // The outline of each surface cell, drawn when MeshVisible.
  QColor ColorMesh() const;
  void SetColorMesh(const QColor& c);
  bool MeshVisible() const;
  void SetMeshVisible(bool on);
  T3DMouseAction MouseAction() const;
  void SetMouseAction(T3DMouseAction action);

  // ---- Operations ---------------------------------------------------------------------------
  // true: property changes do not repaint; false: repaints once. Calls do not nest.
  void SuspendPainting(bool suspend);
  bool PaintingSuspended() const;
  // Centre to the middle of the control, tilt 66, turn 135, scale factors and magnification 1.
  void ResetView();
  // The picture at the control's size on the clipboard, twice: as a Windows Metafile under the
  // MIME type "image/x-wmf" (a vector picture for programs that read it) and as a bitmap of the
  // same picture (for the many programs that read only bitmaps).
  void CopyMetafileToClipboard();
  // The picture written as a placeable .wmf file; the name's extension is replaced by ".wmf".
  // Says whether it worked, why not, and the file written.
  TMetafileExport ExportMetafile(const QString& fileName);

  // ---- The picture, for the copies, tests and benchmarks ----------------------------------------
  // Paints the whole plot, at the control's size, onto the canvas.
  void Paint(TCanvas& canvas) const;
  TMetafileCanvas RenderMetafile() const;
  QImage RenderImage() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // A mouse drag has changed the view: the new centre, tilt, turn and magnification, and the
  // modifier keys held.
  void OnMouseAction(int centerX, int centerY, double rotXAngle, double rotZAngle, double magnification,
                     Qt::KeyboardModifiers shift);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Changed();

  struct TPrivate;
  TPrivate* d_;
};

}  // namespace kolma::ui
