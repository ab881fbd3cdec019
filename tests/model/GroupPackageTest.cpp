// Groups (shapes moved, sized and turned as one) and packages (shapes in a filled frame).

#include "ModelTestSupport.h"

namespace vorn::test {
namespace {

// A group in the layer with a (0, 0)-(10, 10) and b (20, 0)-(40, 10).
class Groups : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    Group = Create<TKxDeGroup>(nullptr, Layer);
    A = Box(Group, TRectF{0, 0, 10, 10});
    B = Box(Group, TRectF{20, 0, 40, 10});
    Log.Names[Group] = "group";
    Log.Clear();
  }
  TKxDeGroup* Group = nullptr;
  TTestShape* A = nullptr;
  TTestShape* B = nullptr;
};

TEST_F(Groups, ATurnTurnsTheChildrenByItsWholeDegreesAboutTheCentreAsOneChange) {
  Group->SetRotation(90);
  EXPECT_EQ(Order(Log), "start undo changed end");
  // About the centre (20, 5): a's centre (5, 5) comes to (20, 20), b's (30, 5) to (20, -5).
  ExpectNear(A->GetBounds(), TRectF{15, 15, 25, 25});
  ExpectNear(B->GetBounds(), TRectF{10, -10, 30, 0});
  Log.Clear();
  Group->SetRotation(360);
  Group->SetRotation(0.004f);
  EXPECT_TRUE(Log.Entries.empty()) << "values that normalise to 0 do nothing";
  // Every call turns by its value; the group keeps the last, the children turn by whole degrees.
  Group->SetRotation(-330);
  Group->SetRotation(30.7f);
  EXPECT_FLOAT_EQ(A->Rotation(), 150);
  EXPECT_FLOAT_EQ(Group->Rotation(), 30.7f);
  Group->RotateAroundPoint(90, TPointF{0, 0}, TPointF{1, 0});
  EXPECT_FLOAT_EQ(A->Rotation(), 240) << "turning about a point turns the children, not the group";
  EXPECT_FLOAT_EQ(Group->Rotation(), 30.7f);
}

TEST_F(Groups, MovesAndSizesReachEveryChildAsOneChange) {
  A->Log = B->Log = &Log;
  Group->MoveBy(5, -5);
  EXPECT_EQ(Log.Count("before move 5.000000 -5.000000"), 2u) << "each child moves with its reference";
  EXPECT_EQ(Log.Count("layer changed layer"), 1u);
  Group->MoveBy(-5, 5);
  Log.Clear();
  Group->Resize(80, 20);  // about the top-left corner
  EXPECT_EQ(B->GetBounds(), (TRectF{40, 0, 80, 20}));
  EXPECT_EQ(Log.Count("layer changed layer"), 1u);
  Log.Clear();
  Group->Resize(80, 20);
  EXPECT_TRUE(Log.Entries.empty()) << "the same size";
  Group->BeginPointUpdate();
  Group->Resize(10, 10);
  EXPECT_EQ(Group->GetBounds(), (TRectF{0, 0, 80, 20})) << "refused inside a point update";
  Group->EndPointUpdate();
  Group->Resize(-4, 20);
  EXPECT_NEAR(Group->GetBounds().Width(), 0.01, 1e-5) << "the least width";
  Group->Extract(A);
  const TRectF last = Group->GetBounds();
  Group->Delete(0);
  EXPECT_EQ(Group->GetBounds(), (TRectF{last.Left, last.Top, last.Left, last.Top})) << "empty: collapsed in place";
  Free(A);
}

using Packages = ModelFixture;

TEST_F(Packages, AnEmptyPackageKeepsItsRectangleAndChildrenMoveWithoutTheirReference) {
  auto* package = Create<TKxDePackage>(nullptr, Layer);
  Log.Clear();
  package->MoveBy(5, 5);  // from the zero rectangle: its sides become 0.1
  EXPECT_NEAR(package->GetBounds().Width(), 0.1, 1e-5);
  EXPECT_EQ(Log.Count("layer changed layer"), 1u) << "the move is repainted";
  package->Resize(20, 10);
  package->MoveBy(5, 5);
  EXPECT_EQ(package->GetBounds(), (TRectF{10, 10, 30, 20})) << "the size is kept";
  auto* child = Box(package, TRectF{0, 0, 10, 20});
  child->Log = &Log;
  Log.Clear();
  package->MoveBy(3, 4);
  EXPECT_EQ(child->GetBounds(), (TRectF{3, 4, 13, 24}));
  EXPECT_TRUE(Log.Only("before move").empty());
  package->MoveBy(-3, -4);
  child->SetRotation(90);
  ExpectNear(package->GetBounds(), TRectF{-5, 5, 15, 15});
  package->Extract(child);
  ExpectNear(package->GetBounds(), TRectF{-5, 5, 15, 15});
  Free(child);
}

