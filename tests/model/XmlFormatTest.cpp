// Object elements in XML: the shape element (what is written in which order, what reading takes or keeps),
// identities, children and skipped classes; the style elements a shape writes for the
// styles it uses; the elements of containers (bounds, groups and packages, the layer with its default
// properties) and reading shapes into a layer.
#include "XmlTestSupport.h"

namespace vorn::test {
namespace {

class XmlFormat : public ::testing::Test {
 protected:
  TRegisteredClasses Registered{ClassOf<TTestShape>(),     ClassOf<TCurveShape>(),    ClassOf<THandleShape>(),
                                ClassOf<TIdentityShape>(), ClassOf<TRefusingShape>(), ClassOf<TKxDeContainer>(),
                                ClassOf<TFullStyleShape>()};
  QTemporaryDir Dir;

  template <class T>
  TOwned<T> Make(std::initializer_list<TPointF> Points = {}) {
    TOwned<T> s(Create<T>(nullptr, nullptr));
    for (const TPointF& p : Points) s->Add(p.X, p.Y);
    return s;
  }
  // Reads the element text into Shape as a document does.
  static void Load(TKxDeShapeBase* Shape, const QByteArray& Text, bool KeepID = true) {
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

TEST_F(XmlFormat, AnEmptyContainerWritesNoChildrenElement) {
  TOwned<TKxDeContainer> none(Create<TKxDeContainer>(nullptr, nullptr));
  EXPECT_FALSE(ObjectText(none.get()).contains("<os"));
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
}

using XmlContainers = XmlFormat;

TEST_F(XmlContainers, BoundsAreARectInMillimetresAppliedWithSetBounds) {
  TOwned<TKxDeGroup> c(Create<TKxDeGroup>(nullptr, nullptr));
  Box(c.get(), {10, 20, 50, 80});
  TXmlDocument doc;
  TXmlNode o = doc.append_child("o");
  c->SaveBoundsToXML(o);
  EXPECT_EQ(ChildNames(o), (std::vector<std::string>{"Rect"}));
  EXPECT_FLOAT_EQ(XmlReadSingle(o.child("Rect"), "Bottom", 0), 80.0f / CoordsPixelsPerMMConvertValue);
  const float f = CoordsPixelsPerMMConvertValue;
  XmlParse(doc, "<o><Rect><Left>0</Left><Top>0</Top><Right>20</Right><Bottom>10</Bottom></Rect></o>");
  c->LoadBoundsFromXML(doc.child("o"));
  ExpectNear(c->GetBounds(), TRectF{0, 0, 20 * f, 10 * f});
  // A rectangle turned inside out is closed up to its left and top, at the group's least size.
  XmlParse(doc, "<o><Rect><Left>5</Left><Top>5</Top><Right>1</Right><Bottom>NaN</Bottom></Rect></o>");
  c->LoadBoundsFromXML(doc.child("o"));
  ExpectNear(c->GetBounds(), TRectF{5 * f, 5 * f, 5 * f, 5 * f}, 0.011);
}

TEST_F(XmlContainers, PackagesRoundTripWithTheirChildrenAndTakeNewIdentitiesWhenPasted) {
  TOwned<TKxDePackage> p(Create<TKxDePackage>(nullptr, nullptr));
  Box(p.get(), {5, 5, 25, 15});
  TFullStyleShape* member = Create<TFullStyleShape>(nullptr, p.get());
  member->Add(7, 7);
  member->Font()->SetName(CheckForFont(QStringLiteral("sans-serif")));
  p->Brush()->SetColor(0x00AA00);
  p->Brush()->SetStyle(TBrushStyle::bsFDiagonal);
  TXmlDocument doc;
  EXPECT_EQ(ChildNames(TKxDeObjectXml::AppendObject(doc, p.get())),
            (std::vector<std::string>{"Visible", "Locked", "Name", "Text", "Rotation", "Log", "Brush", "PictureStyle",
                                      "Picture", "Rect", "os"}));
  ExpectRoundTrip(p.get());
  // A package reads its identity whatever it is asked, but a paste gives it and its children new ones.
  TOwned<TKxDePackage> q(Create<TKxDePackage>(nullptr, nullptr));
  XmlParse(doc, ObjectText(p.get()));
  q->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(q->ID(), p->ID());
  TKxDeXmlReadOptions paste;
  paste.KeepID = true;
  TOwned<TKxDeShapeBase> pasted = ReadObject(ObjectText(p.get()), nullptr, paste);
  EXPECT_NE(pasted->ID(), p->ID());
  EXPECT_NE(dynamic_cast<TKxDeContainer*>(pasted.get())->Items(0)->ID(), p->Items(0)->ID());
  // An empty package keeps its rectangle.
  TOwned<TKxDePackage> empty(Create<TKxDePackage>(nullptr, nullptr));
  empty->SetBounds(12, 34, 56, 78);
  ExpectNear(ReadObject(ObjectText(empty.get()))->GetBounds(), TRectF{12, 34, 68, 112}, 1e-4);
}

TEST_F(XmlContainers, TheLayerElementCarriesItsAttributesAndDefaultsButNoGeometry) {
  TOwned<TKxDeLayer> layer(Create<TKxDeLayer>(nullptr));
  layer->Resize(500, 300);
  layer->SetPrintingAllowed(false);
  layer->SetKindOfLayer(TKxDeKindOfLayer::kxdekol600);
  layer->SetOverrideVisibleProperty(false);
  Box(layer.get(), {1, 1, 2, 2});
  TXmlDocument doc;
  TXmlNode o = doc.append_child("o");
  layer->SaveToXML(o);
  EXPECT_EQ(ChildNames(o), (std::vector<std::string>{"Visible", "Locked", "Name", "Text", "Rotation", "Log",
                                                     "PrintingAllowed", "Kind", "Override", "DefaultProperties"}));
  EXPECT_EQ(XmlReadInteger(o, "Kind", -1), 3);
  TOwned<TKxDeLayer> back(Create<TKxDeLayer>(nullptr));
  back->LoadFromXML(o, true);  // a layer takes the stored identity whatever it is asked
  EXPECT_EQ(back->ID(), layer->ID());
  EXPECT_EQ(back->GetBounds(), TRectF{}) << "untouched by reading";
  TXmlDocument again;
  back->SaveToXML(again.append_child("o"));
  EXPECT_EQ(XmlToText(again, false), XmlToText(doc, false));
  XmlParse(again, "<o><Kind>9</Kind></o>");
  back->LoadFromXML(again.child("o"), false);
  EXPECT_EQ(back->KindOfLayer(), TKxDeKindOfLayer::kxdekol600) << "impossible kinds are ignored";
  EXPECT_FALSE(back->PrintingAllowed()) << "absent values are kept";
}

TEST_F(XmlContainers, DefaultPropertiesAreAttributesAndThePenWidthIsNeverStored) {
  TOwned<TKxDeLayer> layer(Create<TKxDeLayer>(nullptr));
  TmekLayerObjectsDefaultProperties* d = layer->ObjectsDefaultProperties();
  d->SetBrush({0x112233, TBrushStyle::bsCross});
  d->SetUseDefaultBrush(false);
  d->SetPen({clWindowText, TPenMode::pmXor, TPenStyle::psDot, 1.5f});
  d->SetFont({2, QStringLiteral("Courier & Co"), 4.5f, TFontStyles{TFontStyle::fsItalic}});
  d->SetGradient({0x0000FF, 0xFF0000, true, -30, 55, TKxDeShapeGradientStyle::kxdgsRadialC});
  d->ColorManagementProperties()->SetSplitColor(0x00FF00);
  TXmlDocument doc;
  TXmlNode e = doc.append_child("DefaultProperties");
  d->SaveToXML(e);
  EXPECT_EQ(XmlToText(e.child("Pen"), false),
            QByteArray("<Pen UseDefaultPen=\"true\" Color=\"-16777208\" Style=\"2\" Mode=\"14\"/>"));
  EXPECT_EQ(
      XmlToText(e.child("Font"), false),
      QByteArray(
          "<Font UseDefaultFont=\"true\" Fontname=\"Courier &amp; Co\" Style=\"2\" Size=\"4.5\" Charset=\"2\"/>"));
  EXPECT_EQ(ChildNames(e), (std::vector<std::string>{"Brush", "Pen", "Font", "Gradient", "SplitColors"}));
  TOwned<TKxDeLayer> other(Create<TKxDeLayer>(nullptr));
  TmekLayerObjectsDefaultProperties* o = other->ObjectsDefaultProperties();
  o->LoadFromXML(e);
  EXPECT_EQ(o->Pen().Width, 0.2f) << "the pen width stays at its default";
  TXmlDocument again;
  o->SaveToXML(again.append_child("DefaultProperties"));
  EXPECT_EQ(XmlToText(again, false), XmlToText(doc, false));
  // Absent values are kept; damaged ones are refused or clamped.
  XmlParse(again,
           "<d><Gradient Shift=\"250\" Style=\"77\" ColorEnd=\"x\"/><Font Charset=\"999\" Size=\"NaN\"/>"
           "<Pen Mode=\"-1\"/></d>");
  o->LoadFromXML(again.child("d"));
  EXPECT_EQ(o->Gradient().Shift, 100);
  EXPECT_EQ(o->Gradient().Style, TKxDeShapeGradientStyle::kxdgsRadialC);
  EXPECT_EQ(o->Gradient().ColorEnd, 0xFF0000);
  EXPECT_EQ(o->Font(), d->Font());
  EXPECT_EQ(o->Pen().Mode, TPenMode::pmXor);
}

TEST_F(XmlContainers, ShapesReadIntoALayerKeepTheirOwnStyles) {
  TOwned<TCountingLayer> layer(Create<TCountingLayer>(nullptr));
  TOwned<TFullStyleShape> source(Create<TFullStyleShape>(nullptr, nullptr));
  source->Brush()->SetColor(0x123456);
  source->Pen()->SetWidth(0.7f);
  TXmlDocument doc;
  TXmlNode os = doc.append_child("os");
  TKxDeObjectXml::AppendObject(os, source.get());
  TKxDeObjectXml::AppendObject(os, source.get());
  EXPECT_EQ(TKxDeObjectXml::LoadObjects(os, layer.get()), 2);
  EXPECT_TRUE(layer->Styled.empty());
  EXPECT_EQ(layer->Items(1)->Pen()->Width(), 0.7f);
  EXPECT_EQ(layer->SkipDefaultPropertyCount(), 0);
  Create<TFullStyleShape>(nullptr, layer.get());
  EXPECT_EQ(layer->Styled.size(), 1u) << "a shape made in the layer afterwards takes them";
}

class XmlStyles : public XmlFormat {
 protected:
  // A font that is installed, so that reading it back needs no substitution.
  const QString Installed = CheckForFont(QStringLiteral("sans-serif"));

  TOwned<TFullStyleShape> MakeStyled() {
    TOwned<TFullStyleShape> s(Create<TFullStyleShape>(nullptr, nullptr));
    s->Add(1, 2);
    s->Add(30, 40);
    s->Brush()->SetColor(0x3366FF);
    s->Brush()->SetStyle(TBrushStyle::bsCross);
    s->Pen()->SetWidth(0.35f);
    s->Pen()->SetStyle(TPenStyle::psDashDot);
    s->Font()->SetName(Installed);
    s->Font()->SetSize(14);
    s->Font()->SetStyle(TFontStyles{TFontStyle::fsBold, TFontStyle::fsStrikeOut});
    s->Gradient()->SetStyle(TKxDeShapeGradientStyle::kxdgsDiamond);
    s->Gradient()->SetShift(-40);
    s->Gradient()->SetReverse(true);
    s->SetPictureStyle(TKxDeShapePictureStyle::kxdspTiled);
    return s;
  }
};

TEST_F(XmlStyles, OnlyUsedStylesAreWrittenInTheirOrderAndRead) {
  auto s = MakeStyled();
  TXmlDocument doc;
  TXmlNode o = TKxDeObjectXml::AppendObject(doc, s.get());
  EXPECT_EQ(ChildNames(o),
            (std::vector<std::string>{"Visible", "Locked", "Name", "Text", "Rotation", "RotationPoint", "Log", "Brush",
                                      "Pen", "Font", "PictureStyle", "Picture", "Gradient", "Points"}));
  EXPECT_EQ(ChildNames(o.child("Pen")), (std::vector<std::string>{"Color", "Mode", "Style", "Width"}));
  EXPECT_EQ(ChildNames(o.child("Font")), (std::vector<std::string>{"Charset", "Color", "Name", "Size", "Style"}));
  EXPECT_EQ(XmlReadInteger(o.child("Font"), "Style", 0), 1 | 8);
  EXPECT_EQ(XmlReadInteger(o.child("Gradient"), "ColorBegin", 0), 0x3366FF) << "the shape colour";
  TOwned<TTestShape> plain(Create<TTestShape>(nullptr, nullptr));
  TXmlDocument plainDoc;
  EXPECT_EQ(ChildNames(TKxDeObjectXml::AppendObject(plainDoc, plain.get())),
            (std::vector<std::string>{"Visible", "Locked", "Name", "Text", "Rotation", "Log", "Pen"}));
  Load(plain.get(), ObjectText(s.get()));
  EXPECT_EQ(plain->Color(), clWhite) << "styles a shape does not use are ignored";
  EXPECT_EQ(plain->Pen()->Width(), 0.35f);
}

TEST_F(XmlStyles, ReadValuesAreCorrectedOrDefaulted) {
  TOwned<TFullStyleShape> s(Create<TFullStyleShape>(nullptr, nullptr));
  s->Pen()->SetWidth(0.5f);
  s->Pen()->SetMode(TPenMode::pmXor);
  s->SetPictureStyle(TKxDeShapePictureStyle::kxdspCenter);
  Load(s.get(),
       "<o><Pen><Style>3</Style></Pen><Brush><Color>255</Color><Style>42</Style></Brush>"
       "<Font><Charset>300</Charset><Size>99999999</Size><Style>255</Style></Font>"
       "<Gradient><Shift>250</Shift><Rotation>-1000</Rotation><Style>99</Style></Gradient></o>");
  EXPECT_EQ(s->Pen()->Mode(), TPenMode::pmCopy);
  EXPECT_EQ(s->Pen()->Width(), 0.5f);
  EXPECT_EQ(s->Brush()->Style(), TBrushStyle::bsSolid);
  EXPECT_EQ(s->Gradient()->Shift(), 100);
  EXPECT_EQ(s->Gradient()->Rotation(), -100);
  EXPECT_EQ(s->Gradient()->Style(), TKxDeShapeGradientStyle::kxdgsNone);
  EXPECT_EQ(s->Color(), 255) << "the gradient's begin colour, read last, keeps what the brush brought";
  EXPECT_EQ(s->Font()->Charset(), 1);
  EXPECT_EQ(s->Font()->Size(), 3);
  EXPECT_EQ(TKxDeUtils::FontStyleToInteger(s->Font()->Style()), 15);
  EXPECT_EQ(s->PictureStyle(), TKxDeShapePictureStyle::kxdspStretch) << "absent: the default";
  for (const char* bad : {"NaN", "1e30", "-INF", "wide"}) {
    Load(s.get(), QByteArray("<o><Pen><Width>") + bad + "</Width></Pen></o>");
    EXPECT_EQ(s->Pen()->Width(), 0.5f) << bad;
  }
  Load(s.get(), "<o><Pen><Width>-2</Width></Pen></o>");
  EXPECT_EQ(s->Pen()->Width(), -2.0f) << "a negative width is kept as written";
}

TEST_F(XmlStyles, ATextViewSetsThePointSizeFromItsHeightAndReadsItAsWritten) {
  TOwned<TFullStyleShape> s(Create<TFullStyleShape>(nullptr, nullptr));
  TOwned<TmekFont> font(Create<TmekFont>(s.get()));
  EXPECT_EQ(font->Font(), s->Font());
  font->SetHeight(-2);
  EXPECT_EQ(s->Font()->Size(), TKxDeUtils::MMToFontPoints(3.0f)) << "non-positive heights are ignored";
  font->SetHeight(4.25f);
  EXPECT_EQ(s->Font()->Size(), TKxDeUtils::MMToFontPoints(4.25f));
  TXmlDocument doc;
  font->SaveToXML(doc.append_child("Font"));
  EXPECT_EQ(XmlToText(doc.child("Font"), false), QByteArray("<Font><Height>4.25</Height></Font>"));
  TOwned<TFullStyleShape> t(Create<TFullStyleShape>(nullptr, nullptr));
  TOwned<TmekFont> other(Create<TmekFont>(t.get()));
  const int32_t sizeBefore = other->Size();
  other->LoadFromXML(doc.child("Font"));
  EXPECT_EQ(other->Height(), 4.25f);
  EXPECT_EQ(other->Size(), sizeBefore) << "read directly: the point size is not recalculated";
}

}  // namespace
}  // namespace vorn::test
