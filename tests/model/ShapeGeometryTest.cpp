// Bounds, moves, sizes, positions and rotation of shapes, and their hit tests.

#include "ModelTestSupport.h"

namespace vorn::test {
namespace {

using ShapeGeometry = ModelFixture;

TEST_F(ShapeGeometry, MovesAndSizesKeepTheRules) {
  struct TCase {
    const char* Name;
    TDPointArray Points;
    std::function<void(TTestShape*)> Op;
    TDPointArray Expected;
  };
  using S = TTestShape;
  using enum TKxDeShapeRefPos;
  const TCase cases[] = {
      {"resize: top-left stays", {{1, 1}, {3, 1}, {3, 5}}, [](S* s) { s->Resize(8, 2); }, {{1, 1}, {9, 1}, {9, 3}}},
      {"a negative size keeps that side", {{10, 10}, {20, 30}}, [](S* s) { s->Resize(-1, 40); }, {{10, 10}, {20, 50}}},
      {"a flat side scales by 1", {{0, 5}, {10, 5}}, [](S* s) { s->Resize(20, 8); }, {{0, 5}, {20, 5}}},
      {"one point is not resized", {{3, 3}}, [](S* s) { s->Resize(10, 10); }, {{3, 3}}},
      {"or resized by", {{3, 3}}, [](S* s) { s->ResizeBy(4, 4); }, {{3, 3}}},
      {"resize by grows the size", {{0, 0}, {10, 20}}, [](S* s) { s->ResizeBy(5, -10); }, {{0, 0}, {15, 10}}},
      {"negative bounds: far edges", {{0, 0}, {1, 1}}, [](S* s) { s->SetBounds(9, 9, -2, -3); }, {{7, 6}, {9, 9}}},
      {"move to the top-left corner", {{5, 5}, {15, 25}}, [](S* s) { s->MoveTo(0, 100); }, {{0, 100}, {10, 120}}},
      {"middle reference", {{0, 0}, {40, 20}}, [](S* s) { s->SetPosition(kxrpMidMid, 9, 9); }, {{-11, -1}, {29, 19}}},
      {"bottom right", {{0, 0}, {4, 2}}, [](S* s) { s->SetPosition(kxrpBottomRight, 0, 0); }, {{-4, -2}, {0, 0}}},
      {"no points: no move", {}, [](S* s) { s->MoveBy(5, 5); }, {}},
      {"no points: no bounds", {}, [](S* s) { s->SetBounds(1, 2, 3, 4); }, {}},
  };
  for (const TCase& c : cases) {
    TOwned<TTestShape> s(Create<TTestShape>(nullptr, nullptr));
    for (const TPointF& p : c.Points) s->Add(p.X, p.Y);
    c.Op(s.get());
    EXPECT_EQ(s->GetPointArray(), c.Expected) << c.Name;
  }
}

TEST_F(ShapeGeometry, BoundsCentresAndMillimetreEdges) {
  AddPoints({{10, 40}, {-5, 20}, {30, 25}});
  EXPECT_EQ(Shape->GetBounds(), (TRectF{-5, 20, 30, 40}));
  EXPECT_EQ(Shape->GravityCenter(), (TPointF{12.5f, 30}));
  EXPECT_EQ(Shape->PointValue(3), TPointF{}) << "outside the list";
  const float f = CoordsPixelsPerMMConvertValue;
  Shape->SetBounds(0, 0, 10 * f, 20 * f);
  Shape->SetLeft(5);
  EXPECT_FLOAT_EQ(Shape->Right(), 15);
  Shape->SetBottom(30);
  EXPECT_FLOAT_EQ(Shape->Top(), 10);
  Log.Clear();
  Shape->SetTop(Shape->Top());
  EXPECT_TRUE(Log.Entries.empty()) << "the edge is there already";
  // Pushed and popped positions move back.
  Shape->UpdateRefPoint();
  Shape->PositionPush();
  Shape->MoveBy(5, 7);
  Shape->UpdateRefPoint();
  Shape->PositionPop();
  EXPECT_FLOAT_EQ(Shape->Left(), 5);
}

TEST_F(ShapeGeometry, InRectAndIsOnLine) {
  AddPoints({{0, 0}, {100, 0}, {100, 100}});
  EXPECT_TRUE(Shape->InRect(TRectF{40, -5, 60, 5})) << "a segment crosses";
  EXPECT_TRUE(Shape->InRect(TRectF{-5, -5, 5, 5})) << "a point lies inside";
  EXPECT_FALSE(Shape->InRect(TRectF{40, 5, 60, 10}));
  EXPECT_FALSE(Shape->InRect(TRectF{40, -5, 40, 5})) << "an empty rectangle takes nothing";
  EXPECT_TRUE(Shape->IsOnLine(TPointF{50, 2}));
  EXPECT_FALSE(Shape->IsOnLine(TPointF{50, 3}));
  EXPECT_FALSE(Shape->IsOnLine(TPointF{50, 50})) << "the closing segment is not part of the line";
}

TEST_F(ShapeGeometry, RotationIsNormalisedAndTurnsTheBoundsAboutTheRotationPoint) {
  const std::pair<float, float> cases[] = {{-90, 270},    {360, 0},          {725.5f, 5.5f},     {-0.005f, 0},
                                           {359.996f, 0}, {12.345f, 12.35f}, {-360.25f, 359.75f}};
  for (const auto& [given, stored] : cases) {
    Shape->SetRotation(given);
    EXPECT_FLOAT_EQ(Shape->Rotation(), stored) << "SetRotation(" << given << ")";
  }
  AddPoints({{0, 0}, {40, 20}});
  Shape->SetRotation(90);
  ExpectNear(Shape->GetRotatedBounds(), TRectF{10, -10, 30, 30});
  Shape->SetRotationCenter(TKxDeRotationCenter::kxdroPtBottomLeft);
  EXPECT_EQ(Shape->RotationPoint(), (TPointF{0, 20}));
  ExpectNear(Shape->GetRotatedBounds(), TRectF{-20, -20, 0, 20});
  Shape->SetRotationCenter(TKxDeRotationCenter::kxdroPtGravity);
  Shape->SetPosition(TKxDeShapeRefPos::kxrpTopLeft, 0, 0);
  ExpectNear(Shape->GetRotatedBounds(), TRectF{0, 0, 20, 40});
  // Turning about a point carries the gravity centre: (20, 0) a quarter about the origin is (0, -20).
  Shape->SetRotation(0);
  Shape->SetBounds(10, -5, 20, 10);
  Shape->RotateAroundPoint(90, TPointF{0, 0}, TPointF{1, 1});
  EXPECT_FLOAT_EQ(Shape->Rotation(), 90);
  ExpectNear(Shape->GravityCenter(), TPointF{1, -19});
}

class ShapeHit : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    AddPoints({{0, 0}, {100, 0}, {100, 20}, {0, 20}});
  }
};

