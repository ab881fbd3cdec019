// Groups (shapes moved, sized and turned as one) and packages (shapes in a filled frame).

#include "ModelTestSupport.h"

#include <vorn/model/KxDeGroup.h>
#include <vorn/model/KxDePackage.h>
#include <vorn/model/KxDeRegister.h>

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
