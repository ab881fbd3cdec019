// Ownership of shapes by containers and layers, and of layers by surfaces.

#include "ModelTestSupport.h"

#include <vorn/common/Canvas.h>
#include <vorn/common/KxDeSelectionData.h>
#include <vorn/model/KxDeGroup.h>
#include <vorn/model/KxDePackage.h>

#include <QImage>

namespace vorn::test {
namespace {

using Containers = ModelFixture;

TEST_F(Containers, InsertionAndRemovalAreAnnouncedAroundTheMove) {
  auto* loose = Create<TTestShape>(nullptr, nullptr);
  Log.Names[loose] = "loose";
  Layer->InsertShape(loose);
  // The layer gives the new shape its default pen (one change of the shape) before the surface
  // hears of the insertion.
  EXPECT_EQ(Log.Entries,
            (Strings{"start kxacInserting layer ", "undo kxacInserting layer ", "end kxacInserting layer ",
                     "start kxacInserted layer ", "start kxacChangingPen loose ", "undo kxacChangingPen loose ",
                     "end kxacChangingPen loose ", "start kxacChangingPen loose Pen", "undo kxacChangingPen loose Pen",
                     "end kxacChangingPen loose Pen", "layer changed layer", "shape changed loose", "inserted loose",
                     "layer changed layer", "undo kxacInserted loose ", "end kxacInserted layer "}));
  EXPECT_EQ(loose->Owner(), Layer);
  EXPECT_EQ(loose->GetSurface(), Surface);
  EXPECT_EQ(loose->Index(), 1);
  Log.Clear();
  EXPECT_TRUE(Layer->Extract(loose));
  EXPECT_EQ(Log.Entries, (Strings{"start kxacRemoving layer ", "undo kxacRemoving layer ", "undo kxacRemoved loose ",
                                  "end kxacRemoving layer ", "start kxacRemoved loose ", "removed loose",
                                  "layer changed layer", "end kxacRemoved loose "}));
  EXPECT_EQ(loose->Owner(), nullptr);
  EXPECT_EQ(loose->GetSurface(), nullptr);
  EXPECT_FALSE(Layer->Extract(loose));
  Free(loose);
}

TEST_F(Containers, InsertAtAnIndexAndMoveBetweenContainers) {
  auto* group = Create<TKxDeContainer>(nullptr, Layer);
  auto* a = Create<TTestShape>(nullptr, nullptr);
  group->Insert(0, a);
  group->Insert(5, Create<TTestShape>(nullptr, Layer));  // beyond the end: refused
  EXPECT_EQ(group->ItemCount(), 1);
  group->Insert(0, Shape);  // taken from the layer
  EXPECT_EQ(group->Items(0), Shape);
  EXPECT_EQ(group->IndexOf(a), 1);
  EXPECT_EQ(Layer->IndexOf(Shape), -1);
  EXPECT_TRUE(Layer->Exists(Shape)) << "found at any depth";
  EXPECT_FALSE(group->Exists(Layer));
  EXPECT_EQ(Layer->ShapeByID(a->ID()), a);
  EXPECT_EQ(group->ShapeByID(Layer->ID()), nullptr) << "only shapes below are searched";
  EXPECT_EQ(Shape->GetLayer(), Layer);
  EXPECT_TRUE(Shape->IsParent(Layer));
  EXPECT_TRUE(Shape->IsParent(group));
  EXPECT_FALSE(group->IsParent(Shape));
}

TEST_F(Containers, CyclesLayersAndDuplicatesAreRefused) {
  auto* outer = Create<TKxDeContainer>(nullptr, Layer);
  auto* inner = Create<TKxDeContainer>(nullptr, outer);
  Log.Clear();
  inner->InsertShape(outer);
  inner->InsertShape(inner);
  outer->InsertShape(inner);
  outer->InsertShape(Layer);
  EXPECT_EQ(outer->Owner(), Layer);
  EXPECT_EQ(inner->Owner(), outer);
  EXPECT_EQ(outer->ItemCount(), 1);
  EXPECT_TRUE(Log.Entries.empty()) << "refusals announce nothing";
}

TEST_F(Containers, BoundsAreTheUnionOfTheChildren) {
  auto* group = Create<TKxDeContainer>(nullptr, Layer);
  auto* a = Create<TTestShape>(nullptr, group);
  auto* b = Create<TTestShape>(nullptr, group);
  a->Add(0, 0);
  a->Add(10, 10);
  b->Add(20, -5);
  b->Add(30, 5);
  EXPECT_EQ(group->GetBounds(), (TRectF{0, -5, 30, 10}));
  b->MoveBy(10, 0);
  EXPECT_EQ(group->GetBounds(), (TRectF{0, -5, 40, 10})) << "a child's change recalculates the bounds";
  group->BeginUpdate();
  a->MoveBy(-10, 0);
  EXPECT_EQ(group->GetBounds().Left, 0) << "held back inside an update";
  group->EndUpdate();
  group->RecalculateBounds(true);
  EXPECT_EQ(group->GetBounds().Left, -10);
}

TEST_F(Containers, ClearingAndFreeingAContainerFreeItsChildren) {
  auto* group = Create<TKxDeContainer>(nullptr, Layer);
  auto* notifier = Create<TKxDeShapeNotifier>();
  int destroyed = 0;
  notifier->OnDestroy = [&](TObject*, TKxDeShapeBase*) { ++destroyed; };
  for (int i = 0; i < 3; ++i) notifier->RegisterShape(Create<TTestShape>(nullptr, group));
  Log.Names[group] = "group";
  Log.Clear();
  group->Clear();
  EXPECT_EQ(destroyed, 3);
  EXPECT_EQ(group->ItemCount(), 0);
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacClearing group "}));
  for (int i = 0; i < 2; ++i) notifier->RegisterShape(Create<TTestShape>(nullptr, group));
  Free(group);
  EXPECT_EQ(destroyed, 5);
  EXPECT_EQ(Layer->ItemCount(), 1);
  Free(notifier);
}

TEST_F(Containers, LayersMoveBetweenSurfaces) {
  auto* second = new TRecordingSurface(&Log);
  EXPECT_EQ(Layer->GetIndex(), 0);
  Log.Clear();
  Layer->SetSurface(second);
  EXPECT_EQ(Surface->LayerCount(), 0);
  EXPECT_EQ(second->LayerCount(), 1);
  EXPECT_EQ(Shape->GetSurface(), second) << "the children follow their layer";
  EXPECT_EQ(Log.Entries, (Strings{"layer removed layer", "layer inserted layer"}));
  Surface->InsertLayer(Layer);  // taken back through the surface
  EXPECT_EQ(second->LayerCount(), 0);
  EXPECT_EQ(Layer->GetIndex(), 0);
  Layer->SetSurface(nullptr);
  EXPECT_EQ(Surface->LayerCount(), 0);
  EXPECT_EQ(Layer->GetIndex(), -1);
  Surface->Add(Layer);
  delete second;
}

TEST_F(Containers, LayerForwardsActionsOnlyWithASurface) {
  Layer->SetSurface(nullptr);
  Log.Clear();
  Shape->SetName("x");
  EXPECT_TRUE(Log.Entries.empty());
  Surface->InsertLayer(Layer);
  Log.Clear();
  Shape->SetName("y");
  EXPECT_EQ(Log.Count("start kxacChanging shape Name"), 1u);
}

TEST_F(Containers, HiddenLayerStopsChangesAtTheLayer) {
  Layer->SetVisible(false);
  Log.Clear();
  Shape->SetName("z");
  EXPECT_EQ(Log.Count("shape changed shape"), 1u);
  EXPECT_EQ(Log.Count("layer changed layer"), 0u) << "an invisible layer tells its surface nothing";
}

TEST_F(Containers, ShapeHintNamesItsLayer) {
  Shape->SetName("Box");
  Layer->SetName("Page");
  TmekHintInfo hint;
  Shape->GetMekOfficeHint(TPointF{}, hint);
  EXPECT_EQ(hint.Title, "Box");
  EXPECT_EQ(hint.Lines, (QStringList{"Owner layer: <B>Page</B><BR>", "Printing allowed: <B>True</B>", "<HR>"}));
  auto* loose = Create<TTestShape>(nullptr, nullptr);
  hint.Clear();
  loose->GetMekOfficeHint(TPointF{}, hint);
  EXPECT_EQ(hint.Lines, (QStringList{"<HR>"}));
  Free(loose);
}

// ---- Z-order ------------------------------------------------------------------------------------

// A layer holding three named shapes a, b, c (bottom to top); the surface's reorder event is logged.
class ZOrder : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    A = Shape;
    B = Create<TTestShape>(nullptr, Layer);
    C = Create<TTestShape>(nullptr, Layer);
    Log.Names[A] = "a";
    Log.Names[B] = "b";
    Log.Names[C] = "c";
    Surface->OnReorderShape = [this](TObject*, TKxDeLayer* L, intptr_t From, intptr_t To) {
      Log.Add("reordered " + Log.NameOf(L) + " " + std::to_string(From) + " " + std::to_string(To));
    };
    Log.Clear();
  }
  std::vector<TKxDeShapeBase*> Order() const { return {Layer->begin(), Layer->end()}; }

