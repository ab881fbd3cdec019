// Ownership of shapes by containers and layers, and of layers by surfaces: insertion, removal,
// refused cycles, z-order, walks, group geometry, hit testing and painting.

#include "ModelTestSupport.h"

namespace vorn::test {
namespace {

using Containers = ModelFixture;
using List = std::vector<TKxDeShapeBase*>;

TEST_F(Containers, InsertionAndRemovalAreAnnouncedAroundTheMove) {
  auto* loose = Create<TTestShape>(nullptr, nullptr);
  Log.Names[loose] = "loose";
  Layer->InsertShape(loose);
  // The layer gives the new shape its default pen (one change of the shape) before the surface
  // hears of the insertion, all inside the inserted action.
  EXPECT_EQ(Order(Log), "start undo end start start undo end start undo end changed inserted undo end");
  EXPECT_EQ(loose->GetSurface(), Surface);
  EXPECT_EQ(loose->Index(), 1);
  Log.Clear();
  EXPECT_TRUE(Layer->Extract(loose));
  EXPECT_EQ(Log.Entries, (Strings{"start kxacRemoving layer ", "undo kxacRemoving layer ", "undo kxacRemoved loose ",
                                  "end kxacRemoving layer ", "start kxacRemoved loose ", "removed loose",
                                  "layer changed layer", "end kxacRemoved loose "}));
  EXPECT_EQ(loose->GetSurface(), nullptr);
  EXPECT_FALSE(Layer->Extract(loose));
  // Inserting at an index announces only the inserting action.
  Layer->ObjectsDefaultProperties()->SetUseDefaultPen(false);
  Log.Clear();
  Layer->Insert(0, loose);
  EXPECT_EQ(Order(Log), "start undo inserted end");
  EXPECT_EQ(Layer->Items(0), loose);
  // Beyond the end is refused; another container takes the shape from the layer.
  auto* group = Create<TKxDeContainer>(nullptr, Layer);
  group->Insert(1, loose);
  EXPECT_EQ(loose->Owner(), Layer);
  group->Insert(0, loose);
  EXPECT_TRUE(loose->Owner() == group && Layer->IndexOf(loose) == -1 && loose->IsParent(Layer));
}

TEST_F(Containers, ChangesInsideGroupsReachTheSurfaceFromEachLevel) {
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  auto* x = Create<TTestShape>(nullptr, group);
  Create<TTestShape>(nullptr, group);
  Log.Names[group] = "group";
  Log.Names[x] = "x";
  Log.Clear();
  group->BringToFront(x);
  EXPECT_EQ(group->Items(1), x);
  // The group's hook hands the event to the layer's, and the group's propagation brings it to the
  // layer once more: the surface hears both, with the indexes inside the group.
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacBringingFront x "}));
  Log.Clear();
  EXPECT_TRUE(group->Extract(x));
  EXPECT_EQ(Log.Count("removed x"), 2u);
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacRemoving group ", "start kxacRemoved x "}));
  Free(x);
  Log.Clear();
  group->Clear();
  EXPECT_EQ(Log.Count("cleared group"), 2u);
  EXPECT_EQ(Log.Count("shape changed group"), 1u);
}

TEST_F(Containers, CyclesLayersAndDuplicatesAreRefusedSilently) {
  auto* outer = Create<TKxDeGroup>(nullptr, Layer);
  auto* middle = Create<TKxDeGroup>(nullptr, outer);
  auto* inner = Create<TKxDeGroup>(nullptr, middle);
  auto* loose = Create<TKxDeGroup>(nullptr, nullptr);
  auto* second = Create<TKxDeLayer>(nullptr);
  const std::pair<TKxDeContainer*, TKxDeShapeBase*> refused[] = {
      {inner, outer}, {inner, middle}, {middle, outer}, {inner, inner},  {outer, middle},
      {outer, Layer}, {loose, second}, {Layer, second}, {second, Layer}, {Layer, outer}};
  Log.Clear();
  for (auto [container, child] : refused) {
    container->InsertShape(child);
    container->Insert(0, child);
  }
  EXPECT_TRUE(Log.Entries.empty()) << "refusals announce nothing";
  EXPECT_EQ(outer->Owner(), Layer);
  EXPECT_EQ(middle->Owner(), outer);
  EXPECT_EQ(inner->Owner(), middle);
  EXPECT_EQ(second->Owner(), nullptr);
  EXPECT_FALSE(Layer->CanInsertShape(nullptr));
  EXPECT_FALSE(Layer->CanInsertShape(second));
  EXPECT_FALSE(Layer->CanInsertShape(Shape)) << "already a child";
  EXPECT_TRUE(Layer->CanInsertShape(loose));
  // A cycle is refused even when a mislinked surface hides it; a descendant may go upwards.
  TRecordingSurface other(&Log);
  inner->SetSurface(&other);
  inner->InsertShape(outer);
  EXPECT_EQ(outer->Owner(), Layer);
  inner->SetSurface(Surface);
  outer->InsertShape(inner);
  EXPECT_EQ(inner->Owner(), outer);
  Free(loose);
  Free(second);
}

TEST_F(Containers, BoundsAreTheUnionOfTheChildrenHeldBackInsideAnUpdate) {
  auto* group = Create<TKxDeContainer>(nullptr, Layer);
  auto* a = Box(group, {0, 0, 10, 10});
  auto* b = Box(group, {20, -5, 30, 5});
  EXPECT_EQ(group->GetBounds(), (TRectF{0, -5, 30, 10}));
  b->MoveBy(10, 0);
  EXPECT_EQ(group->GetBounds(), (TRectF{0, -5, 40, 10}));
  group->BeginUpdate();
  a->MoveBy(-10, 0);
  EXPECT_EQ(group->GetBounds().Left, 0);
  group->EndUpdate();
  group->RecalculateBounds(true);
  EXPECT_EQ(group->GetBounds().Left, -10);
  // A plain container moves and sizes nothing itself.
  group->MoveBy(5, 5);
  group->Resize(100, 100);
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
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacClearing group "}));
  for (int i = 0; i < 2; ++i) notifier->RegisterShape(Create<TTestShape>(nullptr, group));
  Free(group);
  EXPECT_EQ(destroyed, 5);
  EXPECT_EQ(Layer->ItemCount(), 1);
  Free(notifier);
}

TEST_F(Containers, LayersMoveBetweenSurfacesAndForwardOnlyWhenVisibleOnOne) {
  auto* second = new TRecordingSurface(&Log);
  Log.Clear();
  Layer->SetSurface(second);
  EXPECT_EQ(Surface->LayerCount(), 0);
  EXPECT_EQ(Shape->GetSurface(), second) << "the children follow their layer";
  EXPECT_EQ(Log.Entries, (Strings{"layer removed layer", "layer inserted layer"}));
  Surface->InsertLayer(Layer);  // taken back through the surface
  EXPECT_EQ(second->LayerCount(), 0);
  Layer->SetSurface(nullptr);
  EXPECT_EQ(Layer->GetIndex(), -1);
  Log.Clear();
  Shape->SetName("x");
  EXPECT_TRUE(Log.Entries.empty()) << "a layer without surface forwards nothing";
  Surface->Add(Layer);
  Layer->SetVisible(false);
  Log.Clear();
  Shape->SetName("z");
  EXPECT_EQ(Log.Count("start kxacChanging shape Name"), 1u);
  EXPECT_EQ(Log.Count("layer changed layer"), 0u) << "an invisible layer tells its surface of no change";
  delete second;
}

TEST_F(Containers, ZOrderMovesAnnounceTheChildAroundTheReorder) {
  auto* b = Create<TTestShape>(nullptr, Layer);
  auto* c = Create<TTestShape>(nullptr, Layer);
  TTestShape* a = Shape;
  Log.Names[a] = "a";
  Log.Names[b] = "b";
  Log.Names[c] = "c";
  Surface->OnReorderShape = [this](TObject*, TKxDeLayer*, intptr_t From, intptr_t To) {
    Log.Add("reordered " + std::to_string(From) + " " + std::to_string(To));
  };
  auto order = [&] { return List(Layer->begin(), Layer->end()); };
  Log.Clear();
  Layer->BringToFront(a);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacBringingFront a ", "undo kxacBringingFront a ", "reordered 0 2",
                                  "layer changed layer", "end kxacBringingFront a "}));
  Layer->SendToBack(a);
  Layer->BringForward(a);
  Layer->SendBackward(c);
  EXPECT_EQ(order(), (List{b, c, a}));
  EXPECT_EQ(Log.Only("reordered"), (Strings{"reordered 0 2", "reordered 2 0", "reordered 0 1", "reordered 2 1"}));

  // Reordering by index announces both phases with the indexes as given, since undo replays them:
  // beyond the end means the last place, and a shape already in place is announced all the same.
  for (auto [from, to] : {std::pair{0, 7}, {1, 1}}) {
    Log.Clear();
    Layer->ReorderShape(from, to);
    EXPECT_EQ(Order(Log), "start undo undo end start reordered end") << from << " " << to;
    EXPECT_EQ(Log.Only("reordered"), (Strings{"reordered " + std::to_string(from) + " " + std::to_string(to)}));
  }
  EXPECT_EQ(order(), (List{c, a, b}));
  // At the ends, of foreign shapes or out of range: nothing.
  auto* loose = Create<TTestShape>(nullptr, nullptr);
  Log.Clear();
  Layer->BringToFront(b);
  Layer->BringForward(b);
  Layer->SendToBack(c);
  Layer->SendBackward(c);
  Layer->BringToFront(loose);
  Layer->SendBackward(nullptr);
  for (auto [from, to] : {std::pair{-1, 0}, {3, 0}, {0, -1}}) Layer->ReorderShape(from, to);
  EXPECT_TRUE(Log.Entries.empty());
  EXPECT_EQ(order(), (List{c, a, b}));
  Free(loose);
}

