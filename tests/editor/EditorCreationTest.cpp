// Drawing new shapes with the mouse, the commands on the selection (delete, z-order, grouping)
// and the editor's commands as actions, driven through a real editor as a user would.

#include "EditorFixture.h"

#include <QApplication>

#include <sstream>

namespace vorn::test {
namespace {

// A rectangle whose pen width is its own business.
class TOwnWidthRectangle : public TVornRectangle {
 public:
  TOwnWidthRectangle(TKxDeSurface* S, TKxDeContainer* O) : TVornRectangle(S, O) {
    SetShapeStyle(ShapeStyle() + TKxDeShapeStyle::kxssNoPenWidth);
  }
};

class EditorCreation : public TEditorWindow<> {
 public:
  void SetUp() override {
    TEditorWindow::SetUp();
    PlaceThreeBoxes();
    // Points land where the pointer is; the editor's default styles are not overridden by the
    // layer's own.
    E.SetEditOptions(E.EditOptions() - TKxDeEditOption::kxdoSnapToGrid);
    Layer->ObjectsDefaultProperties()->SetUseDefaultPen(false);
    Layer->ObjectsDefaultProperties()->SetUseDefaultBrush(false);
    E.show();
    E.setFocus();
    E.Undo.clear();
  }
  void Press(float X, float Y) { QTest::mousePress(&E, Qt::LeftButton, {}, At(X, Y)); }
  void Release(float X, float Y) { QTest::mouseRelease(&E, Qt::LeftButton, {}, At(X, Y)); }
  void Move(float X, float Y) { QTest::mouseMove(&E, At(X, Y)); }
  static std::vector<TPointF> PointsOf(const TKxDeShapeBase* S) {
    std::vector<TPointF> out;
    for (int32_t i = 0; i < S->PointCount(); ++i) out.push_back(S->PointValue(i));
    return out;
  }
  // The undo brackets and the announcements of one action, in order.
  Strings Recorded(const std::string& Action) const {
    Strings out;
    for (const std::string& l : E.Undo)
      if (l == "begin" || l == "end" || l.rfind(Action + " ", 0) == 0) out.push_back(l);
    return out;
  }
  TKxDeShapeBase* Last() const { return Layer->Items(Layer->ItemCount() - 1); }

