// The editor driven with the mouse and the keyboard as a user would: selecting by click, by
// rubber band and with the multi-select keys, moving by drag and by arrow keys, cancelling with
// Escape, and what the feedback looks like on screen.

#include "EditorFixture.h"

#include <QApplication>

#include <cmath>

namespace vorn::test {
namespace {

class Editor : public TEditorWindow<> {
 protected:
  void SetUp() override {
    TEditorWindow::SetUp();
    PlaceThreeBoxes();
    E.show();
    E.Undo.clear();
  }
};

TEST_F(Editor, ClickSelectsWithoutMovingAndClickOnNothingClears) {
  Click(40, 40);
  EXPECT_EQ(Selected(), "A");
  EXPECT_EQ(TopLeft(A), (TPointF{20, 20}));
  EXPECT_EQ(E.EditState(), kxesNone);
  EXPECT_TRUE(E.Undo.empty());
  Click(150, 50);
  EXPECT_EQ(Selected(), "B");
  Click(250, 200);
  EXPECT_EQ(Selected(), "");
  // A press outside the page is not on a shape either.
  Click(40, 40);
  QTest::mouseClick(&E, Qt::LeftButton, {}, QPoint(410, 310));
  EXPECT_EQ(Selected(), "");
}

TEST_F(Editor, MultiSelectKeysToggleAndShiftOnABodyDoesNothing) {
  Click(40, 40);
  Click(150, 50, Qt::ControlModifier);
  EXPECT_EQ(Selected(), "AB");
  Click(40, 40, Qt::ControlModifier);
  EXPECT_EQ(Selected(), "B");
  // Shift is the rubber band's key: on a shape's body it neither selects nor moves.
  Click(40, 160, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "B");
  // ... unless it is the multi-select key as well.
  E.SetMultiSelectKeys(TKxDeShiftKeys{TKxDeShiftKey::kxskShift});
  Click(40, 160, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "BC");
  // Without kxdoMultiSelect adding replaces.
  E.SetEditOptions(E.EditOptions() - TKxDeEditOption::kxdoMultiSelect);
  EXPECT_EQ(Selected(), "C");
  Click(40, 40, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "A");
}

TEST_F(Editor, RubberBandSelectsTheShapesItReaches) {
  Box("D", 250, 20);
  E.Undo.clear();
  Click(40, 40);
  // From empty space around A and B; the band ends inside D (shapes it touches qualify).
  Drag(At(10, 10), At(270, 90), Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "ABD");
  EXPECT_EQ(E.EditState(), kxesNone);
  // A plain drag from empty space selects too, and what the band misses is dropped.
  Drag(At(100, 100), At(70, 210));
  EXPECT_EQ(Selected(), "C");
  // A band of no height selects nothing and leaves the selection.
  Drag(At(100, 100), At(200, 100), Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "C");
  EXPECT_TRUE(E.Undo.empty());
}

TEST_F(Editor, DragMovesTheSelectionOnceByTheQuantisedSnappedOffset) {
  struct Case {
    int Sense;
    bool Snap;
    QPoint By;
    TPointF Moved;
  };
  // Grid 10 mm: lines every 37.795 world units at 96 pixels per inch; A's corner starts at 20.
  const float line = std::round(10 * CoordsPixelsPerMMConvertValue);
  const Case cases[] = {
      {1, false, QPoint(7, -5), TPointF{7, -5}},
      {3, false, QPoint(8, -8), TPointF{6, -6}},
      {3, false, QPoint(2, 13), TPointF{0, 12}},
      // Snapped: the selection's corner lands on the grid line nearest to where the drag put it,
      // lines lying at whole units (0, 38, 76, ...): (32, 50) goes to (38, 38), (17, 22) to (0, 38).
      {1, true, QPoint(12, 30), TPointF{line - 20, line - 20}},
      {1, true, QPoint(-3, 2), TPointF{-20, line - 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Sense << " " << c.Snap << " " << c.By.x() << "," << c.By.y());
    A->SetBounds(20, 20, 60, 60);
    B->SetBounds(120, 20, 60, 60);
    E.SetMouseSense(c.Sense);
    TKxDeEditOptions o = E.EditOptions();
    if (c.Snap) o += TKxDeEditOption::kxdoSnapToGrid;
    else o -= TKxDeEditOption::kxdoSnapToGrid;
    E.SetEditOptions(o);
    E.ClearSelection();
    Click(40, 40);
    Click(150, 50, Qt::ControlModifier);
    E.Undo.clear();
    E.Refreshes = 0;
    Drag(At(150, 50), At(150, 50) + c.By);
    const TPointF a = TopLeft(A);
    const TPointF b = TopLeft(B);
    EXPECT_NEAR(a.X, 20 + c.Moved.X, 1e-3);
    EXPECT_NEAR(a.Y, 20 + c.Moved.Y, 1e-3);
    EXPECT_NEAR(b.X, 120 + c.Moved.X, 1e-3);
    EXPECT_NEAR(b.Y, 20 + c.Moved.Y, 1e-3);
    // One undo group, the last selected first, and one refresh of the surface.
    EXPECT_EQ(E.Undo, (Strings{"begin", "kxacSizing B", "kxacSizing A", "end"}));
    EXPECT_EQ(E.Refreshes, 1);
    EXPECT_EQ(Selected(), "AB");
  }
}

TEST_F(Editor, ArrowKeysNudgeTheSelection) {
  const float mm = CoordsPixelsPerMMConvertValue;
  QTest::keyClick(&E, Qt::Key_Right);  // nothing selected: no shape moves
  EXPECT_EQ(TopLeft(A), (TPointF{20, 20}));
  Click(40, 40);
  Click(40, 160, Qt::ControlModifier);
  E.SetKeyMoveSizeStep(2.5f);
  QTest::keyClick(&E, Qt::Key_Right);
  QTest::keyClick(&E, Qt::Key_Up);
  EXPECT_NEAR(TopLeft(A).X, 20 + 2.5f * mm, 1e-3);
  EXPECT_NEAR(TopLeft(A).Y, 20 - 2.5f * mm, 1e-3);
  EXPECT_NEAR(TopLeft(C).Y, 140 - 2.5f * mm, 1e-3);
  EXPECT_EQ(E.Undo, (Strings{"begin", "kxacSizing A", "kxacSizing C", "end", "begin", "kxacSizing A",
                             "kxacSizing C", "end"}));
  // Ctrl steps by the grid (10 mm) and, snapping, puts the top edge on the nearest grid line:
  // from 10.55 a step of 37.80 reaches 48.35, whose nearest line is 37.80.
  QTest::keyClick(&E, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_NEAR(TopLeft(A).Y, 10 * mm, 1e-3);
  E.SetEditOptions(E.EditOptions() - TKxDeEditOption::kxdoSnapToGrid);
  QTest::keyClick(&E, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_NEAR(TopLeft(A).Y, 20 * mm, 1e-3);
  // Shift resizes instead of moving.
  const float width = A->GetBounds().Right - A->GetBounds().Left;
  QTest::keyClick(&E, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_NEAR(A->GetBounds().Right - A->GetBounds().Left, width - 2.5f * mm, 1e-3);
  // Without kxdoKeyActions the keys do nothing to the shapes.
  E.SetEditOptions(E.EditOptions() - TKxDeEditOption::kxdoKeyActions);
  const TPointF before = TopLeft(A);
  QTest::keyClick(&E, Qt::Key_Right);
  EXPECT_EQ(TopLeft(A), before);
}

TEST_F(Editor, EscapeCancelsAGestureAndLeavesTheDocumentAsItWas) {
  Click(40, 40);
  E.Undo.clear();
  Hold(At(40, 40), At(90, 80), {}, 1);
  EXPECT_EQ(E.EditState(), kxesMoving);
  QTest::keyClick(&E, Qt::Key_Escape);
  EXPECT_EQ(E.EditState(), kxesNone);
  QTest::mouseRelease(&E, Qt::LeftButton, {}, At(90, 80));
  EXPECT_EQ(TopLeft(A), (TPointF{20, 20}));
  EXPECT_TRUE(E.Undo.empty());
  // A rubber band cancelled the same way selects nothing new.
  Hold(At(100, 100), At(300, 230), Qt::ShiftModifier, 1);
  QTest::keyClick(&E, Qt::Key_Escape);
  QTest::mouseRelease(&E, Qt::LeftButton, Qt::ShiftModifier, At(300, 230));
  EXPECT_EQ(Selected(), "A");
  // With no gesture Escape clears the selection.
  QTest::keyClick(&E, Qt::Key_Escape);
  EXPECT_EQ(Selected(), "");
}

TEST_F(Editor, SettingsAreClampedAndStatesNeedSelectingOrMouseActions) {
  E.SetKeyMoveSizeStep(250);
  EXPECT_EQ(E.KeyMoveSizeStep(), 100.0f);
  E.SetKeyMoveSizeStep(-1);
  EXPECT_EQ(E.KeyMoveSizeStep(), 0.0f);
  E.SetMouseSense(0);
  EXPECT_EQ(E.MouseSense(), 1);
  E.SetMultiSelectKeys({});
  E.SetSelectionRectKeys({});
  E.SetControlKeys({});
  EXPECT_EQ(E.MultiSelectKeys(), TKxDeShiftKeys{TKxDeShiftKey::kxskCtrl});
  EXPECT_EQ(E.SelectionRectKeys(), TKxDeShiftKeys{TKxDeShiftKey::kxskShift});
  EXPECT_EQ(E.ControlKeys(), TKxDeShiftKeys{TKxDeShiftKey::kxskAlt});
  // The published form clamps the same way.
  EXPECT_TRUE(E.setProperty("MouseSense", 0));
  EXPECT_EQ(E.MouseSense(), 1);
  EXPECT_TRUE(E.setProperty("MultiSelectKeys", QStringLiteral("[kxskShift,kxskAlt]")));
  EXPECT_EQ(E.MultiSelectKeys(), (TKxDeShiftKeys{TKxDeShiftKey::kxskShift, TKxDeShiftKey::kxskAlt}));
  E.Selection()->SetPointSize(-4);
  EXPECT_EQ(E.Selection()->PointSize(), 0);

  int changes = 0;
  E.OnEditStateChange = [&](TObject*) { ++changes; };
  E.SetEditOptions(E.EditOptions() - TKxDeEditOption::kxdoCanSelect - TKxDeEditOption::kxdoMouseActions);
  E.SetEditState(kxesRectSelect);
  EXPECT_EQ(E.EditState(), kxesNone);
  E.SetEditState(kxesOrientIcon);
  EXPECT_EQ(E.EditState(), kxesOrientIcon);
  EXPECT_EQ(changes, 1);
  // Without mouse actions a press does nothing but end the state.
  E.SetEditState(kxesNone);
  Click(40, 40);
  EXPECT_EQ(Selected(), "");
}

TEST_F(Editor, HoverMakesUnselectedShapesHot) {
  QTest::mouseMove(&E, At(40, 40));
  EXPECT_EQ(E.HotShape(), A);
  QTest::mouseMove(&E, At(100, 100));
  EXPECT_EQ(E.HotShape(), nullptr);
  Click(150, 50);
  QTest::mouseMove(&E, At(151, 51));
  EXPECT_EQ(E.HotShape(), nullptr);  // selected shapes are not hot
  E.SetEditOptions(E.EditOptions() - TKxDeEditOption::kxdoHottrack);
  QTest::mouseMove(&E, At(40, 40));
  EXPECT_EQ(E.HotShape(), nullptr);
}

// ---- What the user sees ------------------------------------------------------------------------------

class EditorPixels : public Editor {};

TEST_F(EditorPixels, SelectedShapesShowHandlesAtTheirCorners) {
  const QImage before = Grab("editor-unselected");
  Click(40, 40);
  Click(150, 50, Qt::ControlModifier);
  QTest::mouseMove(&E, At(300, 220));
  const QImage after = Grab("editor-selected");
  const QColor frame(0x00, 0xA8, 0xFF);  // PointOutColor $00FFA800
  for (QPoint corner : {At(20, 20), At(80, 80), At(120, 20), At(180, 80)}) {
    SCOPED_TRACE(testing::Message() << corner.x() << "," << corner.y());
    // The handle's frame runs two pixels from its centre; its inside is white.
    EXPECT_EQ(Pixel(after, corner + QPoint(-2, 0)), frame);
    EXPECT_EQ(Pixel(after, corner + QPoint(0, 2)), frame);
    EXPECT_EQ(Pixel(after, corner), QColor(Qt::white));
    EXPECT_NE(Pixel(before, corner + QPoint(-2, 0)), frame);
  }
  // C is not selected: no handles.
  EXPECT_EQ(Pixel(after, At(20, 140) + QPoint(-2, 0)), Pixel(before, At(20, 140) + QPoint(-2, 0)));
}

TEST_F(EditorPixels, RubberBandIsDrawnWhileDraggingAndGoneAfter) {
  const QImage before = Grab("editor-before-band");
  Hold(At(100, 100), At(300, 220));
  const QImage during = Grab("editor-band");
  // The band's edges pass through (200, 100) at the top and (300, 160) at the right (the last
  // pixel column inside the right edge); a dotted line: of three neighbouring pixels at least
  // one differs from the page.
  auto marked = [&](QPoint P, QPoint Step) {
    for (int i = 0; i < 3; ++i)
      if (Pixel(during, P + i * Step) != Pixel(before, P + i * Step)) return true;
    return false;
  };
  EXPECT_TRUE(marked(At(200, 100), QPoint(1, 0)));
  EXPECT_TRUE(marked(At(300, 160) - QPoint(1, 0), QPoint(0, 1)));
  EXPECT_FALSE(marked(At(200, 110), QPoint(1, 0)));  // inside the band nothing changes
  QTest::mouseRelease(&E, Qt::LeftButton, {}, At(300, 220));
  const QImage after = Grab("editor-after-band");
  EXPECT_EQ(Pixel(after, At(200, 100)), Pixel(before, At(200, 100)));
}

// ---- Shapes that raise -----------------------------------------------------------------------------

TEST_F(Editor, AShapeThatRaisesDoesNotTakeTheEditorDown) {
  auto* f = Box<TFaulty<TVornRectangle>>("F", 220, 120);
  // A hit test that raises: the press is dropped, nothing changes.
  f->FailHit = true;
  Click(40, 40);
  Click(240, 140);
  EXPECT_EQ(Selected(), "A");
  EXPECT_EQ(E.EditState(), kxesNone);
  f->FailHit = false;
  // Selection drawing that raises: the other shapes still show, and a move of a selection it is
  // part of is cancelled, leaving the document as it was.
  Click(240, 140, Qt::ControlModifier);
  EXPECT_EQ(Selected(), "AF");
  f->FailDraw = true;
  EXPECT_FALSE(E.grab().isNull());
  E.Undo.clear();
  Hold(At(40, 40), At(60, 60), {}, 1);
  E.grab();
  QApplication::processEvents();
  QTest::mouseRelease(&E, Qt::LeftButton, {}, At(60, 60));
  EXPECT_EQ(TopLeft(A), (TPointF{20, 20}));
  EXPECT_EQ(TopLeft(f), (TPointF{220, 120}));
  EXPECT_TRUE(E.Undo.empty());
  EXPECT_EQ(E.EditState(), kxesNone);
}

}  // namespace
}  // namespace vorn::test
