// The picture holder, the graphic registry, picture lists, and the picture element in XML (stored file
// bytes, the serialised form, path-only pictures, the placeholder) with picture props and colour-management
// settings.
#include "support/TestSupport.h"

#include <QPainter>

#include <sys/stat.h>

namespace vorn::test {
namespace {

// An owner that counts the brackets a picture opens around its changes.
class TCountingOwner : public TPersistent, public IKxDePictureOwner {
 public:
  int Begins = 0, Changes = 0, Ends = 0;
  void BeginPictureChange() override { ++Begins; }
  void PicturePropertyChanged() override { ++Changes; }
  void EndPictureChange() override { ++Ends; }
};

class Pictures : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  QString Path(const char* Name) const { return Dir.filePath(QString::fromLatin1(Name)); }
};

TEST_F(Pictures, LoadingKeepsTheFileBytesAndAssignmentSharesThem) {
  const QString png = WriteImage(Dir, QStringLiteral("photo.png"), 30, 20);
  TOwned<TKxDePicture> a(Create<TKxDePicture>(nullptr));
  a->SetRotation(30);
  a->LoadFromFile(png);
  EXPECT_EQ(a->GetGraphic()->ClassName(), QStringLiteral("TPngImage"));
  EXPECT_DOUBLE_EQ(a->Ratio(), 1.5);
  EXPECT_EQ(a->ImageFileStream(), ReadFile(png));
  EXPECT_EQ(a->Rotation(), 0) << "a new picture starts unturned";
  TOwned<TKxDePicture> b(Create<TKxDePicture>(nullptr));
  b->Assign(a.get());
  EXPECT_EQ(b->ImageFileStream(), a->ImageFileStream());
  EXPECT_NE(b->GetGraphic(), a->GetGraphic()) << "its own graphic";
  // A bare picture is taken without where the holder's came from.
  TOwned<TKxDePicture> c(Create<TKxDePicture>(nullptr));
  c->SetKeepRatio(false);
  c->Assign(a->Picture());
  EXPECT_TRUE(c->KeepRatio());
  EXPECT_TRUE(c->PicturePath().isEmpty());
  EXPECT_TRUE(c->ImageFileStream().isEmpty());
  // The placeholder, and an empty name that clears.
  c->LoadEmptyPicture();
  EXPECT_TRUE(c->HasEmptyPicture());
  EXPECT_FALSE(c->GetEmpty());
  c->LoadFromFile(QString());
  EXPECT_TRUE(c->GetEmpty());
}

TEST_F(Pictures, BadPathsFailClearlyAndLoseNothing) {
  TOwned<TCountingOwner> owner(Create<TCountingOwner>());
  TOwned<TKxDePicture> p(Create<TKxDePicture>(owner.get()));
  const QString good = WriteImage(Dir, QStringLiteral("good.png"), 7, 3);
  p->LoadFromFile(good);
  const QByteArray bytes = p->ImageFileStream();
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.png")).constData(), 0600), 0);
  const QString bad[] = {Dir.path(), QStringLiteral("/dev/null"), Path("pipe.png"), Path("missing.png"),
                         WriteFile(Path("broken.png"), QByteArray("\x89PNG garbage", 12))};
  for (const QString& path : bad) {
    EXPECT_THROW(p->LoadFromFile(path), Exception) << path.toStdString();  // a pipe must not block either
    EXPECT_EQ(p->PicturePath(), good);
    EXPECT_EQ(p->ImageFileStream(), bytes);
  }
  const int64_t saved = TKxDePicture::MaxPictureFileSize;
  TKxDePicture::MaxPictureFileSize = 10;
  // The size of a file in /proc is known only by reading it: the limit holds while reading too.
  for (const QString& big : {good, QStringLiteral("/proc/self/status")}) {
    try {
      p->LoadFromFile(big);
      ADD_FAILURE() << big.toStdString() << " is over the limit and must be refused";
    } catch (const Exception& e) {
      EXPECT_TRUE(e.Message().contains(QStringLiteral("limit"))) << e.what();
    }
  }
  TKxDePicture::MaxPictureFileSize = saved;
  EXPECT_EQ(p->GetWidth(), 7);
  // Leaving a picture to its file reloads it: a file gone raises, inside the owner's bracket.
  p->SetPicturePath(Path("gone.png"));
  EXPECT_THROW(p->SetStorePicture(false), Exception);
  EXPECT_EQ(owner->Begins, owner->Ends) << "a failed load leaves no bracket open";
}

TEST_F(Pictures, ExtensionsChooseClassesAntialiasingAndTransparency) {
  const QByteArray png = ReadFile(WriteImage(Dir, QStringLiteral("x.png"), 5, 5));
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  // CAD drawings must never be smoothed; the test is case-sensitive (read by the bmp fallback).
  for (auto [name, noAntialiasing] : {std::pair{"plan.dxf", true}, {"plan.DXF", false}, {"plan.plt", true}}) {
    p->LoadFromFile(WriteFile(Path(name), png));
    EXPECT_EQ(p->NoAntialiasingAllowed(), noAntialiasing) << name;
  }
  QImage indexed(8, 8, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  indexed.fill(1);
  ASSERT_TRUE(indexed.save(Path("pal.bmp"), "BMP"));
  p->LoadFromFile(Path("pal.bmp"));
  EXPECT_FALSE(p->GetTransparent()) << "8-bit bitmaps are opaque";
  p->LoadFromFile(Path("x.png"));
  EXPECT_TRUE(p->GetTransparent());
  qputenv("VORN_PICTURE_DIR", QFile::encodeName(Dir.path()));
  p->LoadFromFile(QStringLiteral("${VORN_PICTURE_DIR}/x.png"));
  EXPECT_EQ(p->PicturePath(), QStringLiteral("${VORN_PICTURE_DIR}/x.png")) << "kept as written";
  qunsetenv("VORN_PICTURE_DIR");
}

TEST_F(Pictures, TransparentBitmapsLeaveOutTheirTransparentColour) {
  // A red 24-bit bitmap with a white top-right and a lime bottom-left pixel.
  QImage img(4, 4, QImage::Format_RGB888);
  img.fill(Qt::red);
  img.setPixel(3, 0, qRgb(255, 255, 255));
  img.setPixel(0, 3, qRgb(0, 255, 0));
  ASSERT_TRUE(img.save(Path("corner.bmp"), "BMP"));
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  p->LoadFromFile(Path("corner.bmp"));  // made transparent by the picture's rule
  const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255), lime = qRgb(0, 255, 0), red = qRgb(255, 0, 0);
  // The picture drawn over black: its top-right, bottom-left and middle pixels.
  auto drawn = [&](const TGraphic* G) {
    QImage out(4, 4, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter painter(&out);
    G->Draw(&painter, QRectF(0, 0, 4, 4));
    painter.end();
    return std::vector<QRgb>{out.pixel(3, 0), out.pixel(0, 3), out.pixel(1, 1)};
  };
  struct TCase {
    TColor Color;
    bool Transparent;
    std::vector<QRgb> Expected;
  };
  // Each case changes the same picture after it was drawn: nothing stale is drawn from before.
  for (const TCase& c : {TCase{clWhite, true, {black, lime, red}}, TCase{clDefault, true, {white, black, red}},
                         TCase{clRed, true, {white, lime, black}}, TCase{clNone, true, {white, lime, red}},
                         TCase{clWhite, false, {white, lime, red}}}) {
    p->SetTransparentColor(c.Color);
    p->SetTransparent(c.Transparent);
    EXPECT_EQ(drawn(p->GetGraphic()), c.Expected) << c.Color << " " << c.Transparent;
  }
  // The disabled form and new pixels keep to the rule.
  p->SetTransparent(true);
  EXPECT_EQ(qAlpha(p->GetDisabledPicture()->Graphic()->ToImage().pixel(3, 0)), 0);
  img.setPixel(1, 1, qRgb(255, 255, 255));
  static_cast<TRasterGraphic*>(p->GetGraphic())->SetImage(img);
  EXPECT_EQ(drawn(p->GetGraphic()), (std::vector<QRgb>{black, lime, black}));
  // A picture with an alpha channel carries its own transparency: its white stays.
  QImage alpha(4, 4, QImage::Format_ARGB32);
  alpha.fill(Qt::white);
  alpha.setPixel(0, 0, qRgba(0, 0, 0, 0));
  ASSERT_TRUE(alpha.save(Path("alpha.png"), "PNG"));
  p->LoadFromFile(Path("alpha.png"));
  EXPECT_EQ(drawn(p->GetGraphic()), (std::vector<QRgb>{white, white, white}));
}

TEST_F(Pictures, TheStoredFormNamesItsClassAndRefusesDamage) {
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  p->LoadFromFile(WriteImage(Dir, QStringLiteral("s.png"), 6, 4, QColor(10, 200, 30)));
  const QByteArray bytes = PictureToBytes(p->Picture());
  EXPECT_EQ(bytes.at(0), 10) << "one binary value";
  EXPECT_EQ(bytes.mid(6, 9), QByteArray("TPngImage")) << "its class name after the length";
  TOwned<TPicture> back(Create<TPicture>());
  PictureFromBytes(back.get(), bytes);
  EXPECT_EQ(back->Graphic()->ToImage().pixelColor(3, 2), QColor(10, 200, 30));
  EXPECT_EQ(PictureToBytes(back.get()), bytes);
  QByteArray foreign = bytes;
  foreign.replace(6, 9, "TNoImage!");
  for (const QByteArray& damaged : {bytes.left(bytes.size() - 3), foreign})
    EXPECT_THROW(PictureFromBytes(back.get(), damaged), Exception);
  EXPECT_EQ(back->Width(), 6) << "the picture keeps what it had";
  TOwned<TPicture> empty(Create<TPicture>());
  EXPECT_TRUE(PictureToBytes(empty.get()).isEmpty());
}

TEST(PictureRegistry, ExtensionsAndClasses) {
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral(".PNG")), ClassOf<TPngImage>());
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral("jpeg")), GraphicClassForExtension(QStringLiteral("jpg")));
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral("..png")), nullptr) << "only one dot is stripped";
  QList<TPictureFormatLine> list;
  GetListOfRegisteredPictureFileFormats(list);
  EXPECT_TRUE(
      list.contains(TPictureFormatLine{QStringLiteral("svg=Scalable Vector Graphics"), ClassOf<TSvgGraphic>()}));
  EXPECT_EQ(GraphicClassByName(QStringLiteral("tsvggraphic")), ClassOf<TSvgGraphic>());
  // A codec's extension comes and goes alone; the class keeps its other extensions.
  RegisterPictureFileFormat(QStringLiteral(".VTst"), QStringLiteral("Test pictures"), ClassOf<TPngImage>());
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral("vtst")), ClassOf<TPngImage>());
  UnregisterPictureFileFormat(QStringLiteral("VTST"));
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral("vtst")), nullptr);
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral("png")), ClassOf<TPngImage>());
}

