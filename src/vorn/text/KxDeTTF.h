#pragma once
// TKxDeTTF turns one character of an outline font into straight strokes in font design units:
// the glyph is taken from the font selected at the size of its EM square, its quadratic outline
// is walked contour by contour and every curve piece is flattened into SplinePrecision segments.

#include "vorn/common/Canvas.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"
#include "vorn/text/KxDeStrokes.h"

#include <QByteArray>

#include <cstdint>
#include <memory>

namespace vorn {

class TKxDeTTF : public TObject {
  VORN_OBJECT(TKxDeTTF, TObject)
  Q_PROPERTY(int32_t SplinePrecision READ SplinePrecision WRITE SetSplinePrecision)

 public:
  // Line and quadratic records, and the polygon header type, of the native outline layout.
  static constexpr uint16_t TT_PRIM_LINE = 1;
  static constexpr uint16_t TT_PRIM_QSPLINE = 2;
  static constexpr uint32_t TT_POLYGON_TYPE = 24;

  TKxDeTTF();

  // The owned font whose characters are outlined (initially the family "Swiss 721").
  TFont* Font() const { return FFont.get(); }
  virtual void SetFont(const TFont* Value);
  int32_t SplinePrecision() const { return FSplinePrecision; }
  // Segments per curve piece, kept within 1 … 100.
  void SetSplinePrecision(int32_t Value);

  // The strokes of a character (a Unicode code point), owned by the caller; null when no font
  // can be selected, the glyph cannot be read as an outline or its outline is malformed. A
  // character without outline (a space, code 0) gives an empty list carrying its text extent.
  TOwned<TKxDeStrokes> GetCharacterGlyphs(int32_t Char);

  // Walks an outline in the native layout into Strokes, numbering its contours from 0. False when
  // the buffer is malformed: the first header is not a polygon, or a byte count or point count
  // runs past its polygon or the buffer. Nothing is read outside the buffer.
  bool ReadOutline(const char* Buffer, qsizetype Size, TKxDeStrokes* Strokes) const;
  bool ReadOutline(const QByteArray& Buffer, TKxDeStrokes* Strokes) const {
    return ReadOutline(Buffer.constData(), Buffer.size(), Strokes);
  }

  // Flattens the quadratic curve Start–Control–End into Strokes; Start receives the last point.
  void DrawQSpline(int32_t GlyphNumber, TPointF& Start, TKxDeStrokes* Strokes, const TPointF& End,
                   const TPointF& Control) const;
  static std::unique_ptr<TKxDeFontStroke> NewStroke(int32_t GlyphNumber, const TPointF& P1, const TPointF& P2);

 protected:
  ~TKxDeTTF() override;

 private:
  std::unique_ptr<TFont> FFont;
  int32_t FSplinePrecision = 5;
};

}  // namespace vorn
