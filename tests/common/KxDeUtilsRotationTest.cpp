// TKxDeUtils rotation helpers: points, polygons, rectangles, rotated sizes, quadrants, angles of
// vectors and ellipse outlines. Positive angles turn counter-clockwise on a y-down screen.
#include <vorn/common/KxDeUtils.h>
#include <vorn/common/Units.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

namespace vorn {
namespace {

using U = TKxDeUtils;

constexpr float kTol = 1e-4f;
const float kSqrt2 = std::sqrt(2.0f);

#define EXPECT_POINT_NEAR(actual, x, y)                  \
  do {                                                   \
    const TPointF p_ = (actual);                         \
    EXPECT_NEAR(p_.X, (x), kTol) << "X of " #actual;     \
    EXPECT_NEAR(p_.Y, (y), kTol) << "Y of " #actual;     \
  } while (0)

#define EXPECT_RECT_NEAR(actual, l, t, r, b)             \
  do {                                                   \
    const TRectF r_ = (actual);                          \
    EXPECT_NEAR(r_.Left, (l), kTol) << #actual;          \
    EXPECT_NEAR(r_.Top, (t), kTol) << #actual;           \
    EXPECT_NEAR(r_.Right, (r), kTol) << #actual;         \
    EXPECT_NEAR(r_.Bottom, (b), kTol) << #actual;        \
  } while (0)

// ---- Points -------------------------------------------------------------------------------------

TEST(KxDeUtilsRotatePoint, ZeroAngleReturnsThePointBitForBit) {
  // Through the formula, 0.1 - 1e7 + 1e7 would come back as 0 at float precision.
  const TPointF p{0.1f, -0.0f};
  const TPointF r = U::RotatePoint(p, 0, TPointF{1e7f, 3});
  EXPECT_EQ(std::memcmp(&p, &r, sizeof p), 0);
  EXPECT_TRUE(std::signbit(r.Y));
  const TPointF s = U::RotatePointToScreen(p, 0, TPointF{1e7f, 3});
  EXPECT_EQ(std::memcmp(&p, &s, sizeof p), 0);
}

TEST(KxDeUtilsRotatePoint, PositiveAnglesTurnCounterClockwiseOnScreen) {
  EXPECT_POINT_NEAR(U::RotatePoint(TPointF{1, 0}, 90, TPointF{0, 0}), 0, -1);  // up on screen
  EXPECT_POINT_NEAR(U::RotatePoint(TPointF{1, 0}, 180, TPointF{0, 0}), -1, 0);
  EXPECT_POINT_NEAR(U::RotatePoint(TPointF{1, 0}, 270, TPointF{0, 0}), 0, 1);
  EXPECT_POINT_NEAR(U::RotatePoint(TPointF{1, 0}, -90, TPointF{0, 0}), 0, 1);
  EXPECT_POINT_NEAR(U::RotatePoint(TPointF{20, 10}, 90, TPointF{10, 10}), 10, 0);
  EXPECT_POINT_NEAR(U::RotatePoint(TPointF{20, 10}, 45, TPointF{10, 10}), 10 + 5 * kSqrt2, 10 - 5 * kSqrt2);
}

TEST(KxDeUtilsRotatePoint, TheAngleIsHeldAsAFloat) {
  // 2 pi as a float is 1.748e-7 larger than 2 pi, so a full turn leaves a far point shifted by
  // 1e6 * 1.748e-7 sideways. A double-precision angle would return to within 1e-9.
  const TPointF r = U::RotatePoint(TPointF{0, 1e6f}, 360, TPointF{0, 0});
  EXPECT_NEAR(r.X, 0.17484555f, 1e-3f);
  EXPECT_NEAR(r.Y, 1e6f, 0.1f);
}

TEST(KxDeUtilsRotatePoint, ToScreenExchangesAxesInTheSecondAndFourthQuarter) {
  EXPECT_POINT_NEAR(U::RotatePointToScreen(TPointF{1, 0}, 45, TPointF{0, 0}), kSqrt2 / 2, -kSqrt2 / 2);
  EXPECT_POINT_NEAR(U::RotatePointToScreen(TPointF{1, 0}, 90, TPointF{0, 0}), -1, 0);
  EXPECT_POINT_NEAR(U::RotatePointToScreen(TPointF{1, 0}, 180, TPointF{0, 0}), -1, 0);
  EXPECT_POINT_NEAR(U::RotatePointToScreen(TPointF{2, 0}, 270, TPointF{0, 0}), 2, 0);
  EXPECT_POINT_NEAR(U::RotatePointToScreen(TPointF{2, 1}, 300, TPointF{0, 0}),
                    U::RotatePoint(TPointF{2, 1}, 300, TPointF{0, 0}).Y,
                    U::RotatePoint(TPointF{2, 1}, 300, TPointF{0, 0}).X);
  // 360 is outside both quarters.
  EXPECT_POINT_NEAR(U::RotatePointToScreen(TPointF{2, 1}, 360, TPointF{0, 0}), 2, 1);
}

// ---- Polygons -----------------------------------------------------------------------------------

TEST(KxDeUtilsRotatePolygon, FloatPolygonAgreesWithRotatePoint) {
  const TDPointArray pts{{0, 0}, {10, 0}, {10, 5}, {-3, 7.5f}};
  const TPointF centre{5, 5};
  TDPointArray out{{99, 99}, {99, 99}, {99, 99}, {99, 99}, {99, 99}, {99, 99}, {99, 99}};
  U::RotatePolygon(pts, 33, centre, out);
  ASSERT_EQ(out.size(), pts.size());
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const TPointF expected = U::RotatePoint(pts[i], 33, centre);
    EXPECT_NEAR(out[i].X, expected.X, kTol) << i;
    EXPECT_NEAR(out[i].Y, expected.Y, kTol) << i;
  }
  U::RotatePolygon(TDPointArray{}, 33, centre, out);
  EXPECT_TRUE(out.empty());
}

TEST(KxDeUtilsRotatePolygon, MayRotateAnArrayInPlace) {
  TDPointArray pts{{1, 0}, {0, 1}, {-1, 0}};
  U::RotatePolygon(pts, 90, TPointF{0, 0}, pts);
  ASSERT_EQ(pts.size(), 3u);
  EXPECT_POINT_NEAR(pts[0], 0, -1);
  EXPECT_POINT_NEAR(pts[1], 1, 0);
  EXPECT_POINT_NEAR(pts[2], 0, 1);
}

TEST(KxDeUtilsRotatePolygon, IntegerOverloads) {
  TDPointArray asFloat;
  U::RotatePolygon(TPointArray{{1, 0}, {0, 2}}, 90, TPointF{0, 0}, asFloat);
  ASSERT_EQ(asFloat.size(), 2u);
  EXPECT_POINT_NEAR(asFloat[0], 0, -1);
  EXPECT_POINT_NEAR(asFloat[1], 2, 0);

  // A half turn about (0.25, 0) sends x = 0, 1, 2 to 0.5, -0.5, -1.5: ties go to even.
  TPointArray asInt;
  U::RotatePolygon(TPointArray{{0, 0}, {1, 0}, {2, 0}}, 180, TPointF{0.25f, 0}, asInt);
  EXPECT_EQ(asInt, (TPointArray{{0, 0}, {0, 0}, {-2, 0}}));
}

// ---- Rectangles ---------------------------------------------------------------------------------

TEST(KxDeUtilsRotateRect, RotateRectTurnsTwoCornersRotateRect2AllFour) {
  const TRectF square{0, 0, 10, 10};
  const float d = 5 * kSqrt2;
  // Only (Left, Top) and (Right, Bottom) turn: at 45 degrees they land on the horizontal
  // through the centre.
  EXPECT_RECT_NEAR(U::RotateRect(square, 45, TPointF{5, 5}), 5 - d, 5, 5 + d, 5);
  EXPECT_RECT_NEAR(U::RotateRect(square, 45), 5 - d, 5, 5 + d, 5);
  EXPECT_RECT_NEAR(U::RotateRect2(square, 45, TPointF{5, 5}), 5 - d, 5 - d, 5 + d, 5 + d);
}

TEST(KxDeUtilsRotateRect, ResultIsOrdered) {
  EXPECT_RECT_NEAR(U::RotateRect(TRectF{0, 0, 10, 10}, 180, TPointF{0, 0}), -10, -10, 0, 0);
  EXPECT_RECT_NEAR(U::RotateRect2(TRectF{0, 0, 10, 10}, 180, TPointF{0, 0}), -10, -10, 0, 0);
}

TEST(KxDeUtilsRotateRect, RotationCentres) {
  const TRectF r{2, 4, 10, 20};
  EXPECT_EQ(U::RotationPt(r, TKxDeRotationCenter::kxdroPtBottomLeft), (TPointF{2, 20}));
  EXPECT_EQ(U::RotationPt(r, TKxDeRotationCenter::kxdroPtBottomRight), (TPointF{10, 20}));
  EXPECT_EQ(U::RotationPt(r, TKxDeRotationCenter::kxdroPtGravity), (TPointF{6, 12}));
  EXPECT_EQ(U::RotationPt(r, TKxDeRotationCenter::kxdroRefPoint), (TPointF{6, 12}));
  // The integer overload does not halve in integers.
  EXPECT_EQ(U::RotationPt(TRect{1, 1, 4, 4}, TKxDeRotationCenter::kxdroPtGravity), (TPointF{2.5f, 2.5f}));

  // About the bottom-left corner (0, 20): (0, 0) goes to (-20, 20) and (10, 20) to (0, 10).
  const TRectF tall{0, 0, 10, 20};
  EXPECT_RECT_NEAR(U::RotateRect(tall, 90, TKxDeRotationCenter::kxdroPtBottomLeft), -20, 10, 0, 20);
  EXPECT_EQ(U::RotateRect(tall, 37, TKxDeRotationCenter::kxdroPtBottomRight), U::RotateRect(tall, 37, TPointF{10, 20}));
  EXPECT_EQ(U::RotateRect(tall, 37), U::RotateRect(tall, 37, TPointF{5, 10}));
}

TEST(KxDeUtilsRotateRect, ToScreenLeavesAnUnrotatedRectangleAsItIs) {
  const TRectF reversed{10, 10, 0, 0};
  EXPECT_EQ(U::RotateRectToScreen(reversed, 0, TPointF{3, 3}), reversed);
  EXPECT_EQ(U::RotateRect2(reversed, 0, TPointF{3, 3}), (TRectF{0, 0, 10, 10}));
  EXPECT_EQ(U::RotateRectToScreen(TRectF{0, 0, 10, 4}, 30, TPointF{1, 2}),
            U::RotateRect2(TRectF{0, 0, 10, 4}, 30, TPointF{1, 2}));
}

TEST(KxDeUtilsRotateRect, RotatedSizeIsTheBoundingBoxOfTheTurnedRectangle) {
  TPointF f;
  U::RotatedSize(10.0f, 20.0f, 90.0f, f);
  EXPECT_POINT_NEAR(f, 20, 10);
  U::RotatedSize(10.0f, 10.0f, 45.0f, f);
  EXPECT_POINT_NEAR(f, 10 * kSqrt2, 10 * kSqrt2);
  U::RotatedSize(10.0f, 20.0f, 0.0f, f);
  EXPECT_EQ(f, (TPointF{10, 20}));

  TPoint i{-1, -1};
  U::RotatedSize(10, 20, 90, i);
  EXPECT_EQ(i, (TPoint{20, 10}));
  U::RotatedSize(10, 20, 270, i);
  EXPECT_EQ(i, (TPoint{20, 10}));
  // 10 (cos 30 + sin 30) = 13.66: rounded, not truncated.
  U::RotatedSize(10, 10, 30, i);
  EXPECT_EQ(i, (TPoint{14, 14}));
  U::RotatedSize(10, 10, 45, i);
  EXPECT_EQ(i, (TPoint{14, 14}));
}

// ---- Quadrants and angles -------------------------------------------------------------------

TEST(KxDeUtilsAngles, QuadrantBoundaries) {
  using enum TKxDeSizeRotation;
  EXPECT_EQ(U::Quadrant(0), kxsrNorthEast);
  EXPECT_EQ(U::Quadrant(-0.0f), kxsrNorthEast);
  EXPECT_EQ(U::Quadrant(89.99f), kxsrNorthEast);
  EXPECT_EQ(U::Quadrant(90), kxsrNorthWest);
  EXPECT_EQ(U::Quadrant(179.99f), kxsrNorthWest);
  EXPECT_EQ(U::Quadrant(180), kxsrSouthWest);
  EXPECT_EQ(U::Quadrant(269.99f), kxsrSouthWest);
  EXPECT_EQ(U::Quadrant(270), kxsrSouthEast);
  EXPECT_EQ(U::Quadrant(360), kxsrSouthEast);
  EXPECT_EQ(U::Quadrant(450), kxsrSouthEast);  // angles are not reduced
  EXPECT_EQ(U::Quadrant(-10), kxsrSouthEast);
}

TEST(KxDeUtilsAngles, AngleOfPointCountsCounterClockwiseOnScreen) {
  EXPECT_FLOAT_EQ(U::AngleOfPoint(TPointF{1, 0}), 0);
  EXPECT_FLOAT_EQ(U::AngleOfPoint(TPointF{0, -1}), 90);
  EXPECT_FLOAT_EQ(U::AngleOfPoint(TPointF{-1, 0}), 180);
  EXPECT_FLOAT_EQ(U::AngleOfPoint(TPointF{0, 1}), 270);
  EXPECT_FLOAT_EQ(U::AngleOfPoint(TPointF{1, -1}), 45);
  EXPECT_FLOAT_EQ(U::AngleOfPoint(TPointF{-1, -1}), 135);
  EXPECT_FLOAT_EQ(U::AngleOfPoint(TPointF{-1, 1}), 225);
  EXPECT_FLOAT_EQ(U::AngleOfPoint(TPointF{1, 1}), 315);
  EXPECT_NEAR(U::AngleOfPoint(TPointF{2, -2 * std::sqrt(3.0f)}), 60, kTol);
  EXPECT_FLOAT_EQ(U::AngleOfPoint(TPointF{0, 0}), 0);
  EXPECT_FLOAT_EQ(U::AngleOfPoints(TPointF{10, 10}, TPointF{10, 0}), 90);
  EXPECT_FLOAT_EQ(U::AngleOfPoints(TPointF{10, 10}, TPointF{0, 10}), 180);
}

TEST(KxDeUtilsAngles, AngleOfPointStaysBelow360) {
  // Just below the positive x axis on screen the angle is a hair under 360 and rounds to it in
  // float; the direction is the same as 0.
  const float a = U::AngleOfPoint(TPointF{1, 1e-30f});
  EXPECT_GE(a, 0);
  EXPECT_LT(a, 360);
  const float b = U::AngleOfPoint(TPointF{1, -1e-30f});
  EXPECT_GE(b, 0);
  EXPECT_LT(b, 360);
}

TEST(KxDeUtilsAngles, PointOnLineFollowsTheSameDirectionConvention) {
  EXPECT_EQ(U::PointOnLine(TPointF{1.5f, 2}, 0, 10), (TPointF{11.5f, 2}));
  EXPECT_POINT_NEAR(U::PointOnLine(TPointF{1, 2}, 90, 10), 1, -8);
  EXPECT_POINT_NEAR(U::PointOnLine(TPointF{1, 2}, 180, 10), -9, 2);
  const TPointF origin{3, -4};
  for (float angle : {10.0f, 75.0f, 135.0f, 200.0f, 290.0f, 359.0f}) {
    const TPointF p = U::PointOnLine(origin, angle, 25);
    EXPECT_NEAR(U::AngleOfPoints(origin, p), angle, 1e-3f) << angle;
    EXPECT_NEAR(std::hypot(p.X - origin.X, p.Y - origin.Y), 25, 1e-3f) << angle;
  }
}

// ---- Ellipse outlines ---------------------------------------------------------------------------

const TPointF kCentre{100, 50};
constexpr float kRx = 20;
constexpr float kRy = 10;

TPointF EllipseAt(double Degrees) {
  const double rad = Degrees * std::numbers::pi / 180;
  return TPointF{static_cast<float>(kCentre.X + std::cos(rad) * kRx),
                 static_cast<float>(kCentre.Y - std::sin(rad) * kRy)};
}

TEST(KxDeUtilsEllipse, EqualAnglesGiveTheWholeOutline) {
  const TDPointArray pts = U::GetEllipsePoints(kCentre, kRx, kRy, 45, 45);
  ASSERT_EQ(pts.size(), 361u);
  EXPECT_POINT_NEAR(pts[0], 120, 50);
  EXPECT_POINT_NEAR(pts[90], 100, 40);  // counter-clockwise: up on screen first
  EXPECT_POINT_NEAR(pts[180], 80, 50);
  EXPECT_POINT_NEAR(pts[270], 100, 60);
  EXPECT_POINT_NEAR(pts[360], 120, 50);
}

TEST(KxDeUtilsEllipse, AnglesAreOrderedAscending) {
  for (auto [start, end] : {std::pair{350.0f, 10.0f}, std::pair{10.0f, 350.0f}}) {
    const TDPointArray pts = U::GetEllipsePoints(kCentre, kRx, kRy, start, end);
    ASSERT_EQ(pts.size(), 341u) << start << " " << end;
    EXPECT_POINT_NEAR(pts.front(), EllipseAt(10).X, EllipseAt(10).Y);
    EXPECT_POINT_NEAR(pts.back(), EllipseAt(350).X, EllipseAt(350).Y);
    EXPECT_POINT_NEAR(pts[80], EllipseAt(90).X, EllipseAt(90).Y);
  }
}

TEST(KxDeUtilsEllipse, WholeTurnsAreReduced) {
  // A positive full turn stays 360, so 0..360 is the closed outline rather than one point.
  EXPECT_EQ(U::GetEllipsePoints(kCentre, kRx, kRy, 0, 360).size(), 361u);
  EXPECT_EQ(U::GetEllipsePoints(kCentre, kRx, kRy, 0, 720).size(), 361u);
  EXPECT_EQ(U::GetEllipsePoints(kCentre, kRx, kRy, 720, 0).size(), 361u);
  EXPECT_EQ(U::GetEllipsePoints(kCentre, kRx, kRy, 360, 720).size(), 361u);
  EXPECT_EQ(U::GetEllipsePoints(kCentre, kRx, kRy, -360, 0).size(), 361u);
  // 90..360 is three quarters; were 360 reduced to 0 it would be the first quarter.
  for (auto [start, end] : {std::pair{90.0f, 360.0f}, std::pair{360.0f, 90.0f}, std::pair{90.0f, 1080.0f}}) {
    const TDPointArray pts = U::GetEllipsePoints(kCentre, kRx, kRy, start, end);
    ASSERT_EQ(pts.size(), 271u) << start << " " << end;
    EXPECT_POINT_NEAR(pts.front(), 100, 40);
    EXPECT_POINT_NEAR(pts.back(), 120, 50);
  }
  // 390 is 30 again: equal angles, the whole outline.
  EXPECT_EQ(U::GetEllipsePoints(kCentre, kRx, kRy, 30, 390).size(), 361u);
  const TDPointArray arc = U::GetEllipsePoints(kCentre, kRx, kRy, 390, 100);
  ASSERT_EQ(arc.size(), 71u);
  EXPECT_POINT_NEAR(arc.front(), EllipseAt(30).X, EllipseAt(30).Y);
}

TEST(KxDeUtilsEllipse, NegativeAnglesKeepTheirSign) {
  const TDPointArray pts = U::GetEllipsePoints(kCentre, kRx, kRy, -90, 90);
  ASSERT_EQ(pts.size(), 181u);
  EXPECT_POINT_NEAR(pts.front(), 100, 60);
  EXPECT_POINT_NEAR(pts[90], 120, 50);
  EXPECT_POINT_NEAR(pts.back(), 100, 40);
}

TEST(KxDeUtilsEllipse, AnglesRoundToWholeDegreesTiesToEven) {
  // 0.5 -> 0 and 1.5 -> 2: three points from 0 degrees.
  const TDPointArray pts = U::GetEllipsePoints(kCentre, kRx, kRy, 0.5f, 1.5f);
  ASSERT_EQ(pts.size(), 3u);
  EXPECT_POINT_NEAR(pts.front(), 120, 50);
  EXPECT_POINT_NEAR(pts.back(), EllipseAt(2).X, EllipseAt(2).Y);
  EXPECT_EQ(U::GetEllipsePoints(kCentre, kRx, kRy, 10.4f, 19.6f).size(), 11u);
}

}  // namespace
}  // namespace vorn