// Paints a device rectangle of its bounds red, to show when the children come.
class TRedShape : public TKxDeShape {
 public:
  using TKxDeShape::TKxDeShape;
  void Paint(TCanvas* C, float X, float Y, double Zoom, int32_t, PmekDeviceCapsInfo) override {
    const TRectF b = GetBounds();
    C->Brush()->SetColor(clRed);
    C->FillRect(
        TRect{int(b.Left * Zoom + X), int(b.Top * Zoom + Y), int(b.Right * Zoom + X), int(b.Bottom * Zoom + Y)});
  }
};

class TPicturePackage : public TKxDePackage {
 public:
  using TKxDePackage::TKxDePackage;
  using TKxDeShapeBase::SetPictureStyle;
};

class PackagePainting : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    Package = Create<TPicturePackage>(nullptr, Layer);
    Package->Brush()->AssignRec(TKxDeBrushRec{clGreen, TBrushStyle::bsSolid});
    Package->MoveBy(10, 10);
    Package->Resize(20, 10);  // (10, 10)-(30, 20): at zoom 2 and offset (5, 5) the pixels (25, 25)-(64, 44)
  }
  QImage Paint(const TRect* Clip = nullptr) {
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas(&image);
    if (Clip) canvas.SetClipRect(*Clip);
    Package->Paint(&canvas, 5, 5, 2, 0, nullptr);
    canvas.Brush()->SetColor(clRed);
    if (Clip) canvas.FillRect(TRect{0, 0, 100, 100});  // a clip of the caller's survives the package's own
    return image;
  }
  TPicturePackage* Package = nullptr;
};

TEST_F(PackagePainting, FillsItsRectangleThenPaintsTheChildrenAndHatchesWhenNotPrinted) {
  QImage image = Paint();
  for (auto [x, y, c] :
       {std::tuple{25, 25, Qt::darkGreen}, {64, 44, Qt::darkGreen}, {65, 30, Qt::white}, {40, 45, Qt::white}})
    EXPECT_EQ(image.pixelColor(x, y), QColor(c)) << x << "," << y;
  auto* red = Create<TRedShape>(nullptr, Package);
  red->Add(15, 12);
  red->Add(20, 18);
  EXPECT_EQ(Paint().pixelColor(40, 35), QColor(Qt::red)) << "the child over the fill";
  red->SetVisible(false);
  Layer->SetPrintingAllowed(false);
  EXPECT_EQ(Package->Brush()->Color(), clGreen) << "its own brush stays";
  image = Paint();
  int silver = 0, white = 0;
  for (int y = 25; y < 45; ++y)
    for (int x = 25; x < 65; ++x) {
      silver += image.pixelColor(x, y) == QColor(0xC0, 0xC0, 0xC0);
      white += image.pixelColor(x, y) == QColor(Qt::white);
    }
  EXPECT_TRUE(silver > 0 && white > 0 && silver + white == 40 * 20) << "hatched in silver, not filled";
  EXPECT_EQ(Create<TKxDePackage>(nullptr, Create<TKxDeGroup>(nullptr, Layer))->GetBrushColor(), 0xC0C0C0)
      << "at any depth of the layer";
}

TEST_F(PackagePainting, ThePictureIsClippedToTheRectangle) {
  QImage picture(400, 400, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  QBuffer png;
  png.open(QIODevice::ReadWrite);
  ASSERT_TRUE(picture.save(&png, "PNG"));
  Package->Picture()->LoadFromStream(&png);
  Package->SetPictureStyle(TKxDeShapePictureStyle::kxdspDefault);  // natural size, far larger
  QImage image = Paint();
  EXPECT_EQ(image.pixelColor(64, 44), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(65, 30), QColor(Qt::white)) << "nothing beyond the rectangle";
  const TRect clip{0, 0, 30, 100};
  image = Paint(&clip);
  EXPECT_EQ(image.pixelColor(29, 30), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(31, 30), QColor(Qt::white));
  image.fill(Qt::white);
  {
    TCanvas canvas(&image);
    Package->PaintIn(&canvas, 5, 5, 2, TRectF{20, 0, 50, 50});  // only the right half of the package
  }
  EXPECT_EQ(image.pixelColor(30, 30), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(50, 30), QColor(Qt::blue));
}

}  // namespace
}  // namespace vorn::test
