#include "vorn/controls/KxDeBorderProps.h"

#include "vorn/common/Canvas.h"
#include "vorn/controls/KxDeCustomControl.h"

#include <algorithm>

namespace vorn {

namespace {

// One look drawn as a frame of its thickness just inside R; R shrinks by it.
void PaintLook(TCanvas* C, TRect& R, TKxDeBorder Look, TColor Flat, TColor Solid) {
  const int32_t t = TKxDeControlBorderProps::LookThickness(Look);
  if (t == 0) return;
  QPainter* p = C->Painter();
  // Bevels: the outer ring shows light above and to the left when raised, dark when lowered.
  auto bevel = [&](TColor TopLeft, TColor BottomRight) {
    const QColor tl = ToQColor(TopLeft);
    const QColor br = ToQColor(BottomRight);
    p->fillRect(R.Left, R.Top, R.Width(), 1, tl);
    p->fillRect(R.Left, R.Top, 1, R.Height(), tl);
    p->fillRect(R.Left, R.Bottom - 1, R.Width(), 1, br);
    p->fillRect(R.Right - 1, R.Top, 1, R.Height(), br);
    R = TRect{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
  };
  auto frame = [&](TColor Color, int32_t Width) {
    for (int32_t i = 0; i < Width; ++i) bevel(Color, Color);
  };
  switch (Look) {
    case TKxDeBorder::kxdcb3DRaised:
    case TKxDeBorder::kxdcbMacRaised:
    case TKxDeBorder::kxdcbSoftRaised:
      bevel(clBtnHighlight, cl3DDkShadow);
      bevel(cl3DLight, clBtnShadow);
      break;
    case TKxDeBorder::kxdcb3DLowered:
    case TKxDeBorder::kxdcbMacLowered:
    case TKxDeBorder::kxdcbSoftLowered:
    case TKxDeBorder::kxdcbMetal:
      bevel(clBtnShadow, clBtnHighlight);
      bevel(cl3DDkShadow, cl3DLight);
      break;
    case TKxDeBorder::kxdcbRaised: bevel(clBtnHighlight, clBtnShadow); break;
    case TKxDeBorder::kxdcbLowered: bevel(clBtnShadow, clBtnHighlight); break;
    case TKxDeBorder::kxdcbBumped:
      bevel(clBtnHighlight, clBtnShadow);
      bevel(clBtnShadow, clBtnHighlight);
      break;
    case TKxDeBorder::kxdcbEtched:
      bevel(clBtnShadow, clBtnHighlight);
      bevel(clBtnHighlight, clBtnShadow);
      break;
    case TKxDeBorder::kxdcbColor: frame(Solid, t); break;
    default: frame(Flat, t); break;
  }
}

}  // namespace

template <class T>
void TKxDeControlBorderProps::Set(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TKxDeControlBorderProps::SetBorder(TKxDeControlBorder Value) { Set(FBorder, ClampControlBorder(Value)); }
void TKxDeControlBorderProps::SetInnerBorder(TKxDeControlBorder Value) { Set(FInnerBorder, ClampControlBorder(Value)); }
void TKxDeControlBorderProps::SetColor(TColor Value) { Set(FColor, Value); }
void TKxDeControlBorderProps::SetExDraw(bool Value) { Set(FExDraw, Value); }
void TKxDeControlBorderProps::SetFlatColor(TColor Value) { Set(FFlatColor, Value); }
void TKxDeControlBorderProps::SetFlatInnerColor(TColor Value) { Set(FFlatInnerColor, Value); }
void TKxDeControlBorderProps::SetWidth(int32_t Value) { Set(FWidth, std::max(Value, 0)); }

int32_t TKxDeControlBorderProps::LookThickness(TKxDeBorder Look) {
  switch (Look) {
    case TKxDeBorder::kxdcbNone: return 0;
    case TKxDeBorder::kxdcbRaised:
    case TKxDeBorder::kxdcbLowered:
    case TKxDeBorder::kxdcbColor:
    case TKxDeBorder::kxdcbFlat:
    case TKxDeBorder::kxdcbFlatRounded: return 1;
    default: return 2;
  }
}

int32_t TKxDeControlBorderProps::Thickness() const {
  return LookThickness(FBorder) + FWidth + LookThickness(FInnerBorder);
}

void TKxDeControlBorderProps::Paint(TCanvas* C, const TRect& R) const {
  if (!C || R.IsEmpty()) return;
  TRect r = R;
  PaintLook(C, r, FBorder, FFlatColor, FColor);
  if (FWidth > 0) {
    QPainter* p = C->Painter();
    const QColor pad = ToQColor(FColor);
    const int32_t w = std::min(FWidth, std::max(0, std::min(r.Width(), r.Height()) / 2));
    p->fillRect(r.Left, r.Top, r.Width(), w, pad);
    p->fillRect(r.Left, r.Bottom - w, r.Width(), w, pad);
    p->fillRect(r.Left, r.Top, w, r.Height(), pad);
    p->fillRect(r.Right - w, r.Top, w, r.Height(), pad);
    r = TRect{r.Left + w, r.Top + w, r.Right - w, r.Bottom - w};
  }
  PaintLook(C, r, FInnerBorder, FFlatInnerColor, FColor);
}

void TKxDeControlBorderProps::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeControlBorderProps*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FBorder = s->FBorder;
  FInnerBorder = s->FInnerBorder;
  FColor = s->FColor;
  FExDraw = s->FExDraw;
  FFlatColor = s->FFlatColor;
  FFlatInnerColor = s->FFlatInnerColor;
  FWidth = s->FWidth;
  Changed();
}

void TKxDeControlBorderProps::Changed() {
  if (FOwner) FOwner->BorderChanged();
}

TKxDeBorderProps::TKxDeBorderProps(TKxDeCustomControl* AOwner) : TKxDeControlBorderProps(AOwner) {
  FBorder = TKxDeBorder::kxdcb3DLowered;
  FColor = clWindow;
}

}  // namespace vorn
