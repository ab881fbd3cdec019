#include "vorn/raster/BitmapRotation.h"

#include "vorn/common/ImageRotation_p.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <vector>

namespace vorn {
namespace {

// Destination rows are handed out in strips: each task owns whole rows. Inside a strip the
// copy goes tile by tile (a few dozen source rows against a few destination rows), so both sides
// stay in cache and in the address-translation buffer instead of walking a whole column at once.
constexpr int kRowsPerTask = 256;
constexpr int kSourceRowsPerTile = 64;
constexpr int kRowsPerTile = 16;

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
  const QSize size = AdjustSize ? TurnedImageSize(original.size(), Angle) : original.size();
  if (size.width() <= 0 || size.height() <= 0) {
    Bitmap->SetSize(size.width(), size.height());
    return;
  }
  Bitmap->SetImage(TurnImage(original, Angle, AdjustSize, BkColor));
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
