#include "vorn/model/KxDeShape.h"

#include "vorn/model/KxDePoint.h"
#include "vorn/model/UpdateBracket_p.h"

#include <algorithm>

namespace vorn {

TKxDePoint* TKxDeShape::Add(TKxDePoint* Point) {
  InsertPoint(Point);
  return Point;
}

TKxDePoint* TKxDeShape::Add(float x, float y) {
  TKxDePoint* p = Create<TKxDePoint>();
  p->SetPosition2(x, y);
  Add(p);
  return p;
}

void TKxDeShape::Insert(int32_t Index, TKxDePoint* Point) {
  if (Index < 0 || Index > PointCount() || !CanInsertPoint(Point)) return;
  TUpdateBracket update(this);
  InsertPoint(Point);
  // InsertPoint appended it; put it in its place.
  if (!FPoints.empty() && FPoints.back() == Point) {
    const auto at = FPoints.begin() + Index;
    std::rotate(at, FPoints.end() - 1, FPoints.end());
  }
}

void TKxDeShape::Delete(int32_t Index) {
  if (TKxDePoint* p = GetPoint(Index)) Free(p);
}

void TKxDeShape::Remove(TKxDePoint* Point) {
  if (Point && Point->GetOwner() == this) Free(Point);
}

TKxDePoint* TKxDeShape::Extract(TKxDePoint* Point) {
  if (!Point || Point->GetOwner() != this) return nullptr;
  RemovePoint(Point);
  return Point;
}

void TKxDeShape::Clear() { ClearPoints(); }

bool TKxDeShape::PointOnShape(const TPointF& P, float Fuzz, bool) const {
  if (Brush()->Style() != TBrushStyle::bsClear && Brush()->Color() != clNone)
    return TKxDeShapeBase::PointOnShape(P, Fuzz, true);
  const TRectF b = GetBounds();
  if (b.IsEmpty()) return false;
  if (Fuzz < 0) Fuzz = 0;
  // A band of width 2 Fuzz along the outline; the edges count as for the body.
  return b.Inflated(Fuzz).Contains(P) && !b.Inflated(-Fuzz).Contains(P);
}

}  // namespace vorn
