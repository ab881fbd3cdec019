// TKxDeUtils hit-test primitives, intersections and polyline simplification.
#include "support/TestSupport.h"

#include <vorn/common/KxDeUtils.h>

#include <numbers>

namespace vorn {
namespace {

using U = TKxDeUtils;

TEST(KxDeUtilsHits, NearLineRoundsTheLineAndNeverExtendsTheSegment) {
  struct TCase {
    TPointF P, A, B;
    float Fuzz;
    bool Near;
    const char* Why;
  };
  const TCase cases[] = {
      {{50, 12}, {0, 10}, {100, 10}, 2, true, "horizontal, within fuzz"},
      {{50, 12.5f}, {0, 10}, {100, 10}, 2, false, "horizontal, beyond fuzz"},
      {{101, 10}, {0, 10}, {100, 10}, 2, false, "horizontal, past the end"},
      {{-0.5f, 11}, {100, 10}, {0, 10}, 2, false, "horizontal, before the start"},
      {{10, 0}, {10, 100}, {10, 0}, 0, true, "vertical, on the end"},
      {{10, 101}, {10, 0}, {10, 100}, 2, false, "vertical, past the end"},
      {{50, 10.5f}, {0, 10}, {100, 10}, -5, false, "a negative fuzz counts as 0"},
      {{50, 52.5f}, {0, 0}, {100, 100}, 2, false, "slanted: the vertical offset counts"},
      {{50, 52}, {0, 0}, {100, 100}, 2, true, "slanted, within"},
      {{5, 2}, {0, 0}, {10, 5}, 0, true, "flat: y 2.5 taken as 2"},
      {{5, 3}, {0, 0}, {10, 5}, 0, false, "flat: y 2.5 is not 3"},
      {{3, 2}, {0, 0}, {10, 5}, 0, true, "flat: y 1.5 taken as 2"},
      {{3, 1.5f}, {0, 0}, {10, 5}, 0, false, "flat: on the segment, half a unit from the rounded line"},
      {{2, 5}, {0, 0}, {5, 10}, 0, true, "steep: x 2.5 taken as 2"},
      {{2.5f, 5}, {0, 0}, {5, 10}, 0, false, "steep: not the unrounded x"},
      {{4, 7}, {5, 10}, {0, 0}, 1, true, "steep, reversed: x 3.5 taken as 4"},
      {{10.5f, 5}, {0, 0}, {10, 5}, 2, false, "slanted, past the end within fuzz"},
      {{10, 5}, {0, 0}, {10, 5}, 0, false, "the far corner of the half-open box"},
      {{10, 5}, {0, 0}, {10, 5}, 1, true, "the far corner with fuzz"},
      {{9.5f, 50}, {10.4f, 0}, {10.4f, 100}, 0.5f, true, "axis-parallel: the rounded x"},
      {{9.4f, 50}, {10.4f, 0}, {10.4f, 100}, 0.5f, false, "axis-parallel, beyond"},
      {{5, 3}, {5, 5}, {5, 5}, 2, true, "a point segment along its axes"},
      {{6, 6}, {5, 5}, {5, 5}, 2, false, "a point segment, off its axes"},
  };
  for (const TCase& c : cases) EXPECT_EQ(U::NearLine(c.P, c.A, c.B, c.Fuzz), c.Near) << c.Why;
}

TEST(KxDeUtilsHits, PolygonsAreEvenOddWithLeftAndTopEdgesInside) {
  const TDPointArray square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  for (const TDPointArray& s : {square, TDPointArray(square.rbegin(), square.rend())}) {
    for (auto [p, inside] : {std::pair{TPointF{5, 5}, true},
                             {TPointF{0, 5}, true},
                             {TPointF{5, 0}, true},
                             {TPointF{10, 5}, false},
                             {TPointF{5, 10}, false},
                             {TPointF{-0.01f, 5}, false}})
      EXPECT_EQ(U::PtInPolygon(s, p), inside) << p.X << "," << p.Y;
  }
  const TDPointArray u{{0, 0}, {4, 0}, {4, 8}, {6, 8}, {6, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_FALSE(U::PtInPolygon(u, TPointF{5, 4})) << "the notch of a U";
  EXPECT_TRUE(U::PtInPolygon(u, TPointF{5, 9}));
  TDPointArray star;  // a pentagram: its centre is crossed twice
  for (int i = 0; i < 5; ++i) {
    const double a = std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
    star.push_back(TPointF{static_cast<float>(100 * std::cos(a)), static_cast<float>(-100 * std::sin(a))});
  }
  EXPECT_FALSE(U::PtInPolygon(star, TPointF{0, 0}));
  EXPECT_TRUE(U::PtInPolygon(star, TPointF{0, -80}));
  EXPECT_FALSE(U::PtInPolygon({{0, 0}, {10, 10}}, TPointF{5, 5}));
  EXPECT_FALSE(U::PtInPolygon({{0, 5}, {10, 5}, {20, 5}}, TPointF{5, 5}));
}

TEST(KxDeUtilsHits, EllipsesIncludeTheirBoundaryButNotTheBoxCorners) {
  const TRectF r{0, 0, 20, 10};
  for (auto [p, inside] : {std::pair{TPointF{0, 5}, true},
                           {TPointF{20, 5}, true},
                           {TPointF{10, 10}, true},
                           {TPointF{-0.01f, 5}, false},
                           {TPointF{19.5f, 0.5f}, false}})
    EXPECT_EQ(U::PtInEllipse(p, r), inside) << p.X << "," << p.Y;
  EXPECT_TRUE(U::PtInEllipse(TPointF{10, 5}, TRectF{20, 10, 0, 0})) << "a reversed box";
  EXPECT_FALSE(U::PtInEllipse(TPointF{0, 5}, TRectF{0, 0, 0, 10})) << "a flat box holds nothing";
  EXPECT_FALSE(U::PtInEllipse(TPointF{3, 3}, TRectF{3, 3, 3, 3}));
}

TEST(KxDeUtilsLines, ParametersFollowTheSteeperAxis) {
  struct TCase {
    TPointF A, B;
    TKxDeLineOrientation O;
    double Slope, Intercept;
  };
  using enum TKxDeLineOrientation;
  const TCase cases[] = {{{3, 3}, {3, 3}, kxloPoint, 0, 0},
                         {{1, 1}, {5, 3}, kxloHorizontal, 0.5, 0.5},
                         {{0, 1}, {3, -2}, kxloHorizontal, -1, 1},
                         {{2, 1}, {3, 5}, kxloVertical, 0.25, 1.75},
                         {{4, 0}, {4, 9}, kxloVertical, 0, 4}};
  for (const TCase& c : cases) {
    double slope = 7, intercept = 7;
    TKxDeLineOrientation o{};
    U::CalcLineParameters(c.A, c.B, slope, intercept, o);
    EXPECT_EQ(o, c.O);
    EXPECT_DOUBLE_EQ(slope, c.Slope);
    EXPECT_DOUBLE_EQ(intercept, c.Intercept);
  }
}

TEST(KxDeUtilsLines, SegmentsIntersectWithinBothOrNotAtAll) {
  struct TCase {
    TPointF A, B, C, D;
    bool Hit;
    TPointF At;
  };
  const TCase cases[] = {
      {{0, 0}, {10, 10}, {0, 10}, {10, 0}, true, {5, 5}}, {{0, 0}, {10, 0}, {10, 0}, {10, 10}, true, {10, 0}},
      {{0, 0}, {10, 0}, {5, 5}, {5, 0}, true, {5, 0}},    {{0, 0}, {4, 2}, {0, 2}, {4, 0}, true, {2, 1}},
      {{0, 0}, {10, 0}, {0, 1}, {10, 1}, false, {0, 0}},  {{0, 0}, {10, 0}, {5, 0}, {15, 0}, false, {0, 0}},
      {{0, 0}, {10, 10}, {0, 10}, {4, 6}, false, {0, 0}}, {{5, 5}, {5, 5}, {0, 0}, {10, 10}, false, {0, 0}},
  };
  for (const TCase& c : cases) {
    TPointF out{99, 99};
    EXPECT_EQ(U::DoLinesIntersect(c.A, c.B, c.C, c.D, out), c.Hit);
    EXPECT_EQ(out, c.At);
  }
  const TRectF r{0, 0, 10, 10};
  EXPECT_TRUE(U::DoLineIntersectRect(TPointF{2, 2}, TPointF{3, 3}, r)) << "wholly inside";
  EXPECT_TRUE(U::DoLineIntersectRect(TPointF{-5, 5}, TPointF{15, 5}, r));
  EXPECT_TRUE(U::DoLineIntersectRect(TPointF{-5, 5}, TPointF{5, 15}, r)) << "through the corner (0, 10)";
  EXPECT_FALSE(U::DoLineIntersectRect(TPointF{11, 0}, TPointF{20, 10}, r));
  EXPECT_TRUE(U::DoLineIntersectRect(TPointF{5, 0}, TPointF{5, 10}, TRectF{0, 5, 10, 5})) << "a flat rectangle";
  EXPECT_FALSE(U::DoLineIntersectRect(TPointF{2, 5}, TPointF{8, 5}, TRectF{0, 5, 10, 5})) << "along it";
}

TEST(KxDeUtilsLines, InfiniteLinesMeetOrOverlap) {
  TPointF out{99, 99};
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{1, 1}), U::Line(TPointF{10, 0}, TPointF{9, 1}), out));
  EXPECT_NEAR(out.X, 5, 1e-5);
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{1, 2}), U::Line(TPointF{3, 0}, TPointF{3, 1}), out));
  EXPECT_NEAR(out.Y, 6, 1e-5);
  EXPECT_FALSE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{1, 1}), U::Line(TPointF{0, 1}, TPointF{1, 2}), out));
  EXPECT_EQ(out, (TPointF{0, 0}));
  // Collinear segments meet when they overlap or touch.
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{2, 2}, TPointF{3, 3}), U::Line(TPointF{0, 0}, TPointF{10, 10}), out));
  EXPECT_FALSE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{1, 1}), U::Line(TPointF{2, 2}, TPointF{3, 3}), out));
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{4, 0}, TPointF{4, 5}), U::Line(TPointF{4, 5}, TPointF{4, 9}), out));
  EXPECT_FALSE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{0, 5}), U::Line(TPointF{0, 6}, TPointF{0, 9}), out));
  float len = -1;
  const TRectF r{0, 0, 100, 50};
  EXPECT_TRUE(U::MaxSymmetricLengthInRect(TPointF{50, 10}, TPointF{50, 20}, r, len));
  EXPECT_FLOAT_EQ(len, 15) << "the top edge line is the nearest";
  EXPECT_TRUE(U::MaxSymmetricLengthInRect(TPointF{10, 10}, TPointF{30, 30}, r, len));
  EXPECT_NEAR(len, std::sqrt(800.0f), 1e-4);
  EXPECT_FALSE(U::MaxSymmetricLengthInRect(TPointF{10, 10}, TPointF{30, 30}, TRectF{0, 0, 0, 50}, len));
  EXPECT_EQ(len, 0);
}

