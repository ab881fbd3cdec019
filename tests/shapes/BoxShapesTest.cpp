// Box shapes of the kit: rectangle and ellipse, and the four-corner behaviour they share with
// text, picture and barcode (corners kept a rectangle, sizing from nothing, kept ratios).
#include "ShapeTestSupport.h"

#include <vorn/common/KxDeUtils.h>
#include <vorn/model/KxDePoint.h>
#include <vorn/model/KxDeShapeGradient.h>

using namespace vorn;
using namespace vorn::test;

namespace {

// A red rectangle with a 1 mm blue frame at (10, 20), 100 x 50 world units.
TShapePtr<TVornRectangle> RedBox() {
  auto r = MakeShape<TVornRectangle>();
  r->SetBounds(10, 20, 100, 50);
  r->Brush()->SetColor(clRed);
  r->Pen()->SetColor(clBlue);
  r->Pen()->SetWidth(1.0f);
  return r;
}

}  // namespace


TEST(VornBoxShape, GrowsFromZeroSizeLikeTheEditorCreatesIt) {
  auto r = MakeShape<TVornRectangle>();
  ASSERT_EQ(r->PointCount(), 4);
  r->SetBounds(5, 6, 0, 0);
  EXPECT_EQ(r->GetBounds(), (TRectF{5, 6, 5, 6}));
  r->SetBounds(5, 6, 40, 30);
  EXPECT_EQ(r->GetBounds(), (TRectF{5, 6, 45, 36}));
  // The corners in their order: top-left, top-right, bottom-right, bottom-left.
  EXPECT_EQ(r->PointValue(1), (TPointF{45, 6}));
  EXPECT_EQ(r->PointValue(3), (TPointF{5, 36}));
  r->Resize(10, 0);
  EXPECT_EQ(r->GetBounds(), (TRectF{5, 6, 15, 6}));
  r->Resize(20, 20);
  EXPECT_EQ(r->GetBounds(), (TRectF{5, 6, 25, 26}));
}

TEST(VornBoxShape, DraggedCornerTakesItsNeighboursAlong) {
  auto r = MakeShape<TVornRectangle>();
  r->SetBounds(0, 0, 100, 50);
  // The bottom-right corner moves: top-right follows in x, bottom-left in y, top-left stays.
  r->Points(2)->SetPosition(120, 80);
  EXPECT_EQ(r->PointValue(0), (TPointF{0, 0}));
  EXPECT_EQ(r->PointValue(1), (TPointF{120, 0}));
  EXPECT_EQ(r->PointValue(3), (TPointF{0, 80}));
  // The top-left corner past the others turns the box inside out; the bounds stay a box.
  r->Points(0)->SetPosition(130, -10);
  EXPECT_EQ(r->GetBounds(), (TRectF{120, -10, 130, 80}));
  const TPointF p1 = r->PointValue(1), p3 = r->PointValue(3);
  EXPECT_EQ(p1.Y, -10);
  EXPECT_EQ(p3.X, 130);
}

TEST(VornBoxShape, RatioKeepingBoxWidensTheShortSide) {
  // A QR code keeps square modules, so its box keeps the symbol's ratio (1).
  auto b = MakeShape<TVornBarcode>();
  b->SetSymbology(TVornBarcodeType::vbtQRCode);
  b->SetText(QStringLiteral("ratio"));
  ASSERT_DOUBLE_EQ(b->AspectRatio(), 1.0);
  TRectF r{10, 10, 40, 90};
  b->ArrangeBoundsRect(r);
  EXPECT_EQ(r, (TRectF{10, 10, 90, 90}));
  r = TRectF{50, 50, 10, 30};  // reversed: ordered first
  b->ArrangeBoundsRect(r);
  EXPECT_EQ(r, (TRectF{10, 30, 50, 70}));
  // A dragged corner keeps the ratio against the opposite corner.
  b->SetBounds(0, 0, 50, 50);
  b->Points(2)->SetPosition(80, 60);
  EXPECT_EQ(b->GetBounds(), (TRectF{0, 0, 80, 80}));
  // A rectangle has no ratio to keep.
  auto plain = MakeShape<TVornRectangle>();
  TRectF q{0, 0, 30, 10};
  plain->ArrangeBoundsRect(q);
  EXPECT_EQ(q, (TRectF{0, 0, 30, 10}));
}


TEST(VornRectangle, FilledIsHitInsideUnfilledOnlyOnItsFrame) {
  auto r = RedBox();
  EXPECT_TRUE(r->PointOnShape({60, 45}, 0, false));
  EXPECT_FALSE(r->PointOnShape({5, 45}, 0, false));
  EXPECT_TRUE(r->PointOnShape({5, 45}, 6, false));  // within Fuzz of the outline
  r->Brush()->SetStyle(TBrushStyle::bsClear);
  EXPECT_FALSE(r->PointOnShape({60, 45}, 2, false));
  // The frame's ink is the 1 mm inside the outline.
  EXPECT_TRUE(r->PointOnShape({12, 45}, 0, false));
  EXPECT_FALSE(r->PointOnShape({16, 45}, 0, false));
  EXPECT_TRUE(r->PointOnShape({15.5f, 45}, 2, false));
  EXPECT_FALSE(r->PointOnShape({16.5f, 45}, 2, false));
}

