#pragma once
// TKxDeUtils: the geometric and unit helpers of the engine (rotation, bounds, hit-test
// primitives, intersections, polyline simplification, rounding, unit conversions and small
// encoders). Everything is a static member; the class is never instantiated.
//
// Conventions shared by every member:
// - Angles are degrees. A rotation by Angle uses a = -Angle * PiRadian; since the y axis grows
//   downwards, a positive angle turns counter-clockwise as seen on screen.
// - The rotation formula about (Cx, Cy):
//     X' = (X - Cx) cos a - (Y - Cy) sin a + Cx
//     Y' = (X - Cx) sin a + (Y - Cy) cos a + Cy
// - "Round to nearest" is ties-to-even (vorn::Round) unless a member says otherwise; the
//   Round(D, Result) overloads of this class are Floor-based (see there).
// - Rectangles contain a point half-open: Left <= X < Right and Top <= Y < Bottom.
// - Conversions to integers saturate at the limits of the target type (NaN gives 0) rather than
//   overflowing.

#include "vorn/common/Consts.h"
#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Graphics.h"
#include "vorn/common/Records.h"

#include <QTransform>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorn {

// A 16.16 fixed-point number laid out like the TrueType FIXED record (fraction first, then the
// signed integer part), so a little-endian image of it is the same 32 bits as the raw value.
// Raw() and FromRaw() give the plain signed 32-bit form that FreeType and most C++ code use.
struct TFixed {
  uint16_t fract = 0;
  int16_t value = 0;

  constexpr int32_t Raw() const {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(value)) << 16 | fract);
  }
  static constexpr TFixed FromRaw(int32_t Raw) {
    const uint32_t u = static_cast<uint32_t>(Raw);
    return TFixed{static_cast<uint16_t>(u & 0xFFFFu), static_cast<int16_t>(static_cast<uint16_t>(u >> 16))};
  }
  friend constexpr bool operator==(const TFixed&, const TFixed&) = default;
};

class TPicture;

class TKxDeUtils {
 public:
  TKxDeUtils() = delete;

  // ---- Rotation and bounds ------------------------------------------------------------------

  // APoint itself (bit for bit) when Angle is 0; otherwise the rotation formula with a, X - Cx and
  // Y - Cy each rounded to float before use.
  static TPointF RotatePoint(const TPointF& APoint, float Angle, const TPointF& RotationPoint);
  // RotatePoint, then X and Y exchanged when 90 <= Angle < 180 or 270 <= Angle < 360 (the
  // screen axes of a quarter-turned view are the world's axes exchanged). Pt itself for Angle 0.
  static TPointF RotatePointToScreen(const TPointF& Pt, float Angle, const TPointF& RotationPoint);
  // Every point through the rotation formula with cos a and sin a computed once. Result gets the
  // input's length; integer results are rounded to nearest. Result may be Pts itself.
  static void RotatePolygon(const TDPointArray& Pts, float Angle, const TPointF& RotationCenter, TDPointArray& Result);
  static void RotatePolygon(const TPointArray& Pts, float Angle, const TPointF& RotationCenter, TDPointArray& Result);
  static void RotatePolygon(const TPointArray& Pts, float Angle, const TPointF& RotationCenter, TPointArray& Result);
  // Rotates only the corners (Left, Top) and (Right, Bottom), with cos a and sin a rounded to
  // float, then orders the result so that Left <= Right and Top <= Bottom. This is not the
  // bounding box of the rotated rectangle (see RotateRect2): a square turned by 45 degrees
  // about its centre gives a rectangle of zero height.
  static TRectF RotateRect(const TRectF& R, float Angle, const TPointF& RotationPoint);
  static TRectF RotateRect(const TRectF& R, float Angle, TKxDeRotationCenter RotationPoint);
  // About the centre of R.
  static TRectF RotateRect(const TRectF& R, float Angle);
  // The bounding rectangle of all four rotated corners.
  static TRectF RotateRect2(const TRectF& R, float Angle, const TPointF& RotationPoint);
  // R itself for Angle 0, otherwise RotateRect2.
  static TRectF RotateRectToScreen(const TRectF& R, float Angle, const TPointF& RotationPoint);
  // (Left, Bottom) for kxdroPtBottomLeft, (Right, Bottom) for kxdroPtBottomRight, the centre for
  // kxdroPtGravity and kxdroRefPoint (a caller with a reference point substitutes its own).
  static TPointF RotationPt(const TRectF& R, TKxDeRotationCenter RotationCenter);
  static TPointF RotationPt(const TRect& R, TKxDeRotationCenter RotationCenter);
  // Width and height of the bounding box of a Width x Height rectangle rotated about its centre.
  static void RotatedSize(float Width, float Height, float Angle, TPointF& Result);
  // The same for integer sizes; each extent is rounded with the Floor-based Round below.
  static void RotatedSize(int32_t Width, int32_t Height, float Angle, TPoint& Result);
  // 0 <= a < 90: kxsrNorthEast; 90 <= a < 180: kxsrNorthWest; 180 <= a < 270: kxsrSouthWest;
  // anything else (including negative angles and a >= 270): kxsrSouthEast.
  static TKxDeSizeRotation Quadrant(float ARotation);
  // Direction of the vector Pt in degrees, counter-clockwise as seen on screen, in [0, 360):
  // (1, 0) is 0, (0, -1) is 90, (-1, 0) is 180, (0, 1) is 270. The zero vector gives 0.
  static float AngleOfPoint(const TPointF& Pt);
  // AngleOfPoint(Pt2 - Pt1).
  static float AngleOfPoints(const TPointF& Pt1, const TPointF& Pt2);
  // The point at Distance from P in the direction Angle: (P.X + cos a * Distance, P.Y + sin a *
  // Distance); exactly (P.X + Distance, P.Y) for Angle 0.
  static TPointF PointOnLine(const TPointF& P, float Angle, float Distance);
  // One point per whole degree from the start to the end angle (both rounded to whole degrees,
  // reduced modulo 360 with positive multiples of 360 kept as 360, ordered ascending; equal
  // angles mean the full ellipse 0..360). Point k - S is (Center.X + cos k * XRadius,
  // Center.Y - sin k * YRadius): counter-clockwise on screen.
  static TDPointArray GetEllipsePoints(const TPointF& Center, float XRadius, float YRadius, float StartAngle,
                                       float EndAngle);