TEST_F(ShapeHit, PointsAreFoundOnWholeUnitsTheLastOfOverlappingOnesAndRenumberedWhenTurned) {
  Shape->Add(10.4f, 10.6f);
  Shape->Add(100, 0);
  EXPECT_EQ(Shape->PointAt(TPointF{10, 11}, 0), 4) << "points are compared on whole units";
  EXPECT_EQ(Shape->PointAt(TPointF{100.3f, 0}, 0), -1) << "Fuzz 0 needs an exact match";
  EXPECT_EQ(Shape->PointAt(TPointF{101.5f, 1.5f}, 4), 5) << "the last of overlapping points";
  EXPECT_EQ(Shape->PointAt(TPointF{102.5f, 0}, 4), -1);
  Shape->Delete(5);
  Shape->Delete(4);
  Shape->SetRotation(90);  // point 1 (100, 0) shows at (40, -40), point 0 at (40, 60)
  EXPECT_EQ(Shape->PointAt(TPointF{40, -40}, 4), 2);
  EXPECT_EQ(Shape->PointAt(TPointF{41, 61}, 4), 3);
  EXPECT_EQ(Shape->PointAt(TPointF{100, 0}, 4), 1) << "an exact match on the stored point is not renumbered";
  EXPECT_EQ(Shape->PointAt(TPointF{101, 1}, 4), -1);
}

TEST_F(ShapeHit, HitTestLooksForControlsThenPointsThenTheBody) {
  const struct {
    TPointF At;
    float PointSize;
    bool Selected, Editing;
    TKxDeShapePart Part;
    int32_t Index;
  } cases[] = {
      {{100, 0}, 8, true, false, TKxDeShapePart::kxspNone, -1},  // not editing: only the body
      {{0, 0}, 8, true, false, TKxDeShapePart::kxspShape, -1},
      {{0.4f, 0}, 0, false, true, TKxDeShapePart::kxspPoint, 0},  // PointSize 0 counts as 1
      {{50, 10}, 4, false, true, TKxDeShapePart::kxspShape, -1},
      {{300, 300}, 4, true, true, TKxDeShapePart::kxspNone, -1},
      {{100, 0}, 4, false, true, TKxDeShapePart::kxspPoint, 1},  // controls count only with their style
  };
  Create<TKxDeControl>(Shape)->SetPosition(100, 0);
  for (const auto& c : cases) {
    const TKxDeShapeHit hit = Shape->HitTest(c.At, 0, c.PointSize, c.Selected, c.Editing, {});
    EXPECT_EQ(hit.Part, c.Part) << c.At.X << "," << c.At.Y;
    EXPECT_EQ(hit.PartIndex, c.Index) << c.At.X << "," << c.At.Y;
  }
  TKxDeHitTest hit;
  hit.HitType = TKxDeHitType::kxhtPoint;
  hit.State = TKxDeShapeHitState::kxhsSelected;
  hit.PartIndex = 1;
  EXPECT_EQ(Shape->GetCursor(hit), crSizeNESW);
  Shape->SetRotation(100);
  EXPECT_EQ(Shape->GetCursor(hit), crSizeNWSE) << "the quadrant of the rotation turns the cursor";
  Shape->SetRotation(0);
  Shape->SetShapeStyle(Shape->ShapeStyle() + TKxDeShapeStyle::kxssUsesControls);
  EXPECT_EQ(Shape->HitTest(TPointF{100, 0}, 0, 4, true, true, {}).Part, TKxDeShapePart::kxspControl);
  EXPECT_EQ(Shape->ControlAt(TPointF{103, 0}, 4), -1);
}

}  // namespace
}  // namespace vorn::test
