// TKxDeUtils hit-test primitives, intersections and polyline simplification.
#include <vorn/common/KxDeUtils.h>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vorn {
namespace {

using U = TKxDeUtils;

// ---- NearLine -----------------------------------------------------------------------------------

TEST(KxDeUtilsNearLine, HorizontalSegmentDoesNotExtendItsEnds) {
  const TPointF a{0, 10}, b{100, 10};
  EXPECT_TRUE(U::NearLine(TPointF{50, 12}, a, b, 2));
  EXPECT_TRUE(U::NearLine(TPointF{50, 8}, a, b, 2));
  EXPECT_FALSE(U::NearLine(TPointF{50, 12.5f}, a, b, 2));
  EXPECT_TRUE(U::NearLine(TPointF{100, 10}, a, b, 2));
  EXPECT_FALSE(U::NearLine(TPointF{101, 10}, a, b, 2));
  EXPECT_FALSE(U::NearLine(TPointF{-0.5f, 11}, b, a, 2));
}

TEST(KxDeUtilsNearLine, VerticalSegmentDoesNotExtendItsEnds) {
  const TPointF a{10, 0}, b{10, 100};
  EXPECT_TRUE(U::NearLine(TPointF{12, 50}, a, b, 2));
  EXPECT_TRUE(U::NearLine(TPointF{10, 0}, b, a, 0));
  EXPECT_FALSE(U::NearLine(TPointF{10, 101}, a, b, 2));
  EXPECT_FALSE(U::NearLine(TPointF{10, -0.5f}, a, b, 2));
}

TEST(KxDeUtilsNearLine, NegativeFuzzCountsAsZero) {
  EXPECT_TRUE(U::NearLine(TPointF{50, 10}, TPointF{0, 10}, TPointF{100, 10}, -5));
  EXPECT_FALSE(U::NearLine(TPointF{50, 10.5f}, TPointF{0, 10}, TPointF{100, 10}, -5));
  EXPECT_TRUE(U::NearLine(TPointF{4, 2}, TPointF{0, 0}, TPointF{10, 5}, -5));
}

TEST(KxDeUtilsNearLine, SlantedSegmentMeasuresTheVerticalOffset) {
  // On y = x the point (50, 52.5) is 1.77 away perpendicularly but 2.5 vertically.
  EXPECT_FALSE(U::NearLine(TPointF{50, 52.5f}, TPointF{0, 0}, TPointF{100, 100}, 2));
  EXPECT_TRUE(U::NearLine(TPointF{50, 52}, TPointF{0, 0}, TPointF{100, 100}, 2));
}

TEST(KxDeUtilsNearLine, FlatSegmentRoundsTheLineYTiesToEven) {
  const TPointF a{0, 0}, b{10, 5};  // y = x / 2
  // At x = 5 the line is at 2.5, taken as 2; at x = 3 it is at 1.5, taken as 2.
  EXPECT_TRUE(U::NearLine(TPointF{5, 2}, a, b, 0));
  EXPECT_FALSE(U::NearLine(TPointF{5, 3}, a, b, 0));
  EXPECT_TRUE(U::NearLine(TPointF{3, 2}, a, b, 0));
  // Exactly on the segment, yet half a unit from the rounded line.
  EXPECT_FALSE(U::NearLine(TPointF{3, 1.5f}, a, b, 0));
  EXPECT_TRUE(U::NearLine(TPointF{3, 1.5f}, a, b, 0.5f));
}

TEST(KxDeUtilsNearLine, SteepSegmentRoundsTheLineX) {
  const TPointF a{0, 0}, b{5, 10};  // x = y / 2
  EXPECT_TRUE(U::NearLine(TPointF{2, 5}, a, b, 0));  // x = 2.5 taken as 2
  EXPECT_FALSE(U::NearLine(TPointF{3, 5}, a, b, 0));
  EXPECT_FALSE(U::NearLine(TPointF{2.5f, 5}, a, b, 0));
  EXPECT_TRUE(U::NearLine(TPointF{2, 3}, a, b, 0));  // x = 1.5 taken as 2
  EXPECT_TRUE(U::NearLine(TPointF{4, 7}, b, a, 1));  // x = 3.5 taken as 4
  EXPECT_FALSE(U::NearLine(TPointF{6, 7}, a, b, 1));
}

TEST(KxDeUtilsNearLine, SlantedSegmentEndsAreNotExtended) {
  const TPointF a{0, 0}, b{10, 5};
  // Within the fuzz of the end (10, 5) but beyond it in x.
  EXPECT_FALSE(U::NearLine(TPointF{10.5f, 5}, a, b, 2));
  EXPECT_FALSE(U::NearLine(TPointF{-1, 0}, a, b, 2));
  // The bounding box is half-open: with no fuzz the far corner is outside it.
  EXPECT_TRUE(U::NearLine(TPointF{0, 0}, a, b, 0));
  EXPECT_FALSE(U::NearLine(TPointF{10, 5}, a, b, 0));
  EXPECT_TRUE(U::NearLine(TPointF{10, 5}, a, b, 1));
}

TEST(KxDeUtilsNearLine, AxisParallelSegmentFallsBackToTheRoundedLine) {
  // 0.9 from the segment at x = 10.4, but 0.5 from its rounded x of 10.
  EXPECT_TRUE(U::NearLine(TPointF{9.5f, 50}, TPointF{10.4f, 0}, TPointF{10.4f, 100}, 0.5f));
  EXPECT_FALSE(U::NearLine(TPointF{9.4f, 50}, TPointF{10.4f, 0}, TPointF{10.4f, 100}, 0.5f));
}

TEST(KxDeUtilsNearLine, PointSegmentIsNearOnlyAlongItsAxes) {
  const TPointF p{5, 5};
  EXPECT_TRUE(U::NearLine(TPointF{5, 5}, p, p, 0));
  EXPECT_TRUE(U::NearLine(TPointF{6, 5}, p, p, 2));
  EXPECT_TRUE(U::NearLine(TPointF{5, 3}, p, p, 2));
  EXPECT_FALSE(U::NearLine(TPointF{6, 6}, p, p, 2));
}

// ---- PtInPolygon --------------------------------------------------------------------------------

const TDPointArray kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};

