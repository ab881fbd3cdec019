// The picture element (stored file bytes, the serialised form, path-only pictures, the
// placeholder), picture props and colour-management settings in XML.
#include "support/TestSupport.h"

#include <vorn/common/ColorManagementProperties.h>
#include <vorn/common/Graphic.h>
#include <vorn/common/KxDePicture.h>

namespace vorn::test {
namespace {

class TCountingPictureOwner : public TPersistent, public IKxDePictureOwner {
 public:
  int Begins = 0, Changes = 0, Ends = 0;
  void BeginPictureChange() override { ++Begins; }
  void PicturePropertyChanged() override { ++Changes; }
  void EndPictureChange() override { ++Ends; }
};

QByteArray ElementText(const std::function<void(TXmlNode)>& Write) {
  TXmlDocument doc;
  Write(doc.append_child("Picture"));
  return XmlToText(doc, false);
}

// Writes Source, reads the text into Target and checks that Target writes the same again.
QByteArray RoundTrip(const TKxDePicture* Source, TKxDePicture* Target) {
  const QByteArray first = ElementText([&](TXmlNode n) { Source->SaveToXML(n); });
  TXmlDocument doc;
  XmlParse(doc, first);
  Target->LoadFromXML(doc.child("Picture"));
  return first;
}

class PictureXml : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
};

TEST_F(PictureXml, AStoredPictureIsTheBytesOfItsFileOrItsSerialisedForm) {
  const QString png = WriteImage(Dir, QStringLiteral("logo.png"), 12, 8, Qt::blue);
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  p->LoadFromFile(png);
  TXmlDocument doc;
  TXmlNode e = doc.append_child("Picture");
  p->SaveToXML(e);
  EXPECT_EQ(ChildNames(e), (std::vector<std::string>{"Store", "Path", "KeepRatio", "DitherMode",
                                                     "NoAntialiasingAllowed", "Visible", "Data"}));
  EXPECT_EQ(XmlReadAttrString(e.child("Data"), "Class"), QStringLiteral("TPngImage"));
  EXPECT_TRUE(XmlReadAttrBool(e.child("Data"), "File", false));
  QByteArray bytes;
  ASSERT_TRUE(XmlReadBytes(e.child("Data"), bytes));
  EXPECT_EQ(bytes, ReadFile(png));
  // The stored bytes are enough: the file may be gone. Decoding them is not a fresh load: the
  // rotation and the smoothing flag come back as they were written.
  QFile::remove(png);
  p->SetRotation(30);
  p->SetNoAntialiasingAllowed(true);
  TOwned<TKxDePicture> q(Create<TKxDePicture>(nullptr));
  const QByteArray first = RoundTrip(p.get(), q.get());
  EXPECT_DOUBLE_EQ(q->Rotation(), 30);
  EXPECT_TRUE(q->NoAntialiasingAllowed());
  EXPECT_EQ(q->GetGraphic()->ToImage().pixelColor(5, 5), QColor(Qt::blue));
  EXPECT_EQ(q->ImageFileStream(), bytes);
  EXPECT_EQ(ElementText([&](TXmlNode n) { q->SaveToXML(n); }), first);
  p->SetRotation(0);
  RoundTrip(p.get(), q.get());
  EXPECT_DOUBLE_EQ(q->Rotation(), 0) << "an unrotated picture writes no rotation: reading turns back to 0";

  // A picture without file bytes is written in its serialised form.
  TOwned<TPicture> source(Create<TPicture>());
  TOwned<TBitmap> bmp(Create<TBitmap>());
  QImage img(5, 7, QImage::Format_RGB32);
  img.fill(QColor(200, 10, 10));
  bmp->SetImage(img);
  source->SetGraphic(bmp.get());
  q->Assign(source.get());
  EXPECT_TRUE(q->ImageFileStream().isEmpty()) << "no stale bytes of the earlier file";
  TOwned<TKxDePicture> r(Create<TKxDePicture>(nullptr));
  const QByteArray serialised = RoundTrip(q.get(), r.get());
  XmlParse(doc, serialised);
  EXPECT_FALSE(XmlReadAttrBool(doc.child("Picture").child("Data"), "File", true));
  EXPECT_EQ(r->GetGraphic()->ToImage().pixelColor(2, 3), QColor(200, 10, 10));
  EXPECT_EQ(ElementText([&](TXmlNode n) { r->SaveToXML(n); }), serialised);
}

TEST_F(PictureXml, APathOnlyPictureIsReloadedAndAMissingFileShowsThePlaceholder) {
  const QString png = WriteImage(Dir, QStringLiteral("disk.png"), 10, 20, Qt::green);
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  p->LoadFromFile(png);
  p->SetStorePicture(false);
  p->SetRotation(12.5);
  TOwned<TKxDePicture> q(Create<TKxDePicture>(nullptr));
  const QByteArray first = RoundTrip(p.get(), q.get());
  EXPECT_FALSE(first.contains("<Data"));
  EXPECT_EQ(q->GetHeight(), 20);
  EXPECT_DOUBLE_EQ(q->Rotation(), 12.5);
  EXPECT_EQ(ElementText([&](TXmlNode n) { q->SaveToXML(n); }), first);
  // Gone: the placeholder shows, the problem is reported, nothing raises, and the placeholder
  // is never stored as the picture's data.
  QFile::remove(png);
  TMessageSinkGuard catcher;
  TOwned<TKxDePicture> r(Create<TKxDePicture>(nullptr));
  RoundTrip(p.get(), r.get());
  EXPECT_TRUE(r->HasEmptyPicture());
  EXPECT_EQ(r->PicturePath(), png);
  ASSERT_EQ(catcher.Messages.size(), 1);
  EXPECT_TRUE(catcher.Messages[0].contains(png));
  r->SetStorePicture(true);
  EXPECT_FALSE(ElementText([&](TXmlNode n) { r->SaveToXML(n); }).contains("<Data"));
}

TEST_F(PictureXml, AnEmptyPictureWritesNoDataAndAbsentValuesAreKept) {
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  EXPECT_EQ(ElementText([&](TXmlNode n) { p->SaveToXML(n); }),
            QByteArray("<?xml version=\"1.0\"?><Picture><Store>true</Store><Path></Path><KeepRatio>true</KeepRatio>"
                       "<DitherMode>6</DitherMode><NoAntialiasingAllowed>false</NoAntialiasingAllowed>"
                       "<Visible>true</Visible></Picture>"));
  p->SetKeepRatio(false);
  TXmlDocument doc;
  XmlParse(doc, "<Picture><Store>false</Store></Picture>");
  p->LoadFromXML(doc.child("Picture"));
  EXPECT_FALSE(p->StorePicture());
  EXPECT_FALSE(p->KeepRatio()) << "the current value is kept";
  EXPECT_EQ(p->DitherMode(), 0) << "the one value with a default of its own";
  EXPECT_FALSE(p->HasEmptyPicture()) << "no path, no placeholder";
  // Picture props add their placement; an orientation that does not exist is ignored.
  TOwned<TKxDePictureProps> props(Create<TKxDePictureProps>(nullptr));
  props->SetHorizontalIndent(7);
  props->SetOrient(TKxDePictureOrient::kxdpoCenter);
  const QByteArray text = ElementText([&](TXmlNode n) { props->SaveToXML(n); });
  EXPECT_TRUE(text.endsWith("<Indent>7</Indent><Orient>4</Orient><Index>-1</Index><TopIndent>0</TopIndent></Picture>"))
      << text.toStdString();
  XmlParse(doc, "<Picture><Orient>99</Orient><Indent>3</Indent></Picture>");
  props->LoadFromXML(doc.child("Picture"));
  EXPECT_EQ(props->Orient(), TKxDePictureOrient::kxdpoCenter);
  EXPECT_EQ(props->HorizontalIndent(), 3);
}

TEST_F(PictureXml, DamagedDataLeavesAnEmptyPictureReportsItAndRaisesNothing) {
  const QByteArray png = ReadFile(WriteImage(Dir, QStringLiteral("ok.png"), 4, 4));
  const std::pair<QByteArray, bool> cases[] = {
      {"<Picture><Path>x.png</Path><Data Class=\"TPngImage\" File=\"true\">***</Data></Picture>", true},
      {"<Picture><Path>x.png</Path><Data Class=\"TPngImage\" File=\"true\">" + png.left(png.size() / 2).toBase64() +
           "</Data></Picture>",
       true},
      {"<Picture><Data Class=\"TBitmap\" File=\"false\">" + QByteArray("\x0a\xff\xff\xff\x7fzz").toBase64() +
           "</Data></Picture>",
       false},
      {"<Picture><Data Class=\"TNoSuch\" File=\"true\">AAAA</Data></Picture>", false},
  };
  for (const auto& [xml, placeholder] : cases) {
    TMessageSinkGuard catcher;
    TOwned<TCountingPictureOwner> owner(Create<TCountingPictureOwner>());
    TOwned<TKxDePicture> p(Create<TKxDePicture>(owner.get()));
    TXmlDocument doc;
    XmlParse(doc, xml);
    EXPECT_NO_THROW(p->LoadFromXML(doc.child("Picture"))) << xml.toStdString();
    EXPECT_EQ(p->HasEmptyPicture(), placeholder) << xml.toStdString();
    EXPECT_EQ(p->GetEmpty(), !placeholder);
    EXPECT_EQ(catcher.Messages.size(), 1);
    EXPECT_GE(owner->Begins, 1);
    EXPECT_EQ(owner->Begins, owner->Ends);
  }
}

TEST(ColorManagementXml, WritesInOrderReadsWithClampsAndKeepsWhatIsAbsent) {
  TOwned<TmekColorManagementProperties> c(Create<TmekColorManagementProperties>(nullptr));
  TXmlDocument doc;
  c->SaveToXML(doc.append_child("c"));
  EXPECT_EQ(
      ChildNames(doc.child("c")),
      (std::vector<std::string>{"SplitColor", "SatTolPositive", "HueTolPositive", "SatTolNegative", "HueTolNegative",
                                "AutoLevels", "ApplyGammaCorrection", "GammaCorrection", "FullPictureOnColorHead"}));
  XmlParse(doc,
           "<c><SplitColor>-16777208</SplitColor><SatTolPositive>500</SatTolPositive>"
           "<HueTolNegative>7</HueTolNegative><AutoLevels>true</AutoLevels><GammaCorrection>NaN</GammaCorrection></c>");
  c->SetPositiveHueTolerance(42);
  c->LoadFromXML(doc.child("c"));
  EXPECT_EQ(c->SplitColor(), -16777208);
  EXPECT_EQ(c->PositiveSaturationTolerance(), 100);
  EXPECT_EQ(c->NegativeHueTolerance(), 0);
  EXPECT_EQ(c->PositiveHueTolerance(), 42);
  EXPECT_FLOAT_EQ(c->GammaCorrection(), 0.5f);
  TOwned<TmekColorManagementProperties> d(Create<TmekColorManagementProperties>(nullptr));
  TXmlDocument out, out2;
  c->SaveToXML(out.append_child("c"));
  d->LoadFromXML(out.child("c"));
  d->SaveToXML(out2.append_child("c"));
  EXPECT_EQ(XmlToText(out2, false), XmlToText(out, false));
}

}  // namespace
}  // namespace vorn::test
