// The arrow control: its properties, the geometry of line and heads, and what it paints.
#include <vorn/common/Canvas.h>
#include <vorn/common/Color.h>
#include <vorn/extras/vornArrowShape.h>

#include <gtest/gtest.h>

#include <QImage>
#include <QMetaEnum>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

namespace vorn {
namespace {

using TExt = TvornArrowExtremity;

TColor At(const QImage& Img, int X, int Y) { return FromQColor(Img.pixelColor(X, Y)); }

// Paints the control on a white image of its size.
QImage Painted(TvornArrowShape& A) {
  QImage img(A.width(), A.height(), QImage::Format_RGB32);
  img.fill(Qt::white);
  TCanvas c(&img);
  A.Paint(&c);
  return img;
}

TEST(ArrowShape, Defaults) {
  TvornArrowShape a;
  EXPECT_EQ(a.width(), 65);
  EXPECT_EQ(a.height(), 5);
  EXPECT_EQ(a.ArrowLength(), 5);
  EXPECT_EQ(a.ArrowWidth(), 20);
  EXPECT_EQ(a.ArrowAngle(), 0.0);
  EXPECT_EQ(a.ArrowExtremity(), TExt::vornaeRight);
  EXPECT_EQ(a.Pen()->Color(), clBlack);
  EXPECT_EQ(a.Pen()->Style(), TPenStyle::psSolid);
  EXPECT_EQ(a.Brush()->Color(), clBlack);
  EXPECT_EQ(a.ClassName(), QStringLiteral("TvornArrowShape"));
}

TEST(ArrowShape, PropertySetters) {
  TvornArrowShape a;
  a.SetArrowAngle(-90);
  EXPECT_EQ(a.ArrowAngle(), 270.0);
  a.SetArrowAngle(370);
  EXPECT_EQ(a.ArrowAngle(), 10.0);
  a.SetArrowAngle(-370);
  EXPECT_EQ(a.ArrowAngle(), 350.0);
  a.SetArrowAngle(360);
  EXPECT_EQ(a.ArrowAngle(), 360.0) << "only values beyond 360 are reduced";
  a.SetArrowAngle(-360);
  EXPECT_EQ(a.ArrowAngle(), 0.0);

  a.SetArrowLength(15);
  EXPECT_EQ(a.ArrowLength(), 15);
  EXPECT_EQ(a.ArrowWidth(), 7);
  a.SetArrowWidth(3);
  EXPECT_EQ(a.ArrowWidth(), 3);
  a.SetArrowLength(15);
  EXPECT_EQ(a.ArrowWidth(), 3) << "an unchanged length leaves the width alone";
  a.SetArrowLength(-9);
  EXPECT_EQ(a.ArrowWidth(), -4) << "half, rounded toward zero";

  // Published: read and written by name.
  EXPECT_TRUE(a.setProperty("ArrowAngle", -90.0));
  EXPECT_EQ(a.property("ArrowAngle").toDouble(), 270.0);
  EXPECT_TRUE(a.setProperty("ArrowExtremity", QVariant::fromValue(TExt::vornaeBoth)));
  EXPECT_EQ(a.ArrowExtremity(), TExt::vornaeBoth);
  EXPECT_EQ(QMetaEnum::fromType<TExt>().valueToKey(int(a.ArrowExtremity())), QByteArray("vornaeBoth"));
  EXPECT_TRUE(a.setProperty("ArrowLength", 40));
  EXPECT_EQ(a.property("ArrowWidth").toInt(), 20);

  TPen pen;
  pen.SetColor(clRed);
  pen.SetWidth(3);
  a.SetPen(&pen);
  EXPECT_EQ(a.Pen()->Color(), clRed);
  EXPECT_EQ(a.Pen()->Width(), 3);
  TBrush brush;
  brush.SetColor(clBlue);
  a.SetBrush(&brush);
  EXPECT_EQ(a.Brush()->Color(), clBlue);
}

TEST(ArrowShape, AngleOfPoints) {
  const TPoint o{10, 10};
  EXPECT_EQ(TvornArrowShape::AngleOfPoints(o, o), 0.0);
  EXPECT_EQ(TvornArrowShape::AngleOfPoints(o, {20, 10}), 0.0);
  EXPECT_DOUBLE_EQ(TvornArrowShape::AngleOfPoints(o, {10, 0}), 90.0);
  EXPECT_DOUBLE_EQ(TvornArrowShape::AngleOfPoints(o, {0, 10}), 180.0);
  EXPECT_DOUBLE_EQ(TvornArrowShape::AngleOfPoints(o, {10, 20}), 270.0);
  EXPECT_DOUBLE_EQ(TvornArrowShape::AngleOfPoints(o, {20, 0}), 45.0);
  EXPECT_DOUBLE_EQ(TvornArrowShape::AngleOfPoints(o, {0, 0}), 135.0);
  EXPECT_DOUBLE_EQ(TvornArrowShape::AngleOfPoints(o, {0, 20}), 225.0);
  EXPECT_DOUBLE_EQ(TvornArrowShape::AngleOfPoints(o, {20, 20}), 315.0);
  const double small = TvornArrowShape::AngleOfPoints(o, {1000000, 11});
  EXPECT_GT(small, 359.9);
  EXPECT_LT(small, 360.0);
}

TEST(ArrowGeometry, DefaultArrow) {
  TvornArrowShape a;
  const TvornArrowGeometry g = a.Geometry();
  EXPECT_EQ(g.StartPoint, (TPoint{1, 2}));
  EXPECT_EQ(g.EndPoint, (TPoint{65, 2}));
  // 5 long and 20 to each side of the line at the right end.
  EXPECT_EQ(g.EndHead, (TPointArray{{65, 2}, {60, -18}, {60, 22}}));
  EXPECT_TRUE(g.StartHead.empty());
}

TEST(ArrowGeometry, HalfTurnSwapsTheEnds) {
  TvornArrowShape a;
  a.SetArrowAngle(180);
  const TvornArrowGeometry g = a.Geometry();
  EXPECT_EQ(g.StartPoint, (TPoint{65, 2}));
  EXPECT_EQ(g.EndPoint, (TPoint{1, 2}));
  EXPECT_EQ(g.EndHead, (TPointArray{{1, 2}, {6, 22}, {6, -18}}));
}

TEST(ArrowGeometry, NearVerticalRunsFromBottomToTop) {
  TvornArrowShape a;
  a.resize(20, 100);
  a.SetArrowAngle(90);
  TvornArrowGeometry g = a.Geometry();
  EXPECT_EQ(g.StartPoint, (TPoint{10, 100}));
  EXPECT_EQ(g.EndPoint, (TPoint{10, 1}));
  EXPECT_EQ(g.EndHead, (TPointArray{{10, 1}, {-10, 6}, {30, 6}}));

  // In a flat control 45 degrees is steeper than the diagonal (11.3 degrees): the line still
  // runs from the bottom edge to the top edge, each end cos^2(45) * 50 = 25 from the centre.
  a.resize(100, 20);
  a.SetArrowAngle(45);
  g = a.Geometry();
  EXPECT_EQ(g.StartPoint, (TPoint{25, 20}));
  EXPECT_EQ(g.EndPoint, (TPoint{75, 1}));
  // Pointing down still draws the line upwards: the head stays at the top.
  a.SetArrowAngle(270);
  g = a.Geometry();
  EXPECT_EQ(g.StartPoint, (TPoint{50, 20}));
  EXPECT_EQ(g.EndPoint, (TPoint{50, 1}));
}

TEST(ArrowGeometry, SlopedLineInAWideControl) {
  TvornArrowShape a;
  a.resize(100, 60);
  a.SetArrowAngle(30);  // within the diagonal's 30.96 degrees: crosses the side edges
  TvornArrowGeometry g = a.Geometry();
  EXPECT_EQ(g.StartPoint, (TPoint{1, 30 + 25}));  // Round(sin 30 * 50) = 25
  EXPECT_EQ(g.EndPoint, (TPoint{100, 30 - 25}));
  a.SetArrowAngle(200);
  g = a.Geometry();
  EXPECT_EQ(g.StartPoint, (TPoint{100, 30 - 17}));  // Round(sin 200 * 50) = -17
  EXPECT_EQ(g.EndPoint, (TPoint{1, 30 + 17}));
}

TEST(ArrowGeometry, Extremities) {
  TvornArrowShape a;
  a.SetArrowExtremity(TExt::vornaeNone);
  EXPECT_TRUE(a.Geometry().EndHead.empty());
  EXPECT_TRUE(a.Geometry().StartHead.empty());
  a.SetArrowExtremity(TExt::vornaeLeft);
  EXPECT_TRUE(a.Geometry().EndHead.empty());
  EXPECT_EQ(a.Geometry().StartHead, (TPointArray{{1, 2}, {6, -18}, {6, 22}}));
  a.SetArrowExtremity(TExt::vornaeBoth);
  EXPECT_EQ(a.Geometry().StartHead.size(), 3u);
  EXPECT_EQ(a.Geometry().EndHead.size(), 3u);
}

TEST(ArrowGeometry, ZeroLengthLineDrawsWithoutHeads) {
  TvornArrowShape a;
  a.resize(1, 5);
  a.SetArrowExtremity(TExt::vornaeBoth);
  const TvornArrowGeometry g = a.Geometry();
  EXPECT_EQ(g.StartPoint, g.EndPoint);
  EXPECT_TRUE(g.StartHead.empty());
  EXPECT_TRUE(g.EndHead.empty());
  const QImage img = Painted(a);
  EXPECT_EQ(img.size(), QSize(1, 5));
  a.resize(0, 0);
  (void)a.Geometry();
  (void)a.grab();
}

TEST(ArrowPainting, LineAndHeadPixels) {
  TvornArrowShape a;
  a.resize(65, 41);  // room for the whole head: line at y = 20
  QImage img = Painted(a);
  EXPECT_EQ(At(img, 10, 20), clBlack);
  EXPECT_EQ(At(img, 10, 19), clWhite);
  EXPECT_EQ(At(img, 58, 30), clWhite);  // before the head
  EXPECT_EQ(At(img, 62, 30), clBlack);  // inside the filled head
  EXPECT_EQ(At(img, 62, 10), clBlack);
  EXPECT_EQ(At(img, 62, 39), clWhite);  // beyond the head's half-width of 20 at x = 62

  TPen pen;
  pen.SetColor(clRed);
  a.SetPen(&pen);
  TBrush brush;
  brush.SetColor(clBlue);
  a.SetBrush(&brush);
  img = Painted(a);
  EXPECT_EQ(At(img, 10, 20), clRed);
  EXPECT_EQ(At(img, 62, 25), clBlue);  // head filled with the brush
  EXPECT_EQ(At(img, 60, 5), clRed);    // and outlined with the pen
}

TEST(ArrowPainting, OffscreenGrabShowsTheParentThrough) {
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
  ASSERT_EQ(img.size(), QSize(60, 120));
  auto at = [&](int X, int Y) { return At(img, 10 + X, 10 + Y); };
  EXPECT_EQ(at(20, 50), clBlack);  // the vertical line
  EXPECT_EQ(at(15, 50), clWhite);
  EXPECT_EQ(at(20, 4), clBlack);   // the head at the top
  EXPECT_EQ(at(12, 5), clBlack);
  EXPECT_EQ(at(12, 40), clWhite);
  EXPECT_EQ(At(img, 5, 5), clWhite);  // outside the control
}

}  // namespace
}  // namespace vorn
