#pragma once
// The gradient fills of shapes: a ramp of 256 colours between two end colours, shaped by a shift
// and a rotation, laid out as a small pattern image per style. Painting stretches the pattern
// over the target, so a gradient costs one image stretch per paint whatever its size.

#include "vorn/common/Color.h"
#include "vorn/common/DrawingCommons.h"

#include <QImage>
#include <QRgb>

#include <array>

namespace vorn {

using TKxDeGradientRamp = std::array<QRgb, 256>;

// Everything that shapes a gradient fill: end colours, style, direction, rotation and shift.
struct TKxDeGradientPatternParams {
  TColor ColorBegin = 0x00FF00;
  TColor ColorEnd = 0xFFFFFF;
  TKxDeShapeGradientStyle Style = TKxDeShapeGradientStyle::kxdgsNone;
  int32_t Shift = 0;     // -100 ... 100
  int32_t Rotation = 0;  // -100 ... 100
  bool Reverse = false;
  // The silver and white transparency colours replace the end colours.
  bool Invisible = false;
};

// What a custom gradient painter (TKxDeCustomGradientEvent) paints from: the end colours in
// painting order (system colours resolved, swapped by Reverse, the silver and white pair when
// Invisible) and the ramp the built-in styles lay out between them.
struct TKxDeGradientColors {
  TColor ColorBegin = 0;
  TColor ColorEnd = 0;
  TKxDeGradientRamp Ramp{};
};

// A * B / C rounded to the nearest integer (halves to even); 0 when C is 0.
int32_t MulDiv(int32_t A, int32_t B, int32_t C);

// The 256-entry ramp between the two (already resolved) end colours.
TKxDeGradientRamp GradientRamp(TColor C1, TColor C2, int32_t Shift, int32_t Rotation);

// The pattern image (Format_RGB32) of a style over a ramp; C1 and C2 colour the 2 x 2 checker.
QImage GradientPatternImage(TKxDeShapeGradientStyle Style, const TKxDeGradientRamp& Ramp, TColor C1, TColor C2);

// The whole computation: end colours (system colours resolved, swapped by Reverse, or the
// transparency colours when Invisible), the ramp and the pattern.
QImage BuildGradientPattern(const TKxDeGradientPatternParams& Params);

// The colours and ramp a gradient with these parameters is painted from.
TKxDeGradientColors GradientColors(const TKxDeGradientPatternParams& Params);

// BuildGradientPattern through a process-wide cache: equal parameters share one image, and the
// cache keeps at most GradientPatternCacheBytes of pixels, dropping the least recently used.
// Thread-safe.
QImage GradientPattern(const TKxDeGradientPatternParams& Params);
inline constexpr qsizetype GradientPatternCacheBytes = qsizetype(128) << 20;

}  // namespace vorn
