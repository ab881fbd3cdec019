#pragma once
// TKxDeLayerManager: a list of the layers of an editor's document and, under each layer, of the
// shapes it holds. Each layer is a caption row (expand/collapse, visibility, lock, layer glyph,
// printer glyph for layers of one printer kind, name); each shape an item row (visibility, lock,
// an optional thumbnail and the shape's name with its value text). Clicking a caption makes its
// layer active and selects its shapes; clicking an item selects the shape (Shift adds or removes
// it); double-clicking a caption renames the layer in place (Enter keeps, Escape drops the
// name). The toggles change the layer or shape itself, so the editor's picture follows.
//
// The list follows the editor through an editor client: layers and shapes inserted, removed,
// reordered or cleared patch the rows, a selection change scrolls the first selected shape into
// view, and a change of one shape repaints only its row when it is shown. Rows are painted as
// the list is scrolled, so a document of any size costs one pointer per row and the thumbnails
// of the rows on screen.
//
// The Editor property is a guarded reference: destroying the editor empties the list, and
// destroying the list unregisters it from the editor.

#include "vorn/common/Events.h"
#include "vorn/controls/KxDeCustomScrollControl.h"
#include "vorn/editor/KxDeEditor.h"
#include "vorn/layermanager/KxDeLayerManagerColors.h"
#include "vorn/layermanager/KxDeListLayer.h"
#include "vorn/layermanager/LayerManagerTypes.h"

#include <QImage>
#include <QMenu>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace vorn {

class TKxDeEditorClient;
class TKxDeLayerEdit;
class TLayerGlyphs;
enum class TLayerGlyph : uint8_t;
class TLayerManagerClient;

// The layer manager list with everything but its published properties (TKxDeLayerManager
// publishes them).
class TKxDeCustomLayerManager : public TKxDeCustomScrollControl {
  Q_OBJECT

 public:
  using inherited = TKxDeCustomScrollControl;
  const TClass* ClassType() const override;

  explicit TKxDeCustomLayerManager(QWidget* Parent = nullptr);
  ~TKxDeCustomLayerManager() override;

  // ---- Published state ---------------------------------------------------------------------
  TKxDeLayerManagerColors* Colors() const { return FColors.get(); }
  void SetColors(const TKxDeLayerManagerColors* Value);
  TKxDeCustomEditor* Editor() const;
  // Follows Value from now on (none empties the list); the list starts again at its top.
  void SetEditor(TKxDeCustomEditor* Value);
  // Item rows 37 pixels high with a thumbnail of the shape; otherwise 18.
  bool ShowPreview() const { return FShowPreview; }
  void SetShowPreview(bool Value);
  // A 20-pixel cell at the right of each caption that marks layers with selected shapes.
  bool ShowSelectionIndicator() const { return FShowSelectionIndicator; }
  void SetShowSelectionIndicator(bool Value);
  // Item texts go on with ": " and the shape's text.
  bool ShowItemValue() const { return FShowItemValue; }
  void SetShowItemValue(bool Value);
  // Lets OnInvisibleCheck show a visible shape as invisible.
  bool ShowInvisibleObjectState() const { return FShowInvisibleObjectState; }
  void SetShowInvisibleObjectState(bool Value);
  // The menu a right click on the list opens, and the one it opens on an item.
  QMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(QMenu* Value);
  QMenu* ItemPopup() const { return FItemPopup; }
  void SetItemPopup(QMenu* Value) { FItemPopup = Value; }
  // The menu the next context-menu request opens: the item popup after a press on an item,
  // else PopupMenu.
  QMenu* CurrentPopupMenu() const { return FCurrentPopup; }

  // Asks whether a thumbnail shows the verifier mark.
  TKxDeLayerManagerDrawEvent OnVerifierCheck;
  // Asks whether a visible shape is shown as invisible (with ShowInvisibleObjectState).
  TKxDeLayerManagerDrawEvent OnInvisibleCheck;
  // A layer name typed in place, before it is stored; the handler may change it.
  TKxDeLayerManagerEditEvent OnEdit;

