#include "vorn/controls/KxDeScrollbar.h"

#include "vorn/common/Bracket_p.h"
#include "vorn/common/Canvas.h"
#include "vorn/common/DrawingCommons.h"
#include "vorn/common/GradientPattern.h"
#include "vorn/controls/KxDeCustomScrollControl.h"

#include <algorithm>

namespace vorn {

namespace {

using TScrollbarUpdate = TBracket<TKxDeCustomControlScrollbar, &TKxDeCustomControlScrollbar::BeginUpdate,
                                  &TKxDeCustomControlScrollbar::EndUpdate>;

TKxDeScrollbarHitKind HitKindOf(TKxDeScrollbarKind Kind) {
  return Kind == TKxDeScrollbarKind::kxdskHorizontal ? TKxDeScrollbarHitKind::kxshkHorizontal
                                                     : TKxDeScrollbarHitKind::kxshkVertical;
}

enum class TArrow : uint8_t { Dot, Left, Right, Up, Down };

// A button's glyph, centred in R and drawn on whole pixels so that it stays sharp at every bar
// thickness: an arrow of rows 1, 3, 5, ... pixels wide from its tip, or a small square dot.
void DrawArrow(QPainter* P, const TRect& R, TArrow Direction, const QColor& Color) {
  const int32_t rows = std::max(2, (std::min(R.Width(), R.Height()) + 2) / 4);
  const int32_t cx = R.Left + (R.Width() - 1) / 2;
  const int32_t cy = R.Top + (R.Height() - 1) / 2;
  const int32_t tip = rows / 2;  // the tip lies this far before the centre
  for (int32_t i = 0; i < rows; ++i) {
    switch (Direction) {
      case TArrow::Dot:
        if (i == 0) P->fillRect(cx - 1, cy - 1, 3, 3, Color);
        break;
      case TArrow::Left: P->fillRect(cx - tip + i, cy - i, 1, 2 * i + 1, Color); break;
      case TArrow::Right: P->fillRect(cx + tip - i, cy - i, 1, 2 * i + 1, Color); break;
      case TArrow::Up: P->fillRect(cx - i, cy - tip + i, 2 * i + 1, 1, Color); break;
      case TArrow::Down: P->fillRect(cx - i, cy + tip - i, 2 * i + 1, 1, Color); break;
    }
  }
}

// A mixed into B by Percent per cent.
TColor Mix(TColor A, TColor B, int32_t Percent) {
  if (Percent <= 0) return A;
  const TColor a = ColorToRGB(A);
  const TColor b = ColorToRGB(B);
  auto mix = [Percent](uint8_t x, uint8_t y) { return static_cast<uint8_t>(x + (y - x) * Percent / 100); };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

}  // namespace

// ---- TKxDeScrollbarPart -------------------------------------------------------------------------

template <class T>
void TKxDeScrollbarPart::Set(T& Field, T Value, bool Layout) {
  if (Field == Value) return;
  Field = Value;
  Changed(Layout);
}

void TKxDeScrollbarPart::SetColor(TColor Value) { Set(FColor, Value); }
void TKxDeScrollbarPart::SetDisabledColor(TColor Value) { Set(FDisabledColor, Value); }
void TKxDeScrollbarPart::SetDownColor(TColor Value) { Set(FDownColor, Value); }
void TKxDeScrollbarPart::SetHotColor(TColor Value) { Set(FHotColor, Value); }
void TKxDeScrollbarPart::SetBlend(int32_t Value) { Set(FBlend, std::clamp(Value, 0, 100)); }
void TKxDeScrollbarPart::SetEnabled(bool Value) { Set(FEnabled, Value); }
void TKxDeScrollbarPart::SetVisible(bool Value) { Set(FVisible, Value); }

void TKxDeScrollbarPart::SetColors(TColor AColor, TColor ADisabled, TColor ADown, TColor AHot) {
  if (FColor == AColor && FDisabledColor == ADisabled && FDownColor == ADown && FHotColor == AHot) return;
  FColor = AColor;
  FDisabledColor = ADisabled;
  FDownColor = ADown;
  FHotColor = AHot;
  Changed(false);
}

void TKxDeScrollbarPart::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeScrollbarPart*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FColor = s->FColor;
  FDisabledColor = s->FDisabledColor;
  FDownColor = s->FDownColor;
  FHotColor = s->FHotColor;
  FBlend = s->FBlend;
  FEnabled = s->FEnabled;
  FVisible = s->FVisible;
  Changed(false);
}

void TKxDeScrollbarPart::Changed(bool Layout) {
  if (FOwner) FOwner->Invalidate(Layout);
}

// ---- TKxDeCustomControlScrollbar: construction ----------------------------------------------------

TKxDeCustomControlScrollbar::TKxDeCustomControlScrollbar(TKxDeCustomScrollControl* AOwner, TKxDeScrollbarKind AKind)
    : FOwner(AOwner), FKind(AKind) {}

void TKxDeCustomControlScrollbar::AfterConstruction() {
  TPersistent::AfterConstruction();
  // The parts are set up quietly: the owner is still making its bars.
  ++FUpdateCount;
  const TKxDeScrollbarPartClass cls = GetScrollbarPartClass();
  for (auto& part : FParts) part = cls->Construct<TKxDeScrollbarPart>(this);
  Background()->SetColors(clScrollBar, clBtnFace, clBtnShadow, clScrollBar);
  Icons()->SetColors(clBtnText, clGrayText, clHighlightText, clBtnText);
  ButtonColors()->SetColors(clBtnFace, clBtnFace, clBtnShadow, cl3DLight);
  Thumb()->SetColors(clBtnShadow, clBtnFace, cl3DDkShadow, clGrayText);
  ExtraButton()->SetVisible(false);
  FUpdateCount = 0;
  FPendingRepaint = false;
  FPendingLayout = false;
}

TKxDeCustomControlScrollbar::~TKxDeCustomControlScrollbar() {
  FSmoothTimer.stop();
  for (auto& part : FParts) Free(part);
}

TKxDeScrollbarPartClass TKxDeCustomControlScrollbar::GetScrollbarPartClass() const {
  return ClassOf<TKxDeScrollbarPart>();
}

// ---- Range and position ---------------------------------------------------------------------------

int32_t TKxDeCustomControlScrollbar::GetMaximumValue() const {
  if (!FTrimPageSize || FPageSize < 1) return FMax;
  return std::max(FMin, FMax - FPageSize);
}

int32_t TKxDeCustomControlScrollbar::GetCalcRange() const { return std::max(GetMaximumValue() - FMin, 0); }

void TKxDeCustomControlScrollbar::FitPosition() {
  const int32_t old = FPosition;
  FPosition = std::clamp(FPosition, FMin, GetMaximumValue());
  RangeChanged();
  PositionChanged();
  if (old != FPosition) PositionChanged(old, FPosition);
}

void TKxDeCustomControlScrollbar::SetMin(int32_t Value) {
  Value = std::min(Value, FMax);
  if (Value == FMin) return;
  FMin = Value;
  FitPosition();
}

void TKxDeCustomControlScrollbar::SetMax(int32_t Value) {
  Value = std::max(Value, FMin);
  if (Value == FMax) return;
  FMax = Value;
  FitPosition();
}

void TKxDeCustomControlScrollbar::SetRange(int32_t Range) {
  Range = std::max(Range, 0);
  if (FMin == 0 && FMax == Range) return;
  TScrollbarUpdate update(this);
  SetMin(0);
  SetMax(Range);
}

void TKxDeCustomControlScrollbar::SetPageSize(int32_t Value) {
  Value = std::max(Value, 0);
  if (Value == FPageSize) return;
  FPageSize = Value;
  FitPosition();
}

void TKxDeCustomControlScrollbar::SetPosition(int32_t Value) {
  Value = std::clamp(Value, FMin, GetMaximumValue());
  if (!CanScrollToPos(Value)) return;
  bool canScroll = true;
  if (FOwner) FOwner->DoScrollerPositionChanging(FKind, FPosition, Value, canScroll);
  if (!canScroll) return;
  // Whatever the hooks made of it, a position never leaves the range.
  Value = std::clamp(Value, FMin, GetMaximumValue());
  if (Value == FPosition) return;
  const int32_t old = FPosition;
  FPosition = Value;
  PositionChanged();
  PositionChanged(old, Value);
}

bool TKxDeCustomControlScrollbar::CanScrollToPos(int32_t& Pos) {
  return FOwner ? FOwner->CanScrollToPos(FKind, Pos) : true;
}

void TKxDeCustomControlScrollbar::SetLargeChange(int32_t Value) {
  FLargeChange = static_cast<uint16_t>(TKxDeScrollbarInc::Clamp(Value));
}

void TKxDeCustomControlScrollbar::SetSmallChange(int32_t Value) {
  FSmallChange = static_cast<uint16_t>(TKxDeScrollbarInc::Clamp(Value));
}

void TKxDeCustomControlScrollbar::RangeChanged() { Invalidate(); }
void TKxDeCustomControlScrollbar::PositionChanged() { Invalidate(); }

void TKxDeCustomControlScrollbar::PositionChanged(int32_t, int32_t) {
  if (FOwner) FOwner->DoScrollerPositionChanged(FKind);
}

// ---- Settings -------------------------------------------------------------------------------------

void TKxDeCustomControlScrollbar::SetButtonSize(int32_t Value) {
  if (FButtonSize == Value) return;
  FButtonSize = Value;
  Invalidate();
}

void TKxDeCustomControlScrollbar::SetThumbSize(int32_t Value) {
  if (FThumbSize == Value) return;
  FThumbSize = Value;
  Invalidate();
}

void TKxDeCustomControlScrollbar::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Invalidate();
}

