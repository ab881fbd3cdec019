#include "vorn/model/KxDeControl.h"

#include "vorn/model/ActionScope_p.h"
#include "vorn/model/KxDeShapeBase.h"

namespace vorn {

void TKxDeControl::AfterConstruction() {
  TKxDeShapeBase* owner = FOwner;
  FOwner = nullptr;
  if (owner) owner->InsertControl(this);
}

void TKxDeControl::BeforeDestruction() {
  FDestroying = true;
  if (FOwner) FOwner->RemoveControl(this);
}

void TKxDeControl::SetPosition(float Ax, float Ay) {
  if (FOnChanging) FOnChanging(this, Ax, Ay);
  if (Ax == Fx && Ay == Fy) return;
  TActionScope action(Announces() ? FOwner : nullptr, TKxDeAction::kxacSizing);
  Changing();
  Fx = Ax;
  Fy = Ay;
  Changed();
  // Left the shape meanwhile: the action is no longer its to close.
  if (!Announces()) action.Dismiss();
}

void TKxDeControl::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDeControl*>(Source)) {
    Fx = src->Fx;
    Fy = src->Fy;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TKxDeControl::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FChangeCount > 0) Changed();
}

int32_t TKxDeControl::GetIndex() const { return FOwner ? FOwner->IndexOfControl(this) : -1; }

void TKxDeControl::Changing() {
  if (Announces()) FOwner->DoControlChanging(this);
}

void TKxDeControl::Changed() {
  if (FUpdateCount > 0) {
    ++FChangeCount;
    return;
  }
  FChangeCount = 0;
  if (Announces()) FOwner->DoControlChanged(this);
}

}  // namespace vorn
