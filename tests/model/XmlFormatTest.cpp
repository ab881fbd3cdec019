// The shape element, the geometry elements and object elements: what is written, in which
// order, what reading does with absent, damaged and hostile values, and that every object kind
// written, read into new objects and written again gives the same text.

#include "XmlTestSupport.h"

#include <vorn/common/Units.h>
#include <vorn/common/XmlUtils.h>
#include <vorn/model/KxDeControl.h>
#include <vorn/model/KxDeObjectXml.h>
#include <vorn/model/KxDeRegister.h>

#include <cmath>

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
};

TEST_F(XmlFormat, ShapeElementIsWrittenInItsOrder) {
  auto s = Make<TCurveShape>({{10, 20}, {30, 40}});
  s->SetName(QStringLiteral("Curve"));
  s->SetText(QStringLiteral("Label <1> & \"2\""));
  s->SetRotation(30);
  s->SetRotationCenter(TKxDeRotationCenter::kxdroRefPoint);
  s->SetLog(true);
  s->SetUserData2(QStringLiteral("two"));
  TXmlDocument doc;
  TXmlNode o = TKxDeObjectXml::AppendObject(doc, s.get());
  EXPECT_EQ(XmlReadAttrString(o, "Class"), QStringLiteral("TCurveShape"));
  EXPECT_EQ(XmlReadAttrInt64(o, "ID", -1), static_cast<int64_t>(s->ID()));
  EXPECT_EQ(ChildNames(o), (std::vector<std::string>{"Visible", "Locked", "Name", "Text", "Rotation", "RotationPoint",
                                                     "Log", "UserData2", "Pen", "Points"}));
  EXPECT_EQ(XmlReadInteger(o, "RotationPoint", -1), 3);
  EXPECT_EQ(XmlReadString(o, "Text"), QStringLiteral("Label <1> & \"2\""));
  EXPECT_EQ(XmlReadSingle(o, "Rotation", 0), 30.0f);
  // Points in millimetres, as Doubles.
  const TXmlNode p1 = o.child("Points").child("Point").next_sibling("Point");
  EXPECT_DOUBLE_EQ(XmlReadDouble(p1, "x", 0), 30.0 / CoordsPixelsPerMMConvertValue);
  EXPECT_DOUBLE_EQ(XmlReadDouble(p1, "y", 0), 40.0 / CoordsPixelsPerMMConvertValue);
}

TEST_F(XmlFormat, RotationPointNeedsTheRotationStyle) {
  auto s = Make<TTestShape>({{0, 0}});
  s->SetRotationCenter(TKxDeRotationCenter::kxdroPtBottomLeft);
  const QByteArray text = ObjectText(s.get());
  EXPECT_FALSE(text.contains("RotationPoint"));
  // Ignored on reading too.
  TXmlDocument doc;
  XmlParse(doc, "<o><RotationPoint>2</RotationPoint></o>");
  auto t = Make<TTestShape>();
  t->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(t->RotationCenter(), TKxDeRotationCenter::kxdroPtGravity);
  auto c = Make<TCurveShape>();
  c->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(c->RotationCenter(), TKxDeRotationCenter::kxdroPtBottomRight);
  // Without the element a rotating shape goes back to the default centre.
  XmlParse(doc, "<o/>");
  c->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(c->RotationCenter(), TKxDeRotationCenter::kxdroPtGravity);
}

TEST_F(XmlFormat, EmptyUserDataIsNotWrittenAndAbsentUserDataIsKept) {
  auto s = Make<TTestShape>();
  EXPECT_FALSE(ObjectText(s.get()).contains("UserData"));
  auto t = Make<TTestShape>();
  t->SetUserData1(QStringLiteral("kept 1"));
  t->SetUserData2(QStringLiteral("kept 2"));
  TXmlDocument doc;
  XmlParse(doc, ObjectText(s.get()));
  t->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(t->UserData1(), QStringLiteral("kept 1"));
  EXPECT_EQ(t->UserData2(), QStringLiteral("kept 2"));
  // Present but empty elements do clear them.
  XmlParse(doc, "<o><UserData1></UserData1></o>");
  t->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(t->UserData1(), QString());
  EXPECT_EQ(t->UserData2(), QStringLiteral("kept 2"));
}