TEST(VornRectangle, RoundedCornersAreNotHit) {
  auto r = RedBox();
  r->SetCornerRadius(10);  // 10 mm: the whole 50-unit height is rounded
  EXPECT_FALSE(r->PointOnShape({11, 21}, 0, false));
  EXPECT_TRUE(r->PointOnShape({60, 21}, 0, false));
  EXPECT_TRUE(r->PointOnShape({60, 45}, 0, false));
}

TEST(VornRectangle, RotatedIsHitWhereItLies) {
  auto r = MakeShape<TVornRectangle>();
  r->SetBounds(50, 50, 100, 40);  // centre (100, 70)
  r->Brush()->SetColor(clRed);
  r->SetRotation(90);
  // Turned a quarter about its centre it stands 40 wide and 100 high.
  EXPECT_TRUE(r->PointOnShape({100, 30}, 0, false));
  EXPECT_TRUE(r->PointOnShape({110, 115}, 0, false));
  EXPECT_FALSE(r->PointOnShape({60, 70}, 0, false));
  EXPECT_FALSE(r->PointOnShape({140, 70}, 0, false));
  // Positive angles turn counter-clockwise on screen: at 30 degrees the right end rises.
  r->SetRotation(30);
  const TPointF rightEnd = TKxDeUtils::RotatePoint({145, 70}, 30, {100, 70});
  EXPECT_LT(rightEnd.Y, 70);
  EXPECT_TRUE(r->PointOnShape(rightEnd, 0, false));
  EXPECT_FALSE(r->PointOnShape({145, 70 + 25}, 0, false));
}

TEST(VornEllipse, IsHitInsideTheEllipseNotInTheBoxCorners) {
  auto e = MakeShape<TVornEllipse>();
  e->SetBounds(0, 0, 100, 60);
  e->Brush()->SetColor(clLime);
  EXPECT_TRUE(e->PointOnShape({50, 30}, 0, false));
  EXPECT_TRUE(e->PointOnShape({2, 30}, 0, false));
  EXPECT_FALSE(e->PointOnShape({5, 5}, 0, false));
  EXPECT_FALSE(e->PointOnShape({95, 55}, 0, false));
  e->SetRotation(90);
  // Standing up: 60 wide, 100 high about (50, 30).
  EXPECT_TRUE(e->PointOnShape({50, -15}, 0, false));
  EXPECT_FALSE(e->PointOnShape({5, 30}, 0, false));
}

TEST(VornRectangle, InRectFollowsTheTurnedOutline) {
  auto r = MakeShape<TVornRectangle>();
  r->SetBounds(0, 0, 100, 10);
  r->Brush()->SetColor(clRed);
  const TRectF above{45, -40, 55, -30};
  EXPECT_FALSE(r->InRect(above));
  r->SetRotation(90);
  EXPECT_TRUE(r->InRect(above));
  // A rectangle inside the filled shape touches it too.
  EXPECT_TRUE(r->InRect(TRectF{49, 0, 51, 10}));
}


TEST(VornRectangle, FillAndInsideFrameLandOnTheBox) {
  auto r = RedBox();
  const QImage img = Render(r.get(), 130, 90);
  EXPECT_TRUE(Near(At(img, 60, 45), Qt::red));
  // The 1 mm pen is 4 device pixels at zoom 1, inside the outline.
  EXPECT_TRUE(Near(At(img, 10.5, 45), Qt::blue));
  EXPECT_TRUE(Near(At(img, 13.5, 45), Qt::blue));
  EXPECT_TRUE(Near(At(img, 14.5, 45), Qt::red));
  EXPECT_TRUE(Near(At(img, 109.5, 45), Qt::blue));
  EXPECT_TRUE(IsWhite(At(img, 9.5, 45)));
  EXPECT_TRUE(IsWhite(At(img, 110.5, 45)));
  EXPECT_TRUE(IsWhite(At(img, 60, 19.5)));
  EXPECT_TRUE(Near(At(img, 60, 20.5), Qt::blue));
}

