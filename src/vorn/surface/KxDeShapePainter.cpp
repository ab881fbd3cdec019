#include "vorn/surface/KxDeShapePainter.h"

#include "vorn/common/Canvas.h"
#include "vorn/model/KxDeShapeBase.h"
#include "vorn/surface/SurfaceLog_p.h"

#include <exception>

namespace vorn {

TKxDeShapePainter::TKxDeShapePainter(TCanvas* C, float X, float Y, double Zoom, const TRectF& Area,
                                     PmekDeviceCapsInfo Caps)
    : FCanvas(C), FX(X), FY(Y), FZoom(Zoom), FArea(Area), FCaps(Caps) {
  if (FCanvas) {
    FTransform = FCanvas->Transform();
    QPainter* p = FCanvas->Painter();
    FHints = p->renderHints();
    FClipping = p->hasClipping();
    if (FClipping) FClip = p->clipRegion();
  }
}

bool TKxDeShapePainter::Paint(TKxDeShapeBase* S) {
  if (!FCanvas || !S || !S->Visible() || S->InDestroy() || !S->MayShowIn(FArea)) return false;
  try {
    S->Paint(FCanvas, FX, FY, FZoom, 0, FCaps);
    ++FPainted;
    return true;
  } catch (const std::exception& E) {
    qCDebug(lcSurface) << "painting" << S->ClassName() << S->ID() << "failed:" << E.what();
  } catch (...) {
    qCDebug(lcSurface) << "painting" << S->ClassName() << S->ID() << "failed";
  }
  ++FFailed;
  Restore();
  return false;
}

void TKxDeShapePainter::Restore() {
  // Saving the painter around every shape would cost more than the shapes themselves; a shape
  // that raised may have left a transform, a clip or a mode behind, and only those are reset.
  QPainter* p = FCanvas->Painter();
  p->setOpacity(1);
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->setRenderHints(FHints, true);
  p->setRenderHints(~FHints, false);
  FCanvas->SetTransform(FTransform);
  if (FClipping) p->setClipRegion(FClip);
  else p->setClipping(false);
}

}  // namespace vorn
