// The picture holder, the graphic registry, picture lists and colour-management settings.
#include <vorn/common/ColorManagementProperties.h>
#include <vorn/common/Exceptions.h>
#include <vorn/common/KxDePicture.h>
#include <vorn/common/KxDePictureList.h>
#include <vorn/common/PictureRegisteredFormats.h>

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMetaProperty>
#include <QPainter>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace vorn {
namespace {

// An owner that counts the brackets a picture opens around its changes.
class TCountingOwner : public TPersistent, public IKxDePictureOwner {
  VORN_OBJECT(TCountingOwner, TPersistent)

 public:
  int Begins = 0, Changes = 0, Ends = 0;
  void BeginPictureChange() override { ++Begins; }
  void PicturePropertyChanged() override { ++Changes; }
  void EndPictureChange() override { ++Ends; }
};

class Pictures : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  QString Path(const QString& Name) const { return Dir.filePath(Name); }

  // Writes a W x H image in the given format and returns its path.
  QString WriteImage(const QString& Name, int W, int H, const char* Format = "PNG", QColor Color = Qt::red) {
    QImage img(W, H, QImage::Format_ARGB32);
    img.fill(Color);
    const QString p = Path(Name);
    EXPECT_TRUE(img.save(p, Format));
    return p;
  }
  QString WriteBytes(const QString& Name, const QByteArray& Bytes) {
    QFile f(Path(Name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Bytes);
    return f.fileName();
  }
  QByteArray ReadBytes(const QString& P) {
    QFile f(P);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
};

TEST_F(Pictures, LoadingKeepsTheFileBytesAndAssignmentSharesThem) {
  const QString png = WriteImage(QStringLiteral("photo.png"), 30, 20);
  TOwned<TKxDePicture> a(Create<TKxDePicture>(nullptr));
  a->LoadFromFile(png);
  ASSERT_TRUE(a->GetGraphic());
  EXPECT_EQ(a->GetGraphic()->ClassName(), QStringLiteral("TPngImage"));
  EXPECT_EQ(a->GetWidth(), 30);
  EXPECT_DOUBLE_EQ(a->Ratio(), 1.5);
  EXPECT_EQ(a->ImageFileStream(), ReadBytes(png));
  EXPECT_TRUE(a->PictureChanged());
  EXPECT_FALSE(a->GetEmpty());
  TOwned<TKxDePicture> b(Create<TKxDePicture>(nullptr));
  b->Assign(a.get());
  EXPECT_EQ(b->ImageFileStream(), a->ImageFileStream());
  EXPECT_EQ(b->PicturePath(), png);
  EXPECT_EQ(b->GetWidth(), 30);
  EXPECT_NE(b->GetGraphic(), a->GetGraphic());  // its own graphic
  // Assigning a bare picture takes it and forgets where the holder's picture came from.
  TOwned<TKxDePicture> c(Create<TKxDePicture>(nullptr));
  c->SetKeepRatio(false);
  c->Assign(a->Picture());
  EXPECT_TRUE(c->KeepRatio());
  EXPECT_TRUE(c->PicturePath().isEmpty());
  EXPECT_EQ(c->GetHeight(), 20);
}

TEST_F(Pictures, EmptyNamePlaceholderAndRotationReset) {
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  EXPECT_TRUE(p->GetEmpty());
  p->LoadEmptyPicture();
  EXPECT_TRUE(p->HasEmptyPicture());
  EXPECT_FALSE(p->GetEmpty());
  EXPECT_GT(p->GetWidth(), 0);
  p->SetRotation(30);
  p->LoadFromFile(WriteImage(QStringLiteral("a.png"), 4, 4));
  EXPECT_EQ(p->Rotation(), 0);
  EXPECT_FALSE(p->HasEmptyPicture());
  p->LoadFromFile(QString());
  EXPECT_TRUE(p->GetEmpty());
  EXPECT_EQ(p->GetGraphic(), nullptr);
  EXPECT_TRUE(p->PicturePath().isEmpty());
}

TEST_F(Pictures, ExtensionDecidesAntialiasingCaseSensitively) {
  const QByteArray png = ReadBytes(WriteImage(QStringLiteral("x.png"), 5, 5));
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  p->LoadFromFile(WriteBytes(QStringLiteral("plan.dxf"), png));  // read by the bmp fallback
  EXPECT_TRUE(p->NoAntialiasingAllowed());
  p->LoadFromFile(WriteBytes(QStringLiteral("plan.DXF"), png));
  EXPECT_FALSE(p->NoAntialiasingAllowed());
  p->LoadFromFile(WriteBytes(QStringLiteral("plan.plt"), png));
  EXPECT_TRUE(p->NoAntialiasingAllowed());
  p->LoadFromFile(Path(QStringLiteral("x.png")));
  EXPECT_FALSE(p->NoAntialiasingAllowed());
}

TEST_F(Pictures, BadPathsFailClearlyAndLoseNothing) {
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  const QString good = WriteImage(QStringLiteral("good.png"), 7, 3);
  p->LoadFromFile(good);
  const QByteArray bytes = p->ImageFileStream();
  auto expectUnchanged = [&] {
    EXPECT_EQ(p->PicturePath(), good);
    EXPECT_EQ(p->ImageFileStream(), bytes);
    EXPECT_EQ(p->GetWidth(), 7);
  };
  EXPECT_THROW(p->LoadFromFile(Dir.path()), Exception);  // a directory
  expectUnchanged();
  EXPECT_THROW(p->LoadFromFile(QStringLiteral("/dev/null")), Exception);  // a device
  expectUnchanged();
  const QString fifo = Path(QStringLiteral("pipe.png"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  EXPECT_THROW(p->LoadFromFile(fifo), Exception);  // a pipe, and it must not block
  expectUnchanged();
  EXPECT_THROW(p->LoadFromFile(Path(QStringLiteral("missing.png"))), Exception);
  expectUnchanged();
  const int64_t saved = TKxDePicture::MaxPictureFileSize;
  TKxDePicture::MaxPictureFileSize = 10;
  try {
    p->LoadFromFile(good);
    ADD_FAILURE() << "a file over the limit must be refused";
  } catch (const Exception& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("limit"))) << e.what();
  }
  TKxDePicture::MaxPictureFileSize = saved;
  expectUnchanged();
  // Corrupt bytes: every candidate class fails and the last error comes out.
  EXPECT_THROW(p->LoadFromFile(WriteBytes(QStringLiteral("broken.png"), QByteArray("\x89PNG garbage", 12))), Exception);
  expectUnchanged();
}

TEST_F(Pictures, EnvironmentReferencesInPathsAreExpanded) {
  WriteImage(QStringLiteral("env.png"), 2, 2);
  qputenv("VORN_PICTURE_DIR", QFile::encodeName(Dir.path()));
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  p->LoadFromFile(QStringLiteral("${VORN_PICTURE_DIR}/env.png"));
  EXPECT_EQ(p->GetWidth(), 2);
  EXPECT_EQ(p->PicturePath(), QStringLiteral("${VORN_PICTURE_DIR}/env.png"));  // kept as written
  qunsetenv("VORN_PICTURE_DIR");
}

TEST_F(Pictures, TransparencyRuleAndVectorPictures) {
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  QImage indexed(8, 8, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  indexed.fill(1);
  ASSERT_TRUE(indexed.save(Path(QStringLiteral("pal.bmp")), "BMP"));
  p->LoadFromFile(Path(QStringLiteral("pal.bmp")));
  EXPECT_EQ(p->GetGraphic()->ClassName(), QStringLiteral("TBitmap"));
  EXPECT_FALSE(p->GetTransparent());  // 8-bit bitmaps are opaque
  p->LoadFromFile(WriteImage(QStringLiteral("t.png"), 3, 3));
  EXPECT_TRUE(p->GetTransparent());
  p->LoadFromFile(WriteBytes(QStringLiteral("v.svg"),
                             "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='10'>"
                             "<rect width='40' height='10' fill='blue'/></svg>"));
  ASSERT_TRUE(p->GetGraphic());
  EXPECT_TRUE(p->GetGraphic()->IsVector());
  EXPECT_EQ(p->GetWidth(), 40);
  EXPECT_DOUBLE_EQ(p->Ratio(), 4.0);
  const QImage raster = p->GetGraphic()->ToImage(QSize(8, 2));
  EXPECT_EQ(raster.pixelColor(4, 1), QColor(Qt::blue));
}

TEST_F(Pictures, TransparentBitmapsLeaveOutTheirTransparentColour) {
  // A red 24-bit bitmap with a white top-right and a lime bottom-left pixel.
  QImage img(4, 4, QImage::Format_RGB888);
  img.fill(Qt::red);
  img.setPixel(3, 0, qRgb(255, 255, 255));
  img.setPixel(0, 3, qRgb(0, 255, 0));
  ASSERT_TRUE(img.save(Path(QStringLiteral("corner.bmp")), "BMP"));
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  p->LoadFromFile(Path(QStringLiteral("corner.bmp")));  // made transparent by the picture's rule
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
  ASSERT_TRUE(alpha.save(Path(QStringLiteral("alpha.png")), "PNG"));
  p->LoadFromFile(Path(QStringLiteral("alpha.png")));
  EXPECT_EQ(drawn(p->GetGraphic()), (std::vector<QRgb>{white, white, white}));
}

TEST_F(Pictures, SerialisedFormRoundTrips) {
  TOwned<TKxDePicture> p(Create<TKxDePicture>(nullptr));
  p->LoadFromFile(WriteImage(QStringLiteral("s.png"), 6, 4, "PNG", QColor(10, 200, 30)));
  const QByteArray bytes = PictureToBytes(p->Picture());
  ASSERT_GT(bytes.size(), 5);
  EXPECT_EQ(bytes.at(0), 10);  // one binary value
  EXPECT_EQ(bytes.mid(6, 9), QByteArray("TPngImage"));  // its class name after the length
  TOwned<TPicture> back(Create<TPicture>());
  PictureFromBytes(back.get(), bytes);
  ASSERT_TRUE(back->Graphic());
  EXPECT_EQ(back->Graphic()->ClassName(), QStringLiteral("TPngImage"));
  EXPECT_EQ(back->Graphic()->ToImage().pixelColor(3, 2), QColor(10, 200, 30));
  EXPECT_TRUE(PictureToBytes(back.get()) == bytes);
  // Truncated or foreign data raises and keeps what the picture had.
  EXPECT_THROW(PictureFromBytes(back.get(), bytes.left(bytes.size() - 3)), Exception);
  QByteArray foreign = bytes;
  foreign.replace(6, 9, "TNoImage!");
  EXPECT_THROW(PictureFromBytes(back.get(), foreign), Exception);
  EXPECT_EQ(back->Width(), 6);
  TOwned<TPicture> empty(Create<TPicture>());
  EXPECT_TRUE(PictureToBytes(empty.get()).isEmpty());
}

TEST_F(Pictures, EveryPropertyChangeIsOneOwnerChange) {
  TOwned<TCountingOwner> owner(Create<TCountingOwner>());
  TOwned<TKxDePicture> p(Create<TKxDePicture>(owner.get()));
  p->SetKeepRatio(false);
  p->SetKeepRatio(false);  // unchanged: nothing
  p->SetDitherMode(3);
  p->SetVisible(true);     // unchanged
  EXPECT_EQ(owner->Begins, 2);
  EXPECT_EQ(owner->Changes, 2);
  EXPECT_EQ(owner->Ends, 2);
  int notified = 0;
  p->OnChange = [&](TKxDePicture*) { ++notified; };
  p->LoadFromFile(WriteImage(QStringLiteral("o.png"), 2, 2));
  // A load is bracketed too, but reaches the owner through the change event only.
  EXPECT_EQ(owner->Changes, 2);
  EXPECT_EQ(owner->Begins, 3);
  EXPECT_EQ(owner->Begins, owner->Ends);
  EXPECT_EQ(notified, 1);
  EXPECT_THROW(p->LoadFromFile(Path(QStringLiteral("nothing.png"))), Exception);
  EXPECT_EQ(owner->Begins, owner->Ends);  // a failed load leaves no bracket open
}

TEST(PictureRegistry, ExtensionsAndClasses) {
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral(".PNG"))->ClassName(), QStringLiteral("TPngImage"));
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral("jpeg")), GraphicClassForExtension(QStringLiteral("jpg")));
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral("..png")), nullptr);  // only one dot is stripped
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral("nope")), nullptr);
  QList<TPictureFormatLine> list;
  GetListOfRegisteredPictureFileFormats(list);
  EXPECT_TRUE(list.contains(TPictureFormatLine{QStringLiteral("png=Portable Network Graphics"), ClassOf<TPngImage>()}));
  EXPECT_TRUE(list.contains(TPictureFormatLine{QStringLiteral("svg=Scalable Vector Graphics"), ClassOf<TSvgGraphic>()}));
  RegisterPictureFileFormat(QStringLiteral(".xyz"), QStringLiteral("Test"), ClassOf<TBitmap>());
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral("XYZ")), ClassOf<TBitmap>());
  UnregisterPictureFileFormat(QStringLiteral("xyz"));
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral("xyz")), nullptr);
  QList<TGraphicClass> classes;
  GetListOfRegisteredPictureTypes(classes);
  EXPECT_EQ(classes.count(ClassOf<TJPEGImage>()), 1);
  EXPECT_EQ(GraphicClassByName(QStringLiteral("tsvggraphic")), ClassOf<TSvgGraphic>());
}

