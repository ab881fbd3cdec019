// The ".img" Qt image plugin: QImageReader and QImageWriter read and write IMG files.
#include "RasterTestUtil.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QImageWriter>

using namespace vorn;
using namespace rastertest;

namespace {

class ImgPlugin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { QCoreApplication::addLibraryPath(QStringLiteral(VORN_BINARY_DIR "/plugins")); }
};

}  // namespace

TEST_F(ImgPlugin, WriterProducesTheCodecBytesInBlackAndWhiteAndReaderReadsThem) {
  ASSERT_TRUE(QImageReader::supportedImageFormats().contains("img"));
  ASSERT_TRUE(QImageWriter::supportedImageFormats().contains("img"));
  QTemporaryDir dir;
  const QString path = dir.filePath("page.img");
  const QImage original = PatternImage(301, 57, 21);
  QImageWriter writer(path);
  ASSERT_TRUE(writer.write(original)) << writer.errorString().toStdString();
  EXPECT_EQ(vorn::test::ReadFile(path), IMGEncodeBytes(original));
  QImageReader reader(path);
  EXPECT_EQ(reader.size(), QSize(301, 57)) << "known from the header, before reading";
  const QImage back = reader.read();
  EXPECT_EQ(back.format(), QImage::Format_Mono);
  EXPECT_TRUE(SamePixels(back, original));
  QImage colour(20, 10, QImage::Format_RGB32);
  colour.fill(Qt::white);
  for (int x = 0; x < 10; ++x) colour.setPixel(x, 3, qRgb(0, 0, 0));
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(QImageWriter(&buffer, "img").write(colour));
  const QImage fromColour = QImage::fromData(buffer.data(), "img");
  ASSERT_EQ(fromColour.size(), QSize(20, 10));
  EXPECT_EQ(fromColour.pixel(4, 3), qRgb(0, 0, 0));
  EXPECT_EQ(fromColour.pixel(14, 3), qRgb(255, 255, 255));
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
  const std::pair<const char*, QByteArray> files[] = {
      {"planes.img", IMGHeaderBytes({1, 8, 4, 1, 0, 0, 8, 1}) + Hex("81")},
      {"zero.img", IMGHeaderBytes({1, 8, 1, 1, 0, 0, 0, 1})},
      {"short.img", Hex("0001 0008")},
      {"disk.img", QByteArray(4096, '\xEB')}};  // ".img" also names disk images
  for (const auto& [name, bytes] : files)
    EXPECT_TRUE(QImageReader(vorn::test::WriteFile(dir.filePath(name), bytes), "img").read().isNull()) << name;
}
