// The surface's document side: the notification fan-out, update brackets, the active layer,
// the layer list, grouping and packing, and destruction.

#include "SurfaceTestSupport.h"

namespace vorn::test {
namespace {

class SurfaceDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    Surface = new TLoggedSurface(&Log);
    Log.Names[Surface] = "surface";
  }
  void TearDown() override {
    delete Surface;
    for (TKxDeSurfaceClient* c : Clients) FreeObject(c);
  }
  // Layers named l0, l1, ... from the bottom.
  void MakeLayers(int N) {
    for (int i = 0; i < N; ++i) NewLayer(Log, Surface, "l" + std::to_string(i));
    Log.Take();
  }
  void AddClients() {
    Clients.push_back(Create<TLoggedClient>(Surface, &Log, "c1"));
    Clients.push_back(Create<TLoggedClient>(Surface, &Log, "c2"));
  }
  TKxDeLayer* L(int I) const { return Surface->GetLayer(I); }
  // The log without the undo hooks' entries, and those alone (the log is emptied).
  Strings Notifications() {
    Strings out;
    for (const auto& e : Log.Take())
      if (e.rfind("start ", 0) != 0 && e.rfind("undo ", 0) != 0 && e.rfind("end ", 0) != 0) out.push_back(e);
    return out;
  }
  Strings UndoEntries() {
    Strings out;
    for (const auto& e : Log.Take())
      if (e.rfind("start ", 0) == 0 || e.rfind("undo ", 0) == 0 || e.rfind("end ", 0) == 0) out.push_back(e);
    return out;
  }

  TCallLog Log;
  TLoggedSurface* Surface = nullptr;
  std::vector<TKxDeSurfaceClient*> Clients;
};

TEST_F(SurfaceDocument, EveryEntryPointRunsHookThenClientsThenEvent) {
  MakeLayers(2);
  TKxDeLayer* l0 = L(0);
  TKxDeLayer* l1 = L(1);
  TKxDeShape* s = NewShape(Log, l0, "s");
  auto* t = Create<TKxDeShape>(nullptr, nullptr);
  Log.Names[t] = "t";
  AddClients();
  Surface->LogEvents();
  Log.Take();
  // What an entry point announces reaches the hook, then each client in its order, then the event.
  auto fan = [](const std::string& What, bool Hook = true) {
    Strings out{"c1 " + What, "c2 " + What, "event " + What};
    if (Hook) out.insert(out.begin(), "hook " + What);
    return out;
  };
  auto then = [](Strings A, const Strings& B) {
    A.insert(A.end(), B.begin(), B.end());
    return A;
  };
  const struct {
    std::function<void()> Act;
    Strings Want;
  } rows[] = {
      {[&] { Surface->ShapeInserted(t); }, fan("inserted t")},
      {[&] { s->Refresh(false); }, then(fan("layer changed l0"), fan("changed s"))},
      {[&] { Surface->ShapeRemoved(s); }, fan("removed s")},
      {[&] { Surface->ShapeCleared(s); }, fan("cleared s")},
      {[&] { Surface->SetActiveLayer(l1); }, {"hook active l1", "c1 active", "c2 active", "event active"}},
      {[&] { Surface->BringForward(l0); }, then(fan("layer moved 0>1 l0"), fan("layer changed none"))},
      {[&] { Surface->Frame()->SetColor(clRed); }, fan("frame", false)},
      {[&] { Surface->Grid()->SetX(5); }, fan("grid", false)},
      {[&] { Surface->Layer()->SetWidth(500); }, fan("page", false)},
      {[&] { Surface->SetZoom(50); }, fan("zoom", false)},
  };
  for (const auto& r : rows) {
    r.Act();
    EXPECT_EQ(Notifications(), r.Want) << "row " << &r - rows;
  }
  Free(t);
  // Locked, the clients hear nothing; hooks and events go on.
  Surface->LockClientNotify();
  Surface->LockClientNotify();
  Surface->Grid()->SetX(6);
  Surface->SetActiveLayer(l0);
  EXPECT_EQ(Log.Take(), (Strings{"event grid", "hook active l0", "event active"}));
  // Releasing with a change still pending tells every client of the active layer's change.
  Surface->BeginUpdate();
  Surface->Grid()->SetX(7);
  Surface->UnLockClientNotify();
  EXPECT_EQ(Log.Take(), (Strings{"event grid"})) << "the inner release is not the last";
  Surface->UnLockClientNotify();
  EXPECT_EQ(Log.Take(), (Strings{"c1 layer changed l0", "c2 layer changed l0"}));
  Surface->EndUpdate();
}

