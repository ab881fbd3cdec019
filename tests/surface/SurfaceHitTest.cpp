// The surface's hit test at view points and ShapeAtPos at world points, through its index.

#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDeShapeBrush.h>
#include <vorn/shapes/VornShapes.h>
#include <vorn/surface/KxDeSurface.h>

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

TEST(SurfaceHitTest, LowestShapeForTheViewTopmostForShapeAtPos) {
  TKxDeSurface surface;
  surface.resize(400, 350);
  surface.Layer()->SetBounds(200, 200);
  TKxDeLayer* below = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&surface));
  TKxDeLayer* above = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&surface));
  auto box = [](TKxDeLayer* L, float X) {
    auto* s = Create<TVornRectangle>(nullptr, L);
    s->SetBounds(X, 20, 60, 60);
    s->Brush()->SetStyle(TBrushStyle::bsSolid);
    return s;
  };
  TKxDeShapeBase* a = box(below, 20);
  TKxDeShapeBase* b = box(below, 50);  // overlaps a from x = 50 to 80
  TKxDeShapeBase* c = box(above, 60);
  auto view = [&](float X, float Y) { return surface.ScreenToWorld(surface.LayerToScreen(TPointF{X, Y})); };

  TKxDeHitTest ht = surface.HitTest(view(70, 40));
  EXPECT_EQ(ht.HitType, TKxDeHitType::kxhtShape);
  EXPECT_EQ(ht.Shape, a) << "the bottom layer's lowest shape";
  EXPECT_EQ(surface.ShapeAtPos(TPointF{70, 40}, 0), c) << "the top layer's topmost shape";
  above->SetVisible(false);
  // Within a layer the layer's own search decides: its lowest shape at the point.
  EXPECT_EQ(surface.ShapeAtPos(TPointF{70, 40}, 0), a);
  EXPECT_EQ(surface.ShapeAtPos(TPointF{100, 40}, 0), b);
  below->SetLocked(true);
  EXPECT_EQ(surface.HitTest(view(70, 40)).Shape, a) << "locked layers are hit";
  b->SetVisible(false);
  EXPECT_EQ(surface.HitTest(view(100, 40)).Shape, nullptr);
  EXPECT_EQ(surface.HitTest(view(100, 40)).HitType, TKxDeHitType::kxhtLayer);
  below->SetVisible(false);
  EXPECT_EQ(surface.HitTest(view(30, 40)).HitType, TKxDeHitType::kxhtLayer);

  // Outside the page but in the client area: nothing, with the point relative to the client.
  const TRect client = surface.GetClientRect();
  const TPointF corner{static_cast<float>(client.Left + 2), static_cast<float>(client.Top + 3)};
  ht = surface.HitTest(corner);
  EXPECT_EQ(ht.HitType, TKxDeHitType::kxhtNone);
  EXPECT_EQ(ht.Test.X, 2);
  EXPECT_EQ(ht.Test.Y, 3);
  EXPECT_EQ(ht.PartIndex, -1);
}

}  // namespace
}  // namespace vorn::test
