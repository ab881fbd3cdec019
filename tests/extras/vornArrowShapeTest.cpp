// The arrow control: its properties, the geometry of line and heads, and what it paints.
#include "support/TestSupport.h"

#include <QPalette>
#include <QPixmap>
#include <QWidget>

namespace vorn {
namespace {

using TExt = TvornArrowExtremity;

TColor At(const QImage& Img, int X, int Y) { return FromQColor(Img.pixelColor(X, Y)); }

QImage Painted(TvornArrowShape& A) {
  return test::Drawn([&](TCanvas& C) { A.Paint(&C); }, A.width(), A.height());
}

TEST(ArrowShape, AnglesReduceLengthsHalveIntoWidthsAndPropertiesAreWrittenByName) {
  TvornArrowShape a;
  for (auto [given, kept] : {std::pair{-90.0, 270.0}, {370.0, 10.0}, {-370.0, 350.0}, {360.0, 360.0}, {-360.0, 0.0}}) {
    a.SetArrowAngle(given);
    EXPECT_EQ(a.ArrowAngle(), kept) << given << ": only values beyond a full turn are reduced";
  }
  a.SetArrowLength(15);
  EXPECT_EQ(a.ArrowWidth(), 7);
  a.SetArrowWidth(3);
  a.SetArrowLength(15);
  EXPECT_EQ(a.ArrowWidth(), 3) << "an unchanged length leaves the width alone";
  a.SetArrowLength(-9);
  EXPECT_EQ(a.ArrowWidth(), -4) << "half, rounded toward zero";
  EXPECT_TRUE(a.setProperty("ArrowLength", 40));
  EXPECT_EQ(a.property("ArrowWidth").toInt(), 20);
  const TPoint o{10, 10};
  for (auto [to, angle] : {std::pair{TPoint{10, 10}, 0.0}, {TPoint{0, 10}, 180.0}, {TPoint{20, 20}, 315.0}})
    EXPECT_DOUBLE_EQ(TvornArrowShape::AngleOfPoints(o, to), angle) << to.X << "," << to.Y;
  const double small = TvornArrowShape::AngleOfPoints(o, {1000000, 11});
  EXPECT_TRUE(small > 359.9 && small < 360.0);
}

TEST(ArrowGeometry, TheLineCrossesTheControlAndTheHeadsSitAtItsEnds) {
  struct TCase {
    int W, H;
    double Angle;
    TExt Ends;
    TPoint Start, End;
    TPointArray EndHead, StartHead;
  };
  const TCase cases[] = {
      {65, 5, 0, TExt::vornaeRight, {1, 2}, {65, 2}, {{65, 2}, {60, -18}, {60, 22}}, {}},
      {65, 5, 180, TExt::vornaeRight, {65, 2}, {1, 2}, {{1, 2}, {6, 22}, {6, -18}}, {}},
      {65, 5, 0, TExt::vornaeLeft, {1, 2}, {65, 2}, {}, {{1, 2}, {6, -18}, {6, 22}}},
      {65, 5, 0, TExt::vornaeNone, {1, 2}, {65, 2}, {}, {}},
      {20, 100, 90, TExt::vornaeRight, {10, 100}, {10, 1}, {{10, 1}, {-10, 6}, {30, 6}}, {}},
      // Steeper than the diagonal: from the bottom edge to the top, cos^2(45) * 50 from the centre.
      {100, 20, 45, TExt::vornaeNone, {25, 20}, {75, 1}, {}, {}},
      {100, 20, 270, TExt::vornaeNone, {50, 20}, {50, 1}, {}, {}},  // pointing down still runs upwards
      // Within the diagonal: across the side edges, Round(sin(angle) * 50) from the middle.
      {100, 60, 30, TExt::vornaeNone, {1, 55}, {100, 5}, {}, {}},
      {100, 60, 200, TExt::vornaeNone, {100, 13}, {1, 47}, {}, {}},
      {1, 5, 0, TExt::vornaeBoth, {1, 2}, {1, 2}, {}, {}},  // no length, no heads
  };
  for (const TCase& c : cases) {
    TvornArrowShape a;
    a.resize(c.W, c.H);
    a.SetArrowAngle(c.Angle);
    a.SetArrowExtremity(c.Ends);
    const TvornArrowGeometry g = a.Geometry();
    EXPECT_EQ(g.StartPoint, c.Start) << c.W << "x" << c.H << " at " << c.Angle;
    EXPECT_EQ(g.EndPoint, c.End) << c.W << "x" << c.H << " at " << c.Angle;
    EXPECT_EQ(g.EndHead, c.EndHead) << c.W << "x" << c.H << " at " << c.Angle;
    EXPECT_EQ(g.StartHead, c.StartHead) << c.W << "x" << c.H << " at " << c.Angle;
  }
  TvornArrowShape empty;
  empty.resize(0, 0);
  (void)empty.Geometry();
  (void)empty.grab();
}

TEST(ArrowPainting, PenAndBrushDrawTheLineAndTheFilledHead) {
  TvornArrowShape a;
  a.resize(65, 41);  // room for the whole head: line at y = 20
  const QImage plain = Painted(a);
  EXPECT_EQ(At(plain, 58, 30), clWhite) << "before the head";
  EXPECT_EQ(At(plain, 62, 39), clWhite) << "beyond the head's half-width of 20 at x = 62";
  TPen pen;
  pen.SetColor(clRed);
  a.SetPen(&pen);
  TBrush brush;
  brush.SetColor(clBlue);
  a.SetBrush(&brush);
  const QImage img = Painted(a);
  EXPECT_EQ(At(img, 10, 20), clRed);
  EXPECT_EQ(At(img, 62, 25), clBlue) << "filled with the brush";
  EXPECT_EQ(At(img, 60, 5), clRed) << "outlined with the pen";
}

TEST(ArrowPainting, AGrabShowsTheParentThrough) {
  // Like a window-less control, the arrow paints only itself over its parent's background.
  QWidget form;
  QPalette pal = form.palette();
  pal.setColor(QPalette::Window, Qt::white);
  form.setPalette(pal);
  form.setAutoFillBackground(true);
  form.resize(60, 120);
  auto* a = new TvornArrowShape(&form);
  a->move(10, 10);
  a->resize(40, 100);
  a->SetArrowAngle(90);
  const QImage img = form.grab().toImage();
  EXPECT_EQ(At(img, 30, 60), clBlack) << "the vertical line";
  EXPECT_EQ(At(img, 25, 60), clWhite);
  EXPECT_EQ(At(img, 22, 15), clBlack) << "the head at the top";
  EXPECT_EQ(At(img, 5, 5), clWhite) << "outside the control";
}

}  // namespace
}  // namespace vorn
