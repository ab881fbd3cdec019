// A host hook that throws in the middle of a modification: every bracket the model opened around
// it (action, update, notify lock, point and control updates, picture change, reading) is closed
// again, so the document goes on announcing and delivering normally.

#include "ModelTestSupport.h"
#include "XmlTestSupport.h"

#include <stdexcept>

namespace vorn::test {
namespace {

struct THookFailure : std::runtime_error {
  THookFailure() : std::runtime_error("hook failed") {}
};

// A shape whose hook named by FailIn throws.
class TFailingShape : public TTestShape {
  VORN_OBJECT(TFailingShape, TTestShape)

 public:
  TFailingShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TTestShape(ASurface, AOwner) {
    FShapeStyle += TKxDeShapeStyle::kxssUsesControls;
    FShapeStyle += TKxDeShapeStyle::kxssUsesPicture;
  }
  std::string FailIn;

 protected:
  void PointIsChanging(TKxDePoint*, float&, float&) override { Fail("PointIsChanging"); }
  void PointChanging(TKxDePoint*) override { Fail("PointChanging"); }
  void ControlAdded(TKxDeControl*) override { Fail("ControlAdded"); }
  void PictureChanged(TObject*) override { Fail("PictureChanged"); }

 private:
  void Fail(const char* Hook) const {
    if (FailIn == Hook) throw THookFailure();
  }
};

// A class that reads its identity whatever it is asked and then fails with a foreign exception,
// one the reader does not turn into a skipped object.
class TFailingReader : public TKxDeShape {
  VORN_OBJECT(TFailingReader, TKxDeShape)

 public:
  using TKxDeShape::TKxDeShape;
  void LoadFromXML(TXmlNode Node, bool) override {
    TKxDeShape::LoadFromXML(Node, false);
    throw THookFailure();
  }

 protected:
  ~TFailingReader() override = default;
};

class BracketException : public ModelFixtureOf<TFailingShape> {
 protected:
  // Every bracket of S is closed and every action started on the surface was ended.
  void ExpectClosed(const TKxDeShapeBase* S) const {
    EXPECT_EQ(S->UpdateCount(), 0u);
    EXPECT_EQ(S->NotifyLock(), 0);
    EXPECT_FALSE(S->InPointUpdate());
    EXPECT_FALSE(S->InControlUpdate());
    EXPECT_EQ(Log.Only("start ").size(), Log.Only("end ").size());
  }
  // The shape announces and delivers a later change as usual.
  void ExpectStillAnnouncing() {
    Shape->FailIn.clear();
    Log.Clear();
    Shape->SetName(Shape->Name() + "+");
    EXPECT_EQ(Log.Entries, (Strings{"start kxacChanging shape Name", "undo kxacChanging shape Name",
                                    "layer changed layer", "shape changed shape", "end kxacChanging shape Name"}));
  }
};

TEST_F(BracketException, ShapeOperationsCloseTheirBracketsWhenAHookThrows) {
  struct TCase {
    const char* Hook;
    std::function<void(TFailingShape*)> Run;
    const char* LastEnd;
  };
  const TCase cases[] = {
      // Action scope, notify lock, update and point update, all open at once.
      {"PointIsChanging", [](TFailingShape* S) { S->MoveBy(5, 5); }, "end kxacSizing shape "},
      {"PointIsChanging", [](TFailingShape* S) { S->SetBounds(0, 0, 50, 50); }, "end kxacSizing shape "},
      {"PointIsChanging", [](TFailingShape* S) { S->SetLeft(3); }, "end kxacChanging shape Left"},
      // A single point: its own action.
      {"PointChanging", [](TFailingShape* S) { S->Points(1)->SetPosition(7, 7); }, "end kxacSizing shape "},
      // The control update of reading, inside the point update and the update of the element.
      {"ControlAdded",
       [](TFailingShape* S) {
         TXmlDocument doc;
         XmlParse(doc, "<o><Points><Point x='1' y='1'/></Points><Controls><Control x='2' y='2'/></Controls></o>");
         S->LoadFromXML(doc.child("o"), false);
       },
       nullptr},
      // The picture holder's change bracket, which is the shape's update bracket.
      {"PictureChanged", [](TFailingShape* S) { S->Picture()->LoadFromFile(QString()); }, nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Hook);
    AddPoints({{0, 0}, {10, 10}});
    Shape->FailIn = c.Hook;
    EXPECT_THROW(c.Run(Shape), THookFailure);
    ExpectClosed(Shape);
    if (c.LastEnd) {
      EXPECT_EQ(Log.Only("end ").back(), c.LastEnd);
    }
    ExpectStillAnnouncing();
    Shape->ClearPoints();
    Shape->ClearControls();
    Log.Clear();
  }
}

TEST_F(BracketException, GroupRotationClosesTheChildrensBracketsAndItsOwn) {
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  Log.Names[group] = "group";
  group->InsertShape(Shape);
  AddPoints({{0, 0}, {10, 10}});
  // A second child moves the group's centre away from the first's, so that turning moves it.
  Create<TTestShape>(nullptr, group)->Add(100, 100);
  Shape->FailIn = "PointIsChanging";
  EXPECT_THROW(group->SetRotation(90), THookFailure);
  ExpectClosed(Shape);
  ExpectClosed(group);
  EXPECT_EQ(Log.Only("end ").back(), "end kxacChanging group Rotation");
}

TEST_F(BracketException, ReadingThatFailsRestoresTheIdentityAndClosesItsBrackets) {
  TRegisteredClasses registered{ClassOf<TFailingReader>()};
  TXmlDocument doc;
  XmlParse(doc, "<os><o Class='TFailingReader' ID='77'><Name>n</Name></o></os>");

  // Kept identity: put back although the class read the stored one.
  TOwned<TKxDeShapeBase> reader(Create<TFailingReader>(nullptr, nullptr));
  const uint32_t id = reader->ID();
  TKxDeXmlReadOptions keep;
  keep.KeepID = true;
  EXPECT_THROW(TKxDeObjectXml::LoadContent(doc.child("os").child("o"), reader.get(), keep), THookFailure);
  EXPECT_EQ(reader->ID(), id);
  ExpectClosed(reader.get());

  // Reading into a layer: its update and its hold on default properties end with the read.
  EXPECT_THROW(TKxDeObjectXml::LoadObjects(doc.child("os"), Layer), THookFailure);
  ExpectClosed(Layer);
  EXPECT_EQ(Layer->SkipDefaultPropertyCount(), 0);
  EXPECT_EQ(Layer->ItemCount(), 1) << "only the shape of the fixture";
}

}  // namespace
}  // namespace vorn::test

#include "BracketExceptionTest.moc"
