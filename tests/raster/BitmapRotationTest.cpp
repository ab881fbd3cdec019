// Quarter turns, mirrors and free rotation of bitmaps.
#include <vorn/raster/BitmapRotation.h>

#include <gtest/gtest.h>

#include <QTransform>

#include <random>

using namespace vorn;

namespace {

QRgb Px(int X, int Y) { return qRgb(X * 40 + 1, Y * 40 + 2, 77); }

// A bitmap whose every pixel tells where it came from.
TKxDeBitmap* Numbered(int W, int H, TPixelFormat Format = TPixelFormat::pfDevice) {
  auto* bitmap = new TKxDeBitmap(W, H, Format);
  QImage image(W, H, QImage::Format_RGB32);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) image.setPixel(x, y, Px(x, y));
  bitmap->SetImage(image);
  return bitmap;
}

QImage Noise(int W, int H, uint32_t Seed) {
  QImage image(W, H, QImage::Format_ARGB32);
  std::mt19937 rng(Seed);
  for (int y = 0; y < H; ++y) {
    auto* p = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < W; ++x) p[x] = rng();
  }
  return image;
}

QRgb At(const TKxDeBitmap& Bitmap, int X, int Y) { return Bitmap.Image().pixel(X, Y) | 0xFF000000u; }

}  // namespace

TEST(RotateBitmap90, ClockwiseThreeByTwo) {
  std::unique_ptr<TKxDeBitmap> bitmap(Numbered(3, 2));
  RotateBitmap90(bitmap.get(), 90);
  ASSERT_EQ(bitmap->Width(), 2);
  ASSERT_EQ(bitmap->Height(), 3);
  EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::pf32bit);
  // The top row is the source's left column read from the bottom up.
  EXPECT_EQ(At(*bitmap, 0, 0), Px(0, 1));
  EXPECT_EQ(At(*bitmap, 1, 0), Px(0, 0));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(At(*bitmap, x, y), Px(y, 2 - 1 - x)) << x << "," << y;
}

TEST(RotateBitmap90, AnyOtherAngleTurnsCounterClockwise) {
  for (int angle : {270, -90, 180}) {
    std::unique_ptr<TKxDeBitmap> bitmap(Numbered(3, 2));
    RotateBitmap90(bitmap.get(), angle);
    ASSERT_EQ(bitmap->Width(), 2);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 2; ++x) EXPECT_EQ(At(*bitmap, x, y), Px(3 - 1 - y, x)) << angle;
  }
}

TEST(RotateBitmap90, AngleZeroChangesNothing) {
  std::unique_ptr<TKxDeBitmap> bitmap(Numbered(3, 2, TPixelFormat::pf24bit));
  const QImage before = bitmap->Image();
  RotateBitmap90(bitmap.get(), 0);
  EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(bitmap->Image(), before);
}

TEST(RotateBitmap90, QuarterTurnsBackAndForthRestore) {
  // Sizes around the row-strip width, so partial strips occur.
  for (const QSize size : {QSize(1, 1), QSize(1, 40), QSize(40, 1), QSize(37, 53), QSize(16, 17), QSize(129, 31),
                           QSize(300, 70), QSize(70, 300)}) {
    TKxDeBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    const QImage original = Noise(size.width(), size.height(), size.width() * 100 + size.height());
    bitmap.SetImage(original);
    RotateBitmap90(&bitmap, 90);
    EXPECT_EQ(bitmap.Image(), original.transformed(QTransform().rotate(90))) << size.width() << "x" << size.height();
    RotateBitmap90(&bitmap, 270);
    EXPECT_EQ(bitmap.Image(), original) << size.width() << "x" << size.height();
  }
}

TEST(RotateBitmap90, EmptyBitmapAndLiveCanvas) {
  TKxDeBitmap empty;
  RotateBitmap90(&empty, 90);
  EXPECT_TRUE(empty.Empty());

  std::unique_ptr<TKxDeBitmap> bitmap(Numbered(5, 3));
  TCanvas* canvas = bitmap->Canvas();
  RotateBitmap90(bitmap.get(), 90);
  EXPECT_EQ(bitmap->Canvas(), canvas);
  canvas->Brush()->SetColor(clBlack);
  canvas->FillRect({0, 4, 3, 5});  // the bottom row of the 3 x 5 result
  EXPECT_EQ(At(*bitmap, 2, 4), qRgb(0, 0, 0));
}

