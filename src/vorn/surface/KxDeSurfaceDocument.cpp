// The document side of the surface: the layer list, the active layer, the layers' z-order and
// the grouping of shapes.

#include "vorn/surface/KxDeSurface.h"

#include "vorn/model/ActionScope_p.h"
#include "vorn/model/KxDeGroup.h"
#include "vorn/model/KxDePackage.h"
#include "vorn/model/UpdateBracket_p.h"
#include "vorn/surface/KxDeSurfaceIndex_p.h"
#include "vorn/surface/SurfaceBrackets_p.h"
#include "vorn/surface/SurfaceLog_p.h"

#include <algorithm>
#include <optional>

namespace vorn {

namespace {

const QString kNoProp;

// A layer new shapes may go to.
bool Qualifies(const TKxDeLayer* L) { return L->Visible() && !L->Locked() && !L->InDestroy(); }

using TSkipDefaultsBracket = TBracket<TKxDeLayer, &TKxDeLayer::SkipDefaultProperty, &TKxDeLayer::UnskipDefaultProperty>;

// Holds the notifications of several shapes (one lock per entry) and releases them in the same
// order.
class TNotifyLocks {
 public:
  template <class List>
  explicit TNotifyLocks(const List& Shapes) : FShapes(Shapes.begin(), Shapes.end()) {
    for (TKxDeShapeBase* s : FShapes) s->BeginNotifyLock();
  }
  ~TNotifyLocks() noexcept(false) {
    for (TKxDeShapeBase* s : FShapes) s->EndNotifyLock();
  }
  TNotifyLocks(const TNotifyLocks&) = delete;
  TNotifyLocks& operator=(const TNotifyLocks&) = delete;

