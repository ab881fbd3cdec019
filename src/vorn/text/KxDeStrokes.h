#pragma once
// The strokes of one character: straight segments in font design units (y upwards), numbered by
// the contour (closed polygon) they belong to, with the glyph's metrics.

#include "vorn/common/Object.h"
#include "vorn/common/Records.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace vorn {

// One straight segment of a character's outline, in font design units.
struct TKxDeFontStroke {
  int32_t GlyphNumber = 0;  // the contour, from 0
  TPointF P1;
  TPointF P2;
  friend bool operator==(const TKxDeFontStroke&, const TKxDeFontStroke&) = default;
};
using PKxDeFontStroke = TKxDeFontStroke*;
static_assert(sizeof(TKxDeFontStroke) == 20, "a stroke record is 20 bytes");

// Called for stroke 0, 1, … while it returns true.
using TEnumKxDeStrokesCallback = std::function<bool(int32_t Index, const TKxDeFontStroke& Stroke)>;

class TKxDeStrokes : public TObject {
  VORN_OBJECT(TKxDeStrokes, TObject)

 public:
  TKxDeStrokes() = default;

  // The list of owned stroke records.
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  // Record I, or null outside the list.
  const TKxDeFontStroke* Items(int32_t I) const;
  // Appends a record and takes it over; returns its index.
  int32_t Add(std::unique_ptr<TKxDeFontStroke> Stroke);

  void ClearStrokes();
  void EnumStrokes(const TEnumKxDeStrokesCallback& Callback) const;
  // A copy of record I; raises an exception outside the list.
  TKxDeFontStroke GetKxDeFontStroke(int32_t I) const;
  // 0 without strokes, else the last stroke's contour number + 1.
  int32_t GetNumGlyphs() const;
  // Index of the first stroke of contour N; -1 when N is out of range or has no strokes.
  int32_t StartOfGlyph(int32_t N) const;
  // Number of strokes of contour N; -1 when it has none.
  int32_t GlyphNumStrokes(int32_t N) const;
  // The strokes' bounding rectangle; without strokes (0, 0, BlackBoxX, BlackBoxY / 3).
  TRectF GetBounds() const;
  // The advance: CellIncX with strokes, else BlackBoxX (the text extent of an empty glyph).
  double GetCellIncX2() const;

  // The glyph's advance (16-bit, sign-extended).
  int32_t CellIncX = 0;
  int32_t CellIncY = 0;
  // The black box; for a glyph without outline, the width and height of its text extent.
  int32_t BlackBoxX = 0;
  int32_t BlackBoxY = 0;
  // The black box's upper-left corner relative to the character origin.
  int32_t GlyphOriginX = 0;
  int32_t GlyphOriginY = 0;

 protected:
  ~TKxDeStrokes() override = default;

 private:
  std::vector<std::unique_ptr<TKxDeFontStroke>> FItems;
};

}  // namespace vorn
