// The elements of containers: the bounds rectangle, groups and packages with their children, the
// layer element with its default properties, and reading shapes into a layer.

#include "XmlTestSupport.h"

#include <vorn/model/KxDeGroup.h>
#include <vorn/model/KxDePackage.h>
#include <vorn/model/KxDeShapeFont.h>
#include <vorn/model/KxDeShapeGradient.h>
#include <vorn/model/mekLayerObjectsDefaultProperties.h>

namespace vorn::test {
namespace {

class XmlContainers : public ::testing::Test {
 protected:
  TRegisteredClasses Registered{ClassOf<TTestShape>(), ClassOf<TFullStyleShape>(), ClassOf<TKxDeContainer>()};

  static TTestShape* Box(TKxDeContainer* Owner, float L, float T, float R, float B) {
    TTestShape* s = Create<TTestShape>(nullptr, Owner);
    s->Add(L, T);
    s->Add(R, B);
    return s;
  }
};

TEST_F(XmlContainers, BoundsAreARectInMillimetresAppliedWithSetBounds) {
  TOwned<TKxDeGroup> c(Create<TKxDeGroup>(nullptr, nullptr));
  Box(c.get(), 10, 20, 50, 80);
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

TEST_F(XmlContainers, GroupsAndPackagesRoundTripWithTheirChildren) {
  TOwned<TKxDeGroup> g(Create<TKxDeGroup>(nullptr, nullptr));
  Box(g.get(), 0, 0, 10, 10);
  TKxDeGroup* inner = Create<TKxDeGroup>(nullptr, g.get());
  Box(inner, 20, 5, 30, 40)->SetName(QStringLiteral("deep"));
  Box(inner, -3, 7, 1, 9);
  ExpectRoundTrip(g.get());

  TOwned<TKxDePackage> p(Create<TKxDePackage>(nullptr, nullptr));
  Box(p.get(), 5, 5, 25, 15);
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
  EXPECT_EQ(ReadObject(ObjectText(p.get()))->Brush()->Style(), TBrushStyle::bsFDiagonal);
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
  Box(layer.get(), 1, 1, 2, 2);
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
  EXPECT_EQ(o->Brush(), d->Brush());
  EXPECT_FALSE(o->UseDefaultBrush());
  EXPECT_EQ(o->Pen().Width, 0.2f) << "the pen width stays at its default";
  EXPECT_EQ(o->Font(), d->Font());
  EXPECT_EQ(o->Gradient(), d->Gradient());
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

// A layer that counts the shapes it gives its default styles to.
class TCountingLayer : public TKxDeLayer {
 public:
  using TKxDeLayer::TKxDeLayer;
  int Defaulted = 0;
  void AssignDefaultPropertiesToShape(TKxDeShapeBase* S) override {
    ++Defaulted;
    TKxDeLayer::AssignDefaultPropertiesToShape(S);
  }
};

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
  EXPECT_EQ(layer->Defaulted, 0);
  EXPECT_EQ(layer->Items(1)->Pen()->Width(), 0.7f);
  EXPECT_EQ(layer->SkipDefaultPropertyCount(), 0);
  Create<TFullStyleShape>(nullptr, layer.get());
  EXPECT_EQ(layer->Defaulted, 1) << "a shape made in the layer afterwards takes them";
}

}  // namespace
}  // namespace vorn::test
