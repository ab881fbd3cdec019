// The shape element: what is written in which order, what reading takes or keeps, and object
// elements with their children, skipped classes and the nesting limit.

#include "XmlTestSupport.h"

#include <vorn/model/KxDeControl.h>

namespace vorn::test {
namespace {

class XmlFormat : public ::testing::Test {
 protected:
  TRegisteredClasses Registered{ClassOf<TTestShape>(),     ClassOf<TCurveShape>(),    ClassOf<THandleShape>(),
                                ClassOf<TIdentityShape>(), ClassOf<TRefusingShape>(), ClassOf<TKxDeContainer>()};

  template <class T>
  TOwned<T> Make(std::initializer_list<TPointF> Points = {}) {
    TOwned<T> s(Create<T>(nullptr, nullptr));
    for (const TPointF& p : Points) s->Add(p.X, p.Y);
    return s;
  }
  // Reads the element text into Shape as a document does.
  static void Load(TKxDeShapeBase* Shape, const char* Text, bool KeepID = true) {
    TXmlDocument doc;
    XmlParse(doc, Text);
    Shape->LoadFromXML(doc.child("o"), KeepID);
  }
};

TEST_F(XmlFormat, TheShapeElementIsWrittenInItsOrderInMillimetres) {
  auto s = Make<TCurveShape>({{10, 20}, {30, 40}});
  s->Points(0)->SetControl_1(s->Points(0)->NewControl(0, 0));  // written, but a handle at no offset is not read
  s->Points(0)->SetControl_2(s->Points(0)->NewControl(5, -5));
  s->SetName(QStringLiteral("Curve"));
  s->SetText(QStringLiteral("Label <1> & \"2\""));
  s->SetRotation(30);
  s->SetRotationCenter(TKxDeRotationCenter::kxdroRefPoint);
  s->SetUserData2(QStringLiteral("two"));
  TXmlDocument doc;
  TXmlNode o = TKxDeObjectXml::AppendObject(doc, s.get());
  EXPECT_EQ(XmlReadAttrString(o, "Class"), QStringLiteral("TCurveShape"));
  EXPECT_EQ(XmlReadAttrInt64(o, "ID", -1), static_cast<int64_t>(s->ID()));
  EXPECT_EQ(ChildNames(o), (std::vector<std::string>{"Visible", "Locked", "Name", "Text", "Rotation", "RotationPoint",
                                                     "Log", "UserData2", "Pen", "Points"}));
  EXPECT_EQ(XmlReadInteger(o, "RotationPoint", -1), 3);
  const TXmlNode p1 = o.child("Points").child("Point").next_sibling("Point");
  EXPECT_DOUBLE_EQ(XmlReadDouble(p1, "y", 0), 40.0 / CoordsPixelsPerMMConvertValue);
  TOwned<TKxDeShapeBase> back = ReadObject(ObjectText(s.get()));
  EXPECT_TRUE(!back->Points(0)->Control_1() && back->Points(0)->Control_2());
  // Without the rotation style, no rotation point, written or read.
  auto plain = Make<TTestShape>({{0, 0}});
  plain->SetRotationCenter(TKxDeRotationCenter::kxdroPtBottomLeft);
  EXPECT_FALSE(ObjectText(plain.get()).contains("RotationPoint"));
  Load(plain.get(), "<o><RotationPoint>2</RotationPoint></o>");
  EXPECT_EQ(plain->RotationCenter(), TKxDeRotationCenter::kxdroPtBottomLeft) << "not read either";
  Load(s.get(), "<o/>");
  EXPECT_EQ(s->RotationCenter(), TKxDeRotationCenter::kxdroPtGravity) << "absent: the default centre";
}

TEST_F(XmlFormat, ReadingIsOneChangeTakesNameAndTextThroughSettersAndKeepsAbsentValues) {
  TCallLog log;
  auto* surface = new TRecordingSurface(&log);
  TTestShape* s = Create<TTestShape>(nullptr, Create<TKxDeLayer>(surface));
  log.Names[s] = "shape";
  for (int i = 0; i < 5; ++i) s->Add(static_cast<float>(i), 0);
  s->SetUserData1(QStringLiteral("kept 1"));
  s->SetUserData2(QStringLiteral("kept 2"));
  TXmlDocument own;
  s->SaveToXML(own.append_child("o"));
  log.Clear();
  s->LoadFromXML(own.child("o"), true);
  EXPECT_EQ(log.Count("shape changed shape"), 1u) << "one change for the whole element";
  log.Clear();
  Load(s,
       "<o><Name>N</Name><Text>T</Text><Locked>true</Locked><Visible>false</Visible><Rotation>400</Rotation>"
       "<UserData1></UserData1><Pen><Width>1</Width></Pen></o>");
  EXPECT_EQ(log.Count("start kxacChangingPen shape Pen"), 1u) << "a style read is announced as its change";
  EXPECT_EQ(log.Count("start kxacChanging shape Name"), 1u);
  EXPECT_EQ(log.Count("start kxacChanging shape Text"), 1u);
  for (const char* direct : {"Locked", "Visible", "Rotation"})
    EXPECT_EQ(log.Count(std::string("start kxacChanging shape ") + direct), 0u) << direct;
  EXPECT_EQ(s->Rotation(), 400.0f) << "as written, not normalised";
  EXPECT_EQ(s->UserData1(), QString()) << "present but empty clears";
  EXPECT_EQ(s->UserData2(), QStringLiteral("kept 2"));
  EXPECT_EQ(s->PointCount(), 0) << "no points element: no points";
  Load(s, "<o/>");
  EXPECT_EQ(s->Name(), QString());
  EXPECT_TRUE(s->Locked()) << "the current value stays";
  delete surface;
}

TEST_F(XmlFormat, IdentityIsReadOnlyWhenNotKeptAndOnlyWhenPlausible) {
  auto s = Make<TTestShape>();
  const uint32_t own = s->ID();
  Load(s.get(), "<o ID=\"4294967295\"/>", true);
  EXPECT_EQ(s->ID(), own);
  Load(s.get(), "<o ID=\"4294967295\"/>", false);
  EXPECT_EQ(s->ID(), 4294967295u);
  for (const char* bad : {"<o ID=\"4294967296\"/>", "<o ID=\"-1\"/>", "<o ID=\"12x\"/>", "<o ID=\"\"/>"}) {
    Load(s.get(), bad, false);
    EXPECT_EQ(s->ID(), 4294967295u) << bad;
  }
  // Pasting keeps the new identity even for classes that read theirs whatever they are asked.
  auto source = Make<TIdentityShape>({{1, 2}});
  const QByteArray text = ObjectText(source.get());
  TKxDeXmlReadOptions paste;
  paste.KeepID = true;
  EXPECT_NE(ReadObject(text, nullptr, paste)->ID(), source->ID());
  EXPECT_EQ(ReadObject(text)->ID(), source->ID());
}

TEST_F(XmlFormat, MissingCoordinatesRepeatThePreviousPoint) {
  auto s = Make<TTestShape>({{100, 100}});
  Load(s.get(),
       "<o><Points><Point><y>2</y></Point><Point><x>5</x></Point>"
       "<Point><x>NaN</x><y>1e300</y></Point><Point><x>-7</x><y>abc</y></Point></Points></o>");
  const float f = CoordsPixelsPerMMConvertValue;
  EXPECT_EQ(s->GetPointArray(), (TDPointArray{{0, 2 * f}, {5 * f, 2 * f}, {5 * f, 2 * f}, {-7 * f, 2 * f}}));
}

TEST_F(XmlFormat, ContainersCarryTheirChildrenInOrder) {
  TOwned<TKxDeContainer> outer(Create<TKxDeContainer>(nullptr, nullptr));
  TKxDeContainer* inner = Create<TKxDeContainer>(nullptr, outer.get());
  Create<TTestShape>(nullptr, inner)->Add(1, 1);
  Create<TCurveShape>(nullptr, outer.get())->Add(2, 2);
  Create<TTestShape>(nullptr, inner)->Add(3, 3);
  TKxDeXmlReadReport report;
  TOwned<TKxDeShapeBase> back = ReadObject(ObjectText(outer.get()), &report);
  auto* c = dynamic_cast<TKxDeContainer*>(back.get());
  ASSERT_TRUE(c);
  ASSERT_EQ(c->ItemCount(), 2);
  EXPECT_EQ(c->Items(1)->ClassName(), QStringLiteral("TCurveShape"));
  EXPECT_EQ(dynamic_cast<TKxDeContainer*>(c->Items(0))->Items(1)->PointValue(0), (TPointF{3, 3}));
  EXPECT_EQ(report.ObjectsRead, 5);
  ExpectRoundTrip(outer.get());
  TOwned<TKxDeContainer> none(Create<TKxDeContainer>(nullptr, nullptr));
  EXPECT_FALSE(ObjectText(none.get()).contains("<os")) << "an empty container writes no children element";
}

TEST_F(XmlFormat, UnreadableElementsAreSkippedWithTheirSubtreeAndReported) {
  const QByteArray text =
      "<o Class=\"TKxDeContainer\"><os>"
      "<o Class=\"TTestShape\"><Name>a</Name></o>"
      "<o Class=\"TNoSuchShape\"><os><o Class=\"TTestShape\"><Name>lost</Name></o></os></o>"
      "<o><Name>no class</Name></o>"
      "<o Class=\"TKxDePoint\"/>"
      "<o Class=\"TKxDeLayer\"/>"
      "<o Class=\"TRefusingShape\"/>"
      "<o Class=\"ttestshape\"><Name>b</Name></o>"  // class names ignore case
      "<notanobject Class=\"TTestShape\"/>"
      "</os></o>";
  TKxDeXmlReadReport report;
  TOwned<TKxDeShapeBase> back = ReadObject(text, &report);
  auto* c = dynamic_cast<TKxDeContainer*>(back.get());
  ASSERT_EQ(c->ItemCount(), 2);
  EXPECT_EQ(c->Items(1)->Name(), QStringLiteral("b"));
  EXPECT_EQ(report.ObjectsRead, 3);
  EXPECT_EQ(report.ObjectsSkipped, 5);
  ASSERT_EQ(report.Messages.size(), 5);
  EXPECT_TRUE(report.Messages[0].contains(QStringLiteral("TNoSuchShape")) && report.Messages[0].contains("offset"));
  EXPECT_TRUE(report.Messages[3].contains(QStringLiteral("cannot be placed"))) << report.Messages[3].toStdString();
  EXPECT_TRUE(report.Messages[4].contains(QStringLiteral("cannot read this"))) << report.Messages[4].toStdString();
  // 40 containers inside each other: read whole, or cut at the nesting limit.
  QByteArray nested;
  for (int i = 0; i < 40; ++i) nested += "<o Class=\"TKxDeContainer\"><os>";
  nested += "<o Class=\"TTestShape\"/>";
  for (int i = 0; i < 40; ++i) nested += "</os></o>";
  auto depthOf = [](const TKxDeShapeBase* s) {
    int d = 1;
    for (auto* c = dynamic_cast<const TKxDeContainer*>(s); c && c->ItemCount() > 0;
         c = dynamic_cast<const TKxDeContainer*>(c->Items(0)))
      ++d;
    return d;
  };
  EXPECT_EQ(depthOf(ReadObject(nested).get()), 41);
  TKxDeXmlReadOptions opts;
  opts.MaxDepth = 10;
  TKxDeXmlReadReport cut;
  EXPECT_EQ(depthOf(ReadObject(nested, &cut, opts).get()), 10);
  EXPECT_EQ(cut.ObjectsSkipped, 1);
  EXPECT_TRUE(cut.Messages.value(0).contains(QStringLiteral("deeper than 10")));
}

}  // namespace
}  // namespace vorn::test
