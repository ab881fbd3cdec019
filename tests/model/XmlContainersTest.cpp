// The elements of containers: the bounds rectangle, groups and packages with their children, the
// layer element with its default properties, and reading shapes into a layer.

#include "XmlTestSupport.h"

#include <vorn/common/CommonLib.h>
#include <vorn/common/Units.h>
#include <vorn/model/KxDeShapeFont.h>
#include <vorn/model/KxDeGroup.h>
#include <vorn/model/KxDeObjectXml.h>
#include <vorn/model/KxDePackage.h>
#include <vorn/model/KxDeShapeGradient.h>
#include <vorn/model/mekLayerObjectsDefaultProperties.h>

#include <QImage>
#include <QTemporaryDir>

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
  EXPECT_EQ(ChildNames(o.child("Rect")), (std::vector<std::string>{"Left", "Top", "Right", "Bottom"}));
  EXPECT_FLOAT_EQ(XmlReadSingle(o.child("Rect"), "Bottom", 0), 80.0f / CoordsPixelsPerMMConvertValue);
  EXPECT_FALSE(o.child("Points"));  // a container's geometry is its rectangle
  // Reading moves and sizes the children to the rectangle.
  TXmlDocument in;
  XmlParse(in, "<o><Rect><Left>0</Left><Top>0</Top><Right>20</Right><Bottom>10</Bottom></Rect></o>");
  c->LoadBoundsFromXML(in.child("o"));
  const float f = CoordsPixelsPerMMConvertValue;
  EXPECT_FLOAT_EQ(c->GetBounds().Left, 0);
  EXPECT_FLOAT_EQ(c->GetBounds().Right, 20 * f);
  EXPECT_FLOAT_EQ(c->GetBounds().Bottom, 10 * f);
  // A rectangle turned inside out is closed: Right and Bottom come up to Left and Top, and the
  // group's smallest size applies.
  XmlParse(in, "<o><Rect><Left>5</Left><Top>5</Top><Right>1</Right><Bottom>NaN</Bottom></Rect></o>");
  c->LoadBoundsFromXML(in.child("o"));
  EXPECT_FLOAT_EQ(c->GetBounds().Left, 5 * f);
  EXPECT_FLOAT_EQ(c->GetBounds().Top, 5 * f);
  EXPECT_LE(c->GetBounds().Width(), 0.011f);
  EXPECT_LE(c->GetBounds().Height(), 0.011f);
}

TEST_F(XmlContainers, GroupsAndPackagesRoundTripWithTheirChildren) {
  TOwned<TKxDeGroup> g(Create<TKxDeGroup>(nullptr, nullptr));
  Box(g.get(), 0, 0, 10, 10);
  TKxDeGroup* inner = Create<TKxDeGroup>(nullptr, g.get());
  Box(inner, 20, 5, 30, 40)->SetName(QStringLiteral("deep"));
  Box(inner, -3, 7, 1, 9);
  g->SetName(QStringLiteral("outer group"));
  ExpectRoundTrip(g.get());
  TOwned<TKxDeShapeBase> back = ReadObject(ObjectText(g.get()));
  auto* bg = dynamic_cast<TKxDeGroup*>(back.get());
  ASSERT_TRUE(bg);
  ASSERT_EQ(bg->ItemCount(), 2);
  auto* bi = dynamic_cast<TKxDeGroup*>(bg->Items(1));
  ASSERT_TRUE(bi);
  EXPECT_EQ(bi->Items(0)->Name(), QStringLiteral("deep"));
  EXPECT_EQ(bg->GetBounds(), g->GetBounds());
  EXPECT_EQ(bi->Items(0)->ID(), inner->Items(0)->ID());

  TOwned<TKxDePackage> p(Create<TKxDePackage>(nullptr, nullptr));
  Box(p.get(), 5, 5, 25, 15);
  TFullStyleShape* member = Create<TFullStyleShape>(nullptr, p.get());
  member->Add(7, 7);
  member->Font()->SetName(CheckForFont(QStringLiteral("sans-serif")));
  p->Brush()->SetColor(0x00AA00);
  p->Brush()->SetStyle(TBrushStyle::bsFDiagonal);
  TXmlDocument doc;
  TXmlNode o = TKxDeObjectXml::AppendObject(doc, p.get());
  EXPECT_EQ(ChildNames(o), (std::vector<std::string>{"Visible", "Locked", "Name", "Text", "Rotation", "Log", "Brush",
                                                     "PictureStyle", "Picture", "Rect", "os"}));
  ExpectRoundTrip(p.get());
  TOwned<TKxDeShapeBase> bp = ReadObject(ObjectText(p.get()));
  EXPECT_EQ(bp->Brush()->Style(), TBrushStyle::bsFDiagonal);
  EXPECT_EQ(bp->Color(), 0x00AA00);
}

