// The surface's spatial index against the walks it stands in for: random documents of engine and
// kit shapes (turned, grouped, packed, hidden, on hidden and locked layers), changed between
// rounds of queries, must answer through the index exactly as by asking every shape in order.

#include "IndexedSurface.h"

#include <vorn/model/KxDeGroup.h>
#include <vorn/model/KxDePackage.h>
#include <vorn/model/KxDePoint.h>
#include <vorn/model/KxDeShapeBrush.h>
#include <vorn/model/KxDeShapePen.h>
#include <vorn/shapes/VornShapes.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace vorn::test {
namespace {

using TShapes = std::vector<TKxDeShapeBase*>;

bool Shown(const TKxDeShapeBase* S) { return S->Visible() && !S->InDestroy(); }

// The shown items of every layer that Accepts takes, in order: from the whole layer (no Ask), or
// from the candidates the index gives (Ask fills them).
template <class Accept, class Candidates = std::nullptr_t>
TShapes Items(TIndexedSurface& Surface, Accept&& Accepts, Candidates&& Ask = nullptr) {
  TShapes out, candidates;
  for (TKxDeLayer* layer : Surface.Layers()) {
    if constexpr (std::is_same_v<std::decay_t<Candidates>, std::nullptr_t>)
      candidates.assign(layer->begin(), layer->end());
    else
      Ask(Surface.Index().ForLayer(layer), candidates);
    for (TKxDeShapeBase* s : candidates)
      if (Shown(s) && Accepts(s)) out.push_back(s);
  }
  return out;
}

// The shape part of the surface's hit test: bottom layer first, lowest item first.
TKxDeShapeBase* WalkHitShape(TIndexedSurface& Surface, const TPointF& P) {
  for (TKxDeLayer* layer : Surface.Layers())
    if (Shown(layer))
      for (TKxDeShapeBase* s : *layer)
        if (Shown(s) && s->PointOnShape(P, 0, false)) return s;
  return nullptr;
}

// The surface's ShapeAtPos: top layer first, each asking its own walk.
TKxDeShapeBase* WalkShapeAtPos(TIndexedSurface& Surface, const TPointF& P, float Fuzz) {
  for (auto it = Surface.Layers().rbegin(); it != Surface.Layers().rend(); ++it)
    if (TKxDeShapeBase* s = (*it)->Visible() ? (*it)->ShapeAtPos(P, Fuzz, true) : nullptr) return s;
  return nullptr;
}

std::string Describe(const TShapes& List) {
  std::ostringstream o;
  for (const TKxDeShapeBase* s : List) {
    if (!s) continue;
    const TRectF b = s->GetBounds();
    o << s->ClassName().toStdString() << " #" << s->ID() << " (" << b.Left << ", " << b.Top << ")-(" << b.Right << ", "
      << b.Bottom << ") turned " << s->Rotation() << "; ";
  }
  return o.str().empty() ? "none" : o.str();
}

struct TDocumentKind {
  const char* Name;
  uint32_t Seed;
  int Items;    // items made per layer at the start
  float World;  // the shapes lie in a square of this side
  bool Kit;     // the kit's stroked, curved, arrowed and text shapes instead of engine shapes
  int Points;   // points asked per round, the first third also with a tolerance for every shape
  int Areas;    // areas asked per round
};

void PrintTo(const TDocumentKind& Kind, std::ostream* Out) { *Out << Kind.Name << ", seed " << Kind.Seed; }

class TRandomDocument {
 public:
  TRandomDocument(const TDocumentKind& Kind, TIndexedSurface* Surface)
      : K(Kind), FSurface(Surface), FRandom(Kind.Seed) {
    for (int l = 0; l < 3; ++l) {
      TKxDeLayer* layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(FSurface));
      for (int i = 0; i < K.Items; ++i) NewItem(layer);
      layer->SetLocked(l == 1);  // the hit test does not care
      layer->SetVisible(l != 2);
    }
  }

