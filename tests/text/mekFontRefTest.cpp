// The reference-font cache: metrics of DejaVu Sans in design units, the cache's keying, kerning,
// ABC extents and the metric scalings.
#include "support/TestSupport.h"

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

TEST_F(DejaVuRef, MetricsAreInDesignUnitsOfTheRegularFaceWhateverTheStyle) {
  TFont styled = Font;
  styled.SetSize(31);
  styled.SetStyle(TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic});
  for (const TFont& f : {Font, styled}) {
    EXPECT_EQ(TmekFontRef::GetEMSize(f), 2048);
    EXPECT_EQ(TmekFontRef::GetHeight(f), 2384);
    EXPECT_EQ(TmekFontRef::GetInternalLeading(f), 2384 - 2048);
    const TmekRefFontInfo* info = TmekFontRef::GetRefFontMetrics(f);
    EXPECT_EQ(info->tmAscent, 1901);
    EXPECT_EQ(info->tmWeight, 400);
    EXPECT_EQ(info->tmPitchAndFamily, 0x20 | 0x04 | 0x02 | 0x01) << "Swiss, TrueType, vector, variable pitch";
  }
  TmekRefFontInfo info;
  const TFontHandle h = TmekFontRef::GetRefFontHandle(styled, info);
  ASSERT_TRUE(h.IsValid());
  EXPECT_EQ(h.LogFont().lfHeight, -2048);
  EXPECT_TRUE(TmekFontRef::IsTTF(Font));
  EXPECT_FALSE(TmekFontRef::IsOTF(Font));
}

TEST_F(DejaVuRef, TheCacheIsKeyedByFaceNameAndAMissingFamilyIsMeasuredOnce) {
  TmekFontRef::FreeRefFontList();
  EXPECT_EQ(TmekFontRef::CreateRefFont(Font), 0);
  EXPECT_EQ(TmekFontRef::CreateRefFont(FontNamed(QStringLiteral("dejavu SANS"))), 0) << "names ignore case";
  EXPECT_EQ(TmekFontRef::RefFontCount(), 1);
  EXPECT_THROW(TmekFontRef::RefFontName(1), Exception);
  // A family that is not installed is stored under its substitute's name, so every request misses
  // and adds an entry; the new entries share one record.
  const TFont missing = FontNamed(QStringLiteral("Swiss 721"));
  if (!Installed(missing.Name())) {
    EXPECT_EQ(TmekFontRef::CreateRefFont(missing), 1);
    EXPECT_EQ(TmekFontRef::CreateRefFont(missing), 2);
    EXPECT_NE(TmekFontRef::RefFontName(1), missing.Name());
    const PmekRefFontInfo third = TmekFontRef::GetRefFontMetrics(missing);
    EXPECT_EQ(TmekFontRef::GetRefFontMetrics(missing), third);
  }
  TmekFontRef* ref = Create<TmekFontRef>();
  Free(ref);
  EXPECT_EQ(TmekFontRef::RefFontCount(), 0) << "freeing an instance frees the whole cache";
  EXPECT_EQ(TmekFontRef::GetEMSize(Font), 2048) << "refilled on demand";
}

TEST_F(DejaVuRef, KerningAndABCExtents) {
  ASSERT_TRUE(TmekFontRef::IsKerningAvailable(Font));
  EXPECT_EQ(TmekFontRef::GetKerningValue(Font, 'A', 'V'), -131);
  EXPECT_EQ(TmekFontRef::GetKerningValue(Font, 'T', 'o'), -348);
  EXPECT_EQ(TmekFontRef::GetKerningValue(Font, 0xFFFF, 'A'), 0) << "absent pair";
  // The key is the first character in the high word and the second in the low word.
  EXPECT_EQ(TmekFontRef::GetRefFontMetrics(Font)->KerningPairsList->at(int32_t('T') << 16 | 'o'), -348);
  const TFont mono = FontNamed(QStringLiteral("DejaVu Sans Mono"));
  if (Installed(mono.Name())) {
    EXPECT_EQ(TmekFontRef::GetKerningValue(mono, 'A', 'V'), 0);
  }
  int32_t height = -1;
  TABC abc{1, 2, 3};
  EXPECT_FALSE(TmekFontRef::GetTextABCExtent(Font, QString(), height, &abc));
  EXPECT_EQ(abc.abcB, 0u);
  // "I" is 604 wide: 201 before its 202-unit stem and 201 after.
  ASSERT_TRUE(TmekFontRef::GetTextABCExtent(Font, QStringLiteral("II"), height, &abc));
  EXPECT_EQ(height, 2384);
  EXPECT_EQ(abc.abcA, 201);
  EXPECT_EQ(abc.abcB, 2u * 604 - 201 - 201);
  EXPECT_EQ(TmekFontRef::ABCWidthAddition(abc), 2 * 604);
  EXPECT_EQ(TmekFontRef::GetStandardTextWidth(Font, QStringLiteral("II"), height), 806);
  EXPECT_EQ(TmekFontRef::ABCWidthAddition(TABC{-5, 10, -2}), 3);
  // Shape fonts are measured through a platform font of the same family.
  TOwned<TKxDeShapeFont> shapeFont(Create<TKxDeShapeFont>());
  shapeFont->SetName(QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(TmekFontRef::GetRefFontMetrics(*shapeFont), TmekFontRef::GetRefFontMetrics(Font)) << "one entry per family";
  EXPECT_EQ(TmekFontRef::GetStandardTextWidth(*shapeFont, QStringLiteral("II"), height), 806);
  EXPECT_TRUE(TmekFontRef::IsTTF(*shapeFont) && TmekFontRef::GetEMSize(*shapeFont) == 2048);
  EXPECT_EQ(TmekFontRef::GetKerningValue(*shapeFont, 'T', 'o'), -348);
}

TEST_F(DejaVuRef, DesignUnitsScaleToPointsDevicesAndWorldUnits) {
  const double mm = CoordsPixelsPerMMConvertValue, dpi = ScreenPixelsPerInch;
  EXPECT_DOUBLE_EQ(TmekFontRef::GetFontMetrics(Font, 7).tmAscent, 1901 * (7 * mm / dpi * 72) / 2048);
  EXPECT_DOUBLE_EQ(TmekFontRef::GetFontDeviceMetrics(Font, 50, 300).tmHeight, 2384 * (50.0 / 300 * 72) / 2048);
  EXPECT_DOUBLE_EQ(TmekFontRef::GetNeutralFontMetrics(Font, 1024).tmDescent, (2384 - 1901) / 2.0);
  EXPECT_DOUBLE_EQ(TmekFontRef::ConvertToCoordinates(Font, 2048, 10), 10 * mm);
  EXPECT_DOUBLE_EQ(TmekFontRef::CoordinatesFontFactor(Font, 4096), 2 * mm);
  EXPECT_DOUBLE_EQ(TmekFontRef::ConvertToFontSize(Font, 1024, 10), 5);
  EXPECT_DOUBLE_EQ(TmekFontRef::GetEMSizedTracking(Font, 4, 1), 512) << "B / A of the EM square";
  EXPECT_DOUBLE_EQ(TmekFontRef::GetFontHeightFromNumHeight(Font, 10), 10.0 * 2384 / (1901 - 336));
  EXPECT_THROW(TmekFontRef::Transform2(*TmekFontRef::GetRefFontMetrics(Font), 12, 0), Exception) << "no resolution";
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
