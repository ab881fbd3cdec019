// The IMG byte and text forms: exact encoder output, decoder behaviour on good and bad data.
#include "RasterTestUtil.h"

#include <vorn/common/Exceptions.h>
#include <vorn/raster/IMGCodec.h>

#include <gtest/gtest.h>

#include <QBuffer>

#include <random>

using namespace vorn;
using namespace rastertest;

namespace {

QByteArray Body(const QImage& Image) { return IMGEncodeBytes(Image).mid(kIMGHeaderSize); }

QByteArray File(uint16_t Width, uint16_t Height, const QByteArray& Data, uint16_t Planes = 1, uint16_t Length = 8,
                uint16_t PattLen = 1) {
  TIMGHeader h;
  h.pixels = Width;
  h.lines = Height;
  h.planes = Planes;
  h.length = Length;
  h.pattlen = PattLen;
  return IMGHeaderBytes(h) + Data;
}

QImage Decode(const QByteArray& Bytes) {
  TIMGDecodeResult r = IMGDecodeBytes(Bytes.constData(), Bytes.size());
  EXPECT_TRUE(r.Decoded);
  return r.Image;
}

// Memory bytes of a decoded row (0 bits black, 1 bits white).
QByteArray RowBytes(const QImage& Image, int Row) {
  return QByteArray(reinterpret_cast<const char*>(Image.constScanLine(Row)), (Image.width() + 7) / 8);
}

}  // namespace

// ---- encoder ------------------------------------------------------------------------------------

TEST(IMGEncoder, HeaderIsBigEndianWithStandardValues) {
  const QByteArray bytes = IMGEncodeBytes(MonoImage(16, 1));
  EXPECT_EQ(ToHex(bytes.left(16)), ToHex(Hex("0001 0008 0001 0001 0000 0000 0010 0001")));
  EXPECT_EQ(ToHex(bytes.mid(16)), "02");  // one white run of two bytes
}

TEST(IMGEncoder, AllBlackLineIgnoresPaddingBits) {
  // 10 pixels: two bytes, the last keeps its two leftmost bits (mask C0).
  for (int padding : {0x00, 0x3F, 0x15}) {
    QImage image = MonoImage(10, 1);
    SetRow(image, 0, {0x00, padding});
    EXPECT_EQ(ToHex(Body(image)), "82") << "padding " << padding;
  }
  // The same picture with the colour table the other way round (no inversion).
  QImage swapped = MonoImage(10, 1, false);
  SetRow(swapped, 0, {0xFF, 0xC0 | 0x2A});
  EXPECT_EQ(ToHex(Body(swapped)), "82");
}

TEST(IMGEncoder, ReplicatesIdenticalLinesIn255Blocks) {
  QImage image = MonoImage(72, 300);
  for (int y = 0; y < 300; ++y) SetRow(image, y, {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00});
  const QByteArray line = Hex("82 02 80 01 FF 84");
  EXPECT_EQ(ToHex(Body(image)), ToHex(Hex("00 00 FF FF") + line + Hex("00 00 FF 2D") + line));
}

TEST(IMGEncoder, LastLineIsNeverAReplicationStart) {
  QImage image = MonoImage(8, 3);
  SetRow(image, 0, {0x00});
  SetRow(image, 1, {0x00});
  SetRow(image, 2, {0xFF});
  EXPECT_EQ(ToHex(Body(image)), ToHex(Hex("00 00 FF 02 81 01")));
}

TEST(IMGEncoder, RunsAndBitStringsOfTheLineExamples) {
  QImage line72 = MonoImage(72, 1);
  SetRow(line72, 0, {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00});
  EXPECT_EQ(ToHex(Body(line72)), ToHex(Hex("82 02 80 01 FF 84")));

  QImage line56 = MonoImage(56, 1);
  SetRow(line56, 0, {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00});
  EXPECT_EQ(ToHex(Body(line56)), ToHex(Hex("82 02 80 03 FF FF FF")));
}

