// The picture shape: raster and SVG pictures placed by the picture style, the kept ratio,
// mirroring, hit testing of the drawn picture, and its XML.
#include "ShapeTestSupport.h"

#include <vorn/common/KxDePicture.h>
#include <vorn/model/KxDePoint.h>

using namespace vorn;
using namespace vorn::test;

namespace {

class PictureShape : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    // 40 x 20 pixels: red on the left half, blue on the right.
    QImage img(40, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x) img.setPixel(x, y, x < 20 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    Png = Dir.filePath(QStringLiteral("halves.png"));
    ASSERT_TRUE(img.save(Png));
    Svg = Dir.filePath(QStringLiteral("disc.svg"));
    QFile f(Svg);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100' viewBox='0 0 100 100'>"
        "<circle cx='50' cy='50' r='40' fill='#00ff00'/></svg>");
  }

  // A picture of the PNG in a 200 x 200 box at the origin.
  TShapePtr<TVornPicture> Halves() {
    auto p = MakeShape<TVornPicture>();
    p->LoadPicture(Png);
    p->SetBounds(0, 0, 200, 200);
    return p;
  }

  QTemporaryDir Dir;
  QString Png;
  QString Svg;
};

}  // namespace

TEST_F(PictureShape, StretchKeepsTheRatioInTheMiddleOfTheBox) {
  auto p = Halves();
  ASSERT_TRUE(p->HasPicture());
  EXPECT_DOUBLE_EQ(p->AspectRatio(), 2.0);
  EXPECT_EQ(p->PictureRect(QRectF(0, 0, 200, 200)), QRectF(0, 50, 200, 100));
  const QImage img = Render(p.get(), 220, 220);
  EXPECT_TRUE(Near(At(img, 50, 100), Qt::red));
  EXPECT_TRUE(Near(At(img, 150, 100), Qt::blue));
  EXPECT_TRUE(IsWhite(At(img, 100, 30)));
  EXPECT_TRUE(IsWhite(At(img, 100, 170)));
  // The margins are not the picture.
  EXPECT_TRUE(p->PointOnShape({100, 100}, 0, false));
  EXPECT_FALSE(p->PointOnShape({100, 30}, 0, false));
  // Without the ratio the picture fills the box.
  p->Picture()->SetKeepRatio(false);
  EXPECT_EQ(p->AspectRatio(), 0.0);
  EXPECT_TRUE(Near(At(Render(p.get(), 220, 220), 50, 30), Qt::red));
  EXPECT_TRUE(p->PointOnShape({100, 30}, 0, false));
}

TEST_F(PictureShape, BoxKeepsThePicturesRatioWhenSized) {
  auto p = Halves();
  TRectF r{10, 10, 50, 100};
  p->ArrangeBoundsRect(r);
  EXPECT_EQ(r, (TRectF{10, 10, 190, 100}));
  p->Points(2)->SetPosition(100, 80);
  const TRectF b = p->GetBounds();
  EXPECT_NEAR(b.Width() / b.Height(), 2.0, 1e-4);
}

TEST_F(PictureShape, MirroredAndTurned) {
  auto p = Halves();
  p->SetFlipHorizontal(true);
  QImage img = Render(p.get(), 220, 220);
  EXPECT_TRUE(Near(At(img, 50, 100), Qt::blue));
  EXPECT_TRUE(Near(At(img, 150, 100), Qt::red));
  p->SetFlipHorizontal(false);
  p->SetRotation(90);  // about (100, 100): the red half goes to the bottom
  img = Render(p.get(), 220, 220);
  EXPECT_TRUE(Near(At(img, 100, 150), Qt::red));
  EXPECT_TRUE(Near(At(img, 100, 50), Qt::blue));
  EXPECT_TRUE(IsWhite(At(img, 30, 100)));
  EXPECT_TRUE(p->PointOnShape({100, 40}, 0, false));
  EXPECT_FALSE(p->PointOnShape({30, 100}, 0, false));
  const TInkCheck c = CheckInk(p.get(), img, 1.0, 0, 0);
  EXPECT_EQ(c.StrayInk, 0);
  EXPECT_EQ(c.MissingInk, 0);
}

TEST_F(PictureShape, SvgIsDrawnAsVectors) {
  auto p = MakeShape<TVornPicture>();
  p->LoadPicture(Svg);
  p->SetBounds(0, 0, 300, 300);
  ASSERT_TRUE(p->HasPicture());
  EXPECT_DOUBLE_EQ(p->AspectRatio(), 1.0);
  const QImage img = Render(p.get(), 320, 320, 2.0);
  // The disc of radius 40 of 100 fills the middle of the 600-pixel drawing, sharp at any zoom.
  EXPECT_TRUE(Near(At(img, 300, 300), Qt::green));
  EXPECT_TRUE(IsWhite(At(img, 300, 40)));
}

TEST_F(PictureShape, PictureStylesPlaceTheNaturalSize) {
  auto p = Halves();
  p->SetPictureStyle(TKxDeShapePictureStyle::kxdspCenter);
  const double nw = 40.0 / CoordsPixelsPerMMConvertValue, nh = 20.0 / CoordsPixelsPerMMConvertValue;
  ExpectRectNear(p->PictureRect(QRectF(0, 0, 200, 200)), QRectF(100 - nw / 2, 100 - nh / 2, nw, nh));
  EXPECT_EQ(p->AspectRatio(), 0.0);  // only a stretched picture drags its box's ratio along
  p->SetPictureStyle(TKxDeShapePictureStyle::kxdspDefault);
  ExpectRectNear(p->PictureRect(QRectF(0, 0, 200, 200)), QRectF(0, 0, nw, nh));
  p->SetPictureStyle(TKxDeShapePictureStyle::kxdspTiled);
  const QImage img = Render(p.get(), 220, 220, 1.0);
  EXPECT_FALSE(IsWhite(At(img, 190, 190)));  // tiles reach the far corner
}

TEST_F(PictureShape, XmlKeepsThePictureAndItsOwnProperties) {
  auto p = Halves();
  p->SetFlipVertical(true);
  p->SetPictureStyle(TKxDeShapePictureStyle::kxdspCenter);
  auto copy = RoundTrip(p.get());
  EXPECT_TRUE(copy->FlipVertical());
  EXPECT_FALSE(copy->FlipHorizontal());
  EXPECT_EQ(copy->PictureStyle(), TKxDeShapePictureStyle::kxdspCenter);
  ASSERT_TRUE(copy->HasPicture());
  EXPECT_EQ(copy->Picture()->GetWidth(), 40);
  EXPECT_EQ(copy->Picture()->GetHeight(), 20);
}
