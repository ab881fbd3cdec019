// Groups (shapes moved, sized and turned as one) and packages (shapes in a filled frame).

#include "ModelTestSupport.h"

#include <vorn/model/KxDeGroup.h>
#include <vorn/model/KxDePackage.h>
#include <vorn/model/KxDeRegister.h>
#include <vorn/model/KxDeShapeBrush.h>
#include <vorn/common/Canvas.h>
#include <vorn/common/KxDePicture.h>
#include <vorn/common/Units.h>

#include <QBuffer>
#include <QImage>

namespace vorn::test {
namespace {

void ExpectNear(const TRectF& Actual, const TRectF& Expected) {
  EXPECT_NEAR(Actual.Left, Expected.Left, 1e-3);
  EXPECT_NEAR(Actual.Top, Expected.Top, 1e-3);
  EXPECT_NEAR(Actual.Right, Expected.Right, 1e-3);
  EXPECT_NEAR(Actual.Bottom, Expected.Bottom, 1e-3);
}

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
    Log.Names[A] = "a";
    Log.Names[B] = "b";
    Log.Clear();
  }

  TKxDeGroup* Group = nullptr;
  TTestShape* A = nullptr;
  TTestShape* B = nullptr;
};

TEST_F(Groups, TurnsTheChildrenByTheWholeDegreesOfEachCall) {
  Group->SetRotation(30);
  Group->SetRotation(30);
  EXPECT_FLOAT_EQ(A->Rotation(), 60);
  EXPECT_FLOAT_EQ(B->Rotation(), 60);
  EXPECT_FLOAT_EQ(Group->Rotation(), 30) << "the group records the last turn";
  Group->SetRotation(-330);  // normalised to 30
  EXPECT_FLOAT_EQ(A->Rotation(), 90);

  auto* fresh = Create<TKxDeGroup>(nullptr, Layer);
  auto* c = Box(fresh, TRectF{0, 0, 10, 10});
  fresh->SetRotation(30.7f);
  EXPECT_FLOAT_EQ(c->Rotation(), 30);
  EXPECT_FLOAT_EQ(fresh->Rotation(), 30.7f);
}

TEST_F(Groups, ATurnIsOneAnnouncedChangeAboutTheGroupCentre) {
  Group->SetRotation(90);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacChanging group Rotation", "undo kxacChanging group Rotation",
                                  "layer changed layer", "shape changed group", "end kxacChanging group Rotation"}));
  // The centre (20, 5): a's centre (5, 5) comes to (20, 20), b's (30, 5) to (20, -5).
  ExpectNear(A->GetBounds(), TRectF{15, 15, 25, 25});
  ExpectNear(B->GetBounds(), TRectF{10, -10, 30, 0});
  ExpectNear(Group->GetBounds(), TRectF{10, -10, 30, 25});
  Log.Clear();
  Group->SetRotation(360);
  Group->SetRotation(0.004f);
  EXPECT_TRUE(Log.Entries.empty()) << "a value that normalises to 0 does nothing";
  EXPECT_FLOAT_EQ(Group->Rotation(), 90);
}

TEST_F(Groups, RotateAroundPointTurnsTheChildrenButNotTheGroup) {
  Group->RotateAroundPoint(90, TPointF{0, 0}, TPointF{1, 0});
  EXPECT_FLOAT_EQ(A->Rotation(), 90);
  EXPECT_FLOAT_EQ(Group->Rotation(), 0);
  // a's centre (5, 5) turned about the origin is (5, -5), then shifted by (1, 0).
  ExpectNear(A->GetBounds(), TRectF{1, -10, 11, 0});
  Log.Clear();
  Group->RotateAroundPoint(0, TPointF{0, 0}, TPointF{5, 5});
  EXPECT_TRUE(Log.Entries.empty());
}

TEST_F(Groups, MoveByMovesEveryChildWithItsReferenceAsOneChange) {
  A->Log = &Log;
  B->Log = &Log;
  Group->MoveBy(5, -5);
  EXPECT_EQ(Log.Count("before move 5.000000 -5.000000"), 2u);
  EXPECT_EQ(Group->GetBounds(), (TRectF{5, -5, 45, 5}));
  EXPECT_EQ(Log.Count("layer changed layer"), 1u);
  auto* empty = Create<TKxDeGroup>(nullptr, Layer);
  Log.Clear();
  empty->MoveBy(5, 5);
  EXPECT_TRUE(Log.Entries.empty());
}

