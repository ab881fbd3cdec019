#pragma once
// TKxDeCustomEditor: the surface a user edits with the mouse and the keyboard.
//
// Every pointer gesture runs through one small machine. HitCase classifies what lies under the
// pointer (a handle of a selected shape, a shape's body, the page, nothing); MouseDown picks an
// edit state from that, the modifier keys and EditOptions; MouseMove draws live feedback for the
// state (the rubber band, the outlines of a move); MouseUp hands the gesture, where it started
// and where it ended, to ExecuteHitAction, which changes the document once: one surface update
// and one undo group per gesture. Escape ends a gesture without touching the document.
//
// Points. A window point S maps to the view point V = L + (S - L) / Z (L the page's top-left
// corner on screen, Z the zoom factor). Hit records keep V relative to the client area's corner
// in Test; LayerPoint turns that into world units on the page, where shapes, the grid and moves
// are expressed.
//
// Feedback. The handles of the selection are drawn into the surface's client buffer, so they
// cost nothing while the pointer moves; the hot shape, the rubber band and the outlines of a move
// are drawn over the buffer at each paint of the window. Shapes draw all of it themselves through
// DrawSelection, with the records the property objects (Selection, Hottrack, SelectionRect,
// MoveSize) make. A shape whose hit test or selection drawing raises is logged and left out; a
// gesture it took part in is cancelled.
//
// TKxDeEditor is the same with its properties published.

#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Events.h"
#include "vorn/common/HintInfo.h"
#include "vorn/editor/KxDeEditorProperties.h"
#include "vorn/editor/KxDeGuideProperties.h"
#include "vorn/editor/KxDeGuides.h"
#include "vorn/editor/KxDeRulers.h"
#include "vorn/model/KxDeShapeBrush.h"
#include "vorn/model/KxDeShapeFont.h"
#include "vorn/model/KxDeShapeNotifier.h"
#include "vorn/model/KxDeShapePen.h"
#include "vorn/surface/KxDeSurface.h"

