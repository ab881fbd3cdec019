#pragma once
// TKxDeSurface: the window control that owns one document, an ordered list of layers (index 0 at
// the bottom: painted first, searched last), and shows it zoomed and scrolled. The editor and the
// viewer derive from it and fill in the hooks that are empty here.
//
// Document side. Layers are added, removed and reordered here; a layer made for a surface adds
// itself and a destroyed layer leaves. One layer is the active one (new shapes go there): the
// surface keeps it on a layer that is visible and not locked when there is one. Group and Pack
// gather shapes lying directly in layers into a new group or package; Ungroup and Unpack undo
// that. The model reports every change through the entry points (ShapeInserted, LayerChanged,
// ...), which fan out in one order: the surface's own virtual Do... hook, each registered client
// in registration order (unless LockClientNotify holds them), then the published event. Changes
// inside BeginUpdate/EndUpdate are gathered into one refresh when the outermost bracket closes,
// a full one when any change asked for it.
//
// View side. All layers share one page (the Layer property: its size in world units) placed in
// the client area: centred while it fits, else Indent pixels from the client's edges, shifted by
// the layer offset (HorizontalPos, VerticalPos; never positive) that scrolling changes. A world
// point w lies at window pixel (RF.Left + w.X * Z, RF.Top + w.Y * Z), RF being the page's
// rectangle on screen (LayerBounds) and Z the zoom factor (GetZoom). The scroll bars follow the
// page and the client size (UpdateScrollBars) and move the offset when used; the wheel scrolls
// (Ctrl+Shift: sideways; Ctrl alone zooms through DoMouseWheelZoom in the editor and viewer).
//
// Painting. The surface paints into two off-screen buffers and a paint event only copies them:
// the layer buffer holds the visible part of the page (background, checkerboard, background
// picture, grid and the layers' shapes), the client buffer the whole client area (the control's
// colour, the layer buffer, the page's frame and shadow, and what subclasses draw over it).
// Buffers are in device pixels, so a screen with a device pixel ratio above 1 shows sharp
// shapes while positions stay in logical pixels. RefreshBuffers asks for the buffers to be
// rebuilt; requests are gathered and carried out once, before the window is next painted (or
// when a buffer's canvas is asked for), so that any number of changes costs one rebuild. When
// only shapes changed since the last rebuild, just the area they covered and cover now is
// painted again; the spatial index of each layer (an R-tree of the items' extents) gives the
// shapes to paint there, as it gives the shapes to hit-test at a point.

#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Events.h"
#include "vorn/common/Records.h"
#include "vorn/controls/KxDeCustomScrollControl.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/surface/KxDeSurfaceProperties.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace vorn {

class TKxDeBitmap;
class TPicture;
class TKxDeGroup;
class TKxDeSurfaceIndex;
class TKxDePackage;
class TKxDeShapeBase;
class TKxDeSurfaceClient;

// What a hit test of the surface or the editor found at a view point.
struct TKxDeHitTest {
  TPointF Test;
  TKxDeShapeBase* Shape = nullptr;
  TKxDeHitType HitType = TKxDeHitType::kxhtNone;
  TKxDeShapeHitState State = TKxDeShapeHitState::kxhsNone;
  int32_t PartIndex = -1;
  int32_t SubIndex = -1;
  TPointF Pt2;
};

// The shapes handed to Group and Pack, processed in their order.
using TKxDeShapeArray = std::vector<TKxDeShapeBase*>;

class TKxDeSurface : public TKxDeCustomScrollControl {
  Q_OBJECT
  Q_PROPERTY(vorn::TKxDeFrameProperties* Frame READ Frame WRITE SetFrame)
  Q_PROPERTY(vorn::TKxDeGridProperties* Grid READ Grid WRITE SetGrid)
  Q_PROPERTY(vorn::TKxDeLayerProperties* Layer READ Layer WRITE SetLayer)
  Q_PROPERTY(bool ShowScrollbars READ ShowScrollbars WRITE SetShowScrollbars)
  Q_PROPERTY(quint16 Zoom READ Zoom WRITE SetZoom)

