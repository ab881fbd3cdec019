// GCC 12 takes the fixed-capacity node arrays of Boost's R* insertion for uninitialised when it
// inlines their heap sort (a false alarm in library code); the pragma precedes every include
// because the warning is reported where the library's templates are written.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "vorn/surface/KxDeLayerIndex_p.h"

#include "vorn/common/KxDeUtils.h"
#include "vorn/model/KxDeContainer.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/surface/KxDeHitExtent.h"

#include <QLoggingCategory>

#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace vorn {

namespace {

Q_LOGGING_CATEGORY(lcIndex, "vorn.surface.index", QtWarningMsg)

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

using TBoxPoint = bg::model::point<float, 2, bg::cs::cartesian>;
using TBox = bg::model::box<TBoxPoint>;
using TValue = std::pair<TBox, uint32_t>;

enum : uint8_t {
  kInTree = 1,       // the entry's MainBox is in the main tree
  kPending = 2,      // listed in FPending
  kDead = 4,         // the item left the layer
  kUnbounded = 8,    // listed in FUnbounded: its rectangle is not finite
  kMoved = 16,       // its Box is in the tree of moved items; its main entry, if any, is stale
  kClassKnown = 32,  // Extent tells whether the item's class gives its own extent
  kFresh = 64,       // Fresh holds the item's extent since its last change
  kPlaced = kInTree | kUnbounded | kMoved,
};

TBox ToBox(const TRectF& R) { return TBox(TBoxPoint(R.Left, R.Top), TBoxPoint(R.Right, R.Bottom)); }

TRectF Union(const TRectF& A, const TRectF& B) {
  return TRectF{std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
                std::max(A.Bottom, B.Bottom)};
}

bool IsFinite(const TRectF& R) {
  return std::isfinite(R.Left) && std::isfinite(R.Top) && std::isfinite(R.Right) && std::isfinite(R.Bottom);
}

// One step outwards on every side, so that a rounding in how a shape computes the same edge
// cannot leave a point of the shape just outside its rectangle.
TRectF Widened(const TRectF& R) {
  constexpr float inf = std::numeric_limits<float>::infinity();
  return TRectF{std::nextafter(R.Left, -inf), std::nextafter(R.Top, -inf), std::nextafter(R.Right, inf),
                std::nextafter(R.Bottom, inf)};
}

bool IsContainer(const TKxDeShapeBase* S) { return S->ShapeStyle().Contains(TKxDeShapeStyle::kxssIsContainer); }

// What the shape base answers for: its bounds (where InRect and the unfilled frame of plain
// shapes reach) and the bounds turned by Rotation about their centre (its body hit test, made
// from the same corners turned by the same routine, so the rectangle holds them exactly).
TRectF BodyExtent(const TKxDeShapeBase* S) {
  const TRectF b = S->GetBounds();
  if (S->Rotation() == 0) return b;
  TDPointArray corners;
  b.RectToArray(corners);
  TDPointArray turned;
  TKxDeUtils::RotatePolygon(corners, S->Rotation(), TKxDeUtils::RotationPt(b, TKxDeRotationCenter::kxdroPtGravity),
                            turned);
  return Union(b, TRectF::Create(turned));
}

// Everything an item answers for (see IKxDeHitExtent). A container also answers for its own
// bounds (the layer's ShapeAtPos takes a container on its bounds alone) and for its children at
// every depth (a group is hit where its children are; a container is in an area when a child is).
// Own is S as an IKxDeHitExtent, or none.
TRectF ItemExtent(const TKxDeShapeBase* S, const IKxDeHitExtent* Own) {
  if (Own) return IsContainer(S) ? Union(Own->HitExtent(), S->GetBounds()) : Own->HitExtent();
  TRectF r = BodyExtent(S);
  if (IsContainer(S))
    if (const auto* c = dynamic_cast<const TKxDeContainer*>(S))
      for (const TKxDeShapeBase* child : *c)
        r = Union(r, ItemExtent(child, dynamic_cast<const IKxDeHitExtent*>(child)));
  return r;
}

// The container walk of the layer takes an item when it is shown and its bounds hold P.
bool IsShown(const TKxDeShapeBase* S) { return S->Visible() && !S->InDestroy(); }

bool BoundsHold(const TRectF& B, const TPointF& P) {
  return B.Right > B.Left && B.Bottom > B.Top && P.X >= B.Left && P.X < B.Right && P.Y >= B.Top && P.Y < B.Bottom;
}

// The area in which PointOnShape with tolerance Fuzz may answer True at P for an item whose
// rectangle meets it.
TRectF ReachArea(const TPointF& P, float Fuzz) {
  const float reach = std::max(Fuzz, 0.0f) * IKxDeHitExtent::kHitFuzzReach;
  return TRectF{P.X - reach, P.Y - reach, P.X + reach, P.Y + reach};
}

// Fewer marked items than this are re-inserted one by one; more make the tree be packed anew.
// Taking an item out of an R* tree and putting it back costs about as much as packing six items
// (measured on 100,000 shapes: 1.2 us against 0.2 us), so past one item in six a fresh packed
// tree is quicker to make, and better to search.
uint32_t RepackThreshold(size_t Count) { return std::max<uint32_t>(64, static_cast<uint32_t>(Count / 6)); }

// A batch of changed items goes into the tree of moved items, packed again from every moved item,
// when that is cheaper than re-inserting the batch: packing costs a sixth of a re-insertion per
// item (see above). Small batches are re-inserted, so that a moved item does not stay a stale
// candidate of the main tree for long.
bool BatchPays(size_t Changed, size_t Moved) { return Changed >= 32 && Changed * 5 >= Moved; }

}  // namespace