  // ---- Hit-test primitives ------------------------------------------------------------------

  // Whether P lies within Fuzz of the segment P1-P2, measured along one axis (the vertical
  // offset for flat segments, the horizontal one for steep segments, against the line's
  // coordinate rounded to a whole unit). The segment's ends are not extended by Fuzz. A negative
  // Fuzz counts as 0.
  static bool NearLine(const TPointF& P, const TPointF& P1, const TPointF& P2, float Fuzz);
  // Even-odd rule; a point on a left edge is inside, on a right edge outside. Empty: false.
  static bool PtInPolygon(const TDPointArray& Pts, const TPointF& P);
  // Whether P is inside or on the ellipse inscribed in R. False when R has no width or height.
  static bool PtInEllipse(const TPointF& P, const TRectF& R);
  // The line through PointA and PointB: kxloPoint for equal points (Slope = Intercept = 0);
  // kxloHorizontal when it is at most 45 degrees steep (y = Slope * x + Intercept); otherwise
  // kxloVertical (x = Slope * y + Intercept).
  static void CalcLineParameters(const TPointF& PointA, const TPointF& PointB, double& Slope, double& Intercept,
                                 TKxDeLineOrientation& LineOrientation);
  // Whether the segments P1-P2 and P3-P4 cross (touching ends count); POut is the crossing, or
  // (0, 0) when there is none. Parallel and collinear segments never cross.
  static bool DoLinesIntersect(const TPointF& P1, const TPointF& P2, const TPointF& P3, const TPointF& P4,
                               TPointF& POut);
  // Whether the segment P1-P2 touches R: false for a single-point R, true when R contains an end
  // (half-open), otherwise whether the segment crosses an edge (only the one edge a flat R
  // collapses to).
  static bool DoLineIntersectRect(const TPointF& P1, const TPointF& P2, const TRectF& R);
  // Intersection of the infinite lines through the two segments. A vertical line is treated as
  // having the slope 1e100 (and the intercept -1e100 * X, so two vertical lines are the same
  // line exactly when their X is). Different slopes: true with the crossing in pIntersect.
  // The same line: true when an end of one segment lies within the other's extent, pIntersect
  // stays (0, 0). Parallel lines: false, pIntersect (0, 0).
  static bool LineIntersect(const TLine& Line1, const TLine& Line2, TPointF& pIntersect);
  static TLine Line(const TPointF& aP1, const TPointF& aP2);
  static bool EqualPoint(const TPointF& P1, const TPointF& P2);
  // PointA - PointB.
  static TPointF SubtractPoints(const TPointF& PointA, const TPointF& PointB);

