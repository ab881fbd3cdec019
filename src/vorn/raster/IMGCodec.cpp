#include "vorn/raster/IMGCodec.h"

#include "vorn/common/Exceptions.h"

#include <QCoreApplication>
#include <QIODevice>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace vorn {
namespace {

std::atomic<int64_t> GMaxPixels{kIMGDefaultMaxPixels};

QString Tr(const char* Text) { return QCoreApplication::translate("IMGGraphic", Text); }

constexpr uint8_t kRunBlack = 0x80;  // solid-run flag: bytes of all 1 bits in the file
constexpr int kMaxSolidRun = 127;
constexpr int kMaxBitStringScan = 252;  // a bit string stops growing here; a short tail may follow
constexpr int kMaxReplication = 254;    // further identical lines per replication record

void AppendWord(QByteArray& Out, uint16_t Value) {
  Out.append(static_cast<char>(Value >> 8));
  Out.append(static_cast<char>(Value & 0xFF));
}

uint16_t ReadWord(const char* P) {
  return static_cast<uint16_t>((static_cast<uint8_t>(P[0]) << 8) | static_cast<uint8_t>(P[1]));
}

// The scan-line decoder over a byte buffer. Every write is clipped to the current line's stored
// bytes, and lines are only touched while they lie inside the image.
class TLineDecoder {
 public:
  TLineDecoder(const TIMGHeader& Header, QImage& Image, const uint8_t* Data, int64_t Size, int64_t Pos)
      : FBits(Image.bits()),
        FStride(static_cast<size_t>(Image.bytesPerLine())),
        FData(Data),
        FSize(Size),
        FPos(Pos),
        FPattLen(Header.pattlen),
        FBytesPerLine((Header.pixels + 7) / 8),
        FLines(Header.lines) {}

  void Run() {
    StartLine();
    while (FLine < FLines && FPos < FSize) {
      if (!Record()) break;  // the data ended inside a record
      if (FWritePos == FBytesPerLine) FinishLine();
    }
  }

  int64_t Position() const { return FPos; }

 private:
  uint8_t* Row(int Line) { return FBits + static_cast<size_t>(Line) * FStride; }

  void StartLine() {
    std::memset(Row(FLine), 0, FStride);
    FWritePos = 0;
    FReplication = 0;
  }

  // The line is complete: replicate it as the last scan-line run asked, then move on.
  void FinishLine() {
    if (FReplication >= 1) {
      const uint8_t* src = Row(FLine);
      for (int k = 1; k < FReplication && FLine + k < FLines; ++k)
        std::memcpy(Row(FLine + k), src, FStride);
      FLine += FReplication;
      FReplication = 0;
    } else {
      ++FLine;
    }
    if (FLine < FLines) StartLine();
  }

  bool ReadByte(uint8_t& Value) {
    if (FPos >= FSize) return false;
    Value = FData[FPos++];
    return true;
  }

  // A run or string of Count bytes that does not fit the rest of the line closes the line with
  // white and starts the next one. Returns false when that runs past the last line.
  bool Prepare(int Count) {
    if (FWritePos + Count > FBytesPerLine) {
      std::memset(Row(FLine) + FWritePos, 0xFF, static_cast<size_t>(FBytesPerLine - FWritePos));
      ++FLine;
      if (FLine >= FLines) return false;
      StartLine();
    }
    return true;
  }

  void WriteBytes(const uint8_t* Bytes, int Count) {
    const int n = std::min(Count, FBytesPerLine - FWritePos);
    uint8_t* dst = Row(FLine) + FWritePos;
    for (int k = 0; k < n; ++k) dst[k] = static_cast<uint8_t>(~Bytes[k]);
    FWritePos += n;
  }

  void WriteSolid(uint8_t Value, int Count) {
    const int n = std::min(Count, FBytesPerLine - FWritePos);
    std::memset(Row(FLine) + FWritePos, Value, static_cast<size_t>(n));
    FWritePos += n;
  }