TEST(IMGEncoder, LengthLimitsOfRunsAndStrings) {
  // 300 black bytes: a full run of 127 is followed by a one-byte string (the line loop always
  // offers a string after the runs), then the same again and a final run of 44.
  QImage black = MonoImage(2400, 1);
  black.fill(0);
  EXPECT_EQ(ToHex(Body(black)), ToHex(Hex("FF 80 01 FF FF 80 01 FF AC")));

  // 300 bytes of noise: a string of 252 bytes, then the remaining 48.
  QImage noise = MonoImage(2400, 1);
  uint8_t* p = noise.scanLine(0);
  for (int i = 0; i < 300; ++i) p[i] = (i % 2) ? 0x55 : 0xAA;
  const QByteArray body = Body(noise);
  ASSERT_EQ(body.size(), 2 + 252 + 2 + 48);
  EXPECT_EQ(uint8_t(body[0]), 0x80);
  EXPECT_EQ(uint8_t(body[1]), 252);
  EXPECT_EQ(uint8_t(body[254]), 0x80);
  EXPECT_EQ(uint8_t(body[255]), 48);
  EXPECT_EQ(uint8_t(body[2]), 0x55);  // inverted 0xAA
}

TEST(IMGEncoder, BitStringStopsBeforeThreeEqualSolidBytes) {
  QImage image = MonoImage(64, 1);
  SetRow(image, 0, {0x5A, 0x5A, 0x00, 0x00, 0x00, 0x5A, 0xFF, 0xFF});
  // The string stops before three black bytes; after their run a string takes the short tail.
  EXPECT_EQ(ToHex(Body(image)), ToHex(Hex("80 02 A5 A5 83 80 03 A5 00 00")));
}

TEST(IMGEncoder, InvertedBitStringWritesPaddingAsZero) {
  QImage image = MonoImage(10, 1);
  SetRow(image, 0, {0x5A, 0x3F});
  EXPECT_EQ(ToHex(Body(image)), ToHex(Hex("80 02 A5 C0")));
  // Without inversion the stored bytes go out unchanged, padding included.
  QImage swapped = MonoImage(10, 1, false);
  SetRow(swapped, 0, {0x5A, 0x3F});
  EXPECT_EQ(ToHex(Body(swapped)), ToHex(Hex("80 02 5A 3F")));
}

TEST(IMGEncoder, WhiteFirstColourTableKeepsBitsAndSwapsRunMeaning) {
  QImage image = MonoImage(32, 1, false);
  SetRow(image, 0, {0xFF, 0x00, 0x00, 0x5A});  // black, white, white, mixed
  EXPECT_EQ(ToHex(Body(image)), ToHex(Hex("81 02 80 01 5A")));
}

TEST(IMGEncoder, RefusesOtherPixelFormatsAfterTheHeader) {
  QImage rgb(8, 2, QImage::Format_RGB32);
  rgb.fill(Qt::white);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  try {
    IMGEncode(rgb, &buffer);
    FAIL() << "no exception";
  } catch (const EImgException& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Input bitmap needs to be 1 bit as pixelformat"));
  }
  EXPECT_EQ(ToHex(buffer.data()), ToHex(Hex("0001 0008 0001 0001 0000 0000 0008 0002")));
  EXPECT_THROW(IMGEncodeBytes(QImage()), EImgException);
}

TEST(IMGEncoder, MonoLSBImagesAreEncodedLikeMono) {
  const QImage mono = PatternImage(45, 20, 7);
  EXPECT_EQ(IMGEncodeBytes(mono.convertToFormat(QImage::Format_MonoLSB)), IMGEncodeBytes(mono));
}

// ---- round trips ---------------------------------------------------------------------------------

TEST(IMGRoundTrip, BlackFirstImagesComeBackBitForBit) {
  for (int w : {1, 7, 8, 9, 15, 16, 17, 63, 64, 65, 200, 2100})
    for (uint32_t seed : {1u, 2u, 3u}) {
      const QImage original = PatternImage(w, 37, seed * 31 + w);
      const QImage back = Decode(IMGEncodeBytes(original));
      ASSERT_EQ(back.size(), original.size());
      EXPECT_EQ(back.colorTable(), original.colorTable());
      EXPECT_TRUE(SamePixels(back, original)) << "width " << w;
    }
}

