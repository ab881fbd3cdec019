#include "vorn/surface/KxDeSurface.h"

#include "vorn/common/Canvas.h"
#include "vorn/model/KxDeGroup.h"
#include "vorn/model/KxDeRegister.h"
#include "vorn/model/KxDeSurfaceClient.h"
#include "vorn/raster/KxDeBitmap.h"
#include "vorn/surface/KxDeSurfaceIndex_p.h"
#include "vorn/surface/SurfaceBrackets_p.h"
#include "vorn/surface/SurfaceLog_p.h"

#include <algorithm>

namespace vorn {

Q_LOGGING_CATEGORY(lcSurface, "vorn.surface", QtWarningMsg)

namespace {

// Documents name their groups and layers by class name: both classes are known to the registry
// from the moment the library is loaded.
[[maybe_unused]] const bool gContainersRegistered = [] {
  TKxDeRegister::RegisterShape(ClassOf<TKxDeGroup>(), QStringLiteral("Group"), QString());
  TKxDeRegister::RegisterShape(ClassOf<TKxDeLayer>(), QStringLiteral("Layer"), QString());
  return true;
}();

}  // namespace

const TClass* TKxDeSurface::ClassType() const { return ClassOf<TKxDeSurface>(); }

TKxDeSurface::TKxDeSurface(QWidget* Parent)
    : TKxDeCustomScrollControl(Parent),
      FFrameProperties(Create<TKxDeFrameProperties>(this)),
      FGridProperties(Create<TKxDeGridProperties>(this)),
      FLayerProperties(Create<TKxDeLayerProperties>(this)),
      FLayerBuffer(Create<TKxDeBitmap>()),
      FClientBuffer(Create<TKxDeBitmap>()),
      FIndex(std::make_unique<TKxDeSurfaceIndex>()) {
  // The border, the bars and their classes are the surface's own (made on first use); the
  // rest is set directly, as nothing listens yet.
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  resize(400, 350);
  FColor = clGray;
  FIndent = 20;
  RefreshBuffers(true, false);
}

TKxDeSurface::~TKxDeSurface() { TKxDeSurface::BeforeDestruction(); }

void TKxDeSurface::BeforeDestruction() {
  if (FTornDown) return;
  FTornDown = true;
  FDestroying = true;
  UnRegisterAllClients();
  Clear();
}

TKxDeControlBorderPropsClass TKxDeSurface::GetBorderPropsClass() const { return ClassOf<TKxDeBorderProps>(); }
TKxDeCustomControlScrollbarClass TKxDeSurface::GetScrollbarClass() const { return ClassOf<TKxDeScrollbar>(); }
TKxDeControlCustomScrollbarsClass TKxDeSurface::GetControlScrollbarsClass() const { return ClassOf<TKxDeScrollbars>(); }

void TKxDeSurface::SetFrame(const TKxDeFrameProperties* Value) {
  if (Value) FFrameProperties->Assign(Value);
}

void TKxDeSurface::SetGrid(const TKxDeGridProperties* Value) {
  if (Value) FGridProperties->Assign(Value);
}

void TKxDeSurface::SetLayer(const TKxDeLayerProperties* Value) {
  if (Value) FLayerProperties->Assign(Value);
}

// ---- Batching -------------------------------------------------------------------------------------

void TKxDeSurface::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FChangeCount > 0) {
    // Whether the changes gathered need everything painted was noted as each came in.
    TCountScope shapes(FShapeDriven);
    Changed(FForced);
  }
}

void TKxDeSurface::Changed(bool Force) {
  if (FDestroying) return;
  if (Force && FShapeDriven == 0) FLayersChanged = true;
  FForced = FForced || Force;
  if (FUpdateCount > 0) {
    ++FChangeCount;
    return;
  }
  const bool forced = FForced;
  FForced = false;
  FChangeCount = 0;
  const int32_t h = FHorizontalPos;
  const int32_t v = FVerticalPos;
  ValidateLayerOffset(FHorizontalPos, FVerticalPos);
  const bool moved = h != FHorizontalPos || v != FVerticalPos;
  UpdateScrollBars();
  TCountScope shapes(FShapeDriven);
  RefreshBuffers(forced || moved, false);
}