TEST_F(Groups, ResizeScalesTheChildrenAboutTheTopLeftCorner) {
  Group->Resize(80, 20);
  EXPECT_EQ(A->GetBounds(), (TRectF{0, 0, 20, 20}));
  EXPECT_EQ(B->GetBounds(), (TRectF{40, 0, 80, 20}));
  EXPECT_EQ(Group->GetBounds(), (TRectF{0, 0, 80, 20}));
  EXPECT_EQ(Log.Count("layer changed layer"), 1u);
  Log.Clear();
  Group->Resize(80, 20);
  EXPECT_TRUE(Log.Entries.empty()) << "the same size";
  Group->BeginPointUpdate();
  Group->Resize(10, 10);
  EXPECT_EQ(Group->GetBounds(), (TRectF{0, 0, 80, 20})) << "refused inside a point update";
  Group->EndPointUpdate();
  Group->Resize(-4, 20);  // below the least width of 0.01
  EXPECT_NEAR(Group->GetBounds().Width(), 0.01, 1e-5);
}

TEST_F(Groups, BoundsFollowTheChildrenAndCollapseWhenEmpty) {
  Group->Extract(A);
  EXPECT_EQ(Group->GetBounds(), (TRectF{20, 0, 40, 10}));
  Group->Delete(0);
  EXPECT_EQ(Group->GetBounds(), (TRectF{20, 0, 20, 0})) << "empty, at the previous top-left";
  Free(A);
}

// ---- Packages -----------------------------------------------------------------------------------

using Packages = ModelFixture;

TEST_F(Packages, UseABrushAndAPictureButNoPen) {
  auto* package = Create<TKxDePackage>(nullptr, Layer);
  EXPECT_TRUE(package->ShapeStyle().Contains(TKxDeShapeStyle::kxssIsContainer));
  EXPECT_TRUE(package->ShapeStyle().Contains(TKxDeShapeStyle::kxssUsesBrush));
  EXPECT_TRUE(package->ShapeStyle().Contains(TKxDeShapeStyle::kxssUsesPicture));
  EXPECT_FALSE(package->ShapeStyle().Contains(TKxDeShapeStyle::kxssUsesPen));
  EXPECT_FALSE(package->CrossedOut());
  package->SetCrossedOut(true);
  EXPECT_TRUE(package->CrossedOut());
}

TEST_F(Packages, AnEmptyPackageMovesAndSizesItsRectangle) {
  auto* package = Create<TKxDePackage>(nullptr, Layer);
  Log.Clear();
  package->MoveBy(5, 5);  // from the zero rectangle: its sides become 0.1
  EXPECT_FLOAT_EQ(package->GetBounds().Left, 5);
  EXPECT_NEAR(package->GetBounds().Width(), 0.1, 1e-5);
  EXPECT_NEAR(package->GetBounds().Height(), 0.1, 1e-5);
  EXPECT_EQ(Log.Count("layer changed layer"), 1u) << "the move is repainted";
  package->Resize(20, 10);
  EXPECT_EQ(package->GetBounds(), (TRectF{5, 5, 25, 15}));
  package->MoveBy(5, 5);
  EXPECT_EQ(package->GetBounds(), (TRectF{10, 10, 30, 20})) << "the size is kept";
  Log.Clear();
  package->MoveBy(0, 0);
  EXPECT_TRUE(Log.Entries.empty());
  package->SetBounds(0, 0, 4, 3);
  EXPECT_EQ(package->GetBounds(), (TRectF{0, 0, 4, 3}));
}

TEST_F(Packages, BoundsTakeInTheTurnedChildrenAndStayWhenTheyLeave) {
  auto* package = Create<TKxDePackage>(nullptr, Layer);
  auto* child = Box(package, TRectF{0, 0, 10, 20});
  EXPECT_EQ(package->GetBounds(), (TRectF{0, 0, 10, 20}));
  child->SetRotation(90);
  ExpectNear(package->GetBounds(), TRectF{-5, 5, 15, 15});
  package->Extract(child);
  ExpectNear(package->GetBounds(), TRectF{-5, 5, 15, 15});
  Free(child);
}

