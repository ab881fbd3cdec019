#pragma once
// A surface whose spatial index and layer list tests and benchmarks may reach.

#include "vorn/surface/KxDeSurfaceIndex_p.h"

#include <vorn/model/KxDeLayer.h>
#include <vorn/surface/KxDeSurface.h>

#include <vector>

namespace vorn::test {

class TIndexedSurface : public TKxDeSurface {
 public:
  using TKxDeSurface::Index;
  const std::vector<TKxDeLayer*>& Layers() const { return FLayers; }
};

}  // namespace vorn::test
