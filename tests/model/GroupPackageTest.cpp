// Groups (shapes moved, sized and turned as one) and packages (shapes in a filled frame).

#include "ModelTestSupport.h"

#include <vorn/common/Canvas.h>
#include <vorn/common/KxDePicture.h>
#include <vorn/model/KxDeGroup.h>
#include <vorn/model/KxDePackage.h>
#include <vorn/model/KxDeRegister.h>
#include <vorn/model/KxDeShapeBrush.h>

#include <QBuffer>
#include <QImage>

namespace vorn::test {
namespace {

TTestShape* Box(TKxDeContainer* Owner, TRectF R) {
  auto* s = Create<TTestShape>(nullptr, Owner);
  s->Add(R.Left, R.Top);
  s->Add(R.Right, R.Bottom);
  return s;
}

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
  EXPECT_EQ(Log.Entries, (Strings{"start kxacChanging group Rotation", "undo kxacChanging group Rotation",
                                  "layer changed layer", "shape changed group", "end kxacChanging group Rotation"}));
  // About the centre (20, 5): a's centre (5, 5) comes to (20, 20), b's (30, 5) to (20, -5).
  ExpectNear(A->GetBounds(), TRectF{15, 15, 25, 25});
  ExpectNear(B->GetBounds(), TRectF{10, -10, 30, 0});
  Log.Clear();
  Group->SetRotation(360);
  Group->SetRotation(0.004f);
  EXPECT_TRUE(Log.Entries.empty()) << "values that normalise to 0 do nothing";
  // Every call turns by its value; the group keeps the last, the children turn by whole degrees.
  Group->SetRotation(-330);
  EXPECT_FLOAT_EQ(A->Rotation(), 120);
  EXPECT_FLOAT_EQ(Group->Rotation(), 30);
  Group->SetRotation(30.7f);
  EXPECT_FLOAT_EQ(A->Rotation(), 150);
  EXPECT_FLOAT_EQ(Group->Rotation(), 30.7f);
  // Turning about a point turns the children but not the group.
  Group->RotateAroundPoint(90, TPointF{0, 0}, TPointF{1, 0});
  EXPECT_FLOAT_EQ(A->Rotation(), 240);
  EXPECT_FLOAT_EQ(Group->Rotation(), 30.7f);
}

TEST_F(Groups, MovesAndSizesReachEveryChildAsOneChange) {
  A->Log = &Log;
  B->Log = &Log;
  Group->MoveBy(5, -5);
  EXPECT_EQ(Log.Count("before move 5.000000 -5.000000"), 2u) << "each child moves with its reference";
  EXPECT_EQ(Group->GetBounds(), (TRectF{5, -5, 45, 5}));
  EXPECT_EQ(Log.Count("layer changed layer"), 1u);
  Group->MoveBy(-5, 5);
  Log.Clear();
  Group->Resize(80, 20);  // about the top-left corner
  EXPECT_EQ(A->GetBounds(), (TRectF{0, 0, 20, 20}));
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
  // Emptied, the bounds collapse at the previous top-left.
  Group->Extract(A);
  const TRectF last = Group->GetBounds();
  Group->Delete(0);
  EXPECT_EQ(Group->GetBounds(), (TRectF{last.Left, last.Top, last.Left, last.Top}));
  Free(A);
}

// ---- Packages -----------------------------------------------------------------------------------

using Packages = ModelFixture;

TEST_F(Packages, AnEmptyPackageMovesAndSizesItsRectangle) {
  auto* package = Create<TKxDePackage>(nullptr, Layer);
  EXPECT_FALSE(package->ShapeStyle().Contains(TKxDeShapeStyle::kxssUsesPen));
  Log.Clear();
  package->MoveBy(5, 5);  // from the zero rectangle: its sides become 0.1
  EXPECT_FLOAT_EQ(package->GetBounds().Left, 5);
  EXPECT_NEAR(package->GetBounds().Width(), 0.1, 1e-5);
  EXPECT_EQ(Log.Count("layer changed layer"), 1u) << "the move is repainted";
  package->Resize(20, 10);
  package->MoveBy(5, 5);
  EXPECT_EQ(package->GetBounds(), (TRectF{10, 10, 30, 20})) << "the size is kept";
  Log.Clear();
  package->MoveBy(0, 0);
  EXPECT_TRUE(Log.Entries.empty());
}

TEST_F(Packages, BoundsTakeInTurnedChildrenWhichMoveWithoutTheirReference) {
  auto* package = Create<TKxDePackage>(nullptr, Layer);
  auto* child = Box(package, TRectF{0, 0, 10, 20});
  child->Log = &Log;
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

TEST_F(Packages, OnALayerThatIsNotPrintedTheyAnswerSilverAndAHatch) {
  auto* package = Create<TKxDePackage>(nullptr, Layer);
  auto* nested = Create<TKxDePackage>(nullptr, Create<TKxDeGroup>(nullptr, Layer));
  package->Brush()->AssignRec(TKxDeBrushRec{0x00FF00, TBrushStyle::bsSolid});
  package->Pen()->SetColor(0x0000FF);
  EXPECT_EQ(package->GetBrushColor(), 0x00FF00);
  EXPECT_EQ(package->GetPenColor(), 0x0000FF);
  Layer->SetPrintingAllowed(false);
  EXPECT_EQ(package->GetBrushColor(), 0xC0C0C0);
  EXPECT_EQ(package->GetBrushStyle(), TBrushStyle::bsBDiagonal);
  EXPECT_EQ(package->GetPenColor(), 0xC0C0C0);
  EXPECT_EQ(nested->GetBrushColor(), 0xC0C0C0) << "at any depth of the layer";
  EXPECT_EQ(package->Brush()->Color(), 0x00FF00) << "its own brush stays";
}

// Paints a device rectangle of its bounds red, to show when the children come.
class TRedShape : public TKxDeShape {
 public:
  using TKxDeShape::TKxDeShape;
  void Paint(TCanvas* C, float X, float Y, double Zoom, int32_t, PmekDeviceCapsInfo) override {
    const TRectF b = GetBounds();
    C->Brush()->SetColor(clRed);
    C->FillRect(TRect{int(b.Left * Zoom + X), int(b.Top * Zoom + Y), int(b.Right * Zoom + X), int(b.Bottom * Zoom + Y)});
  }
};

// A package that can be given a picture style.
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
    Package->Resize(20, 10);  // (10, 10)-(30, 20)
  }
  // At zoom 2 and offset (5, 5) the package covers the pixels (25, 25)-(64, 44).
  QImage Paint(const TRect* Clip = nullptr) {
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas(&image);
    if (Clip) canvas.SetClipRect(*Clip);
    Package->Paint(&canvas, 5, 5, 2, 0, nullptr);
    if (Clip) {  // a clip of the caller's survives the package's own
      canvas.Brush()->SetColor(clRed);
      canvas.FillRect(TRect{0, 0, 100, 100});
    }
    return image;
  }
  TPicturePackage* Package = nullptr;
};

