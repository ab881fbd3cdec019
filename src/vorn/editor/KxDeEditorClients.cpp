// The editor's announcements to its editor clients and the host: each after the editor's own
// hook, the clients in registration order, then the event.

#include "vorn/editor/KxDeEditor.h"

#include "vorn/editor/KxDeEditorClient.h"

namespace vorn {

using enum TKxDeEditState;

void TKxDeCustomEditor::ForEachEditorClient(const std::function<void(TKxDeEditorClient*)>& Call) {
  ForEachClient([&Call](TKxDeSurfaceClient* C) {
    if (auto* e = dynamic_cast<TKxDeEditorClient*>(C)) Call(e);
  });
}

void TKxDeCustomEditor::DoDefBrushChanged() {
  ForEachEditorClient([](TKxDeEditorClient* C) { C->DoDefBrushChange(); });
  CallEvent(OnDefBrushChange, this);
}

void TKxDeCustomEditor::DoDefPenChanged() {
  ForEachEditorClient([](TKxDeEditorClient* C) { C->DoDefPenChange(); });
  CallEvent(OnDefPenChange, this);
}

void TKxDeCustomEditor::DoDefFontChanged() {
  ForEachEditorClient([](TKxDeEditorClient* C) { C->DoDefFontChange(); });
  CallEvent(OnDefFontChange, this);
}

void TKxDeCustomEditor::DoClipboardChanged() {
  ForEachEditorClient([](TKxDeEditorClient* C) { C->DoClipboardChange(); });
  CallEvent(OnClipboardChange, this);
}

void TKxDeCustomEditor::DoGuideChanged() {
  update();
  ForEachEditorClient([](TKxDeEditorClient* C) { C->DoGuideChange(); });
  CallEvent(OnGuideChange, this);
}

void TKxDeCustomEditor::DoBeforeDeleteSelection() { CallEvent(OnBeforeDeleteSelection, this); }

void TKxDeCustomEditor::ClientsNewShapeClass() {
  ForEachEditorClient([](TKxDeEditorClient* C) { C->DoNewShapeClass(); });
}

void TKxDeCustomEditor::ClientsNewShape(TKxDeShapeBase* S) {
  ForEachEditorClient([S](TKxDeEditorClient* C) { C->DoNewShape(S); });
}

void TKxDeCustomEditor::ClientsEndNewShape(TKxDeShapeBase* S) {
  ForEachEditorClient([S](TKxDeEditorClient* C) { C->DoEndNewShape(S); });
}

void TKxDeCustomEditor::ExecuteOrientIconAction(TKxDeEditState, const TKxDeHitTest&, const TKxDeHitTest&,
                                                TKxDeShiftKeys) {
  // The clients hear of the new orientation from the setter, before the host's event.
  SetEditorOrientation(FEditorOrientation == TKxDeEditorOrient::kxedtDesOrientPortrait
                           ? TKxDeEditorOrient::kxedtDesOrientLandscape
                           : TKxDeEditorOrient::kxedtDesOrientPortrait);
  CallEvent(OnOrientIconClick, this);
}

}  // namespace vorn
