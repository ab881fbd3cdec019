// TKxDeBitmap: sizing, pixel formats, the canvas, copy on write, transparency and file forms.
#include "support/TestSupport.h"

#include <QMimeData>

using namespace vorn;

namespace {

QRgb At(const TKxDeBitmap& Bitmap, int X, int Y) { return Bitmap.Image().pixel(X, Y) | 0xFF000000u; }

}  // namespace

TEST(KxDeBitmap, ResizingKeepsPixelsAndTheCanvasWithItsToolsAndAnnouncesChanges) {
  TKxDeBitmap bitmap(4, 3);
  int changes = 0;
  bitmap.OnChange = [&](TObject*) { ++changes; };
  TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetColor(clRed);
  canvas->FillRect({0, 0, 4, 3});
  bitmap.SetSize(6, 2);
  bitmap.SetSize(6, 2);  // unchanged: silent
  EXPECT_EQ(At(bitmap, 3, 1), qRgb(255, 0, 0));
  EXPECT_EQ(At(bitmap, 4, 0), qRgb(255, 255, 255)) << "new pixels are white";
  EXPECT_EQ(bitmap.Canvas(), canvas);
  EXPECT_EQ(canvas->Brush()->Color(), clRed);
  bitmap.SetSize(0, 0);
  canvas->FillRect({0, 0, 5, 5});  // drawing on an empty bitmap goes nowhere
  EXPECT_EQ(bitmap.ScanLine(0), nullptr);
  bitmap.SetSize(2, 2);
  canvas->FillRect({0, 0, 1, 1});
  EXPECT_EQ(At(bitmap, 1, 1), qRgb(255, 255, 255));
  EXPECT_EQ(changes, 3);
  // From 32 to 24 bits a pixel keeps its colour and loses its transparency.
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  bitmap.ScanLine(0)[3] = 0x40;  // the alpha of the first pixel
  bitmap.SetPixelFormat(TPixelFormat::pf24bit);
  EXPECT_EQ(bitmap.Image().pixel(0, 0), qRgb(255, 0, 0));
}

TEST(KxDeBitmap, CopiesShareUntilEitherSideWrites) {
  TKxDeBitmap a(4, 4);
  TKxDeBitmap b;
  b.Assign(&a);
  EXPECT_EQ(a.Image().constBits(), b.Image().constBits());
  TCanvas* canvas = a.Canvas();
  canvas->Brush()->SetColor(clBlack);
  canvas->FillRect({0, 0, 4, 4});
  EXPECT_EQ(At(b, 2, 2), qRgb(255, 255, 255)) << "a copy taken while painting does not see later drawing";
  b.ScanLine(0)[0] = 0x12;
  EXPECT_EQ(At(a, 0, 0), qRgb(0, 0, 0));
}

TEST(KxDeBitmap, TransparencyDefaultsToTheBottomLeftPixelAndDrawingLeavesItOut) {
  TKxDeBitmap bitmap(3, 3);
  bitmap.Canvas()->SetPixel(0, 2, clRed);
  EXPECT_EQ(bitmap.TransparentColor(), clRed);
  bitmap.SetTransparentColor(clWhite);
  EXPECT_EQ(bitmap.TransparentMode(), TTransparentMode::tmFixed);
  EXPECT_EQ(bitmap.Mask().pixelIndex(0, 0), 1);
  EXPECT_EQ(bitmap.Mask().pixelIndex(0, 2), 0);
  bitmap.SetTransparentMode(TTransparentMode::tmAuto);
  EXPECT_EQ(bitmap.TransparentColor(), clRed);
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

TEST(KxDeBitmap, BitmapFilesAndTheClipboardRoundTripAndRefuseBadData) {
  TKxDeBitmap bitmap(5, 4);
  bitmap.Canvas()->SetPixel(1, 2, RGB(10, 20, 30));
  QBuffer buffer;
  buffer.open(QIODevice::ReadWrite);
  bitmap.SaveToStream(&buffer);
  EXPECT_TRUE(buffer.data().startsWith("BM"));
  buffer.seek(0);
  TKxDeBitmap back;
  back.LoadFromStream(&buffer);
  EXPECT_EQ(back.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(At(back, 1, 2), qRgb(10, 20, 30));
  QByteArray junk("BM not really a bitmap");
  QBuffer bad(&junk);
  bad.open(QIODevice::ReadOnly);
  EXPECT_THROW(back.LoadFromStream(&bad), Exception);
  EXPECT_THROW(back.LoadFromFile(QStringLiteral("/nonexistent/x.bmp")), Exception);
  EXPECT_EQ(back.Width(), 5);
  uint16_t format = 9;
  QMimeData* data = nullptr;
  TKxDeBitmap().SaveToClipboardFormat(format, data);
  EXPECT_EQ(data, nullptr) << "an empty bitmap offers nothing";
  bitmap.SaveToClipboardFormat(format, data);
  std::unique_ptr<QMimeData> owned(data);
  EXPECT_EQ(format, CF_BITMAP);
  TKxDeBitmap pasted;
  pasted.LoadFromClipboardFormat(CF_BITMAP, data);
  EXPECT_EQ(At(pasted, 1, 2), qRgb(10, 20, 30));
  EXPECT_THROW(pasted.LoadFromClipboardFormat(99, data), Exception);
  QMimeData text;
  text.setText("x");
  EXPECT_THROW(pasted.LoadFromClipboardFormat(CF_BITMAP, &text), Exception);
}
