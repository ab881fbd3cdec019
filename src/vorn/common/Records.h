#pragma once
// Plain geometric records shared by every area: world coordinates are single-precision
// floats with y growing downwards; screen and device coordinates are integers.

#include <array>
#include <cstdint>
#include <vector>

namespace vorn {

struct TPointF;
struct TPoint;
using TDPointArray = std::vector<TPointF>;
using TPointArray = std::vector<TPoint>;

struct TPointF {
  float X = 0;
  float Y = 0;

  // Millimetres to world units and back, in place (factor CoordsPixelsPerMMConvertValue).
  void MMToInternalUnits();
  void InternalUnitsToMM();
  // A copy read as millimetres and converted to inches.
  TPointF ToInch() const;

  friend bool operator==(const TPointF&, const TPointF&) = default;
};

struct TRectF {
  float Left = 0;
  float Top = 0;
  float Right = 0;
  float Bottom = 0;
  float Width() const { return Right - Left; }
  float Height() const { return Bottom - Top; }

  // The bounding rectangle of the points; one point gives an empty rectangle at that point and
  // an empty array the all-zero rectangle.
  static TRectF Create(const TDPointArray& PtArray);
  // The four corners (Left, Top), (Right, Top), (Right, Bottom), (Left, Bottom).
  void RectToArray(TDPointArray& PtArray) const;
  // Multiplies all four coordinates by Zoom, in place.
  void Zoom(float Zoom);
  // Millimetres to world units and back, in place.
  void MMToInternalUnits();
  void InternalUnitsToMM();
  // A copy read as millimetres and converted to inches.
  TRectF RectToInch() const;

  friend bool operator==(const TRectF&, const TRectF&) = default;
};

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }

  // The four corners (Left, Top), (Right, Top), (Right, Bottom), (Left, Bottom).
  void RectToArray(TPointArray& PtArray) const;
  void RectToArray(std::array<TPoint, 4>& PtArray) const;

  friend bool operator==(const TRect&, const TRect&) = default;
};

// A segment between two world points.
struct TLine {
  TPointF P1;
  TPointF P2;
  friend bool operator==(const TLine&, const TLine&) = default;
};

inline TPointF PointF(float X, float Y) { return TPointF{X, Y}; }
inline TRectF RectF(float Left, float Top, float Right, float Bottom) { return TRectF{Left, Top, Right, Bottom}; }

// A box given by a corner and a size, made positive: a negative size keeps the given edge as the
// far one, horizontally and vertically alike.
inline void NormalizeBounds(float& Left, float& Top, float& Width, float& Height) {
  if (Width < 0) {
    Width = -Width;
    Left -= Width;
  }
  if (Height < 0) {
    Height = -Height;
    Top -= Height;
  }
}

}  // namespace vorn
