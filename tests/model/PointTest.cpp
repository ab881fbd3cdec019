// Points, their handles and free controls: ownership moves, the is-changing check, selection.

#include "ModelTestSupport.h"

namespace vorn::test {
namespace {

using Points = ModelFixture;

TEST_F(Points, APointMovesBetweenShapesAndReportsToItsOwnerOfTheMoment) {
  AddPoints({{1, 1}, {2, 2}});
  TTestShape* other = Create<TTestShape>(nullptr, Layer);
  Log.Names[other] = "other";
  TKxDePoint* p = Shape->Points(0);
  Shape->Select(p);
  Log.Clear();
  other->InsertPoint(p);
  EXPECT_EQ(p->GetOwner(), other);
  EXPECT_EQ(Shape->SelectionCount(), 0) << "the point left the old shape's selection";
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacSizing other ", "start kxacSizing shape "}));
  Log.Clear();
  p->SetPosition(9, 9);
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacSizing other "}));
  // Detached, a point keeps its coordinates and announces nothing.
  TKxDePoint* q = other->Extract(p);
  Log.Clear();
  q->SetPosition(5, 6);
  EXPECT_TRUE(Log.Entries.empty());
  Shape->Add(q);
  EXPECT_EQ(Shape->PointValue(1), (TPointF{5, 6}));
}

TEST_F(Points, TheIsChangingHookMayAlterOrCancelTheMove) {
  AddPoints({{3, 4}});
  TKxDePoint* p = Shape->Points(0);
  Shape->ClampPoints = true;
  Shape->ClampTo = TPointF{3, 4};
  p->SetPosition(50, 50);
  EXPECT_EQ(p->GetValue(), (TPointF{3, 4}));
  EXPECT_TRUE(Log.Entries.empty()) << "clamped to where it is: nothing to announce";
  Shape->ClampTo = TPointF{7, 8};
  p->Setx(50);
  EXPECT_EQ(p->GetValue(), (TPointF{7, 8}));
  EXPECT_EQ(Log.Count("start kxacSizing shape "), 1u);
  Log.Clear();
  p->SetPosition2(1, 1);
  EXPECT_EQ(p->GetValue(), (TPointF{1, 1})) << "the plain setter skips the check and the actions";
  EXPECT_EQ(Order(Log), "changed");
}

TEST_F(Points, ThePointListRefusesOutOfRangeAndForeignPoints) {
  AddPoints({{0, 0}, {1, 1}, {2, 2}});
  TKxDePoint* p = Create<TKxDePoint>();
  p->SetPosition(9, 9);
  Shape->Insert(1, p);
  Shape->Insert(9, Create<TKxDePoint>(Shape));  // out of range, and already here: refused
  Shape->Delete(4);
  Shape->Delete(4);
  Shape->Remove(Shape->Points(0));
  Shape->SetPointValue(7, TPointF{5, 5});
  EXPECT_EQ(Shape->GetPointArray(), (TDPointArray{{9, 9}, {1, 1}, {2, 2}}));
  // Freeing a point takes it out of its shape and selection first, as an undoable action.
  TKxDePoint* last = Shape->Points(2);
  Shape->Select(last);
  Log.Clear();
  Free(last);
  EXPECT_EQ(Shape->PointCount(), 2);
  EXPECT_EQ(Shape->SelectionCount(), 0);
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacSizing shape "}));
}

TEST_F(Points, SelectionKeepsOnlyPointsOfTheUnlockedShape) {
  AddPoints({{0, 0}, {1, 1}, {2, 2}});
  TKxDePoint* foreign = Create<TKxDePoint>();
  Shape->AddSelection(foreign);
  Shape->SelectAll();
  Log.Clear();
  Shape->SelectAll();
  EXPECT_TRUE(Log.Entries.empty()) << "unchanged selection, no change";
  TKxDePoint* two[] = {Shape->Points(0), Shape->Points(2)};
  Shape->RemoveSelections(two, 2);
  Shape->AddSelections(two, 2);
  Shape->AddSelections(two, 2);
  EXPECT_EQ(Shape->SelectionCount(), 3);
  Shape->SetLocked(true);
  EXPECT_FALSE(Shape->IsSelected(Shape->Points(0))) << "a locked shape shows no selected points";
  Shape->SetLocked(false);
  Shape->Select(nullptr);
  EXPECT_EQ(Shape->SelectionCount(), 0);
  Free(foreign);
}

TEST_F(Points, HandlesAttachOnceAreHitOnTheirRoundedSpotAndDieWithThePoint) {
  AddPoints({{10, 10}, {20, 20}});
  TKxDePoint* a = Shape->Points(0);
  TKxDePoint* b = Shape->Points(1);
  TKxDePointControl* h = a->NewControl(3, 4);
  a->SetControl_1(h);
  EXPECT_EQ(Log.Count("start kxacSizing shape "), 1u) << "the first attachment is an action";
  Log.Clear();
  b->SetControl_2(h);  // taken from the other point without any action
  EXPECT_EQ(b->Control_2(), h);
  EXPECT_TRUE(Log.Only("start").empty());
  b->SetControl_1(h);
  EXPECT_EQ(b->Control_1(), nullptr) << "a handle of this point is not accepted again";
  Free(h);

  a->SetControl_1(a->NewControl(-3.4f, 0));
  a->SetControl_2(a->NewControl(5, 5));
  EXPECT_EQ(a->ControlAt(TPointF{7, 10}, 0), 0);
  EXPECT_EQ(a->ControlAt(TPointF{6.6f, 10}, 2), 0);
  EXPECT_EQ(a->ControlAt(TPointF{15, 16}, 3), 1);
  EXPECT_EQ(a->ControlAt(TPointF{15, 20}, 3), -1);
  Shape->Delete(0);  // frees the point with both handles (the sanitizer build checks)
  EXPECT_EQ(Shape->PointCount(), 1);
}

TEST_F(Points, ControlsMoveBetweenShapesAndPointsTakeOnlyPoints) {
  auto* c = Create<TKxDeControl>(Shape);
  c->SetPosition(4, 5);
  TTestShape* other = Create<TTestShape>(nullptr, Layer);
  other->InsertControl(c);
  EXPECT_TRUE(other->IndexOfControl(c) == 0 && Shape->IndexOfControl(c) == -1);
  EXPECT_EQ(c->GetValue(), (TPointF{4, 5}));
  TOwned<TKxDePoint> b(Create<TKxDePoint>());
  EXPECT_THROW(b->Assign(c), Exception) << "a point takes only points";
  // A point takes another's position; its index is its place in its shape, -1 without one.
  AddPoints({{1, 1}, {2, 2}});
  Shape->Points(1)->Assign(Shape->Points(0));
  EXPECT_EQ(Shape->PointValue(1), (TPointF{1, 1}));
  EXPECT_EQ(Shape->Points(1)->GetIndex(), 1);
  EXPECT_EQ(b->GetIndex(), -1);
  Free(c);
}

}  // namespace
}  // namespace vorn::test
