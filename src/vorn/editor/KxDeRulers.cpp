#include "vorn/editor/KxDeRulers.h"

namespace vorn {

TKxDeRulers::TKxDeRulers()
    : FHorizontal(Create<TKxDeRuler>(this, TKxDeRulerType::kxdrHorizontal)),
      FVertical(Create<TKxDeRuler>(this, TKxDeRulerType::kxdrVertical)) {
  FFont.OnChange = [this] { Changed(false); };
}

void TKxDeRulers::SetSize(uint16_t Value) {
  if (FSize == Value) return;
  FSize = Value;
  Changed(FVisible);
}

void TKxDeRulers::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed(FSize > 0);
}

void TKxDeRulers::Changed(bool LayoutChanged) {
  FPendingLayout = FPendingLayout || LayoutChanged;
  if (FUpdateCount > 0) {
    FPending = true;
    return;
  }
  const bool layout = FPendingLayout;
  FPending = false;
  FPendingLayout = false;
  if (OnChange) OnChange(layout);
}

void TKxDeRulers::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FPending) Changed(false);
}

void TKxDeRulers::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeRulers*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  SetColor(s->FColor);
  FFont.Assign(s->FFont);
  SetGuideColor(s->FGuideColor);
  SetMarkColor(s->FMarkColor);
  SetMode(s->FMode);
  SetShowNumbers(s->FShowNumbers);
  SetSize(s->FSize);
  SetVisible(s->FVisible);
  SetRulersOrigin(s->FRulersOrigin);
  EndUpdate();
}

}  // namespace vorn