TEST(IMGRoundTrip, WhiteFirstImagesKeepTheirColours) {
  for (int w : {5, 8, 33, 300}) {
    const QImage original = PatternImage(w, 50, 99 + w, false);
    EXPECT_TRUE(SamePixels(Decode(IMGEncodeBytes(original)), original)) << "width " << w;
  }
}

TEST(IMGRoundTrip, ImageWithoutColourTableReadsIndexZeroAsBlack) {
  QImage image(16, 2, QImage::Format_Mono);
  image.setColorTable({});
  image.fill(0);
  SetRow(image, 1, {0xFF, 0x0F});
  const QImage back = Decode(IMGEncodeBytes(image));
  EXPECT_EQ(back.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(back.pixel(15, 1), qRgb(255, 255, 255));
  EXPECT_EQ(back.pixel(0, 1), qRgb(255, 255, 255));
  EXPECT_EQ(back.pixel(8, 1), qRgb(0, 0, 0));
}

// ---- decoder ------------------------------------------------------------------------------------

TEST(IMGDecoder, RejectsZeroSizesAndShortHeaders) {
  for (const QByteArray& bad : {File(0, 5, Hex("01")), File(8, 0, Hex("01")), Hex("0001 0008 0001"), QByteArray()}) {
    try {
      IMGDecodeBytes(bad.constData(), bad.size());
      FAIL() << "accepted " << ToHex(bad).toStdString();
    } catch (const EImgException& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("Input file is not valid"));
    }
  }
}

TEST(IMGDecoder, SeveralPlanesAreNotDecoded) {
  const QByteArray file = File(8, 1, Hex("81"), 4);
  QBuffer buffer;
  buffer.setData(file);
  buffer.open(QIODevice::ReadOnly);
  QImage image = MonoImage(3, 3);
  EXPECT_FALSE(IMGDecode(&buffer, image));
  EXPECT_EQ(image.size(), QSize(3, 3));
}

TEST(IMGDecoder, HeaderLengthNineSkipsTwoBytes) {
  // The two skipped bytes would be a 5-byte bit string if they were read as data.
  const QImage image = Decode(File(16, 1, Hex("80 05 82"), 1, 9));
  EXPECT_EQ(ToHex(RowBytes(image, 0)), "00 00");
}

TEST(IMGDecoder, PixelLimitIsConfigurable) {
  const QByteArray file = File(100, 11, Hex("00 00 FF 0B 8D"));
  SetIMGMaxPixels(1000);
  EXPECT_THROW(IMGDecodeBytes(file.constData(), file.size()), EImgException);
  SetIMGMaxPixels(1100);
  EXPECT_NO_THROW(IMGDecodeBytes(file.constData(), file.size()));
  SetIMGMaxPixels(kIMGDefaultMaxPixels);
  EXPECT_EQ(IMGMaxPixels(), int64_t(1) << 28);
  const QByteArray huge = File(65535, 65535, Hex("81"));
  EXPECT_THROW(IMGDecodeBytes(huge.constData(), huge.size()), EImgException);
}

TEST(IMGDecoder, RunPastTheLineEndClosesTheLineWhite) {
  // 16 pixels: white byte, then a 3-byte black run that does not fit the one byte left.
  const QImage image = Decode(File(16, 3, Hex("01 83 01")));
  EXPECT_EQ(ToHex(RowBytes(image, 0)), "FF FF");
  EXPECT_EQ(ToHex(RowBytes(image, 1)), "00 00");  // clipped to the fresh line
  EXPECT_EQ(ToHex(RowBytes(image, 2)), "FF 00");  // white byte, rest of a started line stays clear
}

