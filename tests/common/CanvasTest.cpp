// The canvas: rectangle conventions (right and bottom edges excluded), pen modes on image buffers, text, clipping,
// colours.
#include <vorn/common/Canvas.h>
#include <vorn/common/Color.h>
#include <vorn/common/GraphicUtils.h>

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPalette>

namespace vorn {
namespace {

QImage WhiteImage(int W = 40, int H = 30) {
  QImage img(W, H, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

TColor At(const QImage& Img, int X, int Y) { return FromQColor(Img.pixelColor(X, Y)); }

TEST(Colors, PlainAndSystemColours) {
  EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(RGB(1, 2, 3)), QColor(1, 2, 3));
  EXPECT_EQ(GetBValue(clBlue), 255);
  EXPECT_EQ(ToQColor(clNone).alpha(), 0);
  EXPECT_EQ(clNone, 0x1FFFFFFF);
  EXPECT_TRUE(IsSystemColor(clBtnFace));
  EXPECT_FALSE(IsSystemColor(clWhite));
  QPalette pal = QGuiApplication::palette();
  const QPalette saved = pal;
  pal.setColor(QPalette::Highlight, QColor(10, 20, 30));
  pal.setColor(QPalette::Base, QColor(250, 240, 230));
  QGuiApplication::setPalette(pal);
  EXPECT_EQ(ColorToRGB(clHighlight), RGB(10, 20, 30));
  EXPECT_EQ(ToQColor(clWindow), QColor(250, 240, 230));
  QGuiApplication::setPalette(saved);
  EXPECT_EQ(FromQColor(QColor(12, 34, 56, 7)), RGB(12, 34, 56));
}

TEST(CanvasShapes, RectangleExcludesRightAndBottomEdges) {
  QImage img = WhiteImage();
  {
    TCanvas c(&img);
    c.Pen()->SetColor(clBlack);
    c.Brush()->SetColor(clRed);
    c.Rectangle(5, 5, 15, 12);
  }
  EXPECT_EQ(At(img, 5, 5), clBlack);    // outline on the first row and column
  EXPECT_EQ(At(img, 14, 11), clBlack);  // last outlined pixel is one inside Right/Bottom
  EXPECT_EQ(At(img, 15, 8), clWhite);
  EXPECT_EQ(At(img, 10, 12), clWhite);
  EXPECT_EQ(At(img, 10, 8), clRed);  // filled with the brush
}

TEST(CanvasShapes, FillAndFrameUseTheBrushOnly) {
  QImage img = WhiteImage();
  {
    TCanvas c(&img);
    c.Pen()->SetColor(clBlack);
    c.Brush()->SetColor(clBlue);
    c.FillRect({0, 0, 10, 10});
    c.Brush()->SetColor(clLime);
    c.FrameRect({20, 5, 30, 15});
  }
  EXPECT_EQ(At(img, 0, 0), clBlue);
  EXPECT_EQ(At(img, 9, 9), clBlue);
  EXPECT_EQ(At(img, 10, 9), clWhite);
  EXPECT_EQ(At(img, 20, 5), clLime);
  EXPECT_EQ(At(img, 29, 14), clLime);
  EXPECT_EQ(At(img, 25, 10), clWhite);  // a frame is hollow
  EXPECT_EQ(At(img, 30, 10), clWhite);
}

TEST(CanvasShapes, ClearBrushAndClearPen) {
  QImage img = WhiteImage();
  {
    TCanvas c(&img);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.Pen()->SetColor(clRed);
    c.Ellipse(0, 0, 30, 30);
    c.Pen()->SetStyle(TPenStyle::psClear);
    c.Brush()->SetColor(clBlue);  // a colour makes the brush solid again
    c.Rectangle(32, 0, 40, 8);
  }
  EXPECT_EQ(At(img, 15, 15), clWhite);  // not filled
  EXPECT_EQ(At(img, 0, 15), clRed);     // the outline passes through the left middle
  EXPECT_EQ(At(img, 36, 4), clBlue);
  EXPECT_EQ(At(img, 32, 0), clBlue);    // no outline drawn over the fill
}

TEST(CanvasShapes, InsideFramePensKeepTheirWidthInside) {
  using TFigure = void (*)(TCanvas&);
  const TFigure rect = [](TCanvas& c) { c.Rectangle(10, 10, 50, 40); };
  const TFigure round = [](TCanvas& c) { c.RoundRect(10, 10, 50, 40, 16, 16); };
  const TFigure ellipse = [](TCanvas& c) { c.Ellipse(10, 10, 50, 40); };
  struct TCase {
    TFigure Figure;
    int Width;
    bool Antialiased;
  };
  // The last pen is wider than the figure is high.
  int i = 0;
  for (const TCase& t : {TCase{rect, 6, false}, TCase{rect, 7, true}, TCase{round, 6, false}, TCase{ellipse, 7, false},
                         TCase{ellipse, 6, true}, TCase{rect, 45, false}}) {
    SCOPED_TRACE(i++);
    QImage img = WhiteImage(60, 50);
    {
      TCanvas c(&img);
      c.SetAntialiasing(t.Antialiased);
      c.Pen()->SetStyle(TPenStyle::psInsideFrame);
      c.Pen()->SetWidth(t.Width);
      c.Brush()->SetStyle(TBrushStyle::bsClear);
      t.Figure(c);
    }
    int outside = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if ((x < 10 || x >= 50 || y < 10 || y >= 40) && At(img, x, y) != clWhite) ++outside;
    EXPECT_EQ(outside, 0);
    // Ink on the edge of every side, as wide as the pen (or the figure), and hollow within.
    for (const QPoint& e : {QPoint(10, 25), QPoint(49, 25), QPoint(30, 10), QPoint(30, 39)})
      EXPECT_NE(At(img, e.x(), e.y()), clWhite) << e.x() << "," << e.y();
    EXPECT_EQ(At(img, 30, 9 + std::min(t.Width, 30)), clBlack);
    if (t.Width < 15) {
      EXPECT_EQ(At(img, 30, 11 + t.Width), clWhite);
    }
  }
}

TEST(CanvasPenModes, XorTwiceRestoresTheImage) {
  QImage img = WhiteImage();
  {
    TCanvas c(&img);
    c.Brush()->SetColor(clYellow);
    c.FillRect({0, 0, 20, 30});
  }
  const QImage before = img.copy();
  {
    TCanvas c(&img);
    c.Pen()->SetMode(TPenMode::pmXor);
    c.Pen()->SetColor(clWhite);
    c.MoveTo(0, 10);
    c.LineTo(39, 10);
    EXPECT_EQ(At(img, 5, 10), RGB(0, 0, 255));  // yellow xor white = blue
    EXPECT_EQ(At(img, 30, 10), clBlack);         // white xor white = black
    c.MoveTo(0, 10);
    c.LineTo(39, 10);
  }
  EXPECT_EQ(img, before);
}

TEST(CanvasPenModes, NotXorAndNop) {
  QImage img = WhiteImage();
  {
    TCanvas c(&img);
    c.Pen()->SetMode(TPenMode::pmNotXor);
    c.Pen()->SetColor(clBlack);
    c.MoveTo(0, 5);
    c.LineTo(39, 5);  // not (black xor white) = black
    c.Pen()->SetMode(TPenMode::pmNop);
    c.Pen()->SetColor(clRed);
    c.MoveTo(0, 20);
    c.LineTo(39, 20);
    EXPECT_EQ(c.PenPos(), (TPoint{39, 20}));  // the pen still moves
  }
  EXPECT_EQ(At(img, 10, 5), clBlack);
  EXPECT_EQ(At(img, 10, 20), clWhite);
}

TEST(CanvasText, TextOutPutsInkBelowAndRightOfItsOrigin) {
  QImage img = WhiteImage(120, 40);
  int inkTop = 1000, inkLeft = 1000;
  {
    TCanvas c(&img);
    c.Font()->SetName(QStringLiteral("DejaVu Sans"));
    c.Font()->SetSize(14);
    c.Font()->SetColor(clBlack);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    const TPoint ext = c.TextExtent(QStringLiteral("HH"));
    EXPECT_GT(ext.X, 10);
    EXPECT_GT(ext.Y, 10);
    c.TextOut(10, 8, QStringLiteral("HH"));
    EXPECT_EQ(c.PenPos().X, 10 + ext.X);
  }
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixelColor(x, y).lightness() < 128) {
        inkTop = std::min(inkTop, y);
        inkLeft = std::min(inkLeft, x);
      }
  EXPECT_GE(inkTop, 8);
  EXPECT_LE(inkTop, 16);
  EXPECT_GE(inkLeft, 10);
  EXPECT_LE(inkLeft, 14);
}

TEST(CanvasClipping, DrawingStaysInsideTheClip) {
  QImage img = WhiteImage();
  {
    TCanvas c(&img);
    c.SetClipRect({10, 10, 20, 20});
    EXPECT_TRUE(c.HasClip());
    EXPECT_EQ(c.ClipRect(), (TRect{10, 10, 20, 20}));
    c.IntersectClipRect({15, 0, 40, 40});
    EXPECT_EQ(c.ClipRect(), (TRect{15, 10, 20, 20}));
    c.Brush()->SetColor(clRed);
    c.FillRect({0, 0, 40, 30});
    c.ResetClip();
    EXPECT_FALSE(c.HasClip());
    EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 40, 30}));
  }
  EXPECT_EQ(At(img, 15, 10), clRed);
  EXPECT_EQ(At(img, 19, 19), clRed);
  EXPECT_EQ(At(img, 14, 15), clWhite);
  EXPECT_EQ(At(img, 20, 15), clWhite);
}

