#pragma once
// Small drawing helpers shared by shapes: lines and rectangles drawn as polylines, so that they
// follow the canvas pen exactly like outlines of polygons do.

#include "vorn/common/Records.h"

namespace vorn {

class TCanvas;

// Drawing helpers shared by shapes: lines and rectangles drawn as polylines.
class TKxDeGraphicUtils {
 public:
  TKxDeGraphicUtils() = delete;

  // The segment P1-P2 through the canvas's polyline operation.
  static void Line(TCanvas* Canvas, const TPoint& P1, const TPoint& P2);
  // The same (kept as its own name: callers use both).
  static void LineTo(TCanvas* Canvas, const TPoint& P1, const TPoint& P2);
  // Outlines R from (Left, Top) clockwise with four segments; with Fill the outline is a closed
  // path that is stroked with the pen and filled with the brush.
  static void Rectangle(TCanvas* Canvas, const TRect& R, bool Fill);
};

}  // namespace vorn
