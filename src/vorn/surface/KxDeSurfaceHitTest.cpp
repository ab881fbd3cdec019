// Hit testing of the surface: what a view point lies on, and which shape lies at a world point.
// Both ask the layers' spatial indexes for the few items near the point and then the items
// themselves, in the same order as walking every item would, so the answers are the same.

#include "vorn/surface/KxDeSurface.h"

#include "vorn/common/Rounding.h"
#include "vorn/surface/KxDeSurfaceIndex_p.h"

namespace vorn {

void TKxDeSurface::ResetHittest(TKxDeHitTest& HT) { HT = TKxDeHitTest{}; }

TKxDeHitTest TKxDeSurface::HitTest(const TPointF& P) {
  TKxDeHitTest ht;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  ht.Test = TPointF{P.X - r.Left, P.Y - r.Top};
  TRectF c{static_cast<float>(r.Left), static_cast<float>(r.Top), static_cast<float>(r.Right),
           static_cast<float>(r.Bottom)};
  const double z = GetZoom();
  if (z < 1) {
    // Below zoom 1 view points spread over more than the client area.
    const auto f = static_cast<float>(1 / z);
    c = TRectF{c.Left * f, c.Top * f, c.Right * f, c.Bottom * f};
  }
  if (r.IsEmpty() || !c.Contains(P)) return ht;
  const TRect v{Round32(rf.Left), Round32(rf.Top), Round32(rf.Right), Round32(rf.Bottom)};
  if (!v.Intersects(r) || !rf.Contains(P)) return ht;
  ht.HitType = TKxDeHitType::kxhtLayer;
  const TPointF q{P.X - rf.Left, P.Y - rf.Top};
  if (TKxDeShapeBase* s = FIndex->HitShape(FLayers, q)) {
    ht.HitType = TKxDeHitType::kxhtShape;
    ht.Shape = s;
  }
  return ht;
}

TKxDeShapeBase* TKxDeSurface::ShapeAtPos(const TPointF& P, uint8_t Fuzz) {
  return FIndex->ShapeAtPos(FLayers, P, static_cast<float>(Fuzz));
}

}  // namespace vorn
