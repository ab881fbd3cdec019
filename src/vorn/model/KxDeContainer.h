#pragma once
// TKxDeContainer: a shape that owns an ordered list of child shapes (index 0 is painted first,
// the last on top) and a bounds rectangle of its own. Containers carry every change of a child up
// to the layer, and announce insertion, removal, clearing and z-order changes of children as
// actions for undo.
//
// Children can be walked three ways: by index (Items, ItemCount), with a C++ range-for over the
// container itself (the direct children, bottom to top) or over AllShapes() (every shape below,
// depth-first, a container before its children, packages not entered), and with TShapeEnumerator,
// which does the same walk one MoveNext at a time and can be stopped with Break.

#include "vorn/model/KxDeShapeBase.h"

#include <cstdint>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace vorn {

class TKxDeContainer;
class TKxDePackage;

// Walks the children of a container; with EnumSubLevels also the shapes of nested containers,
// depth-first and pre-order (a group before its children). Packages are yielded but not entered.
// Call MoveNext before each Current. The container must not change while it is walked.
class TShapeEnumerator {
 public:
  TShapeEnumerator(TKxDeContainer* AContainer, bool EnumSubLevels);
  ~TShapeEnumerator();
  TShapeEnumerator(const TShapeEnumerator&) = delete;
  TShapeEnumerator& operator=(const TShapeEnumerator&) = delete;

  bool MoveNext();
  TKxDeShapeBase* Current() const { return GetCurrent(); }
  TKxDeShapeBase* GetCurrent() const;
  // While set, MoveNext answers False.
  bool Break() const { return FBreak; }
  void SetBreak(bool Value) { FBreak = Value; }

  TKxDeContainer* StartContainer() const { return FStartContainer; }

 private:
  int32_t FIndex = -1;
  TKxDeContainer* FStartContainer;
  TKxDeContainer* FContainer;
  bool FBreak = false;
  bool FEnumSubLevels;
  std::unique_ptr<TShapeEnumerator> FSubShapeEnumerator;
};

// Every shape below a container, depth-first and pre-order, for range-for: the walk of
// TShapeEnumerator with EnumSubLevels.
class TShapeTree {
 public:
  // Walks the shapes below a container, depth first, each before its children.
  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = TKxDeShapeBase*;
    using difference_type = std::ptrdiff_t;
    using pointer = TKxDeShapeBase* const*;
    using reference = TKxDeShapeBase* const&;

    iterator() = default;
    explicit iterator(const TKxDeContainer* Root);
    reference operator*() const { return FCurrent; }
    iterator& operator++();
    iterator operator++(int) {
      iterator old = *this;
      ++*this;
      return old;
    }
    friend bool operator==(const iterator& A, const iterator& B) { return A.FCurrent == B.FCurrent; }

   private:
    // Each level: the container walked and the index of its next child.
    std::vector<std::pair<const TKxDeContainer*, size_t>> FStack;
    TKxDeShapeBase* FCurrent = nullptr;
  };

  explicit TShapeTree(const TKxDeContainer* Root) : FRoot(Root) {}
  iterator begin() const { return iterator(FRoot); }
  iterator end() const { return iterator(); }

 private:
  const TKxDeContainer* FRoot;
};

class TKxDeContainer : public TKxDeShapeBase {
  VORN_OBJECT(TKxDeContainer, TKxDeShapeBase)

