// TIMGGraphic: files and streams in both forms, the clipboard, assignment, grey conversion, and
// the registration that makes pictures read IMG files.
#include "RasterTestUtil.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace vorn;
using namespace vorn::test;
using namespace rastertest;

TEST(IMGGraphic, FilesInBothFormsFollowTheExtensionAndFailuresKeepWhatWasThere) {
  QTemporaryDir dir;
  const QImage original = PatternImage(50, 20, 4);
  TIMGGraphic graphic;
  graphic.SetBitmap(original);
  graphic.SetTextForm(true);
  graphic.SaveToFile(dir.filePath("a.ASC"));
  EXPECT_EQ(ReadFile(dir.filePath("a.ASC")), IMGBytesToText(IMGEncodeBytes(original)));
  graphic.SetTextForm(false);
  graphic.SaveToFile(dir.filePath("b.img"));
  EXPECT_EQ(ReadFile(dir.filePath("b.img")), IMGEncodeBytes(original));
  for (auto [name, text] : {std::pair{"a.ASC", true}, {"b.img", false}}) {
    TIMGGraphic back;
    back.SetTextForm(!text);
    back.LoadFromFile(dir.filePath(name));
    EXPECT_EQ(back.TextForm(), text) << name;
    EXPECT_TRUE(SamePixels(back.Bitmap(), original)) << name;
  }
  EXPECT_THROW(graphic.LoadFromFile(dir.filePath("missing.img")), EImgException);
  EXPECT_THROW(graphic.LoadFromFile(WriteFile(dir.filePath("zero.img"), IMGHeaderBytes({1, 8, 1, 1, 0, 0, 0, 7}))),
               EImgException);
  EXPECT_TRUE(SamePixels(graphic.Bitmap(), original));
  QImage rgb(4, 4, QImage::Format_RGB32);
  graphic.SetBitmap(rgb);
  EXPECT_THROW(graphic.SaveToFile(WriteFile(dir.filePath("keep.img"), "previous")), EImgException);
  EXPECT_EQ(ReadFile(dir.filePath("keep.img")), QByteArray("previous")) << "a failed save leaves the file alone";
  graphic.SetBitmap(original);
  EXPECT_THROW(graphic.SaveToFile(dir.filePath("no/such/folder/x.img")), EImgException);
}

TEST(IMGGraphic, StreamsSignalChangesAndWriteWhatTheyRead) {
  TIMGGraphic graphic;
  int changes = 0;
  graphic.OnChange = [&](TObject* Sender) { changes += Sender == &graphic ? 1 : 100; };
  QByteArray bytes = IMGEncodeBytes(PatternImage(9, 9, 1));
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  graphic.LoadFromStream(&in);
  EXPECT_TRUE(graphic.Modified());
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  graphic.SaveToStream(&out);
  EXPECT_FALSE(graphic.Modified());
  EXPECT_EQ(out.data(), bytes);
  EXPECT_EQ(changes, 1);
}

TEST(IMGGraphic, TheClipboardFormatCarriesTheStream) {
  TIMGGraphic graphic;
  uint16_t format = 123;
  QMimeData* data = reinterpret_cast<QMimeData*>(1);
  graphic.SaveToClipboardFormat(format, data);
  EXPECT_EQ(format, 0) << "an empty graphic offers nothing";
  EXPECT_EQ(data, nullptr);
  const QImage original = PatternImage(31, 7, 2);
  graphic.SetBitmap(original);
  graphic.SaveToClipboardFormat(format, data);
  std::unique_ptr<QMimeData> owned(data);
  EXPECT_EQ(format, CF_IMG());
  EXPECT_EQ(data->data(IMGClipboardMimeType()), IMGEncodeBytes(original));
  TIMGGraphic pasted;
  pasted.LoadFromClipboardFormat(CF_IMG(), data);
  EXPECT_TRUE(SamePixels(pasted.Bitmap(), original));
  EXPECT_THROW(pasted.LoadFromClipboardFormat(77, data), EImgException);
  QMimeData other;
  EXPECT_THROW(pasted.LoadFromClipboardFormat(CF_IMG(), &other), EImgException);
  QMimeData picture;
  QImage rgb(6, 2, QImage::Format_RGB32);
  rgb.fill(Qt::red);
  picture.setImageData(rgb);
  pasted.LoadFromClipboardFormat(CF_BITMAP, &picture);
  EXPECT_EQ(pasted.Bitmap().pixel(0, 0), qRgb(255, 0, 0));
  // Without data the system clipboard is read.
  graphic.SaveToClipboardFormat(format, data);
  QGuiApplication::clipboard()->setMimeData(data);
  pasted.LoadFromClipboardFormat(CF_IMG(), nullptr);
  EXPECT_TRUE(SamePixels(pasted.Bitmap(), original));
  QGuiApplication::clipboard()->clear();
}

