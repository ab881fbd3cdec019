#pragma once
// TKxDeSurfaceIndex: the spatial indexes of a surface's layers, fed by the surface's entry points
// and asked by its hit testing and painting.
//
// The surface hands every shape and layer notification to the member of the same name (before
// its own hooks, so that a hook that hit-tests sees the change) and asks HitShape, ShapeAtPos or
// a layer's index (ItemsIn) where it would otherwise walk its layers. A layer's index is made
// from the layer when first asked for, so layers and shapes that arrived before the index did
// are found as well.

#include "vorn/common/Records.h"
#include "vorn/surface/KxDeLayerIndex_p.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vorn {

class TKxDeLayer;
class TKxDeShapeBase;

class TKxDeSurfaceIndex {
 public:
  TKxDeSurfaceIndex();
  ~TKxDeSurfaceIndex();
  TKxDeSurfaceIndex(const TKxDeSurfaceIndex&) = delete;
  TKxDeSurfaceIndex& operator=(const TKxDeSurfaceIndex&) = delete;

  // ---- The surface's entry points ---------------------------------------------------------------
  void ShapeInserted(TKxDeShapeBase* S);
  void ShapeRemoved(TKxDeShapeBase* S);
  void ShapeChanged(TKxDeShapeBase* S);
  void ShapeCleared(TKxDeShapeBase* S);
  void ShapeReordered(TKxDeLayer* L, int32_t CurIndex, int32_t NewIndex);
  // Fetches ahead of time what the index will read when S changes (see TKxDeLayerIndex::Prefetch).
  void Prefetch(TKxDeShapeBase* S) const {
    if (const TKxDeLayerIndex* index = IndexOfRoot(S)) index->Prefetch(S);
  }
  // A layer that joins the surface is indexed afresh when first asked for; one that leaves is
  // forgotten (its index must not outlive it).
  void LayerInserted(TKxDeLayer* L);
  void LayerRemoved(TKxDeLayer* L);
  // Forgets the indexes of every layer not in Layers (the list was replaced as a whole).
  void KeepOnly(const std::vector<TKxDeLayer*>& Layers);

  // ---- Queries ----------------------------------------------------------------------------------
  // The index of layer L, made when first asked for.
  TKxDeLayerIndex& ForLayer(TKxDeLayer* L);
  // The shape part of the surface's hit test at world point P: from the bottom layer up, layers
  // that are visible and not being destroyed, the lowest item hit (tolerance 0, not editing).
  TKxDeShapeBase* HitShape(const std::vector<TKxDeLayer*>& Layers, const TPointF& P);
  // The surface's ShapeAtPos: from the top layer down, each visible layer's ShapeAtPos(P, Fuzz,
  // True); the first shape found.
  TKxDeShapeBase* ShapeAtPos(const std::vector<TKxDeLayer*>& Layers, const TPointF& P, float Fuzz);

 private:
  // The index of the layer at the root of S's owner chain, or none when that layer has none yet.
  TKxDeLayerIndex* IndexOfRoot(TKxDeShapeBase* S) const;

  std::vector<std::unique_ptr<TKxDeLayerIndex>> FIndexes;
};

}  // namespace vorn
