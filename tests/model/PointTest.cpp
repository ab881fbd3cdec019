// Points, their handles and free controls: ownership moves, the is-changing check, selection.

#include "ModelTestSupport.h"

#include <vorn/common/Exceptions.h>
#include <vorn/model/KxDeControl.h>

namespace vorn::test {
namespace {

using Points = ModelFixture;

TEST_F(Points, PointCreatedForAShapeIsAppendedAndKnowsItsIndex) {
  TKxDePoint* a = Create<TKxDePoint>(Shape);
  TKxDePoint* b = Create<TKxDePoint>(Shape);
  EXPECT_EQ(Shape->PointCount(), 2);
  EXPECT_EQ(a->GetOwner(), Shape);
  EXPECT_EQ(b->Index(), 1);
  EXPECT_TRUE(Shape->Exists(b));
  EXPECT_FALSE(Shape->CanInsertPoint(b)) << "already here";
  EXPECT_FALSE(Shape->CanInsertPoint(nullptr));
}

TEST_F(Points, InsertingAPointOfAnotherShapeMovesIt) {
  AddPoints({{1, 1}, {2, 2}});
  TTestShape* other = Create<TTestShape>(nullptr, Layer);
  Log.Names[other] = "other";
  TKxDePoint* p = Shape->Points(0);
  Shape->Select(p);
  Log.Clear();
  other->InsertPoint(p);
  EXPECT_EQ(p->GetOwner(), other);
  EXPECT_EQ(Shape->PointCount(), 1);
  EXPECT_EQ(Shape->IndexOf(p), -1);
  EXPECT_EQ(Shape->SelectionCount(), 0) << "the point left the old shape's selection";
  EXPECT_EQ(other->IndexOf(p), 0);
  // The new owner announces first, the old one's removal nests inside.
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacSizing other ", "start kxacSizing shape "}));
  Log.Clear();
  p->SetPosition(9, 9);
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacSizing other "})) << "the move is reported to the new owner";
}

TEST_F(Points, DetachedPointKeepsItsCoordinatesAndAnnouncesNothing) {
  AddPoints({{3, 4}});
  TKxDePoint* p = Shape->Extract(Shape->Points(0));
  ASSERT_NE(p, nullptr);
  Log.Clear();
  p->SetPosition(5, 6);
  EXPECT_EQ(p->GetValue(), (TPointF{5, 6}));
  EXPECT_EQ(p->GetIndex(), -1);
  EXPECT_TRUE(Log.Entries.empty());
  Shape->Add(p);
  EXPECT_EQ(Shape->PointValue(0), (TPointF{5, 6}));
}

TEST_F(Points, IsChangingHookMayAlterOrCancelTheMove) {
  AddPoints({{3, 4}});
  TKxDePoint* p = Shape->Points(0);
  Shape->ClampPoints = true;
  Shape->ClampTo = TPointF{3, 4};
  p->SetPosition(50, 50);
  EXPECT_EQ(p->GetValue(), (TPointF{3, 4}));
  EXPECT_TRUE(Log.Entries.empty()) << "clamped to the current position: nothing to announce";
  Shape->ClampTo = TPointF{7, 8};
  p->Setx(50);
  EXPECT_EQ(p->GetValue(), (TPointF{7, 8}));
  EXPECT_EQ(Log.Count("start kxacSizing shape "), 1u);
  Log.Clear();
  p->SetPosition2(1, 1);
  EXPECT_EQ(p->GetValue(), (TPointF{1, 1})) << "the plain setter skips the check and the actions";
  EXPECT_TRUE(Log.Only("start").empty());
  EXPECT_EQ(Log.Count("shape changed shape"), 1u);
}

TEST_F(Points, ShapeOperationsOnThePointList) {
  AddPoints({{0, 0}, {1, 1}, {2, 2}});
  TKxDePoint* p = Create<TKxDePoint>();
  p->SetPosition(9, 9);
  Shape->Insert(1, p);
  EXPECT_EQ(Shape->GetPointArray(), (TDPointArray{{0, 0}, {9, 9}, {1, 1}, {2, 2}}));
  Shape->Insert(9, Create<TKxDePoint>(Shape));  // out of range and already here: refused
  EXPECT_EQ(Shape->PointCount(), 5);
  Shape->Delete(4);
  Shape->Delete(4);  // out of range
  Shape->Remove(Shape->Points(0));
  EXPECT_EQ(Shape->GetPointArray(), (TDPointArray{{9, 9}, {1, 1}, {2, 2}}));
  Shape->SetPointValue(2, TPointF{5, 5});
  Shape->SetPointValue(7, TPointF{5, 5});
  EXPECT_EQ(Shape->PointValue(2), (TPointF{5, 5}));
}

TEST_F(Points, FreeingAPointTakesItOutOfItsShapeAndSelectionFirst) {
  AddPoints({{0, 0}, {1, 1}});
  TKxDePoint* p = Shape->Points(1);
  Shape->Select(p);
  EXPECT_TRUE(Shape->IsSelected(1));
  Log.Clear();
  Free(p);
  EXPECT_EQ(Shape->PointCount(), 1);
  EXPECT_EQ(Shape->SelectionCount(), 0);
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacSizing shape "})) << "the removal is an undoable action";
}

TEST_F(Points, SelectionKeepsOnlyPointsOfTheShape) {
  AddPoints({{0, 0}, {1, 1}, {2, 2}});
  TKxDePoint* foreign = Create<TKxDePoint>();
  Shape->AddSelection(foreign);
  EXPECT_EQ(Shape->SelectionCount(), 0);
  Shape->SelectAll();
  EXPECT_EQ(Shape->SelectionCount(), 3);
  Log.Clear();
  Shape->SelectAll();
  EXPECT_TRUE(Log.Entries.empty()) << "unchanged selection, no change";
  TKxDePoint* two[] = {Shape->Points(0), Shape->Points(2)};
  Shape->RemoveSelections(two, 2);
  EXPECT_EQ(Shape->Selections(0), Shape->Points(1));
  Shape->AddSelections(two, 2);
  Shape->AddSelections(two, 2);
  EXPECT_EQ(Shape->SelectionCount(), 3);
  Shape->SetLocked(true);
  EXPECT_FALSE(Shape->IsSelected(Shape->Points(0))) << "a locked shape shows no selected points";
  Shape->SetLocked(false);
  TTestShape* other = Create<TTestShape>(nullptr, nullptr);
  other->InsertPoint(Shape->Points(1));
  EXPECT_EQ(Shape->SelectionCount(), 2) << "a point that moved away is no longer selected here";
  Shape->Select(nullptr);
  EXPECT_EQ(Shape->SelectionCount(), 0);
  Free(other);
  Free(foreign);
}

TEST_F(Points, FirstHandleAttachmentIsAnActionTheSecondIsNot) {
  AddPoints({{10, 10}, {20, 20}});
  TKxDePoint* a = Shape->Points(0);
  TKxDePoint* b = Shape->Points(1);
  TKxDePointControl* h = a->NewControl(3, 4);
  EXPECT_EQ(h->GetOwner(), nullptr) << "a new handle is not attached";
  a->SetControl_1(h);
  EXPECT_EQ(Log.Count("start kxacSizing shape "), 1u);
  Log.Clear();
  b->SetControl_2(h);  // taken from the other point without any action
  EXPECT_EQ(h->GetOwner(), b);
  EXPECT_EQ(a->Control_1(), nullptr);
  EXPECT_EQ(b->Control_2(), h);
  EXPECT_TRUE(Log.Only("start").empty());
  EXPECT_GE(Log.Count("shape changed shape"), 1u);
  b->SetControl_1(h);
  EXPECT_EQ(b->Control_1(), nullptr) << "a handle of this point is not accepted again";
}

TEST_F(Points, HandleHitIsOnTheRoundedAbsolutePosition) {
  AddPoints({{10, 10}});
  TKxDePoint* p = Shape->Points(0);
  p->SetControl_1(p->NewControl(-3.4f, 0));
  p->SetControl_2(p->NewControl(5, 5));
  EXPECT_EQ(p->ControlAt(TPointF{7, 10}, 0), 0);
  EXPECT_EQ(p->ControlAt(TPointF{6.6f, 10}, 0), -1) << "Fuzz 0: only the rounded spot";
  EXPECT_EQ(p->ControlAt(TPointF{6.6f, 10}, 2), 0);
  EXPECT_EQ(p->ControlAt(TPointF{15, 16}, 3), 1);
  EXPECT_EQ(p->ControlAt(TPointF{0, 0}, 3), -1);
}

TEST_F(Points, FreeingAHandleDetachesItAndFreeingThePointFreesItsHandles) {
  AddPoints({{10, 10}});
  TKxDePoint* p = Shape->Points(0);
  TKxDePointControl* h = p->NewControl(1, 1);
  p->SetControl_1(h);
  Free(h);
  EXPECT_EQ(p->Control_1(), nullptr);
  p->SetControl_1(p->NewControl(2, 2));
  p->SetControl_2(p->NewControl(3, 3));
  Shape->Delete(0);  // frees the point with both handles (checked by the sanitizer build)
  EXPECT_EQ(Shape->PointCount(), 0);
}

TEST_F(Points, ControlsMoveBetweenShapesAndKeepTheirPosition) {
  auto* c = Create<TKxDeControl>(Shape);
  c->SetPosition(4, 5);
  TTestShape* other = Create<TTestShape>(nullptr, Layer);
  other->InsertControl(c);
  EXPECT_EQ(c->GetOwner(), other);
  EXPECT_EQ(Shape->ControlCount(), 0);
  EXPECT_EQ(other->IndexOfControl(c), 0);
  EXPECT_EQ(Shape->IndexOfControl(c), -1);
  EXPECT_EQ(c->GetValue(), (TPointF{4, 5}));
  Free(c);
  EXPECT_EQ(other->ControlCount(), 0);
}

TEST_F(Points, AssignCopiesCoordinatesAndRefusesOtherKinds) {
  auto* a = Create<TKxDePoint>();
  auto* b = Create<TKxDePoint>();
  a->SetPosition(1, 2);
  b->Assign(a);
  EXPECT_EQ(b->GetValue(), (TPointF{1, 2}));
  auto* c = Create<TKxDeControl>();
  EXPECT_THROW(b->Assign(c), Exception);
  Free(a);
  Free(b);
  Free(c);
}

}  // namespace
}  // namespace vorn::test
