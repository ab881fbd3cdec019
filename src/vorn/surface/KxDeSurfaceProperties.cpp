#include "vorn/surface/KxDeSurfaceProperties.h"

#include "vorn/surface/KxDeSurface.h"

#include <algorithm>

namespace vorn {

// ---- Checkerboard ---------------------------------------------------------------------------------

template <class T>
void TKxDeCheckersProperties::Set(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TKxDeCheckersProperties::SetColorEven(TColor Value) { Set(FColorEven, Value); }
void TKxDeCheckersProperties::SetColorOdd(TColor Value) { Set(FColorOdd, Value); }
void TKxDeCheckersProperties::SetWidth(int32_t Value) { Set(FWidth, std::max(Value, 2)); }
void TKxDeCheckersProperties::SetHeight(int32_t Value) { Set(FHeight, std::max(Value, 2)); }

void TKxDeCheckersProperties::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeCheckersProperties*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FColorEven = s->FColorEven;
  FColorOdd = s->FColorOdd;
  FWidth = s->FWidth;
  FHeight = s->FHeight;
  Changed();
}

void TKxDeCheckersProperties::Changed() {
  if (FOwner) FOwner->CheckersChanged();
}

// ---- Page ---------------------------------------------------------------------------------------------

TKxDeLayerProperties::TKxDeLayerProperties(TKxDeSurface* AOwner)
    : FOwner(AOwner), FCheckers(Create<TKxDeCheckersProperties>(this)) {}

void TKxDeLayerProperties::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TKxDeLayerProperties::SetWidth(int32_t Value) { SetBounds(Value, FHeight); }
void TKxDeLayerProperties::SetHeight(int32_t Value) { SetBounds(FWidth, Value); }

void TKxDeLayerProperties::SetBounds(int32_t AWidth, int32_t AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = AWidth;
  FHeight = AHeight;
  Changed();
}

void TKxDeLayerProperties::SetCheckers(const TKxDeCheckersProperties* Value) {
  if (Value) FCheckers->Assign(Value);
}

void TKxDeLayerProperties::SetTransparency(TKxDeLayerTransparency Value) {
  if (FTransparency == Value) return;
  FTransparency = Value;
  Changed();
}

void TKxDeLayerProperties::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeLayerProperties*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FColor = s->FColor;
  FWidth = s->FWidth;
  FHeight = s->FHeight;
  FTransparency = s->FTransparency;
  // The board is copied quietly: the one notification below covers it.
  TKxDeLayerProperties* owner = nullptr;
  std::swap(owner, FCheckers->FOwner);
  FCheckers->Assign(s->FCheckers.get());
  std::swap(owner, FCheckers->FOwner);
  Changed();
}

void TKxDeLayerProperties::Changed() {
  if (FOwner) FOwner->LayerPropsChanged(false);
}

void TKxDeLayerProperties::CheckersChanged() {
  if (FTransparency == TKxDeLayerTransparency::kxltChecked) Changed();
}

// ---- Frame --------------------------------------------------------------------------------------------

void TKxDeFrameProperties::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  if (FVisible) Changed();
}

void TKxDeFrameProperties::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  if (FVisible && FShadowOffset > 0) Changed();
}

void TKxDeFrameProperties::SetShadowOffset(int32_t Value) {
  Value = std::max(Value, 0);
  if (FShadowOffset == Value) return;
  FShadowOffset = Value;
  if (FVisible && FShadowColor != clNone) Changed();
}

void TKxDeFrameProperties::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed();
}

void TKxDeFrameProperties::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeFrameProperties*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  const bool wasVisible = FVisible;
  FColor = s->FColor;
  FShadowColor = s->FShadowColor;
  FShadowOffset = s->FShadowOffset;
  FVisible = s->FVisible;
  if (FVisible || wasVisible) Changed();
}

void TKxDeFrameProperties::Changed() {
  if (FOwner) FOwner->FramePropsChanged();
}

// ---- Grid ---------------------------------------------------------------------------------------------

void TKxDeGridProperties::SetGridType(TKxDeGridType Value) {
  if (FGridType == Value) return;
  FGridType = Value;
  Changed();
}

void TKxDeGridProperties::SetX(float Value) {
  Value = std::max(Value, 1.0f);
  if (FX == Value) return;
  FX = Value;
  Changed();
}

void TKxDeGridProperties::SetY(float Value) {
  Value = std::max(Value, 1.0f);
  if (FY == Value) return;
  FY = Value;
  Changed();
}

void TKxDeGridProperties::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  if (FGridType != TKxDeGridType::kxgtNone) Changed();
}

void TKxDeGridProperties::SetGroupColor(TColor Value) {
  if (FGroupColor == Value) return;
  FGroupColor = Value;
  if (FGridType == TKxDeGridType::kxgtLine) Changed();
}

void TKxDeGridProperties::SetGroupCount(uint16_t Value) {
  Value = std::max<uint16_t>(Value, 1);
  if (FGroupCount == Value) return;
  FGroupCount = Value;
  if (FGridType == TKxDeGridType::kxgtLine) Changed();
}

void TKxDeGridProperties::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeGridProperties*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FGridType = s->FGridType;
  FX = s->FX;
  FY = s->FY;
  FColor = s->FColor;
  FGroupColor = s->FGroupColor;
  FGroupCount = s->FGroupCount;
  Changed();
}

void TKxDeGridProperties::Changed() {
  if (FOwner) FOwner->GridPropsChanged();
}

}  // namespace vorn