  TTestShape* A = nullptr;
  TTestShape* B = nullptr;
  TTestShape* C = nullptr;
};

TEST_F(ZOrder, EachMoveAnnouncesTheChildAroundTheMove) {
  Layer->BringToFront(A);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacBringingFront a ", "undo kxacBringingFront a ", "reordered layer 0 2",
                                  "layer changed layer", "end kxacBringingFront a "}));
  EXPECT_EQ(Order(), (std::vector<TKxDeShapeBase*>{B, C, A}));

  Log.Clear();
  Layer->SendToBack(A);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacSendingBack a ", "undo kxacSendingBack a ", "reordered layer 2 0",
                                  "layer changed layer", "end kxacSendingBack a "}));
  EXPECT_EQ(Order(), (std::vector<TKxDeShapeBase*>{A, B, C}));

  Log.Clear();
  Layer->BringForward(A);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacBringingForward a ", "undo kxacBringingForward a ", "reordered layer 0 1",
                                  "layer changed layer", "end kxacBringingForward a "}));
  EXPECT_EQ(Order(), (std::vector<TKxDeShapeBase*>{B, A, C}));

  Log.Clear();
  Layer->SendBackward(C);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacSendingBackward c ", "undo kxacSendingBackward c ", "reordered layer 2 1",
                                  "layer changed layer", "end kxacSendingBackward c "}));
  EXPECT_EQ(Order(), (std::vector<TKxDeShapeBase*>{B, C, A}));
}

