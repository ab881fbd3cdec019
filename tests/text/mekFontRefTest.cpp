// The reference-font cache: metrics of DejaVu Sans in design units, the cache's keying, kerning,
// ABC extents and the metric scalings.
#include <vorn/common/CommonLib.h>
#include <vorn/common/Exceptions.h>
#include <vorn/common/Units.h>
#include <vorn/model/KxDeShapeFont.h>
#include <vorn/text/mekFontRef.h>

#include <gtest/gtest.h>

namespace vorn {
namespace {

TFont FontNamed(const QString& Name) {
  TFont f;
  f.SetName(Name);
  return f;
}

bool Installed(const QString& Family) { return CheckForFont(Family).compare(Family, Qt::CaseInsensitive) == 0; }

struct DejaVuRef : ::testing::Test {
  void SetUp() override {
    if (!Installed(QStringLiteral("DejaVu Sans"))) GTEST_SKIP() << "DejaVu Sans is not installed";
  }
  const TFont Font = FontNamed(QStringLiteral("DejaVu Sans"));
};

TEST_F(DejaVuRef, MetricsAreInDesignUnits) {
  EXPECT_EQ(TmekFontRef::GetEMSize(Font), 2048);
  EXPECT_EQ(TmekFontRef::GetAscentPart(Font), 1901);
  EXPECT_EQ(TmekFontRef::GetDescentPart(Font), 483);
  EXPECT_EQ(TmekFontRef::GetHeight(Font), 2384);
  EXPECT_EQ(TmekFontRef::GetInternalLeading(Font), 2384 - 2048);
  EXPECT_EQ(TmekFontRef::GetExternalLeading(Font), 0);
  const TmekRefFontInfo* info = TmekFontRef::GetRefFontMetrics(Font);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->tmAveCharWidth, 1038);
  // The thin reference request is served by the family's regular face.
  EXPECT_EQ(info->tmWeight, 400);
  EXPECT_EQ(info->tmItalicAngle, 0);
  // Swiss family, TrueType, vector, variable pitch.
  EXPECT_EQ(info->tmPitchAndFamily, 0x20 | 0x04 | 0x02 | 0x01);
  EXPECT_TRUE(TmekFontRef::IsTTF(Font));
  EXPECT_FALSE(TmekFontRef::IsOTF(Font));
}

TEST_F(DejaVuRef, ReferenceFontSelection) {
  TFont styled = Font;
  styled.SetSize(31);
  styled.SetStyle(TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic});
  const TLogFont lf = TmekFontRef::CreateLogicalFont(styled);
  EXPECT_EQ(lf.lfHeight, 0);
  EXPECT_EQ(lf.lfWidth, 0);
  EXPECT_EQ(lf.lfWeight, 100);
  EXPECT_EQ(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfUnderline, 0);
  EXPECT_EQ(lf.lfOutPrecision, 8);
  EXPECT_EQ(lf.lfQuality, 3);
  EXPECT_EQ(lf.lfFaceName, QStringLiteral("DejaVu Sans"));

  TmekRefFontInfo info;
  const TFontHandle h = TmekFontRef::GetRefFontHandle(styled, info);
  ASSERT_TRUE(h.IsValid());
  EXPECT_EQ(info.emSquare, 2048);
  EXPECT_EQ(h.LogFont().lfHeight, -2048);
  EXPECT_EQ(h.Scale(), 1.0);
  EXPECT_EQ(h.FaceName(), QStringLiteral("DejaVu Sans"));
  // Neither the bold nor the italic style of the font reaches the reference metrics.
  EXPECT_EQ(TmekFontRef::GetRefFontMetrics(styled)->tmWeight, 400);
}