  // ---- Polyline simplification ---------------------------------------------------------------

  // Douglas-Peucker: keeps the first and last points and every point that lies farther than
  // Tolerance from the chord of its stretch (distance to the chord's nearest point, whose foot is
  // rounded to whole units). Simple receives the kept points in input order; returns their
  // number. Fewer than two points give 0 and an empty Simple.
  static int32_t PolySimplifyInt2D(double Tolerance, const TPointArray& Original, TPointArray& Simple);
  // The worker: marks in Marker the points between j and k (exclusive) that must stay, for the
  // squared tolerance Tol2. Marker must have Orig's length; indexes outside the arrays are ignored.
  static void SimplifyInt2D(double Tol2, const TPointArray& Orig, std::vector<bool>& Marker, std::ptrdiff_t j,
                            std::ptrdiff_t k);
  static TPoint VecMinInt2D(const TPoint& A, const TPoint& B);
  static double DotProdInt2D(const TPoint& A, const TPoint& B);
  static double NormSquaredInt2D(const TPoint& A);
  static double DistSquaredInt2D(const TPoint& A, const TPoint& B);
  static double DistanceInt2D(const TPoint& A, const TPoint& B);

  // ---- Rounding and rectangles ---------------------------------------------------------------

  // Floor(D), plus 1 when the absolute fraction of D (D - Trunc(D)) is at least 0.5. For
  // non-negative D this is rounding with halves up (2.5 -> 3). Negative arguments follow the
  // same formula (-1.3 -> -2, -1.5 -> -1, -1.7 -> -1): the engine only rounds non-negative
  // values here (sizes, font points), and one formula for every sign keeps the rule exact to state.
  static void Round(float D, int32_t& Result);
#if INTPTR_MAX != INT32_MAX
  static void Round(float D, intptr_t& Result);
#endif
  // The ceiling: Floor(D), plus 1 when D has a fractional part.
  static int64_t IntRound(double D);
  // Coordinates rounded to nearest (ties to even).
  static TPoint Point(const TPointF& P);
  static TRect Rect(const TRectF& R);
  // Exact conversions.
  static TPointF Point(int32_t AX, int32_t AY);
  static TRectF Rect(const TRect& R);
  // Bounding rectangle of the points (one point: an empty rectangle there; none: all zero).
  static TRect Rect(const TPointArray& PtArray);
  // Each coordinate floored.
  static TRect RectFloorRound(const TRectF& R);
  // Width and height both at most 0.011 (negative sizes count as empty).
  static bool RectIsNearEmpty(const TRectF& R);
  // Each coordinate rounded to a multiple of 10^ADigit (ADigit -2 keeps two decimals, 3 rounds
  // to thousands), ties to even. ADigit is clamped to -37..37.
  static TPointF RoundTo(const TPointF& APt, int32_t ADigit);
  // (Trunc(x) mod MaxInteger) + Frac(x): the remainder takes the sign of x. A zero MaxInteger
  // raises vorn::Exception.
  static float RealMod(float x, int32_t MaxInteger);
  static void ZoomPoint(TPointF& P, float Zoom);
  // A copy with (X, Y) added to every point.
  static TDPointArray OffsetPoints(const TDPointArray& Ps, float X, float Y);
  // Rounded (ties to even) and exact copies.
  static TPointArray DoublesToPoints(const TDPointArray& Ps);
  static TDPointArray PointsToDoubles(const TPointArray& Ps);
  static TPointF EmptyPoint();
  static void Swap(float& A, float& B);
  static void Swap(double& A, double& B);
  static void Swap(int32_t& A, int32_t& B);
#if INTPTR_MAX != INT32_MAX
  static void Swap(intptr_t& A, intptr_t& B);
#endif
  // Exchanges X and Y of one point.
  static void Swap(TPointF& P);

  // ---- Units and encodings -------------------------------------------------------------------

