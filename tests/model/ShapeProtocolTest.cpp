// Which actions and changes each shape operation announces, and in which order.

#include "ModelTestSupport.h"

#include <vorn/common/Units.h>
#include <vorn/model/KxDeActionList.h>
#include <vorn/model/KxDeControl.h>

namespace vorn::test {
namespace {

class ShapeProtocol : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    Notifier = Create<TKxDeShapeNotifier>();
    WireNotifier(Notifier, &Log);
    Notifier->RegisterShape(Shape);
  }
  void TearDown() override {
    Free(Notifier);
    ModelFixture::TearDown();
  }

  // The log without the notifier's entries: what reached the surface.
  Strings SurfaceCalls() const {
    Strings out;
    for (const auto& e : Log.Entries)
      if (e.rfind("notify", 0) != 0 && e.rfind("hook", 0) != 0) out.push_back(e);
    return out;
  }

  TKxDeShapeNotifier* Notifier = nullptr;
};

TEST_F(ShapeProtocol, SetNameAnnouncesActionsAroundOneDeliveredChange) {
  Shape->SetName("A");
  EXPECT_EQ(Log.Entries, (Strings{"start kxacChanging shape Name", "undo kxacChanging shape Name",
                                  "layer changed layer", "shape changed shape", "notify changed shape",
                                  "end kxacChanging shape Name"}));
  Log.Clear();
  Shape->SetName("A");
  EXPECT_TRUE(Log.Entries.empty()) << "an unchanged value announces nothing";
}

TEST_F(ShapeProtocol, MoveByIsOneActionAndOneChangeWhateverThePointCount) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}});
  Shape->MoveBy(5, 5);
  EXPECT_EQ(SurfaceCalls(), (Strings{"start kxacSizing shape ", "layer changed layer", "shape changed shape",
                                     "end kxacSizing shape "}));
  // Changing is not folded: once for the move and once per point; every counted change still
  // reaches the notifiers, plus the delivered one.
  EXPECT_EQ(Log.Count("notify changing shape"), 4u);
  EXPECT_EQ(Log.Count("notify changed shape"), 4u);
  EXPECT_EQ(Log.Entries.front(), "notify changing shape") << "the move is announced before its action";
  // The point moves' own actions went into the shape's list after MoveBy's bracket cleared it.
  EXPECT_EQ(Shape->ActionList()->Count(), 3);
  EXPECT_TRUE(Shape->ActionList()->HaveAction(TKxDeAction::kxacSizing));
  EXPECT_EQ(Shape->GetBounds(), (TRectF{5, 5, 15, 15}));
}

TEST_F(ShapeProtocol, MoveByZeroOrInsideAPointUpdateDoesNothing) {
  AddPoints({{0, 0}, {10, 10}});
  Shape->MoveBy(0, 0);
  EXPECT_TRUE(Log.Entries.empty());
  Shape->BeginPointUpdate();
  Shape->MoveBy(3, 3);
  EXPECT_TRUE(Log.Entries.empty());
  EXPECT_EQ(Shape->GetBounds(), (TRectF{0, 0, 10, 10}));
}

TEST_F(ShapeProtocol, NotifyLockSilencesActionsButNotChanges) {
  Shape->BeginNotifyLock();
  Shape->SetName("B");
  Shape->EndNotifyLock();
  EXPECT_EQ(SurfaceCalls(), (Strings{"layer changed layer", "shape changed shape"}));

  // A lock further up the chain holds back everything below it.
  Log.Clear();
  Layer->BeginNotifyLock();
  Shape->SetName("C");
  Layer->EndNotifyLock();
  EXPECT_TRUE(Log.Only("start").empty());
  EXPECT_TRUE(Log.Only("end").empty());

  Shape->EndNotifyLock();  // never below zero
  EXPECT_EQ(Shape->NotifyLock(), 0);
}

