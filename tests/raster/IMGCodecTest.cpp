// The IMG byte and text forms: exact encoder output, decoder behaviour on good and bad data.
// Random and cut data go to the fuzz targets of the decoder and the text form; the records that
// once needed care stay here as named inputs.
#include "RasterTestUtil.h"

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

// Memory bytes of every decoded row (0 bits black, 1 bits white), rows separated by "|".
QString Rows(const QImage& Image) {
  QStringList rows;
  for (int y = 0; y < Image.height(); ++y)
    rows << ToHex(QByteArray(reinterpret_cast<const char*>(Image.constScanLine(y)), (Image.width() + 7) / 8));
  return rows.join(QLatin1Char('|'));
}

// A picture from rows of bytes; BlackFirst chooses the colour-table order.
QImage Rows(int Width, std::initializer_list<std::initializer_list<int>> Lines, bool BlackFirst = true) {
  QImage image = MonoImage(Width, static_cast<int>(Lines.size()), BlackFirst);
  int y = 0;
  for (const auto& line : Lines) SetRow(image, y++, line);
  return image;
}

}  // namespace

TEST(IMGEncoder, WritesRunsStringsAndReplicationsAsTheFormatCountsThem) {
  const QByteArray line72 = Hex("82 02 80 01 FF 84");
  QImage tall = MonoImage(72, 300);
  for (int y = 0; y < 300; ++y) SetRow(tall, y, {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00});
  QImage black = MonoImage(2400, 1);
  black.fill(0);
  struct TCase {
    const char* Name;
    QImage Image;
    QByteArray Expected;
  };
  const TCase cases[] = {
      // 10 pixels: the last byte keeps its two leftmost bits, whatever the padding says.
      {"all black, padding ignored", Rows(10, {{0x00, 0x15}}), Hex("82")},
      {"the other colour table, no inversion", Rows(10, {{0xFF, 0xEA}}, false), Hex("82")},
      {"runs and a bit string", Rows(72, {{0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00}}), line72},
      {"a string to the end", Rows(56, {{0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00}}), Hex("82 02 80 03 FF FF FF")},
      {"replications in blocks of 255", tall, Hex("00 00 FF FF") + line72 + Hex("00 00 FF 2D") + line72},
      {"the last line starts no replication", Rows(8, {{0x00}, {0x00}, {0xFF}}), Hex("00 00 FF 02 81 01")},
      // A full run of 127 is followed by a one-byte string (the line loop always offers one).
      {"runs of at most 127", black, Hex("FF 80 01 FF FF 80 01 FF AC")},
      {"a string stops before three equal solid bytes", Rows(64, {{0x5A, 0x5A, 0x00, 0x00, 0x00, 0x5A, 0xFF, 0xFF}}),
       Hex("80 02 A5 A5 83 80 03 A5 00 00")},
      {"inverted strings write their padding as zero", Rows(10, {{0x5A, 0x3F}}), Hex("80 02 A5 C0")},
      {"uninverted strings go out as stored", Rows(10, {{0x5A, 0x3F}}, false), Hex("80 02 5A 3F")},
      {"white first swaps the meaning of runs", Rows(32, {{0xFF, 0x00, 0x00, 0x5A}}, false), Hex("81 02 80 01 5A")},
      {"rows are compared whole, padding included", Rows(10, {{0x00, 0x3F}, {0x00, 0x00}}), Hex("82 82")},
  };
  for (const TCase& c : cases) EXPECT_EQ(ToHex(Body(c.Image)), ToHex(c.Expected)) << c.Name;
  // 300 bytes of noise: a string of 252 bytes, then the remaining 48.
  QImage noise = MonoImage(2400, 1);
  for (int i = 0; i < 300; ++i) noise.scanLine(0)[i] = (i % 2) ? 0x55 : 0xAA;
  const QByteArray body = Body(noise);
  ASSERT_EQ(body.size(), 2 + 252 + 2 + 48);
  EXPECT_EQ(ToHex(body.left(3) + body.mid(254, 2)), "80 FC 55 80 30");
  // A monochrome bitmap with black first makes padding consistent, so equal rows replicate.
  EXPECT_EQ(ToHex(Body(IMGMonoBitmap(Rows(10, {{0x00, 0x3F}, {0x00, 0x00}})))), ToHex(Hex("00 00 FF 02 82")));
  const QImage mono = PatternImage(45, 20, 7);
  EXPECT_EQ(IMGEncodeBytes(mono.convertToFormat(QImage::Format_MonoLSB)), IMGEncodeBytes(mono));
}

