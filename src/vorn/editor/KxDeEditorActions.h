#pragma once
// TKxDeEditorActions: the editor's commands as QActions, for a host's menus and toolbars.
//
// Undo, redo, delete, select all, group, ungroup, pack, unpack, the four z-order moves, the four
// nudges and the zooms, each with its usual shortcut; aligning and distributing the selection with
// the choice of what it is relative to (no shortcuts). The shortcuts work while the editor (or a child of it) has the
// focus, so Delete and the arrows typed into another field of the window stay that field's. An
// action is enabled only while its command would change something; the state follows the
// selection and the document around it (UpdateActions brings it up to date at any time).

#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Object.h"
#include "vorn/model/KxDeSurfaceClient.h"

#include <QAction>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

namespace vorn {

class TKxDeCustomEditor;

class TKxDeEditorActions : public QObject {
  Q_OBJECT

 public:
  // The actions are added to Editor and owned by this object (itself a child of Editor unless
  // Parent says otherwise).
  explicit TKxDeEditorActions(TKxDeCustomEditor* Editor, QObject* Parent = nullptr);
  ~TKxDeEditorActions() override;

  TKxDeCustomEditor* Editor() const { return FEditor; }

  // Enabled while the editor can undo (redo).
  QAction* UndoAction() const { return FUndo; }
  QAction* RedoAction() const { return FRedo; }
  QAction* DeleteAction() const { return FDelete; }
  QAction* SelectAllAction() const { return FSelectAll; }
  QAction* GroupAction() const { return FGroup; }
  QAction* UngroupAction() const { return FUngroup; }
  QAction* PackAction() const { return FPack; }
  QAction* UnpackAction() const { return FUnpack; }
  QAction* BringToFrontAction() const { return FBringToFront; }
  QAction* BringForwardAction() const { return FBringForward; }
  QAction* SendBackwardAction() const { return FSendBackward; }
  QAction* SendToBackAction() const { return FSendToBack; }
  // Moves by the editor's KeyMoveSizeStep, as the arrow keys do.
  QAction* NudgeLeftAction() const { return FNudge[0]; }
  QAction* NudgeRightAction() const { return FNudge[1]; }
  QAction* NudgeUpAction() const { return FNudge[2]; }
  QAction* NudgeDownAction() const { return FNudge[3]; }
  // Zoom by a quarter about the view's centre (Ctrl++, Ctrl+-), to 100 % (Ctrl+0), to the page
  // (Ctrl+9) and to the selection (Ctrl+8).
  QAction* ZoomInAction() const { return FZoomIn; }
  QAction* ZoomOutAction() const { return FZoomOut; }
  QAction* ZoomOneToOneAction() const { return FZoomOneToOne; }
  QAction* ZoomToPageAction() const { return FZoomToPage; }
  QAction* ZoomToSelectionAction() const { return FZoomToSelection; }
  // AlignSelection and DistributeSelection against the editor's AlignReference.
  QAction* AlignAction(TKxDeAlignment Alignment) const { return FAlign[static_cast<int>(Alignment)]; }
  QAction* DistributeAction(TKxDeDistribution Distribution) const {
    return FDistribute[static_cast<int>(Distribution)];
  }
  // Checkable, one checked at a time: they set and show the editor's AlignReference.
  QAction* AlignReferenceAction(TKxDeAlignReference Reference) const {
    return FAlignReference[static_cast<int>(Reference)];
  }
  // Every action in menu order; separators (actions of their own) between the families.
  QList<QAction*> Actions() const { return FActions; }

  // Enables each action by whether its command can act now.
  void UpdateActions();

 private:
  // A new action in the list, running Command on the editor.
  QAction* Make(const QString& Text, const QKeySequence& Key, std::function<void(TKxDeCustomEditor*)> Command);
  void Separator();
  // Document changes come in bursts (a move of many shapes): they are answered once, afterwards.
  void UpdateLater();

  QPointer<TKxDeCustomEditor> FEditor;
  QAction* FUndo = nullptr;
  QAction* FRedo = nullptr;
  QAction* FDelete = nullptr;
  QAction* FSelectAll = nullptr;
  QAction* FGroup = nullptr;
  QAction* FUngroup = nullptr;
  QAction* FPack = nullptr;
  QAction* FUnpack = nullptr;
  QAction* FBringToFront = nullptr;
  QAction* FBringForward = nullptr;
  QAction* FSendBackward = nullptr;
  QAction* FSendToBack = nullptr;
  QAction* FNudge[4] = {};
  QAction* FZoomIn = nullptr;
  QAction* FZoomOut = nullptr;
  QAction* FZoomOneToOne = nullptr;
  QAction* FZoomToPage = nullptr;
  QAction* FZoomToSelection = nullptr;
  QAction* FAlign[6] = {};
  QAction* FDistribute[4] = {};
  QAction* FAlignReference[3] = {};
  QList<QAction*> FActions;
  bool FUpdatePending = false;
  TOwned<TKxDeSurfaceClient> FClient;
};

}  // namespace vorn