TEST(PictureLists, NamesNotifiersAndLinkedProps) {
  TKxDePictureList list;
  TKxDePictureNotifier notifier;
  std::vector<TKxDePictureChangeAction> heard;
  notifier.OnChange = [&](TObject*, TKxDePictureChangeAction a) { heard.push_back(a); };
  list.RegisterNotifier(&notifier);
  list.BeginUpdate();
  TKxDePictureListItem* logo = list.Pictures()->Add();
  logo->SetName(QStringLiteral("logo"));
  list.Pictures()->Add()->SetName(QStringLiteral("other"));
  list.EndUpdate();
  EXPECT_EQ(heard.size(), 1u);  // one announcement for the bracket
  EXPECT_EQ(list.GetPicture(QStringLiteral("LOGO")), logo->Picture());
  EXPECT_EQ(list.GetPicture(QStringLiteral("missing")), nullptr);
  EXPECT_EQ(list.GetPicture(5), nullptr);
  logo->Picture()->LoadEmptyPicture();
  EXPECT_EQ(heard.size(), 2u);  // a picture change reaches the list's notifiers
  // So does every new text of an item, written directly or by name; the same text again is silent.
  logo->SetCaption(QStringLiteral("Logo"));
  logo->SetDescription({QStringLiteral("Company logo"), QStringLiteral("black on white")});
  EXPECT_TRUE(logo->metaObject()->property(logo->metaObject()->indexOfProperty("Name")).writeOnGadget(logo, QStringLiteral("brand")));
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
  EXPECT_EQ(copy.Pictures()->Items(1)->Name(), QStringLiteral("other"));
  EXPECT_TRUE(copy.GetPicture(QStringLiteral("brand"))->HasEmptyPicture());
  EXPECT_NE(copy.GetPicture(0), logo->Picture());

  // Controls make their props from a class chosen at run time.
  const TKxDeCustomPicturePropsClass propsClass = ClassOf<TKxDePictureProps>();
  TOwned<TKxDePicture> made(propsClass->Construct<TKxDePicture>(nullptr));
  auto* props = dynamic_cast<TKxDePictureProps*>(made.get());
  ASSERT_NE(props, nullptr);
  EXPECT_EQ(props->Orient(), TKxDePictureOrient::kxdpoTiled);
  EXPECT_EQ(props->GetPicture(), props->Picture());
  props->SetPictureList(&list);
  props->SetPictureIndex(0);
  EXPECT_EQ(props->GetPicture(), logo->Picture()->Picture());
  EXPECT_TRUE(props->HasPicture(props->GetPicture()));
  props->SetVisible(false);
  EXPECT_FALSE(props->HasPicture(props->GetPicture()));
  list.UnregisterNotifier(&notifier);
  list.Pictures()->Delete(0);
  EXPECT_EQ(heard.size(), 5u);  // unregistered: the deletion is not heard
}

