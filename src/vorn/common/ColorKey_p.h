#pragma once
// Colour-keyed transparency of raster images: a transparent bitmap leaves out every pixel of one
// colour, a colour given as such or, when automatic, the colour of its bottom-left pixel.

#include "vorn/common/Color.h"

#include <QImage>

#include <optional>

namespace vorn {

// The RGB value (alpha 255) that Image leaves out for the transparent colour Color: Color itself
// with system colours resolved, or for clDefault the colour of the bottom-left pixel. None for
// clNone or a null image.
std::optional<QRgb> TransparentKey(const QImage& Image, TColor Color);

// Image with its pixels of exactly the colour Key (their alpha not compared) made fully
// transparent, as premultiplied ARGB; Image itself, shared, when no pixel has that colour.
QImage WithoutColor(const QImage& Image, QRgb Key);

}  // namespace vorn