void TKxDeCustomControlScrollbar::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Invalidate(true);
}

void TKxDeCustomControlScrollbar::SetTrack(bool Value) { FTrack = Value; }

void TKxDeCustomControlScrollbar::SetTrimPageSize(bool Value) {
  if (FTrimPageSize == Value) return;
  FTrimPageSize = Value;
  FitPosition();
}

void TKxDeCustomControlScrollbar::SetSmooth(bool Value) {
  if (FSmooth == Value) return;
  if (!Value) FinishSmoothScroll();
  FSmooth = Value;
}

void TKxDeCustomControlScrollbar::SetBorderColor(TColor Value) {
  if (FBorderColor == Value) return;
  FBorderColor = Value;
  Invalidate();
}

void TKxDeCustomControlScrollbar::SetSlideLine(bool Value) {
  if (FSlideLine == Value) return;
  FSlideLine = Value;
  Invalidate();
}

void TKxDeCustomControlScrollbar::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeCustomControlScrollbar*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  TScrollbarUpdate update(this);
  SetMin(std::min(s->FMin, FMax));
  SetMax(s->FMax);
  SetMin(s->FMin);
  SetPageSize(s->FPageSize);
  SetPosition(s->FPosition);
  FLargeChange = s->FLargeChange;
  FSmallChange = s->FSmallChange;
  SetButtonSize(s->FButtonSize);
  SetThumbSize(s->FThumbSize);
  SetEnabled(s->FEnabled);
  SetVisible(s->FVisible);
  FTrack = s->FTrack;
  SetTrimPageSize(s->FTrimPageSize);
  SetSmooth(s->FSmooth);
  FSmoothLineDivisions = s->FSmoothLineDivisions;
  FSmoothPageDivisions = s->FSmoothPageDivisions;
  FSmoothStepDelay = s->FSmoothStepDelay;
  FSensitivity = s->FSensitivity;
  SetBorderColor(s->FBorderColor);
  SetSlideLine(s->FSlideLine);
  for (size_t i = 0; i < FParts.size(); ++i) FParts[i]->Assign(s->FParts[i]);
}