  // Reads and applies one record; false when the data ends inside it.
  bool Record() {
    uint8_t b = 0;
    ReadByte(b);
    if (b == 0x00) {
      uint8_t n = 0;
      if (!ReadByte(n)) return false;
      if (n == 0) {
        uint8_t marker = 0;
        if (!ReadByte(marker)) return false;
        if (marker == 0xFF) {
          uint8_t r = 0;
          if (!ReadByte(r)) return false;
          FReplication = r;
        }
        return true;
      }
      // Pattern run: the pattern n times, clipped to the line.
      if (FSize - FPos < FPattLen) {
        FPos = FSize;
        return false;
      }
      const uint8_t* pattern = FData + FPos;
      FPos += FPattLen;
      for (int k = 0; k < n && FWritePos < FBytesPerLine; ++k) WriteBytes(pattern, FPattLen);
      return true;
    }
    if (b == 0x80) {
      uint8_t n = 0;
      if (!ReadByte(n)) return false;
      const int available = static_cast<int>(std::min<int64_t>(n, FSize - FPos));
      const uint8_t* bytes = FData + FPos;
      FPos += available;
      if (!Prepare(n)) return true;
      WriteBytes(bytes, available);
      return available == n;
    }
    // Solid run: the file's 1 bits (black) are 0 bits in memory and its 0 bits are 1 bits.
    const int count = b & 0x7F;
    const uint8_t value = (b & kRunBlack) ? 0x00 : 0xFF;
    if (!Prepare(count)) return true;
    WriteSolid(value, count);
    return true;
  }

  uint8_t* FBits;
  size_t FStride;
  const uint8_t* FData;
  int64_t FSize;
  int64_t FPos;
  int FPattLen;
  int FBytesPerLine;
  int FLines;
  int FLine = 0;
  int FWritePos = 0;
  int FReplication = 0;
};

// Line encoder: black, white and literal records of one scan line, as described with the format.
class TLineEncoder {
 public:
  TLineEncoder(QByteArray& Out, int BytesPerLine, uint8_t LastByteMask, bool Invert)
      : FOut(Out), FBytesPerLine(BytesPerLine), FMask(LastByteMask), FInvert(Invert),
        FBlack(Invert ? 0x00 : 0xFF), FWhite(Invert ? 0xFF : 0x00) {}

  void Encode(const uint8_t* Line) {
    FLine = Line;
    FIndex = 0;
    while (FIndex < FBytesPerLine) {
      if (FLine[FIndex] == FBlack) SolidRun(FBlack, kRunBlack);
      if (FIndex < FBytesPerLine && FLine[FIndex] == FWhite) SolidRun(FWhite, 0x00);
      if (FIndex < FBytesPerLine) BitString();
    }
  }

 private:
  void SolidRun(uint8_t Value, uint8_t Flag) {
    int len = 1;
    ++FIndex;
    // Whole bytes while at least one byte follows the candidate.
    while (FBytesPerLine - FIndex > 1 && FLine[FIndex] == Value && len < kMaxSolidRun) {
      ++len;
      ++FIndex;
    }
    // The row's last byte only has to match in the pixels it holds; its padding is free.
    if (FBytesPerLine - FIndex == 1 && (FLine[FIndex] & FMask) == (Value & FMask) && len < kMaxSolidRun) {
      ++len;
      ++FIndex;
    }
    FOut.append(static_cast<char>(Flag + len));
  }