#include <QSet>

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace vorn {

class TKxDeEditorClient;
class TKxDeGuideProperties;
class TKxDeSmartSnap;
struct TKxDeSnapLine;
class TKxDeGuides;
class TKxDeRulers;
class TKxDeToolBase;

class TKxDeCustomEditor : public TKxDeSurface {
  Q_OBJECT

 public:
  using inherited = TKxDeSurface;
  const TClass* ClassType() const override;
  explicit TKxDeCustomEditor(QWidget* Parent = nullptr);
  ~TKxDeCustomEditor() override;

  // ---- Options and settings ------------------------------------------------------------------
  // Assigning clears nothing of the document; the selection is brought in line with the new
  // options, the hot shape is chosen again and the editor repaints.
  TKxDeEditOptions EditOptions() const { return FEditOptions; }
  void SetEditOptions(TKxDeEditOptions Value);
  // Hit tolerance in screen pixels.
  uint8_t HitFuzz() const { return FHitFuzz; }
  void SetHitFuzz(uint8_t Value) { FHitFuzz = Value; }
  // Pointer quantum of moves in world units; 0 is stored as 1.
  uint8_t MouseSense() const { return FMouseSense; }
  void SetMouseSense(int32_t Value);
  // Arrow-key step in millimetres, clamped to 0..100.
  float KeyMoveSizeStep() const { return FKeyMoveSizeStep; }
  void SetKeyMoveSizeStep(float Value);
  // Modifier sets; an empty set is stored as the default (Shift, Ctrl and Alt respectively).
  TKxDeShiftKeys SelectionRectKeys() const { return FSelectionRectKeys; }
  void SetSelectionRectKeys(TKxDeShiftKeys Value);
  TKxDeShiftKeys MultiSelectKeys() const { return FMultiSelectKeys; }
  void SetMultiSelectKeys(TKxDeShiftKeys Value);
  TKxDeShiftKeys ControlKeys() const { return FControlKeys; }
  void SetControlKeys(TKxDeShiftKeys Value);
  // Entries each history keeps: -1 any number (values below are stored as -1), 0 none.
  int32_t UndoLimit() const { return FUndoLimit; }
  void SetUndoLimit(int32_t Value);
  bool ShowShapeHint() const { return FShowShapeHint; }
  void SetShowShapeHint(bool Value) { FShowShapeHint = Value; }
  TKxDeEditorOrient EditorOrientation() const { return FEditorOrientation; }
  void SetEditorOrientation(TKxDeEditorOrient Value);
  // Navigation beyond the editor's own gestures. WheelZoom: Ctrl + wheel zooms about the pointer
  // instead of raising OnMouseWheelZoom (off by default). PinchZoom: a trackpad pinch zooms about
  // the pointer. DragPan: the middle button, or the left one while Space is held, drags the page.
  bool WheelZoom() const { return FWheelZoom; }
  void SetWheelZoom(bool Value) { FWheelZoom = Value; }
  bool PinchZoom() const { return FPinchZoom; }
  void SetPinchZoom(bool Value) { FPinchZoom = Value; }
  bool DragPan() const { return FDragPan; }
  void SetDragPan(bool Value) { FDragPan = Value; }
  // Arrow keys in steps of three sizes (off by default): Shift moves ten steps, Alt one screen
  // pixel at the current zoom, Ctrl+Shift resizes (Shift alone resizes while this is off), and
  // presses less than NudgeBurstInterval milliseconds apart make one undo entry.
  bool NudgeSteps() const { return FNudgeSteps; }
  void SetNudgeSteps(bool Value) { FNudgeSteps = Value; }
  static constexpr int32_t NudgeBurstInterval = 500;
  // What AlignSelection and DistributeSelection measure against unless told otherwise.
  TKxDeAlignReference AlignReference() const { return FAlignReference; }
  void SetAlignReference(TKxDeAlignReference Value);

  // ---- Feedback properties ---------------------------------------------------------------------
  TKxDeSelectionProps* Selection() const { return FSelection.get(); }
  void SetSelection(const TKxDeSelectionProps* Value) { FSelection->Assign(Value); }
  TKxDeHottrackProps* Hottrack() const { return FHottrack.get(); }
  void SetHottrack(const TKxDeHottrackProps* Value) { FHottrack->Assign(Value); }
  TKxDeSelectionRectProperties* SelectionRect() const { return FSelectionRect.get(); }
  void SetSelectionRect(const TKxDeSelectionRectProperties* Value) { FSelectionRect->Assign(Value); }
  TKxDeMoveSizeProps* MoveSize() const { return FMoveSize.get(); }
  void SetMoveSize(const TKxDeMoveSizeProps* Value) { FMoveSize->Assign(Value); }
  // Snapping of moves, sizing and creation to the other shapes in view, and its lines (off by
  // default).
  TKxDeSmartGuidesProps* SmartGuides() const { return FSmartGuides.get(); }
  void SetSmartGuides(const TKxDeSmartGuidesProps* Value) { FSmartGuides->Assign(Value); }

  // ---- Rulers and guides (KxDeEditorRulers.cpp) ------------------------------------------------
  // The rulers along the top and left edges take Rulers.Size + 1 pixels from the view while
  // shown. Guides are lines across the page in world units, shown, hit and dragged with
  // kxdoShowGuides; Guide and CursorGuide are the pens of the guides and of the cross-hair that
  // follows the pointer with kxdoShowCursorGuide.
  TKxDeRulers* Rulers() const { return FRulers.get(); }
  void SetRulers(const TKxDeRulers* Value);
  TKxDeGuides* Guides() const { return FGuides.get(); }
  TKxDeGuideProperties* Guide() const { return FGuide.get(); }
  void SetGuide(const TKxDeGuideProperties* Value);
  TKxDeGuideProperties* CursorGuide() const { return FCursorGuide.get(); }
  void SetCursorGuide(const TKxDeGuideProperties* Value);
  // Repaints only the ruler strips.
  void InvalidateRulers();
  // The guide under view point P when guides may be hit in State with the modifiers Shift:
  // kxhtGuide with the guide's index in PartIndex; otherwise the record as HitCase starts it.
  virtual TKxDeHitTest GuideTest(const TPointF& P, TKxDeEditState State, TKxDeShiftKeys Shift);
  // The rich hint at view point V: the orientation icon's or the shape's under it.
  void GetMekOfficeHint(const TPointF& V, TmekHintInfo& HintInfo);
  void LayerBounds(TRect& R, TRectF& RF) const override;
  TRectF GetNominalViewRect() const override;
  TRectF GetViewRect() const override;
  TRect GetPaintRect() const override;

  // ---- Interaction state -----------------------------------------------------------------------
  TKxDeEditState EditState() const { return FEditState; }
  // Selecting, moving and sizing states fall back to kxesNone while neither kxdoCanSelect nor
  // kxdoMouseActions is set. Entering kxesNone forgets the gesture; every change is announced.
  void SetEditState(TKxDeEditState S);
  // The classification at the last press, and under the pointer (or the drag's current end).
  const TKxDeHitTest& DownHit() const { return FDownHit; }
  const TKxDeHitTest& HoverHit() const { return FHoverHit; }
  TKxDeShapeBase* HotShape() const { return FHotShape; }
  int32_t CreationCount() const { return FCreationCount; }
  // Widget position of the pointer at the last press, move or release.
  TPoint PointerPos() const { return FPointerPos; }

  // ---- Hit testing -----------------------------------------------------------------------------
  // HitCase(P, kxesNone, []).
  TKxDeHitTest HitTest(const TPointF& P) override;
  // What lies at view point P for a gesture in State with the modifiers Shift: the hot shape's
  // handles first, then the selected shapes' in selection order, then every unlocked layer's
  // shapes from the top one down.
  virtual TKxDeHitTest HitCase(const TPointF& P, TKxDeEditState State, TKxDeShiftKeys Shift);
  // The view point of a widget point.
  TPointF ViewPoint(int32_t X, int32_t Y) const;
  // The world point of a hit record's Test.
  TPointF LayerPoint(const TPointF& Test) const;
  // Adds to P what puts (X, Y) on the grid, axis by axis (grid spacings of one world unit or less
  // never snap).
  void CalculateSnapRectangle(float X, float Y, TPointF& P) const;
  // A drag delta rounded towards zero to a multiple of MouseSense (after flooring).
  TPointF QuantizeDelta(const TPointF& D) const;

  // ---- Gestures --------------------------------------------------------------------------------
  // Carries out a finished drag; From and To carry world points.
  virtual void ExecuteHitAction(TKxDeEditState State, const TKxDeHitTest& From, const TKxDeHitTest& To,
                                TKxDeShiftKeys Shift);
  // Moves the selection by D in one undo group and one surface update, last selected first.
  void MoveSelection(const TPointF& D);
  // Brackets of the undo records one gesture makes: everything recorded inside the outermost
  // bracket is one entry of the history.
  void BeginUndoGroup() override;
  void EndUndoGroup() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  // Escape ends the gesture (or clears the selection when there is none); the arrow keys move the
  // selection by KeyMoveSizeStep millimetres (Ctrl: by the grid; Shift: resize instead; see also
  // NudgeSteps).
  void KeyDown(int32_t& Key, TShiftState Shift) override;

  // ---- Sizing and point editing ----------------------------------------------------------------
  // Applies a drag FromPt -> ToPt (world units) to S. Without a point (PointIndex < 0) a
  // rectangle-type shape spans the drag from FromPt (from its centre while ControlKeys are held)
  // and may adjust the rectangle to its needs. A point is placed at ToPt (a poly-point shape
  // keeps the segment to its previous point level or upright unless Ctrl is held). A point's
  // Bezier handle (SubIndex 0 or 1) grows by the drag and disappears when dragged back onto its
  // point. A point value beyond the points moves by the drag. Anything out of range is ignored.
  virtual void ApplySizing(TKxDeShapeBase* S, int32_t PointIndex, int32_t SubIndex, const TPointF& FromPt,
                           const TPointF& ToPt, TKxDeShiftKeys Shift);
  // Moves control ControlIndex of S by the drag; the shape decides what its control means.
  virtual void ApplyControlMove(TKxDeShapeBase* S, int32_t ControlIndex, const TPointF& FromPt, const TPointF& ToPt,
                                TKxDeShiftKeys Shift);
  // The zoom rectangle: each drag zooms to the rectangle it spans, until Escape.
  void SetPanView();
  // Clicks on a selected shape insert points into it (or remove the points clicked) until
  // EndPointAdd (EndPointRemove) or Escape.
  void BeginPointAdd();
  void EndPointAdd();
  void BeginPointRemove();
  void EndPointRemove();

  // ---- Selection -------------------------------------------------------------------------------
  // Only shapes lying directly in a shown, unlocked layer of this editor that are themselves
  // shown and unlocked, and only with kxdoCanSelect.
  bool CanSelect(const TKxDeShapeBase* S) const;
  bool IsSelected(const TKxDeShapeBase* S) const;
  // Makes S the only selected shape (none clears the selection).
  void Select(TKxDeShapeBase* S);
  void AddSelection(TKxDeShapeBase* S);
  void RemoveSelection(TKxDeShapeBase* S);
  void ClearSelection();
  void SelectAll();
  // Selects the shapes in R (world units): those whose bounds lie inside it with Whole, else
  // those whose own InRect(R) says so. An empty R clears the selection.
  void SelectIn(const TRectF& R, bool Whole);
  int32_t SelectionCount() const { return static_cast<int32_t>(FSelections.size()); }
  TKxDeShapeBase* GetSelection(int32_t I) const;
  // In selection order; not owned.
  const std::vector<TKxDeShapeBase*>& Selections() const { return FSelections; }
  TRectF GetSelectionBounds() const override;
  // Drops what no longer qualifies (options, shapes gone) and announces a change.
  void UpdateSelection();
  // Selects the selectable shape of the active layer that follows (or, backwards, precedes) the
  // last selected one in z-order; without a selection there, the bottom (or top) one. Past the
  // end the selection is cleared and the answer is false. Tab and Shift+Tab call it, so that a
  // keyboard user goes through the shapes and then on to the next control.
  bool SelectNextShape(bool Forward);

  // ---- Working on the selection ------------------------------------------------------------------
  // The same as AddSelection, RemoveSelection and Select for several shapes, with one change.
  void AddSelections(const TKxDeShapeArray& List);
  void RemoveSelections(const TKxDeShapeArray& List);
  void SelectList(const TKxDeShapeArray& List);
  void GetSelections(TKxDeShapeArray& List) const { List = FSelections; }
  // A selected shape is of class C or derives from it.
  bool SelectionContains(TKxDeShapeClass C) const;
  // The first selected group, or none.
  TKxDeGroup* GetGroupInSelection() const;
  // Destroys the selected shapes that are shown (locked ones too), the last selected first, in
  // one undo group and one surface update.
  void DeleteSelection();
  // Z-order of each selected shape within its container, the last selected first.
  using TKxDeSurface::BringForward;
  using TKxDeSurface::BringToFront;
  using TKxDeSurface::SendBackward;
  using TKxDeSurface::SendToBack;
  void BringToFront();
  void SendToBack();
  void BringForward();
  void SendBackward();
  // Grouping of the selection in selection order. Group and Pack make the new container the sole
  // selection; ungrouping selects the former members.
  TKxDeGroup* Group(const TKxDeShapeArray& A) override;
  TKxDePackage* Pack(const TKxDeShapeArray& A) override;
  TKxDeGroup* GroupSelection() { return Group(FSelections); }
  TKxDePackage* PackSelection() { return Pack(FSelections); }
  void UngroupSelection();
  void UnpackSelection();
  void Lock(const TKxDeShapeArray& A);
  void LockSelection() { Lock(FSelections); }
  // The default styles of their layers, given again to the selected shapes or to every shape.
  void AssignDefaultPropertiesToSelection();
  void AssignDefaultPropertiesToAll();
  // Whether each command would change anything now (menus and toolbars enable by it).
  bool CanBringForward() const;
  bool CanSendBackward() const;
  bool CanUngroup() const;
  bool CanUnpack() const;

  // ---- Align and distribute (KxDeEditorAlign.cpp) ----------------------------------------------
  // The shapes are measured by their turned bounds, as they show. Each command is one undo entry
  // and moves only shapes that can move (shown, unlocked); a command that would move nothing
  // records nothing.
  //
  // Lines up the chosen edges or centres of the selected shapes with those of the reference: the
  // first or the last selected shape (which stays), or the page. Without Reference, AlignReference.
  void AlignSelection(TKxDeAlignment Alignment);
  void AlignSelection(TKxDeAlignment Alignment, TKxDeAlignReference Reference);
  // Spreads the selected shapes, in their order along the axis, so that their centres lie at equal
  // distances or the gaps between neighbours are equal. Relative to a shape the outermost shapes
  // stay; relative to the page the shapes span it from edge to edge. Needs three shapes that can
  // move.
  void DistributeSelection(TKxDeDistribution Distribution);
  void DistributeSelection(TKxDeDistribution Distribution, TKxDeAlignReference Reference);
  // Whether the commands have enough shapes with AlignReference: two selected (one with the page),
  // three for distributing.
  bool CanAlign() const;
  bool CanDistribute() const;

  // ---- Creating shapes -----------------------------------------------------------------------------
  // A class enters kxesCreateNew, where each press starts (or goes on with) a shape of it; none
  // returns to kxesNone and drops the shape in progress.
  TKxDeShapeClass NewShapeClass() const { return FNewShapeClass; }
  void SetNewShapeClass(TKxDeShapeClass C);
  // The shape being drawn: owned by the editor and in no layer until it is finished.
  TKxDeShapeBase* NewShape() const { return FNewShape; }
  // Test: the (snapped) world point of the first press; Shape: the shape being drawn.
  const TKxDeHitTest& CreateAnchor() const { return FCreateAnchor; }
  // Finishes a pending shape and starts one of NewShapeClass (OnBeforeCreateNewShape may change
  // or clear the class first).
  void CreateNewShape();
  // Drops a degenerate shape; otherwise gives it the default styles and, unless an
  // OnEndNewShape handler destroyed it, adds it to the active layer as the sole selection.
  void EndNewShape();
  // Drops the shape in progress and leaves kxesCreateNew.
  void CancelNewShape();
  // Drops the shape in progress; the next press starts a new one of the same class.
  void RestartNewShape();
  // For OnEndNewShape handlers: the shape being finished is destroyed and Shape is inserted
  // in its place.
  void RedefineNewShape(TKxDeShapeBase* Shape);
  // Styles every new shape gets (those its class uses).
  TKxDeShapeBrush* DefaultBrush() const { return FDefaultBrush.get(); }
  void SetDefaultBrush(const TKxDeShapeBrush* Value);
  TKxDeShapePen* DefaultPen() const { return FDefaultPen.get(); }
  void SetDefaultPen(const TKxDeShapePen* Value);
  TKxDeShapeFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(const TKxDeShapeFont* Value);

  // ---- Undo and redo (KxDeEditorUndo.cpp) --------------------------------------------------------
  // Each history is an XML document: "undobuf" (or "redobuf") holding its entries oldest first,
  // each a record "undo" ("redo") or a group "undogr" ("redogr") of records in the order they
  // were made. A record describes a shape as it was before the change it announced, so replaying
  // it puts the shape back, and the replay's own announcements fill the other history.
  //
  // The document's announcement of a coming change: a fresh change (no replay running) marks
  // the editor modified and empties the redo history; the record goes to the undo history, or to
  // the redo history while Undo replays. OnChange follows.
  void NotifyUndo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) override;
  // One record of Shape for Action into either history (nothing when recording is off, locked,
  // the limit is 0, or the action is one of the announcements before a structural change).
  void CreateUndo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName);
  void CreateRedo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName);
  void BeginRedoGroup();
  void EndRedoGroup();
  // Nothing is recorded while held.
  void BeginUndoLock() override;
  void EndUndoLock() override;
  int32_t UndoLockCount() const { return FUndoLock; }
  // An entry is there and no replay is running.
  bool CanUndo() const;
  bool CanRedo() const;
  // Replay the newest entry of the history.
  void Undo();
  void Redo();
  void ClearUndo();
  void ClearRedo();
  // Entries in each history.
  int32_t UndoCount() const { return FUndoBuf.Count; }
  int32_t RedoCount() const { return FRedoBuf.Count; }
  // The histories as they stand (read only).
  TXmlNode UndoBuffer() const { return FUndoBuf.Root; }
  TXmlNode RedoBuffer() const { return FRedoBuf.Root; }
  bool InUndo() const { return FInUndo; }
  bool InRedo() const { return FInRedo; }
  // Names the document's state within the histories: every change announced outside a replay
  // gives a new number, and undo and redo bring back the number of the state they return to. A
  // host remembers it when it saves to tell whether undo or redo led back to the saved document.
  uint64_t HistoryPosition() const { return FPosition; }
  // Set by every change recorded outside a replay; clearing it also empties both histories.
  bool Modified() const { return FModified; }
  void SetModified(bool Value);
  // The window message for undo: undoes when it can and tells whether it could.
  bool WMUndo();
  // The control's settings from a file; the histories start afresh.
  void LoadFromFile(const QString& FileName);
  // Raised after every recorded announcement, replay and trimming of the histories.
  TNotifyEvent OnChange;

  // ---- Clipboard (KxDeEditorClipboard.cpp) --------------------------------------------------------
  // The selected shapes, in selection order, onto the clipboard as the objects format (an XML
  // document: root "os" of type "vorn.mek.data", one "o" per shape, containers with their
  // members) and as text; Behavior 1 marks a cut. Every copy starts the paste count afresh.
  void CopyToClipboard() override { CopyToClipboard(0); }
  void CopyToClipboard(int32_t Behavior);
  // A copy marked as cut, then the selection deleted.
  void CutToClipboard() override;
  // The shapes of the objects format into the active layer as the new selection, with new
  // identities, the n-th paste of a copy n millimetres right of and below the copied shapes (a
  // cut lands in place), as one undo step. Another content goes to OnPasteCustomClipboardFormats
  // format by format; without a handler only a picture is pasted, as PictureShapeClass says. A payload that is not
  // ours, or damaged, pastes what it validly holds or nothing.
  void PasteFromClipboard() override;
  // Copies also offer the shapes to other programs as pictures, "image/svg+xml" and "image/png"
  // (at the screen's resolution, transparent around the shapes), made only when a program asks
  // for them. Off by default.
  bool ClipboardPictures() const { return FClipboardPictures; }
  void SetClipboardPictures(bool Value) { FClipboardPictures = Value; }
  // The shape class that a picture copied by another program (SVG, PNG or another image) becomes
  // when pasted without an OnPasteCustomClipboardFormats handler: one shape at the picture's own
  // size (made smaller to fit the page), centred in the visible part of the page, selected, one
  // undo step. None, the default, pastes no pictures.
  TKxDeShapeClass PictureShapeClass() const { return FPictureShapeClass; }
  void SetPictureShapeClass(TKxDeShapeClass Value) { FPictureShapeClass = Value; }
  // Whether something pastable is on the clipboard (kept current as the clipboard changes).
  bool HasClipboardData() const override { return FHasClipboardData; }
  bool HasClipboardProfileData() const { return FHasClipboardProfileData; }
  void UpdateClipboardData();
  int32_t PasteCount() const { return FPasteCount; }
  TKxDeOnPasteCustomClipboardFormats OnPasteCustomClipboardFormats;
  // What a pasted shape reports while it is read (its OnLoadError), and shapes left out because
  // they could not be read at all (ErrorNumber -1, the reason as LogMessage).
  TKxDeShapeLoadErrorEvent OnShapeLoadError;
  TKxDeShapeEvent OnBeforeLoadingDuringPaste;
  TKxDeShapeEvent OnAfterLoadingDuringPaste;
  TNotifyEvent OnAfterPasteFromClipboard;

  // ---- Cursor ----------------------------------------------------------------------------------
  // The cursor for view point V in the current state.
  virtual void GetCurrentCursor(const TPointF& V, TCursor& Cursor);
  void UpdateCursor(const TPointF& V);

  // ---- Tools -----------------------------------------------------------------------------------
  // The attached tool; none outside kxesToolEdit. Attaching a tool (it may come from another
  // editor) clears its points and enters kxesToolEdit; none returns to kxesNone, and so does any
  // return to kxesNone let go of the tool. The host keeps owning its tools.
  TKxDeToolBase* CurrentTool() const { return FCurrentTool; }
  void SetCurrentTool(TKxDeToolBase* Tool);

  // ---- Orientation -----------------------------------------------------------------------------
  // A click on the orientation icon: the orientation turns over and OnOrientIconClick tells the
  // host, which turns the document if it wishes; the editor itself turns nothing.
  virtual void ExecuteOrientIconAction(TKxDeEditState State, const TKxDeHitTest& From, const TKxDeHitTest& To,
                                       TKxDeShiftKeys Shift);

  // ---- Events ----------------------------------------------------------------------------------
  // Each raised after the editor's own hook and its editor clients (TKxDeEditorClient).
  TNotifyEvent OnEditStateChange;
  TNotifyEvent OnSelectionChange;
  TKxDEOnCursorMoveEvent OnCursorMove;
  TKxDeOnGetMouseCursorEvent OnGetMouseCursor;
  TKxDeMouseWheelZoomEvent OnMouseWheelZoom;
  TNotifyEvent OnOrientIconClick;
  TNotifyEvent OnNewShapeClass;
  TKxDeOnBeforeCreateNewShape OnBeforeCreateNewShape;
  TKxDeShapeEvent OnNewShape;
  // The shape being finished; a handler may destroy it, or put another shape in the reference
  // (as RedefineNewShape; none drops the shape).
  TKxDeShapeEvent2 OnEndNewShape;
  TNotifyEvent OnBeforeDeleteSelection;
  TNotifyEvent OnDefBrushChange;
  TNotifyEvent OnDefPenChange;
  TNotifyEvent OnDefFontChange;
  TNotifyEvent OnClipboardChange;
  TNotifyEvent OnGuideChange;

 Q_SIGNALS:
  // The selection changed, or the document around it: the commands may act differently now.
  void CommandsChanged();
  // CanUndo or CanRedo changed.
  void UndoStateChanged();

 protected:
  bool focusNextPrevChild(bool Next) override;
  virtual void DrawNewCreation(TCanvas* C);
  // Announcements of creation: the editor clients, then the event.
  virtual void DoNewShapeClass();
  virtual void DoNewShape(TKxDeShapeBase* S);
  virtual void DoEndNewShape(TKxDeShapeBase*& S);
  // A double click is a press flagged ssDouble (after DblClick).
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  virtual void DrawHottrack(TCanvas* C);
  virtual void DrawSelectionRect(TCanvas* C);
  virtual void DrawSelectionMove(TCanvas* C);
  // The outline of the shape being sized, with the drag applied, in the MoveSize pen.
  virtual void DrawSelectionSize(TCanvas* C);
  // The alignment lines smart guides reached in the gesture, in the SmartGuides pen.
  virtual void DrawSmartGuides(TCanvas* C);
  virtual void HotShapeChanged();
  virtual void DoEditStateChanged();
  virtual void DoSelectionChanged();
  void DrawSelection(TCanvas* C) override;
  // The live feedback over the buffered picture.
  void AfterPaint(TCanvas* C) override;
  void DoShapeInserted(TKxDeShapeBase* S) override;
  void DoShapeRemoved(TKxDeShapeBase* S) override;
  void DoLayerRemoved(TKxDeLayer* L) override;
  void DoMouseWheelZoom(int16_t WheelDelta) override;
  void leaveEvent(QEvent* Event) override;
  void focusInEvent(QFocusEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;
  // Notes the key's time for nudge bursts.
  void keyPressEvent(QKeyEvent* Event) override;

  // ---- Announcements (editor clients, then the event) ------------------------------------------
  // A default style changed.
  void DoDefBrushChanged();
  void DoDefPenChanged();
  void DoDefFontChanged();
  // What the clipboard offers changed.
  void DoClipboardChanged();
  // A guide changed: the editor repaints.
  virtual void DoGuideChanged();
  // The rulers changed (after the editor made room for them or repainted).
  virtual void DoRulersChanged();
  // Guides, the guide being made or dragged, the cross-hair and the rulers with their corner,
  // drawn over the document in that order.
  virtual void DrawGuides(TCanvas* C);
  virtual void DrawNewGuide(TCanvas* C);
  virtual void DrawGuideDrag(TCanvas* C);
  virtual void DrawCursorGuide(TCanvas* C);
  virtual void DrawRulers(TCanvas* C);
  bool event(QEvent* Event) override;
  // Raises OnBeforeDeleteSelection.
  void DoBeforeDeleteSelection();
  // Tell the editor clients only; the caller raises the editor's creation event right after.
  void ClientsNewShapeClass();
  void ClientsNewShape(TKxDeShapeBase* S);
  void ClientsEndNewShape(TKxDeShapeBase* S);
  // The attached tool over the document, with the MoveSize pen.
  virtual void DrawTool(TCanvas* C);

 private:
  // An empty hit test at window point P, its points relative to the client rectangle R; RF is the
  // page's rectangle on screen (LayerBounds).
  TKxDeHitTest StartHitTest(const TPointF& P, TRect& R, TRectF& RF) const;
  // ---- Rulers and guides (KxDeEditorRulers.cpp) ----
  // Wires the rulers, guides and their pens to the editor (construction).
  void ConnectRulers();
  void RulersChanged(bool LayoutChanged);
  // HitCase's test of the ruler strips at window point Screen; true (HT filled) on a strip.
  bool RulerHit(const TPointF& Screen, TKxDeHitTest& HT) const;
  // The strips' thickness with the separating line (0 while the rulers take no room).
  int32_t RulerRoom() const;
  // The strips in widget coordinates (empty while the rulers take no room).
  TRect HorzRulerRect() const;
  TRect VertRulerRect() const;
  // The pointer marks follow widget point (X, Y); true when they show.
  bool TrackRulers(int32_t X, int32_t Y);
  // Whether widget point (X, Y) lies in the rulers' corner square.
  bool InRulerCorner(int32_t X, int32_t Y) const;
  // A pointer move outside a gesture: the cross-hair or the ruler marks follow it.
  void FollowPointer(bool Marks, bool Corner);
  // The end of a ruler or guide drag (world points).
  void ExecuteGuideAction(TKxDeEditState State, const TKxDeHitTest& From, const TKxDeHitTest& To);
  // A horizontal (vertical) guide's line at world position Position across the page, clipped.
  void DrawGuideLine(TCanvas* C, bool Horizontal, double Position);

  // Calls Call for each registered editor client, in registration order.
  void ForEachEditorClient(const std::function<void(TKxDeEditorClient*)>& Call);
  // The tool's share of a gesture in kxesToolEdit, with world points.
  void ToolPress(const TPointF& P);
  void ToolDrag(const TPointF& P);
  void ToolRelease(const TPointF& P);

  // Records the pointer at widget point (X, Y) and refreshes the cursor; without mouse actions
  // the state returns to kxesNone. The view point of (X, Y).
  TPointF TrackPointer(int32_t X, int32_t Y);
  // The parts of a press and a release that run when the press is taken.
  void PressAt(TMouseButton Button, TShiftState Shift, const TPointF& V);
  void ReleaseAt(TMouseButton Button, TShiftState Shift, const TPointF& V, int32_t X, int32_t Y);
  // Hovering at view point V (widget point X, Y): HoverHit and the hot shape follow the pointer.
  void Hover(const TPointF& V, int32_t X, int32_t Y);
  // S when it may be the hot shape with the pointer at widget point (X, Y).
  TKxDeShapeBase* HotCandidate(TKxDeShapeBase* S, int32_t X, int32_t Y) const;
  // Moves (or resizes) every selected shape that can change by D, in one undo group and one
  // surface update, in selection order or the last selected first.
  void ChangeSelection(const TPointF& D, bool Resize, bool LastFirst);
  // The same bracket around any change: Change gets each selected shape that can change, with its
  // index in the selection, after the shape's coming change is announced.
  void ChangeSelected(bool LastFirst, const std::function<void(TKxDeShapeBase*, size_t)>& Change);
  // One arrow key: the selection moves (Shift: resizes) by a step.
  void Nudge(int32_t Key, TShiftState Shift);
  // Moves each selected shape by D[i] along one axis (align and distribute); nothing when no shape
  // that can move would.
  void ShiftSelected(const std::vector<float>& D, bool Vertical);
  // The reference rectangle of an alignment; false when there is none.
  bool AlignTarget(TKxDeAlignReference Reference, TRectF& R) const;
  // Chooses the hot shape for the pointer as it is now.
  void UpdateHottrack();
  void SetHotShape(TKxDeShapeBase* S);
  // Lists S as selected (the last one).
  void Append(TKxDeShapeBase* S);
  // Appends the shapes of List that can be selected (only the last without kxdoMultiSelect);
  // true when any was.
  bool AppendSelectable(const TKxDeShapeArray& List);
  // The selection changed: new handles, hooks, event.
  void SelectionChanged();
  // Clears the point selection of S.
  static void ClearPointSelection(TKxDeShapeBase* S);
  // S's own hit test, mapped to a hit record; false when it found nothing (or raised).
  bool ShapeHit(TKxDeShapeBase* S, const TPointF& P, float Fuzz, float Size, bool Selected, TKxDeShiftKeys Shift,
                TKxDeHitTest& HT);
  // S->DrawSelection guarded against raising shapes; false when it raised.
  bool DrawShapeSelection(TKxDeShapeBase* S, TCanvas* C, const TPointF& Offset, const TKxDeDragPoint& Drag,
                          const TKxDeSelectionData& Data);
  // The move a gesture from DownHit to HoverHit with the modifiers Keys makes: quantized and
  // snapped like the final one.
  TPointF GestureMove(const TPointF& From, const TPointF& To, TKxDeShiftKeys Keys) const;
  // The visible part of the page in world units.
  TRectF VisibleArea() const;
  // A shape taking part in moves and feedback: shown, unlocked, alive.
  static bool Movable(const TKxDeShapeBase* S);
  // Ends the current gesture after a shape raised during it.
  void Fault();
  // The creation gestures: a press, a move and a release in kxesCreateNew.
  void CreationPress(TMouseButton Button, TShiftState Shift);
  void CreationMove(TShiftState Shift);
  void CreationRelease(TShiftState Shift, const TPointF& V);
  // The world point of a hit record's Test, snapped (to the grid, to shapes) when Snap.
  TPointF CreationPoint(const TPointF& Test, bool Snap, TKxDeShiftKeys Keys) const;
  // Sizes the new shape from the anchor to To (PointIndex < 0), or moves its point PointIndex,
  // through ApplySizing.
  void SizeNewShape(int32_t PointIndex, const TPointF& To, TKxDeShiftKeys Shift);
  // Pulls symmetric Bezier handles out of the new shape's last point towards P.
  void PullControls(const TPointF& P);
  // Adds a point at the position of the new shape's last point (it follows the pointer).
  void RepeatLastPoint();
  // Destroys the shape in progress (unwatched first).
  void DropNewShape();
  // The watcher saw S go.
  void WatchedShapeDestroyed(TKxDeShapeBase* S);

  // ---- Undo and redo (KxDeEditorUndo.cpp) ----
  // One history (undo or redo): its XML document, the root of its entries and the open group.
  struct THistory {
    std::unique_ptr<TXmlDocument> Doc;
    TXmlNode Root;
    TXmlNode Group;  // the open group, else empty
    int32_t Depth = 0;
    int32_t Count = 0;  // entries under Root
    // For each entry, oldest first: the position the document returns to when it is replayed.
    std::vector<uint64_t> Positions;
  };
  // A new entry of H: it returns to the position the document has now.
  void AddEntry(THistory& H);
  // Makes (or empties) a history with its root element.
  void InitiateBuffer(THistory& H, const char* RootName);
  void BeginGroup(THistory& H, const char* GroupName);
  // Opens the newest entry of the undo history again as the group records go to (EndGroup closes
  // it); false when it is not a group or a group is open.
  bool ReopenUndoGroup();
  void EndGroup(THistory& H);
  void CreateRecord(THistory& H, const char* Name, TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName);
  void ClearHistory(THistory& H, const char* RootName);
  // Trims both histories to UndoLimit entries, the oldest first.
  void CheckUndoBufferLength();
  // Recording is possible at all (option, limit, not being destroyed).
  bool Records() const;
  // The newest entry of From replayed, its records going to the other history (Undo or Redo).
  void Replay(THistory& From, const char* Record, const char* Group, bool Undoing);
  void ReplayEntry(TXmlNode Entry, const char* Record);
  void ReplayRecord(TXmlNode R, int32_t InsertAt);
  // The shape a record names, and the container a removal record names as the owner.
  TKxDeShapeBase* RecordShape(uint32_t ID, bool LayersToo) const;
  TKxDeContainer* RecordOwner(uint32_t ID) const;
  void RememberIDs(TKxDeShapeBase* S, bool Self) const;
  void ForgetIDs(TKxDeShapeBase* S);
  // Shapes coming and going while the identities of a replay are gathered.
  void ReplayIDsInserted(TKxDeShapeBase* S);
  void ReplayIDsRemoved(TKxDeShapeBase* S);
  // OnChange, and UndoStateChanged when CanUndo or CanRedo changed.
  void DoChange();
  THistory FUndoBuf;
  THistory FRedoBuf;
  int32_t FUndoLock = 0;
  bool FInUndo = false;
  bool FInRedo = false;
  bool FModified = false;
  bool FCouldUndo = false;
  bool FCouldRedo = false;
  uint64_t FPosition = 0;
  uint64_t FLastPosition = 0;
  // A group or package made by a replay takes back this identity and element when it is
  // announced, before its members go in (its bounds then come from them).
  TXmlNode FReplayContainer;
  mutable std::unordered_map<uint32_t, TKxDeShapeBase*> FReplayIDs;
  mutable bool FReplayIDsValid = false;

  // ---- Clipboard (KxDeEditorClipboard.cpp) ----
  // The shapes of an "os" element into Into; true when any was inserted.
  bool PasteShapes(TXmlNode Os, TKxDeContainer* Into, float Offset, int32_t Depth);
  // A picture of another program as a shape of PictureShapeClass in Into; false when there is none
  // or it cannot be read.
  bool PastePicture(TKxDeLayer* Into);
  // Runs Paste as one undo step and one surface update, starting from an empty selection.
  void AsOnePaste(const std::function<void()>& Paste);
  // Follows the clipboard's changes from now on.
  void InitiateClipViewer();
  bool FHasClipboardData = false;
  bool FHasClipboardProfileData = false;
  bool FInClipChain = false;
  int32_t FPasteCount = 0;
  bool FClipboardPictures = false;
  TKxDeShapeClass FPictureShapeClass = nullptr;

  // ---- Sizing gestures (KxDeEditorSizing.cpp) ----
  // The shape of the sizing gesture in progress when it may still be sized, else none.
  TKxDeShapeBase* SizingShape() const;
  // The drag from DownHit to HoverHit as the shape will receive it (turned into its frame,
  // quantized, constrained, snapped); keeps the constrained end in DownHit.Pt2.
  TPointF SizingDrag(TKxDeShiftKeys Shift);
  // A pointer move while sizing: ControlKeys pull Bezier handles out of the dragged point.
  void SizingMove(TShiftState Shift);
  // The end of a sizing drag (From, To in world units).
  void ExecuteSizing(const TKxDeHitTest& From, const TKxDeHitTest& To, TKxDeShiftKeys Shift);
  // The point of a turned shape whose handle (Size world units wide) lies under world point P,
  // for the point hit test's index I.
  static int32_t GrabbedPoint(const TKxDeShapeBase* S, int32_t I, const TPointF& P, float Size);
  // A drag rounded to MouseSense, except for a shape still being drawn (no container yet).
  TPointF QuantizeFor(const TKxDeShapeBase* S, const TPointF& D) const;
  // A press while adding or removing points.
  void AddPointAt(const TKxDeHitTest& H, const TPointF& P);
  void RemovePointAt(const TKxDeHitTest& H);
  // The modifiers of the last pointer move while sizing (the feedback is drawn with them).
  TKxDeShiftKeys FSizingKeys;

  // ---- Smart guides (KxDeEditorSmartGuides.cpp) ----
  // Whether the grid (the shapes) snap a gesture made with the modifiers Keys.
  bool GridSnaps(TKxDeShiftKeys Keys) const;
  bool ShapesSnap(TKxDeShiftKeys Keys) const;
  // Whether the grid's spacing across (along) x snaps at all.
  bool GridSnapsAxis(bool Horizontal) const;
  // The gesture's targets, gathered when first asked for in the gesture.
  void GatherSnapTargets() const;
  // A snap's answer: the offset to add, and the axes along which shapes set it.
  struct TSnapResult {
    TPointF Offset;
    bool ShapesX = false;  // the shapes, not the grid, set the offset along x
    bool ShapesY = false;
  };
  // The offset that snaps R, where the pointer put what moves (a point when Point), on the axes
  // Free: the shapes' or the grid's (GridOffset, on the axes GridX, GridY), the nearer one. The
  // lines of the alignments reached are kept for the feedback.
  TSnapResult SnapToShapes(const TRectF& R, bool Point, const TPointF& GridOffset, bool GridX, bool GridY, bool FreeX,
                           bool FreeY) const;
  // A selection move D (G: D snapped to the grid when Grid) snapped.
  TPointF SnapMove(const TPointF& D, const TPointF& G, bool Grid) const;
  // The drag D of point I of S while sizing (G: snapped to the grid when Grid) snapped on the axes
  // Free; the point's snapped end is kept for the release.
  TPointF SnapDraggedPoint(const TKxDeShapeBase* S, int32_t I, const TPointF& D, const TPointF& G, bool Grid,
                           bool FreeX, bool FreeY) const;
  // The release of a sizing drag of point I of S: To takes the kept end on the axes the shapes
  // snapped; False when they snapped none.
  bool SnappedEnd(const TKxDeShapeBase* S, int32_t I, TPointF& To) const;
  // A creation point snapped to the grid and the shapes.
  TPointF SnapCreationPoint(const TPointF& P, TKxDeShiftKeys Keys) const;
  // A line's pixels in the widget.
  TRect SnapLineRect(const TKxDeSnapLine& L, bool Vertical) const;
  // Repaints where the lines changed since the last call.
  void RefreshSnapLines();
  // The gesture is over: targets and lines go.
  void EndSnap();
  std::unique_ptr<TKxDeSmartSnap> FSnap;
  // The modifiers of the last pointer move of a move gesture (its feedback is drawn with them).
  TKxDeShiftKeys FMoveKeys;

  TKxDeEditOptions FEditOptions;
  uint8_t FHitFuzz = 2;
  uint8_t FMouseSense = 1;
  float FKeyMoveSizeStep = 1.0f;
  TKxDeShiftKeys FSelectionRectKeys{TKxDeShiftKey::kxskShift};
  TKxDeShiftKeys FMultiSelectKeys{TKxDeShiftKey::kxskCtrl};
  TKxDeShiftKeys FControlKeys{TKxDeShiftKey::kxskAlt};
  int32_t FUndoLimit = -1;
  bool FShowShapeHint = true;
  TKxDeEditorOrient FEditorOrientation = TKxDeEditorOrient::kxedtDesOrientPortrait;
  bool FWheelZoom = false;
  bool FPinchZoom = true;
  bool FDragPan = true;
  bool FNudgeSteps = false;
  TKxDeAlignReference FAlignReference = TKxDeAlignReference::kxarFirstSelected;
  // The last nudge with NudgeSteps, which the next one may join: the time of its key (from the key
  // event, or from a clock of our own when no event brought it), the shapes it moved and the
  // history's serial after it.
  struct TNudgeBurst {
    bool Open = false;
    bool EventTime = false;
    uint64_t Time = 0;
    uint64_t Serial = 0;
    std::vector<TKxDeShapeBase*> Shapes;
  } FNudgeBurst;
  // The time of the key event being handled (KeyDown called by keyPressEvent).
  bool FKeyTimed = false;
  uint64_t FKeyTime = 0;
  // Counts the announcements and clearings of the histories: unchanged, nothing came in between.
  uint64_t FHistorySerial = 0;
  TOwned<TKxDeSelectionProps> FSelection;
  TOwned<TKxDeHottrackProps> FHottrack;
  TOwned<TKxDeSelectionRectProperties> FSelectionRect;
  TOwned<TKxDeMoveSizeProps> FMoveSize;
  TOwned<TKxDeSmartGuidesProps> FSmartGuides;

  TKxDeEditState FEditState = TKxDeEditState::kxesNone;
  TKxDeHitTest FDownHit;
  TKxDeHitTest FHoverHit;
  TKxDeHitTest FCreateAnchor;
  TKxDeShapeBase* FHotShape = nullptr;
  std::vector<TKxDeShapeBase*> FSelections;
  QSet<const TKxDeShapeBase*> FSelected;  // the same shapes, for lookups
  int32_t FCreationCount = 0;
  TPoint FPointerPos;
  bool FPointerSeen = false;  // FPointerPos holds a position of the pointer
  // A shape raised during the current hit test or gesture.
  bool FFaulted = false;
  // The pointer has moved since the press (the rubber band shows from then on).
  bool FDragged = false;
  int32_t FCursorUpdate = 0;
  // The cursor the control shows where the editor has none of its own.
  TCursor FControlCursor = crDefault;
  std::vector<TKxDeShapeBase*> FScratch;
  // Shapes the index finds near the point of a hit test, sorted (to test selected ones quickly).
  std::vector<TKxDeShapeBase*> FNearSelected;
  TKxDeToolBase* FCurrentTool = nullptr;
  // A left press in kxesToolEdit went to the tool; its release has not come yet.
  bool FToolGesture = false;

  TKxDeShapeClass FNewShapeClass = nullptr;
  TKxDeShapeBase* FNewShape = nullptr;
  // The shape inside EndNewShape's announcements (a handler may destroy or replace it).
  TKxDeShapeBase* FFinishing = nullptr;
  // A button was held at the last pointer move of a creation.
  bool FCreationHeld = false;
  TOwned<TKxDeShapeNotifier> FShapeWatcher;
  TOwned<TKxDeShapeBrush> FDefaultBrush;
  TOwned<TKxDeShapePen> FDefaultPen;
  TOwned<TKxDeShapeFont> FDefaultFont;
  TOwned<TKxDeRulers> FRulers;
  TOwned<TKxDeGuides> FGuides;
  TOwned<TKxDeGuideProperties> FGuide;
  TOwned<TKxDeGuideProperties> FCursorGuide;
};