TEST_F(Containers, WalksEnterGroupsButNotPackages) {
  Layer->Extract(Shape);
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  auto* g1 = Create<TTestShape>(nullptr, group);
  auto* empty = Create<TKxDeGroup>(nullptr, group);
  auto* nested = Create<TKxDeGroup>(nullptr, group);
  auto* deep = Create<TTestShape>(nullptr, nested);
  auto* package = Create<TKxDePackage>(nullptr, Layer);
  auto* p1 = Create<TTestShape>(nullptr, package);
  Layer->InsertShape(Shape);
  auto walk = [](TKxDeContainer* C, bool SubLevels) {
    List out;
    for (auto e = C->GetEnumerator(SubLevels); e->MoveNext();) out.push_back(e->Current());
    return out;
  };
  const List all{group, g1, empty, nested, deep, package, Shape};
  EXPECT_EQ(walk(Layer, true), all);
  EXPECT_EQ(walk(Layer, false), (List{group, package, Shape}));
  EXPECT_EQ(walk(package, true), (List{p1}));
  List ranged;
  for (TKxDeShapeBase* s : Layer->AllShapes()) ranged.push_back(s);
  EXPECT_EQ(ranged, all);
  // A break stops the walk at once; clearing it resumes where it stopped.
  auto e = Layer->GetEnumerator(true);
  e->MoveNext();
  e->MoveNext();
  e->SetBreak(true);
  EXPECT_FALSE(e->MoveNext());
  e->SetBreak(false);
  ASSERT_TRUE(e->MoveNext());
  EXPECT_EQ(e->Current(), empty);
  // Names are searched depth first outside packages, identities everywhere.
  deep->SetName("Box");
  p1->SetName("Box");
  Shape->SetName("Box");
  EXPECT_EQ(Layer->ShapeByName("Box"), deep);
  EXPECT_EQ(Layer->ShapeByName("box"), nullptr);
  EXPECT_EQ(package->ShapeByName("Box"), p1);
  EXPECT_EQ(Layer->ShapeByID(p1->ID()), p1);
  EXPECT_EQ(group->ShapeByID(p1->ID()), nullptr);
  EXPECT_TRUE(Layer->Exists(p1));
  EXPECT_FALSE(group->Exists(p1));
}