TEST_F(ZOrder, MovesAtTheEndsAndOfForeignShapesDoNothing) {
  auto* loose = Create<TTestShape>(nullptr, nullptr);
  Layer->BringToFront(C);
  Layer->BringForward(C);
  Layer->SendToBack(A);
  Layer->SendBackward(A);
  Layer->BringToFront(loose);
  Layer->SendToBack(loose);
  Layer->BringForward(nullptr);
  Layer->SendBackward(nullptr);
  EXPECT_TRUE(Log.Entries.empty());
  EXPECT_EQ(Order(), (std::vector<TKxDeShapeBase*>{A, B, C}));
  Free(loose);
}

TEST_F(ZOrder, ReorderShapeAnnouncesBothPhasesWithTheIndexesAsGiven) {
  // Undo replays these announcements, so they carry the caller's indexes: beyond the end means the
  // last place, and a shape already in place is announced all the same.
  struct Case {
    int32_t From, To;
    std::vector<TKxDeShapeBase*> After;
  };
  const Case cases[] = {{0, 7, {B, C, A}}, {2, 1, {B, A, C}}, {1, 1, {B, A, C}}};
  for (const Case& c : cases) {
    const std::string who = Log.NameOf(Layer->Items(c.From));
    const std::string indexes = std::to_string(c.From) + " " + std::to_string(c.To);
    Log.Clear();
    Layer->ReorderShape(c.From, c.To);
    EXPECT_EQ(Log.Entries,
              (Strings{"start kxacReorderingShape " + who + " ", "undo kxacReorderingShape " + who + " ",
                       "undo kxacReorderedShape " + who + " ", "end kxacReorderingShape " + who + " ",
                       "start kxacReorderedShape " + who + " ", "reordered layer " + indexes, "layer changed layer",
                       "end kxacReorderedShape " + who + " "}))
        << indexes;
    EXPECT_EQ(Order(), c.After) << indexes;
  }

  Log.Clear();
  Layer->ReorderShape(-1, 0);
  Layer->ReorderShape(3, 0);
  Layer->ReorderShape(0, -1);
  EXPECT_TRUE(Log.Entries.empty());
  EXPECT_EQ(Order(), (std::vector<TKxDeShapeBase*>{B, A, C}));
}

TEST_F(ZOrder, AReorderInsideAGroupReachesTheSurfaceFromEachLevel) {
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  auto* x = Create<TTestShape>(nullptr, group);
  auto* y = Create<TTestShape>(nullptr, group);
  Log.Names[group] = "group";
  Log.Names[x] = "x";
  Log.Clear();
  group->BringToFront(x);
  EXPECT_EQ(group->Items(1), x);
  EXPECT_EQ(group->Items(0), y);
  // The group's hook hands the reorder to the layer's hook, and the layer's own propagation
  // tells the surface again; both carry the indexes inside the group.
  EXPECT_EQ(Log.Only("reordered"), (Strings{"reordered layer 0 1", "reordered layer 0 1"}));
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacBringingFront x "}));
  EXPECT_EQ(Log.Entries.back(), "end kxacBringingFront x ");
}

