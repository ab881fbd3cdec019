#include "vorn/common/GradientPattern.h"

#include "vorn/common/Rounding.h"

#include <QCache>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <utility>

namespace vorn {
namespace {

QRgb Pixel(int R, int G, int B) {
  return qRgb(static_cast<uint8_t>(R), static_cast<uint8_t>(G), static_cast<uint8_t>(B));
}

struct TRgb {
  int R, G, B;
};

TRgb Split(TColor C) { return {GetRValue(C), GetGValue(C), GetBValue(C)}; }

// c + n * d / div per component, truncating, as a byte.
QRgb Step(const TRgb& C, const TRgb& D, int N, int Div, int Sign = 1) {
  return Pixel(C.R + Sign * (N * D.R / Div), C.G + Sign * (N * D.G / Div), C.B + Sign * (N * D.B / Div));
}

// Rounded distances for the radial styles: round(sqrt(a^2 + b^2)) for a, b in 0..180, looked up
// in a table made once (the largest, 255, still fits a byte).
int Distance(int A, int B) {
  static const auto table = [] {
    std::array<uint8_t, 181 * 181> d{};
    for (int a = 0; a <= 180; ++a)
      for (int b = 0; b <= 180; ++b)
        d[static_cast<size_t>(a * 181 + b)] =
            static_cast<uint8_t>(Round(std::sqrt(static_cast<double>(a * a + b * b))));
    return d;
  }();
  return table[static_cast<size_t>(A * 181 + B)];
}

// Mirrors a coordinate of a 362-pixel side onto 0..180, the centre lying between 180 and 181.
int Fold(int V) { return V <= 180 ? V : 361 - V; }

template <class F>
QImage Fill(int W, int H, const TKxDeGradientRamp& Ramp, F IndexOf) {
  QImage img(W, H, QImage::Format_RGB32);
  for (int y = 0; y < H; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < W; ++x) line[x] = Ramp[static_cast<size_t>(std::clamp(IndexOf(x, y), 0, 255))];
  }
  return img;
}

}  // namespace

int32_t MulDiv(int32_t A, int32_t B, int32_t C) {
  if (C == 0) return 0;
  return static_cast<int32_t>(Round(static_cast<double>(static_cast<int64_t>(A) * B) / C));
}

TKxDeGradientRamp GradientRamp(TColor C1, TColor C2, int32_t Shift, int32_t Rotation) {
  TRgb a = Split(C1), b = Split(C2);
  if (Shift > 0) {
    a = {a.R + MulDiv(b.R - a.R, Shift, 100), a.G + MulDiv(b.G - a.G, Shift, 100), a.B + MulDiv(b.B - a.B, Shift, 100)};
  } else if (Shift < 0) {
    b = {b.R + MulDiv(b.R - a.R, Shift, 100), b.G + MulDiv(b.G - a.G, Shift, 100), b.B + MulDiv(b.B - a.B, Shift, 100)};
  }
  const TRgb d{b.R - a.R, b.G - a.G, b.B - a.B};
  TKxDeGradientRamp ramp{};
  const int p = MulDiv(255, Rotation, 100);
  if (p == 0) {
    for (int i = 0; i < 256; ++i) ramp[static_cast<size_t>(i)] = Step(a, d, i, 255);
  } else if (p > 0) {
    // Rises from the start colour to the end colour at k, then falls back.
    const int k = 255 - p;
    for (int i = 0; i < k; ++i) ramp[static_cast<size_t>(i)] = Step(a, d, i, k);
    for (int i = k; i < 256; ++i) ramp[static_cast<size_t>(i)] = Step(a, d, 255 - i, p);
  } else {
    // Falls from the end colour to the start colour at k, then rises back.
    const int k = -p;
    for (int i = 0; i <= k; ++i) ramp[static_cast<size_t>(i)] = Step(b, d, i, k, -1);
    for (int i = k + 1; i < 256; ++i) ramp[static_cast<size_t>(i)] = Step(b, d, 255 - i, 255 - k, -1);
  }
  return ramp;
}