TEST(IMGEncoder, RefusesOtherPixelFormatsAfterTheHeader) {
  QImage rgb(8, 2, QImage::Format_RGB32);
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

TEST(IMGRoundTrip, PicturesComeBackPixelForPixelWhateverTheirColourTable) {
  for (int w : {1, 7, 8, 9, 16, 17, 63, 65, 200, 2100})
    for (bool blackFirst : {true, false}) {
      const QImage original = PatternImage(w, 37, 31 + w, blackFirst);
      const QImage back = Decode(IMGEncodeBytes(original));
      EXPECT_TRUE(SamePixels(back, original)) << "width " << w << " black first " << blackFirst;
      EXPECT_EQ(back.colorTable(), (QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
    }
  QImage noTable(16, 2, QImage::Format_Mono);
  noTable.setColorTable({});
  noTable.fill(0);
  SetRow(noTable, 1, {0xFF, 0x0F});
  EXPECT_EQ(Rows(Decode(IMGEncodeBytes(noTable))), "00 00|FF 0F") << "index zero of no table reads as black";
}

TEST(IMGDecoder, RefusesEmptyShortAndOversizedHeaders) {
  for (const QByteArray& bad : {File(0, 5, Hex("01")), File(8, 0, Hex("01")), Hex("0001 0008 0001"), QByteArray()}) {
    try {
      IMGDecodeBytes(bad.constData(), bad.size());
      FAIL() << "accepted " << ToHex(bad).toStdString();
    } catch (const EImgException& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("Input file is not valid"));
    }
  }
  const QByteArray file = File(100, 11, Hex("00 00 FF 0B 8D"));
  SetIMGMaxPixels(1000);
  EXPECT_THROW(IMGDecodeBytes(file.constData(), file.size()), EImgException);
  SetIMGMaxPixels(1100);
  EXPECT_NO_THROW(IMGDecodeBytes(file.constData(), file.size()));
  SetIMGMaxPixels(kIMGDefaultMaxPixels);
  const QByteArray huge = File(65535, 65535, Hex("81"));
  EXPECT_THROW(IMGDecodeBytes(huge.constData(), huge.size()), EImgException);
  // Several planes are not decoded, and the image passed in stays.
  QBuffer buffer;
  buffer.setData(File(8, 1, Hex("81"), 4));
  buffer.open(QIODevice::ReadOnly);
  QImage image = MonoImage(3, 3);
  EXPECT_FALSE(IMGDecode(&buffer, image));
  EXPECT_EQ(image.size(), QSize(3, 3));
}

TEST(IMGDecoder, RecordsThatOverrunOrEndEarlyStayInsideTheImage) {
  struct TCase {
    const char* Name;
    QByteArray File;
    const char* Rows;
  };
  const TCase cases[] = {
      {"a header of 9 words skips two bytes", File(16, 1, Hex("80 05 82"), 1, 9), "00 00"},
      // A started line is clear; what a record closes early is white.
      {"a run past the line end closes the line white", File(16, 3, Hex("01 83 01")), "FF FF|00 00|FF 00"},
      {"an overrun closing the last line is dropped", File(16, 1, Hex("81 83")), "00 FF"},
      {"replication is clipped to the image", File(8, 3, Hex("00 00 FF FF 81 01 01 01")), "00|00|00"},
      {"replications of one and zero advance a line", File(8, 3, Hex("00 00 FF 01 81 00 00 FF 00 01 81")), "00|FF|00"},
      {"patterns repeat inverted", File(48, 1, Hex("00 03 AA 55"), 1, 8, 2), "55 AA 55 AA 55 AA"},
      {"a pattern longer than the line is clipped", File(24, 2, Hex("00 09 AA 55 81 81 81"), 1, 8, 2),
       "55 AA 55|00 00 00"},
      {"a double zero without marker does nothing", File(8, 1, Hex("00 00 07 81")), "00"},
      {"a bit string cut by the end", File(24, 2, Hex("80 03 0F")), "F0 00 00|FF FF FF"},
      {"a pattern cut by the end", File(24, 2, Hex("81 00 02 AA"), 1, 8, 2), "00 00 00|FF FF FF"},
      {"only the header: everything white", File(9, 2, QByteArray()), "FF FF|FF FF"},
  };
  for (const TCase& c : cases) EXPECT_EQ(Rows(Decode(c.File)), QString::fromLatin1(c.Rows)) << c.Name;
  // A random-access stream is left just after the data used.
  QByteArray data = IMGEncodeBytes(PatternImage(30, 9, 3));
  const qsizetype used = data.size();
  data = "xyz" + data + "TRAILER";
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  buffer.seek(3);
  QImage image;
  ASSERT_TRUE(IMGDecode(&buffer, image));
  EXPECT_EQ(buffer.pos(), 3 + used);
}

TEST(IMGTextForm, HexWithLineBreaksAfterEveryFortiethByteFromTheWidthOn) {
  EXPECT_EQ(IMGBytesToText(IMGEncodeBytes(MonoImage(16, 1))), QByteArray("0010000102\r\n"));
  QByteArray bytes(12, '\0');
  bytes += QByteArray(40, '\xAB');
  EXPECT_TRUE(IMGBytesToText(bytes + '\x01').endsWith("AB\r\n01\r\n"));
  EXPECT_EQ(IMGBytesToText(bytes + '\x01').size(), 80 + 2 + 2 + 2);
  // Back to bytes: other characters are skipped, an unpaired digit dropped, short sizes are zero.
  EXPECT_EQ(ToHex(IMGTextToBytes("00 1 0-00\r\n01 0z2\r\nAb c")),
            ToHex(IMGHeaderBytes({1, 8, 1, 1, 0, 0, 16, 1}) + Hex("02 AB")));
  EXPECT_EQ(ToHex(IMGTextToBytes("0010 00")), ToHex(IMGHeaderBytes({1, 8, 1, 1, 0, 0, 16, 0})));
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
  const QImage swapped = PatternImage(20, 6, 8, false);
  const QImage mono = IMGMonoBitmap(swapped);
  EXPECT_EQ(mono.colorTable(), (QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
  EXPECT_TRUE(SamePixels(mono, swapped));
  QImage colour(2, 1, QImage::Format_RGB32);
  colour.setPixel(0, 0, qRgb(10, 10, 10));
  colour.setPixel(1, 0, qRgb(250, 250, 250));
  const QImage fromColour = IMGMonoBitmap(colour);
  EXPECT_EQ(fromColour.format(), QImage::Format_Mono);
  EXPECT_EQ(fromColour.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_TRUE(IMGMonoBitmap(QImage()).isNull());
}