  // Millimetres to world units (x CoordsPixelsPerMMConvertValue) and back.
  static TPointF MMToInternalUnits(const TPointF& P);
  static TRectF MMToInternalUnits(const TRectF& R);
  static TPointF InternalUnitsToMM(const TPointF& P);
  static TRectF InternalUnitsToMM(const TRectF& R);
  // Millimetres to font points at ScreenPixelsPerInch, rounded with the Floor-based Round.
  static int32_t MMToFontPoints(float Value);
  static float FontPointsToMM(int32_t Value);
  // 16.16 fixed point to floating point and back (rounded to nearest, ties to even, saturated to
  // the fixed-point range). The raw-integer overload serves FreeType's 16.16 values.
  static double FixToFloat(TFixed F);
  static double FixToFloat(int32_t RawFixed);
  static TFixed FloatToFixed(double D);
  // bold = 1, italic = 2, underline = 4, strike-out = 8; other bits are ignored.
  static int32_t FontStyleToInteger(TFontStyles FontStyles);
  static TFontStyles IntegerToFontStyle(int32_t AValue);
  // Shift, Alt and Ctrl between the framework's shift state and the engine's keys; mouse-button
  // and other members are dropped.
  // The transparency a freshly loaded picture gets: 1- and 8-bit bitmaps opaque, every other
  // graphic transparent; nothing for a null picture.
  static void SetTransparency(TPicture* APicture);

  static TKxDeShiftKeys ShiftToScShift(TShiftState Shift);
  static TShiftState ScShiftToShift(TKxDeShiftKeys Shift);
  // The first Size bytes of the set image at aSet as a little-endian integer. Size 5 or more
  // raises vorn::Exception (rsSetSizeOverflow); Size 0 or less gives 0.
  static int32_t SetToInt(const void* aSet, int32_t Size);
  // Writes the low Size bytes of Value into aSet (the other bytes of aSet are untouched). Size 5
  // or more raises like SetToInt: there are only four bytes to copy.
  static void IntToSet(int32_t Value, void* aSet, int32_t Size);
  // The same over a TSet, whose image is its 32-bit mask of ordinals.
  template <SetElement E>
  static int32_t SetToInt(TSet<E> aSet, int32_t Size) {
    const std::array<uint8_t, 4> bytes = MaskBytes(aSet.ToInt());
    return SetToInt(static_cast<const void*>(bytes.data()), Size);
  }
  template <SetElement E>
  static void IntToSet(int32_t Value, TSet<E>& aSet, int32_t Size) {
    std::array<uint8_t, 4> bytes = MaskBytes(aSet.ToInt());
    IntToSet(Value, static_cast<void*>(bytes.data()), Size);
    aSet = TSet<E>::FromInt(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                            static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
  }
  // Scales the linear part of the transform: m11 and m12 by ScaleX, m21 and m22 by ScaleY; the
  // translation (dx by ScaleX, dy by ScaleY) only when DoTranslation.
  static void Scale(QTransform& xMtrx, double ScaleX, double ScaleY, bool DoTranslation);
  // A new 32-bit identifier mixed from a freshly generated 128-bit UUID.
  static uint32_t GenerateGlobalUniqueID();
  // The mixing of GenerateGlobalUniqueID over the UUID's four little-endian words: eight
  // add-and-shift rounds with 32-bit wrap-around; the result is the final d. Step 7 takes d, not
  // c, into its shift (c ^= d >> 15). That is deliberate and part of the identifier scheme: the
  // same four words must always give the same identifier, so do not "correct" it.
  static uint32_t MixGuidWords(uint32_t a, uint32_t b, uint32_t c, uint32_t d);

  // The shortest distance (in whole units, DistanceInt2D) from the midpoint of LinePtA-LinePtB,
  // along the infinite line through them, to the lines of LimitRect's top, bottom, left and
  // right edges: the half-length of the longest segment centred there that the edge lines allow.
  // Edge lines parallel to the line are skipped. Returns true when the line meets any edge line
  // (the top edge counts like the others); MaxLength is 0 when the result is false, including
  // for a rectangle without width or height.
  static bool MaxSymmetricLengthInRect(const TPointF& LinePtA, const TPointF& LinePtB, const TRectF& LimitRect,
                                       float& MaxLength);

 private:
  // The little-endian image of a set mask, as the set would lie in memory.
  static constexpr std::array<uint8_t, 4> MaskBytes(uint32_t Mask) {
    return {static_cast<uint8_t>(Mask), static_cast<uint8_t>(Mask >> 8), static_cast<uint8_t>(Mask >> 16),
            static_cast<uint8_t>(Mask >> 24)};
  }
};

}  // namespace vorn