// ---- Insertion, removal and cycles ------------------------------------------------------------

TEST_F(Containers, InsertAtAnIndexAnnouncesOnlyTheInsertingAction) {
  auto* loose = Create<TTestShape>(nullptr, nullptr);
  Log.Names[loose] = "loose";
  Layer->ObjectsDefaultProperties()->SetUseDefaultPen(false);  // the shape keeps its styles
  Layer->Insert(0, loose);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacInserting layer ", "undo kxacInserting layer ", "inserted loose",
                                  "layer changed layer", "end kxacInserting layer "}));
  EXPECT_EQ(Layer->Items(0), loose);
  EXPECT_EQ(Layer->Items(1), Shape);
}

TEST_F(Containers, ARemovalInsideAGroupReachesTheSurfaceFromEachLevel) {
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  auto* x = Create<TTestShape>(nullptr, group);
  Log.Names[group] = "group";
  Log.Names[x] = "x";
  Log.Clear();
  EXPECT_TRUE(group->Extract(x));
  // The group's hook passes the removal to the layer's hook, and the group's propagation then
  // hands it to the layer, which tells the surface once more.
  EXPECT_EQ(Log.Count("removed x"), 2u);
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacRemoving group ", "start kxacRemoved x "}));
  EXPECT_EQ(x->GetSurface(), nullptr);
  Free(x);
}

TEST_F(Containers, AGroupNeverGoesIntoItsOwnDescendants) {
  auto* outer = Create<TKxDeGroup>(nullptr, Layer);
  auto* middle = Create<TKxDeGroup>(nullptr, outer);
  auto* inner = Create<TKxDeGroup>(nullptr, middle);
  Log.Clear();
  inner->InsertShape(outer);
  inner->Insert(0, outer);
  inner->InsertShape(middle);
  middle->InsertShape(outer);
  EXPECT_TRUE(Log.Entries.empty());
  EXPECT_EQ(outer->Owner(), Layer);
  EXPECT_EQ(middle->Owner(), outer);
  EXPECT_EQ(inner->Owner(), middle);
  EXPECT_EQ(inner->ItemCount(), 0);
  // Nothing below may be inserted upwards either: a descendant may go into an ancestor.
  outer->InsertShape(inner);
  EXPECT_EQ(inner->Owner(), outer);
}

TEST_F(Containers, ACycleIsRefusedEvenWhenTheShapesNameDifferentSurfaces) {
  auto* outer = Create<TKxDeGroup>(nullptr, Layer);
  auto* inner = Create<TKxDeGroup>(nullptr, outer);
  TRecordingSurface other(&Log);
  inner->SetSurface(&other);  // a host mislinked the surface
  inner->InsertShape(outer);
  EXPECT_EQ(outer->Owner(), Layer);
  EXPECT_EQ(inner->Owner(), outer);
  inner->SetSurface(Surface);
}

TEST_F(Containers, ALayerGoesIntoNothing) {
  auto* loose = Create<TKxDeGroup>(nullptr, nullptr);
  auto* second = Create<TKxDeLayer>(nullptr);
  Log.Clear();
  loose->InsertShape(second);
  loose->Insert(0, second);
  Layer->InsertShape(second);
  second->InsertShape(Layer);
  EXPECT_TRUE(Log.Entries.empty());
  EXPECT_EQ(loose->ItemCount(), 0);
  EXPECT_EQ(second->Owner(), nullptr);
  EXPECT_EQ(Layer->Owner(), nullptr);
  EXPECT_FALSE(Layer->CanInsertShape(second));
  EXPECT_FALSE(Layer->CanInsertShape(Shape)) << "already a child";
  EXPECT_FALSE(Layer->CanInsertShape(Layer));
  EXPECT_FALSE(Layer->CanInsertShape(nullptr));
  EXPECT_TRUE(Layer->CanInsertShape(loose));
  Free(loose);
  Free(second);
}

// ---- Lookup and walks ---------------------------------------------------------------------------

