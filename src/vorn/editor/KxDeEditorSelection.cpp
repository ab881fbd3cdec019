// The editor's list of selected shapes, in the order they were selected.

#include "vorn/editor/KxDeEditor.h"

#include "vorn/editor/KxDeEditorClient.h"
#include "vorn/model/KxDeLayer.h"
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
}

void TKxDeCustomEditor::DoSelectionChanged() {}

}  // namespace vorn