void TKxDeSurface::UnLockClientNotify() {
  if (--FLockClient == 0 && FChangeCount > 0)
    for (size_t i = 0; i < FClients.size(); ++i) FClients[i]->DoLayerChange(FActiveLayer);
}

void TKxDeSurface::BeginUndoLock() {}
void TKxDeSurface::EndUndoLock() {}
void TKxDeSurface::BeginUndoGroup() {}
void TKxDeSurface::EndUndoGroup() {}

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

// ---- Entry points ---------------------------------------------------------------------------------

void TKxDeSurface::StartAction(TKxDeShapeBase*, TKxDeAction, const QString&) {}
void TKxDeSurface::EndAction(TKxDeShapeBase*, TKxDeAction, const QString&) {}
void TKxDeSurface::NotifyUndo(TKxDeShapeBase*, TKxDeAction, const QString&) {}
void TKxDeSurface::RefineSelections() {}
void TKxDeSurface::CopyToClipboard() {}
void TKxDeSurface::CutToClipboard() {}
void TKxDeSurface::PasteFromClipboard() {}

void TKxDeSurface::ShapeInserted(TKxDeShapeBase* S) {
  FIndex->ShapeInserted(S);
  DoShapeInserted(S);
  ForEachClient([S](TKxDeSurfaceClient* C) { C->DoInsertShape(S); });
  CallEvent(OnInsertShape, this, S);
}

void TKxDeSurface::ShapeRemoved(TKxDeShapeBase* S) {
  if (FDestroying) return;
  FIndex->ShapeRemoved(S);
  DoShapeRemoved(S);
  ForEachClient([S](TKxDeSurfaceClient* C) { C->DoRemoveShape(S); });
  CallEvent(OnRemoveShape, this, S);
}

void TKxDeSurface::ShapeChanged(TKxDeShapeBase* S) {
  if (FDestroying) return;
  FIndex->ShapeChanged(S);
  DoShapeChanged(S);
  ForEachClient([S](TKxDeSurfaceClient* C) { C->DoShapeChange(S); });
  CallEvent(OnShapeChange, this, S);
}

void TKxDeSurface::ShapeCleared(TKxDeShapeBase* S) {
  if (FDestroying) return;
  FIndex->ShapeCleared(S);
  DoShapeCleared(S);
  ForEachClient([S](TKxDeSurfaceClient* C) { C->DoShapeCleared(S); });
  CallEvent(OnClearShape, this, S);
}

void TKxDeSurface::ShapeReordered(TKxDeLayer* L, int32_t CurIndex, int32_t NewIndex) {
  if (FDestroying) return;
  FIndex->ShapeReordered(L, CurIndex, NewIndex);
  DoShapeReordered(L, CurIndex, NewIndex);
  ForEachClient([&](TKxDeSurfaceClient* C) { C->DoReorderShape(L, CurIndex, NewIndex); });
  CallEvent(OnReorderShape, this, L, CurIndex, NewIndex);
}

void TKxDeSurface::LayerChanged(TKxDeLayer* L) {
  const bool reselect = L == FActiveLayer || !FActiveLayer || FActiveLayer->Locked();
  // Painting again only where shapes changed is right when the layer's shapes account for this
  // change; a change without a layer (the layers' order) needs everything painted again.
  if (!L) FLayersChanged = true;
  else if (std::find(FChangedLayers.begin(), FChangedLayers.end(), L) == FChangedLayers.end())
    FChangedLayers.push_back(L);
  {
    TCountScope shapes(FShapeDriven);
    Changed(true);
  }
  DoLayerChanged(L);
  ForEachClient([L](TKxDeSurfaceClient* C) { C->DoLayerChange(L); });
  CallEvent(OnLayerChange, this, L);
  if (reselect) SetActiveLayer(GetActiveLayer());
}

void TKxDeSurface::LayerInserted(TKxDeLayer* L) {
  FIndex->LayerInserted(L);
  FLayersChanged = true;
  Changed(true);
  DoLayerInserted(L);
  ForEachClient([L](TKxDeSurfaceClient* C) { C->DoInsertLayer(L); });
  CallEvent(OnInsertLayer, this, L);
}

