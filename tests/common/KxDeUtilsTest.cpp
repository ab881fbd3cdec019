// Rectangle records and TKxDeUtils: rounding, rectangles and point arrays, units, encoders (fixed point,
// font styles, shift keys, sets), transforms, identifiers, the hit-test primitives, intersections, polyline
// simplification and the rotation helpers. Positive angles turn counter-clockwise on a y-down screen.
#include "support/TestSupport.h"

#include <QTransform>

#include <cstring>
#include <limits>
#include <numbers>

namespace vorn::test {
namespace {

using U = TKxDeUtils;
constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();

TEST(KxDeUtilsRounding, RoundTakesHalvesUpFromTheFloorAndSaturates) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::pair<float, int32_t> cases[] = {{2.5f, 3},   {3.5f, 4},     {0.49999997f, 0}, {-1.3f, -2}, {-1.5f, -1},
                                             {-2.0f, -2}, {1e20f, kMax}, {-1e20f, kMin},   {nan, 0}};
  for (auto [value, expected] : cases) {
    int32_t r = -12345;
    U::Round(value, r);
    EXPECT_EQ(r, expected) << value;
  }
  intptr_t wide = 0;
  U::Round(1e10f, wide);
  EXPECT_EQ(wide, sizeof(intptr_t) == 8 ? intptr_t(10000000000) : std::numeric_limits<intptr_t>::max());
  for (auto [value, expected] : {std::pair{2.0, 2}, {2.0001, 3}, {1e-300, 1}, {-1.5, -1}})
    EXPECT_EQ(U::IntRound(value), expected) << value << " rounds up";
  EXPECT_EQ(U::IntRound(5e9), int64_t{5000000000});
}

TEST(KxDeUtilsRounding, PointsRectsAndDecimalsRoundTiesToEven) {
  EXPECT_EQ(U::Point(TPointF{2.5f, 3.5f}), (TPoint{2, 4}));
  EXPECT_EQ(U::Point(TPointF{-2.5f, -0.5f}), (TPoint{-2, 0}));
  EXPECT_EQ(U::Point(TPointF{3e9f, -3e9f}), (TPoint{kMax, kMin}));
  EXPECT_EQ(U::Rect(TRectF{0.5f, 1.5f, 2.5f, -1.5f}), (TRect{0, 2, 2, -2}));
  EXPECT_EQ(U::RectFloorRound(TRectF{-0.5f, 1.9f, 2.0f, -3.1f}), (TRect{-1, 1, 2, -4}));
  // 0.125 and 0.375 are exact binary fractions: true ties at two decimals.
  const TPointF decimals = U::RoundTo(TPointF{0.125f, 0.375f}, -2);
  EXPECT_FLOAT_EQ(decimals.X, 0.12f);
  EXPECT_FLOAT_EQ(decimals.Y, 0.38f);
  EXPECT_EQ(U::RoundTo(TPointF{1.5f, 3.0f}, 400), (TPointF{0, 0})) << "digits beyond the range are clamped";
  EXPECT_FLOAT_EQ(U::RealMod(-7.5f, 5), -2.5f);
  EXPECT_FLOAT_EQ(U::RealMod(725.25f, 360), 5.25f);
  EXPECT_THROW(U::RealMod(1.0f, 0), Exception);
}

// Rectangles: left and top edges belong to them, right and bottom edges do not.
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
  // Failure messages print each value in the shortest text that reads back as that value.
  EXPECT_EQ(::testing::PrintToString(TPointF{0.1f, -2}), "TPointF{0.1, -2}");
  EXPECT_EQ(::testing::PrintToString(TRectF{1e-7f, 0, 3.25f, 1e30f}), "TRectF{1e-07, 0, 3.25, 1e+30}");
  EXPECT_EQ(::testing::PrintToString(TPoint{-3, 7}), "TPoint{-3, 7}");
  EXPECT_EQ(::testing::PrintToString(TRect{1, 2, 3, 4}), "TRect{1, 2, 3, 4}");
  std::array<TPoint, 4> corners;
  TRect{1, 2, 3, 4}.RectToArray(corners);
  EXPECT_EQ(corners[1], (TPoint{3, 2}));
  EXPECT_EQ(corners[3], (TPoint{1, 4}));
}

