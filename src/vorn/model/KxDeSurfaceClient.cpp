#include "vorn/model/KxDeSurfaceClient.h"

#include "vorn/model/KxDeLayer.h"
#include "vorn/surface/KxDeSurface.h"

namespace vorn {

TKxDeSurfaceClient::TKxDeSurfaceClient(TKxDeSurface* ASender) : FPendingSender(ASender) {}

TKxDeSurfaceClient::~TKxDeSurfaceClient() = default;

void TKxDeSurfaceClient::AfterConstruction() {
  TKxDeSurface* sender = FPendingSender;
  FPendingSender = nullptr;
  if (sender) sender->RegisterClient(this);
}

void TKxDeSurfaceClient::BeforeDestruction() {
  if (FSender) FSender->UnRegisterClient(this);
}

TObject* TKxDeSurfaceClient::EventSender() const { return FSender; }

void TKxDeSurfaceClient::DoActiveLayerChange() { CallEvent(OnActiveLayerChange, EventSender()); }

void TKxDeSurfaceClient::DoInsertLayer(TKxDeLayer* Layer) { CallEvent(OnInsertLayer, EventSender(), Layer); }

void TKxDeSurfaceClient::DoInsertShape(TKxDeShapeBase* Shape) { CallEvent(OnInsertShape, EventSender(), Shape); }

void TKxDeSurfaceClient::DoRemoveLayer(TKxDeLayer* Layer) { CallEvent(OnRemoveLayer, EventSender(), Layer); }

void TKxDeSurfaceClient::DoRemoveShape(TKxDeShapeBase* Shape) { CallEvent(OnRemoveShape, EventSender(), Shape); }

void TKxDeSurfaceClient::DoLayerChange(TKxDeLayer* Layer) { CallEvent(OnLayerChange, EventSender(), Layer); }

void TKxDeSurfaceClient::DoShapeCleared(TKxDeShapeBase* Shape) { CallEvent(OnClearShape, EventSender(), Shape); }

void TKxDeSurfaceClient::DoShapeChange(TKxDeShapeBase* Shape) { CallEvent(OnShapechange, EventSender(), Shape); }

void TKxDeSurfaceClient::DoFramePropsChange() { CallEvent(OnFramePropsChange, EventSender()); }

void TKxDeSurfaceClient::DoGridPropsChange() { CallEvent(OnGridPropsChange, EventSender()); }

void TKxDeSurfaceClient::DoLayerPropsChange() { CallEvent(OnLayerPropsChange, EventSender()); }

void TKxDeSurfaceClient::DoZoom() { CallEvent(OnZoom, EventSender()); }

void TKxDeSurfaceClient::DoReorderShape(TKxDeLayer* Layer, intptr_t CurIndex, intptr_t NewIndex) {
  CallEvent(OnReorderShape, EventSender(), Layer, CurIndex, NewIndex);
}

void TKxDeSurfaceClient::DoReorderLayer(TKxDeLayer* Layer, intptr_t CurIndex, intptr_t NewIndex) {
  CallEvent(OnReorderLayer, EventSender(), Layer, CurIndex, NewIndex);
}

}  // namespace vorn
