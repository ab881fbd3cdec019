#pragma once
// TKxDeGroup: shapes moved, sized and rotated as one. The group has no geometry of its own: its
// bounds are the union of its children's, and every move, resize and turn is handed to the
// children inside one update, so that the group delivers a single change.

#include "vorn/model/KxDeContainer.h"

namespace vorn {

class TKxDeGroup : public TKxDeContainer {
  VORN_OBJECT(TKxDeGroup, TKxDeContainer)
  Q_PROPERTY(float Rotation READ Rotation WRITE SetRotation)
  Q_CLASSINFO("Category.Rotation", "Layout")

 public:
  TKxDeGroup(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeContainer(ASurface, AOwner) {}

  // Turns every child about the group's centre by the whole degrees of the (normalised) value,
  // announced as a "Rotation" change. Rotation then reads the last turn, not a sum of turns;
  // a value that normalises to 0 does nothing.
  void SetRotation(float Value) override;
  // Moves every child (with its reference point) and recalculates the bounds.
  void MoveBy(float X, float Y) override;
  // Scales every child's bounds about the group's top-left corner.
  void Resize(float NewWidth, float NewHeight) override;
  // Turns every child about RotatePt; the group's own Rotation stays.
  void RotateAroundPoint(int32_t RotateAngle, const TPointF& RotatePt, const TPointF& TranslationPt) override;
  // True when any child is hit at P.
  bool PointOnShape(const TPointF& P, float Fuzz, bool Editing) const override;

 protected:
  ~TKxDeGroup() override = default;
};

}  // namespace vorn
