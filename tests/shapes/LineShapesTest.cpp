// Line shapes of the kit: the line with its ends, the polyline and polygon with Bezier handles,
// and the free-hand line.
#include "ShapeTestSupport.h"

using namespace vorn;
using namespace vorn::test;

namespace {

// A blue line of 1 mm (4 device pixels at zoom 1) from (20, 50) to (180, 50).
TOwned<TVornLine> BlueLine() {
  auto l = MakeShape<TVornLine>();
  l->Add(20, 50);
  l->Add(180, 50);
  l->Pen()->SetColor(clBlue);
  l->Pen()->SetWidth(1.0f);
  return l;
}

// The point of a cubic Bezier at t.
TPointF Bezier(TPointF A, TPointF B, TPointF C, TPointF D, double t) {
  const double u = 1 - t;
  auto f = [&](double a, double b, double c, double d) {
    return static_cast<float>(u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d);
  };
  return {f(A.X, B.X, C.X, D.X), f(A.Y, B.Y, C.Y, D.Y)};
}

}  // namespace

TEST(VornLine, IsHitAlongItsInkOnlyWhereverItIsTurned) {
  auto l = BlueLine();
  for (auto [at, fuzz, hit] : {std::tuple{TPointF{100, 51.5f}, 0.0f, true},
                               {TPointF{100, 53}, 0.0f, false},
                               {TPointF{100, 53}, 2.0f, true},
                               {TPointF{100, 60}, 3.0f, false}})
    EXPECT_EQ(l->PointOnShape(at, fuzz, false), hit) << at.Y << " fuzz " << fuzz;
  auto d = MakeShape<TVornLine>();
  d->Add(0, 0);
  d->Add(100, 100);
  EXPECT_TRUE(d->PointOnShape({50, 50}, 1, false));
  EXPECT_FALSE(d->PointOnShape({80, 20}, 1, false)) << "inside the box of its ends, off the line";
  l->SetRotation(90);  // about its centre (100, 50): now vertical from (100, 130) up to (100, -30)
  EXPECT_TRUE(l->PointOnShape({100, -20}, 0, false));
  EXPECT_FALSE(l->PointOnShape({170, 50}, 1, false));
  ExpectNear(l->FromShapeFrame({180, 50}), TPointF{100, -30}, 1e-3);
}

TEST(VornLine, ArrowHeadsAreFilledTrianglesAtTheEnds) {
  auto l = BlueLine();
  l->SetEndShape(TmekLineShape::mekLshArrowed);
  l->SetArrowSize(5);  // 5 mm, about 19 world units
  QPolygonF start, end;
  l->ArrowHeads(l->Vertices(), start, end);
  EXPECT_TRUE(start.isEmpty());
  ASSERT_EQ(end.size(), 3);
  EXPECT_EQ(end[0], QPointF(180, 50));
  EXPECT_NEAR(end[1].x(), 180 - MM(5), 1e-3);
  // The head is hit across its width, beyond the line's own ink.
  const float across = MM(5) * 0.2f;
  EXPECT_TRUE(l->PointOnShape({180 - MM(4), 50 + across}, 0, false));
  EXPECT_FALSE(l->PointOnShape({100, 50 + across}, 0, false));
  const QImage img = Render(l.get(), 200, 100);
  EXPECT_TRUE(Near(At(img, 180 - MM(4), 50 + across), Qt::blue));
  EXPECT_TRUE(Near(At(img, 178, 50), Qt::blue));
  EXPECT_TRUE(IsWhite(At(img, 184, 50)));  // the tip ends the line: no square cap beyond it
  EXPECT_TRUE(IsWhite(At(img, 100, 50 + across)));
}

TEST(VornLine, InRectSeesTheLineAndItsHeads) {
  auto l = BlueLine();                               // from (20, 50) to (180, 50): an extent without height
  EXPECT_TRUE(l->InRect(TRectF{0, 0, 200, 100}));    // wholly inside
  EXPECT_TRUE(l->InRect(TRectF{100, 40, 300, 60}));  // across one end
  EXPECT_TRUE(l->InRect(TRectF{90, 0, 110, 100}));   // across the middle
  EXPECT_FALSE(l->InRect(TRectF{0, 60, 200, 100}));  // beside it
  EXPECT_FALSE(l->InRect(TRectF{190, 0, 300, 100}));
  // A head is wider than the line: an area beside the tip but within the head touches it.
  l->SetEndShape(TmekLineShape::mekLshArrowed);
  l->SetArrowSize(6);
  EXPECT_TRUE(l->InRect(TRectF{170, 52, 175, 55}));
  EXPECT_FALSE(l->InRect(TRectF{100, 52, 105, 55}));
}

TEST(VornPolyline, BezierHandlesBendTheSegment) {
  auto p = MakeShape<TVornPolyline>();
  p->Add(0, 100);
  p->Add(200, 100);
  // The first point's outgoing handle and the second's incoming one pull the segment up.
  p->Points(0)->SetControl_2(p->Points(0)->NewControl(50, -120));
  p->Points(1)->SetControl_1(p->Points(1)->NewControl(-50, -120));
  const TPointF mid = Bezier({0, 100}, {50, -20}, {150, -20}, {200, 100}, 0.5);
  EXPECT_NEAR(mid.Y, 10, 1e-3);
  EXPECT_TRUE(p->PointOnShape(mid, 1, false));
  EXPECT_FALSE(p->PointOnShape({100, 100}, 3, false));  // the straight chord is not the line
  const TPointF quarter = Bezier({0, 100}, {50, -20}, {150, -20}, {200, 100}, 0.25);
  EXPECT_TRUE(p->PointOnShape(quarter, 1, false));
  const QImage img = Render(p.get(), 220, 120);
  EXPECT_FALSE(IsWhite(At(img, mid.X, mid.Y)));
  EXPECT_TRUE(IsWhite(At(img, 100, 99)));
}

