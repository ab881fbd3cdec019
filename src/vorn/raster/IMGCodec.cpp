#include "vorn/raster/IMGCodec.h"

#include "vorn/common/Exceptions.h"

#include <QCoreApplication>
#include <QIODevice>

#include <algorithm>
#include <atomic>
#include <string>

namespace vorn {
namespace {

std::atomic<int64_t> GMaxPixels{kIMGDefaultMaxPixels};

QString Tr(const char* Text) { return QCoreApplication::translate("IMGGraphic", Text); }

bool IsBlack(QRgb C) { return qRed(C) == 0 && qGreen(C) == 0 && qBlue(C) == 0; }

// The colour of index 0 of a 1-bit image; without a colour table Qt reads index 0 as black.
QRgb ColorOfIndex(const QImage& Image, int Index) {
  const QList<QRgb> table = Image.colorTable();
  if (Index < table.size()) return table[Index];
  return Index == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
}

void InvertBits(QImage& Image) {
  for (int y = 0; y < Image.height(); ++y) {
    uint8_t* p = Image.scanLine(y);
    for (qsizetype k = 0; k < Image.bytesPerLine(); ++k) p[k] = static_cast<uint8_t>(~p[k]);
  }
}

// Writes Bytes completely or raises.
void WriteAll(QIODevice* Stream, const QByteArray& Bytes) {
  if (!Stream || Stream->write(Bytes) != Bytes.size()) {
    const QString reason = Stream ? Stream->errorString() : QString();
    throw EImgException(Tr("Cannot write the IMG data: %1").arg(reason));
  }
}

QByteArray ReadRest(QIODevice* Stream) {
  if (!Stream || !Stream->isReadable()) throw EImgException(sIMGInvalidFile());
  return Stream->readAll();
}

}  // namespace

QString sIMGImage() { return Tr(QT_TRANSLATE_NOOP("IMGGraphic", "IMG Image")); }
QString sIMGInvalidFile() { return Tr(QT_TRANSLATE_NOOP("IMGGraphic", "Input file is not valid")); }
QString sIMGNeeds1Bit() { return Tr(QT_TRANSLATE_NOOP("IMGGraphic", "Input bitmap needs to be 1 bit as pixelformat")); }

int64_t IMGMaxPixels() { return GMaxPixels.load(); }
void SetIMGMaxPixels(int64_t Value) { GMaxPixels.store(std::max<int64_t>(1, Value)); }

QByteArray IMGHeaderBytes(const TIMGHeader& H) {
  QByteArray out(kIMGHeaderSize, Qt::Uninitialized);
  IMGPutHeader(H, reinterpret_cast<uint8_t*>(out.data()));
  return out;
}

TIMGHeader IMGHeaderFromBytes(const char* B) { return IMGGetHeader(reinterpret_cast<const uint8_t*>(B)); }

TIMGDecodeResult IMGDecodeBytes(const char* Data, int64_t Size) {
  if (!Data || Size < kIMGHeaderSize) throw EImgException(sIMGInvalidFile());
  const TIMGHeader h = IMGHeaderFromBytes(Data);
  if (h.pixels == 0 || h.lines == 0) throw EImgException(sIMGInvalidFile());
  TIMGDecodeResult result;
  result.Consumed = kIMGHeaderSize;
  if (h.planes != 1) return result;

  const int64_t pixelCount = int64_t(h.pixels) * h.lines;
  if (pixelCount > IMGMaxPixels())
    throw EImgException(Tr("The image of %1 x %2 pixels exceeds the limit of %3 pixels")
                            .arg(h.pixels)
                            .arg(h.lines)
                            .arg(IMGMaxPixels()));
  QImage image(h.pixels, h.lines, QImage::Format_Mono);
  if (image.isNull())
    throw EImgException(Tr("Not enough memory for an image of %1 x %2 pixels").arg(h.pixels).arg(h.lines));
  image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});

  const TIMGRowBuffer rows{image.bits(), static_cast<size_t>(image.bytesPerLine()), image.width(), image.height(),
                           false};
  const TIMGRowsDecoded decoded =
      IMGDecodeRows(h, reinterpret_cast<const uint8_t*>(Data), Size, 2 * int64_t(h.length), rows);
  result.Decoded = true;
  result.Image = std::move(image);
  result.Consumed = std::min(Size, std::max<int64_t>(decoded.End, kIMGHeaderSize));
  return result;
}

