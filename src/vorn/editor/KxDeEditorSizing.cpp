// Sizing and reshaping: dragging a shape's points, its Bezier handles and its own controls, the
// live outline of the shape being sized, and clicks that add or remove points.
//
// A dragged point moves by the drag, not to the pointer: a press anywhere on a handle leaves
// the point where it was until the pointer moves, and a snapped point lands on the grid exactly.
// A rotated shape keeps its points in its own, unturned frame, so the drag is turned into that
// frame first (by quarter turns: a shape turned between two quarters takes the drag of the
// quarter it has passed). Sizing moves the shape's rotation point (the centre of its box); the
// shape is then shifted so that what the drag did not touch stays where it was on the page, as
// the outline drawn during the drag showed it.

#include "vorn/editor/KxDeEditor.h"

#include "vorn/common/Finally_p.h"
#include "vorn/common/KxDeUtils.h"
#include "vorn/editor/KxDeSmartSnap_p.h"
#include "vorn/model/KxDeControl.h"
#include "vorn/model/KxDePoint.h"
#include "vorn/model/KxDeShapeBase.h"

#include <algorithm>
#include <cmath>

namespace vorn {

using enum TKxDeEditState;

namespace {

// A drag on the page as a drag in the frame of a shape turned by Rotation degrees.
TPointF TurnToShape(const TPointF& D, float Rotation) {
  if (Rotation <= 0) return D;
  if (Rotation < 180) return TPointF{-D.Y, D.X};
  if (Rotation < 270) return TPointF{-D.X, -D.Y};
  return TPointF{D.Y, -D.X};
}

bool Proportional(const TKxDeShapeBase* S) {
  return S->ShapeStyle().Contains(TKxDeShapeStyle::kxssProportionnalResize);
}

bool Zero(const TPointF& P) { return P.X == 0 && P.Y == 0; }

TKxDePointType PointTypeOf(TKxDeHitType H) {
  switch (H) {
    case TKxDeHitType::kxhtPoint: return TKxDePointType::kxptPoint;
    case TKxDeHitType::kxhtControl: return TKxDePointType::kxptControl;
    default: return TKxDePointType::kxptPointControl;
  }
}

}  // namespace

// ---- The geometry ----------------------------------------------------------------------------------

TPointF TKxDeCustomEditor::QuantizeFor(const TKxDeShapeBase* S, const TPointF& D) const {
  return S && S->Owner() ? QuantizeDelta(D) : D;
}

void TKxDeCustomEditor::ApplySizing(TKxDeShapeBase* S, int32_t PointIndex, int32_t SubIndex, const TPointF& FromPt,
                                    const TPointF& ToPt, TKxDeShiftKeys Shift) {
  if (!S) return;
  const int32_t n = S->PointCount();
  if (PointIndex < 0) {
    if (S->GetShapeType() != TKxShapeType::kxtyRectangle) return;
    const TPointF f = FromPt;
    TRectF r{f.X, f.Y, ToPt.X, ToPt.Y};
    const bool centred = !FControlKeys.Empty() && Shift == FControlKeys;
    if (centred) {
      const float w = std::abs(ToPt.X - f.X);
      const float h = std::abs(ToPt.Y - f.Y);
      r = TRectF{f.X - w, f.Y - h, f.X + w, f.Y + h};
    }
    S->ArrangeBoundsRect(r);
    const float w = std::abs(r.Right - r.Left);
    const float h = std::abs(r.Bottom - r.Top);
    if (centred) {
      r = TRectF{f.X - w / 2, f.Y - h / 2, f.X + w / 2, f.Y + h / 2};
    } else {
      // Anchored at FromPt, towards the side the pointer went (y grows downwards).
      const bool right = ToPt.X >= f.X;
      const bool up = ToPt.Y < f.Y;
      r = TRectF{right ? f.X : f.X - w, up ? f.Y - h : f.Y, right ? f.X + w : f.X, up ? f.Y : f.Y + h};
    }
    S->SetBounds(std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), w, h);
    return;
  }
  if (PointIndex >= n) {
    S->SetPointValue(PointIndex, S->GetPointValue(PointIndex) + QuantizeFor(S, ToPt - FromPt));
    return;
  }
  TKxDePoint* p = S->Points(PointIndex);
  if (SubIndex < 0) {
    const TPointF raw = ToPt - FromPt;
    TPointF t = FromPt + QuantizeFor(S, raw);
    p->Setdx(raw.X);
    p->Setdy(raw.Y);
    if (S->GetShapeType() == TKxShapeType::kxtyPolyPoints && n > 1 && !Shift.Contains(TKxDeShiftKey::kxskCtrl)) {
      // The segment to the previous point turns level or upright, whichever the drag is nearer.
      const TPointF prev = S->GetPointValue(PointIndex == 0 ? 1 : PointIndex - 1);
      if (std::abs(raw.Y) >= std::abs(raw.X)) t.X = prev.X;
      else t.Y = prev.Y;
    }
    p->SetPosition(t.X, t.Y);
    return;
  }
  if (SubIndex > 1) return;
  TKxDePointControl* c = SubIndex == 0 ? p->Control_1() : p->Control_2();
  if (!c) return;
  const TPointF o = c->GetValue() + (ToPt - FromPt);
  if (Zero(o)) Free(c);  // dragged back onto its point
  else c->SetPosition(o.X, o.Y);
}

