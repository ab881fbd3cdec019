#include "vorn/raster/BitmapRotation.h"

#include "vorn/common/Exceptions.h"
#include "vorn/common/Rounding.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTransform>
#include <QtConcurrent/QtConcurrentMap>

#include <cmath>
#include <numbers>
#include <vector>

namespace vorn {
namespace {

// Destination rows are handed out in strips: each task owns whole rows. Inside a strip the
// copy goes tile by tile (a few dozen source rows against a few destination rows), so both sides
// stay in cache and in the address-translation buffer instead of walking a whole column at once.
constexpr int kRowsPerTask = 256;
constexpr int kSourceRowsPerTile = 64;
constexpr int kRowsPerTile = 16;

QImage NewImage(int Width, int Height, QImage::Format Format) {
  QImage image(Width, Height, Format);
  if (image.isNull())
    throw Exception(QCoreApplication::translate("KxDEBitmap", "Not enough memory for a bitmap of %1 x %2 pixels")
                        .arg(Width)
                        .arg(Height));
  return image;
}

}  // namespace

void RotateBitmap90(TKxDeBitmap* Bitmap, int32_t Angle) {
  if (!Bitmap || Angle == 0) return;
  Bitmap->SetPixelFormat(TPixelFormat::pf32bit);
  if (Bitmap->Empty()) return;
  const QImage& source = Bitmap->Image();
  const int w = source.width(), h = source.height();
  QImage rotated = NewImage(h, w, QImage::Format_ARGB32);

  const uint8_t* srcBits = source.constBits();
  const qsizetype srcStride = source.bytesPerLine();
  uint8_t* dstBits = rotated.bits();
  const qsizetype dstStride = rotated.bytesPerLine();
  auto srcRow = [&](int y) { return reinterpret_cast<const QRgb*>(srcBits + y * srcStride); };
  auto dstRow = [&](int i) { return reinterpret_cast<QRgb*>(dstBits + i * dstStride); };
  const bool clockwise = Angle == 90;

  std::vector<int> strips;
  strips.reserve(static_cast<size_t>(w / kRowsPerTask + 1));
  for (int i = 0; i < w; i += kRowsPerTask) strips.push_back(i);

  // Destination row i holds source column i (clockwise) or column W - 1 - i (counter-clockwise).
  QtConcurrent::blockingMap(strips, [&](int first) {
    const int last = std::min(first + kRowsPerTask, w);
    for (int x0 = 0; x0 < h; x0 += kSourceRowsPerTile) {
      const int x1 = std::min(x0 + kSourceRowsPerTile, h);
      for (int i0 = first; i0 < last; i0 += kRowsPerTile) {
        const int n = std::min(kRowsPerTile, last - i0);
        QRgb* rows[kRowsPerTile];
        for (int k = 0; k < n; ++k) rows[k] = dstRow(i0 + k);
        if (clockwise) {
          // Row i, left to right, is source column i read from the bottom row upward.
          for (int x = x0; x < x1; ++x) {
            const QRgb* src = srcRow(h - 1 - x) + i0;
            for (int k = 0; k < n; ++k) rows[k][x] = src[k];
          }
        } else {
          // Row i, left to right, is source column W - 1 - i read from the top row downward.
          for (int x = x0; x < x1; ++x) {
            const QRgb* src = srcRow(x) + (w - 1 - i0);
            for (int k = 0; k < n; ++k) rows[k][x] = src[-k];
          }
        }
      }
    }
  });
  Bitmap->SetImage(rotated);
}

void RotateBitmapAnyAngle(TKxDeBitmap* Bitmap, int32_t Angle, bool AdjustSize, TColor BkColor) {
  if (!Bitmap) return;
  const QImage& original = Bitmap->Image();
  const int w = original.width(), h = original.height();
  int newW = w, newH = h;
  if (AdjustSize) {
    const double radians = Angle * std::numbers::pi / 180.0;
    const double c = std::abs(std::cos(radians)), s = std::abs(std::sin(radians));
    newW = Round32(w * c + h * s);
    newH = Round32(w * s + h * c);
  }
  if (newW <= 0 || newH <= 0) {
    Bitmap->SetSize(newW, newH);
    return;
  }
  const QImage::Format format = original.isNull() ? QImage::Format_RGB32 : original.format();
  QImage result = NewImage(newW, newH, format);
  result.fill(QColor(ToQColor(ColorToRGB(BkColor)).rgb()));  // opaque
  if (!original.isNull()) {
    // Centre of the source to the origin, turn, origin to the centre of the result.
    const QTransform transform = QTransform::fromTranslate(-w / 2.0, -h / 2.0) * QTransform().rotate(Angle) *
                                 QTransform::fromTranslate(newW / 2.0, newH / 2.0);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setWorldTransform(transform);
    painter.drawImage(0, 0, original);
  }
  Bitmap->SetImage(result);
}

void Rotation90(TKxDeBitmap* Bitmap, TKxDeBitmapRotationstyle Style) {
  if (!Bitmap) return;
  switch (Style) {
    case TKxDeBitmapRotationstyle::brs0: return;
    case TKxDeBitmapRotationstyle::brs90: RotateBitmap90(Bitmap, 90); return;
    case TKxDeBitmapRotationstyle::brs270: RotateBitmap90(Bitmap, 270); return;
    case TKxDeBitmapRotationstyle::brs180: Bitmap->SetImage(Bitmap->Image().mirrored(true, true)); return;
    case TKxDeBitmapRotationstyle::brsHorMirror: Bitmap->SetImage(Bitmap->Image().mirrored(true, false)); return;
    case TKxDeBitmapRotationstyle::brsVerMirror: Bitmap->SetImage(Bitmap->Image().mirrored(false, true)); return;
  }
}

}  // namespace vorn
