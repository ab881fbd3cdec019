// The editor's rulers, guides and cross-hair: the room the rulers take from the view, their hit
// tests, the guide gestures, and their drawing over the document.

#include "vorn/editor/KxDeEditor.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/KxDeUtils.h"
#include "vorn/common/Rounding.h"
#include "vorn/editor/EditorLog_p.h"
#include "vorn/editor/KxDeGuide.h"

#include <QHelpEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <QToolTip>

#include <algorithm>

namespace vorn {

using enum TKxDeEditState;

namespace {

// The orientation icons, our own drawings, rendered at whatever size and pixel ratio the corner has.
QSvgRenderer& OrientIcon(TKxDeEditorOrient Orient) {
  static QSvgRenderer portrait(QStringLiteral(":/ORIENT_PORTRAIT"));
  static QSvgRenderer landscape(QStringLiteral(":/ORIENT_LANDSCAPE"));
  return Orient == TKxDeEditorOrient::kxedtDesOrientLandscape ? landscape : portrait;
}

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

}  // namespace

// ---- Wiring -----------------------------------------------------------------------------------------

void TKxDeCustomEditor::ConnectRulers() {
  FRulers->OnChange = [this](bool Layout) { RulersChanged(Layout); };
  FGuides->OnChange = [this](TObject*) { DoGuideChanged(); };
  FGuide->OnChange = [this](TObject*) { update(); };
  FCursorGuide->OnChange = [this](TObject*) { update(); };
}

void TKxDeCustomEditor::SetRulers(const TKxDeRulers* Value) { FRulers->Assign(Value); }
void TKxDeCustomEditor::SetGuide(const TKxDeGuideProperties* Value) { FGuide->Assign(Value); }
void TKxDeCustomEditor::SetCursorGuide(const TKxDeGuideProperties* Value) { FCursorGuide->Assign(Value); }

void TKxDeCustomEditor::RulersChanged(bool LayoutChanged) {
  if (!LayoutChanged && !FRulers->Visible()) return;
  if (LayoutChanged) {
    // The page moves to make room for the strips (or takes it back).
    UpdateScrollBars();
    Changed(true);
    update();
  } else if (FEditOptions.Contains(TKxDeEditOption::kxdoShowCursorGuide)) {
    update();
  } else {
    InvalidateRulers();
  }
  DoRulersChanged();
}

void TKxDeCustomEditor::DoRulersChanged() {}

// ---- Room taken from the view -------------------------------------------------------------------------

int32_t TKxDeCustomEditor::RulerRoom() const { return FRulers && FRulers->Showing() ? FRulers->Size() + 1 : 0; }

void TKxDeCustomEditor::LayerBounds(TRect& R, TRectF& RF) const {
  TKxDeSurface::LayerBounds(R, RF);
  const auto n = static_cast<float>(RulerRoom());
  if (n == 0 || R.IsEmpty()) return;
  RF = TRectF{RF.Left + n, RF.Top + n, RF.Right + n, RF.Bottom + n};
}

TRect TKxDeCustomEditor::GetPaintRect() const {
  TRect r = TKxDeSurface::GetPaintRect();
  const int32_t n = RulerRoom();
  r.Left = std::min(r.Left + n, r.Right);
  r.Top = std::min(r.Top + n, r.Bottom);
  return r;
}

TRectF TKxDeCustomEditor::GetNominalViewRect() const {
  TRectF r = TKxDeSurface::GetNominalViewRect();
  if (RulerRoom() == 0) return r;
  const auto s = static_cast<float>(FRulers->Size());
  return TRectF{r.Left - s, r.Top - s, r.Right - s, r.Bottom - s};
}

TRectF TKxDeCustomEditor::GetViewRect() const {
  if (RulerRoom() == 0) return TKxDeSurface::GetViewRect();
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const auto s = static_cast<float>(FRulers->Size());
  r.Left = std::min(r.Left + FRulers->Size(), r.Right);
  r.Top = std::min(r.Top + FRulers->Size(), r.Bottom);
  const double z = GetZoom();
  const auto left = static_cast<float>((r.Left - (rf.Left - s)) / z);
  const auto top = static_cast<float>((r.Top - (rf.Top - s)) / z);
  return TRectF{left, top, left + r.Width(), top + r.Height()};
}

TRect TKxDeCustomEditor::HorzRulerRect() const {
  const int32_t n = RulerRoom();
  if (n == 0) return TRect{};
  const TRect c = GetClientRect();
  return TRect{std::min(c.Left + n, c.Right), c.Top, c.Right, std::min(c.Top + n - 1, c.Bottom)};
}

TRect TKxDeCustomEditor::VertRulerRect() const {
  const int32_t n = RulerRoom();
  if (n == 0) return TRect{};
  const TRect c = GetClientRect();
  return TRect{c.Left, std::min(c.Top + n, c.Bottom), std::min(c.Left + n - 1, c.Right), c.Bottom};
}

void TKxDeCustomEditor::InvalidateRulers() {
  const int32_t n = RulerRoom();
  if (n == 0) return;
  const TRect c = GetClientRect();
  update(QRect(c.Left, c.Top, c.Width(), n));
  update(QRect(c.Left, c.Top, n, c.Height()));
}

// ---- Hit tests ----------------------------------------------------------------------------------------

bool TKxDeCustomEditor::RulerHit(const TPointF& Screen, TKxDeHitTest& HT) const {
  const int32_t n = RulerRoom();
  if (n == 0) return false;
  const TRect c = GetClientRect();
  const float x = Screen.X - c.Left;
  const float y = Screen.Y - c.Top;
  if (x < 0 || y < 0 || x >= c.Width() || y >= c.Height()) return false;
  const float s = FRulers->Size();
  if (y < n) {
    HT.HitType = x >= 1 && y >= 1 && x < s - 1 && y < s - 1 ? TKxDeHitType::kxhtOrientIcon : TKxDeHitType::kxhtRulerHorz;
    return true;
  }
  if (x < n) {
    HT.HitType = TKxDeHitType::kxhtRulerVert;
    return true;
  }
  return false;
}

TKxDeHitTest TKxDeCustomEditor::GuideTest(const TPointF& P, TKxDeEditState State, TKxDeShiftKeys Shift) {
  TRect r;
  TRectF rf;
  TKxDeHitTest ht = StartHitTest(P, r, rf);
  if (!FEditOptions.Contains(TKxDeEditOption::kxdoShowGuides) || FGuides->GetCount() == 0 || r.IsEmpty()) return ht;
  const bool keys = !Shift.Empty() && Shift == FSelectionRectKeys;
  const bool state = State == kxesNone || State == kxesZoomRect || (State >= kxesToolEdit && State <= kxesRemovePoint);
  if (!keys && !state) return ht;
  const double z = GetZoom();
  const TPointF screen{static_cast<float>(rf.Left + (P.X - rf.Left) * z),
                       static_cast<float>(rf.Top + (P.Y - rf.Top) * z)};
  if (!rf.Contains(screen)) return ht;
  const TPointF lp{P.X - rf.Left, P.Y - rf.Top};
  const auto w = static_cast<float>(rf.Width() / z);
  const auto h = static_cast<float>(rf.Height() / z);
  const auto fuzz = static_cast<float>(FHitFuzz / z);
  for (int32_t i = 0; i < FGuides->GetCount(); ++i) {
    const TKxDeGuide* g = FGuides->GetItem(i);
    const auto pos = static_cast<float>(g->Position());
    const bool near = g->GuideType() == TKxDeGuideType::kxgtHorizontal
                          ? TKxDeUtils::NearLine(lp, TPointF{0, pos}, TPointF{w, pos}, fuzz)
                          : TKxDeUtils::NearLine(lp, TPointF{pos, 0}, TPointF{pos, h}, fuzz);
    if (near) {
      ht.HitType = TKxDeHitType::kxhtGuide;
      ht.PartIndex = i;
      return ht;
    }
  }
  return ht;
}

// ---- Gestures -----------------------------------------------------------------------------------------

void TKxDeCustomEditor::ExecuteGuideAction(TKxDeEditState State, const TKxDeHitTest& From, const TKxDeHitTest& To) {
  if (!FEditOptions.Contains(TKxDeEditOption::kxdoShowGuides)) return;
  // Guides lie on the page: positions beyond its edges (world units) make no guide.
  const TRectF page = LayerRect();
  if (State == kxesNewGuide) {
    const bool horizontal = From.HitType == TKxDeHitType::kxhtRulerHorz;
    if (!horizontal && From.HitType != TKxDeHitType::kxhtRulerVert) return;
    const float v = horizontal ? To.Test.Y : To.Test.X;
    if (v < 0 || v > (horizontal ? page.Height() : page.Width())) return;
    FGuides->BeginUpdate();
    TKxDeGuide* g = FGuides->Add();
    g->SetGuideType(horizontal ? TKxDeGuideType::kxgtHorizontal : TKxDeGuideType::kxgtVertical);
    g->SetPosition(v);
    FGuides->EndUpdate();
    return;
  }
  TKxDeGuide* g = FGuides->GetItem(From.PartIndex);
  if (!g) {
    qCDebug(lcEditor) << "guide drag: no guide at index" << From.PartIndex;
    return;
  }
  const bool horizontal = g->GuideType() == TKxDeGuideType::kxgtHorizontal;
  const float v = horizontal ? To.Test.Y : To.Test.X;
  if (v < 0 || v > (horizontal ? page.Height() : page.Width())) {
    FGuides->Delete(From.PartIndex);
    return;
  }
  g->SetPosition(g->Position() + (horizontal ? To.Test.Y - From.Test.Y : To.Test.X - From.Test.X));
}

bool TKxDeCustomEditor::TrackRulers(int32_t X, int32_t Y) {
  if (RulerRoom() == 0) return false;
  FRulers->Horizontal()->SetPosition(X - HorzRulerRect().Left);
  FRulers->Vertical()->SetPosition(Y - VertRulerRect().Top);
  return FRulers->GuideColor() != clNone;
}

bool TKxDeCustomEditor::InRulerCorner(int32_t X, int32_t Y) const {
  const int32_t n = RulerRoom();
  const TRect c = GetClientRect();
  return n > 0 && X >= c.Left && Y >= c.Top && X < c.Left + n && Y < c.Top + n;
}

void TKxDeCustomEditor::FollowPointer(bool Marks, bool Corner) {
  if (FEditOptions.Contains(TKxDeEditOption::kxdoShowCursorGuide) && !Corner) update();
  else if (Marks) InvalidateRulers();
}

// ---- Drawing ------------------------------------------------------------------------------------------

void TKxDeCustomEditor::DrawGuideLine(TCanvas* C, bool Horizontal, double Position) {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const TRect page{Round32(rf.Left), Round32(rf.Top), Round32(rf.Right), Round32(rf.Bottom)};
  const TRect area{std::max(page.Left, r.Left), std::max(page.Top, r.Top), std::min(page.Right, r.Right),
                   std::min(page.Bottom, r.Bottom)};
  if (area.IsEmpty()) return;
  const int32_t s = Round32(GetZoom() * Position);
  if (Horizontal) {
    const int32_t y = page.Top + s;
    if (y < area.Top || y >= area.Bottom) return;
    C->MoveTo(area.Left, y);
    C->LineTo(area.Right, y);
  } else {
    const int32_t x = page.Left + s;
    if (x < area.Left || x >= area.Right) return;
    C->MoveTo(x, area.Top);
    C->LineTo(x, area.Bottom);
  }
}

void TKxDeCustomEditor::DrawGuides(TCanvas* C) {
  if (!FEditOptions.Contains(TKxDeEditOption::kxdoShowGuides) || FGuides->GetCount() == 0 || !FGuide->Draws()) return;
  FGuide->ApplyTo(C);
  // The guide being dragged shows where the pointer takes it instead.
  const int32_t dragged = FEditState == kxesDragGuide && FDragged ? FDownHit.PartIndex : -1;
  for (int32_t i = 0; i < FGuides->GetCount(); ++i) {
    const TKxDeGuide* g = FGuides->GetItem(i);
    if (i != dragged) DrawGuideLine(C, g->GuideType() == TKxDeGuideType::kxgtHorizontal, g->Position());
  }
  C->Pen()->SetMode(TPenMode::pmCopy);
}

void TKxDeCustomEditor::DrawNewGuide(TCanvas* C) {
  if (!FDragged || !FGuide->Draws()) return;
  const bool horizontal = FDownHit.HitType == TKxDeHitType::kxhtRulerHorz;
  if (!horizontal && FDownHit.HitType != TKxDeHitType::kxhtRulerVert) return;
  const TPointF p = LayerPoint(FHoverHit.Test);
  FGuide->ApplyTo(C);
  DrawGuideLine(C, horizontal, horizontal ? p.Y : p.X);
  C->Pen()->SetMode(TPenMode::pmCopy);
}

void TKxDeCustomEditor::DrawGuideDrag(TCanvas* C) {
  const TKxDeGuide* g = FGuides->GetItem(FDownHit.PartIndex);
  if (!FDragged || !g || !FGuide->Draws()) return;
  const bool horizontal = g->GuideType() == TKxDeGuideType::kxgtHorizontal;
  const TPointF a = LayerPoint(FDownHit.Test);
  const TPointF b = LayerPoint(FHoverHit.Test);
  FGuide->ApplyTo(C);
  DrawGuideLine(C, horizontal, g->Position() + (horizontal ? b.Y - a.Y : b.X - a.X));
  C->Pen()->SetMode(TPenMode::pmCopy);
}

void TKxDeCustomEditor::DrawCursorGuide(TCanvas* C) {
  if (!FEditOptions.Contains(TKxDeEditOption::kxdoShowCursorGuide) || !FCursorGuide->Draws() || !FPointerSeen) return;
  const TRect area = GetPaintRect();
  const TPoint p = FPointerPos;
  if (area.IsEmpty()) return;
  FCursorGuide->ApplyTo(C);
  if (p.X >= area.Left && p.X < area.Right) {
    C->MoveTo(p.X, area.Top);
    C->LineTo(p.X, area.Bottom);
  }
  if (p.Y >= area.Top && p.Y < area.Bottom) {
    C->MoveTo(area.Left, p.Y);
    C->LineTo(area.Right, p.Y);
  }
  C->Pen()->SetMode(TPenMode::pmCopy);
}

void TKxDeCustomEditor::DrawRulers(TCanvas* C) {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const int32_t n = RulerRoom();
  if (n == 0 || rf.IsEmpty() || r.IsEmpty()) return;
  const TRect horz = HorzRulerRect();
  const TRect vert = VertRulerRect();
  const TRect corner{r.Left, r.Top, std::min(r.Left + n - 1, r.Right), std::min(r.Top + n - 1, r.Bottom)};
  QPainter* p = C->Painter();
  p->save();
  p->setClipRect(ToQRect(r), Qt::IntersectClip);
  p->setRenderHint(QPainter::Antialiasing, false);
  if (FRulers->Color() != clNone) {
    const QColor fill = ToQColor(FRulers->Color());
    for (const TRect& t : {horz, vert, corner}) p->fillRect(ToQRect(t), fill);
  }
  const bool centred = FRulers->RulersOrigin() == TKxDeRulersOrigin::kxrulOrigCenter;
  TKxDeRuler* h = FRulers->Horizontal();
  TKxDeRuler* v = FRulers->Vertical();
  h->SetOffset(Round32((centred ? (rf.Left + rf.Right) / 2 : rf.Left) - horz.Left));
  v->SetOffset(Round32((centred ? (rf.Top + rf.Bottom) / 2 : rf.Top) - vert.Top));
  h->Paint(C, horz, GetZoom());
  v->Paint(C, vert, GetZoom());
  // The strips end in a line that parts them from the drawing.
  const QColor frame = ToQColor(clWindowFrame);
  p->fillRect(QRect(r.Left, r.Top + n - 1, r.Width(), 1), frame);
  p->fillRect(QRect(r.Left + n - 1, r.Top, 1, r.Height()), frame);
  const int32_t s = FRulers->Size();
  if (s > 2) {
    p->setRenderHint(QPainter::Antialiasing, true);
    OrientIcon(FEditorOrientation).render(p, QRectF(r.Left + 1, r.Top + 1, s - 2, s - 2));
  }
  p->restore();
}

// ---- Hints --------------------------------------------------------------------------------------------

void TKxDeCustomEditor::GetMekOfficeHint(const TPointF& V, TmekHintInfo& HintInfo) {
  HintInfo.Clear();
  if (!FShowShapeHint) return;
  const TKxDeHitTest h = HitCase(V, FEditState, TKxDeShiftKeys{});
  if (h.HitType == TKxDeHitType::kxhtOrientIcon) {
    FRulers->Horizontal()->GetMekOfficeHint(HintInfo);
  } else if (h.HitType == TKxDeHitType::kxhtShape && h.Shape) {
    h.Shape->GetMekOfficeHint(LayerPoint(h.Test), HintInfo);
  }
}

bool TKxDeCustomEditor::event(QEvent* Event) {
  if (Event->type() != QEvent::ToolTip) return TKxDeSurface::event(Event);
  auto* help = static_cast<QHelpEvent*>(Event);
  TmekHintInfo info;
  GetMekOfficeHint(ViewPoint(help->pos().x(), help->pos().y()), info);
  if (info.IsEmpty()) {
    QToolTip::hideText();
    Event->ignore();
    return true;
  }
  QString text = QStringLiteral("<b>%1</b>").arg(info.Title.toHtmlEscaped());
  for (const QString& line : info.Lines) text += line;
  // The hint's pictures are the orientation icons.
  text.replace(QStringLiteral("src=\"idx:0\""), QStringLiteral("src=\":/ORIENT_PORTRAIT\" width=16 height=16"));
  text.replace(QStringLiteral("src=\"idx:1\""), QStringLiteral("src=\":/ORIENT_LANDSCAPE\" width=16 height=16"));
  QToolTip::showText(help->globalPos(), text, this);
  return true;
}

}  // namespace vorn
