#pragma once
// The picture of the 3-D surface plot, free of the windowing toolkit so that it can be checked
// on its own: the projection of world points onto the control, the far-to-near order of the
// surface cells, their colours, the axis ticks, and the painting of it all onto a TCanvas.
//
// Geometry: the box spans the three ranges; each axis is normalised to a unit length times its
// scale factor and centred on the origin. The viewer stands at azimuth ViewAngleZ (degrees,
// counter-clockwise from the X axis) and looks down at the box from ViewAngleX degrees off the
// vertical (0: straight down, 90: from the side). The projection is central, from a viewpoint
// a few box sizes away, so that near edges are a little longer than far ones.
#include <array>
#include <string>
#include <vector>

#include "core/formats/canvas.h"
#include "core/numeric/matrix.h"
#include "ui/widgets/plot3d_types.h"

namespace kolma::ui {

struct TPlot3DAxis {
  double low = 0, high = 1;  // range, world units
  double scaleFact = 1;      // stretch of this side of the box
  bool visible = true;       // ticks and numbers shown
  TColor color{};
  int decPlace = 0;
  int minTick = 3;
};

struct TPlot3DSettings {
  std::array<TPlot3DAxis, 3> axes;  // X, Y, Z
  // UTF-8 titles of the axes, written beyond the numbers along their labelled edges.
  std::array<std::string, 3> axisTitles;

  TColorCodingMode colorCodingMode = TColorCodingMode::ccmThreeColors;
  TColor colorLow{0, 0, 255}, colorMid{255, 255, 0}, colorHigh{255, 0, 0};
  double colorScaleLow = 0, colorScaleHigh = 1;
  bool colorCodeAvg = true;

  TBoundBoxStyle boundBoxStyle = TBoundBoxStyle::bbFaces;
  TColor colorCubeFrame{64, 64, 64}, colorCubeHidLin{0, 0, 0};
  TColor colorCubeFaceLow{192, 192, 192}, colorCubeFaceHigh{238, 238, 254};

  double viewAngleX = 54, viewAngleZ = 225;  // degrees
  double magnification = 1;
  int centX = 200, centY = 200;  // pixels

  TColor colorBakGnd{240, 240, 240};
  TColor colorMesh{128, 0, 0};
  bool meshVisible = false;
  std::string emptyText;  // UTF-8, centred over the picture when not empty
};

// A world point on the control: continuous pixel coordinates (y downwards) and its depth,
// larger nearer the viewer.
struct TProjected {
  double x = 0, y = 0, depth = 0;
};

// A surface cell: the quadrilateral between columns c, c + 1 and rows r, r + 1 of the grid.
struct TCellIndex {
  int column = 1, row = 1;
  friend bool operator==(const TCellIndex&, const TCellIndex&) = default;
};

class TPlot3DScene {
 public:
  // The grid must outlive the scene. width, height: the control's size in pixels.
  TPlot3DScene(const TPlot3DSettings& settings, const TMatrix& grid, int width, int height);

  TProjected Project(double x, double y, double z) const;
  // Corner i (0..7) of the box: bit 0 chooses the high X end, bit 1 the high Y, bit 2 the high Z.
  TProjected Corner(int i) const;
  // Every cell of the grid, farthest from the viewer first: the order of painting that lets
  // nearer cells cover farther ones. Empty when the grid has fewer than 2 columns or rows.
  std::vector<TCellIndex> CellsFarToNear() const;
  // The colour of a height: ColorScaleLow..ColorScaleHigh run from ColorLow to ColorHigh
  // (through ColorMid at the middle in three-colour mode); beyond, the end colours.
  TColor HeightColor(double z) const;
  // A cell's colour: of the mean of its corners (ColorCodeAvg) or of its first corner.
  TColor CellColor(TCellIndex cell) const;
  // The numbered ticks of axis 0 (X), 1 (Y) or 2 (Z) at their world values, with their texts,
  // spaced for the axis's on-screen length; none when the axis is hidden.
  struct TAxisTick {
    double value = 0;
    std::string label;
  };
  std::vector<TAxisTick> AxisTicks(int axis) const;

  // The whole picture: background, box, surface, axes and the empty text. sealCells: each cell
  // also outlined in its own colour, for players that smooth the edges of a vector picture and
  // would show hairline seams between cells; a screen fills neighbouring cells seamlessly
  // without it, and faster.
  void Paint(TCanvas& canvas, bool sealCells = false) const;

 private:
  struct TEdge {
    int from, to;
  };
  double Normalised(int axis, double value) const;
  double EyeDistanceSquared(double u, double v, double w) const;
  TProjected ProjectNormalised(double u, double v, double w) const;
  bool FacesViewer(int axis, bool highSide) const;
  int AxisEdgeStart(int axis) const;  // the box corner where the labelled edge of an axis starts
  void PaintBackFaces(TCanvas& canvas) const;
  void PaintEdges(TCanvas& canvas, bool front) const;
  void PaintSurface(TCanvas& canvas, bool sealCells) const;
  void PaintAxis(TCanvas& canvas, int axis) const;

  const TPlot3DSettings& s_;
  const TMatrix& grid_;
  int width_, height_;
  double cosTurn_, sinTurn_, cosTilt_, sinTilt_;
  double pixelsPerUnit_;
  double eyeDistance_;
  std::array<double, 3> eye_;  // the viewpoint, in the box's normalised coordinates
};

}  // namespace kolma::ui
