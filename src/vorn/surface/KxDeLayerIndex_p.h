#pragma once
// TKxDeLayerIndex: a spatial index of one layer's items, so that hit testing and painting ask
// only the few shapes near a point or inside an area instead of walking every shape.
//
// It holds, per item of the layer (a group or package counts as one item), a rectangle that
// contains everything the item answers for (see IKxDeHitExtent), in an R-tree. The index only
// narrows the search: the queries hand back candidates in the layer's order and the callers apply
// the shapes' own tests, so answers equal those of walking the whole layer.
//
// It is kept current by the surface's notifications, lazily: a notification only marks the item
// concerned (a nested shape marks the layer's item that holds it), and the next query catches up
// in one of three ways, by how many items were marked:
// - a few are taken out of the tree and put back one by one;
// - a batch (a gesture moving thousands of shapes) leaves the main tree as it is and goes into a
//   second, small tree packed from every item moved out so far; the main tree's entries of those
//   items are stale and skipped by the queries;
// - once the moved items are a large share of the layer, the main tree is packed anew from all.
// Moving thousands of shapes in one gesture therefore costs one packing of the moved ones, not
// thousands of tree updates.
// The item order is kept as a number per item, checked against the layer when read and
// renumbered in one pass when items were inserted, removed or reordered.
//
// The answers follow the shapes as their changes were last announced: a shape whose change is
// still held in an open update bracket is found where it was before.

#include "vorn/common/Records.h"
#include "vorn/model/KxDeShapeBase.h"

#include <QHash>

#include <cstdint>
#include <memory>
#include <vector>

namespace vorn {

class IKxDeHitExtent;
class TKxDeLayer;
class TKxDeShapeBase;

class TKxDeLayerIndex {
 public:
  // Counters of the work done, for tests and benchmarks.
  struct TStats {
    uint64_t Builds = 0;     // whole index made from the layer's items
    uint64_t Repacks = 0;    // tree packed anew after many changes
    uint64_t Reinserts = 0;  // items taken out of the tree and put back one by one
    uint64_t Batches = 0;    // batches of changed items put into the tree of moved items
    uint64_t Renumbers = 0;  // item order read again from the layer
  };

  // The index is made from the layer's items when first asked.
  explicit TKxDeLayerIndex(TKxDeLayer* Layer);
  ~TKxDeLayerIndex();
  TKxDeLayerIndex(const TKxDeLayerIndex&) = delete;
  TKxDeLayerIndex& operator=(const TKxDeLayerIndex&) = delete;

  TKxDeLayer* Layer() const { return FLayer; }

  // ---- Notifications (S is a shape at any depth below the layer) -------------------------------
  void ShapeInserted(TKxDeShapeBase* S);
  // True when S was one of the layer's items here (a removed nested shape is not: its container
  // announces its own change).
  bool ShapeRemoved(TKxDeShapeBase* S);
  void ShapeChanged(TKxDeShapeBase* S);
  // Fetches ahead of time the entry a change of item S will read (a walk over many items asks a few
  // items early). Reads S's own fields only.
  void Prefetch(const TKxDeShapeBase* S) const {
    if (const uint32_t hint = S->FIndexHint; hint < FEntries.size()) __builtin_prefetch(&FEntries[hint]);
  }
  // The layer itself was cleared, or a container below it.
  void ShapeCleared(TKxDeShapeBase* S);
  // The item now at NewIndex moved among the others: where it lies, the stacking changed. (Orders
  // themselves are checked when read.)
  void ShapeReordered(int32_t CurIndex, int32_t NewIndex);
  // Forgets everything: the index is made again from the layer when next asked.
  void Invalidate() { FRebuild = true; }