// ---- Update bracket ---------------------------------------------------------------------------------

void TKxDeCustomControlScrollbar::Invalidate(bool Layout) {
  if (FUpdateCount > 0) {
    FPendingRepaint = true;
    FPendingLayout = FPendingLayout || Layout;
    return;
  }
  if (FOwner) FOwner->ScrollbarChanged(this, Layout);
}

void TKxDeCustomControlScrollbar::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0 || !FPendingRepaint) return;
  const bool layout = FPendingLayout;
  FPendingRepaint = false;
  FPendingLayout = false;
  if (FOwner) FOwner->ScrollbarChanged(this, layout);
}

// ---- Scrolling --------------------------------------------------------------------------------------

void TKxDeCustomControlScrollbar::ScrollMessage(int32_t Code) {
  switch (Code) {
    case SB_LINEUP: ScrollBy(-FSmallChange, FSmoothLineDivisions); break;
    case SB_LINEDOWN: ScrollBy(FSmallChange, FSmoothLineDivisions); break;
    case SB_PAGEUP: ScrollBy(-GetPageUpDownSize(), FSmoothPageDivisions); break;
    case SB_PAGEDOWN: ScrollBy(GetPageUpDownSize(), FSmoothPageDivisions); break;
    case SB_TOP:
      FinishSmoothScroll();
      SetPosition(0);
      break;
    case SB_BOTTOM:
      FinishSmoothScroll();
      SetPosition(GetCalcRange());
      break;
    default: break;  // thumb codes are the owner's
  }
}

