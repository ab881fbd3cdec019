// Editor clients hear the editor's own announcements after its hook and before its event, in
// registration order; plain surface clients hear none of them.

#include "EditorFixture.h"

#include <functional>

namespace vorn::test {
namespace {

using Log = std::vector<std::string>;

// An editor whose hooks write to the log, and which lets a test make its announcements.
class TLoggingEditor : public TKxDeEditor {
 public:
  Log* Out = nullptr;
  void DoSelectionChanged() override { Out->push_back("hook selection"); }
  void DoEditStateChanged() override { Out->push_back("hook state"); }
  using TKxDeCustomEditor::ClientsEndNewShape;
  using TKxDeCustomEditor::ClientsNewShape;
  using TKxDeCustomEditor::ClientsNewShapeClass;
  using TKxDeCustomEditor::DoClipboardChanged;
  using TKxDeCustomEditor::DoDefBrushChanged;
  using TKxDeCustomEditor::DoDefFontChanged;
  using TKxDeCustomEditor::DoDefPenChanged;
  using TKxDeCustomEditor::DoGuideChanged;
};

// The log outlives the editor that writes to it.
struct TLogFirst {
  Log Out;
};

class EditorClients : public TLogFirst, public TEditorWindow<TLoggingEditor> {
 protected:
  void SetUp() override {
    E.Out = &Out;
    TEditorWindow::SetUp();
    A = Box("A", 20, 20);
    B = Box("B", 120, 20);
    E.show();
    First = Client("c1");
    Second = Client("c2");
    // A plain surface client is told of document changes only.
    Plain.reset(Create<TKxDeSurfaceClient>(&E));
    Plain->OnReorderShape = [this](TObject*, TKxDeLayer*, intptr_t, intptr_t) { Out.push_back("plain reorder"); };
    E.OnSelectionChange = [this](TObject* S) { Event("selection", S); };
    E.OnEditStateChange = [this](TObject* S) { Event("state", S); };
    E.OnOrientIconClick = [this](TObject* S) { Event("orient", S); };
    E.OnDefBrushChange = [this](TObject* S) { Event("brush", S); };
    E.OnDefPenChange = [this](TObject* S) { Event("pen", S); };
    E.OnDefFontChange = [this](TObject* S) { Event("font", S); };
    E.OnClipboardChange = [this](TObject* S) { Event("clipboard", S); };
    E.OnGuideChange = [this](TObject* S) { Event("guide", S); };
  }
  void Event(const char* What, TObject* Sender) {
    Out.push_back(std::string("event ") + What + (Sender == static_cast<TObject*>(&E) ? "" : " (wrong sender)"));
  }
  // A client whose every event writes "Name what" to the log, checking its sender.
  TOwned<TKxDeEditorClient> Client(const std::string& Name) {
    TOwned<TKxDeEditorClient> c(Create<TKxDeEditorClient>(&E));
    auto note = [this, Name](const char* What) {
      return [this, Name, What](TObject* S) {
        Out.push_back(Name + " " + What + (S == static_cast<TObject*>(&E) ? "" : " (wrong sender)"));
      };
    };
    auto noteShape = [this, Name](const char* What) {
      return [this, Name, What](TObject*, TKxDeShapeBase* S) {
        Out.push_back(Name + " " + What + (S == A ? " A" : " ?"));
      };
    };
    c->OnSelectionChange = note("selection");
    c->OnEditStateChange = note("state");
    c->OnOrientChange = note("orient");
    c->OnDefBrushChange = note("brush");
    c->OnDefPenChange = note("pen");
    c->OnDefFontChange = note("font");
    c->OnClipboardChange = note("clipboard");
    c->OnGuideChange = note("guide");
    c->OnNewShapeClass = note("class");
    c->OnNewShape = noteShape("new");
    c->OnEndNewShape = noteShape("end");
    c->OnReorderShape = [this, Name](TObject*, TKxDeLayer*, intptr_t From, intptr_t To) {
      Out.push_back(Name + " reorder " + std::to_string(From) + ">" + std::to_string(To));
    };
    c->OnShapeReordered = [this, Name](TObject*, TKxDeLayer*, intptr_t, intptr_t) { Out.push_back(Name + " reordered"); };
    return c;
  }
  // What one kind of announcement writes: the hook (if any), both clients, the event.
  static Log Expected(const std::string& What, bool Hook, bool Event = true) {
    Log l;
    if (Hook) l.push_back("hook " + What);
    l.push_back("c1 " + What);
    l.push_back("c2 " + What);
    if (Event) l.push_back("event " + What);
    return l;
  }
  static Log Join(std::initializer_list<Log> Logs) {
    Log all;
    for (const Log& p : Logs) all.insert(all.end(), p.begin(), p.end());
    return all;
  }