TEST(CanvasImages, PixelsAndMirroredStretch) {
  QImage src(2, 1, QImage::Format_RGB32);
  src.setPixelColor(0, 0, Qt::red);
  src.setPixelColor(1, 0, Qt::blue);
  QImage img = WhiteImage(10, 10);
  {
    TCanvas c(&img);
    c.StretchDraw({0, 0, 4, 2}, src);
    c.StretchDraw({4, 4, 0, 6}, src);  // right to left: mirrored
    c.SetPixel(9, 9, clLime);
    EXPECT_EQ(c.Pixel(9, 9), clLime);
    EXPECT_EQ(c.Pixel(100, 100), clNone);
    c.SetPixel(-1, 0, clLime);  // outside: ignored
  }
  EXPECT_EQ(At(img, 0, 0), clRed);
  EXPECT_EQ(At(img, 3, 1), clBlue);
  // Right to left from 4 to 0 covers pixels 4 down to 1.
  EXPECT_EQ(At(img, 4, 4), clRed);
  EXPECT_EQ(At(img, 1, 5), clBlue);
  EXPECT_EQ(At(img, 0, 4), clWhite);
}

TEST(CanvasHelpers, RectangleHelperOutlinesOrFills) {
  QImage img = WhiteImage();
  {
    TCanvas c(&img);
    c.Pen()->SetColor(clBlack);
    c.Brush()->SetColor(clRed);
    TKxDeGraphicUtils::Rectangle(&c, {2, 2, 12, 12}, false);
    TKxDeGraphicUtils::Rectangle(&c, {20, 2, 30, 12}, true);
    TKxDeGraphicUtils::Line(&c, {0, 25}, {39, 25});
    c.Lock();
    c.Lock();
    c.Unlock();
    EXPECT_EQ(c.LockCount(), 1);
  }
  EXPECT_EQ(At(img, 2, 2), clBlack);
  EXPECT_EQ(At(img, 12, 12), clBlack);  // the helper draws through the far corner
  EXPECT_EQ(At(img, 7, 7), clWhite);
  EXPECT_EQ(At(img, 25, 7), clRed);
  EXPECT_EQ(At(img, 20, 7), clBlack);
  EXPECT_EQ(At(img, 20, 25), clBlack);
}

}  // namespace
}  // namespace vorn
