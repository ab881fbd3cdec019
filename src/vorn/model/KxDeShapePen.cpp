#include "vorn/model/KxDeShapePen.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/Rounding.h"
#include "vorn/common/Units.h"
#include "vorn/model/KxDeShapeBase.h"
#include "vorn/model/KxDeXmlFormat_p.h"

namespace vorn {

void TKxDeShapePen::SetColor(TColor Value) {
  if (FColor == Value) return;
  Changing();
  FColor = Value;
  Changed();
}

void TKxDeShapePen::SetMode(TPenMode Value) {
  if (FMode == Value) return;
  Changing();
  FMode = Value;
  Changed();
}

void TKxDeShapePen::SetStyle(TPenStyle Value) {
  if (FStyle == Value) return;
  Changing();
  FStyle = Value;
  Changed();
}

void TKxDeShapePen::SetWidth(float Value) {
  if (FWidth == Value) return;
  Changing();
  FWidth = Value < 0 ? 0.01f : Value;
  Changed();
}

int32_t TKxDeShapePen::CPenWidth() const {
  return static_cast<int32_t>(Round(FWidth / CoordsPixelsPerMMConvertValue));
}

void TKxDeShapePen::SetCPenWidth(int32_t Value) { SetWidth(static_cast<float>(Value) * CoordsPixelsPerMMConvertValue); }

void TKxDeShapePen::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDeShapePen*>(Source)) {
    Changing();
    FColor = src->FColor;
    FMode = src->FMode;
    FStyle = src->FStyle;
    FWidth = src->FWidth;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TKxDeShapePen::AssignRec(const TKxDePenRec& Rec) {
  Changing();
  FColor = Rec.Color;
  FMode = Rec.Mode;
  FStyle = Rec.Style;
  FWidth = Rec.Width;
  Changed();
}

void TKxDeShapePen::AssignRec2(const TKxDeShapePen* Source) {
  if (!Source) return;
  AssignRec2(Source->ToRec());
}

void TKxDeShapePen::AssignRec2(const TKxDePenRec& Rec) {
  Changing();
  FColor = Rec.Color;
  FMode = Rec.Mode;
  FStyle = Rec.Style;
  Changed();
}

void TKxDeShapePen::AssignTo(TPen* Target) const {
  if (!Target) return;
  Target->SetColor(FColor);
  Target->SetMode(FMode);
  Target->SetStyle(FColor == clNone ? TPenStyle::psClear : FStyle);
  Target->SetWidth(CPenWidth());
}

void TKxDeShapePen::AssignTo(TPersistent* Dest) const {
  if (auto* pen = dynamic_cast<TKxDeShapePen*>(Dest)) {
    pen->SetColor(FColor);
    pen->SetMode(FMode);
    pen->SetStyle(FColor == clNone ? TPenStyle::psClear : FStyle);
    pen->FWidth = FWidth;
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TKxDeShapePen::SaveToXML(TXmlNode Node) const {
  XmlWriteInteger(Node, "Color", FColor);
  XmlWriteInteger(Node, "Mode", static_cast<int32_t>(FMode));
  XmlWriteInteger(Node, "Style", static_cast<int32_t>(FStyle));
  XmlWriteSingle(Node, "Width", FWidth);
}

void TKxDeShapePen::LoadFromXML(TXmlNode Node) {
  Changing();
  FColor = XmlReadInteger(Node, "Color", FColor);
  // Out-of-range ordinals from a damaged document fall back to the defaults.
  const int32_t mode = XmlReadInteger(Node, "Mode", static_cast<int32_t>(TPenMode::pmCopy));
  FMode =
      mode >= 0 && mode <= static_cast<int32_t>(TPenMode::pmNotXor) ? static_cast<TPenMode>(mode) : TPenMode::pmCopy;
  const int32_t style = XmlReadInteger(Node, "Style", 0);
  FStyle = style >= 0 && style <= static_cast<int32_t>(TPenStyle::psAlternate) ? static_cast<TPenStyle>(style)
                                                                                : TPenStyle::psSolid;
  // Stored as read, negative widths included; only what is not a usable length is refused.
  FWidth = xmlformat::ReadSingleLengthMM(Node, "Width", FWidth);
  Changed();
}

void TKxDeShapePen::Changing() {
  if (OnChanging) OnChanging(this);
  else if (FOwner) FOwner->DoPenChanging(this);
}

void TKxDeShapePen::Changed() {
  if (OnChange) OnChange(this);
  else if (FOwner) FOwner->DoPenChanged(this);
}

}  // namespace vorn