  // ---- Queries (each first catches up with the changes announced since the last) --------------
  // The items whose rectangle meets Area, edges included, from the bottom item to the top one.
  // Hidden and dying items are included: the caller applies its own rules. Result is replaced.
  void ItemsIn(const TRectF& Area, std::vector<TKxDeShapeBase*>& Result);
  // The items that PointOnShape with tolerance Fuzz may find at P, from the bottom up.
  void ItemsAt(const TPointF& P, float Fuzz, std::vector<TKxDeShapeBase*>& Result);
  // The surface's hit test within the layer: the lowest visible, living item whose
  // PointOnShape(P, 0, False) is True, or none.
  TKxDeShapeBase* HitShape(const TPointF& P);
  // The layer's ShapeAtPos(P, Fuzz, Editing) answered through the index.
  TKxDeShapeBase* ShapeAtPos(const TPointF& P, float Fuzz, bool Editing);

  // What the changes caught up with since the last call cover: the rectangles the changed items
  // had before and have now. All is set when the index was made anew or an item reaches
  // everywhere; Any is False when nothing changed.
  struct TChanges {
    bool Any = false;
    bool All = false;
    TRectF Area;
  };
  TChanges TakeChanges();

  // Items indexed (after catching up).
  int32_t Count();
  const TStats& Stats() const { return FStats; }

 private:
  struct TTrees;  // the R-trees, private to the implementation
  struct TEntry {
    TKxDeShapeBase* Shape = nullptr;         // none once the item left the layer
    TRectF Box;                              // the item's rectangle where it is found now
    TRectF MainBox;                          // the rectangle in the main tree (stale once moved out)
    TRectF Fresh;                            // the extent measured when its change was told (kFresh)
    const IKxDeHitExtent* Extent = nullptr;  // the item's own extent, once its class was asked
    int32_t Order = -1;                      // the item's index in the layer when last numbered
    uint8_t Flags = 0;
  };
  static constexpr uint32_t kNoSlot = 0xFFFFFFFFu;

  // Brings the tree up to date with the marked items.
  void CatchUp();
  // Makes the whole index from the layer's items.
  void Build();
  // Recomputes the marked items and packs the tree from every item.
  void Repack();
  void PackTree();
  // Takes a marked item out of the tree and puts it back with its new rectangle.
  void Reinsert(uint32_t Slot);
  // Moves the marked items out of the main tree into the tree of moved items, or packs the main
  // tree anew when the moved items became too many.
  void Batch();
  // Packs the tree of moved items from FMoved (dropping what is no longer moved).
  void PackMoved();
  void Unlink(uint32_t Slot);
  void Link(uint32_t Slot);
  // Frees a dead entry's slot, or returns False for a living one.
  bool Release(uint32_t Slot);
  void Measure(TEntry& E);
  // The item's extent as its class measures it.
  TRectF ExtentOf(TEntry& E);
  void PrefetchPending(size_t I) const;
  uint32_t AddEntry(TKxDeShapeBase* S, int32_t Order);
  // The entry of item S, or kNoSlot.
  uint32_t SlotOf(const TKxDeShapeBase* S) const;
  void Mark(uint32_t Slot);
  // The layer's item that holds S (S itself for an item), or none when S is not below the layer.
  TKxDeShapeBase* ItemOf(TKxDeShapeBase* S) const;
  // Reads every item's order from the layer; False when an item is missing from the index.
  bool Renumber();
  // Fills FHits with the candidates in Area, sorted by order.
  void Collect(const TRectF& Area);
  // Adds the rectangle an entry holds now to the changed area.
  void NoteChange(const TEntry& E);

  TKxDeLayer* FLayer;
  std::unique_ptr<TTrees> FTrees;
  std::vector<TEntry> FEntries;
  QHash<const TKxDeShapeBase*, uint32_t> FSlots;  // living items -> their entry
  std::vector<uint32_t> FPending;                 // entries marked since the last catch-up
  std::vector<uint32_t> FMoved;                   // entries moved out of the main tree (may repeat)
  std::vector<uint32_t> FFree;                    // entries to reuse
  std::vector<uint32_t> FUnbounded;               // entries whose rectangle is not finite
  std::vector<uint64_t> FHits;                    // query scratch: order << 32 | entry
  TStats FStats;
  TChanges FChanges;
  bool FRebuild = true;
};

}  // namespace vorn