  // ---- Rows --------------------------------------------------------------------------------
  // Builds the whole list again from the editor.
  void UpdateLayers();
  void ExpandAll();
  void CollapseAll();
  int32_t ListLayerCount() const { return static_cast<int32_t>(FLayers.size()); }
  TKxDeListLayer* ListLayer(int32_t Index) const;
  // The list layer showing L, or none.
  TKxDeListLayer* FindListLayer(const TKxDeLayer* L) const;
  // The row at TopPosition, or none.
  const TKxDeListItem* GetTopItem() const;
  // Caption rows plus the item rows of expanded layers.
  int32_t GetVisibleItemCount() const;
  // The row index of a listed shape (the row count when no expanded layer lists it).
  int32_t GetVisibleItemRank(const TKxDeShapeBase* Shape) const;

  // The text a caption row shows (the layer's name, or "Layer - " and its index, with the kind of
  // printer it is for) and the one an item row shows (the shape's name, or "Shape - " and its
  // index, and with ShowItemValue its text).
  QString GetRowText(const TKxDeListLayer* ListLayer) const;
  QString GetRowText(const TKxDeListShape* Item) const;

  // ---- Geometry ----------------------------------------------------------------------------
  static constexpr int32_t GetCaptionHeight() { return 18; }
  int32_t GetPreviewHeight() const { return FShowPreview ? 37 : 18; }
  // A layer's rows and separator in pixels; 0 for none.
  int32_t GetLayerHeight(const TKxDeListLayer* ListLayer) const;
  // What lies under a client point.
  TKxDeListHitInfo HitInfo(const TPoint& Point) const;
  // The shape of an item hit; none for other rows and for rows of a locked layer.
  TKxDeShapeBase* GetShape(const TKxDeListHitInfo& Hit) const;

  // ---- Scrolling ---------------------------------------------------------------------------
  int32_t TopPosition() const { return FTopPosition; }
  void SetTopPosition(int32_t Value);
  int32_t LeftPosition() const { return FLeftPosition; }
  void SetLeftPosition(int32_t Value);
  // The largest top position: every row after it fits in the client height.
  int32_t GetVScrollCount() const;
  static constexpr int32_t GetHScrollCount() { return 5; }
  static constexpr int32_t GetPageUpPos(int32_t P) { return P - 3; }
  static constexpr int32_t GetPageDownPos(int32_t P) { return P + 3; }
  // Sends the rows' extent to the bars; True when a bar appeared or disappeared (and the list
  // repainted).
  bool UpdateScrollbar();

  // ---- Renaming ----------------------------------------------------------------------------
  // Renames the caption clicked last, as a double click on it does.
  void RenameLayer();
  virtual bool IsEditing() const { return FEditing; }
  // The in-place edit (none before the first rename).
  TKxDeLayerEdit* LayerEdit() const { return FEdit; }

  // ---- Called by the rows and the colours --------------------------------------------------
  void LayerExpandChanged(TKxDeListLayer* ListLayer);
  void ColorsChanged();

 protected:
  friend class TKxDeLayerEdit;
  friend class TLayerManagerClient;
  friend class TLayerManagerAccessible;

  TKxDeCustomControlScrollbarClass GetScrollbarClass() const override;
  bool CanScrollToPos(TKxDeScrollbarKind Kind, int32_t& Pos) override;
  void DoScrollerPositionChanged(TKxDeScrollbarKind Kind) override;
  void DoScrollMessage(TKxDeScrollbarKind Kind, int32_t Code, int32_t Pos) override;
  void ClientResized() override;
  void Loaded() override;
  void Paint(TCanvas* C) override;

  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void DblClick() override;
  // Shows, fills and focuses the in-place edit.
  virtual void BeginEdit();
  virtual void DoCancelEdit();
  // Stores a changed name (through OnEdit) and hides the edit.
  virtual void DoEndEdit();

  void wheelEvent(QWheelEvent* Event) override;
  void contextMenuEvent(QContextMenuEvent* Event) override;

 private:
  // One row as the list is walked from TopPosition.
  enum class TRowKind : uint8_t { Caption, Item, Separator };
  // A row: its kind, the layer and shape it shows (by index) and where it is.
  struct TRow {
    TRowKind Kind;
    int32_t Layer;
    int32_t Shape;
    TRect Rect;
  };
  // Calls Visit for each row (and separator) from TopPosition down to the client's bottom until
  // it answers true. Painting and hit testing both walk this way.
  void WalkRows(const std::function<bool(const TRow&)>& Visit) const;

