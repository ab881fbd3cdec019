// TKxDeUtils rotation helpers: points, polygons, rectangles, rotated sizes, quadrants, angles of
// vectors and ellipse outlines. Positive angles turn counter-clockwise on a y-down screen.
#include "support/TestSupport.h"

#include <vorn/common/KxDeUtils.h>

#include <cstring>
#include <numbers>

namespace vorn::test {
namespace {

using U = TKxDeUtils;
const float kSqrt2 = std::sqrt(2.0f);

TEST(KxDeUtilsRotation, PointsTurnCounterClockwiseOnScreenWithAFloatAngle) {
  const struct {
    TPointF P;
    float Angle;
    TPointF Centre, Expected;
  } cases[] = {{{1, 0}, 90, {0, 0}, {0, -1}},
               {{1, 0}, 180, {0, 0}, {-1, 0}},
               {{1, 0}, -90, {0, 0}, {0, 1}},
               {{20, 10}, 45, {10, 10}, {10 + 5 * kSqrt2, 10 - 5 * kSqrt2}},
               // 2 pi as a float is 1.748e-7 too large: a full turn shifts a far point sideways.
               {{0, 1e6f}, 360, {0, 0}, {0.17484555f, 1e6f}}};
  for (const auto& c : cases) ExpectNear(U::RotatePoint(c.P, c.Angle, c.Centre), c.Expected, 0.1);
  // Zero returns the point bit for bit: through the formula 0.1 - 1e7 + 1e7 would come back as 0.
  const TPointF p{0.1f, -0.0f};
  const TPointF r = U::RotatePoint(p, 0, TPointF{1e7f, 3});
  EXPECT_EQ(std::memcmp(&p, &r, sizeof p), 0);
  // To the screen the axes are exchanged in the second and fourth quarter; 360 is in neither.
  ExpectNear(U::RotatePointToScreen(TPointF{1, 0}, 90, TPointF{0, 0}), TPointF{-1, 0});
  ExpectNear(U::RotatePointToScreen(TPointF{2, 0}, 270, TPointF{0, 0}), TPointF{2, 0});
  ExpectNear(U::RotatePointToScreen(TPointF{2, 1}, 360, TPointF{0, 0}), TPointF{2, 1});
}

TEST(KxDeUtilsRotation, PolygonsAgreeWithPointsInPlaceAndRoundTiesToEven) {
  const TDPointArray pts{{0, 0}, {10, 0}, {10, 5}, {-3, 7.5f}};
  TDPointArray out{{99, 99}, {99, 99}, {99, 99}, {99, 99}, {99, 99}, {99, 99}};
  U::RotatePolygon(pts, 33, TPointF{5, 5}, out);
  ASSERT_EQ(out.size(), pts.size());
  for (size_t i = 0; i < pts.size(); ++i) ExpectNear(out[i], U::RotatePoint(pts[i], 33, TPointF{5, 5}), 1e-4);
  TDPointArray same{{1, 0}, {0, 1}};
  U::RotatePolygon(same, 90, TPointF{0, 0}, same);
  ExpectNear(same[1], TPointF{1, 0}, 1e-4);
  // A half turn about (0.25, 0) sends x = 0, 1, 2 to 0.5, -0.5, -1.5.
  TPointArray asInt;
  U::RotatePolygon(TPointArray{{0, 0}, {1, 0}, {2, 0}}, 180, TPointF{0.25f, 0}, asInt);
  EXPECT_EQ(asInt, (TPointArray{{0, 0}, {0, 0}, {-2, 0}}));
}

TEST(KxDeUtilsRotation, RectanglesTurnTwoOrAllFourCornersAboutTheirCentres) {
  const TRectF square{0, 0, 10, 10};
  const float d = 5 * kSqrt2;
  // RotateRect turns only (Left, Top) and (Right, Bottom): at 45 degrees they land on one line.
  ExpectNear(U::RotateRect(square, 45, TPointF{5, 5}), TRectF{5 - d, 5, 5 + d, 5});
  ExpectNear(U::RotateRect2(square, 45, TPointF{5, 5}), TRectF{5 - d, 5 - d, 5 + d, 5 + d});
  ExpectNear(U::RotateRect(square, 180, TPointF{0, 0}), TRectF{-10, -10, 0, 0});
  const TRectF r{2, 4, 10, 20};
  EXPECT_EQ(U::RotationPt(r, TKxDeRotationCenter::kxdroPtBottomLeft), (TPointF{2, 20}));
  EXPECT_EQ(U::RotationPt(r, TKxDeRotationCenter::kxdroPtBottomRight), (TPointF{10, 20}));
  EXPECT_EQ(U::RotationPt(r, TKxDeRotationCenter::kxdroRefPoint), (TPointF{6, 12}));
  EXPECT_EQ(U::RotationPt(TRect{1, 1, 4, 4}, TKxDeRotationCenter::kxdroPtGravity), (TPointF{2.5f, 2.5f}));
  ExpectNear(U::RotateRect(TRectF{0, 0, 10, 20}, 90, TKxDeRotationCenter::kxdroPtBottomLeft), TRectF{-20, 10, 0, 20});
  EXPECT_EQ(U::RotateRect(TRectF{0, 0, 10, 20}, 37), U::RotateRect(TRectF{0, 0, 10, 20}, 37, TPointF{5, 10}));
  const TRectF reversed{10, 10, 0, 0};
  EXPECT_EQ(U::RotateRectToScreen(reversed, 0, TPointF{3, 3}), reversed) << "unturned stays as it is";
  EXPECT_EQ(U::RotateRect2(reversed, 0, TPointF{3, 3}), (TRectF{0, 0, 10, 10})) << "ordered";
  TPointF f;
  U::RotatedSize(10.0f, 10.0f, 45.0f, f);
  ExpectNear(f, TPointF{10 * kSqrt2, 10 * kSqrt2});
  TPoint i{-1, -1};
  U::RotatedSize(10, 20, 270, i);
  EXPECT_EQ(i, (TPoint{20, 10}));
  U::RotatedSize(10, 10, 30, i);
  EXPECT_EQ(i, (TPoint{14, 14})) << "13.66 rounded, not truncated";
}

TEST(KxDeUtilsRotation, QuadrantsAndAnglesCountCounterClockwiseOnScreen) {
  using enum TKxDeSizeRotation;
  const std::pair<float, TKxDeSizeRotation> quadrants[] = {
      {0, kxsrNorthEast},   {-0.0f, kxsrNorthEast}, {89.99f, kxsrNorthEast}, {90, kxsrNorthWest}, {180, kxsrSouthWest},
      {270, kxsrSouthEast}, {360, kxsrSouthEast},   {450, kxsrSouthEast},    {-10, kxsrSouthEast}};
  for (auto [angle, q] : quadrants) EXPECT_EQ(U::Quadrant(angle), q) << angle;
  const std::pair<TPointF, float> angles[] = {{{1, 0}, 0},    {{0, -1}, 90}, {{-1, 0}, 180}, {{0, 1}, 270},
                                              {{-1, 1}, 225}, {{1, 1}, 315}, {{0, 0}, 0}};
  for (auto [p, angle] : angles) EXPECT_FLOAT_EQ(U::AngleOfPoint(p), angle) << p.X << "," << p.Y;
  const float a = U::AngleOfPoint(TPointF{1, 1e-30f});
  EXPECT_TRUE(a >= 0 && a < 360) << "a hair under 360 must not round to it";
  for (float angle : {10.0f, 135.0f, 290.0f, 359.0f}) {
    const TPointF p = U::PointOnLine(TPointF{3, -4}, angle, 25);
    EXPECT_NEAR(U::AngleOfPoints(TPointF{3, -4}, p), angle, 1e-3f);
    EXPECT_NEAR(std::hypot(p.X - 3, p.Y + 4), 25, 1e-3f);
  }
}

TEST(KxDeUtilsRotation, EllipseOutlinesRunBetweenWholeAscendingDegrees) {
  const TPointF centre{100, 50};
  auto at = [&](double Degrees) {
    const double rad = Degrees * std::numbers::pi / 180;
    return TPointF{static_cast<float>(centre.X + std::cos(rad) * 20),
                   static_cast<float>(centre.Y - std::sin(rad) * 10)};
  };
  struct TCase {
    float Start, End;
    size_t Count;
    double First, Last;
  };
  const TCase cases[] = {
      {45, 45, 361, 0, 360},                             // equal angles: the whole outline
      {350, 10, 341, 10, 350},                           // ordered ascending
      {10, 350, 341, 10, 350}, {0, 720, 361, 0, 360},    // whole turns are reduced, a positive one stays 360
      {-360, 0, 361, 0, 360},  {90, 360, 271, 90, 360},  // three quarters, not the first one
      {360, 90, 271, 90, 360}, {30, 390, 361, 0, 360},   // 390 is 30 again
      {390, 100, 71, 30, 100}, {-90, 90, 181, -90, 90},  // negative angles keep their sign
      {0.5f, 1.5f, 3, 0, 2},                             // whole degrees, ties to even
  };
  for (const TCase& c : cases) {
    const TDPointArray pts = U::GetEllipsePoints(centre, 20, 10, c.Start, c.End);
    ASSERT_EQ(pts.size(), c.Count) << c.Start << " to " << c.End;
    ExpectNear(pts.front(), at(c.First), 1e-3);
    ExpectNear(pts.back(), at(c.Last), 1e-3);
  }
  EXPECT_EQ(U::GetEllipsePoints(centre, 20, 10, 10.4f, 19.6f).size(), 11u);
}

}  // namespace
}  // namespace vorn::test