void TKxDeCustomEditor::ApplyControlMove(TKxDeShapeBase* S, int32_t ControlIndex, const TPointF& FromPt,
                                         const TPointF& ToPt, TKxDeShiftKeys) {
  if (!S || ControlIndex < 0 || ControlIndex >= S->ControlCount()) return;
  TKxDeControl* c = S->Controls(ControlIndex);
  const TPointF to = c->GetValue() + QuantizeFor(S, ToPt - FromPt);
  c->SetPosition(to.X, to.Y);
}

int32_t TKxDeCustomEditor::GrabbedPoint(const TKxDeShapeBase* S, int32_t I, const TPointF& P, float Size) {
  if (!S || S->Rotation() == 0 || I < 0 || I >= S->PointCount()) return I;
  // The hit test of a turned shape reports its points by the numbering of a turned frame (and
  // takes an unturned point that happens to lie under the pointer): find the handle the user
  // sees there, testing the pointer in the shape's own frame, the topmost (last) point first.
  const TPointF p = TKxDeUtils::RotatePoint(P, -S->Rotation(), S->GetRotationPoint());
  const float reach = std::max(Size, 1.0f) / 2;
  for (int32_t k = S->PointCount() - 1; k >= 0; --k) {
    const TPointF q = S->GetPointValue(k);
    if (std::abs(q.X - p.X) <= reach && std::abs(q.Y - p.Y) <= reach) return k;
  }
  return I;
}

// ---- The gesture -----------------------------------------------------------------------------------

TKxDeShapeBase* TKxDeCustomEditor::SizingShape() const {
  const TKxDeHitTest& h = FDownHit;
  TKxDeShapeBase* s = h.Shape;
  if (FEditState != kxesSizing || !s || h.HitType < TKxDeHitType::kxhtPoint ||
      h.HitType > TKxDeHitType::kxhtPointControl || h.State != TKxDeShapeHitState::kxhsSelected || h.PartIndex < 0 ||
      !IsSelected(s) || s->Locked() || s->InDestroy())
    return nullptr;
  return s;
}

