#include "vorn/layermanager/KxDeListLayer.h"

#include "vorn/layermanager/KxDeLayerManager.h"
#include "vorn/model/KxDeLayer.h"

namespace vorn {

bool HiddenFromLayerManager(const TKxDeShapeBase* Shape) {
  return Shape->ShapeStyle().Contains(TKxDeShapeStyle::kxssDontShowInLayerManager);
}

TKxDeListLayer::TKxDeListLayer(TKxDeLayer* ALayer, TKxDeCustomLayerManager* AOwner)
    : TKxDeListItem(ALayer), FLayer(ALayer), FOwner(AOwner) {
  CaptionChanged();
}

const TKxDeListShape* TKxDeListLayer::GetShape(int32_t Index) const {
  return Index >= 0 && Index < GetShapeCount() ? &FShapes[static_cast<size_t>(Index)] : nullptr;
}

int32_t TKxDeListLayer::IndexOfShape(const TKxDeShapeBase* Shape, int32_t Hint) const {
  // Without unlisted shapes the row index is the layer index; otherwise the row lies at or before it.
  if (Hint >= GetShapeCount()) Hint = GetShapeCount() - 1;
  if (Hint >= 0 && FShapes[static_cast<size_t>(Hint)].Shape() == Shape) return Hint;
  // Shapes mostly leave from the end (a layer being emptied): look from there.
  for (size_t i = FShapes.size(); i-- > 0;)
    if (FShapes[i].Shape() == Shape) return static_cast<int32_t>(i);
  return -1;
}

void TKxDeListLayer::SetExpanded(bool Value) {
  if (FExpanded == Value) return;
  FExpanded = Value;
  if (FOwner) FOwner->LayerExpandChanged(this);
}

void TKxDeListLayer::ClearShapes() {
  FShapes.clear();
  FUnlisted = 0;
}

void TKxDeListLayer::UpdateShapes() {
  ClearShapes();
  const int32_t n = FLayer->GetItemCount();
  FShapes.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    TKxDeShapeBase* s = FLayer->GetItem(i);
    if (HiddenFromLayerManager(s)) ++FUnlisted;
    else FShapes.emplace_back(s, this);
  }
}

void TKxDeListLayer::ShapeInserted(TKxDeShapeBase* Shape) {
  if (HiddenFromLayerManager(Shape)) {
    ++FUnlisted;
    return;
  }
  const int32_t n = FLayer->GetItemCount();
  // Most shapes arrive on top of the layer.
  if (n > 0 && FLayer->GetItem(n - 1) == Shape) {
    FShapes.emplace_back(Shape, this);
    return;
  }
  const int32_t at = FUnlisted == 0 ? FLayer->IndexOf(Shape) : -1;
  if (at >= 0 && at <= GetShapeCount()) FShapes.emplace(FShapes.begin() + at, Shape, this);
  else UpdateShapes();  // placed among unlisted shapes: count again
}

void TKxDeListLayer::ShapeRemoved(int32_t Index) {
  if (Index >= 0 && Index < GetShapeCount()) FShapes.erase(FShapes.begin() + Index);
}

bool TKxDeListLayer::CaptionChanged() {
  const uint8_t flags = static_cast<uint8_t>(FLayer->Visible() | FLayer->Locked() << 1 | FLayer->PrintingAllowed() << 2 |
                                             static_cast<int>(FLayer->KindOfLayer()) << 3);
  if (flags == FShownFlags && FLayer->Name() == FShownName) return false;
  FShownFlags = flags;
  FShownName = FLayer->Name();
  return true;
}

bool TKxDeListLayer::InStep() const { return GetShapeCount() + FUnlisted == FLayer->GetItemCount(); }

}  // namespace vorn
