#include "Netpbm.h"

#include <array>
#include <cstring>

namespace vorncli {
namespace {

// A cursor over the text parts of a netpbm file: the header, and the samples of the plain forms.
class TScanner {
 public:
  explicit TScanner(std::string_view Data) : FData(Data) {}

  size_t Pos() const { return FPos; }
  void Skip(size_t N) { FPos += N; }
  size_t Left() const { return FData.size() - FPos; }
  const char* Here() const { return FData.data() + FPos; }

  // Whitespace and comments ('#' to the end of the line).
  void SkipSpace() {
    while (FPos < FData.size()) {
      const char c = FData[FPos];
      if (c == '#') {
        while (FPos < FData.size() && FData[FPos] != '\n' && FData[FPos] != '\r') ++FPos;
      } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
        ++FPos;
      } else {
        return;
      }
    }
  }

  // An unsigned decimal number after optional space; false when there is none or it is too large.
  bool Number(uint32_t& Value) {
    SkipSpace();
    const size_t start = FPos;
    uint64_t v = 0;
    while (FPos < FData.size() && FData[FPos] >= '0' && FData[FPos] <= '9' && v <= 0xFFFFFFFFu)
      v = v * 10 + static_cast<uint64_t>(FData[FPos++] - '0');
    if (FPos == start || v > 0xFFFFFFFFu) return false;
    Value = static_cast<uint32_t>(v);
    return true;
  }

  // The next non-space character of a plain PBM raster, or 0 at the end.
  char NextBit() {
    SkipSpace();
    return FPos < FData.size() ? FData[FPos++] : '\0';
  }

 private:
  std::string_view FData;
  size_t FPos = 0;
};

TNetpbmRead Fail(std::string& Error, const char* Message) {
  Error = Message;
  return TNetpbmRead::Error;
}

void SetPixel(TBitmapRows& Rows, int X, int Y) { Rows.Row(Y)[X >> 3] |= static_cast<uint8_t>(0x80 >> (X & 7)); }

}  // namespace

void TBitmapRows::Resize(int W, int H) {
  Width = W;
  Height = H;
  if (Size() > FCapacity) {
    FBits = std::make_unique_for_overwrite<uint8_t[]>(Size());
    FCapacity = Size();
  }
}

void TBitmapRows::ClearPadding() {
  const int padding = static_cast<int>(8 * Stride()) - Width;
  if (padding == 0 || Height == 0) return;
  const auto mask = static_cast<uint8_t>(~((1u << padding) - 1));
  for (int y = 0; y < Height; ++y) Row(y)[Stride() - 1] &= mask;
}

TNetpbmRead ReadNetpbm(std::string_view Data, TBitmapRows& Rows, std::string& Error) {
  if (Data.size() < 2 || Data[0] != 'P') return TNetpbmRead::Other;
  const char kind = Data[1];
  if (kind != '1' && kind != '2' && kind != '4' && kind != '5') return TNetpbmRead::Other;
  const bool grey = kind == '2' || kind == '5';
  const bool plain = kind == '1' || kind == '2';
  TScanner s(Data);
  s.Skip(2);
  uint32_t w = 0, h = 0, maxval = 1;
  if (!s.Number(w) || !s.Number(h) || (grey && !s.Number(maxval))) return Fail(Error, "damaged netpbm header");
  if (w == 0 || h == 0) return Fail(Error, "the picture has no pixels");
  if (w > 0xFFFF || h > 0xFFFF) return Fail(Error, "an IMG image holds at most 65535 x 65535 pixels");
  if (grey && (maxval == 0 || maxval > 0xFFFF)) return Fail(Error, "damaged netpbm header (maximum grey value)");
  const uint64_t pixels = uint64_t(w) * h;
  const size_t stride = (w + 7) / 8;

  if (!plain) {
    // Exactly one whitespace character separates the header from the raster.
    if (s.Left() == 0) return Fail(Error, "the pixel data ends early");
    s.Skip(1);
    const uint64_t sampleBytes = maxval > 255 ? 2 : 1;
    const uint64_t need = grey ? pixels * sampleBytes : uint64_t(stride) * h;
    if (s.Left() < need) return Fail(Error, "the pixel data ends early");
    Rows.Resize(static_cast<int>(w), static_cast<int>(h));
    const auto* p = reinterpret_cast<const uint8_t*>(s.Here());
    if (!grey) {
      std::memcpy(Rows.Data(), p, Rows.Size());
      Rows.ClearPadding();
      return TNetpbmRead::Done;
    }
    std::memset(Rows.Data(), 0, Rows.Size());
    for (uint32_t y = 0; y < h; ++y) {
      for (uint32_t x = 0; x < w; ++x, p += sampleBytes) {
        const uint32_t v = sampleBytes == 2 ? (uint32_t(p[0]) << 8 | p[1]) : p[0];
        if (v == 0) SetPixel(Rows, static_cast<int>(x), static_cast<int>(y));
        else if (v != maxval) return TNetpbmRead::NotBilevel;
      }
    }
    return TNetpbmRead::Done;
  }

  // Plain forms: every sample takes at least one character.
  if (s.Left() < pixels) return Fail(Error, "the pixel data ends early");
  Rows.Resize(static_cast<int>(w), static_cast<int>(h));
  std::memset(Rows.Data(), 0, Rows.Size());
  for (uint32_t y = 0; y < h; ++y) {
    for (uint32_t x = 0; x < w; ++x) {
      bool black = false;
      if (!grey) {
        const char c = s.NextBit();
        if (c != '0' && c != '1')
          return Fail(Error, c ? "a plain PBM pixel is not 0 or 1" : "the pixel data ends early");
        black = c == '1';
      } else {
        uint32_t v = 0;
        if (!s.Number(v) || v > maxval) return Fail(Error, "damaged plain PGM sample");
        if (v != 0 && v != maxval) return TNetpbmRead::NotBilevel;
        black = v == 0;
      }
      if (black) SetPixel(Rows, static_cast<int>(x), static_cast<int>(y));
    }
  }
  return TNetpbmRead::Done;
}

std::string PbmHeader(int Width, int Height) {
  return "P4\n" + std::to_string(Width) + " " + std::to_string(Height) + "\n";
}

std::string PgmHeader(int Width, int Height) {
  return "P5\n" + std::to_string(Width) + " " + std::to_string(Height) + "\n255\n";
}

void AppendPgmSamples(const TBitmapRows& Rows, std::string& Out) {
  // Eight samples per byte of bits, looked up.
  static const auto kSamples = [] {
    std::array<std::array<char, 8>, 256> t{};
    for (int b = 0; b < 256; ++b)
      for (int k = 0; k < 8; ++k) t[b][k] = (b & (0x80 >> k)) ? '\0' : static_cast<char>(0xFF);
    return t;
  }();
  const size_t at = Out.size();
  Out.resize(at + static_cast<size_t>(Rows.Width) * static_cast<size_t>(Rows.Height));
  char* out = Out.data() + at;
  const size_t whole = static_cast<size_t>(Rows.Width) / 8;
  const int rest = Rows.Width % 8;
  for (int y = 0; y < Rows.Height; ++y) {
    const uint8_t* row = Rows.Row(y);
    for (size_t k = 0; k < whole; ++k, out += 8) std::memcpy(out, kSamples[row[k]].data(), 8);
    if (rest) {
      std::memcpy(out, kSamples[row[whole]].data(), static_cast<size_t>(rest));
      out += rest;
    }
  }
}

}  // namespace vorncli
