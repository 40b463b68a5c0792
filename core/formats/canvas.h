#pragma once
// The drawing surface a picture is painted through, so that the same painting code
// draws on the screen (an adapter of the window toolkit) and into a metafile.
//
// Coordinates are integer pixels, x to the right and y downwards from the top-left
// corner of the picture. Text is UTF-8.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kolma {

struct TColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const TColor&, const TColor&) = default;
};

struct TPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

enum class TPenStyle { Solid, Dash, Dot, DashDot, DashDotDot, None };

struct TPen {
  TColor color{};
  int width = 1;  // pixels; 0 and 1 both give the thinnest line
  TPenStyle style = TPenStyle::Solid;
  friend bool operator==(const TPen&, const TPen&) = default;
};

enum class TBrushStyle { Solid, None };

struct TBrush {
  TColor color{255, 255, 255};
  TBrushStyle style = TBrushStyle::Solid;
  friend bool operator==(const TBrush&, const TBrush&) = default;
};

struct TFont {
  std::string family = "Arial";
  int height = 12;  // character (em) height in pixels
  bool bold = false;
  TColor color{};   // of the text drawn with this font
  friend bool operator==(const TFont&, const TFont&) = default;
};

// Where the point given to Text lies on the text.
enum class THorizontalAlign { Left, Center, Right };
enum class TVerticalAlign { Top, Baseline, Bottom };

struct TTextAlign {
  THorizontalAlign horizontal = THorizontalAlign::Left;
  TVerticalAlign vertical = TVerticalAlign::Top;
  friend bool operator==(const TTextAlign&, const TTextAlign&) = default;
};

// The state (pen, brush, font, current position) stays until changed. At start: a
// black solid pen of width 1, a white solid brush, Arial 12 pixels black, position (0, 0).
// Text is drawn on a transparent background.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  virtual void SetPen(const TPen& pen) = 0;
  virtual void SetBrush(const TBrush& brush) = 0;
  virtual void SetFont(const TFont& font) = 0;

  virtual void MoveTo(TPoint point) = 0;
  // A line from the current position to point, which becomes the current position.
  virtual void LineTo(TPoint point) = 0;
  // Open line through the points, with the pen; the current position is left alone.
  virtual void Polyline(std::span<const TPoint> points) = 0;
  // Closed shape filled with the brush and outlined with the pen.
  virtual void Polygon(std::span<const TPoint> points) = 0;
  // The polygon through the four corners (left, top) to (right, bottom).
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void Text(TPoint point, std::string_view text, TTextAlign align = {}) = 0;
};

}  // namespace kolma
