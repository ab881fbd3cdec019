#include "vorn/common/ColorKey_p.h"

namespace vorn {

std::optional<QRgb> TransparentKey(const QImage& Image, TColor Color) {
  if (Image.isNull() || Color == clNone) return std::nullopt;
  if (Color == clDefault) return Image.pixel(0, Image.height() - 1) | 0xFF000000u;
  return ToQColor(ColorToRGB(Color)).rgb();
}

QImage WithoutColor(const QImage& Image, QRgb Key) {
  Key |= 0xFF000000u;
  QImage result = Image.convertToFormat(QImage::Format_ARGB32);
  bool found = false;
  for (int y = 0; y < result.height(); ++y) {
    auto* p = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) {
      if ((p[x] | 0xFF000000u) == Key) {
        p[x] = 0;
        found = true;
      }
    }
  }
  // Premultiplied is the form the painter draws fastest.
  return found ? result.convertToFormat(QImage::Format_ARGB32_Premultiplied) : Image;
}

}  // namespace vorn