TEST(VornRectangle, GradientReplacesTheBrushInsideTheShape) {
  auto r = MakeShape<TVornRectangle>();
  r->SetBounds(0, 0, 200, 40);
  r->Pen()->SetWidth(0);
  r->Brush()->SetColor(clRed);  // also the gradient's start colour
  ASSERT_NE(r->GetGradient(), nullptr);
  r->GetGradient()->SetColorEnd(clBlue);
  r->GetGradient()->SetStyle(TKxDeShapeGradientStyle::kxdgsLinearH);
  const QImage img = Render(r.get(), 220, 60);
  const QRgb left = At(img, 3, 20), right = At(img, 196, 20);
  EXPECT_GT(qRed(left), 200);
  EXPECT_LT(qBlue(left), 60);
  EXPECT_GT(qBlue(right), 200);
  EXPECT_LT(qRed(right), 60);
  EXPECT_TRUE(IsWhite(At(img, 205, 20)));
  // Rounded corners clip the gradient too.
  r->SetCornerRadius(5);
  const QImage rounded = Render(r.get(), 220, 60);
  EXPECT_TRUE(IsWhite(At(rounded, 1, 1)));
}


TEST(VornRectangle, SelectionDrawsOutlineAndCornerHandles) {
  auto r = MakeShape<TVornRectangle>();
  r->SetBounds(20, 20, 100, 60);
  QImage img(160, 120, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  {
    TCanvas c(&img);
    TKxDeSelectionData data;  // blue-ish line, white handles with a frame
    data.LineColor = clLime;
    data.PointOutColor = clRed;
    data.PointInColor = clYellow;
    data.PointSize = 7;
    r->DrawSelection(&c, 0, 0, TKxDeDragPoint{}, data, 1.0);
  }
  EXPECT_TRUE(Near(At(img, 70, 20.5), Qt::green));   // top edge
  EXPECT_TRUE(Near(At(img, 20.5, 50), Qt::green));   // left edge
  EXPECT_TRUE(Near(At(img, 120.5, 80.5), Qt::yellow));  // handle filling at the bottom-right corner
  EXPECT_TRUE(Near(At(img, 117, 77), Qt::red));      // its frame
  EXPECT_TRUE(IsWhite(At(img, 70, 50)));             // nothing inside

  // A dragged corner: the preview shows the box as it will be, without handles while moving.
  img.fill(Qt::white);
  {
    TCanvas c(&img);
    TKxDeSelectionData data;
    data.LineColor = clBlue;
    data.PointSize = 0;
    data.SelectionType = TKxDeSelectionType::kxdsMoving;
    TKxDeDragPoint drag;
    drag.PartIndex = 2;
    drag.PointType = TKxDePointType::kxptPoint;
    drag.Offset = {20, 20};
    r->DrawSelection(&c, 0, 0, drag, data, 1.0);
  }
  EXPECT_TRUE(Near(At(img, 140.5, 90), Qt::blue));
  EXPECT_TRUE(Near(At(img, 70, 100.5), Qt::blue));
  EXPECT_TRUE(IsWhite(At(img, 120.5, 50)));
}


TEST(VornRectangle, XmlKeepsItsOwnPropertiesAndGeometry) {
  auto r = RedBox();
  r->SetCornerRadius(2.5f);
  r->SetRotation(33.25f);
  r->SetName(QStringLiteral("frame"));
  QByteArray first, second;
  auto copy = RoundTrip(r.get(), &first, &second);
  EXPECT_EQ(copy->CornerRadius(), 2.5f);
  EXPECT_EQ(copy->Rotation(), 33.25f);
  EXPECT_EQ(copy->Name(), QStringLiteral("frame"));
  EXPECT_EQ(copy->PointCount(), 4);
  const TRectF a = r->GetBounds(), b = copy->GetBounds();
  EXPECT_NEAR(a.Left, b.Left, 1e-3);
  EXPECT_NEAR(a.Bottom, b.Bottom, 1e-3);
  EXPECT_EQ(first.replace(QByteArray::number(r->ID()), ""), second.replace(QByteArray::number(copy->ID()), ""));
  EXPECT_NE(first.indexOf("<CornerRadius>2.5</CornerRadius>"), -1);
}

TEST(VornBoxShape, DamagedDocumentsStillGiveFourCorners) {
  TXmlDocument doc;
  XmlParse(doc, QByteArrayLiteral("<o><CornerRadius>-4</CornerRadius><Points><Point><x>1</x><y>2</y></Point>"
                                  "<Point><x>5</x><y>9</y></Point><Point><x>3</x><y>3</y></Point></Points></o>"));
  auto r = MakeShape<TVornRectangle>();
  r->LoadFromXML(doc.child("o"), false);
  EXPECT_EQ(r->PointCount(), 4);
  EXPECT_EQ(r->CornerRadius(), 0.0f);
  const TRectF b = r->GetBounds();
  EXPECT_NEAR(b.Left, MM(1), 1e-3);
  EXPECT_NEAR(b.Bottom, MM(9), 1e-3);
  // No points at all: four corners at the origin.
  TXmlDocument empty;
  XmlParse(empty, QByteArrayLiteral("<o><Points/></o>"));
  auto e = MakeShape<TVornEllipse>();
  e->SetBounds(1, 1, 5, 5);
  e->LoadFromXML(empty.child("o"), false);
  EXPECT_EQ(e->PointCount(), 4);
}