TEST(KxDeUtilsPtInPolygon, LeftAndTopEdgesInsideRightAndBottomOutside) {
  for (const TDPointArray& square : {kSquare, TDPointArray(kSquare.rbegin(), kSquare.rend())}) {
    EXPECT_TRUE(U::PtInPolygon(square, TPointF{5, 5}));
    EXPECT_TRUE(U::PtInPolygon(square, TPointF{0, 5}));
    EXPECT_FALSE(U::PtInPolygon(square, TPointF{10, 5}));
    EXPECT_TRUE(U::PtInPolygon(square, TPointF{5, 0}));
    EXPECT_FALSE(U::PtInPolygon(square, TPointF{5, 10}));
    EXPECT_FALSE(U::PtInPolygon(square, TPointF{-0.01f, 5}));
    EXPECT_FALSE(U::PtInPolygon(square, TPointF{5, -0.01f}));
  }
}

TEST(KxDeUtilsPtInPolygon, ConcaveNotchIsOutside) {
  // A U open at the top: the notch spans x 4..6, y 0..8.
  const TDPointArray u{{0, 0}, {4, 0}, {4, 8}, {6, 8}, {6, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_FALSE(U::PtInPolygon(u, TPointF{5, 4}));
  EXPECT_TRUE(U::PtInPolygon(u, TPointF{5, 9}));
  EXPECT_TRUE(U::PtInPolygon(u, TPointF{2, 4}));
  EXPECT_TRUE(U::PtInPolygon(u, TPointF{8, 4}));
}

TEST(KxDeUtilsPtInPolygon, SelfIntersectingOutlineUsesEvenOdd) {
  // A pentagram: its centre pentagon is crossed twice, so even-odd leaves it outside.
  TDPointArray star;
  for (int i = 0; i < 5; ++i) {
    const double a = std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
    star.push_back(TPointF{static_cast<float>(100 * std::cos(a)), static_cast<float>(-100 * std::sin(a))});
  }
  EXPECT_FALSE(U::PtInPolygon(star, TPointF{0, 0}));
  EXPECT_TRUE(U::PtInPolygon(star, TPointF{0, -80}));  // inside the top point
  EXPECT_FALSE(U::PtInPolygon(star, TPointF{0, -120}));
}

TEST(KxDeUtilsPtInPolygon, DegenerateInputs) {
  EXPECT_FALSE(U::PtInPolygon({}, TPointF{0, 0}));
  EXPECT_FALSE(U::PtInPolygon({{1, 1}}, TPointF{1, 1}));
  EXPECT_FALSE(U::PtInPolygon({{0, 0}, {10, 10}}, TPointF{5, 5}));
  EXPECT_FALSE(U::PtInPolygon({{0, 5}, {10, 5}, {20, 5}}, TPointF{5, 5}));
}

// ---- PtInEllipse --------------------------------------------------------------------------------

TEST(KxDeUtilsPtInEllipse, InsideAndOnTheBoundary) {
  const TRectF r{0, 0, 20, 10};
  EXPECT_TRUE(U::PtInEllipse(TPointF{10, 5}, r));
  EXPECT_TRUE(U::PtInEllipse(TPointF{0, 5}, r));
  EXPECT_TRUE(U::PtInEllipse(TPointF{20, 5}, r));
  EXPECT_TRUE(U::PtInEllipse(TPointF{10, 0}, r));
  EXPECT_TRUE(U::PtInEllipse(TPointF{10, 10}, r));
  EXPECT_FALSE(U::PtInEllipse(TPointF{-0.01f, 5}, r));
  EXPECT_FALSE(U::PtInEllipse(TPointF{19.5f, 0.5f}, r));  // inside the box, outside the ellipse
  EXPECT_TRUE(U::PtInEllipse(TPointF{10, 5}, TRectF{20, 10, 0, 0}));
}

TEST(KxDeUtilsPtInEllipse, DegenerateRectangleContainsNothing) {
  EXPECT_FALSE(U::PtInEllipse(TPointF{0, 5}, TRectF{0, 0, 0, 10}));
  EXPECT_FALSE(U::PtInEllipse(TPointF{0, 0}, TRectF{0, 0, 0, 10}));
  EXPECT_FALSE(U::PtInEllipse(TPointF{10, 5}, TRectF{0, 5, 20, 5}));
  EXPECT_FALSE(U::PtInEllipse(TPointF{3, 3}, TRectF{3, 3, 3, 3}));
}

// ---- Lines and intersections ------------------------------------------------------------------

TEST(KxDeUtilsLines, CalcLineParametersClassifiesByTheSteeperAxis) {
  double slope = 7, intercept = 7;
  TKxDeLineOrientation o = TKxDeLineOrientation::kxloVertical;
  U::CalcLineParameters(TPointF{3, 3}, TPointF{3, 3}, slope, intercept, o);
  EXPECT_EQ(o, TKxDeLineOrientation::kxloPoint);
  EXPECT_EQ(slope, 0);
  EXPECT_EQ(intercept, 0);

  U::CalcLineParameters(TPointF{1, 1}, TPointF{5, 3}, slope, intercept, o);
  EXPECT_EQ(o, TKxDeLineOrientation::kxloHorizontal);
  EXPECT_DOUBLE_EQ(slope, 0.5);
  EXPECT_DOUBLE_EQ(intercept, 0.5);

  U::CalcLineParameters(TPointF{0, 1}, TPointF{3, -2}, slope, intercept, o);  // 45 degrees: flat
  EXPECT_EQ(o, TKxDeLineOrientation::kxloHorizontal);
  EXPECT_DOUBLE_EQ(slope, -1);
  EXPECT_DOUBLE_EQ(intercept, 1);

  U::CalcLineParameters(TPointF{2, 1}, TPointF{3, 5}, slope, intercept, o);
  EXPECT_EQ(o, TKxDeLineOrientation::kxloVertical);
  EXPECT_DOUBLE_EQ(slope, 0.25);
  EXPECT_DOUBLE_EQ(intercept, 1.75);

  U::CalcLineParameters(TPointF{4, 0}, TPointF{4, 9}, slope, intercept, o);
  EXPECT_EQ(o, TKxDeLineOrientation::kxloVertical);
  EXPECT_DOUBLE_EQ(slope, 0);
  EXPECT_DOUBLE_EQ(intercept, 4);
}

TEST(KxDeUtilsLines, DoLinesIntersectFindsCrossingsAndTouchingEnds) {
  TPointF out{99, 99};
  EXPECT_TRUE(U::DoLinesIntersect(TPointF{0, 0}, TPointF{10, 10}, TPointF{0, 10}, TPointF{10, 0}, out));
  EXPECT_EQ(out, (TPointF{5, 5}));
  EXPECT_TRUE(U::DoLinesIntersect(TPointF{0, 0}, TPointF{10, 0}, TPointF{10, 0}, TPointF{10, 10}, out));
  EXPECT_EQ(out, (TPointF{10, 0}));
  EXPECT_TRUE(U::DoLinesIntersect(TPointF{0, 0}, TPointF{10, 0}, TPointF{5, 5}, TPointF{5, 0}, out));
  EXPECT_EQ(out, (TPointF{5, 0}));
  EXPECT_TRUE(U::DoLinesIntersect(TPointF{0, 0}, TPointF{4, 2}, TPointF{0, 2}, TPointF{4, 0}, out));
  EXPECT_EQ(out, (TPointF{2, 1}));
}

TEST(KxDeUtilsLines, DoLinesIntersectRejectsParallelAndMissingSegments) {
  TPointF out{99, 99};
  EXPECT_FALSE(U::DoLinesIntersect(TPointF{0, 0}, TPointF{10, 0}, TPointF{0, 1}, TPointF{10, 1}, out));
  EXPECT_EQ(out, (TPointF{0, 0}));
  out = TPointF{99, 99};
  // Collinear and overlapping still counts as parallel.
  EXPECT_FALSE(U::DoLinesIntersect(TPointF{0, 0}, TPointF{10, 0}, TPointF{5, 0}, TPointF{15, 0}, out));
  EXPECT_EQ(out, (TPointF{0, 0}));
  // The lines cross at (5, 5), beyond the first segment...
  EXPECT_FALSE(U::DoLinesIntersect(TPointF{0, 0}, TPointF{1, 1}, TPointF{0, 10}, TPointF{10, 0}, out));
  // ...and beyond the second.
  EXPECT_FALSE(U::DoLinesIntersect(TPointF{0, 0}, TPointF{10, 10}, TPointF{0, 10}, TPointF{4, 6}, out));
  EXPECT_EQ(out, (TPointF{0, 0}));
  // A zero-length segment has no direction.
  EXPECT_FALSE(U::DoLinesIntersect(TPointF{5, 5}, TPointF{5, 5}, TPointF{0, 0}, TPointF{10, 10}, out));
}

TEST(KxDeUtilsLines, DoLineIntersectRectWithAFullRectangle) {
  const TRectF r{0, 0, 10, 10};
  EXPECT_TRUE(U::DoLineIntersectRect(TPointF{2, 2}, TPointF{3, 3}, r));      // wholly inside
  EXPECT_TRUE(U::DoLineIntersectRect(TPointF{20, 20}, TPointF{0, 0}, r));    // one end inside
  EXPECT_TRUE(U::DoLineIntersectRect(TPointF{-5, 5}, TPointF{15, 5}, r));    // straight through
  EXPECT_TRUE(U::DoLineIntersectRect(TPointF{20, 5}, TPointF{10, 5}, r));    // ends on the right edge
  // Only the corner (0, 10) is touched; the corner itself is outside the half-open rectangle.
  EXPECT_TRUE(U::DoLineIntersectRect(TPointF{-5, 5}, TPointF{5, 15}, r));
  EXPECT_FALSE(U::DoLineIntersectRect(TPointF{-5, -5}, TPointF{-1, 20}, r));
  EXPECT_FALSE(U::DoLineIntersectRect(TPointF{11, 0}, TPointF{20, 10}, r));
}

TEST(KxDeUtilsLines, DoLineIntersectRectWithFlatRectangles) {
  EXPECT_FALSE(U::DoLineIntersectRect(TPointF{0, 0}, TPointF{10, 10}, TRectF{5, 5, 5, 5}));
  const TRectF flat{0, 5, 10, 5};
  EXPECT_TRUE(U::DoLineIntersectRect(TPointF{5, 0}, TPointF{5, 10}, flat));
  EXPECT_FALSE(U::DoLineIntersectRect(TPointF{-5, 0}, TPointF{-5, 10}, flat));
  // Lying along the edge is collinear: no crossing.
  EXPECT_FALSE(U::DoLineIntersectRect(TPointF{2, 5}, TPointF{8, 5}, flat));
  const TRectF thin{5, 0, 5, 10};
  EXPECT_TRUE(U::DoLineIntersectRect(TPointF{0, 5}, TPointF{10, 5}, thin));
  EXPECT_FALSE(U::DoLineIntersectRect(TPointF{6, 0}, TPointF{9, 10}, thin));
}

TEST(KxDeUtilsLines, LineIntersectUsesTheInfiniteLines) {
  TPointF out{99, 99};
  // y = x and y = 10 - x meet at (5, 5), outside both segments.
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{1, 1}), U::Line(TPointF{10, 0}, TPointF{9, 1}), out));
  EXPECT_NEAR(out.X, 5, 1e-5);
  EXPECT_NEAR(out.Y, 5, 1e-5);
  // A vertical line meets y = 2x at x = 3, in either order.
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{3, 0}, TPointF{3, 1}), U::Line(TPointF{0, 0}, TPointF{1, 2}), out));
  EXPECT_NEAR(out.X, 3, 1e-5);
  EXPECT_NEAR(out.Y, 6, 1e-5);
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{1, 2}), U::Line(TPointF{3, 0}, TPointF{3, 1}), out));
  EXPECT_NEAR(out.X, 3, 1e-5);
  EXPECT_NEAR(out.Y, 6, 1e-5);
  // The vertical line x = 0 and the horizontal y = 7.
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{0, 1}), U::Line(TPointF{-1, 7}, TPointF{1, 7}), out));
  EXPECT_NEAR(out.X, 0, 1e-5);
  EXPECT_NEAR(out.Y, 7, 1e-5);
}

