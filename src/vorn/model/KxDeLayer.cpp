#include "vorn/model/KxDeLayer.h"

#include "vorn/common/ResStrs.h"
#include "vorn/common/Rounding.h"
#include "vorn/model/KxDePackage.h"
#include "vorn/model/KxDeShapeBrush.h"
#include "vorn/model/KxDeShapeGradient.h"
#include "vorn/model/KxDeShapePen.h"
#include "vorn/model/UpdateBracket_p.h"
#include "vorn/surface/KxDeSurface.h"


namespace vorn {

TKxDeLayer::TKxDeLayer(TKxDeSurface* AOwner, TKxDeContainer*)
    : TKxDeContainer(nullptr, nullptr),
      FObjectsDefaultProperties(Create<TmekLayerObjectsDefaultProperties>()),
      FCreateSurface(AOwner) {}

void TKxDeLayer::AfterConstruction() {
  TKxDeContainer::AfterConstruction();
  TKxDeSurface* surface = FCreateSurface;
  FCreateSurface = nullptr;
  if (surface) surface->InsertLayer(this);
}

void TKxDeLayer::BeforeDestruction() {
  TKxDeContainer::BeforeDestruction();
  if (FSurface) FSurface->RemoveLayer(this);
}

// ---- Attributes -----------------------------------------------------------------------------------

void TKxDeLayer::SetPrintingAllowed(bool Value) {
  if (FPrintingAllowed == Value) return;
  TUpdateBracket update(this);
  FPrintingAllowed = Value;
  for (size_t i = FItems.size(); i-- > 0;) {
    if (auto* package = dynamic_cast<TKxDePackage*>(FItems[i])) {
      package->BrushChanged(this);
      package->PenChanged(this);
    }
  }
  Changed(false);
}

void TKxDeLayer::SetKindOfLayer(TKxDeKindOfLayer Value) {
  if (FKindOfLayer == Value) return;
  TUpdateBracket update(this);
  FKindOfLayer = Value;
  for (size_t i = FItems.size(); i-- > 0;)
    if (auto* aware = dynamic_cast<IKxDeLayerKindAware*>(FItems[i])) aware->LayerKindChanged(this);
  Changed(false);
}

int32_t TKxDeLayer::GetResolution() const {
  switch (FKindOfLayer) {
    case TKxDeKindOfLayer::kxdekol200: return 8;
    case TKxDeKindOfLayer::kxdekol300: return 12;
    default: return 24;
  }
}

void TKxDeLayer::AssignDefaultPropertiesToShape(TKxDeShapeBase* S) {
  if (!S) return;
  const TmekLayerObjectsDefaultProperties& d = *FObjectsDefaultProperties;
  const TKxDeShapeStyles styles = S->ShapeStyle();
  TUpdateBracket update(S);
  if (d.UseDefaultBrush() && styles.Contains(TKxDeShapeStyle::kxssUsesBrush)) S->Brush()->AssignRec(d.Brush());
  if (d.UseDefaultPen() && styles.Contains(TKxDeShapeStyle::kxssUsesPen)) {
    if (styles.Contains(TKxDeShapeStyle::kxssNoPenWidth)) S->Pen()->AssignRec2(d.Pen());
    else S->Pen()->AssignRec(d.Pen());
  }
  if (d.UseDefaultGradient() && styles.Contains(TKxDeShapeStyle::kxssUsesGradient))
    if (TKxDeShapeGradient* g = S->Gradient()) g->AssignRec(d.Gradient());
}

// ---- Surface --------------------------------------------------------------------------------------

void TKxDeLayer::SetSurface(TKxDeSurface* Value) {
  TKxDeSurface* old = FSurface;
  // Leave the old surface first, while it still recognises the layer as its own.
  if (old && old != Value) old->RemoveLayer(this);
  TKxDeContainer::SetSurface(Value);
  if (Value) Value->InsertLayer(this);
}

int32_t TKxDeLayer::GetIndex() const { return FSurface ? FSurface->IndexOf(this) : -1; }

void TKxDeLayer::StartAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) {
  if (Shape && FSurface && FNotifyLock == 0) FSurface->StartAction(Shape, Action, PropName);
}

