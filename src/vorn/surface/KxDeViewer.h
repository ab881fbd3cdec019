#pragma once
// TKxDeCustomViewer: a read-only display of a document. It is a surface that edits nothing; it
// reports which shape a mouse button went down on and came up from, which shape the pointer is
// over (once each time that changes), and hands Ctrl + wheel to the host, which zooms if it
// wants to (OnMouseWheelZoom). TKxDeViewer is the same with its properties published.

#include "vorn/surface/KxDeSurface.h"

#include <utility>

namespace vorn {

class TKxDeCustomViewer : public TKxDeSurface {
  Q_OBJECT

 public:
  using inherited = TKxDeSurface;
  const TClass* ClassType() const override;
  explicit TKxDeCustomViewer(QWidget* Parent = nullptr);

  // The shape pressed (while a button is held) and the shape under the pointer; not owned.
  TKxDeShapeBase* DownShape() const { return FDownShape; }
  TKxDeShapeBase* HotShape() const { return FHotShape; }

  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;

  // Raised with the shape pressed (none on empty space).
  TKxDeShapeEvent OnShapeDown;
  // Raised when the shape under the pointer changes (none when it left every shape).
  TKxDeShapeEvent OnShapeMove;
  // Raised with the shape pressed when the button comes up, wherever that is.
  TKxDeShapeEvent OnShapeUp;
  // Published for hosts that raise it themselves; the viewer does not.
  TKxDeShapeEvent OnShapeClick;
  TKxDeMouseWheelZoomEvent OnMouseWheelZoom;

 protected:
  void DoMouseWheelZoom(int16_t WheelDelta) override;
  void DoShapeRemoved(TKxDeShapeBase* S) override;
  void DoLayerRemoved(TKxDeLayer* L) override;

 private:
  // The shape under the window point (X, Y).
  TKxDeShapeBase* ShapeUnder(int32_t X, int32_t Y);
  // Makes S the hot shape and raises OnShapeMove when that changed.
  void SetHot(TKxDeShapeBase* S);

  TKxDeShapeBase* FDownShape = nullptr;
  TKxDeShapeBase* FHotShape = nullptr;
};

// The viewer as a host places it: the surface's published properties (page, frame, grid, zoom,
// scroll bars, border, colour, picture) are its own.
class TKxDeViewer : public TKxDeCustomViewer {
  Q_OBJECT

 public:
  using inherited = TKxDeCustomViewer;
  const TClass* ClassType() const override;
  using TKxDeCustomViewer::TKxDeCustomViewer;
};

}  // namespace vorn