bool IMGDecode(QIODevice* Stream, QImage& Image) {
  const bool seekable = Stream && !Stream->isSequential();
  const qint64 start = seekable ? Stream->pos() : 0;
  const QByteArray data = ReadRest(Stream);
  TIMGDecodeResult r = IMGDecodeBytes(data.constData(), data.size());
  if (seekable) Stream->seek(start + r.Consumed);
  if (!r.Decoded) return false;
  Image = std::move(r.Image);
  return true;
}

namespace {

void CheckEncodable(const QImage& Bitmap) {
  if (Bitmap.width() > 0xFFFF || Bitmap.height() > 0xFFFF)
    throw EImgException(
        Tr("An IMG image holds at most 65535 x 65535 pixels, not %1 x %2").arg(Bitmap.width()).arg(Bitmap.height()));
}

QByteArray EncodeHeader(const QImage& Bitmap) {
  TIMGHeader h;
  h.pixels = static_cast<uint16_t>(Bitmap.width());
  h.lines = static_cast<uint16_t>(Bitmap.height());
  return IMGHeaderBytes(h);
}

// Appends the records of a 1-bit image to Out.
void EncodeBody(const QImage& Source, QByteArray& Out) {
  const QImage bitmap =
      Source.format() == QImage::Format_MonoLSB ? Source.convertToFormat(QImage::Format_Mono) : Source;
  // Inverted when index 0 is black; otherwise the bits go out as they are.
  const TIMGRowBuffer rows{const_cast<uint8_t*>(bitmap.constBits()), static_cast<size_t>(bitmap.bytesPerLine()),
                           bitmap.width(), bitmap.height(), !IsBlack(ColorOfIndex(bitmap, 0))};
  TIMGRowEncoder encoder(rows);
  // Typical line art compresses well: start with a fraction of the raw size, grow as needed.
  Out.reserve(Out.size() + int64_t(rows.Height) * ((rows.Width + 7) / 8) / 4 + 64);
  while (!encoder.Done()) {
    const qsizetype at = Out.size();
    Out.resize(at + static_cast<qsizetype>(encoder.MaxStep()));
    Out.resize(at + static_cast<qsizetype>(encoder.Next(reinterpret_cast<uint8_t*>(Out.data() + at))));
  }
}

bool IsOneBit(const QImage& Bitmap) {
  return Bitmap.format() == QImage::Format_Mono || Bitmap.format() == QImage::Format_MonoLSB;
}

}  // namespace

QByteArray IMGEncodeBytes(const QImage& Bitmap) {
  CheckEncodable(Bitmap);
  if (!IsOneBit(Bitmap)) throw EImgException(sIMGNeeds1Bit());
  QByteArray out = EncodeHeader(Bitmap);
  EncodeBody(Bitmap, out);
  return out;
}

void IMGEncode(const QImage& Bitmap, QIODevice* Stream) {
  CheckEncodable(Bitmap);
  WriteAll(Stream, EncodeHeader(Bitmap));
  if (!IsOneBit(Bitmap)) throw EImgException(sIMGNeeds1Bit());
  QByteArray body;
  EncodeBody(Bitmap, body);
  WriteAll(Stream, body);
}

QByteArray IMGBytesToText(const QByteArray& Bytes) {
  const std::string text = IMGTextFromBytes(std::string_view(Bytes.constData(), static_cast<size_t>(Bytes.size())));
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray IMGTextToBytes(const QByteArray& Text) {
  const std::string bytes = IMGBytesFromText(std::string_view(Text.constData(), static_cast<size_t>(Text.size())));
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void TransformASCIItoBinStream(QIODevice* Source, QIODevice* Dest) { WriteAll(Dest, IMGTextToBytes(ReadRest(Source))); }

QImage IMGMonoBitmap(const QImage& Image) {
  if (Image.isNull()) return {};
  QImage mono = Image.format() == QImage::Format_Mono ? Image : Image.convertToFormat(QImage::Format_Mono);
  if (mono.isNull()) return {};
  // Index 0 must be the darker of the two colours.
  if (qGray(ColorOfIndex(mono, 0)) > qGray(ColorOfIndex(mono, 1))) InvertBits(mono);
  mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  // Image readers may leave the bits after the last pixel of a row undefined; the encoder
  // compares whole rows when it looks for repeated lines, so make them white.
  if (const int padding = 8 * ((mono.width() + 7) / 8) - mono.width(); padding > 0) {
    const uint8_t padMask = static_cast<uint8_t>((1u << padding) - 1);
    const int last = (mono.width() + 7) / 8 - 1;
    for (int y = 0; y < mono.height(); ++y) mono.scanLine(y)[last] |= padMask;
  }
  return mono;
}

}  // namespace vorn
