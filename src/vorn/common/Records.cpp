#include "vorn/common/Records.h"

#include "vorn/common/Units.h"

#include <charconv>
#include <initializer_list>
#include <ostream>
#include <string_view>

namespace vorn {
namespace {

// Millimetres per inch, as a multiplication factor.
constexpr double kInchPerMM = 1.0 / 25.4;

// The bounding rectangle of a list of points; the all-zero rectangle for none.
template <class R, class P>
R Bounding(const std::vector<P>& Points) {
  if (Points.empty()) return R{};
  R r = R::At(Points.front());
  for (const P& p : Points) r = r.Union(p);
  return r;
}

// Name{a, b, ...}, each value in the shortest text that reads back as the same value.
template <class V>
void PrintNumbers(std::ostream* Os, const char* Name, std::initializer_list<V> Values) {
  *Os << Name << '{';
  const char* separator = "";
  for (V v : Values) {
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, v).ptr;
    *Os << separator << std::string_view(text, static_cast<size_t>(end - text));
    separator = ", ";
  }
  *Os << '}';
}

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

TRectF TRectF::Create(const TDPointArray& PtArray) { return Bounding<TRectF>(PtArray); }

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

TRect TRect::Create(const TPointArray& PtArray) { return Bounding<TRect>(PtArray); }

void TRect::RectToArray(TPointArray& PtArray) const {
  PtArray.assign({TPoint{Left, Top}, TPoint{Right, Top}, TPoint{Right, Bottom}, TPoint{Left, Bottom}});
}

void TRect::RectToArray(std::array<TPoint, 4>& PtArray) const {
  PtArray = {TPoint{Left, Top}, TPoint{Right, Top}, TPoint{Right, Bottom}, TPoint{Left, Bottom}};
}

void PrintTo(const TPointF& P, std::ostream* Os) { PrintNumbers(Os, "TPointF", {P.X, P.Y}); }
void PrintTo(const TPoint& P, std::ostream* Os) { PrintNumbers(Os, "TPoint", {P.X, P.Y}); }
void PrintTo(const TRectF& R, std::ostream* Os) { PrintNumbers(Os, "TRectF", {R.Left, R.Top, R.Right, R.Bottom}); }
void PrintTo(const TRect& R, std::ostream* Os) { PrintNumbers(Os, "TRect", {R.Left, R.Top, R.Right, R.Bottom}); }

}  // namespace vorn
