// Gradient ramps and patterns. A black-to-white ramp without shift or rotation maps entry i to
// grey level i, so a pattern pixel's red value is the ramp index the layout chose for it.
#include "support/TestSupport.h"

#include <array>

namespace vorn {
namespace {

using S = TKxDeShapeGradientStyle;

int Index(const QImage& Img, int X, int Y) { return qRed(Img.pixel(X, Y)); }

QImage Identity(S Style) {
  TKxDeGradientPatternParams p;
  p.ColorBegin = clBlack;
  p.ColorEnd = clWhite;
  p.Style = Style;
  return BuildGradientPattern(p);
}

// Start black or RGB(0, 100, 200), end grey 200/254 or red; entries by index. Integer steps
// truncate, MulDiv rounds halves to even: rotation 50 peaks at k = 127, -50 bottoms at 128.
TEST(GradientRamp, ShiftAndRotationPlaceTheEndsAndThePeak) {
  const struct {
    TColor Begin, End;
    int Shift, Rotation;
    std::vector<std::pair<int, QRgb>> At;
  } cases[] = {
      {RGB(0, 100, 200),
       RGB(255, 0, 0),
       0,
       0,
       {{0, qRgb(0, 100, 200)}, {255, qRgb(255, 0, 0)}, {128, qRgb(128, 50, 100)}}},
      {clBlack, RGB(200, 100, 50), 0, 100, {{0, qRgb(200, 100, 50)}, {255, qRgb(0, 0, 0)}}},
      {clBlack, RGB(200, 100, 50), 0, -100, {{0, qRgb(200, 100, 50)}, {255, qRgb(0, 0, 0)}}},
      {clBlack, RGB(254, 254, 254), 0, 50, {{0, 0}, {127, 254}, {255, 0}, {191, (255 - 191) * 254 / 128}}},
      {clBlack, RGB(254, 254, 254), 0, -50, {{0, 254}, {128, 0}, {64, 254 - 64 * 254 / 128}, {255, 254}}},
      {clBlack, RGB(200, 200, 200), 100, 0, {{0, 200}, {255, 200}}},
      {clBlack, RGB(200, 200, 200), -100, 0, {{0, 0}, {255, 0}}},
      {clBlack, RGB(200, 200, 200), 25, 0, {{0, 50}}},
      {clBlack, RGB(200, 200, 200), -25, 0, {{255, 150}}},
  };
  for (const auto& c : cases) {
    const TKxDeGradientRamp r = GradientRamp(c.Begin, c.End, c.Shift, c.Rotation);
    for (auto [i, want] : c.At) {
      const QRgb expected = want > 255 ? want : qRgb(int(want), int(want), int(want));
      EXPECT_EQ(r[static_cast<size_t>(i)] & 0xFFFFFF, expected & 0xFFFFFF)
          << "shift " << c.Shift << " rotation " << c.Rotation << " at " << i;
    }
  }
}

TEST(GradientPattern, EveryStyleLaysOutItsRampAsTabled) {
  // Per style: the pattern's size and ramp indexes at chosen pixels (x, y, index).
  const struct {
    S Style;
    int W, H;
    std::vector<std::array<int, 3>> At;
  } styles[] = {
      {S::kxdgsRadialC, 362, 362, {{180, 180, 0}, {181, 181, 0}, {0, 0, 255}, {361, 180, 180}, {176, 177, 5}}},
      {S::kxdgsRadialT, 362, 181, {{181, 0, 0}, {180, 180, 180}, {0, 180, 255}}},
      {S::kxdgsRadialB, 362, 181, {{180, 180, 0}, {180, 0, 180}}},
      {S::kxdgsRadialL, 181, 362, {{0, 181, 0}, {180, 180, 180}}},
      {S::kxdgsRadialR, 181, 362, {{180, 180, 0}, {0, 361, 255}}},
      {S::kxdgsRadialTL, 181, 181, {{0, 0, 0}, {30, 40, 50}}},
      {S::kxdgsRadialTR, 181, 181, {{180, 0, 0}, {150, 40, 50}}},
      {S::kxdgsRadialBL, 181, 181, {{0, 180, 0}}},
      {S::kxdgsRadialBR, 181, 181, {{180, 180, 0}, {0, 0, 255}}},
      {S::kxdgsLinearH, 256, 1, {{77, 0, 77}}},
      {S::kxdgsLinearV, 1, 256, {{0, 200, 200}}},
      {S::kxdgsReflectedH, 1, 512, {{0, 0, 255}, {0, 255, 0}, {0, 256, 0}, {0, 511, 255}}},
      {S::kxdgsReflectedV, 512, 1, {{10, 0, 245}, {300, 0, 44}}},
      {S::kxdgsDiagonalLF, 128, 129, {{127, 128, 255}, {3, 4, 7}}},
      {S::kxdgsDiagonalLB, 128, 129, {{127, 0, 0}, {0, 128, 255}}},
      {S::kxdgsDiagonalRF, 256, 256, {{0, 0, 255}, {100, 155, 0}, {255, 255, 255}}},
      {S::kxdgsDiagonalRB, 256, 256, {{200, 50, 150}, {50, 200, 150}, {9, 9, 0}}},
      {S::kxdgsArrowL, 129, 256, {{0, 0, 255}, {128, 127, 0}, {128, 128, 0}, {0, 255, 255}}},
      {S::kxdgsArrowR, 129, 256, {{0, 127, 0}, {128, 0, 255}, {0, 128, 0}, {128, 255, 255}}},
      {S::kxdgsArrowU, 256, 129, {{0, 0, 255}, {128, 128, 0}, {255, 0, 255}}},
      {S::kxdgsArrowD, 256, 129, {{127, 0, 0}, {0, 128, 255}, {128, 0, 0}, {255, 128, 255}}},
      {S::kxdgsDiamond, 256, 256, {{0, 0, 255}, {127, 127, 1}, {255, 0, 255}, {0, 255, 255}, {128, 128, 1}}},
      {S::kxdgsButterfly, 256, 256, {{0, 0, 128}, {127, 0, 255}, {255, 127, 1}, {0, 128, 0}, {128, 255, 255}}},
  };
  for (const auto& s : styles) {
    const QImage img = Identity(s.Style);
    const std::string name = EnumToText(s.Style).toStdString();
    ASSERT_EQ(img.size(), QSize(s.W, s.H)) << name;
    for (auto [x, y, index] : s.At) EXPECT_EQ(Index(img, x, y), index) << name << " at " << x << "," << y;
  }
}

TEST(GradientPattern, CheckerReverseAndInvisible) {
  TKxDeGradientPatternParams p;
  p.ColorBegin = clRed;
  p.ColorEnd = clBlue;
  QImage checker = BuildGradientPattern(p);
  ASSERT_EQ(checker.size(), QSize(2, 2));
  EXPECT_EQ(checker.pixel(1, 1), qRgb(255, 0, 0));
  EXPECT_EQ(checker.pixel(1, 0), qRgb(0, 0, 255));
  p.Invisible = true;
  checker = BuildGradientPattern(p);
  EXPECT_EQ(checker.pixel(0, 0), qRgb(0xC0, 0xC0, 0xC0));  // the silver and white checker
  EXPECT_EQ(checker.pixel(0, 1), qRgb(0xFF, 0xFF, 0xFF));
  p.Style = S::kxdgsLinearH;
  const QImage linear = BuildGradientPattern(p);
  EXPECT_EQ(linear.pixel(0, 0), qRgb(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(linear.pixel(255, 0), qRgb(0xFF, 0xFF, 0xFF));
  // Reverse swaps the ends of a ramp too.
  p.Invisible = false;
  p.Reverse = true;
  EXPECT_EQ(BuildGradientPattern(p).pixel(0, 0), qRgb(0, 0, 255));
}

TEST(GradientPattern, ACustomPainterIsHandedTheColoursOfTheBuiltInStyles) {
  TKxDeGradientPatternParams p;
  p.ColorBegin = clRed;
  p.ColorEnd = clBlue;
  p.Style = S::kxdgsLinearH;
  p.Reverse = true;
  p.Rotation = 30;
  p.Shift = -20;
  const TKxDeGradientColors colors = GradientColors(p);
  EXPECT_EQ(colors.ColorBegin, clBlue);
  EXPECT_EQ(colors.ColorEnd, clRed);
  // Laid out left to right, the ramp handed over is the horizontal style.
  const QImage linear = BuildGradientPattern(p);
  for (int x = 0; x < 256; ++x) EXPECT_EQ(linear.pixel(x, 0), colors.Ramp[static_cast<size_t>(x)]) << x;
}

TEST(GradientPattern, EqualGradientsShareOneCachedImage) {
  TKxDeGradientPatternParams a;
  a.Style = TKxDeShapeGradientStyle::kxdgsRadialC;
  a.ColorBegin = 0x123456;
  a.ColorEnd = 0xFEDCBA;
  a.Shift = 30;
  const QImage first = GradientPattern(a);
  EXPECT_EQ(first, BuildGradientPattern(a));
  EXPECT_EQ(GradientPattern(a).cacheKey(), first.cacheKey()) << "built once, then shared";

  // Parameters that lead to the same pixels share too; any difference in the pixels does not.
  TKxDeGradientPatternParams swapped = a;
  std::swap(swapped.ColorBegin, swapped.ColorEnd);
  swapped.Reverse = true;
  EXPECT_EQ(GradientPattern(swapped).cacheKey(), first.cacheKey());
  TKxDeGradientPatternParams other = a;
  other.Invisible = true;
  EXPECT_EQ(GradientPattern(other), BuildGradientPattern(other));
  EXPECT_NE(GradientPattern(other).cacheKey(), first.cacheKey());
}

}  // namespace
}  // namespace vorn
