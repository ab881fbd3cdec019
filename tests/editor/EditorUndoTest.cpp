// Undo and redo on a real editor: every kind of record replayed both ways against the whole
// document's XML, the order groups replay in, the limit, the lock, and a long random session
// undone and redone to the end.

#include <vorn/editor/KxDeEditorActions.h>
#include <vorn/inspector/MObjectInspector.h>
#include <vorn/model/KxDeDocument.h>
#include <vorn/model/KxDeGroup.h>
#include <vorn/model/KxDePackage.h>
#include <vorn/model/KxDeShapeFont.h>
#include <vorn/model/KxDeShapeGradient.h>

#include "EditorFixture.h"

#include <functional>
#include <random>

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
  // The whole document as XML text.
  std::string Xml() const {
    TXmlDocument d;
    TKxDeDocumentFile::SaveLayersToXML(d, E.LayersList());
    return XmlToText(d, false).toStdString();
  }
  // Runs Act as one gesture of a host (one undo group).
  void Gesture(const std::function<void()>& Act) {
    E.BeginUndoGroup();
    Act();
    E.EndUndoGroup();
  }
  void Key(int K, Qt::KeyboardModifiers M = {}) { QTest::keyClick(&E, static_cast<Qt::Key>(K), M); }
  // The action attribute of each record of the newest entry of a history, in document order.
  static std::vector<int> Actions(TXmlNode Buffer) {
    std::vector<int> out;
    for (TXmlNode r : Buffer.last_child().children()) out.push_back(r.attribute("Action").as_int());
    return out;
  }

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
  // A paste of three shapes: the insertions are undone first to last, and come back where they were.
  const std::string empty = Xml();
  std::vector<TKxDeShapeBase*> pasted;
  for (int i = 0; i < 3; ++i) {
    pasted.push_back(Create<TVornRectangle>(nullptr, nullptr));
    pasted.back()->SetBounds(10.0f * static_cast<float>(i), 200, 10, 10);
  }
  // Inserted as a paste does, without the layer's default styles.
  Layer->SkipDefaultProperty();
  Gesture([&] {
    for (TKxDeShapeBase* s : pasted) Layer->InsertShape(s);
  });
  Layer->UnskipDefaultProperty();
  std::vector<uint32_t> ids;
  for (TKxDeShapeBase* s : pasted) ids.push_back(s->ID());
  const std::string three = Xml();
  E.Undo();
  EXPECT_TRUE(SameXml(Xml(), empty));
  std::vector<uint32_t> order;
  for (TXmlNode r : E.RedoBuffer().last_child().children()) order.push_back(r.attribute("ID").as_uint());
  EXPECT_EQ(order, ids);
  E.Redo();
  EXPECT_TRUE(SameXml(Xml(), three));

  // A move and a resize of one shape in one group: only newest first gives the shape back.
  const std::string still = Xml();
  Gesture([&] {
    E.Select(A);
    E.MoveSelection(TPointF{15, 5});
    Key(Qt::Key_Down, Qt::ShiftModifier);
  });
  EXPECT_EQ(Actions(E.UndoBuffer()),
            (std::vector<int>{static_cast<int>(TKxDeAction::kxacSizing), static_cast<int>(TKxDeAction::kxacSizing)}));
  E.Undo();
  EXPECT_TRUE(SameXml(Xml(), still));
}

TEST_F(EditorUndo, ADeletedShapeComesBackWithItsIdentityOwnerAndSelection) {
  auto* second = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&E));
  auto* d = Create<TVornRectangle>(nullptr, second);
  d->SetBounds(50, 50, 30, 30);
  const uint32_t id = d->ID();
  E.Select(d);
  E.ClearUndo();
  E.DeleteSelection();
  EXPECT_EQ(second->ItemCount(), 0);
  E.Undo();
  ASSERT_EQ(second->ItemCount(), 1);
  TKxDeShapeBase* back = second->Items(0);
  EXPECT_EQ(back->ID(), id);
  EXPECT_EQ(back->Owner(), second);
  EXPECT_TRUE(E.IsSelected(back));
  E.Redo();
  EXPECT_EQ(second->ItemCount(), 0);
  EXPECT_EQ(E.SelectionCount(), 0);
}

