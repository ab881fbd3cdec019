#pragma once
// Free rotation of an image by a whole number of degrees, behind the bitmap buffer's rotation.

#include "vorn/common/Color.h"

#include <QImage>
#include <QSize>

#include <cstdint>

namespace vorn {

// A Width x Height image of Format; an Exception when it cannot be allocated.
QImage NewImage(int Width, int Height, QImage::Format Format);

// The size a Size image needs to hold itself turned by Angle degrees:
// Round(W |cos| + H |sin|) x Round(W |sin| + H |cos|).
QSize TurnedImageSize(const QSize& Size, int32_t Angle);

// Image turned about its centre (positive angles turn clockwise on screen, as the drawing
// transform does), in its own pixel format. With AdjustSize the result is TurnedImageSize large;
// otherwise it keeps the size and the corners are cut. Uncovered pixels get BkColor, opaque. An
// empty result size gives a null image.
QImage TurnImage(const QImage& Image, int32_t Angle, bool AdjustSize, TColor BkColor);

}  // namespace vorn