  bool Following() const;
  // What a click on the text of a row does (Shape -1: the caption of list layer Layer): selects
  // the shape or the layer's shapes and makes the layer active. False when nothing was there to
  // click or the layer is locked.
  bool ClickRow(int32_t Layer, int32_t Shape, TMouseButton Button, TShiftState Shift);
  bool DoRenameLayer();
  void PrepareEdit();
  void UpdateEditBounds();
  void EndOrCancelEdit();
  void ReleaseList();
  int32_t VerifyTopPos(int32_t P) const;
  int32_t VerifyLeftPos(int32_t P) const;
  bool SendScrollbar(TKxDeScrollbarKind Kind, int32_t Min, int32_t Max, int32_t Page, int32_t Pos);
  void RepaintUnlessUpdated();
  // A caption's selection mark: whether shapes of its layer are selected.
  bool LayerHasSelection(const TKxDeListLayer* ListLayer) const;

  // Editor notifications.
  void EditorDestroyed();
  void EditorLayerInserted(TKxDeLayer* L);
  void EditorLayerRemoved(TKxDeLayer* L);
  void EditorLayerReordered(int32_t CurIndex, int32_t NewIndex);
  void EditorLayerChanged(TKxDeLayer* L);
  void EditorShapeInserted(TKxDeShapeBase* S);
  void EditorShapeRemoved(TKxDeShapeBase* S);
  void EditorShapeCleared(TKxDeShapeBase* S);
  void EditorShapeReordered(TKxDeLayer* L);
  void EditorShapeChanged(TKxDeShapeBase* S);
  void EditorSelectionChanged();

  // Painting (KxDeLayerManagerPaint.cpp).
  void PaintCaption(QPainter& P, const TKxDeListLayer* ListLayer, const TRect& R);
  void PaintItem(QPainter& P, const TKxDeListShape& Item, const TRect& R);
  void PaintSeparator(QPainter& P, int32_t Y);
  void PaintPreview(QPainter& P, TKxDeShapeBase* Shape, const TRect& R);
  void DrawGlyph(QPainter& P, TLayerGlyph Which, int32_t X, const TRect& Row);
  void DrawRowText(QPainter& P, const QString& Text, const TRect& R, TColor Color, bool Italic);

  std::vector<std::unique_ptr<TKxDeListLayer>> FLayers;
  int32_t FTopPosition = 0;
  int32_t FLeftPosition = 0;
  int32_t FHorzExtent = 0;
  TOwned<TKxDeLayerManagerColors> FColors;
  QPointer<TKxDeCustomEditor> FEditor;
  TLayerManagerClient* FClient = nullptr;
  std::unique_ptr<TLayerGlyphs> FGlyphs;
  int32_t FScrollbarUpdate = 0;
  int32_t FScrollerChanging = 0;
  int32_t FPositionSetting = 0;
  TKxDeLayer* FCurrentLayer = nullptr;
  TKxDeListHitInfo FCaptionHit;
  TKxDeLayerEdit* FEdit = nullptr;
  bool FEditing = false;
  bool FCommitOnExit = true;
  bool FShowPreview = true;
  bool FShowSelectionIndicator = true;
  bool FShowItemValue = true;
  bool FShowInvisibleObjectState = false;
  QPointer<QMenu> FPopupMenu;
  QPointer<QMenu> FItemPopup;
  QPointer<QMenu> FCurrentPopup;
  // The thumbnail being drawn, kept between rows so that painting allocates nothing per row.
  QImage FPreview;
};

class TKxDeLayerManager : public TKxDeCustomLayerManager {
  Q_OBJECT
  Q_PROPERTY(vorn::TKxDeLayerManagerColors* Colors READ Colors WRITE SetColors)
  Q_PROPERTY(vorn::TKxDeCustomEditor* Editor READ Editor WRITE SetEditor)
  Q_PROPERTY(bool ShowPreview READ ShowPreview WRITE SetShowPreview)
  Q_PROPERTY(bool ShowSelectionIndicator READ ShowSelectionIndicator WRITE SetShowSelectionIndicator)
  Q_PROPERTY(bool ShowItemValue READ ShowItemValue WRITE SetShowItemValue)
  Q_PROPERTY(bool ShowInvisibleObjectState READ ShowInvisibleObjectState WRITE SetShowInvisibleObjectState)

 public:
  using inherited = TKxDeCustomLayerManager;
  const TClass* ClassType() const override;
  using TKxDeCustomLayerManager::TKxDeCustomLayerManager;
};

}  // namespace vorn