TEST(KxDeUtilsRects, PointArraysMoveRoundAndWidenAndRectanglesZoom) {
  const TDPointArray d{{1.5f, 2.5f}, {-2.5f, 3}};
  EXPECT_EQ(U::OffsetPoints(d, 10, -1), (TDPointArray{{11.5f, 1.5f}, {7.5f, 2}}));
  EXPECT_EQ(U::DoublesToPoints(d), (TPointArray{{2, 2}, {-2, 3}})) << "ties to even";
  EXPECT_EQ(U::PointsToDoubles(U::DoublesToPoints(d)), (TDPointArray{{2, 2}, {-2, 3}}));
  TPointF p{2, -3};
  U::ZoomPoint(p, 1.5f);
  EXPECT_EQ(p, (TPointF{3, -4.5f}));
  TRectF r{1, 2, 3, 4};
  r.Zoom(2);
  EXPECT_EQ(r, (TRectF{2, 4, 6, 8}));
  TPointArray corners;
  TRect{1, 2, 3, 4}.RectToArray(corners);
  EXPECT_EQ(corners, (TPointArray{{1, 2}, {3, 2}, {3, 4}, {1, 4}})) << "clockwise from the top-left";
  QTransform m(1, 2, 3, 4, 5, 6), n = m;
  U::Scale(m, 2, 10, true);
  U::Scale(n, 2, 10, false);
  EXPECT_EQ(m, QTransform(2, 4, 30, 40, 10, 60));
  EXPECT_EQ(n, QTransform(2, 4, 30, 40, 5, 6)) << "the translation only when asked";
}

TEST(KxDeUtilsRects, BoundsCornersAndNearEmptiness) {
  EXPECT_EQ(U::Rect(TPointArray{{3, -1}, {-2, 5}, {0, 0}}), (TRect{-2, -1, 3, 5}));
  EXPECT_EQ(U::Rect(TPointArray{}), TRect{});
  EXPECT_TRUE(U::RectIsNearEmpty(TRectF{0, 0, 0.01f, 0.01f}));
  EXPECT_FALSE(U::RectIsNearEmpty(TRectF{0, 0, 0.02f, 0}));
  EXPECT_FALSE(U::RectIsNearEmpty(TRectF{0, 0, 0, 0.012f}));
  EXPECT_TRUE(U::RectIsNearEmpty(TRectF{5, 5, 0, 0})) << "negative sizes";
}

TEST(KxDeUtilsUnits, MillimetresWorldUnitsInchesAndFontPointsConvertBothWays) {
  EXPECT_EQ(U::MMToFontPoints(25.4f), 72) << "the defaults: 96 dpi, one pixel per world unit";
  // 10 world units per mm on a 120-dpi screen: 1 mm = 10/120 inch = 6 points. Only non-fatal checks
  // run before the settings are put back.
  const float oldMM = CoordsPixelsPerMMConvertValue;
  const int32_t oldInch = ScreenPixelsPerInch;
  CoordsPixelsPerMMConvertValue = 10.0f;
  ScreenPixelsPerInch = 120;
  EXPECT_EQ(U::MMToFontPoints(2.5f), 15);
  EXPECT_EQ(U::MMToFontPoints(0.75f), 5) << "4.5 rounds up here (ties-to-even would give 4)";
  EXPECT_FLOAT_EQ(U::FontPointsToMM(15), 2.5f);
  const TRectF mm{1, 2.5f, -3, 4};
  EXPECT_EQ(U::MMToInternalUnits(mm), (TRectF{10, 25, -30, 40}));
  ExpectNear(U::InternalUnitsToMM(U::MMToInternalUnits(mm)), mm, 1e-6);
  ExpectNear(U::InternalUnitsToMM(U::MMToInternalUnits(TPointF{1.5f, -2})), TPointF{1.5f, -2}, 1e-6);
  CoordsPixelsPerMMConvertValue = oldMM;
  ScreenPixelsPerInch = oldInch;
  ExpectNear(TRectF({25.4f, 50.8f, -12.7f, 0}).RectToInch(), TRectF{1, 2, -0.5f, 0}, 1e-6);
  ExpectNear((TPointF{25.4f, -12.7f}).ToInch(), TPointF{1, -0.5f}, 1e-6);
}