// A group in the layer holding two shapes spanning (0, 0)-(40, 20).
class GroupGeometry : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    Group = Create<TKxDeGroup>(nullptr, Layer);
    Box(Group, {0, 0, 10, 10});
    Second = Box(Group, {20, 10, 40, 20});
    Log.Names[Group] = "group";
    Log.Clear();
  }
  TKxDeGroup* Group = nullptr;
  TTestShape* Second = nullptr;
};

TEST_F(GroupGeometry, CornersAreThePointsADraggedCornerMovesItsTwoEdges) {
  EXPECT_EQ(Group->GetPointValue(1), (TPointF{40, 0}));
  EXPECT_EQ(Group->GetPointValue(3), (TPointF{0, 20}));
  EXPECT_EQ(Group->GetPointValue(4), (TPointF{}));
  EXPECT_EQ(Group->PointCount(), 0) << "the corners are not points of the group";
  Group->SetPointValue(2, TPointF{60, 30});
  EXPECT_EQ(Group->GetBounds(), (TRectF{0, 0, 60, 30}));
  EXPECT_EQ(Second->GetBounds(), (TRectF{30, 15, 60, 30})) << "the children scale with the group";
  Group->SetPointValue(1, TPointF{-20, 40});  // across the opposite corner: normalised
  EXPECT_EQ(Group->GetBounds(), (TRectF{-20, 30, 0, 40}));
  Group->SetPointValue(5, TPointF{100, 100});
  EXPECT_EQ(Group->GetBounds(), (TRectF{-20, 30, 0, 40}));
  EXPECT_EQ(Group->PointAt(TPointF{-20.4f, 30.4f}, 0.5f), 0) << "a fuzz below 1 counts as 1";
  EXPECT_EQ(Group->PointAt(TPointF{-20.4f, 30.6f}, 0.5f), -1);
  EXPECT_EQ(Group->PointAt(TPointF{-10, 35}, 2), -1);
  // A turned group takes the drag in its own axes.
  const struct {
    float Rotation;
    int32_t Corner;
    TRectF Expected;
  } turned[] = {
      {90, 2, {0, 0, 38, 24}}, {200, 2, {0, 0, 36, 18}}, {300, 2, {0, 0, 42, 16}}, {300, 0, {-2, -4, 40, 20}}};
  for (const auto& t : turned) {
    Group->SetRotation(t.Rotation);
    Group->SetBounds(0, 0, 40, 20);
    const TPointF c = Group->GetPointValue(t.Corner);
    Group->SetPointValue(t.Corner, TPointF{c.X + 4, c.Y + 2});
    ExpectNear(Group->GetBounds(), t.Expected);
  }
  // A quarter turn about the centre (20, 10) shows corner 0 at (10, 30), found as corner 3.
  Group->SetRotation(90);
  Group->SetBounds(0, 0, 40, 20);
  EXPECT_EQ(Group->PointAt(TPointF{10, 30}, 2), 3);
}

