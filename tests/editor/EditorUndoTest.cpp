// Undo and redo on a real editor: every kind of record replayed both ways against the whole
// document's XML, the order groups replay in, the limit, the lock, and a long random session
// undone and redone to the end.

#include "EditorFixture.h"

#include <functional>
#include <random>
#include <tuple>

namespace vorn::test {
namespace {

// Two documents' XML equal, or where they part.
::testing::AssertionResult SameXml(const std::string& Is, const std::string& Want) {
  if (Is == Want) return ::testing::AssertionSuccess();
  const size_t at =
      static_cast<size_t>(std::mismatch(Is.begin(), Is.end(), Want.begin(), Want.end()).first - Is.begin());
  const size_t from = at > 120 ? at - 120 : 0;
  return ::testing::AssertionFailure() << "the XML differs at " << at << ":\n  is   ..." << Is.substr(from, 240)
                                       << "\n  want ..." << Want.substr(from, 240);
}

class EditorUndo : public TEditorWindow<TKxDeEditor> {
 protected:
  void SetUp() override {
    RegisterVornShapes();
    TEditorWindow::SetUp();
    A = Box("A", 20, 20);
    B = Box("B", 120, 20);
    C = Box("C", 20, 140);
    L = Box<TVornLine>("L", 200, 100, 80, 40);
    T = Box<TVornText>("T", 200, 180, 80, 30);
    E.show();
    E.SetModified(false);
  }
  // Runs Act as one gesture of a host (one undo group).
  void Gesture(const std::function<void()>& Act) {
    E.BeginUndoGroup();
    Act();
    E.EndUndoGroup();
  }
  void Key(int K, Qt::KeyboardModifiers M = {}) { QTest::keyClick(&E, static_cast<Qt::Key>(K), M); }