TEST(PictureLists, NamesNotifiersAndLinkedProps) {
  // Controls make their props from a class chosen at run time.
  TOwned<TKxDePicture> made(ClassOf<TKxDePictureProps>()->Construct<TKxDePicture>(nullptr));
  auto* props = dynamic_cast<TKxDePictureProps*>(made.get());
  ASSERT_NE(props, nullptr);
  TKxDePictureNotifier notifier;
  std::vector<TKxDePictureChangeAction> heard;
  notifier.OnChange = [&](TObject*, TKxDePictureChangeAction a) { heard.push_back(a); };
  {
    TKxDePictureList list;
    list.RegisterNotifier(&notifier);
    list.BeginUpdate();
    TKxDePictureListItem* logo = list.Pictures()->Add();
    logo->SetName(QStringLiteral("logo"));
    list.Pictures()->Add()->SetName(QStringLiteral("other"));
    list.EndUpdate();
    EXPECT_EQ(heard.size(), 1u) << "one announcement for the bracket";
    EXPECT_EQ(list.GetPicture(QStringLiteral("LOGO")), logo->Picture());
    logo->Picture()->LoadEmptyPicture();
    // A picture change and every new text of an item, written directly or by name, reach the
    // list's notifiers; the same text again is silent.
    logo->SetCaption(QStringLiteral("Logo"));
    logo->SetDescription({QStringLiteral("Company logo"), QStringLiteral("black on white")});
    EXPECT_TRUE(logo->metaObject()
                    ->property(logo->metaObject()->indexOfProperty("Name"))
                    .writeOnGadget(logo, QStringLiteral("brand")));
    logo->SetCaption(QStringLiteral("Logo"));
    EXPECT_EQ(heard.size(), 5u);
    EXPECT_EQ(list.GetPicture(QStringLiteral("Brand")), logo->Picture());
    // The items are published: another list takes them all by property, as one change.
    TKxDePictureList copy;
    TKxDePictureNotifier copyNotifier;
    int copyChanges = 0;
    copyNotifier.OnChange = [&](TObject*, TKxDePictureChangeAction) { ++copyChanges; };
    copy.RegisterNotifier(&copyNotifier);
    const QMetaProperty pictures = copy.metaObject()->property(copy.metaObject()->indexOfProperty("Pictures"));
    ASSERT_TRUE(pictures.write(&copy, QVariant::fromValue(list.Pictures())));
    EXPECT_EQ(copyChanges, 1);
    ASSERT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.Pictures()->Items(0)->Description(), logo->Description());
    EXPECT_TRUE(copy.GetPicture(QStringLiteral("brand"))->HasEmptyPicture());
    EXPECT_NE(copy.GetPicture(0), logo->Picture());
    // Deleting is a change; an index out of range changes nothing, a deleted name is not found.
    copy.Pictures()->Delete(7);
    copy.Pictures()->Delete(0);
    EXPECT_EQ(copyChanges, 2);
    EXPECT_EQ(copy.GetPicture(QStringLiteral("brand")), nullptr);
    ASSERT_NE(copy.GetPicture(QStringLiteral("other")), nullptr);
    copy.UnregisterNotifier(&copyNotifier);
    copy.Pictures()->Delete(0);
    EXPECT_EQ(copyChanges, 2) << "an unregistered notifier hears nothing";
    EXPECT_EQ(copy.GetCount(), 0);
    props->SetPictureList(&list);
    props->SetPictureIndex(0);
    EXPECT_EQ(props->GetPicture(), logo->Picture()->Picture());
    props->SetVisible(false);
    EXPECT_FALSE(props->HasPicture(props->GetPicture()));
  }
  EXPECT_EQ(heard.back(), TKxDePictureChangeAction::kxpcaDestroyed);
  EXPECT_EQ(props->PictureList(), nullptr) << "a destroyed list is dropped";
  EXPECT_EQ(props->GetPicture(), props->Picture());
}

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

