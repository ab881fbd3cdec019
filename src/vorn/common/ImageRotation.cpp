#include "vorn/common/ImageRotation_p.h"

#include "vorn/common/Exceptions.h"
#include "vorn/common/Rounding.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTransform>

#include <cmath>
#include <numbers>

namespace vorn {

QImage NewImage(int Width, int Height, QImage::Format Format) {
  QImage image(Width, Height, Format);
  if (image.isNull())
    throw Exception(QCoreApplication::translate("KxDEBitmap", "Not enough memory for a bitmap of %1 x %2 pixels")
                        .arg(Width)
                        .arg(Height));
  return image;
}

QSize TurnedImageSize(const QSize& Size, int32_t Angle) {
  const double radians = Angle * std::numbers::pi / 180.0;
  const double c = std::abs(std::cos(radians)), s = std::abs(std::sin(radians));
  const int w = Size.width(), h = Size.height();
  return QSize(Round32(w * c + h * s), Round32(w * s + h * c));
}

QImage TurnImage(const QImage& Image, int32_t Angle, bool AdjustSize, TColor BkColor) {
  const int w = Image.width(), h = Image.height();
  const QSize size = AdjustSize ? TurnedImageSize(Image.size(), Angle) : Image.size();
  if (size.width() <= 0 || size.height() <= 0) return QImage();
  QImage result = NewImage(size.width(), size.height(), Image.isNull() ? QImage::Format_RGB32 : Image.format());
  result.fill(QColor(ToQColor(ColorToRGB(BkColor)).rgb()));  // opaque
  if (!Image.isNull()) {
    // Centre of the source to the origin, turn, origin to the centre of the result.
    const QTransform transform = QTransform::fromTranslate(-w / 2.0, -h / 2.0) * QTransform().rotate(Angle) *
                                 QTransform::fromTranslate(size.width() / 2.0, size.height() / 2.0);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setWorldTransform(transform);
    painter.drawImage(0, 0, Image);
  }
  return result;
}

}  // namespace vorn