TEST_F(Packages, MoveByMovesTheChildrenWithoutTheirReference) {
  auto* package = Create<TKxDePackage>(nullptr, Layer);
  auto* child = Box(package, TRectF{0, 0, 10, 10});
  child->Log = &Log;
  package->MoveBy(3, 4);
  EXPECT_EQ(child->GetBounds(), (TRectF{3, 4, 13, 14}));
  EXPECT_EQ(package->GetBounds(), (TRectF{3, 4, 13, 14}));
  EXPECT_TRUE(Log.Only("before move").empty());
  package->Resize(20, 5);
  EXPECT_EQ(child->GetBounds(), (TRectF{3, 4, 23, 9}));
}

// ---- Package colours and painting ---------------------------------------------------------------

TEST_F(Packages, OnALayerThatIsNotPrintedTheyAnswerSilverAndAHatch) {
  auto* package = Create<TKxDePackage>(nullptr, Layer);
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  auto* nested = Create<TKxDePackage>(nullptr, group);
  package->Brush()->AssignRec(TKxDeBrushRec{0x00FF00, TBrushStyle::bsSolid});
  package->Pen()->SetColor(0x0000FF);
  EXPECT_EQ(package->GetBrushColor(), 0x00FF00);
  EXPECT_EQ(package->GetBrushStyle(), TBrushStyle::bsSolid);
  EXPECT_EQ(package->GetPenColor(), 0x0000FF);
  Layer->SetPrintingAllowed(false);
  EXPECT_EQ(package->GetBrushColor(), 0xC0C0C0);
  EXPECT_EQ(package->GetBrushStyle(), TBrushStyle::bsBDiagonal);
  EXPECT_EQ(package->GetPenColor(), 0xC0C0C0);
  EXPECT_EQ(nested->GetBrushColor(), 0xC0C0C0) << "at any depth of the layer";
  EXPECT_EQ(package->Brush()->Color(), 0x00FF00) << "its own brush stays";
  auto* loose = Create<TKxDePackage>(nullptr, nullptr);
  EXPECT_EQ(loose->GetBrushStyle(), loose->Brush()->Style()) << "no layer, no restriction";
  Free(loose);
}

// Paints a device rectangle of its bounds red, to show when the children come.
class TRedShape : public TKxDeShape {
 public:
  TRedShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShape(ASurface, AOwner) {}
  void Paint(TCanvas* C, float X, float Y, double Zoom, int32_t, PmekDeviceCapsInfo) override {
    const TRectF b = GetBounds();
    C->Brush()->SetColor(clRed);
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->FillRect(TRect{int(b.Left * Zoom + X), int(b.Top * Zoom + Y), int(b.Right * Zoom + X),
                      int(b.Bottom * Zoom + Y)});
  }
};

// A package that can be given a picture style.
class TPicturePackage : public TKxDePackage {
 public:
  TPicturePackage(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDePackage(ASurface, AOwner) {}
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
    Image = QImage(100, 100, QImage::Format_RGB32);
  }
  // At zoom 2 and offset (5, 5) the package covers the pixels (25, 25)-(64, 44).
  void Paint() {
    Image.fill(Qt::white);
    TCanvas canvas(&Image);
    Package->Paint(&canvas, 5, 5, 2, 0, nullptr);
  }
  QColor At(int X, int Y) const { return Image.pixelColor(X, Y); }

  TPicturePackage* Package = nullptr;
  QImage Image;
};

TEST_F(PackagePainting, FillsItsRectangleThenPaintsTheChildren) {
  Paint();
  EXPECT_EQ(At(25, 25), QColor(Qt::darkGreen));
  EXPECT_EQ(At(64, 44), QColor(Qt::darkGreen));
  EXPECT_EQ(At(24, 30), QColor(Qt::white));
  EXPECT_EQ(At(65, 30), QColor(Qt::white));
  EXPECT_EQ(At(40, 45), QColor(Qt::white));
  Box(Package, TRectF{15, 12, 35, 22});  // paints nothing
  auto* red = Create<TRedShape>(nullptr, Package);
  red->Add(15, 12);
  red->Add(20, 18);
  ASSERT_EQ(Package->GetBounds(), (TRectF{15, 12, 35, 22}));
  Paint();
  EXPECT_EQ(At(40, 35), QColor(Qt::red)) << "the child over the fill";
  EXPECT_EQ(At(70, 47), QColor(Qt::darkGreen));
}