TEST_F(EditorUndo, UndoLimitKeepsTheNewestEntries) {
  struct TCase {
    int32_t Limit;
    int32_t Stored;
    int32_t Kept;
  };
  for (const TCase c : {TCase{3, 3, 3}, TCase{0, 0, 0}, TCase{-1, -1, 5}, TCase{-7, -1, 5}}) {
    SCOPED_TRACE(c.Limit);
    E.SetUndoLimit(-1);
    E.SetModified(false);
    E.SetUndoLimit(c.Limit);
    EXPECT_EQ(E.UndoLimit(), c.Stored);
    std::vector<std::string> states{Xml()};
    for (int i = 1; i <= 5; ++i) {
      A->SetCornerRadius(static_cast<float>(i));
      states.push_back(Xml());
    }
    EXPECT_TRUE(E.Modified());
    EXPECT_EQ(E.UndoCount(), c.Kept);
    while (E.CanUndo()) E.Undo();
    EXPECT_EQ(Xml(), states[static_cast<size_t>(5 - c.Kept)]);
    EXPECT_EQ(E.RedoCount(), c.Kept);
    // Lowering the limit trims what is there, the oldest first.
    E.SetUndoLimit(std::min(c.Kept, 1));
    EXPECT_EQ(E.RedoCount(), std::min(c.Kept, 1));
  }
}

TEST_F(EditorUndo, AFreshChangeClearsRedoAndModifiedFollowsTheHistory) {
  int changes = 0;
  E.OnChange = [&](TObject*) { ++changes; };
  A->SetCornerRadius(2);
  A->SetCornerRadius(4);
  EXPECT_TRUE(E.Modified());
  EXPECT_GT(changes, 0);
  E.Undo();
  EXPECT_TRUE(E.CanRedo());
  B->SetCornerRadius(1);
  EXPECT_FALSE(E.CanRedo());
  EXPECT_EQ(E.UndoCount(), 2);
  E.SetModified(false);
  EXPECT_FALSE(E.CanUndo());
  // Without the option nothing is recorded, and taking it away empties the histories.
  A->SetCornerRadius(9);
  E.SetEditOptions(E.EditOptions() - TKxDeEditOptions{TKxDeEditOption::kxdoCanUndo});
  EXPECT_EQ(E.UndoCount(), 0);
  A->SetCornerRadius(10);
  EXPECT_EQ(E.UndoCount(), 0);
}

TEST_F(EditorUndo, LockAndNestedGroups) {
  E.Select(A);
  E.BeginUndoLock();
  E.MoveSelection(TPointF{5, 5});
  Key(Qt::Key_Right);
  E.EndUndoLock();
  E.EndUndoLock();  // an extra one does no harm
  int records = 0;
  for (TXmlNode entry : E.UndoBuffer().children())
    records += entry.name() == std::string("undo")
                   ? 1
                   : static_cast<int>(std::distance(entry.children().begin(), entry.children().end()));
  EXPECT_EQ(records, 0);
  E.SetModified(false);
  // Two opened, one closed: still the same entry; the second close ends it, a third is harmless.
  E.BeginUndoGroup();
  E.BeginUndoGroup();
  A->SetCornerRadius(1);
  E.EndUndoGroup();
  B->SetCornerRadius(1);
  E.EndUndoGroup();
  E.EndUndoGroup();
  C->SetCornerRadius(1);
  EXPECT_EQ(E.UndoCount(), 2);
  EXPECT_EQ(
      std::distance(E.UndoBuffer().first_child().children().begin(), E.UndoBuffer().first_child().children().end()), 2);
}

TEST_F(EditorUndo, ActionsFollowCanUndoAndCanRedo) {
  TKxDeEditorActions actions(&E);
  EXPECT_FALSE(actions.UndoAction()->isEnabled());
  A->SetCornerRadius(5);
  EXPECT_TRUE(actions.UndoAction()->isEnabled());
  actions.UndoAction()->trigger();
  EXPECT_EQ(A->CornerRadius(), 0);
  EXPECT_FALSE(actions.UndoAction()->isEnabled());
  EXPECT_TRUE(actions.RedoAction()->isEnabled());
  actions.RedoAction()->trigger();
  EXPECT_EQ(A->CornerRadius(), 5);
}

