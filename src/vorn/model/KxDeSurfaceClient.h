#pragma once
// TKxDeSurfaceClient: an observer a surface calls for document-level events (layers and shapes
// inserted, removed, changed, reordered; active layer, frame, grid, layer properties and zoom).
// Descendants override the Do... operations, or assign the events, or both.

#include "vorn/common/Events.h"
#include "vorn/common/Object.h"

#include <cstdint>

namespace vorn {

class TKxDeSurface;
class TKxDeShapeBase;
class TKxDeLayer;

class TKxDeSurfaceClient : public TObject {
  VORN_OBJECT(TKxDeSurfaceClient, TObject)

 public:
  // Virtual construction by class reference: Create(ASender).
  using TConstructor = TKxDeSurfaceClient* (*)(TKxDeSurface*);
  template <class T>
  static TKxDeSurfaceClient* NewInstance(TKxDeSurface* ASender) { return Create<T>(ASender); }

  // Registers with ASender (when given) right after construction.
  explicit TKxDeSurfaceClient(TKxDeSurface* ASender);
  void AfterConstruction() override;
  void BeforeDestruction() override;

  // The surface this client is registered with, or none.
  TKxDeSurface* Sender() const { return FSender; }

  virtual void DoActiveLayerChange();
  virtual void DoInsertLayer(TKxDeLayer* Layer);
  virtual void DoInsertShape(TKxDeShapeBase* Shape);
  virtual void DoRemoveLayer(TKxDeLayer* Layer);
  virtual void DoRemoveShape(TKxDeShapeBase* Shape);
  virtual void DoLayerChange(TKxDeLayer* Layer);
  virtual void DoShapeCleared(TKxDeShapeBase* Shape);
  virtual void DoShapeChange(TKxDeShapeBase* Shape);
  virtual void DoFramePropsChange();
  virtual void DoGridPropsChange();
  virtual void DoLayerPropsChange();
  virtual void DoZoom();
  virtual void DoReorderShape(TKxDeLayer* Layer, intptr_t CurIndex, intptr_t NewIndex);
  virtual void DoReorderLayer(TKxDeLayer* Layer, intptr_t CurIndex, intptr_t NewIndex);

  TNotifyEvent OnActiveLayerChange;
  TKxDeShapeEvent OnInsertLayer;
  TKxDeShapeEvent OnInsertShape;
  TKxDeShapeEvent OnRemoveLayer;
  TKxDeShapeEvent OnRemoveShape;
  TKxDeShapeEvent OnLayerChange;
  TKxDeShapeEvent OnClearShape;
  TNotifyEvent OnFramePropsChange;
  TNotifyEvent OnGridPropsChange;
  TNotifyEvent OnLayerPropsChange;
  TNotifyEvent OnZoom;
  TKxDeShapeReorderEvent OnReorderShape;
  TKxDeShapeReorderEvent OnReorderLayer;
  TKxDeShapeEvent OnShapechange;

 protected:
  ~TKxDeSurfaceClient() override;

 private:
  friend class TKxDeSurface;  // the surface sets and clears Sender as it registers the client

  // The Sender argument of the events: the surface as a TObject.
  TObject* EventSender() const;

  TKxDeSurface* FSender = nullptr;
  TKxDeSurface* FPendingSender = nullptr;
};

}  // namespace vorn