TEST(VornPolyline, FindsItsHandlesAndInsertsPointsOnItsSegments) {
  auto p = MakeShape<TVornPolyline>();
  p->Add(0, 0);
  p->Add(100, 0);
  p->Add(100, 100);
  p->Points(1)->SetControl_1(p->Points(1)->NewControl(-20, 10));
  int32_t sub = -2;
  EXPECT_EQ(p->PointControlAt({80, 10}, 5, true, sub), 1);
  EXPECT_EQ(sub, 0);
  EXPECT_EQ(p->PointControlAt({50, 50}, 5, true, sub), -1);
  EXPECT_EQ(sub, -1);
  // The editor asks through HitTest when the shape is selected and edited.
  const TKxDeShapeHit hit = p->HitTest({80, 10}, 2, 5, true, true, TKxDeShiftKeys());
  EXPECT_EQ(hit.Part, TKxDeShapePart::kxspPointControl);
  EXPECT_EQ(hit.PartIndex, 1);
  EXPECT_EQ(hit.SubIndex, 0);

  p->SetRotation(180);  // about (50, 50): the handle at (80, 10) now lies at (20, 90)
  EXPECT_EQ(p->PointControlAt({20, 90}, 5, true, sub), 1);
  p->SetRotation(0);
  TKxDePoint* added = p->ApproxInsert({100, 60}, 2);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(p->PointCount(), 4);
  EXPECT_EQ(p->IndexOf(added), 2);
  EXPECT_EQ(p->ApproxInsert({40, 40}, 2), nullptr);
  EXPECT_EQ(p->PointCount(), 4);
}

TEST(VornPolygon, OpenedItIsALineWithoutFill) {
  auto p = MakeShape<TVornPolygon>();
  for (TPointF v : {TPointF{20, 20}, {180, 20}, {100, 150}}) p->Add(v.X, v.Y);
  p->Brush()->SetColor(clYellow);
  EXPECT_TRUE(p->PointOnShape({100, 60}, 0, false));
  EXPECT_TRUE(Near(At(Render(p.get(), 200, 170), 100, 60), Qt::yellow));
  p->SetClosed(false);
  EXPECT_FALSE(p->ShapeStyle().Contains(TKxDeShapeStyle::kxssUsesBrush));
  EXPECT_FALSE(p->PointOnShape({100, 60}, 0, false));
  EXPECT_TRUE(IsWhite(At(Render(p.get(), 200, 170), 100, 60)));
}

TEST(VornPolyline, SelectionShowsTheBezierHandles) {
  auto p = MakeShape<TVornPolyline>();
  p->Add(20, 80);
  p->Add(120, 80);
  p->Points(1)->SetControl_1(p->Points(1)->NewControl(0, -50));  // handle at (120, 30)
  TKxDeSelectionData data;
  data.CtrlOutColor = clRed;
  data.CtrlInColor = clYellow;
  data.PointSize = 7;
  for (auto type : {TKxDeSelectionType::kxdsSelected, TKxDeSelectionType::kxdsMoving}) {
    data.SelectionType = type;
    const QImage img = Drawn([&](TCanvas& c) { p->DrawSelection(&c, 0, 0, TKxDeDragPoint{}, data, 1.0); }, 160, 120);
    const bool moving = type == TKxDeSelectionType::kxdsMoving;  // only the outline, no handles
    EXPECT_EQ(Near(At(img, 120.5, 30.5), Qt::yellow), !moving);  // the handle's square
    EXPECT_EQ(Near(At(img, 120.5, 55), Qt::red), !moving);       // the line from the point to it
  }
}

TEST(VornFreeHand, RefineDropsPointsThatAddNothingVisible) {
  auto f = MakeShape<TVornFreeHand>();
  // A straight stroke with a slight tremble, then a sharp corner.
  for (int i = 0; i <= 100; ++i) f->Add(static_cast<float>(i), 10 + (i % 2 ? 0.05f : 0.0f));
  for (int i = 1; i <= 50; ++i) f->Add(100, 10 + static_cast<float>(i));
  f->Refine(1.0f);
  EXPECT_EQ(f->PointCount(), 3);
  EXPECT_EQ(f->PointValue(0), (TPointF{0, 10}));
  EXPECT_EQ(f->PointValue(1).X, 100);
  EXPECT_EQ(f->PointValue(2), (TPointF{100, 60}));
  // At a high zoom the tremble is visible and stays.
  auto g = MakeShape<TVornFreeHand>();
  for (int i = 0; i <= 20; ++i) g->Add(static_cast<float>(i), (i % 2 ? 1.0f : 0.0f));
  g->Refine(10.0f);
  EXPECT_EQ(g->PointCount(), 21);
}
