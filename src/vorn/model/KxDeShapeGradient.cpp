#include "vorn/model/KxDeShapeGradient.h"

#include "vorn/common/Canvas.h"
#include "vorn/model/KxDeShapeBase.h"

namespace vorn {

TKxDeShapeGradient::TKxDeShapeGradient(TKxDeShapeBase* AOwner) : FOwner(AOwner) { UpdatePattern(); }

TColor TKxDeShapeGradient::GetColorBegin() const { return FOwner ? FOwner->Color() : FColorBegin; }

void TKxDeShapeGradient::SetColorBegin(TColor Value) {
  if (Value == GetColorBegin()) return;
  Changing();
  FColorBegin = Value;
  if (FOwner) FOwner->SetColor(Value);
  Changed();
}

void TKxDeShapeGradient::SetColorEnd(TColor Value) {
  if (FColorEnd == Value) return;
  Changing();
  FColorEnd = Value;
  Changed();
}

void TKxDeShapeGradient::SetStyle(TKxDeShapeGradientStyle Value) {
  if (FStyle == Value) return;
  Changing();
  FStyle = Value;
  Changed();
}

void TKxDeShapeGradient::SetShift(int32_t Value) {
  Value = TKxDeGradientShift::Clamp(Value);
  if (FShift == Value) return;
  Changing();
  FShift = Value;
  Changed();
}

void TKxDeShapeGradient::SetRotation(int32_t Value) {
  Value = TKxDeGradientRotation::Clamp(Value);
  if (FRotation == Value) return;
  Changing();
  FRotation = Value;
  Changed();
}

void TKxDeShapeGradient::SetReverse(bool Value) {
  if (FReverse == Value) return;
  Changing();
  FReverse = Value;
  Changed();
}

void TKxDeShapeGradient::SetInvisible(bool Value) {
  if (FInvisible == Value) return;
  FInvisible = Value;
  FNeedsUpdate = true;
}

void TKxDeShapeGradient::Changed() {
  FNeedsUpdate = true;
  if (OnChange) OnChange(this);
}

void TKxDeShapeGradient::ShapeColorChanged() {
  FNeedsUpdate = true;
  UpdatePattern();
}

void TKxDeShapeGradient::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) UpdatePattern();
}

void TKxDeShapeGradient::UpdatePattern() {
  if (!FNeedsUpdate) return;
  FDirty = true;
  FNeedsUpdate = false;
  TKxDeGradientPatternParams& p = FPatternParams;
  p.ColorBegin = GetColorBegin();
  p.ColorEnd = FColorEnd;
  p.Style = FStyle;
  p.Shift = FShift;
  p.Rotation = FRotation;
  p.Reverse = FReverse;
  p.Invisible = FInvisible;
  FDirty = false;
}

bool TKxDeShapeGradient::CopyPatternTo(QImage& Bitmap) {
  if (FDirty || FUpdateCount > 0) return false;
  UpdatePattern();
  Bitmap = Pattern();
  return true;
}

void TKxDeShapeGradient::Paint(TCanvas* Canvas, const TRect& R) {
  if (FDirty || !Canvas || FStyle == TKxDeShapeGradientStyle::kxdgsNone) return;
  if (GetColorBegin() == clNone || FColorEnd == clNone) return;
  if (R.IsEmpty()) return;
  UpdatePattern();
  Canvas->Painter()->save();
  // Smooth stretching: the pattern is a small sample of a continuous fill.
  Canvas->Painter()->setRenderHint(QPainter::SmoothPixmapTransform, true);
  Canvas->StretchDraw(R, Pattern());
  Canvas->Painter()->restore();
}

void TKxDeShapeGradient::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDeShapeGradient*>(Source)) {
    AssignRec(src->ToRec());
    return;
  }
  TPersistent::Assign(Source);
}

void TKxDeShapeGradient::AssignRec(const TKxDeShapeGradienthRec& Rec) {
  Changing();
  FColorBegin = Rec.ColorBegin;
  FColorEnd = Rec.ColorEnd;
  FReverse = Rec.Reverse;
  FRotation = TKxDeGradientRotation::Clamp(Rec.Rotation);
  FShift = TKxDeGradientShift::Clamp(Rec.Shift);
  FStyle = Rec.Style;
  Changed();
}

TKxDeShapeGradienthRec TKxDeShapeGradient::ToRec() const {
  return {GetColorBegin(), FColorEnd, FReverse, static_cast<int8_t>(FRotation), static_cast<int8_t>(FShift), FStyle};
}

void TKxDeShapeGradient::SaveToXML(TXmlNode Node) const {
  XmlWriteInteger(Node, "ColorBegin", GetColorBegin());
  XmlWriteInteger(Node, "ColorEnd", FColorEnd);
  XmlWriteBool(Node, "Reverse", FReverse);
  XmlWriteInteger(Node, "Rotation", FRotation);
  XmlWriteInteger(Node, "Shift", FShift);
  XmlWriteInteger(Node, "Style", static_cast<int32_t>(FStyle));
}

void TKxDeShapeGradient::LoadFromXML(TXmlNode Node) {
  Changing();
  FColorBegin = XmlReadInteger(Node, "ColorBegin", GetColorBegin());
  if (FOwner) FOwner->FColor = FColorBegin;  // the shape colour follows without announcements
  FColorEnd = XmlReadInteger(Node, "ColorEnd", FColorEnd);
  FReverse = XmlReadBool(Node, "Reverse", FReverse);
  FRotation = TKxDeGradientRotation::Clamp(XmlReadInteger(Node, "Rotation", FRotation));
  FShift = TKxDeGradientShift::Clamp(XmlReadInteger(Node, "Shift", FShift));
  const int32_t style = XmlReadInteger(Node, "Style", static_cast<int32_t>(FStyle));
  if (style >= 0 && style <= static_cast<int32_t>(TKxDeShapeGradientStyle::kxdgsButterfly))
    FStyle = static_cast<TKxDeShapeGradientStyle>(style);
  Changed();
  UpdatePattern();
}

}  // namespace vorn
