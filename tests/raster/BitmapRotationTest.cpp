// Quarter turns, mirrors and free rotation of bitmaps.
#include "support/TestSupport.h"

#include <QTransform>

using namespace vorn;

namespace {

QRgb Px(int X, int Y) { return qRgb(X * 40 + 1, Y * 40 + 2, 77); }

// A 3 x 2 bitmap whose every pixel tells where it came from.
std::unique_ptr<TKxDeBitmap> Numbered(TPixelFormat Format = TPixelFormat::pfDevice) {
  auto bitmap = std::make_unique<TKxDeBitmap>(3, 2, Format);
  QImage image(3, 2, QImage::Format_RGB32);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) image.setPixel(x, y, Px(x, y));
  bitmap->SetImage(image);
  return bitmap;
}

QRgb At(const TKxDeBitmap& Bitmap, int X, int Y) { return Bitmap.Image().pixel(X, Y) | 0xFF000000u; }

// Every pixel of Bitmap is the source pixel Source(x, y) names.
template <class F>
void ExpectPixels(const TKxDeBitmap& Bitmap, int W, int H, F Source, const char* What) {
  ASSERT_EQ(Bitmap.Width(), W) << What;
  ASSERT_EQ(Bitmap.Height(), H) << What;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) EXPECT_EQ(At(Bitmap, x, y), Source(x, y)) << What << " at " << x << "," << y;
}

}  // namespace

TEST(BitmapRotation, QuarterTurnsAndMirrorsMoveEveryPixel) {
  auto cw = [](int x, int y) { return Px(y, 1 - x); };  // the top row is the left column read upwards
  auto ccw = [](int x, int y) { return Px(2 - y, x); };
  for (int angle : {90, 270, -90, 180}) {
    auto bitmap = Numbered();
    RotateBitmap90(bitmap.get(), angle);
    if (angle == 90) ExpectPixels(*bitmap, 2, 3, cw, "90");
    else ExpectPixels(*bitmap, 2, 3, ccw, "any other angle turns counter-clockwise");
    EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::pf32bit);
  }
  auto unturned = Numbered(TPixelFormat::pf24bit);
  RotateBitmap90(unturned.get(), 0);
  EXPECT_EQ(unturned->PixelFormat(), TPixelFormat::pf24bit) << "angle 0 changes nothing";
  const struct {
    TKxDeBitmapRotationstyle Style;
    bool MirrorX, MirrorY;
  } mirrors[] = {{TKxDeBitmapRotationstyle::brs0, false, false},
                 {TKxDeBitmapRotationstyle::brs180, true, true},
                 {TKxDeBitmapRotationstyle::brsHorMirror, true, false},
                 {TKxDeBitmapRotationstyle::brsVerMirror, false, true}};
  for (const auto& m : mirrors) {
    auto bitmap = Numbered();
    Rotation90(bitmap.get(), m.Style);
    ExpectPixels(
        *bitmap, 3, 2, [&](int x, int y) { return Px(m.MirrorX ? 2 - x : x, m.MirrorY ? 1 - y : y); }, "mirror");
  }
  auto bitmap = Numbered();
  Rotation90(bitmap.get(), TKxDeBitmapRotationstyle::brs270);
  ExpectPixels(*bitmap, 2, 3, ccw, "270");
  bitmap = Numbered();
  Rotation90(bitmap.get(), TKxDeBitmapRotationstyle::brs90);
  ExpectPixels(*bitmap, 2, 3, cw, "90");
}

TEST(BitmapRotation, QuarterTurnsBackAndForthRestoreAnySizeAndKeepTheCanvas) {
  // Sizes around the row-strip width, so partial strips occur.
  for (const QSize size : {QSize(1, 40), QSize(40, 1), QSize(37, 53), QSize(129, 31), QSize(70, 300)}) {
    QImage original(size, QImage::Format_ARGB32);
    std::mt19937 rng(size.width() * 100 + size.height());
    for (int y = 0; y < size.height(); ++y)
      for (int x = 0; x < size.width(); ++x) original.setPixel(x, y, rng());
    TKxDeBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetImage(original);
    RotateBitmap90(&bitmap, 90);
    EXPECT_EQ(bitmap.Image(), original.transformed(QTransform().rotate(90))) << size.width() << "x" << size.height();
    RotateBitmap90(&bitmap, 270);
    EXPECT_EQ(bitmap.Image(), original);
  }
  TKxDeBitmap empty;
  RotateBitmap90(&empty, 90);
  EXPECT_TRUE(empty.Empty());
  auto bitmap = Numbered();
  TCanvas* canvas = bitmap->Canvas();
  RotateBitmap90(bitmap.get(), 90);
  EXPECT_EQ(bitmap->Canvas(), canvas);
  canvas->Brush()->SetColor(clBlack);
  canvas->FillRect({0, 2, 2, 3});  // the bottom row of the 2 x 3 result
  EXPECT_EQ(At(*bitmap, 1, 2), qRgb(0, 0, 0));
}

TEST(BitmapRotation, AnyAngleTurnsClockwiseOnScreenAndFillsTheCorners) {
  TKxDeBitmap bitmap(21, 21);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect({15, 9, 20, 12});  // right of the centre
  RotateBitmapAnyAngle(&bitmap, 90, true, clWhite);
  EXPECT_EQ(At(bitmap, 10, 17), qRgb(255, 0, 0)) << "now below it";
  EXPECT_EQ(At(bitmap, 17, 10), qRgb(255, 255, 255));
  TKxDeBitmap square(100, 100);
  square.Canvas()->Brush()->SetColor(clBlue);
  square.Canvas()->FillRect({0, 0, 100, 100});
  TKxDeBitmap kept;
  kept.Assign(&square);
  RotateBitmapAnyAngle(&square, 45, true, clYellow);
  EXPECT_EQ(square.Width(), 141);
  EXPECT_EQ(At(square, 0, 0), qRgb(255, 255, 0));
  EXPECT_EQ(At(square, 70, 2), qRgb(0, 0, 255)) << "the top corner of the turned square";
  RotateBitmapAnyAngle(&kept, 45, false, clYellow);
  EXPECT_EQ(kept.Width(), 100) << "the size kept, the corners cut off";
  EXPECT_EQ(At(kept, 0, 0), qRgb(255, 255, 0));
  auto a = Numbered();
  auto b = Numbered();
  RotateBitmapAnyAngle(a.get(), 90, true, clRed);
  RotateBitmap90(b.get(), 90);
  EXPECT_EQ(a->Image().convertToFormat(QImage::Format_RGB32), b->Image().convertToFormat(QImage::Format_RGB32));
}
