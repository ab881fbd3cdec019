// Aligning and distributing the selection, measured on the shapes' turned bounds, and the arrow
// keys' steps and undo bursts; every command undone in one step back to the same document XML.

#include "EditorFixture.h"

#include <QApplication>
#include <QKeyEvent>

namespace vorn::test {
namespace {

using enum TKxDeAlignment;
using enum TKxDeAlignReference;
using enum TKxDeDistribution;

class EditorAlign : public TEditorWindow<TKxDeEditor> {
 protected:
  void SetUp() override {
    TEditorWindow::SetUp();
    A = Box("A", 20, 20, 60, 40);
    C = Box("C", 200, 30, 80, 20);
    C->SetRotation(90);  // shows 20 wide and 80 high
    B = Box("B", 150, 100, 40, 80);
    E.show();
  }
  // A key press as the window system delivers it, at Time milliseconds.
  void Key(int K, Qt::KeyboardModifiers M, quint64 Time) {
    QKeyEvent press(QEvent::KeyPress, K, M);
    press.setTimestamp(Time);
    QApplication::sendEvent(&E, &press);
  }
  // The low edge (Part 0), the centre (1) or the high edge (2) of S as it shows, along one axis.
  static float Edge(const TKxDeShapeBase* S, bool Vertical, int Part) {
    const TRectF b = S->GetRotatedBounds();
    const float lo = Vertical ? b.Top : b.Left, hi = Vertical ? b.Bottom : b.Right;
    return Part == 0 ? lo : Part == 1 ? (lo + hi) / 2 : hi;
  }
};

TEST_F(EditorAlign, EachAlignmentToFirstLastAndPageIsOneUndoStep) {
  E.SelectList({A, C, B});
  E.SetModified(false);
  const std::string before = Xml();
  // The line each alignment reaches: A's (first selected), B's (last selected), the 360 x 240 page's.
  const float want[6][3] = {{20, 150, 0}, {50, 170, 180}, {80, 190, 360}, {20, 100, 0}, {40, 140, 120}, {60, 180, 240}};
  for (int a = 0; a < 6; ++a)
    for (int r = 0; r < 3; ++r) {
      SCOPED_TRACE(testing::Message() << "alignment " << a << " reference " << r);
      const float across = Edge(C, a < 3, 0);
      E.AlignSelection(TKxDeAlignment(a), TKxDeAlignReference(r));
      for (auto* s : {A, B, C}) EXPECT_NEAR(Edge(s, a >= 3, a % 3), want[a][r], 1e-3) << s->Name().toStdString();
      EXPECT_EQ(Edge(C, a < 3, 0), across);
      EXPECT_EQ(E.UndoCount(), 1);
      E.Undo();
      EXPECT_EQ(Xml(), before);
      E.SetModified(false);
    }
  // Aligned already: nothing more to record. A locked shape keeps its place.
  E.AlignSelection(kxalTop);
  E.AlignSelection(kxalTop);
  EXPECT_EQ(E.UndoCount(), 1);
  B->SetLocked(true);
  E.AlignSelection(kxalRight);
  EXPECT_NEAR(Edge(C, false, 2), 80, 1e-3);
  EXPECT_EQ(Edge(B, false, 0), 150);
}

TEST_F(EditorAlign, EqualGapsAndCentresOnFiveShapesOfDifferentWidths) {
  TKxDeShapeBase *P = Box("P", 100, 10, 50, 10), *Q = Box("Q", 10, 60, 20, 30), *R = Box("R", 250, 90, 70, 15),
                 *S = Box("S", 40, 120, 10, 40), *T = Box("T", 190, 170, 30, 20);
  E.SelectList({R, P, T, Q, S});
  E.SetModified(false);
  const std::string before = Xml();
  // Along x by centre: Q, S, P, T, R, 180 wide together. Q's left (10) and R's right (320) stay, or
  // move to the page's edges.
  const TKxDeShapeBase* byX[5] = {Q, S, P, T, R};
  for (bool page : {false, true}) {
    E.DistributeSelection(kxdiGapsHorz, page ? kxarPage : kxarFirstSelected);
    EXPECT_NEAR(Edge(Q, false, 0), page ? 0 : 10, 1e-3);
    EXPECT_NEAR(Edge(R, false, 2), page ? 360 : 320, 1e-3);
    for (int i = 1; i < 5; ++i)
      EXPECT_NEAR(Edge(byX[i], false, 0) - Edge(byX[i - 1], false, 2), page ? 45 : 32.5, 1e-3) << i;
    EXPECT_EQ(E.UndoCount(), 1);
    E.Undo();
  }
  // Centres down the page: P's (15) and T's (180) stay, the others come between at equal distances.
  E.DistributeSelection(kxdiCentersVert);
  int i = 0;
  for (auto* s : {P, Q, R, S, T}) EXPECT_NEAR(Edge(s, true, 1), 15 + 41.25f * i++, 1e-3);
  E.Undo();
  EXPECT_EQ(Xml(), before);
  // The actions: two shapes are too few to distribute, one is enough to align with the page.
  TKxDeEditorActions actions(&E);
  E.SelectList({P, Q});
  EXPECT_TRUE(actions.AlignAction(kxalLeft)->isEnabled());
  EXPECT_FALSE(actions.DistributeAction(kxdiGapsHorz)->isEnabled());
  E.Select(P);
  EXPECT_FALSE(actions.AlignAction(kxalLeft)->isEnabled());
  actions.AlignReferenceAction(kxarPage)->trigger();
  actions.AlignAction(kxalRight)->trigger();
  EXPECT_EQ(P->GetBounds().Right, 360);
}

TEST_F(EditorAlign, ArrowKeyBurstsAreOneUndoStepAndShiftAndAltSetTheStep) {
  E.SetNudgeSteps(true);
  E.SelectList({A, B});
  E.SetModified(false);
  const std::string start = Xml();
  for (int i = 0; i < 10; ++i) Key(Qt::Key_Right, {}, 1000 + 100 * i);
  const std::string moved = Xml();
  EXPECT_EQ(E.UndoCount(), 1);
  E.Undo();
  EXPECT_EQ(Xml(), start);
  E.Redo();
  EXPECT_EQ(Xml(), moved);
  // Presses 600 ms apart, or with another gesture or an undo between, start entries of their own.
  for (quint64 t : {5000, 5400, 6000, 6300}) Key(Qt::Key_Down, {}, t);
  EXPECT_EQ(E.UndoCount(), 3);
  E.MoveSelection(TPointF{1, 1});
  Key(Qt::Key_Down, {}, 6400);
  E.Undo();
  Key(Qt::Key_Down, {}, 6500);
  EXPECT_EQ(E.UndoCount(), 5);
  // Shift: ten steps of KeyMoveSizeStep; Alt: one pixel on the screen; Ctrl+Shift resizes by a step.
  const float mm = CoordsPixelsPerMMConvertValue;
  for (int zoom : {100, 250}) {
    E.SetZoom(zoom);
    const TRectF b = A->GetBounds();
    const TPointF p = E.LayerToScreen(TopLeft(A));
    Key(Qt::Key_Right, Qt::ShiftModifier, 10000 * zoom);
    Key(Qt::Key_Up, Qt::AltModifier, 10000 * zoom + 1);
    Key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier, 10000 * zoom + 2);
    EXPECT_NEAR(A->GetBounds().Left - b.Left, 10 * mm, 1e-3) << zoom;
    EXPECT_NEAR(E.LayerToScreen(TopLeft(A)).Y, p.Y - 1, 1e-3) << zoom;
    EXPECT_NEAR(A->GetBounds().Width() - b.Width(), mm, 1e-3) << zoom;
  }
}

}  // namespace
}  // namespace vorn::test