void TKxDeCustomControlScrollbar::ScrollBy(int32_t Delta, int32_t Divisions) {
  FinishSmoothScroll();
  if (!FSmooth || Divisions <= 1) {
    SetPosition(FPosition + Delta);
    return;
  }
  // Divisions steps of the whole quotient, then the remainder; a step that would be 0 leaves
  // everything to the remainder.
  FSmoothStepSize = Delta / Divisions;
  FSmoothStepsLeft = FSmoothStepSize != 0 ? Divisions : 0;
  FSmoothRest = Delta - FSmoothStepSize * FSmoothStepsLeft;
  SmoothStep();
  if (SmoothScrolling() && FOwner) FSmoothTimer.start(FSmoothStepDelay, FOwner);
}

void TKxDeCustomControlScrollbar::SmoothStep() {
  int32_t step = 0;
  if (FSmoothStepsLeft > 0) {
    step = FSmoothStepSize;
    --FSmoothStepsLeft;
  } else {
    step = FSmoothRest;
    FSmoothRest = 0;
  }
  const int32_t before = FPosition;
  SetPosition(FPosition + step);
  // Blocked at an end (or refused): the rest of the scroll is dropped.
  if (FPosition == before && step != 0) {
    FSmoothStepsLeft = 0;
    FSmoothRest = 0;
  }
  if (FOwner) FOwner->update();
  if (!SmoothScrolling()) FSmoothTimer.stop();
}

void TKxDeCustomControlScrollbar::FinishSmoothScroll() {
  while (SmoothScrolling()) SmoothStep();
  FSmoothTimer.stop();
}

// ---- Geometry ---------------------------------------------------------------------------------------

TRect TKxDeCustomControlScrollbar::GetBarRect() const { return FOwner ? FOwner->GetScrollbarRect(FKind) : TRect{}; }