// Sixteen entries a node is the usual balance for rectangles in memory: a node spans a few cache
// lines, and the tree of 100,000 items is five levels deep. The R* variant splits and re-inserts
// for the least overlap between nodes, which is what point queries pay for; its costlier
// insertions are only used for the few items changed between packings.
struct TKxDeLayerIndex::TTrees {
  using TTree = bgi::rtree<TValue, bgi::rstar<16>>;
  TTree Main;
  TTree Moved;  // the items moved out of Main since it was last packed
};

TKxDeLayerIndex::TKxDeLayerIndex(TKxDeLayer* Layer) : FLayer(Layer), FTrees(std::make_unique<TTrees>()) {}

TKxDeLayerIndex::~TKxDeLayerIndex() = default;

// ---- Notifications --------------------------------------------------------------------------------

TKxDeShapeBase* TKxDeLayerIndex::ItemOf(TKxDeShapeBase* S) const {
  while (S && S->Owner() != FLayer) S = S->Owner();
  return S;
}

void TKxDeLayerIndex::ShapeInserted(TKxDeShapeBase* S) {
  if (FRebuild || !S) return;
  if (S->Owner() != FLayer) {
    // A shape entered a container of the layer: that item's extent changed.
    ShapeChanged(S);
    return;
  }
  if (const uint32_t slot = SlotOf(S); slot != kNoSlot) {
    Mark(slot);
    return;
  }
  // Shapes are mostly appended; an item inserted elsewhere, and the items above it, get their
  // order when it is next read.
  const int32_t last = FLayer->ItemCount() - 1;
  AddEntry(S, FLayer->Items(last) == S ? last : -1);
}

bool TKxDeLayerIndex::ShapeRemoved(TKxDeShapeBase* S) {
  if (FRebuild) return false;
  const uint32_t slot = SlotOf(S);
  if (slot == kNoSlot) return false;
  FSlots.remove(S);
  TEntry& e = FEntries[slot];
  e.Shape = nullptr;
  e.Flags |= kDead;
  Mark(slot);
  return true;
}

