#include "vorn/layermanager/KxDeLayerManager.h"

#include "vorn/editor/KxDeEditorClient.h"
#include "vorn/layermanager/KxDeLayerEdit.h"
#include "vorn/layermanager/LayerManagerGlyphs_p.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QMenu>
#include <QWheelEvent>

#include <algorithm>

namespace vorn {

// The editor's announcements, passed on to the list.
class TLayerManagerClient final : public TKxDeEditorClient {
 public:
  explicit TLayerManagerClient(TKxDeCustomLayerManager* AList) : TKxDeEditorClient(nullptr), FList(AList) {}

  void DoActiveLayerChange() override { FList->update(); }
  void DoLayerChange(TKxDeLayer* L) override { FList->EditorLayerChanged(L); }
  void DoOrientChange() override { FList->update(); }
  void DoSelectionChange() override { FList->EditorSelectionChanged(); }
  void DoInsertLayer(TKxDeLayer* L) override { FList->EditorLayerInserted(L); }
  void DoRemoveLayer(TKxDeLayer* L) override { FList->EditorLayerRemoved(L); }
  void DoInsertShape(TKxDeShapeBase* S) override { FList->EditorShapeInserted(S); }
  void DoRemoveShape(TKxDeShapeBase* S) override { FList->EditorShapeRemoved(S); }
  void DoShapeCleared(TKxDeShapeBase* S) override { FList->EditorShapeCleared(S); }
  void DoShapeChange(TKxDeShapeBase* S) override { FList->EditorShapeChanged(S); }
  void DoReorderShape(TKxDeLayer* L, intptr_t, intptr_t) override { FList->EditorShapeReordered(L); }
  void DoReorderLayer(TKxDeLayer*, intptr_t CurIndex, intptr_t NewIndex) override {
    FList->EditorLayerReordered(static_cast<int32_t>(CurIndex), static_cast<int32_t>(NewIndex));
  }

 protected:
  ~TLayerManagerClient() override = default;

 private:
  TKxDeCustomLayerManager* FList;
};

const TClass* TKxDeCustomLayerManager::ClassType() const { return ClassOf<TKxDeCustomLayerManager>(); }
const TClass* TKxDeLayerManager::ClassType() const { return ClassOf<TKxDeLayerManager>(); }

TKxDeCustomLayerManager::TKxDeCustomLayerManager(QWidget* Parent)
    : TKxDeCustomScrollControl(Parent),
      FColors(Create<TKxDeLayerManagerColors>(this)),
      FClient(Create<TLayerManagerClient>(this)),
      FGlyphs(std::make_unique<TLayerGlyphs>()) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  FColor = clWindow;
  BorderProps()->SetBorder(TKxDeBorder::kxdcb3DLowered);
  resize(220, 300);
}

TKxDeCustomLayerManager::~TKxDeCustomLayerManager() {
  // The editor may outlive the list: freeing the client unregisters it.
  FreeObject(static_cast<TKxDeEditorClient*>(FClient));
  FClient = nullptr;
  ReleaseList();
}

TKxDeCustomControlScrollbarClass TKxDeCustomLayerManager::GetScrollbarClass() const {
  return ClassOf<TKxDeListScrollbar>();
}

// ---- Published state ------------------------------------------------------------------------------

void TKxDeCustomLayerManager::SetColors(const TKxDeLayerManagerColors* Value) {
  if (Value) FColors->Assign(Value);
}

TKxDeCustomEditor* TKxDeCustomLayerManager::Editor() const { return FEditor.data(); }

bool TKxDeCustomLayerManager::Following() const {
  // The editor unregisters its clients before it frees its layers, ahead of the QObject's
  // destroyed signal: from that moment on the list must not look at what it shows.
  // The client is registered with no other surface than the editor.
  return !FEditor.isNull() && FClient->Sender() != nullptr;
}

