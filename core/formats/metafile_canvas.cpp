#include "core/formats/metafile_canvas.h"

#include <algorithm>
#include <limits>

#include "core/formats/unicode_text.h"

namespace kolma {

namespace {

constexpr std::uint16_t kSetBkMode = 0x0102;
constexpr std::uint16_t kSetTextAlign = 0x012E;
constexpr std::uint16_t kSetTextColor = 0x0209;
constexpr std::uint16_t kSetWindowOrg = 0x020B;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kLineTo = 0x0213;
constexpr std::uint16_t kMoveTo = 0x0214;
constexpr std::uint16_t kSelectObject = 0x012D;
constexpr std::uint16_t kDeleteObject = 0x01F0;
constexpr std::uint16_t kCreatePen = 0x02FA;
constexpr std::uint16_t kCreateBrush = 0x02FC;
constexpr std::uint16_t kCreateFont = 0x02FB;
constexpr std::uint16_t kPolygon = 0x0324;
constexpr std::uint16_t kPolyline = 0x0325;
constexpr std::uint16_t kTextOut = 0x0521;
constexpr std::uint16_t kEndOfFile = 0x0000;

constexpr std::int16_t kTransparent = 1;
constexpr std::size_t kMaxPoints = 32767;
constexpr std::size_t kMaxTextBytes = 32767;
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;

std::int16_t Coordinate(int value) {
  return static_cast<std::int16_t>(
      std::clamp(value, int{std::numeric_limits<std::int16_t>::min()}, int{std::numeric_limits<std::int16_t>::max()}));
}

void ColorRef(TByteWriter& out, TColor color) {
  out.U8(color.red);
  out.U8(color.green);
  out.U8(color.blue);
  out.U8(0);
}

std::uint16_t PenStyleCode(TPenStyle style) {
  switch (style) {
    case TPenStyle::Solid: return 0;
    case TPenStyle::Dash: return 1;
    case TPenStyle::Dot: return 2;
    case TPenStyle::DashDot: return 3;
    case TPenStyle::DashDotDot: return 4;
    case TPenStyle::None: return 5;
  }
  return 0;
}

std::uint16_t TextAlignCode(TTextAlign align) {
  std::uint16_t code = 0;  // left, top
  if (align.horizontal == THorizontalAlign::Right) code |= 0x0002;
  if (align.horizontal == THorizontalAlign::Center) code |= 0x0006;
  if (align.vertical == TVerticalAlign::Bottom) code |= 0x0008;
  if (align.vertical == TVerticalAlign::Baseline) code |= 0x0018;
  return code;
}

}  // namespace

TMetafileCanvas::TMetafileCanvas(int width, int height, int dotsPerInch)
    : width_(std::clamp(width, 1, 32767)),
      height_(std::clamp(height, 1, 32767)),
      dotsPerInch_(std::clamp(dotsPerInch, 1, 32767)) {
  // One logical unit per pixel, whatever the device the picture is played on.
  Record(kSetWindowOrg, {0, 0});
  Record(kSetWindowExt, {Coordinate(height_), Coordinate(width_)});
  Record(kSetBkMode, {kTransparent});
}

void TMetafileCanvas::Record(std::uint16_t function, std::span<const std::uint8_t> parameters) {
  const std::size_t words = 3 + (parameters.size() + 1) / 2;
  records_.U32(static_cast<std::uint32_t>(words));
  records_.U16(function);
  records_.Bytes(parameters);
  if (parameters.size() % 2 != 0) records_.U8(0);
  largestRecordWords_ = std::max(largestRecordWords_, static_cast<std::uint32_t>(words));
}

void TMetafileCanvas::Record(std::uint16_t function, std::initializer_list<std::int16_t> parameters) {
  TByteWriter data;
  for (std::int16_t value : parameters) data.I16(value);
  Record(function, data.Data());
}

int TMetafileCanvas::CreateObject(std::uint16_t function, std::span<const std::uint8_t> parameters) {
  // A player puts a new object in the lowest free slot of its table; the selection
  // and deletion records refer to it by that slot.
  const auto free = std::find(slots_.begin(), slots_.end(), false);
  const int slot = static_cast<int>(free - slots_.begin());
  if (free == slots_.end())
    slots_.push_back(true);
  else
    *free = true;
  Record(function, parameters);
  return slot;
}

void TMetafileCanvas::Replace(std::optional<int>& slot, int created) {
  Record(kSelectObject, {static_cast<std::int16_t>(created)});
  // The old object is no longer selected once the new one is: it can go.
  if (slot) {
    Record(kDeleteObject, {static_cast<std::int16_t>(*slot)});
    slots_[static_cast<std::size_t>(*slot)] = false;
  }
  slot = created;
}

void TMetafileCanvas::UsePen() {
  if (penSlot_ && recordedPen_ == pen_) return;
  TByteWriter data;
  data.U16(PenStyleCode(pen_.style));
  data.I16(Coordinate(std::max(pen_.width, 0)));
  data.I16(0);
  ColorRef(data, pen_.color);
  Replace(penSlot_, CreateObject(kCreatePen, data.Data()));
  recordedPen_ = pen_;
}

void TMetafileCanvas::UseBrush() {
  if (brushSlot_ && recordedBrush_ == brush_) return;
  TByteWriter data;
  data.U16(brush_.style == TBrushStyle::Solid ? 0 : 1);
  ColorRef(data, brush_.color);
  data.U16(0);  // hatch: unused by solid and hollow brushes
  Replace(brushSlot_, CreateObject(kCreateBrush, data.Data()));
  recordedBrush_ = brush_;
}

void TMetafileCanvas::UseTextSettings() {
  const bool sameFont = fontSlot_ && recordedFont_.family == font_.family && recordedFont_.height == font_.height &&
                        recordedFont_.bold == font_.bold;
  if (!sameFont) {
    TByteWriter data;
    data.I16(Coordinate(-std::max(font_.height, 1)));  // negative: character height, not cell height
    data.I16(0);                                      // width: natural
    data.I16(0);                                      // escapement
    data.I16(0);                                      // orientation
    data.I16(font_.bold ? 700 : 400);
    data.U8(0);  // italic
    data.U8(0);  // underline
    data.U8(0);  // strike-out
    data.U8(0);  // ANSI character set, matching the Windows-1252 text
    data.U8(0);  // output precision
    data.U8(0);  // clipping precision
    data.U8(0);  // quality
    data.U8(0);  // pitch and family
    std::string face = Utf8ToWindows1252(font_.family).substr(0, 31);
    face.resize(32, '\0');
    for (char c : face) data.U8(static_cast<std::uint8_t>(c));
    Replace(fontSlot_, CreateObject(kCreateFont, data.Data()));
    recordedFont_ = font_;
  }
  if (recordedTextColor_ != font_.color) {
    TByteWriter data;
    ColorRef(data, font_.color);
    Record(kSetTextColor, data.Data());
    recordedTextColor_ = font_.color;
  }
}

void TMetafileCanvas::MoveTo(TPoint point) { position_ = point; }

void TMetafileCanvas::LineTo(TPoint point) {
  UsePen();
  // The player's current position only matters to LineTo: bring it where ours is.
  if (recordedPosition_ != position_) Record(kMoveTo, {Coordinate(position_.y), Coordinate(position_.x)});
  Record(kLineTo, {Coordinate(point.y), Coordinate(point.x)});
  position_ = point;
  recordedPosition_ = point;
}

void TMetafileCanvas::PointsRecord(std::uint16_t function, std::span<const TPoint> points) {
  TByteWriter data;
  data.I16(static_cast<std::int16_t>(points.size()));
  for (TPoint p : points) {
    data.I16(Coordinate(p.x));
    data.I16(Coordinate(p.y));
  }
  Record(function, data.Data());
}

void TMetafileCanvas::Polyline(std::span<const TPoint> points) {
  if (points.size() < 2) return;
  UsePen();
  // Pieces share their end points, so the line stays unbroken.
  for (std::size_t first = 0; first + 1 < points.size(); first += kMaxPoints - 1)
    PointsRecord(kPolyline, points.subspan(first, std::min(kMaxPoints, points.size() - first)));
}

void TMetafileCanvas::Polygon(std::span<const TPoint> points) {
  if (points.size() < 2) return;
  if (points.size() > kMaxPoints) {
    std::vector<TPoint> closed(points.begin(), points.end());
    closed.push_back(points.front());
    Polyline(closed);
    return;
  }
  UsePen();
  UseBrush();
  PointsRecord(kPolygon, points);
}

void TMetafileCanvas::Rectangle(int left, int top, int right, int bottom) {
  const TPoint corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  Polygon(corners);
}

void TMetafileCanvas::Text(TPoint point, std::string_view text, TTextAlign align) {
  std::string bytes = Utf8ToWindows1252(text);
  if (bytes.empty()) return;
  if (bytes.size() > kMaxTextBytes) bytes.resize(kMaxTextBytes);
  UseTextSettings();
  if (recordedAlign_ != align) {
    Record(kSetTextAlign, {static_cast<std::int16_t>(TextAlignCode(align))});
    recordedAlign_ = align;
  }
  TByteWriter data;
  data.I16(static_cast<std::int16_t>(bytes.size()));
  for (char c : bytes) data.U8(static_cast<std::uint8_t>(c));
  if (bytes.size() % 2 != 0) data.U8(0);
  data.I16(Coordinate(point.y));
  data.I16(Coordinate(point.x));
  Record(kTextOut, data.Data());
}

std::vector<std::uint8_t> TMetafileCanvas::MetafileBytes() const {
  constexpr std::uint32_t kHeaderWords = 9;
  constexpr std::uint32_t kEndWords = 3;
  TByteWriter out;
  out.Reserve(records_.Size() + 2 * (kHeaderWords + kEndWords));
  out.U16(1);  // kept in memory (the form files use too)
  out.U16(static_cast<std::uint16_t>(kHeaderWords));
  out.U16(0x0300);  // version with device-independent bitmaps
  out.U32(static_cast<std::uint32_t>(kHeaderWords + records_.Size() / 2 + kEndWords));
  out.U16(static_cast<std::uint16_t>(slots_.size()));  // objects alive at most at once
  out.U32(largestRecordWords_);
  out.U16(0);
  out.Bytes(records_.Data());
  out.U32(kEndWords);
  out.U16(kEndOfFile);
  return out.Take();
}

std::vector<std::uint8_t> TMetafileCanvas::PlaceableBytes() const {
  TByteWriter header;
  header.U32(kPlaceableKey);
  header.U16(0);  // handle: unused in a file
  header.I16(0);  // bounding box: left, top, right, bottom in logical units
  header.I16(0);
  header.I16(Coordinate(width_));
  header.I16(Coordinate(height_));
  header.U16(static_cast<std::uint16_t>(dotsPerInch_));  // logical units per inch
  header.U32(0);
  std::uint16_t checksum = 0;
  const std::vector<std::uint8_t>& bytes = header.Data();
  for (std::size_t i = 0; i < bytes.size(); i += 2)
    checksum ^= static_cast<std::uint16_t>(bytes[i] | (bytes[i + 1] << 8));
  header.U16(checksum);
  header.Bytes(MetafileBytes());
  return header.Take();
}

}  // namespace kolma
