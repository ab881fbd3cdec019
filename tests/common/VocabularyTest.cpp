// The vocabulary: enumeration names both ways, sets and their text form, clamped subranges.
#include "support/TestSupport.h"

#include <vorn/common/Consts.h>
#include <vorn/common/DrawingCommons.h>

namespace vorn {
namespace {

TEST(Vocabulary, EnumerationNamesConvertBothWaysAndFailuresChangeNothing) {
  EXPECT_EQ(EnumToText(TKxDeAction::kxacSizing), QStringLiteral("kxacSizing"));
  TKxDeAction a{};
  EXPECT_TRUE(TextToEnum(QStringLiteral(" kxacPacked "), a));
  EXPECT_EQ(a, TKxDeAction::kxacPacked);
  EXPECT_FALSE(TextToEnum(QStringLiteral("kxacNothing"), a));
  EXPECT_EQ(a, TKxDeAction::kxacPacked);
  EXPECT_EQ(EnumToText(static_cast<TKxDeAction>(200)), QString());
}

TEST(Vocabulary, SetsCombineAndReadTheirTextForm) {
  TKxDeShiftKeys keys{TKxDeShiftKey::kxskShift};
  keys.Include(TKxDeShiftKey::kxskCtrl);
  const TKxDeShiftKeys alt{TKxDeShiftKey::kxskAlt};
  EXPECT_EQ(keys.ToInt(), 0b101u);
  EXPECT_EQ((keys + alt).ToInt(), 0b111u);
  EXPECT_EQ((keys - TKxDeShiftKeys{TKxDeShiftKey::kxskShift}).ToInt(), 0b100u);
  EXPECT_TRUE((keys * alt).Empty());
  EXPECT_TRUE(TKxDeShiftKeys{TKxDeShiftKey::kxskShift} <= keys);
  EXPECT_FALSE(alt <= keys);
  const TKxDeShapeStyles last{TKxDeShapeStyle::kxssDontShowInLayerManager};
  EXPECT_EQ(TKxDeShapeStyles::FromInt(last.ToInt()), last);
  EXPECT_EQ(keys.ToText(), QStringLiteral("[kxskShift,kxskCtrl]"));
  TKxDeShiftKeys back;
  ASSERT_TRUE(TKxDeShiftKeys::FromText(QStringLiteral("[ kxskCtrl , kxskShift ]"), back));
  EXPECT_EQ(back, keys);
  ASSERT_TRUE(TKxDeShiftKeys::FromText(QStringLiteral("[]"), back));
  EXPECT_TRUE(back.Empty());
  back = keys;
  EXPECT_FALSE(TKxDeShiftKeys::FromText(QStringLiteral("[kxskCtrl,kxskMeta]"), back));
  EXPECT_FALSE(TKxDeShiftKeys::FromText(QStringLiteral("kxskCtrl"), back));
  EXPECT_EQ(back, keys) << "a failed read leaves the value alone";
}

TEST(Vocabulary, SubrangesClamp) {
  EXPECT_EQ(TKxDeGradientShift::Clamp(250), 100);
  EXPECT_EQ(TKxDeGradientShift::Clamp(-101), -100);
  EXPECT_EQ(TKxDeScrollbarInc::Clamp(0), 1);
  EXPECT_EQ(TKxDeScrollbarInc::Clamp(40000), 32767);
  EXPECT_EQ(TKxDeBevelWidth::Clamp(int64_t{1} << 40), 2147483647);
}

}  // namespace
}  // namespace vorn