TEST_F(GroupGeometry, SetBoundsIsOneChangeWithoutActionsOfItsOwn) {
  Group->SetBounds(100, 50, 20, 10);
  EXPECT_EQ(Group->GetBounds(), (TRectF{100, 50, 120, 60}));
  EXPECT_EQ(Log.Count("start kxacSizing group "), 0u);
  EXPECT_EQ(Log.Count("layer changed layer"), 1u);
  Log.Clear();
  Group->SetBounds(100, 50, 20, 10);
  EXPECT_TRUE(Log.Entries.empty()) << "already there";
  Group->SetBounds(120, 60, -20, -10);  // negative sizes keep the given edges as the far ones
  EXPECT_EQ(Group->GetBounds(), (TRectF{100, 50, 120, 60}));
  EXPECT_TRUE(Group->InRect(TRectF{115, 55, 130, 70}));
  EXPECT_FALSE(Group->InRect(TRectF{0, 0, 10, 10}));
}

// A shape that logs its painting.
class TPaintedShape : public TKxDeShape {
 public:
  using TKxDeShape::TKxDeShape;
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

TEST_F(Containers, ShapeAtPosAnswersTheLowestVisibleShapeOrContainerHit) {
  auto* lower = Painted(Layer, &Log, "lower", TRectF{0, 0, 50, 50});
  auto* upper = Painted(Layer, &Log, "upper", TRectF{20, 20, 80, 80});
  Painted(Layer, &Log, "line", TRectF{0, 100, 80, 100});
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  Painted(group, &Log, "left", TRectF{200, 0, 210, 10});
  Painted(group, &Log, "right", TRectF{290, 90, 300, 100});
  EXPECT_EQ(Layer->ShapeAtPos(TPointF{30, 30}, 0, false), lower);
  EXPECT_EQ(Layer->ShapeAtPos(TPointF{70, 70}, 0, false), upper);
  EXPECT_EQ(Layer->ShapeAtPos(TPointF{40, 100}, 5, false), nullptr) << "empty bounds are never hit";
  EXPECT_EQ(Layer->ShapeAtPos(TPointF{250, 50}, 0, false), group) << "a container anywhere in its bounds";
  EXPECT_FALSE(group->PointOnShape(TPointF{250, 50}, 0, false)) << "though no member lies there";
  lower->SetVisible(false);
  EXPECT_EQ(Layer->ShapeAtPos(TPointF{30, 30}, 0, false), upper);
}

TEST_F(Containers, PaintingGoesBottomToTopOverVisibleChildrenOnThePage) {
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  Painted(group, &Log, "g1", TRectF{10, 10, 20, 20});
  Painted(group, &Log, "g2", TRectF{30, 30, 40, 40});
  Painted(Layer, &Log, "top", TRectF{50, 50, 60, 60});
  Painted(Layer, &Log, "hidden", TRectF{50, 50, 60, 60})->SetVisible(false);
  Painted(Layer, &Log, "off page", TRectF{1000, 1000, 1010, 1010});
  Surface->Layer()->SetBounds(600, 900);
  // Its points lie above the page; turned upright it reaches onto it.
  Painted(Layer, &Log, "turned onto it", TRectF{540, -30, 640, -10})->SetRotation(90);
  QImage image(10, 10, QImage::Format_ARGB32);
  TCanvas canvas(&image);
  Log.Clear();
  Layer->Paint(&canvas, 0, 0, 1, 0, nullptr);
  EXPECT_EQ(Log.Entries, (Strings{"paint g1", "paint g2", "paint top", "paint turned onto it"}));
  Log.Clear();
  Layer->PaintIn(&canvas, 0, 0, 1, TRectF{25, 25, 55, 55});
  EXPECT_EQ(Log.Entries, (Strings{"paint in g2", "paint in top"}));
}

TEST_F(Containers, AShapeHintNamesItsLayerAndASelectedGroupIsAFrameWithHandles) {
  Layer->SetName("Page");
  TmekHintInfo hint;
  Shape->GetMekOfficeHint(TPointF{}, hint);
  EXPECT_EQ(hint.Lines, (QStringList{"Owner layer: <B>Page</B><BR>", "Printing allowed: <B>True</B>", "<HR>"}));
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  Painted(group, &Log, "a", TRectF{10, 10, 30, 20});
  Painted(group, &Log, "b", TRectF{40, 25, 50, 30});
  TKxDeSelectionData data;
  data.LineColor = clRed;
  data.PointSize = 6;
  data.PointInColor = clLime;
  data.PointOutColor = clBlue;
  TKxDeDragPoint drag;
  drag.PartIndex = 2;
  drag.Offset = TPointF{10, 10};
  const QImage image = Drawn(
      [&](TCanvas& C) {
        group->DrawSelection(&C, 0, 0, drag, data, 1);              // from (10, 10) to the dragged corner (60, 40)
        Layer->DrawSelection(&C, 0, 0, TKxDeDragPoint{}, data, 1);  // a layer draws none
      },
      100, 100);
  for (auto [x, y, c] :
       {std::tuple{35, 10, Qt::red}, {35, 25, Qt::white}, {60, 40, Qt::green}, {57, 37, Qt::blue}, {0, 0, Qt::white}})
    EXPECT_EQ(image.pixelColor(x, y), QColor(c)) << x << "," << y;
}

}  // namespace
}  // namespace vorn::test
