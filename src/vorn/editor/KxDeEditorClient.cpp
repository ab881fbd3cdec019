#include "vorn/editor/KxDeEditorClient.h"

#include "vorn/editor/KxDeEditor.h"

namespace vorn {

TKxDeCustomEditor* TKxDeEditorClient::Editor() const { return dynamic_cast<TKxDeCustomEditor*>(Sender()); }

TObject* TKxDeEditorClient::EditorObject() const { return Sender(); }

void TKxDeEditorClient::DoClipboardChange() { CallEvent(OnClipboardChange, EditorObject()); }

void TKxDeEditorClient::DoEditStateChange() { CallEvent(OnEditStateChange, EditorObject()); }

void TKxDeEditorClient::DoEndNewShape(TKxDeShapeBase* Shape) { CallEvent(OnEndNewShape, EditorObject(), Shape); }

void TKxDeEditorClient::DoNewShape(TKxDeShapeBase* Shape) { CallEvent(OnNewShape, EditorObject(), Shape); }

void TKxDeEditorClient::DoNewShapeClass() { CallEvent(OnNewShapeClass, EditorObject()); }

void TKxDeEditorClient::DoSelectionChange() { CallEvent(OnSelectionChange, EditorObject()); }

void TKxDeEditorClient::DoDefBrushChange() { CallEvent(OnDefBrushChange, EditorObject()); }

void TKxDeEditorClient::DoDefFontChange() { CallEvent(OnDefFontChange, EditorObject()); }

void TKxDeEditorClient::DoDefPenChange() { CallEvent(OnDefPenChange, EditorObject()); }

void TKxDeEditorClient::DoGuideChange() { CallEvent(OnGuideChange, EditorObject()); }

void TKxDeEditorClient::DoOrientChange() { CallEvent(OnOrientChange, EditorObject()); }

void TKxDeEditorClient::DoReorderShape(TKxDeLayer* Layer, intptr_t CurIndex, intptr_t NewIndex) {
  TKxDeSurfaceClient::DoReorderShape(Layer, CurIndex, NewIndex);
  CallEvent(OnShapeReordered, EditorObject(), Layer, CurIndex, NewIndex);
}

}  // namespace vorn
