#pragma once
// IKxDeHitExtent: how far a shape reaches, for the surface's spatial index.
//
// The surface finds the shapes at a point or in an area through an index of rectangles, one per
// top-level shape of a layer, and only then asks the shapes themselves (PointOnShape, InRect). A
// shape left out by the index is never asked, so its rectangle must hold everything the shape
// can answer for. For the engine's own classes the surface knows that rectangle: the bounds, the
// bounds turned by Rotation about their centre (the body hit test of the shape base), and for
// containers their own bounds and everything their children reach.
//
// A shape class whose PointOnShape or InRect reaches further (a stroked outline, arrow heads,
// curve handles beyond the points, a rotation about another centre) implements this interface.
// The surface learns of a new extent through the shape's change notifications, so the extent may
// only depend on what a delivered change announces.

#include "vorn/common/Records.h"

namespace vorn {

class IKxDeHitExtent {
 public:
  // How far a tolerance widens the reach of PointOnShape: PointOnShape(P, Fuzz, ...) is False for
  // every P farther than kHitFuzzReach * Fuzz outside the extent. A stroked outline widened by
  // the tolerance on both sides, with mitred corners that reach up to 2.5 stroke widths from the
  // corner, stays within it.
  static constexpr float kHitFuzzReach = 5;

  // A rectangle in world units that holds every point at which PointOnShape(P, 0, Editing) is
  // True and meets (edges included) every area for which InRect is True.
  virtual TRectF HitExtent() const = 0;

 protected:
  ~IKxDeHitExtent() = default;
};

}  // namespace vorn
