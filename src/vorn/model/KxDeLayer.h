#pragma once
// TKxDeLayer: the top level of a document, owned by a surface. A layer has no owner container;
// it forwards the actions of everything below it to its surface and turns its own changes and
// its children's insertions, removals and reorderings into the surface's entry points.
//
// The printing and resolution attributes are held here; the default styles for new shapes
// arrive with the style objects.

#include "vorn/model/KxDeContainer.h"

#include <cstdint>

namespace vorn {

class TKxDeLayer : public TKxDeContainer {
  VORN_OBJECT(TKxDeLayer, TKxDeContainer)

 public:
  // AOwner (a surface, when given) receives the layer right after construction. The second
  // argument is there for construction by class reference and is ignored: a layer never lies in
  // a container.
  explicit TKxDeLayer(TKxDeSurface* AOwner, TKxDeContainer* = nullptr);
  void AfterConstruction() override;
  // Leaves the surface after the notifiers have been told.
  void BeforeDestruction() override;

  bool OverrideVisibleProperty() const { return FOverrideProperty; }
  void SetOverrideVisibleProperty(bool Value) { FOverrideProperty = Value; }
  bool NoSurface() const { return FNoSurface; }
  void SetNoSurface(bool Value) { FNoSurface = Value; }
  bool PrintingAllowed() const { return FPrintingAllowed; }
  TKxDeKindOfLayer KindOfLayer() const { return FKindOfLayer; }

  // Inserted shapes keep their own styles while the counter is raised (loading, pasting, undo).
  void SkipDefaultProperty() { ++FSkipDefaultProperty; }
  void UnskipDefaultProperty() { if (FSkipDefaultProperty > 0) --FSkipDefaultProperty; }
  int32_t SkipDefaultPropertyCount() const { return FSkipDefaultProperty; }

  // Moves the layer to another surface (or out of its surface for none).
  void SetSurface(TKxDeSurface* Value) override;
  // The layer's own surface.
  TKxDeSurface* GetSurface() const override { return FSurface; }
  // The layer's index in its surface, -1 without surface.
  int32_t GetIndex() const override;

  // Forwarded to the surface when Shape is given, the layer has a surface and is not
  // notify-locked.
  void StartAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) override;
  void EndAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) override;
  void NotifyUndo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) override;

  // A layer's bounds are its page area, not its children's extent.
  void RecalculateBounds(bool Force) override;

 protected:
  ~TKxDeLayer() override = default;

  // Tells the surface LayerChanged, unless destroying or invisible without force.
  void DoChanged(bool Force) override;
  void ShapeChanged(TKxDeShapeBase* S) override;
  void ShapeInserted(TKxDeShapeBase* S) override;
  void ShapeRemoved(TKxDeShapeBase* S) override;
  void ShapeCleared(TKxDeShapeBase* S) override;
  void ShapeReordered(int32_t FromIndex, int32_t ToIndex) override;

  bool FOverrideProperty = true;
  bool FNoSurface = false;
  bool FPrintingAllowed = true;
  TKxDeKindOfLayer FKindOfLayer = TKxDeKindOfLayer::kxdekoAll;
  int32_t FSkipDefaultProperty = 0;

 private:
  TKxDeSurface* FCreateSurface = nullptr;
};

}  // namespace vorn