TEST_F(SurfaceDocument, NestedBracketsRefreshOnceFullWhenAnyChangeAskedForIt) {
  MakeLayers(1);
  const struct {
    const char* What;
    std::function<void()> Changes;
    std::vector<std::pair<bool, bool>> Want;
  } rows[] = {
      {"nothing changed", [] {}, {}},
      {"only plain changes",
       [&] { Surface->Frame()->SetColor(clRed), Surface->Frame()->SetColor(clBlue); },
       {{false, false}}},
      {"one change asks for the layers",
       [&] { Surface->Frame()->SetColor(clGreen), Surface->Grid()->SetX(3), Surface->Frame()->SetColor(clRed); },
       {{true, false}}},
  };
  for (const auto& r : rows) {
    Surface->Refreshes.clear();
    Surface->BeginUpdate();
    Surface->BeginUpdate();
    r.Changes();
    Surface->EndUpdate();
    EXPECT_TRUE(Surface->Refreshes.empty()) << r.What << ": nothing before the outermost bracket closes";
    Surface->EndUpdate();
    EXPECT_EQ(Surface->Refreshes, r.Want) << r.What;
    EXPECT_FALSE(Surface->NeedsUpdate()) << r.What;
  }
  Surface->EndUpdate();
  EXPECT_EQ(Surface->UpdateCount(), 0u) << "an unmatched EndUpdate does nothing";
}

TEST_F(SurfaceDocument, TheActiveLayerIsVisibleAndUnlockedWhenAnyIs) {
  // Each layer: 'v' visible, 'h' hidden, 'L' locked and visible, 'H' locked and hidden.
  const struct {
    const char* Layers;
    int Requested;  // -1: none
    int Want;       // -1: none
  } rows[] = {
      {"vLv", 1, 2}, {"vLv", 0, 0}, {"vvL", 2, 1},  {"hvv", 0, 1},  {"vhh", 2, 0},
      {"LHL", 0, 2}, {"LHh", 1, 1}, {"hhh", 0, -1}, {"hvh", -1, 1}, {"", -1, -1},
  };
  for (const auto& r : rows) {
    TLoggedSurface s(&Log);
    const std::string kinds = r.Layers;
    for (char k : kinds) {
      auto* l = Create<TKxDeLayer>(&s);
      l->SetVisible(k == 'v' || k == 'L');
      l->SetLocked(k == 'L' || k == 'H');
    }
    TKxDeLayer* requested = r.Requested < 0 ? nullptr : s.GetLayer(r.Requested);
    EXPECT_EQ(s.IndexOf(s.ReArrangeActiveLayer(requested)), r.Want) << r.Layers << " asking " << r.Requested;
  }
}

TEST_F(SurfaceDocument, TheActiveLayerFollowsInsertionRemovalAndChange) {
  TKxDeLayer* first = NewLayer(Log, Surface, "l0");
  EXPECT_EQ(Surface->ActiveLayer(), first) << "the first layer becomes active";
  NewLayer(Log, Surface, "l1");
  TKxDeLayer* top = NewLayer(Log, Surface, "l2");
  EXPECT_EQ(Surface->ActiveLayer(), first) << "more layers leave it";
  Surface->SetActiveLayer(top);
  top->SetLocked(true);
  EXPECT_EQ(Surface->ActiveLayer(), L(1)) << "a locked active layer hands over, below when nothing is above";
  L(1)->SetVisible(false);
  EXPECT_EQ(Surface->ActiveLayer(), first);
  Surface->LogEvents();
  Log.Take();
  Surface->RemoveLayer(first);
  EXPECT_EQ(Surface->ActiveLayer(), top) << "the search starts from the bottom: only the locked one is left";
  EXPECT_EQ(Log.Take(), (Strings{"hook layer removed l0", "event layer removed l0", "hook active l2", "event active"}));
  Free(first);
  // A surface without layers makes one when asked; a host may supply it.
  TLoggedSurface empty(&Log);
  TKxDeLayer* supplied = nullptr;
  empty.OnNeedNewLayer = [&](TObject*, TKxDeLayer*& Layer) { Layer = supplied = Create<TKxDeLayer>(&empty); };
  EXPECT_EQ(empty.HandleActiveLayer(), supplied);
  EXPECT_EQ(empty.ActiveLayer(), supplied);
  supplied->SetVisible(false);
  EXPECT_EQ(empty.HandleActiveLayer(), nullptr) << "hidden layers are no reason to make another";
  EXPECT_EQ(empty.LayerCount(), 1);
}

