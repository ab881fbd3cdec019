#include "vorn/controls/KxDeCustomScrollControl.h"

#include "vorn/common/Bracket_p.h"
#include "vorn/common/Canvas.h"
#include "vorn/common/Rounding.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleHints>
#include <QTimerEvent>

#include <algorithm>

namespace vorn {

namespace {

int32_t gKeyboardDelaySetting = 1;

using TScrollbarUpdate = TBracket<TKxDeCustomControlScrollbar, &TKxDeCustomControlScrollbar::BeginUpdate,
                                  &TKxDeCustomControlScrollbar::EndUpdate>;

TKxDeScrollbarKind KindOfHit(TKxDeScrollbarHitKind Kind) {
  return Kind == TKxDeScrollbarHitKind::kxshkHorizontal ? TKxDeScrollbarKind::kxdskHorizontal
                                                        : TKxDeScrollbarKind::kxdskVertical;
}

}  // namespace

const TClass* TKxDeCustomScrollControl::ClassType() const { return ClassOf<TKxDeCustomScrollControl>(); }

TKxDeCustomScrollControl::TKxDeCustomScrollControl(QWidget* Parent) : TKxDeCustomSizableControl(Parent) {}

TKxDeCustomScrollControl::~TKxDeCustomScrollControl() { FRepeatTimer.stop(); }

TKxDeControlScrollbars* TKxDeCustomScrollControl::Scrollbars() const {
  if (!FScrollbars) {
    auto* self = const_cast<TKxDeCustomScrollControl*>(this);
    FScrollbars.reset(GetControlScrollbarsClass()->Construct<TKxDeControlScrollbars>(self));
  }
  return FScrollbars.get();
}

void TKxDeCustomScrollControl::SetScrollbars(const TKxDeControlScrollbars* Value) {
  if (Value) Scrollbars()->Assign(Value);
}

TKxDeCustomControlScrollbarClass TKxDeCustomScrollControl::GetScrollbarClass() const {
  return ClassOf<TKxDeControlScrollbar>();
}

TKxDeControlCustomScrollbarsClass TKxDeCustomScrollControl::GetControlScrollbarsClass() const {
  return ClassOf<TKxDeControlScrollbars>();
}

// ---- Records ------------------------------------------------------------------------------------

void TKxDeCustomScrollControl::GetScrollbarInfo(TKxDeScrollbarKind Kind, TKxDeScrollInfo& Info) const {
  const TKxDeCustomControlScrollbar* bar = Scrollbar(Kind);
  Info.Min = bar->Min();
  Info.Max = bar->Max();
  Info.Page = bar->PageSize();
  Info.Pos = bar->Position();
  Info.Range = bar->Max() - bar->Min();
  Info.ButtonSize = bar->ButtonSize();
  Info.ThumbSize = bar->ThumbSize();
  Info.LargeChange = bar->LargeChange();
  Info.SmallChange = bar->SmallChange();
  Info.Visible = bar->Visible();
  Info.Enabled = bar->Enabled();
  Info.Smooth = bar->Smooth();
  Info.LeftButtonEnabled = bar->LeftButton()->Enabled();
  Info.LeftButtonVisible = bar->LeftButton()->Visible();
  Info.RightButtonEnabled = bar->RightButton()->Enabled();
  Info.RightButtonVisible = bar->RightButton()->Visible();
  Info.Tracking = bar->Track();
  Info.ThumbEnabled = bar->Thumb()->Enabled();
  Info.ThumbVisible = bar->Thumb()->Visible();
  Info.TrimPageSize = bar->TrimPageSize();
}

void TKxDeCustomScrollControl::SetScrollbarInfo(TKxDeScrollbarKind Kind, const TKxDeScrollInfo& Info) {
  TKxDeScrollInfo current;
  GetScrollbarInfo(Kind, current);
  if (current == Info) return;
  TKxDeCustomControlScrollbar* bar = Scrollbar(Kind);
  TScrollbarUpdate update(bar);
  bar->SetMin(Info.Min);
  bar->SetMax(Info.Max);
  bar->SetPageSize(Info.Page);
  bar->SetPosition(Info.Pos);
  bar->SetButtonSize(Info.ButtonSize);
  bar->SetThumbSize(Info.ThumbSize);
  bar->SetLargeChange(Info.LargeChange);
  bar->SetSmallChange(Info.SmallChange);
  bar->SetVisible(Info.Visible);
  bar->SetEnabled(Info.Enabled);
  bar->SetSmooth(Info.Smooth);
  bar->LeftButton()->SetEnabled(Info.LeftButtonEnabled);
  bar->LeftButton()->SetVisible(Info.LeftButtonVisible);
  bar->RightButton()->SetEnabled(Info.RightButtonEnabled);
  bar->RightButton()->SetVisible(Info.RightButtonVisible);
  bar->SetTrack(Info.Tracking);
  bar->Thumb()->SetEnabled(Info.ThumbEnabled);
  bar->Thumb()->SetVisible(Info.ThumbVisible);
  bar->SetTrimPageSize(Info.TrimPageSize);
}

// ---- Geometry -----------------------------------------------------------------------------------

int32_t TKxDeCustomScrollControl::SystemScrollbarExtent() {
  QStyle* style = qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::style() : nullptr;
  const int32_t extent = style ? style->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
  return extent > 0 ? extent : 16;
}

int32_t TKxDeCustomScrollControl::GetHorzScrollbarHeight() const {
  const int32_t h = Scrollbars()->Height();
  return h >= 0 ? h : SystemScrollbarExtent();
}

int32_t TKxDeCustomScrollControl::GetVertScrollbarWidth() const {
  const int32_t w = Scrollbars()->Height();
  return w >= 0 ? w : SystemScrollbarExtent();
}

bool TKxDeCustomScrollControl::IsHorzScrollBarVisible() const { return Scrollbars()->Horizontal()->Visible(); }
bool TKxDeCustomScrollControl::IsVertScrollBarVisible() const { return Scrollbars()->Vertical()->Visible(); }

int32_t TKxDeCustomScrollControl::NonClientBottom() const {
  return TKxDeCustomSizableControl::NonClientBottom() + (IsHorzScrollBarVisible() ? GetHorzScrollbarHeight() : 0);
}

int32_t TKxDeCustomScrollControl::NonClientRight() const {
  return IsVertScrollBarVisible() ? GetVertScrollbarWidth() : 0;
}

TRect TKxDeCustomScrollControl::GetHorzScrollbarRect() const {
  if (!IsHorzScrollBarVisible()) return TRect{};
  const TRect inner = GetInnerRect();
  const int32_t bottom = std::max(inner.Top, inner.Bottom - TKxDeCustomSizableControl::NonClientBottom());
  const int32_t right = std::max(inner.Left, inner.Right - NonClientRight());
  return TRect{inner.Left, std::max(inner.Top, bottom - GetHorzScrollbarHeight()), right, bottom};
}

TRect TKxDeCustomScrollControl::GetVertScrollbarRect() const {
  if (!IsVertScrollBarVisible()) return TRect{};
  const TRect inner = GetInnerRect();
  const int32_t bottom = std::max(inner.Top, inner.Bottom - NonClientBottom());
  return TRect{std::max(inner.Left, inner.Right - GetVertScrollbarWidth()), inner.Top, inner.Right, bottom};
}

TRect TKxDeCustomScrollControl::GetScrollbarRect(TKxDeScrollbarKind Kind) const {
  return Kind == TKxDeScrollbarKind::kxdskHorizontal ? GetHorzScrollbarRect() : GetVertScrollbarRect();
}

TRect TKxDeCustomScrollControl::GetScrollbarCornerRect() const {
  if (!BothBarsVisible()) return TRect{};
  const TRect h = GetHorzScrollbarRect();
  const TRect v = GetVertScrollbarRect();
  return TRect{v.Left, h.Top, v.Right, h.Bottom};
}

// ---- Hooks --------------------------------------------------------------------------------------

bool TKxDeCustomScrollControl::CanScrollToPos(TKxDeScrollbarKind, int32_t&) { return true; }

void TKxDeCustomScrollControl::DoScrollerPositionChanging(TKxDeScrollbarKind Kind, int32_t CurPos, int32_t& NewPos,
                                                          bool& CanScroll) {
  CallEvent(OnScroll, this, Kind, CurPos, NewPos, CanScroll);
}

void TKxDeCustomScrollControl::DoScrollerPositionChanged(TKxDeScrollbarKind Kind) {
  CallEvent(OnScrollChangeEvent, this, Kind);
}

void TKxDeCustomScrollControl::DoScrollMessage(TKxDeScrollbarKind Kind, int32_t Code, int32_t Pos) {
  TKxDeCustomControlScrollbar* bar = Scrollbar(Kind);
  if (Code == SB_THUMBTRACK || Code == SB_THUMBPOSITION) bar->SetPosition(Pos);
  else if (Code != SB_ENDSCROLL) bar->ScrollMessage(Code);
}

void TKxDeCustomScrollControl::ScrollbarChanged(TKxDeCustomControlScrollbar* Bar, bool Layout) {
  if (Layout) UpdateNonClient();
  else RedrawScrollbar(Bar->Kind());
}

// ---- Painting -----------------------------------------------------------------------------------

void TKxDeCustomScrollControl::RedrawScrollbars() {
  RedrawScrollbar(TKxDeScrollbarKind::kxdskHorizontal);
  RedrawScrollbar(TKxDeScrollbarKind::kxdskVertical);
}

void TKxDeCustomScrollControl::RedrawScrollbar(TKxDeScrollbarKind Kind) {
  const TRect r = GetScrollbarRect(Kind);
  if (!r.IsEmpty()) update(r.Left, r.Top, r.Width(), r.Height());
}

void TKxDeCustomScrollControl::PaintNonClient(TCanvas* C) {
  TKxDeCustomSizableControl::PaintNonClient(C);
  if (IsHorzScrollBarVisible()) Scrollbars()->Horizontal()->Paint(C);
  if (IsVertScrollBarVisible()) Scrollbars()->Vertical()->Paint(C);
  const TRect corner = GetScrollbarCornerRect();
  if (!corner.IsEmpty())
    C->Painter()->fillRect(corner.Left, corner.Top, corner.Width(), corner.Height(), ToQColor(clBtnFace));
}

// ---- Hit testing --------------------------------------------------------------------------------

void TKxDeCustomScrollControl::FillScrollbarHittest(int32_t X, int32_t Y, TKxDeScrollbarHittest& HT) const {
  HT = TKxDeScrollbarHittest{};
  HT.X = X;
  HT.Y = Y;
  for (TKxDeCustomControlScrollbar* bar : {Scrollbars()->Horizontal(), Scrollbars()->Vertical()}) {
    if (!bar->Visible() || !bar->GetBarRect().Contains(TPoint{X, Y})) continue;
    const TKxDeScrollerHitPart part = bar->PartAt(X, Y);
    if (part == TKxDeScrollerHitPart::kxspNone) return;
    HT.Kind = bar->Horizontal() ? TKxDeScrollbarHitKind::kxshkHorizontal : TKxDeScrollbarHitKind::kxshkVertical;
    HT.HitPart = part;
    const TKxDeScrollbarPart* owner = bar->Background();
    switch (part) {
      case TKxDeScrollerHitPart::kxspThumb: owner = bar->Thumb(); break;
      case TKxDeScrollerHitPart::kxspLeftButton: owner = bar->LeftButton(); break;
      case TKxDeScrollerHitPart::kxspRightButton: owner = bar->RightButton(); break;
      case TKxDeScrollerHitPart::kxspExtraButton: owner = bar->ExtraButton(); break;
      default: break;
    }
    HT.Enabled = bar->Enabled() && owner->Enabled();
    return;
  }
}

void TKxDeCustomScrollControl::SetHotHit(const TKxDeScrollbarHittest& HT) {
  if (HT.Kind == FHotHit.Kind && HT.HitPart == FHotHit.HitPart) {
    FHotHit = HT;
    return;
  }
  const TKxDeScrollbarHitKind was = FHotHit.Kind;
  FHotHit = HT;
  if (was != TKxDeScrollbarHitKind::kxshkNone) RedrawScrollbar(KindOfHit(was));
  if (HT.Kind != TKxDeScrollbarHitKind::kxshkNone && HT.Kind != was) RedrawScrollbar(KindOfHit(HT.Kind));
}

void TKxDeCustomScrollControl::ResetHittest() {
  StopRepeat();
  if (FThumbDrag) {
    FThumbDrag = false;
    Scrollbars()->Horizontal()->FDragging = false;
    Scrollbars()->Vertical()->FDragging = false;
  }
  FDownHit = TKxDeScrollbarHittest{};
  SetHotHit(TKxDeScrollbarHittest{});
  RedrawScrollbars();
}

// ---- Auto-repeat --------------------------------------------------------------------------------

int32_t TKxDeCustomScrollControl::KeyboardDelaySetting() { return gKeyboardDelaySetting; }
void TKxDeCustomScrollControl::SetKeyboardDelaySetting(int32_t Value) {
  gKeyboardDelaySetting = std::clamp(Value, 0, 3);
}

int32_t TKxDeCustomScrollControl::KeyboardRepeatDelay() { return (gKeyboardDelaySetting + 1) * 200; }

int32_t TKxDeCustomScrollControl::KeyboardRepeatInterval() {
  // The style hints give the keyboard's repeat rate in repeats per second.
  const int32_t rate = QGuiApplication::instance() ? QGuiApplication::styleHints()->keyboardAutoRepeatRate() : 0;
  const int32_t interval = rate > 0 ? Round32(1000.0 / rate) : 0;
  return interval > 0 ? interval : 30;
}

int32_t TKxDeCustomScrollControl::RepeatCode(TKxDeScrollerHitPart Part) {
  switch (Part) {
    case TKxDeScrollerHitPart::kxspLeftButton:
    case TKxDeScrollerHitPart::kxspExtraButton: return SB_LINEUP;
    case TKxDeScrollerHitPart::kxspRightButton: return SB_LINEDOWN;
    case TKxDeScrollerHitPart::kxspLeftSpare: return SB_PAGEUP;
    case TKxDeScrollerHitPart::kxspRightSpare: return SB_PAGEDOWN;
    default: return -1;
  }
}

bool TKxDeCustomScrollControl::ScrollHeldPart() {
  const int32_t code = RepeatCode(FDownHit.HitPart);
  if (code < 0 || FDownHit.Kind == TKxDeScrollbarHitKind::kxshkNone) return false;
  const TKxDeScrollbarKind kind = KindOfHit(FDownHit.Kind);
  DoScrollMessage(kind, code, 0);
  const TKxDeCustomControlScrollbar* bar = Scrollbar(kind);
  const bool backwards = code == SB_LINEUP || code == SB_PAGEUP;
  return backwards ? bar->FPosition > bar->Min() : bar->FPosition < bar->GetMaximumValue();
}

void TKxDeCustomScrollControl::StartRepeat(int32_t Interval) {
  FRepeatInterval = Interval;
  FRepeatTimer.start(Interval, this);
}

void TKxDeCustomScrollControl::StopRepeat() {
  FRepeatTimer.stop();
  FRepeatInterval = 0;
  if (FThumbDrag) return;
  const TKxDeScrollbarHitKind kind = FDownHit.Kind;
  FDownHit = TKxDeScrollbarHittest{};
  if (kind != TKxDeScrollbarHitKind::kxshkNone) RedrawScrollbar(KindOfHit(kind));
}

void TKxDeCustomScrollControl::AutoRepeatTick() {
  if (FPauseCount > 0) {
    FRepeatTimer.stop();
    return;
  }
  TKxDeScrollbarHittest now;
  FillScrollbarHittest(FPointerX, FPointerY, now);
  // The part under the pointer changed (the thumb has come to the pointer, or the pointer left).
  if (FDownHit.Kind == TKxDeScrollbarHitKind::kxshkNone || now.Kind != FDownHit.Kind ||
      now.HitPart != FDownHit.HitPart) {
    StopRepeat();
    return;
  }
  if (!ScrollHeldPart()) {
    StopRepeat();
    return;
  }
  StartRepeat(KeyboardRepeatInterval());
}

void TKxDeCustomScrollControl::PauseScrollingBars() {
  ++FPauseCount;
  FRepeatTimer.stop();
}

void TKxDeCustomScrollControl::ResumeScrollingBars() {
  if (FPauseCount == 0 || --FPauseCount > 0) return;
  if (FDownHit.Kind != TKxDeScrollbarHitKind::kxshkNone && !FThumbDrag) StartRepeat(KeyboardRepeatInterval());
}

void TKxDeCustomScrollControl::timerEvent(QTimerEvent* Event) {
  if (Event->timerId() == FRepeatTimer.timerId()) {
    AutoRepeatTick();
    return;
  }
  for (TKxDeCustomControlScrollbar* bar : {Scrollbars()->Horizontal(), Scrollbars()->Vertical()}) {
    if (Event->timerId() == bar->FSmoothTimer.timerId()) {
      bar->SmoothStep();
      return;
    }
  }
  TKxDeCustomSizableControl::timerEvent(Event);
}

// ---- Mouse over the bars ------------------------------------------------------------------------

bool TKxDeCustomScrollControl::ScrollbarMouseDown(int32_t X, int32_t Y) {
  FPointerX = X;
  FPointerY = Y;
  TKxDeScrollbarHittest ht;
  FillScrollbarHittest(X, Y, ht);
  if (ht.Kind == TKxDeScrollbarHitKind::kxshkNone) return false;
  if (!ht.Enabled || FPauseCount > 0) return true;
  const TKxDeScrollbarKind kind = KindOfHit(ht.Kind);
  TKxDeCustomControlScrollbar* bar = Scrollbar(kind);
  StopRepeat();
  FDownHit = ht;
  if (ht.HitPart == TKxDeScrollerHitPart::kxspThumb) {
    const TRect thumb = bar->GetThumbRect();
    const TRect track = bar->GetTrackRect();
    const int32_t start = bar->Horizontal() ? thumb.Left : thumb.Top;
    FThumbDrag = true;
    FThumbMoved = false;
    FGrabOffset = bar->AlongOf(X, Y) - start;
    FDragPosition = bar->FPosition;
    bar->FDragging = true;
    bar->FDragOffset = start - (bar->Horizontal() ? track.Left : track.Top);
    RedrawScrollbar(kind);
    return true;
  }
  RedrawScrollbar(kind);
  if (ScrollHeldPart()) StartRepeat(KeyboardRepeatDelay());
  else StopRepeat();
  return true;
}

bool TKxDeCustomScrollControl::ScrollbarMouseMove(int32_t X, int32_t Y, bool ButtonDown) {
  FPointerX = X;
  FPointerY = Y;
  if (FThumbDrag) {
    const TKxDeScrollbarKind kind = KindOfHit(FDownHit.Kind);
    TKxDeCustomControlScrollbar* bar = Scrollbar(kind);
    const TRect track = bar->GetTrackRect();
    const int32_t trackStart = bar->Horizontal() ? track.Left : track.Top;
    const int32_t start = bar->AlongOf(X, Y) - FGrabOffset;
    FThumbMoved = true;
    bar->FDragOffset = start - trackStart;
    const int32_t position =
        bar->Horizontal() ? bar->GetPositionAtPos(start, track.Top) : bar->GetPositionAtPos(track.Left, start);
    if (position != FDragPosition) {
      FDragPosition = position;
      if (bar->Track()) DoScrollMessage(kind, SB_THUMBTRACK, position);
    }
    RedrawScrollbar(kind);
    return true;
  }
  if (ButtonDown && FDownHit.Kind != TKxDeScrollbarHitKind::kxshkNone) return true;
  TKxDeScrollbarHittest ht;
  FillScrollbarHittest(X, Y, ht);
  SetHotHit(ht);
  return ht.Kind != TKxDeScrollbarHitKind::kxshkNone;
}

bool TKxDeCustomScrollControl::ScrollbarMouseUp(int32_t X, int32_t Y) {
  FPointerX = X;
  FPointerY = Y;
  if (FThumbDrag) {
    const TKxDeScrollbarKind kind = KindOfHit(FDownHit.Kind);
    TKxDeCustomControlScrollbar* bar = Scrollbar(kind);
    FThumbDrag = false;
    bar->FDragging = false;
    FDownHit = TKxDeScrollbarHittest{};
    if (FThumbMoved) DoScrollMessage(kind, SB_THUMBPOSITION, FDragPosition);
    RedrawScrollbar(kind);
    return true;
  }
  if (FDownHit.Kind == TKxDeScrollbarHitKind::kxshkNone) return false;
  StopRepeat();
  return true;
}

void TKxDeCustomScrollControl::mousePressEvent(QMouseEvent* Event) {
  const QPoint p = Event->position().toPoint();
  FPointerX = p.x();
  FPointerY = p.y();
  TKxDeScrollbarHittest ht;
  FillScrollbarHittest(p.x(), p.y(), ht);
  if (ht.Kind != TKxDeScrollbarHitKind::kxshkNone || GetScrollbarCornerRect().Contains(TPoint{p.x(), p.y()})) {
    if (Event->button() == Qt::LeftButton) ScrollbarMouseDown(p.x(), p.y());
    return;
  }
  TKxDeCustomSizableControl::mousePressEvent(Event);
}

void TKxDeCustomScrollControl::mouseDoubleClickEvent(QMouseEvent* Event) {
  const QPoint p = Event->position().toPoint();
  // A second click on a bar acts as a press.
  if (Event->button() == Qt::LeftButton && ScrollbarMouseDown(p.x(), p.y())) return;
  TKxDeCustomSizableControl::mouseDoubleClickEvent(Event);
}

void TKxDeCustomScrollControl::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint p = Event->position().toPoint();
  if (ScrollbarMouseMove(p.x(), p.y(), Event->buttons() & Qt::LeftButton)) return;
  TKxDeCustomSizableControl::mouseMoveEvent(Event);
}

void TKxDeCustomScrollControl::mouseReleaseEvent(QMouseEvent* Event) {
  const QPoint p = Event->position().toPoint();
  if (Event->button() == Qt::LeftButton && ScrollbarMouseUp(p.x(), p.y())) return;
  TKxDeCustomSizableControl::mouseReleaseEvent(Event);
}

void TKxDeCustomScrollControl::leaveEvent(QEvent* Event) {
  SetHotHit(TKxDeScrollbarHittest{});
  TKxDeCustomSizableControl::leaveEvent(Event);
}

}  // namespace vorn