TKxDeCustomControlScrollbar::TLayout TKxDeCustomControlScrollbar::Layout() const {
  TLayout l;
  const TRect b = GetBarRect();
  l.Start = Horizontal() ? b.Left : b.Top;
  l.End = std::max(l.Start, Horizontal() ? b.Right : b.Bottom);
  const bool extra = ExtraButton()->Visible();
  const bool left = LeftButton()->Visible();
  const bool right = RightButton()->Visible();
  const int32_t n = int32_t{extra} + int32_t{left} + int32_t{right};
  const int32_t length = l.End - l.Start;
  if (n > 0 && length > 0) {
    const int32_t wanted = FButtonSize >= 0 ? FButtonSize : TKxDeCustomScrollControl::SystemArrowSize();
    l.Button = std::min(wanted, length / n);
    if (l.Button < 3) l.Button = 0;
  }
  const int32_t bl = l.Button;
  auto place = [bl](int32_t(&Span)[2], int32_t At) {
    Span[0] = At;
    Span[1] = At + bl;
  };
  // The buttons in their order along the bar: left (or top), extra, right (or bottom).
  auto placeGroup = [&](int32_t At) {
    if (left) place(l.Left, At), At += bl;
    if (extra) place(l.Extra, At), At += bl;
    if (right) place(l.Right, At), At += bl;
    return At;
  };
  switch (FOwner ? FOwner->Scrollbars()->Layout() : TKxDeScrollButtonLayout::kxdsbDefault) {
    case TKxDeScrollButtonLayout::kxdsbLeftTop:
      l.Track[0] = placeGroup(l.Start);
      l.Track[1] = l.End;
      break;
    case TKxDeScrollButtonLayout::kxdsbRightBottom:
      l.Track[0] = l.Start;
      l.Track[1] = l.End - n * bl;
      placeGroup(l.Track[1]);
      break;
    default: {
      int32_t at = l.Start;
      if (left) place(l.Left, at), at += bl;
      l.Track[0] = at;
      at = l.End;
      if (right) at -= bl, place(l.Right, at);
      if (extra) at -= bl, place(l.Extra, at);
      l.Track[1] = at;
      break;
    }
  }
  l.Track[1] = std::max(l.Track[1], l.Track[0]);
  return l;
}

TRect TKxDeCustomControlScrollbar::SpanRect(int32_t From, int32_t To) const {
  if (To <= From) return TRect{};
  const TRect b = GetBarRect();
  return Horizontal() ? TRect{From, b.Top, To, b.Bottom} : TRect{b.Left, From, b.Right, To};
}

int32_t TKxDeCustomControlScrollbar::GetButtonLength() const { return Layout().Button; }

TRect TKxDeCustomControlScrollbar::GetExtraButtonRect() const {
  const TLayout l = Layout();
  return ExtraButton()->Visible() ? SpanRect(l.Extra[0], l.Extra[1]) : TRect{};
}

TRect TKxDeCustomControlScrollbar::GetLeftButtonRect() const {
  const TLayout l = Layout();
  return LeftButton()->Visible() ? SpanRect(l.Left[0], l.Left[1]) : TRect{};
}

TRect TKxDeCustomControlScrollbar::GetRightButtonRect() const {
  const TLayout l = Layout();
  return RightButton()->Visible() ? SpanRect(l.Right[0], l.Right[1]) : TRect{};
}

TRect TKxDeCustomControlScrollbar::GetTrackRect() const {
  const TLayout l = Layout();
  return SpanRect(l.Track[0], l.Track[1]);
}

int32_t TKxDeCustomControlScrollbar::GetThumbLength() const {
  const TLayout l = Layout();
  const int32_t track = l.Track[1] - l.Track[0];
  if (!FEnabled || !Thumb()->Visible() || track <= 0) return 0;
  const int32_t system = TKxDeCustomScrollControl::SystemThumbSize();
  int32_t length = 0;
  if (FThumbSize != -1) {
    length = FThumbSize;
  } else if (FPageSize > 0) {
    length = MulDiv(FPageSize, track, FMax - FMin + 1);
    length = std::max(length, system * 2 / 3);
  } else {
    length = system;
  }
  length = std::min(std::max(length, 3), track);
  return length < 3 ? 0 : length;
}

int32_t TKxDeCustomControlScrollbar::ThumbOffset(int32_t TrackLength, int32_t ThumbLength) const {
  const int32_t room = std::max(TrackLength - ThumbLength, 0);
  if (FDragging && !FTrack) return std::clamp(FDragOffset, 0, room);
  const int32_t range = GetMaximumValue() - FMin;
  if (range < 1) return 0;
  const int64_t offset = int64_t{room} * (FPosition - FMin) / range;
  return static_cast<int32_t>(std::clamp<int64_t>(offset, 0, room));
}

TRect TKxDeCustomControlScrollbar::GetThumbRect() const {
  const int32_t length = GetThumbLength();
  if (length == 0 || GetMaximumValue() - FMin < 1) return TRect{};
  const TLayout l = Layout();
  const int32_t start = l.Track[0] + ThumbOffset(l.Track[1] - l.Track[0], length);
  return SpanRect(start, start + length);
}