  // The play steps drive the fixture's mouse helpers.
  using TEditorWindow::At;
  using TEditorWindow::Click;
  using TEditorWindow::E;
};

// ---- Creation --------------------------------------------------------------------------------------

// A gesture as a string of steps: p press, r release, c click, m move, d double click, R right click.
struct TGestureCase {
  const char* Name;
  TKxDeShapeClass Class;
  const char* Steps;
  std::vector<TPointF> Points;  // the finished shape's points
};

void Play(EditorCreation& T, const char* Steps) {
  std::istringstream in(Steps);
  char op = 0;
  float x = 0, y = 0;
  while (in >> op >> x >> y) {
    if (op == 'p') T.Press(x, y);
    else if (op == 'r') T.Release(x, y);
    else if (op == 'c') T.Click(x, y);
    else if (op == 'm') T.Move(x, y);
    else if (op == 'R') T.Click(x, y, {}, Qt::RightButton);
    else if (op == 'd') QTest::mouseDClick(&T.E, Qt::LeftButton, {}, T.At(x, y));
  }
}

class EditorCreationGesture : public EditorCreation, public ::testing::WithParamInterface<TGestureCase> {};

TEST_P(EditorCreationGesture, AddsOneShapeOfTheClassToTheActiveLayerWithTheDefaultStyles) {
  const TGestureCase& c = GetParam();
  E.DefaultPen()->SetWidth(3);
  E.DefaultPen()->SetColor(0x0000FF);
  E.DefaultBrush()->SetColor(0x00FF00);
  Strings events;
  E.OnNewShape = [&](TObject*, TKxDeShapeBase*) { events.push_back("new"); };
  E.OnEndNewShape = [&](TObject*, TKxDeShapeBase*&) { events.push_back("end"); };
  E.SetNewShapeClass(c.Class);
  E.Undo.clear();
  Play(*this, c.Steps);
  ASSERT_EQ(Layer->ItemCount(), 4);
  TKxDeShapeBase* s = Last();
  EXPECT_EQ(s->ClassType(), c.Class);
  EXPECT_EQ(PointsOf(s), c.Points);
  EXPECT_EQ(s->Pen()->Width(), 3.0f);
  EXPECT_EQ(s->Pen()->Color(), 0x0000FF);
  if (s->ShapeStyle().Contains(TKxDeShapeStyle::kxssUsesBrush)) {
    EXPECT_EQ(s->Brush()->Color(), 0x00FF00);
  }
  EXPECT_EQ(E.Selections(), std::vector<TKxDeShapeBase*>{s});
  EXPECT_EQ(events, (Strings{"new", "end"}));
  EXPECT_EQ(E.CreationCount(), 1);
  // The insertion is one undo group; the drawing before it recorded nothing.
  EXPECT_EQ(Recorded("kxacInserted"), (Strings{"begin", "kxacInserted ", "end"}));
  // Still drawing: the next press starts another shape of the same class.
  EXPECT_EQ(E.NewShape(), nullptr);
  EXPECT_EQ(E.EditState(), kxesCreateNew);
  EXPECT_EQ(E.NewShapeClass(), c.Class);
}

INSTANTIATE_TEST_SUITE_P(
    Gestures, EditorCreationGesture,
    ::testing::Values(
        // Press, release, size with the pointer, press again.
        TGestureCase{"Rectangle",
                     ClassOf<TVornRectangle>(),
                     "c 200 150 m 240 170 m 260 200 c 260 200",
                     {{200, 150}, {260, 150}, {260, 200}, {200, 200}}},
        // Press, drag, release; without Ctrl the segment stays horizontal.
        TGestureCase{"Line", ClassOf<TVornLine>(), "p 200 150 m 230 152 r 260 155", {{200, 150}, {260, 150}}},
        // A point per click, the last one following the pointer; a double click ends.
        TGestureCase{"Polyline",
                     ClassOf<TVornPolyline>(),
                     "c 200 150 m 260 150 c 260 150 m 260 220 d 260 220",
                     {{200, 150}, {260, 150}, {260, 220}}},
        // The path of the pointer while the button is held.
        TGestureCase{"FreeHand",
                     ClassOf<TVornFreeHand>(),
                     "p 200 150 m 220 150 m 240 170 r 240 200",
                     {{200, 150}, {220, 150}, {240, 170}, {240, 200}}}),
    [](const ::testing::TestParamInfo<TGestureCase>& I) { return std::string(I.param.Name); });

TEST_F(EditorCreation, BezierHandlesArePulledOutOfTheLastPointWhileTheButtonIsHeld) {
  E.SetNewShapeClass(ClassOf<TVornPolyline>());
  Play(*this, "c 100 100 m 200 100 p 200 100 m 220 110 r 220 110");
  // The release leaves a new point on the handled one; it follows the pointer.
  ASSERT_NE(E.NewShape(), nullptr);
  EXPECT_EQ(PointsOf(E.NewShape()), (std::vector<TPointF>{{100, 100}, {200, 100}, {200, 100}}));
  TKxDePoint* q = E.NewShape()->Points(1);
  ASSERT_TRUE(q->Control_1() && q->Control_2());
  EXPECT_EQ(q->Control_1()->GetValue(), (TPointF{-20, -10}));
  EXPECT_EQ(q->Control_2()->GetValue(), (TPointF{20, 10}));
  // Without Ctrl a segment runs horizontally or vertically, by the larger component of the way
  // from the first point: (100, 80) keeps the new point on y = 100.
  Move(200, 180);
  EXPECT_EQ(E.NewShape()->PointValue(2), (TPointF{200, 100}));
  // The right button ends the shape with its last point where the pointer is.
  Play(*this, "m 200 230 R 200 230");
  EXPECT_EQ(PointsOf(Last()), (std::vector<TPointF>{{100, 100}, {200, 100}, {200, 230}}));
  EXPECT_NE(Last()->Points(1)->Control_2(), nullptr);
}

TEST_F(EditorCreation, EscapeAndCancelLeaveTheDocumentAsItWas) {
  int classChanges = 0;
  E.OnNewShapeClass = [&](TObject*) { ++classChanges; };
  for (TKxDeShapeClass cls :
       {ClassOf<TVornRectangle>(), ClassOf<TVornLine>(), ClassOf<TVornPolyline>(), ClassOf<TVornFreeHand>()}) {
    SCOPED_TRACE(cls->ClassName().toStdString());
    E.SetNewShapeClass(cls);
    E.Undo.clear();
    Play(*this, "p 200 150 m 240 180");
    ASSERT_NE(E.NewShape(), nullptr);
    QTest::keyClick(&E, Qt::Key_Escape);
    Release(240, 180);
    // Escape drops only the shape in progress; the next press starts another.
    EXPECT_EQ(E.NewShape(), nullptr);
    EXPECT_EQ(Names(), "ABC");
    EXPECT_TRUE(E.Undo.empty());
    EXPECT_EQ(E.EditState(), kxesCreateNew);
    EXPECT_EQ(E.NewShapeClass(), cls);
    Press(100, 100);
    EXPECT_NE(E.NewShape(), nullptr);
    // Choosing no class leaves creation altogether.
    E.SetNewShapeClass(nullptr);
    Release(100, 100);
    EXPECT_EQ(E.NewShape(), nullptr);
    EXPECT_EQ(E.EditState(), kxesNone);
    EXPECT_EQ(Names(), "ABC");
  }
  // Another state ends creation and forgets the class.
  E.SetNewShapeClass(ClassOf<TVornRectangle>());
  E.SetEditState(kxesZoomRect);
  EXPECT_EQ(E.NewShapeClass(), nullptr);
  EXPECT_EQ(classChanges, 10);
}

TEST_F(EditorCreation, ShapesOfNoExtentAreDroppedAndEdgeCasesOfTheClassesHold) {
  // Two clicks at one place make a rectangle of no size: dropped. No width but a height: kept.
  E.SetNewShapeClass(ClassOf<TVornRectangle>());
  Play(*this, "c 200 150 c 200 150");
  EXPECT_EQ(Names(), "ABC");
  Play(*this, "c 200 150 m 200 190 c 200 190");
  ASSERT_EQ(Layer->ItemCount(), 4);
  EXPECT_EQ(Last()->GetBounds(), (TRectF{200, 150, 200, 190}));
  // On the grid (lines every 10 mm, 37.8 world units) the press lands on the nearest crossing.
  E.SetEditOptions(E.EditOptions() + TKxDeEditOption::kxdoSnapToGrid);
  E.Grid()->SetX(10);
  E.Grid()->SetY(10);
  Press(200, 150);
  EXPECT_EQ(E.CreateAnchor().Test, (TPointF{189, 151}));
  QTest::keyClick(&E, Qt::Key_Escape);
  Release(200, 150);
  E.SetEditOptions(E.EditOptions() - TKxDeEditOption::kxdoSnapToGrid);
  // A class that keeps its own pen width gets the default colour only.
  E.DefaultPen()->SetWidth(3);
  E.DefaultPen()->SetColor(0xFF0000);
  E.SetNewShapeClass(ClassOf<TOwnWidthRectangle>());
  Play(*this, "c 100 100 c 150 120");
  ASSERT_EQ(Layer->ItemCount(), 5);
  EXPECT_EQ(Last()->Pen()->Width(), cstPenDefaultWidth);
  EXPECT_EQ(Last()->Pen()->Color(), 0xFF0000);
  // Without kxdoRightClickEndsCreation the right button leaves the shape in progress.
  E.SetEditOptions(E.EditOptions() - TKxDeEditOption::kxdoRightClickEndsCreation);
  Play(*this, "c 100 100 m 130 130 R 130 130");
  EXPECT_NE(E.NewShape(), nullptr);
  EXPECT_EQ(Layer->ItemCount(), 5);
}

TEST_F(EditorCreation, HandlersMayStopReplaceOrDestroyTheNewShape) {
  E.SetNewShapeClass(ClassOf<TVornRectangle>());
  // Clearing the class before creation makes nothing; the state stays.
  E.OnBeforeCreateNewShape = [](TObject*, TKxDeShapeClass& Cls) { Cls = nullptr; };
  Click(200, 150);
  EXPECT_EQ(E.NewShape(), nullptr);
  EXPECT_EQ(E.EditState(), kxesCreateNew);
  E.OnBeforeCreateNewShape = nullptr;
  E.SetNewShapeClass(ClassOf<TVornRectangle>());
  // A handler that destroys the finished shape: nothing is inserted and nothing crashes.
  E.OnEndNewShape = [](TObject*, TKxDeShapeBase*& S) { Free(S); };
  Play(*this, "c 100 100 c 120 120");
  EXPECT_EQ(Layer->ItemCount(), 3);
  // One that puts another shape in its place: that one is inserted and selected.
  TKxDeShapeBase* replacement = nullptr;
  E.OnEndNewShape = [&](TObject*, TKxDeShapeBase*&) {
    replacement = Create<TVornEllipse>(nullptr, nullptr);
    E.RedefineNewShape(replacement);
  };
  Play(*this, "c 100 100 c 120 120");
  ASSERT_EQ(Layer->ItemCount(), 4);
  EXPECT_EQ(Last(), replacement);
  EXPECT_EQ(E.Selections(), std::vector<TKxDeShapeBase*>{replacement});
  E.OnEndNewShape = nullptr;
  // Someone else destroys the shape in progress: the editor lets go of it and starts anew.
  Play(*this, "c 100 100 m 120 120");
  TKxDeShapeBase* doomed = E.NewShape();
  Free(doomed);
  EXPECT_EQ(E.NewShape(), nullptr);
  Play(*this, "m 130 130 c 130 130");
  EXPECT_NE(E.NewShape(), nullptr);
  // Without any layer, creation makes one.
  QTest::keyClick(&E, Qt::Key_Escape);
  E.Clear();
  Play(*this, "c 100 100 c 140 130");
  ASSERT_EQ(E.LayerCount(), 1);
  EXPECT_EQ(E.GetLayer(0)->Items(0)->GetBounds(), (TRectF{100, 100, 140, 130}));
}

// ---- Commands on the selection ---------------------------------------------------------------------

TEST_F(EditorCreation, DeleteSelectionDestroysTheSelectedShapesInOneUndoGroup) {
  int before = 0;
  int changes = 0;
  E.OnBeforeDeleteSelection = [&](TObject*) { ++before; };
  E.OnSelectionChange = [&](TObject*) { ++changes; };
  E.SelectList({A, C});
  changes = 0;
  // Locked after it was selected: deleted all the same.
  C->SetLocked(true);
  E.Undo.clear();
  E.DeleteSelection();
  EXPECT_EQ(Names(), "B");
  EXPECT_EQ(E.SelectionCount(), 0);
  EXPECT_EQ(before, 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Recorded("kxacRemoved"), (Strings{"begin", "kxacRemoved C", "kxacRemoved A", "end"}));
  // Nothing selected: nothing happens, not even the event.
  E.DeleteSelection();
  EXPECT_EQ(before, 1);
}

TEST_F(EditorCreation, SelectingInARectangleWholeOrTouchedAndOnePerLayerWithoutMultiSelect) {
  TKxDeShapeBase* d = Create<TVornRectangle>(nullptr, Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&E)));
  d->SetBounds(40, 40, 20, 20);
  d->SetName(QStringLiteral("D"));
  // A lies wholly inside, B only reaches in.
  const TRectF r{10, 10, 130, 90};
  E.SelectIn(r, true);
  EXPECT_EQ(Selected(), "AD");
  E.SelectIn(r, false);
  EXPECT_EQ(Selected(), "ABD");
  E.SetEditOptions(E.EditOptions() - TKxDeEditOption::kxdoMultiSelect);
  E.SelectIn(r, false);
  EXPECT_EQ(Selected(), "AD");
}