void TKxDeLayerIndex::ShapeChanged(TKxDeShapeBase* S) {
  if (FRebuild) return;
  TKxDeShapeBase* item = ItemOf(S);
  if (!item) return;
  const uint32_t slot = SlotOf(item);
  if (slot == kNoSlot) {
    ShapeInserted(item);
    return;
  }
  // A shape that has just changed is in the cache: measuring it now saves reading it again when
  // the index catches up, which for a moved selection of thousands is most of the catching up.
  // Only the first change of an item before the catch-up is measured so; a further change, or one
  // of a shape inside it, leaves the measuring to the catch-up.
  TEntry& e = FEntries[slot];
  if (item == S && !(e.Flags & kPending) && !IsContainer(S)) {
    e.Fresh = ExtentOf(e);
    e.Flags |= kFresh;
  } else {
    e.Flags &= static_cast<uint8_t>(~kFresh);
  }
  Mark(slot);
}

void TKxDeLayerIndex::ShapeReordered(int32_t, int32_t NewIndex) {
  if (FRebuild || NewIndex < 0 || NewIndex >= FLayer->ItemCount()) return;
  if (const uint32_t slot = SlotOf(FLayer->Items(NewIndex)); slot != kNoSlot) Mark(slot);
}

void TKxDeLayerIndex::ShapeCleared(TKxDeShapeBase* S) {
  if (S == FLayer) {
    // Every item has gone; each removal was announced, but nothing is lost by starting afresh.
    FRebuild = true;
    return;
  }
  ShapeChanged(S);
}

uint32_t TKxDeLayerIndex::AddEntry(TKxDeShapeBase* S, int32_t Order) {
  uint32_t slot;
  if (!FFree.empty()) {
    slot = FFree.back();
    FFree.pop_back();
  } else {
    slot = static_cast<uint32_t>(FEntries.size());
    FEntries.emplace_back();
  }
  FEntries[slot] = TEntry{S, TRectF{}, TRectF{}, TRectF{}, nullptr, Order, 0};
  FSlots.insert(S, slot);
  S->FIndexHint = slot;
  Mark(slot);
  return slot;
}

uint32_t TKxDeLayerIndex::SlotOf(const TKxDeShapeBase* S) const {
  if (const uint32_t hint = S->FIndexHint; hint < FEntries.size() && FEntries[hint].Shape == S) return hint;
  const auto it = FSlots.constFind(S);
  return it == FSlots.constEnd() ? kNoSlot : *it;
}

void TKxDeLayerIndex::Mark(uint32_t Slot) {
  TEntry& e = FEntries[Slot];
  if (e.Flags & kPending) return;
  e.Flags |= kPending;
  FPending.push_back(Slot);
}

// ---- Catching up ----------------------------------------------------------------------------------

void TKxDeLayerIndex::CatchUp() {
  // A count that differs from the layer's means a notification went astray: start afresh rather
  // than answer from a wrong list.
  if (!FRebuild && FSlots.size() != FLayer->ItemCount()) {
    qCDebug(lcIndex) << "layer" << FLayer->Name() << "has" << FLayer->ItemCount() << "items, the index has"
                     << FSlots.size() << "- made anew";
    FRebuild = true;
  }
  if (FRebuild) {
    Build();
    return;
  }
  if (FPending.empty()) return;
  if (FPending.size() >= RepackThreshold(FSlots.size())) {
    Repack();
  } else if (BatchPays(FPending.size(), FMoved.size())) {
    Batch();
  } else {
    for (uint32_t slot : FPending) Reinsert(slot);
    FPending.clear();
  }
}

void TKxDeLayerIndex::PrefetchPending(size_t I) const {
  // The entries of changed items lie anywhere in the list: a few ahead are asked for early.
  constexpr size_t kAhead = 8;
  if (I + kAhead < FPending.size()) __builtin_prefetch(&FEntries[FPending[I + kAhead]]);
}