// The editor as a host places it, its properties published.
class TKxDeEditor : public TKxDeCustomEditor {
  Q_OBJECT
  Q_PROPERTY(vorn::TKxDeEditOptions EditOptions READ EditOptions WRITE SetEditOptions)
  Q_PROPERTY(quint8 HitFuzz READ HitFuzz WRITE SetHitFuzz)
  Q_PROPERTY(quint8 MouseSense READ MouseSense WRITE SetMouseSense)
  Q_PROPERTY(float KeyMoveSizeStep READ KeyMoveSizeStep WRITE SetKeyMoveSizeStep)
  Q_PROPERTY(vorn::TKxDeShiftKeys SelectionRectKeys READ SelectionRectKeys WRITE SetSelectionRectKeys)
  Q_PROPERTY(vorn::TKxDeShiftKeys MultiSelectKeys READ MultiSelectKeys WRITE SetMultiSelectKeys)
  Q_PROPERTY(vorn::TKxDeShiftKeys ControlKeys READ ControlKeys WRITE SetControlKeys)
  Q_PROPERTY(int UndoLimit READ UndoLimit WRITE SetUndoLimit)
  Q_PROPERTY(bool ShowShapeHint READ ShowShapeHint WRITE SetShowShapeHint)
  Q_PROPERTY(bool WheelZoom READ WheelZoom WRITE SetWheelZoom)
  Q_PROPERTY(bool PinchZoom READ PinchZoom WRITE SetPinchZoom)
  Q_PROPERTY(bool DragPan READ DragPan WRITE SetDragPan)
  Q_PROPERTY(bool ClipboardPictures READ ClipboardPictures WRITE SetClipboardPictures)
  Q_PROPERTY(bool NudgeSteps READ NudgeSteps WRITE SetNudgeSteps)
  Q_PROPERTY(vorn::KxDrawingCommons::TKxDeAlignReference AlignReference READ AlignReference WRITE SetAlignReference)
  Q_PROPERTY(vorn::KxDrawingCommons::TKxDeEditorOrient EditorOrientation READ EditorOrientation WRITE
                 SetEditorOrientation)
  Q_PROPERTY(vorn::TKxDeSelectionProps* Selection READ Selection WRITE SetSelection)
  Q_PROPERTY(vorn::TKxDeHottrackProps* Hottrack READ Hottrack WRITE SetHottrack)
  Q_PROPERTY(vorn::TKxDeSelectionRectProperties* SelectionRect READ SelectionRect WRITE SetSelectionRect)
  Q_PROPERTY(vorn::TKxDeMoveSizeProps* MoveSize READ MoveSize WRITE SetMoveSize)
  Q_PROPERTY(vorn::TKxDeSmartGuidesProps* SmartGuides READ SmartGuides WRITE SetSmartGuides)
  Q_PROPERTY(vorn::TKxDeShapeBrush* DefaultBrush READ DefaultBrush WRITE SetDefaultBrush)
  Q_PROPERTY(vorn::TKxDeShapePen* DefaultPen READ DefaultPen WRITE SetDefaultPen)
  Q_PROPERTY(vorn::TKxDeShapeFont* DefaultFont READ DefaultFont WRITE SetDefaultFont)
  Q_PROPERTY(vorn::TKxDeRulers* Rulers READ Rulers WRITE SetRulers)
  Q_PROPERTY(vorn::TKxDeGuideProperties* Guide READ Guide WRITE SetGuide)
  Q_PROPERTY(vorn::TKxDeGuideProperties* CursorGuide READ CursorGuide WRITE SetCursorGuide)

 public:
  using inherited = TKxDeCustomEditor;
  const TClass* ClassType() const override;
  using TKxDeCustomEditor::TKxDeCustomEditor;
};

}  // namespace vorn
