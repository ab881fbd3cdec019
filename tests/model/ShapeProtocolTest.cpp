// Which actions and changes each shape operation announces, and in which order.

#include "ModelTestSupport.h"

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

  TKxDeShapeNotifier* Notifier = nullptr;
};

// What reaches the surface, for a shape with three points, a free control and a point handle.
TEST(ShapeProtocolOrder, EachOperationAnnouncesInItsOrder) {
  struct TCase {
    const char* Name;
    std::function<void(TTestShape*)> Op;
    const char* Expected;
  };
  const TCase cases[] = {
      {"a named property", [](TTestShape* S) { S->SetName("A"); }, "start undo changed end"},
      {"rotation is delivered after its action", [](TTestShape* S) { S->SetRotation(45); }, "start undo end changed"},
      {"locking refines selections after its action", [](TTestShape* S) { S->SetLocked(true); },
       "start undo changed end refine"},
      {"hiding refines inside its action", [](TTestShape* S) { S->SetVisible(false); },
       "start undo changed refine end"},
      {"a text the shape does not show", [](TTestShape* S) { S->SetText("t"); }, "start undo end"},
      {"a rotation point without a label",
       [](TTestShape* S) { S->SetRotationCenter(TKxDeRotationCenter::kxdroPtBottomLeft); }, "start undo end"},
      {"a point moved", [](TTestShape* S) { S->Points(0)->SetPosition(7, 8); }, "start undo changed end"},
      {"a move, whatever the point count", [](TTestShape* S) { S->MoveBy(5, 5); }, "start changed end"},
      {"new bounds", [](TTestShape* S) { S->SetBounds(5, 5, 20, 30); }, "start changed end"},
      {"a point inserted", [](TTestShape* S) { S->InsertPoint(Create<TKxDePoint>()); }, "start undo changed end"},
      {"the points cleared", [](TTestShape* S) { S->Clear(); }, "start undo changed end"},
      {"a free control moved", [](TTestShape* S) { S->Controls(0)->SetPosition(4, 5); }, "start undo changed end"},
      {"a point handle moved", [](TTestShape* S) { S->Points(2)->Control_1()->SetPosition(2, 3); }, "changed"},
      {"bounds already there", [](TTestShape* S) { S->SetBounds(0, 0, 10, 10); }, ""},
      {"no rotation to change", [](TTestShape* S) { S->SetRotation(0); }, ""},
      {"a millimetre position wraps the move",
       [](TTestShape* S) { S->SetMMPosition(TKxDeShapeRefPos::kxrpTopLeft, 2, 3); },
       "start undo start changed end changed end"},
  };
  for (const TCase& c : cases) {
    TCallLog log;
    auto* surface = new TRecordingSurface(&log);
    TTestShape* s = Create<TTestShape>(nullptr, Create<TKxDeLayer>(surface));
    for (const TPointF& p : {TPointF{0, 0}, TPointF{10, 0}, TPointF{10, 10}}) s->Add(p.X, p.Y);
    Create<TKxDeControl>(s);
    s->Points(2)->SetControl_1(s->Points(2)->NewControl(1, 1));
    log.Clear();
    c.Op(s);
    EXPECT_EQ(Order(log), c.Expected) << c.Name;
    delete surface;
  }
}

TEST_F(ShapeProtocol, AnUpdateBracketDeliversOneChangeButEveryActionAndNotification) {
  Shape->BeginUpdate();
  Shape->BeginUpdate();
  for (int i = 0; i < 10; ++i) Shape->SetName(QString::number(i));
  Shape->EndUpdate();
  EXPECT_EQ(Log.Count("shape changed shape"), 0u) << "the inner bracket keeps the change";
  Shape->EndUpdate();
  EXPECT_EQ(Log.Count("start kxacChanging shape Name"), 10u);
  EXPECT_EQ(Log.Count("shape changed shape"), 1u);
  EXPECT_EQ(Log.Count("notify changed shape"), 11u);
  EXPECT_EQ(Log.Entries.back(), "notify changed shape") << "delivered when the outer bracket closes";
  EXPECT_FALSE(Shape->NeedsUpdate());
  // The action list collects from the outermost bracket on.
  Shape->BeginUpdate();
  Shape->SetRotation(10);
  Shape->BeginUpdate();
  EXPECT_TRUE(Shape->ActionList()->HavePropName("Rotation") &&
              Shape->ActionList()->HaveAction(TKxDeAction::kxacChanging));
  Shape->EndUpdate();
  Shape->EndUpdate();
  Shape->BeginUpdate();
  EXPECT_EQ(Shape->ActionList()->Count(), 0);
  Shape->EndUpdate();
}