  TVornRectangle* A = nullptr;
  TVornRectangle* B = nullptr;
  TVornRectangle* C = nullptr;
  TVornLine* L = nullptr;
  TVornText* T = nullptr;
};

TEST_F(EditorUndo, EveryRecordKindUndoesAndRedoesTheWholeDocument) {
  struct TCase {
    const char* Name;
    std::function<void()> Act;
  };
  const std::vector<TCase> cases = {
      {"property (float)", [&] { A->SetCornerRadius(3.25f); }},
      {"property (enumeration)", [&] { L->SetStartShape(TmekLineShape::mekLshArrowed); }},
      {"property (Boolean)", [&] { B->SetLocked(true); }},
      {"property (string)", [&] { C->SetName(QStringLiteral("C2")); }},
      {"brush", [&] { Gesture([&] { A->Brush()->SetColor(0x00FF00); }); }},
      {"pen", [&] { Gesture([&] { C->Pen()->SetWidth(2.5f); }); }},
      {"gradient", [&] { Gesture([&] { A->Gradient()->SetColorEnd(0x0000FF); }); }},
      {"font", [&] { Gesture([&] { T->Font()->SetColor(0x123456); }); }},
      {"drag",
       [&] {
         Click(40, 40);
         Drag(At(40, 40), At(70, 90));
       }},
      {"arrow key resize", [&] { Key(Qt::Key_Right, Qt::ShiftModifier); }},
      {"delete from the middle",
       [&] {
         E.Select(C);
         E.DeleteSelection();
       }},
      {"insert", [&] { Gesture([&] { Create<TVornRectangle>(nullptr, Layer)->SetBounds(300, 10, 20, 20); }); }},
      {"group",
       [&] {
         // The top shapes: ungrouping puts the members on top of the layer.
         const int32_t n = Layer->ItemCount();
         E.SelectList({Layer->Items(n - 2), Layer->Items(n - 1)});
         E.GroupSelection();
       }},
      {"ungroup", [&] { E.UngroupSelection(); }},
      {"pack",
       [&] {
         E.Select(Layer->Items(Layer->ItemCount() - 1));
         E.PackSelection();
       }},
      {"unpack", [&] { E.UnpackSelection(); }},
      {"send to back",
       [&] {
         E.Select(Layer->Items(Layer->ItemCount() - 1));
         E.SendToBack();
       }},
      {"bring to front",
       [&] {
         E.ClearSelection();
         E.Select(Layer->Items(0));
         E.BringToFront();
       }},
      {"bring forward",
       [&] {
         E.ClearSelection();
         for (int32_t i = Layer->ItemCount() - 2; i >= 0 && E.SelectionCount() == 0; --i) E.Select(Layer->Items(i));
         E.BringForward();
       }},
      {"send backward", [&] { E.SendBackward(); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    E.ClearUndo();
    const std::string before = Xml();
    c.Act();
    const std::string after = Xml();
    ASSERT_NE(before, after);
    ASSERT_EQ(E.UndoCount(), 1);
    for (int round = 0; round < 2; ++round) {
      E.Undo();
      EXPECT_TRUE(SameXml(Xml(), before));
      EXPECT_FALSE(E.CanUndo());
      E.Redo();
      EXPECT_TRUE(SameXml(Xml(), after));
      EXPECT_FALSE(E.CanRedo());
    }
  }
}

TEST_F(EditorUndo, GroupsReplayInsertsInOrderAndOtherRecordsNewestFirst) {
  // A paste of three shapes into a second layer: undone first to last, and back where they were.
  auto* second = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&E));
  const std::string empty = Xml();
  std::vector<uint32_t> ids;
  second->SkipDefaultProperty();
  Gesture([&] {
    for (int i = 0; i < 3; ++i) {
      auto* s = Create<TVornRectangle>(nullptr, nullptr);
      s->SetBounds(10.0f * static_cast<float>(i), 200, 10, 10);
      second->InsertShape(s);
      ids.push_back(s->ID());
    }
  });
  const std::string three = Xml();
  E.Undo();
  EXPECT_TRUE(SameXml(Xml(), empty));
  std::vector<uint32_t> order;
  for (TXmlNode r : E.RedoBuffer().last_child().children()) order.push_back(r.attribute("ID").as_uint());
  EXPECT_EQ(order, ids);
  E.Redo();
  EXPECT_TRUE(SameXml(Xml(), three));
  // Deleted from there, the middle one comes back with its identity, owner and selection.
  TKxDeShapeBase* d = second->Items(1);
  E.Select(d);
  E.DeleteSelection();
  E.Undo();
  ASSERT_EQ(second->ItemCount(), 3);
  EXPECT_EQ(second->Items(1)->ID(), ids[1]);
  EXPECT_TRUE(E.IsSelected(second->Items(1)));
  EXPECT_TRUE(SameXml(Xml(), three));
  // A move and a resize of one shape in one group: only newest first gives the shape back.
  Gesture([&] {
    E.Select(A);
    E.MoveSelection(TPointF{15, 5});
    Key(Qt::Key_Down, Qt::ShiftModifier);
  });
  EXPECT_EQ(E.UndoBuffer().last_child().last_child().attribute("Action").as_int(),
            static_cast<int>(TKxDeAction::kxacSizing));
  E.Undo();
  EXPECT_TRUE(SameXml(Xml(), three));
}

TEST_F(EditorUndo, UndoLimitKeepsTheNewestEntries) {
  for (const auto& [limit, stored, kept] : {std::tuple{3, 3, 3}, {0, 0, 0}, {-1, -1, 5}, {-7, -1, 5}}) {
    SCOPED_TRACE(limit);
    E.SetUndoLimit(-1);
    E.SetModified(false);
    E.SetUndoLimit(limit);
    EXPECT_EQ(E.UndoLimit(), stored);
    std::vector<std::string> states{Xml()};
    for (int i = 1; i <= 5; ++i) {
      A->SetCornerRadius(static_cast<float>(i));
      states.push_back(Xml());
    }
    EXPECT_TRUE(E.Modified());
    EXPECT_EQ(E.UndoCount(), kept);
    while (E.CanUndo()) E.Undo();
    EXPECT_TRUE(SameXml(Xml(), states[static_cast<size_t>(5 - kept)]));
    // Lowering the limit trims what is there, the oldest first.
    E.SetUndoLimit(std::min(kept, 1));
    EXPECT_EQ(E.RedoCount(), std::min(kept, 1));
  }
}

TEST_F(EditorUndo, FreshChangesLockGroupsAndActions) {
  TKxDeEditorActions actions(&E);
  int changes = 0;
  E.OnChange = [&](TObject*) { ++changes; };
  A->SetCornerRadius(2);
  A->SetCornerRadius(4);
  EXPECT_GT(changes, 0);
  actions.UndoAction()->trigger();
  EXPECT_EQ(A->CornerRadius(), 2);
  EXPECT_TRUE(actions.RedoAction()->isEnabled());
  B->SetCornerRadius(1);  // a fresh change: nothing to redo any more
  EXPECT_FALSE(actions.RedoAction()->isEnabled());
  EXPECT_EQ(E.UndoCount(), 2);
  E.SetModified(false);
  EXPECT_FALSE(actions.UndoAction()->isEnabled());
  // While locked, a move is not recorded (its gesture leaves an empty entry).
  E.Select(A);
  E.BeginUndoLock();
  E.MoveSelection(TPointF{5, 5});
  E.EndUndoLock();
  E.EndUndoLock();
  EXPECT_FALSE(E.UndoBuffer().first_child().first_child());
  // Two opened, one closed: still one entry; the second close ends it, a third does no harm.
  E.SetModified(false);
  E.BeginUndoGroup();
  E.BeginUndoGroup();
  A->SetCornerRadius(1);
  E.EndUndoGroup();
  B->SetCornerRadius(2);
  E.EndUndoGroup();
  E.EndUndoGroup();
  C->SetCornerRadius(3);
  EXPECT_EQ(E.UndoCount(), 2);
  // Taking the option away empties the histories and records nothing more.
  E.SetEditOptions(E.EditOptions() - TKxDeEditOptions{TKxDeEditOption::kxdoCanUndo});
  A->SetCornerRadius(10);
  EXPECT_EQ(E.UndoCount(), 0);
}

TEST_F(EditorUndo, OneInspectorEditIsOneEntry) {
  TMObjectInspector inspector;
  inspector.SetObject(A->Brush());
  ASSERT_TRUE(inspector.SetPropertyValue(QStringLiteral("Color"), QStringLiteral("255")));
  EXPECT_EQ(E.UndoCount(), 1);
  E.Undo();
  EXPECT_EQ(A->Brush()->Color(), 0xE0E0E0);
}

// Guides are not part of the history: undoing the gestures around them leaves them be.
TEST_F(EditorUndo, GuidesOutliveTheUndoOfShapeGestures) {
  E.Guides()->Add()->SetPosition(75);
  E.Select(A);
  Key(Qt::Key_Right);  // a nudge: one recorded gesture
  ASSERT_GT(A->GetBounds().Left, 20);
  E.Undo();
  EXPECT_EQ(A->GetBounds().Left, 20);
  ASSERT_EQ(E.Guides()->GetCount(), 1);
  EXPECT_EQ(E.Guides()->GetItem(0)->Position(), 75);
}

// A few hundred random gestures and edits, then everything undone and redone.
TEST_F(EditorUndo, RandomSessionUndoesToTheStartAndRedoesToTheEnd) {
  std::mt19937 rng(20261206);
  auto pick = [&](int N) { return std::uniform_int_distribution<int>(0, N - 1)(rng); };
  auto any = [&]() -> TKxDeShapeBase* { return Layer->ItemCount() ? Layer->Items(pick(Layer->ItemCount())) : nullptr; };
  auto rect = [&] { return dynamic_cast<TVornRectangle*>(any()); };
  auto top = [&](int I) { return Layer->Items(Layer->ItemCount() - 1 - I); };
  for (int i = 0; i < 6; ++i) Box("R", 30.0f * static_cast<float>(i), 60, 20, 20);
  E.SetModified(false);
  const std::string start = Xml();
  const std::vector<std::function<void()>> steps = {
      [&] {
        E.Select(any()), E.MoveSelection(TPointF{static_cast<float>(pick(21) - 10), static_cast<float>(pick(9))});
      },
      [&] {
        E.Select(any()), Key(pick(2) ? Qt::Key_Left : Qt::Key_Down, pick(2) ? Qt::ShiftModifier : Qt::NoModifier);
      },
      [&] {
        if (auto* r = rect()) r->SetCornerRadius(static_cast<float>(pick(8)));
      },
      [&] {
        if (auto* r = rect()) Gesture([&] { r->Brush()->SetColor(pick(0xFFFFFF)); });
      },
      [&] {
        if (auto* r = rect()) Gesture([&] { r->Pen()->SetWidth(0.5f * static_cast<float>(pick(6))); });
      },
      [&] {
        if (auto* s = any()) s->SetName(QStringLiteral("N%1").arg(pick(100)));
      },
      [&] { Gesture([&] { Box("R", static_cast<float>(pick(300)), static_cast<float>(pick(200)), 15, 15); }); },
      [&] {
        E.ClearSelection();
        for (int k = pick(3); k >= 0; --k) E.AddSelection(any());
        E.DeleteSelection();
      },
      [&] { E.Select(any()), pick(2) ? E.BringForward() : E.SendBackward(); },
      // Grouping and ungrouping on top of the layer, where they give back the same order.
      [&] {
        if (Layer->ItemCount() > 2) E.SelectList({top(1), top(0)}), E.GroupSelection();
      },
      [&] {
        if (Layer->ItemCount() > 0) E.Select(top(0)), E.UngroupSelection();
      },
  };
  for (int i = 0; i < 300; ++i) steps[static_cast<size_t>(pick(static_cast<int>(steps.size())))]();
  const std::string end = Xml();
  const int32_t entries = E.UndoCount();
  while (E.CanUndo()) E.Undo();
  EXPECT_TRUE(SameXml(Xml(), start));
  EXPECT_EQ(E.RedoCount(), entries);
  while (E.CanRedo()) E.Redo();
  EXPECT_TRUE(SameXml(Xml(), end));
}

}  // namespace
}  // namespace vorn::test