// A layer holding a group of two shapes and a package of two shapes, then a plain shape.
class Walks : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    Layer->Extract(Shape);
    Group = Create<TKxDeGroup>(nullptr, Layer);
    G1 = Create<TTestShape>(nullptr, Group);
    G2 = Create<TTestShape>(nullptr, Group);
    Package = Create<TKxDePackage>(nullptr, Layer);
    P1 = Create<TTestShape>(nullptr, Package);
    P2 = Create<TTestShape>(nullptr, Package);
    Layer->InsertShape(Shape);
  }

  using List = std::vector<TKxDeShapeBase*>;

  static List Enumerate(TKxDeContainer* C, bool SubLevels) {
    List out;
    auto e = C->GetEnumerator(SubLevels);
    while (e->MoveNext()) out.push_back(e->Current());
    return out;
  }

  TKxDeGroup* Group = nullptr;
  TKxDePackage* Package = nullptr;
  TTestShape *G1 = nullptr, *G2 = nullptr, *P1 = nullptr, *P2 = nullptr;
};

TEST_F(Walks, TheEnumeratorEntersGroupsButNotPackages) {
  // Pre-order: the group before its two shapes; the package is yielded and not entered.
  EXPECT_EQ(Enumerate(Layer, true), (List{Group, G1, G2, Package, Shape}));
  EXPECT_EQ(Enumerate(Layer, false), (List{Group, Package, Shape}));
  EXPECT_EQ(Enumerate(Package, true), (List{P1, P2}));
}

TEST_F(Walks, TheEnumeratorCopesWithEmptyAndNestedContainers) {
  auto* empty = Create<TKxDeGroup>(nullptr, Group);
  auto* nested = Create<TKxDeGroup>(nullptr, Group);
  auto* deep = Create<TTestShape>(nullptr, nested);
  EXPECT_EQ(Enumerate(Layer, true), (List{Group, G1, G2, empty, nested, deep, Package, Shape}));
  auto* bare = Create<TKxDeGroup>(nullptr, nullptr);
  EXPECT_EQ(Enumerate(bare, true), List{});
  auto e = bare->GetEnumerator(true);
  EXPECT_FALSE(e->MoveNext());
  EXPECT_FALSE(e->MoveNext()) << "stays exhausted";
  Free(bare);
}

TEST_F(Walks, BreakStopsTheWalkAtOnce) {
  auto e = Layer->GetEnumerator(true);
  ASSERT_TRUE(e->MoveNext());
  ASSERT_TRUE(e->MoveNext());
  EXPECT_EQ(e->Current(), G1);
  e->SetBreak(true);
  EXPECT_FALSE(e->MoveNext());
  e->SetBreak(false);
  EXPECT_TRUE(e->MoveNext());
  EXPECT_EQ(e->Current(), G2) << "the walk resumes where it stopped";
}

TEST_F(Walks, RangeForGivesTheChildrenAndThePreOrderWalk) {
  List children;
  for (TKxDeShapeBase* s : *Layer) children.push_back(s);
  EXPECT_EQ(children, (List{Group, Package, Shape}));
  List all;
  for (TKxDeShapeBase* s : Layer->AllShapes()) all.push_back(s);
  EXPECT_EQ(all, Enumerate(Layer, true));
  auto* nested = Create<TKxDeGroup>(nullptr, Group);
  auto* deep = Create<TTestShape>(nullptr, nested);
  Create<TKxDeGroup>(nullptr, nested);  // an empty group last of all in a nested group
  all.clear();
  for (TKxDeShapeBase* s : Layer->AllShapes()) all.push_back(s);
  EXPECT_EQ(all, Enumerate(Layer, true));
  EXPECT_EQ(all.size(), 8u);
  EXPECT_EQ(all[4], deep);
  EXPECT_EQ(std::distance(Package->AllShapes().begin(), Package->AllShapes().end()), 2);
}

TEST_F(Walks, ShapeByNameSearchesDepthFirstOutsidePackages) {
  G2->SetName("Box");
  P1->SetName("Inner");
  Shape->SetName("Box");
  EXPECT_EQ(Layer->ShapeByName("Box"), G2) << "the group's member comes before the later shape";
  EXPECT_EQ(Layer->ShapeByName("box"), nullptr) << "exact match";
  EXPECT_EQ(Layer->ShapeByName("Inner"), nullptr) << "packages are not searched";
  EXPECT_EQ(Package->ShapeByName("Inner"), P1);
  Group->SetName("Box");
  EXPECT_EQ(Layer->ShapeByName("Box"), Group) << "a container before its children";
}

