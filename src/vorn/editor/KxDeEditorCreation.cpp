// Drawing new shapes: the class the host chose, the gestures that draw one shape after another,
// the default styles a finished shape gets, and the watcher that keeps the editor from touching
// a shape someone else destroyed.
//
// How a shape is drawn depends on its type. A rectangle-type shape is sized from the first press
// to the pointer and finished by the next press (or by the release, for single-click classes). A
// poly-point shape gets a point per press, its last point following the pointer; a class with
// point controls pulls symmetric Bezier handles out of the last point while the button is held.
// A free-hand shape collects the pointer's path while the button is held. The shape belongs to
// no layer meanwhile; the editor draws it as feedback, and inserts it only when it is finished.

#include "vorn/editor/KxDeEditor.h"

#include "vorn/common/Finally_p.h"
#include "vorn/common/KxDeUtils.h"
#include "vorn/editor/EditorLog_p.h"
#include "vorn/editor/KxDeSmartSnap_p.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDePoint.h"
#include "vorn/model/KxDeShapeBase.h"

#include <QMouseEvent>

#include <utility>

namespace vorn {

using enum TKxDeEditState;

namespace {

bool Has(const TKxDeShapeBase* S, TKxDeShapeStyle Style) { return S->ShapeStyle().Contains(Style); }

// A poly-point class that pulls Bezier handles out of its points while it is drawn.
bool PullsControls(const TKxDeShapeBase* S) {
  return S->GetShapeType() == TKxShapeType::kxtyPolyPoints && Has(S, TKxDeShapeStyle::kxssUsesPointControls) &&
         !Has(S, TKxDeShapeStyle::kxssSingleClickCreation);
}

bool HeldButton(TShiftState S) {
  return S.Contains(TShiftStateItem::ssLeft) || S.Contains(TShiftStateItem::ssRight) ||
         S.Contains(TShiftStateItem::ssMiddle);
}

}  // namespace

// ---- Class and default styles ----------------------------------------------------------------------

void TKxDeCustomEditor::SetNewShapeClass(TKxDeShapeClass C) {
  if (C == FNewShapeClass) return;
  FNewShapeClass = C;
  if (C) {
    SetEditState(kxesCreateNew);
  } else {
    CancelNewShape();
  }
  DoNewShapeClass();
}

void TKxDeCustomEditor::SetDefaultBrush(const TKxDeShapeBrush* Value) { FDefaultBrush->Assign(Value); }
void TKxDeCustomEditor::SetDefaultPen(const TKxDeShapePen* Value) { FDefaultPen->Assign(Value); }
void TKxDeCustomEditor::SetDefaultFont(const TKxDeShapeFont* Value) { FDefaultFont->Assign(Value); }

void TKxDeCustomEditor::DoNewShapeClass() {
  ClientsNewShapeClass();
  CallEvent(OnNewShapeClass, this);
}

void TKxDeCustomEditor::DoNewShape(TKxDeShapeBase* S) {
  ClientsNewShape(S);
  CallEvent(OnNewShape, this, S);
}

void TKxDeCustomEditor::DoEndNewShape(TKxDeShapeBase*& S) {
  ClientsEndNewShape(S);
  CallEvent(OnEndNewShape, this, S);
}

// ---- The shape's life ------------------------------------------------------------------------------

void TKxDeCustomEditor::CreateNewShape() {
  EndNewShape();
  HandleActiveLayer();
  // The handler may change the class, or clear it so that nothing is made.
  CallEvent(OnBeforeCreateNewShape, this, FNewShapeClass);
  if (!FNewShapeClass || !HandleActiveLayer()) return;
  SetEditState(kxesCreateNew);
  TKxDeShapeBase* s = FNewShapeClass->Construct<TKxDeShapeBase>(static_cast<TKxDeSurface*>(this),
                                                                static_cast<TKxDeContainer*>(nullptr));
  if (!s) {
    qCDebug(lcEditor) << "class" << FNewShapeClass->ClassName() << "cannot be constructed";
    return;
  }
  FNewShape = s;
  FShapeWatcher->RegisterShape(s);
  ++FCreationCount;
  s->SetBounds(0, 0, 0, 0);
  // Open until the shape is finished: drawing it changes nothing anyone hears of.
  s->BeginUpdate();
  DoNewShape(s);
}

void TKxDeCustomEditor::EndNewShape() {
  ResetHittest(FCreateAnchor);
  if (FEditState != kxesCreateNew || !FNewShape) return;
  // The next shape snaps to this one as well.
  EndSnap();
  TKxDeShapeBase* s = std::exchange(FNewShape, nullptr);
  FShapeWatcher->UnregisterShape(s);
  // Nothing drawn: a rectangle without extent, a poly-point shape without points.
  if (s->GetShapeType() == TKxShapeType::kxtyRectangle) {
    const TRectF b = s->GetBounds();
    if (b.Width() == 0 && b.Height() == 0) {
      Free(s);
      update();
      return;
    }
  } else if (s->GetShapeType() == TKxShapeType::kxtyPolyPoints) {
    // Consecutive points at one place collapse to the first of them (which keeps its handles).
    for (int32_t i = s->PointCount() - 1; i >= 1; --i) {
      const TPointF a = s->PointValue(i - 1);
      const TPointF b = s->PointValue(i);
      if (a.X == b.X && a.Y == b.Y) s->Delete(i);
    }
    if (s->PointCount() == 0) {
      Free(s);
      update();
      return;
    }
  }
  if (Has(s, TKxDeShapeStyle::kxssUsesBrush)) s->Brush()->Assign(FDefaultBrush.get());
  if (Has(s, TKxDeShapeStyle::kxssUsesFont)) s->Font()->Assign(FDefaultFont.get());
  if (Has(s, TKxDeShapeStyle::kxssUsesPen)) {
    if (Has(s, TKxDeShapeStyle::kxssNoPenWidth)) s->Pen()->AssignRec2(FDefaultPen.get());
    else s->Pen()->AssignRec(FDefaultPen->ToRec());
  }
  HandleActiveLayer();
  s->Refine(static_cast<float>(GetZoom()));
  s->EndUpdate();
  // Handlers may destroy the shape or put another in its place: the watcher follows.
  FFinishing = s;
  FShapeWatcher->RegisterShape(s);
  TKxDeShapeBase* told = s;
  DoEndNewShape(told);
  if (told != s && FFinishing == s) RedefineNewShape(told);
  if (TKxDeShapeBase* done = std::exchange(FFinishing, nullptr)) {
    FShapeWatcher->UnregisterShape(done);
    if (TKxDeLayer* layer = HandleActiveLayer()) {
      BeginUndoGroup();
      TFinally undo([this] { EndUndoGroup(); });
      layer->Add(done);
      Select(done);
    } else {
      Free(done);
    }
  }
  update();
}

void TKxDeCustomEditor::RedefineNewShape(TKxDeShapeBase* Shape) {
  if (!FFinishing || Shape == FFinishing) return;
  TKxDeShapeBase* old = std::exchange(FFinishing, Shape);
  FShapeWatcher->UnregisterShape(old);
  Free(old);
  if (Shape) FShapeWatcher->RegisterShape(Shape);
}

void TKxDeCustomEditor::CancelNewShape() {
  ResetHittest(FCreateAnchor);
  DropNewShape();
  SetEditState(kxesNone);
  update();
}

void TKxDeCustomEditor::RestartNewShape() {
  ResetHittest(FCreateAnchor);
  EndSnap();
  DropNewShape();
  FDragged = false;
  update();
}

void TKxDeCustomEditor::DropNewShape() {
  if (!FNewShape) return;
  TKxDeShapeBase* s = std::exchange(FNewShape, nullptr);
  FShapeWatcher->UnregisterShape(s);
  Free(s);
}

void TKxDeCustomEditor::WatchedShapeDestroyed(TKxDeShapeBase* S) {
  if (S == FNewShape) {
    FNewShape = nullptr;
    ResetHittest(FCreateAnchor);
  }
  if (S == FFinishing) FFinishing = nullptr;
}

// ---- Gestures --------------------------------------------------------------------------------------

TPointF TKxDeCustomEditor::CreationPoint(const TPointF& Test, bool Snap, TKxDeShiftKeys Keys) const {
  const TPointF p = LayerPoint(Test);
  return Snap ? SnapCreationPoint(p, Keys) : p;
}

void TKxDeCustomEditor::CreationPress(TMouseButton Button, TShiftState Shift) {
  const TKxDeShiftKeys keys = TKxDeUtils::ShiftToScShift(Shift);
  const TPointF p = CreationPoint(FDownHit.Test, true, keys);
  if (Button == TMouseButton::mbRight) {
    // Ends any creation with its last point where the pointer is.
    if (!FNewShape || !FEditOptions.Contains(TKxDeEditOption::kxdoRightClickEndsCreation)) return;
    const bool poly = FNewShape->GetShapeType() == TKxShapeType::kxtyPolyPoints;
    SizeNewShape(poly ? FNewShape->PointCount() - 1 : -1, p, keys);
    EndNewShape();
    return;
  }
  ClearSelection();
  if (!FNewShape) {
    CreateNewShape();
    if (!FNewShape) return;
    SetHotShape(nullptr);
    TKxDeShapeBase* s = FNewShape;
    if (FEditOptions.Contains(TKxDeEditOption::kxdoSnapToGrid)) s->SnapBounds(p.X, p.Y, 0, 0);
    else s->SetBounds(p.X, p.Y, 0, 0);
    // A poly-point shape starts as a segment of no length, its end following the pointer.
    const int32_t wanted = s->GetShapeType() == TKxShapeType::kxtyPolyPoints ? 2
                           : s->GetShapeType() == TKxShapeType::kxtyFreeHand ? 1
                                                                             : 0;
    while (s->PointCount() < wanted) s->Add(p.X, p.Y);
    FCreateAnchor.Test = FCreateAnchor.Pt2 = p;
    FCreateAnchor.Shape = s;
    return;
  }
  switch (FNewShape->GetShapeType()) {
    case TKxShapeType::kxtyRectangle:
      SizeNewShape(-1, p, keys);
      EndNewShape();
      break;
    case TKxShapeType::kxtyPolyPoints:
      if (FEditOptions.Contains(TKxDeEditOption::kxdoLeftClickEndsCreation) ||
          (Shift.Contains(TShiftStateItem::ssDouble) &&
           FEditOptions.Contains(TKxDeEditOption::kxdoDblClickEndsCreation)))
        EndNewShape();
      else RepeatLastPoint();
      break;
    case TKxShapeType::kxtyFreeHand: break;
  }
}

void TKxDeCustomEditor::CreationMove(TShiftState Shift) {
  TKxDeShapeBase* s = FNewShape;
  if (!s) return;
  FDragged = true;
  const bool held = FCreationHeld = HeldButton(Shift);
  const TKxDeShiftKeys keys = TKxDeUtils::ShiftToScShift(Shift);
  FSnap->ClearLines();
  switch (s->GetShapeType()) {
    case TKxShapeType::kxtyRectangle:
      SizeNewShape(-1, CreationPoint(FHoverHit.Test, true, keys), keys);
      break;
    case TKxShapeType::kxtyPolyPoints:
      if (held && PullsControls(s)) PullControls(LayerPoint(FHoverHit.Test));
      else SizeNewShape(s->PointCount() - 1, CreationPoint(FHoverHit.Test, true, keys), keys);
      break;
    case TKxShapeType::kxtyFreeHand:
      if (held) {
        const TPointF p = LayerPoint(FHoverHit.Test);
        s->Add(p.X, p.Y);
      }
      break;
  }
  RefreshSnapLines();
  update();
}

void TKxDeCustomEditor::CreationRelease(TShiftState Shift, const TPointF& V) {
  TKxDeShapeBase* s = FNewShape;
  FCreationHeld = false;
  if (!s) return;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const TPointF test{V.X - r.Left, V.Y - r.Top};
  if (PullsControls(s)) {
    // Handles were pulled out of the last point: the next point starts there.
    const int32_t n = s->PointCount();
    TKxDePoint* last = n > 0 ? s->Points(n - 1) : nullptr;
    if (last && last->Control_1() && last->Control_2()) RepeatLastPoint();
    return;
  }
  if (s->GetShapeType() == TKxShapeType::kxtyFreeHand) {
    const TPointF p = LayerPoint(test);
    s->Add(p.X, p.Y);
    EndNewShape();
  } else if (Has(s, TKxDeShapeStyle::kxssSingleClickCreation)) {
    const bool poly = s->GetShapeType() == TKxShapeType::kxtyPolyPoints;
    const TKxDeShiftKeys keys = TKxDeUtils::ShiftToScShift(Shift);
    SizeNewShape(poly ? s->PointCount() - 1 : -1, CreationPoint(test, true, keys), keys);
    EndNewShape();
  }
}

void TKxDeCustomEditor::RepeatLastPoint() {
  TKxDeShapeBase* s = FNewShape;
  const int32_t n = s ? s->PointCount() : 0;
  if (n == 0) return;
  const TPointF p = s->PointValue(n - 1);
  s->Add(p.X, p.Y);
}

void TKxDeCustomEditor::SizeNewShape(int32_t PointIndex, const TPointF& To, TKxDeShiftKeys Shift) {
  // The shape in progress has no container yet, so the drag is not rounded to MouseSense.
  ApplySizing(FNewShape, PointIndex, -1, FCreateAnchor.Test, To, Shift);
}

void TKxDeCustomEditor::PullControls(const TPointF& P) {
  TKxDeShapeBase* s = FNewShape;
  int32_t n = s ? s->PointCount() : 0;
  if (n == 0) return;
  // The point added by the press sits on its predecessor: the handles belong to that one.
  if (n > 1) {
    const TPointF a = s->PointValue(n - 2);
    const TPointF b = s->PointValue(n - 1);
    if (a.X == b.X && a.Y == b.Y) s->Delete(--n);
  }
  TKxDePoint* q = s->Points(n - 1);
  q->BeginUpdate();
  TFinally done([q] { q->EndUpdate(); });
  if (!q->Control_1()) q->SetControl_1(q->NewControl(0, 0));
  if (!q->Control_2()) q->SetControl_2(q->NewControl(0, 0));
  const float dx = P.X - q->x();
  const float dy = P.Y - q->y();
  q->Control_1()->SetPosition(-dx, -dy);
  q->Control_2()->SetPosition(dx, dy);
}

void TKxDeCustomEditor::mouseDoubleClickEvent(QMouseEvent* Event) {
  TKxDeSurface::mouseDoubleClickEvent(Event);
  const QPoint p = Event->position().toPoint();
  if (!InClientArea(p.x(), p.y())) return;
  TShiftState shift = ShiftStateOf(Event->modifiers(), Event->buttons());
  shift.Include(TShiftStateItem::ssDouble);
  const TMouseButton button = Event->button() == Qt::RightButton    ? TMouseButton::mbRight
                              : Event->button() == Qt::MiddleButton ? TMouseButton::mbMiddle
                                                                    : TMouseButton::mbLeft;
  MouseDown(button, shift, p.x(), p.y());
}

// ---- Feedback --------------------------------------------------------------------------------------

void TKxDeCustomEditor::DrawNewCreation(TCanvas* C) {
  TKxDeShapeBase* s = FNewShape;
  if (!s || !FDragged) return;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  TKxDeDragPoint drag;
  // While handles are pulled out of the last point, the shape shows them.
  if (FCreationHeld && PullsControls(s) && s->PointCount() > 0) {
    drag.PartIndex = s->PointCount() - 1;
    drag.SubIndex = 3;
    drag.PointType = TKxDePointType::kxptPointControl;
  }
  // A shape that cannot show itself is dropped once the painting is over.
  if (!DrawShapeSelection(s, C, TPointF{rf.Left, rf.Top}, drag, FMoveSize->Data()))
    QMetaObject::invokeMethod(
        this, [this] { RestartNewShape(); }, Qt::QueuedConnection);
}

}  // namespace vorn