void TKxDeCustomLayerManager::SetEditor(TKxDeCustomEditor* Value) {
  if (FEditor.data() == Value) return;
  EndOrCancelEdit();
  if (FEditor) {
    FEditor->UnRegisterClient(FClient);
    disconnect(FEditor.data(), &QObject::destroyed, this, nullptr);
  }
  FEditor = Value;
  if (Value) {
    Value->RegisterClient(FClient);
    connect(Value, &QObject::destroyed, this, [this] { EditorDestroyed(); });
  }
  FTopPosition = 0;
  UpdateLayers();
}

void TKxDeCustomLayerManager::EditorDestroyed() {
  // The editor is a bare QObject by now: forget it before anything else looks at it.
  FEditor.clear();
  EndOrCancelEdit();
  FCurrentLayer = nullptr;
  ReleaseList();
  FTopPosition = 0;
  if (!UpdateScrollbar()) update();
}

void TKxDeCustomLayerManager::SetShowPreview(bool Value) {
  if (FShowPreview == Value) return;
  FShowPreview = Value;
  if (!FLayers.empty()) RepaintUnlessUpdated();
}

void TKxDeCustomLayerManager::SetShowItemValue(bool Value) {
  if (FShowItemValue == Value) return;
  FShowItemValue = Value;
  if (!FLayers.empty()) RepaintUnlessUpdated();
}

void TKxDeCustomLayerManager::SetShowSelectionIndicator(bool Value) {
  if (FShowSelectionIndicator == Value) return;
  FShowSelectionIndicator = Value;
  if (!FLayers.empty()) update();
}

void TKxDeCustomLayerManager::SetShowInvisibleObjectState(bool Value) {
  if (FShowInvisibleObjectState == Value) return;
  FShowInvisibleObjectState = Value;
  update();
}

void TKxDeCustomLayerManager::SetPopupMenu(QMenu* Value) {
  FPopupMenu = Value;
  FCurrentPopup = Value;
}

void TKxDeCustomLayerManager::ColorsChanged() {
  if (!FLayers.empty()) update();
}

void TKxDeCustomLayerManager::Loaded() {
  TKxDeCustomScrollControl::Loaded();
  FCurrentPopup = FPopupMenu;
  UpdateScrollbar();
}

void TKxDeCustomLayerManager::ClientResized() {
  TKxDeCustomScrollControl::ClientResized();
  // A bar that appears or goes moves the client area: UpdateScrollbar then fits the top itself.
  if (FScrollbarUpdate > 0) return;
  // The largest top position depends on the height: the scroll-bar update clamps the top again.
  UpdateScrollbar();
  SetTopPosition(FTopPosition);
}

// ---- Rows ------------------------------------------------------------------------------------------

void TKxDeCustomLayerManager::ReleaseList() {
  FLayers.clear();
  FCurrentLayer = nullptr;
  InitializeItemInfo(FCaptionHit);
}

void TKxDeCustomLayerManager::UpdateLayers() {
  ReleaseList();
  if (Following()) {
    const int32_t n = FEditor->LayerCount();
    FLayers.reserve(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
      FLayers.push_back(std::make_unique<TKxDeListLayer>(FEditor->GetLayer(i), this));
      FLayers.back()->UpdateShapes();
    }
  }
  FTopPosition = VerifyTopPos(FTopPosition);
  RepaintUnlessUpdated();
}

void TKxDeCustomLayerManager::RepaintUnlessUpdated() {
  if (!UpdateScrollbar()) update();
}

void TKxDeCustomLayerManager::ExpandAll() {
  for (size_t i = FLayers.size(); i-- > 0;) FLayers[i]->SetExpanded(true);
  update();
}

void TKxDeCustomLayerManager::CollapseAll() {
  for (size_t i = FLayers.size(); i-- > 0;) FLayers[i]->SetExpanded(false);
  update();
}

void TKxDeCustomLayerManager::LayerExpandChanged(TKxDeListLayer*) {
  UpdateScrollbar();
  SetTopPosition(FTopPosition);
  update();
}

TKxDeListLayer* TKxDeCustomLayerManager::ListLayer(int32_t Index) const {
  return Index >= 0 && Index < ListLayerCount() ? FLayers[static_cast<size_t>(Index)].get() : nullptr;
}

