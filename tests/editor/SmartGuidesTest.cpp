// Smart guides: moves, sizing and creation snap to the other shapes' edges and centres, the grid and the
// shapes share a gesture (the nearer wins), Alt bypasses both, and the alignment line shows while
// the gesture lasts.

#include "EditorFixture.h"

#include <cmath>

namespace vorn::test {
namespace {

// A at (20, 20) 60 x 60; B, 40 x 50, at (150, 130), away from A's and the page's lines.
class SmartGuides : public TEditorWindow<> {
 protected:
  void SetUp() override {
    TEditorWindow::SetUp();
    A = Box("A", 20, 20);
    B = Box("B", 150, 130, 40, 50);
    E.SetEditOptions(E.EditOptions() - TKxDeEditOption::kxdoSnapToGrid);
    E.SmartGuides()->SetEnabled(true);
    E.show();
  }
  // The line's colour where it passes P; the page or a shape otherwise.
  bool Lined(const QImage& I, QPoint P) const { return Pixel(I, P) == QColor(0xF0, 0x28, 0x6E); }
};

TEST_F(SmartGuides, MovesSnapToTheNearestEdgeOrCentreUnlessAltOrOff) {
  // 10 mm grid lines lie at whole units: 0, 38, 76, 113, ...
  const float gridY = std::round(3 * 10 * CoordsPixelsPerMMConvertValue);
  struct Case {
    const char* Name;
    bool Guides, Grid;
    Qt::KeyboardModifiers Keys;
    QPoint By;
    TPointF Lands;  // B's top-left corner after the drag
  };
  const Case cases[] = {
      {"left edges meet", true, false, {}, QPoint(-128, 0), {20, 130}},
      {"Alt: no snap", true, false, Qt::AltModifier, QPoint(-128, 0), {22, 130}},
      {"off: no snap", false, false, {}, QPoint(-128, 0), {22, 130}},
      // B's centre 52 is 2 from A's 50; its edges 32 and 72 are farther from A's.
      {"centres meet", true, false, {}, QPoint(-118, 0), {30, 130}},
      // B's bottom 82 is 2 below A's: y snaps, x (no line in reach) does not.
      {"bottoms meet", true, false, {}, QPoint(-50, -98), {100, 30}},
      // A's edge 2 away beats the grid line 16 away in x; in y only the grid is in reach.
      {"nearer than the grid", true, true, {}, QPoint(-128, 0), {20, gridY}},
      {"Alt bypasses the grid too", true, true, Qt::AltModifier, QPoint(-128, 0), {22, 130}},
  };
  // Enough small shapes off to the right for the targets to be sorted as a large gathering is.
  for (int i = 0; i < 300; ++i) Box("s", 250 + static_cast<float>(i * 37 % 97), 200 + static_cast<float>(i % 29), 3, 3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    B->SetBounds(150, 130, 40, 50);
    E.SmartGuides()->SetEnabled(c.Guides);
    TKxDeEditOptions o = E.EditOptions() - TKxDeEditOption::kxdoSnapToGrid;
    if (c.Grid) o += TKxDeEditOption::kxdoSnapToGrid;
    E.SetEditOptions(o);
    Click(170, 150);
    Drag(At(170, 150), At(170, 150) + c.By, c.Keys);
    EXPECT_NEAR(TopLeft(B).X, c.Lands.X, 1e-3);
    EXPECT_NEAR(TopLeft(B).Y, c.Lands.Y, 1e-3);
    EXPECT_EQ(TopLeft(A), (TPointF{20, 20}));
  }
}

TEST_F(SmartGuides, SizingSnapsTheDraggedCorner) {
  for (Qt::KeyboardModifiers keys : {Qt::KeyboardModifiers{}, Qt::KeyboardModifiers{Qt::AltModifier}}) {
    A->SetBounds(20, 20, 60, 60);
    Click(40, 40);
    // A's bottom-right corner to 2 left of B's left edge and 3 above its top.
    Drag(At(80, 80), At(148, 127), keys);
    const TRectF b = A->GetBounds();
    const TRectF want = keys == Qt::AltModifier ? TRectF{20, 20, 148, 127} : TRectF{20, 20, 150, 130};
    EXPECT_NEAR(b.Left, want.Left, 1e-3);
    EXPECT_NEAR(b.Top, want.Top, 1e-3);
    EXPECT_NEAR(b.Right, want.Right, 1e-3);
    EXPECT_NEAR(b.Bottom, want.Bottom, 1e-3);
  }
}

TEST_F(SmartGuides, CreationSnapsEachCorner) {
  E.SetNewShapeClass(ClassOf<TVornRectangle>());
  // The first corner 2 right of A's left edge; the second 2 left of B's left edge, 3 above its top.
  Click(22, 97);
  Click(148, 127);
  const TRectF b = Layer->Items(Layer->ItemCount() - 1)->GetBounds();
  EXPECT_EQ(b, (TRectF{20, 97, 150, 130}));
}

TEST_F(SmartGuides, TheLineShowsWhileMovingAndGoesAfter) {
  Click(170, 150);
  Hold(At(170, 150), At(42, 150));
  const QImage during = Grab("smart-guides-move");
  // The common left edge at x = 20, drawn from A's top to B's bottom: between them too.
  EXPECT_TRUE(Lined(during, At(20, 105)));
  EXPECT_TRUE(Lined(during, At(20, 175)));
  EXPECT_FALSE(Lined(during, At(20, 200)));
  EXPECT_FALSE(Lined(during, At(50, 105)));  // no centre line: the centres are 10 apart
  QTest::mouseRelease(&E, Qt::LeftButton, {}, At(42, 150));
  EXPECT_FALSE(Lined(Grab("smart-guides-after"), At(20, 105)));
  // Off, the same drag draws no line.
  E.SmartGuides()->SetEnabled(false);
  Hold(At(40, 150), At(42, 150));
  EXPECT_FALSE(Lined(Grab("smart-guides-off"), At(20, 105)));
  QTest::mouseRelease(&E, Qt::LeftButton, {}, At(42, 150));
}

}  // namespace
}  // namespace vorn::test
