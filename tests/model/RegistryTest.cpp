// The shape registry, the action list and surface clients.

#include "ModelTestSupport.h"

#include <vorn/model/KxDeActionList.h>
#include <vorn/model/KxDeRegister.h>
#include <vorn/model/KxDeSurfaceClient.h>

namespace vorn::test {
namespace {

class Registry : public ::testing::Test {
 protected:
  // The library registers its own containers at load: start every case from an empty registry.
  void SetUp() override { TKxDeRegister::ClearShapeList(); }
  void TearDown() override { TKxDeRegister::ClearShapeList(); }
};

TEST_F(Registry, NothingRegisteredFindsNothing) {
  TKxDeRegister::ClearShapeList();
  EXPECT_EQ(TKxDeRegister::FindShape("TKxDeShape"), nullptr);
  EXPECT_EQ(TKxDeRegister::GetEnumerator(), nullptr);
  EXPECT_EQ(TKxDeRegister::FindShapeDisplayName(ClassOf<TKxDeShape>()), QString());
}

TEST_F(Registry, LookupsIgnoreLetterCase) {
  EXPECT_TRUE(TKxDeRegister::RegisterShape(ClassOf<TTestShape>(), "Test shape", "A shape for tests"));
  EXPECT_EQ(TKxDeRegister::FindShape("TTestShape"), ClassOf<TTestShape>());
  EXPECT_EQ(TKxDeRegister::FindShape("ttestshape"), ClassOf<TTestShape>());
  EXPECT_EQ(TKxDeRegister::FindShape("TTESTSHAPE"), ClassOf<TTestShape>());
  EXPECT_EQ(TKxDeRegister::FindShape("TTestShap"), nullptr);
  EXPECT_EQ(TKxDeRegister::FindShapeDisplayName(ClassOf<TTestShape>()), "Test shape");
  EXPECT_EQ(TKxDeRegister::FindShapeDescription(ClassOf<TTestShape>()), "A shape for tests");
}

TEST_F(Registry, RegisteringTwiceKeepsTheFirstEntry) {
  EXPECT_TRUE(TKxDeRegister::RegisterShape(ClassOf<TTestShape>(), "First", ""));
  EXPECT_TRUE(TKxDeRegister::RegisterShape(ClassOf<TTestShape>(), "Second", ""));
  EXPECT_EQ(TKxDeRegister::FindShapeDisplayName(ClassOf<TTestShape>()), "First");
  EXPECT_FALSE(TKxDeRegister::RegisterShape(nullptr, "None", ""));
  EXPECT_FALSE(TKxDeRegister::RegisterShape(ClassOf<TKxDePoint>(), "A point", ""))
      << "only shape classes have the shape constructor";
  EXPECT_EQ(TKxDeRegister::FindShape("TKxDePoint"), nullptr);
}

TEST_F(Registry, EnumeratesClassNamesInSortedOrderAndUnregisters) {
  TKxDeRegister::RegisterShape(ClassOf<TTestShape>());
  TKxDeRegister::RegisterShape(ClassOf<TKxDeShape>());
  TKxDeRegister::RegisterShape(ClassOf<TKxDeLayer>(), "Layer", "");
  auto names = TKxDeRegister::GetEnumerator();
  ASSERT_NE(names, nullptr);
  QStringList seen;
  while (names->MoveNext()) seen << names->Current();
  EXPECT_EQ(seen, (QStringList{"TKxDeLayer", "TKxDeShape", "TTestShape"}));
  TKxDeRegister::UnRegisterShape(ClassOf<TKxDeShape>());
  TKxDeRegister::UnRegisterShape(ClassOf<TKxDeShape>());  // unknown by now: nothing
  EXPECT_EQ(TKxDeRegister::FindShape("TKxDeShape"), nullptr);
  EXPECT_EQ(TKxDeRegister::FindShape("TTestShape"), ClassOf<TTestShape>());
}

TEST_F(Registry, CreatesShapesByClassNameThroughTheVirtualConstructor) {
  TKxDeRegister::RegisterShape(ClassOf<TTestShape>(), "Test shape", "");
  TKxDeShapeBase* s = TKxDeRegister::CreateShape("ttestshape");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ClassName(), "TTestShape");
  EXPECT_EQ(s->Owner(), nullptr);
  EXPECT_EQ(s->GetSurface(), nullptr);
  EXPECT_EQ(TKxDeRegister::FindShapeDisplayName(s), "Test shape");
  EXPECT_EQ(TKxDeRegister::CreateShape("TUnknown"), nullptr);
  Free(s);
}

TEST(ActionList, RecordsAndSearches) {
  auto* list = Create<TKxDeActionList>();
  EXPECT_EQ(list->Add(TKxDeAction::kxacSizing, ""), 0);
  EXPECT_EQ(list->Add(TKxDeAction::kxacChanging, "Name"), 1);
  EXPECT_TRUE(list->HaveAction(TKxDeAction::kxacChanging));
  EXPECT_FALSE(list->HaveAction(TKxDeAction::kxacClearing));
  EXPECT_TRUE(list->HavePropName("Name"));
  EXPECT_FALSE(list->HavePropName("name"));
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_FALSE(list->HavePropName("Name"));
  Free(list);
}

TEST(Identity, ShapesGetDistinctIdentitiesThatCanBeCopiedAndRestored) {
  auto* a = Create<TKxDeShape>(nullptr, nullptr);
  auto* b = Create<TKxDeShape>(nullptr, nullptr);
  EXPECT_NE(a->ID(), b->ID());
  const uint32_t own = b->ID();
  b->StoreID();
  b->AssignID(a);
  EXPECT_EQ(b->ID(), a->ID());
  b->RestoreID();
  EXPECT_EQ(b->ID(), own);
  a->SetUserData1("u1");
  a->SetRefPoint(TPointF{3, 4});
  b->Assign2(a);
  EXPECT_EQ(b->ID(), a->ID());
  EXPECT_EQ(b->UserData1(), "u1");
  EXPECT_EQ(b->RefPoint(), (TPointF{3, 4}));
  EXPECT_EQ(a->GetStdClipboardText(), "TKxDeShape");
  Free(a);
  Free(b);
}

// A client that records its calls and lets the events fire too.
class TRecordingClient : public TKxDeSurfaceClient {
 public:
  TRecordingClient(TKxDeSurface* ASender, TCallLog* Log) : TKxDeSurfaceClient(ASender), FLog(Log) {}
  void DoInsertShape(TKxDeShapeBase* Shape) override {
    FLog->Add("client inserted " + FLog->NameOf(Shape));
    TKxDeSurfaceClient::DoInsertShape(Shape);
  }
  void DoShapeChange(TKxDeShapeBase* Shape) override {
    FLog->Add("client changed " + FLog->NameOf(Shape));
    TKxDeSurfaceClient::DoShapeChange(Shape);
  }