TEST_F(PackagePainting, FillsItsRectangleThenPaintsTheChildren) {
  QImage image = Paint();
  EXPECT_EQ(image.pixelColor(25, 25), QColor(Qt::darkGreen));
  EXPECT_EQ(image.pixelColor(64, 44), QColor(Qt::darkGreen));
  EXPECT_EQ(image.pixelColor(65, 30), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(40, 45), QColor(Qt::white));
  auto* red = Create<TRedShape>(nullptr, Package);
  red->Add(15, 12);
  red->Add(20, 18);
  image = Paint();
  EXPECT_EQ(image.pixelColor(40, 35), QColor(Qt::red)) << "the child over the fill";
  // A non-printing layer hatches instead of filling.
  red->SetVisible(false);
  Layer->SetPrintingAllowed(false);
  image = Paint();
  int silver = 0, white = 0;
  for (int y = 25; y < 45; ++y)
    for (int x = 25; x < 65; ++x) {
      silver += image.pixelColor(x, y) == QColor(0xC0, 0xC0, 0xC0);
      white += image.pixelColor(x, y) == QColor(Qt::white);
    }
  EXPECT_GT(silver, 0);
  EXPECT_GT(white, 0);
  EXPECT_EQ(silver + white, 40 * 20);
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
  // PaintIn draws only within the rectangle given.
  image.fill(Qt::white);
  {
    TCanvas canvas(&image);
    Package->PaintIn(&canvas, 5, 5, 2, TRectF{20, 0, 50, 50});
  }
  EXPECT_EQ(image.pixelColor(30, 30), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(50, 30), QColor(Qt::blue));
}

// What the registry knew when this program started, before any test could change it: the
// library registers its containers while it loads, before this file's own start-up runs.
const TKxDeShapeClass gGroupAtLoad = TKxDeRegister::FindShape("TKxDeGroup");
const QString gLayerNameAtLoad = TKxDeRegister::FindShapeDisplayName(TKxDeRegister::FindShape("TKxDeLayer"));

TEST(ContainerRegistration, GroupsAndLayersAreKnownByClassNameFromTheStart) {
  EXPECT_EQ(gGroupAtLoad, ClassOf<TKxDeGroup>());
  EXPECT_EQ(gLayerNameAtLoad, "Layer");
}

}  // namespace
}  // namespace vorn::test