TEST_F(XmlContainers, AnEmptyPackageKeepsItsRectangle) {
  TOwned<TKxDePackage> p(Create<TKxDePackage>(nullptr, nullptr));
  p->SetBounds(12, 34, 56, 78);
  ASSERT_EQ(p->GetBounds(), (TRectF{12, 34, 68, 112}));
  ExpectRoundTrip(p.get());
  TOwned<TKxDeShapeBase> back = ReadObject(ObjectText(p.get()));
  EXPECT_NEAR(back->GetBounds().Left, 12, 1e-4);
  EXPECT_NEAR(back->GetBounds().Bottom, 112, 1e-4);
}

TEST_F(XmlContainers, PackagesReadTheirIdentityEvenWhenPastedButPastingRestoresTheNewOne) {
  TOwned<TKxDePackage> p(Create<TKxDePackage>(nullptr, nullptr));
  Box(p.get(), 0, 0, 1, 1);
  const QByteArray text = ObjectText(p.get());
  TOwned<TKxDePackage> q(Create<TKxDePackage>(nullptr, nullptr));
  TXmlDocument doc;
  XmlParse(doc, text);
  q->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(q->ID(), p->ID());
  TKxDeXmlReadOptions paste;
  paste.KeepID = true;
  TOwned<TKxDeShapeBase> pasted = ReadObject(text, nullptr, paste);
  ASSERT_TRUE(pasted);
  EXPECT_NE(pasted->ID(), p->ID());
  auto* pc = dynamic_cast<TKxDeContainer*>(pasted.get());
  ASSERT_EQ(pc->ItemCount(), 1);
  EXPECT_NE(pc->Items(0)->ID(), p->Items(0)->ID());  // the children are new shapes too
}

TEST_F(XmlContainers, LayerElementCarriesItsAttributesAndDefaultsButNoGeometry) {
  TOwned<TKxDeLayer> layer(Create<TKxDeLayer>(nullptr));
  layer->Resize(500, 300);
  layer->SetName(QStringLiteral("Print"));
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
  EXPECT_FALSE(o.child("os"));  // the children are the caller's to write
  TOwned<TKxDeLayer> back(Create<TKxDeLayer>(nullptr));
  back->LoadFromXML(o, true);  // a layer takes the stored identity whatever it is asked
  EXPECT_EQ(back->ID(), layer->ID());
  EXPECT_FALSE(back->PrintingAllowed());
  EXPECT_EQ(back->KindOfLayer(), TKxDeKindOfLayer::kxdekol600);
  EXPECT_FALSE(back->OverrideVisibleProperty());
  EXPECT_EQ(back->GetBounds(), TRectF{});  // untouched by reading
  TXmlDocument again;
  back->SaveToXML(again.append_child("o"));
  EXPECT_EQ(XmlToText(again, false), XmlToText(doc, false));
  // Impossible kinds and missing values keep what the layer has.
  XmlParse(again, "<o><Kind>9</Kind></o>");
  back->LoadFromXML(again.child("o"), false);
  EXPECT_EQ(back->KindOfLayer(), TKxDeKindOfLayer::kxdekol600);
  EXPECT_FALSE(back->PrintingAllowed());
}

