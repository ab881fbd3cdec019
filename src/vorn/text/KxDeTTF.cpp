#include "vorn/text/KxDeTTF.h"

#include "vorn/common/KxDeUtils.h"
#include "vorn/common/Rounding.h"
#include "vorn/text/FontEngine_p.h"
#include "vorn/text/mekFontRef.h"

#include <algorithm>

namespace vorn {
namespace {

// Little-endian reads; the caller has checked the bounds.
uint16_t ReadU16(const char* P) {
  const auto* b = reinterpret_cast<const uint8_t*>(P);
  return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint32_t ReadU32(const char* P) { return ReadU16(P) | static_cast<uint32_t>(ReadU16(P + 2)) << 16; }

TPointF ReadPoint(const char* P) {
  return TPointF{static_cast<float>(TKxDeUtils::FixToFloat(static_cast<int32_t>(ReadU32(P)))),
                 static_cast<float>(TKxDeUtils::FixToFloat(static_cast<int32_t>(ReadU32(P + 4))))};
}

constexpr qsizetype kHeaderSize = 16;  // byte count, type, start point
constexpr qsizetype kCurveHeaderSize = 4;  // type, point count
constexpr qsizetype kPointSize = 8;

}  // namespace

TKxDeTTF::TKxDeTTF() : FFont(std::make_unique<TFont>()) { FFont->SetName(QStringLiteral("Swiss 721")); }

TKxDeTTF::~TKxDeTTF() = default;

void TKxDeTTF::SetFont(const TFont* Value) {
  if (Value) FFont->Assign(*Value);
}

void TKxDeTTF::SetSplinePrecision(int32_t Value) { FSplinePrecision = std::clamp(Value, 1, 100); }

std::unique_ptr<TKxDeFontStroke> TKxDeTTF::NewStroke(int32_t GlyphNumber, const TPointF& P1, const TPointF& P2) {
  return std::make_unique<TKxDeFontStroke>(TKxDeFontStroke{GlyphNumber, P1, P2});
}

void TKxDeTTF::DrawQSpline(int32_t GlyphNumber, TPointF& Start, TKxDeStrokes* Strokes, const TPointF& End,
                           const TPointF& Control) const {
  const double step = 1.0 / FSplinePrecision;
  const long double bx = Start.X, by = Start.Y, ax = Control.X, ay = Control.Y, cx = End.X, cy = End.Y;
  TPointF p = Start;
  double t = step;
  // Adding the step up can fall just short of 1 or pass it by an ulp (1/9, 1/20, …): the step
  // within half a step of the end is made to land on it exactly, so every piece ends on its end
  // point and gets its full number of segments.
  while (t <= 1 + step / 2) {
    if (t - step / 2 > 1 - step) t = 1;
    const TPointF q = p;
    const long double lt = t;
    p.X = static_cast<float>((bx - 2 * ax + cx) * lt * lt + (2 * ax - 2 * bx) * lt + bx);
    p.Y = static_cast<float>((by - 2 * ay + cy) * lt * lt + (2 * ay - 2 * by) * lt + by);
    if (!TKxDeUtils::EqualPoint(q, p) && Strokes) Strokes->Add(NewStroke(GlyphNumber, q, p));
    t += step;
  }
  Start = p;
}

bool TKxDeTTF::ReadOutline(const char* Buffer, qsizetype Size, TKxDeStrokes* Strokes) const {
  if (!Buffer || Size < kHeaderSize || !Strokes) return false;
  if (ReadU32(Buffer + 4) != TT_POLYGON_TYPE) return false;
  int32_t glyph = 0;
  qsizetype consumed = 0;
  while (consumed < Size - kHeaderSize) {
    const char* header = Buffer + consumed;
    const qsizetype polygonSize = ReadU32(header);
    if (polygonSize < kHeaderSize || polygonSize > Size - consumed) return false;
    const TPointF start = ReadPoint(header + 8);
    TPointF current = start;
    qsizetype at = kHeaderSize;
    while (at < polygonSize) {
      if (polygonSize - at < kCurveHeaderSize) return false;
      const char* curve = header + at;
      const uint16_t type = ReadU16(curve);
      const uint16_t n = ReadU16(curve + 2);
      const qsizetype recordSize = kCurveHeaderSize + kPointSize * n;
      if (recordSize > polygonSize - at) return false;
      const char* pts = curve + kCurveHeaderSize;
      if (type == TT_PRIM_LINE) {
        for (uint16_t i = 0; i < n; ++i) {
          const TPointF p = ReadPoint(pts + kPointSize * i);
          if (!TKxDeUtils::EqualPoint(current, p)) Strokes->Add(NewStroke(glyph, current, p));
          current = p;
        }
      } else if (type == TT_PRIM_QSPLINE) {
        // Between two control points lies an implied on-curve point, their midpoint.
        TPointF b = current;
        TPointF c = current;
        for (int i = 0; i + 1 < n; ++i) {
          const TPointF a = ReadPoint(pts + kPointSize * i);
          const TPointF next = ReadPoint(pts + kPointSize * (i + 1));
          c = i < n - 2 ? TPointF{(a.X + next.X) / 2, (a.Y + next.Y) / 2} : next;
          DrawQSpline(glyph, b, Strokes, c, a);
          b = c;
        }
        current = c;
      }
      // Records of any other type are skipped.
      at += recordSize;
    }
    if (!TKxDeUtils::EqualPoint(current, start)) Strokes->Add(NewStroke(glyph, current, start));
    ++glyph;
    consumed += polygonSize;
  }
  return true;
}

TOwned<TKxDeStrokes> TKxDeTTF::GetCharacterGlyphs(int32_t Char) {
  // The font goes to the EM-square size, so that one unit of the outline is one design unit.
  FFont->SetHeight(-TmekFontRef::GetEMSize(*FFont));
  TLogFont lf;
  lf.lfHeight = FFont->Height();
  lf.lfWeight = FFont->Style().Contains(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FFont->Style().Contains(TFontStyle::fsItalic) ? 1 : 0;
  lf.lfUnderline = FFont->Style().Contains(TFontStyle::fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = FFont->Style().Contains(TFontStyle::fsStrikeOut) ? 1 : 0;
  lf.lfOutPrecision = OUT_OUTLINE_PRECIS;
  lf.lfFaceName = FFont->Name();
  const TFontHandle handle = TFontHandle::Create(lf);
  if (!handle) return nullptr;
  fontengine::TFace& face = *handle.Face();
  const double scale = handle.Scale();

  // Code 0 ends a text and is never drawn: it has no outline, whatever the font maps it to.
  fontengine::TGlyphMetrics gm;
  QByteArray outline;
  if (Char != 0) {
    if (!fontengine::LoadGlyph(face, face.GlyphIndex(static_cast<uint32_t>(Char)), gm)) return nullptr;
    if (gm.HasOutline) outline = fontengine::NativeOutline(face, scale);
  }

  TOwned<TKxDeStrokes> strokes(Create<TKxDeStrokes>());
  if (outline.isEmpty()) {
    // No outline: the list stays empty and carries the character's text extent.
    const uint32_t code = Char == 0 ? 32 : static_cast<uint32_t>(Char);
    strokes->BlackBoxX = Round32(fontengine::CharAdvance(face, code) * scale);
    strokes->BlackBoxY = fontengine::TextMetrics(face, scale).Height;
    return strokes;
  }
  strokes->CellIncX = static_cast<int16_t>(Round32(gm.Advance * scale));
  strokes->CellIncY = 0;
  strokes->BlackBoxX = Round32(gm.Width * scale);
  strokes->BlackBoxY = Round32(gm.Height * scale);
  strokes->GlyphOriginX = Round32(gm.BearingX * scale);
  strokes->GlyphOriginY = Round32(gm.BearingY * scale);
  if (!ReadOutline(outline, strokes.get())) return nullptr;
  return strokes;
}

}  // namespace vorn
