// Aligning and distributing the selection.

#include "vorn/editor/KxDeEditor.h"
#include "vorn/model/KxDeShapeBase.h"

#include <algorithm>
#include <cmath>

namespace vorn {

using enum TKxDeAlignReference;

namespace {

// A rectangle's extent along one axis.
float Low(const TRectF& R, bool Vertical) { return Vertical ? R.Top : R.Left; }
float High(const TRectF& R, bool Vertical) { return Vertical ? R.Bottom : R.Right; }

// Moves smaller than this are what turned bounds computed again differ by: a shape already in
// place. (A thousandth of a world unit is a tenth of a pixel at the highest zoom.)
constexpr float Still = 1e-3f;

}  // namespace

void TKxDeCustomEditor::SetAlignReference(TKxDeAlignReference Value) {
  if (FAlignReference == Value) return;
  FAlignReference = Value;
  Q_EMIT CommandsChanged();
}

bool TKxDeCustomEditor::CanAlign() const { return SelectionCount() >= (FAlignReference == kxarPage ? 1 : 2); }

bool TKxDeCustomEditor::CanDistribute() const { return SelectionCount() >= 3; }

bool TKxDeCustomEditor::AlignTarget(TKxDeAlignReference Reference, TRectF& R) const {
  if (Reference == kxarPage) {
    R = GetLayerRect();
    return true;
  }
  if (FSelections.empty()) return false;
  R = (Reference == kxarFirstSelected ? FSelections.front() : FSelections.back())->GetRotatedBounds();
  return true;
}

void TKxDeCustomEditor::AlignSelection(TKxDeAlignment Alignment) { AlignSelection(Alignment, FAlignReference); }

void TKxDeCustomEditor::AlignSelection(TKxDeAlignment Alignment, TKxDeAlignReference Reference) {
  TRectF target;
  if (!AlignTarget(Reference, target)) return;
  const auto kind = static_cast<int>(Alignment);
  const bool vertical = kind >= static_cast<int>(TKxDeAlignment::kxalTop);
  // 0: the low edge, 1: the centre, 2: the high edge.
  const int part = kind % 3;
  auto at = [&](const TRectF& R) {
    const float lo = Low(R, vertical), hi = High(R, vertical);
    return part == 0 ? lo : part == 2 ? hi : (lo + hi) / 2;
  };
  const float to = at(target);
  std::vector<float> d(FSelections.size());
  for (size_t i = 0; i < FSelections.size(); ++i) d[i] = to - at(FSelections[i]->GetRotatedBounds());
  ShiftSelected(d, vertical);
}

void TKxDeCustomEditor::DistributeSelection(TKxDeDistribution Distribution) {
  DistributeSelection(Distribution, FAlignReference);
}

void TKxDeCustomEditor::DistributeSelection(TKxDeDistribution Distribution, TKxDeAlignReference Reference) {
  using enum TKxDeDistribution;
  const bool vertical = Distribution == kxdiCentersVert || Distribution == kxdiGapsVert;
  const bool gaps = Distribution == kxdiGapsHorz || Distribution == kxdiGapsVert;
  // The shapes that can move, in their order along the axis (by centre; ties keep the selection's
  // order). The others stay where they are and take no part.
  struct TItem {
    size_t Index;
    double Lo, Hi;
    double Centre() const { return (Lo + Hi) / 2; }
  };
  std::vector<TItem> items;
  for (size_t i = 0; i < FSelections.size(); ++i)
    if (Movable(FSelections[i])) {
      const TRectF b = FSelections[i]->GetRotatedBounds();
      items.push_back(TItem{i, Low(b, vertical), High(b, vertical)});
    }
  if (items.size() < 3) return;
  std::stable_sort(items.begin(), items.end(), [](const TItem& A, const TItem& B) { return A.Centre() < B.Centre(); });
  const TItem& first = items.front();
  const TItem& last = items.back();
  const bool page = Reference == kxarPage;
  const TRectF pageRect = GetLayerRect();
  const double n1 = static_cast<double>(items.size() - 1);
  std::vector<float> d(FSelections.size(), 0.0f);
  if (gaps) {
    // From the first shape's low edge to the last one's high edge (or the page's edges), the rest
    // shared out equally between the shapes.
    const double from = page ? Low(pageRect, vertical) : first.Lo;
    const double to = page ? High(pageRect, vertical) : last.Hi;
    double widths = 0;
    for (const TItem& it : items) widths += it.Hi - it.Lo;
    const double gap = (to - from - widths) / n1;
    double at = from;
    for (const TItem& it : items) {
      d[it.Index] = static_cast<float>(at - it.Lo);
      at += it.Hi - it.Lo + gap;
    }
  } else {
    // The outer centres stay (or sit half a shape inside the page's edges); the others share the
    // distance between them.
    const double from = page ? Low(pageRect, vertical) + (first.Hi - first.Lo) / 2 : first.Centre();
    const double to = page ? High(pageRect, vertical) - (last.Hi - last.Lo) / 2 : last.Centre();
    for (size_t k = 0; k < items.size(); ++k)
      d[items[k].Index] = static_cast<float>(from + (to - from) * static_cast<double>(k) / n1 - items[k].Centre());
  }
  // Relative to the shapes, the outer ones define the span and stay exactly where they are.
  if (!page) d[first.Index] = d[last.Index] = 0;
  ShiftSelected(d, vertical);
}

void TKxDeCustomEditor::ShiftSelected(const std::vector<float>& D, bool Vertical) {
  bool any = false;
  for (size_t i = 0; i < FSelections.size() && !any; ++i) any = std::abs(D[i]) >= Still && Movable(FSelections[i]);
  if (!any) return;
  ChangeSelected(true, [&](TKxDeShapeBase* S, size_t I) {
    if (Vertical) S->MoveByWithRef(0, D[I]);
    else S->MoveByWithRef(D[I], 0);
  });
}

}  // namespace vorn
