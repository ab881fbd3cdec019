// The shape registry, identities, surface clients, destruction order and the two-way registration
// between shapes and notifiers.

#include "ModelTestSupport.h"

namespace vorn::test {
namespace {

class Registry : public ::testing::Test {
 protected:
  // The library registers its own containers at load: every case starts from an empty registry.
  void SetUp() override { TKxDeRegister::ClearShapeList(); }
  void TearDown() override { TKxDeRegister::ClearShapeList(); }
};

TEST_F(Registry, RegistersOnceFindsIgnoringCaseAndCreatesByName) {
  EXPECT_EQ(TKxDeRegister::GetEnumerator(), nullptr);
  EXPECT_TRUE(TKxDeRegister::RegisterShape(ClassOf<TTestShape>(), "Test shape", "A shape for tests"));
  EXPECT_TRUE(TKxDeRegister::RegisterShape(ClassOf<TTestShape>(), "Second", ""));
  EXPECT_EQ(TKxDeRegister::FindShapeDisplayName(ClassOf<TTestShape>()), "Test shape") << "the first entry stays";
  EXPECT_EQ(TKxDeRegister::FindShapeDescription(ClassOf<TTestShape>()), "A shape for tests");
  EXPECT_EQ(TKxDeRegister::FindShapeDescription(ClassOf<TKxDeShape>()), QString()) << "not registered";
  EXPECT_FALSE(TKxDeRegister::RegisterShape(nullptr, "None", ""));
  EXPECT_FALSE(TKxDeRegister::RegisterShape(ClassOf<TKxDePoint>(), "A point", "")) << "not a shape class";
  for (const char* name : {"TTestShape", "ttestshape", "TTESTSHAPE"})
    EXPECT_EQ(TKxDeRegister::FindShape(name), ClassOf<TTestShape>()) << name;
  EXPECT_EQ(TKxDeRegister::FindShape("TTestShap"), nullptr);

  TOwned<TKxDeShapeBase> s(TKxDeRegister::CreateShape("ttestshape"));
  ASSERT_TRUE(s);
  EXPECT_EQ(s->ClassName(), "TTestShape");
  EXPECT_EQ(TKxDeRegister::FindShapeDisplayName(s.get()), "Test shape");
  EXPECT_EQ(TKxDeRegister::CreateShape("TUnknown"), nullptr);

  TKxDeRegister::RegisterShape(ClassOf<TKxDeShape>());
  TKxDeRegister::RegisterShape(ClassOf<TKxDeLayer>(), "Layer", "");
  QStringList seen;
  for (auto names = TKxDeRegister::GetEnumerator(); names->MoveNext();) seen << names->Current();
  EXPECT_EQ(seen, (QStringList{"TKxDeLayer", "TKxDeShape", "TTestShape"})) << "sorted by class name";
  TKxDeRegister::UnRegisterShape(ClassOf<TKxDeShape>());
  TKxDeRegister::UnRegisterShape(ClassOf<TKxDeShape>());  // unknown by now: nothing
  EXPECT_EQ(TKxDeRegister::FindShape("TKxDeShape"), nullptr);
  EXPECT_EQ(TKxDeRegister::FindShape("TTestShape"), ClassOf<TTestShape>());
}

// Entries keep their names, which all lists share; a name never given is in no list.
TEST(ActionList, RecordsAndSearches) {
  auto* list = Create<TKxDeActionList>();
  EXPECT_EQ(list->Add(TKxDeAction::kxacSizing, ""), 0);
  EXPECT_EQ(list->Add(TKxDeAction::kxacChanging, "Name"), 1);
  EXPECT_TRUE(list->HaveAction(TKxDeAction::kxacChanging));
  EXPECT_FALSE(list->HaveAction(TKxDeAction::kxacClearing));
  EXPECT_TRUE(list->HavePropName("Name"));
  EXPECT_FALSE(list->HavePropName("name"));
  EXPECT_FALSE(list->HavePropName("a name no list was given"));
  auto* other = Create<TKxDeActionList>();
  other->Add(TKxDeAction::kxacChanging, "Text");
  other->Add(TKxDeAction::kxacChanging, "Name");
  for (int i = 0; i < 10; ++i) list->Add(TKxDeAction::kxacChangingPen, i % 2 ? "Pen" : "");
  EXPECT_EQ(list->Count(), 12);
  EXPECT_EQ(list->Items(1).PropName, "Name");
  EXPECT_EQ(list->Items(11).Action, TKxDeAction::kxacChangingPen);
  EXPECT_EQ(list->Items(11).PropName, "Pen");
  EXPECT_TRUE(list->Items(10).PropName.isEmpty());
  EXPECT_EQ(other->Items(0).PropName, "Text");
  EXPECT_FALSE(list->HavePropName("Text"));
  EXPECT_TRUE(other->HavePropName("Name"));
  Free(other);
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_FALSE(list->HavePropName("Name"));
  Free(list);
}

TEST(Identity, ShapesGetDistinctIdentitiesThatCanBeCopiedAndRestored) {
  TOwned<TKxDeShape> a(Create<TKxDeShape>(nullptr, nullptr));
  TOwned<TKxDeShape> b(Create<TKxDeShape>(nullptr, nullptr));
  EXPECT_NE(a->ID(), b->ID());
  const uint32_t own = b->ID();
  b->StoreID();
  b->AssignID(a.get());
  EXPECT_EQ(b->ID(), a->ID());
  b->RestoreID();
  EXPECT_EQ(b->ID(), own);
  a->SetUserData1("u1");
  a->SetRefPoint(TPointF{3, 4});
  b->Assign2(a.get());
  EXPECT_EQ(b->ID(), a->ID());
  EXPECT_EQ(b->UserData1(), "u1");
  EXPECT_EQ(b->RefPoint(), (TPointF{3, 4}));
  // Points are written by name through their announcing setter, as the inspector and undo do.
  TKxDePoint* p = a->Add(1, 2);
  EXPECT_TRUE(p->metaObject()->property(p->metaObject()->indexOfProperty("x")).writeOnGadget(p, 5.0f));
  EXPECT_EQ(a->PointValue(0), (TPointF{5, 2}));
}

// A client that records the insertions it hears.
class TRecordingClient : public TKxDeSurfaceClient {
 public:
  TRecordingClient(TKxDeSurface* ASender, TCallLog* Log) : TKxDeSurfaceClient(ASender), FLog(Log) {}
  void DoInsertShape(TKxDeShapeBase* Shape) override {
    FLog->Add("client inserted");
    TKxDeSurfaceClient::DoInsertShape(Shape);
  }

 private:
  TCallLog* FLog;
};

using SurfaceClients = ModelFixture;

TEST_F(SurfaceClients, AClientHearsOnlyItsOneSurfaceAndIsLetGoWhenItDies) {
  auto* client = Create<TRecordingClient>(nullptr, &Log);
  Layer->Extract(Shape);
  Layer->InsertShape(Shape);
  EXPECT_EQ(Log.Count("client inserted"), 0u);
  Surface->RegisterClient(client);
  Surface->RegisterClient(client);  // already registered: nothing
  EXPECT_EQ(Surface->GetClientCount(), 1);
  Layer->Extract(Shape);
  Layer->InsertShape(Shape);
  EXPECT_EQ(Log.Count("client inserted"), 1u);
  auto* other = new TRecordingSurface(&Log);
  other->RegisterClient(client);  // moves over
  EXPECT_EQ(Surface->GetClientCount(), 0);
  delete other;
  EXPECT_EQ(client->Sender(), nullptr) << "a destroyed surface lets its clients go";
  Free(client);
}

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