TKxDeListLayer* TKxDeCustomLayerManager::FindListLayer(const TKxDeLayer* L) const {
  for (const auto& l : FLayers)
    if (l->Layer() == L) return l.get();
  return nullptr;
}

const TKxDeListItem* TKxDeCustomLayerManager::GetTopItem() const {
  int32_t rank = 0;
  for (const auto& l : FLayers) {
    if (rank == FTopPosition) return l.get();
    ++rank;
    const int32_t items = l->Expanded() ? l->GetShapeCount() : 0;
    if (FTopPosition < rank + items) return l->GetShape(FTopPosition - rank);
    rank += items;
  }
  return nullptr;
}

int32_t TKxDeCustomLayerManager::GetVisibleItemCount() const {
  int32_t n = 0;
  for (const auto& l : FLayers) n += 1 + (l->Expanded() ? l->GetShapeCount() : 0);
  return n;
}

int32_t TKxDeCustomLayerManager::GetVisibleItemRank(const TKxDeShapeBase* Shape) const {
  int32_t rank = 0;
  const TKxDeContainer* parent = Shape ? Shape->Owner() : nullptr;
  for (const auto& l : FLayers) {
    ++rank;
    if (!l->Expanded()) continue;
    if (l->Layer() == parent) {
      const int32_t at = l->IndexOfShape(Shape, parent->IndexOf(Shape));
      if (at >= 0) return rank + at;
    }
    rank += l->GetShapeCount();
  }
  return rank;
}

int32_t TKxDeCustomLayerManager::GetLayerHeight(const TKxDeListLayer* ListLayer) const {
  if (!ListLayer || !ListLayer->Layer()) return 0;
  if (!ListLayer->Expanded()) return GetCaptionHeight() + 1;
  return GetCaptionHeight() + 1 + GetPreviewHeight() * ListLayer->GetShapeCount();
}

TKxDeShapeBase* TKxDeCustomLayerManager::GetShape(const TKxDeListHitInfo& Hit) const {
  const TKxDeListLayer* l = ListLayer(Hit.Layer);
  if (!l || l->Layer()->Locked()) return nullptr;
  const TKxDeListShape* s = l->GetShape(Hit.Shape);
  return s ? s->Shape() : nullptr;
}

// ---- Following the editor ------------------------------------------------------------------------

void TKxDeCustomLayerManager::EditorLayerInserted(TKxDeLayer* L) {
  if (!Following() || FindListLayer(L)) return;
  auto row = std::make_unique<TKxDeListLayer>(L, this);
  row->UpdateShapes();
  // The row goes where the editor holds the layer, so that the list keeps the editor's order.
  const int32_t at = FEditor->IndexOf(L);
  if (at >= 0 && at < ListLayerCount()) FLayers.insert(FLayers.begin() + at, std::move(row));
  else FLayers.push_back(std::move(row));
  RepaintUnlessUpdated();
}

void TKxDeCustomLayerManager::EditorLayerRemoved(TKxDeLayer* L) {
  auto it = std::find_if(FLayers.begin(), FLayers.end(), [L](const auto& l) { return l->Layer() == L; });
  if (it == FLayers.end()) return;
  if (FCurrentLayer == L) {
    EndOrCancelEdit();
    FCurrentLayer = nullptr;
    InitializeItemInfo(FCaptionHit);
  }
  FLayers.erase(it);
  RepaintUnlessUpdated();
}

void TKxDeCustomLayerManager::EditorLayerReordered(int32_t CurIndex, int32_t NewIndex) {
  if (CurIndex < 0 || NewIndex < 0 || CurIndex >= ListLayerCount() || NewIndex >= ListLayerCount()) return;
  auto first = FLayers.begin();
  if (CurIndex < NewIndex) std::rotate(first + CurIndex, first + CurIndex + 1, first + NewIndex + 1);
  else std::rotate(first + NewIndex, first + CurIndex, first + CurIndex + 1);
  RepaintUnlessUpdated();
}

