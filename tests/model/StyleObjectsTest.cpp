// Style objects: the change announcements, clamping, the shared shape colour, canvas set-up and
// their XML elements.
#include <vorn/common/Canvas.h>
#include <vorn/common/CommonLib.h>
#include <vorn/common/Units.h>
#include <vorn/model/KxDeShape.h>
#include <vorn/model/KxDeShapeBrush.h>
#include <vorn/model/KxDeShapeFont.h>
#include <vorn/model/KxDeShapeGradient.h>
#include <vorn/model/KxDeShapePen.h>

#include <gtest/gtest.h>

#include <QImage>

namespace vorn {
namespace {

// Counts the announcements of a style object.
struct TAnnouncements {
  int Changing = 0, Changed = 0;
  template <class S>
  void Watch(S* Style) {
    Style->OnChanging = [this](TObject*) { ++Changing; };
    Style->OnChange = [this](TObject*) { ++Changed; };
  }
};

QByteArray Xml(const std::function<void(TXmlNode)>& Write) {
  TXmlDocument doc;
  Write(doc.append_child("e"));
  return XmlToText(doc, false);
}

TEST(ShapePen, WidthRulesAndAnnouncements) {
  TOwned<TKxDeShapePen> pen(Create<TKxDeShapePen>());
  TAnnouncements a;
  a.Watch(pen.get());
  EXPECT_FLOAT_EQ(pen->Width(), 0.2f);
  pen->SetWidth(-1);
  EXPECT_FLOAT_EQ(pen->Width(), 0.01f);
  pen->SetWidth(0);
  EXPECT_EQ(pen->Width(), 0.0f);
  pen->SetWidth(0);  // unchanged: silent
  pen->SetColor(clRed);
  pen->SetStyle(TPenStyle::psDash);
  EXPECT_EQ(a.Changing, 4);
  EXPECT_EQ(a.Changed, 4);
  pen->SetCPenWidth(2);
  EXPECT_FLOAT_EQ(pen->Width(), 2 * CoordsPixelsPerMMConvertValue);
  EXPECT_EQ(pen->CPenWidth(), 2);
  // Record assignment without the width.
  pen->AssignRec2(TKxDePenRec{clBlue, TPenMode::pmXor, TPenStyle::psDot, 9});
  EXPECT_EQ(pen->Color(), clBlue);
  EXPECT_EQ(pen->Mode(), TPenMode::pmXor);
  EXPECT_FLOAT_EQ(pen->Width(), 2 * CoordsPixelsPerMMConvertValue);
  pen->AssignRec(TKxDePenRec{clBlue, TPenMode::pmCopy, TPenStyle::psSolid, 0.5f});
  EXPECT_FLOAT_EQ(pen->Width(), 0.5f);
}

TEST(ShapePen, CanvasPenAndCopies) {
  TOwned<TKxDeShapePen> pen(Create<TKxDeShapePen>());
  pen->SetColor(clNone);
  pen->SetStyle(TPenStyle::psDash);
  TPen canvasPen;
  pen->AssignTo(&canvasPen);
  EXPECT_EQ(canvasPen.Style(), TPenStyle::psClear);
  pen->SetColor(clGreen);
  pen->AssignTo(&canvasPen);
  EXPECT_EQ(canvasPen.Style(), TPenStyle::psDash);
  EXPECT_EQ(canvasPen.Color(), clGreen);
  TOwned<TKxDeShapePen> other(Create<TKxDeShapePen>());
  TAnnouncements a;
  a.Watch(other.get());
  other->Assign(pen.get());
  EXPECT_EQ(other->Color(), clGreen);
  EXPECT_EQ(a.Changing, 1);
  EXPECT_EQ(a.Changed, 1);
}

TEST(ShapeBrush, SharesTheShapeColour) {
  TOwned<TKxDeShape> shape(Create<TKxDeShape>(nullptr, nullptr));
  TOwned<TKxDeShapeBrush> brush(Create<TKxDeShapeBrush>(shape.get()));
  TOwned<TKxDeShapeGradient> gradient(Create<TKxDeShapeGradient>(shape.get()));
  brush->SetColor(clRed);
  EXPECT_EQ(shape->Color(), clRed);
  EXPECT_EQ(gradient->GetColorBegin(), clRed);  // the gradient starts at the shape colour
  gradient->SetColorBegin(clBlue);
  EXPECT_EQ(shape->Color(), clBlue);
  brush->ShapeColorChanged();
  EXPECT_EQ(brush->Color(), clBlue);
  // Assigning another brush is a change without a shape colour update.
  TOwned<TKxDeShapeBrush> other(Create<TKxDeShapeBrush>());
  other->SetColor(clYellow);
  TAnnouncements a;
  a.Watch(brush.get());
  brush->Assign(other.get());
  EXPECT_EQ(brush->Color(), clYellow);
  EXPECT_EQ(shape->Color(), clBlue);
  EXPECT_EQ(a.Changing, 0);
  EXPECT_EQ(a.Changed, 1);
  TBrush canvasBrush;
  other->SetColor(clNone);
  other->AssignTo(&canvasBrush);
  EXPECT_EQ(canvasBrush.Style(), TBrushStyle::bsClear);
}

TEST(ShapeGradient, ClampingBracketsAndPainting) {
  TOwned<TKxDeShapeGradient> g(Create<TKxDeShapeGradient>());
  g->SetShift(250);
  g->SetRotation(-300);
  EXPECT_EQ(g->Shift(), 100);
  EXPECT_EQ(g->Rotation(), -100);
  g->SetShift(0);
  g->SetRotation(0);
  g->SetColorBegin(clRed);
  g->SetColorEnd(clBlue);
  g->SetStyle(TKxDeShapeGradientStyle::kxdgsLinearH);
  EXPECT_TRUE(g->NeedsUpdate());
  g->BeginUpdate();
  QImage pattern;
  EXPECT_FALSE(g->CopyPatternTo(pattern));  // not inside a bracket
  g->EndUpdate();
  EXPECT_FALSE(g->NeedsUpdate());             // rebuilt when the bracket closed
  ASSERT_TRUE(g->CopyPatternTo(pattern));
  EXPECT_EQ(pattern.size(), QSize(256, 1));
  EXPECT_EQ(pattern.pixel(0, 0), qRgb(255, 0, 0));
  QImage img(100, 10, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    TCanvas c(&img);
    g->Paint(&c, {0, 0, 100, 10});
  }
  EXPECT_GT(qRed(img.pixel(1, 5)), 200);   // red on the left
  EXPECT_GT(qBlue(img.pixel(98, 5)), 200);  // blue on the right
  g->SetStyle(TKxDeShapeGradientStyle::kxdgsNone);
  img.fill(Qt::white);
  {
    TCanvas c(&img);
    g->Paint(&c, {0, 0, 100, 10});
  }
  EXPECT_EQ(img.pixel(50, 5), qRgb(255, 255, 255));  // no gradient painted
  g->SetInvisible(true);
  ASSERT_TRUE(g->CopyPatternTo(pattern));
  EXPECT_EQ(pattern.pixel(0, 0), qRgb(0xC0, 0xC0, 0xC0));
}

TEST(ShapeFont, SizeIsSilentAndLoadingSubstitutes) {
  TOwned<TKxDeShapeFont> font(Create<TKxDeShapeFont>());
  TAnnouncements a;
  a.Watch(font.get());
  font->SetSize(12);
  EXPECT_EQ(a.Changing + a.Changed, 0);
  font->SetName(QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(a.Changed, 1);

  QStringList messages;
  const TDebugMessageSink previous = SetDebugMessageSink([&](const QString& m) { messages << m; });
  TXmlDocument doc;
  TXmlNode e = doc.append_child("Font");
  XmlWriteString(e, "Name", QStringLiteral("Swiss 721 Not Installed"));
  XmlWriteInteger(e, "Style", 1 | 8);
  font->LoadFromXML(e);
  const QString installed = CheckForFont(QStringLiteral("Swiss 721 Not Installed"));
  EXPECT_EQ(font->Name(), installed);
  EXPECT_EQ(font->Substituted(), QStringLiteral("Swiss 721 Not Installed"));
  EXPECT_EQ(font->Size(), 12);  // absent: kept
  EXPECT_EQ(font->Style(), (TFontStyles{TFontStyle::fsBold, TFontStyle::fsStrikeOut}));
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(messages[0],
            QStringLiteral("Font \"Swiss 721 Not Installed\" was substituted with font \"%1\"").arg(installed));
  // The substitute is written with the requested name beside it; reading that back keeps the
  // substitute and leaves Substituted empty.
  TXmlDocument out;
  font->SaveToXML(out.append_child("Font"));
  EXPECT_EQ(XmlReadString(out.child("Font"), "Subst"), QStringLiteral("Swiss 721 Not Installed"));
  TOwned<TKxDeShapeFont> again(Create<TKxDeShapeFont>());
  again->LoadFromXML(out.child("Font"));
  EXPECT_EQ(again->Name(), installed);
  EXPECT_TRUE(again->Substituted().isEmpty());
  SetDebugMessageSink(previous);
}

TEST(StyleXml, EveryStyleRoundTrips) {
  TOwned<TKxDeShapePen> pen(Create<TKxDeShapePen>());
  pen->SetColor(clWindowText);
  pen->SetWidth(0.35f);
  pen->SetMode(TPenMode::pmNotXor);
  const QByteArray penXml = Xml([&](TXmlNode n) { pen->SaveToXML(n); });
  EXPECT_TRUE(penXml.contains("<Color>-16777208</Color>"));  // system colours are negative
  TOwned<TKxDeShapePen> pen2(Create<TKxDeShapePen>());
  TXmlDocument d1;
  XmlParse(d1, penXml);
  pen2->LoadFromXML(d1.child("e"));
  EXPECT_EQ(Xml([&](TXmlNode n) { pen2->SaveToXML(n); }), penXml);

  TOwned<TKxDeShapeGradient> g(Create<TKxDeShapeGradient>());
  g->SetStyle(TKxDeShapeGradientStyle::kxdgsDiamond);
  g->SetShift(-40);
  g->SetReverse(true);
  const QByteArray gXml = Xml([&](TXmlNode n) { g->SaveToXML(n); });
  TOwned<TKxDeShapeGradient> g2(Create<TKxDeShapeGradient>());
  TXmlDocument d2;
  XmlParse(d2, gXml);
  g2->LoadFromXML(d2.child("e"));
  EXPECT_EQ(Xml([&](TXmlNode n) { g2->SaveToXML(n); }), gXml);

  // Damaged values: shift clamped, unknown ordinals fall back, missing pen mode is pmCopy.
  TXmlDocument d3;
  XmlParse(d3, "<e><Shift>250</Shift><Style>99</Style></e>");
  g2->LoadFromXML(d3.child("e"));
  EXPECT_EQ(g2->Shift(), 100);
  EXPECT_EQ(g2->Style(), TKxDeShapeGradientStyle::kxdgsDiamond);
  pen2->LoadFromXML(d3.child("e"));
  EXPECT_EQ(pen2->Mode(), TPenMode::pmCopy);
  EXPECT_EQ(pen2->Style(), TPenStyle::psSolid);
  EXPECT_FLOAT_EQ(pen2->Width(), 0.35f);  // absent: kept
}

}  // namespace
}  // namespace vorn
