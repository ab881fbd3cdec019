#pragma once
// Shared helpers of the shape-kit tests: shapes made free-standing and freed by the test,
// rendering one shape into an image, pixel probes, and XML round trips.

#include "support/TestSupport.h"

#include <vorn/shapes/VornShapes.h>

namespace vorn::test {

// A kit shape owned by the test.
template <class T>
TOwned<T> MakeShape() {
  return TOwned<T>(Create<T>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(nullptr)));
}

// World units per millimetre, for readable geometry in tests.
inline float MM(float Millimetres) { return Millimetres * CoordsPixelsPerMMConvertValue; }

// Paints one shape into a white image of W x H pixels with the world origin at (X, Y) and the
// given zoom; edges are not smoothed, so probes see pure colours.
inline QImage Render(TKxDeShapeBase* Shape, int W, int H, double Zoom = 1.0, float X = 0, float Y = 0,
                     PmekDeviceCapsInfo Caps = nullptr) {
  QImage image(W, H, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  TCanvas canvas(&image);
  Shape->Paint(&canvas, X, Y, Zoom, 0, Caps);
  return image;
}

inline void ExpectRectNear(const QRectF& A, const QRectF& B, double Tolerance = 1e-4) {
  ExpectNear(TRectF{float(A.left()), float(A.top()), float(A.right()), float(A.bottom())},
             TRectF{float(B.left()), float(B.top()), float(B.right()), float(B.bottom())}, Tolerance);
}

// True when the pixel is close to the colour (a few levels of tolerance for smoothing).
inline bool Near(QRgb Pixel, const QColor& Expected, int Tolerance = 8) {
  return std::abs(qRed(Pixel) - Expected.red()) <= Tolerance &&
         std::abs(qGreen(Pixel) - Expected.green()) <= Tolerance &&
         std::abs(qBlue(Pixel) - Expected.blue()) <= Tolerance;
}

inline QRgb At(const QImage& Image, double X, double Y) {
  return Image.pixel(static_cast<int>(std::floor(X)), static_cast<int>(std::floor(Y)));
}

inline bool IsWhite(QRgb Pixel) { return Near(Pixel, Qt::white, 2); }

// Ink against the shape's own hit test, over every Step-th pixel of an image rendered with
// Render(Shape, ..., Zoom, X, Y): a pixel that the hit test does not reach even with Margin
// world units of tolerance must be white; when CheckMissing is set, a pixel whose centre and
// surroundings (Margin around) all hit must be inked. Returns the number of offending pixels
// of each kind.
struct TInkCheck {
  int StrayInk = 0;
  int MissingInk = 0;
  int Inked = 0;
};

inline TInkCheck CheckInk(const TKxDeShapeBase* Shape, const QImage& Image, double Zoom, float X, float Y,
                          bool CheckMissing = true, float Margin = 1.5f, int Step = 3) {
  TInkCheck r;
  const float m = static_cast<float>(Margin / Zoom);
  for (int py = 0; py < Image.height(); py += Step) {
    for (int px = 0; px < Image.width(); px += Step) {
      const TPointF p{static_cast<float>((px + 0.5 - X) / Zoom), static_cast<float>((py + 0.5 - Y) / Zoom)};
      const bool ink = !IsWhite(Image.pixel(px, py));
      r.Inked += ink ? 1 : 0;
      if (ink) {
        if (!Shape->PointOnShape(p, m, false)) ++r.StrayInk;
        continue;
      }
      if (!CheckMissing || !Shape->PointOnShape(p, 0, false)) continue;
      bool solid = true;
      for (int dy = -1; dy <= 1 && solid; ++dy)
        for (int dx = -1; dx <= 1 && solid; ++dx)
          solid = Shape->PointOnShape(TPointF{p.X + dx * m, p.Y + dy * m}, 0, false);
      if (solid) ++r.MissingInk;
    }
  }
  return r;
}

// Every published value of the gadget A equals B's, descending into the style objects they hold:
// what an XML round trip must carry across.
inline void ExpectSamePublishedValues(const QMetaObject* M, const void* A, const void* B,
                                      const std::string& Path = {}) {
  for (int i = 0; i < M->propertyCount(); ++i) {
    const QMetaProperty p = M->property(i);
    const QVariant a = p.readOnGadget(A), b = p.readOnGadget(B);
    const std::string name = Path + p.name();
    if (p.metaType().flags() & QMetaType::PointerToGadget) {
      const void* x = *static_cast<const void* const*>(a.constData());
      const void* y = *static_cast<const void* const*>(b.constData());
      EXPECT_EQ(!x, !y) << name;
      if (x && y) ExpectSamePublishedValues(p.metaType().metaObject(), x, y, name + ".");
    } else {
      EXPECT_EQ(a, b) << name;
    }
  }
}

}  // namespace vorn::test