 public:
  using inherited = TKxDeCustomScrollControl;
  const TClass* ClassType() const override;

  // 400 x 350 pixels, gray, a lowered border, indent 20, zoom 100, no layers.
  explicit TKxDeSurface(QWidget* Parent = nullptr);
  // Takes the document down (BeforeDestruction) unless that happened already.
  ~TKxDeSurface() override;
  // In a layout a surface asks for its default size and takes whatever room there is.
  QSize sizeHint() const override { return QSize(400, 350); }
  QSize minimumSizeHint() const override { return QSize(80, 60); }
  // Marks the surface as being destroyed, unregisters the clients and destroys the layers (the
  // top one first); meanwhile every entry point that tests for it is silent, except that the
  // active layer may be chosen anew. A subclass whose hooks should hear of the teardown calls it
  // first thing in its own destructor; Free calls it too. Later calls do nothing.
  void BeforeDestruction() override;
  bool Destroying() const { return FDestroying; }

  // ---- Layers ---------------------------------------------------------------------------------
  int32_t LayerCount() const { return static_cast<int32_t>(FLayers.size()); }
  TKxDeLayer* GetLayer(int32_t Index) const;
  int32_t IndexOf(const TKxDeLayer* L) const;
  // True for one of the layers and for a shape lying in one at any depth.
  bool Exists(const TKxDeShapeBase* S) const;
  void Add(TKxDeLayer* L) { InsertLayer(L); }
  // Appends L as the new top layer, taking it from another surface. The first layer of an
  // empty surface becomes the active one.
  void InsertLayer(TKxDeLayer* L);
  // Inserts L at Index (0..LayerCount); other indexes, none and a layer already here do nothing.
  void Insert(int32_t Index, TKxDeLayer* L);
  // Detaches L without destroying it.
  void RemoveLayer(TKxDeLayer* L);
  // Destroys the layer at Index, or L when it is one of this surface's.
  void Delete(int32_t Index);
  void Remove(TKxDeLayer* L);
  // Destroys every layer, the top one first, inside one update bracket.
  void Clear();
  // The list itself. SetLayers replaces it (one refresh) without taking or giving ownership and
  // without touching the layers' surface: the host keeps those consistent.
  const TKxDeLayerList& LayersList() const { return FLayers; }
  void SetLayers(const TKxDeLayerList& List);

  // Z-order of the layers; each announces LayerReordered, then LayerChanged(none).
  void BringForward(TKxDeLayer* L);
  void BringToFront(TKxDeLayer* L);
  void SendBackward(TKxDeLayer* L);
  void SendToBack(TKxDeLayer* L);

  // ---- Active layer ----------------------------------------------------------------------------
  // The layer stored as active (may be none, or one that no longer qualifies).
  TKxDeLayer* ActiveLayer() const { return FActiveLayer; }
  // Stores ReArrangeActiveLayer(L) (none stays none); a layer of another surface is ignored.
  void SetActiveLayer(TKxDeLayer* L);
  // The layer that should be active now, without storing it.
  TKxDeLayer* GetActiveLayer() const { return ReArrangeActiveLayer(FActiveLayer); }
  // The active layer; a surface without any layer gets a new one (DoNewLayer).
  TKxDeLayer* HandleActiveLayer();
  // The layer to take for L: L when it is listed, visible, unlocked and not being destroyed;
  // else the first such layer above L, else below it; else the highest locked one; else none.
  TKxDeLayer* ReArrangeActiveLayer(TKxDeLayer* L) const;

  // ---- Grouping -------------------------------------------------------------------------------
  // Gathers the shapes of A that lie directly in a layer of this surface, in A's order, into a
  // new group (package) on top of the first one's layer; none when nothing qualifies.
  virtual TKxDeGroup* Group(const TKxDeShapeArray& A);
  virtual TKxDePackage* Pack(const TKxDeShapeArray& A);
  // Puts the members of a group (package) lying in a layer on top of that layer and destroys it.
  virtual void Ungroup(TKxDeGroup* G);
  virtual void Unpack(TKxDePackage* P);