TEST_F(XmlFormat, NameAndTextAreReadThroughTheirSettersTheRestDirectly) {
  TCallLog log;
  TRecordingSurface* surface = new TRecordingSurface(&log);
  TKxDeLayer* layer = Create<TKxDeLayer>(surface);
  TTestShape* s = Create<TTestShape>(nullptr, layer);
  log.Names[s] = "shape";
  log.Clear();
  TXmlDocument doc;
  XmlParse(doc,
           "<o><Name>N</Name><Text>T</Text><Locked>true</Locked><Visible>false</Visible><Rotation>400</Rotation></o>");
  s->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(log.Only("start"), (Strings{"start kxacChanging shape Name", "start kxacChanging shape Text"}));
  EXPECT_TRUE(s->Locked());
  EXPECT_FALSE(s->Visible());
  EXPECT_EQ(s->Rotation(), 400.0f);  // as written, not normalised
  // Absent name and text mean empty ones.
  XmlParse(doc, "<o/>");
  s->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(s->Name(), QString());
  EXPECT_EQ(s->Text(), QString());
  EXPECT_TRUE(s->Locked());  // the current value stays
  delete surface;
}

TEST_F(XmlFormat, IdentityIsReadOnlyWhenNotKeptAndOnlyWhenPlausible) {
  auto s = Make<TTestShape>();
  const uint32_t own = s->ID();
  TXmlDocument doc;
  XmlParse(doc, "<o ID=\"4294967295\"/>");
  s->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(s->ID(), own);
  s->LoadFromXML(doc.child("o"), false);
  EXPECT_EQ(s->ID(), 4294967295u);
  for (const char* bad : {"<o ID=\"4294967296\"/>", "<o ID=\"-1\"/>", "<o ID=\"12x\"/>", "<o ID=\"\"/>"}) {
    XmlParse(doc, bad);
    s->LoadFromXML(doc.child("o"), false);
    EXPECT_EQ(s->ID(), 4294967295u) << bad;
  }
}

TEST_F(XmlFormat, PointHandlesAtZeroOffsetAreLost) {
  auto s = Make<TCurveShape>({{0, 0}, {10, 0}});
  s->Points(0)->SetControl_1(s->Points(0)->NewControl(0, 0));
  s->Points(0)->SetControl_2(s->Points(0)->NewControl(5, -5));
  s->Points(1)->SetControl_1(s->Points(1)->NewControl(-2, 3));
  const QByteArray text = ObjectText(s.get());
  EXPECT_TRUE(text.contains("<Control1><x>0</x><y>0</y></Control1>"));
  TOwned<TKxDeShapeBase> back = ReadObject(text);
  ASSERT_EQ(back->PointCount(), 2);
  EXPECT_EQ(back->Points(0)->Control_1(), nullptr);
  ASSERT_NE(back->Points(0)->Control_2(), nullptr);
  EXPECT_EQ(back->Points(0)->Control_2()->GetValue(), (TPointF{5, -5}));
  ASSERT_NE(back->Points(1)->Control_1(), nullptr);
  EXPECT_EQ(back->Points(1)->Control_1()->GetValue(), (TPointF{-2, 3}));
  // Without the point-control style, handles are neither written nor read.
  auto plain = Make<TTestShape>({{0, 0}});
  plain->Points(0)->SetControl_1(plain->Points(0)->NewControl(1, 1));
  EXPECT_FALSE(ObjectText(plain.get()).contains("Control1"));
  TXmlDocument doc;
  XmlParse(doc, "<o><Points><Point><x>1</x><y>1</y><Control1><x>1</x><y>1</y></Control1></Point></Points></o>");
  plain->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(plain->Points(0)->Control_1(), nullptr);
}

