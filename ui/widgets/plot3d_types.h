#pragma once
// The enumerations of the 3-D surface plot, shared by the widget and its scene. Scoped, so
// that their names do not meet the 2-D chart's mouse modes.

namespace kolma::ui {

// What a drag with the left button (and, in maRotAndZoom, the right one) does to the view.
enum class T3DMouseAction { maNone, maRotate, maZoom, maRotAndZoom, maPan, maRotXOnly, maRotZOnly };

// Two colours: low to high; three colours: low to mid to high, mid at the middle height.
enum class TColorCodingMode { ccmTwoColors, ccmThreeColors };

// The box around the surface: none, its edges only, or its three back faces shaded.
enum class TBoundBoxStyle { bbNone, bbFrame, bbFaces };

}  // namespace kolma::ui
