#include "vorn/model/KxDeContainer.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/KxDeSelectionData.h"
#include "vorn/common/KxDeUtils.h"
#include "vorn/common/Rounding.h"
#include "vorn/model/ActionScope_p.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDePackage.h"
#include "vorn/model/UpdateBracket_p.h"

#include <algorithm>
#include <cmath>

namespace vorn {

namespace {

// Walks enter every container but packages. The style bit spares plain shapes the type checks.
bool IsWalkedInto(const TKxDeShapeBase* S) {
  return S->ShapeStyle().Contains(TKxDeShapeStyle::kxssIsContainer) && dynamic_cast<const TKxDeContainer*>(S) &&
         !dynamic_cast<const TKxDePackage*>(S);
}

}  // namespace

// ---- Enumeration ----------------------------------------------------------------------------------

TShapeEnumerator::TShapeEnumerator(TKxDeContainer* AContainer, bool EnumSubLevels)
    : FStartContainer(AContainer), FContainer(AContainer), FEnumSubLevels(EnumSubLevels) {}

TShapeEnumerator::~TShapeEnumerator() = default;

bool TShapeEnumerator::MoveNext() {
  if (FBreak || !FContainer) return false;
  if (FSubShapeEnumerator) {
    if (FSubShapeEnumerator->MoveNext()) return true;
    FSubShapeEnumerator.reset();
  } else if (FEnumSubLevels) {
    // The item yielded last is entered before the walk goes on to its next sibling, so a
    // container comes before its children.
    TKxDeShapeBase* item = FContainer->GetItem(FIndex);
    if (item && IsWalkedInto(item)) {
      FSubShapeEnumerator = std::make_unique<TShapeEnumerator>(static_cast<TKxDeContainer*>(item), true);
      if (FSubShapeEnumerator->MoveNext()) return true;
      FSubShapeEnumerator.reset();
    }
  }
  if (FIndex < FContainer->GetItemCount() - 1) {
    ++FIndex;
    return true;
  }
  return false;
}

TKxDeShapeBase* TShapeEnumerator::GetCurrent() const {
  if (FSubShapeEnumerator) return FSubShapeEnumerator->GetCurrent();
  return FContainer ? FContainer->GetItem(FIndex) : nullptr;
}

TShapeTree::iterator::iterator(const TKxDeContainer* Root) {
  if (!Root) return;
  FStack.emplace_back(Root, 0);
  ++*this;
}

TShapeTree::iterator& TShapeTree::iterator::operator++() {
  if (FCurrent && IsWalkedInto(FCurrent)) FStack.emplace_back(static_cast<const TKxDeContainer*>(FCurrent), 0);
  while (!FStack.empty()) {
    auto& [container, next] = FStack.back();
    if (next < static_cast<size_t>(container->GetItemCount())) {
      FCurrent = container->GetItem(static_cast<int32_t>(next++));
      return *this;
    }
    FStack.pop_back();
  }
  FCurrent = nullptr;
  return *this;
}

TKxDeContainer::TKxDeContainer(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShapeBase(ASurface, AOwner) {
  FShapeStyle += TKxDeShapeStyle::kxssIsContainer;
  FShapeStyle -= TKxDeShapeStyle::kxssUsesPen;
}

TKxDeContainer::~TKxDeContainer() {
  // The children are unlinked before they go, so none of them calls back into this container.
  while (!FItems.empty()) {
    TKxDeShapeBase* s = FItems.back();
    FItems.pop_back();
    s->FOwner = nullptr;
    Free(s);
  }
}

// ---- Children -------------------------------------------------------------------------------------

TKxDeShapeBase* TKxDeContainer::GetItem(int32_t Index) const {
  if (Index < 0 || Index >= GetItemCount()) return nullptr;
  return FItems[static_cast<size_t>(Index)];
}

int32_t TKxDeContainer::IndexOf(const TKxDeShapeBase* S) const {
  if (!S || S->Owner() != this) return -1;
  // Children are mostly looked up near one end of the list (the newest on top, or the oldest
  // when a selection is deleted in creation order): search from both ends at once.
  size_t lo = 0;
  size_t hi = FItems.size();
  while (lo < hi) {
    if (FItems[lo] == S) return static_cast<int32_t>(lo);
    --hi;
    if (FItems[hi] == S) return static_cast<int32_t>(hi);
    ++lo;
  }
  return -1;
}

bool TKxDeContainer::Exists(const TKxDeShapeBase* S) const {
  // Ownership is a tree: S lies in this container exactly when this container is above it.
  for (const TKxDeShapeBase* s = S ? S->Owner() : nullptr; s; s = s->Owner())
    if (s == this) return true;
  return false;
}

TKxDeShapeBase* TKxDeContainer::ShapeByID(uint32_t AID) {
  for (TKxDeShapeBase* s : FItems) {
    if (s->ID() == AID) return s;
    if (TKxDeShapeBase* found = s->ShapeByID(AID)) return found;
  }
  return nullptr;
}

TKxDeShapeBase* TKxDeContainer::ShapeByName(const QString& AShapename) const {
  for (TKxDeShapeBase* s : FItems) {
    if (s->Name() == AShapename) return s;
    if (IsWalkedInto(s))
      if (TKxDeShapeBase* found = static_cast<const TKxDeContainer*>(s)->ShapeByName(AShapename)) return found;
  }
  return nullptr;
}

bool TKxDeContainer::CanInsertShape(const TKxDeShapeBase* S) const {
  return S && S != this && S->Owner() != this && !dynamic_cast<const TKxDeLayer*>(S);
}

bool TKxDeContainer::AcceptsShape(const TKxDeShapeBase* S) const {
  if (!S || S == this || S->Owner() == this || dynamic_cast<const TKxDeLayer*>(S)) return false;
  // A container cannot go into one of its own descendants. The owner chain is walked whatever
  // surfaces the shapes name: a cycle would make every walk up or down the tree endless.
  for (const TKxDeShapeBase* s = FOwner; s; s = s->Owner())
    if (s == S) return false;
  return CanInsertShape(S);
}

void TKxDeContainer::LinkShape(TKxDeShapeBase* S, int32_t Index) {
  if (TKxDeContainer* former = S->Owner()) former->RemoveShape(S);
  S->FOwner = this;
  S->SetSurface(GetSurface());
  if (Index < 0 || Index >= GetItemCount()) FItems.push_back(S);
  else FItems.insert(FItems.begin() + Index, S);
}

void TKxDeContainer::InsertShape(TKxDeShapeBase* S) {
  if (!AcceptsShape(S)) return;
  {
    TActionScope inserting(this, TKxDeAction::kxacInserting);
    LinkShape(S, -1);
  }
  // The undo record of the insertion is taken of the child, once the owner has taken it in.
  TActionScope inserted(this, TKxDeAction::kxacInserted, QString(), TActionScope::TUndoNotice::ByCaller);
  DoShapeInserted(S);
  NotifyUndo(S, TKxDeAction::kxacInserted, QString());
}

void TKxDeContainer::Insert(int32_t Index, TKxDeShapeBase* S) {
  if (Index < 0 || Index > GetItemCount() || !AcceptsShape(S)) return;
  TActionScope inserting(this, TKxDeAction::kxacInserting);
  LinkShape(S, Index);
  DoShapeInserted(S);
}

void TKxDeContainer::RemoveShape(TKxDeShapeBase* S) {
  const int32_t index = IndexOf(S);
  if (index < 0) return;
  {
    TActionScope removing(this, TKxDeAction::kxacRemoving);
    // The child's own record is taken too, while it is still in place; its action follows.
    NotifyUndo(S, TKxDeAction::kxacRemoved, QString());
    S->FOwner = nullptr;
    if (index < GetItemCount() && FItems[static_cast<size_t>(index)] == S) {
      FItems.erase(FItems.begin() + index);
    } else {
      // An undo hook rearranged the children meanwhile: look again.
      auto it = std::find(FItems.begin(), FItems.end(), S);
      if (it != FItems.end()) FItems.erase(it);
    }
    S->SetSurface(nullptr);
  }
  TActionScope removed(this, S, TKxDeAction::kxacRemoved, QString(), TActionScope::TUndoNotice::ByCaller);
  DoShapeRemoved(S);
}

bool TKxDeContainer::Extract(TKxDeShapeBase* S) {
  if (IndexOf(S) < 0) return false;
  RemoveShape(S);
  return true;
}

void TKxDeContainer::Remove(TKxDeShapeBase* S) {
  if (IndexOf(S) >= 0) Free(S);
}

void TKxDeContainer::Delete(int32_t Index) {
  if (TKxDeShapeBase* s = GetItem(Index)) Free(s);
}

void TKxDeContainer::Clear() {
  if (FItems.empty() && FPoints.empty()) return;
  TActionScope clearing(this, TKxDeAction::kxacClearing);
  {
    TUpdateBracket update(this);
    ++FChangeCount;
    {
      TNotifyLockBracket lock(this);
      // From the top down, so that every child leaves from the end of the list: one pass, no shifts.
      while (!FItems.empty()) {
        TKxDeShapeBase* s = FItems.back();
        s->FOwner = nullptr;
        FItems.pop_back();
        s->SetSurface(nullptr);
        DoShapeRemoved(s);
        Free(s);
      }
      ClearPoints();
    }
    // DoShapeCleared below delivers the container's change right after the owner has heard of
    // the clearing; closing the outermost bracket must not deliver the same change before it.
    if (FUpdateCount == 1) FChangeCount = 0;
  }
  DoShapeCleared(this);
}

// ---- Z-order --------------------------------------------------------------------------------------

void TKxDeContainer::PlaceChild(TKxDeShapeBase* S, int32_t From, int32_t To) {
  // A hook may have rearranged the children since From was taken: move the child from where it
  // is now.
  int32_t at = From;
  if (at < 0 || at >= GetItemCount() || FItems[static_cast<size_t>(at)] != S) at = IndexOf(S);
  if (at < 0) return;
  const int32_t to = std::clamp(To, 0, GetItemCount() - 1);
  auto first = FItems.begin();
  if (at < to) std::rotate(first + at, first + at + 1, first + to + 1);
  else if (at > to) std::rotate(first + to, first + at, first + at + 1);
}

void TKxDeContainer::MoveChild(TKxDeShapeBase* S, int32_t From, int32_t To, TKxDeAction Action) {
  TActionScope moving(this, S, Action, QString());
  DoShapeReordering(From, To);
  PlaceChild(S, From, To);
  DoShapeReordered(From, To);
}

void TKxDeContainer::BringToFront(TKxDeShapeBase* S) {
  const int32_t i = IndexOf(S);
  if (i >= 0 && i < GetItemCount() - 1) MoveChild(S, i, GetItemCount() - 1, TKxDeAction::kxacBringingFront);
}

void TKxDeContainer::SendToBack(TKxDeShapeBase* S) {
  const int32_t i = IndexOf(S);
  if (i > 0) MoveChild(S, i, 0, TKxDeAction::kxacSendingBack);
}

void TKxDeContainer::BringForward(TKxDeShapeBase* S) {
  const int32_t i = IndexOf(S);
  if (i >= 0 && i < GetItemCount() - 1) MoveChild(S, i, i + 1, TKxDeAction::kxacBringingForward);
}

void TKxDeContainer::SendBackward(TKxDeShapeBase* S) {
  const int32_t i = IndexOf(S);
  if (i > 0) MoveChild(S, i, i - 1, TKxDeAction::kxacSendingBackward);
}

void TKxDeContainer::ReorderShape(int32_t CurrentIndex, int32_t NewIndex) {
  TKxDeShapeBase* s = GetItem(CurrentIndex);
  if (!s || NewIndex < 0) return;
  // The announcements carry the indexes as the caller gave them, also when nothing moves: undo
  // replays them as they were. Only the move itself stops at the last place.
  {
    TActionScope reordering(this, s, TKxDeAction::kxacReorderingShape, QString());
    // Both undo records are taken before the move; the second action follows it.
    NotifyUndo(s, TKxDeAction::kxacReorderedShape, QString());
    DoShapeReordering(CurrentIndex, NewIndex);
    PlaceChild(s, CurrentIndex, NewIndex);
  }
  TActionScope reordered(this, s, TKxDeAction::kxacReorderedShape, QString(), TActionScope::TUndoNotice::ByCaller);
  DoShapeReordered(CurrentIndex, NewIndex);
}

// ---- Geometry -------------------------------------------------------------------------------------

void TKxDeContainer::RecalculateBounds(bool Force) {
  if (!Force && (InUpdate() || InPointUpdate())) return;
  if (FItems.empty()) {
    FBounds = TRectF::At(TPointF{FBounds.Left, FBounds.Top});
    return;
  }
  TRectF u = FItems.front()->GetBounds();
  for (size_t i = 1; i < FItems.size(); ++i) u = u.Union(FItems[i]->GetBounds());
  FBounds = u;
}

void TKxDeContainer::SetSurface(TKxDeSurface* Value) {
  TKxDeShapeBase::SetSurface(Value);
  for (TKxDeShapeBase* s : FItems) s->SetSurface(Value);
}

void TKxDeContainer::SetBounds(float ALeft, float ATop, float AWidth, float AHeight) {
  NormalizeBounds(ALeft, ATop, AWidth, AHeight);
  const TRectF b = GetBounds();
  if (b.Left == ALeft && b.Top == ATop && b.Width() == AWidth && b.Height() == AHeight) return;
  TUpdateBracket update(this);
  if (b.Left != ALeft || b.Top != ATop) {
    MoveBy(ALeft - b.Left, ATop - b.Top);
    RecalculateBounds(true);
  }
  Resize(AWidth, AHeight);
}

TPointF TKxDeContainer::GetPointValue(int32_t Index) const {
  const TRectF b = GetBounds();
  switch (Index) {
    case 0: return TPointF{b.Left, b.Top};
    case 1: return TPointF{b.Right, b.Top};
    case 2: return TPointF{b.Right, b.Bottom};
    case 3: return TPointF{b.Left, b.Bottom};
    default: return TPointF{};
  }
}

void TKxDeContainer::SetPointValue(int32_t Index, const TPointF& P) {
  if (Index < 0 || Index > 3) return;
  TRectF b = GetBounds();
  const TPointF corner = GetPointValue(Index);
  const float dx = P.X - corner.X;
  const float dy = P.Y - corner.Y;
  // The edges the corner drags: its vertical one (h) and its horizontal one (v).
  float& h = Index == 0 || Index == 3 ? b.Left : b.Right;
  float& v = Index == 0 || Index == 1 ? b.Top : b.Bottom;
  // A turned container is dragged in its own axes: the drag is turned back by the quadrant of
  // the rotation before it moves the edges.
  const float r = FRotation;
  if (r == 0) {
    h += dx;
    v += dy;
  } else if (r < 180) {
    h -= dy;
    v += dx;
  } else if (r < 270) {
    h -= dx;
    v -= dy;
  } else if (Index == 0) {
    h -= dy;
    v -= dx;
  } else {
    h += dy;
    v -= dx;
  }
  ArrangeBoundsRect(b);
  SetBounds(b.Left, b.Top, b.Width(), b.Height());
}

void TKxDeContainer::MoveBy(float, float) {}
void TKxDeContainer::Resize(float, float) {}

void TKxDeContainer::ScaleChildren(float NewWidth, float NewHeight) {
  if (InPointUpdate() || FItems.empty()) return;
  const TRectF b = GetBounds();
  const float w = std::max(b.Width(), 0.0f);
  const float h = std::max(b.Height(), 0.0f);
  NewWidth = std::max(NewWidth, 0.01f);
  NewHeight = std::max(NewHeight, 0.01f);
  if (NewWidth == w && NewHeight == h) return;
  const float sx = w == 0 ? 1.0f : NewWidth / w;
  const float sy = h == 0 ? 1.0f : NewHeight / h;
  if (sx == 1 && sy == 1) return;
  TUpdateBracket update(this);
  // By index: a child's hooks must not change the list, but must not crash if they do.
  for (size_t i = 0; i < FItems.size(); ++i) {
    TKxDeShapeBase* s = FItems[i];
    const TRectF c = s->GetBounds();
    s->SetBounds(b.Left + (c.Left - b.Left) * sx, b.Top + (c.Top - b.Top) * sy, c.Width() * sx, c.Height() * sy);
  }
  RecalculateBounds(true);
}

bool TKxDeContainer::InRect(const TRectF& R) const {
  return std::any_of(FItems.begin(), FItems.end(), [&R](const TKxDeShapeBase* s) { return s->InRect(R); });
}

int32_t TKxDeContainer::PointAt(const TPointF& P, float Fuzz) const {
  if (FItems.empty()) return -1;
  if (Fuzz < 1) Fuzz = 1;
  const bool rotated = FRotation != 0;
  const TPointF center = TKxDeUtils::RotationPt(GetBounds(), TKxDeRotationCenter::kxdroPtGravity);
  for (int32_t i = 0; i < 4; ++i) {
    const TRectF square = TRectF::Square(GetPointValue(i), Fuzz);
    if (!rotated) {
      if (square.Contains(P)) return i;
      continue;
    }
    TDPointArray corners;
    square.RectToArray(corners);
    TDPointArray turned;
    TKxDeUtils::RotatePolygon(corners, FRotation, center, turned);
    // Renumbered as for plain shapes (0<->3, 1<->2): the sizing code counts the corners of a
    // turned frame that way.
    if (TKxDeUtils::PtInPolygon(turned, P)) return 3 - i;
  }
  return -1;
}

bool TKxDeContainer::IsOnLine(const TPointF&) const { return false; }
int32_t TKxDeContainer::ControlAt(const TPointF&, float) const { return -1; }

TKxDeShapeBase* TKxDeContainer::ShapeAtPos(const TPointF& P, float Fuzz, bool Editing) const {
  for (TKxDeShapeBase* s : FItems) {
    if (!IsShown(s)) continue;
    const TRectF b = s->GetBounds();
    if (!b.Contains(P)) continue;
    if (dynamic_cast<const TKxDeContainer*>(s) || s->PointOnShape(P, Fuzz, Editing)) return s;
  }
  return nullptr;
}

// ---- Painting -------------------------------------------------------------------------------------

void TKxDeContainer::Paint(TCanvas* C, float X, float Y, double Zoom, int32_t GDIRotation,
                           PmekDeviceCapsInfo DeviceCapsInfo) {
  if (FItems.empty()) return;
  const TRect d = DrawRect();
  const TRectF area{static_cast<float>(d.Left), static_cast<float>(d.Top), static_cast<float>(d.Right),
                    static_cast<float>(d.Bottom)};
  for (size_t i = 0; i < FItems.size(); ++i) {
    TKxDeShapeBase* s = FItems[i];
    if (IsShown(s) && s->MayShowIn(area)) s->Paint(C, X, Y, Zoom, GDIRotation, DeviceCapsInfo);
  }
}

void TKxDeContainer::PaintIn(TCanvas* C, float X, float Y, double Zoom, const TRectF& R) {
  for (size_t i = 0; i < FItems.size(); ++i) {
    TKxDeShapeBase* s = FItems[i];
    if (IsShown(s) && s->MayShowIn(R)) s->PaintIn(C, X, Y, Zoom, R);
  }
}

void TKxDeContainer::DrawSelection(TCanvas* C, int32_t X, int32_t Y, const TKxDeDragPoint& DragPoint,
                                   const TKxDeSelectionData& Data, double Zoom) {
  if (!C) return;
  TRectF b = GetBounds();
  const TPointF& d = DragPoint.Offset;
  switch (DragPoint.PartIndex) {
    case 0:
      b.Left += d.X;
      b.Top += d.Y;
      break;
    case 1:
      b.Right += d.X;
      b.Top += d.Y;
      break;
    case 2:
      b.Right += d.X;
      b.Bottom += d.Y;
      break;
    case 3:
      b.Left += d.X;
      b.Bottom += d.Y;
      break;
    default: break;
  }
  ArrangeBoundsRect(b);
  const TRect r{Round32(b.Left * Zoom + X), Round32(b.Top * Zoom + Y), Round32(b.Right * Zoom + X),
                Round32(b.Bottom * Zoom + Y)};
  const auto style = Data.LineStyle;
  if (Data.LineColor != clNone && (style == TPenStyle::psSolid || style == TPenStyle::psDash ||
                                   style == TPenStyle::psDot || style == TPenStyle::psDashDot)) {
    C->Pen()->ClearCustom();
    C->Pen()->SetColor(Data.LineColor);
    C->Pen()->SetStyle(style);
    C->Pen()->SetMode(Data.LineMode);
    C->Pen()->SetWidth(1);
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    C->Rectangle(r);
  }
  if (Data.PointSize >= 2 && (Data.PointInColor != clNone || Data.PointOutColor != clNone)) {
    const int32_t size = Data.PointSize;
    const int32_t half = size / 2;
    const TPoint corners[4] = {{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
    for (const TPoint& c : corners)
      DrawPoint(C, TRect{c.X - half, c.Y - half, c.X - half + size, c.Y - half + size}, Data.PointOutColor,
                Data.PointInColor);
  }
}

void TKxDeContainer::DoChanged(bool Force) {
  TKxDeShapeBase::DoChanged(Force);
  RecalculateBounds(false);
}

// ---- Propagation ----------------------------------------------------------------------------------

void TKxDeContainer::DoShapeInserted(TKxDeShapeBase* S) {
  RecalculateBounds(false);
  ShapeInserted(S);
  if (!InUpdate() && FOwner) FOwner->DoShapeInserted(S);
  Changed(false);
}

void TKxDeContainer::DoShapeRemoved(TKxDeShapeBase* S) {
  RecalculateBounds(false);
  ShapeRemoved(S);
  if (FOwner) FOwner->DoShapeRemoved(S);
  Changed(false);
}

void TKxDeContainer::DoShapeChanged(TKxDeShapeBase* S) {
  RecalculateBounds(false);
  Changed(false);
  ShapeChanged(S);
}

void TKxDeContainer::DoShapeChanging(TKxDeShapeBase* S) {
  ShapeChanging(S);
  Changing();
}

void TKxDeContainer::DoShapeReordering(int32_t FromIndex, int32_t ToIndex) {
  ShapeReordering(FromIndex, ToIndex);
  Changing();
}

void TKxDeContainer::DoShapeReordered(int32_t FromIndex, int32_t ToIndex) {
  if (!InUpdate()) {
    ShapeReordered(FromIndex, ToIndex);
    if (FOwner) FOwner->DoShapeReordered(FromIndex, ToIndex);
  }
  Changed(false);
}

void TKxDeContainer::DoShapeCleared(TKxDeShapeBase* S) {
  if (!InUpdate()) {
    ShapeCleared(S);
    if (FOwner) FOwner->DoShapeCleared(S);
  }
  Changed(false);
}

void TKxDeContainer::DoLayerReordered(int32_t FromIndex, int32_t ToIndex) {
  if (!InUpdate()) {
    LayerReordered(FromIndex, ToIndex);
    if (FOwner) FOwner->DoLayerReordered(FromIndex, ToIndex);
  }
  Changed(false);
}

void TKxDeContainer::ShapeChanging(TKxDeShapeBase*) {}
void TKxDeContainer::ShapeChanged(TKxDeShapeBase*) {}
void TKxDeContainer::ShapeInserted(TKxDeShapeBase*) {}
void TKxDeContainer::ShapeReordering(int32_t, int32_t) {}

void TKxDeContainer::ShapeRemoved(TKxDeShapeBase* S) {
  if (FOwner) FOwner->ShapeRemoved(S);
}

void TKxDeContainer::ShapeCleared(TKxDeShapeBase* S) {
  if (FOwner) FOwner->ShapeCleared(S);
}

void TKxDeContainer::ShapeReordered(int32_t FromIndex, int32_t ToIndex) {
  if (FOwner) FOwner->ShapeReordered(FromIndex, ToIndex);
}

void TKxDeContainer::LayerReordered(int32_t FromIndex, int32_t ToIndex) {
  if (FOwner) FOwner->LayerReordered(FromIndex, ToIndex);
}

}  // namespace vorn