TEST(KxDeUtilsEncodings, FixedPointIsSixteenDotSixteenWithTiesToEvenAndSaturation) {
  EXPECT_DOUBLE_EQ(U::FixToFloat(TFixed{0x8000, 1}), 1.5);
  EXPECT_EQ(U::FloatToFixed(-1.75).Raw(), -114688);
  EXPECT_EQ(U::FloatToFixed(1.5 / 65536).Raw(), 2) << "ties to even";
  EXPECT_EQ(U::FloatToFixed(1e6).Raw(), kMax);
  EXPECT_EQ(U::FloatToFixed(-1e6).Raw(), kMin);
  for (int32_t raw : {0, 1, -1, 65535, 65536, -65537, kMax, kMin})
    EXPECT_EQ(U::FloatToFixed(U::FixToFloat(raw)).Raw(), raw);
}

TEST(KxDeUtilsEncodings, FontStylesAndShiftKeys) {
  EXPECT_EQ(U::FontStyleToInteger({TFontStyle::fsBold, TFontStyle::fsStrikeOut}), 9);
  EXPECT_EQ(U::IntegerToFontStyle(0xF0 | 5), (TFontStyles{TFontStyle::fsBold, TFontStyle::fsUnderline}));
  for (int32_t v = 0; v < 16; ++v) EXPECT_EQ(U::FontStyleToInteger(U::IntegerToFontStyle(v)), v);
  using enum TShiftStateItem;
  EXPECT_EQ(U::ShiftToScShift({ssShift, ssCtrl, ssLeft, ssDouble}),
            (TKxDeShiftKeys{TKxDeShiftKey::kxskShift, TKxDeShiftKey::kxskCtrl}))
      << "mouse buttons and double clicks are no shift keys";
  EXPECT_EQ(U::ScShiftToShift({TKxDeShiftKey::kxskAlt, TKxDeShiftKey::kxskCtrl}), (TShiftState{ssAlt, ssCtrl}));
}

TEST(KxDeUtilsEncodings, SetsReadAndWriteOnlyTheirBytes) {
  const uint8_t image[5] = {0x01, 0x02, 0x03, 0x84, 0xFF};
  EXPECT_EQ(U::SetToInt(image, 4), int32_t(0x84030201));
  const uint8_t single = 0xA5;
  EXPECT_EQ(U::SetToInt(&single, 1), 0xA5) << "not read past its end";
  uint8_t target[8] = {0xAA, 0xAA, 0xAA, 0xAA, 5, 6, 7, 8};
  U::IntToSet(0x11223344, target, 2);
  EXPECT_EQ(target[1], 0x33);
  EXPECT_EQ(target[2], 0xAA);
  try {
    U::SetToInt(image, 5);
    FAIL() << "size 5 was accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Overflow: size given by parameter is greater as result can hold"));
  }
  EXPECT_THROW(U::IntToSet(-1, target, 5), Exception);
  EXPECT_EQ(target[4], 5) << "nothing written";
  // Typed sets use their ordinal mask: ordinals 0, 9 and 11 are 0xA01; only the low byte is replaced.
  TKxDeEditOptions options{TKxDeEditOption::kxdoHottrack, TKxDeEditOption::kxdoShowGuides,
                           TKxDeEditOption::kxdoLeftClickEndsCreation};
  EXPECT_EQ(U::SetToInt(options, 2), 0xA01);
  U::IntToSet(0x0203, options, 1);
  EXPECT_EQ(options, (TKxDeEditOptions{TKxDeEditOption::kxdoHottrack, TKxDeEditOption::kxdoCanUndo,
                                       TKxDeEditOption::kxdoShowGuides, TKxDeEditOption::kxdoLeftClickEndsCreation}));
  EXPECT_THROW(U::IntToSet(0, options, 8), Exception);
}

