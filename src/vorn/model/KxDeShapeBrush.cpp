#include "vorn/model/KxDeShapeBrush.h"

#include "vorn/common/Canvas.h"
#include "vorn/model/KxDeShapeBase.h"

namespace vorn {

void TKxDeShapeBrush::SetColor(TColor Value) {
  if (FColor == Value) return;
  Changing();
  FColor = Value;
  if (FOwner) FOwner->SetColor(Value);
  Changed();
}

void TKxDeShapeBrush::SetStyle(TBrushStyle Value) {
  if (FStyle == Value) return;
  Changing();
  FStyle = Value;
  Changed();
}

void TKxDeShapeBrush::ShapeColorChanged() {
  if (FOwner) FColor = FOwner->Color();
}

void TKxDeShapeBrush::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDeShapeBrush*>(Source)) {
    FColor = src->FColor;
    FStyle = src->FStyle;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TKxDeShapeBrush::AssignRec(const TKxDeBrushRec& Rec) {
  Changing();
  SetColor(Rec.Color);
  FStyle = Rec.Style;
  Changed();
}

void TKxDeShapeBrush::AssignTo(TBrush* Target) const {
  if (!Target) return;
  Target->SetColor(FColor);
  Target->SetStyle(FColor == clNone ? TBrushStyle::bsClear : FStyle);
}

void TKxDeShapeBrush::SaveToXML(TXmlNode Node) const {
  XmlWriteInteger(Node, "Color", FColor);
  XmlWriteInteger(Node, "Style", static_cast<int32_t>(FStyle));
}

void TKxDeShapeBrush::LoadFromXML(TXmlNode Node) {
  Changing();
  FColor = XmlReadInteger(Node, "Color", FColor);
  if (FOwner) FOwner->FColor = FColor;  // the shape colour follows without announcements
  const int32_t style = XmlReadInteger(Node, "Style", 0);
  FStyle = style >= 0 && style <= static_cast<int32_t>(TBrushStyle::bsDiagCross) ? static_cast<TBrushStyle>(style)
                                                                                  : TBrushStyle::bsSolid;
  Changed();
}

void TKxDeShapeBrush::Changing() {
  if (OnChanging) OnChanging(this);
  else if (FOwner) FOwner->DoBrushChanging(this);
}

void TKxDeShapeBrush::Changed() {
  if (OnChange) OnChange(this);
  else if (FOwner) FOwner->DoBrushChanged(this);
}

}  // namespace vorn