TEST_F(DejaVuRef, TheCacheIsKeyedByFaceName) {
  TmekFontRef::FreeRefFontList();
  EXPECT_EQ(TmekFontRef::RefFontCount(), 0);
  EXPECT_EQ(TmekFontRef::CreateRefFont(Font), 0);
  EXPECT_EQ(TmekFontRef::CreateRefFont(Font), 0);
  EXPECT_EQ(TmekFontRef::CreateRefFont(FontNamed(QStringLiteral("dejavu SANS"))), 0) << "names ignore case";
  EXPECT_EQ(TmekFontRef::RefFontCount(), 1);
  EXPECT_EQ(TmekFontRef::RefFontName(0), QStringLiteral("DejaVu Sans"));
  EXPECT_THROW(TmekFontRef::RefFontName(1), Exception);

  // A family that is not installed is stored under its substitute's name, so every request
  // misses and adds an entry.
  const TFont missing = FontNamed(QStringLiteral("Swiss 721"));
  if (!Installed(missing.Name())) {
    const int32_t first = TmekFontRef::CreateRefFont(missing);
    const int32_t second = TmekFontRef::CreateRefFont(missing);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_NE(TmekFontRef::RefFontName(first), missing.Name());
    EXPECT_EQ(TmekFontRef::RefFontName(second), TmekFontRef::RefFontName(first));
    EXPECT_EQ(TmekFontRef::RefFontCount(), 3);
    // A repeated request measures nothing again: the new entries share one record.
    const PmekRefFontInfo third = TmekFontRef::GetRefFontMetrics(missing);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(TmekFontRef::GetRefFontMetrics(missing), third);
    EXPECT_EQ(TmekFontRef::RefFontCount(), 5);
  }

  // Freeing an instance frees the whole cache.
  TmekFontRef* ref = Create<TmekFontRef>();
  Free(ref);
  EXPECT_EQ(TmekFontRef::RefFontCount(), 0);
  EXPECT_EQ(TmekFontRef::GetEMSize(Font), 2048) << "refilled on demand";
}

TEST_F(DejaVuRef, KerningPairs) {
  ASSERT_TRUE(TmekFontRef::IsKerningAvailable(Font));
  EXPECT_EQ(TmekFontRef::GetKerningValue(Font, 'A', 'V'), -131);
  EXPECT_EQ(TmekFontRef::GetKerningValue(Font, 'V', 'A'), -131);
  EXPECT_EQ(TmekFontRef::GetKerningValue(Font, 'T', 'o'), -348);
  EXPECT_EQ(TmekFontRef::GetKerningValue(Font, 'A', 0), 0);
  EXPECT_EQ(TmekFontRef::GetKerningValue(Font, 0xFFFF, 'A'), 0) << "absent pair";
  const TmekRefFontInfo* info = TmekFontRef::GetRefFontMetrics(Font);
  ASSERT_TRUE(info->KerningPairsList);
  // The key is the first character in the high word and the second in the low word.
  EXPECT_EQ(info->KerningPairsList->at(int32_t('T') << 16 | 'o'), -348);

  const TFont mono = FontNamed(QStringLiteral("DejaVu Sans Mono"));
  if (Installed(mono.Name())) {
    EXPECT_FALSE(TmekFontRef::IsKerningAvailable(mono));
    EXPECT_EQ(TmekFontRef::GetRefFontMetrics(mono)->KerningPairsList, nullptr);
    EXPECT_EQ(TmekFontRef::GetKerningValue(mono, 'A', 'V'), 0);
  }
}