TEST(KxDeUtilsIdentifiers, MixingFollowsTheEightAddShiftStepsWithWrapAround) {
  EXPECT_EQ(U::MixGuidWords(1, 2, 3, 4), 0xC9E4E3BBu);
  EXPECT_EQ(U::MixGuidWords(0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF), 0xF125A25Fu);
}

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
      {{10, 0}, {10, 100}, {10, 0}, 0, true, "vertical, on the end"},
      {{50, 10.5f}, {0, 10}, {100, 10}, -5, false, "a negative fuzz counts as 0"},
      {{50, 52.5f}, {0, 0}, {100, 100}, 2, false, "slanted: the vertical offset counts"},
      {{5, 2}, {0, 0}, {10, 5}, 0, true, "flat: y 2.5 taken as 2"},
      {{5, 3}, {0, 0}, {10, 5}, 0, false, "flat: y 2.5 is not 3"},
      {{3, 1.5f}, {0, 0}, {10, 5}, 0, false, "flat: on the segment, half a unit from the rounded line"},
      {{2, 5}, {0, 0}, {5, 10}, 0, true, "steep: x 2.5 taken as 2"},
      {{2.5f, 5}, {0, 0}, {5, 10}, 0, false, "steep: not the unrounded x"},
      {{4, 7}, {5, 10}, {0, 0}, 1, true, "steep, reversed: x 3.5 taken as 4"},
      {{10.5f, 5}, {0, 0}, {10, 5}, 2, false, "slanted, past the end within fuzz"},
      {{5, 10.5f}, {0, 0}, {5, 10}, 2, false, "steep, past the end within fuzz"},
      {{10, 5}, {0, 0}, {10, 5}, 0, false, "the far corner of the half-open box"},
      {{10, 5}, {0, 0}, {10, 5}, 1, true, "the far corner with fuzz"},
      {{9.5f, 50}, {10.4f, 0}, {10.4f, 100}, 0.5f, true, "axis-parallel: the rounded x"},
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
  EXPECT_TRUE(U::DoLineIntersectRect(TPointF{0, 5}, TPointF{10, 5}, TRectF{5, 0, 5, 10}))
      << "a rectangle without width";
  EXPECT_FALSE(U::DoLineIntersectRect(TPointF{0, 12}, TPointF{10, 12}, TRectF{5, 0, 5, 10}));
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
  EXPECT_EQ(U::RotationPt(r, TKxDeRotationCenter::kxdroRefPoint), (TPointF{6, 12}));
  EXPECT_EQ(U::RotationPt(TRect{2, 4, 10, 20}, TKxDeRotationCenter::kxdroPtBottomRight), (TPointF{10, 20}));
  ExpectNear(U::RotateRect(TRectF{0, 0, 10, 20}, 90, TKxDeRotationCenter::kxdroPtBottomLeft), TRectF{-20, 10, 0, 20});
  EXPECT_EQ(U::RotateRect(TRectF{0, 0, 10, 20}, 37), U::RotateRect(TRectF{0, 0, 10, 20}, 37, TPointF{5, 10}));
  const TRectF reversed{10, 10, 0, 0};
  EXPECT_EQ(U::RotateRectToScreen(reversed, 0, TPointF{3, 3}), reversed) << "unturned stays as it is";
  ExpectNear(U::RotateRectToScreen(square, 45, TPointF{5, 5}), TRectF{5 - d, 5 - d, 5 + d, 5 + d});
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