TEST_F(Walks, ShapeByIDAndExistsReachIntoEveryContainer) {
  EXPECT_EQ(Layer->ShapeByID(P2->ID()), P2) << "packages are searched by identity";
  EXPECT_EQ(Layer->ShapeByID(G1->ID()), G1);
  EXPECT_EQ(Layer->ShapeByID(Package->ID()), Package);
  EXPECT_EQ(Group->ShapeByID(P1->ID()), nullptr);
  EXPECT_TRUE(Layer->Exists(P2));
  EXPECT_FALSE(Group->Exists(P2));
  EXPECT_FALSE(Layer->Exists(static_cast<TKxDeShapeBase*>(nullptr)));
}

// ---- Geometry -----------------------------------------------------------------------------------

// A group in the layer holding two shapes spanning (0, 0)-(40, 20).
class GroupGeometry : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    Group = Create<TKxDeGroup>(nullptr, Layer);
    First = Create<TTestShape>(nullptr, Group);
    First->Add(0, 0);
    First->Add(10, 10);
    Second = Create<TTestShape>(nullptr, Group);
    Second->Add(20, 10);
    Second->Add(40, 20);
    Log.Names[Group] = "group";
    Log.Clear();
  }

  TKxDeGroup* Group = nullptr;
  TTestShape* First = nullptr;
  TTestShape* Second = nullptr;
};

TEST_F(GroupGeometry, CornersAreThePointValues) {
  EXPECT_EQ(Group->GetBounds(), (TRectF{0, 0, 40, 20}));
  EXPECT_EQ(Group->GetPointValue(0), (TPointF{0, 0}));
  EXPECT_EQ(Group->GetPointValue(1), (TPointF{40, 0}));
  EXPECT_EQ(Group->GetPointValue(2), (TPointF{40, 20}));
  EXPECT_EQ(Group->GetPointValue(3), (TPointF{0, 20}));
  EXPECT_EQ(Group->GetPointValue(4), (TPointF{}));
  EXPECT_EQ(Group->GetPointValue(-1), (TPointF{}));
  EXPECT_EQ(Group->PointCount(), 0) << "the corners are not points of the group";
}

TEST_F(GroupGeometry, DraggingACornerMovesItsTwoEdges) {
  Group->SetPointValue(2, TPointF{60, 30});
  EXPECT_EQ(Group->GetBounds(), (TRectF{0, 0, 60, 30}));
  EXPECT_EQ(Second->GetBounds(), (TRectF{30, 15, 60, 30})) << "the children scale with the group";
  Group->SetPointValue(0, TPointF{-10, 6});
  EXPECT_EQ(Group->GetBounds(), (TRectF{-10, 6, 60, 30}));
  // Dragged across the opposite corner: the rectangle is normalised.
  Group->SetPointValue(1, TPointF{-20, 40});
  EXPECT_EQ(Group->GetBounds(), (TRectF{-20, 30, -10, 40}));
  Group->SetPointValue(5, TPointF{100, 100});
  EXPECT_EQ(Group->GetBounds(), (TRectF{-20, 30, -10, 40}));
}

// Turning the children leaves rounding noise in their coordinates.
void ExpectNear(const TRectF& Actual, const TRectF& Expected) {
  EXPECT_NEAR(Actual.Left, Expected.Left, 1e-3);
  EXPECT_NEAR(Actual.Top, Expected.Top, 1e-3);
  EXPECT_NEAR(Actual.Right, Expected.Right, 1e-3);
  EXPECT_NEAR(Actual.Bottom, Expected.Bottom, 1e-3);
}

TEST_F(GroupGeometry, ATurnedGroupTakesTheDragInItsOwnAxes) {
  auto dragged = [&](float Rotation, int32_t Corner, TPointF By) {
    // Turning the group moves its children; bring them back into the same frame each time.
    Group->SetRotation(Rotation);
    Group->SetBounds(0, 0, 40, 20);
    ExpectNear(Group->GetBounds(), TRectF{0, 0, 40, 20});
    const TPointF c = Group->GetPointValue(Corner);
    Group->SetPointValue(Corner, TPointF{c.X + By.X, c.Y + By.Y});
  };
  dragged(90, 2, TPointF{4, 2});  // right -= dy, bottom += dx
  ExpectNear(Group->GetBounds(), TRectF{0, 0, 38, 24});
  dragged(200, 2, TPointF{4, 2});  // right -= dx, bottom -= dy
  ExpectNear(Group->GetBounds(), TRectF{0, 0, 36, 18});
  dragged(300, 2, TPointF{4, 2});  // right += dy, bottom -= dx
  ExpectNear(Group->GetBounds(), TRectF{0, 0, 42, 16});
  dragged(300, 0, TPointF{4, 2});  // the top-left corner: left -= dy, top -= dx
  ExpectNear(Group->GetBounds(), TRectF{-2, -4, 40, 20});
}

