#pragma once
// A surface that feeds a spatial index from its entry points, as the surface's own notification
// fan-out does, for tests and benchmarks of the index.

#include "vorn/surface/KxDeSurfaceIndex_p.h"

#include <vorn/model/KxDeLayer.h>
#include <vorn/surface/KxDeSurface.h>

#include <vector>

namespace vorn::test {

class TIndexedSurface : public TKxDeSurface {
 public:
  TKxDeSurfaceIndex Index;
  const std::vector<TKxDeLayer*>& Layers() const { return FLayers; }

 protected:
  void DoShapeInserted(TKxDeShapeBase* S) override { Index.ShapeInserted(S); }
  void DoShapeRemoved(TKxDeShapeBase* S) override { Index.ShapeRemoved(S); }
  void DoShapeChanged(TKxDeShapeBase* S) override { Index.ShapeChanged(S); }
  void DoShapeCleared(TKxDeShapeBase* S) override { Index.ShapeCleared(S); }
  void DoShapeReordered(TKxDeLayer* L, int32_t CurIndex, int32_t NewIndex) override {
    Index.ShapeReordered(L, CurIndex, NewIndex);
  }
  void DoLayerInserted(TKxDeLayer* L) override { Index.LayerInserted(L); }
  void DoLayerRemoved(TKxDeLayer* L) override { Index.LayerRemoved(L); }
};

}  // namespace vorn::test
