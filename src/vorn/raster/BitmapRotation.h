#pragma once
// Quarter turns, mirrors and free rotation of TKxDeBitmap, in place.

#include "vorn/common/Color.h"
#include "vorn/raster/KxDeBitmap.h"

#include <cstdint>

namespace vorn {

// Turns the bitmap by a quarter: 0 does nothing, 90 turns clockwise, any other value turns
// counter-clockwise (callers pass 270). The bitmap becomes pf32bit. Destination rows are
// independent and are filled in parallel on the global thread pool; the call returns when all are
// done. Pixel (x, y) of a clockwise result is source pixel (y, H - 1 - x); of a counter-clockwise
// result source pixel (W - 1 - y, x).
void RotateBitmap90(TKxDeBitmap* Bitmap, int32_t Angle);

// Rotates by a whole number of degrees about the centre (positive angles turn clockwise on
// screen, as the drawing transform does). With AdjustSize the bitmap grows to hold the whole
// turned image (Round(W|cos| + H|sin|) x Round(W|sin| + H|cos|)); otherwise it keeps its size and
// the corners are cut. Uncovered pixels get BkColor, opaque.
void RotateBitmapAnyAngle(TKxDeBitmap* Bitmap, int32_t Angle, bool AdjustSize, TColor BkColor);

// A quarter turn (brs90, brs270, through RotateBitmap90), a half turn or a mirror (the pixel format
// stays); brs0 leaves the bitmap exactly as it is.
void Rotation90(TKxDeBitmap* Bitmap, TKxDeBitmapRotationstyle Style);

}  // namespace vorn