TEST_F(EditorUndo, OneInspectorEditIsOneEntry) {
  TMObjectInspector inspector;
  inspector.SetObject(A->Brush());
  ASSERT_TRUE(inspector.SetPropertyValue(QStringLiteral("Color"), QStringLiteral("255")));
  ASSERT_NE(A->Brush()->Color(), 0xE0E0E0);
  EXPECT_EQ(E.UndoCount(), 1);
  E.Undo();
  EXPECT_EQ(A->Brush()->Color(), 0xE0E0E0);
}

// A few hundred random gestures and edits, then everything undone and redone.
TEST_F(EditorUndo, RandomSessionUndoesToTheStartAndRedoesToTheEnd) {
  std::mt19937 rng(20261206);
  auto pick = [&](int N) { return std::uniform_int_distribution<int>(0, N - 1)(rng); };
  auto any = [&]() -> TKxDeShapeBase* { return Layer->ItemCount() ? Layer->Items(pick(Layer->ItemCount())) : nullptr; };
  auto rect = [&]() -> TVornRectangle* { return dynamic_cast<TVornRectangle*>(any()); };
  for (int i = 0; i < 6; ++i) Box("R", 30.0f * i, 60, 20, 20);
  E.SetModified(false);
  const std::string start = Xml();
  const std::vector<std::function<void()>> steps = {
      [&] {
        if (TKxDeShapeBase* s = any()) {
          E.Select(s);
          E.MoveSelection(TPointF{static_cast<float>(pick(21) - 10), static_cast<float>(pick(21) - 10)});
        }
      },
      [&] {
        if (TKxDeShapeBase* s = any()) {
          E.Select(s);
          Key(pick(2) ? Qt::Key_Left : Qt::Key_Down, pick(2) ? Qt::ShiftModifier : Qt::NoModifier);
        }
      },
      [&] {
        if (TVornRectangle* r = rect()) r->SetCornerRadius(static_cast<float>(pick(8)));
      },
      [&] {
        if (TVornRectangle* r = rect()) Gesture([&] { r->Brush()->SetColor(pick(0xFFFFFF)); });
      },
      [&] {
        if (TVornRectangle* r = rect()) Gesture([&] { r->Pen()->SetWidth(0.5f * static_cast<float>(pick(6))); });
      },
      [&] {
        if (TKxDeShapeBase* s = any()) s->SetName(QStringLiteral("N%1").arg(pick(100)));
      },
      [&] { Gesture([&] { Box("R", static_cast<float>(pick(300)), static_cast<float>(pick(200)), 15, 15); }); },
      [&] {
        if (Layer->ItemCount() > 3) {
          E.Select(any());
          E.DeleteSelection();
        }
      },
      [&] {
        // Several at once, in random order.
        E.ClearSelection();
        for (int k = 0; k < 3; ++k) E.AddSelection(any());
        E.DeleteSelection();
      },
      [&] {
        if (TKxDeShapeBase* s = any()) {
          E.Select(s);
          pick(2) ? E.BringForward() : E.SendBackward();
        }
      },
      [&] {
        // Grouping and ungrouping on top of the layer, where they give back the same order.
        if (Layer->ItemCount() < 3) return;
        const int n = Layer->ItemCount();
        E.SelectList({Layer->Items(n - 2), Layer->Items(n - 1)});
        E.GroupSelection();
      },
      [&] {
        if (auto* g = dynamic_cast<TKxDeGroup*>(Layer->ItemCount() ? Layer->Items(Layer->ItemCount() - 1) : nullptr)) {
          E.Select(g);
          E.UngroupSelection();
        }
      },
  };
  for (int i = 0; i < 300; ++i) steps[static_cast<size_t>(pick(static_cast<int>(steps.size())))]();
  const std::string end = Xml();
  ASSERT_NE(start, end);
  const int32_t entries = E.UndoCount();
  while (E.CanUndo()) E.Undo();
  EXPECT_TRUE(SameXml(Xml(), start));
  EXPECT_EQ(E.RedoCount(), entries);
  while (E.CanRedo()) E.Redo();
  EXPECT_TRUE(SameXml(Xml(), end));
}

}  // namespace
}  // namespace vorn::test