void TKxDeLayer::EndAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) {
  if (Shape && FSurface && FNotifyLock == 0) FSurface->EndAction(Shape, Action, PropName);
}

void TKxDeLayer::NotifyUndo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) {
  if (Shape && FSurface && FNotifyLock == 0) FSurface->NotifyUndo(Shape, Action, PropName);
}

// ---- Geometry -------------------------------------------------------------------------------------

void TKxDeLayer::RecalculateBounds(bool) {}

void TKxDeLayer::Resize(float NewWidth, float NewHeight) {
  FBounds.Right = FBounds.Left + NewWidth;
  FBounds.Bottom = FBounds.Top + NewHeight;
}

void TKxDeLayer::MoveBy(float, float) {}
void TKxDeLayer::OffsetPosition(int32_t, const TPointF&) {}
TPointF TKxDeLayer::GetPointValue(int32_t) const { return TPointF{}; }
void TKxDeLayer::SetPointValue(int32_t, const TPointF&) {}
int32_t TKxDeLayer::PointAt(const TPointF&, float) const { return -1; }
int32_t TKxDeLayer::ControlAt(const TPointF&, float) const { return -1; }

void TKxDeLayer::DrawSelection(TCanvas*, int32_t, int32_t, const TKxDeDragPoint&, const TKxDeSelectionData&, double) {}

void TKxDeLayer::DrawSelectionIn(TCanvas*, int32_t, int32_t, const TKxDeDragPoint&, const TKxDeSelectionData&,
                                 const TRectF&, double) {}

TRect TKxDeLayer::DrawRect() const {
  const TKxDeSurface* s = GetSurface();
  const TRectF area = s ? s->GetLayerRect() : GetBounds();
  return TRect{0, 0, Round32(area.Width()), Round32(area.Height())};
}

// ---- Hint -----------------------------------------------------------------------------------------

void TKxDeLayer::GetMekOfficeHint(const TPointF& P, TmekHintInfo& HintInfo) {
  TKxDeContainer::GetMekOfficeHint(P, HintInfo);
  HintInfo.Title = FName;
  HintInfo.AddLine(rsOwnerLayer() + QStringLiteral(" <B>") + FName + QStringLiteral("</B><BR>"));
  HintInfo.AddLine(rsVisible() + QStringLiteral(": <B>") + TranslatedBool(FVisible) + QStringLiteral("</B><BR>"));
  HintInfo.AddLine(rsPrintingAllowed() + QStringLiteral(": <B>") + TranslatedBool(FPrintingAllowed) +
                   QStringLiteral("</B><BR>"));
}

// ---- Changes and hooks ----------------------------------------------------------------------------

void TKxDeLayer::DoChanged(bool Force) {
  if (FDestroying || (!Force && !FVisible)) return;
  if (FSurface) FSurface->LayerChanged(this);
}

void TKxDeLayer::ShapeChanged(TKxDeShapeBase* S) {
  if (FSurface) FSurface->ShapeChanged(S);
}

void TKxDeLayer::ShapeInserted(TKxDeShapeBase* S) {
  // Only a shape that arrives in the layer itself takes the layer's styles: a shape put into a
  // group keeps its own, like the group's other members.
  if (FSkipDefaultProperty == 0 && S && S->Owner() == this) AssignDefaultPropertiesToShape(S);
  if (FSurface) FSurface->ShapeInserted(S);
}

void TKxDeLayer::ShapeRemoved(TKxDeShapeBase* S) {
  if (FSurface) FSurface->ShapeRemoved(S);
}

void TKxDeLayer::ShapeCleared(TKxDeShapeBase* S) {
  if (FSurface) FSurface->ShapeCleared(S);
}

void TKxDeLayer::ShapeReordered(int32_t FromIndex, int32_t ToIndex) {
  if (FSurface) FSurface->ShapeReordered(this, FromIndex, ToIndex);
}

}  // namespace vorn
