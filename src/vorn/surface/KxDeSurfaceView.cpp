// The view side of the surface: zoom, the page's place on screen, the layer offset, the mapping
// between window pixels and world units, the scroll bars, the wheel and the keys that scroll.
//
// The control draws its border and bars inside the widget, so the client area does not start at
// (0, 0); positions that are relative to the client's corner (the page's indent, the point kept
// in place while zooming) are taken relative to GetClientRect's top-left corner.

#include "vorn/surface/KxDeSurface.h"

#include "vorn/common/Finally_p.h"
#include "vorn/common/Rounding.h"
#include "vorn/model/KxDeSurfaceClient.h"
#include "vorn/surface/SurfaceBrackets_p.h"

#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vorn {

namespace {

// One notch of a mouse wheel.
constexpr int32_t kWheelNotch = 120;

}  // namespace

// ---- Zoom -----------------------------------------------------------------------------------------

double TKxDeSurface::GetZoom() const { return std::max(FZoom / 100.0, 0.01); }

void TKxDeSurface::SetZoom(int32_t Value) {
  Value = std::clamp(Value, 1, 10000);
  if (Value == FZoom) return;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const TPointF origin = ClientOrigin();
  const double left0 = rf.Left - origin.X;
  const double top0 = rf.Top - origin.Y;
  const double ratio = static_cast<double>(Value) / FZoom;
  FZoom = static_cast<uint16_t>(Value);
  TFinally told([this] {
    ForEachClient([](TKxDeSurfaceClient* C) { C->DoZoom(); });
    CallEvent(OnZoom, this);
  });
  TSurfaceUpdate update(this);
  // The point at the client's corner stays there while the page reaches past that corner.
  const TRectF nominal = GetNominalViewRect();
  const double h = left0 > 0 ? 0 : left0 * ratio - (nominal.Left - origin.X);
  const double v = top0 > 0 ? 0 : top0 * ratio - (nominal.Top - origin.Y);
  SetLayerOffset(static_cast<int32_t>(std::trunc(h)), static_cast<int32_t>(std::trunc(v)));
  UpdateScrollBars();
  RefreshBuffers(true, false);
}

void TKxDeSurface::ZoomRect(const TRectF& R) {
  const TRect ir{Round32(R.Left), Round32(R.Top), Round32(R.Right), Round32(R.Bottom)};
  if (ir.IsEmpty()) return;
  TRect c;
  TRectF rf;
  LayerBounds(c, rf);
  if (c.IsEmpty() || c == ir) return;
  const double f = std::max(static_cast<double>(c.Width()) / ir.Width(), static_cast<double>(c.Height()) / ir.Height());
  if (f <= 0 || f == GetZoom()) return;
  TSurfaceUpdate update(this);
  SetZoom(Round32(f * 100));
  const double z = GetZoom();
  const TRectF n = GetNominalViewRect();
  const TPointF origin = ClientOrigin();
  SetLayerOffset(Round32(origin.X - (z * R.Left + n.Left)), Round32(origin.Y - (z * R.Top + n.Top)));
}

void TKxDeSurface::ZoomAbout(int32_t Value, const TPointF& World, const TPointF& Anchor) {
  TSurfaceUpdate update(this);
  SetZoom(Value);
  const TPointF moved = LayerToScreen(World);
  SetLayerOffset(Round32(FHorizontalPos + Anchor.X - moved.X), Round32(FVerticalPos + Anchor.Y - moved.Y));
}

void TKxDeSurface::ZoomToFit(const TRectF& R) {
  const double w = R.Right - R.Left;
  const double h = R.Bottom - R.Top;
  if (!(w > 0) || !(h > 0)) return;
  const double room = 2.0 * Indent();
  TSurfaceUpdate update(this);
  // The scroll bars come and go with the zoom, and the client area with them: a second pass
  // fits the area the first one left.
  // The area painting covers (the editor's rulers take part of the client area).
  for (int pass = 0; pass < 2; ++pass) {
    const TRect c = GetPaintRect();
    if (c.IsEmpty() || c.Width() <= room || c.Height() <= room) return;
    SetZoom(static_cast<int32_t>(std::floor(std::min((c.Width() - room) / w, (c.Height() - room) / h) * 100)));
  }
  // The rectangle's centre is scrolled to the centre of that area.
  const TRect c = GetPaintRect();
  const TPointF at = LayerToScreen(TPointF{static_cast<float>(R.Left + w / 2), static_cast<float>(R.Top + h / 2)});
  SetLayerOffset(Round32(FHorizontalPos + c.Left + c.Width() / 2.0 - at.X),
                 Round32(FVerticalPos + c.Top + c.Height() / 2.0 - at.Y));
}

