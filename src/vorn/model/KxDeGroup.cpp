#include "vorn/model/KxDeGroup.h"

#include "vorn/common/Rounding.h"
#include "vorn/model/ActionScope_p.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/UpdateBracket_p.h"

#include <cmath>

namespace vorn {

void TKxDeGroup::SetRotation(float Value) {
  // Hundredths of a degree, rounded half to even, folded into [0, 360), as for plain shapes.
  const int64_t hundredths = Round(static_cast<double>(Value) * 100.0) % 36000;
  float r = static_cast<float>(static_cast<double>(hundredths) / 100.0);
  if (r < 0) r += 360;
  if (r == 0) return;
  TActionScope action(this, TKxDeAction::kxacChanging, QStringLiteral("Rotation"));
  TUpdateBracket update(this);
  FRotation = r;
  const TPointF center = GetGravityCenter();
  const auto angle = static_cast<int32_t>(std::trunc(r));
  for (size_t i = 0; i < FItems.size(); ++i) {
    TKxDeShapeBase* s = FItems[i];
    // The children's own rotation actions are part of this one.
    TUpdateBracket childUpdate(s);
    TNotifyLockBracket childLock(s);
    s->RotateAroundPoint(angle, center, TPointF{0, 0});
  }
  RecalculateBounds(true);
}

void TKxDeGroup::MoveBy(float X, float Y) {
  if (FItems.empty()) return;
  TUpdateBracket update(this);
  for (size_t i = 0; i < FItems.size(); ++i) FItems[i]->MoveByWithRef(X, Y);
  RecalculateBounds(true);
}

void TKxDeGroup::Resize(float NewWidth, float NewHeight) { ScaleChildren(NewWidth, NewHeight); }

void TKxDeGroup::RotateAroundPoint(int32_t RotateAngle, const TPointF& RotatePt, const TPointF& TranslationPt) {
  if (RotateAngle == 0) return;
  for (size_t i = 0; i < FItems.size(); ++i) FItems[i]->RotateAroundPoint(RotateAngle, RotatePt, TranslationPt);
}

bool TKxDeGroup::PointOnShape(const TPointF& P, float Fuzz, bool Editing) const {
  for (const TKxDeShapeBase* s : FItems)
    if (s->PointOnShape(P, Fuzz, Editing)) return true;
  return false;
}

}  // namespace vorn
