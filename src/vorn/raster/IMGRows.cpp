#include "vorn/raster/IMGRows.h"

#include <algorithm>
#include <cstring>

namespace vorn {
namespace {

constexpr uint8_t kRunBlack = 0x80;  // solid-run flag: bytes of all 1 bits in the file
constexpr int kMaxSolidRun = 127;
constexpr int kMaxBitStringScan = 252;  // a bit string stops growing here; a short tail may follow
constexpr int kMaxReplication = 254;    // further identical lines per replication record

void PutWord(uint8_t* P, uint16_t Value) {
  P[0] = static_cast<uint8_t>(Value >> 8);
  P[1] = static_cast<uint8_t>(Value & 0xFF);
}

uint16_t GetWord(const uint8_t* P) { return static_cast<uint16_t>((P[0] << 8) | P[1]); }

// The scan-line decoder over a byte buffer. It works in the inverted sense (0 bits black) and
// turns every byte it stores with FXor, so rows in file sense come out directly. Every write is
// clipped to the current line's stored bytes, and lines are only touched while they lie inside
// the image.
class TLineDecoder {
 public:
  TLineDecoder(const TIMGHeader& Header, const TIMGRowBuffer& Rows, const uint8_t* Data, int64_t Size, int64_t Pos)
      : FBits(Rows.Bits),
        FStride(Rows.Stride),
        FXor(Rows.FileSense ? 0xFF : 0x00),
        FData(Data),
        FSize(Size),
        FPos(Pos),
        FPattLen(Header.pattlen),
        FBytesPerLine((Header.pixels + 7) / 8),
        FLines(Header.lines) {}

  TIMGRowsDecoded Run() {
    bool started = false;
    if (FPos < FSize) {
      StartLine();
      started = true;
      while (FLine < FLines && FPos < FSize) {
        if (!Record()) break;  // the data ended inside a record
        if (FWritePos == FBytesPerLine) FinishLine();
      }
    }
    // The current line was started; the lines after it keep the white of a fresh image.
    for (int y = started ? FLine + 1 : FLine; y < FLines; ++y) std::memset(Row(y), 0xFF ^ FXor, FStride);
    return {FPos, FLine >= FLines};
  }

 private:
  uint8_t* Row(int Line) { return FBits + static_cast<size_t>(Line) * FStride; }

  void StartLine() {
    std::memset(Row(FLine), FXor, FStride);
    FWritePos = 0;
    FReplication = 0;
  }

  // The line is complete: replicate it as the last scan-line run asked, then move on.
  void FinishLine() {
    if (FReplication >= 1) {
      const uint8_t* src = Row(FLine);
      for (int k = 1; k < FReplication && FLine + k < FLines; ++k) std::memcpy(Row(FLine + k), src, FStride);
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
      std::memset(Row(FLine) + FWritePos, 0xFF ^ FXor, static_cast<size_t>(FBytesPerLine - FWritePos));
      ++FLine;
      if (FLine >= FLines) return false;
      StartLine();
    }
    return true;
  }

  void WriteBytes(const uint8_t* Bytes, int Count) {
    const int n = std::min(Count, FBytesPerLine - FWritePos);
    uint8_t* dst = Row(FLine) + FWritePos;
    const uint8_t flip = static_cast<uint8_t>(~FXor);
    for (int k = 0; k < n; ++k) dst[k] = Bytes[k] ^ flip;
    FWritePos += n;
  }

  void WriteSolid(uint8_t Value, int Count) {
    const int n = std::min(Count, FBytesPerLine - FWritePos);
    std::memset(Row(FLine) + FWritePos, Value ^ FXor, static_cast<size_t>(n));
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
    // Solid run: the file's 1 bits (black) are 0 bits inverted and its 0 bits are 1 bits.
    const int count = b & 0x7F;
    const uint8_t value = (b & kRunBlack) ? 0x00 : 0xFF;
    if (!Prepare(count)) return true;
    WriteSolid(value, count);
    return true;
  }

  uint8_t* FBits;
  size_t FStride;
  uint8_t FXor;
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
  TLineEncoder(int BytesPerLine, uint8_t LastByteMask, bool Invert)
      : FBytesPerLine(BytesPerLine),
        FMask(LastByteMask),
        FInvert(Invert),
        FBlack(Invert ? 0x00 : 0xFF),
        FWhite(Invert ? 0xFF : 0x00) {}

