#pragma once
// The rows of the layer manager: one TKxDeListLayer per layer of the followed editor, holding one
// TKxDeListShape per shape the layer shows in the list. The list mirrors the document and is
// never the document itself; it only points at the layers and shapes it shows.
//
// List shapes are small values kept in one array per layer, so that a document of 100,000 shapes
// costs one array and no allocation per row.

#include "vorn/common/Object.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace vorn {

class TKxDeCustomLayerManager;
class TKxDeLayer;
class TKxDeListLayer;
class TKxDeShapeBase;

// A row: the shape it shows (for a layer row, the layer).
class TKxDeListItem {
 public:
  explicit TKxDeListItem(TKxDeShapeBase* AShape) : FShape(AShape) {}
  TKxDeShapeBase* Shape() const { return FShape; }

 protected:
  TKxDeShapeBase* FShape;
};

// An item row: a shape and the list layer it belongs to.
class TKxDeListShape : public TKxDeListItem {
 public:
  TKxDeListShape(TKxDeShapeBase* AShape, TKxDeListLayer* AListLayer) : TKxDeListItem(AShape), FListLayer(AListLayer) {}
  TKxDeListLayer* ListLayer() const { return FListLayer; }

 private:
  TKxDeListLayer* FListLayer;
};

// A caption row and the item rows under it.
class TKxDeListLayer : public TKxDeListItem {
 public:
  TKxDeListLayer(TKxDeLayer* ALayer, TKxDeCustomLayerManager* AOwner);
  TKxDeListLayer(const TKxDeListLayer&) = delete;
  TKxDeListLayer& operator=(const TKxDeListLayer&) = delete;

  TKxDeLayer* Layer() const { return FLayer; }
  TKxDeCustomLayerManager* Owner() const { return FOwner; }

  const TKxDeListShape* GetShape(int32_t Index) const;
  int32_t GetShapeCount() const { return static_cast<int32_t>(FShapes.size()); }
  // The list index of a shape, or -1. Hint is where to look first (its index in the layer).
  int32_t IndexOfShape(const TKxDeShapeBase* Shape, int32_t Hint = -1) const;

  bool Expanded() const { return FExpanded; }
  // A change tells the manager (LayerExpandChanged).
  void SetExpanded(bool Value);

  void ClearShapes();
  // One row per shape of the layer, in the layer's order, leaving out the shapes that ask not to
  // be shown in the list.
  void UpdateShapes();
  // A shape that arrived in the layer: its row goes where the layer holds it (a hidden one is
  // only counted).
  void ShapeInserted(TKxDeShapeBase* Shape);
  // Drops the row at Index.
  void ShapeRemoved(int32_t Index);
  // Rows plus the layer's shapes without a row equal the layer's shapes, unless the list missed
  // a change.
  bool InStep() const;
  // Notes what the caption shows of the layer; True when that changed since the last call.
  bool CaptionChanged();

 private:
  std::vector<TKxDeListShape> FShapes;
  TKxDeLayer* FLayer;
  bool FExpanded = true;
  TKxDeCustomLayerManager* FOwner;
  // Shapes of the layer that have no row.
  int32_t FUnlisted = 0;
  // What the caption and the item rows show of the layer, as last painted.
  QString FShownName;
  uint8_t FShownFlags = 0;
};

// A shape that is never shown in the list.
bool HiddenFromLayerManager(const TKxDeShapeBase* Shape);

}  // namespace vorn