TEST_F(XmlFormat, MissingCoordinatesRepeatThePreviousPoint) {
  TXmlDocument doc;
  XmlParse(doc, "<o><Points>"
                "<Point><y>2</y></Point>"             // x of "before the first" is 0
                "<Point><x>5</x></Point>"             // y repeats 2
                "<Point><x>NaN</x><y>1e300</y></Point>"  // not usable: repeats (5, 2)
                "<Point><x>-7</x><y>abc</y></Point>"
                "</Points></o>");
  auto s = Make<TTestShape>({{100, 100}});
  s->LoadFromXML(doc.child("o"), true);
  const float f = CoordsPixelsPerMMConvertValue;
  ASSERT_EQ(s->PointCount(), 4);
  EXPECT_EQ(s->PointValue(0), (TPointF{0, static_cast<float>(2.0 * f)}));
  EXPECT_EQ(s->PointValue(1), (TPointF{static_cast<float>(5.0 * f), static_cast<float>(2.0 * f)}));
  EXPECT_EQ(s->PointValue(2), s->PointValue(1));
  EXPECT_EQ(s->PointValue(3), (TPointF{static_cast<float>(-7.0 * f), static_cast<float>(2.0 * f)}));
  // No "Points" element at all: the shape has no points.
  XmlParse(doc, "<o/>");
  s->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(s->PointCount(), 0);
}

TEST_F(XmlFormat, FreeControlsNeedTheirStyle) {
  auto h = Make<THandleShape>({{0, 0}, {50, 50}});
  for (TPointF p : {TPointF{1, 2}, TPointF{-3, 4.5f}}) {
    TKxDeControl* c = Create<TKxDeControl>();
    c->SetValue(p);
    h->InsertControl(c);
  }
  const QByteArray text = ObjectText(h.get());
  TXmlDocument doc;
  XmlParse(doc, text);
  EXPECT_EQ(ChildNames(doc.child("o")).back(), "Controls");
  TOwned<TKxDeShapeBase> back = ReadObject(text);
  ASSERT_EQ(back->ControlCount(), 2);
  EXPECT_EQ(back->Controls(1)->GetValue(), (TPointF{-3, 4.5f}));
  // Reading replaces the controls.
  back->LoadBoundsFromXML(doc.child("o"));
  EXPECT_EQ(back->ControlCount(), 2);
  // A shape without the style writes and reads none.
  auto t = Make<TTestShape>({{0, 0}});
  t->InsertControl(Create<TKxDeControl>());
  EXPECT_FALSE(ObjectText(t.get()).contains("Controls"));
  t->LoadBoundsFromXML(doc.child("o"));
  EXPECT_EQ(t->ControlCount(), 1);
}

TEST_F(XmlFormat, LoadingBoundsIsOneChange) {
  TCallLog log;
  TRecordingSurface* surface = new TRecordingSurface(&log);
  TKxDeLayer* layer = Create<TKxDeLayer>(surface);
  TTestShape* s = Create<TTestShape>(nullptr, layer);
  log.Names[s] = "shape";
  log.Names[layer] = "layer";
  for (int i = 0; i < 5; ++i) s->Add(static_cast<float>(i), 0);
  TXmlDocument doc;
  s->SaveToXML(doc.append_child("o"));
  log.Clear();
  s->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(log.Count("shape changed shape"), 1u);
  EXPECT_EQ(s->PointCount(), 5);
  delete surface;
}