TPointArray Simplify(double Tolerance, const TPointArray& Pts) {
  TPointArray out{{99, 99}};
  const int32_t n = U::PolySimplifyInt2D(Tolerance, Pts, out);
  EXPECT_EQ(n, static_cast<int32_t>(out.size()));
  return out;
}

TEST(KxDeUtilsSimplify, KeepsPointsFartherThanTheToleranceFromTheChord) {
  EXPECT_DOUBLE_EQ(U::DotProdInt2D(TPoint{100000, 100000}, TPoint{100000, -200000}), -1e10) << "beyond int32 products";
  EXPECT_TRUE(Simplify(1, {{3, 4}}).empty());
  EXPECT_EQ(Simplify(1, {{3, 4}, {3, 4}}), (TPointArray{{3, 4}, {3, 4}}));
  const TPointArray bump{{0, 0}, {5, 1}, {10, 0}};
  EXPECT_EQ(Simplify(0.5, bump), bump);
  EXPECT_EQ(Simplify(1, bump), (TPointArray{{0, 0}, {10, 0}})) << "the tolerance is exceeded strictly";
  // The distance is to the chord, not its line: (-3, 4) lies 5 from (0, 0) though 4 from the line.
  EXPECT_EQ(Simplify(4.9, {{0, 0}, {-3, 4}, {10, 0}}), (TPointArray{{0, 0}, {-3, 4}, {10, 0}}));
  EXPECT_EQ(Simplify(5, {{0, 0}, {-3, 4}, {10, 0}}), (TPointArray{{0, 0}, {10, 0}}));
  EXPECT_EQ(Simplify(4.5, {{0, 0}, {13, 4}, {10, 0}}), (TPointArray{{0, 0}, {13, 4}, {10, 0}}));
  // (5, 2) is 0.48 from the chord (0, 0)-(10, 3), but its foot (5.14, 1.54) rounds to (5, 2).
  EXPECT_EQ(Simplify(0.1, {{0, 0}, {5, 2}, {10, 3}}), (TPointArray{{0, 0}, {10, 3}}));
  // The peak splits first; each half keeps the point whose rounded foot is farthest.
  EXPECT_EQ(Simplify(1, {{0, 0}, {1, 0}, {2, 0}, {3, 5}, {4, 0}, {5, 0}, {6, 0}}),
            (TPointArray{{0, 0}, {2, 0}, {3, 5}, {4, 0}, {6, 0}}));
  TPointArray zigzag;  // every split peels off one point, thousands of levels deep
  for (int i = 0; i <= 2000; ++i) zigzag.push_back(TPoint{i, (i % 2) * 10});
  EXPECT_EQ(Simplify(1, zigzag), zigzag);
  EXPECT_EQ(Simplify(20, zigzag), (TPointArray{{0, 0}, {2000, 0}}));
  std::vector<bool> marker(3, false);
  U::SimplifyInt2D(1, {{0, 0}, {5, 9}, {10, 0}}, marker, 0, 3);  // indexes outside the arrays are ignored
  U::SimplifyInt2D(1, {{0, 0}, {5, 9}, {10, 0}}, marker, -1, 2);
  EXPECT_EQ(marker, (std::vector<bool>{false, false, false}));
  U::SimplifyInt2D(1, {{0, 0}, {5, 9}, {10, 0}}, marker, 0, 2);
  EXPECT_EQ(marker, (std::vector<bool>{false, true, false}));
}

}  // namespace
}  // namespace vorn
