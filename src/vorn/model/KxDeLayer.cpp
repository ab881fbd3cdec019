#include "vorn/model/KxDeLayer.h"

#include "vorn/surface/KxDeSurface.h"

namespace vorn {

TKxDeLayer::TKxDeLayer(TKxDeSurface* AOwner, TKxDeContainer*)
    : TKxDeContainer(nullptr, nullptr), FCreateSurface(AOwner) {}

void TKxDeLayer::AfterConstruction() {
  TKxDeContainer::AfterConstruction();
  TKxDeSurface* surface = FCreateSurface;
  FCreateSurface = nullptr;
  if (surface) surface->InsertLayer(this);
}

void TKxDeLayer::BeforeDestruction() {
  TKxDeContainer::BeforeDestruction();
  if (FSurface) FSurface->RemoveLayer(this);
}

void TKxDeLayer::SetSurface(TKxDeSurface* Value) {
  TKxDeSurface* old = FSurface;
  // Leave the old surface first, while it still recognises the layer as its own.
  if (old && old != Value) old->RemoveLayer(this);
  TKxDeContainer::SetSurface(Value);
  if (Value) Value->InsertLayer(this);
}

int32_t TKxDeLayer::GetIndex() const { return FSurface ? FSurface->IndexOf(this) : -1; }

void TKxDeLayer::StartAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) {
  if (Shape && FSurface && FNotifyLock == 0) FSurface->StartAction(Shape, Action, PropName);
}

void TKxDeLayer::EndAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) {
  if (Shape && FSurface && FNotifyLock == 0) FSurface->EndAction(Shape, Action, PropName);
}

void TKxDeLayer::NotifyUndo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) {
  if (Shape && FSurface && FNotifyLock == 0) FSurface->NotifyUndo(Shape, Action, PropName);
}

void TKxDeLayer::RecalculateBounds(bool) {}

void TKxDeLayer::DoChanged(bool Force) {
  if (FDestroying || (!Force && !FVisible)) return;
  if (FSurface) FSurface->LayerChanged(this);
}

void TKxDeLayer::ShapeChanged(TKxDeShapeBase* S) {
  if (FSurface) FSurface->ShapeChanged(S);
}

void TKxDeLayer::ShapeInserted(TKxDeShapeBase* S) {
  // The layer's default styles are applied here (unless skipped) once shapes carry styles.
  if (FSurface) FSurface->ShapeInserted(S);
}

void TKxDeLayer::ShapeRemoved(TKxDeShapeBase* S) {
  if (FSurface) FSurface->ShapeRemoved(S);
}

void TKxDeLayer::ShapeCleared(TKxDeShapeBase* S) {
  if (FSurface) FSurface->ShapeCleared(S);
}

void TKxDeLayer::ShapeReordered(int32_t FromIndex, int32_t ToIndex) {
  if (FSurface) FSurface->ShapeReordered(this, FromIndex, ToIndex);
}

}  // namespace vorn