TRectF TKxDeLayerIndex::ExtentOf(TEntry& E) {
  // A shape's class does not change while it lives: asking it once saves a cross cast per change.
  if (!(E.Flags & kClassKnown)) {
    E.Extent = dynamic_cast<const IKxDeHitExtent*>(E.Shape);
    E.Flags |= kClassKnown;
  }
  return ItemExtent(E.Shape, E.Extent);
}

void TKxDeLayerIndex::Measure(TEntry& E) {
  const TRectF r = (E.Flags & kFresh) ? E.Fresh : ExtentOf(E);
  E.Flags &= static_cast<uint8_t>(~kFresh);
  if (IsFinite(r)) {
    E.Box = Widened(r);
    E.Flags &= static_cast<uint8_t>(~kUnbounded);
  } else {
    // A shape with coordinates beyond every number is a candidate everywhere.
    E.Box = TRectF{};
    E.Flags |= kUnbounded;
  }
}

void TKxDeLayerIndex::Unlink(uint32_t Slot) {
  TEntry& e = FEntries[Slot];
  if (e.Flags & kMoved) FTrees->Moved.remove(TValue(ToBox(e.Box), Slot));
  if (e.Flags & kInTree) FTrees->Main.remove(TValue(ToBox(e.MainBox), Slot));
  if (e.Flags & kUnbounded) FUnbounded.erase(std::find(FUnbounded.begin(), FUnbounded.end(), Slot));
  e.Flags &= static_cast<uint8_t>(~kPlaced);
}

void TKxDeLayerIndex::Link(uint32_t Slot) {
  TEntry& e = FEntries[Slot];
  Measure(e);
  if (e.Flags & kUnbounded) {
    FUnbounded.push_back(Slot);
  } else {
    e.MainBox = e.Box;
    FTrees->Main.insert(TValue(ToBox(e.MainBox), Slot));
    e.Flags |= kInTree;
  }
}

bool TKxDeLayerIndex::Release(uint32_t Slot) {
  TEntry& e = FEntries[Slot];
  if (!(e.Flags & kDead)) return false;
  e = TEntry{};
  FFree.push_back(Slot);
  return true;
}

void TKxDeLayerIndex::Reinsert(uint32_t Slot) {
  TEntry& e = FEntries[Slot];
  e.Flags &= static_cast<uint8_t>(~kPending);
  if (e.Flags & kPlaced) NoteChange(e);
  Unlink(Slot);
  if (Release(Slot)) return;
  Link(Slot);
  NoteChange(e);
  ++FStats.Reinserts;
}

void TKxDeLayerIndex::Batch() {
  for (size_t i = 0; i < FPending.size(); ++i) {
    PrefetchPending(i);
    const uint32_t slot = FPending[i];
    TEntry& e = FEntries[slot];
    e.Flags &= static_cast<uint8_t>(~kPending);
    if (e.Flags & kPlaced) NoteChange(e);
    if (e.Flags & kDead) {
      // The tree of moved items is packed again below without it.
      e.Flags &= static_cast<uint8_t>(~kMoved);
      Unlink(slot);
      Release(slot);
      continue;
    }
    if (e.Flags & kUnbounded) {
      FUnbounded.erase(std::find(FUnbounded.begin(), FUnbounded.end(), slot));
      e.Flags &= static_cast<uint8_t>(~kUnbounded);
    }
    Measure(e);
    if (e.Flags & kUnbounded) {
      if (e.Flags & kInTree) FTrees->Main.remove(TValue(ToBox(e.MainBox), slot));
      e.Flags &= static_cast<uint8_t>(~(kInTree | kMoved));
      FUnbounded.push_back(slot);
    } else if (!(e.Flags & kMoved)) {
      e.Flags |= kMoved;
      FMoved.push_back(slot);
    }
    NoteChange(e);
  }
  FPending.clear();
  // A slot freed and used again may be listed twice, one moved back in not at all.
  std::sort(FMoved.begin(), FMoved.end());
  FMoved.erase(std::unique(FMoved.begin(), FMoved.end()), FMoved.end());
  std::erase_if(FMoved, [this](uint32_t Slot) { return !(FEntries[Slot].Flags & kMoved); });
  if (FMoved.size() >= RepackThreshold(FSlots.size())) {
    PackTree();
    ++FStats.Repacks;
    return;
  }
  std::vector<TValue> values;
  values.reserve(FMoved.size());
  for (uint32_t slot : FMoved) values.emplace_back(ToBox(FEntries[slot].Box), slot);
  FTrees->Moved = TTrees::TTree(values.begin(), values.end());
  ++FStats.Batches;
}