TEST_F(ShapeProtocol, SetBoundsAnnouncesOnlyItsOuterAction) {
  AddPoints({{0, 0}, {10, 0}, {10, 10}});
  Shape->SetBounds(5, 5, 20, 30);
  EXPECT_EQ(SurfaceCalls(), (Strings{"start kxacSizing shape ", "layer changed layer", "shape changed shape",
                                     "end kxacSizing shape "}));
  EXPECT_EQ(Shape->GetBounds(), (TRectF{5, 5, 25, 35}));
  Log.Clear();
  Shape->SetBounds(5, 5, 20, 30);
  EXPECT_TRUE(Log.Entries.empty()) << "bounds already equal";
}

TEST_F(ShapeProtocol, UpdateBracketDeliversOneChangeButEveryActionAndNotification) {
  Shape->BeginUpdate();
  Shape->BeginUpdate();
  for (int i = 0; i < 10; ++i) Shape->SetName(QString::number(i));
  Shape->EndUpdate();
  EXPECT_EQ(Log.Count("shape changed shape"), 0u) << "the inner bracket keeps the change";
  Shape->EndUpdate();
  EXPECT_EQ(Log.Count("start kxacChanging shape Name"), 10u);
  EXPECT_EQ(Log.Count("end kxacChanging shape Name"), 10u);
  EXPECT_EQ(Log.Count("shape changed shape"), 1u);
  EXPECT_EQ(Log.Count("layer changed layer"), 1u);
  EXPECT_EQ(Log.Count("notify changed shape"), 11u);
  EXPECT_EQ(SurfaceCalls().back(), "shape changed shape") << "delivered when the outer bracket closes";
  EXPECT_FALSE(Shape->NeedsUpdate());
}

TEST_F(ShapeProtocol, ActionListCollectsSinceTheOutermostBracket) {
  Shape->BeginUpdate();
  Shape->SetRotation(10);
  EXPECT_TRUE(Shape->ActionList()->HavePropName("Rotation"));
  EXPECT_FALSE(Shape->ActionList()->HavePropName("rotation")) << "names match exactly";
  Shape->BeginUpdate();  // nested: keeps the list
  EXPECT_TRUE(Shape->ActionList()->HavePropName("Rotation"));
  Shape->EndUpdate();
  Shape->EndUpdate();
  Shape->BeginUpdate();
  EXPECT_FALSE(Shape->ActionList()->HavePropName("Rotation"));
  EXPECT_EQ(Shape->ActionList()->Count(), 0);
  Shape->EndUpdate();
}

TEST_F(ShapeProtocol, InvisibleShapeTellsOnlyItsNotifiers) {
  Shape->SetVisible(false);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacChanging shape Visible", "undo kxacChanging shape Visible",
                                  "layer changed layer", "shape changed shape", "notify changed shape", "refine",
                                  "end kxacChanging shape Visible"}))
      << "hiding is delivered to the owner (forced)";
  Log.Clear();
  Shape->SetName("hidden");
  EXPECT_EQ(Log.Entries, (Strings{"start kxacChanging shape Name", "undo kxacChanging shape Name",
                                  "notify changed shape", "end kxacChanging shape Name"}));
  Log.Clear();
  Shape->Refresh(true);
  EXPECT_EQ(Log.Count("shape changed shape"), 1u) << "a forced change reaches the owner anyway";
}

TEST_F(ShapeProtocol, TextAndCaptionDeliverAChangeOnlyWhenTheShapeShowsThem) {
  Shape->SetText("t");
  EXPECT_EQ(Log.Entries, (Strings{"start kxacChanging shape Text", "undo kxacChanging shape Text",
                                  "end kxacChanging shape Text"}));
  Shape->SetCaption("c");
  EXPECT_EQ(Log.Count("shape changed shape"), 0u);

  Shape->SetShapeStyle(Shape->ShapeStyle() + TKxDeShapeStyle::kxssUsesLabel + TKxDeShapeStyle::kxssUsesCaption);
  Log.Clear();
  Shape->SetText("u");
  Shape->SetCaption("d");
  Shape->SetUserData1("x");
  EXPECT_EQ(Log.Count("shape changed shape"), 3u);
  EXPECT_EQ(Shape->Text(), "u");
  EXPECT_EQ(Shape->Caption(), "d");
}

