// The ".img" Qt image plugin: QImageReader and QImageWriter read and write IMG files.
#include "RasterTestUtil.h"

#include <vorn/raster/IMGCodec.h>

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

using namespace vorn;
using namespace rastertest;

namespace {

class ImgPlugin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { QCoreApplication::addLibraryPath(QStringLiteral(VORN_BINARY_DIR "/plugins")); }
};

}  // namespace

TEST_F(ImgPlugin, IsFoundForReadingAndWriting) {
  EXPECT_TRUE(QImageReader::supportedImageFormats().contains("img"));
  EXPECT_TRUE(QImageWriter::supportedImageFormats().contains("img"));
}

TEST_F(ImgPlugin, WriterProducesTheCodecBytesAndReaderReadsThem) {
  QTemporaryDir dir;
  const QString path = dir.filePath("page.img");
  const QImage original = PatternImage(301, 57, 21);
  QImageWriter writer(path);
  ASSERT_TRUE(writer.write(original)) << writer.errorString().toStdString();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), IMGEncodeBytes(original));

  QImageReader reader(path);
  EXPECT_EQ(reader.size(), QSize(301, 57));
  const QImage back = reader.read();
  ASSERT_FALSE(back.isNull()) << reader.errorString().toStdString();
  EXPECT_EQ(back.format(), QImage::Format_Mono);
  EXPECT_TRUE(SamePixels(back, original));
}

TEST_F(ImgPlugin, ColourImagesAreWrittenAsBlackAndWhite) {
  QImage colour(20, 10, QImage::Format_RGB32);
  colour.fill(Qt::white);
  for (int x = 0; x < 10; ++x) colour.setPixel(x, 3, qRgb(0, 0, 0));
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "img");
  ASSERT_TRUE(writer.write(colour));
  const QImage back = QImage::fromData(buffer.data(), "img");
  ASSERT_EQ(back.size(), QSize(20, 10));
  EXPECT_EQ(back.pixel(4, 3), qRgb(0, 0, 0));
  EXPECT_EQ(back.pixel(14, 3), qRgb(255, 255, 255));
}

TEST_F(ImgPlugin, ContentIsRecognisedWithoutAFormatName) {
  QByteArray bytes = IMGEncodeBytes(PatternImage(40, 8, 6));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  EXPECT_EQ(reader.format(), QByteArray("img"));
  EXPECT_FALSE(reader.read().isNull());

  // Text is not taken for IMG data.
  QByteArray text("just some words, not an image at all");
  QBuffer textBuffer(&text);
  textBuffer.open(QIODevice::ReadOnly);
  EXPECT_NE(QImageReader(&textBuffer).format(), QByteArray("img"));
}

TEST_F(ImgPlugin, BadFilesFailCleanly) {
  QTemporaryDir dir;
  const auto check = [&](const char* Name, const QByteArray& Bytes) {
    const QString path = dir.filePath(QString::fromLatin1(Name));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Bytes);
    f.close();
    QImageReader reader(path, "img");
    EXPECT_TRUE(reader.read().isNull()) << Name;
  };
  check("planes.img", IMGHeaderBytes({1, 8, 4, 1, 0, 0, 8, 1}) + Hex("81"));
  check("zero.img", IMGHeaderBytes({1, 8, 1, 1, 0, 0, 0, 1}));
  check("short.img", Hex("0001 0008"));
  check("disk.img", QByteArray(4096, '\xEB'));  // ".img" also names disk images
}
