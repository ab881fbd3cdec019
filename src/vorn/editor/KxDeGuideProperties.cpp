#include "vorn/editor/KxDeGuideProperties.h"

#include "vorn/common/Canvas.h"

namespace vorn {

void TKxDeGuideProperties::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TKxDeGuideProperties::SetStyle(TPenStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TKxDeGuideProperties::SetMode(TPenMode Value) {
  if (FMode == Value) return;
  FMode = Value;
  Changed();
}

void TKxDeGuideProperties::ApplyTo(TCanvas* C) const {
  TPen* pen = C->Pen();
  pen->SetColor(FColor);
  pen->SetStyle(FStyle);
  pen->SetMode(FMode);
  pen->SetWidth(1);
}

void TKxDeGuideProperties::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeGuideProperties*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  if (FColor == s->FColor && FStyle == s->FStyle && FMode == s->FMode) return;
  FColor = s->FColor;
  FStyle = s->FStyle;
  FMode = s->FMode;
  Changed();
}

}  // namespace vorn