TEST(IMGGraphic, AssignmentCopiesGraphicsAndBitmaps) {
  TIMGGraphic a;
  a.SetBitmap(PatternImage(10, 4, 3));
  int changes = 0;
  a.OnChange = [&](TObject*) { ++changes; };
  a.Assign(&a);
  EXPECT_EQ(changes, 0);
  TIMGGraphic b;
  b.Assign(&a);
  EXPECT_TRUE(SamePixels(a.Bitmap(), b.Bitmap()));
  TKxDeBitmap bitmap(3, 2);
  bitmap.Assign(&a);  // through the graphic's AssignTo
  EXPECT_EQ(bitmap.Width(), 10);
  TIMGGraphic fromBitmap;
  fromBitmap.Assign(&bitmap);
  EXPECT_EQ(fromBitmap.Bitmap().depth(), 32) << "a bitmap assignment keeps the depth";
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  EXPECT_THROW(fromBitmap.SaveToStream(&out), EImgException);
}

TEST(IMGGraphic, GreyConversionTouchesOnly24BitImages) {
  QImage rgb(2, 1, QImage::Format_RGB888);
  rgb.setPixel(0, 0, qRgb(10, 200, 30));
  rgb.setPixel(1, 0, qRgb(255, 255, 255));
  ConvertToGrayScale(rgb);
  EXPECT_EQ(rgb.pixel(0, 0), qRgb(124, 124, 124)) << "(770 + 30200 + 840) >> 8";
  EXPECT_EQ(rgb.pixel(1, 0), qRgb(255, 255, 255));
  QImage argb(1, 1, QImage::Format_ARGB32);
  argb.setPixel(0, 0, qRgb(10, 200, 30));
  ConvertToGrayScale(argb);
  EXPECT_EQ(argb.pixel(0, 0), qRgb(10, 200, 30));
  TKxDeBitmap bitmap(1, 1, TPixelFormat::pf24bit);
  bitmap.Canvas()->SetPixel(0, 0, RGB(10, 200, 30));
  ConvertToGrayScale(&bitmap);
  EXPECT_EQ(bitmap.Image().pixel(0, 0), qRgb(124, 124, 124));
}

TEST(IMGGraphic, RegisteredSoThatPicturesReadIMGFiles) {
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral(".img")), ClassOf<TIMGGraphic>());
  EXPECT_EQ(GraphicClassForClipboardFormat(CF_IMG()), ClassOf<TIMGGraphic>());
  QImage mono = MonoImage(24, 3);
  for (int x = 0; x < 8; ++x) mono.setPixel(x, 1, 0);
  QTemporaryDir dir;
  const QString path = WriteFile(dir.filePath(QStringLiteral("label.img")), IMGEncodeBytes(mono));
  TOwned<TKxDePicture> picture(Create<TKxDePicture>(nullptr));
  picture->LoadFromFile(path);
  EXPECT_EQ(picture->GetGraphic()->ClassName(), QStringLiteral("TIMGGraphic"));
  EXPECT_FALSE(picture->GetTransparent()) << "a 1-bit image is drawn opaque";
  EXPECT_EQ(QColor(picture->GetGraphic()->ToImage().pixel(3, 1)), QColor(Qt::black));
  TOwned<TPicture> back(Create<TPicture>());
  PictureFromBytes(back.get(), PictureToBytes(picture->Picture()));
  EXPECT_EQ(back->Graphic()->ClassName(), QStringLiteral("TIMGGraphic"));
  EXPECT_EQ(back->Width(), 24);
}

TEST(IMGGraphic, LeavingTheRegistryTakesTheExtensionAndTheClipboardFormat) {
  // What the library does when it unloads; registered again afterwards for the other tests.
  UnregisterIMGGraphic(UnregisterGraphicClass);
  const bool extensionGone = GraphicClassForExtension(QStringLiteral("img")) == nullptr;
  const bool clipboardGone = GraphicClassForClipboardFormat(CF_IMG()) == nullptr;
  QList<TGraphicClass> classes;
  GetListOfRegisteredPictureTypes(classes);
  RegisterIMGGraphic(RegisterPictureFileFormat, RegisterPictureClipboardFormat);
  EXPECT_TRUE(extensionGone);
  EXPECT_TRUE(clipboardGone);
  EXPECT_FALSE(classes.contains(ClassOf<TIMGGraphic>()));
  EXPECT_TRUE(GraphicClassForExtension(QStringLiteral("png"))) << "other classes stay";
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral("img")), ClassOf<TIMGGraphic>());
}
