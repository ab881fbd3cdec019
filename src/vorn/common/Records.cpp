#include "vorn/common/Records.h"

#include "vorn/common/Units.h"

#include <algorithm>

namespace vorn {
namespace {

// Millimetres per inch, as a multiplication factor.
constexpr double kInchPerMM = 1.0 / 25.4;

}  // namespace

void TPointF::MMToInternalUnits() {
  X *= CoordsPixelsPerMMConvertValue;
  Y *= CoordsPixelsPerMMConvertValue;
}

void TPointF::InternalUnitsToMM() {
  X /= CoordsPixelsPerMMConvertValue;
  Y /= CoordsPixelsPerMMConvertValue;
}

TPointF TPointF::ToInch() const {
  return TPointF{static_cast<float>(X * kInchPerMM), static_cast<float>(Y * kInchPerMM)};
}

TRectF TRectF::Create(const TDPointArray& PtArray) {
  TRectF r;
  if (PtArray.empty()) return r;
  r.Left = r.Right = PtArray.front().X;
  r.Top = r.Bottom = PtArray.front().Y;
  for (const TPointF& p : PtArray) {
    r.Left = std::min(r.Left, p.X);
    r.Right = std::max(r.Right, p.X);
    r.Top = std::min(r.Top, p.Y);
    r.Bottom = std::max(r.Bottom, p.Y);
  }
  return r;
}

void TRectF::RectToArray(TDPointArray& PtArray) const {
  PtArray.assign({TPointF{Left, Top}, TPointF{Right, Top}, TPointF{Right, Bottom}, TPointF{Left, Bottom}});
}

void TRectF::Zoom(float Zoom) {
  Left *= Zoom;
  Top *= Zoom;
  Right *= Zoom;
  Bottom *= Zoom;
}

void TRectF::MMToInternalUnits() {
  Left *= CoordsPixelsPerMMConvertValue;
  Top *= CoordsPixelsPerMMConvertValue;
  Right *= CoordsPixelsPerMMConvertValue;
  Bottom *= CoordsPixelsPerMMConvertValue;
}

void TRectF::InternalUnitsToMM() {
  Left /= CoordsPixelsPerMMConvertValue;
  Top /= CoordsPixelsPerMMConvertValue;
  Right /= CoordsPixelsPerMMConvertValue;
  Bottom /= CoordsPixelsPerMMConvertValue;
}

TRectF TRectF::RectToInch() const {
  return TRectF{static_cast<float>(Left * kInchPerMM), static_cast<float>(Top * kInchPerMM),
                static_cast<float>(Right * kInchPerMM), static_cast<float>(Bottom * kInchPerMM)};
}

void TRect::RectToArray(TPointArray& PtArray) const {
  PtArray.assign({TPoint{Left, Top}, TPoint{Right, Top}, TPoint{Right, Bottom}, TPoint{Left, Bottom}});
}

void TRect::RectToArray(std::array<TPoint, 4>& PtArray) const {
  PtArray = {TPoint{Left, Top}, TPoint{Right, Top}, TPoint{Right, Bottom}, TPoint{Left, Bottom}};
}

}  // namespace vorn