int32_t TKxDeCustomControlScrollbar::GetPositionAtPos(int32_t X, int32_t Y) const {
  const TLayout l = Layout();
  const int32_t p = AlongOf(X, Y) - l.Track[0];
  const int32_t range = GetMaximumValue() - FMin;
  if (p < 0 || range < 1) return FMin;
  const int32_t bins = (l.Track[1] - l.Track[0]) - GetThumbLength();
  if (bins <= 0) return FMin;
  if (p >= bins) return GetMaximumValue();
  // Bin i spans i * bins / range up to (i + 1) * bins / range: the last bin starting at or
  // before p holds it (bins narrower than a pixel start where the next one does).
  int64_t i = std::clamp<int64_t>(int64_t{p} * range / bins, 0, range - 1);
  while (i + 1 < range && (i + 1) * bins / range <= p) ++i;
  while (i > 0 && i * bins / range > p) --i;
  return FMin + static_cast<int32_t>(i);
}

TKxDeScrollerHitPart TKxDeCustomControlScrollbar::PartAt(int32_t X, int32_t Y) const {
  if (!GetBarRect().Contains(TPoint{X, Y})) return TKxDeScrollerHitPart::kxspNone;
  if (GetLeftButtonRect().Contains(TPoint{X, Y})) return TKxDeScrollerHitPart::kxspLeftButton;
  if (GetRightButtonRect().Contains(TPoint{X, Y})) return TKxDeScrollerHitPart::kxspRightButton;
  if (GetExtraButtonRect().Contains(TPoint{X, Y})) return TKxDeScrollerHitPart::kxspExtraButton;
  const TLayout l = Layout();
  const int32_t a = AlongOf(X, Y);
  if (a < l.Track[0] || a >= l.Track[1]) return TKxDeScrollerHitPart::kxspNone;
  const TRect thumb = GetThumbRect();
  if (thumb.Contains(TPoint{X, Y})) return TKxDeScrollerHitPart::kxspThumb;
  // Without a thumb the track is split in the middle.
  const int32_t split = thumb.IsEmpty() ? (l.Track[0] + l.Track[1]) / 2 : (Horizontal() ? thumb.Left : thumb.Top);
  return a < split ? TKxDeScrollerHitPart::kxspLeftSpare : TKxDeScrollerHitPart::kxspRightSpare;
}

// ---- Painting ---------------------------------------------------------------------------------------

TKxDeScrollbarPartState TKxDeCustomControlScrollbar::StateOf(TKxDeScrollerHitPart HitPart,
                                                             const TKxDeScrollbarPart* APart) const {
  if (!FEnabled || !APart->Enabled()) return TKxDeScrollbarPartState::Disabled;
  if (!FOwner) return TKxDeScrollbarPartState::Normal;
  const TKxDeScrollbarHitKind kind = HitKindOf(FKind);
  const TKxDeScrollbarHittest& down = FOwner->DownHittest();
  if (down.Kind == kind && down.HitPart == HitPart) return TKxDeScrollbarPartState::Down;
  const TKxDeScrollbarHittest& hot = FOwner->HotHittest();
  if (hot.Kind == kind && hot.HitPart == HitPart) return TKxDeScrollbarPartState::Hot;
  return TKxDeScrollbarPartState::Normal;
}

TColor TKxDeCustomControlScrollbar::PartColor(const TKxDeScrollbarPart* APart, TKxDeScrollbarPartState State,
                                              bool Icon) const {
  auto pick = [State](const TKxDeScrollbarPart* P) {
    switch (State) {
      case TKxDeScrollbarPartState::Hot: return P->HotColor();
      case TKxDeScrollbarPartState::Down: return P->DownColor();
      case TKxDeScrollbarPartState::Disabled: return P->DisabledColor();
      default: return P->Color();
    }
  };
  TColor c = Icon ? pick(Icons()) : pick(APart);
  if (c == clDefault) c = pick(ButtonColors());
  return Mix(c, pick(Background()), APart->Blend());
}

TColor TKxDeCustomControlScrollbar::GetBackColor() const {
  return PartColor(
      Background(),
      FEnabled && Background()->Enabled() ? TKxDeScrollbarPartState::Normal : TKxDeScrollbarPartState::Disabled, false);
}