void TKxDeCustomLayerManager::EditorLayerChanged(TKxDeLayer* L) {
  if (!Following()) return;
  // A change the list could not follow step by step (layers swapped as a whole, notifications
  // held back) shows as rows out of step with the document: those are built again.
  bool rebuild = ListLayerCount() != FEditor->LayerCount();
  for (int32_t i = 0; !rebuild && i < ListLayerCount(); ++i) rebuild = ListLayer(i)->Layer() != FEditor->GetLayer(i);
  if (rebuild) {
    UpdateLayers();
    return;
  }
  TKxDeListLayer* l = FindListLayer(L);
  if (l && !l->InStep()) {
    l->UpdateShapes();
    RepaintUnlessUpdated();
    return;
  }
  // Every change of a shape is also a change of its layer. The shape's own notification, which
  // follows, repaints its row; the whole list is painted again only when the layer itself shows
  // differently (name, visibility, lock, printing).
  if (!l || l->CaptionChanged()) update();
}

void TKxDeCustomLayerManager::EditorShapeInserted(TKxDeShapeBase* S) {
  TKxDeListLayer* l = FindListLayer(dynamic_cast<const TKxDeLayer*>(S->Owner()));
  if (!l) return;
  l->ShapeInserted(S);
  if (HiddenFromLayerManager(S)) return;
  l->SetExpanded(true);
  RepaintUnlessUpdated();
}

void TKxDeCustomLayerManager::EditorShapeRemoved(TKxDeShapeBase* S) {
  if (HiddenFromLayerManager(S)) return;
  // The shape has left its owner already: look for its row in every layer.
  for (const auto& l : FLayers) {
    const int32_t at = l->IndexOfShape(S);
    if (at < 0) continue;
    l->ShapeRemoved(at);
    if (l->Expanded()) {
      UpdateScrollbar();
      SetTopPosition(FTopPosition);
      update();
    }
    return;
  }
}

void TKxDeCustomLayerManager::EditorShapeCleared(TKxDeShapeBase* S) {
  TKxDeListLayer* l = FindListLayer(dynamic_cast<const TKxDeLayer*>(S));
  if (!l) return;
  l->ClearShapes();
  if (l->Expanded()) {
    UpdateScrollbar();
    SetTopPosition(FTopPosition);
    update();
  }
}

void TKxDeCustomLayerManager::EditorShapeReordered(TKxDeLayer* L) {
  TKxDeListLayer* l = FindListLayer(L);
  if (!l) return;
  l->UpdateShapes();
  if (l->Expanded()) RepaintUnlessUpdated();
}

void TKxDeCustomLayerManager::EditorShapeChanged(TKxDeShapeBase* S) {
  // Only the row of the shape is painted again, and only when it is on screen: the rows shown
  // are few, the document may be large.
  WalkRows([&](const TRow& Row) {
    if (Row.Kind != TRowKind::Item) return false;
    if (FLayers[static_cast<size_t>(Row.Layer)]->GetShape(Row.Shape)->Shape() != S) return false;
    update(Row.Rect.Left, Row.Rect.Top, Row.Rect.Width(), Row.Rect.Height());
    return true;
  });
}

void TKxDeCustomLayerManager::EditorSelectionChanged() {
  if (Following() && FEditor->SelectionCount() > 0) {
    const int32_t rank = GetVisibleItemRank(FEditor->GetSelection(0));
    if (rank < FTopPosition || rank > FTopPosition + GetVScrollCount()) SetTopPosition(rank);
  }
  update();
  if (QAccessible::isActive()) {
    QAccessibleEvent selection(this, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&selection);
  }
}

// ---- Scrolling ----------------------------------------------------------------------------------