TEST(KxDeUtilsLines, LineIntersectOfParallelAndCollinearSegments) {
  TPointF out{99, 99};
  EXPECT_FALSE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{1, 1}), U::Line(TPointF{0, 1}, TPointF{1, 2}), out));
  EXPECT_EQ(out, (TPointF{0, 0}));
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{2, 2}), U::Line(TPointF{1, 1}, TPointF{3, 3}), out));
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{10, 10}), U::Line(TPointF{2, 2}, TPointF{3, 3}), out));
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{2, 2}, TPointF{3, 3}), U::Line(TPointF{0, 0}, TPointF{10, 10}), out));
  EXPECT_FALSE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{1, 1}), U::Line(TPointF{2, 2}, TPointF{3, 3}), out));
  // Vertical ones, including on x = 0.
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{0, 5}), U::Line(TPointF{0, 3}, TPointF{0, 9}), out));
  EXPECT_FALSE(U::LineIntersect(U::Line(TPointF{0, 0}, TPointF{0, 5}), U::Line(TPointF{0, 6}, TPointF{0, 9}), out));
  EXPECT_TRUE(U::LineIntersect(U::Line(TPointF{4, 0}, TPointF{4, 5}), U::Line(TPointF{4, 5}, TPointF{4, 9}), out));
  EXPECT_FALSE(U::LineIntersect(U::Line(TPointF{1, 0}, TPointF{1, 5}), U::Line(TPointF{2, 0}, TPointF{2, 5}), out));
  EXPECT_EQ(out, (TPointF{0, 0}));
}

