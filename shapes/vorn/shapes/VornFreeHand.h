#pragma once
// TVornFreeHand: a line drawn by hand, one point per pointer move while the button is held. It
// is drawn as a smooth curve through the midpoints of its points, with rounded ends by default.
// When the editor finishes it and tells it the zoom it is seen at (Refine), the points that add
// nothing visible at that zoom (closer than half a device pixel to the simplified line) are
// dropped, so a long stroke does not keep thousands of points.

#include "vorn/shapes/VornLine.h"

namespace vorn {

class TVornFreeHand : public TVornLine {
  VORN_OBJECT(TVornFreeHand, TVornLine)

 public:
  TVornFreeHand(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

  TKxShapeType GetShapeType() const override { return TKxShapeType::kxtyFreeHand; }
  // Simplifies the stroke for the zoom factor Value.
  void Refine(float Value) override;

 protected:
  ~TVornFreeHand() override = default;
  QPainterPath LinePath(const TVornVertices& V, bool Trim) const override;
};

}  // namespace vorn