TEST(PictureLists, DestroyedListIsDroppedByItsProps) {
  TOwned<TKxDePictureProps> props(Create<TKxDePictureProps>(nullptr));
  TKxDePictureNotifier notifier;
  bool destroyed = false;
  notifier.OnChange = [&](TObject*, TKxDePictureChangeAction a) {
    destroyed = a == TKxDePictureChangeAction::kxpcaDestroyed;
  };
  {
    TKxDePictureList list;
    list.RegisterNotifier(&notifier);
    list.Pictures()->Add();
    props->SetPictureList(&list);
  }
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(props->PictureList(), nullptr);
  EXPECT_EQ(props->GetPicture(), props->Picture());
}

TEST(ColorManagement, DefaultsClampingAndAssign) {
  TOwned<TmekColorManagementProperties> a(Create<TmekColorManagementProperties>());
  EXPECT_EQ(a->SplitColor(), 255);
  EXPECT_EQ(a->NegativeHueTolerance(), -10);
  EXPECT_FLOAT_EQ(a->GammaCorrection(), 0.5f);
  a->SetPositiveSaturationTolerance(150);
  a->SetNegativeSaturationTolerance(5);
  a->SetPositiveHueTolerance(-3);
  EXPECT_EQ(a->PositiveSaturationTolerance(), 100);
  EXPECT_EQ(a->NegativeSaturationTolerance(), 0);
  EXPECT_EQ(a->PositiveHueTolerance(), 0);
  a->SetAutoLevels(true);
  a->SetGammaCorrection(1.25f);
  TOwned<TmekColorManagementProperties> b(Create<TmekColorManagementProperties>());
  b->Assign(a.get());
  EXPECT_TRUE(b->AutoLevels());
  EXPECT_FLOAT_EQ(b->GammaCorrection(), 1.25f);
  EXPECT_EQ(b->PositiveSaturationTolerance(), 100);
  TOwned<TKxDePicture> other(Create<TKxDePicture>(nullptr));
  EXPECT_THROW(b->Assign(other.get()), Exception);
}

}  // namespace
}  // namespace vorn

#include "PictureTest.moc"
