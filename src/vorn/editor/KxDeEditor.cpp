// The editor's settings, its state machine and the gestures of the mouse and the keyboard.

#include "vorn/editor/KxDeEditor.h"

#include "vorn/common/Finally_p.h"
#include "vorn/common/KxDeUtils.h"
#include "vorn/common/Units.h"
#include "vorn/editor/EditorLog_p.h"
#include "vorn/editor/KxDeEditorClient.h"
#include "vorn/editor/KxDeEditorNavigation_p.h"
#include "vorn/editor/KxDeSmartSnap_p.h"
#include "vorn/editor/KxDeToolBase.h"
#include "vorn/model/KxDeShapeBase.h"
#include "vorn/model/ShapePrefetch_p.h"
#include "vorn/surface/KxDeSurfaceIndex_p.h"

#include <QElapsedTimer>
#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>
#include <exception>

namespace vorn {

Q_LOGGING_CATEGORY(lcEditor, "vorn.editor")

using enum TKxDeEditState;

namespace {

// Every option except the cursor guide and ending creations with any left click.
constexpr uint32_t DefaultEditOptions = 1791;

bool ButtonHeld(TShiftState S) {
  return S.Contains(TShiftStateItem::ssLeft) || S.Contains(TShiftStateItem::ssRight) ||
         S.Contains(TShiftStateItem::ssMiddle);
}

// States that a press does not reset and a release does not end.
bool Sticky(TKxDeEditState S) { return S == kxesZoomRect || (S >= kxesToolEdit && S <= kxesRemovePoint); }

}  // namespace

const TClass* TKxDeCustomEditor::ClassType() const { return ClassOf<TKxDeCustomEditor>(); }
const TClass* TKxDeEditor::ClassType() const { return ClassOf<TKxDeEditor>(); }

TKxDeCustomEditor::TKxDeCustomEditor(QWidget* Parent)
    : TKxDeSurface(Parent),
      FSnap(std::make_unique<TKxDeSmartSnap>()),
      FEditOptions(TKxDeEditOptions::FromInt(DefaultEditOptions)),
      FSelection(Create<TKxDeSelectionProps>()),
      FHottrack(Create<TKxDeHottrackProps>()),
      FSelectionRect(Create<TKxDeSelectionRectProperties>()),
      FMoveSize(Create<TKxDeMoveSizeProps>()),
      FSmartGuides(Create<TKxDeSmartGuidesProps>()),
      FShapeWatcher(Create<TKxDeShapeNotifier>()),
      FDefaultBrush(Create<TKxDeShapeBrush>()),
      FDefaultPen(Create<TKxDeShapePen>()),
      FDefaultFont(Create<TKxDeShapeFont>()),
      FRulers(Create<TKxDeRulers>()),
      FGuides(Create<TKxDeGuides>()),
      FGuide(Create<TKxDeGuideProperties>()),
      FCursorGuide(Create<TKxDeGuideProperties>()) {
  ConnectRulers();
  FShapeWatcher->OnDestroy = [this](TObject*, TKxDeShapeBase* S) { WatchedShapeDestroyed(S); };
  FDefaultBrush->OnChange = [this](TObject*) { DoDefBrushChanged(); };
  FDefaultPen->OnChange = [this](TObject*) { DoDefPenChanged(); };
  FDefaultFont->OnChange = [this](TObject*) { DoDefFontChanged(); };
  // Handles live in the client buffer; the rest is drawn at each paint.
  FSelection->OnChange = [this](TObject*) { RefreshClientBuffer(); };
  auto repaint = [this](TObject*) { update(); };
  FHottrack->OnChange = repaint;
  FSelectionRect->OnChange = repaint;
  FMoveSize->OnChange = repaint;
  // The targets of a gesture in progress are gathered again with the new settings.
  FSmartGuides->OnChange = [this](TObject*) {
    EndSnap();
    update();
  };
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  SetBufferedPaint(true);
  installEventFilter(new TKxDeEditorNavigation(this));
  InitiateBuffer(FUndoBuf, "undobuf");
  InitiateBuffer(FRedoBuf, "redobuf");
  InitiateClipViewer();
}

TKxDeCustomEditor::~TKxDeCustomEditor() {
  // The host's tool outlives the editor; it only forgets it.
  if (FCurrentTool) std::exchange(FCurrentTool, nullptr)->FEditor = nullptr;
  DropNewShape();
  BeforeDestruction();
}

// ---- Settings --------------------------------------------------------------------------------------

void TKxDeCustomEditor::SetEditOptions(TKxDeEditOptions Value) {
  if (FEditOptions == Value) return;
  FEditOptions = Value;
  if (!Value.Contains(TKxDeEditOption::kxdoCanUndo)) {
    ClearUndo();
    ClearRedo();
  }
  UpdateSelection();
  RefreshClientBuffer();
  UpdateHottrack();
  update();
}

void TKxDeCustomEditor::SetMouseSense(int32_t Value) { FMouseSense = static_cast<uint8_t>(std::clamp(Value, 1, 255)); }

void TKxDeCustomEditor::SetKeyMoveSizeStep(float Value) { FKeyMoveSizeStep = std::clamp(Value, 0.0f, 100.0f); }

void TKxDeCustomEditor::SetSelectionRectKeys(TKxDeShiftKeys Value) {
  FSelectionRectKeys = Value.Empty() ? TKxDeShiftKeys{TKxDeShiftKey::kxskShift} : Value;
}

void TKxDeCustomEditor::SetMultiSelectKeys(TKxDeShiftKeys Value) {
  FMultiSelectKeys = Value.Empty() ? TKxDeShiftKeys{TKxDeShiftKey::kxskCtrl} : Value;
}

void TKxDeCustomEditor::SetControlKeys(TKxDeShiftKeys Value) {
  FControlKeys = Value.Empty() ? TKxDeShiftKeys{TKxDeShiftKey::kxskAlt} : Value;
}

void TKxDeCustomEditor::SetEditorOrientation(TKxDeEditorOrient Value) {
  if (FEditorOrientation == Value) return;
  FEditorOrientation = Value;
  update();
  ForEachEditorClient([](TKxDeEditorClient* C) { C->DoOrientChange(); });
}

// ---- State -----------------------------------------------------------------------------------------

void TKxDeCustomEditor::SetEditState(TKxDeEditState S) {
  const bool acts = FEditOptions.Contains(TKxDeEditOption::kxdoCanSelect) ||
                    FEditOptions.Contains(TKxDeEditOption::kxdoMouseActions);
  if (!acts && S >= kxesRectSelect && S <= kxesRemovePoint) S = kxesNone;
  if (S == FEditState) return;
  if (S != kxesCreateNew && FNewShapeClass) {
    FNewShapeClass = nullptr;
    DoNewShapeClass();
  }
  FEditState = S;
  EndSnap();
  if (S != kxesZoomRect && !(S >= kxesToolEdit && S <= kxesRemovePoint)) ResetHittest(FCreateAnchor);
  if (S == kxesNone) {
    FCreationCount = 0;
    ResetHittest(FDownHit);
    if (!FEditOptions.Contains(TKxDeEditOption::kxdoHottrack)) ResetHittest(FHoverHit);
    FDragged = false;
    FToolGesture = false;
    if (FCurrentTool) SetCurrentTool(nullptr);
    DropNewShape();
  }
  UpdateHottrack();
  update();
  UpdateCursor(ViewPoint(FPointerPos.X, FPointerPos.Y));
  DoEditStateChanged();
  ForEachEditorClient([](TKxDeEditorClient* C) { C->DoEditStateChange(); });
  CallEvent(OnEditStateChange, this);
}

void TKxDeCustomEditor::DoEditStateChanged() {}

void TKxDeCustomEditor::Fault() {
  FFaulted = true;
  if (FEditState != kxesNone && !Sticky(FEditState)) SetEditState(kxesNone);
  update();
}

// ---- Geometry --------------------------------------------------------------------------------------

TPointF TKxDeCustomEditor::ViewPoint(int32_t X, int32_t Y) const {
  return ScreenToWorld(TPointF{static_cast<float>(X), static_cast<float>(Y)});
}

TPointF TKxDeCustomEditor::LayerPoint(const TPointF& Test) const {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  return TPointF{Test.X + r.Left - rf.Left, Test.Y + r.Top - rf.Top};
}

void TKxDeCustomEditor::CalculateSnapRectangle(float X, float Y, TPointF& P) const {
  auto correction = [](float V, float G) {
    // Round halves to even, as the grid lines are numbered.
    const float r = V - static_cast<float>(std::nearbyint(std::nearbyint(V / G) * G));
    return r < G / 2 ? -r : G - r;
  };
  const float gx = Grid()->X() * CoordsPixelsPerMMConvertValue;
  const float gy = Grid()->Y() * CoordsPixelsPerMMConvertValue;
  if (std::trunc(gx) > 1) P.X += correction(X, gx);
  if (std::trunc(gy) > 1) P.Y += correction(Y, gy);
}

TPointF TKxDeCustomEditor::QuantizeDelta(const TPointF& D) const {
  if (FMouseSense <= 1) return D;
  auto q = [m = static_cast<int64_t>(FMouseSense)](float C) {
    const auto f = static_cast<int64_t>(std::floor(C));
    return static_cast<float>(f - f % m);  // the remainder takes the sign of f
  };
  return TPointF{q(D.X), q(D.Y)};
}

TPointF TKxDeCustomEditor::GestureMove(const TPointF& From, const TPointF& To, TKxDeShiftKeys Keys) const {
  const TPointF d = QuantizeDelta(TPointF{To.X - From.X, To.Y - From.Y});
  TPointF g = d;
  const bool grid = GridSnaps(Keys) && (d.X != 0 || d.Y != 0);
  if (grid) {
    const TRectF b = GetSelectionBounds();
    CalculateSnapRectangle(b.Left + d.X, b.Top + d.Y, g);
  }
  if (!ShapesSnap(Keys)) {
    FSnap->ClearLines();
    return g;
  }
  return SnapMove(d, g, grid);
}

bool TKxDeCustomEditor::Movable(const TKxDeShapeBase* S) { return S->Visible() && !S->Locked() && !S->InDestroy(); }

// ---- Gestures --------------------------------------------------------------------------------------

void TKxDeCustomEditor::ExecuteHitAction(TKxDeEditState State, const TKxDeHitTest& From, const TKxDeHitTest& To,
                                         TKxDeShiftKeys Shift) {
  const TRectF ordered{std::min(From.Test.X, To.Test.X), std::min(From.Test.Y, To.Test.Y),
                       std::max(From.Test.X, To.Test.X), std::max(From.Test.Y, To.Test.Y)};
  switch (State) {
    case kxesRectSelect:
      if (FEditOptions.Contains(TKxDeEditOption::kxdoCanSelect) && !LayerRect().IsEmpty() && !ordered.IsEmpty() &&
          LayerCount() > 0)
        SelectIn(ordered, false);
      break;
    case kxesZoomRect:
      if (!LayerRect().IsEmpty()) {
        ZoomRect(ordered);
        update();
      }
      break;
    case kxesMoving:
      if (FEditOptions.Contains(TKxDeEditOption::kxdoMouseActions) && !FSelections.empty())
        MoveSelection(GestureMove(From.Test, To.Test, Shift));
      break;
    case kxesSizing:
      ExecuteSizing(From, To, Shift);
      break;
    case kxesNewGuide:
    case kxesDragGuide:
      ExecuteGuideAction(State, From, To);
      break;
    default:
      break;
  }
}

void TKxDeCustomEditor::MoveSelection(const TPointF& D) { ChangeSelection(D, false, true); }

void TKxDeCustomEditor::ChangeSelection(const TPointF& D, bool Resize, bool LastFirst) {
  ChangeSelected(LastFirst, [&](TKxDeShapeBase* S, size_t) {
    if (Resize) S->ResizeBy(D.X, D.Y);
    else S->MoveByWithRef(D.X, D.Y);
  });
}

void TKxDeCustomEditor::ChangeSelected(bool LastFirst, const std::function<void(TKxDeShapeBase*, size_t)>& Change) {
  if (FSelections.empty()) return;
  BeginUndoGroup();
  TFinally undo([this] { EndUndoGroup(); });
  BeginUpdate();
  TFinally update([this] { EndUpdate(); });
  // A shape's change may change the list (a host handler deselecting it): walk a copy.
  const std::vector<TKxDeShapeBase*> shapes = FSelections;
  // Selected shapes lie anywhere in memory: fetching what their changes read a few shapes ahead
  // hides most of the wait for it when thousands move at once.
  const size_t n = shapes.size();
  const auto ahead = [&](size_t K, size_t Distance) -> TKxDeShapeBase* {
    if (K + Distance >= n) return nullptr;
    return shapes[LastFirst ? n - 1 - K - Distance : K + Distance];
  };
  for (size_t k = 0; k < n; ++k) {
    const size_t i = LastFirst ? n - 1 - k : k;
    if (TKxDeShapeBase* a = ahead(k, 12)) TShapePrefetch::Object(a);
    if (TKxDeShapeBase* a = ahead(k, 8)) {
      TShapePrefetch::PointArray(a);
      Index().Prefetch(a);
    }
    if (TKxDeShapeBase* a = ahead(k, 4)) TShapePrefetch::Points(a);
    TKxDeShapeBase* s = shapes[i];
    if (!Exists(s) || !Movable(s)) continue;
    NotifyUndo(s, TKxDeAction::kxacSizing, QString());
    s->BeginNotifyLock();
    TFinally unlock([s] { s->EndNotifyLock(); });
    Change(s, i);
  }
  RefreshClientBuffer();
}

TPointF TKxDeCustomEditor::TrackPointer(int32_t X, int32_t Y) {
  FPointerPos = TPoint{X, Y};
  FPointerSeen = true;
  const TPointF v = ViewPoint(X, Y);
  UpdateCursor(v);
  if (!FEditOptions.Contains(TKxDeEditOption::kxdoMouseActions)) SetEditState(kxesNone);
  return v;
}

void TKxDeCustomEditor::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  const TPointF v = TrackPointer(X, Y);
  if (FEditOptions.Contains(TKxDeEditOption::kxdoMouseActions) && !InUpdate()) {
    if (!hasFocus() && focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
    // In a window that is not active yet the focus is the window's focus widget.
    if (hasFocus() || window()->focusWidget() == this) PressAt(Button, Shift, v);
  }
  TKxDeSurface::MouseDown(Button, Shift, X, Y);
  UpdateCursor(v);
}

void TKxDeCustomEditor::PressAt(TMouseButton Button, TShiftState Shift, const TPointF& V) {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  ResetHittest(FDownHit);
  FDownHit.Test = FDownHit.Pt2 = TPointF{V.X - r.Left, V.Y - r.Top};
  FHoverHit = FDownHit;
  if (!Sticky(FEditState)) SetEditState(kxesNone);
  if (r.IsEmpty()) return;
  const TKxDeShiftKeys k = TKxDeUtils::ShiftToScShift(Shift);
  FFaulted = false;
  FDragged = false;
  TKxDeHitTest h = HitCase(V, FEditState, k);
  if (FFaulted) return;
  if (Button != TMouseButton::mbLeft && Button != TMouseButton::mbRight) return;
  if (!FEditOptions.Contains(TKxDeEditOption::kxdoCanSelect) &&
      !FEditOptions.Contains(TKxDeEditOption::kxdoMouseActions))
    return;
  // The hot shape's handles show while it is not selected, but a press only takes its body.
  if (h.Shape && h.Shape == FHotShape && !IsSelected(h.Shape) &&
      (h.HitType == TKxDeHitType::kxhtShape || h.HitType == TKxDeHitType::kxhtPoint)) {
    h.PartIndex = -1;
    h.HitType = TKxDeHitType::kxhtShape;
  }
  if (h.HitType == TKxDeHitType::kxhtPoint)
    h.PartIndex = GrabbedPoint(h.Shape, h.PartIndex, LayerPoint(h.Test),
                               static_cast<float>(FSelection->PointSize() / GetZoom()));
  FDownHit = h;
  FHoverHit = h;
  SetHotShape(nullptr);
  if (Button == TMouseButton::mbRight) {
    if (FEditState == kxesNone && h.Shape && !IsSelected(h.Shape)) Select(h.Shape);
    if (FEditState == kxesCreateNew) CreationPress(Button, Shift);
    return;
  }
  if (FEditState == kxesToolEdit) {
    ToolPress(LayerPoint(h.Test));
    return;
  }
  if (FEditState != kxesZoomRect && FEditState != kxesCreateNew && h.HitType == TKxDeHitType::kxhtOrientIcon) {
    SetEditState(kxesOrientIcon);
    return;
  }
  if (FEditState != kxesZoomRect && FEditState != kxesCreateNew &&
      (h.HitType == TKxDeHitType::kxhtRulerHorz || h.HitType == TKxDeHitType::kxhtRulerVert ||
       h.HitType == TKxDeHitType::kxhtGuide)) {
    if (FEditOptions.Contains(TKxDeEditOption::kxdoShowGuides))
      SetEditState(h.HitType == TKxDeHitType::kxhtGuide ? kxesDragGuide : kxesNewGuide);
    return;
  }
  BeginUpdate();
  TFinally done([this] { EndUpdate(); });
  if (FEditState == kxesCreateNew) {
    CreationPress(Button, Shift);
    return;
  }
  const bool multi = k == FMultiSelectKeys;
  const bool onHandle = h.State == TKxDeShapeHitState::kxhsSelected && h.PartIndex >= 0;
  // A handle of a selected shape: its point becomes (one of) the picked points and sizing starts.
  auto pickPoint = [&](bool Toggle) {
    TKxDePoint* p = h.HitType == TKxDeHitType::kxhtPoint && h.PartIndex < h.Shape->PointCount()
                        ? h.Shape->Points(h.PartIndex)
                        : nullptr;
    if (Toggle && p && h.Shape->IsSelected(p)) {
      h.Shape->RemoveSelection(p);
      return false;
    }
    if (p) {
      if (Toggle) h.Shape->AddSelection(p);
      else h.Shape->Select(p);
    }
    return true;
  };
  if (FEditState != kxesZoomRect && FEditState != kxesToolEdit && FEditState != kxesCreateNew && !k.Empty() &&
      k == FSelectionRectKeys) {
    if (!h.Shape) {
      if (FEditOptions.Contains(TKxDeEditOption::kxdoCanSelect)) SetEditState(kxesRectSelect);
    } else if (!IsSelected(h.Shape)) {
      if (multi) {
        AddSelection(h.Shape);
        SetEditState(kxesMoving);
      }
    } else if (onHandle) {
      pickPoint(multi);
      SetEditState(kxesSizing);
    } else if (multi) {
      RemoveSelection(h.Shape);
      SetEditState(kxesRectSelect);
    }
    return;
  }
  // A press that removes a shape's last point removes the shape (and ends the state): the
  // press ends there.
  if (FEditState == kxesRemovePoint) return RemovePointAt(h);
  if (FEditState == kxesAddPoint) return AddPointAt(h, LayerPoint(h.Test));
  if (FEditState != kxesNone) return;
  if (h.Shape && IsSelected(h.Shape)) {
    if (onHandle) {
      if (pickPoint(multi)) SetEditState(kxesSizing);
    } else if (multi) {
      RemoveSelection(h.Shape);
    } else {
      SetEditState(kxesMoving);
    }
  } else if (h.Shape) {
    if (multi) AddSelection(h.Shape);
    else Select(h.Shape);
    SetEditState(kxesMoving);
  } else {
    Select(nullptr);
    SetEditState(kxesRectSelect);
  }
}

void TKxDeCustomEditor::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  const TPointF v = TrackPointer(X, Y);
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  if (FEditOptions.Contains(TKxDeEditOption::kxdoMouseActions) && !InUpdate()) {
    ResetHittest(FHoverHit);
    FHoverHit.Test = FHoverHit.Pt2 = TPointF{v.X - r.Left, v.Y - r.Top};
    if (!r.IsEmpty()) {
      const bool acts = FEditOptions.Contains(TKxDeEditOption::kxdoCanSelect) ||
                        FEditOptions.Contains(TKxDeEditOption::kxdoMouseActions);
      // The ruler marks follow the pointer; in the rulers' corner the cross-hair stays put.
      const bool marks = TrackRulers(X, Y);
      const bool corner = marks && FEditOptions.Contains(TKxDeEditOption::kxdoShowCursorGuide) && InRulerCorner(X, Y);
      if ((FEditState == kxesNone && !ButtonHeld(Shift)) || !acts) {
        TKxDeShapeBase* hot = FHotShape;
        Hover(v, X, Y);
        if (hot == FHotShape) FollowPointer(marks, corner);
      } else {
        FHoverHit.Shape = FDownHit.Shape;
        FHoverHit.PartIndex = FDownHit.PartIndex;
        FHoverHit.SubIndex = FDownHit.SubIndex;
        FHoverHit.HitType = FDownHit.HitType;
        const float dx = FHoverHit.Test.X - FDownHit.Test.X;
        const float dy = FHoverHit.Test.Y - FDownHit.Test.Y;
        if (dx != 0 || dy != 0) FDragged = true;
        switch (FEditState) {
          case kxesRectSelect:
          case kxesNewGuide:
            update();
            break;
          case kxesDragGuide:
            if (FEditOptions.Contains(TKxDeEditOption::kxdoShowGuides)) update();
            else FollowPointer(marks, corner);
            break;
          case kxesSizing:
            SizingMove(Shift);
            break;
          case kxesZoomRect:
            if (ButtonHeld(Shift)) update();
            else InvalidateRulers();
            break;
          case kxesToolEdit:
            if (ButtonHeld(Shift)) ToolDrag(LayerPoint(FHoverHit.Test));
            break;
          case kxesCreateNew:
            CreationMove(Shift);
            break;
          case kxesMoving:
            FMoveKeys = TKxDeUtils::ShiftToScShift(Shift);
            if (FSmartGuides->Enabled()) {
              GestureMove(FDownHit.Test, FHoverHit.Test, FMoveKeys);
              RefreshSnapLines();
            }
            // With a coarser quantum the outlines only move when the pointer reaches a step.
            if (FMouseSense == 1 || std::lround(dx) % FMouseSense == 0 || std::lround(dy) % FMouseSense == 0)
              update();
            break;
          default:
            FollowPointer(marks, corner);
            break;
        }
      }
    }
  }
  TKxDeSurface::MouseMove(Shift, X, Y);
  if (OnCursorMove) {
    const auto z = static_cast<float>(GetZoom());
    TPointF at{v.X - rf.Left, v.Y - rf.Top};
    // With the rulers counting from the page's centre, so does the reported point.
    if (FRulers->Showing() && FRulers->RulersOrigin() == TKxDeRulersOrigin::kxrulOrigCenter)
      at = TPointF{at.X - rf.Width() / 2 / z, at.Y - rf.Height() / 2 / z};
    OnCursorMove(this, at, z);
  }
}

