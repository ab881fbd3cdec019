#include "vorn/common/KxDeUtils.h"

#include "vorn/common/KxDePicture.h"

#include "vorn/common/Exceptions.h"
#include "vorn/common/ResStrs.h"
#include "vorn/common/Units.h"

#include <QTransform>
#include <QUuid>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace vorn {
namespace {

// Conversions to integers saturate instead of overflowing (a float coordinate can exceed any
// integer type); NaN becomes 0.
int64_t SaturateInt64(double V) {
  if (std::isnan(V)) return 0;
  if (V >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
  if (V < -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(V);
}

int32_t SaturateInt32(double V) {
  if (std::isnan(V)) return 0;
  if (V >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (V <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(V);
}

// Nearest integer, ties to even, saturated.
int32_t RoundNearest32(double V) { return SaturateInt32(std::nearbyint(V)); }

// The Floor-based rounding of TKxDeUtils::Round: Floor(D) + 1 when |D - Trunc(D)| >= 0.5.
double FloorRound(double D) {
  double r = std::floor(D);
  if (std::fabs(D - std::trunc(D)) >= 0.5) r += 1.0;
  return r;
}

// Degrees to the rotation angle a of the rotation formula.
double RotationRadians(float Angle) { return -static_cast<double>(Angle) * PiRadian; }

// The infinite line through a segment as y = M x + B; a vertical line gets the slope 1e100 and
// the intercept -1e100 * X, the limit of a steeper and steeper line through the same X.
struct TSlopeIntercept {
  double M;
  double B;
};

constexpr double kVerticalSlope = 1e100;

TSlopeIntercept ReduceLine(const TLine& L) {
  const double dx = static_cast<double>(L.P2.X) - L.P1.X;
  const double dy = static_cast<double>(L.P2.Y) - L.P1.Y;
  if (dx == 0) return {kVerticalSlope, -kVerticalSlope * L.P1.X};
  const double m = dy / dx;
  return {m, L.P1.Y - m * L.P1.X};
}

bool WithinExtent(const TPointF& P, const TLine& L) {
  return std::min(L.P1.X, L.P2.X) <= P.X && P.X <= std::max(L.P1.X, L.P2.X) && std::min(L.P1.Y, L.P2.Y) <= P.Y &&
         P.Y <= std::max(L.P1.Y, L.P2.Y);
}

// The rotation formula over a whole array, cos a and sin a computed once. Each point is read
// before its slot is written, so Result may be the input array itself.
template <class In, class Out, class Store>
void RotateArray(const std::vector<In>& Pts, float Angle, const TPointF& C, std::vector<Out>& Result, Store store) {
  const double a = RotationRadians(Angle);
  const double c = std::cos(a);
  const double s = std::sin(a);
  const std::size_t n = Pts.size();
  Result.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double dx = static_cast<double>(Pts[i].X) - C.X;
    const double dy = static_cast<double>(Pts[i].Y) - C.Y;
    Result[i] = store(dx * c - dy * s + C.X, dx * s + dy * c + C.Y);
  }
}

TPointF StoreF(double X, double Y) { return TPointF{static_cast<float>(X), static_cast<float>(Y)}; }
TPoint StoreI(double X, double Y) { return TPoint{RoundNearest32(X), RoundNearest32(Y)}; }

// Extents of the corners of a Width x Height rectangle rotated about its centre.
TPointF RotatedExtents(const TDPointArray& Rotated) {
  const TRectF b = TRectF::Create(Rotated);
  return TPointF{b.Right - b.Left, b.Bottom - b.Top};
}

}  // namespace

// ---- Rotation and bounds --------------------------------------------------------------------

TPointF TKxDeUtils::RotatePoint(const TPointF& APoint, float Angle, const TPointF& RotationPoint) {
  if (Angle == 0) return APoint;
  // The angle and both offsets are held as floats before the formula uses them, so results
  // match across callers that pass the same float inputs.
  const float a = static_cast<float>(RotationRadians(Angle));
  const float dx = APoint.X - RotationPoint.X;
  const float dy = APoint.Y - RotationPoint.Y;
  const double c = std::cos(static_cast<double>(a));
  const double s = std::sin(static_cast<double>(a));
  return StoreF(dx * c - dy * s + RotationPoint.X, dx * s + dy * c + RotationPoint.Y);
}

TPointF TKxDeUtils::RotatePointToScreen(const TPointF& Pt, float Angle, const TPointF& RotationPoint) {
  if (Angle == 0) return Pt;
  TPointF r = RotatePoint(Pt, Angle, RotationPoint);
  if ((Angle >= 90 && Angle < 180) || (Angle >= 270 && Angle < 360)) Swap(r);
  return r;
}

void TKxDeUtils::RotatePolygon(const TDPointArray& Pts, float Angle, const TPointF& RotationCenter,
                               TDPointArray& Result) {
  RotateArray(Pts, Angle, RotationCenter, Result, StoreF);
}

void TKxDeUtils::RotatePolygon(const TPointArray& Pts, float Angle, const TPointF& RotationCenter,
                               TDPointArray& Result) {
  RotateArray(Pts, Angle, RotationCenter, Result, StoreF);
}

void TKxDeUtils::RotatePolygon(const TPointArray& Pts, float Angle, const TPointF& RotationCenter,
                               TPointArray& Result) {
  RotateArray(Pts, Angle, RotationCenter, Result, StoreI);
}

TRectF TKxDeUtils::RotateRect(const TRectF& R, float Angle, const TPointF& RotationPoint) {
  const double a = RotationRadians(Angle);
  const float c = static_cast<float>(std::cos(a));
  const float s = static_cast<float>(std::sin(a));
  auto rotate = [&](float X, float Y) {
    const double dx = static_cast<double>(X) - RotationPoint.X;
    const double dy = static_cast<double>(Y) - RotationPoint.Y;
    return StoreF(dx * c - dy * s + RotationPoint.X, dx * s + dy * c + RotationPoint.Y);
  };
  const TPointF tl = rotate(R.Left, R.Top);
  const TPointF br = rotate(R.Right, R.Bottom);
  return TRectF{std::min(tl.X, br.X), std::min(tl.Y, br.Y), std::max(tl.X, br.X), std::max(tl.Y, br.Y)};
}

TRectF TKxDeUtils::RotateRect(const TRectF& R, float Angle, TKxDeRotationCenter RotationPoint) {
  return RotateRect(R, Angle, RotationPt(R, RotationPoint));
}

TRectF TKxDeUtils::RotateRect(const TRectF& R, float Angle) {
  return RotateRect(R, Angle, TKxDeRotationCenter::kxdroPtGravity);
}

TRectF TKxDeUtils::RotateRect2(const TRectF& R, float Angle, const TPointF& RotationPoint) {
  TDPointArray corners;
  R.RectToArray(corners);
  RotatePolygon(corners, Angle, RotationPoint, corners);
  return TRectF::Create(corners);
}

TRectF TKxDeUtils::RotateRectToScreen(const TRectF& R, float Angle, const TPointF& RotationPoint) {
  if (Angle == 0) return R;
  return RotateRect2(R, Angle, RotationPoint);
}

TPointF TKxDeUtils::RotationPt(const TRectF& R, TKxDeRotationCenter RotationCenter) {
  switch (RotationCenter) {
    case TKxDeRotationCenter::kxdroPtBottomLeft: return TPointF{R.Left, R.Bottom};
    case TKxDeRotationCenter::kxdroPtBottomRight: return TPointF{R.Right, R.Bottom};
    case TKxDeRotationCenter::kxdroPtGravity:
    case TKxDeRotationCenter::kxdroRefPoint: break;
  }
  return TPointF{(R.Right - R.Left) / 2 + R.Left, (R.Bottom - R.Top) / 2 + R.Top};
}

TPointF TKxDeUtils::RotationPt(const TRect& R, TKxDeRotationCenter RotationCenter) {
  return RotationPt(Rect(R), RotationCenter);
}

void TKxDeUtils::RotatedSize(float Width, float Height, float Angle, TPointF& Result) {
  TDPointArray corners{{0, 0}, {Width, 0}, {Width, Height}, {0, Height}};
  RotatePolygon(corners, Angle, TPointF{Width / 2, Height / 2}, corners);
  Result = RotatedExtents(corners);
}

void TKxDeUtils::RotatedSize(int32_t Width, int32_t Height, float Angle, TPoint& Result) {
  const TPointArray corners{{0, 0}, {Width, 0}, {Width, Height}, {0, Height}};
  TDPointArray rotated;
  RotatePolygon(corners, Angle, TPointF{static_cast<float>(Width) / 2, static_cast<float>(Height) / 2}, rotated);
  const TPointF extents = RotatedExtents(rotated);
  Round(extents.X, Result.X);
  Round(extents.Y, Result.Y);
}

TKxDeSizeRotation TKxDeUtils::Quadrant(float ARotation) {
  if (ARotation >= 0 && ARotation < 90) return TKxDeSizeRotation::kxsrNorthEast;
  if (ARotation >= 90 && ARotation < 180) return TKxDeSizeRotation::kxsrNorthWest;
  if (ARotation >= 180 && ARotation < 270) return TKxDeSizeRotation::kxsrSouthWest;
  return TKxDeSizeRotation::kxsrSouthEast;
}

float TKxDeUtils::AngleOfPoint(const TPointF& Pt) {
  constexpr double pi = 3.14159265358979323846;
  const double x = Pt.X;
  const double y = Pt.Y;
  double theta;
  if (x == 0) {
    theta = y == 0 ? 0.0 : (y > 0 ? pi / 2 : 3 * pi / 2);
  } else if (y == 0) {
    theta = x > 0 ? 0.0 : pi;
  } else {
    theta = std::atan(y / x);
    if (x < 0) theta += pi;
    else if (y < 0) theta += 2 * pi;
  }
  if (theta == 0) return 0;
  // The mathematical angle grows clockwise on a y-down screen; turn it into the engine's
  // counter-clockwise degrees.
  const float degrees = static_cast<float>(360.0 - theta * 180.0 / pi);
  // A direction a hair below the positive x axis rounds to 360 in float: that is 0.
  return degrees >= 360.0f ? 0.0f : degrees;
}

float TKxDeUtils::AngleOfPoints(const TPointF& Pt1, const TPointF& Pt2) {
  return AngleOfPoint(SubtractPoints(Pt2, Pt1));
}

TPointF TKxDeUtils::PointOnLine(const TPointF& P, float Angle, float Distance) {
  if (Angle == 0) return TPointF{P.X + Distance, P.Y};
  const double a = RotationRadians(Angle);
  return StoreF(P.X + std::cos(a) * Distance, P.Y + std::sin(a) * Distance);
}

TDPointArray TKxDeUtils::GetEllipsePoints(const TPointF& Center, float XRadius, float YRadius, float StartAngle,
                                          float EndAngle) {
  // Whole degrees modulo 360, keeping a positive full turn as 360 so that 0..360 (and 720)
  // describe a closed outline rather than a single point.
  auto normalize = [](float Angle) {
    const int64_t whole = SaturateInt64(std::nearbyint(static_cast<double>(Angle)));
    int64_t m = whole % 360;
    if (m == 0 && whole > 0) m = 360;
    return m;
  };
  int64_t s = normalize(StartAngle);
  int64_t e = normalize(EndAngle);
  if (s > e) std::swap(s, e);
  if (s == e) {
    s = 0;
    e = 360;
  }
  TDPointArray pts(static_cast<std::size_t>(e - s + 1));
  for (int64_t k = s; k <= e; ++k) {
    const double rad = static_cast<double>(k) * PiRadian;
    pts[static_cast<std::size_t>(k - s)] =
        StoreF(Center.X + std::cos(rad) * XRadius, Center.Y - std::sin(rad) * YRadius);
  }
  return pts;
}

// ---- Hit-test primitives ----------------------------------------------------------------------

bool TKxDeUtils::NearLine(const TPointF& P, const TPointF& P1, const TPointF& P2, float Fuzz) {
  const double fuzz = Fuzz < 0 ? 0.0 : static_cast<double>(Fuzz);
  const double minX = std::min(P1.X, P2.X), maxX = std::max(P1.X, P2.X);
  const double minY = std::min(P1.Y, P2.Y), maxY = std::max(P1.Y, P2.Y);
  const double px = P.X, py = P.Y;

  // Axis-parallel segments: the plain offset, without extending the ends.
  if (P1.X == P2.X && std::fabs(px - P1.X) <= fuzz && minY <= py && py <= maxY) return true;
  if (P1.Y == P2.Y && std::fabs(py - P1.Y) <= fuzz && minX <= px && px <= maxX) return true;

  // A slanted segment: a cheap rejection by its (grown) bounding box first.
  if (P1.X != P2.X && P1.Y != P2.Y) {
    double l = minX, t = minY, r = maxX, b = maxY;
    if (fuzz > 0) {
      l -= fuzz;
      t -= fuzz;
      r += fuzz;
      b += fuzz;
    }
    if (!(l <= px && px < r && t <= py && py < b)) return false;
  }

  double slope = 0, intercept = 0;
  TKxDeLineOrientation orientation = TKxDeLineOrientation::kxloPoint;
  CalcLineParameters(P1, P2, slope, intercept, orientation);
  switch (orientation) {
    case TKxDeLineOrientation::kxloHorizontal:
      if (minX <= px && px <= maxX) return std::fabs(std::nearbyint(slope * px + intercept) - py) <= fuzz;
      break;
    case TKxDeLineOrientation::kxloVertical:
      if (minY <= py && py <= maxY) return std::fabs(std::nearbyint(slope * py + intercept) - px) <= fuzz;
      break;
    case TKxDeLineOrientation::kxloPoint: break;
  }
  return false;
}

bool TKxDeUtils::PtInPolygon(const TDPointArray& Pts, const TPointF& P) {
  const std::size_t n = Pts.size();
  if (n == 0) return false;
  bool inside = false;
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const TPointF& pi = Pts[i];
    const TPointF& pj = Pts[j];
    // The y test guarantees pi.Y != pj.Y, so the division is safe.
    if (((pi.Y <= P.Y && P.Y < pj.Y) || (pj.Y <= P.Y && P.Y < pi.Y)) &&
        P.X < (static_cast<double>(pj.X) - pi.X) * (static_cast<double>(P.Y) - pi.Y) /
                      (static_cast<double>(pj.Y) - pi.Y) +
                  pi.X)
      inside = !inside;
  }
  return inside;
}

bool TKxDeUtils::PtInEllipse(const TPointF& P, const TRectF& R) {
  const double cx = (static_cast<double>(R.Left) + R.Right) / 2;
  const double cy = (static_cast<double>(R.Top) + R.Bottom) / 2;
  const double a2 = (cx - R.Left) * (cx - R.Left);
  const double b2 = (cy - R.Top) * (cy - R.Top);
  if (a2 == 0 || b2 == 0) return false;
  const double dx = P.X - cx;
  const double dy = P.Y - cy;
  return dx * dx / a2 + dy * dy / b2 <= 1;
}

void TKxDeUtils::CalcLineParameters(const TPointF& PointA, const TPointF& PointB, double& Slope, double& Intercept,
                                    TKxDeLineOrientation& LineOrientation) {
  const TPointF d = SubtractPoints(PointB, PointA);
  if (d.X == 0 && d.Y == 0) {
    LineOrientation = TKxDeLineOrientation::kxloPoint;
    Slope = 0;
    Intercept = 0;
  } else if (std::fabs(d.Y) <= std::fabs(d.X)) {
    LineOrientation = TKxDeLineOrientation::kxloHorizontal;
    Slope = static_cast<double>(d.Y) / d.X;
    Intercept = PointA.Y - PointA.X * Slope;
  } else {
    LineOrientation = TKxDeLineOrientation::kxloVertical;
    Slope = static_cast<double>(d.X) / d.Y;
    Intercept = PointA.X - PointA.Y * Slope;
  }
}

bool TKxDeUtils::DoLinesIntersect(const TPointF& P1, const TPointF& P2, const TPointF& P3, const TPointF& P4,
                                  TPointF& POut) {
  POut = TPointF{0, 0};
  const double rx = static_cast<double>(P2.X) - P1.X, ry = static_cast<double>(P2.Y) - P1.Y;
  const double sx = static_cast<double>(P4.X) - P3.X, sy = static_cast<double>(P4.Y) - P3.Y;
  // The denominator is held as a float: nearly parallel segments whose cross product vanishes at
  // float precision count as parallel.
  const float d = static_cast<float>(rx * sy - ry * sx);
  if (d == 0) return false;
  const double qx = static_cast<double>(P1.X) - P3.X, qy = static_cast<double>(P1.Y) - P3.Y;
  const double t = (qy * sx - qx * sy) / d;
  const double u = (qy * rx - qx * ry) / d;
  if (!(t >= 0 && t <= 1 && u >= 0 && u <= 1)) return false;
  POut = StoreF(P1.X + t * rx, P1.Y + t * ry);
  return true;
}

bool TKxDeUtils::DoLineIntersectRect(const TPointF& P1, const TPointF& P2, const TRectF& R) {
  const bool hasWidth = R.Left != R.Right;
  const bool hasHeight = R.Top != R.Bottom;
  if (!hasWidth && !hasHeight) return false;
  if (R.Contains(P1) || R.Contains(P2)) return true;
  const TPointF tl{R.Left, R.Top}, tr{R.Right, R.Top}, br{R.Right, R.Bottom}, bl{R.Left, R.Bottom};
  TPointF cross;
  if (hasWidth && hasHeight)
    return DoLinesIntersect(P1, P2, tl, tr, cross) || DoLinesIntersect(P1, P2, tr, br, cross) ||
           DoLinesIntersect(P1, P2, br, bl, cross) || DoLinesIntersect(P1, P2, bl, tl, cross);
  // A flat rectangle is the one edge it collapses to.
  if (hasWidth) return DoLinesIntersect(P1, P2, tl, tr, cross);
  return DoLinesIntersect(P1, P2, tl, bl, cross);
}

bool TKxDeUtils::LineIntersect(const TLine& Line1, const TLine& Line2, TPointF& pIntersect) {
  pIntersect = TPointF{0, 0};
  const TSlopeIntercept l1 = ReduceLine(Line1);
  const TSlopeIntercept l2 = ReduceLine(Line2);
  if (l1.M != l2.M) {
    const double x = (l2.B - l1.B) / (l1.M - l2.M);
    // The flatter line gives the better-conditioned y (a vertical line's 1e100 would not).
    const TSlopeIntercept& flat = std::fabs(l1.M) <= std::fabs(l2.M) ? l1 : l2;
    pIntersect = StoreF(x, flat.M * x + flat.B);
    return true;
  }
  if (l1.B == l2.B)
    return WithinExtent(Line2.P1, Line1) || WithinExtent(Line2.P2, Line1) || WithinExtent(Line1.P1, Line2) ||
           WithinExtent(Line1.P2, Line2);
  return false;
}

TLine TKxDeUtils::Line(const TPointF& aP1, const TPointF& aP2) { return TLine{aP1, aP2}; }

bool TKxDeUtils::EqualPoint(const TPointF& P1, const TPointF& P2) { return P1.X == P2.X && P1.Y == P2.Y; }

TPointF TKxDeUtils::SubtractPoints(const TPointF& PointA, const TPointF& PointB) { return PointA - PointB; }

// ---- Polyline simplification --------------------------------------------------------------------

TPoint TKxDeUtils::VecMinInt2D(const TPoint& A, const TPoint& B) {
  // Differences wrap instead of overflowing; coordinates that far apart are not drawable anyway.
  return TPoint{static_cast<int32_t>(static_cast<int64_t>(A.X) - B.X),
                static_cast<int32_t>(static_cast<int64_t>(A.Y) - B.Y)};
}

double TKxDeUtils::DotProdInt2D(const TPoint& A, const TPoint& B) {
  return static_cast<double>(A.X) * B.X + static_cast<double>(A.Y) * B.Y;
}

double TKxDeUtils::NormSquaredInt2D(const TPoint& A) { return DotProdInt2D(A, A); }

double TKxDeUtils::DistSquaredInt2D(const TPoint& A, const TPoint& B) { return NormSquaredInt2D(VecMinInt2D(A, B)); }

double TKxDeUtils::DistanceInt2D(const TPoint& A, const TPoint& B) { return std::sqrt(DistSquaredInt2D(A, B)); }

void TKxDeUtils::SimplifyInt2D(double Tol2, const TPointArray& Orig, std::vector<bool>& Marker, std::ptrdiff_t j,
                               std::ptrdiff_t k) {
  const auto n = static_cast<std::ptrdiff_t>(std::min(Orig.size(), Marker.size()));
  if (j < 0 || k >= n) return;
  // Each split produces two stretches; they are worked off from a stack of our own so that a
  // long polyline that splits at every point cannot exhaust the call stack. The kept points are
  // the same in whatever order the stretches are processed.
  std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> stretches{{j, k}};
  while (!stretches.empty()) {
    const auto [lo, hi] = stretches.back();
    stretches.pop_back();
    if (hi <= lo + 1) continue;
    const TPoint p0 = Orig[lo];
    const TPoint p1 = Orig[hi];
    const TPoint u = VecMinInt2D(p1, p0);
    const double cu = DotProdInt2D(u, u);
    double maxD2 = 0;
    std::ptrdiff_t maxI = lo;
    for (std::ptrdiff_t i = lo + 1; i < hi; ++i) {
      const double cw = DotProdInt2D(VecMinInt2D(Orig[i], p0), u);
      double dv2;
      if (cw <= 0) {
        dv2 = DistSquaredInt2D(Orig[i], p0);  // before the chord's start
      } else if (cw > cu) {
        dv2 = DistSquaredInt2D(Orig[i], p1);  // beyond its end
      } else {
        // cu >= cw > 0 here, so the chord has a length.
        const double b = cw / cu;
        const TPoint foot{RoundNearest32(p0.X + b * u.X), RoundNearest32(p0.Y + b * u.Y)};
        dv2 = DistSquaredInt2D(Orig[i], foot);
      }
      if (dv2 > maxD2) {
        maxI = i;
        maxD2 = dv2;
      }
    }
    if (maxD2 > Tol2) {
      Marker[static_cast<std::size_t>(maxI)] = true;
      stretches.emplace_back(maxI, hi);
      stretches.emplace_back(lo, maxI);
    }
  }
}

int32_t TKxDeUtils::PolySimplifyInt2D(double Tolerance, const TPointArray& Original, TPointArray& Simple) {
  Simple.clear();
  const std::size_t n = Original.size();
  if (n < 2) return 0;
  std::vector<bool> marker(n, false);
  marker.front() = true;
  marker.back() = true;
  SimplifyInt2D(Tolerance * Tolerance, Original, marker, 0, static_cast<std::ptrdiff_t>(n - 1));
  for (std::size_t i = 0; i < n; ++i)
    if (marker[i]) Simple.push_back(Original[i]);
  return static_cast<int32_t>(std::min<std::size_t>(Simple.size(), std::numeric_limits<int32_t>::max()));
}

// ---- Rounding and rectangles ----------------------------------------------------------------------

void TKxDeUtils::Round(float D, int32_t& Result) { Result = SaturateInt32(FloorRound(D)); }

#if INTPTR_MAX != INT32_MAX
void TKxDeUtils::Round(float D, intptr_t& Result) { Result = static_cast<intptr_t>(SaturateInt64(FloorRound(D))); }
#endif

int64_t TKxDeUtils::IntRound(double D) { return SaturateInt64(std::ceil(D)); }

TPoint TKxDeUtils::Point(const TPointF& P) { return TPoint{RoundNearest32(P.X), RoundNearest32(P.Y)}; }

TRect TKxDeUtils::Rect(const TRectF& R) {
  return TRect{RoundNearest32(R.Left), RoundNearest32(R.Top), RoundNearest32(R.Right), RoundNearest32(R.Bottom)};
}

TPointF TKxDeUtils::Point(int32_t AX, int32_t AY) { return TPointF{static_cast<float>(AX), static_cast<float>(AY)}; }

TRectF TKxDeUtils::Rect(const TRect& R) {
  return TRectF{static_cast<float>(R.Left), static_cast<float>(R.Top), static_cast<float>(R.Right),
                static_cast<float>(R.Bottom)};
}

TRect TKxDeUtils::Rect(const TPointArray& PtArray) { return TRect::Create(PtArray); }

TRect TKxDeUtils::RectFloorRound(const TRectF& R) {
  return TRect{SaturateInt32(std::floor(R.Left)), SaturateInt32(std::floor(R.Top)), SaturateInt32(std::floor(R.Right)),
               SaturateInt32(std::floor(R.Bottom))};
}

bool TKxDeUtils::RectIsNearEmpty(const TRectF& R) { return R.Width() <= 0.011 && R.Height() <= 0.011; }

TPointF TKxDeUtils::RoundTo(const TPointF& APt, int32_t ADigit) {
  const int32_t digit = std::clamp(ADigit, -37, 37);
  // Dividing by a power of ten below 1 would round twice (0.01 has no exact binary form), so
  // decimals are scaled up by the exact power instead.
  const double factor = std::pow(10.0, std::abs(digit));
  auto round = [&](float V) -> float {
    if (digit < 0) return static_cast<float>(std::nearbyint(V * factor) / factor);
    return static_cast<float>(std::nearbyint(V / factor) * factor);
  };
  return TPointF{round(APt.X), round(APt.Y)};
}

float TKxDeUtils::RealMod(float x, int32_t MaxInteger) {
  if (MaxInteger == 0) throw Exception(QStringLiteral("Division by zero"));
  // fmod is exact and keeps the sign of x: the same value as the integer remainder of the whole
  // part plus the fraction, without overflowing for large x.
  return static_cast<float>(std::fmod(static_cast<double>(x), static_cast<double>(MaxInteger)));
}

void TKxDeUtils::ZoomPoint(TPointF& P, float Zoom) {
  P.X *= Zoom;
  P.Y *= Zoom;
}

TDPointArray TKxDeUtils::OffsetPoints(const TDPointArray& Ps, float X, float Y) {
  TDPointArray r;
  r.reserve(Ps.size());
  for (const TPointF& p : Ps) r.push_back(TPointF{p.X + X, p.Y + Y});
  return r;
}

TPointArray TKxDeUtils::DoublesToPoints(const TDPointArray& Ps) {
  TPointArray r;
  r.reserve(Ps.size());
  for (const TPointF& p : Ps) r.push_back(Point(p));
  return r;
}

TDPointArray TKxDeUtils::PointsToDoubles(const TPointArray& Ps) {
  TDPointArray r;
  r.reserve(Ps.size());
  for (const TPoint& p : Ps) r.push_back(Point(p.X, p.Y));
  return r;
}

TPointF TKxDeUtils::EmptyPoint() { return TPointF{0, 0}; }

void TKxDeUtils::Swap(float& A, float& B) { std::swap(A, B); }
void TKxDeUtils::Swap(double& A, double& B) { std::swap(A, B); }
void TKxDeUtils::Swap(int32_t& A, int32_t& B) { std::swap(A, B); }
#if INTPTR_MAX != INT32_MAX
void TKxDeUtils::Swap(intptr_t& A, intptr_t& B) { std::swap(A, B); }
#endif
void TKxDeUtils::Swap(TPointF& P) { std::swap(P.X, P.Y); }

// ---- Units and encodings ----------------------------------------------------------------------

TPointF TKxDeUtils::MMToInternalUnits(const TPointF& P) {
  TPointF r = P;
  r.MMToInternalUnits();
  return r;
}

TRectF TKxDeUtils::MMToInternalUnits(const TRectF& R) {
  TRectF r = R;
  r.MMToInternalUnits();
  return r;
}

TPointF TKxDeUtils::InternalUnitsToMM(const TPointF& P) {
  TPointF r = P;
  r.InternalUnitsToMM();
  return r;
}

TRectF TKxDeUtils::InternalUnitsToMM(const TRectF& R) {
  TRectF r = R;
  r.InternalUnitsToMM();
  return r;
}

int32_t TKxDeUtils::MMToFontPoints(float Value) {
  const double points = static_cast<double>(Value) * CoordsPixelsPerMMConvertValue / ScreenPixelsPerInch * 72.0;
  int32_t r = 0;
  Round(static_cast<float>(points), r);
  return r;
}

float TKxDeUtils::FontPointsToMM(int32_t Value) {
  return static_cast<float>(static_cast<double>(Value) / CoordsPixelsPerMMConvertValue * ScreenPixelsPerInch / 72.0);
}

double TKxDeUtils::FixToFloat(TFixed F) { return FixToFloat(F.Raw()); }

double TKxDeUtils::FixToFloat(int32_t RawFixed) { return static_cast<double>(RawFixed) / 65536.0; }

TFixed TKxDeUtils::FloatToFixed(double D) { return TFixed::FromRaw(RoundNearest32(D * 65536.0)); }

int32_t TKxDeUtils::FontStyleToInteger(TFontStyles FontStyles) {
  int32_t r = 0;
  if (FontStyles.Contains(TFontStyle::fsBold)) r += 1;
  if (FontStyles.Contains(TFontStyle::fsItalic)) r += 2;
  if (FontStyles.Contains(TFontStyle::fsUnderline)) r += 4;
  if (FontStyles.Contains(TFontStyle::fsStrikeOut)) r += 8;
  return r;
}

TFontStyles TKxDeUtils::IntegerToFontStyle(int32_t AValue) {
  TFontStyles r;
  if (AValue & 1) r.Include(TFontStyle::fsBold);
  if (AValue & 2) r.Include(TFontStyle::fsItalic);
  if (AValue & 4) r.Include(TFontStyle::fsUnderline);
  if (AValue & 8) r.Include(TFontStyle::fsStrikeOut);
  return r;
}

TKxDeShiftKeys TKxDeUtils::ShiftToScShift(TShiftState Shift) {
  TKxDeShiftKeys r;
  if (Shift.Contains(TShiftStateItem::ssShift)) r.Include(TKxDeShiftKey::kxskShift);
  if (Shift.Contains(TShiftStateItem::ssAlt)) r.Include(TKxDeShiftKey::kxskAlt);
  if (Shift.Contains(TShiftStateItem::ssCtrl)) r.Include(TKxDeShiftKey::kxskCtrl);
  return r;
}

TShiftState TKxDeUtils::ScShiftToShift(TKxDeShiftKeys Shift) {
  TShiftState r;
  if (Shift.Contains(TKxDeShiftKey::kxskShift)) r.Include(TShiftStateItem::ssShift);
  if (Shift.Contains(TKxDeShiftKey::kxskAlt)) r.Include(TShiftStateItem::ssAlt);
  if (Shift.Contains(TKxDeShiftKey::kxskCtrl)) r.Include(TShiftStateItem::ssCtrl);
  return r;
}

int32_t TKxDeUtils::SetToInt(const void* aSet, int32_t Size) {
  if (Size >= 5) throw Exception(rsSetSizeOverflow());
  if (Size <= 0 || aSet == nullptr) return 0;
  const auto* bytes = static_cast<const uint8_t*>(aSet);
  uint32_t r = 0;
  for (int32_t i = 0; i < Size; ++i) r |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  return static_cast<int32_t>(r);
}

void TKxDeUtils::IntToSet(int32_t Value, void* aSet, int32_t Size) {
  if (Size >= 5) throw Exception(rsSetSizeOverflow());
  if (Size <= 0 || aSet == nullptr) return;
  auto* bytes = static_cast<uint8_t*>(aSet);
  const auto v = static_cast<uint32_t>(Value);
  for (int32_t i = 0; i < Size; ++i) bytes[i] = static_cast<uint8_t>(v >> (8 * i));
}

void TKxDeUtils::Scale(QTransform& xMtrx, double ScaleX, double ScaleY, bool DoTranslation) {
  const double dx = DoTranslation ? xMtrx.dx() * ScaleX : xMtrx.dx();
  const double dy = DoTranslation ? xMtrx.dy() * ScaleY : xMtrx.dy();
  xMtrx.setMatrix(xMtrx.m11() * ScaleX, xMtrx.m12() * ScaleX, xMtrx.m13(), xMtrx.m21() * ScaleY, xMtrx.m22() * ScaleY,
                  xMtrx.m23(), dx, dy, xMtrx.m33());
}

uint32_t TKxDeUtils::GenerateGlobalUniqueID() {
  const QUuid g = QUuid::createUuid();
  // The words as the GUID lies in memory: Data1, then Data2 and Data3 (little-endian 16-bit
  // fields) and the eight bytes of Data4.
  auto word = [&g](int Offset) {
    return static_cast<uint32_t>(g.data4[Offset]) | static_cast<uint32_t>(g.data4[Offset + 1]) << 8 |
           static_cast<uint32_t>(g.data4[Offset + 2]) << 16 | static_cast<uint32_t>(g.data4[Offset + 3]) << 24;
  };
  const uint32_t a = g.data1;
  const uint32_t b = static_cast<uint32_t>(g.data2) | static_cast<uint32_t>(g.data3) << 16;
  return MixGuidWords(a, b, word(0), word(4));
}

uint32_t TKxDeUtils::MixGuidWords(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  a += d;
  d += a;
  a ^= a >> 7;
  b += a;
  a += b;
  b ^= b << 13;
  c += b;
  b += c;
  c ^= c >> 17;
  d += c;
  c += d;
  d ^= d << 9;
  a += d;
  d += a;
  a ^= a >> 3;
  b += a;
  a += b;
  b ^= b << 7;
  c += b;
  b += c;
  c ^= d >> 15;  // d, not c: deliberate, see the header
  d += c;
  c += d;
  d ^= d << 11;
  return d;
}

bool TKxDeUtils::MaxSymmetricLengthInRect(const TPointF& LinePtA, const TPointF& LinePtB, const TRectF& LimitRect,
                                          float& MaxLength) {
  MaxLength = 0;
  if (LimitRect.Left == LimitRect.Right || LimitRect.Top == LimitRect.Bottom) return false;
  TPointF a = LinePtA, b = LinePtB;
  if (a.X > b.X) std::swap(a, b);
  const TPoint mid = Point(TPointF{(a.X + b.X) / 2, (a.Y + b.Y) / 2});
  const TLine line{a, b};
  const double slope = ReduceLine(line).M;
  const float l = LimitRect.Left, t = LimitRect.Top, r = LimitRect.Right, btm = LimitRect.Bottom;
  const TLine edges[4] = {{{l, t}, {r, t}}, {{l, btm}, {r, btm}}, {{l, t}, {l, btm}}, {{r, t}, {r, btm}}};
  bool found = false;
  double best = std::numeric_limits<double>::infinity();
  for (const TLine& edge : edges) {
    // A parallel edge line never meets the line (or is the line itself): no limit from it.
    if (ReduceLine(edge).M == slope) continue;
    TPointF cross;
    if (!LineIntersect(line, edge, cross)) continue;
    best = std::min(best, DistanceInt2D(mid, Point(cross)));
    found = true;
  }
  if (found) MaxLength = static_cast<float>(best);
  return found;
}

void TKxDeUtils::SetTransparency(TPicture* APicture) { SetPictureTransparency(APicture); }

}  // namespace vorn
