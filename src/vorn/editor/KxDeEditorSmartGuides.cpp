// Smart guides: snapping what a gesture moves to the other shapes in view, to the page and to the
// guides, and the alignment lines that show it.
//
// The targets are gathered once per gesture, when it first needs them: the spatial index names
// the shapes in the visible part of the page, and their turned bounds (what the user sees) give
// the edges and centre lines. What moves is left out: the selection while it is moved, the shape
// whose point is dragged while sizing; a shape being drawn is in no layer yet. From then on each
// pointer move is a few binary searches (see TKxDeSmartSnap).
//
// Grid and shapes both snap a gesture, axis by axis, and the nearer alignment wins: a shape's edge
// one pixel away beats a grid line three pixels away, and the other way round; an axis no target
// is within reach of keeps the grid's answer (or none). Alt held bypasses both while smart guides
// are on; while they are off, Alt changes nothing and the grid snaps as it always did.

#include "vorn/editor/KxDeEditor.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/Rounding.h"
#include "vorn/common/Units.h"
#include "vorn/editor/KxDeGuide.h"
#include "vorn/editor/KxDeSmartSnap_p.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDeShapeBase.h"
#include "vorn/surface/KxDeSurfaceIndex_p.h"

#include <cmath>

namespace vorn {

using enum TKxDeEditState;

bool TKxDeCustomEditor::GridSnaps(TKxDeShiftKeys Keys) const {
  return FEditOptions.Contains(TKxDeEditOption::kxdoSnapToGrid) &&
         !(FSmartGuides->Enabled() && Keys.Contains(TKxDeShiftKey::kxskAlt));
}

bool TKxDeCustomEditor::ShapesSnap(TKxDeShiftKeys Keys) const {
  return FSmartGuides->Enabled() && !Keys.Contains(TKxDeShiftKey::kxskAlt);
}

bool TKxDeCustomEditor::GridSnapsAxis(bool Horizontal) const {
  return std::trunc((Horizontal ? Grid()->X() : Grid()->Y()) * CoordsPixelsPerMMConvertValue) > 1;
}

void TKxDeCustomEditor::GatherSnapTargets() const {
  TKxDeSmartSnap& snap = *FSnap;
  if (snap.Ready()) return;
  snap.Begin();
  const bool edges = FSmartGuides->SnapEdges();
  const bool centers = FSmartGuides->SnapCenters();
  const bool moving = FEditState == kxesMoving;
  const TKxDeShapeBase* sized = FEditState == kxesSizing ? FDownHit.Shape : nullptr;
  if (moving) {
    for (TKxDeShapeBase* s : FSelections) {
      if (!Movable(s)) continue;
      const TRectF b = s->GetRotatedBounds();
      snap.Moving = snap.HasMoving ? snap.Moving.Union(b) : b;
      snap.HasMoving = true;
    }
  }
  const TRectF area = VisibleArea();
  for (TKxDeLayer* layer : FLayers) {
    if (!layer->Visible() || layer->InDestroy()) continue;
    Index().ForLayer(layer).ItemsIn(area, snap.Scratch);
    for (TKxDeShapeBase* s : snap.Scratch) {
      if (!s->Visible() || s->InDestroy() || s == sized || (moving && IsSelected(s))) continue;
      snap.AddRect(s->GetRotatedBounds(), edges, centers);
    }
  }
  const TRectF page = LayerRect();
  if (FSmartGuides->SnapPage()) snap.AddRect(page, edges, centers);
  if (FSmartGuides->SnapGuides() && FEditOptions.Contains(TKxDeEditOption::kxdoShowGuides)) {
    for (int32_t i = 0; i < FGuides->GetCount(); ++i) {
      const TKxDeGuide* g = FGuides->GetItem(i);
      const auto at = static_cast<float>(g->Position());
      if (g->GuideType() == TKxDeGuideType::kxgtHorizontal) snap.AddY(at, page.Left, page.Right);
      else snap.AddX(at, page.Top, page.Bottom);
    }
  }
  snap.Finish();
}

TKxDeCustomEditor::TSnapResult TKxDeCustomEditor::SnapToShapes(const TRectF& R, bool Point, const TPointF& GridOffset,
                                                               bool GridX, bool GridY, bool FreeX, bool FreeY) const {
  GatherSnapTargets();
  // A rectangle snaps by its edges and its centre as the options say; a point by itself.
  const bool edges = Point || FSmartGuides->SnapEdges();
  const bool center = !Point && FSmartGuides->SnapCenters();
  const auto reach = static_cast<float>(FSmartGuides->Distance() / GetZoom());
  TSnapResult r;
  r.Offset = GridOffset;
  // The shapes win an axis when they are at least as near as the grid (or the grid does not snap it).
  auto choose = [](const TKxDeSmartSnap::TAxisSnap& S, bool Free, bool Grid, float& Offset, bool& Shapes) {
    if (!Free || !S.Found || (Grid && std::abs(S.Delta) > std::abs(Offset))) return;
    Offset = S.Delta;
    Shapes = true;
  };
  choose(FSnap->SnapX(R.Left, R.Right, edges, center, reach), FreeX, GridX, r.Offset.X, r.ShapesX);
  choose(FSnap->SnapY(R.Top, R.Bottom, edges, center, reach), FreeY, GridY, r.Offset.Y, r.ShapesY);
  const TPointF o = r.Offset;
  FSnap->Match(TRectF{R.Left + o.X, R.Top + o.Y, R.Right + o.X, R.Bottom + o.Y}, edges, center);
  return r;
}

TPointF TKxDeCustomEditor::SnapMove(const TPointF& D, const TPointF& G, bool Grid) const {
  GatherSnapTargets();
  if (!FSnap->HasMoving) return G;
  const TRectF& m = FSnap->Moving;
  const TRectF at{m.Left + D.X, m.Top + D.Y, m.Right + D.X, m.Bottom + D.Y};
  return D +
         SnapToShapes(at, false, G - D, Grid && GridSnapsAxis(true), Grid && GridSnapsAxis(false), true, true).Offset;
}

TPointF TKxDeCustomEditor::SnapDraggedPoint(const TKxDeShapeBase* S, int32_t I, const TPointF& D, const TPointF& G,
                                            bool Grid, bool FreeX, bool FreeY) const {
  // Points of a turned shape live in its own frame, where the page's lines do not run straight.
  if (S->Rotation() != 0 || (!FreeX && !FreeY)) return G;
  const TPointF p = S->GetPointValue(I) + D;
  const TSnapResult r =
      SnapToShapes(TRectF::At(p), true, G - D, Grid && GridSnapsAxis(true), Grid && GridSnapsAxis(false), FreeX, FreeY);
  FSnap->Target = TKxDeSmartSnap::TTarget{S, I, r.ShapesX, r.ShapesY, p + r.Offset};
  return D + r.Offset;
}

bool TKxDeCustomEditor::SnappedEnd(const TKxDeShapeBase* S, int32_t I, TPointF& To) const {
  const TKxDeSmartSnap::TTarget& t = FSnap->Target;
  if (FEditState != kxesSizing || t.Shape != S || t.Index != I || (!t.HasX && !t.HasY)) return false;
  if (t.HasX) To.X = t.At.X;
  if (t.HasY) To.Y = t.At.Y;
  return true;
}

TPointF TKxDeCustomEditor::SnapCreationPoint(const TPointF& P, TKxDeShiftKeys Keys) const {
  TPointF g = P;
  const bool grid = GridSnaps(Keys);
  if (grid) CalculateSnapRectangle(P.X, P.Y, g);
  if (!ShapesSnap(Keys)) return g;
  return P +
         SnapToShapes(TRectF::At(P), true, g - P, grid && GridSnapsAxis(true), grid && GridSnapsAxis(false), true, true)
             .Offset;
}

// ---- Lines -----------------------------------------------------------------------------------------

TRect TKxDeCustomEditor::SnapLineRect(const TKxDeSnapLine& L, bool Vertical) const {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const double z = GetZoom();
  const int32_t at = Round32((Vertical ? rf.Left : rf.Top) + L.At * z);
  const int32_t from = Round32((Vertical ? rf.Top : rf.Left) + L.From * z);
  const int32_t to = Round32((Vertical ? rf.Top : rf.Left) + L.To * z);
  return Vertical ? TRect{at, from, at + 1, to + 1} : TRect{from, at, to + 1, at + 1};
}

void TKxDeCustomEditor::RefreshSnapLines() {
  auto refresh = [this](const TKxDeSmartSnap::TLines& Shown, const TKxDeSmartSnap::TLines& Now, bool Vertical) {
    if (Shown == Now) return;
    for (const TKxDeSmartSnap::TLines* lines : {&Shown, &Now})
      for (int32_t i = 0; i < lines->Count; ++i) {
        // A pixel more on each side: the pen's pixels may fall either side of the exact line.
        const TRect q = SnapLineRect(lines->Items[static_cast<size_t>(i)], Vertical);
        update(QRect(q.Left - 1, q.Top - 1, q.Width() + 2, q.Height() + 2));
      }
  };
  refresh(FSnap->ShownX, FSnap->LinesX(), true);
  refresh(FSnap->ShownY, FSnap->LinesY(), false);
  FSnap->ShownX = FSnap->LinesX();
  FSnap->ShownY = FSnap->LinesY();
}

void TKxDeCustomEditor::EndSnap() {
  FSnap->Reset();
  RefreshSnapLines();
}

void TKxDeCustomEditor::DrawSmartGuides(TCanvas* C) {
  if (!FSmartGuides->Enabled() || !FSmartGuides->Draws() ||
      (FEditState != kxesMoving && FEditState != kxesSizing && FEditState != kxesCreateNew))
    return;
  TPen* pen = C->Pen();
  pen->SetColor(FSmartGuides->LineColor());
  pen->SetStyle(FSmartGuides->LineStyle());
  pen->SetMode(FSmartGuides->LineMode());
  pen->SetWidth(1);
  auto draw = [&](const TKxDeSmartSnap::TLines& Lines, bool Vertical) {
    for (int32_t i = 0; i < Lines.Count; ++i) {
      const TRect q = SnapLineRect(Lines.Items[static_cast<size_t>(i)], Vertical);
      C->MoveTo(q.Left, q.Top);
      C->LineTo(Vertical ? q.Left : q.Right, Vertical ? q.Bottom : q.Top);
    }
  };
  draw(FSnap->LinesX(), true);
  draw(FSnap->LinesY(), false);
  pen->SetMode(TPenMode::pmCopy);
}

}  // namespace vorn