TEST_F(ShapeProtocol, LockedRefinesSelectionsAfterItsAction) {
  Shape->SetLocked(true);
  EXPECT_EQ(SurfaceCalls(), (Strings{"start kxacChanging shape Locked", "undo kxacChanging shape Locked",
                                     "layer changed layer", "shape changed shape",
                                     "end kxacChanging shape Locked", "refine"}));
}

TEST_F(ShapeProtocol, RotationIsDeliveredAfterItsAction) {
  Shape->SetRotation(45);
  EXPECT_EQ(SurfaceCalls(), (Strings{"start kxacChanging shape Rotation", "undo kxacChanging shape Rotation",
                                     "end kxacChanging shape Rotation", "layer changed layer",
                                     "shape changed shape"}));
  Log.Clear();
  Shape->SetRotation(45);
  EXPECT_TRUE(Log.Entries.empty());
  Shape->SetRotationCenter(TKxDeRotationCenter::kxdroPtBottomLeft);
  EXPECT_EQ(SurfaceCalls(), (Strings{"start kxacChanging shape RotationPoint", "undo kxacChanging shape RotationPoint",
                                     "end kxacChanging shape RotationPoint"}))
      << "no change for a shape without a label";
}

TEST_F(ShapeProtocol, MillimetrePositionWrapsTheMoveInAPositionAction) {
  AddPoints({{0, 0}, {10, 10}});
  Shape->SetMMPosition(TKxDeShapeRefPos::kxrpTopLeft, 2, 3);
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacSizing shape Position", "start kxacSizing shape "}));
  EXPECT_EQ(Log.Only("end"), (Strings{"end kxacSizing shape ", "end kxacSizing shape Position"}));
  EXPECT_EQ(Log.Entries.back(), "end kxacSizing shape Position");
  const float f = CoordsPixelsPerMMConvertValue;
  EXPECT_FLOAT_EQ(Shape->GetBounds().Left, 2 * f);
  EXPECT_FLOAT_EQ(Shape->GetBounds().Top, 3 * f);
}

TEST_F(ShapeProtocol, PointMoveIsASizingActionOfItsShape) {
  AddPoints({{0, 0}, {10, 10}});
  Shape->Points(1)->SetPosition(7, 8);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacSizing shape ", "undo kxacSizing shape ", "notify changing shape",
                                  "layer changed layer", "shape changed shape", "notify changed shape",
                                  "end kxacSizing shape "}));
}

TEST_F(ShapeProtocol, PointUpdateBracketFoldsItsChangesButNotItsActions) {
  AddPoints({{0, 0}, {10, 10}});
  TKxDePoint* p = Shape->Points(0);
  p->BeginUpdate();
  p->SetPosition(1, 1);
  p->SetPosition(2, 2);
  EXPECT_EQ(Log.Count("shape changed shape"), 0u);
  p->EndUpdate();
  EXPECT_EQ(Log.Count("start kxacSizing shape "), 2u);
  EXPECT_EQ(Log.Count("shape changed shape"), 1u);
}

TEST_F(ShapeProtocol, ClosingAPointUpdateDeliversAChangeOutsideAnUpdate) {
  AddPoints({{0, 0}});
  Shape->BeginPointUpdate();
  Shape->BeginPointUpdate();
  Shape->EndPointUpdate();
  EXPECT_TRUE(Log.Entries.empty());
  Shape->EndPointUpdate();
  EXPECT_EQ(Log.Count("shape changed shape"), 1u);
  Log.Clear();
  Shape->EndPointUpdate();  // unbalanced: ignored
  EXPECT_TRUE(Log.Entries.empty());
}