TEST_F(SurfaceDocument, LayersAreInsertedAtTheirPlaceAndReordered) {
  MakeLayers(2);
  TKxDeLayer* l0 = L(0);
  TKxDeLayer* l1 = L(1);
  TKxDeLayer* loose = Create<TKxDeLayer>(nullptr);
  Surface->Insert(3, loose);
  Surface->Insert(-1, loose);
  EXPECT_EQ(Surface->LayerCount(), 2) << "outside 0 .. count nothing happens";
  Surface->Insert(0, loose);
  EXPECT_EQ(Surface->LayersList(), (TKxDeLayerList{loose, l0, l1}));
  EXPECT_EQ(loose->GetSurface(), Surface);
  EXPECT_EQ(Surface->ActiveLayer(), l0) << "an inserted layer does not take over";
  TKxDeShape* inner = NewShape(Log, Create<TKxDeGroup>(nullptr, loose), "inner");
  EXPECT_TRUE(Surface->Exists(inner)) << "at any depth";
  const struct {
    std::function<void()> Act;
    TKxDeLayerList Want;
  } moves[] = {
      {[&] { Surface->SendToBack(l1); }, {l1, loose, l0}},      {[&] { Surface->SendToBack(l1); }, {l1, loose, l0}},
      {[&] { Surface->BringToFront(l1); }, {loose, l0, l1}},    {[&] { Surface->BringToFront(l1); }, {loose, l0, l1}},
      {[&] { Surface->BringForward(loose); }, {l0, loose, l1}}, {[&] { Surface->SendBackward(l1); }, {l0, l1, loose}},
      {[&] { Surface->SendBackward(l0); }, {l0, l1, loose}},
  };
  for (const auto& m : moves) {
    m.Act();
    EXPECT_EQ(Surface->LayersList(), m.Want);
    for (int i = 0; i < Surface->LayerCount(); ++i) EXPECT_EQ(L(i)->GetIndex(), i);
  }
  Surface->Remove(loose);
  EXPECT_EQ(Surface->LayersList(), (TKxDeLayerList{l0, l1}));
  Surface->Delete(5);
  Surface->Delete(0);
  EXPECT_EQ(Surface->LayersList(), (TKxDeLayerList{l1}));
  EXPECT_EQ(Surface->ActiveLayer(), l1);
}

// ---- Grouping -------------------------------------------------------------------------------------

TEST_F(SurfaceDocument, GroupAndPackGatherShapesOfTheLayersIntoTheFirstOnesLayer) {
  MakeLayers(2);
  TKxDeShape* a = NewShape(Log, L(0), "a", {0, 0, 10, 10});
  TKxDeShape* b = NewShape(Log, L(1), "b", {20, 20, 30, 30});
  TKxDeGroup* old = Create<TKxDeGroup>(nullptr, L(1));
  TKxDeShape* nested = NewShape(Log, old, "nested");
  TKxDeShape* c = NewShape(Log, L(1), "c", {40, 0, 50, 10});
  Log.Take();
  EXPECT_EQ(Surface->Group({nested, nullptr, L(0)}), nullptr) << "nested shapes and layers do not take part";
  EXPECT_TRUE(Log.Take().empty());

  TKxDeGroup* g = Surface->Group({b, nested, a, b});
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->Owner(), L(1)) << "the layer of the first shape";
  EXPECT_EQ(L(1)->Items(L(1)->ItemCount() - 1), g) << "on top";
  ASSERT_EQ(g->ItemCount(), 2);
  EXPECT_EQ(g->Items(0), b);
  EXPECT_EQ(g->Items(1), a);
  EXPECT_EQ(g->GetSurface(), Surface);
  EXPECT_EQ(nested->Owner(), old);
  EXPECT_EQ(g->GetBounds(), (TRectF{0, 0, 30, 30}));
  // The undo hooks hear the grouping around the move; the target layer and the shapes are held,
  // so of the moves only the removal from the other layer (whose owner is not held) is heard.
  // "?" is the new container.
  EXPECT_EQ(UndoEntries(),
            (Strings{"start kxacGrouping ?", "undo kxacGrouping ?", "start kxacRemoving l0", "undo kxacRemoving l0",
                     "undo kxacRemoved a", "end kxacRemoving l0", "start kxacRemoved a", "end kxacRemoved a",
                     "end kxacGrouping ?", "start kxacGrouped ?", "undo kxacGrouped ?", "end kxacGrouped ?"}));
  EXPECT_EQ(L(1)->NotifyLock(), 0);
  EXPECT_EQ(a->NotifyLock(), 0);

  // Pack holds every shape's owner, so only the packing itself is heard.
  TKxDePackage* p = Surface->Pack({c, g});
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Owner(), L(1));
  EXPECT_EQ(p->GetSurface(), Surface);
  EXPECT_EQ(p->ItemCount(), 2);
  EXPECT_EQ(UndoEntries(), (Strings{"start kxacPacking ?", "undo kxacPacking ?", "end kxacPacking ?",
                                    "start kxacPacked ?", "undo kxacPacked ?", "end kxacPacked ?"}));
  EXPECT_EQ(L(1)->NotifyLock(), 0) << "the layer, held once per shape, is free again";
}