TEST_F(XmlFormat, EveryShapeKindRoundTrips) {
  auto plain = Make<TTestShape>({{0.1f, 0.2f}, {123.456f, -78.9f}, {1e-3f, 5000.25f}});
  plain->SetName(QStringLiteral("Grüße"));
  plain->SetUserData1(QStringLiteral("line 1\nline 2"));
  plain->SetUserData2(QStringLiteral(" "));  // blanks alone survive
  plain->SetLocked(true);
  ExpectRoundTrip(plain.get());

  auto curve = Make<TCurveShape>({{1, 1}, {2.5f, 3.75f}});
  curve->Points(1)->SetControl_2(curve->Points(1)->NewControl(0.3f, -0.7f));
  curve->SetRotation(359.99f);
  curve->SetRotationCenter(TKxDeRotationCenter::kxdroPtBottomRight);
  curve->SetText(QStringLiteral("text"));
  ExpectRoundTrip(curve.get());

  auto handles = Make<THandleShape>({{7, 7}});
  TKxDeControl* c = Create<TKxDeControl>();
  c->SetValue({1.0f / 3.0f, 2.0f / 3.0f});
  handles->InsertControl(c);
  ExpectRoundTrip(handles.get());

  auto empty = Make<TTestShape>();
  ExpectRoundTrip(empty.get());

  // Coordinates survive exactly, however many digits they need.
  const QByteArray text = ObjectText(plain.get());
  TOwned<TKxDeShapeBase> back = ReadObject(text);
  for (int i = 0; i < plain->PointCount(); ++i) EXPECT_EQ(back->PointValue(i), plain->PointValue(i));
  EXPECT_EQ(back->ID(), plain->ID());
  EXPECT_EQ(back->UserData2(), QStringLiteral(" "));
}

TEST_F(XmlFormat, ContainersCarryTheirChildrenInOrder) {
  TOwned<TKxDeContainer> outer(Create<TKxDeContainer>(nullptr, nullptr));
  TKxDeContainer* inner = Create<TKxDeContainer>(nullptr, outer.get());
  Create<TTestShape>(nullptr, inner)->Add(1, 1);
  Create<TCurveShape>(nullptr, outer.get())->Add(2, 2);
  Create<TTestShape>(nullptr, inner)->Add(3, 3);
  TXmlDocument doc;
  TXmlNode o = TKxDeObjectXml::AppendObject(doc, outer.get());
  const TXmlNode os = o.child("os");
  ASSERT_TRUE(os);
  std::vector<std::string> classes;
  for (TXmlNode c : os.children("o")) classes.emplace_back(c.attribute("Class").value());
  EXPECT_EQ(classes, (std::vector<std::string>{"TKxDeContainer", "TCurveShape"}));
  TKxDeXmlReadReport report;
  TOwned<TKxDeShapeBase> back = ReadObject(XmlToText(doc, false), &report);
  auto* c = dynamic_cast<TKxDeContainer*>(back.get());
  ASSERT_TRUE(c);
  ASSERT_EQ(c->ItemCount(), 2);
  auto* in = dynamic_cast<TKxDeContainer*>(c->Items(0));
  ASSERT_TRUE(in);
  ASSERT_EQ(in->ItemCount(), 2);
  EXPECT_EQ(in->Items(1)->PointValue(0), (TPointF{3, 3}));
  EXPECT_EQ(report.ObjectsRead, 5);
  EXPECT_EQ(report.ObjectsSkipped, 0);
  ExpectRoundTrip(outer.get());
  // An empty container writes no "os".
  TOwned<TKxDeContainer> none(Create<TKxDeContainer>(nullptr, nullptr));
  EXPECT_FALSE(ObjectText(none.get()).contains("<os"));
}

