// The picture element (stored file bytes, the serialised form, path-only pictures, the
// placeholder), picture props and colour-management settings in XML.
#include <vorn/common/ColorManagementProperties.h>
#include <vorn/common/CommonLib.h>
#include <vorn/common/Graphic.h>
#include <vorn/common/KxDePicture.h>
#include <vorn/common/XmlUtils.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <functional>
#include <vector>

namespace vorn {
namespace {

class TCountingPictureOwner : public TPersistent, public IKxDePictureOwner {
  VORN_OBJECT(TCountingPictureOwner, TPersistent)

 public:
  int Begins = 0, Changes = 0, Ends = 0;
  void BeginPictureChange() override { ++Begins; }
  void PicturePropertyChanged() override { ++Changes; }
  void EndPictureChange() override { ++Ends; }
};

// Collects the debug messages posted while it lives.
class TMessageCatcher {
 public:
  TMessageCatcher() { FPrevious = SetDebugMessageSink([this](const QString& m) { Messages << m; }); }
  ~TMessageCatcher() { SetDebugMessageSink(FPrevious); }
  QStringList Messages;

 private:
  TDebugMessageSink FPrevious;
};

QByteArray ElementText(const std::function<void(TXmlNode)>& Write) {
  TXmlDocument doc;
  Write(doc.append_child("Picture"));
  return XmlToText(doc, false);
}

std::vector<std::string> ChildNames(TXmlNode Node) {
  std::vector<std::string> names;
  for (TXmlNode c : Node.children()) names.emplace_back(c.name());
  return names;
}

class PictureXml : public ::testing::Test {
 protected:
  QTemporaryDir Dir;