TEST_F(EditorCreation, ZOrderMovesTheSelectionLastSelectedFirst) {
  struct TCase {
    std::vector<const char*> Select;
    void (TKxDeCustomEditor::*Command)();
    const char* Order;
  };
  const TCase cases[] = {
      {{"A"}, &TKxDeCustomEditor::BringToFront, "BCA"},      {{"C"}, &TKxDeCustomEditor::SendToBack, "CAB"},
      {{"A"}, &TKxDeCustomEditor::BringForward, "BAC"},      {{"C"}, &TKxDeCustomEditor::SendBackward, "ACB"},
      {{"A", "B"}, &TKxDeCustomEditor::BringToFront, "CBA"}, {{"C"}, &TKxDeCustomEditor::BringToFront, "ABC"},
  };
  for (const TCase& c : cases) {
    // Back to A, B, C.
    Layer->SendToBack(A);
    Layer->BringToFront(C);
    ASSERT_EQ(Names(), "ABC");
    TKxDeShapeArray list;
    for (const char* n : c.Select) list.push_back(n[0] == 'A' ? A : n[0] == 'B' ? B : C);
    E.SelectList(list);
    (E.*c.Command)();
    EXPECT_EQ(Names(), c.Order) << c.Select.size() << " " << c.Order;
  }
}

