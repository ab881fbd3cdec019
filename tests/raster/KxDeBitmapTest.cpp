// TKxDeBitmap: sizing, pixel formats, the canvas, copy on write, transparency and file forms.
#include <vorn/common/Exceptions.h>
#include <vorn/raster/KxDeBitmap.h>

#include <gtest/gtest.h>

#include <QBuffer>
#include <QMetaEnum>
#include <QMimeData>

#include <memory>

using namespace vorn;

namespace {

QRgb At(const TKxDeBitmap& Bitmap, int X, int Y) { return Bitmap.Image().pixel(X, Y) | 0xFF000000u; }

}  // namespace

TEST(KxDeBitmap, RotationStyleNamesAreRegistered) {
  const QMetaEnum e = QMetaEnum::fromType<TKxDeBitmapRotationstyle>();
  EXPECT_EQ(e.keyCount(), 6);
  EXPECT_STREQ(e.valueToKey(int(TKxDeBitmapRotationstyle::brsVerMirror)), "brsVerMirror");
  EXPECT_EQ(e.keyToValue("brs270"), int(TKxDeBitmapRotationstyle::brs270));
}

TEST(KxDeBitmap, ResizeKeepsTopLeftPixelsAndFillsWhite) {
  TKxDeBitmap bitmap(4, 3);
  EXPECT_FALSE(bitmap.Modified());
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect({0, 0, 4, 3});
  bitmap.SetSize(6, 2);
  EXPECT_EQ(bitmap.Width(), 6);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(At(bitmap, 3, 1), qRgb(255, 0, 0));
  EXPECT_EQ(At(bitmap, 4, 0), qRgb(255, 255, 255));
  bitmap.SetWidth(-3);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.ScanLine(0), nullptr);
}

TEST(KxDeBitmap, ChangesAreAnnounced) {
  TKxDeBitmap bitmap;
  int changes = 0;
  bitmap.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &bitmap);
    ++changes;
  };
  bitmap.SetSize(2, 2);
  bitmap.SetSize(2, 2);  // unchanged: silent
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.SetTransparent(true);
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(bitmap.Modified());
}

TEST(KxDeBitmap, PixelFormatsAre32BitStorage) {
  TKxDeBitmap bitmap(2, 1);
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pfDevice);
  EXPECT_EQ(bitmap.Image().format(), QImage::Format_RGB32);
  bitmap.SetPixelFormat(TPixelFormat::pf8bit);
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  EXPECT_EQ(bitmap.Image().format(), QImage::Format_ARGB32);
  EXPECT_EQ(bitmap.Image().pixel(0, 0), qRgba(255, 255, 255, 255));
  // Dropping alpha keeps the colour as it is stored.
  QImage halfRed(1, 1, QImage::Format_ARGB32);
  halfRed.setPixel(0, 0, qRgba(255, 0, 0, 128));
  bitmap.SetImage(halfRed);
  bitmap.SetPixelFormat(TPixelFormat::pf24bit);
  EXPECT_EQ(bitmap.Image().format(), QImage::Format_RGB32);
  EXPECT_EQ(bitmap.Image().pixel(0, 0), qRgb(255, 0, 0));
}

TEST(KxDeBitmap, CanvasSurvivesResizeWithItsTools) {
  TKxDeBitmap bitmap(3, 3);
  TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetColor(clBlue);
  canvas->Pen()->SetColor(clLime);
  bitmap.SetSize(10, 10);
  EXPECT_EQ(bitmap.Canvas(), canvas);
  EXPECT_EQ(canvas->Brush()->Color(), clBlue);
  EXPECT_EQ(canvas->Pen()->Color(), clLime);
  canvas->FillRect({5, 5, 10, 10});  // only inside the new pixels
  EXPECT_EQ(At(bitmap, 9, 9), qRgb(0, 0, 255));
  bitmap.SetSize(0, 0);
  canvas->FillRect({0, 0, 5, 5});  // drawing on an empty bitmap goes nowhere
  bitmap.SetSize(2, 2);
  canvas->FillRect({0, 0, 1, 1});
  EXPECT_EQ(At(bitmap, 0, 0), qRgb(0, 0, 255));
  EXPECT_EQ(At(bitmap, 1, 1), qRgb(255, 255, 255));
}

TEST(KxDeBitmap, CopiesShareUntilWritten) {
  TKxDeBitmap a(8, 8);
  TKxDeBitmap b;
  b.Assign(&a);
  EXPECT_EQ(a.Image().constBits(), b.Image().constBits());
  b.ScanLine(0)[0] = 0x12;
  EXPECT_NE(a.Image().constBits(), b.Image().constBits());
  EXPECT_EQ(At(a, 0, 0), qRgb(255, 255, 255));
}