TEST_F(XmlFormat, UnknownClassesAreSkippedWithTheirSubtree) {
  const QByteArray text =
      "<o Class=\"TKxDeContainer\"><os>"
      "<o Class=\"TTestShape\"><Name>a</Name></o>"
      "<o Class=\"TNoSuchShape\"><os><o Class=\"TTestShape\"><Name>lost</Name></o></os></o>"
      "<o><Name>no class</Name></o>"
      "<o Class=\"TKxDePoint\"/>"                       // not a shape class
      "<o Class=\"TKxDeLayer\"/>"                       // a layer cannot be a child
      "<o Class=\"TRefusingShape\"/>"                   // its reading fails
      "<o Class=\"ttestshape\"><Name>b</Name></o>"      // class names ignore case
      "<notanobject Class=\"TTestShape\"/>"
      "</os></o>";
  TKxDeXmlReadReport report;
  TOwned<TKxDeShapeBase> back = ReadObject(text, &report);
  auto* c = dynamic_cast<TKxDeContainer*>(back.get());
  ASSERT_TRUE(c);
  ASSERT_EQ(c->ItemCount(), 2);
  EXPECT_EQ(c->Items(0)->Name(), QStringLiteral("a"));
  EXPECT_EQ(c->Items(1)->Name(), QStringLiteral("b"));
  EXPECT_EQ(report.ObjectsRead, 3);
  EXPECT_EQ(report.ObjectsSkipped, 5);
  ASSERT_EQ(report.Messages.size(), 5);
  EXPECT_TRUE(report.Messages[0].contains(QStringLiteral("TNoSuchShape"))) << report.Messages[0].toStdString();
  EXPECT_TRUE(report.Messages[0].contains(QStringLiteral("offset"))) << report.Messages[0].toStdString();
  EXPECT_TRUE(report.Messages[3].contains(QStringLiteral("cannot be placed"))) << report.Messages[3].toStdString();
  EXPECT_TRUE(report.Messages[4].contains(QStringLiteral("cannot read this"))) << report.Messages[4].toStdString();
}

TEST_F(XmlFormat, NestingBeyondTheLimitIsSkipped) {
  // 40 containers inside each other, a shape in the innermost.
  QByteArray text;
  const int levels = 40;
  for (int i = 0; i < levels; ++i) text += "<o Class=\"TKxDeContainer\"><os>";
  text += "<o Class=\"TTestShape\"/>";
  for (int i = 0; i < levels; ++i) text += "</os></o>";
  auto depthOf = [](const TKxDeShapeBase* s) {
    int d = 1;
    while (auto* c = dynamic_cast<const TKxDeContainer*>(s)) {
      if (c->ItemCount() == 0) break;
      s = c->Items(0);
      ++d;
    }
    return d;
  };
  TKxDeXmlReadReport all;
  TOwned<TKxDeShapeBase> whole = ReadObject(text, &all);
  EXPECT_EQ(depthOf(whole.get()), levels + 1);
  EXPECT_EQ(all.ObjectsSkipped, 0);
  TKxDeXmlReadOptions opts;
  opts.MaxDepth = 10;
  TKxDeXmlReadReport cut;
  TOwned<TKxDeShapeBase> part = ReadObject(text, &cut, opts);
  EXPECT_EQ(depthOf(part.get()), 10);
  EXPECT_EQ(cut.ObjectsRead, 10);
  EXPECT_EQ(cut.ObjectsSkipped, 1);
  EXPECT_TRUE(cut.Messages.value(0).contains(QStringLiteral("deeper than 10"))) << cut.Messages.value(0).toStdString();
}

TEST_F(XmlFormat, PastedShapesKeepTheirNewIdentity) {
  auto source = Make<TIdentityShape>({{1, 2}});
  source->SetName(QStringLiteral("src"));
  const QByteArray text = ObjectText(source.get());
  TKxDeXmlReadOptions paste;
  paste.KeepID = true;
  TOwned<TKxDeShapeBase> pasted = ReadObject(text, nullptr, paste);
  ASSERT_TRUE(pasted);
  EXPECT_NE(pasted->ID(), source->ID());
  EXPECT_EQ(pasted->Name(), QStringLiteral("src"));
  // Without it the stored identity comes back.
  TOwned<TKxDeShapeBase> restored = ReadObject(text);
  EXPECT_EQ(restored->ID(), source->ID());
}

}  // namespace
}  // namespace vorn::test