void TKxDeCustomEditor::Hover(const TPointF& V, int32_t X, int32_t Y) {
  if (FEditOptions.Contains(TKxDeEditOption::kxdoHottrack)) {
    FHoverHit = HitTest(V);
    if (FHoverHit.Shape && IsSelected(FHoverHit.Shape)) {
      const TPointF t = FHoverHit.Test;
      ResetHittest(FHoverHit);
      FHoverHit.Test = FHoverHit.Pt2 = t;
    }
  }
  SetHotShape(HotCandidate(FHoverHit.Shape, X, Y));
}

TKxDeShapeBase* TKxDeCustomEditor::HotCandidate(TKxDeShapeBase* S, int32_t X, int32_t Y) const {
  if (!S || !FEditOptions.Contains(TKxDeEditOption::kxdoHottrack)) return nullptr;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  if (r.IsEmpty() || !r.Contains(TPoint{X, Y})) return nullptr;
  return S->ShapeStyle().Contains(TKxDeShapeStyle::kxssCanHottrack) ? S : nullptr;
}

void TKxDeCustomEditor::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  const TPointF v = TrackPointer(X, Y);
  if (FEditOptions.Contains(TKxDeEditOption::kxdoMouseActions) && !InUpdate()) {
    ReleaseAt(Button, Shift, v, X, Y);
  }
  TKxDeSurface::MouseUp(Button, Shift, X, Y);
  UpdateCursor(v);
}

