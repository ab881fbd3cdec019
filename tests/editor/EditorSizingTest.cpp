// Reshaping with the mouse: the handles of a selected shape, turned or not, a shape that keeps
// its proportions, Bezier handles, grid snapping, adding and removing points, cancelling, and
// the outline the user sees while dragging.

#include "EditorFixture.h"

#include <QApplication>

namespace vorn::test {
namespace {

// A box with eight handles, as host shapes have them: the corners (0 top-left, 1 top-right,
// 2 bottom-right, 3 bottom-left) and the middles of the edges (4 top, 5 right, 6 bottom,
// 7 left). A dragged corner takes its two edges along, a dragged middle its edge; the handles
// then move back onto the new box.
class TSizingBox : public TVornShape {
 public:
  TSizingBox(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TVornShape(ASurface, AOwner) {
    IncludeStyles({TKxDeShapeStyle::kxssUsesBrush});
    BeginPointUpdate();
    for (int i = 0; i < 8; ++i) Add(0, 0);
    EndPointUpdate();
  }
  void Place(const TRectF& R) { FBox = R, Arrange(); }
  // The page position of point I.
  TPointF OnPage(int32_t I) const { return TKxDeUtils::RotatePoint(GetPointValue(I), Rotation(), GetRotationPoint()); }

 protected:
  QPainterPath GeometryPath(const TVornVertices& V, float) const override {
    QPainterPath path;
    if (V.size() == 8) path.addRect(QRectF(QPointF(V[0].P.X, V[0].P.Y), QPointF(V[2].P.X, V[2].P.Y)));
    return path;
  }
  void PointChanging(TKxDePoint*) override {
    if (!FArranging && !InPointUpdate()) FBox = TRectF{PointValue(0).X, PointValue(0).Y, PointValue(2).X, PointValue(2).Y};
  }
  void PointChanged(TKxDePoint* Point) override {
    // The edges (left, top, right, bottom) each handle carries.
    static constexpr bool edges[8][4] = {{1, 1, 0, 0}, {0, 1, 1, 0}, {0, 0, 1, 1}, {1, 0, 0, 1},
                                         {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}, {1, 0, 0, 0}};
    const int32_t i = IndexOf(Point);
    if (FArranging || InPointUpdate() || i < 0 || i > 7) return;
    const TPointF p = Point->GetValue();
    float* sides[4] = {&FBox.Left, &FBox.Top, &FBox.Right, &FBox.Bottom};
    for (int k = 0; k < 4; ++k)
      if (edges[i][k]) *sides[k] = k % 2 == 0 ? p.X : p.Y;
    Arrange();
  }

 private:
  void Arrange() {
    FArranging = true;
    const TRectF& b = FBox;
    const float mx = (b.Left + b.Right) / 2;
    const float my = (b.Top + b.Bottom) / 2;
    const TPointF at[8] = {{b.Left, b.Top}, {b.Right, b.Top}, {b.Right, b.Bottom}, {b.Left, b.Bottom},
                           {mx, b.Top},     {b.Right, my},    {mx, b.Bottom},     {b.Left, my}};
    for (int i = 0; i < 8; ++i) Points(i)->SetPosition2(at[i].X, at[i].Y);
    FArranging = false;
    Changed(false);
  }
  TRectF FBox;
  bool FArranging = false;
};

class EditorSizing : public TEditorWindow<> {
 protected:
  void SetUp() override {
    TEditorWindow::SetUp();
    // Snapping is on by default; the cases that test it turn it on again.
    E.SetEditOptions(E.EditOptions() - TKxDeEditOption::kxdoSnapToGrid);
    E.show();
  }
  // A selected sizing box named Name, turned by Rotation about its centre.
  TFaulty<TSizingBox>* Sized(const char* Name, const TRectF& R, float Rotation = 0) {
    auto* s = Create<TFaulty<TSizingBox>>(nullptr, Layer);
    s->Place(R);
    s->SetRotation(Rotation);
    s->SetName(QString::fromLatin1(Name));
    s->Brush()->SetStyle(TBrushStyle::bsSolid);
    E.Select(s);
    E.Undo.clear();
    return s;
  }
  TVornPolyline* Polyline(std::initializer_list<TPointF> Points) {
    auto* s = Create<TVornPolyline>(nullptr, Layer);
    for (const TPointF& p : Points) s->Add(p.X, p.Y);
    s->SetName(QStringLiteral("P"));
    E.Select(s);
    E.Undo.clear();
    return s;
  }
  static void ExpectNear(const TPointF& A, const TPointF& B, float Tolerance = 1e-3f) {
    EXPECT_NEAR(A.X, B.X, Tolerance);
    EXPECT_NEAR(A.Y, B.Y, Tolerance);
  }
  static TPointF Size(const TKxDeShapeBase* S) {
    const TRectF b = S->GetBounds();
    return TPointF{b.Right - b.Left, b.Bottom - b.Top};
  }
};

TEST_F(EditorSizing, EachHandleSizesATurnedBox) {
  // A 120 x 60 box turned about its centre. Dragging a handle by (dx, dy) on the page sizes the
  // box in its own frame; the dragged handle follows the pointer (a middle handle only across
  // its edge) and the opposite handle stays where it was on the page.
  struct Case {
    float Rotation;
    int Handle;
    QPoint By;
    TPointF NewSize;
    TPointF HandleMoves;  // on the page
  };
  const Case cases[] = {
      {90, 0, {10, -20}, {100, 50}, {10, -20}},  {90, 1, {10, -20}, {140, 50}, {10, -20}},
      {90, 2, {10, -20}, {140, 70}, {10, -20}},  {90, 3, {10, -20}, {100, 70}, {10, -20}},
      {90, 4, {10, -20}, {120, 50}, {10, 0}},    {90, 5, {10, -20}, {140, 60}, {0, -20}},
      {90, 6, {10, -20}, {120, 70}, {10, 0}},    {90, 7, {10, -20}, {100, 60}, {0, -20}},
      {180, 0, {-6, 14}, {114, 74}, {-6, 14}},   {180, 2, {-6, 14}, {126, 46}, {-6, 14}},
      {180, 5, {-6, 14}, {126, 60}, {-6, 0}},    {180, 6, {-6, 14}, {120, 46}, {0, 14}},
      {270, 1, {8, 12}, {132, 68}, {8, 12}},     {270, 3, {8, 12}, {108, 52}, {8, 12}},
      {270, 4, {8, 12}, {120, 68}, {8, 0}},      {270, 7, {8, 12}, {108, 60}, {0, 12}},
  };
  static constexpr int opposite[8] = {2, 3, 0, 1, 6, 7, 4, 5};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "rotation " << c.Rotation << ", handle " << c.Handle);
    TSizingBox* b = Sized("X", TRectF{100, 80, 220, 140}, c.Rotation);
    const TPointF handle = b->OnPage(c.Handle);
    const TPointF stays = b->OnPage(opposite[c.Handle]);
    Drag(At(handle), At(handle) + c.By);
    ExpectNear(Size(b), c.NewSize);
    ExpectNear(b->OnPage(c.Handle), handle + c.HandleMoves);
    ExpectNear(b->OnPage(opposite[c.Handle]), stays);
    EXPECT_EQ(b->Rotation(), c.Rotation);
    EXPECT_EQ(E.Undo, (Strings{"begin", "kxacSizing X", "end"}));
    EXPECT_EQ(E.EditState(), kxesNone);
    Free(b);
  }
}

TEST_F(EditorSizing, AShapeThatKeepsItsProportionsIsSizedAlongItsDiagonal) {
  // A 200 x 100 box: the larger component of the drag stays, the other follows the diagonal
  // that runs through the handle; with Ctrl the drag stays as the pointer made it.
  struct Case {
    int Handle;
    QPoint By;
    Qt::KeyboardModifiers Keys;
    TPointF Moves;
  };
  const Case cases[] = {
      {0, {30, 4}, {}, {30, 15}},
      {1, {30, 4}, {}, {30, -15}},
      {2, {4, -20}, {}, {-40, -20}},
      {3, {-20, 6}, {}, {-20, 10}},
      {0, {30, 4}, Qt::ControlModifier, {30, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "handle " << c.Handle);
    TSizingBox* b = Sized("X", TRectF{60, 60, 260, 160});
    b->SetShapeStyle(b->ShapeStyle() + TKxDeShapeStyle::kxssProportionnalResize);
    const TPointF handle = b->GetPointValue(c.Handle);
    Drag(At(handle), At(handle) + c.By, c.Keys);
    ExpectNear(b->GetPointValue(c.Handle), handle + c.Moves);
    if (c.Keys == Qt::KeyboardModifiers{}) {
      EXPECT_NEAR(Size(b).X / Size(b).Y, 2.0f, 1e-4);
    }
    Free(b);
  }
}

TEST_F(EditorSizing, BezierHandleDragsMoveOnlyThatHandle) {
  struct Case {
    int Point;
    int Sub;  // the handle pressed, -1 for the point itself (pulled with Alt)
    QPoint By;
    bool HasC1, HasC2;
    TPointF C1, C2;
  };
  const Case cases[] = {
      {1, 1, {10, 5}, true, true, {-30, 0}, {40, 5}},
      {1, 0, {-7, 12}, true, true, {-37, 12}, {30, 0}},
      // Dragged back onto its point, a handle disappears.
      {1, 0, {30, 0}, false, true, {}, {30, 0}},
      // Alt on a point without handles pulls its second handle out.
      {0, -1, {12, -9}, false, true, {}, {12, -9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "point " << c.Point << ", handle " << c.Sub);
    TVornPolyline* s = Polyline({{40, 200}, {120, 120}, {200, 200}});
    TKxDePoint* mid = s->Points(1);
    mid->SetControl_1(mid->NewControl(-30, 0));
    mid->SetControl_2(mid->NewControl(30, 0));
    E.Undo.clear();
    const std::vector<TPointF> before = s->GetPointArray();
    TKxDePoint* p = s->Points(c.Point);
    const TPointF from = c.Sub < 0   ? p->GetValue()
                         : c.Sub == 0 ? p->GetValue() + p->Control_1()->GetValue()
                                      : p->GetValue() + p->Control_2()->GetValue();
    Drag(At(from), At(from) + c.By, c.Sub < 0 ? Qt::AltModifier : Qt::NoModifier);
    EXPECT_EQ(s->GetPointArray(), before);
    ASSERT_EQ(p->Control_1() != nullptr, c.HasC1);
    ASSERT_EQ(p->Control_2() != nullptr, c.HasC2);
    if (c.HasC1) ExpectNear(p->Control_1()->GetValue(), c.C1);
    if (c.HasC2) ExpectNear(p->Control_2()->GetValue(), c.C2);
    // The other point's handles are left alone.
    if (c.Point != 1) {
      EXPECT_EQ(mid->Control_2()->GetValue(), (TPointF{30, 0}));
    }
    EXPECT_EQ(E.Undo, (Strings{"begin", "kxacSizing P", "end"}));
    Free(s);
  }
}

TEST_F(EditorSizing, DraggedPointsLandOnTheGrid) {
  // Grid 10 mm: lines at whole units 0, 38, 76, 113, ... A corner at (80, 80) dragged by
  // (25, 12) reaches (105, 92), whose nearest lines are 113 and 76.
  struct Case {
    bool Snap;
    int Sense;
    QPoint By;
    TPointF Lands;
  };
  const Case cases[] = {
      {false, 1, {25, 12}, {105, 92}},
      {true, 1, {25, 12}, {113, 76}},
      {true, 1, {-25, -30}, {38, 38}},
      {false, 3, {25, 13}, {104, 92}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Snap << " " << c.By.x() << "," << c.By.y());
    TKxDeEditOptions o = E.EditOptions();
    if (c.Snap) o += TKxDeEditOption::kxdoSnapToGrid;
    else o -= TKxDeEditOption::kxdoSnapToGrid;
    E.SetEditOptions(o);
    E.SetMouseSense(c.Sense);
    TSizingBox* b = Sized("X", TRectF{20, 20, 80, 80});
    Drag(At({80, 80}), At({80, 80}) + c.By);
    ExpectNear(b->GetPointValue(2), c.Lands);
    ExpectNear(b->GetPointValue(0), TPointF{20, 20});
    Free(b);
  }
}

TEST_F(EditorSizing, PointsAreAddedAndRemovedByClicks) {
  TVornPolyline* s = Polyline({{40, 200}, {120, 120}, {200, 200}});
  E.BeginPointAdd();
  EXPECT_EQ(E.EditState(), kxesAddPoint);
  // A click on the first segment inserts a point there and picks it; the state stays.
  QTest::mouseClick(&E, Qt::LeftButton, {}, At({80, 160}));
  ASSERT_EQ(s->PointCount(), 4);
  ExpectNear(s->GetPointValue(1), TPointF{80, 160}, 1.0f);
  EXPECT_TRUE(s->IsSelected(1));
  EXPECT_EQ(E.EditState(), kxesAddPoint);
  // Off the line nothing is added.
  QTest::mouseClick(&E, Qt::LeftButton, {}, At({150, 60}));
  EXPECT_EQ(s->PointCount(), 4);
  E.EndPointAdd();
  EXPECT_EQ(E.EditState(), kxesNone);

  E.BeginPointRemove();
  E.Undo.clear();
  QTest::mouseClick(&E, Qt::LeftButton, {}, At({120, 120}));
  ASSERT_EQ(s->PointCount(), 3);
  ExpectNear(s->GetPointValue(1), TPointF{80, 160}, 1.0f);
  EXPECT_EQ(s->GetPointValue(2), (TPointF{200, 200}));
  EXPECT_EQ(E.Undo.front(), "begin");
  EXPECT_EQ(E.Undo.back(), "end");
  EXPECT_EQ(E.EditState(), kxesRemovePoint);
  // Removing the last point removes the shape, and the state ends with it.
  const int32_t before = Layer->ItemCount();
  for (const TPointF p : s->GetPointArray()) QTest::mouseClick(&E, Qt::LeftButton, {}, At(p));
  EXPECT_EQ(Layer->ItemCount(), before - 1);
  EXPECT_EQ(E.SelectionCount(), 0);
  EXPECT_EQ(E.EditState(), kxesNone);
}

TEST_F(EditorSizing, ApplySizingSpansBoxesAndStraightensPolylineSegments) {
  // A rectangle-type shape spans the drag from its anchor, whichever way it goes; with the
  // ControlKeys it grows from the anchor as its centre.
  struct BoxCase {
    TPointF To;
    TKxDeShiftKeys Keys;
    TRectF Bounds;
  };
  const BoxCase boxes[] = {
      {{4, 2}, {}, {4, 2, 10, 10}},
      {{30, 25}, {}, {10, 10, 30, 25}},
      {{4, 2}, {TKxDeShiftKey::kxskAlt}, {4, 2, 16, 18}},
  };
  for (const BoxCase& c : boxes) {
    auto* r = Create<TVornRectangle>(nullptr, Layer);
    r->SetBounds(10, 10, 0, 0);
    E.ApplySizing(r, -1, -1, TPointF{10, 10}, c.To, c.Keys);
    EXPECT_EQ(r->GetBounds(), c.Bounds);
    Free(r);
  }
  // A polyline's point keeps the segment to its previous point level or upright, unless Ctrl
  // is held.
  TVornPolyline* s = Polyline({{0, 0}, {0, 0}, {0, 0}});
  E.ApplySizing(s, 2, -1, TPointF{0, 0}, TPointF{10, 3}, {});
  EXPECT_EQ(s->GetPointValue(2), (TPointF{10, 0}));
  EXPECT_EQ(s->Points(2)->dx(), 10);
  EXPECT_EQ(s->Points(2)->dy(), 3);
  E.ApplySizing(s, 2, -1, TPointF{10, 0}, TPointF{20, 3}, TKxDeShiftKeys{TKxDeShiftKey::kxskCtrl});
  EXPECT_EQ(s->GetPointValue(2), (TPointF{20, 3}));
  // Indices out of range change nothing.
  E.ApplySizing(s, 1, 2, TPointF{0, 0}, TPointF{5, 5}, {});
  E.ApplyControlMove(s, 0, TPointF{0, 0}, TPointF{5, 5}, {});
  EXPECT_EQ(s->GetPointArray(), (std::vector<TPointF>{{0, 0}, {0, 0}, {20, 3}}));
}

TEST_F(EditorSizing, EscapeOrAShapeThatRaisesCancelsTheSizing) {
  auto* b = Sized("X", TRectF{20, 20, 80, 80});
  // Escape, or drawing the dragged outline raising, ends the gesture and the release changes nothing.
  for (bool escape : {true, false}) {
    SCOPED_TRACE(escape ? "escape" : "drawing raises");
    Hold(At({80, 80}), At({130, 110}), {}, 1);
    EXPECT_EQ(E.EditState(), kxesSizing);
    if (escape) {
      QTest::keyClick(&E, Qt::Key_Escape);
      EXPECT_EQ(E.EditState(), kxesNone);
    } else {
      b->FailDraw = true;
      EXPECT_FALSE(E.grab().isNull());
      QApplication::processEvents();
    }
    QTest::mouseRelease(&E, Qt::LeftButton, {}, At({130, 110}));
    EXPECT_EQ(b->GetBounds(), (TRectF{20, 20, 80, 80}));
    EXPECT_TRUE(E.Undo.empty());
    EXPECT_EQ(E.EditState(), kxesNone);
  }
  EXPECT_EQ(E.Selections(), (std::vector<TKxDeShapeBase*>{b}));
}

TEST_F(EditorSizing, TheDraggedOutlineShowsWhereTheShapeWillBe) {
  TKxDeShapeBase* r = Box("R", 40, 40, 80, 60);
  E.Select(r);
  const QImage before = Grab("editor-before-sizing");
  Hold(At({120, 100}), At({200, 160}));
  const QImage during = Grab("editor-sizing");
  // The outline runs in the dotted magenta MoveSize pen along the new edges.
  EXPECT_TRUE(Marked(during, At({200, 120}), QPoint(0, 1)));
  EXPECT_TRUE(Marked(during, At({160, 160}), QPoint(1, 0)));
  EXPECT_TRUE(Marked(during, At({40, 130}), QPoint(0, 1)));
  EXPECT_FALSE(Marked(before, At({200, 120}), QPoint(0, 1)));
  // Nothing is drawn inside the new box, and the shape itself has not changed yet.
  EXPECT_FALSE(Marked(during, At({160, 130}), QPoint(1, 0)));
  EXPECT_EQ(Pixel(during, At({80, 70})), Pixel(before, At({80, 70})));
  EXPECT_EQ(r->GetBounds(), (TRectF{40, 40, 120, 100}));
  QTest::mouseRelease(&E, Qt::LeftButton, {}, At({200, 160}));
  EXPECT_EQ(r->GetBounds(), (TRectF{40, 40, 200, 160}));
  EXPECT_FALSE(Marked(Grab("editor-after-sizing"), At({200, 120}), QPoint(0, 1)));
}

}  // namespace
}  // namespace vorn::test