void TKxDeLayerIndex::Repack() {
  for (size_t i = 0; i < FPending.size(); ++i) {
    PrefetchPending(i);
    const uint32_t slot = FPending[i];
    TEntry& e = FEntries[slot];
    if (e.Flags & kPlaced) NoteChange(e);
    if (Release(slot)) continue;
    e.Flags &= static_cast<uint8_t>(~kPending);
    Measure(e);
    NoteChange(e);
  }
  FPending.clear();
  PackTree();
  ++FStats.Repacks;
}

void TKxDeLayerIndex::PackTree() {
  std::vector<TValue> values;
  values.reserve(FSlots.size());
  FUnbounded.clear();
  FMoved.clear();
  for (uint32_t slot = 0; slot < FEntries.size(); ++slot) {
    TEntry& e = FEntries[slot];
    if (!e.Shape) continue;
    e.Flags &= static_cast<uint8_t>(~(kInTree | kMoved));
    if (e.Flags & kUnbounded) {
      FUnbounded.push_back(slot);
    } else {
      e.MainBox = e.Box;
      values.emplace_back(ToBox(e.Box), slot);
      e.Flags |= kInTree;
    }
  }
  // The range constructor packs the tree (sort-tile-recursive): full nodes with little overlap.
  FTrees->Main = TTrees::TTree(values.begin(), values.end());
  FTrees->Moved.clear();
}

void TKxDeLayerIndex::Build() {
  FRebuild = false;
  const int32_t n = FLayer->ItemCount();
  FEntries.clear();
  FEntries.reserve(static_cast<size_t>(n));
  FSlots.clear();
  FSlots.reserve(n);
  FPending.clear();
  FFree.clear();
  for (int32_t i = 0; i < n; ++i) {
    TKxDeShapeBase* s = FLayer->Items(i);
    TEntry e{s, TRectF{}, TRectF{}, TRectF{}, nullptr, i, 0};
    Measure(e);
    s->FIndexHint = static_cast<uint32_t>(FEntries.size());
    FSlots.insert(s, s->FIndexHint);
    FEntries.push_back(e);
  }
  PackTree();
  FChanges.Any = FChanges.All = true;
  ++FStats.Builds;
}

bool TKxDeLayerIndex::Renumber() {
  ++FStats.Renumbers;
  const int32_t n = FLayer->ItemCount();
  for (int32_t i = 0; i < n; ++i) {
    const uint32_t slot = SlotOf(FLayer->Items(i));
    if (slot == kNoSlot) return false;
    FEntries[slot].Order = i;
  }
  return true;
}

// ---- Queries --------------------------------------------------------------------------------------

