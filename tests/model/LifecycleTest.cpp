// Destruction order and the two-way registration between shapes and notifiers.

#include "ModelTestSupport.h"

#include <algorithm>
#include <random>

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

TEST_F(Lifecycle, DestructionLeavesTheOwnerAndTellsNotifiersBeforeThePartsGo) {
  for (int i = 0; i < 4; ++i) Create<TLoggingPoint>(Shape, &Log);
  auto* notifier = Create<TKxDeShapeNotifier>();
  notifier->RegisterShape(Shape);
  TKxDeShapeBase* seen = nullptr;
  notifier->OnDestroy = [&](TObject* Sender, TKxDeShapeBase* S) {
    Log.Add("notify destroyed " + Log.NameOf(S));
    seen = S;
    EXPECT_EQ(Sender, notifier);
    EXPECT_TRUE(S->InDestroy());
    EXPECT_EQ(S->Owner(), nullptr);
    EXPECT_EQ(Layer->ItemCount(), 0);
    EXPECT_EQ(S->PointCount(), 4) << "the parts are still there";
  };
  Log.Clear();
  TKxDeShapeBase* doomed = Shape;
  Shape = nullptr;
  Free(doomed);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacRemoving layer ", "undo kxacRemoving layer ",
                                  "undo kxacRemoved shape ", "end kxacRemoving layer ", "start kxacRemoved shape ",
                                  "removed shape", "layer changed layer", "end kxacRemoved shape ",
                                  "notify destroyed shape", "point freed", "point freed", "point freed",
                                  "point freed"}));
  EXPECT_NE(seen, nullptr);
  EXPECT_EQ(notifier->Count(), 0);
  Free(notifier);
}

TEST_F(Lifecycle, ADestroyingShapeAnnouncesNoChanges) {
  AddPoints({{0, 0}, {1, 1}});
  auto* notifier = Create<TKxDeShapeNotifier>();
  WireNotifier(notifier, &Log);
  notifier->RegisterShape(Shape);
  notifier->OnDestroy = [&](TObject*, TKxDeShapeBase* S) {
    S->SetName("late");
    S->Changed(true);
    S->Changing();
  };
  Log.Clear();
  TKxDeShapeBase* doomed = Shape;
  Shape = nullptr;
  Free(doomed);
  EXPECT_EQ(Log.Count("shape changed shape"), 0u);
  EXPECT_TRUE(Log.Only("notify").empty());
  Free(notifier);
}

TEST_F(Lifecycle, FreeingAWatchedShapeFiresOnDestroyOnceAndShrinksTheList) {
  auto* other = Create<TTestShape>(nullptr, Layer);
  auto* notifier = Create<TKxDeShapeNotifier>();
  int destroyed = 0;
  notifier->OnDestroy = [&](TObject*, TKxDeShapeBase*) { ++destroyed; };
  notifier->RegisterShape(Shape);
  notifier->RegisterShape(other);
  notifier->RegisterShape(other);  // twice: ignored
  notifier->RegisterShape(nullptr);
  EXPECT_EQ(notifier->Count(), 2);
  EXPECT_EQ(other->NotifierCount(), 1);
  Free(other);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(notifier->Count(), 1);
  EXPECT_EQ(notifier->Shapes(0), Shape);
  TKxDeShapeBase* doomed = Shape;
  Shape = nullptr;
  Free(doomed);
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(notifier->Count(), 0);
  EXPECT_EQ(notifier->Shapes(0), nullptr);
  Free(notifier);
}

TEST_F(Lifecycle, EveryWayOfUnwatchingBreaksBothSides) {
  auto* n1 = Create<TKxDeShapeNotifier>();
  auto* n2 = Create<TKxDeShapeNotifier>();
  n1->RegisterShape(Shape);
  n2->RegisterShape(Shape);
  EXPECT_EQ(Shape->NotifierCount(), 2);
  n1->UnregisterShape(Shape);
  n1->UnregisterShape(Shape);  // not watched any more: nothing
  EXPECT_FALSE(n1->IsWatching(Shape));
  EXPECT_EQ(Shape->NotifierCount(), 1);
  Free(n2);  // destroying a notifier unregisters it everywhere
  EXPECT_EQ(Shape->NotifierCount(), 0);
  Shape->SetName("still fine");

  n1->RegisterShape(Shape);
  n1->UnregisterAll();
  EXPECT_EQ(Shape->NotifierCount(), 0);
  EXPECT_EQ(n1->Count(), 0);
  Free(n1);
}

TEST_F(Lifecycle, NotifierAnswersOnlyForWatchedShapes) {
  auto* notifier = Create<TKxDeShapeNotifier>();
  int changes = 0;
  notifier->OnChange = [&](TObject*, TKxDeShapeBase*) { ++changes; };
  notifier->Changed(Shape);
  EXPECT_EQ(changes, 0);
  notifier->RegisterShape(Shape);
  Shape->Refresh(false);
  EXPECT_EQ(changes, 1);
  Free(notifier);
}

TEST_F(Lifecycle, ManyWatchedShapesLeaveInAnyOrderAndTheRestKeepTheirOrder) {
  auto* notifier = Create<TKxDeShapeNotifier>();
  std::vector<TKxDeShapeBase*> shapes;
  for (int i = 0; i < 500; ++i) {
    auto* s = Create<TTestShape>(nullptr, Layer);
    s->SetTag(i);
    shapes.push_back(s);
    notifier->RegisterShape(s);
  }
  std::mt19937 random(7);
  std::vector<TKxDeShapeBase*> order = shapes;
  std::shuffle(order.begin(), order.end(), random);
  int destroyed = 0;
  notifier->OnDestroy = [&](TObject*, TKxDeShapeBase*) { ++destroyed; };
  for (size_t i = 0; i < 400; ++i) FreeObject(order[i]);
  EXPECT_EQ(destroyed, 400);
  ASSERT_EQ(notifier->Count(), 100);
  int64_t previous = -1;
  for (int32_t i = 0; i < notifier->Count(); ++i) {
    TKxDeShapeBase* s = notifier->Shapes(i);
    ASSERT_NE(s, nullptr);
    EXPECT_GT(s->Tag(), previous) << "registration order is kept";
    previous = s->Tag();
    EXPECT_TRUE(notifier->IsWatching(s));
  }
  Free(notifier);
}

TEST_F(Lifecycle, DestroyingTheSurfaceDestroysTheDocument) {
  auto* notifier = Create<TKxDeShapeNotifier>();
  int destroyed = 0;
  notifier->OnDestroy = [&](TObject*, TKxDeShapeBase*) { ++destroyed; };
  notifier->RegisterShape(Shape);
  notifier->RegisterShape(Layer);
  Log.Clear();
  delete Surface;
  Surface = nullptr;
  EXPECT_EQ(destroyed, 2);
  EXPECT_TRUE(Log.Only("removed").empty()) << "a surface being destroyed is silent";
  Free(notifier);
}

}  // namespace
}  // namespace vorn::test