void TKxDeCustomEditor::ReleaseAt(TMouseButton Button, TShiftState Shift, const TPointF& V, int32_t X, int32_t Y) {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const TKxDeShiftKeys k = TKxDeUtils::ShiftToScShift(Shift);
  if (FEditState == kxesSizing && !FFaulted) {
    // The drag as it ends here; a shape that keeps its proportions takes the constrained end.
    FHoverHit.Test = TPointF{V.X - r.Left, V.Y - r.Top};
    SizingDrag(k);
  }
  TKxDeHitTest from = FDownHit;
  TKxDeHitTest to = FDownHit;
  to.Test = TPointF{V.X - r.Left, V.Y - r.Top};
  if (FEditState == kxesSizing && from.Shape &&
      from.Shape->ShapeStyle().Contains(TKxDeShapeStyle::kxssProportionnalResize))
    to.Test = from.Pt2;
  ResetHittest(FDownHit);
  ResetHittest(FHoverHit);
  // A gesture during which a shape raised changes nothing.
  const bool left = Button == TMouseButton::mbLeft;
  // (A hit record's Test is the point itself: released where pressed needs no hit test.)
  if (!FFaulted && !from.Shape &&
      (from.HitType == TKxDeHitType::kxhtNone || from.HitType == TKxDeHitType::kxhtLayer) && left &&
      (FEditState == kxesNone || FEditState == kxesRectSelect || FEditState == kxesZoomRect) && to.Test == from.Test)
    ClearSelection();
  if (left && FEditState != kxesNone && !FFaulted) {
    if (FEditState == kxesToolEdit) {
      ToolRelease(LayerPoint(to.Test));
    } else if (!(FEditState >= kxesToolEdit && FEditState <= kxesRemovePoint) && !(from.Test == to.Test)) {
      from.Test = LayerPoint(from.Test);
      to.Test = LayerPoint(to.Test);
      ExecuteHitAction(FEditState, from, to, k);
    } else if (FEditState == kxesOrientIcon) {
      ExecuteOrientIconAction(FEditState, from, to, k);
      SetEditState(kxesNone);
    }
  }
  FFaulted = false;
  {
    BeginUpdate();
    TFinally done([this] { EndUpdate(); });
    if (left && FEditState == kxesCreateNew) CreationRelease(Shift, V);
    if (!r.IsEmpty() && !ButtonHeld(Shift) && !Sticky(FEditState) &&
        FEditOptions.Contains(TKxDeEditOption::kxdoHottrack))
      Hover(V, X, Y);
    if (!Sticky(FEditState)) SetEditState(kxesNone);
  }
  FDragged = false;
  update();
}