using PictureXml = Pictures;

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
  XmlParse(doc, "<Picture><Orient>99</Orient></Picture>");
  props->LoadFromXML(doc.child("Picture"));
  EXPECT_EQ(props->Orient(), TKxDePictureOrient::kxdpoCenter);
}

TEST_F(PictureXml, DamagedDataLeavesAnEmptyPictureReportsItAndRaisesNothing) {
  const QByteArray png = ReadFile(WriteImage(Dir, QStringLiteral("ok.png"), 4, 4));
  const std::pair<QByteArray, bool> cases[] = {
      {"<Picture><Path>x.png</Path><Data Class=\"TPngImage\" File=\"true\">" + png.left(png.size() / 2).toBase64() +
           "</Data></Picture>",
       true},
      {"<Picture><Data Class=\"TBitmap\" File=\"false\">" + QByteArray("\x0a\xff\xff\xff\x7fzz").toBase64() +
           "</Data></Picture>",
       false},
      {"<Picture><Data Class=\"TPngImage\" File=\"true\">not*base64!</Data></Picture>", false},
  };
  for (const auto& [xml, placeholder] : cases) {
    TMessageSinkGuard catcher;
    TOwned<TCountingOwner> owner(Create<TCountingOwner>());
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

TEST(ColorManagementXml, ReadsWithClampsAndKeepsWhatIsAbsent) {
  TOwned<TmekColorManagementProperties> c(Create<TmekColorManagementProperties>(nullptr));
  TXmlDocument doc;
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
}

}  // namespace
}  // namespace vorn::test