TEST_F(ShapeProtocol, PointUpdatesFoldChangesButNotActions) {
  AddPoints({{0, 0}, {10, 10}});
  TKxDePoint* p = Shape->Points(0);
  p->BeginUpdate();
  p->SetPosition(1, 1);
  p->SetPosition(2, 2);
  EXPECT_EQ(Log.Count("shape changed shape"), 0u);
  p->EndUpdate();
  EXPECT_EQ(Log.Count("start kxacSizing shape "), 2u);
  EXPECT_EQ(Log.Count("shape changed shape"), 1u);

  Log.Clear();
  Shape->BeginPointUpdate();
  Shape->BeginPointUpdate();
  Shape->MoveBy(3, 3);
  EXPECT_EQ(Shape->GetBounds(), (TRectF{2, 2, 10, 10})) << "no move inside a point update";
  Shape->EndPointUpdate();
  EXPECT_TRUE(Log.Entries.empty());
  Shape->EndPointUpdate();
  EXPECT_EQ(Log.Count("shape changed shape"), 1u) << "closing the last bracket delivers a change";
  Log.Clear();
  Shape->EndPointUpdate();  // unbalanced: ignored
  EXPECT_TRUE(Log.Entries.empty());
}

TEST_F(ShapeProtocol, NotifyLocksSilenceActionsButNotChangesAtAnyLevelAbove) {
  Shape->BeginNotifyLock();
  Shape->SetName("B");
  Shape->EndNotifyLock();
  EXPECT_EQ(Order(Log), "changed notify");
  Shape->EndNotifyLock();  // never below zero
  EXPECT_EQ(Shape->NotifyLock(), 0);

  auto* group = Create<TKxDeContainer>(nullptr, Layer);
  auto* inner = Create<TTestShape>(nullptr, group);
  Log.Names[group] = "group";
  Log.Names[inner] = "inner";
  Log.Clear();
  inner->SetName("n");
  EXPECT_EQ(Log.Entries, (Strings{"start kxacChanging inner Name", "undo kxacChanging inner Name",
                                  "layer changed layer", "shape changed group", "end kxacChanging inner Name"}))
      << "a nested shape's change reaches the surface as its top container's";
  for (TKxDeShapeBase* lock : {static_cast<TKxDeShapeBase*>(group), static_cast<TKxDeShapeBase*>(Layer)}) {
    Log.Clear();
    lock->BeginNotifyLock();
    inner->SetName(QString::fromStdString(Log.NameOf(lock)));
    lock->EndNotifyLock();
    EXPECT_TRUE(Log.Only("start").empty()) << Log.NameOf(lock);
    EXPECT_EQ(Log.Count("shape changed group"), 1u) << Log.NameOf(lock);
  }
}

TEST_F(ShapeProtocol, AHiddenShapeTellsOnlyItsNotifiersUnlessForced) {
  Shape->SetVisible(false);
  Log.Clear();
  Shape->SetName("hidden");
  EXPECT_EQ(Order(Log), "start undo notify end");
  Log.Clear();
  Shape->Refresh(true);
  EXPECT_EQ(Log.Count("shape changed shape"), 1u) << "a forced change reaches the owner anyway";
  // Texts and captions are delivered once the shape shows them.
  Shape->SetVisible(true);
  Shape->SetShapeStyle(Shape->ShapeStyle() + TKxDeShapeStyle::kxssUsesLabel + TKxDeShapeStyle::kxssUsesCaption);
  Log.Clear();
  Shape->SetText("u");
  Shape->SetCaption("d");
  EXPECT_EQ(Log.Count("shape changed shape"), 2u);
}

}  // namespace
}  // namespace vorn::test