TEST(KxDeUtilsLines, SmallPointHelpers) {
  EXPECT_EQ(U::Line(TPointF{1, 2}, TPointF{3, 4}), (TLine{{1, 2}, {3, 4}}));
  EXPECT_TRUE(U::EqualPoint(TPointF{1, -0.0f}, TPointF{1, 0}));
  EXPECT_FALSE(U::EqualPoint(TPointF{1, 2}, TPointF{2, 1}));
  EXPECT_EQ(U::SubtractPoints(TPointF{5, 1}, TPointF{2, 4}), (TPointF{3, -3}));
}

TEST(KxDeUtilsLines, MaxSymmetricLengthInRect) {
  const TRectF r{0, 0, 100, 50};
  float len = -1;
  // Horizontal through (50, 20): the side edges are 50 away.
  EXPECT_TRUE(U::MaxSymmetricLengthInRect(TPointF{60, 20}, TPointF{40, 20}, r, len));
  EXPECT_FLOAT_EQ(len, 50);
  // Vertical through (50, 15): the top edge line is the nearest, and it counts.
  EXPECT_TRUE(U::MaxSymmetricLengthInRect(TPointF{50, 10}, TPointF{50, 20}, r, len));
  EXPECT_FLOAT_EQ(len, 15);
  // y = x through (20, 20) meets the top and left edge lines at (0, 0).
  EXPECT_TRUE(U::MaxSymmetricLengthInRect(TPointF{10, 10}, TPointF{30, 30}, r, len));
  EXPECT_NEAR(len, std::sqrt(800.0f), 1e-4);
  len = 7;
  EXPECT_FALSE(U::MaxSymmetricLengthInRect(TPointF{10, 10}, TPointF{30, 30}, TRectF{0, 0, 0, 50}, len));
  EXPECT_EQ(len, 0);
}

