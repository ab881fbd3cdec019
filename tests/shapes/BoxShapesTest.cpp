// Box shapes of the kit: rectangle and ellipse, and the four-corner behaviour they share with
// text, picture and barcode (corners kept a rectangle, sizing from nothing, kept ratios).
#include "ShapeTestSupport.h"

using namespace vorn;
using namespace vorn::test;

namespace {

// A red rectangle with a 1 mm blue frame at (10, 20), 100 x 50 world units.
TOwned<TVornRectangle> RedBox() {
  auto r = MakeShape<TVornRectangle>();
  r->SetBounds(10, 20, 100, 50);
  r->Brush()->SetColor(clRed);
  r->Pen()->SetColor(clBlue);
  r->Pen()->SetWidth(1.0f);
  return r;
}

}  // namespace

TEST(VornBoxShape, CornersStayABoxFromNothingThroughDragsAndKeptRatios) {
  auto r = MakeShape<TVornRectangle>();
  r->SetBounds(5, 6, 0, 0);
  EXPECT_EQ(r->GetBounds(), (TRectF{5, 6, 5, 6})) << "grown from zero size, as the editor creates it";
  r->SetBounds(5, 6, 40, 30);
  EXPECT_EQ(r->GetPointArray(), (TDPointArray{{5, 6}, {45, 6}, {45, 36}, {5, 36}}));
  r->Resize(10, 0);
  EXPECT_EQ(r->GetBounds(), (TRectF{5, 6, 15, 6}));
  r->SetBounds(0, 0, 100, 50);
  r->Points(2)->SetPosition(120, 80);  // the neighbours follow: top-right in x, bottom-left in y
  EXPECT_EQ(r->GetPointArray(), (TDPointArray{{0, 0}, {120, 0}, {120, 80}, {0, 80}}));
  r->Points(0)->SetPosition(130, -10);  // past the others: inside out, still a box
  EXPECT_EQ(r->GetBounds(), (TRectF{120, -10, 130, 80}));
  EXPECT_EQ(r->PointValue(1).Y, -10);
  // A QR code keeps square modules, so its box keeps the symbol's ratio (1).
  auto b = MakeShape<TVornBarcode>();
  b->SetSymbology(TVornBarcodeType::vbtQRCode);
  b->SetText(QStringLiteral("ratio"));
  TRectF q{50, 50, 10, 30};  // reversed: ordered first, then the short side widened
  b->ArrangeBoundsRect(q);
  EXPECT_EQ(q, (TRectF{10, 30, 50, 70}));
  b->SetBounds(0, 0, 50, 50);
  b->Points(2)->SetPosition(80, 60);
  EXPECT_EQ(b->GetBounds(), (TRectF{0, 0, 80, 80})) << "against the opposite corner";
  q = TRectF{0, 0, 30, 10};
  r->ArrangeBoundsRect(q);
  EXPECT_EQ(q, (TRectF{0, 0, 30, 10})) << "a rectangle has no ratio to keep";
}

