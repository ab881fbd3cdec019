// Destruction order and the two-way registration between shapes and notifiers.

#include "ModelTestSupport.h"

namespace vorn::test {
namespace {

// A point that records when it is freed.
class TLoggingPoint : public TKxDePoint {
 public:
  TLoggingPoint(TKxDeShapeBase* AOwner, TCallLog* Log) : TKxDePoint(AOwner), FLog(Log) {}
  void BeforeDestruction() override {
    FLog->Add("point freed");
    TKxDePoint::BeforeDestruction();
  }

 private:
  TCallLog* FLog;
};

using Lifecycle = ModelFixture;

TEST_F(Lifecycle, DestructionLeavesTheOwnerAndTellsNotifiersSilentlyBeforeThePartsGo) {
  for (int i = 0; i < 2; ++i) Create<TLoggingPoint>(Shape, &Log);
  auto* notifier = Create<TKxDeShapeNotifier>();
  WireNotifier(notifier, &Log);
  notifier->RegisterShape(Shape);
  notifier->OnDestroy = [&](TObject* Sender, TKxDeShapeBase* S) {
    Log.Add("destroyed");
    EXPECT_EQ(Sender, notifier);
    EXPECT_TRUE(S->InDestroy());
    EXPECT_EQ(S->Owner(), nullptr);
    EXPECT_EQ(S->PointCount(), 2) << "the parts are still there";
    S->SetName("late");  // a shape being destroyed announces no change
    S->Changed(true);
  };
  Log.Clear();
  TKxDeShapeBase* doomed = Shape;
  Shape = nullptr;
  Free(doomed);
  EXPECT_EQ(Order(Log), "start undo undo end start removed end destroyed point point");
  EXPECT_EQ(notifier->Count(), 0);
  Free(notifier);
}

TEST_F(Lifecycle, EveryWayOfUnwatchingBreaksBothSides) {
  auto* other = Create<TTestShape>(nullptr, Layer);
  auto* n1 = Create<TKxDeShapeNotifier>();
  auto* n2 = Create<TKxDeShapeNotifier>();
  int destroyed = 0;
  n1->OnDestroy = [&](TObject*, TKxDeShapeBase*) { ++destroyed; };
  for (TKxDeShapeNotifier* n : {n1, n2}) {
    n->RegisterShape(Shape);
    n->RegisterShape(other);
    n->RegisterShape(other);  // twice: ignored
    n->RegisterShape(nullptr);
  }
  EXPECT_EQ(n1->Count(), 2);
  EXPECT_EQ(other->NotifierCount(), 2);
  Free(other);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(n1->Count(), 1);
  n1->UnregisterShape(Shape);
  n1->UnregisterShape(Shape);  // not watched any more: nothing
  EXPECT_EQ(Shape->NotifierCount(), 1);
  Free(n2);  // a destroyed notifier unregisters everywhere
  EXPECT_EQ(Shape->NotifierCount(), 0);
  n1->RegisterShape(Shape);
  n1->UnregisterAll();
  EXPECT_EQ(Shape->NotifierCount(), 0);
  int changes = 0;
  n1->OnChange = [&](TObject*, TKxDeShapeBase*) { ++changes; };
  n1->Changed(Shape);
  EXPECT_EQ(changes, 0) << "a notifier answers only for watched shapes";
  Free(n1);
  Shape->SetName("still fine");
}

TEST_F(Lifecycle, DestroyingTheSurfaceDestroysTheDocumentSilently) {
  auto* notifier = Create<TKxDeShapeNotifier>();
  int destroyed = 0;
  notifier->OnDestroy = [&](TObject*, TKxDeShapeBase*) { ++destroyed; };
  notifier->RegisterShape(Shape);
  notifier->RegisterShape(Layer);
  Log.Clear();
  delete Surface;
  Surface = nullptr;
  EXPECT_EQ(destroyed, 2);
  EXPECT_TRUE(Log.Only("removed").empty());
  Free(notifier);
}

TEST_F(Lifecycle, ShapesLeaveTheirNotifiersInAnyOrderAndTheRestKeepTheirOrder) {
  auto* notifier = Create<TKxDeShapeNotifier>();
  std::vector<TKxDeShapeBase*> shapes;
  for (int i = 0; i < 100; ++i) {
    shapes.push_back(Create<TTestShape>(nullptr, Layer));
    shapes.back()->SetTag(i);
    notifier->RegisterShape(shapes.back());
  }
  std::shuffle(shapes.begin(), shapes.end(), std::mt19937(7));
  for (size_t i = 0; i < 80; ++i) FreeObject(shapes[i]);
  ASSERT_EQ(notifier->Count(), 20);
  for (int32_t i = 1; i < notifier->Count(); ++i) EXPECT_GT(notifier->Shapes(i)->Tag(), notifier->Shapes(i - 1)->Tag());
  Free(notifier);
}

}  // namespace
}  // namespace vorn::test