// ---- Simplification -----------------------------------------------------------------------------

TEST(KxDeUtilsSimplify, VectorHelpersWorkBeyondInt32Products) {
  EXPECT_EQ(U::VecMinInt2D(TPoint{5, 1}, TPoint{2, 4}), (TPoint{3, -3}));
  EXPECT_DOUBLE_EQ(U::DotProdInt2D(TPoint{100000, 100000}, TPoint{100000, -200000}), -1e10);
  EXPECT_DOUBLE_EQ(U::NormSquaredInt2D(TPoint{100000, 100000}), 2e10);
  EXPECT_DOUBLE_EQ(U::DistSquaredInt2D(TPoint{1, 1}, TPoint{4, 5}), 25);
  EXPECT_DOUBLE_EQ(U::DistanceInt2D(TPoint{1, 1}, TPoint{4, 5}), 5);
}

TPointArray Simplify(double Tolerance, const TPointArray& Pts) {
  TPointArray out{{99, 99}};
  const int32_t n = U::PolySimplifyInt2D(Tolerance, Pts, out);
  EXPECT_EQ(n, static_cast<int32_t>(out.size()));
  return out;
}

TEST(KxDeUtilsSimplify, ShortInputs) {
  EXPECT_TRUE(Simplify(1, {}).empty());
  EXPECT_TRUE(Simplify(1, {{3, 4}}).empty());
  EXPECT_EQ(Simplify(1, {{3, 4}, {3, 4}}), (TPointArray{{3, 4}, {3, 4}}));
  EXPECT_EQ(Simplify(100, {{0, 0}, {5, 50}, {10, 0}}), (TPointArray{{0, 0}, {10, 0}}));
}

