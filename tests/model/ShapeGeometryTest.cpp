// Bounds, moves, sizes, positions and rotation of shapes.

#include "ModelTestSupport.h"

#include <vorn/common/Canvas.h>
#include <vorn/common/Units.h>

#include <QImage>

#include <cmath>

namespace vorn::test {
namespace {

using ShapeGeometry = ModelFixture;

TEST_F(ShapeGeometry, ShapeWithoutPointsHasEmptyBoundsAndIgnoresMovesAndSizes) {
  EXPECT_EQ(Shape->GetBounds(), TRectF{});
  Shape->MoveBy(5, 5);
  Shape->SetBounds(1, 2, 3, 4);
  Shape->Resize(10, 10);
  EXPECT_EQ(Shape->PointAt(TPointF{0, 0}, 5), -1);
  EXPECT_FALSE(Shape->InRect(TRectF{-10, -10, 10, 10}));
  EXPECT_TRUE(Log.Entries.empty());
}

TEST_F(ShapeGeometry, BoundsHoldEveryPointWithTopAboveBottom) {
  AddPoints({{10, 40}, {-5, 20}, {30, 25}});
  EXPECT_EQ(Shape->GetBounds(), (TRectF{-5, 20, 30, 40}));
  EXPECT_EQ(Shape->GravityCenter(), (TPointF{12.5f, 30}));
  EXPECT_EQ(Shape->GetPointArray(), (TDPointArray{{10, 40}, {-5, 20}, {30, 25}}));
  EXPECT_EQ(Shape->PointValue(1), (TPointF{-5, 20}));
  EXPECT_EQ(Shape->PointValue(3), TPointF{}) << "outside the list";
  EXPECT_EQ(Shape->Points(-1), nullptr);
}

TEST_F(ShapeGeometry, ResizeScalesAboutTheTopLeftCorner) {
  AddPoints({{10, 10}, {20, 10}, {20, 30}});
  Shape->Resize(40, 10);
  EXPECT_EQ(Shape->GetPointArray(), (TDPointArray{{10, 10}, {50, 10}, {50, 20}}));
  Shape->Resize(-1, 40);  // a negative request keeps that side
  EXPECT_EQ(Shape->GetBounds(), (TRectF{10, 10, 50, 50}));
  Log.Clear();
  Shape->Resize(40, 40);
  EXPECT_TRUE(Log.Entries.empty()) << "already that size";
}

TEST_F(ShapeGeometry, ResizeOfAFlatShapeKeepsTheFlatSide) {
  AddPoints({{0, 5}, {10, 5}});
  Shape->Resize(20, 8);
  EXPECT_EQ(Shape->GetPointArray(), (TDPointArray{{0, 5}, {20, 5}})) << "a zero height scales by 1";
}

TEST_F(ShapeGeometry, ResizeNeedsTwoPoints) {
  AddPoints({{3, 3}});
  Shape->Resize(10, 10);
  Shape->ResizeBy(4, 4);
  EXPECT_EQ(Shape->PointValue(0), (TPointF{3, 3}));
  EXPECT_TRUE(Log.Entries.empty());
}

TEST_F(ShapeGeometry, ResizeByGrowsTheCurrentSize) {
  AddPoints({{0, 0}, {10, 20}});
  Shape->ResizeBy(5, -10);
  EXPECT_EQ(Shape->GetBounds(), (TRectF{0, 0, 15, 10}));
}

TEST_F(ShapeGeometry, NegativeSizesInSetBoundsKeepTheGivenEdgeAsTheFarOne) {
  AddPoints({{0, 0}, {10, 10}});
  Shape->SetBounds(100, 100, -20, -30);
  EXPECT_EQ(Shape->GetBounds(), (TRectF{80, 70, 100, 100}));
}

TEST_F(ShapeGeometry, MoveToPlacesTheTopLeftCorner) {
  AddPoints({{5, 5}, {15, 25}});
  Shape->MoveTo(0, 100);
  EXPECT_EQ(Shape->GetBounds(), (TRectF{0, 100, 10, 120}));
  Log.Clear();
  Shape->MoveTo(0, 100);
  EXPECT_TRUE(Log.Entries.empty());
}

TEST_F(ShapeGeometry, SetPositionMovesTheChosenReferencePointOfTheRotatedBounds) {
  AddPoints({{0, 0}, {40, 20}});
  Shape->SetPosition(TKxDeShapeRefPos::kxrpMidMid, 100, 100);
  EXPECT_EQ(Shape->GetBounds(), (TRectF{80, 90, 120, 110}));
  Shape->SetPosition(TKxDeShapeRefPos::kxrpBottomRight, 0, 0);
  EXPECT_EQ(Shape->GetBounds(), (TRectF{-40, -20, 0, 0}));
  EXPECT_EQ(Log.Only("before move").size(), 2u) << "positioning goes through MoveByWithRef";

  // Turned a quarter about its centre, the 40 x 20 shape occupies 20 x 40.
  Shape->SetRotation(90);
  Shape->SetPosition(TKxDeShapeRefPos::kxrpTopLeft, 0, 0);
  const TRectF r = Shape->GetRotatedBounds();
  EXPECT_NEAR(r.Left, 0, 1e-3);
  EXPECT_NEAR(r.Top, 0, 1e-3);
  EXPECT_NEAR(r.Width(), 20, 1e-3);
  EXPECT_NEAR(r.Height(), 40, 1e-3);
}

TEST_F(ShapeGeometry, MillimetreEdgesConvertAndMoveTheShape) {
  const float f = CoordsPixelsPerMMConvertValue;
  AddPoints({{0, 0}, {10 * f, 20 * f}});
  EXPECT_FLOAT_EQ(Shape->Right(), 10);
  EXPECT_FLOAT_EQ(Shape->Bottom(), 20);
  Shape->SetLeft(5);
  EXPECT_FLOAT_EQ(Shape->Left(), 5);
  EXPECT_FLOAT_EQ(Shape->Right(), 15);
  Shape->SetBottom(30);
  EXPECT_FLOAT_EQ(Shape->Top(), 10);
  EXPECT_EQ(Log.Only("start kxacChanging"),
            (Strings{"start kxacChanging shape Left", "start kxacChanging shape Bottom"}));
  Log.Clear();
  Shape->SetTop(Shape->Top());
  EXPECT_TRUE(Log.Entries.empty()) << "the edge is there already";
}

TEST_F(ShapeGeometry, ReferencePointPushAndPopMoveBack) {
  AddPoints({{10, 10}, {20, 20}});
  Shape->UpdateRefPoint();
  Shape->PositionPush();
  Shape->MoveBy(5, 7);
  Shape->UpdateRefPoint();
  EXPECT_EQ(Shape->RefPoint(), (TPointF{15, 17}));
  Shape->PositionPop();
  EXPECT_EQ(Shape->RefPoint(), (TPointF{10, 10}));
  EXPECT_EQ(Shape->GetBounds(), (TRectF{10, 10, 20, 20}));
}

TEST_F(ShapeGeometry, InRectAcceptsAPointInsideOrASegmentCrossing) {
  AddPoints({{0, 0}, {100, 0}});
  EXPECT_TRUE(Shape->InRect(TRectF{40, -5, 60, 5})) << "the segment crosses the rectangle";
  EXPECT_TRUE(Shape->InRect(TRectF{-5, -5, 5, 5})) << "a point lies inside";
  EXPECT_FALSE(Shape->InRect(TRectF{40, 5, 60, 10}));
  EXPECT_FALSE(Shape->InRect(TRectF{40, -5, 40, 5})) << "an empty rectangle takes nothing";
}

TEST_F(ShapeGeometry, IsOnLineTestsTheOpenPolylineWithinTwoUnits) {
  AddPoints({{0, 0}, {100, 0}, {100, 100}});
  EXPECT_TRUE(Shape->IsOnLine(TPointF{50, 2}));
  EXPECT_FALSE(Shape->IsOnLine(TPointF{50, 3}));
  EXPECT_TRUE(Shape->IsOnLine(TPointF{98, 50}));
  EXPECT_FALSE(Shape->IsOnLine(TPointF{50, 50})) << "the closing segment is not part of the line";
}

TEST_F(ShapeGeometry, RotationIsNormalisedToTwoDecimalsInZeroTo360) {
  const std::pair<float, float> cases[] = {
      {-90, 270}, {360, 0}, {725.5f, 5.5f}, {-0.005f, 0}, {359.996f, 0}, {12.345f, 12.35f}, {-360.25f, 359.75f}};
  for (const auto& [given, stored] : cases) {
    Shape->SetRotation(given);
    EXPECT_FLOAT_EQ(Shape->Rotation(), stored) << "SetRotation(" << given << ")";
  }
}

TEST_F(ShapeGeometry, RotatedBoundsTurnAboutTheRotationPoint) {
  AddPoints({{0, 0}, {40, 20}});
  Shape->SetRotation(90);
  TRectF r = Shape->GetRotatedBounds();
  EXPECT_NEAR(r.Left, 10, 1e-3);
  EXPECT_NEAR(r.Top, -10, 1e-3);
  EXPECT_NEAR(r.Right, 30, 1e-3);
  EXPECT_NEAR(r.Bottom, 30, 1e-3);
  Shape->SetRotationCenter(TKxDeRotationCenter::kxdroPtBottomLeft);
  EXPECT_EQ(Shape->RotationPoint(), (TPointF{0, 20}));
  r = Shape->GetRotatedBounds();
  // Counter-clockwise on screen about (0, 20): the right side turns up, the top turns left.
  EXPECT_NEAR(r.Left, -20, 1e-3);
  EXPECT_NEAR(r.Top, -20, 1e-3);
  EXPECT_NEAR(r.Right, 0, 1e-3);
  EXPECT_NEAR(r.Bottom, 20, 1e-3);
}

TEST_F(ShapeGeometry, RotateAroundPointTurnsAndCarriesTheGravityCentre) {
  AddPoints({{10, -5}, {30, 5}});  // gravity centre (20, 0)
  Shape->RotateAroundPoint(90, TPointF{0, 0}, TPointF{1, 1});
  EXPECT_FLOAT_EQ(Shape->Rotation(), 90);
  // (20, 0) turned a quarter counter-clockwise on screen about the origin is (0, -20).
  const TPointF g = Shape->GravityCenter();
  EXPECT_NEAR(g.X, 1, 1e-3);
  EXPECT_NEAR(g.Y, -19, 1e-3);
}

TEST_F(ShapeGeometry, PaintingTransformTurnsAboutTheCentre) {
  Shape->Rotate(TPointF{10, 0}, 90);
  const QPointF p = Shape->WSpaceMtx().map(QPointF(20, 0));
  EXPECT_NEAR(p.x(), 10, 1e-4);
  EXPECT_NEAR(p.y(), -10, 1e-4);
  Shape->Translate(TPointF{5, 6});
  const QPointF q = Shape->WSpaceMtx().map(QPointF(10, 0));
  EXPECT_NEAR(q.x(), 15, 1e-4);
  EXPECT_NEAR(q.y(), 6, 1e-4);
  Shape->SetWSpaceMtx(TKxDeShapeBase::InitWSpaceMtx());
  EXPECT_TRUE(Shape->WSpaceMtx().isIdentity());
}

TEST_F(ShapeGeometry, RotationMatrixOnlyForShapesThatRotate) {
  AddPoints({{0, 0}, {20, 10}});
  QImage image(50, 50, QImage::Format_ARGB32);
  TCanvas canvas(&image);
  Shape->SetRotationMatrix(&canvas, 0, 0, 1, 90);
  EXPECT_TRUE(canvas.Transform().isIdentity()) << "without kxssCanRotate nothing turns";

  Shape->SetShapeStyle(Shape->ShapeStyle() + TKxDeShapeStyle::kxssCanRotate);
  Shape->SetRotationMatrix(&canvas, 5, 5, 2, 90);  // bounds at zoom 2 plus offset: centre (25, 15)
  const QPointF c = canvas.Transform().map(QPointF(25, 15));
  EXPECT_NEAR(c.x(), 25, 1e-4);
  EXPECT_NEAR(c.y(), 15, 1e-4);
  const QPointF p = canvas.Transform().map(QPointF(35, 15));
  EXPECT_NEAR(p.x(), 25, 1e-4);
  EXPECT_NEAR(p.y(), 5, 1e-4);

  canvas.SetTransform(QTransform());
  Shape->SetRotationMatrix(&canvas, 0, 0, 0, 90);  // zoom 0: the surface's zoom factor, 1
  const QPointF z = canvas.Transform().map(QPointF(10, 5));
  EXPECT_NEAR(z.x(), 10, 1e-4);
  EXPECT_NEAR(z.y(), 5, 1e-4);
}

TEST_F(ShapeGeometry, DrawRectIsTheSurfacePageOrTheLayerBounds) {
  const TRectF page = Surface->GetLayerRect();
  EXPECT_EQ(Shape->DrawRect(), (TRect{0, 0, static_cast<int32_t>(page.Width()), static_cast<int32_t>(page.Height())}));
  EXPECT_EQ(Layer->DrawRect(), Shape->DrawRect()) << "a layer paints its children over its own page";
  TKxDeLayer* alone = Create<TKxDeLayer>(nullptr);
  alone->Resize(30.4f, 20.6f);
  EXPECT_EQ(alone->DrawRect(), (TRect{0, 0, 30, 21}));
  Free(alone);
  TTestShape* loose = Create<TTestShape>(nullptr, nullptr);
  EXPECT_EQ(loose->DrawRect(), TRect{}) << "no layer, no drawing area";
  Free(loose);
}

}  // namespace
}  // namespace vorn::test