TEST_F(DejaVuRef, ABCExtents) {
  int32_t height = -1;
  TABC abc{1, 2, 3};
  EXPECT_FALSE(TmekFontRef::GetTextABCExtent(Font, QString(), height, &abc));
  EXPECT_EQ(height, 0);
  EXPECT_EQ(abc.abcA, 0);
  EXPECT_EQ(abc.abcB, 0u);
  EXPECT_EQ(abc.abcC, 0);

  // "I" is 604 wide: 201 before its 202-unit stem and 201 after.
  ASSERT_TRUE(TmekFontRef::GetTextABCExtent(Font, QStringLiteral("I"), height, &abc));
  EXPECT_EQ(height, 2384);
  EXPECT_EQ(abc.abcA, 201);
  EXPECT_EQ(abc.abcB, 202u);
  EXPECT_EQ(abc.abcC, 201);
  EXPECT_EQ(TmekFontRef::ABCWidthAddition(abc), 604);

  ASSERT_TRUE(TmekFontRef::GetTextABCExtent(Font, QStringLiteral("II"), height, &abc));
  EXPECT_EQ(abc.abcB, 2u * 604 - 201 - 201);
  EXPECT_EQ(TmekFontRef::ABCWidthAddition(abc), 2 * 604);
  EXPECT_EQ(TmekFontRef::GetStandardTextWidth(Font, QStringLiteral("II"), height), 806);
  EXPECT_EQ(TmekFontRef::GetStandardTextWidth(Font, QString(), height), 0);
  EXPECT_EQ(TmekFontRef::ABCWidthAddition(TABC{-5, 10, -2}), 3);
}

TEST_F(DejaVuRef, ShapeFontsAreMeasuredThroughAPlatformFont) {
  TOwned<TKxDeShapeFont> shapeFont(Create<TKxDeShapeFont>());
  shapeFont->SetName(QStringLiteral("DejaVu Sans"));
  shapeFont->SetStyle(TFontStyles{TFontStyle::fsBold});
  EXPECT_EQ(TmekFontRef::GetEMSize(*shapeFont), 2048);
  EXPECT_EQ(TmekFontRef::GetRefFontMetrics(*shapeFont), TmekFontRef::GetRefFontMetrics(Font)) << "one entry per family";
  EXPECT_EQ(TmekFontRef::GetHeight(*shapeFont), 2384);
  EXPECT_TRUE(TmekFontRef::IsTTF(*shapeFont));
  EXPECT_EQ(TmekFontRef::GetKerningValue(*shapeFont, 'A', 'V'), -131);
  int32_t height = 0;
  EXPECT_EQ(TmekFontRef::GetStandardTextWidth(*shapeFont, QStringLiteral("II"), height), 806);
  EXPECT_EQ(height, 2384);
  EXPECT_EQ(TmekFontRef::CreateLogicalFont(*shapeFont).lfFaceName, QStringLiteral("DejaVu Sans"));
  EXPECT_DOUBLE_EQ(TmekFontRef::ConvertToFontSize(*shapeFont, 1024, 10), 5);
}

