// TIMGGraphic: files and streams in both forms, clipboard, assignment, grey conversion and the
// registration hook.
#include "RasterTestUtil.h"

#include <vorn/common/Exceptions.h>
#include <vorn/raster/IMGGraphic.h>
#include <vorn/raster/KxDeBitmap.h>

#include <gtest/gtest.h>

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

#include <memory>

using namespace vorn;
using namespace rastertest;

namespace {

QByteArray ReadFile(const QString& Path) {
  QFile f(Path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& Path, const QByteArray& Bytes) {
  QFile f(Path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(Bytes);
}

}  // namespace

TEST(IMGGraphic, FilesInBothFormsFollowTheExtension) {
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

  TIMGGraphic text;
  text.LoadFromFile(dir.filePath("a.ASC"));
  EXPECT_TRUE(text.TextForm());
  EXPECT_TRUE(SamePixels(text.Bitmap(), original));
  TIMGGraphic binary;
  binary.SetTextForm(true);
  binary.LoadFromFile(dir.filePath("b.img"));
  EXPECT_FALSE(binary.TextForm());
  EXPECT_TRUE(SamePixels(binary.Bitmap(), original));
}

TEST(IMGGraphic, MissingFileAndBadDataRaiseAndKeepTheImage) {
  QTemporaryDir dir;
  TIMGGraphic graphic;
  graphic.SetBitmap(MonoImage(5, 5));
  EXPECT_THROW(graphic.LoadFromFile(dir.filePath("missing.img")), EImgException);
  WriteFile(dir.filePath("zero.img"), IMGHeaderBytes({1, 8, 1, 1, 0, 0, 0, 7}));
  EXPECT_THROW(graphic.LoadFromFile(dir.filePath("zero.img")), EImgException);
  EXPECT_EQ(graphic.Bitmap().size(), QSize(5, 5));
}

TEST(IMGGraphic, FailedSaveLeavesAnExistingFileAlone) {
  QTemporaryDir dir;
  const QString path = dir.filePath("keep.img");
  WriteFile(path, "previous");
  TIMGGraphic graphic;
  QImage rgb(4, 4, QImage::Format_RGB32);
  rgb.fill(Qt::black);
  graphic.SetBitmap(rgb);
  EXPECT_THROW(graphic.SaveToFile(path), EImgException);
  EXPECT_EQ(ReadFile(path), QByteArray("previous"));
}

TEST(IMGGraphic, StreamsSignalChangesAndClearModified) {
  TIMGGraphic graphic;
  int changes = 0;
  graphic.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &graphic);
    ++changes;
  };
  QByteArray bytes = IMGEncodeBytes(PatternImage(9, 9, 1));
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  graphic.LoadFromStream(&in);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(graphic.Modified());
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  graphic.SaveToStream(&out);
  EXPECT_FALSE(graphic.Modified());
  EXPECT_EQ(out.data(), bytes);
}

TEST(IMGGraphic, FourPlaneFileLeavesTheImageButSignals) {
  TIMGGraphic graphic;
  graphic.SetBitmap(MonoImage(3, 2));
  int changes = 0;
  graphic.OnChange = [&](TObject*) { ++changes; };
  QByteArray bytes = IMGHeaderBytes({1, 8, 4, 1, 0, 0, 8, 1}) + Hex("81");
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  EXPECT_NO_THROW(graphic.LoadFromStream(&in));
  EXPECT_EQ(graphic.Bitmap().size(), QSize(3, 2));
  EXPECT_EQ(changes, 1);
}