TEST_F(PackagePainting, AClearBrushFillsNothingAndANonPrintingLayerHatches) {
  Package->Brush()->SetStyle(TBrushStyle::bsClear);
  Paint();
  EXPECT_EQ(At(40, 30), QColor(Qt::white));
  Package->Brush()->SetStyle(TBrushStyle::bsSolid);
  Layer->SetPrintingAllowed(false);
  Paint();
  int silver = 0, white = 0;
  for (int y = 25; y < 45; ++y)
    for (int x = 25; x < 65; ++x) {
      const QColor c = At(x, y);
      silver += c == QColor(0xC0, 0xC0, 0xC0);
      white += c == QColor(Qt::white);
    }
  EXPECT_GT(silver, 0);
  EXPECT_GT(white, 0) << "hatched, not filled";
  EXPECT_EQ(silver + white, 40 * 20);
  EXPECT_EQ(At(24, 30), QColor(Qt::white));
}

TEST_F(PackagePainting, ThePictureIsClippedToTheRectangle) {
  QImage picture(400, 400, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  QBuffer png;
  png.open(QIODevice::ReadWrite);
  ASSERT_TRUE(picture.save(&png, "PNG"));
  png.seek(0);
  Package->Picture()->LoadFromStream(&png);
  ASSERT_TRUE(Package->HasPicture());
  Package->SetPictureStyle(TKxDeShapePictureStyle::kxdspDefault);  // natural size, far larger
  Paint();
  EXPECT_EQ(At(25, 25), QColor(Qt::blue));
  EXPECT_EQ(At(64, 44), QColor(Qt::blue));
  EXPECT_EQ(At(65, 30), QColor(Qt::white)) << "nothing beyond the rectangle";
  EXPECT_EQ(At(40, 45), QColor(Qt::white));
  // A clip of the caller's survives the package's own.
  Image.fill(Qt::white);
  {
    TCanvas canvas(&Image);
    canvas.SetClipRect(TRect{0, 0, 30, 100});
    Package->Paint(&canvas, 5, 5, 2, 0, nullptr);
    canvas.Brush()->SetColor(clRed);
    canvas.FillRect(TRect{0, 0, 100, 100});
  }
  EXPECT_EQ(At(29, 30), QColor(Qt::red));
  EXPECT_EQ(At(31, 30), QColor(Qt::white));
}

TEST_F(PackagePainting, PaintInDrawsOnlyWithinTheRectangleGiven) {
  Image.fill(Qt::white);
  {
    TCanvas canvas(&Image);
    Package->PaintIn(&canvas, 5, 5, 2, TRectF{20, 0, 50, 50});  // the right half of the package
  }
  EXPECT_EQ(At(30, 30), QColor(Qt::white));
  EXPECT_EQ(At(50, 30), QColor(Qt::darkGreen));
  Image.fill(Qt::white);
  {
    TCanvas canvas(&Image);
    Package->PaintIn(&canvas, 5, 5, 2, TRectF{50, 50, 60, 60});
  }
  EXPECT_EQ(At(50, 30), QColor(Qt::white)) << "outside the rectangle given";
}

// ---- Registration -------------------------------------------------------------------------------

// What the registry knew when this program started, before any test could change it: the
// library is loaded, and registers its classes, before this file's own start-up runs.
struct TRegisteredAtLoad {
  TKxDeShapeClass Group = TKxDeRegister::FindShape("TKxDeGroup");
  QString GroupName = TKxDeRegister::FindShapeDisplayName(Group);
  TKxDeShapeClass Layer = TKxDeRegister::FindShape("TKxDeLayer");
  QString LayerName = TKxDeRegister::FindShapeDisplayName(Layer);
  QString LayerDescription = TKxDeRegister::FindShapeDescription(Layer);
};
const TRegisteredAtLoad gAtLoad;

TEST(ContainerRegistration, GroupsAndLayersAreKnownByClassNameFromTheStart) {
  EXPECT_EQ(gAtLoad.Group, ClassOf<TKxDeGroup>());
  EXPECT_EQ(gAtLoad.GroupName, "Group");
  EXPECT_EQ(gAtLoad.Layer, ClassOf<TKxDeLayer>());
  EXPECT_EQ(gAtLoad.LayerName, "Layer");
  EXPECT_EQ(gAtLoad.LayerDescription, "");
  TKxDeShapeBase* group = ClassOf<TKxDeGroup>()->Construct<TKxDeShapeBase>(static_cast<TKxDeSurface*>(nullptr),
                                                                          static_cast<TKxDeContainer*>(nullptr));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->ClassName(), "TKxDeGroup");
  Free(group);
}

}  // namespace
}  // namespace vorn::test
