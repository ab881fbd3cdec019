#include "vorn/surface/KxDeSurfaceIndex_p.h"

#include "vorn/model/KxDeLayer.h"

#include <algorithm>

namespace vorn {

TKxDeSurfaceIndex::TKxDeSurfaceIndex() = default;
TKxDeSurfaceIndex::~TKxDeSurfaceIndex() = default;

TKxDeLayerIndex* TKxDeSurfaceIndex::IndexOfRoot(TKxDeShapeBase* S) const {
  if (!S) return nullptr;
  while (S->Owner()) S = S->Owner();
  for (const auto& index : FIndexes)
    if (index->Layer() == S) return index.get();
  return nullptr;
}

void TKxDeSurfaceIndex::ShapeInserted(TKxDeShapeBase* S) {
  if (TKxDeLayerIndex* index = IndexOfRoot(S)) index->ShapeInserted(S);
}

void TKxDeSurfaceIndex::ShapeRemoved(TKxDeShapeBase* S) {
  // The shape has left its owner already: the layer that held it is the one whose index has it.
  for (const auto& index : FIndexes)
    if (index->ShapeRemoved(S)) return;
}

void TKxDeSurfaceIndex::ShapeChanged(TKxDeShapeBase* S) {
  if (TKxDeLayerIndex* index = IndexOfRoot(S)) index->ShapeChanged(S);
}

void TKxDeSurfaceIndex::ShapeCleared(TKxDeShapeBase* S) {
  if (TKxDeLayerIndex* index = IndexOfRoot(S)) index->ShapeCleared(S);
}

void TKxDeSurfaceIndex::ShapeReordered(TKxDeLayer* L, int32_t CurIndex, int32_t NewIndex) {
  if (TKxDeLayerIndex* index = IndexOfRoot(L)) index->ShapeReordered(CurIndex, NewIndex);
}

void TKxDeSurfaceIndex::LayerInserted(TKxDeLayer* L) { LayerRemoved(L); }

void TKxDeSurfaceIndex::LayerRemoved(TKxDeLayer* L) {
  std::erase_if(FIndexes, [L](const auto& Index) { return Index->Layer() == L; });
}

void TKxDeSurfaceIndex::KeepOnly(const std::vector<TKxDeLayer*>& Layers) {
  std::erase_if(FIndexes, [&Layers](const auto& Index) {
    return std::find(Layers.begin(), Layers.end(), Index->Layer()) == Layers.end();
  });
}

TKxDeLayerIndex& TKxDeSurfaceIndex::ForLayer(TKxDeLayer* L) {
  for (const auto& index : FIndexes)
    if (index->Layer() == L) return *index;
  return *FIndexes.emplace_back(std::make_unique<TKxDeLayerIndex>(L));
}

TKxDeShapeBase* TKxDeSurfaceIndex::HitShape(const std::vector<TKxDeLayer*>& Layers, const TPointF& P) {
  for (TKxDeLayer* layer : Layers) {
    if (!layer->Visible() || layer->InDestroy()) continue;
    if (TKxDeShapeBase* s = ForLayer(layer).HitShape(P)) return s;
  }
  return nullptr;
}

TKxDeShapeBase* TKxDeSurfaceIndex::ShapeAtPos(const std::vector<TKxDeLayer*>& Layers, const TPointF& P, float Fuzz) {
  // A layer being destroyed is still asked, as the layers' own walk does.
  for (auto it = Layers.rbegin(); it != Layers.rend(); ++it) {
    if (!(*it)->Visible()) continue;
    if (TKxDeShapeBase* s = ForLayer(*it).ShapeAtPos(P, Fuzz, true)) return s;
  }
  return nullptr;
}

}  // namespace vorn