int32_t TKxDeCustomLayerManager::GetVScrollCount() const {
  const TRect client = GetClientRect();
  if (client.IsEmpty()) return 0;
  // Rows are fitted from the end: the top can go no further than the first row of the last page.
  int32_t rest = client.Height();
  int32_t fitted = 0;
  const int32_t itemHeight = GetPreviewHeight();
  for (size_t i = FLayers.size(); i-- > 0;) {
    const TKxDeListLayer& l = *FLayers[i];
    if (l.Expanded()) {
      const int32_t items = l.GetShapeCount();
      const int32_t fit = std::min(items, rest / itemHeight);
      fitted += fit;
      rest -= fit * itemHeight;
      if (fit < items) break;
    }
    rest -= GetCaptionHeight() + 1;
    if (rest < 0) break;
    ++fitted;
  }
  return std::max(0, GetVisibleItemCount() - fitted);
}

int32_t TKxDeCustomLayerManager::VerifyTopPos(int32_t P) const { return P < 0 ? 0 : std::min(P, GetVScrollCount()); }

int32_t TKxDeCustomLayerManager::VerifyLeftPos(int32_t P) const { return std::clamp(P, 0, GetHScrollCount()); }

void TKxDeCustomLayerManager::EndOrCancelEdit() {
  if (!FEditing) return;
  if (FCommitOnExit) DoEndEdit();
  else DoCancelEdit();
}

void TKxDeCustomLayerManager::SetTopPosition(int32_t Value) {
  EndOrCancelEdit();
  Value = VerifyTopPos(Value);
  if (Value == FTopPosition) return;
  FTopPosition = Value;
  ++FPositionSetting;
  UpdateScrollbar();
  if (FScrollerChanging == 0) Scrollbar(TKxDeScrollbarKind::kxdskVertical)->SetPosition(Value);
  --FPositionSetting;
  update();
}

void TKxDeCustomLayerManager::SetLeftPosition(int32_t Value) {
  EndOrCancelEdit();
  Value = VerifyLeftPos(Value);
  if (Value == FLeftPosition) return;
  FLeftPosition = Value;
  ++FPositionSetting;
  UpdateScrollbar();
  if (FScrollerChanging == 0) Scrollbar(TKxDeScrollbarKind::kxdskHorizontal)->SetPosition(Value);
  --FPositionSetting;
  update();
}

bool TKxDeCustomLayerManager::CanScrollToPos(TKxDeScrollbarKind Kind, int32_t& Pos) {
  if (Kind == TKxDeScrollbarKind::kxdskVertical) Pos = std::clamp(Pos, 0, GetVScrollCount());
  return true;
}

void TKxDeCustomLayerManager::DoScrollerPositionChanged(TKxDeScrollbarKind Kind) {
  TKxDeCustomScrollControl::DoScrollerPositionChanged(Kind);
  if (FScrollerChanging > 0 || FPositionSetting > 0) return;
  ++FScrollerChanging;
  const int32_t pos = Scrollbar(Kind)->Position();
  if (Kind == TKxDeScrollbarKind::kxdskVertical) SetTopPosition(pos);
  else SetLeftPosition(pos);
  --FScrollerChanging;
}

void TKxDeCustomLayerManager::DoScrollMessage(TKxDeScrollbarKind Kind, int32_t Code, int32_t Pos) {
  const bool vertical = Kind == TKxDeScrollbarKind::kxdskVertical;
  const TKxDeCustomControlScrollbar* bar = Scrollbar(Kind);
  const int32_t now = vertical ? FTopPosition : FLeftPosition;
  int32_t to = now;
  switch (Code) {
    case SB_LINEUP: to = now - 1; break;
    case SB_LINEDOWN: to = now + 1; break;
    case SB_PAGEUP: to = GetPageUpPos(now); break;
    case SB_PAGEDOWN: to = GetPageDownPos(now); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: to = std::clamp(Pos, bar->Min(), bar->Max()); break;
    case SB_TOP: to = bar->Min(); break;
    case SB_BOTTOM: to = bar->Max(); break;
    default: return;
  }
  if (vertical) SetTopPosition(to);
  else SetLeftPosition(to);
}

