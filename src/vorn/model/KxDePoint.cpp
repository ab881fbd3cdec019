#include "vorn/model/KxDePoint.h"

#include "vorn/common/Rounding.h"
#include "vorn/model/ActionScope_p.h"
#include "vorn/model/KxDeShapeBase.h"

namespace vorn {

namespace {

// A handle sits on whole units; Fuzz > 0 widens it to a square of side Fuzz around that spot.
bool HitsSpot(const TPointF& Spot, const TPointF& P, float Fuzz) {
  const TPointF spot{static_cast<float>(Round(Spot.X)), static_cast<float>(Round(Spot.Y))};
  if (P == spot) return true;
  return Fuzz > 0 && TRectF::Square(spot, Fuzz).Contains(P);
}

}  // namespace

// ---- TKxDePointControl ----------------------------------------------------------------------------

void TKxDePointControl::BeforeDestruction() {
  FDestroying = true;
  if (FOwner) FOwner->RemoveControl(this);
}

void TKxDePointControl::SetPosition(float Ax, float Ay) {
  if (Ax == Fx && Ay == Fy) return;
  Changing();
  Fx = Ax;
  Fy = Ay;
  Changed();
}

void TKxDePointControl::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDePointControl*>(Source)) {
    Fx = src->Fx;
    Fy = src->Fy;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TKxDePointControl::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FChangeCount > 0) Changed();
}

void TKxDePointControl::Changing() {
  if (FDestroying || !FOwner) return;
  FOwner->DoControlChanging(this);
}

void TKxDePointControl::Changed() {
  if (FUpdateCount > 0) {
    ++FChangeCount;
    return;
  }
  FChangeCount = 0;
  if (FDestroying || !FOwner) return;
  FOwner->DoControlChanged(this);
}

// ---- TKxDePoint -----------------------------------------------------------------------------------

void TKxDePoint::AfterConstruction() {
  TKxDeShapeBase* owner = FOwner;
  FOwner = nullptr;
  if (owner) owner->InsertPoint(this);
}

void TKxDePoint::BeforeDestruction() {
  FDestroying = true;
  ClearControls();
  // Leaving the shape (and its selection) happens before the point's memory goes.
  if (FOwner) FOwner->RemovePoint(this);
}

void TKxDePoint::SetPosition(float Ax, float Ay) {
  if (FOwner) FOwner->DoPointIsChanging(this, Ax, Ay);
  if (Ax == Fx && Ay == Fy) return;
  TActionScope action(Announces() ? FOwner : nullptr, TKxDeAction::kxacSizing);
  Changing();
  Fx = Ax;
  Fy = Ay;
  Changed();
  // Left the shape meanwhile: the action is no longer its to close.
  if (!Announces()) action.Dismiss();
}

void TKxDePoint::SetPosition2(float Ax, float Ay) {
  if (Ax == Fx && Ay == Fy) return;
  Fx = Ax;
  Fy = Ay;
  Changed();
}

void TKxDePoint::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDePoint*>(Source)) {
    Fx = src->Fx;
    Fy = src->Fy;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TKxDePoint::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FChangeCount > 0) Changed();
}

int32_t TKxDePoint::GetIndex() const { return FOwner ? FOwner->IndexOf(this) : -1; }

void TKxDePoint::Changing() {
  if (Announces()) FOwner->DoPointChanging(this);
}

void TKxDePoint::Changed() {
  if (FUpdateCount > 0) {
    ++FChangeCount;
    return;
  }
  FChangeCount = 0;
  if (Announces()) FOwner->DoPointChanged(this);
}

bool TKxDePoint::CanInsertControl(const TKxDePointControl* C) const {
  return C && C != Control_1() && C != Control_2();
}

TKxDePoint::THandles& TKxDePoint::Handles() {
  if (!FHandles) FHandles = std::make_unique<THandles>();
  return *FHandles;
}

void TKxDePoint::AttachControl(TKxDePointControl*& Slot, TKxDePointControl* C) {
  if (C->FOwner && C->FOwner != this) C->FOwner->RemoveControl(C);
  // The point owns its handles: a handle that C replaces has no other owner and goes.
  if (TKxDePointControl* old = Slot) {
    Slot = nullptr;
    old->FOwner = nullptr;
    Free(old);
  }
  C->FOwner = this;
  Slot = C;
  DoControlAdded(C);
}

void TKxDePoint::SetControl_1(TKxDePointControl* C) {
  if (C == Control_1() || !CanInsertControl(C)) return;
  TActionScope action(Announces() ? FOwner : nullptr, TKxDeAction::kxacSizing);
  Changing();
  AttachControl(Handles().First, C);
  if (!Announces()) action.Dismiss();
}

void TKxDePoint::SetControl_2(TKxDePointControl* C) {
  if (C == Control_2() || !CanInsertControl(C)) return;
  AttachControl(Handles().Second, C);
}

void TKxDePoint::RemoveControl(TKxDePointControl* C) {
  if (!C || (C != Control_1() && C != Control_2())) return;
  C->FOwner = nullptr;
  if (C == FHandles->First) FHandles->First = nullptr;
  if (C == FHandles->Second) FHandles->Second = nullptr;
  DoControlRemoved(C);
}

void TKxDePoint::ClearControls() {
  // Each handle leaves the point (RemoveControl) as it is freed.
  FreeObject(Control_1());
  FreeObject(Control_2());
}

TKxDePointControl* TKxDePoint::NewControl(float x, float y) {
  TKxDePointControlClass cls = GetControlClass();
  TKxDePointControl* c = nullptr;
  if (cls && cls->InheritsFrom(ClassOf<TKxDePointControl>())) c = cls->Construct<TKxDePointControl>();
  if (!c) c = Create<TKxDePointControl>();
  c->Fx = x;
  c->Fy = y;
  return c;
}

TKxDePointControlClass TKxDePoint::GetControlClass() const { return ClassOf<TKxDePointControl>(); }

int32_t TKxDePoint::ControlAt(const TPointF& P, float Fuzz) const {
  const TKxDePointControl* c1 = Control_1();
  const TKxDePointControl* c2 = Control_2();
  if (c1 && HitsSpot(TPointF{Fx + c1->Fx, Fy + c1->Fy}, P, Fuzz)) return 0;
  if (c2 && HitsSpot(TPointF{Fx + c2->Fx, Fy + c2->Fy}, P, Fuzz)) return 1;
  return -1;
}

void TKxDePoint::DoControlAdded(TKxDePointControl* C) {
  ControlAdded(C);
  Changed();
}

void TKxDePoint::DoControlRemoved(TKxDePointControl* C) {
  ControlRemoved(C);
  Changed();
}

void TKxDePoint::DoControlChanging(TKxDePointControl* C) {
  ControlChanging(C);
  Changing();
}

void TKxDePoint::DoControlChanged(TKxDePointControl* C) {
  ControlChanged(C);
  Changed();
}

void TKxDePoint::ControlAdded(TKxDePointControl*) {}
void TKxDePoint::ControlRemoved(TKxDePointControl*) {}
void TKxDePoint::ControlChanging(TKxDePointControl*) {}
void TKxDePoint::ControlChanged(TKxDePointControl*) {}

}  // namespace vorn
