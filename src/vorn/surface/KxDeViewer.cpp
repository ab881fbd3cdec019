#include "vorn/surface/KxDeViewer.h"

namespace vorn {

const TClass* TKxDeCustomViewer::ClassType() const { return ClassOf<TKxDeCustomViewer>(); }
const TClass* TKxDeViewer::ClassType() const { return ClassOf<TKxDeViewer>(); }

TKxDeCustomViewer::TKxDeCustomViewer(QWidget* Parent) : TKxDeSurface(Parent) {}

TKxDeShapeBase* TKxDeCustomViewer::ShapeUnder(int32_t X, int32_t Y) {
  return HitTest(ScreenToWorld(TPointF{static_cast<float>(X), static_cast<float>(Y)})).Shape;
}

void TKxDeCustomViewer::SetHot(TKxDeShapeBase* S) {
  if (S == FHotShape) return;
  FHotShape = S;
  CallEvent(OnShapeMove, this, S);
}

void TKxDeCustomViewer::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TKxDeSurface::MouseDown(Button, Shift, X, Y);
  TKxDeShapeBase* s = ShapeUnder(X, Y);
  TKxDeShapeBase* before = FHotShape;
  FHotShape = s;
  FDownShape = s;
  CallEvent(OnShapeDown, this, s);
  if (s != before) CallEvent(OnShapeMove, this, s);
}

void TKxDeCustomViewer::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  TKxDeSurface::MouseMove(Shift, X, Y);
  TKxDeShapeBase* s = ShapeUnder(X, Y);
  // While a button is held the pressed shape keeps the pointer: no hover changes are told.
  if (FDownShape) {
    FHotShape = s;
    return;
  }
  SetHot(s);
}

void TKxDeCustomViewer::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TKxDeSurface::MouseUp(Button, Shift, X, Y);
  if (TKxDeShapeBase* down = std::exchange(FDownShape, nullptr)) CallEvent(OnShapeUp, this, down);
  // The hot shape as it was when the button came down or was last seen during the drag.
  TKxDeShapeBase* before = FHotShape;
  TKxDeShapeBase* s = ShapeUnder(X, Y);
  FHotShape = s;
  if (s != before) CallEvent(OnShapeMove, this, s);
}

void TKxDeCustomViewer::DoMouseWheelZoom(int16_t WheelDelta) { CallEvent(OnMouseWheelZoom, this, WheelDelta); }

void TKxDeCustomViewer::DoShapeRemoved(TKxDeShapeBase* S) {
  TKxDeSurface::DoShapeRemoved(S);
  if (FHotShape == S) FHotShape = nullptr;
  if (FDownShape == S) FDownShape = nullptr;
}

void TKxDeCustomViewer::DoLayerRemoved(TKxDeLayer* L) {
  TKxDeSurface::DoLayerRemoved(L);
  if (FHotShape && !Exists(FHotShape)) FHotShape = nullptr;
  if (FDownShape && !Exists(FDownShape)) FDownShape = nullptr;
}

}  // namespace vorn
