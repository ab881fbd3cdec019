#include "vorn/model/KxDeContainer.h"

#include "vorn/model/KxDeLayer.h"

#include <algorithm>

namespace vorn {

namespace {
const QString kNoProp;
}

TKxDeContainer::TKxDeContainer(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShapeBase(ASurface, AOwner) {
  FShapeStyle += TKxDeShapeStyle::kxssIsContainer;
  FShapeStyle -= TKxDeShapeStyle::kxssUsesPen;
}

TKxDeContainer::~TKxDeContainer() {
  // The children are unlinked before they go, so none of them calls back into this container.
  while (!FItems.empty()) {
    TKxDeShapeBase* s = FItems.back();
    FItems.pop_back();
    s->FOwner = nullptr;
    Free(s);
  }
}

// ---- Children -------------------------------------------------------------------------------------

TKxDeShapeBase* TKxDeContainer::GetItem(int32_t Index) const {
  if (Index < 0 || Index >= GetItemCount()) return nullptr;
  return FItems[static_cast<size_t>(Index)];
}

int32_t TKxDeContainer::IndexOf(const TKxDeShapeBase* S) const {
  if (!S || S->Owner() != this) return -1;
  // Children are mostly looked up near one end of the list (the newest on top, or the oldest
  // when a selection is deleted in creation order): search from both ends at once.
  size_t lo = 0;
  size_t hi = FItems.size();
  while (lo < hi) {
    if (FItems[lo] == S) return static_cast<int32_t>(lo);
    --hi;
    if (FItems[hi] == S) return static_cast<int32_t>(hi);
    ++lo;
  }
  return -1;
}

bool TKxDeContainer::Exists(const TKxDeShapeBase* S) const {
  // Ownership is a tree: S lies in this container exactly when this container is above it.
  for (const TKxDeShapeBase* s = S ? S->Owner() : nullptr; s; s = s->Owner())
    if (s == this) return true;
  return false;
}

TKxDeShapeBase* TKxDeContainer::ShapeByID(uint32_t AID) {
  for (TKxDeShapeBase* s : FItems) {
    if (s->ID() == AID) return s;
    if (TKxDeShapeBase* found = s->ShapeByID(AID)) return found;
  }
  return nullptr;
}

bool TKxDeContainer::CanInsertShape(const TKxDeShapeBase* S) const {
  return S && S != this && S->Owner() != this && !dynamic_cast<const TKxDeLayer*>(S);
}

bool TKxDeContainer::AcceptsShape(const TKxDeShapeBase* S) const {
  if (!S || S == this || S->Owner() == this || dynamic_cast<const TKxDeLayer*>(S)) return false;
  // A container cannot go into one of its own descendants.
  if (IsParent(S)) return false;
  return CanInsertShape(S);
}

void TKxDeContainer::LinkShape(TKxDeShapeBase* S, int32_t Index) {
  if (TKxDeContainer* former = S->Owner()) former->RemoveShape(S);
  S->FOwner = this;
  S->SetSurface(GetSurface());
  if (Index < 0 || Index >= GetItemCount()) FItems.push_back(S);
  else FItems.insert(FItems.begin() + Index, S);
}

void TKxDeContainer::InsertShape(TKxDeShapeBase* S) {
  if (!AcceptsShape(S)) return;
  StartAction(this, TKxDeAction::kxacInserting, kNoProp);
  NotifyUndo(this, TKxDeAction::kxacInserting, kNoProp);
  LinkShape(S, -1);
  EndAction(this, TKxDeAction::kxacInserting, kNoProp);
  StartAction(this, TKxDeAction::kxacInserted, kNoProp);
  DoShapeInserted(S);
  NotifyUndo(S, TKxDeAction::kxacInserted, kNoProp);
  EndAction(this, TKxDeAction::kxacInserted, kNoProp);
}

void TKxDeContainer::Insert(int32_t Index, TKxDeShapeBase* S) {
  if (Index < 0 || Index > GetItemCount() || !AcceptsShape(S)) return;
  StartAction(this, TKxDeAction::kxacInserting, kNoProp);
  NotifyUndo(this, TKxDeAction::kxacInserting, kNoProp);
  LinkShape(S, Index);
  DoShapeInserted(S);
  EndAction(this, TKxDeAction::kxacInserting, kNoProp);
}

void TKxDeContainer::RemoveShape(TKxDeShapeBase* S) {
  const int32_t index = IndexOf(S);
  if (index < 0) return;
  StartAction(this, TKxDeAction::kxacRemoving, kNoProp);
  NotifyUndo(this, TKxDeAction::kxacRemoving, kNoProp);
  NotifyUndo(S, TKxDeAction::kxacRemoved, kNoProp);
  S->FOwner = nullptr;
  if (index < GetItemCount() && FItems[static_cast<size_t>(index)] == S) {
    FItems.erase(FItems.begin() + index);
  } else {
    // An undo hook rearranged the children meanwhile: look again.
    auto it = std::find(FItems.begin(), FItems.end(), S);
    if (it != FItems.end()) FItems.erase(it);
  }
  S->SetSurface(nullptr);
  EndAction(this, TKxDeAction::kxacRemoving, kNoProp);
  StartAction(S, TKxDeAction::kxacRemoved, kNoProp);
  DoShapeRemoved(S);
  EndAction(S, TKxDeAction::kxacRemoved, kNoProp);
}

bool TKxDeContainer::Extract(TKxDeShapeBase* S) {
  if (IndexOf(S) < 0) return false;
  RemoveShape(S);
  return true;
}

void TKxDeContainer::Remove(TKxDeShapeBase* S) {
  if (IndexOf(S) >= 0) Free(S);
}

void TKxDeContainer::Delete(int32_t Index) {
  if (TKxDeShapeBase* s = GetItem(Index)) Free(s);
}

void TKxDeContainer::Clear() {
  if (FItems.empty() && FPoints.empty()) return;
  StartAction(this, TKxDeAction::kxacClearing, kNoProp);
  NotifyUndo(this, TKxDeAction::kxacClearing, kNoProp);
  BeginUpdate();
  ++FChangeCount;
  BeginNotifyLock();
  while (!FItems.empty()) {
    TKxDeShapeBase* s = FItems.back();
    s->FOwner = nullptr;
    FItems.pop_back();
    s->SetSurface(nullptr);
    DoShapeRemoved(s);
    Free(s);
  }
  ClearPoints();
  EndNotifyLock();
  EndUpdate();
  DoShapeCleared(this);
  EndAction(this, TKxDeAction::kxacClearing, kNoProp);
}

// ---- Geometry -------------------------------------------------------------------------------------

void TKxDeContainer::RecalculateBounds(bool Force) {
  if (!Force && (InUpdate() || InPointUpdate())) return;
  if (FItems.empty()) {
    FBounds = TRectF{FBounds.Left, FBounds.Top, FBounds.Left, FBounds.Top};
    return;
  }
  TRectF u = FItems.front()->GetBounds();
  for (size_t i = 1; i < FItems.size(); ++i) {
    const TRectF b = FItems[i]->GetBounds();
    u.Left = std::min(u.Left, b.Left);
    u.Top = std::min(u.Top, b.Top);
    u.Right = std::max(u.Right, b.Right);
    u.Bottom = std::max(u.Bottom, b.Bottom);
  }
  FBounds = u;
}

void TKxDeContainer::SetSurface(TKxDeSurface* Value) {
  TKxDeShapeBase::SetSurface(Value);
  for (TKxDeShapeBase* s : FItems) s->SetSurface(Value);
}

void TKxDeContainer::DoChanged(bool Force) {
  TKxDeShapeBase::DoChanged(Force);
  RecalculateBounds(false);
}

// ---- Propagation ----------------------------------------------------------------------------------

void TKxDeContainer::DoShapeInserted(TKxDeShapeBase* S) {
  RecalculateBounds(false);
  ShapeInserted(S);
  if (!InUpdate() && FOwner) FOwner->DoShapeInserted(S);
  Changed(false);
}

void TKxDeContainer::DoShapeRemoved(TKxDeShapeBase* S) {
  RecalculateBounds(false);
  ShapeRemoved(S);
  if (FOwner) FOwner->DoShapeRemoved(S);
  Changed(false);
}

void TKxDeContainer::DoShapeChanged(TKxDeShapeBase* S) {
  RecalculateBounds(false);
  Changed(false);
  ShapeChanged(S);
}

void TKxDeContainer::DoShapeChanging(TKxDeShapeBase* S) {
  ShapeChanging(S);
  Changing();
}

void TKxDeContainer::DoShapeReordering(int32_t FromIndex, int32_t ToIndex) {
  ShapeReordering(FromIndex, ToIndex);
  Changing();
}

void TKxDeContainer::DoShapeReordered(int32_t FromIndex, int32_t ToIndex) {
  if (!InUpdate()) {
    ShapeReordered(FromIndex, ToIndex);
    if (FOwner) FOwner->DoShapeReordered(FromIndex, ToIndex);
  }
  Changed(false);
}

void TKxDeContainer::DoShapeCleared(TKxDeShapeBase* S) {
  if (!InUpdate()) {
    ShapeCleared(S);
    if (FOwner) FOwner->DoShapeCleared(S);
  }
  Changed(false);
}

void TKxDeContainer::DoLayerReordered(int32_t FromIndex, int32_t ToIndex) {
  if (!InUpdate()) {
    LayerReordered(FromIndex, ToIndex);
    if (FOwner) FOwner->DoLayerReordered(FromIndex, ToIndex);
  }
  Changed(false);
}

void TKxDeContainer::ShapeChanging(TKxDeShapeBase*) {}
void TKxDeContainer::ShapeChanged(TKxDeShapeBase*) {}
void TKxDeContainer::ShapeInserted(TKxDeShapeBase*) {}
void TKxDeContainer::ShapeReordering(int32_t, int32_t) {}

void TKxDeContainer::ShapeRemoved(TKxDeShapeBase* S) {
  if (FOwner) FOwner->ShapeRemoved(S);
}

void TKxDeContainer::ShapeCleared(TKxDeShapeBase* S) {
  if (FOwner) FOwner->ShapeCleared(S);
}

void TKxDeContainer::ShapeReordered(int32_t FromIndex, int32_t ToIndex) {
  if (FOwner) FOwner->ShapeReordered(FromIndex, ToIndex);
}

void TKxDeContainer::LayerReordered(int32_t FromIndex, int32_t ToIndex) {
  if (FOwner) FOwner->LayerReordered(FromIndex, ToIndex);
}

}  // namespace vorn
