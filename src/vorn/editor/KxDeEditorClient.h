#pragma once
// TKxDeEditorClient: a surface client that also follows an editor's own state: its selection,
// edit state, shapes being created, default styles, clipboard, guides and orientation. A layer
// manager or an inspector registers one with the editor (as with any surface client, by creating
// it with the editor as Sender) and overrides the Do... operations or assigns the events.
//
// The editor calls its editor clients in registration order just before raising its own event of
// the same meaning, after its own virtual hook; a client that is only a surface client hears none
// of these.

#include "vorn/common/Events.h"
#include "vorn/model/KxDeSurfaceClient.h"

#include <cstdint>

namespace vorn {

class TKxDeCustomEditor;

class TKxDeEditorClient : public TKxDeSurfaceClient {
  VORN_OBJECT(TKxDeEditorClient, TKxDeSurfaceClient)

 public:
  using TKxDeSurfaceClient::TKxDeSurfaceClient;

  // Sender as an editor, or none.
  TKxDeCustomEditor* Editor() const;

  virtual void DoClipboardChange();
  virtual void DoEditStateChange();
  // A shape the editor is about to insert (its creation ended), and one whose creation started.
  virtual void DoEndNewShape(TKxDeShapeBase* Shape);
  virtual void DoNewShape(TKxDeShapeBase* Shape);
  virtual void DoNewShapeClass();
  virtual void DoSelectionChange();
  virtual void DoDefBrushChange();
  virtual void DoDefFontChange();
  virtual void DoDefPenChange();
  virtual void DoGuideChange();
  virtual void DoOrientChange();
  // The surface client's behaviour (OnReorderShape), then OnShapeReordered.
  void DoReorderShape(TKxDeLayer* Layer, intptr_t CurIndex, intptr_t NewIndex) override;

  // Each raised by the operation of the same meaning, with the editor as Sender.
  TNotifyEvent OnClipboardChange;
  TNotifyEvent OnEditStateChange;
  TKxDeShapeEvent OnEndNewShape;
  TKxDeShapeEvent OnNewShape;
  TNotifyEvent OnNewShapeClass;
  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnDefBrushChange;
  TNotifyEvent OnDefFontChange;
  TNotifyEvent OnDefPenChange;
  TNotifyEvent OnGuideChange;
  TNotifyEvent OnOrientChange;
  // A shape changed places in its layer's z-order, heard after OnReorderShape.
  TKxDeShapeReorderEvent OnShapeReordered;

 protected:
  ~TKxDeEditorClient() override = default;

 private:
  // The Sender of the events.
  TObject* EditorObject() const;
};

}  // namespace vorn