TEST(RotateBitmapAnyAngle, AdjustedSizes) {
  TKxDeBitmap bitmap(30, 10);
  RotateBitmapAnyAngle(&bitmap, 90, true, clWhite);
  EXPECT_EQ(bitmap.Width(), 10);
  EXPECT_EQ(bitmap.Height(), 30);

  TKxDeBitmap square(100, 100);
  RotateBitmapAnyAngle(&square, 45, true, clWhite);
  EXPECT_EQ(square.Width(), 141);
  EXPECT_EQ(square.Height(), 141);

  TKxDeBitmap kept(30, 10);
  RotateBitmapAnyAngle(&kept, 45, false, clWhite);
  EXPECT_EQ(kept.Width(), 30);
  EXPECT_EQ(kept.Height(), 10);
}

TEST(RotateBitmapAnyAngle, QuarterTurnMatchesRotateBitmap90) {
  std::unique_ptr<TKxDeBitmap> a(Numbered(6, 4));
  std::unique_ptr<TKxDeBitmap> b(Numbered(6, 4));
  RotateBitmapAnyAngle(a.get(), 90, true, clRed);
  RotateBitmap90(b.get(), 90);
  ASSERT_EQ(a->Width(), b->Width());
  for (int y = 0; y < a->Height(); ++y)
    for (int x = 0; x < a->Width(); ++x) EXPECT_EQ(At(*a, x, y), At(*b, x, y)) << x << "," << y;
}

TEST(RotateBitmapAnyAngle, UncoveredCornersGetTheBackground) {
  TKxDeBitmap bitmap(100, 100);
  bitmap.Canvas()->Brush()->SetColor(clBlue);
  bitmap.Canvas()->FillRect({0, 0, 100, 100});
  RotateBitmapAnyAngle(&bitmap, 45, true, clYellow);
  EXPECT_EQ(At(bitmap, 0, 0), qRgb(255, 255, 0));
  EXPECT_EQ(At(bitmap, 140, 140), qRgb(255, 255, 0));
  EXPECT_EQ(At(bitmap, 70, 70), qRgb(0, 0, 255));
  EXPECT_EQ(At(bitmap, 70, 2), qRgb(0, 0, 255));  // the top corner of the turned square

  // Without size adjustment the corners of the original are cut off.
  TKxDeBitmap kept(100, 100);
  kept.Canvas()->Brush()->SetColor(clBlue);
  kept.Canvas()->FillRect({0, 0, 100, 100});
  RotateBitmapAnyAngle(&kept, 45, false, clYellow);
  EXPECT_EQ(At(kept, 0, 0), qRgb(255, 255, 0));
  EXPECT_EQ(At(kept, 50, 50), qRgb(0, 0, 255));
}

TEST(RotateBitmapAnyAngle, PositiveAnglesTurnClockwiseOnScreen) {
  // A red mark right of the centre ends up below it after +90.
  TKxDeBitmap bitmap(21, 21);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect({15, 9, 20, 12});
  RotateBitmapAnyAngle(&bitmap, 90, true, clWhite);
  EXPECT_EQ(At(bitmap, 10, 17), qRgb(255, 0, 0));
  EXPECT_EQ(At(bitmap, 17, 10), qRgb(255, 255, 255));
}

TEST(Rotation90, StylesTurnAndMirror) {
  {
    std::unique_ptr<TKxDeBitmap> bitmap(Numbered(3, 2, TPixelFormat::pf24bit));
    const QImage before = bitmap->Image();
    Rotation90(bitmap.get(), TKxDeBitmapRotationstyle::brs0);
    EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(bitmap->Image(), before);
  }
  {
    std::unique_ptr<TKxDeBitmap> bitmap(Numbered(3, 2, TPixelFormat::pf24bit));
    Rotation90(bitmap.get(), TKxDeBitmapRotationstyle::brs90);
    EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(At(*bitmap, 0, 0), Px(0, 1));
  }
  {
    std::unique_ptr<TKxDeBitmap> bitmap(Numbered(3, 2));
    Rotation90(bitmap.get(), TKxDeBitmapRotationstyle::brs270);
    EXPECT_EQ(At(*bitmap, 0, 0), Px(2, 0));
  }
  struct Case {
    TKxDeBitmapRotationstyle Style;
    bool MirrorX, MirrorY;
  };
  for (const Case c : {Case{TKxDeBitmapRotationstyle::brs180, true, true},
                       Case{TKxDeBitmapRotationstyle::brsHorMirror, true, false},
                       Case{TKxDeBitmapRotationstyle::brsVerMirror, false, true}}) {
    std::unique_ptr<TKxDeBitmap> bitmap(Numbered(3, 2));
    Rotation90(bitmap.get(), c.Style);
    ASSERT_EQ(bitmap->Width(), 3);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(At(*bitmap, x, y), Px(c.MirrorX ? 2 - x : x, c.MirrorY ? 1 - y : y)) << int(c.Style);
  }
}