void TKxDeSurface::ZoomToSelection() {
  const TRectF r = GetSelectionBounds();
  if (r.Right > r.Left || r.Bottom > r.Top)
    ZoomToFit(TRectF{r.Left, r.Top, std::max(r.Right, r.Left + 1), std::max(r.Bottom, r.Top + 1)});
}

// ---- Page on screen -------------------------------------------------------------------------------

TPointF TKxDeSurface::ClientOrigin() const {
  const TRect r = GetClientRect();
  return TPointF{static_cast<float>(r.Left), static_cast<float>(r.Top)};
}

void TKxDeSurface::LayerBounds(TRect& R, TRectF& RF) const {
  R = GetClientRect();
  R.Right = std::max(R.Right, R.Left);
  R.Bottom = std::max(R.Bottom, R.Top);
  RF = TRectF{};
  if (R.IsEmpty()) return;
  const double z = GetZoom();
  const double w = std::max(FLayerProperties->Width(), 0) * z;
  const double h = std::max(FLayerProperties->Height(), 0) * z;
  double x = R.Left;
  double y = R.Top;
  if (w > 0 || h > 0) {
    // Centred while the page fits, otherwise Indent pixels from the client's edge.
    x = R.Left + FIndent;
    y = R.Top + FIndent;
    if (R.Width() > w) x = std::max(R.Left + (R.Width() - w) / 2, x);
    if (R.Height() > h) y = std::max(R.Top + (R.Height() - h) / 2, y);
  }
  x += FHorizontalPos;
  y += FVerticalPos;
  RF = TRectF{static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + w), static_cast<float>(y + h)};
}

TRectF TKxDeSurface::GetNominalViewRect() const {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const auto h = static_cast<float>(FHorizontalPos);
  const auto v = static_cast<float>(FVerticalPos);
  return TRectF{rf.Left - h, rf.Top - v, rf.Right - h, rf.Bottom - v};
}

TRectF TKxDeSurface::GetViewRect() const {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const double z = GetZoom();
  const auto left = static_cast<float>((r.Left - rf.Left) / z);
  const auto top = static_cast<float>((r.Top - rf.Top) / z);
  return TRectF{left, top, left + r.Width(), top + r.Height()};
}

TRect TKxDeSurface::GetPaintRect() const { return GetClientRect(); }

TRectF TKxDeSurface::GetLayerRect() const {
  return TRectF{0, 0, static_cast<float>(std::max(FLayerProperties->Width(), 0)),
                static_cast<float>(std::max(FLayerProperties->Height(), 0))};
}

// ---- Mapping --------------------------------------------------------------------------------------

TPointF TKxDeSurface::ScreenToWorld(const TPointF& P) const {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const double z = GetZoom();
  return TPointF{static_cast<float>((P.X - rf.Left) / z + rf.Left), static_cast<float>((P.Y - rf.Top) / z + rf.Top)};
}

TPointF TKxDeSurface::ScreenToLayer(const TPointF& P) const {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const double z = GetZoom();
  return TPointF{static_cast<float>((P.X - rf.Left) / z), static_cast<float>((P.Y - rf.Top) / z)};
}

TPointF TKxDeSurface::LayerToScreen(const TPointF& W) const {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const double z = GetZoom();
  return TPointF{static_cast<float>(rf.Left + W.X * z), static_cast<float>(rf.Top + W.Y * z)};
}

// ---- Layer offset ---------------------------------------------------------------------------------

void TKxDeSurface::ValidateLayerOffset(int32_t& H, int32_t& V) const {
  H = std::min(H, 0);
  V = std::min(V, 0);
  if (H == 0 && V == 0) return;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const int32_t lw = Round32(rf.Width());
  const int32_t lh = Round32(rf.Height());
  const TRect paint = GetPaintRect();
  const int32_t cw = paint.Width() - 2 * FIndent;
  const int32_t ch = paint.Height() - 2 * FIndent;
  // The page may scroll as far as it reaches past the client area shrunk by the indent.
  if (lw > cw) H = std::max(H, cw - lw);
  else H = 0;
  if (lh > ch) V = std::max(V, ch - lh);
  else V = 0;
}

void TKxDeSurface::SetLayerOffset(int32_t AHorz, int32_t AVert) {
  TCountScope counting(FScrollPosChanging);
  const int32_t oldH = FHorizontalPos;
  const int32_t oldV = FVerticalPos;
  FHorizontalPos = std::min(AHorz, 0);
  FVerticalPos = std::min(AVert, 0);
  ValidateLayerOffset(FHorizontalPos, FVerticalPos);
  if (oldH != FHorizontalPos || oldV != FVerticalPos) RefreshBuffers(true, false);
  if (FScrollbarChanging == 0 && FScrollbarUpdate == 0) {
    Scrollbars()->Horizontal()->SetPosition(-FHorizontalPos);
    Scrollbars()->Vertical()->SetPosition(-FVerticalPos);
  }
}

