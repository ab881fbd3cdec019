// Style objects on their own: the change announcements, clamping, the shared shape colour, the
// canvas tools they set up, gradient painting and their XML elements.
#include "support/TestSupport.h"

namespace vorn::test {
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

TEST(StyleObjects, GradientsClampRebuildAfterTheirBracketAndPaint) {
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
  g->BeginUpdate();
  QImage pattern;
  EXPECT_FALSE(g->CopyPatternTo(pattern)) << "not inside a bracket";
  g->EndUpdate();
  EXPECT_FALSE(g->NeedsUpdate());
  ASSERT_TRUE(g->CopyPatternTo(pattern));
  EXPECT_EQ(pattern.pixel(0, 0), qRgb(255, 0, 0));
  QImage img(100, 10, QImage::Format_RGB32);
  for (auto style : {TKxDeShapeGradientStyle::kxdgsLinearH, TKxDeShapeGradientStyle::kxdgsNone}) {
    g->SetStyle(style);
    img.fill(Qt::white);
    TCanvas c(&img);
    g->Paint(&c, {0, 0, 100, 10});
  }
  EXPECT_EQ(img.pixel(50, 5), qRgb(255, 255, 255)) << "style none paints nothing";
  g->SetInvisible(true);
  ASSERT_TRUE(g->CopyPatternTo(pattern));
  EXPECT_EQ(pattern.pixel(0, 0), qRgb(0xC0, 0xC0, 0xC0));
}

TEST(StyleObjects, FontSizeIsSilentAndAnUninstalledFamilyIsSubstitutedOnce) {
  TOwned<TKxDeShapeFont> font(Create<TKxDeShapeFont>());
  TAnnouncements a;
  a.Watch(font.get());
  font->SetSize(12);
  EXPECT_EQ(a.Changing + a.Changed, 0);
  font->AssignRec(TKxDeShapeFontRec{2, clRed, QStringLiteral("DejaVu Sans"), 12, {}});
  EXPECT_EQ(a.Changing + a.Changed, 2) << "a whole record is one announced change";
  TMessageSinkGuard messages;
  TXmlDocument doc;
  TXmlNode e = doc.append_child("Font");
  XmlWriteString(e, "Name", QStringLiteral("Swiss 721 Not Installed"));
  XmlWriteInteger(e, "Style", 1 | 8);
  font->LoadFromXML(e);
  const QString installed = CheckForFont(QStringLiteral("Swiss 721 Not Installed"));
  EXPECT_EQ(font->Name(), installed);
  EXPECT_EQ(font->Substituted(), QStringLiteral("Swiss 721 Not Installed"));
  EXPECT_EQ(font->Size(), 12) << "absent: kept";
  EXPECT_EQ(font->Style(), (TFontStyles{TFontStyle::fsBold, TFontStyle::fsStrikeOut}));
  EXPECT_EQ(
      messages.Messages,
      QStringList{QStringLiteral("Font \"Swiss 721 Not Installed\" was substituted with font \"%1\"").arg(installed)});
  // The substitute is written with the requested name beside it; reading that keeps the substitute.
  TXmlDocument out;
  font->SaveToXML(out.append_child("Font"));
  EXPECT_EQ(XmlReadString(out.child("Font"), "Subst"), QStringLiteral("Swiss 721 Not Installed"));
  TOwned<TKxDeShapeFont> again(Create<TKxDeShapeFont>());
  again->LoadFromXML(out.child("Font"));
  EXPECT_EQ(again->Name(), installed);
  EXPECT_TRUE(again->Substituted().isEmpty());
  EXPECT_EQ(messages.Messages.size(), 1);
}

}  // namespace
}  // namespace vorn::test