TEST_F(GroupGeometry, CornerHandlesAreFoundInOrderAndRenumberedWhenTurned) {
  EXPECT_EQ(Group->PointAt(TPointF{40.3f, 0.2f}, 2), 1);
  EXPECT_EQ(Group->PointAt(TPointF{0.4f, 19.6f}, 0.5f), 3) << "a fuzz below 1 counts as 1";
  EXPECT_EQ(Group->PointAt(TPointF{0.6f, 19.6f}, 0.5f), -1);
  EXPECT_EQ(Group->PointAt(TPointF{20, 10}, 2), -1);
  // A quarter turn about the centre (20, 10) carries the square of corner 0 to (10, 30) and
  // reports it as corner 3.
  Group->SetRotation(90);
  Group->SetBounds(0, 0, 40, 20);
  EXPECT_EQ(Group->PointAt(TPointF{10, 30}, 2), 3);
  EXPECT_EQ(Group->PointAt(TPointF{30, -10}, 2), 1) << "corner 2 reported as 1";
  auto* empty = Create<TKxDeGroup>(nullptr, Layer);
  EXPECT_EQ(empty->PointAt(TPointF{0, 0}, 5), -1) << "no handles without children";
}

TEST_F(GroupGeometry, SetBoundsMovesThenResizesWithoutActionsOfItsOwn) {
  Group->SetBounds(100, 50, 20, 10);
  EXPECT_EQ(Group->GetBounds(), (TRectF{100, 50, 120, 60}));
  EXPECT_EQ(First->GetBounds(), (TRectF{100, 50, 105, 55}));
  EXPECT_EQ(Log.Count("start kxacSizing group "), 0u);
  EXPECT_EQ(Log.Count("layer changed layer"), 1u) << "one change for the whole operation";
  Log.Clear();
  Group->SetBounds(100, 50, 20, 10);
  EXPECT_TRUE(Log.Entries.empty()) << "already there";
  Group->SetBounds(120, 60, -20, -10);  // negative sizes keep the given edges as the far ones
  EXPECT_EQ(Group->GetBounds(), (TRectF{100, 50, 120, 60}));
}

TEST_F(GroupGeometry, InRectAndTheLineTests) {
  EXPECT_TRUE(Group->InRect(TRectF{35, 15, 50, 30}));
  EXPECT_FALSE(Group->InRect(TRectF{50, 50, 60, 60}));
  EXPECT_FALSE(Group->IsOnLine(TPointF{5, 5}));
  EXPECT_EQ(Group->ControlAt(TPointF{0, 0}, 10), -1);
  auto* plain = Create<TKxDeContainer>(nullptr, Layer);
  Create<TTestShape>(nullptr, plain)->Add(0, 0);
  plain->MoveBy(5, 5);
  plain->Resize(100, 100);
  EXPECT_EQ(plain->GetBounds(), (TRectF{0, 0, 0, 0})) << "a plain container moves and sizes nothing";
}

// ---- Hit testing and painting -------------------------------------------------------------------

// A shape that logs its painting.
class TPaintedShape : public TKxDeShape {
 public:
  TPaintedShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShape(ASurface, AOwner) {}
  TCallLog* Log = nullptr;
  std::string Tag;
  void Paint(TCanvas*, float, float, double, int32_t, PmekDeviceCapsInfo) override { Log->Add("paint " + Tag); }
  void PaintIn(TCanvas*, float, float, double, const TRectF&) override { Log->Add("paint in " + Tag); }
};

TPaintedShape* Painted(TKxDeContainer* Owner, TCallLog* Log, const std::string& Tag, TRectF Box) {
  auto* s = Create<TPaintedShape>(nullptr, Owner);
  s->Log = Log;
  s->Tag = Tag;
  s->Add(Box.Left, Box.Top);
  s->Add(Box.Right, Box.Bottom);
  return s;
}