TEST(MetricScaling, TransformsOfAReferenceRecord) {
  TmekRefFontInfo info;
  info.emSquare = 2048;
  info.tmHeight = 2384;
  info.tmAscent = 1901;
  info.tmDescent = 483;
  info.tmInternalLeading = 336;
  info.tmExternalLeading = 67;
  info.tmAveCharWidth = 1038;
  info.tmMaxCharWidth = 4096;
  info.tmWeight = 400;

  // 25.4 mm on a screen where a millimetre is CoordsPixelsPerMMConvertValue units is an inch:
  // 72 points, so every metric becomes value * 72 / 2048.
  const float savedMM = CoordsPixelsPerMMConvertValue;
  const int32_t savedDPI = ScreenPixelsPerInch;
  CoordsPixelsPerMMConvertValue = 96.0f / 25.4f;
  ScreenPixelsPerInch = 96;
  const double inch = 25.4;
  TmekFontInfo m = TmekFontRef::Transform(info, inch);
  const double factor = inch * double(CoordsPixelsPerMMConvertValue) / 96 * 72 / 2048;
  EXPECT_DOUBLE_EQ(m.tmHeight, 2384 * factor);
  EXPECT_NEAR(m.tmHeight, 2384 * 72.0 / 2048, 1e-4);
  EXPECT_DOUBLE_EQ(m.tmAscent, 1901 * factor);
  EXPECT_DOUBLE_EQ(m.tmDescent, 483 * factor);
  EXPECT_DOUBLE_EQ(m.tmInternalLeading, 336 * factor);
  EXPECT_DOUBLE_EQ(m.tmExternalLeading, 67 * factor);
  EXPECT_DOUBLE_EQ(m.tmAveCharWidth, 1038 * factor);
  EXPECT_DOUBLE_EQ(m.tmMaxCharWidth, 4096 * factor);
  EXPECT_EQ(m.tmWeight, 400) << "the weight is not scaled";

  // 96 pixels at 96 dpi is also an inch.
  m = TmekFontRef::Transform2(info, 96, 96);
  EXPECT_DOUBLE_EQ(m.tmHeight, 2384 * 72.0 / 2048);
  EXPECT_DOUBLE_EQ(m.tmMaxCharWidth, 144);
  EXPECT_EQ(m.tmWeight, 400);
  m = TmekFontRef::Transform2(info, 300, 600);
  EXPECT_DOUBLE_EQ(m.tmAscent, 1901 * 36.0 / 2048);
  EXPECT_THROW(TmekFontRef::Transform2(info, 12, 0), Exception);

  CoordsPixelsPerMMConvertValue = 4.0f;
  ScreenPixelsPerInch = 144;
  m = TmekFontRef::Transform(info, 10);
  EXPECT_DOUBLE_EQ(m.tmHeight, 2384 * (10 * 4.0 / 144 * 72) / 2048);
  CoordsPixelsPerMMConvertValue = savedMM;
  ScreenPixelsPerInch = savedDPI;
}

TEST_F(DejaVuRef, ScalingsOfAFont) {
  const double mm = CoordsPixelsPerMMConvertValue;
  const TmekFontInfo neutral = TmekFontRef::GetNeutralFontMetrics(Font, 2048);
  EXPECT_DOUBLE_EQ(neutral.tmHeight, 2384);
  EXPECT_DOUBLE_EQ(neutral.tmAscent, 1901);
  EXPECT_DOUBLE_EQ(TmekFontRef::GetNeutralFontMetrics(Font, 1024).tmDescent, 241.5);
  EXPECT_DOUBLE_EQ(TmekFontRef::GetFontMetrics(Font, 7).tmAscent,
                   1901 * (7 * mm / ScreenPixelsPerInch * 72) / 2048);
  EXPECT_DOUBLE_EQ(TmekFontRef::GetFontDeviceMetrics(Font, 50, 300).tmHeight, 2384 * (50.0 / 300 * 72) / 2048);

  EXPECT_DOUBLE_EQ(TmekFontRef::ConvertToCoordinates(Font, 2048, 10), 10 * mm);
  EXPECT_DOUBLE_EQ(TmekFontRef::ConvertToFontSize(Font, 1024, 10), 5);
  EXPECT_DOUBLE_EQ(TmekFontRef::CoordinatesFontFactor(Font, 4096), 2 * mm);
  // Tracking B / A of the height without internal leading (the EM square here).
  EXPECT_DOUBLE_EQ(TmekFontRef::GetEMSizedTracking(Font, 4, 1), 512);
  EXPECT_DOUBLE_EQ(TmekFontRef::GetFontHeightFromNumHeight(Font, 10), 10.0 * 2384 / (1901 - 336));
}

TEST(OpenTypeFonts, PostScriptOutlinesAreNotTrueType) {
  const TFont nimbus = FontNamed(QStringLiteral("Nimbus Sans"));
  if (!Installed(nimbus.Name())) GTEST_SKIP() << "no PostScript-flavoured OpenType font installed";
  EXPECT_TRUE(TmekFontRef::IsOTF(nimbus));
  EXPECT_FALSE(TmekFontRef::IsTTF(nimbus));
  EXPECT_EQ(TmekFontRef::GetEMSize(nimbus), 1000);
}

}  // namespace
}  // namespace vorn
