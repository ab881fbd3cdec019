// Tools in the editor: the knife's line as the user drags it, how a tool is attached and let go
// of, and that a tool which raises does not take the editor down.

#include "EditorFixture.h"

#include <memory>
#include <stdexcept>

namespace vorn::test {
namespace {

// Counts its actions; raises from Process when told to.
class TCountingKnife : public TKxDeKnifeTool {
 public:
  using TKxDeKnifeTool::TKxDeKnifeTool;
  int Processed = 0;
  bool Fail = false;
  void Process() override {
    if (Fail) throw std::runtime_error("knife");
    ++Processed;
  }
};

TEST(EditorKnife, KeepsTheFirstAndTheLatestPointAndAnnouncesChangesOnce) {
  TOwned<TKxDeKnifeTool> knife(Create<TKxDeKnifeTool>());
  int changes = 0;
  knife->OnChange = [&changes](TObject*) { ++changes; };
  knife->Add(TPointF{1, 1});
  knife->Add(TPointF{2, 2});
  knife->Add(TPointF{3, 3});
  EXPECT_EQ(changes, 3);
  // Unchanged points and an update without changes announce nothing; changes inside an update
  // are announced once when the outermost one ends.
  knife->SetPoint(1, TPointF{3, 3});
  knife->BeginUpdate();
  knife->EndUpdate();
  EXPECT_EQ(changes, 3);
  knife->BeginUpdate();
  knife->BeginUpdate();
  knife->Delete(0);
  knife->Add(TPointF{5, 5});
  knife->EndUpdate();
  EXPECT_EQ(changes, 3);
  knife->EndUpdate();
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(knife->GetCount(), 2);
  // Another tool takes the points over.
  TOwned<TKxDeKnifeTool> copy(Create<TKxDeKnifeTool>());
  copy->Assign(knife.get());
  EXPECT_EQ(copy->GetPoint(1), (TPointF{5, 5}));
}

class EditorTool : public TEditorWindow<TKxDeEditor> {
 protected:
  void SetUp() override {
    TEditorWindow::SetUp();
    Shape = Box("S", 40, 40, 80, 60);
    E.show();
  }

  TKxDeShapeBase* Shape = nullptr;
};

TEST_F(EditorTool, KnifeFollowsTheDragAndLeavesTheDocumentAlone) {
  TOwned<TCountingKnife> knife(Create<TCountingKnife>(&E));
  ASSERT_EQ(E.CurrentTool(), knife.get());
  EXPECT_EQ(E.EditState(), kxesToolEdit);
  E.MoveSize()->SetLineStyle(TPenStyle::psSolid);
  const QImage before = Grab("knife-before");

  // The line runs from the press to wherever the pointer is, across the shape.
  Hold(At(20, 70), At(300, 70), {}, 3);
  ASSERT_EQ(knife->GetCount(), 2);
  EXPECT_EQ(knife->GetPoint(0), (TPointF{20, 70}));
  EXPECT_EQ(knife->GetPoint(1), (TPointF{300, 70}));
  const QImage during = Grab("knife-line");
  const QColor magenta(0xFF, 0x00, 0xFF);
  for (float x : {30.f, 80.f, 200.f, 290.f}) EXPECT_EQ(Pixel(during, At(x, 70)), magenta) << x;
  EXPECT_NE(Pixel(during, At(310, 70)), magenta);
  EXPECT_NE(Pixel(during, At(80, 75)), magenta);
  QTest::mouseRelease(&E, Qt::LeftButton, {}, At(300, 70));
  EXPECT_EQ(knife->Processed, 1);

  // The state is sticky and nothing else happened: no selection, no move, no hot shape.
  EXPECT_EQ(E.EditState(), kxesToolEdit);
  EXPECT_EQ(E.SelectionCount(), 0);
  EXPECT_EQ(Shape->GetBounds(), (TRectF{40, 40, 120, 100}));

  // The next gesture lays a new line.
  Drag(At(100, 10), At(100, 200), {}, 1);
  EXPECT_EQ(knife->GetPoint(0), (TPointF{100, 10}));
  EXPECT_EQ(knife->GetPoint(1), (TPointF{100, 200}));
  EXPECT_EQ(knife->Processed, 2);

  // Escape lets go of the tool; the line is gone from the screen.
  QTest::keyClick(&E, Qt::Key_Escape);
  EXPECT_EQ(E.EditState(), kxesNone);
  EXPECT_EQ(E.CurrentTool(), nullptr);
  EXPECT_EQ(knife->Editor(), nullptr);
  EXPECT_EQ(Grab("knife-after"), before);
}

TEST_F(EditorTool, ToolsAreAttachedToOneEditorAtATimeAndOutliveOrPrecedeIt) {
  auto other = std::make_unique<TKxDeEditor>();
  TOwned<TCountingKnife> knife(Create<TCountingKnife>());
  int changes = 0;
  knife->OnChange = [&changes](TObject*) { ++changes; };
  knife->Add(TPointF{1, 1});
  changes = 0;
  // Attaching clears the points with one announcement.
  E.SetCurrentTool(knife.get());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(knife->GetCount(), 0);
  EXPECT_EQ(knife->Editor(), &E);
  // Moving to another editor leaves the first.
  other->SetCurrentTool(knife.get());
  EXPECT_EQ(E.CurrentTool(), nullptr);
  EXPECT_EQ(E.EditState(), kxesNone);
  EXPECT_EQ(other->EditState(), kxesToolEdit);
  // An editor that goes first lets go of the tool.
  other.reset();
  EXPECT_EQ(knife->Editor(), nullptr);
  // A tool that goes first leaves the editor.
  E.SetCurrentTool(knife.get());
  knife.reset();
  EXPECT_EQ(E.CurrentTool(), nullptr);
  EXPECT_EQ(E.EditState(), kxesNone);
  // Detaching with no tool attached still ends kxesToolEdit.
  E.SetEditState(kxesToolEdit);
  E.SetCurrentTool(nullptr);
  EXPECT_EQ(E.EditState(), kxesNone);
}

TEST_F(EditorTool, AToolThatRaisesLosesItsGestureNotTheEditor) {
  TOwned<TCountingKnife> knife(Create<TCountingKnife>(&E));
  knife->Fail = true;
  Drag(At(20, 20), At(60, 60));
  EXPECT_EQ(E.EditState(), kxesToolEdit);
  knife->Fail = false;
  Drag(At(30, 30), At(90, 90));
  EXPECT_EQ(knife->Processed, 1);
  EXPECT_EQ(knife->GetPoint(0), (TPointF{30, 30}));
}

}  // namespace
}  // namespace vorn::test