  // ---- Batching -------------------------------------------------------------------------------
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  bool InUpdate() const { return FUpdateCount > 0; }
  uint32_t UpdateCount() const { return FUpdateCount; }
  bool NeedsUpdate() const { return FChangeCount > 0; }
  // Refreshes now (validating the offset and the bars first), or counts the change while an
  // update bracket is open; Force asks for the layers to be painted anew.
  virtual void Changed(bool Force);
  // While held, clients hear nothing (the hooks and events still run); releasing the last hold
  // with changes pending tells each client of a change of the active layer.
  void LockClientNotify() { ++FLockClient; }
  void UnLockClientNotify();
  // Undo recording brackets of the editor; empty here. A group makes the records inside it one
  // entry of the history (an edit made from outside the editor, such as the inspector's).
  virtual void BeginUndoLock();
  virtual void EndUndoLock();
  virtual void BeginUndoGroup();
  virtual void EndUndoGroup();
  // A document load is in progress (read by the editor's undo); set by whoever loads.
  bool InLoad() const { return FInLoad; }
  void SetInLoad(bool Value) { FInLoad = Value; }

  // ---- Clients --------------------------------------------------------------------------------
  void RegisterClient(TKxDeSurfaceClient* Client);
  void UnRegisterClient(TKxDeSurfaceClient* Client);
  void UnRegisterAllClients();
  TKxDeSurfaceClient* GetClient(int32_t Index) const;
  int32_t GetClientCount() const { return static_cast<int32_t>(FClients.size()); }

