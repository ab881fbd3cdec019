#include "vorn/surface/KxDeSurface.h"

#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDeSurfaceClient.h"

#include <algorithm>

namespace vorn {

TKxDeSurface::TKxDeSurface(QWidget* Parent) : QWidget(Parent) {}

TKxDeSurface::~TKxDeSurface() {
  FDestroying = true;
  UnRegisterAllClients();
  Clear();
}

void TKxDeSurface::BeforeDestruction() { FDestroying = true; }

// ---- Layers ---------------------------------------------------------------------------------------

TKxDeLayer* TKxDeSurface::GetLayer(int32_t Index) const {
  if (Index < 0 || Index >= LayerCount()) return nullptr;
  return FLayers[static_cast<size_t>(Index)];
}

int32_t TKxDeSurface::IndexOf(const TKxDeLayer* L) const {
  auto it = std::find(FLayers.begin(), FLayers.end(), L);
  return it == FLayers.end() ? -1 : static_cast<int32_t>(it - FLayers.begin());
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
}

void TKxDeSurface::RemoveLayer(TKxDeLayer* L) {
  if (!L || L->GetSurface() != this) return;
  L->TKxDeContainer::SetSurface(nullptr);
  auto it = std::find(FLayers.begin(), FLayers.end(), L);
  if (it == FLayers.end()) return;
  FLayers.erase(it);
  LayerRemoved(L);
}

void TKxDeSurface::Clear() {
  if (FLayers.empty()) return;
  BeginUpdate();
  // Each layer leaves the list as it is destroyed.
  while (!FLayers.empty()) {
    TKxDeLayer* top = FLayers.back();
    const size_t before = FLayers.size();
    Free(top);
    if (FLayers.size() == before) FLayers.pop_back();  // a layer that did not detach itself
  }
  EndUpdate();
}

// ---- Batching -------------------------------------------------------------------------------------

void TKxDeSurface::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FChangeCount > 0) Changed(FForced);
}

void TKxDeSurface::Changed(bool Force) {
  if (FDestroying) return;
  FForced = FForced || Force;
  if (FUpdateCount > 0) {
    ++FChangeCount;
    return;
  }
  FForced = false;
  FChangeCount = 0;
  // The window repaints from the document; buffered painting refines this into a rebuild of
  // the paint buffers (full when forced).
  update();
}

void TKxDeSurface::UnLockClientNotify() { --FLockClient; }

// ---- Clients --------------------------------------------------------------------------------------

void TKxDeSurface::RegisterClient(TKxDeSurfaceClient* Client) {
  if (!Client || std::find(FClients.begin(), FClients.end(), Client) != FClients.end()) return;
  if (Client->FSender && Client->FSender != this) Client->FSender->UnRegisterClient(Client);
  FClients.push_back(Client);
  Client->FSender = this;
}

void TKxDeSurface::UnRegisterClient(TKxDeSurfaceClient* Client) {
  auto it = std::find(FClients.begin(), FClients.end(), Client);
  if (it == FClients.end()) return;
  FClients.erase(it);
  Client->FSender = nullptr;
}

void TKxDeSurface::UnRegisterAllClients() {
  while (!FClients.empty()) {
    TKxDeSurfaceClient* c = FClients.back();
    FClients.pop_back();
    c->FSender = nullptr;
  }
  std::vector<TKxDeSurfaceClient*>().swap(FClients);
}

TKxDeSurfaceClient* TKxDeSurface::GetClient(int32_t Index) const {
  if (Index < 0 || Index >= GetClientCount()) return nullptr;
  return FClients[static_cast<size_t>(Index)];
}

// ---- View -----------------------------------------------------------------------------------------

double TKxDeSurface::GetZoom() const { return std::max(FZoom / 100.0, 0.01); }

TRectF TKxDeSurface::GetLayerRect() const {
  // The default page; the layer properties object supplies the document's own size.
  return TRectF{0, 0, 400, 400};
}