 private:
  TCallLog* FLog;
};

using SurfaceClients = ModelFixture;

TEST_F(SurfaceClients, FanOutRunsHookThenClientsThenEvent) {
  auto* client = Create<TRecordingClient>(Surface, &Log);
  EXPECT_EQ(client->Sender(), Surface);
  EXPECT_EQ(Surface->GetClientCount(), 1);
  client->OnShapechange = [this](TObject* Sender, TKxDeShapeBase* S) {
    EXPECT_EQ(Sender, static_cast<TObject*>(Surface));
    Log.Add("client event " + Log.NameOf(S));
  };
  Surface->OnShapeChange = [this](TObject*, TKxDeShapeBase* S) { Log.Add("surface event " + Log.NameOf(S)); };
  Shape->Refresh(false);
  EXPECT_EQ(Log.Entries, (Strings{"layer changed layer", "shape changed shape", "client changed shape",
                                  "client event shape", "surface event shape"}));
  Log.Clear();
  Surface->LockClientNotify();
  Shape->Refresh(false);
  Surface->UnLockClientNotify();
  EXPECT_EQ(Log.Entries, (Strings{"layer changed layer", "shape changed shape", "surface event shape"}))
      << "locked clients hear nothing; the hooks and the event still run";
  Free(client);
  EXPECT_EQ(Surface->GetClientCount(), 0);
}

TEST_F(SurfaceClients, ClientWithoutSurfaceHearsNothingUntilRegistered) {
  auto* client = Create<TRecordingClient>(nullptr, &Log);
  EXPECT_EQ(client->Sender(), nullptr);
  auto* loose = Create<TTestShape>(nullptr, nullptr);
  Log.Names[loose] = "loose";
  Layer->InsertShape(loose);
  EXPECT_EQ(Log.Count("client inserted loose"), 0u);
  Surface->RegisterClient(client);
  Surface->RegisterClient(client);  // already registered: nothing
  EXPECT_EQ(Surface->GetClientCount(), 1);
  Layer->Extract(loose);
  Layer->InsertShape(loose);
  EXPECT_EQ(Log.Count("client inserted loose"), 1u);

  auto* other = new TRecordingSurface(&Log);
  other->RegisterClient(client);  // moves over
  EXPECT_EQ(Surface->GetClientCount(), 0);
  EXPECT_EQ(client->Sender(), other);
  delete other;
  EXPECT_EQ(client->Sender(), nullptr) << "a destroyed surface lets its clients go";
  Free(client);
}

}  // namespace
}  // namespace vorn::test

namespace vorn::test {
namespace {

TEST(Published, ShapeAndPointPropertiesAreReachableByName) {
  auto* shape = Create<TKxDeShape>(nullptr, nullptr);
  const QMetaObject* meta = shape->metaObject();
  const int locked = meta->indexOfProperty("Locked");
  const int name = meta->indexOfProperty("Name");
  ASSERT_GE(locked, 0);
  ASSERT_GE(name, 0);
  EXPECT_TRUE(meta->property(locked).writeOnGadget(shape, true));
  EXPECT_TRUE(shape->Locked());
  EXPECT_TRUE(meta->property(name).writeOnGadget(shape, QString("by name")));
  EXPECT_EQ(shape->Name(), "by name");

  TKxDePoint* p = shape->Add(1, 2);
  const QMetaObject* pmeta = p->metaObject();
  const QVariant value = pmeta->property(pmeta->indexOfProperty("Point")).readOnGadget(p);
  EXPECT_EQ(value.value<TPointF>(), (TPointF{1, 2}));
  EXPECT_TRUE(pmeta->property(pmeta->indexOfProperty("x")).writeOnGadget(p, 5.0f));
  EXPECT_EQ(shape->PointValue(0), (TPointF{5, 2})) << "written through the announcing setter";
  Free(shape);
}

}  // namespace
}  // namespace vorn::test