  // ---- Entry points of the document model -----------------------------------------------------
  // Undo hooks of the editor; empty here.
  virtual void StartAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName);
  virtual void EndAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName);
  virtual void NotifyUndo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName);
  // Drops selections that no longer qualify (hidden or locked shapes); empty here.
  virtual void RefineSelections();
  void ShapeInserted(TKxDeShapeBase* S);
  void ShapeRemoved(TKxDeShapeBase* S);
  void ShapeChanged(TKxDeShapeBase* S);
  void ShapeCleared(TKxDeShapeBase* S);
  virtual void ShapeReordered(TKxDeLayer* L, int32_t CurIndex, int32_t NewIndex);
  // A layer's change (L may be none); re-chooses the active layer when L is it, when there is
  // none or when the stored one is locked.
  void LayerChanged(TKxDeLayer* L);
  void LayerInserted(TKxDeLayer* L);
  void LayerRemoved(TKxDeLayer* L);
  virtual void LayerReordered(TKxDeLayer* L, int32_t CurIndex, int32_t NewIndex);
  void ActiveLayerChanged();
  void FramePropsChanged();
  void GridPropsChanged();
  // The page changed; Flag recomputes the scroll bars at once.
  void LayerPropsChanged(bool Flag);

  // ---- Clipboard and selection hooks of the editor ----------------------------------------------
  virtual bool HasClipboardData() const { return false; }
  virtual void CopyToClipboard();
  virtual void CutToClipboard();
  virtual void PasteFromClipboard();
  // The selection's bounds; empty here.
  virtual TRectF GetSelectionBounds() const { return TRectF{}; }

  // ---- Page and view properties ---------------------------------------------------------------
  TKxDeFrameProperties* Frame() const { return FFrameProperties.get(); }
  void SetFrame(const TKxDeFrameProperties* Value);
  TKxDeGridProperties* Grid() const { return FGridProperties.get(); }
  void SetGrid(const TKxDeGridProperties* Value);
  TKxDeLayerProperties* Layer() const { return FLayerProperties.get(); }
  void SetLayer(const TKxDeLayerProperties* Value);
  bool ShowScrollbars() const { return FShowScrollbars; }
  void SetShowScrollbars(bool Value);

  // ---- Zoom -----------------------------------------------------------------------------------
  uint16_t Zoom() const { return FZoom; }
  // Clamps to 1..10000 per cent; the world point at the client's top-left corner stays there
  // while the page reaches past that corner. Clients and OnZoom hear of it.
  void SetZoom(int32_t Value);
  // The zoom factor: Zoom / 100, never below 0.01.
  double GetZoom() const;
  // Zooms and scrolls so that the world rectangle R fills the client area, its top-left corner
  // at the client's top-left corner.
  virtual void ZoomRect(const TRectF& R);
  // Zooms to Value per cent and scrolls the world point World to the window point Anchor, as far
  // as the scroll range allows. ZoomAt keeps the world point under Anchor where it is.
  void ZoomAbout(int32_t Value, const TPointF& World, const TPointF& Anchor);
  void ZoomAt(int32_t Value, const TPointF& Anchor) { ZoomAbout(Value, ScreenToLayer(Anchor), Anchor); }
  // Zooms and scrolls so that the world rectangle R fits the client area less Indent, centred.
  void ZoomToFit(const TRectF& R);
  void ZoomToPage() { ZoomToFit(GetLayerRect()); }
  // The selection's bounds fitted; nothing without a selection.
  void ZoomToSelection();

  // ---- Layer offset ---------------------------------------------------------------------------
  int32_t HorizontalPos() const { return FHorizontalPos; }
  int32_t VerticalPos() const { return FVerticalPos; }
  void SetHorizontalPos(int32_t Value) { SetLayerOffset(Value, FVerticalPos); }
  void SetVerticalPos(int32_t Value) { SetLayerOffset(FHorizontalPos, Value); }
  // Stores the offset (positive values as 0), keeps it valid, refreshes when it moved and
  // moves the scroll bars along.
  void SetLayerOffset(int32_t AHorz, int32_t AVert);
  // Clamps an offset pair: no positive values, and no farther than the page reaches past the
  // client area shrunk by Indent (0 when it does not).
  void ValidateLayerOffset(int32_t& H, int32_t& V) const;

  // ---- Geometry (widget coordinates) ----------------------------------------------------------
  // R := the client rectangle; RF := the page's rectangle on screen (empty without client).
  virtual void LayerBounds(TRect& R, TRectF& RF) const;
  // The page's rectangle as it would lie unscrolled.
  virtual TRectF GetNominalViewRect() const;
  // Left and Top: the world point shown at the client's top-left corner; Width and Height: the
  // client's size in pixels.
  virtual TRectF GetViewRect() const;
  // The rectangle painting covers: the client rectangle.
  virtual TRect GetPaintRect() const;
  TRect PaintRect() const { return GetPaintRect(); }
  // The page in world units: (0, 0, Layer.Width, Layer.Height). Painting draws what lies on it.
  virtual TRectF GetLayerRect() const;
  TRectF LayerRect() const { return GetLayerRect(); }

  // ---- Mapping --------------------------------------------------------------------------------
  // The view point of a window point: the page's corner plus the world point under P. Hit tests
  // take view points.
  virtual TPointF ScreenToWorld(const TPointF& P) const;
  // The world point under a window point, and back.
  TPointF ScreenToLayer(const TPointF& P) const;
  TPointF LayerToScreen(const TPointF& W) const;

  // ---- Scroll bars ----------------------------------------------------------------------------
  // Recomputes both bars from the page and the client size (nothing before the widget is shown
  // or while loading).
  virtual void UpdateScrollBars();

  // ---- Input ----------------------------------------------------------------------------------
  // The wheel: Ctrl alone zooms (DoMouseWheelZoom), Ctrl+Shift scrolls sideways, otherwise it
  // scrolls up and down, 3 lines of the bar per notch. True when the wheel was used.
  virtual bool MouseWheel(TShiftState Shift, int32_t WheelDelta);
  // Arrow keys scroll by a line, Page Up and Page Down by a page, Home and End to the start and
  // the end; with Shift, Page Up, Page Down, Home and End go sideways.
  void KeyDown(int32_t& Key, TShiftState Shift) override;

  // ---- Painting -------------------------------------------------------------------------------
  // Brings the screen up to date with the document and the view: the client buffer is composed
  // again and, when ForceLayers is set or its size changed, the layer buffer painted again;
  // KeepLayerBuffer reuses the layer buffer as it is. The work is done once for every request
  // made until the window is next painted; a request made while a rebuild runs is carried out
  // once right after it.
  virtual void RefreshBuffers(bool ForceLayers, bool KeepLayerBuffer);
  // Composes the client buffer again in full at the next rebuild (what subclasses draw over the
  // layers changed), keeping the layer buffer.
  void RefreshClientBuffer();
  // Paints the layer buffer now (part of a rebuild).
  void UpdateLayerBuffer();
  // The buffers' canvases, brought up to date first; none while a buffer has no pixels.
  TCanvas* GetLayerCanvas();
  TCanvas* GetClientCanvas();
  // Copies of the buffers (device pixels; their device pixel ratio is the widget's).
  QImage LayerBufferImage();
  QImage ClientBufferImage();
  // How descendants paint their feedback; a change calls UpdatePaintBuffer.
  bool BufferedPaint() const { return FBufferedPaint; }
  void SetBufferedPaint(bool Value);
  void SetDirectBufferedPaint(bool Value) { FBufferedPaint = Value; }
  // The background picture's area in the layer buffer: the buffer shrunk by the picture's
  // indents; empty when the picture is hidden or there is no layer buffer.
  TRect GetPictureRect(const TPicture* Picture) const;

  // ---- Hit testing ----------------------------------------------------------------------------
  static void ResetHittest(TKxDeHitTest& HT);
  static void UpdateHitTestPos(TKxDeHitTest& HT, const TPointF& P) { HT.Test = P; }
  // What the view point P (ScreenToWorld of a window point) lies on: nothing, the page, or the
  // lowest shown item of the lowest shown layer whose own hit test takes the point.
  virtual TKxDeHitTest HitTest(const TPointF& P);
  // The topmost shape at world point P, from the top layer down, with tolerance Fuzz, as when
  // editing; none when there is none.
  TKxDeShapeBase* ShapeAtPos(const TPointF& P, uint8_t Fuzz);

  // ---- Events ---------------------------------------------------------------------------------
  TNotifyEvent OnActiveLayerChange;
  TKxDeShapeEvent OnInsertLayer;
  TKxDeShapeEvent OnInsertShape;
  TKxDeShapeEvent OnRemoveLayer;
  TKxDeShapeEvent OnRemoveShape;
  TKxDeShapeEvent OnClearShape;
  TKxDeShapeEvent OnLayerChange;
  TKxDeShapeEvent OnShapeChange;
  TKxDeShapeReorderEvent OnReorderShape;
  TKxDeShapeReorderEvent OnReorderLayer;
  TNotifyEvent OnFramePropsChange;
  TNotifyEvent OnGridPropsChange;
  TNotifyEvent OnLayerPropsChange;
  TNotifyEvent OnZoom;
  TKxDeNeedNewLayerEvent OnNeedNewLayer;
  // Raised by whoever loads or saves a document through the surface.
  TKxDeSaveLoadEvent OnBeforeLoadDOM;
  TKxDeSaveLoadEvent OnAfterLoadDOM;
  TKxDeSaveLoadEvent OnBeforeSaveDOM;
  TKxDeSaveLoadEvent OnAfterSaveDOM;

 protected:
  // ---- Hooks of the fan-out; empty here, the editor and the viewer override them ---------------
  virtual void DoShapeInserted(TKxDeShapeBase* S);
  virtual void DoShapeRemoved(TKxDeShapeBase* S);
  virtual void DoShapeChanged(TKxDeShapeBase* S);
  virtual void DoShapeCleared(TKxDeShapeBase* S);
  virtual void DoShapeReordered(TKxDeLayer* L, int32_t CurIndex, int32_t NewIndex);
  virtual void DoLayerInserted(TKxDeLayer* L);
  virtual void DoLayerChanged(TKxDeLayer* L);
  virtual void DoLayerRemoved(TKxDeLayer* L);
  virtual void DoLayerReordered(TKxDeLayer* L, int32_t CurIndex, int32_t NewIndex);
  virtual void DoActiveLayerChanged();
  // A new layer for a surface without any: OnNeedNewLayer's, else a plain layer made here.
  virtual TKxDeLayer* DoNewLayer();
  // Ctrl + wheel; empty here.
  virtual void DoMouseWheelZoom(int16_t WheelDelta);
  // Painting hooks, empty here: the editor draws its selection and feedback through them. The
  // buffered painting calls them around its work on the client and layer buffers.
  virtual void BeforeUpdateBuffers(TCanvas* C);
  virtual void AfterUpdateBuffers(TCanvas* C);
  virtual void BeforeLayerPaint(TCanvas* C);
  virtual void AfterLayerPaint(TCanvas* C);
  virtual void DrawSelection(TCanvas* C);
  virtual void BeforePaint(TCanvas* C);
  virtual void AfterPaint(TCanvas* C);
  virtual void UpdatePaintBuffer();
  // The page's outline and shadow onto C (the client buffer's canvas).
  virtual void DrawLayerFrame(TCanvas* C);
  // The control's background picture onto C (the layer buffer's canvas).
  virtual void DrawPicture(TCanvas* C);
  // Copies the client buffer to the window.
  void Paint(TCanvas* C) override;
  // The spatial index of the layers; hit testing and painting ask it.
  TKxDeSurfaceIndex& Index() const { return *FIndex; }
  // The widget has come to exist on screen (its first show): the bars are fitted.
  virtual void CreateWnd();
  bool HandleAllocated() const { return FWindowCreated; }

  // ---- The control base's hooks ---------------------------------------------------------------
  TKxDeControlBorderPropsClass GetBorderPropsClass() const override;
  TKxDeCustomControlScrollbarClass GetScrollbarClass() const override;
  TKxDeControlCustomScrollbarsClass GetControlScrollbarsClass() const override;
  // A bar moved: the offset follows it.
  void DoScrollerPositionChanged(TKxDeScrollbarKind Kind) override;
  // The window's scroll messages move the offset by the bar's steps.
  void DoScrollMessage(TKxDeScrollbarKind Kind, int32_t Code, int32_t Pos) override;
  void ClientResized() override;
  void ColorChanged() override;
  void IndentChanged() override;
  void PictureChanged() override;
  void Loaded() override;
  // Painting: BeforePaint, UpdatePaintBuffer, the control's own painting, AfterPaint.
  void paintEvent(QPaintEvent* Event) override;
  void changeEvent(QEvent* Event) override;
  void showEvent(QShowEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;

  // ---- State subclasses read -------------------------------------------------------------------
  // True when clients are to be told (client notification is not locked).
  bool ClientsNotified() const { return FLockClient == 0; }
  // Calls Call on each client in registration order (by index: a client may leave meanwhile).
  template <class F>
  void ForEachClient(F&& Call) {
    if (FLockClient != 0) return;
    for (size_t i = 0; i < FClients.size(); ++i) Call(FClients[i]);
  }

  TKxDeLayerList FLayers;
  bool FForced = false;
  uint16_t FZoom = 100;
  bool FInLoad = false;
  TKxDeLayer* FActiveLayer = nullptr;
  uint32_t FUpdateCount = 0;
  uint32_t FChangeCount = 0;
  int32_t FHorizontalPos = 0;
  int32_t FVerticalPos = 0;
  bool FShowScrollbars = true;
  int32_t FCreatingWnd = 0;
  int32_t FScrollbarUpdate = 0;
  int32_t FScrollbarChanging = 0;
  int32_t FScrollPosChanging = 0;
  TOwned<TKxDeFrameProperties> FFrameProperties;
  TOwned<TKxDeGridProperties> FGridProperties;
  TOwned<TKxDeLayerProperties> FLayerProperties;
  std::vector<TKxDeSurfaceClient*> FClients;
  int32_t FLockClient = 0;
  bool FDestroying = false;
  TOwned<TKxDeBitmap> FLayerBuffer;
  TOwned<TKxDeBitmap> FClientBuffer;
  int32_t FUpdatingBuffer = 0;
  bool FReupdateBuffers = false;
  bool FBufferedPaint = false;

 private:
  // Moves L from index From to To and announces it.
  void MoveLayer(TKxDeLayer* L, int32_t From, int32_t To);
  // The shapes of A that Group and Pack take, and the layer they go to (none when no shape
  // takes part).
  TKxDeLayer* CollectForGrouping(const TKxDeShapeArray& A, TKxDeShapeArray& Shapes) const;
  // Puts a new container's members into it and it into Target, with the actions around it.
  void FillContainer(TKxDeContainer* C, const TKxDeShapeArray& Shapes, TKxDeLayer* Target, TKxDeAction Doing,
                     TKxDeAction Done);
  // Empties a container lying in a layer onto that layer and destroys it.
  void Disband(TKxDeContainer* C, TKxDeAction Doing, bool SkipDefaults);
  // One bar's share of UpdateScrollBars: applies Info when needed and resets the offset of a
  // bar that the page does not need.
  void ApplyScrollbar(TKxDeScrollbarKind Kind, const TKxDeScrollInfo& Old, TKxDeScrollInfo Info);
  // The client rectangle's top-left corner.
  TPointF ClientOrigin() const;
  // Carries out the rebuild that RefreshBuffers asked for, if any.
  void FlushBuffers();
  // One rebuild of the buffers (the work RefreshBuffers asks for).
  void RebuildBuffers(bool ForceLayers, bool KeepLayerBuffer);
  // The layer buffer's parts: background, checkerboard, grid, and the shapes in Area (world
  // units) of every shown layer.
  void PaintLayerBackground(TCanvas* C, const TRect& Buffer, int32_t OffX, int32_t OffY);
  void PaintGrid(TCanvas* C, const TRect& Buffer, int32_t OffX, int32_t OffY, TColor Background);
  void PaintLayers(TCanvas* C, int32_t OffX, int32_t OffY, const TRectF& Area);
  // The area of the page (world units) that must be painted again because only shapes changed
  // since the layer buffer was last painted; False when the whole buffer must be.
  bool ChangedShapesArea(std::optional<TRectF>& Area);
  // Forgets what the layers' indexes gathered as changed (after painting everything).
  void ForgetShapeChanges();
  // Sizes Buffer to Width x Height logical pixels at the widget's device pixel ratio.
  void SizeBuffer(TKxDeBitmap* Buffer, int32_t Width, int32_t Height) const;

  bool FWindowCreated = false;
  bool FTornDown = false;
  // Wheel deltas below one notch add up until they make one.
  int32_t FWheelRest = 0;
  std::unique_ptr<TKxDeSurfaceIndex> FIndex;
  // Buffer requests gathered until the next paint.
  bool FRefreshPending = false;
  bool FPendingForce = false;
  bool FPendingKeep = true;
  // What the layer buffer was last painted with: when all of it is the same, changed shapes are
  // painted again in their area only.
  struct TLayerPaintState {
    bool Valid = false;
    int32_t OffX = 0;
    int32_t OffY = 0;
    double Zoom = 0;
    qreal Ratio = 0;
    std::vector<TKxDeLayer*> Layers;
    std::vector<uint32_t> LayerLooks;
  };
  TLayerPaintState FPainted;
  // A change the index cannot account for came in since the last painting of the layers.
  bool FLayersChanged = false;
  std::vector<TKxDeLayer*> FChangedLayers;
  // Inside the refreshes that changes of shapes cause (through their layer), which may paint
  // only where the shapes changed; every other forced refresh paints everything.
  int32_t FShapeDriven = 0;
  // The last painting of the layer buffer: the part painted (layer buffer coordinates) and
  // whether it was only where shapes changed.
  TRect FLayerDirty;
  bool FLayerPartial = false;
  // Where the layer buffer was last put in the client buffer; something other than the layer
  // buffer changed in the client buffer.
  TRect FComposedLayerRect;
  bool FComposeAll = true;
};

}  // namespace vorn