QImage GradientPatternImage(TKxDeShapeGradientStyle Style, const TKxDeGradientRamp& Ramp, TColor C1, TColor C2) {
  using S = TKxDeShapeGradientStyle;
  switch (Style) {
    case S::kxdgsNone: {
      QImage img(2, 2, QImage::Format_RGB32);
      const QRgb a = Pixel(GetRValue(C1), GetGValue(C1), GetBValue(C1));
      const QRgb b = Pixel(GetRValue(C2), GetGValue(C2), GetBValue(C2));
      img.setPixel(0, 0, a);
      img.setPixel(1, 1, a);
      img.setPixel(0, 1, b);
      img.setPixel(1, 0, b);
      return img;
    }
    case S::kxdgsRadialC:
      return Fill(362, 362, Ramp, [](int x, int y) { return Distance(180 - Fold(x), 180 - Fold(y)); });
    case S::kxdgsRadialT:
      return Fill(362, 181, Ramp, [](int x, int y) { return Distance(180 - Fold(x), y); });
    case S::kxdgsRadialB:
      return Fill(362, 181, Ramp, [](int x, int y) { return Distance(180 - Fold(x), 180 - y); });
    case S::kxdgsRadialL:
      return Fill(181, 362, Ramp, [](int x, int y) { return Distance(x, 180 - Fold(y)); });
    case S::kxdgsRadialR:
      return Fill(181, 362, Ramp, [](int x, int y) { return Distance(180 - x, 180 - Fold(y)); });
    case S::kxdgsRadialTL:
      return Fill(181, 181, Ramp, [](int x, int y) { return Distance(x, y); });
    case S::kxdgsRadialTR:
      return Fill(181, 181, Ramp, [](int x, int y) { return Distance(180 - x, y); });
    case S::kxdgsRadialBL:
      return Fill(181, 181, Ramp, [](int x, int y) { return Distance(x, 180 - y); });
    case S::kxdgsRadialBR:
      return Fill(181, 181, Ramp, [](int x, int y) { return Distance(180 - x, 180 - y); });
    case S::kxdgsLinearH:
      return Fill(256, 1, Ramp, [](int x, int) { return x; });
    case S::kxdgsLinearV:
      return Fill(1, 256, Ramp, [](int, int y) { return y; });
    case S::kxdgsReflectedH:
      return Fill(1, 512, Ramp, [](int, int y) { return y < 256 ? 255 - y : y - 256; });
    case S::kxdgsReflectedV:
      return Fill(512, 1, Ramp, [](int x, int) { return x < 256 ? 255 - x : x - 256; });
    case S::kxdgsDiagonalLF:
      return Fill(128, 129, Ramp, [](int x, int y) { return x + y; });
    case S::kxdgsDiagonalLB:
      return Fill(128, 129, Ramp, [](int x, int y) { return y - x + 127; });
    case S::kxdgsDiagonalRF:
      return Fill(256, 256, Ramp, [](int x, int y) { return x + y < 255 ? 255 - (x + y) : x + y - 255; });
    case S::kxdgsDiagonalRB:
      return Fill(256, 256, Ramp, [](int x, int y) { return y < x ? x - y : y - x; });
    case S::kxdgsArrowL:
      return Fill(129, 256, Ramp, [](int x, int y) { return y < 128 ? 255 - (x + y) : y - x; });
    case S::kxdgsArrowR:
      return Fill(129, 256, Ramp, [](int x, int y) { return y < 128 ? x - y + 127 : x + y - 128; });
    case S::kxdgsArrowU:
      return Fill(256, 129, Ramp, [](int x, int y) { return x < 128 ? 255 - (x + y) : x - y; });
    case S::kxdgsArrowD:
      return Fill(256, 129, Ramp, [](int x, int y) { return x < 128 ? y - x + 127 : x + y - 128; });
    case S::kxdgsDiamond:
      return Fill(256, 256, Ramp, [](int x, int y) {
        if (y < 128) return x < 128 ? 255 - (x + y) : x - y;
        return x < 128 ? y - x : x + y - 255;
      });
    case S::kxdgsButterfly:
      return Fill(256, 256, Ramp, [](int x, int y) {
        if (y < 128) return x < 128 ? x - y + 128 : 383 - (x + y);
        return x < 128 ? x + y - 128 : y - x + 128;
      });
  }
  return {};
}

namespace {

// What decides the pixels: the resolved end colours in painting order, the style and the ramp shape.
struct TPatternKey {
  TColor C1, C2;
  TKxDeShapeGradientStyle Style;
  int32_t Shift, Rotation;
  friend bool operator==(const TPatternKey&, const TPatternKey&) = default;
};

size_t qHash(const TPatternKey& K, size_t Seed = 0) {
  return qHashMulti(Seed, K.C1, K.C2, static_cast<int>(K.Style), K.Shift, K.Rotation);
}

TPatternKey KeyOf(const TKxDeGradientPatternParams& Params) {
  TPatternKey k{};
  if (Params.Invisible) {
    k.C1 = 0xC0C0C0;
    k.C2 = 0xFFFFFF;
  } else {
    k.C1 = ColorToRGB(Params.ColorBegin);
    k.C2 = ColorToRGB(Params.ColorEnd);
  }
  if (Params.Reverse) std::swap(k.C1, k.C2);
  k.Style = Params.Style;
  k.Shift = Params.Shift;
  k.Rotation = Params.Rotation;
  return k;
}

QImage Build(const TPatternKey& K) {
  return GradientPatternImage(K.Style, GradientRamp(K.C1, K.C2, K.Shift, K.Rotation), K.C1, K.C2);
}

}  // namespace

QImage BuildGradientPattern(const TKxDeGradientPatternParams& Params) { return Build(KeyOf(Params)); }

TKxDeGradientColors GradientColors(const TKxDeGradientPatternParams& Params) {
  const TPatternKey k = KeyOf(Params);
  return TKxDeGradientColors{k.C1, k.C2, GradientRamp(k.C1, k.C2, k.Shift, k.Rotation)};
}

QImage GradientPattern(const TKxDeGradientPatternParams& Params) {
  // Costs are counted in KiB so that the budget fits the cache's counter on every platform.
  static QCache<TPatternKey, QImage> cache(GradientPatternCacheBytes >> 10);
  static std::mutex mutex;
  const TPatternKey key = KeyOf(Params);
  {
    const std::lock_guard lock(mutex);
    if (const QImage* hit = cache.object(key)) return *hit;
  }
  QImage image = Build(key);
  const std::lock_guard lock(mutex);
  cache.insert(key, new QImage(image), std::max<qsizetype>(1, image.sizeInBytes() >> 10));
  return image;
}

}  // namespace vorn