#define VORN_BUTTON_COLORS(Name, HitPart, PartGetter)                                            \
  TColor TKxDeCustomControlScrollbar::Get##Name##Color() const {                                 \
    return PartColor(PartGetter(), StateOf(TKxDeScrollerHitPart::HitPart, PartGetter()), false); \
  }                                                                                              \
  TColor TKxDeCustomControlScrollbar::Get##Name##IconColor() const {                             \
    return PartColor(PartGetter(), StateOf(TKxDeScrollerHitPart::HitPart, PartGetter()), true);  \
  }
VORN_BUTTON_COLORS(ExtraBtn, kxspExtraButton, ExtraButton)
VORN_BUTTON_COLORS(LeftBtn, kxspLeftButton, LeftButton)
VORN_BUTTON_COLORS(RightBtn, kxspRightButton, RightButton)
#undef VORN_BUTTON_COLORS

TColor TKxDeCustomControlScrollbar::GetThumbColor() const {
  return PartColor(Thumb(), StateOf(TKxDeScrollerHitPart::kxspThumb, Thumb()), false);
}

void TKxDeCustomControlScrollbar::Paint(TCanvas* C) {
  const TRect b = GetBarRect();
  if (!C || b.IsEmpty()) return;
  QPainter* p = C->Painter();
  p->save();
  p->setRenderHint(QPainter::Antialiasing, true);
  p->fillRect(b.Left, b.Top, b.Width(), b.Height(), ToQColor(GetBackColor()));
  const TLayout l = Layout();
  const TRect track = SpanRect(l.Track[0], l.Track[1]);
  const TRect thumb = GetThumbRect();
  // A held part of the track shows pressed, from the thumb to the track's end.
  if (FOwner && FOwner->DownHittest().Kind == HitKindOf(FKind) && !thumb.IsEmpty()) {
    const TKxDeScrollerHitPart held = FOwner->DownHittest().HitPart;
    const int32_t t0 = Horizontal() ? thumb.Left : thumb.Top;
    const int32_t t1 = Horizontal() ? thumb.Right : thumb.Bottom;
    TRect r;
    if (held == TKxDeScrollerHitPart::kxspLeftSpare) r = SpanRect(l.Track[0], t0);
    if (held == TKxDeScrollerHitPart::kxspRightSpare) r = SpanRect(t1, l.Track[1]);
    if (!r.IsEmpty()) p->fillRect(r.Left, r.Top, r.Width(), r.Height(), ToQColor(Background()->DownColor()));
  }
  if (FSlideLine && !track.IsEmpty()) {
    p->setPen(ToQColor(PartColor(Icons(), TKxDeScrollbarPartState::Disabled, true)));
    const int32_t mx = (track.Left + track.Right) / 2;
    const int32_t my = (track.Top + track.Bottom) / 2;
    if (Horizontal()) p->drawLine(track.Left + 2, my, track.Right - 3, my);
    else p->drawLine(mx, track.Top + 2, mx, track.Bottom - 3);
  }
  // Buttons: a face and an arrow (the extra button a dot).
  auto button = [&](const TRect& R, TColor Face, TColor Icon, TArrow Direction) {
    if (R.IsEmpty()) return;
    p->fillRect(R.Left, R.Top, R.Width(), R.Height(), ToQColor(Face));
    DrawArrow(p, R, Direction, ToQColor(Icon));
  };
  button(GetLeftButtonRect(), GetLeftBtnColor(), GetLeftBtnIconColor(), Horizontal() ? TArrow::Left : TArrow::Up);
  button(GetRightButtonRect(), GetRightBtnColor(), GetRightBtnIconColor(), Horizontal() ? TArrow::Right : TArrow::Down);
  button(GetExtraButtonRect(), GetExtraBtnColor(), GetExtraBtnIconColor(), TArrow::Dot);
  if (!thumb.IsEmpty()) {
    // A rounded bar, inset across the thickness, with optional grip lines in its middle.
    const QRectF r = Horizontal() ? QRectF(thumb.Left + 1, thumb.Top + 3, thumb.Width() - 2, thumb.Height() - 6)
                                  : QRectF(thumb.Left + 3, thumb.Top + 1, thumb.Width() - 6, thumb.Height() - 2);
    const double radius = std::min(r.width(), r.height()) / 2;
    p->setPen(Qt::NoPen);
    p->setBrush(ToQColor(GetThumbColor()));
    p->drawRoundedRect(r, radius, radius);
    const TKxDeScrollThumbline lines = FOwner ? FOwner->Scrollbars()->ThumbLines() : TKxDeScrollThumbline::kxtlNone;
    if (lines != TKxDeScrollThumbline::kxtlNone && (Horizontal() ? r.width() : r.height()) > 12) {
      p->setPen(ToQColor(PartColor(Icons(), TKxDeScrollbarPartState::Normal, true)));
      const QPointF c = r.center();
      for (int i = -1; i <= 1; ++i) {
        if (Horizontal()) p->drawLine(QPointF(c.x() + 3 * i, r.top() + 2), QPointF(c.x() + 3 * i, r.bottom() - 2));
        else p->drawLine(QPointF(r.left() + 2, c.y() + 3 * i), QPointF(r.right() - 2, c.y() + 3 * i));
      }
    }
  }
  p->restore();
}