  QString WriteImage(const QString& Name, int W, int H, QColor Color = Qt::red) {
    QImage img(W, H, QImage::Format_ARGB32);
    img.fill(Color);
    const QString p = Dir.filePath(Name);
    EXPECT_TRUE(img.save(p, "PNG"));
    return p;
  }
  static QByteArray FileBytes(const QString& P) {
    QFile f(P);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
  // Writes Source, reads the text into a fresh holder, writes that again.
  static QByteArray RoundTrip(const TKxDePicture* Source, TKxDePicture* Target) {
    const QByteArray first = ElementText([&](TXmlNode n) { Source->SaveToXML(n); });
    TXmlDocument doc;
    XmlParse(doc, first);
    Target->LoadFromXML(doc.child("Picture"));
    return first;
  }
};

TEST_F(PictureXml, StoredPngIsWrittenAsTheBytesOfItsFile) {
  const QString png = WriteImage(QStringLiteral("logo.png"), 12, 8, QColor(0, 0, 255));
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  p->LoadFromFile(png);
  TXmlDocument doc;
  TXmlNode e = doc.append_child("Picture");
  p->SaveToXML(e);
  EXPECT_EQ(ChildNames(e), (std::vector<std::string>{"Store", "Path", "KeepRatio", "DitherMode",
                                                      "NoAntialiasingAllowed", "Visible", "Data"}));
  EXPECT_EQ(XmlReadString(e, "Path"), png);
  EXPECT_EQ(XmlReadInteger(e, "DitherMode", -1), 6);
  TXmlNode data = e.child("Data");
  EXPECT_EQ(XmlReadAttrString(data, "Class"), QStringLiteral("TPngImage"));
  EXPECT_TRUE(XmlReadAttrBool(data, "File", false));
  QByteArray bytes;
  ASSERT_TRUE(XmlReadBytes(data, bytes));
  EXPECT_EQ(bytes, FileBytes(png));

  // The stored bytes are enough: the file may be gone. Decoding them is not a fresh load: the
  // rotation and the smoothing flag come back as they were written, not as a load would set them.
  QFile::remove(png);
  p->SetRotation(30);
  p->SetNoAntialiasingAllowed(true);
  TOwned<TKxDePicture> q(Create<TKxDePicture>(nullptr));
  const QByteArray first = RoundTrip(p.get(), q.get());
  EXPECT_DOUBLE_EQ(q->Rotation(), 30);
  EXPECT_TRUE(q->NoAntialiasingAllowed());
  EXPECT_EQ(q->GetWidth(), 12);
  EXPECT_EQ(q->GetGraphic()->ClassName(), QStringLiteral("TPngImage"));
  EXPECT_EQ(q->GetGraphic()->ToImage().pixelColor(5, 5), QColor(0, 0, 255));
  EXPECT_EQ(q->ImageFileStream(), bytes);
  EXPECT_DOUBLE_EQ(q->Ratio(), 1.5);
  EXPECT_FALSE(q->HasEmptyPicture());
  EXPECT_EQ(ElementText([&](TXmlNode n) { q->SaveToXML(n); }), first);

  // An unrotated picture writes no rotation, so reading it turns the holder back to 0.
  p->SetRotation(0);
  RoundTrip(p.get(), q.get());
  EXPECT_DOUBLE_EQ(q->Rotation(), 0);
}

TEST_F(PictureXml, PictureWithoutFileBytesIsWrittenInItsSerialisedForm) {
  TOwned<TPicture> source(Create<TPicture>());
  TOwned<TBitmap> bmp(Create<TBitmap>());
  QImage img(5, 7, QImage::Format_RGB32);
  img.fill(QColor(200, 10, 10));
  bmp->SetImage(img);
  source->SetGraphic(bmp.get());
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  p->Assign(source.get());
  ASSERT_TRUE(p->ImageFileStream().isEmpty());

  TOwned<TKxDePicture> q(Create<TKxDePicture>(nullptr));
  const QByteArray first = RoundTrip(p.get(), q.get());
  TXmlDocument doc;
  XmlParse(doc, first);
  const TXmlNode data = doc.child("Picture").child("Data");
  EXPECT_FALSE(XmlReadAttrBool(data, "File", true));
  EXPECT_EQ(XmlReadAttrString(data, "Class"), QStringLiteral("TBitmap"));
  QByteArray bytes;
  ASSERT_TRUE(XmlReadBytes(data, bytes));
  EXPECT_EQ(bytes, PictureToBytes(p->Picture()));
  ASSERT_TRUE(q->GetGraphic());
  EXPECT_EQ(q->GetGraphic()->ClassName(), QStringLiteral("TBitmap"));
  EXPECT_EQ(q->GetGraphic()->ToImage().pixelColor(2, 3), QColor(200, 10, 10));
  EXPECT_EQ(ElementText([&](TXmlNode n) { q->SaveToXML(n); }), first);

  // A picture that once came from a file and was then given a bare picture keeps no stale bytes.
  TOwned<TKxDePicture> r(Create<TKxDePicture>(nullptr));
  r->LoadFromFile(WriteImage(QStringLiteral("old.png"), 3, 3));
  r->Assign(source.get());
  EXPECT_TRUE(r->ImageFileStream().isEmpty());
}

TEST_F(PictureXml, PathOnlyPictureIsReloadedFromDiskWithItsRotation) {
  const QString png = WriteImage(QStringLiteral("disk.png"), 10, 20, Qt::green);
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  p->LoadFromFile(png);
  p->SetStorePicture(false);
  p->SetRotation(12.5);
  TOwned<TKxDePicture> q(Create<TKxDePicture>(nullptr));
  const QByteArray first = RoundTrip(p.get(), q.get());
  EXPECT_FALSE(first.contains("<Data"));
  EXPECT_TRUE(first.contains("<Rotation>12.5</Rotation>"));
  EXPECT_FALSE(q->StorePicture());
  EXPECT_EQ(q->GetHeight(), 20);
  EXPECT_DOUBLE_EQ(q->Rotation(), 12.5);
  EXPECT_DOUBLE_EQ(q->Ratio(), 0.5);
  EXPECT_EQ(ElementText([&](TXmlNode n) { q->SaveToXML(n); }), first);

  // The file is gone: the placeholder shows, the problem is reported, nothing raises, and the
  // placeholder is not stored as the picture's data.
  QFile::remove(png);
  TMessageCatcher catcher;
  TOwned<TKxDePicture> r(Create<TKxDePicture>(nullptr));
  const QByteArray again = RoundTrip(p.get(), r.get());
  EXPECT_TRUE(r->HasEmptyPicture());
  EXPECT_FALSE(r->GetEmpty());
  EXPECT_EQ(r->PicturePath(), png);
  ASSERT_EQ(catcher.Messages.size(), 1);
  EXPECT_TRUE(catcher.Messages[0].contains(png)) << catcher.Messages[0].toStdString();
  r->SetStorePicture(true);  // would store data now, but a placeholder is not the picture
  EXPECT_FALSE(ElementText([&](TXmlNode n) { r->SaveToXML(n); }).contains("<Data"));
}

TEST_F(PictureXml, EmptyPictureWritesNoDataAndAbsentValuesKeepTheirDefaults) {
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  const QByteArray text = ElementText([&](TXmlNode n) { p->SaveToXML(n); });
  EXPECT_EQ(text,
            QByteArray("<?xml version=\"1.0\"?><Picture><Store>true</Store><Path></Path><KeepRatio>true</KeepRatio>"
                       "<DitherMode>6</DitherMode><NoAntialiasingAllowed>false</NoAntialiasingAllowed>"
                       "<Visible>true</Visible></Picture>"));
  p->SetKeepRatio(false);
  p->SetVisible(false);
  TXmlDocument doc;
  XmlParse(doc, "<Picture><Store>false</Store></Picture>");
  p->LoadFromXML(doc.child("Picture"));
  EXPECT_FALSE(p->StorePicture());
  EXPECT_FALSE(p->KeepRatio());  // current value kept
  EXPECT_FALSE(p->Visible());
  EXPECT_EQ(p->DitherMode(), 0);  // the one value with a default of its own
  EXPECT_TRUE(p->GetEmpty());
  EXPECT_FALSE(p->HasEmptyPicture());  // no path, so no placeholder
}

TEST_F(PictureXml, DamagedDataLeavesAnEmptyPictureAndRaisesNothing) {
  const QByteArray png = FileBytes(WriteImage(QStringLiteral("ok.png"), 4, 4));
  struct TCase {
    const char* Name;
    QByteArray Xml;
    bool Placeholder;
  };
  const std::vector<TCase> cases = {
      {"not base64", "<Picture><Path>x.png</Path><Data Class=\"TPngImage\" File=\"true\">***</Data></Picture>", true},
      {"truncated file bytes",
       "<Picture><Path>x.png</Path><Data Class=\"TPngImage\" File=\"true\">" + png.left(png.size() / 2).toBase64() +
           "</Data></Picture>",
       true},
      {"garbage serialised form",
       "<Picture><Data Class=\"TBitmap\" File=\"false\">" + QByteArray("\x0a\xff\xff\xff\x7fzz").toBase64() +
           "</Data></Picture>",
       false},
      {"unknown class and no path", "<Picture><Data Class=\"TNoSuch\" File=\"true\">AAAA</Data></Picture>", false},
  };
  for (const TCase& c : cases) {
    TMessageCatcher catcher;
    TOwned<TCountingPictureOwner> owner(Create<TCountingPictureOwner>());
    TOwned<TKxDePicture> p(Create<TKxDePicture>(owner.get()));
    TXmlDocument doc;
    XmlParse(doc, c.Xml);
    EXPECT_NO_THROW(p->LoadFromXML(doc.child("Picture"))) << c.Name;
    EXPECT_EQ(p->HasEmptyPicture(), c.Placeholder) << c.Name;
    EXPECT_EQ(p->GetEmpty(), !c.Placeholder) << c.Name;
    EXPECT_EQ(catcher.Messages.size(), 1) << c.Name;
    EXPECT_EQ(owner->Begins, owner->Ends) << c.Name;
    EXPECT_GE(owner->Changes, 1) << c.Name;
  }
}

TEST_F(PictureXml, ReadingIsOneChangeOfTheOwner) {
  TOwned<TKxDePicture> source(Create<TKxDePicture>(nullptr));
  source->LoadFromFile(WriteImage(QStringLiteral("one.png"), 2, 2));
  TOwned<TCountingPictureOwner> owner(Create<TCountingPictureOwner>());
  TOwned<TKxDePicture> p(Create<TKxDePicture>(owner.get()));
  int changes = 0;
  p->OnChange = [&](TKxDePicture*) { ++changes; };
  RoundTrip(source.get(), p.get());
  EXPECT_EQ(owner->Begins, 1);
  EXPECT_EQ(owner->Ends, 1);
  EXPECT_GE(changes, 1);
}

TEST_F(PictureXml, PicturePropsAddTheirPlacement) {
  TOwned<TKxDePictureProps> p(Create<TKxDePictureProps>(nullptr));
  p->SetHorizontalIndent(7);
  p->SetVerticalIndent(-3);
  p->SetPictureIndex(4);
  p->SetOrient(TKxDePictureOrient::kxdpoCenter);
  const QByteArray text = ElementText([&](TXmlNode n) { p->SaveToXML(n); });
  EXPECT_TRUE(text.endsWith("<Visible>true</Visible><Indent>7</Indent><Orient>4</Orient><Index>4</Index>"
                            "<TopIndent>-3</TopIndent></Picture>"))
      << text.toStdString();
  TOwned<TKxDePictureProps> q(Create<TKxDePictureProps>(nullptr));
  TXmlDocument doc;
  XmlParse(doc, text);
  q->LoadFromXML(doc.child("Picture"));
  EXPECT_EQ(q->HorizontalIndent(), 7);
  EXPECT_EQ(q->VerticalIndent(), -3);
  EXPECT_EQ(q->PictureIndex(), 4);
  EXPECT_EQ(q->Orient(), TKxDePictureOrient::kxdpoCenter);
  EXPECT_EQ(ElementText([&](TXmlNode n) { q->SaveToXML(n); }), text);
  // An orientation that does not exist is ignored.
  XmlParse(doc, "<Picture><Orient>99</Orient></Picture>");
  q->LoadFromXML(doc.child("Picture"));
  EXPECT_EQ(q->Orient(), TKxDePictureOrient::kxdpoCenter);
}

TEST(ColorManagementXml, WritesInOrderReadsWithClampsAndKeepsWhatIsAbsent) {
  TOwned<TmekColorManagementProperties> c(Create<TmekColorManagementProperties>(nullptr));
  TXmlDocument doc;
  TXmlNode e = doc.append_child("SplitColors");
  c->SaveToXML(e);
  EXPECT_EQ(XmlToText(e, false),
            QByteArray("<SplitColors><SplitColor>255</SplitColor><SatTolPositive>10</SatTolPositive>"
                       "<HueTolPositive>10</HueTolPositive><SatTolNegative>-10</SatTolNegative>"
                       "<HueTolNegative>-10</HueTolNegative><AutoLevels>false</AutoLevels>"
                       "<ApplyGammaCorrection>true</ApplyGammaCorrection><GammaCorrection>0.5</GammaCorrection>"
                       "<FullPictureOnColorHead>false</FullPictureOnColorHead></SplitColors>"));
  TXmlDocument in;
  XmlParse(in,
           "<c><SplitColor>-16777208</SplitColor><SatTolPositive>500</SatTolPositive>"
           "<HueTolNegative>7</HueTolNegative><AutoLevels>true</AutoLevels><GammaCorrection>NaN</GammaCorrection></c>");
  c->SetPositiveHueTolerance(42);
  c->LoadFromXML(in.child("c"));
  EXPECT_EQ(c->SplitColor(), -16777208);
  EXPECT_EQ(c->PositiveSaturationTolerance(), 100);
  EXPECT_EQ(c->NegativeHueTolerance(), 0);
  EXPECT_EQ(c->PositiveHueTolerance(), 42);
  EXPECT_TRUE(c->AutoLevels());
  EXPECT_FLOAT_EQ(c->GammaCorrection(), 0.5f);
  // Everything written reads back.
  TOwned<TmekColorManagementProperties> d(Create<TmekColorManagementProperties>(nullptr));
  TXmlDocument out;
  c->SaveToXML(out.append_child("c"));
  d->LoadFromXML(out.child("c"));
  TXmlDocument out2;
  d->SaveToXML(out2.append_child("c"));
  EXPECT_EQ(XmlToText(out2, false), XmlToText(out, false));
}

}  // namespace
}  // namespace vorn

#include "PictureXmlTest.moc"
