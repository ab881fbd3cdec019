// The shape registry, the action list, identities and surface clients.

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

// A client that records its calls and lets the events fire too.
class TRecordingClient : public TKxDeSurfaceClient {
 public:
  TRecordingClient(TKxDeSurface* ASender, TCallLog* Log) : TKxDeSurfaceClient(ASender), FLog(Log) {}
  void DoInsertShape(TKxDeShapeBase* Shape) override {
    FLog->Add("client inserted");
    TKxDeSurfaceClient::DoInsertShape(Shape);
  }
  void DoShapeChange(TKxDeShapeBase* Shape) override {
    FLog->Add("client changed");
    TKxDeSurfaceClient::DoShapeChange(Shape);
  }

 private:
  TCallLog* FLog;
};

using SurfaceClients = ModelFixture;

TEST_F(SurfaceClients, TheFanOutRunsHookThenClientsThenEventUnlessClientsAreLocked) {
  auto* client = Create<TRecordingClient>(Surface, &Log);
  client->OnShapechange = [this](TObject* Sender, TKxDeShapeBase*) {
    EXPECT_EQ(Sender, static_cast<TObject*>(Surface));
    Log.Add("client event");
  };
  Surface->OnShapeChange = [this](TObject*, TKxDeShapeBase*) { Log.Add("surface event"); };
  Shape->Refresh(false);
  EXPECT_EQ(Log.Entries,
            (Strings{"layer changed layer", "shape changed shape", "client changed", "client event", "surface event"}));
  Log.Clear();
  Surface->LockClientNotify();
  Shape->Refresh(false);
  Surface->UnLockClientNotify();
  EXPECT_EQ(Log.Entries, (Strings{"layer changed layer", "shape changed shape", "surface event"}));
  Free(client);
  EXPECT_EQ(Surface->GetClientCount(), 0);
}

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

}  // namespace
}  // namespace vorn::test