TEST(KxDeUtilsSimplify, ToleranceIsExceededStrictly) {
  const TPointArray bump{{0, 0}, {5, 1}, {10, 0}};
  EXPECT_EQ(Simplify(0.5, bump), bump);
  EXPECT_EQ(Simplify(1, bump), (TPointArray{{0, 0}, {10, 0}}));
  TPointArray straight;
  for (int i = 0; i < 20; ++i) straight.push_back(TPoint{i * 3, i * 2});
  EXPECT_EQ(Simplify(0, straight), (TPointArray{{0, 0}, {57, 38}}));
}

TEST(KxDeUtilsSimplify, DistanceIsToTheChordNotItsLine) {
  // (-3, 4) lies before the chord's start: 5 from (0, 0), though only 4 from the line.
  EXPECT_EQ(Simplify(4.9, {{0, 0}, {-3, 4}, {10, 0}}), (TPointArray{{0, 0}, {-3, 4}, {10, 0}}));
  EXPECT_EQ(Simplify(5, {{0, 0}, {-3, 4}, {10, 0}}), (TPointArray{{0, 0}, {10, 0}}));
  // (13, 4) lies beyond its end: 5 from (10, 0).
  EXPECT_EQ(Simplify(4.5, {{0, 0}, {13, 4}, {10, 0}}), (TPointArray{{0, 0}, {13, 4}, {10, 0}}));
}

