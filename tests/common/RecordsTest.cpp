// The rectangle operations the model's hit tests and painting rely on: which edges count, what an
// empty rectangle does, and how records print in a failed comparison.

#include <vorn/common/Records.h>

#include <gtest/gtest.h>

#include <cmath>

namespace vorn {
namespace {

TEST(Records, EdgesAndEmptiness) {
  const TRectF r{0, 0, 10, 5};
  struct TCase {
    TPointF P;
    bool Inside;
  };
  // Left and top edges belong to the rectangle, right and bottom edges do not.
  for (const TCase& c : {TCase{{0, 0}, true}, TCase{{9.99f, 4.99f}, true}, TCase{{10, 2}, false}, TCase{{5, 5}, false},
                         TCase{{-0.01f, 2}, false}}) {
    EXPECT_EQ(r.Contains(c.P), c.Inside) << c.P.X << "," << c.P.Y;
  }
  // Touching rectangles share nothing; overlapping ones in any order do.
  EXPECT_FALSE(r.Intersects(TRectF{10, 0, 20, 5}));
  EXPECT_TRUE((TRectF{9, 4, 20, 9}).Intersects(r));
  // Without width, without height or inside out: empty, holding no point, meeting nothing.
  for (const TRectF& e : {TRectF{3, 3, 3, 8}, TRectF{3, 3, 8, 3}, TRectF{8, 8, 3, 3}}) {
    EXPECT_TRUE(e.IsEmpty());
    EXPECT_FALSE(e.Contains(TPointF{3, 3}));
    EXPECT_FALSE(TRectF({0, 0, 10, 10}).Intersects(e));
  }
  EXPECT_TRUE((TRect{0, 0, 0, 1}).IsEmpty());
  EXPECT_FALSE((TRect{0, 0, 2, 2}).Contains(TPoint{2, 1}));
}

TEST(Records, UnionInflateAndNormalize) {
  // An empty rectangle still widens a union: a flat child widens its container.
  EXPECT_EQ((TRectF{0, 0, 1, 1}).Union(TRectF{5, -2, 5, 3}), (TRectF{0, -2, 5, 3}));
  EXPECT_EQ((TRectF{0, 0, 4, 2}).Inflated(-1), (TRectF{1, 1, 3, 1}));
  EXPECT_EQ((TRectF{5, 6, 1, 2}).Normalized(), (TRectF{1, 2, 5, 6}));
  EXPECT_EQ((TRect{1, 6, 5, 2}).Normalized(), (TRect{1, 2, 5, 6}));
  // The bounding rectangle of points, for both kinds of record.
  EXPECT_EQ(TRect::Create({{4, 1}, {-2, 3}, {0, -5}}), (TRect{-2, -5, 4, 3}));
  EXPECT_EQ(TRect::Create({}), TRect{});
}

TEST(Records, PrintAsLiterals) {
  EXPECT_EQ(testing::PrintToString(TRectF{1, 2.5f, -3, 0.1f}), "TRectF{1, 2.5, -3, 0.1}");
  EXPECT_EQ(testing::PrintToString(TPointF{std::nextafter(1.0f, 2.0f), 0}), "TPointF{1.0000001, 0}")
      << "values that differ print differently";
  EXPECT_EQ(testing::PrintToString(TPoint{-7, 8}), "TPoint{-7, 8}");
}

}  // namespace
}  // namespace vorn