 public:
  // The shape's styles plus kxssIsContainer, minus kxssUsesPen.
  TKxDeContainer(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

  // The point operations of the shape base stay visible beside the child operations.
  using TKxDeShapeBase::Add;
  using TKxDeShapeBase::Exists;
  using TKxDeShapeBase::Extract;
  using TKxDeShapeBase::IndexOf;
  using TKxDeShapeBase::Insert;
  using TKxDeShapeBase::Remove;

  // ---- Children -------------------------------------------------------------------------------
  int32_t ItemCount() const { return GetItemCount(); }
  int32_t GetItemCount() const { return static_cast<int32_t>(FItems.size()); }
  TKxDeShapeBase* Items(int32_t Index) const { return GetItem(Index); }
  TKxDeShapeBase* GetItem(int32_t Index) const;
  // The child's index, -1 for a shape that is not a direct child.
  int32_t IndexOf(const TKxDeShapeBase* S) const;
  // True when S lies in this container at any depth.
  bool Exists(const TKxDeShapeBase* S) const;
  // Depth-first through every nested container: the first shape with that identity.
  TKxDeShapeBase* ShapeByID(uint32_t AID) override;
  // Depth-first, exact match: the first shape of that name; packages are not searched.
  TKxDeShapeBase* ShapeByName(const QString& AShapename) const;

  // The direct children, bottom to top. The list must not change during the loop.
  using const_iterator = std::vector<TKxDeShapeBase*>::const_iterator;
  const_iterator begin() const { return FItems.begin(); }
  const_iterator end() const { return FItems.end(); }
  // Every shape below, depth-first and pre-order, packages not entered.
  TShapeTree AllShapes() const { return TShapeTree(this); }
  // A new enumerator over the children (and the nested containers with EnumSubLevels).
  std::unique_ptr<TShapeEnumerator> GetEnumerator(bool EnumSubLevels) {
    return std::make_unique<TShapeEnumerator>(this, EnumSubLevels);
  }

  virtual bool CanInsertShape(const TKxDeShapeBase* S) const;
  // Appends S (taking it from its former owner), announced as kxacInserting then kxacInserted.
  void InsertShape(TKxDeShapeBase* S);
  // Inserts S at Index (0 <= Index <= ItemCount), announced as kxacInserting.
  void Insert(int32_t Index, TKxDeShapeBase* S);
  void Add(TKxDeShapeBase* S) { InsertShape(S); }
  // Detaches a child without freeing it, announced as kxacRemoving then kxacRemoved.
  void RemoveShape(TKxDeShapeBase* S);
  // RemoveShape for a child; True when it happened.
  bool Extract(TKxDeShapeBase* S);
  // Frees a child (its destruction removes it).
  void Remove(TKxDeShapeBase* S);
  // Frees the child at Index.
  void Delete(int32_t Index) override;
  // Frees every child, the last first, and the points, in one pass announced as kxacClearing.
  void Clear() override;

  // ---- Z-order (for children only; the actions name the child) --------------------------------
  void BringToFront(TKxDeShapeBase* S);
  void SendToBack(TKxDeShapeBase* S);
  void BringForward(TKxDeShapeBase* S);
  void SendBackward(TKxDeShapeBase* S);
  // Moves the child at CurrentIndex to NewIndex (beyond the end: the last place).
  void ReorderShape(int32_t CurrentIndex, int32_t NewIndex);

  // ---- Geometry -------------------------------------------------------------------------------
  TRectF GetBounds() const override { return FBounds; }
  // The union of the children's bounds; held back while an update or point update is open
  // unless forced.
  void RecalculateBounds(bool Force) override;
  // Moves the top-left corner (MoveBy) and then resizes, as one update; announces nothing.
  void SetBounds(float ALeft, float ATop, float AWidth, float AHeight) override;
  // The bounds as an element "Rect" (millimetres); reading applies them with SetBounds.
  void SaveBoundsToXML(TXmlNode Node) const override;
  void LoadBoundsFromXML(TXmlNode Node) override;
  // The four corners of the bounds: 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left.
  TPointF GetPointValue(int32_t Index) const override;
  // Drags corner Index of the bounds to P; the container's rotation decides which way the two
  // moving edges go.
  void SetPointValue(int32_t Index, const TPointF& P) override;
  // Nothing in a plain container; groups and packages move and scale their children.
  void MoveBy(float X, float Y) override;
  void Resize(float NewWidth, float NewHeight) override;
  // True when a child lies in R.
  bool InRect(const TRectF& R) const override;
  // The corner handle at P (a square of side Fuzz, at least 1), -1 for none or without children.
  int32_t PointAt(const TPointF& P, float Fuzz) const override;
  bool IsOnLine(const TPointF& P) const override;
  int32_t ControlAt(const TPointF& P, float Fuzz) const override;
  // Sets the surface on the container and on every child.
  void SetSurface(TKxDeSurface* Value) override;
  // The lowest visible child whose bounds hold P and which is a container or is hit at P.
  virtual TKxDeShapeBase* ShapeAtPos(const TPointF& P, float Fuzz, bool Editing) const;

  // ---- Painting -------------------------------------------------------------------------------
  // Paints the visible children that lie in the drawing area, bottom to top.
  void Paint(TCanvas* C, float X, float Y, double Zoom, int32_t GDIRotation,
             PmekDeviceCapsInfo DeviceCapsInfo) override;
  void PaintIn(TCanvas* C, float X, float Y, double Zoom, const TRectF& R) override;
  // The bounds as a frame with a handle on each corner, the dragged corner displaced.
  void DrawSelection(TCanvas* C, int32_t X, int32_t Y, const TKxDeDragPoint& DragPoint,
                     const TKxDeSelectionData& Data, double Zoom) override;

  // ---- Propagation up the tree ----------------------------------------------------------------
  virtual void DoShapeInserted(TKxDeShapeBase* S);
  virtual void DoShapeRemoved(TKxDeShapeBase* S);
  virtual void DoShapeChanged(TKxDeShapeBase* S);
  virtual void DoShapeChanging(TKxDeShapeBase* S);
  virtual void DoShapeReordering(int32_t FromIndex, int32_t ToIndex);
  virtual void DoShapeReordered(int32_t FromIndex, int32_t ToIndex);
  virtual void DoShapeCleared(TKxDeShapeBase* S);
  virtual void DoLayerReordered(int32_t FromIndex, int32_t ToIndex);

 protected:
  // Unlinks and frees the children, the last first, without announcing anything.
  ~TKxDeContainer() override;

  // Hooks. ShapeRemoved, ShapeReordered, ShapeCleared and LayerReordered hand the call to the
  // owner's hook of the same name; the others do nothing here.
  virtual void ShapeChanging(TKxDeShapeBase* S);
  virtual void ShapeChanged(TKxDeShapeBase* S);
  virtual void ShapeInserted(TKxDeShapeBase* S);
  virtual void ShapeRemoved(TKxDeShapeBase* S);
  virtual void ShapeCleared(TKxDeShapeBase* S);
  virtual void ShapeReordering(int32_t FromIndex, int32_t ToIndex);
  virtual void ShapeReordered(int32_t FromIndex, int32_t ToIndex);
  virtual void LayerReordered(int32_t FromIndex, int32_t ToIndex);

  // Recalculates the bounds after a delivered change.
  void DoChanged(bool Force) override;

  // The common acceptance test of InsertShape and Insert.
  bool AcceptsShape(const TKxDeShapeBase* S) const;
  // Takes S from its former owner and links it here at Index (the end for -1).
  void LinkShape(TKxDeShapeBase* S, int32_t Index);
  // Moves the child S from index From to index To, announced with Action.
  void MoveChild(TKxDeShapeBase* S, int32_t From, int32_t To, TKxDeAction Action);
  // The move itself, without announcements.
  void PlaceChild(TKxDeShapeBase* S, int32_t From, int32_t To);
  // Scales every child's bounds about the container's top-left corner to a new size (the
  // resize of groups and packages); nothing inside a point update or without children.
  void ScaleChildren(float NewWidth, float NewHeight);
  // Children that take part in painting and hit testing.
  static bool IsShown(const TKxDeShapeBase* S) { return S->Visible() && !S->InDestroy(); }

  std::vector<TKxDeShapeBase*> FItems;
  TRectF FBounds;
};

}  // namespace vorn