  float Uniform(float A, float B) { return std::uniform_real_distribution<float>(A, B)(FRandom); }
  int Int(int A, int B) { return std::uniform_int_distribution<int>(A, B)(FRandom); }
  bool Chance(double P) { return std::bernoulli_distribution(P)(FRandom); }
  template <class T>
  T* Pick(const std::vector<T*>& From) {
    return From.empty() ? nullptr : From[static_cast<size_t>(Int(0, static_cast<int>(From.size()) - 1))];
  }
  // Two decimals, as shapes store their angles.
  float Angle() { return Chance(0.4) ? 0.0f : static_cast<float>(Int(1, 35999)) / 100; }
  TRectF Box(float Size) {
    const float w = Uniform(0.5f, Size), h = Uniform(0.5f, Size), x = Uniform(-w, K.World), y = Uniform(-h, K.World);
    return TRectF{x, y, x + w, y + h};
  }

  TKxDeShapeBase* NewLeaf(TKxDeContainer* Owner) {
    const TRectF b = Box(K.World / 25);
    TKxDeShapeBase* s;
    const int kind = K.Kit ? Int(0, 4) : Int(5, 6);
    if (kind == 0)
      s = Create<TVornRectangle>(nullptr, Owner);
    else if (kind == 1)
      s = Create<TVornEllipse>(nullptr, Owner);
    else if (kind == 2) {
      // Long texts in small boxes run out of them.
      auto* t = Create<TVornText>(nullptr, Owner);
      t->SetText(Chance(0.5) ? QStringLiteral("Ship to\nBuilding 4, gate 7\nRoom 12") : QStringLiteral("Fragile"));
      t->SetWordWrap(Chance(0.5));
      s = t;
    } else if (kind == 3) {
      auto* p = Create<TVornPolyline>(nullptr, Owner);
      p->SetClosed(Chance(0.5));
      s = p;
    } else if (kind == 4) {
      s = Create<TVornLine>(nullptr, Owner);
    } else {
      s = Create<TKxDeShape>(nullptr, Owner);
    }
    if (kind >= 3) {
      // Scattered points (sometimes a single one, with empty bounds): sharp turns, long mitres.
      for (int i = Int(kind == 6 ? 1 : 2, 5); i > 0; --i) s->Add(Uniform(b.Left, b.Right), Uniform(b.Top, b.Bottom));
      if (kind == 3 && Chance(0.5))
        s->Points(1)->SetControl_1(s->Points(1)->NewControl(Uniform(-30, 30), Uniform(-30, 30)));
      if (auto* l = dynamic_cast<TVornLine*>(s)) {
        l->SetStartShape(static_cast<TmekLineShape>(Int(0, 2)));
        l->SetEndShape(static_cast<TmekLineShape>(Int(0, 2)));
        l->SetArrowSize(Uniform(1, 6));
      }
    } else if (kind == 5) {
      for (int c = 0; c < 4; ++c) s->Add(c == 0 || c == 3 ? b.Left : b.Right, c < 2 ? b.Top : b.Bottom);
    } else {
      s->SetBounds(b.Left, b.Top, b.Width(), b.Height());
    }
    // Filled engine shapes are hit in their turned body, unfilled ones only on their unturned frame.
    s->Brush()->SetStyle(Chance(0.5) ? TBrushStyle::bsSolid : TBrushStyle::bsClear);
    s->Pen()->SetWidth(Chance(0.2) ? 0 : Uniform(0.1f, 3));
    s->SetRotationCenter(static_cast<TKxDeRotationCenter>(Int(0, K.Kit ? 2 : 3)));
    s->SetRotation(Angle());
    return s;
  }

