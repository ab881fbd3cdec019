#pragma once
// TKxDeLayer: the top level of a document, owned by a surface. A layer has no owner container;
// it forwards the actions of everything below it to its surface and turns its own changes and
// its children's insertions, removals and reorderings into the surface's entry points.
//
// A layer's bounds are its page area, set by Resize, not its children's extent; it cannot be
// moved or dragged by its corners. It keeps the printing and resolution attributes of its
// shapes and the default styles given to the shapes inserted into it.

#include "vorn/model/KxDeContainer.h"
#include "vorn/model/mekLayerObjectsDefaultProperties.h"

#include <cstdint>
#include <vector>

namespace vorn {

class TKxDeLayer;

// A document's layers, bottom first.
using TKxDeLayerList = std::vector<TKxDeLayer*>;

// Implemented by host shapes that adapt to the kind of layer they lie on (the printing
// technology the layer is meant for). A layer whose kind changes calls it on each of its
// shapes that implement it.
class IKxDeLayerKindAware {
 public:
  // The identity of this interface among the host's interfaces.
  static constexpr const char* IID = "{F5F8EEEF-821D-4E8E-A296-AA39D41397E4}";

  // Called with the layer after its KindOfLayer changed.
  virtual void LayerKindChanged(TKxDeLayer* Layer) = 0;

 protected:
  ~IKxDeLayerKindAware() = default;
};

// A layer class chosen at run time (TKxDeLayer or a host's own layer class). Its virtual
// constructor is the shape family's; a layer made through it joins the surface it is given.
using TKxDeLayerClass = const TClass*;

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
  // A plain flag for the host.
  bool NoSurface() const { return FNoSurface; }
  void SetNoSurface(bool Value) { FNoSurface = Value; }
  bool PrintingAllowed() const { return FPrintingAllowed; }
  // Packages on the layer turn to their non-printing colours when printing is not allowed.
  void SetPrintingAllowed(bool Value);
  TKxDeKindOfLayer KindOfLayer() const { return FKindOfLayer; }
  // Tells every shape that implements IKxDeLayerKindAware.
  void SetKindOfLayer(TKxDeKindOfLayer Value);
  // Dots per millimetre of the layer's kind: 8 for 200 dpi, 12 for 300 dpi, 24 otherwise.
  int32_t GetResolution() const;

  // The styles given to shapes inserted into the layer itself.
  TmekLayerObjectsDefaultProperties* ObjectsDefaultProperties() const { return FObjectsDefaultProperties.get(); }
  // Gives S the default brush, pen and gradient where S uses them and the switch is on, as one
  // change of S.
  virtual void AssignDefaultPropertiesToShape(TKxDeShapeBase* S);
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

  // ---- Geometry: the page area ----------------------------------------------------------------
  // The bounds stay the page area whatever the children do.
  void RecalculateBounds(bool Force) override;
  // Sets the page size from the top-left corner, announcing nothing.
  void Resize(float NewWidth, float NewHeight) override;

  // ---- XML ------------------------------------------------------------------------------------
  // The shape element, then "PrintingAllowed", "Kind", "Override" and the default properties.
  // The children are not part of it: whoever writes the layer writes them as object elements.
  void SaveToXML(TXmlNode Node) const override;
  // Always takes the stored identity; the attributes are stored without announcements.
  void LoadFromXML(TXmlNode Node, bool KeepID) override;
  // The page area is the surface's: a layer writes and reads no geometry.
  void SaveBoundsToXML(TXmlNode) const override {}
  void LoadBoundsFromXML(TXmlNode) override {}
  void MoveBy(float X, float Y) override;
  void OffsetPosition(int32_t Index, const TPointF& Offset) override;
  TPointF GetPointValue(int32_t Index) const override;
  void SetPointValue(int32_t Index, const TPointF& P) override;
  int32_t PointAt(const TPointF& P, float Fuzz) const override;
  int32_t ControlAt(const TPointF& P, float Fuzz) const override;
  void DrawSelection(TCanvas* C, int32_t X, int32_t Y, const TKxDeDragPoint& DragPoint,
                     const TKxDeSelectionData& Data, double Zoom) override;
  void DrawSelectionIn(TCanvas* C, int32_t X, int32_t Y, const TKxDeDragPoint& DragPoint,
                       const TKxDeSelectionData& Data, const TRectF& R, double Zoom) override;

  // The page the layer paints on: the surface's layer area when it has a surface, else its own
  // bounds, rounded. Its shapes take theirs from here.
  TRect DrawRect() const override;

  // The shape hint with the layer's name as title and its name, visibility and printing.
  void GetMekOfficeHint(const TPointF& P, TmekHintInfo& HintInfo) override;

 protected:
  ~TKxDeLayer() override = default;

  // Tells the surface LayerChanged, unless destroying or invisible without force.
  void DoChanged(bool Force) override;
  void ShapeChanged(TKxDeShapeBase* S) override;
  // Applies the default styles to a shape inserted into the layer itself, then tells the surface.
  void ShapeInserted(TKxDeShapeBase* S) override;
  void ShapeRemoved(TKxDeShapeBase* S) override;
  void ShapeCleared(TKxDeShapeBase* S) override;
  void ShapeReordered(int32_t FromIndex, int32_t ToIndex) override;

  bool FOverrideProperty = true;
  bool FNoSurface = false;
  bool FPrintingAllowed = true;
  TKxDeKindOfLayer FKindOfLayer = TKxDeKindOfLayer::kxdekoAll;
  int32_t FSkipDefaultProperty = 0;
  TOwned<TmekLayerObjectsDefaultProperties> FObjectsDefaultProperties;

 private:
  TKxDeSurface* FCreateSurface = nullptr;
};

}  // namespace vorn