TEST_F(SurfaceDocument, UngroupAndUnpackPutTheMembersOnTopInTheirOrder) {
  MakeLayers(1);
  TKxDePenRec pen;
  pen.Color = clRed;
  pen.Width = 1.5f;
  L(0)->ObjectsDefaultProperties()->SetPen(pen);
  L(0)->ObjectsDefaultProperties()->SetUseDefaultPen(true);
  for (bool pack : {false, true}) {
    TKxDeShape* below = NewShape(Log, L(0), "below");
    TKxDeContainer* c =
        pack ? static_cast<TKxDeContainer*>(Create<TKxDePackage>(nullptr, L(0))) : Create<TKxDeGroup>(nullptr, L(0));
    Log.Names[c] = "C";
    TKxDeShape* x = NewShape(Log, c, "x");
    TKxDeShape* y = NewShape(Log, c, "y");
    x->Pen()->SetColor(clBlue);
    auto* watch = Create<TKxDeShapeNotifier>();
    int destroyed = 0;
    watch->OnDestroy = [&](TObject*, TKxDeShapeBase*) { ++destroyed; };
    watch->RegisterShape(c);
    Log.Take();
    if (pack) Surface->Unpack(static_cast<TKxDePackage*>(c));
    else Surface->Ungroup(static_cast<TKxDeGroup*>(c));
    EXPECT_EQ(destroyed, 1);
    const int n = L(0)->ItemCount();
    EXPECT_EQ(L(0)->Items(n - 2), x);
    EXPECT_EQ(L(0)->Items(n - 1), y);
    EXPECT_EQ(L(0)->Items(n - 3), below);
    // Unpacked shapes take the layer's default styles; ungrouped ones keep their own.
    EXPECT_EQ(x->Pen()->Color(), pack ? clRed : clBlue);
    const std::string action = pack ? "kxacUnpacking" : "kxacUngrouping";
    Strings undo;
    for (const auto& e : UndoEntries())
      if (e.find(action) != std::string::npos) undo.push_back(e);
    EXPECT_EQ(undo, (Strings{"start " + action + " C", "undo " + action + " C", "end " + action + " C"}));
    EXPECT_EQ(L(0)->NotifyLock(), 0);
    EXPECT_EQ(L(0)->SkipDefaultPropertyCount(), 0);
    Free(watch);
    Log.Names.erase(c);
  }
  TKxDeGroup* loose = Create<TKxDeGroup>(nullptr, nullptr);
  Surface->Ungroup(loose);
  Surface->Ungroup(nullptr);
  Free(loose);
}

// ---- Registration and destruction -----------------------------------------------------------------

TEST_F(SurfaceDocument, DestructionOnlyChoosesTheActiveLayerAnewAndLeavesNothing) {
  MakeLayers(3);
  TKxDeContainer* c = L(1);
  for (int depth = 0; depth < 3; ++depth) c = Create<TKxDeGroup>(nullptr, c);
  TKxDeShape* deepest = NewShape(Log, c, "deepest");
  NewShape(Log, L(2), "top shape");
  auto* watch = Create<TKxDeShapeNotifier>();
  int destroyed = 0;
  watch->OnDestroy = [&](TObject*, TKxDeShapeBase*) { ++destroyed; };
  watch->RegisterShape(deepest);
  watch->RegisterShape(L(1));
  AddClients();
  Surface->SetActiveLayer(L(2));
  Surface->LogEvents();
  Log.Take();
  delete Surface;
  Surface = nullptr;
  // The active top layer goes first and hands over to the bottom one, which hands over to none.
  EXPECT_EQ(Log.Take(), (Strings{"hook active l0", "event active", "hook active none", "event active"}));
  EXPECT_EQ(destroyed, 2);
  for (TKxDeSurfaceClient* client : Clients) EXPECT_EQ(client->Sender(), nullptr);
  Free(watch);
}

}  // namespace
}  // namespace vorn::test