  // An item of a layer: mostly plain shapes, some groups (nested up to three deep) and packages.
  TKxDeShapeBase* NewItem(TKxDeContainer* Owner, int Depth = 0) {
    const int kind = Depth < 3 ? Int(0, 19) : 19;
    TKxDeShapeBase* s;
    if (kind < 3) {
      auto* c = kind < 2 ? static_cast<TKxDeContainer*>(Create<TKxDeGroup>(nullptr, Owner))
                         : static_cast<TKxDeContainer*>(Create<TKxDePackage>(nullptr, Owner));
      for (int i = Int(kind < 2 ? 1 : 0, 4); i > 0; --i) kind < 2 ? NewItem(c, Depth + 1) : NewLeaf(c);
      const TRectF b = Box(K.World / 25);
      if (c->ItemCount() == 0) c->SetBounds(b.Left, b.Top, b.Width(), b.Height());
      c->SetRotation(Angle());
      s = c;
    } else {
      s = NewLeaf(Owner);
    }
    if (Chance(0.05)) s->SetVisible(false);
    return s;
  }

  TShapes AllShapes() const {
    TShapes all;
    for (TKxDeLayer* layer : FSurface->Layers())
      for (TKxDeShapeBase* s : layer->AllShapes()) all.push_back(s);
    return all;
  }

  // A change climbs to the layer only through shown shapes (a hidden one tells only its
  // observers), so a hidden shape inside a group may move unannounced while its group is still
  // hit where it lies. Only announced changes are made: to shapes shown up to their layer's item
  // (which may be hidden itself: it is neither hit nor painted until shown again, and that is
  // announced).
  static bool Announces(const TKxDeShapeBase* S) {
    for (; S->Owner() && !dynamic_cast<const TKxDeLayer*>(S->Owner()); S = S->Owner())
      if (!S->Visible()) return false;
    return true;
  }

  void Change() {
    const TShapes all = AllShapes();
    TKxDeShapeBase* s = Pick(all);
    if (!s) return;
    TKxDeShapeBase* item = s;
    while (!dynamic_cast<TKxDeLayer*>(item->Owner())) item = item->Owner();
    auto* layer = static_cast<TKxDeLayer*>(item->Owner());
    auto* group = dynamic_cast<TKxDeGroup*>(s);
    const auto& layers = FSurface->Layers();
    switch (Int(0, 11)) {
      case 0:
        if (!Announces(s)) break;
        if (Chance(0.4))
          s->MoveBy(Uniform(-50, 50), Uniform(-50, 50));
        else if (Chance(0.5))
          s->SetRotation(Angle());
        else
          s->SetBounds(s->GetBounds().Left, s->GetBounds().Top, Uniform(1, 60), Uniform(1, 60));
        break;
      case 1: s->SetVisible(!s->Visible()); break;
      case 2:
        if (Announces(s)) s->Brush()->SetStyle(Chance(0.5) ? TBrushStyle::bsSolid : TBrushStyle::bsClear);
        break;
      case 3: Free(s); break;
      case 4: layer->Insert(Int(0, layer->ItemCount()), NewItem(nullptr)); break;
      case 5:
        if (group && Shown(group)) NewItem(group, 2);
        break;
      case 6:
        if (Chance(0.5))
          layer->BringToFront(item);
        else
          layer->ReorderShape(layer->IndexOf(item), Int(0, 2000));
        break;
      case 7:
        if (Chance(0.5))
          Pick(layers)->InsertShape(item);
        else if (group && group != item)
          group->InsertShape(item);
        break;
      case 8:
        if (group && Shown(group) && Chance(0.3)) group->Clear();
        break;
      case 9:
        // Reorders inside the layer's update bracket reach the surface only as one layer change.
        layer->BeginUpdate();
        for (int i = 0; i < 3 && layer->ItemCount() > 1; ++i) layer->ReorderShape(Int(0, layer->ItemCount() - 1), 0);
        layer->EndUpdate();
        break;
      case 10:
        // A layer is hidden (never the last shown one) or shown, or leaves the surface, changes
        // while away and comes back on top.
        if (Chance(0.5)) {
          if (!layer->Visible() ||
              std::count_if(layers.begin(), layers.end(), [](auto* L) { return L->Visible(); }) > 1)
            layer->SetVisible(!layer->Visible());
        } else if (Chance(0.3)) {
          FSurface->RemoveLayer(layer);
          NewItem(layer);
          item->MoveBy(5, 5);
          FSurface->InsertLayer(layer);
        }
        break;
      default:
        // One gesture moving many items at once, mostly followed by a question (as an editor
        // hit-tests at the release), so the index takes them as one batch.
        if (Chance(0.3)) {
          for (TKxDeShapeBase* x : *layer)
            if (Chance(K.Kit ? 0.45 : 0.15)) x->MoveBy(3, -2);
          if (Chance(0.7)) FSurface->Index().ForLayer(layer).Count();
        }
        break;
    }
  }