void TKxDeCustomLayerManager::wheelEvent(QWheelEvent* Event) {
  const int delta = Event->angleDelta().y();
  if (delta == 0) return;
  // One row per notch; turning the wheel towards the user moves down.
  DoScrollMessage(TKxDeScrollbarKind::kxdskVertical, delta < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
  Event->accept();
}

bool TKxDeCustomLayerManager::SendScrollbar(TKxDeScrollbarKind Kind, int32_t Min, int32_t Max, int32_t Page,
                                            int32_t Pos) {
  auto shows = [](int32_t Mn, int32_t Mx, int32_t Pg) { return Pg >= 0 && Mx > 0 && Mx - Mn >= 1 && Mx - Mn > Pg; };
  TKxDeScrollInfo info;
  GetScrollbarInfo(Kind, info);
  const bool wasVisible = IsVertScrollBarVisible();
  const bool wasHorz = IsHorzScrollBarVisible();
  const bool visible = shows(Min, Max, Page);
  if (info.Min == Min && info.Max == Max && info.Page == Page && info.Pos == Pos && info.Visible == visible)
    return false;
  info.Min = Min;
  info.Max = Max;
  info.Page = Page;
  info.Pos = Pos;
  info.Visible = visible;
  info.SmallChange = 1;
  info.LargeChange = 3;
  ++FScrollerChanging;
  SetScrollbarInfo(Kind, info);
  --FScrollerChanging;
  return wasVisible != IsVertScrollBarVisible() || wasHorz != IsHorzScrollBarVisible();
}

bool TKxDeCustomLayerManager::UpdateScrollbar() {
  if (FScrollbarUpdate > 0 || Loading()) return false;
  ++FScrollbarUpdate;
  const bool listed = Following() && !FLayers.empty();
  bool changed = false;
  // A bar that appears or goes changes the client size and so the figures: twice at most.
  for (int pass = 0; pass < 2; ++pass) {
    FTopPosition = VerifyTopPos(FTopPosition);
    const int32_t rows = listed ? GetVisibleItemCount() : 0;
    const int32_t count = listed ? GetVScrollCount() : 0;
    bool moved = rows >= 2 && count >= 1
                     ? SendScrollbar(TKxDeScrollbarKind::kxdskVertical, 0, rows, rows - count, FTopPosition)
                     : SendScrollbar(TKxDeScrollbarKind::kxdskVertical, 0, 0, 1, 0);
    const int32_t width = GetClientRect().Width();
    if (listed && FHorzExtent >= 1 && FHorzExtent - width >= 2)
      moved = SendScrollbar(TKxDeScrollbarKind::kxdskHorizontal, 0, FHorzExtent, width, FLeftPosition) || moved;
    else moved = SendScrollbar(TKxDeScrollbarKind::kxdskHorizontal, 0, 0, 1, 0) || moved;
    changed = changed || moved;
    if (!moved) break;
  }
  --FScrollbarUpdate;
  if (changed) update();
  return changed;
}

// ---- Mouse -------------------------------------------------------------------------------------

void TKxDeCustomLayerManager::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  FCurrentLayer = nullptr;
  InitializeItemInfo(FCaptionHit);
  FCurrentPopup = FPopupMenu;
  TKxDeCustomScrollControl::MouseDown(Button, Shift, X, Y);
  if (!Following() || FLayers.empty()) return;
  const TKxDeListHitInfo hit = HitInfo(TPoint{X, Y});
  TKxDeListLayer* row = ListLayer(hit.Layer);
  if (!row) return;
  TKxDeLayer* layer = row->Layer();
  FCurrentLayer = layer;
  using enum TKxDeListHitPart;
  switch (hit.Part) {
    case kxdlhLayerExpandButton: row->SetExpanded(!row->Expanded()); break;
    case kxdlhLayerCaption:
      FCaptionHit = hit;
      ClickRow(hit.Layer, -1, Button, Shift);
      break;
    case kxdlhLayerHideButton:
      layer->SetVisible(!layer->Visible());
      update();
      break;
    case kxdlhLayerLockButton:
      layer->SetLocked(!layer->Locked());
      update();
      break;
    case kxdlhItemHideButton:
    case kxdlhItemLockButton:
      if (TKxDeShapeBase* s = row->GetShape(hit.Shape)->Shape()) {
        if (hit.Part == kxdlhItemHideButton) s->SetVisible(!s->Visible());
        else s->SetLocked(!s->Locked());
      }
      update();
      break;
    case kxdlhItem:
      if (ClickRow(hit.Layer, hit.Shape, Button, Shift)) FCurrentPopup = FItemPopup;
      break;
    default: break;
  }
}

