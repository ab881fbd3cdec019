#pragma once
// TKxDeSurface: the window control that owns one document, an ordered list of layers (index 0
// at the bottom). The document model reaches it through a small set of entry points: the undo
// hooks (StartAction, NotifyUndo, EndAction), the shape and layer notifications (ShapeInserted,
// ShapeRemoved, ShapeChanged, ShapeCleared, ShapeReordered, LayerChanged) and RefineSelections.
// Each notification fans out in one order: the surface's own virtual Do... hook, then each
// registered client (unless client notification is locked), then the published event.
//
// This unit holds the layer list, the clients, the update bracket and those entry points; the
// view, the buffered painting, hit testing, the active layer and grouping build on it.

#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Events.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace vorn {

class TKxDeLayer;
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

class TKxDeSurface : public QWidget, public TObject {
  Q_OBJECT

 public:
  using inherited = TObject;
  const TClass* ClassType() const override { return ClassOf<TKxDeSurface>(); }

  explicit TKxDeSurface(QWidget* Parent = nullptr);
  // Unregisters the clients and destroys the layers.
  ~TKxDeSurface() override;
  // Marks the surface as being destroyed: the entry points that test it fall silent.
  void BeforeDestruction() override;
  bool Destroying() const { return FDestroying; }

  // ---- Layers ---------------------------------------------------------------------------------
  int32_t LayerCount() const { return static_cast<int32_t>(FLayers.size()); }
  TKxDeLayer* GetLayer(int32_t Index) const;
  int32_t IndexOf(const TKxDeLayer* L) const;
  void Add(TKxDeLayer* L) { InsertLayer(L); }
  // Appends L as the new top layer, taking it from another surface.
  void InsertLayer(TKxDeLayer* L);
  // Detaches L without destroying it.
  void RemoveLayer(TKxDeLayer* L);
  // Destroys every layer, the top one first, inside one update bracket.
  void Clear();

  // ---- Batching -------------------------------------------------------------------------------
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  bool InUpdate() const { return FUpdateCount > 0; }
  uint32_t UpdateCount() const { return FUpdateCount; }
  bool NeedsUpdate() const { return FChangeCount > 0; }
  // Requests a refresh, or counts it while an update bracket is open; Force asks for a full one.
  virtual void Changed(bool Force);
  void LockClientNotify() { ++FLockClient; }
  void UnLockClientNotify();

  // ---- Clients --------------------------------------------------------------------------------
  void RegisterClient(TKxDeSurfaceClient* Client);
  void UnRegisterClient(TKxDeSurfaceClient* Client);
  void UnRegisterAllClients();
  TKxDeSurfaceClient* GetClient(int32_t Index) const;
  int32_t GetClientCount() const { return static_cast<int32_t>(FClients.size()); }

  // ---- View -----------------------------------------------------------------------------------
  // The zoom factor: the zoom percentage / 100, never below 0.01.
  double GetZoom() const;
  // The layer (page) area in world units.
  virtual TRectF GetLayerRect() const;

  // ---- Entry points of the document model -----------------------------------------------------
  // Undo hooks: empty here, the editor records undo in them.
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
  // A layer's change (L may be none).
  void LayerChanged(TKxDeLayer* L);
  void LayerInserted(TKxDeLayer* L);
  void LayerRemoved(TKxDeLayer* L);

  TKxDeShapeEvent OnInsertLayer;
  TKxDeShapeEvent OnInsertShape;
  TKxDeShapeEvent OnRemoveLayer;
  TKxDeShapeEvent OnRemoveShape;
  TKxDeShapeEvent OnClearShape;
  TKxDeShapeEvent OnLayerChange;
  TKxDeShapeEvent OnShapeChange;
  TKxDeShapeReorderEvent OnReorderShape;

 protected:
  // Hooks of the notification fan-out; empty here, the editor and the viewer override them.
  virtual void DoShapeInserted(TKxDeShapeBase* S);
  virtual void DoShapeRemoved(TKxDeShapeBase* S);
  virtual void DoShapeChanged(TKxDeShapeBase* S);
  virtual void DoShapeCleared(TKxDeShapeBase* S);
  virtual void DoShapeReordered(TKxDeLayer* L, int32_t CurIndex, int32_t NewIndex);
  virtual void DoLayerInserted(TKxDeLayer* L);
  virtual void DoLayerChanged(TKxDeLayer* L);
  virtual void DoLayerRemoved(TKxDeLayer* L);

  // True when clients are to be told (the client notification is not locked).
  bool ClientsNotified() const { return FLockClient == 0; }

  std::vector<TKxDeLayer*> FLayers;
  std::vector<TKxDeSurfaceClient*> FClients;
  uint16_t FZoom = 100;
  bool FForced = false;
  bool FDestroying = false;
  uint32_t FUpdateCount = 0;
  uint32_t FChangeCount = 0;
  int32_t FLockClient = 0;
};

}  // namespace vorn
