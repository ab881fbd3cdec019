// What the editor finds under the pointer, the hot shape, the cursor, and the feedback drawn
// over the document: selection handles, the hot shape, the rubber band and moved outlines.

#include "vorn/editor/KxDeEditor.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/Finally_p.h"
#include "vorn/common/KxDeUtils.h"
#include "vorn/common/Rounding.h"
#include "vorn/editor/EditorLog_p.h"
#include "vorn/editor/KxDeGuide.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDeShapeBase.h"
#include "vorn/surface/KxDeSurfaceIndex_p.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <exception>

namespace vorn {

using enum TKxDeEditState;

namespace {

TKxDeHitType HitTypeOf(TKxDeShapePart Part) {
  switch (Part) {
    case TKxDeShapePart::kxspPointControl: return TKxDeHitType::kxhtPointControl;
    case TKxDeShapePart::kxspPoint: return TKxDeHitType::kxhtPoint;
    case TKxDeShapePart::kxspControl: return TKxDeHitType::kxhtControl;
    default: return TKxDeHitType::kxhtShape;
  }
}

bool CanHottrack(const TKxDeShapeBase* S) { return S->ShapeStyle().Contains(TKxDeShapeStyle::kxssCanHottrack); }

}  // namespace

// ---- Hit testing -----------------------------------------------------------------------------------

TKxDeHitTest TKxDeCustomEditor::HitTest(const TPointF& P) { return HitCase(P, kxesNone, TKxDeShiftKeys{}); }

bool TKxDeCustomEditor::ShapeHit(TKxDeShapeBase* S, const TPointF& P, float Fuzz, float Size, bool Selected,
                                 TKxDeShiftKeys Shift, TKxDeHitTest& HT) {
  TKxDeShapeHit h;
  try {
    h = S->HitTest(P, Fuzz, Size, Selected, true, Shift);
  } catch (const std::exception& E) {
    qCDebug(lcEditor) << "hit test of" << S->ClassName() << S->ID() << "failed:" << E.what();
    FFaulted = true;
    return false;
  } catch (...) {
    qCDebug(lcEditor) << "hit test of" << S->ClassName() << S->ID() << "failed";
    FFaulted = true;
    return false;
  }
  if (h.Part == TKxDeShapePart::kxspNone) return false;
  HT.HitType = HitTypeOf(h.Part);
  HT.PartIndex = h.PartIndex;
  HT.SubIndex = h.SubIndex;
  HT.Shape = S;
  return true;
}

TKxDeHitTest TKxDeCustomEditor::StartHitTest(const TPointF& P, TRect& R, TRectF& RF) const {
  TKxDeHitTest ht;
  LayerBounds(R, RF);
  ht.Test = ht.Pt2 = TPointF{P.X - R.Left, P.Y - R.Top};
  return ht;
}

TKxDeHitTest TKxDeCustomEditor::HitCase(const TPointF& P, TKxDeEditState State, TKxDeShiftKeys Shift) {
  TRect r;
  TRectF rf;
  TKxDeHitTest ht = StartHitTest(P, r, rf);
  if (r.IsEmpty()) return ht;
  const double z = GetZoom();
  const TPointF screen{static_cast<float>(rf.Left + (P.X - rf.Left) * z),
                       static_cast<float>(rf.Top + (P.Y - rf.Top) * z)};
  const TRectF client{static_cast<float>(r.Left), static_cast<float>(r.Top), static_cast<float>(r.Right),
                      static_cast<float>(r.Bottom)};
  if (RulerHit(screen, ht)) return ht;
  if (client.Contains(screen) && rf.Contains(screen)) ht.HitType = TKxDeHitType::kxhtLayer;
  if (const TKxDeHitTest g = GuideTest(P, State, Shift); g.HitType == TKxDeHitType::kxhtGuide) return g;
  const auto size = static_cast<float>(FSelection->PointSize() / z);
  const auto fuzz = static_cast<float>(FHitFuzz / z);
  const TPointF lp{P.X - rf.Left, P.Y - rf.Top};
  // The hot shape and the selection first: their handles lie over everything else.
  if (FHotShape && !FHotShape->InDestroy() && IsSelected(FHotShape) && CanHottrack(FHotShape) &&
      ShapeHit(FHotShape, lp, fuzz, size, true, Shift, ht)) {
    ht.State = TKxDeShapeHitState::kxhsHot;
    return ht;
  }
  if (!FSelections.empty()) {
    // A selected shape can only answer here when the index finds it near the point (its extent
    // holds its body and its points) or when it has control handles, which may reach beyond the
    // extent. Asking only those keeps the test cheap with thousands of shapes selected.
    FNearSelected.clear();
    for (TKxDeLayer* layer : FLayers) {
      Index().ForLayer(layer).ItemsAt(lp, std::max(fuzz, size), FScratch);
      FNearSelected.insert(FNearSelected.end(), FScratch.begin(), FScratch.end());
    }
    std::sort(FNearSelected.begin(), FNearSelected.end());
  }
  for (TKxDeShapeBase* s : FSelections) {
    if (!s->Visible() || s->InDestroy()) continue;
    const TKxDeShapeStyles style = s->ShapeStyle();
    if (!style.Contains(TKxDeShapeStyle::kxssUsesPointControls) && !style.Contains(TKxDeShapeStyle::kxssUsesControls) &&
        !std::binary_search(FNearSelected.begin(), FNearSelected.end(), s))
      continue;
    if (ShapeHit(s, lp, fuzz, size, true, Shift, ht)) {
      ht.State = TKxDeShapeHitState::kxhsSelected;
      return ht;
    }
  }
  // Then the layers' shapes from the top one down; the index names the few near the point.
  std::vector<TKxDeShapeBase*> near;
  for (TKxDeLayer* layer : FLayers) {
    if (!layer->Visible() || layer->Locked() || layer->InDestroy()) continue;
    Index().ForLayer(layer).ItemsAt(lp, std::max(fuzz, size), near);
    for (auto it = near.rbegin(); it != near.rend(); ++it) {
      TKxDeShapeBase* s = *it;
      if (!s->Visible() || s->Locked() || s->InDestroy()) continue;
      TKxDeHitTest h = ht;
      if (!ShapeHit(s, lp, fuzz, size, false, Shift, h)) continue;
      // A point control of an unselected shape stops the search without a hit.
      if (h.HitType == TKxDeHitType::kxhtPointControl) return ht;
      h.State = TKxDeShapeHitState::kxhsNone;
      return h;
    }
  }
  return ht;
}

// ---- Hot tracking ----------------------------------------------------------------------------------

void TKxDeCustomEditor::UpdateHottrack() {
  if (InUpdate() || Destroying() || Loading() || !HandleAllocated() || !FPointerSeen ||
      QGuiApplication::mouseButtons() != Qt::NoButton)
    return;
  TKxDeShapeBase* hot = nullptr;
  if (FEditState == kxesNone && FEditOptions.Contains(TKxDeEditOption::kxdoHottrack))
    hot = HotCandidate(HitCase(ViewPoint(FPointerPos.X, FPointerPos.Y), FEditState, {}).Shape, FPointerPos.X,
                       FPointerPos.Y);
  SetHotShape(hot);
}

void TKxDeCustomEditor::SetHotShape(TKxDeShapeBase* S) {
  if (S == FHotShape) return;
  TKxDeShapeBase* before = std::exchange(FHotShape, S);
  // Hot feedback shows on unselected shapes only.
  if (!Destroying() && ((S && !IsSelected(S)) || (before && !IsSelected(before)))) update();
  HotShapeChanged();
}

void TKxDeCustomEditor::HotShapeChanged() {}

// ---- Cursor ----------------------------------------------------------------------------------------

void TKxDeCustomEditor::GetCurrentCursor(const TPointF& V, TCursor& Cursor) {
  Cursor = FControlCursor;
  if (QGuiApplication::mouseButtons() != Qt::NoButton) return;
  switch (FEditState) {
    case kxesRemovePoint: Cursor = crUpArrow; return;
    case kxesCreateNew:
    case kxesAddPoint:
      Cursor = crCross;
      CallEvent(OnGetMouseCursor, this, Cursor);
      return;
    case kxesZoomRect: CallEvent(OnGetMouseCursor, this, Cursor); return;
    case kxesToolEdit: return;
    default: break;
  }
  const TKxDeHitTest h = HitCase(V, FEditState, TKxDeUtils::ShiftToScShift(ShiftStateOf(QGuiApplication::keyboardModifiers(), {})));
  if (h.HitType == TKxDeHitType::kxhtGuide) {
    // A guide moves across its line.
    const bool horizontal = Guides()->GetItem(h.PartIndex)->GuideType() == TKxDeGuideType::kxgtHorizontal;
    Cursor = horizontal ? crVSplit : crHSplit;
    return;
  }
  if (h.Shape && h.HitType >= TKxDeHitType::kxhtShape && h.HitType <= TKxDeHitType::kxhtPointControl) {
    try {
      Cursor = h.Shape->GetCursor(h);
    } catch (...) {
      Cursor = FControlCursor;
    }
  }
}

void TKxDeCustomEditor::UpdateCursor(const TPointF& V) {
  if (FCursorUpdate > 0 || Destroying() || Loading() || !HandleAllocated()) return;
  ++FCursorUpdate;
  TFinally down([this] { --FCursorUpdate; });
  TCursor c = FControlCursor;
  GetCurrentCursor(V, c);
  setCursor(CursorToQt(c));
}

// ---- Feedback ----------------------------------------------------------------------------------------

TRectF TKxDeCustomEditor::VisibleArea() const {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const auto z = static_cast<float>(GetZoom());
  return TRectF{(r.Left - rf.Left) / z, (r.Top - rf.Top) / z, (r.Right - rf.Left) / z, (r.Bottom - rf.Top) / z};
}

bool TKxDeCustomEditor::DrawShapeSelection(TKxDeShapeBase* S, TCanvas* C, const TPointF& Offset,
                                           const TKxDeDragPoint& Drag, const TKxDeSelectionData& Data) {
  QPainter* p = C->Painter();
  p->save();
  try {
    S->DrawSelection(C, Round32(Offset.X), Round32(Offset.Y), Drag, Data, GetZoom());
    p->restore();
    return true;
  } catch (const std::exception& E) {
    qCDebug(lcEditor) << "selection of" << S->ClassName() << S->ID() << "failed:" << E.what();
  } catch (...) {
    qCDebug(lcEditor) << "selection of" << S->ClassName() << S->ID() << "failed";
  }
  p->restore();
  return false;
}

void TKxDeCustomEditor::DrawSelection(TCanvas* C) {
  TKxDeSurface::DrawSelection(C);
  if (!C || FSelections.empty()) return;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  // The client buffer's origin is the client area's corner.
  const TPointF origin{rf.Left - r.Left, rf.Top - r.Top};
  const TRectF area = VisibleArea();
  const TKxDeSelectionData data = FSelection->Data(TKxDeSelectionType::kxdsSelected);
  for (TKxDeShapeBase* s : FSelections)
    if (s->Visible() && !s->InDestroy() && s->InRect(area)) DrawShapeSelection(s, C, origin, TKxDeDragPoint{}, data);
}

void TKxDeCustomEditor::AfterPaint(TCanvas* C) {
  TKxDeSurface::AfterPaint(C);
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  if (r.IsEmpty()) return;
  C->SetClipRect(r);
  DrawHottrack(C);
  DrawGuides(C);
  if (FEditState == kxesRectSelect || FEditState == kxesZoomRect) DrawSelectionRect(C);
  else if (FEditState == kxesMoving) DrawSelectionMove(C);
  else if (FEditState == kxesToolEdit) DrawTool(C);
  else if (FEditState == kxesSizing) DrawSelectionSize(C);
  else if (FEditState == kxesNewGuide) DrawNewGuide(C);
  else if (FEditState == kxesDragGuide) DrawGuideDrag(C);
  else if (FEditState == kxesCreateNew) DrawNewCreation(C);
  DrawSmartGuides(C);
  DrawCursorGuide(C);
  DrawRulers(C);
  C->ResetClip();
}

void TKxDeCustomEditor::DrawHottrack(TCanvas* C) {
  TKxDeShapeBase* s = FHotShape;
  if (InUpdate() || !s || !Movable(s) || !CanHottrack(s) || IsSelected(s) || !s->InRect(VisibleArea())) return;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  DrawShapeSelection(s, C, TPointF{rf.Left, rf.Top}, TKxDeDragPoint{},
                     FHottrack->Data(TKxDeSelectionType::kxdsHottrack));
}

void TKxDeCustomEditor::DrawSelectionRect(TCanvas* C) {
  if (!FDragged || !FSelectionRect->Draws()) return;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const double z = GetZoom();
  // A hit record's point on screen.
  auto screen = [&](const TPointF& T) {
    return TPoint{Round32(rf.Left + (T.X + r.Left - rf.Left) * z), Round32(rf.Top + (T.Y + r.Top - rf.Top) * z)};
  };
  const TPoint a = screen(FDownHit.Test);
  const TPoint b = screen(FHoverHit.Test);
  const TRect band{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
  TPen* pen = C->Pen();
  pen->SetColor(FSelectionRect->LineColor());
  pen->SetStyle(FSelectionRect->LineStyle());
  pen->SetMode(FSelectionRect->LineMode());
  pen->SetWidth(1);
  C->Brush()->SetStyle(TBrushStyle::bsClear);
  if (band.Top == band.Bottom || band.Left == band.Right) {
    C->MoveTo(band.Left, band.Top);
    C->LineTo(band.Right, band.Bottom);
  } else {
    C->Rectangle(band);
  }
  pen->SetMode(TPenMode::pmCopy);
}

void TKxDeCustomEditor::DrawSelectionMove(TCanvas* C) {
  if (FSelections.empty() || !FDragged) return;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const auto z = static_cast<float>(GetZoom());
  const TPointF d = GestureMove(FDownHit.Test, FHoverHit.Test, FMoveKeys);
  const TPointF at{rf.Left + d.X * z, rf.Top + d.Y * z};
  const TRectF area = VisibleArea();
  const TKxDeSelectionData data = FMoveSize->Data();
  for (TKxDeShapeBase* s : FSelections) {
    if (!Movable(s) || !s->InRect(area)) continue;
    if (!DrawShapeSelection(s, C, at, TKxDeDragPoint{}, data)) {
      // A shape that cannot show its move ends the move.
      QMetaObject::invokeMethod(this, [this] { Fault(); }, Qt::QueuedConnection);
      return;
    }
  }
}

}  // namespace vorn