  // A point where answers change: on the edges of a shape's bounds or turned bounds, or near
  // them (within a stroke's reach, or half the shape's size), or anywhere.
  TPointF Point() {
    const TShapes all = AllShapes();
    TKxDeShapeBase* s = Pick(all);
    if (!s || Chance(0.15)) return TPointF{Uniform(-20, K.World + 20), Uniform(-20, K.World + 20)};
    const TRectF b = Chance(0.5) ? s->GetBounds() : s->GetRotatedBounds();
    if (Chance(0.3))
      return TPointF{Chance(0.5) ? (Chance(0.5) ? b.Left : b.Right) : Uniform(b.Left, b.Right),
                     Chance(0.5) ? (Chance(0.5) ? b.Top : b.Bottom) : Uniform(b.Top, b.Bottom)};
    const float grow = Chance(0.5) ? (K.Kit ? 40.0f : 1.0f) : std::max(b.Width(), b.Height()) / 2;
    return TPointF{Uniform(b.Left - grow, b.Right + grow), Uniform(b.Top - grow, b.Bottom + grow)};
  }

 private:
  TDocumentKind K;
  TIndexedSurface* FSurface;
  std::mt19937 FRandom;
};

class RandomDocument : public ::testing::TestWithParam<TDocumentKind> {};

