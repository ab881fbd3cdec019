// TKxDeUtils: rounding rules, rectangles and point arrays, unit conversions, encoders (fixed
// point, font styles, shift keys, sets), transform scaling and identifiers.
#include "support/TestSupport.h"

#include <vorn/common/KxDeUtils.h>
#include <vorn/common/Rounding.h>

#include <QTransform>

#include <limits>
#include <set>

namespace vorn {
namespace {

using U = TKxDeUtils;
constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();

// Sets the library-wide unit settings for one test and puts the previous values back.
class UnitSettings {
 public:
  UnitSettings(float PixelsPerMM, int32_t PixelsPerInch)
      : FOldMM(CoordsPixelsPerMMConvertValue), FOldInch(ScreenPixelsPerInch) {
    CoordsPixelsPerMMConvertValue = PixelsPerMM;
    ScreenPixelsPerInch = PixelsPerInch;
  }
  ~UnitSettings() {
    CoordsPixelsPerMMConvertValue = FOldMM;
    ScreenPixelsPerInch = FOldInch;
  }

 private:
  float FOldMM;
  int32_t FOldInch;
};

TEST(KxDeUtilsRounding, RoundTakesHalvesUpFromTheFloorAndSaturates) {
  const std::pair<float, int32_t> cases[] = {{2.5f, 3},
                                             {3.5f, 4},
                                             {0.49999997f, 0},
                                             {7.9f, 8},
                                             {-1.3f, -2},
                                             {-1.5f, -1},
                                             {-1.7f, -1},
                                             {-2.0f, -2},
                                             {1e20f, kMax},
                                             {-1e20f, kMin},
                                             {std::numeric_limits<float>::quiet_NaN(), 0}};
  for (auto [value, expected] : cases) {
    int32_t r = -12345;
    U::Round(value, r);
    EXPECT_EQ(r, expected) << value;
  }
  EXPECT_EQ(vorn::Round(2.5), 2) << "the engine-wide rule, for contrast";
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
  EXPECT_EQ(U::RoundTo(TPointF{1250, 1350}, 2), (TPointF{1200, 1400}));
  EXPECT_EQ(U::RoundTo(TPointF{1.5f, 3.0f}, 400), (TPointF{0, 0})) << "digits beyond the range are clamped";
  EXPECT_FLOAT_EQ(U::RealMod(-7.5f, 5), -2.5f);
  EXPECT_FLOAT_EQ(U::RealMod(7.5f, -5), 2.5f);
  EXPECT_FLOAT_EQ(U::RealMod(725.25f, 360), 5.25f);
  EXPECT_THROW(U::RealMod(1.0f, 0), Exception);
}

TEST(KxDeUtilsRects, BoundsCornersAndNearEmptiness) {
  EXPECT_EQ(U::Rect(TPointArray{{3, -1}, {-2, 5}, {0, 0}}), (TRect{-2, -1, 3, 5}));
  EXPECT_EQ(U::Rect(TPointArray{}), TRect{});
  EXPECT_EQ(TRectF::Create({{3, -1.5f}, {-2, 5}, {0, 0}}), (TRectF{-2, -1.5f, 3, 5}));
  EXPECT_TRUE(U::RectIsNearEmpty(TRectF{0, 0, 0.01f, 0.01f}));
  EXPECT_FALSE(U::RectIsNearEmpty(TRectF{0, 0, 0.02f, 0}));
  EXPECT_FALSE(U::RectIsNearEmpty(TRectF{0, 0, 0, 0.012f}));
  EXPECT_TRUE(U::RectIsNearEmpty(TRectF{5, 5, 0, 0})) << "negative sizes";
}

TEST(KxDeUtilsUnits, MillimetresInchesAndFontPoints) {
  {
    // 10 world units per mm on a 120-dpi screen: 1 mm = 10/120 inch = 6 points.
    UnitSettings units(10.0f, 120);
    EXPECT_EQ(U::MMToInternalUnits(TRectF{1, 2, 3, 4}), (TRectF{10, 20, 30, 40}));
    EXPECT_EQ(U::InternalUnitsToMM(TPointF{15, -20}), (TPointF{1.5f, -2}));
    EXPECT_EQ(U::MMToFontPoints(2.5f), 15);
    EXPECT_EQ(U::MMToFontPoints(0.75f), 5) << "4.5 rounds up here (ties-to-even would give 4)";
    EXPECT_FLOAT_EQ(U::FontPointsToMM(9), 1.5f);
  }
  EXPECT_EQ(U::MMToFontPoints(25.4f), 72) << "the defaults: 96 dpi, one pixel per world unit";
  const TRectF inch = TRectF{25.4f, 50.8f, -12.7f, 0}.RectToInch();
  EXPECT_FLOAT_EQ(inch.Top, 2);
  EXPECT_FLOAT_EQ(inch.Right, -0.5f);
}

TEST(KxDeUtilsEncodings, FixedPointIsSixteenDotSixteenWithTiesToEvenAndSaturation) {
  EXPECT_DOUBLE_EQ(U::FixToFloat(TFixed{0x8000, 1}), 1.5);
  EXPECT_DOUBLE_EQ(U::FixToFloat(TFixed{0x4000, -2}), -1.75);
  EXPECT_EQ(U::FloatToFixed(-1.75).Raw(), -114688);
  EXPECT_EQ(U::FloatToFixed(0.5 / 65536).Raw(), 0);
  EXPECT_EQ(U::FloatToFixed(1.5 / 65536).Raw(), 2);
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
            (TKxDeShiftKeys{TKxDeShiftKey::kxskShift, TKxDeShiftKey::kxskCtrl}));
  EXPECT_EQ(U::ShiftToScShift({ssAlt, ssMiddle}), (TKxDeShiftKeys{TKxDeShiftKey::kxskAlt}));
  EXPECT_EQ(U::ScShiftToShift({TKxDeShiftKey::kxskAlt, TKxDeShiftKey::kxskCtrl}), (TShiftState{ssAlt, ssCtrl}));
}

TEST(KxDeUtilsEncodings, SetsReadAndWriteOnlyTheirBytes) {
  const uint8_t image[5] = {0x01, 0x02, 0x03, 0x84, 0xFF};
  EXPECT_EQ(U::SetToInt(image, 4), int32_t(0x84030201));
  EXPECT_EQ(U::SetToInt(image, 0), 0);
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

TEST(KxDeUtilsTransforms, ScaleTouchesTheTranslationOnlyWhenAsked) {
  QTransform m(1, 2, 3, 4, 5, 6), n = m;
  U::Scale(m, 2, 10, true);
  U::Scale(n, 2, 10, false);
  EXPECT_EQ(m, QTransform(2, 4, 30, 40, 10, 60));
  EXPECT_EQ(n, QTransform(2, 4, 30, 40, 5, 6));
}

TEST(KxDeUtilsIdentifiers, MixingAndFreshIdentifiers) {
  // Worked out separately from the eight add/shift steps with 32-bit wrap-around.
  EXPECT_EQ(U::MixGuidWords(1, 2, 3, 4), 0xC9E4E3BBu);
  EXPECT_EQ(U::MixGuidWords(0xDEADBEEF, 0x01234567, 0x89ABCDEF, 0xFEDCBA98), 0xD4270998u);
  EXPECT_EQ(U::MixGuidWords(0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF), 0xF125A25Fu);
  std::set<uint32_t> ids;
  for (int i = 0; i < 200; ++i) ids.insert(U::GenerateGlobalUniqueID());
  // A chance collision among 200 random 32-bit values is rare (p < 5e-6); more than one means the
  // identifiers are not drawn from fresh UUIDs.
  EXPECT_GE(ids.size(), 199u);
}

}  // namespace
}  // namespace vorn
