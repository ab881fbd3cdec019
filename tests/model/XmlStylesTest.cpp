// A shape's style elements inside its shape element: which are written for which styles, in which
// order, what reading them announces, and the values the style objects correct or replace.

#include "XmlTestSupport.h"

#include <vorn/common/KxDeUtils.h>
#include <vorn/model/KxDeShapeFont.h>
#include <vorn/model/KxDeShapeGradient.h>

namespace vorn::test {
namespace {

class XmlStyles : public ::testing::Test {
 protected:
  TRegisteredClasses Registered{ClassOf<TTestShape>(), ClassOf<TFullStyleShape>()};
  QTemporaryDir Dir;
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
  static void Load(TKxDeShapeBase* S, const QByteArray& Text) {
    TXmlDocument doc;
    XmlParse(doc, Text);
    S->LoadFromXML(doc.child("o"), true);
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

TEST_F(XmlStyles, AStyledShapeRoundTripsWithItsStoredPictureFile) {
  auto s = MakeStyled();
  const QString png = WriteImage(Dir, QStringLiteral("p.png"), 9, 6);
  s->Picture()->LoadFromFile(png);
  const QByteArray first = ObjectText(s.get());
  ExpectRoundTrip(s.get());
  TXmlDocument doc;
  XmlParse(doc, first);
  const TXmlNode data = doc.child("o").child("Picture").child("Data");
  EXPECT_TRUE(XmlReadAttrBool(data, "File", false));
  QByteArray bytes;
  ASSERT_TRUE(XmlReadBytes(data, bytes));
  EXPECT_EQ(bytes, ReadFile(png)) << "the stored picture is the file itself";
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
