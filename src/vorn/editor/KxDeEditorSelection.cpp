// The editor's list of selected shapes, in the order they were selected.

#include "vorn/editor/KxDeEditor.h"

#include "vorn/common/Finally_p.h"
#include "vorn/editor/KxDeEditorClient.h"
#include "vorn/model/KxDeGroup.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDePackage.h"
#include "vorn/model/KxDeShapeBase.h"
#include "vorn/surface/KxDeSurfaceIndex_p.h"

#include <algorithm>

namespace vorn {

namespace {

bool Shown(const TKxDeShapeBase* S) { return S->Visible() && !S->Locked() && !S->InDestroy(); }

}  // namespace

bool TKxDeCustomEditor::CanSelect(const TKxDeShapeBase* S) const {
  if (!S || !FEditOptions.Contains(TKxDeEditOption::kxdoCanSelect) || dynamic_cast<const TKxDeLayer*>(S)) return false;
  auto* layer = dynamic_cast<const TKxDeLayer*>(S->Owner());
  return layer && Shown(S) && Shown(layer) && IndexOf(layer) >= 0;
}

bool TKxDeCustomEditor::IsSelected(const TKxDeShapeBase* S) const { return S && FSelected.contains(S); }

TKxDeShapeBase* TKxDeCustomEditor::GetSelection(int32_t I) const {
  return I >= 0 && I < SelectionCount() ? FSelections[static_cast<size_t>(I)] : nullptr;
}

bool TKxDeCustomEditor::SelectNextShape(bool Forward) {
  TKxDeLayer* layer = GetActiveLayer();
  if (!layer) return false;
  const int32_t count = layer->ItemCount();
  TKxDeShapeBase* last = SelectionCount() > 0 ? FSelections.back() : nullptr;
  int32_t i = last && last->Owner() == layer ? layer->IndexOf(last) : (Forward ? -1 : count);
  for (i += Forward ? 1 : -1; i >= 0 && i < count; i += Forward ? 1 : -1)
    if (CanSelect(layer->Items(i))) {
      Select(layer->Items(i));
      return true;
    }
  ClearSelection();
  return false;
}

bool TKxDeCustomEditor::focusNextPrevChild(bool Next) {
  if (FEditOptions.Contains(TKxDeEditOption::kxdoKeyActions) && EditState() == TKxDeEditState::kxesNone &&
      SelectNextShape(Next))
    return true;
  return TKxDeSurface::focusNextPrevChild(Next);
}

void TKxDeCustomEditor::ClearPointSelection(TKxDeShapeBase* S) {
  if (S->SelectionCount() > 0) S->ClearSelection();
}

void TKxDeCustomEditor::Select(TKxDeShapeBase* S) {
  if (S ? FSelections.size() == 1 && FSelections[0] == S : FSelections.empty()) return;
  if (S && !CanSelect(S)) return;
  for (TKxDeShapeBase* s : FSelections) ClearPointSelection(s);
  FSelections.clear();
  FSelected.clear();
  if (S && FEditOptions.Contains(TKxDeEditOption::kxdoCanSelect)) Append(S);
  SelectionChanged();
}

void TKxDeCustomEditor::AddSelection(TKxDeShapeBase* S) {
  if (!CanSelect(S) || IsSelected(S)) return;
  if (!FEditOptions.Contains(TKxDeEditOption::kxdoMultiSelect)) {
    FSelections.clear();
    FSelected.clear();
  }
  Append(S);
  SelectionChanged();
}

void TKxDeCustomEditor::RemoveSelection(TKxDeShapeBase* S) {
  if (!IsSelected(S)) return;
  ClearPointSelection(S);
  FSelections.erase(std::find(FSelections.begin(), FSelections.end(), S));
  FSelected.remove(S);
  SelectionChanged();
}

void TKxDeCustomEditor::ClearSelection() {
  if (FSelections.empty()) return;
  for (auto it = FSelections.rbegin(); it != FSelections.rend(); ++it) ClearPointSelection(*it);
  FSelections.clear();
  FSelected.clear();
  SelectionChanged();
}

void TKxDeCustomEditor::SelectAll() {
  if (!FEditOptions.Contains(TKxDeEditOption::kxdoCanSelect)) return;
  FSelections.clear();
  FSelected.clear();
  const bool multi = FEditOptions.Contains(TKxDeEditOption::kxdoMultiSelect);
  for (TKxDeLayer* layer : FLayers) {
    if (!Shown(layer)) continue;
    for (int32_t i = 0; i < layer->ItemCount(); ++i) {
      TKxDeShapeBase* s = layer->Items(i);
      if (!Shown(s)) continue;
      Append(s);
      if (!multi) break;
    }
  }
  SelectionChanged();
}

void TKxDeCustomEditor::SelectIn(const TRectF& R, bool Whole) {
  if (R.IsEmpty()) {
    ClearSelection();
    return;
  }
  if (!FEditOptions.Contains(TKxDeEditOption::kxdoCanSelect)) return;
  const bool held = !FSelections.empty();
  FSelections.clear();
  FSelected.clear();
  const bool multi = FEditOptions.Contains(TKxDeEditOption::kxdoMultiSelect);
  for (TKxDeLayer* layer : FLayers) {
    if (!Shown(layer)) continue;
    // Only shapes reaching into R can qualify; the index hands them over in layer order.
    Index().ForLayer(layer).ItemsIn(R, FScratch);
    for (TKxDeShapeBase* s : FScratch) {
      if (!Shown(s)) continue;
      const bool inside = Whole ? [&] {
        const TRectF b = s->GetBounds();
        return b.Left >= R.Left && b.Top >= R.Top && b.Right <= R.Right && b.Bottom <= R.Bottom;
      }()
                                : s->InRect(R);
      if (!inside) continue;
      Append(s);
      if (!multi) break;
    }
  }
  if (held || !FSelections.empty()) SelectionChanged();
}

TRectF TKxDeCustomEditor::GetSelectionBounds() const {
  TRectF r;
  bool any = false;
  for (TKxDeShapeBase* s : FSelections) {
    if (!s->Visible() || s->InDestroy()) continue;
    const TRectF b = s->GetBounds();
    r = any ? r.Union(b) : b;
    any = true;
  }
  return r;
}

void TKxDeCustomEditor::UpdateSelection() {
  if (Destroying()) return;
  if (!FEditOptions.Contains(TKxDeEditOption::kxdoCanSelect)) {
    ClearSelection();
    return;
  }
  const size_t before = FSelections.size();
  std::erase_if(FSelections, [this](TKxDeShapeBase* S) {
    if (Exists(S)) return false;
    FSelected.remove(S);
    return true;
  });
  bool changed = FSelections.size() != before;
  if (FSelections.size() > 1 && !FEditOptions.Contains(TKxDeEditOption::kxdoMultiSelect)) {
    FSelections.erase(FSelections.begin(), FSelections.end() - 1);
    FSelected.clear();
    FSelected.insert(FSelections.back());
    changed = true;
  }
  if (changed) SelectionChanged();
}

void TKxDeCustomEditor::Append(TKxDeShapeBase* S) {
  FSelections.push_back(S);
  FSelected.insert(S);
}

void TKxDeCustomEditor::SelectionChanged() {
  RefreshClientBuffer();
  DoSelectionChanged();
  ForEachEditorClient([](TKxDeEditorClient* C) { C->DoSelectionChange(); });
  CallEvent(OnSelectionChange, this);
  Q_EMIT CommandsChanged();
}

void TKxDeCustomEditor::DoSelectionChanged() {}

// ---- Several shapes at once ----------------------------------------------------------------------

bool TKxDeCustomEditor::AppendSelectable(const TKxDeShapeArray& List) {
  bool appended = false;
  const bool multi = FEditOptions.Contains(TKxDeEditOption::kxdoMultiSelect);
  for (TKxDeShapeBase* s : List) {
    if (!CanSelect(s) || IsSelected(s)) continue;
    if (!multi) {
      FSelections.clear();
      FSelected.clear();
    }
    Append(s);
    appended = true;
  }
  return appended;
}

void TKxDeCustomEditor::AddSelections(const TKxDeShapeArray& List) {
  if (AppendSelectable(List)) SelectionChanged();
}

void TKxDeCustomEditor::RemoveSelections(const TKxDeShapeArray& List) {
  bool changed = false;
  for (TKxDeShapeBase* s : List) {
    if (!IsSelected(s)) continue;
    ClearPointSelection(s);
    FSelections.erase(std::find(FSelections.begin(), FSelections.end(), s));
    FSelected.remove(s);
    changed = true;
  }
  if (changed) SelectionChanged();
}

void TKxDeCustomEditor::SelectList(const TKxDeShapeArray& List) {
  // Shapes that cannot be selected are left out, as by Select.
  const TKxDeShapeArray before = FSelections;
  for (TKxDeShapeBase* s : FSelections) ClearPointSelection(s);
  FSelections.clear();
  FSelected.clear();
  AppendSelectable(List);
  if (before != FSelections) SelectionChanged();
}

bool TKxDeCustomEditor::SelectionContains(TKxDeShapeClass C) const {
  return C && std::any_of(FSelections.begin(), FSelections.end(),
                          [C](const TKxDeShapeBase* S) { return S->ClassType()->InheritsFrom(C); });
}

TKxDeGroup* TKxDeCustomEditor::GetGroupInSelection() const {
  for (TKxDeShapeBase* s : FSelections)
    if (auto* g = dynamic_cast<TKxDeGroup*>(s)) return g;
  return nullptr;
}

// ---- Commands on the selection ---------------------------------------------------------------------

void TKxDeCustomEditor::DeleteSelection() {
  if (FSelections.empty()) return;
  DoBeforeDeleteSelection();
  BeginUpdate();
  TFinally update([this] { EndUpdate(); });
  // The lock does not protect a shape from deletion: it was selected before it was locked.
  std::vector<TKxDeShapeBase*> doomed;
  for (TKxDeShapeBase* s : FSelections)
    if (s->Visible() && !s->InDestroy()) doomed.push_back(s);
  // The shapes count as selected until they are gone, so that undo brings them back selected.
  FSelections.clear();
  if (!doomed.empty()) {
    BeginUndoGroup();
    TFinally undo([this] { EndUndoGroup(); });
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
      if (Exists(*it)) Free(*it);
  }
  FSelected.clear();
  SelectionChanged();
}

namespace {

// S is not yet the top (Up) or the bottom child of its container.
bool CanReorder(const TKxDeShapeBase* S, bool Up) {
  const TKxDeContainer* c = S->Owner();
  if (!c) return false;
  const int32_t i = c->IndexOf(S);
  return Up ? i >= 0 && i < c->ItemCount() - 1 : i > 0;
}

}  // namespace

template <class F>
static void ReorderEach(TKxDeCustomEditor* E, const std::vector<TKxDeShapeBase*>& Selection, F&& Move) {
  E->BeginUndoGroup();
  TFinally undo([E] { E->EndUndoGroup(); });
  E->BeginUpdate();
  TFinally update([E] { E->EndUpdate(); });
  // A reorder may make a handler change the selection: walk a copy, the last selected first.
  const std::vector<TKxDeShapeBase*> shapes = Selection;
  for (auto it = shapes.rbegin(); it != shapes.rend(); ++it)
    if (E->Exists(*it))
      if (TKxDeContainer* c = (*it)->Owner()) Move(c, *it);
}

void TKxDeCustomEditor::BringToFront() {
  ReorderEach(this, FSelections, [](TKxDeContainer* C, TKxDeShapeBase* S) { C->BringToFront(S); });
  Q_EMIT CommandsChanged();
}

void TKxDeCustomEditor::SendToBack() {
  ReorderEach(this, FSelections, [](TKxDeContainer* C, TKxDeShapeBase* S) { C->SendToBack(S); });
  Q_EMIT CommandsChanged();
}

void TKxDeCustomEditor::BringForward() {
  ReorderEach(this, FSelections, [](TKxDeContainer* C, TKxDeShapeBase* S) { C->BringForward(S); });
  Q_EMIT CommandsChanged();
}

void TKxDeCustomEditor::SendBackward() {
  ReorderEach(this, FSelections, [](TKxDeContainer* C, TKxDeShapeBase* S) { C->SendBackward(S); });
  Q_EMIT CommandsChanged();
}

bool TKxDeCustomEditor::CanBringForward() const {
  return std::any_of(FSelections.begin(), FSelections.end(),
                     [](const TKxDeShapeBase* S) { return CanReorder(S, true); });
}

bool TKxDeCustomEditor::CanSendBackward() const {
  return std::any_of(FSelections.begin(), FSelections.end(),
                     [](const TKxDeShapeBase* S) { return CanReorder(S, false); });
}

bool TKxDeCustomEditor::CanUngroup() const { return GetGroupInSelection() != nullptr; }

bool TKxDeCustomEditor::CanUnpack() const {
  return std::any_of(FSelections.begin(), FSelections.end(),
                     [](const TKxDeShapeBase* S) { return dynamic_cast<const TKxDePackage*>(S) != nullptr; });
}

TKxDeGroup* TKxDeCustomEditor::Group(const TKxDeShapeArray& A) {
  BeginUndoGroup();
  TFinally undo([this] { EndUndoGroup(); });
  BeginUpdate();
  TFinally update([this] { EndUpdate(); });
  // The list may be the selection itself, which the grouping changes.
  TKxDeGroup* g = TKxDeSurface::Group(TKxDeShapeArray(A));
  if (g) Select(g);
  return g;
}

TKxDePackage* TKxDeCustomEditor::Pack(const TKxDeShapeArray& A) {
  BeginUndoGroup();
  TFinally undo([this] { EndUndoGroup(); });
  BeginUpdate();
  TFinally update([this] { EndUpdate(); });
  TKxDePackage* p = TKxDeSurface::Pack(TKxDeShapeArray(A));
  if (p) Select(p);
  return p;
}

namespace {

// Empties every container of type C in the selection onto its layer through Disband, and
// selects what they held.
template <class C, class F>
void DisbandSelected(TKxDeCustomEditor* E, F&& Disband) {
  const TKxDeShapeArray selection = E->Selections();
  TKxDeShapeArray members;
  E->BeginUndoGroup();
  TFinally undo([E] { E->EndUndoGroup(); });
  E->BeginUpdate();
  TFinally update([E] { E->EndUpdate(); });
  bool any = false;
  for (TKxDeShapeBase* s : selection) {
    auto* c = dynamic_cast<C*>(s);
    if (!c || !E->Exists(c)) continue;
    for (int32_t i = 0; i < c->ItemCount(); ++i) members.push_back(c->Items(i));
    Disband(c);
    any = true;
  }
  if (any) E->AddSelections(members);
}

}  // namespace

void TKxDeCustomEditor::UngroupSelection() {
  DisbandSelected<TKxDeGroup>(this, [this](TKxDeGroup* G) { Ungroup(G); });
}

void TKxDeCustomEditor::UnpackSelection() {
  DisbandSelected<TKxDePackage>(this, [this](TKxDePackage* P) { Unpack(P); });
}

void TKxDeCustomEditor::Lock(const TKxDeShapeArray& A) {
  const TKxDeShapeArray shapes = A;
  BeginUndoGroup();
  TFinally undo([this] { EndUndoGroup(); });
  BeginUpdate();
  TFinally update([this] { EndUpdate(); });
  for (TKxDeShapeBase* s : shapes)
    if (Exists(s)) s->SetLocked(true);
}

void TKxDeCustomEditor::AssignDefaultPropertiesToSelection() {
  const TKxDeShapeArray shapes = FSelections;
  BeginUpdate();
  TFinally update([this] { EndUpdate(); });
  BeginUndoGroup();
  TFinally undo([this] { EndUndoGroup(); });
  for (TKxDeShapeBase* s : shapes)
    if (TKxDeLayer* l = Exists(s) ? s->GetLayer() : nullptr) l->AssignDefaultPropertiesToShape(s);
}

void TKxDeCustomEditor::AssignDefaultPropertiesToAll() {
  BeginUpdate();
  TFinally update([this] { EndUpdate(); });
  BeginUndoGroup();
  TFinally undo([this] { EndUndoGroup(); });
  for (TKxDeLayer* layer : FLayers)
    for (int32_t i = 0; i < layer->ItemCount(); ++i) layer->AssignDefaultPropertiesToShape(layer->Items(i));
}

}  // namespace vorn