TEST_F(XmlContainers, DefaultPropertiesAreAttributesAndThePenWidthIsNeverStored) {
  TOwned<TKxDeLayer> layer(Create<TKxDeLayer>(nullptr));
  TmekLayerObjectsDefaultProperties* d = layer->ObjectsDefaultProperties();
  d->SetBrush({0x112233, TBrushStyle::bsCross});
  d->SetUseDefaultBrush(false);
  d->SetPen({clWindowText, TPenMode::pmXor, TPenStyle::psDot, 1.5f});
  d->SetFont({2, QStringLiteral("Courier & Co"), 4.5f, TFontStyles{TFontStyle::fsItalic}});
  d->SetGradient({0x0000FF, 0xFF0000, true, -30, 55, TKxDeShapeGradientStyle::kxdgsRadialC});
  d->SetUseDefaultGradient(false);
  d->ColorManagementProperties()->SetSplitColor(0x00FF00);
  TXmlDocument doc;
  TXmlNode e = doc.append_child("DefaultProperties");
  d->SaveToXML(e);
  EXPECT_EQ(
      XmlToText(e, false),
      QByteArray("<DefaultProperties>"
                 "<Brush UseDefaultBrush=\"false\" Color=\"1122867\" Style=\"6\"/>"
                 "<Pen UseDefaultPen=\"true\" Color=\"-16777208\" Style=\"2\" Mode=\"14\"/>"
                 "<Font UseDefaultFont=\"true\" Fontname=\"Courier &amp; Co\" Style=\"2\" Size=\"4.5\" Charset=\"2\"/>"
                 "<Gradient UseDefaultGradient=\"false\" ColorBegin=\"255\" ColorEnd=\"16711680\" Reverse=\"true\" "
                 "Rotation=\"-30\" Shift=\"55\" Style=\"1\"/>"
                 "<SplitColors Class=\"TmekColorManagementProperties\"><SplitColor>65280</SplitColor>"
                 "<SatTolPositive>10</SatTolPositive><HueTolPositive>10</HueTolPositive>"
                 "<SatTolNegative>-10</SatTolNegative><HueTolNegative>-10</HueTolNegative>"
                 "<AutoLevels>false</AutoLevels><ApplyGammaCorrection>true</ApplyGammaCorrection>"
                 "<GammaCorrection>0.5</GammaCorrection><FullPictureOnColorHead>false</FullPictureOnColorHead>"
                 "</SplitColors></DefaultProperties>"));
  // A fresh layer reads everything but the pen width, which stays at its default.
  TOwned<TKxDeLayer> other(Create<TKxDeLayer>(nullptr));
  TmekLayerObjectsDefaultProperties* o = other->ObjectsDefaultProperties();
  o->LoadFromXML(e);
  EXPECT_EQ(o->Brush(), d->Brush());
  EXPECT_FALSE(o->UseDefaultBrush());
  EXPECT_EQ(o->Pen().Width, 0.2f);
  EXPECT_EQ(o->Pen().Mode, TPenMode::pmXor);
  EXPECT_EQ(o->Font(), d->Font());
  EXPECT_EQ(o->Gradient(), d->Gradient());
  EXPECT_EQ(o->ColorManagementProperties()->SplitColor(), 0x00FF00);
  TXmlDocument again;
  o->SaveToXML(again.append_child("DefaultProperties"));
  EXPECT_EQ(XmlToText(again, false), XmlToText(doc, false));
  // Absent children and attributes keep the current values; damaged ones are refused or clamped.
  XmlParse(again, "<d><Gradient Shift=\"250\" Style=\"77\" ColorEnd=\"x\"/><Font Charset=\"999\" Size=\"NaN\"/>"
                  "<Pen Mode=\"-1\"/></d>");
  o->LoadFromXML(again.child("d"));
  EXPECT_EQ(o->Gradient().Shift, 100);
  EXPECT_EQ(o->Gradient().Style, TKxDeShapeGradientStyle::kxdgsRadialC);
  EXPECT_EQ(o->Gradient().ColorEnd, 0xFF0000);
  EXPECT_EQ(o->Font().Charset, 2);
  EXPECT_EQ(o->Font().Size, 4.5f);
  EXPECT_EQ(o->Pen().Mode, TPenMode::pmXor);
  EXPECT_EQ(o->Brush(), d->Brush());
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
  Create<TFullStyleShape>(nullptr, layer.get());
  EXPECT_EQ(layer->Defaulted, 1);  // a shape made in the layer takes its defaults
  TOwned<TFullStyleShape> source(Create<TFullStyleShape>(nullptr, nullptr));
  source->Brush()->SetColor(0x123456);
  source->Pen()->SetWidth(0.7f);
  TXmlDocument doc;
  TXmlNode os = doc.append_child("os");
  TKxDeObjectXml::AppendObject(os, source.get());
  TKxDeObjectXml::AppendObject(os, source.get());
  EXPECT_EQ(TKxDeObjectXml::LoadObjects(os, layer.get()), 2);
  EXPECT_EQ(layer->Defaulted, 1);  // shapes read into it keep what they were written with
  ASSERT_EQ(layer->ItemCount(), 3);
  EXPECT_EQ(layer->Items(2)->Brush()->Color(), 0x123456);
  EXPECT_EQ(layer->Items(2)->Pen()->Width(), 0.7f);
  EXPECT_EQ(layer->SkipDefaultPropertyCount(), 0);
  Create<TFullStyleShape>(nullptr, layer.get());
  EXPECT_EQ(layer->Defaulted, 2);
}

}  // namespace
}  // namespace vorn::test