bool TKxDeCustomLayerManager::ClickRow(int32_t Layer, int32_t Shape, TMouseButton Button, TShiftState Shift) {
  TKxDeListLayer* row = ListLayer(Layer);
  if (!Following() || !row || row->Layer()->Locked()) return false;
  TKxDeLayer* layer = row->Layer();
  if (Shape < 0) {
    // A caption selects the layer's shapes (not on a right click, which only opens the menu).
    if (layer->GetItemCount() > 0 && Button != TMouseButton::mbRight) {
      TKxDeShapeArray items;
      items.reserve(static_cast<size_t>(layer->GetItemCount()));
      for (int32_t i = 0; i < layer->GetItemCount(); ++i) items.push_back(layer->GetItem(i));
      FEditor->SelectList(items);
    }
  } else {
    const TKxDeListShape* item = row->GetShape(Shape);
    TKxDeShapeBase* s = item ? item->Shape() : nullptr;
    if (!s) return false;
    if (Shift.Contains(TShiftStateItem::ssShift)) {
      if (FEditor->IsSelected(s)) FEditor->RemoveSelection(s);
      else if (FEditor->CanSelect(s)) FEditor->AddSelection(s);
    } else {
      FEditor->Select(s);
    }
  }
  FEditor->SetActiveLayer(layer);
  return true;
}

void TKxDeCustomLayerManager::contextMenuEvent(QContextMenuEvent* Event) {
  if (FCurrentPopup) FCurrentPopup->popup(Event->globalPos());
  else TKxDeCustomScrollControl::contextMenuEvent(Event);
}

void TKxDeCustomLayerManager::DblClick() {
  if (!DoRenameLayer()) TKxDeCustomScrollControl::DblClick();
}

// ---- Renaming ------------------------------------------------------------------------------------

void TKxDeCustomLayerManager::RenameLayer() { DoRenameLayer(); }

bool TKxDeCustomLayerManager::DoRenameLayer() {
  if (!Following() || !FCurrentLayer || FCurrentLayer->Locked() ||
      FCaptionHit.Part != TKxDeListHitPart::kxdlhLayerCaption)
    return false;
  PrepareEdit();
  UpdateEditBounds();
  BeginEdit();
  return true;
}

void TKxDeCustomLayerManager::PrepareEdit() {
  if (!FEdit) FEdit = new TKxDeLayerEdit(this);
  QPalette palette = FEdit->palette();
  palette.setColor(QPalette::Text, ToQColor(clWindowText));
  FEdit->setPalette(palette);
  FEdit->setText(FCurrentLayer->Name());
  FEdit->setModified(false);
}

void TKxDeCustomLayerManager::UpdateEditBounds() {
  const TRect& r = FCaptionHit.PartRect;
  FEdit->setGeometry(r.Left, r.Top, r.Width(), std::max(r.Height(), FEdit->minimumSizeHint().height()));
}

void TKxDeCustomLayerManager::BeginEdit() {
  FEditing = true;
  FEdit->show();
  FEdit->raise();
  FEdit->selectAll();
  FEdit->setFocus();
}

void TKxDeCustomLayerManager::DoEndEdit() {
  if (!FEditing) return;
  FEditing = false;
  if (FEdit->isModified() && FCurrentLayer && Following()) {
    QString text = FEdit->text();
    CallEvent(OnEdit, FCurrentLayer, text);
    FCurrentLayer->SetName(text);
  }
  FEdit->hide();
  update();
}

void TKxDeCustomLayerManager::DoCancelEdit() {
  if (!FEditing) return;
  FEditing = false;
  FEdit->hide();
}

}  // namespace vorn
