#pragma once
// TPicturePlacement: where a shape's picture goes inside the device rectangle it is drawn into,
// by picture style. Centred and top-left pictures keep their natural size (their pixels scaled by
// the zoom, at CoordsPixelsPerMMConvertValue pixels per world unit), tiles repeat it from the
// top-left corner, and a stretched picture fills the rectangle, fitted to a kept width-to-height
// ratio and corrected for devices whose vertical units differ.

#include "vorn/common/Consts.h"
#include "vorn/common/Records.h"

#include <cstdint>

namespace vorn {

struct TPicturePlacement {
  // The rectangle one copy of the picture is drawn into; empty when nothing is drawn.
  TRect Target;
  // Tiles: copies across and down, each of Target's size, from Target's top-left corner.
  int64_t Columns = 1;
  int64_t Rows = 1;

  // The natural size of a Width x Height picture at Zoom, in device pixels.
  static TPoint NaturalSize(int32_t Width, int32_t Height, double Zoom);
  // The placement in the non-empty device rectangle R of a picture of natural size Size. Ratio
  // (width / height) is kept by a stretched picture when positive: the longer side of R is
  // shrunk evenly. A non-zero CorrectionY divides the stretched height.
  static TPicturePlacement Place(TKxDeShapePictureStyle Style, const TRect& R, const TPoint& Size, double Ratio,
                                 double CorrectionY);
};

}  // namespace vorn