TPointF TKxDeCustomEditor::SizingDrag(TKxDeShiftKeys Shift) {
  FSnap->ClearLines();
  FSnap->Target = {};
  TKxDeShapeBase* s = SizingShape();
  if (!s) return TPointF{};
  const TKxDeHitTest& h = FDownHit;
  TPointF d = QuantizeFor(s, TurnToShape(FHoverHit.Test - h.Test, s->Rotation()));
  if (h.HitType == TKxDeHitType::kxhtPoint && h.SubIndex < 0 && !Zero(d)) {
    TPointF e = d;
    // The axes along which the point still follows the pointer (and may snap to shapes).
    bool freeX = true, freeY = true;
    const bool ctrl = Shift.Contains(TKxDeShiftKey::kxskCtrl);
    const int32_t i = h.PartIndex;
    if (!ctrl && s->GetShapeType() == TKxShapeType::kxtyPolyPoints) {
      const TPointF p = s->GetPointValue(i);
      const TPointF prev = s->GetPointValue(i == 0 ? 1 : i - 1);
      if (std::abs(d.Y) < std::abs(d.X)) {
        e = TPointF{p.X + d.X, prev.Y};
        d.Y = prev.Y - p.Y;
        freeY = false;
      } else {
        e = TPointF{prev.X, p.Y + d.Y};
        d.X = prev.X - p.X;
        freeX = false;
      }
    } else if (!ctrl && Proportional(s)) {
      freeX = freeY = false;
      // The drag follows the box's diagonal: the larger component stays, the other follows it.
      const TRectF b = s->GetBounds();
      const float w = b.Right - b.Left;
      const float hgt = b.Bottom - b.Top;
      if (w != 0 && hgt != 0) {
        const float sign = i == 0 || i == 2 ? 1.0f : -1.0f;
        if (std::abs(d.X) > std::abs(d.Y)) d.Y = sign * d.X * hgt / w;
        else d.X = sign * d.Y * w / hgt;
      }
      e = d;
    }
    TPointF g = d;
    const bool grid = GridSnaps(Shift);
    if (grid) CalculateSnapRectangle(e.X, e.Y, g);
    d = ShapesSnap(Shift) ? SnapDraggedPoint(s, i, d, g, grid, freeX, freeY) : g;
  }
  FDownHit.Pt2 = h.Test + d;
  return d;
}

void TKxDeCustomEditor::SizingMove(TShiftState Shift) {
  const TKxDeShiftKeys k = TKxDeUtils::ShiftToScShift(Shift);
  FSizingKeys = k;
  TKxDeShapeBase* s = FDownHit.Shape;
  const bool held = Shift.Contains(TShiftStateItem::ssLeft) || Shift.Contains(TShiftStateItem::ssRight) ||
                    Shift.Contains(TShiftStateItem::ssMiddle);
  const TKxShapeType type = s ? s->GetShapeType() : TKxShapeType::kxtyRectangle;
  if (held && s && FDownHit.PartIndex >= 0 && FDownHit.PartIndex < s->PointCount() && FDownHit.SubIndex == -1 &&
      !FControlKeys.Empty() && k == FControlKeys &&
      (type == TKxShapeType::kxtyPolyPoints || type == TKxShapeType::kxtyFreeHand) &&
      s->ShapeStyle().Contains(TKxDeShapeStyle::kxssUsesPointControls)) {
    // The drag pulls a Bezier handle out of the point: the second one first, then the first.
    TKxDePoint* q = s->Points(FDownHit.PartIndex);
    auto pull = [&](int32_t Sub) {
      TKxDePointControl* c = Sub == 0 ? q->Control_1() : q->Control_2();
      if (c && !Zero(c->GetValue())) return false;
      if (!c) {
        if (Sub == 0) q->SetControl_1(q->NewControl(0, 0));
        else q->SetControl_2(q->NewControl(0, 0));
      }
      FDownHit.SubIndex = FHoverHit.SubIndex = Sub;
      FDownHit.HitType = FHoverHit.HitType = TKxDeHitType::kxhtPointControl;
      return true;
    };
    if (!pull(1)) pull(0);
  }
  SizingDrag(k);
  if (FSmartGuides->Enabled()) RefreshSnapLines();
  const float dx = FHoverHit.Test.X - FDownHit.Test.X;
  const float dy = FHoverHit.Test.Y - FDownHit.Test.Y;
  if (FMouseSense == 1 || (FDownHit.PartIndex >= 0 && FDownHit.SubIndex >= 0) || std::lround(dx) % FMouseSense == 0 ||
      std::lround(dy) % FMouseSense == 0)
    update();
}