void TKxDeCustomEditor::KeyDown(int32_t& Key, TShiftState Shift) {
  const bool arrow = Key == Qt::Key_Left || Key == Qt::Key_Right || Key == Qt::Key_Up || Key == Qt::Key_Down;
  if (arrow && !FSelections.empty()) {
    // The arrows move the selection instead of scrolling the view.
    TKxDeCustomScrollControl::KeyDown(Key, Shift);
    if (Key != 0) Nudge(Key, Shift);
    Key = 0;
    return;
  }
  TKxDeSurface::KeyDown(Key, Shift);
  if (Key != Qt::Key_Escape) return;
  if (FEditState == kxesNone) ClearSelection();
  else if (FEditState == kxesCreateNew) RestartNewShape();
  else SetEditState(kxesNone);
  Key = 0;
}

void TKxDeCustomEditor::keyPressEvent(QKeyEvent* Event) {
  FKeyTimed = true;
  FKeyTime = Event->timestamp();
  TFinally done([this] { FKeyTimed = false; });
  TKxDeSurface::keyPressEvent(Event);
}

void TKxDeCustomEditor::Nudge(int32_t Key, TShiftState Shift) {
  const bool shift = Shift.Contains(TShiftStateItem::ssShift);
  // With NudgeSteps Shift means ten steps, and resizing takes Ctrl+Shift instead of Shift.
  const bool resize = FNudgeSteps ? shift && Shift.Contains(TShiftStateItem::ssCtrl) : shift;
  const bool ctrl = Shift.Contains(TShiftStateItem::ssCtrl) && !(FNudgeSteps && resize);
  const bool vertical = Key == Qt::Key_Up || Key == Qt::Key_Down;
  const float grid = (vertical ? Grid()->Y() : Grid()->X()) * CoordsPixelsPerMMConvertValue;
  float step = ctrl ? grid : FKeyMoveSizeStep * CoordsPixelsPerMMConvertValue;
  if (FNudgeSteps && !ctrl) {
    if (Shift.Contains(TShiftStateItem::ssAlt)) step = static_cast<float>(1 / GetZoom());
    if (shift && !resize) step *= 10;
  }
  if (Key == Qt::Key_Up || Key == Qt::Key_Left) step = -step;
  if (ctrl && FEditOptions.Contains(TKxDeEditOption::kxdoSnapToGrid) && grid > 1) {
    // The step that puts the selection's left (top) edge on the grid.
    const TRectF b = GetSelectionBounds();
    const float e = (vertical ? b.Top : b.Left) + step;
    const float r = e - static_cast<float>(std::nearbyint(e / grid)) * grid;
    step += r < grid / 2 ? -r : grid - r;
    if (step > grid) step -= grid;
    else if (step < -grid) step += grid;
  }
  if (!FEditOptions.Contains(TKxDeEditOption::kxdoKeyActions)) return;
  const TPointF d = vertical ? TPointF{0, step} : TPointF{step, 0};
  if (!FNudgeSteps) return ChangeSelection(d, resize, false);
  // A press soon after the last one, with nothing recorded in between, joins its undo entry: that
  // entry already holds the shapes as they were before the burst.
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  const uint64_t now = FKeyTimed ? FKeyTime : static_cast<uint64_t>(clock.elapsed());
  TNudgeBurst& b = FNudgeBurst;
  const bool joins = b.Open && b.EventTime == FKeyTimed && now >= b.Time && now - b.Time < NudgeBurstInterval &&
                     b.Serial == FHistorySerial && b.Shapes == FSelections && ReopenUndoGroup();
  if (joins) BeginUndoLock();
  {
    TFinally unlock([this, joins] {
      if (!joins) return;
      EndUndoLock();
      EndGroup(FUndoBuf);
    });
    ChangeSelection(d, resize, false);
  }
  b = TNudgeBurst{true, FKeyTimed, now, FHistorySerial, FSelections};
}