  // Encodes one line; returns the position after its records.
  uint8_t* Encode(const uint8_t* Line, uint8_t* Out) {
    FOut = Out;
    FLine = Line;
    FIndex = 0;
    while (FIndex < FBytesPerLine) {
      if (FLine[FIndex] == FBlack) SolidRun(FBlack, kRunBlack);
      if (FIndex < FBytesPerLine && FLine[FIndex] == FWhite) SolidRun(FWhite, 0x00);
      if (FIndex < FBytesPerLine) BitString();
    }
    return FOut;
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
    *FOut++ = static_cast<uint8_t>(Flag + len);
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
    uint8_t* out = FOut;
    FOut += 2 + len;
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

  uint8_t* FOut = nullptr;
  const int FBytesPerLine;
  const uint8_t FMask;
  const bool FInvert;
  const uint8_t FBlack;
  const uint8_t FWhite;
  const uint8_t* FLine = nullptr;
  int FIndex = 0;
};

int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}

}  // namespace

void IMGPutHeader(const TIMGHeader& H, uint8_t* Bytes) {
  const uint16_t words[] = {H.version, H.length, H.planes, H.pattlen, H.PixWidth, H.PixHeight, H.pixels, H.lines};
  for (int k = 0; k < 8; ++k) PutWord(Bytes + 2 * k, words[k]);
}

TIMGHeader IMGGetHeader(const uint8_t* B) {
  TIMGHeader h;
  h.version = GetWord(B);
  h.length = GetWord(B + 2);
  h.planes = GetWord(B + 4);
  h.pattlen = GetWord(B + 6);
  h.PixWidth = GetWord(B + 8);
  h.PixHeight = GetWord(B + 10);
  h.pixels = GetWord(B + 12);
  h.lines = GetWord(B + 14);
  return h;
}

TIMGRowsDecoded IMGDecodeRows(const TIMGHeader& Header, const uint8_t* Data, int64_t Size, int64_t Pos,
                              const TIMGRowBuffer& Rows) {
  return TLineDecoder(Header, Rows, Data, Size, Pos).Run();
}

// A record uses at least one byte of the line and writes at most two bytes more than it uses; a
// replication record adds four bytes: MaxStep holds.
size_t TIMGRowEncoder::Next(uint8_t* Out) {
  if (Done()) return 0;
  const int w = FRows.Width, h = FRows.Height;
  const int bytesPerLine = (w + 7) >> 3;
  const int padding = 8 * bytesPerLine - w;
  const uint8_t mask = static_cast<uint8_t>(~((1u << padding) - 1));
  auto row = [&](int y) -> const uint8_t* { return FRows.Bits + static_cast<size_t>(y) * FRows.Stride; };
  int y = FNext;
  const uint8_t* line = row(y);
  uint8_t* out = Out;
  int count = 0;
  while (count < kMaxReplication && y + 1 < h &&
         std::memcmp(row(y + 1), line, static_cast<size_t>(bytesPerLine)) == 0) {
    ++count;
    ++y;
  }
  if (count >= 1) {
    const uint8_t record[] = {0x00, 0x00, 0xFF, static_cast<uint8_t>(count + 1)};
    out = std::copy(record, record + 4, out);
  }
  out = TLineEncoder(bytesPerLine, mask, !FRows.FileSense).Encode(line, out);
  FNext = y + 1;
  return static_cast<size_t>(out - Out);
}

std::string IMGTextFromBytes(std::string_view Bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  constexpr size_t kSkipped = 12;  // the text form starts with the width
  std::string out;
  const size_t n = Bytes.size() > kSkipped ? Bytes.size() - kSkipped : 0;
  out.reserve(n * 2 + (n / 40) * 2 + 4);
  size_t count = 0;
  for (size_t k = kSkipped; k < Bytes.size(); ++k) {
    const auto b = static_cast<uint8_t>(Bytes[k]);
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 0x0F]);
    if (++count % 40 == 0) out.append("\r\n");
  }
  out.append("\r\n");
  return out;
}

std::string IMGBytesFromText(std::string_view Text) {
  size_t pos = 0;
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
  std::string out(kIMGHeaderSize, '\0');
  IMGPutHeader(h, reinterpret_cast<uint8_t*>(out.data()));
  out.reserve(kIMGHeaderSize + (Text.size() - pos) / 2);
  for (;;) {
    const int hi = nextDigit();
    if (hi < 0) break;
    const int lo = nextDigit();
    if (lo < 0) break;  // a final unpaired digit is dropped
    out.push_back(static_cast<char>((hi << 4) | lo));
  }
  return out;
}

}  // namespace vorn