TEST(KxDeBitmap, CopyTakenWhilePaintingDoesNotSeeLaterDrawing) {
  TKxDeBitmap a(4, 4);
  TCanvas* canvas = a.Canvas();
  TKxDeBitmap b;
  b.Assign(&a);
  const QImage snapshot = a.Image();
  canvas->Brush()->SetColor(clBlack);
  canvas->FillRect({0, 0, 4, 4});
  EXPECT_EQ(At(a, 2, 2), qRgb(0, 0, 0));
  EXPECT_EQ(At(b, 2, 2), qRgb(255, 255, 255));
  EXPECT_EQ(snapshot.pixel(2, 2) | 0xFF000000u, qRgb(255, 255, 255));
  // The receiving bitmap can draw too without touching the source.
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect({0, 0, 1, 1});
  EXPECT_EQ(At(a, 0, 0), qRgb(0, 0, 0));
}

TEST(KxDeBitmap, TransparencyDefaultsToTheBottomLeftPixel) {
  TKxDeBitmap bitmap(3, 3);
  bitmap.Canvas()->SetPixel(0, 2, clRed);
  EXPECT_EQ(bitmap.TransparentColor(), clRed);
  EXPECT_EQ(bitmap.TransparentMode(), TTransparentMode::tmAuto);
  bitmap.SetTransparentColor(clWhite);
  EXPECT_EQ(bitmap.TransparentMode(), TTransparentMode::tmFixed);
  const QImage mask = bitmap.Mask();
  EXPECT_EQ(mask.pixelIndex(0, 0), 1);
  EXPECT_EQ(mask.pixelIndex(0, 2), 0);
  bitmap.SetTransparentMode(TTransparentMode::tmAuto);
  EXPECT_EQ(bitmap.TransparentColor(), clRed);

  // Drawing leaves out the transparent pixels.
  TKxDeBitmap target(3, 3);
  target.Canvas()->Brush()->SetColor(clBlue);
  target.Canvas()->FillRect({0, 0, 3, 3});
  bitmap.SetTransparent(true);
  bitmap.Draw(target.Canvas(), {0, 0, 3, 3});
  EXPECT_EQ(At(target, 0, 2), qRgb(0, 0, 255));
  EXPECT_EQ(At(target, 1, 1), qRgb(255, 255, 255));
  bitmap.SetTransparent(false);
  bitmap.Draw(target.Canvas(), {0, 0, 3, 3});
  EXPECT_EQ(At(target, 0, 2), qRgb(255, 0, 0));
}

TEST(KxDeBitmap, BitmapFileRoundTripAndBadData) {
  TKxDeBitmap bitmap(5, 4);
  bitmap.Canvas()->SetPixel(1, 2, RGB(10, 20, 30));
  QBuffer buffer;
  buffer.open(QIODevice::ReadWrite);
  bitmap.SaveToStream(&buffer);
  EXPECT_TRUE(buffer.data().startsWith("BM"));
  buffer.seek(0);
  TKxDeBitmap back;
  back.LoadFromStream(&buffer);
  EXPECT_EQ(back.Width(), 5);
  EXPECT_EQ(back.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(At(back, 1, 2), qRgb(10, 20, 30));

  QByteArray junk("BM not really a bitmap");
  QBuffer bad(&junk);
  bad.open(QIODevice::ReadOnly);
  EXPECT_THROW(back.LoadFromStream(&bad), Exception);
  EXPECT_EQ(back.Width(), 5);
  EXPECT_THROW(back.LoadFromFile(QStringLiteral("/nonexistent/x.bmp")), Exception);
}

TEST(KxDeBitmap, ClipboardBitmapFormat) {
  TKxDeBitmap empty;
  uint16_t format = 9;
  QMimeData* data = nullptr;
  empty.SaveToClipboardFormat(format, data);
  EXPECT_EQ(format, 0);
  EXPECT_EQ(data, nullptr);

  TKxDeBitmap bitmap(2, 2);
  bitmap.Canvas()->SetPixel(1, 1, clGreen);
  bitmap.SaveToClipboardFormat(format, data);
  ASSERT_NE(data, nullptr);
  std::unique_ptr<QMimeData> owned(data);
  EXPECT_EQ(format, CF_BITMAP);
  TKxDeBitmap pasted;
  pasted.LoadFromClipboardFormat(CF_BITMAP, data);
  EXPECT_EQ(At(pasted, 1, 1), qRgb(0, 128, 0));
  EXPECT_THROW(pasted.LoadFromClipboardFormat(99, data), Exception);
  QMimeData text;
  text.setText("x");
  EXPECT_THROW(pasted.LoadFromClipboardFormat(CF_BITMAP, &text), Exception);
}