TEST(IMGDecoder, OverrunClosingTheLastLineDropsTheRecord) {
  const QImage image = Decode(File(16, 1, Hex("81 83")));
  EXPECT_EQ(ToHex(RowBytes(image, 0)), "00 FF");
}

TEST(IMGDecoder, ReplicationIsClippedToTheImage) {
  const QImage image = Decode(File(8, 3, Hex("00 00 FF FF 81 01 01 01")));
  for (int y = 0; y < 3; ++y) EXPECT_EQ(ToHex(RowBytes(image, y)), "00") << y;
}

TEST(IMGDecoder, ReplicationOfOneAndZeroAdvanceOneLine) {
  const QImage image = Decode(File(8, 3, Hex("00 00 FF 01 81 00 00 FF 00 01 81")));
  EXPECT_EQ(ToHex(RowBytes(image, 0)), "00");
  EXPECT_EQ(ToHex(RowBytes(image, 1)), "FF");
  EXPECT_EQ(ToHex(RowBytes(image, 2)), "00");
}

TEST(IMGDecoder, PatternRunsRepeatThePatternInverted) {
  const QImage image = Decode(File(48, 1, Hex("00 03 AA 55"), 1, 8, 2));
  EXPECT_EQ(ToHex(RowBytes(image, 0)), "55 AA 55 AA 55 AA");
  // A pattern longer than the line is clipped to it.
  const QImage clipped = Decode(File(24, 2, Hex("00 09 AA 55 81 81 81"), 1, 8, 2));
  EXPECT_EQ(ToHex(RowBytes(clipped, 0)), "55 AA 55");
  EXPECT_EQ(ToHex(RowBytes(clipped, 1)), "00 00 00");
}

TEST(IMGDecoder, DoubleZeroWithoutMarkerHasNoEffect) {
  const QImage image = Decode(File(8, 1, Hex("00 00 07 81")));
  EXPECT_EQ(ToHex(RowBytes(image, 0)), "00");
}

TEST(IMGDecoder, TruncatedDataKeepsUnreachedLinesWhite) {
  const QImage original = PatternImage(77, 40, 5);
  const QByteArray full = IMGEncodeBytes(original);
  for (qsizetype n = kIMGHeaderSize; n < full.size(); n += 3) {
    const QImage part = Decode(full.left(n));
    ASSERT_EQ(part.size(), original.size());
  }
  // Only the header: every line untouched, i.e. white.
  const QImage empty = Decode(full.left(kIMGHeaderSize));
  for (int y = 0; y < empty.height(); ++y)
    for (int x = 0; x < empty.width(); ++x) ASSERT_EQ(empty.pixel(x, y), qRgb(255, 255, 255));
}

TEST(IMGDecoder, BitStringCutByTheEndWritesWhatIsThere) {
  const QImage image = Decode(File(24, 2, Hex("80 03 0F")));
  EXPECT_EQ(ToHex(RowBytes(image, 0)).left(2), "F0");
  EXPECT_EQ(ToHex(RowBytes(image, 1)), "FF FF FF");
}

TEST(IMGDecoder, ArbitraryBytesNeverEscapeTheImage) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 3000; ++round) {
    const uint16_t w = 1 + rng() % 40, h = 1 + rng() % 12;
    QByteArray data(static_cast<qsizetype>(rng() % 200), '\0');
    for (char& c : data) {
      // Mostly the interesting record starts.
      const uint32_t pick = rng() % 8;
      c = static_cast<char>(pick == 0 ? 0x00 : pick == 1 ? 0x80 : pick == 2 ? 0xFF : rng());
    }
    const QByteArray file = File(w, h, data, 1, static_cast<uint16_t>(rng() % 12), static_cast<uint16_t>(rng() % 5));
    const QImage image = Decode(file);
    ASSERT_EQ(image.size(), QSize(w, h));
  }
}

TEST(IMGDecoder, RandomAccessStreamStopsAfterTheImage) {
  QByteArray data = IMGEncodeBytes(PatternImage(30, 9, 3));
  const qsizetype used = data.size();
  data.prepend("xyz");
  data.append("TRAILER");
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  buffer.seek(3);
  QImage image;
  ASSERT_TRUE(IMGDecode(&buffer, image));
  EXPECT_EQ(buffer.pos(), 3 + used);
  EXPECT_EQ(buffer.readAll(), QByteArray("TRAILER"));
}