void TKxDeSurface::LayerRemoved(TKxDeLayer* L) {
  if (FDestroying || !L) return;
  FIndex->LayerRemoved(L);
  FLayersChanged = true;
  Changed(true);
  DoLayerRemoved(L);
  ForEachClient([L](TKxDeSurfaceClient* C) { C->DoRemoveLayer(L); });
  CallEvent(OnRemoveLayer, this, L);
  if (L == FActiveLayer) SetActiveLayer(ReArrangeActiveLayer(L));
}

void TKxDeSurface::LayerReordered(TKxDeLayer* L, int32_t CurIndex, int32_t NewIndex) {
  FLayersChanged = true;
  if (!FDestroying) DoLayerReordered(L, CurIndex, NewIndex);
  ForEachClient([&](TKxDeSurfaceClient* C) { C->DoReorderLayer(L, CurIndex, NewIndex); });
  CallEvent(OnReorderLayer, this, L, CurIndex, NewIndex);
}

void TKxDeSurface::ActiveLayerChanged() {
  DoActiveLayerChanged();
  ForEachClient([](TKxDeSurfaceClient* C) { C->DoActiveLayerChange(); });
  CallEvent(OnActiveLayerChange, this);
}

void TKxDeSurface::FramePropsChanged() {
  FComposeAll = true;
  Changed(false);
  ForEachClient([](TKxDeSurfaceClient* C) { C->DoFramePropsChange(); });
  CallEvent(OnFramePropsChange, this);
}

void TKxDeSurface::GridPropsChanged() {
  FLayersChanged = true;
  Changed(true);
  ForEachClient([](TKxDeSurfaceClient* C) { C->DoGridPropsChange(); });
  CallEvent(OnGridPropsChange, this);
}

void TKxDeSurface::LayerPropsChanged(bool Flag) {
  FLayersChanged = true;
  {
    TSurfaceUpdate update(this);
    Changed(true);
    if (Flag) UpdateScrollBars();
  }
  ForEachClient([](TKxDeSurfaceClient* C) { C->DoLayerPropsChange(); });
  CallEvent(OnLayerPropsChange, this);
}

void TKxDeSurface::DoShapeInserted(TKxDeShapeBase*) {}
void TKxDeSurface::DoShapeRemoved(TKxDeShapeBase*) {}
void TKxDeSurface::DoShapeChanged(TKxDeShapeBase*) {}
void TKxDeSurface::DoShapeCleared(TKxDeShapeBase*) {}
void TKxDeSurface::DoShapeReordered(TKxDeLayer*, int32_t, int32_t) {}
void TKxDeSurface::DoLayerInserted(TKxDeLayer*) {}
void TKxDeSurface::DoLayerChanged(TKxDeLayer*) {}
void TKxDeSurface::DoLayerRemoved(TKxDeLayer*) {}
void TKxDeSurface::DoLayerReordered(TKxDeLayer*, int32_t, int32_t) {}
void TKxDeSurface::DoActiveLayerChanged() {}
void TKxDeSurface::DoMouseWheelZoom(int16_t) {}
void TKxDeSurface::BeforeUpdateBuffers(TCanvas*) {}
void TKxDeSurface::AfterUpdateBuffers(TCanvas*) {}
void TKxDeSurface::BeforeLayerPaint(TCanvas*) {}
void TKxDeSurface::AfterLayerPaint(TCanvas*) {}
void TKxDeSurface::DrawSelection(TCanvas*) {}
void TKxDeSurface::BeforePaint(TCanvas*) {}
void TKxDeSurface::AfterPaint(TCanvas*) {}
void TKxDeSurface::UpdatePaintBuffer() {}

// ---- Control hooks --------------------------------------------------------------------------------

void TKxDeSurface::ColorChanged() {
  FLayersChanged = true;
  RefreshBuffers(true, false);
}

void TKxDeSurface::IndentChanged() {
  FLayersChanged = true;
  Changed(true);
}

void TKxDeSurface::PictureChanged() {
  FLayersChanged = true;
  TKxDeCustomScrollControl::PictureChanged();
  Changed(true);
}

void TKxDeSurface::Loaded() {
  FLayersChanged = true;
  TKxDeCustomScrollControl::Loaded();
  TSurfaceUpdate update(this);
  RefreshBuffers(true, false);
  UpdateScrollBars();
}

}  // namespace vorn
