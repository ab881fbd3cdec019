// The picture shape: raster and SVG pictures placed by the picture style, the kept ratio,
// mirroring, hit testing of the drawn picture, and its XML.
#include "ShapeTestSupport.h"

using namespace vorn;
using namespace vorn::test;

namespace {

class PictureShape : public ::testing::Test {
 protected:
  // A picture of 40 x 20 pixels, red on the left half and blue on the right, in a 200 x 200 box.
  TOwned<TVornPicture> Halves() {
    auto p = MakeShape<TVornPicture>();
    p->LoadPicture(WriteImage(Dir, QStringLiteral("halves.png"), 40, 20, Qt::red, Qt::blue));
    p->SetBounds(0, 0, 200, 200);
    return p;
  }
  QTemporaryDir Dir;
};

}  // namespace

TEST_F(PictureShape, StretchKeepsTheRatioInTheMiddleOfTheBoxAndSizing) {
  auto p = Halves();
  EXPECT_DOUBLE_EQ(p->AspectRatio(), 2.0);
  EXPECT_EQ(p->PictureRect(QRectF(0, 0, 200, 200)), QRectF(0, 50, 200, 100));
  const QImage img = Render(p.get(), 220, 220);
  EXPECT_TRUE(Near(At(img, 50, 100), Qt::red));
  EXPECT_TRUE(Near(At(img, 150, 100), Qt::blue));
  EXPECT_TRUE(IsWhite(At(img, 100, 30)));
  EXPECT_TRUE(p->PointOnShape({100, 100}, 0, false));
  EXPECT_FALSE(p->PointOnShape({100, 30}, 0, false)) << "the margins are not the picture";
  TRectF r{10, 10, 50, 100};
  p->ArrangeBoundsRect(r);
  EXPECT_EQ(r, (TRectF{10, 10, 190, 100}));
  p->Points(2)->SetPosition(100, 80);
  EXPECT_NEAR(p->GetBounds().Width() / p->GetBounds().Height(), 2.0, 1e-4) << "dragged with its ratio";
  // Without the ratio the picture fills the box.
  p->SetBounds(0, 0, 200, 200);
  p->Picture()->SetKeepRatio(false);
  EXPECT_EQ(p->AspectRatio(), 0.0);
  EXPECT_TRUE(Near(At(Render(p.get(), 220, 220), 50, 30), Qt::red));
  EXPECT_TRUE(p->PointOnShape({100, 30}, 0, false));
}

TEST_F(PictureShape, MirroredAndTurned) {
  auto p = Halves();
  p->SetFlipHorizontal(true);
  EXPECT_TRUE(Near(At(Render(p.get(), 220, 220), 50, 100), Qt::blue));
  p->SetFlipHorizontal(false);
  p->SetRotation(90);  // about (100, 100): the red half goes to the bottom
  const QImage img = Render(p.get(), 220, 220);
  EXPECT_TRUE(Near(At(img, 100, 150), Qt::red));
  EXPECT_TRUE(Near(At(img, 100, 50), Qt::blue));
  EXPECT_TRUE(p->PointOnShape({100, 40}, 0, false));
  EXPECT_FALSE(p->PointOnShape({30, 100}, 0, false));
}

TEST_F(PictureShape, SvgIsDrawnAsVectorsAndStylesPlaceTheNaturalSize) {
  auto svg = MakeShape<TVornPicture>();
  svg->LoadPicture(WriteFile(Dir.filePath(QStringLiteral("disc.svg")),
                             "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100' viewBox='0 0 100 100'>"
                             "<circle cx='50' cy='50' r='40' fill='#00ff00'/></svg>"));
  svg->SetBounds(0, 0, 300, 300);
  EXPECT_DOUBLE_EQ(svg->AspectRatio(), 1.0);
  // The disc of radius 40 of 100 fills the middle of the 600-pixel drawing, sharp at any zoom.
  const QImage disc = Render(svg.get(), 320, 320, 2.0);
  EXPECT_TRUE(Near(At(disc, 300, 300), Qt::green));
  EXPECT_TRUE(IsWhite(At(disc, 300, 40)));

  auto p = Halves();
  p->SetPictureStyle(TKxDeShapePictureStyle::kxdspCenter);
  const double nw = 40.0 / CoordsPixelsPerMMConvertValue, nh = 20.0 / CoordsPixelsPerMMConvertValue;
  ExpectRectNear(p->PictureRect(QRectF(0, 0, 200, 200)), QRectF(100 - nw / 2, 100 - nh / 2, nw, nh));
  EXPECT_EQ(p->AspectRatio(), 0.0) << "only a stretched picture drags its box's ratio along";
  p->SetPictureStyle(TKxDeShapePictureStyle::kxdspDefault);
  ExpectRectNear(p->PictureRect(QRectF(0, 0, 200, 200)), QRectF(0, 0, nw, nh));
  p->SetPictureStyle(TKxDeShapePictureStyle::kxdspTiled);
  EXPECT_FALSE(IsWhite(At(Render(p.get(), 220, 220), 190, 190))) << "tiles reach the far corner";
}