TEST(VornBoxShape, HitTestsFollowTheFillTheFrameTheEllipseAndTheTurn) {
  auto filled = RedBox();
  auto frame = RedBox();
  frame->Brush()->SetStyle(TBrushStyle::bsClear);
  auto turned = MakeShape<TVornRectangle>();
  turned->SetBounds(50, 50, 100, 40);  // centre (100, 70); turned a quarter it stands 40 x 100
  turned->Brush()->SetColor(clRed);
  turned->SetRotation(90);
  auto ellipse = MakeShape<TVornEllipse>();
  ellipse->SetBounds(0, 0, 100, 60);
  ellipse->Brush()->SetColor(clLime);
  struct TCase {
    TKxDeShapeBase* Shape;
    TPointF At;
    float Fuzz;
    bool Hit;
  };
  const TCase cases[] = {
      {filled.get(), {60, 45}, 0, true},   {filled.get(), {5, 45}, 0, false},    {filled.get(), {5, 45}, 6, true},
      {frame.get(), {60, 45}, 2, false},   {frame.get(), {12, 45}, 0, true},     {frame.get(), {16, 45}, 0, false},
      {frame.get(), {15.5f, 45}, 2, true}, {frame.get(), {16.5f, 45}, 2, false},  // the frame's ink: 1 mm inside
      {turned.get(), {100, 30}, 0, true},  {turned.get(), {110, 115}, 0, true},  {turned.get(), {60, 70}, 0, false},
      {ellipse.get(), {2, 30}, 0, true},   {ellipse.get(), {5, 5}, 0, false},    {ellipse.get(), {95, 55}, 0, false},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(c.Shape->PointOnShape(c.At, c.Fuzz, false), c.Hit)
        << c.Shape->ClassName().toStdString() << " at " << c.At.X << "," << c.At.Y << " fuzz " << c.Fuzz;
  // Positive angles turn counter-clockwise on screen: at 30 degrees the right end rises.
  turned->SetRotation(30);
  EXPECT_TRUE(turned->PointOnShape(TKxDeUtils::RotatePoint({145, 70}, 30, {100, 70}), 0, false));
  EXPECT_FALSE(turned->PointOnShape({145, 95}, 0, false));
  turned->SetRotation(90);
  EXPECT_TRUE(turned->InRect(TRectF{95, 25, 105, 35})) << "InRect follows the turned outline";
  turned->SetRotation(0);
  EXPECT_FALSE(turned->InRect(TRectF{95, 25, 105, 35}));
  EXPECT_TRUE(turned->InRect(TRectF{99, 60, 101, 80})) << "a rectangle inside the filled shape touches it";
}

TEST(VornBoxShape, FillFrameAndGradientLandOnTheBox) {
  const QImage img = Render(RedBox().get(), 130, 90);
  // The 1 mm pen is 4 device pixels at zoom 1, inside the outline.
  for (auto [x, y, c] : {std::tuple{60.0, 45.0, Qt::red}, {10.5, 45.0, Qt::blue}, {14.5, 45.0, Qt::red}})
    EXPECT_TRUE(Near(At(img, x, y), c)) << x << "," << y;
  for (auto [x, y] : {std::pair{9.5, 45.0}, {110.5, 45.0}}) EXPECT_TRUE(IsWhite(At(img, x, y)));
  auto r = MakeShape<TVornRectangle>();
  r->SetBounds(0, 0, 200, 40);
  r->Pen()->SetWidth(0);
  r->Brush()->SetColor(clRed);  // also the gradient's start colour
  r->GetGradient()->SetColorEnd(clBlue);
  r->GetGradient()->SetStyle(TKxDeShapeGradientStyle::kxdgsLinearH);
  const QImage shaded = Render(r.get(), 220, 60);
  EXPECT_TRUE(qRed(At(shaded, 3, 20)) > 200 && qBlue(At(shaded, 3, 20)) < 60);
  EXPECT_TRUE(qBlue(At(shaded, 196, 20)) > 200 && qRed(At(shaded, 196, 20)) < 60);
  EXPECT_TRUE(IsWhite(At(shaded, 205, 20)));
  r->SetCornerRadius(5);
  EXPECT_TRUE(IsWhite(At(Render(r.get(), 220, 60), 1, 1))) << "rounded corners clip the gradient";
}

TEST(VornBoxShape, SelectionDrawsTheOutlineWithCornerHandlesAndTheDraggedBoxWithout) {
  auto r = MakeShape<TVornRectangle>();
  r->SetBounds(20, 20, 100, 60);
  QImage img(160, 120, QImage::Format_ARGB32_Premultiplied);
  TKxDeSelectionData data;
  data.LineColor = clLime;
  data.PointOutColor = clRed;
  data.PointInColor = clYellow;
  data.PointSize = 7;
  auto draw = [&](const TKxDeDragPoint& Drag) {
    img.fill(Qt::white);
    TCanvas c(&img);
    r->DrawSelection(&c, 0, 0, Drag, data, 1.0);
  };
  draw(TKxDeDragPoint{});
  for (auto [x, y, c] :
       {std::tuple{70.0, 20.5, Qt::green}, {20.5, 50.0, Qt::green}, {120.5, 80.5, Qt::yellow}, {117.0, 77.0, Qt::red}})
    EXPECT_TRUE(Near(At(img, x, y), c)) << x << "," << y;
  EXPECT_TRUE(IsWhite(At(img, 70, 50)));
  data.SelectionType = TKxDeSelectionType::kxdsMoving;
  TKxDeDragPoint drag;
  drag.PartIndex = 2;
  drag.PointType = TKxDePointType::kxptPoint;
  drag.Offset = {20, 20};
  draw(drag);
  EXPECT_TRUE(Near(At(img, 140.5, 90), Qt::green)) << "the box as it will be";
  EXPECT_TRUE(IsWhite(At(img, 120.5, 80.5))) << "no handles while moving";
}

namespace {

// The same figure, always painted from its painter paths.
template <class T>
class TPathPainted : public T {
 public:
  using T::T;

 protected:
  bool DrawDeviceBox(QPainter*, const QRectF&) const override { return false; }
};

template <class T>
void ExpectPlainFigureLikeItsPath(const char* Name) {
  auto plain = MakeShape<T>();
  auto path = MakeShape<TPathPainted<T>>();
  for (auto* s : {static_cast<TVornBoxShape*>(plain.get()), static_cast<TVornBoxShape*>(path.get())}) {
    s->SetBounds(30.3f, 20.6f, 120, 70);
    s->Brush()->SetColor(clRed);
    s->Pen()->SetColor(clBlue);
    s->Pen()->SetWidth(1.0f);
  }
  for (float angle : {0.0f, 30.0f})
    for (double zoom : {1.0, 2.5})
      for (bool smooth : {false, true}) {
        plain->SetRotation(angle);
        path->SetRotation(angle);
        auto render = [&](TKxDeShapeBase* S) {
          QImage image(460, 320, QImage::Format_ARGB32_Premultiplied);
          image.fill(Qt::white);
          TCanvas canvas(&image);
          canvas.SetAntialiasing(smooth);
          S->Paint(&canvas, 3, 5, zoom, 0, nullptr);
          return image;
        };
        const QImage a = render(plain.get()), b = render(path.get());
        QImage white(a.size(), a.format());
        white.fill(Qt::white);
        EXPECT_GT(DifferingPixels(a, white, 100), 5000) << Name << " painted";
        // Smoothed edges may come out a shade apart, hard edges of a turned box a pixel apart here
        // and there; nothing more.
        EXPECT_LE(DifferingPixels(a, b, 100), smooth ? 0 : 8) << Name << " angle " << angle << " zoom " << zoom << " smooth " << smooth;
      }
}

}  // namespace

TEST(VornBoxShape, PlainRectangleAndEllipsePaintAsTheirOutlinePaths) {
  ExpectPlainFigureLikeItsPath<TVornRectangle>("rectangle");
  ExpectPlainFigureLikeItsPath<TVornEllipse>("ellipse");
}
