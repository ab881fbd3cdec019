#pragma once
// Style values without identity: what layers keep as defaults for new shapes and what the
// style objects assign from.

#include "vorn/common/Color.h"
#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Graphics.h"

#include <QString>

#include <cstdint>

namespace vorn {

// A pen as a plain value: colour, mode, style and width in millimetres.
struct TKxDePenRec {
  TColor Color = clBlack;
  TPenMode Mode = TPenMode::pmCopy;
  TPenStyle Style = TPenStyle::psSolid;
  float Width = 0.2f;  // millimetres
  friend bool operator==(const TKxDePenRec&, const TKxDePenRec&) = default;
};

// A brush as a plain value: colour and pattern.
struct TKxDeBrushRec {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
  friend bool operator==(const TKxDeBrushRec&, const TKxDeBrushRec&) = default;
};

// A shape font as a plain value: charset, colour, family, size in points and style.
struct TKxDeShapeFontRec {
  uint8_t Charset = 1;
  TColor Color = clWindowText;
  QString Name = QStringLiteral("Swiss 721");
  int32_t Size = 3;  // points
  TFontStyles Style;
  friend bool operator==(const TKxDeShapeFontRec&, const TKxDeShapeFontRec&) = default;
};

// A text view's font as a plain value, with its height in millimetres.
struct TKxDeShapeFontRec2 {
  uint8_t Charset = 1;
  QString Name = QStringLiteral("Swiss 721");
  float Size = 3.0f;  // millimetres: the font height
  TFontStyles Style;
  friend bool operator==(const TKxDeShapeFontRec2&, const TKxDeShapeFontRec2&) = default;
};

// A gradient fill as a plain value.
struct TKxDeShapeGradienthRec {
  TColor ColorBegin = 0x00FF00;
  TColor ColorEnd = 0xFFFFFF;
  bool Reverse = false;
  int8_t Rotation = 0;
  int8_t Shift = 0;
  TKxDeShapeGradientStyle Style = TKxDeShapeGradientStyle::kxdgsNone;
  friend bool operator==(const TKxDeShapeGradienthRec&, const TKxDeShapeGradienthRec&) = default;
};

// The default pen width of a new shape, in millimetres.
inline constexpr float cstPenDefaultWidth = 0.2f;

}  // namespace vorn