void TKxDeCustomEditor::DoMouseWheelZoom(int16_t WheelDelta) { CallEvent(OnMouseWheelZoom, this, WheelDelta); }

void TKxDeCustomEditor::leaveEvent(QEvent* Event) {
  TKxDeSurface::leaveEvent(Event);
  SetHotShape(nullptr);
}

void TKxDeCustomEditor::focusInEvent(QFocusEvent* Event) {
  TKxDeSurface::focusInEvent(Event);
  UpdateHottrack();
}

void TKxDeCustomEditor::focusOutEvent(QFocusEvent* Event) {
  TKxDeSurface::focusOutEvent(Event);
  UpdateHottrack();
}

// ---- Document changes ------------------------------------------------------------------------------

void TKxDeCustomEditor::DoShapeInserted(TKxDeShapeBase* S) {
  TKxDeSurface::DoShapeInserted(S);
  ReplayIDsInserted(S);
}

void TKxDeCustomEditor::DoShapeRemoved(TKxDeShapeBase* S) {
  TKxDeSurface::DoShapeRemoved(S);
  ReplayIDsRemoved(S);
  if (FHotShape == S) FHotShape = nullptr;
  if (Destroying()) return;
  if (FEditState == kxesMoving || FEditState == kxesSizing || FEditState == kxesRotating ||
      FEditState == kxesAddPoint || FEditState == kxesRemovePoint)
    SetEditState(kxesNone);
  auto it = std::find(FSelections.begin(), FSelections.end(), S);
  if (it == FSelections.end()) return;
  FSelections.erase(it);
  FSelected.remove(S);
  SelectionChanged();
}

void TKxDeCustomEditor::DoLayerRemoved(TKxDeLayer* L) {
  TKxDeSurface::DoLayerRemoved(L);
  if (FHotShape && !Exists(FHotShape)) FHotShape = nullptr;
  if (Destroying()) return;
  const size_t before = FSelections.size();
  std::erase_if(FSelections, [this, L](TKxDeShapeBase* S) {
    if (S != L && S->GetLayer() != L) return false;
    FSelected.remove(S);
    return true;
  });
  if (FSelections.size() != before) SelectionChanged();
}

}  // namespace vorn
