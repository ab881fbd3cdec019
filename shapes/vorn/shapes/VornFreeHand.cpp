#include "vorn/shapes/VornFreeHand.h"

#include <vorn/common/KxDeUtils.h>
#include <vorn/common/Rounding.h>

#include <cmath>

namespace vorn {
namespace {

// Simplification works on a grid this many times finer than a device pixel.
constexpr double kSubPixels = 16.0;

}  // namespace

TVornFreeHand::TVornFreeHand(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TVornLine(ASurface, AOwner) {
  ExcludeStyles({TKxDeShapeStyle::kxssSingleClickCreation});
  FStartShape = TmekLineShape::mekLshRounded;
  FEndShape = TmekLineShape::mekLshRounded;
}

QPainterPath TVornFreeHand::LinePath(const TVornVertices& V, bool Trim) const {
  QPainterPath path;
  if (V.empty()) return path;
  std::vector<QPointF> at = Positions(V);
  if (Trim) TrimEnds(V, at);
  // Quadratic pieces from midpoint to midpoint, each bent by the point between them: smooth,
  // and through the first and the last point.
  path.moveTo(at[0]);
  if (at.size() < 3) {
    for (size_t i = 1; i < at.size(); ++i) path.lineTo(at[i]);
    return path;
  }
  for (size_t i = 1; i + 1 < at.size(); ++i) path.quadTo(at[i], (at[i] + at[i + 1]) / 2);
  path.lineTo(at.back());
  return path;
}

void TVornFreeHand::Refine(float Value) {
  TVornLine::Refine(Value);
  if (!(Value > 0) || PointCount() < 3) return;
  // World units to the fine grid at this zoom.
  const double scale = static_cast<double>(Value) * kSubPixels;
  TPointArray original;
  original.reserve(static_cast<size_t>(PointCount()));
  for (int32_t i = 0; i < PointCount(); ++i) {
    const TPointF p = PointValue(i);
    original.push_back(TPoint{Round32(p.X * scale), Round32(p.Y * scale)});
  }
  TPointArray simple;
  const int32_t kept = TKxDeUtils::PolySimplifyInt2D(kSubPixels / 2, original, simple);
  if (kept < 2 || kept >= PointCount()) return;
  // Keep the points that survived, by position, in order: the original coordinates stay exact.
  BeginUpdate();
  size_t next = 0;
  for (int32_t i = 0; i < PointCount() && next < simple.size();) {
    const TPoint& o = original[static_cast<size_t>(i)];
    if (o == simple[next]) {
      ++next;
      ++i;
      continue;
    }
    Delete(i);
    original.erase(original.begin() + i);
  }
  while (PointCount() > static_cast<int32_t>(simple.size())) Delete(PointCount() - 1);
  EndUpdate();
}

}  // namespace vorn
