#pragma once
// TKxDeContainer: a shape that owns an ordered list of child shapes (index 0 is painted first)
// and a bounds rectangle of its own. Containers carry every change of a child up to the layer,
// and announce insertion, removal and clearing of children as actions.
//
// This unit holds the child list, ownership (insertion, removal, clearing, freeing with the
// container) and the propagation of changes up the tree. Z-order, child geometry, painting of
// children and enumeration build on it.

#include "vorn/model/KxDeShapeBase.h"

#include <cstdint>
#include <vector>

namespace vorn {

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
  // Frees every child, the last first, and the points, as one announced kxacClearing.
  void Clear() override;

  // ---- Geometry -------------------------------------------------------------------------------
  TRectF GetBounds() const override { return FBounds; }
  // The union of the children's bounds; held back while an update or point update is open
  // unless forced.
  void RecalculateBounds(bool Force) override;
  // Sets the surface on the container and on every child.
  void SetSurface(TKxDeSurface* Value) override;

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

  std::vector<TKxDeShapeBase*> FItems;
  TRectF FBounds;
};

}  // namespace vorn