TEST(KxDeUtilsSimplify, TheFootOnTheChordIsRoundedToWholeUnits) {
  // (5, 2) is 0.48 from the chord (0, 0)-(10, 3), but its foot (5.14, 1.54) rounds to (5, 2).
  EXPECT_EQ(Simplify(0.1, {{0, 0}, {5, 2}, {10, 3}}), (TPointArray{{0, 0}, {10, 3}}));
}

TEST(KxDeUtilsSimplify, SplitsRecursivelyAndKeepsInputOrder) {
  // The peak splits first; each half then keeps the point whose rounded foot is farthest.
  const TPointArray spike{{0, 0}, {1, 0}, {2, 0}, {3, 5}, {4, 0}, {5, 0}, {6, 0}};
  EXPECT_EQ(Simplify(1, spike), (TPointArray{{0, 0}, {2, 0}, {3, 5}, {4, 0}, {6, 0}}));
  const TPointArray zigzag{{0, 0}, {2, 5}, {4, 0}, {6, 5}, {8, 0}};
  EXPECT_EQ(Simplify(1, zigzag), zigzag);
}

TEST(KxDeUtilsSimplify, LongZigzagSplitsAtEveryPoint) {
  // Every split peels off one point, thousands of levels deep.
  TPointArray zigzag;
  for (int i = 0; i <= 2000; ++i) zigzag.push_back(TPoint{i, (i % 2) * 10});
  EXPECT_EQ(Simplify(1, zigzag), zigzag);
  EXPECT_EQ(Simplify(20, zigzag), (TPointArray{{0, 0}, {2000, 0}}));
}

TEST(KxDeUtilsSimplify, WorkerIgnoresIndexesOutsideTheArrays) {
  const TPointArray pts{{0, 0}, {5, 9}, {10, 0}};
  std::vector<bool> marker(3, false);
  U::SimplifyInt2D(1, pts, marker, 0, 3);
  U::SimplifyInt2D(1, pts, marker, -1, 2);
  EXPECT_EQ(marker, (std::vector<bool>{false, false, false}));
  std::vector<bool> shortMarker(2, false);
  U::SimplifyInt2D(1, pts, shortMarker, 0, 2);
  EXPECT_EQ(shortMarker, (std::vector<bool>{false, false}));
  U::SimplifyInt2D(1, pts, marker, 0, 2);
  EXPECT_EQ(marker, (std::vector<bool>{false, true, false}));
}

}  // namespace
}  // namespace vorn