TEST_P(RandomDocument, IndexAnswersEqualTheWalkOverEveryShape) {
  const TDocumentKind kind = GetParam();
  auto surface = std::make_unique<TIndexedSurface>();
  TRandomDocument doc(kind, surface.get());
  int failures = 0;
  auto expectSame = [&failures](const TShapes& Walked, const TShapes& Indexed, const std::string& What) {
    if (Walked != Indexed && ++failures <= 5)
      ADD_FAILURE() << What << "\n  every shape: " << Describe(Walked) << "\n  index:       " << Describe(Indexed);
  };
  for (int round = 0; round < 4 && failures == 0; ++round) {
    for (int i = 0; i < kind.Points; ++i) {
      const TPointF p = doc.Point();
      const float fuzz = static_cast<float>(i % 3) * 2;
      std::ostringstream where;
      where << "round " << round << " at (" << p.X << ", " << p.Y << ") tolerance " << fuzz << ": ";
      expectSame({WalkHitShape(*surface, p)}, {surface->Index().HitShape(surface->Layers(), p)},
                 where.str() + "hit test");
      expectSame({WalkShapeAtPos(*surface, p, fuzz)}, {surface->ShapeAtPos(p, static_cast<uint8_t>(fuzz))},
                 where.str() + "shape at pos");
      if (i < kind.Points / 3) {
        // Every item within a tolerance, as an editor asks: it reaches beyond the indexed rectangles.
        auto onShape = [&](const TKxDeShapeBase* S) { return S->PointOnShape(p, fuzz + 1, i % 2 == 0); };
        expectSame(Items(*surface, onShape),
                   Items(*surface, onShape, [&](TKxDeLayerIndex& L, TShapes& C) { L.ItemsAt(p, fuzz + 1, C); }),
                   where.str() + "every shape within the tolerance + 1");
      }
    }
    for (int i = 0; i < kind.Areas; ++i) {
      const TRectF r = doc.Box(kind.World / 4);
      auto inArea = [&r](const TKxDeShapeBase* S) { return S->InRect(r); };
      expectSame(Items(*surface, inArea),
                 Items(*surface, inArea, [&r](TKxDeLayerIndex& L, TShapes& C) { L.ItemsIn(r, C); }),
                 "round " + std::to_string(round) + ": shapes painted in an area");
    }
    // Some changes are caught up with at once, so that later ones meet items moved in batches.
    for (int i = 0; i < kind.Items / 4; ++i) {
      doc.Change();
      if (doc.Chance(0.1))
        for (TKxDeLayer* layer : surface->Layers()) surface->Index().ForLayer(layer).Count();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Documents, RandomDocument,
                         ::testing::Values(TDocumentKind{"engine shapes", 20240611, 800, 2000, false, 1500, 150},
                                           TDocumentKind{"kit shapes", 77031, 90, 600, true, 500, 60}),
                         [](const auto& Info) { return std::string(Info.param.Kit ? "KitShapes" : "EngineShapes"); });

// Moving many shapes in one gesture must not pay one tree update per shape.
TEST(LayerIndexUpkeep, FewChangesAreReinsertedBatchesGoAsideManyRepackTheTreeOnce) {
  TIndexedSurface surface;
  TKxDeLayer* layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&surface));
  std::vector<TKxDeShape*> shapes;
  for (int i = 0; i < 1000; ++i) {
    shapes.push_back(Create<TKxDeShape>(nullptr, layer));
    shapes.back()->Add(static_cast<float>(i % 40) * 30, static_cast<float>(i / 40) * 30);
    shapes.back()->Add(static_cast<float>(i % 40) * 30 + 20, static_cast<float>(i / 40) * 30 + 20);
  }
  TKxDeLayerIndex& index = surface.Index().ForLayer(layer);
  EXPECT_EQ(index.HitShape(TPointF{5, 5}), shapes[0]);
  const TKxDeLayerIndex::TStats built = index.Stats();
  EXPECT_EQ(built.Builds, 1u);

  // A shape moved several times before the next question is put back once.
  for (int i = 0; i < 3; ++i) shapes[static_cast<size_t>(i)]->MoveBy(1000, 1000);
  shapes[0]->MoveBy(1, 1);
  EXPECT_EQ(index.HitShape(TPointF{1006, 1006}), shapes[0]);
  EXPECT_EQ(index.Stats().Reinserts, built.Reinserts + 3);
  EXPECT_EQ(index.Stats().Repacks, built.Repacks);

  // A tenth of the layer moved: one batch, found where it went and no longer where it was. Moved
  // back with as many others, the moved items reach a sixth of the layer: one packing.
  for (size_t i = 3; i < 1000; i += 10) shapes[i]->MoveBy(0, 5000);
  EXPECT_EQ(index.HitShape(TPointF{95, 5005}), shapes[3]);
  EXPECT_EQ(index.HitShape(TPointF{95, 5}), nullptr);
  EXPECT_EQ(index.Stats().Batches, built.Batches + 1);
  for (size_t i = 3; i < 1000; i += 10) shapes[i]->MoveBy(0, -5000);
  shapes[3]->MoveBy(0, 100);
  EXPECT_EQ(index.HitShape(TPointF{95, 5}), nullptr);
  EXPECT_EQ(index.HitShape(TPointF{95, 115}), shapes[3]);
  EXPECT_EQ(index.Stats().Batches, built.Batches + 2);
  for (size_t i = 4; i < 1000; i += 10) shapes[i]->MoveBy(0, 5000);
  EXPECT_EQ(index.HitShape(TPointF{125, 5005}), shapes[4]);
  EXPECT_EQ(index.Stats().Repacks, built.Repacks + 1);
  EXPECT_EQ(index.Stats().Reinserts, built.Reinserts + 3);

  // A fifth of the layer moved: one packing, no insertions.
  for (size_t i = 0; i < 1000; i += 5) shapes[i]->MoveBy(0, 2000);
  EXPECT_EQ(index.HitShape(TPointF{1006, 3006}), shapes[0]);
  EXPECT_EQ(index.Stats().Repacks, built.Repacks + 2);
  EXPECT_EQ(index.Stats().Reinserts, built.Reinserts + 3);
  EXPECT_EQ(index.Count(), 1000);
}

}  // namespace
}  // namespace vorn::test
