#pragma once
// Helpers shared by the raster tests: 1-bit images with chosen bytes, hex byte strings, pixel
// comparison.

#include "support/TestSupport.h"

#include <initializer_list>

namespace rastertest {

// A white 1-bit image; blackFirst chooses the colour-table order {black, white} or {white, black}.
inline QImage MonoImage(int Width, int Height, bool BlackFirst = true) {
  QImage image(Width, Height, QImage::Format_Mono);
  if (BlackFirst) {
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(1);
  } else {
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
  }
  return image;
}

inline void SetRow(QImage& Image, int Row, std::initializer_list<int> Bytes) {
  uint8_t* p = Image.scanLine(Row);
  for (int b : Bytes) *p++ = static_cast<uint8_t>(b);
}

// "82 02 80 01 FF" -> bytes.
inline QByteArray Hex(const char* Text) { return QByteArray::fromHex(QByteArray(Text).replace(' ', "")); }

inline QString ToHex(const QByteArray& Bytes) { return QString::fromLatin1(Bytes.toHex(' ').toUpper()); }

// Pixel colours agree everywhere (whatever the colour tables are).
inline bool SamePixels(const QImage& A, const QImage& B) {
  if (A.size() != B.size()) return false;
  for (int y = 0; y < A.height(); ++y)
    for (int x = 0; x < A.width(); ++x)
      if ((A.pixel(x, y) | 0xFF000000u) != (B.pixel(x, y) | 0xFF000000u)) return false;
  return true;
}

// A 1-bit picture with the features a coder meets: long black and white runs, noise, repeated
// lines, and lines that differ only near the end.
inline QImage PatternImage(int Width, int Height, uint32_t Seed, bool BlackFirst = true) {
  QImage image = MonoImage(Width, Height, BlackFirst);
  std::mt19937 rng(Seed);
  const bool black = BlackFirst ? false : true;  // bit value of black
  for (int y = 0; y < Height; ++y) {
    const int kind = static_cast<int>(rng() % 6);
    if (y > 0 && kind == 0) {  // repeat the previous line
      std::copy_n(image.constScanLine(y - 1), image.bytesPerLine(), image.scanLine(y));
      continue;
    }
    for (int x = 0; x < Width;) {
      const int len = 1 + static_cast<int>(rng() % (kind == 1 ? 3 : 90));
      const bool ink = (rng() % 2) == 0;
      for (int k = 0; k < len && x < Width; ++k, ++x) image.setPixel(x, y, ink ? black : !black);
    }
  }
  return image;
}

}  // namespace rastertest
