// Ownership of shapes by containers and layers, and of layers by surfaces.

#include "ModelTestSupport.h"

namespace vorn::test {
namespace {

using Containers = ModelFixture;

TEST_F(Containers, InsertionAndRemovalAreAnnouncedAroundTheMove) {
  auto* loose = Create<TTestShape>(nullptr, nullptr);
  Log.Names[loose] = "loose";
  Layer->InsertShape(loose);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacInserting layer ", "undo kxacInserting layer ", "end kxacInserting layer ",
                                  "start kxacInserted layer ", "inserted loose", "layer changed layer",
                                  "undo kxacInserted loose ", "end kxacInserted layer "}));
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

}  // namespace
}  // namespace vorn::test
