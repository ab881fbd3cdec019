#pragma once
// Plain geometric records shared by every area: world coordinates are single-precision
// floats with y growing downwards; screen and device coordinates are integers.

#include <algorithm>
#include <array>
#include <cstdint>
#include <iosfwd>
#include <utility>
#include <vector>

namespace vorn {

struct TPointF;
struct TPoint;
using TDPointArray = std::vector<TPointF>;
using TPointArray = std::vector<TPoint>;

// The operations TRectF and TRect share, written once for both.
namespace records {

template <class R>
constexpr bool IsEmpty(const R& A) {
  return A.Right <= A.Left || A.Bottom <= A.Top;
}
template <class R, class P>
constexpr bool Contains(const R& A, const P& Pt) {
  return Pt.X >= A.Left && Pt.X < A.Right && Pt.Y >= A.Top && Pt.Y < A.Bottom;
}
template <class R>
constexpr bool Intersects(const R& A, const R& B) {
  return std::max(A.Left, B.Left) < std::min(A.Right, B.Right) && std::max(A.Top, B.Top) < std::min(A.Bottom, B.Bottom);
}
template <class R>
constexpr R Union(const R& A, const R& B) {
  return R{std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right), std::max(A.Bottom, B.Bottom)};
}
template <class R, class P>
constexpr R Union(const R& A, const P& Pt) {
  return R{std::min(A.Left, Pt.X), std::min(A.Top, Pt.Y), std::max(A.Right, Pt.X), std::max(A.Bottom, Pt.Y)};
}
template <class R, class V>
constexpr R Inflated(const R& A, V D) {
  return R{A.Left - D, A.Top - D, A.Right + D, A.Bottom + D};
}
template <class R>
constexpr R Normalized(R A) {
  if (A.Left > A.Right) std::swap(A.Left, A.Right);
  if (A.Top > A.Bottom) std::swap(A.Top, A.Bottom);
  return A;
}

}  // namespace records

// A point in world units (single precision).
struct TPointF {
  float X = 0;
  float Y = 0;

  // Millimetres to world units and back, in place (factor CoordsPixelsPerMMConvertValue).
  void MMToInternalUnits();
  void InternalUnitsToMM();
  // A copy read as millimetres and converted to inches.
  TPointF ToInch() const;

  friend bool operator==(const TPointF&, const TPointF&) = default;
  friend constexpr TPointF operator+(const TPointF& A, const TPointF& B) { return TPointF{A.X + B.X, A.Y + B.Y}; }
  friend constexpr TPointF operator-(const TPointF& A, const TPointF& B) { return TPointF{A.X - B.X, A.Y - B.Y}; }
};

// A rectangle in world units (single precision).
struct TRectF {
  float Left = 0;
  float Top = 0;
  float Right = 0;
  float Bottom = 0;
  float Width() const { return Right - Left; }
  float Height() const { return Bottom - Top; }

  // The rectangle operations below count the left and top edges in and the right and bottom
  // edges out, so that rectangles that only touch share nothing. A rectangle without width or
  // height (or turned inside out) is empty: it contains no point and meets no rectangle.
  constexpr bool IsEmpty() const { return records::IsEmpty(*this); }
  constexpr bool Contains(const TPointF& P) const { return records::Contains(*this, P); }
  constexpr bool Intersects(const TRectF& R) const { return records::Intersects(*this, R); }
  // The smallest rectangle holding this one and R (or P); an empty one takes part like any other.
  constexpr TRectF Union(const TRectF& R) const { return records::Union(*this, R); }
  constexpr TRectF Union(const TPointF& P) const { return records::Union(*this, P); }
  // Widened by D on every side (narrowed for a negative D).
  constexpr TRectF Inflated(float D) const { return records::Inflated(*this, D); }
  // Left and right, top and bottom swapped where they are reversed.
  constexpr TRectF Normalized() const { return records::Normalized(*this); }
  // The empty rectangle at P, from which unions grow.
  static constexpr TRectF At(const TPointF& P) { return TRectF{P.X, P.Y, P.X, P.Y}; }
  // The square of side Side centred on Center.
  static constexpr TRectF Square(const TPointF& Center, float Side) { return At(Center).Inflated(Side / 2); }

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

// A point in integer device pixels.
struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A rectangle in integer device pixels; it holds its left and top edges, not its right and bottom ones.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }

  // As for TRectF.
  constexpr bool IsEmpty() const { return records::IsEmpty(*this); }
  constexpr bool Contains(const TPoint& P) const { return records::Contains(*this, P); }
  constexpr bool Intersects(const TRect& R) const { return records::Intersects(*this, R); }
  constexpr TRect Union(const TRect& R) const { return records::Union(*this, R); }
  constexpr TRect Union(const TPoint& P) const { return records::Union(*this, P); }
  constexpr TRect Inflated(int32_t D) const { return records::Inflated(*this, D); }
  constexpr TRect Normalized() const { return records::Normalized(*this); }
  static constexpr TRect At(const TPoint& P) { return TRect{P.X, P.Y, P.X, P.Y}; }

  // The bounding rectangle of the points, as TRectF::Create.
  static TRect Create(const TPointArray& PtArray);
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

// GoogleTest prints records with these, so that a failed comparison shows their coordinates.
void PrintTo(const TPointF& P, std::ostream* Os);
void PrintTo(const TPoint& P, std::ostream* Os);
void PrintTo(const TRectF& R, std::ostream* Os);
void PrintTo(const TRect& R, std::ostream* Os);

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