void TKxDeSurface::DoScrollerPositionChanged(TKxDeScrollbarKind Kind) {
  if (FScrollPosChanging == 0 && FScrollbarUpdate == 0) {
    TCountScope counting(FScrollbarChanging);
    const int32_t pos = Scrollbar(Kind)->Position();
    if (Kind == TKxDeScrollbarKind::kxdskHorizontal) SetLayerOffset(-pos, FVerticalPos);
    else SetLayerOffset(FHorizontalPos, -pos);
  }
  TKxDeCustomScrollControl::DoScrollerPositionChanged(Kind);
}

void TKxDeSurface::DoScrollMessage(TKxDeScrollbarKind Kind, int32_t Code, int32_t Pos) {
  const TKxDeCustomControlScrollbar* bar = Scrollbar(Kind);
  const bool horizontal = Kind == TKxDeScrollbarKind::kxdskHorizontal;
  int32_t offset = horizontal ? FHorizontalPos : FVerticalPos;
  switch (Code) {
    case SB_LINEUP: offset += bar->SmallChange(); break;
    case SB_LINEDOWN: offset -= bar->SmallChange(); break;
    case SB_PAGEUP: offset += bar->LargeChange(); break;
    case SB_PAGEDOWN: offset -= bar->LargeChange(); break;
    // The offset is the negated bar position: the top is the bar's minimum, the bottom its
    // maximum (which validation brings back to the last page).
    case SB_TOP: offset = -bar->Min(); break;
    case SB_BOTTOM: offset = -bar->Max(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: offset = -std::clamp(Pos, bar->Min(), bar->Max()); break;
    default: return;
  }
  if (horizontal) SetLayerOffset(offset, FVerticalPos);
  else SetLayerOffset(FHorizontalPos, offset);
}

// ---- Scroll bars ----------------------------------------------------------------------------------

void TKxDeSurface::SetShowScrollbars(bool Value) {
  if (FShowScrollbars == Value) return;
  FShowScrollbars = Value;
  UpdateScrollBars();
}

void TKxDeSurface::UpdateScrollBars() {
  if (FScrollbarUpdate != 0 || FCreatingWnd != 0 || !HandleAllocated() || Loading() || FDestroying) return;
  TKxDeScrollInfo oldH;
  TKxDeScrollInfo oldV;
  GetScrollbarInfo(TKxDeScrollbarKind::kxdskHorizontal, oldH);
  GetScrollbarInfo(TKxDeScrollbarKind::kxdskVertical, oldV);
  TKxDeScrollInfo h = oldH;
  TKxDeScrollInfo v = oldV;
  for (TKxDeScrollInfo* info : {&h, &v}) {
    info->Page = 1;
    info->Min = 0;
    info->Max = 0;
    info->Pos = 0;
  }
  if (FShowScrollbars) {
    // The area without bars, shrunk by the indent.
    const TRect paint = GetPaintRect();
    int32_t cw = paint.Width();
    int32_t ch = paint.Height();
    if (oldH.Visible && oldH.Page <= oldH.Max) ch += GetHorzScrollbarHeight();
    if (oldV.Visible && oldV.Page <= oldV.Max) cw += GetVertScrollbarWidth();
    cw -= 2 * FIndent;
    ch -= 2 * FIndent;
    TRect r;
    TRectF rf;
    LayerBounds(r, rf);
    const int32_t lw = Round32(rf.Width());
    const int32_t lh = Round32(rf.Height());
    bool needH = lw > cw;
    if (needH) ch -= GetHorzScrollbarHeight();
    const bool needV = lh > ch;
    if (needV) {
      cw -= GetVertScrollbarWidth();
      if (!needH && lw > cw) {
        needH = true;
        ch -= GetHorzScrollbarHeight();
      }
    }
    auto fit = [](TKxDeScrollInfo& Info, int32_t Page, int32_t Length, int32_t Offset) {
      Info.Page = Page;
      Info.Min = 0;
      Info.Max = std::max(Length, 0);
      Info.Pos = -Offset;
      Info.SmallChange = 10;
      Info.LargeChange = std::max(Page / 10, 20);
    };
    if (needH) fit(h, cw, lw, FHorizontalPos);
    if (needV) fit(v, ch, lh, FVerticalPos);
  }
  ApplyScrollbar(TKxDeScrollbarKind::kxdskHorizontal, oldH, h);
  ApplyScrollbar(TKxDeScrollbarKind::kxdskVertical, oldV, v);
}

void TKxDeSurface::ApplyScrollbar(TKxDeScrollbarKind Kind, const TKxDeScrollInfo& Old, TKxDeScrollInfo Info) {
  if (Info.Min == Old.Min && Info.Max == Old.Max && Info.Page == Old.Page && Info.Pos == Old.Pos) return;
  Info.Visible = Info.Page <= Info.Max;
  TCountScope counting(FScrollbarUpdate);
  SetScrollbarInfo(Kind, Info);
  // A page the bar is not needed for starts at its beginning.
  if (Info.Page > Info.Max) {
    if (Kind == TKxDeScrollbarKind::kxdskHorizontal) SetLayerOffset(-Info.Min, FVerticalPos);
    else SetLayerOffset(FHorizontalPos, -Info.Min);
  }
}

void TKxDeSurface::CreateWnd() {
  ++FCreatingWnd;
  FWindowCreated = true;
  --FCreatingWnd;
  UpdateScrollBars();
}

void TKxDeSurface::showEvent(QShowEvent* Event) {
  if (!FWindowCreated) CreateWnd();
  TKxDeCustomScrollControl::showEvent(Event);
}

void TKxDeSurface::ClientResized() {
  if (FDestroying) return;
  TSurfaceUpdate update(this);
  UpdateScrollBars();
  int32_t h = FHorizontalPos;
  int32_t v = FVerticalPos;
  ValidateLayerOffset(h, v);
  // Through SetLayerOffset, so that the bars follow a corrected offset.
  SetLayerOffset(h, v);
  RefreshBuffers(true, false);
}

// ---- Input ----------------------------------------------------------------------------------------

bool TKxDeSurface::MouseWheel(TShiftState Shift, int32_t WheelDelta) {
  const bool ctrl = Shift.Contains(TShiftStateItem::ssCtrl);
  const bool shift = Shift.Contains(TShiftStateItem::ssShift);
  if (ctrl && !shift) {
    DoMouseWheelZoom(static_cast<int16_t>(std::clamp(WheelDelta, -32768, 32767)));
    return true;
  }
  if (WheelDelta == 0) return false;
  // A wheel notch is one step; finer wheels (touchpads) add up to a notch first.
  int32_t steps = 0;
  if (std::abs(WheelDelta) >= kWheelNotch) {
    FWheelRest = 0;
    steps = WheelDelta > 0 ? 1 : -1;
  } else {
    FWheelRest += WheelDelta;
    if (std::abs(FWheelRest) < kWheelNotch) return true;
    steps = FWheelRest > 0 ? 1 : -1;
    FWheelRest -= steps * kWheelNotch;
  }
  const bool horizontal = ctrl && shift;
  const TKxDeCustomControlScrollbar* bar =
      Scrollbar(horizontal ? TKxDeScrollbarKind::kxdskHorizontal : TKxDeScrollbarKind::kxdskVertical);
  const int32_t amount = steps * 3 * bar->SmallChange();
  if (horizontal) SetLayerOffset(FHorizontalPos + amount, FVerticalPos);
  else SetLayerOffset(FHorizontalPos, FVerticalPos + amount);
  return true;
}

void TKxDeSurface::wheelEvent(QWheelEvent* Event) {
  const QPoint delta = Event->angleDelta();
  const int32_t d = delta.y() != 0 ? delta.y() : delta.x();
  if (MouseWheel(ShiftStateOf(Event->modifiers(), Event->buttons()), d)) Event->accept();
  else Event->ignore();
}

void TKxDeSurface::KeyDown(int32_t& Key, TShiftState Shift) {
  TKxDeCustomScrollControl::KeyDown(Key, Shift);
  const TKxDeScrollbarKind vertical = TKxDeScrollbarKind::kxdskVertical;
  const TKxDeScrollbarKind horizontal = TKxDeScrollbarKind::kxdskHorizontal;
  const TKxDeScrollbarKind paging = Shift.Contains(TShiftStateItem::ssShift) ? horizontal : vertical;
  switch (Key) {
    case Qt::Key_Up: DoScrollMessage(vertical, SB_LINEUP, 0); break;
    case Qt::Key_Down: DoScrollMessage(vertical, SB_LINEDOWN, 0); break;
    case Qt::Key_Left: DoScrollMessage(horizontal, SB_LINEUP, 0); break;
    case Qt::Key_Right: DoScrollMessage(horizontal, SB_LINEDOWN, 0); break;
    case Qt::Key_PageUp: DoScrollMessage(paging, SB_PAGEUP, 0); break;
    case Qt::Key_PageDown: DoScrollMessage(paging, SB_PAGEDOWN, 0); break;
    case Qt::Key_Home: DoScrollMessage(paging, SB_TOP, 0); break;
    case Qt::Key_End: DoScrollMessage(paging, SB_BOTTOM, 0); break;
    default: return;
  }
  Key = 0;
}

}  // namespace vorn