TEST(IMGGraphic, TextFormStreamsDecodeThroughBytes) {
  TIMGGraphic graphic;
  graphic.SetTextForm(true);
  QByteArray text("0010 0002\r\n 02 \r\n 80 02 0F F0\r\n");
  QBuffer in(&text);
  in.open(QIODevice::ReadOnly);
  graphic.LoadFromStream(&in);
  ASSERT_EQ(graphic.Bitmap().size(), QSize(16, 2));
  EXPECT_EQ(graphic.Bitmap().pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(graphic.Bitmap().pixel(4, 1), qRgb(0, 0, 0));
  EXPECT_EQ(graphic.Bitmap().pixel(3, 1), qRgb(255, 255, 255));
}

TEST(IMGGraphic, ClipboardFormatCarriesTheStream) {
  TIMGGraphic graphic;
  uint16_t format = 123;
  QMimeData* data = reinterpret_cast<QMimeData*>(1);
  graphic.SaveToClipboardFormat(format, data);
  EXPECT_EQ(format, 0);
  EXPECT_EQ(data, nullptr);

  const QImage original = PatternImage(31, 7, 2);
  graphic.SetBitmap(original);
  graphic.SaveToClipboardFormat(format, data);
  ASSERT_NE(data, nullptr);
  std::unique_ptr<QMimeData> owned(data);
  EXPECT_EQ(format, CF_IMG());
  EXPECT_GE(CF_IMG(), 0xC000);
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
  EXPECT_EQ(pasted.Bitmap().size(), QSize(6, 2));
  EXPECT_EQ(pasted.Bitmap().pixel(0, 0), qRgb(255, 0, 0));
}

TEST(IMGGraphic, LoadsFromTheSystemClipboardWhenNoDataIsGiven) {
  TIMGGraphic graphic;
  const QImage original = PatternImage(12, 12, 9);
  graphic.SetBitmap(original);
  uint16_t format = 0;
  QMimeData* data = nullptr;
  graphic.SaveToClipboardFormat(format, data);
  QGuiApplication::clipboard()->setMimeData(data);  // takes ownership
  TIMGGraphic pasted;
  pasted.LoadFromClipboardFormat(CF_IMG(), nullptr);
  EXPECT_TRUE(SamePixels(pasted.Bitmap(), original));
  QGuiApplication::clipboard()->clear();
}

TEST(IMGGraphic, AssignCopiesGraphicsAndBitmaps) {
  TIMGGraphic a;
  a.SetBitmap(PatternImage(10, 4, 3));
  int changes = 0;
  a.OnChange = [&](TObject*) { ++changes; };
  a.Assign(&a);
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(a.Equals(&a));

  TIMGGraphic b;
  b.Assign(&a);
  EXPECT_FALSE(a.Equals(&b));
  EXPECT_TRUE(SamePixels(a.Bitmap(), b.Bitmap()));

  TKxDeBitmap bitmap(3, 2);
  bitmap.Assign(&a);  // through the graphic's AssignTo
  EXPECT_EQ(bitmap.Width(), 10);
  EXPECT_EQ(QColor(bitmap.Image().pixel(0, 0)), QColor(a.Bitmap().pixel(0, 0)));

  TIMGGraphic fromBitmap;
  fromBitmap.Assign(&bitmap);
  EXPECT_EQ(fromBitmap.Bitmap().depth(), 32);  // a bitmap assignment keeps the depth
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  EXPECT_THROW(fromBitmap.SaveToStream(&out), EImgException);
}

TEST(IMGGraphic, ConvertToGrayScaleOnlyTouches24BitImages) {
  QImage rgb(2, 1, QImage::Format_RGB888);
  rgb.setPixel(0, 0, qRgb(10, 200, 30));
  rgb.setPixel(1, 0, qRgb(255, 255, 255));
  ConvertToGrayScale(rgb);
  EXPECT_EQ(rgb.pixel(0, 0), qRgb(124, 124, 124));  // (770 + 30200 + 840) >> 8
  EXPECT_EQ(rgb.pixel(1, 0), qRgb(255, 255, 255));

  QImage bgr(1, 1, QImage::Format_BGR888);
  bgr.setPixel(0, 0, qRgb(200, 0, 0));
  ConvertToGrayScale(bgr);
  EXPECT_EQ(bgr.pixel(0, 0), qRgb(60, 60, 60));  // 15400 >> 8

  QImage argb(1, 1, QImage::Format_ARGB32);
  argb.setPixel(0, 0, qRgb(10, 200, 30));
  ConvertToGrayScale(argb);
  EXPECT_EQ(argb.pixel(0, 0), qRgb(10, 200, 30));

  TKxDeBitmap bitmap(1, 1, TPixelFormat::pf24bit);
  bitmap.Canvas()->SetPixel(0, 0, RGB(10, 200, 30));
  ConvertToGrayScale(&bitmap);
  EXPECT_EQ(bitmap.Image().pixel(0, 0), qRgb(124, 124, 124));
  TKxDeBitmap device(1, 1);
  device.Canvas()->SetPixel(0, 0, RGB(10, 200, 30));
  ConvertToGrayScale(&device);
  EXPECT_EQ(device.Image().pixel(0, 0), qRgb(10, 200, 30));
}

TEST(IMGGraphic, RegistrationHookNamesTheFormatAndClass) {
  QString extension, description;
  const TClass* fileClass = nullptr;
  const TClass* clipClass = nullptr;
  uint16_t clipFormat = 0;
  RegisterIMGGraphic(
      [&](const QString& Ext, const QString& Desc, const TClass* Class) {
        extension = Ext;
        description = Desc;
        fileClass = Class;
      },
      [&](uint16_t Format, const TClass* Class) {
        clipFormat = Format;
        clipClass = Class;
      });
  EXPECT_EQ(extension, QStringLiteral("IMG"));
  EXPECT_EQ(description, QStringLiteral("IMG Image"));
  EXPECT_EQ(clipFormat, CF_IMG());
  ASSERT_NE(fileClass, nullptr);
  EXPECT_EQ(fileClass, clipClass);
  EXPECT_EQ(fileClass->ClassName(), QStringLiteral("TIMGGraphic"));
  EXPECT_TRUE(fileClass->InheritsFrom(ClassOf<TGraphic>()));
  TGraphic* made = fileClass->Construct<TGraphic>();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->ClassName(), QStringLiteral("TIMGGraphic"));
  Free(made);

  const TClass* removed = nullptr;
  UnregisterIMGGraphic([&](const TClass* Class) { removed = Class; });
  EXPECT_EQ(removed, fileClass);
}
