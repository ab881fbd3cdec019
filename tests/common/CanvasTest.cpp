// The canvas: rectangle conventions (right and bottom edges excluded), pen modes on image buffers, text,
// clipping, colours.
#include "support/TestSupport.h"

#include <QGuiApplication>
#include <QPalette>

namespace vorn {
namespace {

TColor At(const QImage& Img, int X, int Y) { return FromQColor(Img.pixelColor(X, Y)); }

using test::Drawn;

struct TProbe {
  int X, Y;
  TColor Colour;
};
void Expect(const QImage& Img, std::initializer_list<TProbe> Probes, const char* What) {
  for (const TProbe& p : Probes) EXPECT_EQ(At(Img, p.X, p.Y), p.Colour) << What << " at " << p.X << "," << p.Y;
}

TEST(Colors, NoneIsTransparentAndSystemColoursFollowThePalette) {
  EXPECT_EQ(ToQColor(clNone).alpha(), 0);
  EXPECT_TRUE(IsSystemColor(clBtnFace));
  QPalette pal = QGuiApplication::palette();
  const QPalette saved = pal;
  pal.setColor(QPalette::Highlight, QColor(10, 20, 30));
  QGuiApplication::setPalette(pal);
  EXPECT_EQ(ColorToRGB(clHighlight), RGB(10, 20, 30)) << "system colours follow the palette";
  QGuiApplication::setPalette(saved);
}

TEST(Canvas, ShapesExcludeTheirRightAndBottomEdgesAndFramesAreHollow) {
  Expect(Drawn([](TCanvas& c) {
           c.Pen()->SetColor(clBlack);
           c.Brush()->SetColor(clRed);
           c.Rectangle(5, 5, 15, 12);
         }),
         {{5, 5, clBlack}, {14, 11, clBlack}, {15, 8, clWhite}, {10, 12, clWhite}, {10, 8, clRed}}, "rectangle");
  Expect(Drawn([](TCanvas& c) {
           c.Brush()->SetColor(clBlue);
           c.FillRect({0, 0, 10, 10});
           c.Brush()->SetColor(clLime);
           c.FrameRect({20, 5, 30, 15});
         }),
         {{9, 9, clBlue}, {10, 9, clWhite}, {29, 14, clLime}, {25, 10, clWhite}, {30, 10, clWhite}}, "fill and frame");
  Expect(Drawn([](TCanvas& c) {
           c.Brush()->SetStyle(TBrushStyle::bsClear);
           c.Pen()->SetColor(clRed);
           c.Ellipse(0, 0, 30, 30);
           c.Pen()->SetStyle(TPenStyle::psClear);
           c.Brush()->SetColor(clBlue);  // a colour makes the brush solid again
           c.Rectangle(32, 0, 40, 8);
         }),
         {{15, 15, clWhite}, {0, 15, clRed}, {36, 4, clBlue}, {32, 0, clBlue}}, "clear brush, clear pen");
  Expect(Drawn([](TCanvas& c) {
           c.Pen()->SetColor(clBlack);
           c.Brush()->SetColor(clRed);
           TKxDeGraphicUtils::Rectangle(&c, {2, 2, 12, 12}, false);
           TKxDeGraphicUtils::Rectangle(&c, {20, 2, 30, 12}, true);
         }),
         {{12, 12, clBlack}, {7, 7, clWhite}, {25, 7, clRed}, {20, 7, clBlack}}, "the helper draws the far corner");
}

TEST(Canvas, InsideFramePensKeepTheirWidthInside) {
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
    const QImage img = Drawn(
        [&](TCanvas& c) {
          c.SetAntialiasing(t.Antialiased);
          c.Pen()->SetStyle(TPenStyle::psInsideFrame);
          c.Pen()->SetWidth(t.Width);
          c.Brush()->SetStyle(TBrushStyle::bsClear);
          t.Figure(c);
        },
        60, 50);
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

TEST(Canvas, PenModesCombineWithTheImage) {
  QImage img = Drawn([](TCanvas& c) {
    c.Brush()->SetColor(clYellow);
    c.FillRect({0, 0, 20, 30});
  });
  const QImage before = img.copy();
  {
    TCanvas c(&img);
    c.Pen()->SetMode(TPenMode::pmXor);
    c.Pen()->SetColor(clWhite);
    c.MoveTo(0, 10);
    c.LineTo(39, 10);
    EXPECT_EQ(At(img, 5, 10), RGB(0, 0, 255)) << "yellow xor white";
    EXPECT_EQ(At(img, 30, 10), clBlack);
    c.MoveTo(0, 10);
    c.LineTo(39, 10);
  }
  EXPECT_EQ(img, before) << "xor twice restores the image";
  Expect(Drawn([](TCanvas& c) {
           c.Pen()->SetMode(TPenMode::pmNotXor);
           TKxDeGraphicUtils::Line(&c, {0, 5}, {39, 5});
           c.Pen()->SetMode(TPenMode::pmNop);
           c.Pen()->SetColor(clRed);
           c.MoveTo(0, 20);
           c.LineTo(39, 20);
           EXPECT_EQ(c.PenPos(), (TPoint{39, 20})) << "the pen still moves";
         }),
         {{10, 5, clBlack}, {10, 20, clWhite}}, "not-xor and no-op");
}

TEST(Canvas, TextOutPutsInkBelowAndRightOfItsOriginAndMovesThePen) {
  int inkTop = 1000, inkLeft = 1000;
  const QImage img = Drawn(
      [](TCanvas& c) {
        c.Font()->SetName(QStringLiteral("DejaVu Sans"));
        c.Font()->SetSize(14);
        c.Brush()->SetStyle(TBrushStyle::bsClear);
        const TPoint ext = c.TextExtent(QStringLiteral("HH"));
        c.TextOut(10, 8, QStringLiteral("HH"));
        EXPECT_EQ(c.PenPos().X, 10 + ext.X);
      },
      120, 40);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixelColor(x, y).lightness() < 128) {
        inkTop = std::min(inkTop, y);
        inkLeft = std::min(inkLeft, x);
      }
  EXPECT_TRUE(inkTop >= 8 && inkTop <= 16) << inkTop;
  EXPECT_TRUE(inkLeft >= 10 && inkLeft <= 14) << inkLeft;
}

TEST(Canvas, ClipsImagesAndPixels) {
  Expect(Drawn([](TCanvas& c) {
           c.SetClipRect({10, 10, 20, 20});
           c.IntersectClipRect({15, 0, 40, 40});
           EXPECT_EQ(c.ClipRect(), (TRect{15, 10, 20, 20}));
           c.Brush()->SetColor(clRed);
           c.FillRect({0, 0, 40, 30});
           c.ResetClip();
           EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 40, 30}));
         }),
         {{15, 10, clRed}, {19, 19, clRed}, {14, 15, clWhite}, {20, 15, clWhite}}, "clipped");
  QImage src(2, 1, QImage::Format_RGB32);
  src.setPixelColor(0, 0, Qt::red);
  src.setPixelColor(1, 0, Qt::blue);
  Expect(Drawn(
             [&](TCanvas& c) {
               c.StretchDraw({0, 0, 4, 2}, src);
               c.StretchDraw({4, 4, 0, 6}, src);  // right to left: mirrored, pixels 4 down to 1
               c.SetPixel(9, 9, clLime);
               EXPECT_EQ(c.Pixel(100, 100), clNone);
               c.SetPixel(-1, 0, clLime);  // outside: ignored
             },
             10, 10),
         {{3, 1, clBlue}, {4, 4, clRed}, {1, 5, clBlue}, {0, 4, clWhite}, {9, 9, clLime}}, "images");
}

}  // namespace
}  // namespace vorn