// ---- Published bars -----------------------------------------------------------------------------------

TKxDeScrollbar::TKxDeScrollbar(TKxDeCustomScrollControl* AOwner, TKxDeScrollbarKind AKind)
    : TKxDeCustomControlScrollbar(AOwner, AKind) {
  SetSensitivity(120);
  SetTrack(false);
}

int32_t TKxDeScrollbar::GetPosition() const { return Visible() ? TKxDeCustomControlScrollbar::GetPosition() : 0; }

int32_t TKxDeScrollbar::GetSensitivity() const { return Track() ? -1 : TKxDeCustomControlScrollbar::GetSensitivity(); }

// ---- TKxDeControlScrollbars ---------------------------------------------------------------------------

void TKxDeControlScrollbars::AfterConstruction() {
  TPersistent::AfterConstruction();
  const TKxDeCustomControlScrollbarClass cls = FOwner->GetScrollbarClass();
  FHorizontal = cls->Construct<TKxDeCustomControlScrollbar>(FOwner, TKxDeScrollbarKind::kxdskHorizontal);
  FVertical = cls->Construct<TKxDeCustomControlScrollbar>(FOwner, TKxDeScrollbarKind::kxdskVertical);
}

TKxDeControlScrollbars::~TKxDeControlScrollbars() {
  Free(FHorizontal);
  Free(FVertical);
}

void TKxDeControlScrollbars::SetExtraButton(bool Value) {
  if (FExtraButton == Value) return;
  FExtraButton = Value;
  FHorizontal->ExtraButton()->SetVisible(Value);
  FVertical->ExtraButton()->SetVisible(Value);
}

void TKxDeControlScrollbars::SetHeight(int32_t Value) {
  Value = std::max(Value, -1);
  if (FHeight == Value) return;
  FHeight = Value;
  if (FOwner) FOwner->UpdateNonClient();
}

void TKxDeControlScrollbars::SetLayout(TKxDeScrollButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  if (FOwner) FOwner->RedrawScrollbars();
}

void TKxDeControlScrollbars::SetStyle(TKxDeScrollbarStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (FOwner) FOwner->RedrawScrollbars();
}

void TKxDeControlScrollbars::SetThumbLines(TKxDeScrollThumbline Value) {
  if (FThumbLines == Value) return;
  FThumbLines = Value;
  if (FOwner) FOwner->RedrawScrollbars();
}

void TKxDeControlScrollbars::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeControlScrollbars*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  SetExtraButton(s->FExtraButton);
  SetHeight(s->FHeight);
  SetLayout(s->FLayout);
  SetStyle(s->FStyle);
  SetThumbLines(s->FThumbLines);
  FHorizontal->Assign(s->FHorizontal);
  FVertical->Assign(s->FVertical);
}

}  // namespace vorn
