#pragma once
// A canvas that records what is painted as a Windows Metafile (WMF): the vector
// picture format a .wmf file and the Windows clipboard carry.
//
// Pens, brushes and fonts become metafile objects only when a drawing needs them and
// they differ from the ones in use; the one replaced is deleted at once, so the
// object table stays at a handful of slots, reused lowest first.
#include <cstdint>
#include <optional>
#include <vector>

#include "core/model/byte_stream.h"
#include "core/formats/canvas.h"

namespace kolma {

class TMetafileCanvas final : public TCanvas {
 public:
  // A picture of width x height pixels (at least 1 each), meant to be shown at
  // dotsPerInch when it is placed in a document.
  TMetafileCanvas(int width, int height, int dotsPerInch = 96);

  void SetPen(const TPen& pen) override { pen_ = pen; }
  void SetBrush(const TBrush& brush) override { brush_ = brush; }
  void SetFont(const TFont& font) override { font_ = font; }
  void MoveTo(TPoint point) override;
  void LineTo(TPoint point) override;
  // Beyond 32767 points, the most a record holds, a polyline goes on in further
  // records, and a polygon is drawn as its outline only.
  void Polyline(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  // Windows-1252 text: characters that code page lacks become '?'; at most 32767 bytes.
  void Text(TPoint point, std::string_view text, TTextAlign align = {}) override;

  int Width() const { return width_; }
  int Height() const { return height_; }

  // The content of a .wmf file: the placement header (size and resolution), then the
  // metafile. Can be taken at any time; painting may go on afterwards.
  std::vector<std::uint8_t> PlaceableBytes() const;
  // The metafile alone, without the placement header, as the clipboard carries it.
  std::vector<std::uint8_t> MetafileBytes() const;

 private:
  void Record(std::uint16_t function, std::span<const std::uint8_t> parameters);
  void Record(std::uint16_t function, std::initializer_list<std::int16_t> parameters);
  int CreateObject(std::uint16_t function, std::span<const std::uint8_t> parameters);
  void Replace(std::optional<int>& slot, int created);
  void UsePen();
  void UseBrush();
  void UseTextSettings();
  void PointsRecord(std::uint16_t function, std::span<const TPoint> points);

  int width_;
  int height_;
  int dotsPerInch_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
  TPoint position_;

  // What the recorded metafile has selected, to leave out repeated selections.
  std::optional<int> penSlot_, brushSlot_, fontSlot_;
  TPen recordedPen_;
  TBrush recordedBrush_;
  TFont recordedFont_;
  std::optional<TColor> recordedTextColor_;
  std::optional<TTextAlign> recordedAlign_;
  std::optional<TPoint> recordedPosition_;

  std::vector<bool> slots_;  // object table: true where an object lives
  TByteWriter records_;
  std::uint32_t largestRecordWords_ = 3;  // the end-of-file record at least
};

}  // namespace kolma