TEST_F(EditorCreation, GroupingTheSelectionSelectsWhatItMade) {
  E.SelectList({A, B});
  TKxDeGroup* g = E.GroupSelection();
  ASSERT_NE(g, nullptr);
  g->SetName(QStringLiteral("G"));
  EXPECT_EQ(Names(), "CG");
  EXPECT_EQ(Selected(), "G");
  // A shape inside a group is not selectable on its own.
  E.Select(A);
  EXPECT_EQ(Selected(), "G");
  E.UngroupSelection();
  EXPECT_EQ(Names(), "CAB");
  EXPECT_EQ(Selected(), "AB");
  E.PackSelection()->SetName(QStringLiteral("P"));
  EXPECT_EQ(Names(), "CP");
  EXPECT_EQ(Selected(), "P");
  E.UnpackSelection();
  EXPECT_EQ(Selected(), "AB");
}

// ---- Actions -----------------------------------------------------------------------------------------

TEST_F(EditorCreation, ActionsAreEnabledByWhatTheyCanDoAndRunTheirCommand) {
  TKxDeEditorActions actions(&E);
  auto enabled = [&] {
    std::string out;
    for (QAction* a :
         {actions.DeleteAction(), actions.GroupAction(), actions.UngroupAction(), actions.PackAction(),
          actions.UnpackAction(), actions.BringToFrontAction(), actions.SendToBackAction(), actions.NudgeLeftAction()})
      out += a->isEnabled() ? '1' : '0';
    return out;
  };
  EXPECT_TRUE(actions.SelectAllAction()->isEnabled());
  EXPECT_EQ(enabled(), "00000000");
  E.Select(A);  // the bottom shape: it can only go up
  EXPECT_EQ(enabled(), "10010101");
  actions.BringToFrontAction()->trigger();
  EXPECT_EQ(Names(), "BCA");
  EXPECT_EQ(enabled(), "10010011");
  actions.SelectAllAction()->trigger();
  EXPECT_EQ(Selected(), "BCA");
  EXPECT_EQ(enabled(), "11010111");
  actions.GroupAction()->trigger();
  EXPECT_EQ(E.SelectionCount(), 1);
  EXPECT_EQ(enabled(), "10110001");
  actions.UngroupAction()->trigger();
  EXPECT_EQ(E.SelectionCount(), 3);
  // A document change that no selection change tells of: a shape put above the selection.
  E.Select(A);
  Box("D", 200, 150);
  QApplication::processEvents();
  EXPECT_TRUE(actions.BringToFrontAction()->isEnabled());
  actions.NudgeRightAction()->trigger();
  EXPECT_FLOAT_EQ(A->GetBounds().Left, 20 + CoordsPixelsPerMMConvertValue);
  actions.DeleteAction()->trigger();
  EXPECT_EQ(Names(), "BCD");
  EXPECT_EQ(enabled(), "00000000");
  // The shortcuts act while the editor has the focus.
  E.activateWindow();
  E.setFocus();
  E.Select(B);
  QTest::keyClick(&E, Qt::Key_G, Qt::ControlModifier);  // nothing to group: one shape
  QTest::keyClick(&E, Qt::Key_BracketRight, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Names(), "CDB");
  QTest::keyClick(&E, Qt::Key_Delete);
  EXPECT_EQ(Names(), "CD");
}

// ---- What the user sees ------------------------------------------------------------------------------

TEST_F(EditorCreation, TheShapeBeingDrawnShowsItsOutline) {
  const QImage before = Grab("editor-before-creation");
  E.SetNewShapeClass(ClassOf<TVornRectangle>());
  Play(*this, "c 200 110 m 260 150 m 300 200");
  const QImage during = Grab("editor-creation");
  // The dotted magenta outline (MoveSize's pen) along the top and the right edge; inside and
  // outside it the page is untouched.
  EXPECT_TRUE(Marked(during, At(250, 110), QPoint(1, 0)));
  EXPECT_TRUE(Marked(during, At(300, 150), QPoint(0, 1)));
  EXPECT_FALSE(Marked(during, At(250, 150), QPoint(1, 0)));
  EXPECT_FALSE(Marked(during, At(250, 106), QPoint(1, 0)));
  EXPECT_EQ(Pixel(during, At(250, 150)), Pixel(before, At(250, 150)));
  // Escape: the outline is gone.
  QTest::keyClick(&E, Qt::Key_Escape);
  EXPECT_EQ(Pixel(Grab("editor-after-creation"), At(250, 110)), Pixel(before, At(250, 110)));
}

}  // namespace
}  // namespace vorn::test
