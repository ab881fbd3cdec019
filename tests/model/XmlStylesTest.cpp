// A shape's style elements inside its shape element: which are written for which styles, in which
// order, what reading them announces, and the values the style objects correct or replace.

#include "XmlTestSupport.h"

#include <vorn/common/CommonLib.h>
#include <vorn/common/Units.h>
#include <vorn/model/KxDeObjectXml.h>
#include <vorn/model/KxDeShapeFont.h>
#include <vorn/model/KxDeShapeGradient.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cmath>

namespace vorn::test {
namespace {

class XmlStyles : public ::testing::Test {
 protected:
  TRegisteredClasses Registered{ClassOf<TTestShape>(), ClassOf<TFullStyleShape>()};
  QTemporaryDir Dir;
  // A font that is installed, so that reading it back needs no substitution.
  const QString Installed = CheckForFont(QStringLiteral("sans-serif"));

  QString WritePng(const QString& Name, int W, int H) {
    QImage img(W, H, QImage::Format_ARGB32);
    img.fill(QColor(20, 120, 220));
    const QString p = Dir.filePath(Name);
    EXPECT_TRUE(img.save(p, "PNG"));
    return p;
  }
  TOwned<TFullStyleShape> MakeStyled() {
    TOwned<TFullStyleShape> s(Create<TFullStyleShape>(nullptr, nullptr));
    s->Add(1, 2);
    s->Add(30, 40);
    s->Brush()->SetColor(0x3366FF);
    s->Brush()->SetStyle(TBrushStyle::bsCross);
    s->Pen()->SetColor(clWindowText);
    s->Pen()->SetWidth(0.35f);
    s->Pen()->SetStyle(TPenStyle::psDashDot);
    s->Font()->SetName(Installed);
    s->Font()->SetSize(14);
    s->Font()->SetStyle(TFontStyles{TFontStyle::fsBold, TFontStyle::fsStrikeOut});
    s->Font()->SetColor(0x0000FF);
    s->Gradient()->SetColorEnd(0x00FFFF);
    s->Gradient()->SetStyle(TKxDeShapeGradientStyle::kxdgsDiamond);
    s->Gradient()->SetShift(-40);
    s->Gradient()->SetRotation(75);
    s->Gradient()->SetReverse(true);
    s->SetPictureStyle(TKxDeShapePictureStyle::kxdspTiled);
    return s;
  }
};

TEST_F(XmlStyles, StylesFollowTheIdentityInTheirOrder) {
  auto s = MakeStyled();
  s->SetUserData1(QStringLiteral("u"));
  TXmlDocument doc;
  TXmlNode o = TKxDeObjectXml::AppendObject(doc, s.get());
  EXPECT_EQ(ChildNames(o), (std::vector<std::string>{"Visible", "Locked", "Name", "Text", "Rotation", "RotationPoint",
                                                     "Log", "UserData1", "Brush", "Pen", "Font", "PictureStyle",
                                                     "Picture", "Gradient", "Points"}));
  EXPECT_EQ(ChildNames(o.child("Pen")), (std::vector<std::string>{"Color", "Mode", "Style", "Width"}));
  EXPECT_EQ(ChildNames(o.child("Brush")), (std::vector<std::string>{"Color", "Style"}));
  EXPECT_EQ(ChildNames(o.child("Font")), (std::vector<std::string>{"Charset", "Color", "Name", "Size", "Style"}));
  EXPECT_EQ(ChildNames(o.child("Gradient")),
            (std::vector<std::string>{"ColorBegin", "ColorEnd", "Reverse", "Rotation", "Shift", "Style"}));
  EXPECT_EQ(XmlReadInteger(o.child("Pen"), "Color", 0), -16777208);  // system colours are negative
  EXPECT_EQ(XmlReadSingle(o.child("Pen"), "Width", 0), 0.35f);
  EXPECT_EQ(XmlReadInteger(o.child("Font"), "Style", 0), 1 | 8);
  EXPECT_EQ(XmlReadInteger(o, "PictureStyle", -1), 2);
  // The gradient starts at the shape colour, which the brush set.
  EXPECT_EQ(XmlReadInteger(o.child("Gradient"), "ColorBegin", 0), 0x3366FF);
}

TEST_F(XmlStyles, OnlyUsedStylesAreWrittenAndRead) {
  TOwned<TTestShape> plain(Create<TTestShape>(nullptr, nullptr));
  TXmlDocument doc;
  TXmlNode o = TKxDeObjectXml::AppendObject(doc, plain.get());
  for (const char* style : {"Brush", "Font", "PictureStyle", "Picture", "Gradient"})
    EXPECT_FALSE(o.child(style)) << style;
  EXPECT_TRUE(o.child("Pen"));
  // A plain shape ignores style elements it does not use.
  auto styled = MakeStyled();
  TXmlDocument full;
  XmlParse(full, ObjectText(styled.get()));
  plain->LoadFromXML(full.child("o"), true);
  EXPECT_EQ(plain->Brush()->Color(), clWhite);
  EXPECT_EQ(plain->Pen()->Width(), 0.35f);  // the pen it does use
  EXPECT_EQ(plain->Color(), clWhite);
  EXPECT_EQ(plain->Gradient(), nullptr);
}

TEST_F(XmlStyles, StyledShapeRoundTripsWithItsStoredPicture) {
  auto s = MakeStyled();
  s->Picture()->LoadFromFile(WritePng(QStringLiteral("p.png"), 9, 6));
  const QByteArray first = ObjectText(s.get());
  TOwned<TKxDeShapeBase> back = ReadObject(first);
  ASSERT_TRUE(back);
  EXPECT_EQ(ObjectText(back.get()).toStdString(), first.toStdString());
  EXPECT_EQ(back->Brush()->Style(), TBrushStyle::bsCross);
  EXPECT_EQ(back->Color(), 0x3366FF);
  EXPECT_EQ(back->Font()->Name(), Installed);
  EXPECT_TRUE(back->Font()->Substituted().isEmpty());
  EXPECT_EQ(back->Font()->Size(), 14);
  EXPECT_EQ(back->Gradient()->Shift(), -40);
  EXPECT_TRUE(back->Gradient()->Reverse());
  EXPECT_EQ(back->PictureStyle(), TKxDeShapePictureStyle::kxdspTiled);
  EXPECT_EQ(back->Picture()->GetWidth(), 9);
  EXPECT_EQ(back->Picture()->GetGraphic()->ClassName(), QStringLiteral("TPngImage"));
  // The stored picture is the PNG file itself.
  TXmlDocument doc;
  XmlParse(doc, first);
  const TXmlNode data = doc.child("o").child("Picture").child("Data");
  EXPECT_TRUE(XmlReadAttrBool(data, "File", false));
  QByteArray bytes;
  ASSERT_TRUE(XmlReadBytes(data, bytes));
  QFile f(Dir.filePath(QStringLiteral("p.png")));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(bytes, f.readAll());
}

TEST_F(XmlStyles, EachStyleElementIsOneAnnouncementPair) {
  auto source = MakeStyled();
  TXmlDocument doc;
  XmlParse(doc, ObjectText(source.get()));
  TCallLog log;
  auto* surface = new TRecordingSurface(&log);
  TKxDeLayer* layer = Create<TKxDeLayer>(surface);
  TFullStyleShape* s = Create<TFullStyleShape>(nullptr, layer);
  log.Names[s] = "shape";
  log.Clear();
  s->LoadFromXML(doc.child("o"), true);
  // Before and after for brush and pen (with their property names after), before for the others.
  EXPECT_EQ(log.Count("start kxacChangingBrush shape "), 1u);
  EXPECT_EQ(log.Count("start kxacChangingBrush shape Brush"), 1u);
  EXPECT_EQ(log.Count("start kxacChangingPen shape "), 1u);
  EXPECT_EQ(log.Count("start kxacChangingPen shape Pen"), 1u);
  EXPECT_EQ(log.Count("start kxacChangingFont shape "), 1u);
  EXPECT_EQ(log.Count("start kxacChangingGradient shape "), 1u);
  delete surface;
}

TEST_F(XmlStyles, ReadValuesAreCorrectedOrDefaulted) {
  TOwned<TFullStyleShape> s(Create<TFullStyleShape>(nullptr, nullptr));
  s->Pen()->SetWidth(0.5f);
  s->Pen()->SetMode(TPenMode::pmXor);
  s->SetPictureStyle(TKxDeShapePictureStyle::kxdspCenter);
  TXmlDocument doc;
  XmlParse(doc,
           "<o><Pen><Style>3</Style></Pen>"                       // mode back to pmCopy, width kept
           "<Brush><Color>255</Color><Style>42</Style></Brush>"    // brush colour is the shape colour
           "<Font><Charset>300</Charset><Size>99999999</Size><Style>255</Style></Font>"
           "<Gradient><Shift>250</Shift><Rotation>-1000</Rotation><Style>99</Style></Gradient>"
           "</o>");
  s->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(s->Pen()->Mode(), TPenMode::pmCopy);
  EXPECT_EQ(s->Pen()->Style(), TPenStyle::psDashDot);
  EXPECT_EQ(s->Pen()->Width(), 0.5f);
  EXPECT_EQ(s->Brush()->Style(), TBrushStyle::bsSolid);
  EXPECT_EQ(s->Gradient()->Shift(), 100);
  EXPECT_EQ(s->Gradient()->Rotation(), -100);
  EXPECT_EQ(s->Gradient()->Style(), TKxDeShapeGradientStyle::kxdgsNone);
  // The gradient reads its begin colour last and sets the shape colour with it: here it keeps
  // the colour the brush brought.
  EXPECT_EQ(s->Color(), 255);
  EXPECT_EQ(s->Font()->Charset(), 1);
  EXPECT_EQ(s->Font()->Size(), 3);
  EXPECT_EQ(s->Font()->Style(), (TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic, TFontStyle::fsUnderline,
                                             TFontStyle::fsStrikeOut}));
  EXPECT_EQ(s->PictureStyle(), TKxDeShapePictureStyle::kxdspStretch);  // absent: the default
  // Not a number or absurd: the width stays; a negative one is kept as written.
  for (const char* bad : {"NaN", "1e30", "-INF", "wide"}) {
    XmlParse(doc, QByteArray("<o><Pen><Width>") + bad + "</Width></Pen></o>");
    s->LoadFromXML(doc.child("o"), true);
    EXPECT_EQ(s->Pen()->Width(), 0.5f) << bad;
  }
  XmlParse(doc, "<o><Pen><Width>-2</Width></Pen></o>");
  s->LoadFromXML(doc.child("o"), true);
  EXPECT_EQ(s->Pen()->Width(), -2.0f);
}

TEST_F(XmlStyles, UninstalledFontNamesAreSubstitutedOnce) {
  TMessageSinkGuard messages;
  TXmlDocument doc;
  XmlParse(doc, "<o Class=\"TFullStyleShape\"><Font><Name>Vorn Nonexistent Face 7</Name></Font></o>");
  TOwned<TKxDeShapeBase> s(TKxDeObjectXml::LoadObject(doc.child("o")));
  ASSERT_TRUE(s);
  const QString substitute = CheckForFont(QStringLiteral("Vorn Nonexistent Face 7"));
  EXPECT_EQ(s->Font()->Name(), substitute);
  EXPECT_EQ(s->Font()->Substituted(), QStringLiteral("Vorn Nonexistent Face 7"));
  ASSERT_EQ(messages.Messages.size(), 1);
  EXPECT_TRUE(messages.Messages[0].contains(QStringLiteral("Vorn Nonexistent Face 7")));
  const QByteArray text = ObjectText(s.get());
  TXmlDocument written;
  XmlParse(written, text);
  EXPECT_EQ(XmlReadString(written.child("o").child("Font"), "Name"), substitute);
  EXPECT_EQ(XmlReadString(written.child("o").child("Font"), "Subst"), QStringLiteral("Vorn Nonexistent Face 7"));
  TOwned<TKxDeShapeBase> again = ReadObject(text);
  EXPECT_EQ(again->Font()->Name(), substitute);
  EXPECT_TRUE(again->Font()->Substituted().isEmpty());
  EXPECT_FALSE(ObjectText(again.get()).contains("<Subst>"));
}

TEST_F(XmlStyles, MekFontKeepsItsHeightAsWritten) {
  TOwned<TFullStyleShape> s(Create<TFullStyleShape>(nullptr, nullptr));
  TOwned<TmekFont> font(Create<TmekFont>(s.get()));
  font->SetHeight(4.25f);
  TXmlDocument doc;
  font->SaveToXML(doc.append_child("Font"));
  EXPECT_EQ(XmlToText(doc.child("Font"), false), QByteArray("<Font><Height>4.25</Height></Font>"));
  TOwned<TFullStyleShape> t(Create<TFullStyleShape>(nullptr, nullptr));
  TOwned<TmekFont> other(Create<TmekFont>(t.get()));
  const int32_t sizeBefore = other->Size();
  other->LoadFromXML(doc.child("Font"));
  EXPECT_EQ(other->Height(), 4.25f);
  EXPECT_EQ(other->Size(), sizeBefore);  // read directly: the point size is not recalculated
  XmlParse(doc, "<Font><Height>NaN</Height></Font>");
  other->LoadFromXML(doc.child("Font"));
  EXPECT_EQ(other->Height(), 4.25f);
}

}  // namespace
}  // namespace vorn::test