// ---- text form ----------------------------------------------------------------------------------

TEST(IMGTextForm, SixteenByOneWhite) {
  EXPECT_EQ(IMGBytesToText(IMGEncodeBytes(MonoImage(16, 1))), QByteArray("0010000102\r\n"));
}

TEST(IMGTextForm, LineBreakAfterEveryFortiethByte) {
  QByteArray bytes(12, '\0');
  bytes += QByteArray(40, '\xAB');
  const QByteArray forty = IMGBytesToText(bytes);
  EXPECT_EQ(forty, QByteArray(80, 'A').replace("AA", "AB") + "\r\n\r\n");
  const QByteArray fortyOne = IMGBytesToText(bytes + '\x01');
  EXPECT_TRUE(fortyOne.endsWith("AB\r\n01\r\n"));
  EXPECT_EQ(fortyOne.size(), 80 + 2 + 2 + 2);
}

TEST(IMGTextForm, BackToBytesSkipsNonDigitsAndDropsAnUnpairedDigit) {
  EXPECT_EQ(ToHex(IMGTextToBytes("00 1 0-00\r\n01 0z2\r\nAb c")),
            ToHex(IMGHeaderBytes({1, 8, 1, 1, 0, 0, 16, 1}) + Hex("02 AB")));
  // A text cut inside the size words gives zero sizes.
  EXPECT_EQ(ToHex(IMGTextToBytes("001")), ToHex(IMGHeaderBytes({1, 8, 1, 1, 0, 0, 0, 0})));
  EXPECT_EQ(ToHex(IMGTextToBytes("0010 00")), ToHex(IMGHeaderBytes({1, 8, 1, 1, 0, 0, 16, 0})));
}

TEST(IMGTextForm, StreamTransformRoundTrips) {
  const QImage original = PatternImage(123, 45, 11);
  QByteArray text = IMGBytesToText(IMGEncodeBytes(original));
  QBuffer source(&text);
  source.open(QIODevice::ReadOnly);
  QBuffer dest;
  dest.open(QIODevice::ReadWrite);
  TransformASCIItoBinStream(&source, &dest);
  EXPECT_TRUE(SamePixels(Decode(dest.data()), original));
}

TEST(IMGMonoBitmap, PutsBlackAtIndexZero) {
  QImage swapped = PatternImage(20, 6, 8, false);
  const QImage mono = IMGMonoBitmap(swapped);
  EXPECT_EQ(mono.colorTable(), (QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
  EXPECT_TRUE(SamePixels(mono, swapped));
  QImage colour(4, 1, QImage::Format_RGB32);
  colour.setPixel(0, 0, qRgb(0, 0, 0));
  colour.setPixel(1, 0, qRgb(255, 255, 255));
  colour.setPixel(2, 0, qRgb(10, 10, 10));
  colour.setPixel(3, 0, qRgb(250, 250, 250));
  const QImage fromColour = IMGMonoBitmap(colour);
  EXPECT_EQ(fromColour.format(), QImage::Format_Mono);
  EXPECT_EQ(fromColour.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(fromColour.pixel(1, 0), qRgb(255, 255, 255));
  EXPECT_TRUE(IMGMonoBitmap(QImage()).isNull());
}

TEST(IMGMonoBitmap, UndefinedPaddingDoesNotBreakLineRepetition) {
  QImage image = MonoImage(10, 2);
  SetRow(image, 0, {0x00, 0x3F});
  SetRow(image, 1, {0x00, 0x00});  // the same pixels with other padding bits
  EXPECT_EQ(ToHex(Body(image)), "82 82");  // rows are compared whole
  EXPECT_EQ(ToHex(Body(IMGMonoBitmap(image))), ToHex(Hex("00 00 FF 02 82")));
}
