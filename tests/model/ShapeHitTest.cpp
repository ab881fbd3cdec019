// Hit testing of a shape's body, points and controls, with and without rotation; cursors.

#include "ModelTestSupport.h"

#include <vorn/model/KxDeControl.h>

namespace vorn::test {
namespace {

class ShapeHit : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    AddPoints({{0, 0}, {100, 0}, {100, 20}, {0, 20}});
  }
};

TEST_F(ShapeHit, BodyWithoutRotationIsTheBoundsWithLeftAndTopEdgesInside) {
  EXPECT_TRUE(Shape->PointOnShape(TPointF{50, 10}, 0, false));
  EXPECT_TRUE(Shape->PointOnShape(TPointF{0, 0}, 0, false));
  EXPECT_FALSE(Shape->PointOnShape(TPointF{100, 10}, 0, false));
  EXPECT_TRUE(Shape->PointOnShape(TPointF{100, 10}, 1, false)) << "Fuzz widens every side";
  EXPECT_FALSE(Shape->PointOnShape(TPointF{-0.5f, 10}, -3, false)) << "a negative Fuzz counts as 0";
}

TEST_F(ShapeHit, BodyWithRotationIsTheTurnedBounds) {
  Shape->SetRotation(90);  // about the centre (50, 10): x in [40, 60], y in [-40, 60]
  EXPECT_TRUE(Shape->PointOnShape(TPointF{50, -30}, 0, false));
  EXPECT_FALSE(Shape->PointOnShape(TPointF{90, 10}, 0, false));
  EXPECT_TRUE(Shape->PointOnShape(TPointF{61.5f, 0}, 2, false));
}

TEST_F(ShapeHit, PointAtMatchesTheRoundedPointOrASquareOfSideFuzz) {
  Shape->Add(10.4f, 10.6f);
  EXPECT_EQ(Shape->PointAt(TPointF{100, 0}, 0), 1);
  EXPECT_EQ(Shape->PointAt(TPointF{10, 11}, 0), 4) << "points are compared on whole units";
  EXPECT_EQ(Shape->PointAt(TPointF{100.3f, 0}, 0), -1) << "Fuzz 0 needs an exact match";
  EXPECT_EQ(Shape->PointAt(TPointF{101.5f, 1.5f}, 4), 1);
  EXPECT_EQ(Shape->PointAt(TPointF{102.5f, 0}, 4), -1);
}

TEST_F(ShapeHit, PointAtPrefersTheLastOfOverlappingPoints) {
  Shape->Add(100, 0);
  EXPECT_EQ(Shape->PointAt(TPointF{100, 0}, 3), 4);
}

TEST_F(ShapeHit, PointAtOnATurnedShapeRenumbersWhatTheTurnedSquareFinds) {
  Shape->SetRotation(90);
  // Point 1 (100, 0) is shown at (40, -40), point 0 (0, 0) at (40, 60).
  EXPECT_EQ(Shape->PointAt(TPointF{40, -40}, 4), 2);
  EXPECT_EQ(Shape->PointAt(TPointF{41, 61}, 4), 3);
  EXPECT_EQ(Shape->PointAt(TPointF{100, 0}, 4), 1) << "an exact match on the stored point is not renumbered";
  EXPECT_EQ(Shape->PointAt(TPointF{101, 1}, 4), -1) << "the unturned square is not tested";
}

TEST_F(ShapeHit, HitTestWithoutEditingTestsOnlyTheBody) {
  const TKxDeShapeHit hit = Shape->HitTest(TPointF{100, 0}, 0, 8, true, false, {});
  EXPECT_EQ(hit.Part, TKxDeShapePart::kxspNone) << "the right edge is outside the body";
  const TKxDeShapeHit body = Shape->HitTest(TPointF{0, 0}, 0, 8, true, false, {});
  EXPECT_EQ(body.Part, TKxDeShapePart::kxspShape);
  EXPECT_EQ(body.PartIndex, -1);
  EXPECT_EQ(body.SubIndex, -1);
}

TEST_F(ShapeHit, HitTestWhileEditingFindsPointsBeforeTheBody) {
  TKxDeShapeHit hit = Shape->HitTest(TPointF{0.4f, 0}, 0, 0, false, true, {});
  EXPECT_EQ(hit.Part, TKxDeShapePart::kxspPoint) << "PointSize 0 counts as 1";
  EXPECT_EQ(hit.PartIndex, 0);
  hit = Shape->HitTest(TPointF{50, 10}, 0, 4, false, true, {});
  EXPECT_EQ(hit.Part, TKxDeShapePart::kxspShape);
  EXPECT_EQ(hit.PartIndex, -1) << "the index of the last attempt, the point search";
  hit = Shape->HitTest(TPointF{300, 300}, 0, 4, true, true, {});
  EXPECT_EQ(hit.Part, TKxDeShapePart::kxspNone);
}

TEST_F(ShapeHit, HitTestFindsControlsFirstWhenTheShapeUsesThem) {
  auto* c = Create<TKxDeControl>(Shape);
  c->SetPosition(100, 0);
  TKxDeShapeHit hit = Shape->HitTest(TPointF{100, 0}, 0, 4, false, true, {});
  EXPECT_EQ(hit.Part, TKxDeShapePart::kxspPoint) << "controls count only with kxssUsesControls";
  Shape->SetShapeStyle(Shape->ShapeStyle() + TKxDeShapeStyle::kxssUsesControls +
                       TKxDeShapeStyle::kxssUsesPointControls);
  hit = Shape->HitTest(TPointF{100, 0}, 0, 4, true, true, {});
  EXPECT_EQ(hit.Part, TKxDeShapePart::kxspControl);
  EXPECT_EQ(hit.PartIndex, 0);
  EXPECT_EQ(Shape->ControlAt(TPointF{103, 0}, 4), -1);
}

TEST_F(ShapeHit, CursorFollowsTheHitAndTheQuadrantOfTheRotation) {
  TKxDeHitTest hit;
  hit.HitType = TKxDeHitType::kxhtPoint;
  hit.State = TKxDeShapeHitState::kxhsSelected;
  hit.PartIndex = 0;
  EXPECT_EQ(Shape->GetCursor(hit), crSizeNWSE);
  EXPECT_EQ(CursorToQt(Shape->GetCursor(hit)), Qt::SizeFDiagCursor);
  hit.PartIndex = 1;
  EXPECT_EQ(Shape->GetCursor(hit), crSizeNESW);
  Shape->SetRotation(100);
  EXPECT_EQ(Shape->GetCursor(hit), crSizeNWSE);
  hit.PartIndex = 2;
  EXPECT_EQ(Shape->GetCursor(hit), crSizeNESW);

  hit.State = TKxDeShapeHitState::kxhsHot;
  EXPECT_EQ(Shape->GetCursor(hit), crSizeAll);
  hit.HitType = TKxDeHitType::kxhtShape;
  EXPECT_EQ(Shape->GetCursor(hit), crSizeAll);
  hit.HitType = TKxDeHitType::kxhtLayer;
  EXPECT_EQ(Shape->GetCursor(hit), crDefault);
}

}  // namespace
}  // namespace vorn::test