  void BitString() {
    const int start = FIndex;
    int len = 1;
    ++FIndex;
    while (FIndex < FBytesPerLine) {
      const int remain = FBytesPerLine - FIndex;
      if (remain < 4) {
        len += remain;
        FIndex = FBytesPerLine;
        break;
      }
      const uint8_t a = FLine[FIndex], b = FLine[FIndex + 1], c = FLine[FIndex + 2];
      if ((a == 0x00 && b == 0x00 && c == 0x00) || (a == 0xFF && b == 0xFF && c == 0xFF)) break;
      ++len;
      ++FIndex;
      if (len >= kMaxBitStringScan) break;
    }
    const qsizetype at = FOut.size();
    if (FOut.capacity() < at + 2 + len) FOut.reserve(std::max<qsizetype>(at + 2 + len, 2 * FOut.capacity()));
    FOut.resize(at + 2 + len);
    auto* out = reinterpret_cast<uint8_t*>(FOut.data() + at);
    out[0] = 0x80;
    out[1] = static_cast<uint8_t>(len);
    if (!FInvert) {
      std::memcpy(out + 2, FLine + start, static_cast<size_t>(len));
      return;
    }
    for (int k = 0; k < len; ++k) out[2 + k] = static_cast<uint8_t>(~FLine[start + k]);
    // Padding bits of the row's last byte go out as white (0 in the file).
    if (start + len == FBytesPerLine) out[1 + len] &= FMask;
  }

  QByteArray& FOut;
  const int FBytesPerLine;
  const uint8_t FMask;
  const bool FInvert;
  const uint8_t FBlack;
  const uint8_t FWhite;
  const uint8_t* FLine = nullptr;
  int FIndex = 0;
};

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

int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
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
QString sIMGNeeds1Bit() {
  return Tr(QT_TRANSLATE_NOOP("IMGGraphic", "Input bitmap needs to be 1 bit as pixelformat"));
}

int64_t IMGMaxPixels() { return GMaxPixels.load(); }
void SetIMGMaxPixels(int64_t Value) { GMaxPixels.store(std::max<int64_t>(1, Value)); }

QByteArray IMGHeaderBytes(const TIMGHeader& H) {
  QByteArray out;
  out.reserve(kIMGHeaderSize);
  for (uint16_t w : {H.version, H.length, H.planes, H.pattlen, H.PixWidth, H.PixHeight, H.pixels, H.lines})
    AppendWord(out, w);
  return out;
}

TIMGHeader IMGHeaderFromBytes(const char* B) {
  TIMGHeader h;
  h.version = ReadWord(B);
  h.length = ReadWord(B + 2);
  h.planes = ReadWord(B + 4);
  h.pattlen = ReadWord(B + 6);
  h.PixWidth = ReadWord(B + 8);
  h.PixHeight = ReadWord(B + 10);
  h.pixels = ReadWord(B + 12);
  h.lines = ReadWord(B + 14);
  return h;
}

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
                            .arg(h.pixels).arg(h.lines).arg(IMGMaxPixels()));
  QImage image(h.pixels, h.lines, QImage::Format_Mono);
  if (image.isNull())
    throw EImgException(Tr("Not enough memory for an image of %1 x %2 pixels").arg(h.pixels).arg(h.lines));
  image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  image.fill(1);  // white until the data reaches a line

  const int64_t dataStart = 2 * int64_t(h.length);
  TLineDecoder decoder(h, image, reinterpret_cast<const uint8_t*>(Data), Size, dataStart);
  if (dataStart < Size) decoder.Run();
  result.Decoded = true;
  result.Image = std::move(image);
  result.Consumed = std::min(Size, std::max<int64_t>(decoder.Position(), kIMGHeaderSize));
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
    throw EImgException(Tr("An IMG image holds at most 65535 x 65535 pixels, not %1 x %2")
                            .arg(Bitmap.width()).arg(Bitmap.height()));
}

QByteArray EncodeHeader(const QImage& Bitmap) {
  TIMGHeader h;
  h.pixels = static_cast<uint16_t>(Bitmap.width());
  h.lines = static_cast<uint16_t>(Bitmap.height());
  return IMGHeaderBytes(h);
}