void TKxDeLayerIndex::Collect(const TRectF& Area) {
  CatchUp();
  FHits.clear();
  if (std::isnan(Area.Left) || std::isnan(Area.Top) || std::isnan(Area.Right) || std::isnan(Area.Bottom)) return;
  const TRectF area{std::min(Area.Left, Area.Right), std::min(Area.Top, Area.Bottom), std::max(Area.Left, Area.Right),
                    std::max(Area.Top, Area.Bottom)};
  auto add = [this](uint32_t Slot) {
    FHits.push_back(static_cast<uint64_t>(static_cast<uint32_t>(FEntries[Slot].Order)) << 32 | Slot);
  };
  // The main tree's entries of moved items are stale: those items are found in the other tree.
  auto main = boost::make_function_output_iterator([this, &add](const TValue& V) {
    if (!(FEntries[V.second].Flags & kMoved)) add(V.second);
  });
  auto moved = boost::make_function_output_iterator([&add](const TValue& V) { add(V.second); });
  // A point, as hovering asks, is tested against the rectangles more cheaply than a box would be.
  auto ask = [&area](const TTrees::TTree& Tree, auto Out) {
    if (Tree.empty()) return;
    if (area.Left == area.Right && area.Top == area.Bottom)
      Tree.query(bgi::intersects(TBoxPoint(area.Left, area.Top)), Out);
    else
      Tree.query(bgi::intersects(ToBox(area)), Out);
  };
  ask(FTrees->Main, main);
  ask(FTrees->Moved, moved);
  for (uint32_t slot : FUnbounded) add(slot);
  // The orders are trusted only once the layer confirms them; one renumbering puts them all
  // right after insertions, removals or reorders.
  const bool stale = std::any_of(FHits.begin(), FHits.end(), [this](uint64_t Key) {
    const TEntry& e = FEntries[static_cast<uint32_t>(Key)];
    return FLayer->Items(e.Order) != e.Shape;
  });
  if (stale) {
    if (!Renumber()) {
      // An item the index never heard of: make it again and ask once more.
      FRebuild = true;
      Collect(area);
      return;
    }
    for (uint64_t& key : FHits) {
      const auto slot = static_cast<uint32_t>(key);
      key = static_cast<uint64_t>(static_cast<uint32_t>(FEntries[slot].Order)) << 32 | slot;
    }
  }
  std::sort(FHits.begin(), FHits.end());
}

void TKxDeLayerIndex::ItemsIn(const TRectF& Area, std::vector<TKxDeShapeBase*>& Result) {
  Collect(Area);
  Result.clear();
  Result.reserve(FHits.size());
  for (uint64_t key : FHits) Result.push_back(FEntries[static_cast<uint32_t>(key)].Shape);
}

void TKxDeLayerIndex::ItemsAt(const TPointF& P, float Fuzz, std::vector<TKxDeShapeBase*>& Result) {
  ItemsIn(ReachArea(P, Fuzz), Result);
}

TKxDeShapeBase* TKxDeLayerIndex::HitShape(const TPointF& P) {
  Collect(ReachArea(P, 0));
  for (uint64_t key : FHits) {
    TKxDeShapeBase* s = FEntries[static_cast<uint32_t>(key)].Shape;
    if (IsShown(s) && s->PointOnShape(P, 0, false)) return s;
  }
  return nullptr;
}

TKxDeShapeBase* TKxDeLayerIndex::ShapeAtPos(const TPointF& P, float Fuzz, bool Editing) {
  Collect(ReachArea(P, Fuzz));
  for (uint64_t key : FHits) {
    TKxDeShapeBase* s = FEntries[static_cast<uint32_t>(key)].Shape;
    if (!IsShown(s) || !BoundsHold(s->GetBounds(), P)) continue;
    if (dynamic_cast<const TKxDeContainer*>(s) || s->PointOnShape(P, Fuzz, Editing)) return s;
  }
  return nullptr;
}

void TKxDeLayerIndex::NoteChange(const TEntry& E) {
  if (E.Flags & kUnbounded) FChanges.All = true;
  else FChanges.Area = FChanges.Any ? Union(FChanges.Area, E.Box) : E.Box;
  FChanges.Any = true;
}

TKxDeLayerIndex::TChanges TKxDeLayerIndex::TakeChanges() {
  CatchUp();
  return std::exchange(FChanges, TChanges{});
}

int32_t TKxDeLayerIndex::Count() {
  CatchUp();
  return static_cast<int32_t>(FSlots.size());
}

}  // namespace vorn