TEST_F(ShapeProtocol, PointInsertionAndRemovalAreAnnounced) {
  TKxDePoint* p = Create<TKxDePoint>();
  Shape->InsertPoint(p);
  EXPECT_EQ(SurfaceCalls(), (Strings{"start kxacSizing shape ", "undo kxacSizing shape ", "layer changed layer",
                                     "shape changed shape", "end kxacSizing shape "}));
  EXPECT_EQ(Log.Count("hook point added"), 1u);
  Log.Clear();
  EXPECT_EQ(Shape->Extract(p), p);
  EXPECT_EQ(Log.Count("start kxacSizing shape "), 1u);
  EXPECT_EQ(Log.Count("hook point removed"), 1u);
  EXPECT_EQ(p->GetOwner(), nullptr);
  EXPECT_EQ(Shape->PointCount(), 0);
  Free(p);
}

TEST_F(ShapeProtocol, ClearPointsIsOneActionAndOneChange) {
  AddPoints({{0, 0}, {1, 1}, {2, 2}, {3, 3}});
  Shape->Clear();
  EXPECT_EQ(SurfaceCalls(), (Strings{"start kxacSizing shape ", "undo kxacSizing shape ", "layer changed layer",
                                     "shape changed shape", "end kxacSizing shape "}));
  EXPECT_EQ(Shape->PointCount(), 0);
  Log.Clear();
  Shape->Clear();
  EXPECT_TRUE(Log.Entries.empty()) << "nothing to clear";
}

TEST_F(ShapeProtocol, HandleMoveChangesThePointButAnnouncesNoActionOfItsOwn) {
  AddPoints({{10, 10}});
  TKxDePoint* p = Shape->Points(0);
  TKxDePointControl* h = p->NewControl(1, 1);
  p->SetControl_1(h);
  EXPECT_EQ(Log.Count("start kxacSizing shape "), 1u) << "attaching the first handle is an action";
  Log.Clear();
  h->SetPosition(2, 3);
  EXPECT_EQ(SurfaceCalls(), (Strings{"layer changed layer", "shape changed shape"}));
  EXPECT_EQ(Log.Count("notify changing shape"), 1u);
}

TEST_F(ShapeProtocol, ControlMoveIsASizingAction) {
  auto* c = Create<TKxDeControl>(Shape);
  EXPECT_EQ(Shape->ControlCount(), 1);
  Log.Clear();
  c->SetPosition(4, 5);
  EXPECT_EQ(SurfaceCalls(), (Strings{"start kxacSizing shape ", "undo kxacSizing shape ", "layer changed layer",
                                     "shape changed shape", "end kxacSizing shape "}));
  Log.Clear();
  Shape->ClearControls();
  EXPECT_EQ(Shape->ControlCount(), 0);
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacSizing shape "}));
}

TEST_F(ShapeProtocol, ChangesOfANestedShapeReachTheSurfaceAsChangesOfItsTopContainer) {
  auto* group = Create<TKxDeContainer>(nullptr, Layer);
  auto* inner = Create<TTestShape>(nullptr, group);
  Log.Names[group] = "group";
  Log.Names[inner] = "inner";
  EXPECT_EQ(inner->GetSurface(), Surface);
  EXPECT_EQ(inner->GetLayer(), Layer);
  Log.Clear();
  inner->SetName("n");
  EXPECT_EQ(SurfaceCalls(), (Strings{"start kxacChanging inner Name", "undo kxacChanging inner Name",
                                     "layer changed layer", "shape changed group", "end kxacChanging inner Name"}));
  Log.Clear();
  group->BeginNotifyLock();
  inner->SetName("m");
  group->EndNotifyLock();
  EXPECT_TRUE(Log.Only("start").empty()) << "the group's lock holds back its children's actions";
}

}  // namespace
}  // namespace vorn::test