 private:
  std::vector<TKxDeShapeBase*> FShapes;
};

}  // namespace

// ---- Layer list -----------------------------------------------------------------------------------

TKxDeLayer* TKxDeSurface::GetLayer(int32_t Index) const {
  if (Index < 0 || Index >= LayerCount()) return nullptr;
  return FLayers[static_cast<size_t>(Index)];
}

int32_t TKxDeSurface::IndexOf(const TKxDeLayer* L) const {
  auto it = std::find(FLayers.begin(), FLayers.end(), L);
  return it == FLayers.end() ? -1 : static_cast<int32_t>(it - FLayers.begin());
}

bool TKxDeSurface::Exists(const TKxDeShapeBase* S) const {
  if (!S) return false;
  for (const TKxDeLayer* l : FLayers)
    if (l == S) return true;
  return std::any_of(FLayers.begin(), FLayers.end(), [S](const TKxDeLayer* L) { return L->Exists(S); });
}

void TKxDeSurface::InsertLayer(TKxDeLayer* L) {
  if (!L) return;
  if (L->GetSurface() == this && IndexOf(L) >= 0) return;
  TKxDeSurface* other = L->GetSurface();
  if (other && other != this) other->RemoveLayer(L);
  // The container's own surface setter: the layer's override would come back here.
  L->TKxDeContainer::SetSurface(this);
  FLayers.push_back(L);
  LayerInserted(L);
  if (!FActiveLayer && !FLayers.empty()) SetActiveLayer(FLayers.front());
}

void TKxDeSurface::Insert(int32_t Index, TKxDeLayer* L) {
  if (!L || Index < 0 || Index > LayerCount()) {
    qCDebug(lcSurface) << "Insert: no layer or index" << Index << "outside 0 ..." << LayerCount();
    return;
  }
  if (L->GetSurface() == this && IndexOf(L) >= 0) return;
  TSurfaceUpdate update(this);
  InsertLayer(L);
  const int32_t at = IndexOf(L);
  if (at < 0 || at == Index) return;
  auto first = FLayers.begin();
  if (at > Index) std::rotate(first + Index, first + at, first + at + 1);
  else std::rotate(first + at, first + at + 1, first + Index + 1);
}

void TKxDeSurface::RemoveLayer(TKxDeLayer* L) {
  if (!L || L->GetSurface() != this) return;
  L->TKxDeContainer::SetSurface(nullptr);
  auto it = std::find(FLayers.begin(), FLayers.end(), L);
  if (it != FLayers.end()) FLayers.erase(it);
  LayerRemoved(L);
  // A silent removal (the surface going away) leaves the choice of the active layer to here.
  if (L == FActiveLayer) {
    auto next = std::find_if(FLayers.begin(), FLayers.end(),
                             [](const TKxDeLayer* X) { return X->Visible() && !X->InDestroy(); });
    SetActiveLayer(next == FLayers.end() ? nullptr : *next);
  }
}

void TKxDeSurface::Delete(int32_t Index) {
  TKxDeLayer* l = GetLayer(Index);
  Free(l);
}

void TKxDeSurface::Remove(TKxDeLayer* L) {
  if (L && L->GetSurface() == this && IndexOf(L) >= 0) Free(L);
}

void TKxDeSurface::Clear() {
  if (FLayers.empty()) return;
  TSurfaceUpdate update(this);
  // Each layer leaves the list as it is destroyed.
  while (!FLayers.empty()) {
    TKxDeLayer* top = FLayers.back();
    const size_t before = FLayers.size();
    Free(top);
    if (FLayers.size() == before) FLayers.pop_back();  // a layer that did not detach itself
  }
}

void TKxDeSurface::SetLayers(const TKxDeLayerList& List) {
  if (List == FLayers) return;
  TSurfaceUpdate update(this);
  FLayers = List;
  FIndex->KeepOnly(FLayers);
  Changed(true);
  // The stored active layer must be one of the list, or the surface would keep a layer it no
  // longer knows (and that its owner may free).
  if (FActiveLayer && IndexOf(FActiveLayer) < 0) SetActiveLayer(GetActiveLayer());
}

// ---- Z-order --------------------------------------------------------------------------------------

void TKxDeSurface::MoveLayer(TKxDeLayer* L, int32_t From, int32_t To) {
  auto first = FLayers.begin();
  if (From < To) std::rotate(first + From, first + From + 1, first + To + 1);
  else std::rotate(first + To, first + From, first + From + 1);
  LayerReordered(L, From, To);
  LayerChanged(nullptr);
}

void TKxDeSurface::BringForward(TKxDeLayer* L) {
  const int32_t i = L && L->GetSurface() == this ? L->GetIndex() : -1;
  if (i >= 0 && i < LayerCount() - 1) MoveLayer(L, i, i + 1);
}

void TKxDeSurface::BringToFront(TKxDeLayer* L) {
  const int32_t i = L && L->GetSurface() == this ? L->GetIndex() : -1;
  if (i >= 0 && i < LayerCount() - 1) MoveLayer(L, i, LayerCount() - 1);
}

void TKxDeSurface::SendBackward(TKxDeLayer* L) {
  const int32_t i = L && L->GetSurface() == this ? L->GetIndex() : -1;
  if (i > 0) MoveLayer(L, i, i - 1);
}

void TKxDeSurface::SendToBack(TKxDeLayer* L) {
  const int32_t i = L && L->GetSurface() == this ? L->GetIndex() : -1;
  if (i > 0) MoveLayer(L, i, 0);
}

// ---- Active layer ---------------------------------------------------------------------------------

TKxDeLayer* TKxDeSurface::ReArrangeActiveLayer(TKxDeLayer* L) const {
  const int32_t i = L ? IndexOf(L) : -1;
  if (i >= 0 && Qualifies(L)) return L;
  const int32_t n = LayerCount();
  if (n == 0) return nullptr;
  for (int32_t j = i + 1; j < n; ++j)
    if (Qualifies(FLayers[static_cast<size_t>(j)])) return FLayers[static_cast<size_t>(j)];
  for (int32_t j = i - 1; j >= 0; --j)
    if (Qualifies(FLayers[static_cast<size_t>(j)])) return FLayers[static_cast<size_t>(j)];
  // No layer takes shapes: the highest locked one, visible or not.
  for (int32_t j = n - 1; j >= 0; --j) {
    TKxDeLayer* l = FLayers[static_cast<size_t>(j)];
    if (l->Locked() && !l->InDestroy()) return l;
  }
  return nullptr;
}

void TKxDeSurface::SetActiveLayer(TKxDeLayer* L) {
  if (L && L->GetSurface() != this) {
    qCDebug(lcSurface) << "SetActiveLayer: the layer belongs to another surface";
    return;
  }
  if (L) L = ReArrangeActiveLayer(L);
  if (L == FActiveLayer) return;
  FActiveLayer = L;
  ActiveLayerChanged();
}

TKxDeLayer* TKxDeSurface::HandleActiveLayer() {
  TKxDeLayer* l = GetActiveLayer();
  if (l || !FLayers.empty()) return l;
  l = DoNewLayer();
  SetActiveLayer(l);
  return l;
}

TKxDeLayer* TKxDeSurface::DoNewLayer() {
  if (OnNeedNewLayer) {
    TKxDeLayer* l = nullptr;
    OnNeedNewLayer(this, l);
    return l;
  }
  return Create<TKxDeLayer>(this);
}

// ---- Grouping -------------------------------------------------------------------------------------

TKxDeLayer* TKxDeSurface::CollectForGrouping(const TKxDeShapeArray& A, TKxDeShapeArray& Shapes) const {
  if (FLayers.empty()) return nullptr;
  for (TKxDeShapeBase* s : A) {
    if (!s || dynamic_cast<TKxDeLayer*>(s) || !dynamic_cast<TKxDeLayer*>(s->Owner()) || s->GetSurface() != this)
      continue;
    if (std::find(Shapes.begin(), Shapes.end(), s) == Shapes.end()) Shapes.push_back(s);
  }
  for (TKxDeShapeBase* s : Shapes)
    if (TKxDeLayer* l = s->GetLayer(); l && !l->InDestroy()) return l;
  return Shapes.empty() ? nullptr : GetActiveLayer();
}

void TKxDeSurface::FillContainer(TKxDeContainer* C, const TKxDeShapeArray& Shapes, TKxDeLayer* Target,
                                 TKxDeAction Doing, TKxDeAction Done) {
  TSurfaceAction doing(this, C, Doing, kNoProp);
  try {
    {
      TUpdateBracket update(C);
      for (TKxDeShapeBase* s : Shapes) C->Add(s);
    }
    Target->Add(C);
  } catch (...) {
    // Whatever was moved into the container stays in the document.
    if (!C->Owner()) {
      if (C->ItemCount() == 0) Free(C);
      else Target->Add(C);
    }
    throw;
  }
  doing.End();
  // The finished grouping as an action of its own: opened, announced and closed at once.
  TSurfaceAction(this, C, Done, kNoProp);
}

TKxDeGroup* TKxDeSurface::Group(const TKxDeShapeArray& A) {
  TKxDeShapeArray shapes;
  TKxDeLayer* target = CollectForGrouping(A, shapes);
  if (!target) return nullptr;
  // Released in reverse: the shapes, then the layer, then the refresh.
  TSurfaceUpdate update(this);
  TNotifyLockBracket layerLock(target);
  TNotifyLocks shapeLocks(shapes);
  auto* group = Create<TKxDeGroup>(nullptr, nullptr);
  FillContainer(group, shapes, target, TKxDeAction::kxacGrouping, TKxDeAction::kxacGrouped);
  return group;
}

TKxDePackage* TKxDeSurface::Pack(const TKxDeShapeArray& A) {
  TKxDeShapeArray shapes;
  TKxDeLayer* target = CollectForGrouping(A, shapes);
  if (!target) return nullptr;
  std::vector<TKxDeContainer*> owners;
  owners.reserve(shapes.size());
  for (TKxDeShapeBase* s : shapes) owners.push_back(s->Owner());
  TSurfaceUpdate update(this);
  TNotifyLocks ownerLocks(owners);
  TNotifyLockBracket layerLock(target);
  auto* package = Create<TKxDePackage>(this, nullptr);
  FillContainer(package, shapes, target, TKxDeAction::kxacPacking, TKxDeAction::kxacPacked);
  return package;
}

void TKxDeSurface::Disband(TKxDeContainer* C, TKxDeAction Doing, bool SkipDefaults) {
  auto* layer = static_cast<TKxDeLayer*>(C->Owner());
  // The closing action names the container by its address only: it is gone by then.
  TSurfaceAction action(this, C, Doing, kNoProp, TSurfaceAction::TUndoNotice::ByCaller);
  TUpdateBracket update(layer);
  std::optional<TSkipDefaultsBracket> skip;
  if (SkipDefaults) skip.emplace(layer);
  TNotifyLockBracket lock(layer);
  action.NotifyUndo();
  // The container is destroyed with its brackets open: nothing of its own is to be heard.
  C->BeginNotifyLock();
  C->BeginUpdate();
  while (C->ItemCount() > 0) layer->Add(C->Items(0));
  Free(C);
}

void TKxDeSurface::Ungroup(TKxDeGroup* G) {
  if (G && G->GetSurface() == this && dynamic_cast<TKxDeLayer*>(G->Owner()))
    Disband(G, TKxDeAction::kxacUngrouping, true);
}

void TKxDeSurface::Unpack(TKxDePackage* P) {
  if (P && P->GetSurface() == this && dynamic_cast<TKxDeLayer*>(P->Owner()))
    Disband(P, TKxDeAction::kxacUnpacking, false);
}

}  // namespace vorn