void TKxDeCustomEditor::ExecuteSizing(const TKxDeHitTest& From, const TKxDeHitTest& To, TKxDeShiftKeys Shift) {
  TKxDeShapeBase* s = From.Shape;
  if (!s || !Exists(s) || !IsSelected(s) || s->Locked() || From.PartIndex < 0 || From.Test == To.Test) return;
  const int32_t i = From.PartIndex;
  const TPointF raw = To.Test - From.Test;
  // A constrained end (kept proportions) is already in the shape's frame.
  const TPointF d = Proportional(s) ? raw : TurnToShape(raw, s->Rotation());
  const bool control = From.HitType == TKxDeHitType::kxhtControl && From.SubIndex == -1;
  const bool point = From.HitType == TKxDeHitType::kxhtPoint && From.SubIndex == -1;
  const bool pointControl = From.HitType == TKxDeHitType::kxhtPointControl && i < s->PointCount() && From.SubIndex >= 0;
  if (!control && !point && !pointControl) return;
  BeginUndoGroup();
  TFinally undo([this] { EndUndoGroup(); });
  const TPointF pivot = s->GetRotationPoint();
  NotifyUndo(s, TKxDeAction::kxacSizing, QString());
  {
    s->BeginNotifyLock();
    TFinally unlock([s] { s->EndNotifyLock(); });
    const TPointF p = s->GetPointValue(i);
    if (control) {
      // Controls lie on the page, unturned.
      ApplyControlMove(s, i, From.Test, To.Test, Shift);
    } else if (point) {
      TPointF to = p + d;
      const TPointF q = QuantizeFor(s, d);
      if (GridSnaps(Shift) && !Zero(q)) CalculateSnapRectangle(p.X + q.X, p.Y + q.Y, to);
      // Where the shapes won the snap over the grid, the point lands as the outline showed.
      SnappedEnd(s, i, to);
      ApplySizing(s, i, -1, p, to, Shift);
    } else {
      ApplySizing(s, i, From.SubIndex, p, p + d, Shift);
    }
    // Keep on the page what the drag left alone: the shape turns about a point that moved.
    if (s->Rotation() != 0 && !s->InDestroy()) {
      const TPointF c = s->GetRotationPoint();
      const TPointF shift = TKxDeUtils::RotatePoint(c, s->Rotation(), pivot) - c;
      if (!Zero(shift)) s->MoveBy(shift.X, shift.Y);
    }
  }
  RefreshClientBuffer();
}

// ---- Adding and removing points --------------------------------------------------------------------

void TKxDeCustomEditor::SetPanView() { SetEditState(kxesZoomRect); }

void TKxDeCustomEditor::BeginPointAdd() { SetEditState(kxesAddPoint); }

void TKxDeCustomEditor::EndPointAdd() {
  if (FEditState == kxesAddPoint) SetEditState(kxesNone);
}

void TKxDeCustomEditor::BeginPointRemove() { SetEditState(kxesRemovePoint); }

void TKxDeCustomEditor::EndPointRemove() {
  if (FEditState == kxesRemovePoint) SetEditState(kxesNone);
}

void TKxDeCustomEditor::AddPointAt(const TKxDeHitTest& H, const TPointF& P) {
  TKxDeShapeBase* s = H.Shape;
  if (!s || !IsSelected(s) || !s->ShapeStyle().Contains(TKxDeShapeStyle::kxssAcceptsPoint)) return;
  s->BeginUpdate();
  TFinally done([s] { s->EndUpdate(); });
  // The tolerance is in screen pixels at any zoom: a point is added where the user sees a line.
  if (TKxDePoint* p = s->ApproxInsert(P, FHitFuzz)) s->Select(p);
}

void TKxDeCustomEditor::RemovePointAt(const TKxDeHitTest& H) {
  TKxDeShapeBase* s = H.Shape;
  if (!s || !IsSelected(s) || !s->ShapeStyle().Contains(TKxDeShapeStyle::kxssCanRemovePoint) ||
      H.HitType != TKxDeHitType::kxhtPoint || H.PartIndex < 0 || H.PartIndex >= s->PointCount())
    return;
  BeginUndoGroup();
  TFinally undo([this] { EndUndoGroup(); });
  s->Delete(H.PartIndex);
  if (Exists(s) && s->PointCount() == 0) Free(s);
}

// ---- Feedback --------------------------------------------------------------------------------------

void TKxDeCustomEditor::DrawSelectionSize(TCanvas* C) {
  TKxDeShapeBase* s = SizingShape();
  if (!s || !FDragged || !s->Visible()) return;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const TKxDeDragPoint drag{FDownHit.PartIndex, FDownHit.SubIndex, PointTypeOf(FDownHit.HitType),
                            SizingDrag(FSizingKeys)};
  if (!DrawShapeSelection(s, C, TPointF{rf.Left, rf.Top}, drag, FMoveSize->Data())) {
    // A shape that cannot show the drag is not sized.
    QMetaObject::invokeMethod(this, [this] { Fault(); }, Qt::QueuedConnection);
  }
}

}  // namespace vorn