// ---- Entry points ---------------------------------------------------------------------------------

void TKxDeSurface::StartAction(TKxDeShapeBase*, TKxDeAction, const QString&) {}
void TKxDeSurface::EndAction(TKxDeShapeBase*, TKxDeAction, const QString&) {}
void TKxDeSurface::NotifyUndo(TKxDeShapeBase*, TKxDeAction, const QString&) {}
void TKxDeSurface::RefineSelections() {}

// Each client in registration order, by index: a client may unregister while it is told.
#define VORN_FOR_EACH_CLIENT(Call)                                 \
  if (ClientsNotified()) {                                         \
    for (size_t i = 0; i < FClients.size(); ++i) FClients[i]->Call; \
  }

void TKxDeSurface::ShapeInserted(TKxDeShapeBase* S) {
  DoShapeInserted(S);
  VORN_FOR_EACH_CLIENT(DoInsertShape(S))
  CallEvent(OnInsertShape, this, S);
}

void TKxDeSurface::ShapeRemoved(TKxDeShapeBase* S) {
  if (FDestroying) return;
  DoShapeRemoved(S);
  VORN_FOR_EACH_CLIENT(DoRemoveShape(S))
  CallEvent(OnRemoveShape, this, S);
}

void TKxDeSurface::ShapeChanged(TKxDeShapeBase* S) {
  if (FDestroying) return;
  DoShapeChanged(S);
  VORN_FOR_EACH_CLIENT(DoShapeChange(S))
  CallEvent(OnShapeChange, this, S);
}

void TKxDeSurface::ShapeCleared(TKxDeShapeBase* S) {
  if (FDestroying) return;
  DoShapeCleared(S);
  VORN_FOR_EACH_CLIENT(DoShapeCleared(S))
  CallEvent(OnClearShape, this, S);
}

void TKxDeSurface::ShapeReordered(TKxDeLayer* L, int32_t CurIndex, int32_t NewIndex) {
  if (FDestroying) return;
  DoShapeReordered(L, CurIndex, NewIndex);
  VORN_FOR_EACH_CLIENT(DoReorderShape(L, CurIndex, NewIndex))
  CallEvent(OnReorderShape, this, L, CurIndex, NewIndex);
}

void TKxDeSurface::LayerChanged(TKxDeLayer* L) {
  Changed(true);
  DoLayerChanged(L);
  VORN_FOR_EACH_CLIENT(DoLayerChange(L))
  CallEvent(OnLayerChange, this, L);
}

void TKxDeSurface::LayerInserted(TKxDeLayer* L) {
  Changed(true);
  DoLayerInserted(L);
  VORN_FOR_EACH_CLIENT(DoInsertLayer(L))
  CallEvent(OnInsertLayer, this, L);
}

void TKxDeSurface::LayerRemoved(TKxDeLayer* L) {
  if (FDestroying || !L) return;
  Changed(true);
  DoLayerRemoved(L);
  VORN_FOR_EACH_CLIENT(DoRemoveLayer(L))
  CallEvent(OnRemoveLayer, this, L);
}

#undef VORN_FOR_EACH_CLIENT

void TKxDeSurface::DoShapeInserted(TKxDeShapeBase*) {}
void TKxDeSurface::DoShapeRemoved(TKxDeShapeBase*) {}
void TKxDeSurface::DoShapeChanged(TKxDeShapeBase*) {}
void TKxDeSurface::DoShapeCleared(TKxDeShapeBase*) {}
void TKxDeSurface::DoShapeReordered(TKxDeLayer*, int32_t, int32_t) {}
void TKxDeSurface::DoLayerInserted(TKxDeLayer*) {}
void TKxDeSurface::DoLayerChanged(TKxDeLayer*) {}
void TKxDeSurface::DoLayerRemoved(TKxDeLayer*) {}

}  // namespace vorn