  TOwned<TKxDeEditorClient> First, Second;
  TOwned<TKxDeSurfaceClient> Plain;
};

TEST_F(EditorClients, AClickIsHeardByHookClientsAndEventInThatOrder) {
  // Pressing on A selects it and starts a move; releasing in place ends the move.
  QTest::mousePress(&E, Qt::LeftButton, {}, At(40, 40));
  EXPECT_EQ(Out, Join({Expected("selection", true), Expected("state", true)}));
  Out.clear();
  QTest::mouseRelease(&E, Qt::LeftButton, {}, At(40, 40));
  EXPECT_EQ(Out, Expected("state", true));
  EXPECT_EQ(E.EditState(), kxesNone);

  // A client that is gone hears nothing more; the other still does.
  First.reset();
  Out.clear();
  QTest::keyClick(&E, Qt::Key_Escape);  // clears the selection
  EXPECT_EQ(Out, (Log{"hook selection", "c2 selection", "event selection"}));
}

TEST_F(EditorClients, EveryAnnouncementReachesTheClientsBeforeTheEvent) {
  struct Case {
    const char* Name;
    std::function<void()> Make;
    Log Heard;
  };
  const Case cases[] = {
      {"orientation", [this] { E.ExecuteOrientIconAction(kxesOrientIcon, {}, {}, {}); },
       Log{"c1 orient", "c2 orient", "event orient"}},
      {"brush", [this] { E.DoDefBrushChanged(); }, Expected("brush", false)},
      {"pen", [this] { E.DoDefPenChanged(); }, Expected("pen", false)},
      {"font", [this] { E.DoDefFontChanged(); }, Expected("font", false)},
      {"clipboard", [this] { E.DoClipboardChanged(); }, Expected("clipboard", false)},
      {"guide", [this] { E.DoGuideChanged(); }, Expected("guide", false)},
      // The creation announcements tell the clients; their events are raised by the creation.
      {"class", [this] { E.ClientsNewShapeClass(); }, Expected("class", false, false)},
      {"new", [this] { E.ClientsNewShape(A); }, Log{"c1 new A", "c2 new A"}},
      {"end", [this] { E.ClientsEndNewShape(A); }, Log{"c1 end A", "c2 end A"}},
      // A z-order change: each editor client's surface event, then its own; the plain client's.
      {"reorder", [this] { Layer->BringToFront(A); },
       Log{"c1 reorder 0>1", "c1 reordered", "c2 reorder 0>1", "c2 reordered", "plain reorder"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Out.clear();
    c.Make();
    EXPECT_EQ(Out, c.Heard);
  }
  // The orientation turned over once; setting it to what it is announces nothing.
  EXPECT_EQ(E.EditorOrientation(), TKxDeEditorOrient::kxedtDesOrientLandscape);
  Out.clear();
  E.SetEditorOrientation(TKxDeEditorOrient::kxedtDesOrientLandscape);
  EXPECT_TRUE(Out.empty());
}

}  // namespace
}  // namespace vorn::test