void EncodeBody(const QImage& Source, QByteArray& Out) {
  const QImage bitmap =
      Source.format() == QImage::Format_MonoLSB ? Source.convertToFormat(QImage::Format_Mono) : Source;
  const int w = bitmap.width(), h = bitmap.height();
  const bool invert = IsBlack(ColorOfIndex(bitmap, 0));
  const int bytesPerLine = (w + 7) >> 3;
  const int padding = 8 * bytesPerLine - w;
  const uint8_t mask = static_cast<uint8_t>(~((1u << padding) - 1));
  TLineEncoder encoder(Out, bytesPerLine, mask, invert);
  for (int y = 0; y < h; ++y) {
    const uint8_t* line = bitmap.constScanLine(y);
    if (y < h - 1) {
      int count = 0;
      while (count < kMaxReplication && y + 1 < h &&
             std::memcmp(bitmap.constScanLine(y + 1), line, static_cast<size_t>(bytesPerLine)) == 0) {
        ++count;
        ++y;
      }
      if (count >= 1) {
        Out.append('\0');
        Out.append('\0');
        Out.append(static_cast<char>(0xFF));
        Out.append(static_cast<char>(count + 1));
      }
    }
    encoder.Encode(line);
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
  // Typical line art compresses well; reserve a fraction of the raw size to avoid regrowth.
  out.reserve(kIMGHeaderSize + int64_t(Bitmap.height()) * ((Bitmap.width() + 7) / 8) / 4 + 64);
  EncodeBody(Bitmap, out);
  return out;
}

void IMGEncode(const QImage& Bitmap, QIODevice* Stream) {
  CheckEncodable(Bitmap);
  WriteAll(Stream, EncodeHeader(Bitmap));
  if (!IsOneBit(Bitmap)) throw EImgException(sIMGNeeds1Bit());
  QByteArray body;
  body.reserve(int64_t(Bitmap.height()) * ((Bitmap.width() + 7) / 8) / 4 + 64);
  EncodeBody(Bitmap, body);
  WriteAll(Stream, body);
}

QByteArray IMGBytesToText(const QByteArray& Bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  constexpr qsizetype kSkipped = 12;  // the text form starts with the width
  QByteArray out;
  const qsizetype n = std::max<qsizetype>(0, Bytes.size() - kSkipped);
  out.reserve(n * 2 + (n / 40) * 2 + 4);
  qsizetype count = 0;
  for (qsizetype k = kSkipped; k < Bytes.size(); ++k) {
    const uint8_t b = static_cast<uint8_t>(Bytes[k]);
    out.append(kHex[b >> 4]);
    out.append(kHex[b & 0x0F]);
    if (++count % 40 == 0) out.append("\r\n");
  }
  out.append("\r\n");
  return out;
}

QByteArray IMGTextToBytes(const QByteArray& Text) {
  qsizetype pos = 0;
  // The next hexadecimal digit, or -1 at the end.
  auto nextDigit = [&]() -> int {
    while (pos < Text.size()) {
      const int v = HexValue(Text[pos++]);
      if (v >= 0) return v;
    }
    return -1;
  };
  // A word of four digits; a word cut short counts as 0.
  auto readWord = [&]() -> uint16_t {
    uint32_t value = 0;
    for (int k = 0; k < 4; ++k) {
      const int d = nextDigit();
      if (d < 0) return 0;
      value = (value << 4) | static_cast<uint32_t>(d);
    }
    return static_cast<uint16_t>(value);
  };
  TIMGHeader h;
  h.pixels = readWord();
  h.lines = readWord();
  QByteArray out = IMGHeaderBytes(h);
  out.reserve(kIMGHeaderSize + (Text.size() - pos) / 2);
  for (;;) {
    const int hi = nextDigit();
    if (hi < 0) break;
    const int lo = nextDigit();
    if (lo < 0) break;  // a final unpaired digit is dropped
    out.append(static_cast<char>((hi << 4) | lo));
  }
  return out;
}

void TransformASCIItoBinStream(QIODevice* Source, QIODevice* Dest) {
  WriteAll(Dest, IMGTextToBytes(ReadRest(Source)));
}

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