TEST_F(Containers, ShapeAtPosAnswersTheLowestShapeHit) {
  auto* lower = Painted(Layer, &Log, "lower", TRectF{0, 0, 50, 50});
  auto* upper = Painted(Layer, &Log, "upper", TRectF{20, 20, 80, 80});
  EXPECT_EQ(Layer->ShapeAtPos(TPointF{30, 30}, 0, false), lower);
  EXPECT_EQ(Layer->ShapeAtPos(TPointF{70, 70}, 0, false), upper);
  EXPECT_EQ(Layer->ShapeAtPos(TPointF{90, 90}, 0, false), nullptr);
  lower->SetVisible(false);
  EXPECT_EQ(Layer->ShapeAtPos(TPointF{30, 30}, 0, false), upper) << "invisible shapes are skipped";
  auto* line = Painted(Layer, &Log, "line", TRectF{0, 100, 80, 100});
  EXPECT_EQ(Layer->ShapeAtPos(TPointF{40, 100}, 5, false), nullptr) << "empty bounds are never hit";
  (void)line;
}

TEST_F(Containers, ShapeAtPosAnswersAContainerAnywhereInItsBounds) {
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  Painted(group, &Log, "left", TRectF{0, 0, 10, 10});
  Painted(group, &Log, "right", TRectF{90, 90, 100, 100});
  EXPECT_EQ(Layer->ShapeAtPos(TPointF{50, 50}, 0, false), group);
  EXPECT_FALSE(group->PointOnShape(TPointF{50, 50}, 0, false)) << "no member lies there";
  EXPECT_TRUE(group->PointOnShape(TPointF{95, 95}, 0, false));
}

TEST_F(Containers, PaintingGoesBottomToTopOverVisibleChildrenOnThePage) {
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  Painted(group, &Log, "g1", TRectF{10, 10, 20, 20});
  Painted(group, &Log, "g2", TRectF{30, 30, 40, 40});
  Painted(Layer, &Log, "top", TRectF{50, 50, 60, 60});
  Painted(Layer, &Log, "hidden", TRectF{50, 50, 60, 60})->SetVisible(false);
  Painted(Layer, &Log, "off page", TRectF{1000, 1000, 1010, 1010});
  QImage image(10, 10, QImage::Format_ARGB32);
  TCanvas canvas(&image);
  Log.Clear();
  Layer->Paint(&canvas, 0, 0, 1, 0, nullptr);
  EXPECT_EQ(Log.Entries, (Strings{"paint g1", "paint g2", "paint top"}));
  Log.Clear();
  Layer->PaintIn(&canvas, 0, 0, 1, TRectF{25, 25, 55, 55});
  EXPECT_EQ(Log.Entries, (Strings{"paint in g2", "paint in top"}));
}

TEST_F(Containers, SelectionIsAFrameWithCornerHandles) {
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  Painted(group, &Log, "a", TRectF{10, 10, 30, 20});
  Painted(group, &Log, "b", TRectF{40, 25, 50, 30});
  QImage image(100, 100, QImage::Format_ARGB32);
  image.fill(Qt::white);
  TKxDeSelectionData data;
  data.LineColor = 0x0000FF;  // red
  data.LineStyle = TPenStyle::psSolid;
  data.PointSize = 6;
  data.PointInColor = 0x00FF00;   // green
  data.PointOutColor = 0xFF0000;  // blue
  TKxDeDragPoint drag;
  drag.PartIndex = 2;
  drag.Offset = TPointF{10, 10};
  {
    TCanvas canvas(&image);
    group->DrawSelection(&canvas, 0, 0, drag, data, 1);
  }
  // The frame runs from (10, 10) to the dragged corner (60, 40).
  EXPECT_EQ(image.pixelColor(35, 10), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(35, 25), QColor(Qt::white)) << "no fill";
  EXPECT_EQ(image.pixelColor(60, 40), QColor(Qt::green)) << "a handle on the dragged corner";
  EXPECT_EQ(image.pixelColor(57, 37), QColor(Qt::blue)) << "framed in the outer colour";
  EXPECT_EQ(image.pixelColor(10, 40), QColor(Qt::green));

  image.fill(Qt::white);
  data.LineStyle = TPenStyle::psClear;
  data.PointSize = 1;
  {
    TCanvas canvas(&image);
    group->DrawSelection(&canvas, 0, 0, TKxDeDragPoint{}, data, 2);
  }
  EXPECT_EQ(image.pixelColor(40, 20), QColor(Qt::white)) << "no frame for a clear pen, no handles below 2";

  image.fill(Qt::white);
  {
    TCanvas canvas(&image);
    Layer->DrawSelection(&canvas, 0, 0, TKxDeDragPoint{}, TKxDeSelectionData{}, 1);
  }
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white)) << "a layer draws no selection";
}

}  // namespace
}  // namespace vorn::test
